// What every window shares: fixed-size dialogs offer only the close box, and a window the store
// has no placement for opens centred on the main window.

#include "settings/inisettingsstore.h"
#include "settings/programstore.h"
#include "windows/gotolinedialog.h"
#include "windows/optionsdialog.h"

#include <QApplication>
#include <QTabBar>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>

namespace {

// The children of `window` that are shown and lie outside it, as "name x,y wxh".
QStringList childrenOutside(const QWidget& window)
{
    QStringList outside;
    for (const QWidget* child : window.findChildren<QWidget*>()) {
        if (!child->isVisibleTo(&window) || child->isWindow())
            continue;
        const QRect placed(child->mapTo(&window, QPoint(0, 0)), child->size());
        if (!window.rect().contains(placed))
            outside << QStringLiteral("%1 %2,%3 %4x%5")
                           .arg(child->objectName().isEmpty() ? QString::fromLatin1(child->metaObject()->className())
                                                              : child->objectName())
                           .arg(placed.x())
                           .arg(placed.y())
                           .arg(placed.width())
                           .arg(placed.height());
    }
    return outside;
}

} // namespace

class TestWindowBase : public QObject
{
    Q_OBJECT

private slots:
    void fixedSizeDialogsHaveOnlyACloseBox()
    {
        GotoLineDialog gotoLine;
        OptionsDialog options;
        for (const QWidget* w : {static_cast<QWidget*>(&gotoLine), static_cast<QWidget*>(&options)}) {
            const Qt::WindowFlags flags = w->windowFlags();
            // The title hints count only with CustomizeWindowHint; without it every button shows.
            QVERIFY2(flags & Qt::CustomizeWindowHint, qPrintable(w->objectName()));
            QVERIFY(flags & Qt::WindowCloseButtonHint);
            QVERIFY(!(flags & (Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint)));
        }
    }

    void fixedSizeWindowsHoldTheirControlsInTheFontInUse()
    {
        // A font larger than the designed one, as Linux desktops have.
        QFont larger = QApplication::font();
        larger.setPixelSize(15);
        QApplication::setFont(larger);
        GotoLineDialog gotoLine;
        gotoLine.show();
        QVERIFY(gotoLine.width() >= 361 && gotoLine.height() >= 100);
        QCOMPARE(childrenOutside(gotoLine), QStringList());

        OptionsDialog options;
        options.show();
        QVERIFY(options.width() >= 433 && options.height() >= 252);
        const QTabBar* tabBar = options.pages()->tabBar();
        QVERIFY2(tabBar->sizeHint().width() <= tabBar->width(),
                 qPrintable(QStringLiteral("%1 > %2").arg(tabBar->sizeHint().width()).arg(tabBar->width())));
        for (int page = 1; page <= 4; ++page) {
            options.showPage(page);
            QCoreApplication::processEvents();
            QVERIFY2(childrenOutside(options).isEmpty(),
                     qPrintable(childrenOutside(options).join(QLatin1String("; "))));
        }
    }

    void unplacedWindowOpensCentredOnTheMainWindow()
    {
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        IniSettingsStore store(dir.filePath(QStringLiteral("Quillet.ini")));
        setProgramStore(&store);
        QWidget main;
        main.setObjectName(QStringLiteral("QuilForm1"));
        // Whole on the 800x600 screen, so that centring needs no move onto it.
        main.setGeometry(100, 50, 600, 500);
        main.show();
        {
            GotoLineDialog box;
            attachStorage(box.storage());
            box.show();
            // Within the width of a window frame.
            const QPoint offset = box.frameGeometry().center() - main.frameGeometry().center();
            QVERIFY2(offset.manhattanLength() <= 8,
                     qPrintable(QStringLiteral("%1,%2").arg(offset.x()).arg(offset.y())));
            box.close();
        }
        // Shown once, its place is kept and used again.
        GotoLineDialog again;
        attachStorage(again.storage());
        const QPoint stored = again.geometry().topLeft();
        again.show();
        QCOMPARE(again.geometry().topLeft(), stored);
        setProgramStore(nullptr);
    }
};

QTEST_MAIN(TestWindowBase)
#include "tst_windowbase.moc"
