#pragma once

#include <QRgb>

namespace marvoxa {

// The display colours of the palette entries chosen for the three drawn roles.
// The background role is never drawn: the frame's own blue stands for it.
struct RoleColours {
    QRgb antialias = 0;
    QRgb outline = 0;
    QRgb text = 0;

    friend bool operator==(const RoleColours&, const RoleColours&) = default;
};

// Pure blue, the colour of an empty subtitle frame.
inline constexpr QRgb kFrameBlue = 0xff0000ffu;

}  // namespace marvoxa
