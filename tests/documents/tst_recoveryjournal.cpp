#include "documents/recoveryjournal.h"
#include "documents/textchecksum.h"
#include "platform/processlock.h"

#include "../support/sandbox.h"

#include <QDir>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QScopeGuard>
#include <QTest>
#include <QThread>

#include <sys/mount.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {
// A text edited as the editor would edit it, with the journal entries and checksum the program
// keeps for it.
struct EditedText
{
    QByteArray text;
    editlog::EntryBuffer entries;
    quint64 change = 0;

    EditedText(const QByteArray& start = QByteArray()) : text(start) {}

    void edit(qint64 position, qint64 removed, const QByteArray& inserted)
    {
        const qint64 from = std::max<qint64>(0, position - TextChecksum::Context);
        change += TextChecksum::change(text.mid(from, position - from), text.mid(position, removed), inserted,
                                       text.mid(position + removed, TextChecksum::Context));
        text.replace(position, removed, inserted);
        entries.add(position, removed, inserted, text.size(), change);
    }
    // Typing runs, backspaces, cuts, pastes and replacements anywhere, the ends included.
    void editAtRandom(QRandomGenerator& random, int count)
    {
        qint64 caret = random.bounded(int(text.size()) + 1);
        for (int i = 0; i < count; ++i) {
            const int kind = random.bounded(10);
            const qint64 size = text.size();
            if (kind < 5) {
                edit(caret, 0, QByteArray(1, char('a' + random.bounded(26))));
                ++caret;
            } else if (kind < 7 && caret > 0) {
                edit(caret - 1, 1, {});
                --caret;
            } else {
                const qint64 at = random.bounded(int(size) + 1);
                const qint64 removed = random.bounded(int(std::min<qint64>(size - at, 40)) + 1);
                QByteArray inserted(random.bounded(30), '\0');
                for (char& c : inserted)
                    c = char(random.bounded(256));
                edit(at, removed, kind == 9 ? QByteArray() : inserted);
                caret = at;
            }
            caret = std::min<qint64>(caret, text.size());
        }
    }
    RecoveryRecord record(quint64 key, const QString& caption = QStringLiteral("doc.txt")) const
    {
        RecoveryRecord r;
        r.key = key;
        r.caption = caption;
        r.caret = 3;
        r.written = QDateTime::currentDateTime();
        r.length = text.size();
        r.checksumChange = change;
        return r;
    }
};

RecoveryBase textBase(const QByteArray& text)
{
    RecoveryBase base;
    base.kind = RecoveryBase::Kind::Text;
    base.text = text;
    base.length = text.size();
    return base;
}

// Runs a journal in a child process that writes one record and dies without cleaning up, as a
// killed program would.
void abandonRunWith(const QString& folder, const QString& caption, const QByteArray& text)
{
    const pid_t child = fork();
    if (child == 0) {
        RecoveryJournal journal(folder);
        if (journal.start()) {
            EditedText edited;
            edited.edit(0, 0, text);
            const RecoveryRecord record = edited.record(journal.newKey(), caption);
            journal.begin(record, RecoveryBase());
            journal.append(record, edited.entries.take());
            journal.waitUntilIdle();
        }
        _exit(0);
    }
    int status = 0;
    waitpid(child, &status, 0);
}

// A run folder as a copy of the program that wrote records before edits were journalled left it.
QString makeOldRun(const QString& folder, const QString& name, const QByteArray& lock, const QByteArray& text,
                   qint64 sparseSize = -1)
{
    const QString run = folder + QLatin1Char('/') + name;
    QDir().mkpath(run);
    QFile lockFile(run + QStringLiteral("/lock"));
    lockFile.open(QIODevice::WriteOnly);
    lockFile.write(lock);
    QFile textFile(run + QStringLiteral("/1.txt"));
    textFile.open(QIODevice::WriteOnly);
    textFile.write(text);
    if (sparseSize >= 0)
        textFile.resize(sparseSize);
    QFile record(run + QStringLiteral("/1.json"));
    record.open(QIODevice::WriteOnly);
    record.write(R"({"caption": "old.txt", "path": "/x/old.txt", "caret": 2})");
    return run;
}
} // namespace

