#include "render/hd_subtitle_drawing.h"

#include "common/pixels16.h"
#include "render/subtitle_font.h"
#include "render/subtitle_layout.h"
#include "render/subtitle_raster.h"

#include <QPainter>

#ifdef __SSE2__
#include <emmintrin.h>
#endif

#include <algorithm>
#include <cmath>
#include <cstring>

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

Pixels16 Max(Pixels16 a, Pixels16 b) {
    return a > b ? a : b;
}

// Every pixel of a row becomes the largest of itself, its left and right neighbours and, for
// a cross, the pixels above and below (up and down may be the row itself at the edges).
void GrowRow(const std::uint8_t* up, const std::uint8_t* row, const std::uint8_t* down,
             std::uint8_t* out, int width, bool cross) {
    const auto pixel = [&](int x) {
        std::uint8_t largest = row[x];
        largest = std::max(largest, x > 0 ? row[x - 1] : row[x]);
        largest = std::max(largest, x + 1 < width ? row[x + 1] : row[x]);
        return cross ? std::max({largest, up[x], down[x]}) : largest;
    };
    out[0] = pixel(0);
    int x = 1;
    for (; x + 17 <= width; x += 16) {
        Pixels16 largest =
            Max(Max(LoadPixels16(row + x - 1), LoadPixels16(row + x)), LoadPixels16(row + x + 1));
        if (cross) {
            largest = Max(largest, Max(LoadPixels16(up + x), LoadPixels16(down + x)));
        }
        std::memcpy(out + x, &largest, sizeof largest);
    }
    for (; x < width; ++x) {
        out[x] = pixel(x);
    }
}

// Every pixel becomes the largest of itself and the pixels above and below.
void GrowDown(const std::uint8_t* up, const std::uint8_t* row, const std::uint8_t* down,
              std::uint8_t* out, int width) {
    int x = 0;
    for (; x + 16 <= width; x += 16) {
        const Pixels16 largest =
            Max(Max(LoadPixels16(up + x), LoadPixels16(row + x)), LoadPixels16(down + x));
        std::memcpy(out + x, &largest, sizeof largest);
    }
    for (; x < width; ++x) {
        out[x] = std::max({up[x], row[x], down[x]});
    }
}

// Grows the coverage of rows top to bottom - 1 in place by radius pixels, steps of a 3x3
// square and of a cross taking turns: the ring's corners come out as an octagon, rounder than
// the DVD's square, and its edge keeps the glyphs' smoothing. The rows around stay as they
// are: the band reaches radius rows past the ink.
void Dilate(Plane& plane, int width, int top, int bottom, int radius) {
    if (bottom <= top) {
        return;
    }
    thread_local Plane scratch;
    scratch.resize(plane.size());
    const auto rowOf = [width, top, bottom](Plane& of, int y) {
        return of.data() + static_cast<size_t>(std::clamp(y, top, bottom - 1)) * width;
    };
    for (int step = 0; step < radius; ++step) {
        const bool cross = step % 2 == 1;
        for (int y = top; y < bottom; ++y) {
            GrowRow(rowOf(plane, y - 1), rowOf(plane, y), rowOf(plane, y + 1), rowOf(scratch, y),
                    width, cross);
        }
        if (cross) {
            std::memcpy(rowOf(plane, top), rowOf(scratch, top),
                        static_cast<size_t>(bottom - top) * width);
            continue;
        }
        for (int y = top; y < bottom; ++y) {  // the square's rows from the grown ones
            GrowDown(rowOf(scratch, y - 1), rowOf(scratch, y), rowOf(scratch, y + 1),
                     rowOf(plane, y), width);
        }
    }
}

