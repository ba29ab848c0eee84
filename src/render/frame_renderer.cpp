#include "render/frame_renderer.h"

#include "common/frame.h"
#include "render/subtitle_raster.h"

namespace marvoxa {

QImage BlueFrame(VideoStandard standard) {
    QImage frame(kFrameWidth, FrameHeight(standard), kFrameFormat);
    frame.fill(kFrameBlue);
    return frame;
}

SubtitleFrame RenderSubtitleFrame(const QString& firstLine, const QString& secondLine,
                                  const RenderSettings& settings, const RoleColours& colours) {
    const RasterizedSubtitle subtitle = RasterizeSubtitle(firstLine, secondLine, settings);
    SubtitleFrame result{BlueFrame(settings.standard), subtitle.layout.areaTop,
                         subtitle.layout.areaHeight};
    PaintRaster(result.frame, subtitle.raster, colours);
    return result;
}

}  // namespace marvoxa
