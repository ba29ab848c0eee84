// Text subtitle tracks of MKV, MP4 and WebM files that mkvmerge and ffmpeg make here, read back
// against ffprobe's packets, and the converter's refusals of what holds no text.

#include "subtitles/cue_lines.h"
#include "subtitles/subtitle_loader.h"
#include "test_files.h"
#include "tool_run.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <memory>

namespace marvoxa {
namespace {

using test::RunTool;

// Three subtitles; the first with a tag and two lines.
const QByteArray kDialogueSrt = QByteArrayLiteral(
    "1\n00:00:01,000 --> 00:00:02,500\n<i>Hello</i> there\nsecond line\n\n"
    "2\n00:00:03,000 --> 00:00:04,000\nBye\n\n"
    "3\n00:00:05,250 --> 00:00:07,000\nThe end\n");
// Two events that overlap; the sign's style places it at the top (8), bold.
const QByteArray kSignsAss = QByteArrayLiteral(
    "[Script Info]\nScriptType: v4.00+\n\n[V4+ Styles]\n"
    "Format: Name, Fontname, Fontsize, PrimaryColour, SecondaryColour, OutlineColour, BackColour, "
    "Bold, Italic, Underline, StrikeOut, ScaleX, ScaleY, Spacing, Angle, BorderStyle, Outline, "
    "Shadow, Alignment, MarginL, MarginR, MarginV, Encoding\n"
    "Style: Default,Arial,20,&H00FFFFFF,&H000000FF,&H00000000,&H00000000,0,0,0,0,100,100,0,0,1,"
    "2,2,2,10,10,10,1\n"
    "Style: Sign,Arial,20,&H00FFFFFF,&H000000FF,&H00000000,&H00000000,-1,0,0,0,100,100,0,0,1,2,"
    "2,8,10,10,10,1\n\n[Events]\n"
    "Format: Layer, Start, End, Style, Name, MarginL, MarginR, MarginV, Effect, Text\n"
    "Dialogue: 0,0:00:01.50,0:00:03.00,Default,,0,0,0,,Γειά {\\i1}σου{\\i0}\\Nκόσμε\n"
    "Dialogue: 0,0:00:02.00,0:00:05.00,Sign,,0,0,0,,{\\pos(10,10)}ROAD, SIGN\n");

class ContainerSubtitles : public ::testing::Test {
public:
    // The containers, made once: a VobSub track (pictures the converter draws), then the SRT
    // and the ASS; MP4 the same with mov_text; WebM a VP8 video, then the two as WebVTT.
    static void SetUpTestSuite() {
        folder_ = std::make_unique<QTemporaryDir>();
        const QString dir = folder_->path();
        test::WriteFile(*folder_, QStringLiteral("dialogue.srt"), kDialogueSrt);
        test::WriteFile(*folder_, QStringLiteral("signs.ass"), kSignsAss);
        RunTool(QStringLiteral(MARVOXA_CLI),
                test::Words("--also vobsub --output-dir pictures dialogue.srt"), dir);
        RunTool(QStringLiteral("mkvmerge"),
                test::Words("-q -o three.mkv pictures/Generated.idx --language 0:eng "
                            "--track-name 0:Dialogue dialogue.srt --language 0:gre signs.ass"),
                dir);
        RunTool(QStringLiteral("mkvmerge"),
                test::Words("-q -o pictures.mkv pictures/Generated.idx"), dir);
        RunTool(QStringLiteral("ffmpeg"),
                test::Words("-loglevel error -i three.mkv -map 0 -c:s:0 copy -c:s:1 mov_text "
                            "-c:s:2 mov_text three.mp4"),
                dir);
        RunTool(QStringLiteral("ffmpeg"),
                test::Words("-loglevel error -f lavfi -i color=s=64x64:r=1:d=8 -i dialogue.srt "
                            "-i signs.ass -map 0 -map 1 -map 2 -c:v libvpx -c:s webvtt "
                            "three.webm"),
                dir);
        // Cut inside the last subtitle's block, as an interrupted copy would.
        const qint64 lastPacket = Probe(QStringLiteral("-show_entries packet=pos three.mkv"))
                                      .trimmed()
                                      .split('\n')
                                      .last()
                                      .toLongLong();
        QFile whole(folder_->filePath(QStringLiteral("three.mkv")));
        EXPECT_TRUE(lastPacket > 0 && whole.open(QIODevice::ReadOnly));
        test::WriteFile(*folder_, QStringLiteral("truncated.mkv"), whole.read(lastPacket + 2));
    }
    static void TearDownTestSuite() { folder_.reset(); }

