// High-density screens: at the scale factor this run is given (QT_SCALE_FACTOR; CTest runs it at 1,
// 1.25, 1.5 and 2 on a 1280x1024 screen of that many pixels per point), every fixed-size window
// holds its controls and its texts whole, opens on the screen, a stored placement off the screen
// is brought onto it, and the tool-bar and About pictures are drawn at the density in use, not scaled up.

#include "settings/windowsettings.h"
#include "support/mainwindowfixture.h"
#include "support/memorystore.h"
#include "windows/aboutwindow.h"
#include "windows/captionbar.h"
#include "windows/configurationdialog.h"
#include "windows/gotolinedialog.h"
#include "windows/optionsdialog.h"
#include "windows/templatenamedialog.h"
#include "windows/tipwindow.h"
#include "windows/utilityoptionsdialog.h"

#include <QAbstractButton>
#include <QApplication>
#include <QLabel>
#include <QScreen>
#include <QTemporaryFile>
#include <QTest>
#include <QToolBar>

#include <functional>
#include <memory>

namespace {

const std::pair<const char*, std::function<WindowBase*()>> FixedSizeWindows[] = {
    {"About", [] { return new AboutWindow; }},
    {"Configuration", [] { return new ConfigurationDialog; }},
    {"Goto Line", [] { return new GotoLineDialog; }},
    {"Options", [] { return new OptionsDialog; }},
    {"Template name", [] { return new TemplateNameDialog; }},
    {"Tips", [] { return new TipOfTheDayWindow; }},
    {"Utility Options", [] { return new UtilityOptionsDialog; }},
};

QRect rectIn(const QWidget* window, const QWidget* child)
{
    return QRect(child->mapTo(window, QPoint(0, 0)), child->size());
}

} // namespace

class TestHighDensity : public QObject
{
    Q_OBJECT

private slots:
    void fixedSizeWindowHoldsItsControls_data()
    {
        QTest::addColumn<int>("index");
        for (int i = 0; i < int(std::size(FixedSizeWindows)); ++i)
            QTest::newRow(FixedSizeWindows[i].first) << i;
    }

    void fixedSizeWindowHoldsItsControls()
    {
        QFETCH(int, index);
        std::unique_ptr<WindowBase> window(FixedSizeWindows[index].second());
        window->show();
        QVERIFY(QTest::qWaitForWindowExposed(window.get()));
        QVERIFY2(window->screen()->availableGeometry().contains(window->frameGeometry()),
                 "the window opens partly off the screen");
        for (const QWidget* child : window->findChildren<QWidget*>()) {
            if (!child->isVisibleTo(window.get()) || child->isWindow())
                continue;
            const QString what = child->metaObject()->className() + QStringLiteral(" ") + child->objectName();
            QVERIFY2(window->rect().contains(rectIn(window.get(), child)), qPrintable(what + " sticks out"));
            if (const auto* label = qobject_cast<const QLabel*>(child);
                label && !label->wordWrap() && !Qt::mightBeRichText(label->text())) {
                const int needed = label->fontMetrics().horizontalAdvance(QString(label->text()).remove('&'));
                QVERIFY2(needed <= label->contentsRect().width(), qPrintable(what + " cuts " + label->text()));
            }
            if (const auto* button = qobject_cast<const QAbstractButton*>(child))
                QVERIFY2(button->minimumSizeHint().width() <= button->width(),
                         qPrintable(what + " cuts " + button->text()));
        }
        for (const QString& text : window->captionBar()->drawnTexts())
            QVERIFY2(!text.contains(QChar(0x2026)), qPrintable("the caption strip cuts " + text));
    }

    void storedPlacementOffTheScreenIsBroughtOntoIt()
    {
        MemoryStore store;
        // Stored on a screen twice as large.
        store.writeString("Test", "NormPos", "2000,1700,2400,2000");
        QWidget window;
        auto* placement = new WindowSettings(&window);
        placement->setSection("Test");
        placement->restore(store);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QCOMPARE(window.size(), QSize(400, 300));
        QVERIFY2(window.screen()->availableGeometry().contains(window.geometry()),
                 qPrintable(QStringLiteral("at %1,%2").arg(window.x()).arg(window.y())));
    }

    void picturesAreDrawnAtTheDensityInUse()
    {
        MainWindowFixture fixture;
        QVERIFY(fixture.start());
        QToolBar* toolBar = fixture.window->toolBar();
        const qreal ratio = fixture.window->devicePixelRatioF();
        for (const char* name : {"NewBtn1", "FindBtn1", "CloseDocBtn1"}) {
            const auto* action = fixture.window->findChild<QAction*>(name);
            QVERIFY2(action, name);
            // A scalable source has no pixel sizes of its own.
            QVERIFY2(action->icon().availableSizes().isEmpty(), name);
            const QPixmap pixmap = action->icon().pixmap(toolBar->iconSize(), ratio);
            QCOMPARE(pixmap.size(), toolBar->iconSize() * ratio);
        }
        // The About window's logo and icon likewise.
        AboutWindow about;
        about.show();
        QVERIFY(QTest::qWaitForWindowExposed(&about));
        for (const auto& [name, points] : {std::pair{"Image2", 64}, std::pair{"Image1", 32}}) {
            const auto* label = about.findChild<QLabel*>(name);
            QVERIFY2(label, name);
            QCOMPARE(label->pixmap().size(), QSize(points, points) * about.devicePixelRatioF());
        }
    }
};

int main(int argc, char** argv)
{
    // A 1280x1024 screen at the scale factor in use, as Xvfb would give it.
    const double factor =
        qEnvironmentVariableIsSet("QT_SCALE_FACTOR") ? qEnvironmentVariable("QT_SCALE_FACTOR").toDouble() : 1.0;
    QTemporaryFile screens;
    if (!screens.open())
        return 2;
    screens.write(QStringLiteral(R"({"screens": [{"name": "s", "x": 0, "y": 0, "width": %1, "height": %2,
                                     "logicalDpi": 96, "logicalBaseDpi": 96, "dpr": 1}]})")
                      .arg(qRound(1280 * factor))
                      .arg(qRound(1024 * factor))
                      .toUtf8());
    screens.close();
    qputenv("QT_QPA_PLATFORM", "offscreen:configfile=" + screens.fileName().toLocal8Bit());
    QApplication app(argc, argv);
    TestHighDensity test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_highdensity.moc"
