// The transform commands of the main window: what they write back, where the caret ends, and
// which of them mark the document modified.

#include "mainwindow/mainwindow.h"
#include "editor/editorview.h"
#include "windows/optionsdialog.h"

#include <QSpinBox>
#include <QTemporaryDir>
#include <QTest>

class TestTransformCommands : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_dir;
    std::unique_ptr<MainWindow> m_form;

    EditorView* editor() { return m_form->editor(); }
    bool modified() { return m_form->documents().isModified(m_form->documents().tabIndex()); }
    void select(qint64 from, qint64 to)
    {
        editor()->SendScintilla(QsciScintillaBase::SCI_SETSEL, static_cast<unsigned long>(from), static_cast<long>(to));
    }

private slots:
    void init()
    {
        qputenv("TMPDIR", m_dir.path().toLocal8Bit());
        m_form = std::make_unique<MainWindow>();
    }
    void cleanup() { m_form.reset(); }

    void caseAndReverseReplaceTheSelectionAndMarkModified()
    {
        editor()->setBytes("abc caf\xc3\xa9 xyz");
        select(4, 9); // "café"
        m_form->Con1Click();
        QCOMPARE(editor()->bytes(), QByteArray("abc CAF\xc3\xa9 xyz"));
        QCOMPARE(editor()->selStart(), 9);
        QCOMPARE(editor()->selLength(), 0);
        QVERIFY(modified());

        select(0, 3);
        m_form->Reverse1Click();
        QCOMPARE(editor()->bytes(), QByteArray("cba CAF\xc3\xa9 xyz"));
        select(4, 9);
        m_form->Reverse1Click(); // é stays one character
        QCOMPARE(editor()->bytes(), QByteArray("cba \xc3\xa9"
                                               "FAC xyz"));
        select(0, 14);
        m_form->ConverttoLowercase1Click();
        QCOMPARE(editor()->bytes(), QByteArray("cba \xc3\xa9"
                                               "fac xyz"));
    }

    void undoTakesATransformBackInOneStep()
    {
        editor()->setBytes("ab\r\ncd");
        select(0, 6);
        m_form->Reverse1Click();
        QCOMPARE(editor()->bytes(), QByteArray("dc\n\rba"));
        editor()->undo();
        QCOMPARE(editor()->bytes(), QByteArray("ab\r\ncd"));
    }

    void tabsBecomeTheOptionsTabWidthWithoutMarking()
    {
        QuilletOp = new OptionsDialog;
        QuilletOp->SpinEdit1->setValue(4);
        editor()->setBytes("a\tb");
        select(0, 3);
        m_form->TabsSpaces1Click();
        QCOMPARE(editor()->bytes(), QByteArray("a    b"));
        QVERIFY(!modified());
        QuilletOp->SpinEdit1->setValue(260);
        editor()->setBytes("\t");
        select(0, 1);
        m_form->TabsSpaces1Click();
        QCOMPARE(editor()->bytes(), QByteArray("    "));
        delete QuilletOp;
        QuilletOp = nullptr;
    }

    void codePageConversionsRoundTripAndDoNotMark()
    {
        QByteArray oem;
        for (int b = 0x20; b < 0x100; ++b)
            oem.append(static_cast<char>(b));
        editor()->setBytes(oem);
        editor()->setCaret(10);
        m_form->OEMANSI1Click();
        QVERIFY(editor()->bytes() != oem);
        QVERIFY(editor()->bytes().contains("\xc3\xa9")); // 0x82 is é
        QCOMPARE(editor()->selStart(), 0);
        m_form->ANSIOEM1Click();
        QCOMPARE(editor()->bytes(), oem);
        QVERIFY(!modified());

        editor()->setBytes("price \xe2\x82\xac 5 \xff");
        m_form->ANSIOEM1Click();
        QCOMPARE(editor()->bytes(), QByteArray("price ? 5 ?")); // no euro in the DOS set; a stray byte
    }

    void adjustLineBreaksLeavesCrLfTextAlone()
    {
        editor()->setBytes("a\nb\rc\r\n");
        m_form->AdjustLineBreaks1Click();
        QCOMPARE(editor()->bytes(), QByteArray("a\r\nb\r\nc\r\n"));
        QVERIFY(!modified());
        editor()->clearModifiedFlag();
        m_form->AdjustLineBreaks1Click();
        QVERIFY(!editor()->modifiedFlag()); // nothing to change, nothing written
    }
};

QTEST_MAIN(TestTransformCommands)
#include "tst_transformcommands.moc"
