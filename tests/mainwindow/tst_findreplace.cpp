// Find next, Replace, Replace All, Search Again and Goto Line: the search logic on an editor
// alone, then the commands of the real main window with scripted message boxes.

#include "commands/findreplace.h"
#include "mainwindow/findcontroller.h"
#include "support/mainwindowfixture.h"
#include "windows/finddialogs.h"
#include "windows/gotolinedialog.h"

#include <QAction>
#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTest>
#include <QTimer>

#include <memory>

namespace {

using findreplace::Options;

void select(EditorView& editor, qint64 start, qint64 end)
{
    editor.send(SCI_SETSEL, static_cast<unsigned long>(start), static_cast<long>(end));
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
    std::unique_ptr<MainWindowFixture> m_fixture;
    MainWindow* m_form = nullptr;

    ScriptedPrompts& prompts() { return m_fixture->prompts; }
    EditorView& editor() { return *m_fixture->editor(); }
    bool modified() { return m_fixture->currentModified(); }

    bool start(const QByteArray& text)
    {
        if (!m_fixture->start())
            return false;
        m_form = m_fixture->window.get();
        editor().setBytes(text);
        return !modified();
    }

    // The Replace All command with the given texts and options, as the dialog reports it.
    void replaceAll(const QString& what, const QString& with)
    {
        ReplaceDialog* dialog = m_form->find().replaceDialog();
        dialog->setFindText(what);
        dialog->setReplaceText(with);
        dialog->replaceAllButton()->click();
    }

private slots:
    void init()
    {
        m_fixture = std::make_unique<MainWindowFixture>();
        prompts().otherwise = Answer::No;
    }

    void cleanup() { m_fixture.reset(); }

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
        // Without match case every letter's case is folded, not only ASCII's.
        QTest::newRow("case off folds umlauts")
            << QByteArray("x \xc3\x84RGER") << QByteArray("\xc3\xa4rger") << false << false << qint64(2);
        QTest::newRow("case off folds accents")
            << QByteArray("caf\xc3\x89") << QByteArray("caf\xc3\xa9") << false << true << qint64(0);
        QTest::newRow("case off folds Greek, final sigma too")
            << QByteArray("- \xce\xa3\xce\x9f\xce\xa6\xce\x8a\xce\x91") // ΣΟΦΊΑ
            << QByteArray("\xcf\x83\xce\xbf\xcf\x86\xce\xaf\xce\xb1") << false << true << qint64(2);
        QTest::newRow("case off: a variant of another byte length")
            << QByteArray("o \xe2\x84\xaa") << QByteArray("k") << false << false << qint64(2); // Kelvin sign
        QTest::newRow("case on keeps accents apart")
            << QByteArray("caf\xc3\x89") << QByteArray("caf\xc3\xa9") << true << false << qint64(-1);
        QTest::newRow("an invalid byte matches only itself")
            << QByteArray("\xc3\xa9\xc3 \xff") << QByteArray("\xc3") << false << false << qint64(2);
        QTest::newRow("an invalid byte in the search text")
            << QByteArray("a\xfe A\xff") << QByteArray("a\xff") << false << false << qint64(3);
        // Word characters are Unicode letters and digits and "_"; punctuation ends a word.
        QTest::newRow("curly quotes bound a word")
            << QByteArray("\xe2\x80\x9chello\xe2\x80\x9d") << QByteArray("hello") << true << true << qint64(3);
        QTest::newRow("a non-ASCII letter continues a word")
            << QByteArray("hello\xc3\xa9 hello") << QByteArray("hello") << true << true << qint64(8);
        QTest::newRow("underscore continues a word")
            << QByteArray("hello_ hello") << QByteArray("hello") << false << true << qint64(7);
        // Case folding is not lower-casing: some letters fold to another lower-case form.
        QTest::newRow("final sigma finds capital sigma")
            << QByteArray("x \xce\xa3") << QByteArray("\xcf\x82") << false << false << qint64(2);
        QTest::newRow("sigma finds final sigma")
            << QByteArray("x \xcf\x82") << QByteArray("\xcf\x83") << false << false << qint64(2);
        QTest::newRow("S finds long s") << QByteArray("x \xc5\xbf") << QByteArray("S") << false << false << qint64(2);
        QTest::newRow("long s finds S") << QByteArray("x S") << QByteArray("\xc5\xbf") << false << false << qint64(2);
        QTest::newRow("sharp s finds capital sharp s")
            << QByteArray("x \xe1\xba\x9e") << QByteArray("\xc3\x9f") << false << false << qint64(2);
        QTest::newRow("micro sign finds capital mu")
            << QByteArray("x \xce\x9c") << QByteArray("\xc2\xb5") << false << false << qint64(2);
        // Simple folding: one character never matches two, and Turkish i keeps its dot or its lack.
        QTest::newRow("sharp s is not ss")
            << QByteArray("SS ss") << QByteArray("\xc3\x9f") << false << false << qint64(-1);
        QTest::newRow("ss is not sharp s")
            << QByteArray("\xe1\xba\x9e \xc3\x9f") << QByteArray("ss") << false << false << qint64(-1);
        QTest::newRow("dotless i is not I")
            << QByteArray("I i") << QByteArray("\xc4\xb1") << false << false << qint64(-1);
        QTest::newRow("i is not dotted I") << QByteArray("\xc4\xb0") << QByteArray("i") << false << false << qint64(-1);
        // A combining accent belongs to the letter before it: "cafe" + U+0301 is the word "café".
        QTest::newRow("whole word before a combining accent")
            << QByteArray("cafe\xcc\x81 cafe") << QByteArray("cafe") << false << true << qint64(7);
        QTest::newRow("whole word before a combining accent, match case")
            << QByteArray("cafe\xcc\x81") << QByteArray("cafe") << true << true << qint64(-1);
        QTest::newRow("whole word before a combining accent, folded")
            << QByteArray("CAF\xc3\x89\xcc\x81") << QByteArray("caf\xc3\xa9") << false << true << qint64(-1);
    }

