#include "commands/findreplace.h"
#include "documents/filesave.h"
#include "documents/recoveryjournal.h"
#include "mainwindow/filecontroller.h"
#include "mainwindow/recoverycontroller.h"

#include "support/mainwindowfixture.h"

#include <QApplication>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QKeyEvent>
#include <QRandomGenerator>
#include <QTest>

#include <csignal>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {
QStringList captionsOf(const QList<RecoveryRecord>& records)
{
    QStringList captions;
    for (const RecoveryRecord& r : records)
        captions.append(r.caption);
    return captions;
}

// Keeps `text` for a document in `journal`, as a copy of the program with that document modified.
void keepText(RecoveryJournal& journal, const QString& caption, const QString& path, const QByteArray& text,
              platform::TextEncoding encoding = platform::TextEncoding::Utf8)
{
    RecoveryRecord r;
    r.key = journal.newKey();
    r.caption = caption;
    r.path = path;
    r.caret = 4;
    r.encoding = encoding;
    r.fileState = platform::fileState(path);
    r.written = QDateTime::currentDateTime();
    r.length = text.size();
    RecoveryBase base;
    base.kind = RecoveryBase::Kind::Text;
    base.text = text;
    base.length = text.size();
    journal.begin(r, base);
    journal.waitUntilIdle();
}

// A run that kept `text` and ended without finishing, as a killed one does.
void earlierRun(const QString& folder, const QString& caption, const QString& path, const QByteArray& text)
{
    RecoveryJournal earlier(folder);
    if (earlier.start())
        keepText(earlier, caption, path, text);
}

// One edit as a user or a command makes it: typing, deleting, pasting, replacing, undo and redo.
void editAtRandom(EditorView& editor, QRandomGenerator& random)
{
    const qint64 length = editor.textLength();
    const auto at = [&] { return qint64(random.bounded(int(length) + 1)); };
    const auto someBytes = [&] {
        static const QByteArray pieces[] = {"x", "\r\n", "\n", "\r", QByteArray("\0", 1), "\xC3\xA9", "\xFF", "word "};
        QByteArray bytes;
        for (int n = random.bounded(6); n >= 0; --n)
            bytes += pieces[random.bounded(8)];
        return bytes;
    };
    switch (random.bounded(9)) {
    case 0:
        editor.setCaret(at());
        [[fallthrough]];
    case 1:
        QTest::keyClicks(&editor, QStringLiteral("typed"));
        break;
    case 2:
        QTest::keyClick(&editor, Qt::Key_Backspace);
        break;
    case 3:
        QTest::keyClick(&editor, Qt::Key_Delete);
        break;
    case 4:
        // Now and then a paste larger than a key's worth of context.
        editor.insertBytes(at(), random.bounded(5) == 0 ? QByteArray(5000, 'P') : someBytes());
        break;
    case 5: {
        const qint64 from = at();
        const int span = random.bounded(5) == 0 ? 6000 : 20;
        editor.replaceRange(from, std::min(length, from + random.bounded(span)), someBytes());
        break;
    }
    case 6:
    case 7:
        editor.send(SCI_UNDO);
        break;
    default:
        editor.send(SCI_REDO);
        break;
    }
}

