#include "platform/textcodec.h"

#include <QHash>

#include <algorithm>

#include <array>
#include <cstring>
#include <iconv.h>
#include <mutex>

namespace platform {

namespace {

struct EncodingInfo
{
    TextEncoding encoding;
    const char* name;
    const char* iconvName;
};

constexpr EncodingInfo Encodings[] = {
    {TextEncoding::Utf8, "UTF-8", "UTF-8"},
    {TextEncoding::Windows1252, "Windows-1252", "CP1252"},
    {TextEncoding::Iso885915, "ISO-8859-15", "ISO-8859-15"},
    {TextEncoding::Iso88591, "ISO-8859-1", "ISO-8859-1"},
    {TextEncoding::Windows1250, "Windows-1250", "CP1250"},
    {TextEncoding::Windows1251, "Windows-1251", "CP1251"},
    {TextEncoding::Oem437, "OEM (IBM437)", "CP437"},
    {TextEncoding::Utf16Le, "UTF-16 LE", "UTF-16LE"},
    {TextEncoding::Utf16Be, "UTF-16 BE", "UTF-16BE"},
};

const EncodingInfo& infoOf(TextEncoding encoding)
{
    for (const EncodingInfo& info : Encodings)
        if (info.encoding == encoding)
            return info;
    return Encodings[0];
}

// Length of the valid UTF-8 sequence at `p` (`left` bytes there) with its code point in `cp`;
// 0 when invalid, -1 when valid so far but cut short by the end.
int utf8Sequence(const uchar* p, qsizetype left, char32_t& cp)
{
    const uchar lead = p[0];
    if (lead < 0x80) {
        cp = lead;
        return 1;
    }
    int length;
    char32_t min;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
        cp = lead & 0x1F;
        min = 0x80;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        cp = lead & 0x0F;
        min = 0x800;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        cp = lead & 0x07;
        min = 0x10000;
    } else {
        return 0;
    }
    for (int k = 1; k < length; ++k) {
        // Cut short by the end: what is there can still begin a valid sequence (the second
        // byte's range was checked below when it was read).
        if (k >= left)
            return -1;
        if ((p[k] & 0xC0) != 0x80)
            return 0;
        cp = (cp << 6) | (p[k] & 0x3F);
        // Overlong, surrogate and out-of-range forms show at the second byte already.
        if (k == 1 && length > 2) {
            const char32_t atLeast = cp << (6 * (length - 2));
            const char32_t atMost = atLeast | ((char32_t(1) << (6 * (length - 2))) - 1);
            if (atMost < min || atLeast > 0x10FFFF || (length == 3 && atLeast >= 0xD800 && atLeast <= 0xDFFF))
                return 0;
        }
    }
    return length;
}

void appendUtf8(char*& out, char32_t cp)
{
    if (cp < 0x80) {
        *out++ = static_cast<char>(cp);
    } else if (cp < 0x800) {
        *out++ = static_cast<char>(0xC0 | (cp >> 6));
        *out++ = static_cast<char>(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
        *out++ = static_cast<char>(0xE0 | (cp >> 12));
        *out++ = static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        *out++ = static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        *out++ = static_cast<char>(0xF0 | (cp >> 18));
        *out++ = static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
        *out++ = static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        *out++ = static_cast<char>(0x80 | (cp & 0x3F));
    }
}

// Whether the eight bytes at `p` are all ASCII: most text is mostly that.
bool isAscii8(const uchar* p)
{
    quint64 word;
    std::memcpy(&word, p, 8);
    return (word & 0x8080808080808080ULL) == 0;
}

// One single-byte code page as iconv reads it: each byte's character (none: -1), and the byte of
// each character.
struct CodePage
{
    std::array<qint32, 256> characters{};
    std::array<uchar, 256> utf8Lengths{}; // 0: undefined
    QHash<char32_t, uchar> bytes;
    bool asciiSame = true;
};

int utf8Length(char32_t cp)
{
    return cp < 0x80 ? 1 : cp < 0x800 ? 2 : cp < 0x10000 ? 3 : 4;
}

CodePage buildCodePage(const char* iconvName)
{
    CodePage page;
    iconv_t cd = iconv_open("UTF-32LE", iconvName);
    for (int b = 0; b < 256; ++b) {
        page.characters[b] = -1;
        if (cd == reinterpret_cast<iconv_t>(-1))
            continue;
        char in = static_cast<char>(b);
        char* inPtr = &in;
        size_t inLeft = 1;
        uchar out[8];
        char* outPtr = reinterpret_cast<char*>(out);
        size_t outLeft = sizeof out;
        iconv(cd, nullptr, nullptr, nullptr, nullptr);
        if (iconv(cd, &inPtr, &inLeft, &outPtr, &outLeft) == static_cast<size_t>(-1) || outLeft != sizeof out - 4)
            continue;
        const char32_t cp = out[0] | (char32_t(out[1]) << 8) | (char32_t(out[2]) << 16) | (char32_t(out[3]) << 24);
        // A character two bytes stand for could not be written back as both: the second is left
        // undefined, so a text holding it is never shown decoded.
        if (page.bytes.contains(cp))
            continue;
        page.characters[b] = static_cast<qint32>(cp);
        page.utf8Lengths[b] = static_cast<uchar>(utf8Length(cp));
        page.bytes.insert(cp, static_cast<uchar>(b));
    }
    if (cd != reinterpret_cast<iconv_t>(-1))
        iconv_close(cd);
    for (int b = 0; b < 0x80; ++b)
        page.asciiSame = page.asciiSame && page.characters[b] == b;
    return page;
}

const CodePage& codePage(TextEncoding encoding)
{
    static std::mutex lock;
    static QHash<int, CodePage> pages;
    const std::lock_guard guard(lock);
    auto it = pages.find(static_cast<int>(encoding));
    if (it == pages.end())
        it = pages.insert(static_cast<int>(encoding), buildCodePage(infoOf(encoding).iconvName));
    return *it;
}

bool isUtf16(TextEncoding encoding)
{
    return encoding == TextEncoding::Utf16Le || encoding == TextEncoding::Utf16Be;
}

char32_t unitAt(const uchar* p, bool bigEndian)
{
    return bigEndian ? (char32_t(p[0]) << 8) | p[1] : (char32_t(p[1]) << 8) | p[0];
}

bool hasByteOrderMark(QByteArrayView bytes, bool bigEndian)
{
    return bytes.size() >= 2 && unitAt(reinterpret_cast<const uchar*>(bytes.data()), bigEndian) == 0xFEFF;
}

// Decodes from `in` (`size` bytes, after any byte-order mark) while `out` has room for one more
// character; returns the bytes taken, or -1 at a byte or unit that is no character. A UTF-16
// unit or pair cut by the end is left for more input, unless the input is `final`.
qsizetype decodeRun(TextEncoding encoding, const uchar* in, qsizetype size, char*& out, const char* outEnd,
                    bool final = true)
{
    qsizetype i = 0;
    if (isUtf16(encoding)) {
        const bool bigEndian = encoding == TextEncoding::Utf16Be;
        while (i < size && outEnd - out >= 4) {
            if (i + 2 > size)
                return final ? -1 : i;
            char32_t unit = unitAt(in + i, bigEndian);
            if (unit >= 0xD800 && unit <= 0xDBFF) {
                if (i + 4 > size)
                    return final ? -1 : i;
                const char32_t low = unitAt(in + i + 2, bigEndian);
                if (low < 0xDC00 || low > 0xDFFF)
                    return -1;
                unit = 0x10000 + ((unit - 0xD800) << 10) + (low - 0xDC00);
                i += 2;
            } else if (unit >= 0xDC00 && unit <= 0xDFFF) {
                return -1;
            }
            appendUtf8(out, unit);
            i += 2;
        }
        return i;
    }
    const CodePage& page = codePage(encoding);
    while (i < size && outEnd - out >= 4) {
        if (page.asciiSame && i + 8 <= size && outEnd - out >= 8 && isAscii8(in + i)) {
            std::memcpy(out, in + i, 8);
            out += 8;
            i += 8;
            continue;
        }
        const uchar b = in[i++];
        if (b < 0x80 && page.asciiSame) {
            *out++ = static_cast<char>(b);
            continue;
        }
        const qint32 cp = page.characters[b];
        if (cp < 0)
            return -1;
        appendUtf8(out, static_cast<char32_t>(cp));
    }
    return i;
}

void putUnit(char*& out, char32_t unit, bool bigEndian)
{
    const char high = static_cast<char>(unit >> 8);
    const char low = static_cast<char>(unit & 0xFF);
    *out++ = bigEndian ? high : low;
    *out++ = bigEndian ? low : high;
}

bool encodeUtf16(QByteArrayView utf8, bool bigEndian, QByteArray& out, qsizetype* badOffset)
{
    const auto* p = reinterpret_cast<const uchar*>(utf8.data());
    const qsizetype size = utf8.size();
    out.resize(2 + size * 2);
    char* o = out.data();
    putUnit(o, 0xFEFF, bigEndian);
    for (qsizetype i = 0; i < size;) {
        char32_t cp;
        const int length = utf8Sequence(p + i, size - i, cp);
        if (length <= 0) {
            if (badOffset)
                *badOffset = i;
            out.clear();
            return false;
        }
        if (cp >= 0x10000) {
            putUnit(o, 0xD800 + ((cp - 0x10000) >> 10), bigEndian);
            putUnit(o, 0xDC00 + ((cp - 0x10000) & 0x3FF), bigEndian);
        } else {
            putUnit(o, cp, bigEndian);
        }
        i += length;
    }
    out.truncate(o - out.data());
    return true;
}

} // namespace

QString encodingName(TextEncoding encoding)
{
    return QString::fromLatin1(infoOf(encoding).name);
}

std::optional<TextEncoding> encodingNamed(const QString& name)
{
    for (const EncodingInfo& info : Encodings)
        if (name.compare(QLatin1StringView(info.name), Qt::CaseInsensitive) == 0)
            return info.encoding;
    return std::nullopt;
}

const QList<TextEncoding>& legacyEncodings()
{
    static const QList<TextEncoding> list = {TextEncoding::Windows1252, TextEncoding::Iso885915,
                                             TextEncoding::Iso88591,    TextEncoding::Windows1250,
                                             TextEncoding::Windows1251, TextEncoding::Oem437};
    return list;
}

namespace {

// Where a trailing sequence cut by the end starts (`size` when none is), or -1 when the bytes are
// not valid UTF-8.
qsizetype validUtf8Prefix(const uchar* p, qsizetype size)
{
    qsizetype i = 0;
    while (i < size) {
        if (i + 8 <= size && isAscii8(p + i)) {
            i += 8;
            continue;
        }
        if (p[i] < 0x80) {
            ++i;
            continue;
        }
        char32_t cp;
        const int length = utf8Sequence(p + i, size - i, cp);
        if (length == 0)
            return -1;
        if (length < 0)
            return i;
        i += length;
    }
    return size;
}

} // namespace

bool isValidUtf8(QByteArrayView bytes, bool cutAtEnd)
{
    const qsizetype valid = validUtf8Prefix(reinterpret_cast<const uchar*>(bytes.data()), bytes.size());
    return valid == bytes.size() || (valid >= 0 && cutAtEnd);
}

void Utf8Validator::feed(QByteArrayView piece)
{
    // A sequence the last piece cut is completed from this one first.
    while (m_valid && m_carried > 0 && !piece.isEmpty()) {
        m_carry[m_carried++] = piece.front();
        piece = piece.sliced(1);
        char32_t cp;
        const int length = utf8Sequence(reinterpret_cast<const uchar*>(m_carry), m_carried, cp);
        m_valid = length != 0;
        if (length > 0)
            m_carried = 0;
    }
    if (!m_valid || piece.isEmpty())
        return;
    const qsizetype valid = validUtf8Prefix(reinterpret_cast<const uchar*>(piece.data()), piece.size());
    m_valid = valid >= 0;
    if (m_valid && valid < piece.size()) {
        m_carried = static_cast<int>(piece.size() - valid);
        std::copy(piece.begin() + valid, piece.end(), m_carry);
    }
}

bool isAsciiCompatible(TextEncoding encoding)
{
    return encoding == TextEncoding::Utf8 || (!isUtf16(encoding) && codePage(encoding).asciiSame);
}

std::optional<TextEncoding> byteOrderMarkEncoding(QByteArrayView head)
{
    if (head.size() >= 2) {
        const auto first = static_cast<uchar>(head[0]);
        const auto second = static_cast<uchar>(head[1]);
        if (first == 0xFF && second == 0xFE)
            return TextEncoding::Utf16Le;
        if (first == 0xFE && second == 0xFF)
            return TextEncoding::Utf16Be;
    }
    return std::nullopt;
}

TextEncoding detectEncoding(QByteArrayView head, bool wholeFile, TextEncoding legacy)
{
    if (const auto marked = byteOrderMarkEncoding(head))
        return *marked;
    return isValidUtf8(head, !wholeFile) ? TextEncoding::Utf8 : legacy;
}

DecodeCheck::DecodeCheck(TextEncoding encoding) : m_encoding(encoding), m_markPending(isUtf16(encoding))
{}

void DecodeCheck::feed(QByteArrayView piece)
{
    if (!m_ok)
        return;
    if (m_encoding == TextEncoding::Utf8) {
        m_length += piece.size();
        return;
    }
    if (!isUtf16(m_encoding)) {
        const CodePage& page = codePage(m_encoding);
        const auto* p = reinterpret_cast<const uchar*>(piece.data());
        const qsizetype size = piece.size();
        bool undefined = false;
        for (qsizetype i = 0; i < size;) {
            if (i + 8 <= size) {
                if (page.asciiSame && isAscii8(p + i)) {
                    m_length += 8;
                } else {
                    for (int k = 0; k < 8; ++k) {
                        const uchar n = page.utf8Lengths[p[i + k]];
                        undefined |= n == 0;
                        m_length += n;
                    }
                }
                i += 8;
                continue;
            }
            const uchar n = page.utf8Lengths[p[i++]];
            undefined |= n == 0;
            m_length += n;
        }
        m_ok = !undefined;
        return;
    }
    // A unit or pair the last piece cut goes in front of this one.
    QByteArray joined;
    if (!m_carry.isEmpty()) {
        joined = m_carry;
        joined.append(piece);
        piece = joined;
        m_carry.clear();
    }
    const bool bigEndian = m_encoding == TextEncoding::Utf16Be;
    const auto* p = reinterpret_cast<const uchar*>(piece.data());
    const qsizetype size = piece.size();
    qsizetype i = 0;
    if (m_markPending) {
        if (size < 2) {
            m_carry = piece.toByteArray();
            return;
        }
        m_ok = hasByteOrderMark(piece, bigEndian);
        m_markPending = false;
        i = 2;
    }
    for (; m_ok && i < size; i += 2) {
        if (i + 2 > size)
            break;
        const char32_t unit = unitAt(p + i, bigEndian);
        if (unit < 0xD800 || unit > 0xDFFF) {
            m_length += utf8Length(unit);
            continue;
        }
        if (unit > 0xDBFF)
            m_ok = false;
        else if (i + 4 > size)
            break;
        else if (const char32_t low = unitAt(p + i + 2, bigEndian); low < 0xDC00 || low > 0xDFFF)
            m_ok = false;
        else {
            m_length += 4;
            i += 2;
        }
    }
    if (m_ok && i < size)
        m_carry = piece.sliced(i).toByteArray();
}

std::optional<qint64> DecodeCheck::decodedLength() const
{
    if (!m_ok || m_markPending || !m_carry.isEmpty())
        return std::nullopt;
    return m_length;
}

std::optional<qint64> exactlyDecodedLength(QByteArrayView bytes, TextEncoding encoding)
{
    DecodeCheck check(encoding);
    check.feed(bytes);
    return check.decodedLength();
}

bool decodeExactly(QByteArrayView bytes, TextEncoding encoding, QByteArray& utf8)
{
    if (encoding == TextEncoding::Utf8) {
        utf8 = bytes.toByteArray();
        return true;
    }
    const std::optional<qint64> length = exactlyDecodedLength(bytes, encoding);
    if (!length)
        return false;
    utf8.resize(*length + 4);
    char* out = utf8.data();
    const qsizetype skip = isUtf16(encoding) ? 2 : 0;
    decodeRun(encoding, reinterpret_cast<const uchar*>(bytes.data()) + skip, bytes.size() - skip, out,
              utf8.constData() + utf8.size());
    utf8.truncate(out - utf8.constData());
    return true;
}

DecodingDevice::DecodingDevice(std::unique_ptr<QIODevice> source, TextEncoding encoding)
    : m_source(std::move(source)), m_encoding(encoding), m_markPending(isUtf16(encoding))
{}

DecodingDevice::~DecodingDevice() = default;

bool DecodingDevice::decodeNextPiece()
{
    constexpr qsizetype PieceSize = qsizetype(1) << 20;
    m_input.remove(0, m_inputUsed);
    m_inputUsed = 0;
    const qsizetype left = m_input.size();
    m_input.resize(left + PieceSize);
    const qint64 n = m_source->read(m_input.data() + left, PieceSize);
    m_input.resize(left + std::max<qint64>(n, 0));
    if (n < 0) {
        m_failed = true;
        setErrorString(m_source->errorString());
        return false;
    }
    const bool final = n == 0;
    if (final && m_input.isEmpty())
        return false;
    if (m_markPending && m_input.size() >= 2) {
        m_inputUsed = 2;
        m_markPending = false;
    }
    // Room for every character the piece can hold: three bytes of UTF-8 at most for each byte or
    // unit, four for a pair.
    m_output.resize((m_input.size() - m_inputUsed) * 3 + 4);
    m_outputUsed = 0;
    char* out = m_output.data();
    const qsizetype taken = decodeRun(m_encoding, reinterpret_cast<const uchar*>(m_input.constData()) + m_inputUsed,
                                      m_input.size() - m_inputUsed, out, m_output.constData() + m_output.size(), final);
    if (taken < 0) {
        m_failed = true;
        setErrorString(QStringLiteral("The file is no longer valid %1.").arg(encodingName(m_encoding)));
        return false;
    }
    m_inputUsed += taken;
    m_output.truncate(out - m_output.constData());
    return !(final && m_output.isEmpty());
}

qint64 DecodingDevice::readData(char* data, qint64 maxSize)
{
    while (m_outputUsed == m_output.size()) {
        if (!decodeNextPiece())
            return m_failed ? -1 : 0;
    }
    const qint64 n = std::min<qint64>(maxSize, m_output.size() - m_outputUsed);
    std::memcpy(data, m_output.constData() + m_outputUsed, static_cast<size_t>(n));
    m_outputUsed += n;
    return n;
}

bool encodeText(QByteArrayView utf8, TextEncoding encoding, QByteArray& out, qsizetype* badOffset)
{
    if (encoding == TextEncoding::Utf8) {
        out = utf8.toByteArray();
        return true;
    }
    if (isUtf16(encoding))
        return encodeUtf16(utf8, encoding == TextEncoding::Utf16Be, out, badOffset);
    const CodePage& page = codePage(encoding);
    const auto* p = reinterpret_cast<const uchar*>(utf8.data());
    const qsizetype size = utf8.size();
    out.resize(size);
    char* o = out.data();
    for (qsizetype i = 0; i < size;) {
        if (page.asciiSame && i + 8 <= size && isAscii8(p + i)) {
            std::memcpy(o, p + i, 8);
            o += 8;
            i += 8;
            continue;
        }
        if (p[i] < 0x80 && page.asciiSame) {
            *o++ = static_cast<char>(p[i++]);
            continue;
        }
        char32_t cp;
        const int length = utf8Sequence(p + i, size - i, cp);
        const auto found = length > 0 ? page.bytes.constFind(cp) : page.bytes.constEnd();
        if (found == page.bytes.constEnd()) {
            if (badOffset)
                *badOffset = i;
            out.clear();
            return false;
        }
        *o++ = static_cast<char>(*found);
        i += length;
    }
    out.truncate(o - out.data());
    return true;
}

QString describeCharacterAt(QByteArrayView utf8, qsizetype offset)
{
    char32_t cp;
    const auto* p = reinterpret_cast<const uchar*>(utf8.data()) + offset;
    if (utf8Sequence(p, utf8.size() - offset, cp) <= 0)
        return QStringLiteral("byte 0x%1").arg(QString::number(p[0], 16).toUpper().rightJustified(2, QLatin1Char('0')));
    return QStringLiteral("\"%1\" (U+%2)")
        .arg(QString::fromUcs4(&cp, 1),
             QString::number(static_cast<uint>(cp), 16).toUpper().rightJustified(4, QLatin1Char('0')));
}

} // namespace platform
