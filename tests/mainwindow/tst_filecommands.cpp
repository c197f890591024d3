// The file and editing commands of the real main window: save, save as, save all with backups,
// saves that fail without harming the file on disk, close and close all, refresh from disk, the
// recent-file lists, the open dialog, the save pass before the program ends, and the clipboard
// and undo commands. Dialogs and questions are answered by a script; backups go to a temporary
// program directory and the store files to a temporary TMPDIR.

#include "core/commanderror.h"
#include "core/commandguard.h"
#include "documents/filesave.h"
#include "editor/editorviews.h"
#include "mainwindow/filecontroller.h"
#include "settings/recentfilesmenu.h"
#include "support/mainwindowfixture.h"
#include "support/pipewatch.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMenu>
#include <QProgressBar>
#include <QRandomGenerator>
#include <QStackedWidget>
#include <QTest>

#include <algorithm>
#include <memory>
#include <sys/stat.h>

namespace {

const QString ExitQuestion = QStringLiteral("This Document has been modified, do you want to save it?");
const QString ClearQuestion = QStringLiteral("Are you sure you want to clear the Document?");

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

class TestFileCommands : public MainWindowTest
{
    Q_OBJECT

private:
    // The titles and proposed names of the save dialogs shown, in order.
    QStringList saveTitles()
    {
        QStringList titles;
        for (const FileDialogState& dialog : prompts().saveDialogs)
            titles.append(dialog.title);
        return titles;
    }
    QStringList saveProposals()
    {
        QStringList names;
        for (const FileDialogState& dialog : prompts().saveDialogs)
            names.append(dialog.fileName);
        return names;
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
        return displayPathsOf(docs()) == QStringList({*a, *b, *c}) && docs().currentIndex() == 2;
    }

    QProgressBar* progress() { return status()->progressBar(); }
    QString backupDir() { return m_fixture->programDir + QStringLiteral("Backup"); }

    // Types at the end of the text. Two keys or more mark an unmodified document modified.

    // Runs a handler outside the command guard and tells whether it ended quietly; an error it
    // throws is recorded as the guard's error box would show it.
    template <typename F> bool endsQuietly(F command)
    {
        try {
            command();
        } catch (const QuietEnd&) {
            return true;
        } catch (const CommandError& e) {
            prompts().errors.append(e.message());
        }
        return false;
    }

    void save()
    {
        endsQuietly([this] { form()->files().save(); });
    }

    // Close or Close All, through its handler or through its menu item (inside the guard).
    bool closeDocument(bool throughAction)
    {
        return endsQuietly(
            [&] { throughAction ? action("CloseDocument1")->trigger() : form()->files().closeDocument(); });
    }

    bool closeAll(bool throughAction)
    {
        return endsQuietly([&] { throughAction ? action("CloseAll1")->trigger() : form()->files().closeAll(); });
    }

private slots:
    void init()
    {
        newFixture();
        QVERIFY(m_fixture->sandbox.isValid());
        QApplication::clipboard()->clear();
    }

    void cleanup() { m_fixture.reset(); }

    // --- Save ------------------------------------------------------------------------------

    void saveWritesCrlfAndMarksTheDocumentSaved()
    {
        const QString main = makeFile(QStringLiteral("main.txt"), "one\ntwo\rthree\r\n");
        const QString other = makeFile(QStringLiteral("other.txt"), "other");
        QVERIFY(start({main, other}));
        docs().switchTo(1);
        typeAtEnd("end");
        QCOMPARE(status()->panelText(2), ModifiedWord);
        QCOMPARE(form()->recentFilesMenu()->items().value(0), other);

        save();
        QCOMPARE(fileBytes(main), QByteArray("one\r\ntwo\r\nthree\r\nend"));
        QCOMPARE(captionsOf(docs())[1], QStringLiteral("main.txt"));
        QCOMPARE(form()->documentTabs()->tabs()->tabText(1), QStringLiteral("main.txt"));
        QCOMPARE(modifiedWordsOf(docs())[1], NotModifiedWord);
        QCOMPARE(form()->documentTabs()->tabs()->picture(1), 0);
        QCOMPARE(status()->panelText(2), QString());
        QCOMPARE(status()->panelText(4), QStringLiteral("Done!"));
        QVERIFY(progress()->isHidden());
        QCOMPARE(form()->recentFilesMenu()->items().value(0), main);
        QCOMPARE(form()->trayRecentFilesMenu()->items().value(0), main);
        QVERIFY(prompts().errors.isEmpty());

        // The editor's own changed flag was cleared too: one key is again not yet a change.
        typeAtEnd("!");
        QCOMPARE(modifiedWordsOf(docs())[1], NotModifiedWord);
        typeAtEnd("!");
        QCOMPARE(modifiedWordsOf(docs())[1], ModifiedWord);
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
        QVERIFY(prompts().errors.isEmpty());
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
        QCOMPARE(modifiedWordsOf(docs())[1], readOnlyFile ? NotModifiedWord : ModifiedWord);
        const QByteArray text = editor()->bytes();

        action("Save1")->trigger();
        QCOMPARE(prompts().errors.size(), 1);
        QVERIFY2(prompts().errors.first().contains(QFileInfo(path).fileName()), qPrintable(prompts().errors.first()));
        QCOMPARE(fileBytes(plain), old);
        QCOMPARE(QDir(QFileInfo(plain).path()).entryList(QDir::Files | QDir::Hidden),
                 QStringList{QStringLiteral("plain.txt")});
        QCOMPARE(modifiedWordsOf(docs())[1], ModifiedWord);
        QCOMPARE(status()->panelText(2), ModifiedWord);
        QCOMPARE(form()->documentTabs()->tabs()->picture(1), 1);
        QVERIFY(progress()->isHidden());
        QCOMPARE(editor()->bytes(), text);
    }