// The alpha bytes of a row of premultiplied ARGB pixels, sixteen pixels at a time; whether
// any is not zero.
bool AlphaOf(const uchar* argb, int width, std::uint8_t* alpha) {
    const auto* pixels = reinterpret_cast<const QRgb*>(argb);
    int x = 0;
    bool inked = false;
#ifdef __SSE2__
    __m128i any = _mm_setzero_si128();
    for (; x + 16 <= width; x += 16) {
        const auto alphas = [&](int at) {
            return _mm_srli_epi32(
                _mm_loadu_si128(reinterpret_cast<const __m128i*>(pixels + x + at)), 24);
        };
        const __m128i low = _mm_packs_epi32(alphas(0), alphas(4));
        const __m128i high = _mm_packs_epi32(alphas(8), alphas(12));
        const __m128i bytes = _mm_packus_epi16(low, high);
        any = _mm_or_si128(any, bytes);
        _mm_storeu_si128(reinterpret_cast<__m128i*>(alpha + x), bytes);
    }
    inked = _mm_movemask_epi8(_mm_cmpeq_epi8(any, _mm_setzero_si128())) != 0xffff;
#endif
    for (; x < width; ++x) {
        alpha[x] = static_cast<std::uint8_t>(qAlpha(pixels[x]));
        inked = inked || alpha[x] != 0;
    }
    return inked;
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
    scaled.wide = false;  // HD pictures have square pixels, whatever the DVD's drawing
    scaled.fontSize = std::max(1, Scaled(settings.fontSize, scale));
    scaled.outlineWidth = Scaled(settings.outlineWidth, scale);
    // The layout keeps 40 pixels under the offset; the whole distance from the bottom grows.
    scaled.bottomOffset = Scaled(40 + settings.bottomOffset, scale) - 40;
    scaled.lineOverlap = Scaled(settings.lineOverlap, scale);
    return scaled;
}

HdSubtitle DrawHdSubtitle(const QList<PlacedLines>& blocks, const RenderSettings& settings,
                          QSize videoSize, int maxRegions) {
    HdSubtitle subtitle;
    DrawHdSubtitle(blocks, settings, videoSize, maxRegions, subtitle);
    return subtitle;
}

void DrawHdSubtitle(const QList<PlacedLines>& cueBlocks, const RenderSettings& settings,
                    QSize videoSize, int maxRegions, HdSubtitle& result) {
    const double scale = videoSize.height() / kChosenHeight;
    const RenderSettings scaled = ScaledToHeight(settings, videoSize.height());
    QFont font = SubtitleFont(scaled);
    font.setStyleStrategy(QFont::PreferAntialias);
    const int edgeRadius = EdgeRadius(scaled, scale);
    const int ringRadius = std::max(0, scaled.outlineWidth);

    result.widestLine = 0;
    result.widestBlock = 0;
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

    const QList<QRect> regions = Regions(placedLines, maxRegions);
    result.regions.resize(static_cast<size_t>(regions.size()));
    for (qsizetype r = 0; r < regions.size(); ++r) {
        const QRect& rect = regions[r];
        CoveragePlanes& region = result.regions[static_cast<size_t>(r)];
        region.rect = rect;
        region.text.resize(static_cast<size_t>(rect.width()) * rect.height());
        int inkTop = rect.height();
        int inkBottom = 0;
        {
            // Qt blends glyphs straight into premultiplied ARGB; into Alpha8 it takes a slow
            // generic path. Only the alpha is kept.
            thread_local QImage canvas;
            if (canvas.width() < rect.width() || canvas.height() < rect.height()) {
                canvas = QImage(std::max(canvas.width(), rect.width()),
                                std::max(canvas.height(), rect.height()),
                                QImage::Format_ARGB32_Premultiplied);
                SetSubtitleResolution(canvas);
            }
            for (int y = 0; y < rect.height(); ++y) {
                std::memset(canvas.scanLine(y), 0, static_cast<size_t>(rect.width()) * 4);
            }
            {
                QPainter painter(&canvas);
                painter.setClipRect(QRect(QPoint(0, 0), rect.size()));
                painter.setRenderHint(QPainter::TextAntialiasing);
                painter.setFont(font);
                painter.setPen(Qt::black);
                for (const PlacedLine& line : placedLines) {
                    if (rect.contains(line.room)) {
                        DrawLine(painter, line.topLeft - rect.topLeft(), line.line);
                    }
                }
            }
            for (int y = 0; y < rect.height(); ++y) {
                if (AlphaOf(canvas.constScanLine(y), rect.width(),
                            region.text.data() + static_cast<size_t>(y) * rect.width())) {
                    inkTop = std::min(inkTop, y);
                    inkBottom = y + 1;
                }
            }
        }
        // The rings grow only where they can reach.
        const int top = std::max(0, inkTop - ringRadius);
        const int bottom = std::min(rect.height(), inkBottom + ringRadius);
        region.edge.assign(region.text.begin(), region.text.end());
        Dilate(region.edge, rect.width(), top, bottom, edgeRadius);
        region.outline.assign(region.edge.begin(), region.edge.end());
        Dilate(region.outline, rect.width(), top, bottom, ringRadius - edgeRadius);
    }
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
                    pixels[rect.left() + x] =
                        CompositePixel(region.text[i], region.edge[i], region.outline[i], colours);
                }
            }
        }
    }
    return picture;
}

}  // namespace marvoxa
