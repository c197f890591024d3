#include "editor/editorview.h"

#include "editor/editoraccessible.h"

#include "documents/textlines.h"

#include "core/commanderror.h"

#include <Qsci/qscicommand.h>
#include <Qsci/qscicommandset.h>

#include <QApplication>
#include <QDropEvent>
#include <QElapsedTimer>
#include <QIODevice>
#include <QKeyEvent>
#include <QMimeData>
#include <QTimer>
#include <QUrl>

#include <cstring>
#include <utility>

EditorView::EditorView(QWidget* parent) : QsciScintilla(parent)
{
    m_caretPeriod = static_cast<int>(SendScintilla(SCI_GETCARETPERIOD));
    // A plain-text view: no margins, no folding, no styling work, so huge files stay cheap.
    for (int margin = 0; margin < 5; ++margin)
        SendScintilla(SCI_SETMARGINWIDTHN, static_cast<unsigned long>(margin), 0L);
    SendScintilla(SCI_SETMARGINLEFT, 0UL, 2L);
    void* fresh = createBuffer();
    showBuffer(fresh);
    setWrapMode(WrapNone);
    SendScintilla(SCI_SETSCROLLWIDTHTRACKING, 1L);
    SendScintilla(SCI_SETSCROLLWIDTH, 1L);
    setTabIndents(false);
    setAutoIndent(false);
    // Only the notices sent before a change are asked for: the notice of a change made reaches the
    // editor's own accessibility code, which counts the characters from the start of the text to
    // the change (a third of a second per key at the end of 50 MB). textChanged() and userEdited()
    // still come for every insertion and deletion, undo and redo included, just before it is made.
    SendScintilla(SCI_SETMODEVENTMASK, static_cast<long>(SC_MOD_BEFOREINSERT | SC_MOD_BEFOREDELETE));
    connect(this, &QsciScintillaBase::SCN_MODIFIED, this,
            [this](int position, int type, const char*, int length, int, int, int, int, int, int) {
                if (!(type & (SC_MOD_BEFOREINSERT | SC_MOD_BEFOREDELETE)))
                    return;
                // The insertion told last is in the text by now.
                settleEdits();
                if (type & SC_MOD_BEFOREINSERT) {
                    emit aboutToEdit(position, 0, length);
                    m_pendingInsertion = {position, length};
                } else {
                    emit aboutToEdit(position, length, 0);
                }
                emit textChanged();
                if (!(type & (SC_PERFORMED_UNDO | SC_PERFORMED_REDO)))
                    emit userEdited();
            });
    // Screen readers get an interface of ours, whose answers cost what they return.
    EditorAccessible::install();
    connect(this, &QsciScintillaBase::SCN_UPDATEUI, this, [this](int updated) {
        if (!(updated & (SC_UPDATE_CONTENT | SC_UPDATE_SELECTION)))
            return;
        updateCaretBlink();
        EditorAccessible::notifyCaret(this);
    });
    // Nothing is styled, but the editor asks for styling before each paint and, while the text is
    // not marked styled, takes every laid-out line as possibly changed: each paint then compared
    // the caret's whole line with its layout (a tenth of a second on a line of 20 MB). The text
    // so far is enough: a paint does not wait for a load still coming in.
    connect(this, &QsciScintillaBase::SCN_STYLENEEDED, this, [this](int) {
        SendScintilla(SCI_STARTSTYLING, static_cast<unsigned long>(SendScintilla(SCI_GETLENGTH)), 0L);
    });
    // Wrapping lays out the lines on screen when they are painted (the rest later): only then is
    // the caret's place known, so a caret placed before the paint is brought into view after it.
    connect(this, &QsciScintillaBase::SCN_PAINTED, this, [this] {
        if (!m_scrollCaretAfterPaint)
            return;
        m_scrollCaretAfterPaint = false;
        SendScintilla(SCI_SCROLLCARET);
    });
}

