#pragma once

#include "palette/palette.h"

#include <array>
#include <initializer_list>
#include <utility>

namespace marvoxa::test {

inline constexpr quint32 kRed = 0x0051F05A;

inline constexpr quint32 GreyValue(int y) {
    return quint32(y) << 16 | 0x8080;
}

// Sixteen coloured entries with greys of the given Y at the given indices.
inline std::array<quint32, kPaletteSize> StoredValuesWithGreys(
    std::initializer_list<std::pair<int, int>> indexAndY) {
    std::array<quint32, kPaletteSize> values;
    values.fill(kRed);
    for (const auto& [index, y] : indexAndY) {
        values[index] = GreyValue(y);
    }
    return values;
}

}  // namespace marvoxa::test
