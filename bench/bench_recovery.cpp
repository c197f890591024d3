// Recovery copies of a large document in the real main window. What one key followed by the pause
// that writes it costs: the processor time of every thread until the journal is idle again, the
// longest the window's thread stops (for the key, and for handing the pause's edits over), and the
// memory the process holds meanwhile next to its figure at rest. The first key after opening is
// shown apart: the record then begins on the file, which the worker copies. Then how long a
// document with many journalled edits takes to recover, next to opening its file.
//
// Environment: QUILLET_BENCH_MIB (document size, default 50), QUILLET_BENCH_BIG (0 leaves out the
// 1 GiB document), QUILLET_BENCH_RUNS (keys, default 9), QUILLET_BENCH_EDITS (edits before the
// recovery, default 10000).

#include "app/startup.h"
#include "benchsupport.h"
#include "documents/documentset.h"
#include "documents/recoveryjournal.h"
#include "editor/editorview.h"
#include "mainwindow/filecontroller.h"
#include "mainwindow/mainwindow.h"
#include "mainwindow/recoverycontroller.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QKeyEvent>
#include <QTemporaryDir>

#include <cstdio>
#include <vector>

namespace {
double msSince(const QElapsedTimer& timer)
{
    return timer.nsecsElapsed() / 1e6;
}

long statusMiB(const char* field)
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray& line : status.readAll().split('\n'))
        if (line.startsWith(field))
            return line.mid(qstrlen(field)).trimmed().split(' ').value(0).toLong() / 1024;
    return -1;
}

// From now on the peak figure (VmHWM) counts again from what the process holds.
void resetPeakMemory()
{
    QFile clear(QStringLiteral("/proc/self/clear_refs"));
    if (clear.open(QIODevice::WriteOnly))
        clear.write("5");
}

struct KeyCost
{
    double cpuMs = 0;  // every thread, from the key until the journal is idle
    double keyMs = 0;  // the window's thread, for the key
    double handMs = 0; // the window's thread, for handing the edits over at the pause
};

// One key in the middle of the text, then the pause that writes it (and, with `backgroundToo`,
// the slow work it leads to).
KeyCost keyAndPause(EditorView& editor, RecoveryController& recovery, RecoveryJournal& journal,
                    bool backgroundToo = false)
{
    KeyCost cost;
    const double before = processCpuMs();
    QElapsedTimer clock;
    clock.start();
    QKeyEvent press(QEvent::KeyPress, Qt::Key_X, Qt::NoModifier, QStringLiteral("x"));
    QApplication::sendEvent(&editor, &press);
    QKeyEvent release(QEvent::KeyRelease, Qt::Key_X, Qt::NoModifier, QStringLiteral("x"));
    QApplication::sendEvent(&editor, &release);
    cost.keyMs = msSince(clock);
    clock.restart();
    recovery.bringUpToDate(false);
    cost.handMs = msSince(clock);
    journal.waitUntilIdle(backgroundToo);
    cost.cpuMs = processCpuMs() - before;
    return cost;
}

void waitForLoad(EditorView& editor)
{
    editor.finishLoading();
    QCoreApplication::processEvents();
}

