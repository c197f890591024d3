// The main window's commands: one QAction per menu item and tool button, made here from tables
// that carry each item's designer name, caption, shortcut and hint. A command that is not built
// yet has no handler and stays disabled.

#include "core/commandguard.h"
#include "mainwindow/mainwindow.h"
#include "editor/editorview.h"
#include "settings/recentfilesmenu.h"

#include <QAction>
#include <QApplication>
#include <QMenu>
#include <QMenuBar>
#include <QPainter>
#include <QStyle>
#include <QToolBar>
#include <QToolButton>

namespace {

struct MenuRow
{
    int depth;        // 0: menu of the menu bar, 1: its item, 2: item of a submenu
    const char* name; // designer name; "-" for a separator
    const char* caption;
    const char* shortcut;
    const char* hint; // the long hint, shown in the status bar
};

const MenuRow MainMenuRows[] = {
    {0, "File1", "&File", "", "This Contains Commands to Manipulate Files"},
    {1, "New1", "&New", "Ctrl+N", "Create a new file in the editor"},
    {1, "Open1", "&Open", "Ctrl+O", "Open an existing file"},
    {1, "ReOpen1", "&ReOpen", "", "ReOpen Recently used Documents"},
    {2, "RemoveAll1", "Remove &All", "", "Remove Recently Used Files from this menu"},
    {1, "ClipBookFiles1", "ClipBook &Files", "Ctrl+F", "Show the Favorite Files Window"},
    {1, "Save1", "&Save", "Ctrl+S", "Save the Current Document"},
    {1, "SaveAs1", "Save &As...", "Ctrl+Shift+S", "Save the Current Document As..."},
    {1, "SaveAll1", "Sa&ve All", "Ctrl+Shift+A", "Save All Open Documents"},
    {1, "Mail1", "&Mail", "", "E-Mail the Current Document"},
    {1, "Export1", "&Export", "", "Export Current File to UNIX or MAC"},
    {2, "UNIXLFonly1", "UNIX (LF only)", "", "Export Current File to UNIX Format"},
    {2, "MACCRonly1", "MAC (CR only)", "", "Export Current File to MAC Format"},
    {1, "CloseDocument1", "&Close Document", "Ctrl+F4", "Close Current Document"},
    {1, "CloseAll1", "C&lose All", "Ctrl+Shift+F4", "Close all Open Documents"},
    {1, "PrinterSetup1", "Printer Set&up", "", "Setup your Printer"},
    {1, "Print1", "&Print", "Ctrl+P", "Print the Current Document"},
    {1, "Exit1", "E&xit", "", "Exit Quillet"},
    {0, "Edit1", "&Edit", "", "This Contains Commands to Manipulate Text"},
    {1, "UndoRedo1", "&Undo/Redo", "Ctrl+Z", "Undo/Redo your last action in Quillet"},
    {1, "Cut1", "&Cut", "Ctrl+X", "Cut the Selected Text to the ClipBoard"},
    {1, "Copy1", "C&opy", "Ctrl+C", "Copy the Selected Text to the ClipBoard"},
    {1, "Paste1", "&Paste", "Ctrl+V", "Paste Text from the ClipBoard"},
    {1, "Delete1", "&Delete", "", "Delete Selected Text"},
    {1, "ClearAll1", "Clear &All", "", "Clear the Whole Document"},
    {1, "SelectAll1", "&Select All", "Ctrl+A", "Select the Whole Document"},
    {1, "CopyAll1", "Cop&y All", "", "Copy the Whole Document to the ClipBoard"},
    {1, "FindAndReplace1", "&Find And Replace...", "", "Find And Replace Specified Text"},
    {1, "SearchAgain1", "Sea&rch Again", "F3", "Search the Current Document Again for Search Text"},
    {1, "GotoLine1", "&Goto Line...", "Ctrl+G", "Goto a Certain Line"},
    {1, "InsertDateAndTime1", "&Insert Date And Time", "", "Insert Time"},
    {2, "DateTimeFilter1", "Date Time &Filter", "F5", "Insert your Date Time Filter"},
    {2, "-", "", "", ""},
    {2, "ShortDateAndTime1", "&Short Date And Time", "", "Insert the Date and Time in Short Format"},
    {2, "ShortDate1", "Short &Date", "", "Insert the Date in Short Format"},
    {2, "ShortTime1", "Short &Time", "", "Insert the Time in Short Format"},
    {2, "LongDate1", "&Long Date", "", "Insert the Date in Long Format"},
    {2, "LongTime1", "Long Ti&me", "", "Insert the Time in Long Format"},
    {2, "LongDateAndTime1", "Long Date &And Time", "", "Insert the Date and Time in Long Format"},
    {1, "ChangeFont1", "Cha&nge Font", "Ctrl+Shift+F", "Change Quillet's Current Font"},
    {0, "Selection1", "&Selection", "", "This Contains Commands to Manipulate the Selected Text"},
    {1, "SaveSelection1", "Sa&ve Selection", "", "Save the Selected Text as..."},
    {1, "AppendtoFile1", "Append to &File", "", "Append Selected Text to a File"},
    {1, "TabsSpaces1", "&Tabs -> Spaces", "", "Convert Tabs to Spaces in Selection"},
    {1, "ReverseSelection1", "&Reverse Selection", "", "Reverse the Selected Text"},
    {1, "ConverttoUppercase1", "Convert to &Uppercase", "", "Convert the Selected Text to UPPERCASE"},
    {1, "ConverttoLowercase1", "Convert to &Lowercase", "", "Convert the Selected Text to lowercase"},
    {0, "Print2", "&Print", "", "This Contains Commands to Print Text"},
    {1, "PrintDocument1", "Print &Document", "Ctrl+P", "Print Current Document"},
    {1, "PrintSelection1", "Print &Selection", "", "Print Selected Text"},
    {1, "PageSetup1", "&Page Setup...", "", "Setup Your Page"},
    {1, "PrinterSetup2", "P&rinter Setup...", "", "Setup Your Printer"},
    {0, "Document1", "&Document", "", "This Contains Commands Relating to the Current Document"},
    {1, "Properties1", "&Properties", "Ctrl+Shift+P", "Change the Properties of the Current Document"},
    {1, "WordWrap1", "&Word Wrap", "Ctrl+W", "Toggle Word-Wrap On/Off"},
    {1, "Font1", "&Font", "Ctrl+Shift+F", "Change Quillet's Current Font"},
    {1, "OEMANSI1", "&OEM -> ANSI", "", "Convert Current Document form OEM to ANSI"},
    {1, "ANSIOEM1", "&ANSI -> OEM", "", "Convert Current Document form ANSI to OEM"},
    {1, "RefreshFromDisk1", "&Refresh From Disk", "", "Reload Current Document"},
    {1, "InsertFile1", "Insert &File", "Ctrl+I", "Insert File into Current Document"},
    {1, "AdjustLineBreaks1", "Adjust Line &Breaks", "", "Standardize Line Breaks"},
    {1, "GotoClipBookFiles1", "&Goto ClipBook Files", "", "Goto ClipBook Files"},
    {2, "First1", "First", "", "Goto the First File in ClipBook Files"},
    {2, "Last1", "Last", "", "Goto the Last File in ClipBook Files"},
    {2, "Next1", "Next", "", "Goto the Next File in ClipBook Files"},
    {2, "Previous1", "Previous", "", "Goto the Previous File in ClipBook Files"},
    {2, "Current1", "Current", "", "Goto the Current File in ClipBook Files"},
    {1, "AddToClipBookFiles1", "&Add To ClipBook Files", "", "Add Current Document to ClipBook Files"},
    {0, "Options1", "&Options", "", "This Contains Commands to Configure Quillet"},
    {1, "Configure1", "&Configure...", "", "Configure Quillet to work with Your Computer"},
    {1, "Preferences1", "&Preferences", "Ctrl+F2", "Change Quillet's Preferences"},
    {1, "UtilityOptions1", "Utility Options...", "Ctrl+F3", "Configure Quillet's Utilities"},
    {1, "ShowToolBars1", "Show &Tool Bar", "", "Toggle the ToolBar"},
    {1, "AlignToolBar1", "&Align Tool Bar", "", "Align ToolBar"},
    {2, "Top1", "&Top", "", "Align the ToolBar to the Top"},
    {2, "Bottom1", "&Bottom", "", "Align the ToolBar to the Bottom"},
    {1, "StayOnTop1", "&Stay-On-Top", "Ctrl+T", "Toggle Quillet staying On-Top of other Windows"},
    {0, "Tools1", "&Tools", "", "This Contains Commands to all of Quillet's Tools"},
    {1, "ClipBook1", "&ClipBook", "Ctrl+B", "Show the ClipBook"},
    {1, "NewTemplate1", "&New Template", "", "Create ClipBook Template"},
    {1, "AddToClipBook1", "&Add To ClipBook", "", "Add Selected Text to ClipBook"},
    {1, "OpenClipBookTemplate1", "&Open ClipBook Template", "", "Open ClipBook Template"},
    {1, "ClipBookFiles2", "ClipBook &Files", "Ctrl+F", "Show ClipBook Files"},
    {1, "NewFileTemplate1", "New &File Template", "", "Create ClipBook Files Template"},
    {1, "AddFiletoClipBookFiles1", "A&dd File to ClipBook Files", "", "Add  Current Document to ClipBook Files"},
    {1, "OpenClipBookFileTemplate1", "&Open ClipBook File Template", "", "Open ClipBook Files Template"},
    {1, "DocumentSelector1", "&Document Selector", "Ctrl+D", "Show the Document Selector"},
    {1, "HexEditor1", "&Hex Editor", "", "Load the Quillet Hex Editor"},
    {1, "ViewCurrentFileinHexEditor1", "View Current File in Hex &Editor", "Ctrl+H",
     "Load the Current File into the Quillet Hex Editor"},
    {1, "WordCount1", "&Word Count", "Ctrl+Shift+C", "Count the number of Words in Current Document"},
    {1, "ExecuteFile1", "Execute File...", "Ctrl+E", "Execute a File on your computer..."},
    {1, "OpenLink1", "Open &Link", "Ctrl+L", "Open Selected Link in Default Browser"},
    {1, "ViewCurrentFileInBrowser1", "&View Current File In Browser", "Ctrl+Shift+W", "View Current File in Browser"},
    {0, "View1", "&View", "", "This Contains Commands to change views"},
    {1, "HideQuillet1", "&Hide Quillet", "Ctrl+Shift+H", "Hide Quillet From Windows"},
    {1, "NextDocument1", "&Next Document", "F7", "Goto Next Tabbed Document"},
    {1, "PreviousDocument1", "&Previous Document", "Shift+F7", "Goto Previous Tabbed Document"},
    {1, "AnotherInstance1", "Another &Quillet Window", "", "Load Quillet Again"},
    {0, "Help1", "&Help", "", "This Contains Commands to Help You"},
    {1, "Contents1", "&Contents", "F1", "Need Help? Click This!"},
    {1, "ReadMeFile1", "&ReadMe File", "", "Load Quillet's ReadMe File"},
    {1, "QuilletFAQ1", "Quillet FAQ", "", "Load Quillet's Frequently Asked Questions File"},
    {1, "WhatsNewinQuillet1", "&What's New in Quillet?", "", "Load Quillet's What's New? File"},
    {1, "TipOfTheDay1", "&Tip Of The Day...", "Ctrl+Shift+T", "Show a Tip Of The Day"},
    {1, "TechnicalSupport1", "Technical &Support", "", "Get Technical Support on Quillet"},
    {1, "QuilletontheWeb1", "Quillet on the Web", "", "Visit Quillet on the Web"},
    {1, "AboutQuillet1", "&About Quillet v4.6", "Ctrl+F1", "Click This to find out a bit more about Quillet"},
};

struct ButtonRow
{
    const char* name;
    const char* hint; // "short|long"
    const char* icon; // freedesktop icon name; the drawn glyph is the fallback
    const char* glyph;
};

const ButtonRow ToolButtonRows[] = {
    {"NewBtn1", "New|Create a new file in the editor", "document-new", "N"},
    {"OpenBtn1", "Open|Open an existing file", "document-open", "O"},
    {"SaveBtn1", "Save|Save the current document", "document-save", "S"},
    {"SaveAsBtn1", "Save As...|Save the current document as...", "document-save-as", "A"},
    {"-", "", "", ""},
    {"PrintBtn1", "Print|Print the current document", "document-print", "P"},
    {"-", "", "", ""},
    {"UndoBtn1", "Undo/Redo|Undo the last action that changes the current text", "edit-undo", "U"},
    {"CutBtn1", "Cut|Cut selected text to the clipboard", "edit-cut", "X"},
    {"CopyBtn1", "Copy|Copy selected text to the clipboard", "edit-copy", "C"},
    {"PasteBtn1", "Paste|Paste text from the clipboard into the current document", "edit-paste", "V"},
    {"-", "", "", ""},
    {"FindBtn1", "Find|Find a word", "edit-find", "F"},
    {"ReplaceBtn1", "Replace|Replace a word", "edit-find-replace", "R"},
    {"GotoBtn1", "Goto Line|Goto specified line in document", "go-jump", "G"},
    {"TimeBtn1", "Insert Time|Insert current time into the document", "appointment-new", "T"},
    {"-", "", "", ""},
    {"FontBtn1", "Change Font|Change the current font of the document", "preferences-desktop-font", "f"},
    {"WordWrapBtn1", "Word-Wrap|Enable/Disable Word-Wrap on the current document", "", "W"},
    {"-", "", "", ""},
    {"OptionsBtn1", "Options|Show the Quillet Options window", "preferences-system", "o"},
    {"UtilBtn1", "Utility Options|Show the Quillet Utility Options window", "applications-utilities", "u"},
};

struct PopupRow
{
    const char* name;
    const char* caption;
    const char* shortcut;
};

const PopupRow PopupRows[] = {
    {"Undo2", "&Undo", "Ctrl+Z"},
    {"-", "", ""},
    {"Cut2", "Cut", "Ctrl+X"},
    {"Copy2", "Copy", "Ctrl+C"},
    {"Paste2", "Paste", "Ctrl+V"},
    {"Delete2", "Delete", ""},
    {"ClearAll2", "Clear All", ""},
    {"-", "", ""},
    {"SelectAll2", "Select All", "Ctrl+A"},
    {"CopyAll2", "Copy All", ""},
    {"-", "", ""},
    {"InsertFile2", "Insert File", "Ctrl+I"},
    {"SaveSelection2", "Save Selection", ""},
    {"AppendSelectiontoFile1", "Append Selection to File", ""},
    {"-", "", ""},
    {"Save2", "Save", "Ctrl+S"},
    {"Close1", "Close", "Ctrl+F4"},
};

// A small picture with a letter, for tool buttons when the desktop has no icon theme.
QIcon glyphIcon(const QString& glyph, bool bold)
{
    QPixmap pixmap(16, 16);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    QFont font(QStringLiteral("Arial"));
    font.setPixelSize(14);
    font.setBold(bold);
    p.setFont(font);
    p.setPen(QColor(0, 0, 96));
    p.drawText(pixmap.rect(), Qt::AlignCenter, glyph);
    return QIcon(pixmap);
}

} // namespace

