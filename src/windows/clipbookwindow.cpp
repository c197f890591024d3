#include "windows/clipbookwindow.h"
#include "windows/textlistmodel.h"

#include "core/commanderror.h"
#include "core/commandguard.h"
#include "core/prompts.h"
#include "platform/platform.h"
#include "settings/programstore.h"
#include "settings/propertycodec.h"
#include "settings/settingsstore.h"
#include "settings/storedprops.h"
#include "windows/readabletext.h"

#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileInfo>
#include <QFontMetrics>
#include <QFrame>
#include <QHBoxLayout>
#include <QItemSelectionModel>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QMenu>
#include <QMimeData>
#include <QPushButton>
#include <QStatusTipEvent>
#include <QTimer>
#include <QToolButton>
#include <QUrl>
#include <QVBoxLayout>

#include <limits>

using clipbook::Kind;
using Mode = TemplateNameDialog::Mode;

namespace {

const QString ItemTitle = QStringLiteral("ClipBook");
const QString FilesTitle = QStringLiteral("ClipBook Files");
const QString NameInUseTitle = QStringLiteral("Template name in use");

QFont listFont()
{
    QFont font(QStringLiteral("Courier New"));
    font.setStyleHint(QFont::Monospace);
    font.setPixelSize(13);
    return font;
}

// `title` names the control for screen readers, which find no label beside it.
QListView* makeList(QWidget* parent, const char* name, const QString& title, TextListModel* model, const QColor& colour)
{
    auto* list = new QListView(parent);
    list->setObjectName(QLatin1String(name));
    list->setAccessibleName(title);
    list->setModel(model);
    list->setUniformItemSizes(true);
    list->setSelectionMode(QAbstractItemView::SingleSelection);
    list->setEditTriggers(QAbstractItemView::NoEditTriggers);
    list->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    list->setFont(listFont());
    keepTextReadable(list, colour);
    return list;
}

// Names, texts and paths have no length limit: a field never cuts what it is given.
void takeAnyLength(QLineEdit* field)
{
    field->setMaxLength(std::numeric_limits<int>::max());
}

QComboBox* makeNameBox(QWidget* parent, const char* name, const QString& title)
{
    auto* box = new QComboBox(parent);
    box->setObjectName(QLatin1String(name));
    box->setAccessibleName(title);
    box->setEditable(true);
    box->setInsertPolicy(QComboBox::NoInsert);
    box->setMaxVisibleItems(6);
    // Completion is the window's own (it takes the listed name's letter case).
    box->setCompleter(nullptr);
    takeAnyLength(box->lineEdit());
    box->lineEdit()->setAccessibleName(title);
    box->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    box->setMinimumContentsLength(6);
    return box;
}

QLineEdit* makeField(QWidget* parent, const char* name, const QString& placeholder)
{
    auto* field = new QLineEdit(parent);
    field->setObjectName(QLatin1String(name));
    field->setPlaceholderText(placeholder);
    field->setAccessibleName(placeholder);
    takeAnyLength(field);
    return field;
}

QString shortHint(const QString& hint)
{
    return hint.section(u'|', 0, 0);
}

QString longHint(const QString& hint)
{
    return hint.section(u'|', 1);
}

} // namespace

ClipBookWindow::ClipBookWindow(QWidget* parent)
    : WindowBase(QStringLiteral("ClipBook"), QStringLiteral("ClipBook"), QSize(298, 343), false, parent,
                 {QStringLiteral("ClipBook"),
                  WindowSettings::ShowState | WindowSettings::Position | WindowSettings::FocusedControl})
{
    // A window of the main window's own, which the window manager keeps above the text it serves.
    // (As a tool window it would share the main window's shortcuts, and its buttons' Alt keys
    // would clash with the menus'.)
    if (parent)
        setWindowFlags((windowFlags() & ~Qt::WindowType_Mask) | Qt::Dialog);
    m_itemNames = new TextListModel(listFont(), this);
    m_paths = new TextListModel(listFont(), this);
    m_itemPage = new QWidget(this);
    m_itemPage->setObjectName(QStringLiteral("CPanel1"));
    m_filePage = new QWidget(this);
    m_filePage->setObjectName(QStringLiteral("CFPanel1"));
    buildItemPage(m_itemPage);
    buildFilePage(m_filePage);
    buildMenus();

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(2, 2, 2, 0);
    layout->setSpacing(2);
    layout->addWidget(m_itemPage, 1);
    layout->addWidget(m_filePage, 1);
    buildStatusBar();
    setPage(Page::Items);
    showTemplateNames();
    showFileTemplateNames();

    // The two name lists are kept (what each template holds is in its file), and below them the
    // display settings.
    using namespace storedprops;
    WindowSettings& s = *storage();
    addStringList(
        s, QStringLiteral("FileCombo1.Items"), [this] { return m_fileTemplates.names; },
        [this](const QStringList& names) {
            m_fileTemplates = {names, names.isEmpty() ? -1 : 0};
            showFileTemplateNames();
        });
    addStringList(
        s, QStringLiteral("TemplateComboBox1.Items"), [this] { return m_templates.names; },
        [this](const QStringList& names) {
            m_templates = {names, names.isEmpty() ? -1 : 0};
            showTemplateNames();
        });
    // What the utility options set comes back at the next start.
    addBool(
        s, QStringLiteral("FileCombo1.Complete"), [this] { return m_fileCompletes; },
        [this](bool on) { setFileAutoComplete(on); });
    addBool(
        s, QStringLiteral("TemplateComboBox1.Complete"), [this] { return m_templateCompletes; },
        [this](bool on) { setTemplateAutoComplete(on); });
    addBool(
        s, QStringLiteral("CFPanel1.Visible"), [this] { return m_page == Page::Files; },
        [this](bool shown) {
            if (shown)
                setPage(Page::Files);
        });
    addBool(
        s, QStringLiteral("CPanel1.Visible"), [this] { return m_page == Page::Items; },
        [this](bool shown) {
            if (shown)
                setPage(Page::Items);
        });
    for (const char* name : {"ClipPanel1", "FilePanel1", "Panel1", "Panel2", "StatusBar1"}) {
        QWidget* panel = findChild<QWidget*>(QLatin1String(name));
        addBool(
            s, QLatin1String(name) + QStringLiteral(".Visible"), [panel] { return !panel->isHidden(); },
            [panel](bool shown) { panel->setVisible(shown); });
    }
}

