#include "editor/monospacewidths.h"

#include <QByteArray>
#include <QFontInfo>
#include <QPaintDevice>
#include <QString>
#include <QTextLayout>

#include <algorithm>
#include <iterator>

namespace {

struct Range
{
    char32_t first;
    char32_t last;
};

// Blocks whose characters are set one glyph each, left to right, nothing joined or reordered,
// and narrow: Latin, Greek, Cyrillic, punctuation and symbols.
constexpr Range simpleBlocks[] = {
    {0x0020, 0x007E}, // printable ASCII
    {0x00A0, 0x02FF}, // Latin-1 Supplement, Latin Extended-A and -B, IPA, modifier letters
    {0x0370, 0x052F}, // Greek and Coptic, Cyrillic and its supplement
    {0x1D00, 0x1DBF}, // phonetic extensions
    {0x1E00, 0x1FFF}, // Latin Extended Additional, Greek Extended
    {0x2000, 0x2BFF}, // punctuation, currency, letterlike, arrows, mathematical and technical
                      // symbols, box drawing, blocks, shapes, symbols, dingbats, Braille
    {0x2C60, 0x2C7F}, // Latin Extended-C
    {0x2E00, 0x2E7F}, // supplemental punctuation
    {0xA640, 0xA69F}, // Cyrillic Extended-B
    {0xA720, 0xA7FF}, // Latin Extended-D
    {0xAB30, 0xAB6F}, // Latin Extended-E
    {0xFB00, 0xFB06}, // Latin ligatures, each one character
};

// Characters of those blocks that are wide (emoji, drawn over two cells), and the tone letters,
// which fonts join into contour glyphs.
constexpr Range exceptions[] = {
    {0x02E5, 0x02E9}, {0x231A, 0x231B}, {0x2329, 0x232A}, {0x23E9, 0x23EC}, {0x23F0, 0x23F0}, {0x23F3, 0x23F3},
    {0x25FD, 0x25FE}, {0x2614, 0x2615}, {0x2648, 0x2653}, {0x267F, 0x267F}, {0x2693, 0x2693}, {0x26A1, 0x26A1},
    {0x26AA, 0x26AB}, {0x26BD, 0x26BE}, {0x26C4, 0x26C5}, {0x26CE, 0x26CE}, {0x26D4, 0x26D4}, {0x26EA, 0x26EA},
    {0x26F2, 0x26F3}, {0x26F5, 0x26F5}, {0x26FA, 0x26FA}, {0x26FD, 0x26FD}, {0x2705, 0x2705}, {0x270A, 0x270B},
    {0x2728, 0x2728}, {0x274C, 0x274C}, {0x274E, 0x274E}, {0x2753, 0x2755}, {0x2757, 0x2757}, {0x2795, 0x2797},
    {0x27B0, 0x27B0}, {0x27BF, 0x27BF}, {0x2B1B, 0x2B1C}, {0x2B50, 0x2B50}, {0x2B55, 0x2B55},
};

template <typename Ranges> bool within(const Ranges& ranges, char32_t c)
{
    return std::any_of(std::begin(ranges), std::end(ranges), [c](Range r) { return c >= r.first && c <= r.last; });
}

// Whether `c` is drawn alone, whatever surrounds it, in a font that holds it.
bool drawnAlone(char32_t c)
{
    if (!within(simpleBlocks, c) || within(exceptions, c))
        return false;
    switch (QChar::category(c)) {
    case QChar::Mark_NonSpacing: // drawn on or joined with the character before
    case QChar::Mark_SpacingCombining:
    case QChar::Mark_Enclosing:
    case QChar::Other_Control: // invisible, or steering the layout
    case QChar::Other_Format:
    case QChar::Separator_Line:
    case QChar::Separator_Paragraph:
    case QChar::Other_NotAssigned:
        return false;
    default:
        return true;
    }
}

// Whether shaping may kern the font: it has a 'kern' table, or a 'kern' feature among its glyph
// positioning features. A table that cannot be read counts as kerning.
bool kerns(const QRawFont& raw)
{
    if (!raw.fontTable("kern").isEmpty())
        return true;
    const QByteArray gpos = raw.fontTable("GPOS");
    if (gpos.isEmpty())
        return false;
    const auto u16 = [&gpos](qsizetype at) { return qsizetype(uchar(gpos[at]) << 8 | uchar(gpos[at + 1])); };
    // The header's fourth field is the offset of the feature list: a count, then records of a
    // 4-byte tag and a 2-byte offset.
    if (gpos.size() < 8)
        return true;
    const qsizetype list = u16(6);
    if (list + 2 > gpos.size())
        return true;
    const qsizetype count = u16(list);
    if (list + 2 + 6 * count > gpos.size())
        return true;
    for (qsizetype i = 0; i < count; ++i)
        if (gpos.mid(list + 2 + 6 * i, 4) == "kern")
            return true;
    return false;
}

} // namespace

