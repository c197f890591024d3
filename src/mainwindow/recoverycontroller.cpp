#include "mainwindow/recoverycontroller.h"

#include "core/commanderror.h"
#include "documents/documentset.h"
#include "documents/filesave.h"
#include "documents/textchecksum.h"
#include "editor/editorview.h"
#include "editor/editorviews.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QPointer>

#include <algorithm>

RecoveryController::RecoveryController(DocumentSet& documents, EditorViews& views, RecoveryJournal& journal,
                                       QObject* parent)
    : QObject(parent), m_documents(documents), m_views(views), m_journal(journal)
{
    m_quiet.setSingleShot(true);
    connect(&m_quiet, &QTimer::timeout, this, [this] { bringUpToDate(false); });
    connect(&m_views, &EditorViews::currentChanged, this, &RecoveryController::viewShown);
    if (m_views.current())
        viewShown(m_views.current());
    // The worker tells on its own thread; this object hears of it on the window's, if still there
    // (the journal may outlive it).
    const QPointer<RecoveryController> self(this);
    m_journal.setListener([self](const RecoveryJournal::Event& event) {
        QMetaObject::invokeMethod(
            qApp,
            [self, event] {
                if (self)
                    self->journalEvent(event);
            },
            Qt::QueuedConnection);
    });
}

void RecoveryController::setIntervals(int quietMs, int longestMs)
{
    m_quietMs = quietMs;
    m_longestMs = longestMs;
}

void RecoveryController::viewShown(EditorView* view)
{
    if (view && !m_watched.contains(view)) {
        m_watched.insert(view);
        connect(view, &EditorView::aboutToEdit, this, [this, view](qint64 position, qint64 removed, qint64 inserted) {
            aboutToEdit(view, position, removed, inserted);
        });
        connect(view, &EditorView::insertionMade, this,
                [this, view](qint64 position, qint64 length) { insertionMade(view, position, length); });
        connect(view, &EditorView::changedUntold, this, [this, view] { changedUntold(view); });
        connect(view, &QObject::destroyed, this, [this, view] { m_watched.remove(view); });
    }
    // A switch or a close: the document left is written (or a closed one's record dropped) once
    // it is over; one pass however many switches come at once (a list of files opening).
    if (!m_passQueued) {
        m_passQueued = true;
        QTimer::singleShot(0, this, [this] {
            m_passQueued = false;
            bringUpToDate(false);
        });
    }
}

