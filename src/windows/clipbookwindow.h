#pragma once
// ClipBook: created at start, hidden until asked for. Its controls and commands are built with the
// feature they belong to.

#include "windows/windowbase.h"

class ClipBookWindow : public WindowBase
{
    Q_OBJECT

public:
    explicit ClipBookWindow(QWidget* parent = nullptr);
};
