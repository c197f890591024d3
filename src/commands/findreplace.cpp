#include "commands/findreplace.h"

#include "editor/editorview.h"

#include <algorithm>
#include <functional>

namespace findreplace {

namespace {

using Sci = QsciScintillaBase;

long searchFlags(Options options)
{
    long flags = 0;
    if (options.matchCase)
        flags |= Sci::SCFIND_MATCHCASE;
    if (options.wholeWord)
        flags |= Sci::SCFIND_WHOLEWORD;
    return flags;
}

// Searches the editor's target range [from, end of text); on a match the target is the match.
qint64 searchTarget(const EditorView& editor, const QByteArray& what, qint64 from, long flags)
{
    const qint64 length = editor.textLength();
    if (what.isEmpty() || from > length)
        return -1;
    editor.SendScintilla(Sci::SCI_SETTARGETRANGE, static_cast<unsigned long>(from), static_cast<long>(length));
    editor.SendScintilla(Sci::SCI_SETSEARCHFLAGS, flags);
    return editor.SendScintilla(Sci::SCI_SEARCHINTARGET, static_cast<uintptr_t>(what.size()), what.constData());
}

// While Replace All runs, the editor neither reports nor re-wraps each change: a million change
// events and line layouts cost far more than the replacements themselves. Wrapping resumes
// afterwards, screen by screen.
class QuietChanges
{
public:
    explicit QuietChanges(EditorView& editor)
        : m_editor(editor), m_events(editor.SendScintilla(Sci::SCI_GETMODEVENTMASK)),
          m_wrap(editor.SendScintilla(Sci::SCI_GETWRAPMODE))
    {
        m_editor.SendScintilla(Sci::SCI_SETWRAPMODE, static_cast<long>(Sci::SC_WRAP_NONE));
        m_editor.SendScintilla(Sci::SCI_SETMODEVENTMASK, 0L);
        m_editor.SendScintilla(Sci::SCI_BEGINUNDOACTION);
    }
    ~QuietChanges()
    {
        m_editor.SendScintilla(Sci::SCI_ENDUNDOACTION);
        m_editor.SendScintilla(Sci::SCI_SETMODEVENTMASK, m_events);
        m_editor.SendScintilla(Sci::SCI_SETWRAPMODE, m_wrap);
    }
    QuietChanges(const QuietChanges&) = delete;
    QuietChanges& operator=(const QuietChanges&) = delete;

private:
    EditorView& m_editor;
    long m_events;
    long m_wrap;
};

} // namespace

namespace {

// Scintilla's word characters in UTF-8 mode: letters, digits, "_" and every byte of a multi-byte
// character.
bool isWordByte(char c)
{
    const auto byte = static_cast<unsigned char>(c);
    return byte >= 0x80 || (byte >= '0' && byte <= '9') || (byte >= 'a' && byte <= 'z') ||
           (byte >= 'A' && byte <= 'Z') || byte == '_';
}

// An exact-case search straight over the text: many times quicker than the editor's own search on
// a large document. The target is set to the match, as the editor's search would.
qint64 searchExact(const EditorView& editor, const QByteArray& what, qint64 from, bool wholeWord)
{
    const QByteArrayView text = editor.textView();
    if (what.isEmpty() || from > text.size())
        return -1;
    const std::boyer_moore_horspool_searcher searcher(what.begin(), what.end());
    const char* const begin = text.data();
    const char* const end = begin + text.size();
    for (const char* at = begin + from; at < end;) {
        const char* hit = std::search(at, end, searcher);
        if (hit == end)
            return -1;
        const char* after = hit + what.size();
        const bool whole = (hit == begin || !isWordByte(hit[-1]) || !isWordByte(what.front())) &&
                           (after == end || !isWordByte(*after) || !isWordByte(what.back()));
        if (!wholeWord || whole) {
            const qint64 found = hit - begin;
            editor.SendScintilla(Sci::SCI_SETTARGETRANGE, static_cast<unsigned long>(found),
                                 static_cast<long>(found + what.size()));
            return found;
        }
        at = hit + 1;
    }
    return -1;
}

} // namespace

qint64 findForward(const EditorView& editor, const QByteArray& what, qint64 from, Options options)
{
    if (options.matchCase)
        return searchExact(editor, what, from, options.wholeWord);
    return searchTarget(editor, what, from, searchFlags(options));
}

bool findNext(EditorView& editor, const QByteArray& what, Options options)
{
    // Starting behind the selection, a repeated search steps to the next occurrence.
    if (editor.selLength() > 0)
        editor.setCaret(editor.selStart() + editor.selLength());
    const qint64 found = findForward(editor, what, editor.selStart(), options);
    if (found < 0)
        return false;
    // The match's own end: a case variant of a non-ASCII letter may differ in byte length.
    const qint64 end = editor.SendScintilla(Sci::SCI_GETTARGETEND);
    editor.SendScintilla(Sci::SCI_SETSEL, static_cast<unsigned long>(found), static_cast<long>(end));
    editor.SendScintilla(Sci::SCI_SCROLLCARET);
    return true;
}

bool replaceSelection(EditorView& editor, const QByteArray& with)
{
    const qint64 start = editor.selStart();
    const qint64 length = editor.selLength();
    if (length <= 0)
        return false;
    editor.SendScintilla(Sci::SCI_SETTARGETRANGE, static_cast<unsigned long>(start), static_cast<long>(start + length));
    editor.SendScintilla(Sci::SCI_REPLACETARGET, static_cast<uintptr_t>(with.size()), with.constData());
    editor.setCaret(start + with.size());
    return true;
}

qint64 replaceAll(EditorView& editor, const QByteArray& what, const QByteArray& with, Options options)
{
    const long flags = searchFlags(options);
    qint64 from = editor.selStart();
    qint64 count = 0;
    {
        QuietChanges quiet(editor);
        for (;;) {
            const qint64 found = searchTarget(editor, what, from, flags);
            if (found < 0)
                break;
            // The target is the match: replacing it leaves the next search behind the
            // replacement, so a replacement holding the search text is not replaced again.
            editor.SendScintilla(Sci::SCI_REPLACETARGET, static_cast<uintptr_t>(with.size()), with.constData());
            from = found + with.size();
            ++count;
        }
    }
    if (count > 0) {
        editor.setCaret(from);
        emit editor.userEdited();
    }
    return count;
}

} // namespace findreplace
