#include "settings/windowsettings.h"

#include "platform/platform.h"
#include "settings/settingsstore.h"

#include <QCloseEvent>
#include <QGuiApplication>
#include <QMetaObject>
#include <QRegularExpression>
#include <QScreen>
#include <QTimer>
#include <QWidget>
#include <QtDebug>

#include <algorithm>
#include <exception>
#include <utility>

namespace {

const QString FlagsName = QStringLiteral("Flags");
const QString ShowCmdName = QStringLiteral("ShowCmd");
const QString MinMaxPosName = QStringLiteral("MinMaxPos");
const QString NormPosName = QStringLiteral("NormPos");
const QString ActiveControlName = QStringLiteral("ActiveControl");
const QString VisibleName = QStringLiteral("Visible");

// Placement integers: decimal, or hexadecimal after "0x"; anything else gives the fallback.
int parsePlacementInt(const QString& text, int fallback)
{
    const QString t = text.trimmed();
    bool ok = false;
    int value = 0;
    if (t.startsWith(QLatin1String("0x"), Qt::CaseInsensitive))
        value = t.mid(2).toInt(&ok, 16);
    else
        value = t.toInt(&ok, 10);
    return ok ? value : fallback;
}

// Words of a position text; commas and blanks both separate, runs of them count as one.
QStringList positionWords(const QString& text)
{
    static const QRegularExpression separators(QStringLiteral("[, ]+"));
    return text.split(separators, Qt::SkipEmptyParts);
}

int wordAt(const QStringList& words, int index, int fallback)
{
    if (index >= words.size())
        return fallback;
    bool ok = false;
    const int value = words.at(index).toInt(&ok);
    return ok ? value : fallback;
}

QString fourInts(int a, int b, int c, int d)
{
    return QStringLiteral("%1,%2,%3,%4").arg(a).arg(b).arg(c).arg(d);
}

// Names the design gave; Qt names its own helper widgets "qt_...".
bool isDesignedName(const QString& name)
{
    return !name.isEmpty() && !name.startsWith(QLatin1String("qt_"));
}

constexpr Qt::WindowStates ShownStates = Qt::WindowMinimized | Qt::WindowMaximized | Qt::WindowFullScreen;

} // namespace

// ---------------------------------------------------------------------------------------------

WindowSizeLimits::WindowSizeLimits(const WindowSizeLimits& other)
    : m_maximizedLeft(other.m_maximizedLeft), m_maximizedTop(other.m_maximizedTop),
      m_maximizedHeight(other.m_maximizedHeight), m_maximizedWidth(other.m_maximizedWidth),
      m_maximumHeight(other.m_maximumHeight), m_maximumWidth(other.m_maximumWidth),
      m_minimumHeight(other.m_minimumHeight), m_minimumWidth(other.m_minimumWidth)
{}

WindowSizeLimits& WindowSizeLimits::operator=(const WindowSizeLimits& other)
{
    if (*this == other)
        return *this;
    m_maximizedLeft = other.m_maximizedLeft;
    m_maximizedTop = other.m_maximizedTop;
    m_maximizedHeight = other.m_maximizedHeight;
    m_maximizedWidth = other.m_maximizedWidth;
    m_maximumHeight = other.m_maximumHeight;
    m_maximumWidth = other.m_maximumWidth;
    m_minimumHeight = other.m_minimumHeight;
    m_minimumWidth = other.m_minimumWidth;
    if (m_changeHandler)
        m_changeHandler();
    return *this;
}

void WindowSizeLimits::setFixedSize(int width, int height)
{
    WindowSizeLimits next(*this);
    next.m_minimumWidth = next.m_maximumWidth = width;
    next.m_minimumHeight = next.m_maximumHeight = height;
    *this = next; // one notification for all four values
}

bool WindowSizeLimits::isDefault() const
{
    return *this == WindowSizeLimits();
}

bool WindowSizeLimits::operator==(const WindowSizeLimits& other) const
{
    return m_maximizedLeft == other.m_maximizedLeft && m_maximizedTop == other.m_maximizedTop &&
           m_maximizedHeight == other.m_maximizedHeight && m_maximizedWidth == other.m_maximizedWidth &&
           m_maximumHeight == other.m_maximumHeight && m_maximumWidth == other.m_maximumWidth &&
           m_minimumHeight == other.m_minimumHeight && m_minimumWidth == other.m_minimumWidth;
}

