#include "settings/quilletop.h"

TQuilletOp* QuilletOp = nullptr;

TQuilletOp::TQuilletOp(QWidget* parent)
    : TForm(QStringLiteral("QuilletOp"), QStringLiteral("Quillet Options"), QSize(433, 252), true, parent,
            {QStringLiteral("Quillet Options"),
             TFormPlacement::fpState | TFormPlacement::fpPosition | TFormPlacement::fpActiveControl})
{}