namespace {
QStringList localFiles(const QMimeData* mime)
{
    QStringList paths;
    if (mime && mime->hasUrls())
        for (const QUrl& url : mime->urls())
            if (url.isLocalFile())
                paths.append(url.toLocalFile());
    return paths;
}
} // namespace

bool EditorView::answerFileDrag(QDragMoveEvent* event) const
{
    if (localFiles(event->mimeData()).isEmpty())
        return false;
    if (m_acceptFileDrops)
        event->acceptProposedAction();
    else
        event->ignore();
    return true;
}

void EditorView::dragEnterEvent(QDragEnterEvent* event)
{
    if (!answerFileDrag(event))
        QsciScintilla::dragEnterEvent(event);
}

void EditorView::dragMoveEvent(QDragMoveEvent* event)
{
    if (!answerFileDrag(event))
        QsciScintilla::dragMoveEvent(event);
}

void EditorView::dropEvent(QDropEvent* event)
{
    const QStringList paths = localFiles(event->mimeData());
    if (!paths.isEmpty()) {
        if (m_acceptFileDrops) {
            event->acceptProposedAction();
            emit filesDropped(paths);
        }
        return;
    }
    QsciScintilla::dropEvent(event);
}

EditorView::~EditorView()
{
    if (m_load)
        qApp->removeEventFilter(this);
}

void* EditorView::createBuffer() const
{
    // No style bytes per character (halves the memory of a document); large-text indexes so
    // documents over 2 GiB work.
    const long options = SC_DOCUMENTOPTION_STYLES_NONE | SC_DOCUMENTOPTION_TEXT_LARGE;
    return reinterpret_cast<void*>(SendScintilla(SCI_CREATEDOCUMENT, 0UL, options));
}

void EditorView::prepareBuffer()
{
    SendScintilla(SCI_SETCODEPAGE, static_cast<long>(SC_CP_UTF8));
    SendScintilla(SCI_SETEOLMODE, static_cast<long>(SC_EOL_CRLF));
}

void EditorView::settleEdits()
{
    if (m_pendingInsertion.length == 0)
        return;
    const PendingInsertion made = std::exchange(m_pendingInsertion, PendingInsertion());
    emit insertionMade(made.position, made.length);
}

void* EditorView::takeBuffer()
{
    finishLoading();
    settleEdits();
    void* shown = SendScintillaPtrResult(SCI_GETDOCPOINTER);
    SendScintilla(SCI_ADDREFDOCUMENT, 0UL, shown);
    void* fresh = createBuffer();
    showBuffer(fresh);
    return shown;
}

void EditorView::showBuffer(void* buffer)
{
    finishLoading();
    settleEdits();
    // Attaching a buffer while wrapping would lay out every line before returning; attached
    // unwrapped, the buffer is wrapped afterwards, the shown screen first.
    const long wrap = SendScintilla(SCI_GETWRAPMODE);
    SendScintilla(SCI_SETWRAPMODE, static_cast<long>(SC_WRAP_NONE));
    SendScintilla(SCI_SETDOCPOINTER, 0UL, buffer);
    SendScintilla(SCI_SETWRAPMODE, wrap);
    releaseBuffer(buffer); // the view now holds its own reference
    prepareBuffer();
    updateCaretBlink();
}

void EditorView::releaseBuffer(void* buffer)
{
    if (buffer)
        SendScintilla(SCI_RELEASEDOCUMENT, 0UL, buffer);
}

qint64 EditorView::textLength() const
{
    finishLoading();
    return SendScintilla(SCI_GETLENGTH);
}

QByteArray EditorView::bytes() const
{
    QByteArray copy;
    copyBytes(copy);
    return copy;
}

