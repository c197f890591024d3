// Opening and saving a Windows-1252 file against the same text in UTF-8, in the real main window:
// the CPU time from the open until the program is idle, the longest stretch in which the window
// did not answer, and the time to save after an edit; then the cost of telling a UTF-8 file's
// encoding (the whole file read and checked) beside the whole open.
//
// Environment: QUILLET_BENCH_MIB (file size, default 50), QUILLET_BENCH_RUNS (default 3).

#include "app/startup.h"
#include "benchsupport.h"
#include "documents/documentset.h"
#include "documents/filesave.h"
#include "editor/editorview.h"
#include "idleprobe.h"
#include "mainwindow/filecontroller.h"
#include "mainwindow/mainwindow.h"
#include "platform/textcodec.h"

#include <QElapsedTimer>
#include <QTemporaryDir>

#include <cstdio>
#include <map>
#include <vector>

namespace {

// Lines of text with a few accented letters and a euro sign each, CR LF ended, in UTF-8.
QByteArray sampleText(qint64 bytes)
{
    QByteArray text;
    text.reserve(bytes + 256);
    quint32 seed = 4242;
    while (text.size() < bytes) {
        seed = seed * 1103515245u + 12345u;
        const int length = 20 + static_cast<int>((seed >> 16) % 100);
        for (int i = 0; i < length; ++i)
            text.append(static_cast<char>(' ' + (i * 7 + static_cast<int>(seed >> 8)) % 94));
        text.append("caf\xC3\xA9 na\xC3\xAFve \xE2\x82\xAC\r\n");
    }
    return text;
}

void writeFile(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
        qFatal("cannot write %s", qPrintable(path));
}

// One run: each file opened until idle, then edited and saved; "name cpu-ms stall-ms" lines.
int child(const QStringList& paths)
{
    ChildApplication app("bench_encoding");
    ProgramWindows windows;
    createProgramWindows(windows, {});
    windows.main->show();
    IdleProbe probe;
    probe.start();
    probe.waitUntilIdle();
    for (const QString& path : paths) {
        const QString name = QFileInfo(path).baseName();
        probe.start();
        windows.main->files().openPath(path);
        const double cpu = probe.waitUntilIdle();
        std::printf("open-%s %.1f %.1f\n", qPrintable(name), cpu * 1e3, probe.longestStallMs());
        windows.main->editor()->insertBytes(0, "edited\r\n");
        windows.main->documents().markCurrentModified();
        QElapsedTimer timer;
        timer.start();
        windows.main->files().save();
        std::printf("save-%s %.1f 0\n", qPrintable(name), timer.nsecsElapsed() / 1e6);
        windows.main->documents().setCurrentModified(false);
        windows.main->files().closeDocument();
        probe.start();
        probe.waitUntilIdle();
    }
    QElapsedTimer timer;
    timer.start();
    const platform::TextEncoding found = detectFileEncoding(paths.first(), platform::TextEncoding::Windows1252);
    std::printf("detect-utf8 %.2f 0\n", timer.nsecsElapsed() / 1e6);
    destroyProgramWindows(windows);
    return found == platform::TextEncoding::Utf8 ? 0 : 1;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc >= 3 && QByteArray(argv[1]) == "--child") {
        QStringList paths;
        for (int i = 2; i < argc; ++i)
            paths.append(QString::fromLocal8Bit(argv[i]));
        return child(paths);
    }
    QCoreApplication app(argc, argv);
    const qint64 mib = benchMiB();
    const int runs = benchRuns(3);
    QTemporaryDir dir;
    const QString utf8Path = dir.filePath(QStringLiteral("utf8.txt"));
    const QString legacyPath = dir.filePath(QStringLiteral("windows1252.txt"));
    std::map<QByteArray, std::vector<double>> cpu, stall;
    std::vector<QByteArray> order;
    for (int i = 0; i < runs; ++i) {
        // Each run saves edited copies over them.
        const QByteArray text = sampleText(mib << 20);
        QByteArray legacy;
        platform::encodeText(text, platform::TextEncoding::Windows1252, legacy);
        writeFile(utf8Path, text);
        writeFile(legacyPath, legacy);
        const std::optional<QByteArray> output = runChild({utf8Path, legacyPath}, dir.path());
        if (!output) {
            std::fprintf(stderr, "bench_encoding: run %d failed\n", i);
            return 1;
        }
        for (const QByteArray& line : output->split('\n')) {
            const QList<QByteArray> fields = line.trimmed().split(' ');
            if (fields.size() != 3)
                continue;
            if (!cpu.count(fields[0]))
                order.push_back(fields[0]);
            cpu[fields[0]].push_back(fields[1].toDouble());
            stall[fields[0]].push_back(fields[2].toDouble());
        }
    }
    std::printf("bench_encoding: %lld MiB of text, %d runs (medians; open: CPU ms until idle and the longest "
                "stretch the window did not answer; save: ms; detect: ms to check a whole UTF-8 file)\n",
                static_cast<long long>(mib), runs);
    for (const QByteArray& name : order)
        std::printf("  %-20s %9.1f ms   longest stall %7.1f ms\n", name.constData(), median(cpu[name]),
                    median(stall[name]));
    const double openRatio = median(cpu["open-windows1252"]) / median(cpu["open-utf8"]);
    const double saveRatio = median(cpu["save-windows1252"]) / median(cpu["save-utf8"]);
    std::printf("  Windows-1252 / UTF-8: open %.2fx, save %.2fx; detection %.1f%% of the UTF-8 open\n", openRatio,
                saveRatio, 100 * median(cpu["detect-utf8"]) / median(cpu["open-utf8"]));
    return 0;
}
