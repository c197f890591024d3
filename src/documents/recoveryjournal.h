#pragma once
// Recovery copies of modified documents, so that a crash, a kill or a lost session loses at most
// the last moments of typing. Each running copy of the program keeps its records in a folder of
// its own below the recovery folder, held by a lock the system keeps for the process; a folder
// whose lock no process holds belongs to a run that is gone and is adopted by the next copy that
// starts, which moves its records into its own folder and keeps them until each document is saved
// or discarded.
//
// A record costs what the changes cost, not what the document costs: it is a base (nothing, the
// document's file as it was read or saved, which is copied in the background, or a copy of the
// text) and a journal of the edits made since, appended at every pause. When the journal has grown
// past a share of the document, the worker writes the text whole as a new base in the background.
// Rebuilding replays the edits onto the base and checks the result against the length and the
// checksum (TextChecksum) the record keeps before anything shows it. All writing happens on a
// worker thread; a write that fails is tried again until it succeeds or the record goes.

#include "documents/recoveryrecord.h"

#include <QByteArray>
#include <QList>
#include <QString>

#include <functional>
#include <memory>
#include <optional>

class RecoveryJournal
{
public:
    // What the worker tells, on its own thread.
    struct Event
    {
        enum class Kind {
            WriteFailed, // something handed over is not on disk; it is tried again
            AllWritten,  // after a failure: everything handed over is on disk again
            BaseLost,    // a record's base file changed before it was copied: begin it afresh
        };
        Kind kind;
        quint64 key = 0;
        QString reason;
    };
    // A record of an ended run that could not be opened, moved out of the way.
    struct SetAside
    {
        QString caption;
        QString reason;
        QString movedTo; // empty when it could not be moved: it stays where it was
    };

    // Records of every run go below `folder`; `secondFolder` takes this run's records when `folder`
    // cannot (moveToSecondFolder), and the records of ended runs are looked for in both.
    explicit RecoveryJournal(const QString& folder, const QString& secondFolder = QString());
    // Finishes the queued writes it can; the records stay (only finish() removes them).
    ~RecoveryJournal();
    RecoveryJournal(const RecoveryJournal&) = delete;
    RecoveryJournal& operator=(const RecoveryJournal&) = delete;

    // Creates the folders (readable by the owner only) and takes this run's lock. False when that
    // is impossible; nothing is kept until a later start() succeeds.
    bool start();
    bool isActive() const;
    QString runFolder() const;
    // Starts this run anew in the second folder, for when the first one takes nothing: what was
    // handed over and is not yet on disk is given up, so every record must be begun again.
    bool moveToSecondFolder();

    // The records of runs that are no longer alive, moved into this run's folder, oldest first.
    // One that cannot be opened (it would be larger than the editor holds, or it is damaged) is
    // moved to `setAsideFolder` instead and listed in `setAside`.
    QList<RecoveryRecord> adoptAbandoned(const QString& setAsideFolder, QList<SetAside>* setAside = nullptr);
    // A record's text as it is rebuilt, read from start to end, and what it must come out as.
    using RebuiltText = RebuiltRecoveryText;
    RebuiltText openText(const RecoveryRecord& record) const;
    // Rebuilds a record's text once to check it: empty when it comes out with the length and the
    // checksum recorded, otherwise why not.
    QString check(const RecoveryRecord& record) const;
    // The record's text whole, checked; empty when it cannot be rebuilt.
    QByteArray textOf(const RecoveryRecord& record) const;
    // Moves a record of this run to `folder` (it is no longer this run's); where it went.
    QString setAside(const RecoveryRecord& record, const QString& folder);

    quint64 newKey();
    // Starts a record afresh on `base`, with the edits made since (bytes of an
    // editlog::EntryBuffer); whatever the record held before goes.
    void begin(const RecoveryRecord& record, RecoveryBase base, QByteArray entries = QByteArray());
    // Adds edits (bytes of an editlog::EntryBuffer) to a begun record and brings its description up
    // to date; `entries` may be empty when only the description changed.
    void append(const RecoveryRecord& record, QByteArray entries);
    // Removes a record (its document was saved or discarded).
    void drop(quint64 key);
    // Returns once everything handed over has been written or has failed once; with
    // `backgroundWorkToo`, also once the slow work it leads to (copying a base file, writing a
    // record whole) is over.
    void waitUntilIdle(bool backgroundWorkToo = false);
    // Whether everything handed over is on disk.
    bool allWritten() const;
    void setListener(std::function<void(const Event&)> listener);
    // The records of this run, as on disk.
    QList<RecoveryRecord> records() const;
    // A normal end: removes every record, this run's folder and its lock.
    void finish();

    // The journal of a record is written whole as a new base once it holds more than this many
    // bytes and a quarter of the text, or this many entries.
    static constexpr qint64 CompactionBytes = qint64(1) << 20;
    static constexpr qint64 CompactionEntries = 50000;

private:
    struct Worker;
    std::unique_ptr<Worker> m_worker;
};
