// The bounded recent-strings list and the recent-files submenu built from it.

#include "platform/platform.h"
#include "settings/recentfilesmenu.h"
#include "settings/recentlist.h"
#include "settings/settingsstore.h"
#include "support/memorystore.h"

#include <QAction>
#include <QMap>
#include <QMenu>
#include <QTest>

#include <stdexcept>

namespace {

const QString Key = QStringLiteral("TQuilForm1.MRUManager1");

// The submenu as text: "-" for a separator, otherwise the caption.
QStringList menuText(const QMenu& menu)
{
    QStringList result;
    for (const QAction* a : menu.actions())
        result << (a->isSeparator() ? QStringLiteral("-") : a->text());
    return result;
}

QList<QAction*> entryItems(const QMenu& menu)
{
    QList<QAction*> result;
    for (QAction* a : menu.actions())
        if (!a->isSeparator() && a->data().isValid())
            result << a;
    return result;
}

// Fills the list so that it reads names top to bottom.
void fillTopToBottom(RecentFilesMenu& recent, const QStringList& names)
{
    for (qsizetype i = names.size() - 1; i >= 0; --i)
        recent.add(names.at(i));
}

class ActionCounter : public QObject
{
public:
    int added = 0;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::ActionAdded)
            ++added;
        return QObject::eventFilter(watched, event);
    }
};

} // namespace

class TestRecentFiles : public QObject
{
    Q_OBJECT

private slots:
    // ---- RecentList ----

    void capacityBoundsInsertMode()
    {
        RecentList list;
        QCOMPARE(list.capacity(), 10);
        list.setCapacity(16);
        for (int i = 0; i < 17; ++i)
            list.add(QStringLiteral("/p%1").arg(i));
        QCOMPARE(list.count(), 16);
        QCOMPARE(list.at(0), QStringLiteral("/p16"));
        QCOMPARE(list.at(15), QStringLiteral("/p1"));
        QCOMPARE(list.indexOf(QStringLiteral("/p0")), -1);

        // Shrinking trims from the bottom.
        list.setCapacity(3);
        QCOMPARE(list.strings(), (QStringList{"/p16", "/p15", "/p14"}));
    }

    void capacityBelowOneActsAsOne()
    {
        RecentList list(0);
        QCOMPARE(list.capacity(), 1);
        list.setCapacity(-5);
        QCOMPARE(list.capacity(), 1);
        list.add("a");
        list.add("b");
        QCOMPARE(list.strings(), QStringList{"b"});

        RecentFilesMenu recent;
        recent.setCapacity(0);
        QCOMPARE(recent.capacity(), 1);
        recent.add("x");
        recent.add("y");
        QCOMPARE(recent.items(), QStringList{"y"});
    }

    void existingEntryMovesWithOldSpellingAndData()
    {
        RecentList list;
        list.add("/docs/notes.txt", 1);
        list.add("/other.txt", 2);
        QCOMPARE(list.add("/docs/notes.txt", 99), 0);
        QCOMPARE(list.strings(), (QStringList{"/docs/notes.txt", "/other.txt"}));
        QCOMPARE(list.dataAt(0), QVariant(1));
        QCOMPARE(list.indexOf("/other.txt"), 1);
    }

    // Paths compare as the file system compares names.
    void entriesDifferingInCaseAreOneFileOnlyWhereTheFileSystemIgnoresCase()
    {
        RecentList list;
        list.add("/M16.TXT", 1);
        const bool ignoresCase = platform::FileNameCase == Qt::CaseInsensitive;
        QCOMPARE(list.add("/m16.txt", 2), 0);
        QCOMPARE(list.count(), ignoresCase ? 1 : 2);
        QCOMPARE(list.dataAt(0), QVariant(ignoresCase ? 1 : 2));
        QCOMPARE(list.indexOf("/M16.TXT"), ignoresCase ? 0 : 1);
        // Where case is ignored, it is ignored beyond ASCII too.
        list.add("/Ärger");
        QCOMPARE(list.indexOf("/äRGER") == 0, ignoresCase);

        // The entry chosen is the file opened.
        QMenu menu;
        RecentFilesMenu recent;
        recent.setMenu(&menu);
        QStringList opened;
        recent.setClickHandler([&](const QString& name, const QString&, const QVariant&) { opened << name; });
        recent.add("/M16.TXT");
        recent.add("/m16.txt");
        QCOMPARE(entryItems(menu).size(), ignoresCase ? 1 : 2);
        entryItems(menu).last()->trigger();
        QCOMPARE(opened, QStringList{"/M16.TXT"});
    }

