#include "documents/filesave.h"

#include "platform/platform.h"
#include "platform/processlock.h"
#include "platform/userfolders.h"

#include "core/commanderror.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLocale>
#include <QRandomGenerator>
#include <QSaveFile>
#include <QTemporaryFile>

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <functional>

QString fileError(const QString& what, const QString& path, const QString& reason)
{
    return QStringLiteral("%1 \"%2\".\n%3").arg(what, shortenedForMessage(QDir::toNativeSeparators(path)), reason);
}

namespace {

// What a path that is not a regular file names, as the messages say it.
QString kindOfSpecialFile(const std::filesystem::file_status& status)
{
    namespace fs = std::filesystem;
    if (fs::is_directory(status))
        return QStringLiteral("a folder");
    if (fs::is_fifo(status))
        return QStringLiteral("a named pipe (FIFO)");
    if (fs::is_socket(status))
        return QStringLiteral("a socket");
    if (fs::is_character_file(status) || fs::is_block_file(status))
        return QStringLiteral("a device");
    return QStringLiteral("a special file");
}

QString byteCount(qint64 bytes)
{
    return QLocale(QLocale::English).toString(bytes);
}

} // namespace

OpenRefusal checkOpenable(const QString& path)
{
    namespace fs = std::filesystem;
    if (path.isEmpty())
        return {};
    std::error_code error;
    // Follows links: what counts is what a read would reach.
    const fs::file_status status = fs::status(fs::path(QFile::encodeName(path).toStdString()), error);
    if (error || !fs::exists(status))
        return {};
    const QString name = QFileInfo(path).fileName();
    if (!fs::is_regular_file(status)) {
        const QString kind = kindOfSpecialFile(status);
        return {fileError(QStringLiteral("Cannot open"), path,
                          QStringLiteral("It is %1; only regular files can be opened as documents.").arg(kind)),
                QStringLiteral("Not opened: \"%1\" is %2, not a regular file.").arg(name, kind)};
    }
    const qint64 size = QFileInfo(path).size();
    if (size > TextCapacity) {
        return {fileError(QStringLiteral("The file is too large to open"), path,
                          QStringLiteral("It holds %1 bytes; the editor holds at most %2 bytes.")
                              .arg(byteCount(size), byteCount(TextCapacity))),
                QStringLiteral("Not opened: \"%1\" is larger than the editor's limit of %2 bytes.")
                    .arg(name, byteCount(TextCapacity))};
    }
    return {};
}

QByteArray readFileBytes(const QString& path)
{
    if (const OpenRefusal refusal = checkOpenable(path))
        throw CommandError(refusal.message);
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw CommandError(fileError(QStringLiteral("Cannot open file"), path, file.errorString()));
    if (file.size() > TextCapacity)
        throw CommandError(fileError(QStringLiteral("The file is too large"), path, QString()));
    QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        throw CommandError(fileError(QStringLiteral("Cannot read file"), path, file.errorString()));
    return bytes;
}

std::optional<qint64> decodedFileLength(const QString& path, platform::TextEncoding encoding)
{
    if (const OpenRefusal refusal = checkOpenable(path))
        throw CommandError(refusal.message);
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw CommandError(fileError(QStringLiteral("Cannot open file"), path, file.errorString()));
    // Pieces small enough to stay in the processor's cache while they are checked.
    constexpr qint64 PieceSize = qint64(256) << 10;
    QByteArray piece(PieceSize, Qt::Uninitialized);
    platform::DecodeCheck check(encoding);
    qint64 n;
    while ((n = file.read(piece.data(), PieceSize)) > 0)
        check.feed(QByteArrayView(piece).first(n));
    if (n < 0)
        throw CommandError(fileError(QStringLiteral("Cannot read file"), path, file.errorString()));
    return check.decodedLength();
}

