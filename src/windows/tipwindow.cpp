#include "windows/tipwindow.h"

TipOfTheDayWindow* TipForm1 = nullptr;

TipOfTheDayWindow::TipOfTheDayWindow(QWidget* parent)
    : WindowBase(QStringLiteral("TipForm1"), QStringLiteral("Quillet Tips"), QSize(441, 268), true, parent,
            {QStringLiteral("Tips"), WindowSettings::fpState | WindowSettings::fpPosition})
{
    setWindowFlag(Qt::WindowStaysOnTopHint);
}