void WindowSizeLimits::set(int& field, int value)
{
    if (field == value)
        return;
    field = value;
    if (m_changeHandler)
        m_changeHandler();
}

// ---------------------------------------------------------------------------------------------

WindowSettings::WindowSettings(QWidget* window) : QObject(window), m_window(window)
{
    m_sizeLimits.setChangeHandler([this] { applySizeLimits(); });
    // Long enough for a window manager to place a window it has just been asked to map.
    m_placementSettle = new QTimer(this);
    m_placementSettle->setSingleShot(true);
    m_placementSettle->setInterval(2000);
    connect(m_placementSettle, &QTimer::timeout, this, [this] { m_expectedAt.reset(); });
    // Watches from the start, so a showing before the store is attached still counts.
    if (m_window)
        m_window->installEventFilter(this);
}

WindowSettings::~WindowSettings()
{
    // As a child of the window this runs inside the window's destructor, after the window's own
    // destructor body: the widget's geometry and state are still there, its controls may not be.
    windowDestroying();
}

QWidget* WindowSettings::window() const
{
    return m_window;
}

QString WindowSettings::section() const
{
    if (m_section.isEmpty() && m_window)
        return QString::fromLatin1(m_window->metaObject()->className());
    return m_section;
}

void WindowSettings::setSection(const QString& section)
{
    m_section = section;
}

WindowSettings::Options WindowSettings::options() const
{
    return m_options;
}

void WindowSettings::setOptions(Options options)
{
    m_options = options;
}

bool WindowSettings::isActive() const
{
    return m_active;
}

void WindowSettings::setActive(bool active)
{
    m_active = active;
}

void WindowSettings::setMainWindow(bool main)
{
    m_mainWindow = main;
}

const WindowSizeLimits& WindowSettings::sizeLimits() const
{
    return m_sizeLimits;
}

WindowSizeLimits& WindowSettings::sizeLimits()
{
    return m_sizeLimits;
}

void WindowSettings::setSizeLimits(const WindowSizeLimits& limits)
{
    m_sizeLimits = limits;
}

void WindowSettings::setScreenSize(const QSize& size)
{
    m_screenSize = size;
}

QSize WindowSettings::screenSize() const
{
    if (m_screenSize.isValid())
        return m_screenSize;
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        return screen->size();
    return QSize(0, 0);
}

int WindowSettings::addLinked(SaveHook save, LoadHook load)
{
    const int id = m_nextLinkedId++;
    m_linked.append(Linked{id, std::move(save), std::move(load)});
    return id;
}

void WindowSettings::removeLinked(int id)
{
    m_linked.removeIf([id](const Linked& l) { return l.id == id; });
}

void WindowSettings::addStoredProperty(const QString& name, SaveHook save, LoadHook load)
{
    m_properties.append(StoredProperty{name, std::move(save), std::move(load)});
}

QStringList WindowSettings::storedPropertyNames() const
{
    QStringList names;
    for (const StoredProperty& p : m_properties)
        names << p.name;
    return names;
}

void WindowSettings::setErrorHandler(ErrorHandler handler)
{
    m_errorHandler = std::move(handler);
}

void WindowSettings::setClosedSaveHandler(std::function<void()> handler)
{
    m_closedSaveHandler = std::move(handler);
}

bool WindowSettings::hasRestored() const
{
    return m_restored;
}

bool WindowSettings::savedSinceRestore() const
{
    return m_savedSince;
}

// ---------------------------------------------------------------------------------------------

QString WindowSettings::suffix() const
{
    const QSize s = screenSize();
    return QStringLiteral("(%1x%2)").arg(s.width()).arg(s.height());
}

QRect WindowSettings::normalRect() const
{
    // normalGeometry() is only kept once the window has been maximised or made full screen;
    // otherwise the current geometry is the normal one.
    if (m_window->windowState() & (Qt::WindowMaximized | Qt::WindowFullScreen)) {
        const QRect normal = m_window->normalGeometry();
        if (normal.isValid())
            return normal;
    }
    return m_window->geometry();
}

