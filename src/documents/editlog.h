#pragma once
// The edits of a document as the recovery journal keeps them: each entry is one change of the text
// (bytes removed at a position and bytes inserted there) with the text's length and checksum
// after it. A text is rebuilt from a base (its file, or a copy) by replaying the entries; nothing
// is held in memory but the list of pieces the text is made of, so rebuilding costs what reading
// the base and the inserted bytes costs.

#include "documents/filesave.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QIODevice>
#include <QList>

#include <memory>
#include <vector>

namespace editlog {

struct Entry
{
    qint64 position = 0;
    qint64 removed = 0;
    qint64 inserted = 0;       // bytes inserted at `position`
    qint64 insertedAt = 0;     // where they are in the journal file
    qint64 lengthAfter = 0;    // the text's length after this edit
    quint64 checksumAfter = 0; // what TextChecksum gained since the base, after this edit
};

// The bytes of one entry's header; the inserted bytes follow it.
constexpr qint64 HeaderSize = 44;

// Entries not yet written, kept as the journal file will hold them. Typing is kept as few entries:
// an insertion right after the last inserted bytes extends that entry, and a deletion of its last
// bytes shortens it.
class EntryBuffer
{
public:
    void add(qint64 position, qint64 removed, QByteArrayView inserted, qint64 lengthAfter, quint64 checksumAfter);
    bool isEmpty() const { return m_bytes.isEmpty(); }
    qint64 size() const { return m_bytes.size(); }
    // The bytes for the journal file; the buffer starts afresh.
    QByteArray take();

private:
    QByteArray m_bytes;
    qsizetype m_last = -1; // where the entry that may still grow starts
};

// The entries in the first `size` bytes of a journal file, in order; an entry cut short by the end
// of those bytes (a write that was interrupted) is left out. Nothing when the bytes are not
// entries.
std::optional<QList<Entry>> readEntries(QIODevice& journal, qint64 size);

// The pieces a text is made of: runs of its base and of inserted bytes of the journal file.
class PieceTable
{
public:
    struct Piece
    {
        qint64 offset = 0; // in the base, or in the journal file
        qint64 length = 0;
        bool inserted = false;
    };

    explicit PieceTable(qint64 baseLength);
    // False when the edit does not fit the text as it stands (a journal that is not this base's).
    bool apply(const Entry& entry);
    qint64 length() const { return m_length; }
    std::vector<Piece> pieces() const;

private:
    struct Block
    {
        std::vector<Piece> pieces;
        qint64 length = 0;
    };
    // Makes a piece start at `position` and returns its block and index (the end: one past).
    std::pair<size_t, size_t> splitAt(qint64 position);
    void tidy(size_t block);
    void forgetLastBlock();

    std::vector<Block> m_blocks;
    qint64 m_length = 0;
    // Where the last search ended: a block and the position it starts at.
    size_t m_lastBlock = 0;
    qint64 m_lastBlockStart = 0;
};

// The text rebuilt: the base read once from start to end, the inserted bytes read from the
// journal file where they are. Sequential.
class ReplayDevice : public QIODevice
{
public:
    ReplayDevice(std::unique_ptr<QIODevice> base, std::unique_ptr<QIODevice> journal,
                 std::vector<PieceTable::Piece> pieces);
    bool isSequential() const override { return true; }

protected:
    qint64 readData(char* data, qint64 maxSize) override;
    qint64 writeData(const char*, qint64) override { return -1; }

private:
    bool skipBase(qint64 count);

    std::unique_ptr<QIODevice> m_base;
    std::unique_ptr<QIODevice> m_journal;
    std::vector<PieceTable::Piece> m_pieces;
    size_t m_piece = 0;
    qint64 m_inPiece = 0;
    qint64 m_basePosition = 0;
};

// A file saved with CR LF line ends read back as the text was before: every CR LF becomes `ends`
// (Lf or Cr). Sequential.
class LineEndRestoringDevice : public QIODevice
{
public:
    LineEndRestoringDevice(std::unique_ptr<QIODevice> source, LineEnds ends);
    bool isSequential() const override { return true; }

protected:
    qint64 readData(char* data, qint64 maxSize) override;
    qint64 writeData(const char*, qint64) override { return -1; }

private:
    std::unique_ptr<QIODevice> m_source;
    char m_break;
    bool m_pendingCr = false;
    int m_carry = -1; // a byte read but not yet passed on
    QByteArray m_buffer;
};

} // namespace editlog
