// Stored window placement: the values written into a window's section key, how they are read
// back, the size limits, and the order and occasions of saving and restoring.

#include "settings/settingsstore.h"
#include "settings/windowsettings.h"

#include "support/memorystore.h"
#include <QCloseEvent>
#include <QCoreApplication>
#include <QLineEdit>
#include <QMap>

#include <QPointer>
#include <QTabBar>
#include <QTabWidget>
#include <QTest>
#include <QWindow>

#include <memory>
#include <stdexcept>

namespace {

// The shared store with the one section these tests use.
class SectionStore : public MemoryStore
{
public:
    QString value(const QString& name) const { return readString(Section, name); }
    void set(const QString& name, const QString& value) { m_keys[Section.toLower()][name.toLower()] = value; }

    static inline const QString Section = QStringLiteral("Test Window");
};

// A window whose close handler can refuse.
class Window : public QWidget
{
public:
    bool refuseClose = false;

protected:
    void closeEvent(QCloseEvent* event) override
    {
        if (refuseClose)
            event->ignore();
        else
            event->accept();
    }
};

using Options = WindowSettings::Options;
const Options StatePosition = Options(WindowSettings::ShowState) | WindowSettings::Position;
const Options All = StatePosition | WindowSettings::FocusedControl;

WindowSettings* makePlacement(QWidget* w, Options options, QSize screen = QSize(1024, 768))
{
    auto* p = new WindowSettings(w);
    p->setSection(SectionStore::Section);
    p->setOptions(options);
    p->setScreenSize(screen);
    // The window counts as shown (its placement is written), without mapping it.
    QShowEvent shown;
    QCoreApplication::sendEvent(w, &shown);
    return p;
}

} // namespace

class TestWindowSettings : public QObject
{
    Q_OBJECT

private slots:
    void sizeLimitsLimitTheWindow();
    void screenSizeVariantsAndPlainFallback();
    void normPosSeparators_data();
    void normPosSeparators();
    void damagedNormPosIsIgnored_data();
    void damagedNormPosIsIgnored();
    void fixedSizeWindowKeepsItsSize();
    void mainWindowRestoresRectangleButNotState();
    void showCmdOnRestore_data();
    void showCmdOnRestore();
    void mainWindowStoredMinimisedMinimisesLater();
    void showCmdOnSave();
    void recordFieldsRoundTrip();
    void mainWindowMaximisedPositionFollowsFrame();
    void activeControl();
    void visibleAndSaveOccasions();
    void neverShownWindowKeepsTheStoredPlacement();
    void placementTakenForTheFrameIsCorrectedOnce();
    void refusedCloseDoesNotSave();
    void inactiveStorageSkipsAutomaticOccasions();
    void noSaveBeforeFirstRestore();
    void saveAndRestoreOrder();
    void failingPropertyLoadDoesNotStopOthers();
    void automaticErrorsGoToHandler();
};

void TestWindowSettings::sizeLimitsLimitTheWindow()
{
    QWidget w;
    w.setMinimumSize(50, 40);
    auto* p = makePlacement(&w, StatePosition);

    p->sizeLimits().setFixedSize(433, 252);
    QCOMPARE(w.minimumSize(), QSize(433, 252));
    QCOMPARE(w.maximumSize(), QSize(433, 252));
    QCOMPARE(w.size(), QSize(433, 252));

    // Only what is set is overridden; the rest stays as designed.
    WindowSizeLimits atLeast;
    atLeast.setMinimumWidth(298);
    atLeast.setMinimumHeight(343);
    p->setSizeLimits(atLeast);
    QCOMPARE(w.minimumSize(), QSize(298, 343));
    QCOMPARE(w.maximumSize(), QSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX));

    p->sizeLimits().setMaximumWidth(600);
    QCOMPARE(w.maximumSize(), QSize(600, QWIDGETSIZE_MAX));
    p->sizeLimits().setMinimumHeight(0);
    QCOMPARE(w.minimumSize(), QSize(298, 40));

    // Nothing set: the designed limits come back.
    p->setSizeLimits(WindowSizeLimits());
    QVERIFY(p->sizeLimits().isDefault());
    QCOMPARE(w.minimumSize(), QSize(50, 40));
    QCOMPARE(w.maximumSize(), QSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX));

    // The maximised position and size have no effect on the widget's limits.
    p->sizeLimits().setMaximizedLeft(-4);
    p->sizeLimits().setMaximizedWidth(800);
    QCOMPARE(w.minimumSize(), QSize(50, 40));
    QCOMPARE(w.maximumSize(), QSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX));
}

