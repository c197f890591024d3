#pragma once
// What screen readers see of the editor. The text it offers is a window of the document: the lines
// on screen when the caret is among them, otherwise the caret's line, and at most a bounded span
// either side of the caret. Offsets count characters from the window's start, so every query
// costs time in proportion to the window, never to the caret's distance from the document's start.

#include <QAccessibleWidget>

class EditorView;

class EditorAccessible : public QAccessibleWidget,
                         public QAccessibleTextInterface,
                         public QAccessibleEditableTextInterface
{
public:
    // Bytes of a line offered either side of the caret.
    static constexpr qint64 Span = 32 * 1024;

    explicit EditorAccessible(EditorView* editor);

    // Makes this the interface of every EditorView (once; later calls do nothing).
    static void install();
    // Tells an assistive client that the caret or the text changed, when one is listening.
    static void notifyCaret(EditorView* editor);

    void* interface_cast(QAccessible::InterfaceType type) override;
    QAccessible::State state() const override;
    QString text(QAccessible::Text type) const override;

    void selection(int selectionIndex, int* startOffset, int* endOffset) const override;
    int selectionCount() const override;
    void addSelection(int startOffset, int endOffset) override;
    void removeSelection(int selectionIndex) override;
    void setSelection(int selectionIndex, int startOffset, int endOffset) override;
    int cursorPosition() const override;
    void setCursorPosition(int position) override;
    QString text(int startOffset, int endOffset) const override;
    QString textAtOffset(int offset, QAccessible::TextBoundaryType boundaryType, int* startOffset,
                         int* endOffset) const override;
    int characterCount() const override;
    QRect characterRect(int offset) const override;
    int offsetAtPoint(const QPoint& point) const override;
    void scrollToSubstring(int startIndex, int endIndex) override;
    QString attributes(int offset, int* startOffset, int* endOffset) const override;

    void deleteText(int startOffset, int endOffset) override;
    void insertText(int offset, const QString& text) override;
    void replaceText(int startOffset, int endOffset, const QString& text) override;

    // The window's bytes, [start, end) in document positions.
    struct Window
    {
        qint64 start = 0;
        qint64 end = 0;
    };
    Window textWindow() const;

private:
    EditorView* editor() const;
    qint64 send(unsigned int message, qint64 wParam = 0, qint64 lParam = 0) const;
    qint64 lineStart(qint64 line) const;
    int offsetOf(const Window& w, qint64 position) const;
    qint64 positionOf(const Window& w, int offset) const;
    QString bytesAsText(qint64 from, qint64 to) const;
};
