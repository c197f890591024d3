#include "windows/captionbar.h"

#include "core/colourcontrast.h"

#include <QApplication>
#include <QEvent>
#include <QFontMetrics>
#include <QIcon>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>
#include <QStyle>

#include <algorithm>

using namespace captionmath;

namespace {

bool stripsShown = true;

constexpr int IconMargin = 2;
constexpr int LargestIcon = 16;

// The desktop has no caption colours of its own; the selection colours stand for them.
QColor systemCaptionColor(bool active)
{
    const QPalette palette = QApplication::palette();
    return active ? palette.color(QPalette::Active, QPalette::Highlight)
                  : palette.color(QPalette::Active, QPalette::Mid);
}

} // namespace

CaptionBar::CaptionBar(QWidget* window) : QWidget(window), m_window(window)
{
    setObjectName(QStringLiteral("MSOfficeCaption1"));
    setAttribute(Qt::WA_OpaquePaintEvent);
    m_shown = stripsShown;
    for (TextPart& part : m_parts)
        part.font = systemCaptionFont();
    window->installEventFilter(this);
    applyFontKinds();
    placeInWindow();
    recomposeTitle();
}

QFont CaptionBar::systemCaptionFont()
{
    QFont font = QApplication::font("QMdiSubWindowTitleBar");
    font.setBold(true);
    return font;
}

int CaptionBar::stripHeight()
{
    return std::max(LargestIcon + 2, QFontMetrics(systemCaptionFont()).height() + 6);
}

void CaptionBar::setPartCaption(Part part, const QString& caption)
{
    m_parts[part].caption = caption;
    recomposeTitle();
}

void CaptionBar::setPartVisible(Part part, bool visible)
{
    m_parts[part].visible = visible;
    recomposeTitle();
}

void CaptionBar::setPartFont(Part part, const QFont& font)
{
    m_parts[part].font = font;
    m_parts[part].kind = FontKind::Custom;
    update();
}

void CaptionBar::setPartFontKind(Part part, FontKind kind)
{
    m_parts[part].kind = kind;
    applyFontKinds();
    update();
}

void CaptionBar::setPartColors(Part part, const QColor& active, const QColor& inactive)
{
    m_parts[part].colorActive = active;
    m_parts[part].colorInactive = inactive;
    update();
}

void CaptionBar::setLeftColors(const QColor& active, const QColor& inactive)
{
    m_leftActive = active;
    m_leftInactive = inactive;
    update();
}

void CaptionBar::setRightColors(const QColor& active, const QColor& inactive)
{
    m_rightActive = active;
    m_rightInactive = inactive;
    update();
}

void CaptionBar::setGradientMode(GradientMode mode)
{
    m_mode = mode;
    update();
}

void CaptionBar::setJustification(Justification justification)
{
    m_justification = justification;
    update();
}

void CaptionBar::setBandCount(int count)
{
    m_bandCount = acceptedBandCount(m_bandCount, count);
    update();
}

void CaptionBar::setDrawHook(DrawHook hook)
{
    m_drawHook = std::move(hook);
    update();
}

void CaptionBar::setStripShown(bool shown)
{
    m_shown = shown;
    placeInWindow();
}

void CaptionBar::setAllStripsShown(bool shown)
{
    stripsShown = shown;
    for (QWidget* widget : QApplication::allWidgets()) {
        if (auto* bar = qobject_cast<CaptionBar*>(widget))
            bar->setStripShown(shown);
    }
}

bool CaptionBar::allStripsShown()
{
    return stripsShown;
}

QColor CaptionBar::leftColor(bool active) const
{
    return active ? m_leftActive : m_leftInactive;
}

QColor CaptionBar::rightColor(bool active) const
{
    const QColor& chosen = active ? m_rightActive : m_rightInactive;
    return chosen.isValid() ? chosen : systemCaptionColor(active);
}

QColor CaptionBar::textColor(Part part, bool active) const
{
    const QColor& chosen = active ? m_parts[part].colorActive : m_parts[part].colorInactive;
    return chosen.isValid() ? chosen : systemTextColor(active);
}

QColor CaptionBar::systemTextColor(bool active)
{
    const QPalette palette = QApplication::palette();
    return active ? palette.color(QPalette::Active, QPalette::HighlightedText)
                  : palette.color(QPalette::Active, QPalette::Window);
}

TextParts CaptionBar::partStates() const
{
    TextParts states;
    for (int i = 0; i < TextPartCount; ++i)
        states[i] = TextPartState{m_parts[i].caption, m_parts[i].visible};
    return states;
}

void CaptionBar::recomposeTitle()
{
    m_window->setWindowTitle(composeTitle(partStates()));
    update();
}

void CaptionBar::applyFontKinds()
{
    const QFont system = systemCaptionFont();
    for (TextPart& part : m_parts) {
        switch (part.kind) {
        case FontKind::Custom:
            break;
        case FontKind::System:
            part.font = system;
            break;
        case FontKind::SystemItalic:
            part.font = system;
            part.font.setItalic(true);
            break;
        case FontKind::SystemBold:
            part.font = system;
            part.font.setBold(true);
            break;
        case FontKind::SystemBoldItalic:
            part.font = system;
            part.font.setBold(true);
            part.font.setItalic(true);
            break;
        case FontKind::AutoHeight:
            part.font.setPixelSize(std::max(6, stripHeight() - 6));
            break;
        }
    }
}

void CaptionBar::placeInWindow()
{
    const int height = m_shown ? stripHeight() : 0;
    QMargins margins = m_window->contentsMargins();
    margins.setTop(height);
    m_window->setContentsMargins(margins);
    setGeometry(0, 0, m_window->width(), height);
    setVisible(m_shown);
    raise();
    update();
}

