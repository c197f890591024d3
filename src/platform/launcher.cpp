#include "platform/launcher.h"

#include <QCoreApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QMimeDatabase>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryFile>
#include <QUrlQuery>

namespace platform {

namespace {

// An argument longer than this cannot be passed on Linux (MAX_ARG_STRLEN is 128 KiB).
constexpr qsizetype LongestBody = 100 * 1024;

// Kinds of file the desktop hands to a program that runs, installs or launches something rather
// than showing it: programs, scripts for an interpreter, installer packages, launcher files.
// Types that inherit one (a Python script is an application/x-executable) count too.
const QStringList ProgramTypes{
    QStringLiteral("application/x-executable"),
    QStringLiteral("application/x-sharedlib"),
    QStringLiteral("application/x-pie-executable"),
    QStringLiteral("application/x-desktop"),
    QStringLiteral("application/x-shellscript"),
    QStringLiteral("application/x-ms-dos-executable"),
    QStringLiteral("application/x-msdos-program"),
    QStringLiteral("application/x-msdownload"),
    QStringLiteral("application/x-msi"),
    QStringLiteral("application/x-ms-shortcut"),
    QStringLiteral("application/x-mswinurl"),
    QStringLiteral("application/x-bat"),
    QStringLiteral("text/x-ms-regedit"),
    QStringLiteral("text/vbscript"),
    QStringLiteral("application/x-powershell"),
    QStringLiteral("application/javascript"),
    QStringLiteral("application/x-php"),
    QStringLiteral("text/tcl"),
    QStringLiteral("application/java-archive"),
    QStringLiteral("application/x-java-archive"),
    QStringLiteral("application/x-java-jnlp-file"),
    QStringLiteral("application/vnd.appimage"),
    QStringLiteral("application/vnd.debian.binary-package"),
    QStringLiteral("application/x-rpm"),
    QStringLiteral("application/vnd.snap"),
    QStringLiteral("application/vnd.flatpak"),
    QStringLiteral("application/vnd.flatpak.ref"),
    QStringLiteral("application/vnd.flatpak.repo"),
    QStringLiteral("application/vnd.android.package-archive"),
    QStringLiteral("application/x-xpinstall"),
    QStringLiteral("application/x-apple-diskimage"),
    QStringLiteral("application/x-xar"),
};

// The same kinds by name, for the many the desktop's type database does not know (on Debian,
// ".bat", ".ps1" and ".cmd" are only application/octet-stream) and for a file whose content
// looks like something else.
const QStringList ProgramExtensions{
    QStringLiteral("application"), QStringLiteral("appimage"),   QStringLiteral("appref-ms"),   QStringLiteral("apk"),
    QStringLiteral("bash"),        QStringLiteral("bat"),        QStringLiteral("cmd"),         QStringLiteral("com"),
    QStringLiteral("command"),     QStringLiteral("cpl"),        QStringLiteral("csh"),         QStringLiteral("deb"),
    QStringLiteral("desktop"),     QStringLiteral("dmg"),        QStringLiteral("exe"),         QStringLiteral("fish"),
    QStringLiteral("flatpak"),     QStringLiteral("flatpakref"), QStringLiteral("flatpakrepo"), QStringLiteral("hta"),
    QStringLiteral("jar"),         QStringLiteral("jnlp"),       QStringLiteral("js"),          QStringLiteral("jse"),
    QStringLiteral("kdesktop"),    QStringLiteral("ksh"),        QStringLiteral("lnk"),         QStringLiteral("lua"),
    QStringLiteral("msi"),         QStringLiteral("msp"),        QStringLiteral("php"),         QStringLiteral("pif"),
    QStringLiteral("pkg"),         QStringLiteral("pl"),         QStringLiteral("ps1"),         QStringLiteral("psd1"),
    QStringLiteral("psm1"),        QStringLiteral("py"),         QStringLiteral("pyw"),         QStringLiteral("rb"),
    QStringLiteral("reg"),         QStringLiteral("rpm"),        QStringLiteral("run"),         QStringLiteral("scr"),
    QStringLiteral("sh"),          QStringLiteral("snap"),       QStringLiteral("tcl"),         QStringLiteral("udeb"),
    QStringLiteral("url"),         QStringLiteral("vbe"),        QStringLiteral("vbs"),         QStringLiteral("wsf"),
    QStringLiteral("wsh"),         QStringLiteral("xpi"),        QStringLiteral("ymp"),         QStringLiteral("zsh"),
};

bool isProgram(const QFileInfo& file)
{
    if (file.isDir())
        return false;
    if (file.isExecutable() || ProgramExtensions.contains(file.suffix(), Qt::CaseInsensitive))
        return true;
    const QMimeDatabase types;
    // By name and by content: either may be what the desktop goes by.
    for (const QMimeType& type :
         {types.mimeTypeForFile(file), types.mimeTypeForFile(file, QMimeDatabase::MatchExtension)})
        for (const QString& name : ProgramTypes)
            if (type.inherits(name))
                return true;
    // A link's own name may hide what its target is, and the desktop may go by the target.
    if (file.isSymLink()) {
        const QString target = file.canonicalFilePath();
        return !target.isEmpty() && target != file.absoluteFilePath() && isProgram(QFileInfo(target));
    }
    return false;
}

// Some mail programs attach the local file an "attach" field names: a mail address opens
// without one.
QUrl withoutAttachments(QUrl url)
{
    if (url.scheme().compare(QLatin1String("mailto"), Qt::CaseInsensitive) != 0 || !url.hasQuery())
        return url;
    QUrlQuery query(url);
    QUrlQuery kept;
    for (const auto& [key, value] : query.queryItems(QUrl::FullyEncoded)) {
        const QString name = QUrl::fromPercentEncoding(key.toLatin1()).trimmed().toLower();
        if (name != QLatin1String("attach") && name != QLatin1String("attachment"))
            kept.addQueryItem(key, value);
    }
    if (kept.isEmpty())
        url.setQuery(QString());
    else
        url.setQuery(kept.query(QUrl::FullyEncoded), QUrl::StrictMode);
    return url;
}

LinkTarget refused(const QString& reason)
{
    return {LinkTarget::Refused, QUrl(), reason};
}

LinkTarget fileTarget(const QString& path, const QString& shown)
{
    const QFileInfo file(path);
    if (!file.exists())
        return refused(QStringLiteral("There is no file or folder \"%1\".").arg(shown));
    if (isProgram(file))
        return refused(QStringLiteral("\"%1\" is a program, or a file the desktop would run or install. Open Link "
                                      "only opens addresses and documents; to run a program use Tools, Execute File.")
                           .arg(shown));
    return {LinkTarget::Address, QUrl::fromLocalFile(file.absoluteFilePath()), QString()};
}

} // namespace

bool DesktopLauncher::startProgram(const QString& program, const QStringList& arguments)
{
    return QProcess::startDetached(program, arguments);
}

bool DesktopLauncher::openUrl(const QUrl& url)
{
    return QDesktopServices::openUrl(url);
}

bool DesktopLauncher::composeMail(QByteArrayView body, std::function<void()> failed)
{
    const QString composer = QStandardPaths::findExecutable(QStringLiteral("xdg-email"));
    if (composer.isEmpty()) {
        QUrl mail(QStringLiteral("mailto:"));
        mail.setQuery(QStringLiteral("body=") + QString::fromUtf8(QUrl::toPercentEncoding(QString::fromUtf8(body))),
                      QUrl::StrictMode);
        return QDesktopServices::openUrl(mail);
    }
    QStringList arguments;
    if (body.size() <= LongestBody) {
        arguments << QStringLiteral("--body") << QString::fromUtf8(body);
    } else {
        // Too long for one argument: the text goes as an attached file, kept until the program ends.
        auto* attachment = new QTemporaryFile(QDir::tempPath() + QStringLiteral("/QuilletMailXXXXXX.txt"),
                                              QCoreApplication::instance());
        if (!attachment->open() || attachment->write(body.data(), body.size()) != body.size() || !attachment->flush())
            return false;
        arguments << QStringLiteral("--attach") << attachment->fileName();
    }
    auto* process = new QProcess(QCoreApplication::instance());
    QObject::connect(process, &QProcess::finished, process, [process, failed](int code, QProcess::ExitStatus status) {
        if ((code != 0 || status != QProcess::NormalExit) && failed)
            failed();
        process->deleteLater();
    });
    process->start(composer, arguments);
    if (!process->waitForStarted()) {
        process->deleteLater();
        return false;
    }
    return true;
}

QString shippedFile(const QString& programDir, const QString& relative)
{
    const QString own = programDir + relative;
    if (QFileInfo::exists(own))
        return own;
    const QString installed =
        QDir::cleanPath(QCoreApplication::applicationDirPath() + QStringLiteral("/../share/quillet/") + relative);
    if (QFileInfo::exists(installed))
        return installed;
    return own;
}

QString findProgram(const QStringList& names)
{
    for (const QString& name : names) {
        const QString path = QStandardPaths::findExecutable(name);
        if (!path.isEmpty())
            return path;
    }
    return QString();
}

LinkTarget classifyLink(const QString& text)
{
    const QString address = text.trimmed();
    if (address.isEmpty())
        return {};
    static const QRegularExpression scheme(QStringLiteral("^([A-Za-z][A-Za-z0-9+.-]*):"));
    static const QRegularExpression mailbox(QStringLiteral("^[^\\s@/:]+@[^\\s@/]+\\.[^\\s@/]+$"));
    const QString schemeName = scheme.match(address).captured(1).toLower();
    // "C:" starts a Windows path, not an address.
    if (schemeName.size() > 1) {
        const QUrl url(address, QUrl::StrictMode);
        if (!url.isValid())
            return refused(QStringLiteral("\"%1\" is not a valid address.").arg(address));
        if (schemeName == QLatin1String("http") || schemeName == QLatin1String("https") ||
            schemeName == QLatin1String("ftp") || schemeName == QLatin1String("mailto"))
            return {LinkTarget::Address, withoutAttachments(url), QString()};
        if (schemeName == QLatin1String("file")) {
            if (!url.isLocalFile())
                return refused(QStringLiteral("\"%1\" is not a file on this computer.").arg(address));
            return fileTarget(url.toLocalFile(), address);
        }
        return refused(
            QStringLiteral("\"%1\" is not a web, mail or file address, so Open Link does not open it.").arg(address));
    }
    if (address.startsWith(QLatin1String("www."), Qt::CaseInsensitive)) {
        const QUrl url(QStringLiteral("http://") + address, QUrl::StrictMode);
        if (url.isValid())
            return {LinkTarget::Address, url, QString()};
    }
    if (mailbox.match(address).hasMatch())
        return {LinkTarget::Address, withoutAttachments(QUrl(QStringLiteral("mailto:") + address)), QString()};
    QString path = address;
    if (path == QLatin1String("~") || path.startsWith(QLatin1String("~/")))
        path = QDir::homePath() + path.mid(1);
    return fileTarget(QDir::current().absoluteFilePath(path), address);
}

} // namespace platform
