// The configuration window's work on a freedesktop desktop, against private XDG folders and a
// private home, checked with the desktop's own tools: desktop-file-validate, xdg-mime and
// update-mime-database.

#include "core/commanderror.h"
#include "platform/freedesktop.h"
#include "support/sandbox.h"
#include "windows/desktopregistration.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QMap>
#include <QProcess>
#include <QTest>

namespace {

QByteArray readAll(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

void writeFile(const QString& path, const QByteArray& bytes)
{
    QDir().mkpath(QFileInfo(path).path());
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(bytes);
}

// Runs a tool; its output, or a note that it failed.
QString run(const QString& program, const QStringList& arguments)
{
    QProcess process;
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.start(program, arguments);
    if (!process.waitForFinished(60000) || process.exitStatus() != QProcess::NormalExit)
        return QStringLiteral("<%1 did not run>").arg(program);
    const QString output = QString::fromLocal8Bit(process.readAll()).trimmed();
    return process.exitCode() == 0 ? output : QStringLiteral("<%1 failed: %2>").arg(program, output);
}

const QByteArray OtherPrograms = "[Added Associations]\n"
                                 "image/png=viewer.desktop;\n"
                                 "\n"
                                 "[Default Applications]\n"
                                 "text/html=browser.desktop\n"
                                 "text/plain=other-editor.desktop;\n"
                                 "# a note of the user's\n";

} // namespace

class TestDesktopRegistration : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<Sandbox> m_sandbox;
    QString m_home, m_data, m_config, m_program;
    QByteArray m_path;

    QString home(const QString& relative) const { return m_home + QLatin1Char('/') + relative; }

    // Every file below the home folder (which holds the XDG folders) with its bytes, apart from
    // the MIME database the program's package goes into.
    QMap<QString, QByteArray> files() const
    {
        QMap<QString, QByteArray> found;
        QDirIterator it(m_home, QDir::Files | QDir::Hidden | QDir::System, QDirIterator::Subdirectories);
        while (it.hasNext()) {
            const QString path = it.next();
            if (!path.startsWith(m_data + QStringLiteral("/mime/")))
                found.insert(path, readAll(path));
        }
        return found;
    }

    void apply(const DesktopChoices& choices)
    {
        const QList<DesktopFailure> failures = applyDesktopChoices(choices, m_program);
        QVERIFY2(failures.isEmpty(), qPrintable(failures.value(0).message));
    }

    // The one part that failed, as "part: message".
    QString failureOf(const DesktopChoices& choices)
    {
        const QList<DesktopFailure> failures = applyDesktopChoices(choices, m_program);
        if (failures.size() != 1)
            return QStringLiteral("%1 failures").arg(failures.size());
        return failures[0].part + QStringLiteral(": ") + failures[0].message;
    }

private slots:
    void init()
    {
        m_sandbox = std::make_unique<Sandbox>();
        m_home = m_sandbox->filePath(QStringLiteral("home"));
        m_data = home(QStringLiteral(".local/share"));
        m_config = home(QStringLiteral("config"));
        QDir().mkpath(m_data);
        QDir().mkpath(m_config);
        qputenv("HOME", QFile::encodeName(m_home));
        qputenv("XDG_DATA_HOME", QFile::encodeName(m_data));
        qputenv("XDG_CONFIG_HOME", QFile::encodeName(m_config));
        for (const char* desktopHint : {"XDG_CURRENT_DESKTOP", "KDE_FULL_SESSION", "GNOME_DESKTOP_SESSION_ID",
                                        "DESKTOP_SESSION", "XDG_DATA_DIRS", "XDG_CONFIG_DIRS"})
            qunsetenv(desktopHint);
        // xdg-mime names only entries whose program is there to run.
        m_program = m_sandbox->filePath(QStringLiteral("bin/quillet"));
        writeFile(m_program, "#!/bin/sh\n");
        QFile::setPermissions(m_program, QFile::permissions(m_program) | QFile::ExeOwner);
    }

    void initTestCase() { m_path = qgetenv("PATH"); }
    void cleanup()
    {
        qputenv("PATH", m_path);
        m_sandbox.reset();
    }

