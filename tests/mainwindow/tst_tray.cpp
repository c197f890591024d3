// The notification-area icon and the window modes: hiding and restoring with the side windows as
// they were (the tip of the day and About among them), a refused close, the notification area
// going away while hidden, "/MiniTray", a desktop without a tray, the end
// of the session while hidden, the tool bar's place and visibility with and without the slide, stay-on-top, and another
// copy of the program.

#include "documents/recoveryjournal.h"
#include "mainwindow/traycontroller.h"
#include "platform/launcher.h"
#include "support/mainwindowfixture.h"
#include "windows/aboutwindow.h"
#include "windows/clipbookwindow.h"
#include "windows/documentselector.h"
#include "windows/tipwindow.h"

#include <QCheckBox>
#include <QMenu>
#include <QSystemTrayIcon>
#include <QToolBar>
#include <QWindow>

namespace {

class RecordingLauncher : public platform::Launcher
{
public:
    QList<QStringList> started;
    bool startProgram(const QString& program, const QStringList& arguments) override
    {
        started.append(QStringList{program} + arguments);
        return true;
    }
    bool openUrl(const QUrl&) override { return true; }
    bool composeMail(QByteArrayView, std::function<void()>) override { return true; }
};

// Counts the events of one type a widget receives.
class EventCounter : public QObject
{
public:
    EventCounter(QObject* watched, QEvent::Type type, int& count) : QObject(watched), m_type(type), m_count(count)
    {
        watched->installEventFilter(this);
    }
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == m_type)
            ++m_count;
        return false;
    }

private:
    QEvent::Type m_type;
    int& m_count;
};

} // namespace

class TestTray : public MainWindowTest
{
    Q_OBJECT

    std::unique_ptr<ClipBookWindow> m_clipBook;
    std::unique_ptr<DocumentSelector> m_selector;
    std::unique_ptr<TipOfTheDayWindow> m_tips;
    std::unique_ptr<AboutWindow> m_about;

    // The main window with the side windows the tray remembers.
    void startWithSideWindows(const QStringList& arguments = {})
    {
        QVERIFY(start(arguments));
        m_clipBook = std::make_unique<ClipBookWindow>();
        m_selector = std::make_unique<DocumentSelector>();
        m_fixture->windows.clipBook = m_clipBook.get();
        m_fixture->windows.documentSelector = m_selector.get();
    }
    // The tip of the day is there from the start, as in the program: with its box checked it comes
    // up with the main window.
    void startWithEveryWindow(const QStringList& arguments = {})
    {
        m_tips = std::make_unique<TipOfTheDayWindow>();
        m_about = std::make_unique<AboutWindow>();
        m_fixture->windows.tips = m_tips.get();
        m_fixture->windows.about = m_about.get();
        startWithSideWindows(arguments);
    }
    QToolBar* toolBar() { return form()->toolBar(); }
    // "&Top" and "&Bottom" are never both enabled; each is enabled exactly when the bar is elsewhere.
    void verifyAlignCommands()
    {
        const bool bottom = form()->toolBarArea(toolBar()) == Qt::BottomToolBarArea;
        QCOMPARE(action("Top1")->isEnabled(), bottom);
        QCOMPARE(action("Bottom1")->isEnabled(), !bottom);
    }

private slots:
    void init()
    {
        TrayController::AssumeTrayAvailable = true;
        newFixture();
    }
    void cleanup()
    {
        m_fixture.reset();
        m_about.reset();
        m_tips.reset();
        m_selector.reset();
        m_clipBook.reset();
        TrayController::AssumeTrayAvailable = false;
    }

