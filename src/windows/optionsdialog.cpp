#include "windows/optionsdialog.h"

#include "core/commandguard.h"
#include "core/prompts.h"
#include "settings/windowsettings.h"
#include "settings/storedprops.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QEventLoop>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QSpinBox>
#include <QTabWidget>
#include <QTextEdit>
#include <QToolButton>
#include <QVBoxLayout>

#include <climits>

using namespace PropertyCodec;

OptionsDialog* QuilletOp = nullptr;

namespace {

const QStringList Alignments{QStringLiteral("taLeftJustify"), QStringLiteral("taRightJustify"),
                             QStringLiteral("taCenter")};
const QStringList Aligns{QStringLiteral("alNone"), QStringLiteral("alTop"),   QStringLiteral("alBottom"),
                         QStringLiteral("alLeft"), QStringLiteral("alRight"), QStringLiteral("alClient")};
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

} // namespace

OptionsDialog::OptionsDialog(QWidget* parent)
    : WindowBase(QStringLiteral("QuilletOp"), QStringLiteral("Quillet Options"), QSize(433, 252), true, parent,
            {QStringLiteral("Quillet Options"),
             WindowSettings::fpState | WindowSettings::fpPosition | WindowSettings::fpActiveControl})
{
    // The window's controls were laid out for an 11-pixel dialog font; a desktop's larger default
    // would not fit its fixed size.
    QFont dialogFont(QStringLiteral("MS Sans Serif"));
    dialogFont.setStyleHint(QFont::SansSerif);
    dialogFont.setPixelSize(11);
    setFont(dialogFont);
    m_sample1.font = sampleFontBase();
    m_sample2.font = sampleFontBase();
    m_sample2.alignment = AlignCenter;

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 4);
    PageControl1 = new QTabWidget(this);
    PageControl1->setObjectName(QStringLiteral("PageControl1"));
    layout->addWidget(PageControl1);
    const char* const titles[] = {"&1.Quillet Options", "&2. Document Options", "&3. File Filters",
                                  "&4. Miscellaneous"};
    for (int i = 0; i < 4; ++i) {
        auto* page = new QWidget(PageControl1);
        page->setObjectName(QStringLiteral("TabSheet%1").arg(i + 1));
        PageControl1->addTab(page, QString::fromUtf8(titles[i]));
    }
    buildPage1(PageControl1->widget(0));
    buildPage2(PageControl1->widget(1));
    buildPage3(PageControl1->widget(2));
    buildPage4(PageControl1->widget(3));
    for (int i = 0; i < 4; ++i)
        addPageButtons(PageControl1->widget(i), i);

    PopupMenu1 = new QMenu(this);
    PopupMenu1->setObjectName(QStringLiteral("PopupMenu1"));
    Help1 = PopupMenu1->addAction(QStringLiteral("&Help"));
    Help1->setObjectName(QStringLiteral("Help1"));
    Help1->setCheckable(true);
    setContextMenuPolicy(Qt::CustomContextMenu);
    connect(this, &QWidget::customContextMenuRequested, this,
            [this](const QPoint& at) { PopupMenu1->popup(mapToGlobal(at)); });

    Web1.title = QStringLiteral("Locate Web Browser");
    Web1.filter = QStringLiteral("Web Browser|*.exe");
    Web1.defaultExt = QStringLiteral("exe");
    Web1.fileName = QStringLiteral("Web Browser");

    applySample(m_sample1);
    applySample(m_sample2);
    registerStoredProperties();
}

void OptionsDialog::buildPage1(QWidget* page)
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
    BackUp1 = checkBox(group, left, "BackUp1", "&Make Backups", true);
    AutoSave1 = checkBox(group, left, "AutoSave1", "Auto &Save Files", false);
    FilenameOp1 = checkBox(group, left, "FilenameOp1", "Show &FileName in TitleBar", true);
    SaveOp1 = checkBox(group, left, "SaveOp1", "Auto Save Quil&let's Settings", true);
    StayOnTop1 = checkBox(group, right, "StayOnTop1", "Stay On &Top", false);
    System1 = checkBox(group, right, "System1", "Use System T&ray", true);
    ToolBar1 = checkBox(group, right, "ToolBar1", "Show Tool&Bar", true);
    An1 = checkBox(group, right, "An1", "&Animate ToolBars", true);
    WorkingDir1 = labelledEdit(group, l, "WorkingDir1", "&Quillet's Working Directory:");
    auto* pageLayout = new QVBoxLayout(page);
    pageLayout->addWidget(group);
}