void TestWindowSettings::screenSizeVariantsAndPlainFallback()
{
    SectionStore store;
    {
        QWidget w;
        auto* p = makePlacement(&w, StatePosition, QSize(1024, 768));
        p->restore(store);
        w.setGeometry(100, 50, 400, 300);
        p->save(store);
    }
    QCOMPARE(store.value("NormPos(1024x768)"), QString("100,50,500,350"));
    QCOMPARE(store.value("NormPos"), QString("100,50,500,350"));
    QVERIFY(store.valueExists(SectionStore::Section, "MinMaxPos(1024x768)"));
    QVERIFY(store.valueExists(SectionStore::Section, "MinMaxPos"));

    QWidget w;
    w.setGeometry(0, 0, 200, 100);
    auto* p = makePlacement(&w, StatePosition, QSize(800, 600));
    p->restore(store);
    QCOMPARE(w.geometry(), QRect(100, 50, 400, 300));

    w.setGeometry(10, 20, 300, 200);
    p->save(store);
    QCOMPARE(store.value("NormPos(800x600)"), QString("10,20,310,220"));
    QCOMPARE(store.value("NormPos"), QString("10,20,310,220"));
    QCOMPARE(store.value("NormPos(1024x768)"), QString("100,50,500,350"));

    // The screen-specific value wins over the plain one.
    QWidget back;
    auto* q = makePlacement(&back, StatePosition, QSize(1024, 768));
    q->restore(store);
    QCOMPARE(back.geometry(), QRect(100, 50, 400, 300));
}

void TestWindowSettings::normPosSeparators_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QRect>("expected");
    QTest::newRow("commas") << "10,20,310,220" << QRect(10, 20, 300, 200);
    QTest::newRow("blanks") << "10 20 310 220" << QRect(10, 20, 300, 200);
    QTest::newRow("mixed runs") << " 10, 20 ,310,  220" << QRect(10, 20, 300, 200);
    // Missing or unreadable words keep the current left, top, right, bottom.
    QTest::newRow("two words") << "10,20" << QRect(10, 20, 191, 85); // right 201, bottom 105
    QTest::newRow("bad word") << "10,x,310,220" << QRect(10, 5, 300, 215);
}

void TestWindowSettings::normPosSeparators()
{
    QFETCH(QString, text);
    QFETCH(QRect, expected);
    SectionStore store;
    store.set("NormPos", text);
    QWidget w;
    w.setGeometry(1, 5, 200, 100);
    makePlacement(&w, StatePosition)->restore(store);
    QCOMPARE(w.geometry(), expected);
}

void TestWindowSettings::damagedNormPosIsIgnored_data()
{
    QTest::addColumn<QString>("text");
    QTest::newRow("right equals left") << "300,20,300,220";
    QTest::newRow("right left of left") << "300,20,100,220";
    QTest::newRow("bottom above top") << "10,220,310,20";
}

