#pragma once

namespace marvoxa {

// The palette entries (0-15) chosen for the four colour roles. The encoder writes these
// numbers into every subpicture's colour command.
struct ColourRoles {
    int antialias = 0;
    int outline = 0;
    int text = 0;
    int background = 0;

    friend bool operator==(const ColourRoles&, const ColourRoles&) = default;
};

}  // namespace marvoxa