class TestRecoveryJournal : public QObject
{
    Q_OBJECT

private slots:
    // The sum an edit changes is the sum of the edited text, wherever the edit is.
    void checksumFollowsEdits()
    {
        QRandomGenerator random(7);
        for (int round = 0; round < 40; ++round) {
            EditedText edited;
            edited.text = QByteArray(random.bounded(40), 'x');
            const quint64 start = TextChecksum::of(edited.text);
            edited.editAtRandom(random, 30);
            QCOMPARE(start + edited.change, TextChecksum::of(edited.text));
            // Fed in pieces cut anywhere, the text sums the same.
            TextChecksum pieces;
            for (qsizetype at = 0; at < edited.text.size();) {
                const qsizetype n = random.bounded(12) + 1;
                pieces.feed(QByteArrayView(edited.text).sliced(at, std::min(n, edited.text.size() - at)));
                at += n;
            }
            QCOMPARE(pieces.value(), TextChecksum::of(edited.text));
        }
        QVERIFY(TextChecksum::of("ab") != TextChecksum::of("ba"));
    }

    // Random edits handed over in batches come back exactly, on every kind of base, and still
    // once the journal has been written whole as a new base.
    void rebuildsEveryEditOnItsBase_data()
    {
        QTest::addColumn<int>("kind");
        QTest::addColumn<int>("edits");
        QTest::newRow("empty") << int(RecoveryBase::Kind::Empty) << 300;
        QTest::newRow("text") << int(RecoveryBase::Kind::Text) << 300;
        QTest::newRow("file") << int(RecoveryBase::Kind::File) << 300;
        QTest::newRow("file in Windows-1252, saved from LF") << int(RecoveryBase::Kind::File) + 10 << 300;
        QTest::newRow("journal written whole as a new base") << int(RecoveryBase::Kind::Text) << 70000;
    }
    void rebuildsEveryEditOnItsBase()
    {
        QFETCH(int, kind);
        QFETCH(int, edits);
        Sandbox sandbox;
        const QString folder = sandbox.filePath(QStringLiteral("recovery"));
        QRandomGenerator random(kind * 1000 + edits);
        EditedText edited;
        RecoveryBase base;
        const bool legacy = kind == 12;
        if (kind >= int(RecoveryBase::Kind::Text)) {
            for (int i = 0; i < 200; ++i)
                edited.text += "line " + QByteArray::number(i) + (legacy ? " caf\xC3\xA9\n" : "\n");
            base = textBase(edited.text);
        }
        if (kind % 10 == int(RecoveryBase::Kind::File)) {
            // The document's file; the legacy one in Windows-1252 with CR LF, as Save wrote its LF
            // text.
            QByteArray bytes = edited.text;
            if (legacy)
                bytes.replace("\xC3\xA9", "\xE9").replace("\n", "\r\n");
            const QString path = sandbox.filePath(QStringLiteral("doc.txt"));
            QFile file(path);
            QVERIFY(file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size());
            file.close();
            base.kind = RecoveryBase::Kind::File;
            base.file = path;
            base.fileState = platform::fileState(path);
            base.encoding = legacy ? platform::TextEncoding::Windows1252 : platform::TextEncoding::Utf8;
            base.lineEnds = legacy ? LineEnds::Lf : LineEnds::AsIs;
            base.length = edited.text.size();
        }
        quint64 key = 0;
        {
            RecoveryJournal journal(folder);
            QVERIFY(journal.start());
            key = journal.newKey();
            journal.begin(edited.record(key), base);
            for (int done = 0; done < edits;) {
                const int batch = std::min(edits - done, random.bounded(edits / 5) + 1);
                edited.editAtRandom(random, batch);
                done += batch;
                journal.append(edited.record(key), edited.entries.take());
            }
            // Copied and rewritten whole too, where that is due.
            journal.waitUntilIdle(true);
            QCOMPARE(journal.records().size(), 1);
            QCOMPARE(journal.check(journal.records().constFirst()), QString());
            QCOMPARE(journal.textOf(journal.records().constFirst()), edited.text);
            if (edits > RecoveryJournal::CompactionEntries)
                QVERIFY(QFileInfo(journal.runFolder() + QStringLiteral("/1-1.edits")).size() == 0 ||
                        !QFileInfo::exists(journal.runFolder() + QStringLiteral("/1-1.edits")));
        }
        // The run ended without finishing: the next one rebuilds the same text.
        RecoveryJournal next(folder);
        QVERIFY(next.start());
        const QList<RecoveryRecord> adopted = next.adoptAbandoned(sandbox.filePath(QStringLiteral("aside")));
        QCOMPARE(adopted.size(), 1);
        QCOMPARE(adopted[0].length, edited.text.size());
        QCOMPARE(next.check(adopted[0]), QString());
        QCOMPARE(next.textOf(adopted[0]), edited.text);
    }