int child(const QString& path, int keys, int edits)
{
    ChildApplication app("bench_recovery");
    QTemporaryDir state;
    RecoveryJournal journal(state.filePath(QStringLiteral("recovery")));
    if (!journal.start())
        qFatal("no recovery folder");

    ProgramWindows windows;
    createProgramWindows(windows, {path});
    windows.main->show();
    QCoreApplication::processEvents();
    windows.main->enableRecovery(journal);
    RecoveryController& recovery = *windows.main->recovery();
    EditorView& editor = *windows.main->editor();
    waitForLoad(editor);
    const qint64 length = editor.textLength();
    editor.setCaret(length / 2);
    QCoreApplication::processEvents();

    const KeyCost first = keyAndPause(editor, recovery, journal, true);
    QCoreApplication::processEvents();
    resetPeakMemory();
    const long rest = statusMiB("VmRSS:");
    std::vector<double> cpu;
    double longest = 0;
    for (int i = 0; i < keys; ++i) {
        const KeyCost cost = keyAndPause(editor, recovery, journal);
        cpu.push_back(cost.cpuMs);
        longest = std::max({longest, cost.keyMs, cost.handMs});
    }
    const long peak = statusMiB("VmHWM:");
    std::printf("%.2f %.2f %.2f %ld %ld ", first.cpuMs, median(cpu), longest, rest, peak);

    // Edits that stay apart in the journal: a hundred places, each edited a hundred times with a
    // byte left between two edits.
    quint32 seed = 4711;
    for (int done = 0; done < edits;) {
        seed = seed * 1103515245u + 12345u;
        const qint64 place = qint64((quint64(seed) << 16) % quint64(std::max<qint64>(1, editor.textLength() - 400)));
        for (int k = 0; k < 100 && done < edits; ++k, ++done) {
            if (k % 10 == 9)
                editor.replaceRange(place + 2 * k, place + 2 * k + 1, QByteArrayView());
            else
                editor.insertBytes(place + 2 * k, "x");
        }
        if (done % 1000 == 0)
            recovery.bringUpToDate(false);
    }
    recovery.bringUpToDate(true);
    const RecoveryRecord record = journal.records().constFirst();

    QElapsedTimer clock;
    clock.start();
    windows.main->files().openPath(path);
    waitForLoad(*windows.main->editor());
    const double open = msSince(clock);
    clock.restart();
    const QString problem = journal.check(record);
    recovery.reopen(record);
    waitForLoad(*windows.main->editor());
    const double recover = msSince(clock);
    if (!problem.isEmpty() || windows.main->editor()->textLength() != record.length) {
        std::fprintf(stderr, "bench_recovery: the record did not come back: %s\n", qPrintable(problem));
        return 1;
    }
    std::printf("%.0f %.0f\n", open, recover);
    std::fflush(stdout);
    recovery.finish();
    destroyProgramWindows(windows);
    return 0;
}
} // namespace

int main(int argc, char** argv)
{
    if (argc == 5 && QByteArray(argv[1]) == "--child")
        return child(QString::fromLocal8Bit(argv[2]), QByteArray(argv[3]).toInt(), QByteArray(argv[4]).toInt());

    QCoreApplication app(argc, argv);
    const qint64 mib = benchMiB();
    const bool big = qEnvironmentVariable("QUILLET_BENCH_BIG") != QStringLiteral("0");
    const int keys = benchRuns(9);
    const int edits =
        qEnvironmentVariableIsSet("QUILLET_BENCH_EDITS") ? qEnvironmentVariableIntValue("QUILLET_BENCH_EDITS") : 10000;
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("big.txt"));
    std::vector<qint64> sizes{mib << 20};
    if (big && mib != 1024)
        sizes.push_back(qint64(1) << 30);
    for (const qint64 size : sizes) {
        makeTextFile(path, size);
        const std::optional<QByteArray> output =
            runChild({path, QString::number(keys), QString::number(edits)}, dir.path());
        const QList<QByteArray> f = output.value_or(QByteArray()).trimmed().split(' ');
        if (!output || f.size() != 7) {
            std::fprintf(stderr, "bench_recovery: the %lld MiB run failed\n", static_cast<long long>(size >> 20));
            return 1;
        }
        std::printf("%lld MiB document: one key and the pause after it cost %s ms of processor time (median of %d; "
                    "the first key after opening %s ms, while the file is copied); the window's thread stopped "
                    "%s ms at most; memory %s MiB at rest, %s MiB at the peak meanwhile\n",
                    static_cast<long long>(size >> 20), f[1].constData(), keys, f[0].constData(), f[2].constData(),
                    f[3].constData(), f[4].constData());
        std::printf("  recovering it with %d journalled edits: %s ms; opening the file: %s ms (%.2fx)\n", edits,
                    f[6].constData(), f[5].constData(), f[6].toDouble() / std::max(1.0, f[5].toDouble()));
        QFile::remove(path);
    }
    return 0;
}
