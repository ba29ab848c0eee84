#include "render/subtitle_raster.h"

#include "common/frame.h"
#include "render/subtitle_font.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cmath>
#include <cstring>
#include <vector>

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

std::pair<int, int> SubtitleRaster::inkedRows() const {
    const auto inked = [this](int y) {
        const Layer* layers = row(y);
        return std::any_of(layers, layers + frameWidth_,
                           [](Layer layer) { return layer != Layer::None; });
    };
    int first = bandTop_;
    int end = bandTop_ + bandRows_;
    while (first < end && !inked(first)) {
        ++first;
    }
    while (end > first && !inked(end - 1)) {
        --end;
    }
    return {first, end};
}

const Layer* SubtitleRaster::row(int y) const {
    if (y < bandTop_ || y >= bandTop_ + bandRows_) {
        return nullptr;
    }
    return layers_.data() + static_cast<size_t>(y - bandTop_) * static_cast<size_t>(frameWidth_);
}

namespace {

// Each bit of a byte becomes a byte 0x01 or 0x00, the lowest bit the first byte.
constexpr std::array<std::uint64_t, 256> MakeSpreadTable() {
    std::array<std::uint64_t, 256> table{};
    for (int value = 0; value < 256; ++value) {
        for (int bit = 0; bit < 8; ++bit) {
            if (value & (1 << bit)) {
                table[static_cast<size_t>(value)] |= std::uint64_t{1} << (8 * bit);
            }
        }
    }
    return table;
}
constexpr std::array<std::uint64_t, 256> kSpread = MakeSpreadTable();

static_assert(static_cast<int>(Layer::Outline) == 2 && static_cast<int>(Layer::Antialias) == 3 &&
                  static_cast<int>(Layer::Text) == 1,
              "the layer arithmetic below relies on these values");

}  // namespace

void SubtitleRaster::paintLine(const GlyphMask& outline, const GlyphMask& antialias,
                               const GlyphMask& glyphs) {
    Q_ASSERT(outline.origin() == glyphs.origin() && antialias.origin() == glyphs.origin());
    const QPoint origin = outline.origin();
    const int firstRow = std::max(origin.y(), bandTop_);
    const int endRow = std::min(origin.y() + outline.height(), bandTop_ + bandRows_);
    for (int y = firstRow; y < endRow; ++y) {
        Layer* target = layers_.data() + static_cast<size_t>(y - bandTop_) * frameWidth_;
        const int maskRow = y - origin.y();
        const auto* outlineBytes = reinterpret_cast<const std::uint8_t*>(outline.row(maskRow));
        const auto* antialiasBytes = reinterpret_cast<const std::uint8_t*>(antialias.row(maskRow));
        const auto* glyphBytes = reinterpret_cast<const std::uint8_t*>(glyphs.row(maskRow));
        const int chunks = outline.wordsPerRow() * 8;
        // Eight pixels at a time. The rings contain the glyphs, so per pixel
        // (outline << 1 | antialias) ^ (glyph << 1) gives Outline 2, Antialias 3 or Text 1.
        for (int chunk = 0; chunk < chunks; ++chunk) {
            if (outlineBytes[chunk] == 0) {
                continue;
            }
            const std::uint64_t outlinePixels = kSpread[outlineBytes[chunk]];
            const std::uint64_t layers = ((outlinePixels << 1) | kSpread[antialiasBytes[chunk]]) ^
                                         (kSpread[glyphBytes[chunk]] << 1);
            const int x = origin.x() + chunk * 8;
            if (x >= 0 && x + 8 <= frameWidth_) {
                std::uint64_t current;
                std::memcpy(&current, target + x, sizeof current);
                const std::uint64_t painted = outlinePixels * 0xff;
                current = (current & ~painted) | layers;
                std::memcpy(target + x, &current, sizeof current);
                continue;
            }
            for (int pixel = 0; pixel < 8; ++pixel) {  // a chunk across a frame edge
                if (x + pixel >= 0 && x + pixel < frameWidth_ &&
                    (outlineBytes[chunk] >> pixel & 1)) {
                    target[x + pixel] = static_cast<Layer>(layers >> (8 * pixel) & 0xff);
                }
            }
        }
    }
}