    // --- Save As ---------------------------------------------------------------------------

    void saveOnUntitledCancelledKeepsUntitledAndModified()
    {
        QVERIFY(start());
        typeAtEnd("draft");
        save();
        QCOMPARE(saveTitles(), QStringList{QStringLiteral("Save Text")});
        QCOMPARE(saveProposals(), QStringList{UntitledName});
        QCOMPARE(captionsOf(docs()), QStringList{UntitledName});
        QCOMPARE(displayPathsOf(docs()), QStringList{UntitledName});
        QCOMPARE(modifiedWordsOf(docs()), QStringList{ModifiedWord});
        QCOMPARE(form()->documentTabs()->tabs()->picture(0), 1);
        QCOMPARE(editor()->bytes(), QByteArray("draft"));
        QVERIFY(form()->recentFilesMenu()->items().isEmpty());
    }

    void saveOnUntitledWritesTheChosenFileAndRenamesTheDocument()
    {
        QVERIFY(start());
        typeAtEnd("draft");
        const QString path = m_fixture->sandbox.filePath(QStringLiteral("out/new.txt"));
        QVERIFY(QDir().mkpath(QFileInfo(path).path()));
        prompts().savePaths = {path};
        save();

        QVERIFY(prompts().errors.isEmpty());
        QCOMPARE(saveTitles(), QStringList{QStringLiteral("Save Text")});
        QCOMPARE(fileBytes(path), QByteArray("draft"));
        QCOMPARE(captionsOf(docs()), QStringList{QStringLiteral("new.txt")});
        QCOMPARE(form()->documentTabs()->tabs()->tabText(0), QStringLiteral("new.txt"));
        QCOMPARE(displayPathsOf(docs()), QStringList{path});
        QCOMPARE(modifiedWordsOf(docs()), QStringList{NotModifiedWord});
        QCOMPARE(form()->documentTabs()->tabs()->picture(0), 0);
        QCOMPARE(status()->panelText(2), QString());
        QCOMPARE(status()->panelText(4), QStringLiteral("Done!"));
        QVERIFY(progress()->isHidden());
        QCOMPARE(form()->tabHint(), path + QStringLiteral(" - ") + NotModifiedWord);
        QCOMPARE(form()->editorHint(), path);
        QCOMPARE(form()->windowTitle(), QStringLiteral("Quillet  - new.txt"));
        QCOMPARE(form()->recentFilesMenu()->items().value(0), path);
        QCOMPARE(form()->trayRecentFilesMenu()->items().value(0), path);
        typeAtEnd("x");
        QCOMPARE(modifiedWordsOf(docs()), QStringList{NotModifiedWord});
    }

    void saveAsToANewNameLeavesTheOldFileUntouched()
    {
        const QString old = makeFile(QStringLiteral("old.txt"), "old\n");
        QVERIFY(start({old}));
        typeAtEnd("er");
        const QString renamed = m_fixture->sandbox.filePath(QStringLiteral("files/renamed.txt"));
        prompts().savePaths = {renamed};
        action("SaveAs1")->trigger();
        QCOMPARE(saveProposals(), QStringList{QStringLiteral("old.txt")});
        QCOMPARE(fileBytes(old), QByteArray("old\n"));
        QCOMPARE(fileBytes(renamed), QByteArray("old\r\ner"));
        QCOMPARE(displayPathsOf(docs())[1], renamed);
        QCOMPARE(captionsOf(docs())[1], QStringLiteral("renamed.txt"));
        QCOMPARE(docs().count(), 2);
    }

