// Tab switching between two large documents in the real main window: how long from the
// command until the other document is painted, with word wrap on and off, and how much work
// the editor keeps doing in the background after each switch. Prints figures only; it fails
// solely when the program misbehaves (a store file not written, the wrong text shown).
//
// Environment: QUILLET_BENCH_MIB (size of each document, default 50), QUILLET_BENCH_SWITCHES
// (switches per word-wrap mode, default 21), QUILLET_BENCH_BUDGET_S (a series stops early, after
// at least 3 switches, once it has run this long; default 120, so slow modes still finish).

#include "idleprobe.h"

#include "app/startup.h"
#include "core/commanderror.h"
#include "core/prompts.h"
#include "documents/documentset.h"
#include "editor/editorview.h"
#include "mainwindow/filecontroller.h"
#include "mainwindow/mainwindow.h"
#include "mainwindow/statusbar.h"
#include "mainwindow/viewcontroller.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <sys/stat.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <vector>

namespace {

struct BenchFailure
{
    QString message;
};

[[noreturn]] void fail(const QString& message)
{
    throw BenchFailure{message};
}

// A modal error box would stall the run forever, so every prompt becomes a line on stderr.
class BenchPrompts : public Prompts
{
public:
    Answer question(const QString& title, const QString& text, Answer) override
    {
        report(title + QStringLiteral(": ") + text);
        return Answer::No;
    }
    void warning(const QString& title, const QString& text) override { report(title + QStringLiteral(": ") + text); }
    void error(const QString& text) override { report(text); }
    std::optional<QFont> chooseFont(const QFont&) override { return std::nullopt; }
    int count = 0;

private:
    void report(const QString& text)
    {
        ++count;
        std::fprintf(stderr, "bench_switch: the program prompted: %s\n", qPrintable(text));
    }
};

// Counts paints of an editor's text area, so a switch is timed until its text is on screen.
class PaintCounter : public QObject
{
public:
    int paints = 0;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        // Any editor view's text area: each document has its own view.
        if (event->type() == QEvent::Paint && watched->parent() && qobject_cast<EditorView*>(watched->parent()))
            ++paints;
        return QObject::eventFilter(watched, event);
    }
};

// The program's windows while a run lasts.
ProgramWindows windows;

double msSince(const QElapsedTimer& timer)
{
    return static_cast<double>(timer.nsecsElapsed()) / 1e6;
}

qint64 envNumber(const char* name, qint64 fallback)
{
    bool ok = false;
    const qint64 value = qEnvironmentVariable(name).toLongLong(&ok);
    return ok && value > 0 ? value : fallback;
}

// Lines of space-separated words of printable ASCII, 40 to 120 characters plus CR LF, so the
// text looks like prose to word wrap; `seed` makes the two documents differ.
qint64 writeDocument(const QString& path, qint64 targetSize, quint64 seed)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        fail(QStringLiteral("cannot create %1: %2").arg(path, file.errorString()));
    quint64 state = seed;
    auto next = [&state] {
        state ^= state << 13;
        state ^= state >> 7;
        state ^= state << 17;
        return state;
    };
    QByteArray chunk;
    chunk.reserve(1 << 20);
    qint64 size = 0;
    while (size < targetSize) {
        const int lineLength = 40 + static_cast<int>(next() % 81);
        int used = 0;
        while (used < lineLength) {
            if (used > 0) {
                chunk.append(' ');
                ++used;
            }
            const int word = 1 + static_cast<int>(next() % 10);
            for (int i = 0; i < word && used < lineLength; ++i, ++used)
                chunk.append(static_cast<char>('!' + next() % 94));
        }
        chunk.append("\r\n");
        size += used + 2;
        if (chunk.size() >= (1 << 20) - 256) {
            if (file.write(chunk) != chunk.size())
                fail(QStringLiteral("cannot write %1: %2").arg(path, file.errorString()));
            chunk.clear();
        }
    }
    if (file.write(chunk) != chunk.size())
        fail(QStringLiteral("cannot write %1: %2").arg(path, file.errorString()));
    file.close();
    return size;
}

qint64 modificationNs(const QString& path)
{
    struct stat info
    {
    };
    if (::stat(QFile::encodeName(path).constData(), &info) != 0)
        return -1;
    return static_cast<qint64>(info.st_mtim.tv_sec) * 1000000000 + info.st_mtim.tv_nsec;
}

