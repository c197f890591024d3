#pragma once
// The arithmetic of the painted caption strip, kept apart from any widget: the colour bands of
// its gradient, which of its three texts fit, and the title string its texts make.

#include <QColor>
#include <QString>

#include <array>

namespace captionmath {

constexpr int DefaultBandCount = 64;
constexpr int MaxBandCount = 256;

// The band count after a request: above the maximum takes the maximum; zero or less is ignored.
int acceptedBandCount(int current, int requested);

// The left edge of band `band` of `count` over `width` pixels starting at `left` (band `count`
// gives the right end), multiplied first and divided with rounding.
int bandEdge(int left, int width, int band, int count);

// Band `band` of `count` between the two edge colours, channel by channel: the first band has
// the left colour, the last one the right colour.
QColor bandColor(const QColor& left, const QColor& right, int band, int count);

enum class GradientMode { Always, Never, WhenActive, Smart };

// Whether the gradient is drawn, rather than a plain caption colour.
bool drawsGradient(GradientMode mode, bool active, int screenDepth);

// The three texts in their order: product, application name, caption.
enum TextPartIndex { ProductText = 0, AppNameText = 1, CaptionText = 2 };
constexpr int TextPartCount = 3;

struct TextPartState
{
    QString caption;
    bool visible = true;
};
using TextParts = std::array<TextPartState, TextPartCount>;

// The window's title: the visible texts, a blank after a non-empty one that has a visible text
// after it.
QString composeTitle(const TextParts& parts);

// The caption text shown for a title: the product text and then the application-name text,
// where visible and present, cut off the front with one leading blank.
QString shownCaptionText(const QString& title, const TextParts& parts);

// Which texts are drawn in a text area `available` pixels wide, each text taking its measured
// width (`textWidths`) plus the gap before it: all visible ones when they fit, else without the
// product text, else the caption text alone. A text with an empty caption is never drawn.
std::array<bool, TextPartCount> fittedParts(const TextParts& parts, const std::array<int, TextPartCount>& textWidths,
                                            int available);

constexpr int TextGap = 3;

} // namespace captionmath
