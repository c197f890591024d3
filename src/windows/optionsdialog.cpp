#include "windows/optionsdialog.h"

#include "core/commandguard.h"
#include "core/prompts.h"
#include "editor/designedfonts.h"
#include "settings/programstore.h"
#include "settings/settingsstore.h"
#include "settings/storedprops.h"
#include "settings/windowsettings.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>
#include <QSpinBox>
#include <QTabWidget>
#include <QTextEdit>
#include <QToolButton>
#include <QVBoxLayout>

#include <algorithm>
#include <climits>

using namespace PropertyCodec;

namespace {

constexpr int AlignCenter = 2;

StoredFont sampleFontBase()
{
    StoredFont font;
    font.charset = 0;
    font.color = 0;
    font.height = -13;
    font.name = QStringLiteral("Courier New");
    font.size = 10;
    return font;
}

QCheckBox* checkBox(QWidget* parent, QLayout* layout, const char* name, const char* caption, bool checked)
{
    auto* box = new QCheckBox(QString::fromUtf8(caption), parent);
    box->setObjectName(QString::fromUtf8(name));
    box->setChecked(checked);
    layout->addWidget(box);
    return box;
}

QLineEdit* labelledEdit(QWidget* parent, QLayout* layout, const char* name, const char* label)
{
    auto* caption = new QLabel(QString::fromUtf8(label), parent);
    auto* edit = new QLineEdit(parent);
    edit->setObjectName(QString::fromUtf8(name));
    caption->setBuddy(edit);
    layout->addWidget(caption);
    layout->addWidget(edit);
    return edit;
}

QPushButton* button(QWidget* parent, const char* name, const QString& caption, const QString& hint = {})
{
    auto* b = new QPushButton(caption, parent);
    b->setObjectName(QString::fromUtf8(name));
    if (!hint.isEmpty()) {
        // "short|long": tooltip and status tip, as the menu items show hints.
        b->setToolTip(hint.section(QLatin1Char('|'), 0, 0));
        b->setStatusTip(hint.section(QLatin1Char('|'), 1));
    }
    b->setAutoDefault(false);
    return b;
}

QStringList itemsOf(const QListWidget* list)
{
    QStringList items;
    for (int i = 0; i < list->count(); ++i)
        items.append(list->item(i)->text());
    return items;
}

void setItems(QListWidget* list, const QStringList& items)
{
    const int row = list->currentRow();
    list->clear();
    list->addItems(items);
    list->setCurrentRow(row < list->count() ? row : -1);
}

constexpr int LargeDocumentMBLimit = 4096;
const QString StorageSection = QStringLiteral("Quillet Options");

} // namespace

OptionsDialog::OptionsDialog(QWidget* parent)
    : WindowBase(
          QStringLiteral("QuilletOp"), QStringLiteral("Quillet Options"), QSize(433, 252), true, parent,
          {StorageSection, WindowSettings::ShowState | WindowSettings::Position | WindowSettings::FocusedControl})
{
    captionBar()->setPartCaption(CaptionBar::Part::AppNameText, QStringLiteral("Program -"));
    // The window's controls were laid out for an 11-pixel dialog font; a desktop's larger default
    // would not fit its fixed size.
    QFont dialogFont(QStringLiteral("MS Sans Serif"));
    dialogFont.setStyleHint(QFont::SansSerif);
    dialogFont.setPixelSize(11);
    setFont(dialogFont);
    m_fontSample.font = sampleFontBase();
    m_pagePreview.font = sampleFontBase();
    m_pagePreview.alignment = AlignCenter;

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 4);
    m_pages = new QTabWidget(this);
    m_pages->setObjectName(QStringLiteral("PageControl1"));
    layout->addWidget(m_pages);
    const char* const titles[] = {"&1.Quillet Options", "&2. Document Options", "&3. File Filters",
                                  "&4. Miscellaneous"};
    for (int i = 0; i < 4; ++i) {
        auto* page = new QWidget(m_pages);
        page->setObjectName(QStringLiteral("TabSheet%1").arg(i + 1));
        m_pages->addTab(page, QString::fromUtf8(titles[i]));
    }
    buildGeneralPage(m_pages->widget(0));
    buildDocumentPage(m_pages->widget(1));
    buildFiltersPage(m_pages->widget(2));
    buildMiscellaneousPage(m_pages->widget(3));
    for (int i = 0; i < 4; ++i)
        addPageButtons(m_pages->widget(i), i);

    m_contextMenu = new QMenu(this);
    m_contextMenu->setObjectName(QStringLiteral("PopupMenu1"));
    m_helpAction = m_contextMenu->addAction(QStringLiteral("&Help"));
    m_helpAction->setObjectName(QStringLiteral("Help1"));
    m_helpAction->setCheckable(true);
    setContextMenuPolicy(Qt::CustomContextMenu);
    connect(this, &QWidget::customContextMenuRequested, this,
            [this](const QPoint& at) { m_contextMenu->popup(mapToGlobal(at)); });

    m_browserDialog.title = QStringLiteral("Locate Web Browser");
    m_browserDialog.filter = QStringLiteral("Web Browser|*.exe");
    m_browserDialog.defaultExt = QStringLiteral("exe");
    m_browserDialog.fileName = QStringLiteral("Web Browser");

    applySample(m_fontSample);
    applySample(m_pagePreview);
    registerStoredProperties();
}

