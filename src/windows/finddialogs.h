#pragma once
// The modeless Find and Find-and-Replace dialogs. They only hold the search state (texts and
// option boxes) and report their buttons; the main window runs the searches.

#include "commands/findreplace.h"

#include <QDialog>

class QCheckBox;
class QLineEdit;
class QPushButton;
class QRadioButton;

class FindDialog : public QDialog
{
    Q_OBJECT

public:
    explicit FindDialog(QWidget* parent = nullptr);

    QString findText() const;
    void setFindText(const QString& text);
    // The two options a search honours; the Up/Down choice is shown but never used.
    findreplace::Options options() const;
    QCheckBox* wholeWordBox() const { return m_wholeWord; }
    QCheckBox* matchCaseBox() const { return m_matchCase; }
    QRadioButton* upButton() const { return m_up; }
    QRadioButton* downButton() const { return m_down; }
    QPushButton* findNextButton() const { return m_findNext; }
    QLineEdit* findEdit() const { return m_findEdit; }

    // Shows the dialog modeless, or brings it to the front when it is open already.
    void execute();

signals:
    // Find Next was pressed.
    void find();

protected:
    // The replace dialog adds its rows before the options.
    FindDialog(const QString& title, bool withReplace, QWidget* parent);
    QLineEdit* m_replaceEdit = nullptr;
    QPushButton* m_replace = nullptr;
    QPushButton* m_replaceAll = nullptr;

private:
    QLineEdit* m_findEdit = nullptr;
    QCheckBox* m_wholeWord = nullptr;
    QCheckBox* m_matchCase = nullptr;
    QRadioButton* m_up = nullptr;
    QRadioButton* m_down = nullptr;
    QPushButton* m_findNext = nullptr;
};

class ReplaceDialog : public FindDialog
{
    Q_OBJECT

public:
    explicit ReplaceDialog(QWidget* parent = nullptr);

    QString replaceText() const;
    void setReplaceText(const QString& text);
    QLineEdit* replaceEdit() const { return m_replaceEdit; }
    QPushButton* replaceButton() const { return m_replace; }
    QPushButton* replaceAllButton() const { return m_replaceAll; }

signals:
    // Replace (all == false) or Replace All (all == true) was pressed.
    void replace(bool all);
};
