// Printing a 10 MB document to PDF (QUILLET_BENCH_MIB for another size) on an A4 page with word
// wrap, as the program prints. Prints the median wall time, the pages and the PDF size.

#include "benchsupport.h"
#include "mainwindow/printcontroller.h"

#include <QElapsedTimer>
#include <QFileInfo>
#include <QPainter>
#include <QPrinter>
#include <QTemporaryDir>

#include <cstdio>

namespace {

void preparePdf(QPrinter& printer, const QString& path)
{
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(path);
    printer.setPageSize(QPageSize(QPageSize::A4));
    printer.setFullPage(false);
    printer.setPageMargins(QMarginsF(0, 0, 0, 0), QPageLayout::Millimeter);
    printer.setDocName(QStringLiteral("bench"));
}

} // namespace

int main(int argc, char** argv)
{
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    BenchPrompts prompts;
    Prompts::install(&prompts);

    QTemporaryDir dir;
    const qint64 mib = benchMiB(10);
    const QString textPath = dir.filePath(QStringLiteral("text.txt"));
    makeTextFile(textPath, mib << 20);
    QFile file(textPath);
    if (!file.open(QIODevice::ReadOnly))
        qFatal("cannot read the text");
    const QByteArray text = file.readAll();

    QFont font(QStringLiteral("Courier New"));
    font.setStyleHint(QFont::Monospace);
    font.setPointSize(10);

    std::vector<double> own;
    int ownPages = 0;
    qint64 ownSize = 0;
    const int runs = benchRuns(3);
    for (int run = 0; run < runs; ++run) {
        {
            QPrinter printer(QPrinter::HighResolution);
            const QString pdf = dir.filePath(QStringLiteral("own.pdf"));
            preparePdf(printer, pdf);
            QElapsedTimer timer;
            timer.start();
            ownPages = printText(printer, text, font);
            own.push_back(timer.nsecsElapsed() / 1e6);
            ownSize = QFileInfo(pdf).size();
        }
    }
    const double ownMs = median(own);
    std::printf("bench_print: %lld MiB of text to PDF, median of %d runs\n", static_cast<long long>(mib), runs);
    std::printf("  Quillet printText:          %8.0f ms  (%d pages, PDF %lld KiB)\n", ownMs, ownPages,
                static_cast<long long>(ownSize / 1024));
    std::printf("  peak memory: %s\n", qPrintable(peakMemory()));
    return 0;
}
