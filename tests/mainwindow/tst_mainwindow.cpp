// The real main window driven as a user drives it: keys in the editor, clicks on the tab strip,
// the tool bar and the status bar, the command line, and the store files the documents pass
// through. Every test gets its own sandbox (TMPDIR) so the store files can be inspected.

#include "editor/editorviews.h"
#include "mainwindow/commandtable.h"
#include "mainwindow/datecontroller.h"
#include "mainwindow/editcontroller.h"
#include "mainwindow/filecontroller.h"
#include "mainwindow/textcontroller.h"
#include "mainwindow/viewcontroller.h"
#include "settings/programstore.h"
#include "support/mainwindowfixture.h"
#include "support/memorystore.h"
#include "windows/captionbar.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QDropEvent>
#include <QFile>
#include <QFileInfo>
#include <QIcon>
#include <QImage>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QProgressBar>
#include <QRegularExpression>
#include <QScopeGuard>
#include <QSet>
#include <QSignalSpy>
#include <QTest>
#include <QToolBar>
#include <QToolButton>

#include <memory>

namespace {

// One hundred numbered lines, CR LF terminated.
QByteArray hundredLines()
{
    QByteArray text;
    for (int i = 1; i <= 100; ++i)
        text += "line " + QByteArray::number(i) + " of a longer text\r\n";
    return text;
}

// A date and time stamp as the "Time" switch writes it ("dddd dd/mmmm/yyyy hh:nn:ss ampm").
const QString StampPattern = QStringLiteral("[A-Za-z]+ \\d{2}/[A-Za-z]+/\\d{4} \\d{2}:\\d{2}:\\d{2} \\S+");

} // namespace

class TestMainWindow : public MainWindowTest
{
    Q_OBJECT

private:
    QPoint panelCentre(int panel)
    {
        return QPoint(status()->panelLeft(panel) + status()->panelWidth(panel) / 2, status()->height() / 2);
    }

    // Drops `text` on the editor's text area as a mouse drag from another program does.
    void dropText(const QByteArray& text)
    {
        QMimeData mime;
        mime.setText(QString::fromUtf8(text));
        QWidget* area = editor()->viewport();
        const QPoint at(5, 5);
        QDragEnterEvent enter(at, Qt::CopyAction, &mime, Qt::LeftButton, {});
        QCoreApplication::sendEvent(area, &enter);
        QDragMoveEvent move(at, Qt::CopyAction, &mime, Qt::LeftButton, {});
        QCoreApplication::sendEvent(area, &move);
        QDropEvent drop(at, Qt::CopyAction, &mime, Qt::LeftButton, {});
        QCoreApplication::sendEvent(area, &drop);
    }
    // Lets the editor paint (and so lay out a pending wrap) as it would on screen.
    void settle()
    {
        for (int i = 0; i < 3; ++i) {
            editor()->viewport()->repaint();
            QCoreApplication::processEvents();
        }
    }
    bool caretOnScreen()
    {
        const long caret = editor()->send(SCI_GETCURRENTPOS);
        const QPoint at(editor()->send(SCI_POINTXFROMPOSITION, 0UL, caret),
                        editor()->send(SCI_POINTYFROMPOSITION, 0UL, caret));
        return editor()->viewport()->rect().contains(at);
    }

private slots:
    void init()
    {
        newFixture();
        // Every question is answered No.
        prompts().otherwise = Answer::No;
    }

    void cleanup() { m_fixture.reset(); }

    // --- Modified tracking on key presses ------------------------------------------------

    void secondKeyAfterAChangeMarksTheDocumentModified()
    {
        QVERIFY(start());
        form()->action(QStringLiteral("New1"))->trigger();
        QCOMPARE(docs().currentIndex(), 1);

        QTest::keyClick(editor(), 'a');
        QCOMPARE(modifiedWordsOf(docs())[1], NotModifiedWord);
        QCOMPARE(status()->panelText(2), QString());
        QCOMPARE(form()->documentTabs()->tabs()->picture(1), 0);

        QTest::keyClick(editor(), 'b');
        QCOMPARE(modifiedWordsOf(docs())[1], ModifiedWord);
        QCOMPARE(status()->panelText(2), QStringLiteral("Modified"));
        QCOMPARE(form()->documentTabs()->tabs()->picture(1), 1);

        clickTab(0);
        QCOMPARE(docs().currentIndex(), 0);
        QCOMPARE(status()->panelText(2), QString());
        QCOMPARE(form()->documentTabs()->tabs()->picture(0), 0);
        QCOMPARE(form()->documentTabs()->tabs()->picture(1), 1);
        clickTab(1);
        QCOMPARE(editor()->bytes(), QByteArray("ab"));
        QCOMPARE(status()->panelText(2), QStringLiteral("Modified"));
        QCOMPARE(modifiedWordsOf(docs())[1], ModifiedWord);
    }

