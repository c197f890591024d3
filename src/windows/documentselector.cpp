#include "windows/documentselector.h"

#include "core/commandguard.h"
#include "settings/propertycodec.h"
#include "settings/storedprops.h"
#include "windows/readabletext.h"

#include <QAction>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QStatusTipEvent>
#include <QStyle>
#include <QTimer>
#include <QToolButton>
#include <QVBoxLayout>

#include <utility>

using namespace PropertyCodec;

namespace {
constexpr int CountPanelWidth = 150;
} // namespace

DocumentSelector::~DocumentSelector() = default;

DocumentSelector::DocumentSelector(QWidget* parent)
    : WindowBase(QStringLiteral("DocSel1"), QStringLiteral("Document Selector"), QSize(214, 197), false, parent,
                 {QStringLiteral("Document Selector"),
                  WindowSettings::ShowState | WindowSettings::Position | WindowSettings::FocusedControl})
{
    // Kept above the main window as a window of its own (a dialog rather than a tool window, so
    // its keys do not clash with the main window's); "Keep On-Top" puts it above every window.
    if (parent)
        setWindowFlags((windowFlags() & ~Qt::WindowType_Mask) | Qt::Dialog);

    m_toolPanel = new QWidget(this);
    m_toolPanel->setObjectName(QStringLiteral("ToolPanel1"));
    auto* bar = new QHBoxLayout(m_toolPanel);
    bar->setContentsMargins(2, 2, 2, 2);
    bar->setSpacing(1);
    auto host = [this](void (DocumentSelectorHost::*request)()) { return [this, request] { askHost(request); }; };
    bar->addWidget(addButton("SpeedButton1", QStyle::SP_DialogApplyButton, QStringLiteral("Goto Document"),
                             [this] { goToSelected(); }));
    bar->addWidget(addButton("SpeedButton3", QStyle::SP_FileIcon, QStringLiteral("Create a New Document"),
                             host(&DocumentSelectorHost::newDocument)));
    bar->addWidget(addButton("SpeedButton4", QStyle::SP_DialogDiscardButton, QStringLiteral("Close Document"),
                             host(&DocumentSelectorHost::closeDocument)));
    bar->addWidget(addButton("SpeedButton5", QStyle::SP_ArrowLeft, QStringLiteral("Goto Previous Document"),
                             host(&DocumentSelectorHost::previousDocument)));
    bar->addWidget(addButton("SpeedButton6", QStyle::SP_ArrowRight, QStringLiteral("Goto Next Document"),
                             host(&DocumentSelectorHost::nextDocument)));
    bar->addWidget(addButton("SpeedButton2", QStyle::SP_TitleBarShadeButton, QStringLiteral("Hide ToolBar"),
                             [this] { hideToolBar(); }));
    // The close button keeps to the right edge whatever the window's width.
    bar->addStretch(1);
    bar->addWidget(addButton("DelBtn1", QStyle::SP_TitleBarCloseButton, QStringLiteral("Close Document Slector"),
                             [this] { closeSelector(); }));

    m_documentList = new QListWidget(this);
    m_documentList->setObjectName(QStringLiteral("ListBox1"));
    m_documentList->setAccessibleName(QStringLiteral("Documents"));
    QFont font(QStringLiteral("Courier New"));
    font.setStyleHint(QFont::Monospace);
    m_documentList->setFont(font);
    keepTextReadable(m_documentList, QColor(128, 0, 128));
    m_documentList->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(m_documentList, &QListWidget::itemDoubleClicked, this, [this] { goToSelected(); });

    m_statusBar = new QWidget(this);
    m_statusBar->setObjectName(QStringLiteral("StatusBar1"));
    auto* panels = new QHBoxLayout(m_statusBar);
    panels->setContentsMargins(2, 1, 2, 1);
    panels->setSpacing(2);
    m_hintPanel = new QLabel(m_statusBar);
    m_hintPanel->setAlignment(Qt::AlignCenter);
    m_hintPanel->setFrameShape(QFrame::Panel);
    m_hintPanel->setFrameShadow(QFrame::Sunken);
    m_hintPanel->setMinimumWidth(1);
    m_countPanel = new QLabel(m_statusBar);
    m_countPanel->setFrameShape(QFrame::Panel);
    m_countPanel->setFrameShadow(QFrame::Sunken);
    m_countPanel->setFixedWidth(CountPanelWidth);
    // Panel 0 takes what panel 1 leaves of the width.
    panels->addWidget(m_hintPanel, 1);
    panels->addWidget(m_countPanel);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(m_toolPanel);
    layout->addWidget(m_documentList, 1);
    layout->addWidget(m_statusBar);

    m_menu = new QMenu(this);
    m_menu->setObjectName(QStringLiteral("PopupMenu1"));
    auto entry = [this](const char* name, const QString& caption, std::function<void()> command) {
        QAction* action = m_menu->addAction(caption, this, std::move(command));
        action->setObjectName(QLatin1String(name));
        return action;
    };
    entry("CloseDocument1", QStringLiteral("&Close Document"), [this] {
        // The entry a right click highlighted is the one closed: it becomes current first.
        if (!m_host)
            return;
        const int row = std::exchange(m_menuRow, -1);
        runCommand([this, row] {
            if (row >= 0)
                m_host->goToDocument(row);
            m_host->closeDocument();
        });
    });
    m_menu->addSeparator();
    entry("GotoDocument1", QStringLiteral("&Goto Document"), [this] { goToSelected(); });
    m_menu->addSeparator();
    entry("CloseDocumentSelector1", QStringLiteral("Close &Document Selector"), [this] { closeSelector(); });
    m_menu->addSeparator();
    m_showToolBar = entry("ShowToolBar1", QStringLiteral("&Show ToolBar"), [this] { showToolBar(); });
    m_hideToolBar = entry("HideToolBar1", QStringLiteral("&Hide ToolBar"), [this] { hideToolBar(); });
    // As designed, a first start offers "Show ToolBar" only, though the tool bar is shown.
    m_hideToolBar->setVisible(false);
    connect(m_documentList, &QWidget::customContextMenuRequested, this, [this](const QPoint& pos) {
        QListWidgetItem* item = m_documentList->itemAt(pos);
        m_menuRow = item ? m_documentList->row(item) : -1;
        if (item)
            m_documentList->setCurrentItem(item);
        m_menu->popup(m_documentList->viewport()->mapToGlobal(pos));
    });
    setContextMenuPolicy(Qt::CustomContextMenu);
    connect(this, &QWidget::customContextMenuRequested, this, [this](const QPoint& pos) {
        m_menuRow = -1;
        m_menu->popup(mapToGlobal(pos));
    });

    m_countTimer = new QTimer(this);
    m_countTimer->setObjectName(QStringLiteral("Timer1"));
    m_countTimer->setInterval(100);
    connect(m_countTimer, &QTimer::timeout, this, [this] { refreshCount(); });
    refreshCount();

    using namespace storedprops;
    WindowSettings& s = *storage();
    addFont(
        s, QStringLiteral("ToolPanel1.Font"), [this] { return m_toolPanelFont; },
        [this](const StoredFont& f) {
            m_toolPanelFont = f;
            m_toolPanel->setFont(fontFromStored(f));
        });
    addBool(
        s, QStringLiteral("StatusBar1.Visible"), [this] { return !m_statusBar->isHidden(); },
        [this](bool v) { m_statusBar->setVisible(v); });
    addBool(
        s, QStringLiteral("ShowToolBar1.Visible"), [this] { return m_showToolBar->isVisible(); },
        [this](bool v) { m_showToolBar->setVisible(v); });
    addBool(
        s, QStringLiteral("HideToolBar1.Visible"), [this] { return m_hideToolBar->isVisible(); },
        [this](bool v) { m_hideToolBar->setVisible(v); });
    addBool(
        s, QStringLiteral("ToolPanel1.Visible"), [this] { return !m_toolPanel->isHidden(); },
        [this](bool v) { m_toolPanel->setVisible(v); });
}

