// The tip window: tips added, removed and browsed survive a restart (the list and the box are
// stored properties of section "Tips"); an empty list gets the update tip on show; edit mode and
// its keys; the window comes with the main window only while its box is checked.

#include "support/memorystore.h"
#include "support/scriptedprompts.h"
#include "windows/tipwindow.h"

#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTest>

class TestTipWindow : public QObject
{
    Q_OBJECT

private:
    // Picks go through the list in order.
    static void pickInOrder(TipOfTheDayWindow& window)
    {
        auto next = std::make_shared<quint32>(0);
        window.store().setRandom([next] { return (*next)++; });
    }

private slots:
    void aFirstRunHasTheBuiltInTipsAndShowsThemAtStart()
    {
        MemoryStore store;
        TipOfTheDayWindow window;
        window.storage()->restore(store);
        QVERIFY(window.showAtStart());
        QVERIFY(window.tips().size() >= 15);
        QVERIFY(window.tips().contains(window.shownTip()));
        QVERIFY(window.nextButton()->isEnabled());
        // Every save writes CR LF: a tip that promises a file saved back as it came must say so.
        for (const QString& tip : window.tips())
            if (tip.contains(QLatin1String("saved back")))
                QVERIFY2(tip.contains(QLatin1String("CR LF")), qPrintable(tip));
    }

    void addRemoveAndBrowseSurviveARestart()
    {
        ScopedPrompts prompts;
        MemoryStore store;
        {
            TipOfTheDayWindow window;
            window.storage()->restore(store);
            window.setTips({QStringLiteral("one"), QStringLiteral("two")});
            window.showTip();
            QVERIFY(QTest::qWaitForWindowActive(&window));
            QVERIFY(window.closeButton()->hasFocus());
            // Add Tip: the list and the field take the panel's place; Enter adds what was typed.
            window.addButton()->click();
            QVERIFY(window.editing());
            QVERIFY(!window.nextButton()->isEnabled());
            QVERIFY(window.tipEdit()->hasFocus());
            QTest::keyClicks(window.tipEdit(), QStringLiteral("three"));
            QTest::keyClick(window.tipEdit(), Qt::Key_Return);
            QVERIFY(window.editing());
            QCOMPARE(window.tipEdit()->text(), QString());
            window.addButton()->click(); // an empty text is a tip too
            // Remove Tip without a selection changes nothing; with one, it takes that tip out.
            window.tipList()->clearSelection();
            window.removeButton()->click();
            QCOMPARE(window.tips().size(), 4);
            window.tipList()->setCurrentRow(0);
            window.removeButton()->click();
            window.tipList()->setCurrentRow(2);
            window.removeButton()->click();
            QCOMPARE(window.tips(), (QStringList{QStringLiteral("two"), QStringLiteral("three")}));
            // Esc leaves edit mode, then closes.
            QTest::keyClick(&window, Qt::Key_Escape);
            QVERIFY(!window.editing());
            QVERIFY(window.nextButton()->isEnabled());
            QVERIFY(window.isVisible());
            window.setShowAtStart(false);
            QTest::keyClick(&window, Qt::Key_Escape);
            QVERIFY(!window.isVisible());
            window.storage()->save(store);
        }
        QCOMPARE(store.readString("Tips", "ShowAtStart_Checked"), QStringLiteral("False"));
        TipOfTheDayWindow again;
        again.storage()->restore(store);
        QCOMPARE(again.tips(), (QStringList{QStringLiteral("two"), QStringLiteral("three")}));
        QVERIFY(!again.showAtStart());
        pickInOrder(again);
        again.nextButton()->click();
        QCOMPARE(again.shownTip(), QStringLiteral("two"));
        again.nextButton()->click();
        QCOMPARE(again.shownTip(), QStringLiteral("three"));
        // With its box off, the main window's show leaves it hidden.
        again.showAfterMainWindowShown();
        QVERIFY(!again.isVisible());
        again.setShowAtStart(true);
        again.showAfterMainWindowShown();
        QVERIFY(again.isVisible());
    }

    // Remove Tip removes the selected tip only: a second press removes nothing until another is
    // chosen. A tip added to a long list is scrolled into view.
    void removeAndAddActOnOneTipInSight()
    {
        TipOfTheDayWindow window;
        QStringList tips;
        for (int i = 0; i < 40; ++i)
            tips.append(QStringLiteral("tip %1").arg(i));
        window.setTips(tips);
        window.showTip();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        window.pressAddTip(); // edit mode
        QVERIFY(window.editing());
        window.tipList()->setCurrentRow(0);
        window.pressRemoveTip();
        window.pressRemoveTip();
        QCOMPARE(window.tips().size(), 39);
        QCOMPARE(window.tips().first(), QStringLiteral("tip 1"));
        window.tipEdit()->setText(QStringLiteral("the newest"));
        window.pressAddTip();
        QListWidget* list = window.tipList();
        QCOMPARE(list->item(list->count() - 1)->text(), QStringLiteral("the newest"));
        QVERIFY(list->viewport()->rect().intersects(list->visualItemRect(list->item(list->count() - 1))));
    }

    void anEmptyListGetsTheUpdateTipOnShow()
    {
        TipOfTheDayWindow window;
        window.setTips({});
        QVERIFY(!window.nextButton()->isEnabled());
        window.showTip();
        QCOMPARE(window.tips(), QStringList{TipStore::UpdateTip});
        QCOMPARE(window.shownTip(), TipStore::UpdateTip);
        QVERIFY(!window.nextButton()->isEnabled());
        // Leaving edit mode with a single tip keeps Next off.
        window.pressAddTip();
        window.pressClose();
        QVERIFY(!window.nextButton()->isEnabled());
        QVERIFY(window.isVisible());
    }
};

QTEST_MAIN(TestTipWindow)
#include "tst_tipwindow.moc"
