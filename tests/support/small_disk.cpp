#include "small_disk.h"

#include <QFile>

#include <cerrno>
#include <cstring>

#include <sys/mount.h>

namespace marvoxa::test {

SmallDisk::SmallDisk(int kibibytes) {
    const QByteArray options = "size=" + QByteArray::number(kibibytes) + "k,mode=0755";
    if (::mount("tmpfs", QFile::encodeName(folder_.path()).constData(), "tmpfs", 0,
                options.constData()) == 0) {
        mounted_ = true;
    } else {
        mountError_ = QStringLiteral(
                          "Cannot mount a small tmpfs on %1 (%2). This test fills a "
                          "real file system and needs root to mount one.")
                          .arg(folder_.path(), QString::fromLocal8Bit(std::strerror(errno)));
    }
}

SmallDisk::~SmallDisk() {
    if (mounted_) {
        ::umount2(QFile::encodeName(folder_.path()).constData(), MNT_DETACH);
    }
}

}  // namespace marvoxa::test