    void iconAndMenuAsDesigned()
    {
        QVERIFY(start());
        QSystemTrayIcon* icon = form()->tray().icon();
        QCOMPARE(icon->toolTip(), QStringLiteral("Quillet v4.6"));
        QCOMPARE(icon->contextMenu(), form()->trayMenu());
        QStringList items;
        for (const QAction* item : form()->trayMenu()->actions())
            items.append(item->isSeparator() ? QStringLiteral("-") : item->text());
        QCOMPARE(items,
                 (QStringList{"&New Text File", "&Open Text File", "&ReOpen", "-", "&Exit", "-", "Restore &Quillet"}));
        QCOMPARE(form()->trayMenu()->defaultAction(), action("RestoreQuillet1"));
        emit form()->trayMenu()->aboutToShow();
        for (const char* name : {"NewTextFile1", "OpenTextFile1", "ReOpen2", "Exit2", "RestoreQuillet1"})
            QVERIFY2(!action(name)->icon().isNull(), name);
        // The options window's "Use System Tray" turns the icon off: closing then ends the program.
        QVERIFY(form()->trayIconActive());
        form()->setTrayIcon(false);
        QVERIFY(!form()->trayIconActive());
        QVERIFY(!icon->isVisible());
        QVERIFY(form()->close());
    }

    void hideAndRestoreBringBackTheSideWindowsAsTheyWere()
    {
        startWithSideWindows();
        m_clipBook->show();
        action("HideQuillet1")->trigger();
        QVERIFY(!form()->isVisible());
        QVERIFY(!m_clipBook->isVisible());
        QVERIFY(!m_selector->isVisible());
        emit form()->tray().icon()->activated(QSystemTrayIcon::Trigger);
        QVERIFY(form()->isVisible());
        QVERIFY(m_clipBook->isVisible());
        QVERIFY(!m_selector->isVisible());
        // Closed when hidden, it stays closed; the selector comes back as it was.
        m_clipBook->hide();
        m_selector->show();
        action("HideQuillet1")->trigger();
        emit form()->tray().icon()->activated(QSystemTrayIcon::DoubleClick);
        QVERIFY(form()->isVisible());
        QVERIFY(!m_clipBook->isVisible());
        QVERIFY(m_selector->isVisible());
        // A click while the program is shown leaves the side windows as they are.
        m_clipBook->show();
        emit form()->tray().icon()->activated(QSystemTrayIcon::Trigger);
        QVERIFY(m_clipBook->isVisible());
        QVERIFY(m_selector->isVisible());
    }

    void tipsAndAboutHideWithTheProgramAndComeBackWithIt_data()
    {
        QTest::addColumn<bool>("miniTray");
        QTest::addColumn<bool>("aboutShown");
        QTest::newRow("Hide, tips and About up") << false << true;
        QTest::newRow("/MiniTray, tips up from the start") << true << false;
    }
    void tipsAndAboutHideWithTheProgramAndComeBackWithIt()
    {
        QFETCH(bool, miniTray);
        QFETCH(bool, aboutShown);
        startWithEveryWindow(miniTray ? QStringList{QStringLiteral("/MiniTray")} : QStringList{});
        QVERIFY(m_tips->isVisible());
        if (aboutShown)
            m_about->show();
        if (miniTray)
            QTRY_VERIFY(!form()->isVisible());
        else
            action("HideQuillet1")->trigger();
        QVERIFY(!form()->isVisible());
        QVERIFY(!m_tips->isVisible());
        QVERIFY(!m_about->isVisible());
        // Back because they were up, not because the box brings the tips with every restore.
        m_tips->setShowAtStart(false);
        emit form()->tray().icon()->activated(QSystemTrayIcon::Trigger);
        QVERIFY(form()->isVisible());
        QVERIFY(m_tips->isVisible());
        QCOMPARE(m_about->isVisible(), aboutShown);
        // Closed before the next Hide, neither comes back.
        m_tips->hide();
        m_about->hide();
        action("HideQuillet1")->trigger();
        action("RestoreQuillet1")->trigger();
        QVERIFY(!m_tips->isVisible());
        QVERIFY(!m_about->isVisible());
    }

    void theTrayGoingAwayWhileHiddenBringsTheProgramBack()
    {
        if (QSystemTrayIcon::isSystemTrayAvailable())
            QSKIP("this desktop has a notification area");
        startWithSideWindows();
        m_clipBook->show();
        action("HideQuillet1")->trigger();
        QVERIFY(!form()->isVisible());
        TrayController::AssumeTrayAvailable = false;
        QTRY_VERIFY(form()->isVisible());
        QVERIFY(m_clipBook->isVisible());
        QVERIFY(!m_selector->isVisible());
        const QString message = status()->panelText(StatusBar::Message);
        QVERIFY2(message.contains(QStringLiteral("notification area went away")), qPrintable(message));
        // Back again, the tray takes the program as before.
        TrayController::AssumeTrayAvailable = true;
        QVERIFY(form()->tray().icon()->isVisible());
        action("HideQuillet1")->trigger();
        QVERIFY(!form()->isVisible());
        QVERIFY(!m_clipBook->isVisible());
    }

