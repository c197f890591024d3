// The file and editing commands of the real main window: save, save as, save all with backups,
// saves that fail without harming the file on disk, close and close all, refresh from disk, the
// recent-file lists, the open dialog, the save pass before the program ends, and the clipboard
// and undo commands. Dialogs and questions are answered by a script; backups go to a temporary
// program directory and the store files to a temporary TMPDIR.

#include "core/commanderror.h"
#include "core/commandguard.h"
#include "core/prompts.h"
#include "mainwindow/mainwindow.h"
#include "mainwindow/statusbar.h"
#include "mainwindow/documenttabs.h"
#include "documents/documentset.h"
#include "editor/editorview.h"
#include "windows/configurationdialog.h"
#include "settings/recentfilesmenu.h"
#include "support/sandbox.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMenu>
#include <QProgressBar>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>

#include <algorithm>
#include <memory>

namespace {

// Answers questions from a queue (Cancel once it runs dry), returns scripted dialog choices and
// records everything the program asked or reported.
class ScriptedPrompts : public Prompts
{
public:
    QList<Answer> answers;
    QStringList questions;
    QStringList errors;
    QStringList savePaths; // one per Save As dialog; an empty string or none left: cancelled
    QStringList saveTitles;
    QStringList saveProposals;
    QStringList openPaths;
    QString openTitle;

    Answer question(const QString&, const QString& text) override
    {
        questions.append(text);
        return answers.isEmpty() ? Answer::Cancel : answers.takeFirst();
    }
    void warning(const QString&, const QString& text) override { errors.append(text); }
    void error(const QString& text) override { errors.append(text); }
    std::optional<QFont> chooseFont(const QFont&) override { return std::nullopt; }
    QStringList openFiles(FileDialogState& dialog) override
    {
        openTitle = dialog.title;
        return openPaths;
    }
    QString saveFile(FileDialogState& dialog) override
    {
        saveTitles.append(dialog.title);
        saveProposals.append(dialog.fileName);
        return savePaths.isEmpty() ? QString() : savePaths.takeFirst();
    }
};

const QString ExitQuestion = QStringLiteral("This Document has been modified, do you want to save it?");
const QString ClearQuestion = QStringLiteral("Are you sure you want to clear the Document?");

QByteArray fileBytes(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return QByteArray("<unreadable>");
    return file.readAll();
}

// Every line break (CR LF, lone LF, lone CR) as CR LF, worked out byte by byte.
QByteArray withCrlf(const QByteArray& text)
{
    QByteArray out;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] == '\r' || text[i] == '\n') {
            out += "\r\n";
            if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n')
                ++i;
        } else {
            out += text[i];
        }
    }
    return out;
}

// Random binary; in "dense" runs line-break bytes are frequent.
QByteArray randomBytes(qsizetype size, quint32 seed)
{
    static const char dense[] = {'\r', '\n', '\r', 'a', '\0', char(0x80), char(0xFF), '\n'};
    QRandomGenerator random(seed);
    QByteArray text;
    while (text.size() < size) {
        const bool thick = random.bounded(2) == 0;
        for (int i = random.bounded(1, 3000); i > 0; --i)
            text += thick ? dense[random.bounded(8)] : char(random.bounded(256));
    }
    return text;
}

} // namespace

class TestFileCommands : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<Sandbox> m_tmp;
    ScriptedPrompts m_prompts;
    Prompts* m_previousPrompts = nullptr;
    std::unique_ptr<MainWindow> m_form;
    QString m_programDir;

    // Creates and shows the main window; backups then go to the temporary program directory
    // (showing the window sets the program directory, so it is set again afterwards).
    bool start(const QStringList& arguments = {})
    {
        m_form = std::make_unique<MainWindow>(arguments);
        QuilForm1 = m_form.get();
        m_form->show();
        m_form->activateWindow();
        const bool active = QTest::qWaitForWindowActive(m_form.get());
        Config1->setProgramDirectory(m_programDir);
        return active;
    }

    // Tabs a, b, c (the first Untitled closed), with c current.
    bool startWithABC(QString* a, QString* b, QString* c)
    {
        *a = makeFile(QStringLiteral("a.txt"), "alpha\n");
        *b = makeFile(QStringLiteral("b.txt"), "beta\n");
        *c = makeFile(QStringLiteral("c.txt"), "gamma\n");
        if (!start({*a, *b, *c}))
            return false;
        docs().switchTo(0);
        closeDocument(false);
        return docs().fileList() == QStringList({*a, *b, *c}) && docs().tabIndex() == 2;
    }

    DocumentSet& docs() { return m_form->documents(); }
    EditorView* editor() { return m_form->editor(); }
    StatusBar* status() { return m_form->statusBar1(); }
    QProgressBar* progress() { return status()->progressBar(); }
    QAction* action(const char* name) { return m_form->action(QLatin1String(name)); }
    QString backupDir() { return m_programDir + QStringLiteral("Backup"); }

    QString makeFile(const QString& relative, const QByteArray& bytes)
    {
        const QString path = m_tmp->filePath(QStringLiteral("files/") + relative);
        QDir().mkpath(QFileInfo(path).path());
        QFile file(path);
        if (file.open(QIODevice::WriteOnly))
            file.write(bytes);
        return path;
    }

    // Types at the end of the text. Two keys or more mark an unmodified document modified.
    void typeAtEnd(const char* keys)
    {
        editor()->setCaret(editor()->textLength());
        QTest::keyClicks(editor(), QLatin1String(keys));
    }

    // Runs a handler outside the command guard and tells whether it ended quietly; an error it
    // throws is recorded as the guard's error box would show it.
    template <typename F> bool endsQuietly(F command)
    {
        try {
            command();
        } catch (const QuietEnd&) {
            return true;
        } catch (const CommandError& e) {
            m_prompts.errors.append(e.message());
        }
        return false;
    }

    void save()
    {
        endsQuietly([this] { m_form->SaveBtn1Click(); });
    }

    // Close or Close All, through its handler or through its menu item (inside the guard).
    bool closeDocument(bool throughAction)
    {
        return endsQuietly([&] { throughAction ? action("CloseDocument1")->trigger() : m_form->CloseDocBtn1Click(); });
    }

    bool closeAll(bool throughAction)
    {
        return endsQuietly([&] { throughAction ? action("CloseAll1")->trigger() : m_form->CloseAll1Click(); });
    }

