#pragma once
// The editor control: a Scintilla view that holds the current document's bytes unchanged
// (UTF-8 mode; invalid bytes and NULs are kept and shown as byte markers). Text moves in and
// out only as bytes, never through QString. Each document can keep its own Scintilla buffer,
// so switching tabs swaps buffers instead of reloading text.

#include "documents/filesave.h"

#include <ScintillaEditBase.h>

#include <QByteArray>
#include <QColor>
#include <QFont>

#include <memory>

class QIODevice;

class EditorView : public ScintillaEditBase
{
    Q_OBJECT

public:
    // Texts larger than this are refused, as the editor's capacity.
    static constexpr qint64 TextCapacity = ::TextCapacity;
    // On a line longer than this (bytes) the caret does not blink: redrawing it would cost
    // processor time for as long as the line is shown.
    static constexpr qint64 BlinkingLineLimit = 64 * 1024;

    explicit EditorView(QWidget* parent = nullptr);
    ~EditorView() override;

    // Sends a message to Scintilla; a message that may move the selection tells selectionChanged()
    // before it returns.
    sptr_t send(unsigned int message, uptr_t wParam = 0, sptr_t lParam = 0) const override;
    // A message whose last argument is a pointer (text in or out, a buffer).
    template <typename Pointee> sptr_t send(unsigned int message, uptr_t wParam, const Pointee* lParam) const
    {
        return send(message, wParam, reinterpret_cast<sptr_t>(lParam));
    }

    // The font, the page colour and the ink of the text.
    QFont textFont() const { return m_textFont; }
    void setTextFont(const QFont& font);
    QColor paper() const { return m_paper; }
    void setPaper(const QColor& paper);
    QColor ink() const { return m_ink; }
    void setInk(const QColor& ink);
    bool isReadOnly() const { return send(SCI_GETREADONLY) != 0; }
    void setReadOnly(bool readOnly) { send(SCI_SETREADONLY, readOnly ? 1 : 0); }
    bool hasSelectedText() const { return selLength() > 0; }
    // The selected text as the user sees it (invalid bytes become replacement characters).
    QString selectedText() const { return QString::fromUtf8(textRange(selStart(), selStart() + selLength())); }

    // The editing commands, as the keys that Scintilla binds to them do.
    void undo() { send(SCI_UNDO); }
    void redo() { send(SCI_REDO); }
    bool isUndoAvailable() const { return send(SCI_CANUNDO) != 0; }
    bool isRedoAvailable() const { return send(SCI_CANREDO) != 0; }
    void cut() { send(SCI_CUT); }
    void copy() const { send(SCI_COPY); }
    void paste() { send(SCI_PASTE); }
    void removeSelectedText() { send(SCI_REPLACESEL, 0, ""); }
    void selectAll() { send(SCI_SELECTALL); }

    qint64 textLength() const;
    QByteArray bytes() const;
    // Copies the text into `into`, reusing its memory when it is large enough and not shared.
    void copyBytes(QByteArray& into) const;
    // The whole text without a copy; valid until the text changes.
    QByteArrayView textView() const;
    // A copy of the bytes [from, to), clamped to the text.
    QByteArray textRange(qint64 from, qint64 to) const;
    // The bytes [from, from + length) of the text without a copy, valid until it changes; asking
    // for a range across the buffer's gap moves the gap to its start.
    QByteArrayView rangeView(qint64 from, qint64 length) const;
    // Writes the whole text; false (with the device's error) when a write fails.
    bool writeTo(QIODevice& device) const;
    // Replaces the text with `size` bytes from `bytes`; the undo history starts afresh.
    void setBytes(const char* bytes, qint64 size);
    void setBytes(const QByteArray& bytes) { setBytes(bytes.constData(), bytes.size()); }
    void clearText();
    // Replaces the text with what `device` yields (expected `size` bytes): a first slice now, the
    // rest in slices between events, so the window answers while a large file comes in. Whatever
    // reads or changes the whole text, swaps the buffer, or any input the program takes, first
    // completes the load. Throws CommandError when the first slice cannot be read; a later
    // failure is reported by loadFailed().
    void loadInSlices(std::unique_ptr<QIODevice> device, qint64 size);
    bool loading() const { return m_load != nullptr; }
    // Completes a load in progress now.
    void finishLoading() const;
    // Inserts bytes at `pos` as one undoable action.
    void insertBytes(qint64 pos, QByteArrayView bytes);
    // Appends `line` as a new last line of the text, as one undoable action.
    void appendLine(const QByteArray& line);

