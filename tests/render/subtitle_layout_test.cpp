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
