#include "documents/recoveryjournal.h"

#include "core/commanderror.h"
#include "documents/textchecksum.h"
#include "platform/processlock.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QSaveFile>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <map>
#include <mutex>
#include <thread>
#include <utility>

using namespace recoveryrecord;

namespace {
const QString LockName = QStringLiteral("lock");
} // namespace

struct RecoveryJournal::Worker
{
    // What was handed over for a record and is not yet on disk.
    struct Pending
    {
        std::optional<RecoveryBase> base;
        QByteArray entries;
        std::optional<RecoveryRecord> record;
        bool drop = false;
        bool failed = false; // its last attempt failed: tried again after a while
    };
    struct Outcome
    {
        QString failure;
        Pending leftover;
        bool baseLost = false;
    };

    QString folder;
    QString secondFolder;
    QString runFolder;
    platform::ProcessLock lock;
    std::function<void(const Event&)> listener;

    mutable std::mutex mutex;
    std::condition_variable wake;
    std::condition_variable idle;
    quint64 nextKey = 1;
    std::map<quint64, Pending> pending;
    std::map<quint64, Stored> stored;
    bool busy = false;
    bool stopping = false;
    bool failureTold = false;
    std::atomic<bool> cancel{false};
    std::thread thread;

    bool allTriedOnce() const
    {
        return !busy && std::all_of(pending.begin(), pending.end(), [](const auto& p) { return p.second.failed; });
    }

    void tell(const Event& event)
    {
        if (listener)
            listener(event);
    }

    void run()
    {
        std::unique_lock guard(mutex);
        for (;;) {
            const auto next =
                std::find_if(pending.begin(), pending.end(), [](const auto& p) { return !p.second.failed; });
            if (next == pending.end()) {
                idle.notify_all();
                if (stopping)
                    return;
                if (pending.empty()) {
                    wake.wait(guard);
                } else if (wake.wait_for(guard, std::chrono::seconds(2)) == std::cv_status::timeout) {
                    // Keep trying: the disk may have room again, the folder may be back.
                    for (auto& p : pending)
                        p.second.failed = false;
                }
                continue;
            }
            const quint64 key = next->first;
            Pending job = std::move(next->second);
            pending.erase(next);
            busy = true;
            guard.unlock();
            Outcome outcome = perform(key, std::move(job));
            guard.lock();
            busy = false;
            std::optional<Event> event;
            if (!outcome.failure.isEmpty()) {
                Pending& now = pending[key];
                // Anything handed over meanwhile comes after what failed, unless it starts afresh.
                if (!now.base && !now.drop) {
                    now.entries.prepend(outcome.leftover.entries);
                    now.base = std::move(outcome.leftover.base);
                    if (!now.record)
                        now.record = std::move(outcome.leftover.record);
                }
                now.failed = true;
                failureTold = true;
                event = Event{Event::Kind::WriteFailed, key, outcome.failure};
            } else if (failureTold && pending.empty()) {
                failureTold = false;
                event = Event{Event::Kind::AllWritten, key, QString()};
            }
            if (event || outcome.baseLost) {
                guard.unlock();
                if (event)
                    tell(*event);
                if (outcome.baseLost)
                    tell({Event::Kind::BaseLost, key, QString()});
                guard.lock();
            }
        }
    }

    Stored storedOf(quint64 key)
    {
        std::lock_guard guard(mutex);
        const auto it = stored.find(key);
        if (it != stored.end())
            return it->second;
        Stored s;
        s.record.key = key;
        return s;
    }

    void keep(const Stored& s)
    {
        std::lock_guard guard(mutex);
        stored[s.record.key] = s;
    }

    void removeFiles(const Stored& s, const Stored* keepingOf = nullptr)
    {
        for (const QString& file : filesOf(runFolder, s)) {
            // A new generation's files, and the document's own file, stay.
            if (keepingOf && filesOf(runFolder, *keepingOf).contains(file))
                continue;
            QFile::remove(file);
        }
    }

    void writeDescription(const Stored& s)
    {
        writeTextFile(recordFile(runFolder, s.record.key), encode(s), LineEnds::AsIs);
    }