qint64 peakMemoryKiB()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray& line : status.readAll().split('\n'))
        if (line.startsWith("VmHWM:"))
            return line.mid(6).trimmed().split(' ').value(0).toLongLong();
    return -1;
}

QByteArray editorPrefix(EditorView* editor, int length)
{
    return editor->textRange(0, length);
}

double median(std::vector<double> values)
{
    if (values.empty())
        return 0;
    std::sort(values.begin(), values.end());
    const size_t mid = values.size() / 2;
    return values.size() % 2 ? values[mid] : (values[mid - 1] + values[mid]) / 2;
}

double maximum(const std::vector<double>& values)
{
    return values.empty() ? 0 : *std::max_element(values.begin(), values.end());
}

// Processes events until the editor has painted at least once more than `before`.
void processUntilPainted(const PaintCounter& counter, int before)
{
    QElapsedTimer limit;
    limit.start();
    QCoreApplication::processEvents();
    while (counter.paints == before) {
        if (limit.elapsed() > 60000)
            fail(QStringLiteral("the editor did not paint within 60 s"));
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    }
}

struct BenchDocument
{
    QString path;
    qint64 size = 0;
    QByteArray prefix;
};

struct Series
{
    std::vector<double> total, command, paint, cpuToIdle, longestStall;
    int planned = 0;
    qint64 budgetMs = 0;
};

Series runSwitches(int switches, qint64 budgetMs, const std::vector<BenchDocument>& docs, const PaintCounter& counter,
                   IdleProbe& probe)
{
    DocumentSet& set = windows.main->documents();
    Series series;
    series.planned = switches;
    series.budgetMs = budgetMs;
    QElapsedTimer spent;
    spent.start();
    for (int i = 0; i < switches; ++i) {
        if (i >= 3 && spent.elapsed() > budgetMs)
            break;
        const int from = set.currentIndex();
        const bool forward = from == 1;
        const int to = forward ? 2 : 1;
        if (from != 1 && from != 2)
            fail(QStringLiteral("expected tab 1 or 2 to be current, found %1").arg(from));
        const QString store = set.at(from).storeFile;
        const qint64 stampBefore = modificationNs(store);
        const int paintsBefore = counter.paints;

        QElapsedTimer timer;
        probe.start();
        timer.start();
        try {
            if (forward)
                windows.main->view().nextDocument();
            else
                windows.main->view().previousDocument();
        } catch (const CommandError& error) {
            fail(QStringLiteral("switch %1 failed: %2").arg(i + 1).arg(error.message()));
        }
        const double command = msSince(timer);
        processUntilPainted(counter, paintsBefore);
        const double total = msSince(timer);

        // Checked outside the timing: the document left behind was written out in full on this
        // very switch, and the editor shows the other one.
        const qint64 storeSize = QFileInfo(store).size();
        const qint64 stampAfter = modificationNs(store);
        const BenchDocument& left = docs[from - 1];
        const BenchDocument& shown = docs[to - 1];
        if (storeSize != left.size)
            fail(QStringLiteral("switch %1: store file %2 of tab %3 holds %4 bytes, the document has %5")
                     .arg(i + 1)
                     .arg(store)
                     .arg(from)
                     .arg(storeSize)
                     .arg(left.size));
        if (stampAfter == stampBefore)
            fail(QStringLiteral("switch %1: store file %2 of tab %3 was not written on this switch")
                     .arg(i + 1)
                     .arg(store)
                     .arg(from));
        if (set.currentIndex() != to)
            fail(
                QStringLiteral("switch %1: tab %2 is current, expected %3").arg(i + 1).arg(set.currentIndex()).arg(to));
        if (windows.main->editor()->textLength() != shown.size ||
            editorPrefix(windows.main->editor(), shown.prefix.size()) != shown.prefix)
            fail(QStringLiteral("switch %1: the editor shows %2 bytes, expected tab %3 with %4 bytes")
                     .arg(i + 1)
                     .arg(windows.main->editor()->textLength())
                     .arg(to)
                     .arg(shown.size));

        series.total.push_back(total);
        series.command.push_back(command);
        series.paint.push_back(total - command);
        series.cpuToIdle.push_back(probe.waitUntilIdle());
        series.longestStall.push_back(probe.longestStallMs());
    }
    return series;
}

