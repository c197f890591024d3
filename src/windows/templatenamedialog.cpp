#include "windows/templatenamedialog.h"

TemplateNameDialog::TemplateNameDialog(QWidget* parent)
    : WindowBase(QStringLiteral("RenameTempForm1"), QStringLiteral("Rename Template"), QSize(289, 140), true, parent,
                 {QStringLiteral("Rename"), WindowSettings::ShowState | WindowSettings::Position})
{}
