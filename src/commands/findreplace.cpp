#include "commands/findreplace.h"

#include "editor/editorview.h"

#include <QChar>

#include <algorithm>
#include <array>
#include <cstring>
#include <functional>
#include <utility>
#include <vector>

namespace findreplace {

namespace {

using Byte = unsigned char;

// A byte that starts no valid UTF-8 sequence is a unit of its own, equal to no code point.
constexpr char32_t InvalidByteBase = 0x110000;

char32_t invalidByte(Byte byte)
{
    return InvalidByteBase + byte;
}

// Decodes the unit at `p` (before `end`) into `unit` and returns its length in bytes: a code
// point, or one byte that is no valid UTF-8 (overlong, surrogate, truncated or stray).
int decodeUnit(const Byte* p, const Byte* end, char32_t& unit)
{
    const Byte lead = *p;
    if (lead < 0x80) {
        unit = lead;
        return 1;
    }
    int length = 0;
    char32_t value = 0;
    char32_t least = 0;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
        value = lead & 0x1Fu;
        least = 0x80;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        value = lead & 0x0Fu;
        least = 0x800;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        value = lead & 0x07u;
        least = 0x10000;
    }
    unit = invalidByte(lead);
    if (length == 0 || end - p < length)
        return 1;
    for (int i = 1; i < length; ++i) {
        if ((p[i] & 0xC0) != 0x80)
            return 1;
        value = (value << 6) | (p[i] & 0x3Fu);
    }
    if (value < least || value > 0x10FFFF || (value >= 0xD800 && value <= 0xDFFF))
        return 1;
    unit = value;
    return length;
}

// The unit that ends just before `p` (begin < p).
char32_t unitBefore(const Byte* begin, const Byte* p)
{
    const Byte* lead = p - 1;
    while (lead > begin && p - lead < 4 && (*lead & 0xC0) == 0x80)
        --lead;
    char32_t unit = 0;
    if (decodeUnit(lead, p, unit) == p - lead)
        return unit;
    return invalidByte(p[-1]);
}

char32_t unitAt(const Byte* p, const Byte* end)
{
    char32_t unit = 0;
    decodeUnit(p, end, unit);
    return unit;
}

Byte asciiLower(Byte byte)
{
    return byte >= 'A' && byte <= 'Z' ? static_cast<Byte>(byte + ('a' - 'A')) : byte;
}

char32_t folded(char32_t unit)
{
    if (unit < 0x80)
        return asciiLower(static_cast<Byte>(unit));
    return unit < InvalidByteBase ? QChar::toCaseFolded(unit) : unit;
}

Byte utf8Lead(char32_t codePoint)
{
    if (codePoint < 0x80)
        return static_cast<Byte>(codePoint);
    if (codePoint < 0x800)
        return static_cast<Byte>(0xC0 | (codePoint >> 6));
    if (codePoint < 0x10000)
        return static_cast<Byte>(0xE0 | (codePoint >> 12));
    return static_cast<Byte>(0xF0 | (codePoint >> 18));
}

// Every code point whose folded form differs from itself, as (folded, code point), sorted: the
// other case variants of a folded character. Cased letters all lie below U+20000.
const std::vector<std::pair<char32_t, char32_t>>& caseVariants()
{
    static const std::vector<std::pair<char32_t, char32_t>> variants = [] {
        std::vector<std::pair<char32_t, char32_t>> list;
        for (char32_t c = 0; c < 0x20000; ++c)
            if (const char32_t f = QChar::toCaseFolded(c); f != c)
                list.emplace_back(f, c);
        std::sort(list.begin(), list.end());
        return list;
    }();
    return variants;
}

// The code points that fold to `foldedUnit`, itself included.
std::vector<char32_t> equivalents(char32_t foldedUnit)
{
    std::vector<char32_t> result{foldedUnit};
    const auto& variants = caseVariants();
    auto it = std::lower_bound(variants.begin(), variants.end(), std::pair<char32_t, char32_t>(foldedUnit, 0));
    for (; it != variants.end() && it->first == foldedUnit; ++it)
        result.push_back(it->second);
    return result;
}

} // namespace

