// Opening many small files in the real main window, through a "CF" list (the time from the start
// of the window's creation until it is shown with every document open) and through Open All of a
// ClipBook File Template (the processor time of the command, the window already shown), and the
// program's peak memory. Each count and way runs in a fresh process. Fails only when the program
// misbehaves (a wrong number of documents, the wrong one current).
//
// Environment: QUILLET_BENCH_COUNTS (comma-separated, default "500,2000,5000"),
// QUILLET_BENCH_RUNS (runs per count, default 3).

#include "app/startup.h"
#include "benchsupport.h"
#include "core/prompts.h"
#include "documents/documentset.h"
#include "mainwindow/clipbookcontroller.h"
#include "mainwindow/mainwindow.h"
#include "mainwindow/statusbar.h"
#include "windows/clipbookwindow.h"
#include "windows/configurationdialog.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QScopeGuard>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

// `count` files of a few lines each and the list naming them, one a line.
QString makeFiles(const QString& dir, int count)
{
    QDir().mkpath(dir);
    QByteArray list;
    for (int i = 0; i < count; ++i) {
        const QString path = QStringLiteral("%1/file%2.txt").arg(dir).arg(i);
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly))
            qFatal("cannot write %s", qPrintable(path));
        file.write(QByteArrayLiteral("A small file, number ") + QByteArray::number(i) + "\r\nwith a second line.\r\n");
        list += QFile::encodeName(path) + "\r\n";
    }
    const QString listPath = dir + QStringLiteral("/list.txt");
    QFile file(listPath);
    if (!file.open(QIODevice::WriteOnly))
        qFatal("cannot write %s", qPrintable(listPath));
    file.write(list);
    return listPath;
}

// One run: CF <list>, show the window, check the documents.
int child(const QString& listPath, int count)
{
    ChildApplication app("bench_openmany");

    QElapsedTimer timer;
    timer.start();
    ProgramWindows windows;
    createProgramWindows(windows, {QStringLiteral("CF"), listPath});
    windows.main->show();
    QCoreApplication::processEvents();
    const double openMs = timer.nsecsElapsed() / 1e6;

    // "Untitled", the listed files, then the list itself, which is current.
    const DocumentSet& documents = windows.main->documents();
    if (documents.count() != count + 2 || documents.currentIndex() != count + 1 ||
        documents.current().path != listPath || !app.prompts.last.isEmpty()) {
        std::fprintf(stderr, "bench_openmany: %d documents, current %d, prompt '%s'\n", documents.count(),
                     documents.currentIndex(), qPrintable(app.prompts.last));
        return 1;
    }
    std::printf("%.1f %ld\n", openMs, peakMemoryMiB());
    destroyProgramWindows(windows);
    return 0;
}

// One run: a File Template holding the listed files, its Open All pressed in the shown window.
int childOpenAll(const QString& listPath, int count)
{
    ChildApplication app("bench_openmany");
    const QString programDir = QFileInfo(listPath).absolutePath() + QStringLiteral("/program%1/").arg(count);
    QDir(programDir).removeRecursively();
    QDir().mkpath(programDir);

    ProgramWindows windows;
    createProgramWindows(windows, {});
    windows.configuration->setProgramDirectory(programDir);
    windows.main->show();
    QFile list(listPath);
    if (!list.open(QIODevice::ReadOnly))
        return 1;
    QStringList paths;
    for (const QByteArray& line : list.readAll().split('\n'))
        if (!line.trimmed().isEmpty())
            paths << QFile::decodeName(line.trimmed());
    const QString templatePath = programDir + QStringLiteral("All.fff");
    QFile file(templatePath);
    if (!file.open(QIODevice::WriteOnly))
        return 1;
    file.write(paths.join(QStringLiteral("\r\n")).toUtf8() + "\r\n");
    file.close();
    windows.main->clipBook().showClipBookFiles();
    windows.clipBook->importFileTemplate(templatePath);
    QCoreApplication::processEvents();
    if (windows.clipBook->filePaths().size() != count) {
        std::fprintf(stderr, "bench_openmany: the File Template shows %lld paths\n",
                     qint64(windows.clipBook->filePaths().size()));
        return 1;
    }

    const double cpuBefore = processCpuMs();
    windows.clipBook->openAllFiles();
    QCoreApplication::processEvents();
    const double cpuMs = processCpuMs() - cpuBefore;

    const DocumentSet& documents = windows.main->documents();
    if (documents.count() != count + 1 || documents.current().path != paths.last() || !app.prompts.last.isEmpty()) {
        std::fprintf(stderr, "bench_openmany: %d documents, current %s, prompt '%s'\n", documents.count(),
                     qPrintable(documents.current().path), qPrintable(app.prompts.last));
        return 1;
    }
    std::printf("%.1f %ld\n", cpuMs, peakMemoryMiB());
    destroyProgramWindows(windows);
    QDir(programDir).removeRecursively();
    return 0;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc == 5 && QByteArray(argv[1]) == "--child")
        return QByteArray(argv[4]) == "openall"
                   ? childOpenAll(QString::fromLocal8Bit(argv[2]), QByteArray(argv[3]).toInt())
                   : child(QString::fromLocal8Bit(argv[2]), QByteArray(argv[3]).toInt());

    QCoreApplication app(argc, argv);
    const QString countsText = qEnvironmentVariable("QUILLET_BENCH_COUNTS", QStringLiteral("500,2000,5000"));
    const int runs = benchRuns(3);
    QTemporaryDir dir;

    for (const QString& countText : countsText.split(QLatin1Char(','), Qt::SkipEmptyParts)) {
        const int count = countText.trimmed().toInt();
        if (count <= 0)
            continue;
        const QString listPath = makeFiles(dir.filePath(QStringLiteral("n%1").arg(count)), count);
        for (const char* way : {"cf", "openall"}) {
            std::vector<double> opens;
            long peak = 0;
            for (int i = 0; i < runs; ++i) {
                // Each run's store files in a folder of their own, gone after the run.
                const QString tmp = dir.filePath(QStringLiteral("tmp%1-%2").arg(count).arg(i));
                QDir().mkpath(tmp);
                const auto removeTmp = qScopeGuard([&] { QDir(tmp).removeRecursively(); });
                const std::optional<QByteArray> output =
                    runChild({listPath, QString::number(count), QLatin1String(way)}, tmp);
                const QList<QByteArray> fields = output.value_or(QByteArray()).trimmed().split(' ');
                if (!output || fields.size() != 2) {
                    std::fprintf(stderr, "bench_openmany: %d files, %s, run %d failed\n", count, way, i);
                    return 1;
                }
                opens.push_back(fields[0].toDouble());
                peak = std::max(peak, fields[1].toLong());
            }
            std::printf(QByteArray(way) == "cf"
                            ? "CF list of %d files, window shown: median %.0f ms "
                            : "Open All of a File Template of %d files, processor time: median %.0f ms ",
                        count, median(opens));
            std::printf("(min %.0f, max %.0f) over %d runs; peak memory %ld MiB\n",
                        *std::min_element(opens.begin(), opens.end()), *std::max_element(opens.begin(), opens.end()),
                        runs, peak);
            std::fflush(stdout);
        }
    }
    return 0;
}
