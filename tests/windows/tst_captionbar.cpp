// The caption strip as drawn: its gradient's edge colours with the window active and inactive,
// the plain caption colour where its mode draws no gradient, the window title it keeps, and the
// caption text cut with an ellipsis in a narrow window.

#include "windows/aboutwindow.h"
#include "windows/captionbar.h"
#include "windows/clipbookwindow.h"
#include "windows/configurationdialog.h"
#include "windows/documentselector.h"
#include "windows/gotolinedialog.h"
#include "windows/optionsdialog.h"
#include "windows/templatenamedialog.h"
#include "windows/tipwindow.h"
#include "windows/utilityoptionsdialog.h"

#include <QApplication>
#include <QImage>
#include <QLayout>
#include <QPushButton>
#include <QTest>
#include <QVBoxLayout>

using namespace captionmath;

namespace {

// The colour at the strip's left and right edges, below the icon's height and past the texts.
std::pair<QColor, QColor> edgeColors(CaptionBar& bar)
{
    const QImage image = bar.grab().toImage();
    return {QColor(image.pixel(0, 0)), QColor(image.pixel(image.width() - 1, image.height() - 1))};
}

// A colour as a pixel holds it.
QColor rgb(const QColor& color)
{
    return QColor(color.rgb());
}

} // namespace