int WindowSettings::showCommand() const
{
    if (m_window->isMinimized())
        return 2;
    if (m_window->isMaximized())
        return 3;
    return 1;
}

bool WindowSettings::isSizeable() const
{
    if (m_window->windowFlags() & (Qt::MSWindowsFixedSizeDialogHint | Qt::FramelessWindowHint))
        return false;
    return m_window->minimumSize() != m_window->maximumSize();
}

void WindowSettings::savePlacement(SettingsStore& store, bool destroying)
{
    const QString key = section();
    const QString sfx = suffix();
    store.writeString(key, FlagsName, QString::number(m_flags));
    store.writeString(key, ShowCmdName, QString::number(showCommand()));

    const QString minMax = fourInts(m_minPos.x(), m_minPos.y(), m_maxPos.x(), m_maxPos.y());
    store.writeString(key, MinMaxPosName + sfx, minMax);
    store.writeString(key, MinMaxPosName, minMax);

    QRect r = normalRect();
    if (m_askedAt && platform::desktopPlacesWindows())
        r.moveTopLeft(*m_askedAt);
    const QString norm = fourInts(r.left(), r.top(), r.left() + r.width(), r.top() + r.height());
    store.writeString(key, NormPosName + sfx, norm);
    store.writeString(key, NormPosName, norm);

    if (m_options & FocusedControl) {
        // The focus may sit in a helper inside a designed control (a tab bar, a spin box's
        // line edit): the control is the nearest designed ancestor.
        const QWidget* control = m_window->focusWidget();
        while (control && control != m_window && !isDesignedName(control->objectName()))
            control = control->parentWidget();
        if (control && control != m_window)
            store.writeString(key, ActiveControlName, control->objectName());
    }
    store.writeString(key, VisibleName, destroying ? QStringLiteral("1") : QStringLiteral("0"));
}

void WindowSettings::restorePosition(const SettingsStore& store)
{
    const QString key = section();
    const QString sfx = suffix();
    const int flags = parsePlacementInt(store.readString(key, FlagsName), m_flags);

    QString minMax = store.readString(key, MinMaxPosName + sfx);
    if (minMax.isEmpty())
        minMax = store.readString(key, MinMaxPosName);
    QPoint minPos = m_minPos;
    QPoint maxPos = m_maxPos;
    if (!minMax.isEmpty()) {
        const QStringList w = positionWords(minMax);
        minPos = QPoint(wordAt(w, 0, 0), wordAt(w, 1, 0));
        maxPos = QPoint(wordAt(w, 2, 0), wordAt(w, 3, 0));
    }

    QString norm = store.readString(key, NormPosName + sfx);
    if (norm.isEmpty())
        norm = store.readString(key, NormPosName);
    const QRect current = normalRect();
    int left = current.left();
    int top = current.top();
    int right = left + current.width();
    int bottom = top + current.height();
    if (!norm.isEmpty()) {
        const QStringList w = positionWords(norm);
        left = wordAt(w, 0, left);
        top = wordAt(w, 1, top);
        right = wordAt(w, 2, right);
        bottom = wordAt(w, 3, bottom);
    }

    if (minMax.isEmpty() && norm.isEmpty())
        return;
    if (!isSizeable()) {
        right = left + current.width();
        bottom = top + current.height();
    }
    // An empty or inverted rectangle is damage, not a placement.
    if (left >= right || top >= bottom)
        return;

    m_hasStoredPlacement = true;
    m_flags = flags;
    m_minPos = minPos;
    m_maxPos = maxPos;
    const QRect target(left, top, right - left, bottom - top);
    const Qt::WindowStates state = m_window->windowState();
    if (state & ShownStates) {
        // The stored rectangle is the normal one: set it in the normal state, then go back.
        m_window->setWindowState(state & ~ShownStates);
        m_window->setGeometry(target);
        m_window->setWindowState(state);
    } else {
        m_window->setGeometry(target);
    }
    m_askedAt = target.topLeft();
    // A desktop that places windows itself moves nothing back: there is nothing to wait for.
    m_placementToCheck = !platform::desktopPlacesWindows();
}