void EditorView::copyBytes(QByteArray& into) const
{
    finishLoading();
    const qint64 length = textLength();
    // Reused when no one else holds it: a fresh block would be faulted in page by page, which on
    // a large text costs more than the copy.
    if (!into.isDetached() || into.capacity() < length) {
        into = QByteArray();
        // Room to grow, so the next copy after some typing fits as well.
        into.reserve(length + length / 16 + 4096);
    }
    into.resize(length);
#if Q_PROCESSOR_WORDSIZE == 8 && !defined(Q_OS_WIN)
    // Two copies, either side of the buffer's gap: one pointer to the whole text would first close
    // the gap, moving up to all of it, on every copy taken while typing.
    const qint64 gap = qBound(qint64(0), qint64(SendScintilla(SCI_GETGAPPOSITION)), length);
    const auto range = [this](qint64 from, qint64 size) {
        return reinterpret_cast<const char*>(SendScintilla(SCI_GETRANGEPOINTER, from, size));
    };
    if (gap > 0)
        std::memcpy(into.data(), range(0, gap), gap);
    if (gap < length)
        std::memcpy(into.data() + gap, range(gap, length - gap), length - gap);
#else
    // Where a long cannot hold a pointer, only the character pointer is safe to ask for.
    if (length > 0)
        std::memcpy(into.data(), SendScintillaPtrResult(SCI_GETCHARACTERPOINTER), length);
#endif
}

QByteArray EditorView::textRange(qint64 from, qint64 to) const
{
    finishLoading();
    const qint64 length = SendScintilla(SCI_GETLENGTH);
    from = qBound<qint64>(0, from, length);
    to = qBound<qint64>(from, to, length);
    QByteArray range(to - from + 1, Qt::Uninitialized);
    SendScintilla(SCI_GETTEXTRANGE, static_cast<long>(from), static_cast<long>(to), range.data());
    range.chop(1);
    return range;
}

QByteArrayView EditorView::rangeView(qint64 from, qint64 length) const
{
    finishLoading();
    if (length <= 0)
        return {};
    return QByteArrayView(reinterpret_cast<const char*>(SendScintilla(SCI_GETRANGEPOINTER, from, length)), length);
}

QByteArrayView EditorView::textView() const
{
    const qint64 length = textLength();
    if (length == 0)
        return {};
    return QByteArrayView(static_cast<const char*>(SendScintillaPtrResult(SCI_GETCHARACTERPOINTER)), length);
}

bool EditorView::writeTo(QIODevice& device) const
{
    const qint64 length = textLength();
    if (length == 0)
        return true;
    const char* text = static_cast<const char*>(SendScintillaPtrResult(SCI_GETCHARACTERPOINTER));
    qint64 written = 0;
    while (written < length) {
        const qint64 n = device.write(text + written, length - written);
        if (n <= 0)
            return false;
        written += n;
    }
    return true;
}

namespace {

// While a whole text is put in, the editor neither wraps line by line nor reports each piece:
// both cost far more than the copy itself on large files. Wrapping resumes afterwards, screen by
// screen as the text is shown.
class BulkLoad
{
public:
    explicit BulkLoad(const QsciScintillaBase& editor, bool fromStart = true)
        : m_editor(editor), m_fromStart(fromStart), m_wrap(editor.SendScintilla(QsciScintillaBase::SCI_GETWRAPMODE)),
          m_events(editor.SendScintilla(QsciScintillaBase::SCI_GETMODEVENTMASK))
    {
        m_editor.SendScintilla(QsciScintillaBase::SCI_SETWRAPMODE, static_cast<long>(QsciScintillaBase::SC_WRAP_NONE));
        m_editor.SendScintilla(QsciScintillaBase::SCI_SETMODEVENTMASK, 0L);
        m_editor.SendScintilla(QsciScintillaBase::SCI_SETUNDOCOLLECTION, 0L);
    }
    ~BulkLoad()
    {
        m_editor.SendScintilla(QsciScintillaBase::SCI_SETUNDOCOLLECTION, 1L);
        m_editor.SendScintilla(QsciScintillaBase::SCI_EMPTYUNDOBUFFER);
        // The caret goes to the start without scrolling to it: scrolling would lay out the first
        // line now (seconds for a line of some megabytes), and again once shown. A later slice of
        // a load leaves the caret and the screen where they are.
        if (m_fromStart) {
            m_editor.SendScintilla(QsciScintillaBase::SCI_SETEMPTYSELECTION, 0UL);
            m_editor.SendScintilla(QsciScintillaBase::SCI_SETFIRSTVISIBLELINE, 0UL);
            m_editor.SendScintilla(QsciScintillaBase::SCI_SETXOFFSET, 0UL);
        }
        m_editor.SendScintilla(QsciScintillaBase::SCI_SETMODEVENTMASK, m_events);
        m_editor.SendScintilla(QsciScintillaBase::SCI_SETWRAPMODE, m_wrap);
    }
    BulkLoad(const BulkLoad&) = delete;
    BulkLoad& operator=(const BulkLoad&) = delete;

private:
    const QsciScintillaBase& m_editor;
    bool m_fromStart;
    long m_wrap;
    long m_events;
};

} // namespace

