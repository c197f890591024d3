// The Insert Date And Time commands and Word Count of the real main window: each command's
// pattern with a fixed clock and locale, insertion before a selection, the filter read from the
// options window when the command runs, the ".LOG" stamp following the last command used, and
// the word count's rules, progress bar, disabled menu item and report.

#include "commands/datestamp.h"
#include "mainwindow/datecontroller.h"
#include "mainwindow/filecontroller.h"
#include "mainwindow/textcontroller.h"
#include "mainwindow/viewcontroller.h"
#include "support/mainwindowfixture.h"

#include <QAction>
#include <QFile>
#include <QLineEdit>
#include <QPointer>
#include <QProgressBar>
#include <QTest>
#include <QTimer>

namespace {

// Counts how often a widget is shown.
class ShowCounter : public QObject
{
public:
    int shows = 0;
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == QEvent::Show)
            ++shows;
        return false;
    }
};

const QDateTime FixedNow(QDate(2026, 12, 6), QTime(14, 5, 9)); // a Sunday afternoon

void useLocale(const char* name)
{
    const DateTimeLocale locale = DateTimeLocale::fromQLocale(QLocale(QLatin1String(name)));
    StampSource::locale = [locale] { return locale; };
}

void selectBytes(EditorView* editor, qint64 anchor, qint64 caret)
{
    editor->send(SCI_SETSEL, static_cast<unsigned long>(anchor), static_cast<long>(caret));
}

} // namespace