    void appendMode()
    {
        RecentList list(3);
        list.setMode(RecentList::Mode::Append);
        for (const char* s : {"a", "b", "c", "d"})
            list.add(s);
        QCOMPARE(list.strings(), (QStringList{"b", "c", "d"}));
        QCOMPARE(list.add("b"), 2);
        QCOMPARE(list.strings(), (QStringList{"c", "d", "b"}));
        // Shrinking trims from the top.
        list.setCapacity(2);
        QCOMPARE(list.strings(), (QStringList{"d", "b"}));
    }

    void removeAndClear()
    {
        RecentList list;
        list.add("a");
        list.add("b");
        list.add("c");
        QVERIFY(list.remove("b"));
        QVERIFY(!list.remove("zzz"));
        QCOMPARE(list.strings(), (QStringList{"c", "a"}));
        QCOMPARE(list.at(5), QString());
        list.clear();
        QVERIFY(list.isEmpty());
    }

    void changeReportedOncePerBracket()
    {
        RecentList list(2);
        int reports = 0;
        list.setChangeHandler([&] { ++reports; });

        list.add("a"); // one add: insert + trim in a single bracket
        QCOMPARE(reports, 1);
        list.add("b");
        list.add("c"); // insert and drop the bottom entry
        QCOMPARE(reports, 3);

        reports = 0;
        list.beginUpdate();
        list.add("d");
        list.beginUpdate();
        list.add("e");
        list.remove("d");
        list.endUpdate();
        QCOMPARE(reports, 0);
        list.endUpdate();
        QCOMPARE(reports, 1);

        // Nothing changed: nothing reported.
        reports = 0;
        list.remove("absent");
        list.add("e"); // already on top
        list.beginUpdate();
        list.endUpdate();
        list.endUpdate(); // unbalanced close is ignored
        QCOMPARE(reports, 0);
        QVERIFY(!list.isUpdating());
    }

    // ---- RecentFilesMenu: the menu ----

    void captionsForSixteenEntries()
    {
        QMenu menu;
        RecentFilesMenu recent;
        recent.setCapacity(16);
        recent.setMenu(&menu);
        for (int i = 15; i >= 0; --i)
            recent.add(QStringLiteral("/f%1").arg(i));

        QStringList expected;
        const QString accels = QStringLiteral("0123456789ABCDEF");
        for (int i = 0; i < 16; ++i)
            expected << QStringLiteral("&%1 /f%2").arg(accels.at(i)).arg(i);
        QCOMPARE(menuText(menu), expected);
        const QList<QAction*> items = entryItems(menu);
        for (int i = 0; i < 16; ++i) {
            QCOMPARE(items.at(i)->data(), QVariant(i));
            QCOMPARE(items.at(i)->statusTip(), QStringLiteral("/f%1").arg(i));
        }
    }

