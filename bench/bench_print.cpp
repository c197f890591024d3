// Printing a 10 MB document to PDF (QUILLET_BENCH_MIB for another size): the program's own
// printing next to QScintilla's printer (QsciPrinter::printRange over the same text, the same
// font, the same A4 page and word wrap), alternating in one run. Prints the median wall time of
// each, their ratio, the pages and the PDF sizes.

#include "benchsupport.h"
#include "editor/editorview.h"
#include "mainwindow/printcontroller.h"

#include <Qsci/qsciprinter.h>

#include <QElapsedTimer>
#include <QFileInfo>
#include <QPainter>
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

    EditorView view;
    view.setFont(font);
    view.setBytes(text);

    std::vector<double> own;
    std::vector<double> scintilla;
    int ownPages = 0;
    qint64 ownSize = 0;
    qint64 scintillaSize = 0;
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
        {
            QsciPrinter printer(QPrinter::HighResolution);
            const QString pdf = dir.filePath(QStringLiteral("scintilla.pdf"));
            preparePdf(printer, pdf);
            printer.setWrapMode(QsciScintilla::WrapWord);
            QElapsedTimer timer;
            timer.start();
            printer.printRange(&view);
            scintilla.push_back(timer.nsecsElapsed() / 1e6);
            scintillaSize = QFileInfo(pdf).size();
        }
    }
    const double ownMs = median(own);
    const double scintillaMs = median(scintilla);
    std::printf("bench_print: %lld MiB of text to PDF, median of %d runs\n", static_cast<long long>(mib), runs);
    std::printf("  Quillet printText:          %8.0f ms  (%d pages, PDF %lld KiB)\n", ownMs, ownPages,
                static_cast<long long>(ownSize / 1024));
    std::printf("  QsciPrinter::printRange:    %8.0f ms  (PDF %lld KiB)\n", scintillaMs,
                static_cast<long long>(scintillaSize / 1024));
    std::printf("  ratio Quillet / QScintilla: %8.2f\n", scintillaMs > 0 ? ownMs / scintillaMs : 0.0);
    std::printf("  peak memory: %s\n", qPrintable(peakMemory()));
    return 0;
}
