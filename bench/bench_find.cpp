// Find and Replace All in the real main window (offscreen, message boxes scripted): Replace All
// of a word that occurs 1,000,000 times in a 10 MB document, its Undo on one line of 3 MB with
// 1,000,000 replacements, and Find next over a 50 MB
// document whose only match is at its very end, with Match case and without it (an ASCII search
// text, and one with a letter beyond ASCII). Prints the median time of each, the ratio of the
// case-folding searches to the exact one, and the peak memory; fails only when the program
// misbehaves (wrong count, wrong text, wrong selection).
//
// Environment: QUILLET_BENCH_RUNS (runs of each measurement, default 5).

#include "benchsupport.h"
#include "core/prompts.h"
#include "editor/editorview.h"
#include "idleprobe.h"
#include "mainwindow/findcontroller.h"
#include "mainwindow/mainwindow.h"
#include "mainwindow/programwindows.h"
#include "windows/finddialogs.h"

#include <QApplication>
#include <QCheckBox>
#include <QElapsedTimer>
#include <QFile>
#include <QPushButton>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

// 1,000,000 lines "needle \r\n" (9 MB), then 1 MB of filler.
QByteArray replaceDocument()
{
    QByteArray text;
    const QByteArray line("needle \r\n");
    text.reserve(10'000'000);
    for (int i = 0; i < 1'000'000; ++i)
        text += line;
    text += QByteArray(10'000'000 - text.size(), 'x');
    return text;
}

// English lines, then dots, then `last` at the very end: 50,000,000 bytes in all.
QByteArray findDocument(const QByteArray& last)
{
    QByteArray text;
    const QByteArray line("the quick brown fox jumps over the lazy dog, again and again\r\n");
    text.reserve(50'000'000 + line.size());
    while (text.size() + line.size() < 50'000'000 - last.size())
        text += line;
    text += QByteArray(50'000'000 - last.size() - text.size(), '.');
    text += last;
    return text;
}

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QTemporaryDir tmp;
    qputenv("TMPDIR", QFile::encodeName(tmp.path()));
    BenchPrompts prompts;
    Prompts::install(&prompts);
    const int runs = benchRuns();
    int status = 0;
    {
        ProgramWindows windows;
        MainWindow form(windows);
        form.show();
        QApplication::processEvents();
        EditorView& editor = *form.editor();

        const QByteArray replaceText = replaceDocument();
        std::vector<double> replaceMs;
        std::vector<double> settledMs; // until the events queued by the change are handled
        for (int run = 0; run < runs; ++run) {
            editor.setBytes(replaceText);
            editor.setCaret(0);
            QApplication::processEvents(); // the load's own deferred work is not timed
            ReplaceDialog* dialog = form.find().replaceDialog();
            dialog->setFindText(QStringLiteral("needle"));
            dialog->setReplaceText(QStringLiteral("pin"));
            QElapsedTimer timer;
            timer.start();
            dialog->replaceAllButton()->click();
            replaceMs.push_back(timer.nsecsElapsed() / 1e6);
            QApplication::processEvents();
            settledMs.push_back(timer.nsecsElapsed() / 1e6);
            if (prompts.last != QStringLiteral("Search of text completed.\r\n1000000 replacements made.") ||
                editor.textLength() != replaceText.size() - 3'000'000) {
                std::fprintf(stderr, "bench_find: Replace All went wrong: %s\n", qPrintable(prompts.last));
                status = 1;
            }
        }
        std::printf("Replace All, 1,000,000 replacements in 10 MB: median %.1f ms (%.1f ms with the events it "
                    "queued) over %d runs\n",
                    median(replaceMs), median(settledMs), runs);

        // One line of 3 MB with 1,000,000 matches, shown: Replace All, then Undo, each until idle.
        {
            QByteArray line;
            for (int i = 0; i < 1'000'000; ++i)
                line += "ab ";
            std::vector<double> undoCpu;
            IdleProbe probe;
            for (int run = 0; run < runs; ++run) {
                editor.setBytes(line);
                editor.setCaret(0);
                probe.waitUntilIdle();
                ReplaceDialog* dialog = form.find().replaceDialog();
                dialog->setFindText(QStringLiteral("a"));
                dialog->setReplaceText(QStringLiteral("x"));
                dialog->replaceAllButton()->click();
                probe.waitUntilIdle();
                probe.start();
                form.action(QStringLiteral("Undo2"))->trigger();
                undoCpu.push_back(probe.waitUntilIdle());
                if (editor.bytes() != line) {
                    std::fprintf(stderr, "bench_find: Undo of Replace All on one line went wrong\n");
                    status = 1;
                }
            }
            std::printf("Undo of Replace All, 1,000,000 replacements on one 3 MB line: median %.3f s of CPU until idle "
                        "over %d runs\n",
                        median(undoCpu), runs);
        }

        // Find next over the whole document; the median time in ms, or -1 when the match was wrong.
        FindDialog* find = form.find().findDialog();
        auto timeFind = [&](const QByteArray& last, const QString& what, bool matchCase) {
            editor.setBytes(findDocument(last));
            find->setFindText(what);
            find->matchCaseBox()->setChecked(matchCase);
            std::vector<double> findMs;
            for (int run = 0; run < runs; ++run) {
                editor.setCaret(0);
                prompts.last.clear();
                QElapsedTimer timer;
                timer.start();
                find->findNextButton()->click();
                findMs.push_back(timer.nsecsElapsed() / 1e6);
                if (!prompts.last.isEmpty() || editor.selStart() != 50'000'000 - last.size() ||
                    editor.selLength() != last.size()) {
                    std::fprintf(stderr, "bench_find: Find next of \"%s\" went wrong\n", qPrintable(what));
                    status = 1;
                }
            }
            return median(findMs);
        };
        const double exactMs = timeFind("target", QStringLiteral("target"), true);
        const double foldedMs = timeFind("TarGet", QStringLiteral("tARgET"), false);
        const double foldedWideMs = timeFind("T\xc3\x84RGET", QStringLiteral("t\u00e4rget"), false);
        std::printf("Find next over 50 MB, match at the end, Match case: median %.1f ms over %d runs\n", exactMs, runs);
        std::printf("  the same without Match case (ASCII text): median %.1f ms, %.2fx the exact search\n", foldedMs,
                    foldedMs / exactMs);
        std::printf("  the same without Match case (\"t\u00e4rget\"): median %.1f ms, %.2fx the exact search\n",
                    foldedWideMs, foldedWideMs / exactMs);
    }
    std::printf("Peak memory (VmHWM): %s\n", qPrintable(peakMemory()));
    Prompts::install(nullptr);
    return status;
}