void TestWindowSettings::damagedNormPosIsIgnored()
{
    QFETCH(QString, text);
    SectionStore store;
    store.set("NormPos", text);
    store.set("MinMaxPos", "1,2,3,4");
    store.set("Flags", "1");
    QWidget w;
    w.setGeometry(7, 8, 200, 100);
    auto* p = makePlacement(&w, StatePosition);
    p->setSizeLimits([] {
        WindowSizeLimits i;
        i.setMinimumWidth(10); // keeps the main-window frame rule out of the way
        return i;
    }());
    p->restore(store);
    QCOMPARE(w.geometry(), QRect(7, 8, 200, 100));

    // Nothing of the record was taken over.
    p->save(store);
    QCOMPARE(store.value("Flags"), QString("0"));
    QCOMPARE(store.value("MinMaxPos"), QString("-1,-1,-1,-1"));
}

void TestWindowSettings::fixedSizeWindowKeepsItsSize()
{
    SectionStore store;
    store.set("NormPos", "40,60,1040,860");
    QWidget w;
    auto* p = makePlacement(&w, All);
    p->sizeLimits().setFixedSize(433, 252);
    p->restore(store);
    QCOMPARE(w.geometry(), QRect(40, 60, 433, 252));

    // Even a stored rectangle that is empty in itself only supplies the position.
    store.set("NormPos", "90,70,90,70");
    p->restore(store);
    QCOMPARE(w.geometry(), QRect(90, 70, 433, 252));
}

void TestWindowSettings::mainWindowRestoresRectangleButNotState()
{
    SectionStore store;
    store.set("NormPos", "30,40,830,640");
    store.set("ShowCmd", "3");
    QWidget w;
    auto* p = makePlacement(&w, WindowSettings::Position);
    p->setMainWindow(true);
    p->restore(store);
    QVERIFY(!w.isMaximized());
    QCOMPARE(w.geometry(), QRect(30, 40, 800, 600));

    // The same values with state in the options do maximise.
    QWidget dialog;
    makePlacement(&dialog, StatePosition)->restore(store);
    QVERIFY(dialog.isMaximized());
    QCOMPARE(dialog.normalGeometry(), QRect(30, 40, 800, 600));
}

void TestWindowSettings::showCmdOnRestore_data()
{
    QTest::addColumn<QString>("showCmd");
    QTest::addColumn<int>("state");
    const int normal = int(Qt::WindowNoState);
    const int minimised = int(Qt::WindowMinimized);
    const int maximised = int(Qt::WindowMaximized);
    QTest::newRow("1") << "1" << normal;
    QTest::newRow("5") << "5" << normal;
    QTest::newRow("9") << "9" << normal;
    QTest::newRow("2") << "2" << minimised;
    QTest::newRow("6") << "6" << minimised;
    QTest::newRow("7") << "7" << minimised;
    QTest::newRow("3") << "3" << maximised;
    QTest::newRow("hex 3") << "0x3" << maximised;
    QTest::newRow("4 keeps default") << "4" << normal;
    QTest::newRow("text keeps default") << "max" << normal;
    QTest::newRow("missing keeps default") << "" << normal;
}

void TestWindowSettings::showCmdOnRestore()
{
    QFETCH(QString, showCmd);
    QFETCH(int, state);
    SectionStore store;
    if (!showCmd.isEmpty())
        store.set("ShowCmd", showCmd);
    QWidget w;
    w.setWindowState(Qt::WindowMaximized); // the default is normal, not what the window had
    makePlacement(&w, StatePosition)->restore(store);
    QCOMPARE(int(w.windowState()), state);
}

void TestWindowSettings::mainWindowStoredMinimisedMinimisesLater()
{
    SectionStore store;
    store.set("ShowCmd", "2");
    QWidget w;
    w.setWindowState(Qt::WindowMaximized);
    auto* p = makePlacement(&w, StatePosition);
    p->setMainWindow(true);
    p->restore(store);
    QCOMPARE(w.windowState(), Qt::WindowStates(Qt::WindowNoState));
    QCoreApplication::processEvents();
    QVERIFY(w.isMinimized());
}

