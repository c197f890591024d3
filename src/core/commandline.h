#pragma once
// The command line, examined one argument at a time. Switches match exactly (case matters).
// The file argument of "CF", "/p" and "/px" is not consumed: it is examined again in its turn,
// so it is also opened as a document.

#include <QList>
#include <QString>
#include <QStringList>

struct StartupAction
{
    enum Kind {
        OpenFile,        // a file to open as a document
        OpenListedFiles, // "CF": open every line of the file
        Print,           // "/p": print the file
        PrintAndQuit,    // "/px": print, then quit once start-up has finished
        MiniTray,        // "/MiniTray": hide about a second after start
        TimeStamp,       // "Time": append the date and time to the current document
        MissingFile,     // "CF", "/p" or "/px" as the last argument
    };
    Kind kind;
    QString argument; // the file, or for MissingFile the switch

    bool operator==(const StartupAction&) const = default;
};

QList<StartupAction> parseCommandLine(const QStringList& arguments);

// "--version" and "--help" ask for a text on standard output instead of a window. They count only
// as the first argument, so any later one, and "./--help", is still a file to open.
enum class InformationRequest { None, Version, Help };

InformationRequest informationRequest(const QStringList& arguments);
// The answer to a request, naming the given version; empty for None.
QString informationText(InformationRequest request, const QString& version);
