#include "windows/captionmath.h"

#include <cstdlib>

namespace captionmath {

int acceptedBandCount(int current, int requested)
{
    if (requested <= 0)
        return current;
    return requested > MaxBandCount ? MaxBandCount : requested;
}

int bandEdge(int left, int width, int band, int count)
{
    // Rounded to the nearest pixel, halves away from zero.
    const long long product = static_cast<long long>(band) * width;
    const long long half = count / 2;
    const long long rounded = product >= 0 ? (product + half) / count : -((-product + half) / count);
    return left + static_cast<int>(rounded);
}

QColor bandColor(const QColor& left, const QColor& right, int band, int count)
{
    if (count <= 1)
        return left;
    const auto channel = [band, count](int from, int to) { return from + band * (to - from) / (count - 1); };
    return QColor(channel(left.red(), right.red()), channel(left.green(), right.green()),
                  channel(left.blue(), right.blue()));
}

bool drawsGradient(GradientMode mode, bool active, int screenDepth)
{
    switch (mode) {
    case GradientMode::Always:
        return true;
    case GradientMode::Never:
        return false;
    case GradientMode::WhenActive:
        return active;
    case GradientMode::Smart:
        return active ? screenDepth > 7 : screenDepth > 8;
    }
    return true;
}

QString composeTitle(const TextParts& parts)
{
    const TextPartState& product = parts[ProductText];
    const TextPartState& appName = parts[AppNameText];
    const TextPartState& caption = parts[CaptionText];
    QString title;
    if (product.visible)
        title += product.caption;
    if (product.visible && !product.caption.isEmpty() && (appName.visible || caption.visible))
        title += QLatin1Char(' ');
    if (appName.visible)
        title += appName.caption;
    if (appName.visible && !appName.caption.isEmpty() && caption.visible)
        title += QLatin1Char(' ');
    if (caption.visible)
        title += caption.caption;
    return title;
}

QString shownCaptionText(const QString& title, const TextParts& parts)
{
    QString shown = title;
    for (const int index : {int(ProductText), int(AppNameText)}) {
        const TextPartState& part = parts[index];
        if (!part.visible || part.caption.isEmpty())
            continue;
        const qsizetype at = shown.indexOf(part.caption);
        if (at < 0)
            continue;
        shown = shown.mid(at + part.caption.size());
        if (shown.startsWith(QLatin1Char(' ')))
            shown.remove(0, 1);
    }
    return shown;
}

std::array<bool, TextPartCount> fittedParts(const TextParts& parts, const std::array<int, TextPartCount>& textWidths,
                                            int available)
{
    const auto widthOf = [&](std::initializer_list<int> indexes) {
        int total = 0;
        for (const int i : indexes) {
            if (parts[i].visible)
                total += textWidths[i] + TextGap;
        }
        return total;
    };
    std::array<bool, TextPartCount> drawn{};
    for (int i = 0; i < TextPartCount; ++i)
        drawn[i] = parts[i].visible;
    if (widthOf({ProductText, AppNameText, CaptionText}) >= available) {
        drawn[ProductText] = false;
        if (widthOf({AppNameText, CaptionText}) >= available)
            drawn[AppNameText] = false;
    }
    for (int i = 0; i < TextPartCount; ++i)
        drawn[i] = drawn[i] && !parts[i].caption.isEmpty();
    return drawn;
}

} // namespace captionmath