void OptionsDialog::buildGeneralPage(QWidget* page)
{
    auto* group = new QGroupBox(QStringLiteral("Preferences"), page);
    auto* l = new QVBoxLayout(group);
    // Two columns of check boxes, so the page fits the window's fixed size.
    auto* columns = new QHBoxLayout;
    auto* left = new QVBoxLayout;
    auto* right = new QVBoxLayout;
    columns->addLayout(left);
    columns->addLayout(right);
    l->addLayout(columns);
    const Values builtIn;
    m_makeBackupsBox = checkBox(group, left, "BackUp1", "&Make Backups", builtIn.makeBackups);
    m_autoSaveBox = checkBox(group, left, "AutoSave1", "Auto &Save Files", false);
    m_fileNameInTitleBox = checkBox(group, left, "FilenameOp1", "Show &FileName in TitleBar", true);
    m_saveSettingsBox = checkBox(group, left, "SaveOp1", "Auto Save Quil&let's Settings", true);
    m_stayOnTopBox = checkBox(group, right, "StayOnTop1", "Stay On &Top", false);
    m_trayIconBox = checkBox(group, right, "System1", "Use System T&ray", true);
    m_toolBarBox = checkBox(group, right, "ToolBar1", "Show Tool&Bar", true);
    m_animateBox = checkBox(group, right, "An1", "&Animate ToolBars", builtIn.animate);
    m_workingDirEdit = labelledEdit(group, l, "WorkingDir1", "&Quillet's Working Directory:");
    auto* pageLayout = new QVBoxLayout(page);
    pageLayout->addWidget(group);
}

