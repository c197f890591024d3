// Opening a file that is one long line, in the real main window: the time until the window is
// shown and painted, the processor use (share of one core) over the three seconds after it and
// the three after those while nothing is done, and the processor time one key costs at the caret. Each size runs in a
// fresh process.
//
// Environment: QUILLET_BENCH_LINE_MIB (sizes, comma separated; default "5,20").

#include "app/startup.h"
#include "benchsupport.h"
#include "editor/editorview.h"
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

// One line of printable text without a line break, written a chunk at a time.
void makeFile(const QString& path, qint64 bytes)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        qFatal("cannot write %s", qPrintable(path));
    QByteArray chunk;
    for (int i = 0; chunk.size() < (1 << 20); ++i)
        chunk.append(static_cast<char>(i % 11 == 10 ? ' ' : 'a' + (i * 7) % 26));
    qint64 written = 0;
    while (written < bytes) {
        const qint64 n = std::min<qint64>(chunk.size(), bytes - written);
        file.write(chunk.constData(), n);
        written += n;
    }
}

// One size: prints "openMs settlingPercent steadyPercent keyMs".
int child(const QString& path)
{
    ChildApplication app("bench_longline");

    QElapsedTimer timer;
    timer.start();
    ProgramWindows windows;
    createProgramWindows(windows, {path});
    windows.main->show();
    windows.main->activateWindow();
    QCoreApplication::processEvents();
    EditorView& editor = *windows.main->editor();
    editor.setFocus();
    editor.repaint();
    const double openMs = timer.nsecsElapsed() / 1e6;
    if (editor.textLength() != QFile(path).size()) {
        std::fprintf(stderr, "bench_longline: the file was not opened whole\n");
        return 1;
    }

    // Left alone: the window settles in the first three seconds, then only the caret's blinking and
    // the status bar's clock (if anything) run.
    const auto idlePercent = [] {
        const double idleStart = processCpuMs();
        QEventLoop idle;
        QTimer::singleShot(3000, &idle, &QEventLoop::quit);
        idle.exec();
        return (processCpuMs() - idleStart) / 3000.0 * 100.0;
    };
    const double settlingPercent = idlePercent();
    const double steadyPercent = idlePercent();

    const double keyStart = processCpuMs();
    QKeyEvent press(QEvent::KeyPress, Qt::Key_X, Qt::NoModifier, QStringLiteral("x"));
    QApplication::sendEvent(&editor, &press);
    QKeyEvent release(QEvent::KeyRelease, Qt::Key_X, Qt::NoModifier, QStringLiteral("x"));
    QApplication::sendEvent(&editor, &release);
    QCoreApplication::processEvents();
    editor.repaint();
    const double keyMs = processCpuMs() - keyStart;
    if (editor.textLength() != QFile(path).size() + 1) {
        std::fprintf(stderr, "bench_longline: the key was not typed\n");
        return 1;
    }

    std::printf("%.1f %.2f %.2f %.2f\n", openMs, settlingPercent, steadyPercent, keyMs);
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
        sizes = QStringLiteral("5,20");
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("line.txt"));

    for (const QString& size : sizes.split(QLatin1Char(','))) {
        const qint64 mib = size.trimmed().toLongLong();
        if (mib <= 0)
            continue;
        makeFile(path, mib << 20);
        const std::optional<QByteArray> output = runChild({path}, dir.path());
        const QList<QByteArray> fields = output.value_or(QByteArray()).trimmed().split(' ');
        if (!output || fields.size() != 4) {
            std::fprintf(stderr, "bench_longline: the %lld MiB run failed\n", static_cast<long long>(mib));
            return 1;
        }
        std::printf("a %lld MiB single line: window shown and painted in %s ms; processor use over the 3 s after "
                    "opening %s %% of a core, over the 3 s after those %s %%; one key %s ms of processor time\n",
                    static_cast<long long>(mib), fields[0].constData(), fields[1].constData(), fields[2].constData(),
                    fields[3].constData());
        QFile::remove(path);
    }
    return 0;
}
