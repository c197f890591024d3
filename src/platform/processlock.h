#pragma once
// A lock on a file that the system holds for this process until it lets go or ends, however it
// ends (a kill, a crash, a power cut). Whether a lock is held says whether a process still owns
// what the file guards, whatever the file contains: a lock file left empty, damaged or naming
// another machine is free as soon as no process holds it. The file names its holder for people.

#include <QString>

#include <memory>

namespace platform {

class ProcessLock
{
public:
    ProcessLock();
    ~ProcessLock();
    ProcessLock(const ProcessLock&) = delete;
    ProcessLock& operator=(const ProcessLock&) = delete;

    // Takes the lock of `path`, creating the file when missing. False when a process holds it (this
    // one included, through another ProcessLock) or the file cannot be opened.
    bool tryLock(const QString& path);
    void unlock();
    bool isLocked() const;

private:
    struct Handle;
    std::unique_ptr<Handle> m_handle;
};

} // namespace platform