    void everyBoxOnThenOffLeavesTheFoldersAsTheyWere()
    {
        // Another program's entry and choices, and the user's translated desktop folder.
        writeFile(m_data + QStringLiteral("/applications/other-editor.desktop"),
                  "[Desktop Entry]\nType=Application\nName=Other\nExec=cat %F\nMimeType=text/plain;\n");
        writeFile(m_config + QStringLiteral("/mimeapps.list"), OtherPrograms);
        writeFile(m_config + QStringLiteral("/user-dirs.dirs"), "XDG_DESKTOP_DIR=\"$HOME/Schreibtisch\"\n");
        const QMap<QString, QByteArray> before = files();
        QCOMPARE(run("xdg-mime", {"query", "default", "text/plain"}), QStringLiteral("other-editor.desktop"));

        const DesktopChoices all{true, true, true, true, true};
        apply(all);
        const QMap<QString, QByteArray> once = files();
        apply(all); // a second OK changes nothing
        QCOMPARE(files(), once);

        const QStringList entries{m_data + "/applications/org.quillet.Quillet.desktop",
                                  home("Schreibtisch/org.quillet.Quillet.desktop"),
                                  m_config + "/autostart/org.quillet.Quillet.desktop"};
        for (const QString& entry : entries) {
            QVERIFY2(QFile::exists(entry), qPrintable(entry));
            QCOMPARE(run("desktop-file-validate", {entry}), QString());
            const QByteArray text = readAll(entry);
            QVERIFY2(text.contains("Exec=" + QFile::encodeName(m_program) + " "), text.constData());
            const qsizetype iconAt = text.indexOf("\nIcon=") + 6;
            const QString icon = QString::fromUtf8(text.mid(iconAt, text.indexOf('\n', iconAt) - iconAt));
            QVERIFY2(readAll(icon).contains("<svg"), qPrintable(icon));
        }
        QVERIFY(readAll(entries[0]).contains("MimeType=text/plain;application/x-quillet;\n"));
        QVERIFY(!readAll(entries[0]).contains("NoDisplay"));
        QVERIFY(readAll(entries[2]).contains("/MiniTray"));
        QVERIFY(QFileInfo(entries[1]).isExecutable());
        QCOMPARE(run("xdg-mime", {"query", "default", "text/plain"}), QStringLiteral("org.quillet.Quillet.desktop"));
        // The other programs' lines are all still there, in place.
        const QByteArray mimeapps = readAll(m_config + QStringLiteral("/mimeapps.list"));
        QCOMPARE(mimeapps, QByteArray(OtherPrograms)
                               .replace("text/plain=other-editor.desktop;",
                                        "text/plain=org.quillet.Quillet.desktop;other-editor.desktop;"));
        QVERIFY(readAll(m_data + QStringLiteral("/mime/globs2")).contains(":application/x-quillet:*.qlt"));

        apply(DesktopChoices{});
        QCOMPARE(files(), before);
        QCOMPARE(run("xdg-mime", {"query", "default", "text/plain"}), QStringLiteral("other-editor.desktop"));
        QVERIFY(readAll(m_data + QStringLiteral("/mime/globs2")).contains(":application/x-quillet:*.qlt"));
    }

    void eachBoxPlacesOnlyItsOwnEntry()
    {
        writeFile(m_config + QStringLiteral("/mimeapps.list"), QByteArray(OtherPrograms).replace('\n', "\r\n"));
        const QMap<QString, QByteArray> before = files();
        // Send To alone: an entry the file managers offer, kept out of the menu.
        apply(DesktopChoices{false, true, false, false, false});
        const QByteArray entry = readAll(m_data + QStringLiteral("/applications/org.quillet.Quillet.desktop"));
        QVERIFY(entry.contains("MimeType=text/plain;application/x-quillet;\n"));
        QVERIFY(entry.contains("NoDisplay=true\n"));
        QVERIFY(!QFile::exists(home("Desktop/org.quillet.Quillet.desktop")));
        QVERIFY(!QFile::exists(m_config + QStringLiteral("/autostart/org.quillet.Quillet.desktop")));
        QCOMPARE(readAll(m_config + QStringLiteral("/mimeapps.list")), before.value(m_config + "/mimeapps.list"));
        // The default for text alone; a file with CR LF line ends keeps them.
        apply(DesktopChoices{true, false, false, false, false});
        QVERIFY(readAll(m_config + QStringLiteral("/mimeapps.list"))
                    .contains("\r\ntext/plain=org.quillet.Quillet.desktop;other-editor.desktop;\r\n"));
        QVERIFY(!readAll(m_data + QStringLiteral("/applications/org.quillet.Quillet.desktop")).contains("MimeType"));
        // The desktop folder without user-dirs.dirs is ~/Desktop; a program path with blanks is quoted.
        m_program = m_sandbox->filePath(QStringLiteral("my programs/quillet"));
        apply(DesktopChoices{false, false, false, true, false});
        QCOMPARE(run("desktop-file-validate", {home("Desktop/org.quillet.Quillet.desktop")}), QString());
        QVERIFY(readAll(home("Desktop/org.quillet.Quillet.desktop"))
                    .contains("Exec=\"" + QFile::encodeName(m_program) + "\" %F\n"));
        QVERIFY(!QFile::exists(m_data + QStringLiteral("/applications/org.quillet.Quillet.desktop")));
        apply(DesktopChoices{});
        QCOMPARE(files(), before);
    }

