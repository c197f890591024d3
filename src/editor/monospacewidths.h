#pragma once
// Scintilla measures each run of text with QTextLayout, which shapes it: far too slow to wrap a
// large document. In a monospaced font most characters need no shaping (one glyph each, its own
// advance, no kerning, nothing joined or reordered), so the positions in such a run are sums of
// per-character widths, kept here in a table. Anything else is left to QTextLayout.

#include <QFont>
#include <QRawFont>

#include <array>
#include <memory>
#include <string_view>
#include <vector>

class QPaintDevice;

// The advance widths of the characters one font draws alone, on devices of one resolution.
// Filled lazily, a block of 256 characters at a time.
class MonospaceWidths
{
public:
    // Null when the font is not fixed-pitch on `device`, or may kern, space or ligate its
    // characters: QTextLayout must measure it.
    static std::unique_ptr<MonospaceWidths> make(const QFont& font, const QPaintDevice& device);

    // The width of `c`; 0 when `c` needs shaping or the font lacks it (a fallback font would
    // draw it, at another width).
    double width(char32_t c)
    {
        if (c > 0xFFFF)
            return 0;
        const double* block = m_blocks[c >> 8];
        return (block ? block : fillBlock(c >> 8))[c & 0xFF];
    }

    // Writes for every byte of `text` the x after the character it belongs to, as Scintilla's
    // measuring does. False when a character needs shaping or `text` is not UTF-8; `positions`
    // then holds nothing of use.
    bool measure(std::string_view text, double* positions);

private:
    explicit MonospaceWidths(const QRawFont& raw) : m_raw(raw) {}
    const double* fillBlock(char32_t block);
    bool laysOutLikeShaping(const QFont& resolved);

    QRawFont m_raw;
    std::array<const double*, 256> m_blocks{};
    std::vector<std::unique_ptr<double[]>> m_filled;
};

// Measures UTF-8 `text` in `font` on `device` from the widths kept for that pair (made on first
// use); false when QTextLayout must measure it. Its type is Scintilla's measuring hook. GUI
// thread only, like all of Scintilla's measuring.
bool measureMonospaceUtf8(const QFont& font, const QPaintDevice* device, std::string_view text, double* positions);
