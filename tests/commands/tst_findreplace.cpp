// Find next, Replace, Replace All, Search Again and Goto Line: the search logic on an editor
// alone, then the commands of the real main window with scripted message boxes.

#include "app/programwindows.h"
#include "core/prompts.h"
#include "mainwindow/mainwindow.h"
#include "windows/finddialogs.h"
#include "commands/findreplace.h"
#include "windows/gotolinedialog.h"
#include "documents/documentset.h"
#include "settings/inisettingsstore.h"
#include "settings/programstore.h"

#include "editor/editorview.h"

#include <QAction>
#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <memory>

namespace {

struct Message
{
    QString title;
    QString text;
};

// Records every message box; questions are answered No.
class ScriptedPrompts : public Prompts
{
public:
    QList<Message> messages;

    Answer question(const QString&, const QString&) override { return Answer::No; }
    void warning(const QString& title, const QString& text) override { messages.append({title, text}); }
    void information(const QString& title, const QString& text) override
    {
        messages.append({QStringLiteral("info:") + title, text});
    }
    void error(const QString& text) override { messages.append({QStringLiteral("error"), text}); }
    std::optional<QFont> chooseFont(const QFont&) override { return std::nullopt; }
};

using findreplace::Options;

void select(EditorView& editor, qint64 start, qint64 end)
{
    editor.SendScintilla(QsciScintillaBase::SCI_SETSEL, static_cast<unsigned long>(start), static_cast<long>(end));
}

QByteArray selected(const EditorView& editor)
{
    return editor.bytes().mid(editor.selStart(), editor.selLength());
}

} // namespace

class TestFindReplace : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<QTemporaryDir> m_tmp;
    ScriptedPrompts m_prompts;
    Prompts* m_previousPrompts = nullptr;
    std::unique_ptr<MainWindow> m_form;

    EditorView& editor() { return *m_form->editor(); }
    bool modified() { return m_form->documents().isModified(m_form->documents().tabIndex()); }

    bool start(const QByteArray& text)
    {
        m_form = std::make_unique<MainWindow>();
        QuilForm1 = m_form.get();
        m_form->show();
        m_form->activateWindow();
        if (!QTest::qWaitForWindowActive(m_form.get()))
            return false;
        editor().setBytes(text);
        return !modified();
    }

    // The Replace All command with the given texts and options, as the dialog reports it.
    void replaceAll(const QString& what, const QString& with)
    {
        ReplaceDialog* dialog = m_form->replaceDialog1();
        dialog->setFindText(what);
        dialog->setReplaceText(with);
        dialog->replaceAllButton()->click();
    }

