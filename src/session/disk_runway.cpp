#include "session/disk_runway.h"

#include "session/recording_settings.h"
#include "session/save_format.h"

#include <QFile>
#include <QFileInfo>

#include <sys/statvfs.h>

#include <algorithm>

qint64 DiskRunway::freeSpaceOf(const QString &path)
{
    // The nearest folder that exists: the save folder may still be to be made.
    QString existing = path;
    struct statvfs fs {};
    while (!existing.isEmpty()) {
        if (::statvfs(QFile::encodeName(existing).constData(), &fs) == 0)
            return qint64(fs.f_bavail) * qint64(fs.f_frsize);
        const QString parent = QFileInfo(existing).path();
        if (parent == existing)
            break;
        existing = parent;
    }
    return -1;
}

DiskRunway::DiskRunway() : m_freeSpace(&DiskRunway::freeSpaceOf) {}

void DiskRunway::setFreeSpaceSource(FreeSpaceSource source)
{
    m_freeSpace = source ? std::move(source) : FreeSpaceSource(&DiskRunway::freeSpaceOf);
}

QString DiskRunway::refusal(const RecordingSettings &s, int files) const
{
    const qint64 free = m_freeSpace(s.savePath);
    if (free >= 0 && double(free - kReserveBytes) < files * boundBytesPerSecond(s) * (kMinimumStartSeconds + kReserveSeconds))
        //: %1 is the save folder, %2 a number of seconds.
        return tr("There is not enough room on the disk of %1 to record: less than %2 seconds would fit. "
                  "Free some space or choose another folder in Options")
            .arg(s.savePath)
            .arg(kMinimumStartSeconds);
    return QString();
}

bool DiskRunway::mustStop(const QString &path, double bytesPerSecond) const
{
    const qint64 free = m_freeSpace(path);
    return free >= 0 && double(free) < kReserveBytes + bytesPerSecond * kReserveSeconds;
}

qint64 DiskRunway::secondsLeft(const QString &path, double bytesPerSecond) const
{
    const qint64 free = m_freeSpace(path);
    if (free < 0 || bytesPerSecond <= 0)
        return -1;
    return qint64(std::max(0.0, double(free - kReserveBytes) / bytesPerSecond - kReserveSeconds));
}
