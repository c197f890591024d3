#pragma once
// The windows the Help and Options menus open beside the documents: the tip of the day
// (Ctrl+Shift+T), the About window (Ctrl+F1, and the status bar's message panel) and the
// configuration window ("&Configure...", modal), whose failures the status bar names.

class StatusBar;
struct ProgramWindows;

class AuxiliaryWindowsController
{
public:
    AuxiliaryWindowsController(const ProgramWindows& windows, StatusBar& statusBar);

    void showTipOfTheDay();
    void showAbout();
    void configure();

private:
    const ProgramWindows& m_windows;
    StatusBar& m_statusBar;
};
