// Files in legacy code pages and UTF-16 through the real open and save path: shown decoded, saved
// back byte for byte, kept raw where decoding would not give the bytes back, refused at save
// when the text holds a character the encoding lacks, reopened in another encoding, and saved as
// another by Save As.

#include "mainwindow/filecontroller.h"
#include "mainwindow/viewcontroller.h"
#include "support/mainwindowfixture.h"

#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QKeyEvent>
#include <QMenu>
#include <QTest>

namespace {

const QByteArray UndefinedIn1252 = QByteArray("\x81\x8D\x8F\x90\x9D", 5);

// Every byte Windows-1252 defines but CR and LF, then a CR LF, so a save leaves it as it was.
QByteArray all1252Bytes()
{
    QByteArray bytes;
    for (int b = 0; b < 256; ++b)
        if (b != '\r' && b != '\n' && !UndefinedIn1252.contains(char(b)))
            bytes += char(b);
    return bytes + "\r\nend\r\n";
}

// UTF-16 of `text` with its byte-order mark.
QByteArray utf16(const QString& text, bool bigEndian)
{
    QByteArray bytes = bigEndian ? QByteArray("\xFE\xFF") : QByteArray("\xFF\xFE");
    for (const QChar c : text) {
        const char high = char(c.unicode() >> 8), low = char(c.unicode() & 0xFF);
        bytes += bigEndian ? high : low;
        bytes += bigEndian ? low : high;
    }
    return bytes;
}

const QString Sample = QStringLiteral("caf\u00E9 \u2013 na\u00EFve \u20AC \U0001F600\r\nline two\r\n");

} // namespace

class TestEncodings : public MainWindowTest
{
    Q_OBJECT

private:
    QString encodingPanel() { return status()->panelText(StatusBar::Encoding); }
    bool editorHas(const QString& text) { return editor()->bytes().contains(text.toUtf8()); }

private slots:
    void init() { newFixture(); }
    void cleanup() { m_fixture.reset(); }

