// Printing through the main window's commands, every job written as a PDF in the sandbox and read
// back with poppler's pdfinfo, pdftotext and pdffonts: the pages, their text, the job title and
// the font the selection prints in.

#include "editor/editorviews.h"
#include "mainwindow/filecontroller.h"
#include "mainwindow/printcontroller.h"
#include "settings/programstore.h"
#include "support/mainwindowfixture.h"
#include "support/memorystore.h"

#include <QPrinter>
#include <QPrinterInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QScopeGuard>
#include <QStandardPaths>

namespace {

QString run(const QString& program, const QStringList& arguments)
{
    QProcess process;
    process.start(program, arguments);
    if (!process.waitForFinished(60000))
        return QStringLiteral("<%1 did not finish>").arg(program);
    return QString::fromUtf8(process.readAllStandardOutput());
}

QString pdfField(const QString& pdf, const QString& field)
{
    const QRegularExpression line(QStringLiteral("^%1:\\s*(.*)$").arg(field), QRegularExpression::MultilineOption);
    return line.match(run(QStringLiteral("pdfinfo"), {pdf})).captured(1).trimmed();
}

QString pageText(const QString& pdf, int page)
{
    return run(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), QStringLiteral("-f"), QString::number(page),
                                             QStringLiteral("-l"), QString::number(page), pdf, QStringLiteral("-")});
}

QString fontsOf(const QString& pdf)
{
    return run(QStringLiteral("pdffonts"), {pdf});
}

} // namespace

class PrintingTest : public MainWindowTest
{
    Q_OBJECT

private:
    QString m_pdfFolder;

    // Runs a command and returns the PDF it wrote (empty when none).
    QString printWith(const char* command)
    {
        action(command)->trigger();
        return form()->printing().lastPdf();
    }

    // Every job of the fixture's window goes to a PDF in its sandbox.
    void printIntoSandbox()
    {
        m_pdfFolder = m_fixture->sandbox.filePath(QStringLiteral("printed"));
        QDir().mkpath(m_pdfFolder);
        form()->printing().setPdfFolder(m_pdfFolder);
    }

private slots:
    void initTestCase()
    {
        if (QStandardPaths::findExecutable(QStringLiteral("pdfinfo")).isEmpty())
            QSKIP("poppler-utils (pdfinfo, pdftotext, pdffonts) is not installed");
    }

    void init()
    {
        newFixture();
        QVERIFY(start());
        printIntoSandbox();
    }
    void cleanup() { m_fixture.reset(); }

    void aLongDocumentPrintsPageAfterPageUntilItsEnd()
    {
        QByteArray text;
        for (int i = 1; i <= 300; ++i)
            text += "Line number " + QByteArray::number(i) + "\r\n";
        editor()->setBytes(text);
        const QString pdf = printWith("Print1");
        QCOMPARE(QFileInfo(pdf).path(), m_pdfFolder);
        QCOMPARE(QFileInfo(pdf).fileName(), QStringLiteral("Untitled.pdf"));
        QVERIFY(status()->panelText(StatusBar::Message).contains(pdf));
        QCOMPARE(pdfField(pdf, QStringLiteral("Title")), QStringLiteral("Untitled"));

        const int pages = pdfField(pdf, QStringLiteral("Pages")).toInt();
        QVERIFY2(pages > 1, qPrintable(QString::number(pages)));
        const QString first = pageText(pdf, 1);
        QVERIFY(first.startsWith(QStringLiteral("Line number 1\n")));
        QVERIFY(!first.contains(QStringLiteral("Line number 300")));
        const QString last = pageText(pdf, pages);
        QVERIFY(last.contains(QStringLiteral("Line number 300")));
        // Every line is printed once, in order, across the pages.
        QString all;
        for (int page = 1; page <= pages; ++page)
            all += pageText(pdf, page);
        QCOMPARE(all.count(QStringLiteral("Line number ")), 300);
        QVERIFY(all.indexOf(QStringLiteral("Line number 299\n")) < all.indexOf(QStringLiteral("Line number 300\n")));

        // A second job never replaces the first one's file.
        const QString again = printWith("PrintDocument1");
        QCOMPARE(QFileInfo(again).fileName(), QStringLiteral("Untitled (2).pdf"));
        QVERIFY(QFileInfo::exists(pdf));
    }

