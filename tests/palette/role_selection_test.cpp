#include "palette/role_selection.h"
#include "stored_values.h"

#include <gtest/gtest.h>

#include <ostream>

namespace marvoxa {

void PrintTo(const RoleSelection& s, std::ostream* out) {
    *out << "{antialias " << s.roles.antialias << ", outline " << s.roles.outline << ", text "
         << s.roles.text << ", background " << s.roles.background
         << (s.usable ? ", usable}" : ", unusable}");
}

namespace {

using test::StoredValuesWithGreys;

struct SelectionCase {
    const char* name;
    std::array<quint32, kPaletteSize> storedValues;
    RoleSelection expected;
};

class RoleSelectionTest : public ::testing::TestWithParam<SelectionCase> {};

TEST_P(RoleSelectionTest, ChoosesFromGreyEntries) {
    EXPECT_EQ(SelectRoles(PaletteFromStoredValues(GetParam().storedValues)), GetParam().expected);
}

std::array<quint32, kPaletteSize> WithEntry(std::array<quint32, kPaletteSize> values, int index,
                                            quint32 value) {
    values[index] = value;
    return values;
}

constexpr ColourRoles Roles(int antialias, int outline, int text, int background) {
    return {.antialias = antialias, .outline = outline, .text = text, .background = background};
}

INSTANTIATE_TEST_SUITE_P(
    Palettes, RoleSelectionTest,
    ::testing::Values(
        SelectionCase{"OneGreyOfEachGroup",
                      StoredValuesWithGreys({{0, 0x10}, {1, 0x80}, {2, 0xEB}}),
                      {Roles(1, 0, 2, 0), true}},
        SelectionCase{"LowestIndexWinsEachGroup",
                      StoredValuesWithGreys(
                          {{3, 0x20}, {5, 0xF0}, {7, 0x05}, {9, 0x90}, {11, 0x80}, {12, 0xFF}}),
                      {Roles(9, 3, 5, 3), true}},
        SelectionCase{"Y70IsDarkY71Middle",
                      StoredValuesWithGreys({{0, 70}, {1, 71}, {2, 201}}),
                      {Roles(1, 0, 2, 0), true}},
        SelectionCase{"Y200IsMiddleAnd201Light",
                      StoredValuesWithGreys({{4, 200}, {6, 201}, {8, 0}}),
                      {Roles(4, 8, 6, 8), true}},
        SelectionCase{"TintedEntryTakesNoRole",
                      WithEntry(StoredValuesWithGreys({{1, 0x10}, {2, 0xEB}}), 0, 0x00808081),
                      {Roles(0, 1, 2, 1), false}},
        SelectionCase{
            "TintedEntryLeavesTheGroupToTheNextGrey",
            WithEntry(StoredValuesWithGreys({{1, 0x10}, {2, 0xEB}, {3, 0x80}}), 0, 0x00808180),
            {Roles(3, 1, 2, 1), true}},
        SelectionCase{"DarkAndLightOnly",
                      StoredValuesWithGreys({{2, 0x10}, {5, 0xEB}}),
                      {Roles(0, 2, 5, 2), false}},
        SelectionCase{"NoGreys", StoredValuesWithGreys({}), {Roles(0, 0, 0, 0), false}},
        SelectionCase{"ReservedByteIsIgnored",
                      WithEntry(StoredValuesWithGreys({{0, 0x10}, {2, 0xEB}}), 1, 0xFF808080),
                      {Roles(1, 0, 2, 0), true}}),
    [](const auto& instance) { return std::string(instance.param.name); });

}  // namespace
}  // namespace marvoxa
