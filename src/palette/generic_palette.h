#pragma once

#include "common/colour_roles.h"
#include "palette/palette.h"

namespace marvoxa {

// Stands in when there is no IFO or its palette has no usable greys: entries 0 to 3 are the
// greys 0, 85, 170 and 255, entries 4 to 15 black. Having never stood in an IFO, the entries
// have no stored value (0); their Y Cr Cb are the greys the user later enters in the IFO editor.
Palette GenericPalette();

// The roles that come with the generic palette; entry 2 is left for the user.
inline constexpr ColourRoles kGenericRoles{
    .antialias = 1, .outline = 0, .text = 3, .background = 0};

}  // namespace marvoxa
