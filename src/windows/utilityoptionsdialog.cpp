#include "windows/utilityoptionsdialog.h"

UtilityOptionsDialog::UtilityOptionsDialog(QWidget* parent)
    : WindowBase(QStringLiteral("MiscOp1"), QStringLiteral("Utility Options"), QSize(489, 172), true, parent,
                 {QStringLiteral("Utility Options"),
                  WindowSettings::ShowState | WindowSettings::Position | WindowSettings::FocusedControl})
{}
