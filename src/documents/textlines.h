#pragma once
// Line arithmetic on raw document bytes, shared by everything that reads or appends lines.

#include <QByteArray>
#include <QList>

// The lines of a text as the editor counts them: CR LF, LF and CR each end a line, and an empty
// line after a final line break is not counted.
QList<QByteArray> splitLines(const QByteArray& text);

// The bytes that append `line` as a new last line to a text whose last byte is `lastByte`
// ('\0' for an empty text): after a text that does not end with a line break, a CR LF goes before
// the line; otherwise the line is followed by a CR LF.
QByteArray lineToAppend(char lastByte, const QByteArray& line);
