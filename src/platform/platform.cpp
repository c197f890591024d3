#include "platform/platform.h"

#include "app/commanderror.h"

#include <QApplication>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <QTemporaryFile>

#ifdef Q_OS_LINUX
#include <cerrno>
#include <unistd.h>
#endif

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
        dir = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) + QStringLiteral("/Quillet");
        QDir().mkpath(dir);
    }
    if (!dir.endsWith(QLatin1Char('/')))
        dir += QLatin1Char('/');
    return dir;
}

bool copyFileData(QFileDevice& from, QFileDevice& to)
{
#ifdef Q_OS_LINUX
    const int in = from.handle();
    const int out = to.handle();
    if (in >= 0 && out >= 0) {
        for (;;) {
            const ssize_t n = ::copy_file_range(in, nullptr, out, nullptr, 1 << 30, 0);
            if (n == 0)
                return true;
            if (n > 0)
                continue;
            if (errno == EINTR)
                continue;
            if (errno != EXDEV && errno != ENOSYS && errno != EOPNOTSUPP && errno != EINVAL)
                return false;
            break; // not possible between these files: copy by hand below
        }
    }
#endif
    QByteArray buffer(4 << 20, Qt::Uninitialized);
    for (;;) {
        const qint64 n = from.read(buffer.data(), buffer.size());
        if (n < 0)
            return false;
        if (n == 0)
            return true;
        if (to.write(buffer.constData(), n) != n)
            return false;
    }
}

void beep()
{
    QApplication::beep();
}

} // namespace platform
