#pragma once

#include "common/result.h"
#include "dvd/nav_rewrite.h"
#include "dvd/sector_shift.h"
#include "dvd/title_timeline.h"

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QString>

#include <vector>

namespace marvoxa {

// A player's subpicture decoder buffer; a larger unit cannot be shown.
inline constexpr int kSubpictureBufferSize = 53220;

// One subpicture unit to add to a title, at a time of the title.
struct TitleSubpicture {
    QString name;  // "Subtitle 3 at 00:00:04,000", for messages
    qint64 titleMs = 0;
    qint64 durationMs = 0;
    QByteArray unit;  // exactly as Generated.sup holds it, without the packet header
};

// Whole packs that go just before a sector of the title video.
struct PackInsertion {
    quint32 beforeSector = 0;
    QByteArray packs;  // 2048 bytes each, SCRs set
};

// Where the packs of every unit go, and what the NAV packs then say of the new stream.
struct SubpicturePlacement {
    QList<PackInsertion> insertions;  // in sector order
    SectorShift shift;
    // The new stream's sync address by the old sector of each NAV pack of the title; NAV packs
    // of other titles say the stream does not exist.
    QHash<quint32, SubpictureSync> syncs;
    int afterEnd = 0;       // units left out because the title has ended by their time
    QString firstAfterEnd;  // the first of them
};

// Places each unit in private stream 1 packs of sub-stream 0x20 + stream, the first with the
// unit's presentation time, into gaps between existing packs whose SCRs leave room for one
// more pack at the video's mux rate, before the unit is shown: in the VOBU that shows its
// start or, when that VOBU has no room, in earlier VOBUs of the same cell. Units go into the
// stream in the order of their times. clocks holds the SCR of every sector of the title video
// (27 MHz), muxRate the video's mux rate (50 bytes a second).
// Fails (ErrorKind::Limit) naming the unit when a unit is larger than the player's buffer,
// falls in video that is played in more than one place, or finds no room before its time.
Result<SubpicturePlacement> PlaceSubpictures(const std::vector<qint64>& clocks, quint32 muxRate,
                                             const TitleTimeline& timeline,
                                             QList<TitleSubpicture> units, int stream);

}  // namespace marvoxa
