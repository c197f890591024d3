#pragma once
// The editor views of the open documents. One view is shown: it is "the editor". Every other
// document keeps its own view, hidden, with its text, layout and wrapping intact, so switching
// tabs shows another view instead of reloading or re-wrapping text. Every stash still writes the
// document's bytes to its store file, so the store files always hold each document's text as it
// was last shown.
//
// Settings of the editor (font, word wrap, scroll bars, dropping) belong to the editor, not to a
// document: they are kept here and brought into a view as it is shown, so hidden views never do
// work for them.

#include "platform/textcodec.h"

#include <QDeadlineTimer>
#include <QFont>
#include <QHash>
#include <QObject>
#include <QSet>
#include <QString>
#include <QTimer>
#include <functional>
#include <memory>

class QIODevice;
class QKeyEvent;
class QStackedWidget;
class QWidget;
class EditorView;

struct EditorSettings
{
    QFont font;
    bool wordWrap = true;
    bool scrollBarsBoth = false;
    bool acceptFileDrops = true;
    // The page colour in its stored form: a 0x00BBGGRR colour, or a negative system colour
    // (the default is the button face).
    qint32 paper = qint32(0x8000000F);
    // The text colour, stored the same way (black by default).
    qint32 ink = 0;
};

class EditorViews : public QObject
{
    Q_OBJECT

public:
    // `makeView` creates and wires a new view (key bindings, menus, signals).
    EditorViews(QWidget* parent, std::function<EditorView*(QWidget*)> makeView);
    ~EditorViews() override;

    QStackedWidget* widget() const { return m_stack; }
    EditorView* current() const { return m_current; }
    // The view kept for a document that is not shown (none: it has no kept view).
    EditorView* keptView(const QString& storeFile) const { return m_kept.value(storeFile); }

    const EditorSettings& settings() const { return m_settings; }
    // Applies to the shown view now and to every other view when it is next shown.
    void setSettings(const EditorSettings& settings);
    void setFont(const QFont& font);
    // Whether files dropped on the editor are opened.
    void setAcceptFileDrops(bool accept);

    // Writes the shown text into `storeFile` (throws CommandError on failure), keeps the view for
    // `storeFile` and shows an empty view. While views are not kept, the shown view is emptied
    // instead and the document's text is read back from `storeFile` when it is shown again.
    void stash(const QString& storeFile);
    // Whether stash keeps a view per document. Opening thousands of files at once does without:
    // every kept view is a widget the window must walk through at each switch.
    void setKeepingViews(bool keep) { m_keepingViews = keep; }
    bool keepingViews() const { return m_keepingViews; }
    // Shows the view kept for `storeFile` (or, if none is kept, the store file's text).
    void show(const QString& storeFile);
    // Forgets the view of a document that no longer exists.
    void forget(const QString& storeFile);
    void forgetAll();

    // Reads a whole file into the shown view as bytes. Throws CommandError on failure; the view
    // then keeps the text it had.
    void loadFile(const QString& path);
    // Reads a file known to decode exactly from `encoding` to `length` bytes of UTF-8 into the
    // shown view as loadFile does, decoding it slice by slice as it loads.
    void loadDecoded(const QString& path, platform::TextEncoding encoding, qint64 length);
    // Reads what `device` yields (`size` bytes) into the shown view as loadFile does.
    void loadDevice(std::unique_ptr<QIODevice> device, qint64 size) { loadFrom(std::move(device), size); }
    // Writes the shown view's bytes to `path`, replacing it (throws CommandError on failure).
    void writeFile(const QString& path);

    // Files larger than `limit()` bytes (read when a file is loaded; 0: no limit) are held
    // unwrapped whatever the Word Wrap setting: wrapping one lays out every line, about a third of
    // a second per MB, and moving the caret into the part not yet wrapped waits for all of it.
    void setLargeTextLimit(std::function<qint64()> limit) { m_largeTextLimit = std::move(limit); }
    // Whether the shown document is held unwrapped for its size.
    bool heldUnwrapped() const { return m_heldUnwrapped.contains(m_current); }
    // Lets the shown document wrap like the others (from now on it follows the settings).
    void releaseWrapHold();
    // How many lines, from the first, `view` has wrapped (all of them when it does not wrap); -1
    // when it cannot be told, because no line in sight is wider than the window.
    static qint64 wrappedLines(const EditorView* view);
    // Selects [anchor, caret] and brings the caret into view. While the view still wraps in the
    // background, the caret is placed and the screen scrolled without asking the editor to wrap
    // everything up to the caret first, so the window keeps answering.
    void jumpTo(qint64 anchor, qint64 caret);
    // Reports wrapProgress while the shown view wraps in the background.
    void watchWrapping();

signals:
    // Another view is now the editor.
    void currentChanged(EditorView* view);
    // The shown view is held unwrapped, released, or another view is shown.
    void wrapStateChanged();
    // While the shown view wraps in the background: the share wrapped, 0..99 (-1 when it cannot be
    // measured), then 100 once it is done.
    void wrapProgress(int percent);
    // The view shown is not the one wrapping: its progress goes, to come back with it.
    void wrapProgressAway();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void loadFrom(std::unique_ptr<QIODevice> device, qint64 size);
    void display(EditorView* view);
    // The lines from the first that the editor can move the caret within without wrapping the
    // rest first.
    qint64 linesWrappedSafely(const EditorView* view) const;
    EditorView* emptyView();
    void applySettings(EditorView* view);
    void forgetView(EditorView* view);
    // Where a caret-moving key takes the caret when the editor would first wrap the lines up to
    // there (-1: the editor can move it itself).
    qint64 caretTargetAvoidingWrap(const QKeyEvent* key) const;
    void reportWrapping();

    QStackedWidget* m_stack;
    std::function<EditorView*(QWidget*)> m_makeView;
    EditorView* m_current = nullptr;
    EditorView* m_spare = nullptr;
    QHash<QString, EditorView*> m_kept;
    bool m_keepingViews = true;
    EditorSettings m_settings;
    std::function<qint64()> m_largeTextLimit;
    QSet<const EditorView*> m_heldUnwrapped;
    QTimer m_wrapWatch;
    // Views whose background wrap is watched, with when it ought to be over at the latest; the
    // progress shows while one of them is shown.
    QHash<const EditorView*, QDeadlineTimer> m_wrapping;
};
