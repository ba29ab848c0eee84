#include "export/spumux_colours.h"

#include <gtest/gtest.h>

#include <QRandomGenerator>

namespace marvoxa {

void PrintTo(const YCrCb& colour, std::ostream* os) {
    *os << colour.y << " " << colour.cr << " " << colour.cb;
}

namespace {

// What dvdauthor 0.7.2 wrote into VTS_01_0.IFO for pictures of these colours.
TEST(SpumuxColours, ConvertsAsSpumuxWasSeenToConvert) {
    const struct {
        QRgb colour;
        YCrCb entry;
    } seen[] = {
        {qRgb(0, 0, 0), {0x10, 0x80, 0x80}},          {qRgb(0x55, 0x55, 0x55), {0x59, 0x80, 0x80}},
        {qRgb(0xaa, 0xaa, 0xaa), {0xa2, 0x80, 0x80}}, {qRgb(0xff, 0xff, 0xff), {0xeb, 0x80, 0x80}},
        {qRgb(0x10, 0x10, 0x10), {0x1e, 0x80, 0x80}}, {qRgb(0xeb, 0xeb, 0xeb), {0xda, 0x80, 0x80}},
        {qRgb(0xff, 0, 0), {0x52, 0xf0, 0x5a}},       {qRgb(0, 0xff, 0), {0x91, 0x22, 0x36}},
        {qRgb(0, 0, 0xff), {0x29, 0x6e, 0xf0}},       {qRgb(0x12, 0x34, 0x56), {0x37, 0x6f, 0x94}},
        {qRgb(0xfe, 0xdc, 0xba), {0xd2, 0x91, 0x6c}},
    };
    for (const auto& [colour, entry] : seen) {
        EXPECT_EQ(SpumuxYCrCb(colour), entry) << std::hex << colour;
    }
}

TEST(SpumuxColours, FindsAColourForEveryGreyOfTheStudioRange) {
    for (int y = 16; y <= 235; ++y) {
        EXPECT_EQ(SpumuxYCrCb(SpumuxColourFor({y, 128, 128})), (YCrCb{y, 128, 128})) << y;
    }
}

TEST(SpumuxColours, FindsAColourForEveryEntrySpumuxCanMake) {
    QRandomGenerator random(10);
    for (int i = 0; i < 2000; ++i) {
        const YCrCb entry = SpumuxYCrCb(random.generate() | 0xff000000u);
        EXPECT_EQ(SpumuxYCrCb(SpumuxColourFor(entry)), entry);
    }
    // A typical DVD yellow.
    EXPECT_EQ(SpumuxYCrCb(SpumuxColourFor({0xd2, 0x92, 0x10})), (YCrCb{0xd2, 0x92, 0x10}));
}

TEST(SpumuxColours, TakesTheNearestEntryOutsideTheStudioRange) {
    EXPECT_EQ(SpumuxColourFor({0, 128, 128}), qRgb(0, 0, 0));
    EXPECT_EQ(SpumuxColourFor({255, 128, 128}), qRgb(255, 255, 255));
    EXPECT_EQ(SpumuxYCrCb(SpumuxColourFor({0x55, 128, 128})), (YCrCb{0x55, 128, 128}));
}

}  // namespace
}  // namespace marvoxa
