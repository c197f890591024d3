#pragma once
// What the configuration window's OK does on a freedesktop desktop, redone in full every time:
//   the program's document type  -> a MIME package for ".qlt" in $XDG_DATA_HOME/mime/packages,
//                                   then update-mime-database
//   default for text documents   -> the program first for text/plain in $XDG_CONFIG_HOME/mimeapps.list
//   Send To                      -> the MimeType line of the applications entry, which puts the
//                                   program in the file managers' "Open With"
//   Start Menu                   -> the applications entry, shown in the menu
//   Desktop                      -> an entry in the desktop folder
//   load with the desktop        -> an entry in $XDG_CONFIG_HOME/autostart with "/MiniTray"
// The applications entry exists while any of the first three boxes needs it (hidden from the menu
// unless Start Menu is checked); the icon the entries name exists while any entry does. A file
// the program did not write is never replaced or removed, and mimeapps.list is edited in place.
// Every entry is named by the program's application id; one of its own that an older version
// named "quillet.desktop" goes, and defaults naming that move to the id.
// Each part is done whatever became of the others, so one broken tool or folder never keeps,
// say, an unchecked autostart entry in place.

#include <QList>
#include <QString>

struct DesktopChoices
{
    bool defaultForText = false; // CheckBox1
    bool sendTo = false;         // CheckBox2
    bool startMenu = false;      // CheckBox3
    bool desktop = false;        // CheckBox4
    bool loadAtStart = false;    // CheckBox5
};

// A part of the integration that could not be done: a few words for the status bar ("the
// autostart entry") and the whole message, with the file and the system's reason.
struct DesktopFailure
{
    QString part;
    QString message;
};

// Applies `choices` for the program at `programPath` in the user's folders (the XDG environment
// variables as they are now); every part is tried, and those that failed are returned.
QList<DesktopFailure> applyDesktopChoices(const DesktopChoices& choices, const QString& programPath);

// The status bar's note naming the parts that failed; empty when none did.
QString desktopFailureNote(const QList<DesktopFailure>& failures);