    // Edits written while a large record is being written whole as its next base are kept: they
    // start the new journal, once.
    void editsDuringARewriteAreKept()
    {
        Sandbox sandbox;
        RecoveryJournal journal(sandbox.filePath(QStringLiteral("recovery")));
        QVERIFY(journal.start());
        EditedText edited(QByteArray(9 << 20, 'b'));
        const quint64 key = journal.newKey();
        journal.begin(edited.record(key), textBase(edited.text));
        // Past a quarter of the text: the rewrite begins, and edits keep coming meanwhile.
        edited.edit(10, 0, QByteArray(3 << 20, 'i'));
        journal.append(edited.record(key), edited.entries.take());
        for (int i = 0; i < 100; ++i) {
            QThread::usleep(500);
            edited.edit(i * 3, 1, "r");
            journal.append(edited.record(key), edited.entries.take());
        }
        journal.waitUntilIdle(true);
        QCOMPARE(journal.textOf(journal.records().constFirst()), edited.text);
        QVERIFY(!QFileInfo::exists(journal.runFolder() + QStringLiteral("/1-1.base")));
    }

    // A journal cut off in the middle of a write gives the text of its last whole entry.
    void aJournalCutShortGivesItsLastWholeEdit()
    {
        Sandbox sandbox;
        const QString folder = sandbox.filePath(QStringLiteral("recovery"));
        EditedText edited;
        QByteArray first;
        {
            RecoveryJournal journal(folder);
            QVERIFY(journal.start());
            const quint64 key = journal.newKey();
            journal.begin(edited.record(key), RecoveryBase());
            edited.edit(0, 0, "kept");
            journal.append(edited.record(key), edited.entries.take());
            first = edited.text;
            edited.edit(4, 0, " and cut");
            journal.append(edited.record(key), edited.entries.take());
            journal.waitUntilIdle();
            QFile edits(journal.runFolder() + QStringLiteral("/1-1.edits"));
            QVERIFY(edits.open(QIODevice::ReadWrite));
            QVERIFY(edits.resize(edits.size() - 3));
        }
        RecoveryJournal next(folder);
        QVERIFY(next.start());
        const QList<RecoveryRecord> adopted = next.adoptAbandoned(sandbox.filePath(QStringLiteral("aside")));
        QCOMPARE(adopted.size(), 1);
        QCOMPARE(next.textOf(adopted[0]), first);
    }

    // A record's description handed over before its edits (they come in the next job) never
    // claims more than the edits on disk give: a kill in between leaves a record that rebuilds.
    void aDescriptionNeverClaimsEditsNotOnDisk()
    {
        Sandbox sandbox;
        RecoveryJournal journal(sandbox.filePath(QStringLiteral("recovery")));
        QVERIFY(journal.start());
        EditedText edited("base text");
        const quint64 key = journal.newKey();
        const RecoveryBase base = textBase(edited.text);
        edited.edit(4, 0, " more");
        journal.begin(edited.record(key), base);
        journal.waitUntilIdle();
        QCOMPARE(journal.check(journal.records().constFirst()), QString());
        QCOMPARE(journal.textOf(journal.records().constFirst()), QByteArray("base text"));
        journal.append(edited.record(key), edited.entries.take());
        journal.waitUntilIdle();
        QCOMPARE(journal.textOf(journal.records().constFirst()), QByteArray("base more text"));
    }

