#pragma once
// The program's own pictures (data/icons), drawn from their SVG sources at whatever size and
// device pixel ratio they are shown, so they stay sharp on high-density screens.

#include <QIcon>
#include <QString>

// The picture named `name` (a tool button's designed name, or "QuilLogo"): its SVG where Qt's SVG
// icon engine is installed, else the 16-pixel PNG rendered from it.
QIcon ownPicture(const QString& name);
