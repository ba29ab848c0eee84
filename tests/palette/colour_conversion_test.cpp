#include "palette/colour_conversion.h"
#include "palette/palette.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace marvoxa {
namespace {

struct IfoEntryCase {
    const char* name;
    quint32 storedValue;
    QRgb displayColour;
    const char* tooltip;
};

class IfoEntry : public ::testing::TestWithParam<IfoEntryCase> {};

TEST_P(IfoEntry, ConvertsColourAndFormsTooltip) {
    const IfoEntryCase& c = GetParam();
    const PaletteEntry entry = PaletteEntryFromStoredValue(c.storedValue);
    EXPECT_EQ(entry.displayColour, c.displayColour)
        << qRed(entry.displayColour) << "," << qGreen(entry.displayColour) << ","
        << qBlue(entry.displayColour);
    EXPECT_EQ(entry.tooltip, QLatin1String(c.tooltip));
    EXPECT_EQ(entry.y, quint8(c.storedValue >> 16));
    EXPECT_EQ(entry.cr, quint8(c.storedValue >> 8));
    EXPECT_EQ(entry.cb, quint8(c.storedValue));
}

INSTANTIATE_TEST_SUITE_P(
    Entries, IfoEntry,
    ::testing::Values(IfoEntryCase{"Grey", 0x00108080, qRgb(16, 16, 16), "00108080"},
                      IfoEntryCase{"Red", 0x0051F05A, qRgb(238, 14, 14), "0051F05A"},
                      // G computes to -64: held at 0, not wrapped to 192.
                      IfoEntryCase{"GreenBelowZero", 0x0010F080, qRgb(173, 0, 16), "0010F080"},
                      // R 433 and B 480 held at 255; G 120.598.
                      IfoEntryCase{"AboveFull", 0x00FFFFFF, qRgb(255, 121, 255), "00FFFFFF"},
                      // The reserved byte shows in the tooltip only.
                      IfoEntryCase{"ReservedByteSet", 0xAB10807F, qRgb(16, 16, 14), "AB10807F"}),
    [](const auto& instance) { return std::string(instance.param.name); });

TEST(ColourConversion, GreyGivesItsLuminanceForEveryY) {
    for (int y = 0; y <= 255; ++y) {
        EXPECT_EQ(YCrCbToRgb(quint8(y), 0x80, 0x80), qRgb(y, y, y)) << "Y " << y;
    }
}

struct HalfCase {
    int y;
    int cb;
    int blue;
};

class BlueOnAHalf : public ::testing::TestWithParam<HalfCase> {};

// 1.772 x (Cb - 128) is exactly +-221.5 for Cb 253 and 3: B rounds half to even.
TEST_P(BlueOnAHalf, RoundsToEven) {
    const HalfCase& c = GetParam();
    EXPECT_EQ(qBlue(YCrCbToRgb(quint8(c.y), 0x80, quint8(c.cb))), c.blue)
        << "Y " << c.y << ", Cb " << c.cb;
}

INSTANTIATE_TEST_SUITE_P(Cb253And3, BlueOnAHalf,
                         ::testing::Values(HalfCase{0, 253, 222}, HalfCase{1, 253, 222},
                                           HalfCase{2, 253, 224}, HalfCase{253, 3, 32},
                                           HalfCase{254, 3, 32}, HalfCase{255, 3, 34}));

// With Cr 178 and Cb 78, G is Y - 18.5 in decimals, but the extended-precision steps land a
// hair off the half for two runs of Y.
int ExpectedGreenForCr178Cb78(int y) {
    int green;
    if (y % 2 == 1 && y >= 47 && y <= 81) {
        green = y - 18;
    } else if (y % 2 == 0 && y >= 240 && y <= 254) {
        green = y - 19;
    } else {
        green = y % 2 == 0 ? y - 18 : y - 19;  // the even one of Y - 19 and Y - 18
    }
    return std::max(green, 0);
}

TEST(ColourConversion, GreenOfCr178Cb78FollowsExtendedPrecisionForEveryY) {
    EXPECT_EQ(qGreen(YCrCbToRgb(47, 178, 78)), 29);
    EXPECT_EQ(qGreen(YCrCbToRgb(240, 178, 78)), 221);
    for (int y = 0; y <= 255; ++y) {
        EXPECT_EQ(qGreen(YCrCbToRgb(quint8(y), 178, 78)), ExpectedGreenForCr178Cb78(y))
            << "Y " << y;
    }
}

}  // namespace
}  // namespace marvoxa
