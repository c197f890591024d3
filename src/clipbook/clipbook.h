#pragma once
// ClipBook: created at start, hidden until asked for. Its controls and commands are built with the
// feature they belong to.

#include "windows/formbase.h"

class TClipBook : public TForm
{
    Q_OBJECT

public:
    explicit TClipBook(QWidget* parent = nullptr);
};

extern TClipBook* ClipBook;