    void changesWithoutTheirOwnKeysAreAskedAboutAtExit()
    {
        const QString a = makeFile(QStringLiteral("a.txt"), "alpha");
        const QString b = makeFile(QStringLiteral("b.txt"), "beta");
        QVERIFY(start({a, b}));
        QCOMPARE(docs().currentIndex(), 2);
        // Text dropped in with the mouse, then another tab clicked.
        QByteArray lines;
        for (int i = 1; i <= 20; ++i)
            lines += "pasted line " + QByteArray::number(i) + "\r\n";
        dropText(lines);
        QVERIFY(editor()->bytes().contains(lines));
        clickTab(1);
        QCOMPARE(modifiedWordsOf(docs())[2], ModifiedWord);
        QCOMPARE(form()->documentTabs()->tabs()->picture(2), 1);

        // One letter, then the next document: the letter is a change too.
        typeAtEnd("x");
        QTest::keyClick(editor(), Qt::Key_F7);
        QCOMPARE(docs().currentIndex(), 2);
        QCOMPARE(modifiedWordsOf(docs())[1], ModifiedWord);

        // Exit asks about both (answered No: the files stay as they were).
        QVERIFY(form()->close());
        QCOMPARE(prompts().questions.size(), 2);
        QCOMPARE(fileBytes(a), QByteArray("alpha"));
        QCOMPARE(fileBytes(b), QByteArray("beta"));
    }

    // --- Switching keeps caret and bytes ---------------------------------------------------

    void caretInTheMiddleOfLine50IsRestoredAfterSwitchingBack()
    {
        QVERIFY(start({makeFile(QStringLiteral("long.txt"), hundredLines())}));
        const qint64 pos = editor()->send(SCI_POSITIONFROMLINE, 49UL) + 7;
        editor()->setCaret(pos);

        clickTab(0);
        QCOMPARE(docs().currentIndex(), 0);
        clickTab(1);
        QCOMPARE(docs().currentIndex(), 1);

        QCOMPARE(editor()->selStart(), pos);
        QCOMPARE(editor()->selLength(), 0);
        // Line 50 is scrolled into view.
        const long first = editor()->send(SCI_GETFIRSTVISIBLELINE);
        const long onScreen = editor()->send(SCI_LINESONSCREEN);
        const long shown = editor()->send(SCI_VISIBLEFROMDOCLINE, 49UL);
        QVERIFY2(first <= shown && shown < first + onScreen,
                 qPrintable(QStringLiteral("first visible %1, %2 on screen").arg(first).arg(onScreen)));
    }

    void textSurvivesSwitchingByteForByte()
    {
        // Not UTF-8, and 0x81 is no Windows-1252 character: the bytes are kept as they are.
        static const char raw[] = "A\xFF\x81"
                                  "B\0C\r\nD\rE\nF\xC3(\xE2\x82\r\n";
        const QByteArray content(raw, sizeof raw - 1);
        QVERIFY(start({makeFile(QStringLiteral("bytes.bin"), content)}));
        QCOMPARE(editor()->bytes(), content);

        clickTab(0);
        QCOMPARE(docs().currentIndex(), 0);
        QCOMPARE(fileBytes(storeFilesOf(docs())[1]), content);

        form()->action(QStringLiteral("NextDocument1"))->trigger();
        QCOMPARE(docs().currentIndex(), 1);
        QCOMPARE(editor()->bytes(), content);
    }

    // --- Word wrap -------------------------------------------------------------------------

    void wordWrapToggledTwiceReturnsToFirstState_data()
    {
        QTest::addColumn<QString>("how");
        QTest::newRow("menu item") << QStringLiteral("menu");
        QTest::newRow("tool button") << QStringLiteral("button");
        QTest::newRow("status panel 5") << QStringLiteral("panel");
    }

    void wordWrapToggledTwiceReturnsToFirstState()
    {
        QFETCH(QString, how);
        QVERIFY(start({makeFile(QStringLiteral("w.txt"), hundredLines())}));
        QAction* check = form()->action(QStringLiteral("WordWrap1"));
        const qint64 pos = editor()->send(SCI_POSITIONFROMLINE, 20UL) + 4;
        editor()->setCaret(pos);

        auto toggle = [&] {
            if (how == QLatin1String("menu"))
                check->trigger();
            else if (how == QLatin1String("button"))
                QTest::mouseClick(form()->toolBar()->findChild<QToolButton*>(QStringLiteral("WordWrapBtn1")),
                                  Qt::LeftButton);
            else
                QTest::mouseClick(status(), Qt::LeftButton, {}, panelCentre(5));
        };
        auto horizontalBar = [&] { return editor()->send(SCI_GETHSCROLLBAR) != 0; };
        const bool wrap = editor()->wordWrap();
        const bool checked = check->isChecked();
        const QString panel5 = status()->panelText(5);
        const bool bothBars = horizontalBar();

        toggle();
        QCOMPARE(editor()->wordWrap(), !wrap);
        QCOMPARE(check->isChecked(), !wrap);
        QCOMPARE(status()->panelText(5), wrap ? QString() : QStringLiteral("  W-W"));
        QCOMPARE(horizontalBar(), wrap);
        QCOMPARE(editor()->selStart(), pos);
        if (how == QLatin1String("panel")) // the hint of the panel pointed at follows its change
            QCOMPARE(status()->panelText(4),
                     wrap ? QStringLiteral("Quillet is not Word-Wrapped") : QStringLiteral("Quillet is Word-Wrapped"));

        toggle();
        QCOMPARE(editor()->wordWrap(), wrap);
        QCOMPARE(check->isChecked(), checked);
        QCOMPARE(status()->panelText(5), panel5);
        QCOMPARE(editor()->selStart(), pos);
        QCOMPARE(editor()->selLength(), 0);
        QCOMPARE(horizontalBar(), bothBars);
    }

