#include "render/render_settings.h"

#include <gtest/gtest.h>

namespace marvoxa {
namespace {

struct StyleRow {
    const char* name;
    int bits;
};

class StyleFromNameTest : public ::testing::TestWithParam<StyleRow> {};

TEST_P(StyleFromNameTest, GivesTheFlagsOfTheListEntry) {
    EXPECT_EQ(StyleFromName(QLatin1String(GetParam().name)).bits(), GetParam().bits);
}

// Bold 1, italic 2, underline 4, strikeout 8, in list order.
INSTANTIATE_TEST_SUITE_P(AllEntries, StyleFromNameTest,
                         ::testing::Values(StyleRow{"Normal", 0}, StyleRow{"Bold", 1},
                                           StyleRow{"Italic", 2}, StyleRow{"Underline", 4},
                                           StyleRow{"Bold+Italic", 3}, StyleRow{"Bold+Under", 5},
                                           StyleRow{"Bold+It+Und", 7}, StyleRow{"Italic+Under", 6},
                                           StyleRow{"StrikeOut", 8}));

TEST(StyleNames, ListTheTableInOrder) {
    QList<int> bits;
    for (const QString& name : StyleNames()) {
        bits << StyleFromName(name).bits();
    }
    EXPECT_EQ(bits, (QList<int>{0, 1, 2, 4, 3, 5, 7, 6, 8}));
}

struct CharsetRow {
    const char* name;
    int value;
};

class CharsetFromNameTest : public ::testing::TestWithParam<CharsetRow> {};

TEST_P(CharsetFromNameTest, GivesTheGdiIdentifier) {
    EXPECT_EQ(CharsetFromName(QLatin1String(GetParam().name)), GetParam().value);
}

INSTANTIATE_TEST_SUITE_P(AllEntries, CharsetFromNameTest,
                         ::testing::Values(CharsetRow{"ANSI", 0}, CharsetRow{"ARABIC", 178},
                                           CharsetRow{"BALTIC", 186},
                                           CharsetRow{"CHINESEBIG5", 136}, CharsetRow{"DEFAULT", 1},
                                           CharsetRow{"EASTEUROPE", 238}, CharsetRow{"GB2312", 134},
                                           CharsetRow{"GREEK", 161}, CharsetRow{"HANGEUL", 129},
                                           CharsetRow{"HEBREW", 177}, CharsetRow{"JOHAB", 130},
                                           CharsetRow{"MAC", 77}, CharsetRow{"OEM", 255},
                                           CharsetRow{"RUSSIAN", 204}, CharsetRow{"SHIFTJIS", 128},
                                           CharsetRow{"SYMBOL", 2}, CharsetRow{"THAI", 222},
                                           CharsetRow{"TURKISH", 162}));

TEST(CharsetNames, HoldEighteenEntriesWithDefaultFifth) {
    ASSERT_EQ(CharsetNames().size(), 18);
    EXPECT_EQ(CharsetNames()[kDefaultCharsetIndex], QStringLiteral("DEFAULT"));
    EXPECT_EQ(CharsetNames()[11], QStringLiteral("MAC"));
    EXPECT_EQ(CharsetNames()[12], QStringLiteral("OEM"));
}

TEST(Lookups, AreExactAndFallBackToTheDefaults) {
    EXPECT_EQ(StyleFromName(QStringLiteral("bold")), FontStyle{});
    EXPECT_EQ(StyleFromName(QString()), FontStyle{});
    EXPECT_EQ(CharsetFromName(QStringLiteral("default")), 1);
    EXPECT_EQ(CharsetFromName(QStringLiteral(" ANSI")), 1);
    EXPECT_EQ(ColorSlotFromName(QStringLiteral("Color 0")), 1);
    EXPECT_EQ(ColorSlotFromName(QStringLiteral("Color 15")), 16);
    EXPECT_EQ(ColorSlotFromName(QStringLiteral("Color 16")), 1);
    EXPECT_EQ(ColorSlotFromName(QStringLiteral("Color 07")), 1);
    EXPECT_EQ(ColorSlotFromName(QStringLiteral("color 3")), 1);
}

TEST(ColorSlotFromName, CoversEveryPaletteEntry) {
    const QStringList names = ColorSlotNames();
    ASSERT_EQ(names.size(), 16);
    for (int entry = 0; entry < 16; ++entry) {
        EXPECT_EQ(ColorSlotFromName(names[entry]), entry + 1) << names[entry].toStdString();
    }
}

TEST(Lists, DefaultEntriesMatchTheDefaultSettings) {
    const RenderSettings defaults;
    EXPECT_EQ(FontSizeNames()[kDefaultFontSizeIndex].toInt(), defaults.fontSize);
    EXPECT_EQ(CharsetFromName(CharsetNames()[kDefaultCharsetIndex]), defaults.charset);
    EXPECT_EQ(StyleFromName(StyleNames()[kDefaultStyleIndex]), defaults.style);
    EXPECT_EQ(OutlineWidthNames()[kDefaultOutlineWidthIndex].toInt(), defaults.outlineWidth);
    EXPECT_EQ(AlignNames()[kDefaultAlignIndex], defaults.align);
    EXPECT_EQ(FontSizeNames().size(), 25);
    EXPECT_EQ(FontSizeNames().front(), QStringLiteral("10"));
    EXPECT_EQ(FontSizeNames().back(), QStringLiteral("50"));
}

TEST(EvenLineOverlap, MovesOddPositionsUpToTheNextEvenValue) {
    EXPECT_EQ(EvenLineOverlap(-14), -14);
    EXPECT_EQ(EvenLineOverlap(-13), -12);
    EXPECT_EQ(EvenLineOverlap(-3), -2);
    EXPECT_EQ(EvenLineOverlap(-1), 0);
    EXPECT_EQ(EvenLineOverlap(0), 0);
    EXPECT_EQ(EvenLineOverlap(3), 4);
    EXPECT_EQ(EvenLineOverlap(9), 10);
    EXPECT_EQ(EvenLineOverlap(10), 10);
}

}  // namespace
}  // namespace marvoxa
