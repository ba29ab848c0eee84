#include "palette/palette.h"
#include "palette/generic_palette.h"
#include "palette/role_selection.h"

#include <gtest/gtest.h>

namespace marvoxa {
namespace {

TEST(GenericPalette, HasFourGreysThenBlack) {
    const Palette palette = GenericPalette();
    const char* const greyTooltips[] = {"000", "858585", "170170170", "255255255"};
    for (int index = 0; index < kPaletteSize; ++index) {
        const PaletteEntry& entry = palette.entries[index];
        const int level = index < 4 ? 85 * index : 0;
        EXPECT_EQ(entry.displayColour, qRgb(level, level, level)) << "entry " << index;
        EXPECT_EQ(entry.tooltip, QLatin1String(index < 4 ? greyTooltips[index] : "000000"))
            << "entry " << index;
        EXPECT_EQ(entry.storedValue, 0u) << "entry " << index;
    }
}

// Its greys are what the user enters in the IFO editor, so reading that IFO back later must
// pick the same roles.
TEST(GenericPalette, GreysLeadRoleSelectionToTheGenericRoles) {
    const RoleSelection selection = SelectRoles(GenericPalette());
    EXPECT_TRUE(selection.usable);
    EXPECT_EQ(selection.roles, kGenericRoles);
}

TEST(Palette, RoleColoursAreTheDisplayColoursOfTheNamedEntries) {
    Palette palette;
    for (int index = 0; index < kPaletteSize; ++index) {
        palette.entries[index].displayColour = qRgb(index, 100 + index, 200 + index);
    }
    const ColourRoles roles{.antialias = 5, .outline = 9, .text = 14, .background = 2};
    EXPECT_EQ(palette.roleColours(roles), (RoleColours{.antialias = qRgb(5, 105, 205),
                                                       .outline = qRgb(9, 109, 209),
                                                       .text = qRgb(14, 114, 214)}));
}

}  // namespace
}  // namespace marvoxa
