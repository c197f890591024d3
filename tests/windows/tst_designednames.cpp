// The windows' controls under their C++ names still carry their designed names as objectName:
// the stored active control, the stored page ("PageControl1_ActivePage") and anyone reading the
// design find them by those names, whatever the code calls them.

#include "windows/configurationdialog.h"
#include "windows/documentselector.h"
#include "windows/gotolinedialog.h"
#include "windows/optionsdialog.h"

#include <QAction>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QSpinBox>
#include <QTabWidget>
#include <QTest>
#include <QTextEdit>

#include <utility>

namespace {

using Named = std::pair<const QObject*, const char*>;

void compareNames(const QList<Named>& controls)
{
    for (const auto& [control, designed] : controls) {
        QVERIFY2(control, designed);
        QCOMPARE(control->objectName(), QString::fromLatin1(designed));
    }
}

} // namespace

class TestDesignedNames : public QObject
{
    Q_OBJECT

private slots:
    void optionsDialogControls()
    {
        OptionsDialog w;
        QCOMPARE(w.objectName(), QStringLiteral("QuilletOp"));
        compareNames({
            {w.makeBackupsBox(), "BackUp1"},
            {w.autoSaveBox(), "AutoSave1"},
            {w.fileNameInTitleBox(), "FilenameOp1"},
            {w.saveSettingsBox(), "SaveOp1"},
            {w.stayOnTopBox(), "StayOnTop1"},
            {w.trayIconBox(), "System1"},
            {w.toolBarBox(), "ToolBar1"},
            {w.animateBox(), "An1"},
            {w.workingDirEdit(), "WorkingDir1"},
            {w.wordWrapBox(), "WordWrap1"},
            {w.acceptDropsBox(), "Dropped1"},
            {w.tabWidthSpin(), "SpinEdit1"},
            {w.fontSampleEdit(), "RichEdit1"},
            {w.changeFontButton(), "BitBtn5"},
            {w.filterList(), "Filter1"},
            {w.filterNameList(), "FilterName1"},
            {w.filterPatternList(), "ExtBox3"},
            {w.filterNameEdit(), "Edit2"},
            {w.filterPatternEdit(), "Edit3"},
            {w.defaultExtEdit(), "Edit4"},
            {w.scratchEdit(), "Edit7"},
            {w.newFilterButton(), "BitBtn12"},
            {w.deleteFilterButton(), "BitBtn13"},
            {w.replaceFilterButton(), "BitBtn14"},
            {w.pageColourButton(), "BitBtn10"},
            {w.pagePreviewEdit(), "RichEdit2"},
            {w.loadDefaultsButton(), "BitBtn11"},
            {w.dateTimeFilterEdit(), "Edit5"},
            {w.browserEdit(), "Edit6"},
            {w.locateBrowserButton(), "SpeedButton1"},
            {w.pages(), "PageControl1"},
            {w.contextMenu(), "PopupMenu1"},
            {w.helpAction(), "Help1"},
            {w.storage(), "FormStorage1"},
        });
        for (int page = 1; page <= 4; ++page) {
            QCOMPARE(w.okButton(page)->objectName(), QStringLiteral("OKBtn%1").arg(page));
            QCOMPARE(w.cancelButton(page)->objectName(), QStringLiteral("CancelBtn%1").arg(page));
            // Each page's buttons sit on that page.
            QVERIFY(w.pages()->widget(page - 1)->isAncestorOf(w.okButton(page)));
        }
    }

    void gotoLineDialogControls()
    {
        GotoLineDialog w;
        QCOMPARE(w.objectName(), QStringLiteral("ScrollBox1"));
        compareNames({
            {w.lineSpin(), "Edit1"},
            {w.okButton(), "BitBtn1"},
            {w.cancelButton(), "BitBtn2"},
            {w.storage(), "FormStorage1"},
        });
    }

    void documentSelectorControls()
    {
        DocumentSelector w;
        QCOMPARE(w.objectName(), QStringLiteral("DocSel1"));
        compareNames({{w.documentList(), "ListBox1"}, {w.storage(), "FormStorage1"}});
        w.setDocuments({QStringLiteral("a.txt"), QStringLiteral("b.txt")}, 1);
        QCOMPARE(w.documentList()->currentItem()->text(), QStringLiteral("b.txt"));
    }

    void configurationDialogKeepsTheDirectoryInItsHiddenLabel()
    {
        ConfigurationDialog w;
        QCOMPARE(w.objectName(), QStringLiteral("Config1"));
        w.setProgramDirectory(QStringLiteral("/opt/quillet/"));
        const auto* label = w.findChild<QLabel*>(QStringLiteral("DirectoryListBox1"));
        QVERIFY(label);
        QVERIFY(label->isHidden());
        QCOMPARE(label->text(), QStringLiteral("/opt/quillet/"));
        QCOMPARE(w.programDirectory(), QStringLiteral("/opt/quillet/"));
    }
};

QTEST_MAIN(TestDesignedNames)
#include "tst_designednames.moc"
