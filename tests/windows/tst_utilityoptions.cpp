// The utility options window: what OK changes in the ClipBook and the document selector, the
// linked status-bar boxes, the font buttons, and keys.

#include "support/scriptedprompts.h"
#include "windows/clipbookwindow.h"
#include "windows/documentselector.h"
#include "windows/utilityoptionsdialog.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QListView>
#include <QListWidget>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>

class TestUtilityOptions : public QObject
{
    Q_OBJECT

    std::unique_ptr<ScopedPrompts> m_prompts;
    std::unique_ptr<ClipBookWindow> m_clipBook;
    std::unique_ptr<DocumentSelector> m_selector;
    std::unique_ptr<UtilityOptionsDialog> m_options;

    QCheckBox* box(const char* name) { return m_options->box(QLatin1String(name)); }
    QWidget* clipPart(const char* name) { return m_clipBook->findChild<QWidget*>(QLatin1String(name)); }

private slots:
    void init()
    {
        m_prompts = std::make_unique<ScopedPrompts>();
        m_clipBook = std::make_unique<ClipBookWindow>();
        m_selector = std::make_unique<DocumentSelector>();
        m_options = std::make_unique<UtilityOptionsDialog>();
        m_options->setTargets(m_clipBook.get(), m_selector.get());
    }
    void cleanup()
    {
        m_options.reset();
        m_selector.reset();
        m_clipBook.reset();
        m_prompts.reset();
    }

    void pagesAndBoxesAsDesigned()
    {
        QCOMPARE(m_options->pages()->count(), 3);
        QCOMPARE(m_options->pages()->tabText(1), QStringLiteral("&2. Document Selector Options"));
        for (const char* name : {"CFKeepOnTop1", "CFShowStatusBar1", "CFShowToolBars1", "CFAutoComplete1",
                                 "DSKeepOnTop1", "DSShowStatusBar1", "DSShowToolBar1", "DSSaveWPos1", "CKeepOnTop1",
                                 "CShowStatusBar1", "CShowToolBars1", "CAutoComplete1"}) {
            QVERIFY2(box(name), name);
            QVERIFY2(box(name)->isChecked(), name);
        }
    }

    void filesStatusBarBoxTicksTheClipBookOneButNotBack()
    {
        box("CFShowStatusBar1")->click(); // off
        QVERIFY(!box("CShowStatusBar1")->isChecked());
        box("CFShowStatusBar1")->click(); // on
        QVERIFY(box("CShowStatusBar1")->isChecked());
        box("CShowStatusBar1")->click(); // page 3 alone
        QVERIFY(!box("CShowStatusBar1")->isChecked());
        QVERIFY(box("CFShowStatusBar1")->isChecked());
    }

    void okAppliesToTheClipBookAndTheSelectorCancelDoesNot()
    {
        box("CShowStatusBar1")->setChecked(false);
        box("CShowToolBars1")->setChecked(false);
        box("CAutoComplete1")->setChecked(false);
        box("DSShowStatusBar1")->setChecked(false);
        // Cancel keeps the boxes as they are and applies nothing.
        m_options->reject();
        QVERIFY(!clipPart("StatusBar1")->isHidden());
        QVERIFY(!box("CShowStatusBar1")->isChecked());
        m_options->accept();
        QVERIFY(clipPart("StatusBar1")->isHidden());
        QVERIFY(clipPart("ClipPanel1")->isHidden());
        QVERIFY(clipPart("Panel1")->isHidden());
        QVERIFY(!clipPart("Panel2")->isHidden());
        QVERIFY(!clipPart("FilePanel1")->isHidden());
        QVERIFY(!m_clipBook->templateAutoComplete());
        QVERIFY(m_clipBook->fileAutoComplete());
        QVERIFY(m_selector->statusBar()->isHidden());
        box("CFShowToolBars1")->setChecked(false);
        box("CAutoComplete1")->setChecked(true);
        m_options->accept();
        QVERIFY(clipPart("Panel2")->isHidden());
        QVERIFY(clipPart("FilePanel1")->isHidden());
        QVERIFY(m_clipBook->templateAutoComplete());
    }

    void fontButtonsActAtOnceAndACancelChangesNothing()
    {
        QFont chosen(QStringLiteral("Serif"));
        chosen.setPixelSize(21);
        const QFont before = m_selector->documentList()->font();
        m_prompts->fontAnswer.reset();
        m_options->fontButton(1)->click();
        QCOMPARE(m_selector->documentList()->font(), before);
        m_prompts->fontAnswer = chosen;
        m_options->fontButton(1)->click();
        QCOMPARE(m_selector->documentList()->font().pixelSize(), 21);
        m_options->fontButton(2)->click();
        QCOMPARE(m_clipBook->findChild<QListView*>(QStringLiteral("ItemListBox1"))->font().pixelSize(), 21);
        QCOMPARE(m_clipBook->findChild<QWidget*>(QStringLiteral("ClipEdit2"))->font().pixelSize(), 21);
        QVERIFY(m_clipBook->findChild<QListView*>(QStringLiteral("FileListBox1"))->font().pixelSize() != 21);
        m_options->fontButton(0)->click();
        QCOMPARE(m_clipBook->findChild<QWidget*>(QStringLiteral("FileEdit1"))->font().pixelSize(), 21);
    }

    void enterIsOkAndEscIsCancel()
    {
        box("DSShowStatusBar1")->setChecked(false);
        m_options->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_options.get()));
        QTest::keyClick(m_options.get(), Qt::Key_Escape);
        QVERIFY(!m_options->isVisible());
        QVERIFY(!m_selector->statusBar()->isHidden());
        m_options->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_options.get()));
        QVERIFY(qobject_cast<QCheckBox*>(QApplication::focusWidget()) || !QApplication::focusWidget());
        QTest::keyClick(m_options.get(), Qt::Key_Return);
        QVERIFY(!m_options->isVisible());
        QVERIFY(m_selector->statusBar()->isHidden());
    }
};

QTEST_MAIN(TestUtilityOptions)
#include "tst_utilityoptions.moc"