QJsonObject describedBase(const RecoveryJournal& journal, quint64 key)
{
    QFile record(journal.runFolder() + QStringLiteral("/%1.json").arg(key));
    return record.open(QIODevice::ReadOnly) ? QJsonDocument::fromJson(record.readAll())["base"].toObject()
                                            : QJsonObject();
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
        QTRY_COMPARE(journal.textOf(journal.records().constFirst()), QByteArray("new text"));

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

    // Whatever changes the text, its record rebuilds it byte for byte: on nothing for a new
    // document, on the file itself while the text was the file's (in its encoding, or saved from
    // LF line breaks), never by copying the whole text at each pause.
    void everyEditRebuildsExactly_data()
    {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<bool>("saveFirst");
        QTest::addColumn<QString>("baseKind");
        QTest::newRow("a new document") << QByteArray() << false << QStringLiteral("empty");
        QTest::newRow("a file as opened")
            << QByteArray("one\r\ntwo\nthree\rfour\r\n") << false << QStringLiteral("file");
        QTest::newRow("a Windows-1252 file")
            << QByteArray("caf\xE9\r\nna\xEFve\r\n") << false << QStringLiteral("file");
        QTest::newRow("a file saved from LF text") << QByteArray("one\ntwo\nthree\n") << true << QStringLiteral("file");
    }
    void everyEditRebuildsExactly()
    {
        QFETCH(QByteArray, file);
        QFETCH(bool, saveFirst);
        QFETCH(QString, baseKind);
        MainWindowFixture& f = *m_fixture;
        RecoveryJournal journal(f.sandbox.filePath(QStringLiteral("recovery")));
        QVERIFY(journal.start());
        QVERIFY(f.start());
        f.window->enableRecovery(journal);
        if (!file.isEmpty())
            f.window->files().openPath(f.makeFile(QStringLiteral("doc.txt"), file));
        if (saveFirst) {
            f.action("Save1")->trigger();
            QCOMPARE(fileBytes(f.docs().current().path), QByteArray(file).replace("\n", "\r\n"));
        }
        QRandomGenerator random(quint32(qHash(baseKind) + file.size()));
        EditorView& editor = *f.editor();
        for (int round = 0; round < 6; ++round) {
            for (int i = 0; i < 25; ++i)
                editAtRandom(editor, random);
            f.window->recovery()->bringUpToDate(true);
            const QList<RecoveryRecord> records = journal.records();
            QCOMPARE(records.size(), 1);
            if (round == 0)
                QCOMPARE(describedBase(journal, records[0].key)["kind"].toString(), baseKind);
            QCOMPARE(journal.check(records[0]), QString());
            QCOMPARE(journal.textOf(records[0]), editor.bytes());
        }
    }

    // Replace All changes many places at once, told one by one or, past a point, not at all: the
    // record follows either way, also where the text keeps its length.
    void replaceAllKeepsTheRecordRight_data()
    {
        QTest::addColumn<int>("lines");
        QTest::newRow("a few places") << 20;
        QTest::newRow("too many places to tell one by one") << 3000;
    }
    void replaceAllKeepsTheRecordRight()
    {
        QFETCH(int, lines);
        MainWindowFixture& f = *m_fixture;
        RecoveryJournal journal(f.sandbox.filePath(QStringLiteral("recovery")));
        QVERIFY(journal.start());
        QVERIFY(f.start());
        f.window->enableRecovery(journal);
        f.window->files().openPath(f.makeFile(QStringLiteral("e.txt"), QByteArray("one e\r\n").repeated(lines)));
        f.typeAtEnd("ee");
        f.window->recovery()->bringUpToDate(true);
        f.editor()->setCaret(0);
        QCOMPARE(findreplace::replaceAll(*f.editor(), "e", "E", {}), qint64(2 * lines + 2));
        f.window->recovery()->bringUpToDate(true);
        QCOMPARE(journal.records().size(), 1);
        QCOMPARE(journal.textOf(journal.records().constFirst()), f.editor()->bytes());
    }

    // Typing that never pauses long enough is still written, at least every so often.
    void typingThatNeverPausesIsStillWritten()
    {
        MainWindowFixture& f = *m_fixture;
        RecoveryJournal journal(f.sandbox.filePath(QStringLiteral("recovery")));
        QVERIFY(journal.start());
        QVERIFY(f.start());
        f.window->enableRecovery(journal);
        f.window->recovery()->setIntervals(300, 900);
        QTest::qWait(10);
        f.typeAtEnd("k");
        f.window->recovery()->bringUpToDate(true);
        const auto written = [&] {
            journal.waitUntilIdle();
            const QList<RecoveryRecord> records = journal.records();
            return records.isEmpty() ? QByteArray() : journal.textOf(records.constFirst());
        };
        QCOMPARE(written(), QByteArray("k"));
        QElapsedTimer typing;
        typing.start();
        while (written() == "k" && typing.elapsed() < 3000) {
            f.typeAtEnd("k");
            QTest::qWait(100);
        }
        QVERIFY2(typing.elapsed() < 1500, "nothing was written while the keys went on");
        QVERIFY(written().startsWith("kkkk"));
    }

    void recordsOfAnEndedRunOpenAsModifiedDocuments()
    {
        MainWindowFixture& f = *m_fixture;
        const QString folder = f.sandbox.filePath(QStringLiteral("recovery"));
        const QByteArray text("kept\0bytes\r\n\xe9", 13);
        const QString path = f.makeFile(QStringLiteral("notes.txt"), "as last saved\r\n");
        {
            RecoveryJournal earlier(folder);
            QVERIFY(earlier.start());
            keepText(earlier, QStringLiteral("notes.txt"), path, text);
            // Its process still runs (this one): nothing is taken from it while it lives.
            RecoveryJournal meanwhile(folder);
            QVERIFY(meanwhile.start());
            QVERIFY(meanwhile.adoptAbandoned(f.sandbox.filePath(QStringLiteral("aside"))).isEmpty());
            meanwhile.finish();
        }
        // Another program writes the file while no copy of the program runs.
        QTest::qWait(20);
        f.makeFile(QStringLiteral("notes.txt"), "newer, by another program\r\n");
        RecoveryJournal journal(folder);
        QVERIFY(journal.start());
        f.create();
        f.configuration->setProgramDirectory(f.programDir);
        f.window->enableRecovery(journal);

        QCOMPARE(f.docs().count(), 2);
        QVERIFY(f.status()->panelText(StatusBar::Message).startsWith(QStringLiteral("Recovered 1 unsaved document")));
        QCOMPARE(f.docs().current().caption, QStringLiteral("notes.txt"));
        QCOMPARE(f.docs().current().path, path);
        QVERIFY(f.currentModified());
        QCOMPARE(f.editor()->bytes(), text);
        QCOMPARE(f.editor()->selStart(), 4);
        // Its record stays until the document is saved or discarded.
        QCOMPARE(journal.records().size(), 1);
        // The newer file counts as changed on disk: the text is kept on the reload question when
        // the window shows, and the file replaced only after Save's own question.
        QVERIFY(f.window->tabHint().endsWith(QStringLiteral("Changed on Disk")));
        f.prompts.answers = {Answer::No, Answer::No};
        f.window->show();
        QTRY_COMPARE(f.prompts.questions.size(), 1);
        f.action("Save1")->trigger();
        QCOMPARE(f.prompts.questions.size(), 2);
        QCOMPARE(fileBytes(path), QByteArray("newer, by another program\r\n"));
        f.prompts.answers = {Answer::Yes};
        f.action("Save1")->trigger();
        QCOMPARE(fileBytes(path), text);
        f.window->recovery()->dropUnmodified();
        journal.waitUntilIdle();
        QVERIFY(journal.records().isEmpty());
    }

    // A record whose text does not come out as it was kept is not shown as the user's work: it is
    // moved aside, and the user told where.
    void aDamagedRecordIsSetAsideNotShown()
    {
        MainWindowFixture& f = *m_fixture;
        const QString folder = f.sandbox.filePath(QStringLiteral("recovery"));
        QString base;
        {
            RecoveryJournal earlier(folder);
            QVERIFY(earlier.start());
            keepText(earlier, QStringLiteral("notes.txt"), QString(), "the kept text");
            base = earlier.runFolder().section(QLatin1Char('/'), -1) + QStringLiteral("/1-1.base");
        }
        QFile copy(folder + QLatin1Char('/') + base);
        QVERIFY(copy.open(QIODevice::ReadWrite) && copy.seek(4) && copy.write("K") == 1);
        copy.close();
        RecoveryJournal journal(folder);
        QVERIFY(journal.start());
        QVERIFY(f.start());
        f.window->enableRecovery(journal);
        QCOMPARE(f.docs().count(), 1);
        QCOMPARE(f.prompts.errors.size(), 1);
        QVERIFY(f.prompts.errors[0].contains(
            QStringLiteral("\"notes.txt\": Its text does not come out as it was recorded.")));
        QVERIFY(!QDir(f.sandbox.filePath(QStringLiteral("state/Quillet/set-aside"))).isEmpty());
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
            for (const char* name : {"legacy.txt", "old.txt"})
                keepText(earlier, QLatin1String(name), f.sandbox.filePath(QLatin1String(name)), text,
                         platform::TextEncoding::Windows1252);
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

    // Recovered raw bytes stay raw bytes, with what was typed into them: Save still asks.
    void recoveredRawBytesStillAskBeforeTheyAreSaved()
    {
        MainWindowFixture& f = *m_fixture;
        const QString folder = f.sandbox.filePath(QStringLiteral("recovery"));
        const QByteArray old("lo\x9D"
                             "a\r\n");
        const QString path = f.makeFile(QStringLiteral("raw.txt"), old);
        {
            QVERIFY(f.start({path}));
            RecoveryJournal earlier(folder);
            QVERIFY(earlier.start());
            f.window->enableRecovery(earlier);
            f.editor()->setCaret(0);
            for (int i = 0; i < 2; ++i) {
                QKeyEvent key(QEvent::KeyPress, 0, Qt::NoModifier, QStringLiteral("\u00FC"));
                QApplication::sendEvent(f.editor(), &key);
            }
            f.window->recovery()->bringUpToDate(true);
            f.window.reset(); // ended without finishing the journal, as by a kill
        }
        RecoveryJournal journal(folder);
        QVERIFY(journal.start());
        QVERIFY(f.start());
        f.window->enableRecovery(journal);
        QCOMPARE(f.docs().current().path, path);
        QCOMPARE(f.status()->panelText(StatusBar::Encoding), RawBytesPanelText);
        f.prompts.answers = {Answer::No};
        f.action("Save1")->trigger();
        QCOMPARE(f.prompts.questions.size(), 1);
        QCOMPARE(fileBytes(path), old);
    }

    // Where no copy can be written it is said at once (on the status bar, and once in a message);
    // an end asked from outside then keeps the work in the second folder, and where that fails
    // too, the program stays and asks about it as a close does.
    void unsavedWorkSurvivesAFolderThatTakesNothing_data()
    {
        QTest::addColumn<bool>("secondWorks");
        QTest::newRow("the second folder takes it") << true;
        QTest::newRow("neither folder takes it") << false;
    }
    void unsavedWorkSurvivesAFolderThatTakesNothing()
    {
        QFETCH(bool, secondWorks);
        MainWindowFixture& f = *m_fixture;
        // A file where a folder should be stops even the superuser.
        f.makeFile(QStringLiteral("../blocked"), "not a folder");
        const QString blocked = f.sandbox.filePath(QStringLiteral("blocked/recovery"));
        const QString second = secondWorks ? f.sandbox.filePath(QStringLiteral("second")) : blocked;
        {
            RecoveryJournal journal(blocked, second);
            QVERIFY(!journal.start());
            QVERIFY(f.start());
            f.window->enableRecovery(journal);
            QVERIFY(f.status()->panelText(StatusBar::Message).startsWith(QStringLiteral("Unsaved changes cannot be")));
            f.typeAtEnd("precious");
            f.window->recovery()->bringUpToDate(true);
            QTest::qWait(10);
            f.typeAtEnd(" words");
            f.window->recovery()->bringUpToDate(true);
            QTest::qWait(10);
            QCOMPARE(f.prompts.warningTitles, QStringList{QStringLiteral("Quillet -Recovery")});

            f.window->endKeepingUnsavedWork();
            QTest::qWait(10);
            QCOMPARE(f.window->isVisible(), !secondWorks);
            QCOMPARE(f.prompts.questions.size(), secondWorks ? 0 : 1);
            f.window.reset();
        }
        if (!secondWorks)
            return;
        RecoveryJournal next(f.sandbox.filePath(QStringLiteral("recovery")), second);
        QVERIFY(next.start());
        const QList<RecoveryRecord> adopted = next.adoptAbandoned(f.sandbox.filePath(QStringLiteral("aside")));
        QCOMPARE(adopted.size(), 1);
        QCOMPARE(next.textOf(adopted[0]), QByteArray("precious words"));
    }

    // Asked to end from outside while the exit question is open, the program ends without waiting
    // for the answer, and the unsaved work is kept.
    void anEndFromOutsideDoesNotWaitForTheExitQuestion()
    {
        MainWindowFixture& f = *m_fixture;
        RecoveryJournal journal(f.sandbox.filePath(QStringLiteral("recovery")));
        QVERIFY(journal.start());
        QVERIFY(f.start());
        f.window->enableRecovery(journal);
        f.typeAtEnd("unanswered");
        f.prompts.whileAsking = [&f] { f.window->endKeepingUnsavedWork(); };
        f.window->requestExit();
        QTRY_VERIFY(!f.window->isVisible());
        QCOMPARE(f.prompts.questions.size(), 1);
        journal.waitUntilIdle();
        QCOMPARE(journal.records().size(), 1);
        QCOMPARE(journal.textOf(journal.records().constFirst()), QByteArray("unanswered"));
    }

    // Before a file is written in place, the record of its unsaved text stops depending on it: a
    // write cut off halfway leaves the file half new, and the record must still come out whole.
    void aWriteInPlaceCannotTakeTheRecordWithIt()
    {
        MainWindowFixture& f = *m_fixture;
        RecoveryJournal journal(f.sandbox.filePath(QStringLiteral("recovery")));
        QVERIFY(journal.start());
        QVERIFY(f.start());
        f.window->enableRecovery(journal);
        const QByteArray old(24 << 20, 'o');
        const QString path = f.makeFile(QStringLiteral("large.txt"), old);
        f.window->files().openPath(path);
        f.editor()->insertBytes(0, "N");
        f.window->recovery()->keepApartFromFiles();
        f.makeFile(QStringLiteral("large.txt"), QByteArray(old.size(), 'x'));
        QCOMPARE(journal.records().size(), 1);
        QCOMPARE(journal.textOf(journal.records().constFirst()), "N" + old);
    }

    // A save in place that a kill cut off: the next start asks which text the file should hold,
    // the one it had or the one being saved (held by the recovery copy).
    void anInterruptedSaveIsOfferedAtTheNextStart_data()
    {
        QTest::addColumn<Answer>("answer");
        QTest::newRow("the old content") << Answer::Yes;
        QTest::newRow("the text being saved") << Answer::No;
        QTest::newRow("decided later") << Answer::Cancel;
    }
    void anInterruptedSaveIsOfferedAtTheNextStart()
    {
        QFETCH(Answer, answer);
        MainWindowFixture& f = *m_fixture;
        const QString folder = f.sandbox.filePath(QStringLiteral("recovery"));
        const QByteArray old(200 << 10, 'o');
        const QByteArray saving(600 << 10, 'n');
        const QString path = f.makeFile(QStringLiteral("linked.txt"), old);
        QCOMPARE(::link(QFile::encodeName(path).constData(), QFile::encodeName(path + "2").constData()), 0);
        const pid_t child = fork();
        if (child == 0) {
            earlierRun(folder, QStringLiteral("linked.txt"), path, saving);
            struct rlimit limit = {0, 0};
            ::setrlimit(RLIMIT_CORE, &limit);
            limit = {300 << 10, 300 << 10};
            ::setrlimit(RLIMIT_FSIZE, &limit);
            std::signal(SIGXFSZ, SIG_DFL);
            try {
                writeTextFile(path, saving, LineEnds::Crlf);
            } catch (const CommandError&) {
            }
            _exit(0);
        }
        int status = 0;
        waitpid(child, &status, 0);
        QVERIFY(WIFSIGNALED(status));
        const QByteArray mixed = fileBytes(path);

        f.prompts.answers = {answer};
        RecoveryJournal journal(folder);
        QVERIFY(journal.start());
        f.create();
        f.configuration->setProgramDirectory(f.programDir);
        f.window->enableRecovery(journal);
        QCOMPARE(f.prompts.questions.size(), 1);
        QVERIFY(f.prompts.questions[0].contains(QStringLiteral("is open as \"linked.txt\"")));
        QCOMPARE(fileBytes(path), answer == Answer::Yes ? old : answer == Answer::No ? saving : mixed);
        QCOMPARE(interruptedSaves().size(), answer == Answer::Cancel ? 1 : 0);
        // Decided, the file is known as it is now: nothing more is asked about it.
        if (answer != Answer::Cancel) {
            f.window->show();
            QTest::qWait(50);
            QCOMPARE(f.prompts.questions.size(), 1);
        }
    }

    // A file changed while the program is hidden is asked about when it is shown again.
    void aFileChangedWhileHiddenIsAskedAboutWhenShown()
    {
        MainWindowFixture& f = *m_fixture;
        QVERIFY(f.start());
        const QString path = f.makeFile(QStringLiteral("watched.txt"), "first\r\n");
        f.window->files().openPath(path);
        f.window->hide();
        QTest::qWait(20);
        f.makeFile(QStringLiteral("watched.txt"), "second\r\n");
        QTRY_VERIFY(f.window->tabHint().endsWith(QStringLiteral("Changed on Disk")));
        QTest::qWait(100);
        QCOMPARE(f.prompts.questions.size(), 0);
        f.prompts.answers = {Answer::Yes};
        f.window->show();
        QTRY_COMPARE(f.prompts.questions.size(), 1);
        QCOMPARE(f.editor()->bytes(), QByteArray("second\r\n"));
    }
};

QTEST_MAIN(TestRecovery)
#include "tst_recovery.moc"