    static QString path(const char* name) { return folder_->filePath(QString::fromUtf8(name)); }

    // What ffprobe prints for the arguments, one value per column.
    static QByteArray Probe(const QString& arguments) {
        const QString output = folder_->filePath(QStringLiteral("probed.csv"));
        RunTool(QStringLiteral("ffprobe"),
                test::Words("-v error -of csv=p=0") + arguments.split(u' '), folder_->path(), {},
                output);
        return test::ReadFile(output);
    }

    static std::unique_ptr<QTemporaryDir> folder_;
};

std::unique_ptr<QTemporaryDir> ContainerSubtitles::folder_;

struct Shown {
    qint32 startMs;
    qint32 durationMs;
    friend bool operator==(const Shown&, const Shown&) = default;
};

// The subtitle packets of ffprobe's stream s:N with their times; mov_text's two-byte empty
// samples, which only fill the gaps between subtitles, are not subtitles.
std::vector<Shown> ProbedPackets(const char* file, int subtitleStream) {
    std::vector<Shown> packets;
    const QByteArray probed =
        ContainerSubtitles::Probe(QStringLiteral("-select_streams s:%1 -show_entries "
                                                 "packet=pts_time,duration_time,size %2")
                                      .arg(subtitleStream)
                                      .arg(QString::fromUtf8(file)));
    for (const QByteArray& line : probed.split('\n')) {
        const QList<QByteArray> fields = line.split(',');
        if (fields.size() == 3 && fields[2].toInt() > 2) {
            packets.push_back(
                {qRound(fields[0].toDouble() * 1000), qRound(fields[1].toDouble() * 1000)});
        }
    }
    return packets;
}

struct TrackCase {
    const char* file;
    int track;          // --track; 0: the first text track
    int probedStream;   // the same track as ffprobe's s:N
    const char* drawn;  // each cue's lines joined by "|", "{N}" before a cue placed at N
};

class ContainerTrack : public ContainerSubtitles,
                       public ::testing::WithParamInterface<TrackCase> {};

// mov_text and WebVTT keep no ASS styles, so the sign is placed at the top only in MKV.
INSTANTIATE_TEST_SUITE_P(
    EveryContainer, ContainerTrack,
    ::testing::Values(TrackCase{"three.mkv", 0, 1, "Hello there|second line;Bye;The end"},
                      TrackCase{"three.mkv", 3, 2, "Γειά σου|κόσμε;{8}ROAD, SIGN"},
                      TrackCase{"three.mp4", 0, 1, "Hello there|second line;Bye;The end"},
                      TrackCase{"three.mp4", 3, 2, "Γειά σου|κόσμε;ROAD, SIGN"},
                      TrackCase{"three.webm", 0, 0, "Hello there|second line;Bye;The end"},
                      TrackCase{"three.webm", 2, 1, "Γειά σου|κόσμε;ROAD, SIGN"}));

TEST_P(ContainerTrack, ShowsEveryPacketAtItsTimeWithItsText) {
    const TrackCase& row = GetParam();
    const SubtitleLoad load = LoadSubtitleFile(path(row.file), MarkupMode::Render, row.track);
    ASSERT_FALSE(load.error) << load.error->message.toStdString();
    std::vector<Shown> shown;
    QStringList drawn;
    RenderSettings settings;
    settings.text = TextOptions{MarkupMode::Render, false, true};
    for (size_t i = 0; i < load.cueList.cues.size(); ++i) {
        shown.push_back({load.cueList.cues[i].startMs, load.cueList.cues[i].durationMs});
        const CueLines lines = DrawnCueLines(load.cueList, i, settings);
        QStringList texts;
        for (const StyledLine& line : lines.drawn) {
            texts << line.text();
        }
        drawn << (lines.placement != 0 ? QStringLiteral("{%1}").arg(lines.placement) : QString()) +
                     texts.join(u'|');
    }
    EXPECT_EQ(shown, ProbedPackets(row.file, row.probedStream));
    EXPECT_EQ(drawn.join(u';').toStdString(), std::string(row.drawn));
}

struct ConverterRun {
    QStringList arguments;
    int exitCode;
    QStringList saying;
};

TEST_F(ContainerSubtitles, TheConverterRefusesWhatHoldsNoTextAndNamesTheTracks) {
    const QString signs = QStringLiteral("  subtitle 3: ass, gre");
    const QString pictures =
        QStringLiteral("Picture subtitles (dvd_subtitle, hdmv_pgs_subtitle) hold no text to draw.");
    const std::vector<ConverterRun> cases{
        {{QStringLiteral("pictures.mkv")},
         1,
         {QStringLiteral("pictures.mkv has no text subtitle track to convert. Its tracks:\n"
                         "  subtitle 1: dvd_subtitle, eng\n") +
          pictures}},
        {{QStringLiteral("--track"), QStringLiteral("1"), QStringLiteral("three.mkv")},
         1,
         {QStringLiteral("Subtitle track 1 of three.mkv is dvd_subtitle, not text."),
          QStringLiteral("  subtitle 2: subrip, eng, \"Dialogue\"\n") + signs, pictures}},
        {{QStringLiteral("--track=4"), QStringLiteral("three.mp4")},
         1,
         {QStringLiteral("three.mp4 has no subtitle track 4."), QStringLiteral("subtitle 3: "
                                                                               "mov_text")}},
        {{QStringLiteral("truncated.mkv")},
         1,
         {QStringLiteral("truncated.mkv is damaged or cut short; libavformat stopped reading "
                         "it: File ended prematurely")}},
        {{QStringLiteral("--track"), QStringLiteral("2"), QStringLiteral("dialogue.srt")},
         2,
         {QStringLiteral("--track goes with a video container")}},
        {{QStringLiteral("--track"), QStringLiteral("2"), QStringLiteral("three.webm")}, 0, {}},
    };
    for (const ConverterRun& refusal : cases) {
        SCOPED_TRACE(refusal.arguments.join(u' ').toStdString());
        QProcess converter;
        converter.setWorkingDirectory(folder_->path());
        converter.start(
            QStringLiteral(MARVOXA_CLI),
            QStringList{QStringLiteral("--output-dir"), QStringLiteral("out")} + refusal.arguments);
        ASSERT_TRUE(converter.waitForFinished(60'000));
        EXPECT_EQ(converter.exitStatus(), QProcess::NormalExit);
        EXPECT_EQ(converter.exitCode(), refusal.exitCode);
        const QString err = QString::fromUtf8(converter.readAllStandardError());
        for (const QString& words : refusal.saying) {
            EXPECT_TRUE(err.contains(words)) << err.toStdString();
        }
    }
}

// A drawing holds no text: it is left out, and the notice says so.
TEST_F(ContainerSubtitles, ATracksEventsWithoutTextAreLeftOutWithANotice) {
    test::WriteFile(*folder_, QStringLiteral("drawing.ass"),
                    QByteArray(kSignsAss).append(
                        "Dialogue: 0,0:00:06.00,0:00:07.00,Default,,0,0,0,,{\\p1}m 0 0 l 9 9\n"));
    RunTool(QStringLiteral("mkvmerge"), test::Words("-q -o drawing.mkv drawing.ass"),
            folder_->path());
    const SubtitleLoad load = LoadSubtitleFile(path("drawing.mkv"), MarkupMode::Strip);
    EXPECT_EQ(load.cueList.cues.size(), 2u);
    EXPECT_EQ(load.notice, QStringLiteral("1 subtitle has no text to draw once its tags are "
                                          "removed and was left out: the one at 00:00:06,000."));
}

}  // namespace
}  // namespace marvoxa
