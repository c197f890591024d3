#pragma once
// Recovery copies of modified documents, so that a crash, a kill or a lost session loses at most
// the last moments of typing. Each running copy of the program keeps its records in a folder of
// its own below the recovery folder, held by a lock that names the process; a folder whose
// process is gone is adopted by the next copy that starts, which moves its records into its own
// folder (no other copy can take them) and keeps them until each document is saved or discarded.
// Writing happens on a worker thread: the caller hands over a copy of the bytes and goes on.

#include "platform/textcodec.h"

#include <QByteArray>
#include <QDateTime>
#include <QList>
#include <QString>

#include <memory>

struct RecoveryRecord
{
    quint64 key = 0; // one per document, within this run
    QString caption;
    QString path; // empty: never saved
    qint64 caret = 0;
    QDateTime written;
    // What the document is saved in (the text kept is UTF-8 either way); a record written before
    // encodings were kept is UTF-8.
    platform::TextEncoding encoding = platform::TextEncoding::Utf8;
};

class RecoveryJournal
{
public:
    // The folder the records of every run go below.
    explicit RecoveryJournal(const QString& folder);
    // Finishes the queued writes; the records stay (only finish() removes them).
    ~RecoveryJournal();
    RecoveryJournal(const RecoveryJournal&) = delete;
    RecoveryJournal& operator=(const RecoveryJournal&) = delete;

    // Creates the folders (readable by the owner only) and takes this run's lock. False when that
    // is impossible; the journal then keeps nothing and every call does nothing.
    bool start();
    bool isActive() const;
    QString runFolder() const;

    // The records of runs that are no longer alive, moved into this run's folder, oldest first.
    QList<RecoveryRecord> adoptAbandoned();
    // The text kept for a record of this run; empty when it cannot be read.
    QByteArray textOf(const RecoveryRecord& record) const;

    quint64 newKey();
    // Queues a write of the record and its text; a queued write of the same key not yet begun is
    // replaced, so a burst of changes costs one write.
    void write(const RecoveryRecord& record, const QByteArray& text);
    // Queues the removal of a record (the document was saved or discarded).
    void drop(quint64 key);
    // Has the worker make a block of at least `size` bytes ready (its pages touched), so that the
    // window's thread can copy a large text into it without first faulting fresh memory in.
    void prepareBuffer(qint64 size);
    // The block made ready, if it holds `size` bytes; otherwise an empty array.
    QByteArray takeBuffer(qint64 size);
    // Returns once every queued write and removal is done.
    void waitUntilIdle();
    // The records of this run, as on disk.
    QList<RecoveryRecord> records() const;
    // A normal end: removes every record, this run's folder and its lock.
    void finish();

private:
    struct Worker;
    std::unique_ptr<Worker> m_worker;
};
