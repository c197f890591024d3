#include "core/commandline.h"

QList<StartupAction> parseCommandLine(const QStringList& arguments)
{
    QList<StartupAction> actions;
    for (int i = 0; i < arguments.size(); ++i) {
        const QString& arg = arguments[i];
        const bool hasNext = i + 1 < arguments.size();
        const QString next = hasNext ? arguments[i + 1] : QString();

        auto withFile = [&](StartupAction::Kind kind) {
            actions.append(hasNext ? StartupAction{kind, next} : StartupAction{StartupAction::MissingFile, arg});
        };

        if (arg == QLatin1String("CF"))
            withFile(StartupAction::OpenListedFiles);
        else if (arg == QLatin1String("/p"))
            withFile(StartupAction::Print);
        else if (arg == QLatin1String("/px"))
            withFile(StartupAction::PrintAndQuit);
        else if (arg == QLatin1String("/MiniTray"))
            actions.append({StartupAction::MiniTray, QString()});
        else if (arg == QLatin1String("Time"))
            actions.append({StartupAction::TimeStamp, QString()});
        else if (!arg.isEmpty())
            actions.append({StartupAction::OpenFile, arg});
    }
    return actions;
}

InformationRequest informationRequest(const QStringList& arguments)
{
    if (arguments.isEmpty())
        return InformationRequest::None;
    if (arguments.first() == QLatin1String("--version"))
        return InformationRequest::Version;
    if (arguments.first() == QLatin1String("--help"))
        return InformationRequest::Help;
    return InformationRequest::None;
}

QString informationText(InformationRequest request, const QString& version)
{
    switch (request) {
    case InformationRequest::None:
        break;
    case InformationRequest::Version:
        return QStringLiteral("Quillet %1\n"
                              "License GPL-3.0-or-later <https://www.gnu.org/licenses/gpl-3.0.html>.\n")
            .arg(version);
    case InformationRequest::Help:
        return QStringLiteral("Usage: quillet [FILE | CF LISTFILE | /p FILE | /px FILE | /MiniTray | Time]...\n"
                              "       quillet --version | --help\n"
                              "\n"
                              "A tabbed plain-text editor. Every argument is examined in turn:\n"
                              "  FILE         open FILE as a document\n"
                              "  CF LISTFILE  open every file named in LISTFILE (one path a line), then LISTFILE\n"
                              "  /p FILE      print FILE, then open it\n"
                              "  /px FILE     as /p, then quit once start-up has finished\n"
                              "  /MiniTray    hide in the notification area about a second after start\n"
                              "  Time         append the date and time to the current document\n"
                              "Switches are case-sensitive; any other argument is a file name.\n"
                              "\n"
                              "  --version    print the version and exit\n"
                              "  --help       print this help and exit\n"
                              "These two count only as the first argument: open a file named --help as ./--help.\n"
                              "\n"
                              "Settings are kept in $QUILLET_SETTINGS, else $XDG_CONFIG_HOME/Quillet/Quillet.ini.\n"
                              "See quillet(1).\n");
    }
    return QString();
}