int RecoveryController::indexOfView(const EditorView* view) const
{
    if (view == m_views.current())
        return m_documents.isAdding() ? -1 : m_documents.currentIndex();
    for (int i = 0; i < m_documents.count(); ++i)
        if (m_views.keptView(m_documents.at(i).storeFile) == view)
            return i;
    return -1;
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

void RecoveryController::aboutToEdit(EditorView* view, qint64 position, qint64 removed, qint64 inserted)
{
    const int index = indexOfView(view);
    if (index < 0)
        return;
    const Document& document = m_documents.at(index);
    Tracked& tracked = m_tracked[document.storeFile];
    quint64& editedOrigin = m_editedOrigin[document.storeFile];
    const bool editedSinceOrigin = editedOrigin == document.origin.generation && editedOrigin != 0;
    // The first edit, or the first since the text was read or saved anew: the record begins on
    // the text as it is before this edit.
    if (tracked.key == 0 || tracked.origin != document.origin.generation)
        beginRecord(index, tracked, editedSinceOrigin);
    editedOrigin = document.origin.generation;
    // An insertion is taken once its bytes are in (insertionMade); a deletion while they are still
    // there.
    if (removed > 0)
        record(*view, tracked, position, removed, 0);
    if (removed > 0 || inserted > 0)
        scheduleCopy();
}

void RecoveryController::insertionMade(EditorView* view, qint64 position, qint64 length)
{
    const int index = indexOfView(view);
    if (index < 0)
        return;
    const auto it = m_tracked.find(m_documents.at(index).storeFile);
    if (it != m_tracked.end() && it->key != 0)
        record(*view, *it, position, 0, length);
}

void RecoveryController::changedUntold(EditorView* view)
{
    const int index = indexOfView(view);
    if (index < 0)
        return;
    // Its record starts afresh on a copy of the text at the next pause.
    const auto it = m_tracked.find(m_documents.at(index).storeFile);
    if (it != m_tracked.end())
        it->stale = true;
    scheduleCopy();
}

void RecoveryController::record(const EditorView& view, Tracked& tracked, qint64 position, qint64 removed,
                                qint64 inserted)
{
    // The bytes removed (still in the text) or inserted (already in it), and those either side:
    // read at once for a small edit (a key, one replacement), left in place for a large one.
    constexpr qint64 Context = TextChecksum::Context;
    constexpr qint64 SmallEdit = 4096;
    const qint64 middle = removed + inserted;
    const qint64 from = std::max<qint64>(0, position - Context);
    QByteArray around;
    QByteArrayView before, bytes, after;
    if (middle <= SmallEdit) {
        around = view.textRange(from, position + middle + Context);
        before = QByteArrayView(around).first(position - from);
        bytes = QByteArrayView(around).sliced(position - from, middle);
        after = QByteArrayView(around).sliced(position - from + middle);
    } else {
        around = view.textRange(from, position) + view.textRange(position + middle, position + middle + Context);
        before = QByteArrayView(around).first(position - from);
        after = QByteArrayView(around).sliced(position - from);
    }
    if (removed > 0) {
        if (middle > SmallEdit)
            bytes = view.rangeView(position, removed);
        tracked.change += TextChecksum::change(before, bytes, {}, after);
        tracked.length -= removed;
        tracked.entries.add(position, removed, {}, tracked.length, tracked.change);
    } else {
        QByteArray large;
        if (middle > SmallEdit) {
            large = view.textRange(position, position + inserted);
            bytes = large;
        }
        tracked.change += TextChecksum::change(before, {}, bytes, after);
        tracked.length += inserted;
        tracked.entries.add(position, 0, bytes, tracked.length, tracked.change);
    }
}

void RecoveryController::scheduleCopy()
{
    if (!m_pendingSince.isValid())
        m_pendingSince.start();
    const qint64 left = m_longestMs - m_pendingSince.elapsed();
    m_quiet.start(int(std::clamp<qint64>(left, 0, m_quietMs)));
}

RecoveryBase RecoveryController::baseOf(int index, bool editedSinceOrigin) const
{
    const Document& document = m_documents.at(index);
    const EditorView* view = viewOf(index);
    RecoveryBase base;
    base.length = view ? view->textLength() : QFileInfo(document.storeFile).size();
    if (base.length == 0)
        return base;
    // The file itself, while nothing has changed the text since it was read or saved and nothing
    // has changed the file; otherwise a copy of the text.
    const Document::FileOrigin& origin = document.origin;
    const bool unchanged = !editedSinceOrigin && !document.modified && view && !view->modifiedFlag();
    if (unchanged && origin.lineEnds && document.hasFile() && !document.notLoaded() &&
        platform::fileState(document.path) == origin.state) {
        base.kind = RecoveryBase::Kind::File;
        base.file = document.path;
        base.fileState = origin.state;
        base.encoding = document.encoding;
        base.lineEnds = *origin.lineEnds;
        return base;
    }
    base.kind = RecoveryBase::Kind::Text;
    base.text = textOf(index);
    base.length = base.text.size();
    return base;
}

QByteArray RecoveryController::textOf(int index) const
{
    if (const EditorView* view = viewOf(index))
        return view->bytes();
    // A document without a view of its own keeps its text in its store file.
    return readFileBytes(m_documents.at(index).storeFile);
}

void RecoveryController::beginRecord(int index, Tracked& tracked, bool editedSinceOrigin)
{
    // A record the journal has is begun again under its key: it keeps what it holds until the new
    // base is on disk.
    const quint64 key = tracked.key != 0 && !tracked.base ? tracked.key : m_journal.newKey();
    tracked = Tracked();
    tracked.key = key;
    tracked.origin = m_documents.at(index).origin.generation;
    tracked.base = baseOf(index, editedSinceOrigin);
    tracked.length = tracked.base->length;
}

RecoveryRecord RecoveryController::recordOf(int index, const Tracked& tracked) const
{
    const Document& document = m_documents.at(index);
    RecoveryRecord record;
    record.key = tracked.key;
    record.caption = document.caption;
    record.path = document.path;
    record.encoding = document.encoding;
    record.rawBytesNote = document.rawBytesNote;
    record.nonAsciiAdded = document.nonAsciiAdded;
    record.fileState = document.origin.state;
    const EditorView* view = index == m_documents.currentIndex() ? viewOf(index) : nullptr;
    record.caret = view ? view->selStart() : document.caret;
    record.written = QDateTime::currentDateTime();
    record.length = tracked.length;
    record.checksumChange = tracked.change;
    return record;
}

void RecoveryController::reopen(const RecoveryRecord& record)
{
    RecoveryJournal::RebuiltText text = m_journal.openText(record);
    if (!text.device)
        throw CommandError(text.problem);
    // Checked as it comes in, in the one pass that reads it.
    auto checksum = std::make_shared<TextChecksum>();
    auto checking = std::make_unique<ChecksummingDevice>(std::move(text.device), checksum);
    checking->open(QIODevice::ReadOnly | QIODevice::Unbuffered);
    QString failure;
    m_documents.stashCurrentDocument();
    m_documents.beginDocument(record.caption.isEmpty() ? UntitledName : record.caption, record.path);
    EditorView& view = *m_views.current();
    {
        const QMetaObject::Connection failed =
            connect(&view, &EditorView::loadFailed, this, [&failure](const QString& reason) { failure = reason; });
        try {
            m_views.loadDevice(std::move(checking), text.length);
            view.finishLoading();
        } catch (const CommandError& e) {
            failure = e.message();
        }
        disconnect(failed);
    }
    if (failure.isEmpty())
        failure = text.verdict(*checksum);
    m_documents.completeDocument();
    if (!failure.isEmpty()) {
        // What did not come out as it was kept is not shown as the user's work.
        try {
            m_documents.closeDocument([](const QString&) { return Answer::Yes; });
        } catch (const QuietEnd&) {
        }
        throw CommandError(failure);
    }
    const int index = m_documents.currentIndex();
    m_documents.setCurrentEncoding(record.encoding, record.rawBytesNote);
    m_documents.setNonAsciiAdded(index, record.nonAsciiAdded);
    // Saving it compares its file with the state the record kept, not with the file now.
    m_documents.setFileOrigin(index, record.fileState, std::nullopt);
    m_documents.setCurrentModified(true);
    view.setCaret(qBound(qint64(0), record.caret, view.textLength()));
    m_documents.refreshTabPictures();
    m_documents.publishHints();
    m_documents.showTitle();
    // The record on disk holds this text already; the edits to come go on in it.
    Tracked& tracked = m_tracked[m_documents.current().storeFile];
    tracked = Tracked();
    tracked.key = record.key;
    tracked.length = record.length;
    tracked.change = record.checksumChange;
    tracked.origin = m_documents.current().origin.generation;
}

void RecoveryController::bringUpToDate(bool wait)
{
    m_quiet.stop();
    m_pendingSince.invalidate();
    if (!m_journal.isActive() && !m_journal.start())
        failing(QStringLiteral("The folder cannot be made or locked."));
    const bool active = m_journal.isActive();
    // Insertions not yet told are taken first.
    for (int i = 0; i < m_documents.count(); ++i)
        if (EditorView* view = viewOf(i))
            view->settleEdits();
    QSet<QString> open;
    for (int i = 0; i < m_documents.count(); ++i) {
        const Document& document = m_documents.at(i);
        if (document.storeFile.isEmpty())
            continue;
        open.insert(document.storeFile);
        if (!isModified(i)) {
            if (const auto it = m_tracked.constFind(document.storeFile); it != m_tracked.cend()) {
                if (!it->base)
                    m_journal.drop(it->key);
                m_tracked.erase(it);
            }
            continue;
        }
        Tracked& tracked = m_tracked[document.storeFile];
        const EditorView* view = viewOf(i);
        // A document modified without an edit seen here (by a command, or before recovery began),
        // or one whose text no longer has the length its edits give: a copy of its text now.
        const bool lengthDiffers = tracked.key != 0 && view && view->textLength() != tracked.length;
        if (lengthDiffers)
            qWarning("Quillet: an edit of \"%s\" was missed; its recovery copy starts afresh",
                     qPrintable(document.caption));
        if (tracked.key == 0 || lengthDiffers || tracked.stale) {
            try {
                beginRecord(i, tracked, true);
            } catch (const CommandError& e) {
                failing(e.message());
                continue;
            }
        }
        if (!active)
            continue;
        if (tracked.base) {
            m_journal.begin(recordOf(i, tracked), std::move(*tracked.base), tracked.entries.take());
            tracked.base.reset();
        } else if (!tracked.entries.isEmpty()) {
            m_journal.append(recordOf(i, tracked), tracked.entries.take());
        }
    }
    // Closed documents.
    for (auto it = m_tracked.begin(); it != m_tracked.end();) {
        if (open.contains(it.key())) {
            ++it;
            continue;
        }
        if (!it->base)
            m_journal.drop(it->key);
        m_editedOrigin.remove(it.key());
        it = m_tracked.erase(it);
    }
    if (wait)
        m_journal.waitUntilIdle();
}

void RecoveryController::keepApartFromFiles()
{
    bringUpToDate(false);
    m_journal.waitUntilIdle(true);
}

void RecoveryController::dropUnmodified()
{
    for (int i = 0; i < m_documents.count(); ++i) {
        const QString& storeFile = m_documents.at(i).storeFile;
        const auto it = m_tracked.constFind(storeFile);
        if (it == m_tracked.cend() || isModified(i))
            continue;
        if (!it->base)
            m_journal.drop(it->key);
        m_tracked.erase(it);
    }
}

bool RecoveryController::unsavedWorkKept() const
{
    if (!m_journal.allWritten())
        return false;
    return std::none_of(m_tracked.cbegin(), m_tracked.cend(),
                        [](const Tracked& tracked) { return tracked.base || !tracked.entries.isEmpty(); });
}

bool RecoveryController::keepInSecondFolder()
{
    if (!m_journal.moveToSecondFolder())
        return false;
    // Whole copies: nothing of what the first folder held is left to build on.
    for (int i = 0; i < m_documents.count(); ++i) {
        const Document& document = m_documents.at(i);
        if (document.storeFile.isEmpty())
            continue;
        if (!isModified(i)) {
            m_tracked.remove(document.storeFile);
            continue;
        }
        Tracked& tracked = m_tracked[document.storeFile];
        tracked = Tracked();
        tracked.key = m_journal.newKey();
        tracked.origin = document.origin.generation;
        try {
            tracked.base = baseOf(i, true);
        } catch (const CommandError&) {
            return false;
        }
        tracked.length = tracked.base->length;
        m_journal.begin(recordOf(i, tracked), std::move(*tracked.base));
        tracked.base.reset();
    }
    m_journal.waitUntilIdle();
    return m_journal.allWritten();
}

void RecoveryController::failing(const QString& reason)
{
    if (m_failing)
        return;
    m_failing = true;
    emit copiesFailing(reason);
}

void RecoveryController::journalEvent(const RecoveryJournal::Event& event)
{
    switch (event.kind) {
    case RecoveryJournal::Event::Kind::WriteFailed:
        failing(event.reason);
        break;
    case RecoveryJournal::Event::Kind::AllWritten:
        if (m_failing) {
            m_failing = false;
            emit copiesWritten();
        }
        break;
    case RecoveryJournal::Event::Kind::BaseLost:
        // The file changed before the journal could copy it: the text as it is now instead.
        for (int i = 0; i < m_documents.count(); ++i) {
            const auto it = m_tracked.find(m_documents.at(i).storeFile);
            if (it == m_tracked.end() || it->key != event.key)
                continue;
            try {
                it->stale = true;
                bringUpToDate(false);
            } catch (const CommandError& e) {
                failing(e.message());
            }
            break;
        }
        break;
    }
}

void RecoveryController::finish()
{
    m_quiet.stop();
    m_tracked.clear();
    m_journal.finish();
}
