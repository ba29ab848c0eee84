#include "subtitles/display_events.h"

#include <algorithm>

namespace marvoxa {

namespace {

qint64 EndOf(const Cue& cue) {
    return qint64{cue.startMs} + cue.durationMs;
}

// Groups of cues whose times overlap one another, directly or through other cues; each group
// sorted by position, the groups by their first cue. Cues that overlap nothing are left out.
std::vector<std::vector<size_t>> OverlapGroups(const CueList& cueList) {
    const std::vector<Cue>& cues = cueList.cues;
    std::vector<size_t> timed;
    for (size_t i = 0; i < cues.size(); ++i) {
        if (cues[i].durationMs > 0) {
            timed.push_back(i);
        }
    }
    std::stable_sort(timed.begin(), timed.end(),
                     [&](size_t a, size_t b) { return cues[a].startMs < cues[b].startMs; });
    std::vector<std::vector<size_t>> groups;
    std::vector<size_t> group;
    qint64 groupEnd = 0;
    const auto close = [&] {
        if (group.size() > 1) {
            std::sort(group.begin(), group.end());
            groups.push_back(std::move(group));
        }
        group.clear();
    };
    for (size_t index : timed) {
        if (!group.empty() && cues[index].startMs >= groupEnd) {
            close();
        }
        groupEnd = group.empty() ? EndOf(cues[index]) : std::max(groupEnd, EndOf(cues[index]));
        group.push_back(index);
    }
    close();
    std::sort(groups.begin(), groups.end());
    return groups;
}

// The pieces of an overlapping group, cut wherever one of its cues starts or ends.
void AppendPieces(const CueList& cueList, const std::vector<size_t>& group,
                  std::vector<DisplayEvent>& events) {
    const std::vector<Cue>& cues = cueList.cues;
    std::vector<qint64> cuts;
    for (size_t index : group) {
        cuts.push_back(cues[index].startMs);
        cuts.push_back(EndOf(cues[index]));
    }
    std::sort(cuts.begin(), cuts.end());
    cuts.erase(std::unique(cuts.begin(), cuts.end()), cuts.end());
    std::vector<size_t> byStart = group;
    std::stable_sort(byStart.begin(), byStart.end(),
                     [&](size_t a, size_t b) { return cues[a].startMs < cues[b].startMs; });
    for (size_t i = 0; i + 1 < cuts.size(); ++i) {
        DisplayEvent piece{cuts[i], cuts[i + 1] - cuts[i], {}};
        for (size_t index : byStart) {
            if (cues[index].startMs <= cuts[i] && EndOf(cues[index]) >= cuts[i + 1]) {
                piece.cues.push_back(static_cast<quint32>(index));
            }
        }
        if (!piece.cues.empty()) {
            events.push_back(std::move(piece));
        }
    }
}

}  // namespace

DisplayEventList DisplayEvents(const CueList& cueList) {
    const std::vector<Cue>& cues = cueList.cues;
    const std::vector<std::vector<size_t>> groups = OverlapGroups(cueList);
    // The group of each overlapping cue; none for the others.
    std::vector<const std::vector<size_t>*> groupOf(cues.size(), nullptr);
    for (const std::vector<size_t>& group : groups) {
        for (size_t index : group) {
            groupOf[index] = &group;
        }
    }
    DisplayEventList list;
    list.cueList_ = &cueList;
    list.slots_.reserve(cues.size());
    for (size_t index = 0; index < cues.size(); ++index) {
        if (groupOf[index] == nullptr) {
            list.slots_.push_back(static_cast<quint32>(index));
        } else if (groupOf[index]->front() == index) {
            const size_t first = list.pieces_.size();
            AppendPieces(cueList, *groupOf[index], list.pieces_);
            for (size_t piece = first; piece < list.pieces_.size(); ++piece) {
                list.slots_.push_back(DisplayEventList::kPiece | static_cast<quint32>(piece));
            }
        }
    }
    return list;
}

DisplayEvent DisplayEventList::operator[](size_t index) const {
    const quint32 slot = slots_[index];
    if ((slot & kPiece) != 0) {
        return pieces_[slot & ~kPiece];
    }
    const Cue& cue = cueList_->cues[slot];
    return {cue.startMs, cue.durationMs, {slot}};
}

std::vector<DisplayEvent> DisplayEventList::all() const {
    std::vector<DisplayEvent> events;
    for (size_t index = 0; index < size(); ++index) {
        events.push_back((*this)[index]);
    }
    return events;
}

OverlappingCues FindOverlappingCues(const CueList& cueList) {
    OverlappingCues found;
    for (const std::vector<size_t>& group : OverlapGroups(cueList)) {
        found.first = found.count == 0 ? group.front() : std::min(found.first, group.front());
        found.count += group.size();
    }
    return found;
}

}  // namespace marvoxa
