#include "settings/windowsettings.h"

#include "settings/settingsstore.h"

#include <QCloseEvent>
#include <QGuiApplication>
#include <QMetaObject>
#include <QRegularExpression>
#include <QScreen>
#include <QWidget>
#include <QtDebug>

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

constexpr Qt::WindowStates ShownStates = Qt::WindowMinimized | Qt::WindowMaximized | Qt::WindowFullScreen;

} // namespace

// ---------------------------------------------------------------------------------------------

WindowSizeLimits::WindowSizeLimits(const WindowSizeLimits& other)
    : m_maxPosLeft(other.m_maxPosLeft), m_maxPosTop(other.m_maxPosTop), m_maxSizeHeight(other.m_maxSizeHeight),
      m_maxSizeWidth(other.m_maxSizeWidth), m_maxTrackHeight(other.m_maxTrackHeight),
      m_maxTrackWidth(other.m_maxTrackWidth), m_minTrackHeight(other.m_minTrackHeight),
      m_minTrackWidth(other.m_minTrackWidth)
{}

WindowSizeLimits& WindowSizeLimits::operator=(const WindowSizeLimits& other)
{
    if (*this == other)
        return *this;
    m_maxPosLeft = other.m_maxPosLeft;
    m_maxPosTop = other.m_maxPosTop;
    m_maxSizeHeight = other.m_maxSizeHeight;
    m_maxSizeWidth = other.m_maxSizeWidth;
    m_maxTrackHeight = other.m_maxTrackHeight;
    m_maxTrackWidth = other.m_maxTrackWidth;
    m_minTrackHeight = other.m_minTrackHeight;
    m_minTrackWidth = other.m_minTrackWidth;
    if (m_onChange)
        m_onChange();
    return *this;
}

void WindowSizeLimits::setFixed(int width, int height)
{
    WindowSizeLimits next(*this);
    next.m_minTrackWidth = next.m_maxTrackWidth = width;
    next.m_minTrackHeight = next.m_maxTrackHeight = height;
    *this = next; // one notification for all four values
}

bool WindowSizeLimits::isDefault() const
{
    return *this == WindowSizeLimits();
}

bool WindowSizeLimits::operator==(const WindowSizeLimits& other) const
{
    return m_maxPosLeft == other.m_maxPosLeft && m_maxPosTop == other.m_maxPosTop &&
           m_maxSizeHeight == other.m_maxSizeHeight && m_maxSizeWidth == other.m_maxSizeWidth &&
           m_maxTrackHeight == other.m_maxTrackHeight && m_maxTrackWidth == other.m_maxTrackWidth &&
           m_minTrackHeight == other.m_minTrackHeight && m_minTrackWidth == other.m_minTrackWidth;
}

void WindowSizeLimits::set(int& field, int value)
{
    if (field == value)
        return;
    field = value;
    if (m_onChange)
        m_onChange();
}

// ---------------------------------------------------------------------------------------------

WindowSettings::WindowSettings(QWidget* form) : QObject(form), m_form(form)
{
    m_minMax.setOnChange([this] { applyMinMaxInfo(); });
}

WindowSettings::~WindowSettings()
{
    // As a child of the form this runs inside the form's destructor, after the form's own
    // destructor body: the widget's geometry and state are still there, its controls may not be.
    formDestroying();
}

QWidget* WindowSettings::form() const
{
    return m_form;
}

QString WindowSettings::iniSection() const
{
    if (m_section.isEmpty() && m_form)
        return QString::fromLatin1(m_form->metaObject()->className());
    return m_section;
}

void WindowSettings::setIniSection(const QString& section)
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

bool WindowSettings::isMainWindow() const
{
    return m_mainWindow;
}

void WindowSettings::setMainWindow(bool main)
{
    m_mainWindow = main;
}

const WindowSizeLimits& WindowSettings::minMaxInfo() const
{
    return m_minMax;
}

WindowSizeLimits& WindowSettings::minMaxInfo()
{
    return m_minMax;
}

