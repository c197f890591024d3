// The options window: OK, Cancel and the filter buttons as the user presses them, what reaches the
// main window (a recording OptionsTarget) and its file dialogs, and the settings kept in the store.

#include "core/commanderror.h"
#include "core/prompts.h"
#include "settings/inisettingsstore.h"
#include "settings/programstore.h"
#include "settings/windowsettings.h"
#include "support/memorystore.h"
#include "support/scriptedprompts.h"
#include "windows/optionsdialog.h"

#include <QCheckBox>
#include <QFontInfo>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QScopeGuard>
#include <QSpinBox>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTextEdit>

namespace {

class RecordingTarget : public OptionsTarget
{
public:
    QStringList calls;
    FileDialogState open, saveAs, insert, saveSelection;

    void setStayOnTop(bool on) override { record("stayOnTop", on); }
    void setSettingsAutoSave(bool on) override { record("settingsAutoSave", on); }
    void setAutoSave(bool on) override { record("autoSave", on); }
    void setTrayIcon(bool on) override { record("trayIcon", on); }
    void setToolBarShown(bool on) override { record("toolBar", on); }
    void setShowFileNameInTitle(bool on) override { record("fileNameInTitle", on); }
    void setDropEnabled(bool on) override { record("drop", on); }
    void turnWordWrapOn() override { calls.append(QStringLiteral("wordWrapOn")); }
    OptionsDialogs fileDialogs() override { return {&open, &saveAs, &insert, &saveSelection}; }
    void setEditorFont(const QFont& font) override { calls.append(QStringLiteral("font ") + font.family()); }
    void setPageColour(qint32 stored) override { calls.append(QStringLiteral("page %1").arg(stored)); }
    void setTextColour(qint32 stored) override { calls.append(QStringLiteral("text %1").arg(stored)); }

private:
    void record(const char* what, bool on)
    {
        calls.append(QString::fromUtf8(what) + (on ? QStringLiteral(" on") : QStringLiteral(" off")));
    }
};

const QString BuiltInFilter =
    QStringLiteral("Text Files|*.txt|Quillet Files|*.qlt|HTML Files|*.htm;*.html|Configuration Files|*.ini;*.cfg|"
                   "Batch Files|*.bat|Logged Files|*.log|Report Files|*.rpt|E-Mail Files|*.eml|Assembly Files|*.asm|"
                   "C++ Source Files|*.cpp;*.h;*.mak;*.c|Delphi Source Files |*.pas;*.dpr|Information Files|*.inf|"
                   "All Files|*.*");

QStringList itemsOf(const QListWidget* list)
{
    QStringList items;
    for (int i = 0; i < list->count(); ++i)
        items.append(list->item(i)->text());
    return items;
}

QString applyError(OptionsDialog& window, FileDialogState& d)
{
    try {
        window.applyFilters(d, d, d, d);
    } catch (const CommandError& e) {
        return e.message();
    }
    return QStringLiteral("no error");
}

} // namespace

class TestOptionsDialog : public QObject
{
    Q_OBJECT

private:
    ScriptedPrompts m_prompts;
    std::unique_ptr<OptionsDialog> m_window;
    RecordingTarget m_target;

    OptionsDialog& window() { return *m_window; }

    void selectFilter(int row) { window().filterList()->setCurrentRow(row); }

private slots:
    void init()
    {
        Prompts::install(&m_prompts);
        m_prompts = ScriptedPrompts();
        m_target = RecordingTarget();
        m_window = std::make_unique<OptionsDialog>();
        m_window->setTarget(&m_target);
    }

    void cleanup()
    {
        m_window.reset();
        Prompts::install(nullptr);
    }