namespace {

// Deeper link chains than this are taken for a loop, as the system does.
constexpr int MaxLinkDepth = 40;

CommandError saveError(const QString& path, const QString& reason)
{
    return CommandError(fileError(QStringLiteral("Cannot save file"), path, reason));
}

QByteArray terminatorFor(LineEnds ends)
{
    switch (ends) {
    case LineEnds::Crlf:
        return QByteArrayLiteral("\r\n");
    case LineEnds::Lf:
        return QByteArrayLiteral("\n");
    case LineEnds::Cr:
        return QByteArrayLiteral("\r");
    case LineEnds::AsIs:
        break;
    }
    return QByteArray();
}

// The file a save of `path` must replace: the end of its chain of symbolic links, so the links
// stay links. A dangling link yields the missing file it names.
QString resolveLinks(const QString& path)
{
    QString current = path;
    for (int depth = 0;; ++depth) {
        const QFileInfo info(current);
        if (!info.isSymLink())
            return current;
        if (depth == MaxLinkDepth)
            throw saveError(path, QStringLiteral("Too many levels of symbolic links."));
        current = info.symLinkTarget();
        if (current.isEmpty())
            throw saveError(path, QStringLiteral("The symbolic link cannot be read."));
    }
}

qsizetype findByte(const char* text, qsizetype from, qsizetype size, char byte)
{
    const void* hit = std::memchr(text + from, byte, size_t(size - from));
    return hit ? static_cast<const char*>(hit) - text : size;
}

} // namespace

LineEndWriter::LineEndWriter(QIODevice& device, LineEnds ends, qsizetype bufferSize)
    : m_device(device), m_ends(ends), m_terminator(terminatorFor(ends))
{
    m_buffer.resize(std::max<qsizetype>(bufferSize, 1));
}

bool LineEndWriter::write(QByteArrayView piece)
{
    if (m_failed)
        return false;
    const char* const text = piece.data();
    const qsizetype size = piece.size();
    if (m_ends == LineEnds::AsIs)
        return put(text, size);
    if (size == 0)
        return true;

    qsizetype pos = 0;
    if (m_pendingCr) {
        m_pendingCr = false;
        if (text[0] == '\n')
            pos = 1;
        (pos == 1 ? m_breaks.crlf : m_breaks.cr) = true;
        if (!putTerminator())
            return false;
    }
    // Bytes from `span` on are not passed on yet; a break already written as the terminator
    // stays inside the span, so text that needs no change is copied (or written) in one go.
    qsizetype span = pos;
    qsizetype nextCr = -1, nextLf = -1;
    while (pos < size) {
        if (nextCr < pos)
            nextCr = findByte(text, pos, size, '\r');
        if (nextLf < pos)
            nextLf = findByte(text, pos, size, '\n');
        const qsizetype brk = std::min(nextCr, nextLf);
        if (brk == size)
            break;
        qsizetype length = 1;
        if (text[brk] == '\r') {
            if (brk + 1 == size) {
                // Its LF may open the next piece: decide then.
                m_pendingCr = true;
                return put(text + span, brk - span);
            }
            if (text[brk + 1] == '\n')
                length = 2;
            (length == 2 ? m_breaks.crlf : m_breaks.cr) = true;
        } else {
            m_breaks.lf = true;
        }
        pos = brk + length;
        if (length == m_terminator.size() && std::memcmp(text + brk, m_terminator.constData(), size_t(length)) == 0)
            continue;
        if (!put(text + span, brk - span) || !putTerminator())
            return false;
        span = pos;
    }
    return put(text + span, size - span);
}

bool LineEndWriter::finish()
{
    if (m_failed)
        return false;
    if (m_pendingCr) {
        m_pendingCr = false;
        m_breaks.cr = true;
        if (!putTerminator())
            return false;
    }
    return flush();
}

bool LineEndWriter::put(const char* data, qsizetype size)
{
    if (m_failed)
        return false;
    const qsizetype capacity = m_buffer.size();
    if (m_used + size > capacity) {
        if (m_used > 0) {
            const qsizetype room = capacity - m_used;
            std::memcpy(m_buffer.data() + m_used, data, size_t(room));
            m_used = capacity;
            data += room;
            size -= room;
            if (!flush())
                return false;
        }
        // Long runs go straight from the text to the device instead of through the buffer.
        if (size >= capacity)
            return writeOut(data, size);
    }
    if (size > 0) {
        std::memcpy(m_buffer.data() + m_used, data, size_t(size));
        m_used += size;
    }
    return true;
}

bool LineEndWriter::flush()
{
    const qsizetype used = m_used;
    m_used = 0;
    return writeOut(m_buffer.constData(), used);
}

