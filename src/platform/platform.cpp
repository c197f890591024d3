#include "platform/platform.h"

#include "app/commanderror.h"

#include <QApplication>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <QTemporaryFile>

namespace platform {

QString createTempFile(const QString& prefix)
{
    QTemporaryFile file(QDir::tempPath() + QLatin1Char('/') + prefix + QStringLiteral("XXXXXX"));
    file.setAutoRemove(false);
    if (!file.open())
        throw CommandError(QStringLiteral("Cannot create a temporary file in \"%1\".\n%2")
                               .arg(QDir::toNativeSeparators(QDir::tempPath()), file.errorString()));
    return file.fileName();
}

void deleteFileQuietly(const QString& path)
{
    QFile::remove(path);
}

QString programDirectory()
{
    QString dir = QCoreApplication::applicationDirPath();
    if (dir.isEmpty() || !QFileInfo(dir).isWritable()) {
        dir = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation)
              + QStringLiteral("/Quillet");
        QDir().mkpath(dir);
    }
    if (!dir.endsWith(QLatin1Char('/')))
        dir += QLatin1Char('/');
    return dir;
}

void beep()
{
    QApplication::beep();
}

} // namespace platform