    void builtInControls()
    {
        OptionsDialog& w = window();
        QCOMPARE(w.pages()->count(), 4);
        QCOMPARE(w.pages()->tabText(2), QStringLiteral("&3. File Filters"));
        QCOMPARE(w.findChild<QCheckBox*>(QStringLiteral("SaveOp1"))->text(),
                 QStringLiteral("Auto Save Quil&let's Settings"));
        QVERIFY(w.makeBackups());
        QVERIFY(w.animate());
        QCOMPARE(w.tabWidth(), 0);
        QVERIFY(w.dateTimeFilter().isEmpty());
        QVERIFY(w.browser().isEmpty());
        QVERIFY(!w.autoSaveBox()->isChecked());
        QVERIFY(!w.stayOnTopBox()->isChecked());
        QVERIFY(w.fileNameInTitleBox()->isChecked() && w.trayIconBox()->isChecked() && w.toolBarBox()->isChecked());
        QVERIFY(w.wordWrapBox()->isChecked() && w.acceptDropsBox()->isChecked());
        QCOMPARE(w.filterList()->count(), 13);
        QCOMPARE(w.filterList()->item(10)->text(), QStringLiteral("Delphi Source Files (*.pas;*.dpr)"));
        QVERIFY(w.filterNameList()->isHidden() && w.filterPatternList()->isHidden() && w.scratchEdit()->isHidden());

        FileDialogState d;
        d.fileName = QStringLiteral("last.txt");
        w.applyFilters(d, d, d, d);
        QCOMPARE(d.filter, BuiltInFilter);
        QVERIFY(d.fileName.isEmpty());
        // The hidden lists end on their last entry.
        QCOMPARE(w.filterNameList()->currentRow(), 12);
        QCOMPARE(w.filterPatternList()->currentRow(), 12);
    }

    void okOnEveryPageHasTheSameEffect_data()
    {
        QTest::addColumn<int>("page");
        for (int page = 1; page <= 4; ++page)
            QTest::addRow("page %d", page) << page;
    }

    void okOnEveryPageHasTheSameEffect()
    {
        QFETCH(int, page);
        OptionsDialog& w = window();
        w.stayOnTopBox()->setChecked(true);
        w.saveSettingsBox()->setChecked(false);
        w.autoSaveBox()->setChecked(true);
        w.trayIconBox()->setChecked(false);
        w.fileNameInTitleBox()->setChecked(false);
        w.workingDirEdit()->setText(QStringLiteral("/home/me/texts"));
        w.defaultExtEdit()->setText(QStringLiteral("*.txt"));
        w.show();
        w.showPage(page);
        QTest::mouseClick(w.okButton(page), Qt::LeftButton);

        QCOMPARE(m_target.calls, (QStringList{"stayOnTop on", "settingsAutoSave off", "autoSave on", "trayIcon off",
                                              "toolBar on", "fileNameInTitle off", "drop on", "wordWrapOn"}));
        for (const FileDialogState* d : {&m_target.open, &m_target.saveAs, &m_target.insert, &m_target.saveSelection}) {
            QCOMPARE(d->initialDir, QStringLiteral("/home/me/texts"));
            QCOMPARE(d->filter, BuiltInFilter);
            QCOMPARE(d->defaultExt, QStringLiteral("txt"));
        }
        QVERIFY(!w.isVisible());
        QVERIFY(m_prompts.errors.isEmpty());
    }

    void okWithWordWrapUncheckedLeavesWrappingAlone()
    {
        window().wordWrapBox()->setChecked(false);
        window().accept();
        QVERIFY(!m_target.calls.contains(QStringLiteral("wordWrapOn")));
        QVERIFY(m_target.calls.contains(QStringLiteral("drop on")));
    }

    void addedFilterIsInTheNextDialog()
    {
        OptionsDialog& w = window();
        w.filterNameEdit()->setText(QStringLiteral("Rich Text"));
        w.filterPatternEdit()->setText(QStringLiteral("*.rtf"));
        QTest::mouseClick(w.newFilterButton(), Qt::LeftButton);
        QCOMPARE(w.filterList()->count(), 14);
        QCOMPARE(w.filterList()->item(13)->text(), QStringLiteral("Rich Text (*.rtf)"));
        QCOMPARE(w.defaultExtEdit()->text(), QStringLiteral("*.txt"));
        QVERIFY(w.filterNameEdit()->text().isEmpty() && w.filterPatternEdit()->text().isEmpty());

        FileDialogState open;
        w.applyFilters(open, open, open, open);
        QCOMPARE(open.filter, BuiltInFilter + QStringLiteral("|Rich Text|*.rtf"));
    }

