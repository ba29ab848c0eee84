#pragma once

#include "common/result.h"
#include "dvd/dvd_folder.h"

#include <QFile>
#include <QString>

#include <memory>

namespace marvoxa {

// Reads the title VOBs of a set as one run of sectors, the way the IFO and the NAV packs
// address them: sector 0 is the first of VTS_xx_1.VOB, and each later file goes on where the
// one before ends. Only the file being read is open.
class TitleVobStream {
public:
    explicit TitleVobStream(const DvdFolder& folder);

    quint32 sectorCount() const { return folder_.titleVobSectors(); }

    // Reads count sectors from firstSector into buffer, which holds count * kDvdSectorSize
    // bytes. Fails (ErrorKind::Io) when a file cannot be opened or read, or has become shorter
    // than it was when the folder was found; (ErrorKind::Limit) past the last sector.
    Status read(quint32 firstSector, quint32 count, uchar* buffer);

    // "VTS_01_2.VOB, sector 17 of the file (sector 530 of the title video)", for messages.
    QString describe(quint32 sector) const;

private:
    qsizetype fileOf(quint32 sector) const;

    DvdFolder folder_;
    std::unique_ptr<QFile> file_;
    qsizetype openIndex_ = -1;
};

}  // namespace marvoxa
