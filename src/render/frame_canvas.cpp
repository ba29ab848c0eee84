#include "render/frame_canvas.h"

#include "common/frame.h"

#include <algorithm>
#include <cstring>

namespace marvoxa {

const QImage& FrameCanvas::draw(const SubtitleRaster& raster, const RoleColours& colours) {
    const QSize size(raster.frameWidth(), raster.frameHeight());
    if (frame_.size() != size || frame_.format() != kFrameFormat) {
        frame_ = QImage(size, kFrameFormat);
        frame_.fill(kFrameBlue);
        blueRow_ = QByteArray(reinterpret_cast<const char*>(frame_.constScanLine(0)),
                              frame_.bytesPerLine());
    } else {
        const int end = std::min(frame_.height(), dirtyTop_ + dirtyRows_);
        for (int y = std::max(0, dirtyTop_); y < end; ++y) {
            std::memcpy(frame_.scanLine(y), blueRow_.constData(),
                        static_cast<size_t>(blueRow_.size()));
        }
    }
    PaintRaster(frame_, raster, colours);
    dirtyTop_ = raster.bandTop();
    dirtyRows_ = raster.bandRows();
    return frame_;
}

}  // namespace marvoxa
