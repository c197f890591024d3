#include "editor/editorviews.h"

#include "core/commanderror.h"
#include "documents/filesave.h"
#include "editor/editorview.h"
#include "settings/propertycodec.h"

#include <QDir>
#include <QFile>
#include <QKeyEvent>
#include <QScopeGuard>
#include <QStackedWidget>

#include <algorithm>

EditorViews::EditorViews(QWidget* parent, std::function<EditorView*(QWidget*)> makeView)
    : QObject(parent), m_stack(new QStackedWidget(parent)), m_makeView(std::move(makeView))
{
    m_stack->setObjectName(QStringLiteral("EditorViews"));
    m_wrapWatch.setInterval(100);
    connect(&m_wrapWatch, &QTimer::timeout, this, &EditorViews::reportWrapping);
    display(emptyView());
}

EditorViews::~EditorViews() = default;

void EditorViews::setFont(const QFont& font)
{
    EditorSettings changed = m_settings;
    changed.font = font;
    setSettings(changed);
}

void EditorViews::setAcceptFileDrops(bool accept)
{
    EditorSettings changed = m_settings;
    changed.acceptFileDrops = accept;
    setSettings(changed);
}

void EditorViews::setSettings(const EditorSettings& settings)
{
    m_settings = settings;
    applySettings(m_current);
}

namespace {

// The editor sizes its styles in points; a font given in pixels is converted at 96 dpi.
QFont inPoints(QFont font)
{
    if (font.pixelSize() > 0)
        font.setPointSizeF(font.pixelSize() * 72.0 / 96.0);
    return font;
}

} // namespace

void EditorViews::applySettings(EditorView* view)
{
    const QFont font = inPoints(m_settings.font);
    if (view->textFont() != font)
        view->setTextFont(font);
    const QColor paper = PropertyCodec::colorFromStored(m_settings.paper, view->palette());
    if (view->paper() != paper)
        view->setPaper(paper);
    const QColor ink = PropertyCodec::inkFromStored(m_settings.ink, m_settings.paper, view->palette());
    if (view->ink() != ink)
        view->setInk(ink);
    const bool held = m_heldUnwrapped.contains(view);
    const bool wrap = m_settings.wordWrap && !held;
    if (view->wordWrap() != wrap)
        view->setWordWrap(wrap);
    if (view->scrollBarsBoth() != (m_settings.scrollBarsBoth || held))
        view->setScrollBarsBoth(m_settings.scrollBarsBoth || held);
    view->setAcceptFileDrops(m_settings.acceptFileDrops);
}

EditorView* EditorViews::emptyView()
{
    if (m_spare) {
        EditorView* view = m_spare;
        m_spare = nullptr;
        view->clearText();
        m_heldUnwrapped.remove(view);
        return view;
    }
    EditorView* view = m_makeView(m_stack);
    view->installEventFilter(this);
    m_stack->addWidget(view);
    return view;
}

void EditorViews::display(EditorView* view)
{
    if (view == m_current)
        return;
    // The editor keeps the window's keyboard focus unless another control of the window was
    // chosen: typing goes to the text whether or not the window is active at this moment.
    const QWidget* chosen = m_stack->window()->focusWidget();
    const bool takeFocus = !chosen || chosen == m_current || !chosen->isVisible();
    applySettings(view);
    m_current = view;
    m_stack->setCurrentWidget(view);
    // The watch notices at its next look whether the view shown is one still wrapping.
    if (!m_wrapping.isEmpty())
        m_wrapWatch.start();
    if (takeFocus)
        view->setFocus();
    emit currentChanged(view);
    emit wrapStateChanged();
}

void EditorViews::stash(const QString& storeFile)
{
    writeFile(storeFile);
    forget(storeFile);
    if (!m_keepingViews) {
        // A fresh buffer: the text, its undo history and selection go with the old one.
        m_current->releaseBuffer(m_current->takeBuffer());
        return;
    }
    m_kept.insert(storeFile, m_current);
    display(emptyView());
}

