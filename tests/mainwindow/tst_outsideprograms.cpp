// The commands that hand work to something outside the editor, with a launcher that records what
// would have been started: exact argument lists, Open Link's refusals, the browser commands, the
// program's own documents and mail.

#include "mainwindow/filecontroller.h"
#include "mainwindow/outsidecontroller.h"
#include "platform/launcher.h"
#include "support/mainwindowfixture.h"

#include <QLineEdit>

namespace {

class RecordingLauncher : public platform::Launcher
{
public:
    QList<QStringList> started; // program, then its arguments
    QList<QUrl> opened;
    QList<QByteArray> mailed;
    bool succeed = true;

    bool startProgram(const QString& program, const QStringList& arguments) override
    {
        started.append(QStringList{program} + arguments);
        return succeed;
    }
    bool openUrl(const QUrl& url) override
    {
        opened.append(url);
        return succeed;
    }
    bool composeMail(QByteArrayView body, std::function<void()>) override
    {
        mailed.append(body.toByteArray());
        return succeed;
    }
};

QString makeExecutable(const QString& path)
{
    QDir().mkpath(QFileInfo(path).path());
    QFile file(path);
    if (file.open(QIODevice::WriteOnly))
        file.write("#!/bin/sh\nfor a in \"$@\"; do printf '%s\\n' \"$a\"; done > \"$(dirname \"$0\")/arguments\"\n");
    file.close();
    file.setPermissions(file.permissions() | QFile::ExeOwner | QFile::ExeUser);
    return path;
}

} // namespace

class OutsideProgramsTest : public MainWindowTest
{
    Q_OBJECT

private:
    RecordingLauncher m_launcher;
    QString programDir() const { return m_fixture->programDir; }

    void selectAllOf(const QByteArray& text)
    {
        editor()->setBytes(text);
        select(0, text.size());
    }

private slots:
    void init()
    {
        newFixture();
        m_fixture->withOptions();
        QVERIFY(start());
        m_launcher = RecordingLauncher();
        form()->outside().setLauncher(&m_launcher);
    }
    void cleanup() { m_fixture.reset(); }

    void programsGetTheirArgumentsIntact()
    {
        // The hex editor is given the document's path as one argument, blanks, quotes and a
        // leading "-" included; an "Untitled" document gives it nothing to show.
        const QString hex = makeExecutable(programDir() + QStringLiteral("Hex/HexEdit"));
        action("ViewCurrentFileinHexEditor1")->trigger();
        QVERIFY(m_launcher.started.isEmpty());
        const QString odd = makeFile(QStringLiteral("-odd \"name\" 'x'.txt"), "bytes");
        form()->files().openPath(odd);
        action("ViewCurrentFileinHexEditor1")->trigger();
        action("HexEditor1")->trigger();
        QCOMPARE(m_launcher.started, (QList<QStringList>{{hex, odd}, {hex}}));

        // Execute File runs a program after its dialog, and opens a document with its application.
        prompts().openPaths = {makeExecutable(m_fixture->sandbox.filePath(QStringLiteral("my tools/run me")))};
        action("ExecuteFile1")->trigger();
        QCOMPARE(m_launcher.started.last(), QStringList{prompts().openPaths.first()});
        QCOMPARE(prompts().openDialogs.last().title, QStringLiteral("Execute File"));
        QCOMPARE(prompts().openDialogs.last().filter, QStringLiteral("Executables|*.exe|All Files|*.*"));
        prompts().openPaths = {odd};
        action("ExecuteFile1")->trigger();
        QCOMPARE(m_launcher.opened, QList<QUrl>{QUrl::fromLocalFile(odd)});

        // The desktop's own launcher passes the same list to the program.
        const QString recorder = makeExecutable(m_fixture->sandbox.filePath(QStringLiteral("rec dir/record")));
        const QStringList arguments{QStringLiteral("a b"), QStringLiteral("\"quoted\""), QStringLiteral("-x"),
                                    QStringLiteral("$HOME;ls")};
        QVERIFY(platform::DesktopLauncher().startProgram(recorder, arguments));
        const QString written = m_fixture->sandbox.filePath(QStringLiteral("rec dir/arguments"));
        QTRY_COMPARE_WITH_TIMEOUT(QString::fromUtf8(fileBytes(written)), arguments.join(QLatin1Char('\n')) + "\n",
                                  10000);
    }