    // Edits never wait behind the copy of a large base file: they are on disk first, so a kill
    // during the copy loses none of them.
    void editsAreWrittenWhileALargeBaseIsCopied()
    {
        Sandbox sandbox;
        const QString path = sandbox.filePath(QStringLiteral("large.txt"));
        {
            QFile file(path);
            QVERIFY(file.open(QIODevice::WriteOnly) && file.resize(qint64(256) << 20));
        }
        RecoveryJournal journal(sandbox.filePath(QStringLiteral("recovery")));
        QVERIFY(journal.start());
        RecoveryBase base;
        base.kind = RecoveryBase::Kind::File;
        base.file = path;
        base.fileState = platform::fileState(path);
        base.length = base.fileState.size;
        RecoveryRecord record;
        record.key = journal.newKey();
        record.length = base.length;
        journal.begin(record, base);
        // "first" typed at the start of the file, whose bytes are all zero.
        editlog::EntryBuffer edit;
        record.length += 5;
        record.checksumChange = TextChecksum::change({}, {}, "first", QByteArray(TextChecksum::Context, '\0'));
        edit.add(0, 0, "first", record.length, record.checksumChange);
        journal.append(record, edit.take());
        journal.waitUntilIdle();
        QCOMPARE(journal.records().constFirst().length, base.length + 5);
        QVERIFY2(!QFileInfo::exists(journal.runFolder() + QStringLiteral("/1-1.base")),
                 "the edits waited for the copy");
        journal.waitUntilIdle(true);
        QVERIFY(QFileInfo::exists(journal.runFolder() + QStringLiteral("/1-1.base")));
        QCOMPARE(journal.check(journal.records().constFirst()), QString());
    }

    void keepsTheLatestCopyUntilDroppedAndLeavesNothingAtTheEnd()
    {
        Sandbox sandbox;
        const QString folder = sandbox.filePath(QStringLiteral("state/recovery"));
        RecoveryJournal journal(folder);
        QVERIFY(journal.start());
        QCOMPARE(QFileInfo(folder).permissions() & (QFile::ReadOther | QFile::ReadGroup), QFile::Permissions());

        EditedText untitled;
        const quint64 untitledKey = journal.newKey();
        journal.begin(untitled.record(untitledKey, QStringLiteral("Untitled")), RecoveryBase());
        untitled.edit(0, 0, QByteArray("second\0\r\n\xff", 10));
        journal.append(untitled.record(untitledKey, QStringLiteral("Untitled")), untitled.entries.take());
        const EditedText named{QByteArray("named")};
        RecoveryRecord namedRecord = named.record(journal.newKey(), QStringLiteral("a.txt"));
        namedRecord.path = QStringLiteral("/home/u/a.txt");
        journal.begin(namedRecord, textBase(named.text));
        journal.waitUntilIdle();
        QVERIFY(journal.allWritten());

        const QList<RecoveryRecord> kept = journal.records();
        QCOMPARE(kept.size(), 2);
        QCOMPARE(kept[0].caption, QStringLiteral("Untitled"));
        QCOMPARE(kept[1].path, QStringLiteral("/home/u/a.txt"));
        QCOMPARE(kept[1].caret, 3);
        QCOMPARE(journal.textOf(kept[0]), QByteArray("second\0\r\n\xff", 10));
        QCOMPARE(journal.textOf(kept[1]), QByteArray("named"));

        journal.drop(untitledKey);
        journal.waitUntilIdle();
        QCOMPARE(journal.records().size(), 1);

        journal.finish();
        QVERIFY(!QFileInfo::exists(folder));
    }

    // Only a run whose lock no process holds is adopted, whatever its lock file says; records of
    // the program's earlier versions come with it.
    void adoptsOnlyTheRecordsOfRunsThatAreGone_data()
    {
        QTest::addColumn<QByteArray>("lock");
        QTest::addColumn<bool>("held");
        QTest::newRow("empty lock file") << QByteArray() << false;
        QTest::newRow("garbage in the lock file") << QByteArray("\xff\x01 no pid here") << false;
        QTest::newRow("lock naming another machine") << QByteArray("1\nquillet\nelsewhere.example\n") << false;
        QTest::newRow("lock naming a running process") << QByteArray::number(getpid()) + "\nquillet\n" << false;
        QTest::newRow("lock held by a live run") << QByteArray() << true;
    }
    void adoptsOnlyTheRecordsOfRunsThatAreGone()
    {
        QFETCH(QByteArray, lock);
        QFETCH(bool, held);
        Sandbox sandbox;
        const QString folder = sandbox.filePath(QStringLiteral("recovery"));
        const QString old = makeOldRun(folder, QStringLiteral("99-0000abcd"), lock, QByteArray("old\0text", 8));
        platform::ProcessLock live;
        if (held)
            QVERIFY(live.tryLock(old + QStringLiteral("/lock")));
        RecoveryJournal alive(folder);
        QVERIFY(alive.start());
        alive.begin(EditedText{"still open"}.record(alive.newKey()), textBase("still open"));
        alive.waitUntilIdle();
        abandonRunWith(folder, QStringLiteral("dead.txt"), QByteArray("dead\0text", 9));

        RecoveryJournal next(folder);
        QVERIFY(next.start());
        const QList<RecoveryRecord> adopted = next.adoptAbandoned(sandbox.filePath(QStringLiteral("aside")));
        QStringList captions;
        for (const RecoveryRecord& r : adopted)
            captions.append(r.caption);
        captions.sort();
        QCOMPARE(captions, held ? QStringList{QStringLiteral("dead.txt")}
                                : (QStringList{QStringLiteral("dead.txt"), QStringLiteral("old.txt")}));
        for (const RecoveryRecord& r : adopted)
            QCOMPARE(next.textOf(r),
                     r.caption == QLatin1String("old.txt") ? QByteArray("old\0text", 8) : QByteArray("dead\0text", 9));
        // Adopted records belong to the new run: a third copy finds nothing to take.
        RecoveryJournal third(folder);
        QVERIFY(third.start());
        QVERIFY(third.adoptAbandoned(sandbox.filePath(QStringLiteral("aside"))).isEmpty());
        QCOMPARE(alive.records().size(), 1);
        QCOMPARE(QFileInfo::exists(old), held);
    }