ClipBookWindow::~ClipBookWindow()
{
    // Closing the window below moves the focus out of a box, whose "left" handler would then
    // run on members already gone: the children say nothing to this window from here on.
    for (QObject* child : findChildren<QObject*>())
        child->disconnect(this);
}

// --- Building ------------------------------------------------------------------------------------

void ClipBookWindow::run(void (ClipBookWindow::*command)())
{
    runCommand([this, command] { (this->*command)(); });
}

QPushButton* ClipBookWindow::makeButton(QWidget* parent, const char* name, const QString& caption, const QString& hint,
                                        void (ClipBookWindow::*command)())
{
    auto* button = new QPushButton(caption, parent);
    button->setObjectName(QLatin1String(name));
    button->setToolTip(shortHint(hint));
    button->setStatusTip(longHint(hint));
    button->setAutoDefault(false);
    if (command)
        connect(button, &QPushButton::clicked, this, [this, command] { run(command); });
    else
        button->setEnabled(false);
    return button;
}

QToolButton* ClipBookWindow::makeBarButton(QWidget* parent, const char* name, const QString& caption,
                                           const QString& hint, void (ClipBookWindow::*command)())
{
    auto* button = new QToolButton(parent);
    button->setObjectName(QLatin1String(name));
    button->setText(caption);
    button->setToolTip(shortHint(hint));
    button->setStatusTip(longHint(hint));
    button->setAutoRaise(true);
    // Screen readers say what the short caption or symbol stands for.
    button->setAccessibleName(shortHint(hint));
    connect(button, &QToolButton::clicked, this, [this, command] { run(command); });
    return button;
}

void ClipBookWindow::buildItemPage(QWidget* page)
{
    auto* bar = new QFrame(page);
    bar->setObjectName(QStringLiteral("Panel1"));
    m_templateBox = makeNameBox(bar, "TemplateComboBox1", QStringLiteral("ClipBook Template"));
    auto* barLayout = new QHBoxLayout(bar);
    barLayout->setContentsMargins(0, 0, 0, 0);
    barLayout->setSpacing(1);
    barLayout->addWidget(makeBarButton(bar, "SpeedButton12", QStringLiteral("\u2715"),
                                       QStringLiteral("Close|Close ClipBook"), &QWidget::hide));
    barLayout->addWidget(m_templateBox, 1);
    barLayout->addWidget(makeBarButton(bar, "SpeedButton1", QStringLiteral("New"),
                                       QStringLiteral("New...|Create new ClipBook Template"),
                                       &ClipBookWindow::newTemplate));
    barLayout->addWidget(makeBarButton(bar, "SpeedButton2", QStringLiteral("Rename"),
                                       QStringLiteral("Rename...|Rename current ClipBook Template"),
                                       &ClipBookWindow::renameTemplate));
    barLayout->addWidget(
        makeBarButton(bar, "SpeedButton3", QStringLiteral("Delete"),
                      QStringLiteral("Delete|Delete current ClipBook Template and all tems it contains"),
                      &ClipBookWindow::deleteTemplate));

    m_itemList = makeList(page, "ItemListBox1", QStringLiteral("Items"), m_itemNames, QColor(0, 0, 128));
    auto* buttons = new QWidget(page);
    buttons->setObjectName(QStringLiteral("ClipPanel1"));
    auto* column = new QVBoxLayout(buttons);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(2);
    column->addWidget(makeButton(buttons, "SpeedButton4", QStringLiteral("&Paste"),
                                 QStringLiteral("Paste To Document|Paste Selected item into current Document"),
                                 &ClipBookWindow::pasteToDocument));
    column->addWidget(makeButton(buttons, "SpeedButton5", QStringLiteral("&Copy"),
                                 QStringLiteral("Copy to Clipboard|Copy selected item to the Clipboard"),
                                 &ClipBookWindow::copyToClipboard));
    column->addWidget(makeButton(buttons, "SpeedButton6", QStringLiteral("&New item"),
                                 QStringLiteral("New item...|Create a new item in the current ClipBook Template"),
                                 &ClipBookWindow::newItem));
    column->addWidget(makeButton(buttons, "SpeedButton7", QStringLiteral("From &doc"),
                                 QStringLiteral("Add from Document|Add item from selected text in current Document"),
                                 &ClipBookWindow::addFromDocument));
    column->addWidget(makeButton(buttons, "SpeedButton8", QStringLiteral("From c&lip"),
                                 QStringLiteral("Add from ClipBoard|Add item from Clipboard"),
                                 &ClipBookWindow::addFromClipboard));
    column->addWidget(makeButton(buttons, "SpeedButton9", QStringLiteral("&Edit item"),
                                 QStringLiteral("Edit item...|Edit the selected item"), &ClipBookWindow::editItem));
    column->addWidget(makeButton(buttons, "SpeedButton10", QStringLiteral("&Remove"),
                                 QStringLiteral("Delete item|Remove selected item"), &ClipBookWindow::removeItem));
    column->addWidget(makeButton(buttons, "SpeedButton11", QStringLiteral("&Save now"),
                                 QStringLiteral("Save now|Save items under current template header"),
                                 &ClipBookWindow::saveTemplate));
    column->addStretch();

    m_itemName = makeField(page, "ClipEdit", QStringLiteral("Name"));
    m_itemText = makeField(page, "ClipEdit2", QStringLiteral("Text"));

    auto* middle = new QHBoxLayout;
    middle->setSpacing(2);
    middle->addWidget(m_itemList, 1);
    middle->addWidget(buttons);
    auto* bottom = new QHBoxLayout;
    bottom->setSpacing(2);
    bottom->addWidget(m_itemName, 1);
    bottom->addWidget(m_itemText, 2);
    auto* layout = new QVBoxLayout(page);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(2);
    layout->addWidget(bar);
    layout->addLayout(middle, 1);
    layout->addLayout(bottom);

    connect(m_templateBox, &QComboBox::editTextChanged, this, [this](const QString& text) {
        if (!m_updatingBoxes)
            runCommand([this, &text] { templateTextEdited(text); });
    });
    watchNameBox(m_templateBox, m_templateCompletes);
    followCurrentRow(m_itemList, &ClipBookWindow::showItemInformation);
    // A double-click or Enter on an item puts it into the document before the selection.
    connect(m_itemList, &QAbstractItemView::doubleClicked, this, [this](const QModelIndex& index) {
        selectItem(index.row());
        run(&ClipBookWindow::insertItem);
    });
    m_itemList->installEventFilter(this);
}

