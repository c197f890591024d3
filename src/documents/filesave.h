#pragma once
// Saving text files without ever destroying the file being replaced. Where renaming a new file
// into place keeps the file as its users know it (owner, group, links, extended attributes, a
// folder that takes new files), the bytes go to a temporary file beside the target, which takes
// the target's place only once everything is written. Otherwise the file is written where it is,
// after checking the room and keeping a complete copy of its old content in the temporary
// folder, which is put back if the write fails. Line breaks can be converted on the way; every
// other byte passes through unchanged.

#include "core/commanderror.h"
#include "platform/textcodec.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QDateTime>
#include <QList>
#include <QString>

#include <optional>

class QIODevice;

enum class LineEnds { Crlf, Lf, Cr, AsIs };

// The most text a document can hold; larger files are refused.
constexpr qint64 TextCapacity = 2147483632;

// A message naming what failed, the file and the system's reason, as the error box shows it.
QString fileError(const QString& what, const QString& path, const QString& reason);

// Why a path cannot be opened as a document, found before anything opens it: it names something
// other than a regular file once links are followed (a folder, a pipe, a socket, a device:
// reading one could block or never end), or a file larger than TextCapacity. Empty when it may
// be read, which includes a path that does not exist.
struct OpenRefusal
{
    QString message; // for the error box: the file, what it is or its size and the limit
    QString note;    // one line for the status bar
    explicit operator bool() const { return !message.isEmpty(); }
};
OpenRefusal checkOpenable(const QString& path);

// Reads a whole file as bytes; throws CommandError with the system's reason on failure, and
// with checkOpenable's message for a path it refuses.
QByteArray readFileBytes(const QString& path);

// The encoding of the file at `path` as its whole content tells: UTF-16 by its byte-order mark,
// UTF-8 when every byte is valid UTF-8, otherwise `legacy`; UTF-8 when it cannot be read (the read
// that follows reports why).
platform::TextEncoding detectFileEncoding(const QString& path, platform::TextEncoding legacy);
// The same for a file's bytes already read whole.
platform::TextEncoding detectBytesEncoding(QByteArrayView bytes, platform::TextEncoding legacy);
// Whether the file at `path` is valid UTF-8 from start to end (true when it cannot be read).
bool isUtf8File(const QString& path);

// Reads the file at `path` in pieces: the length of the UTF-8 text it decodes to from `encoding`,
// nothing when it would not decode exactly. Throws CommandError as readFileBytes.
std::optional<qint64> decodedFileLength(const QString& path, platform::TextEncoding encoding);

// A file's text as the editor holds it.
struct FileText
{
    QByteArray utf8;
    // What the text is decoded from: `requested` when it decoded exactly, otherwise UTF-8 (the
    // file's bytes as they are).
    platform::TextEncoding encoding = platform::TextEncoding::Utf8;
    // Empty, or the status bar's word on why the bytes are shown raw.
    QString rawNote;
};
// A file's bytes decoded from `requested`; where that would not give back the bytes exactly,
// they are kept as they are.
FileText decodeFileText(QByteArray bytes, platform::TextEncoding requested);
// The status bar's word for bytes shown raw because they are not valid in `requested`.
QString rawBytesNote(platform::TextEncoding requested);
// A file's text as opening it shows it: read whole, its encoding detected with `legacy` for one
// that is not UTF-8, decoded. Throws CommandError as readFileBytes.
FileText readFileText(const QString& path, platform::TextEncoding legacy);

// The text holds a character its document's encoding cannot hold: nothing was written.
class UnencodableText : public CommandError
{
public:
    explicit UnencodableText(QString message)
        : CommandError(std::move(message), QStringLiteral("Quillet -Character Not Saved"))
    {}
};

// The kinds of line break a text held, as a LineEndWriter converting them met them.
struct LineBreaks
{
    bool crlf = false;
    bool lf = false;
    bool cr = false;
    // What each break written stands for in the text: AsIs when every break was CR LF (or there
    // was none), Lf or Cr when all were that; nothing when they were mixed.
    std::optional<LineEnds> restoredAs() const;
};

// `utf8` encoded in `encoding`; throws UnencodableText naming the first character the encoding
// cannot hold and its line, followed by `advice`.
QByteArray encodeOrRefuse(QByteArrayView utf8, platform::TextEncoding encoding, const QString& advice);