    void aRefusedCloseHidesAndExitWhileHiddenAsks()
    {
        startWithSideWindows();
        typeAtEnd("unsaved");
        QVERIFY(!form()->close());
        QVERIFY(!form()->isVisible());
        QVERIFY(prompts().questions.isEmpty());
        // "&New Text File" restores first.
        action("NewTextFile1")->trigger();
        QVERIFY(form()->isVisible());
        QCOMPARE(docs().count(), 2);
        QVERIFY(!form()->close());
        prompts().answers = {Answer::No};
        action("Exit2")->trigger();
        QCOMPARE(prompts().questions.size(), 1);
        QVERIFY(form()->isHidden() || !form()->isVisible());
        QVERIFY(form()->exitRequested());
    }

    void withoutANotificationAreaNothingHidesAndCloseEnds()
    {
        TrayController::AssumeTrayAvailable = false;
        if (QSystemTrayIcon::isSystemTrayAvailable())
            QSKIP("this desktop has a notification area");
        startWithSideWindows({QStringLiteral("/MiniTray")});
        QVERIFY(!form()->trayIconActive());
        QTRY_VERIFY(status()->panelText(StatusBar::Message).contains(QStringLiteral("no notification area")));
        QVERIFY(form()->isVisible());
        status()->setMessage(QString());
        action("HideQuillet1")->trigger();
        QVERIFY(form()->isVisible());
        QVERIFY(status()->panelText(StatusBar::Message).contains(QStringLiteral("no notification area")));
        // Closing ends the program, through the exit save pass.
        typeAtEnd("unsaved");
        prompts().answers = {Answer::No};
        QVERIFY(form()->close());
        QCOMPARE(prompts().questions.size(), 1);
    }

    void hideThatCannotHideGivesTheRealReason_data()
    {
        QTest::addColumn<bool>("trayThere");
        QTest::addColumn<bool>("iconOn");
        QTest::addColumn<QString>("reason");
        QTest::newRow("icon switched off, tray there") << true << false << "Use System Tray";
        QTest::newRow("icon switched off, no tray") << false << false << "Use System Tray";
        QTest::newRow("icon on, no tray") << false << true << "no notification area";
    }
    void hideThatCannotHideGivesTheRealReason()
    {
        QFETCH(bool, trayThere);
        QFETCH(bool, iconOn);
        QFETCH(QString, reason);
        TrayController::AssumeTrayAvailable = trayThere;
        if (!trayThere && QSystemTrayIcon::isSystemTrayAvailable())
            QSKIP("this desktop has a notification area");
        QVERIFY(start());
        form()->setTrayIcon(iconOn);
        action("HideQuillet1")->trigger();
        QVERIFY(form()->isVisible());
        const QString message = status()->panelText(StatusBar::Message);
        QVERIFY2(message.contains(reason), qPrintable(message));
        // One reason, not both.
        QVERIFY2(!message.contains(iconOn ? "Use System Tray" : "no notification area"), qPrintable(message));
    }

    void endingTheSessionWhileHiddenKeepsTheUnsavedWork()
    {
        MainWindowFixture& f = *m_fixture;
        RecoveryJournal journal(f.sandbox.filePath(QStringLiteral("recovery")));
        QVERIFY(journal.start());
        startWithSideWindows();
        form()->enableRecovery(journal);
        typeAtEnd("kept while hidden");
        action("HideQuillet1")->trigger();
        QVERIFY(!form()->isVisible());
        form()->endKeepingUnsavedWork();
        QVERIFY(prompts().questions.isEmpty());
        journal.waitUntilIdle();
        QCOMPARE(journal.records().size(), 1);
        QCOMPARE(journal.textOf(journal.records().constFirst()), QByteArray("kept while hidden"));
    }