void ClipBookWindow::buildFilePage(QWidget* page)
{
    auto* bar = new QFrame(page);
    bar->setObjectName(QStringLiteral("Panel2"));
    m_fileBox = makeNameBox(bar, "FileCombo1", QStringLiteral("File Template"));
    auto* barLayout = new QHBoxLayout(bar);
    barLayout->setContentsMargins(0, 0, 0, 0);
    barLayout->setSpacing(1);
    barLayout->addWidget(makeBarButton(bar, "SpeedButton24", QStringLiteral("\u2715"),
                                       QStringLiteral("Close|Close ClipBook Files"), &QWidget::hide));
    barLayout->addWidget(m_fileBox, 1);
    barLayout->addWidget(makeBarButton(bar, "SpeedButton25", QStringLiteral("New"),
                                       QStringLiteral("New...|Create new File Template"),
                                       &ClipBookWindow::newFileTemplate));
    barLayout->addWidget(makeBarButton(bar, "SpeedButton22", QStringLiteral("Rename"),
                                       QStringLiteral("Rename...|Rename current File Template"),
                                       &ClipBookWindow::renameFileTemplate));
    barLayout->addWidget(makeBarButton(bar, "SpeedButton23", QStringLiteral("Delete"),
                                       QStringLiteral("Delete|Delete current File Template and all Files it contains"),
                                       &ClipBookWindow::deleteFileTemplate));

    m_fileList = makeList(page, "FileListBox1", QStringLiteral("Files"), m_paths, QColor(0, 128, 0));
    m_fileList->viewport()->setAcceptDrops(true);
    m_fileList->viewport()->installEventFilter(this);
    auto* buttons = new QWidget(page);
    buttons->setObjectName(QStringLiteral("FilePanel1"));
    auto* column = new QVBoxLayout(buttons);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(2);
    column->addWidget(makeButton(buttons, "SpeedButton20", QStringLiteral("&Open file"),
                                 QStringLiteral("Open File|Open File in Quillet"), &ClipBookWindow::openFile));
    column->addWidget(makeButton(buttons, "SpeedButton13", QStringLiteral("Open &all"),
                                 QStringLiteral("Open All|Open all Files in the current File template into Quillet"),
                                 &ClipBookWindow::openAllFiles));
    column->addWidget(makeButton(buttons, "SpeedButton21", QStringLiteral("&New item"),
                                 QStringLiteral("New item...|Create a new item in the File Template"),
                                 &ClipBookWindow::newFileEntry));
    column->addWidget(makeButton(buttons, "SpeedButton14", QStringLiteral("Add &file"),
                                 QStringLiteral("Add File|Add a File to the File Template"),
                                 &ClipBookWindow::addFiles));
    column->addWidget(makeButton(buttons, "SpeedButton15", QStringLiteral("&Remove"),
                                 QStringLiteral("Remove File|Delete the File from the File Template"),
                                 &ClipBookWindow::removeFileEntry));
    // The help viewer is an outside program this version does not start.
    column->addWidget(makeButton(buttons, "SpeedButton17", QStringLiteral("&Help"),
                                 QStringLiteral("Load HTML Help|Looking for help on the ClipBook?"), nullptr));
    column->addWidget(makeButton(buttons, "SpeedButton19", QStringLiteral("&Save now"),
                                 QStringLiteral("Save now|Save items under current File Template"),
                                 &ClipBookWindow::saveFileTemplate));
    column->addStretch();

    m_filePath = makeField(page, "FileEdit1", QStringLiteral("Path"));

    auto* middle = new QHBoxLayout;
    middle->setSpacing(2);
    middle->addWidget(m_fileList, 1);
    middle->addWidget(buttons);
    auto* layout = new QVBoxLayout(page);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(2);
    layout->addWidget(bar);
    layout->addLayout(middle, 1);
    layout->addWidget(m_filePath);

    connect(m_fileBox, &QComboBox::currentIndexChanged, this, [this](int index) {
        if (!m_updatingBoxes)
            runCommand([this, index] { fileTemplateChosen(index); });
    });
    connect(m_fileBox->lineEdit(), &QLineEdit::editingFinished, this, [this] {
        if (!m_updatingBoxes)
            runCommand([this] { fileTemplateLeft(); });
    });
    watchNameBox(m_fileBox, m_fileCompletes);
    followCurrentRow(m_fileList, &ClipBookWindow::showFileInformation);
    connect(m_fileList, &QAbstractItemView::doubleClicked, this, [this](const QModelIndex& index) {
        selectFile(index.row());
        run(&ClipBookWindow::openFile);
    });
    m_fileList->installEventFilter(this);
}

void ClipBookWindow::buildStatusBar()
{
    auto* bar = new QFrame(this);
    bar->setObjectName(QStringLiteral("StatusBar1"));
    QFont font(QStringLiteral("Arial"));
    font.setBold(true);
    font.setItalic(true);
    bar->setFont(font);
    m_statusName = new QLabel(bar);
    m_statusName->setFrameShape(QFrame::Panel);
    m_statusName->setFrameShadow(QFrame::Sunken);
    m_statusName->setFixedWidth(100);
    m_statusInformation = new QLabel(bar);
    m_statusInformation->setFrameShape(QFrame::Panel);
    m_statusInformation->setFrameShadow(QFrame::Sunken);
    m_statusInformation->setMinimumWidth(50);
    m_statusInformation->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    auto* layout = new QHBoxLayout(bar);
    layout->setContentsMargins(0, 0, 0, 2);
    layout->setSpacing(2);
    layout->addWidget(m_statusName);
    layout->addWidget(m_statusInformation, 1);
    static_cast<QVBoxLayout*>(this->layout())->addWidget(bar);
}