void OptionsDialog::buildDocumentPage(QWidget* page)
{
    auto* group = new QGroupBox(QStringLiteral("Preferences"), page);
    auto* l = new QVBoxLayout(group);
    m_wordWrapBox = checkBox(group, l, "WordWrap1", "&Word Wrap", true);
    m_acceptDropsBox = checkBox(group, l, "Dropped1", "&Accept Dropped Files", true);
    auto* tabLabel = new QLabel(QStringLiteral("&Tab Width:"), group);
    m_tabWidthSpin = new QSpinBox(group);
    m_tabWidthSpin->setObjectName(QStringLiteral("SpinEdit1"));
    // No limits, so any stored value comes back as it was.
    m_tabWidthSpin->setRange(INT_MIN, INT_MAX);
    const Values builtIn;
    m_tabWidthSpin->setValue(builtIn.tabWidth);
    tabLabel->setBuddy(m_tabWidthSpin);
    l->addWidget(tabLabel);
    l->addWidget(m_tabWidthSpin);
    auto* largeLabel = new QLabel(QStringLiteral("&Open Unwrapped Above (MB):"), group);
    m_largeDocumentSpin = new QSpinBox(group);
    m_largeDocumentSpin->setObjectName(QStringLiteral("SpinEdit2"));
    m_largeDocumentSpin->setRange(0, LargeDocumentMBLimit);
    m_largeDocumentSpin->setValue(int(builtIn.largeDocumentBytes >> 20));
    m_largeDocumentSpin->setToolTip(
        QStringLiteral("Documents larger than this open without Word-Wrap; Ctrl+W wraps them (0: never)"));
    largeLabel->setBuddy(m_largeDocumentSpin);
    l->addWidget(largeLabel);
    l->addWidget(m_largeDocumentSpin);
    auto* legacyLabel = new QLabel(QStringLiteral("&Legacy Code Page:"), group);
    m_legacyEncodingCombo = new QComboBox(group);
    m_legacyEncodingCombo->setObjectName(QStringLiteral("LegacyEncodingCombo"));
    for (const platform::TextEncoding encoding : platform::legacyEncodings())
        m_legacyEncodingCombo->addItem(platform::encodingName(encoding), static_cast<int>(encoding));
    m_legacyEncodingCombo->setCurrentIndex(m_legacyEncodingCombo->findData(static_cast<int>(builtIn.legacyEncoding)));
    m_legacyEncodingCombo->setToolTip(QStringLiteral("Files that are not UTF-8 or UTF-16 are read in this code page"));
    legacyLabel->setBuddy(m_legacyEncodingCombo);
    l->addWidget(legacyLabel);
    l->addWidget(m_legacyEncodingCombo);
    auto* sampleLabel = new QLabel(QStringLiteral("&Sample Font:"), group);
    auto* sample = new QTextEdit(group);
    sample->setObjectName(QStringLiteral("RichEdit1"));
    sample->setAcceptRichText(false);
    sample->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    // Tab goes on to the next control, as in any dialog: a tab character says nothing of a font.
    sample->setTabChangesFocus(true);
    sample->setPlainText(QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZ    \n1234567890\nTo test the current font, "
                                        "Please \ntype text here:"));
    sampleLabel->setBuddy(sample);
    m_fontSample.edit = sample;
    l->addWidget(sampleLabel);
    l->addWidget(sample);
    m_changeFontButton = button(group, "BitBtn5", QStringLiteral("Change Default Font"));
    connect(m_changeFontButton, &QPushButton::clicked, this, [this] { runCommand([this] { chooseFont(); }); });
    l->addWidget(m_changeFontButton);
    auto* pageLayout = new QVBoxLayout(page);
    pageLayout->addWidget(group);
}

void OptionsDialog::buildFiltersPage(QWidget* page)
{
    auto* group = new QGroupBox(QStringLiteral("Preferences"), page);
    // The list beside its fields, so both fit the window's fixed size.
    auto* columns = new QHBoxLayout(group);
    auto* listColumn = new QVBoxLayout;
    auto* l = new QVBoxLayout;
    l->setSpacing(1);
    columns->addLayout(listColumn, 1);
    columns->addLayout(l, 1);
    auto* filtersLabel = new QLabel(QStringLiteral("&Filters:"), group);
    m_filterList = new QListWidget(group);
    m_filterList->setObjectName(QStringLiteral("Filter1"));
    filtersLabel->setBuddy(m_filterList);
    // A list takes no name from its label for screen readers.
    m_filterList->setAccessibleName(QStringLiteral("Filters"));
    listColumn->addWidget(filtersLabel);
    listColumn->addWidget(m_filterList);
    m_filterNameList = new QListWidget(group);
    m_filterNameList->setObjectName(QStringLiteral("FilterName1"));
    m_filterNameList->hide();
    m_filterPatternList = new QListWidget(group);
    m_filterPatternList->setObjectName(QStringLiteral("ExtBox3"));
    m_filterPatternList->hide();
    const filters::FilterLists builtIn = filters::FilterLists::builtIn();
    m_filterList->addItems(builtIn.display);
    m_filterNameList->addItems(builtIn.names);
    m_filterPatternList->addItems(builtIn.patterns);
    connect(m_filterList, &QListWidget::currentRowChanged, this, [this](int row) {
        if (row >= 0)
            filterSelected(row);
    });

    m_filterNameEdit = labelledEdit(group, l, "Edit2", "&Description:");
    m_filterPatternEdit = labelledEdit(group, l, "Edit3", "&Extension:");
    m_defaultExtEdit = labelledEdit(group, l, "Edit4", "De&fault Extension:");
    m_scratchEdit = new QLineEdit(group);
    m_scratchEdit->setObjectName(QStringLiteral("Edit7"));
    m_scratchEdit->hide();

    auto* buttons = new QHBoxLayout;
    m_newFilterButton = button(group, "BitBtn12", QStringLiteral("New"), QStringLiteral("New|Add a New Filter"));
    m_deleteFilterButton =
        button(group, "BitBtn13", QStringLiteral("Delete"), QStringLiteral("Delete|Delete Slected Filter"));
    m_replaceFilterButton = button(group, "BitBtn14", QStringLiteral("Replace"),
                                   QStringLiteral("Replace|Replace Selected Item with new Filter"));
    connect(m_newFilterButton, &QPushButton::clicked, this, [this] { runCommand([this] { addFilter(); }); });
    connect(m_deleteFilterButton, &QPushButton::clicked, this, [this] { runCommand([this] { deleteFilter(); }); });
    connect(m_replaceFilterButton, &QPushButton::clicked, this, [this] { runCommand([this] { replaceFilter(); }); });
    buttons->addWidget(m_newFilterButton);
    buttons->addWidget(m_deleteFilterButton);
    buttons->addWidget(m_replaceFilterButton);
    l->addStretch(1);
    listColumn->addLayout(buttons);
    auto* pageLayout = new QVBoxLayout(page);
    pageLayout->addWidget(group);
}

