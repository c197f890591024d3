#pragma once
// The ClipBook's files: templates of text items ("ClipBook/<name>.cpb") and File Templates, lists
// of file paths ("ClipFiles/<name>.fff"), below the program directory. The file formats, the
// reading rules, the checks that keep a name inside its folder, and the lists of names with their
// create, rename, delete and import. No widgets: the ClipBook window shows what this decides.
//
// A file is read as documents are: UTF-16 by its byte-order mark, valid UTF-8 as UTF-8, anything
// else in the legacy code page chosen in the options (or, where that would not give back every
// byte, ISO-8859-1, which does), and written back in the encoding it was read in, so an unchanged
// item keeps every byte. New files are UTF-8. Every write goes through the safe writer, so a
// failed write throws CommandError and leaves the old file as it was.

#include "platform/textcodec.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringList>
#include <QStringView>

#include <optional>

namespace clipbook {

// The two kinds of named list and where each lives.
enum class Kind { Template, FileTemplate };

// Where no template is chosen: the name the box shows after a delete.
inline const QString UntitledName = QStringLiteral("Untitled");

// The items of a template as two parallel lists: entry i of both is one item.
struct Items
{
    QStringList names;
    QStringList texts;

    qsizetype size() const { return names.size(); }
    void append(const QString& name, const QString& text)
    {
        names.append(name);
        texts.append(text);
    }
    bool operator==(const Items&) const = default;
};

// One item split from a line or a selection.
struct Item
{
    QString name;
    QString text;
    bool operator==(const Item&) const = default;
};

// --- Formats ---------------------------------------------------------------------------------

// A line of a template: the name is the first run of characters that are not commas (commas at
// the start skipped); the text is the whole rest of the line after the one comma that ends the
// name, commas included, so "Sig,Best, regards" reads as (Sig, "Best, regards") and "x,,y" as
// (x, ",y"): every text a line can hold comes back as it was written.
Item splitTemplateLine(QStringView line);
// "Add To ClipBook": '<', '!' and '>' all separate; leading ones are skipped, a run counts as one;
// the first token is the name, the second the text, the rest is dropped ('a<b>c' gives (a, b)).
Item splitMarkedSelection(QStringView selection);

// Name, comma, text, CR LF for every item; no items is an empty file.
QByteArray formatTemplate(const Items& items);
// Every line (ended by CR LF, LF or CR; a last line needs no end) through splitTemplateLine.
Items parseTemplate(QByteArrayView bytes);
// One path a line, each ended by CR LF.
QByteArray formatFileTemplate(const QStringList& paths);
QStringList parseFileTemplate(QByteArrayView bytes);

// --- Names and places --------------------------------------------------------------------------

// Why `name` cannot name a file in its folder: empty, "." or "..", or holding a path separator
// or a NUL. Empty when it may.
enum class NameProblem { None, Empty, NotInFolder };
NameProblem checkName(const QString& name);

// "ClipBook/" or "ClipFiles/" below `programDir` (which ends in a separator).
QString folder(const QString& programDir, Kind kind);
// The file of `name`; throws CommandError for a name checkName refuses.
QString filePath(const QString& programDir, Kind kind, const QString& name);
// Creates the kind's folder (one level); a folder already there or a failure is left for the
// write that follows to report.
void ensureFolder(const QString& programDir, Kind kind);

// The name an imported file gets: its file name without folders, up to the first ".".
QString importedName(const QString& sourcePath);

// --- Reading and writing -----------------------------------------------------------------------

// A file's text (UTF-8) and the encoding it was read in; `legacy` is the code page of a file that
// is not UTF-8.
struct DecodedFile
{
    QByteArray utf8;
    platform::TextEncoding encoding = platform::TextEncoding::Utf8;
};
DecodedFile decodeFile(QByteArray bytes, platform::TextEncoding legacy);

struct TemplateFile
{
    Items items;
    platform::TextEncoding encoding = platform::TextEncoding::Utf8;
};
struct FileTemplateFile
{
    QStringList paths;
    platform::TextEncoding encoding = platform::TextEncoding::Utf8;
};
// Nothing when the name is refused or its file is missing or unreadable.
std::optional<TemplateFile> loadTemplate(const QString& programDir, const QString& name, platform::TextEncoding legacy);
std::optional<FileTemplateFile> loadFileTemplate(const QString& programDir, const QString& name,
                                                 platform::TextEncoding legacy);
// The bytes of a file in `encoding`; throw UnencodableText (a CommandError) naming a character the
// encoding cannot hold.
QByteArray encodeTemplate(const Items& items, platform::TextEncoding encoding);
QByteArray encodeFileTemplate(const QStringList& paths, platform::TextEncoding encoding);
// Throw CommandError for a refused name, a character the encoding lacks, or a failed write;
// nothing is written then, or the old file stays intact.
void saveTemplate(const QString& programDir, const QString& name, const Items& items,
                  platform::TextEncoding encoding = platform::TextEncoding::Utf8);
void saveFileTemplate(const QString& programDir, const QString& name, const QStringList& paths,
                      platform::TextEncoding encoding = platform::TextEncoding::Utf8);

// --- The lists of names ------------------------------------------------------------------------

// A list of template names as the box holds it: in the order added, one of them selected (or
// none, -1).
struct NameList
{
    QStringList names;
    int selected = -1;

    QString selectedName() const { return selected >= 0 && selected < names.size() ? names.at(selected) : QString(); }
    bool operator==(const NameList&) const = default;
};

// Create: `content` (bytes in the kind's format) is written to the new name's file, then the
// name is appended and selected. Throws CommandError when the name is refused or the write
// fails; the list is then unchanged.
void create(const QString& programDir, Kind kind, NameList& list, const QString& name, QByteArrayView content);
// Rename: `content` is written under the new name, then the selected entry is removed and the
// new name appended and selected. The old name's file stays on disk.
void rename(const QString& programDir, Kind kind, NameList& list, const QString& newName, QByteArrayView content);
// Delete: the selected entry leaves the list (its file stays on disk) and nothing is selected.
// The box then shows "Untitled": when "Untitled" is listed it is selected and its file is kept;
// otherwise an empty "Untitled" file is written (the folder is made first). Returns whether the
// "Untitled" file is now empty (the shown lists should be emptied).
bool remove(const QString& programDir, Kind kind, NameList& list);
// Import: `sourcePath` is read and copied to the folder under its imported name, which is then
// selected, appended first when not listed yet. Returns that name. Throws CommandError on any
// failure (unreadable source, refused name, failed write); the list is then unchanged.
QString import(const QString& programDir, Kind kind, NameList& list, const QString& sourcePath);

// --- Walking a File Template -------------------------------------------------------------------

enum class Step { First, Last, Next, Previous, Current };
// The entry a step goes to from `current` (-1: none) in a list of `count`; nothing when that
// falls outside the list.
std::optional<int> stepTo(Step step, int current, int count);

} // namespace clipbook
