// The main window's command table and the builder that turns it into actions, menus and tool
// buttons.

#include "mainwindow/commandtable.h"

#include "core/commandguard.h"
#include "core/pictures.h"
#include "mainwindow/auxiliarywindowscontroller.h"
#include "mainwindow/clipbookcontroller.h"
#include "mainwindow/commandregistry.h"
#include "mainwindow/datecontroller.h"
#include "mainwindow/editcontroller.h"
#include "mainwindow/filecontroller.h"
#include "mainwindow/findcontroller.h"
#include "mainwindow/mainwindow.h"
#include "mainwindow/outsidecontroller.h"
#include "mainwindow/printcontroller.h"
#include "mainwindow/sidewindowscontroller.h"
#include "mainwindow/textcontroller.h"
#include "mainwindow/traycontroller.h"
#include "mainwindow/viewcontroller.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>
#include <QToolBar>
#include <QToolButton>

// The program's own pictures live in the library's resources, which a static library must load
// by name.
static void loadOwnIcons()
{
    Q_INIT_RESOURCE(icons);
}

namespace {

// The notification-area menu's commands bring the program back first.
void restoreThenNew(MainWindow& w)
{
    w.tray().restoreProgram();
    w.files().newDocument();
}

void restoreThenOpen(MainWindow& w)
{
    w.tray().restoreProgram();
    w.files().open();
}

const CommandRow Rows[] = {
    {CommandPlace::MenuBar, "File1", "&File", "", "This Contains Commands to Manipulate Files", nullptr},
    {CommandPlace::Menu, "New1", "&New", "Ctrl+N", "Create a new file in the editor",
     [](MainWindow& w) { w.files().newDocument(); }},
    {CommandPlace::Menu, "Open1", "&Open", "Ctrl+O", "Open an existing file", [](MainWindow& w) { w.files().open(); }},
    {CommandPlace::Menu, "ReOpen1", "&ReOpen", "", "ReOpen Recently used Documents", nullptr},
    {CommandPlace::Submenu, "RemoveAll1", "Remove &All", "", "Remove Recently Used Files from this menu",
     [](MainWindow& w) { w.files().clearRecent(); }},
    {CommandPlace::Menu, "ReopenwithEncoding1", "Reopen &with Encoding", "",
     "Reopen the Current Document in another Encoding", nullptr},
    {CommandPlace::Submenu, "UTF81", "&UTF-8", "", "Reopen the Current Document as UTF-8",
     [](MainWindow& w) { w.files().reopenWithEncoding(platform::TextEncoding::Utf8); }},
    {CommandPlace::Submenu, "Windows12521", "&Windows-1252", "", "Reopen the Current Document as Windows-1252",
     [](MainWindow& w) { w.files().reopenWithEncoding(platform::TextEncoding::Windows1252); }},
    {CommandPlace::Submenu, "Windows12501", "Windows-125&0", "", "Reopen the Current Document as Windows-1250",
     [](MainWindow& w) { w.files().reopenWithEncoding(platform::TextEncoding::Windows1250); }},
    {CommandPlace::Submenu, "Windows12511", "Windows-125&1", "", "Reopen the Current Document as Windows-1251",
     [](MainWindow& w) { w.files().reopenWithEncoding(platform::TextEncoding::Windows1251); }},
    {CommandPlace::Submenu, "ISO885911", "I&SO-8859-1", "", "Reopen the Current Document as ISO-8859-1",
     [](MainWindow& w) { w.files().reopenWithEncoding(platform::TextEncoding::Iso88591); }},
    {CommandPlace::Submenu, "ISO8859151", "&ISO-8859-15", "", "Reopen the Current Document as ISO-8859-15",
     [](MainWindow& w) { w.files().reopenWithEncoding(platform::TextEncoding::Iso885915); }},
    {CommandPlace::Submenu, "UTF16LE1", "UTF-16 &LE", "", "Reopen the Current Document as UTF-16 LE",
     [](MainWindow& w) { w.files().reopenWithEncoding(platform::TextEncoding::Utf16Le); }},
    {CommandPlace::Submenu, "UTF16BE1", "UTF-16 &BE", "", "Reopen the Current Document as UTF-16 BE",
     [](MainWindow& w) { w.files().reopenWithEncoding(platform::TextEncoding::Utf16Be); }},
    {CommandPlace::Submenu, "OEMIBM4371", "&OEM (IBM437)", "", "Reopen the Current Document as OEM (IBM437)",
     [](MainWindow& w) { w.files().reopenWithEncoding(platform::TextEncoding::Oem437); }},
    {CommandPlace::Menu, "ClipBookFiles1", "ClipBook &Files", "Ctrl+F", "Show the Favorite Files Window",
     [](MainWindow& w) { w.clipBook().showClipBookFiles(); }},
    {CommandPlace::Menu, "Save1", "&Save", "Ctrl+S", "Save the Current Document",
     [](MainWindow& w) { w.files().save(); }},
    {CommandPlace::Menu, "SaveAs1", "Save &As...", "Ctrl+Shift+S", "Save the Current Document As...",
     [](MainWindow& w) { w.files().saveAs(); }},
    {CommandPlace::Menu, "SaveAll1", "Sa&ve All", "Ctrl+Shift+A", "Save All Open Documents",
     [](MainWindow& w) { w.files().saveAll(); }},
    {CommandPlace::Menu, "Mail1", "&Mail", "", "E-Mail the Current Document",
     [](MainWindow& w) { w.outside().mail(); }},
    {CommandPlace::Menu, "Export1", "&Export", "", "Export Current File to UNIX or MAC", nullptr},
    {CommandPlace::Submenu, "UNIXLFonly1", "UNIX (LF only)", "", "Export Current File to UNIX Format",
     [](MainWindow& w) { w.text().exportUnix(); }},
    {CommandPlace::Submenu, "MACCRonly1", "MAC (CR only)", "", "Export Current File to MAC Format",
     [](MainWindow& w) { w.text().exportMac(); }},
    {CommandPlace::Menu, "CloseDocument1", "&Close Document", "Ctrl+F4", "Close Current Document",
     [](MainWindow& w) { w.files().closeDocument(); }},
    {CommandPlace::Menu, "CloseAll1", "C&lose All", "Ctrl+Shift+F4", "Close all Open Documents",
     [](MainWindow& w) { w.files().closeAll(); }},
    {CommandPlace::Menu, "PrinterSetup1", "Printer Set&up", "", "Setup your Printer",
     [](MainWindow& w) { w.printing().printerSetup(); }},
    {CommandPlace::Menu, "Print1", "&Print", "Ctrl+P", "Print the Current Document",
     [](MainWindow& w) { w.printing().printDocument(); }},
    {CommandPlace::Menu, "Exit1", "E&xit", "", "Exit Quillet", [](MainWindow& w) { w.requestExit(); }},
    {CommandPlace::MenuBar, "Edit1", "&Edit", "", "This Contains Commands to Manipulate Text", nullptr},
    {CommandPlace::Menu, "UndoRedo1", "&Undo/Redo", "Ctrl+Z", "Undo/Redo your last action in Quillet",
     [](MainWindow& w) { w.editing().undo(); }},
    {CommandPlace::Menu, "Cut1", "&Cut", "Ctrl+X", "Cut the Selected Text to the ClipBoard",
     [](MainWindow& w) { w.editing().cut(); }},
    {CommandPlace::Menu, "Copy1", "C&opy", "Ctrl+C", "Copy the Selected Text to the ClipBoard",
     [](MainWindow& w) { w.editing().copy(); }},
    {CommandPlace::Menu, "Paste1", "&Paste", "Ctrl+V", "Paste Text from the ClipBoard",
     [](MainWindow& w) { w.editing().paste(); }},
    {CommandPlace::Menu, "Delete1", "&Delete", "", "Delete Selected Text",
     [](MainWindow& w) { w.editing().deleteSelection(); }},
    {CommandPlace::Menu, "ClearAll1", "Clear &All", "", "Clear the Whole Document",
     [](MainWindow& w) { w.editing().clearAll(); }},
    {CommandPlace::Menu, "SelectAll1", "&Select All", "Ctrl+A", "Select the Whole Document",
     [](MainWindow& w) { w.editing().selectAll(); }},
    {CommandPlace::Menu, "CopyAll1", "Cop&y All", "", "Copy the Whole Document to the ClipBoard",
     [](MainWindow& w) { w.editing().copyAll(); }},
    {CommandPlace::Menu, "FindAndReplace1", "&Find And Replace...", "", "Find And Replace Specified Text",
     [](MainWindow& w) { w.find().replace(); }},
    {CommandPlace::Menu, "SearchAgain1", "Sea&rch Again", "F3", "Search the Current Document Again for Search Text",
     [](MainWindow& w) { w.find().searchAgain(); }},
    {CommandPlace::Menu, "GotoLine1", "&Goto Line...", "Ctrl+G", "Goto a Certain Line",
     [](MainWindow& w) { w.find().gotoLine(); }},
    {CommandPlace::Menu, "InsertDateAndTime1", "&Insert Date And Time", "", "Insert Time", nullptr},
    {CommandPlace::Submenu, "DateTimeFilter1", "Date Time &Filter", "F5", "Insert your Date Time Filter",
     [](MainWindow& w) { w.dates().insertFilterStamp(); }},
    {CommandPlace::Submenu, "-"},
    {CommandPlace::Submenu, "ShortDateAndTime1", "&Short Date And Time", "", "Insert the Date and Time in Short Format",
     [](MainWindow& w) { w.dates().insertShortDateAndTime(); }},
    {CommandPlace::Submenu, "ShortDate1", "Short &Date", "", "Insert the Date in Short Format",
     [](MainWindow& w) { w.dates().insertShortDate(); }},
    {CommandPlace::Submenu, "ShortTime1", "Short &Time", "", "Insert the Time in Short Format",
     [](MainWindow& w) { w.dates().insertShortTime(); }},
    {CommandPlace::Submenu, "LongDate1", "&Long Date", "", "Insert the Date in Long Format",
     [](MainWindow& w) { w.dates().insertLongDate(); }},
    {CommandPlace::Submenu, "LongTime1", "Long Ti&me", "", "Insert the Time in Long Format",
     [](MainWindow& w) { w.dates().insertLongTime(); }},
    {CommandPlace::Submenu, "LongDateAndTime1", "Long Date &And Time", "", "Insert the Date and Time in Long Format",
     [](MainWindow& w) { w.dates().insertLongDateAndTime(); }},
    {CommandPlace::Menu, "ChangeFont1", "Cha&nge Font", "Ctrl+Shift+F", "Change Quillet's Current Font",
     [](MainWindow& w) { w.editing().chooseFont(); }},
    {CommandPlace::MenuBar, "Selection1", "&Selection", "", "This Contains Commands to Manipulate the Selected Text",
     nullptr},
    {CommandPlace::Menu, "SaveSelection1", "Sa&ve Selection", "", "Save the Selected Text as...",
     [](MainWindow& w) { w.text().saveSelection(); }},
    {CommandPlace::Menu, "AppendtoFile1", "Append to &File", "", "Append Selected Text to a File",
     [](MainWindow& w) { w.text().appendSelectionToFile(); }},
    {CommandPlace::Menu, "TabsSpaces1", "&Tabs -> Spaces", "", "Convert Tabs to Spaces in Selection",
     [](MainWindow& w) { w.text().tabsToSpaces(); }},
    {CommandPlace::Menu, "ReverseSelection1", "&Reverse Selection", "", "Reverse the Selected Text",
     [](MainWindow& w) { w.text().reverseSelection(); }},
    {CommandPlace::Menu, "ConverttoUppercase1", "Convert to &Uppercase", "", "Convert the Selected Text to UPPERCASE",
     [](MainWindow& w) { w.text().convertToUpperCase(); }},
    {CommandPlace::Menu, "ConverttoLowercase1", "Convert to &Lowercase", "", "Convert the Selected Text to lowercase",
     [](MainWindow& w) { w.text().convertToLowerCase(); }},
    {CommandPlace::MenuBar, "Print2", "&Print", "", "This Contains Commands to Print Text", nullptr},
    {CommandPlace::Menu, "PrintDocument1", "Print &Document", "Ctrl+P", "Print Current Document",
     [](MainWindow& w) { w.printing().printDocument(); }},
    {CommandPlace::Menu, "PrintSelection1", "Print &Selection", "", "Print Selected Text",
     [](MainWindow& w) { w.printing().printSelection(); }},
    {CommandPlace::Menu, "PageSetup1", "&Page Setup...", "", "Setup Your Page",
     [](MainWindow& w) { w.printing().pageSetup(); }},
    {CommandPlace::Menu, "PrinterSetup2", "P&rinter Setup...", "", "Setup Your Printer",
     [](MainWindow& w) { w.printing().printerSetup(); }},
    {CommandPlace::MenuBar, "Document1", "&Document", "", "This Contains Commands Relating to the Current Document",
     nullptr},
    {CommandPlace::Menu, "Properties1", "&Properties", "Ctrl+Shift+P", "Change the Properties of the Current Document",
     [](MainWindow& w) { w.view().showProperties(); }},
    {CommandPlace::Menu, "WordWrap1", "&Word Wrap", "Ctrl+W", "Toggle Word-Wrap On/Off",
     [](MainWindow& w) { w.view().toggleWordWrap(); }, CommandRow::Check::Unchecked},
    {CommandPlace::Menu, "Font1", "&Font", "Ctrl+Shift+F", "Change Quillet's Current Font",
     [](MainWindow& w) { w.editing().chooseFont(); }},
    {CommandPlace::Menu, "OEMANSI1", "&OEM -> ANSI", "", "Convert Current Document form OEM to ANSI",
     [](MainWindow& w) { w.text().oemToAnsi(); }},
    {CommandPlace::Menu, "ANSIOEM1", "&ANSI -> OEM", "", "Convert Current Document form ANSI to OEM",
     [](MainWindow& w) { w.text().ansiToOem(); }},
    {CommandPlace::Menu, "RefreshFromDisk1", "&Refresh From Disk", "", "Reload Current Document",
     [](MainWindow& w) { w.files().refreshFromDisk(); }},
    {CommandPlace::Menu, "InsertFile1", "Insert &File", "Ctrl+I", "Insert File into Current Document",
     [](MainWindow& w) { w.text().insertFile(); }},
    {CommandPlace::Menu, "AdjustLineBreaks1", "Adjust Line &Breaks", "", "Standardize Line Breaks",
     [](MainWindow& w) { w.text().adjustLineBreaks(); }},
    {CommandPlace::Menu, "GotoClipBookFiles1", "&Goto ClipBook Files", "", "Goto ClipBook Files", nullptr},
    {CommandPlace::Submenu, "First1", "First", "", "Goto the First File in ClipBook Files",
     [](MainWindow& w) { w.clipBook().goToFile(clipbook::Step::First); }},
    {CommandPlace::Submenu, "Last1", "Last", "", "Goto the Last File in ClipBook Files",
     [](MainWindow& w) { w.clipBook().goToFile(clipbook::Step::Last); }},
    {CommandPlace::Submenu, "Next1", "Next", "", "Goto the Next File in ClipBook Files",
     [](MainWindow& w) { w.clipBook().goToFile(clipbook::Step::Next); }},
    {CommandPlace::Submenu, "Previous1", "Previous", "", "Goto the Previous File in ClipBook Files",
     [](MainWindow& w) { w.clipBook().goToFile(clipbook::Step::Previous); }},
    {CommandPlace::Submenu, "Current1", "Current", "", "Goto the Current File in ClipBook Files",
     [](MainWindow& w) { w.clipBook().goToFile(clipbook::Step::Current); }},
    {CommandPlace::Menu, "AddToClipBookFiles1", "&Add To ClipBook Files", "", "Add Current Document to ClipBook Files",
     [](MainWindow& w) { w.clipBook().addCurrentDocument(); }},
    {CommandPlace::MenuBar, "Options1", "&Options", "", "This Contains Commands to Configure Quillet", nullptr},
    {CommandPlace::Menu, "Configure1", "&Configure...", "", "Configure Quillet to work with Your Computer",
     [](MainWindow& w) { w.auxiliaryWindows().configure(); }},
    {CommandPlace::Menu, "Preferences1", "&Preferences", "Ctrl+F2", "Change Quillet's Preferences",
     [](MainWindow& w) { w.view().showPreferences(); }},
    {CommandPlace::Menu, "UtilityOptions1", "Utility Options...", "Ctrl+F3", "Configure Quillet's Utilities",
     [](MainWindow& w) { w.sideWindows().showUtilityOptions(); }},
    {CommandPlace::Menu, "ShowToolBars1", "Show &Tool Bar", "", "Toggle the ToolBar",
     [](MainWindow& w) { w.tray().toggleToolBar(); }, CommandRow::Check::Checked},
    {CommandPlace::Menu, "AlignToolBar1", "&Align Tool Bar", "", "Align ToolBar", nullptr},
    {CommandPlace::Submenu, "Top1", "&Top", "", "Align the ToolBar to the Top",
     [](MainWindow& w) { w.tray().toolBarToTop(); }},
    {CommandPlace::Submenu, "Bottom1", "&Bottom", "", "Align the ToolBar to the Bottom",
     [](MainWindow& w) { w.tray().toolBarToBottom(); }},
    {CommandPlace::Menu, "StayOnTop1", "&Stay-On-Top", "Ctrl+T", "Toggle Quillet staying On-Top of other Windows",
     [](MainWindow& w) { w.tray().applyStayOnTop(); }, CommandRow::Check::Unchecked},
    {CommandPlace::MenuBar, "Tools1", "&Tools", "", "This Contains Commands to all of Quillet's Tools", nullptr},
    {CommandPlace::Menu, "ClipBook1", "&ClipBook", "Ctrl+B", "Show the ClipBook",
     [](MainWindow& w) { w.clipBook().showClipBook(); }},
    {CommandPlace::Menu, "NewTemplate1", "&New Template", "", "Create ClipBook Template",
     [](MainWindow& w) { w.clipBook().newTemplate(); }},
    {CommandPlace::Menu, "AddToClipBook1", "&Add To ClipBook", "", "Add Selected Text to ClipBook",
     [](MainWindow& w) { w.clipBook().addSelection(); }},
    {CommandPlace::Menu, "OpenClipBookTemplate1", "&Open ClipBook Template", "", "Open ClipBook Template",
     [](MainWindow& w) { w.clipBook().importTemplate(); }},
    {CommandPlace::Menu, "ClipBookFiles2", "ClipBook &Files", "Ctrl+F", "Show ClipBook Files",
     [](MainWindow& w) { w.clipBook().showClipBookFiles(); }},
    {CommandPlace::Menu, "NewFileTemplate1", "New &File Template", "", "Create ClipBook Files Template",
     [](MainWindow& w) { w.clipBook().newFileTemplate(); }},
    {CommandPlace::Menu, "AddFiletoClipBookFiles1", "A&dd File to ClipBook Files", "",
     "Add  Current Document to ClipBook Files", [](MainWindow& w) { w.clipBook().addCurrentDocument(); }},
    {CommandPlace::Menu, "OpenClipBookFileTemplate1", "&Open ClipBook File Template", "",
     "Open ClipBook Files Template", [](MainWindow& w) { w.clipBook().importFileTemplate(); }},
    {CommandPlace::Menu, "DocumentSelector1", "&Document Selector", "Ctrl+D", "Show the Document Selector",
     [](MainWindow& w) { w.sideWindows().showDocumentSelector(); }},
    {CommandPlace::Menu, "HexEditor1", "&Hex Editor", "", "Load the Quillet Hex Editor",
     [](MainWindow& w) { w.outside().hexEditor(); }},
    {CommandPlace::Menu, "ViewCurrentFileinHexEditor1", "View Current File in Hex &Editor", "Ctrl+H",
     "Load the Current File into the Quillet Hex Editor", [](MainWindow& w) { w.outside().viewInHexEditor(); }},
    {CommandPlace::Menu, "WordCount1", "&Word Count", "Ctrl+Shift+C", "Count the number of Words in Current Document",
     [](MainWindow& w) { w.text().wordCount(); }},
    {CommandPlace::Menu, "ExecuteFile1", "Execute File...", "Ctrl+E", "Execute a File on your computer...",
     [](MainWindow& w) { w.outside().executeFile(); }},
    {CommandPlace::Menu, "OpenLink1", "Open &Link", "Ctrl+L", "Open Selected Link in Default Browser",
     [](MainWindow& w) { w.outside().openLink(); }},
    {CommandPlace::Menu, "ViewCurrentFileInBrowser1", "&View Current File In Browser", "Ctrl+Shift+W",
     "View Current File in Browser", [](MainWindow& w) { w.outside().viewInBrowser(); }},
    {CommandPlace::MenuBar, "View1", "&View", "", "This Contains Commands to change views", nullptr},
    {CommandPlace::Menu, "HideQuillet1", "&Hide Quillet", "Ctrl+Shift+H", "Hide Quillet From Windows",
     [](MainWindow& w) { w.tray().hideProgram(); }},
    {CommandPlace::Menu, "NextDocument1", "&Next Document", "F7", "Goto Next Tabbed Document",
     [](MainWindow& w) { w.view().nextDocument(); }},
    {CommandPlace::Menu, "PreviousDocument1", "&Previous Document", "Shift+F7", "Goto Previous Tabbed Document",
     [](MainWindow& w) { w.view().previousDocument(); }},
    {CommandPlace::Menu, "AnotherInstance1", "Another &Quillet Window", "", "Load Quillet Again",
     [](MainWindow& w) { w.tray().startAnotherInstance(); }},
    {CommandPlace::MenuBar, "Help1", "&Help", "", "This Contains Commands to Help You", nullptr},
    {CommandPlace::Menu, "Contents1", "&Contents", "F1", "Need Help? Click This!",
     [](MainWindow& w) { w.outside().helpContents(); }},
    {CommandPlace::Menu, "ReadMeFile1", "&ReadMe File", "", "Load Quillet's ReadMe File",
     [](MainWindow& w) { w.outside().readMe(); }},
    {CommandPlace::Menu, "QuilletFAQ1", "Quillet FAQ", "", "Load Quillet's Frequently Asked Questions File",
     [](MainWindow& w) { w.outside().faq(); }},
    {CommandPlace::Menu, "WhatsNewinQuillet1", "&What's New in Quillet?", "", "Load Quillet's What's New? File",
     [](MainWindow& w) { w.outside().whatsNew(); }},
    {CommandPlace::Menu, "TipOfTheDay1", "&Tip Of The Day...", "Ctrl+Shift+T", "Show a Tip Of The Day",
     [](MainWindow& w) { w.auxiliaryWindows().showTipOfTheDay(); }},
    {CommandPlace::Menu, "TechnicalSupport1", "Technical &Support", "", "Get Technical Support on Quillet",
     [](MainWindow& w) { w.outside().technicalSupport(); }},
    {CommandPlace::Menu, "QuilletontheWeb1", "Quillet on the Web", "", "Visit Quillet on the Web",
     [](MainWindow& w) { w.outside().productWebPage(); }},
    {CommandPlace::Menu, "AboutQuillet1", "&About Quillet v4.6", "Ctrl+F1",
     "Click This to find out a bit more about Quillet", [](MainWindow& w) { w.auxiliaryWindows().showAbout(); }},
    {CommandPlace::ToolBar, "NewBtn1", "", "", "New|Create a new file in the editor",
     [](MainWindow& w) { w.files().newDocument(); }, CommandRow::Check::None, "document-new"},
    {CommandPlace::ToolBar, "OpenBtn1", "", "", "Open|Open an existing file", [](MainWindow& w) { w.files().open(); },
     CommandRow::Check::None, "document-open"},
    {CommandPlace::ToolBar, "SaveBtn1", "", "", "Save|Save the current document",
     [](MainWindow& w) { w.files().save(); }, CommandRow::Check::None, "document-save"},
    {CommandPlace::ToolBar, "SaveAsBtn1", "", "", "Save As...|Save the current document as...",
     [](MainWindow& w) { w.files().saveAs(); }, CommandRow::Check::None, "document-save-as"},
    {CommandPlace::ToolBar, "-"},
    {CommandPlace::ToolBar, "PrintBtn1", "", "", "Print|Print the current document",
     [](MainWindow& w) { w.printing().printDocument(); }, CommandRow::Check::None, "document-print"},
    {CommandPlace::ToolBar, "-"},
    {CommandPlace::ToolBar, "UndoBtn1", "", "", "Undo/Redo|Undo the last action that changes the current text",
     [](MainWindow& w) { w.editing().undo(); }, CommandRow::Check::None, "edit-undo"},
    {CommandPlace::ToolBar, "CutBtn1", "", "", "Cut|Cut selected text to the clipboard",
     [](MainWindow& w) { w.editing().cut(); }, CommandRow::Check::None, "edit-cut"},
    {CommandPlace::ToolBar, "CopyBtn1", "", "", "Copy|Copy selected text to the clipboard",
     [](MainWindow& w) { w.editing().copy(); }, CommandRow::Check::None, "edit-copy"},
    {CommandPlace::ToolBar, "PasteBtn1", "", "", "Paste|Paste text from the clipboard into the current document",
     [](MainWindow& w) { w.editing().paste(); }, CommandRow::Check::None, "edit-paste"},
    {CommandPlace::ToolBar, "-"},
    {CommandPlace::ToolBar, "FindBtn1", "", "", "Find|Find a word", [](MainWindow& w) { w.find().find(); },
     CommandRow::Check::None, "edit-find"},
    {CommandPlace::ToolBar, "ReplaceBtn1", "", "", "Replace|Replace a word", [](MainWindow& w) { w.find().replace(); },
     CommandRow::Check::None, "edit-find-replace"},
    {CommandPlace::ToolBar, "GotoBtn1", "", "", "Goto Line|Goto specified line in document",
     [](MainWindow& w) { w.find().gotoLine(); }, CommandRow::Check::None, "go-jump"},
    {CommandPlace::ToolBar, "TimeBtn1", "", "", "Insert Time|Insert current time into the document",
     [](MainWindow& w) { w.dates().insertFilterStamp(); }, CommandRow::Check::None, "appointment-new"},
    {CommandPlace::ToolBar, "-"},
    {CommandPlace::ToolBar, "FontBtn1", "", "", "Change Font|Change the current font of the document",
     [](MainWindow& w) { w.editing().chooseFont(); }, CommandRow::Check::None, "preferences-desktop-font"},
    {CommandPlace::ToolBar, "WordWrapBtn1", "", "", "Word-Wrap|Enable/Disable Word-Wrap on the current document",
     [](MainWindow& w) { w.view().toggleWordWrap(); }, CommandRow::Check::None, ""},
    {CommandPlace::ToolBar, "-"},
    {CommandPlace::ToolBar, "OptionsBtn1", "", "", "Options|Show the Quillet Options window",
     [](MainWindow& w) { w.view().showPreferences(); }, CommandRow::Check::None, "preferences-system"},
    {CommandPlace::ToolBar, "UtilBtn1", "", "", "Utility Options|Show the Quillet Utility Options window",
     [](MainWindow& w) { w.sideWindows().showUtilityOptions(); }, CommandRow::Check::None, "applications-utilities"},
    {CommandPlace::ToolBar, ">"},
    {CommandPlace::ToolBar, "-"},
    {CommandPlace::ToolBar, "CloseDocBtn1", "", "", "Close|Close the current document",
     [](MainWindow& w) { w.files().closeDocument(); }, CommandRow::Check::None, "window-close"},
    {CommandPlace::ContextMenu, "Undo2", "&Undo", "Ctrl+Z", "", [](MainWindow& w) { w.editing().undo(); }},
    {CommandPlace::ContextMenu, "-"},
    {CommandPlace::ContextMenu, "Cut2", "Cut", "Ctrl+X", "", [](MainWindow& w) { w.editing().cut(); }},
    {CommandPlace::ContextMenu, "Copy2", "Copy", "Ctrl+C", "", [](MainWindow& w) { w.editing().copy(); }},
    {CommandPlace::ContextMenu, "Paste2", "Paste", "Ctrl+V", "", [](MainWindow& w) { w.editing().paste(); }},
    {CommandPlace::ContextMenu, "Delete2", "Delete", "", "", [](MainWindow& w) { w.editing().deleteSelection(); }},
    {CommandPlace::ContextMenu, "ClearAll2", "Clear All", "", "", [](MainWindow& w) { w.editing().clearAll(); }},
    {CommandPlace::ContextMenu, "-"},
    {CommandPlace::ContextMenu, "SelectAll2", "Select All", "Ctrl+A", "",
     [](MainWindow& w) { w.editing().selectAll(); }},
    {CommandPlace::ContextMenu, "CopyAll2", "Copy All", "", "", [](MainWindow& w) { w.editing().copyAll(); }},
    {CommandPlace::ContextMenu, "-"},
    {CommandPlace::ContextMenu, "InsertFile2", "Insert File", "Ctrl+I", "",
     [](MainWindow& w) { w.text().insertFile(); }},
    {CommandPlace::ContextMenu, "SaveSelection2", "Save Selection", "", "",
     [](MainWindow& w) { w.text().saveSelection(); }},
    {CommandPlace::ContextMenu, "AppendSelectiontoFile1", "Append Selection to File", "", "",
     [](MainWindow& w) { w.text().appendSelectionToFile(); }},
    {CommandPlace::ContextMenu, "-"},
    {CommandPlace::ContextMenu, "Save2", "Save", "Ctrl+S", "", [](MainWindow& w) { w.files().save(); }},
    {CommandPlace::ContextMenu, "Close1", "Close", "Ctrl+F4", "", [](MainWindow& w) { w.files().closeDocument(); }},
    {CommandPlace::StatusMenu, "Show1", "Show Size-Grip", "", "Show or hide the Size-Grip of the Status Bar",
     [](MainWindow& w) { w.view().showSizeGrip(); }, CommandRow::Check::Checked},
    {CommandPlace::StatusMenu, "ChangeStatusBarFont1", "&Change Status Bar Font", "",
     "Change the Font of the Status Bar", [](MainWindow& w) { w.view().chooseStatusBarFont(); }},
    {CommandPlace::TrayMenu, "NewTextFile1", "&New Text File", "Ctrl+N", "Create a new file in the editor",
     restoreThenNew},
    {CommandPlace::TrayMenu, "OpenTextFile1", "&Open Text File", "Ctrl+O", "Open an existing file", restoreThenOpen},
    {CommandPlace::TrayMenu, "ReOpen2", "&ReOpen", "", "ReOpen Recently used Documents", nullptr},
    {CommandPlace::TraySubmenu, "RemoveAll2", "Remove &All", "", "Remove Recently Used Files from this menu",
     [](MainWindow& w) { w.files().clearRecent(); }},
    {CommandPlace::TrayMenu, "-"},
    {CommandPlace::TrayMenu, "Exit2", "&Exit", "", "Exit Quillet", [](MainWindow& w) { w.requestExit(); }},
    {CommandPlace::TrayMenu, "-"},
    {CommandPlace::TrayMenu, "RestoreQuillet1", "Restore &Quillet", "", "Restore Quillet",
     [](MainWindow& w) { w.tray().restoreProgram(); }},
};

// The picture of a tool button: the desktop theme's where it has one, else the program's own.
QIcon toolButtonIcon(const QString& themeName, const QString& buttonName)
{
    const QIcon own = ownPicture(buttonName);
    return themeName.isEmpty() ? own : QIcon::fromTheme(themeName, own);
}

class Builder
{
public:
    Builder(MainWindow& window, CommandRegistry& registry, const CommandWidgets& widgets)
        : m_window(window), m_registry(registry), m_widgets(widgets)
    {}

