#include "platform/userfolders.h"

#include <QDir>
#include <QStandardPaths>

namespace platform {
namespace {
// An XDG folder from its variable, or its default below the home folder when the variable is
// unset, empty or relative.
QString xdgFolder(const char* variable, const QString& fallbackBelowHome)
{
    const QString value = qEnvironmentVariable(variable);
    if (value.isEmpty() || QDir::isRelativePath(value))
        return QDir::homePath() + QLatin1Char('/') + fallbackBelowHome;
    return value;
}
} // namespace

QString configHome()
{
#ifdef Q_OS_WIN
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
#else
    return QDir::cleanPath(xdgFolder("XDG_CONFIG_HOME", QStringLiteral(".config")));
#endif
}

QString dataHome()
{
#ifdef Q_OS_WIN
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
#else
    return QDir::cleanPath(xdgFolder("XDG_DATA_HOME", QStringLiteral(".local/share")));
#endif
}

QString stateFolder()
{
#ifdef Q_OS_WIN
    const QString state = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
#else
    // State that should survive a reboot but is not worth a backup: the freedesktop state folder.
    const QString state = xdgFolder("XDG_STATE_HOME", QStringLiteral(".local/state"));
#endif
    return QDir::cleanPath(state + QStringLiteral("/Quillet"));
}

QString recoveryFolder()
{
    return stateFolder() + QStringLiteral("/recovery");
}

QString secondRecoveryFolder()
{
#ifdef Q_OS_WIN
    const QString data = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
#else
    const QString data = dataHome();
#endif
    return QDir::cleanPath(data + QStringLiteral("/Quillet/recovery"));
}

QString setAsideFolder()
{
    return stateFolder() + QStringLiteral("/set-aside");
}

QString keptContentFolder()
{
    return stateFolder() + QStringLiteral("/kept");
}
} // namespace platform
