#include "settings/filters.h"

#include "core/commanderror.h"

namespace filters {

QString listIndexOutOfBounds()
{
    return QStringLiteral("List index out of bounds");
}

const QStringList& builtInNames()
{
    static const QStringList names{QStringLiteral("Text Files"),
                                   QStringLiteral("Quillet Files"),
                                   QStringLiteral("HTML Files"),
                                   QStringLiteral("Configuration Files"),
                                   QStringLiteral("Batch Files"),
                                   QStringLiteral("Logged Files"),
                                   QStringLiteral("Report Files"),
                                   QStringLiteral("E-Mail Files"),
                                   QStringLiteral("Assembly Files"),
                                   QStringLiteral("C++ Source Files"),
                                   QStringLiteral("Delphi Source Files "),
                                   QStringLiteral("Information Files"),
                                   QStringLiteral("All Files")};
    return names;
}

const QStringList& builtInPatterns()
{
    static const QStringList patterns{QStringLiteral("*.txt"),        QStringLiteral("*.qlt"),
                                      QStringLiteral("*.htm;*.html"), QStringLiteral("*.ini;*.cfg"),
                                      QStringLiteral("*.bat"),        QStringLiteral("*.log"),
                                      QStringLiteral("*.rpt"),        QStringLiteral("*.eml"),
                                      QStringLiteral("*.asm"),        QStringLiteral("*.cpp;*.h;*.mak;*.c"),
                                      QStringLiteral("*.pas;*.dpr"),  QStringLiteral("*.inf"),
                                      QStringLiteral("*.*")};
    return patterns;
}

const QStringList& builtInDisplay()
{
    static const QStringList display = [] {
        QStringList texts;
        for (qsizetype i = 0; i < builtInNames().size(); ++i)
            texts.append(displayText(builtInNames()[i].trimmed(), builtInPatterns()[i]));
        return texts;
    }();
    return display;
}

QString displayText(const QString& name, const QString& pattern)
{
    return name + QStringLiteral(" (") + pattern + QLatin1Char(')');
}

FilterLists FilterLists::builtIn()
{
    return {builtInDisplay(), builtInNames(), builtInPatterns()};
}

void addFilter(FilterLists& lists, const QString& name, const QString& pattern)
{
    lists.display.append(displayText(name, pattern));
    lists.names.append(name);
    lists.patterns.append(pattern);
}

void removeFilter(FilterLists& lists, int row)
{
    for (QStringList* list : {&lists.display, &lists.names, &lists.patterns}) {
        if (row >= 0 && row < list->size())
            list->removeAt(row);
    }
}

void replaceFilter(FilterLists& lists, int displayRow, int nameRow, int patternRow, const QString& name,
                   const QString& pattern)
{
    const auto inRange = [](const QStringList& list, int row) { return row >= 0 && row < list.size(); };
    if (!inRange(lists.display, displayRow) || !inRange(lists.names, nameRow) || !inRange(lists.patterns, patternRow))
        throw CommandError(listIndexOutOfBounds());
    lists.display[displayRow] = displayText(name, pattern);
    lists.names[nameRow] = name;
    lists.patterns[patternRow] = pattern;
}

QString filterString(const QStringList& names, const QStringList& patterns)
{
    if (names.isEmpty() || patterns.size() < names.size())
        throw CommandError(listIndexOutOfBounds());
    QString filter = names[0] + QLatin1Char('|') + patterns[0];
    for (qsizetype i = 1; i < names.size(); ++i)
        filter += QLatin1Char('|') + names[i] + QLatin1Char('|') + patterns[i];
    return filter;
}

QString dialogDefaultExt(const QString& fieldText)
{
    QString ext = fieldText.section(QLatin1Char(';'), 0, 0).trimmed();
    const qsizetype dot = ext.lastIndexOf(QLatin1Char('.'));
    if (dot >= 0)
        ext = ext.mid(dot + 1);
    if (ext.contains(QLatin1Char('*')) || ext.contains(QLatin1Char('?')))
        return {};
    return ext;
}

void applyFilters(const QStringList& names, const QStringList& patterns, const QString& defaultExtField,
                  const QList<FileDialogState*>& dialogs)
{
    const QString ext = dialogDefaultExt(defaultExtField);
    for (FileDialogState* dialog : dialogs) {
        dialog->fileName.clear();
        dialog->defaultExt = ext;
    }
    const QString filter = filterString(names, patterns);
    for (FileDialogState* dialog : dialogs)
        dialog->filter = filter;
}

} // namespace filters
