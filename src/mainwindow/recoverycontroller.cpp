#include "mainwindow/recoverycontroller.h"

#include "documents/documentset.h"
#include "documents/recoveryjournal.h"
#include "editor/editorview.h"
#include "editor/editorviews.h"

RecoveryController::RecoveryController(DocumentSet& documents, EditorViews& views, RecoveryJournal& journal,
                                       QObject* parent)
    : QObject(parent), m_documents(documents), m_views(views), m_journal(journal)
{
    m_quiet.setSingleShot(true);
    m_quiet.setInterval(QuietMilliseconds);
    connect(&m_quiet, &QTimer::timeout, this, [this] { bringUpToDate(false); });
    connect(&m_views, &EditorViews::currentChanged, this, &RecoveryController::viewShown);
    if (m_views.current())
        viewShown(m_views.current());
}

void RecoveryController::viewShown(EditorView* view)
{
    if (view && !m_watched.contains(view)) {
        m_watched.insert(view);
        connect(view, &QsciScintilla::textChanged, this, &RecoveryController::textChanged);
        connect(view, &QObject::destroyed, this, [this, view] {
            m_watched.remove(view);
            m_changed.remove(view);
        });
    }
    // A switch or a close: the document left is written (or a closed one's record dropped) once
    // it is over.
    // One pass however many switches come at once (a list of files opening).
    if (!m_passQueued) {
        m_passQueued = true;
        QTimer::singleShot(0, this, [this] {
            m_passQueued = false;
            bringUpToDate(false);
        });
    }
}

void RecoveryController::textChanged()
{
    auto* view = qobject_cast<EditorView*>(sender());
    if (view && !m_changed.contains(view)) {
        m_changed.insert(view);
        // The first change since the last copy: memory for the next copy is made ready by the
        // worker meanwhile, if what is at hand is too small.
        const qint64 needed = view->textLength() + view->textLength() / 16 + 4096;
        if (needed > m_copy.capacity() && needed > m_preparing) {
            m_preparing = needed;
            m_journal.prepareBuffer(needed);
        }
    }
    m_quiet.start();
}

void RecoveryController::reopen(const RecoveryRecord& record, const QByteArray& text)
{
    m_documents.stashCurrentDocument();
    m_documents.beginDocument(record.caption.isEmpty() ? UntitledName : record.caption, record.path);
    EditorView& view = *m_views.current();
    view.setBytes(text);
    m_documents.completeDocument();
    m_documents.setCurrentEncoding(record.encoding);
    m_documents.setCurrentModified(true);
    view.setCaret(qBound(qint64(0), record.caret, view.textLength()));
    m_documents.refreshTabPictures();
    m_documents.publishHints();
    m_documents.showTitle();
    // The record on disk holds this text already.
    m_keys.insert(m_documents.current().storeFile, record.key);
    m_changed.remove(&view);
}

EditorView* RecoveryController::viewOf(int index) const
{
    if (index == m_documents.currentIndex())
        return m_documents.isAdding() ? nullptr : m_views.current();
    return m_views.keptView(m_documents.at(index).storeFile);
}

bool RecoveryController::isModified(int index) const
{
    if (m_documents.isModified(index))
        return true;
    // The current document's own changes count before the set hears of them.
    const EditorView* view = index == m_documents.currentIndex() ? viewOf(index) : nullptr;
    return view && view->modifiedFlag();
}

void RecoveryController::bringUpToDate(bool wait)
{
    m_quiet.stop();
    QSet<QString> open;
    for (int i = 0; i < m_documents.count(); ++i) {
        const Document& document = m_documents.at(i);
        if (document.storeFile.isEmpty())
            continue;
        open.insert(document.storeFile);
        EditorView* view = viewOf(i);
        if (!isModified(i)) {
            if (m_keys.contains(document.storeFile))
                m_journal.drop(m_keys.take(document.storeFile));
            continue;
        }
        const bool recorded = m_keys.contains(document.storeFile);
        if (!view || (recorded && !m_changed.contains(view)))
            continue;
        RecoveryRecord record;
        record.key = recorded ? m_keys.value(document.storeFile) : m_journal.newKey();
        record.caption = document.caption;
        record.path = document.path;
        record.encoding = document.encoding;
        record.caret = i == m_documents.currentIndex() ? view->selStart() : document.caret;
        record.written = QDateTime::currentDateTime();
        if (m_copy.capacity() < view->textLength() || !m_copy.isDetached()) {
            if (QByteArray ready = m_journal.takeBuffer(view->textLength()); !ready.isEmpty()) {
                m_copy = std::move(ready);
                m_preparing = 0;
            }
        }
        view->copyBytes(m_copy);
        m_journal.write(record, m_copy);
        m_keys.insert(document.storeFile, record.key);
        m_changed.remove(view);
    }
    // Closed documents.
    for (auto it = m_keys.begin(); it != m_keys.end();) {
        if (open.contains(it.key())) {
            ++it;
        } else {
            m_journal.drop(it.value());
            it = m_keys.erase(it);
        }
    }
    if (wait)
        m_journal.waitUntilIdle();
}

void RecoveryController::dropUnmodified()
{
    for (int i = 0; i < m_documents.count(); ++i) {
        const QString& storeFile = m_documents.at(i).storeFile;
        if (m_keys.contains(storeFile) && !isModified(i))
            m_journal.drop(m_keys.take(storeFile));
    }
}

void RecoveryController::finish()
{
    m_quiet.stop();
    m_keys.clear();
    m_journal.finish();
}
