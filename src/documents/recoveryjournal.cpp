#include "documents/recoveryjournal.h"

#include "core/commanderror.h"
#include "documents/textchecksum.h"
#include "platform/processlock.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLocale>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <QSaveFile>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <map>
#include <mutex>
#include <thread>
#include <utility>

namespace {
const QString LockName = QStringLiteral("lock");
// Pieces read and written at a time when a text is copied, checked or rebuilt.
constexpr qint64 PieceSize = qint64(1) << 20;

QString recordFile(const QString& folder, quint64 key)
{
    return folder + QLatin1Char('/') + QString::number(key) + QStringLiteral(".json");
}

// The text of a record written before edits were journalled.
QString legacyTextFile(const QString& folder, quint64 key)
{
    return folder + QLatin1Char('/') + QString::number(key) + QStringLiteral(".txt");
}

// A record's files of one generation: its base copy and its journal.
QString dataName(quint64 key, int generation, const char* suffix)
{
    return QStringLiteral("%1-%2.%3").arg(key).arg(generation).arg(QLatin1String(suffix));
}

bool makePrivateFolder(const QString& path)
{
    if (!QDir().mkpath(path))
        return false;
    return QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
}

QString byteCount(qint64 bytes)
{
    return QLocale(QLocale::English).toString(bytes);
}

QString hex(quint64 value)
{
    return QString::number(value, 16);
}

quint64 fromHex(const QJsonValue& value, bool* ok = nullptr)
{
    return value.toString().toULongLong(ok, 16);
}

// Large numbers go as text: JSON numbers are doubles, exact only to 2^53.
qint64 integerOf(const QJsonValue& value)
{
    return value.isString() ? value.toString().toLongLong() : value.toInteger();
}

QJsonObject stateToJson(const platform::FileState& state)
{
    return {{QStringLiteral("size"), QString::number(state.size)},
            {QStringLiteral("modified"), QString::number(state.modifiedNs)},
            {QStringLiteral("changed"), QString::number(state.changedNs)},
            {QStringLiteral("inode"), QString::number(state.inode)}};
}

platform::FileState stateFromJson(const QJsonValue& value)
{
    platform::FileState state;
    if (!value.isObject())
        return state;
    const QJsonObject o = value.toObject();
    state.exists = true;
    state.size = integerOf(o.value(QStringLiteral("size")));
    state.modifiedNs = integerOf(o.value(QStringLiteral("modified")));
    state.changedNs = integerOf(o.value(QStringLiteral("changed")));
    state.inode = o.value(QStringLiteral("inode")).toString().toULongLong();
    return state;
}

QString lineEndsName(LineEnds ends)
{
    switch (ends) {
    case LineEnds::Lf:
        return QStringLiteral("lf");
    case LineEnds::Cr:
        return QStringLiteral("cr");
    case LineEnds::Crlf:
    case LineEnds::AsIs:
        break;
    }
    return QStringLiteral("asis");
}

LineEnds lineEndsNamed(const QString& name)
{
    if (name == QLatin1String("lf"))
        return LineEnds::Lf;
    if (name == QLatin1String("cr"))
        return LineEnds::Cr;
    return LineEnds::AsIs;
}

const char* kindName(RecoveryBase::Kind kind)
{
    switch (kind) {
    case RecoveryBase::Kind::File:
        return "file";
    case RecoveryBase::Kind::Text:
        return "text";
    case RecoveryBase::Kind::Empty:
        break;
    }
    return "empty";
}

// A record as its file describes it: the document, its base and its journal.
struct Stored
{
    struct Base
    {
        RecoveryBase::Kind kind = RecoveryBase::Kind::Empty;
        QString name;   // the copy in the run folder; empty for a file not copied yet
        QString source; // File: the document's file
        platform::FileState state;
        platform::TextEncoding encoding = platform::TextEncoding::Utf8;
        LineEnds lineEnds = LineEnds::AsIs;
        qint64 length = 0;
    };
    RecoveryRecord record;
    Base base;
    // The checksum of the text the record began from; the text's is this plus the change the last
    // edit recorded. Not known until a base file is copied.
    std::optional<quint64> anchor;
    int generation = 0;
    QString journalName;
    qint64 journalBytes = 0;
    qint64 journalEntries = 0;
    bool baseLost = false;
};

QByteArray encode(const Stored& s)
{
    const RecoveryRecord& r = s.record;
    QJsonObject o;
    o.insert(QStringLiteral("caption"), r.caption);
    o.insert(QStringLiteral("path"), r.path);
    o.insert(QStringLiteral("caret"), r.caret);
    o.insert(QStringLiteral("written"), r.written.toString(Qt::ISODateWithMs));
    o.insert(QStringLiteral("encoding"), platform::encodingName(r.encoding));
    if (r.fileState.exists)
        o.insert(QStringLiteral("file"), stateToJson(r.fileState));
    o.insert(QStringLiteral("length"), QString::number(r.length));
    o.insert(QStringLiteral("change"), hex(r.checksumChange));
    QJsonObject base{{QStringLiteral("kind"), QLatin1String(kindName(s.base.kind))},
                     {QStringLiteral("length"), QString::number(s.base.length)}};
    if (!s.base.name.isEmpty())
        base.insert(QStringLiteral("name"), s.base.name);
    if (s.base.kind == RecoveryBase::Kind::File) {
        base.insert(QStringLiteral("source"), s.base.source);
        base.insert(QStringLiteral("state"), stateToJson(s.base.state));
        base.insert(QStringLiteral("encoding"), platform::encodingName(s.base.encoding));
        base.insert(QStringLiteral("lineEnds"), lineEndsName(s.base.lineEnds));
    }
    o.insert(QStringLiteral("base"), base);
    if (s.anchor)
        o.insert(QStringLiteral("anchor"), hex(*s.anchor));
    o.insert(QStringLiteral("generation"), s.generation);
    o.insert(QStringLiteral("journal"), QJsonObject{{QStringLiteral("name"), s.journalName},
                                                    {QStringLiteral("bytes"), QString::number(s.journalBytes)},
                                                    {QStringLiteral("entries"), QString::number(s.journalEntries)}});
    return QJsonDocument(o).toJson(QJsonDocument::Indented);
}

// The record of `key` in `folder`; a record written before edits were journalled is its text
// whole, and one whose description cannot be read but whose text can comes back untitled.
std::optional<Stored> readStored(const QString& folder, quint64 key)
{
    Stored s;
    s.record.key = key;
    QFile file(recordFile(folder, key));
    const QJsonObject o =
        file.open(QIODevice::ReadOnly) ? QJsonDocument::fromJson(file.readAll()).object() : QJsonObject();
    RecoveryRecord& r = s.record;
    r.caption = o.value(QStringLiteral("caption")).toString();
    r.path = o.value(QStringLiteral("path")).toString();
    r.caret = o.value(QStringLiteral("caret")).toInteger();
    r.written = QDateTime::fromString(o.value(QStringLiteral("written")).toString(), Qt::ISODateWithMs);
    r.encoding =
        platform::encodingNamed(o.value(QStringLiteral("encoding")).toString()).value_or(platform::TextEncoding::Utf8);
    r.fileState = stateFromJson(o.value(QStringLiteral("file")));
    const QJsonValue base = o.value(QStringLiteral("base"));
    if (!base.isObject()) {
        const QFileInfo text(legacyTextFile(folder, key));
        if (!text.exists())
            return std::nullopt;
        if (!r.written.isValid())
            r.written = text.lastModified();
        s.base.kind = RecoveryBase::Kind::Text;
        s.base.name = text.fileName();
        s.base.length = text.size();
        r.length = s.base.length;
        return s;
    }
    const QJsonObject b = base.toObject();
    const QString kind = b.value(QStringLiteral("kind")).toString();
    s.base.kind = kind == QLatin1String("file")   ? RecoveryBase::Kind::File
                  : kind == QLatin1String("text") ? RecoveryBase::Kind::Text
                                                  : RecoveryBase::Kind::Empty;
    s.base.name = b.value(QStringLiteral("name")).toString();
    s.base.source = b.value(QStringLiteral("source")).toString();
    s.base.state = stateFromJson(b.value(QStringLiteral("state")));
    s.base.encoding =
        platform::encodingNamed(b.value(QStringLiteral("encoding")).toString()).value_or(platform::TextEncoding::Utf8);
    s.base.lineEnds = lineEndsNamed(b.value(QStringLiteral("lineEnds")).toString());
    s.base.length = integerOf(b.value(QStringLiteral("length")));
    r.length = integerOf(o.value(QStringLiteral("length")));
    r.checksumChange = fromHex(o.value(QStringLiteral("change")));
    bool anchored = false;
    const quint64 anchor = fromHex(o.value(QStringLiteral("anchor")), &anchored);
    if (anchored)
        s.anchor = anchor;
    s.generation = o.value(QStringLiteral("generation")).toInt();
    const QJsonObject journal = o.value(QStringLiteral("journal")).toObject();
    s.journalName = journal.value(QStringLiteral("name")).toString();
    s.journalBytes = integerOf(journal.value(QStringLiteral("bytes")));
    s.journalEntries = integerOf(journal.value(QStringLiteral("entries")));
    if (!r.written.isValid())
        r.written = QFileInfo(file).lastModified();
    // Names from the file stay inside the folder.
    for (const QString* name : {&s.base.name, &s.journalName})
        if (name->contains(QLatin1Char('/')) || name->startsWith(QLatin1Char('.')))
            return std::nullopt;
    return s;
}

// The keys of the records in `folder`.
QList<quint64> keysIn(const QString& folder)
{
    static const QRegularExpression pattern(QStringLiteral("^(\\d+)\\.(json|txt)$"));
    QList<quint64> keys;
    const QStringList names = QDir(folder).entryList(QDir::Files);
    for (const QString& name : names) {
        const QRegularExpressionMatch match = pattern.match(name);
        bool ok = false;
        const quint64 key = match.hasMatch() ? match.captured(1).toULongLong(&ok) : 0;
        if (ok && !keys.contains(key))
            keys.append(key);
    }
    std::sort(keys.begin(), keys.end());
    return keys;
}

// Every file of a record in `folder`, its description last.
QStringList filesOf(const QString& folder, const Stored& s)
{
    QStringList files;
    for (const QString& name : {s.base.name, s.journalName})
        if (!name.isEmpty())
            files.append(folder + QLatin1Char('/') + name);
    files.append(legacyTextFile(folder, s.record.key));
    files.append(recordFile(folder, s.record.key));
    return files;
}

// The file a base is read from, and whether it is the document's own file (not a copy).
QString baseFilePath(const QString& folder, const Stored::Base& base, bool* isSource = nullptr)
{
    const bool source = base.kind == RecoveryBase::Kind::File && base.name.isEmpty();
    if (isSource)
        *isSource = source;
    return source ? base.source : folder + QLatin1Char('/') + base.name;
}

// A base's text, read from start to end.
std::unique_ptr<QIODevice> openBase(const QString& folder, const Stored::Base& base, QString& error)
{
    if (base.kind == RecoveryBase::Kind::Empty) {
        auto empty = std::make_unique<QBuffer>();
        empty->open(QIODevice::ReadOnly);
        return empty;
    }
    bool isSource = false;
    const QString path = baseFilePath(folder, base, &isSource);
    if (isSource && !(platform::fileState(path) == base.state)) {
        error = QStringLiteral("\"%1\", which the changes were made to, has been changed since.")
                    .arg(QDir::toNativeSeparators(path));
        return nullptr;
    }
    auto file = std::make_unique<QFile>(path);
    if (!file->open(QIODevice::ReadOnly | QIODevice::Unbuffered)) {
        error = fileError(QStringLiteral("Cannot read"), path, file->errorString());
        return nullptr;
    }
    std::unique_ptr<QIODevice> text = std::move(file);
    if (base.kind == RecoveryBase::Kind::File && base.encoding != platform::TextEncoding::Utf8) {
        text = std::make_unique<platform::DecodingDevice>(std::move(text), base.encoding);
        text->open(QIODevice::ReadOnly | QIODevice::Unbuffered);
    }
    if (base.kind == RecoveryBase::Kind::File && base.lineEnds != LineEnds::AsIs) {
        text = std::make_unique<editlog::LineEndRestoringDevice>(std::move(text), base.lineEnds);
        text->open(QIODevice::ReadOnly | QIODevice::Unbuffered);
    }
    return text;
}

// What the rebuilt text must come out as.
struct Expected
{
    qint64 length = 0;
    std::optional<quint64> checksum;
};

// A record's text rebuilt: its base with its journal replayed. Nothing (and `error`) when the
// base cannot be read or the journal does not fit it.
std::unique_ptr<QIODevice> replay(const QString& folder, const Stored& s, Expected& expected, QString& error)
{
    std::unique_ptr<QIODevice> base = openBase(folder, s.base, error);
    if (!base)
        return nullptr;
    expected.length = s.record.length;
    quint64 change = s.record.checksumChange;
    editlog::PieceTable pieces(s.base.length);
    auto journal = std::make_unique<QFile>(folder + QLatin1Char('/') + s.journalName);
    if (!s.journalName.isEmpty() && journal->open(QIODevice::ReadOnly)) {
        const std::optional<QList<editlog::Entry>> entries = editlog::readEntries(*journal, journal->size());
        if (!entries) {
            error = fileError(QStringLiteral("Cannot read"), journal->fileName(), journal->errorString());
            return nullptr;
        }
        for (const editlog::Entry& entry : *entries) {
            if (!pieces.apply(entry)) {
                error = QStringLiteral("Its edits do not fit the text they were made to.");
                return nullptr;
            }
        }
        // The journal may hold edits its description was not yet written for.
        if (!entries->isEmpty()) {
            expected.length = entries->constLast().lengthAfter;
            change = entries->constLast().checksumAfter;
        }
    }
    if (s.anchor)
        expected.checksum = *s.anchor + change;
    if (pieces.length() != expected.length) {
        error = QStringLiteral("Its edits do not give the length it recorded.");
        return nullptr;
    }
    // A journal of moderate size is read once rather than piece by piece.
    std::unique_ptr<QIODevice> edits = std::move(journal);
    if (edits->isOpen() && edits->size() <= (qint64(16) << 20) && edits->seek(0)) {
        auto inMemory = std::make_unique<QBuffer>();
        inMemory->setData(edits->readAll());
        inMemory->open(QIODevice::ReadOnly);
        edits = std::move(inMemory);
    }
    auto text = std::make_unique<editlog::ReplayDevice>(std::move(base), std::move(edits), pieces.pieces());
    text->open(QIODevice::ReadOnly | QIODevice::Unbuffered);
    return text;
}

// Reads a text to its end, passing each piece on; false with the reason when a read fails or
// `cancelled` says to stop.
bool readThrough(QIODevice& text, const std::function<bool(QByteArrayView)>& piece, QString& error,
                 const std::atomic<bool>* cancelled = nullptr)
{
    QByteArray buffer(PieceSize, Qt::Uninitialized);
    for (;;) {
        if (cancelled && cancelled->load()) {
            error = QStringLiteral("Cancelled.");
            return false;
        }
        const qint64 n = text.read(buffer.data(), PieceSize);
        if (n < 0) {
            error = text.errorString();
            return false;
        }
        if (n == 0)
            return true;
        if (!piece(QByteArrayView(buffer.constData(), n)))
            return false;
    }
}

RecoveryJournal::RebuiltText rebuild(const QString& folder, const Stored& s)
{
    RecoveryJournal::RebuiltText text;
    if (s.record.length > TextCapacity) {
        text.problem = QStringLiteral("It holds %1 bytes; the editor holds at most %2 bytes.")
                           .arg(byteCount(s.record.length), byteCount(TextCapacity));
        return text;
    }
    Expected expected;
    text.device = replay(folder, s, expected, text.problem);
    text.length = expected.length;
    text.checksum = expected.checksum;
    return text;
}

QString checkStored(const QString& folder, const Stored& s)
{
    const RecoveryJournal::RebuiltText text = rebuild(folder, s);
    if (!text.device)
        return text.problem;
    TextChecksum checksum;
    QString error;
    if (!readThrough(
            *text.device, [&](QByteArrayView piece) { return checksum.feed(piece), true; }, error))
        return error;
    return text.verdict(checksum);
}

// Reads what it passes on from `source` and writes the same bytes to `copy`, so that reading a
// file's decoded text also copies the file.
class CopyingDevice : public QIODevice
{
public:
    CopyingDevice(QIODevice& source, QIODevice& copy) : m_source(source), m_copy(copy) {}
    bool isSequential() const override { return true; }
    bool failed = false;

protected:
    qint64 readData(char* data, qint64 maxSize) override
    {
        const qint64 n = m_source.read(data, maxSize);
        if (n < 0) {
            setErrorString(m_source.errorString());
            return -1;
        }
        if (n > 0 && m_copy.write(data, n) != n) {
            failed = true;
            setErrorString(m_copy.errorString());
            return -1;
        }
        return n;
    }
    qint64 writeData(const char*, qint64) override { return -1; }

private:
    QIODevice& m_source;
    QIODevice& m_copy;
};

// Takes the text's length and checksum from the last whole entry of a record's journal, which
// may hold edits whose description was never written (the run ended in between).
void settleJournal(const QString& folder, Stored& s)
{
    QFile journal(folder + QLatin1Char('/') + s.journalName);
    if (s.journalName.isEmpty() || !journal.open(QIODevice::ReadOnly))
        return;
    const std::optional<QList<editlog::Entry>> entries = editlog::readEntries(journal, journal.size());
    if (!entries || entries->isEmpty())
        return;
    const editlog::Entry& last = entries->constLast();
    s.record.length = last.lengthAfter;
    s.record.checksumChange = last.checksumAfter;
    s.journalBytes = last.insertedAt + last.inserted;
    s.journalEntries = entries->size();
}

qint64 countEntries(const QByteArray& entries)
{
    QBuffer buffer;
    buffer.setData(entries);
    buffer.open(QIODevice::ReadOnly);
    const std::optional<QList<editlog::Entry>> list = editlog::readEntries(buffer, entries.size());
    return list ? list->size() : 0;
}
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
                if (job.record)
                    s.record = *job.record;
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
        s.journalEntries += countEntries(entries);
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

namespace {
// Moves a file, across file systems too.
bool moveFile(const QString& from, const QString& to)
{
    if (QFile::rename(from, to))
        return true;
    return QFile::copy(from, to) && QFile::remove(from);
}

// Moves every file of a record to a new folder of its own below `folder`; where it went.
QString moveAside(const QString& from, const Stored& s, const QString& folder)
{
    const QString stamp = QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMdd-HHmmss"));
    QString target;
    for (int n = 0; target.isEmpty() || QFileInfo::exists(target); ++n)
        target = folder + QLatin1Char('/') + stamp + QLatin1Char('-') + QString::number(s.record.key) +
                 (n > 0 ? QLatin1Char('-') + QString::number(n) : QString());
    if (!makePrivateFolder(target))
        return QString();
    for (const QString& file : filesOf(from, s))
        if (QFileInfo::exists(file))
            moveFile(file, target + QLatin1Char('/') + QFileInfo(file).fileName());
    return target;
}
} // namespace

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

QString RecoveryJournal::RebuiltText::verdict(const TextChecksum& read) const
{
    if (read.length() != length)
        return QStringLiteral("It comes out %1 bytes long instead of %2.")
            .arg(byteCount(read.length()), byteCount(length));
    if (checksum && read.value() != *checksum)
        return QStringLiteral("Its text does not come out as it was recorded.");
    return QString();
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
