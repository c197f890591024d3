// Opening, editing and saving a large file in the real main window: the time from the command
// until the editor shows the file, the time to save it after an edit (the progress pauses left
// out), and the program's peak memory. Each run is a fresh process, so its peak memory is its own.
//
// Environment: QUILLET_BENCH_MIB (file size, default 50), QUILLET_BENCH_RUNS (default 5).

#include "app/startup.h"
#include "benchsupport.h"
#include "core/prompts.h"
#include "documents/documentset.h"
#include "editor/editorview.h"
#include "mainwindow/filecontroller.h"
#include "mainwindow/mainwindow.h"
#include "mainwindow/statusbar.h"
#include "mainwindow/viewcontroller.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

// Lines of printable text of varied length, CR LF ended, written a chunk at a time.
void makeFile(const QString& path, qint64 bytes)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        qFatal("cannot write %s", qPrintable(path));
    QByteArray chunk;
    quint32 seed = 12345;
    qint64 written = 0;
    while (written < bytes) {
        chunk.clear();
        while (chunk.size() < (1 << 20)) {
            seed = seed * 1103515245u + 12345u;
            const int length = 20 + static_cast<int>((seed >> 16) % 100);
            for (int i = 0; i < length; ++i)
                chunk.append(static_cast<char>(' ' + (i * 7 + static_cast<int>(seed >> 8)) % 94));
            chunk.append("\r\n");
        }
        const qint64 n = std::min<qint64>(chunk.size(), bytes - written);
        file.write(chunk.constData(), n);
        written += n;
    }
}

// One run: open the file from the command line, show the window, save.
int child(const QString& path)
{
    int argc = 1;
    char name[] = "bench_open";
    char* argv[] = {name, nullptr};
    QApplication app(argc, argv);
    BenchPrompts prompts;
    Prompts::install(&prompts);
    StatusBar::StepPauseMs = 0;

    QElapsedTimer timer;
    timer.start();
    ProgramWindows windows;
    createProgramWindows(windows, {path});
    windows.main->show();
    QCoreApplication::processEvents();
    windows.main->editor()->repaint();
    const double openMs = timer.nsecsElapsed() / 1e6;
    // An edit at the very start moves the whole text in the buffer: the hardest place for one.
    windows.main->editor()->insertBytes(0, "edited\r\n");
    windows.main->documents().markCurrentModified();
    const qint64 length = windows.main->editor()->textLength() - 8;

    timer.restart();
    windows.main->files().save();
    const double saveMs = timer.nsecsElapsed() / 1e6;
    if (QFileInfo(path).size() != length + 8 ||
        windows.main->documents().isModified(windows.main->documents().currentIndex())) {
        std::fprintf(stderr, "bench_open: the edited file was not saved whole\n");
        return 1;
    }

    std::printf("%.1f %.1f %ld %lld\n", openMs, saveMs, peakMemoryMiB(), static_cast<long long>(length));
    destroyProgramWindows(windows);
    return 0;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc == 3 && QByteArray(argv[1]) == "--child")
        return child(QString::fromLocal8Bit(argv[2]));

    QCoreApplication app(argc, argv);
    const qint64 mib =
        qEnvironmentVariableIntValue("QUILLET_BENCH_MIB") > 0 ? qEnvironmentVariableIntValue("QUILLET_BENCH_MIB") : 50;
    const int runs =
        qEnvironmentVariableIntValue("QUILLET_BENCH_RUNS") > 0 ? qEnvironmentVariableIntValue("QUILLET_BENCH_RUNS") : 5;
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("big.txt"));

    std::vector<double> opens, saves;
    long peak = 0;
    for (int i = 0; i < runs; ++i) {
        makeFile(path, mib << 20); // each run saves an edited copy over it
        QProcess process;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("TMPDIR"), dir.path());
        if (!env.contains(QStringLiteral("QT_QPA_PLATFORM")))
            env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        process.setProcessEnvironment(env);
        process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        process.start(QCoreApplication::applicationFilePath(), {QStringLiteral("--child"), path});
        process.waitForFinished(-1);
        const QList<QByteArray> fields = process.readAllStandardOutput().trimmed().split(' ');
        if (process.exitCode() != 0 || fields.size() != 4 || fields[3].toLongLong() != (mib << 20)) {
            std::fprintf(stderr, "bench_open: run %d failed (%s)\n", i, fields.join(' ').constData());
            return 1;
        }
        opens.push_back(fields[0].toDouble());
        saves.push_back(fields[1].toDouble());
        peak = std::max(peak, fields[2].toLong());
    }
    std::printf("open %lld MiB file: median %.0f ms (min %.0f, max %.0f) over %d runs\n", static_cast<long long>(mib),
                median(opens), *std::min_element(opens.begin(), opens.end()),
                *std::max_element(opens.begin(), opens.end()), runs);
    std::printf("edit at the start and save it (no progress pauses): median %.0f ms (max %.0f)\n", median(saves),
                *std::max_element(saves.begin(), saves.end()));
    std::printf("peak memory of a run (VmHWM): %ld MiB\n", peak);
    return 0;
}
