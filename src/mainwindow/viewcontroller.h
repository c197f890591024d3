#pragma once
// How the program shows itself: moving between documents, word wrap, the status bar (its clock,
// caret and mode panels, hover hints, clicks, size grip and font) and the options window.

#include <QObject>
#include <QString>

class CommandRegistry;
class DateController;
class DocumentSet;
class EditorViews;
class StatusBar;
struct ProgramWindows;

class ViewController
{
public:
    ViewController(DocumentSet& documents, EditorViews& views, StatusBar& statusBar, CommandRegistry& commands,
                   const ProgramWindows& windows, DateController& dates);

    void nextDocument();
    void previousDocument();
    void toggleWordWrap();
    // The size grip follows its (already toggled) check mark.
    void showSizeGrip();
    void chooseStatusBarFont();
    void showPreferences();
    void showProperties();

    // Once a second: the clock, the caret position and the insert mode.
    void updateStatusPanels();
    void statusPanelHovered(int panel);
    void statusPanelClicked(int panel);
    // The message panel takes whatever width the others leave.
    void layOutStatusBar(int windowWidth);
    // What the status bar says of the current document's wrapping at start (empty: nothing).
    QString wrapNote() const;

private:
    // The word-wrap panel, its hint and the message follow the shown document's wrapping.
    void showWrapState();
    void showWrapProgress(int percent);

    DocumentSet& m_documents;
    EditorViews& m_views;
    StatusBar& m_statusBar;
    CommandRegistry& m_commands;
    const ProgramWindows& m_windows;
    DateController& m_dates;
    QString m_statusHint;
    bool m_heldShown = false;
    // Ends the connections to the views with this controller.
    QObject m_connections;
};
