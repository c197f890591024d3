#include "mainwindow/statusbar.h"

#include <QMouseEvent>
#include <QPainter>
#include <QProgressBar>
#include <QStyle>
#include <QStyleOption>
#include <QThread>

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
    QPalette pal = palette();
    pal.setColor(QPalette::WindowText, Qt::black);
    setPalette(pal);
    setSizeGripEnabled(true);
}

void StatusBar::setPanelText(int panel, const QString& text)
{
    if (panel < 0 || panel >= PanelCount || m_texts[panel] == text)
        return;
    m_texts[panel] = text;
    update();
    if (panel == Message)
        emit messageChanged(text);
}

void StatusBar::setPanelWidth(int panel, int width)
{
    if (panel < 0 || panel >= PanelCount || m_widths[panel] == width)
        return;
    m_widths[panel] = width;
    update();
}

int StatusBar::panelLeft(int panel) const
{
    int sum = 0;
    for (int i = 0; i < panel; ++i)
        sum += m_widths[i];
    return panel == 0 ? 0 : sum + 2;
}

void StatusBar::setSizeGrip(bool on)
{
    setSizeGripEnabled(on);
}

void StatusBar::createProgressBar()
{
    m_progress = new QProgressBar(this);
    m_progress->setObjectName(QStringLiteral("ProgressBar1"));
    m_progress->setTextVisible(false);
    m_progress->setGeometry(246, 4, m_widths[Message] - 28, 13);
    m_progress->hide();
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
        const int left = panelLeft(i);
        int right = left + m_widths[i] - (i == 0 ? 0 : 2);
        if (i == PanelCount - 1)
            right = qMax(right, width() - 1);
        const QRect r(left, 2, right - left, height() - 3);
        QStyleOptionFrame frame;
        frame.initFrom(this);
        frame.rect = r;
        frame.lineWidth = 1;
        frame.state |= QStyle::State_Sunken;
        style()->drawPrimitive(QStyle::PE_FrameStatusBarItem, &frame, &p, this);
        p.setPen(QColor(128, 128, 128));
        p.drawLine(r.topLeft(), r.topRight());
        p.drawLine(r.topLeft(), r.bottomLeft());
        p.setPen(Qt::white);
        p.drawLine(r.bottomLeft(), r.bottomRight());
        p.drawLine(r.topRight(), r.bottomRight());
        p.setPen(palette().color(QPalette::WindowText));
        p.drawText(r.adjusted(3, 0, -3, 0), static_cast<int>(m_alignments[i]) | Qt::TextSingleLine, m_texts[i]);
    }
}

void StatusBar::mouseMoveEvent(QMouseEvent* event)
{
    const int panel = statusPanelAt(m_widths, qRound(event->position().x()));
    if (panel >= 0)
        emit panelHovered(panel);
    QStatusBar::mouseMoveEvent(event);
}

void StatusBar::mouseReleaseEvent(QMouseEvent* event)
{
    const int panel = statusPanelAt(m_widths, qRound(event->position().x()));
    if (panel >= 0)
        emit panelReleased(panel);
    QStatusBar::mouseReleaseEvent(event);
}

void StatusBar::resizeEvent(QResizeEvent* event)
{
    QStatusBar::resizeEvent(event);
    emit resized();
}