void EditorViews::show(const QString& storeFile)
{
    EditorView* previous = m_current;
    if (EditorView* view = m_kept.take(storeFile)) {
        display(view);
    } else {
        display(emptyView());
        loadFile(storeFile);
    }
    if (previous == m_current)
        return;
    // The view shown before belonged to no document any more (an empty one left by a stash, or a
    // closed document's): one is kept for the next stash, others go.
    if (!m_spare && previous->textLength() == 0) {
        m_spare = previous;
    } else {
        forgetView(previous);
    }
}

void EditorViews::forget(const QString& storeFile)
{
    if (EditorView* view = m_kept.take(storeFile))
        forgetView(view);
}

void EditorViews::forgetView(EditorView* view)
{
    m_heldUnwrapped.remove(view);
    m_wrapping.remove(view);
    m_stack->removeWidget(view);
    view->deleteLater();
}

void EditorViews::forgetAll()
{
    const QStringList files = m_kept.keys();
    for (const QString& file : files)
        forget(file);
}

void EditorViews::loadFile(const QString& path)
{
    // The file streams into a fresh buffer, so a failed read leaves the shown text as it was and
    // the text is never held twice in memory. What is not a regular file is refused before it is
    // opened: a pipe would block, a device might never end.
    if (const OpenRefusal refusal = checkOpenable(path))
        throw CommandError(refusal.message);
    auto file = std::make_unique<QFile>(path);
    if (!file->open(QIODevice::ReadOnly))
        throw CommandError(fileError(QStringLiteral("Cannot open file"), path, file->errorString()));
    const qint64 size = file->isSequential() ? 0 : file->size();
    if (size > TextCapacity)
        throw CommandError(fileError(QStringLiteral("The file is too large"), path, QString()));
    loadFrom(std::move(file), size);
}

void EditorViews::loadDecoded(const QString& path, platform::TextEncoding encoding, qint64 length)
{
    if (length > TextCapacity)
        throw CommandError(fileError(QStringLiteral("The file is too large"), path, QString()));
    auto file = std::make_unique<QFile>(path);
    if (!file->open(QIODevice::ReadOnly))
        throw CommandError(fileError(QStringLiteral("Cannot open file"), path, file->errorString()));
    auto device = std::make_unique<platform::DecodingDevice>(std::move(file), encoding);
    device->open(QIODevice::ReadOnly | QIODevice::Unbuffered);
    loadFrom(std::move(device), length);
}

void EditorViews::loadFrom(std::unique_ptr<QIODevice> device, qint64 size)
{
    const qint64 limit = m_largeTextLimit ? m_largeTextLimit() : 0;
    const bool wasHeld = m_heldUnwrapped.contains(m_current);
    const bool hold = limit > 0 && size > limit;
    void* previous = m_current->takeBuffer();
    auto restore = qScopeGuard([this, previous, wasHeld] {
        m_current->showBuffer(previous);
        if (!wasHeld)
            m_heldUnwrapped.remove(m_current);
        applySettings(m_current);
    });
    // Held before the text goes in, so not one line of it is wrapped.
    if (hold)
        m_heldUnwrapped.insert(m_current);
    else
        m_heldUnwrapped.remove(m_current);
    applySettings(m_current);
    m_current->loadInSlices(std::move(device), size);
    restore.dismiss();
    m_current->releaseBuffer(previous);
    if (hold != wasHeld)
        emit wrapStateChanged();
}

void EditorViews::releaseWrapHold()
{
    if (!m_heldUnwrapped.remove(m_current))
        return;
    applySettings(m_current);
    // Painting the screen now tells the editor its wrap width, so what it has wrapped can be
    // told from the first moment.
    if (m_current->isVisible())
        m_current->viewport()->repaint();
    emit wrapStateChanged();
}

namespace {

// Whether the editor has wrapped `line` or a line a little after it: +1 wrapped, 0 not yet, -1
// when none of them takes more than one screen line (so none tells). A line takes its wrapped
// height only once wrapped; until then it counts as one screen line.
int probeWrapped(const EditorView* view, long line, long lines)
{
    for (long probe = line; probe < std::min(lines, line + 32); ++probe) {
        if (view->send(SCI_LINELENGTH, static_cast<unsigned long>(probe)) > 65536)
            continue;
        const long count = view->send(SCI_WRAPCOUNT, static_cast<unsigned long>(probe));
        if (count <= 1)
            continue;
        const long height = view->send(SCI_VISIBLEFROMDOCLINE, static_cast<unsigned long>(probe + 1)) -
                            view->send(SCI_VISIBLEFROMDOCLINE, static_cast<unsigned long>(probe));
        return height == count ? 1 : 0;
    }
    return -1;
}

} // namespace

