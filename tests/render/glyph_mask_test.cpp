#include "render/glyph_mask.h"
#include "render/subtitle_raster.h"

#include <gtest/gtest.h>

namespace marvoxa {
namespace {

TEST(DilateSquare, GrowsASinglePixelIntoASquareInFrameCoordinates) {
    GlyphMask pixel(QPoint(100, 50), 1, 1);
    pixel.set(0, 0);
    const GlyphMask square = DilateSquare(pixel, 3);
    EXPECT_EQ(square.origin(), QPoint(97, 47));
    ASSERT_EQ(square.width(), 7);
    ASSERT_EQ(square.height(), 7);
    for (int y = 0; y < 7; ++y) {
        for (int x = 0; x < 7; ++x) {
            EXPECT_TRUE(square.test(x, y)) << x << "," << y;
        }
    }
}

TEST(DilateSquare, CarriesBitsAcrossWordBoundaries) {
    GlyphMask mask(QPoint(0, 0), 200, 3);
    mask.set(63, 1);
    mask.set(64, 1);
    mask.set(127, 1);
    const GlyphMask grown = DilateSquare(mask, 2);
    // Grown pixel x + 2 is mask pixel x; the runs 61..66 and 125..129 in mask coordinates.
    for (int x = 0; x < grown.width(); ++x) {
        const int maskX = x - 2;
        const bool expected = (maskX >= 61 && maskX <= 66) || (maskX >= 125 && maskX <= 129);
        for (int y = 1; y < 6; ++y) {
            EXPECT_EQ(grown.test(x, y), expected) << x << "," << y;
        }
        EXPECT_FALSE(grown.test(x, 0));
        EXPECT_FALSE(grown.test(x, 6));
    }
}

TEST(SubtitleRaster, SinglePixelGlyphGetsAntialiasThenOutlineRings) {
    GlyphMask glyph(QPoint(360, 300), 1, 1);
    glyph.set(0, 0);
    SubtitleRaster raster(720, 576, 290, 20);
    raster.paint(DilateSquare(glyph, 3), Layer::Outline);
    raster.paint(DilateSquare(glyph, 1), Layer::Antialias);
    raster.paint(glyph, Layer::Text);

    int counts[4] = {0, 0, 0, 0};
    for (int y = 290; y < 310; ++y) {
        for (int x = 0; x < 720; ++x) {
            ++counts[static_cast<int>(raster.at(x, y))];
        }
    }
    EXPECT_EQ(counts[static_cast<int>(Layer::Text)], 1);
    EXPECT_EQ(counts[static_cast<int>(Layer::Antialias)], 8);
    EXPECT_EQ(counts[static_cast<int>(Layer::Outline)], 40);
    EXPECT_EQ(raster.at(360, 300), Layer::Text);
    EXPECT_EQ(raster.at(361, 301), Layer::Antialias);
    EXPECT_EQ(raster.at(363, 297), Layer::Outline);
    EXPECT_EQ(raster.at(364, 300), Layer::None);
}

TEST(SubtitleRaster, ClipsMasksAtTheFrameEdges) {
    GlyphMask glyph(QPoint(-2, 0), 1, 1);  // just left of the frame
    glyph.set(0, 0);
    SubtitleRaster raster(720, 576, 0, 10);
    raster.paint(DilateSquare(glyph, 3), Layer::Outline);
    EXPECT_EQ(raster.at(0, 0), Layer::Outline);
    EXPECT_EQ(raster.at(1, 3), Layer::Outline);
    EXPECT_EQ(raster.at(2, 0), Layer::None);
    EXPECT_EQ(raster.at(0, 4), Layer::None);
}

TEST(RenderGlyphMask, KeepsEveryGlyphPixelOfATallLine) {
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPixelSize(40);
    font.setStyleStrategy(QFont::NoAntialias);
    // Stacked marks reach far above the text cell.
    const QString text = QStringLiteral("A\u0301\u0301\u0301\u0301\u0301 g\u0323\u0323\u0323");
    const GlyphMask mask = RenderGlyphMask(font, text, QPoint(0, 0));
    EXPECT_FALSE(mask.touchesBorder());
    int set = 0;
    for (int y = 0; y < mask.height(); ++y) {
        for (int x = 0; x < mask.width(); ++x) {
            set += mask.test(x, y) ? 1 : 0;
        }
    }
    EXPECT_GT(set, 100);
}

}  // namespace
}  // namespace marvoxa
