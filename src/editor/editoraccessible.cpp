#include "editor/editoraccessible.h"

#include "editor/editorview.h"

#include <QAccessible>
#include <QFontMetrics>

namespace {

QAccessibleInterface* editorFactory(const QString& className, QObject* object)
{
    if (className == QLatin1String("EditorView"))
        if (auto* editor = qobject_cast<EditorView*>(object))
            return new EditorAccessible(editor);
    return nullptr;
}

} // namespace

EditorAccessible::EditorAccessible(EditorView* editor) : QAccessibleWidget(editor, QAccessible::EditableText)
{}

void EditorAccessible::install()
{
    static bool installed = false;
    if (installed)
        return;
    installed = true;
    QAccessible::installFactory(editorFactory);
}

void EditorAccessible::notifyCaret(EditorView* editor)
{
    if (!QAccessible::isActive())
        return;
    QAccessibleInterface* iface = QAccessible::queryAccessibleInterface(editor);
    if (!iface || !iface->textInterface())
        return;
    QAccessibleTextCursorEvent event(editor, iface->textInterface()->cursorPosition());
    QAccessible::updateAccessibility(&event);
}

EditorView* EditorAccessible::editor() const
{
    return static_cast<EditorView*>(widget());
}

qint64 EditorAccessible::send(unsigned int message, qint64 wParam, qint64 lParam) const
{
    return editor()->send(message, static_cast<unsigned long>(wParam), static_cast<long>(lParam));
}

void* EditorAccessible::interface_cast(QAccessible::InterfaceType type)
{
    if (type == QAccessible::TextInterface)
        return static_cast<QAccessibleTextInterface*>(this);
    if (type == QAccessible::EditableTextInterface)
        return static_cast<QAccessibleEditableTextInterface*>(this);
    return QAccessibleWidget::interface_cast(type);
}

QAccessible::State EditorAccessible::state() const
{
    QAccessible::State state = QAccessibleWidget::state();
    state.editable = !editor()->isReadOnly();
    state.readOnly = editor()->isReadOnly();
    state.multiLine = true;
    state.selectableText = true;
    state.focusable = true;
    return state;
}

QString EditorAccessible::text(QAccessible::Text type) const
{
    if (type != QAccessible::Value)
        return QAccessibleWidget::text(type);
    // The caret's line, as much of it as the window holds.
    int start = 0;
    int end = 0;
    return textAtOffset(cursorPosition(), QAccessible::LineBoundary, &start, &end);
}

EditorAccessible::Window EditorAccessible::textWindow() const
{
    const qint64 length = send(SCI_GETLENGTH);
    const qint64 caret = send(SCI_GETCURRENTPOS);
    const qint64 lastLineOfText = send(SCI_GETLINECOUNT) - 1;
    const qint64 caretLine = send(SCI_LINEFROMPOSITION, caret);
    const qint64 firstShown = send(SCI_GETFIRSTVISIBLELINE);
    const qint64 firstVisible = send(SCI_DOCLINEFROMVISIBLE, firstShown);
    const qint64 lastVisible = qMin(lastLineOfText, send(SCI_DOCLINEFROMVISIBLE, firstShown + send(SCI_LINESONSCREEN)));
    qint64 firstLine = caretLine;
    qint64 lastLine = caretLine;
    if (caretLine >= firstVisible && caretLine <= lastVisible) {
        firstLine = firstVisible;
        lastLine = lastVisible;
    }
    Window result;
    result.start = qMax(lineStart(firstLine), caret - Span);
    // Lines end with their line break.
    result.end = qMin(lineStart(lastLine + 1), caret + Span);
    // Never in the middle of a character.
    const auto continuation = [this](qint64 position) {
        return (static_cast<unsigned char>(send(SCI_GETCHARAT, position)) & 0xC0) == 0x80;
    };
    while (result.start < caret && continuation(result.start))
        ++result.start;
    while (result.end > caret && result.end < length && continuation(result.end))
        --result.end;
    return result;
}

int EditorAccessible::offsetOf(const Window& w, qint64 position) const
{
    position = qBound(w.start, position, w.end);
    return static_cast<int>(send(SCI_COUNTCHARACTERS, w.start, position));
}

qint64 EditorAccessible::lineStart(qint64 line) const
{
    // The line after the last starts at the end of the text.
    if (line >= send(SCI_GETLINECOUNT))
        return send(SCI_GETLENGTH);
    return send(SCI_POSITIONFROMLINE, line);
}

qint64 EditorAccessible::positionOf(const Window& w, int offset) const
{
    const int count = offsetOf(w, w.end);
    if (offset < 0 || offset > count)
        offset = count;
    return send(SCI_POSITIONRELATIVE, w.start, offset);
}

QString EditorAccessible::bytesAsText(qint64 from, qint64 to) const
{
    if (to <= from)
        return {};
    const auto* bytes = reinterpret_cast<const char*>(send(SCI_GETRANGEPOINTER, from, to - from));
    return bytes ? QString::fromUtf8(bytes, to - from) : QString();
}

