#include "clipbook/renametempform1.h"

TRenameTempForm1* RenameTempForm1 = nullptr;

TRenameTempForm1::TRenameTempForm1(QWidget* parent)
    : TForm(QStringLiteral("RenameTempForm1"), QStringLiteral("Rename Template"), QSize(289, 140), true, parent,
            {QStringLiteral("Rename"), TFormPlacement::fpState | TFormPlacement::fpPosition})
{}