bool LineEndWriter::writeOut(const char* data, qsizetype size)
{
    while (size > 0 && !m_failed) {
        const qint64 written = m_device.write(data, size);
        if (written <= 0)
            m_failed = true;
        else {
            data += written;
            size -= written;
        }
    }
    return !m_failed;
}

namespace {

// Counts what a write would put in the file, so the room it needs is known before it starts.
class CountingDevice : public QIODevice
{
public:
    CountingDevice() { open(QIODevice::WriteOnly | QIODevice::Unbuffered); }
    qint64 count = 0;

protected:
    qint64 readData(char*, qint64) override { return -1; }
    qint64 writeData(const char*, qint64 size) override
    {
        count += size;
        return size;
    }
};

qint64 convertedSize(QByteArrayView text, LineEnds ends)
{
    if (ends == LineEnds::AsIs)
        return text.size();
    CountingDevice counter;
    LineEndWriter writer(counter, ends);
    writer.write(text);
    writer.finish();
    return counter.count;
}

// Writes the new content to a device from its start; false with the reason on failure.
using ContentWriter = std::function<bool(QFileDevice& to, QString& reason)>;

// The record of an in-place write, beside its kept content.
QByteArray describeKeptContent(const QString& shownPath, const QString& target, qint64 size)
{
    QJsonObject o{{QStringLiteral("path"), shownPath},
                  {QStringLiteral("target"), target},
                  {QStringLiteral("size"), QString::number(size)},
                  {QStringLiteral("started"), QDateTime::currentDateTime().toString(Qt::ISODateWithMs)}};
    return QJsonDocument(o).toJson();
}

QString& keptFolderSetting()
{
    static QString folder;
    return folder;
}

// Overwrites `target` where it is. Before the file is touched, a complete copy of its content and a
// record naming the file go to the kept-content folder and onto the disk; a write that fails puts
// that content back, and a write that never ends (the process is killed) leaves them for the next
// start to offer.
void writeInPlace(const QString& shownPath, const QString& target, qint64 newSize, const ContentWriter& write)
{
    QFile file(target);
    if (!file.open(QIODevice::ReadWrite | QIODevice::Unbuffered))
        throw saveError(shownPath, file.errorString());
    const qint64 oldSize = file.size();
    const QString folder = keptContentFolder();
    if (!QDir().mkpath(folder) ||
        !QFile::setPermissions(folder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner))
        throw saveError(shownPath, QStringLiteral("The folder \"%1\" for a copy of its old content cannot be made.")
                                       .arg(QDir::toNativeSeparators(folder)));
    const qint64 keepRoom = platform::availableSpace(folder);
    const qint64 fileRoom = platform::availableSpace(target);
    if ((keepRoom >= 0 && keepRoom < oldSize) || (fileRoom >= 0 && fileRoom < newSize - oldSize))
        throw saveError(shownPath, QStringLiteral("There is not enough room on the disk."));

    platform::ProcessLock lock;
    QString id;
    for (int attempt = 0; attempt < 100 && id.isEmpty(); ++attempt) {
        const QString candidate = QStringLiteral("%1-%2")
                                      .arg(QCoreApplication::applicationPid())
                                      .arg(QRandomGenerator::global()->generate(), 8, 16, QLatin1Char('0'));
        if (!QFileInfo::exists(folder + QLatin1Char('/') + candidate + QStringLiteral(".lock")) &&
            lock.tryLock(folder + QLatin1Char('/') + candidate + QStringLiteral(".lock")))
            id = candidate;
    }
    if (id.isEmpty())
        throw saveError(
            shownPath,
            QStringLiteral("No copy of its old content can be kept in \"%1\".").arg(QDir::toNativeSeparators(folder)));
    const QString base = folder + QLatin1Char('/') + id;
    const QString keep = base + QStringLiteral(".old");
    const QString record = base + QStringLiteral(".json");
    const auto forget = [&] {
        // The record first: without it the copy is nobody's.
        QFile::remove(record);
        QFile::remove(keep);
        lock.unlock();
        QFile::remove(base + QStringLiteral(".lock"));
    };
    {
        QFile copy(keep);
        bool kept = copy.open(QIODevice::WriteOnly | QIODevice::Unbuffered) && file.seek(0) &&
                    platform::copyFileData(file, copy) && platform::syncToDisk(copy) && copy.size() == oldSize;
        QString reason = copy.errorString().isEmpty() ? file.errorString() : copy.errorString();
        copy.close();
        if (kept) {
            try {
                writeTextFile(record, describeKeptContent(shownPath, target, oldSize), LineEnds::AsIs);
            } catch (const CommandError& e) {
                kept = false;
                reason = e.message().section(QLatin1Char('\n'), -1);
            }
        }
        if (!kept) {
            forget();
            throw saveError(shownPath, reason);
        }
    }

    QString reason;
    bool written = file.seek(0) && write(file, reason);
    if (written) {
        written = file.resize(newSize) && platform::syncToDisk(file);
        if (!written)
            reason = file.errorString();
    }
    if (written) {
        forget();
        return;
    }
    QFile copy(keep);
    const bool restored = copy.open(QIODevice::ReadOnly | QIODevice::Unbuffered) && file.seek(0) &&
                          platform::copyFileData(copy, file) && file.resize(oldSize) && platform::syncToDisk(file);
    copy.close();
    if (!restored)
        throw saveError(shownPath,
                        reason +
                            QStringLiteral("\nThe old content is kept in \"%1\".").arg(QDir::toNativeSeparators(keep)));
    forget();
    throw saveError(shownPath, reason);
}

// Puts new content in `target`: a new file renamed into its place when that keeps the file as
// its users know it (owner, group, links, extended attributes), otherwise written in place.
void replaceFileContent(const QString& shownPath, const QString& target, const std::function<qint64()>& newSize,
                        const ContentWriter& write)
{
    if (QFileInfo::exists(target) && !platform::replacingKeepsFile(target)) {
        writeInPlace(shownPath, target, newSize(), write);
        return;
    }
    QSaveFile file(target);
    // Writing in place would destroy the old file if the save failed halfway.
    file.setDirectWriteFallback(false);
    // The writers have their own buffers; a second one in the device would only copy.
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        throw saveError(shownPath, file.errorString());
    QString reason;
    if (!write(file, reason)) {
        file.cancelWriting();
        throw saveError(shownPath, reason);
    }
    if (!file.commit())
        throw saveError(shownPath, file.errorString());
}

} // namespace

