#pragma once

#include "common/role_colours.h"

#include <QRgb>

#include <cstdint>

namespace marvoxa {

// The 2-bit pixel code of a subpicture. The colour command of each subpicture maps every
// value to the palette entry of its role.
enum class ColourValue : std::uint8_t {
    Background = 0,
    Text = 1,
    Outline = 2,
    Antialias = 3,
};

// Exact comparison of red, green and blue (alpha is ignored); anything that is not one of
// the role colours, such as a smoothing shade, becomes background. When two roles share a
// colour Text wins over Outline over Antialias, and a role drawn in frame blue is background.
// Inline: the row scan calls it for every run.
inline ColourValue ClassifyPixel(QRgb colour, const RoleColours& roles) {
    constexpr QRgb kRgbMask = 0x00ffffffu;
    const auto matches = [rgb = colour & kRgbMask](QRgb role) { return rgb == (role & kRgbMask); };
    if (matches(kFrameBlue)) {
        return ColourValue::Background;
    }
    if (matches(roles.text)) {
        return ColourValue::Text;
    }
    if (matches(roles.outline)) {
        return ColourValue::Outline;
    }
    if (matches(roles.antialias)) {
        return ColourValue::Antialias;
    }
    return ColourValue::Background;
}

}  // namespace marvoxa
