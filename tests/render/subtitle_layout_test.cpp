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
