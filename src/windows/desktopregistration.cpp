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

// Places the program's entry at `folder` under its name, and takes out an entry of its own that an
// older version left there under the old name.
void placeOwnEntry(bool wanted, const QString& folder, const QByteArray& bytes)
{
    placeOwnFile(wanted, folder + QLatin1Char('/') + QLatin1String(fd::DesktopFileId), bytes, fd::isOwnDesktopEntry);
    removeOwnFile(folder + QLatin1Char('/') + QLatin1String(fd::OldDesktopFileId), fd::isOwnDesktopEntry);
}

// mimeapps.list holds every program's choices: only the program's own default changes, in place.
// Defaults naming the old entry move to the new one, unless that name is another program's.
void placeDefaultForText(bool wanted, const QString& path, bool takeOverOldId)
{
    const bool there = exists(path);
    const QByteArray old = there ? readFileBytes(path) : QByteArray();
    const QByteArray id(fd::DesktopFileId);
    const QByteArray renamed = takeOverOldId ? fd::withDesktopIdRenamed(old, fd::OldDesktopFileId, id) : old;
    const QByteArray updated = fd::withDefaultApplication(renamed, QByteArrayLiteral("text/plain"), id, wanted);
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

// Runs one part; its failure is noted and the next part goes on.
class Parts
{
public:
    template <typename Step> void run(const char* part, Step step)
    {
        try {
            step();
        } catch (const CommandError& error) {
            m_failures.append({QLatin1String(part), error.message()});
        }
    }
    QList<DesktopFailure> failures() const { return m_failures; }

private:
    QList<DesktopFailure> m_failures;
};

} // namespace

QList<DesktopFailure> applyDesktopChoices(const DesktopChoices& choices, const QString& programPath)
{
    const fd::Folders folders = fd::userFolders();
    const QString iconPath = folders.iconFile();
    const bool anyEntry =
        choices.defaultForText || choices.sendTo || choices.startMenu || choices.desktop || choices.loadAtStart;
    Parts parts;

    // The program's document type, every time.
    parts.run("the document type", [&] {
        const QString package = folders.mimePackages() + QLatin1Char('/') + QLatin1String(fd::MimePackageName);
        writeOwnFile(package, fd::mimePackageText(), fd::isOwnMimePackage);
        QString reason;
        if (!fd::runTool(QStringLiteral("update-mime-database"), {folders.mimeDatabase()}, &reason))
            throw CommandError(
                fileError(QStringLiteral("Cannot update the MIME database"), folders.mimeDatabase(), reason));
    });

    // The entries name the icon, so it comes first and goes last.
    if (anyEntry)
        parts.run("the icon", [&] { writeOwnFile(iconPath, iconBytes(), isOwnIcon); });

    fd::DesktopEntry entry;
    entry.program = programPath;
    entry.iconPath = iconPath;

    fd::DesktopEntry application = entry;
    application.takesFiles = true;
    application.hidden = !choices.startMenu;
    if (choices.sendTo)
        application.mimeTypes = {QStringLiteral("text/plain"), QLatin1String(fd::DocumentMimeType)};
    application.place = QStringLiteral("applications");
    parts.run("the applications entry", [&] {
        placeOwnEntry(choices.defaultForText || choices.sendTo || choices.startMenu, folders.applications(),
                      fd::desktopEntryText(application));
    });

    parts.run("the default for text documents", [&] {
        const QString oldEntry = folders.applications() + QLatin1Char('/') + QLatin1String(fd::OldDesktopFileId);
        const bool oldNameOurs = !exists(oldEntry) || fd::isOwnDesktopEntry(readFileBytes(oldEntry));
        placeDefaultForText(choices.defaultForText, folders.mimeAppsList(), oldNameOurs);
    });

    fd::DesktopEntry onDesktop = entry;
    onDesktop.takesFiles = true;
    onDesktop.place = QStringLiteral("desktop");
    parts.run("the desktop icon", [&] {
        placeOwnEntry(choices.desktop, folders.desktop, fd::desktopEntryText(onDesktop));
        const QString desktopPath = folders.desktop + QLatin1Char('/') + QLatin1String(fd::DesktopFileId);
        // File managers start only the desktop's entries that may be run.
        if (choices.desktop)
            QFile::setPermissions(desktopPath, QFile::permissions(desktopPath) | QFile::ExeOwner | QFile::ExeUser);
    });

    fd::DesktopEntry atStart = entry;
    atStart.arguments = {QStringLiteral("/MiniTray")};
    atStart.place = QStringLiteral("autostart");
    parts.run("the autostart entry",
              [&] { placeOwnEntry(choices.loadAtStart, folders.autostart(), fd::desktopEntryText(atStart)); });

    if (!anyEntry)
        parts.run("the icon", [&] { removeOwnFile(iconPath, isOwnIcon); });
    return parts.failures();
}

QString desktopFailureNote(const QList<DesktopFailure>& failures)
{
    if (failures.isEmpty())
        return QString();
    QStringList names;
    for (const DesktopFailure& failure : failures)
        names << failure.part;
    const QString last = names.takeLast();
    return QStringLiteral("Configure could not set up %1.")
        .arg(names.isEmpty() ? last : names.join(QStringLiteral(", ")) + QStringLiteral(" and ") + last);
}