QAction* MainWindow::makeAction(const QString& name, const QString& caption, const QString& shortcut,
                                const QString& hint)
{
    auto* action = new QAction(caption, this);
    action->setObjectName(name);
    if (!shortcut.isEmpty()) {
        const QKeySequence keys(shortcut);
        action->setShortcut(keys);
        // Several items show the same key (Ctrl+P, Ctrl+F, Ctrl+Shift+F) and run the same command;
        // the first one owns the key so that Qt does not see an ambiguous shortcut.
        for (const QAction* other : std::as_const(m_actions))
            if (other->shortcut() == keys && other->shortcutContext() == Qt::WindowShortcut) {
                action->setShortcutContext(Qt::WidgetShortcut);
                break;
            }
    }
    const qsizetype bar = hint.indexOf(QLatin1Char('|'));
    action->setToolTip(bar >= 0 ? hint.left(bar) : hint);
    action->setStatusTip(bar >= 0 ? hint.mid(bar + 1) : hint);
    action->setEnabled(false); // until a handler is bound
    m_actions.insert(name, action);
    return action;
}

void MainWindow::bind(const QString& name, void (MainWindow::*handler)())
{
    QAction* action = m_actions.value(name);
    Q_ASSERT(action);
    action->setEnabled(true);
    m_bound.insert(name);
    connect(action, &QAction::triggered, this,
            [this, handler] { runCommand([this, handler] { (this->*handler)(); }); });
}

