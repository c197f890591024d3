#pragma once
// Find next, single Replace and Replace All on an editor control, through its selection and one
// forward matcher over its UTF-8 bytes. Searches never wrap and never run backwards. Without
// Match case every letter's case is folded (Unicode simple case folding); a byte that is no valid
// UTF-8 matches only itself. The text is never converted as a whole.

#include <QByteArray>
#include <QByteArrayView>

#include <memory>

class EditorView;

namespace findreplace {

struct Options
{
    bool matchCase = false;
    // A whole word is bounded by characters that are not word characters: Unicode letters,
    // digits, the marks that go with them, and "_".
    bool wholeWord = false;
};

struct Match
{
    qint64 start = -1; // -1: none
    qint64 end = -1;   // a case variant may differ from the search text in byte length
    bool found() const { return start >= 0; }
};

// The one search rule that Find, Search Again and Replace All share.
class Matcher
{
public:
    Matcher(QByteArrayView what, Options options);
    ~Matcher();
    Matcher(const Matcher&) = delete;
    Matcher& operator=(const Matcher&) = delete;

    // The first match starting at or after `from`. An empty search text never matches (it would
    // match everywhere and Replace All would never end).
    Match find(QByteArrayView text, qint64 from) const;

private:
    struct Plan;
    std::unique_ptr<Plan> m_plan;
};

// Whether a code point counts as a word character for whole-word searches.
bool isWordCharacter(char32_t codePoint);

// The first match of `what` at or after `from`; -1 when there is none. The editor's target is
// set to the match.
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