void OptionsDialog::buildMiscellaneousPage(QWidget* page)
{
    auto* group = new QGroupBox(QStringLiteral("Preferences"), page);
    auto* l = new QVBoxLayout(group);
    m_pageColourButton = button(group, "BitBtn10", QStringLiteral("&Page Colour"));
    connect(m_pageColourButton, &QPushButton::clicked, this, [this] { runCommand([this] { choosePageColour(); }); });
    l->addWidget(m_pageColourButton);
    auto* preview = new QTextEdit(group);
    preview->setObjectName(QStringLiteral("RichEdit2"));
    preview->setAcceptRichText(false);
    preview->setReadOnly(true);
    preview->setPlainText(QStringLiteral("\nPreview Page"));
    m_pagePreview.edit = preview;
    l->addWidget(preview);
    m_loadDefaultsButton = button(group, "BitBtn11", QStringLiteral("&Load Defaults"));
    connect(m_loadDefaultsButton, &QPushButton::clicked, this,
            [this] { runCommand([this] { loadDefaultColours(); }); });
    l->addWidget(m_loadDefaultsButton);
    m_dateTimeFilterEdit = labelledEdit(group, l, "Edit5", "&Date Time Filter:");
    m_browserEdit = labelledEdit(group, l, "Edit6", "&Web Browser:");
    m_locateBrowserButton =
        button(group, "SpeedButton1", QStringLiteral("..."), QStringLiteral("Locate your default browser"));
    connect(m_locateBrowserButton, &QPushButton::clicked, this, [this] { runCommand([this] { locateBrowser(); }); });
    l->addWidget(m_locateBrowserButton);
    auto* pageLayout = new QVBoxLayout(page);
    pageLayout->addWidget(group);
}

void OptionsDialog::addPageButtons(QWidget* page, int index)
{
    auto* row = new QHBoxLayout;
    row->addStretch();
    m_okButtons[index] =
        button(page, QStringLiteral("OKBtn%1").arg(index + 1).toUtf8().constData(), QStringLiteral("OK"));
    m_cancelButtons[index] =
        button(page, QStringLiteral("CancelBtn%1").arg(index + 1).toUtf8().constData(), QStringLiteral("Cancel"));
    m_okButtons[index]->setDefault(true);
    connect(m_okButtons[index], &QPushButton::clicked, this, &OptionsDialog::accept);
    connect(m_cancelButtons[index], &QPushButton::clicked, this, &OptionsDialog::reject);
    row->addWidget(m_okButtons[index]);
    row->addWidget(m_cancelButtons[index]);
    static_cast<QVBoxLayout*>(page->layout())->addLayout(row);
}

