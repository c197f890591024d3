#include "documents/diskwatch.h"

#include <QFileInfo>

DiskWatch::DiskWatch(QObject* parent) : QObject(parent)
{
    connect(&m_watcher, &QFileSystemWatcher::fileChanged, this, &DiskWatch::check);
    connect(&m_watcher, &QFileSystemWatcher::directoryChanged, this, &DiskWatch::folderChanged);
}

void DiskWatch::watch(const QString& path)
{
    // The folder tells of a file made, deleted or renamed into place; the file of a write.
    const QString folder = QFileInfo(path).absolutePath();
    if (!m_watcher.directories().contains(folder))
        m_watcher.addPath(folder);
    // Watched anew each time: a file replaced by a rename is another file to the system, and
    // the old watch may not have been dropped yet.
    m_watcher.removePath(path);
    if (QFileInfo::exists(path))
        m_watcher.addPath(path);
}

platform::FileState DiskWatch::remember(const QString& path)
{
    if (path.isEmpty())
        return {};
    const State now = platform::fileState(path);
    m_known.insert(path, now);
    m_reported.insert(path, now);
    watch(path);
    return now;
}

void DiskWatch::rememberAs(const QString& path, const platform::FileState& known)
{
    if (path.isEmpty())
        return;
    m_known.insert(path, known);
    m_reported.insert(path, known);
    watch(path);
    check(path);
}

void DiskWatch::forget(const QString& path)
{
    m_known.remove(path);
    m_reported.remove(path);
    m_watcher.removePath(path);
    const QString folder = QFileInfo(path).absolutePath();
    for (auto it = m_known.cbegin(); it != m_known.cend(); ++it) {
        if (QFileInfo(it.key()).absolutePath() == folder)
            return;
    }
    m_watcher.removePath(folder);
}

bool DiskWatch::changedOnDisk(const QString& path) const
{
    const auto known = m_known.constFind(path);
    return known != m_known.cend() && !(platform::fileState(path) == *known);
}

void DiskWatch::check(const QString& path)
{
    const auto known = m_known.constFind(path);
    if (known == m_known.cend())
        return;
    const State now = platform::fileState(path);
    // A file replaced by a rename is a new file to the system: it is watched anew.
    if (now.exists)
        watch(path);
    if (now == m_reported.value(path))
        return;
    m_reported.insert(path, now);
    if (!(now == *known))
        emit changed(path, !now.exists);
}

void DiskWatch::folderChanged(const QString& folder)
{
    const QStringList paths = m_known.keys();
    for (const QString& path : paths) {
        if (QFileInfo(path).absolutePath() == folder)
            check(path);
    }
}