    void selectingAFilterFillsTheFields()
    {
        OptionsDialog& w = window();
        selectFilter(2);
        QCOMPARE(w.filterNameEdit()->text(), QStringLiteral("HTML Files"));
        QCOMPARE(w.filterPatternEdit()->text(), QStringLiteral("*.htm;*.html"));
        QCOMPARE(w.filterNameList()->currentRow(), 2);
        QCOMPARE(w.filterPatternList()->currentRow(), 2);

        w.filterNameEdit()->setText(QStringLiteral("Web Pages"));
        QTest::mouseClick(w.replaceFilterButton(), Qt::LeftButton);
        QCOMPARE(w.filterList()->item(2)->text(), QStringLiteral("Web Pages (*.htm;*.html)"));
        QCOMPARE(w.filterNameList()->item(2)->text(), QStringLiteral("Web Pages"));
        QCOMPARE(w.defaultExtEdit()->text(), QStringLiteral("*.txt"));
        QVERIFY(w.filterNameEdit()->text().isEmpty() && w.filterPatternEdit()->text().isEmpty());
        QVERIFY(m_prompts.errors.isEmpty());
    }

    void cancelAfterDeletingStillChangesTheNextDialog()
    {
        OptionsDialog& w = window();
        w.show();
        selectFilter(0);
        QTest::mouseClick(w.deleteFilterButton(), Qt::LeftButton);
        QCOMPARE(w.filterList()->count(), 12);
        QCOMPARE(w.filterNameList()->item(0)->text(), QStringLiteral("Quillet Files"));
        QCOMPARE(w.filterPatternList()->item(0)->text(), QStringLiteral("*.qlt"));
        QVERIFY(w.filterNameEdit()->text().isEmpty());
        QTest::mouseClick(w.cancelButton(3), Qt::LeftButton);
        QVERIFY(!w.isVisible());
        QVERIFY(m_target.calls.isEmpty());

        FileDialogState open;
        w.applyFilters(open, open, open, open);
        QVERIFY(open.filter.startsWith(QStringLiteral("Quillet Files|*.qlt|")));
    }

    void deleteWithNothingSelectedOnlyTells()
    {
        OptionsDialog& w = window();
        QTest::mouseClick(w.deleteFilterButton(), Qt::LeftButton);
        QCOMPARE(
            m_prompts.informations,
            QStringList{QStringLiteral("Nothing to Delete!: You must have an item selected in order to delete it.")});
        QCOMPARE(w.filterList()->count(), 13);
        // A delete leaves nothing selected, so a second one tells again.
        selectFilter(5);
        QTest::mouseClick(w.deleteFilterButton(), Qt::LeftButton);
        QCOMPARE(w.filterList()->count(), 12);
        QTest::mouseClick(w.deleteFilterButton(), Qt::LeftButton);
        QCOMPARE(w.filterList()->count(), 12);
        QCOMPARE(m_prompts.informations.size(), 2);
    }

    void replaceWithNothingSelectedIsAnError()
    {
        OptionsDialog& w = window();
        w.filterNameEdit()->setText(QStringLiteral("Rich Text"));
        w.filterPatternEdit()->setText(QStringLiteral("*.rtf"));
        w.defaultExtEdit()->setText(QStringLiteral("*.log"));
        QTest::mouseClick(w.replaceFilterButton(), Qt::LeftButton);
        QCOMPARE(m_prompts.errors, QStringList{QStringLiteral("List index out of bounds")});
        QCOMPARE(itemsOf(w.filterList()), filters::builtInDisplay());
        QCOMPARE(itemsOf(w.filterNameList()), filters::builtInNames());
        QCOMPARE(itemsOf(w.filterPatternList()), filters::builtInPatterns());
        QCOMPARE(w.filterNameEdit()->text(), QStringLiteral("Rich Text"));
        QCOMPARE(w.defaultExtEdit()->text(), QStringLiteral("*.log"));
    }

