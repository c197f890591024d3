#pragma once
// Rename Template: created at start, hidden until asked for. Its controls and commands are built with the
// feature they belong to.

#include "windows/formbase.h"

class TRenameTempForm1 : public TForm
{
    Q_OBJECT

public:
    explicit TRenameTempForm1(QWidget* parent = nullptr);
};

extern TRenameTempForm1* RenameTempForm1;
