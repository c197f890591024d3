// Opening many small files through a "CF" list in the real main window: the time from the start
// of the window's creation until it is shown with every document open, and the program's peak
// memory. Each count runs in a fresh process. Fails only when the program misbehaves (a wrong
// number of documents, the wrong one current).
//
// Environment: QUILLET_BENCH_COUNTS (comma-separated, default "500,2000,5000"),
// QUILLET_BENCH_RUNS (runs per count, default 3).

#include "app/startup.h"
#include "benchsupport.h"
#include "core/prompts.h"
#include "documents/documentset.h"
#include "mainwindow/mainwindow.h"
#include "mainwindow/statusbar.h"

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

} // namespace

int main(int argc, char** argv)
{
    if (argc == 4 && QByteArray(argv[1]) == "--child")
        return child(QString::fromLocal8Bit(argv[2]), QByteArray(argv[3]).toInt());

    QCoreApplication app(argc, argv);
    const QString countsText = qEnvironmentVariable("QUILLET_BENCH_COUNTS", QStringLiteral("500,2000,5000"));
    const int runs = benchRuns(3);
    QTemporaryDir dir;

    for (const QString& countText : countsText.split(QLatin1Char(','), Qt::SkipEmptyParts)) {
        const int count = countText.trimmed().toInt();
        if (count <= 0)
            continue;
        const QString listPath = makeFiles(dir.filePath(QStringLiteral("n%1").arg(count)), count);
        std::vector<double> opens;
        long peak = 0;
        for (int i = 0; i < runs; ++i) {
            // Each run's store files in a folder of their own, gone after the run.
            const QString tmp = dir.filePath(QStringLiteral("tmp%1-%2").arg(count).arg(i));
            QDir().mkpath(tmp);
            const auto removeTmp = qScopeGuard([&] { QDir(tmp).removeRecursively(); });
            const std::optional<QByteArray> output = runChild({listPath, QString::number(count)}, tmp);
            const QList<QByteArray> fields = output.value_or(QByteArray()).trimmed().split(' ');
            if (!output || fields.size() != 2) {
                std::fprintf(stderr, "bench_openmany: %d files, run %d failed\n", count, i);
                return 1;
            }
            opens.push_back(fields[0].toDouble());
            peak = std::max(peak, fields[1].toLong());
        }
        std::printf("CF list of %d files, window shown: median %.0f ms (min %.0f, max %.0f) over %d runs; "
                    "peak memory %ld MiB\n",
                    count, median(opens), *std::min_element(opens.begin(), opens.end()),
                    *std::max_element(opens.begin(), opens.end()), runs, peak);
        std::fflush(stdout);
    }
    return 0;
}
