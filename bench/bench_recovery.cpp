// The recovery journal with a large modified document in the real main window: how long the
// window's thread stops for one recovery copy (the copy of the text; the write is the worker's),
// how long the worker takes to write it, and how long reopening a recovered document takes next
// to opening the same file.
//
// Environment: QUILLET_BENCH_MIB (document size, default 50), QUILLET_BENCH_RUNS (default 5).

#include "app/startup.h"
#include "benchsupport.h"
#include "documents/documentset.h"
#include "documents/recoveryjournal.h"
#include "editor/editorview.h"
#include "mainwindow/filecontroller.h"
#include "mainwindow/mainwindow.h"
#include "mainwindow/recoverycontroller.h"
#include "mainwindow/statusbar.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>

#include <cstdio>
#include <vector>

namespace {
QByteArray makeText(qint64 bytes)
{
    QByteArray line("The quick brown fox jumps over the lazy dog, again and again and again.\r\n");
    QByteArray text;
    text.reserve(bytes);
    while (text.size() + line.size() <= bytes)
        text.append(line);
    text.append(QByteArray(bytes - text.size(), 'x'));
    return text;
}

double msSince(const QElapsedTimer& timer)
{
    return timer.nsecsElapsed() / 1e6;
}
} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    BenchPrompts prompts;
    Prompts::install(&prompts);
    StatusBar::StepPauseMs = 0;
    const qint64 mib = benchMiB();
    const int runs = benchRuns();

    QTemporaryDir dir;
    qputenv("TMPDIR", QFile::encodeName(dir.path()));
    const QString path = dir.filePath(QStringLiteral("big.txt"));
    {
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly) || file.write(makeText(mib << 20)) != (mib << 20))
            qFatal("cannot write %s", qPrintable(path));
    }

    RecoveryJournal journal(dir.filePath(QStringLiteral("recovery")));
    if (!journal.start())
        qFatal("no recovery folder");
    ProgramWindows windows;
    createProgramWindows(windows, {path});
    windows.main->show();
    QCoreApplication::processEvents();
    windows.main->enableRecovery(journal);
    RecoveryController& recovery = *windows.main->recovery();
    EditorView& editor = *windows.main->editor();

    std::vector<double> pauses, writes;
    for (int i = 0; i < runs; ++i) {
        // A key typed mid-text leaves the buffer's gap there, the usual state while typing.
        editor.insertBytes(editor.textLength() / 2, "k");
        // The copy comes after the keys have been quiet for a while, when the worker is idle.
        journal.waitUntilIdle();
        QElapsedTimer timer;
        timer.start();
        recovery.bringUpToDate(false);
        pauses.push_back(msSince(timer));
        journal.waitUntilIdle();
        writes.push_back(msSince(timer));
    }
    std::printf("recovery copy of a %lld MiB document: window's thread stopped median %.1f ms (max %.1f); "
                "written by the worker in median %.0f ms (max %.0f) over %d runs\n",
                static_cast<long long>(mib), median(pauses), *std::max_element(pauses.begin(), pauses.end()),
                median(writes), *std::max_element(writes.begin(), writes.end()), runs);

    const RecoveryRecord record = journal.records().constFirst();
    std::vector<double> reopens, opens;
    for (int i = 0; i < runs; ++i) {
        QElapsedTimer timer;
        timer.start();
        recovery.reopen(record, journal.textOf(record));
        windows.main->editor()->repaint();
        QCoreApplication::processEvents();
        reopens.push_back(msSince(timer));
        timer.restart();
        windows.main->files().openPath(path);
        QCoreApplication::processEvents();
        opens.push_back(msSince(timer));
    }
    std::printf("reopening it recovered: median %.0f ms; opening the file: median %.0f ms (%.2fx)\n", median(reopens),
                median(opens), median(reopens) / median(opens));
    std::printf("peak memory (VmHWM): %s\n", qPrintable(peakMemory()));
    windows.main->recovery()->finish();
    destroyProgramWindows(windows);
    return 0;
}
