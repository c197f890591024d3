#include "windows/tipwindow.h"

#include "platform/platform.h"
#include "settings/storedprops.h"

#include <QCheckBox>
#include <QFrame>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QShowEvent>
#include <QStyle>
#include <QVBoxLayout>

TipOfTheDayWindow::TipOfTheDayWindow(QWidget* parent)
    : WindowBase(QStringLiteral("TipForm1"), QStringLiteral("Quillet Tips"), QSize(441, 268), true, parent,
                 {QStringLiteral("Tips"), WindowSettings::ShowState | WindowSettings::Position},
                 captionmath::GradientMode::Smart)
{
    setWindowFlag(Qt::WindowStaysOnTopHint);

    auto* welcome = new QLabel(QStringLiteral("Welcome to"), this);
    welcome->setObjectName(QStringLiteral("Label1"));
    auto* name = new QLabel(QStringLiteral("Quillet"), this);
    name->setObjectName(QStringLiteral("Label2"));
    QFont big = name->font();
    big.setPointSizeF(big.pointSizeF() * 1.8);
    big.setBold(true);
    name->setFont(big);
    auto* version = new QLabel(QStringLiteral("v4.6"), this);
    version->setObjectName(QStringLiteral("Label3"));

    m_panel = new QFrame(this);
    m_panel->setObjectName(QStringLiteral("Panel1"));
    m_panel->setFrameShape(QFrame::StyledPanel);
    m_panel->setAutoFillBackground(true);
    QPalette yellow = m_panel->palette();
    yellow.setColor(QPalette::Window, QColor(255, 255, 225));
    yellow.setColor(QPalette::Base, QColor(255, 255, 225));
    yellow.setColor(QPalette::WindowText, Qt::black);
    yellow.setColor(QPalette::Text, Qt::black);
    m_panel->setPalette(yellow);
    auto* picture = new QLabel(m_panel);
    picture->setObjectName(QStringLiteral("Image1"));
    picture->setPixmap(style()->standardIcon(QStyle::SP_MessageBoxInformation).pixmap(32, 32));
    auto* didYouKnow = new QLabel(QStringLiteral("Did you know..."), m_panel);
    didYouKnow->setObjectName(QStringLiteral("Label4"));
    QFont bold = didYouKnow->font();
    bold.setBold(true);
    didYouKnow->setFont(bold);
    m_tipText = new QPlainTextEdit(m_panel);
    m_tipText->setObjectName(QStringLiteral("TipText"));
    m_tipText->setReadOnly(true);
    m_tipText->setFrameShape(QFrame::NoFrame);
    m_tipText->setFocusPolicy(Qt::NoFocus);
    m_tipText->setPalette(yellow);

    m_list = new QListWidget(this);
    m_list->setObjectName(QStringLiteral("Tips"));
    m_list->setAccessibleName(QStringLiteral("Tips"));
    // Tips are sentences: each is shown whole, wrapped, rather than cut at the list's edge.
    m_list->setWordWrap(true);
    m_list->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_list->setAlternatingRowColors(true);
    m_edit = new QLineEdit(this);
    m_edit->setObjectName(QStringLiteral("Edit1"));
    m_edit->setAccessibleName(QStringLiteral("New tip"));
    m_edit->setPlaceholderText(QStringLiteral("Type a tip, then Add Tip or Enter"));

    m_showAtStart = new QCheckBox(QStringLiteral("Show this dialog box next time"), this);
    m_showAtStart->setObjectName(QStringLiteral("ShowAtStart"));
    m_showAtStart->setChecked(true);

    m_closeButton = new QPushButton(QStringLiteral("&Close"), this);
    m_closeButton->setObjectName(QStringLiteral("OK"));
    m_closeButton->setDefault(true);
    m_nextButton = new QPushButton(QStringLiteral("Next"), this);
    m_nextButton->setObjectName(QStringLiteral("Next"));
    m_addButton = new QPushButton(QStringLiteral("&Add Tip"), this);
    m_addButton->setObjectName(QStringLiteral("AddTip"));
    m_removeButton = new QPushButton(QStringLiteral("Remove Tip"), this);
    m_removeButton->setObjectName(QStringLiteral("RemTip"));

    auto* title = new QHBoxLayout;
    title->addWidget(welcome, 0, Qt::AlignBottom);
    title->addWidget(name, 0, Qt::AlignBottom);
    title->addWidget(version, 0, Qt::AlignBottom);
    title->addStretch();
    auto* panelHead = new QHBoxLayout;
    panelHead->addWidget(picture);
    panelHead->addWidget(didYouKnow, 1);
    auto* panelLayout = new QVBoxLayout(m_panel);
    panelLayout->addLayout(panelHead);
    panelLayout->addWidget(m_tipText, 1);
    auto* left = new QVBoxLayout;
    left->addLayout(title);
    left->addWidget(m_panel, 1);
    left->addWidget(m_list, 1);
    left->addWidget(m_edit);
    left->addWidget(m_showAtStart);
    auto* buttons = new QVBoxLayout;
    for (QPushButton* button : {m_closeButton, m_nextButton, m_addButton, m_removeButton})
        buttons->addWidget(button);
    buttons->addStretch();
    auto* layout = new QHBoxLayout(this);
    layout->addLayout(left, 1);
    layout->addLayout(buttons);

    connect(m_closeButton, &QPushButton::clicked, this, &TipOfTheDayWindow::pressClose);
    connect(m_nextButton, &QPushButton::clicked, this, &TipOfTheDayWindow::pickTip);
    connect(m_addButton, &QPushButton::clicked, this, &TipOfTheDayWindow::pressAddTip);
    connect(m_removeButton, &QPushButton::clicked, this, &TipOfTheDayWindow::pressRemoveTip);
    // A tip clicked or chosen with the keys in the list is copied into the input field.
    connect(m_list, &QListWidget::currentRowChanged, this, [this](int row) {
        if (m_list->hasFocus() && row >= 0 && row < m_store.count())
            m_edit->setText(m_store.tips().at(row));
    });

    setEditing(false);
    setTips(m_store.tips());

    using namespace storedprops;
    WindowSettings& s = *storage();
    addBool(
        s, QStringLiteral("ShowAtStart.Checked"), [this] { return showAtStart(); },
        [this](bool on) { setShowAtStart(on); });
    addStringList(
        s, QStringLiteral("Tips.Items"), [this] { return m_store.tips(); },
        [this](const QStringList& tips) { setTips(tips); });
}

