// Export with UNIX and MAC line endings, Insert File, Save Selection and Append Selection on the
// real main window. Dialogs are answered by a script; files go to a temporary folder.

#include "core/commanderror.h"
#include "core/prompts.h"
#include "mainwindow/mainwindow.h"
#include "mainwindow/statusbar.h"
#include "documents/documentset.h"
#include "editor/editorview.h"
#include "windows/configurationdialog.h"
#include "support/sandbox.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

namespace {

class ScriptedPrompts : public Prompts
{
public:
    QStringList errors;
    QStringList informations; // "title: text"
    QStringList savePaths;    // one per save dialog; none left: cancelled
    QList<FileDialogState> saveDialogs;
    QStringList openPaths;
    QList<FileDialogState> openDialogs;

    Answer question(const QString&, const QString&) override { return Answer::Cancel; }
    void warning(const QString&, const QString& text) override { errors.append(text); }
    void information(const QString& title, const QString& text) override
    {
        informations.append(title + QStringLiteral(": ") + text);
    }
    void error(const QString& text) override { errors.append(text); }
    std::optional<QFont> chooseFont(const QFont&) override { return std::nullopt; }
    QStringList openFiles(FileDialogState& dialog) override
    {
        openDialogs.append(dialog);
        return openPaths;
    }
    QString saveFile(FileDialogState& dialog) override
    {
        saveDialogs.append(dialog);
        return savePaths.isEmpty() ? QString() : savePaths.takeFirst();
    }
};

QByteArray fileBytes(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return QByteArray("<unreadable>");
    return file.readAll();
}

} // namespace

class TestSelectionFiles : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<Sandbox> m_tmp;
    ScriptedPrompts m_prompts;
    Prompts* m_previousPrompts = nullptr;
    std::unique_ptr<MainWindow> m_form;

    // Shows the main window with the document `path` (or an untitled one) current.
    bool start(const QStringList& arguments = {})
    {
        m_form = std::make_unique<MainWindow>(arguments);
        QuilForm1 = m_form.get();
        m_form->show();
        m_form->activateWindow();
        const bool active = QTest::qWaitForWindowActive(m_form.get());
        Config1->setProgramDirectory(m_tmp->filePath(QStringLiteral("program")) + QLatin1Char('/'));
        return active;
    }

    DocumentSet& docs() { return m_form->documents(); }
    EditorView* editor() { return m_form->editor(); }
    QAction* action(const char* name) { return m_form->action(QLatin1String(name)); }

    QString path(const QString& relative) { return m_tmp->filePath(QStringLiteral("files/") + relative); }

    QString makeFile(const QString& relative, const QByteArray& bytes)
    {
        const QString full = path(relative);
        QDir().mkpath(QFileInfo(full).path());
        QFile file(full);
        if (file.open(QIODevice::WriteOnly))
            file.write(bytes);
        return full;
    }

    void select(qint64 from, qint64 to)
    {
        editor()->SendScintilla(QsciScintillaBase::SCI_SETSEL, static_cast<unsigned long>(from), static_cast<long>(to));
    }

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
        return docs().modifiedEntries().value(docs().tabIndex()) == NotModifiedEntry;
    }