OptionsDialog::~OptionsDialog() = default;

void OptionsDialog::registerStoredProperties()
{
    using namespace storedprops;
    WindowSettings& s = *storage();
    auto checked = [&s](const char* item, QCheckBox* box) {
        addBool(
            s, QString::fromUtf8(item), [box] { return box->isChecked(); }, [box](bool v) { box->setChecked(v); });
    };
    auto text = [&s](const char* item, QLineEdit* edit) {
        addString(
            s, QString::fromUtf8(item), [edit] { return edit->text(); },
            [edit](const QString& v) { edit->setText(v); });
    };
    checked("BackUp1.Checked", m_makeBackupsBox);
    checked("AutoSave1.Checked", m_autoSaveBox);
    checked("SaveOp1.Checked", m_saveSettingsBox);
    checked("StayOnTop1.Checked", m_stayOnTopBox);
    checked("System1.Checked", m_trayIconBox);
    checked("ToolBar1.Checked", m_toolBarBox);
    checked("An1.Checked", m_animateBox);
    checked("FilenameOp1.Checked", m_fileNameInTitleBox);
    checked("WordWrap1.Checked", m_wordWrapBox);
    checked("Dropped1.Checked", m_acceptDropsBox);
    text("WorkingDir1.Text", m_workingDirEdit);
    addInteger(
        s, QStringLiteral("SpinEdit1.Value"), [this] { return qint32(m_tabWidthSpin->value()); },
        [this](qint32 v) { m_tabWidthSpin->setValue(v); });
    addInteger(
        s, QStringLiteral("SpinEdit2.Value"), [this] { return qint32(m_largeDocumentSpin->value()); },
        [this](qint32 v) { m_largeDocumentSpin->setValue(v); });
    // Stored by name; a name this program does not know leaves the built-in choice.
    addString(
        s, QStringLiteral("LegacyEncodingCombo.Text"), [this] { return m_legacyEncodingCombo->currentText(); },
        [this](const QString& v) {
            if (const int index = m_legacyEncodingCombo->findText(v); index >= 0)
                m_legacyEncodingCombo->setCurrentIndex(index);
        });
    text("Edit5.Text", m_dateTimeFilterEdit);
    text("Edit6.Text", m_browserEdit);
    text("Edit2.Text", m_filterNameEdit);
    text("Edit3.Text", m_filterPatternEdit);
    text("Edit4.Text", m_defaultExtEdit);
    text("Edit7.Text", m_scratchEdit);

    auto sample = [this](int n) -> SampleBox& { return n == 1 ? m_fontSample : m_pagePreview; };
    for (int n : {1, 2}) {
        SampleBox* box = &sample(n);
        addInteger(
            s, QStringLiteral("RichEdit%1.Color").arg(n), [box] { return box->color; },
            [this, box](qint32 v) {
                box->color = v;
                applySample(*box);
            });
    }
    for (int n : {1, 2}) {
        SampleBox* box = &sample(n);
        addFont(
            s, QStringLiteral("RichEdit%1.Font").arg(n), [box] { return box->font; },
            [this, box](const StoredFont& f) {
                box->font = f;
                applySample(*box);
            });
    }
    for (int n : {1, 2}) {
        SampleBox* box = &sample(n);
        addEnum(
            s, QStringLiteral("RichEdit%1.Align").arg(n), controlAligns(), [box] { return box->align; },
            [box](int v) { box->align = v; });
    }
    for (int n : {1, 2}) {
        SampleBox* box = &sample(n);
        addEnum(
            s, QStringLiteral("RichEdit%1.Alignment").arg(n), textAlignments(), [box] { return box->alignment; },
            [this, box](int v) {
                box->alignment = v;
                applySample(*box);
            });
    }
    for (int n : {1, 2}) {
        QTextEdit* edit = sample(n).edit;
        addBool(
            s, QStringLiteral("RichEdit%1.WordWrap").arg(n),
            [edit] { return edit->lineWrapMode() != QTextEdit::NoWrap; },
            [edit](bool v) { edit->setLineWrapMode(v ? QTextEdit::WidgetWidth : QTextEdit::NoWrap); });
    }
    addActivePage(s, QStringLiteral("PageControl1.ActivePage"), m_pages);
    addBool(
        s, QStringLiteral("Help1.Checked"), [this] { return m_helpAction->isChecked(); },
        [this](bool v) { m_helpAction->setChecked(v); });
    addFont(
        s, QStringLiteral("FontDialog1.Font"), [this] { return m_fontDialogFont; },
        [this](const StoredFont& f) { m_fontDialogFont = f; });
    addInteger(
        s, QStringLiteral("ColorDialog1.Color"), [this] { return m_colorDialogColor; },
        [this](qint32 v) { m_colorDialogColor = v; });
    for (QListWidget* list : {m_filterList, m_filterNameList, m_filterPatternList}) {
        addStringList(
            s, list->objectName() + QStringLiteral(".Items"), [list] { return itemsOf(list); },
            [list](const QStringList& items) { setItems(list, items); });
    }
}

