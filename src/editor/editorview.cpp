#include "editor/editorview.h"

#include "editor/editoraccessible.h"
#include "editor/scintillameasuring.h"

#include "documents/textlines.h"

#include "core/commanderror.h"

#include <QApplication>
#include <QColor>
#include <QDropEvent>
#include <QElapsedTimer>
#include <QIODevice>
#include <QKeyEvent>
#include <QMimeData>
#include <QTimer>
#include <QUrl>

#include <cstring>
#include <utility>

EditorView::EditorView(QWidget* parent) : ScintillaEditBase(parent)
{
    m_caretPeriod = static_cast<int>(send(SCI_GETCARETPERIOD));
    // A plain-text view: no margins, no folding, no styling work, so huge files stay cheap.
    for (int margin = 0; margin < 5; ++margin)
        send(SCI_SETMARGINWIDTHN, margin, 0);
    send(SCI_SETMARGINLEFT, 0, 2);
    // Text of a monospaced font is measured by character widths, not by laying it out: Scintilla
    // does so for pieces of plain ASCII, our table of widths for the rest.
    send(SCI_STYLESETCHECKMONOSPACED, STYLE_DEFAULT, 1);
    installMonospaceMeasuring();
    m_textFont = font();
    applyStyle();
    applySelectionColours();
    void* fresh = createBuffer();
    showBuffer(fresh);
    send(SCI_SETWRAPMODE, SC_WRAP_NONE);
    send(SCI_SETSCROLLWIDTHTRACKING, 1);
    send(SCI_SETSCROLLWIDTH, 1);
    // textChanged() and userEdited() come for every insertion and deletion, undo and redo
    // included, just before it is made; after it, the text is marked styled again (see below).
    send(SCI_SETMODEVENTMASK, EditEvents);
    connect(this, &ScintillaEditBase::notify, this, &EditorView::notified);
    // Screen readers get an interface of ours, whose answers cost what they return.
    EditorAccessible::install();
}

void EditorView::notified(Scintilla::NotificationData* notice)
{
    const auto& n = *reinterpret_cast<const SCNotification*>(notice);
    switch (n.nmhdr.code) {
    case SCN_MODIFIED: {
        if (n.modificationType & (SC_MOD_INSERTTEXT | SC_MOD_DELETETEXT)) {
            // Nothing is styled; a change marks the text unstyled from there on, and the next
            // paint's request to style it would make every laid-out line be compared with the
            // text again (a line of megabytes at every key).
            markStyled();
            return;
        }
        if (!(n.modificationType & (SC_MOD_BEFOREINSERT | SC_MOD_BEFOREDELETE)))
            return;
        // The insertion told last is in the text by now.
        settleEdits();
        if (n.modificationType & SC_MOD_BEFOREINSERT) {
            emit aboutToEdit(n.position, 0, n.length);
            m_pendingInsertion = {n.position, n.length};
        } else {
            emit aboutToEdit(n.position, n.length, 0);
        }
        emit textChanged();
        if (!(n.modificationType & (SC_PERFORMED_UNDO | SC_PERFORMED_REDO)))
            emit userEdited();
        return;
    }
    case SCN_UPDATEUI:
        if (!(n.updated & (SC_UPDATE_CONTENT | SC_UPDATE_SELECTION)))
            return;
        updateCaretBlink();
        noticeSelection();
        EditorAccessible::notifyCaret(this);
        return;
    case SCN_STYLENEEDED:
        // Nothing is styled, but the editor asks for styling before each paint and, while the
        // text is not marked styled, takes every laid-out line as possibly changed: each paint
        // then compared the caret's whole line with its layout (a tenth of a second on a line of
        // 20 MB). The text so far is enough: a paint does not wait for a load still coming in.
        markStyled();
        return;
    case SCN_PAINTED:
        // Wrapping lays out the lines on screen when they are painted (the rest later): only then
        // is the caret's place known, so a caret placed before the paint is brought into view
        // after it.
        if (!m_scrollCaretAfterPaint)
            return;
        m_scrollCaretAfterPaint = false;
        send(SCI_SCROLLCARET);
        return;
    default:
        return;
    }
}