void OptionsDialog::buildPage2(QWidget* page)
{
    auto* group = new QGroupBox(QStringLiteral("Preferences"), page);
    auto* l = new QVBoxLayout(group);
    WordWrap1 = checkBox(group, l, "WordWrap1", "&Word Wrap", true);
    Dropped1 = checkBox(group, l, "Dropped1", "&Accept Dropped Files", true);
    auto* tabLabel = new QLabel(QStringLiteral("&Tab Width:"), group);
    SpinEdit1 = new QSpinBox(group);
    SpinEdit1->setObjectName(QStringLiteral("SpinEdit1"));
    // No limits, so any stored value comes back as it was.
    SpinEdit1->setRange(INT_MIN, INT_MAX);
    SpinEdit1->setValue(0);
    tabLabel->setBuddy(SpinEdit1);
    l->addWidget(tabLabel);
    l->addWidget(SpinEdit1);
    auto* sampleLabel = new QLabel(QStringLiteral("&Sample Font:"), group);
    RichEdit1 = new QTextEdit(group);
    RichEdit1->setObjectName(QStringLiteral("RichEdit1"));
    RichEdit1->setAcceptRichText(false);
    RichEdit1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    RichEdit1->setPlainText(QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZ    \n1234567890\nTo test the current font, "
                                           "Please \ntype text here:"));
    sampleLabel->setBuddy(RichEdit1);
    m_sample1.edit = RichEdit1;
    l->addWidget(sampleLabel);
    l->addWidget(RichEdit1);
    BitBtn5 = button(group, "BitBtn5", QStringLiteral("Change Default Font"));
    connect(BitBtn5, &QPushButton::clicked, this, [this] { runCommand([this] { changeFontClick(); }); });
    l->addWidget(BitBtn5);
    auto* pageLayout = new QVBoxLayout(page);
    pageLayout->addWidget(group);
}

void OptionsDialog::buildPage3(QWidget* page)
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
    Filter1 = new QListWidget(group);
    Filter1->setObjectName(QStringLiteral("Filter1"));
    filtersLabel->setBuddy(Filter1);
    listColumn->addWidget(filtersLabel);
    listColumn->addWidget(Filter1);
    FilterName1 = new QListWidget(group);
    FilterName1->setObjectName(QStringLiteral("FilterName1"));
    FilterName1->hide();
    ExtBox3 = new QListWidget(group);
    ExtBox3->setObjectName(QStringLiteral("ExtBox3"));
    ExtBox3->hide();
    const filters::FilterLists builtIn = filters::FilterLists::builtIn();
    Filter1->addItems(builtIn.display);
    FilterName1->addItems(builtIn.names);
    ExtBox3->addItems(builtIn.patterns);
    connect(Filter1, &QListWidget::currentRowChanged, this, [this](int row) {
        if (row >= 0)
            filterSelected(row);
    });

    Edit2 = labelledEdit(group, l, "Edit2", "&Description:");
    Edit3 = labelledEdit(group, l, "Edit3", "&Extension:");
    Edit4 = labelledEdit(group, l, "Edit4", "De&fault Extension:");
    Edit7 = new QLineEdit(group);
    Edit7->setObjectName(QStringLiteral("Edit7"));
    Edit7->hide();

    auto* buttons = new QHBoxLayout;
    BitBtn12 = button(group, "BitBtn12", QStringLiteral("New"), QStringLiteral("New|Add a New Filter"));
    BitBtn13 = button(group, "BitBtn13", QStringLiteral("Delete"), QStringLiteral("Delete|Delete Slected Filter"));
    BitBtn14 = button(group, "BitBtn14", QStringLiteral("Replace"),
                      QStringLiteral("Replace|Replace Selected Item with new Filter"));
    connect(BitBtn12, &QPushButton::clicked, this, [this] { runCommand([this] { newFilterClick(); }); });
    connect(BitBtn13, &QPushButton::clicked, this, [this] { runCommand([this] { deleteFilterClick(); }); });
    connect(BitBtn14, &QPushButton::clicked, this, [this] { runCommand([this] { replaceFilterClick(); }); });
    buttons->addWidget(BitBtn12);
    buttons->addWidget(BitBtn13);
    buttons->addWidget(BitBtn14);
    l->addStretch(1);
    listColumn->addLayout(buttons);
    auto* pageLayout = new QVBoxLayout(page);
    pageLayout->addWidget(group);
}