void EditorView::setBytes(const char* bytes, qint64 size)
{
    finishLoading();
    if (size > TextCapacity)
        throw CommandError(QStringLiteral("The text is too large for the editor (%1 bytes).").arg(size));
    settleEdits();
    {
        BulkLoad bulk(*this);
        SendScintilla(SCI_CLEARALL);
        if (size > 0) {
            SendScintilla(SCI_ALLOCATE, static_cast<unsigned long>(size + 1));
            SendScintilla(SCI_APPENDTEXT, static_cast<uintptr_t>(size), bytes);
        }
    }
    updateCaretBlink();
}

namespace {
// A load reads and appends its file in pieces of this size; a file of a few pieces comes in at
// once.
constexpr qint64 LoadChunk = 2 << 20;
constexpr qint64 SlicedLoadSize = 4 * LoadChunk;

// Whether `piece` holds lines enough for a few screens, so the end of it is off the screen.
bool fillsScreens(QByteArrayView piece)
{
    constexpr int Lines = 1000;
    const char* at = piece.data();
    const char* const end = at + piece.size();
    for (int found = 0; found < Lines; ++found) {
        at = static_cast<const char*>(std::memchr(at, '\n', static_cast<size_t>(end - at)));
        if (!at)
            return false;
        ++at;
    }
    return true;
}
} // namespace

struct EditorView::PendingLoad
{
    std::unique_ptr<QIODevice> device;
    qint64 total = 0;
    qint64 room = 0; // room still to be made, for the whole text and the first edits
    bool appending = false;
};

void EditorView::loadInSlices(std::unique_ptr<QIODevice> device, qint64 size)
{
    finishLoading();
    settleEdits();
    {
        BulkLoad bulk(*this);
        SendScintilla(SCI_CLEARALL);
    }
    m_load = std::make_unique<PendingLoad>();
    m_load->device = std::move(device);
    // Growing piece by piece would copy the text again and again: room for all of it is made
    // once, after the first piece, in a slice of its own (the memory is cleared, which on a large
    // file costs as much as a slice).
    if (size > 0)
        m_load->room = size + 1 + qMin<qint64>(size / 8, 64 << 20) + 4096;
    // Any input finishes the load before it acts, wherever it goes: a key in the editor, a menu,
    // a dialog, a tab.
    qApp->installEventFilter(this);
    // The first slice is one piece, so the window shows the start at once.
    if (const QString failure = appendSlices(size > SlicedLoadSize ? 0 : -1); !failure.isEmpty())
        throw CommandError(failure);
}

