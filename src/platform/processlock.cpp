#include "platform/processlock.h"

#include <QCoreApplication>
#include <QFile>
#include <QSysInfo>

#ifdef Q_OS_UNIX
#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>
#else
#include <QLockFile>
#endif

namespace platform {

#ifdef Q_OS_UNIX
struct ProcessLock::Handle
{
    int fd = -1;
};

bool ProcessLock::tryLock(const QString& path)
{
    unlock();
    // Closed on exec: a program started from here must not keep the lock after this one ends.
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
    if (fd < 0)
        return false;
    int result;
    do
        result = ::flock(fd, LOCK_EX | LOCK_NB);
    while (result != 0 && errno == EINTR);
    if (result != 0) {
        ::close(fd);
        return false;
    }
    const QByteArray holder =
        QByteArray::number(QCoreApplication::applicationPid()) + '\n' + QSysInfo::machineHostName().toUtf8() + '\n';
    if (::ftruncate(fd, 0) == 0) {
        [[maybe_unused]] const ssize_t n = ::pwrite(fd, holder.constData(), static_cast<size_t>(holder.size()), 0);
    }
    m_handle->fd = fd;
    return true;
}

void ProcessLock::unlock()
{
    if (m_handle->fd < 0)
        return;
    ::close(m_handle->fd);
    m_handle->fd = -1;
}

bool ProcessLock::isLocked() const
{
    return m_handle->fd >= 0;
}
#else
struct ProcessLock::Handle
{
    std::unique_ptr<QLockFile> lock;
};

bool ProcessLock::tryLock(const QString& path)
{
    unlock();
    auto lock = std::make_unique<QLockFile>(path);
    lock->setStaleLockTime(0);
    if (!lock->tryLock(0))
        return false;
    m_handle->lock = std::move(lock);
    return true;
}

void ProcessLock::unlock()
{
    m_handle->lock.reset();
}

bool ProcessLock::isLocked() const
{
    return m_handle->lock != nullptr;
}
#endif

ProcessLock::ProcessLock() : m_handle(std::make_unique<Handle>())
{}

ProcessLock::~ProcessLock()
{
    unlock();
}

} // namespace platform