    void saveAsAddsTxtToANameWithoutExtension()
    {
        QVERIFY(start());
        typeAtEnd("bare");
        const QString bare = m_fixture->sandbox.filePath(QStringLiteral("plain"));
        prompts().savePaths = {bare};
        action("SaveAsBtn1")->trigger();
        QVERIFY(!QFile::exists(bare));
        QCOMPARE(fileBytes(bare + QStringLiteral(".txt")), QByteArray("bare"));
        QCOMPARE(displayPathsOf(docs()), QStringList{bare + QStringLiteral(".txt")});
        QCOMPARE(captionsOf(docs()), QStringList{QStringLiteral("plain.txt")});
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
        // Backups are copies of what the user saves: nobody else may look into their folder.
        constexpr QFile::Permissions others = QFile::ReadGroup | QFile::WriteGroup | QFile::ExeGroup |
                                              QFile::ReadOther | QFile::WriteOther | QFile::ExeOther;
        QCOMPARE(QFileInfo(backupDir()).permissions() & others, QFile::Permissions());
        QCOMPARE(fileBytes(backupDir() + QStringLiteral("/notes.BAK")), QByteArray("first\r\n"));
        docs().switchTo(2);
        typeAtEnd("more");
        save();
        QVERIFY(prompts().errors.isEmpty());
        QCOMPARE(QDir(backupDir()).entryList(QDir::Files), QStringList{QStringLiteral("notes.BAK")});
        QCOMPARE(fileBytes(backupDir() + QStringLiteral("/notes.BAK")), QByteArray("second\r\nmore"));
        QCOMPARE(fileBytes(first), QByteArray("first\r\n"));
    }

    // --- Save All --------------------------------------------------------------------------

    void saveAllWritesSavedDocumentsAndMarksThemNotModified()
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
        QCOMPARE(modifiedWordsOf(docs()), (QStringList{ModifiedWord, ModifiedWord, ModifiedWord, NotModifiedWord}));
        const QStringList captions = captionsOf(docs());
        const QList<qint64> positions = caretsOf(docs());

        action("SaveAll1")->trigger();
        QCOMPARE(fileBytes(a), QByteArray("alpha\r\nA1"));
        QCOMPARE(fileBytes(b), QByteArray("beta\r\nB2"));
        QCOMPARE(fileBytes(c), QByteArray("gamma\r\n"));
        QCOMPARE(fileBytes(backupDir() + QStringLiteral("/b.BAK")), QByteArray("beta\r\nB2"));
        QVERIFY(prompts().questions.isEmpty());
        QVERIFY(saveTitles().isEmpty());
        QVERIFY(prompts().errors.isEmpty());
        QVERIFY(!QFileInfo::exists(m_fixture->sandbox.filePath(UntitledName))); // nor under its caption
        QCOMPARE(captionsOf(docs()), captions);
        QCOMPARE(displayPathsOf(docs())[0], UntitledName);
        // What was written is "Not Modified", as after Save; the unsaved "Untitled" is not.
        QCOMPARE(modifiedWordsOf(docs()),
                 (QStringList{ModifiedWord, NotModifiedWord, NotModifiedWord, NotModifiedWord}));
        for (int i = 0; i < 4; ++i)
            QCOMPARE(form()->documentTabs()->tabs()->picture(i), i == 0 ? 1 : 0);
        QCOMPARE(caretsOf(docs()), positions);
        QCOMPARE(docs().currentIndex(), 2);
        QCOMPARE(editor()->bytes(), QByteArray("beta\nB2"));
        QCOMPARE(status()->panelText(2), QString());
        QVERIFY(progress()->isHidden());
        QVERIFY(form()->scratchBuffer().isEmpty());

        // Exit asks only about the document that was not written.
        prompts().answers = {Answer::No};
        QVERIFY(form()->files().exitSavePass());
        QCOMPARE(prompts().questions, QStringList{ExitQuestion});
    }

