#include "dvd/title_vob_stream.h"

#include <algorithm>

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
        if (index != openIndex_) {
            file_ = std::make_unique<QFile>(vob.path);
            openIndex_ = index;
            if (!file_->open(QIODevice::ReadOnly)) {
                openIndex_ = -1;
                return Error{
                    ErrorKind::Io,
                    QStringLiteral("%1 cannot be read: %2").arg(vob.path, file_->errorString())};
            }
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