void ClipBookWindow::buildMenus()
{
    m_comboMenu = new QMenu(this);
    m_comboMenu->setObjectName(QStringLiteral("PopupMenu1"));
    m_newTemplateEntry =
        m_comboMenu->addAction(QStringLiteral("&New Template..."), this, [this] { run(&ClipBookWindow::newTemplate); });
    m_newFileTemplateEntry = m_comboMenu->addAction(QStringLiteral("New &File Template..."), this,
                                                    [this] { run(&ClipBookWindow::newFileTemplate); });
    m_comboMenu->addSeparator();
    // Rename and Delete act on the template of the page shown.
    m_comboMenu->addAction(QStringLiteral("&Rename..."), this, [this] {
        run(m_page == Page::Files ? &ClipBookWindow::renameFileTemplate : &ClipBookWindow::renameTemplate);
    });
    m_comboMenu->addAction(QStringLiteral("&Delete"), this, [this] {
        run(m_page == Page::Files ? &ClipBookWindow::deleteFileTemplate : &ClipBookWindow::deleteTemplate);
    });
    for (QComboBox* box : {m_templateBox, m_fileBox}) {
        box->lineEdit()->setContextMenuPolicy(Qt::CustomContextMenu);
        connect(box->lineEdit(), &QWidget::customContextMenuRequested, this,
                [this, box](const QPoint& pos) { m_comboMenu->popup(box->lineEdit()->mapToGlobal(pos)); });
    }

    auto* itemMenu = new QMenu(this);
    itemMenu->setObjectName(QStringLiteral("PopupMenu2"));
    itemMenu->addAction(QStringLiteral("&Paste To Document"), this, [this] { run(&ClipBookWindow::pasteToDocument); });
    itemMenu->addAction(QStringLiteral("&Copy To Clipboard"), this, [this] { run(&ClipBookWindow::copyToClipboard); });
    itemMenu->addSeparator();
    itemMenu->addAction(QStringLiteral("New Item..."), this, [this] { run(&ClipBookWindow::newItem); });
    itemMenu->addAction(QStringLiteral("&Add From Document"), this, [this] { run(&ClipBookWindow::addFromDocument); });
    itemMenu->addAction(QStringLiteral("A&dd From Clipboard"), this,
                        [this] { run(&ClipBookWindow::addFromClipboard); });
    itemMenu->addSeparator();
    itemMenu->addAction(QStringLiteral("&Edit Item..."), this, [this] { run(&ClipBookWindow::editItem); });
    itemMenu->addAction(QStringLiteral("&Remove item"), this, [this] { run(&ClipBookWindow::removeItem); });
    itemMenu->addSeparator();
    itemMenu->addAction(QStringLiteral("&Open Template as Document"), this,
                        [this] { run(&ClipBookWindow::openTemplateAsDocument); });
    itemMenu->addSeparator();
    itemMenu->addAction(QStringLiteral("Save &Now"), this, [this] { run(&ClipBookWindow::saveTemplate); });
    m_itemList->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(m_itemList, &QWidget::customContextMenuRequested, this,
            [this, itemMenu](const QPoint& pos) { itemMenu->popup(m_itemList->viewport()->mapToGlobal(pos)); });

    auto* fileMenu = new QMenu(this);
    fileMenu->setObjectName(QStringLiteral("PopupMenu3"));
    fileMenu->addAction(QStringLiteral("Open &File"), this, [this] { run(&ClipBookWindow::openFile); });
    fileMenu->addAction(QStringLiteral("O&pen All"), this, [this] { run(&ClipBookWindow::openAllFiles); });
    fileMenu->addSeparator();
    fileMenu->addAction(QStringLiteral("&Add File"), this, [this] { run(&ClipBookWindow::addFiles); });
    fileMenu->addAction(QStringLiteral("&New File"), this, [this] { run(&ClipBookWindow::newFileEntry); });
    fileMenu->addAction(QStringLiteral("&Remove"), this, [this] { run(&ClipBookWindow::removeFileEntry); });
    fileMenu->addSeparator();
    fileMenu->addAction(QStringLiteral("&Open Template as Document"), this,
                        [this] { run(&ClipBookWindow::openFileTemplateAsDocument); });
    fileMenu->addSeparator();
    fileMenu->addAction(QStringLiteral("&Help"))->setEnabled(false);
    fileMenu->addAction(QStringLiteral("&Save"), this, [this] { run(&ClipBookWindow::saveFileTemplate); });
    m_fileList->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(m_fileList, &QWidget::customContextMenuRequested, this,
            [this, fileMenu](const QPoint& pos) { fileMenu->popup(m_fileList->viewport()->mapToGlobal(pos)); });
}

// --- Shared --------------------------------------------------------------------------------------

void ClipBookWindow::setHost(ClipBookHost* host)
{
    m_host = host;
    if (!m_host)
        return;
    runCommand([this] {
        loadTemplate(templateBoxText());
        if (m_fileTemplates.selected >= 0)
            loadFileTemplate(m_fileTemplates.selectedName(), true);
    });
}

QString ClipBookWindow::programDirectory() const
{
    if (!m_host)
        throw CommandError(QStringLiteral("The ClipBook is not connected to the main window."));
    return m_host->programDirectory();
}

void ClipBookWindow::setPage(Page page)
{
    m_page = page;
    m_itemPage->setVisible(page == Page::Items);
    m_filePage->setVisible(page == Page::Files);
    captionBar()->setPartCaption(CaptionBar::Part::ProductText, page == Page::Items ? ItemTitle : FilesTitle);
    m_newTemplateEntry->setVisible(page == Page::Items);
    m_newFileTemplateEntry->setVisible(page == Page::Files);
}

void ClipBookWindow::showPage(Page page, bool keepOnTop)
{
    setKeptOnTop(*this, keepOnTop);
    setPage(page);
    show();
    raise();
    activateWindow();
    // Typing goes where the page's work is: its list, or its box while nothing is listed.
    QListView* list = page == Page::Items ? m_itemList : m_fileList;
    QComboBox* box = page == Page::Items ? m_templateBox : m_fileBox;
    if (list->model()->rowCount() > 0) {
        // The keys act on the entry the list shows as current, so one is chosen.
        if (page == Page::Items && currentItem() < 0)
            selectItem(0);
        list->setFocus();
    } else {
        box->setFocus();
    }
}

// --- Display preferences -------------------------------------------------------------------------

namespace {

void showPanels(const QWidget* page, std::initializer_list<const char*> names, bool shown)
{
    for (const char* name : names)
        if (auto* panel = page->findChild<QWidget*>(QLatin1String(name)))
            panel->setVisible(shown);
}

} // namespace