QList<PlacedLines> WithSecondLineRoom(QList<PlacedLines> blocks, const RenderSettings& settings) {
    QList<Place> seen;
    for (PlacedLines& block : blocks) {
        const Place place = PlaceOf(block.placement, settings);
        if (seen.contains(place)) {
            continue;
        }
        seen.append(place);
        while (place.row == Place::Row::Bottom && block.lines.size() < 2) {
            block.lines.append(StyledLine{});
        }
    }
    return blocks;
}

namespace {
// How far the antialias ring and the outline around it reach beside and above the glyphs.
struct RingReach {
    int horizontal;
    int vertical;
};

// The wide drawing's rings are 3/4 as wide as they are high, rounded to whole pixels and at
// least one, so each ring still shows beside a glyph.
RingReach OutlineReach(const RenderSettings& settings) {
    const int width = settings.outlineWidth;
    if (!settings.wide || width < 1) {
        return {width, width};
    }
    return {std::max(1, static_cast<int>(std::lround(width * kWideStretch / 100.0))), width};
}

// Grows the area to hold every painted row: ink above the first line's cell or below the
// last one's (accents, stacked marks and their rings) would otherwise be cut off.
void GrowAreaToInk(CueLayout& layout, const SubtitleRaster& raster) {
    const auto [inkTop, inkEnd] = raster.inkedRows();
    if (inkTop == inkEnd) {
        return;
    }
    const int top = std::min(layout.areaTop, inkTop - inkTop % 2);  // rows of the frame: >= 0
    const int end = std::max(layout.areaTop + layout.areaHeight, inkEnd);
    layout.areaTop = top;
    layout.areaHeight = end - top;
}

}  // namespace

RasterizedCue RasterizeCue(const QList<PlacedLines>& cueBlocks, const RenderSettings& settings,
                           int drawWidthLimit) {
    const int frameHeight = FrameHeight(settings.standard);
    const QFont font = SubtitleFont(settings);
    const QList<PlacedLines> blocks = WithSecondLineRoom(cueBlocks, settings);
    QList<StyledLine> lines;  // every block's lines, block by block
    QList<PlacedMetrics> blockMetrics;
    std::vector<GlyphMask> glyphMasks;
    int widestLine = 0;
    int widestBlock = 0;
    for (qsizetype b = 0; b < blocks.size(); ++b) {
        PlacedMetrics placed{{}, blocks[b].placement};
        for (const StyledLine& line : blocks[b].lines) {
            DrawnLine drawn = DrawAndMeasureLine(font, line, settings.outlineWidth, drawWidthLimit);
            placed.lines.append(drawn.metrics);
            glyphMasks.push_back(std::move(drawn.glyphs));
            lines.append(line);
            if (drawn.metrics.width > widestLine) {
                widestLine = drawn.metrics.width;
                widestBlock = static_cast<int>(b);
            }
        }
        blockMetrics.append(std::move(placed));
    }
    if (widestLine >= drawWidthLimit) {
        return RasterizedCue{SubtitleRaster(), CueLayout{}, widestLine, widestBlock};
    }
    CueLayout layout = LayoutPlacedLines(blockMetrics, settings, kFrameWidth, frameHeight);

    struct LineMasks {
        int top;
        GlyphMask outline;
        GlyphMask antialias;
        GlyphMask glyphs;
    };
    // An empty line draws nothing.
    std::vector<LineMasks> masks;
    const RingReach reach = OutlineReach(settings);
    for (qsizetype i = 0; i < lines.size(); ++i) {
        if (lines[i].isEmpty()) {
            continue;
        }
        GlyphMask glyphs = std::move(glyphMasks[static_cast<size_t>(i)]);
        glyphs.moveBy(layout.topLefts[i]);
        // Growing by one and then by the rest is growing by the whole width at once.
        GlyphMask antialias = DilateSquare(glyphs, 1);
        GlyphMask outline = reach.vertical >= 1 ? DilateRectangle(antialias, reach.horizontal - 1,
                                                                  reach.vertical - 1)
                                                : DilateSquare(glyphs, reach.vertical);
        masks.push_back(
            {layout.topLefts[i].y(), std::move(outline), std::move(antialias), std::move(glyphs)});
    }
    // Each pass covers what came before, so a lower line's rings cover the line above.
    std::stable_sort(masks.begin(), masks.end(),
                     [](const LineMasks& a, const LineMasks& b) { return a.top < b.top; });

    int bandTop = frameHeight;
    int bandEnd = 0;
    for (const LineMasks& line : masks) {
        const GlyphMask& widest = line.outline;
        bandTop = std::min(bandTop, std::max(0, widest.origin().y()));
        bandEnd = std::max(bandEnd, std::min(frameHeight, widest.origin().y() + widest.height()));
    }
    RasterizedCue result{
        SubtitleRaster(kFrameWidth, frameHeight, bandTop, std::max(0, bandEnd - bandTop)),
        {},
        widestLine,
        widestBlock};
    for (const LineMasks& line : masks) {
        result.raster.paintLine(line.outline, line.antialias, line.glyphs);
    }
    GrowAreaToInk(layout, result.raster);
    result.layout = std::move(layout);
    return result;
}

