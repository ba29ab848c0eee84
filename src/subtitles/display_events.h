#pragma once

#include "subtitles/cue_list.h"

#include <QtGlobal>

#include <vector>

namespace marvoxa {

// One subpicture of the stream: what is shown from its start for its duration.
struct DisplayEvent {
    qint64 startMs = 0;
    qint64 durationMs = 0;
    // The cues shown, by position in the cue list, the earliest first: later ones are drawn
    // above earlier ones in the same place.
    std::vector<size_t> cues;

    friend bool operator==(const DisplayEvent&, const DisplayEvent&) = default;
};

// The subpictures that show the cue list. A cue that overlaps no other is one event, in file
// order. Cues whose times overlap (signs, songs, two speakers) are cut wherever one of them
// starts or ends, and each piece shows every cue on screen then, so none hides another; the
// pieces take the place of the first of those cues, in time order. Cues without a positive
// duration overlap nothing.
std::vector<DisplayEvent> DisplayEvents(const CueList& cueList);

// How many cues overlap another in time, and the first of them, by position; zero cues when
// none do.
struct OverlappingCues {
    size_t count = 0;
    size_t first = 0;
};
OverlappingCues FindOverlappingCues(const CueList& cueList);

}  // namespace marvoxa
