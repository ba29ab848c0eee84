// Opens Generated.idx with libavformat, and the MKV that mkvmerge makes of it, and checks that
// libavcodec shows every cue exactly as it shows the same cue of Generated.sup.

#include "av_subtitles.h"
#include "generated_outputs.h"
#include "palette/generic_palette.h"
#include "subtitles/subtitle_loader.h"
#include "test_files.h"
#include "tool_run.h"

#include <gtest/gtest.h>

#include <QTemporaryDir>

namespace marvoxa {
namespace {

void ExpectShownLikeTheSupStream(const test::ShownFile& file,
                                 const test::GeneratedOutputs& generated, const Palette& palette,
                                 int frameHeight) {
    QList<quint32> colours;
    for (const PaletteEntry& entry : palette.entries) {
        colours << entry.displayColour;
    }
    ASSERT_EQ(file.cues.size(), generated.packets.size());
    for (qsizetype cue = 0; cue < file.cues.size(); ++cue) {
        SCOPED_TRACE("cue " + std::to_string(cue + 1));
        const test::ShownCue expected = test::DecodeUnit(generated.packets[cue].unit,
                                                         test::PaletteOption(colours), frameHeight);
        EXPECT_EQ(file.cues[cue].presentationTime, generated.packets[cue].presentationTime);
        EXPECT_EQ(file.cues[cue].endDisplayMs, expected.endDisplayMs);
        EXPECT_GT(test::OpaquePixels(expected.frame), 0);
        EXPECT_TRUE(file.cues[cue].frame == expected.frame) << "the cue shows other pixels";
    }
}

void ExpectVobSubAndMkvShowTheSupStream(const CueList& cues, const RenderSettings& settings,
                                        const Palette& palette, const ColourRoles& roles) {
    QTemporaryDir folder;
    const test::GeneratedOutputs generated =
        test::GenerateWithOutputs(cues, settings, palette, roles, folder.path());
    ASSERT_EQ(generated.packets.size(), static_cast<qsizetype>(cues.cues.size()));
    const int height = FrameHeight(settings.standard);
    {
        SCOPED_TRACE("Generated.idx");
        ExpectShownLikeTheSupStream(
            test::DecodeSubtitleFile(folder.filePath(QStringLiteral("Generated.idx")), {}, height),
            generated, palette, height);
    }
    test::RunTool(QStringLiteral("mkvmerge"), test::Words("--quiet -o subtitles.mkv Generated.idx"),
                  folder.path());
    SCOPED_TRACE("subtitles.mkv");
    ExpectShownLikeTheSupStream(
        test::DecodeSubtitleFile(folder.filePath(QStringLiteral("subtitles.mkv")), {}, height),
        generated, palette, height);
}

TEST(VobSubWithTools, ShowsTheBundledExampleLikeTheSupStream) {
    const SubtitleLoad load =
        LoadSubtitleFile(test::ExamplesDir() + QStringLiteral("/rethymno.srt"));
    ASSERT_FALSE(load.error.has_value());
    ExpectVobSubAndMkvShowTheSupStream(load.cueList, RenderSettings{}, GenericPalette(),
                                       kGenericRoles);
}

TEST(VobSubWithTools, ShowsEdgeCasesInNtscWithAnIfoPaletteLikeTheSupStream) {
    RenderSettings settings;
    settings.standard = VideoStandard::Ntsc;
    settings.align = QStringLiteral("left");
    settings.fontSize = 36;
    settings.outlineWidth = 4;
    const Palette palette = PaletteFromStoredValues(
        {0x00108080, 0x00808080, 0x00eb8080, 0x00d29210, 0x0051f05a, 0x00296ef0, 0x00912236,
         0x00376f94, 0x00d2916c, 0x00a28080, 0x00598080, 0x001e8080, 0x00da8080, 0x00108080,
         0x00108080, 0x00108080});
    // Units larger than one pack too: a tall font fills several.
    ExpectVobSubAndMkvShowTheSupStream(test::EdgeCues(0, 3'600'000, 59'000), settings, palette,
                                       ColourRoles{1, 0, 3, 0});
}

}  // namespace
}  // namespace marvoxa
