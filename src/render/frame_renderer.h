#pragma once

#include "common/role_colours.h"
#include "render/render_settings.h"

#include <QImage>
#include <QString>

namespace marvoxa {

// A cue drawn for encoding, with the band of rows the encoder reads.
struct SubtitleFrame {
    QImage frame;  // 720 x H, frame format, frame blue where no text was drawn
    int areaTop = 0;
    int areaHeight = 0;
};

// A picture of the standard's frame size filled with frame blue.
QImage BlueFrame(VideoStandard standard);

SubtitleFrame RenderSubtitleFrame(const QString& firstLine, const QString& secondLine,
                                  const RenderSettings& settings, const RoleColours& colours);

}  // namespace marvoxa