void OptionsDialog::applySample(SampleBox& box)
{
    if (!box.edit)
        return;
    box.edit->setFont(fontFromStored(box.font));
    // From the window's palette, not the box's own: system colours follow a change of the desktop's.
    QPalette colours = palette();
    colours.setColor(QPalette::Base, colorFromStored(box.color, colours));
    colours.setColor(QPalette::Text, inkFromStored(box.font.color, box.color, colours));
    box.edit->setPalette(colours);
    static const Qt::Alignment qtAlignments[] = {Qt::AlignLeft, Qt::AlignRight, Qt::AlignHCenter};
    QTextOption option = box.edit->document()->defaultTextOption();
    option.setAlignment(qtAlignments[qBound(0, box.alignment, 2)]);
    box.edit->document()->setDefaultTextOption(option);
}

void OptionsDialog::changeEvent(QEvent* event)
{
    WindowBase::changeEvent(event);
    if (event->type() == QEvent::PaletteChange) {
        applySample(m_fontSample);
        applySample(m_pagePreview);
    }
}

bool OptionsDialog::execute()
{
    m_accepted = false;
    // Read only while the window still exists.
    return showModalUntilHidden() && m_accepted;
}

void OptionsDialog::showPage(int page)
{
    if (page >= 1 && page <= m_pages->count())
        m_pages->setCurrentIndex(page - 1);
}

int OptionsDialog::currentPage() const
{
    return m_pages->currentIndex() + 1;
}

bool OptionsDialog::makeBackups() const
{
    return m_makeBackupsBox->isChecked();
}

bool OptionsDialog::animate() const
{
    return m_animateBox->isChecked();
}

int OptionsDialog::tabWidth() const
{
    return m_tabWidthSpin->value();
}

qint64 OptionsDialog::largeDocumentBytes() const
{
    return qint64(m_largeDocumentSpin->value()) << 20;
}

OptionsDialog::Values OptionsDialog::valuesOf(const OptionsDialog* options)
{
    Values values;
    if (options) {
        values = {
            options->makeBackups(),    options->animate(),        options->tabWidth(), options->largeDocumentBytes(),
            options->legacyEncoding(), options->dateTimeFilter(), options->browser()};
        return values;
    }
    const SettingsStore* store = programStore();
    if (!store)
        return values;
    // Read as the controls' stored properties read them, each with its control's limits.
    const auto read = [store](const char* name, const QString& fallback) {
        return store->readString(StorageSection, QString::fromUtf8(name), fallback);
    };
    values.makeBackups =
        parseBool(read("BackUp1_Checked", formatBool(values.makeBackups))).value_or(values.makeBackups);
    values.animate = parseBool(read("An1_Checked", formatBool(values.animate))).value_or(values.animate);
    values.tabWidth = parseInteger(read("SpinEdit1_Value", formatInteger(values.tabWidth)));
    const qint32 megabytes = parseInteger(read("SpinEdit2_Value", formatInteger(values.largeDocumentBytes >> 20)));
    values.largeDocumentBytes = qint64(std::clamp(megabytes, 0, LargeDocumentMBLimit)) << 20;
    const QString encodingName = parseString(read("LegacyEncodingCombo_Text", QString()));
    for (const platform::TextEncoding encoding : platform::legacyEncodings())
        if (platform::encodingName(encoding) == encodingName)
            values.legacyEncoding = encoding;
    values.dateTimeFilter = parseString(read("Edit5_Text", values.dateTimeFilter));
    values.browser = parseString(read("Edit6_Text", values.browser));
    return values;
}