void TestWindowSettings::showCmdOnSave()
{
    SectionStore store;
    QWidget w;
    auto* p = makePlacement(&w, WindowSettings::Position);
    p->restore(store);
    p->save(store);
    QCOMPARE(store.value("ShowCmd"), QString("1"));
    w.setWindowState(Qt::WindowMinimized);
    p->save(store);
    QCOMPARE(store.value("ShowCmd"), QString("2"));
    w.setWindowState(Qt::WindowMaximized);
    p->save(store);
    QCOMPARE(store.value("ShowCmd"), QString("3"));
}

void TestWindowSettings::recordFieldsRoundTrip()
{
    SectionStore store;
    store.set("Flags", "0x1");
    store.set("MinMaxPos(1024x768)", "5 6,7,8");
    store.set("MinMaxPos", "9,9,9,9");
    store.set("NormPos", "10,20,310,220");
    QWidget w;
    auto* p = makePlacement(&w, StatePosition);
    p->sizeLimits().setMinimumWidth(10);
    p->restore(store);
    store.log.clear();
    p->save(store);
    QCOMPARE(store.value("Flags"), QString("1"));
    QCOMPARE(store.value("MinMaxPos"), QString("5,6,7,8"));
    QCOMPARE(store.value("MinMaxPos(1024x768)"), QString("5,6,7,8"));
    QCOMPARE(store.log, QStringList({"Flags", "ShowCmd", "MinMaxPos(1024x768)", "MinMaxPos", "NormPos(1024x768)",
                                     "NormPos", "Visible"}));

    // Unreadable flags keep the current ones; missing position words read as 0.
    store.set("Flags", "abc");
    store.set("MinMaxPos(1024x768)", "");
    store.set("MinMaxPos", "1,x");
    p->restore(store);
    p->save(store);
    QCOMPARE(store.value("Flags"), QString("1"));
    QCOMPARE(store.value("MinMaxPos"), QString("1,0,0,0"));
}

void TestWindowSettings::mainWindowMaximisedPositionFollowsFrame()
{
    SectionStore store;
    store.set("MinMaxPos", "5,6,7,8");
    store.set("NormPos", "10,20,310,220");
    QWidget w;
    auto* p = makePlacement(&w, WindowSettings::Position);
    p->restore(store);
    p->save(store);
    const QRect frame = w.frameGeometry();
    const QRect client = w.geometry();
    const QString expected =
        QStringLiteral("5,6,%1,%2").arg(-(client.left() - frame.left())).arg(-(frame.bottom() - client.bottom()));
    QCOMPARE(store.value("MinMaxPos"), expected);
}

void TestWindowSettings::activeControl()
{
    SectionStore store;
    QWidget w;
    auto* first = new QLineEdit(&w);
    first->setObjectName("Edit1");
    auto* second = new QLineEdit(&w);
    second->setObjectName("Edit2");
    auto* unnamed = new QLineEdit(&w);

    auto* p = makePlacement(&w, All);
    p->restore(store);
    QVERIFY(!w.focusWidget());
    p->save(store);
    QVERIFY(!store.valueExists(SectionStore::Section, "ActiveControl")); // nothing focused

    second->setFocus();
    QCOMPARE(w.focusWidget(), second);
    p->save(store);
    QCOMPARE(store.value("ActiveControl"), QString("Edit2"));

    unnamed->setFocus();
    p->save(store);
    QCOMPARE(store.value("ActiveControl"), QString("Edit2")); // a nameless control is not written

    // Focus inside a designed control's helper widgets names the designed control.
    auto* pages = new QTabWidget(&w);
    pages->setObjectName("PageControl1");
    pages->addTab(new QWidget, "one");
    QWidget* tabBar = pages->findChild<QTabBar*>();
    QVERIFY(tabBar->objectName().startsWith("qt_"));
    tabBar->setFocusPolicy(Qt::StrongFocus);
    tabBar->setFocus();
    QCOMPARE(w.focusWidget(), tabBar);
    p->save(store);
    QCOMPARE(store.value("ActiveControl"), QString("PageControl1"));

    // Without the option it is neither written nor read.
    QWidget plain;
    auto* plainEdit = new QLineEdit(&plain);
    plainEdit->setObjectName("Edit1");
    SectionStore other;
    auto* q = makePlacement(&plain, StatePosition);
    q->restore(store);
    QVERIFY(!plain.focusWidget());
    plainEdit->setFocus();
    q->save(other);
    QVERIFY(!other.valueExists(SectionStore::Section, "ActiveControl"));

    // Restoring focuses the named control; unknown or disabled ones change nothing.
    first->setFocus();
    store.set("ActiveControl", "Edit2");
    p->restore(store);
    QCOMPARE(w.focusWidget(), second);
    store.set("ActiveControl", "NoSuchControl");
    p->restore(store);
    QCOMPARE(w.focusWidget(), second);
    store.set("ActiveControl", "qt_tabwidget_tabbar"); // a helper's name is not a designed control
    p->restore(store);
    QCOMPARE(w.focusWidget(), second);
    first->setEnabled(false);
    store.set("ActiveControl", "edit1");
    p->restore(store);
    QCOMPARE(w.focusWidget(), second);
}

