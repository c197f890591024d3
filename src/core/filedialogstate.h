#pragma once
// The state of a file dialog that is created once and reused: a command sets its title, filter or
// file name, and they stay until something else sets them.

#include <QString>
#include <QStringList>

struct FileDialogState
{
    QString title;
    // "Description|pattern|Description|pattern...", e.g. "Text Files|*.txt|All Files|*.*".
    QString filter;
    int filterIndex = 1; // 1-based, as the filter string counts
    QString defaultExt;  // without the dot
    QString fileName;
    QString initialDir;
    // A save dialog that offers these encodings (by name) shows them, preset to `encoding`,
    // which then holds the one chosen.
    QStringList encodings;
    QString encoding;
};

// "Text Files|*.txt|All Files|*.*" as Qt's "Text Files (*.txt);;All Files (*)". Several
// patterns of one entry are separated by ";" in both forms; "*.*" matches every file.
QString qtNameFilters(const QString& pipeFilter);

// The chosen name with the default extension added when it has none.
QString withDefaultExtension(const QString& path, const QString& defaultExt);