void OptionsDialog::buildPage4(QWidget* page)
{
    auto* group = new QGroupBox(QStringLiteral("Preferences"), page);
    auto* l = new QVBoxLayout(group);
    BitBtn10 = button(group, "BitBtn10", QStringLiteral("&Page Colour"));
    connect(BitBtn10, &QPushButton::clicked, this, [this] { runCommand([this] { pageColourClick(); }); });
    l->addWidget(BitBtn10);
    RichEdit2 = new QTextEdit(group);
    RichEdit2->setObjectName(QStringLiteral("RichEdit2"));
    RichEdit2->setAcceptRichText(false);
    RichEdit2->setReadOnly(true);
    RichEdit2->setPlainText(QStringLiteral("\nPreview Page"));
    m_sample2.edit = RichEdit2;
    l->addWidget(RichEdit2);
    BitBtn11 = button(group, "BitBtn11", QStringLiteral("&Load Defaults"));
    connect(BitBtn11, &QPushButton::clicked, this, [this] { runCommand([this] { loadDefaultsClick(); }); });
    l->addWidget(BitBtn11);
    Edit5 = labelledEdit(group, l, "Edit5", "&Date Time Filter:");
    Edit6 = labelledEdit(group, l, "Edit6", "&Web Browser:");
    SpeedButton1 = button(group, "SpeedButton1", QStringLiteral("..."), QStringLiteral("Locate your default browser"));
    connect(SpeedButton1, &QPushButton::clicked, this, [this] { runCommand([this] { locateBrowserClick(); }); });
    l->addWidget(SpeedButton1);
    auto* pageLayout = new QVBoxLayout(page);
    pageLayout->addWidget(group);
}

void OptionsDialog::addPageButtons(QWidget* page, int index)
{
    auto* row = new QHBoxLayout;
    row->addStretch();
    OKButtons[index] =
        button(page, QStringLiteral("OKBtn%1").arg(index + 1).toUtf8().constData(), QStringLiteral("OK"));
    CancelButtons[index] =
        button(page, QStringLiteral("CancelBtn%1").arg(index + 1).toUtf8().constData(), QStringLiteral("Cancel"));
    OKButtons[index]->setDefault(true);
    connect(OKButtons[index], &QPushButton::clicked, this, &OptionsDialog::okClick);
    connect(CancelButtons[index], &QPushButton::clicked, this, &OptionsDialog::cancelClick);
    row->addWidget(OKButtons[index]);
    row->addWidget(CancelButtons[index]);
    static_cast<QVBoxLayout*>(page->layout())->addLayout(row);
}

