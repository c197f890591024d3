#include "platform/memorystatus.h"

#include <QFile>

namespace platform {

MemoryStatus readMemoryStatus(const QString& path)
{
    MemoryStatus status;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return status;
    qint64 totalKb = -1;
    qint64 availableKb = -1;
    qint64 freeKb = -1;
    // /proc files report no size, so atEnd() would be true at once: read to the end instead.
    const QByteArray text = file.readAll();
    for (const QByteArray& line : text.split('\n')) {
        const qsizetype colon = line.indexOf(':');
        if (colon < 0)
            continue;
        const QByteArray name = line.left(colon);
        QByteArray value = line.mid(colon + 1).trimmed();
        if (value.endsWith("kB"))
            value.chop(2);
        bool ok = false;
        const qint64 kb = value.trimmed().toLongLong(&ok);
        if (!ok)
            continue;
        if (name == "MemTotal")
            totalKb = kb;
        else if (name == "MemAvailable")
            availableKb = kb;
        else if (name == "MemFree")
            freeKb = kb;
    }
    // Kernels before 3.14 have no MemAvailable; free memory is the nearest they say.
    if (availableKb < 0)
        availableKb = freeKb;
    if (totalKb <= 0 || availableKb < 0)
        return status;
    availableKb = qMin(availableKb, totalKb);
    status.availableBytes = availableKb * 1024;
    status.loadPercent = int((totalKb - availableKb) * 100 / totalKb);
    status.valid = true;
    return status;
}

} // namespace platform
