#include "editor/designedfonts.h"

#include <QFontDatabase>
#include <QFontInfo>
#include <QStringList>

namespace {

// The first installed family of `candidates` of the kind asked for, else what the system draws
// for that kind.
QString installedFamily(const QStringList& candidates, bool fixedPitch)
{
    for (const QString& family : candidates)
        if (QFontDatabase::hasFamily(family) && QFontDatabase::isFixedPitch(family) == fixedPitch)
            return family;
    const QFont system = QFontDatabase::systemFont(fixedPitch ? QFontDatabase::FixedFont : QFontDatabase::GeneralFont);
    return QFontInfo(system).family();
}

} // namespace

void substituteDesignedFonts()
{
    // Metric-compatible families first, so the designed layouts keep their widths.
    const QString monospace = installedFamily({QStringLiteral("Liberation Mono"), QStringLiteral("Cousine"),
                                               QStringLiteral("DejaVu Sans Mono"), QStringLiteral("Noto Sans Mono"),
                                               QStringLiteral("Noto Mono"), QStringLiteral("Nimbus Mono PS"),
                                               QStringLiteral("FreeMono"), QStringLiteral("Consolas")},
                                              true);
    const QString sans =
        installedFamily({QStringLiteral("Liberation Sans"), QStringLiteral("Arimo"), QStringLiteral("DejaVu Sans"),
                         QStringLiteral("Noto Sans"), QStringLiteral("Nimbus Sans"), QStringLiteral("FreeSans"),
                         QStringLiteral("Tahoma"), QStringLiteral("Segoe UI")},
                        false);
    const struct
    {
        QString designed;
        QString installed;
    } substitutions[] = {
        {QStringLiteral("Courier New"), monospace},
        {QStringLiteral("Arial"), sans},
        {QStringLiteral("MS Sans Serif"), sans},
    };
    for (const auto& substitution : substitutions)
        if (!QFontDatabase::hasFamily(substitution.designed) && !substitution.installed.isEmpty())
            QFont::insertSubstitution(substitution.designed, substitution.installed);
}

QFont fontInUse(const QFont& font)
{
    QFont inUse = font;
    const QString family = QFontInfo(font).family();
    if (!family.isEmpty())
        inUse.setFamily(family);
    return inUse;
}
