#include "documents/recoveryjournal.h"

#include "../support/sandbox.h"

#include <QDir>
#include <QFileInfo>
#include <QTest>

#include <sys/wait.h>
#include <unistd.h>

namespace {
RecoveryRecord recordFor(RecoveryJournal& journal, const QString& caption, const QString& path = QString())
{
    RecoveryRecord r;
    r.key = journal.newKey();
    r.caption = caption;
    r.path = path;
    r.caret = 3;
    r.written = QDateTime::currentDateTime();
    return r;
}

// Runs a journal in a child process that writes one record and dies without cleaning up, as a
// killed program would.
void abandonRunWith(const QString& folder, const QString& caption, const QByteArray& text)
{
    const pid_t child = fork();
    if (child == 0) {
        RecoveryJournal journal(folder);
        if (journal.start()) {
            journal.write(recordFor(journal, caption, QStringLiteral("/x/") + caption), text);
            journal.waitUntilIdle();
        }
        _exit(0);
    }
    int status = 0;
    waitpid(child, &status, 0);
}
} // namespace

class TestRecoveryJournal : public QObject
{
    Q_OBJECT

private slots:
    void keepsTheLatestCopyUntilDroppedAndLeavesNothingAtTheEnd()
    {
        Sandbox sandbox;
        const QString folder = sandbox.filePath(QStringLiteral("state/recovery"));
        RecoveryJournal journal(folder);
        QVERIFY(journal.start());
        QCOMPARE(QFileInfo(folder).permissions() & (QFile::ReadOther | QFile::ReadGroup), QFile::Permissions());

        const RecoveryRecord untitled = recordFor(journal, QStringLiteral("Untitled"));
        const RecoveryRecord named = recordFor(journal, QStringLiteral("a.txt"), QStringLiteral("/home/u/a.txt"));
        journal.write(untitled, QByteArray("first"));
        journal.write(untitled, QByteArray("second\0\r\n\xff", 10));
        journal.write(named, QByteArray("named"));
        journal.waitUntilIdle();

        const QList<RecoveryRecord> kept = journal.records();
        QCOMPARE(kept.size(), 2);
        QCOMPARE(kept[0].caption, QStringLiteral("Untitled"));
        QVERIFY(kept[0].path.isEmpty());
        QCOMPARE(kept[1].path, QStringLiteral("/home/u/a.txt"));
        QCOMPARE(kept[1].caret, 3);
        QCOMPARE(journal.textOf(kept[0]), QByteArray("second\0\r\n\xff", 10));

        journal.drop(untitled.key);
        journal.waitUntilIdle();
        QCOMPARE(journal.records().size(), 1);

        journal.finish();
        QVERIFY(!QFileInfo::exists(folder));
    }

    void adoptsOnlyTheRecordsOfRunsThatAreGone()
    {
        Sandbox sandbox;
        const QString folder = sandbox.filePath(QStringLiteral("recovery"));
        RecoveryJournal alive(folder);
        QVERIFY(alive.start());
        alive.write(recordFor(alive, QStringLiteral("alive.txt")), "still open");
        alive.waitUntilIdle();
        const QByteArray text("dead\0text", 9);
        abandonRunWith(folder, QStringLiteral("dead.txt"), text);

        RecoveryJournal next(folder);
        QVERIFY(next.start());
        const QList<RecoveryRecord> adopted = next.adoptAbandoned();
        QCOMPARE(adopted.size(), 1);
        QCOMPARE(adopted[0].caption, QStringLiteral("dead.txt"));
        QCOMPARE(adopted[0].path, QStringLiteral("/x/dead.txt"));
        QCOMPARE(next.textOf(adopted[0]), text);
        // Adopted records belong to the new run: a third copy finds nothing to take.
        QCOMPARE(next.records().size(), 1);
        RecoveryJournal third(folder);
        QVERIFY(third.start());
        QVERIFY(third.adoptAbandoned().isEmpty());
        QCOMPARE(alive.records().size(), 1);
        // The dead run's folder is gone; the three live ones remain.
        QCOMPARE(QDir(folder).entryList(QDir::Dirs | QDir::NoDotAndDotDot).size(), 3);
    }
};

QTEST_GUILESS_MAIN(TestRecoveryJournal)
#include "tst_recoveryjournal.moc"
