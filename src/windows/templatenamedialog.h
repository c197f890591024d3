#pragma once
// Rename Template: created at start, hidden until asked for. Its controls and commands are built with the
// feature they belong to.

#include "windows/windowbase.h"

class TemplateNameDialog : public WindowBase
{
    Q_OBJECT

public:
    explicit TemplateNameDialog(QWidget* parent = nullptr);
};
