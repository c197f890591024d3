#pragma once
// Notices when another program changes, replaces or deletes the file of an open document. Each
// watched file has the state the program last knew it in (after opening, saving or reloading it);
// a change is reported once per difference from that state, however many events the system
// sends for it. A file replaced by renaming, or deleted and made again, stays watched.

#include <QDateTime>
#include <QFileSystemWatcher>
#include <QHash>
#include <QObject>
#include <QString>

class DiskWatch : public QObject
{
    Q_OBJECT

public:
    explicit DiskWatch(QObject* parent = nullptr);

    // The program has just read or written `path`: its state now is the known one.
    void remember(const QString& path);
    // No open document has `path` any more.
    void forget(const QString& path);
    // Whether `path` differs from its known state (another program wrote, replaced or deleted
    // it). False for a path the watch does not know.
    bool changedOnDisk(const QString& path) const;

signals:
    // `path` now differs from its known state; `deleted` when no file has that name any more.
    void changed(const QString& path, bool deleted);

private:
    struct State
    {
        bool exists = false;
        qint64 size = -1;
        QDateTime modified;
        quint64 inode = 0;
        bool operator==(const State&) const = default;
    };
    static State stateOf(const QString& path);
    void check(const QString& path);
    void folderChanged(const QString& folder);
    void watch(const QString& path);

    QFileSystemWatcher m_watcher;
    QHash<QString, State> m_known;
    // The last state reported for each path, so one change is told once.
    QHash<QString, State> m_reported;
};
