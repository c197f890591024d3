#pragma once
// The freedesktop side of the configuration window: where the user's desktop keeps applications,
// autostart entries, the desktop folder, MIME packages and default applications, and the texts
// the program writes there. Everything here only makes texts and finds folders; writing them is
// left to the safe writer above this layer.

#include <QByteArray>
#include <QString>
#include <QStringList>

namespace platform::freedesktop {

// The file name (and desktop file id) of every desktop entry the program writes: the id its
// windows carry and the installed package's entry has, so the desktop sees one program.
inline constexpr char DesktopFileId[] = "org.quillet.Quillet.desktop";
// The name older versions gave their entries; the program's own entries of that name are taken over.
inline constexpr char OldDesktopFileId[] = "quillet.desktop";
// The program's document type and its MIME package's file name.
inline constexpr char DocumentMimeType[] = "application/x-quillet";
inline constexpr char MimePackageName[] = "quillet.xml";
// The key that marks a desktop entry as the program's own, with where it was written as value;
// a file without it is never replaced or removed.
inline constexpr char OwnEntryKey[] = "X-Quillet-Entry";

// The user's folders, as the desktop and xdg-utils find them.
struct Folders
{
    QString dataHome;   // $XDG_DATA_HOME, else ~/.local/share
    QString configHome; // $XDG_CONFIG_HOME, else ~/.config
    QString desktop;    // `xdg-user-dir DESKTOP`, else ~/Desktop

    QString applications() const { return dataHome + QStringLiteral("/applications"); }
    QString autostart() const { return configHome + QStringLiteral("/autostart"); }
    QString mimeDatabase() const { return dataHome + QStringLiteral("/mime"); }
    QString mimePackages() const { return mimeDatabase() + QStringLiteral("/packages"); }
    QString mimeAppsList() const { return configHome + QStringLiteral("/mimeapps.list"); }
    QString iconFile() const { return dataHome + QStringLiteral("/icons/hicolor/scalable/apps/quillet.svg"); }
};
Folders userFolders();

// One desktop entry of the program.
struct DesktopEntry
{
    QString program;         // the executable's absolute path
    QStringList arguments;   // fixed arguments, e.g. "/MiniTray"
    bool takesFiles = false; // the files it is asked to open follow the arguments (%F)
    QString iconPath;        // absolute
    QStringList mimeTypes;   // offered to the file managers' "Open With"; none: not offered
    bool hidden = false;     // kept out of the applications menu
    QString place;           // the value of OwnEntryKey
};
QByteArray desktopEntryText(const DesktopEntry& entry);
// The Exec value for a program and its arguments, quoted and escaped as desktop entries want.
QString execLine(const QString& program, const QStringList& arguments, bool takesFiles);
// Whether a desktop entry's text carries OwnEntryKey.
bool isOwnDesktopEntry(const QByteArray& text);

// The shared-mime-info package that gives ".qlt" files the program's document type.
QByteArray mimePackageText();
// Whether a MIME package's text is one the program wrote.
bool isOwnMimePackage(const QByteArray& text);

// `mimeapps` with `desktopId` put first among the default applications of `mimeType` (`makeDefault`)
// or taken out of them; every other line stays as it was. A section left empty by a removal goes
// too. The line ends of the text are kept.
QByteArray withDefaultApplication(const QByteArray& mimeapps, const QByteArray& mimeType, const QByteArray& desktopId,
                                  bool makeDefault);

// `mimeapps` with `from` renamed `to` in every list of default applications (a list naming both
// keeps one, in the first of their places); every other line stays as it was.
QByteArray withDesktopIdRenamed(const QByteArray& mimeapps, const QByteArray& from, const QByteArray& to);

// Creates `folder` and the folders above it that are missing; false with the system's words for
// the first one that could not be made.
bool makeFolders(const QString& folder, QString* reason);

// Runs a tool with arguments and waits for it; false with the reason (the system's words, or
// the tool's exit status and what it said) when it could not run or failed.
bool runTool(const QString& program, const QStringList& arguments, QString* reason);

} // namespace platform::freedesktop
