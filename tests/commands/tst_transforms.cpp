// Text transforms and the word count over raw bytes.

#include "commands/transforms.h"

#include <QTest>

using namespace transforms;

class TestTransforms : public QObject
{
    Q_OBJECT

private slots:
    void caseChangesOnlyAsciiLetters()
    {
        QCOMPARE(upperCase("abc xyz 123"), QByteArray("ABC XYZ 123"));
        QCOMPARE(upperCase("caf\xc3\xa9 \xff"), QByteArray("CAF\xc3\xa9 \xff")); // é and a stray byte stay
        QCOMPARE(lowerCase("ABC XYZ [@`{]"), QByteArray("abc xyz [@`{]"));
        QCOMPARE(lowerCase("\xc3\x89T\xc3\x89"), QByteArray("\xc3\x89t\xc3\x89"));
        QCOMPARE(upperCase(""), QByteArray());
    }

    void reverseKeepsCharactersWhole()
    {
        QCOMPARE(reverseCharacters("ab\r\ncd"), QByteArray("dc\n\rba"));
        // é (2 bytes), € (3 bytes) and 😀 (4 bytes) keep their bytes in order.
        QCOMPARE(reverseCharacters("a\xc3\xa9\xe2\x82\xac\xf0\x9f\x98\x80z"),
                 QByteArray("z\xf0\x9f\x98\x80\xe2\x82\xac\xc3\xa9"
                            "a"));
        // Bytes that start no character are single characters; a cut-off sequence too.
        QCOMPARE(reverseCharacters("x\xff\xfe\xe2\x82"), QByteArray("\x82\xe2\xfe\xffx"));
        QCOMPARE(reverseCharacters(QByteArrayView("a\0b", 3)), QByteArray("b\0a", 3));
        // Twice is the identity.
        const QByteArray mixed("Gr\xc3\xbc\xc3\x9f"
                               "e \xf0\x9f\x98\x80\r\n\xc0\x80!");
        QCOMPARE(reverseCharacters(reverseCharacters(mixed)), mixed);
    }

    void tabsBecomeExactlyTheWidthInBlanks()
    {
        QCOMPARE(tabsToSpaces("a\tb", 4), QByteArray("a    b"));
        QCOMPARE(tabsToSpaces("abc\t\tb", 2), QByteArray("abc    b")); // no tab stops
        QCOMPARE(tabsToSpaces("\ta\t", 0), QByteArray("a"));
        QCOMPARE(tabsToSpaces("a\tb", 260), QByteArray("a    b")); // taken modulo 256
        QCOMPARE(tabsToSpaces("no tabs", 8), QByteArray("no tabs"));
    }

    void lineBreaksBecomeCrLf()
    {
        bool changed = true;
        QCOMPARE(adjustLineBreaks("a\r\nb", &changed), QByteArray("a\r\nb"));
        QVERIFY(!changed);
        QCOMPARE(adjustLineBreaks("a\nb\rc", &changed), QByteArray("a\r\nb\r\nc"));
        QVERIFY(changed);
        QCOMPARE(adjustLineBreaks("a\n\rb"), QByteArray("a\r\n\r\nb"));
        QCOMPARE(adjustLineBreaks("\r"), QByteArray("\r\n"));
        QCOMPARE(adjustLineBreaks("\n\n"), QByteArray("\r\n\r\n"));
        QCOMPARE(adjustLineBreaks(""), QByteArray());
    }

    void wordsAreSeparatedOnlyByBlanks()
    {
        QCOMPARE(countWords(""), 0);
        QCOMPARE(countWords("one two  three"), 3);
        QCOMPARE(countWords("  one two  "), 2);
        QCOMPARE(countWords("one two\r\nthree"), 2);
        QCOMPARE(countWords("one\ttwo"), 1);
        QCOMPARE(countWords("   "), 0);
        // Counting in slices gives the same as one pass, a word split across slices counting once.
        const QByteArray text("alpha beta gamma  delta");
        for (int cut = 0; cut <= text.size(); ++cut) {
            bool inWord = false;
            const qint64 total = countWords(QByteArrayView(text).first(cut), inWord) +
                                 countWords(QByteArrayView(text).sliced(cut), inWord);
            QCOMPARE(total, 4);
        }
    }
};

QTEST_APPLESS_MAIN(TestTransforms)
#include "tst_transforms.moc"