    void anEmptyDocumentPrintsOneEmptyPage()
    {
        const QString pdf = printWith("PrintBtn1");
        QCOMPARE(pdfField(pdf, QStringLiteral("Pages")), QStringLiteral("1"));
        QVERIFY(pageText(pdf, 1).trimmed().isEmpty());
    }

    void aSavedDocumentIsPrintedUnderItsFileName()
    {
        form()->files().openPath(makeFile(QStringLiteral("notes.txt"), "Shopping list\r\n"));
        const QString pdf = printWith("Print1");
        QCOMPARE(pdfField(pdf, QStringLiteral("Title")), QStringLiteral("notes.txt"));
        QVERIFY(pageText(pdf, 1).contains(QStringLiteral("Shopping list")));
        QVERIFY(prompts().printerDialogs.isEmpty()); // no dialog before a document prints
    }

    void theSelectionPrintsAfterTheDialogInTheFontOfTextBox1()
    {
        editor()->setBytes("keep out SELECTED WORDS keep out");
        select(9, 23);
        form()->editorViews()->setFont(QFont(QStringLiteral("DejaVu Serif"), 12));

        prompts().printerDialogAccepted = false;
        QVERIFY(printWith("PrintSelection1").isEmpty());
        QCOMPARE(prompts().printerDialogs, QList<PrinterDialog>{PrinterDialog::Print});
        QVERIFY(QDir(m_pdfFolder).isEmpty());

        prompts().printerDialogAccepted = true;
        const QString pdf = printWith("PrintSelection1");
        QCOMPARE(QFileInfo(pdf).fileName(), QStringLiteral("Selected Text.pdf"));
        QCOMPARE(pdfField(pdf, QStringLiteral("Title")), QStringLiteral("Selected Text"));
        QCOMPARE(pageText(pdf, 1).trimmed(), QStringLiteral("SELECTED WORDS"));
        // The editor's own font does not reach the selection: it prints in Courier New's kind.
        QVERIFY2(!fontsOf(pdf).contains(QStringLiteral("Serif")), qPrintable(fontsOf(pdf)));
        QVERIFY2(fontsOf(printWith("Print1")).contains(QStringLiteral("Serif")), "the document prints in its font");

        // The options window's "Change Default Font" changes TextBox1's font too.
        form()->setEditorFont(QFont(QStringLiteral("DejaVu Serif"), 12));
        QVERIFY(fontsOf(printWith("PrintSelection1")).contains(QStringLiteral("Serif")));
    }

    void aFileNamedInADialogServesOnlyTheJobItWasChosenFor()
    {
        editor()->setBytes("words");
        select(0, 5);
        const QString chosen = m_fixture->sandbox.filePath(QStringLiteral("chosen.pdf"));
        prompts().printerChoice = [chosen](QPrinter& printer) {
            printer.setOutputFormat(QPrinter::PdfFormat);
            printer.setOutputFileName(chosen);
        };
        QCOMPARE(printWith("PrintSelection1"), chosen);
        QCOMPARE(pageText(chosen, 1).trimmed(), QStringLiteral("words"));
        QCOMPARE(QFileInfo(printWith("Print1")).fileName(), QStringLiteral("Untitled.pdf"));

        // Printer Setup keeps printing to a file, never to the file it showed.
        QFile::remove(chosen);
        action("PrinterSetup1")->trigger();
        QCOMPARE(prompts().printerDialogs.last(), PrinterDialog::PrinterSetup);
        QCOMPARE(QFileInfo(printWith("Print1")).fileName(), QStringLiteral("Untitled (2).pdf"));
        QVERIFY(!QFileInfo::exists(chosen));
    }

    void aPrinterThatRefusesTheJobIsReported()
    {
        form()->printing().setPdfFolder(m_fixture->sandbox.filePath(QStringLiteral("no such folder")));
        action("Print1")->trigger();
        QCOMPARE(prompts().errors.size(), 1);
        QVERIFY2(prompts().errors.first().contains(QStringLiteral("Printing \"Untitled\" could not start")),
                 qPrintable(prompts().errors.first()));
        QVERIFY(form()->printing().lastPdf().isEmpty());
    }

