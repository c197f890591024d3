#pragma once
// About Quillet: created at start, hidden until asked for. Its controls and commands are built with the
// feature they belong to.

#include "windows/formbase.h"

class TAboutQuillet : public TForm
{
    Q_OBJECT

public:
    explicit TAboutQuillet(QWidget* parent = nullptr);
};

extern TAboutQuillet* AboutQuillet;
