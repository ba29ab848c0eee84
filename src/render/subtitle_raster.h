#pragma once

#include "common/role_colours.h"
#include "render/glyph_mask.h"
#include "render/placed_lines.h"
#include "render/render_settings.h"
#include "render/styled_line.h"
#include "render/subtitle_layout.h"

#include <QImage>
#include <QString>

#include <cstdint>
#include <limits>
#include <utility>
#include <vector>

namespace marvoxa {

// Which drawing pass last painted a pixel. Values are the subpicture colour values of the
// roles, so a layer can be used as a colour value directly.
enum class Layer : std::uint8_t { None = 0, Text = 1, Outline = 2, Antialias = 3 };

// The composited passes of both lines over the rows of a frame they touch. Everything outside
// the band is untouched by the text.
class SubtitleRaster {
public:
    SubtitleRaster() = default;
    SubtitleRaster(int frameWidth, int frameHeight, int bandTop, int bandRows);

    int frameWidth() const { return frameWidth_; }
    int frameHeight() const { return frameHeight_; }
    int bandTop() const { return bandTop_; }
    int bandRows() const { return bandRows_; }

    Layer at(int x, int y) const;
    // The first frame row holding a painted pixel and the row after the last; equal when
    // nothing is painted.
    std::pair<int, int> inkedRows() const;
    // The layers of frame row y, or nullptr for a row outside the band.
    const Layer* row(int y) const;

    // Paints one line's three passes, clipped to the frame: the outline ring, over it the
    // antialias ring, over that the glyphs. The masks share one geometry.
    void paintLine(const GlyphMask& outline, const GlyphMask& antialias, const GlyphMask& glyphs);

private:
    int frameWidth_ = 0;
    int frameHeight_ = 0;
    int bandTop_ = 0;
    int bandRows_ = 0;
    std::vector<Layer> layers_;
};

struct RasterizedSubtitle {
    SubtitleRaster raster;
    SubtitleLayout layout;
};

struct RasterizedCue {
    SubtitleRaster raster;
    // The area reaches past the lines' cells where ink does (accents, stacked marks, rings),
    // just far enough to hold every painted row of the frame.
    CueLayout layout;
    int widestLine = 0;   // the width of the widest line, as MeasureLine gives it
    int widestBlock = 0;  // the block that holds it
};

// Draws every line of the blocks as the outline, antialias and text passes would, stack by
// stack, line after line from the top, in one pass over each line's glyph mask. The first
// block of a bottom-row place is completed to two lines with an empty one, which takes room
// but draws nothing, as a one-line cue always has. Blocks sharing a place stack, later blocks
// above (LayoutPlacedLines).
// With drawWidthLimit, blocks with a line at least that wide are only measured: they come
// back with the widest line and nothing drawn, for a caller that refuses them anyway.
RasterizedCue RasterizeCue(const QList<PlacedLines>& blocks, const RenderSettings& settings,
                           int drawWidthLimit = std::numeric_limits<int>::max());
// One block of lines at the bottom, in the settings' alignment.
RasterizedCue RasterizeCue(const QList<StyledLine>& lines, const RenderSettings& settings,
                           int drawWidthLimit = std::numeric_limits<int>::max());

// The blocks with the first block of each bottom-row place completed to two lines at least:
// a one-line cue takes the room of two.
QList<PlacedLines> WithSecondLineRoom(QList<PlacedLines> blocks, const RenderSettings& settings);

// Draws both lines as the outline, antialias and text passes would, line after line, in one
// pass over each line's glyph mask.
RasterizedSubtitle RasterizeSubtitle(const QString& firstLine, const QString& secondLine,
                                     const RenderSettings& settings);

// Paints the raster's layers in the role colours over a picture of the raster's frame size;
// untouched pixels keep their colour. The picture is converted to the frame format first.
void PaintRaster(QImage& picture, const SubtitleRaster& raster, const RoleColours& colours);

}  // namespace marvoxa