void printSeries(const char* title, const Series& s)
{
    if (static_cast<int>(s.total.size()) < s.planned)
        std::printf("  %s: %zu switches (stopped early: the series ran over its %lld s budget)\n", title,
                    s.total.size(), static_cast<long long>(s.budgetMs / 1000));
    else
        std::printf("  %s: %zu switches\n", title, s.total.size());
    std::printf("    switch until painted   median %8.1f ms   max %8.1f ms\n", median(s.total), maximum(s.total));
    std::printf("      of which command     median %8.1f ms   max %8.1f ms\n", median(s.command), maximum(s.command));
    std::printf("      of which painting    median %8.1f ms   max %8.1f ms\n", median(s.paint), maximum(s.paint));
    std::printf("    CPU until idle         median %8.3f s    max %8.3f s\n", median(s.cpuToIdle),
                maximum(s.cpuToIdle));
    std::printf("    longest stall          median %8.1f ms   max %8.1f ms\n", median(s.longestStall),
                maximum(s.longestStall));
}

int run(QTemporaryDir& folder, PaintCounter& counter)
{
    IdleProbe probe;
    const qint64 target = envNumber("QUILLET_BENCH_MIB", 50) * 1024 * 1024;
    const int switches = static_cast<int>(envNumber("QUILLET_BENCH_SWITCHES", 21));
    const qint64 budgetMs = envNumber("QUILLET_BENCH_BUDGET_S", 120) * 1000;

    std::vector<BenchDocument> docs(2);
    docs[0].path = folder.filePath(QStringLiteral("switch-a.txt"));
    docs[1].path = folder.filePath(QStringLiteral("switch-b.txt"));
    QElapsedTimer timer;
    timer.start();
    docs[0].size = writeDocument(docs[0].path, target, 0x9E3779B97F4A7C15ULL);
    // Slightly smaller, so the editor's length alone tells the two apart.
    docs[1].size = writeDocument(docs[1].path, target - 4096, 0xD1B54A32D192ED03ULL);
    if (docs[0].size == docs[1].size)
        fail(QStringLiteral("the two generated documents have the same size"));
    for (BenchDocument& doc : docs) {
        QFile file(doc.path);
        if (!file.open(QIODevice::ReadOnly))
            fail(QStringLiteral("cannot read back %1").arg(doc.path));
        doc.prefix = file.read(256);
    }
    std::printf("bench_switch: switching tabs between two large documents in the main window\n");
    std::printf("  documents: %lld and %lld bytes (%.1f and %.1f MiB), generated in %.0f ms\n",
                static_cast<long long>(docs[0].size), static_cast<long long>(docs[1].size), docs[0].size / 1048576.0,
                docs[1].size / 1048576.0, msSince(timer));
    std::fflush(stdout);

    // Opening both files from the command line, then the first paint and the work left behind.
    probe.start();
    timer.restart();
    createProgramWindows(windows, {docs[0].path, docs[1].path});
    const double createMs = msSince(timer);
    if (!windows.main)
        fail(QStringLiteral("the main window was not created"));
    DocumentSet& set = windows.main->documents();
    if (set.count() != 3 || set.currentIndex() != 2)
        fail(QStringLiteral("expected 3 tabs with tab 2 current after opening, found %1 tabs, tab %2 current")
                 .arg(set.count())
                 .arg(set.currentIndex()));
    qApp->installEventFilter(&counter);
    timer.restart();
    windows.main->show();
    processUntilPainted(counter, 0);
    const double showMs = msSince(timer);
    const double openCpu = probe.waitUntilIdle();
    std::printf("  opening both files (createForms): %.1f ms; show until painted %.1f ms; CPU until idle %.3f s"
                " (longest stall %.1f ms)\n",
                createMs, showMs, openCpu, probe.longestStallMs());
    std::fflush(stdout);

    if (!windows.main->action(QStringLiteral("WordWrap1"))->isChecked())
        fail(QStringLiteral("the main window should start with word wrap on"));
    const Series wrapped = runSwitches(switches, budgetMs, docs, counter, probe);
    printSeries(windows.main->editor()->wordWrap()
                    ? "word wrap on"
                    : "word wrap on (the setting; documents over the size limit open unwrapped)",
                wrapped);
    std::fflush(stdout);

    int paintsBefore = counter.paints;
    probe.start();
    timer.restart();
    // A document held unwrapped for its size takes Ctrl+W to mean "wrap me"; the second one turns
    // the setting off.
    if (!windows.main->editor()->wordWrap())
        windows.main->view().toggleWordWrap();
    windows.main->view().toggleWordWrap();
    processUntilPainted(counter, paintsBefore);
    const double toggleOffMs = msSince(timer);
    const double toggleCpu = probe.waitUntilIdle();
    if (windows.main->editor()->wordWrap())
        fail(QStringLiteral("word wrap is still on after WordWrapBtn1Click"));
    std::printf("  word wrap off (toggle until painted): %.1f ms; CPU until idle %.3f s (longest stall %.1f ms)\n",
                toggleOffMs, toggleCpu, probe.longestStallMs());
    std::fflush(stdout);

    const Series unwrapped = runSwitches(switches, budgetMs, docs, counter, probe);
    printSeries("word wrap off", unwrapped);

    // The store-file write alone, done the way a switch does it (replace, write, flush, close),
    // to show its share of a switch.
    std::vector<double> writes;
    const QString scratch = folder.filePath(QStringLiteral("store-write.txt"));
    for (int i = 0; i < 5; ++i) {
        timer.restart();
        QFile file(scratch);
        if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || !windows.main->editor()->writeTo(file) ||
            !file.flush())
            fail(QStringLiteral("cannot write %1: %2").arg(scratch, file.errorString()));
        file.close();
        writes.push_back(msSince(timer));
    }
    QFile::remove(scratch);
    std::printf("  store-file write alone (%lld bytes): median %.1f ms, max %.1f ms\n",
                static_cast<long long>(windows.main->editor()->textLength()), median(writes), maximum(writes));

    // The document last switched away from: its store file holds exactly its bytes.
    const int away = set.currentIndex() == 1 ? 2 : 1;
    const QString store = set.at(away).storeFile;
    QFile stored(store), original(docs[away - 1].path);
    if (!stored.open(QIODevice::ReadOnly) || !original.open(QIODevice::ReadOnly))
        fail(QStringLiteral("cannot read store file %1 or document %2").arg(store, docs[away - 1].path));
    const QByteArray storedBytes = stored.readAll();
    if (storedBytes.size() != docs[away - 1].size)
        fail(QStringLiteral("store file %1 of tab %2 holds %3 bytes, the document has %4")
                 .arg(store)
                 .arg(away)
                 .arg(storedBytes.size())
                 .arg(docs[away - 1].size));
    if (storedBytes != original.readAll())
        fail(QStringLiteral("store file %1 of tab %2 differs from the document's text").arg(store).arg(away));
    std::printf("  store files: written in full on each of the %d switches; last one (tab %d) matches byte for byte\n",
                2 * switches, away);
    std::printf("  peak memory (VmHWM): %.1f MiB\n", peakMemoryKiB() / 1024.0);
    return 0;
}

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Quillet"));
    QApplication::setQuitOnLastWindowClosed(false);
    BenchPrompts prompts;
    Prompts::install(&prompts);
    // Outlives the windows it watches.
    PaintCounter counter;

    int result = 0;
    {
        // Store files go where QDir::tempPath() points, so a private folder keeps them apart.
        QTemporaryDir folder(QDir::tempPath() + QStringLiteral("/bench_switch-XXXXXX"));
        if (!folder.isValid()) {
            std::fprintf(stderr, "bench_switch: error: cannot create a temporary folder\n");
            return 1;
        }
        const QByteArray oldTmp = qgetenv("TMPDIR");
        qputenv("TMPDIR", QFile::encodeName(folder.path()));
        try {
            result = run(folder, counter);
        } catch (const BenchFailure& failure) {
            std::fflush(stdout);
            std::fprintf(stderr, "bench_switch: error: %s\n", qPrintable(failure.message));
            result = 1;
        } catch (const CommandError& error) {
            std::fflush(stdout);
            std::fprintf(stderr, "bench_switch: error: %s\n", qPrintable(error.message()));
            result = 1;
        }
        destroyProgramWindows(windows);
        if (prompts.count > 0) {
            std::fprintf(stderr, "bench_switch: error: the program showed %d prompt(s)\n", prompts.count);
            result = 1;
        }
        if (oldTmp.isNull())
            qunsetenv("TMPDIR");
        else
            qputenv("TMPDIR", oldTmp);
    }
    Prompts::install(nullptr);
    return result;
}