    void openedAndSavedUnchangedKeepsEveryByte_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("encoding");
        QTest::addColumn<QString>("shown"); // a piece of the editor's text
        QTest::addColumn<QString>("note");
        QTest::addColumn<bool>("throughLink"); // opened by a symbolic link to the file
        QTest::newRow("Windows-1252, all 251 bytes")
            << all1252Bytes() << "Windows-1252" << QStringLiteral("\u20AC\u201A\u0192\u201E") << "" << false;
        QTest::newRow("UTF-16 LE") << utf16(Sample, false) << "UTF-16 LE" << Sample << "" << false;
        QTest::newRow("UTF-16 BE") << utf16(Sample, true) << "UTF-16 BE" << Sample << "" << false;
        QTest::newRow("undefined Windows-1252 bytes: raw") << QByteArray("caf\xE9 ") + UndefinedIn1252 + "\r\n"
                                                           << "Raw bytes"
                                                           << "caf"
                                                           << "Shown as raw bytes: not valid Windows-1252" << false;
        QTest::newRow("UTF-16 of odd length: raw") << utf16(QStringLiteral("no line end"), false) + 'x' << "Raw bytes"
                                                   << ""
                                                   << "Shown as raw bytes: not valid UTF-16 LE" << false;
        QTest::newRow("Windows-1252, the first accent after 5 MiB")
            << QByteArray(5 << 20, 'a') + "caf\xE9\r\n"
            << "Windows-1252" << QStringLiteral("caf\u00E9") << "" << false;
        QTest::newRow("UTF-8 with a byte-order mark")
            << QByteArray("\xEF\xBB\xBFna\xC3\xAFve\r\n") << "UTF-8" << QStringLiteral("na\u00EFve") << "" << false;
        // A file that ends with a byte that starts a UTF-8 sequence is not UTF-8.
        QTest::newRow("Windows-1252 ending in a UTF-8 lead byte")
            << QByteArray("caf\xC3\xA9 \xC3") << "Windows-1252" << QStringLiteral("caf\u00C3\u00A9 \u00C3") << ""
            << false;
        QTest::newRow("Windows-1252 through a symbolic link")
            << all1252Bytes() << "Windows-1252" << QStringLiteral("\u20AC\u201A\u0192\u201E") << "" << true;
        QTest::newRow("UTF-16 LE through a symbolic link")
            << utf16(Sample, false) << "UTF-16 LE" << Sample << "" << true;
    }

    void openedAndSavedUnchangedKeepsEveryByte()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, encoding);
        QFETCH(QString, shown);
        QFETCH(QString, note);
        QFETCH(bool, throughLink);
        QVERIFY(start());
        const QString file = makeFile(QStringLiteral("elsewhere/text.txt"), bytes);
        const QString path = throughLink ? m_fixture->sandbox.filePath(QStringLiteral("files/link.txt")) : file;
        if (throughLink)
            QVERIFY(QFile::link(file, path));
        form()->files().openPath(path);
        QCOMPARE(docs().current().path, path);
        QVERIFY(!form()->tabHint().endsWith(QStringLiteral("Changed on Disk")));
        QCOMPARE(encodingPanel(), encoding);
        QVERIFY(editorHas(shown));
        if (encoding == QLatin1String("UTF-8") || encoding == RawBytesPanelText)
            QCOMPARE(editor()->bytes(), bytes);
        QCOMPARE(status()->panelText(StatusBar::Message),
                 note.isEmpty() ? status()->panelText(StatusBar::Message) : note);
        action("Save1")->trigger();
        QVERIFY(prompts().errors.isEmpty());
        QCOMPARE(fileBytes(path), bytes);
        // A tab switch there and back keeps the encoding (the text went through the store file).
        const int index = docs().currentIndex();
        form()->files().newDocument();
        QCOMPARE(encodingPanel(), QStringLiteral("UTF-8"));
        docs().switchTo(index);
        QCOMPARE(encodingPanel(), encoding);
        action("Save1")->trigger();
        QCOMPARE(fileBytes(file), bytes);
        QCOMPARE(QFileInfo(path).isSymLink(), throughLink);
    }

    void aCharacterTheEncodingLacksIsRefusedAtSave()
    {
        QVERIFY(start());
        const QString path = makeFile(QStringLiteral("legacy.txt"), "caf\xE9\r\n");
        form()->files().openPath(path);
        typeAtEnd("x");
        QKeyEvent omega(QEvent::KeyPress, 0, Qt::NoModifier, QStringLiteral("\u03A9"));
        QApplication::sendEvent(editor(), &omega);
        QVERIFY(m_fixture->currentModified());
        action("Save1")->trigger();
        QCOMPARE(prompts().errors,
                 QStringList(QStringLiteral("\"\u03A9\" (U+03A9) on line 2 cannot be saved in Windows-1252. Save As "
                                            "can save the document as UTF-8.")));
        // A refusal, as the program's others: a warning under a title of its own.
        const QString refusal = QStringLiteral("Quillet -Character Not Saved");
        QCOMPARE(prompts().warningTitles, QStringList{refusal});
        QCOMPARE(fileBytes(path), QByteArray("caf\xE9\r\n"));
        QVERIFY(m_fixture->currentModified());
        // Saving as part of the exit: the exit is cancelled, the text kept.
        prompts().answers = {Answer::Yes};
        QVERIFY(!form()->files().exitSavePass());
        QCOMPARE(prompts().warningTitles, (QStringList{refusal, refusal}));
        // Auto-save skips it without a box and says so.
        form()->files().saveAllDocuments();
        QCOMPARE(prompts().errors.size(), 2);
        QVERIFY(status()->panelText(StatusBar::Message).contains(QStringLiteral("legacy.txt")));
        QCOMPARE(fileBytes(path), QByteArray("caf\xE9\r\n"));
        QVERIFY(m_fixture->currentModified());
    }

    // Characters outside ASCII typed or pasted into raw bytes would be saved as UTF-8 among them:
    // Save asks (No by default) and Save All leaves the document alone; ASCII goes in unasked.
    void rawBytesAskBeforeTypedCharactersGoIn_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("command");
        QTest::addColumn<int>("answer"); // -1: no question expected
        QTest::newRow("ASCII") << "x"
                               << "Save1" << -1;
        QTest::newRow("an accent, No") << "\u00FC"
                                       << "Save1" << int(Answer::No);
        QTest::newRow("an accent, Yes") << "\u00FC"
                                        << "Save1" << int(Answer::Yes);
        QTest::newRow("an accent, Save As UTF-8, No") << "\u00FC"
                                                      << "SaveAs1" << int(Answer::No);
        QTest::newRow("a euro pasted, Save All") << "\u20AC"
                                                 << "SaveAll1" << -1;
    }
    void rawBytesAskBeforeTypedCharactersGoIn()
    {
        QFETCH(QString, typed);
        QFETCH(QString, command);
        QFETCH(int, answer);
        QVERIFY(start());
        // "ťa" in Windows-1250: 0x9D is no character of Windows-1252 nor valid UTF-8.
        const QByteArray bytes("lo\x9D"
                               "a\r\n");
        const QString path = makeFile(QStringLiteral("raw.txt"), bytes);
        form()->files().openPath(path);
        QCOMPARE(encodingPanel(), RawBytesPanelText);
        editor()->setCaret(0);
        // Twice: a second change marks the document modified.
        for (int i = 0; i < 2; ++i) {
            if (command == QLatin1String("SaveAll1")) {
                QApplication::clipboard()->setText(typed);
                action("Paste1")->trigger();
            } else {
                QKeyEvent key(QEvent::KeyPress, 0, Qt::NoModifier, typed);
                QApplication::sendEvent(editor(), &key);
            }
        }
        if (answer >= 0)
            prompts().answers = {Answer(answer)};
        prompts().savePaths = {path};
        prompts().saveEncodings = {QStringLiteral("UTF-8")};
        action(command.toLatin1().constData())->trigger();
        QCOMPARE(prompts().questions.size(), answer >= 0 ? 1 : 0);
        const bool saved = typed == QLatin1String("x") || answer == int(Answer::Yes);
        QCOMPARE(fileBytes(path), saved ? (typed + typed).toUtf8() + bytes : bytes);
        QCOMPARE(m_fixture->currentModified(), !saved);
        if (!saved)
            QVERIFY2(status()->panelText(StatusBar::Message).contains(QStringLiteral("raw")),
                     qPrintable(status()->panelText(StatusBar::Message)));
        if (answer >= 0)
            QVERIFY(prompts().questions.first().contains(QStringLiteral("Reopen with Encoding")));
    }

    void reopenAndSaveAsChangeTheEncoding()
    {
        QVERIFY(start());
        // 0xA4 is "¤" in Windows-1252 and "€" in ISO-8859-15.
        const QByteArray bytes("price \xA4 5\r\n");
        const QString path = makeFile(QStringLiteral("price.txt"), bytes);
        form()->files().openPath(path);
        QVERIFY(editorHas(QStringLiteral("\u00A4")));
        action("ISO8859151")->trigger();
        QCOMPARE(encodingPanel(), QStringLiteral("ISO-8859-15"));
        QVERIFY(editorHas(QStringLiteral("price \u20AC 5")));
        QVERIFY(action("ISO8859151")->isChecked() && !action("Windows12521")->isChecked());
        // Bytes that are not valid in the encoding asked for are kept as they are, and said to be.
        action("UTF81")->trigger();
        QCOMPARE(encodingPanel(), RawBytesPanelText);
        QCOMPARE(status()->panelText(StatusBar::Message), QStringLiteral("Shown as raw bytes: not valid UTF-8"));
        QCOMPARE(editor()->bytes(), bytes);
        QVERIFY(!action("UTF81")->isChecked());
        action("UTF16LE1")->trigger();
        QCOMPARE(encodingPanel(), RawBytesPanelText);
        QCOMPARE(status()->panelText(StatusBar::Message), QStringLiteral("Shown as raw bytes: not valid UTF-16 LE"));
        form()->view().statusPanelHovered(StatusBar::Encoding);
        QCOMPARE(status()->toolTip(), QStringLiteral("Shown as raw bytes: not valid UTF-16 LE"));
        // The code pages Options and Save As offer are offered here too.
        action("Windows12511")->trigger();
        QCOMPARE(encodingPanel(), QStringLiteral("Windows-1251"));
        QVERIFY(editorHas(QStringLiteral("price \u00A4 5")));
        for (const char* name : {"Windows12501", "ISO885911"})
            QVERIFY(action(name)->isEnabled());
        // A modified document is asked about first; No keeps its text.
        action("Windows12521")->trigger();
        typeAtEnd("ab");
        prompts().answers = {Answer::No};
        action("ISO8859151")->trigger();
        QCOMPARE(prompts().questions.size(), 1);
        QCOMPARE(encodingPanel(), QStringLiteral("Windows-1252"));
        QVERIFY(editorHas(QStringLiteral("5\r\nab")));

        // Save As offers the encodings with the document's own preset; UTF-8 converts it.
        const QString copy = m_fixture->sandbox.filePath(QStringLiteral("copy.txt"));
        prompts().savePaths = {copy};
        prompts().saveEncodings = {QStringLiteral("UTF-8")};
        action("SaveAs1")->trigger();
        QCOMPARE(prompts().saveDialogs.last().encoding, QStringLiteral("Windows-1252"));
        QVERIFY(prompts().saveDialogs.last().encodings.contains(QStringLiteral("UTF-16 BE")));
        QCOMPARE(fileBytes(copy), QByteArray("price \xC2\xA4 5\r\nab"));
        QCOMPARE(encodingPanel(), QStringLiteral("UTF-8"));
        prompts().savePaths = {copy};
        prompts().saveEncodings = {QStringLiteral("UTF-16 BE")};
        action("SaveAs1")->trigger();
        QCOMPARE(fileBytes(copy), utf16(QStringLiteral("price \u00A4 5\r\nab"), true));
        QCOMPARE(encodingPanel(), QStringLiteral("UTF-16 BE"));

        // A click on the encoding panel opens the same menu.
        QMenu* reopen = action("ReopenwithEncoding1")->menu();
        QTest::mouseClick(status(), Qt::LeftButton, {},
                          QPoint(status()->panelLeft(StatusBar::Encoding) + 10, status()->height() / 2));
        QTRY_VERIFY(reopen->isVisible());
        reopen->hide();

        // A document without a file has nothing to reopen.
        QVERIFY(action("UTF81")->isEnabled());
        form()->files().newDocument();
        QVERIFY(!action("UTF81")->isEnabled());
    }

    // The options' code page reads files that are not UTF-8, opened or inserted alike.
    void theOptionsChooseTheLegacyCodePage()
    {
        QVERIFY(start());
        OptionsDialog& options = m_fixture->withOptions();
        options.legacyEncodingCombo()->setCurrentText(QStringLiteral("ISO-8859-15"));
        form()->files().openPath(makeFile(QStringLiteral("euro.txt"), "\xA4"));
        QCOMPARE(encodingPanel(), QStringLiteral("ISO-8859-15"));
        QCOMPARE(editor()->bytes(), QByteArray("\xE2\x82\xAC"));
        editor()->setCaret(0);
        prompts().openPaths = {makeFile(QStringLiteral("inserted.txt"), utf16(QStringLiteral("\u00E9\u0159"), true))};
        action("InsertFile1")->trigger();
        prompts().openPaths = {makeFile(QStringLiteral("legacy.txt"), "\xA4 ")};
        action("InsertFile1")->trigger();
        QCOMPARE(editor()->bytes(), QStringLiteral("\u00E9\u0159\u20AC \u20AC").toUtf8());
    }
};

QTEST_MAIN(TestEncodings)
#include "tst_encodings.moc"
