// The main window's way to the tip window, the About window and the configuration window: the
// Help menu's commands, the status bar's message panel, the tips coming with every show of the
// main window (a restore from the notification area included) while their box is checked, the
// About window's links, and the parts Configure could not do named on the status bar.

#include "app/startup.h"
#include "mainwindow/traycontroller.h"
#include "mainwindow/viewcontroller.h"
#include "settings/programstore.h"
#include "support/mainwindowfixture.h"
#include "support/memorystore.h"
#include "windows/aboutwindow.h"
#include "windows/tipwindow.h"

#include <QPushButton>
#include <QTimer>

class TestAuxiliaryWindows : public MainWindowTest
{
    Q_OBJECT

private slots:
    void init() { newFixture(); }
    void cleanup() { m_fixture.reset(); }

    void tipsComeWithEveryShowOfTheMainWindowWhileTheirBoxIsChecked()
    {
        TipOfTheDayWindow tips;
        m_fixture->windows.tips = &tips;
        QVERIFY(start());
        QVERIFY(tips.isVisible());
        tips.close();
        // Hidden in the notification area and restored from it: the show sequence runs again.
        form()->hide();
        form()->tray().restoreProgram();
        QVERIFY(form()->isVisible());
        QVERIFY(tips.isVisible());
        tips.setShowAtStart(false);
        tips.close();
        form()->hide();
        form()->show();
        QVERIFY(!tips.isVisible());
        // On demand it comes whatever the box says.
        action("TipOfTheDay1")->trigger();
        QVERIFY(tips.isVisible());
        m_fixture->windows.tips = nullptr;
    }

    void aboutComesFromItsCommandAndTheMessagePanel()
    {
        AboutWindow about;
        m_fixture->windows.about = &about;
        QVERIFY(start());
        QVERIFY(action("AboutQuillet1")->isEnabled());
        action("AboutQuillet1")->trigger();
        QVERIFY(about.isVisible());
        about.close();
        form()->view().statusPanelClicked(StatusBar::Message);
        QVERIFY(about.isVisible());
        about.close();
        m_fixture->windows.about = nullptr;
    }

    void configureNamesWhatItCouldNotDoOnTheStatusBar()
    {
        QVERIFY(start());
        ConfigurationDialog& configuration = *m_fixture->configuration;
        configuration.setApplier([](const DesktopChoices&) {
            return QList<DesktopFailure>{{"the document type", "Cannot update the MIME database"},
                                         {"the autostart entry", "Cannot remove"}};
        });
        QTimer::singleShot(0, configuration.okButton(), &QPushButton::click);
        action("Configure1")->trigger();
        QVERIFY(!configuration.isVisible());
        QVERIFY(prompts().errors.isEmpty());
        QCOMPARE(status()->panelText(StatusBar::Message),
                 QStringLiteral("Configure could not set up the document type and the autostart entry."));
        // All done: the status bar is left as it was.
        configuration.setApplier([](const DesktopChoices&) { return QList<DesktopFailure>(); });
        status()->setMessage(QStringLiteral("before"));
        QTimer::singleShot(0, configuration.okButton(), &QPushButton::click);
        action("Configure1")->trigger();
        QCOMPARE(status()->panelText(StatusBar::Message), QStringLiteral("before"));
    }

    void theAboutWindowsLinksReachTheTipsAndTheFaq()
    {
        MemoryStore store;
        setProgramStore(&store);
        ProgramWindows windows;
        createProgramWindows(windows, {});
        windows.tips->setShowAtStart(false);
        windows.main->show();
        const int documents = windows.main->documents().count();
        windows.about->show();
        windows.about->moreButton()->click();
        windows.about->tipsButton()->click();
        QVERIFY(windows.tips->isVisible());
        windows.about->faqButton()->click();
        // The FAQ opens as a document of its own, whether or not the file is there.
        QCOMPARE(windows.main->documents().count(), documents + 1);
        destroyProgramWindows(windows);
        setProgramStore(nullptr);
    }
};

QTEST_MAIN(TestAuxiliaryWindows)
#include "tst_auxiliarywindows.moc"
