#pragma once
// The open documents' fields side by side, as the tab strip and hints show them, for comparing
// a whole set at once.

#include "documents/documentset.h"

#include <QList>
#include <QStringList>

// The documents' fields side by side, as the tab strip and hints show them.
inline QStringList captionsOf(const DocumentSet& set)
{
    QStringList result;
    for (const Document& document : set.documents())
        result.append(document.caption);
    return result;
}
inline QStringList displayPathsOf(const DocumentSet& set)
{
    QStringList result;
    for (const Document& document : set.documents())
        result.append(document.displayPath());
    return result;
}
inline QStringList modifiedWordsOf(const DocumentSet& set)
{
    QStringList result;
    for (const Document& document : set.documents())
        result.append(document.modifiedWord());
    return result;
}
inline QStringList storeFilesOf(const DocumentSet& set)
{
    QStringList result;
    for (const Document& document : set.documents())
        result.append(document.storeFile);
    return result;
}
inline QList<qint64> caretsOf(const DocumentSet& set)
{
    QList<qint64> result;
    for (const Document& document : set.documents())
        result.append(document.caret);
    return result;
}