    // Printed as opening the file would show it, in whatever encoding it is written.
    void theCommandLinePrintsAFileUnderItsNameAsGiven_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::newRow("UTF-8") << QByteArray("milk\r\nbread\r\n");
        QTest::newRow("Windows-1252") << QByteArray("milk\r\nbr\xEA"
                                                    "ad\r\n");
        QTest::newRow("UTF-16 LE") << QByteArray("\xFF\xFEm\0i\0l\0k\0\r\0\n\0b\0r\0\xEA\0a\0d\0\r\0\n\0", 28);
    }
    void theCommandLinePrintsAFileUnderItsNameAsGiven()
    {
        QFETCH(QByteArray, bytes);
        // Without a setting of its own, a job goes to the documents folder, here the home folder.
        if (!QPrinterInfo::availablePrinters().isEmpty())
            QSKIP("a printer is installed: this would print on paper");
        m_fixture.reset();
        newFixture();
        const QByteArray savedHome = qgetenv("HOME");
        const auto restoreHome = qScopeGuard([&savedHome] { qputenv("HOME", savedHome); });
        qputenv("HOME", QFile::encodeName(m_fixture->sandbox.path()));
        const QString file = makeFile(QStringLiteral("todo list.txt"), bytes);
        QVERIFY(start({QStringLiteral("/p"), file}));
        const QString pdf = m_fixture->sandbox.filePath(QStringLiteral("todo list.txt.pdf"));
        QCOMPARE(form()->printing().lastPdf(), pdf);
        QCOMPARE(pdfField(pdf, QStringLiteral("Title")), file);
        QCOMPARE(pageText(pdf, 1), bytes.startsWith("milk\r\nbread") ? QStringLiteral("milk\nbread\n\f")
                                                                     : QStringLiteral("milk\nbr\u00EAad\n\f"));
    }

    void pageSetupKeepsThePaperAndMarginsButPrintsWithoutMargins()
    {
        // A window restored from a store, so its stored properties are written back.
        MemoryStore store;
        m_fixture.reset();
        newFixture();
        setProgramStore(&store);
        const auto noStore = qScopeGuard([this] {
            m_fixture.reset();
            setProgramStore(nullptr);
        });
        QVERIFY(start());
        printIntoSandbox();
        editor()->setBytes("Top left corner\r\n");
        const QString portraitSize = pdfField(printWith("Print1"), QStringLiteral("Page size"));

        prompts().printerChoice = [](QPrinter& printer) {
            printer.setPageOrientation(QPageLayout::Landscape);
            printer.setPageMargins(QMarginsF(30, 30, 30, 30), QPageLayout::Millimeter);
        };
        action("PageSetup1")->trigger();
        QCOMPARE(prompts().printerDialogs, QList<PrinterDialog>{PrinterDialog::PageSetup});

        // The choice is kept in the main window's section, here in hundredths of a millimetre.
        form()->windowSettings()->save(store);
        const QString section = QStringLiteral("Main");
        QCOMPARE(store.readString(section, QStringLiteral("PageSetupDialog1_PaperSizeX")), QStringLiteral("29700"));
        QCOMPARE(store.readString(section, QStringLiteral("PageSetupDialog1_PaperSizeY")), QStringLiteral("21000"));
        QCOMPARE(store.readString(section, QStringLiteral("PageSetupDialog1_MarginsLeft")), QStringLiteral("3000"));

        const QString after = printWith("Print1");
        const QString landscapeSize = pdfField(after, QStringLiteral("Page size"));
        QVERIFY2(landscapeSize != portraitSize, qPrintable(landscapeSize));
        // The margins chosen do not move the text: it starts at the page's top left as before.
        const QString bbox = run(QStringLiteral("pdftotext"), {QStringLiteral("-bbox"), after, QStringLiteral("-")});
        const QRegularExpression word(QStringLiteral("<word xMin=\"([0-9.]+)\" yMin=\"([0-9.]+)\""));
        const QRegularExpressionMatch firstWord = word.match(bbox);
        QVERIFY(firstWord.hasMatch());
        QVERIFY2(firstWord.captured(1).toDouble() < 5 && firstWord.captured(2).toDouble() < 5, qPrintable(bbox));

        // The next start prints on the paper kept.
        m_fixture.reset();
        newFixture();
        QVERIFY(start());
        printIntoSandbox();
        QCOMPARE(pdfField(printWith("Print1"), QStringLiteral("Page size")), landscapeSize);
    }
};

QTEST_MAIN(PrintingTest)
#include "tst_printing.moc"
