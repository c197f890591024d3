#pragma once
// The notification-area icon and the main window's modes: hiding the program to the icon and
// restoring it with its side windows (the ClipBook, the document selector, the tip of the day and
// About) as they were, the "/MiniTray" start, stay-on-top, the tool bar at the top or the bottom
// (sliding there when the options say so) and shown or hidden, and another copy of the program.
// Where the desktop has no notification area, or "Use System Tray" is off, the icon counts as not
// active: nothing hides the program, since nothing could bring it back, and the status bar says
// which of the two is why. A notification area that goes away while the program is hidden brings
// it back at once, for the same reason.

#include <QList>
#include <QObject>
#include <QPointer>

#include <functional>
#include <memory>

class CommandRegistry;
class QMainWindow;
class QMenu;
class QSystemTrayIcon;
class QTimer;
class QToolBar;
class QVariantAnimation;
class QWidget;
class StatusBar;
struct ProgramWindows;

namespace platform {
class Launcher;
}

class TrayController : public QObject
{
    Q_OBJECT

public:
    // Tests on a platform without a notification area can have the program act as if it had one.
    static inline bool AssumeTrayAvailable = false;
    static bool trayAvailable();

    TrayController(QMainWindow& window, QToolBar& toolBar, StatusBar& statusBar, CommandRegistry& commands,
                   const ProgramWindows& windows, QMenu& trayMenu);
    ~TrayController() override;

    // The stored "TrayIcon.Active": the icon shows while it is set and the desktop has a tray.
    void setIconWanted(bool wanted);
    bool isActive() const;
    QSystemTrayIcon* icon() const { return m_icon.get(); }

    // "&Hide Quillet", also a refused close: remembers the side windows, hides them and the window.
    void hideProgram();
    // "Restore &Quillet": the side windows as they were, the window shown and in front.
    void restoreProgram();
    // The "/MiniTray" start hides as Hide does: the tip of the day may be up by then.
    void hideAtStart();
    // What a close request remembers of the side windows.
    void rememberSideWindows();

    // "&Stay-On-Top": the window stays above every window while the item is checked.
    void applyStayOnTop();

    // The tool bar: "&Top", "&Bottom", "Show &Tool Bar" (which follows its toggled check); each
    // slides when the options window's "&Animate ToolBars" is checked.
    void toolBarToTop();
    void toolBarToBottom();
    void toggleToolBar();
    // "&Top" and "&Bottom" from where the tool bar is (after its alignment was restored).
    void updateToolBarCommands();
    bool toolBarAtBottom() const;
    bool toolBarSliding() const;
    // Ends a slide at once where it was going (the window is resized or closed meanwhile).
    void finishSlide();
    QMenu* toolBarMenu() const { return m_toolBarMenu; }

    // "Another &Quillet Window": the program's own executable, without arguments.
    void startAnotherInstance();
    void setLauncher(platform::Launcher* launcher);

private:
    void iconActivated(int reason);
    void setMenuPictures();
    void noTrayNote();
    // While the program is hidden: shown again once the notification area is gone.
    void checkTrayWhileHidden();
    // The windows that hide with the program, in the order they come back (above the main window).
    QList<QWidget*> sideWindows() const;
    bool animationWanted() const;
    // Slides the tool bar's visible height from `from` to `to` pixels, then runs `done`.
    void slide(int from, int to, std::function<void()> done);
    void placeToolBar(bool bottom);
    void toolBarPlaced(bool bottom);

    QMainWindow& m_window;
    QToolBar& m_toolBar;
    StatusBar& m_statusBar;
    CommandRegistry& m_commands;
    const ProgramWindows& m_windows;
    QMenu& m_trayMenu;
    std::unique_ptr<QSystemTrayIcon> m_icon;
    std::unique_ptr<platform::Launcher> m_desktop;
    platform::Launcher* m_launcher = nullptr;
    QMenu* m_toolBarMenu = nullptr;
    QTimer* m_trayWatch = nullptr;
    QVariantAnimation* m_slide = nullptr;
    std::function<void()> m_slideDone;
    bool m_iconWanted = true;
    QList<QPointer<QWidget>> m_shownAtHide;
};