void TestWindowSettings::visibleAndSaveOccasions()
{
    SectionStore store;
    {
        Window w;
        auto* p = makePlacement(&w, StatePosition);
        p->attach(&store);
        QVERIFY(p->hasRestored());
        QVERIFY(w.close());
        QCOMPARE(store.value("Visible"), QString("0"));
        QVERIFY(p->savedSinceRestore());
        store.set("Visible", "marker");
    }
    // Saved at close, so destruction writes nothing more.
    QCOMPARE(store.value("Visible"), QString("marker"));

    {
        Window w;
        auto* p = makePlacement(&w, StatePosition);
        p->attach(&store);
        w.setGeometry(11, 12, 300, 200);
        // Each close saves again.
        QVERIFY(w.close());
        QCOMPARE(store.value("NormPos"), QString("11,12,311,212"));
        w.setGeometry(13, 14, 300, 200);
        QVERIFY(w.close());
        QCOMPARE(store.value("NormPos"), QString("13,14,313,214"));
        // A new restore makes destruction save again.
        p->restore(store);
        w.setGeometry(15, 16, 300, 200);
    }
    QCOMPARE(store.value("Visible"), QString("1"));
    QCOMPARE(store.value("NormPos"), QString("15,16,315,216"));

    // The window's destructor can hand over while its controls still exist.
    {
        Window w;
        auto* edit = new QLineEdit(&w);
        edit->setObjectName("Edit3");
        auto* p = makePlacement(&w, All);
        p->attach(&store);
        edit->setFocus();
        p->windowDestroying();
        QCOMPARE(store.value("ActiveControl"), QString("Edit3"));
        QCOMPARE(store.value("Visible"), QString("1"));
        store.set("Visible", "marker");
        QVERIFY(w.close()); // detached: no more saves
        QCOMPARE(store.value("Visible"), QString("marker"));
    }
    QCOMPARE(store.value("Visible"), QString("marker"));
}

void TestWindowSettings::placementTakenForTheFrameIsCorrectedOnce()
{
    SectionStore store;
    store.set("NormPos", "100,120,400,320");
    QWidget w;
    auto* p = new WindowSettings(&w);
    p->setSection(SectionStore::Section);
    p->restore(store);
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    // A window manager that ignores the gravity puts its frame where the client was asked to go,
    // so the client lands lower by the title bar: it is moved back, and saved where it was.
    // The manager's placement reaches the widget through the event loop.
    const auto placeBy = [&w](QPoint clientAt) {
        w.windowHandle()->setPosition(clientAt);
        QTest::qWait(20);
    };
    placeBy(QPoint(101, 140));
    QCOMPARE(w.geometry().topLeft(), QPoint(100, 120));
    p->save(store);
    QCOMPARE(store.value("NormPos"), QString("100,120,400,320"));
    // Only once: a later move is the user's.
    placeBy(QPoint(150, 160));
    QCOMPARE(w.geometry().topLeft(), QPoint(150, 160));
}