bool isWordCharacter(char32_t codePoint)
{
    if (codePoint < 0x80)
        return (codePoint >= '0' && codePoint <= '9') || (codePoint >= 'a' && codePoint <= 'z') ||
               (codePoint >= 'A' && codePoint <= 'Z') || codePoint == '_';
    // Marks belong to the letter they follow: a decomposed "é" stays inside its word.
    return codePoint < InvalidByteBase &&
           (QChar::isLetter(codePoint) || QChar::isDigit(codePoint) || QChar::isMark(codePoint));
}

struct Matcher::Plan
{
    enum class Kind { Exact, AsciiFolded, Folded };

    QByteArray what;
    Kind kind = Kind::Exact;
    bool wholeWord = false;
    bool startsWithWord = false;
    bool endsWithWord = false;
    std::unique_ptr<std::boyer_moore_horspool_searcher<const char*>> exact;
    // AsciiFolded: the search text in lower case and how far a window may move on its last byte.
    QByteArray lowerWhat;
    std::array<qsizetype, 256> shift{};
    // Folded: the search text's folded units and the first bytes any match can start with.
    std::vector<char32_t> units;
    std::vector<Byte> leads;
    std::array<bool, 256> isLead{};

    // Whether [hit, after) stands as a whole word in [begin, end).
    bool isWhole(const Byte* begin, const Byte* end, const Byte* hit, const Byte* after) const
    {
        return (!startsWithWord || hit == begin || !isWordCharacter(unitBefore(begin, hit))) &&
               (!endsWithWord || after == end || !isWordCharacter(unitAt(after, end)));
    }

    // The end of a folded match of `units` at `at`, or null.
    const Byte* foldedMatchAt(const Byte* at, const Byte* end) const
    {
        for (const char32_t unit : units) {
            if (at == end)
                return nullptr;
            char32_t found = 0;
            if (*at < 0x80) {
                found = asciiLower(*at);
                ++at;
            } else {
                at += decodeUnit(at, end, found);
                found = folded(found);
            }
            if (found != unit)
                return nullptr;
        }
        return at;
    }

    Match findExact(const Byte* begin, const Byte* end, const Byte* from) const
    {
        const auto* textBegin = reinterpret_cast<const char*>(begin);
        const auto* textEnd = reinterpret_cast<const char*>(end);
        for (const char* at = reinterpret_cast<const char*>(from); at < textEnd;) {
#if defined(__GLIBC__)
            // glibc's memmem scans several bytes at a time: a few times quicker than Horspool.
            const auto* found = static_cast<const char*>(::memmem(
                at, static_cast<std::size_t>(textEnd - at), what.constData(), static_cast<std::size_t>(what.size())));
            const char* hit = found ? found : textEnd;
#else
            const char* hit = std::search(at, textEnd, *exact);
#endif
            if (hit == textEnd)
                break;
            const auto* hitByte = reinterpret_cast<const Byte*>(hit);
            const Byte* after = hitByte + what.size();
            if (!wholeWord || isWhole(begin, end, hitByte, after))
                return {hit - textBegin, hit - textBegin + what.size()};
            at = hit + 1;
        }
        return {};
    }

    // Horspool over bytes compared in lower case: a search text of ASCII only whose letters have
    // no case variant beyond ASCII can only match ASCII bytes.
    Match findAsciiFolded(const Byte* begin, const Byte* end, const Byte* from) const
    {
        const qsizetype last = lowerWhat.size() - 1;
        const auto* pattern = reinterpret_cast<const Byte*>(lowerWhat.constData());
        for (const Byte* at = from; end - at > last;) {
            const Byte tail = at[last];
            if (asciiLower(tail) == pattern[last]) {
                qsizetype i = 0;
                while (i < last && asciiLower(at[i]) == pattern[i])
                    ++i;
                if (i == last && (!wholeWord || isWhole(begin, end, at, at + last + 1)))
                    return {at - begin, at - begin + last + 1};
            }
            at += shift[tail];
        }
        return {};
    }