QString EditorView::appendSlices(int budgetMs)
{
    PendingLoad& load = *m_load;
    if (load.room > 0 && (load.total > 0 || budgetMs < 0)) {
        SendScintilla(SCI_ALLOCATE, static_cast<unsigned long>(load.room));
        load.room = 0;
        if (budgetMs >= 0) {
            QTimer::singleShot(0, this, &EditorView::continueLoading);
            return {};
        }
    }
    load.appending = true;
    // The loaded text is the saved state: a slice that comes after the save point was set must
    // not make the document look changed.
    const bool clean = SendScintilla(SCI_GETMODIFY) == 0;
    QString failure;
    bool done = false;
    {
        BulkLoad bulk(*this, load.total == 0);
        QElapsedTimer clock;
        clock.start();
        QByteArray chunk(LoadChunk, Qt::Uninitialized);
        do {
            const qint64 n = load.device->read(chunk.data(), LoadChunk);
            if (n < 0) {
                failure = QStringLiteral("Cannot read the file.\n%1").arg(load.device->errorString());
                break;
            }
            if (n == 0) {
                done = true;
                break;
            }
            load.total += n;
            if (load.total > TextCapacity) {
                failure = QStringLiteral("The text is too large for the editor.");
                break;
            }
            SendScintilla(SCI_APPENDTEXT, static_cast<uintptr_t>(n), chunk.constData());
            if (budgetMs == 0 && load.total == n && !fillsScreens(QByteArrayView(chunk.constData(), n))) {
                // The line still coming in would be on screen, laid out again at every paint
                // while it grows (seconds each on a line of megabytes): it comes in at once.
                budgetMs = -1;
                SendScintilla(SCI_ALLOCATE, static_cast<unsigned long>(std::exchange(load.room, 0)));
            }
        } while (budgetMs < 0 || clock.elapsed() < budgetMs);
    }
    if (clean)
        SendScintilla(SCI_SETSAVEPOINT);
    load.appending = false;
    if (done || !failure.isEmpty()) {
        endLoad();
    } else {
        QTimer::singleShot(0, this, &EditorView::continueLoading);
    }
    return failure;
}

void EditorView::continueLoading()
{
    if (!m_load || m_load->appending)
        return;
    constexpr int SliceMs = 12;
    if (const QString failure = appendSlices(SliceMs); !failure.isEmpty())
        emit loadFailed(failure);
}

void EditorView::finishLoading() const
{
    if (!m_load || m_load->appending)
        return;
    auto* self = const_cast<EditorView*>(this);
    if (const QString failure = self->appendSlices(-1); !failure.isEmpty())
        emit self->loadFailed(failure);
}

void EditorView::endLoad()
{
    m_load.reset();
    qApp->removeEventFilter(this);
    updateCaretBlink();
}

bool EditorView::eventFilter(QObject* watched, QEvent* event)
{
    if (m_load) {
        switch (event->type()) {
        case QEvent::KeyPress:
        case QEvent::ShortcutOverride:
        case QEvent::InputMethod:
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonDblClick:
        case QEvent::ContextMenu:
        case QEvent::Drop:
        case QEvent::Close:
            finishLoading();
            break;
        default:
            break;
        }
    }
    return QsciScintilla::eventFilter(watched, event);
}

void EditorView::appendLine(const QByteArray& line)
{
    const qint64 length = textLength();
    const char last =
        length > 0 ? static_cast<char>(SendScintilla(SCI_GETCHARAT, static_cast<unsigned long>(length - 1))) : '\0';
    insertBytes(length, lineToAppend(last, line));
}

void EditorView::insertBytes(qint64 pos, QByteArrayView bytes)
{
    finishLoading();
    SendScintilla(SCI_SETTARGETRANGE, static_cast<unsigned long>(pos), static_cast<long>(pos));
    // The editor takes no null pointer, not even for nothing.
    SendScintilla(SCI_REPLACETARGET, static_cast<uintptr_t>(bytes.size()), bytes.isNull() ? "" : bytes.data());
}

