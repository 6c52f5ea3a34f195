#include "DeviceJobs.h"

#include <QFile>

#include <sys/stat.h>
#include <sys/sysmacros.h>

namespace {

QByteArray ReadSmallFile(const QByteArray &path)
{
    QFile file(QFile::decodeName(path));
    return file.open(QIODevice::ReadOnly) ? file.read(256).trimmed() : QByteArray();
}

} // namespace

int DeviceJobs(const QByteArray &path)
{
    struct stat info {};
    if (::stat(path.constData(), &info) != 0 && ::stat(".", &info) != 0)
        return ParallelDeviceJobs;
    const QByteArray device = "/sys/dev/block/" + QByteArray::number(major(info.st_dev)) + ':' +
                              QByteArray::number(minor(info.st_dev));
    // A partition has no queue of its own; its disk's is one folder up.
    QByteArray disk = device;
    QByteArray rotational = ReadSmallFile(disk + "/queue/rotational");
    if (rotational.isEmpty()) {
        disk = device + "/..";
        rotational = ReadSmallFile(disk + "/queue/rotational");
    }
    const QByteArray uevent = ReadSmallFile(disk + "/uevent");
    const bool virtualDisk = uevent.contains("DEVNAME=vd") || uevent.contains("DEVNAME=xvd");
    return rotational == "1" && !virtualDisk ? SpinningDiskJobs : ParallelDeviceJobs;
}
