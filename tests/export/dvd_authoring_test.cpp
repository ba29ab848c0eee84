// Builds real DVDs from Generated_spumux.xml the way the converter tells the user to: ffmpeg
// makes a short test video, spumux puts the pictures in, dvdauthor builds VIDEO_TS. Then the
// VOB's subtitles must show every cue at its time with the SUP stream's pixels, and the IFO's
// palette must hold the colours of the roles.

#include "av_subtitles.h"
#include "export/spumux_colours.h"
#include "export/stream_set_outputs.h"
#include "generated_outputs.h"
#include "palette/generic_palette.h"
#include "palette/ifo_reader.h"
#include "sup/generation.h"
#include "test_files.h"
#include "tool_run.h"

#include <gtest/gtest.h>

#include <QRegularExpression>
#include <QTemporaryDir>

namespace marvoxa {
namespace {

// Decoded colours that name palette entries: entry k shows as 0x102030 + k * 0x010101.
QList<quint32> EntryColours() {
    QList<quint32> colours;
    for (quint32 entry = 0; entry < 16; ++entry) {
        colours << 0x102030u + entry * 0x010101u;
    }
    return colours;
}

// A palette entry's Y Cr Cb packed as one colour, so that frames can be compared by it.
quint32 Packed(const YCrCb& colour) {
    return 0xff000000u | static_cast<quint32>(colour.y << 16 | colour.cr << 8 | colour.cb);
}

// What the DVD's palette can hold for an entry: itself when spumux can make it.
YCrCb OnDvd(const PaletteEntry& entry) {
    return SpumuxYCrCb(SpumuxColourFor({entry.y, entry.cr, entry.cb}));
}

void ExpectDvdShowsTheCues(const CueList& cues, const RenderSettings& settings,
                           const Palette& palette, const ColourRoles& roles) {
    const bool pal = settings.standard == VideoStandard::Pal;
    const int height = FrameHeight(settings.standard);
    QTemporaryDir folder;
    const test::GeneratedOutputs generated =
        test::GenerateWithOutputs(cues, settings, palette, roles, folder.path());
    ASSERT_EQ(generated.packets.size(), static_cast<qsizetype>(cues.cues.size()));

    const qint64 lastEndMs = cues.cues.back().startMs + cues.cues.back().durationMs;
    const QString video = QStringLiteral("color=c=gray:s=720x%1:r=%2:d=%3")
                              .arg(height)
                              .arg(pal ? QStringLiteral("25") : QStringLiteral("30000/1001"))
                              .arg(static_cast<double>(lastEndMs) / 1000 + 1);
    test::RunTool(QStringLiteral("ffmpeg"),
                  test::Words("-nostdin -loglevel error -f lavfi -i")
                      << video
                      << test::Words(pal ? "-aspect 4:3 -target pal-dvd -an VIDEO.mpg"
                                         : "-aspect 4:3 -target ntsc-dvd -an VIDEO.mpg"),
                  folder.path());
    // The commands the converter prints.
    const QString spumuxLog =
        test::RunTool(QStringLiteral("spumux"), test::Words("-s 0 Generated_spumux.xml"),
                      folder.path(), folder.filePath(QStringLiteral("VIDEO.mpg")),
                      folder.filePath(QStringLiteral("subtitled.mpg")));
    EXPECT_TRUE(spumuxLog.contains(
        QStringLiteral("%1 subtitles added, 0 subtitles skipped").arg(cues.cues.size())))
        << spumuxLog.toStdString();
    qputenv("VIDEO_FORMAT", pal ? "PAL" : "NTSC");
    test::RunTool(QStringLiteral("dvdauthor"), test::Words("-o DVD -t -s en subtitled.mpg"),
                  folder.path());
    test::RunTool(QStringLiteral("dvdauthor"), test::Words("-o DVD -T"), folder.path());

    // The title set's palette, read as Marvoxa reads any IFO.
    const Result<IfoPaletteData> ifo =
        ReadIfoPalette(folder.filePath(QStringLiteral("DVD/VIDEO_TS/VTS_01_0.IFO")));
    ASSERT_TRUE(ifo.ok()) << ifo.error().message.toStdString();
    EXPECT_EQ(VideoStandardFromAttributes(ifo.value().videoAttributes), settings.standard);
    QList<quint32> dvdPalette;
    for (const quint32 stored : ifo.value().storedValues) {
        dvdPalette << (0xff000000u | (stored & 0xffffffu));
    }
    for (const int role : {roles.antialias, roles.outline, roles.text}) {
        const PaletteEntry& entry = palette.entries[static_cast<size_t>(role)];
        EXPECT_TRUE(dvdPalette.contains(Packed(OnDvd(entry))))
            << "entry " << role << " is missing from the DVD's palette";
    }

    const test::ShownFile vob =
        test::DecodeSubtitleFile(folder.filePath(QStringLiteral("DVD/VIDEO_TS/VTS_01_1.VOB")),
                                 test::PaletteOption(EntryColours()), height);
    ASSERT_EQ(vob.cues.size(), generated.packets.size());
    QList<quint32> expectedColours;
    for (const PaletteEntry& entry : palette.entries) {
        expectedColours << Packed(OnDvd(entry));
    }
    const qint64 frameTicks = pal ? 3600 : 3003;
    for (qsizetype cue = 0; cue < vob.cues.size(); ++cue) {
        SCOPED_TRACE("cue " + std::to_string(cue + 1));
        const qint64 shownAt = vob.cues[cue].presentationTime - vob.videoStartTime;
        EXPECT_LE(std::abs(shownAt - generated.packets[cue].presentationTime), frameTicks);
        EXPECT_LE(
            std::abs(vob.cues[cue].endDisplayMs - cues.cues[static_cast<size_t>(cue)].durationMs),
            frameTicks / 90);

        // The VOB's pixels name entries of the DVD's palette; compare their Y Cr Cb.
        QImage shown = vob.cues[cue].frame;
        for (int row = 0; row < height; ++row) {
            auto* line = reinterpret_cast<QRgb*>(shown.scanLine(row));
            for (int column = 0; column < 720; ++column) {
                if (line[column] != 0) {
                    line[column] =
                        dvdPalette.value(EntryColours().indexOf(line[column] & 0xffffffu));
                }
            }
        }
        const test::ShownCue expected = test::DecodeUnit(
            generated.packets[cue].unit, test::PaletteOption(expectedColours), height);
        EXPECT_GT(test::OpaquePixels(expected.frame), 0);
        EXPECT_TRUE(shown == expected.frame) << "the DVD shows other pixels";
    }
}

TEST(DvdAuthoring, PalDiscWithTheGenericPaletteShowsEveryCue) {
    // Black and white lie outside what spumux can make: the DVD gets 10 80 80 and EB 80 80,
    // which players show as the same black and white.
    const Palette palette = GenericPalette();
    EXPECT_TRUE(OnDvd(palette.entries[0]) == (YCrCb{0x10, 0x80, 0x80}));
    EXPECT_TRUE(OnDvd(palette.entries[1]) == (YCrCb{0x55, 0x80, 0x80}));
    EXPECT_TRUE(OnDvd(palette.entries[3]) == (YCrCb{0xeb, 0x80, 0x80}));
    ExpectDvdShowsTheCues(test::EdgeCues(200, 700, 500), RenderSettings{}, palette, kGenericRoles);
}

TEST(DvdAuthoring, NtscDiscWithAnIfoPaletteGetsThatPalettesOwnEntries) {
    const Palette palette = PaletteFromStoredValues(
        {0x00108080, 0x00808080, 0x00eb8080, 0x00d29210, 0x0051f05a, 0x00296ef0, 0x00912236,
         0x00376f94, 0x00d2916c, 0x00a28080, 0x00598080, 0x001e8080, 0x00da8080, 0x00108080,
         0x00108080, 0x00108080});
    for (const int entry : {0, 1, 3}) {
        const PaletteEntry& used = palette.entries[static_cast<size_t>(entry)];
        EXPECT_TRUE(OnDvd(used) == (YCrCb{used.y, used.cr, used.cb})) << entry;
    }
    RenderSettings settings;
    settings.standard = VideoStandard::Ntsc;
    settings.align = QStringLiteral("left");
    settings.outlineWidth = 2;
    ExpectDvdShowsTheCues(test::EdgeCues(300, 633, 400), settings, palette,
                          ColourRoles{1, 0, 3, 0});
}

TEST(DvdAuthoring, SeveralStreamsGoOnTheDiscThatGeneratedDvdauthorXmlDescribes) {
    QTemporaryDir folder;
    const Palette palette = GenericPalette();
    const RenderSettings settings;
    const std::vector<CueList> cues{
        test::EdgeCues(200, 700, 500),
        test::SpacedCues({{QStringLiteral("Zwei"), QString()}, {QStringLiteral("Drei"), QString()}},
                         400, 1000, 600)};
    const StreamSetOutputs outputs =
        MakeStreamSetOutputs({.dvdauthor = true}, {QStringLiteral("fr"), QStringLiteral("de")},
                             folder.path(), settings.standard, palette);
    std::vector<GenerationRequest> requests(cues.size());
    for (size_t i = 0; i < cues.size(); ++i) {
        requests[i].cueList = &cues[i];
        requests[i].renderSettings = [&] { return settings; };
        requests[i].colourRoles = [] { return kGenericRoles; };
        requests[i].roleColours = palette.roleColours(kGenericRoles);
        requests[i].outputFolder = folder.path();
        requests[i].streamFileName = QStringLiteral("Generated.%1.sup").arg(i);
        requests[i].streamIndex = static_cast<int>(i);
        requests[i].extraOutputs = outputs.ofStream(i);
    }
    const auto streams = GenerateSupStreams(requests, outputs.sharedOutputs());
    ASSERT_TRUE(streams.ok()) << streams.error().message.toStdString();
    test::RunTool(
        QStringLiteral("ffmpeg"),
        test::Words("-nostdin -loglevel error -f lavfi -i color=c=gray:s=720x576:r=25:d=4 "
                    "-aspect 4:3 -target pal-dvd -an VIDEO.mpg"),
        folder.path());
    // The runs the project's head names, in its order, then dvdauthor on the project.
    const QString project = QString::fromUtf8(
        test::ReadFile(folder.filePath(QStringLiteral("Generated_dvdauthor.xml"))));
    const QRegularExpression run(QStringLiteral("spumux -s (\\d) (\\S+) < (\\S+) > (\\S+)"));
    int runs = 0;
    for (auto match = run.globalMatch(project); match.hasNext(); ++runs) {
        const QRegularExpressionMatch found = match.next();
        EXPECT_EQ(found.captured(1).toInt(), runs);
        test::RunTool(QStringLiteral("spumux"),
                      {QStringLiteral("-s"), found.captured(1), found.captured(2)}, folder.path(),
                      folder.filePath(found.captured(3)), folder.filePath(found.captured(4)));
    }
    EXPECT_EQ(runs, 2);
    qputenv("VIDEO_FORMAT", "PAL");
    test::RunTool(QStringLiteral("dvdauthor"), test::Words("-x Generated_dvdauthor.xml"),
                  folder.path());
    test::RunTool(QStringLiteral("lsdvd"),
                  {QStringLiteral("-s"), folder.filePath(QStringLiteral("DVD"))}, folder.path(), {},
                  folder.filePath(QStringLiteral("lsdvd.txt")));
    const QString listing =
        QString::fromUtf8(test::ReadFile(folder.filePath(QStringLiteral("lsdvd.txt"))));
    EXPECT_TRUE(listing.contains(QRegularExpression(
        QStringLiteral("Language: fr.*Stream id: 0x20.*\\n.*Language: de.*Stream id: 0x21"))))
        << listing.toStdString();
    for (size_t i = 0; i < cues.size(); ++i) {
        SCOPED_TRACE("stream " + std::to_string(i));
        const QList<test::SupStreamPacket> units =
            test::ReadSupStream(test::ReadFile(streams.value()[i].streamPath));
        const test::ShownFile vob =
            test::DecodeSubtitleFile(folder.filePath(QStringLiteral("DVD/VIDEO_TS/VTS_01_1.VOB")),
                                     {}, 576, static_cast<int>(i));
        ASSERT_EQ(vob.cues.size(), units.size());
        for (qsizetype cue = 0; cue < units.size(); ++cue) {
            const qint64 shownAt = vob.cues[cue].presentationTime - vob.videoStartTime;
            EXPECT_LE(std::abs(shownAt - units[cue].presentationTime), 3600) << cue;
        }
    }
}

}  // namespace
}  // namespace marvoxa
