// The Goto Line window as the user types into it: Enter is OK, Esc is Cancel, Enter on a focused
// button presses that button, and a number outside the field's range is brought into it.

#include "editor/editorview.h"
#include "windows/gotolinedialog.h"

#include <QPushButton>
#include <QSpinBox>
#include <QTest>
#include <QTimer>

#include <functional>

class TestGotoLineDialog : public QObject
{
    Q_OBJECT

private:
    // Opens the window for `editor` and runs `typing` once it is shown; the keys must close it.
    static void run(GotoLineDialog& box, EditorView& editor, const std::function<void()>& typing)
    {
        bool closedByKeys = false;
        QTimer::singleShot(0, &box, [&] {
            typing();
            closedByKeys = !box.isVisible();
            box.close(); // never left hanging
        });
        box.execute(editor);
        QVERIFY(closedByKeys);
    }

private slots:
    void keysAndOutOfRangeEntries()
    {
        EditorView editor;
        editor.setBytes("1\r\n2\r\n3\r\n4\r\n5\r\n");
        GotoLineDialog box;
        box.setValue(1);

        // A number above the line count goes to the last line; Enter presses OK.
        run(box, editor, [&] {
            QTest::keyClick(box.lineSpin(), Qt::Key_A, Qt::ControlModifier);
            QTest::keyClicks(box.lineSpin(), QStringLiteral("99"));
            QTest::keyClick(box.lineSpin(), Qt::Key_Return);
        });
        QCOMPARE(editor.lineFromPosition(editor.selStart()), 4);
        QCOMPARE(box.value(), 5);

        // Esc closes and changes nothing.
        editor.setCaret(0);
        run(box, editor, [&] {
            QTest::keyClicks(box.lineSpin(), QStringLiteral("3"));
            QTest::keyClick(box.lineSpin(), Qt::Key_Escape);
        });
        QCOMPARE(editor.selStart(), 0);

        // Enter on the focused Cancel button is Cancel, not OK.
        run(box, editor, [&] {
            box.lineSpin()->setValue(2);
            box.cancelButton()->setFocus();
            QTest::keyClick(box.cancelButton(), Qt::Key_Return);
        });
        QCOMPARE(editor.selStart(), 0);

        // Leaving the field brings the entry into range too; the keypad's Enter is OK.
        run(box, editor, [&] {
            QTest::keyClick(box.lineSpin(), Qt::Key_A, Qt::ControlModifier);
            QTest::keyClicks(box.lineSpin(), QStringLiteral("77"));
            box.okButton()->setFocus();
            QCOMPARE(box.lineSpin()->text(), QStringLiteral("5"));
            QTest::keyClick(box.lineSpin(), Qt::Key_Enter, Qt::KeypadModifier);
        });
        QCOMPARE(editor.lineFromPosition(editor.selStart()), 4);
    }
};

QTEST_MAIN(TestGotoLineDialog)
#include "tst_gotolinedialog.moc"
