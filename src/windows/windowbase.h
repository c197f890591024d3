#pragma once
// Common set-up of Quillet's top-level windows: created once at start, hidden, and kept for the
// whole run. A window with a storage section remembers its placement (and, as its feature is
// built, its stored properties) in the settings store.

#include "settings/windowsettings.h"
#include "windows/captionbar.h"

#include <QWidget>

#include <functional>
#include <optional>

class QKeyEvent;

// What a window keeps in the settings store.
struct StorageSetup
{
    QString section; // empty: the window keeps nothing
    WindowSettings::Options options = WindowSettings::ShowState | WindowSettings::Position;
};

class WindowBase : public QWidget
{
    Q_OBJECT

public:
    // A fixed size makes the window unresizable; otherwise `size` is its minimum and first size.
    // `caption` is the product text of the window's caption strip, and so its title.
    WindowBase(const QString& instanceName, const QString& caption, QSize size, bool fixedSize,
               QWidget* parent = nullptr, const StorageSetup& setup = {},
               captionmath::GradientMode gradient = captionmath::GradientMode::Always);
    ~WindowBase() override;

    // The window storage; null for a window that keeps nothing.
    WindowSettings* storage() const { return m_storage; }
    // The painted caption strip, which keeps the window's title.
    CaptionBar* captionBar() const { return m_captionBar; }

public:
    void setVisible(bool visible) override;

protected:
    void showEvent(QShowEvent* event) override;

    // Shows the window modally and runs events until it is hidden. False when the window was
    // destroyed meanwhile.
    bool showModalUntilHidden();

    // Enter and Esc as a dialog box takes them, for a key its controls left to the window: Enter
    // presses the focused push button, or runs `accept` when no button has focus; Esc runs
    // `reject`. True when the key was one of them.
    bool handleDialogKey(QKeyEvent* event, const std::function<void()>& accept, const std::function<void()>& reject);
    // A fixed-size window whose size depends on what it shows: the size fitted at the next show.
    void setDesignedSize(QSize size) { m_designedSize = size; }

private:
    // A fixed size is designed for an 8-point MS Sans Serif; the font in use may be larger.
    void fitFixedSizeToFont();
    // A dialog of its own (fixed size, no parent) belongs to the window it was opened from and
    // comes above it, and above the program's windows that stay on top.
    void attachToOpener();

    int captionHeight() const;

    WindowSettings* m_storage = nullptr;
    CaptionBar* m_captionBar = nullptr;
    QSize m_designedSize;
    bool m_fixedSize = false;
    bool m_placed = false;
    std::optional<bool> m_onTopByDesign;
};

// Restores a window from the program's store and saves it there when it closes and at the end.
void attachStorage(WindowSettings* storage);

// Deletes a window once it has saved its stored values, while it is still whole: from the base's
// destructor they would be read from a window whose own part is already gone. A window deleted
// any other way keeps what it saved when it last closed.
void destroyWindow(QWidget* window);

// Makes a top-level window stay above every window or not. Only the stacking changes: the native
// window is kept (no hide and show, so nothing shown with it comes back, and windows tied to it
// stay tied), where and as large as it was.
void setKeptOnTop(QWidget& window, bool onTop);
