#include "render/hd_subtitle_drawing.h"

#include "render/subtitle_font.h"
#include "render/subtitle_layout.h"
#include "render/subtitle_raster.h"

#include <QPainter>

#include <algorithm>
#include <cmath>

namespace marvoxa {

namespace {

// The settings are chosen on a PAL frame.
constexpr double kChosenHeight = 576.0;

int Scaled(int value, double scale) {
    return static_cast<int>(std::lround(value * scale));
}

// The edge ring is one pixel wide on the DVD frame; none without an outline.
int EdgeRadius(const RenderSettings& scaled, double scale) {
    return scaled.outlineWidth < 1 ? 0 : std::clamp(Scaled(1, scale), 1, scaled.outlineWidth);
}

using Plane = std::vector<std::uint8_t>;

// Each pixel becomes the largest of itself and its left and right neighbours.
void MaxAcross(const Plane& in, Plane& out, int width, int height) {
    for (int y = 0; y < height; ++y) {
        const std::uint8_t* source = in.data() + static_cast<size_t>(y) * width;
        std::uint8_t* target = out.data() + static_cast<size_t>(y) * width;
        target[0] = std::max(source[0], width > 1 ? source[1] : source[0]);
        for (int x = 1; x + 1 < width; ++x) {
            target[x] = std::max({source[x - 1], source[x], source[x + 1]});
        }
        if (width > 1) {
            target[width - 1] = std::max(source[width - 2], source[width - 1]);
        }
    }
}

// Each pixel becomes the largest of itself and the pixels above and below.
void MaxDown(const Plane& in, Plane& out, int width, int height) {
    for (int y = 0; y < height; ++y) {
        const std::uint8_t* above = in.data() + static_cast<size_t>(std::max(0, y - 1)) * width;
        const std::uint8_t* source = in.data() + static_cast<size_t>(y) * width;
        const std::uint8_t* below =
            in.data() + static_cast<size_t>(std::min(height - 1, y + 1)) * width;
        std::uint8_t* target = out.data() + static_cast<size_t>(y) * width;
        for (int x = 0; x < width; ++x) {
            target[x] = std::max({above[x], source[x], below[x]});
        }
    }
}

// Grows the coverage by radius pixels, steps of a 3x3 square and of a cross taking turns:
// the ring's corners come out as an octagon, rounder than the DVD's square, and its edge
// keeps the glyphs' smoothing.
Plane Dilate(const Plane& plane, int width, int height, int radius) {
    Plane current = plane;
    Plane across(plane.size());
    Plane down(plane.size());
    for (int step = 0; step < radius; ++step) {
        MaxAcross(current, across, width, height);
        if (step % 2 == 0) {
            MaxDown(across, current, width, height);
            continue;
        }
        MaxDown(current, down, width, height);
        for (size_t i = 0; i < current.size(); ++i) {
            current[i] = std::max(across[i], down[i]);
        }
    }
    return current;
}

struct PlacedLine {
    StyledLine line;
    QPoint topLeft;
    QRect room;  // the cell grown by what ink and rings may need
};

// Joins rooms that touch, then the nearest ones until at most maxRegions are left.
QList<QRect> Regions(const std::vector<PlacedLine>& lines, int maxRegions) {
    QList<QRect> regions;
    for (const PlacedLine& line : lines) {
        regions.append(line.room);
    }
    for (bool joined = true; joined;) {
        joined = false;
        for (qsizetype a = 0; a < regions.size() && !joined; ++a) {
            for (qsizetype b = a + 1; b < regions.size() && !joined; ++b) {
                if (regions[a].intersects(regions[b])) {
                    regions[a] |= regions[b];
                    regions.removeAt(b);
                    joined = true;
                }
            }
        }
    }
    std::sort(regions.begin(), regions.end(),
              [](const QRect& a, const QRect& b) { return a.top() < b.top(); });
    while (regions.size() > std::max(1, maxRegions)) {
        qsizetype nearest = 0;
        for (qsizetype i = 1; i + 1 < regions.size(); ++i) {
            if (regions[i + 1].top() - regions[i].bottom() <
                regions[nearest + 1].top() - regions[nearest].bottom()) {
                nearest = i;
            }
        }
        regions[nearest] |= regions[nearest + 1];
        regions.removeAt(nearest + 1);
    }
    return regions;
}

}  // namespace

RenderSettings ScaledToHeight(const RenderSettings& settings, int videoHeight) {
    const double scale = videoHeight / kChosenHeight;
    RenderSettings scaled = settings;
    scaled.fontSize = std::max(1, Scaled(settings.fontSize, scale));
    scaled.outlineWidth = Scaled(settings.outlineWidth, scale);
    // The layout keeps 40 pixels under the offset; the whole distance from the bottom grows.
    scaled.bottomOffset = Scaled(40 + settings.bottomOffset, scale) - 40;
    scaled.lineOverlap = Scaled(settings.lineOverlap, scale);
    return scaled;
}

HdSubtitle DrawHdSubtitle(const QList<PlacedLines>& cueBlocks, const RenderSettings& settings,
                          QSize videoSize, int maxRegions) {
    const double scale = videoSize.height() / kChosenHeight;
    const RenderSettings scaled = ScaledToHeight(settings, videoSize.height());
    QFont font = SubtitleFont(scaled);
    font.setStyleStrategy(QFont::PreferAntialias);
    const int edgeRadius = EdgeRadius(scaled, scale);
    const int ringRadius = std::max(0, scaled.outlineWidth);

    HdSubtitle result;
    const QList<PlacedLines> blocks = WithSecondLineRoom(cueBlocks, scaled);
    QList<PlacedMetrics> blockMetrics;
    QList<StyledLine> lines;
    for (qsizetype b = 0; b < blocks.size(); ++b) {
        PlacedMetrics placed{{}, blocks[b].placement};
        for (const StyledLine& line : blocks[b].lines) {
            const LineMetrics metrics = MeasureLine(font, line);
            placed.lines.append(metrics);
            lines.append(line);
            if (metrics.width > result.widestLine) {
                result.widestLine = metrics.width;
                result.widestBlock = static_cast<int>(b);
            }
        }
        blockMetrics.append(std::move(placed));
    }
    const CueLayout layout =
        LayoutPlacedLines(blockMetrics, scaled, videoSize.width(), videoSize.height());

    const QRect picture(QPoint(0, 0), videoSize);
    std::vector<PlacedLine> placedLines;
    qsizetype index = 0;
    for (const PlacedMetrics& block : blockMetrics) {
        for (const LineMetrics& metrics : block.lines) {
            const StyledLine& line = lines[index];
            const QPoint topLeft = layout.topLefts[index++];
            if (line.isEmpty()) {
                continue;
            }
            // Marks stacked above or below the cell and italic overhangs reach past it.
            const int margin = metrics.height / 3 + ringRadius + 2;
            const QRect room = QRect(topLeft, QSize(metrics.width, metrics.height))
                                   .adjusted(-margin, -margin, margin, margin)
                                   .intersected(picture);
            if (!room.isEmpty()) {
                placedLines.push_back({line, topLeft, room});
            }
        }
    }

    for (const QRect& rect : Regions(placedLines, maxRegions)) {
        CoveragePlanes region{rect, Plane(static_cast<size_t>(rect.width()) * rect.height(), 0),
                              {}, {}};
        {
            QImage coverage(region.text.data(), rect.width(), rect.height(), rect.width(),
                            QImage::Format_Alpha8);
            SetSubtitleResolution(coverage);
            QPainter painter(&coverage);
            painter.setRenderHint(QPainter::TextAntialiasing);
            painter.setFont(font);
            painter.setPen(Qt::black);
            for (const PlacedLine& line : placedLines) {
                if (rect.contains(line.room)) {
                    DrawLine(painter, line.topLeft - rect.topLeft(), line.line);
                }
            }
        }
        region.edge = Dilate(region.text, rect.width(), rect.height(), edgeRadius);
        region.outline =
            Dilate(region.edge, rect.width(), rect.height(), ringRadius - edgeRadius);
        result.regions.push_back(std::move(region));
    }
    return result;
}

QRgb CompositePixel(int text, int edge, int outline, const RoleColours& colours) {
    // Premultiplied, in 1/255 steps: outline, then edge over it, then text over that.
    double alpha = outline / 255.0;
    double red = qRed(colours.outline) * alpha;
    double green = qGreen(colours.outline) * alpha;
    double blue = qBlue(colours.outline) * alpha;
    for (const auto& [coverage, colour] :
         {std::pair{edge, colours.antialias}, std::pair{text, colours.text}}) {
        const double a = coverage / 255.0;
        red = qRed(colour) * a + red * (1 - a);
        green = qGreen(colour) * a + green * (1 - a);
        blue = qBlue(colour) * a + blue * (1 - a);
        alpha = a + alpha * (1 - a);
    }
    if (alpha <= 0) {
        return qRgba(0, 0, 0, 0);
    }
    const auto straight = [alpha](double premultiplied) {
        return std::clamp(static_cast<int>(std::lround(premultiplied / alpha)), 0, 255);
    };
    return qRgba(straight(red), straight(green), straight(blue),
                 static_cast<int>(std::lround(alpha * 255)));
}

QImage CompositeHdSubtitle(const HdSubtitle& subtitle, QSize videoSize,
                           const RoleColours& colours) {
    QImage picture(videoSize, QImage::Format_ARGB32);
    picture.fill(Qt::transparent);
    for (const CoveragePlanes& region : subtitle.regions) {
        const QRect& rect = region.rect;
        for (int y = 0; y < rect.height(); ++y) {
            auto* pixels = reinterpret_cast<QRgb*>(picture.scanLine(rect.top() + y));
            for (int x = 0; x < rect.width(); ++x) {
                const size_t i = static_cast<size_t>(y) * rect.width() + x;
                if (region.outline[i] != 0) {
                    pixels[rect.left() + x] = CompositePixel(region.text[i], region.edge[i],
                                                             region.outline[i], colours);
                }
            }
        }
    }
    return picture;
}

}  // namespace marvoxa