void OptionsDialog::registerStoredProperties()
{
    using namespace storedprops;
    WindowSettings& s = *FormStorage1;
    auto checked = [&s](const char* item, QCheckBox* box) {
        addBool(
            s, QString::fromUtf8(item), [box] { return box->isChecked(); }, [box](bool v) { box->setChecked(v); });
    };
    auto text = [&s](const char* item, QLineEdit* edit) {
        addString(
            s, QString::fromUtf8(item), [edit] { return edit->text(); },
            [edit](const QString& v) { edit->setText(v); });
    };
    checked("BackUp1.Checked", BackUp1);
    checked("AutoSave1.Checked", AutoSave1);
    checked("SaveOp1.Checked", SaveOp1);
    checked("StayOnTop1.Checked", StayOnTop1);
    checked("System1.Checked", System1);
    checked("ToolBar1.Checked", ToolBar1);
    checked("An1.Checked", An1);
    checked("FilenameOp1.Checked", FilenameOp1);
    checked("WordWrap1.Checked", WordWrap1);
    checked("Dropped1.Checked", Dropped1);
    text("WorkingDir1.Text", WorkingDir1);
    addInteger(
        s, QStringLiteral("SpinEdit1.Value"), [this] { return qint32(SpinEdit1->value()); },
        [this](qint32 v) { SpinEdit1->setValue(v); });
    text("Edit5.Text", Edit5);
    text("Edit6.Text", Edit6);
    text("Edit2.Text", Edit2);
    text("Edit3.Text", Edit3);
    text("Edit4.Text", Edit4);
    text("Edit7.Text", Edit7);

    auto sample = [this](int n) -> SampleBox& { return n == 1 ? m_sample1 : m_sample2; };
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
            s, QStringLiteral("RichEdit%1.Align").arg(n), Aligns, [box] { return box->align; },
            [box](int v) { box->align = v; });
    }
    for (int n : {1, 2}) {
        SampleBox* box = &sample(n);
        addEnum(
            s, QStringLiteral("RichEdit%1.Alignment").arg(n), Alignments, [box] { return box->alignment; },
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
    addString(
        s, QStringLiteral("PageControl1.ActivePage"),
        [this] {
            StoredReference page;
            page.isNull = false;
            page.component = PageControl1->currentWidget()->objectName();
            return formatReference(page);
        },
        [this](const QString& v) {
            const StoredReference page = parseReference(v);
            if (page.isNull || !page.form.isEmpty())
                return;
            for (int i = 0; i < PageControl1->count(); ++i) {
                if (PageControl1->widget(i)->objectName().compare(page.component, Qt::CaseInsensitive) == 0)
                    PageControl1->setCurrentIndex(i);
            }
        });
    addBool(
        s, QStringLiteral("Help1.Checked"), [this] { return Help1->isChecked(); },
        [this](bool v) { Help1->setChecked(v); });
    addFont(
        s, QStringLiteral("FontDialog1.Font"), [this] { return m_fontDialogFont; },
        [this](const StoredFont& f) { m_fontDialogFont = f; });
    addInteger(
        s, QStringLiteral("ColorDialog1.Color"), [this] { return m_colorDialogColor; },
        [this](qint32 v) { m_colorDialogColor = v; });
    for (QListWidget* list : {Filter1, FilterName1, ExtBox3}) {
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
    QPalette palette = box.edit->palette();
    palette.setColor(QPalette::Base, colorFromStored(box.color, palette));
    palette.setColor(QPalette::Text, colorFromStored(box.font.color, palette));
    box.edit->setPalette(palette);
    static const Qt::Alignment qtAlignments[] = {Qt::AlignLeft, Qt::AlignRight, Qt::AlignHCenter};
    QTextOption option = box.edit->document()->defaultTextOption();
    option.setAlignment(qtAlignments[qBound(0, box.alignment, 2)]);
    box.edit->document()->setDefaultTextOption(option);
}

bool OptionsDialog::execute()
{
    m_accepted = false;
    setWindowModality(Qt::ApplicationModal);
    show();
    raise();
    activateWindow();
    QEventLoop loop;
    QPointer<OptionsDialog> self(this);
    while (self && isVisible())
        loop.processEvents(QEventLoop::WaitForMoreEvents);
    return self && m_accepted;
}

void OptionsDialog::showPage(int page)
{
    if (page >= 1 && page <= PageControl1->count())
        PageControl1->setCurrentIndex(page - 1);
}

int OptionsDialog::currentPage() const
{
    return PageControl1->currentIndex() + 1;
}

bool OptionsDialog::makeBackups() const
{
    return BackUp1->isChecked();
}

bool OptionsDialog::animate() const
{
    return An1->isChecked();
}

int OptionsDialog::tabWidth() const
{
    return SpinEdit1->value();
}

QString OptionsDialog::dateTimeFilter() const
{
    return Edit5->text();
}

QString OptionsDialog::browser() const
{
    return Edit6->text();
}

filters::FilterLists OptionsDialog::lists() const
{
    return {itemsOf(Filter1), itemsOf(FilterName1), itemsOf(ExtBox3)};
}

void OptionsDialog::setLists(const filters::FilterLists& lists)
{
    setItems(Filter1, lists.display);
    setItems(FilterName1, lists.names);
    setItems(ExtBox3, lists.patterns);
}

void OptionsDialog::applyFilters(FileDialogState& open, FileDialogState& save, FileDialogState& saveSelection,
                              FileDialogState& insert)
{
    const QStringList names = itemsOf(FilterName1);
    const QStringList patterns = itemsOf(ExtBox3);
    filters::applyFilters(names, patterns, Edit4->text(), {&open, &save, &insert, &saveSelection});
    // The hidden lists end on the last entry they were walked through.
    FilterName1->setCurrentRow(FilterName1->count() - 1);
    ExtBox3->setCurrentRow(qMin(ExtBox3->count(), FilterName1->count()) - 1);
    Edit7->clear();
}

void OptionsDialog::okClick()
{
    runCommand([this] {
        if (!m_target)
            return;
        m_target->setStayOnTop(StayOnTop1->isChecked());
        m_target->setSettingsAutoSave(SaveOp1->isChecked());
        m_target->setAutoSave(AutoSave1->isChecked());
        m_target->setTrayIcon(System1->isChecked());
        m_target->setToolBarShown(ToolBar1->isChecked());
        m_target->setShowFileNameInTitle(FilenameOp1->isChecked());
        m_target->setDropEnabled(Dropped1->isChecked());
        if (WordWrap1->isChecked())
            m_target->turnWordWrapOn();
        const OptionsDialogs dialogs = m_target->fileDialogs();
        const QString dir = WorkingDir1->text();
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

void OptionsDialog::cancelClick()
{
    m_accepted = false;
    close();
}

void OptionsDialog::filterSelected(int row)
{
    FilterName1->setCurrentRow(row < FilterName1->count() ? row : -1);
    ExtBox3->setCurrentRow(row < ExtBox3->count() ? row : -1);
    Edit2->setText(FilterName1->currentItem() ? FilterName1->currentItem()->text() : QString());
    Edit3->setText(ExtBox3->currentItem() ? ExtBox3->currentItem()->text() : QString());
}

void OptionsDialog::newFilterClick()
{
    filters::FilterLists all = lists();
    filters::addFilter(all, Edit2->text(), Edit3->text());
    setLists(all);
    Edit4->setText(all.patterns.constFirst());
    Edit2->clear();
    Edit3->clear();
}

void OptionsDialog::deleteFilterClick()
{
    const int row = Filter1->currentRow();
    if (row < 0) {
        Prompts::current().information(QStringLiteral("Nothing to Delete!"),
                                       QStringLiteral("You must have an item selected in order to delete it."));
        return;
    }
    filters::FilterLists all = lists();
    filters::removeFilter(all, row);
    setLists(all);
    // Nothing is selected after a delete, as the list box leaves it.
    for (QListWidget* list : {Filter1, FilterName1, ExtBox3})
        list->setCurrentRow(-1);
    Edit2->clear();
    Edit3->clear();
}

void OptionsDialog::replaceFilterClick()
{
    filters::FilterLists all = lists();
    filters::replaceFilter(all, Filter1->currentRow(), FilterName1->currentRow(), ExtBox3->currentRow(), Edit2->text(),
                           Edit3->text());
    setLists(all);
    Edit4->setText(all.patterns.constFirst());
    Edit2->clear();
    Edit3->clear();
}

void OptionsDialog::changeFontClick()
{
    const std::optional<QFont> font = Prompts::current().chooseFont(fontFromStored(m_fontDialogFont));
    if (!font)
        return;
    m_fontDialogFont = storedFromFont(*font, m_fontDialogFont);
    if (m_target)
        m_target->setEditorFont(*font);
    for (SampleBox* box : {&m_sample1, &m_sample2}) {
        box->font = storedFromFont(*font, box->font);
        applySample(*box);
    }
}

void OptionsDialog::pageColourClick()
{
    const std::optional<QColor> colour = Prompts::current().chooseColour(colorFromStored(m_colorDialogColor, palette()));
    if (!colour)
        return;
    m_colorDialogColor = storedFromColor(*colour);
    if (m_target)
        m_target->setPageColour(m_colorDialogColor);
    for (SampleBox* box : {&m_sample1, &m_sample2}) {
        box->color = m_colorDialogColor;
        applySample(*box);
    }
}

void OptionsDialog::loadDefaultsClick()
{
    if (m_target) {
        m_target->setPageColour(SysColorBtnFace);
        m_target->setTextColour(0);
    }
    for (SampleBox* box : {&m_sample1, &m_sample2}) {
        box->color = SysColorBtnFace;
        box->font.color = 0;
        applySample(*box);
    }
}

void OptionsDialog::locateBrowserClick()
{
    const QStringList chosen = Prompts::current().openFiles(Web1);
    if (!chosen.isEmpty())
        Edit6->setText(chosen.constFirst());
}

void OptionsDialog::showEvent(QShowEvent* event)
{
    // The other pages' buttons follow page 1's captions.
    for (int i = 1; i < 4; ++i) {
        OKButtons[i]->setText(OKButtons[0]->text());
        CancelButtons[i]->setText(CancelButtons[0]->text());
    }
    WindowBase::showEvent(event);
}

void OptionsDialog::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Escape) {
        cancelClick();
        return;
    }
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        okClick();
        return;
    }
    WindowBase::keyPressEvent(event);
}
