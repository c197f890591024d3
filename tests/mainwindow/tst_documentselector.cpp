// The document selector: its list against the tab captions after every document operation, its
// buttons and keys acting on the documents, its count, its tool bar and how Ctrl+D shows it.

#include "mainwindow/sidewindowscontroller.h"
#include "support/mainwindowfixture.h"
#include "windows/clipbookwindow.h"
#include "windows/documentselector.h"
#include "windows/utilityoptionsdialog.h"

#include <QApplication>
#include <QCheckBox>
#include <QContextMenuEvent>
#include <QListWidget>
#include <QMenu>
#include <QToolButton>

class TestDocumentSelector : public MainWindowTest
{
    Q_OBJECT

    std::unique_ptr<DocumentSelector> m_selector;
    std::unique_ptr<UtilityOptionsDialog> m_utilityOptions;

    DocumentSelector& selector() { return *m_selector; }

    // Starts the main window with a selector linked to it as at start.
    void startWithSelector(const QStringList& arguments = {})
    {
        QVERIFY(start(arguments));
        m_selector = std::make_unique<DocumentSelector>();
        m_utilityOptions = std::make_unique<UtilityOptionsDialog>();
        m_fixture->windows.documentSelector = m_selector.get();
        m_fixture->windows.utilityOptions = m_utilityOptions.get();
        m_selector->setHost(&form()->sideWindows());
        m_utilityOptions->setTargets(nullptr, m_selector.get());
        docs().refreshDocumentList();
    }

    QStringList tabCaptions()
    {
        QStringList captions;
        DocumentTabBar* tabs = form()->documentTabs()->tabs();
        for (int i = 0; i < tabs->count(); ++i)
            captions.append(tabs->tabText(i));
        return captions;
    }

    // The selector mirrors the tab strip: same captions in order, the current tab selected.
    void verifyInStep(const char* after)
    {
        QCOMPARE(tabCaptions().size(), docs().count());
        if (selector().documents() != tabCaptions() || selector().selectedIndex() != form()->documentTabs()->tabIndex())
            QFAIL(qPrintable(QStringLiteral("after %1: %2 (%3) against tabs %4 (%5)")
                                 .arg(QLatin1String(after), selector().documents().join(QLatin1Char(',')))
                                 .arg(selector().selectedIndex())
                                 .arg(tabCaptions().join(QLatin1Char(',')))
                                 .arg(form()->documentTabs()->tabIndex())));
    }

    void clickButton(const char* name)
    {
        auto* button = selector().findChild<QToolButton*>(QLatin1String(name));
        QVERIFY(button);
        button->click();
    }

private slots:
    void init() { newFixture(); }
    void cleanup()
    {
        m_selector.reset();
        m_utilityOptions.reset();
        m_fixture.reset();
    }

    void listFollowsTheTabsAfterEveryDocumentOperation()
    {
        const QString a = makeFile(QStringLiteral("a.txt"), "alpha");
        const QString b = makeFile(QStringLiteral("b.txt"), "beta");
        startWithSelector({a});
        verifyInStep("start");
        action("New1")->trigger();
        verifyInStep("new");
        prompts().openPaths = {b};
        action("Open1")->trigger();
        verifyInStep("open");
        clickTab(0);
        verifyInStep("tab click");
        action("NextDocument1")->trigger();
        verifyInStep("next");
        action("PreviousDocument1")->trigger();
        verifyInStep("previous");
        action("NextDocument1")->trigger();
        typeAtEnd("xy");
        prompts().savePaths = {m_fixture->sandbox.filePath(QStringLiteral("files/renamed.txt"))};
        action("SaveAs1")->trigger();
        verifyInStep("save as");
        QVERIFY(selector().documents().contains(QStringLiteral("renamed.txt")));
        action("CloseDocument1")->trigger();
        verifyInStep("close");
        prompts().answers = {Answer::Yes};
        action("CloseAll1")->trigger();
        verifyInStep("close all");
        QCOMPARE(selector().documents(), QStringList{QStringLiteral("Untitled")});
    }

