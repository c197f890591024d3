// The ClipBook's files: the reading rules, the formats, the name lists over a folder pair, and
// names that must never reach outside their folder.

#include "commands/clipbookstore.h"
#include "core/commanderror.h"
#include "support/sandbox.h"

#include <QDir>
#include <QFile>
#include <QRandomGenerator>
#include <QTest>

using namespace clipbook;

namespace {

constexpr platform::TextEncoding Legacy = platform::TextEncoding::Windows1252;

QByteArray bytesOf(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

void writeBytes(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

// Every file below `dir`, relative to it.
QStringList filesBelow(const QString& dir)
{
    QStringList found;
    const QDir root(dir);
    for (const QFileInfo& info : root.entryInfoList(QDir::Files | QDir::Hidden | QDir::NoDotAndDotDot))
        found << info.fileName();
    for (const QFileInfo& info : root.entryInfoList(QDir::Dirs | QDir::Hidden | QDir::NoDotAndDotDot))
        for (const QString& inner : filesBelow(info.filePath()))
            found << info.fileName() + QLatin1Char('/') + inner;
    found.sort();
    return found;
}

} // namespace

class TestClipBookStore : public QObject
{
    Q_OBJECT

    std::unique_ptr<Sandbox> m_sandbox;
    QString m_programDir;

    QString templateFile(const QString& name) const { return m_programDir + "ClipBook/" + name + ".cpb"; }
    QString fileTemplateFile(const QString& name) const { return m_programDir + "ClipFiles/" + name + ".fff"; }

private slots:
    void init()
    {
        m_sandbox = std::make_unique<Sandbox>();
        m_programDir = m_sandbox->filePath(QStringLiteral("program/"));
        QVERIFY(QDir().mkpath(m_programDir));
    }
    void cleanup() { m_sandbox.reset(); }

    void readingRuleTakesTheNameThenTheRestOfTheLine_data()
    {
        QTest::addColumn<QString>("line");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("text");
        QTest::newRow("plain") << "Sig,Best regards"
                               << "Sig"
                               << "Best regards";
        QTest::newRow("name only") << "Sig"
                                   << "Sig"
                                   << "";
        QTest::newRow("leading commas") << ",Sig,x"
                                        << "Sig"
                                        << "x";
        QTest::newRow("a text that starts with a comma") << "a,,b"
                                                         << "a"
                                                         << ",b";
        QTest::newRow("empty line") << ""
                                    << ""
                                    << "";
        QTest::newRow("commas only") << ",,,"
                                     << ""
                                     << "";
        QTest::newRow("comma in the text") << "Sig,Best, regards"
                                           << "Sig"
                                           << "Best, regards";
        QTest::newRow("commas after the text") << "a,b,,c,"
                                               << "a"
                                               << "b,,c,";
        QTest::newRow("empty name") << ",text"
                                    << "text"
                                    << "";
    }
    void readingRuleTakesTheNameThenTheRestOfTheLine()
    {
        QFETCH(QString, line);
        QFETCH(QString, name);
        QFETCH(QString, text);
        QCOMPARE(splitTemplateLine(line), (Item{name, text}));
    }

    void addToClipBookSplitsAtTheMarks()
    {
        QCOMPARE(splitMarkedSelection(u"Signature<!>Yours faithfully"), (Item{"Signature", "Yours faithfully"}));
        QCOMPARE(splitMarkedSelection(u"Hello!"), (Item{"Hello", ""}));
        QCOMPARE(splitMarkedSelection(u"a<b>c"), (Item{"a", "b"}));
        QCOMPARE(splitMarkedSelection(u"<<!name>>text, with comma"), (Item{"name", "text, with comma"}));
        QCOMPARE(splitMarkedSelection(u"no marks, only a comma"), (Item{"no marks, only a comma", ""}));
        QCOMPARE(splitMarkedSelection(u""), (Item{"", ""}));
    }

    void templatesRoundTripInTheirLayout()
    {
        Items items;
        items.append("Sig", "Best, regards");
        items.append("Addr", "12 High Street");
        items.append("Ünï", "çödé");
        const QByteArray bytes = formatTemplate(items);
        QVERIFY(bytes.startsWith("Sig,Best, regards\r\nAddr,12 High Street\r\n"));
        QVERIFY(bytes.endsWith("\r\n"));
        QCOMPARE(parseTemplate(bytes), items);
        QCOMPARE(formatTemplate({}), QByteArray());
        QCOMPARE(parseTemplate(""), Items());
        // Lines ended by LF or CR alone, and a last line without an end, are lines too.
        Items loose;
        loose.append("a", "1");
        loose.append("b", "2");
        loose.append("c", "");
        QCOMPARE(parseTemplate("a,1\nb,2\rc"), loose);

        saveTemplate(m_programDir, "Letters", items);
        QCOMPARE(bytesOf(templateFile("Letters")), bytes);
        QCOMPARE(loadTemplate(m_programDir, "Letters", Legacy)->items, items);
        QVERIFY(!loadTemplate(m_programDir, "Missing", Legacy));

        const QStringList paths{"/home/me/a.txt", "/tmp/with, comma.txt", "Untitled"};
        saveFileTemplate(m_programDir, "Work", paths);
        QCOMPARE(bytesOf(fileTemplateFile("Work")),
                 QByteArray("/home/me/a.txt\r\n/tmp/with, comma.txt\r\nUntitled\r\n"));
        QCOMPARE(loadFileTemplate(m_programDir, "Work", Legacy)->paths, paths);
        saveFileTemplate(m_programDir, "Empty", {});
        QCOMPARE(bytesOf(fileTemplateFile("Empty")), QByteArray());
        QCOMPARE(loadFileTemplate(m_programDir, "Empty", Legacy)->paths, QStringList());
        QVERIFY(!loadFileTemplate(m_programDir, "Missing", Legacy));
    }

    // Whatever a line can hold comes back as it was written: any text without a line break, any
    // name without a comma or a line break but one.
    void everyStorableItemComesBack()
    {
        QRandomGenerator random(27);
        const QStringList alphabet = QStringLiteral(", , , a b \t Z é € \u00a0 \U0001F600 \\ \" ' < ! >").split(u' ');
        const auto text = [&](int length, bool commas) {
            QString s;
            for (int n = 0; n < length;) {
                const QString c = alphabet.at(random.bounded(int(alphabet.size())));
                if (!c.isEmpty() && (commas || c != u",")) {
                    s += c;
                    ++n;
                }
            }
            return s;
        };
        Items items;
        for (int i = 0; i < 2000; ++i)
            items.append(text(random.bounded(1, 12), false), text(random.bounded(0, 12), true));
        QCOMPARE(parseTemplate(formatTemplate(items)), items);
    }

    // A file of another program keeps every byte: read in the encoding it is in (the legacy code
    // page, or one that gives every byte back), written back in it; a character it cannot hold is
    // refused, and nothing is written.
    void filesKeepTheEncodingTheyWereReadIn_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("firstText");
        QTest::addColumn<int>("encoding");
        QTest::newRow("Windows-1252") << QByteArray("Caf\xE9,cr\xE8me br\xFBl\xE9"
                                                    "e\r\nx,\x80 5\r\n")
                                      << QStringLiteral("crème brûlée") << int(platform::TextEncoding::Windows1252);
        QTest::newRow("a byte Windows-1252 leaves undefined")
            << QByteArray("a,\x81\xE9\r\n") << QStringLiteral("\u0081\u00e9") << int(platform::TextEncoding::Iso88591);
        QTest::newRow("UTF-16 with its mark") << QByteArray("\xFF\xFEn\0,\0\xAC\x20\r\0\n\0", 12) << QStringLiteral("€")
                                              << int(platform::TextEncoding::Utf16Le);
        QTest::newRow("UTF-8") << QByteArray("n,\xE2\x82\xAC\r\n") << QStringLiteral("€")
                               << int(platform::TextEncoding::Utf8);
    }
    void filesKeepTheEncodingTheyWereReadIn()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, firstText);
        QFETCH(int, encoding);
        QDir().mkpath(m_programDir + "ClipBook");
        writeBytes(templateFile("Theirs"), bytes);
        const std::optional<TemplateFile> loaded = loadTemplate(m_programDir, "Theirs", Legacy);
        QVERIFY(loaded);
        QCOMPARE(int(loaded->encoding), encoding);
        QCOMPARE(loaded->items.texts.value(0), firstText);
        saveTemplate(m_programDir, "Theirs", loaded->items, loaded->encoding);
        QCOMPARE(bytesOf(templateFile("Theirs")), bytes);
        if (loaded->encoding == platform::TextEncoding::Utf8 || loaded->encoding == platform::TextEncoding::Utf16Le)
            return;
        Items more = loaded->items;
        more.append("Omega", "\u03A9");
        try {
            saveTemplate(m_programDir, "Theirs", more, loaded->encoding);
            QFAIL("a character the encoding lacks was written");
        } catch (const CommandError& refused) {
            QVERIFY2(refused.message().contains("\"\u03A9\" (U+03A9) on line"), qPrintable(refused.message()));
        }
        QCOMPARE(bytesOf(templateFile("Theirs")), bytes);
    }

    void aFailedWriteKeepsTheOldFile()
    {
        Items old;
        old.append("keep", "me");
        saveTemplate(m_programDir, "Kept", old);
        // A folder in the place of the new name's file: the write cannot succeed.
        QVERIFY(QDir().mkpath(templateFile("Blocked")));
        NameList list{{"Kept"}, 0};
        QVERIFY_THROWS_EXCEPTION(CommandError, rename(m_programDir, Kind::Template, list, "Blocked", "x,y\r\n"));
        QCOMPARE(list, (NameList{{"Kept"}, 0}));
        QVERIFY_THROWS_EXCEPTION(CommandError, create(m_programDir, Kind::Template, list, "Blocked", ""));
        QCOMPARE(list, (NameList{{"Kept"}, 0}));
        QCOMPARE(bytesOf(templateFile("Kept")), QByteArray("keep,me\r\n"));
    }

    void createRenameAndDeleteLeaveTheOldFiles()
    {
        NameList list;
        create(m_programDir, Kind::Template, list, "A", "");
        create(m_programDir, Kind::Template, list, "B", "b,1\r\n");
        QCOMPARE(list, (NameList{{"A", "B"}, 1}));
        QCOMPARE(bytesOf(templateFile("A")), QByteArray());

        // Renaming moves the name to the end and writes under the new name only.
        list.selected = 0;
        rename(m_programDir, Kind::Template, list, "C", "a,2\r\n");
        QCOMPARE(list, (NameList{{"B", "C"}, 1}));
        QCOMPARE(bytesOf(templateFile("A")), QByteArray());
        QCOMPARE(bytesOf(templateFile("C")), QByteArray("a,2\r\n"));

        // Deleting unlists the name, keeps its file, and leaves an empty "Untitled".
        QVERIFY(remove(m_programDir, Kind::Template, list));
        QCOMPARE(list, (NameList{{"B"}, -1}));
        QCOMPARE(bytesOf(templateFile("C")), QByteArray("a,2\r\n"));
        QCOMPARE(bytesOf(templateFile("Untitled")), QByteArray());

        // A listed "Untitled" is the user's own: it is shown, not emptied.
        NameList files;
        create(m_programDir, Kind::FileTemplate, files, "Untitled", "/a\r\n");
        create(m_programDir, Kind::FileTemplate, files, "Work", "/b\r\n");
        QVERIFY(!remove(m_programDir, Kind::FileTemplate, files));
        QCOMPARE(files, (NameList{{"Untitled"}, 0}));
        QCOMPARE(bytesOf(fileTemplateFile("Untitled")), QByteArray("/a\r\n"));
        QCOMPARE(bytesOf(fileTemplateFile("Work")), QByteArray("/b\r\n"));
    }

    void importCopiesUnderTheNameBeforeTheFirstDot()
    {
        const QString elsewhere = m_sandbox->filePath(QStringLiteral("elsewhere"));
        QVERIFY(QDir().mkpath(elsewhere));
        writeBytes(elsewhere + "/Letters.old.cpb", "Dear,Sir, or Madam\r\n");
        NameList list{{"Letters", "Other"}, 1};
        QCOMPARE(importedName(elsewhere + "/Letters.old.cpb"), QStringLiteral("Letters"));
        QCOMPARE(import(m_programDir, Kind::Template, list, elsewhere + "/Letters.old.cpb"), QStringLiteral("Letters"));
        // Already listed: selected, not listed twice.
        QCOMPARE(list, (NameList{{"Letters", "Other"}, 0}));
        QCOMPARE(bytesOf(templateFile("Letters")), QByteArray("Dear,Sir, or Madam\r\n"));

        writeBytes(elsewhere + "/Work.fff", "/x\r\n/y\r\n");
        NameList files;
        QCOMPARE(import(m_programDir, Kind::FileTemplate, files, elsewhere + "/Work.fff"), QStringLiteral("Work"));
        QCOMPARE(files, (NameList{{"Work"}, 0}));
        QCOMPARE(loadFileTemplate(m_programDir, "Work", Legacy)->paths, QStringList({"/x", "/y"}));

        // A missing source changes nothing.
        QVERIFY_THROWS_EXCEPTION(CommandError, import(m_programDir, Kind::FileTemplate, files, elsewhere + "/No.fff"));
        QCOMPARE(files, (NameList{{"Work"}, 0}));
    }

    void namesNeverReachOutsideTheirFolder()
    {
        QCOMPARE(checkName("A"), NameProblem::None);
        QCOMPARE(checkName("a b.c"), NameProblem::None);
        QCOMPARE(checkName(""), NameProblem::Empty);
        for (const QString& bad : {QString("."), QString(".."), QString("../evil"), QString("a/b"), QString("/abs"),
                                   QString("a\\b"), QString("nul") + QChar(0) + "x"})
            QVERIFY2(checkName(bad) == NameProblem::NotInFolder, qPrintable(bad));

        const QStringList before = filesBelow(m_sandbox->path());
        NameList list;
        for (const QString& bad : {QString(""), QString("."), QString(".."), QString("../evil"), QString("a/b")}) {
            QVERIFY_THROWS_EXCEPTION(CommandError, create(m_programDir, Kind::Template, list, bad, "x"));
            QVERIFY_THROWS_EXCEPTION(CommandError, rename(m_programDir, Kind::FileTemplate, list, bad, "x"));
            QVERIFY_THROWS_EXCEPTION(CommandError, saveTemplate(m_programDir, bad, {}));
            QVERIFY(!loadTemplate(m_programDir, bad, Legacy));
        }
        QCOMPARE(list, NameList());
        // An import whose name would be refused ("..cpb" gives an empty name; ".hidden" too).
        const QString source = m_sandbox->filePath(QStringLiteral("..cpb"));
        writeBytes(source, "x,y\r\n");
        QVERIFY_THROWS_EXCEPTION(CommandError, import(m_programDir, Kind::Template, list, source));
        QCOMPARE(list, NameList());
        QStringList after = filesBelow(m_sandbox->path());
        after.removeAll(QStringLiteral("..cpb"));
        QCOMPARE(after, before);
    }

    void walkingAFileTemplateStopsAtItsEnds()
    {
        QCOMPARE(stepTo(Step::First, -1, 3), std::optional<int>(0));
        QCOMPARE(stepTo(Step::Last, 0, 3), std::optional<int>(2));
        QCOMPARE(stepTo(Step::Next, 0, 3), std::optional<int>(1));
        QCOMPARE(stepTo(Step::Next, 2, 3), std::nullopt);     // Next on the last entry
        QCOMPARE(stepTo(Step::Previous, 0, 3), std::nullopt); // Previous on the first
        QCOMPARE(stepTo(Step::Previous, 2, 3), std::optional<int>(1));
        QCOMPARE(stepTo(Step::Current, -1, 3), std::nullopt);
        QCOMPARE(stepTo(Step::Current, 1, 3), std::optional<int>(1));
        QCOMPARE(stepTo(Step::First, -1, 0), std::nullopt);
        QCOMPARE(stepTo(Step::Last, -1, 0), std::nullopt);
    }
};

QTEST_APPLESS_MAIN(TestClipBookStore)
#include "tst_clipbookstore.moc"