void MainWindow::createActions()
{
    createMenus();
    createToolBar();
    createPopupMenus();
    createRecentLists();

    m_actions.value(QStringLiteral("ShowToolBars1"))->setCheckable(true);
    m_actions.value(QStringLiteral("ShowToolBars1"))->setChecked(true);
    m_actions.value(QStringLiteral("WordWrap1"))->setCheckable(true);
    m_actions.value(QStringLiteral("StayOnTop1"))->setCheckable(true);
    m_actions.value(QStringLiteral("Show1"))->setCheckable(true);
    m_actions.value(QStringLiteral("Show1"))->setChecked(true);

    bind(QStringLiteral("New1"), &MainWindow::NewBtn1Click);
    bind(QStringLiteral("NewBtn1"), &MainWindow::NewBtn1Click);
    bind(QStringLiteral("NextDocument1"), &MainWindow::NextDocument1Click);
    bind(QStringLiteral("PreviousDocument1"), &MainWindow::PreviousDocument1Click);
    bind(QStringLiteral("WordWrap1"), &MainWindow::WordWrapBtn1Click);
    bind(QStringLiteral("WordWrapBtn1"), &MainWindow::WordWrapBtn1Click);
    bind(QStringLiteral("Exit1"), &MainWindow::Exit1Click);
    bind(QStringLiteral("Show1"), &MainWindow::Show1Click);

    const struct
    {
        const char* name;
        void (MainWindow::*handler)();
    } commands[] = {
        {"Open1", &MainWindow::OpenBtn1Click},
        {"OpenBtn1", &MainWindow::OpenBtn1Click},
        {"Save1", &MainWindow::SaveBtn1Click},
        {"SaveBtn1", &MainWindow::SaveBtn1Click},
        {"Save2", &MainWindow::SaveBtn1Click},
        {"SaveAs1", &MainWindow::SaveAsBtn1Click},
        {"SaveAsBtn1", &MainWindow::SaveAsBtn1Click},
        {"SaveAll1", &MainWindow::SaveAll1Click},
        {"CloseDocument1", &MainWindow::CloseDocBtn1Click},
        {"CloseDocBtn1", &MainWindow::CloseDocBtn1Click},
        {"Close1", &MainWindow::CloseDocBtn1Click},
        {"CloseAll1", &MainWindow::CloseAll1Click},
        {"RefreshFromDisk1", &MainWindow::RefreshFromDisk1Click},
        {"UndoRedo1", &MainWindow::UndoBtn1Click},
        {"UndoBtn1", &MainWindow::UndoBtn1Click},
        {"Undo2", &MainWindow::UndoBtn1Click},
        {"Cut1", &MainWindow::CutBtn1Click},
        {"CutBtn1", &MainWindow::CutBtn1Click},
        {"Cut2", &MainWindow::CutBtn1Click},
        {"Copy1", &MainWindow::CopyBtn1Click},
        {"CopyBtn1", &MainWindow::CopyBtn1Click},
        {"Copy2", &MainWindow::CopyBtn1Click},
        {"Paste1", &MainWindow::PasteBtn1Click},
        {"PasteBtn1", &MainWindow::PasteBtn1Click},
        {"Paste2", &MainWindow::PasteBtn1Click},
        {"Delete1", &MainWindow::Delete1Click},
        {"Delete2", &MainWindow::Delete1Click},
        {"ClearAll1", &MainWindow::ClearAll1Click},
        {"ClearAll2", &MainWindow::ClearAll1Click},
        {"SelectAll1", &MainWindow::SelectAll1Click},
        {"SelectAll2", &MainWindow::SelectAll1Click},
        {"CopyAll1", &MainWindow::CopyAll1Click},
        {"CopyAll2", &MainWindow::CopyAll1Click},
        {"ChangeFont1", &MainWindow::FontBtn1Click},
        {"Font1", &MainWindow::FontBtn1Click},
        {"FontBtn1", &MainWindow::FontBtn1Click},
        {"Preferences1", &MainWindow::Preferences1Click},
        {"OptionsBtn1", &MainWindow::Preferences1Click},
        {"Properties1", &MainWindow::Properties1Click},
        {"ConverttoUppercase1", &MainWindow::Con1Click},
        {"ConverttoLowercase1", &MainWindow::ConverttoLowercase1Click},
        {"ReverseSelection1", &MainWindow::Reverse1Click},
        {"TabsSpaces1", &MainWindow::TabsSpaces1Click},
        {"OEMANSI1", &MainWindow::OEMANSI1Click},
        {"ANSIOEM1", &MainWindow::ANSIOEM1Click},
        {"AdjustLineBreaks1", &MainWindow::AdjustLineBreaks1Click},
        {"RemoveAll1", &MainWindow::RemoveAll1Click},
        {"RemoveAll2", &MainWindow::RemoveAll1Click},
        {"FindBtn1", &MainWindow::FindBtn1Click},
        {"FindAndReplace1", &MainWindow::ReplaceBtn1Click},
        {"ReplaceBtn1", &MainWindow::ReplaceBtn1Click},
        {"SearchAgain1", &MainWindow::SearchAgain1Click},
        {"GotoLine1", &MainWindow::GotoBtn1Click},
        {"GotoBtn1", &MainWindow::GotoBtn1Click},
        {"DateTimeFilter1", &MainWindow::DateTimeFilter1Click},
        {"TimeBtn1", &MainWindow::TimeBtn1Click},
        {"ShortDateAndTime1", &MainWindow::ShortDateAndTime1Click},
        {"ShortDate1", &MainWindow::ShortDate1Click},
        {"ShortTime1", &MainWindow::ShortTime1Click},
        {"LongDate1", &MainWindow::LongDate1Click},
        {"LongTime1", &MainWindow::LongTime1Click},
        {"LongDateAndTime1", &MainWindow::LongDateAndTime1Click},
        {"WordCount1", &MainWindow::WordCount1Click},
        {"UNIXLFonly1", &MainWindow::UNIXLFOnly1Click},
        {"MACCRonly1", &MainWindow::MACCRonly1Click},
        {"InsertFile1", &MainWindow::InsertFile1Click},
        {"InsertFile2", &MainWindow::InsertFile1Click},
        {"SaveSelection1", &MainWindow::SaveSelection1Click},
        {"SaveSelection2", &MainWindow::SaveSelection1Click},
        {"AppendtoFile1", &MainWindow::AppendSelectiontoFile1Click},
        {"AppendSelectiontoFile1", &MainWindow::AppendSelectiontoFile1Click},
    };
    for (const auto& command : commands)
        bind(QLatin1String(command.name), command.handler);

    bind(QStringLiteral("ChangeStatusBarFont1"), &MainWindow::ChangeStatusBarFont1Click);

    collectProgramKeys();
}

