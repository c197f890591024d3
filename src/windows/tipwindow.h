#pragma once
// Quillet Tips: created at start, hidden. Shows one tip picked at random from a list the user can
// extend and prune ("&Add Tip" enters edit mode, where the list and an input field take the tip
// panel's place; "&Close" leaves it). The list and "Show this dialog box next time" are stored
// properties (section "Tips"); while that box is checked the window comes up every time the main
// window is shown: at start and after each restore from the notification area.

#include "settings/tipstore.h"
#include "windows/windowbase.h"

class QCheckBox;
class QFrame;
class QLineEdit;
class QListWidget;
class QPlainTextEdit;
class QPushButton;

class TipOfTheDayWindow : public WindowBase
{
    Q_OBJECT

public:
    explicit TipOfTheDayWindow(QWidget* parent = nullptr);
    ~TipOfTheDayWindow() override;

    // "Show this dialog box next time".
    bool showAtStart() const;
    void setShowAtStart(bool on);

    // The main window has been shown (at start, or restored from the notification area): the
    // window comes up when its box is checked.
    void showAfterMainWindowShown();
    // On demand (the Help menu, the About window): shown and brought to the front.
    void showTip();

    const QStringList& tips() const { return m_store.tips(); }
    void setTips(const QStringList& tips);
    QString shownTip() const;
    bool editing() const { return m_editing; }
    TipStore& store() { return m_store; }

    QPushButton* closeButton() const { return m_closeButton; }
    QPushButton* nextButton() const { return m_nextButton; }
    QPushButton* addButton() const { return m_addButton; }
    QPushButton* removeButton() const { return m_removeButton; }
    QLineEdit* tipEdit() const { return m_edit; }
    QListWidget* tipList() const { return m_list; }

    // The buttons' work.
    void pickTip();
    void pressClose();
    void pressAddTip();
    void pressRemoveTip();

protected:
    void showEvent(QShowEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void setEditing(bool on);
    void fillList();

    TipStore m_store;
    QFrame* m_panel = nullptr;
    QPlainTextEdit* m_tipText = nullptr;
    QCheckBox* m_showAtStart = nullptr;
    QPushButton* m_closeButton = nullptr;
    QPushButton* m_nextButton = nullptr;
    QPushButton* m_addButton = nullptr;
    QPushButton* m_removeButton = nullptr;
    QLineEdit* m_edit = nullptr;
    QListWidget* m_list = nullptr;
    bool m_editing = false;
};
