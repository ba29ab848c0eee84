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

    // Copies count sectors from firstSector to the end of the open file descriptor, in the
    // kernel where it can. Fails as read() does, or (ErrorKind::Io) with the system's reason
    // when the descriptor cannot be written.
    Status copyTo(int descriptor, quint32 firstSector, quint32 count);

    // "VTS_01_2.VOB, sector 17 of the file (sector 530 of the title video)", for messages.
    QString describe(quint32 sector) const;

private:
    qsizetype fileOf(quint32 sector) const;
    // Opens the file that holds sector, unless it is open already.
    Status open(qsizetype index);

    DvdFolder folder_;
    std::unique_ptr<QFile> file_;
    qsizetype openIndex_ = -1;
};

}  // namespace marvoxa
