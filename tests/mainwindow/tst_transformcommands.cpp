// The transform commands of the main window: what they write back, where the caret ends, and
// which of them mark the document modified.

#include "mainwindow/textcontroller.h"
#include "support/mainwindowfixture.h"

#include <QSpinBox>

class TestTransformCommands : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<MainWindowFixture> m_fixture;
    MainWindow* m_form = nullptr;

    EditorView* editor() { return m_fixture->editor(); }
    bool modified() { return m_fixture->currentModified(); }
    void select(qint64 from, qint64 to) { m_fixture->select(from, to); }

private slots:
    void init()
    {
        m_fixture = std::make_unique<MainWindowFixture>();
        m_form = &m_fixture->create();
    }
    void cleanup() { m_fixture.reset(); }

    void caseAndReverseReplaceTheSelectionAndMarkModified()
    {
        editor()->setBytes("abc caf\xc3\xa9 xyz");
        select(4, 9); // "café"
        m_form->text().convertToUpperCase();
        QCOMPARE(editor()->bytes(), QByteArray("abc CAF\xc3\xa9 xyz"));
        QCOMPARE(editor()->selStart(), 9);
        QCOMPARE(editor()->selLength(), 0);
        QVERIFY(modified());

        select(0, 3);
        m_form->text().reverseSelection();
        QCOMPARE(editor()->bytes(), QByteArray("cba CAF\xc3\xa9 xyz"));
        select(4, 9);
        m_form->text().reverseSelection(); // é stays one character
        QCOMPARE(editor()->bytes(), QByteArray("cba \xc3\xa9"
                                               "FAC xyz"));
        select(0, 14);
        m_form->text().convertToLowerCase();
        QCOMPARE(editor()->bytes(), QByteArray("cba \xc3\xa9"
                                               "fac xyz"));
    }

    void undoTakesATransformBackInOneStep()
    {
        editor()->setBytes("ab\r\ncd");
        select(0, 6);
        m_form->text().reverseSelection();
        QCOMPARE(editor()->bytes(), QByteArray("dc\n\rba"));
        editor()->undo();
        QCOMPARE(editor()->bytes(), QByteArray("ab\r\ncd"));
    }

    void tabsBecomeTheOptionsTabWidthWithoutMarking()
    {
        OptionsDialog& options = m_fixture->withOptions();
        options.tabWidthSpin()->setValue(4);
        editor()->setBytes("a\tb");
        select(0, 3);
        m_form->text().tabsToSpaces();
        QCOMPARE(editor()->bytes(), QByteArray("a    b"));
        QVERIFY(!modified());
        options.tabWidthSpin()->setValue(260);
        editor()->setBytes("\t");
        select(0, 1);
        m_form->text().tabsToSpaces();
        QCOMPARE(editor()->bytes(), QByteArray("    "));
    }

    void codePageConversionsRoundTripAndDoNotMark()
    {
        QByteArray oem;
        for (int b = 0x20; b < 0x100; ++b)
            oem.append(static_cast<char>(b));
        editor()->setBytes(oem);
        editor()->setCaret(10);
        m_form->text().oemToAnsi();
        QVERIFY(editor()->bytes() != oem);
        QVERIFY(editor()->bytes().contains("\xc3\xa9")); // 0x82 is é
        QCOMPARE(editor()->selStart(), 0);
        m_form->text().ansiToOem();
        QCOMPARE(editor()->bytes(), oem);
        QVERIFY(!modified());

        editor()->setBytes("price \xe2\x82\xac 5 \xff");
        m_form->text().ansiToOem();
        QCOMPARE(editor()->bytes(), QByteArray("price ? 5 ?")); // no euro in the DOS set; a stray byte
    }

    void adjustLineBreaksLeavesCrLfTextAlone()
    {
        editor()->setBytes("a\nb\rc\r\n");
        m_form->text().adjustLineBreaks();
        QCOMPARE(editor()->bytes(), QByteArray("a\r\nb\r\nc\r\n"));
        QVERIFY(!modified());
        editor()->clearModifiedFlag();
        m_form->text().adjustLineBreaks();
        QVERIFY(!editor()->modifiedFlag()); // nothing to change, nothing written
    }
};

QTEST_MAIN(TestTransformCommands)
#include "tst_transformcommands.moc"