QRect keptOnScreen(const QRect& rect)
{
    const QScreen* screen = QGuiApplication::screenAt(rect.center());
    if (!screen)
        screen = QGuiApplication::primaryScreen();
    if (!screen)
        return rect;
    const QRect area = screen->availableGeometry();
    QPoint at = rect.topLeft();
    at.setX(std::max(area.left(), std::min(at.x(), area.right() + 1 - rect.width())));
    at.setY(std::max(area.top(), std::min(at.y(), area.bottom() + 1 - rect.height())));
    return QRect(at, rect.size());
}

void WindowSettings::bringOntoScreen()
{
    // A placement stored on a larger screen, or at a smaller scale, must not open the window
    // partly out of sight; its size stays, only where it is changes.
    if (m_window->windowState() & ShownStates)
        return;
    const QRect rect = keptOnScreen(m_window->geometry());
    if (rect != m_window->geometry())
        m_window->setGeometry(rect);
}

void WindowSettings::correctPlacement()
{
    // Qt asks for the client's position with static gravity; a window manager that ignores the
    // gravity puts the frame there instead, and the window would creep by its title bar at every
    // start. It is moved back once, by what the manager added.
    if (!m_expectedAt || !m_window->isVisible() || (m_window->windowState() & ShownStates))
        return;
    const QPoint off = *m_expectedAt - m_window->geometry().topLeft();
    m_expectedAt.reset();
    if (!off.isNull())
        m_window->move(m_window->pos() + off);
}

void WindowSettings::restoreState(const SettingsStore& store)
{
    enum class State { Normal, Minimised, Maximised };
    State state = State::Normal;
    switch (parsePlacementInt(store.readString(section(), ShowCmdName), 0)) {
    case 1:
    case 5:
    case 9:
        state = State::Normal;
        break;
    case 2:
    case 6:
    case 7:
        state = State::Minimised;
        break;
    case 3:
        state = State::Maximised;
        break;
    default:
        break;
    }

    const Qt::WindowStates normal = m_window->windowState() & ~ShownStates;
    if (state == State::Minimised && m_mainWindow) {
        // The main window comes up normal and is minimised once the event loop runs, as the
        // application as a whole would be.
        m_window->setWindowState(normal);
        QWidget* w = m_window;
        QMetaObject::invokeMethod(
            w, [w] { w->setWindowState(w->windowState() | Qt::WindowMinimized); }, Qt::QueuedConnection);
        return;
    }
    Qt::WindowStates next = normal;
    if (state == State::Minimised)
        next |= Qt::WindowMinimized;
    else if (state == State::Maximised)
        next |= Qt::WindowMaximized;
    m_window->setWindowState(next);
    m_window->update();
}

void WindowSettings::restoreActiveControl(const SettingsStore& store)
{
    const QString name = store.readString(section(), ActiveControlName);
    if (!isDesignedName(name))
        return;
    QWidget* control = m_window->findChild<QWidget*>(name);
    if (!control || !control->isEnabled() || control->focusPolicy() == Qt::NoFocus || !control->isVisibleTo(m_window))
        return;
    control->setFocus(Qt::OtherFocusReason);
}

void WindowSettings::restore(const SettingsStore& store)
{
    if (!m_window)
        return;
    // A restore that was attempted counts, so a window whose store failed still saves later.
    m_restored = true;
    m_hasStoredPlacement = false;
    m_savedSince = false;

    if (m_options & Position)
        restorePosition(store);
    if (m_options & ShowState)
        restoreState(store);
    if (m_sizeLimits.isDefault()) {
        // Without size limits (the main window) a maximised frame lies just outside the screen.
        const QRect frame = m_window->frameGeometry();
        const QRect client = m_window->geometry();
        m_maxPos = QPoint(-(client.left() - frame.left()), -(frame.bottom() - client.bottom()));
    }

    for (const Linked& l : std::as_const(m_linked)) {
        if (l.load)
            l.load(store);
    }
    for (const StoredProperty& p : std::as_const(m_properties)) {
        if (!p.load)
            continue;
        try {
            p.load(store);
        } catch (...) {
            // A property that cannot be read keeps its value; the others still load.
        }
    }
    if (m_options & FocusedControl)
        restoreActiveControl(store);
}

