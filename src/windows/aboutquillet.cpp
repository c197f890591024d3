#include "windows/aboutquillet.h"

TAboutQuillet* AboutQuillet = nullptr;

TAboutQuillet::TAboutQuillet(QWidget* parent)
    : TForm(QStringLiteral("AboutQuillet"), QStringLiteral("About Quillet"), QSize(377, 180), true, parent)
{}