void ClipBookWindow::setStatusBarShown(bool shown)
{
    if (auto* bar = findChild<QFrame*>(QStringLiteral("StatusBar1")))
        bar->setVisible(shown);
}

void ClipBookWindow::setItemToolBarsShown(bool shown)
{
    showPanels(m_itemPage, {"ClipPanel1", "Panel1"}, shown);
}

void ClipBookWindow::setFileToolBarsShown(bool shown)
{
    showPanels(m_filePage, {"Panel2", "FilePanel1"}, shown);
}

void ClipBookWindow::setTemplateAutoComplete(bool on)
{
    m_templateCompletes = on;
}

void ClipBookWindow::setFileAutoComplete(bool on)
{
    m_fileCompletes = on;
}

void ClipBookWindow::watchNameBox(QComboBox* box, const bool& completes)
{
    connect(box->lineEdit(), &QLineEdit::textEdited, this, [this, box, &completes](const QString& text) {
        if (completes && !m_updatingBoxes)
            completeLater(box, text);
    });
    // Keys come to the box, which hands them to its line edit past any filter of the edit's own.
    box->installEventFilter(this);
    box->lineEdit()->installEventFilter(this);
}

void ClipBookWindow::followCurrentRow(QAbstractItemView* list, void (ClipBookWindow::*showRow)())
{
    // A click makes the row current before it selects it: both changes are followed.
    connect(list->selectionModel(), &QItemSelectionModel::currentChanged, this,
            [this, showRow] { (this->*showRow)(); });
    connect(list->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            [this, showRow] { (this->*showRow)(); });
}

void ClipBookWindow::completeLater(QComboBox* box, const QString& typed)
{
    if (m_deleting || typed.isEmpty())
        return;
    // Once the key is over: the line edit is still acting on it while it tells of the edit.
    QTimer::singleShot(0, box, [this, box, typed] {
        if (box->lineEdit()->text() == typed)
            complete(box, typed);
    });
}

bool ClipBookWindow::complete(QComboBox* box, const QString& typed)
{
    const QStringList& names = box == m_templateBox ? m_templates.names : m_fileTemplates.names;
    const auto match = std::find_if(names.cbegin(), names.cend(), [&typed](const QString& name) {
        return name.startsWith(typed, Qt::CaseInsensitive);
    });
    if (match == names.cend())
        return false;
    // The listed name, its letter case included; the part not typed is selected, so that typing
    // on replaces it.
    box->lineEdit()->setText(*match);
    box->lineEdit()->setSelection(int(match->size()), int(typed.size() - match->size()));
    return true;
}

void ClipBookWindow::setItemViewFont(const QFont& font)
{
    m_itemList->setFont(font);
    m_itemNames->setFont(font);
    for (QWidget* w : std::initializer_list<QWidget*>{m_templateBox, m_itemName, m_itemText})
        w->setFont(font);
}

void ClipBookWindow::setFileViewFont(const QFont& font)
{
    m_fileList->setFont(font);
    m_paths->setFont(font);
    m_fileBox->setFont(font);
    m_filePath->setFont(font);
}

void ClipBookWindow::showEvent(QShowEvent* event)
{
    WindowBase::showEvent(event);
    setStatus(Panel::Information, QString());
}

QString ClipBookWindow::statusText(Panel panel) const
{
    return panel == Panel::Name ? m_statusName->text() : m_statusInformation->text();
}

void ClipBookWindow::setStatus(Panel panel, const QString& text)
{
    (panel == Panel::Name ? m_statusName : m_statusInformation)->setText(text);
}

void ClipBookWindow::showTemplateNames()
{
    const QString text = m_templates.selected >= 0 ? m_templates.selectedName() : m_templateBox->currentText();
    m_updatingBoxes = true;
    m_templateBox->clear();
    m_templateBox->addItems(m_templates.names);
    m_templateBox->setCurrentIndex(m_templates.selected);
    m_templateBox->setEditText(text.isEmpty() && m_templates.names.isEmpty() ? clipbook::UntitledName : text);
    m_updatingBoxes = false;
}

void ClipBookWindow::showFileTemplateNames()
{
    const QString text = m_fileTemplates.selected >= 0 ? m_fileTemplates.selectedName() : m_fileBox->currentText();
    m_updatingBoxes = true;
    m_fileBox->clear();
    m_fileBox->addItems(m_fileTemplates.names);
    m_fileBox->setCurrentIndex(m_fileTemplates.selected);
    m_fileBox->setEditText(text.isEmpty() && m_fileTemplates.names.isEmpty() ? clipbook::UntitledName : text);
    m_updatingBoxes = false;
}

void ClipBookWindow::storeNames()
{
    // A list of names changed: it goes to the settings file at once, as a closed window's would.
    SettingsStore* store = programStore();
    if (!store || !storage() || !storage()->hasRestored())
        return;
    PropertyCodec::writeStringList(*store, storage()->section() + QStringLiteral(".FileCombo1_Items"),
                                   m_fileTemplates.names);
    PropertyCodec::writeStringList(*store, storage()->section() + QStringLiteral(".TemplateComboBox1_Items"),
                                   m_templates.names);
    flushProgramStore();
}

bool ClipBookWindow::event(QEvent* event)
{
    // The long hint of what the mouse points at is shown on the status bar, as the main window's
    // is; when it points at nothing, the bar shows the current entry again.
    if (event->type() == QEvent::StatusTip) {
        const QString tip = static_cast<QStatusTipEvent*>(event)->tip();
        if (!tip.isEmpty())
            setStatus(Panel::Information, tip);
        else if (m_page == Page::Items)
            showItemInformation();
        else
            showFileInformation();
        return true;
    }
    return WindowBase::event(event);
}

void ClipBookWindow::keyPressEvent(QKeyEvent* event)
{
    const auto enter = [this] {
        QWidget* focused = focusWidget();
        if (focused == m_filePath)
            run(&ClipBookWindow::newFileEntry);
    };
    if (!handleDialogKey(event, enter, [this] { hide(); }))
        WindowBase::keyPressEvent(event);
}

