#pragma once
// Common set-up of Quillet's top-level windows: created once at start, hidden, and kept for the
// whole run.

#include <QWidget>

class TForm : public QWidget
{
    Q_OBJECT

public:
    // A fixed size (width, height > 0) makes the window unresizable; a minimum size alone only
    // limits shrinking.
    TForm(const QString& instanceName, const QString& caption, QSize size, bool fixedSize, QWidget* parent = nullptr);
};
