#include "dvd/title_vob_stream.h"

#include <fcntl.h>

#include <unistd.h>
#include <cerrno>
#include <cstring>

#include <algorithm>
#include <vector>

namespace marvoxa {

TitleVobStream::TitleVobStream(const DvdFolder& folder) : folder_(folder) {}

qsizetype TitleVobStream::fileOf(quint32 sector) const {
    for (qsizetype i = 0; i < folder_.titleVobs.size(); ++i) {
        const TitleVobFile& file = folder_.titleVobs[i];
        if (sector - file.firstSector < file.sectorCount) {
            return i;
        }
    }
    return -1;
}

QString TitleVobStream::describe(quint32 sector) const {
    const qsizetype index = fileOf(sector);
    if (index < 0) {
        return QStringLiteral("sector %1 of the title video").arg(sector);
    }
    const TitleVobFile& file = folder_.titleVobs[index];
    return QStringLiteral("%1, sector %2 of the file (sector %3 of the title video)")
        .arg(file.path)
        .arg(sector - file.firstSector)
        .arg(sector);
}

Status TitleVobStream::open(qsizetype index) {
    if (index == openIndex_) {
        return Ok();
    }
    const TitleVobFile& vob = folder_.titleVobs[index];
    file_ = std::make_unique<QFile>(vob.path);
    openIndex_ = index;
    if (!file_->open(QIODevice::ReadOnly)) {
        openIndex_ = -1;
        return Error{ErrorKind::Io,
                     QStringLiteral("%1 cannot be read: %2").arg(vob.path, file_->errorString())};
    }
    // The title video is read from start to end: read far ahead.
    ::posix_fadvise(file_->handle(), 0, 0, POSIX_FADV_SEQUENTIAL);
    return Ok();
}

Status TitleVobStream::copyTo(int descriptor, quint32 firstSector, quint32 count) {
    if (count > sectorCount() || firstSector > sectorCount() - count) {
        std::vector<uchar> none;
        return read(firstSector, count, none.data());  // the same refusal
    }
    std::vector<uchar> buffer;
    while (count > 0) {
        const qsizetype index = fileOf(firstSector);
        if (Status opened = open(index); !opened) {
            return opened;
        }
        const TitleVobFile& vob = folder_.titleVobs[index];
        const quint32 inFile = std::min(count, vob.firstSector + vob.sectorCount - firstSector);
        loff_t from = loff_t{firstSector - vob.firstSector} * kDvdSectorSize;
        qint64 left = qint64{inFile} * kDvdSectorSize;
        while (left > 0) {
            const ssize_t moved = ::copy_file_range(file_->handle(), &from, descriptor, nullptr,
                                                    static_cast<size_t>(left), 0);
            if (moved > 0) {
                left -= moved;
                continue;
            }
            if (moved < 0 && errno != EXDEV && errno != ENOSYS && errno != EOPNOTSUPP &&
                errno != EINVAL) {
                return Error{ErrorKind::Io, QString::fromLocal8Bit(std::strerror(errno))};
            }
            // The kernel cannot copy between these files, or the source ended: through memory.
            const quint32 sectorsLeft = static_cast<quint32>(left / kDvdSectorSize);
            const quint32 done = inFile - sectorsLeft;
            buffer.resize(size_t{sectorsLeft} * kDvdSectorSize);
            if (Status read = this->read(firstSector + done, sectorsLeft, buffer.data()); !read) {
                return read;
            }
            for (size_t at = 0; at < buffer.size();) {
                const ssize_t written = ::write(descriptor, buffer.data() + at, buffer.size() - at);
                if (written < 0 && errno != EINTR) {
                    return Error{ErrorKind::Io, QString::fromLocal8Bit(std::strerror(errno))};
                }
                at += static_cast<size_t>(std::max<ssize_t>(written, 0));
            }
            left = 0;
        }
        firstSector += inFile;
        count -= inFile;
    }
    return Ok();
}

Status TitleVobStream::read(quint32 firstSector, quint32 count, uchar* buffer) {
    if (count > sectorCount() || firstSector > sectorCount() - count) {
        return Error{ErrorKind::Limit,
                     QStringLiteral("Sectors %1 to %2 lie past the end of title set %3's title "
                                    "video, which has %4 sectors.")
                         .arg(firstSector)
                         .arg(qint64{firstSector} + count - 1)
                         .arg(folder_.titleSet)
                         .arg(sectorCount())};
    }
    while (count > 0) {
        const qsizetype index = fileOf(firstSector);
        const TitleVobFile& vob = folder_.titleVobs[index];
        if (Status opened = open(index); !opened) {
            return opened;
        }
        const quint32 inFile = std::min(count, vob.firstSector + vob.sectorCount - firstSector);
        const qint64 bytes = qint64{inFile} * kDvdSectorSize;
        if (!file_->seek(qint64{firstSector - vob.firstSector} * kDvdSectorSize) ||
            file_->read(reinterpret_cast<char*>(buffer), bytes) != bytes) {
            return Error{ErrorKind::Io, QStringLiteral("%1 cannot be read at sector %2: %3")
                                            .arg(vob.path)
                                            .arg(firstSector - vob.firstSector)
                                            .arg(file_->error() == QFile::NoError
                                                     ? QStringLiteral("the file has become shorter")
                                                     : file_->errorString())};
        }
        buffer += bytes;
        firstSector += inFile;
        count -= inFile;
    }
    return Ok();
}

}  // namespace marvoxa
