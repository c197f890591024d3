#pragma once
// What every benchmark needs: prompts that never block, the median of a series, peak memory,
// processor time, test files, and runs in a child process of their own (so each run's peak
// memory is its own).

#include "core/prompts.h"
#include "mainwindow/statusbar.h"

#include <QApplication>
#include <QFile>
#include <QProcess>
#include <QString>
#include <QStringList>

#include <algorithm>
#include <ctime>
#include <optional>
#include <vector>

// Records the last message; a modal box would stall the run.
class BenchPrompts : public Prompts
{
public:
    Answer question(const QString&, const QString&, Answer) override { return Answer::No; }
    void warning(const QString&, const QString& text) override { last = text; }
    void information(const QString&, const QString& text) override { last = text; }
    void error(const QString& text) override { last = text; }
    std::optional<QFont> chooseFont(const QFont&) override { return std::nullopt; }
    QString last;
};

// QUILLET_BENCH_RUNS, or `fallback` when it is not set.
inline int benchRuns(int fallback = 5)
{
    const int runs = qEnvironmentVariableIntValue("QUILLET_BENCH_RUNS");
    return runs > 0 ? runs : fallback;
}

inline double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values.empty() ? 0.0 : values[values.size() / 2];
}

// The process's peak resident memory (VmHWM) as the system writes it, e.g. "123456 kB".
inline QString peakMemory()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return QStringLiteral("?");
    for (const QByteArray& line : status.readAll().split('\n'))
        if (line.startsWith("VmHWM:"))
            return QString::fromLatin1(line.mid(6).trimmed());
    return QStringLiteral("?");
}

inline long peakMemoryMiB()
{
    return peakMemory().split(QLatin1Char(' ')).value(0).toLong() / 1024;
}

// QUILLET_BENCH_MIB, or `fallback` when it is not set.
inline qint64 benchMiB(qint64 fallback = 50)
{
    const int mib = qEnvironmentVariableIntValue("QUILLET_BENCH_MIB");
    return mib > 0 ? mib : fallback;
}

// The processor time this process has used, in milliseconds.
inline double processCpuMs()
{
    timespec now{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return now.tv_sec * 1e3 + now.tv_nsec / 1e6;
}

// Lines of printable text of varied length, CR LF ended, written a chunk at a time; with
// `lastLine`, the file ends with that line (after a line end). With QUILLET_BENCH_ACCENTED set,
// an accented letter (two bytes of UTF-8) comes every 30 to 90 bytes.
inline void makeTextFile(const QString& path, qint64 bytes, const QByteArray& lastLine = {})
{
    static const char* const accented[] = {"\u00e9", "\u00fc", "\u00f1", "\u00e0", "\u00f6", "\u00e7"};
    const bool withAccents = qEnvironmentVariableIsSet("QUILLET_BENCH_ACCENTED");
    int untilAccent = 30;
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        qFatal("cannot write %s", qPrintable(path));
    QByteArray chunk;
    quint32 seed = 12345;
    qint64 written = 0;
    while (written < bytes) {
        chunk.clear();
        while (chunk.size() < (1 << 20)) {
            seed = seed * 1103515245u + 12345u;
            const int length = 20 + static_cast<int>((seed >> 16) % 100);
            for (int i = 0; i < length; ++i) {
                if (withAccents && --untilAccent <= 0) {
                    chunk.append(accented[(seed >> 4) % 6]);
                    untilAccent = 30 + static_cast<int>((seed >> 12) % 61);
                    continue;
                }
                chunk.append(static_cast<char>(' ' + (i * 7 + static_cast<int>(seed >> 8)) % 94));
            }
            chunk.append("\r\n");
        }
        const qint64 n = std::min<qint64>(chunk.size(), bytes - written - lastLine.size());
        file.write(chunk.constData(), n);
        written += n;
        if (!lastLine.isEmpty() && written + lastLine.size() >= bytes) {
            file.seek(written - 2);
            file.write("\r\n");
            file.write(lastLine);
            written += lastLine.size();
        }
    }
}

// Runs this benchmark again as a child ("--child" and `arguments`) with its temporary folder in
// `tmpDir`, offscreen unless a platform was chosen; its standard output, or nothing when it failed.
inline std::optional<QByteArray> runChild(const QStringList& arguments, const QString& tmpDir)
{
    QProcess process;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("TMPDIR"), tmpDir);
    if (!env.contains(QStringLiteral("QT_QPA_PLATFORM")))
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    process.setProcessEnvironment(env);
    process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    process.start(QCoreApplication::applicationFilePath(), QStringList{QStringLiteral("--child")} + arguments);
    process.waitForFinished(-1);
    if (process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0)
        return std::nullopt;
    return process.readAllStandardOutput();
}

// The child's side of a run: the application, prompts that never block, no pauses between the
// steps of a progress bar.
class ChildApplication
{
public:
    explicit ChildApplication(const char* name) : m_name(name), m_app(m_argc, m_argv)
    {
        Prompts::install(&prompts);
        StatusBar::StepPauseMs = 0;
    }
    ~ChildApplication() { Prompts::install(nullptr); }
    ChildApplication(const ChildApplication&) = delete;
    ChildApplication& operator=(const ChildApplication&) = delete;

    BenchPrompts prompts;

private:
    QByteArray m_name;
    int m_argc = 1;
    char* m_argv[2] = {m_name.data(), nullptr};
    QApplication m_app;
};
