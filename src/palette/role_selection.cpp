#include "palette/role_selection.h"

namespace marvoxa {
namespace {

constexpr int kDarkestMiddleY = 71;
constexpr int kDarkestLightY = 201;

}  // namespace

RoleSelection SelectRoles(const Palette& palette) {
    RoleSelection selection;
    bool darkTaken = false;
    bool middleTaken = false;
    bool lightTaken = false;
    for (int index = 0; index < kPaletteSize; ++index) {
        const PaletteEntry& entry = palette.entries[index];
        if (!entry.isGrey()) {
            continue;
        }
        if (entry.y < kDarkestMiddleY) {
            if (!darkTaken) {
                // Background is never drawn, so sharing the outline's entry costs nothing.
                selection.roles.background = index;
                selection.roles.outline = index;
                darkTaken = true;
            }
        } else if (entry.y < kDarkestLightY) {
            if (!middleTaken) {
                selection.roles.antialias = index;
                middleTaken = true;
            }
        } else if (!lightTaken) {
            selection.roles.text = index;
            lightTaken = true;
        }
    }
    selection.usable = darkTaken && middleTaken && lightTaken;
    return selection;
}

}  // namespace marvoxa
