#pragma once
// Quillet Tips: created at start, hidden. Its tips and controls are built with the tip feature.

#include "windows/windowbase.h"

class TipOfTheDayWindow : public WindowBase
{
    Q_OBJECT

public:
    explicit TipOfTheDayWindow(QWidget* parent = nullptr);

    // Whether the main window shows this window every time it is shown ("Show this dialog box
    // next time"). Off until the window has tips to show.
    bool showAtStart() const { return m_showAtStart; }

private:
    bool m_showAtStart = false;
};
