// Opening a file that is one long line, in the real main window: the processor time from the
// command until the program is idle, the processor use (share of one core) over the three seconds
// after it and the three after those while nothing is done, and the processor time one key costs
// at the start of the line and at its end (each until idle). Each size and kind runs in a fresh
// process.
//
// Environment: QUILLET_BENCH_LINE_MIB (sizes, comma separated; default "5,20,100"),
// QUILLET_BENCH_LINE_KINDS (default "ascii,accented": an accented letter every 30 to 90 bytes).

#include "app/startup.h"
#include "benchsupport.h"
#include "editor/editorview.h"
#include "idleprobe.h"
#include "mainwindow/mainwindow.h"
#include "mainwindow/statusbar.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QKeyEvent>
#include <QTemporaryDir>
#include <QTimer>

#include <cstdio>
#include <ctime>

namespace {

// One line of printable text without a line break, written a chunk at a time; `accented` puts
// a two-byte letter every 30 to 90 bytes.
void makeFile(const QString& path, qint64 bytes, bool accented)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        qFatal("cannot write %s", qPrintable(path));
    QByteArray chunk;
    int untilAccent = 30;
    for (int i = 0; chunk.size() < (1 << 20); ++i) {
        if (accented && --untilAccent <= 0) {
            chunk.append(i % 2 ? "\u00e9" : "\u00fc");
            untilAccent = 30 + (i * 13) % 61;
            continue;
        }
        chunk.append(static_cast<char>(i % 11 == 10 ? ' ' : 'a' + (i * 7) % 26));
    }
    qint64 written = 0;
    while (written < bytes) {
        const qint64 n = std::min<qint64>(chunk.size(), bytes - written);
        file.write(chunk.constData(), n);
        written += n;
    }
}

// Types one letter at the caret; the processor time until idle, in milliseconds.
double keyUntilIdle(EditorView& editor, IdleProbe& probe)
{
    probe.start();
    QKeyEvent press(QEvent::KeyPress, Qt::Key_X, Qt::NoModifier, QStringLiteral("x"));
    QApplication::sendEvent(&editor, &press);
    QKeyEvent release(QEvent::KeyRelease, Qt::Key_X, Qt::NoModifier, QStringLiteral("x"));
    QApplication::sendEvent(&editor, &release);
    return probe.waitUntilIdle() * 1e3;
}

// One file: prints "openMs settlingPercent steadyPercent keyAtStartMs keyAtEndMs".
int child(const QString& path)
{
    ChildApplication app("bench_longline");
    IdleProbe probe;
    probe.start();
    ProgramWindows windows;
    createProgramWindows(windows, {path});
    windows.main->show();
    windows.main->activateWindow();
    EditorView& editor = *windows.main->editor();
    editor.setFocus();
    const double openMs = probe.waitUntilIdle() * 1e3;
    if (editor.textLength() != QFile(path).size()) {
        std::fprintf(stderr, "bench_longline: the file was not opened whole\n");
        return 1;
    }

    // Left alone: the window settles in the first three seconds, then only the caret's blinking and
    // the status bar's clock (if anything) run.
    const auto idlePercent = [] {
        const double idleStart = processCpuMs();
        runEventLoopFor(3000);
        return (processCpuMs() - idleStart) / 3000.0 * 100.0;
    };
    const double settlingPercent = idlePercent();
    const double steadyPercent = idlePercent();

    editor.setCaret(0);
    probe.waitUntilIdle();
    const double keyAtStartMs = keyUntilIdle(editor, probe);
    editor.setCaret(editor.textLength());
    probe.waitUntilIdle();
    const double keyAtEndMs = keyUntilIdle(editor, probe);
    if (editor.textLength() != QFile(path).size() + 2) {
        std::fprintf(stderr, "bench_longline: the keys were not typed\n");
        return 1;
    }

    std::printf("%.1f %.2f %.2f %.2f %.2f\n", openMs, settlingPercent, steadyPercent, keyAtStartMs, keyAtEndMs);
    std::fflush(stdout);
    destroyProgramWindows(windows);
    return 0;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc == 3 && QByteArray(argv[1]) == "--child")
        return child(QString::fromLocal8Bit(argv[2]));

    QCoreApplication app(argc, argv);
    QString sizes = qEnvironmentVariable("QUILLET_BENCH_LINE_MIB");
    if (sizes.isEmpty())
        sizes = QStringLiteral("5,20,100");
    QString kinds = qEnvironmentVariable("QUILLET_BENCH_LINE_KINDS");
    if (kinds.isEmpty())
        kinds = QStringLiteral("ascii,accented");
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("line.txt"));

    std::printf("bench_longline: one line per file; processor time until idle, processor use at rest\n");
    for (const QString& kind : kinds.split(QLatin1Char(','))) {
        for (const QString& size : sizes.split(QLatin1Char(','))) {
            const qint64 mib = size.trimmed().toLongLong();
            if (mib <= 0)
                continue;
            makeFile(path, mib << 20, kind.trimmed() == QLatin1String("accented"));
            const std::optional<QByteArray> output = runChild({path}, dir.path());
            const QList<QByteArray> fields = output.value_or(QByteArray()).trimmed().split(' ');
            if (!output || fields.size() != 5) {
                std::fprintf(stderr, "bench_longline: the %lld MiB run failed\n", static_cast<long long>(mib));
                return 1;
            }
            std::printf("  %4lld MiB %-8s open %8s ms; at rest %5s %% of a core in the 3 s after, %5s %% in the "
                        "next 3 s; a key at the start %7s ms, at the end %7s ms\n",
                        static_cast<long long>(mib), qPrintable(kind.trimmed()), fields[0].constData(),
                        fields[1].constData(), fields[2].constData(), fields[3].constData(), fields[4].constData());
            std::fflush(stdout);
            QFile::remove(path);
        }
    }
    return 0;
}