private slots:
    void initTestCase() { MainWindow::StepPauseMs = 0; }

    void init()
    {
        m_tmp = std::make_unique<Sandbox>();
        QVERIFY(m_tmp->isValid());
        QVERIFY(QDir().mkpath(m_tmp->filePath(QStringLiteral("files"))));
        QVERIFY(QDir().mkpath(m_tmp->filePath(QStringLiteral("program"))));
        m_prompts = ScriptedPrompts();
        m_previousPrompts = Prompts::install(&m_prompts);
        Config1 = new ConfigurationDialog;
    }

    void cleanup()
    {
        m_form.reset();
        delete Config1;
        Config1 = nullptr;
        Prompts::install(m_previousPrompts);
        m_tmp.reset();
    }

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
        m_prompts.savePaths = {target};
        trigger(command.constData());
        QCOMPARE(m_prompts.errors, QStringList());
        QCOMPARE(fileBytes(target), expected);
        // The document keeps its text, its name and its saved state.
        QCOMPARE(editor()->bytes(), text);
        QCOMPARE(docs().currentFile(), UntitledName);
        QCOMPARE(docs().modifiedEntries().value(docs().tabIndex()), NotModifiedEntry);
    }

    void exportDialogsAndTheOtherDialogsUntouched()
    {
        QVERIFY(startWith("a"));
        m_form->saveDialog().filter = QStringLiteral("Text Files|*.txt");
        m_form->saveSelectionDialog().fileName = QStringLiteral("chosen");
        m_form->saveSelectionDialog().defaultExt = QStringLiteral("log");
        m_form->saveSelectionDialog().filter = QStringLiteral("Logs|*.log");
        // A name without extension gets the selection dialog's default extension.
        m_prompts.savePaths = {path(QStringLiteral("unix")), path(QStringLiteral("mac"))};
        trigger("UNIXLFonly1");
        trigger("MACCRonly1");
        QCOMPARE(m_prompts.saveDialogs.size(), 2);
        QCOMPARE(m_prompts.saveDialogs[0].title, QStringLiteral("Export File to UNIX Format"));
        QCOMPARE(m_prompts.saveDialogs[1].title, QStringLiteral("Export File to MAC Format"));
        for (const FileDialogState& shown : m_prompts.saveDialogs) {
            QCOMPARE(shown.filter, QString());
            QCOMPARE(shown.fileName, QStringLiteral("chosen"));
            QCOMPARE(shown.defaultExt, QStringLiteral("log"));
        }
        QCOMPARE(fileBytes(path(QStringLiteral("unix.log"))), QByteArray("a\n"));
        QCOMPARE(fileBytes(path(QStringLiteral("mac.log"))), QByteArray("a\r"));
        QCOMPARE(m_form->saveDialog().title, QStringLiteral("Save Text"));
        QCOMPARE(m_form->saveDialog().filter, QStringLiteral("Text Files|*.txt"));
        QCOMPARE(m_form->saveSelectionDialog().title, QStringLiteral("Save Selected Text"));
        QCOMPARE(m_form->saveSelectionDialog().filter, QStringLiteral("Logs|*.log"));
    }

    void exportIgnoresWordWrap()
    {
        const QByteArray longLine = QByteArray("word ").repeated(400);
        const QByteArray text = longLine + "\r\nshort";
        QVERIFY(startWith(text));
        m_form->resize(300, 300);
        if (!editor()->wordWrap())
            m_form->WordWrapBtn1Click();
        QVERIFY(editor()->wordWrap());
        QTest::qWait(0);
        // The long line really is shown as several lines.
        QVERIFY(editor()->SendScintilla(QsciScintillaBase::SCI_WRAPCOUNT, 0UL) > 1);

        m_prompts.savePaths = {path(QStringLiteral("unix.txt")), path(QStringLiteral("mac.txt"))};
        trigger("UNIXLFonly1");
        trigger("MACCRonly1");
        QCOMPARE(fileBytes(path(QStringLiteral("unix.txt"))), longLine + "\nshort\n");
        QCOMPARE(fileBytes(path(QStringLiteral("mac.txt"))), longLine + "\rshort\r");
    }

    void exportOfEmptyDocumentWritesNothing()
    {
        QVERIFY(startWith(""));
        const QString kept = makeFile(QStringLiteral("kept.txt"), "old");
        m_prompts.savePaths = {path(QStringLiteral("new.txt")), kept};
        trigger("UNIXLFonly1");
        trigger("MACCRonly1");
        // The message comes after the file was chosen, once for each export.
        QCOMPARE(m_prompts.saveDialogs.size(), 2);
        const QString message = QStringLiteral("Information: The document is empty. There is nothing to save.");
        QCOMPARE(m_prompts.informations, QStringList({message, message}));
        QVERIFY(!QFile::exists(path(QStringLiteral("new.txt"))));
        QCOMPARE(fileBytes(kept), QByteArray("old"));

        // Cancel ends the command before the check.
        trigger("UNIXLFonly1");
        QCOMPARE(m_prompts.informations.size(), 2);
    }

    void failedExportReportsAndKeepsTheOldFile()
    {
        QVERIFY(startWith("new text"));
        const QString readOnly = makeFile(QStringLiteral("readonly.txt"), "old");
        QVERIFY(QFile::setPermissions(readOnly, QFileDevice::ReadOwner | QFileDevice::ReadUser));
        const QString blocker = makeFile(QStringLiteral("blocker"), "a file, not a folder");
        const QString underFile = blocker + QStringLiteral("/out.txt");
        m_prompts.savePaths = {readOnly, underFile};
        trigger("UNIXLFonly1");
        trigger("MACCRonly1");
        QCOMPARE(m_prompts.errors.size(), 2);
        QVERIFY2(m_prompts.errors[0].contains(QStringLiteral("readonly.txt")), qPrintable(m_prompts.errors[0]));
        QVERIFY2(m_prompts.errors[1].contains(QStringLiteral("out.txt")), qPrintable(m_prompts.errors[1]));
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
        m_form->openDialog().title = QStringLiteral("Open Text File");
        m_form->openDialog().fileName = QStringLiteral("leftover");
        m_form->openDialog().defaultExt = QStringLiteral("log");

        // At the caret: nothing is replaced, the caret ends after the inserted text.
        editor()->setCaret(5);
        m_prompts.openPaths = {source, path(QStringLiteral("ignored.txt"))};
        trigger("InsertFile1");
        QCOMPARE(m_prompts.errors, QStringList());
        QCOMPARE(editor()->bytes(), "HEAD|" + inserted + "TAIL");
        QCOMPARE(editor()->selStart(), 5 + inserted.size());
        QCOMPARE(editor()->selLength(), 0);
        QCOMPARE(docs().modifiedEntries().value(docs().tabIndex()), ModifiedEntry);
        QCOMPARE(m_form->statusBar1()->panelText(2), ModifiedEntry);
        QCOMPARE(m_form->scratchBuffer(), inserted);

        const FileDialogState shown = m_prompts.openDialogs.value(0);
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
        m_prompts.openPaths = {path(QStringLiteral("missing.txt"))};
        trigger("InsertFile1");
        QCOMPARE(m_prompts.errors.size(), 1);
        QVERIFY2(m_prompts.errors[0].contains(QStringLiteral("missing.txt")), qPrintable(m_prompts.errors[0]));
        QCOMPARE(editor()->bytes(), QByteArray("text"));
        QCOMPARE(docs().modifiedEntries().value(docs().tabIndex()), NotModifiedEntry);
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
        m_prompts.savePaths = {target};
        trigger("SaveSelection1");
        QCOMPARE(m_prompts.errors, QStringList());
        QCOMPARE(fileBytes(target), expected);
        QCOMPARE(docs().currentFile(), UntitledName);
        QCOMPARE(docs().modifiedEntries().value(docs().tabIndex()), NotModifiedEntry);
    }

    void saveSelectionDialogAndCancel()
    {
        QVERIFY(startWith("abc"));
        m_form->saveDialog().filter = QStringLiteral("Text Files|*.txt|All Files|*.*");
        m_form->saveSelectionDialog().fileName = QStringLiteral("proposed");
        m_form->saveSelectionDialog().defaultExt = QStringLiteral("sel");
        select(0, 2);
        trigger("SaveSelection2");
        QCOMPARE(m_prompts.saveDialogs.size(), 1);
        QCOMPARE(m_prompts.saveDialogs[0].title, QStringLiteral("Save Selection"));
        QCOMPARE(m_prompts.saveDialogs[0].filter, QStringLiteral("Text Files|*.txt|All Files|*.*"));
        QCOMPARE(m_prompts.saveDialogs[0].fileName, QStringLiteral("proposed"));
        // Cancelled: nothing written, but the hidden copy was made before the dialog.
        QCOMPARE(QDir(path(QString())).entryList(QDir::Files), QStringList());
        QCOMPARE(m_form->scratchBuffer(), QByteArray("ab\r\n"));

        // The dialog's default extension completes a bare name.
        m_prompts.savePaths = {path(QStringLiteral("bare"))};
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
        m_prompts.savePaths = {readOnly, blocker + QStringLiteral("/sel.txt")};
        trigger("SaveSelection1");
        trigger("SaveSelection1");
        QCOMPARE(m_prompts.errors.size(), 2);
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
        m_prompts.openPaths = {target};
        trigger("AppendtoFile1");
        QCOMPARE(m_prompts.errors, QStringList());
        QCOMPARE(fileBytes(target), expected);
        QCOMPARE(editor()->bytes(), QByteArray("[SEL]"));
        QCOMPARE(docs().modifiedEntries().value(docs().tabIndex()), NotModifiedEntry);
    }

    void appendShowsTheLastTitleGiven()
    {
        QVERIFY(startWith("abc"));
        select(0, 1);
        trigger("AppendSelectiontoFile1");
        m_prompts.openPaths.clear();
        trigger("InsertFile1");
        select(0, 1);
        trigger("AppendtoFile1");
        QCOMPARE(m_prompts.openDialogs.size(), 3);
        QCOMPARE(m_prompts.openDialogs[0].title, QStringLiteral("Open Text File"));
        QCOMPARE(m_prompts.openDialogs[2].title, QStringLiteral("Insert Text File"));
    }

    void failedAppendReportsAndKeepsTheOldFile()
    {
        QVERIFY(startWith("abc"));
        select(0, 3);
        // A missing file is not created.
        m_prompts.openPaths = {path(QStringLiteral("missing.txt"))};
        trigger("AppendtoFile1");
        QCOMPARE(m_prompts.errors.size(), 1);
        QVERIFY2(m_prompts.errors[0].contains(QStringLiteral("missing.txt")), qPrintable(m_prompts.errors[0]));
        QVERIFY(!QFile::exists(path(QStringLiteral("missing.txt"))));

        // A file that can be read but not written keeps its content.
        const QString readOnly = makeFile(QStringLiteral("readonly.txt"), "old\r\n");
        QVERIFY(QFile::setPermissions(readOnly, QFileDevice::ReadOwner | QFileDevice::ReadUser));
        m_prompts.openPaths = {readOnly};
        select(0, 3);
        trigger("AppendtoFile1");
        QCOMPARE(m_prompts.errors.size(), 2);
        QCOMPARE(fileBytes(readOnly), QByteArray("old\r\n"));
        QFile::setPermissions(readOnly, QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    }
};

QTEST_MAIN(TestSelectionFiles)
#include "tst_selectionfiles.moc"
