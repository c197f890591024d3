#pragma once
// Goto Line... : created at start, hidden until asked for, shown modally. The spin field's
// value, bounds and step are stored properties (section "Scroll"), so the last line number
// entered is offered again, also after a restart.

#include "windows/windowbase.h"

class QEventLoop;
class QPushButton;
class QSpinBox;
class EditorView;

class GotoLineDialog : public WindowBase
{
    Q_OBJECT

public:
    explicit GotoLineDialog(QWidget* parent = nullptr);

    // The spin field's stored properties. When both bounds are equal (an empty document) any
    // number is accepted as typed.
    int value() const;
    void setValue(int value);
    int minValue() const { return m_minValue; }
    void setMinValue(int value);
    int maxValue() const { return m_maxValue; }
    void setMaxValue(int value);
    int increment() const;
    void setIncrement(int value);

    QSpinBox* lineSpin() const { return m_lineSpin; }
    QPushButton* okButton() const { return m_okButton; }
    QPushButton* cancelButton() const { return m_cancelButton; }

    // The number of lines of `editor` as its Lines list counts them: an empty line after a
    // final line break is not counted, and an empty text has none.
    static int lineCount(const EditorView& editor);
    // Puts the caret at the start of line `number` of `editor`, counted from 1 as the status bar
    // shows it (0 also means the first line), and scrolls it into view.
    static void gotoLine(EditorView& editor, int number);

    // Shows the window modally for `editor`; returns once it is closed. OK moves the caret.
    void execute(EditorView& editor);

protected:
    void hideEvent(QHideEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    // Each showing offers the lines `editor` has.
    void limitToLinesOf(const EditorView& editor);
    // OK: moves the caret of `editor` to the line entered.
    void goToEnteredLine(EditorView& editor);
    void applyRange();
    void pressOk();

    QSpinBox* m_lineSpin = nullptr;
    QPushButton* m_okButton = nullptr;
    QPushButton* m_cancelButton = nullptr;
    int m_minValue = 0;
    int m_maxValue = 1;
    EditorView* m_target = nullptr;
    QEventLoop* m_loop = nullptr;
};