    void acceleratorStartDelimiterAndEscaping()
    {
        QMenu menu;
        RecentFilesMenu recent;
        recent.setMenu(&menu);
        fillTopToBottom(recent, {"/a", "/b", "/c"});

        recent.setFirstAccelerator(35);
        QCOMPARE(menuText(menu), (QStringList{"&Z /a", QStringLiteral("&") + QChar(u'A' + 26) + " /b",
                                              QStringLiteral("&") + QChar(u'A' + 27) + " /c"}));

        // k = 99 and 100 still get a character; above 100 the accelerator is one blank.
        recent.setFirstAccelerator(99);
        QCOMPARE(menuText(menu), (QStringList{QStringLiteral("&") + QChar(u'A' + 89) + " /a",
                                              QStringLiteral("&") + QChar(u'A' + 90) + " /b", "  /c"}));

        recent.setFirstAccelerator(0);
        recent.setAcceleratorDelimiter(RecentFilesMenu::AcceleratorDelimiter::Tab);
        QCOMPARE(menuText(menu), (QStringList{"&0\t/a", "&1\t/b", "&2\t/c"}));

        recent.setAcceleratorsVisible(false);
        recent.add("/R&D notes.txt");
        QCOMPARE(menuText(menu), (QStringList{"/R&&D notes.txt", "/a", "/b", "/c"}));
    }

    void captionAndHintSplitAtFirstBar()
    {
        QMenu menu;
        RecentFilesMenu recent;
        recent.setMenu(&menu);
        fillTopToBottom(recent, {"/plain.txt", "/x.txt|Hint text", "/y.txt|one|two"});
        const QList<QAction*> items = entryItems(menu);
        QCOMPARE(items.size(), 3);
        QCOMPARE(items.at(0)->text(), QStringLiteral("&0 /plain.txt"));
        QCOMPARE(items.at(0)->statusTip(), QStringLiteral("/plain.txt"));
        QCOMPARE(items.at(1)->text(), QStringLiteral("&1 /x.txt"));
        QCOMPARE(items.at(1)->statusTip(), QStringLiteral("Hint text"));
        QCOMPARE(items.at(2)->text(), QStringLiteral("&2 /y.txt"));
        QCOMPARE(items.at(2)->statusTip(), QStringLiteral("one|two"));
    }

    void ownItemsStayAndSeparators()
    {
        QMenu menu;
        QAction* removeAll = menu.addAction("Remove &All");
        RecentFilesMenu recent;
        connect(removeAll, &QAction::triggered, &recent, [&] { recent.clear(); });
        recent.setMenu(&menu);
        QCOMPARE(menuText(menu), QStringList{"Remove &All"});

        fillTopToBottom(recent, {"/0", "/1", "/2", "/3", "/4", "/5", "/6"});
        recent.setGroupSize(3);
        QCOMPARE(menuText(menu), (QStringList{"Remove &All", "-", "&0 /0", "&1 /1", "&2 /2", "-", "&3 /3", "&4 /4",
                                              "&5 /5", "-", "&6 /6"}));

        // Rebuilding replaces only what the list added.
        recent.remove("/3");
        recent.setGroupSize(0);
        QCOMPARE(menuText(menu),
                 (QStringList{"Remove &All", "-", "&0 /0", "&1 /1", "&2 /2", "&3 /4", "&4 /5", "&5 /6"}));

        // A menu without items of its own gets no leading separator.
        QMenu bare;
        recent.setMenu(&bare);
        QCOMPARE(menuText(menu), QStringList{"Remove &All"});
        QCOMPARE(menuText(bare).first(), QStringLiteral("&0 /0"));
    }

    void removeAllEmptiesListMenuAndStore()
    {
        QMenu menu;
        QAction* removeAll = menu.addAction("Remove &All");
        MemoryStore store;
        RecentFilesMenu recent;
        connect(removeAll, &QAction::triggered, &recent, [&] { recent.clear(); });
        recent.setMenu(&menu);
        fillTopToBottom(recent, {"/a", "/b"});
        recent.save(store, Key);
        QCOMPARE(store.names(Key).size(), 2);

        removeAll->trigger();
        QVERIFY(recent.items().isEmpty());
        QCOMPARE(menuText(menu), QStringList{"Remove &All"});
        QVERIFY(menu.menuAction()->isEnabled());

        recent.save(store, Key);
        QVERIFY(store.names(Key).isEmpty());
    }

