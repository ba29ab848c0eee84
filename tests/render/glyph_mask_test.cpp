#include "render/glyph_mask.h"
#include "render/subtitle_font.h"
#include "render/subtitle_raster.h"

#include <gtest/gtest.h>

#include <QSet>

#include <algorithm>
#include <cstdint>
#include <utility>

namespace marvoxa {
namespace {

TEST(DilateSquare, GrowsASinglePixelIntoASquareInTheSameGeometry) {
    GlyphMask pixel(QPoint(100, 50), 9, 9);
    pixel.set(4, 4);
    const GlyphMask square = DilateSquare(pixel, 3);
    EXPECT_EQ(square.origin(), QPoint(100, 50));
    for (int y = 0; y < 9; ++y) {
        for (int x = 0; x < 9; ++x) {
            const bool inside = x >= 1 && x <= 7 && y >= 1 && y <= 7;
            EXPECT_EQ(square.test(x, y), inside) << x << "," << y;
        }
    }
}

TEST(DilateSquare, CarriesBitsAcrossWordBoundariesBothWays) {
    GlyphMask mask(QPoint(0, 0), 200, 7);
    mask.set(63, 3);
    mask.set(64, 3);
    mask.set(130, 3);
    const GlyphMask grown = DilateSquare(mask, 2);
    for (int x = 0; x < grown.width(); ++x) {
        const bool expected = (x >= 61 && x <= 66) || (x >= 128 && x <= 132);
        for (int y = 1; y < 6; ++y) {
            EXPECT_EQ(grown.test(x, y), expected) << x << "," << y;
        }
        EXPECT_FALSE(grown.test(x, 0));
        EXPECT_FALSE(grown.test(x, 6));
    }
}

// Every pixel within horizontal and vertical reach of a set pixel, one pixel at a time.
GlyphMask BruteForceDilation(const GlyphMask& mask, int radius, int vertical = -1) {
    const int horizontal = radius;
    vertical = vertical < 0 ? radius : vertical;
    GlyphMask grown(mask.origin(), mask.width(), mask.height());
    for (int y = 0; y < mask.height(); ++y) {
        for (int x = 0; x < mask.width(); ++x) {
            if (!mask.test(x, y)) {
                continue;
            }
            for (int v = std::max(0, y - vertical); v <= std::min(mask.height() - 1, y + vertical);
                 ++v) {
                for (int u = std::max(0, x - horizontal);
                     u <= std::min(mask.width() - 1, x + horizontal); ++u) {
                    grown.set(u, v);
                }
            }
        }
    }
    return grown;
}

TEST(DilateSquare, MatchesPixelByPixelGrowthForEveryRadiusAndGrowsInSteps) {
    GlyphMask mask(QPoint(3, 4), 300, 40);
    std::uint32_t state = 12345;  // a fixed scatter of pixels, some near every edge
    for (int i = 0; i < 60; ++i) {
        state = state * 1103515245u + 12345u;
        mask.set(static_cast<int>(state >> 8) % 300, static_cast<int>(state >> 20) % 40);
    }
    for (int radius : {0, 1, 2, 3, 4, 7, 63, 64, 70}) {
        const GlyphMask expected = BruteForceDilation(mask, radius);
        const GlyphMask grown = DilateSquare(mask, radius);
        const GlyphMask stepped = DilateSquare(DilateSquare(mask, 1), std::max(0, radius - 1));
        // The wide drawing's rings: narrower than high, and the reverse.
        const int narrow = radius * 3 / 4;
        const GlyphMask expectedNarrow = BruteForceDilation(mask, narrow, radius);
        const GlyphMask grownNarrow = DilateRectangle(mask, narrow, radius);
        const GlyphMask expectedFlat = BruteForceDilation(mask, radius, narrow);
        const GlyphMask grownFlat = DilateRectangle(mask, radius, narrow);
        for (int y = 0; y < mask.height(); ++y) {
            for (int x = 0; x < mask.width(); ++x) {
                ASSERT_EQ(grown.test(x, y), expected.test(x, y)) << radius << ": " << x << "," << y;
                if (radius >= 1) {
                    ASSERT_EQ(stepped.test(x, y), expected.test(x, y)) << radius;
                }
                ASSERT_EQ(grownNarrow.test(x, y), expectedNarrow.test(x, y)) << radius;
                ASSERT_EQ(grownFlat.test(x, y), expectedFlat.test(x, y)) << radius;
            }
        }
    }
}

TEST(HasInkWithin, LooksOnlyAtTheEdgeBand) {
    GlyphMask mask(QPoint(0, 0), 100, 20);
    mask.set(50, 10);
    EXPECT_FALSE(mask.hasInkWithin(5));
    mask.set(96, 10);
    EXPECT_TRUE(mask.hasInkWithin(4));
    EXPECT_FALSE(mask.hasInkWithin(3));
    GlyphMask top(QPoint(0, 0), 100, 20);
    top.set(50, 2);
    EXPECT_TRUE(top.hasInkWithin(3));
    EXPECT_FALSE(top.hasInkWithin(2));
}

GlyphMask PixelAt(QPoint frameTopLeft, int size, int x, int y) {
    GlyphMask mask(frameTopLeft, size, size);
    mask.set(x, y);
    return mask;
}

TEST(SubtitleRaster, SinglePixelGlyphGetsAntialiasThenOutlineRings) {
    const GlyphMask glyph = PixelAt(QPoint(355, 295), 11, 5, 5);  // frame pixel 360,300
    SubtitleRaster raster(720, 576, 290, 20);
    raster.paintLine(DilateSquare(glyph, 3), DilateSquare(glyph, 1), glyph);

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

TEST(SubtitleRaster, ALaterLineCoversAnEarlierOne) {
    SubtitleRaster raster(720, 576, 0, 30);
    const GlyphMask first = PixelAt(QPoint(0, 0), 11, 5, 5);
    const GlyphMask second = PixelAt(QPoint(1, 0), 11, 5, 5);  // one pixel to the right
    raster.paintLine(DilateSquare(first, 3), DilateSquare(first, 1), first);
    raster.paintLine(DilateSquare(second, 3), DilateSquare(second, 1), second);
    EXPECT_EQ(raster.at(5, 5), Layer::Antialias);  // the first glyph under the second's ring
    EXPECT_EQ(raster.at(6, 5), Layer::Text);
}

TEST(SubtitleRaster, ClipsAtTheFrameEdges) {
    const GlyphMask glyph = PixelAt(QPoint(-7, -5), 11, 5, 5);  // frame pixel -2,0
    SubtitleRaster raster(720, 576, 0, 10);
    raster.paintLine(DilateSquare(glyph, 3), DilateSquare(glyph, 1), glyph);
    EXPECT_EQ(raster.at(0, 0), Layer::Outline);
    EXPECT_EQ(raster.at(1, 3), Layer::Outline);
    EXPECT_EQ(raster.at(2, 0), Layer::None);
    EXPECT_EQ(raster.at(0, 4), Layer::None);
}

TEST(RenderGlyphMask, KeepsEveryGlyphPixelOfATallLineClearOfTheEdge) {
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPixelSize(40);
    font.setStyleStrategy(QFont::NoAntialias);
    // Stacked marks reach far above and below the text cell.
    const QString text = QStringLiteral("A\u0301\u0301\u0301\u0301\u0301 g\u0323\u0323\u0323");
    const GlyphMask mask = RenderGlyphMask(font, text, MeasureLine(font, text), QPoint(0, 0), 4);
    EXPECT_FALSE(mask.hasInkWithin(4));
    int set = 0;
    for (int y = 0; y < mask.height(); ++y) {
        for (int x = 0; x < mask.width(); ++x) {
            set += mask.test(x, y) ? 1 : 0;
        }
    }
    EXPECT_GT(set, 100);
}

// The frame pixels a mask sets, whatever its margin.
QSet<std::pair<int, int>> FramePixels(const GlyphMask& mask) {
    QSet<std::pair<int, int>> pixels;
    for (int y = 0; y < mask.height(); ++y) {
        for (int x = 0; x < mask.width(); ++x) {
            if (mask.test(x, y)) {
                pixels.insert({mask.origin().x() + x, mask.origin().y() + y});
            }
        }
    }
    return pixels;
}

// Drawing and measuring in one pass must give what measuring, then drawing, gives.
TEST(DrawAndMeasureLine, MeasuresAndDrawsAsMeasureLineAndRenderGlyphMask) {
    const QStringList texts{
        QStringLiteral("Rethymno harbour."),
        QStringLiteral("\tTabs\tand  spaces  "),
        QStringLiteral("A\u0301\u0301\u0301 g\u0323\u0323 \u00d2"),         // far above and below
        QStringLiteral("\u65e5\u672c\u8a9e \u05e9\u05dc\u05d5\u05dd 123"),  // fallback fonts
        QStringLiteral("short\u009clonger choice"),
        QString(200, QLatin1Char('W')),  // wider than any guess
        QString(),
    };
    for (int size : {10, 22, 50}) {
        RenderSettings settings;
        settings.fontSize = size;
        settings.style.italic = size == 50;
        const QFont font = SubtitleFont(settings);
        for (const QString& text : texts) {
            const DrawnLine drawn = DrawAndMeasureLine(font, PlainLine(text), 3);
            const LineMetrics measured = MeasureLine(font, text);
            EXPECT_EQ(drawn.metrics.width, measured.width) << text.toStdString() << " " << size;
            EXPECT_EQ(drawn.metrics.height, measured.height) << text.toStdString() << " " << size;
            if (text.isEmpty()) {
                EXPECT_EQ(drawn.glyphs.height(), 0);
                continue;
            }
            const GlyphMask rendered = RenderGlyphMask(font, text, measured, QPoint(0, 0), 3);
            EXPECT_FALSE(drawn.glyphs.hasInkWithin(3)) << text.toStdString();
            EXPECT_EQ(FramePixels(drawn.glyphs), FramePixels(rendered))
                << text.toStdString() << " " << size;
        }
    }
}

// A caller that refuses wide lines gets them measured, not drawn: a line of a million
// characters costs no picture of its width.
TEST(DrawAndMeasureLine, OnlyMeasuresALineAtLeastTheLimitWide) {
    const QFont font = SubtitleFont(RenderSettings{});
    const QString huge(1'000'000, QLatin1Char('W'));
    const DrawnLine drawn = DrawAndMeasureLine(font, PlainLine(huge), 3, 680);
    EXPECT_EQ(drawn.metrics.width, MeasureLine(font, huge).width);
    EXPECT_EQ(drawn.glyphs.height(), 0);

    const RasterizedCue cue =
        RasterizeCue({PlainLine(QStringLiteral("fits")), PlainLine(huge)}, RenderSettings{}, 680);
    EXPECT_EQ(cue.widestLine, drawn.metrics.width);
    EXPECT_EQ(cue.raster.bandRows(), 0);
}

// A right-to-left word inside a left-to-right line is drawn in the order of the Unicode bidi
// algorithm (as FriBidi gives it): the parentheses and digits after the Hebrew word join its
// run. The same glyphs forced left to right in that order draw the same pixels.
TEST(DrawAndMeasureLine, DrawsAMixedDirectionLineInBidiOrder) {
    RenderSettings settings;
    const QFont font = SubtitleFont(settings);
    const QString line = QStringLiteral("He said \"\u05e9\u05dc\u05d5\u05dd\" (123) today.");
    const QString visual =
        QStringLiteral("\u202dHe said \"(123) \"\u05dd\u05d5\u05dc\u05e9 today.\u202c");
    const DrawnLine drawn = DrawAndMeasureLine(font, PlainLine(line), 0);
    const DrawnLine forced = DrawAndMeasureLine(font, PlainLine(visual), 0);
    EXPECT_EQ(drawn.metrics, forced.metrics);
    ASSERT_EQ(drawn.glyphs.origin(), forced.glyphs.origin());
    ASSERT_EQ(drawn.glyphs.width(), forced.glyphs.width());
    ASSERT_EQ(drawn.glyphs.height(), forced.glyphs.height());
    int differing = 0;
    for (int y = 0; y < drawn.glyphs.height(); ++y) {
        for (int x = 0; x < drawn.glyphs.width(); ++x) {
            differing += drawn.glyphs.test(x, y) != forced.glyphs.test(x, y) ? 1 : 0;
        }
    }
    EXPECT_EQ(differing, 0);
}

}  // namespace
}  // namespace marvoxa
