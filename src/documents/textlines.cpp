#include "documents/textlines.h"

QList<QByteArray> splitLines(const QByteArray& text)
{
    QList<QByteArray> lines;
    qsizetype start = 0;
    const qsizetype n = text.size();
    for (qsizetype i = 0; i < n; ++i) {
        const char c = text[i];
        if (c != '\r' && c != '\n')
            continue;
        lines.append(text.mid(start, i - start));
        if (c == '\r' && i + 1 < n && text[i + 1] == '\n')
            ++i;
        start = i + 1;
    }
    if (start < n)
        lines.append(text.mid(start));
    return lines;
}

QByteArray lineToAppend(char lastByte, const QByteArray& line)
{
    const bool endsWithBreak = lastByte == '\0' || lastByte == '\r' || lastByte == '\n';
    return endsWithBreak ? line + "\r\n" : "\r\n" + line;
}
