#pragma once
// Utility Options: created at start, hidden until asked for. Its controls and commands are built with the
// feature they belong to.

#include "windows/formbase.h"

class TMiscOp1 : public TForm
{
    Q_OBJECT

public:
    explicit TMiscOp1(QWidget* parent = nullptr);
};

extern TMiscOp1* MiscOp1;
