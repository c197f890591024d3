#pragma once
// A window's stored placement: where a top-level window was (normal rectangle, minimised and
// maximised positions, show state, focused control), written into the window's section key and
// read back when the window is created, plus the size limits the window enforces. Linked
// components (the recent-file lists) and stored properties ride along on the same save and
// restore, in that order.
//
// Qt has no platform placement record; the record is mapped onto the widget: the normal
// rectangle is the widget's client geometry (right = left + width), the show state is its
// window state, and the flags and minimised/maximised positions are kept by this object so they
// survive a save/restore round trip unchanged.

#include <QFlags>
#include <QList>
#include <QObject>
#include <QPointer>
#include <QRect>
#include <QSize>
#include <QString>

class QTimer;

#include <functional>
#include <optional>

class QWidget;
class SettingsStore;

// Eight limits, 0 meaning "not set". Only the minimum and maximum (tracking) sizes map onto Qt
// (the widget's own size limits); the maximised position and size are kept but have no Qt
// equivalent.
class WindowSizeLimits
{
public:
    WindowSizeLimits() = default;
    // Copies the values only; the owner's change notification stays with the owner.
    WindowSizeLimits(const WindowSizeLimits& other);
    WindowSizeLimits& operator=(const WindowSizeLimits& other); // notifies when something changed

    int maximizedLeft() const { return m_maximizedLeft; }
    int maximizedTop() const { return m_maximizedTop; }
    int maximizedHeight() const { return m_maximizedHeight; }
    int maximizedWidth() const { return m_maximizedWidth; }
    int maximumHeight() const { return m_maximumHeight; }
    int maximumWidth() const { return m_maximumWidth; }
    int minimumHeight() const { return m_minimumHeight; }
    int minimumWidth() const { return m_minimumWidth; }
    void setMaximizedLeft(int v) { set(m_maximizedLeft, v); }
    void setMaximizedTop(int v) { set(m_maximizedTop, v); }
    void setMaximizedHeight(int v) { set(m_maximizedHeight, v); }
    void setMaximizedWidth(int v) { set(m_maximizedWidth, v); }
    void setMaximumHeight(int v) { set(m_maximumHeight, v); }
    void setMaximumWidth(int v) { set(m_maximumWidth, v); }
    void setMinimumHeight(int v) { set(m_minimumHeight, v); }
    void setMinimumWidth(int v) { set(m_minimumWidth, v); }

    // Minimum and maximum sizes both width by height.
    void setFixedSize(int width, int height);
    // True when no value is set: the window's own limits are left alone.
    bool isDefault() const;
    bool operator==(const WindowSizeLimits& other) const;

    // Called after any value changed (set by the owning placement).
    void setChangeHandler(std::function<void()> handler) { m_changeHandler = std::move(handler); }

private:
    void set(int& field, int value);

    int m_maximizedLeft = 0;
    int m_maximizedTop = 0;
    int m_maximizedHeight = 0;
    int m_maximizedWidth = 0;
    int m_maximumHeight = 0;
    int m_maximumWidth = 0;
    int m_minimumHeight = 0;
    int m_minimumWidth = 0;
    std::function<void()> m_changeHandler;
};

class WindowSettings : public QObject
{
    Q_OBJECT
    Q_PROPERTY(QString section READ section WRITE setSection)
    Q_PROPERTY(Options options READ options WRITE setOptions)
    Q_PROPERTY(bool active READ isActive WRITE setActive)

public:
    enum Option {
        ShowState = 0x1,      // show state is restored
        Position = 0x2,       // rectangles and positions are restored
        FocusedControl = 0x4, // focused control is saved and restored
    };
    Q_DECLARE_FLAGS(Options, Option)
    Q_FLAG(Options)

    using SaveHook = std::function<void(SettingsStore&)>;
    using LoadHook = std::function<void(const SettingsStore&)>;
    using ErrorHandler = std::function<void(const QString& message)>;

    // Parented to the window; starts active with ShowState | Position.
    explicit WindowSettings(QWidget* window);
    // Saves as at destruction when the automatic occasions are on and the window has not said
    // so itself (see windowDestroying).
    ~WindowSettings() override;

    QWidget* window() const;

    // The window's section key; empty means the window's class name.
    QString section() const;
    void setSection(const QString& section);
    Options options() const;
    void setOptions(Options options);
    // Off: the automatic occasions (attach, close, destruction) neither restore nor save. Not
    // stored: every run starts active.
    bool isActive() const;
    void setActive(bool active);
    // The application's main window: a stored minimised state is applied by a queued minimise
    // instead of directly.
    void setMainWindow(bool main);