namespace {

// The messages that can move the selection: the ones the program sends itself. What the user does
// with keys and the mouse is told by the notice of an update after it.
bool movesSelection(unsigned int message)
{
    switch (message) {
    case SCI_SETSEL:
    case SCI_SETEMPTYSELECTION:
    case SCI_SELECTALL:
    case SCI_GOTOPOS:
    case SCI_GOTOLINE:
    case SCI_SETANCHOR:
    case SCI_SETCURRENTPOS:
    case SCI_SETSELECTIONSTART:
    case SCI_SETSELECTIONEND:
    case SCI_SETSELECTION:
    case SCI_CLEARSELECTIONS:
    case SCI_REPLACESEL:
    case SCI_CUT:
    case SCI_CLEAR:
    case SCI_PASTE:
    case SCI_UNDO:
    case SCI_REDO:
    case SCI_CLEARALL:
    case SCI_SETTEXT:
    case SCI_SETDOCPOINTER:
        return true;
    default:
        return false;
    }
}

// Scintilla's colours are 0xBBGGRR.
sptr_t colourValue(const QColor& colour)
{
    return colour.red() | (colour.green() << 8) | (colour.blue() << 16);
}

// With the alpha channel in the top byte, for the element colours.
sptr_t colourAlphaValue(const QColor& colour)
{
    return colourValue(colour) | (static_cast<sptr_t>(colour.alpha()) << 24);
}

} // namespace

void EditorView::markStyled() const
{
    ScintillaEditBase::send(SCI_STARTSTYLING, ScintillaEditBase::send(SCI_GETLENGTH), 0);
}

sptr_t EditorView::send(unsigned int message, uptr_t wParam, sptr_t lParam) const
{
    const sptr_t result = ScintillaEditBase::send(message, wParam, lParam);
    if (movesSelection(message))
        noticeSelection();
    return result;
}

void EditorView::noticeSelection() const
{
    const sptr_t anchor = ScintillaEditBase::send(SCI_GETANCHOR);
    const sptr_t caret = ScintillaEditBase::send(SCI_GETCURRENTPOS);
    if (anchor == m_toldAnchor && caret == m_toldCaret)
        return;
    m_toldAnchor = anchor;
    m_toldCaret = caret;
    emit const_cast<EditorView*>(this)->selectionChanged();
}

void EditorView::applyStyle()
{
    const QByteArray family = m_textFont.family().toUtf8();
    send(SCI_STYLESETFONT, STYLE_DEFAULT, family.constData());
    const double points = m_textFont.pointSizeF() > 0 ? m_textFont.pointSizeF() : 10.0;
    send(SCI_STYLESETSIZEFRACTIONAL, STYLE_DEFAULT, qRound(points * SC_FONT_SIZE_MULTIPLIER));
    send(SCI_STYLESETWEIGHT, STYLE_DEFAULT, m_textFont.weight());
    send(SCI_STYLESETITALIC, STYLE_DEFAULT, m_textFont.italic() ? 1 : 0);
    send(SCI_STYLESETUNDERLINE, STYLE_DEFAULT, m_textFont.underline() ? 1 : 0);
    send(SCI_STYLESETFORE, STYLE_DEFAULT, colourValue(m_ink));
    send(SCI_STYLESETBACK, STYLE_DEFAULT, colourValue(m_paper));
    send(SCI_STYLECLEARALL);
    send(SCI_SETCARETFORE, colourValue(m_ink));
}

void EditorView::applySelectionColours()
{
    const QPalette colours = palette();
    send(SCI_SETELEMENTCOLOUR, SC_ELEMENT_SELECTION_TEXT,
         colourAlphaValue(colours.color(QPalette::Active, QPalette::HighlightedText)));
    send(SCI_SETELEMENTCOLOUR, SC_ELEMENT_SELECTION_BACK,
         colourAlphaValue(colours.color(QPalette::Active, QPalette::Highlight)));
    send(SCI_SETELEMENTCOLOUR, SC_ELEMENT_SELECTION_INACTIVE_TEXT,
         colourAlphaValue(colours.color(QPalette::Inactive, QPalette::HighlightedText)));
    send(SCI_SETELEMENTCOLOUR, SC_ELEMENT_SELECTION_INACTIVE_BACK,
         colourAlphaValue(colours.color(QPalette::Inactive, QPalette::Highlight)));
}