void WindowSettings::setMinMaxInfo(const WindowSizeLimits& info)
{
    m_minMax = info;
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
    if (m_form->windowState() & (Qt::WindowMaximized | Qt::WindowFullScreen)) {
        const QRect normal = m_form->normalGeometry();
        if (normal.isValid())
            return normal;
    }
    return m_form->geometry();
}

int WindowSettings::showCmd() const
{
    if (m_form->isMinimized())
        return 2;
    if (m_form->isMaximized())
        return 3;
    return 1;
}

bool WindowSettings::isSizeable() const
{
    if (m_form->windowFlags() & (Qt::MSWindowsFixedSizeDialogHint | Qt::FramelessWindowHint))
        return false;
    return m_form->minimumSize() != m_form->maximumSize();
}

void WindowSettings::savePlacement(SettingsStore& store, bool destroying)
{
    const QString section = iniSection();
    const QString sfx = suffix();
    store.writeString(section, FlagsName, QString::number(m_flags));
    store.writeString(section, ShowCmdName, QString::number(showCmd()));

    const QString minMax = fourInts(m_minPos.x(), m_minPos.y(), m_maxPos.x(), m_maxPos.y());
    store.writeString(section, MinMaxPosName + sfx, minMax);
    store.writeString(section, MinMaxPosName, minMax);

    const QRect r = normalRect();
    const QString norm = fourInts(r.left(), r.top(), r.left() + r.width(), r.top() + r.height());
    store.writeString(section, NormPosName + sfx, norm);
    store.writeString(section, NormPosName, norm);

    if (m_options & fpActiveControl) {
        const QWidget* focused = m_form->focusWidget();
        if (focused && focused != m_form && !focused->objectName().isEmpty())
            store.writeString(section, ActiveControlName, focused->objectName());
    }
    store.writeString(section, VisibleName, destroying ? QStringLiteral("1") : QStringLiteral("0"));
}

void WindowSettings::restorePosition(const SettingsStore& store)
{
    const QString section = iniSection();
    const QString sfx = suffix();
    const int flags = parsePlacementInt(store.readString(section, FlagsName), m_flags);

    QString minMax = store.readString(section, MinMaxPosName + sfx);
    if (minMax.isEmpty())
        minMax = store.readString(section, MinMaxPosName);
    QPoint minPos = m_minPos;
    QPoint maxPos = m_maxPos;
    if (!minMax.isEmpty()) {
        const QStringList w = positionWords(minMax);
        minPos = QPoint(wordAt(w, 0, 0), wordAt(w, 1, 0));
        maxPos = QPoint(wordAt(w, 2, 0), wordAt(w, 3, 0));
    }

    QString norm = store.readString(section, NormPosName + sfx);
    if (norm.isEmpty())
        norm = store.readString(section, NormPosName);
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

    m_flags = flags;
    m_minPos = minPos;
    m_maxPos = maxPos;
    const QRect target(left, top, right - left, bottom - top);
    const Qt::WindowStates state = m_form->windowState();
    if (state & ShownStates) {
        // The stored rectangle is the normal one: set it in the normal state, then go back.
        m_form->setWindowState(state & ~ShownStates);
        m_form->setGeometry(target);
        m_form->setWindowState(state);
    } else {
        m_form->setGeometry(target);
    }
}

