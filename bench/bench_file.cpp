// Saving and reading text files: time of writeTextFile (CR LF, already CR LF and converted from
// LF) and readFileBytes on a 50 MB text, with the process's peak memory. QUILLET_BENCH_HUGE=1
// adds a 1 GiB round trip. Fails only when a file read back differs from what was written.

#include "core/commanderror.h"
#include "documents/filesave.h"
#include "editor/editorviews.h"

#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <vector>

namespace {

// Lines of `lineLength` bytes including the terminator, of varying printable text.
QByteArray makeText(qint64 size, const QByteArray& terminator, int lineLength = 80)
{
    QByteArray text;
    text.reserve(size);
    const int body = lineLength - int(terminator.size());
    qint64 line = 0;
    while (text.size() + lineLength <= size) {
        for (int i = 0; i < body; ++i)
            text += char(' ' + (line * 7 + i) % 95);
        text += terminator;
        ++line;
    }
    return text;
}

double medianMs(int runs, const std::function<void()>& work)
{
    std::vector<double> times;
    for (int i = 0; i < runs; ++i) {
        QElapsedTimer timer;
        timer.start();
        work();
        times.push_back(timer.nsecsElapsed() / 1e6);
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

QByteArray peakMemory()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (status.open(QIODevice::ReadOnly)) {
        for (const QByteArray& line : status.readAll().split('\n')) {
            if (line.startsWith("VmHWM:"))
                return line.mid(6).simplified();
        }
    }
    return "unknown";
}

bool check(bool ok, const char* what)
{
    if (!ok)
        std::printf("CHECK FAILED: %s\n", what);
    return ok;
}

} // namespace

int main()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("bench.txt"));
    bool ok = true;
    try {
        const QByteArray text = makeText(50'000'000, "\r\n");
        std::printf("text: %lld bytes, 80-byte CR LF lines\n", qint64(text.size()));

        const double write = medianMs(5, [&] { writeTextFile(path, text, LineEnds::Crlf); });
        std::printf("writeTextFile CR LF (no change), median of 5: %.1f ms\n", write);
        QByteArray back;
        const double read = medianMs(5, [&] { back = readFileBytes(path); });
        std::printf("readFileBytes, median of 5: %.1f ms\n", read);
        ok &= check(back == text, "50 MB text read back unchanged");
        back.clear();

        const QByteArray lfText = makeText(50'000'000, "\n");
        const double convert = medianMs(5, [&] { writeTextFile(path, lfText, LineEnds::Crlf); });
        std::printf("writeTextFile LF -> CR LF (%lld bytes in), median of 5: %.1f ms\n", qint64(lfText.size()),
                    convert);
        ok &= check(QFile(path).size() == lfText.size() + lfText.count('\n'), "converted size");
        std::printf("peak memory (VmHWM): %s\n", peakMemory().constData());
    } catch (const CommandError& error) {
        std::printf("error: %s\n", qPrintable(error.message()));
        return 1;
    }

    if (qEnvironmentVariableIntValue("QUILLET_BENCH_HUGE") == 1) {
        try {
            const QByteArray huge = makeText(qint64(1) << 30, "\r\n");
            std::printf("huge text: %lld bytes\n", qint64(huge.size()));
            QElapsedTimer timer;
            timer.start();
            writeTextFile(path, huge, LineEnds::Crlf);
            std::printf("huge writeTextFile CR LF: %.1f ms\n", timer.nsecsElapsed() / 1e6);
            // The text itself is 1 GiB; the save should add only its fixed buffer to that.
            std::printf("peak memory after the write (VmHWM): %s\n", peakMemory().constData());
            timer.restart();
            const QByteArray back = readFileBytes(path);
            std::printf("huge readFileBytes: %.1f ms\n", timer.nsecsElapsed() / 1e6);
            ok &= check(back.size() == huge.size(), "1 GiB text read back with the same size");
            std::printf("peak memory after reading back (VmHWM): %s\n", peakMemory().constData());
        } catch (const CommandError& error) {
            std::printf("error: %s\n", qPrintable(error.message()));
            return 1;
        }
    }
    return ok ? 0 : 1;
}
