// The caption strip's arithmetic: the gradient's bands, the band count's limits, the title string
// its texts make, the caption text it shows and which texts fit.

#include "windows/captionmath.h"

#include <QTest>

using namespace captionmath;

namespace {

TextParts parts(const QString& product, bool productVisible, const QString& appName, bool appNameVisible,
                const QString& caption, bool captionVisible)
{
    return {TextPartState{product, productVisible}, TextPartState{appName, appNameVisible},
            TextPartState{caption, captionVisible}};
}

} // namespace

class TestCaptionMath : public QObject
{
    Q_OBJECT

private slots:
    void bandsCoverTheWidthFromTheLeftColourToTheRightOne_data()
    {
        QTest::addColumn<int>("count");
        QTest::addColumn<int>("width");
        QTest::newRow("one band") << 1 << 300;
        QTest::newRow("two bands") << 2 << 301;
        QTest::newRow("64 bands") << 64 << 500;
        QTest::newRow("256 bands") << 256 << 1000;
        QTest::newRow("narrower than the bands") << 64 << 10;
    }

    void bandsCoverTheWidthFromTheLeftColourToTheRightOne()
    {
        QFETCH(int, count);
        QFETCH(int, width);
        const QColor left(0, 0, 0);
        const QColor right(10, 36, 106);
        const int origin = 7;
        QCOMPARE(bandEdge(origin, width, 0, count), origin);
        QCOMPARE(bandEdge(origin, width, count, count), origin + width);
        for (int band = 0; band < count; ++band)
            QVERIFY(bandEdge(origin, width, band, count) <= bandEdge(origin, width, band + 1, count));
        QCOMPARE(bandColor(left, right, 0, count), left);
        QCOMPARE(bandColor(left, right, count - 1, count), count == 1 ? left : right);
    }

    void bandEdgesAndColoursAreTheDesignedArithmetic()
    {
        // 301 / 2 = 150.5 rounds up; 10 pixels over 64 bands leave most bands empty.
        QCOMPARE(bandEdge(0, 301, 1, 2), 151);
        QCOMPARE(bandEdge(0, 10, 3, 64), 0);
        QCOMPARE(bandEdge(0, 10, 4, 64), 1);
        QCOMPARE(bandEdge(0, 10, 32, 64), 5);
        QCOMPARE(bandEdge(0, 500, 1, 64), 8);
        // Per channel left + i * (right - left) / (N - 1), truncated.
        const QColor left(200, 0, 100);
        const QColor right(0, 255, 101);
        QCOMPARE(bandColor(left, right, 1, 64), QColor(197, 4, 100));
        QCOMPARE(bandColor(left, right, 63, 64), right);
        QCOMPARE(bandColor(left, right, 1, 2), right);
        QCOMPARE(bandColor(left, right, 128, 256), QColor(100, 128, 100));
    }

    void bandCountKeepsToItsLimits()
    {
        QCOMPARE(acceptedBandCount(64, 1), 1);
        QCOMPARE(acceptedBandCount(64, 256), 256);
        QCOMPARE(acceptedBandCount(64, 300), 256);
        QCOMPARE(acceptedBandCount(64, 0), 64);
        QCOMPARE(acceptedBandCount(12, -5), 12);
    }

    void gradientIsDrawnAsItsModeSays()
    {
        QVERIFY(drawsGradient(GradientMode::Always, false, 1));
        QVERIFY(!drawsGradient(GradientMode::Never, true, 32));
        QVERIFY(drawsGradient(GradientMode::WhenActive, true, 32));
        QVERIFY(!drawsGradient(GradientMode::WhenActive, false, 32));
        QVERIFY(drawsGradient(GradientMode::Smart, true, 8));
        QVERIFY(!drawsGradient(GradientMode::Smart, false, 8));
        QVERIFY(drawsGradient(GradientMode::Smart, false, 24));
        QVERIFY(!drawsGradient(GradientMode::Smart, true, 4));
    }