    Match findFolded(const Byte* begin, const Byte* end, const Byte* from) const
    {
        // With few possible first bytes, memchr finds each candidate far quicker than a loop.
        const bool fewLeads = leads.size() <= 4;
        std::array<const Byte*, 4> next{};
        auto seek = [&](std::size_t k, const Byte* at) {
            const void* hit = std::memchr(at, leads[k], static_cast<std::size_t>(end - at));
            next[k] = hit ? static_cast<const Byte*>(hit) : end;
        };
        if (fewLeads)
            for (std::size_t k = 0; k < leads.size(); ++k)
                seek(k, from);
        for (const Byte* at = from; at < end;) {
            const Byte* candidate = end;
            if (fewLeads) {
                for (std::size_t k = 0; k < leads.size(); ++k)
                    candidate = std::min(candidate, next[k]);
            } else {
                candidate = at;
                while (candidate < end && !isLead[*candidate])
                    ++candidate;
            }
            if (candidate == end)
                break;
            const Byte* after = foldedMatchAt(candidate, end);
            if (after && (!wholeWord || isWhole(begin, end, candidate, after)))
                return {candidate - begin, after - begin};
            at = candidate + 1;
            if (fewLeads)
                for (std::size_t k = 0; k < leads.size(); ++k)
                    if (next[k] < at)
                        seek(k, at);
        }
        return {};
    }
};

Matcher::Matcher(QByteArrayView what, Options options) : m_plan(std::make_unique<Plan>())
{
    Plan& plan = *m_plan;
    plan.what = what.toByteArray();
    plan.wholeWord = options.wholeWord;
    if (what.isEmpty())
        return;
    const auto* begin = reinterpret_cast<const Byte*>(plan.what.constData());
    const Byte* end = begin + plan.what.size();
    plan.startsWithWord = isWordCharacter(unitAt(begin, end));
    plan.endsWithWord = isWordCharacter(unitBefore(begin, end));

    if (options.matchCase) {
        plan.kind = Plan::Kind::Exact;
        plan.exact = std::make_unique<std::boyer_moore_horspool_searcher<const char*>>(
            plan.what.constData(), plan.what.constData() + plan.what.size());
        return;
    }

    bool asciiOnly = true;
    for (const Byte* at = begin; at < end;) {
        char32_t unit = 0;
        at += decodeUnit(at, end, unit);
        const char32_t foldedUnit = folded(unit);
        plan.units.push_back(foldedUnit);
        // "k" and "s" have variants beyond ASCII (the Kelvin sign, the long s).
        if (unit >= 0x80 || equivalents(foldedUnit).size() != (foldedUnit >= 'a' && foldedUnit <= 'z' ? 2u : 1u))
            asciiOnly = false;
    }

    if (asciiOnly) {
        plan.kind = Plan::Kind::AsciiFolded;
        plan.lowerWhat.resize(plan.what.size());
        for (qsizetype i = 0; i < plan.what.size(); ++i)
            plan.lowerWhat[i] = static_cast<char>(asciiLower(static_cast<Byte>(plan.what[i])));
        const qsizetype length = plan.lowerWhat.size();
        plan.shift.fill(length);
        for (qsizetype i = 0; i + 1 < length; ++i) {
            const auto lower = static_cast<Byte>(plan.lowerWhat[i]);
            plan.shift[lower] = length - 1 - i;
            if (lower >= 'a' && lower <= 'z')
                plan.shift[lower - ('a' - 'A')] = length - 1 - i;
        }
        return;
    }

    plan.kind = Plan::Kind::Folded;
    const char32_t first = plan.units.front();
    if (first >= InvalidByteBase) {
        plan.isLead[first - InvalidByteBase] = true;
    } else {
        for (const char32_t codePoint : equivalents(first))
            plan.isLead[utf8Lead(codePoint)] = true;
    }
    for (int byte = 0; byte < 256; ++byte)
        if (plan.isLead[static_cast<std::size_t>(byte)])
            plan.leads.push_back(static_cast<Byte>(byte));
}

Matcher::~Matcher() = default;

Match Matcher::find(QByteArrayView text, qint64 from) const
{
    const Plan& plan = *m_plan;
    if (plan.what.isEmpty() || from < 0 || from > text.size())
        return {};
    const auto* begin = reinterpret_cast<const Byte*>(text.data());
    const Byte* end = begin + text.size();
    switch (plan.kind) {
    case Plan::Kind::Exact:
        return plan.findExact(begin, end, begin + from);
    case Plan::Kind::AsciiFolded:
        return plan.findAsciiFolded(begin, end, begin + from);
    case Plan::Kind::Folded:
        return plan.findFolded(begin, end, begin + from);
    }
    return {};
}

