#include "windows/windowbase.h"

#include "core/prompts.h"
#include "settings/programstore.h"

#include <QApplication>
#include <QEventLoop>
#include <QFontMetrics>
#include <QKeyEvent>
#include <QLayout>
#include <QPointer>
#include <QPushButton>
#include <QScreen>
#include <QTabBar>
#include <QTabWidget>
#include <QWindow>

#include <algorithm>
#include <cmath>

namespace {

// The average character cell of the font the fixed sizes were designed with (8-point MS Sans
// Serif on a 96-dpi screen).
constexpr double DesignedCharWidth = 6.0;
constexpr double DesignedCharHeight = 13.0;

} // namespace

WindowBase::WindowBase(const QString& instanceName, const QString& caption, QSize size, bool fixedSize, QWidget* parent,
                       const StorageSetup& setup, captionmath::GradientMode gradient)
    : QWidget(parent, Qt::Window)
{
    setObjectName(instanceName);
    m_captionBar = new CaptionBar(this);
    QFont productFont(QStringLiteral("Arial"));
    productFont.setPixelSize(12);
    productFont.setBold(true);
    productFont.setItalic(true);
    m_captionBar->setPartFont(CaptionBar::Part::ProductText, productFont);
    m_captionBar->setPartFontKind(CaptionBar::Part::AppNameText, CaptionBar::FontKind::SystemBold);
    m_captionBar->setPartVisible(CaptionBar::Part::AppNameText, false);
    m_captionBar->setPartVisible(CaptionBar::Part::CaptionText, false);
    m_captionBar->setGradientMode(gradient);
    m_captionBar->setPartCaption(CaptionBar::Part::ProductText, caption);
    m_designedSize = size;
    m_fixedSize = fixedSize;
    // Without CustomizeWindowHint the title hints are ignored and the window manager adds
    // minimise and maximise buttons a fixed-size dialog must not have. A dialog, so that it can
    // belong to the window it is opened from.
    if (fixedSize)
        setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                       Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint);
    // The strip takes the top of the client area: the designed controls go below it.
    size.rheight() += captionHeight();
    resize(size);
    if (setup.section.isEmpty()) {
        if (fixedSize)
            setFixedSize(size);
        else
            setMinimumSize(size);
        return;
    }
    m_storage = new WindowSettings(this);
    m_storage->setObjectName(QStringLiteral("FormStorage1"));
    m_storage->setSection(setup.section);
    m_storage->setOptions(setup.options);
    WindowSizeLimits limits;
    if (fixedSize) {
        limits.setFixedSize(size.width(), size.height());
    } else {
        limits.setMinimumWidth(size.width());
        limits.setMinimumHeight(size.height());
    }
    m_storage->setSizeLimits(limits);
}

WindowBase::~WindowBase()
{
    // Too late to save: the stored properties read the derived window (see destroyWindow).
    if (m_storage)
        m_storage->detach();
}

bool WindowBase::showModalUntilHidden()
{
    setWindowModality(Qt::ApplicationModal);
    show();
    raise();
    activateWindow();
    QEventLoop loop;
    QPointer<WindowBase> self(this);
    while (self && isVisible())
        loop.processEvents(QEventLoop::WaitForMoreEvents);
    return self;
}

void WindowBase::fitFixedSizeToFont()
{
    if (!m_fixedSize)
        return;
    // Every tab caption shown in full, so the tab bar needs no scroll arrows.
    for (QTabWidget* tabs : findChildren<QTabWidget*>()) {
        tabs->setUsesScrollButtons(false);
        tabs->setElideMode(Qt::ElideNone);
    }
    const QFontMetrics metrics(font());
    const double widthScale = std::max(1.0, metrics.averageCharWidth() / DesignedCharWidth);
    const double heightScale = std::max(1.0, metrics.height() / DesignedCharHeight);
    QSize size(int(std::ceil(m_designedSize.width() * widthScale)),
               int(std::ceil(m_designedSize.height() * heightScale)) + captionHeight());
    if (layout()) {
        layout()->activate();
        size = size.expandedTo(layout()->totalMinimumSize());
    }
    if (m_storage)
        m_storage->sizeLimits().setFixedSize(size.width(), size.height());
    else
        setFixedSize(size);
}

int WindowBase::captionHeight() const
{
    return m_captionBar->stripShown() ? CaptionBar::stripHeight() : 0;
}