void TestWindowSettings::neverShownWindowKeepsTheStoredPlacement()
{
    SectionStore store;
    store.set("NormPos", "10,20,310,220");
    QWidget w;
    auto* p = new WindowSettings(&w);
    p->setSection(SectionStore::Section);
    p->addStoredProperty(
        "Edit1.Text", [](SettingsStore& s) { s.writeString(SectionStore::Section, "Edit1_Text", "kept"); },
        [](const SettingsStore&) {});
    p->restore(store);
    QVERIFY(p->hasStoredPlacement());
    w.setGeometry(0, 0, 300, 200);
    p->save(store, true);
    // Never shown: the stored properties are written, the placement is left as it was.
    QCOMPARE(store.value("Edit1_Text"), QString("kept"));
    QCOMPARE(store.value("NormPos"), QString("10,20,310,220"));
    QVERIFY(!store.valueExists(SectionStore::Section, "ShowCmd"));
    QVERIFY(!store.valueExists(SectionStore::Section, "Visible"));

    SectionStore empty;
    p->restore(empty);
    QVERIFY(!p->hasStoredPlacement());
    w.show();
    QVERIFY(p->hasBeenShown());
    w.hide();
    p->save(store);
    QCOMPARE(store.value("Visible"), QString("0"));
    QVERIFY(store.value("NormPos") != QString("10,20,310,220"));
}

void TestWindowSettings::refusedCloseDoesNotSave()
{
    SectionStore store;
    Window w;
    auto* p = makePlacement(&w, StatePosition);
    p->attach(&store);
    w.refuseClose = true;
    QVERIFY(!w.close());
    QVERIFY(store.isEmpty());
    QVERIFY(!p->savedSinceRestore());
    w.refuseClose = false;
    QVERIFY(w.close());
    QCOMPARE(store.value("Visible"), QString("0"));
}

void TestWindowSettings::inactiveStorageSkipsAutomaticOccasions()
{
    SectionStore store;
    store.set("NormPos", "10,20,310,220");
    {
        Window w;
        w.setGeometry(1, 2, 100, 50);
        auto* p = makePlacement(&w, StatePosition);
        p->setActive(false);
        p->attach(&store);
        QCOMPARE(w.geometry(), QRect(1, 2, 100, 50));
        QVERIFY(!p->hasRestored());
    }
    QVERIFY(!store.valueExists(SectionStore::Section, "Visible"));

    {
        // Switched off during the run: neither close nor destruction saves.
        Window w;
        auto* p = makePlacement(&w, StatePosition);
        p->attach(&store);
        QCOMPARE(w.geometry(), QRect(10, 20, 300, 200));
        p->setActive(false);
        w.setGeometry(50, 60, 300, 200);
        QVERIFY(w.close());
    }
    QVERIFY(!store.valueExists(SectionStore::Section, "Visible"));
    QCOMPARE(store.value("NormPos"), QString("10,20,310,220"));

    // The next run's storage is active again.
    Window w;
    auto* p = makePlacement(&w, StatePosition);
    QVERIFY(p->isActive());
    p->attach(&store);
    QVERIFY(w.close());
    QCOMPARE(store.value("Visible"), QString("0"));
}

void TestWindowSettings::noSaveBeforeFirstRestore()
{
    SectionStore store;
    Window w;
    auto* p = makePlacement(&w, StatePosition);
    int linkedSaves = 0;
    p->addLinked([&](SettingsStore&) { ++linkedSaves; }, [](const SettingsStore&) {});
    p->save(store, true);
    QVERIFY(store.isEmpty());
    QCOMPARE(linkedSaves, 0);

    // Attached inactive, so never restored: a close, even with the storage switched on later,
    // must not write.
    p->setActive(false);
    p->attach(&store);
    p->setActive(true);
    QVERIFY(w.close());
    QVERIFY(store.isEmpty());

    p->restore(store);
    p->save(store);
    QCOMPARE(store.value("Visible"), QString("0"));
    QCOMPARE(linkedSaves, 1);
}