void writeTextFile(const QString& path, QByteArrayView text, LineEnds ends, LineBreaks* breaks)
{
    const QString target = resolveLinks(path);
    const QFileInfo info(target);
    if (info.exists()) {
        // A rename would turn a device or pipe into a plain file, and writing in place would feed
        // it the text.
        if (!info.isFile())
            throw saveError(path, QStringLiteral("It is not a regular file."));
        // No write permission at all marks a file read-only even for the superuser, who could
        // write it anyway.
        constexpr QFile::Permissions anyWrite = QFile::WriteOwner | QFile::WriteGroup | QFile::WriteOther;
        if (!info.isWritable() || !(info.permissions() & anyWrite))
            throw saveError(path, QStringLiteral("The file is read-only."));
    }
    replaceFileContent(
        path, target, [&] { return convertedSize(text, ends); },
        [&](QFileDevice& to, QString& reason) {
            LineEndWriter writer(to, ends);
            const bool written = writer.write(text) && writer.finish();
            if (breaks)
                *breaks = writer.breaks();
            if (!written)
                reason = to.errorString();
            return written;
        });
}

bool writesInPlace(const QString& path)
{
    const QString target = resolveLinks(path);
    return QFileInfo::exists(target) && !platform::replacingKeepsFile(target);
}

std::optional<LineEnds> LineBreaks::restoredAs() const
{
    if (!lf && !cr)
        return LineEnds::AsIs;
    if (crlf || (lf && cr))
        return std::nullopt;
    return lf ? LineEnds::Lf : LineEnds::Cr;
}

void setKeptContentFolder(const QString& folder)
{
    keptFolderSetting() = folder;
}

QString keptContentFolder()
{
    const QString& folder = keptFolderSetting();
    return folder.isEmpty() ? platform::keptContentFolder() : folder;
}