    void saveAllLeavesAFileAnotherProgramChanged()
    {
        const QString a = makeFile(QStringLiteral("a.txt"), "alpha\n");
        const QString b = makeFile(QStringLiteral("b.txt"), "beta\n");
        QVERIFY(start({a, b}));
        typeAtEnd("B2");
        makeFile(QStringLiteral("a.txt"), "written elsewhere\n");
        action("SaveAll1")->trigger();
        QCOMPARE(fileBytes(a), QByteArray("written elsewhere\n"));
        QCOMPARE(fileBytes(b), QByteArray("beta\r\nB2"));
        QVERIFY(status()->panelText(StatusBar::Message).contains(QStringLiteral("a.txt")));
    }

    void saveAllKeepsADocumentItDidNotWriteModified()
    {
        const QString a = makeFile(QStringLiteral("a.txt"), "alpha\n");
        const QString b = makeFile(QStringLiteral("b.txt"), "beta\n");
        QVERIFY(start({a, b}));
        docs().switchTo(1);
        typeAtEnd("A1");
        docs().switchTo(2);
        typeAtEnd("B2");
        // b's path is a folder now: another program's doing, so it is left alone.
        QVERIFY(QFile::remove(b));
        QVERIFY(QDir().mkdir(b));

        action("SaveAll1")->trigger();
        QCOMPARE(fileBytes(a), QByteArray("alpha\r\nA1"));
        QVERIFY(status()->panelText(StatusBar::Message).contains(QStringLiteral("b.txt")));
        QCOMPARE(modifiedWordsOf(docs()), (QStringList{NotModifiedWord, NotModifiedWord, ModifiedWord}));
        QCOMPARE(form()->documentTabs()->tabs()->picture(2), 1);
        QCOMPARE(status()->panelText(2), ModifiedWord);
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
        QCOMPARE(displayPathsOf(docs()), QStringList{a});
        typeAtEnd("edit");
        prompts().answers = {Answer::No};
        const bool quiet = closeDocument(throughAction);
        QVERIFY(!quiet);
        QCOMPARE(prompts().questions, QStringList{CloseModifiedQuestion});
        QCOMPARE(displayPathsOf(docs()), QStringList{a});
        QCOMPARE(modifiedWordsOf(docs()), QStringList{ModifiedWord});
        QCOMPARE(status()->panelText(2), ModifiedWord);
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
        QVERIFY(prompts().questions.isEmpty());
        QCOMPARE(displayPathsOf(docs()), (QStringList{a, c}));
        QCOMPARE(docs().currentIndex(), 1);
        QCOMPARE(form()->documentTabs()->tabIndex(), 1);
        QCOMPARE(form()->documentTabs()->tabs()->count(), 2);
        QCOMPARE(editor()->bytes(), QByteArray("gamma\n"));
        QCOMPARE(form()->windowTitle(), QStringLiteral("Quillet  - c.txt"));
        QCOMPARE(form()->tabHint(), c + QStringLiteral(" - ") + NotModifiedWord);
    }

    void closingAModifiedCurrentDocumentWithYesDiscardsItAndEndsQuietly_data() { closeCases_data(); }
    void closingAModifiedCurrentDocumentWithYesDiscardsItAndEndsQuietly()
    {
        QFETCH(bool, throughAction);
        QString a, b, c;
        QVERIFY(startWithABC(&a, &b, &c));
        docs().switchTo(0);
        typeAtEnd("lost");
        prompts().answers = {Answer::Yes};
        const bool quiet = closeDocument(throughAction);
        QCOMPARE(quiet, !throughAction);
        QCOMPARE(prompts().questions, QStringList{CloseModifiedQuestion});
        QVERIFY(prompts().errors.isEmpty());
        QCOMPARE(displayPathsOf(docs()), (QStringList{b, c}));
        QCOMPARE(docs().currentIndex(), 1);
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
        QCOMPARE(modifiedWordsOf(docs()).count(ModifiedWord), 3);
        prompts().answers = {Answer::Yes};
        const bool quiet = closeAll(throughAction);
        QVERIFY(!quiet);
        QCOMPARE(prompts().questions, QStringList{CloseAllQuestion});
        QCOMPARE(captionsOf(docs()), QStringList{UntitledName});
        QCOMPARE(displayPathsOf(docs()), QStringList{UntitledName});
        QCOMPARE(modifiedWordsOf(docs()), QStringList{NotModifiedWord});
        QCOMPARE(form()->documentTabs()->tabs()->count(), 1);
        QCOMPARE(editor()->bytes(), QByteArray());
        QCOMPARE(form()->editorHint(), UntitledName);
        QCOMPARE(form()->windowTitle(), QStringLiteral("Quillet  - Untitled"));
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
        const QStringList files = displayPathsOf(docs());
        const QStringList modified = modifiedWordsOf(docs());
        prompts().answers = {answer};
        const bool quiet = closeAll(throughAction);
        QCOMPARE(quiet, !throughAction && answer == Answer::Cancel);
        QCOMPARE(prompts().questions.size(), 1);
        QVERIFY(prompts().errors.isEmpty());
        QCOMPARE(displayPathsOf(docs()), files);
        QCOMPARE(modifiedWordsOf(docs()), modified);
        QCOMPARE(docs().currentIndex(), 1);
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
        editor()->send(SCI_SETSEL, 0UL, 5L);
        form()->action(command)->trigger();
        QCOMPARE(editor()->bytes(), text);
        QCOMPARE(QApplication::clipboard()->text(), clipboard);
        QCOMPARE(modifiedWordsOf(docs())[1], modified ? ModifiedWord : NotModifiedWord);
        QCOMPARE(status()->panelText(2), modified ? ModifiedWord : QString());
    }

