#include "mainwindow/statusbar.h"

#include "core/colourcontrast.h"

#include <QMouseEvent>
#include <QPainter>
#include <QProgressBar>
#include <QStyle>
#include <QStyleOption>
#include <QThread>

#include <utility>

namespace {

// The room the size grip takes at the bar's end.
constexpr int SizeGripRoom = 16;
// A message panel narrower than this shows too little to be worth drawing.
constexpr int SmallestMessagePanel = 40;
// The order in which panels are left out of a bar too narrow for them all, once the message
// panel has gone: the line and column, then whether the document is modified, stay longest.
constexpr StatusBar::Panel LeftOutFirst[] = {StatusBar::Clock,      StatusBar::Encoding,      StatusBar::WordWrap,
                                             StatusBar::InsertMode, StatusBar::ModifiedState, StatusBar::CaretPosition};

} // namespace

int statusPanelAt(const QList<int>& widths, int x)
{
    int sum = 0;
    for (int i = 0; i < widths.size(); ++i) {
        const int start = i == 0 ? 0 : sum + 2;
        sum += widths[i];
        if (x > start && x < sum)
            return i;
    }
    return -1;
}

StatusBar::StatusBar(QWidget* parent) : QStatusBar(parent)
{
    setObjectName(QStringLiteral("StatusBar1"));
    setMouseTracking(true);
    m_widths = {60, 60, 60, 60, 200, 50, 96};
    m_alignments = {Qt::AlignCenter,
                    Qt::AlignCenter,
                    Qt::AlignCenter,
                    Qt::AlignCenter,
                    Qt::AlignLeft | Qt::AlignVCenter,
                    Qt::AlignLeft | Qt::AlignVCenter,
                    Qt::AlignCenter};
    m_texts = {QString(),
               QStringLiteral("1:1"),
               QString(),
               QStringLiteral("INS"),
               QStringLiteral("Welcome to Quillet!"),
               QStringLiteral("  W-W"),
               QStringLiteral("UTF-8")};
    QFont f(QStringLiteral("Arial"));
    f.setStyleHint(QFont::SansSerif);
    f.setPixelSize(12);
    f.setBold(true);
    f.setItalic(true);
    setFont(f);
    setSizeGripEnabled(true);
    fitPanels();
}

void StatusBar::setPanelText(int panel, const QString& text)
{
    if (panel < 0 || panel >= PanelCount || m_texts[panel] == text)
        return;
    const int before = shownWidth(panel);
    m_texts[panel] = text;
    if (shownWidth(panel) != before)
        fitPanels();
    update();
    if (panel == Message)
        emit messageChanged(text);
}

void StatusBar::setPanelWidth(int panel, int width)
{
    if (panel < 0 || panel >= PanelCount || m_widths[panel] == width)
        return;
    m_widths[panel] = width;
    fitPanels();
    update();
}

int StatusBar::panelLeft(int panel) const
{
    int sum = 0;
    for (int i = 0; i < panel; ++i)
        sum += m_shownWidths[i];
    return panel == 0 ? 0 : sum + 2;
}

QRect StatusBar::panelRect(int panel) const
{
    if (panel < 0 || panel >= PanelCount || m_shownWidths[panel] <= (panel == 0 ? 0 : 2))
        return QRect();
    const int left = panelLeft(panel);
    const int right = left + m_shownWidths[panel] - (panel == 0 ? 0 : 2);
    return QRect(left, 2, right - left, height() - 3);
}

int StatusBar::shownWidth(int panel) const
{
    // The line and column grow past their panel in a long text ("617220:53"): the panel grows
    // with them, at the message's cost, rather than cutting the line number short.
    if (panel != CaretPosition)
        return m_widths[panel];
    const int textRoom = fontMetrics().horizontalAdvance(m_texts[panel]) + 8; // frame and margins
    return qMax(m_widths[panel], textRoom);
}

