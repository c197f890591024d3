#pragma once
// What every benchmark needs: prompts that never block, the median of a series, peak memory.

#include "core/prompts.h"

#include <QFile>
#include <QString>

#include <algorithm>
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
