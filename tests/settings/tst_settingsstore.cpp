// The INI-file settings store: exact round trips, names without regard to case, key erasure,
// damaged files, atomic replacement and two running copies sharing one file.

#include "settings/inisettingsstore.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QTest>

#include <atomic>
#include <memory>
#include <thread>

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

namespace {

QByteArray fileBytes(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void writeBytes(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    QCOMPARE(f.write(bytes), bytes.size());
}

} // namespace

class TestSettingsStore : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
        m_dir.reset(new QTemporaryDir);
        QVERIFY(m_dir->isValid());
        m_path = m_dir->filePath(QStringLiteral("Quillet/Quillet.ini"));
    }

    void valuesRoundTripThroughTheFile_data()
    {
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("value");
        const QString key = QStringLiteral("Quillet Options");
        QTest::newRow("plain") << key << "Edit5_Text"
                               << "dd/mm/yyyy";
        QTest::newRow("empty") << key << "Edit6_Text"
                               << "";
        QTest::newRow("blanks at both ends") << key << "Edit2_Text"
                                             << "  padded \t ";
        QTest::newRow("only blanks") << key << "Edit3_Text"
                                     << "   ";
        QTest::newRow("equals signs") << key << "Edit4_Text"
                                      << "=a==b=";
        QTest::newRow("line breaks") << key << "Edit7_Text"
                                     << "one\ntwo\r\nthree\r";
        QTest::newRow("bracket first") << key << "Filter"
                                       << "[fsBold,fsItalic]";
        QTest::newRow("comment marks") << key << "Comment"
                                       << ";not a comment #";
        QTest::newRow("backslashes") << key << "Dir"
                                     << "C:\\Temp\\n\\";
        QTest::newRow("escape lookalikes") << key << "Esc"
                                           << "\\s\\u0041\\=";
        QTest::newRow("unicode") << key << "Text" << QStringLiteral("Grüße, 日本語, \U0001F600, \u00A0nbsp\u00A0");
        QTest::newRow("control characters")
            << key << "Ctl" << QString(QStringLiteral("a%1b%2c")).arg(QChar(1)).arg(QChar(0x7f));
        QTest::newRow("lone surrogate") << key << "Sur" << QString(QChar(0xD800)) + QStringLiteral("x");
        QTest::newRow("name with equals") << key << "a=b"
                                          << "v";
        QTest::newRow("name with bracket") << key << "[x]"
                                           << "v";
        QTest::newRow("name with blanks") << key << " spaced name "
                                          << "v";
        QTest::newRow("name with comment mark") << key << ";name"
                                                << "v";
        QTest::newRow("list key") << "Quillet Options.Filter1_Items"
                                  << "Item0"
                                  << " Text files (*.txt) ";
        QTest::newRow("key with bracket") << "odd]key["
                                          << "Count"
                                          << "1";
        QTest::newRow("key with levels") << "Main\\Sub Key"
                                         << "Value"
                                         << "x";
    }

    void valuesRoundTripThroughTheFile()
    {
        QFETCH(QString, key);
        QFETCH(QString, name);
        QFETCH(QString, value);
        {
            IniSettingsStore store(m_path);
            store.writeString(QStringLiteral("Main"), QStringLiteral("Neighbour"), QStringLiteral("n"));
            store.writeString(key, name, value);
            QCOMPARE(store.readString(key, name), value);
            QVERIFY(store.flush());
        }
        IniSettingsStore again(m_path);
        QVERIFY(again.valueExists(key, name));
        QCOMPARE(again.readString(key, name, QStringLiteral("fallback")), value);
        QCOMPARE(again.readString(QStringLiteral("Main"), QStringLiteral("Neighbour")), QStringLiteral("n"));
        QCOMPARE(again.keys().size(), key.compare(QLatin1String("Main"), Qt::CaseInsensitive) == 0 ? 1 : 2);
    }

    void missingValuesGiveTheFallback()
    {
        IniSettingsStore store(m_path); // the file does not exist
        QCOMPARE(store.readString(QStringLiteral("Main"), QStringLiteral("NormPos"), QStringLiteral("dflt")),
                 QStringLiteral("dflt"));
        QVERIFY(!store.valueExists(QStringLiteral("Main"), QStringLiteral("NormPos")));
        store.writeString(QStringLiteral("Main"), QStringLiteral("Flags"), QStringLiteral("0"));
        QCOMPARE(store.readString(QStringLiteral("Main"), QStringLiteral("NormPos"), QStringLiteral("dflt")),
                 QStringLiteral("dflt"));
        QVERIFY(!store.valueExists(QStringLiteral("Main"), QStringLiteral("NormPos")));
    }

    void namesAndKeysIgnoreLetterCase()
    {
        {
            IniSettingsStore store(m_path);
            store.writeString(QStringLiteral("Main"), QStringLiteral("NormPos"), QStringLiteral("1,2,3,4"));
            QCOMPARE(store.readString(QStringLiteral("main"), QStringLiteral("NORMPOS")), QStringLiteral("1,2,3,4"));
            QVERIFY(store.valueExists(QStringLiteral("MAIN"), QStringLiteral("normpos")));
            store.writeString(QStringLiteral("MAIN"), QStringLiteral("normpos"), QStringLiteral("5,6,7,8"));
            QCOMPARE(store.readString(QStringLiteral("Main"), QStringLiteral("NormPos")), QStringLiteral("5,6,7,8"));
            QVERIFY(store.flush());
        }
        const QByteArray text = fileBytes(m_path);
        QCOMPARE(text.count("5,6,7,8"), 1);
        QVERIFY(!text.contains("1,2,3,4"));
        QVERIFY(text.contains("[Main]")); // the first spelling is kept
        QVERIFY(text.contains("NormPos="));
        QVERIFY(!text.contains("MAIN"));
        QVERIFY(!text.contains("normpos"));

        IniSettingsStore again(m_path);
        QCOMPARE(again.keys(), QStringList{QStringLiteral("Main")});
        QCOMPARE(again.readString(QStringLiteral("mAiN"), QStringLiteral("nOrMpOs")), QStringLiteral("5,6,7,8"));
    }

    void eraseKeyTakesSubkeysButNotDottedNeighbours()
    {
        {
            IniSettingsStore store(m_path);
            for (const char* key :
                 {"Main", "Main\\Sub", "Main\\Sub\\Deeper", "Main.StatusBar1_Panels", "Mainly", "Other"})
                store.writeString(QString::fromLatin1(key), QStringLiteral("V"), QStringLiteral("x"));
            QVERIFY(store.flush());
        }
        IniSettingsStore store(m_path);
        store.eraseKey(QStringLiteral("MAIN"));
        const auto check = [](const IniSettingsStore& s) {
            QVERIFY(!s.valueExists(QStringLiteral("Main"), QStringLiteral("V")));
            QVERIFY(!s.valueExists(QStringLiteral("Main\\Sub"), QStringLiteral("V")));
            QVERIFY(!s.valueExists(QStringLiteral("Main\\Sub\\Deeper"), QStringLiteral("V")));
            QVERIFY(s.valueExists(QStringLiteral("Main.StatusBar1_Panels"), QStringLiteral("V")));
            QVERIFY(s.valueExists(QStringLiteral("Mainly"), QStringLiteral("V")));
            QVERIFY(s.valueExists(QStringLiteral("Other"), QStringLiteral("V")));
        };
        check(store);
        QVERIFY(store.flush());
        IniSettingsStore again(m_path);
        check(again);
        QCOMPARE(again.keys().size(), 3);
    }

    // Erasing a key takes nothing whose name merely starts the same, neither here nor when the
    // erasure is merged with what another running copy wrote meanwhile.
    void erasingAKeyKeepsKeysThatOnlyStartAlike_data()
    {
        QTest::addColumn<QString>("erased");
        QTest::addColumn<QString>("neighbour");
        QTest::newRow("Find, FindHistory") << "Find"
                                           << "FindHistory";
        QTest::newRow("Font, FontSize") << "Font"
                                        << "FontSize";
        QTest::newRow("below a key") << "Main\\Find"
                                     << "Main\\FindHistory";
    }
    void erasingAKeyKeepsKeysThatOnlyStartAlike()
    {
        QFETCH(QString, erased);
        QFETCH(QString, neighbour);
        const QString name = QStringLiteral("Value");
        {
            IniSettingsStore seed(m_path);
            seed.writeString(erased, name, QStringLiteral("old"));
            seed.writeString(neighbour, name, QStringLiteral("kept"));
            QVERIFY(seed.flush());
        }
        IniSettingsStore mine(m_path);
        IniSettingsStore other(m_path);
        mine.eraseKey(erased);
        mine.writeString(erased, name, QStringLiteral("new"));
        QCOMPARE(mine.readString(neighbour, name), QStringLiteral("kept"));
        other.writeString(neighbour, name, QStringLiteral("changed"));
        QVERIFY(other.flush());
        QVERIFY(mine.flush());
        IniSettingsStore result(m_path);
        QCOMPARE(result.readString(erased, name), QStringLiteral("new"));
        QCOMPARE(result.readString(neighbour, name), QStringLiteral("changed"));
    }

    void damagedFilesLoadWhatParses_data()
    {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<QStringList>("expected"); // "key|name|value" that must be present
        QTest::addColumn<QStringList>("absent");   // "key|name" that must not be present

        QTest::newRow("empty") << QByteArray() << QStringList() << QStringList{"Main|Flags"};
        QTest::newRow("lines without equals")
            << QByteArray("[Main]\nFlags=0\nnonsense line\n\n=\nShowCmd=1\n")
            << QStringList{"Main|Flags|0", "Main|ShowCmd|1", "Main||"} << QStringList{"Main|nonsense line"};
        QTest::newRow("header never closed")
            << QByteArray("[Main]\nA=1\n[Broken\nB=2\n[Good]\nC=3\n") << QStringList{"Main|A|1", "Good|C|3"}
            << QStringList{"Main|B", "Broken|B", "[Broken|B"};
        QTest::newRow("values before any header")
            << QByteArray("Loose=1\n[Main]\nA=1\n") << QStringList{"Main|A|1"} << QStringList{"|Loose"};
        QTest::newRow("truncated mid-line")
            << QByteArray("[Main]\nA=1\nB=tru") << QStringList{"Main|A|1", "Main|B|tru"} << QStringList();
        QTest::newRow("truncated in a header")
            << QByteArray("[Main]\nA=1\n[Quillet Opt") << QStringList{"Main|A|1"} << QStringList{"Quillet Opt|A"};
        QTest::newRow("hand edited")
            << QByteArray("\xEF\xBB\xBF; comment\r\n  [ Main ]  \r\n Flags = 0 \r\n#x=1\r\nEnd=\\s\r\n")
            << QStringList{"Main|Flags|0", "Main|End| "} << QStringList{"Main|#x"};
        QTest::newRow("binary") << QByteArray("[Main]\nA=\x01\x02\xff\xfe\0\0zz\n\0[\0]\0\n", 22)
                                << QStringList{"Main|A"} << QStringList();
        QTest::newRow("bad escapes") << QByteArray("[Main]\nA=\\u12\\q\\\n") << QStringList{"Main|A|\\u12q\\"}
                                     << QStringList();
    }

    void damagedFilesLoadWhatParses()
    {
        QFETCH(QByteArray, content);
        QFETCH(QStringList, expected);
        QFETCH(QStringList, absent);
        QDir().mkpath(QFileInfo(m_path).absolutePath());
        writeBytes(m_path, content);

        IniSettingsStore store(m_path);
        for (const QString& e : expected) {
            const QStringList p = e.split(QLatin1Char('|'));
            QVERIFY2(store.valueExists(p.at(0), p.at(1)), qPrintable(e));
            if (p.size() > 2)
                QCOMPARE(store.readString(p.at(0), p.at(1)), p.at(2));
        }
        for (const QString& a : absent) {
            const QStringList p = a.split(QLatin1Char('|'));
            QVERIFY2(!store.valueExists(p.at(0), p.at(1)), qPrintable(a));
        }

        // Still a working store: a change is saved and everything that parsed survives it.
        store.writeString(QStringLiteral("After"), QStringLiteral("Ok"), QStringLiteral("yes"));
        QVERIFY(store.flush());
        IniSettingsStore again(m_path);
        QCOMPARE(again.readString(QStringLiteral("After"), QStringLiteral("Ok")), QStringLiteral("yes"));
        for (const QString& e : expected) {
            const QStringList p = e.split(QLatin1Char('|'));
            QCOMPARE(again.readString(p.at(0), p.at(1), QStringLiteral("<missing>")),
                     store.readString(p.at(0), p.at(1)));
        }
    }

    void randomBytesNeverBreakTheStore()
    {
        QDir().mkpath(QFileInfo(m_path).absolutePath());
        QRandomGenerator random(20240601); // fixed seed: the same bytes every run
        for (int round = 0; round < 50; ++round) {
            QByteArray bytes(int(random.bounded(1, 4000)), Qt::Uninitialized);
            for (char& b : bytes) {
                // Bias towards the characters the parser cares about.
                static const char special[] = "[]=\\\n\r ;#us";
                b = random.bounded(3) == 0 ? special[random.bounded(int(sizeof special - 1))]
                                           : char(random.bounded(256));
            }
            writeBytes(m_path, bytes);
            IniSettingsStore store(m_path);
            const QStringList keys = store.keys();
            store.writeString(QStringLiteral("Main"), QStringLiteral("Round"), QString::number(round));
            QVERIFY(store.flush());
            IniSettingsStore again(m_path);
            QCOMPARE(again.readString(QStringLiteral("Main"), QStringLiteral("Round")), QString::number(round));
            for (const QString& k : keys)
                QVERIFY2(again.keys().contains(k, Qt::CaseInsensitive), qPrintable(k));
        }
    }

    void flushReplacesTheFileInsteadOfRewritingIt()
    {
        {
            IniSettingsStore store(m_path);
            store.writeString(QStringLiteral("Main"), QStringLiteral("A"), QStringLiteral("old"));
            QVERIFY(store.flush());
        }
        const QByteArray before = fileBytes(m_path);
        // A second name for the same file: rewriting in place would change what it shows, while
        // writing a new file and renaming it over the old one leaves it untouched.
        const QString link = m_dir->filePath(QStringLiteral("hardlink.ini"));
        QVERIFY(::link(QFile::encodeName(m_path).constData(), QFile::encodeName(link).constData()) == 0);

        IniSettingsStore store(m_path);
        store.writeString(QStringLiteral("Main"), QStringLiteral("A"), QStringLiteral("new"));
        QVERIFY(store.flush());
        QCOMPARE(fileBytes(link), before);
        QVERIFY(fileBytes(m_path).contains("A=new"));
    }

    void failedWriteKeepsChangesPending()
    {
        // The parent of the target is a file, so no file can be created there.
        const QString blocker = m_dir->filePath(QStringLiteral("blocker"));
        writeBytes(blocker, "keep me");
        const QString path = blocker + QStringLiteral("/Quillet.ini");
        IniSettingsStore store(path);
        store.writeString(QStringLiteral("Main"), QStringLiteral("A"), QStringLiteral("1"));
        QVERIFY(!store.flush());
        QVERIFY(store.hasPendingChanges());
        QCOMPARE(store.readString(QStringLiteral("Main"), QStringLiteral("A")), QStringLiteral("1"));
        QCOMPARE(fileBytes(blocker), QByteArray("keep me"));

        // Once the obstacle is gone the pending change is written.
        QVERIFY(QFile::remove(blocker));
        QVERIFY(store.flush());
        QVERIFY(!store.hasPendingChanges());
        IniSettingsStore again(path);
        QCOMPARE(again.readString(QStringLiteral("Main"), QStringLiteral("A")), QStringLiteral("1"));
    }

    void flushWithoutChangesLeavesTheFileAlone()
    {
        QDir().mkpath(QFileInfo(m_path).absolutePath());
        const QByteArray hand("; my notes\n[Main]\n  Flags = 0\n");
        writeBytes(m_path, hand);
        IniSettingsStore store(m_path);
        QCOMPARE(store.readString(QStringLiteral("Main"), QStringLiteral("Flags")), QStringLiteral("0"));
        QVERIFY(store.flush());
        QCOMPARE(fileBytes(m_path), hand);
    }

    void destructorFlushes()
    {
        {
            IniSettingsStore store(m_path);
            store.writeString(QStringLiteral("Tips"), QStringLiteral("ShowAtStart_Checked"), QStringLiteral("False"));
        }
        IniSettingsStore again(m_path);
        QCOMPARE(again.readString(QStringLiteral("Tips"), QStringLiteral("ShowAtStart_Checked")),
                 QStringLiteral("False"));
    }

    void twoCopiesKeepEachOthersChanges()
    {
        {
            IniSettingsStore seed(m_path);
            seed.writeString(QStringLiteral("Main"), QStringLiteral("Shared"), QStringLiteral("0"));
            seed.writeString(QStringLiteral("Old"), QStringLiteral("V"), QStringLiteral("x"));
            seed.writeString(QStringLiteral("List"), QStringLiteral("Item7"), QStringLiteral("stale"));
            QVERIFY(seed.flush());
        }
        IniSettingsStore first(m_path);
        IniSettingsStore second(m_path);

        first.writeString(QStringLiteral("Main"), QStringLiteral("FromFirst"), QStringLiteral("1"));
        first.writeString(QStringLiteral("List"), QStringLiteral("Item5"), QStringLiteral("first's"));
        first.writeString(QStringLiteral("Main"), QStringLiteral("Both"), QStringLiteral("first"));
        second.writeString(QStringLiteral("main"), QStringLiteral("FromSecond"), QStringLiteral("2"));
        second.eraseKey(QStringLiteral("Old"));
        // Erased then rewritten: the erasure must also take what the other copy adds meanwhile.
        second.eraseKey(QStringLiteral("List"));
        second.writeString(QStringLiteral("List"), QStringLiteral("Count"), QStringLiteral("1"));
        second.writeString(QStringLiteral("Main"), QStringLiteral("Both"), QStringLiteral("second"));

        QVERIFY(first.flush());
        QVERIFY(second.flush());
        // The copy that flushed last also sees the other's values now.
        QCOMPARE(second.readString(QStringLiteral("Main"), QStringLiteral("FromFirst")), QStringLiteral("1"));

        IniSettingsStore result(m_path);
        QCOMPARE(result.readString(QStringLiteral("Main"), QStringLiteral("Shared")), QStringLiteral("0"));
        QCOMPARE(result.readString(QStringLiteral("Main"), QStringLiteral("FromFirst")), QStringLiteral("1"));
        QCOMPARE(result.readString(QStringLiteral("Main"), QStringLiteral("FromSecond")), QStringLiteral("2"));
        QCOMPARE(result.readString(QStringLiteral("Main"), QStringLiteral("Both")), QStringLiteral("second"));
        QVERIFY(!result.valueExists(QStringLiteral("Old"), QStringLiteral("V")));
        QVERIFY(!result.valueExists(QStringLiteral("List"), QStringLiteral("Item5")));
        QVERIFY(!result.valueExists(QStringLiteral("List"), QStringLiteral("Item7")));
        QCOMPARE(result.readString(QStringLiteral("List"), QStringLiteral("Count")), QStringLiteral("1"));
        QVERIFY(!QFile::exists(m_path + QStringLiteral(".lock")));
    }

    void twoCopiesWritingEveryValueKeepEachOthersChanges_data()
    {
        QTest::addColumn<bool>("firstEndsFirst");
        QTest::addColumn<bool>("firstFlushedBefore"); // a window of the first copy closed earlier
        QTest::newRow("first ends first") << true << false;
        QTest::newRow("second ends first") << false << false;
        QTest::newRow("first flushed early, ends last") << false << true;
        QTest::newRow("first flushed early, ends first") << true << true;
    }

    void twoCopiesWritingEveryValueKeepEachOthersChanges()
    {
        QFETCH(bool, firstEndsFirst);
        QFETCH(bool, firstFlushedBefore);
        const QString options = QStringLiteral("Quillet Options");
        const QString list = QStringLiteral("Main.MRUManager1");
        // Every window writes all its values when it closes, changed or not; a list is erased
        // and written anew.
        const auto writeAll = [&](IniSettingsStore& store, const QString& tabWidth, const QString& wrap,
                                  const QString& recent) {
            store.writeString(options, QStringLiteral("SpinEdit1_Value"), tabWidth);
            store.writeString(options, QStringLiteral("BackUp1_Checked"), QStringLiteral("True"));
            store.writeString(QStringLiteral("Main"), QStringLiteral("WordWrap1_Checked"), wrap);
            store.eraseKey(list);
            store.writeString(list, QStringLiteral("Count"), QStringLiteral("1"));
            store.writeString(list, QStringLiteral("Item0"), recent);
        };
        {
            IniSettingsStore seed(m_path);
            writeAll(seed, QStringLiteral("8"), QStringLiteral("True"), QStringLiteral("/a.txt"));
            QVERIFY(seed.flush());
        }
        IniSettingsStore first(m_path);
        IniSettingsStore second(m_path);
        writeAll(first, QStringLiteral("7"), QStringLiteral("True"), QStringLiteral("/a.txt"));
        if (firstFlushedBefore)
            QVERIFY(first.flush());
        writeAll(second, QStringLiteral("8"), QStringLiteral("False"), QStringLiteral("/b.txt"));
        if (firstFlushedBefore)
            writeAll(first, QStringLiteral("7"), QStringLiteral("True"), QStringLiteral("/a.txt"));
        QVERIFY((firstEndsFirst ? first : second).flush());
        QVERIFY((firstEndsFirst ? second : first).flush());

        IniSettingsStore result(m_path);
        QCOMPARE(result.readString(options, QStringLiteral("SpinEdit1_Value")), QStringLiteral("7"));
        QCOMPARE(result.readString(QStringLiteral("Main"), QStringLiteral("WordWrap1_Checked")),
                 QStringLiteral("False"));
        QCOMPARE(result.readString(list, QStringLiteral("Item0")), QStringLiteral("/b.txt"));
        QCOMPARE(result.readString(options, QStringLiteral("BackUp1_Checked")), QStringLiteral("True"));
    }

    // Recent-file lists merge as values do: what each copy put on top or removed, the other keeps.
    void twoCopiesKeepEachOthersRecentFiles_data()
    {
        QTest::addColumn<QStringList>("seed");
        QTest::addColumn<QStringList>("first");
        QTest::addColumn<QStringList>("second");
        QTest::addColumn<QStringList>("merged");
        const QStringList ab{"/a", "/b"};
        QTest::newRow("each opens a file") << ab << QStringList{"/x", "/a", "/b"} << QStringList{"/y", "/a", "/b"}
                                           << QStringList{"/y", "/x", "/a", "/b"};
        QTest::newRow("one reopens a listed file, one opens a new one")
            << QStringList{"/a", "/b", "/c"} << QStringList{"/c", "/a", "/b"} << QStringList{"/d", "/a", "/b", "/c"}
            << QStringList{"/d", "/c", "/a", "/b"};
        QTest::newRow("one removes all, one opens a file")
            << ab << QStringList() << QStringList{"/c", "/a", "/b"} << QStringList{"/c"};
        QTest::newRow("one removes an entry")
            << ab << QStringList{"/b"} << QStringList{"/y", "/a", "/b"} << QStringList{"/y", "/b"};
    }
    void twoCopiesKeepEachOthersRecentFiles()
    {
        QFETCH(QStringList, seed);
        QFETCH(QStringList, first);
        QFETCH(QStringList, second);
        QFETCH(QStringList, merged);
        const QString list = QStringLiteral("Main.MRUManager1");
        const auto writeList = [&](IniSettingsStore& store, const QStringList& entries) {
            store.eraseKey(list);
            for (int i = 0; i < entries.size(); ++i)
                store.writeString(list, QStringLiteral("Item_%1").arg(i), entries[i]);
        };
        {
            IniSettingsStore store(m_path);
            writeList(store, seed);
            QVERIFY(store.flush());
        }
        IniSettingsStore firstCopy(m_path);
        IniSettingsStore secondCopy(m_path);
        writeList(firstCopy, first);
        writeList(secondCopy, second);
        QVERIFY(firstCopy.flush());
        QVERIFY(secondCopy.flush());
        IniSettingsStore result(m_path);
        QStringList entries;
        for (int i = 0; result.valueExists(list, QStringLiteral("Item_%1").arg(i)); ++i)
            entries.append(result.readString(list, QStringLiteral("Item_%1").arg(i)));
        QCOMPARE(entries, merged);
    }

    void nonRegularFilesAreNeitherReadNorReplaced()
    {
        const QString fifo = m_dir->filePath(QStringLiteral("fifo"));
        QVERIFY(::mkfifo(QFile::encodeName(fifo).constData(), 0600) == 0);
        const QString link = m_dir->filePath(QStringLiteral("link-to-fifo"));
        QVERIFY(QFile::link(fifo, link));
        const QString device = m_dir->filePath(QStringLiteral("null-device"));
        const bool haveDevice = ::mknod(QFile::encodeName(device).constData(), S_IFCHR | 0666, makedev(1, 3)) == 0;

        for (const QString& path : {fifo, link, device}) {
            if (path == device && !haveDevice)
                continue; // making a device node takes the superuser
            // Whoever opens the pipe for reading gets settings through it; nobody should.
            std::atomic<bool> done = false;
            std::thread writer([&] {
                while (!done) {
                    const int fd = ::open(QFile::encodeName(fifo).constData(), O_WRONLY | O_NONBLOCK);
                    if (fd >= 0) {
                        const char text[] = "[Main]\nFromPipe=1\n";
                        [[maybe_unused]] const auto n = ::write(fd, text, sizeof text - 1);
                        ::close(fd);
                        return;
                    }
                    std::this_thread::yield();
                }
            });
            QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QStringLiteral("not a regular file")));
            {
                IniSettingsStore store(path);
                done = true;
                writer.join();
                QVERIFY2(!store.valueExists(QStringLiteral("Main"), QStringLiteral("FromPipe")), qPrintable(path));
                store.writeString(QStringLiteral("Main"), QStringLiteral("A"), QStringLiteral("1"));
                QCOMPARE(store.readString(QStringLiteral("Main"), QStringLiteral("A")), QStringLiteral("1"));
                QVERIFY(store.flush());
            }
            struct stat info;
            QVERIFY(::stat(QFile::encodeName(path).constData(), &info) == 0);
            QVERIFY2(path == device ? S_ISCHR(info.st_mode) : S_ISFIFO(info.st_mode), qPrintable(path));
            QVERIFY(!QFile::exists(path + QStringLiteral(".lock")));
        }
    }

    void defaultLocationFollowsEnvironment()
    {
        const QByteArray savedOverride = qgetenv("QUILLET_SETTINGS");
        const QByteArray savedXdg = qgetenv("XDG_CONFIG_HOME");
        const auto restore = qScopeGuard([&] {
            savedOverride.isNull() ? qunsetenv("QUILLET_SETTINGS") : qputenv("QUILLET_SETTINGS", savedOverride);
            savedXdg.isNull() ? qunsetenv("XDG_CONFIG_HOME") : qputenv("XDG_CONFIG_HOME", savedXdg);
        });

        qputenv("QUILLET_SETTINGS", QFile::encodeName(m_dir->filePath(QStringLiteral("portable.ini"))));
        QCOMPARE(IniSettingsStore::defaultLocation(), m_dir->filePath(QStringLiteral("portable.ini")));

        qunsetenv("QUILLET_SETTINGS");
        qputenv("XDG_CONFIG_HOME", QFile::encodeName(m_dir->path()));
        QCOMPARE(IniSettingsStore::defaultLocation(), m_dir->path() + QStringLiteral("/Quillet/Quillet.ini"));
    }

private:
    std::unique_ptr<QTemporaryDir> m_dir;
    QString m_path;
};

QTEST_GUILESS_MAIN(TestSettingsStore)
#include "tst_settingsstore.moc"