private slots:
    void init()
    {
        m_tmp = std::make_unique<QTemporaryDir>();
        QVERIFY(m_tmp->isValid());
        qputenv("TMPDIR", QFile::encodeName(m_tmp->path()));
        m_prompts = ScriptedPrompts();
        m_previousPrompts = Prompts::install(&m_prompts);
    }

    void cleanup()
    {
        m_form.reset();
        QuilForm1 = nullptr;
        Prompts::install(m_previousPrompts);
        m_tmp.reset();
    }

    // --- The search on the editor alone --------------------------------------------------

    void searchHonoursCaseAndWholeWord_data()
    {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<QByteArray>("what");
        QTest::addColumn<bool>("matchCase");
        QTest::addColumn<bool>("wholeWord");
        QTest::addColumn<qint64>("found");
        QTest::newRow("case off finds upper case")
            << QByteArray("xx ABC") << QByteArray("abc") << false << false << qint64(3);
        QTest::newRow("case on skips upper case")
            << QByteArray("ABC abc") << QByteArray("abc") << true << false << qint64(4);
        QTest::newRow("case on, only upper case")
            << QByteArray("ABC") << QByteArray("abc") << true << false << qint64(-1);
        QTest::newRow("whole word skips abcd")
            << QByteArray("abcd abc") << QByteArray("abc") << false << true << qint64(5);
        QTest::newRow("whole word, only abcd")
            << QByteArray("abcd") << QByteArray("abc") << false << true << qint64(-1);
        QTest::newRow("digits are word characters")
            << QByteArray("abc1 abc") << QByteArray("abc") << false << true << qint64(5);
        QTest::newRow("punctuation bounds a word")
            << QByteArray("(abc)") << QByteArray("abc") << false << true << qint64(1);
        QTest::newRow("part of a word without whole word")
            << QByteArray("abcd") << QByteArray("bc") << false << false << qint64(1);
        QTest::newRow("UTF-8 bytes") << QByteArray("caf\xc3\xa9 ok") << QByteArray("ok") << true << false << qint64(6);
        QTest::newRow("empty search text never matches")
            << QByteArray("abc") << QByteArray() << false << false << qint64(-1);
    }

    void searchHonoursCaseAndWholeWord()
    {
        QFETCH(QByteArray, text);
        QFETCH(QByteArray, what);
        QFETCH(bool, matchCase);
        QFETCH(bool, wholeWord);
        QFETCH(qint64, found);
        EditorView editor;
        editor.setBytes(text);
        QCOMPARE(findreplace::findForward(editor, what, 0, Options{matchCase, wholeWord}), found);
    }

    void findNextStartsBehindTheSelectionAndNeverWraps()
    {
        EditorView editor;
        editor.setBytes("one two one two one");
        select(editor, 0, 3); // the first "one" itself is not found again
        QVERIFY(findreplace::findNext(editor, "one", {}));
        QCOMPARE(editor.selStart(), 8);
        QCOMPARE(editor.selLength(), 3);
        QVERIFY(findreplace::findNext(editor, "one", {}));
        QCOMPARE(editor.selStart(), 16);
        // After the last occurrence: no wrap; the caret stays at the end of the selection.
        QVERIFY(!findreplace::findNext(editor, "one", {}));
        QCOMPARE(editor.selStart(), 19);
        QCOMPARE(editor.selLength(), 0);
    }

    void singleReplaceReplacesWhateverIsSelected()
    {
        EditorView editor;
        editor.setBytes("alpha beta");
        QVERIFY(!findreplace::replaceSelection(editor, "x")); // empty selection: nothing
        QCOMPARE(editor.bytes(), QByteArray("alpha beta"));
        select(editor, 6, 10);
        QVERIFY(findreplace::replaceSelection(editor, "gamma"));
        QCOMPARE(editor.bytes(), QByteArray("alpha gamma"));
        QCOMPARE(editor.selStart(), 11);
        QCOMPARE(editor.selLength(), 0);
        select(editor, 0, 6);
        QVERIFY(findreplace::replaceSelection(editor, "")); // an empty replacement deletes
        QCOMPARE(editor.bytes(), QByteArray("gamma"));
    }

    void replaceAllIsOneUndoStepAndKeepsBytes()
    {
        EditorView editor;
        const QByteArray text("a\0b a\xff", 7);
        editor.setBytes(text);
        QCOMPARE(findreplace::replaceAll(editor, "a", "\xc3\xa9", {}), 2);
        QCOMPARE(editor.bytes(), QByteArray("\xc3\xa9\0b \xc3\xa9\xff", 9));
        editor.undo();
        QCOMPARE(editor.bytes(), text);
    }

    // --- The commands of the main window -------------------------------------------------

    void findStartsWithMatchCaseAndWholeWordReplaceWithNeither()
    {
        QVERIFY(start("text"));
        FindDialog* find = m_form->findDialog1();
        QVERIFY(find->matchCaseBox()->isChecked());
        QVERIFY(find->wholeWordBox()->isChecked());
        QVERIFY(find->downButton()->isChecked());
        ReplaceDialog* replace = m_form->replaceDialog1();
        QVERIFY(!replace->matchCaseBox()->isChecked());
        QVERIFY(!replace->wholeWordBox()->isChecked());
        QVERIFY(replace->downButton()->isChecked());
        for (const char* name : {"FindBtn1", "ReplaceBtn1", "FindAndReplace1", "SearchAgain1", "GotoLine1", "GotoBtn1"})
            QVERIFY2(m_form->action(QLatin1String(name))->isEnabled(), name);
    }

    void openingFindCopiesTheSelectionOrEmptiesTheText()
    {
        QVERIFY(start("hello world"));
        m_form->setFindText(QStringLiteral("old"));
        select(editor(), 6, 11);
        m_form->action(QStringLiteral("FindBtn1"))->trigger();
        QVERIFY(m_form->findDialog1()->isVisible());
        QCOMPARE(m_form->findDialog1()->findText(), QStringLiteral("world"));
        QCOMPARE(m_form->findText(), QStringLiteral("world")); // the stored search text
        editor().setCaret(0);
        m_form->action(QStringLiteral("FindBtn1"))->trigger();
        QCOMPARE(m_form->findDialog1()->findText(), QString());
        QCOMPARE(m_form->findText(), QString());
        select(editor(), 0, 5);
        m_form->action(QStringLiteral("ReplaceBtn1"))->trigger();
        QVERIFY(m_form->replaceDialog1()->isVisible());
        QCOMPARE(m_form->replaceDialog1()->findText(), QStringLiteral("hello"));
    }

    void upStillSearchesForward()
    {
        QVERIFY(start("abc abc abc tail"));
        FindDialog* dialog = m_form->findDialog1();
        dialog->upButton()->setChecked(true);
        dialog->setFindText(QStringLiteral("abc"));
        editor().setCaret(12); // after the last occurrence
        dialog->findNextButton()->click();
        QCOMPARE(m_prompts.messages.size(), 1);
        QCOMPARE(m_prompts.messages[0].title, QStringLiteral("info:Quillet -Find Text"));
        QCOMPARE(m_prompts.messages[0].text, QStringLiteral("Search text not found!"));
        QCOMPARE(editor().selStart(), 12);
        QCOMPARE(editor().selLength(), 0);
        editor().setCaret(5);
        dialog->findNextButton()->click();
        QCOMPARE(editor().selStart(), 8); // forward, not back to 0
        QCOMPARE(m_prompts.messages.size(), 1);
    }

    void searchAgainStepsThroughOccurrencesWithTheFindOptions()
    {
        QVERIFY(start("Word word word. word"));
        m_form->setFindText(QStringLiteral("word"));
        QAction* again = m_form->action(QStringLiteral("SearchAgain1"));
        // The Find dialog was never opened: its start-up options (match case) apply.
        again->trigger();
        QCOMPARE(editor().selStart(), 5);
        QCOMPARE(selected(editor()), QByteArray("word"));
        again->trigger();
        QCOMPARE(editor().selStart(), 10);
        again->trigger();
        QCOMPARE(editor().selStart(), 16);
        QVERIFY(m_prompts.messages.isEmpty());
        again->trigger();
        QCOMPARE(m_prompts.messages.size(), 1);
        QCOMPARE(m_prompts.messages[0].text, QStringLiteral("Search text not found!"));
        QCOMPARE(editor().selStart(), 20); // no wrap to "Word" or "word" before
        // The dialog's options are read at each search.
        editor().setCaret(0);
        m_form->findDialog1()->matchCaseBox()->setChecked(false);
        again->trigger();
        QCOMPARE(editor().selStart(), 0);
        QVERIFY(!modified());
    }

    void replaceAllReplacesBehindEachReplacementAndReports()
    {
        QVERIFY(start("aaa"));
        editor().setCaret(0);
        m_form->replaceDialog1()->show();
        replaceAll(QStringLiteral("a"), QStringLiteral("aa"));
        QCOMPARE(editor().bytes(), QByteArray("aaaaaa"));
        QCOMPARE(m_prompts.messages.size(), 1);
        QCOMPARE(m_prompts.messages[0].title, QStringLiteral("info:Quillet -Text Replacement"));
        QCOMPARE(m_prompts.messages[0].text, QStringLiteral("Search of text completed.\r\n3 replacements made."));
        QVERIFY(modified());
        QVERIFY(!m_form->replaceDialog1()->isVisible()); // closed by Replace All
        QCOMPARE(editor().selStart(), 6);
        // The counter starts again at 0 for the next run.
        editor().setCaret(0);
        replaceAll(QStringLiteral("aaaaaa"), QStringLiteral("b"));
        QCOMPARE(m_prompts.messages.last().text, QStringLiteral("Search of text completed.\r\n1 replacements made."));
    }

    void replaceAllCoversTheTextFromTheSelectionStart()
    {
        QVERIFY(start("one two one two one"));
        editor().setCaret(6); // inside the first "two"
        replaceAll(QStringLiteral("one"), QStringLiteral("1"));
        QCOMPARE(editor().bytes(), QByteArray("one two 1 two 1"));
        select(editor(), 4, 7); // a selected occurrence is replaced too
        replaceAll(QStringLiteral("two"), QStringLiteral("2"));
        QCOMPARE(editor().bytes(), QByteArray("one 2 1 2 1"));
    }

    void replaceAllFindingNothingReportsZeroAndLeavesTheDocument()
    {
        QVERIFY(start("nothing here"));
        editor().setCaret(3);
        replaceAll(QStringLiteral("absent"), QStringLiteral("x"));
        QCOMPARE(m_prompts.messages.size(), 1);
        QCOMPARE(m_prompts.messages[0].text, QStringLiteral("Search of text completed.\r\n0 replacements made."));
        QCOMPARE(editor().bytes(), QByteArray("nothing here"));
        QCOMPARE(editor().selStart(), 3);
        QVERIFY(!modified());
    }

    void singleReplaceReplacesANonMatchingSelectionWithoutMarking()
    {
        QVERIFY(start("keep this"));
        ReplaceDialog* dialog = m_form->replaceDialog1();
        dialog->setFindText(QStringLiteral("zzz"));
        dialog->setReplaceText(QStringLiteral("that"));
        select(editor(), 5, 9);
        dialog->replaceButton()->click();
        QCOMPARE(editor().bytes(), QByteArray("keep that"));
        QCOMPARE(editor().selStart(), 9);
        QCOMPARE(editor().selLength(), 0);
        QVERIFY(!modified());
        QVERIFY(editor().modifiedFlag());
        // Nothing selected: silently nothing.
        dialog->replaceButton()->click();
        QCOMPARE(editor().bytes(), QByteArray("keep that"));
        QVERIFY(m_prompts.messages.isEmpty());
    }

    // --- Goto line ------------------------------------------------------------------------

    void lineCountIgnoresAnEmptyLastLine_data()
    {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<int>("lines");
        QTest::newRow("empty") << QByteArray() << 0;
        QTest::newRow("one line") << QByteArray("a") << 1;
        QTest::newRow("final break") << QByteArray("a\r\nb\r\n") << 2;
        QTest::newRow("no final break") << QByteArray("a\r\nb") << 2;
        QTest::newRow("empty lines") << QByteArray("\r\n\r\n\r\nx") << 4;
    }

    void lineCountIgnoresAnEmptyLastLine()
    {
        QFETCH(QByteArray, text);
        QFETCH(int, lines);
        EditorView editor;
        editor.setBytes(text);
        QCOMPARE(GotoLineDialog::lineCount(editor), lines);
    }

    void gotoLineCountsFromOne()
    {
        EditorView editor;
        editor.setBytes("first\r\nsecond\r\nthird\r\n");
        GotoLineDialog::gotoLine(editor, 2);
        QCOMPARE(editor.selStart(), 7);
        QCOMPARE(editor.selLength(), 0);
        GotoLineDialog::gotoLine(editor, 3);
        QCOMPARE(editor.selStart(), 15);
        GotoLineDialog::gotoLine(editor, 0); // the field's minimum: the first line
        QCOMPARE(editor.selStart(), 0);
        GotoLineDialog::gotoLine(editor, 99);
        QCOMPARE(editor.lineFromPosition(editor.selStart()), 2);
    }

    void gotoWindowBoundsTheFieldUnlessTheBoundsAreEqual()
    {
        GotoLineDialog box;
        box.setMinValue(0);
        box.setMaxValue(10);
        box.setValue(50);
        QCOMPARE(box.value(), 10);
        box.setMaxValue(0); // an empty document: any number as typed
        box.setValue(50);
        QCOMPARE(box.value(), 50);
        box.setValue(-3);
        QCOMPARE(box.value(), -3);
    }

    void gotoCommandSetsTheMaximumOnEveryShowAndMovesTheCaret()
    {
        QVERIFY(start("1\r\n2\r\n3\r\n4\r\n5\r\n"));
        GotoLineDialog box;
        ScrollBox1 = &box;
        int maxSeen = -1;
        QTimer::singleShot(0, this, [&] {
            maxSeen = box.maxValue();
            box.edit1()->setValue(4);
            box.okButton()->click();
        });
        m_form->action(QStringLiteral("GotoBtn1"))->trigger();
        QCOMPARE(maxSeen, 5);
        QCOMPARE(editor().selStart(), 9); // start of line 4
        QVERIFY(!box.isVisible());

        // Fewer lines: a new maximum; Cancel leaves the caret.
        editor().setBytes("a\r\nb\r\nc");
        editor().setCaret(1);
        int valueSeen = -1;
        QTimer::singleShot(0, this, [&] {
            maxSeen = box.maxValue();
            valueSeen = box.value();
            box.cancelButton()->click();
        });
        m_form->action(QStringLiteral("GotoLine1"))->trigger();
        QCOMPARE(maxSeen, 3);
        QCOMPARE(valueSeen, 3); // the last value, brought into the new range
        QCOMPARE(editor().selStart(), 1);
        ScrollBox1 = nullptr;
    }

    void gotoValueAndBoundsSurviveARestart()
    {
        const QString path = m_tmp->filePath(QStringLiteral("Quillet.ini"));
        auto run = [&](const std::function<void()>& during) {
            IniSettingsStore store(path);
            setProgramStore(&store);
            createForms({});
            during();
            destroyForms();
            QVERIFY(store.flush());
            setProgramStore(nullptr);
        };
        run([] {
            ScrollBox1->setMaxValue(120);
            ScrollBox1->setValue(77);
            ScrollBox1->setIncrement(2);
        });
        {
            IniSettingsStore store(path);
            QCOMPARE(store.readString(QStringLiteral("Scroll"), QStringLiteral("Edit1_Value")), QStringLiteral("77"));
            QCOMPARE(store.readString(QStringLiteral("Scroll"), QStringLiteral("Edit1_MaxValue")),
                     QStringLiteral("120"));
        }
        run([] {
            QCOMPARE(ScrollBox1->value(), 77);
            QCOMPARE(ScrollBox1->maxValue(), 120);
            QCOMPARE(ScrollBox1->minValue(), 0);
            QCOMPARE(ScrollBox1->increment(), 2);
        });
        QVERIFY(m_prompts.messages.isEmpty());
    }
};

QTEST_MAIN(TestFindReplace)
#include "tst_findreplace.moc"