void StatusBar::fitPanels()
{
    m_shownWidths = m_widths;
    m_shownWidths[CaretPosition] = shownWidth(CaretPosition);
    int& message = m_shownWidths[Message];
    message = qMax(0, message);
    int total = 0;
    for (int width : m_shownWidths)
        total += width;
    const int room = width() - (isSizeGripEnabled() ? SizeGripRoom : 1);
    if (total > room) {
        const int kept = qMax(0, message - (total - room));
        const int shrunk = kept < SmallestMessagePanel ? 0 : kept;
        total -= message - shrunk;
        message = shrunk;
    }
    for (const Panel panel : LeftOutFirst) {
        if (total <= room)
            break;
        total -= std::exchange(m_shownWidths[panel], 0);
    }
    // The last panel drawn reaches to the end of the bar.
    for (int last = PanelCount - 1; last >= 0; --last) {
        if (m_shownWidths[last] > 0) {
            m_shownWidths[last] += qMax(0, width() - 1 - total);
            break;
        }
    }
    if (m_progress) {
        const QRect place = panelRect(Message);
        m_progress->setGeometry(place.isEmpty() ? QRect(place.left(), 4, 0, 13)
                                                : QRect(place.left() + 4, 4, place.width() - 6, 13));
    }
}

void StatusBar::setSizeGrip(bool on)
{
    setSizeGripEnabled(on);
    fitPanels();
    update();
}

void StatusBar::createProgressBar()
{
    m_progress = new QProgressBar(this);
    m_progress->setObjectName(QStringLiteral("ProgressBar1"));
    m_progress->setTextVisible(false);
    m_progress->hide();
    fitPanels();
}

void StatusBar::showProgress()
{
    m_progress->show();
}

void StatusBar::hideProgress()
{
    m_progress->hide();
}

void StatusBar::progressStep(int position)
{
    m_progress->setValue(position);
    m_progress->repaint();
    if (StepPauseMs > 0)
        QThread::msleep(static_cast<unsigned long>(StepPauseMs));
}

QSize StatusBar::sizeHint() const
{
    return QSize(600, qMax(19, fontMetrics().height() + 6));
}

void StatusBar::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    for (int i = 0; i < PanelCount; ++i) {
        const QRect r = panelRect(i);
        if (r.isEmpty())
            continue;
        QStyleOptionFrame frame;
        frame.initFrom(this);
        frame.rect = r;
        frame.lineWidth = 1;
        frame.state |= QStyle::State_Sunken;
        style()->drawPrimitive(QStyle::PE_FrameStatusBarItem, &frame, &p, this);
        p.setPen(palette().color(QPalette::Dark));
        p.drawLine(r.topLeft(), r.topRight());
        p.drawLine(r.topLeft(), r.bottomLeft());
        p.setPen(palette().color(QPalette::Light));
        p.drawLine(r.bottomLeft(), r.bottomRight());
        p.drawLine(r.topRight(), r.bottomRight());
        // Black as designed, light on a dark desktop.
        p.setPen(colourcontrast::readableOn(Qt::black, palette().color(QPalette::Window)));
        // A text longer than its panel ends in "..." rather than being cut mid-letter.
        const QRect textPlace = r.adjusted(3, 0, -3, 0);
        p.drawText(textPlace, static_cast<int>(m_alignments[i]) | Qt::TextSingleLine,
                   fontMetrics().elidedText(m_texts[i], Qt::ElideRight, textPlace.width()));
    }
}

void StatusBar::mouseMoveEvent(QMouseEvent* event)
{
    const int panel = statusPanelAt(m_shownWidths, qRound(event->position().x()));
    if (panel >= 0)
        emit panelHovered(panel);
    QStatusBar::mouseMoveEvent(event);
}

void StatusBar::mouseReleaseEvent(QMouseEvent* event)
{
    const int panel = statusPanelAt(m_shownWidths, qRound(event->position().x()));
    if (panel >= 0) {
        emit panelReleased(panel);
        // The click may have changed what the panel says (word wrap), so its hint is told again.
        emit panelHovered(panel);
    }
    QStatusBar::mouseReleaseEvent(event);
}

void StatusBar::resizeEvent(QResizeEvent* event)
{
    QStatusBar::resizeEvent(event);
    fitPanels();
    emit resized();
}
