#include "common/frame.h"
#include "render/frame_canvas.h"
#include "render/subtitle_font.h"
#include "render/subtitle_raster.h"

#include <gtest/gtest.h>

#include <QRect>
#include <QSet>

namespace marvoxa {
namespace {

const RoleColours kColours{qRgb(128, 128, 128), qRgb(0, 0, 0), qRgb(255, 255, 255)};

// The frame columns and rows holding painted pixels.
QRect InkBounds(const SubtitleRaster& raster) {
    QRect bounds;
    for (int y = raster.bandTop(); y < raster.bandTop() + raster.bandRows(); ++y) {
        for (int x = 0; x < raster.frameWidth(); ++x) {
            if (raster.at(x, y) != Layer::None) {
                bounds |= QRect(x, y, 1, 1);
            }
        }
    }
    return bounds;
}

TEST(WideDrawing, IsThreeQuartersAsWideAsTheSquareDrawingAsHighAndInFourColours) {
    const struct {
        const char* first;
        const char* second;
        int size;
        int outline;
        const char* style;
    } cases[] = {
        {"Rethymno.", "Crete Hellas.", 22, 3, "Normal"},
        {"A single line of plain words", "", 28, 4, "Bold"},
        {"Καλημέρα κόσμε", "WWWWWWWWWWWW", 16, 2, "Bold+Italic"},
        {"日本語の字幕", "mmm iii", 36, 4, "Normal"},
    };
    for (const auto& test : cases) {
        SCOPED_TRACE(test.first);
        RenderSettings settings;
        settings.fontSize = test.size;
        settings.outlineWidth = test.outline;
        settings.style = StyleFromName(QLatin1String(test.style));
        const QList<StyledLine> lines{PlainLine(QString::fromUtf8(test.first)),
                                      PlainLine(QString::fromUtf8(test.second))};
        const RasterizedCue square = RasterizeCue(lines, settings);
        settings.wide = true;
        const RasterizedCue wide = RasterizeCue(lines, settings);

        // Advances are whole pixels, so a line may be a pixel or so off per few glyphs; the rings
        // are whole pixels too: 3/4 of both sides' ring, rounded.
        EXPECT_NEAR(wide.widestLine, 0.75 * square.widestLine, 0.03 * square.widestLine + 2);
        const QRect squareInk = InkBounds(square.raster);
        const QRect wideInk = InkBounds(wide.raster);
        EXPECT_NEAR(wideInk.width(), 0.75 * squareInk.width(), 0.03 * squareInk.width() + 2);
        EXPECT_EQ(wideInk.top(), squareInk.top());
        EXPECT_EQ(wideInk.bottom(), squareInk.bottom());
        EXPECT_EQ(wide.layout.areaHeight, square.layout.areaHeight);

        FrameCanvas canvas;
        const QImage frame = canvas.draw(wide.raster, kColours);
        QSet<QRgb> colours;
        for (int y = 0; y < frame.height(); ++y) {
            for (int x = 0; x < frame.width(); ++x) {
                colours.insert(frame.pixel(x, y));
            }
        }
        EXPECT_EQ(colours,
                  (QSet<QRgb>{kFrameBlue, kColours.antialias, kColours.outline, kColours.text}));
    }
}

}  // namespace
}  // namespace marvoxa