    void build(const CommandRow& row)
    {
        const QString name = QLatin1String(row.name);
        if (name == QLatin1String("-")) {
            addSeparator(row.place);
            return;
        }
        if (name == QLatin1String(">")) {
            // The tool buttons after this keep to the right edge whatever the window's width.
            auto* spacer = new QWidget(m_widgets.toolBar);
            spacer->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Preferred);
            m_widgets.toolBar->addWidget(spacer);
            return;
        }
        if (row.place == CommandPlace::MenuBar) {
            QMenu* menu = m_widgets.menuBar->addMenu(QString::fromUtf8(row.caption));
            menu->setObjectName(name);
            menu->menuAction()->setStatusTip(QString::fromUtf8(row.hint));
            m_registry.add(name, menu->menuAction());
            m_menu = menu;
            m_lastItem = nullptr;
            return;
        }
        place(row, makeAction(row));
    }

private:
    QAction* makeAction(const CommandRow& row)
    {
        const QString name = QLatin1String(row.name);
        auto* action = new QAction(QString::fromUtf8(row.caption), &m_window);
        action->setObjectName(name);
        const QString shortcut = QString::fromUtf8(row.shortcut);
        if (!shortcut.isEmpty()) {
            const QKeySequence keys(shortcut);
            action->setShortcut(keys);
            // Several items show the same key (Ctrl+P, Ctrl+F, Ctrl+Shift+F); the first one owns
            // it, so that Qt never sees an ambiguous shortcut. Context-menu items only show theirs.
            if (row.place == CommandPlace::ContextMenu || ownerOf(keys))
                action->setShortcutContext(Qt::WidgetShortcut);
        }
        const QString hint = QString::fromUtf8(row.hint);
        const qsizetype bar = hint.indexOf(QLatin1Char('|'));
        action->setToolTip(bar >= 0 ? hint.left(bar) : hint);
        action->setStatusTip(bar >= 0 ? hint.mid(bar + 1) : hint);
        if (row.check != CommandRow::Check::None) {
            action->setCheckable(true);
            action->setChecked(row.check == CommandRow::Check::Checked);
        }
        m_registry.add(name, action);
        if (row.handler) {
            m_registry.markBound(name);
            const CommandHandler handler = row.handler;
            MainWindow* window = &m_window;
            QObject::connect(action, &QAction::triggered, &m_window,
                             [window, handler] { runCommand([window, handler] { handler(*window); }); });
        }
        action->setEnabled(row.handler != nullptr);
        return action;
    }