void MainWindow::createMenus()
{
    QMenu* menus[3] = {nullptr, nullptr, nullptr};
    QAction* lastAction = nullptr;
    for (const MenuRow& row : MainMenuRows) {
        const QString name = QLatin1String(row.name);
        if (name == QLatin1String("-")) {
            menus[row.depth - 1]->addSeparator();
            continue;
        }
        if (row.depth == 2 && lastAction && !lastAction->menu()) {
            // The previous row opens this submenu.
            auto* sub = new QMenu(menus[0]);
            sub->setTitle(lastAction->text());
            sub->setObjectName(lastAction->objectName());
            lastAction->setMenu(sub);
            menus[1] = sub;
        }
        if (row.depth == 0) {
            auto* menu = menuBar()->addMenu(QString::fromUtf8(row.caption));
            menu->setObjectName(name);
            menu->menuAction()->setStatusTip(QString::fromUtf8(row.hint));
            m_actions.insert(name, menu->menuAction());
            menus[0] = menu;
            lastAction = nullptr;
            continue;
        }
        QAction* action = makeAction(name, QString::fromUtf8(row.caption), QString::fromUtf8(row.shortcut),
                                     QString::fromUtf8(row.hint));
        menus[row.depth - 1]->addAction(action);
        if (row.depth == 1)
            lastAction = action;
    }
    // Items that open a submenu are enabled; their entries decide for themselves.
    for (QAction* action : std::as_const(m_actions))
        if (action->menu())
            action->setEnabled(true);
    m_actions.value(QStringLiteral("Selection1"))->setEnabled(false);
}

