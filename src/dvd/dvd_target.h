#pragma once

#include "common/result.h"
#include "dvd/dvd_folder.h"
#include "dvd/title_set_info.h"
#include "palette/ifo_reader.h"

#include <QString>

namespace marvoxa {

// A finished DVD's title set and the title that gets one more subtitle stream.
struct DvdTarget {
    DvdFolder folder;
    TitleSetInfo info;
    int discTitle = 0;
    int stream = 0;  // the new stream's number: the set's stream count before
    // Players colour a stream with the palette of the PGC that plays it: the title's first.
    IfoPaletteData palette;
    // The palette of the set's first PGC, which Load Ifo reads, is another.
    bool paletteDiffersFromSet = false;
};

// The title set of a VTS_xx_0.IFO for adding a stream to discTitle, the disc's title number;
// 0 takes the set's longest title. Fails with a message that says what to fix when the IFO
// lies outside a VIDEO_TS folder or a file is missing, the title belongs to another set (the
// message lists this set's titles), the set has 32 subpicture streams, or a title of the set
// is interleaved or has angles.
Result<DvdTarget> OpenDvdTarget(const QString& ifoPath, int discTitle);

// "title 1 (0:01:05), title 2 (0:00:12)": a set's titles with their lengths.
QString TitleListText(const TitleSetInfo& info);

// "0:01:05" for a length in milliseconds.
QString TitleLengthText(qint64 ms);

}  // namespace marvoxa
