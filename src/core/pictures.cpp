#include "core/pictures.h"

QIcon ownPicture(const QString& name)
{
    // Without the SVG plugin the icon has nothing to draw: the PNG is blurry when scaled, but shows.
    const QIcon scalable(QStringLiteral(":/icons/%1.svg").arg(name));
    return scalable.isNull() ? QIcon(QStringLiteral(":/icons/%1.png").arg(name)) : scalable;
}
