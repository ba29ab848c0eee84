#pragma once

#include "common/result.h"
#include "dvd/dvd_copy.h"
#include "dvd/dvd_target.h"

#include <QList>
#include <QMap>
#include <QtGlobal>

#include <array>

namespace marvoxa {

// What is known of the set beyond its IFO: what its packs carry and what the units of the
// title's cells name.
struct SetSubpictureUse {
    quint32 carriedSubStreams = 0;  // bit n: a pack carries sub-stream 0x20 + n
    quint16 namedEntries = 0;       // bit n: a unit of the title's cells names entry n
};

// Where one new stream goes.
struct PlannedStream {
    int number = 0;                  // in the set's stream table
    int subStream = 0;               // 0x20 + subStream, the drawing for the title's shape
    int letterboxSubStream = -1;     // of the letterbox drawing; -1 without one
    quint32 control = 0;             // PGC_SPST_CTL
    std::array<int, 16> entryFor{};  // the title palette's entry for each entry the units name
};

struct NewStreamsPlan {
    QList<PlannedStream> streams;
    QMap<int, quint32> paletteWrites;  // entry -> 0x00YYCrCb, in every PGC of the title
    quint32 subStreams = 0;            // bit n: sub-stream 0x20 + n is taken by a new stream
    quint16 reliedEntries = 0;         // bit n: the new units show entry n as it stands
};

// Gives each new stream the next stream number and sub-stream ids that no PGC's stream control
// names and no pack in use carries (two when it has a letterbox drawing and the title is wide
// with letterbox or pan-scan display allowed), and each colour the streams need that the
// title's PGCs do not all hold an entry of the palette named by no unit of use. Fails
// (ErrorKind::Limit) when the set has no room for the streams, no sub-stream id is free, or
// too few palette entries are.
Result<NewStreamsPlan> PlanNewStreams(const DvdTarget& target, const QList<NewTitleStream>& streams,
                                      const SetSubpictureUse& use);

// Whether the plan still holds once the whole video has been read: no chosen sub-stream is
// carried, no entry written or relied on changes for an existing unit.
bool PlanHolds(const NewStreamsPlan& plan, const SetSubpictureUse& use);

}  // namespace marvoxa