TipOfTheDayWindow::~TipOfTheDayWindow() = default;

bool TipOfTheDayWindow::showAtStart() const
{
    return m_showAtStart->isChecked();
}

void TipOfTheDayWindow::setShowAtStart(bool on)
{
    m_showAtStart->setChecked(on);
}

void TipOfTheDayWindow::setTips(const QStringList& tips)
{
    // As the window is made: an empty list leaves nothing to go on to.
    m_store.setTips(tips);
    fillList();
    m_nextButton->setEnabled(!tips.isEmpty());
    pickTip();
}

QString TipOfTheDayWindow::shownTip() const
{
    return m_tipText->toPlainText();
}

void TipOfTheDayWindow::fillList()
{
    m_list->clear();
    m_list->addItems(m_store.tips());
}

void TipOfTheDayWindow::pickTip()
{
    QString tip;
    const bool found = m_store.pick(tip);
    m_tipText->setPlainText(tip);
    if (!found)
        platform::beep();
}

void TipOfTheDayWindow::showAfterMainWindowShown()
{
    if (showAtStart())
        showTip();
}

void TipOfTheDayWindow::showTip()
{
    show();
    raise();
    activateWindow();
}

void TipOfTheDayWindow::showEvent(QShowEvent* event)
{
    WindowBase::showEvent(event);
    if (event->spontaneous())
        return;
    if (m_store.count() == 0) {
        m_store.ensureNotEmpty();
        fillList();
    }
    pickTip();
    if (m_editing)
        m_edit->setFocus();
    else
        m_closeButton->setFocus();
}

void TipOfTheDayWindow::setEditing(bool on)
{
    m_editing = on;
    m_panel->setVisible(!on);
    m_list->setVisible(on);
    m_removeButton->setVisible(on);
    m_edit->setVisible(on);
}

void TipOfTheDayWindow::pressClose()
{
    if (!m_editing) {
        close();
        return;
    }
    setEditing(false);
    m_nextButton->setEnabled(m_store.count() > 1);
    m_closeButton->setFocus();
}

void TipOfTheDayWindow::pressAddTip()
{
    if (!m_editing) {
        setEditing(true);
        m_nextButton->setEnabled(false);
        m_edit->setFocus();
        return;
    }
    // Whatever is typed becomes a tip, an empty one included.
    m_store.add(m_edit->text());
    m_list->addItem(m_edit->text());
    // The new tip is seen where it went, at the end.
    m_list->scrollToItem(m_list->item(m_list->count() - 1));
    m_edit->clear();
    m_edit->setFocus();
}

void TipOfTheDayWindow::pressRemoveTip()
{
    const int row = m_list->currentRow();
    if (!m_list->currentItem() || !m_list->currentItem()->isSelected() || !m_store.remove(row))
        return;
    delete m_list->takeItem(row);
    // The list would select the next tip at once, and a second press would remove that one too.
    m_list->setCurrentItem(nullptr);
    m_list->clearSelection();
}

void TipOfTheDayWindow::keyPressEvent(QKeyEvent* event)
{
    // Enter in the input field adds what was typed; Esc works as "&Close": it leaves edit mode
    // first, then closes.
    if (m_edit->hasFocus() && (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter)) {
        pressAddTip();
        return;
    }
    if (!handleDialogKey(
            event, [this] { pressClose(); }, [this] { pressClose(); }))
        WindowBase::keyPressEvent(event);
}
