#pragma once
// Rename Template: the small modal window that asks for the name of a new ClipBook template or
// File Template, or for a new name of one. It shows one of three panels by mode; OK checks the
// name (not empty, and one that stays inside its folder: not "." or "..", no path separator, no
// NUL) and hands it to whoever opened the window, which does the create or rename. A refused name
// is said in a message and the window stays open for another try.

#include "windows/windowbase.h"

#include <functional>

class QEventLoop;
class QLabel;
class QLineEdit;
class QPushButton;
class QWidget;

class TemplateNameDialog : public WindowBase
{
    Q_OBJECT

public:
    enum class Mode { NewTemplate, RenameTemplate, NewFileTemplate, RenameFileTemplate };
    // Gets the checked name; true when done (the window closes), false to keep it open (the
    // accepter said why).
    using Accept = std::function<bool(const QString& name)>;

    explicit TemplateNameDialog(QWidget* parent = nullptr);

    // Sets the window up for `mode` (panel, title, size), empties the input fields and shows
    // `currentName` in the rename panel.
    void prepare(Mode mode, const QString& currentName = {});
    // Prepares, shows the window modally and returns once it is closed.
    void execute(Mode mode, const QString& currentName, Accept accept);

    Mode mode() const { return m_mode; }
    // The input field of the visible panel.
    QLineEdit* nameField() const;
    QLineEdit* currentNameField() const { return m_currentName; }
    QPushButton* okButton() const { return m_okButton; }
    QPushButton* cancelButton() const { return m_cancelButton; }

    // OK: checks the typed name and hands it on.
    void pressOk();

protected:
    void hideEvent(QHideEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    QWidget* m_renamePanel = nullptr;
    QWidget* m_newTemplatePanel = nullptr;
    QWidget* m_newFilePanel = nullptr;
    QLineEdit* m_currentName = nullptr;
    QLineEdit* m_newName = nullptr;
    QLineEdit* m_newTemplateName = nullptr;
    QLineEdit* m_newFileTemplateName = nullptr;
    QPushButton* m_okButton = nullptr;
    QPushButton* m_cancelButton = nullptr;
    Mode m_mode = Mode::NewTemplate;
    Accept m_accept;
    QEventLoop* m_loop = nullptr;
};