    void titleJoinsTheVisibleTexts_data()
    {
        QTest::addColumn<bool>("productVisible");
        QTest::addColumn<bool>("appNameVisible");
        QTest::addColumn<bool>("captionVisible");
        QTest::addColumn<QString>("withTexts");
        QTest::addColumn<QString>("withEmptyAppName");
        QTest::addColumn<QString>("withEmptyProduct");
        // Texts "P", "A", "C"; then the application name empty; then the product text empty.
        QTest::newRow("none") << false << false << false << ""
                              << ""
                              << "";
        QTest::newRow("caption") << false << false << true << "C"
                                 << "C"
                                 << "C";
        QTest::newRow("app name") << false << true << false << "A"
                                  << ""
                                  << "A";
        QTest::newRow("app name, caption") << false << true << true << "A C"
                                           << "C"
                                           << "A C";
        QTest::newRow("product") << true << false << false << "P"
                                 << "P"
                                 << "";
        QTest::newRow("product, caption") << true << false << true << "P C"
                                          << "P C"
                                          << "C";
        QTest::newRow("product, app name") << true << true << false << "P A"
                                           << "P "
                                           << "A";
        QTest::newRow("all") << true << true << true << "P A C"
                             << "P C"
                             << "A C";
    }

    void titleJoinsTheVisibleTexts()
    {
        QFETCH(bool, productVisible);
        QFETCH(bool, appNameVisible);
        QFETCH(bool, captionVisible);
        QFETCH(QString, withTexts);
        QFETCH(QString, withEmptyAppName);
        QFETCH(QString, withEmptyProduct);
        const auto title = [&](const QString& product, const QString& appName) {
            return composeTitle(
                parts(product, productVisible, appName, appNameVisible, QStringLiteral("C"), captionVisible));
        };
        QCOMPARE(title(QStringLiteral("P"), QStringLiteral("A")), withTexts);
        QCOMPARE(title(QStringLiteral("P"), QString()), withEmptyAppName);
        QCOMPARE(title(QString(), QStringLiteral("A")), withEmptyProduct);
    }

    void mainWindowTitleAndItsShownCaption()
    {
        const TextParts main =
            parts(QStringLiteral("Quillet"), true, QString(), true, QStringLiteral(" - a.txt"), true);
        QCOMPARE(composeTitle(main), QStringLiteral("Quillet  - a.txt"));
        QCOMPARE(shownCaptionText(composeTitle(main), main), QStringLiteral(" - a.txt"));
        // "Show FileName in TitleBar" off hides the document text.
        const TextParts hidden =
            parts(QStringLiteral("Quillet"), true, QString(), true, QStringLiteral(" - a.txt"), false);
        QCOMPARE(composeTitle(hidden), QStringLiteral("Quillet "));
        const TextParts withName =
            parts(QStringLiteral("P"), true, QStringLiteral("Name"), true, QStringLiteral("x"), true);
        QCOMPARE(shownCaptionText(composeTitle(withName), withName), QStringLiteral("x"));
    }

    void fittingDropsTheProductTextThenTheAppName()
    {
        const TextParts all = parts(QStringLiteral("P"), true, QStringLiteral("A"), true, QStringLiteral("C"), true);
        const std::array<int, TextPartCount> widths{40, 30, 50};
        using Drawn = std::array<bool, TextPartCount>;
        // 43 + 33 + 53 = 129 pixels with the gaps.
        QCOMPARE(fittedParts(all, widths, 130), (Drawn{true, true, true}));
        QCOMPARE(fittedParts(all, widths, 129), (Drawn{false, true, true}));
        QCOMPARE(fittedParts(all, widths, 87), (Drawn{false, true, true}));
        QCOMPARE(fittedParts(all, widths, 86), (Drawn{false, false, true}));
        QCOMPARE(fittedParts(all, widths, 5), (Drawn{false, false, true}));
        // Hidden texts take no room; empty ones are never drawn.
        const TextParts main = parts(QStringLiteral("P"), true, QString(), true, QStringLiteral("C"), true);
        QCOMPARE(fittedParts(main, {40, 0, 50}, 100), (Drawn{true, false, true}));
        const TextParts productOnly =
            parts(QStringLiteral("P"), true, QStringLiteral("A"), false, QStringLiteral("C"), false);
        QCOMPARE(fittedParts(productOnly, widths, 44), (Drawn{true, false, false}));
        QCOMPARE(fittedParts(productOnly, widths, 43), (Drawn{false, false, false}));
    }
};

QTEST_GUILESS_MAIN(TestCaptionMath)
#include "tst_captionmath.moc"
