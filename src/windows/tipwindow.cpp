#include "windows/tipwindow.h"

TipOfTheDayWindow::TipOfTheDayWindow(QWidget* parent)
    : WindowBase(QStringLiteral("TipForm1"), QStringLiteral("Quillet Tips"), QSize(441, 268), true, parent,
                 {QStringLiteral("Tips"), WindowSettings::ShowState | WindowSettings::Position})
{
    setWindowFlag(Qt::WindowStaysOnTopHint);
}
