#include "commands/scrollbox1.h"

TScrollBox1* ScrollBox1 = nullptr;

TScrollBox1::TScrollBox1(QWidget* parent)
    : TForm(QStringLiteral("ScrollBox1"), QStringLiteral("Goto Line... "), QSize(361, 100), true, parent,
            {QStringLiteral("Scroll"), TFormPlacement::fpState | TFormPlacement::fpPosition})
{}