    void caretStaysOnScreenAfterRewrapping()
    {
        // Lines of 400 characters wrap into several screen lines each.
        QByteArray text;
        for (int i = 0; i < 300; ++i)
            text += QByteArray("word ").repeated(80) + "\r\n";
        QVERIFY(start({makeFile(QStringLiteral("long.txt"), text)}));
        QAction* wrap = form()->action(QStringLiteral("WordWrap1"));
        editor()->setCaret(editor()->send(SCI_POSITIONFROMLINE, 200UL) + 250);
        settle();
        QVERIFY(caretOnScreen());

        wrap->trigger();
        settle();
        QVERIFY2(caretOnScreen(), "unwrapped");
        wrap->trigger();
        settle();
        QVERIFY2(caretOnScreen(), "wrapped again");

        // Wrapping changed while the document was hidden: it is re-wrapped as it comes back.
        wrap->trigger();
        settle();
        form()->action(QStringLiteral("New1"))->trigger();
        wrap->trigger();
        clickTab(1);
        settle();
        QVERIFY2(caretOnScreen(), "switched back");
    }

    // --- Title -----------------------------------------------------------------------------

    void titleFollowsTheCurrentDocument()
    {
        QVERIFY(start());
        QCOMPARE(form()->windowTitle(), QStringLiteral("Quillet  - Untitled"));
        form()->files().openPath(makeFile(QStringLiteral("a.txt"), "alpha"));
        QCOMPARE(form()->windowTitle(), QStringLiteral("Quillet  - a.txt"));
        form()->action(QStringLiteral("New1"))->trigger();
        QCOMPARE(form()->windowTitle(), QStringLiteral("Quillet  - Untitled"));
        clickTab(1);
        QCOMPARE(docs().currentIndex(), 1);
        QCOMPARE(form()->windowTitle(), QStringLiteral("Quillet  - a.txt"));
    }

