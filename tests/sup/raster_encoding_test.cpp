#include "sup/raster_encoding.h"

#include "render/frame_renderer.h"
#include "render/subtitle_raster.h"

#include <gtest/gtest.h>

namespace marvoxa {
namespace {

struct Lines {
    QString first;
    QString second;
};

// Colour sets that decide where runs split: distinct roles, roles sharing a colour, a role in
// frame blue (its pixels vanish into the background), alpha bits that must be ignored.
QList<RoleColours> ColourSets() {
    return {
        {qRgb(128, 128, 128), qRgb(0, 0, 0), qRgb(255, 255, 255)},
        {qRgb(16, 16, 16), qRgb(16, 16, 16), qRgb(255, 255, 255)},
        {qRgb(90, 90, 90), qRgb(200, 0, 0), qRgb(200, 0, 0)},
        {qRgb(255, 255, 0), kFrameBlue, qRgb(255, 255, 255)},
        {kFrameBlue, kFrameBlue, kFrameBlue},
        {qRgba(10, 20, 30, 0), qRgba(10, 20, 30, 255), qRgb(1, 2, 3)},
    };
}

// The picture the encoder used to read: the raster painted on a frame-blue frame.
Result<FieldData> EncodePaintedFrame(const RasterizedSubtitle& subtitle,
                                     const RenderSettings& settings, const RoleColours& colours) {
    QImage frame = BlueFrame(settings.standard);
    PaintRaster(frame, subtitle.raster, colours);
    return EncodeArea(frame, subtitle.layout.areaTop, subtitle.layout.areaHeight, colours);
}

void ExpectSameAsPaintedFrame(const Lines& lines, const RenderSettings& settings,
                              const RoleColours& colours) {
    const RasterizedSubtitle subtitle = RasterizeSubtitle(lines.first, lines.second, settings);
    const Result<FieldData> painted = EncodePaintedFrame(subtitle, settings, colours);
    const Result<FieldData> direct =
        EncodeRaster(subtitle.raster, subtitle.layout.areaTop, subtitle.layout.areaHeight, colours);
    const std::string what =
        "\"" + lines.first.toStdString() + "\" / \"" + lines.second.toStdString() + "\", offset " +
        std::to_string(settings.bottomOffset) + ", overlap " + std::to_string(settings.lineOverlap);
    ASSERT_EQ(direct.ok(), painted.ok()) << what;
    if (!painted.ok()) {
        EXPECT_EQ(direct.error().message, painted.error().message) << what;
        EXPECT_EQ(direct.error().kind, painted.error().kind) << what;
        return;
    }
    EXPECT_EQ(direct.value().top, painted.value().top) << what;
    EXPECT_EQ(direct.value().bottom, painted.value().bottom) << what;
}

TEST(EncodeRaster, GivesTheBytesOfThePaintedFrameForEveryColourSetAndPlacement) {
    const QList<Lines> corpus{
        {QStringLiteral("Rethymno."), QStringLiteral("Crete Hellas.")},
        {QStringLiteral("A single line"), QString()},
        // Wider than the frame: text and rings reach column 0 and the last column.
        {QStringLiteral("WWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWW"),
         QStringLiteral("|left edge| and a line far wider than any frame could ever hold")},
        {QStringLiteral("Καλημέρα κόσμε"), QStringLiteral("g̣ q̃ Ǻǻ Ếế")},
    };
    const QList<RoleColours> colourSets = ColourSets();
    int sample = 0;
    for (const QString& align : AlignNames()) {
        for (int outline : {2, 3, 4}) {
            // Positive overlaps make the second line's rings cover the first line.
            for (int overlap : {-14, 0, 10}) {
                for (const RoleColours& colours : colourSets) {
                    RenderSettings settings;
                    settings.align = align;
                    settings.outlineWidth = outline;
                    settings.lineOverlap = overlap;
                    settings.bottomOffset = 8 + 7 * (sample % 9);  // odd and even first rows
                    ExpectSameAsPaintedFrame(corpus[sample++ % corpus.size()], settings, colours);
                    if (HasFatalFailure()) {
                        return;
                    }
                }
            }
        }
    }
}

TEST(EncodeRaster, RefusesAnAreaOutsideTheFrameWithTheFrameEncodersMessage) {
    const RoleColours colours = ColourSets().first();
    RenderSettings aboveTop;  // NTSC lifted to the top: the area starts above row 0
    aboveTop.standard = VideoStandard::Ntsc;
    aboveTop.bottomOffset = 492;
    aboveTop.fontSize = 50;
    RenderSettings belowBottom;  // a large font barely lifted: the area runs off the bottom
    belowBottom.fontSize = 50;
    belowBottom.bottomOffset = 8;
    belowBottom.lineOverlap = -14;
    for (const RenderSettings& settings : {aboveTop, belowBottom}) {
        ExpectSameAsPaintedFrame({QStringLiteral("Fortezza"), QStringLiteral("at night")}, settings,
                                 colours);
        const RasterizedSubtitle subtitle =
            RasterizeSubtitle(QStringLiteral("Fortezza"), QStringLiteral("at night"), settings);
        EXPECT_FALSE(EncodeRaster(subtitle.raster, subtitle.layout.areaTop,
                                  subtitle.layout.areaHeight, colours)
                         .ok());
    }
}

TEST(EncodeRaster, EncodesRowsTheTextNeverReachedAsFrameBlue) {
    const RasterizedSubtitle subtitle =
        RasterizeSubtitle(QStringLiteral("Rethymno."), QString(), RenderSettings{});
    // Rows 0 and 1 lie far above the text.
    const Result<FieldData> fields = EncodeRaster(subtitle.raster, 0, 2, ColourSets().first());
    ASSERT_TRUE(fields.ok());
    EXPECT_EQ(fields.value().top, QByteArray::fromHex("03FC03FC03440000"));
    EXPECT_EQ(fields.value().bottom, QByteArray::fromHex("03FC03FC03440000"));
}

}  // namespace
}  // namespace marvoxa
