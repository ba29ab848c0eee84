#pragma once

#include "common/result.h"

#include <QList>
#include <QString>
#include <QtGlobal>

namespace marvoxa {

// DVD files are read and addressed in sectors of this size.
inline constexpr qint64 kDvdSectorSize = 2048;

// One VTS_xx_n.VOB of a title set. The title VOBs form one stream of sectors; firstSector is
// where this file starts in it.
struct TitleVobFile {
    QString path;
    quint32 firstSector = 0;
    quint32 sectorCount = 0;

    friend bool operator==(const TitleVobFile&, const TitleVobFile&) = default;
};

// The files of one title set inside a VIDEO_TS folder.
struct DvdFolder {
    QString videoTsFolder;          // the VIDEO_TS folder itself
    QString ifoPath;                // VTS_xx_0.IFO
    int titleSet = 0;               // xx
    QList<TitleVobFile> titleVobs;  // VTS_xx_1.VOB, VTS_xx_2.VOB, ... in order

    quint32 titleVobSectors() const {
        return titleVobs.isEmpty() ? 0
                                   : titleVobs.back().firstSector + titleVobs.back().sectorCount;
    }
};

// Finds the title set that ifoPath belongs to. The IFO must be named VTS_xx_0.IFO (xx from 01
// to 99) and lie in a folder named VIDEO_TS that also holds VIDEO_TS.IFO and the set's title
// VOBs VTS_xx_1.VOB, VTS_xx_2.VOB, ... without a gap. Every one of them must be a regular
// file, and each VOB a non-empty whole number of sectors. Fails with ErrorKind::Io when a file
// is missing or not a regular file, with ErrorKind::Format when a name or a size is wrong; the
// message names the file and what to do.
Result<DvdFolder> FindDvdFolder(const QString& ifoPath);

}  // namespace marvoxa
