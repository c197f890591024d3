#include "platform/freedesktop.h"

#include "platform/userfolders.h"

#include <QDir>
#include <QFile>
#include <QList>
#include <QProcess>

#include <cerrno>
#include <cstring>
#include <sys/stat.h>

namespace platform::freedesktop {

namespace {

// A string value of a desktop entry: backslashes and line breaks escaped.
QString escapedValue(QString value)
{
    value.replace(QLatin1Char('\\'), QLatin1String("\\\\"));
    value.replace(QLatin1Char('\n'), QLatin1String("\\n"));
    value.replace(QLatin1Char('\t'), QLatin1String("\\t"));
    value.replace(QLatin1Char('\r'), QLatin1String("\\r"));
    return value;
}

// One argument of an Exec line: quoted when it holds a reserved character, with the characters
// that stay special inside quotes escaped; a literal percent sign doubled.
QString execArgument(QString argument)
{
    static const QString reserved = QStringLiteral(" \t\n\"'\\><~|&;$*?#()`");
    bool quote = argument.isEmpty();
    for (const QChar c : argument)
        quote = quote || reserved.contains(c);
    if (quote) {
        QString escaped;
        for (const QChar c : argument) {
            if (c == QLatin1Char('"') || c == QLatin1Char('`') || c == QLatin1Char('$') || c == QLatin1Char('\\'))
                escaped += QLatin1Char('\\');
            escaped += c;
        }
        argument = QLatin1Char('"') + escaped + QLatin1Char('"');
    }
    argument.replace(QLatin1Char('%'), QLatin1String("%%"));
    return argument;
}

QByteArray trimmedLine(const QByteArray& line)
{
    return line.trimmed();
}

} // namespace

Folders userFolders()
{
    const QString home = QDir::homePath();
    Folders folders;
    folders.dataHome = dataHome();
    folders.configHome = configHome();
    // xdg-user-dir reads the user's folder names (which may be translated); without it the
    // desktop is where most desktops put it.
    QProcess process;
    process.start(QStringLiteral("xdg-user-dir"), {QStringLiteral("DESKTOP")});
    QString desktop;
    if (process.waitForFinished(10000) && process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0)
        desktop = QString::fromLocal8Bit(process.readAllStandardOutput()).trimmed();
    // The home folder itself is what older versions answer for a desktop they do not know.
    if (desktop.isEmpty() || !QDir::isAbsolutePath(desktop) || QDir(desktop) == QDir(home))
        desktop = home + QStringLiteral("/Desktop");
    folders.desktop = QDir::cleanPath(desktop);
    return folders;
}

QString execLine(const QString& program, const QStringList& arguments, bool takesFiles)
{
    QStringList parts{execArgument(program)};
    for (const QString& argument : arguments)
        parts << execArgument(argument);
    if (takesFiles)
        parts << QStringLiteral("%F");
    return parts.join(QLatin1Char(' '));
}

QByteArray desktopEntryText(const DesktopEntry& entry)
{
    QStringList lines{
        QStringLiteral("[Desktop Entry]"),
        QStringLiteral("Type=Application"),
        QStringLiteral("Name=Quillet v4.6"),
        QStringLiteral("GenericName=Text Editor"),
        QStringLiteral("Comment=Edit many plain-text documents at once, one tab each"),
        QStringLiteral("Exec=") + escapedValue(execLine(entry.program, entry.arguments, entry.takesFiles)),
        QStringLiteral("Icon=") + escapedValue(entry.iconPath),
        QStringLiteral("Terminal=false"),
        QStringLiteral("Categories=Utility;TextEditor;"),
    };
    if (!entry.mimeTypes.isEmpty())
        lines << QStringLiteral("MimeType=") + entry.mimeTypes.join(QLatin1Char(';')) + QLatin1Char(';');
    if (entry.hidden)
        lines << QStringLiteral("NoDisplay=true");
    lines << QLatin1String(OwnEntryKey) + QLatin1Char('=') + escapedValue(entry.place);
    return (lines.join(QLatin1Char('\n')) + QLatin1Char('\n')).toUtf8();
}

bool isOwnDesktopEntry(const QByteArray& text)
{
    const QByteArray key = QByteArray(OwnEntryKey) + '=';
    for (const QByteArray& line : text.split('\n'))
        if (trimmedLine(line).startsWith(key))
            return true;
    return false;
}

QByteArray mimePackageText()
{
    return QByteArrayLiteral("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                             "<!-- Written by Quillet's configuration window. -->\n"
                             "<mime-info xmlns=\"http://www.freedesktop.org/standards/shared-mime-info\">\n"
                             "  <mime-type type=\"application/x-quillet\">\n"
                             "    <comment>Quillet Document</comment>\n"
                             "    <sub-class-of type=\"text/plain\"/>\n"
                             "    <glob pattern=\"*.qlt\"/>\n"
                             "  </mime-type>\n"
                             "</mime-info>\n");
}

bool isOwnMimePackage(const QByteArray& text)
{
    return text.contains("<!-- Written by Quillet's configuration window. -->");
}

QByteArray withDefaultApplication(const QByteArray& mimeapps, const QByteArray& mimeType, const QByteArray& desktopId,
                                  bool makeDefault)
{
    QList<QByteArray> lines = mimeapps.split('\n');
    // split() leaves an empty piece after a final line break; it is put back at the end.
    const bool endsWithBreak = mimeapps.isEmpty() || mimeapps.endsWith('\n');
    if (endsWithBreak)
        lines.removeLast();
    const bool crlf = mimeapps.contains("\r\n");
    auto body = [crlf](const QByteArray& line) { return crlf && line.endsWith('\r') ? line.chopped(1) : line; };

    qsizetype header = -1;
    qsizetype sectionEnd = lines.size();
    for (qsizetype i = 0; i < lines.size(); ++i) {
        const QByteArray text = trimmedLine(lines[i]);
        if (header < 0 && text == "[Default Applications]") {
            header = i;
        } else if (header >= 0 && text.startsWith('[')) {
            sectionEnd = i;
            break;
        }
    }
    const QByteArray prefix = mimeType + '=';
    qsizetype entry = -1;
    if (header >= 0) {
        for (qsizetype i = header + 1; i < sectionEnd && entry < 0; ++i)
            if (body(lines[i]).startsWith(prefix))
                entry = i;
    }
    QList<QByteArray> others;
    bool listed = false;
    if (entry >= 0) {
        for (const QByteArray& id : body(lines[entry]).mid(prefix.size()).split(';')) {
            const QByteArray trimmed = id.trimmed();
            listed = listed || trimmed == desktopId;
            if (!trimmed.isEmpty() && trimmed != desktopId)
                others << trimmed;
        }
    }
    bool appended = false;
    auto line = [&](const QList<QByteArray>& ids) {
        QByteArray value = prefix;
        for (const QByteArray& id : ids)
            value += id + ';';
        return crlf ? value + '\r' : value;
    };

    if (makeDefault) {
        const QByteArray wanted = line(QList<QByteArray>{desktopId} + others);
        if (entry >= 0) {
            lines[entry] = wanted;
        } else if (header >= 0) {
            lines.insert(header + 1, wanted);
        } else {
            const QByteArray section = crlf ? QByteArrayLiteral("[Default Applications]\r") : "[Default Applications]";
            lines << section << wanted;
            appended = true;
        }
    } else {
        if (!listed)
            return mimeapps;
        if (others.isEmpty()) {
            lines.removeAt(entry);
            --sectionEnd;
            bool empty = true;
            for (qsizetype i = header + 1; i < sectionEnd; ++i)
                empty = empty && trimmedLine(lines[i]).isEmpty();
            // A section holding nothing any more goes with its blank lines, so a file the program
            // made keeps no trace of it.
            if (empty)
                lines.remove(header, sectionEnd - header);
        } else {
            lines[entry] = line(others);
        }
    }
    QByteArray result;
    for (qsizetype i = 0; i < lines.size(); ++i) {
        result += lines[i];
        if (i + 1 < lines.size() || endsWithBreak || appended)
            result += '\n';
    }
    return result;
}

QByteArray withDesktopIdRenamed(const QByteArray& mimeapps, const QByteArray& from, const QByteArray& to)
{
    QList<QByteArray> lines = mimeapps.split('\n');
    bool inDefaults = false;
    bool renamed = false;
    for (QByteArray& line : lines) {
        const QByteArray text = trimmedLine(line);
        if (text.startsWith('[')) {
            inDefaults = text == "[Default Applications]";
            continue;
        }
        const qsizetype equals = line.indexOf('=');
        if (!inDefaults || text.startsWith('#') || equals < 0)
            continue;
        const bool cr = line.endsWith('\r');
        QList<QByteArray> ids;
        bool named = false;
        for (const QByteArray& id : (cr ? line.chopped(1) : line).mid(equals + 1).split(';')) {
            const QByteArray trimmed = id.trimmed();
            named = named || trimmed == from;
            const QByteArray kept = trimmed == from ? to : trimmed;
            if (!kept.isEmpty() && !(kept == to && ids.contains(to)))
                ids << kept;
        }
        if (!named)
            continue;
        QByteArray value = line.left(equals + 1);
        for (const QByteArray& id : ids)
            value += id + ';';
        line = cr ? value + '\r' : value;
        renamed = true;
    }
    return renamed ? lines.join('\n') : mimeapps;
}

bool makeFolders(const QString& folder, QString* reason)
{
    const QString clean = QDir::cleanPath(QDir(folder).absolutePath());
    QString path;
    for (const QString& part : clean.split(QLatin1Char('/'), Qt::SkipEmptyParts)) {
        path += QLatin1Char('/') + part;
        const QByteArray name = QFile::encodeName(path);
        struct stat status;
        if (::stat(name.constData(), &status) == 0) {
            if (S_ISDIR(status.st_mode))
                continue;
            if (reason)
                *reason = QStringLiteral("\"%1\" is not a folder").arg(QDir::toNativeSeparators(path));
            return false;
        }
        if (::mkdir(name.constData(), 0777) != 0 && errno != EEXIST) {
            if (reason)
                *reason = QStringLiteral("\"%1\": %2")
                              .arg(QDir::toNativeSeparators(path), QString::fromLocal8Bit(std::strerror(errno)));
            return false;
        }
    }
    return true;
}

bool runTool(const QString& program, const QStringList& arguments, QString* reason)
{
    QProcess process;
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.start(program, arguments);
    auto fail = [&](const QString& why) {
        if (reason)
            *reason = why;
        return false;
    };
    // The system's words alone ("execvp: No such file or directory") would not say which tool.
    if (!process.waitForStarted(10000))
        return fail(QStringLiteral("%1 could not be started (%2)").arg(program, process.errorString()));
    if (!process.waitForFinished(60000)) {
        process.kill();
        process.waitForFinished(1000);
        return fail(QStringLiteral("%1 did not finish within a minute").arg(program));
    }
    if (process.exitStatus() != QProcess::NormalExit)
        return fail(QStringLiteral("%1 crashed").arg(program));
    if (process.exitCode() != 0) {
        const QString said = QString::fromLocal8Bit(process.readAll()).trimmed();
        return fail(QStringLiteral("%1 ended with status %2%3")
                        .arg(program)
                        .arg(process.exitCode())
                        .arg(said.isEmpty() ? QString() : QStringLiteral(": ") + said));
    }
    return true;
}

} // namespace platform::freedesktop