    Outcome perform(quint64 key, Pending job)
    {
        Outcome outcome;
        if (job.drop) {
            const Stored s = storedOf(key);
            // The description first: files without it are nobody's.
            QFile::remove(recordFile(runFolder, key));
            removeFiles(s);
            std::lock_guard guard(mutex);
            stored.erase(key);
            return outcome;
        }
        Stored s = storedOf(key);
        try {
            if (job.base) {
                s = beginGeneration(s, *job.base, job.record.value_or(s.record));
                job.base.reset();
            }
            if (s.generation > 0 && (!job.entries.isEmpty() || job.record)) {
                appendEntries(s, job.entries);
                // The text's length and checksum are what the edits on disk give, whatever the
                // description handed over says (its edits may come in a later job).
                if (job.record) {
                    const qint64 length = s.record.length;
                    const quint64 change = s.record.checksumChange;
                    s.record = *job.record;
                    s.record.length = length;
                    s.record.checksumChange = change;
                }
                writeDescription(s);
                keep(s);
            }
        } catch (const CommandError& e) {
            outcome.failure = e.message();
            outcome.leftover = std::move(job);
            return outcome;
        }
        if (s.base.kind == RecoveryBase::Kind::File && s.base.name.isEmpty() && !s.baseLost)
            outcome.baseLost = !copyBase(s);
        else if (needsCompaction(s))
            compact(s);
        return outcome;
    }

    Stored beginGeneration(const Stored& old, const RecoveryBase& base, const RecoveryRecord& record)
    {
        Stored s;
        s.record = record;
        // Until its edits are written, the record describes its base.
        s.record.length = base.length;
        s.record.checksumChange = 0;
        s.generation = old.generation + 1;
        s.base.kind = base.kind;
        s.base.length = base.length;
        s.journalName = dataName(record.key, s.generation, "edits");
        switch (base.kind) {
        case RecoveryBase::Kind::Empty:
            s.anchor = TextChecksum::of({});
            break;
        case RecoveryBase::Kind::Text:
            s.base.name = dataName(record.key, s.generation, "base");
            writeTextFile(runFolder + QLatin1Char('/') + s.base.name, base.text, LineEnds::AsIs);
            s.anchor = TextChecksum::of(base.text);
            break;
        case RecoveryBase::Kind::File:
            // The file itself until the worker has copied it.
            s.base.source = base.file;
            s.base.state = base.fileState;
            s.base.encoding = base.encoding;
            s.base.lineEnds = base.lineEnds;
            break;
        }
        {
            QFile journal(runFolder + QLatin1Char('/') + s.journalName);
            if (!journal.open(QIODevice::WriteOnly | QIODevice::Truncate))
                throw CommandError(
                    fileError(QStringLiteral("Cannot write"), journal.fileName(), journal.errorString()));
        }
        writeDescription(s);
        removeFiles(old, &s);
        keep(s);
        return s;
    }

    void appendEntries(Stored& s, const QByteArray& entries)
    {
        if (entries.isEmpty())
            return;
        QFile journal(runFolder + QLatin1Char('/') + s.journalName);
        QString reason;
        // Whatever an earlier failed write left past the last whole entry goes first.
        const bool written = journal.open(QIODevice::ReadWrite) && journal.resize(s.journalBytes) &&
                             journal.seek(s.journalBytes) && journal.write(entries) == entries.size() &&
                             platform::syncToDisk(journal, &reason);
        if (!written)
            throw CommandError(fileError(QStringLiteral("Cannot write"), journal.fileName(),
                                         reason.isEmpty() ? journal.errorString() : reason));
        s.journalBytes += entries.size();
        if (const std::optional<QList<editlog::Entry>> added = entriesIn(entries); added && !added->isEmpty()) {
            s.journalEntries += added->size();
            s.record.length = added->constLast().lengthAfter;
            s.record.checksumChange = added->constLast().checksumAfter;
        }
    }

