#include "platform/platform.h"

#include "core/commanderror.h"
#include "platform/userfolders.h"

#include <QApplication>
#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QTemporaryFile>

#ifdef Q_OS_UNIX
#include <sys/stat.h>
#endif
#ifdef Q_OS_LINUX
#include <sys/statvfs.h>
#include <sys/xattr.h>
#include <unistd.h>
#endif
#include <cerrno>
#include <cstdio>
#include <iconv.h>

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

bool mayHoldProgramFiles(const QString& path, bool writable, uint owner, uint user)
{
    if (!writable || owner != user || !path.startsWith(QLatin1Char('/')))
        return false;
    // The first component decides: everything below these belongs to the system or its packages.
    const QString top = path.section(QLatin1Char('/'), 1, 1);
    static const QStringList systemFolders = {
        QStringLiteral("usr"),  QStringLiteral("bin"),  QStringLiteral("sbin"), QStringLiteral("opt"),
        QStringLiteral("snap"), QStringLiteral("etc"),  QStringLiteral("var"),  QStringLiteral("boot"),
        QStringLiteral("srv"),  QStringLiteral("nix"),  QStringLiteral("gnu"),  QStringLiteral("app"),
        QStringLiteral("run"),  QStringLiteral("proc"), QStringLiteral("sys"),  QStringLiteral("dev"),
    };
    return !top.isEmpty() && !top.startsWith(QLatin1String("lib")) && !systemFolders.contains(top);
}

bool folderMayHoldProgramFiles(const QString& folder)
{
    const QString path = QFileInfo(folder).canonicalFilePath();
    if (path.isEmpty())
        return false;
#ifdef Q_OS_LINUX
    struct stat info;
    if (::stat(QFile::encodeName(path).constData(), &info) != 0 || !S_ISDIR(info.st_mode))
        return false;
    const bool writable = ::access(QFile::encodeName(path).constData(), W_OK | X_OK) == 0;
    return mayHoldProgramFiles(path, writable, info.st_uid, ::geteuid());
#else
    return QFileInfo(path).isWritable();
#endif
}

QString programDirectory()
{
    QString dir = QCoreApplication::applicationDirPath();
    if (dir.isEmpty() || !folderMayHoldProgramFiles(dir)) {
        dir = dataHome() + QStringLiteral("/Quillet");
        QDir().mkpath(dir);
    }
    if (!dir.endsWith(QLatin1Char('/')))
        dir += QLatin1Char('/');
    return dir;
}

namespace {

bool failWith(QString* reason, const QString& words)
{
    if (reason)
        *reason = words;
    return false;
}

} // namespace

bool copyFileData(QFileDevice& from, QFileDevice& to, QString* reason)
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
                return failWith(reason, qt_error_string(errno));
            break; // not possible between these files: copy by hand below
        }
    }
#endif
    QByteArray buffer(4 << 20, Qt::Uninitialized);
    for (;;) {
        const qint64 n = from.read(buffer.data(), buffer.size());
        if (n < 0)
            return failWith(reason, from.errorString());
        if (n == 0)
            return true;
        // A write cut short (the disk filled up) is tried again for the rest, so the one that
        // fails says why.
        for (qint64 done = 0; done < n;) {
            const qint64 written = to.write(buffer.constData() + done, n - done);
            if (written <= 0)
                return failWith(reason, to.errorString());
            done += written;
        }
    }
}

bool renameReplacing(const QString& from, const QString& to, QString* reason)
{
#ifdef Q_OS_UNIX
    if (::rename(QFile::encodeName(from).constData(), QFile::encodeName(to).constData()) != 0)
        return failWith(reason, qt_error_string(errno));
    return true;
#else
    QFile::remove(to);
    QFile file(from);
    return file.rename(to) || failWith(reason, file.errorString());
#endif
}

