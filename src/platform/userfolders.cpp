#include "platform/userfolders.h"

#include <QDir>
#include <QStandardPaths>

namespace platform {
QString recoveryFolder()
{
#ifdef Q_OS_WIN
    const QString state = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
#else
    // State that should survive a reboot but is not worth a backup: the freedesktop state folder.
    QString state = qEnvironmentVariable("XDG_STATE_HOME");
    if (state.isEmpty() || QDir::isRelativePath(state))
        state = QDir::homePath() + QStringLiteral("/.local/state");
#endif
    return QDir::cleanPath(state + QStringLiteral("/Quillet/recovery"));
}
} // namespace platform
