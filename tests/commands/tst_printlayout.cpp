// The page layout of printed text, with every character one unit wide: where lines break and wrap,
// where pages end, and that the pages together hold every byte once.

#include "commands/printlayout.h"

#include <QTest>

using namespace printlayout;

namespace {

PageSize pageOf(qreal width, int lines)
{
    PageSize size;
    size.width = width;
    size.height = lines * 10 + 5;
    size.lineHeight = 10;
    size.tabStop = 4;
    return size;
}

qreal oneUnit(char32_t)
{
    return 1;
}

// The printed lines of every page, runs joined by "|".
QList<QStringList> pagesOf(const QByteArray& text, const PageSize& size)
{
    const Pager pager(text, size, oneUnit);
    QList<QStringList> pages;
    qint64 pos = 0;
    do {
        const Page page = pager.layOutPage(pos);
        QStringList lines;
        for (const Line& line : page.lines) {
            QStringList runs;
            for (const Run& run : line.runs)
                runs.append(QString::fromUtf8(text.mid(run.start, run.end - run.start)));
            lines.append(runs.join(QLatin1Char('|')));
        }
        pages.append(lines);
        if (page.next <= pos && !text.isEmpty())
            break; // no progress: the test fails below rather than hang
        pos = page.next;
    } while (pos < text.size());
    return pages;
}

} // namespace

class PrintLayoutTest : public QObject
{
    Q_OBJECT

private slots:
    void linesBreakAtEveryKindOfLineEnd()
    {
        const auto pages = pagesOf("one\r\ntwo\nthree\rfour", pageOf(20, 10));
        QCOMPARE(pages, (QList<QStringList>{{"one", "two", "three", "four"}}));
        // Empty lines print as empty lines; the break after the last line adds none.
        QCOMPARE(pagesOf("a\r\n\r\nb\r\n", pageOf(20, 10)), (QList<QStringList>{{"a", "", "b"}}));
    }

    void anEmptyTextIsOneEmptyPage()
    {
        QCOMPARE(pagesOf(QByteArray(), pageOf(20, 10)), (QList<QStringList>{{}}));
        const Page page = Pager(QByteArrayView(), pageOf(20, 10), oneUnit).layOutPage(0);
        QCOMPARE(page.next, 0);
    }

    void longLinesWrapAfterTheirLastBlankOrWithinAWord()
    {
        // "hello world again": the blank that overflows ends the line; a word that does not fit
        // goes to the next line whole.
        QCOMPARE(pagesOf("hello world again", pageOf(11, 10)), (QList<QStringList>{{"hello world", "again"}}));
        QCOMPARE(pagesOf("hello worlds", pageOf(10, 10)), (QList<QStringList>{{"hello ", "worlds"}}));
        // A word wider than the page is cut where it overflows.
        QCOMPARE(pagesOf("abcdefghij", pageOf(4, 10)), (QList<QStringList>{{"abcd", "efgh", "ij"}}));
    }

    void tabsMoveToTheNextStop()
    {
        const QByteArray text("a\tbc\td");
        const Page page = Pager(text, pageOf(40, 10), oneUnit).layOutPage(0);
        QCOMPARE(page.lines.size(), 1);
        const QList<Run>& runs = page.lines[0].runs;
        QCOMPARE(runs.size(), 3);
        QCOMPARE(runs[0].x, 0.0);
        QCOMPARE(runs[1].x, 4.0);
        QCOMPARE(runs[2].x, 8.0);
        QCOMPARE(text.mid(runs[2].start, runs[2].end - runs[2].start), QByteArray("d"));
    }

    void eachPageStartsWhereThePreviousEnded()
    {
        QByteArray text;
        for (int i = 1; i <= 25; ++i)
            text += "line " + QByteArray::number(i) + "\r\n";
        const auto pages = pagesOf(text, pageOf(20, 10));
        QCOMPARE(pages.size(), 3);
        QCOMPARE(pages[0].first(), QStringLiteral("line 1"));
        QCOMPARE(pages[0].last(), QStringLiteral("line 10"));
        QCOMPARE(pages[1].first(), QStringLiteral("line 11"));
        QCOMPARE(pages[2], (QStringList{"line 21", "line 22", "line 23", "line 24", "line 25"}));
        // Wrapped parts count as lines of the page.
        QCOMPARE(pagesOf("aaaaaaaa", pageOf(2, 3)), (QList<QStringList>{{"aa", "aa", "aa"}, {"aa"}}));
    }

    void multiByteCharactersAndInvalidBytesAreOneCharacterEach()
    {
        // Two-byte "é" is one unit wide; a stray byte is one character and is never split.
        const QByteArray text("\xC3\xA9\xC3\xA9\xFF"
                              "ab");
        const auto pages = pagesOf(text, pageOf(2, 10));
        QCOMPARE(pages.size(), 1);
        QCOMPARE(pages[0].size(), 3);
        QCOMPARE(pages[0][0], QString::fromUtf8("\xC3\xA9\xC3\xA9"));
        QCOMPARE(pages[0][2], QStringLiteral("b"));
    }

    // The last character of the text is measured whole, however many bytes it has; one the end
    // cuts short is one character per byte, and nothing is read past the end.
    void aCharacterThatEndsTheTextIsOneCharacter_data()
    {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<QList<uint>>("measured"); // beyond ASCII, in order
        QTest::newRow("two bytes") << QByteArray("ab\xC3\xA9") << QList<uint>{0xE9};
        QTest::newRow("three bytes") << QByteArray("ab\xE2\x82\xAC") << QList<uint>{0x20AC};
        QTest::newRow("four bytes") << QByteArray("ab\xF0\x9F\x98\x80") << QList<uint>{0x1F600};
        QTest::newRow("cut short") << QByteArray("a\xE2\x82") << QList<uint>{0xFFFD, 0xFFFD};
    }
    void aCharacterThatEndsTheTextIsOneCharacter()
    {
        QFETCH(QByteArray, text);
        QFETCH(QList<uint>, measured);
        // A character beyond ASCII is two units wide: each text just fills a line of five.
        QList<uint> asked;
        const Pager pager(text, pageOf(5, 10), [&asked](char32_t c) {
            if (c >= 128)
                asked.append(c);
            return c < 128 ? 1.0 : 2.0;
        });
        const Page page = pager.layOutPage(0);
        QCOMPARE(asked, measured);
        QCOMPARE(page.next, text.size());
        QCOMPARE(page.lines.size(), 1);
        QCOMPARE(page.lines[0].runs.size(), 1);
        QCOMPARE(page.lines[0].runs[0].end, text.size());
    }
};

QTEST_APPLESS_MAIN(PrintLayoutTest)
#include "tst_printlayout.moc"
