// Command-line parsing, line splitting and the status bar's panel arithmetic.

#include "core/commandline.h"
#include "documents/textlines.h"
#include "mainwindow/statusbar.h"

#include <QTest>

using A = StartupAction;

class TestCommandLine : public QObject
{
    Q_OBJECT

private slots:
    void parse_data()
    {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<QList<StartupAction>>("expected");

        QTest::newRow("none") << QStringList{} << QList<A>{};
        QTest::newRow("two files") << QStringList{"a.txt", "b.txt"}
                                   << QList<A>{{A::OpenFile, "a.txt"}, {A::OpenFile, "b.txt"}};
        QTest::newRow("CF argument is examined again")
            << QStringList{"CF", "list.txt", "notes.txt"}
            << QList<A>{{A::OpenListedFiles, "list.txt"}, {A::OpenFile, "list.txt"}, {A::OpenFile, "notes.txt"}};
        QTest::newRow("print") << QStringList{"/p", "x.txt"} << QList<A>{{A::Print, "x.txt"}, {A::OpenFile, "x.txt"}};
        QTest::newRow("print and quit") << QStringList{"/px", "x.txt"}
                                        << QList<A>{{A::PrintAndQuit, "x.txt"}, {A::OpenFile, "x.txt"}};
        QTest::newRow("switches are case-sensitive")
            << QStringList{"/P", "cf", "time", "/minitray"}
            << QList<A>{{A::OpenFile, "/P"}, {A::OpenFile, "cf"}, {A::OpenFile, "time"}, {A::OpenFile, "/minitray"}};
        QTest::newRow("MiniTray and Time")
            << QStringList{"/MiniTray", "Time"} << QList<A>{{A::MiniTray, ""}, {A::TimeStamp, ""}};
        QTest::newRow("empty arguments are skipped") << QStringList{"", "a", ""} << QList<A>{{A::OpenFile, "a"}};
        QTest::newRow("switch as last argument")
            << QStringList{"a", "CF"} << QList<A>{{A::OpenFile, "a"}, {A::MissingFile, "CF"}};
        QTest::newRow("switch naming a switch")
            << QStringList{"CF", "Time"} << QList<A>{{A::OpenListedFiles, "Time"}, {A::TimeStamp, ""}};
        QTest::newRow("px last") << QStringList{"/px"} << QList<A>{{A::MissingFile, "/px"}};
    }

    void parse()
    {
        QFETCH(QStringList, args);
        QFETCH(QList<StartupAction>, expected);
        QCOMPARE(parseCommandLine(args), expected);
    }

    // What start-up does with the arguments: answer a request for a text, or open what they name.
    void versionAndHelpCountOnlyAsTheFirstArgument_data()
    {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<InformationRequest>("request");
        QTest::addColumn<QList<StartupAction>>("opened");
        using I = InformationRequest;
        QTest::newRow("--version") << QStringList{"--version"} << I::Version << QList<A>{};
        QTest::newRow("--help before a file") << QStringList{"--help", "a.txt"} << I::Help << QList<A>{};
        QTest::newRow("--version after a file") << QStringList{"a.txt", "--version"} << I::None
                                                << QList<A>{{A::OpenFile, "a.txt"}, {A::OpenFile, "--version"}};
        QTest::newRow("--help after a switch")
            << QStringList{"Time", "--help"} << I::None << QList<A>{{A::TimeStamp, ""}, {A::OpenFile, "--help"}};
        QTest::newRow("./--help") << QStringList{"./--help"} << I::None << QList<A>{{A::OpenFile, "./--help"}};
        QTest::newRow("case matters") << QStringList{"--Help"} << I::None << QList<A>{{A::OpenFile, "--Help"}};
        QTest::newRow("other options are files")
            << QStringList{"-h", "--xyz"} << I::None << QList<A>{{A::OpenFile, "-h"}, {A::OpenFile, "--xyz"}};
    }

    void versionAndHelpCountOnlyAsTheFirstArgument()
    {
        QFETCH(QStringList, args);
        QFETCH(InformationRequest, request);
        QFETCH(QList<StartupAction>, opened);
        QCOMPARE(informationRequest(args), request);
        if (request == InformationRequest::None)
            QCOMPARE(parseCommandLine(args), opened);
    }

    void informationTextsNameTheVersion()
    {
        QCOMPARE(informationText(InformationRequest::None, "9.1"), QString());
        QVERIFY(informationText(InformationRequest::Version, "9.1").startsWith("Quillet 9.1\n"));
        QVERIFY(informationText(InformationRequest::Help, "9.1").startsWith("Usage: quillet "));
    }

    void splitLinesCountsLikeTheEditor()
    {
        using L = QList<QByteArray>;
        QCOMPARE(splitLines(""), L{});
        QCOMPARE(splitLines("a"), L{"a"});
        QCOMPARE(splitLines("a\r\nb\r\n"), (L{"a", "b"}));
        QCOMPARE(splitLines("a\n\nb"), (L{"a", "", "b"}));
        QCOMPARE(splitLines("a\rb\nc\r\n\r\n"), (L{"a", "b", "c", ""}));
        QCOMPARE(splitLines("\r\n"), L{""});
        QCOMPARE(splitLines("\n\r"), (L{"", ""}));
    }

    void lineToAppendPutsTheBreakWhereItIsMissing()
    {
        QCOMPARE(lineToAppend('x', "stamp"), QByteArray("\r\nstamp"));
        QCOMPARE(lineToAppend('\n', "stamp"), QByteArray("stamp\r\n"));
        QCOMPARE(lineToAppend('\r', "stamp"), QByteArray("stamp\r\n"));
        QCOMPARE(lineToAppend('\0', "stamp"), QByteArray("stamp\r\n"));
    }

    void panelUnderTheMouse()
    {
        const QList<int> widths{60, 60, 60, 60, 200, 50};
        QCOMPARE(statusPanelAt(widths, 0), -1); // border of panel 0
        QCOMPARE(statusPanelAt(widths, 1), 0);
        QCOMPARE(statusPanelAt(widths, 59), 0);
        QCOMPARE(statusPanelAt(widths, 60), -1);
        QCOMPARE(statusPanelAt(widths, 62), -1); // panel 1 starts at 62, exclusive
        QCOMPARE(statusPanelAt(widths, 63), 1);
        QCOMPARE(statusPanelAt(widths, 119), 1);
        QCOMPARE(statusPanelAt(widths, 120), -1);
        QCOMPARE(statusPanelAt(widths, 300), 4);
        QCOMPARE(statusPanelAt(widths, 439), 4);
        QCOMPARE(statusPanelAt(widths, 443), 5);
        QCOMPARE(statusPanelAt(widths, 489), 5);
        QCOMPARE(statusPanelAt(widths, 490), -1); // beyond the last panel
        QCOMPARE(statusPanelAt(widths, 5000), -1);
        QCOMPARE(statusPanelAt({}, 10), -1);
    }
};

QTEST_GUILESS_MAIN(TestCommandLine)
#include "tst_commandline.moc"
