#pragma once
// Keeps the recovery journal in step with the open documents: a modified document's text goes to
// the journal a moment after typing stops and whenever the user leaves it; a document that is no
// longer modified (saved, discarded, closed) loses its record. The copy of the text is taken here,
// on the window's thread; the journal writes it on its own.

#include <QByteArray>
#include <QHash>
#include <QObject>
#include <QPointer>
#include <QSet>
#include <QTimer>

class DocumentSet;
class EditorView;
class EditorViews;
class RecoveryJournal;
struct RecoveryRecord;

class RecoveryController : public QObject
{
    Q_OBJECT

public:
    // How long typing must pause before the text is written.
    static constexpr int QuietMilliseconds = 2000;

    RecoveryController(DocumentSet& documents, EditorViews& views, RecoveryJournal& journal, QObject* parent = nullptr);

    // Opens a record of an earlier run as a new, modified document and makes it current. Its
    // later copies replace that record; saving or discarding the document removes it.
    void reopen(const RecoveryRecord& record, const QByteArray& text);
    // Writes every modified document whose text changed since its last copy, then drops the
    // records of documents no longer modified. With `wait`, returns once all is on disk.
    void bringUpToDate(bool wait);
    // Drops the records of documents no longer modified (saved or discarded); cheap enough for a
    // clock tick.
    void dropUnmodified();
    // The program ends normally: nothing is left to recover.
    void finish();

private:
    void textChanged();
    void viewShown(EditorView* view);
    EditorView* viewOf(int index) const;
    bool isModified(int index) const;

    DocumentSet& m_documents;
    EditorViews& m_views;
    RecoveryJournal& m_journal;
    QTimer m_quiet;
    // Records by store file (a document's identity for the whole run).
    QHash<QString, quint64> m_keys;
    // Views whose text changed since it was last copied.
    QSet<EditorView*> m_changed;
    QSet<EditorView*> m_watched;
    // The last copy handed to the journal; its memory serves the next copy once written.
    QByteArray m_copy;
    qint64 m_preparing = 0;
    bool m_passQueued = false;
};
