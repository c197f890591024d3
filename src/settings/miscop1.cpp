#include "settings/miscop1.h"

TMiscOp1* MiscOp1 = nullptr;

TMiscOp1::TMiscOp1(QWidget* parent)
    : TForm(QStringLiteral("MiscOp1"), QStringLiteral("Utility Options"), QSize(489, 172), true, parent,
            {QStringLiteral("Utility Options"),
             TFormPlacement::fpState | TFormPlacement::fpPosition | TFormPlacement::fpActiveControl})
{}
