#pragma once
// The encodings a document's file can be in, and the conversions between them and the UTF-8 the
// editor holds. Single-byte code pages are read through glibc's iconv once, byte by byte, into a
// table: a byte iconv does not define, or one whose character another byte already stands for,
// has no entry, so a decoded text always encodes back to exactly its bytes. UTF-16 (with its
// byte-order mark) is converted here directly, refusing odd lengths and unpaired surrogates.

#include <QByteArray>
#include <QByteArrayView>
#include <QIODevice>
#include <QList>
#include <QString>

#include <memory>
#include <optional>

namespace platform {

enum class TextEncoding { Utf8, Windows1252, Iso885915, Iso88591, Windows1250, Windows1251, Oem437, Utf16Le, Utf16Be };

// The name the user sees ("UTF-8", "Windows-1252", "OEM (IBM437)", "UTF-16 LE", ...).
QString encodingName(TextEncoding encoding);
std::optional<TextEncoding> encodingNamed(const QString& name);
// The code pages a file that is not UTF-8 may be read in, Windows-1252 first.
const QList<TextEncoding>& legacyEncodings();

// Whether `bytes` is valid UTF-8 (no overlong forms, surrogates or values past U+10FFFF). With
// `cutAtEnd`, a sequence that the end of `bytes` cuts short counts as valid.
bool isValidUtf8(QByteArrayView bytes, bool cutAtEnd = false);

// Checks UTF-8 that comes in pieces split anywhere, even inside a character.
class Utf8Validator
{
public:
    void feed(QByteArrayView piece);
    // Whether everything fed is valid UTF-8; with `cutAtEnd`, a character the last piece cut
    // short counts as valid.
    bool valid(bool cutAtEnd) const { return m_valid && (m_carried == 0 || cutAtEnd); }

private:
    char m_carry[4] = {};
    int m_carried = 0;
    bool m_valid = true;
};

// Whether CR, LF and every other ASCII character are their own single bytes in `encoding`.
bool isAsciiCompatible(TextEncoding encoding);

// UTF-16 LE or BE when `head` starts with its byte-order mark.
std::optional<TextEncoding> byteOrderMarkEncoding(QByteArrayView head);

// The encoding a file's first bytes tell: UTF-16 by its byte-order mark, UTF-8 when valid, else
// `legacy`. `wholeFile`: `head` is the whole file (a sequence cut at its end is then invalid).
TextEncoding detectEncoding(QByteArrayView head, bool wholeFile, TextEncoding legacy);

// Decodes `bytes` to UTF-8 into `utf8`. False when a byte is no character of the encoding or
// encoding the text would not give back exactly `bytes` (UTF-16: odd length, no byte-order mark,
// an unpaired surrogate). UTF-8 is taken as it is.
bool decodeExactly(QByteArrayView bytes, TextEncoding encoding, QByteArray& utf8);

// Whether bytes fed piece by piece (split anywhere) decode exactly, and to how many bytes of
// UTF-8, found without decoding them.
class DecodeCheck
{
public:
    explicit DecodeCheck(TextEncoding encoding);
    void feed(QByteArrayView piece);
    // Nothing where decodeExactly would fail on everything fed.
    std::optional<qint64> decodedLength() const;

private:
    TextEncoding m_encoding;
    qint64 m_length = 0;
    bool m_ok = true;
    bool m_markPending;
    QByteArray m_carry;
};
std::optional<qint64> exactlyDecodedLength(QByteArrayView bytes, TextEncoding encoding);

// Reads a source that decodes exactly (DecodeCheck) as UTF-8, a piece at a time as it is read,
// so a large file is decoded in the slices it loads in. Sequential; a source that no longer
// decodes is a read error.
class DecodingDevice : public QIODevice
{
public:
    DecodingDevice(std::unique_ptr<QIODevice> source, TextEncoding encoding);
    ~DecodingDevice() override;
    bool isSequential() const override { return true; }

protected:
    qint64 readData(char* data, qint64 maxSize) override;
    qint64 writeData(const char*, qint64) override { return -1; }

private:
    // Decodes the next piece of the source into the output; false at its end or on an error.
    bool decodeNextPiece();

    std::unique_ptr<QIODevice> m_source;
    TextEncoding m_encoding;
    bool m_markPending;
    bool m_failed = false;
    QByteArray m_input;
    qsizetype m_inputUsed = 0;
    QByteArray m_output;
    qsizetype m_outputUsed = 0;
};

// Encodes UTF-8 text into `out` (UTF-16 with its byte-order mark). False when a character has no
// form in the encoding, or the text is not valid UTF-8; `badOffset` then gets the offset of the
// first such character or byte.
bool encodeText(QByteArrayView utf8, TextEncoding encoding, QByteArray& out, qsizetype* badOffset = nullptr);

// The character at `offset` of UTF-8 text for a message: `"€" (U+20AC)`, or `byte 0x81` for a
// byte that starts no valid sequence.
QString describeCharacterAt(QByteArrayView utf8, qsizetype offset);

} // namespace platform
