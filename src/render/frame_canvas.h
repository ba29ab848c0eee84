#pragma once

#include "common/role_colours.h"
#include "render/subtitle_raster.h"

#include <QImage>

namespace marvoxa {

// One subtitle frame reused from cue to cue: only the rows the previous subtitle touched are
// set back to frame blue, which keeps generation from filling a whole frame per cue.
class FrameCanvas {
public:
    // The frame of the last subtitle drawn; frame blue before the first.
    const QImage& frame() const { return frame_; }

    // Draws the subtitle on a clean frame of the raster's size.
    const QImage& draw(const SubtitleRaster& raster, const RoleColours& colours);

private:
    QImage frame_;
    QByteArray blueRow_;
    int dirtyTop_ = 0;
    int dirtyRows_ = 0;
};

}  // namespace marvoxa
