#pragma once
// Notices when another program changes, replaces or deletes the file of an open document. Each
// watched file has the state the program last knew it in (after opening, saving or reloading it);
// a change is reported once per difference from that state, however many events the system
// sends for it. A file replaced by renaming, or deleted and made again, stays watched.

#include "platform/platform.h"

#include <QFileSystemWatcher>
#include <QHash>
#include <QObject>
#include <QString>

class DiskWatch : public QObject
{
    Q_OBJECT

public:
    explicit DiskWatch(QObject* parent = nullptr);

    // The program has just read or written `path`: its state now is the known one, returned.
    platform::FileState remember(const QString& path);
    // `path` was last read or written in `known` (by an earlier run): a file that differs now is
    // reported at once.
    void rememberAs(const QString& path, const platform::FileState& known);
    // No open document has `path` any more.
    void forget(const QString& path);
    // Whether `path` differs from its known state (another program wrote, replaced or deleted
    // it). False for a path the watch does not know.
    bool changedOnDisk(const QString& path) const;

signals:
    // `path` now differs from its known state; `deleted` when no file has that name any more.
    void changed(const QString& path, bool deleted);

private:
    using State = platform::FileState;
    void check(const QString& path);
    void folderChanged(const QString& folder);
    void watch(const QString& path);

    QFileSystemWatcher m_watcher;
    QHash<QString, State> m_known;
    // The last state reported for each path, so one change is told once.
    QHash<QString, State> m_reported;
};
