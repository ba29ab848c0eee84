#pragma once

#include "render/styled_line.h"

#include <QList>

namespace marvoxa {

// Lines drawn together in one place of the frame, such as one cue among the cues shown at
// the same time.
struct PlacedLines {
    QList<StyledLine> lines;  // top line first
    // 1 to 9 on the numeric keypad's layout (1 bottom left, 9 top right); 0 the bottom row in
    // the settings' alignment.
    int placement = 0;

    friend bool operator==(const PlacedLines&, const PlacedLines&) = default;
};

}  // namespace marvoxa
