#include "subtitles/vtt_reader.h"
#include "drawn_cues.h"
#include "subtitles/raw_lines.h"
#include "subtitles/subtitle_messages.h"

namespace marvoxa {
namespace {

TEST(ReadVttCues, ReadsTheFilesCuesWithTheirSettingsAndSpans) {
    // cue_settings.vtt: header, STYLE, REGION and NOTE blocks, then 7 timing lines, three of
    // them without a blank line before, one after a line of blanks; the last cue holds only an
    // empty class span. line:0 is the top, line:-1 and line:85% the bottom.
    const std::vector<test::ExpectedCue> cues = {
        {1000, 2500, "Καλημέρα, the boats are in.", "Καλημέρα, the boats are in."},
        {3500, 1750, "Top left, & styled|second line", R"({\an7}Top left, &amp; <i>styled</i>)"},
        {6000, 1500, "Right, no blank line before", R"({\an3}Right, no blank line before)"},
        {8000, 1000, "Bottom karaoke", "<b>Bottom</b> <u>karaoke</u>"},
        {10000, 1000, "Two|lines <3", "<i>Two</i>"},
        {12000, 1000, "Numbered without a blank line", "Numbered without a blank line"},
    };
    const QString emptyLeftOut = TextlessCuesNotice(1, 14000);
    test::ExpectDrawnCues("cue_settings.vtt", cues, emptyLeftOut);
    test::ExpectDrawnCues("cue_settings_utf16be.vtt", cues, emptyLeftOut);
}

TEST(ReadVttCues, PlacesCuesByTheirLineAndAlignSettings) {
    const std::pair<const char*, const char*> cases[] = {
        {"line:0", R"({\an8}x)"},
        {"line:4 align:right", R"({\an9}x)"},
        {"line:5", "x"},
        {"line:30%,start", R"({\an8}x)"},
        {"line:31%", "x"},
        {"line:-12 align:start", R"({\an7}x)"},
        {"line:-11", "x"},
        {"align:left", R"({\an1}x)"},
        {"align:center line:x", "x"},
        {"size:50% position:10%", "x"},
    };
    for (const auto& [settings, line] : cases) {
        const CueReading reading =
            ReadVttCues({"WEBVTT", "", QByteArray("00:01.000 --> 00:02.000 ") + settings, "x"},
                        MarkupMode::Render);
        ASSERT_EQ(reading.cues.size(), 1u) << settings;
        EXPECT_EQ(reading.cues[0].firstLine, QByteArray(line)) << settings;
    }
}

TEST(ReadVttCues, RefusesAFileWithoutItsHeaderAndCountsUnreadableTimes) {
    for (const char* bytes : {"", "00:01.000 --> 00:02.000\nx\n", "WEBVTTX\n", " WEBVTT\n"}) {
        const SubtitleLoad load = LoadSubtitleBytes(bytes, QStringLiteral("x.vtt"));
        ASSERT_TRUE(load.error.has_value()) << bytes;
        EXPECT_EQ(load.error->kind, ErrorKind::Format);
        EXPECT_EQ(load.error->message, kNoWebVttHeaderMessage);
    }
    const SubtitleLoad load = LoadSubtitleBytes(
        "WEBVTT\tcomment\n\n1:00:x --> 2:00\nlost\n\n00:03.000 --> 00:04.0000\nlost too\n"
        "00:05.000 --> 00:06.000\nkept &bogus; &#233;\n",
        QStringLiteral("x.vtt"));
    ASSERT_EQ(load.cueList.cues.size(), 1u);
    EXPECT_EQ(load.cueList.cues[0].firstLine, QByteArray("kept &bogus; \xc3\xa9"));
    EXPECT_EQ(load.notice, UnreadableTimingLinesNotice(2, 3, kVttTimingExample));
}

}  // namespace
}  // namespace marvoxa
