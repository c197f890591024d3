#include "commands/printlayout.h"

#include <algorithm>
#include <cmath>

namespace printlayout {

namespace {

constexpr char32_t Replacement = 0xFFFD;

bool isContinuation(unsigned char c)
{
    return (c & 0xC0) == 0x80;
}

// The character at `pos` and its length in bytes; a byte that starts no valid character is one
// replacement character.
std::pair<char32_t, int> decodeAt(QByteArrayView text, qint64 pos)
{
    const auto lead = static_cast<unsigned char>(text[pos]);
    if (lead < 0x80)
        return {lead, 1};
    int length = 0;
    char32_t value = 0;
    if ((lead & 0xE0) == 0xC0 && lead >= 0xC2) {
        length = 2;
        value = lead & 0x1F;
    } else if ((lead & 0xF0) == 0xE0) {
        length = 3;
        value = lead & 0x0F;
    } else if ((lead & 0xF8) == 0xF0 && lead <= 0xF4) {
        length = 4;
        value = lead & 0x07;
    } else {
        return {Replacement, 1};
    }
    if (pos + length > text.size())
        return {Replacement, 1};
    for (int i = 1; i < length; ++i) {
        const auto c = static_cast<unsigned char>(text[pos + i]);
        if (!isContinuation(c))
            return {Replacement, 1};
        value = (value << 6) | (c & 0x3F);
    }
    return {value, length};
}

void closeRun(Line& line, Run& run, qint64 end)
{
    run.end = end;
    if (run.end > run.start)
        line.runs.append(run);
}

// Ends the line after the blank at `breakAfter`: what follows it goes to the next line.
void cutBack(Line& line, qint64 breakAfter)
{
    while (!line.runs.isEmpty() && line.runs.last().start >= breakAfter)
        line.runs.removeLast();
    if (!line.runs.isEmpty())
        line.runs.last().end = std::min(line.runs.last().end, breakAfter);
}

} // namespace

Pager::Pager(QByteArrayView text, const PageSize& size, Advance advance)
    : m_text(text), m_size(size), m_advance(std::move(advance))
{
    if (m_size.lineHeight > 0)
        m_linesPerPage = std::max(1, static_cast<int>(std::floor(m_size.height / m_size.lineHeight)));
    if (m_size.tabStop <= 0)
        m_size.tabStop = 1;
    for (char32_t c = 0; c < 128; ++c)
        m_ascii[c] = m_advance(c);
}

qreal Pager::advanceOf(char32_t c) const
{
    return c < 128 ? m_ascii[c] : m_advance(c);
}

qint64 Pager::layOutLine(qint64 from, Line& line) const
{
    const qint64 size = m_text.size();
    const qreal width = m_size.width;
    qreal x = 0;
    Run run{from, from, 0};
    qint64 breakAfter = -1; // just after the last blank or tab of the line
    qint64 pos = from;
    while (pos < size) {
        const auto c = static_cast<unsigned char>(m_text[pos]);
        if (c == '\r' || c == '\n') {
            closeRun(line, run, pos);
            qint64 next = pos + 1;
            if (c == '\r' && next < size && m_text[next] == '\n')
                ++next;
            return next;
        }
        if (c == '\t') {
            const qreal stop = (std::floor(x / m_size.tabStop + 1e-9) + 1) * m_size.tabStop;
            closeRun(line, run, pos);
            if (stop > width && pos > from)
                return pos + 1; // a tab at the edge ends the line, as a blank would
            x = stop;
            ++pos;
            run = Run{pos, pos, x};
            breakAfter = pos;
            continue;
        }
        const auto [character, length] = decodeAt(m_text, pos);
        const qreal w = advanceOf(character);
        if (x + w > width && pos > from) {
            closeRun(line, run, pos);
            if (c == ' ')
                return pos + 1; // the blank that overflows is where the line breaks
            if (breakAfter > from) {
                cutBack(line, breakAfter);
                return breakAfter;
            }
            return pos;
        }
        x += w;
        pos += length;
        if (c == ' ')
            breakAfter = pos;
    }
    closeRun(line, run, size);
    return size;
}

Page Pager::layOutPage(qint64 from) const
{
    Page page;
    qint64 pos = std::clamp<qint64>(from, 0, m_text.size());
    while (page.lines.size() < m_linesPerPage && pos < m_text.size()) {
        Line line;
        pos = layOutLine(pos, line);
        page.lines.append(std::move(line));
    }
    page.next = pos;
    return page;
}

} // namespace printlayout
