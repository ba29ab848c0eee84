#pragma once

#include "common/role_colours.h"
#include "sup/pixel_classification.h"

#include <QtGlobal>

#include <span>
#include <vector>

namespace marvoxa {

// A stretch of pixels of one colour value.
struct Run {
    int length = 0;
    ColourValue value = ColourValue::Background;

    friend bool operator==(const Run&, const Run&) = default;
};

using RowRuns = std::vector<Run>;

// The runs of one frame row, given as its RGB888 bytes (three a pixel, at least 3 pixels).
// The row is shown one column to the left: column 0 is not encoded and the last column is
// never read, the last run covering its place, so the lengths add up to width - 1.
// A new run starts wherever the 24-bit colour changes, even between two colours of the
// same value. A column 0 that differs from column 1 is taken as column 1's colour, so no
// run is ever empty.
RowRuns BuildRowRuns(std::span<const uchar> rgbRow, const RoleColours& roles);

// The same into runs, replacing what it held; reusing one list spares an allocation a row.
void BuildRowRuns(std::span<const uchar> rgbRow, const RoleColours& roles, RowRuns& runs);

}  // namespace marvoxa