    void buttonsAndKeysActOnTheDocuments()
    {
        startWithSelector();
        selector().show();
        QVERIFY(QTest::qWaitForWindowExposed(&selector()));
        clickButton("SpeedButton3"); // new
        clickButton("SpeedButton3");
        QCOMPARE(docs().count(), 3);
        verifyInStep("new button");
        clickButton("SpeedButton5"); // previous
        QCOMPARE(docs().currentIndex(), 1);
        clickButton("SpeedButton6"); // next
        QCOMPARE(docs().currentIndex(), 2);
        selector().documentList()->setCurrentRow(0);
        clickButton("SpeedButton1"); // go to
        QCOMPARE(docs().currentIndex(), 0);
        QCOMPARE(form()->documentTabs()->tabIndex(), 0);
        // Enter goes to the selected entry, a double click too.
        selector().documentList()->setCurrentRow(2);
        QTest::keyClick(selector().documentList(), Qt::Key_Return);
        QCOMPARE(docs().currentIndex(), 2);
        QListWidget* list = selector().documentList();
        const QRect first = list->visualItemRect(list->item(1));
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, first.center());
        QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, first.center());
        QCOMPARE(docs().currentIndex(), 1);
        verifyInStep("go to");
        clickButton("SpeedButton4"); // close
        QCOMPARE(docs().count(), 2);
        verifyInStep("close button");
        // Going to nothing selected does nothing.
        list->setCurrentRow(-1);
        clickButton("SpeedButton1");
        QCOMPARE(docs().count(), 2);

        selector().refreshCount();
        QCOMPARE(selector().countText(), QStringLiteral("2 Documents Open"));
        clickButton("SpeedButton4");
        QTRY_COMPARE(selector().countText(), QStringLiteral("1 Document Open"));
    }

    // The menu of a right click on an entry closes that entry's document, not the current one.
    void theMenuClosesTheEntryItWasOpenedOn()
    {
        const QString a = makeFile(QStringLiteral("a.txt"), "alpha");
        const QString b = makeFile(QStringLiteral("b.txt"), "beta");
        startWithSelector({a, b});
        selector().show();
        QVERIFY(QTest::qWaitForWindowExposed(&selector()));
        QListWidget* list = selector().documentList();
        QCOMPARE(docs().current().path, b);
        const QPoint onA = list->visualItemRect(list->item(1)).center();
        QContextMenuEvent click(QContextMenuEvent::Mouse, onA, list->viewport()->mapToGlobal(onA));
        QApplication::sendEvent(list->viewport(), &click);
        QTRY_VERIFY(selector().contextMenu()->isVisible());
        QCOMPARE(list->currentRow(), 1);
        selector().contextMenu()->findChild<QAction*>(QStringLiteral("CloseDocument1"))->trigger();
        selector().contextMenu()->hide();
        QCOMPARE(captionsOf(docs()), (QStringList{UntitledName, QStringLiteral("b.txt")}));
        verifyInStep("close from the menu");
    }

    void documentSelectorCommandShowsItAsTheUtilityOptionsSay()
    {
        startWithSelector();
        action("New1")->trigger();
        selector().setDocuments({}, -1);
        action("DocumentSelector1")->trigger();
        QVERIFY(selector().isVisible());
        QVERIFY(selector().windowFlags().testFlag(Qt::WindowStaysOnTopHint));
        verifyInStep("Ctrl+D");
        // Esc closes it.
        QTest::keyClick(selector().documentList(), Qt::Key_Escape);
        QVERIFY(!selector().isVisible());
        m_utilityOptions->box(QStringLiteral("DSKeepOnTop1"))->setChecked(false);
        action("DocumentSelector1")->trigger();
        QVERIFY(selector().isVisible());
        QVERIFY(!selector().windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    }

    void eachSideWindowReadsItsOwnKeepOnTopBox()
    {
        startWithSelector();
        ClipBookWindow clipBook;
        m_fixture->windows.clipBook = &clipBook;
        // Page 2 unchecked, page 1 checked: the selector is not topmost, ClipBook Files is.
        m_utilityOptions->box(QStringLiteral("DSKeepOnTop1"))->setChecked(false);
        m_utilityOptions->box(QStringLiteral("CKeepOnTop1"))->setChecked(false);
        action("DocumentSelector1")->trigger();
        QVERIFY(!selector().windowFlags().testFlag(Qt::WindowStaysOnTopHint));
        action("ClipBookFiles1")->trigger();
        QVERIFY(clipBook.windowFlags().testFlag(Qt::WindowStaysOnTopHint));
        action("ClipBook1")->trigger();
        QVERIFY(!clipBook.windowFlags().testFlag(Qt::WindowStaysOnTopHint));
        clipBook.hide();
        m_fixture->windows.clipBook = nullptr;
    }

    void toolBarHidesAndShowsWithItsMenuEntries()
    {
        startWithSelector();
        selector().show();
        // As at a first start: only "Show ToolBar" is offered.
        QVERIFY(selector().showToolBarEntry()->isVisible());
        QVERIFY(!selector().hideToolBarEntry()->isVisible());
        clickButton("SpeedButton2");
        QVERIFY(selector().toolPanel()->isHidden());
        QVERIFY(selector().showToolBarEntry()->isVisible());
        selector().showToolBarEntry()->trigger();
        QVERIFY(!selector().toolPanel()->isHidden());
        QVERIFY(!selector().showToolBarEntry()->isVisible());
        QVERIFY(selector().hideToolBarEntry()->isVisible());
        // The utility options' OK performs the same commands.
        m_utilityOptions->box(QStringLiteral("DSShowToolBar1"))->setChecked(false);
        m_utilityOptions->box(QStringLiteral("DSShowStatusBar1"))->setChecked(false);
        m_utilityOptions->box(QStringLiteral("DSSaveWPos1"))->setChecked(false);
        m_utilityOptions->accept();
        QVERIFY(selector().toolPanel()->isHidden());
        QVERIFY(selector().statusBar()->isHidden());
        QVERIFY(!selector().storage()->isActive());
        m_utilityOptions->box(QStringLiteral("DSShowToolBar1"))->setChecked(true);
        m_utilityOptions->accept();
        QVERIFY(!selector().toolPanel()->isHidden());
    }
};

QTEST_MAIN(TestDocumentSelector)
#include "tst_documentselector.moc"