bool ClipBookWindow::eventFilter(QObject* watched, QEvent* event)
{
    if ((watched == m_templateBox || watched == m_fileBox || watched == m_templateBox->lineEdit() ||
         watched == m_fileBox->lineEdit()) &&
        event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        // Backspace and Delete take letters away: completing would put them back.
        m_deleting = key == Qt::Key_Backspace || key == Qt::Key_Delete;
    }
    if ((watched == m_itemList || watched == m_fileList) && event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        if ((key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) &&
            !(key->modifiers() & ~Qt::KeypadModifier)) {
            // Enter acts on the row the list shows as current, chosen or not.
            auto* list = static_cast<QListView*>(watched);
            if (list->selectionModel()->selectedRows().isEmpty() && list->currentIndex().isValid())
                list->selectionModel()->select(list->currentIndex(), QItemSelectionModel::ClearAndSelect);
            run(watched == m_itemList ? &ClipBookWindow::insertItem : &ClipBookWindow::openFile);
            return true;
        }
    }
    if (watched == m_fileList->viewport()) {
        if (event->type() == QEvent::DragEnter || event->type() == QEvent::DragMove) {
            auto* drag = static_cast<QDropEvent*>(event);
            if (drag->mimeData()->hasUrls()) {
                drag->acceptProposedAction();
                return true;
            }
        } else if (event->type() == QEvent::Drop) {
            auto* drop = static_cast<QDropEvent*>(event);
            QStringList paths;
            for (const QUrl& url : drop->mimeData()->urls())
                if (url.isLocalFile())
                    paths << url.toLocalFile();
            drop->acceptProposedAction();
            runCommand([this, &paths] { addDroppedFiles(paths); });
            return true;
        }
    }
    return WindowBase::eventFilter(watched, event);
}

// --- Naming --------------------------------------------------------------------------------------

void ClipBookWindow::openNaming(Mode mode, const QString& currentName)
{
    TemplateNameDialog* dialog = m_host ? m_host->namingDialog() : nullptr;
    if (!dialog)
        throw CommandError(QStringLiteral("The naming window is not there."));
    dialog->execute(mode, currentName, [this, mode](const QString& name) { return acceptName(mode, name); });
    setStatus(Panel::Information, QString());
}

bool ClipBookWindow::acceptName(Mode mode, const QString& name)
{
    const bool files = mode == Mode::NewFileTemplate || mode == Mode::RenameFileTemplate;
    const bool renaming = mode == Mode::RenameTemplate || mode == Mode::RenameFileTemplate;
    clipbook::NameList& list = files ? m_fileTemplates : m_templates;
    const int listed = int(list.names.indexOf(name));
    // A listed name is another template's file: creating or renaming onto it would overwrite it.
    if (listed >= 0 && !(renaming && listed == list.selected)) {
        Prompts::current().warning(
            NameInUseTitle,
            QStringLiteral("There is already a %1 named \"%2\".\nPlease type another name.")
                .arg(files ? QStringLiteral("File Template") : QStringLiteral("ClipBook template"), name));
        return false;
    }
    try {
        const QString dir = programDirectory();
        clipbook::ensureFolder(dir, Kind::Template);
        clipbook::ensureFolder(dir, Kind::FileTemplate);
        const Kind kind = files ? Kind::FileTemplate : Kind::Template;
        if (renaming) {
            const QByteArray content = files ? clipbook::encodeFileTemplate(m_paths->rows(), m_fileTemplateEncoding)
                                             : clipbook::encodeTemplate(items(), m_templateEncoding);
            clipbook::rename(dir, kind, list, name, content);
        } else if (QFileInfo::exists(clipbook::filePath(dir, kind, name))) {
            // A file of that name left behind by a delete or a rename: it is not emptied unasked.
            const QString question =
                QStringLiteral("The %1 folder already holds a file for \"%2\", which is not listed.\n\nYes "
                               "replaces it with an empty %3; No lists it with what it holds.")
                    .arg(files ? QStringLiteral("ClipFiles") : QStringLiteral("ClipBook"), shortenedForMessage(name),
                         files ? QStringLiteral("File Template") : QStringLiteral("ClipBook template"));
            switch (Prompts::current().question(NameInUseTitle, question, Answer::No)) {
            case Answer::Yes:
                createEmpty(dir, kind, list, name);
                break;
            case Answer::No:
                list.names.append(name);
                list.selected = int(list.names.size() - 1);
                if (files)
                    loadFileTemplate(name, true);
                else
                    loadTemplate(name);
                break;
            case Answer::Cancel:
                return false;
            }
        } else {
            createEmpty(dir, kind, list, name);
        }
    } catch (const CommandError& error) {
        showCommandError(error);
        return false;
    }
    if (files) {
        showFileTemplateNames();
        setStatus(Panel::Name, m_fileTemplates.selectedName());
    } else {
        showTemplateNames();
        setStatus(Panel::Name, m_templates.selectedName());
    }
    storeNames();
    return true;
}

void ClipBookWindow::createEmpty(const QString& dir, Kind kind, clipbook::NameList& list, const QString& name)
{
    // A new template starts empty, in UTF-8.
    clipbook::create(dir, kind, list, name, {});
    if (kind == Kind::FileTemplate) {
        m_paths->setRows({});
        m_filePath->clear();
        m_fileTemplateEncoding = platform::TextEncoding::Utf8;
    } else {
        setItems({});
        m_templateEncoding = platform::TextEncoding::Utf8;
    }
}

// --- The item page -------------------------------------------------------------------------------

QString ClipBookWindow::templateBoxText() const
{
    return m_templateBox->currentText();
}

clipbook::Items ClipBookWindow::items() const
{
    return {m_itemNames->rows(), m_itemTexts};
}

int ClipBookWindow::currentItem() const
{
    const QModelIndexList selected = m_itemList->selectionModel()->selectedRows();
    return selected.isEmpty() ? -1 : selected.first().row();
}

void ClipBookWindow::selectItem(int row)
{
    if (row < 0 || row >= m_itemNames->rowCount()) {
        m_itemList->selectionModel()->clear();
        return;
    }
    const QModelIndex index = m_itemNames->index(row);
    m_itemList->selectionModel()->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect);
    m_itemList->scrollTo(index);
}

