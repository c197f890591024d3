#include "mainwindow/documenttabs.h"

#include "editor/editorview.h"

#include <QMouseEvent>
#include <QPainter>
#include <QStyleOptionTab>
#include <QStylePainter>
#include <QVBoxLayout>

namespace {
constexpr int PictureSize = 16;
constexpr int PictureLeft = 6;
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
    if (index < 0 || index >= count() || tabData(index).toInt() == picture)
        return;
    setTabData(index, picture);
    update(tabRect(index));
}

int DocumentTabBar::picture(int index) const
{
    return tabData(index).toInt();
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

QSize DocumentTabBar::tabSizeHint(int index) const
{
    const QFont font = index == currentIndex() ? m_selectedFont : this->font();
    const int textWidth = QFontMetrics(font).horizontalAdvance(tabText(index));
    const QSize base = QTabBar::tabSizeHint(index);
    return QSize(PictureLeft + PictureSize + 8 + textWidth + 12, qMax(base.height(), PictureSize + 8));
}

void DocumentTabBar::paintEvent(QPaintEvent*)
{
    QStylePainter painter(this);
    for (int i = 0; i < count(); ++i) {
        QStyleOptionTab option;
        initStyleOption(&option, i);
        option.text.clear();
        option.icon = QIcon();
        painter.drawControl(QStyle::CE_TabBarTabShape, option);

        const QRect r = option.rect;
        const QPixmap pixmap = pictureImage(picture(i));
        painter.drawPixmap(r.left() + PictureLeft, r.top() + (r.height() - PictureSize) / 2, pixmap);

        const bool selected = i == currentIndex();
        painter.setFont(selected ? m_selectedFont : font());
        painter.setPen(selected ? QColor(0, 0, 128) : palette().color(QPalette::WindowText));
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
    const int index = m_tabs->addTab(caption);
    m_tabs->setTabData(index, 0);
    m_moving = false;
}

void DocumentTabs::setTabIndex(int index)
{
    m_moving = true;
    m_tabs->setCurrentIndex(index);
    m_moving = false;
}

void DocumentTabs::setCaption(int index, const QString& caption)
{
    m_tabs->setTabText(index, caption);
}

void DocumentTabs::removeTab(int index)
{
    m_moving = true;
    m_tabs->removeTab(index);
    m_moving = false;
}
