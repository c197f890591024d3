#pragma once
// Readable text on any desktop palette: the contrast of two colours as the web's accessibility
// guidelines measure it, and a designed text colour made readable on a given background.

#include <QColor>

namespace colourcontrast {

// From 1 (the same luminance) to 21 (black on white).
double contrastRatio(const QColor& a, const QColor& b);

// The ratio at which body text counts as readable.
inline constexpr double Readable = 4.5;

// `wanted` when it is readable on `background`; otherwise the same hue made lighter or darker
// until it is (a navy link on a dark page becomes a light blue), black or white at the most.
QColor readableOn(const QColor& wanted, const QColor& background);

} // namespace colourcontrast