QList<InterruptedSave> interruptedSaves()
{
    QList<InterruptedSave> saves;
    const QString folder = keptContentFolder();
    const QStringList locks = QDir(folder).entryList({QStringLiteral("*.lock")}, QDir::Files);
    for (const QString& lockName : locks) {
        const QString base = folder + QLatin1Char('/') + lockName.chopped(5);
        platform::ProcessLock lock;
        // A write still going on in a running copy.
        if (!lock.tryLock(base + QStringLiteral(".lock")))
            continue;
        InterruptedSave save;
        save.keptFile = base + QStringLiteral(".old");
        save.record = base + QStringLiteral(".json");
        QFile record(save.record);
        const QJsonObject o =
            record.open(QIODevice::ReadOnly) ? QJsonDocument::fromJson(record.readAll()).object() : QJsonObject();
        save.path = o.value(QStringLiteral("path")).toString();
        save.target = o.value(QStringLiteral("target")).toString();
        save.size = o.value(QStringLiteral("size")).toString().toLongLong();
        save.started = QDateTime::fromString(o.value(QStringLiteral("started")).toString(), Qt::ISODateWithMs);
        // Without a whole copy and its record the file was never touched: nothing to offer.
        if (save.path.isEmpty() || QFileInfo(save.keptFile).size() != save.size || !QFileInfo::exists(save.keptFile)) {
            QFile::remove(save.record);
            QFile::remove(save.keptFile);
            lock.unlock();
            QFile::remove(base + QStringLiteral(".lock"));
            continue;
        }
        saves.append(save);
    }
    std::sort(saves.begin(), saves.end(),
              [](const InterruptedSave& a, const InterruptedSave& b) { return a.started < b.started; });
    return saves;
}

void discardKeptContent(const InterruptedSave& save)
{
    QFile::remove(save.record);
    QFile::remove(save.keptFile);
    QFile::remove(save.keptFile.chopped(4) + QStringLiteral(".lock"));
}

void restoreKeptContent(const InterruptedSave& save)
{
    QFile kept(save.keptFile);
    if (!kept.open(QIODevice::ReadOnly | QIODevice::Unbuffered))
        throw saveError(save.path, kept.errorString());
    const QString target = resolveLinks(save.path);
    replaceFileContent(
        save.path, target, [&] { return kept.size(); },
        [&](QFileDevice& to, QString& reason) { return kept.seek(0) && platform::copyFileData(kept, to, &reason); });
    kept.close();
    discardKeptContent(save);
}

void copyFileSafely(const QString& from, const QString& to)
{
    QFile source(from);
    if (!source.open(QIODevice::ReadOnly | QIODevice::Unbuffered))
        throw saveError(to, source.errorString());
    // The copy is a new file of our own in the folder, renamed over whatever has the name: a
    // symbolic or hard link planted there, or a file of another owner, is replaced rather than
    // written through, so the copy's content reaches no other name and no other user.
    const QFileInfo target(to);
    QTemporaryFile copy(target.absolutePath() + QLatin1Char('/') + target.fileName() + QStringLiteral(".XXXXXX"));
    if (!copy.open())
        throw saveError(to, copy.errorString());
    // The copy may be read by whoever may read the original, and by nobody else.
    constexpr QFile::Permissions currentUser = QFile::ReadUser | QFile::WriteUser | QFile::ExeUser;
    QString reason;
    if (!copy.setPermissions(source.permissions() & ~currentUser))
        throw saveError(to, copy.errorString());
    if (!platform::copyFileData(source, copy, &reason) || !platform::syncToDisk(copy, &reason) ||
        !platform::renameReplacing(copy.fileName(), to, &reason))
        throw saveError(to, reason);
    copy.setAutoRemove(false);
}

