#pragma once
// The system's memory status, as the About window shows it: the memory still available to
// programs and the share of all memory in use. Read from /proc/meminfo.

#include <QString>
#include <QtGlobal>

namespace platform {

struct MemoryStatus
{
    qint64 availableBytes = 0;
    int loadPercent = 0; // share of the total memory in use, 0..100
    bool valid = false;
};

// Reads `path` (a file in the format of /proc/meminfo: "Name:   value kB" lines); not valid when
// it cannot be read or lacks MemTotal.
MemoryStatus readMemoryStatus(const QString& path = QStringLiteral("/proc/meminfo"));

} // namespace platform
