#pragma once
// Measures a command the way a person feels it: the process's CPU time from the start of the
// command until the event loop has nothing left to do, and the longest stretch in which the
// window's thread did not answer (a timer ticking every 10 ms on that thread; the longest gap
// between two ticks, or between the start and the first tick).

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QTimer>

#include <sys/resource.h>

#include <algorithm>

inline double processCpuSeconds()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_utime.tv_sec + usage.ru_stime.tv_sec + (usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

// Runs the event loop for `ms`, waiting for events as the program does (no busy loop).
inline void runEventLoopFor(int ms)
{
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
}

class IdleProbe
{
public:
    IdleProbe()
    {
        m_tick.setInterval(10);
        m_tick.setTimerType(Qt::PreciseTimer);
        QObject::connect(&m_tick, &QTimer::timeout, [this] {
            m_longestMs = std::max(m_longestMs, m_sinceTick.nsecsElapsed() / 1e6);
            m_sinceTick.restart();
        });
    }

    // Call right before the command.
    void start()
    {
        m_longestMs = 0;
        m_cpuAtStart = processCpuSeconds();
        m_sinceTick.start();
        m_tick.start();
    }

    // Runs the event loop until the CPU time stops advancing (under 3 ms in 300 ms), gives up
    // after `limitMs`. Returns the CPU seconds used from start() until the quiet window began.
    double waitUntilIdle(qint64 limitMs = 600000)
    {
        constexpr int SettleMs = 300;
        QElapsedTimer total;
        total.start();
        double windowCpu = processCpuSeconds();
        for (;;) {
            runEventLoopFor(SettleMs);
            const double now = processCpuSeconds();
            if (now - windowCpu < 0.003 || total.elapsed() > limitMs) {
                m_tick.stop();
                return windowCpu - m_cpuAtStart;
            }
            windowCpu = now;
        }
    }

    // The longest stretch without an answer since start(), in milliseconds.
    double longestStallMs() const
    {
        return std::max(m_longestMs, m_tick.isActive() ? m_sinceTick.nsecsElapsed() / 1e6 : 0);
    }

private:
    QTimer m_tick;
    QElapsedTimer m_sinceTick;
    double m_longestMs = 0;
    double m_cpuAtStart = 0;
};
