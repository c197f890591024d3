// Starting with a large file, opening it again in the running window, jumping in, wrapping,
// editing and saving it in the real main window. Each
// step reports the process's CPU time from the command until the program is idle and the longest
// stretch in which the window did not answer; then the time to save after an edit (the progress
// pauses left out) and the peak memory after opening. Each run is a fresh process, so its peak
// memory is its own.
//
// Environment: QUILLET_BENCH_MIB (file size, default 50), QUILLET_BENCH_RUNS (default 3),
// QUILLET_BENCH_OPEN_ONLY (set: no wrapping steps, for very large files).

#include "app/startup.h"
#include "benchsupport.h"
#include "commands/findreplace.h"
#include "core/prompts.h"
#include "documents/documentset.h"
#include "editor/editorview.h"
#include "idleprobe.h"
#include "mainwindow/filecontroller.h"
#include "mainwindow/mainwindow.h"
#include "mainwindow/statusbar.h"
#include "mainwindow/viewcontroller.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QKeyEvent>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <map>
#include <vector>

namespace {

// The text of the file's last line, found nowhere else.
const QByteArray EndMarker = "QUILLET-LAST-LINE-MARKER";

// The editor takes keys the way a person gives them.
void pressKey(QWidget* target, int key, Qt::KeyboardModifiers modifiers)
{
    QKeyEvent press(QEvent::KeyPress, key, modifiers);
    QCoreApplication::sendEvent(target, &press);
    QKeyEvent release(QEvent::KeyRelease, key, modifiers);
    QCoreApplication::sendEvent(target, &release);
}

// Runs the event loop for `ms` (a jump's effects, with the background work going on).
void runFor(int ms)
{
    runEventLoopFor(ms);
}

// One run, printed as "name cpu-seconds stall-ms" lines: opening from the command line until
// idle, word wrap of the whole text until idle, then jumps to the end (Ctrl+End, the last line, the last match) each
// until idle, then the same jumps right after Word Wrap starts on the document (each with one second of the background
// wrap after it), the rest of that wrap until idle, and an edit and save.
int child(const QString& path)
{
    ChildApplication app("bench_open");
    IdleProbe probe;
    auto report = [&probe](const char* what, double cpu) {
        std::printf("%s %.3f %.1f\n", what, cpu, probe.longestStallMs());
        std::fflush(stdout);
    };

    probe.start();
    ProgramWindows windows;
    createProgramWindows(windows, {path});
    windows.main->show();
    report("start-with-file", probe.waitUntilIdle());
    std::printf("peak %ld\n", peakMemoryMiB());
    // The same file again, in the running window with only an empty document open: the window
    // has to answer throughout.
    windows.main->files().closeDocument();
    probe.waitUntilIdle();
    probe.start();
    windows.main->files().openPath(path);
    report("open", probe.waitUntilIdle());
    EditorView* editor = windows.main->editor();
    if (!qEnvironmentVariableIsSet("QUILLET_BENCH_OPEN_ONLY")) {
        // Word wrap of the whole document, from the command until idle (and off again).
        if (editor->wordWrap())
            windows.main->view().toggleWordWrap();
        probe.waitUntilIdle();
        probe.start();
        windows.main->view().toggleWordWrap();
        report("wrap-until-idle", probe.waitUntilIdle());
        windows.main->view().toggleWordWrap();
        probe.waitUntilIdle();
    }
    const long lastLine = editor->send(SCI_GETLINECOUNT) - 1;
    const qint64 lastLineStart = editor->send(SCI_POSITIONFROMLINE, static_cast<unsigned long>(lastLine));

    auto jumps = [&](bool untilIdle) {
        auto finish = [&](const char* what) {
            if (untilIdle) {
                report(what, probe.waitUntilIdle());
            } else {
                runFor(1000);
                report(what, -1);
            }
        };
        editor->setCaret(0);
        QCoreApplication::processEvents();
        probe.start();
        pressKey(editor, Qt::Key_End, Qt::ControlModifier);
        finish(untilIdle ? "ctrl-end" : "ctrl-end-while-wrapping");
        editor->setCaret(0);
        QCoreApplication::processEvents();
        probe.start();
        editor->setCaret(lastLineStart); // what Goto Line does with the line found
        finish(untilIdle ? "goto-last" : "goto-last-while-wrapping");
        editor->setCaret(0);
        QCoreApplication::processEvents();
        probe.start();
        if (!findreplace::findNext(*editor, EndMarker, {}))
            qFatal("the last line's text was not found");
        finish(untilIdle ? "find-last" : "find-last-while-wrapping");
        if (editor->selStart() != lastLineStart)
            qFatal("Find stopped at %lld, not at the last line", static_cast<long long>(editor->selStart()));
    };
    jumps(true);

    if (!qEnvironmentVariableIsSet("QUILLET_BENCH_OPEN_ONLY")) {
        // Word wrap starts on the document (a large one is held unwrapped until Ctrl+W).
        editor->setCaret(0);
        probe.start();
        if (editor->wordWrap())
            windows.main->view().toggleWordWrap();
        windows.main->view().toggleWordWrap();
        if (!editor->wordWrap())
            qFatal("Word Wrap did not come on");
        runFor(200);
        report("wrap-start", -1);
        jumps(false);
        probe.start();
        report("wrap-rest", probe.waitUntilIdle());
    }

    // An edit at the very start moves the whole text in the buffer: the hardest place for one.
    editor->insertBytes(0, "edited\r\n");
    windows.main->documents().markCurrentModified();
    const qint64 length = editor->textLength() - 8;
    QElapsedTimer timer;
    timer.start();
    windows.main->files().save();
    const double saveMs = timer.nsecsElapsed() / 1e6;
    if (QFileInfo(path).size() != length + 8 ||
        windows.main->documents().isModified(windows.main->documents().currentIndex())) {
        std::fprintf(stderr, "bench_open: the edited file was not saved whole\n");
        return 1;
    }
    std::printf("save %.1f %lld\n", saveMs, static_cast<long long>(length));
    destroyProgramWindows(windows);
    return 0;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc == 3 && QByteArray(argv[1]) == "--child")
        return child(QString::fromLocal8Bit(argv[2]));