void EditorView::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::PaletteChange)
        applySelectionColours();
    ScintillaEditBase::changeEvent(event);
}

void EditorView::setTextFont(const QFont& font)
{
    m_textFont = font;
    applyStyle();
}

void EditorView::setPaper(const QColor& paper)
{
    m_paper = paper;
    applyStyle();
}

void EditorView::setInk(const QColor& ink)
{
    m_ink = ink;
    applyStyle();
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
        ScintillaEditBase::dragEnterEvent(event);
}

void EditorView::dragMoveEvent(QDragMoveEvent* event)
{
    if (!answerFileDrag(event))
        ScintillaEditBase::dragMoveEvent(event);
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
    ScintillaEditBase::dropEvent(event);
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
    return reinterpret_cast<void*>(send(SCI_CREATEDOCUMENT, 0, options));
}

void EditorView::prepareBuffer()
{
    send(SCI_SETCODEPAGE, SC_CP_UTF8);
    send(SCI_SETEOLMODE, SC_EOL_CRLF);
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
    void* shown = reinterpret_cast<void*>(send(SCI_GETDOCPOINTER));
    send(SCI_ADDREFDOCUMENT, 0, shown);
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
    const long wrap = send(SCI_GETWRAPMODE);
    send(SCI_SETWRAPMODE, SC_WRAP_NONE);
    send(SCI_SETDOCPOINTER, 0, buffer);
    send(SCI_SETWRAPMODE, wrap);
    releaseBuffer(buffer); // the view now holds its own reference
    prepareBuffer();
    updateCaretBlink();
}

void EditorView::releaseBuffer(void* buffer)
{
    if (buffer)
        send(SCI_RELEASEDOCUMENT, 0, buffer);
}

qint64 EditorView::textLength() const
{
    finishLoading();
    return send(SCI_GETLENGTH);
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
    // Two copies, either side of the buffer's gap: one pointer to the whole text would first close
    // the gap, moving up to all of it, on every copy taken while typing.
    const qint64 gap = qBound(qint64(0), qint64(send(SCI_GETGAPPOSITION)), length);
    const auto range = [this](qint64 from, qint64 size) {
        return reinterpret_cast<const char*>(send(SCI_GETRANGEPOINTER, from, size));
    };
    if (gap > 0)
        std::memcpy(into.data(), range(0, gap), gap);
    if (gap < length)
        std::memcpy(into.data() + gap, range(gap, length - gap), length - gap);
}

QByteArray EditorView::textRange(qint64 from, qint64 to) const
{
    finishLoading();
    const qint64 length = send(SCI_GETLENGTH);
    from = qBound<qint64>(0, from, length);
    to = qBound<qint64>(from, to, length);
    QByteArray range(to - from + 1, Qt::Uninitialized);
    Sci_TextRangeFull request{{from, to}, range.data()};
    send(SCI_GETTEXTRANGEFULL, 0, &request);
    range.chop(1);
    return range;
}

QByteArrayView EditorView::rangeView(qint64 from, qint64 length) const
{
    finishLoading();
    if (length <= 0)
        return {};
    return QByteArrayView(reinterpret_cast<const char*>(send(SCI_GETRANGEPOINTER, from, length)), length);
}

QByteArrayView EditorView::textView() const
{
    const qint64 length = textLength();
    if (length == 0)
        return {};
    return QByteArrayView(reinterpret_cast<const char*>(send(SCI_GETCHARACTERPOINTER)), length);
}