    void copyAllCopiesEverythingAndLeavesTheCaretAtTheStart()
    {
        QVERIFY(start({makeFile(QStringLiteral("h.txt"), "first line\r\nsecond line")}));
        editor()->setCaret(14);
        action("CopyAll1")->trigger();
        QCOMPARE(QApplication::clipboard()->text(), QStringLiteral("first line\r\nsecond line"));
        QCOMPARE(editor()->selStart(), 0);
        QCOMPARE(editor()->selLength(), 0);
        QCOMPARE(modifiedWordsOf(docs())[1], NotModifiedWord);
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
        prompts().answers = {answer};
        action("ClearAll1")->trigger();
        QCOMPARE(prompts().questions, QStringList{ClearQuestion});
        QVERIFY(prompts().errors.isEmpty());
        QCOMPARE(editor()->bytes(), cleared ? QByteArray() : QByteArray("some text"));
        QCOMPARE(modifiedWordsOf(docs())[1], cleared ? ModifiedWord : NotModifiedWord);
        QCOMPARE(status()->panelText(2), cleared ? ModifiedWord : QString());
    }

    void undoTwiceRestoresTheTextAndEachUndoMarksModified()
    {
        QVERIFY(start({makeFile(QStringLiteral("u.txt"), "base")}));
        typeAtEnd("x"); // one key: not yet modified
        QCOMPARE(modifiedWordsOf(docs())[1], NotModifiedWord);
        action("UndoRedo1")->trigger();
        QCOMPARE(editor()->bytes(), QByteArray("base"));
        QCOMPARE(modifiedWordsOf(docs())[1], ModifiedWord);
        save(); // back to "Not Modified"; saving is no edit
        QCOMPARE(modifiedWordsOf(docs())[1], NotModifiedWord);
        action("UndoBtn1")->trigger();
        QCOMPARE(editor()->bytes(), QByteArray("basex"));
        QCOMPARE(modifiedWordsOf(docs())[1], ModifiedWord);
    }

    void selectionEnablesTheSelectionCommands()
    {
        QVERIFY(start({makeFile(QStringLiteral("s.txt"), "select me")}));
        const char* const commands[] = {"CutBtn1", "CopyBtn1", "Cut1", "Copy1", "Delete1", "Selection1"};
        for (const char* name : commands)
            QVERIFY2(!action(name)->isEnabled(), name);
        editor()->send(SCI_SETSEL, 2UL, 3L);
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
        const QString missing = m_fixture->sandbox.filePath(QStringLiteral("files/missing.txt"));
        form()->files().openPath(missing);
        QCOMPARE(captionsOf(docs()).last(), QStringLiteral("missing.txt"));
        QCOMPARE(displayPathsOf(docs()).last(), missing);
        QCOMPARE(modifiedWordsOf(docs()).last(), NotModifiedWord);
        QCOMPARE(editor()->bytes(), QByteArray());
        QCOMPARE(form()->recentFilesMenu()->items().value(0), missing);
        QCOMPARE(form()->trayRecentFilesMenu()->items().value(0), missing);
        QVERIFY(!QFile::exists(missing));
        // Saving it creates it.
        typeAtEnd("now here");
        save();
        QVERIFY(prompts().errors.isEmpty());
        QCOMPARE(fileBytes(missing), QByteArray("now here"));
    }

