#pragma once
// The program's windows, created once at start in a fixed order and kept for the whole run. One
// structure reaches them all; it is handed to whoever needs another window. The main window is
// created first and opens the command line's files while the others are still null.

class AboutWindow;
class ClipBookWindow;
class ConfigurationDialog;
class DocumentSelector;
class GotoLineDialog;
class MainWindow;
class OptionsDialog;
class TemplateNameDialog;
class TipOfTheDayWindow;
class UtilityOptionsDialog;

struct ProgramWindows
{
    MainWindow* main = nullptr;
    TipOfTheDayWindow* tips = nullptr;
    OptionsDialog* options = nullptr;
    ConfigurationDialog* configuration = nullptr;
    UtilityOptionsDialog* utilityOptions = nullptr;
    ClipBookWindow* clipBook = nullptr;
    DocumentSelector* documentSelector = nullptr;
    TemplateNameDialog* templateName = nullptr;
    AboutWindow* about = nullptr;
    GotoLineDialog* gotoLine = nullptr;
};