// Writes `text` (UTF-8) to `path` as writeTextFile with `ends`, encoded in `encoding`. A character
// the encoding cannot hold throws UnencodableText naming it and its line before anything is
// written.
void writeEncodedTextFile(const QString& path, QByteArrayView text, LineEnds ends, platform::TextEncoding encoding,
                          LineBreaks* breaks = nullptr);

// Writes `text` to `path`, every line break (CR LF, lone LF, lone CR) written as `ends` (AsIs:
// as it is); `breaks`, when given, learns which kinds the text held. A symbolic link is written
// through to the file it points to and stays a link. An existing target keeps its permissions; an
// existing target that is read-only or not a regular file is refused. On any failure throws
// CommandError naming the file and the reason, and the old file holds its old content.
void writeTextFile(const QString& path, QByteArrayView text, LineEnds ends, LineBreaks* breaks = nullptr);

// Whether writing `path` would write the existing file in place rather than rename a new one
// over it (see replacingKeepsFile in the platform layer).
bool writesInPlace(const QString& path);

// A file written in place is overwritten where it is; until that is over, a complete copy of its
// old content and a record naming the file stay in this folder (platform::keptContentFolder()
// unless set otherwise, as tests do), under a lock the system holds for the writing process.
void setKeptContentFolder(const QString& folder);
QString keptContentFolder();

// A write in place that never ended: its process was killed or the machine went down meanwhile,
// so the file may hold part of its new content over its old.
struct InterruptedSave
{
    QString path;   // the file as it was named (a symbolic link stays one)
    QString target; // the file that was written
    QString keptFile;
    QString record;
    qint64 size = 0; // of the kept content
    QDateTime started;
};
// The interrupted writes of processes that are gone; a write still going on in a running copy of
// the program is none. Leftovers of writes that never touched their file go.
QList<InterruptedSave> interruptedSaves();
// Puts the kept content back into the file (written as any save, so links stay links) and then
// forgets it; throws CommandError, keeping it, when that fails.
void restoreKeptContent(const InterruptedSave& save);
// Forgets the kept content: the file holds what the user chose.
void discardKeptContent(const InterruptedSave& save);

// Streams text to a device through one fixed buffer, converting line breaks. The text may come
// in pieces split anywhere, even between the CR and LF of one break.
class LineEndWriter
{
public:
    static constexpr qsizetype DefaultBufferSize = qsizetype(1) << 20;

    LineEndWriter(QIODevice& device, LineEnds ends, qsizetype bufferSize = DefaultBufferSize);
    LineEndWriter(const LineEndWriter&) = delete;
    LineEndWriter& operator=(const LineEndWriter&) = delete;

    // False once the device has refused a write (its errorString() says why); later calls then
    // write nothing and return false too.
    bool write(QByteArrayView piece);
    // The kinds of break met so far (counted only while converting).
    const LineBreaks& breaks() const { return m_breaks; }
    // Writes everything held back: a CR that ended the last piece, and the buffer.
    bool finish();

private:
    bool put(const char* data, qsizetype size);
    bool putTerminator() { return put(m_terminator.constData(), m_terminator.size()); }
    bool flush();
    bool writeOut(const char* data, qsizetype size);

    QIODevice& m_device;
    const LineEnds m_ends;
    const QByteArray m_terminator;
    QByteArray m_buffer;
    qsizetype m_used = 0;
    bool m_pendingCr = false;
    LineBreaks m_breaks;
    bool m_failed = false;
};

// Copies the file at `from` to `to` (a backup): a new file in `to`'s folder with `from`'s
// permission bits, renamed over whatever has the name `to`, a link included, which is replaced
// rather than followed. The old `to` stays intact unless the whole copy succeeded. Throws
// CommandError naming `to` and the system's reason on failure.
void copyFileSafely(const QString& from, const QString& to);

// Creates the backup folder below `programDir` (ending in a separator), for its owner only, when
// it is not there; a failure is left for the backup's write to report.
void createBackupFolder(const QString& programDir);

// Where the backup of a saved file goes: `programDir` (ending in a separator) + "Backup/" + the
// file's name without folder and without its last extension + ".BAK". A leading dot does not
// start an extension: ".bashrc" -> ".bashrc.BAK"; "archive.tar.gz" -> "archive.tar.BAK".
QString backupFileName(const QString& programDir, const QString& savedPath);