void TestWindowSettings::saveAndRestoreOrder()
{
    SectionStore store;
    store.set("NormPos", "10,20,310,220");
    store.set("ActiveControl", "Edit1");
    QWidget w;
    auto* edit = new QLineEdit(&w);
    edit->setObjectName("Edit1");
    auto* p = makePlacement(&w, All);

    QStringList events;
    p->addLinked(
        [&](SettingsStore& s) {
            s.writeString("Linked", "Item_0", "a");
            events << "save linked 1";
        },
        [&](const SettingsStore&) { events << QStringLiteral("load linked 1 at %1,%2").arg(w.x()).arg(w.y()); });
    const int removed = p->addLinked([&](SettingsStore&) { events << "save removed"; },
                                     [&](const SettingsStore&) { events << "load removed"; });
    p->addLinked([&](SettingsStore&) { events << "save linked 2"; },
                 [&](const SettingsStore&) { events << "load linked 2"; });
    p->removeLinked(removed);
    p->addStoredProperty(
        "A.Text", [&](SettingsStore&) { events << "save A"; },
        [&](const SettingsStore&) { events << QStringLiteral("load A focus %1").arg(w.focusWidget() != nullptr); });
    p->addStoredProperty(
        "B.Text", [&](SettingsStore&) { events << "save B"; }, [&](const SettingsStore&) { events << "load B"; });
    QCOMPARE(p->storedPropertyNames(), QStringList({"A.Text", "B.Text"}));

    p->restore(store);
    QCOMPARE(events, QStringList({"load linked 1 at 10,20", "load linked 2", "load A focus 0", "load B"}));
    QCOMPARE(w.focusWidget(), edit); // the focused control comes last

    events.clear();
    store.log.clear();
    p->save(store);
    QCOMPARE(events, QStringList({"save linked 1", "save linked 2", "save A", "save B"}));
    // Every placement value is written before the linked component writes.
    QCOMPARE(store.log.indexOf("Item_0"), store.log.size() - 1);
    QCOMPARE(store.log.at(store.log.size() - 2), QString("Visible"));
}

void TestWindowSettings::failingPropertyLoadDoesNotStopOthers()
{
    SectionStore store;
    QWidget w;
    auto* p = makePlacement(&w, StatePosition);
    QStringList loaded;
    p->addStoredProperty("A.X", {}, [&](const SettingsStore&) { throw std::runtime_error("not a string value"); });
    p->addStoredProperty("B.X", {}, [&](const SettingsStore&) { loaded << "B"; });
    p->addStoredProperty("C.X", {}, [&](const SettingsStore&) { throw 42; });
    p->addStoredProperty("D.X", {}, [&](const SettingsStore&) { loaded << "D"; });
    p->restore(store);
    QCOMPARE(loaded, QStringList({"B", "D"}));
}

void TestWindowSettings::automaticErrorsGoToHandler()
{
    SectionStore store;
    QStringList errors;
    Window w;
    auto* p = makePlacement(&w, StatePosition);
    p->setErrorHandler([&](const QString& message) { errors << message; });
    p->addLinked({}, [](const SettingsStore&) { throw std::runtime_error("cannot open key"); });
    p->attach(&store);
    QCOMPARE(errors, QStringList({"cannot open key"}));

    store.failWrites = true;
    QVERIFY(w.close()); // the window still closes
    QCOMPARE(errors, QStringList({"cannot open key", "store is read-only"}));

    // Called directly, the error reaches the caller.
    QVERIFY_THROWS_EXCEPTION(std::runtime_error, p->save(store));
}

QTEST_MAIN(TestWindowSettings)
#include "tst_windowsettings.moc"