bool EditorView::writeTo(QIODevice& device) const
{
    const qint64 length = textLength();
    if (length == 0)
        return true;
    const char* text = reinterpret_cast<const char*>(send(SCI_GETCHARACTERPOINTER));
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
    explicit BulkLoad(const EditorView& editor, bool fromStart = true)
        : m_editor(editor), m_fromStart(fromStart), m_wrap(editor.send(SCI_GETWRAPMODE)),
          m_events(editor.send(SCI_GETMODEVENTMASK))
    {
        m_editor.send(SCI_SETWRAPMODE, SC_WRAP_NONE);
        m_editor.send(SCI_SETMODEVENTMASK, 0);
        m_editor.send(SCI_SETUNDOCOLLECTION, 0);
    }
    ~BulkLoad()
    {
        m_editor.send(SCI_SETUNDOCOLLECTION, 1);
        m_editor.send(SCI_EMPTYUNDOBUFFER);
        // The caret goes to the start without scrolling to it: scrolling would lay out the first
        // line now (seconds for a line of some megabytes), and again once shown. A later slice of
        // a load leaves the caret and the screen where they are.
        if (m_fromStart) {
            m_editor.send(SCI_SETEMPTYSELECTION, 0);
            m_editor.send(SCI_SETFIRSTVISIBLELINE, 0);
            m_editor.send(SCI_SETXOFFSET, 0);
        }
        m_editor.send(SCI_SETMODEVENTMASK, m_events);
        m_editor.send(SCI_SETWRAPMODE, m_wrap);
    }
    BulkLoad(const BulkLoad&) = delete;
    BulkLoad& operator=(const BulkLoad&) = delete;

private:
    const EditorView& m_editor;
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
        send(SCI_CLEARALL);
        if (size > 0) {
            send(SCI_ALLOCATE, size + 1);
            send(SCI_APPENDTEXT, size, bytes);
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
        send(SCI_CLEARALL);
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
        send(SCI_ALLOCATE, load.room);
        load.room = 0;
        if (budgetMs >= 0) {
            QTimer::singleShot(0, this, &EditorView::continueLoading);
            return {};
        }
    }
    load.appending = true;
    // The loaded text is the saved state: a slice that comes after the save point was set must
    // not make the document look changed.
    const bool clean = send(SCI_GETMODIFY) == 0;
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
            send(SCI_APPENDTEXT, n, chunk.constData());
            if (budgetMs == 0 && load.total == n && !fillsScreens(QByteArrayView(chunk.constData(), n))) {
                // The line still coming in would be on screen, laid out again at every paint
                // while it grows (seconds each on a line of megabytes): it comes in at once.
                budgetMs = -1;
                send(SCI_ALLOCATE, std::exchange(load.room, 0));
            }
        } while (budgetMs < 0 || clock.elapsed() < budgetMs);
    }
    if (clean)
        send(SCI_SETSAVEPOINT);
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
    return ScintillaEditBase::eventFilter(watched, event);
}

void EditorView::appendLine(const QByteArray& line)
{
    const qint64 length = textLength();
    const char last = length > 0 ? static_cast<char>(send(SCI_GETCHARAT, length - 1)) : '\0';
    insertBytes(length, lineToAppend(last, line));
}

void EditorView::insertBytes(qint64 pos, QByteArrayView bytes)
{
    finishLoading();
    send(SCI_SETTARGETRANGE, pos, pos);
    // The editor takes no null pointer, not even for nothing.
    send(SCI_REPLACETARGET, bytes.size(), bytes.isNull() ? "" : bytes.data());
}

void EditorView::replaceRange(qint64 from, qint64 to, QByteArrayView bytes)
{
    finishLoading();
    // A large replacement would be re-wrapped on the spot and reported piece by piece; both wait
    // until it is in, and it stays one step for Undo.
    const long wrap = send(SCI_GETWRAPMODE);
    send(SCI_SETWRAPMODE, SC_WRAP_NONE);
    send(SCI_BEGINUNDOACTION);
    send(SCI_SETTARGETRANGE, from, to);
    // The editor takes no null pointer, not even for nothing.
    send(SCI_REPLACETARGET, bytes.size(), bytes.isNull() ? "" : bytes.data());
    send(SCI_ENDUNDOACTION);
    send(SCI_SETWRAPMODE, wrap);
    setCaret(from + bytes.size());
}

void EditorView::clearText()
{
    setBytes(nullptr, 0);
}

qint64 EditorView::selStart() const
{
    return send(SCI_GETSELECTIONSTART);
}

qint64 EditorView::selLength() const
{
    return send(SCI_GETSELECTIONEND) - send(SCI_GETSELECTIONSTART);
}

void EditorView::setCaret(qint64 pos)
{
    pos = qBound<qint64>(0, pos, textLength());
    send(SCI_SETEMPTYSELECTION, pos);
    updateCaretBlink();
    scrollCaretIntoView();
}

