// Opens Generated.idx with libavformat, and the MKV that mkvmerge makes of it, and checks that
// libavcodec shows every cue exactly as it shows the same cue of Generated.sup.

#include "av_subtitles.h"
#include "export/stream_set_outputs.h"
#include "generated_outputs.h"
#include "palette/generic_palette.h"
#include "subtitles/subtitle_loader.h"
#include "sup/generation.h"
#include "test_files.h"
#include "tool_run.h"

#include <gtest/gtest.h>

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
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

TEST(VobSubWithTools, CarriesSeveralStreamsAsTracksInTheirOrderAndLanguages) {
    QTemporaryDir folder;
    const QStringList languages{QStringLiteral("fr"), QStringLiteral("de"), QStringLiteral("fr")};
    const Palette palette = GenericPalette();
    const RenderSettings settings;
    // Streams of different lengths and times, so no track can pass for another.
    const std::vector<CueList> cues{
        test::SpacedCues({{QStringLiteral("Bonjour"), QString()}, {QStringLiteral("Merci"), {}}},
                         1000, 2000, 1500),
        test::EdgeCues(500, 3000, 2500),
        test::SpacedCues({{QStringLiteral("Au revoir"), QStringLiteral("encore")}}, 7000, 0, 900)};
    const StreamSetOutputs outputs = MakeStreamSetOutputs(
        {.vobSub = true}, languages, folder.path(), settings.standard, palette);
    std::vector<GenerationRequest> requests(cues.size());
    for (size_t i = 0; i < cues.size(); ++i) {
        requests[i].cueList = &cues[i];
        requests[i].renderSettings = [&] { return settings; };
        requests[i].colourRoles = [] { return kGenericRoles; };
        requests[i].roleColours = palette.roleColours(kGenericRoles);
        requests[i].outputFolder = folder.path();
        requests[i].streamFileName = QStringLiteral("Generated.%1.sup").arg(i);
        requests[i].streamIndex = static_cast<int>(i);
    }
    const auto streams = GenerateSupStreams(requests, outputs.sharedOutputs());
    ASSERT_TRUE(streams.ok()) << streams.error().message.toStdString();
    test::RunTool(QStringLiteral("mkvmerge"), test::Words("--quiet -o tracks.mkv Generated.idx"),
                  folder.path());
    test::RunTool(QStringLiteral("mkvmerge"), test::Words("-J tracks.mkv"), folder.path(), {},
                  folder.filePath(QStringLiteral("tracks.json")));
    const QJsonArray tracks =
        QJsonDocument::fromJson(test::ReadFile(folder.filePath(QStringLiteral("tracks.json"))))
            .object()[QLatin1String("tracks")]
            .toArray();
    ASSERT_EQ(tracks.size(), 3);
    const char* mkvLanguages[] = {"fre", "ger", "fre"};
    for (int track = 0; track < 3; ++track) {
        EXPECT_EQ(tracks[track][QLatin1String("properties")][QLatin1String("language")].toString(),
                  QLatin1String(mkvLanguages[track]));
        const test::GeneratedOutputs generated{
            test::ReadSupStream(
                test::ReadFile(streams.value()[static_cast<size_t>(track)].streamPath)),
            {}};
        for (const char* file : {"Generated.idx", "tracks.mkv"}) {
            SCOPED_TRACE(std::string(file) + " track " + std::to_string(track));
            ExpectShownLikeTheSupStream(
                test::DecodeSubtitleFile(folder.filePath(QLatin1String(file)), {}, 576, track),
                generated, palette, 576);
        }
    }
}

}  // namespace
}  // namespace marvoxa
