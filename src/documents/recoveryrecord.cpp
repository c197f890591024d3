#include "documents/recoveryrecord.h"

#include "core/commanderror.h"
#include "documents/editlog.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLocale>
#include <QRegularExpression>

#include <algorithm>

namespace {
using recoveryrecord::Stored;
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

// The file a base is read from, and whether it is the document's own file (not a copy).
QString baseFilePath(const QString& folder, const Stored::Base& base, bool* isSource = nullptr)
{
    const bool source = base.kind == RecoveryBase::Kind::File && base.name.isEmpty();
    if (isSource)
        *isSource = source;
    return source ? base.source : folder + QLatin1Char('/') + base.name;
}

} // namespace

namespace recoveryrecord {
// Pieces read and written at a time when a text is copied, checked or rebuilt.
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

QByteArray encode(const Stored& s)
{
    const RecoveryRecord& r = s.record;
    QJsonObject o;
    o.insert(QStringLiteral("caption"), r.caption);
    o.insert(QStringLiteral("path"), r.path);
    o.insert(QStringLiteral("caret"), r.caret);
    o.insert(QStringLiteral("written"), r.written.toString(Qt::ISODateWithMs));
    o.insert(QStringLiteral("encoding"), platform::encodingName(r.encoding));
    if (!r.rawBytesNote.isEmpty())
        o.insert(QStringLiteral("rawBytes"), r.rawBytesNote);
    if (r.nonAsciiAdded)
        o.insert(QStringLiteral("nonAsciiAdded"), true);
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
    r.rawBytesNote = o.value(QStringLiteral("rawBytes")).toString();
    r.nonAsciiAdded = o.value(QStringLiteral("nonAsciiAdded")).toBool();
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
        const std::optional<QList<editlog::Entry>> entries =
            editlog::readEntries(*journal, std::min(journal->size(), s.journalBytes));
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
                 const std::atomic<bool>* cancelled)
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

RebuiltRecoveryText rebuild(const QString& folder, const Stored& s)
{
    RebuiltRecoveryText text;
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
    const RebuiltRecoveryText text = rebuild(folder, s);
    if (!text.device)
        return text.problem;
    TextChecksum checksum;
    QString error;
    if (!readThrough(
            *text.device, [&](QByteArrayView piece) { return checksum.feed(piece), true; }, error))
        return error;
    return text.verdict(checksum);
}

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

std::optional<QList<editlog::Entry>> entriesIn(const QByteArray& entries)
{
    QBuffer buffer;
    buffer.setData(entries);
    buffer.open(QIODevice::ReadOnly);
    return editlog::readEntries(buffer, entries.size());
}
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
    // All or nothing: a record split between two folders is whole in neither, and the caller
    // deletes what it believes moved.
    QStringList moved;
    for (const QString& file : filesOf(from, s)) {
        if (!QFileInfo::exists(file))
            continue;
        const QString to = target + QLatin1Char('/') + QFileInfo(file).fileName();
        if (!moveFile(file, to)) {
            for (const QString& back : std::as_const(moved))
                moveFile(target + QLatin1Char('/') + QFileInfo(back).fileName(), back);
            QDir().rmdir(target);
            return QString();
        }
        moved.append(file);
    }
    return target;
}
} // namespace recoveryrecord

QString RebuiltRecoveryText::verdict(const TextChecksum& read) const
{
    if (read.length() != length)
        return QStringLiteral("It comes out %1 bytes long instead of %2.")
            .arg(recoveryrecord::byteCount(read.length()), recoveryrecord::byteCount(length));
    if (checksum && read.value() != *checksum)
        return QStringLiteral("Its text does not come out as it was recorded.");
    return QString();
}
