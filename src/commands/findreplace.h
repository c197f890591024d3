#pragma once
// Find next, single Replace and Replace All on an editor control, through its selection and its
// own forward text search only. Searches never wrap and never run backwards. Text is handled as
// the editor's UTF-8 bytes; case-insensitive matching beyond ASCII is the editor's rule.

#include <QByteArray>

class EditorView;

namespace findreplace {

struct Options
{
    bool matchCase = false;
    // Letters and digits (and the editor's other word characters) bound a whole word.
    bool wholeWord = false;
};

// The first match of `what` at or after `from`; -1 when there is none. An empty search text
// never matches (it would match everywhere and Replace All would never end).
qint64 findForward(const EditorView& editor, const QByteArray& what, qint64 from, Options options);

// Moves the caret to the end of a non-empty selection, then selects the next match and scrolls
// it into view. False when there is no match; the caret then stays at the end of the selection.
bool findNext(EditorView& editor, const QByteArray& what, Options options);

// Replaces a non-empty selection, whatever it holds, and leaves the caret after the inserted
// text. False (nothing done) when the selection is empty.
bool replaceSelection(EditorView& editor, const QByteArray& with);

// Replaces every match from the start of the selection to the end of the text, each search
// starting behind the previous replacement, as one undo step. Returns the count of replacements.
qint64 replaceAll(EditorView& editor, const QByteArray& what, const QByteArray& with, Options options);

} // namespace findreplace