void EditorAccessible::selection(int selectionIndex, int* startOffset, int* endOffset) const
{
    *startOffset = *endOffset = 0;
    if (selectionIndex != 0 || selectionCount() == 0)
        return;
    const Window w = textWindow();
    *startOffset = offsetOf(w, send(SCI_GETSELECTIONSTART));
    *endOffset = offsetOf(w, send(SCI_GETSELECTIONEND));
}

int EditorAccessible::selectionCount() const
{
    return send(SCI_GETSELECTIONEND) > send(SCI_GETSELECTIONSTART) ? 1 : 0;
}

void EditorAccessible::addSelection(int startOffset, int endOffset)
{
    setSelection(0, startOffset, endOffset);
}

void EditorAccessible::removeSelection(int selectionIndex)
{
    if (selectionIndex == 0)
        send(SCI_SETEMPTYSELECTION, send(SCI_GETCURRENTPOS));
}

void EditorAccessible::setSelection(int selectionIndex, int startOffset, int endOffset)
{
    if (selectionIndex != 0)
        return;
    const Window w = textWindow();
    send(SCI_SETSEL, positionOf(w, startOffset), positionOf(w, endOffset));
}

int EditorAccessible::cursorPosition() const
{
    return offsetOf(textWindow(), send(SCI_GETCURRENTPOS));
}

void EditorAccessible::setCursorPosition(int position)
{
    send(SCI_GOTOPOS, positionOf(textWindow(), position));
}

QString EditorAccessible::text(int startOffset, int endOffset) const
{
    const Window w = textWindow();
    return bytesAsText(positionOf(w, startOffset), positionOf(w, endOffset));
}

QString EditorAccessible::textAtOffset(int offset, QAccessible::TextBoundaryType boundaryType, int* startOffset,
                                       int* endOffset) const
{
    const Window w = textWindow();
    qint64 from = w.start;
    qint64 to = w.end;
    if (boundaryType == QAccessible::LineBoundary) {
        const qint64 line = send(SCI_LINEFROMPOSITION, positionOf(w, offset));
        from = qMax(w.start, lineStart(line));
        to = qMin(w.end, lineStart(line + 1));
    } else if (boundaryType != QAccessible::NoBoundary) {
        return QAccessibleTextInterface::textAtOffset(offset, boundaryType, startOffset, endOffset);
    }
    *startOffset = offsetOf(w, from);
    *endOffset = offsetOf(w, to);
    return bytesAsText(from, to);
}

int EditorAccessible::characterCount() const
{
    const Window w = textWindow();
    return offsetOf(w, w.end);
}

QRect EditorAccessible::characterRect(int offset) const
{
    const Window w = textWindow();
    const qint64 position = positionOf(w, offset);
    const int x = static_cast<int>(send(SCI_POINTXFROMPOSITION, 0, position));
    const int y = static_cast<int>(send(SCI_POINTYFROMPOSITION, 0, position));
    const qint64 next = send(SCI_POSITIONAFTER, position);
    const int nextX = static_cast<int>(send(SCI_POINTXFROMPOSITION, 0, next));
    const int height = static_cast<int>(send(SCI_TEXTHEIGHT, send(SCI_LINEFROMPOSITION, position)));
    QRect rect(x, y, qMax(1, nextX - x), height);
    rect.moveTo(editor()->viewport()->mapToGlobal(rect.topLeft()));
    return rect;
}

int EditorAccessible::offsetAtPoint(const QPoint& point) const
{
    const QPoint local = editor()->viewport()->mapFromGlobal(point);
    const qint64 position = send(SCI_POSITIONFROMPOINTCLOSE, local.x(), local.y());
    const Window w = textWindow();
    if (position < w.start || position > w.end)
        return -1;
    return offsetOf(w, position);
}

void EditorAccessible::scrollToSubstring(int startIndex, int endIndex)
{
    const Window w = textWindow();
    send(SCI_SCROLLRANGE, positionOf(w, endIndex), positionOf(w, startIndex));
}

QString EditorAccessible::attributes(int offset, int* startOffset, int* endOffset) const
{
    // Plain text: one run without attributes.
    Q_UNUSED(offset);
    *startOffset = 0;
    *endOffset = characterCount();
    return {};
}

void EditorAccessible::deleteText(int startOffset, int endOffset)
{
    replaceText(startOffset, endOffset, QString());
}

void EditorAccessible::insertText(int offset, const QString& text)
{
    replaceText(offset, offset, text);
}

void EditorAccessible::replaceText(int startOffset, int endOffset, const QString& text)
{
    if (editor()->isReadOnly())
        return;
    const Window w = textWindow();
    const qint64 from = positionOf(w, startOffset);
    const qint64 to = positionOf(w, endOffset);
    editor()->replaceRange(qMin(from, to), qMax(from, to), text.toUtf8());
}