void MainWindow::createToolBar()
{
    ToolBar1 = new QToolBar(this);
    ToolBar1->setObjectName(QStringLiteral("ToolBar1"));
    ToolBar1->setMovable(false);
    ToolBar1->setFloatable(false);
    ToolBar1->setIconSize(QSize(16, 16));
    ToolBar1->setFixedHeight(33);
    ToolBar1->setContextMenuPolicy(Qt::PreventContextMenu);
    addToolBar(Qt::TopToolBarArea, ToolBar1);

    auto addButton = [this](const ButtonRow& row) {
        const QString glyph = QString::fromUtf8(row.glyph);
        const bool bold = QLatin1String(row.name) == QLatin1String("WordWrapBtn1");
        QIcon icon =
            bold ? glyphIcon(glyph, true) : QIcon::fromTheme(QString::fromUtf8(row.icon), glyphIcon(glyph, false));
        QAction* action = makeAction(QString::fromUtf8(row.name), QString(), QString(), QString::fromUtf8(row.hint));
        action->setIcon(icon);
        action->setText(action->toolTip());
        ToolBar1->addAction(action);
        if (auto* button = qobject_cast<QToolButton*>(ToolBar1->widgetForAction(action))) {
            button->setObjectName(QString::fromUtf8(row.name));
            button->setFixedSize(25, 25);
        }
    };
    for (const ButtonRow& row : ToolButtonRows) {
        if (QLatin1String(row.name) == QLatin1String("-"))
            ToolBar1->addSeparator();
        else
            addButton(row);
    }
    // The close button keeps to the right edge whatever the window's width.
    auto* spacer = new QWidget(ToolBar1);
    spacer->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Preferred);
    ToolBar1->addWidget(spacer);
    ToolBar1->addSeparator();
    addButton({"CloseDocBtn1", "Close|Close the current document", "window-close", "x"});
}