    void autoEnable()
    {
        QMenu menu;
        RecentFilesMenu recent;
        recent.setMenu(&menu);
        QVERIFY(!menu.menuAction()->isEnabled());
        recent.add("/a");
        QVERIFY(menu.menuAction()->isEnabled());
        recent.clear();
        QVERIFY(!menu.menuAction()->isEnabled());

        // Switched off, the enabled state is left alone.
        recent.setAutoEnable(false);
        menu.menuAction()->setEnabled(true);
        recent.updateMenu();
        QVERIFY(menu.menuAction()->isEnabled());
    }

    void autoUpdateOff()
    {
        QMenu menu;
        RecentFilesMenu recent;
        recent.setMenu(&menu);
        recent.setAutoUpdate(false);
        recent.add("/a");
        QVERIFY(menuText(menu).isEmpty());
        recent.setAutoUpdate(true);
        QCOMPARE(menuText(menu), QStringList{"&0 /a"});
    }

    // ---- RecentFilesMenu: clicks ----

    void clickKeepsReopenedPathAndNeverDropsOthers()
    {
        QMenu menu;
        RecentFilesMenu recent;
        recent.setCapacity(16);
        recent.setRemoveOnSelect(true);
        recent.setMenu(&menu);
        recent.add("/C", QStringLiteral("data of C"));
        fillTopToBottom(recent, {"/A", "/B"});
        QCOMPARE(recent.items(), (QStringList{"/A", "/B", "/C"}));

        QString gotName, gotCaption;
        QVariant gotData;
        recent.setClickHandler([&](const QString& name, const QString& caption, const QVariant& data) {
            gotName = name;
            gotCaption = caption;
            gotData = data;
            recent.add(name); // what opening the file does
        });
        entryItems(menu).at(2)->trigger();

        QCOMPARE(gotName, QStringLiteral("/C"));
        QCOMPARE(gotCaption, QStringLiteral("&2 /C"));
        QCOMPARE(gotData, QVariant(QStringLiteral("data of C")));
        QCOMPARE(recent.items(), (QStringList{"/C", "/A", "/B"}));
        QCOMPARE(menuText(menu), (QStringList{"&0 /C", "&1 /A", "&2 /B"}));
    }

    void clickRemovesPathTheHandlerDidNotReadd()
    {
        QMenu menu;
        RecentFilesMenu recent;
        recent.setRemoveOnSelect(true);
        recent.setMenu(&menu);
        fillTopToBottom(recent, {"/A", "/B", "/C"});

        // The handler puts something else on top; only the chosen path leaves.
        recent.setClickHandler([&](const QString&, const QString&, const QVariant&) { recent.add("/D"); });
        entryItems(menu).at(1)->trigger();
        QCOMPARE(recent.items(), (QStringList{"/D", "/A", "/C"}));

        // A handler that fails: the chosen path leaves and the failure reaches the caller. The
        // signal is emitted rather than trigger()ed: QAction::trigger() is built without exception
        // support, and an exception unwinding through it skips its clean-up (a leak).
        recent.setClickHandler(
            [](const QString&, const QString&, const QVariant&) { throw std::runtime_error("no file"); });
        QVERIFY_THROWS_EXCEPTION(std::runtime_error, emit entryItems(menu).at(2)->triggered());
        QCOMPARE(recent.items(), (QStringList{"/D", "/A"}));

        // Re-added before failing: kept at the top.
        recent.setClickHandler([&](const QString& name, const QString&, const QVariant&) {
            recent.add(name.toUpper());
            throw std::runtime_error("late");
        });
        QVERIFY_THROWS_EXCEPTION(std::runtime_error, emit entryItems(menu).at(1)->triggered());
        QCOMPARE(recent.items(), (QStringList{"/A", "/D"}));

        // Without RemoveOnSelect the chosen entry stays where it is.
        recent.setRemoveOnSelect(false);
        recent.setClickHandler([](const QString&, const QString&, const QVariant&) {});
        entryItems(menu).at(1)->trigger();
        QCOMPARE(recent.items(), (QStringList{"/A", "/D"}));
    }