void WindowSettings::save(SettingsStore& store, bool destroying)
{
    // Saving before any restore would overwrite the stored settings with built-in values.
    if (!m_window || !m_restored)
        return;
    // A window never shown has no placement of its own (it would be the 0,0 it was created at):
    // the store keeps what it had.
    if (m_shown || m_window->isVisible())
        savePlacement(store, destroying);
    for (const Linked& l : std::as_const(m_linked)) {
        if (l.save)
            l.save(store);
    }
    for (const StoredProperty& p : std::as_const(m_properties)) {
        if (p.save)
            p.save(store);
    }
    m_savedSince = true;
}

void WindowSettings::applySizeLimits()
{
    if (!m_window)
        return;
    if (m_sizeLimits.isDefault()) {
        // Nothing to enforce any more: give the window back the limits it was designed with.
        if (m_limiting) {
            m_window->setMinimumSize(m_designedMin);
            m_window->setMaximumSize(m_designedMax);
            m_limiting = false;
        }
        return;
    }
    if (!m_limiting) {
        m_designedMin = m_window->minimumSize();
        m_designedMax = m_window->maximumSize();
        m_limiting = true;
    }
    // Tracking sizes map onto the widget's size limits; min == max makes it a fixed size.
    QSize minimum = m_designedMin;
    QSize maximum = m_designedMax;
    if (m_sizeLimits.minimumWidth())
        minimum.setWidth(m_sizeLimits.minimumWidth());
    if (m_sizeLimits.minimumHeight())
        minimum.setHeight(m_sizeLimits.minimumHeight());
    if (m_sizeLimits.maximumWidth())
        maximum.setWidth(m_sizeLimits.maximumWidth());
    if (m_sizeLimits.maximumHeight())
        maximum.setHeight(m_sizeLimits.maximumHeight());
    m_window->setMaximumSize(maximum);
    m_window->setMinimumSize(minimum);
}

// ---------------------------------------------------------------------------------------------

void WindowSettings::runAutomatic(const std::function<void()>& step)
{
    try {
        step();
    } catch (const std::exception& e) {
        if (m_errorHandler)
            m_errorHandler(QString::fromLocal8Bit(e.what()));
        else
            qWarning("Window settings of %s: %s", qPrintable(section()), e.what());
    } catch (...) {
        const QString message = QStringLiteral("unknown error while storing window settings");
        if (m_errorHandler)
            m_errorHandler(message);
        else
            qWarning("Window settings of %s: %s", qPrintable(section()), qPrintable(message));
    }
}

void WindowSettings::attach(SettingsStore* store)
{
    if (!m_window || !store)
        return;
    m_store = store;
    if (m_active)
        runAutomatic([this] { restore(*m_store); });
}

void WindowSettings::windowDestroying()
{
    SettingsStore* store = std::exchange(m_store, nullptr);
    if (!store || !m_window)
        return;
    if (m_active && !m_savedSince)
        runAutomatic([this, store] { save(*store, true); });
}

bool WindowSettings::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_window && event->type() == QEvent::Show) {
        m_shown = true;
        if (!m_askedAt)
            m_askedAt = m_window->geometry().topLeft();
        // Sent before the window is mapped: the geometry is still the one asked for.
        if (std::exchange(m_placementToCheck, false)) {
            bringOntoScreen();
            m_expectedAt = m_window->geometry().topLeft();
            m_placementSettle->start();
        }
    }
    if (watched == m_window && event->type() == QEvent::Move && m_placementSettle->isActive())
        correctPlacement();
    if (watched != m_window || event->type() != QEvent::Close || !m_store)
        return QObject::eventFilter(watched, event);
    // A filter runs before the window decides; hand the event to the window now so the save
    // happens only when it agreed to close, then consume it so it is not handled twice.
    // (Filters installed on the window before this one therefore do not see close events.)
    static_cast<QObject*>(watched)->event(event);
    if (event->isAccepted() && m_active && m_window && m_store) {
        runAutomatic([this] {
            save(*m_store, false);
            if (m_closedSaveHandler)
                m_closedSaveHandler();
        });
    }
    return true;
}