    void openLinkOpensAddressesAndNeverStartsAProgram()
    {
        const QString program = makeExecutable(m_fixture->sandbox.filePath(QStringLiteral("bin/tool")));
        const QString entry = makeFile(QStringLiteral("start.desktop"), "[Desktop Entry]\nType=Application\nExec=x\n");
        const QString document = makeFile(QStringLiteral("notes.txt"), "notes");
        for (const QString& refused : {program, entry, QUrl::fromLocalFile(program).toString(),
                                       QStringLiteral("javascript:alert(1)"), QStringLiteral("/no/such/file")}) {
            selectAllOf(refused.toUtf8());
            action("OpenLink1")->trigger();
            QCOMPARE(prompts().warningTitles.value(prompts().warningTitles.size() - 1),
                     QStringLiteral("Quillet -Open Link"));
        }
        QCOMPARE(prompts().warningTitles.size(), 5);
        QVERIFY(prompts().errors.first().contains(QStringLiteral("Execute File")));
        QVERIFY(m_launcher.started.isEmpty());
        QVERIFY(m_launcher.opened.isEmpty());

        for (const char* address : {"https://example.org/page?q=1", "www.example.org", "someone@example.org"}) {
            selectAllOf(address);
            action("OpenLink1")->trigger();
        }
        selectAllOf(document.toUtf8() + " ");
        action("OpenLink1")->trigger();
        selectAllOf("");
        action("OpenLink1")->trigger();
        QCOMPARE(m_launcher.opened,
                 (QList<QUrl>{QUrl(QStringLiteral("https://example.org/page?q=1")),
                              QUrl(QStringLiteral("http://www.example.org")),
                              QUrl(QStringLiteral("mailto:someone@example.org")), QUrl::fromLocalFile(document)}));
        QVERIFY(m_launcher.started.isEmpty());
        QCOMPARE(prompts().warningTitles.size(), 5);
    }

    // Files the desktop hands to a launcher, an installer or an interpreter are refused like
    // programs, whatever their case and although none is executable; a mail address loses the
    // fields some mail programs attach local files from.
    void openLinkRefusesWhatWouldRunOrInstall_data()
    {
        QTest::addColumn<QString>("link");   // a file name in the sandbox, or an address
        QTest::addColumn<QString>("opened"); // empty: refused
        for (const char* name : {"app.jnlp", "org.app.flatpakref", "tool.deb", "site.url", "run.bat", "RUN.BAT",
                                 "setup.ps1", "hello.vbs", "tool.py", "tool.rpm", "script.js"})
            QTest::newRow(name) << name << "";
        QTest::newRow("a document") << "notes.txt"
                                    << "notes.txt";
        QTest::newRow("a link named as a document") << "link.txt>run.bat"
                                                    << "";
        QTest::newRow("mail with attach") << "mailto:a@example.org?subject=Hi&attach=/etc/passwd&Attachment=x"
                                          << "mailto:a@example.org?subject=Hi";
        QTest::newRow("mail with attach only") << "a@example.org?attach=notes"
                                               << "mailto:a@example.org";
    }
    void openLinkRefusesWhatWouldRunOrInstall()
    {
        QFETCH(QString, link);
        QFETCH(QString, opened);
        const bool file = !link.contains(QLatin1Char('@'));
        if (file) {
            // "name>target": a symbolic link to the target.
            const QString target = makeFile(link.section(QLatin1Char('>'), -1), "echo hello\r\n");
            if (link.contains(QLatin1Char('>'))) {
                link = QFileInfo(target).dir().filePath(link.section(QLatin1Char('>'), 0, 0));
                QVERIFY(QFile::link(target, link));
            } else {
                link = target;
            }
        }
        selectAllOf(link.toUtf8());
        action("OpenLink1")->trigger();
        QVERIFY(m_launcher.started.isEmpty());
        if (opened.isEmpty()) {
            QCOMPARE(prompts().warningTitles, QStringList{QStringLiteral("Quillet -Open Link")});
            QVERIFY(m_launcher.opened.isEmpty());
        } else {
            QVERIFY(prompts().warningTitles.isEmpty());
            QCOMPARE(m_launcher.opened, QList<QUrl>{file ? QUrl::fromLocalFile(link) : QUrl(opened)});
        }
    }

