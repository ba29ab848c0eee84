#pragma once

#include "common/result.h"
#include "dvd/nav_rewrite.h"
#include "dvd/sector_shift.h"
#include "dvd/title_timeline.h"

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QMap>
#include <QString>

#include <utility>
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

// The units of one sub-stream, 0x20 + subStream, to add to a title.
struct SubpictureTrack {
    int subStream = 0;  // 0 to 31
    QList<TitleSubpicture> units;
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
    // The new sub-streams' sync addresses by the old sector of each NAV pack of the title; NAV
    // packs of other titles say the sub-streams do not exist.
    QHash<quint32, QList<NewStreamSync>> syncs;
    int afterEnd = 0;  // subtitles of the first track left out: the title has ended by their time
    QString firstAfterEnd;  // the first of them
};

// Places each unit in private stream 1 packs of its track's sub-stream, the first with the
// unit's presentation time, into gaps between existing packs whose SCRs leave room for one
// more pack at the video's mux rate, before the unit is shown: in the VOBU that shows its
// start or, when that VOBU has no room, in earlier VOBUs of the same cell. Units go into each
// sub-stream in the order of their times, and the tracks' units take the gaps in time order. A unit
// never leaves its cell, so the cells can be placed one at a time, in any order, as soon as their
// video has been read.
class SubpicturePlacer {
public:
    // Sorts the units by time and sends each to its cell of the timeline, which needs no VOBUs
    // yet. muxRate is the video's mux rate (50 bytes a second). Fails (ErrorKind::Limit)
    // naming the first unit, in time order, that is larger than the player's buffer or falls
    // in video that is played in more than one place.
    static Result<SubpicturePlacer> Start(const TitleTimeline& timeline,
                                          const QList<SubpictureTrack>& tracks, quint32 muxRate);

    // Places the units of the cell at position of the timeline, which must have its VOBUs.
    // clocks holds the SCR (27 MHz) of every sector of the title video up to the sector after
    // the cell. Fails (ErrorKind::Limit) naming a unit that finds no room before its time.
    Status placeCell(qsizetype position, const std::vector<qint64>& clocks);

    // The packs placed so far, by the sector they go before; final for every sector of the
    // cells already placed.
    const QMap<quint32, QByteArray>& insertions() const { return inserted_; }
    // The new sub-streams' sync addresses by the old sector of each NAV pack of the cells placed.
    const QHash<quint32, QList<NewStreamSync>>& syncs() const { return syncs_; }

    // Everything placed, once every cell has been.
    SubpicturePlacement finish() const;

private:
    // A gap between two packs already used by earlier units.
    struct GapUse {
        qint64 lastScr = 0;
    };
    // A unit as placed, for the sync addresses.
    struct PlacedUnit {
        qint64 pts = 0;
        qint64 endPts = 0;
        quint32 packVobu = 0;  // the NAV pack of the VOBU that holds its first pack
    };

    // A unit with the sub-stream it goes into.
    struct TrackUnit {
        TitleSubpicture unit;
        int subStream = 0;
    };

    Status place(qsizetype position, const TrackUnit& unit, const std::vector<qint64>& clocks);

    const TitleTimeline* timeline_ = nullptr;
    quint32 muxRate_ = 0;
    QList<int> subStreams_;
    QList<QList<TrackUnit>> unitsOfCell_;  // by position, in time order
    int afterEnd_ = 0;
    QString firstAfterEnd_;
    QMap<quint32, GapUse> used_;  // by the sector the packs go before
    QMap<quint32, QByteArray> inserted_;
    // In a cell no unit goes before the packs of an earlier one: players read a cell from start
    // to end, and the cells in the order the title plays them.
    QHash<std::pair<qsizetype, int>, quint32> streamEndOfCell_;  // by position and sub-stream
    QHash<std::pair<qsizetype, int>, QList<PlacedUnit>> unitsByCell_;
    QHash<quint32, QList<NewStreamSync>> syncs_;
};

// All of a title's units at once: clocks holds the SCR of every sector of the title video and
// timeline has every cell's VOBUs. Fails as SubpicturePlacer does.
Result<SubpicturePlacement> PlaceSubpictures(const std::vector<qint64>& clocks, quint32 muxRate,
                                             const TitleTimeline& timeline,
                                             const QList<SubpictureTrack>& tracks);

}  // namespace marvoxa
