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