void ClipBookWindow::showItemInformation()
{
    const int row = currentItem();
    if (row < 0 || row >= m_itemTexts.size() || m_itemTexts.size() != m_itemNames->rowCount())
        return;
    m_itemName->setText(m_itemNames->rows().at(row));
    m_itemText->setText(m_itemTexts.at(row));
    setStatus(
        Panel::Information,
        QStringLiteral("%1. %2 Items.").arg(m_itemNames->rows().at(row), QString::number(m_itemNames->rowCount())));
}

void ClipBookWindow::showFileInformation()
{
    const int row = currentFile();
    if (row < 0)
        return;
    m_filePath->setText(m_paths->rows().at(row));
    setStatus(Panel::Information,
              QStringLiteral("%1. %2 Files.").arg(m_paths->rows().at(row), QString::number(m_paths->rowCount())));
}

void ClipBookWindow::setItems(const clipbook::Items& items)
{
    m_itemTexts = items.texts;
    m_itemNames->setRows(items.names);
    // Another template: nothing of the last one's item stays in the fields.
    m_itemName->clear();
    m_itemText->clear();
}

void ClipBookWindow::templateTextEdited(const QString& text)
{
    // A name typed that is listed counts as chosen.
    const int listed = int(m_templates.names.indexOf(text));
    if (listed != m_templates.selected && (listed >= 0 || m_templateBox->currentIndex() >= 0)) {
        m_templates.selected = listed;
        m_updatingBoxes = true;
        const int cursor = m_templateBox->lineEdit()->cursorPosition();
        m_templateBox->setCurrentIndex(listed);
        m_templateBox->setEditText(text);
        m_templateBox->lineEdit()->setCursorPosition(cursor);
        m_updatingBoxes = false;
    }
    loadTemplate(text);
}

void ClipBookWindow::loadTemplate(const QString& name)
{
    setItems({});
    // A template without a file yet is written as UTF-8.
    m_templateEncoding = platform::TextEncoding::Utf8;
    if (!m_host)
        return;
    const std::optional<clipbook::TemplateFile> loaded =
        clipbook::loadTemplate(programDirectory(), name, m_host->legacyEncoding());
    if (!loaded)
        return;
    m_templateEncoding = loaded->encoding;
    setStatus(Panel::Name, m_templates.selectedName());
    setItems(loaded->items);
    if (loaded->items.size() > 0) {
        selectItem(0);
        showItemInformation();
    }
}

void ClipBookWindow::saveTemplate()
{
    const QString dir = programDirectory();
    const QString shown = templateBoxText();
    if (shown.isEmpty())
        throw CommandError(QStringLiteral("The ClipBook template has no name: type one in its box or choose one from "
                                          "its list, then save again."));
    const int listed = int(m_templates.names.indexOf(shown));
    if (listed >= 0) {
        clipbook::saveTemplate(dir, shown, items(), m_templateEncoding);
        if (listed != m_templates.selected) {
            m_templates.selected = listed;
            showTemplateNames();
        }
        return;
    }
    // A name typed but not chosen is a new template, listed as a create would list it.
    clipbook::create(dir, Kind::Template, m_templates, shown, clipbook::encodeTemplate(items(), m_templateEncoding));
    showTemplateNames();
    setStatus(Panel::Name, shown);
    storeNames();
}

void ClipBookWindow::addItem(const QString& name, const QString& text)
{
    m_itemTexts.append(text);
    m_itemNames->append(name);
    saveTemplate();
}

void ClipBookWindow::newTemplate()
{
    openNaming(Mode::NewTemplate, {});
}

void ClipBookWindow::renameTemplate()
{
    openNaming(Mode::RenameTemplate, m_templates.selected >= 0 ? m_templates.selectedName() : templateBoxText());
}

void ClipBookWindow::deleteTemplate()
{
    const bool emptied = clipbook::remove(programDirectory(), Kind::Template, m_templates);
    clipbook::ensureFolder(programDirectory(), Kind::FileTemplate);
    storeNames();
    showTemplateNames();
    m_templateBox->setEditText(clipbook::UntitledName);
    if (emptied) {
        setItems({});
    } else {
        loadTemplate(clipbook::UntitledName);
    }
    setStatus(Panel::Name, clipbook::UntitledName);
    setStatus(Panel::Information, QString());
}

void ClipBookWindow::pasteToDocument()
{
    const int row = currentItem();
    if (row < 0) {
        platform::beep();
        return;
    }
    if (m_host)
        m_host->replaceDocumentSelection(m_itemTexts.at(row));
}

void ClipBookWindow::insertItem()
{
    const int row = currentItem();
    if (row >= 0 && m_host)
        m_host->insertBeforeDocumentSelection(m_itemTexts.at(row));
}

void ClipBookWindow::copyToClipboard()
{
    const int row = currentItem();
    if (row < 0)
        return;
    QApplication::clipboard()->setText(m_itemNames->rows().at(row) + QLatin1Char(',') + m_itemTexts.at(row));
}

void ClipBookWindow::newItem()
{
    m_itemTexts.append(m_itemText->text());
    m_itemNames->append(m_itemName->text());
    selectItem(m_itemNames->rowCount() - 1);
    saveTemplate();
}

void ClipBookWindow::addFromDocument()
{
    const clipbook::Item item = clipbook::splitTemplateLine(m_host ? m_host->selectedDocumentText() : QString());
    addItem(item.name, item.text);
}

void ClipBookWindow::addFromClipboard()
{
    const QString text = QApplication::clipboard()->text();
    addItem(text, text);
}

void ClipBookWindow::editItem()
{
    const int row = currentItem();
    if (row < 0)
        return;
    m_itemTexts[row] = m_itemText->text();
    m_itemNames->replace(row, m_itemName->text());
    saveTemplate();
    showItemInformation();
}

void ClipBookWindow::removeItem()
{
    const int row = currentItem();
    if (row < 0)
        return;
    // The texts go first: while the name goes, the view moves its current row and the fields
    // are not to show a name beside another item's text.
    m_itemTexts.removeAt(row);
    m_itemNames->removeAt(row);
    saveTemplate();
    selectItem(m_itemNames->rowCount() - 1);
    showItemInformation();
}

void ClipBookWindow::openTemplateAsDocument()
{
    if (m_host)
        m_host->openDocument(clipbook::filePath(programDirectory(), Kind::Template, templateBoxText()));
}