    // A record that would not come back as it was written is moved out of the way with a reason,
    // so no later start stumbles on it again.
    void setsAsideWhatCannotBeOpened_data()
    {
        QTest::addColumn<QString>("fault");
        QTest::newRow("larger than the editor holds") << QStringLiteral("size");
        QTest::newRow("a damaged byte") << QStringLiteral("damage");
        QTest::newRow("its file changed before it was copied") << QStringLiteral("file");
    }
    void setsAsideWhatCannotBeOpened()
    {
        QFETCH(QString, fault);
        Sandbox sandbox;
        const QString folder = sandbox.filePath(QStringLiteral("recovery"));
        const QString aside = sandbox.filePath(QStringLiteral("aside"));
        if (fault == QLatin1String("size")) {
            makeOldRun(folder, QStringLiteral("5-00000001"), QByteArray(), QByteArray(), qint64(3) << 30);
        } else {
            const QString path = sandbox.filePath(QStringLiteral("doc.txt"));
            QFile file(path);
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write("the file's text\n");
            file.close();
            RecoveryJournal journal(folder);
            QVERIFY(journal.start());
            EditedText edited{"the file's text\n"};
            RecoveryBase base = textBase(edited.text);
            if (fault == QLatin1String("file")) {
                base = RecoveryBase();
                base.kind = RecoveryBase::Kind::File;
                base.file = path;
                base.fileState = platform::fileState(path);
                base.length = edited.text.size();
                // Changed once more (as another program would) before the worker copies it.
                QTest::qWait(20);
                QVERIFY(file.open(QIODevice::WriteOnly));
                file.write("THE FILE'S TEXT\n");
                file.close();
            }
            const quint64 key = journal.newKey();
            journal.begin(edited.record(key), base);
            edited.edit(0, 3, "a");
            journal.append(edited.record(key), edited.entries.take());
            journal.waitUntilIdle();
            if (fault == QLatin1String("damage")) {
                QFile copy(journal.runFolder() + QStringLiteral("/1-1.base"));
                QVERIFY(copy.open(QIODevice::ReadWrite));
                copy.seek(5);
                copy.write("F");
            }
        }
        RecoveryJournal next(folder);
        QVERIFY(next.start());
        QList<RecoveryJournal::SetAside> setAside;
        const QList<RecoveryRecord> adopted = next.adoptAbandoned(aside, &setAside);
        for (const RecoveryRecord& record : adopted) {
            const QString problem = next.check(record);
            QVERIFY(!problem.isEmpty());
            setAside.append({record.caption, problem, next.setAside(record, aside)});
        }
        QCOMPARE(setAside.size(), 1);
        QVERIFY2(!setAside[0].reason.isEmpty(), qPrintable(setAside[0].reason));
        QVERIFY(setAside[0].movedTo.startsWith(aside));
        QVERIFY(!QDir(setAside[0].movedTo).isEmpty(QDir::Files));
        if (fault == QLatin1String("size"))
            QVERIFY(setAside[0].reason.contains(QStringLiteral("3,221,225,472 bytes")));
        // Nothing is left for the next start to trip over.
        next.finish();
        RecoveryJournal later(folder);
        QVERIFY(later.start());
        QVERIFY(later.adoptAbandoned(aside).isEmpty());
    }