void EditorView::replaceRange(qint64 from, qint64 to, QByteArrayView bytes)
{
    finishLoading();
    // A large replacement would be re-wrapped on the spot and reported piece by piece; both wait
    // until it is in, and it stays one step for Undo.
    const long wrap = SendScintilla(SCI_GETWRAPMODE);
    SendScintilla(SCI_SETWRAPMODE, static_cast<long>(SC_WRAP_NONE));
    SendScintilla(SCI_BEGINUNDOACTION);
    SendScintilla(SCI_SETTARGETRANGE, static_cast<unsigned long>(from), static_cast<long>(to));
    // The editor takes no null pointer, not even for nothing.
    SendScintilla(SCI_REPLACETARGET, static_cast<uintptr_t>(bytes.size()), bytes.isNull() ? "" : bytes.data());
    SendScintilla(SCI_ENDUNDOACTION);
    SendScintilla(SCI_SETWRAPMODE, wrap);
    setCaret(from + bytes.size());
}

void EditorView::clearText()
{
    setBytes(nullptr, 0);
}

qint64 EditorView::selStart() const
{
    return SendScintilla(SCI_GETSELECTIONSTART);
}

qint64 EditorView::selLength() const
{
    return SendScintilla(SCI_GETSELECTIONEND) - SendScintilla(SCI_GETSELECTIONSTART);
}

void EditorView::setCaret(qint64 pos)
{
    pos = qBound<qint64>(0, pos, textLength());
    SendScintilla(SCI_SETEMPTYSELECTION, static_cast<unsigned long>(pos));
    updateCaretBlink();
    scrollCaretIntoView();
}

void EditorView::updateCaretBlink()
{
    // Each blink redraws the caret's line, which on a line of megabytes costs a tenth of a core
    // for as long as the document is shown: there the caret stays on instead.
    const qint64 line = lineFromPosition(SendScintilla(SCI_GETCURRENTPOS));
    const bool longLine = SendScintilla(SCI_LINELENGTH, static_cast<unsigned long>(line)) > BlinkingLineLimit;
    const long period = longLine ? 0L : static_cast<long>(m_caretPeriod);
    if (SendScintilla(SCI_GETCARETPERIOD) != period)
        SendScintilla(SCI_SETCARETPERIOD, static_cast<unsigned long>(period));
}

void EditorView::scrollCaretIntoView()
{
    SendScintilla(SCI_SCROLLCARET);
    m_scrollCaretAfterPaint = true;
    viewport()->update();
}

qint64 EditorView::lineFromPosition(qint64 pos) const
{
    return SendScintilla(SCI_LINEFROMPOSITION, static_cast<unsigned long>(pos));
}

int EditorView::caretPixelX() const
{
    return static_cast<int>(
        SendScintilla(SCI_POINTXFROMPOSITION, 0UL, static_cast<long>(SendScintilla(SCI_GETCURRENTPOS))));
}

bool EditorView::overtype() const
{
    return SendScintilla(SCI_GETOVERTYPE) != 0;
}

bool EditorView::modifiedFlag() const
{
    return SendScintilla(SCI_GETMODIFY) != 0;
}

void EditorView::clearModifiedFlag()
{
    SendScintilla(SCI_SETSAVEPOINT);
}

bool EditorView::wordWrap() const
{
    return wrapMode() != WrapNone;
}

void EditorView::setWordWrap(bool on)
{
    setWrapMode(on ? WrapWord : WrapNone);
    scrollCaretIntoView();
    // Wrapping would otherwise keep the layout of every line of the document (about ten bytes
    // per byte of text); the lines on screen are enough.
    SendScintilla(SCI_SETLAYOUTCACHE, static_cast<long>(SC_CACHE_PAGE));
}

void EditorView::setScrollBarsBoth(bool both)
{
    m_scrollBarsBoth = both;
    SendScintilla(SCI_SETHSCROLLBAR, both ? 1L : 0L);
}

void EditorView::removeKeyBindings(const QList<int>& keys)
{
    for (QsciCommand* command : standardCommands()->commands()) {
        if (command->key() && keys.contains(command->key()))
            command->setKey(0);
        if (command->alternateKey() && keys.contains(command->alternateKey()))
            command->setAlternateKey(0);
    }
}

void EditorView::keyPressEvent(QKeyEvent* event)
{
    emit keyDown(event);
    QsciScintilla::keyPressEvent(event);
}