    const WindowSizeLimits& sizeLimits() const;
    WindowSizeLimits& sizeLimits(); // changes apply to the window at once
    void setSizeLimits(const WindowSizeLimits& limits);

    // Screen size used for the "(WxH)" suffix; an invalid size means the primary screen's.
    void setScreenSize(const QSize& size);
    QSize screenSize() const;

    // Components that keep their own keys (the recent lists): saved and loaded right after the
    // placement. Returns an id for removeLinked.
    int addLinked(SaveHook save, LoadHook load);
    void removeLinked(int id);
    // Stored properties, saved and loaded after the linked components in the order added; an
    // exception from one load is ignored and the next goes on.
    void addStoredProperty(const QString& name, SaveHook save, LoadHook load);
    QStringList storedPropertyNames() const;

    // Where errors of the automatic occasions go (default: a warning on the log); the window
    // goes on opening or closing either way. The application points it at its error box.
    void setErrorHandler(ErrorHandler handler);
    // Runs after the values were saved because the window closed (the program store flushes its
    // file there, so what the user confirmed is on disk at once).
    void setClosedSaveHandler(std::function<void()> handler);

    // Placement as far as Options allow, then linked components, stored properties and the
    // focused control. Clears the "saved since" mark.
    void restore(const SettingsStore& store);
    // Placement values, then linked components, then stored properties. Does nothing before the
    // first restore. "Visible" is "1" when destroying, "0" otherwise. The placement values are
    // written only once the window has been shown.
    void save(SettingsStore& store, bool destroying = false);
    bool hasRestored() const;
    // True when the last restore found a stored position for the window.
    bool hasStoredPlacement() const { return m_hasStoredPlacement; }
    // True once the window has been shown; before that its placement is not saved.
    bool hasBeenShown() const { return m_shown; }
    bool savedSinceRestore() const;

    // Turns on the automatic occasions with the store (which must outlive this object): restores
    // now when Active (the window calls this while it is being created, before its own set-up
    // code that should see the restored values), then saves whenever the window accepts a close
    // and at destruction unless saved since the last restore.
    void attach(SettingsStore* store);
    // Called before the window's destruction begins, while it is whole, so the stored properties
    // and the focused control can still be read; saves unless saved since the last restore, then
    // detaches.
    void windowDestroying();
    // Ends the automatic occasions without saving.
    void detach() { m_store = nullptr; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    struct Linked
    {
        int id;
        SaveHook save;
        LoadHook load;
    };
    struct StoredProperty
    {
        QString name;
        SaveHook save;
        LoadHook load;
    };

    QString suffix() const;
    QRect normalRect() const;
    int showCommand() const;
    bool isSizeable() const;
    void savePlacement(SettingsStore& store, bool destroying);
    void restorePosition(const SettingsStore& store);
    void restoreState(const SettingsStore& store);
    void restoreActiveControl(const SettingsStore& store);
    void applySizeLimits();
    void runAutomatic(const std::function<void()>& step);
    void correctPlacement();
    void bringOntoScreen();

    QPointer<QWidget> m_window;
    QString m_section;
    Options m_options = Options(ShowState) | Position;
    bool m_active = true;
    bool m_mainWindow = false;
    WindowSizeLimits m_sizeLimits;
    bool m_limiting = false;
    QSize m_designedMin;
    QSize m_designedMax;
    QSize m_screenSize;

    // After a restore, the client position the next show asks for, until the window manager has
    // placed the window: one that takes it for the frame's position is corrected once.
    bool m_placementToCheck = false;
    std::optional<QPoint> m_expectedAt;
    // Where the window was put before it was shown: what is saved as its position where the
    // desktop places windows and reports 0,0 for every one.
    std::optional<QPoint> m_askedAt;
    QTimer* m_placementSettle = nullptr;

    // The parts of the placement record Qt does not hold.
    int m_flags = 0;
    QPoint m_minPos{-1, -1};
    QPoint m_maxPos{-1, -1};

    QList<Linked> m_linked;
    int m_nextLinkedId = 1;
    QList<StoredProperty> m_properties;
    ErrorHandler m_errorHandler;
    std::function<void()> m_closedSaveHandler;

    SettingsStore* m_store = nullptr;
    bool m_restored = false;
    bool m_savedSince = false;
    bool m_hasStoredPlacement = false;
    bool m_shown = false;
};

Q_DECLARE_OPERATORS_FOR_FLAGS(WindowSettings::Options)

// `rect` moved as little as needed to lie within the available area of the screen it is on (or
// the primary screen); one larger than that area keeps its top left corner on it.
QRect keptOnScreen(const QRect& rect);
