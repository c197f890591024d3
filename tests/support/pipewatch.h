#pragma once
// Named pipes a test hands to the program, which must never open them to read: the open would wait
// for a writer that never comes and the test would hang until its time-out. The watch looks for a
// reader all the time; one it finds is let go at once (the pipe's writing end opened and closed, so
// the open returns and the read ends) and counted, so the test fails with a message instead.

#include <QByteArray>
#include <QFile>
#include <QList>
#include <QStringList>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>

#include <fcntl.h>
#include <unistd.h>

class PipeWatch
{
public:
    explicit PipeWatch(const QStringList& pipes)
    {
        for (const QString& pipe : pipes)
            m_pipes.append(QFile::encodeName(pipe));
        m_thread = std::thread([this] { watch(); });
    }
    ~PipeWatch()
    {
        {
            const std::lock_guard lock(m_mutex);
            m_stop = true;
        }
        m_wake.notify_one();
        m_thread.join();
    }
    PipeWatch(const PipeWatch&) = delete;
    PipeWatch& operator=(const PipeWatch&) = delete;

    // How often the program was found holding one of the pipes open to read.
    int readersFound() const { return m_found; }

private:
    void watch()
    {
        std::unique_lock lock(m_mutex);
        while (!m_wake.wait_for(lock, std::chrono::milliseconds(20), [this] { return m_stop; })) {
            for (const QByteArray& pipe : m_pipes) {
                // Opening the writing end without waiting succeeds only while someone has the pipe
                // open to read (or waits to).
                const int fd = ::open(pipe.constData(), O_WRONLY | O_NONBLOCK | O_CLOEXEC);
                if (fd >= 0) {
                    ::close(fd);
                    ++m_found;
                }
            }
        }
    }

    QList<QByteArray> m_pipes;
    std::atomic<int> m_found = 0;
    std::mutex m_mutex;
    std::condition_variable m_wake;
    bool m_stop = false;
    std::thread m_thread;
};