void EditorView::updateCaretBlink()
{
    // Each blink redraws the caret's line, which on a line of megabytes costs a tenth of a core
    // for as long as the document is shown: there the caret stays on instead.
    const qint64 line = lineFromPosition(send(SCI_GETCURRENTPOS));
    const bool longLine = send(SCI_LINELENGTH, line) > BlinkingLineLimit;
    const long period = longLine ? 0 : m_caretPeriod;
    if (send(SCI_GETCARETPERIOD) != period)
        send(SCI_SETCARETPERIOD, period);
}

void EditorView::scrollCaretIntoView()
{
    send(SCI_SCROLLCARET);
    m_scrollCaretAfterPaint = true;
    viewport()->update();
}

qint64 EditorView::lineFromPosition(qint64 pos) const
{
    return send(SCI_LINEFROMPOSITION, pos);
}

int EditorView::caretPixelX() const
{
    return static_cast<int>(send(SCI_POINTXFROMPOSITION, 0, send(SCI_GETCURRENTPOS)));
}

bool EditorView::overtype() const
{
    return send(SCI_GETOVERTYPE) != 0;
}

bool EditorView::modifiedFlag() const
{
    return send(SCI_GETMODIFY) != 0;
}

void EditorView::clearModifiedFlag()
{
    send(SCI_SETSAVEPOINT);
}

bool EditorView::wordWrap() const
{
    return send(SCI_GETWRAPMODE) != SC_WRAP_NONE;
}

void EditorView::setWordWrap(bool on)
{
    send(SCI_SETWRAPMODE, on ? SC_WRAP_WORD : SC_WRAP_NONE);
    scrollCaretIntoView();
    // Wrapping would otherwise keep the layout of every line of the document (about ten bytes
    // per byte of text); the lines on screen are enough.
    send(SCI_SETLAYOUTCACHE, SC_CACHE_PAGE);
}

void EditorView::setScrollBarsBoth(bool both)
{
    m_scrollBarsBoth = both;
    send(SCI_SETHSCROLLBAR, both ? 1 : 0);
}

namespace {

// Scintilla's key definition for a Qt key with modifiers, or 0 for a key its bindings cannot hold.
int scintillaKey(int combined)
{
    static const QHash<int, int> named = {
        {Qt::Key_Down, SCK_DOWN},     {Qt::Key_Up, SCK_UP},         {Qt::Key_Left, SCK_LEFT},
        {Qt::Key_Right, SCK_RIGHT},   {Qt::Key_Home, SCK_HOME},     {Qt::Key_End, SCK_END},
        {Qt::Key_PageUp, SCK_PRIOR},  {Qt::Key_PageDown, SCK_NEXT}, {Qt::Key_Delete, SCK_DELETE},
        {Qt::Key_Insert, SCK_INSERT}, {Qt::Key_Escape, SCK_ESCAPE}, {Qt::Key_Backspace, SCK_BACK},
        {Qt::Key_Tab, SCK_TAB},       {Qt::Key_Backtab, SCK_TAB},   {Qt::Key_Return, SCK_RETURN},
        {Qt::Key_Enter, SCK_RETURN},  {Qt::Key_Plus, SCK_ADD},      {Qt::Key_Minus, SCK_SUBTRACT},
        {Qt::Key_Slash, SCK_DIVIDE},  {Qt::Key_Menu, SCK_MENU},
    };
    const int key = combined & ~Qt::KeyboardModifierMask;
    int code = named.value(key, 0);
    if (!code && key >= 0x20 && key < 0x7f)
        code = key;
    if (!code)
        return 0;
    int modifiers = 0;
    if (combined & Qt::ShiftModifier)
        modifiers |= SCMOD_SHIFT;
    if (combined & Qt::ControlModifier)
        modifiers |= SCMOD_CTRL;
    if (combined & Qt::AltModifier)
        modifiers |= SCMOD_ALT;
    if (combined & Qt::MetaModifier)
        modifiers |= SCMOD_META;
    return code | (modifiers << 16);
}

} // namespace

void EditorView::removeKeyBindings(const QList<int>& keys)
{
    for (const int combined : keys)
        if (const int key = scintillaKey(combined))
            send(SCI_CLEARCMDKEY, key);
}

void EditorView::keyPressEvent(QKeyEvent* event)
{
    emit keyDown(event);
    ScintillaEditBase::keyPressEvent(event);
}
