#pragma once
// One recovery record as its files hold it, in the folder of the run that keeps it:
//   <key>.json          the description: the document (caption, path, caret, encoding, its file's
//                       state as last read or written), the text's length and checksum change,
//                       what the base is, and the journal;
//   <key>-<gen>.base    the base's copy: the document's file as it was read or saved, or the text;
//   <key>-<gen>.edits   the journal of edits made since (editlog entries);
//   <key>.txt           the whole text, as records were kept before edits were journalled.
// A new generation of files is written whole before its description names it, so whatever a kill
// interrupts, the description names files that are complete. Rebuilding a text replays the
// journal onto the base; the result must match the length and the checksum the record keeps.

#include "documents/editlog.h"
#include "documents/filesave.h"
#include "documents/textchecksum.h"
#include "platform/platform.h"
#include "platform/textcodec.h"

#include <QByteArray>
#include <QDateTime>
#include <QIODevice>
#include <QList>
#include <QString>
#include <QStringList>

#include <atomic>
#include <functional>
#include <memory>
#include <optional>

struct RecoveryRecord
{
    quint64 key = 0; // one per document, within this run
    QString caption;
    QString path; // empty: never saved
    qint64 caret = 0;
    QDateTime written;
    // What the document is saved in (the text kept is UTF-8 either way); a record written before
    // encodings were kept is UTF-8.
    platform::TextEncoding encoding = platform::TextEncoding::Utf8;
    // Why the text is its file's bytes as they are (empty: it is not), and whether characters
    // outside ASCII were typed into it since (Document).
    QString rawBytesNote;
    bool nonAsciiAdded = false;
    // The document's file as the program last read or wrote it; `exists` false when not known.
    platform::FileState fileState;
    // The text after the last edit handed over: its length and what its checksum gained since the
    // base.
    qint64 length = 0;
    quint64 checksumChange = 0;
};

// What a record's text starts from.
struct RecoveryBase
{
    enum class Kind { Empty, File, Text };
    Kind kind = Kind::Empty;
    // File: the document's file, its state when the text was read from it or written to it, what
    // it is decoded from, and what each CR LF in it stands for in the text (AsIs: itself).
    QString file;
    platform::FileState fileState;
    platform::TextEncoding encoding = platform::TextEncoding::Utf8;
    LineEnds lineEnds = LineEnds::AsIs;
    // Text: the text itself.
    QByteArray text;
    qint64 length = 0;
};

// A record's text as it is rebuilt, read from start to end, and what it must come out as.
struct RebuiltRecoveryText
{
    std::unique_ptr<QIODevice> device; // none when it cannot be rebuilt (see `problem`)
    qint64 length = 0;
    std::optional<quint64> checksum; // not known for a record whose base was never copied
    QString problem;
    // Empty when a text read whole came out as recorded; otherwise why not.
    QString verdict(const TextChecksum& read) const;
};

namespace recoveryrecord {

// Pieces read and written at a time when a text is copied, checked or rebuilt.
constexpr qint64 PieceSize = qint64(1) << 20;

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

// The files of a record in `folder`: its description, the text of the earlier form, and one
// generation's base copy or journal.
QString recordFile(const QString& folder, quint64 key);
QString legacyTextFile(const QString& folder, quint64 key);
QString dataName(quint64 key, int generation, const char* suffix);
// Every file of a record in `folder`, its description last.
QStringList filesOf(const QString& folder, const Stored& s);
// The keys of the records in `folder`.
QList<quint64> keysIn(const QString& folder);

QByteArray encode(const Stored& s);
// The record of `key` in `folder`; a record written before edits were journalled is its text
// whole, and one whose description cannot be read but whose text can comes back untitled.
std::optional<Stored> readStored(const QString& folder, quint64 key);
// Takes the text's length and checksum from the last whole entry of a record's journal, which
// may hold edits whose description was never written (the run ended in between).
void settleJournal(const QString& folder, Stored& s);
// The entries the bytes of an editlog::EntryBuffer hold.
std::optional<QList<editlog::Entry>> entriesIn(const QByteArray& entries);

// A base's text, read from start to end; nothing (and `error`) when it cannot be read, or when
// the document's file it is has changed since.
std::unique_ptr<QIODevice> openBase(const QString& folder, const Stored::Base& base, QString& error);
// What the rebuilt text must come out as.
struct Expected
{
    qint64 length = 0;
    std::optional<quint64> checksum;
};
// A record's text rebuilt: its base with its journal replayed. Nothing (and `error`) when the
// base cannot be read or the journal does not fit it.
std::unique_ptr<QIODevice> replay(const QString& folder, const Stored& s, Expected& expected, QString& error);
RebuiltRecoveryText rebuild(const QString& folder, const Stored& s);
// Rebuilds a record's text once: empty when it comes out as recorded, otherwise why not.
QString checkStored(const QString& folder, const Stored& s);
// Reads a text to its end, passing each piece on; false with the reason when a read fails, the
// callback says to stop, or `cancelled` does.
bool readThrough(QIODevice& text, const std::function<bool(QByteArrayView)>& piece, QString& error,
                 const std::atomic<bool>* cancelled = nullptr);

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

bool makePrivateFolder(const QString& path);
QString byteCount(qint64 bytes);
// Moves a file, across file systems too.
bool moveFile(const QString& from, const QString& to);
// Moves every file of a record to a new folder of its own below `folder`; where it went. Empty
// when not every file could be moved: the record then stays whole where it was.
QString moveAside(const QString& from, const Stored& s, const QString& folder);

} // namespace recoveryrecord
