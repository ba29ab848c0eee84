#include "render/frame_renderer.h"

#include "common/frame.h"
#include "literal_renderer.h"
#include "render/subtitle_font.h"
#include "render/subtitle_raster.h"

#include <gtest/gtest.h>

#include <QSet>

namespace marvoxa {
namespace {

const RoleColours kColours{qRgb(128, 128, 128), qRgb(0, 0, 0), qRgb(255, 255, 255)};

struct Lines {
    QString first;
    QString second;
};

// Lines that reach every corner case of the drawing: frame edges, overlap, wide and tall
// glyphs, scripts drawn from other fonts, tabs.
QList<Lines> Corpus() {
    return {
        {QStringLiteral("Rethymno."), QStringLiteral("Crete Hellas.")},
        {QStringLiteral("A single line"), QString()},
        {QString(), QStringLiteral("Only a second line")},
        {QStringLiteral("WWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWW"),
         QStringLiteral("|left edge| and a line far wider than any frame could ever hold")},
        {QStringLiteral("Καλημέρα κόσμε — Привет, мир"),
         QStringLiteral("שלום עולם · مرحبا بالعالم")},
        {QStringLiteral("日本語の字幕 한국어 中文字幕"), QStringLiteral("ภาษาไทย Ǻǻ Ếế g̣ q̃")},
        {QStringLiteral("tab\tseparated\ttext"), QStringLiteral("   ")},
    };
}

void ExpectIdenticalFrames(const Lines& lines, const RenderSettings& settings) {
    const SubtitleFrame fast = RenderSubtitleFrame(lines.first, lines.second, settings, kColours);
    const SubtitleFrame literal =
        test::RenderSubtitleFrameLiterally(lines.first, lines.second, settings, kColours);
    ASSERT_EQ(fast.frame.format(), kFrameFormat);
    ASSERT_EQ(fast.frame.size(), literal.frame.size());
    EXPECT_EQ(fast.areaTop, literal.areaTop);
    EXPECT_EQ(fast.areaHeight, literal.areaHeight);
    for (int y = 0; y < fast.frame.height(); ++y) {
        const uchar* a = fast.frame.constScanLine(y);
        const uchar* b = literal.frame.constScanLine(y);
        if (std::memcmp(a, b, static_cast<size_t>(fast.frame.width()) * 3) != 0) {
            for (int x = 0; x < fast.frame.width(); ++x) {
                ASSERT_EQ(fast.frame.pixel(x, y), literal.frame.pixel(x, y))
                    << "first differing pixel at " << x << "," << y << " for \""
                    << lines.first.toStdString() << "\" / \"" << lines.second.toStdString()
                    << "\" style " << settings.style.bits() << " outline " << settings.outlineWidth
                    << " align " << settings.align.toStdString();
            }
        }
    }
}

TEST(RenderSubtitleFrame, MatchesTheLiteralPassesForEveryStyleOutlineAndAlignment) {
    const QList<Lines> corpus = Corpus();
    int sample = 0;
    for (const QString& style : StyleNames()) {
        for (const QString& outline : OutlineWidthNames()) {
            for (const QString& align : AlignNames()) {
                for (VideoStandard standard : {VideoStandard::Pal, VideoStandard::Ntsc}) {
                    RenderSettings settings;
                    settings.style = StyleFromName(style);
                    settings.outlineWidth = outline.toInt();
                    settings.align = align;
                    settings.standard = standard;
                    // Walk the corpus so every combination meets a different line pair.
                    ExpectIdenticalFrames(corpus[sample++ % corpus.size()], settings);
                    if (HasFatalFailure()) {
                        return;
                    }
                }
            }
        }
    }
}

TEST(RenderSubtitleFrame, MatchesTheLiteralPassesAtTheFrameEdgesAndWithOverlap) {
    struct Case {
        int fontSize;
        int bottomOffset;
        int lineOverlap;
        VideoStandard standard;
        const char* align;
    };
    const Case cases[] = {
        {50, 8, 10, VideoStandard::Pal, "center"},
        {50, 492, 10, VideoStandard::Ntsc, "left"},  // above the top edge
        {10, 8, -14, VideoStandard::Ntsc, "right"},
        {36, 8, 10, VideoStandard::Pal, "right"},  // rings reach the bottom rows
        {44, 300, 4, VideoStandard::Pal, "left"},
    };
    for (const Case& c : cases) {
        RenderSettings settings;
        settings.fontSize = c.fontSize;
        settings.bottomOffset = c.bottomOffset;
        settings.lineOverlap = c.lineOverlap;
        settings.standard = c.standard;
        settings.align = QLatin1String(c.align);
        settings.outlineWidth = 4;
        for (const Lines& lines : Corpus()) {
            ExpectIdenticalFrames(lines, settings);
            if (HasFatalFailure()) {
                return;
            }
        }
    }
}

TEST(RenderSubtitleFrame, HoldsOnlyFrameBlueAndTheThreeRoleColours) {
    RenderSettings settings;
    settings.style = StyleFromName(QStringLiteral("Bold+It+Und"));
    const SubtitleFrame result = RenderSubtitleFrame(
        QStringLiteral("Rethymno."), QStringLiteral("Crete Hellas."), settings, kColours);
    QSet<QRgb> colours;
    for (int y = 0; y < result.frame.height(); ++y) {
        for (int x = 0; x < result.frame.width(); ++x) {
            colours.insert(result.frame.pixel(x, y));
        }
    }
    EXPECT_EQ(colours,
              (QSet<QRgb>{kFrameBlue, kColours.antialias, kColours.outline, kColours.text}));
}

TEST(RenderSubtitleFrame, ReportsTheAreaOfTheMeasuredLines) {
    const RenderSettings settings;
    const QFont font = SubtitleFont(settings);
    const int lineHeight = MeasureLine(font, QStringLiteral("x")).height;
    const SubtitleFrame result =
        RenderSubtitleFrame(QStringLiteral("One line"), QString(), settings, kColours);
    const int firstTop = 576 - lineHeight - 40 - 30;
    EXPECT_EQ(result.areaTop, firstTop - (firstTop % 2));
    // A missing second line still counts a full line.
    EXPECT_EQ(result.areaHeight, 2 * lineHeight + 4 + 6);
}

TEST(RasterizeCue, DrawsAPlainCueAsTheTwoLineRendererAndStyledSpansInTheirStyle) {
    const RenderSettings settings;
    const QString text = QStringLiteral("Slanted words");
    const RasterizedSubtitle two = RasterizeSubtitle(text, QString(), settings);
    const RasterizedCue plain = RasterizeCue({PlainLine(text)}, settings);
    EXPECT_EQ(plain.layout.areaTop, two.layout.areaTop);
    EXPECT_EQ(plain.layout.areaHeight, two.layout.areaHeight);
    const auto layers = [](const SubtitleRaster& raster) {
        QList<Layer> all;
        for (int y = raster.bandTop(); y < raster.bandTop() + raster.bandRows(); ++y) {
            all.append(QList<Layer>(raster.row(y), raster.row(y) + raster.frameWidth()));
        }
        return all;
    };
    EXPECT_EQ(layers(plain.raster), layers(two.raster));

    const FontStyle italic{false, true, false, false};
    const RasterizedCue styled = RasterizeCue({StyledLine{{{text, italic}}}}, settings);
    RenderSettings italicSettings;
    italicSettings.style = italic;
    EXPECT_EQ(layers(styled.raster),
              layers(RasterizeSubtitle(text, QString(), italicSettings).raster));
    EXPECT_NE(layers(styled.raster), layers(plain.raster));
}

TEST(SubtitleFont, UsesTheSizeInPointsAtTheDisplayResolution) {
    EXPECT_EQ(PointsToPixels(22, 96), 29);
    EXPECT_EQ(PointsToPixels(10, 96), 13);
    EXPECT_EQ(PointsToPixels(50, 120), 83);
    RenderSettings settings;
    settings.style = StyleFromName(QStringLiteral("Bold+Under"));
    const QFont font = SubtitleFont(settings);
    EXPECT_EQ(font.pixelSize(), PointsToPixels(22, DisplayDpi()));
    EXPECT_TRUE(font.bold());
    EXPECT_TRUE(font.underline());
    EXPECT_FALSE(font.italic());
    EXPECT_EQ(font.styleStrategy() & QFont::NoAntialias, QFont::NoAntialias);
}

TEST(MeasureLine, MeasuresAnEmptyLineAsOneBlank) {
    const QFont font = SubtitleFont(RenderSettings{});
    EXPECT_EQ(MeasureLine(font, QString()), MeasureLine(font, QStringLiteral(" ")));
    EXPECT_GT(MeasureLine(font, QStringLiteral("a\tb")).width,
              MeasureLine(font, QStringLiteral("ab")).width);
}

}  // namespace
}  // namespace marvoxa
