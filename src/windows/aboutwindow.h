#pragma once
// About Quillet: created at start, hidden until asked for. Its controls and commands are built with the
// feature they belong to.

#include "windows/windowbase.h"

class AboutWindow : public WindowBase
{
    Q_OBJECT

public:
    explicit AboutWindow(QWidget* parent = nullptr);
};