    // Without match case a match in the other case is found wherever it stands, also where the
    // quick search's skip table decides how far to move. Each filler holds the search text's
    // letters in both cases but no match; the search texts have no overlap with themselves.
    void foldedMatchIsFoundAtEveryPosition_data()
    {
        QTest::addColumn<QByteArray>("what");
        QTest::addColumn<QByteArray>("variant");
        QTest::addColumn<QByteArray>("filler");
        const QByteArray ascii("aBAcAxbCaBaCxAbAcAdbCacAbDcaBaCxdD");
        QTest::newRow("lower finds upper") << QByteArray("abacd") << QByteArray("ABACD") << ascii;
        QTest::newRow("upper finds lower") << QByteArray("ABACD") << QByteArray("abacd") << ascii;
        QTest::newRow("mixed finds mixed") << QByteArray("aBaCd") << QByteArray("AbAcD") << ascii;
        const QByteArray umlauts("g\xc3\xa4R\xc3\x84rEgEr\xc3\xa4G\xc3\x84Rge");
        QTest::newRow("non-ASCII lower finds upper")
            << QByteArray("\xc3\xa4rger") << QByteArray("\xc3\x84RGER") << umlauts;
        QTest::newRow("non-ASCII upper finds lower")
            << QByteArray("\xc3\x84RGER") << QByteArray("\xc3\xa4rger") << umlauts;
    }
    void foldedMatchIsFoundAtEveryPosition()
    {
        QFETCH(QByteArray, what);
        QFETCH(QByteArray, variant);
        QFETCH(QByteArray, filler);
        const findreplace::Matcher matcher(what, {});
        QCOMPARE(matcher.find(filler, 0).start, -1);
        for (qsizetype at = 0; at <= filler.size(); ++at) {
            if (at < filler.size() && (filler[at] & 0xC0) == 0x80)
                continue; // inside a character
            const QByteArray text = QByteArray(filler).insert(at, variant);
            const findreplace::Match match = matcher.find(text, 0);
            QVERIFY2(match.start == at && match.end == at + variant.size(), text.constData());
        }
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
        FindDialog* find = m_form->find().findDialog();
        QVERIFY(find->matchCaseBox()->isChecked());
        QVERIFY(find->wholeWordBox()->isChecked());
        QVERIFY(find->downButton()->isChecked());
        ReplaceDialog* replace = m_form->find().replaceDialog();
        QVERIFY(!replace->matchCaseBox()->isChecked());
        QVERIFY(!replace->wholeWordBox()->isChecked());
        QVERIFY(replace->downButton()->isChecked());
        for (const char* name : {"FindBtn1", "ReplaceBtn1", "FindAndReplace1", "SearchAgain1", "GotoLine1", "GotoBtn1"})
            QVERIFY2(m_form->action(QLatin1String(name))->isEnabled(), name);
    }

