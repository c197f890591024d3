#include "commands/clipbookstore.h"

#include "core/commanderror.h"
#include "documents/filesave.h"
#include "platform/textcodec.h"

#include <QDir>
#include <QFileInfo>

#include <algorithm>

namespace clipbook {

namespace {

const QByteArray LineEnd = QByteArrayLiteral("\r\n");

// Calls `line` for every line of `bytes`: a line ends at CR LF, LF or CR, and a last line without
// an end still counts; an empty file has no lines.
template <typename Each> void forEachLine(QByteArrayView bytes, Each line)
{
    qsizetype start = 0;
    const qsizetype size = bytes.size();
    const char* data = bytes.data();
    for (qsizetype i = 0; i < size; ++i) {
        const char c = data[i];
        if (c != '\r' && c != '\n')
            continue;
        line(bytes.sliced(start, i - start));
        if (c == '\r' && i + 1 < size && data[i + 1] == '\n')
            ++i;
        start = i + 1;
    }
    if (start < size)
        line(bytes.sliced(start));
}

qsizetype skipSeparators(QStringView text, qsizetype from, QStringView separators)
{
    while (from < text.size() && separators.contains(text.at(from)))
        ++from;
    return from;
}

qsizetype tokenEnd(QStringView text, qsizetype from, QStringView separators)
{
    while (from < text.size() && !separators.contains(text.at(from)))
        ++from;
    return from;
}

QString kindWord(Kind kind)
{
    return kind == Kind::Template ? QStringLiteral("ClipBook template") : QStringLiteral("File Template");
}

} // namespace

Item splitTemplateLine(QStringView line)
{
    const QStringView comma(u",");
    const qsizetype nameStart = skipSeparators(line, 0, comma);
    const qsizetype nameEnd = tokenEnd(line, nameStart, comma);
    // One comma ends the name; any after it belong to the text.
    const qsizetype textStart = std::min(nameEnd + 1, line.size());
    return {line.sliced(nameStart, nameEnd - nameStart).toString(), line.sliced(textStart).toString()};
}

Item splitMarkedSelection(QStringView selection)
{
    const QStringView marks(u"<!>");
    const qsizetype nameStart = skipSeparators(selection, 0, marks);
    const qsizetype nameEnd = tokenEnd(selection, nameStart, marks);
    const qsizetype textStart = skipSeparators(selection, nameEnd, marks);
    const qsizetype textEnd = tokenEnd(selection, textStart, marks);
    return {selection.sliced(nameStart, nameEnd - nameStart).toString(),
            selection.sliced(textStart, textEnd - textStart).toString()};
}

QByteArray formatTemplate(const Items& items)
{
    QByteArray bytes;
    qsizetype estimate = 0;
    for (qsizetype i = 0; i < items.size(); ++i)
        estimate += items.names.at(i).size() + items.texts.at(i).size() + 3;
    bytes.reserve(estimate);
    for (qsizetype i = 0; i < items.size(); ++i) {
        bytes += items.names.at(i).toUtf8();
        bytes += ',';
        bytes += items.texts.at(i).toUtf8();
        bytes += LineEnd;
    }
    return bytes;
}

Items parseTemplate(QByteArrayView bytes)
{
    Items items;
    forEachLine(bytes, [&items](QByteArrayView line) {
        const Item item = splitTemplateLine(QString::fromUtf8(line));
        items.append(item.name, item.text);
    });
    return items;
}

QByteArray formatFileTemplate(const QStringList& paths)
{
    QByteArray bytes;
    for (const QString& path : paths) {
        bytes += path.toUtf8();
        bytes += LineEnd;
    }
    return bytes;
}

QStringList parseFileTemplate(QByteArrayView bytes)
{
    QStringList paths;
    forEachLine(bytes, [&paths](QByteArrayView line) { paths.append(QString::fromUtf8(line)); });
    return paths;
}

NameProblem checkName(const QString& name)
{
    if (name.isEmpty())
        return NameProblem::Empty;
    if (name == QLatin1String(".") || name == QLatin1String("..") || name.contains(u'/') || name.contains(u'\\') ||
        name.contains(QChar(0)))
        return NameProblem::NotInFolder;
    return NameProblem::None;
}

QString folder(const QString& programDir, Kind kind)
{
    return programDir + (kind == Kind::Template ? QStringLiteral("ClipBook/") : QStringLiteral("ClipFiles/"));
}

QString filePath(const QString& programDir, Kind kind, const QString& name)
{
    switch (checkName(name)) {
    case NameProblem::Empty:
        throw CommandError(QStringLiteral("The %1 has no name.").arg(kindWord(kind)));
    case NameProblem::NotInFolder:
        throw CommandError(QStringLiteral("\"%1\" cannot be the name of a %2: a name may not be \".\" or \"..\" "
                                          "nor hold \"/\", \"\\\" or a NUL character.")
                               .arg(shortenedForMessage(name), kindWord(kind)));
    case NameProblem::None:
        break;
    }
    return folder(programDir, kind) + name + (kind == Kind::Template ? QStringLiteral(".cpb") : QStringLiteral(".fff"));
}

void ensureFolder(const QString& programDir, Kind kind)
{
    QDir().mkdir(folder(programDir, kind));
}

QString importedName(const QString& sourcePath)
{
    const QString fileName = QFileInfo(sourcePath).fileName();
    const qsizetype dot = fileName.indexOf(u'.');
    return dot < 0 ? fileName : fileName.left(dot);
}

DecodedFile decodeFile(QByteArray bytes, platform::TextEncoding legacy)
{
    using platform::TextEncoding;
    DecodedFile file;
    if (const std::optional<TextEncoding> marked = platform::byteOrderMarkEncoding(bytes))
        if (platform::decodeExactly(bytes, *marked, file.utf8))
            return {file.utf8, *marked};
    if (platform::isValidUtf8(bytes))
        return {std::move(bytes), TextEncoding::Utf8};
    // A code page that would not give the bytes back is passed over for one that always does.
    for (const TextEncoding encoding : {legacy, TextEncoding::Iso88591})
        if (encoding != TextEncoding::Utf8 && platform::decodeExactly(bytes, encoding, file.utf8))
            return {file.utf8, encoding};
    return {std::move(bytes), TextEncoding::Utf8};
}

namespace {

std::optional<DecodedFile> readNamed(const QString& programDir, Kind kind, const QString& name,
                                     platform::TextEncoding legacy)
{
    if (checkName(name) != NameProblem::None)
        return std::nullopt;
    try {
        return decodeFile(readFileBytes(filePath(programDir, kind, name)), legacy);
    } catch (const CommandError&) {
        return std::nullopt;
    }
}

void writeNamed(const QString& programDir, Kind kind, const QString& name, QByteArrayView content)
{
    const QString path = filePath(programDir, kind, name);
    ensureFolder(programDir, kind);
    writeTextFile(path, content, LineEnds::AsIs);
}

QByteArray encoded(const QByteArray& utf8, platform::TextEncoding encoding)
{
    if (encoding == platform::TextEncoding::Utf8)
        return utf8;
    return encodeOrRefuse(utf8, encoding,
                          QStringLiteral("The ClipBook writes this file in the encoding it was read in: nothing was "
                                         "saved."));
}

} // namespace

std::optional<TemplateFile> loadTemplate(const QString& programDir, const QString& name, platform::TextEncoding legacy)
{
    const std::optional<DecodedFile> file = readNamed(programDir, Kind::Template, name, legacy);
    if (!file)
        return std::nullopt;
    return TemplateFile{parseTemplate(file->utf8), file->encoding};
}

std::optional<FileTemplateFile> loadFileTemplate(const QString& programDir, const QString& name,
                                                 platform::TextEncoding legacy)
{
    const std::optional<DecodedFile> file = readNamed(programDir, Kind::FileTemplate, name, legacy);
    if (!file)
        return std::nullopt;
    return FileTemplateFile{parseFileTemplate(file->utf8), file->encoding};
}

QByteArray encodeTemplate(const Items& items, platform::TextEncoding encoding)
{
    return encoded(formatTemplate(items), encoding);
}

QByteArray encodeFileTemplate(const QStringList& paths, platform::TextEncoding encoding)
{
    return encoded(formatFileTemplate(paths), encoding);
}

void saveTemplate(const QString& programDir, const QString& name, const Items& items, platform::TextEncoding encoding)
{
    writeNamed(programDir, Kind::Template, name, encodeTemplate(items, encoding));
}

void saveFileTemplate(const QString& programDir, const QString& name, const QStringList& paths,
                      platform::TextEncoding encoding)
{
    writeNamed(programDir, Kind::FileTemplate, name, encodeFileTemplate(paths, encoding));
}

void create(const QString& programDir, Kind kind, NameList& list, const QString& name, QByteArrayView content)
{
    writeNamed(programDir, kind, name, content);
    list.names.append(name);
    list.selected = int(list.names.size() - 1);
}

void rename(const QString& programDir, Kind kind, NameList& list, const QString& newName, QByteArrayView content)
{
    writeNamed(programDir, kind, newName, content);
    if (list.selected >= 0 && list.selected < list.names.size())
        list.names.removeAt(list.selected);
    list.names.append(newName);
    list.selected = int(list.names.size() - 1);
}

bool remove(const QString& programDir, Kind kind, NameList& list)
{
    if (list.selected >= 0 && list.selected < list.names.size())
        list.names.removeAt(list.selected);
    list.selected = int(list.names.indexOf(UntitledName));
    // A listed "Untitled" is a template of the user's: it is shown, never emptied.
    if (list.selected >= 0)
        return false;
    writeNamed(programDir, kind, UntitledName, {});
    return true;
}

QString import(const QString& programDir, Kind kind, NameList& list, const QString& sourcePath)
{
    const QString name = importedName(sourcePath);
    const QString target = filePath(programDir, kind, name);
    const QByteArray bytes = readFileBytes(sourcePath);
    // Importing a template's own file leaves it as it is.
    if (QFileInfo(sourcePath).canonicalFilePath() != QFileInfo(target).canonicalFilePath())
        writeNamed(programDir, kind, name, bytes);
    list.selected = int(list.names.indexOf(name));
    if (list.selected < 0) {
        list.names.append(name);
        list.selected = int(list.names.size() - 1);
    }
    return name;
}

std::optional<int> stepTo(Step step, int current, int count)
{
    int target = -1;
    switch (step) {
    case Step::First:
        target = 0;
        break;
    case Step::Last:
        target = count - 1;
        break;
    case Step::Next:
        target = current + 1;
        break;
    case Step::Previous:
        target = current < 0 ? -1 : current - 1;
        break;
    case Step::Current:
        target = current;
        break;
    }
    if (target < 0 || target >= count)
        return std::nullopt;
    return target;
}

} // namespace clipbook