platform::TextEncoding OptionsDialog::legacyEncoding() const
{
    return static_cast<platform::TextEncoding>(m_legacyEncodingCombo->currentData().toInt());
}

QString OptionsDialog::dateTimeFilter() const
{
    return m_dateTimeFilterEdit->text();
}

QString OptionsDialog::browser() const
{
    return m_browserEdit->text();
}

filters::FilterLists OptionsDialog::lists() const
{
    return {itemsOf(m_filterList), itemsOf(m_filterNameList), itemsOf(m_filterPatternList)};
}

void OptionsDialog::setLists(const filters::FilterLists& lists)
{
    setItems(m_filterList, lists.display);
    setItems(m_filterNameList, lists.names);
    setItems(m_filterPatternList, lists.patterns);
}

void OptionsDialog::applyFilters(FileDialogState& open, FileDialogState& save, FileDialogState& saveSelection,
                                 FileDialogState& insert)
{
    const QStringList names = itemsOf(m_filterNameList);
    const QStringList patterns = itemsOf(m_filterPatternList);
    filters::applyFilters(names, patterns, m_defaultExtEdit->text(), {&open, &save, &insert, &saveSelection});
    // The hidden lists end on the last entry they were walked through.
    m_filterNameList->setCurrentRow(m_filterNameList->count() - 1);
    m_filterPatternList->setCurrentRow(qMin(m_filterPatternList->count(), m_filterNameList->count()) - 1);
    m_scratchEdit->clear();
}

void OptionsDialog::accept()
{
    runCommand([this] {
        if (!m_target)
            return;
        m_target->setStayOnTop(m_stayOnTopBox->isChecked());
        m_target->setSettingsAutoSave(m_saveSettingsBox->isChecked());
        m_target->setAutoSave(m_autoSaveBox->isChecked());
        m_target->setTrayIcon(m_trayIconBox->isChecked());
        m_target->setToolBarShown(m_toolBarBox->isChecked());
        m_target->setShowFileNameInTitle(m_fileNameInTitleBox->isChecked());
        m_target->setDropEnabled(m_acceptDropsBox->isChecked());
        if (m_wordWrapBox->isChecked())
            m_target->turnWordWrapOn();
        const OptionsDialogs dialogs = m_target->fileDialogs();
        const QString dir = m_workingDirEdit->text();
        for (FileDialogState* dialog : {dialogs.open, dialogs.insert, dialogs.saveAs, dialogs.saveSelection}) {
            if (dialog)
                dialog->initialDir = dir;
        }
        if (dialogs.open && dialogs.saveAs && dialogs.saveSelection && dialogs.insert)
            applyFilters(*dialogs.open, *dialogs.saveAs, *dialogs.saveSelection, *dialogs.insert);
    });
    // The window closes with OK even when a step failed: the button's result is set first.
    m_accepted = true;
    close();
}

void OptionsDialog::reject()
{
    m_accepted = false;
    close();
}

void OptionsDialog::filterSelected(int row)
{
    m_filterNameList->setCurrentRow(row < m_filterNameList->count() ? row : -1);
    m_filterPatternList->setCurrentRow(row < m_filterPatternList->count() ? row : -1);
    m_filterNameEdit->setText(m_filterNameList->currentItem() ? m_filterNameList->currentItem()->text() : QString());
    m_filterPatternEdit->setText(m_filterPatternList->currentItem() ? m_filterPatternList->currentItem()->text()
                                                                    : QString());
}