    void emptiedListsStopTheFileCommand()
    {
        OptionsDialog& w = window();
        while (w.filterList()->count() > 0) {
            selectFilter(0);
            w.deleteFilter();
        }
        FileDialogState open;
        open.filter = QStringLiteral("Old|*.old");
        QCOMPARE(applyError(w, open), QStringLiteral("List index out of bounds"));
        QCOMPARE(open.filter, QStringLiteral("Old|*.old"));

        // OK shows the same error once, after the other steps, and still closes.
        w.show();
        w.accept();
        QCOMPARE(m_prompts.errors, QStringList{QStringLiteral("List index out of bounds")});
        QVERIFY(m_target.calls.contains(QStringLiteral("wordWrapOn")));
        QVERIFY(!w.isVisible());
    }

    void pages()
    {
        OptionsDialog& w = window();
        QCOMPARE(w.currentPage(), 1);
        w.showPage(4);
        QCOMPARE(w.pages()->currentWidget()->objectName(), QStringLiteral("TabSheet4"));
        w.showPage(2);
        QCOMPARE(w.currentPage(), 2);
        QCOMPARE(w.pages()->currentWidget()->objectName(), QStringLiteral("TabSheet2"));
        QCOMPARE(w.pages()->tabText(1), QStringLiteral("&2. Document Options"));
    }

    void opensWithTheFocusOnItsPage()
    {
        OptionsDialog& w = window();
        w.showPage(2);
        QWidget* focused = nullptr;
        QMetaObject::invokeMethod(
            &w,
            [&] {
                focused = w.focusWidget();
                w.reject();
            },
            Qt::QueuedConnection);
        w.execute();
        QVERIFY(focused);
        QCOMPARE(focused->objectName(), QStringLiteral("WordWrap1"));
    }

    void executeReportsTheClosingButton()
    {
        OptionsDialog& w = window();
        w.showPage(3);
        QMetaObject::invokeMethod(
            &w, [&w] { QTest::mouseClick(w.okButton(3), Qt::LeftButton); }, Qt::QueuedConnection);
        QVERIFY(w.execute());
        QVERIFY(!m_target.calls.isEmpty());
        QMetaObject::invokeMethod(
            &w, [&w] { QTest::mouseClick(w.cancelButton(1), Qt::LeftButton); }, Qt::QueuedConnection);
        QVERIFY(!w.execute());
        // Reopened on the page last shown.
        QCOMPARE(w.currentPage(), 3);
    }

    void enterPressesTheFocusedButton()
    {
        OptionsDialog& w = window();
        w.showPage(3);
        bool stillOpen = false;
        int filters = 0;
        QMetaObject::invokeMethod(
            &w,
            [&] {
                w.filterNameEdit()->setText(QStringLiteral("Rich Text"));
                w.filterPatternEdit()->setText(QStringLiteral("*.rtf"));
                w.newFilterButton()->setFocus();
                QTest::keyClick(w.newFilterButton(), Qt::Key_Return);
                stillOpen = w.isVisible();
                filters = w.filterList()->count();
                // With a line edit focused, Enter is OK.
                w.filterNameEdit()->setFocus();
                QTest::keyClick(w.filterNameEdit(), Qt::Key_Return);
            },
            Qt::QueuedConnection);
        QVERIFY(w.execute());
        QVERIFY(stillOpen);
        QCOMPARE(filters, 14);

        // Enter on a focused Cancel button cancels.
        QMetaObject::invokeMethod(
            &w,
            [&] {
                w.cancelButton(3)->setFocus();
                QTest::keyClick(w.cancelButton(3), Qt::Key_Enter, Qt::KeypadModifier);
            },
            Qt::QueuedConnection);
        QVERIFY(!w.execute());
    }