qint64 EditorViews::wrappedLines(const EditorView* view)
{
    const long lines = view->send(SCI_GETLINECOUNT);
    if (!view->wordWrap())
        return lines;
    // The editor wraps from the first line on, so the lines wrapped so far are a prefix: found by
    // halving, a few line layouts per step.
    const int atEnd = probeWrapped(view, std::max(0L, lines - 32), lines);
    if (atEnd == 1)
        return lines;
    // Lines that fit the width tell nothing (nor does any line before the width is first known).
    if (atEnd < 0 && probeWrapped(view, 0, lines) < 0 && probeWrapped(view, lines / 2, lines) < 0)
        return -1;
    long wrapped = 0, pending = lines;
    while (pending - wrapped > 32) {
        const long middle = wrapped + (pending - wrapped) / 2;
        if (probeWrapped(view, middle, lines) != 0)
            wrapped = middle;
        else
            pending = middle;
    }
    return wrapped >= lines - 64 ? lines : wrapped;
}

qint64 EditorViews::linesWrappedSafely(const EditorView* view) const
{
    const qint64 wrapped = wrappedLines(view);
    if (wrapped >= 0)
        return wrapped;
    // Nothing tells how far the wrap has come: while it may still be running, no line counts as
    // wrapped. (Where no line is wider than the window, moving by lines of the text is moving by
    // lines on screen anyway.)
    return m_wrapping.contains(view) ? 0 : view->send(SCI_GETLINECOUNT);
}

void EditorViews::jumpTo(qint64 anchor, qint64 caret)
{
    EditorView* view = m_current;
    const qint64 length = view->textLength();
    anchor = std::clamp<qint64>(anchor, 0, length);
    caret = std::clamp<qint64>(caret, 0, length);
    view->send(SCI_SETSEL, static_cast<unsigned long>(anchor), static_cast<long>(caret));
    const long line = view->send(SCI_LINEFROMPOSITION, static_cast<unsigned long>(caret));
    if (line < linesWrappedSafely(view)) {
        view->scrollCaretIntoView();
        return;
    }
    // Moving the caret the editor's way lays out every line up to it first. The lines not yet
    // wrapped count as one screen line each, so the caret's screen line is known at once; the
    // screen is wrapped when painted and the background wrap keeps the top line in place.
    const long shown = view->send(SCI_VISIBLEFROMDOCLINE, static_cast<unsigned long>(line));
    const long screen = view->send(SCI_LINESONSCREEN);
    const long first = view->send(SCI_GETFIRSTVISIBLELINE);
    if (shown < first || shown >= first + screen - 1)
        view->send(SCI_SETFIRSTVISIBLELINE, static_cast<unsigned long>(std::max(0L, shown - screen / 2)));
    view->viewport()->update();
}

bool EditorViews::eventFilter(QObject* watched, QEvent* event)
{
    // Colours that name the desktop's follow it when it changes its palette (a dark theme).
    if ((event->type() == QEvent::PaletteChange || event->type() == QEvent::ApplicationPaletteChange) &&
        watched == m_current)
        applySettings(m_current);
    if (event->type() == QEvent::KeyPress && watched == m_current && m_current->wordWrap()) {
        const auto* key = static_cast<QKeyEvent*>(event);
        const qint64 target = caretTargetAvoidingWrap(key);
        if (target >= 0) {
            const bool extend = key->modifiers() & Qt::ShiftModifier;
            jumpTo(extend ? m_current->send(SCI_GETANCHOR) : target, target);
            return true;
        }
    }
    return QObject::eventFilter(watched, event);
}