bool CaptionBar::windowActive() const
{
    return m_window->isActiveWindow();
}

void CaptionBar::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    const bool active = windowActive();
    const QRect area = rect();
    const int depth = screen() ? screen()->depth() : 24;
    if (drawsGradient(m_mode, active, depth)) {
        const QColor left = leftColor(active);
        const QColor right = rightColor(active);
        for (int band = 0; band < m_bandCount; ++band) {
            const int from = bandEdge(area.left(), area.width(), band, m_bandCount);
            const int to = bandEdge(area.left(), area.width(), band + 1, m_bandCount);
            if (to > from)
                painter.fillRect(QRect(from, area.top(), to - from, area.height()),
                                 bandColor(left, right, band, m_bandCount));
        }
    } else {
        painter.fillRect(area, systemCaptionColor(active));
    }

    // The window's small icon, else the program's, else the desktop's default.
    QIcon icon = m_window->windowIcon();
    if (icon.isNull())
        icon = QApplication::windowIcon();
    if (icon.isNull())
        icon = style()->standardIcon(QStyle::SP_TitleBarMenuButton);
    const int iconSize = std::min(LargestIcon, area.height() - 2);
    const QRect iconRect(area.left() + IconMargin, area.top() + (area.height() - iconSize) / 2, iconSize, iconSize);
    icon.paint(&painter, iconRect);
    const QRect textRect = textArea();

    if (m_drawHook) {
        painter.save();
        m_drawHook(painter, textRect);
        painter.restore();
    }

    const bool gradient = drawsGradient(m_mode, active, depth);
    for (const DrawnText& text : layOutTexts(textRect)) {
        painter.setFont(m_parts[text.part].font);
        // Readable on the strip where the text starts, whatever the palette's colours are.
        const int band =
            std::clamp((text.rect.left() - area.left()) * m_bandCount / std::max(1, area.width()), 0, m_bandCount - 1);
        const QColor under =
            gradient ? bandColor(leftColor(active), rightColor(active), band, m_bandCount) : systemCaptionColor(active);
        painter.setPen(colourcontrast::readableOn(textColor(text.part, active), under));
        painter.drawText(text.rect, Qt::AlignLeft | Qt::AlignVCenter, text.text);
    }
}

QRect CaptionBar::textArea() const
{
    const QRect area = rect();
    QRect textRect = area;
    textRect.setLeft(area.left() + IconMargin + std::min(LargestIcon, area.height() - 2) + 1);
    textRect.setRight(area.right() - TextGap);
    return textRect;
}

QStringList CaptionBar::drawnTexts() const
{
    QStringList texts;
    for (const DrawnText& text : layOutTexts(textArea()))
        texts << text.text;
    return texts;
}

QList<CaptionBar::DrawnText> CaptionBar::layOutTexts(const QRect& textRect) const
{
    TextParts states = partStates();
    const QString shownCaption = shownCaptionText(m_window->windowTitle(), states);
    const std::array<QString, TextPartCount> texts{states[ProductText].caption, states[AppNameText].caption,
                                                   shownCaption};
    states[CaptionText].caption = shownCaption;
    std::array<int, TextPartCount> widths{};
    for (int i = 0; i < TextPartCount; ++i)
        widths[i] = QFontMetrics(m_parts[i].font).horizontalAdvance(texts[i]);
    const auto drawn = fittedParts(states, widths, textRect.width());

    int total = 0;
    for (int i = 0; i < TextPartCount; ++i) {
        if (drawn[i])
            total += widths[i] + TextGap;
    }
    int x = textRect.left();
    if (total < textRect.width()) {
        if (m_justification == Justification::Center)
            x += (textRect.width() - total) / 2;
        else if (m_justification == Justification::Right)
            x += textRect.width() - total;
    }
    QList<DrawnText> laidOut;
    for (int i = 0; i < TextPartCount; ++i) {
        if (!drawn[i])
            continue;
        x += TextGap;
        const int room = textRect.right() + 1 - x;
        if (room <= 0)
            break;
        const QString shown = QFontMetrics(m_parts[i].font).elidedText(texts[i], Qt::ElideRight, room);
        laidOut.append(DrawnText{Part(i), QRect(x, textRect.top(), room, textRect.height()), shown});
        x += widths[i];
    }
    return laidOut;
}

void CaptionBar::changeEvent(QEvent* event)
{
    switch (event->type()) {
    case QEvent::ApplicationFontChange:
    case QEvent::ApplicationPaletteChange:
    case QEvent::PaletteChange:
    case QEvent::StyleChange:
        applyFontKinds();
        placeInWindow();
        break;
    case QEvent::ActivationChange:
        update();
        break;
    default:
        break;
    }
    QWidget::changeEvent(event);
}

void CaptionBar::mouseDoubleClickEvent(QMouseEvent* event)
{
    const bool fixedSize = m_window->minimumSize() == m_window->maximumSize() ||
                           m_window->windowFlags().testFlag(Qt::MSWindowsFixedSizeDialogHint);
    if (event->button() == Qt::LeftButton && !fixedSize) {
        if (m_window->isMaximized())
            m_window->showNormal();
        else
            m_window->showMaximized();
    }
    event->accept();
}

bool CaptionBar::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_window) {
        switch (event->type()) {
        case QEvent::Resize:
            setGeometry(0, 0, m_window->width(), m_shown ? stripHeight() : 0);
            break;
        case QEvent::ActivationChange:
        case QEvent::WindowActivate:
        case QEvent::WindowDeactivate:
        case QEvent::WindowIconChange:
        case QEvent::WindowTitleChange:
            update();
            break;
        case QEvent::ChildAdded:
            raise();
            break;
        default:
            break;
        }
    }
    return QWidget::eventFilter(watched, event);
}
