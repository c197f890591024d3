#pragma once
// Goto Line... : created at start, hidden until asked for. Its controls and commands are built with the
// feature they belong to.

#include "windows/formbase.h"

class TScrollBox1 : public TForm
{
    Q_OBJECT

public:
    explicit TScrollBox1(QWidget* parent = nullptr);
};

extern TScrollBox1* ScrollBox1;