    void aFileTheProgramDidNotWriteIsNeitherReplacedNorRemoved()
    {
        const QString foreign = m_data + QStringLiteral("/applications/org.quillet.Quillet.desktop");
        const QByteArray theirs = "[Desktop Entry]\nType=Application\nName=Someone else's\nExec=elsewhere\n";
        writeFile(foreign, theirs);
        const QString message = failureOf(DesktopChoices{false, false, true, false, false});
        QVERIFY2(message.startsWith(QStringLiteral("the applications entry: ")), qPrintable(message));
        QVERIFY2(message.contains(shortenedForMessage(QDir::toNativeSeparators(foreign))), qPrintable(message));
        QVERIFY2(message.contains(QStringLiteral("did not write")), qPrintable(message));
        QCOMPARE(readAll(foreign), theirs);
        apply(DesktopChoices{});
        QCOMPARE(readAll(foreign), theirs);
    }

    // Older versions named their entries "quillet.desktop", beside the package's
    // org.quillet.Quillet.desktop: the desktop showed the program twice.
    void entriesUnderTheOldNameAreTakenOverAndOthersLeftAlone()
    {
        namespace fd = platform::freedesktop;
        auto oldEntry = [this](const char* place) {
            fd::DesktopEntry entry;
            entry.program = m_program;
            entry.place = QLatin1String(place);
            return fd::desktopEntryText(entry);
        };
        const QString oldApplications = m_data + QStringLiteral("/applications/quillet.desktop");
        const QString oldAutostart = m_config + QStringLiteral("/autostart/quillet.desktop");
        const QString someoneElses = home(QStringLiteral("Desktop/quillet.desktop"));
        const QByteArray theirs = "[Desktop Entry]\nType=Application\nName=Mine\nExec=quillet --mine\n";
        writeFile(oldApplications, oldEntry("applications"));
        writeFile(oldAutostart, oldEntry("autostart"));
        writeFile(someoneElses, theirs);
        writeFile(m_config + QStringLiteral("/mimeapps.list"),
                  "[Default Applications]\ntext/plain=quillet.desktop;other-editor.desktop;\n"
                  "text/x-log=quillet.desktop;\n");

        apply(DesktopChoices{true, false, true, true, true});
        for (const QString& place : {m_data + "/applications", home("Desktop"), m_config + "/autostart"})
            QVERIFY2(readAll(place + "/org.quillet.Quillet.desktop").contains("X-Quillet-Entry="), qPrintable(place));
        QVERIFY(!QFile::exists(oldApplications));
        QVERIFY(!QFile::exists(oldAutostart));
        QCOMPARE(readAll(someoneElses), theirs);
        QCOMPARE(readAll(m_config + QStringLiteral("/mimeapps.list")),
                 QByteArray("[Default Applications]\ntext/plain=org.quillet.Quillet.desktop;other-editor.desktop;\n"
                            "text/x-log=org.quillet.Quillet.desktop;\n"));
        QCOMPARE(run("xdg-mime", {"query", "default", "text/plain"}), QStringLiteral("org.quillet.Quillet.desktop"));
    }

    void aFailedWriteNamesThePathAndReasonAndDoesTheRest()
    {
        // A file where the autostart folder belongs.
        writeFile(m_config + QStringLiteral("/autostart"), "not a folder");
        const QString message = failureOf(DesktopChoices{false, false, true, true, true});
        QVERIFY2(message.startsWith(QStringLiteral("the autostart entry: ")), qPrintable(message));
        QVERIFY2(
            message.contains(shortenedForMessage(m_config + QStringLiteral("/autostart/org.quillet.Quillet.desktop"))),
            qPrintable(message));
        QVERIFY2(message.contains(QStringLiteral("is not a folder")), qPrintable(message));
        QVERIFY(QFile::exists(m_data + QStringLiteral("/applications/org.quillet.Quillet.desktop")));
        QVERIFY(QFile::exists(home("Desktop/org.quillet.Quillet.desktop")));
        QVERIFY(QFile::exists(m_data + QStringLiteral("/mime/packages/quillet.xml")));
    }

