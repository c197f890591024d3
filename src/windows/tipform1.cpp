#include "windows/tipform1.h"

TTipForm1* TipForm1 = nullptr;

TTipForm1::TTipForm1(QWidget* parent)
    : TForm(QStringLiteral("TipForm1"), QStringLiteral("Quillet Tips"), QSize(441, 268), true, parent,
            {QStringLiteral("Tips"), TFormPlacement::fpState | TFormPlacement::fpPosition})
{
    setWindowFlag(Qt::WindowStaysOnTopHint);
}
