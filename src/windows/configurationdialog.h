#pragma once
// Quillet Configuration: created at start, hidden, opened modally by Options > "&Configure...".
// Its five boxes are stored properties (section "Config"); OK redoes the whole desktop
// integration from them (desktopregistration.h says what each box becomes on a freedesktop
// desktop), then closes; a failure is shown and keeps the window open with what was done.
// It also keeps the program directory, which the main window computes at every show, in the
// hidden label DirectoryListBox1; paths below the program directory are formed from it.

#include "windows/desktopregistration.h"
#include "windows/windowbase.h"

#include <functional>

class QCheckBox;
class QEventLoop;
class QLabel;
class QPushButton;

class ConfigurationDialog : public WindowBase
{
    Q_OBJECT

public:
    explicit ConfigurationDialog(QWidget* parent = nullptr);

    QString programDirectory() const;
    void setProgramDirectory(const QString& dir);

    DesktopChoices choices() const;
    void setChoices(const DesktopChoices& choices);

    QCheckBox* defaultForTextBox() const { return m_defaultForText; }
    QPushButton* okButton() const { return m_okButton; }
    QPushButton* cancelButton() const { return m_cancelButton; }

    // What OK does with the boxes; tests put a recording one here. By default the desktop's
    // folders are changed for the running program (applyDesktopChoices).
    void setApplier(std::function<void(const DesktopChoices&)> applier) { m_applier = std::move(applier); }

    // Shows the window modally; returns once it is closed.
    void execute();

protected:
    void hideEvent(QHideEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void pressOk();

    QLabel* m_programDirectoryLabel = nullptr;
    QCheckBox* m_defaultForText = nullptr;
    QCheckBox* m_sendTo = nullptr;
    QCheckBox* m_loadAtStart = nullptr;
    QCheckBox* m_startMenu = nullptr;
    QCheckBox* m_desktop = nullptr;
    QPushButton* m_okButton = nullptr;
    QPushButton* m_cancelButton = nullptr;
    std::function<void(const DesktopChoices&)> m_applier;
    QEventLoop* m_loop = nullptr;
};