    void fontAndColourActAtOnce()
    {
        OptionsDialog& w = window();
        // Cancelled dialogs change nothing.
        w.chooseFont();
        // The dialog opens on the family drawn for the designed "MS Sans Serif".
        QCOMPARE(m_prompts.fontAsked.family(), QFontInfo(QFont(QStringLiteral("MS Sans Serif"))).family());
        m_prompts.colourAnswer = std::nullopt;
        w.choosePageColour();
        QVERIFY(m_target.calls.isEmpty());

        QFont chosen(QStringLiteral("DejaVu Sans Mono"));
        chosen.setPixelSize(20);
        m_prompts.fontAnswer = chosen;
        w.chooseFont();
        QCOMPARE(m_target.calls, QStringList{QStringLiteral("font DejaVu Sans Mono")});
        QCOMPARE(w.fontSampleEdit()->font().pixelSize(), 20);
        QCOMPARE(w.pagePreviewEdit()->font().family(), QStringLiteral("DejaVu Sans Mono"));
        // The dialog starts from its last font next time.
        w.chooseFont();
        QCOMPARE(m_prompts.fontAsked.family(), QStringLiteral("DejaVu Sans Mono"));

        m_target.calls.clear();
        m_prompts.colourAnswer = QColor(0x11, 0x22, 0x33);
        w.choosePageColour();
        QCOMPARE(m_target.calls, QStringList{QStringLiteral("page %1").arg(0x332211)});
        QCOMPARE(w.pagePreviewEdit()->palette().color(QPalette::Base), QColor(0x11, 0x22, 0x33));

        m_target.calls.clear();
        w.loadDefaultColours();
        QCOMPARE(m_target.calls, (QStringList{QStringLiteral("page %1").arg(PropertyCodec::SysColorBtnFace),
                                              QStringLiteral("text 0")}));
        QCOMPARE(w.fontSampleEdit()->palette().color(QPalette::Base), w.palette().color(QPalette::Button));
        QCOMPARE(w.fontSampleEdit()->palette().color(QPalette::Text), QColor(Qt::black));
    }

    void locateWebBrowser()
    {
        OptionsDialog& w = window();
        w.locateBrowser();
        QCOMPARE(m_prompts.openDialogs.value(0).title, QStringLiteral("Locate Web Browser"));
        QCOMPARE(m_prompts.openDialogs.value(0).filter, QStringLiteral("Web Browser|*.exe"));
        QVERIFY(w.browser().isEmpty());
        m_prompts.openPaths = {QStringLiteral("/usr/bin/firefox")};
        w.locateBrowser();
        QCOMPARE(w.browser(), QStringLiteral("/usr/bin/firefox"));
    }

    // Before the window exists the program reads its options from the store; they must be what
    // the window restores from the same store, odd values included.
    void theStoredValuesAreTheWindowsBeforeItExists_data()
    {
        QTest::addColumn<QStringList>("stored"); // name=value pairs
        QTest::newRow("built in") << QStringList();
        QTest::newRow("chosen") << QStringList{"BackUp1_Checked=False",
                                               "An1_Checked=False",
                                               "SpinEdit1_Value=4",
                                               "SpinEdit2_Value=0",
                                               "LegacyEncodingCombo_Text=OEM (IBM437)",
                                               "Edit5_Text= dd/mm/yyyy ",
                                               "Edit6_Text=/usr/bin/firefox"};
        QTest::newRow("odd") << QStringList{"BackUp1_Checked=maybe", "SpinEdit1_Value=-3", "SpinEdit2_Value=99999",
                                            "LegacyEncodingCombo_Text=windows-1251", "An1_Checked=True"};
    }
    void theStoredValuesAreTheWindowsBeforeItExists()
    {
        QFETCH(QStringList, stored);
        MemoryStore store;
        for (const QString& pair : stored)
            store.writeString(QStringLiteral("Quillet Options"), pair.section(QLatin1Char('='), 0, 0),
                              pair.section(QLatin1Char('='), 1));
        setProgramStore(&store);
        const auto noStore = qScopeGuard([] { setProgramStore(nullptr); });
        const OptionsDialog::Values before = OptionsDialog::valuesOf(nullptr);
        OptionsDialog& w = window();
        w.storage()->restore(store);
        const OptionsDialog::Values after = OptionsDialog::valuesOf(&w);
        QCOMPARE(before.makeBackups, after.makeBackups);
        QCOMPARE(before.animate, after.animate);
        QCOMPARE(before.tabWidth, after.tabWidth);
        QCOMPARE(before.largeDocumentBytes, after.largeDocumentBytes);
        QCOMPARE(before.legacyEncoding, after.legacyEncoding);
        QCOMPARE(before.dateTimeFilter, after.dateTimeFilter);
        QCOMPARE(before.browser, after.browser);
        if (!stored.isEmpty() && stored.first().startsWith(QLatin1String("BackUp1_Checked=False")))
            QCOMPARE(after.legacyEncoding, platform::TextEncoding::Oem437);
    }