qint64 EditorViews::caretTargetAvoidingWrap(const QKeyEvent* key) const
{
    // The editor moves the caret by these keys only after wrapping every line up to where it
    // goes; while the view still wraps in the background, a move into the part not yet wrapped
    // is made here instead, by lines of the text rather than lines on screen.
    EditorView* view = m_current;
    const Qt::KeyboardModifiers mods = key->modifiers() & ~(Qt::KeypadModifier | Qt::ShiftModifier);
    static constexpr int Moves[] = {Qt::Key_End,    Qt::Key_Home,     Qt::Key_Up,   Qt::Key_Down,
                                    Qt::Key_PageUp, Qt::Key_PageDown, Qt::Key_Left, Qt::Key_Right};
    if ((mods != Qt::NoModifier && mods != Qt::ControlModifier) || !std::ranges::count(Moves, key->key()))
        return -1;
    const bool control = mods == Qt::ControlModifier;
    const qint64 caret = view->send(SCI_GETCURRENTPOS);
    const long line = view->send(SCI_LINEFROMPOSITION, static_cast<unsigned long>(caret));
    const long lines = view->send(SCI_GETLINECOUNT);
    const long page = std::max(1L, view->send(SCI_LINESONSCREEN) - 1);
    const long column = view->send(SCI_GETCOLUMN, static_cast<unsigned long>(caret));
    auto onLine = [view, column, lines](long to) -> qint64 {
        to = std::clamp(to, 0L, lines - 1);
        return view->send(SCI_FINDCOLUMN, static_cast<unsigned long>(to), static_cast<long>(column));
    };
    qint64 target = -1;
    switch (key->key()) {
    case Qt::Key_End:
        target = control ? view->textLength() : view->send(SCI_GETLINEENDPOSITION, static_cast<unsigned long>(line));
        break;
    case Qt::Key_Home:
        target = control ? 0 : view->send(SCI_POSITIONFROMLINE, static_cast<unsigned long>(line));
        break;
    case Qt::Key_Up:
        target = control ? -1 : onLine(line - 1);
        break;
    case Qt::Key_Down:
        target = control ? -1 : onLine(line + 1);
        break;
    case Qt::Key_PageUp:
        target = control ? -1 : onLine(line - page);
        break;
    case Qt::Key_PageDown:
        target = control ? -1 : onLine(line + page);
        break;
    case Qt::Key_Left:
        target = control ? -1 : view->send(SCI_POSITIONBEFORE, static_cast<unsigned long>(caret));
        break;
    case Qt::Key_Right:
        target = control ? -1 : view->send(SCI_POSITIONAFTER, static_cast<unsigned long>(caret));
        break;
    default:
        return -1;
    }
    if (target < 0 || std::max<qint64>(line, view->lineFromPosition(target)) < linesWrappedSafely(view))
        return -1;
    return target;
}

void EditorViews::watchWrapping()
{
    // Where the wrap cannot be measured it is taken as running for a second per MB, about three
    // times what it costs.
    const qint64 estimateMs = std::max<qint64>(1000, m_current->textLength() * 1000 / (1 << 20));
    m_wrapping.insert(m_current, QDeadlineTimer(estimateMs));
    m_wrapWatch.start();
}

void EditorViews::reportWrapping()
{
    EditorView* view = m_current;
    const long lines = view->send(SCI_GETLINECOUNT);
    if (!m_wrapping.contains(view)) {
        m_wrapWatch.stop();
        emit wrapProgressAway();
        return;
    }
    const qint64 wrapped = wrappedLines(view);
    if (wrapped < 0 && !m_wrapping.value(view).hasExpired()) {
        emit wrapProgress(-1);
        return;
    }
    if (wrapped < 0 || wrapped >= lines) {
        m_wrapping.remove(view);
        m_wrapWatch.stop();
        emit wrapProgress(100);
        return;
    }
    emit wrapProgress(static_cast<int>(std::min<qint64>(99, wrapped * 100 / std::max(1L, lines))));
}

void EditorViews::writeFile(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        throw CommandError(fileError(QStringLiteral("Cannot create file"), path, file.errorString()));
    if (!m_current->writeTo(file) || !file.flush())
        throw CommandError(fileError(QStringLiteral("Cannot write file"), path, file.errorString()));
    file.close();
}