    void toolBarTopAndBottomAtOnceWithoutTheSlide()
    {
        QVERIFY(start());
        m_fixture->withOptions().animateBox()->setChecked(false);
        verifyAlignCommands();
        QVERIFY(!action("Top1")->isEnabled());
        action("Bottom1")->trigger();
        QCOMPARE(form()->toolBarArea(toolBar()), Qt::BottomToolBarArea);
        QVERIFY(!form()->tray().toolBarSliding());
        verifyAlignCommands();
        // "Hide Tool Bar" toggles: hidden, then shown again; Top shows a hidden bar too.
        action("ShowToolBars1")->trigger();
        QVERIFY(toolBar()->isHidden());
        action("ShowToolBars1")->trigger();
        QVERIFY(!toolBar()->isHidden());
        action("ShowToolBars1")->trigger();
        action("Top1")->trigger();
        QCOMPARE(form()->toolBarArea(toolBar()), Qt::TopToolBarArea);
        QVERIFY(!toolBar()->isHidden());
        QVERIFY(action("ShowToolBars1")->isChecked());
        verifyAlignCommands();
    }

    void theSlideEndsWhereItWasGoingWhenTheWindowIsResized()
    {
        QVERIFY(start());
        action("Bottom1")->trigger();
        QVERIFY(form()->tray().toolBarSliding());
        verifyAlignCommands();
        form()->resize(form()->size() + QSize(20, 20));
        QVERIFY(!form()->tray().toolBarSliding());
        QCOMPARE(form()->toolBarArea(toolBar()), Qt::BottomToolBarArea);
        QCOMPARE(toolBar()->height(), 33);
        QVERIFY(!toolBar()->isHidden());
        verifyAlignCommands();
        // Left alone, a slide ends by itself, the bar in its place.
        action("ShowToolBars1")->trigger();
        QTRY_VERIFY(!form()->tray().toolBarSliding());
        QVERIFY(toolBar()->isHidden());
        action("Top1")->trigger();
        QTRY_VERIFY(!form()->tray().toolBarSliding());
        QCOMPARE(form()->toolBarArea(toolBar()), Qt::TopToolBarArea);
        QCOMPARE(toolBar()->maximumHeight(), 33);
        QVERIFY(!toolBar()->isHidden());
        verifyAlignCommands();
    }

    void theOptionsWindowHidingTheBarMidSlideHidesIt()
    {
        QVERIFY(start());
        OptionsDialog& options = m_fixture->withOptions();
        action("Bottom1")->trigger();
        QVERIFY(form()->tray().toolBarSliding());
        options.toolBarBox()->setChecked(false);
        options.accept();
        QTRY_VERIFY(!form()->tray().toolBarSliding());
        QVERIFY(toolBar()->isHidden());
        QVERIFY(!action("ShowToolBars1")->isChecked());
        QCOMPARE(form()->toolBarArea(toolBar()), Qt::BottomToolBarArea);
    }

    void stayOnTopFollowsItsCheckAndAnotherWindowStartsThisProgram()
    {
        startWithSideWindows();
        m_selector->show();
        const QPoint place = form()->pos();
        // Only the stacking changes: the same native window, never hidden and shown again (which
        // would bring back the tip of the day), the selector still tied to it.
        const QWindow* native = form()->windowHandle();
        const WId id = form()->winId();
        int shows = 0;
        EventCounter counter(form(), QEvent::Show, shows);
        for (bool on : {true, false}) {
            action("StayOnTop1")->trigger();
            QCOMPARE(form()->windowFlags().testFlag(Qt::WindowStaysOnTopHint), on);
            QCOMPARE(form()->windowHandle()->flags().testFlag(Qt::WindowStaysOnTopHint), on);
            QVERIFY(form()->isVisible());
            QCOMPARE(form()->windowHandle(), native);
            QCOMPARE(form()->winId(), id);
            QCOMPARE(shows, 0);
            QCOMPARE(form()->pos(), place);
        }

        RecordingLauncher launcher;
        form()->tray().setLauncher(&launcher);
        action("AnotherInstance1")->trigger();
        QCOMPARE(launcher.started, QList<QStringList>{{QCoreApplication::applicationFilePath()}});
        form()->tray().setLauncher(nullptr);
    }
};

QTEST_MAIN(TestTray)
#include "tst_tray.moc"
