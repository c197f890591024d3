#include "documents/diskwatch.h"

#include <QFile>
#include <QFileInfo>

#ifdef Q_OS_UNIX
#include <sys/stat.h>
#endif

DiskWatch::DiskWatch(QObject* parent) : QObject(parent)
{
    connect(&m_watcher, &QFileSystemWatcher::fileChanged, this, &DiskWatch::check);
    connect(&m_watcher, &QFileSystemWatcher::directoryChanged, this, &DiskWatch::folderChanged);
}

DiskWatch::State DiskWatch::stateOf(const QString& path)
{
    State state;
    const QFileInfo info(path);
    if (!info.exists())
        return state;
    state.exists = true;
    state.size = info.size();
    state.modified = info.lastModified();
#ifdef Q_OS_UNIX
    // A file renamed over the old one may have its size and time: its inode tells it apart.
    struct stat st = {};
    if (::stat(QFile::encodeName(path).constData(), &st) == 0)
        state.inode = st.st_ino;
#endif
    return state;
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

void DiskWatch::remember(const QString& path)
{
    if (path.isEmpty())
        return;
    const State now = stateOf(path);
    m_known.insert(path, now);
    m_reported.insert(path, now);
    watch(path);
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
    return known != m_known.cend() && !(stateOf(path) == *known);
}

void DiskWatch::check(const QString& path)
{
    const auto known = m_known.constFind(path);
    if (known == m_known.cend())
        return;
    const State now = stateOf(path);
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
