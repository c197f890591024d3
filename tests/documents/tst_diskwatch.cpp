#include "documents/diskwatch.h"

#include "../support/sandbox.h"

#include <QFileInfo>
#include <QSignalSpy>
#include <QTest>

#include <fcntl.h>
#include <sys/stat.h>

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

    // Same size, the old modification time put back to the nanosecond, perhaps even the old
    // inode number: only the change time or the inode tells, and the watch still says so.
    void noticesAReplacementWithTheOldSizeAndTime_data()
    {
        QTest::addColumn<QString>("how");
        QTest::newRow("written in place") << "in place";
        QTest::newRow("deleted and made again") << "deleted";
        QTest::newRow("renamed over it") << "renamed";
    }
    void noticesAReplacementWithTheOldSizeAndTime()
    {
        QFETCH(QString, how);
        Sandbox sandbox;
        const QString path = sandbox.filePath(QStringLiteral("a.txt"));
        writeFile(path, "old text");
        struct stat old = {};
        QCOMPARE(::stat(QFile::encodeName(path).constData(), &old), 0);
        DiskWatch watch;
        QSignalSpy changes(&watch, &DiskWatch::changed);
        watch.remember(path);
        QTest::qWait(20); // a tick of the file system's clock, so the change time can differ
        const QString written = how == QLatin1String("renamed") ? sandbox.filePath(QStringLiteral("new.tmp")) : path;
        if (how == QLatin1String("deleted"))
            QVERIFY(QFile::remove(path));
        writeFile(written, "new text");
        const struct timespec times[2] = {old.st_atim, old.st_mtim};
        QCOMPARE(::utimensat(AT_FDCWD, QFile::encodeName(written).constData(), times, 0), 0);
        if (written != path)
            QCOMPARE(::rename(QFile::encodeName(written).constData(), QFile::encodeName(path).constData()), 0);
        QVERIFY(watch.changedOnDisk(path));
        QTRY_COMPARE(changes.size(), 1);
        QCOMPARE(changes[0], (QVariantList{path, false}));
    }
};

QTEST_GUILESS_MAIN(TestDiskWatch)
#include "tst_diskwatch.moc"