    void captionStripShowsTheDocumentTextActiveAndInactive()
    {
        QVERIFY(start());
        form()->files().openPath(makeFile(QStringLiteral("a document with a rather long name.txt"), "alpha"));
        auto* strip = form()->findChild<CaptionBar*>(QStringLiteral("MSOfficeCaption1"));
        QVERIFY(strip);
        // Above the menu bar, as a title bar is.
        QVERIFY(form()->menuBar()->geometry().top() >= strip->geometry().bottom());
        QCOMPARE(strip->drawnTexts(),
                 QStringList({QStringLiteral("Quillet"), QStringLiteral(" - a document with a rather long name.txt")}));
        const auto edges = [strip] {
            const QImage image = strip->grab().toImage();
            return std::make_pair(QColor(image.pixel(0, 0)),
                                  QColor(image.pixel(image.width() - 1, image.height() - 1)));
        };
        QCOMPARE(edges(), std::make_pair(QColor(Qt::black), QColor(strip->rightColor(true).rgb())));
        QWidget other;
        other.show();
        other.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&other));
        QCOMPARE(edges(), std::make_pair(QColor(Qt::black), QColor(strip->rightColor(false).rgb())));
        QVERIFY(strip->rightColor(true) != strip->rightColor(false));
        // The product text keeps its active colour; the document text takes the inactive one.
        QCOMPARE(strip->textColor(CaptionBar::Part::ProductText, false), CaptionBar::systemTextColor(true));
        QCOMPARE(strip->textColor(CaptionBar::Part::CaptionText, false), CaptionBar::systemTextColor(false));

        // Too narrow: "Quillet" goes first, the document text is cut with an ellipsis.
        form()->setMinimumSize(0, 0);
        form()->resize(150, form()->height());
        QTRY_COMPARE(strip->width(), form()->width());
        const QStringList narrow = strip->drawnTexts();
        QCOMPARE(narrow.size(), 1);
        QVERIFY2(narrow.first().startsWith(QStringLiteral(" - a doc")) && narrow.first().endsWith(QChar(0x2026)),
                 qPrintable(narrow.first()));
        QCOMPARE(form()->windowTitle(), QStringLiteral("Quillet  - a document with a rather long name.txt"));
    }

    // --- Command line ----------------------------------------------------------------------

    void filesOnTheCommandLineOpenAfterUntitled()
    {
        const QString a = makeFile(QStringLiteral("a.txt"), "alpha");
        const QString b = makeFile(QStringLiteral("b.txt"), "beta");
        QVERIFY(start({a, b}));
        QCOMPARE(captionsOf(docs()), (QStringList{UntitledName, QStringLiteral("a.txt"), QStringLiteral("b.txt")}));
        QCOMPARE(displayPathsOf(docs()), (QStringList{UntitledName, a, b}));
        QCOMPARE(docs().currentIndex(), 2);
        QCOMPARE(form()->documentTabs()->tabIndex(), 2);
        QCOMPARE(form()->documentTabs()->tabs()->count(), 3);
        QCOMPARE(editor()->bytes(), QByteArray("beta"));
        QCOMPARE(fileBytes(storeFilesOf(docs())[1]), QByteArray("alpha"));
        QCOMPARE(modifiedWordsOf(docs()), (QStringList{NotModifiedWord, NotModifiedWord, NotModifiedWord}));
    }

    // The options window does not exist yet while the command line's files open: what it will
    // restore from the settings holds for them already.
    void storedOptionsHoldForTheCommandLine_data()
    {
        QTest::addColumn<QString>("option");
        QTest::addColumn<QString>("value");
        QTest::addColumn<bool>("listed"); // named in a CF list rather than on the command line
        QTest::newRow("legacy code page") << "LegacyEncodingCombo_Text"
                                          << "Windows-1251" << false;
        QTest::newRow("legacy code page, CF list") << "LegacyEncodingCombo_Text"
                                                   << "Windows-1251" << true;
        QTest::newRow("open unwrapped above: never") << "SpinEdit2_Value"
                                                     << "0" << false;
        QTest::newRow("open unwrapped above: 1 MB") << "SpinEdit2_Value"
                                                    << "1" << true;
    }
    void storedOptionsHoldForTheCommandLine()
    {
        QFETCH(QString, option);
        QFETCH(QString, value);
        QFETCH(bool, listed);
        MemoryStore store;
        store.writeString(QStringLiteral("Quillet Options"), option, value);
        setProgramStore(&store);
        const auto noStore = qScopeGuard([this] {
            m_fixture.reset();
            setProgramStore(nullptr);
        });
        const bool encoding = option.startsWith(QStringLiteral("Legacy"));
        // "Привет" in Windows-1251; 2 MiB of it against a limit of 1 MB.
        const QByteArray cyrillic("\xCF\xF0\xE8\xE2\xE5\xF2\r\n");
        const QByteArray bytes = encoding                      ? cyrillic
                                 : value == QLatin1String("0") ? QByteArray(9 << 20, 'x')
                                                               : QByteArray(2 << 20, 'x');
        const QString file = makeFile(QStringLiteral("stored.txt"), bytes);
        QVERIFY(start(listed ? QStringList{QStringLiteral("CF"),
                                           makeFile(QStringLiteral("list.txt"), QFile::encodeName(file) + "\r\n")}
                             : QStringList{file}));
        if (listed)
            clickTab(1);
        QCOMPARE(docs().current().path, file);
        if (encoding) {
            QCOMPARE(status()->panelText(StatusBar::Encoding), value);
            QCOMPARE(editor()->bytes(), QStringLiteral("\u041F\u0440\u0438\u0432\u0435\u0442\r\n").toUtf8());
        } else {
            QCOMPARE(editor()->wordWrap(), value == QLatin1String("0"));
        }
    }

    void listFileOpensEachLineThenItself()
    {
        const QString one = makeFile(QStringLiteral("one.txt"), "first");
        const QString two = makeFile(QStringLiteral("two.txt"), "second");
        const QByteArray list = QFile::encodeName(one) + "\r\n\r\n" + QFile::encodeName(two) + "\r\n";
        const QString listFile = makeFile(QStringLiteral("list.txt"), list);
        QVERIFY(start({QStringLiteral("CF"), listFile}));

        QCOMPARE(captionsOf(docs()), (QStringList{UntitledName, QStringLiteral("one.txt"), QString(),
                                                  QStringLiteral("two.txt"), QStringLiteral("list.txt")}));
        // An empty line names no file: its document is untitled, so a save asks where to go.
        QCOMPARE(displayPathsOf(docs()), (QStringList{UntitledName, one, UntitledName, two, listFile}));
        QCOMPARE(docs().currentIndex(), 4);
        QCOMPARE(editor()->bytes(), list);
        QCOMPARE(fileBytes(storeFilesOf(docs())[1]), QByteArray("first"));
        QCOMPARE(fileBytes(storeFilesOf(docs())[2]), QByteArray());
        QCOMPARE(fileBytes(storeFilesOf(docs())[3]), QByteArray("second"));
        QVERIFY(form()->scratchBuffer().isEmpty());
        QVERIFY(prompts().errors.isEmpty());
    }

    void unreadableFileStillGivesADocumentUnderItsName_data()
    {
        QTest::addColumn<QString>("argument");
        QTest::addColumn<QString>("caption");
        QTest::newRow("missing file") << QStringLiteral("missing.txt") << QStringLiteral("missing.txt");
        QTest::newRow("/P is a file name, not a switch") << QStringLiteral("/P") << QStringLiteral("P");
    }

    void unreadableFileStillGivesADocumentUnderItsName()
    {
        QFETCH(QString, argument);
        QFETCH(QString, caption);
        const QString path = argument.startsWith(QLatin1Char('/')) ? argument : m_fixture->sandbox.filePath(argument);
        QVERIFY(start({path}));
        QCOMPARE(captionsOf(docs()), (QStringList{UntitledName, caption}));
        QCOMPARE(displayPathsOf(docs()), (QStringList{UntitledName, path}));
        QCOMPARE(docs().currentIndex(), 1);
        QCOMPARE(editor()->bytes(), QByteArray());
        QCOMPARE(modifiedWordsOf(docs())[1], NotModifiedWord);
        QCOMPARE(status()->panelText(2), QString());
        QCOMPARE(form()->documentTabs()->tabs()->picture(1), 0);
        QVERIFY(prompts().errors.isEmpty());
    }

    void timeSwitchAppendsOneLineAndMarksModified_data()
    {
        QTest::addColumn<bool>("withFile");
        QTest::addColumn<QString>("expected");
        QTest::newRow("empty Untitled") << false << QStringLiteral("^%1\r\n$").arg(StampPattern);
        QTest::newRow("after a file's last line") << true << QStringLiteral("^last line\r\n%1$").arg(StampPattern);
    }

    void timeSwitchAppendsOneLineAndMarksModified()
    {
        QFETCH(bool, withFile);
        QFETCH(QString, expected);
        QStringList args;
        if (withFile)
            args << makeFile(QStringLiteral("t.txt"), "last line");
        QVERIFY(start(args << QStringLiteral("Time")));
        const int current = withFile ? 1 : 0;
        QCOMPARE(docs().currentIndex(), current);
        const QString text = QString::fromUtf8(editor()->bytes());
        QVERIFY2(QRegularExpression(expected).match(text).hasMatch(), qPrintable(text));
        QCOMPARE(modifiedWordsOf(docs())[current], ModifiedWord);
        QCOMPARE(status()->panelText(2), QStringLiteral("Modified"));
        QCOMPARE(form()->documentTabs()->tabs()->picture(current), 1);
        if (withFile)
            QCOMPARE(modifiedWordsOf(docs())[0], NotModifiedWord);
    }

    void cfAsLastArgumentIsReportedAndStartUpGoesOn()
    {
        const QString a = makeFile(QStringLiteral("a.txt"), "alpha");
        QVERIFY(start({a, QStringLiteral("CF")}));
        QCOMPARE(prompts().errors.size(), 1);
        QVERIFY(!prompts().errors.first().isEmpty());
        QCOMPARE(captionsOf(docs()), (QStringList{UntitledName, QStringLiteral("a.txt")}));
        QCOMPARE(status()->panelText(4), QStringLiteral("Welcome to Quillet!"));
    }

    // --- Shortcuts -------------------------------------------------------------------------

    void programShortcutsWorkWithFocusInTheEditor()
    {
        const QString a = makeFile(QStringLiteral("a.txt"), "alpha");
        const QString b = makeFile(QStringLiteral("b.txt"), "beta");
        QVERIFY(start({a, b}));
        editor()->setFocus();
        QCOMPARE(QApplication::focusWidget(), static_cast<QWidget*>(editor()));

        QTest::keyClick(editor(), Qt::Key_F7, Qt::ShiftModifier);
        QCOMPARE(docs().currentIndex(), 1);
        QCOMPARE(editor()->bytes(), QByteArray("alpha"));
        QTest::keyClick(editor(), Qt::Key_F7, Qt::ShiftModifier);
        QTest::keyClick(editor(), Qt::Key_F7, Qt::ShiftModifier); // on the first tab: nothing
        QCOMPARE(docs().currentIndex(), 0);
        QTest::keyClick(editor(), Qt::Key_F7);
        QCOMPARE(docs().currentIndex(), 1);
        QTest::keyClick(editor(), Qt::Key_F7);
        QTest::keyClick(editor(), Qt::Key_F7); // on the last tab: nothing
        QCOMPARE(docs().currentIndex(), 2);
        QCOMPARE(editor()->bytes(), QByteArray("beta"));

        QTest::keyClick(editor(), Qt::Key_N, Qt::ControlModifier);
        QCOMPARE(docs().count(), 4);
        QCOMPARE(docs().currentIndex(), 3);
        QCOMPARE(editor()->bytes(), QByteArray());
        QCOMPARE(fileBytes(storeFilesOf(docs())[2]), QByteArray("beta"));
    }

    void editorKeepsNoBindingThatClashesWithAProgramShortcut()
    {
        QVERIFY(start());
        QList<int> programKeys;
        for (QAction* action : form()->findChildren<QAction*>())
            for (const QKeySequence& keys : action->shortcuts())
                if (!keys.isEmpty())
                    programKeys.append(keys[0].toCombined());
        QVERIFY(programKeys.contains(QKeySequence(QStringLiteral("Ctrl+D"))[0].toCombined()));
        QVERIFY(programKeys.contains(QKeySequence(QStringLiteral("Ctrl+Shift+T"))[0].toCombined()));

        // A program key that reaches the editor itself (its command disabled, say) does nothing
        // there: no duplicated or transposed line, no line cut to the clipboard, no other text.
        editor()->setBytes(QByteArray("first line\r\nsecond line\r\n"));
        editor()->send(SCI_SETSEL, 3, 8);
        QApplication::clipboard()->setText(QStringLiteral("kept"));
        // Only the editor's own handling: every command is disabled and the program's reading of
        // the key silenced.
        for (QAction* action : form()->findChildren<QAction*>())
            action->setEnabled(false);
        const QSignalBlocker quiet(editor());
        for (const int key : programKeys) {
            QKeyEvent press(QEvent::KeyPress, key & ~Qt::KeyboardModifierMask,
                            Qt::KeyboardModifiers(key & Qt::KeyboardModifierMask));
            QCoreApplication::sendEvent(editor(), &press);
            const QString what = QKeySequence(key).toString();
            QVERIFY2(editor()->bytes() == "first line\r\nsecond line\r\n", qPrintable(what));
            QVERIFY2(editor()->selStart() == 3 && editor()->selLength() == 5, qPrintable(what));
            QVERIFY2(QApplication::clipboard()->text() == QLatin1String("kept"), qPrintable(what));
        }
    }

    // --- Keyboard focus -------------------------------------------------------------------

    void theEditorHasTheKeyboardAtStartAndAfterNew()
    {
        QVERIFY(start());
        QCOMPARE(QApplication::focusWidget(), editor());
        form()->action(QStringLiteral("New1"))->trigger();
        QCOMPARE(QApplication::focusWidget(), editor());
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_N, Qt::ControlModifier);
        QCOMPARE(docs().count(), 3);
        QCOMPARE(QApplication::focusWidget(), editor());
        clickTab(0);
        QCOMPARE(QApplication::focusWidget(), editor());
    }

    // --- Questions --------------------------------------------------------------------------

    void closingAModifiedDocumentOffersNoOnEnterAndCloseAllOffersYes()
    {
        QVERIFY(start());
        form()->action(QStringLiteral("New1"))->trigger();
        typeAtEnd("ab");
        form()->action(QStringLiteral("CloseDocument1"))->trigger();
        form()->action(QStringLiteral("CloseAll1"))->trigger();
        QCOMPARE(prompts().questions, QStringList({CloseModifiedQuestion, CloseAllQuestion}));
        QCOMPARE(prompts().questionDefaults, QList<Answer>({Answer::No, Answer::Yes}));
        QCOMPARE(docs().count(), 2);
    }

    // --- Store files -----------------------------------------------------------------------

    void everyDocumentHasItsOwnEmptyStoreFileInTheTemporaryFolder()
    {
        QVERIFY(start());
        const QString tmp = QDir(m_fixture->sandbox.path()).canonicalPath();
        auto checkNewest = [&](int expectedCount) {
            QCOMPARE(storeFilesOf(docs()).size(), expectedCount);
            QCOMPARE(docs().storeFilesMade(), storeFilesOf(docs()));
            const QFileInfo info(storeFilesOf(docs()).last());
            QVERIFY2(info.exists(), qPrintable(info.filePath()));
            QCOMPARE(info.dir().canonicalPath(), tmp);
            QVERIFY(info.fileName().startsWith(QLatin1String("txt")));
            QCOMPARE(info.size(), 0);
        };
        checkNewest(1);
        QTest::keyClicks(editor(), "kept");
        form()->action(QStringLiteral("New1"))->trigger();
        checkNewest(2);
        QCOMPARE(fileBytes(storeFilesOf(docs())[0]), QByteArray("kept"));
        form()->files().openPath(makeFile(QStringLiteral("a.txt"), "alpha"));
        checkNewest(3);
        const QStringList files = storeFilesOf(docs());
        QCOMPARE(QSet<QString>(files.begin(), files.end()).size(), 3);
    }

    void closingTheWindowDeletesEveryStoreFile()
    {
        const QString a = makeFile(QStringLiteral("a.txt"), "alpha");
        QVERIFY(start({a}));
        QTest::keyClicks(editor(), "more");
        form()->action(QStringLiteral("New1"))->trigger();
        const QStringList registered = docs().storeFilesMade();
        QCOMPARE(registered.size(), 3);
        for (const QString& file : registered)
            QVERIFY(QFile::exists(file));

        QVERIFY(form()->close());
        for (const QString& file : registered)
            QVERIFY2(!QFile::exists(file), qPrintable(file));
        QVERIFY(QDir(m_fixture->sandbox.path()).entryList({QStringLiteral("txt*")}, QDir::Files).isEmpty());
        QCOMPARE(fileBytes(a), QByteArray("alpha"));
        QCOMPARE(status()->panelText(4), QStringLiteral("Welcome to Quillet!"));
    }

    // --- Status bar ------------------------------------------------------------------------

    void pointingAtTheModifiedPanelExplainsIt()
    {
        QVERIFY(start());
        QTest::mouseMove(status(), panelCentre(2));
        QCOMPARE(status()->panelText(4), QStringLiteral("The Current Document is not Modified"));

        QTest::keyClicks(editor(), "ab");
        QCOMPARE(status()->panelText(2), QStringLiteral("Modified"));
        QTest::mouseMove(status(), panelCentre(0));
        QTest::mouseMove(status(), panelCentre(2));
        QCOMPARE(status()->panelText(4), QStringLiteral("The Current Document is Modified"));
    }

    void wideningTheWindowWidensTheMessagePanel()
    {
        QVERIFY(start());
        QProgressBar* progress = status()->progressBar();
        QVERIFY(progress);
        QVERIFY(!progress->isVisible());
        const int panel = status()->panelWidth(4);
        const int bar = progress->width();
        form()->resize(form()->width() + 100, form()->height());
        QCoreApplication::processEvents();
        QCOMPARE(status()->panelWidth(4), panel + 100);
        QCOMPARE(progress->width(), bar + 100);
    }

    void theLineAndColumnAreNeverCutShort()
    {
        QVERIFY(start(
            {makeFile(QStringLiteral("long.txt"), QByteArray("line\r\n").repeated(150000) + QByteArray(40, 'x'))}));
        const int stored = status()->panelWidth(StatusBar::CaretPosition);
        editor()->setCaret(editor()->textLength());
        QTRY_COMPARE(status()->panelText(StatusBar::CaretPosition), QStringLiteral("150001:40"));
        const QRect place = status()->panelRect(StatusBar::CaretPosition);
        QVERIFY(status()->fontMetrics().horizontalAdvance(QStringLiteral("150001:40")) <= place.width() - 6);
        QVERIFY(!place.intersects(status()->panelRect(StatusBar::Message)));
        QCOMPARE(status()->panelWidth(StatusBar::CaretPosition), stored); // what is stored stays
    }

    void panelsNeitherOverlapNorLeaveTheBarAtAnyWidth()
    {
        QVERIFY(start());
        QSignalSpy hovered(status(), &StatusBar::panelHovered);
        // Down to the narrowest the window allows.
        for (int width = form()->width(); width > 0; width -= 23) {
            form()->resize(width, form()->height());
            QCoreApplication::processEvents();
            QList<QRect> shown;
            for (int panel = 0; panel < StatusBar::PanelCount; ++panel) {
                const QRect place = status()->panelRect(panel);
                if (place.isEmpty())
                    continue;
                const QString where = QStringLiteral("panel %1 at bar width %2").arg(panel).arg(status()->width());
                QVERIFY2(status()->rect().contains(place), qPrintable(where));
                for (const QRect& other : shown)
                    QVERIFY2(!other.intersects(place), qPrintable(where));
                shown << place;
                // A panel answers the mouse where it is drawn.
                QTest::mouseMove(status(), QPoint(0, 0)); // off every panel, so the next move is one
                hovered.clear();
                QTest::mouseMove(status(), place.center());
                QVERIFY2(!hovered.isEmpty(), qPrintable(where));
                QCOMPARE(hovered.last().at(0).toInt(), panel);
            }
            QVERIFY(!shown.isEmpty());
            const QRect progress = status()->progressBar()->geometry();
            QVERIFY(progress.isEmpty() || status()->panelRect(StatusBar::Message).contains(progress));
        }
    }

    void showSizeGripTogglesTheGrip()
    {
        QVERIFY(start());
        QAction* show = form()->action(QStringLiteral("Show1"));
        QVERIFY(form()->statusMenu()->actions().contains(show));
        const bool first = show->isChecked();
        QCOMPARE(status()->sizeGrip(), first);
        show->trigger();
        QCOMPARE(show->isChecked(), !first);
        QCOMPARE(status()->sizeGrip(), !first);
        show->trigger();
        QCOMPARE(status()->sizeGrip(), first);
    }

    void refreshAddsTheSelectionLengthToTheColumn()
    {
        QVERIFY(start({makeFile(QStringLiteral("s.txt"), "ab\r\ncdefgh\r\n")}));
        editor()->setCaret(4);
        form()->view().updateStatusPanels();
        QCOMPARE(status()->panelText(1), QStringLiteral("2:1"));
        // Anchor after "cdef", caret back at the start of the line: only the length adds up.
        editor()->send(SCI_SETSEL, 8UL, 4L);
        form()->view().updateStatusPanels();
        QCOMPARE(status()->panelText(1), QStringLiteral("2:5"));
        QCOMPARE(status()->panelText(3), QStringLiteral("INS"));
    }

    // --- Start state, menus and tool bar ---------------------------------------------------

    void panelsAndCommandStatesAtStart()
    {
        QVERIFY(start());
        QCOMPARE(status()->panelText(1), QStringLiteral("1:1"));
        QCOMPARE(status()->panelText(2), QString());
        QCOMPARE(status()->panelText(3), QStringLiteral("INS"));
        QCOMPARE(status()->panelText(4), QStringLiteral("Welcome to Quillet!"));
        for (const char* name : {"Selection1", "Top1", "AddToClipBook1", "CutBtn1", "CopyBtn1"}) {
            QAction* action = form()->action(QLatin1String(name));
            QVERIFY2(action, name);
            QVERIFY2(!action->isEnabled(), name);
        }
        QVERIFY(form()->action(QStringLiteral("ShowToolBars1"))->isChecked());
        QVERIFY(form()->action(QStringLiteral("New1"))->isEnabled());
    }

    void everyCommandRowIsShownAndEveryKeyHasOneOwner()
    {
        QVERIFY(start());
        QSet<QKeySequence> ownedKeys;
        QList<QAction*> withKeys;
        for (const CommandRow& row : commandTable()) {
            const QString name = QLatin1String(row.name);
            if (name == QLatin1String("-") || name == QLatin1String(">"))
                continue;
            QAction* action = form()->action(name);
            QVERIFY2(action, row.name);
            // A menu of the menu bar carries the name on the menu itself.
            const QObject* named = row.place == CommandPlace::MenuBar ? static_cast<QObject*>(action->menu()) : action;
            QVERIFY2(named && named->objectName() == name, row.name);
            QVERIFY2(!action->associatedObjects().isEmpty(), row.name); // in a menu or on the tool bar
            // A command not built yet cannot be chosen; one that opens a submenu can.
            if (!row.handler && !action->menu())
                QVERIFY2(!action->isEnabled(), row.name);
            if (action->shortcut().isEmpty())
                continue;
            withKeys.append(action);
            if (action->shortcutContext() == Qt::WindowShortcut) {
                QVERIFY2(!ownedKeys.contains(action->shortcut()), row.name); // never ambiguous
                ownedKeys.insert(action->shortcut());
            }
        }
        // A key shown on several items still works: one of them owns it for the whole window.
        for (const QAction* action : std::as_const(withKeys))
            QVERIFY2(ownedKeys.contains(action->shortcut()), qPrintable(action->objectName()));
    }

    void everyToolButtonHasAPictureWithoutAnIconTheme()
    {
        const QString theme = QIcon::themeName();
        const QStringList paths = QIcon::themeSearchPaths();
        QIcon::setThemeName(QString());
        QIcon::setThemeSearchPaths({});
        auto restore = qScopeGuard([&] {
            QIcon::setThemeName(theme);
            QIcon::setThemeSearchPaths(paths);
        });
        QVERIFY(start());
        const QList<QToolButton*> buttons = form()->toolBar()->findChildren<QToolButton*>();
        int pictured = 0;
        for (const QToolButton* button : buttons) {
            if (!button->objectName().endsWith(QLatin1String("Btn1")))
                continue;
            const QString name = button->objectName();
            // The program's own picture, drawn for this command, not a letter.
            const QImage own(QStringLiteral(":/icons/%1.png").arg(name));
            QVERIFY2(!own.isNull(), qPrintable(name));
            QVERIFY2(!button->icon().isNull(), qPrintable(name));
            // Drawn from its SVG source, of which the PNG is a rendering.
            QCOMPARE(button->icon().pixmap(16, 16).toImage().convertToFormat(QImage::Format_ARGB32),
                     QIcon(QStringLiteral(":/icons/%1.svg").arg(name))
                         .pixmap(16, 16)
                         .toImage()
                         .convertToFormat(QImage::Format_ARGB32));
            ++pictured;
        }
        QCOMPARE(pictured, 18);
    }

    void toolButtonsShowShortHintAsTooltipAndLongHintInMessagePanel_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("tooltip");
        QTest::addColumn<QString>("statusTip");
        QTest::newRow("New") << "NewBtn1"
                             << "New"
                             << "Create a new file in the editor";
        QTest::newRow("Word-Wrap") << "WordWrapBtn1"
                                   << "Word-Wrap"
                                   << "Enable/Disable Word-Wrap on the current document";
        QTest::newRow("Close") << "CloseDocBtn1"
                               << "Close"
                               << "Close the current document";
    }

    void toolButtonsShowShortHintAsTooltipAndLongHintInMessagePanel()
    {
        QFETCH(QString, name);
        QFETCH(QString, tooltip);
        QFETCH(QString, statusTip);
        QVERIFY(start());
        auto* button = form()->toolBar()->findChild<QToolButton*>(name);
        QVERIFY(button);
        QCOMPARE(button->size(), QSize(25, 25));
        QCOMPARE(button->toolTip(), tooltip);
        QCOMPARE(button->defaultAction()->statusTip(), statusTip);
        button->defaultAction()->showStatusText(button);
        QCOMPARE(status()->panelText(4), statusTip);
    }
};

QTEST_MAIN(TestMainWindow)
#include "tst_mainwindow.moc"
