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
#include <vector>

using namespace recoveryrecord;

namespace {
const QString LockName = QStringLiteral("lock");
} // namespace

// Slow work done in slices while no write waits: copying a record's base file, and writing a
// record whole as its next base. Each works for one generation of one record and is dropped
// when the record begins afresh or goes.
struct BackgroundTask
{
    virtual ~BackgroundTask() = default;
    // One slice of the work; true once it is over (done, or given up).
    virtual bool step() = 0;
    quint64 key = 0;
    int generation = 0;
};

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
    std::map<quint64, std::unique_ptr<BackgroundTask>> tasks;
    std::vector<Event> events; // to tell once the lock is let go
    bool writing = false;      // a job handed over is being written
    bool taskRunning = false;  // a slice of slow work is being done
    bool stopping = false;
    bool failureTold = false;
    std::thread thread;

    bool allTriedOnce() const
    {
        return !writing && std::all_of(pending.begin(), pending.end(), [](const auto& p) { return p.second.failed; });
    }

    void run()
    {
        std::unique_lock guard(mutex);
        for (;;) {
            tellEvents(guard);
            const auto next =
                std::find_if(pending.begin(), pending.end(), [](const auto& p) { return !p.second.failed; });
            if (next != pending.end()) {
                const quint64 key = next->first;
                Pending job = std::move(next->second);
                pending.erase(next);
                writing = true;
                guard.unlock();
                Outcome outcome = perform(key, std::move(job));
                guard.lock();
                writing = false;
                settle(key, std::move(outcome));
                if (allTriedOnce())
                    idle.notify_all();
                continue;
            }
            // Nothing waits to be written: the slow work goes on, a slice at a time, so that a
            // write handed over meanwhile waits one slice at most.
            if (!tasks.empty() && !stopping) {
                BackgroundTask* task = tasks.begin()->second.get();
                taskRunning = true;
                guard.unlock();
                const bool over = task->step();
                guard.lock();
                taskRunning = false;
                if (over && !tasks.empty() && tasks.begin()->second.get() == task)
                    tasks.erase(tasks.begin());
                if (over)
                    idle.notify_all();
                continue;
            }
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
        }
    }

    // After a job: a failure keeps what was not written for another try.
    void settle(quint64 key, Outcome outcome)
    {
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
            events.push_back({Event::Kind::WriteFailed, key, outcome.failure});
        } else if (failureTold && pending.empty()) {
            failureTold = false;
            events.push_back({Event::Kind::AllWritten, key, QString()});
        }
    }

    void tellEvents(std::unique_lock<std::mutex>& guard)
    {
        if (events.empty())
            return;
        const std::vector<Event> told = std::exchange(events, {});
        const auto tell = listener;
        guard.unlock();
        if (tell)
            for (const Event& event : told)
                tell(event);
        guard.lock();
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

    void dropTask(quint64 key)
    {
        std::lock_guard guard(mutex);
        tasks.erase(key);
    }

    Outcome perform(quint64 key, Pending job)
    {
        Outcome outcome;
        if (job.drop) {
            dropTask(key);
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
                dropTask(key);
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
        scheduleTask(s);
        return outcome;
    }

    void scheduleTask(const Stored& s)
    {
        std::unique_ptr<BackgroundTask> task;
        if (s.base.kind == RecoveryBase::Kind::File && s.base.name.isEmpty() && !s.baseLost)
            task = std::make_unique<BaseCopy>(*this, s);
        else if (needsCompaction(s))
            task = std::make_unique<Compaction>(*this, s);
        if (!task)
            return;
        std::lock_guard guard(mutex);
        if (!tasks.contains(s.record.key))
            tasks.emplace(s.record.key, std::move(task));
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

    bool needsCompaction(const Stored& s) const
    {
        return s.anchor && !s.baseLost &&
               ((s.journalBytes > CompactionBytes && s.journalBytes > s.record.length / 4) ||
                s.journalEntries > CompactionEntries);
    }

    // Brings a finished task's result into the record, if the record is still the generation
    // the task worked for; false when it is not.
    bool stillCurrent(const BackgroundTask& task)
    {
        std::lock_guard guard(mutex);
        const auto it = stored.find(task.key);
        return it != stored.end() && it->second.generation == task.generation;
    }

    // Copies the document's file that a record begins from into the run folder, and learns its
    // text's checksum on the way. A file that no longer holds the text the record began from
    // loses the record its base (the caller begins it afresh); a copy that fails otherwise is
    // tried again with the record's next write.
    struct BaseCopy : BackgroundTask
    {
        Worker& worker;
        Stored::Base base;
        platform::FileState before;
        QFile source;
        QSaveFile copy;
        CopyingDevice* copying = nullptr;
        std::unique_ptr<QIODevice> text;
        TextChecksum checksum;
        QByteArray buffer;
        QString name;

        BaseCopy(Worker& owner, const Stored& s)
            : worker(owner), base(s.base), source(s.base.source), name(dataName(s.record.key, s.generation, "base"))
        {
            key = s.record.key;
            generation = s.generation;
            copy.setFileName(worker.runFolder + QLatin1Char('/') + name);
        }

        bool start()
        {
            before = platform::fileState(base.source);
            if (!(before == base.state))
                return false;
            if (!source.open(QIODevice::ReadOnly | QIODevice::Unbuffered) ||
                !copy.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
                return true;
            auto reading = std::make_unique<CopyingDevice>(source, copy);
            copying = reading.get();
            reading->open(QIODevice::ReadOnly | QIODevice::Unbuffered);
            text = std::move(reading);
            if (base.encoding != platform::TextEncoding::Utf8) {
                text = std::make_unique<platform::DecodingDevice>(std::move(text), base.encoding);
                text->open(QIODevice::ReadOnly | QIODevice::Unbuffered);
            }
            if (base.lineEnds != LineEnds::AsIs) {
                text = std::make_unique<editlog::LineEndRestoringDevice>(std::move(text), base.lineEnds);
                text->open(QIODevice::ReadOnly | QIODevice::Unbuffered);
            }
            buffer.resize(PieceSize);
            return true;
        }

        bool step() override
        {
            if (!worker.stillCurrent(*this))
                return true;
            if (!text) {
                if (!start())
                    return lose();
                if (!text)
                    return true; // not readable now: tried again with the next write
            }
            // Four pieces a slice: a write handed over waits a few milliseconds at most.
            for (int i = 0; i < 4; ++i) {
                const qint64 n = text->read(buffer.data(), PieceSize);
                if (n < 0) {
                    copy.cancelWriting();
                    // A copy that could not be written is tried again later; a file that no
                    // longer reads or decodes is not the text any more.
                    return copying->failed ? true : lose();
                }
                if (n == 0)
                    return finish();
                checksum.feed(QByteArrayView(buffer.constData(), n));
            }
            return false;
        }

        bool finish()
        {
            if (checksum.length() != base.length || !(platform::fileState(base.source) == before)) {
                copy.cancelWriting();
                return lose();
            }
            if (!worker.stillCurrent(*this) || !copy.commit())
                return true;
            Stored s = worker.storedOf(key);
            s.base.name = name;
            s.anchor = checksum.value();
            try {
                worker.writeDescription(s);
            } catch (const CommandError&) {
                QFile::remove(copy.fileName());
                return true;
            }
            worker.keep(s);
            return true;
        }

        bool lose()
        {
            if (!worker.stillCurrent(*this))
                return true;
            Stored s = worker.storedOf(key);
            s.baseLost = true;
            worker.keep(s);
            std::lock_guard guard(worker.mutex);
            worker.events.push_back({Event::Kind::BaseLost, key, QString()});
            return true;
        }
    };

    // Writes the text rebuilt from a record's base and journal as its next generation's base.
    // Edits written meanwhile go on in the new journal, which starts with them.
    struct Compaction : BackgroundTask
    {
        Worker& worker;
        Stored from;
        Stored next;
        Expected expected;
        std::unique_ptr<QIODevice> text;
        QSaveFile copy;
        TextChecksum checksum;
        QByteArray buffer;

        Compaction(Worker& owner, const Stored& s) : worker(owner), from(s)
        {
            key = s.record.key;
            generation = s.generation;
        }

        bool step() override
        {
            if (!worker.stillCurrent(*this))
                return true;
            if (!text) {
                // The record as it is when the rebuild begins: edits written after this start the
                // new journal.
                from = worker.storedOf(key);
                QString error;
                text = replay(worker.runFolder, from, expected, error);
                next = from;
                next.generation = from.generation + 1;
                next.base = Stored::Base();
                next.base.kind = RecoveryBase::Kind::Text;
                next.base.name = dataName(key, next.generation, "base");
                next.base.length = expected.length;
                next.journalName = dataName(key, next.generation, "edits");
                copy.setFileName(worker.runFolder + QLatin1Char('/') + next.base.name);
                if (!text || !copy.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
                    return true;
                buffer.resize(PieceSize);
            }
            for (int i = 0; i < 4; ++i) {
                const qint64 n = text->read(buffer.data(), PieceSize);
                if (n < 0 || (n > 0 && copy.write(buffer.constData(), n) != n)) {
                    copy.cancelWriting();
                    return true;
                }
                if (n == 0)
                    return finish();
                checksum.feed(QByteArrayView(buffer.constData(), n));
            }
            return false;
        }

        bool finish()
        {
            if (checksum.length() != expected.length || (expected.checksum && checksum.value() != *expected.checksum)) {
                copy.cancelWriting();
                qWarning("Quillet: the recovery record %llu does not rebuild as recorded; it is kept as it is",
                         static_cast<unsigned long long>(key));
                return true;
            }
            if (!worker.stillCurrent(*this) || !copy.commit())
                return true;
            // The edits written since the rebuild began start the new journal.
            const Stored now = worker.storedOf(key);
            QFile oldJournal(worker.runFolder + QLatin1Char('/') + from.journalName);
            QFile journal(worker.runFolder + QLatin1Char('/') + next.journalName);
            QByteArray later;
            if (now.journalBytes > from.journalBytes && oldJournal.open(QIODevice::ReadOnly) &&
                oldJournal.seek(from.journalBytes))
                later = oldJournal.read(now.journalBytes - from.journalBytes);
            if (later.size() != now.journalBytes - from.journalBytes ||
                !journal.open(QIODevice::WriteOnly | QIODevice::Truncate) || journal.write(later) != later.size() ||
                !platform::syncToDisk(journal)) {
                QFile::remove(copy.fileName());
                return true;
            }
            journal.close();
            next.record = now.record;
            next.journalBytes = later.size();
            next.journalEntries = now.journalEntries - from.journalEntries;
            try {
                worker.writeDescription(next);
            } catch (const CommandError&) {
                QFile::remove(copy.fileName());
                QFile::remove(journal.fileName());
                return true;
            }
            worker.removeFiles(from, &next);
            worker.keep(next);
            return true;
        }
    };

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
        wake.notify_all();
        thread.join();
        std::lock_guard guard(mutex);
        tasks.clear();
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
                QList<std::pair<QString, QString>> movedFiles;
                const auto take = [&](QString& name, const char* suffix) {
                    if (name.isEmpty() || !ok)
                        return;
                    const QString newName = dataName(moved.record.key, moved.generation, suffix);
                    const QString from = other + QLatin1Char('/') + name;
                    const QString to = w.runFolder + QLatin1Char('/') + newName;
                    ok = moveFile(from, to);
                    if (ok)
                        movedFiles.append({from, to});
                    name = newName;
                };
                // A record not taken whole goes back whole: its description still names its files
                // there, and this run's folder goes at its end with whatever it holds.
                const auto putBack = [&] {
                    for (const auto& [from, to] : std::as_const(movedFiles))
                        moveFile(to, from);
                    keptAll = false;
                };
                take(moved.base.name, "base");
                take(moved.journalName, "edits");
                if (moved.journalName.isEmpty())
                    moved.journalName = dataName(moved.record.key, moved.generation, "edits");
                if (!ok) {
                    putBack();
                    continue;
                }
                try {
                    w.writeDescription(moved);
                } catch (const CommandError&) {
                    putBack();
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

void RecoveryJournal::begin(const RecoveryRecord& record, RecoveryBase base, QByteArray entries)
{
    // One job: a kill can never find the base written without the edits handed over with it.
    m_worker->enqueue(record.key, [&](Worker::Pending& p) {
        p = Worker::Pending();
        p.base = std::move(base);
        p.entries = std::move(entries);
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

void RecoveryJournal::waitUntilIdle(bool backgroundWorkToo)
{
    Worker& w = *m_worker;
    if (!w.thread.joinable())
        return;
    std::unique_lock guard(w.mutex);
    w.idle.wait(guard, [&w, backgroundWorkToo] {
        return w.allTriedOnce() && (!backgroundWorkToo || (w.tasks.empty() && !w.taskRunning));
    });
}

bool RecoveryJournal::allWritten() const
{
    std::lock_guard guard(m_worker->mutex);
    return isActive() && !m_worker->writing && m_worker->pending.empty();
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
