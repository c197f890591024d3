#include "platform/platform.h"

#include "core/commanderror.h"

#include <QApplication>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <QTemporaryFile>

#ifdef Q_OS_LINUX
#include <unistd.h>
#endif
#include <cerrno>
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

} // namespace platform
