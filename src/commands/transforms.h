#pragma once
// Text transforms over a document's raw bytes (UTF-8, possibly with invalid bytes). Each takes
// the text and returns the transformed text; nothing goes through QString.

#include <QByteArray>
#include <QByteArrayView>

namespace transforms {

// Only a..z and A..Z change; every other byte, accented letters included, stays.
QByteArray upperCase(QByteArrayView text);
QByteArray lowerCase(QByteArrayView text);

// Reverses the order of the characters: a multi-byte UTF-8 character keeps its bytes in order, a
// byte that starts no valid character counts as one character. CR LF becomes LF CR.
QByteArray reverseCharacters(QByteArrayView text);

// Every TAB becomes exactly `width % 256` blanks, wherever it stands.
QByteArray tabsToSpaces(QByteArrayView text, int width);

// Every line break becomes CR LF (LF CR becomes CR LF CR LF). `changed` tells whether anything
// was different.
QByteArray adjustLineBreaks(QByteArrayView text, bool* changed = nullptr);

// Words are maximal runs of bytes other than the blank (0x20): line breaks and tabs join words.
qint64 countWords(QByteArrayView text);
// The same in slices, for a count that shows progress: feed consecutive pieces, keeping `inWord`
// between calls (false at the start).
qint64 countWords(QByteArrayView piece, bool& inWord);

} // namespace transforms