    void openingFindCopiesTheSelectionOrEmptiesTheText()
    {
        QVERIFY(start("hello world"));
        m_form->find().setFindText(QStringLiteral("old"));
        select(editor(), 6, 11);
        m_form->action(QStringLiteral("FindBtn1"))->trigger();
        QVERIFY(m_form->find().findDialog()->isVisible());
        QCOMPARE(m_form->find().findDialog()->findText(), QStringLiteral("world"));
        QCOMPARE(m_form->find().findText(), QStringLiteral("world")); // the stored search text
        editor().setCaret(0);
        m_form->action(QStringLiteral("FindBtn1"))->trigger();
        QCOMPARE(m_form->find().findDialog()->findText(), QString());
        QCOMPARE(m_form->find().findText(), QString());
        select(editor(), 0, 5);
        m_form->action(QStringLiteral("ReplaceBtn1"))->trigger();
        QVERIFY(m_form->find().replaceDialog()->isVisible());
        QCOMPARE(m_form->find().replaceDialog()->findText(), QStringLiteral("hello"));
    }

    void upStillSearchesForward()
    {
        QVERIFY(start("abc abc abc tail"));
        FindDialog* dialog = m_form->find().findDialog();
        dialog->upButton()->setChecked(true);
        dialog->setFindText(QStringLiteral("abc"));
        editor().setCaret(12); // after the last occurrence
        dialog->findNextButton()->click();
        QCOMPARE(prompts().informations, QStringList{QStringLiteral("Quillet -Find Text: Search text not found!")});
        QCOMPARE(editor().selStart(), 12);
        QCOMPARE(editor().selLength(), 0);
        editor().setCaret(5);
        dialog->findNextButton()->click();
        QCOMPARE(editor().selStart(), 8); // forward, not back to 0
        QCOMPARE(prompts().informations.size(), 1);
    }

    void searchAgainStepsThroughOccurrencesWithTheFindOptions()
    {
        QVERIFY(start("Word word word. word"));
        m_form->find().setFindText(QStringLiteral("word"));
        QAction* again = m_form->action(QStringLiteral("SearchAgain1"));
        // The Find dialog was never opened: its start-up options (match case) apply.
        again->trigger();
        QCOMPARE(editor().selStart(), 5);
        QCOMPARE(selected(editor()), QByteArray("word"));
        again->trigger();
        QCOMPARE(editor().selStart(), 10);
        again->trigger();
        QCOMPARE(editor().selStart(), 16);
        QVERIFY(prompts().informations.isEmpty());
        again->trigger();
        QCOMPARE(prompts().informations, QStringList{QStringLiteral("Quillet -Find Text: Search text not found!")});
        QCOMPARE(editor().selStart(), 20); // no wrap to "Word" or "word" before
        // The dialog's options are read at each search.
        editor().setCaret(0);
        m_form->find().findDialog()->matchCaseBox()->setChecked(false);
        again->trigger();
        QCOMPARE(editor().selStart(), 0);
        QVERIFY(!modified());
    }

    void replaceAllReplacesBehindEachReplacementAndReports()
    {
        QVERIFY(start("aaa"));
        editor().setCaret(0);
        m_form->find().replaceDialog()->show();
        replaceAll(QStringLiteral("a"), QStringLiteral("aa"));
        QCOMPARE(editor().bytes(), QByteArray("aaaaaa"));
        QCOMPARE(prompts().informations,
                 QStringList{
                     QStringLiteral("Quillet -Text Replacement: Search of text completed.\r\n3 replacements made.")});
        QVERIFY(modified());
        QVERIFY(!m_form->find().replaceDialog()->isVisible()); // closed by Replace All
        QCOMPARE(editor().selStart(), 6);
        // The counter starts again at 0 for the next run.
        editor().setCaret(0);
        replaceAll(QStringLiteral("aaaaaa"), QStringLiteral("b"));
        QCOMPARE(prompts().informations.last(),
                 QStringLiteral("Quillet -Text Replacement: Search of text completed.\r\n1 replacements made."));
    }