    void relativePathsAreKeptAbsoluteAndReOpenFromAnotherFolder()
    {
        const QString typed = makeFile(QStringLiteral("rel.txt"), "relative");
        const QString listed = makeFile(QStringLiteral("listed.txt"), "listed");
        makeFile(QStringLiteral("list.txt"), "./sub/../listed.txt\n");
        QVERIFY(QDir::setCurrent(QFileInfo(typed).path())); // the sandbox puts the folder back
        QVERIFY(start({QStringLiteral("rel.txt"), QStringLiteral("CF"), QStringLiteral("list.txt")}));
        QCOMPARE(displayPathsOf(docs()).mid(1),
                 (QStringList{typed, listed, m_fixture->sandbox.filePath(QStringLiteral("files/list.txt"))}));
        QCOMPARE(form()->recentFilesMenu()->items().value(2), typed);
        prompts().openPaths = {QStringLiteral("rel.txt")};
        action("Open1")->trigger();
        QCOMPARE(displayPathsOf(docs()).last(), typed);

        QVERIFY(QDir::setCurrent(m_fixture->sandbox.path()));
        QAction* entry = nullptr;
        for (QAction* item : action("ReOpen1")->menu()->actions())
            if (item->text().endsWith(typed))
                entry = item;
        QVERIFY(entry);
        entry->trigger();
        QCOMPARE(editor()->bytes(), QByteArray("relative"));
        typeAtEnd("!!");
        save();
        QVERIFY(prompts().errors.isEmpty());
        QCOMPARE(fileBytes(typed), QByteArray("relative!!"));
        QVERIFY(!QFileInfo::exists(m_fixture->sandbox.filePath(QStringLiteral("rel.txt"))));

        prompts().savePaths = {QStringLiteral("files/saved.txt")};
        action("SaveAs1")->trigger();
        QCOMPARE(displayPathsOf(docs()).last(), m_fixture->sandbox.filePath(QStringLiteral("files/saved.txt")));
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
        QCOMPARE(form()->recentFilesMenu()->items(), (QStringList{b, a}));
        QAction* entry = nullptr;
        for (QAction* item : form()->action(submenu)->menu()->actions())
            if (item->text().endsWith(a))
                entry = item;
        QVERIFY(entry);
        entry->trigger();
        QCOMPARE(displayPathsOf(docs()), (QStringList{UntitledName, a, b, a}));
        QCOMPARE(docs().currentIndex(), 3);
        QCOMPARE(editor()->bytes(), QByteArray("alpha"));
        QCOMPARE(form()->recentFilesMenu()->items(), (QStringList{a, b}));
        QCOMPARE(form()->trayRecentFilesMenu()->items(), (QStringList{a, b}));
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
        QCOMPARE(form()->trayRecentFilesMenu()->items().size(), 2);
        form()->action(command)->trigger();
        QVERIFY(form()->recentFilesMenu()->items().isEmpty());
        QVERIFY(form()->trayRecentFilesMenu()->items().isEmpty());
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
        QVERIFY(prompts().errors.isEmpty());
        QCOMPARE(modifiedWordsOf(docs()), QStringList{ModifiedWord});
    }

    void refreshDiscardsUnsavedEditsWithoutAsking()
    {
        const QString path = makeFile(QStringLiteral("r.txt"), "on disk\n");
        QVERIFY(start({path}));
        typeAtEnd("unsaved");
        action("RefreshFromDisk1")->trigger();
        QCOMPARE(editor()->bytes(), QByteArray("on disk\n"));
        QVERIFY(prompts().questions.isEmpty());
        QVERIFY(prompts().errors.isEmpty());
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
        QCOMPARE(prompts().errors.size(), 1);
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
        prompts().answers = answers;
        QCOMPARE(form()->files().exitSavePass(), goesOn);
        QCOMPARE(prompts().questions, QStringList(questions, ExitQuestion));
        QVERIFY(saveTitles().isEmpty());
        QCOMPARE(fileBytes(a), QByteArray("alpha\n"));
        QCOMPARE(fileBytes(b), QByteArray("beta\n"));
        QVERIFY(!QFileInfo::exists(backupDir()));
        QCOMPARE(modifiedWordsOf(docs()), (QStringList{NotModifiedWord, ModifiedWord, ModifiedWord}));
    }

    void exitSavePassYesOnUntitledWithSaveAsCancelledCancelsTheExit()
    {
        QVERIFY(start());
        typeAtEnd("draft");
        prompts().answers = {Answer::Yes};
        QVERIFY(!form()->files().exitSavePass());
        QCOMPARE(saveTitles(), QStringList{QStringLiteral("Save Text")});
        QCOMPARE(displayPathsOf(docs()), QStringList{UntitledName});
        QCOMPARE(modifiedWordsOf(docs()), QStringList{ModifiedWord});
    }

