#include "commands/transforms.h"

namespace transforms {

namespace {

// Length of the valid UTF-8 character starting at text[i], or 1 for a byte that starts none.
qsizetype characterLength(QByteArrayView text, qsizetype i)
{
    const auto byte = [&](qsizetype k) { return static_cast<unsigned char>(text[k]); };
    const unsigned char lead = byte(i);
    qsizetype length = 0;
    if (lead < 0x80)
        return 1;
    if (lead >= 0xC2 && lead <= 0xDF)
        length = 2;
    else if (lead >= 0xE0 && lead <= 0xEF)
        length = 3;
    else if (lead >= 0xF0 && lead <= 0xF4)
        length = 4;
    else
        return 1;
    if (i + length > text.size())
        return 1;
    for (qsizetype k = 1; k < length; ++k)
        if ((byte(i + k) & 0xC0) != 0x80)
            return 1;
    // Overlong and out-of-range forms are not characters either.
    const unsigned char second = byte(i + 1);
    if ((lead == 0xE0 && second < 0xA0) || (lead == 0xED && second > 0x9F) || (lead == 0xF0 && second < 0x90) ||
        (lead == 0xF4 && second > 0x8F))
        return 1;
    return length;
}

} // namespace

QByteArray upperCase(QByteArrayView text)
{
    QByteArray result(text.data(), text.size());
    for (char& c : result)
        if (c >= 'a' && c <= 'z')
            c = static_cast<char>(c - 32);
    return result;
}

QByteArray lowerCase(QByteArrayView text)
{
    QByteArray result(text.data(), text.size());
    for (char& c : result)
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c + 32);
    return result;
}

QByteArray reverseCharacters(QByteArrayView text)
{
    QByteArray result(text.size(), Qt::Uninitialized);
    qsizetype out = text.size();
    for (qsizetype i = 0; i < text.size();) {
        const qsizetype length = characterLength(text, i);
        out -= length;
        std::copy(text.data() + i, text.data() + i + length, result.data() + out);
        i += length;
    }
    return result;
}

QByteArray tabsToSpaces(QByteArrayView text, int width)
{
    const int blanks = ((width % 256) + 256) % 256;
    QByteArray result;
    result.reserve(text.size());
    for (const char c : text) {
        if (c == '\t')
            result.append(blanks, ' ');
        else
            result.append(c);
    }
    return result;
}

QByteArray adjustLineBreaks(QByteArrayView text, bool* changed)
{
    QByteArray result;
    result.reserve(text.size() + text.size() / 32);
    bool different = false;
    const qsizetype n = text.size();
    for (qsizetype i = 0; i < n; ++i) {
        const char c = text[i];
        if (c == '\r') {
            result.append("\r\n");
            if (i + 1 < n && text[i + 1] == '\n')
                ++i;
            else
                different = true;
        } else if (c == '\n') {
            result.append("\r\n");
            different = true;
        } else {
            result.append(c);
        }
    }
    if (changed)
        *changed = different;
    return different ? result : QByteArray(text.data(), text.size());
}

qint64 countWords(QByteArrayView piece, bool& inWord)
{
    qint64 words = 0;
    for (const char c : piece) {
        if (c == ' ') {
            inWord = false;
        } else if (!inWord) {
            inWord = true;
            ++words;
        }
    }
    return words;
}

qint64 countWords(QByteArrayView text)
{
    bool inWord = false;
    return countWords(text, inWord);
}

} // namespace transforms