bool replacingKeepsFile(const QString& path)
{
#ifdef Q_OS_LINUX
    const QByteArray file = QFile::encodeName(path);
    const QByteArray folder = QFile::encodeName(QFileInfo(path).absolutePath());
    struct stat folderInfo;
    if (::access(folder.constData(), W_OK | X_OK) != 0 || ::stat(folder.constData(), &folderInfo) != 0)
        return false;
    struct stat info;
    if (::stat(file.constData(), &info) != 0)
        return errno == ENOENT;
    // A folder with the set-group-id bit gives new files its own group.
    const gid_t newGroup = (folderInfo.st_mode & S_ISGID) ? folderInfo.st_gid : ::getegid();
    if (info.st_nlink != 1 || info.st_uid != ::geteuid() || info.st_gid != newGroup || (info.st_mode & 07000))
        return false;
    const ssize_t names = ::listxattr(file.constData(), nullptr, 0);
    return names == 0 || (names < 0 && errno == ENOTSUP);
#else
    Q_UNUSED(path);
    return true;
#endif
}

qint64 availableSpace(const QString& path)
{
#ifdef Q_OS_LINUX
    struct statvfs info;
    if (::statvfs(QFile::encodeName(path).constData(), &info) != 0)
        return -1;
    return static_cast<qint64>(info.f_bavail) * static_cast<qint64>(info.f_frsize);
#else
    Q_UNUSED(path);
    return -1;
#endif
}

FileState fileState(const QString& path)
{
    FileState state;
#ifdef Q_OS_LINUX
    struct stat info;
    if (::stat(QFile::encodeName(path).constData(), &info) != 0)
        return state;
    state.exists = true;
    state.size = static_cast<qint64>(info.st_size);
    state.modifiedNs = qint64(info.st_mtim.tv_sec) * 1000000000 + info.st_mtim.tv_nsec;
    state.changedNs = qint64(info.st_ctim.tv_sec) * 1000000000 + info.st_ctim.tv_nsec;
    state.inode = static_cast<quint64>(info.st_ino);
#else
    const QFileInfo info(path);
    if (!info.exists())
        return state;
    state.exists = true;
    state.size = info.size();
    state.modifiedNs = info.lastModified().toMSecsSinceEpoch() * 1000000;
    state.changedNs = info.metadataChangeTime().toMSecsSinceEpoch() * 1000000;
#endif
    return state;
}

bool syncToDisk(QFileDevice& file, QString* reason)
{
    if (!file.flush())
        return failWith(reason, file.errorString());
#ifdef Q_OS_LINUX
    const int handle = file.handle();
    if (handle >= 0 && ::fsync(handle) != 0)
        return failWith(reason, qt_error_string(errno));
#endif
    return true;
}

QByteArray convertCharset(QByteArrayView text, const char* from, const char* to, char replacement)
{
    iconv_t cd = iconv_open(to, from);
    if (cd == reinterpret_cast<iconv_t>(-1))
        throw CommandError(QStringLiteral("The character sets %1 and %2 cannot be converted on this system.")
                               .arg(QString::fromLatin1(from), QString::fromLatin1(to)));
    QByteArray out;
    out.reserve(text.size() + text.size() / 2 + 16);
    char* in = const_cast<char*>(text.data());
    size_t inLeft = static_cast<size_t>(text.size());
    char buffer[64 * 1024];
    while (inLeft > 0) {
        char* outPtr = buffer;
        size_t outLeft = sizeof buffer;
        const size_t done = iconv(cd, &in, &inLeft, &outPtr, &outLeft);
        out.append(buffer, static_cast<qsizetype>(outPtr - buffer));
        if (done != static_cast<size_t>(-1))
            continue;
        if (errno == E2BIG)
            continue;
        // Not convertible here (EILSEQ) or cut off at the end (EINVAL): one replacement, then on
        // after the offending character (a whole UTF-8 sequence when it is one, else one byte).
        out.append(replacement);
        size_t skip = 1;
        const auto lead = static_cast<unsigned char>(*in);
        if (errno == EILSEQ && QByteArrayView(from) == "UTF-8") {
            const size_t length = lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC0 ? 2 : 1;
            bool whole = length <= inLeft;
            for (size_t k = 1; whole && k < length; ++k)
                whole = (static_cast<unsigned char>(in[k]) & 0xC0) == 0x80;
            if (whole)
                skip = length;
        }
        in += skip;
        inLeft -= skip;
        iconv(cd, nullptr, nullptr, nullptr, nullptr);
    }
    iconv_close(cd);
    return out;
}

void beep()
{
    QApplication::beep();
}

bool desktopPlacesWindows()
{
    return QGuiApplication::platformName().startsWith(QLatin1String("wayland"));
}

} // namespace platform