void WindowBase::attachToOpener()
{
    // The side windows (resizable, kept on top by their own choice) are left as they are.
    if (parentWidget() || !m_fixedSize || !windowHandle())
        return;
    if (!m_onTopByDesign)
        m_onTopByDesign = windowFlags().testFlag(Qt::WindowStaysOnTopHint);
    QWidget* opener = QApplication::activeWindow();
    bool onTopShown = false;
    for (QWidget* w : QApplication::topLevelWidgets()) {
        if (w == this || !w->isVisible())
            continue;
        onTopShown = onTopShown || w->windowFlags().testFlag(Qt::WindowStaysOnTopHint);
        if (!opener && w->objectName() == QLatin1String("QuilForm1"))
            opener = w;
    }
    // Read by the window manager when the window is mapped, which follows the show event.
    QWindow* transientFor = opener ? opener->window()->windowHandle() : nullptr;
    // Never in a ring: a window that belongs to this one (opened from it before) cannot own it.
    for (const QWindow* w = transientFor; w; w = w->transientParent())
        if (w == windowHandle()) {
            transientFor = nullptr;
            break;
        }
    windowHandle()->setTransientParent(transientFor);
    // A window that stays on top is above every ordinary one, whatever it belongs to.
    setKeptOnTop(*this, *m_onTopByDesign || onTopShown);
}

void WindowBase::setVisible(bool visible)
{
    // Fitted before the show, so that the storage brings the window's final size onto the screen.
    if (visible && !isVisible()) {
        ensurePolished();
        fitFixedSizeToFont();
        // A screen reader names a window's pages after the window; each tab says its own caption.
        for (QTabWidget* pages : findChildren<QTabWidget*>())
            if (pages->accessibleName().isEmpty())
                pages->setAccessibleName(m_captionBar->partCaption(CaptionBar::Part::ProductText));
    }
    QWidget::setVisible(visible);
}

void WindowBase::showEvent(QShowEvent* event)
{
    if (!event->spontaneous())
        attachToOpener();
    // A stored window goes where it was; one the store knows nothing of (or that keeps nothing)
    // comes up centred on the main window the first time, rather than where it was created.
    if (!m_placed && !event->spontaneous()) {
        m_placed = true;
        if (!m_storage || !m_storage->hasStoredPlacement()) {
            const QWidget* main = nullptr;
            for (QWidget* w : QApplication::topLevelWidgets()) {
                if (w != this && w->isVisible() && w->objectName() == QLatin1String("QuilForm1"))
                    main = w;
            }
            QRect around;
            if (main)
                around = main->frameGeometry();
            else if (const QScreen* screen = QGuiApplication::primaryScreen())
                around = screen->availableGeometry();
            if (around.isValid()) {
                QRect frame = geometry();
                frame.moveCenter(around.center());
                move(keptOnScreen(frame).topLeft());
            }
        }
    }
    QWidget::showEvent(event);
}

bool WindowBase::handleDialogKey(QKeyEvent* event, const std::function<void()>& accept,
                                 const std::function<void()>& reject)
{
    if (event->modifiers() & ~(Qt::KeypadModifier | Qt::ShiftModifier))
        return false;
    if (event->key() == Qt::Key_Escape) {
        reject();
        return true;
    }
    if (event->key() != Qt::Key_Return && event->key() != Qt::Key_Enter)
        return false;
    if (auto* focused = qobject_cast<QPushButton*>(focusWidget()); focused && focused->isEnabled())
        focused->click();
    else
        accept();
    return true;
}

void destroyWindow(QWidget* window)
{
    if (auto* base = qobject_cast<WindowBase*>(window); base && base->storage())
        base->storage()->windowDestroying();
    delete window;
}

void attachStorage(WindowSettings* storage)
{
    if (!storage || !programStore())
        return;
    // A store that cannot be read or written is reported; the window opens or closes anyway.
    storage->setErrorHandler([](const QString& message) { Prompts::current().error(message); });
    // A window closes when the user is done with it (OK included): its section goes to the file
    // at once rather than at the program's end. A failed write stays pending for the next flush,
    // and the end of the program reports it.
    storage->setClosedSaveHandler([] { flushProgramStore(); });
    storage->attach(programStore());
}

void setKeptOnTop(QWidget& window, bool onTop)
{
    if (window.windowFlags().testFlag(Qt::WindowStaysOnTopHint) == onTop)
        return;
    // setWindowFlag would re-create the native window, which hides it and runs its whole show
    // sequence again; the platform window takes the new flags in place instead.
    Qt::WindowFlags flags = window.windowFlags();
    flags.setFlag(Qt::WindowStaysOnTopHint, onTop);
    window.overrideWindowFlags(flags);
    if (QWindow* handle = window.windowHandle())
        handle->setFlags(flags);
}
