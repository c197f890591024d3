#pragma once
// Quillet Options: created at start, hidden until asked for. Its controls and commands are built with the
// feature they belong to.

#include "windows/formbase.h"

class TQuilletOp : public TForm
{
    Q_OBJECT

public:
    explicit TQuilletOp(QWidget* parent = nullptr);
};

extern TQuilletOp* QuilletOp;
