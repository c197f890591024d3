#include "windows/clipbookwindow.h"

ClipBookWindow* ClipBook = nullptr;

ClipBookWindow::ClipBookWindow(QWidget* parent)
    : WindowBase(QStringLiteral("ClipBook"), QStringLiteral("ClipBook"), QSize(298, 343), false, parent,
            {QStringLiteral("ClipBook"),
             WindowSettings::fpState | WindowSettings::fpPosition | WindowSettings::fpActiveControl})
{}
