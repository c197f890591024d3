#pragma once
// Handing work to other programs: starting a program with an argument list (never a command line
// for a shell, so a path with blanks, quotes or a leading "-" arrives as it is), opening an address
// or a file with the desktop's handler, and the desktop's mail composer. The program goes through
// a Launcher, so tests can record what would have been started.

#include <QByteArrayView>
#include <QString>
#include <QStringList>
#include <QUrl>

#include <functional>

namespace platform {

class Launcher
{
public:
    virtual ~Launcher() = default;
    // Starts `program` with `arguments` and does not wait for it; false when it could not start.
    virtual bool startProgram(const QString& program, const QStringList& arguments) = 0;
    // Opens `url` with the desktop's handler for it; false when no handler took it.
    virtual bool openUrl(const QUrl& url) = 0;
    // Opens the desktop's mail composer with `body` as the message and nothing else filled in.
    // `failed` is called later if the composer reports that it could not take the message.
    virtual bool composeMail(QByteArrayView body, std::function<void()> failed) = 0;
};

// The desktop's own: QProcess::startDetached, QDesktopServices::openUrl, and `xdg-email` (a
// "mailto:" address where it is missing); a body too long for one argument is attached as a
// file instead.
class DesktopLauncher : public Launcher
{
public:
    bool startProgram(const QString& program, const QStringList& arguments) override;
    bool openUrl(const QUrl& url) override;
    bool composeMail(QByteArrayView body, std::function<void()> failed) override;
};

// The program's shipped read-only file `relative` ("Data/Readme.txt", "help/Quillet.html"):
// below `programDir` (ending in a separator) when it is there, else in the installed share folder
// (../share/quillet beside the executable's folder); `programDir` + `relative` when neither has it.
QString shippedFile(const QString& programDir, const QString& relative);

// The first of `names` found on the PATH, as a full path; empty when none is.
QString findProgram(const QStringList& names);

// What Open Link makes of a selected text.
struct LinkTarget
{
    enum Kind {
        Nothing, // an empty selection
        Address, // a web, mail or file address to open with the desktop's handler: `url`
        Refused, // not opened: `reason` says why
    };
    Kind kind = Nothing;
    QUrl url;
    QString reason;
};

// Reads `text` (blanks around it aside) as an address: "http:", "https:" and "ftp:" addresses and
// ones starting "www." are web addresses, "mailto:" and "name@host" mail addresses, "file:"
// addresses and existing paths (absolute, "~/", or from the working folder) files. A file that is
// a program (executable, a desktop entry, a script or another kind the desktop would run) is
// refused, so Open Link never starts one; so is anything else.
LinkTarget classifyLink(const QString& text);

} // namespace platform
