// The About window: the credits come from the data file and scroll; the memory figures follow
// the system's (read from a meminfo file the test writes and changes); the panels and buttons.

#include "support/sandbox.h"
#include "support/scriptedprompts.h"
#include "windows/aboutwindow.h"

#include <QFile>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>

namespace {

void writeMeminfo(const QString& path, qint64 totalKb, qint64 availableKb)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(QStringLiteral("MemTotal:       %1 kB\nMemFree:          1000 kB\nMemAvailable:   %2 kB\n"
                              "Buffers:          2000 kB\n")
                   .arg(totalKb)
                   .arg(availableKb)
                   .toLatin1());
}

int visibleCloseButtons(const QWidget& window)
{
    int count = 0;
    for (const QPushButton* button : window.findChildren<QPushButton*>())
        count += button->isVisible() && button->text().remove(QLatin1Char('&')) == QLatin1String("Close");
    return count;
}

} // namespace

class TestAboutWindow : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { AboutWindow::SlideStepMs = 0; }

    void creditsNameTheRealDependenciesAndScroll()
    {
        ScopedPrompts prompts;
        AboutWindow about;
        about.setCreditsPath(QFINDTESTDATA("../../data/Data/Credits.dat"));
        about.show();
        about.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&about));
        const QString credits = about.creditLines().join(QLatin1Char('\n'));
        for (const char* named : {"Qt 6", "LGPL-3.0", "Scintilla 5", "GPL-3.0", "libstdc++", "glibc"})
            QVERIFY2(credits.contains(QLatin1String(named)), named);
        QVERIFY(about.creditsScrolling());
        about.acknowledgementsButton()->click();
        QCOMPARE(about.shownPanel(), 4);
        QCOMPARE(visibleCloseButtons(about), 1);
        const int before = about.creditsOffset();
        about.scrollCreditsOnce();
        about.scrollCreditsOnce();
        QCOMPARE(about.creditsOffset(), before + 2);
        QTRY_VERIFY(about.creditsOffset() > before + 2); // its own timer moves it too
        about.creditsCloseButton()->click();
        QCOMPARE(about.shownPanel(), 1);
        QCOMPARE(visibleCloseButtons(about), 1);
        QVERIFY(prompts.errors.isEmpty() && prompts.warningTitles.isEmpty());
    }

    void aMissingCreditsFileIsReportedAndTurnsTheAcknowledgementsOff()
    {
        ScopedPrompts prompts;
        Sandbox sandbox;
        AboutWindow about;
        about.setCreditsPath(sandbox.filePath(QStringLiteral("Data/Credits.dat")));
        about.show();
        about.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&about));
        QCOMPARE(prompts.warningTitles, QStringList{QStringLiteral("Unable to open Credits.")});
        QVERIFY(!about.acknowledgementsButton()->isEnabled());
        QVERIFY(!about.creditsScrolling());
    }

    void memoryFiguresFollowTheSystems()
    {
        Sandbox sandbox;
        const QString meminfo = sandbox.filePath(QStringLiteral("meminfo"));
        writeMeminfo(meminfo, 1048576, 262144);
        AboutWindow about;
        about.setMemoryInfoPath(meminfo);
        about.refreshMemoryFigures();
        QCOMPARE(about.freeMemoryText(), QStringLiteral("262,144 KB"));
        QCOMPARE(about.loadText(), QStringLiteral("75 %"));
        // While the window is shown its timer reads the figures again.
        about.show();
        about.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&about));
        QVERIFY(about.memoryTimerActive());
        writeMeminfo(meminfo, 1048576, 524288);
        QTRY_COMPARE(about.freeMemoryText(), QStringLiteral("524,288 KB"));
        QCOMPARE(about.loadText(), QStringLiteral("50 %"));
        about.hide();
        QVERIFY(!about.memoryTimerActive());
        // The system's own file reports no size; it is read to its end all the same.
        if (QFile::exists(QStringLiteral("/proc/meminfo"))) {
            about.setMemoryInfoPath(QStringLiteral("/proc/meminfo"));
            about.refreshMemoryFigures();
            QVERIFY2(about.freeMemoryText().endsWith(QStringLiteral(" KB")), qPrintable(about.freeMemoryText()));
            QVERIFY2(about.loadText().endsWith(QStringLiteral(" %")), qPrintable(about.loadText()));
        }
    }

    void panelsAndLinks()
    {
        ScopedPrompts prompts;
        AboutWindow about;
        about.setCreditsPath(QFINDTESTDATA("../../data/Data/Credits.dat"));
        QSignalSpy tips(&about, &AboutWindow::tipOfTheDayRequested);
        QSignalSpy faq(&about, &AboutWindow::faqRequested);
        QSignalSpy back(&about, &AboutWindow::closedToMainWindow);
        about.show();
        QVERIFY(QTest::qWaitForWindowExposed(&about));
        about.moreButton()->click();
        QCOMPARE(about.shownPanel(), 2);
        about.tipsButton()->click();
        about.faqButton()->click();
        QCOMPARE(tips.size(), 1);
        QCOMPARE(faq.size(), 1);
        QCOMPARE(about.faqButton()->text(), QStringLiteral("FAQ's   "));
        about.backButton()->click();
        QCOMPARE(about.shownPanel(), 1);
        QTest::keyClick(&about, Qt::Key_Escape);
        QVERIFY(!about.isVisible());
        QCOMPARE(back.size(), 1);
    }
};

QTEST_MAIN(TestAboutWindow)
#include "tst_aboutwindow.moc"
