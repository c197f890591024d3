// Export with UNIX and MAC line endings, Insert File, Save Selection and Append Selection on the
// real main window. Dialogs are answered by a script; files go to a temporary folder.

#include "core/commanderror.h"
#include "mainwindow/filecontroller.h"
#include "mainwindow/textcontroller.h"
#include "mainwindow/viewcontroller.h"
#include "support/mainwindowfixture.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTest>

#include <memory>

class TestSelectionFiles : public MainWindowTest
{
    Q_OBJECT

private:
    QString path(const QString& relative) { return m_fixture->sandbox.filePath(QStringLiteral("files/") + relative); }

    // Runs a command through its menu item, inside the command guard as the user would.
    void trigger(const char* name)
    {
        QAction* command = action(name);
        QVERIFY(command);
        QVERIFY(command->isEnabled());
        command->trigger();
    }

    // An untitled document holding `text`, not modified.
    bool startWith(const QByteArray& text)
    {
        if (!start())
            return false;
        editor()->setBytes(text);
        editor()->clearModifiedFlag();
        return modifiedWordsOf(docs()).value(docs().currentIndex()) == NotModifiedWord;
    }

private slots:
    void init()
    {
        newFixture();
        QVERIFY(QDir().mkpath(m_fixture->sandbox.filePath(QStringLiteral("files"))));
    }

    void cleanup() { m_fixture.reset(); }

    // --- Export ------------------------------------------------------------------------------

    void exportEndsEveryLogicalLineOnce_data()
    {
        QTest::addColumn<QByteArray>("command");
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<QByteArray>("expected");
        QTest::newRow("unix, no final break")
            << QByteArray("UNIXLFonly1") << QByteArray("a\r\n\r\nb") << QByteArray("a\n\nb\n");
        QTest::newRow("mac, no final break")
            << QByteArray("MACCRonly1") << QByteArray("a\r\n\r\nb") << QByteArray("a\r\rb\r");
        QTest::newRow("unix, final break")
            << QByteArray("UNIXLFonly1") << QByteArray("a\r\n\r\nb\r\n") << QByteArray("a\n\nb\n");
        QTest::newRow("mac, final break")
            << QByteArray("MACCRonly1") << QByteArray("a\r\n\r\nb\r\n") << QByteArray("a\r\rb\r");
        QTest::newRow("unix, mixed breaks")
            << QByteArray("UNIXLFonly1") << QByteArray("x\ry\nz\r\n\r") << QByteArray("x\ny\nz\n\n");
        QTest::newRow("mac, mixed breaks")
            << QByteArray("MACCRonly1") << QByteArray("x\ry\nz\n\n") << QByteArray("x\ry\rz\r\r");
        QTest::newRow("unix, only a break") << QByteArray("UNIXLFonly1") << QByteArray("\r\n") << QByteArray("\n");
        QTest::newRow("unix, other bytes kept")
            << QByteArray("UNIXLFonly1") << QByteArray("\0\xff\t", 3) << QByteArray("\0\xff\t\n", 4);
    }

    void exportEndsEveryLogicalLineOnce()
    {
        QFETCH(QByteArray, command);
        QFETCH(QByteArray, text);
        QFETCH(QByteArray, expected);
        QVERIFY(startWith(text));
        const QString target = makeFile(QStringLiteral("out.txt"), "old content that is longer");
        prompts().savePaths = {target};
        trigger(command.constData());
        QCOMPARE(prompts().errors, QStringList());
        QCOMPARE(fileBytes(target), expected);
        // The document keeps its text, its name and its saved state.
        QCOMPARE(editor()->bytes(), text);
        QCOMPARE(docs().currentDisplayPath(), UntitledName);
        QCOMPARE(modifiedWordsOf(docs()).value(docs().currentIndex()), NotModifiedWord);
    }

