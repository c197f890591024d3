// Documents larger than the options window's limit open unwrapped, each on its own: the word-wrap
// panel and the message say so, Ctrl+W wraps it in the background, and jumping to the end
// meanwhile does not wait for the whole text to be wrapped.

#include "editor/editorviews.h"
#include "mainwindow/filecontroller.h"
#include "mainwindow/viewcontroller.h"
#include "support/mainwindowfixture.h"

#include <QFileInfo>
#include <QProgressBar>
#include <QSpinBox>

class TestLargeDocument : public MainWindowTest
{
    Q_OBJECT

    // Lines long enough to take several screen lines each once wrapped.
    static QByteArray text(qint64 bytes)
    {
        QByteArray line;
        for (int i = 0; line.size() < 400; ++i)
            line += "word" + QByteArray::number(i % 10) + ' ';
        line += "\r\n";
        QByteArray all;
        while (all.size() < bytes)
            all += line;
        return all;
    }

    qint64 wrapped() const { return EditorViews::wrappedLines(m_fixture->editor()); }
    qint64 lines() const { return m_fixture->editor()->send(SCI_GETLINECOUNT); }

private slots:
    void init() { newFixture(); }
    void cleanup() { m_fixture.reset(); }

    void largeDocumentOpensUnwrappedAndCtrlWWrapsIt()
    {
        // 1 MiB is the limit; the option is read as each file is opened.
        m_fixture->withOptions().largeDocumentSpin()->setValue(1);
        const QString big = makeFile(QStringLiteral("big.txt"), text(3 << 20));
        const QString small = makeFile(QStringLiteral("small.txt"), text(1000));
        QVERIFY(start({big, small}));
        QAction* wordWrap = action("WordWrap1");

        // The small document (shown last) wraps as before.
        QCOMPARE(docs().current().path, small);
        QVERIFY(editor()->wordWrap());
        QCOMPARE(status()->panelText(StatusBar::WordWrap), QStringLiteral("  W-W"));

        form()->view().previousDocument();
        QCOMPARE(docs().current().path, big);
        QVERIFY(!editor()->wordWrap());
        QVERIFY(wordWrap->isChecked()); // the setting itself stays on
        QCOMPARE(status()->panelText(StatusBar::WordWrap), QStringLiteral(" Large"));
        QVERIFY(status()->panelText(StatusBar::Message).contains(QStringLiteral("Ctrl+W")));
        form()->view().statusPanelHovered(StatusBar::WordWrap);
        QVERIFY(status()->panelText(StatusBar::Message).contains(QStringLiteral("not Word-Wrapped")));

        // Ctrl+W wraps it in the background: the command returns at once, and Ctrl+End goes to
        // the end without wrapping everything before it. (In a proportional font, which is laid
        // out rather than measured by character widths, the wrap lasts long enough to be seen.)
        form()->editorViews()->setFont(QFont(QStringLiteral("DejaVu Sans"), 10));
        wordWrap->trigger();
        QCoreApplication::processEvents();
        QVERIFY(editor()->wordWrap());
        QVERIFY(wordWrap->isChecked());
        QCOMPARE(status()->panelText(StatusBar::WordWrap), QStringLiteral("  W-W"));
        QVERIFY(wrapped() < lines());
        QTest::keyClick(editor(), Qt::Key_End, Qt::ControlModifier);
        QCOMPARE(editor()->selStart(), editor()->textLength());
        QVERIFY(wrapped() < lines());
        // Moving on from there, by line or by page, does not wait either.
        const qint64 lastLine = lines() - 1;
        QTest::keyClick(editor(), Qt::Key_Up);
        QCOMPARE(editor()->lineFromPosition(editor()->selStart()), lastLine - 1);
        QTest::keyClick(editor(), Qt::Key_PageUp, Qt::ShiftModifier);
        QVERIFY(editor()->lineFromPosition(editor()->selStart()) < lastLine - 1);
        QVERIFY(editor()->selLength() > 0);
        QVERIFY(wrapped() < lines());
        QTRY_VERIFY(status()->progressBar()->isVisible());
        // Its progress goes with it to another tab and comes back with it.
        form()->view().nextDocument();
        QTRY_VERIFY(!status()->progressBar()->isVisible());
        QVERIFY(status()->panelText(StatusBar::Message) != QStringLiteral("Done!"));
        form()->view().previousDocument();
        QTRY_VERIFY(status()->progressBar()->isVisible());
        QTRY_VERIFY_WITH_TIMEOUT(wrapped() == lines(), 60000);
        QTRY_VERIFY(!status()->progressBar()->isVisible());
        QCOMPARE(status()->panelText(StatusBar::Message), QStringLiteral("Done!"));

        // The other documents keep the setting; Ctrl+W now turns it off as always.
        form()->view().nextDocument();
        QVERIFY(editor()->wordWrap());
        wordWrap->trigger();
        QVERIFY(!editor()->wordWrap());
        QVERIFY(!wordWrap->isChecked());
    }

