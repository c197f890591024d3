// The caption strip as drawn: its gradient's edge colours with the window active and inactive,
// the plain caption colour where its mode draws no gradient, the window title it keeps, and the
// caption text cut with an ellipsis in a narrow window.

#include "windows/captionbar.h"

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
    return {QColor(image.pixelColor(0, 0)), QColor(image.pixelColor(image.width() - 1, image.height() - 1))};
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
