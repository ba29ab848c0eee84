#pragma once

#include "common/result.h"
#include "dvd/dvd_folder.h"
#include "dvd/subpicture_survey.h"

#include <QList>
#include <QtGlobal>

#include <functional>
#include <vector>

namespace marvoxa {

// One VOBU of the title video as its NAV pack describes it.
struct VobuEntry {
    quint32 sector = 0;      // of its NAV pack, from the start of VTS_xx_1.VOB
    quint32 lastSector = 0;  // sector + VOBU_EA
    quint32 startPtm = 0;    // VOBU_S_PTM, 90 kHz
    quint32 endPtm = 0;      // VOBU_E_PTM
    int vobId = 0;
    int cellId = 0;

    friend bool operator==(const VobuEntry&, const VobuEntry&) = default;
};

// Called after each run of sectors with how many have been read; returning false stops the walk.
using WalkProgress = std::function<bool(quint32 sectorsRead)>;

// Reads the whole title video of the folder's set, a run of sectors at a time, and lists every
// VOBU in order. Fails with ErrorKind::Format, naming the file and sector, when a sector is no
// MPEG-2 pack, when a pack is scrambled (CSS), when the video does not start with a NAV pack,
// or when a NAV pack gives another sector than its own or a VOBU end past the title video;
// with ErrorKind::Io when a file cannot be read; with ErrorKind::Cancelled when progress
// returns false.
// With clocks, also gives the SCR of every sector on the 27 MHz clock, by sector; with found,
// hands over each VOBU as soon as it is read, before progress is told of its run; with survey,
// feeds it every pack with the cell of its VOBU.
Result<QList<VobuEntry>> WalkTitleVobus(const DvdFolder& folder, const WalkProgress& progress = {},
                                        std::vector<qint64>* clocks = nullptr,
                                        const std::function<void(const VobuEntry&)>& found = {},
                                        SubpictureSurvey* survey = nullptr);

}  // namespace marvoxa