    bool ownerOf(const QKeySequence& keys) const
    {
        for (const QAction* other : m_registry.actions())
            if (other->shortcut() == keys && other->shortcutContext() == Qt::WindowShortcut)
                return true;
        return false;
    }

    void place(const CommandRow& row, QAction* action)
    {
        switch (row.place) {
        case CommandPlace::Menu:
            m_menu->addAction(action);
            m_lastItem = action;
            break;
        case CommandPlace::Submenu:
            subMenuOf(m_lastItem, m_menu)->addAction(action);
            break;
        case CommandPlace::ToolBar:
            addToolButton(row, action);
            break;
        case CommandPlace::ContextMenu:
            m_widgets.contextMenu->addAction(action);
            break;
        case CommandPlace::StatusMenu:
            m_widgets.statusMenu->addAction(action);
            break;
        case CommandPlace::TrayMenu:
            m_widgets.trayMenu->addAction(action);
            m_lastTrayItem = action;
            break;
        case CommandPlace::TraySubmenu:
            subMenuOf(m_lastTrayItem, m_widgets.trayMenu)->addAction(action);
            break;
        case CommandPlace::MenuBar:
            break;
        }
    }

    void addSeparator(CommandPlace where)
    {
        switch (where) {
        case CommandPlace::Menu:
            m_menu->addSeparator();
            break;
        case CommandPlace::Submenu:
            subMenuOf(m_lastItem, m_menu)->addSeparator();
            break;
        case CommandPlace::ToolBar:
            m_widgets.toolBar->addSeparator();
            break;
        case CommandPlace::ContextMenu:
            m_widgets.contextMenu->addSeparator();
            break;
        case CommandPlace::TrayMenu:
            m_widgets.trayMenu->addSeparator();
            break;
        default:
            break;
        }
    }