    // Copies the document's file that a record begins from into the run folder, and learns its
    // text's checksum on the way. False when the file no longer holds the text the record began
    // from; a copy that fails otherwise is tried again with the record's next write.
    bool copyBase(Stored& s)
    {
        const platform::FileState before = platform::fileState(s.base.source);
        if (!(before == s.base.state))
            return lose(s);
        const QString name = dataName(s.record.key, s.generation, "base");
        QFile source(s.base.source);
        QSaveFile copy(runFolder + QLatin1Char('/') + name);
        if (!source.open(QIODevice::ReadOnly | QIODevice::Unbuffered) ||
            !copy.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
            return true;
        auto reading = std::make_unique<CopyingDevice>(source, copy);
        CopyingDevice* copying = reading.get();
        reading->open(QIODevice::ReadOnly | QIODevice::Unbuffered);
        Stored::Base asRead = s.base;
        std::unique_ptr<QIODevice> text = std::move(reading);
        if (asRead.encoding != platform::TextEncoding::Utf8) {
            text = std::make_unique<platform::DecodingDevice>(std::move(text), asRead.encoding);
            text->open(QIODevice::ReadOnly | QIODevice::Unbuffered);
        }
        if (asRead.lineEnds != LineEnds::AsIs) {
            text = std::make_unique<editlog::LineEndRestoringDevice>(std::move(text), asRead.lineEnds);
            text->open(QIODevice::ReadOnly | QIODevice::Unbuffered);
        }
        TextChecksum checksum;
        QString error;
        const bool read = readThrough(
            *text, [&](QByteArrayView piece) { return checksum.feed(piece), true; }, error, &cancel);
        if (!read) {
            copy.cancelWriting();
            // A copy that could not be written, or one cut short by the end of the run, is tried
            // again later; a file that no longer reads or decodes is not the text any more.
            return copying->failed || cancel.load() ? true : lose(s);
        }
        if (checksum.length() != s.base.length || !(platform::fileState(s.base.source) == before)) {
            copy.cancelWriting();
            return lose(s);
        }
        if (!copy.commit())
            return true;
        s.base.name = name;
        s.anchor = checksum.value();
        try {
            writeDescription(s);
        } catch (const CommandError&) {
            QFile::remove(copy.fileName());
            return true;
        }
        keep(s);
        return true;
    }

    bool lose(Stored& s)
    {
        s.baseLost = true;
        keep(s);
        return false;
    }

    bool needsCompaction(const Stored& s) const
    {
        return s.anchor && !s.baseLost &&
               ((s.journalBytes > CompactionBytes && s.journalBytes > s.record.length / 4) ||
                s.journalEntries > CompactionEntries);
    }

    // Writes the text rebuilt from the base and journal as the next generation's base, with an
    // empty journal; the record keeps its old files until the new ones are checked and described.
    void compact(const Stored& s)
    {
        Expected expected;
        QString error;
        const std::unique_ptr<QIODevice> text = replay(runFolder, s, expected, error);
        if (!text)
            return;
        Stored next = s;
        next.generation = s.generation + 1;
        next.base = Stored::Base();
        next.base.kind = RecoveryBase::Kind::Text;
        next.base.name = dataName(s.record.key, next.generation, "base");
        next.base.length = expected.length;
        next.journalName = dataName(s.record.key, next.generation, "edits");
        next.journalBytes = 0;
        next.journalEntries = 0;
        QSaveFile copy(runFolder + QLatin1Char('/') + next.base.name);
        if (!copy.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
            return;
        TextChecksum checksum;
        const bool read = readThrough(
            *text,
            [&](QByteArrayView piece) {
                checksum.feed(piece);
                return copy.write(piece.data(), piece.size()) == piece.size();
            },
            error, &cancel);
        if (!read || checksum.length() != expected.length ||
            (expected.checksum && checksum.value() != *expected.checksum)) {
            copy.cancelWriting();
            if (read)
                qWarning("Quillet: the recovery record %llu does not rebuild as recorded; it is kept as it is",
                         static_cast<unsigned long long>(s.record.key));
            return;
        }
        next.record.length = expected.length;
        if (expected.checksum)
            next.record.checksumChange = *expected.checksum - *s.anchor;
        QFile journal(runFolder + QLatin1Char('/') + next.journalName);
        if (!copy.commit() || !journal.open(QIODevice::WriteOnly | QIODevice::Truncate))
            return;
        journal.close();
        try {
            writeDescription(next);
        } catch (const CommandError&) {
            QFile::remove(copy.fileName());
            QFile::remove(journal.fileName());
            return;
        }
        removeFiles(s, &next);
        keep(next);
    }

    void enqueue(quint64 key, const std::function<void(Pending&)>& change)
    {
        {
            std::lock_guard guard(mutex);
            Pending& p = pending[key];
            change(p);
            p.failed = false;
        }
        wake.notify_one();
    }

    void stop()
    {
        if (!thread.joinable())
            return;
        {
            std::lock_guard guard(mutex);
            stopping = true;
        }
        cancel = true;
        wake.notify_all();
        thread.join();
    }

    bool startIn(const QString& root)
    {
        if (!makePrivateFolder(root))
            return false;
        // A name no other run has used, even one whose process id this process now has.
        for (int attempt = 0; attempt < 100; ++attempt) {
            const QString name = QStringLiteral("%1-%2")
                                     .arg(QCoreApplication::applicationPid())
                                     .arg(QRandomGenerator::global()->generate(), 8, 16, QLatin1Char('0'));
            const QString candidate = root + QLatin1Char('/') + name;
            if (QDir(candidate).exists() || !QDir().mkdir(candidate))
                continue;
            QFile::setPermissions(candidate, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
            if (!lock.tryLock(candidate + QLatin1Char('/') + LockName)) {
                QDir(candidate).removeRecursively();
                return false;
            }
            runFolder = candidate;
            return true;
        }
        return false;
    }
};

RecoveryJournal::RecoveryJournal(const QString& folder, const QString& secondFolder)
    : m_worker(std::make_unique<Worker>())
{
    m_worker->folder = QDir::cleanPath(folder);
    if (!secondFolder.isEmpty())
        m_worker->secondFolder = QDir::cleanPath(secondFolder);
}

RecoveryJournal::~RecoveryJournal()
{
    m_worker->stop();
}

bool RecoveryJournal::start()
{
    Worker& w = *m_worker;
    if (w.lock.isLocked())
        return true;
    if (!w.startIn(w.folder))
        return false;
    w.thread = std::thread([&w] { w.run(); });
    return true;
}

bool RecoveryJournal::moveToSecondFolder()
{
    Worker& w = *m_worker;
    if (w.secondFolder.isEmpty())
        return false;
    w.stop();
    w.lock.unlock();
    {
        std::lock_guard guard(w.mutex);
        w.pending.clear();
        w.stored.clear();
        w.stopping = false;
        w.failureTold = false;
    }
    w.cancel = false;
    const QString previous = w.runFolder;
    w.runFolder.clear();
    if (!w.startIn(w.secondFolder))
        return false;
    // What the first folder holds of this run would come back twice.
    if (!previous.isEmpty())
        QDir(previous).removeRecursively();
    w.thread = std::thread([&w] { w.run(); });
    return true;
}

bool RecoveryJournal::isActive() const
{
    return m_worker->lock.isLocked();
}

QString RecoveryJournal::runFolder() const
{
    return m_worker->runFolder;
}

void RecoveryJournal::setListener(std::function<void(const Event&)> listener)
{
    std::lock_guard guard(m_worker->mutex);
    m_worker->listener = std::move(listener);
}

QList<RecoveryRecord> RecoveryJournal::adoptAbandoned(const QString& setAsideFolder, QList<SetAside>* setAside)
{
    QList<RecoveryRecord> adopted;
    if (!isActive())
        return adopted;
    Worker& w = *m_worker;
    QStringList roots{w.folder};
    if (!w.secondFolder.isEmpty() && w.secondFolder != w.folder)
        roots.append(w.secondFolder);
    for (const QString& root : roots) {
        const QFileInfoList runs = QDir(root).entryInfoList(QDir::Dirs | QDir::NoDotAndDotDot);
        for (const QFileInfo& run : runs) {
            const QString other = run.absoluteFilePath();
            if (QDir::cleanPath(other) == w.runFolder || run.isSymLink())
                continue;
            // Only a run no process holds: whatever its lock file says, the system knows.
            platform::ProcessLock lock;
            if (!lock.tryLock(other + QLatin1Char('/') + LockName))
                continue;
            bool keptAll = true;
            for (quint64 oldKey : keysIn(other)) {
                std::optional<Stored> s = readStored(other, oldKey);
                if (!s) {
                    // Files that cannot be made sense of stay where a person can find them.
                    Stored unknown;
                    unknown.record.key = oldKey;
                    const QString movedTo = moveAside(other, unknown, setAsideFolder);
                    if (setAside)
                        setAside->append({QString(), QStringLiteral("Its description cannot be read."), movedTo});
                    keptAll = keptAll && !movedTo.isEmpty();
                    continue;
                }
                settleJournal(other, *s);
                if (s->record.length > TextCapacity) {
                    const QString movedTo = moveAside(other, *s, setAsideFolder);
                    if (setAside)
                        setAside->append({s->record.caption,
                                          QStringLiteral("It holds %1 bytes; the editor holds at most %2 bytes.")
                                              .arg(byteCount(s->record.length), byteCount(TextCapacity)),
                                          movedTo});
                    keptAll = keptAll && !movedTo.isEmpty();
                    continue;
                }
                Stored moved = *s;
                moved.record.key = newKey();
                // A record written before edits were journalled becomes a base without edits.
                if (moved.generation == 0)
                    moved.generation = 1;
                // The files move (a rename, so a large one costs nothing); the description is
                // written anew.
                bool ok = true;
                const auto take = [&](QString& name, const char* suffix) {
                    if (name.isEmpty() || !ok)
                        return;
                    const QString newName = dataName(moved.record.key, moved.generation, suffix);
                    ok = moveFile(other + QLatin1Char('/') + name, w.runFolder + QLatin1Char('/') + newName);
                    name = newName;
                };
                take(moved.base.name, "base");
                take(moved.journalName, "edits");
                if (moved.journalName.isEmpty())
                    moved.journalName = dataName(moved.record.key, moved.generation, "edits");
                if (!ok) {
                    keptAll = false;
                    continue;
                }
                try {
                    w.writeDescription(moved);
                } catch (const CommandError&) {
                    keptAll = false;
                    continue;
                }
                QFile::remove(recordFile(other, oldKey));
                w.keep(moved);
                adopted.append(moved.record);
            }
            lock.unlock();
            if (keptAll)
                QDir(other).removeRecursively();
        }
    }
    std::stable_sort(adopted.begin(), adopted.end(),
                     [](const RecoveryRecord& a, const RecoveryRecord& b) { return a.written < b.written; });
    return adopted;
}

QString RecoveryJournal::check(const RecoveryRecord& record) const
{
    const std::optional<Stored> s = readStored(m_worker->runFolder, record.key);
    if (!s)
        return QStringLiteral("Its description cannot be read.");
    return checkStored(m_worker->runFolder, *s);
}

RecoveryJournal::RebuiltText RecoveryJournal::openText(const RecoveryRecord& record) const
{
    const std::optional<Stored> s = readStored(m_worker->runFolder, record.key);
    if (!s) {
        RebuiltText text;
        text.problem = QStringLiteral("Its description cannot be read.");
        return text;
    }
    return rebuild(m_worker->runFolder, *s);
}

QByteArray RecoveryJournal::textOf(const RecoveryRecord& record) const
{
    const RebuiltText text = openText(record);
    if (!text.device)
        return QByteArray();
    QByteArray all;
    TextChecksum checksum;
    QString error;
    const bool read = readThrough(
        *text.device, [&](QByteArrayView piece) { return checksum.feed(piece), all.append(piece), true; }, error);
    return read && text.verdict(checksum).isEmpty() ? all : QByteArray();
}

QString RecoveryJournal::setAside(const RecoveryRecord& record, const QString& folder)
{
    Worker& w = *m_worker;
    const std::optional<Stored> s = readStored(w.runFolder, record.key);
    Stored known = s.value_or(w.storedOf(record.key));
    known.record.key = record.key;
    const QString movedTo = moveAside(w.runFolder, known, folder);
    std::lock_guard guard(w.mutex);
    w.stored.erase(record.key);
    w.pending.erase(record.key);
    return movedTo;
}

quint64 RecoveryJournal::newKey()
{
    std::lock_guard guard(m_worker->mutex);
    return m_worker->nextKey++;
}

void RecoveryJournal::begin(const RecoveryRecord& record, RecoveryBase base)
{
    m_worker->enqueue(record.key, [&](Worker::Pending& p) {
        p = Worker::Pending();
        p.base = std::move(base);
        p.record = record;
    });
}

void RecoveryJournal::append(const RecoveryRecord& record, QByteArray entries)
{
    m_worker->enqueue(record.key, [&](Worker::Pending& p) {
        p.entries.append(entries);
        p.record = record;
    });
}

void RecoveryJournal::drop(quint64 key)
{
    m_worker->enqueue(key, [](Worker::Pending& p) {
        p = Worker::Pending();
        p.drop = true;
    });
}

void RecoveryJournal::waitUntilIdle()
{
    Worker& w = *m_worker;
    if (!w.thread.joinable())
        return;
    std::unique_lock guard(w.mutex);
    w.idle.wait(guard, [&w] { return w.allTriedOnce(); });
}

bool RecoveryJournal::allWritten() const
{
    std::lock_guard guard(m_worker->mutex);
    return isActive() && !m_worker->busy && m_worker->pending.empty();
}

QList<RecoveryRecord> RecoveryJournal::records() const
{
    QList<RecoveryRecord> result;
    if (!isActive())
        return result;
    for (quint64 key : keysIn(m_worker->runFolder))
        if (const std::optional<Stored> s = readStored(m_worker->runFolder, key))
            result.append(s->record);
    return result;
}

void RecoveryJournal::finish()
{
    Worker& w = *m_worker;
    if (!isActive())
        return;
    w.stop();
    w.lock.unlock();
    QDir(w.runFolder).removeRecursively();
    // The shared folder goes too once no run is left in it.
    QDir().rmdir(w.folder);
}
