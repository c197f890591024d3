#pragma once
// Utility Options: created at start, hidden until asked for. Its controls and commands are built with the
// feature they belong to.

#include "windows/windowbase.h"

class UtilityOptionsDialog : public WindowBase
{
    Q_OBJECT

public:
    explicit UtilityOptionsDialog(QWidget* parent = nullptr);
};
