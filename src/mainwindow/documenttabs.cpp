#include "mainwindow/documenttabs.h"

#include "core/colourcontrast.h"
#include "editor/editorview.h"

#include <QMouseEvent>
#include <QPainter>
#include <QStyleOptionTab>
#include <QStylePainter>
#include <QVBoxLayout>

#include <utility>

namespace {
constexpr int PictureSize = 16;
constexpr int PictureLeft = 6;
constexpr qsizetype MaxKeptWidths = 65536;
} // namespace

DocumentTabBar::DocumentTabBar(QWidget* parent) : QTabBar(parent)
{
    setObjectName(QStringLiteral("TabControl1"));
    setMouseTracking(true);
    setExpanding(false);
    setDrawBase(true);
    setUsesScrollButtons(true);
    setElideMode(Qt::ElideNone);
    m_selectedFont = QFont(QStringLiteral("MS Sans Serif"));
    m_selectedFont.setStyleHint(QFont::SansSerif);
    m_selectedFont.setPixelSize(11);
}

void DocumentTabBar::setPicture(int index, int picture)
{
    if (index < 0 || index >= m_states.size() || m_states[index].picture == picture)
        return;
    m_states[index].picture = picture;
    update(tabRect(index));
}

int DocumentTabBar::picture(int index) const
{
    return index >= 0 && index < m_states.size() ? m_states[index].picture : UnmodifiedPicture;
}

QPixmap DocumentTabBar::pictureImage(int picture)
{
    // A sheet of paper; the modified picture carries a red pen mark.
    QPixmap pixmap(PictureSize, PictureSize);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QColor(70, 70, 70));
    p.setBrush(Qt::white);
    p.drawRect(QRectF(2.5, 1.5, 10, 13));
    p.setPen(QColor(150, 150, 150));
    for (int y = 4; y <= 12; y += 3)
        p.drawLine(QPointF(4.5, y + 0.5), QPointF(10.5, y + 0.5));
    if (picture == 1) {
        p.setPen(QPen(QColor(200, 20, 20), 2.5));
        p.drawLine(QPointF(8, 13), QPointF(14, 7));
    }
    return pixmap;
}

int DocumentTabBar::captionWidth(const QString& caption, bool selected) const
{
    if (!selected)
        return QFontMetrics(font()).horizontalAdvance(caption);
    if (const auto known = m_selectedWidths.constFind(caption); known != m_selectedWidths.cend())
        return *known;
    // Captions of closed documents are not worth keeping for ever.
    if (m_selectedWidths.size() >= MaxKeptWidths)
        m_selectedWidths.clear();
    const int width = QFontMetrics(m_selectedFont).horizontalAdvance(caption);
    m_selectedWidths.insert(caption, width);
    return width;
}

QSize DocumentTabBar::tabSizeHint(int index) const
{
    // The style's height of a tab depends on the font, not on the caption.
    if (m_tabHeight < 0)
        m_tabHeight = qMax(QTabBar::tabSizeHint(index).height(), PictureSize + 8);
    int width = 0;
    if (index == currentIndex()) {
        width = captionWidth(tabText(index), true);
    } else if (index < m_states.size()) {
        // A tab being added is measured before tabInserted() makes room for it.
        int& known = m_states[index].captionWidth;
        if (known < 0)
            known = captionWidth(tabText(index), false);
        width = known;
    } else {
        width = captionWidth(tabText(index), false);
    }
    return QSize(PictureLeft + PictureSize + 8 + width + 12, m_tabHeight);
}

void DocumentTabBar::tabInserted(int index)
{
    m_states.insert(qBound(0, index, int(m_states.size())), TabState());
    QTabBar::tabInserted(index);
}

void DocumentTabBar::tabRemoved(int index)
{
    if (index >= 0 && index < m_states.size())
        m_states.remove(index);
    QTabBar::tabRemoved(index);
}

