#include "core/colourcontrast.h"

#include <algorithm>
#include <cmath>

namespace colourcontrast {

namespace {

double linear(double channel)
{
    return channel <= 0.04045 ? channel / 12.92 : std::pow((channel + 0.055) / 1.055, 2.4);
}

double luminance(const QColor& c)
{
    const QColor rgb = c.toRgb();
    return 0.2126 * linear(rgb.redF()) + 0.7152 * linear(rgb.greenF()) + 0.0722 * linear(rgb.blueF());
}

} // namespace

double contrastRatio(const QColor& a, const QColor& b)
{
    const double la = luminance(a);
    const double lb = luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

QColor readableOn(const QColor& wanted, const QColor& background)
{
    if (contrastRatio(wanted, background) >= Readable)
        return wanted;
    // Away from the background: lighter on a dark one, darker on a light one.
    const bool lighter = luminance(background) < 0.18;
    const QColor hsl = wanted.toHsl();
    for (int step = 1; step <= 20; ++step) {
        const double l =
            lighter ? hsl.lightnessF() + (1 - hsl.lightnessF()) * step / 20.0 : hsl.lightnessF() * (1 - step / 20.0);
        const QColor candidate = QColor::fromHslF(hsl.hslHueF(), hsl.hslSaturationF(), l).toRgb();
        if (contrastRatio(candidate, background) >= Readable)
            return candidate;
    }
    return lighter ? QColor(Qt::white) : QColor(Qt::black);
}

} // namespace colourcontrast
