#pragma once

#include "subtitles/cue_list.h"

#include <QVarLengthArray>
#include <QtGlobal>

#include <vector>

namespace marvoxa {

// One subpicture of the stream: what is shown from its start for its duration.
struct DisplayEvent {
    qint64 startMs = 0;
    qint64 durationMs = 0;
    // The cues shown, by position in the cue list, the earliest first: later ones are drawn
    // above earlier ones in the same place. Nearly every event shows one cue, which is kept
    // inline: a long film's events then take no memory of their own.
    QVarLengthArray<quint32, 1> cues;

    friend bool operator==(const DisplayEvent&, const DisplayEvent&) = default;
};

// The subpictures that show a cue list, by position. Almost every cue is an event of its own,
// so such an event is kept as its cue's position alone and made from the cue when asked for: a
// film of 200,000 cues then needs 0.8 MB for its events. The list reads the cue list it was made
// from, which must outlive it unchanged.
class DisplayEventList {
public:
    size_t size() const { return slots_.size(); }
    DisplayEvent operator[](size_t index) const;
    std::vector<DisplayEvent> all() const;

private:
    friend DisplayEventList DisplayEvents(const CueList& cueList);
    // A piece of overlapping cues is kept whole, its slot marked with this bit.
    static constexpr quint32 kPiece = 0x80000000;

    const CueList* cueList_ = nullptr;
    std::vector<quint32> slots_;  // a cue's position, or kPiece | a piece's position
    std::vector<DisplayEvent> pieces_;
};

// The subpictures that show the cue list. A cue that overlaps no other is one event, in file
// order. Cues whose times overlap (signs, songs, two speakers) are cut wherever one of them
// starts or ends, and each piece shows every cue on screen then, so none hides another; the
// pieces take the place of the first of those cues, in time order. Cues without a positive
// duration overlap nothing.
DisplayEventList DisplayEvents(const CueList& cueList);

// How many cues overlap another in time, and the first of them, by position; zero cues when
// none do.
struct OverlappingCues {
    size_t count = 0;
    size_t first = 0;
};
OverlappingCues FindOverlappingCues(const CueList& cueList);

}  // namespace marvoxa