    // Records come back oldest first, whichever run kept them; a millisecond tells.
    void adoptedRecordsComeInTheOrderTheyWereWritten()
    {
        Sandbox sandbox;
        const QString folder = sandbox.filePath(QStringLiteral("recovery"));
        const QDateTime start = QDateTime::currentDateTime();
        // Two runs that ended without finishing, each with its newest record first.
        for (const QList<int>& run : {QList<int>{3, 1}, QList<int>{4, 2, 0}}) {
            RecoveryJournal journal(folder);
            QVERIFY(journal.start());
            for (const int order : run) {
                const EditedText edited{QByteArray::number(order)};
                RecoveryRecord record = edited.record(journal.newKey(), QString::number(order));
                record.written = start.addMSecs(order);
                journal.begin(record, textBase(edited.text));
            }
            journal.waitUntilIdle();
        }
        RecoveryJournal next(folder);
        QVERIFY(next.start());
        QStringList captions;
        for (const RecoveryRecord& record : next.adoptAbandoned(sandbox.filePath(QStringLiteral("aside"))))
            captions.append(record.caption);
        QCOMPARE(captions, (QStringList{"0", "1", "2", "3", "4"}));
    }

    // A record whose files cannot all be moved stays whole where it was, and its run's folder
    // with it, for a later start to take.
    void aRecordThatCannotBeMovedStaysWithItsRun_data()
    {
        QTest::addColumn<bool>("tooLarge");
        QTest::newRow("taken into this run") << false;
        QTest::newRow("set aside") << true;
    }
    void aRecordThatCannotBeMovedStaysWithItsRun()
    {
        QFETCH(bool, tooLarge);
        Sandbox sandbox;
        const QString folder = sandbox.filePath(QStringLiteral("recovery"));
        const QString aside = sandbox.filePath(QStringLiteral("aside"));
        if (tooLarge) {
            // Set aside onto a small file system, which the record's text does not fit.
            if (::geteuid() != 0)
                QSKIP("Not running as root: a small file system cannot be mounted.");
            QVERIFY(QDir().mkpath(aside));
            if (::mount("tmpfs", QFile::encodeName(aside).constData(), "tmpfs", 0, "size=64k") != 0)
                QSKIP("No tmpfs can be mounted here.");
            const auto unmount = qScopeGuard([&] { ::umount2(QFile::encodeName(aside).constData(), MNT_DETACH); });
            const QString old = makeOldRun(folder, QStringLiteral("5-00000001"), {}, {}, qint64(3) << 30);
            RecoveryJournal next(folder);
            QVERIFY(next.start());
            QList<RecoveryJournal::SetAside> setAside;
            QVERIFY(next.adoptAbandoned(aside, &setAside).isEmpty());
            QCOMPARE(setAside.size(), 1);
            QCOMPARE(setAside[0].movedTo, QString());
            QCOMPARE(QFileInfo(old + QStringLiteral("/1.txt")).size(), qint64(3) << 30);
            QVERIFY(QFileInfo::exists(old + QStringLiteral("/1.json")));
            return;
        }
        EditedText edited{"the base"};
        {
            RecoveryJournal dead(folder);
            QVERIFY(dead.start());
            const quint64 key = dead.newKey();
            dead.begin(edited.record(key), textBase(edited.text));
            edited.edit(4, 0, " edited");
            dead.append(edited.record(key), edited.entries.take());
            dead.waitUntilIdle();
        }
        {
            RecoveryJournal next(folder);
            QVERIFY(next.start());
            // A file with the name the record's edits would take: the base moves, the edits not.
            QFile blocker(next.runFolder() + QStringLiteral("/1-1.edits"));
            QVERIFY(blocker.open(QIODevice::WriteOnly));
            blocker.close();
            QVERIFY(next.adoptAbandoned(aside).isEmpty());
            next.finish();
        }
        RecoveryJournal later(folder);
        QVERIFY(later.start());
        const QList<RecoveryRecord> adopted = later.adoptAbandoned(aside);
        QCOMPARE(adopted.size(), 1);
        QCOMPARE(later.textOf(adopted[0]), edited.text);
    }
};

QTEST_GUILESS_MAIN(TestRecoveryJournal)
#include "tst_recoveryjournal.moc"