    void settingsSurviveARestart()
    {
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        const QString path = dir.filePath(QStringLiteral("Quillet.ini"));
        {
            IniSettingsStore store(path);
            OptionsDialog& w = window();
            w.storage()->restore(store);
            w.makeBackupsBox()->setChecked(false);
            w.animateBox()->setChecked(false);
            w.tabWidthSpin()->setValue(4);
            QCOMPARE(w.largeDocumentBytes(), qint64(OptionsDialog::BuiltInLargeDocumentMB) << 20);
            w.largeDocumentSpin()->setValue(20);
            w.dateTimeFilterEdit()->setText(QStringLiteral(" dd/mm/yyyy"));
            w.browserEdit()->setText(QStringLiteral("/usr/bin/firefox"));
            w.helpAction()->setChecked(true);
            w.showPage(3);
            w.filterNameEdit()->setText(QStringLiteral("Rich Text"));
            w.filterPatternEdit()->setText(QStringLiteral("*.rtf"));
            w.addFilter();
            m_prompts.colourAnswer = QColor(0, 0, 255);
            w.choosePageColour();
            w.storage()->save(store);
            QVERIFY(store.flush());
        }
        IniSettingsStore store(path);
        QCOMPARE(store.readString(QStringLiteral("Quillet Options"), QStringLiteral("BackUp1_Checked")),
                 QStringLiteral("False"));
        QCOMPARE(store.readString(QStringLiteral("Quillet Options"), QStringLiteral("PageControl1_ActivePage")),
                 QStringLiteral("TabSheet3"));
        QCOMPARE(store.readString(QStringLiteral("Quillet Options.Filter1_Items"), QStringLiteral("Count")),
                 QStringLiteral("14"));

        OptionsDialog restarted;
        restarted.storage()->restore(store);
        QVERIFY(!restarted.makeBackups());
        QVERIFY(!restarted.animate());
        QCOMPARE(restarted.tabWidth(), 4);
        QCOMPARE(restarted.largeDocumentBytes(), qint64(20) << 20);
        QCOMPARE(restarted.dateTimeFilter(), QStringLiteral("dd/mm/yyyy")); // stored strings are trimmed
        QCOMPARE(restarted.browser(), QStringLiteral("/usr/bin/firefox"));
        QVERIFY(restarted.helpAction()->isChecked());
        QCOMPARE(restarted.currentPage(), 3);
        QCOMPARE(restarted.defaultExtEdit()->text(), QStringLiteral("*.txt"));
        QCOMPARE(restarted.fontSampleEdit()->palette().color(QPalette::Base), QColor(0, 0, 255));
        FileDialogState open;
        restarted.applyFilters(open, open, open, open);
        QCOMPARE(open.filter, BuiltInFilter + QStringLiteral("|Rich Text|*.rtf"));
    }

    void emptiedFilterListsComeBackBuiltIn()
    {
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        IniSettingsStore store(dir.filePath(QStringLiteral("Quillet.ini")));
        OptionsDialog& w = window();
        w.storage()->restore(store);
        while (w.filterList()->count() > 0) {
            selectFilter(0);
            w.deleteFilter();
        }
        w.storage()->save(store);
        QVERIFY(!store.valueExists(QStringLiteral("Quillet Options.Filter1_Items"), QStringLiteral("Count")));

        OptionsDialog restarted;
        restarted.storage()->restore(store);
        QCOMPARE(itemsOf(restarted.filterList()), filters::builtInDisplay());
        QCOMPARE(itemsOf(restarted.filterNameList()), filters::builtInNames());
        QCOMPARE(itemsOf(restarted.filterPatternList()), filters::builtInPatterns());
    }
};

QTEST_MAIN(TestOptionsDialog)
#include "tst_optionsdialog.moc"
