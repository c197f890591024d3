#include "documents/recoveryjournal.h"
#include "mainwindow/filecontroller.h"
#include "mainwindow/recoverycontroller.h"

#include "support/mainwindowfixture.h"

#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTest>

namespace {
QStringList captionsOf(const QList<RecoveryRecord>& records)
{
    QStringList captions;
    for (const RecoveryRecord& r : records)
        captions.append(r.caption);
    return captions;
}
} // namespace

class TestRecovery : public MainWindowTest
{
    Q_OBJECT

private slots:
    void init() { newFixture(); }
    void cleanup() { m_fixture.reset(); }

    // Typing, switching, saving and closing, as the journal sees them.
    void theJournalFollowsTheModifiedDocuments()
    {
        MainWindowFixture& f = *m_fixture;
        RecoveryJournal journal(f.sandbox.filePath(QStringLiteral("recovery")));
        QVERIFY(journal.start());
        QVERIFY(f.start());
        f.window->enableRecovery(journal);
        RecoveryController& recovery = *f.window->recovery();

        f.typeAtEnd("new text");
        const QString path = f.makeFile(QStringLiteral("a.txt"), "file\r\n");
        f.window->files().openPath(path);
        // Leaving the untitled document wrote it.
        QTRY_COMPARE(captionsOf(journal.records()), QStringList{UntitledName});
        QCOMPARE(journal.textOf(journal.records().constFirst()), QByteArray("new text"));

        // A change that is not a key press (a paste, a drop) counts as much as typing.
        f.editor()->insertBytes(0, "pasted ");
        recovery.bringUpToDate(true);
        QCOMPARE(captionsOf(journal.records()), (QStringList{UntitledName, QStringLiteral("a.txt")}));
        QCOMPARE(journal.records().at(1).path, path);
        QCOMPARE(journal.textOf(journal.records().at(1)), QByteArray("pasted file\r\n"));

        // Saved: its copy goes. Closed unsaved: its copy goes too.
        f.action("Save1")->trigger();
        recovery.dropUnmodified();
        journal.waitUntilIdle();
        QCOMPARE(captionsOf(journal.records()), QStringList{UntitledName});
        f.clickTab(0);
        f.prompts.answers = {Answer::Yes};
        f.action("CloseDocument1")->trigger();
        recovery.bringUpToDate(true);
        QVERIFY(journal.records().isEmpty());

        // Typing alone is written once the keys have been quiet for a moment, not at each key.
        QTest::qWait(0);
        f.typeAtEnd("later");
        QTest::qWait(0);
        journal.waitUntilIdle();
        QVERIFY(journal.records().isEmpty());
        QTRY_VERIFY_WITH_TIMEOUT(!journal.records().isEmpty(), RecoveryController::QuietMilliseconds * 3);
    }

    void recordsOfAnEndedRunOpenAsModifiedDocuments()
    {
        MainWindowFixture& f = *m_fixture;
        const QString folder = f.sandbox.filePath(QStringLiteral("recovery"));
        const QByteArray text("kept\0bytes\r\n\xe9", 13);
        {
            RecoveryJournal earlier(folder);
            QVERIFY(earlier.start());
            RecoveryRecord r;
            r.key = earlier.newKey();
            r.caption = QStringLiteral("notes.txt");
            r.path = f.sandbox.filePath(QStringLiteral("notes.txt"));
            r.caret = 4;
            earlier.write(r, text);
            earlier.waitUntilIdle();
            // Its process still runs (this one): nothing is taken from it while it lives.
            RecoveryJournal meanwhile(folder);
            QVERIFY(meanwhile.start());
            QVERIFY(meanwhile.adoptAbandoned().isEmpty());
            meanwhile.finish();
        }
        // The run above ended without finishing; its lock is gone with it, as after a kill.
        RecoveryJournal journal(folder);
        QVERIFY(journal.start());
        QVERIFY(f.start());
        f.window->enableRecovery(journal);

        QCOMPARE(f.docs().count(), 2);
        QVERIFY(f.status()->panelText(StatusBar::Message).startsWith(QStringLiteral("Recovered 1 unsaved document")));
        QCOMPARE(f.docs().current().caption, QStringLiteral("notes.txt"));
        QCOMPARE(f.docs().current().path, f.sandbox.filePath(QStringLiteral("notes.txt")));
        QVERIFY(f.currentModified());
        QCOMPARE(f.editor()->bytes(), text);
        QCOMPARE(f.editor()->selStart(), 4);
        // Its record stays until the document is saved or discarded.
        QCOMPARE(journal.records().size(), 1);
        // Its file is watched like any other's: kept on the reload question, replaced on Save's.
        f.prompts.answers = {Answer::No, Answer::Yes};
        f.makeFile(QStringLiteral("../notes.txt"), "changed elsewhere");
        QTRY_VERIFY(f.window->tabHint().endsWith(QStringLiteral("Changed on Disk")));
        f.action("Save1")->trigger();
        QCOMPARE(f.prompts.questions.size(), 2);
        QCOMPARE(fileBytes(f.sandbox.filePath(QStringLiteral("notes.txt"))), text);
        f.window->recovery()->dropUnmodified();
        journal.waitUntilIdle();
        QVERIFY(journal.records().isEmpty());
    }

    // Recovered work is saved in the encoding its document had; a record from before encodings
    // were kept is UTF-8.
    void recoveredWorkIsSavedInItsEncoding()
    {
        MainWindowFixture& f = *m_fixture;
        const QString folder = f.sandbox.filePath(QStringLiteral("recovery"));
        const QByteArray text("caf\xC3\xA9\r\n");
        {
            RecoveryJournal earlier(folder);
            QVERIFY(earlier.start());
            for (const char* name : {"legacy.txt", "old.txt"}) {
                RecoveryRecord r;
                r.key = earlier.newKey();
                r.caption = QLatin1String(name);
                r.path = f.sandbox.filePath(r.caption);
                r.encoding = platform::TextEncoding::Windows1252;
                earlier.write(r, text);
            }
            earlier.waitUntilIdle();
            QFile old(earlier.runFolder() + QStringLiteral("/2.json"));
            QVERIFY(old.open(QIODevice::ReadWrite));
            QJsonObject record = QJsonDocument::fromJson(old.readAll()).object();
            QCOMPARE(record.value(QStringLiteral("caption")).toString(), QStringLiteral("old.txt"));
            record.remove(QStringLiteral("encoding"));
            old.resize(0);
            old.write(QJsonDocument(record).toJson());
        }
        RecoveryJournal journal(folder);
        QVERIFY(journal.start());
        QVERIFY(f.start());
        f.window->enableRecovery(journal);
        for (int i = 0; i < f.docs().count(); ++i) {
            f.docs().switchTo(i);
            if (f.docs().current().hasFile())
                f.action("Save1")->trigger();
        }
        QCOMPARE(fileBytes(f.sandbox.filePath(QStringLiteral("legacy.txt"))), QByteArray("caf\xE9\r\n"));
        QCOMPARE(fileBytes(f.sandbox.filePath(QStringLiteral("old.txt"))), text);
    }
};

QTEST_MAIN(TestRecovery)
#include "tst_recovery.moc"
