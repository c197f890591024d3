// What every window shares: fixed-size dialogs offer only the close box, and a window the store
// has no placement for opens centred on the main window.

#include "settings/inisettingsstore.h"
#include "settings/programstore.h"
#include "windows/gotolinedialog.h"
#include "windows/optionsdialog.h"

#include <QTemporaryDir>
#include <QTest>

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

    void unplacedWindowOpensCentredOnTheMainWindow()
    {
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        IniSettingsStore store(dir.filePath(QStringLiteral("Quillet.ini")));
        setProgramStore(&store);
        QWidget main;
        main.setObjectName(QStringLiteral("QuilForm1"));
        main.setGeometry(300, 200, 600, 500);
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