RasterizedCue RasterizeCue(const QList<StyledLine>& lines, const RenderSettings& settings,
                           int drawWidthLimit) {
    return RasterizeCue(QList<PlacedLines>{PlacedLines{lines, 0}}, settings, drawWidthLimit);
}

RasterizedSubtitle RasterizeSubtitle(const QString& firstLine, const QString& secondLine,
                                     const RenderSettings& settings) {
    RasterizedCue cue = RasterizeCue({PlainLine(firstLine), PlainLine(secondLine)}, settings);
    const SubtitleLayout layout{cue.layout.topLefts[0], cue.layout.topLefts[1], cue.layout.areaTop,
                                cue.layout.areaHeight};
    return {std::move(cue.raster), layout};
}

void PaintRaster(QImage& picture, const SubtitleRaster& raster, const RoleColours& colours) {
    if (picture.format() != kFrameFormat) {
        picture.convertTo(kFrameFormat);
    }
    const int rows = std::min(picture.height(), raster.bandTop() + raster.bandRows());
    const int columns = std::min(picture.width(), raster.frameWidth());
    std::array<std::array<uchar, 3>, 4> byLayer{};
    for (Layer layer : {Layer::Text, Layer::Outline, Layer::Antialias}) {
        const QRgb colour = layer == Layer::Text      ? colours.text
                            : layer == Layer::Outline ? colours.outline
                                                      : colours.antialias;
        byLayer[static_cast<size_t>(layer)] = {static_cast<uchar>(qRed(colour)),
                                               static_cast<uchar>(qGreen(colour)),
                                               static_cast<uchar>(qBlue(colour))};
    }
    for (int y = std::max(0, raster.bandTop()); y < rows; ++y) {
        const Layer* layers = raster.row(y);
        uchar* pixels = picture.scanLine(y);
        int x = 0;
        while (x < columns) {
            // Most of a band is untouched: skip eight pixels at a time.
            std::uint64_t eight = 0;
            if (x + 8 <= columns) {
                std::memcpy(&eight, layers + x, sizeof eight);
                if (eight == 0) {
                    x += 8;
                    continue;
                }
            }
            const int end = std::min(columns, x + 8);
            for (; x < end; ++x) {
                if (layers[x] != Layer::None) {
                    std::memcpy(pixels + 3 * x, byLayer[static_cast<size_t>(layers[x])].data(), 3);
                }
            }
        }
    }
}

}  // namespace marvoxa
