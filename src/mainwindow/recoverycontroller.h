#pragma once
// Keeps the recovery journal in step with the open documents, at the cost of the changes: every
// edit of a document is taken as it happens (its position, the bytes removed and inserted, and
// what it changes in the text's checksum) and handed to the journal a moment after typing stops,
// at least every LongestMilliseconds while it goes on, and whenever the user leaves the document.
// A document's first edit decides what its record builds on: nothing for an empty text, its file
// while the text is still the file's, otherwise a copy of the text. A document that is no longer
// modified (saved, discarded, closed) loses its record.

#include "documents/editlog.h"
#include "documents/recoveryjournal.h"

#include <QByteArrayView>
#include <QElapsedTimer>
#include <QHash>
#include <QObject>
#include <QSet>
#include <QTimer>

#include <optional>

class DocumentSet;
class EditorView;
class EditorViews;

class RecoveryController : public QObject
{
    Q_OBJECT

public:
    // How long typing must pause before its edits are written.
    static constexpr int QuietMilliseconds = 2000;
    // Typing that never pauses is still written this often.
    static constexpr int LongestMilliseconds = 10000;

    RecoveryController(DocumentSet& documents, EditorViews& views, RecoveryJournal& journal, QObject* parent = nullptr);

    // Opens a record of an earlier run as a new, modified document and makes it current; its file,
    // as the record last knew it, is the one Save compares with. Its later edits go on in the same
    // record; saving or discarding the document removes it. Throws CommandError when its text
    // cannot be read.
    void reopen(const RecoveryRecord& record);
    // Hands the journal every modified document's edits since the last time (and the base of a
    // record that has none yet), then drops the records of documents no longer modified. With
    // `wait`, returns once everything has been written or has failed once.
    void bringUpToDate(bool wait);
    // Before a file is written in place: as bringUpToDate, and every record that begins from its
    // document's file holds its own copy of it, so that a write cut off halfway (a kill, a power
    // cut) cannot take the unsaved text with it.
    void keepApartFromFiles();
    // Drops the records of documents no longer modified (saved or discarded); cheap enough for a
    // clock tick.
    void dropUnmodified();
    // The program ends normally: nothing is left to recover.
    void finish();
    // Whether the changes of every modified document are on disk.
    bool unsavedWorkKept() const;
    // For an end when the recovery folder takes nothing: every modified document is written whole
    // to the journal's second folder. False when that fails too.
    bool keepInSecondFolder();
    // Tests shorten the pauses.
    void setIntervals(int quietMs, int longestMs);

signals:
    // The edits cannot be written (why); told once until they can be again.
    void copiesFailing(const QString& reason);
    // After copiesFailing: everything is on disk again.
    void copiesWritten();

private:
    struct Tracked
    {
        quint64 key = 0; // the record; 0: none
        // A base not yet handed to the journal, and edits made since it or since the last handover.
        std::optional<RecoveryBase> base;
        editlog::EntryBuffer entries;
        qint64 length = 0;
        quint64 change = 0;
        quint64 origin = 0; // the document's file origin the record began under
        // The edits taken no longer give the text (it changed untold): at the next handover the
        // record starts afresh on a copy of the text.
        bool stale = false;
    };

    void aboutToEdit(EditorView* view, qint64 position, qint64 removed, qint64 inserted);
    void insertionMade(EditorView* view, qint64 position, qint64 length);
    void changedUntold(EditorView* view);
    // Takes one edit into the document's entries: `removed` bytes still in the text, or
    // `inserted` bytes already in it.
    void record(const EditorView& view, Tracked& tracked, qint64 position, qint64 removed, qint64 inserted);
    void viewShown(EditorView* view);
    void scheduleCopy();
    void journalEvent(const RecoveryJournal::Event& event);
    // Starts a new record for the document at `index` on its text as it is now (before the edit
    // being made), replacing any it had.
    void beginRecord(int index, Tracked& tracked, bool editedSinceOrigin);
    RecoveryBase baseOf(int index, bool editedSinceOrigin) const;
    QByteArray textOf(int index) const;
    RecoveryRecord recordOf(int index, const Tracked& tracked) const;
    int indexOfView(const EditorView* view) const;
    EditorView* viewOf(int index) const;
    bool isModified(int index) const;
    void failing(const QString& reason);

    DocumentSet& m_documents;
    EditorViews& m_views;
    RecoveryJournal& m_journal;
    QTimer m_quiet;
    QElapsedTimer m_pendingSince;
    int m_quietMs = QuietMilliseconds;
    int m_longestMs = LongestMilliseconds;
    // By store file (a document's identity for the whole run).
    QHash<QString, Tracked> m_tracked;
    // The origin each document had at the last edit seen, by store file.
    QHash<QString, quint64> m_editedOrigin;
    QSet<EditorView*> m_watched;
    bool m_passQueued = false;
    bool m_failing = false;
};
