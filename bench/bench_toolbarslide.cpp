// The tool bar's slide between the top and the bottom of the real main window: how long it takes
// and the longest stretch in which the window's thread did not answer meanwhile (a timer ticking
// every 10 ms; a slide that holds input would show here as its whole length).
//
// Environment: QUILLET_BENCH_RUNS (slides each way, default 5).

#include "benchsupport.h"
#include "idleprobe.h"
#include "mainwindow/mainwindow.h"
#include "mainwindow/programwindows.h"
#include "mainwindow/traycontroller.h"

#include <QAction>
#include <QApplication>
#include <QElapsedTimer>

#include <cstdio>
#include <vector>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    BenchPrompts prompts;
    Prompts::install(&prompts);
    ProgramWindows windows;
    auto* window = new MainWindow(windows);
    windows.main = window;
    window->show();
    runEventLoopFor(200);

    std::vector<double> durations;
    std::vector<double> stalls;
    const int runs = benchRuns();
    for (int i = 0; i < runs * 2; ++i) {
        IdleProbe probe;
        QElapsedTimer timer;
        probe.start();
        timer.start();
        window->action(QLatin1String(i % 2 == 0 ? "Bottom1" : "Top1"))->trigger();
        while (window->tray().toolBarSliding())
            runEventLoopFor(5);
        durations.push_back(timer.nsecsElapsed() / 1e6);
        stalls.push_back(probe.longestStallMs());
    }
    std::printf("bench_toolbarslide: %d slides, median %.0f ms a slide, longest stall median %.1f ms, worst %.1f ms\n",
                runs * 2, median(durations), median(stalls), *std::max_element(stalls.begin(), stalls.end()));
    delete window;
    Prompts::install(nullptr);
    return 0;
}
