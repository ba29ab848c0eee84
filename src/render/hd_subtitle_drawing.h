#pragma once

#include "common/role_colours.h"
#include "render/placed_lines.h"
#include "render/render_settings.h"

#include <QImage>
#include <QList>
#include <QRect>
#include <QSize>

#include <cstdint>
#include <vector>

namespace marvoxa {

// How much of each pixel of a rectangle of the video picture the three passes cover, 0 to
// 255, row by row: the glyphs, the edge ring around them and the outline ring around that.
// Every plane holds the one inside it (text <= edge <= outline).
struct CoveragePlanes {
    QRect rect;  // in the video picture
    std::vector<std::uint8_t> text;
    std::vector<std::uint8_t> edge;
    std::vector<std::uint8_t> outline;
};

// A display event drawn with antialiasing at a video size.
struct HdSubtitle {
    // Apart from each other and top first; lines near each other share one.
    std::vector<CoveragePlanes> regions;
    int widestLine = 0;   // the width of the widest line, in video pixels
    int widestBlock = 0;  // the block that holds it
};

// The settings as they are drawn on a picture of the given height: the size, the outline,
// the offset from the bottom and the line spacing grow with the height from the 576 lines
// they are chosen for (size 22 at 576 lines is about 41 at 1080).
RenderSettings ScaledToHeight(const RenderSettings& settings, int videoHeight);

// Draws the blocks where RasterizeCue places them, laid out for a picture of videoSize, with
// the face, style and size of the settings (ScaledToHeight), smoothed: the text, then an edge
// ring of one pixel at 576 lines and the outline ring, both scaled. Lines near each other
// share a region; regions that would be more than maxRegions are joined, nearest first.
HdSubtitle DrawHdSubtitle(const QList<PlacedLines>& blocks, const RenderSettings& settings,
                          QSize videoSize, int maxRegions = 2);
// The same into a subtitle drawn before, whose memory it reuses.
void DrawHdSubtitle(const QList<PlacedLines>& blocks, const RenderSettings& settings,
                    QSize videoSize, int maxRegions, HdSubtitle& into);

// The straight alpha and colour of one pixel: the outline colour, the edge colour over it and
// the text colour over that, each by its coverage.
QRgb CompositePixel(int text, int edge, int outline, const RoleColours& colours);

// The whole picture, transparent where nothing is drawn, in the role colours.
QImage CompositeHdSubtitle(const HdSubtitle& subtitle, QSize videoSize, const RoleColours& colours);

}  // namespace marvoxa