    void exportDialogsAndTheOtherDialogsUntouched()
    {
        QVERIFY(startWith("a"));
        form()->dialogs().save.filter = QStringLiteral("Text Files|*.txt");
        form()->dialogs().saveSelection.fileName = QStringLiteral("chosen");
        form()->dialogs().saveSelection.defaultExt = QStringLiteral("log");
        form()->dialogs().saveSelection.filter = QStringLiteral("Logs|*.log");
        // A name without extension gets the selection dialog's default extension.
        prompts().savePaths = {path(QStringLiteral("unix")), path(QStringLiteral("mac"))};
        trigger("UNIXLFonly1");
        trigger("MACCRonly1");
        QCOMPARE(prompts().saveDialogs.size(), 2);
        QCOMPARE(prompts().saveDialogs[0].title, QStringLiteral("Export File to UNIX Format"));
        QCOMPARE(prompts().saveDialogs[1].title, QStringLiteral("Export File to MAC Format"));
        for (const FileDialogState& shown : prompts().saveDialogs) {
            QCOMPARE(shown.filter, QString());
            QCOMPARE(shown.fileName, QStringLiteral("chosen"));
            QCOMPARE(shown.defaultExt, QStringLiteral("log"));
        }
        QCOMPARE(fileBytes(path(QStringLiteral("unix.log"))), QByteArray("a\n"));
        QCOMPARE(fileBytes(path(QStringLiteral("mac.log"))), QByteArray("a\r"));
        QCOMPARE(form()->dialogs().save.title, QStringLiteral("Save Text"));
        QCOMPARE(form()->dialogs().save.filter, QStringLiteral("Text Files|*.txt"));
        QCOMPARE(form()->dialogs().saveSelection.title, QStringLiteral("Save Selected Text"));
        QCOMPARE(form()->dialogs().saveSelection.filter, QStringLiteral("Logs|*.log"));
    }

    void exportIgnoresWordWrap()
    {
        const QByteArray longLine = QByteArray("word ").repeated(400);
        const QByteArray text = longLine + "\r\nshort";
        QVERIFY(startWith(text));
        form()->resize(300, 300);
        if (!editor()->wordWrap())
            form()->view().toggleWordWrap();
        QVERIFY(editor()->wordWrap());
        QTest::qWait(0);
        // The long line really is shown as several lines.
        QVERIFY(editor()->send(SCI_WRAPCOUNT, 0UL) > 1);

        prompts().savePaths = {path(QStringLiteral("unix.txt")), path(QStringLiteral("mac.txt"))};
        trigger("UNIXLFonly1");
        trigger("MACCRonly1");
        QCOMPARE(fileBytes(path(QStringLiteral("unix.txt"))), longLine + "\nshort\n");
        QCOMPARE(fileBytes(path(QStringLiteral("mac.txt"))), longLine + "\rshort\r");
    }

    void exportOfEmptyDocumentWritesNothing()
    {
        QVERIFY(startWith(""));
        const QString kept = makeFile(QStringLiteral("kept.txt"), "old");
        prompts().savePaths = {path(QStringLiteral("new.txt")), kept};
        trigger("UNIXLFonly1");
        trigger("MACCRonly1");
        // The message comes after the file was chosen, once for each export.
        QCOMPARE(prompts().saveDialogs.size(), 2);
        const QString message = QStringLiteral("Information: The document is empty. There is nothing to save.");
        QCOMPARE(prompts().informations, QStringList({message, message}));
        QVERIFY(!QFile::exists(path(QStringLiteral("new.txt"))));
        QCOMPARE(fileBytes(kept), QByteArray("old"));

        // Cancel ends the command before the check.
        trigger("UNIXLFonly1");
        QCOMPARE(prompts().informations.size(), 2);
    }

