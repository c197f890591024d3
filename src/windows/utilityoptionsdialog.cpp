#include "windows/utilityoptionsdialog.h"

UtilityOptionsDialog* MiscOp1 = nullptr;

UtilityOptionsDialog::UtilityOptionsDialog(QWidget* parent)
    : WindowBase(QStringLiteral("MiscOp1"), QStringLiteral("Utility Options"), QSize(489, 172), true, parent,
            {QStringLiteral("Utility Options"),
             WindowSettings::fpState | WindowSettings::fpPosition | WindowSettings::fpActiveControl})
{}