private slots:
    void initTestCase() { MainWindow::StepPauseMs = 0; }

    void init()
    {
        m_tmp = std::make_unique<Sandbox>();
        QVERIFY(m_tmp->isValid());
        m_prompts = ScriptedPrompts();
        m_previousPrompts = Prompts::install(&m_prompts);
        m_programDir = m_tmp->filePath(QStringLiteral("program")) + QLatin1Char('/');
        QVERIFY(QDir().mkpath(m_programDir));
        Config1 = new ConfigurationDialog;
        QApplication::clipboard()->clear();
    }

    void cleanup()
    {
        m_form.reset();
        delete Config1;
        Config1 = nullptr;
        Prompts::install(m_previousPrompts);
        m_tmp.reset();
    }

    // --- Save ------------------------------------------------------------------------------

    void saveWritesCrlfAndMarksTheDocumentSaved()
    {
        const QString main = makeFile(QStringLiteral("main.txt"), "one\ntwo\rthree\r\n");
        const QString other = makeFile(QStringLiteral("other.txt"), "other");
        QVERIFY(start({main, other}));
        docs().switchTo(1);
        typeAtEnd("end");
        QCOMPARE(status()->panelText(2), ModifiedEntry);
        QCOMPARE(m_form->mruManager1()->items().value(0), other);

        save();
        QCOMPARE(fileBytes(main), QByteArray("one\r\ntwo\r\nthree\r\nend"));
        QCOMPARE(docs().captions()[1], QStringLiteral("main.txt"));
        QCOMPARE(m_form->tabControl()->tabs()->tabText(1), QStringLiteral("main.txt"));
        QCOMPARE(docs().modifiedEntries()[1], NotModifiedEntry);
        QCOMPARE(m_form->tabControl()->tabs()->picture(1), 0);
        QCOMPARE(status()->panelText(2), QString());
        QCOMPARE(status()->panelText(4), QStringLiteral("Done!"));
        QVERIFY(progress()->isHidden());
        QCOMPARE(m_form->mruManager1()->items().value(0), main);
        QCOMPARE(m_form->mruManager2()->items().value(0), main);
        QVERIFY(m_prompts.errors.isEmpty());

        // The editor's own changed flag was cleared too: one key is again not yet a change.
        typeAtEnd("!");
        QCOMPARE(docs().modifiedEntries()[1], NotModifiedEntry);
        typeAtEnd("!");
        QCOMPARE(docs().modifiedEntries()[1], ModifiedEntry);
    }

    // --- Data safety -----------------------------------------------------------------------

    void openAndSaveKeepsEveryByteButLineBreaks_data()
    {
        QTest::addColumn<QByteArray>("content");
        QByteArray all;
        for (int b = 0; b < 256; ++b)
            all += char(b);
        QTest::newRow("every byte value") << all;
        QByteArray backwards = all;
        std::reverse(backwards.begin(), backwards.end());
        QTest::newRow("every byte value, backwards") << backwards;
        QTest::newRow("random, seed 7") << randomBytes(20000, 7);
        QTest::newRow("random, seed 1234, past the write buffer") << randomBytes(1536 * 1024, 1234);
    }

    void openAndSaveKeepsEveryByteButLineBreaks()
    {
        QFETCH(QByteArray, content);
        const QString path = makeFile(QStringLiteral("bytes.bin"), content);
        QVERIFY(start({path}));
        QCOMPARE(editor()->bytes(), content);
        save();
        QVERIFY(m_prompts.errors.isEmpty());
        const QByteArray saved = fileBytes(path);
        const QByteArray expected = withCrlf(content);
        QCOMPARE(saved.size(), expected.size());
        QVERIFY(saved == expected);
    }

    void failedSaveKeepsTheOldFileAndMarksModified_data()
    {
        QTest::addColumn<bool>("readOnlyFile");
        QTest::newRow("read-only file") << true;
        QTest::newRow("parent is a regular file") << false;
    }

    void failedSaveKeepsTheOldFileAndMarksModified()
    {
        QFETCH(bool, readOnlyFile);
        const QByteArray old("old\ntext\n");
        const QString plain = makeFile(QStringLiteral("plain.txt"), old);
        QString path = plain;
        if (readOnlyFile)
            QVERIFY(QFile::setPermissions(plain, QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther));
        else
            path = plain + QStringLiteral("/child.txt");
        QVERIFY(start({path}));
        if (!readOnlyFile)
            typeAtEnd("new text");
        QCOMPARE(docs().modifiedEntries()[1], readOnlyFile ? NotModifiedEntry : ModifiedEntry);
        const QByteArray text = editor()->bytes();

        action("Save1")->trigger();
        QCOMPARE(m_prompts.errors.size(), 1);
        QVERIFY2(m_prompts.errors.first().contains(QFileInfo(path).fileName()), qPrintable(m_prompts.errors.first()));
        QCOMPARE(fileBytes(plain), old);
        QCOMPARE(QDir(QFileInfo(plain).path()).entryList(QDir::Files | QDir::Hidden),
                 QStringList{QStringLiteral("plain.txt")});
        QCOMPARE(docs().modifiedEntries()[1], ModifiedEntry);
        QCOMPARE(status()->panelText(2), ModifiedEntry);
        QCOMPARE(m_form->tabControl()->tabs()->picture(1), 1);
        QVERIFY(progress()->isHidden());
        QCOMPARE(editor()->bytes(), text);
    }

    // --- Save As ---------------------------------------------------------------------------

    void saveOnUntitledCancelledKeepsUntitledAndModified()
    {
        QVERIFY(start());
        typeAtEnd("draft");
        save();
        QCOMPARE(m_prompts.saveTitles, QStringList{QStringLiteral("Save Text")});
        QCOMPARE(m_prompts.saveProposals, QStringList{UntitledName});
        QCOMPARE(docs().captions(), QStringList{UntitledName});
        QCOMPARE(docs().fileList(), QStringList{UntitledName});
        QCOMPARE(docs().modifiedEntries(), QStringList{ModifiedEntry});
        QCOMPARE(m_form->tabControl()->tabs()->picture(0), 1);
        QCOMPARE(editor()->bytes(), QByteArray("draft"));
        QVERIFY(m_form->mruManager1()->items().isEmpty());
    }

    void saveOnUntitledWritesTheChosenFileAndRenamesTheDocument()
    {
        QVERIFY(start());
        typeAtEnd("draft");
        const QString path = m_tmp->filePath(QStringLiteral("out/new.txt"));
        QVERIFY(QDir().mkpath(QFileInfo(path).path()));
        m_prompts.savePaths = {path};
        save();

        QVERIFY(m_prompts.errors.isEmpty());
        QCOMPARE(m_prompts.saveTitles, QStringList{QStringLiteral("Save Text")});
        QCOMPARE(fileBytes(path), QByteArray("draft"));
        QCOMPARE(docs().captions(), QStringList{QStringLiteral("new.txt")});
        QCOMPARE(m_form->tabControl()->tabs()->tabText(0), QStringLiteral("new.txt"));
        QCOMPARE(docs().fileList(), QStringList{path});
        QCOMPARE(docs().modifiedEntries(), QStringList{NotModifiedEntry});
        QCOMPARE(m_form->tabControl()->tabs()->picture(0), 0);
        QCOMPARE(status()->panelText(2), QString());
        QCOMPARE(status()->panelText(4), QStringLiteral("Done!"));
        QVERIFY(progress()->isHidden());
        QCOMPARE(m_form->tabHint(), path + QStringLiteral(" - ") + NotModifiedEntry);
        QCOMPARE(m_form->editorHint(), path);
        QCOMPARE(m_form->windowTitle(), QStringLiteral("Quillet  - new.txt"));
        QCOMPARE(m_form->mruManager1()->items().value(0), path);
        QCOMPARE(m_form->mruManager2()->items().value(0), path);
        typeAtEnd("x");
        QCOMPARE(docs().modifiedEntries(), QStringList{NotModifiedEntry});
    }

    void saveAsToANewNameLeavesTheOldFileUntouched()
    {
        const QString old = makeFile(QStringLiteral("old.txt"), "old\n");
        QVERIFY(start({old}));
        typeAtEnd("er");
        const QString renamed = m_tmp->filePath(QStringLiteral("files/renamed.txt"));
        m_prompts.savePaths = {renamed};
        action("SaveAs1")->trigger();
        QCOMPARE(m_prompts.saveProposals, QStringList{QStringLiteral("old.txt")});
        QCOMPARE(fileBytes(old), QByteArray("old\n"));
        QCOMPARE(fileBytes(renamed), QByteArray("old\r\ner"));
        QCOMPARE(docs().fileList()[1], renamed);
        QCOMPARE(docs().captions()[1], QStringLiteral("renamed.txt"));
        QCOMPARE(docs().count(), 2);
    }

    void saveAsAddsTxtToANameWithoutExtension()
    {
        QVERIFY(start());
        typeAtEnd("bare");
        const QString bare = m_tmp->filePath(QStringLiteral("plain"));
        m_prompts.savePaths = {bare};
        action("SaveAsBtn1")->trigger();
        QVERIFY(!QFile::exists(bare));
        QCOMPARE(fileBytes(bare + QStringLiteral(".txt")), QByteArray("bare"));
        QCOMPARE(docs().fileList(), QStringList{bare + QStringLiteral(".txt")});
        QCOMPARE(docs().captions(), QStringList{QStringLiteral("plain.txt")});
    }

    // --- Backups ---------------------------------------------------------------------------

    void filesWithOneBaseNameShareOneBackupHoldingTheNewestText()
    {
        const QString first = makeFile(QStringLiteral("x/notes.txt"), "first\n");
        const QString second = makeFile(QStringLiteral("y/notes.log"), "second\n");
        QVERIFY(start({first, second}));
        QVERIFY(!QFileInfo::exists(backupDir()));
        docs().switchTo(1);
        save();
        QVERIFY(QFileInfo(backupDir()).isDir());
        QCOMPARE(fileBytes(backupDir() + QStringLiteral("/notes.BAK")), QByteArray("first\r\n"));
        docs().switchTo(2);
        typeAtEnd("more");
        save();
        QVERIFY(m_prompts.errors.isEmpty());
        QCOMPARE(QDir(backupDir()).entryList(QDir::Files), QStringList{QStringLiteral("notes.BAK")});
        QCOMPARE(fileBytes(backupDir() + QStringLiteral("/notes.BAK")), QByteArray("second\r\nmore"));
        QCOMPARE(fileBytes(first), QByteArray("first\r\n"));
    }

    // --- Save All --------------------------------------------------------------------------

    void saveAllWritesSavedDocumentsAndChangesNoEntry()
    {
        const QString a = makeFile(QStringLiteral("a.txt"), "alpha\n");
        const QString b = makeFile(QStringLiteral("b.txt"), "beta\n");
        const QString c = makeFile(QStringLiteral("c.txt"), "gamma\n");
        QVERIFY(start({a, b, c}));
        docs().switchTo(0);
        typeAtEnd("untitled");
        docs().switchTo(1);
        typeAtEnd("A1");
        docs().switchTo(2);
        typeAtEnd("B2"); // only in the editor: its store file still holds the text as opened
        QCOMPARE(docs().modifiedEntries(),
                 (QStringList{ModifiedEntry, ModifiedEntry, ModifiedEntry, NotModifiedEntry}));
        const QStringList captions = docs().captions();
        const QStringList modified = docs().modifiedEntries();
        const QStringList positions = docs().positions();

        action("SaveAll1")->trigger();
        QCOMPARE(fileBytes(a), QByteArray("alpha\r\nA1"));
        QCOMPARE(fileBytes(b), QByteArray("beta\r\nB2"));
        QCOMPARE(fileBytes(c), QByteArray("gamma\r\n"));
        QCOMPARE(fileBytes(backupDir() + QStringLiteral("/b.BAK")), QByteArray("beta\r\nB2"));
        QVERIFY(m_prompts.questions.isEmpty());
        QVERIFY(m_prompts.saveTitles.isEmpty());
        QVERIFY(m_prompts.errors.isEmpty());
        QVERIFY(!QFileInfo::exists(m_tmp->filePath(UntitledName))); // nor under its caption
        QCOMPARE(docs().captions(), captions);
        QCOMPARE(docs().fileList()[0], UntitledName);
        QCOMPARE(docs().modifiedEntries(), modified);
        QCOMPARE(docs().positions(), positions);
        QCOMPARE(docs().tabIndex(), 2);
        QCOMPARE(editor()->bytes(), QByteArray("beta\nB2"));
        QCOMPARE(status()->panelText(2), ModifiedEntry);
        QVERIFY(progress()->isHidden());
        QVERIFY(m_form->scratchBuffer().isEmpty());
    }

    // --- Close and Close All ---------------------------------------------------------------

    void closeCases_data()
    {
        QTest::addColumn<bool>("throughAction");
        QTest::newRow("handler") << false;
        QTest::newRow("action") << true;
    }

    void closingTheOnlyModifiedDocumentAnsweredNoKeepsIt_data() { closeCases_data(); }
    void closingTheOnlyModifiedDocumentAnsweredNoKeepsIt()
    {
        QFETCH(bool, throughAction);
        const QString a = makeFile(QStringLiteral("a.txt"), "alpha\n");
        QVERIFY(start({a}));
        docs().switchTo(0);
        QVERIFY(!closeDocument(false));
        QCOMPARE(docs().fileList(), QStringList{a});
        typeAtEnd("edit");
        m_prompts.answers = {Answer::No};
        const bool quiet = closeDocument(throughAction);
        QVERIFY(!quiet);
        QCOMPARE(m_prompts.questions, QStringList{CloseModifiedQuestion});
        QCOMPARE(docs().fileList(), QStringList{a});
        QCOMPARE(docs().modifiedEntries(), QStringList{ModifiedEntry});
        QCOMPARE(status()->panelText(2), ModifiedEntry);
        QCOMPARE(editor()->bytes(), QByteArray("alpha\nedit"));
        QCOMPARE(fileBytes(a), QByteArray("alpha\n"));
    }

    void closingAnUnmodifiedMiddleDocumentMakesTheLastCurrent_data() { closeCases_data(); }
    void closingAnUnmodifiedMiddleDocumentMakesTheLastCurrent()
    {
        QFETCH(bool, throughAction);
        QString a, b, c;
        QVERIFY(startWithABC(&a, &b, &c));
        docs().switchTo(1);
        const bool quiet = closeDocument(throughAction);
        QVERIFY(!quiet);
        QVERIFY(m_prompts.questions.isEmpty());
        QCOMPARE(docs().fileList(), (QStringList{a, c}));
        QCOMPARE(docs().tabIndex(), 1);
        QCOMPARE(m_form->tabControl()->tabIndex(), 1);
        QCOMPARE(m_form->tabControl()->tabs()->count(), 2);
        QCOMPARE(editor()->bytes(), QByteArray("gamma\n"));
        QCOMPARE(m_form->windowTitle(), QStringLiteral("Quillet  - c.txt"));
        QCOMPARE(m_form->tabHint(), c + QStringLiteral(" - ") + NotModifiedEntry);
    }

    void closingAModifiedCurrentDocumentWithYesDiscardsItAndEndsQuietly_data() { closeCases_data(); }
    void closingAModifiedCurrentDocumentWithYesDiscardsItAndEndsQuietly()
    {
        QFETCH(bool, throughAction);
        QString a, b, c;
        QVERIFY(startWithABC(&a, &b, &c));
        docs().switchTo(0);
        typeAtEnd("lost");
        m_prompts.answers = {Answer::Yes};
        const bool quiet = closeDocument(throughAction);
        QCOMPARE(quiet, !throughAction);
        QCOMPARE(m_prompts.questions, QStringList{CloseModifiedQuestion});
        QVERIFY(m_prompts.errors.isEmpty());
        QCOMPARE(docs().fileList(), (QStringList{b, c}));
        QCOMPARE(docs().tabIndex(), 1);
        QCOMPARE(editor()->bytes(), QByteArray("gamma\n"));
        QCOMPARE(status()->panelText(2), QString());
        QCOMPARE(fileBytes(a), QByteArray("alpha\n"));
    }

    void closeAllAnsweredYesLeavesOneEmptyUntitled_data() { closeCases_data(); }
    void closeAllAnsweredYesLeavesOneEmptyUntitled()
    {
        QFETCH(bool, throughAction);
        const QString a = makeFile(QStringLiteral("a.txt"), "alpha\n");
        const QString b = makeFile(QStringLiteral("b.txt"), "beta\n");
        const QString c = makeFile(QStringLiteral("c.txt"), "gamma\n");
        const QString d = makeFile(QStringLiteral("d.txt"), "delta\n");
        QVERIFY(start({a, b, c, d}));
        for (int i : {0, 1, 3}) {
            docs().switchTo(i);
            typeAtEnd("changed");
        }
        QCOMPARE(docs().modifiedEntries().count(ModifiedEntry), 3);
        m_prompts.answers = {Answer::Yes};
        const bool quiet = closeAll(throughAction);
        QVERIFY(!quiet);
        QCOMPARE(m_prompts.questions, QStringList{CloseAllQuestion});
        QCOMPARE(docs().captions(), QStringList{UntitledName});
        QCOMPARE(docs().fileList(), QStringList{UntitledName});
        QCOMPARE(docs().modifiedEntries(), QStringList{NotModifiedEntry});
        QCOMPARE(m_form->tabControl()->tabs()->count(), 1);
        QCOMPARE(editor()->bytes(), QByteArray());
        QCOMPARE(m_form->editorHint(), UntitledName);
        QCOMPARE(m_form->windowTitle(), QStringLiteral("Quillet  - Untitled"));
        QCOMPARE(fileBytes(a), QByteArray("alpha\n"));
        QCOMPARE(fileBytes(b), QByteArray("beta\n"));
        QCOMPARE(fileBytes(c), QByteArray("gamma\n"));
    }

    void closeAllAnsweredNoOrCancelChangesNothing_data()
    {
        QTest::addColumn<bool>("throughAction");
        QTest::addColumn<Answer>("answer");
        QTest::newRow("handler, No") << false << Answer::No;
        QTest::newRow("handler, Cancel") << false << Answer::Cancel;
        QTest::newRow("action, No") << true << Answer::No;
        QTest::newRow("action, Cancel") << true << Answer::Cancel;
    }

    void closeAllAnsweredNoOrCancelChangesNothing()
    {
        QFETCH(bool, throughAction);
        QFETCH(Answer, answer);
        const QString a = makeFile(QStringLiteral("a.txt"), "alpha\n");
        QVERIFY(start({a}));
        typeAtEnd("changed");
        const QStringList files = docs().fileList();
        const QStringList modified = docs().modifiedEntries();
        m_prompts.answers = {answer};
        const bool quiet = closeAll(throughAction);
        QCOMPARE(quiet, !throughAction && answer == Answer::Cancel);
        QCOMPARE(m_prompts.questions.size(), 1);
        QVERIFY(m_prompts.errors.isEmpty());
        QCOMPARE(docs().fileList(), files);
        QCOMPARE(docs().modifiedEntries(), modified);
        QCOMPARE(docs().tabIndex(), 1);
        QCOMPARE(editor()->bytes(), QByteArray("alpha\nchanged"));
        QCOMPARE(fileBytes(a), QByteArray("alpha\n"));
    }

    // --- Editing ---------------------------------------------------------------------------

    void clipboardCommands_data()
    {
        QTest::addColumn<QString>("command");
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<QString>("clipboard");
        QTest::addColumn<bool>("modified");
        QTest::newRow("Copy") << "Copy1" << QByteArray("hello world") << "hello" << false;
        QTest::newRow("Copy button") << "CopyBtn1" << QByteArray("hello world") << "hello" << false;
        QTest::newRow("Cut") << "Cut1" << QByteArray(" world") << "hello" << true;
        QTest::newRow("Cut button") << "CutBtn1" << QByteArray(" world") << "hello" << true;
        QTest::newRow("Paste over the selection") << "Paste1" << QByteArray("before world") << "before" << true;
    }

    void clipboardCommands()
    {
        QFETCH(QString, command);
        QFETCH(QByteArray, text);
        QFETCH(QString, clipboard);
        QFETCH(bool, modified);
        QVERIFY(start({makeFile(QStringLiteral("h.txt"), "hello world")}));
        QApplication::clipboard()->setText(QStringLiteral("before"));
        editor()->SendScintilla(QsciScintillaBase::SCI_SETSEL, 0UL, 5L);
        m_form->action(command)->trigger();
        QCOMPARE(editor()->bytes(), text);
        QCOMPARE(QApplication::clipboard()->text(), clipboard);
        QCOMPARE(docs().modifiedEntries()[1], modified ? ModifiedEntry : NotModifiedEntry);
        QCOMPARE(status()->panelText(2), modified ? ModifiedEntry : QString());
    }

    void copyAllCopiesEverythingAndLeavesTheCaretAtTheStart()
    {
        QVERIFY(start({makeFile(QStringLiteral("h.txt"), "first line\r\nsecond line")}));
        editor()->setCaret(14);
        action("CopyAll1")->trigger();
        QCOMPARE(QApplication::clipboard()->text(), QStringLiteral("first line\r\nsecond line"));
        QCOMPARE(editor()->selStart(), 0);
        QCOMPARE(editor()->selLength(), 0);
        QCOMPARE(docs().modifiedEntries()[1], NotModifiedEntry);
    }

    void clearAll_data()
    {
        QTest::addColumn<Answer>("answer");
        QTest::addColumn<bool>("cleared");
        QTest::newRow("No") << Answer::No << false;
        QTest::newRow("Cancel") << Answer::Cancel << false;
        QTest::newRow("Yes") << Answer::Yes << true;
    }

    void clearAll()
    {
        QFETCH(Answer, answer);
        QFETCH(bool, cleared);
        QVERIFY(start({makeFile(QStringLiteral("h.txt"), "some text")}));
        m_prompts.answers = {answer};
        action("ClearAll1")->trigger();
        QCOMPARE(m_prompts.questions, QStringList{ClearQuestion});
        QVERIFY(m_prompts.errors.isEmpty());
        QCOMPARE(editor()->bytes(), cleared ? QByteArray() : QByteArray("some text"));
        QCOMPARE(docs().modifiedEntries()[1], cleared ? ModifiedEntry : NotModifiedEntry);
        QCOMPARE(status()->panelText(2), cleared ? ModifiedEntry : QString());
    }

    void undoTwiceRestoresTheTextAndEachUndoMarksModified()
    {
        QVERIFY(start({makeFile(QStringLiteral("u.txt"), "base")}));
        typeAtEnd("x"); // one key: not yet modified
        QCOMPARE(docs().modifiedEntries()[1], NotModifiedEntry);
        action("UndoRedo1")->trigger();
        QCOMPARE(editor()->bytes(), QByteArray("base"));
        QCOMPARE(docs().modifiedEntries()[1], ModifiedEntry);
        save(); // back to "Not Modified"; saving is no edit
        QCOMPARE(docs().modifiedEntries()[1], NotModifiedEntry);
        action("UndoBtn1")->trigger();
        QCOMPARE(editor()->bytes(), QByteArray("basex"));
        QCOMPARE(docs().modifiedEntries()[1], ModifiedEntry);
    }

    void selectionEnablesTheSelectionCommands()
    {
        QVERIFY(start({makeFile(QStringLiteral("s.txt"), "select me")}));
        const char* const commands[] = {"CutBtn1", "CopyBtn1", "Cut1", "Copy1", "Delete1", "Selection1"};
        for (const char* name : commands)
            QVERIFY2(!action(name)->isEnabled(), name);
        editor()->SendScintilla(QsciScintillaBase::SCI_SETSEL, 2UL, 3L);
        for (const char* name : commands)
            QVERIFY2(action(name)->isEnabled(), name);
        QVERIFY(action("Properties1")->isEnabled()); // the options window does not depend on the selection
        editor()->setCaret(4);
        for (const char* name : commands)
            QVERIFY2(!action(name)->isEnabled(), name);
    }

    // --- Recent files ----------------------------------------------------------------------

    void missingPathGivesAnEmptyDocumentOnTopOfTheRecentLists()
    {
        QVERIFY(start({makeFile(QStringLiteral("a.txt"), "alpha")}));
        const QString missing = m_tmp->filePath(QStringLiteral("files/missing.txt"));
        m_form->OpenFileByPath(missing);
        QCOMPARE(docs().captions().last(), QStringLiteral("missing.txt"));
        QCOMPARE(docs().fileList().last(), missing);
        QCOMPARE(docs().modifiedEntries().last(), NotModifiedEntry);
        QCOMPARE(editor()->bytes(), QByteArray());
        QCOMPARE(m_form->mruManager1()->items().value(0), missing);
        QCOMPARE(m_form->mruManager2()->items().value(0), missing);
        QVERIFY(!QFile::exists(missing));
        // Saving it creates it.
        typeAtEnd("now here");
        save();
        QVERIFY(m_prompts.errors.isEmpty());
        QCOMPARE(fileBytes(missing), QByteArray("now here"));
    }

    void choosingARecentFileOpensItAgainOnTop_data()
    {
        QTest::addColumn<QString>("submenu");
        QTest::newRow("File menu") << "ReOpen1";
        QTest::newRow("notification-area menu") << "ReOpen2";
    }

    void choosingARecentFileOpensItAgainOnTop()
    {
        QFETCH(QString, submenu);
        const QString a = makeFile(QStringLiteral("a.txt"), "alpha");
        const QString b = makeFile(QStringLiteral("b.txt"), "beta");
        QVERIFY(start({a, b}));
        QCOMPARE(m_form->mruManager1()->items(), (QStringList{b, a}));
        QAction* entry = nullptr;
        for (QAction* item : m_form->action(submenu)->menu()->actions())
            if (item->text().endsWith(a))
                entry = item;
        QVERIFY(entry);
        entry->trigger();
        QCOMPARE(docs().fileList(), (QStringList{UntitledName, a, b, a}));
        QCOMPARE(docs().tabIndex(), 3);
        QCOMPARE(editor()->bytes(), QByteArray("alpha"));
        QCOMPARE(m_form->mruManager1()->items(), (QStringList{a, b}));
        QCOMPARE(m_form->mruManager2()->items(), (QStringList{a, b}));
    }

    void removeAllEmptiesBothRecentLists_data()
    {
        QTest::addColumn<QString>("command");
        QTest::newRow("File menu") << "RemoveAll1";
        QTest::newRow("notification-area menu") << "RemoveAll2";
    }

    void removeAllEmptiesBothRecentLists()
    {
        QFETCH(QString, command);
        QVERIFY(start({makeFile(QStringLiteral("a.txt"), "alpha"), makeFile(QStringLiteral("b.txt"), "beta")}));
        QCOMPARE(m_form->mruManager2()->items().size(), 2);
        m_form->action(command)->trigger();
        QVERIFY(m_form->mruManager1()->items().isEmpty());
        QVERIFY(m_form->mruManager2()->items().isEmpty());
        QCOMPARE(action("ReOpen1")->menu()->actions(), QList<QAction*>{action("RemoveAll1")});
        QCOMPARE(docs().count(), 3);
    }

    // --- Refresh From Disk -----------------------------------------------------------------

    void refreshOnUntitledDoesNothing()
    {
        QVERIFY(start());
        typeAtEnd("typed");
        action("RefreshFromDisk1")->trigger();
        QCOMPARE(editor()->bytes(), QByteArray("typed"));
        QVERIFY(m_prompts.errors.isEmpty());
        QCOMPARE(docs().modifiedEntries(), QStringList{ModifiedEntry});
    }

    void refreshDiscardsUnsavedEditsWithoutAsking()
    {
        const QString path = makeFile(QStringLiteral("r.txt"), "on disk\n");
        QVERIFY(start({path}));
        typeAtEnd("unsaved");
        action("RefreshFromDisk1")->trigger();
        QCOMPARE(editor()->bytes(), QByteArray("on disk\n"));
        QVERIFY(m_prompts.questions.isEmpty());
        QVERIFY(m_prompts.errors.isEmpty());
        QVERIFY(!editor()->modifiedFlag());
        QCOMPARE(fileBytes(path), QByteArray("on disk\n"));
    }

    void refreshOfAFileGoneFromDiskReportsAndKeepsTheText()
    {
        const QString path = makeFile(QStringLiteral("r.txt"), "on disk\n");
        QVERIFY(start({path}));
        typeAtEnd("unsaved");
        QVERIFY(QFile::remove(path));
        action("RefreshFromDisk1")->trigger();
        QCOMPARE(m_prompts.errors.size(), 1);
        QCOMPARE(editor()->bytes(), QByteArray("on disk\nunsaved"));
    }

    // --- Save pass before the program ends -------------------------------------------------

    void exitSavePassWithoutYesWritesNothing_data()
    {
        QTest::addColumn<QList<Answer>>("answers");
        QTest::addColumn<bool>("goesOn");
        QTest::addColumn<int>("questions");
        QTest::newRow("No to both") << QList{Answer::No, Answer::No} << true << 2;
        QTest::newRow("Cancel") << QList{Answer::Cancel} << false << 1;
    }

    void exitSavePassWithoutYesWritesNothing()
    {
        QFETCH(QList<Answer>, answers);
        QFETCH(bool, goesOn);
        QFETCH(int, questions);
        const QString a = makeFile(QStringLiteral("a.txt"), "alpha\n");
        const QString b = makeFile(QStringLiteral("b.txt"), "beta\n");
        QVERIFY(start({a, b}));
        docs().switchTo(1);
        typeAtEnd("A1");
        docs().switchTo(2);
        typeAtEnd("B2");
        m_prompts.answers = answers;
        QCOMPARE(m_form->ExitSavePass(), goesOn);
        QCOMPARE(m_prompts.questions, QStringList(questions, ExitQuestion));
        QVERIFY(m_prompts.saveTitles.isEmpty());
        QCOMPARE(fileBytes(a), QByteArray("alpha\n"));
        QCOMPARE(fileBytes(b), QByteArray("beta\n"));
        QVERIFY(!QFileInfo::exists(backupDir()));
        QCOMPARE(docs().modifiedEntries(), (QStringList{NotModifiedEntry, ModifiedEntry, ModifiedEntry}));
    }

    void exitSavePassYesOnUntitledWithSaveAsCancelledCancelsTheExit()
    {
        QVERIFY(start());
        typeAtEnd("draft");
        m_prompts.answers = {Answer::Yes};
        QVERIFY(!m_form->ExitSavePass());
        QCOMPARE(m_prompts.saveTitles, QStringList{QStringLiteral("Save Text")});
        QCOMPARE(docs().fileList(), QStringList{UntitledName});
        QCOMPARE(docs().modifiedEntries(), QStringList{ModifiedEntry});
    }

    void exitSavePassYesWritesTheDocument()
    {
        const QString a = makeFile(QStringLiteral("a.txt"), "alpha\n");
        QVERIFY(start({a}));
        typeAtEnd("A1");
        m_prompts.answers = {Answer::Yes};
        QVERIFY(m_form->ExitSavePass());
        QCOMPARE(m_prompts.questions, QStringList{ExitQuestion});
        QCOMPARE(fileBytes(a), QByteArray("alpha\r\nA1"));
        QCOMPARE(docs().modifiedEntries()[1], NotModifiedEntry);
    }

    void exitSavePassWithAFailingSaveCancelsTheExit()
    {
        const QString a = makeFile(QStringLiteral("a.txt"), "alpha\n");
        QVERIFY(QFile::setPermissions(a, QFile::ReadOwner));
        QVERIFY(start({a}));
        typeAtEnd("A1");
        m_prompts.answers = {Answer::Yes};
        QVERIFY(!m_form->ExitSavePass());
        QCOMPARE(m_prompts.errors.size(), 1);
        QCOMPARE(fileBytes(a), QByteArray("alpha\n"));
        QCOMPARE(docs().modifiedEntries()[1], ModifiedEntry);
    }

    void endingTheProgramCancelledKeepsTheWindowOpen_data()
    {
        QTest::addColumn<bool>("throughExit");
        QTest::newRow("closing the window") << false;
        QTest::newRow("Exit command") << true;
    }

    void endingTheProgramCancelledKeepsTheWindowOpen()
    {
        QFETCH(bool, throughExit);
        const QString a = makeFile(QStringLiteral("a.txt"), "alpha\n");
        QVERIFY(start({a}));
        typeAtEnd("A1");
        const QStringList modified = docs().modifiedEntries();
        const QStringList store = docs().storeFiles();
        m_prompts.answers = {Answer::Cancel};
        if (throughExit)
            action("Exit1")->trigger();
        else
            QVERIFY(!m_form->close());
        QCOMPARE(m_prompts.questions, QStringList{ExitQuestion});
        QVERIFY(m_form->isVisible());
        QVERIFY(!m_form->exitRequested());
        QCOMPARE(docs().modifiedEntries(), modified);
        QCOMPARE(editor()->bytes(), QByteArray("alpha\nA1"));
        for (const QString& file : store)
            QVERIFY2(QFile::exists(file), qPrintable(file));
        QCOMPARE(fileBytes(a), QByteArray("alpha\n"));
    }

    // --- Open ------------------------------------------------------------------------------

    void openAddsTheChosenFilesInOrderLastCurrent()
    {
        const QString a = makeFile(QStringLiteral("a.txt"), "alpha");
        const QString b = makeFile(QStringLiteral("b.txt"), "beta");
        const QString c = makeFile(QStringLiteral("c.txt"), "gamma");
        QVERIFY(start({a}));
        m_prompts.openPaths = {b, a, c}; // a is open already: it gets a second tab
        action("Open1")->trigger();
        QCOMPARE(m_prompts.openTitle, QStringLiteral("Open Text File"));
        QCOMPARE(docs().fileList(), (QStringList{UntitledName, a, b, a, c}));
        QCOMPARE(docs().captions(), (QStringList{UntitledName, QStringLiteral("a.txt"), QStringLiteral("b.txt"),
                                                 QStringLiteral("a.txt"), QStringLiteral("c.txt")}));
        QCOMPARE(docs().tabIndex(), 4);
        QCOMPARE(m_form->tabControl()->tabs()->count(), 5);
        QCOMPARE(editor()->bytes(), QByteArray("gamma"));
        QCOMPARE(m_form->mruManager1()->items(), (QStringList{c, a, b}));
        docs().switchTo(3);
        QCOMPARE(editor()->bytes(), QByteArray("alpha"));
    }
};

QTEST_MAIN(TestFileCommands)
#include "tst_filecommands.moc"