    void theBrowserCommandsNeedABrowserPath()
    {
        const QString page = programDir() + QStringLiteral("Web/Temp.html");
        editor()->setBytes("<p>one</p>\n<p>two</p>");
        action("ViewCurrentFileInBrowser1")->trigger();
        QCOMPARE(prompts().warningTitles, QStringList{QStringLiteral("Quillet -No Browser Path Specified")});
        QVERIFY(prompts().errors.last().contains(QStringLiteral("simply click the Browse Button")));
        QVERIFY(!QFileInfo::exists(page));
        // The product's page needs no browser named: the desktop's handler opens it.
        action("QuilletontheWeb1")->trigger();
        QCOMPARE(prompts().warningTitles.size(), 1);
        QCOMPARE(m_launcher.opened, QList<QUrl>{QUrl(OutsideController::ProductWebPage)});
        QVERIFY(m_launcher.started.isEmpty());
        m_launcher.opened.clear();

        const QString browser = QStringLiteral("/opt/my browser/browse");
        m_fixture->options->browserEdit()->setText(browser);
        action("ViewCurrentFileInBrowser1")->trigger();
        QCOMPARE(fileBytes(page), QByteArray("<p>one</p>\r\n<p>two</p>"));
        QCOMPARE(m_launcher.started, (QList<QStringList>{{browser, page}}));
        QVERIFY(!m_fixture->currentModified());

        // A second view replaces the page; a browser that does not start is reported.
        editor()->setBytes("changed");
        m_launcher.succeed = false;
        action("ViewCurrentFileInBrowser1")->trigger();
        QCOMPARE(fileBytes(page), QByteArray("changed"));
        QVERIFY(status()->panelText(StatusBar::Message).contains(QStringLiteral("could not be started")));

        // The product's page goes to the desktop's handler for web addresses.
        m_launcher.succeed = true;
        action("QuilletontheWeb1")->trigger();
        QCOMPARE(m_launcher.opened, QList<QUrl>{QUrl(OutsideController::ProductWebPage)});
    }

    void theProgramsOwnDocumentsOpenAsTabs()
    {
        // A missing ReadMe leaves its new, empty tab and says where the file should be.
        action("ReadMeFile1")->trigger();
        QCOMPARE(captionsOf(docs()), (QStringList{"Untitled", "Quillet Readme"}));
        QCOMPARE(docs().currentIndex(), 1);
        QCOMPARE(docs().currentDisplayPath(), QStringLiteral("Quillet ReadMe"));
        QCOMPARE(prompts().warningTitles, QStringList{QStringLiteral("Quillet -Error Finding ReadMe File")});
        QCOMPARE(
            prompts().errors.last(),
            QStringLiteral("There was error when trying to load the Quillet ReadMe File. \nPlease make sure a file "
                           "named ReadMe.txt is in the QuilletData directory"));
        QCOMPARE(editor()->textLength(), 0);

        QDir().mkpath(programDir() + QStringLiteral("Data"));
        QFile faq(programDir() + QStringLiteral("Data/QuilFAQ.txt"));
        QVERIFY(faq.open(QIODevice::WriteOnly));
        faq.write("Q: Why?\r\nA: Because.\r\n");
        faq.close();
        action("QuilletFAQ1")->trigger();
        action("WhatsNewinQuillet1")->trigger();
        QCOMPARE(captionsOf(docs()),
                 (QStringList{"Untitled", "Quillet Readme", "Quillet Faq", "Whats' New in Quillet?"}));
        QCOMPARE(prompts().warningTitles.last(), QStringLiteral("Quillet -Error Finding What's New Text File"));
        QCOMPARE(prompts().warningTitles.size(), 2);
        clickTab(2);
        QCOMPARE(editor()->textView().toByteArray(), QByteArray("Q: Why?\r\nA: Because.\r\n"));
        QCOMPARE(modifiedWordsOf(docs()).at(2), QStringLiteral("Not Modified"));
    }

    void theHelpIsLookedUpBelowTheProgramDirectory()
    {
        action("Contents1")->trigger();
        QVERIFY(m_launcher.opened.isEmpty());
        QVERIFY(status()->panelText(StatusBar::Message).contains(QStringLiteral("help/Quillet.html")));

        const QString help = programDir() + QStringLiteral("help/Quillet.html");
        QDir().mkpath(QFileInfo(help).path());
        QFile file(help);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.close();
        action("Contents1")->trigger();
        action("TechnicalSupport1")->trigger();
        QUrl support = QUrl::fromLocalFile(help);
        support.setFragment(QStringLiteral("support"));
        QCOMPARE(m_launcher.opened, (QList<QUrl>{QUrl::fromLocalFile(help), support}));
        QVERIFY(m_launcher.started.isEmpty());
    }

    void mailHandsTheTextToTheComposer()
    {
        editor()->setBytes("Dear all,\r\nsee below.");
        action("Mail1")->trigger();
        QCOMPARE(m_launcher.mailed, QList<QByteArray>{"Dear all,\r\nsee below."});
        QVERIFY(prompts().errors.isEmpty());
        m_launcher.succeed = false;
        action("Mail1")->trigger();
        QCOMPARE(prompts().warningTitles, QStringList{QStringLiteral("Quillet -E-Mail Document")});
        QCOMPARE(prompts().errors.last(), QStringLiteral("There was an error when the document was been sent.\n Please "
                                                         "make sure that you have a MAPI server installed."));
    }
};

QTEST_MAIN(OutsideProgramsTest)
#include "tst_outsideprograms.moc"
