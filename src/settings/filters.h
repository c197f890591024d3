#pragma once
// The file filters of the options window: three parallel lists (the visible "<name> (<pattern>)"
// texts, the names and the patterns) and the operations on them, as pure functions so the window
// only moves list contents in and out of its controls.

#include "core/filedialogstate.h"

#include <QList>
#include <QString>
#include <QStringList>

namespace filters {

// The standard error text of a list read or written at a position it does not have.
QString listIndexOutOfBounds();

// The thirteen built-in entries. One name keeps a trailing blank ("Delphi Source Files "),
// which the built-in visible text does not show.
const QStringList& builtInNames();
const QStringList& builtInPatterns();
const QStringList& builtInDisplay();

// "<name> (<pattern>)", as New and Replace show a filter.
QString displayText(const QString& name, const QString& pattern);

struct FilterLists
{
    QStringList display;  // Filter1
    QStringList names;    // FilterName1
    QStringList patterns; // ExtBox3

    static FilterLists builtIn();
};

// New: appends to all three lists. Nothing is validated.
void addFilter(FilterLists& lists, const QString& name, const QString& pattern);
// Delete: removes `row` from every list that has it.
void removeFilter(FilterLists& lists, int row);
// Replace: the visible entry at displayRow and the name and pattern entries at their own rows.
// Any row out of range throws CommandError(listIndexOutOfBounds()) before anything changes.
void replaceFilter(FilterLists& lists, int displayRow, int nameRow, int patternRow, const QString& name,
                   const QString& pattern);

// "name0|pattern0|name1|pattern1|...", one entry per name. Throws
// CommandError(listIndexOutOfBounds()) when there is no entry or a name has no pattern.
QString filterString(const QStringList& names, const QStringList& patterns);

// The dialogs' default extension (no dot) from the "Default Extension" field, which holds a
// pattern such as "*.txt" or "*.cpp;*.h": the first pattern's extension; empty for "*.*".
QString dialogDefaultExt(const QString& fieldText);

// Apply filters: every dialog gets an empty file name and the default extension, then the filter
// string. When the lists are empty the error is thrown after the first step, as the dialogs
// were already given their names by then, and the filter strings stay as they were.
void applyFilters(const QStringList& names, const QStringList& patterns, const QString& defaultExtField,
                  const QList<FileDialogState*>& dialogs);

} // namespace filters
