#include "windows/aboutwindow.h"

AboutWindow::AboutWindow(QWidget* parent)
    : WindowBase(QStringLiteral("AboutQuillet"), QStringLiteral("About Quillet"), QSize(377, 180), true, parent)
{}