QToolButton* DocumentSelector::addButton(const char* name, int icon, const QString& hint, std::function<void()> command)
{
    auto* button = new QToolButton(m_toolPanel);
    button->setObjectName(QLatin1String(name));
    button->setIcon(style()->standardIcon(static_cast<QStyle::StandardPixmap>(icon)));
    button->setAutoRaise(true);
    button->setFixedSize(25, 25);
    // The hints have no tooltip part: the status bar shows them.
    button->setStatusTip(hint);
    button->setAccessibleName(hint);
    button->setFocusPolicy(Qt::NoFocus);
    connect(button, &QToolButton::clicked, this, std::move(command));
    return button;
}

void DocumentSelector::askHost(void (DocumentSelectorHost::*request)())
{
    if (m_host)
        runCommand([this, request] { (m_host->*request)(); });
}

void DocumentSelector::setDocuments(const QStringList& captions, int selected)
{
    m_documentList->clear();
    m_documentList->addItems(captions);
    m_documentList->setCurrentRow(selected);
}

QStringList DocumentSelector::documents() const
{
    QStringList items;
    for (int i = 0; i < m_documentList->count(); ++i)
        items.append(m_documentList->item(i)->text());
    return items;
}

int DocumentSelector::selectedIndex() const
{
    return m_documentList->currentRow();
}

void DocumentSelector::goToSelected()
{
    // With no entry selected there is no tab to go to.
    const int index = selectedIndex();
    if (index < 0 || !m_host)
        return;
    runCommand([this, index] { m_host->goToDocument(index); });
}

void DocumentSelector::showToolBar()
{
    m_toolPanel->show();
    m_showToolBar->setVisible(false);
    m_hideToolBar->setVisible(true);
}

void DocumentSelector::hideToolBar()
{
    m_toolPanel->hide();
    m_showToolBar->setVisible(true);
    m_hideToolBar->setVisible(false);
}

void DocumentSelector::setStatusBarShown(bool shown)
{
    m_statusBar->setVisible(shown);
}

void DocumentSelector::setListFont(const QFont& font)
{
    m_documentList->setFont(font);
}

QString DocumentSelector::countText() const
{
    const int count = m_documentList->count();
    return QString::number(count) + (count == 1 ? QStringLiteral(" Document Open") : QStringLiteral(" Documents Open"));
}

void DocumentSelector::refreshCount()
{
    const QString text = countText();
    if (m_countPanel->text() != text)
        m_countPanel->setText(text);
}

bool DocumentSelector::event(QEvent* event)
{
    // The count is looked at only while it can be seen: a hidden selector costs no wake-ups.
    if (event->type() == QEvent::Show) {
        refreshCount();
        m_countTimer->start();
    } else if (event->type() == QEvent::Hide) {
        m_countTimer->stop();
    }
    if (event->type() == QEvent::StatusTip) {
        m_hintPanel->setText(static_cast<QStatusTipEvent*>(event)->tip());
        return true;
    }
    return WindowBase::event(event);
}

void DocumentSelector::keyPressEvent(QKeyEvent* event)
{
    // Enter goes to the selected document, Esc closes the selector.
    if (!handleDialogKey(
            event, [this] { goToSelected(); }, [this] { closeSelector(); }))
        WindowBase::keyPressEvent(event);
}

void DocumentSelector::showEvent(QShowEvent* event)
{
    WindowBase::showEvent(event);
    m_documentList->setFocus();
}