    void aWrapThatCannotBeMeasuredIsNotWaitedFor()
    {
        // No line is wider than the window, so no line tells how far the wrap has come: while it
        // may still run, Ctrl+End goes to the end without letting the editor wrap all before it.
        m_fixture->withOptions().largeDocumentSpin()->setValue(1);
        QByteArray all;
        while (all.size() < (2 << 20))
            all += "a short line " + QByteArray::number(all.size()) + "\r\n";
        QVERIFY(start({makeFile(QStringLiteral("big.txt"), all)}));
        action("WordWrap1")->trigger();
        QVERIFY(editor()->wordWrap());
        QCOMPARE(wrapped(), -1);
        QTest::keyClick(editor(), Qt::Key_End, Qt::ControlModifier);
        QCOMPARE(editor()->selStart(), editor()->textLength());
        QTRY_VERIFY(status()->progressBar()->isVisible());
        QCOMPARE(status()->progressBar()->maximum(), 0); // busy, no share to show
        // It is taken as done after a generous estimate.
        QTRY_VERIFY_WITH_TIMEOUT(!status()->progressBar()->isVisible(), 10000);
        QCOMPARE(status()->panelText(StatusBar::Message), QStringLiteral("Done!"));
    }

    void aLargeDocumentOpenedAtStartSaysSo()
    {
        m_fixture->withOptions().largeDocumentSpin()->setValue(1);
        QVERIFY(start({makeFile(QStringLiteral("big.txt"), text(3 << 20))}));
        QVERIFY(status()->panelText(StatusBar::Message).startsWith(QStringLiteral("Large document")));
    }

    void aLargeFileComesInWhileTheWindowAnswers()
    {
        const QByteArray content = text(20 << 20);
        const QString big = makeFile(QStringLiteral("big.txt"), content);
        QVERIFY(start());
        auto partial = [this] { return editor()->send(SCI_GETLENGTH) < 20 << 20; };

        // It comes in by itself, between events, and is then the saved text with no undo step.
        form()->files().openPath(big);
        QVERIFY(editor()->loading());
        QVERIFY(partial());
        QVERIFY(!docs().isModified(docs().currentIndex()));
        QTRY_VERIFY(!editor()->loading());
        QCOMPARE(editor()->bytes(), content);
        QVERIFY(!editor()->modifiedFlag());
        QVERIFY(!editor()->send(SCI_CANUNDO));

        // A key typed meanwhile waits for the whole text; so does a switch, which writes the
        // text out.
        form()->files().openPath(big);
        QVERIFY(partial());
        QTest::keyClick(editor(), Qt::Key_X);
        QCOMPARE(editor()->bytes(), "x" + content);
        QVERIFY(editor()->send(SCI_CANUNDO));
        form()->files().openPath(big);
        QVERIFY(partial());
        form()->view().previousDocument();
        QCOMPARE(QFileInfo(docs().at(3).storeFile).size(), content.size());

        // A read that fails part way leaves a document that Save never writes over its file
        // unasked.
        form()->view().nextDocument();
        emit editor()->loadFailed(QStringLiteral("Input/output error"));
        editor()->insertBytes(0, "typed ");
        docs().markCurrentModified();
        prompts().answers = {Answer::No};
        form()->files().save();
        QCOMPARE(prompts().questions.size(), 1);
        QVERIFY(prompts().questions.first().contains(QStringLiteral("Input/output error")));
        QCOMPARE(QFileInfo(big).size(), content.size());
    }

    // A read that fails part way through a sliced load is not the end of the file: the document
    // counts as not loaded, and Save asks before it replaces the file.
    void aReadThatFailsPartWayIsNotTheEndOfTheFile()
    {
        // Windows-1252 is decoded as it loads: a byte it lacks, written once the load has begun,
        // fails the read there.
        QByteArray content;
        while (content.size() < (12 << 20))
            content += "caf\xE9 au lait\r\n";
        const QString big = makeFile(QStringLiteral("big.txt"), content);
        QVERIFY(start());
        form()->files().openPath(big);
        QVERIFY(editor()->loading());
        content[content.size() - 3] = '\x81';
        QFile file(big);
        QVERIFY(file.open(QIODevice::ReadWrite) && file.seek(content.size() - 3) && file.write("\x81") == 1);
        file.close();
        QTest::keyClick(editor(), Qt::Key_X); // waits for the rest of the load
        QVERIFY(!editor()->loading());
        QVERIFY(status()->panelText(StatusBar::Message).startsWith(QStringLiteral("File not loaded")));
        prompts().answers = {Answer::No};
        form()->files().save();
        QCOMPARE(prompts().questions.size(), 1);
        QVERIFY(prompts().questions.first().contains(QStringLiteral("was not loaded")));
        QVERIFY(fileBytes(big) == content);
    }

    void noLimitOpensEveryDocumentWrapped()
    {
        m_fixture->withOptions().largeDocumentSpin()->setValue(0);
        const QString big = makeFile(QStringLiteral("big.txt"), text(3 << 20));
        QVERIFY(start({big}));
        QCOMPARE(docs().current().path, big);
        QCOMPARE(status()->panelText(StatusBar::Message), QStringLiteral("Welcome to Quillet!"));
        QVERIFY(editor()->wordWrap());
        QCOMPARE(status()->panelText(StatusBar::WordWrap), QStringLiteral("  W-W"));
    }
};

QTEST_MAIN(TestLargeDocument)
#include "tst_largedocument.moc"