class TestDateCommands : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        StampSource::now = [] { return FixedNow; };
    }

    void init()
    {
        m_fixture = std::make_unique<MainWindowFixture>();
        useLocale("en_GB");
    }

    void cleanup() { m_fixture.reset(); }

    void eachCommandInsertsItsStamp_data()
    {
        QTest::addColumn<QString>("command");
        QTest::addColumn<QString>("locale");
        QTest::addColumn<QByteArray>("expected");
        QTest::newRow("short date, slash") << "ShortDate1"
                                           << "en_GB" << QByteArray(">>06/12/26");
        QTest::newRow("short date, full stop") << "ShortDate1"
                                               << "de_DE" << QByteArray(">>06.12.26");
        QTest::newRow("short time") << "ShortTime1"
                                    << "en_GB" << QByteArray(">>14:05");
        QTest::newRow("short date and time") << "ShortDateAndTime1"
                                             << "en_GB" << QByteArray(">>06/12/26 14:05");
        QTest::newRow("long date") << "LongDate1"
                                   << "en_GB" << QByteArray(">>Sunday, 6 December 2026/December/2026");
        QTest::newRow("long time") << "LongTime1"
                                   << "en_US" << QByteArray(">>02:05:09 PM");
        QTest::newRow("long date and time")
            << "LongDateAndTime1"
            << "en_US" << QByteArray(">>Sunday, December 6, 2026/December/2026 02:05:09 PM");
        // No options window: an empty filter, which means the short date and the long time.
        QTest::newRow("filter, F5") << "DateTimeFilter1"
                                    << "en_GB" << QByteArray(">>06/12/2026 14:05:09");
        QTest::newRow("filter, tool button") << "TimeBtn1"
                                             << "en_GB" << QByteArray(">>06/12/2026 14:05:09");
    }

    void eachCommandInsertsItsStamp()
    {
        QFETCH(QString, command);
        QFETCH(QString, locale);
        QFETCH(QByteArray, expected);
        useLocale(locale.toLatin1().constData());
        MainWindow& form = m_fixture->create();
        EditorView* editor = form.editor();
        editor->setBytes(QByteArray("[]"));
        editor->setCaret(1);
        QVERIFY(!form.documents().isModified(form.documents().currentIndex()));

        QAction* action = form.action(command);
        QVERIFY(action && action->isEnabled());
        action->trigger();

        QCOMPARE(editor->bytes(), "[" + expected + "]");
        QCOMPARE(editor->selStart(), 1 + expected.size());
        QCOMPARE(editor->selLength(), 0);
        QVERIFY(form.documents().isModified(form.documents().currentIndex()));
        QVERIFY(prompts().questions.isEmpty());
        QVERIFY(prompts().errors.isEmpty());
        // One edit: a single undo takes the whole stamp away.
        editor->undo();
        QCOMPARE(editor->bytes(), QByteArray("[]"));
    }

    void insertionGoesBeforeTheSelectionAndKeepsIt_data()
    {
        QTest::addColumn<qint64>("anchor");
        QTest::addColumn<qint64>("caret");
        QTest::newRow("selected forwards") << qint64(4) << qint64(7);
        QTest::newRow("selected backwards") << qint64(7) << qint64(4);
    }

    void insertionGoesBeforeTheSelectionAndKeepsIt()
    {
        QFETCH(qint64, anchor);
        QFETCH(qint64, caret);
        MainWindow& form = m_fixture->create();
        EditorView* editor = form.editor();
        editor->setBytes(QByteArray("abc def ghi"));
        selectBytes(editor, anchor, caret);
        QCOMPARE(editor->selLength(), 3);
        form.action(QStringLiteral("ShortTime1"))->trigger();
        QCOMPARE(editor->bytes(), QByteArray("abc >>14:05def ghi"));
        QCOMPARE(editor->selStart(), 11);
        QCOMPARE(editor->selLength(), 0);
    }

    void filterIsReadWhenTheCommandRuns()
    {
        OptionsDialog& options = m_fixture->withOptions();
        auto* field = options.findChild<QLineEdit*>(QStringLiteral("Edit5"));
        QVERIFY(field);
        MainWindow& form = m_fixture->create();
        EditorView* editor = form.editor();

        field->setText(QStringLiteral("yyyy"));
        form.action(QStringLiteral("DateTimeFilter1"))->trigger();
        QCOMPARE(editor->bytes(), QByteArray(">>2026"));

        field->setText(QStringLiteral("'at 'hh"));
        form.action(QStringLiteral("TimeBtn1"))->trigger();
        QCOMPARE(editor->bytes(), QByteArray(">>2026>>at 14"));

        // A click on the clock panel inserts the time as the tool button does.
        field->setText(QStringLiteral("nn"));
        form.view().statusPanelClicked(0);
        QCOMPARE(editor->bytes(), QByteArray(">>2026>>at 14>>05"));
        QCOMPARE(form.dates().stampFormat(), QStringLiteral("nn"));
    }

    void logStampFollowsTheLastCommandUsed()
    {
        const QString path = m_fixture->makeFile(QStringLiteral("log.txt"), QByteArray(".LOG\r\n"));
        MainWindow& form = m_fixture->create();
        form.files().openPath(path);
        QCOMPARE(form.editor()->bytes(), QByteArray(".LOG\r\n>>06/12/2026 14:05:09\r\n"));

        form.files().newDocument();
        form.action(QStringLiteral("ShortTime1"))->trigger();
        form.files().openPath(path);
        QCOMPARE(form.editor()->bytes(), QByteArray(".LOG\r\n>>14:05\r\n"));

        form.files().newDocument();
        form.action(QStringLiteral("LongDate1"))->trigger();
        form.files().openPath(path);
        QCOMPARE(form.editor()->bytes(), QByteArray(".LOG\r\n>>Sunday, 6 December 2026/December/2026\r\n"));
    }

    void wordCountReportsTheWords_data()
    {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<int>("words");
        QTest::newRow("empty") << QByteArray() << 0;
        QTest::newRow("two blanks between") << QByteArray("one two  three") << 3;
        QTest::newRow("leading and trailing blanks") << QByteArray(" one two three  ") << 3;
        QTest::newRow("only blanks") << QByteArray("   ") << 0;
        QTest::newRow("CR LF joins") << QByteArray("one two\r\nthree") << 2;
        QTest::newRow("tab joins") << QByteArray("one\ttwo") << 1;
        // A word across the boundary of two slices is still one word; so is a blank run.
        QTest::newRow("word across slices") << QByteArray((1 << 20) - 2, ' ') + "word x" << 2;
        QTest::newRow("blanks across slices") << "a" + QByteArray((1 << 20) + 10, ' ') + "b" << 2;
        QTest::newRow("three slices") << QByteArray("xy ").repeated(1'000'000) << 1'000'000;
    }

    void wordCountReportsTheWords()
    {
        QFETCH(QByteArray, text);
        QFETCH(int, words);
        MainWindow& form = m_fixture->create();
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        form.editor()->setBytes(text);
        QProgressBar* bar = form.statusPanels()->progressBar();
        ShowCounter counter;
        bar->installEventFilter(&counter);

        form.action(QStringLiteral("WordCount1"))->trigger();

        QCOMPARE(prompts().informations,
                 QStringList{QStringLiteral("Quillet -Word Count: This Document Contains %1 words.").arg(words)});
        QCOMPARE(form.statusPanels()->panelText(4), QStringLiteral("Word Count completed."));
        QCOMPARE(counter.shows > 0, !text.isEmpty());
        QVERIFY(bar->isHidden());
        QCOMPARE(bar->maximum(), 100);
        QVERIFY(form.action(QStringLiteral("WordCount1"))->isEnabled());
        QCOMPARE(form.editor()->bytes(), text);
        QVERIFY(!form.documents().isModified(form.documents().currentIndex()));
    }

    void wordCountWhileItRuns()
    {
        MainWindow& form = m_fixture->create();
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        const QByteArray text = QByteArray("abc ").repeated(1'000'000);
        form.editor()->setBytes(text);
        QAction* item = form.action(QStringLiteral("WordCount1"));
        QProgressBar* bar = form.statusPanels()->progressBar();

        bool ran = false, enabled = true, visible = false, reported = true;
        int maximum = 0;
        QTimer::singleShot(0, &form, [&] {
            ran = true;
            enabled = item->isEnabled();
            visible = bar->isVisible();
            maximum = bar->maximum();
            reported = !prompts().informations.isEmpty();
            // Editing meanwhile does not change what is counted.
            form.editor()->setBytes(QByteArray("x"));
            // Nor does a second start: the item is off, and with it the shortcut.
            item->trigger();
        });
        item->trigger();

        QVERIFY(ran);
        QVERIFY(!enabled);
        QVERIFY(visible);
        QCOMPARE(maximum, text.size());
        QVERIFY(!reported);
        QCOMPARE(prompts().informations,
                 QStringList{QStringLiteral("Quillet -Word Count: This Document Contains 1000000 words.")});
        QVERIFY(item->isEnabled());
        QVERIFY(bar->isHidden());
    }

    void wordCountEndsQuietlyWhenTheWindowGoes()
    {
        auto* form = new MainWindow(m_fixture->windows);
        form->show();
        QVERIFY(QTest::qWaitForWindowExposed(form));
        form->editor()->setBytes(QByteArray("abc ").repeated(1'000'000));
        QTimer::singleShot(0, form, [form] { delete form; });
        QPointer<MainWindow> watch(form);
        form->text().wordCount();
        QVERIFY(watch.isNull());
        QVERIFY(prompts().informations.isEmpty());
    }

private:
    std::unique_ptr<MainWindowFixture> m_fixture;
    ScriptedPrompts& prompts() { return m_fixture->prompts; }
};

QTEST_MAIN(TestDateCommands)
#include "tst_datecommands.moc"
