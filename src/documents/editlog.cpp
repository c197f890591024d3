#include "documents/editlog.h"

#include <QtEndian>

#include <algorithm>
#include <cstring>

namespace editlog {
namespace {
constexpr quint32 Magic = 0x31454a51; // "QJE1" as the file holds it
// Pieces per block of the table: small enough to insert into quickly, large enough that few
// blocks are walked to find a position.
constexpr size_t BlockPieces = 64;

struct Header
{
    qint64 position;
    qint64 removed;
    qint64 inserted;
    qint64 lengthAfter;
    quint64 checksumAfter;
};

void putHeader(char* at, const Header& h)
{
    qToLittleEndian(Magic, at);
    qToLittleEndian(h.position, at + 4);
    qToLittleEndian(h.removed, at + 12);
    qToLittleEndian(h.inserted, at + 20);
    qToLittleEndian(h.lengthAfter, at + 28);
    qToLittleEndian(h.checksumAfter, at + 36);
}

std::optional<Header> getHeader(const char* at)
{
    if (qFromLittleEndian<quint32>(at) != Magic)
        return std::nullopt;
    return Header{qFromLittleEndian<qint64>(at + 4), qFromLittleEndian<qint64>(at + 12),
                  qFromLittleEndian<qint64>(at + 20), qFromLittleEndian<qint64>(at + 28),
                  qFromLittleEndian<quint64>(at + 36)};
}
} // namespace

void EntryBuffer::add(qint64 position, qint64 removed, QByteArrayView inserted, qint64 lengthAfter,
                      quint64 checksumAfter)
{
    if (m_last >= 0) {
        Header last = *getHeader(m_bytes.constData() + m_last);
        const qint64 end = last.position + last.inserted;
        const bool extends = removed == 0 && position == end;
        const bool shortens =
            inserted.isEmpty() && removed > 0 && removed <= last.inserted && position + removed == end;
        if (extends || shortens) {
            if (extends)
                m_bytes.append(inserted);
            else
                m_bytes.chop(removed);
            last.inserted += extends ? inserted.size() : -removed;
            last.lengthAfter = lengthAfter;
            last.checksumAfter = checksumAfter;
            putHeader(m_bytes.data() + m_last, last);
            return;
        }
    }
    m_last = m_bytes.size();
    m_bytes.resize(m_last + HeaderSize);
    putHeader(m_bytes.data() + m_last, {position, removed, inserted.size(), lengthAfter, checksumAfter});
    m_bytes.append(inserted);
}

QByteArray EntryBuffer::take()
{
    m_last = -1;
    return std::exchange(m_bytes, QByteArray());
}

std::optional<QList<Entry>> readEntries(QIODevice& journal, qint64 size)
{
    // Read from start to end in large pieces; an entry's inserted bytes are passed over.
    if (!journal.seek(0))
        return std::nullopt;
    QList<Entry> entries;
    QByteArray buffer;
    qint64 bufferAt = 0; // where `buffer` starts in the file
    qint64 at = 0;
    const auto fill = [&](qint64 needed) {
        // Makes the bytes [at, at + needed) available in the buffer; false at the end.
        if (at + needed > size)
            return false;
        if (at >= bufferAt && at + needed <= bufferAt + buffer.size())
            return true;
        buffer.remove(0, std::min<qsizetype>(buffer.size(), at - bufferAt));
        bufferAt = at;
        const qint64 want = std::min<qint64>(std::max<qint64>(needed, qint64(1) << 20), size - at) - buffer.size();
        if (want > 0) {
            if (!journal.seek(bufferAt + buffer.size()))
                return false;
            const QByteArray more = journal.read(want);
            buffer.append(more);
        }
        return at + needed <= bufferAt + buffer.size();
    };
    while (fill(HeaderSize)) {
        const std::optional<Header> h = getHeader(buffer.constData() + (at - bufferAt));
        // Past the last whole entry: what a write that was cut short left, or blocks the system
        // never filled.
        if (!h || h->inserted < 0 || at + HeaderSize + h->inserted > size)
            break;
        entries.append({h->position, h->removed, h->inserted, at + HeaderSize, h->lengthAfter, h->checksumAfter});
        at += HeaderSize + h->inserted;
    }
    return entries;
}

PieceTable::PieceTable(qint64 baseLength) : m_length(baseLength)
{
    if (baseLength > 0)
        m_blocks.push_back({{Piece{0, baseLength, false}}, baseLength});
}

std::pair<size_t, size_t> PieceTable::splitAt(qint64 position)
{
    // Edits mostly come near the one before (typing, Replace All in order): the search starts at
    // the block found last.
    if (m_lastBlock >= m_blocks.size() || m_lastBlockStart > position) {
        m_lastBlock = 0;
        m_lastBlockStart = 0;
    }
    qint64 start = m_lastBlockStart;
    for (size_t b = m_lastBlock; b < m_blocks.size(); ++b) {
        Block& block = m_blocks[b];
        if (position >= start + block.length) {
            start += block.length;
            continue;
        }
        m_lastBlock = b;
        m_lastBlockStart = start;
        for (size_t i = 0; i < block.pieces.size(); ++i) {
            Piece& piece = block.pieces[i];
            if (position == start)
                return {b, i};
            if (position < start + piece.length) {
                const qint64 cut = position - start;
                const Piece tail{piece.offset + cut, piece.length - cut, piece.inserted};
                piece.length = cut;
                block.pieces.insert(block.pieces.begin() + qsizetype(i) + 1, tail);
                return {b, i + 1};
            }
            start += piece.length;
        }
    }
    return {m_blocks.size(), 0};
}

void PieceTable::tidy(size_t block)
{
    if (m_blocks[block].pieces.size() <= 2 * BlockPieces)
        return;
    Block& full = m_blocks[block];
    Block second;
    second.pieces.assign(full.pieces.begin() + BlockPieces, full.pieces.end());
    full.pieces.resize(BlockPieces);
    for (const Piece& piece : second.pieces)
        second.length += piece.length;
    full.length -= second.length;
    m_blocks.insert(m_blocks.begin() + qsizetype(block) + 1, std::move(second));
}

void PieceTable::forgetLastBlock()
{
    m_lastBlock = 0;
    m_lastBlockStart = 0;
}

bool PieceTable::apply(const Entry& entry)
{
    if (entry.position < 0 || entry.removed < 0 || entry.inserted < 0 || entry.position > m_length ||
        entry.removed > m_length - entry.position)
        return false;
    if (entry.removed > 0) {
        splitAt(entry.position + entry.removed);
        auto [b, i] = splitAt(entry.position);
        const size_t first = b;
        for (qint64 left = entry.removed; left > 0;) {
            Block& block = m_blocks[b];
            if (i == block.pieces.size()) {
                ++b;
                i = 0;
                continue;
            }
            const qint64 length = block.pieces[i].length;
            left -= length;
            block.length -= length;
            block.pieces.erase(block.pieces.begin() + qsizetype(i));
        }
        m_length -= entry.removed;
        // Blocks emptied go; those before the first one touched keep their places, so the search
        // may still start there.
        const auto from = m_blocks.begin() + qsizetype(first);
        const auto to = m_blocks.begin() + qsizetype(std::min(b + 1, m_blocks.size()));
        m_blocks.erase(std::remove_if(from, to, [](const Block& block) { return block.pieces.empty(); }), to);
    }
    if (entry.inserted > 0) {
        auto [b, i] = splitAt(entry.position);
        if (b == m_blocks.size()) {
            if (m_blocks.empty())
                m_blocks.emplace_back();
            b = m_blocks.size() - 1;
            i = m_blocks[b].pieces.size();
            m_lastBlock = b;
            m_lastBlockStart = m_length - m_blocks[b].length;
        }
        Block& block = m_blocks[b];
        block.pieces.insert(block.pieces.begin() + qsizetype(i), Piece{entry.insertedAt, entry.inserted, true});
        block.length += entry.inserted;
        m_length += entry.inserted;
        tidy(b);
    }
    return true;
}

std::vector<PieceTable::Piece> PieceTable::pieces() const
{
    std::vector<Piece> all;
    for (const Block& block : m_blocks)
        all.insert(all.end(), block.pieces.begin(), block.pieces.end());
    return all;
}

ReplayDevice::ReplayDevice(std::unique_ptr<QIODevice> base, std::unique_ptr<QIODevice> journal,
                           std::vector<PieceTable::Piece> pieces)
    : m_base(std::move(base)), m_journal(std::move(journal)), m_pieces(std::move(pieces))
{}

bool ReplayDevice::skipBase(qint64 count)
{
    // Pieces of the base come in its order: what an edit removed is read past.
    char scratch[64 * 1024];
    while (count > 0) {
        const qint64 n = m_base->read(scratch, std::min<qint64>(count, sizeof scratch));
        if (n <= 0)
            return false;
        m_basePosition += n;
        count -= n;
    }
    return count == 0;
}

qint64 ReplayDevice::readData(char* data, qint64 maxSize)
{
    qint64 produced = 0;
    while (produced < maxSize && m_piece < m_pieces.size()) {
        const PieceTable::Piece& piece = m_pieces[m_piece];
        const qint64 want = std::min(maxSize - produced, piece.length - m_inPiece);
        qint64 got = -1;
        if (piece.inserted) {
            if (m_journal->seek(piece.offset + m_inPiece))
                got = m_journal->read(data + produced, want);
        } else if (skipBase(piece.offset + m_inPiece - m_basePosition)) {
            got = m_base->read(data + produced, want);
            if (got > 0)
                m_basePosition += got;
        }
        if (got <= 0) {
            const QIODevice& failed = piece.inserted ? *m_journal : *m_base;
            setErrorString(failed.errorString().isEmpty() || got == 0 ? QStringLiteral("The copy ends too early.")
                                                                      : failed.errorString());
            return produced > 0 ? produced : -1;
        }
        produced += got;
        m_inPiece += got;
        if (m_inPiece == piece.length) {
            ++m_piece;
            m_inPiece = 0;
        }
    }
    return produced;
}

LineEndRestoringDevice::LineEndRestoringDevice(std::unique_ptr<QIODevice> source, LineEnds ends)
    : m_source(std::move(source)), m_break(ends == LineEnds::Cr ? '\r' : '\n')
{}

qint64 LineEndRestoringDevice::readData(char* data, qint64 maxSize)
{
    if (maxSize <= 0)
        return 0;
    if (m_pendingCr && maxSize == 1) {
        // No room for the CR held back and a byte after it: decide the CR alone.
        char next = 0;
        const qint64 n = m_carry >= 0 ? 1 : m_source->read(&next, 1);
        if (m_carry >= 0)
            next = char(std::exchange(m_carry, -1));
        if (n < 0)
            return -1;
        m_pendingCr = false;
        if (n == 1 && next == '\n') {
            data[0] = m_break;
        } else {
            data[0] = '\r';
            if (n == 1)
                m_carry = static_cast<unsigned char>(next);
        }
        return 1;
    }
    // Until something comes out: a piece that is one CR held back yields nothing yet.
    for (;;) {
        // A piece at most as large as asked, less one for a CR held back from the last piece: each
        // CR LF in it becomes one byte, so the result fits.
        const qint64 room = std::min<qint64>(maxSize - (m_pendingCr ? 1 : 0), qint64(256) << 10);
        m_buffer.resize(room);
        qint64 n = 0;
        if (m_carry >= 0)
            m_buffer[n++] = char(std::exchange(m_carry, -1));
        const qint64 read = m_source->read(m_buffer.data() + n, room - n);
        if (read < 0) {
            setErrorString(m_source->errorString());
            return -1;
        }
        n += read;
        qint64 out = 0;
        if (n == 0) {
            if (m_pendingCr) {
                m_pendingCr = false;
                data[out++] = '\r';
            }
            return out;
        }
        const char* in = m_buffer.constData();
        qint64 i = 0;
        if (m_pendingCr) {
            m_pendingCr = false;
            if (in[0] == '\n') {
                data[out++] = m_break;
                i = 1;
            } else {
                data[out++] = '\r';
            }
        }
        while (i < n) {
            const char* cr = static_cast<const char*>(std::memchr(in + i, '\r', size_t(n - i)));
            const qint64 until = cr ? cr - in : n;
            std::memcpy(data + out, in + i, size_t(until - i));
            out += until - i;
            i = until;
            if (i == n)
                break;
            if (i + 1 == n) {
                m_pendingCr = true;
                break;
            }
            if (in[i + 1] == '\n') {
                data[out++] = m_break;
                i += 2;
            } else {
                data[out++] = '\r';
                i += 1;
            }
        }
        if (out > 0)
            return out;
    }
}

} // namespace editlog
