#include "subtitles/display_events.h"

#include "subtitles/cue_notices.h"

#include <gtest/gtest.h>

namespace marvoxa {
namespace {

struct Times {
    int startMs;
    int endMs;
};

CueList CuesAt(std::initializer_list<Times> times) {
    CueList list;
    for (const Times& cue : times) {
        list.cues.push_back({cue.startMs, cue.endMs - cue.startMs, "x", {}, {}});
    }
    return list;
}

struct SlicingCase {
    const char* name;
    CueList cues;
    std::vector<DisplayEvent> events;
};

TEST(DisplayEvents, CutsOverlappingCuesIntoPiecesShowingEveryCueOnScreen) {
    const SlicingCase cases[] = {
        {"apart, in file order even when not in time order",
         CuesAt({{5000, 6000}, {1000, 2000}, {2000, 3000}}),
         {{5000, 1000, {0}}, {1000, 1000, {1}}, {2000, 1000, {2}}}},
        {"one inside another",
         CuesAt({{1000, 5000}, {2000, 3000}}),
         {{1000, 1000, {0}}, {2000, 1000, {0, 1}}, {3000, 2000, {0}}}},
        {"a chain: the later cue goes above, whatever the file order",
         CuesAt({{2000, 4000}, {1000, 3000}, {3500, 5000}, {9000, 9500}}),
         {{1000, 1000, {1}},
          {2000, 1000, {1, 0}},
          {3000, 500, {0}},
          {3500, 500, {0, 2}},
          {4000, 1000, {2}},
          {9000, 500, {3}}}},
        {"same times", CuesAt({{1000, 2000}, {1000, 2000}}), {{1000, 1000, {0, 1}}}},
        {"zero and negative durations overlap nothing",
         CuesAt({{1000, 3000}, {2000, 2000}, {2500, 1500}}),
         {{1000, 2000, {0}}, {2000, 0, {1}}, {2500, -1000, {2}}}},
    };
    for (const SlicingCase& test : cases) {
        EXPECT_EQ(DisplayEvents(test.cues).all(), test.events) << test.name;
    }
}

TEST(DisplayEvents, NoticeCountsTheOverlappingCuesAndNamesTheFirst) {
    EXPECT_EQ(OverlappingCuesNotice(CuesAt({{1000, 2000}, {2000, 3000}})), std::nullopt);
    EXPECT_EQ(OverlappingCuesNotice(
                  CuesAt({{0, 500}, {9000, 9500}, {3000, 6000}, {1000, 5000}, {5500, 7000}})),
              QStringLiteral("3 subtitles overlap others in time; they are shown together, each "
                             "later one above the earlier ones. The first is subtitle 3 at "
                             "00:00:03,000."));
}

}  // namespace
}  // namespace marvoxa