    void exitSavePassYesWritesTheDocument()
    {
        const QString a = makeFile(QStringLiteral("a.txt"), "alpha\n");
        QVERIFY(start({a}));
        typeAtEnd("A1");
        prompts().answers = {Answer::Yes};
        QVERIFY(form()->files().exitSavePass());
        QCOMPARE(prompts().questions, QStringList{ExitQuestion});
        QCOMPARE(fileBytes(a), QByteArray("alpha\r\nA1"));
        QCOMPARE(modifiedWordsOf(docs())[1], NotModifiedWord);
    }

    void exitSavePassWithAFailingSaveCancelsTheExit()
    {
        const QString a = makeFile(QStringLiteral("a.txt"), "alpha\n");
        QVERIFY(QFile::setPermissions(a, QFile::ReadOwner));
        QVERIFY(start({a}));
        typeAtEnd("A1");
        prompts().answers = {Answer::Yes};
        QVERIFY(!form()->files().exitSavePass());
        QCOMPARE(prompts().errors.size(), 1);
        QCOMPARE(fileBytes(a), QByteArray("alpha\n"));
        QCOMPARE(modifiedWordsOf(docs())[1], ModifiedWord);
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
        const QStringList modified = modifiedWordsOf(docs());
        const QStringList store = storeFilesOf(docs());
        prompts().answers = {Answer::Cancel};
        if (throughExit)
            action("Exit1")->trigger();
        else
            QVERIFY(!form()->close());
        QCOMPARE(prompts().questions, QStringList{ExitQuestion});
        QVERIFY(form()->isVisible());
        QVERIFY(!form()->exitRequested());
        QCOMPARE(modifiedWordsOf(docs()), modified);
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
        prompts().openPaths = {b, a, c}; // a is open already: it gets a second tab
        action("Open1")->trigger();
        QCOMPARE(prompts().openDialogs.value(0).title, QStringLiteral("Open Text File"));
        QCOMPARE(displayPathsOf(docs()), (QStringList{UntitledName, a, b, a, c}));
        QCOMPARE(captionsOf(docs()), (QStringList{UntitledName, QStringLiteral("a.txt"), QStringLiteral("b.txt"),
                                                  QStringLiteral("a.txt"), QStringLiteral("c.txt")}));
        QCOMPARE(docs().currentIndex(), 4);
        QCOMPARE(form()->documentTabs()->tabs()->count(), 5);
        QCOMPARE(editor()->bytes(), QByteArray("gamma"));
        QCOMPARE(form()->recentFilesMenu()->items(), (QStringList{c, a, b}));
        docs().switchTo(3);
        QCOMPARE(editor()->bytes(), QByteArray("alpha"));
    }

    void onlyRegularFilesOpenAndNothingElseBlocks()
    {
        // A folder, a pipe (a read would wait for a writer), a device that never ends and a link
        // to the pipe each get an error naming them and no document; the regular file opens.
        auto makePipe = [this] {
            const QString pipe = m_fixture->sandbox.filePath(QStringLiteral("files/pipe"));
            return ::mkfifo(QFile::encodeName(pipe).constData(), 0644) == 0 ? pipe : QString();
        };
        const QString a = makeFile(QStringLiteral("a.txt"), "alpha");
        const QString pipe = makePipe();
        const QString link = m_fixture->sandbox.filePath(QStringLiteral("files/link"));
        QVERIFY(QFile::link(pipe, link));
        const QString folder = QFileInfo(a).path();
        const QStringList refused{folder, pipe, QStringLiteral("/dev/zero"), link};
        QVERIFY(start());
        prompts().openPaths = refused + QStringList{a};
        {
            const PipeWatch watch({pipe});
            action("Open1")->trigger();
            QVERIFY2(watch.readersFound() == 0, "Open read the pipe: it would wait for a writer");
        }
        QCOMPARE(displayPathsOf(docs()), (QStringList{UntitledName, a}));
        QCOMPARE(form()->recentFilesMenu()->items(), QStringList{a});
        QCOMPARE(prompts().errors.size(), 4);
        for (int i = 0; i < refused.size(); ++i)
            QVERIFY2(prompts().errors[i].contains(QLatin1Char('"') + refused[i] + QLatin1Char('"')),
                     qPrintable(prompts().errors[i]));
        QVERIFY(prompts().errors[0].contains(QStringLiteral("folder")));
        QVERIFY(prompts().errors[1].contains(QStringLiteral("pipe")));
        QVERIFY(prompts().errors[2].contains(QStringLiteral("device")));

        // At start: a "CF" list naming the pipe, then the pipe as a list (and as a file).
        m_fixture.reset();
        newFixture();
        const QString b = makeFile(QStringLiteral("b.txt"), "beta");
        const QString pipe2 = makePipe();
        const QString list =
            makeFile(QStringLiteral("list.txt"), QFile::encodeName(pipe2) + "\r\n" + QFile::encodeName(b) + "\r\n");
        {
            const PipeWatch watch({pipe2});
            QVERIFY(start({QStringLiteral("CF"), list, QStringLiteral("CF"), pipe2}));
            QVERIFY2(watch.readersFound() == 0, "start-up read the pipe: it would wait for a writer");
        }
        QCOMPARE(displayPathsOf(docs()), (QStringList{UntitledName, b, list}));
        QCOMPARE(prompts().errors.size(), 3);
        QVERIFY(status()->panelText(StatusBar::Message).contains(QStringLiteral("not a regular file")));
    }

