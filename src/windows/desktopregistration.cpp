#include "windows/desktopregistration.h"

#include "core/commanderror.h"
#include "documents/filesave.h"
#include "platform/freedesktop.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace fd = platform::freedesktop;

// The icon is among the library's resources, which a static library must load by name.
static void loadOwnIcons()
{
    Q_INIT_RESOURCE(icons);
}

namespace {

using OwnershipTest = bool (*)(const QByteArray&);

bool exists(const QString& path)
{
    const QFileInfo info(path);
    return info.exists() || info.isSymLink();
}

// Makes the folder that will hold `path`.
void makeFolderFor(const QString& path)
{
    QString reason;
    if (!fd::makeFolders(QFileInfo(path).path(), &reason))
        throw CommandError(fileError(QStringLiteral("Cannot create the folder for"), path, reason));
}

// Writes `bytes` to `path` unless it already holds them; a file there that the program did not
// write stays as it is and is reported.
void writeOwnFile(const QString& path, const QByteArray& bytes, OwnershipTest isOwn)
{
    if (exists(path)) {
        const QByteArray old = readFileBytes(path);
        if (!isOwn(old))
            throw CommandError(fileError(QStringLiteral("Cannot write"), path,
                                         QStringLiteral("A file Quillet did not write is in its place; it is left as "
                                                        "it is.")));
        if (old == bytes)
            return;
    }
    makeFolderFor(path);
    writeTextFile(path, bytes, LineEnds::AsIs);
}

// Removes `path` if the program wrote it; anything else there stays.
void removeOwnFile(const QString& path, OwnershipTest isOwn)
{
    const QFileInfo info(path);
    if (!info.exists() || info.isSymLink() || !info.isFile())
        return;
    if (!isOwn(readFileBytes(path)))
        return;
    QFile file(path);
    if (!file.remove())
        throw CommandError(fileError(QStringLiteral("Cannot remove"), path, file.errorString()));
}

void placeOwnFile(bool wanted, const QString& path, const QByteArray& bytes, OwnershipTest isOwn)
{
    if (wanted)
        writeOwnFile(path, bytes, isOwn);
    else
        removeOwnFile(path, isOwn);
}

QByteArray iconBytes()
{
    loadOwnIcons();
    QFile icon(QStringLiteral(":/icons/quillet.svg"));
    return icon.open(QIODevice::ReadOnly) ? icon.readAll() : QByteArray();
}

bool isOwnIcon(const QByteArray& text)
{
    return text.contains("<!-- Drawn for Quillet");
}

// mimeapps.list holds every program's choices: only the program's own default changes, in place.
void placeDefaultForText(bool wanted, const QString& path)
{
    const bool there = exists(path);
    const QByteArray old = there ? readFileBytes(path) : QByteArray();
    const QByteArray updated =
        fd::withDefaultApplication(old, QByteArrayLiteral("text/plain"), QByteArray(fd::DesktopFileId), wanted);
    if (updated == old)
        return;
    // Emptied by taking out the program's own line: the file held nothing else.
    if (there && updated.trimmed().isEmpty() && QFileInfo(path).isFile() && !QFileInfo(path).isSymLink()) {
        QFile file(path);
        if (!file.remove())
            throw CommandError(fileError(QStringLiteral("Cannot remove"), path, file.errorString()));
        return;
    }
    makeFolderFor(path);
    writeTextFile(path, updated, LineEnds::AsIs);
}

} // namespace

void applyDesktopChoices(const DesktopChoices& choices, const QString& programPath)
{
    const fd::Folders folders = fd::userFolders();
    const QString iconPath = folders.iconFile();
    const bool anyEntry =
        choices.defaultForText || choices.sendTo || choices.startMenu || choices.desktop || choices.loadAtStart;

    // The program's document type, every time.
    const QString package = folders.mimePackages() + QLatin1Char('/') + QLatin1String(fd::MimePackageName);
    writeOwnFile(package, fd::mimePackageText(), fd::isOwnMimePackage);
    QString reason;
    if (!fd::runTool(QStringLiteral("update-mime-database"), {folders.mimeDatabase()}, &reason))
        throw CommandError(
            fileError(QStringLiteral("Cannot update the MIME database"), folders.mimeDatabase(), reason));

    // The entries name the icon, so it comes first and goes last.
    if (anyEntry)
        writeOwnFile(iconPath, iconBytes(), isOwnIcon);

    fd::DesktopEntry entry;
    entry.program = programPath;
    entry.iconPath = iconPath;
    const QString id = QLatin1String(fd::DesktopFileId);

    fd::DesktopEntry application = entry;
    application.takesFiles = true;
    application.hidden = !choices.startMenu;
    if (choices.sendTo)
        application.mimeTypes = {QStringLiteral("text/plain"), QLatin1String(fd::DocumentMimeType)};
    application.place = QStringLiteral("applications");
    placeOwnFile(choices.defaultForText || choices.sendTo || choices.startMenu, folders.applications() + '/' + id,
                 fd::desktopEntryText(application), fd::isOwnDesktopEntry);

    placeDefaultForText(choices.defaultForText, folders.mimeAppsList());

    fd::DesktopEntry onDesktop = entry;
    onDesktop.takesFiles = true;
    onDesktop.place = QStringLiteral("desktop");
    const QString desktopPath = folders.desktop + '/' + id;
    placeOwnFile(choices.desktop, desktopPath, fd::desktopEntryText(onDesktop), fd::isOwnDesktopEntry);
    // File managers start only the desktop's entries that may be run.
    if (choices.desktop)
        QFile::setPermissions(desktopPath, QFile::permissions(desktopPath) | QFile::ExeOwner | QFile::ExeUser);

    fd::DesktopEntry atStart = entry;
    atStart.arguments = {QStringLiteral("/MiniTray")};
    atStart.place = QStringLiteral("autostart");
    placeOwnFile(choices.loadAtStart, folders.autostart() + '/' + id, fd::desktopEntryText(atStart),
                 fd::isOwnDesktopEntry);

    if (!anyEntry)
        removeOwnFile(iconPath, isOwnIcon);
}
