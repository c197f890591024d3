// The ".LOG" stamp appended to a file whose first line is exactly ".LOG" as it is opened.

#include "mainwindow/datecontroller.h"
#include "mainwindow/filecontroller.h"
#include "support/mainwindowfixture.h"

class TestLogStamp : public QObject
{
    Q_OBJECT

private slots:
    void init() { m_fixture = std::make_unique<MainWindowFixture>(); }
    void cleanup() { m_fixture.reset(); }

    void stampFollowsTheFirstLine_data()
    {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<QByteArray>("expected");
        QTest::newRow("only .LOG") << QByteArray(".LOG") << QByteArray(".LOG\r\n>>fixed");
        QTest::newRow(".LOG and a break") << QByteArray(".LOG\r\n") << QByteArray(".LOG\r\n>>fixed\r\n");
        QTest::newRow("text after") << QByteArray(".LOG\nnotes") << QByteArray(".LOG\nnotes\r\n>>fixed");
        QTest::newRow("lower case") << QByteArray(".log\r\n") << QByteArray(".log\r\n");
        QTest::newRow("trailing blank") << QByteArray(".LOG \r\n") << QByteArray(".LOG \r\n");
        QTest::newRow("blank before") << QByteArray(" .LOG") << QByteArray(" .LOG");
        QTest::newRow("longer word") << QByteArray(".LOGS") << QByteArray(".LOGS");
    }

    void stampFollowsTheFirstLine()
    {
        QFETCH(QByteArray, content);
        QFETCH(QByteArray, expected);
        const QString path = m_fixture->makeFile(QStringLiteral("log.txt"), content);
        MainWindow& form = m_fixture->create();
        form.dates().setStampFormat(QStringLiteral("'fixed'"));
        form.files().openPath(path);
        QCOMPARE(form.editor()->bytes(), expected);
        // The document stays unmodified; only the editor knows it changed.
        QVERIFY(!form.documents().isModified(form.documents().currentIndex()));
        QCOMPARE(form.editor()->modifiedFlag(), expected != content);
        if (expected != content)
            QCOMPARE(form.editor()->selStart(), form.editor()->textLength());
    }

    void stampUsesTheShortDateAndLongTimeBeforeAnyInsertion()
    {
        const QString path = m_fixture->makeFile(QStringLiteral("first.txt"), ".LOG\r\n");
        MainWindow& form = m_fixture->create();
        QVERIFY(form.dates().stampFormat().isEmpty());
        form.files().openPath(path);
        const QByteArray text = form.editor()->bytes();
        QVERIFY2(text.startsWith(".LOG\r\n>>") && text.endsWith("\r\n") && text.size() > 12, text.constData());
    }

private:
    std::unique_ptr<MainWindowFixture> m_fixture;
};

QTEST_MAIN(TestLogStamp)
#include "tst_logstamp.moc"
