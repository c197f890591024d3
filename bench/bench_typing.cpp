// Typing into a large document in the real main window: the processor time (of the whole process,
// not the wall clock) that one key costs at the start, in the middle and at the end of the text,
// its repaint and what the recovery journal takes of it included. A key should cost the same
// wherever it is typed.
//
// The cost shows without an assistive client; under X with the accessibility bridge on (for
// instance QT_QPA_PLATFORM=xcb QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 in a D-Bus session with the AT-SPI
// bus running) the program's own interface answers as well.
//
// Environment: QUILLET_BENCH_MIB (the document, default 50), QUILLET_BENCH_BIG (0 leaves out the
// 1 GiB document), QUILLET_BENCH_RUNS (keys per place, default 9).

#include "app/startup.h"
#include "benchsupport.h"
#include "documents/recoveryjournal.h"
#include "editor/editorview.h"
#include "mainwindow/mainwindow.h"
#include "mainwindow/recoverycontroller.h"
#include "mainwindow/statusbar.h"

#include <QAccessible>
#include <QApplication>
#include <QFile>
#include <QKeyEvent>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <ctime>
#include <vector>

namespace {

// One key as the keyboard delivers it, then everything it causes until the editor is painted.
double keyCostMs(EditorView& editor)
{
    const double before = processCpuMs();
    QKeyEvent press(QEvent::KeyPress, Qt::Key_X, Qt::NoModifier, QStringLiteral("x"));
    QApplication::sendEvent(&editor, &press);
    QKeyEvent release(QEvent::KeyRelease, Qt::Key_X, Qt::NoModifier, QStringLiteral("x"));
    QApplication::sendEvent(&editor, &release);
    QCoreApplication::processEvents();
    editor.repaint();
    return processCpuMs() - before;
}

// One document: the median cost of a key at each place, printed as "start middle end".
int child(const QString& path, int keys)
{
    ChildApplication app("bench_typing");

    QTemporaryDir state;
    RecoveryJournal journal(state.filePath(QStringLiteral("recovery")));
    if (!journal.start())
        qFatal("no recovery folder");
    ProgramWindows windows;
    createProgramWindows(windows, {path});
    windows.main->show();
    windows.main->activateWindow();
    QCoreApplication::processEvents();
    windows.main->enableRecovery(journal);
    EditorView& editor = *windows.main->editor();
    editor.setFocus();
    const qint64 length = editor.textLength();
    if (length == 0) {
        std::fprintf(stderr, "bench_typing: the document was not opened\n");
        return 1;
    }

    const qint64 middleLine = editor.lineFromPosition(length / 2);
    const qint64 middle = editor.send(SCI_POSITIONFROMLINE, static_cast<unsigned long>(middleLine));
    for (const qint64 place : {qint64(0), middle, length}) {
        editor.setCaret(place);
        QCoreApplication::processEvents();
        editor.repaint();
        keyCostMs(editor); // the first key after a move also scrolls; not what is measured
        std::vector<double> costs;
        for (int i = 0; i < keys; ++i)
            costs.push_back(keyCostMs(editor));
        std::printf("%.2f ", median(costs));
    }
    // Whether an assistive client (the platform's accessibility bridge) was listening.
    std::printf("%s\n", QAccessible::isActive() ? "on" : "off");
    // Three places, keys + 1 characters each.
    if (editor.textLength() != length + 3 * (keys + 1)) {
        std::fprintf(stderr, "bench_typing: the keys were not all typed\n");
        return 1;
    }
    std::fflush(stdout);
    windows.main->recovery()->finish();
    destroyProgramWindows(windows);
    return 0;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc == 4 && QByteArray(argv[1]) == "--child")
        return child(QString::fromLocal8Bit(argv[2]), QByteArray(argv[3]).toInt());

    QCoreApplication app(argc, argv);
    const qint64 mib = benchMiB();
    const bool big = qEnvironmentVariable("QUILLET_BENCH_BIG") != QStringLiteral("0");
    const int keys = benchRuns(9);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("big.txt"));

    std::vector<qint64> sizes{mib << 20};
    if (big)
        sizes.push_back(qint64(1) << 30);
    for (const qint64 size : sizes) {
        makeTextFile(path, size);
        const std::optional<QByteArray> output = runChild({path, QString::number(keys)}, dir.path());
        const QList<QByteArray> fields = output.value_or(QByteArray()).trimmed().split(' ');
        if (!output || fields.size() != 4) {
            std::fprintf(stderr, "bench_typing: the %lld MiB run failed\n", static_cast<long long>(size >> 20));
            return 1;
        }
        std::printf("one key in a %lld MiB document (processor time, median of %d): start %s ms, middle %s ms, "
                    "end %s ms (accessibility %s)\n",
                    static_cast<long long>(size >> 20), keys, fields[0].constData(), fields[1].constData(),
                    fields[2].constData(), fields[3].constData());
        QFile::remove(path);
    }
    return 0;
}
