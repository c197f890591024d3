#pragma once
// Quillet Configuration: created at start, hidden, opened modally by Options > "&Configure...".
// Its five boxes are stored properties (section "Config"); OK redoes the whole desktop
// integration from them (desktopregistration.h says what each box becomes on a freedesktop
// desktop), then closes; the parts that could not be done are named on the main window's status
// bar (and logged in full), and only an unexpected error is shown and keeps the window open.
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

    // What OK does with the boxes, returning the parts that failed; tests put a recording one
    // here. By default the desktop's folders are changed for the running program
    // (applyDesktopChoices).
    using Applier = std::function<QList<DesktopFailure>(const DesktopChoices&)>;
    void setApplier(Applier applier) { m_applier = std::move(applier); }

    // Shows the window modally; returns once it is closed, with the status bar's note on what its
    // OK could not do (empty when everything was done or nothing was asked).
    QString execute();

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
    Applier m_applier;
    QString m_failureNote;
    QEventLoop* m_loop = nullptr;
};
