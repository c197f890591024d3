#pragma once
// Lays plain text out on pages: lines end at CR LF, LF or CR, a line wider than the page wraps
// after its last blank that fits (or, without one, before the character that does not fit), and
// a page takes as many lines as its height holds. Each page starts exactly where the previous
// one ended, so printing page after page until the text ends prints every byte once; an empty
// text still makes one (empty) page. Text is read as UTF-8 bytes; a byte that is not part of a
// valid character counts as one character (U+FFFD). Widths come from the caller, so this knows
// no font and no printer.

#include <QByteArrayView>
#include <QList>
#include <QtGlobal>

#include <functional>

namespace printlayout {

// The width of one character in the page's units.
using Advance = std::function<qreal(char32_t)>;

struct PageSize
{
    qreal width = 0;
    qreal height = 0;
    qreal lineHeight = 1;
    // The distance between tab stops; a tab moves to the next one.
    qreal tabStop = 8;
};

// A stretch of one printed line without tabs: bytes [start, end) drawn from `x`.
struct Run
{
    qint64 start = 0;
    qint64 end = 0;
    qreal x = 0;
};

struct Line
{
    QList<Run> runs;
};

struct Page
{
    QList<Line> lines;
    // The first byte not on this page: the text's length once it is all laid out.
    qint64 next = 0;
};

class Pager
{
public:
    Pager(QByteArrayView text, const PageSize& size, Advance advance);

    // The page that starts at byte `from` (a start of a line or of a wrapped part of one).
    Page layOutPage(qint64 from) const;
    // The number of lines a page holds (at least one).
    int linesPerPage() const { return m_linesPerPage; }

private:
    // Lays out one printed line from `from`; returns where the next one starts.
    qint64 layOutLine(qint64 from, Line& line) const;
    qreal advanceOf(char32_t c) const;

    QByteArrayView m_text;
    PageSize m_size;
    Advance m_advance;
    int m_linesPerPage = 1;
    // Widths of the ASCII characters, asked once: most text is made of them.
    qreal m_ascii[128] = {};
};

} // namespace printlayout