std::unique_ptr<MonospaceWidths> MonospaceWidths::make(const QFont& font, const QPaintDevice& device)
{
    // Spacing and case changes are applied while shaping.
    const bool letterSpaced = font.letterSpacing() != 0 &&
                              !(font.letterSpacingType() == QFont::PercentageSpacing && font.letterSpacing() == 100);
    if (letterSpaced || font.wordSpacing() != 0 || font.capitalization() != QFont::MixedCase)
        return nullptr;
    // QTextLayout sizes the font for the device's resolution.
    const QFont resolved(font, &device);
    if (!QFontInfo(resolved).fixedPitch())
        return nullptr;
    const QRawFont raw = QRawFont::fromFont(resolved);
    if (!raw.isValid() || (font.kerning() && kerns(raw)))
        return nullptr;
    std::unique_ptr<MonospaceWidths> widths(new MonospaceWidths(raw));
    if (!widths->laysOutLikeShaping(resolved))
        return nullptr;
    return widths;
}

// Some monospaced fonts still hold the common Latin ligatures, as glyphs one cell wide; where
// shaping applies them, the widths of the letters alone do not add up.
bool MonospaceWidths::laysOutLikeShaping(const QFont& resolved)
{
    const QString probe = QStringLiteral("fi fl ff ffi ffl ft fj st Th Nr.");
    QTextLayout layout(probe, resolved);
    layout.beginLayout();
    const QTextLine line = layout.createLine();
    layout.endLayout();
    double x = 0;
    for (qsizetype i = 0; i < probe.size(); ++i) {
        x += width(probe[i].unicode());
        if (line.cursorToX(int(i + 1)) != x)
            return false;
    }
    return true;
}

const double* MonospaceWidths::fillBlock(char32_t block)
{
    static const double none[256] = {};
    QString alone;
    for (char32_t c = block << 8; c < (block + 1) << 8; ++c)
        if (drawnAlone(c))
            alone += QChar(char16_t(c));
    const double* widths = none;
    if (!alone.isEmpty()) {
        // One glyph per character (all in the BMP); glyph 0 is a character the font lacks.
        const QList<quint32> glyphs = m_raw.glyphIndexesForString(alone);
        const QList<QPointF> advances = m_raw.advancesForGlyphIndexes(glyphs);
        auto filled = std::make_unique<double[]>(256);
        for (qsizetype i = 0; i < alone.size() && i < glyphs.size() && i < advances.size(); ++i)
            if (glyphs[i] != 0 && advances[i].x() > 0)
                filled[alone[i].unicode() & 0xFF] = advances[i].x();
        widths = filled.get();
        m_filled.push_back(std::move(filled));
    }
    m_blocks[block] = widths;
    return widths;
}

bool MonospaceWidths::measure(std::string_view text, double* positions)
{
    const auto* bytes = reinterpret_cast<const unsigned char*>(text.data());
    const size_t length = text.size();
    const auto continuation = [&](size_t at) { return at < length && (bytes[at] & 0xC0) == 0x80; };
    double x = 0;
    size_t i = 0;
    while (i < length) {
        const unsigned char lead = bytes[i];
        char32_t c = lead;
        size_t size = 1;
        if (lead >= 0x80) {
            // Two- and three-byte sequences only: the characters kept here all lie below U+10000.
            if (lead >= 0xC2 && lead < 0xE0 && continuation(i + 1)) {
                c = char32_t(lead & 0x1F) << 6 | (bytes[i + 1] & 0x3F);
                size = 2;
            } else if (lead >= 0xE0 && lead < 0xF0 && continuation(i + 1) && continuation(i + 2)) {
                c = char32_t(lead & 0x0F) << 12 | char32_t(bytes[i + 1] & 0x3F) << 6 | (bytes[i + 2] & 0x3F);
                size = 3;
                if (c < 0x800) // overlong
                    return false;
            } else {
                return false;
            }
        }
        const double w = width(c);
        if (w <= 0)
            return false;
        x += w;
        for (const size_t end = i + size; i < end; ++i)
            positions[i] = x;
    }
    return true;
}

namespace {

struct Measured
{
    QFont font;
    int dpi;
    std::unique_ptr<MonospaceWidths> widths; // null: measured by QTextLayout
};

// Every style and zoom level has its own font; only a few are in use at a time.
constexpr size_t KeptFonts = 16;

MonospaceWidths* widthsFor(const QFont& font, const QPaintDevice& device)
{
    static std::vector<Measured> kept;
    const int dpi = device.logicalDpiY();
    const auto found =
        std::find_if(kept.begin(), kept.end(), [&](const Measured& m) { return m.dpi == dpi && m.font == font; });
    if (found != kept.end()) {
        std::rotate(kept.begin(), found, found + 1); // the most recent first
    } else {
        if (kept.size() == KeptFonts)
            kept.pop_back();
        kept.insert(kept.begin(), Measured{font, dpi, MonospaceWidths::make(font, device)});
    }
    return kept.front().widths.get();
}

} // namespace

bool measureMonospaceUtf8(const QFont& font, const QPaintDevice* device, std::string_view text, double* positions)
{
    if (!device)
        return false;
    MonospaceWidths* widths = widthsFor(font, *device);
    return widths && widths->measure(text, positions);
}
