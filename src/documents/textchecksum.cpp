#include "documents/textchecksum.h"

#include <QtEndian>

#include <cstring>

namespace {
constexpr int Width = 8;

// Runs are told apart by how many start symbols they hold and whether they end with the end
// symbol, as well as by their bytes (which are 0 where a start or end symbol stands).
constexpr quint64 Seeds[2][Width] = {
    {0x243F6A8885A308D3ull, 0x13198A2E03707344ull, 0xA4093822299F31D0ull, 0x082EFA98EC4E6C89ull, 0x452821E638D01377ull,
     0xBE5466CF34E90C6Cull, 0xC0AC29B7C97C50DDull, 0x3F84D5B5B5470917ull},
    {0x9216D5D98979FB1Bull, 0xD1310BA698DFB5ACull, 0x2FFD72DBD01ADFB7ull, 0xB8E1AFED6A267E96ull, 0xBA7C9045F12C7F99ull,
     0x24A19947B3916CF7ull, 0x0801F2E2858EFC16ull, 0x636920D871574E69ull},
};
constexpr quint64 Multiplier = 0x9E3779B97F4A7C15ull;

// One 64 x 64 -> 128-bit product folded in half: a cheap hash whose every output bit depends on
// every input bit.
inline quint64 hashRun(quint64 bytes, int starts, bool ends)
{
    const quint64 x = bytes ^ Seeds[ends ? 1 : 0][starts];
#if defined(__SIZEOF_INT128__)
    const unsigned __int128 product = static_cast<unsigned __int128>(x) * Multiplier;
    return static_cast<quint64>(product) ^ static_cast<quint64>(product >> 64);
#else
    quint64 y = x * Multiplier;
    y ^= y >> 32;
    y *= 0xD6E8FEB86659FD93ull;
    return y ^ (y >> 32);
#endif
}

inline quint64 load64(const char* at)
{
    quint64 value;
    std::memcpy(&value, at, sizeof value);
    return qFromLittleEndian(value);
}
} // namespace

TextChecksum::TextChecksum(int lead) : m_seen(lead), m_lead(lead)
{}

void TextChecksum::push(unsigned char byte)
{
    m_window = (m_window >> 8) | (quint64(byte) << 56);
    ++m_seen;
    if (m_seen >= Width) {
        const qint64 starts = m_lead - (m_seen - Width);
        m_sum += hashRun(m_window, starts > 0 ? int(starts) : 0, false);
    }
}

void TextChecksum::feed(QByteArrayView piece)
{
    const char* const data = piece.data();
    const qsizetype size = piece.size();
    qsizetype i = 0;
    // Byte by byte until the run ending at the next byte lies inside this piece and holds no
    // start symbol; then every run is eight bytes read at once.
    for (; i < size && (i < Width - 1 || m_seen - m_lead < Width - 1); ++i)
        push(static_cast<unsigned char>(data[i]));
    if (i == size)
        return;
    quint64 sum = 0;
    for (qsizetype k = i; k < size; ++k)
        sum += hashRun(load64(data + k - (Width - 1)), 0, false);
    m_sum += sum;
    m_seen += size - i;
    m_window = load64(data + size - Width);
}

quint64 TextChecksum::closed() const
{
    // The run that ends with the end symbol.
    const qint64 seen = m_seen + 1;
    if (seen < Width)
        return m_sum;
    const qint64 starts = m_lead - (seen - Width);
    return m_sum + hashRun(m_window >> 8, starts > 0 ? int(starts) : 0, true);
}

quint64 TextChecksum::value() const
{
    return closed();
}

quint64 TextChecksum::of(QByteArrayView text)
{
    TextChecksum sum;
    sum.feed(text);
    return sum.value();
}

quint64 TextChecksum::change(QByteArrayView before, QByteArrayView removed, QByteArrayView inserted,
                             QByteArrayView after)
{
    // The runs that change lie inside [before, edited bytes, after], with the start symbols that
    // stand in front of `before` at the text's start and the end symbol behind `after` at its end.
    const int lead = int(Context - before.size());
    const bool atEnd = after.size() < Context;
    const auto runs = [&](QByteArrayView middle) {
        TextChecksum sum(lead);
        sum.feed(before);
        sum.feed(middle);
        sum.feed(after);
        return atEnd ? sum.closed() : sum.m_sum;
    };
    return runs(inserted) - runs(removed);
}