void WindowSettings::restoreState(const SettingsStore& store)
{
    enum class State { Normal, Minimised, Maximised };
    State state = State::Normal;
    switch (parsePlacementInt(store.readString(iniSection(), ShowCmdName), 0)) {
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

    const Qt::WindowStates normal = m_form->windowState() & ~ShownStates;
    if (state == State::Minimised && m_mainWindow) {
        // The main window comes up normal and is minimised once the event loop runs, as the
        // application as a whole would be.
        m_form->setWindowState(normal);
        QWidget* w = m_form;
        QMetaObject::invokeMethod(
            w, [w] { w->setWindowState(w->windowState() | Qt::WindowMinimized); }, Qt::QueuedConnection);
        return;
    }
    Qt::WindowStates next = normal;
    if (state == State::Minimised)
        next |= Qt::WindowMinimized;
    else if (state == State::Maximised)
        next |= Qt::WindowMaximized;
    m_form->setWindowState(next);
    m_form->update();
}

void WindowSettings::restoreActiveControl(const SettingsStore& store)
{
    const QString name = store.readString(iniSection(), ActiveControlName);
    if (name.isEmpty())
        return;
    QWidget* control = m_form->findChild<QWidget*>(name);
    if (!control || !control->isEnabled() || control->focusPolicy() == Qt::NoFocus || !control->isVisibleTo(m_form))
        return;
    control->setFocus(Qt::OtherFocusReason);
}

void WindowSettings::restore(const SettingsStore& store)
{
    if (!m_form)
        return;
    // A restore that was attempted counts, so a window whose store failed still saves later.
    m_restored = true;
    m_savedSince = false;

    if (m_options & fpPosition)
        restorePosition(store);
    if (m_options & fpState)
        restoreState(store);
    if (m_minMax.isDefault()) {
        // Without size limits (the main window) a maximised frame lies just outside the screen.
        const QRect frame = m_form->frameGeometry();
        const QRect client = m_form->geometry();
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
    if (m_options & fpActiveControl)
        restoreActiveControl(store);
}

void WindowSettings::save(SettingsStore& store, bool destroying)
{
    // Saving before any restore would overwrite the stored settings with built-in values.
    if (!m_form || !m_restored)
        return;
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

void WindowSettings::applyMinMaxInfo()
{
    if (!m_form)
        return;
    if (m_minMax.isDefault()) {
        // Nothing to enforce any more: give the window back the limits it was designed with.
        if (m_limiting) {
            m_form->setMinimumSize(m_designedMin);
            m_form->setMaximumSize(m_designedMax);
            m_limiting = false;
        }
        return;
    }
    if (!m_limiting) {
        m_designedMin = m_form->minimumSize();
        m_designedMax = m_form->maximumSize();
        m_limiting = true;
    }
    // Tracking sizes map onto the widget's size limits; min == max makes it a fixed size.
    QSize minimum = m_designedMin;
    QSize maximum = m_designedMax;
    if (m_minMax.minTrackWidth())
        minimum.setWidth(m_minMax.minTrackWidth());
    if (m_minMax.minTrackHeight())
        minimum.setHeight(m_minMax.minTrackHeight());
    if (m_minMax.maxTrackWidth())
        maximum.setWidth(m_minMax.maxTrackWidth());
    if (m_minMax.maxTrackHeight())
        maximum.setHeight(m_minMax.maxTrackHeight());
    m_form->setMaximumSize(maximum);
    m_form->setMinimumSize(minimum);
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
            qWarning("Window settings of %s: %s", qPrintable(iniSection()), e.what());
    } catch (...) {
        const QString message = QStringLiteral("unknown error while storing window settings");
        if (m_errorHandler)
            m_errorHandler(message);
        else
            qWarning("Window settings of %s: %s", qPrintable(iniSection()), qPrintable(message));
    }
}

void WindowSettings::attach(SettingsStore* store)
{
    if (!m_form || !store)
        return;
    if (!m_store)
        m_form->installEventFilter(this);
    m_store = store;
    if (m_active)
        runAutomatic([this] { restore(*m_store); });
}

void WindowSettings::formDestroying()
{
    SettingsStore* store = std::exchange(m_store, nullptr);
    if (!store || !m_form)
        return;
    m_form->removeEventFilter(this);
    if (m_active && !m_savedSince)
        runAutomatic([this, store] { save(*store, true); });
}

bool WindowSettings::eventFilter(QObject* watched, QEvent* event)
{
    if (watched != m_form || event->type() != QEvent::Close || !m_store)
        return QObject::eventFilter(watched, event);
    // A filter runs before the window decides; hand the event to the window now so the save
    // happens only when it agreed to close, then consume it so it is not handled twice.
    // (Filters installed on the window before this one therefore do not see close events.)
    static_cast<QObject*>(watched)->event(event);
    if (event->isAccepted() && m_active && m_form && m_store)
        runAutomatic([this] { save(*m_store, false); });
    return true;
}