    void clickOutsideListDoesNothing()
    {
        QMenu menu;
        RecentFilesMenu recent;
        recent.setRemoveOnSelect(true);
        recent.setMenu(&menu);
        fillTopToBottom(recent, {"/A", "/B", "/C"});
        recent.setAutoUpdate(false);
        recent.remove("/C"); // the menu still shows three items
        int calls = 0;
        recent.setClickHandler([&](const QString&, const QString&, const QVariant&) { ++calls; });

        entryItems(menu).at(2)->trigger();
        QCOMPARE(calls, 0);
        QCOMPARE(recent.items(), (QStringList{"/A", "/B"}));
    }

    // ---- RecentFilesMenu: the store ----

    void saveWritesItemsAndErasesStaleValues()
    {
        MemoryStore store;
        for (int i = 0; i < 6; ++i)
            store.writeString(Key, QStringLiteral("Item_%1").arg(i), QStringLiteral("/stale%1").arg(i));
        store.writeString(Key, "Other", "x");
        store.writeString(Key + "\\Sub", "Item_0", "x");

        RecentFilesMenu recent;
        fillTopToBottom(recent, {"/top", "/bottom"});
        recent.save(store, Key);

        QCOMPARE(store.names(Key.toUpper()), (QStringList{"item_0", "item_1"}));
        QCOMPARE(store.readString(Key, "ITEM_0"), QStringLiteral("/top"));
        QCOMPARE(store.readString(Key, "item_1"), QStringLiteral("/bottom"));
        QVERIFY(!store.valueExists(Key + "\\Sub", "Item_0"));
    }

    void loadSkipsGapsAndBeyondCapacity()
    {
        MemoryStore store;
        store.writeString(Key, "Item_0", "/zero");
        store.writeString(Key, "Item_2", "/two");
        store.writeString(Key, "Item_20", "/twenty");
        store.writeString(Key, "Item_3", "");

        RecentFilesMenu recent;
        recent.setCapacity(16);
        recent.add("/old"); // replaced by the load
        recent.load(store, Key);
        QCOMPARE(recent.items(), (QStringList{"/zero", "/two"}));

        // Missing key: empty list.
        recent.load(store, "Nowhere");
        QVERIFY(recent.items().isEmpty());
    }

    void loadDuplicateKeepsUpperPlace()
    {
        MemoryStore store;
        store.writeString(Key, "Item_0", "/same");
        store.writeString(Key, "Item_1", "/mid");
        store.writeString(Key, "Item_3", "/same");

        RecentFilesMenu recent;
        recent.load(store, Key);
        QCOMPARE(recent.items(), (QStringList{"/same", "/mid"}));

        store.eraseKey(Key);
        store.writeString(Key, "Item_0", "/p");
        store.writeString(Key, "Item_3", "/p");
        recent.load(store, Key);
        QCOMPARE(recent.items(), QStringList{"/p"});
    }

    void loadRoundTripKeepsModeAndRebuildsOnce()
    {
        MemoryStore store;
        RecentFilesMenu source;
        fillTopToBottom(source, {"/a", "/b", "/c"});
        source.save(store, Key);

        QMenu menu;
        menu.addAction("Remove &All");
        RecentFilesMenu recent;
        recent.setMode(RecentList::Mode::Append);
        recent.setMenu(&menu);
        ActionCounter counter;
        menu.installEventFilter(&counter);

        recent.load(store, Key);
        QCOMPARE(recent.items(), (QStringList{"/a", "/b", "/c"}));
        QCOMPARE(counter.added, 4); // one separator and three entries: a single rebuild
        QCOMPARE(recent.mode(), RecentList::Mode::Append);
        recent.add("/d");
        QCOMPARE(recent.items(), (QStringList{"/a", "/b", "/c", "/d"}));
    }
};

QTEST_MAIN(TestRecentFiles)
#include "tst_recentfiles.moc"
