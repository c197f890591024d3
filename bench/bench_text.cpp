// Text commands in the real main window (offscreen, message boxes scripted): Word Count over a
// 50 MB document, upper case of a 10 MB selection replaced the way the Selection command does,
// and Adjust Line Breaks over 50 MB with the whole text set afterwards. Prints the median time of
// each and the peak memory; fails only when a result is wrong.
//
// Environment: QUILLET_BENCH_RUNS (runs of each measurement, default 5).

#include "benchsupport.h"
#include "commands/transforms.h"
#include "core/prompts.h"
#include "editor/editorview.h"
#include "mainwindow/findcontroller.h"
#include "mainwindow/mainwindow.h"
#include "mainwindow/programwindows.h"

#include <QAction>
#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

// Whole lines of prose; `lineBreak` ends each line.
QByteArray prose(qint64 size, const QByteArray& lineBreak, qint64* words = nullptr)
{
    const QByteArray line = "The quick brown fox jumps over the lazy dog, again and again" + lineBreak;
    QByteArray text;
    text.reserve(size + line.size());
    qint64 lines = 0;
    while (text.size() + line.size() <= size) {
        text += line;
        ++lines;
    }
    // The line break joins the last word of a line to the first of the next.
    if (words)
        *words = lines * 12 - (lines - 1);
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

        // Word Count over 50 MB.
        qint64 words = 0;
        editor.setBytes(prose(50'000'000, "\r\n", &words));
        QApplication::processEvents();
        const QString expected = QStringLiteral("This Document Contains %1 words.").arg(words);
        std::vector<double> countMs;
        for (int run = 0; run < runs; ++run) {
            prompts.last.clear();
            QElapsedTimer timer;
            timer.start();
            form.action(QStringLiteral("WordCount1"))->trigger();
            countMs.push_back(timer.nsecsElapsed() / 1e6);
            if (prompts.last != expected) {
                std::fprintf(stderr, "bench_text: Word Count went wrong: %s\n", qPrintable(prompts.last));
                status = 1;
            }
        }
        std::printf("Word Count over 50 MB: median %.1f ms over %d runs (target <= 1000 ms)\n", median(countMs), runs);

        // Upper case of a 10 MB selection in a 12 MB document.
        const QByteArray upperSource = prose(12'000'000, "\r\n");
        const qint64 from = 1'000'000;
        const qint64 to = from + 10'000'000;
        const QByteArray upperExpected = upperSource.first(from) +
                                         transforms::upperCase(QByteArrayView(upperSource).sliced(from, to - from)) +
                                         upperSource.sliced(to);
        std::vector<double> upperMs;
        std::vector<double> upperSettledMs; // until the events queued by the change are handled
        for (int run = 0; run < runs; ++run) {
            editor.setBytes(upperSource);
            editor.send(SCI_SETSEL, static_cast<unsigned long>(from), static_cast<long>(to));
            QApplication::processEvents();
            QElapsedTimer timer;
            timer.start();
            const qint64 start = editor.selStart();
            const qint64 end = start + editor.selLength();
            const QByteArray upper = transforms::upperCase(editor.textView().sliced(start, end - start));
            // The selection as target: one undoable replacement that keeps any byte, NULs included,
            // with wrapping held off while it goes in (re-wrapping it on the spot dominates).
            const long wrap = editor.send(SCI_GETWRAPMODE);
            editor.send(SCI_SETWRAPMODE, static_cast<long>(SC_WRAP_NONE));
            editor.send(SCI_BEGINUNDOACTION);
            editor.send(SCI_SETTARGETRANGE, static_cast<unsigned long>(start), static_cast<long>(end));
            editor.send(SCI_REPLACETARGET, static_cast<unsigned long>(upper.size()), upper.constData());
            editor.send(SCI_ENDUNDOACTION);
            editor.send(SCI_SETWRAPMODE, wrap);
            editor.send(SCI_SETSEL, static_cast<unsigned long>(start), static_cast<long>(start + upper.size()));
            upperMs.push_back(timer.nsecsElapsed() / 1e6);
            QApplication::processEvents();
            upperSettledMs.push_back(timer.nsecsElapsed() / 1e6);
            if (editor.textView() != QByteArrayView(upperExpected) || editor.selLength() != to - from) {
                std::fprintf(stderr, "bench_text: upper case went wrong\n");
                status = 1;
            }
        }
        std::printf("Upper case of a 10 MB selection: median %.1f ms (%.1f ms with the events it queued) over %d "
                    "runs (target <= 500 ms)\n",
                    median(upperMs), median(upperSettledMs), runs);

        // Adjust Line Breaks over 50 MB of LF-only lines.
        const QByteArray unixText = prose(50'000'000, "\n");
        const qint64 adjustedSize = unixText.size() + unixText.count('\n');
        std::vector<double> adjustMs;
        for (int run = 0; run < runs; ++run) {
            editor.setBytes(unixText);
            QApplication::processEvents();
            QElapsedTimer timer;
            timer.start();
            bool changed = false;
            const QByteArray adjusted = transforms::adjustLineBreaks(editor.textView(), &changed);
            if (changed)
                editor.setBytes(adjusted);
            adjustMs.push_back(timer.nsecsElapsed() / 1e6);
            if (!changed || editor.textLength() != adjustedSize || !editor.textView().endsWith("\r\n")) {
                std::fprintf(stderr, "bench_text: Adjust Line Breaks went wrong\n");
                status = 1;
            }
        }
        std::printf("Adjust Line Breaks over 50 MB: median %.1f ms over %d runs (target <= 1000 ms)\n",
                    median(adjustMs), runs);
    }
    std::printf("Peak memory (VmHWM): %s\n", qPrintable(peakMemory()));
    Prompts::install(nullptr);
    return status;
}