class TestCaptionBar : public QObject
{
    Q_OBJECT

private slots:
    void gradientRunsFromTheLeftColourToTheRightOneActiveAndInactive()
    {
        QWidget window;
        auto* layout = new QVBoxLayout(&window);
        auto* button = new QPushButton(QStringLiteral("OK"), &window);
        layout->addWidget(button);
        auto* bar = new CaptionBar(&window);
        bar->setGradientMode(GradientMode::Always);
        bar->setLeftColors(QColor(255, 0, 0), QColor(0, 255, 0));
        bar->setRightColors(QColor(0, 0, 255), QColor(255, 255, 0));
        window.resize(400, 200);
        window.show();
        window.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&window));
        // The strip takes the top of the client area; the controls start below it.
        QCOMPARE(bar->geometry(), QRect(0, 0, 400, CaptionBar::stripHeight()));
        QVERIFY(button->geometry().top() >= CaptionBar::stripHeight());
        QCOMPARE(edgeColors(*bar), std::make_pair(QColor(255, 0, 0), QColor(0, 0, 255)));

        QWidget other;
        other.show();
        other.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&other));
        QVERIFY(!window.isActiveWindow());
        QCOMPARE(edgeColors(*bar), std::make_pair(QColor(0, 255, 0), QColor(255, 255, 0)));

        // Drawn only while active: inactive, the strip is one plain caption colour.
        bar->setGradientMode(GradientMode::WhenActive);
        const auto [left, right] = edgeColors(*bar);
        QCOMPARE(left, right);
        QVERIFY(left != QColor(0, 255, 0));

        // One band is the left colour across.
        bar->setGradientMode(GradientMode::Always);
        bar->setBandCount(1);
        QCOMPARE(edgeColors(*bar), std::make_pair(QColor(0, 255, 0), QColor(0, 255, 0)));
        bar->setBandCount(300);
        QCOMPARE(bar->bandCount(), MaxBandCount);

        // Hidden, the strip gives the client area back.
        bar->setStripShown(false);
        QVERIFY(!bar->isVisible());
        QCOMPARE(window.contentsMargins().top(), 0);
    }

    void everyWindowCarriesItsStripWithItsTitle()
    {
        std::vector<std::pair<std::unique_ptr<WindowBase>, QString>> windows;
        windows.emplace_back(std::make_unique<AboutWindow>(), QStringLiteral("About Quillet"));
        windows.emplace_back(std::make_unique<ClipBookWindow>(), QStringLiteral("ClipBook"));
        windows.emplace_back(std::make_unique<ConfigurationDialog>(), QStringLiteral("Quillet Configuration"));
        windows.emplace_back(std::make_unique<DocumentSelector>(), QStringLiteral("Document Selector"));
        windows.emplace_back(std::make_unique<OptionsDialog>(), QStringLiteral("Quillet Options"));
        windows.emplace_back(std::make_unique<UtilityOptionsDialog>(), QStringLiteral("Utility Options"));
        windows.emplace_back(std::make_unique<TemplateNameDialog>(), QStringLiteral("Add New Template"));
        windows.emplace_back(std::make_unique<GotoLineDialog>(), QStringLiteral("Goto Line... "));
        windows.emplace_back(std::make_unique<TipOfTheDayWindow>(), QStringLiteral("Quillet Tips"));
        QWidget other;
        for (auto& [window, title] : windows) {
            const QString name = window->objectName();
            QCOMPARE(window->windowTitle(), title);
            CaptionBar* bar = window->findChild<CaptionBar*>(QStringLiteral("MSOfficeCaption1"));
            QVERIFY2(bar == window->captionBar(), qPrintable(name));
            window->show();
            window->activateWindow();
            // A window that belongs to the one before it counts as active with it: wait for its own turn.
            QTRY_VERIFY(window->isActiveWindow());
            QCOMPARE(bar->width(), window->width());
            QCOMPARE(edgeColors(*bar), std::make_pair(QColor(Qt::black), rgb(bar->rightColor(true))));
            // Every control lies below the strip.
            for (const QWidget* child : window->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
                if (child != bar && child->isVisibleTo(window.get()) && !child->isWindow())
                    QVERIFY2(child->geometry().top() >= bar->height(),
                             qPrintable(name + QLatin1Char(' ') + child->objectName()));
            }
            other.show();
            other.activateWindow();
            QTRY_VERIFY(!window->isActiveWindow());
            QCOMPARE(edgeColors(*bar), std::make_pair(QColor(Qt::black), rgb(bar->rightColor(false))));
            window->hide();
        }
        // The naming window and the ClipBook set their titles through the strip.
        auto& naming = static_cast<TemplateNameDialog&>(*windows[6].first);
        naming.prepare(TemplateNameDialog::Mode::RenameFileTemplate, QStringLiteral("x"));
        QCOMPARE(naming.windowTitle(), QStringLiteral("Rename File Template"));
        QCOMPARE(naming.captionBar()->partCaption(CaptionBar::Part::ProductText),
                 QStringLiteral("Rename File Template"));
    }

    void doubleClickMaximisesOnlyAResizableWindow()
    {
        QWidget resizable;
        auto* bar = new CaptionBar(&resizable);
        resizable.resize(300, 200);
        resizable.show();
        QVERIFY(QTest::qWaitForWindowExposed(&resizable));
        QTest::mouseDClick(bar, Qt::LeftButton, {}, QPoint(100, 5));
        QTRY_VERIFY(resizable.isMaximized());
        QTest::mouseDClick(bar, Qt::LeftButton, {}, QPoint(100, 5));
        QTRY_VERIFY(!resizable.isMaximized());

        GotoLineDialog fixed;
        fixed.show();
        QVERIFY(QTest::qWaitForWindowExposed(&fixed));
        QTest::mouseDClick(fixed.captionBar(), Qt::LeftButton, {}, QPoint(100, 5));
        QVERIFY(!fixed.isMaximized());
    }

    void titleFollowsTheVisibleTexts()
    {
        QWidget window;
        auto* bar = new CaptionBar(&window);
        bar->setPartCaption(CaptionBar::Part::ProductText, QStringLiteral("Quillet"));
        bar->setPartCaption(CaptionBar::Part::CaptionText, QStringLiteral(" - a.txt"));
        QCOMPARE(window.windowTitle(), QStringLiteral("Quillet  - a.txt"));
        bar->setPartVisible(CaptionBar::Part::CaptionText, false);
        QCOMPARE(window.windowTitle(), QStringLiteral("Quillet "));
        bar->setPartVisible(CaptionBar::Part::AppNameText, false);
        QCOMPARE(window.windowTitle(), QStringLiteral("Quillet"));
    }

    void captionTextIsCutWithAnEllipsisInANarrowWindow()
    {
        QWidget window;
        auto* bar = new CaptionBar(&window);
        bar->setGradientMode(GradientMode::Always);
        bar->setLeftColors(Qt::black, Qt::black);
        bar->setRightColors(Qt::black, Qt::black);
        bar->setPartColors(CaptionBar::Part::CaptionText, Qt::white, Qt::white);
        bar->setPartCaption(CaptionBar::Part::ProductText, QStringLiteral("Quillet"));
        bar->setPartCaption(CaptionBar::Part::CaptionText, QStringLiteral(" - a rather long document name.txt"));
        window.resize(600, 100);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QCOMPARE(bar->drawnTexts(),
                 QStringList({QStringLiteral("Quillet"), QStringLiteral(" - a rather long document name.txt")}));
        window.resize(120, 100);
        const QStringList drawn = bar->drawnTexts();
        QCOMPARE(drawn.size(), 1);
        QVERIFY2(drawn.first().endsWith(QChar(0x2026)), qPrintable(drawn.first()));
        QVERIFY(drawn.first().startsWith(QStringLiteral(" - a")));
        // The text is on the strip: white pixels over the black gradient.
        const QImage image = bar->grab().toImage();
        int light = 0;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                light += image.pixelColor(x, y).lightness() > 128;
        QVERIFY(light > 0);
    }
};

QTEST_MAIN(TestCaptionBar)
#include "tst_captionbar.moc"