    // The submenu an item opens, made when its first entry comes. Items that open a submenu are
    // enabled; their entries decide for themselves.
    static QMenu* subMenuOf(QAction* item, QMenu* parent)
    {
        if (!item->menu()) {
            auto* sub = new QMenu(parent);
            sub->setTitle(item->text());
            sub->setObjectName(item->objectName());
            item->setMenu(sub);
            item->setEnabled(true);
        }
        return item->menu();
    }

    void addToolButton(const CommandRow& row, QAction* action)
    {
        const QString name = QLatin1String(row.name);
        action->setIcon(toolButtonIcon(QString::fromUtf8(row.icon), name));
        action->setText(action->toolTip());
        m_widgets.toolBar->addAction(action);
        if (auto* button = qobject_cast<QToolButton*>(m_widgets.toolBar->widgetForAction(action))) {
            button->setObjectName(name);
            button->setFixedSize(25, 25);
        }
    }

    MainWindow& m_window;
    CommandRegistry& m_registry;
    const CommandWidgets& m_widgets;
    QMenu* m_menu = nullptr;
    QAction* m_lastItem = nullptr;
    QAction* m_lastTrayItem = nullptr;
};

} // namespace

std::span<const CommandRow> commandTable()
{
    return Rows;
}

void buildCommands(MainWindow& window, CommandRegistry& registry, const CommandWidgets& widgets)
{
    loadOwnIcons();
    Builder builder(window, registry, widgets);
    for (const CommandRow& row : commandTable())
        builder.build(row);
    // The selection menu waits for a selection.
    registry.action(QStringLiteral("Selection1"))->setEnabled(false);
}
