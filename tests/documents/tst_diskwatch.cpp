#include "documents/diskwatch.h"

#include "../support/sandbox.h"

#include <QFileInfo>
#include <QSignalSpy>
#include <QTest>

namespace {
void writeFile(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(bytes);
}
} // namespace

class TestDiskWatch : public QObject
{
    Q_OBJECT

private slots:
    void tellsOfEachChangeByAnotherProgramOnce()
    {
        Sandbox sandbox;
        const QString path = sandbox.filePath(QStringLiteral("a.txt"));
        writeFile(path, "one");
        DiskWatch watch;
        QSignalSpy changes(&watch, &DiskWatch::changed);
        watch.remember(path);

        // The program's own save, remembered at once, is no change.
        writeFile(path, "saved by us");
        watch.remember(path);
        QTest::qWait(200);
        QCOMPARE(changes.size(), 0);
        QVERIFY(!watch.changedOnDisk(path));

        writeFile(path, "written by another program");
        QVERIFY(watch.changedOnDisk(path));
        QTRY_COMPARE(changes.size(), 1);
        QCOMPARE(changes[0], (QVariantList{path, false}));
        QTest::qWait(200);
        QCOMPARE(changes.size(), 1);

        // Replaced by a rename, as many editors save: still watched, told again.
        const QString other = sandbox.filePath(QStringLiteral("new.tmp"));
        writeFile(other, "replaced");
        QVERIFY(QFile::remove(path));
        QVERIFY(QFile::rename(other, path));
        QTRY_COMPARE(changes.size(), 2);
        writeFile(path, "and written again after the rename");
        QTRY_COMPARE(changes.size(), 3);

        QVERIFY(QFile::remove(path));
        QTRY_COMPARE(changes.size(), 4);
        QCOMPARE(changes[3], (QVariantList{path, true}));

        // Reloaded or saved again: the state now is the known one.
        writeFile(path, "back");
        watch.remember(path);
        QVERIFY(!watch.changedOnDisk(path));
    }

    // Same size, the old modification time put back, perhaps even the old inode number: only the
    // change time tells.
    void noticesAReplacementWithTheOldSizeAndTime_data()
    {
        QTest::addColumn<bool>("deletedFirst");
        QTest::newRow("written in place") << false;
        QTest::newRow("deleted and made again") << true;
    }
    void noticesAReplacementWithTheOldSizeAndTime()
    {
        QFETCH(bool, deletedFirst);
        Sandbox sandbox;
        const QString path = sandbox.filePath(QStringLiteral("a.txt"));
        writeFile(path, "old text");
        const QDateTime written = QFileInfo(path).lastModified();
        DiskWatch watch;
        watch.remember(path);
        QTest::qWait(20);
        if (deletedFirst)
            QVERIFY(QFile::remove(path));
        writeFile(path, "new text");
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadWrite) && file.setFileTime(written, QFileDevice::FileModificationTime));
        file.close();
        QVERIFY(watch.changedOnDisk(path));
    }
};

QTEST_GUILESS_MAIN(TestDiskWatch)
#include "tst_diskwatch.moc"