namespace {

// While Replace All runs, the editor does not re-wrap each change: a million line layouts cost far
// more than the replacements themselves. Wrapping resumes afterwards, screen by screen. Without
// `tellEach`, the changes are not reported one by one either (a million change events cost more
// than the replacements too); the editor then says afterwards that its text changed untold.
class QuietChanges
{
public:
    QuietChanges(EditorView& editor, bool tellEach)
        : m_editor(editor), m_tellEach(tellEach), m_events(editor.send(SCI_GETMODEVENTMASK)),
          m_wrap(editor.send(SCI_GETWRAPMODE))
    {
        m_editor.send(SCI_SETWRAPMODE, static_cast<long>(SC_WRAP_NONE));
        if (!m_tellEach) {
            m_editor.settleEdits();
            m_editor.send(SCI_SETMODEVENTMASK, 0L);
        }
        m_editor.send(SCI_BEGINUNDOACTION);
    }
    ~QuietChanges()
    {
        m_editor.send(SCI_ENDUNDOACTION);
        m_editor.send(SCI_SETWRAPMODE, m_wrap);
        if (!m_tellEach) {
            m_editor.send(SCI_SETMODEVENTMASK, m_events);
            emit m_editor.changedUntold();
        }
    }
    QuietChanges(const QuietChanges&) = delete;
    QuietChanges& operator=(const QuietChanges&) = delete;

private:
    EditorView& m_editor;
    bool m_tellEach;
    long m_events;
    long m_wrap;
};

void setTarget(const EditorView& editor, qint64 start, qint64 end)
{
    editor.send(SCI_SETTARGETRANGE, static_cast<unsigned long>(start), static_cast<long>(end));
}

} // namespace

qint64 findForward(const EditorView& editor, const QByteArray& what, qint64 from, Options options)
{
    const Match match = Matcher(what, options).find(editor.textView(), from);
    if (match.found())
        setTarget(editor, match.start, match.end);
    return match.start;
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
    const qint64 end = editor.send(SCI_GETTARGETEND);
    editor.send(SCI_SETSEL, static_cast<unsigned long>(found), static_cast<long>(end));
    editor.send(SCI_SCROLLCARET);
    return true;
}

bool replaceSelection(EditorView& editor, const QByteArray& with)
{
    const qint64 start = editor.selStart();
    const qint64 length = editor.selLength();
    if (length <= 0)
        return false;
    editor.send(SCI_SETTARGETRANGE, static_cast<unsigned long>(start), static_cast<long>(start + length));
    editor.send(SCI_REPLACETARGET, static_cast<uintptr_t>(with.size()), with.constData());
    editor.setCaret(start + with.size());
    return true;
}

qint64 replaceAll(EditorView& editor, const QByteArray& what, const QByteArray& with, Options options)
{
    // Every match is found in the text as it stands, each search starting behind the previous
    // match, so a replacement holding the search text is not replaced again. Replacing them in
    // order afterwards moves the editor's gap forward only once over the text.
    std::vector<Match> matches;
    {
        const Matcher matcher(what, options);
        const QByteArrayView text = editor.textView();
        for (Match match = matcher.find(text, editor.selStart()); match.found(); match = matcher.find(text, match.end))
            matches.push_back(match);
    }
    if (matches.empty())
        return 0;
    qint64 shift = 0;
    {
        // Told one by one, the changes cost about what copying 4 KiB of the text does: past that,
        // the text is taken whole afterwards instead.
        const bool tellEach = qint64(matches.size()) < std::max<qint64>(1000, editor.textLength() / 4096);
        QuietChanges quiet(editor, tellEach);
        for (const Match& match : matches) {
            setTarget(editor, match.start + shift, match.end + shift);
            editor.send(SCI_REPLACETARGET, static_cast<uintptr_t>(with.size()), with.constData());
            shift += with.size() - (match.end - match.start);
        }
    }
    editor.setCaret(matches.back().end + shift);
    emit editor.userEdited();
    return static_cast<qint64>(matches.size());
}

} // namespace findreplace
