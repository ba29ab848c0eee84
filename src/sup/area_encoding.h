#pragma once

#include "common/result.h"
#include "common/role_colours.h"

#include <QByteArray>
#include <QImage>

#include <optional>

namespace marvoxa {

// The encoded rows of one subtitle, split the way an interlaced picture shows them.
struct FieldData {
    QByteArray top;     // the rows with an even number, in increasing order
    QByteArray bottom;  // the rows with an odd number, in increasing order
};

// Encodes rows AreaTop to AreaTop + AreaHeight - 1 of the frame (kFrameFormat; other
// formats are converted first) across its full width. AreaTop is even, so the top field
// begins with row AreaTop.
//
// Fails (ErrorKind::Limit) when a row of the area lies outside the frame. The message
// continues a sentence the caller begins with the cue, such as
// "Subtitle 12 at 00:01:02,500 cannot be written: ", and ends with what to change.
Result<FieldData> EncodeArea(const QImage& frame, int AreaTop, int AreaHeight,
                             const RoleColours& roles);

// The error EncodeArea gives when a row of the area lies outside a frame of frameHeight rows,
// or nothing when the area fits.
std::optional<Error> AreaOutsideFrame(int AreaTop, int AreaHeight, int frameHeight);

}  // namespace marvoxa