void OptionsDialog::addFilter()
{
    filters::FilterLists all = lists();
    filters::addFilter(all, m_filterNameEdit->text(), m_filterPatternEdit->text());
    setLists(all);
    m_defaultExtEdit->setText(all.patterns.constFirst());
    m_filterNameEdit->clear();
    m_filterPatternEdit->clear();
}

void OptionsDialog::deleteFilter()
{
    const int row = m_filterList->currentRow();
    if (row < 0) {
        Prompts::current().information(QStringLiteral("Nothing to Delete!"),
                                       QStringLiteral("You must have an item selected in order to delete it."));
        return;
    }
    filters::FilterLists all = lists();
    filters::removeFilter(all, row);
    setLists(all);
    // Nothing is selected after a delete, as the list box leaves it.
    for (QListWidget* list : {m_filterList, m_filterNameList, m_filterPatternList})
        list->setCurrentRow(-1);
    m_filterNameEdit->clear();
    m_filterPatternEdit->clear();
}

void OptionsDialog::replaceFilter()
{
    filters::FilterLists all = lists();
    filters::replaceFilter(all, m_filterList->currentRow(), m_filterNameList->currentRow(),
                           m_filterPatternList->currentRow(), m_filterNameEdit->text(), m_filterPatternEdit->text());
    setLists(all);
    m_defaultExtEdit->setText(all.patterns.constFirst());
    m_filterNameEdit->clear();
    m_filterPatternEdit->clear();
}

void OptionsDialog::chooseFont()
{
    const std::optional<QFont> font = Prompts::current().chooseFont(fontInUse(fontFromStored(m_fontDialogFont)));
    if (!font)
        return;
    m_fontDialogFont = storedFromFont(*font, m_fontDialogFont);
    if (m_target)
        m_target->setEditorFont(*font);
    for (SampleBox* box : {&m_fontSample, &m_pagePreview}) {
        box->font = storedFromFont(*font, box->font);
        applySample(*box);
    }
}

void OptionsDialog::choosePageColour()
{
    const std::optional<QColor> colour =
        Prompts::current().chooseColour(colorFromStored(m_colorDialogColor, palette()));
    if (!colour)
        return;
    m_colorDialogColor = storedFromColor(*colour);
    if (m_target)
        m_target->setPageColour(m_colorDialogColor);
    for (SampleBox* box : {&m_fontSample, &m_pagePreview}) {
        box->color = m_colorDialogColor;
        applySample(*box);
    }
}

void OptionsDialog::loadDefaultColours()
{
    if (m_target) {
        m_target->setPageColour(SysColorBtnFace);
        m_target->setTextColour(0);
    }
    for (SampleBox* box : {&m_fontSample, &m_pagePreview}) {
        box->color = SysColorBtnFace;
        box->font.color = 0;
        applySample(*box);
    }
}

void OptionsDialog::locateBrowser()
{
    const QStringList chosen = Prompts::current().openFiles(m_browserDialog);
    if (!chosen.isEmpty())
        m_browserEdit->setText(chosen.constFirst());
}

void OptionsDialog::showEvent(QShowEvent* event)
{
    // The other pages' buttons follow page 1's captions.
    for (int i = 1; i < 4; ++i) {
        m_okButtons[i]->setText(m_okButtons[0]->text());
        m_cancelButtons[i]->setText(m_cancelButtons[0]->text());
    }
    WindowBase::showEvent(event);
    // Keys go to the page on show (Tab, Ctrl+Tab, Space), not to the window itself.
    QWidget* page = m_pages->currentWidget();
    if (page->isAncestorOf(focusWidget()))
        return;
    for (QWidget* w = nextInFocusChain(); w != this; w = w->nextInFocusChain()) {
        if (page->isAncestorOf(w) && (w->focusPolicy() & Qt::TabFocus) && w->isEnabled() && w->isVisibleTo(page)) {
            w->setFocus(Qt::TabFocusReason);
            return;
        }
    }
}

void OptionsDialog::keyPressEvent(QKeyEvent* event)
{
    // The buttons leave Enter to the window, so a focused one is pressed here; OK only otherwise.
    if (!handleDialogKey(
            event, [this] { accept(); }, [this] { reject(); }))
        WindowBase::keyPressEvent(event);
}
