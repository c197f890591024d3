#pragma once
// A designed text colour (navy links, purple and green lists) kept readable on whatever the
// desktop's palette puts behind it: as designed on a light background, lighter on a dark one,
// and worked out again whenever the palette changes.

#include <QColor>
#include <QPalette>

class QWidget;

// Sets `widget`'s `text` role to `designed`, made readable on its `background` role, now and
// after every change of its palette.
void keepTextReadable(QWidget* widget, const QColor& designed, QPalette::ColorRole text = QPalette::Text,
                      QPalette::ColorRole background = QPalette::Base);
