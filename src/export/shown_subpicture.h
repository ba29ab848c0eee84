#pragma once

#include "common/result.h"

#include <QByteArrayView>
#include <QtGlobal>

#include <array>
#include <vector>

namespace marvoxa {

// What a player shows for one subpicture unit: the display area, the colour value (0 to 3)
// of each of its pixels, and the palette entry and contrast the unit gives each value.
struct ShownSubpicture {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
    std::vector<quint8> values;           // width * height, row after row
    std::array<int, 4> paletteEntries{};  // by colour value
    std::array<int, 4> contrasts{};       // 0 transparent to 15 opaque, by colour value

    int valueAt(int column, int row) const {
        return values[static_cast<size_t>(row) * static_cast<size_t>(width) +
                      static_cast<size_t>(column)];
    }
};

// Decodes a subpicture unit (its size field first) the way a player does: the first control
// sequence gives colours, contrasts, area and field addresses; each row of the area takes the
// next line of its field, and a field that ends early runs on into the bytes that follow it.
// Fails (ErrorKind::Format) when a control sequence lies outside the unit or a command is
// missing.
Result<ShownSubpicture> DecodeShownSubpicture(QByteArrayView unit);

}  // namespace marvoxa