    qint64 selStart() const;
    qint64 selLength() const;
    // Empty selection at `pos` (clamped), scrolled into view.
    void setCaret(qint64 pos);
    // Scrolls the caret into view now and again once a pending re-wrap has laid out the screen.
    void scrollCaretIntoView();
    qint64 lineFromPosition(qint64 pos) const;
    int caretPixelX() const;
    bool overtype() const;

    // The editor's own changed flag: set by any change of the text.
    bool modifiedFlag() const;
    void clearModifiedFlag();

    bool wordWrap() const;
    void setWordWrap(bool on);
    // Scroll bars both ways (true) or only vertical.
    bool scrollBarsBoth() const { return m_scrollBarsBoth; }
    void setScrollBarsBoth(bool both);

    // Buffer swapping. takeBuffer() hands out the shown buffer (the caller owns one reference)
    // and shows a fresh empty one; showBuffer() shows a buffer taken earlier and takes over the
    // caller's reference; releaseBuffer() drops a reference that is no longer wanted.
    void* takeBuffer();
    void showBuffer(void* buffer);
    void releaseBuffer(void* buffer);

    // Tells (insertionMade) of an insertion not told yet.
    void settleEdits();

    // Removes every built-in key binding that uses one of these key codes (Qt key | modifiers).
    void removeKeyBindings(const QList<int>& keys);

    // Replaces the bytes in [from, to) as one undoable edit; the caret goes after them.
    void replaceRange(qint64 from, qint64 to, QByteArrayView bytes);

signals:
    // Just before the text changes (undo and redo included): `removed` bytes at `position` go, or
    // `inserted` bytes come there. The text still reads as it was.
    void aboutToEdit(qint64 position, qint64 removed, qint64 inserted);
    // The bytes of an insertion told by aboutToEdit are now in the text at `position`: told before
    // the next change, before the text is replaced whole, or when settleEdits() asks.
    void insertionMade(qint64 position, qint64 length);
    // The text was changed in many places without aboutToEdit telling each (Replace All): it is
    // to be taken whole.
    void changedUntold();
    // Before the key acts.
    void keyDown(QKeyEvent* event);
    // Text was inserted or deleted by something other than undo or redo.
    void userEdited();
    // Local files dropped on the editor, in the order the system lists them.
    void filesDropped(const QStringList& paths);
    // A read failed after the first slice of a load: the text holds what was read before it.
    void loadFailed(const QString& reason);
    // Any change of the text, told before it is made (undo and redo included).
    void textChanged();
    // The selection or the caret moved.
    void selectionChanged();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    // The notices of changes asked for: before each change, and after it.
    static constexpr int EditEvents = SC_MOD_BEFOREINSERT | SC_MOD_BEFOREDELETE | SC_MOD_INSERTTEXT | SC_MOD_DELETETEXT;
    void notified(Scintilla::NotificationData* notice);
    void markStyled() const;
    // Tells selectionChanged() when the anchor or the caret is not where it was last told.
    void noticeSelection() const;
    // The default style's font and colours go to every style (the text uses only the first).
    void applyStyle();
    // Selections take the palette's highlight, as other text fields do.
    void applySelectionColours();
    // Takes or refuses a drag of files; false when the drag carries no files.
    bool answerFileDrag(QDragMoveEvent* event) const;
    void* createBuffer() const;
    void prepareBuffer();
    // The caret blinks except on a line longer than BlinkingLineLimit.
    void updateCaretBlink();
    struct PendingLoad;
    // Appends slices of the pending load for about `budgetMs`, or all of it (negative budget);
    // schedules the next slice while some is left. Returns the failure's reason, if any.
    QString appendSlices(int budgetMs);
    void continueLoading();
    void endLoad();

    std::unique_ptr<PendingLoad> m_load;
    // An insertion told by aboutToEdit, whose bytes the editor puts in after telling.
    struct PendingInsertion
    {
        qint64 position = 0;
        qint64 length = 0;
    };
    PendingInsertion m_pendingInsertion;

    QFont m_textFont;
    QColor m_paper = Qt::white;
    QColor m_ink = Qt::black;
    mutable sptr_t m_toldAnchor = 0;
    mutable sptr_t m_toldCaret = 0;
    int m_caretPeriod = 500;
    bool m_scrollBarsBoth = true;
    bool m_scrollCaretAfterPaint = false;
    bool m_acceptFileDrops = true;

public:
    // Whether dropped files are taken (otherwise a drop of files is refused).
    void setAcceptFileDrops(bool accept) { m_acceptFileDrops = accept; }
};
