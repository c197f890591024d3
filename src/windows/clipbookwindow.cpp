#include "windows/clipbookwindow.h"

ClipBookWindow::ClipBookWindow(QWidget* parent)
    : WindowBase(QStringLiteral("ClipBook"), QStringLiteral("ClipBook"), QSize(298, 343), false, parent,
                 {QStringLiteral("ClipBook"),
                  WindowSettings::ShowState | WindowSettings::Position | WindowSettings::FocusedControl})
{}