    void aListOfFilesOpensInOrderWithoutAViewPerDocument()
    {
        // 20 files, the fourth named again at the end; one starts with ".LOG" and gets its stamp.
        QStringList files;
        QByteArray list;
        for (int i = 0; i < 20; ++i) {
            files.append(makeFile(QStringLiteral("f%1.txt").arg(i),
                                  i == 7 ? QByteArray(".LOG\r\n") : QByteArray("text ") + QByteArray::number(i)));
            list += QFile::encodeName(files.last()) + "\r\n";
        }
        list += QFile::encodeName(files[3]) + "\r\n";
        const QString listPath = makeFile(QStringLiteral("list.txt"), list);
        QVERIFY(start({QStringLiteral("CF"), listPath}));

        const QStringList opened = QStringList{UntitledName} + files + QStringList{files[3], listPath};
        QCOMPARE(displayPathsOf(docs()), opened);
        QCOMPARE(docs().currentIndex(), 22);
        QCOMPARE(form()->documentTabs()->tabIndex(), 22);
        QCOMPARE(form()->documentTabs()->tabs()->currentIndex(), 22);
        QCOMPARE(form()->documentTabs()->tabs()->count(), 23);
        // Both recent lists as if each path had been added in turn: the newest 16, no repeats.
        QStringList recent{listPath, files[3]};
        for (int i = 19; recent.size() < 16; --i)
            recent.append(files[i]);
        QCOMPARE(form()->recentFilesMenu()->items(), recent);
        QCOMPARE(form()->trayRecentFilesMenu()->items(), recent);
        QCOMPARE(modifiedWordsOf(docs()).at(8), ModifiedWord);

        // The documents kept no editor view each: their text comes back from the store files.
        QVERIFY2(form()->editorViews()->widget()->count() <= 3,
                 qPrintable(QString::number(form()->editorViews()->widget()->count())));
        docs().switchTo(5);
        QCOMPARE(editor()->bytes(), QByteArray("text 4"));
        docs().switchTo(8);
        QVERIFY(editor()->bytes().startsWith(".LOG\r\n") && editor()->bytes().size() > 8);
        QCOMPARE(form()->documentTabs()->tabs()->currentIndex(), 8);
    }

    void fileLargerThanTheEditorHoldsIsRefused()
    {
        // Sparse: one byte over the limit, never allocated, since nothing reads it.
        const QString huge = makeFile(QStringLiteral("huge.log"), QByteArray());
        QVERIFY(QFile::resize(huge, TextCapacity + 1));
        QVERIFY(start());
        prompts().openPaths = {huge};
        action("Open1")->trigger();
        QCOMPARE(displayPathsOf(docs()), QStringList{UntitledName});
        QVERIFY(form()->recentFilesMenu()->items().isEmpty());
        QCOMPARE(prompts().errors.size(), 1);
        const QString error = prompts().errors[0];
        QVERIFY2(error.contains(huge) && error.contains(QStringLiteral("2,147,483,633 bytes")) &&
                     error.contains(QStringLiteral("2,147,483,632 bytes")),
                 qPrintable(error));
        QVERIFY(status()->panelText(StatusBar::Message).contains(QStringLiteral("2,147,483,632 bytes")));
    }
};

QTEST_MAIN(TestFileCommands)
#include "tst_filecommands.moc"