    void wholeWordEndsAtPunctuationInFindAndReplaceAll()
    {
        // “hello” hello—x hello «hello» hello x helloé hello_ hello, with a no-break space.
        const QByteArray text("\xe2\x80\x9chello\xe2\x80\x9d hello\xe2\x80\x94x hello \xc2\xabhello\xc2\xbb "
                              "hello\xc2\xa0x hello\xc3\xa9 hello_ hello");
        QVERIFY(start(text));
        m_form->find().setFindText(QStringLiteral("hello"));
        QAction* again = m_form->action(QStringLiteral("SearchAgain1"));
        editor().setCaret(0);
        QList<qint64> found; // with the Find window's start-up options: match case, whole word
        for (again->trigger(); prompts().informations.isEmpty(); again->trigger())
            found << editor().selStart();
        QCOMPARE(found, (QList<qint64>{3, 12, 22, 30, 38, 62}));

        editor().setCaret(0);
        m_form->find().replaceDialog()->wholeWordBox()->setChecked(true);
        replaceAll(QStringLiteral("hello"), QStringLiteral("X"));
        QCOMPARE(prompts().informations.last(),
                 QStringLiteral("Quillet -Text Replacement: Search of text completed.\r\n6 replacements made."));
    }

    void everyLettersCaseIsFoldedInFindSearchAgainAndReplaceAll()
    {
        const QByteArray text("\xc3\xa4rger \xc3\x84rger \xc3\x84RGER"); // ärger Ärger ÄRGER
        QVERIFY(start(text));
        FindDialog* find = m_form->find().findDialog();
        find->matchCaseBox()->setChecked(false);
        find->setFindText(QStringLiteral("\u00c4RGER"));
        editor().setCaret(0);
        find->findNextButton()->click();
        QCOMPARE(editor().selStart(), 0);
        QAction* again = m_form->action(QStringLiteral("SearchAgain1"));
        again->trigger();
        QCOMPARE(editor().selStart(), 7);
        again->trigger();
        QCOMPARE(selected(editor()), QByteArray("\xc3\x84RGER"));
        QVERIFY(prompts().informations.isEmpty());

        editor().setCaret(0);
        replaceAll(QStringLiteral("\u00e4rger"), QStringLiteral("x"));
        QCOMPARE(prompts().informations.last(),
                 QStringLiteral("Quillet -Text Replacement: Search of text completed.\r\n3 replacements made."));
        QCOMPARE(editor().bytes(), QByteArray("x x x"));
        // A variant longer than the search text is replaced whole.
        editor().setBytes("Stra\xe1\xba\x9e\x65 stra\xc3\x9f\x65"); // STRAẞE-style capital sharp s
        editor().setCaret(0);
        replaceAll(QStringLiteral("stra\u00dfe"), QStringLiteral("road"));
        QCOMPARE(editor().bytes(), QByteArray("road road"));
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
        QCOMPARE(prompts().informations,
                 QStringList{
                     QStringLiteral("Quillet -Text Replacement: Search of text completed.\r\n0 replacements made.")});
        QCOMPARE(editor().bytes(), QByteArray("nothing here"));
        QCOMPARE(editor().selStart(), 3);
        QVERIFY(!modified());
    }

    void singleReplaceReplacesANonMatchingSelectionWithoutMarking()
    {
        QVERIFY(start("keep this"));
        ReplaceDialog* dialog = m_form->find().replaceDialog();
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
        QVERIFY(prompts().informations.isEmpty());
        QVERIFY(prompts().errors.isEmpty());
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
        m_fixture->windows.gotoLine = &box;
        int maxSeen = -1;
        QTimer::singleShot(0, this, [&] {
            maxSeen = box.maxValue();
            box.lineSpin()->setValue(4);
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
        m_fixture->windows.gotoLine = nullptr;
    }
};

QTEST_MAIN(TestFindReplace)
#include "tst_findreplace.moc"
