// What the open and save round trips do not reach: how a file's start tells its encoding (the
// UTF-8 rules at the edges, a sequence cut by the 4 MiB limit) and the odd single-byte cases.

#include "documents/filesave.h"
#include "platform/textcodec.h"
#include "support/sandbox.h"

#include <QBuffer>
#include <QFile>
#include <QTest>

using platform::TextEncoding;

class TestTextCodec : public QObject
{
    Q_OBJECT

private slots:
    void detection_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<bool>("utf8");
        QTest::newRow("ASCII and NUL") << QByteArray("a\0b", 3) << true;
        QTest::newRow("four-byte character") << QByteArray("\xF0\x9F\x98\x80") << true;
        QTest::newRow("cut at the end of the file") << QByteArray("ab\xC3") << false;
        QTest::newRow("overlong slash") << QByteArray("\xC0\xAF") << false;
        QTest::newRow("overlong three-byte") << QByteArray("\xE0\x80\xAF") << false;
        QTest::newRow("surrogate") << QByteArray("\xED\xA0\x80") << false;
        QTest::newRow("past U+10FFFF") << QByteArray("\xF4\x90\x80\x80") << false;
        QTest::newRow("lone continuation") << QByteArray("\x80") << false;
    }
    void detection()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(bool, utf8);
        QCOMPARE(platform::detectEncoding(bytes, true, TextEncoding::Iso885915),
                 utf8 ? TextEncoding::Utf8 : TextEncoding::Iso885915);
    }

    // The whole file decides: a byte that is not UTF-8 far past the start, or a sequence the end
    // cuts short, makes it the legacy code page; characters across the pieces it is read in
    // stay whole.
    void detectionReadsTheWholeFile_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<bool>("utf8");
        const QByteArray start(5 << 20, 'a');
        QTest::newRow("an accent after 5 MiB") << start + "caf\xE9" << false;
        QTest::newRow("cut short at the end") << start + "\xE2\x82" << false;
        QTest::newRow("a lead byte ends the file") << start + "\xC3" << false;
        // The file is read in pieces of 256 KiB: this one is exactly one.
        QTest::newRow("a lead byte ends the first piece") << QByteArray((256 << 10) - 1, 'a') + "\xC3" << false;
        QTest::newRow("euros across every piece") << QByteArray("\xE2\x82\xAC").repeated(400000) << true;
        QTest::newRow("valid to the end") << start + "\xE2\x82\xAC" << true;
    }
    void detectionReadsTheWholeFile()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(bool, utf8);
        Sandbox sandbox;
        const QString path = sandbox.filePath(QStringLiteral("big.txt"));
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size());
        file.close();
        const TextEncoding expected = utf8 ? TextEncoding::Utf8 : TextEncoding::Windows1252;
        QCOMPARE(detectFileEncoding(path, TextEncoding::Windows1252), expected);
        QCOMPARE(detectBytesEncoding(bytes, TextEncoding::Windows1252), expected);
        QCOMPARE(isUtf8File(path), utf8);
    }

    // A refused character is named with its line, counting CR LF, LF and CR as one break each;
    // nothing is written.
    void aRefusalNamesTheCharacterAndItsLine()
    {
        Sandbox sandbox;
        const QString path = sandbox.filePath(QStringLiteral("refused.txt"));
        try {
            writeEncodedTextFile(path, "a\r\nb\nc\rd \xE2\x82\xAC", LineEnds::Crlf, TextEncoding::Iso88591);
            QFAIL("not refused");
        } catch (const UnencodableText& refusal) {
            QCOMPARE(refusal.message(),
                     QStringLiteral("\"\u20AC\" (U+20AC) on line 4 cannot be saved in ISO-8859-1. Save "
                                    "As can save the document as UTF-8."));
        }
        QVERIFY(!QFile::exists(path));
    }

    // UTF-16 checked in pieces split anywhere, inside a unit or a surrogate pair.
    void utf16CheckedInAnyPieces()
    {
        const QByteArray pair("\xFF\xFE"
                              "a\0\x3D\xD8\x00\xDE"
                              "b\0",
                              10);
        for (const QByteArray& bytes : {pair, pair + 'x', pair.left(7) + "c\0"}) {
            platform::DecodeCheck check(TextEncoding::Utf16Le);
            for (const char c : bytes)
                check.feed(QByteArrayView(&c, 1));
            QCOMPARE(check.decodedLength(), platform::exactlyDecodedLength(bytes, TextEncoding::Utf16Le));
        }
        QCOMPARE(platform::exactlyDecodedLength(pair, TextEncoding::Utf16Le), std::optional<qint64>(6));
    }

    // Every code page offered reads its bytes back exactly; the sliced reader gives what the whole
    // decode gives, however small the reads.
    void codePagesRoundTripAndDecodeInSlices()
    {
        QByteArray all;
        for (int b = 0; b < 256; ++b)
            all += char(b);
        for (const TextEncoding encoding : platform::legacyEncodings()) {
            QByteArray bytes = all, utf8, back;
            if (!platform::decodeExactly(bytes, encoding, utf8)) {
                // Only a page with undefined bytes may refuse; without them it decodes.
                QByteArray defined;
                for (const char c : all)
                    if (platform::decodeExactly(QByteArrayView(&c, 1), encoding, utf8))
                        defined += c;
                QVERIFY(defined.size() < 256);
                bytes = defined;
                QVERIFY(platform::decodeExactly(bytes, encoding, utf8));
            }
            QVERIFY(platform::encodeText(utf8, encoding, back));
            QCOMPARE(back, bytes);
            QCOMPARE(platform::exactlyDecodedLength(bytes, encoding), std::optional<qint64>(utf8.size()));
            auto source = std::make_unique<QBuffer>();
            source->setData(bytes);
            source->open(QIODevice::ReadOnly);
            platform::DecodingDevice device(std::move(source), encoding);
            QVERIFY(device.open(QIODevice::ReadOnly | QIODevice::Unbuffered));
            QByteArray sliced;
            char piece[3];
            for (qint64 n; (n = device.read(piece, 1 + sliced.size() % 3)) > 0;)
                sliced.append(piece, n);
            QCOMPARE(sliced, utf8);
        }
    }
};

QTEST_MAIN(TestTextCodec)
#include "tst_textcodec.moc"