    void failedExportReportsAndKeepsTheOldFile()
    {
        QVERIFY(startWith("new text"));
        const QString readOnly = makeFile(QStringLiteral("readonly.txt"), "old");
        QVERIFY(QFile::setPermissions(readOnly, QFileDevice::ReadOwner | QFileDevice::ReadUser));
        const QString blocker = makeFile(QStringLiteral("blocker"), "a file, not a folder");
        const QString underFile = blocker + QStringLiteral("/out.txt");
        prompts().savePaths = {readOnly, underFile};
        trigger("UNIXLFonly1");
        trigger("MACCRonly1");
        QCOMPARE(prompts().errors.size(), 2);
        QVERIFY2(prompts().errors[0].contains(QStringLiteral("readonly.txt")), qPrintable(prompts().errors[0]));
        QVERIFY2(prompts().errors[1].contains(QStringLiteral("out.txt")), qPrintable(prompts().errors[1]));
        QCOMPARE(fileBytes(readOnly), QByteArray("old"));
        QCOMPARE(fileBytes(blocker), QByteArray("a file, not a folder"));
        QFile::setPermissions(readOnly, QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    }

    // --- Insert File -------------------------------------------------------------------------

    void insertFileAtCaretOrOverSelection()
    {
        // Bytes that a text conversion would spoil pass unchanged.
        const QByteArray inserted("one\r\ntwo\rthree\n\0end", 19);
        const QString source = makeFile(QStringLiteral("insert.txt"), inserted);
        QVERIFY(startWith("HEAD|TAIL"));
        form()->dialogs().open.title = QStringLiteral("Open Text File");
        form()->dialogs().open.fileName = QStringLiteral("leftover");
        form()->dialogs().open.defaultExt = QStringLiteral("log");

        // At the caret: nothing is replaced, the caret ends after the inserted text.
        editor()->setCaret(5);
        prompts().openPaths = {source, path(QStringLiteral("ignored.txt"))};
        trigger("InsertFile1");
        QCOMPARE(prompts().errors, QStringList());
        QCOMPARE(editor()->bytes(), "HEAD|" + inserted + "TAIL");
        QCOMPARE(editor()->selStart(), 5 + inserted.size());
        QCOMPARE(editor()->selLength(), 0);
        QCOMPARE(modifiedWordsOf(docs()).value(docs().currentIndex()), ModifiedWord);
        QCOMPARE(form()->statusPanels()->panelText(2), ModifiedWord);
        QCOMPARE(form()->scratchBuffer(), inserted);

        const FileDialogState shown = prompts().openDialogs.value(0);
        QCOMPARE(shown.title, QStringLiteral("Insert Text File"));
        QCOMPARE(shown.fileName, QString());
        QCOMPARE(shown.defaultExt, QStringLiteral("txt"));

        // Over a selection, through the pop-up item.
        editor()->setBytes(QByteArray("keep[drop]keep"));
        editor()->clearModifiedFlag();
        select(4, 10);
        trigger("InsertFile2");
        QCOMPARE(editor()->bytes(), "keep" + inserted + "keep");
        QCOMPARE(editor()->selStart(), 4 + inserted.size());

        // One undo takes the whole insertion back.
        editor()->undo();
        QCOMPARE(editor()->bytes(), QByteArray("keep[drop]keep"));
    }

    void insertFileCancelledOrMissingChangesNothing()
    {
        QVERIFY(startWith("text"));
        trigger("InsertFile1");
        prompts().openPaths = {path(QStringLiteral("missing.txt"))};
        trigger("InsertFile1");
        QCOMPARE(prompts().errors.size(), 1);
        QVERIFY2(prompts().errors[0].contains(QStringLiteral("missing.txt")), qPrintable(prompts().errors[0]));
        QCOMPARE(editor()->bytes(), QByteArray("text"));
        QCOMPARE(modifiedWordsOf(docs()).value(docs().currentIndex()), NotModifiedWord);
    }

    // --- Save Selection ----------------------------------------------------------------------

    void saveSelectionWritesSelectionAndOneLineBreak_data()
    {
        QTest::addColumn<int>("from");
        QTest::addColumn<int>("to");
        QTest::addColumn<QByteArray>("expected");
        // Text: "one\ntwo\r\nthree"
        QTest::newRow("inside a line") << 4 << 7 << QByteArray("two\r\n");
        QTest::newRow("ends in a line break") << 4 << 9 << QByteArray("two\r\n\r\n");
        QTest::newRow("lone LF kept as it is") << 0 << 7 << QByteArray("one\ntwo\r\n");
    }

    void saveSelectionWritesSelectionAndOneLineBreak()
    {
        QFETCH(int, from);
        QFETCH(int, to);
        QFETCH(QByteArray, expected);
        QVERIFY(startWith("one\ntwo\r\nthree"));
        select(from, to);
        const QString target = makeFile(QStringLiteral("sel.txt"), "old content, longer than the new");
        prompts().savePaths = {target};
        trigger("SaveSelection1");
        QCOMPARE(prompts().errors, QStringList());
        QCOMPARE(fileBytes(target), expected);
        QCOMPARE(docs().currentDisplayPath(), UntitledName);
        QCOMPARE(modifiedWordsOf(docs()).value(docs().currentIndex()), NotModifiedWord);
    }

    void saveSelectionDialogAndCancel()
    {
        QVERIFY(startWith("abc"));
        form()->dialogs().save.filter = QStringLiteral("Text Files|*.txt|All Files|*.*");
        form()->dialogs().saveSelection.fileName = QStringLiteral("proposed");
        form()->dialogs().saveSelection.defaultExt = QStringLiteral("sel");
        select(0, 2);
        trigger("SaveSelection2");
        QCOMPARE(prompts().saveDialogs.size(), 1);
        QCOMPARE(prompts().saveDialogs[0].title, QStringLiteral("Save Selection"));
        QCOMPARE(prompts().saveDialogs[0].filter, QStringLiteral("Text Files|*.txt|All Files|*.*"));
        QCOMPARE(prompts().saveDialogs[0].fileName, QStringLiteral("proposed"));
        // Cancelled: nothing written, but the hidden copy was made before the dialog.
        QCOMPARE(QDir(path(QString())).entryList(QDir::Files), QStringList());
        QCOMPARE(form()->scratchBuffer(), QByteArray("ab\r\n"));

        // The dialog's default extension completes a bare name.
        prompts().savePaths = {path(QStringLiteral("bare"))};
        trigger("SaveSelection1");
        QCOMPARE(fileBytes(path(QStringLiteral("bare.sel"))), QByteArray("ab\r\n"));
    }

    void failedSaveSelectionReportsAndKeepsTheOldFile()
    {
        QVERIFY(startWith("abc"));
        select(0, 3);
        const QString readOnly = makeFile(QStringLiteral("readonly.txt"), "old");
        QVERIFY(QFile::setPermissions(readOnly, QFileDevice::ReadOwner | QFileDevice::ReadUser));
        const QString blocker = makeFile(QStringLiteral("blocker"), "file");
        prompts().savePaths = {readOnly, blocker + QStringLiteral("/sel.txt")};
        trigger("SaveSelection1");
        trigger("SaveSelection1");
        QCOMPARE(prompts().errors.size(), 2);
        QCOMPARE(fileBytes(readOnly), QByteArray("old"));
        QCOMPARE(fileBytes(blocker), QByteArray("file"));
        QFile::setPermissions(readOnly, QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    }

    void selectionCommandsFollowTheSelection()
    {
        QVERIFY(startWith("abc"));
        for (const char* name : {"SaveSelection2", "AppendSelectiontoFile1"})
            QVERIFY2(!action(name)->isEnabled(), name);
        select(0, 1);
        for (const char* name : {"SaveSelection2", "AppendSelectiontoFile1", "SaveSelection1", "AppendtoFile1"})
            QVERIFY2(action(name)->isEnabled(), name);
        select(1, 1);
        for (const char* name : {"SaveSelection2", "AppendSelectiontoFile1"})
            QVERIFY2(!action(name)->isEnabled(), name);
    }

    // --- Append Selection --------------------------------------------------------------------

    void appendAddsTheSelectionAsANewLastLine_data()
    {
        QTest::addColumn<QByteArray>("old");
        QTest::addColumn<QByteArray>("expected");
        QTest::newRow("after a line break") << QByteArray("x\r\n") << QByteArray("x\r\nSEL\r\n");
        QTest::newRow("after a lone LF") << QByteArray("x\n") << QByteArray("x\nSEL\r\n");
        QTest::newRow("no final break") << QByteArray("x") << QByteArray("x\r\nSEL");
        QTest::newRow("empty file") << QByteArray() << QByteArray("SEL\r\n");
    }

    void appendAddsTheSelectionAsANewLastLine()
    {
        QFETCH(QByteArray, old);
        QFETCH(QByteArray, expected);
        QVERIFY(startWith("[SEL]"));
        select(1, 4);
        const QString target = makeFile(QStringLiteral("log.txt"), old);
        prompts().openPaths = {target};
        trigger("AppendtoFile1");
        QCOMPARE(prompts().errors, QStringList());
        QCOMPARE(fileBytes(target), expected);
        QCOMPARE(editor()->bytes(), QByteArray("[SEL]"));
        QCOMPARE(modifiedWordsOf(docs()).value(docs().currentIndex()), NotModifiedWord);
    }

    // A file read as a legacy code page or UTF-16 gets the line in its own encoding; a character
    // the file's encoding lacks is refused and the file kept.
    void appendWritesInTheFilesOwnEncoding()
    {
        QVERIFY(startWith("[\xC3\xBC] [\xCE\xA9]")); // [ü] [Ω]
        const QString legacy = makeFile(QStringLiteral("legacy.txt"), QByteArray("caf\xE9\r\n"));
        const QByteArray wideStart("\xFF\xFE"
                                   "a\0\r\0\n\0",
                                   8);
        const QString wide = makeFile(QStringLiteral("wide.txt"), wideStart);
        select(1, 3);
        prompts().openPaths = {legacy};
        trigger("AppendtoFile1");
        QCOMPARE(fileBytes(legacy), QByteArray("caf\xE9\r\n\xFC\r\n"));
        prompts().openPaths = {wide};
        trigger("AppendtoFile1");
        QCOMPARE(fileBytes(wide), wideStart + QByteArray("\xFC\0\r\0\n\0", 6));
        QCOMPARE(prompts().errors, QStringList());

        select(6, 8);
        prompts().openPaths = {legacy};
        trigger("AppendtoFile1");
        QCOMPARE(prompts().errors.size(), 1);
        QVERIFY(prompts().errors.first().contains(QStringLiteral("U+03A9")));
        QCOMPARE(fileBytes(legacy), QByteArray("caf\xE9\r\n\xFC\r\n"));
    }

    void appendShowsTheLastTitleGiven()
    {
        QVERIFY(startWith("abc"));
        select(0, 1);
        trigger("AppendSelectiontoFile1");
        prompts().openPaths.clear();
        trigger("InsertFile1");
        select(0, 1);
        trigger("AppendtoFile1");
        QCOMPARE(prompts().openDialogs.size(), 3);
        QCOMPARE(prompts().openDialogs[0].title, QStringLiteral("Open Text File"));
        QCOMPARE(prompts().openDialogs[2].title, QStringLiteral("Insert Text File"));
    }

    void failedAppendReportsAndKeepsTheOldFile()
    {
        QVERIFY(startWith("abc"));
        select(0, 3);
        // A missing file is not created.
        prompts().openPaths = {path(QStringLiteral("missing.txt"))};
        trigger("AppendtoFile1");
        QCOMPARE(prompts().errors.size(), 1);
        QVERIFY2(prompts().errors[0].contains(QStringLiteral("missing.txt")), qPrintable(prompts().errors[0]));
        QVERIFY(!QFile::exists(path(QStringLiteral("missing.txt"))));

        // A file that can be read but not written keeps its content.
        const QString readOnly = makeFile(QStringLiteral("readonly.txt"), "old\r\n");
        QVERIFY(QFile::setPermissions(readOnly, QFileDevice::ReadOwner | QFileDevice::ReadUser));
        prompts().openPaths = {readOnly};
        select(0, 3);
        trigger("AppendtoFile1");
        QCOMPARE(prompts().errors.size(), 2);
        QCOMPARE(fileBytes(readOnly), QByteArray("old\r\n"));
        QFile::setPermissions(readOnly, QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    }
};

QTEST_MAIN(TestSelectionFiles)
#include "tst_selectionfiles.moc"