    // The MIME database's tool is tried first; failing or missing, it must not keep the later
    // parts from being done.
    void aFailingMimeDatabaseToolLeavesEveryOtherPartDone_data()
    {
        QTest::addColumn<QByteArray>("tool");
        QTest::newRow("failing") << QByteArray("#!/bin/sh\necho broken >&2\nexit 1\n");
        QTest::newRow("missing") << QByteArray();
    }
    void aFailingMimeDatabaseToolLeavesEveryOtherPartDone()
    {
        QFETCH(QByteArray, tool);
        const QString autostart = m_config + QStringLiteral("/autostart/org.quillet.Quillet.desktop");
        apply(DesktopChoices{false, false, false, false, true});
        QVERIFY(QFile::exists(autostart));

        const QString tools = m_sandbox->filePath(QStringLiteral("tools"));
        QDir().mkpath(tools);
        if (!tool.isEmpty()) {
            writeFile(tools + QStringLiteral("/update-mime-database"), tool);
            QFile::setPermissions(tools + QStringLiteral("/update-mime-database"),
                                  QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        }
        qputenv("PATH", QFile::encodeName(tools));
        QString message = failureOf(DesktopChoices{false, false, true, false, false});
        QVERIFY2(message.startsWith(QStringLiteral("the document type: ")), qPrintable(message));
        QVERIFY2(message.contains(QStringLiteral("update-mime-database")), qPrintable(message));
        QVERIFY(!QFile::exists(autostart));
        QVERIFY(readAll(m_data + QStringLiteral("/applications/org.quillet.Quillet.desktop")).contains("Exec="));

        message = failureOf(DesktopChoices{false, false, false, false, true});
        QVERIFY2(message.startsWith(QStringLiteral("the document type: ")), qPrintable(message));
        QVERIFY(readAll(autostart).contains("/MiniTray"));
    }

    // The default goes into [Default Applications] wherever that section stands, never into
    // another section naming the same type; taking it out again gives the file back.
    void theDefaultGoesIntoTheDefaultApplicationsSection_data()
    {
        QTest::addColumn<QByteArray>("before");
        QTest::addColumn<QByteArray>("after");
        const QByteArray added = "[Added Associations]\ntext/plain=viewer.desktop;\n";
        const QByteArray removed = "[Removed Associations]\ntext/plain=pager.desktop;\n";
        const QByteArray ours = "text/plain=org.quillet.Quillet.desktop;";
        QTest::newRow("first") << "[Default Applications]\ntext/html=browser.desktop\n\n" + added
                               << "[Default Applications]\n" + ours + "\ntext/html=browser.desktop\n\n" + added;
        QTest::newRow("middle") << added + "[Default Applications]\ntext/plain=other.desktop;\n" + removed
                                << added + "[Default Applications]\n" + ours + "other.desktop;\n" + removed;
        QTest::newRow("last") << added + removed + "[Default Applications]\ntext/html=browser.desktop\n"
                              << added + removed + "[Default Applications]\n" + ours + "\ntext/html=browser.desktop\n";
        QTest::newRow("absent") << added + removed << added + removed + "[Default Applications]\n" + ours + "\n";
        QTest::newRow("empty file") << QByteArray() << "[Default Applications]\n" + ours + "\n";
    }

    void theDefaultGoesIntoTheDefaultApplicationsSection()
    {
        QFETCH(QByteArray, before);
        QFETCH(QByteArray, after);
        namespace fd = platform::freedesktop;
        const QByteArray made = fd::withDefaultApplication(before, "text/plain", fd::DesktopFileId, true);
        QCOMPARE(made, after);
        QCOMPARE(fd::withDefaultApplication(made, "text/plain", fd::DesktopFileId, false), before);
    }

    void execLinesQuoteWhatTheDesktopWouldSplit()
    {
        namespace fd = platform::freedesktop;
        QCOMPARE(fd::execLine("/usr/bin/quillet", {}, true), QStringLiteral("/usr/bin/quillet %F"));
        QCOMPARE(fd::execLine("/opt/my apps/quillet", {"/MiniTray"}, false),
                 QStringLiteral("\"/opt/my apps/quillet\" /MiniTray"));
        QCOMPARE(fd::execLine("/a/$b\"c`d\\e/100%", {}, false), QStringLiteral("\"/a/\\$b\\\"c\\`d\\\\e/100%%\""));
    }
};

QTEST_GUILESS_MAIN(TestDesktopRegistration)
#include "tst_desktopregistration.moc"