void createBackupFolder(const QString& programDir)
{
    const QString folder = programDir + QStringLiteral("Backup");
    if (QFileInfo::exists(folder))
        return;
    QDir().mkpath(programDir);
    // Backups hold copies of whatever the user saves: the folder is theirs alone.
    QDir().mkdir(folder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
}

QString backupFileName(const QString& programDir, const QString& savedPath)
{
    QString name = QFileInfo(savedPath).fileName();
    const qsizetype dot = name.lastIndexOf(u'.');
    if (dot > 0)
        name.truncate(dot);
    return programDir + QStringLiteral("Backup/") + name + QStringLiteral(".BAK");
}

namespace {

// A file read whole through a UTF-8 check: how it starts and whether all of it is valid.
struct FileScan
{
    std::optional<platform::TextEncoding> marked; // by its byte-order mark
    bool utf8 = true;
};

FileScan scanFile(const QString& path)
{
    FileScan scan;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return scan;
    // Small pieces into one buffer: they stay in the processor's cache while they are checked.
    constexpr qint64 PieceSize = qint64(256) << 10;
    QByteArray piece(PieceSize, Qt::Uninitialized);
    platform::Utf8Validator utf8;
    bool first = true;
    qint64 n;
    while ((n = file.read(piece.data(), PieceSize)) > 0) {
        const QByteArrayView read = QByteArrayView(piece).first(n);
        if (std::exchange(first, false))
            if ((scan.marked = platform::byteOrderMarkEncoding(read)))
                return scan;
        utf8.feed(read);
        if (!utf8.valid(true))
            break;
    }
    // A character the end cuts short is not whole.
    scan.utf8 = n < 0 || utf8.valid(false);
    return scan;
}

} // namespace

platform::TextEncoding detectFileEncoding(const QString& path, platform::TextEncoding legacy)
{
    const FileScan scan = scanFile(path);
    return scan.marked ? *scan.marked : scan.utf8 ? platform::TextEncoding::Utf8 : legacy;
}

bool isUtf8File(const QString& path)
{
    const FileScan scan = scanFile(path);
    return !scan.marked && scan.utf8;
}

platform::TextEncoding detectBytesEncoding(QByteArrayView bytes, platform::TextEncoding legacy)
{
    return platform::detectEncoding(bytes, true, legacy);
}

QString rawBytesNote(platform::TextEncoding requested)
{
    return QStringLiteral("Shown as raw bytes: not valid %1").arg(platform::encodingName(requested));
}

FileText readFileText(const QString& path, platform::TextEncoding legacy)
{
    QByteArray bytes = readFileBytes(path);
    const platform::TextEncoding detected = detectBytesEncoding(bytes, legacy);
    return decodeFileText(std::move(bytes), detected);
}

FileText decodeFileText(QByteArray bytes, platform::TextEncoding requested)
{
    FileText text;
    if (requested == platform::TextEncoding::Utf8) {
        text.utf8 = std::move(bytes);
        return text;
    }
    if (platform::decodeExactly(bytes, requested, text.utf8)) {
        text.encoding = requested;
        return text;
    }
    text.utf8 = std::move(bytes);
    text.rawNote = rawBytesNote(requested);
    return text;
}

QByteArray encodeOrRefuse(QByteArrayView utf8, platform::TextEncoding encoding, const QString& advice)
{
    QByteArray encoded;
    qsizetype bad = 0;
    if (platform::encodeText(utf8, encoding, encoded, &bad))
        return encoded;
    // Lines as the editor counts them: CR LF, LF and CR each end one.
    const QByteArrayView before = utf8.first(bad);
    const qsizetype line = before.count('\n') + before.count('\r') - before.count("\r\n") + 1;
    throw UnencodableText(QStringLiteral("%1 on line %2 cannot be saved in %3. %4")
                              .arg(platform::describeCharacterAt(utf8, bad))
                              .arg(line)
                              .arg(platform::encodingName(encoding), advice));
}

void writeEncodedTextFile(const QString& path, QByteArrayView text, LineEnds ends, platform::TextEncoding encoding,
                          LineBreaks* breaks)
{
    if (encoding == platform::TextEncoding::Utf8) {
        writeTextFile(path, text, ends, breaks);
        return;
    }
    // Where line breaks are the same bytes in the encoding, the text is encoded as it is and the
    // writer converts them on the way; otherwise (UTF-16) they are settled on the UTF-8 text
    // first, so they are encoded as whole code units.
    const bool breaksAsIs = platform::isAsciiCompatible(encoding);
    QByteArray normalised;
    if (!breaksAsIs) {
        normalised.reserve(convertedSize(text, ends));
        QBuffer buffer(&normalised);
        buffer.open(QIODevice::WriteOnly);
        LineEndWriter writer(buffer, ends);
        writer.write(text);
        writer.finish();
        if (breaks)
            *breaks = writer.breaks();
        text = normalised;
    }
    QByteArray encoded = encodeOrRefuse(text, encoding, QStringLiteral("Save As can save the document as UTF-8."));
    normalised = QByteArray();
    writeTextFile(path, encoded, breaksAsIs ? ends : LineEnds::AsIs, breaksAsIs ? breaks : nullptr);
}
