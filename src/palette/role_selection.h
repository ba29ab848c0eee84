#pragma once

#include "common/colour_roles.h"
#include "palette/palette.h"

namespace marvoxa {

// The roles chosen from a palette's grey entries and whether the palette is usable
// ("polycromatic"): it has a dark, a middle and a light grey.
struct RoleSelection {
    ColourRoles roles;  // roles whose group found no grey stay 0
    bool usable = false;

    friend bool operator==(const RoleSelection&, const RoleSelection&) = default;
};

// Greys with Y 0..70 give Background and Outline, 71..200 Antialias, 201..255 Text; the
// lowest-numbered grey of each group wins. Entries with any colour take no role.
RoleSelection SelectRoles(const Palette& palette);

}  // namespace marvoxa