void MainWindow::createPopupMenus()
{
    PopupMenu1 = new QMenu(this);
    PopupMenu1->setObjectName(QStringLiteral("PopupMenu1"));
    for (const PopupRow& row : PopupRows) {
        if (QLatin1String(row.name) == QLatin1String("-")) {
            PopupMenu1->addSeparator();
            continue;
        }
        QAction* action = makeAction(QString::fromUtf8(row.name), QString::fromUtf8(row.caption),
                                     QString::fromUtf8(row.shortcut), {});
        // The main menu owns these keys; the context menu only shows them.
        action->setShortcutContext(Qt::WidgetShortcut);
        PopupMenu1->addAction(action);
    }

    StatusMenu3 = new QMenu(this);
    StatusMenu3->setObjectName(QStringLiteral("StatusMenu3"));
    StatusMenu3->addAction(makeAction(QStringLiteral("Show1"), QStringLiteral("Show Size-Grip"), {},
                                      QStringLiteral("Show or hide the Size-Grip of the Status Bar")));
    StatusMenu3->addAction(makeAction(QStringLiteral("ChangeStatusBarFont1"), QStringLiteral("&Change Status Bar Font"),
                                      {}, QStringLiteral("Change the Font of the Status Bar")));
}

void MainWindow::createRecentLists()
{
    // The notification-area menu's own "&ReOpen", fed with the same paths as the File menu's.
    PopupMenu2 = new QMenu(this);
    PopupMenu2->setObjectName(QStringLiteral("PopupMenu2"));
    auto* reopen = makeAction(QStringLiteral("ReOpen2"), QStringLiteral("&ReOpen"), {},
                              QStringLiteral("ReOpen Recently used Documents"));
    auto* reopenMenu = new QMenu(PopupMenu2);
    reopenMenu->setObjectName(QStringLiteral("ReOpen2"));
    reopenMenu->addAction(makeAction(QStringLiteral("RemoveAll2"), QStringLiteral("Remove &All"), {},
                                     QStringLiteral("Remove Recently Used Files from this menu")));
    reopen->setMenu(reopenMenu);
    reopen->setEnabled(true);
    PopupMenu2->addAction(reopen);

    auto makeManager = [this](const QString& name, QMenu* menu) {
        auto* manager = new RecentFilesMenu(this);
        manager->setObjectName(name);
        manager->setCapacity(16);
        manager->setRemoveOnSelect(true);
        manager->setStartAccel(0);
        manager->setAccelDelimiter(RecentFilesMenu::AccelDelimiter::Space);
        manager->setOnClick([this](const QString& path, const QString&, const QVariant&) {
            runCommand([this, &path] { MRUManager2Click(path); });
        });
        manager->setRecentMenu(menu);
        return manager;
    };
    MRUManager1 = makeManager(QStringLiteral("MRUManager1"), m_actions.value(QStringLiteral("ReOpen1"))->menu());
    MRUManager2 = makeManager(QStringLiteral("MRUManager2"), reopenMenu);
}

void MainWindow::collectProgramKeys()
{
    // Every editor view gives up the key bindings of its own that the program's commands use.
    m_programKeys.clear();
    for (const QAction* action : std::as_const(m_actions))
        for (const QKeySequence& sequence : action->shortcuts())
            if (!sequence.isEmpty())
                m_programKeys.append(sequence[0].toCombined());
}
