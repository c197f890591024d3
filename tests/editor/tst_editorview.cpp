// The editor control on its own: edits are reported for every change, undo and redo included;
// screen readers are answered by the program's own interface, in terms of the caret's line or the
// lines on screen, so a large document answers like a small one; on a line of megabytes the caret
// does not blink and a paint does not re-check the line.

#include "editor/editoraccessible.h"
#include "editor/editorview.h"

#include <QAccessible>
#include <QSignalSpy>
#include <QTest>

class TestEditorView : public QObject
{
    Q_OBJECT

private slots:
    void everyChangeIsReported()
    {
        EditorView editor;
        editor.setBytes(QByteArray("one\r\ntwo\r\n"));
        QSignalSpy changed(&editor, &EditorView::textChanged);
        QSignalSpy edited(&editor, &EditorView::userEdited);

        editor.insertBytes(3, "!");
        QCOMPARE(changed.count(), 1);
        QCOMPARE(edited.count(), 1);
        editor.replaceRange(0, 1, "");
        QCOMPARE(changed.count(), 2);
        QCOMPARE(edited.count(), 2);
        editor.undo();
        editor.undo();
        QCOMPARE(editor.bytes(), QByteArray("one\r\ntwo\r\n"));
        editor.redo();
        QCOMPARE(changed.count(), 5);
        // Undo and redo are not the user's own edits.
        QCOMPARE(edited.count(), 2);
    }

    void screenReadersAreAnsweredAboutTheCaretsLineOfALargeDocument()
    {
        // 300,000 lines, the last ones with characters of several bytes before the caret.
        QByteArray text;
        for (int line = 0; line < 300000; ++line)
            text += "line " + QByteArray::number(line) + "\r\n";
        const QByteArray last = "caf\xc3\xa9 \xe2\x82\xac here";
        text += last;
        EditorView editor;
        editor.resize(400, 300);
        editor.show();
        editor.setBytes(text);
        editor.setCaret(text.size() - 4); // before "here"
        QVERIFY(QTest::qWaitForWindowExposed(&editor));

        QAccessibleInterface* iface = QAccessible::queryAccessibleInterface(&editor);
        QVERIFY(dynamic_cast<EditorAccessible*>(iface));
        QCOMPARE(iface->role(), QAccessible::EditableText);
        QAccessibleTextInterface* textual = iface->textInterface();
        QVERIFY(textual);
        QVERIFY(iface->editableTextInterface());

        // The text offered is the lines on screen, not the document.
        QVERIFY(textual->characterCount() < 2000);
        int start = -1;
        int end = -1;
        const int caret = textual->cursorPosition();
        QCOMPARE(textual->textAtOffset(caret, QAccessible::LineBoundary, &start, &end), QString::fromUtf8(last));
        QCOMPARE(caret - start, QString::fromUtf8("caf\xc3\xa9 \xe2\x82\xac ").size());
        QCOMPARE(textual->text(caret, caret + 4), QStringLiteral("here"));
        QCOMPARE(iface->text(QAccessible::Value), QString::fromUtf8(last));

        // Moving and selecting through the interface moves the editor's caret by characters.
        textual->setCursorPosition(start + 4);
        QCOMPARE(editor.selStart(), qint64(text.size() - last.size() + 5)); // "café" is five bytes
        textual->setSelection(0, start, start + 5);
        QCOMPARE(textual->selectionCount(), 1);
        QCOMPARE(editor.selLength(), qint64(6)); // "café " is six bytes
        int selFrom = -1;
        int selTo = -1;
        textual->selection(0, &selFrom, &selTo);
        QCOMPARE(selTo - selFrom, 5);

        // A caret far from the screen: its own line is offered.
        editor.send(SCI_GOTOPOS, 16L); // the start of "line 2"
        const int far = textual->cursorPosition();
        QCOMPARE(textual->textAtOffset(far, QAccessible::LineBoundary, &start, &end), QStringLiteral("line 2\r\n"));
        QCOMPARE(far - start, 0);
    }

    void aVeryLongLineIsLeftAloneWhileShown()
    {
        EditorView editor;
        const qint64 blinking = editor.send(SCI_GETCARETPERIOD);
        QVERIFY(blinking > 0);
        const QByteArray longLine(EditorView::BlinkingLineLimit + 1, 'a');
        editor.setBytes("short\r\n" + longLine + "\r\nshort");
        QCOMPARE(editor.send(SCI_GETCARETPERIOD), blinking);
        editor.setCaret(10);
        QCOMPARE(editor.send(SCI_GETCARETPERIOD), 0L);
        editor.setCaret(editor.textLength());
        QCOMPARE(editor.send(SCI_GETCARETPERIOD), blinking);
        // A file that is one long line: still from the moment it is loaded.
        editor.setBytes(longLine);
        QCOMPARE(editor.send(SCI_GETCARETPERIOD), 0L);

        // Once painted the text counts as styled; otherwise every later paint would compare the
        // whole line with its layout again.
        editor.resize(300, 200);
        editor.show();
        QVERIFY(QTest::qWaitForWindowExposed(&editor));
        editor.repaint();
        QCOMPARE(editor.send(SCI_GETENDSTYLED), editor.textLength());
    }
};

QTEST_MAIN(TestEditorView)
#include "tst_editorview.moc"
