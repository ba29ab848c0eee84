#include "render/subtitle_layout.h"

#include <gtest/gtest.h>

namespace marvoxa {
namespace {

TEST(SubtitleLayout, PlacesTwoLinesAboveTheBottomOffsetWithAnEvenArea) {
    RenderSettings settings;  // PAL, bottom offset 30, overlap -4
    const SubtitleLayout layout =
        LayoutSubtitle({101, 33}, {300, 33}, settings, kFrameWidth, FrameHeight(settings.standard));
    EXPECT_EQ(layout.firstTopLeft, QPoint(310, 473));
    EXPECT_EQ(layout.secondTopLeft, QPoint(210, 510));
    EXPECT_EQ(layout.areaTop, 472);  // 473 is odd
    EXPECT_EQ(layout.areaHeight, 76);
}

TEST(SubtitleLayout, OneMoreRowOfOffsetMovesTheTextButNotTheArea) {
    RenderSettings settings;
    settings.bottomOffset = 31;
    const SubtitleLayout layout = LayoutSubtitle({10, 33}, {10, 33}, settings, 720, 576);
    EXPECT_EQ(layout.firstTopLeft.y(), 472);
    EXPECT_EQ(layout.areaTop, 472);
}

TEST(SubtitleLayout, NegativeOddTopMovesTheAreaFurtherUp) {
    RenderSettings settings;
    settings.standard = VideoStandard::Ntsc;
    settings.bottomOffset = 492;
    const SubtitleLayout layout = LayoutSubtitle({10, 33}, {10, 33}, settings, 720, 480);
    EXPECT_EQ(layout.firstTopLeft.y(), -85);  // 480 - 33 - 40 - 492
    EXPECT_EQ(layout.areaTop, -86);
}

TEST(SubtitleLayout, PositiveOverlapPullsTheSecondLineUp) {
    RenderSettings settings;
    settings.lineOverlap = 10;
    const SubtitleLayout layout = LayoutSubtitle({10, 33}, {10, 33}, settings, 720, 576);
    EXPECT_EQ(layout.secondTopLeft.y() - layout.firstTopLeft.y(), 23);
    EXPECT_EQ(layout.areaHeight, 33 + 33 - 10 + 6);
}

TEST(LineLeft, FollowsTheAlignment) {
    EXPECT_EQ(LineLeft(720, 101, QStringLiteral("center")), 310);
    EXPECT_EQ(LineLeft(720, 300, QStringLiteral("right")), 412);
    EXPECT_EQ(LineLeft(720, 300, QStringLiteral("left")), 8);
    EXPECT_EQ(LineLeft(720, 5000, QStringLiteral("left")), 8);
    EXPECT_EQ(LineLeft(720, 900, QStringLiteral("center")), -90);
    // Any other text aligns right.
    EXPECT_EQ(LineLeft(720, 300, QStringLiteral("Center")), 412);
}

}  // namespace
}  // namespace marvoxa

namespace marvoxa {
namespace {

TEST(CueLayout, TwoLinesLieExactlyWhereTheTwoLineLayoutPutsThem) {
    for (const int overlap : {-14, -4, 0, 10}) {
        for (const int bottom : {8, 31, 492}) {
            RenderSettings settings;
            settings.lineOverlap = overlap;
            settings.bottomOffset = bottom;
            settings.align = QStringLiteral("right");
            const SubtitleLayout two =
                LayoutSubtitle({101, 33}, {300, 35}, settings, kFrameWidth, 576);
            const CueLayout cue =
                LayoutCueLines({{101, 33}, {300, 35}}, settings, kFrameWidth, 576);
            EXPECT_EQ(cue.topLefts, (QList<QPoint>{two.firstTopLeft, two.secondTopLeft}));
            EXPECT_EQ(cue.areaTop, two.areaTop);
            EXPECT_EQ(cue.areaHeight, two.areaHeight);
        }
    }
}

TEST(CueLayout, FourLinesStackUpwardsFromWhereTheSecondLineSits) {
    RenderSettings settings;  // PAL, bottom offset 30, overlap -4
    const CueLayout layout =
        LayoutCueLines({{100, 33}, {100, 33}, {100, 33}, {100, 33}}, settings, kFrameWidth, 576);
    // The last line where a second line goes (510), each line above 37 rows higher.
    EXPECT_EQ(layout.topLefts, (QList<QPoint>{{310, 399}, {310, 436}, {310, 473}, {310, 510}}));
    EXPECT_EQ(layout.areaTop, 398);
    EXPECT_EQ(layout.areaHeight, 4 * 33 + 3 * 4 + 6);  // down to row 548, as with two lines
}

}  // namespace
}  // namespace marvoxa

namespace marvoxa {
namespace {

TEST(PlacedLayout, KeypadPlacesRowsAndColumns) {
    RenderSettings settings;  // PAL, bottom offset 30, overlap -4, centred
    const QList<LineMetrics> oneLine{{100, 33}};
    const struct {
        int placement;
        QPoint topLeft;
    } cases[] = {
        {7, {8, 70}},                  // 40 + 30 from the top
        {8, {310, 70}},                //
        {9, {612, 70}},                // 720 - 100 - 8
        {4, {8, 288 - 16}},            // centred on the frame
        {6, {612, 288 - 16}},          //
        {1, {8, 576 - 33 - 40 - 30}},  // where a first line sits
    };
    for (const auto& test : cases) {
        QList<LineMetrics> lines = oneLine;
        if (test.placement <= 3) {
            lines.append({0, 33});  // a bottom-row cue keeps a second line's room
        }
        const CueLayout layout =
            LayoutPlacedLines({{lines, test.placement}}, settings, kFrameWidth, 576);
        EXPECT_EQ(layout.topLefts.front(), test.topLeft) << test.placement;
        EXPECT_EQ(layout.areaTop % 2, 0);
    }
}

TEST(PlacedLayout, LaterBlocksStackAboveEarlierOnesAndTheAreaSpansEveryPlace) {
    RenderSettings settings;
    settings.align = QStringLiteral("left");
    // Untagged and {\an1} share the bottom left: the earlier cue keeps its place.
    const CueLayout stacked = LayoutPlacedLines({{{{100, 33}, {0, 33}}, 0}, {{{200, 33}}, 1}},
                                                settings, kFrameWidth, 576);
    const CueLayout alone = LayoutCueLines({{200, 33}, {100, 33}, {0, 33}}, settings, 720, 576);
    EXPECT_EQ(stacked.topLefts,
              (QList<QPoint>{alone.topLefts[1], alone.topLefts[2], alone.topLefts[0]}));
    EXPECT_EQ(stacked.areaTop, alone.areaTop);
    EXPECT_EQ(stacked.areaHeight, alone.areaHeight);

    const CueLayout apart =
        LayoutPlacedLines({{{{100, 33}, {0, 33}}, 0}, {{{50, 33}}, 8}}, settings, 720, 576);
    EXPECT_EQ(apart.topLefts[2], QPoint(335, 70));
    EXPECT_EQ(apart.areaTop, 70);
    const CueLayout bottom = LayoutCueLines({{100, 33}, {0, 33}}, settings, 720, 576);
    EXPECT_EQ(apart.areaTop + apart.areaHeight, bottom.areaTop + bottom.areaHeight);
}

}  // namespace
}  // namespace marvoxa
