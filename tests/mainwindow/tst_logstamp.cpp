// The ".LOG" stamp appended to a file whose first line is exactly ".LOG" as it is opened.

#include "mainwindow/mainwindow.h"
#include "editor/editorview.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

class TestLogStamp : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
        QVERIFY(m_dir.isValid());
        qputenv("TMPDIR", m_dir.path().toLocal8Bit());
    }

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
        const QString path = m_dir.filePath(QStringLiteral("log.txt"));
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(content);
        file.close();

        MainWindow form;
        form.setStampFormat(QStringLiteral("'fixed'"));
        form.OpenFileByPath(path);
        QCOMPARE(form.editor()->bytes(), expected);
        // The document stays unmodified; only the editor knows it changed.
        QVERIFY(!form.documents().isModified(form.documents().tabIndex()));
        QCOMPARE(form.editor()->modifiedFlag(), expected != content);
        if (expected != content)
            QCOMPARE(form.editor()->selStart(), form.editor()->textLength());
    }

    void stampUsesTheShortDateAndLongTimeBeforeAnyInsertion()
    {
        const QString path = m_dir.filePath(QStringLiteral("first.txt"));
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(".LOG\r\n");
        file.close();
        MainWindow form;
        QVERIFY(form.stampFormat().isEmpty());
        form.OpenFileByPath(path);
        const QByteArray text = form.editor()->bytes();
        QVERIFY2(text.startsWith(".LOG\r\n>>") && text.endsWith("\r\n") && text.size() > 12, text.constData());
    }

private:
    QTemporaryDir m_dir;
};

QTEST_MAIN(TestLogStamp)
#include "tst_logstamp.moc"