void DocumentTabBar::setCaption(int index, const QString& caption)
{
    if (index >= 0 && index < m_states.size())
        m_states[index].captionWidth = -1;
    setTabText(index, caption);
}

void DocumentTabBar::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::FontChange || event->type() == QEvent::StyleChange) {
        for (TabState& state : m_states)
            state.captionWidth = -1;
        m_selectedWidths.clear();
        m_tabHeight = -1;
    }
    QTabBar::changeEvent(event);
}

void DocumentTabBar::paintEvent(QPaintEvent* event)
{
    QStylePainter painter(this);
    if (m_pictures[0].isNull()) {
        m_pictures[UnmodifiedPicture] = pictureImage(UnmodifiedPicture);
        m_pictures[ModifiedPicture] = pictureImage(ModifiedPicture);
    }
    for (int i = 0; i < count(); ++i) {
        // Only the tabs in the damaged area: a strip may hold thousands.
        if (!tabRect(i).intersects(event->rect()))
            continue;
        QStyleOptionTab option;
        initStyleOption(&option, i);
        option.text.clear();
        option.icon = QIcon();
        painter.drawControl(QStyle::CE_TabBarTabShape, option);

        const QRect r = option.rect;
        const QPixmap& pixmap = m_pictures[picture(i) == ModifiedPicture ? ModifiedPicture : UnmodifiedPicture];
        painter.drawPixmap(r.left() + PictureLeft, r.top() + (r.height() - PictureSize) / 2, pixmap);

        const bool selected = i == currentIndex();
        painter.setFont(selected ? m_selectedFont : font());
        // Navy as designed, lighter on a dark desktop.
        painter.setPen(selected ? colourcontrast::readableOn(QColor(0, 0, 128), palette().color(QPalette::Window))
                                : palette().color(QPalette::WindowText));
        const QRect textRect(r.left() + PictureLeft + PictureSize + 4, r.top(),
                             r.width() - PictureLeft - PictureSize - 8, r.height());
        painter.drawText(textRect, Qt::AlignCenter | Qt::TextSingleLine, tabText(i));
    }
}

void DocumentTabBar::mouseMoveEvent(QMouseEvent* event)
{
    emit mouseMoved();
    QTabBar::mouseMoveEvent(event);
}

DocumentTabs::DocumentTabs(QWidget* parent) : QWidget(parent)
{
    m_tabs = new DocumentTabBar(this);
    m_layout = new QVBoxLayout(this);
    m_layout->setContentsMargins(0, 0, 0, 0);
    m_layout->setSpacing(0);
    m_layout->addWidget(m_tabs);
    connect(m_tabs, &QTabBar::currentChanged, this, [this](int index) {
        if (!m_moving && index >= 0)
            emit m_tabs->tabChosen(index);
    });
}

void DocumentTabs::setEditor(QWidget* editor)
{
    m_layout->addWidget(editor, 1);
}

void DocumentTabs::appendTab(const QString& caption)
{
    m_moving = true;
    m_tabs->addTab(caption);
    m_moving = false;
}

void DocumentTabs::setTabIndex(int index)
{
    if (m_holding) {
        m_heldIndex = index;
        return;
    }
    m_moving = true;
    m_tabs->setCurrentIndex(index);
    m_moving = false;
}

void DocumentTabs::holdTabIndex(bool hold)
{
    m_holding = hold;
    if (!hold)
        chooseHeldIndex();
}

void DocumentTabs::chooseHeldIndex()
{
    if (m_heldIndex < 0)
        return;
    m_moving = true;
    m_tabs->setCurrentIndex(std::exchange(m_heldIndex, -1));
    m_moving = false;
}

void DocumentTabs::setCaption(int index, const QString& caption)
{
    m_tabs->setCaption(index, caption);
}

void DocumentTabs::removeTab(int index)
{
    // The strip's own index must be right before a tab goes.
    chooseHeldIndex();
    m_moving = true;
    m_tabs->removeTab(index);
    m_moving = false;
}
