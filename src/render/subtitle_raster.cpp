#include "render/subtitle_raster.h"

#include "common/frame.h"
#include "render/subtitle_font.h"

#include <algorithm>
#include <array>
#include <bit>

namespace marvoxa {

SubtitleRaster::SubtitleRaster(int frameWidth, int frameHeight, int bandTop, int bandRows)
    : frameWidth_(frameWidth),
      frameHeight_(frameHeight),
      bandTop_(bandTop),
      bandRows_(bandRows),
      layers_(static_cast<size_t>(frameWidth) * static_cast<size_t>(std::max(0, bandRows)),
              Layer::None) {}

Layer SubtitleRaster::at(int x, int y) const {
    const Layer* layers = row(y);
    if (layers == nullptr || x < 0 || x >= frameWidth_) {
        return Layer::None;
    }
    return layers[x];
}

const Layer* SubtitleRaster::row(int y) const {
    if (y < bandTop_ || y >= bandTop_ + bandRows_) {
        return nullptr;
    }
    return layers_.data() + static_cast<size_t>(y - bandTop_) * static_cast<size_t>(frameWidth_);
}

void SubtitleRaster::paint(const GlyphMask& mask, Layer layer) {
    const int firstRow = std::max(mask.origin().y(), bandTop_);
    const int endRow = std::min(mask.origin().y() + mask.height(), bandTop_ + bandRows_);
    for (int y = firstRow; y < endRow; ++y) {
        Layer* target = layers_.data() + static_cast<size_t>(y - bandTop_) * frameWidth_;
        const std::uint64_t* bits = mask.row(y - mask.origin().y());
        for (int word = 0; word < mask.wordsPerRow(); ++word) {
            std::uint64_t pending = bits[word];
            while (pending != 0) {
                const int bit = std::countr_zero(pending);
                pending &= pending - 1;
                const int x = mask.origin().x() + word * 64 + bit;
                if (x >= 0 && x < frameWidth_) {
                    target[x] = layer;
                }
            }
        }
    }
}

RasterizedSubtitle RasterizeSubtitle(const QString& firstLine, const QString& secondLine,
                                     const RenderSettings& settings) {
    const int frameHeight = FrameHeight(settings.standard);
    const QFont font = SubtitleFont(settings);
    const LineMetrics first = MeasureLine(font, firstLine);
    const LineMetrics second = MeasureLine(font, secondLine);
    const SubtitleLayout layout = LayoutSubtitle(first, second, settings, kFrameWidth, frameHeight);

    struct LineMasks {
        GlyphMask outline;
        GlyphMask antialias;
        GlyphMask glyphs;
    };
    // An empty second line draws nothing.
    std::array<LineMasks, 2> lines;
    int lineCount = 0;
    for (const auto& [text, topLeft] :
         {std::pair{firstLine, layout.firstTopLeft}, std::pair{secondLine, layout.secondTopLeft}}) {
        if (text.isEmpty()) {
            continue;
        }
        GlyphMask glyphs = RenderGlyphMask(font, text, topLeft);
        lines[lineCount++] = {DilateSquare(glyphs, settings.outlineWidth), DilateSquare(glyphs, 1),
                              std::move(glyphs)};
    }

    int bandTop = frameHeight;
    int bandEnd = 0;
    for (int i = 0; i < lineCount; ++i) {
        const GlyphMask& widest = lines[i].outline;
        bandTop = std::min(bandTop, std::max(0, widest.origin().y()));
        bandEnd = std::max(bandEnd, std::min(frameHeight, widest.origin().y() + widest.height()));
    }
    RasterizedSubtitle result{
        SubtitleRaster(kFrameWidth, frameHeight, bandTop, std::max(0, bandEnd - bandTop)), layout};
    // Each pass covers what came before, so the second line's rings cover the first line.
    for (int i = 0; i < lineCount; ++i) {
        result.raster.paint(lines[i].outline, Layer::Outline);
        result.raster.paint(lines[i].antialias, Layer::Antialias);
        result.raster.paint(lines[i].glyphs, Layer::Text);
    }
    return result;
}

void PaintRaster(QImage& picture, const SubtitleRaster& raster, const RoleColours& colours) {
    if (picture.format() != kFrameFormat) {
        picture.convertTo(kFrameFormat);
    }
    const int rows = std::min(picture.height(), raster.bandTop() + raster.bandRows());
    const int columns = std::min(picture.width(), raster.frameWidth());
    const std::array<QRgb, 4> byLayer{0, colours.text, colours.outline, colours.antialias};
    for (int y = std::max(0, raster.bandTop()); y < rows; ++y) {
        const Layer* layers = raster.row(y);
        uchar* pixel = picture.scanLine(y);
        for (int x = 0; x < columns; ++x, pixel += 3) {
            if (layers[x] == Layer::None) {
                continue;
            }
            const QRgb colour = byLayer[static_cast<size_t>(layers[x])];
            pixel[0] = static_cast<uchar>(qRed(colour));
            pixel[1] = static_cast<uchar>(qGreen(colour));
            pixel[2] = static_cast<uchar>(qBlue(colour));
        }
    }
}

}  // namespace marvoxa