void ClipBookWindow::importTemplate(const QString& sourcePath)
{
    // What the box shows is kept first: a listed template, or items not saved under any name
    // yet (an empty box, or an unlisted name with nothing in it, has nothing to keep).
    const QString shown = templateBoxText();
    if (!shown.isEmpty() && (m_templates.names.contains(shown) || m_itemNames->rowCount() > 0))
        saveTemplate();
    clipbook::import(programDirectory(), Kind::Template, m_templates, sourcePath);
    storeNames();
    showTemplateNames();
    loadTemplate(m_templates.selectedName());
}

// --- The file page -------------------------------------------------------------------------------

QString ClipBookWindow::fileBoxText() const
{
    return m_fileBox->currentText();
}

QStringList ClipBookWindow::filePaths() const
{
    return m_paths->rows();
}

int ClipBookWindow::currentFile() const
{
    const QModelIndexList selected = m_fileList->selectionModel()->selectedRows();
    return selected.isEmpty() ? -1 : selected.first().row();
}

void ClipBookWindow::selectFile(int row)
{
    if (row < 0 || row >= m_paths->rowCount()) {
        m_fileList->selectionModel()->clear();
        return;
    }
    const QModelIndex index = m_paths->index(row);
    m_fileList->selectionModel()->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect);
    m_fileList->scrollTo(index);
}

void ClipBookWindow::fileTemplateChosen(int index)
{
    m_fileTemplates.selected = index;
    loadFileTemplate(m_fileTemplates.selectedName(), true);
}

void ClipBookWindow::fileTemplateLeft()
{
    const QString typed = fileBoxText();
    const int listed = int(m_fileTemplates.names.indexOf(typed));
    if (listed >= 0 && listed != m_fileTemplates.selected) {
        m_fileTemplates.selected = listed;
        showFileTemplateNames();
    }
    loadFileTemplate(typed, false);
}

void ClipBookWindow::loadFileTemplate(const QString& name, bool fromChange)
{
    if (!m_host)
        return;
    const std::optional<clipbook::FileTemplateFile> loaded =
        clipbook::loadFileTemplate(programDirectory(), name, m_host->legacyEncoding());
    if (!loaded)
        return;
    m_fileTemplateEncoding = loaded->encoding;
    m_paths->setRows(loaded->paths);
    m_filePath->clear();
    setStatus(Panel::Name, m_fileTemplates.selectedName());
    if (fromChange)
        setStatus(Panel::Information, QString());
}

void ClipBookWindow::saveFileTemplate()
{
    const QString dir = programDirectory();
    const QString shown = fileBoxText();
    if (shown.isEmpty())
        throw CommandError(QStringLiteral("The File Template has no name: type one in its box or choose one from its "
                                          "list, then save again."));
    const int listed = int(m_fileTemplates.names.indexOf(shown));
    if (listed >= 0) {
        clipbook::saveFileTemplate(dir, shown, m_paths->rows(), m_fileTemplateEncoding);
        if (listed != m_fileTemplates.selected) {
            m_fileTemplates.selected = listed;
            showFileTemplateNames();
        }
        return;
    }
    clipbook::create(dir, Kind::FileTemplate, m_fileTemplates, shown,
                     clipbook::encodeFileTemplate(m_paths->rows(), m_fileTemplateEncoding));
    showFileTemplateNames();
    setStatus(Panel::Name, shown);
    storeNames();
}

void ClipBookWindow::newFileTemplate()
{
    openNaming(Mode::NewFileTemplate, {});
}

void ClipBookWindow::renameFileTemplate()
{
    openNaming(Mode::RenameFileTemplate,
               m_fileTemplates.selected >= 0 ? m_fileTemplates.selectedName() : fileBoxText());
}

void ClipBookWindow::deleteFileTemplate()
{
    const bool emptied = clipbook::remove(programDirectory(), Kind::FileTemplate, m_fileTemplates);
    storeNames();
    showFileTemplateNames();
    m_fileBox->setEditText(clipbook::UntitledName);
    if (emptied)
        m_paths->setRows({});
    else
        loadFileTemplate(clipbook::UntitledName, true);
    setStatus(Panel::Name, clipbook::UntitledName);
    setStatus(Panel::Information, QString());
}

void ClipBookWindow::openFile()
{
    const int row = currentFile();
    if (row < 0) {
        platform::beep();
        return;
    }
    if (m_host)
        m_host->openDocument(m_paths->rows().at(row));
}

void ClipBookWindow::openAllFiles()
{
    if (m_host && m_paths->rowCount() > 0)
        m_host->openDocuments(m_paths->rows());
}

void ClipBookWindow::newFileEntry()
{
    m_paths->append(m_filePath->text());
    selectFile(m_paths->rowCount() - 1);
    saveFileTemplate();
}

void ClipBookWindow::addFiles()
{
    if (!m_host)
        return;
    addDroppedFiles(m_host->chooseFilesToAdd());
}

void ClipBookWindow::addDroppedFiles(const QStringList& paths)
{
    if (paths.isEmpty())
        return;
    for (const QString& path : paths)
        m_paths->append(path);
    selectFile(m_paths->rowCount() - 1);
    saveFileTemplate();
}

void ClipBookWindow::removeFileEntry()
{
    const int row = currentFile();
    if (row < 0)
        return;
    m_paths->removeAt(row);
    saveFileTemplate();
    selectFile(m_paths->rowCount() - 1);
}

void ClipBookWindow::openFileTemplateAsDocument()
{
    if (m_host)
        m_host->openDocument(clipbook::filePath(programDirectory(), Kind::FileTemplate, fileBoxText()));
}

void ClipBookWindow::addFilePath(const QString& path)
{
    m_paths->append(path);
    saveFileTemplate();
}

void ClipBookWindow::importFileTemplate(const QString& sourcePath)
{
    clipbook::import(programDirectory(), Kind::FileTemplate, m_fileTemplates, sourcePath);
    storeNames();
    showFileTemplateNames();
    loadFileTemplate(m_fileTemplates.selectedName(), true);
}

std::optional<QString> ClipBookWindow::stepToFile(clipbook::Step step)
{
    const std::optional<int> row = clipbook::stepTo(step, currentFile(), m_paths->rowCount());
    if (!row) {
        if (step != clipbook::Step::Current)
            selectFile(-1);
        return std::nullopt;
    }
    selectFile(*row);
    return m_paths->rows().at(*row);
}