    QCoreApplication app(argc, argv);
    const qint64 mib = benchMiB();
    const int runs = benchRuns(3);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("big.txt"));

    // name -> CPU seconds and longest stall of every run
    std::map<QByteArray, std::pair<std::vector<double>, std::vector<double>>> figures;
    std::vector<QByteArray> order;
    std::vector<double> saves;
    long peak = 0;
    for (int i = 0; i < runs; ++i) {
        makeTextFile(path, mib << 20, EndMarker); // each run saves an edited copy over it
        const std::optional<QByteArray> output = runChild({path}, dir.path());
        bool saved = false;
        for (const QByteArray& line : output.value_or(QByteArray()).split('\n')) {
            const QList<QByteArray> fields = line.trimmed().split(' ');
            if (fields.size() == 3 && fields[0] != "save") {
                if (!figures.count(fields[0]))
                    order.push_back(fields[0]);
                figures[fields[0]].first.push_back(fields[1].toDouble());
                figures[fields[0]].second.push_back(fields[2].toDouble());
            } else if (fields.size() == 2 && fields[0] == "peak") {
                peak = std::max(peak, fields[1].toLong());
            }
            if (fields.size() == 3 && fields[0] == "save" && fields[2].toLongLong() == (mib << 20)) {
                saved = true;
                saves.push_back(fields[1].toDouble());
            }
        }
        if (!output || !saved) {
            std::fprintf(stderr, "bench_open: run %d failed\n", i);
            return 1;
        }
    }
    std::printf("bench_open: %lld MiB file, %d runs (medians; CPU from the command until idle, longest stretch the "
                "window did not answer)\n",
                static_cast<long long>(mib), runs);
    for (const QByteArray& name : order) {
        const auto& [cpu, stall] = figures[name];
        if (median(cpu) < 0)
            std::printf("  %-26s                 longest stall %8.1f ms (max %.1f)\n", name.constData(), median(stall),
                        *std::max_element(stall.begin(), stall.end()));
        else
            std::printf("  %-26s CPU %8.3f s   longest stall %8.1f ms (max %.1f)\n", name.constData(), median(cpu),
                        median(stall), *std::max_element(stall.begin(), stall.end()));
    }
    std::printf("  edit at the start and save it (no progress pauses): median %.0f ms\n", median(saves));
    std::printf("  peak memory after opening until idle (VmHWM): %ld MiB\n", peak);
    return 0;
}
