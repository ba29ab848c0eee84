#include "pgs/pgs_output.h"
#include "../export/av_subtitles.h"
#include "../export/generated_outputs.h"
#include "../export/tool_run.h"
#include "pgs/pgs_format.h"
#include "render/hd_subtitle_drawing.h"
#include "small_disk.h"
#include "subtitles/cue_lines.h"
#include "subtitles/display_events.h"
#include "sup/generation.h"
#include "test_files.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace marvoxa {
namespace {

const RoleColours kColours{qRgb(128, 128, 128), qRgb(16, 16, 16), qRgb(250, 250, 250)};

Result<GeneratedStream> Generate(const CueList& cues, const RenderSettings& settings,
                                 PgsOutput& pgs, const QString& folder) {
    GenerationRequest request;
    request.cueList = &cues;
    request.renderSettings = [&] { return settings; };
    request.colourRoles = [] { return ColourRoles{3, 2, 1, 0}; };
    request.roleColours = kColours;
    request.outputFolder = folder;
    request.extraOutputs = {&pgs};
    return GenerateSupStream(request);
}

// The event as DrawHdSubtitle draws it, independent of the stream.
QImage DrawnEvent(const CueList& cues, const DisplayEvent& event, const RenderSettings& settings,
                  QSize video) {
    QList<PlacedLines> blocks;
    for (quint32 cue : event.cues) {
        const CueLines lines = DrawnCueLines(cues, cue, settings);
        blocks.append(PlacedLines{lines.drawn, lines.placement});
    }
    return CompositeHdSubtitle(DrawHdSubtitle(blocks, settings, video), video, kColours);
}

// The largest difference of a colour channel or alpha, colours weighed by their alpha: what
// a viewer could see over a picture.
int LargestDifference(const QImage& shown, const QImage& drawn) {
    int largest = 0;
    for (int y = 0; y < drawn.height(); ++y) {
        for (int x = 0; x < drawn.width(); ++x) {
            const QRgb a = shown.pixel(x, y);
            const QRgb b = drawn.pixel(x, y);
            const auto seen = [](QRgb c, int channel) { return channel * qAlpha(c) / 255; };
            largest = std::max({largest, std::abs(qAlpha(a) - qAlpha(b)),
                                std::abs(seen(a, qRed(a)) - seen(b, qRed(b))),
                                std::abs(seen(a, qGreen(a)) - seen(b, qGreen(b))),
                                std::abs(seen(a, qBlue(a)) - seen(b, qBlue(b)))});
        }
    }
    return largest;
}

// Coverage in 32 steps and the Y Cr Cb rounding of the palette.
constexpr int kPaletteRounding = 8;

// The segments of a .sup file: type and payload.
QList<QPair<int, QByteArray>> Segments(const QByteArray& file) {
    QList<QPair<int, QByteArray>> segments;
    for (qsizetype at = 0; at + 13 <= file.size();) {
        EXPECT_EQ(file.mid(at, 2), QByteArrayLiteral("PG"));
        const int size =
            static_cast<quint8>(file[at + 11]) << 8 | static_cast<quint8>(file[at + 12]);
        segments.append({static_cast<quint8>(file[at + 10]), file.mid(at + 13, size)});
        at += 13 + size;
    }
    return segments;
}

// Every event shown at its start as drawn and cleared at its end, unless the next begins there.
void ExpectEventsShown(const CueList& cues, const RenderSettings& settings, QSize video,
                       const test::ShownFile& shown) {
    const std::vector<DisplayEvent> events = DisplayEvents(cues).all();
    qsizetype at = 0;
    for (size_t i = 0; i < events.size(); ++i) {
        const DisplayEvent& event = events[i];
        ASSERT_LT(at, shown.cues.size()) << "event " << i;
        EXPECT_EQ(shown.cues[at].presentationTime, event.startMs * 90) << "event " << i;
        EXPECT_LE(LargestDifference(shown.cues[at].frame, DrawnEvent(cues, event, settings, video)),
                  kPaletteRounding)
            << "event " << i;
        ++at;
        const qint64 end = event.startMs + event.durationMs;
        if (i + 1 < events.size() && events[i + 1].startMs == end) {
            continue;
        }
        ASSERT_LT(at, shown.cues.size()) << "the end of event " << i;
        EXPECT_EQ(shown.cues[at].presentationTime, end * 90);
        EXPECT_EQ(test::OpaquePixels(shown.cues[at].frame), 0);
        ++at;
    }
    EXPECT_EQ(at, shown.cues.size());
}

CueList Film() {
    return test::SpacedCues({{QStringLiteral("Καλημέρα, Ρέθυμνο!"), QStringLiteral("Good morning")},
                             {QStringLiteral("One line, with accents: Ångström"), QString()},
                             {QStringLiteral("i"), QStringLiteral("Two <i>lines</i> here")},
                             {QStringLiteral("Ǻ̈ stacked marks"), QStringLiteral("gjpqy below")}},
                            1000, 2500, 2000);
}

struct SizeCase {
    const char* name;
    QSize video;
    int lines;  // drawn per cue; many at 4K make objects larger than one segment
};

class PgsSizes : public testing::TestWithParam<SizeCase> {};

TEST_P(PgsSizes, EveryDisplaySetDecodesAsDrawnAtItsTimeAndIsCleared) {
    QTemporaryDir folder;
    CueList cues = Film();
    RenderSettings settings;
    settings.text.markup = MarkupMode::Render;
    settings.text.allLines = GetParam().lines > 2;
    cues.furtherLines.assign(cues.cues.size(),
                             QList<QByteArray>(std::max(0, GetParam().lines - 2),
                                               QByteArrayLiteral("A further line of the cue")));
    PgsOutput pgs(folder.path(), GetParam().video, std::nullopt, false);
    const Result<GeneratedStream> stream = Generate(cues, settings, pgs, folder.path());
    ASSERT_TRUE(stream.ok()) << stream.error().message.toStdString();
    const QString path = pgs.paths().front();
    ExpectEventsShown(cues, settings, GetParam().video,
                      test::DecodePgsFile(path, GetParam().video));

    const auto segments = Segments(test::ReadFile(path));
    int firstOnly = 0;
    for (const auto& [type, payload] : segments) {
        if (type == 0x16) {  // the video descriptor: size and 23.976
            EXPECT_EQ(
                payload.left(5),
                QByteArray::fromHex(QStringLiteral("%1%2 10")
                                        .arg(GetParam().video.width(), 4, 16, QLatin1Char('0'))
                                        .arg(GetParam().video.height(), 4, 16, QLatin1Char('0'))
                                        .toLatin1()));
        }
        firstOnly += type == 0x15 && static_cast<quint8>(payload[3]) == 0x80 ? 1 : 0;
    }
    EXPECT_EQ(firstOnly > 0, GetParam().lines > 2) << "objects split into fragments";
}

INSTANTIATE_TEST_SUITE_P(Pgs, PgsSizes,
                         testing::Values(SizeCase{"FullHd", {1920, 1080}, 2},
                                         SizeCase{"Hd720", {1280, 720}, 2},
                                         SizeCase{"Pal", {720, 576}, 2},
                                         SizeCase{"UltraHdSplitObjects", {3840, 2160}, 5}),
                         [](const testing::TestParamInfo<SizeCase>& size) {
                             return std::string(size.param.name);
                         });

// A sign at the top while dialogue runs at the bottom: two objects in two windows.
TEST(PgsOutput, TwoPlacesAtOnceAreTwoObjectsInTwoWindows) {
    QTemporaryDir folder;
    CueList cues = test::SpacedCues({{QStringLiteral("Dialogue at the bottom"), QString()},
                                     {QStringLiteral("{\\an8}A SIGN AT THE TOP"), QString()}},
                                    1000, 1000, 3000);
    RenderSettings settings;
    settings.text.markup = MarkupMode::Strip;
    PgsOutput pgs(folder.path(), kDefaultPgsSize, std::nullopt, true);
    ASSERT_TRUE(Generate(cues, settings, pgs, folder.path()).ok());
    ExpectEventsShown(cues, settings, kDefaultPgsSize,
                      test::DecodePgsFile(pgs.paths().front(), kDefaultPgsSize));
    QList<int> objectCounts;
    for (const auto& [type, payload] : Segments(test::ReadFile(pgs.paths().front()))) {
        if (type == 0x16) {
            objectCounts << static_cast<quint8>(payload[10]);
            for (int object = 0; object < objectCounts.back(); ++object) {
                EXPECT_EQ(static_cast<quint8>(payload[11 + 8 * object + 3]), 0x40) << "forced";
            }
        }
    }
    EXPECT_EQ(objectCounts, (QList<int>{1, 2, 1, 0}));
}

TEST(PgsOutput, TheFrameRateIsTheSubtitleFilesUnlessGiven) {
    CueList cues = test::SpacedCues({{QStringLiteral("Frames"), QString()}}, 1000, 1000, 1000);
    cues.frameNumbered = true;
    cues.rawLines = {QByteArrayLiteral("{1}{1}25.000")};
    for (const auto& [given, expected] :
         {std::pair<std::optional<quint8>, int>{std::nullopt, 0x30}, {0x60, 0x60}}) {
        QTemporaryDir folder;
        PgsOutput pgs(folder.path(), kDefaultPgsSize, given, false);
        ASSERT_TRUE(Generate(cues, RenderSettings{}, pgs, folder.path()).ok());
        const auto segments = Segments(test::ReadFile(pgs.paths().front()));
        ASSERT_FALSE(segments.isEmpty());
        EXPECT_EQ(static_cast<quint8>(segments.front().second[4]), expected);
    }
    EXPECT_EQ(PgsRateCodeOf(CueList{}), kPgsRate23976);
}

TEST(PgsOutput, RefusesNamingTheCueWhatAPlayerCannotShow) {
    const struct {
        const char* why;
        CueList cues;
        QString named;
    } cases[] = {
        {"no time to decode before it",
         test::SpacedCues({{QStringLiteral("At once"), {}}}, 0, 0, 900),
         QStringLiteral("Subtitle 1 at 00:00:00,000")},
        {"too soon after the one before",
         test::SpacedCues({{QStringLiteral("First"), {}}, {QStringLiteral("Second"), {}}}, 1000, 30,
                          20),
         QStringLiteral("Subtitle 2 at 00:00:01,030")},
        {"out of time order",
         test::SpacedCues({{QStringLiteral("Later"), {}}, {QStringLiteral("Earlier"), {}}}, 5000,
                          -3000, 1000),
         QStringLiteral("Subtitle 2 at 00:00:02,000")},
        {"shown for no time", test::SpacedCues({{QStringLiteral("Never"), {}}}, 1000, 0, 0),
         QStringLiteral("Subtitle 1 at 00:00:01,000")},
    };
    for (const auto& refused : cases) {
        QTemporaryDir folder;
        PgsOutput pgs(folder.path(), kDefaultPgsSize, std::nullopt, false);
        const Result<GeneratedStream> stream =
            Generate(refused.cues, RenderSettings{}, pgs, folder.path());
        ASSERT_FALSE(stream.ok()) << refused.why;
        EXPECT_TRUE(stream.error().message.startsWith(refused.named))
            << refused.why << ": " << stream.error().message.toStdString();
        EXPECT_TRUE(QDir(folder.path()).entryList(QDir::Files).isEmpty()) << refused.why;
    }
}

// Cues with nothing to draw leave an empty event list: an empty stream.
TEST(PgsOutput, AnEmptyEventListIsAnEmptyStream) {
    QTemporaryDir folder;
    const CueList cues = test::SpacedCues({{QStringLiteral(" "), QString()}}, 1000, 1000, 1000);
    PgsOutput pgs(folder.path(), kDefaultPgsSize, std::nullopt, false);
    ASSERT_TRUE(Generate(cues, RenderSettings{}, pgs, folder.path()).ok());
    EXPECT_TRUE(QFile::exists(pgs.paths().front()));
    EXPECT_TRUE(test::ReadFile(pgs.paths().front()).isEmpty());
}

TEST(PgsOutput, AFullDiskKeepsTheEarlierFiles) {
    test::SmallDisk disk(64);
    ASSERT_TRUE(disk.mounted()) << disk.mountError().toStdString();
    const QString earlier = disk.filePath(QLatin1String(kPgsStreamFileName));
    {
        QFile file(earlier);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("earlier stream");
    }
    CueList cues;
    for (int i = 0; i < 40; ++i) {
        cues.cues.push_back({1000 + i * 1000,
                             900,
                             "A long line of a long film, drawn at 4K size",
                             "and its second line, wide as well",
                             {}});
    }
    PgsOutput pgs(disk.path(), QSize(3840, 2160), std::nullopt, false);
    const Result<GeneratedStream> stream = Generate(cues, RenderSettings{}, pgs, disk.path());
    ASSERT_FALSE(stream.ok());
    EXPECT_TRUE(stream.error().message.endsWith(QStringLiteral(": No space left on device")))
        << stream.error().message.toStdString();
    EXPECT_EQ(test::ReadFile(earlier), QByteArrayLiteral("earlier stream"));
    EXPECT_FALSE(QFile::exists(disk.filePath(QStringLiteral("Generated.sup"))));
}

// mkvmerge takes the stream as an HDMV PGS track; read back, it shows the same pictures.
TEST(PgsOutput, MkvmergeMuxesItAndFfprobeReadsTheSamePackets) {
    QTemporaryDir folder;
    const CueList cues = Film();
    PgsOutput pgs(folder.path(), kDefaultPgsSize, std::nullopt, false);
    ASSERT_TRUE(Generate(cues, RenderSettings{}, pgs, folder.path()).ok());
    test::RunTool(QStringLiteral("mkvmerge"),
                  {QStringLiteral("-q"), QStringLiteral("-o"), QStringLiteral("pgs.mkv"),
                   pgs.paths().front()},
                  folder.path());
    const QString mkv = folder.filePath(QStringLiteral("pgs.mkv"));
    const auto packets = [&](const QString& file) {
        const QString listing = folder.filePath(QStringLiteral("packets.csv"));
        test::RunTool(QStringLiteral("ffprobe"),
                      test::Words("-v error -select_streams s:0 -show_entries "
                                  "stream=codec_name:packet=pts_time,size -of csv=p=0") +
                          QStringList{file},
                      folder.path(), {}, listing);
        return QString::fromUtf8(test::ReadFile(listing)).split(QLatin1Char('\n'));
    };
    const QStringList fromMkv = packets(mkv);
    EXPECT_TRUE(fromMkv.contains(QStringLiteral("hdmv_pgs_subtitle")));
    // The .sup demuxer hands over segments; mkvmerge stores each display set as one packet.
    QStringList sets;
    qint64 size = 0;
    for (const auto& [type, payload] : Segments(test::ReadFile(pgs.paths().front()))) {
        size += 3 + payload.size();
        if (type == 0x80) {
            sets << QString::number(size);
            size = 0;
        }
    }
    QStringList mkvSizes;
    for (const QString& line : fromMkv) {
        if (line.contains(QLatin1Char(','))) {  // a packet's time and size
            mkvSizes << line.section(QLatin1Char(','), 1);
        }
    }
    EXPECT_EQ(mkvSizes, sets);
    const test::ShownFile fromSup = test::DecodePgsFile(pgs.paths().front(), kDefaultPgsSize);
    const test::ShownFile fromMatroska = test::DecodePgsFile(mkv, kDefaultPgsSize);
    ASSERT_EQ(fromMatroska.cues.size(), fromSup.cues.size());
    for (qsizetype i = 0; i < fromSup.cues.size(); ++i) {
        EXPECT_EQ(fromMatroska.cues[i].presentationTime, fromSup.cues[i].presentationTime);
        EXPECT_EQ(fromMatroska.cues[i].frame, fromSup.cues[i].frame);
    }
}

}  // namespace
}  // namespace marvoxa
