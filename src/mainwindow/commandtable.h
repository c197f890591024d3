#pragma once
// Every command of the main window as a row: where it shows, its designed name (the action's
// objectName, which is how stored values and tests find it), caption, shortcut, hint, check mark
// and handler. Menus, tool bar, context menu, status-bar menu and notification-area menu are all
// built from this one table. A row without a handler is a command not built yet: it stays
// disabled.

#include <span>

class MainWindow;
class QMenu;
class QMenuBar;
class QToolBar;
class CommandRegistry;

enum class CommandPlace {
    MenuBar,     // a menu of the menu bar
    Menu,        // an item of the last menu; it opens a submenu when Submenu rows follow it
    Submenu,     // an item of the submenu opened by the last Menu row
    ToolBar,     // a tool button; ">" pushes the rest to the right edge
    ContextMenu, // the editor's and the tab strip's context menu
    StatusMenu,  // the status bar's context menu
    TrayMenu,    // the notification-area menu
    TraySubmenu, // the submenu opened by the last TrayMenu row
};

using CommandHandler = void (*)(MainWindow& window);

struct CommandRow
{
    enum class Check { None, Unchecked, Checked };

    CommandPlace place;
    const char* name; // designed name; "-" for a separator
    const char* caption = "";
    const char* shortcut = "";
    const char* hint = ""; // tool buttons: "short|long"; elsewhere the long hint
    CommandHandler handler = nullptr;
    Check check = Check::None;
    const char* icon = ""; // tool buttons: freedesktop icon name; the program's own picture otherwise
};

std::span<const CommandRow> commandTable();

// Where the built commands go.
struct CommandWidgets
{
    QMenuBar* menuBar = nullptr;
    QToolBar* toolBar = nullptr;
    QMenu* contextMenu = nullptr;
    QMenu* statusMenu = nullptr;
    QMenu* trayMenu = nullptr;
};

// Makes one action per row into `registry`, puts it where its row says and connects its
// handler through the command guard.
void buildCommands(MainWindow& window, CommandRegistry& registry, const CommandWidgets& widgets);
