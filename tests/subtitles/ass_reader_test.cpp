#include "subtitles/ass_reader.h"
#include "drawn_cues.h"
#include "subtitles/raw_lines.h"
#include "subtitles/subtitle_messages.h"

namespace marvoxa {
namespace {

// several_styles.ass: 9 event lines, 2 of them Comment lines, 1 a drawing only; 6 cues remain,
// the first three overlapping.
const std::vector<test::ExpectedCue> kSeveralStyles = {
    {1000, 3000, "Καλημέρα, the boats are in.", "Καλημέρα, the boats are in."},
    {2500, 3500, "HARBOUR MASTER", R"({\an8}<b>HARBOUR MASTER</b>)"},
    {4200, 3600, "Already?|The sea was rough, very rough.", "<i>Already?</i>"},
    {8000, 2000, "I should have stayed home.", R"({\an1}<i>I should have stayed home.</i>)"},
    {10000, 2000, "Upstairs a radio plays.", R"({\an8}Upstairs a radio plays.)"},
    {12500, 1500, "La la la, Fish & chips <3", "La la la, Fish &amp; chips &lt;3"},
};

TEST(ReadAssCues, ReadsEachFilesEventsWithTheirStyles) {
    const QString drawingLeftOut = TextlessCuesNotice(1, 10000);
    test::ExpectDrawnCues("several_styles.ass", kSeveralStyles, drawingLeftOut);
    test::ExpectDrawnCues("several_styles_utf16le.ass", kSeveralStyles, drawingLeftOut);
    // old_style.ssa: SSA v4, 3 events; style alignment 6 is the top centre, {\a1} bottom left.
    test::ExpectDrawnCues("old_style.ssa",
                          {{1000, 2000, "Bold by its style", "<b>Bold by its style</b>"},
                           {3000, 2000, "Italic at the top", R"({\an8}<i>Italic at the top</i>)"},
                           {5000, 2000, "Bottom left|second line", R"({\an1}<b>Bottom left</b>)"}});
    // odd_forms.ass: CR line ends, lower-case sections and keys, indented lines, a shortened
    // Format line in another order, fractions of none, one and three digits, a two-digit hour;
    // 3 Dialogue lines.
    test::ExpectDrawnCues(
        "odd_forms.ass",
        {{1000, 1500, "No fraction, one digit", "No fraction, one digit"},
         {3125, 875, "Indented, three digits", R"({\an8}<i>Indented, three digits</i>)"},
         {3600000, 1000, "An hour in", "An hour in"}});
}

TEST(ReadAssCues, RefusesFilesWithoutEventsAndCountsUnreadableTimes) {
    const QByteArray binary = QByteArray::fromHex("89504e470d0a1a0a0000000d49484452") +
                              QByteArray(300, '\xff') + QByteArray(200, '\0');
    for (const QByteArray& bytes :
         {QByteArray("[Script Info]\nTitle: x\n[V4+ Styles]\nStyle: Default,Arial\n"),
          QByteArray("1\n00:00:01,000 --> 00:00:02,000\nAn SRT named .ass\n"), binary}) {
        const SubtitleLoad load = LoadSubtitleBytes(bytes, QStringLiteral("x.ass"));
        ASSERT_TRUE(load.error.has_value());
        EXPECT_EQ(load.error->kind, ErrorKind::Format);
        EXPECT_EQ(load.error->message, kNoAssEventsMessage);
    }
    const SubtitleLoad load = LoadSubtitleBytes(
        "[Events]\nDialogue: 0,0:00:01.00,later,Default,,0,0,0,,x\n"
        "Dialogue: 0,0:00:02.00,0:00:03.00,Default,,0,0,0,,kept\nDialogue: 0,1:2:3:4,x\n"
        "Dialogue: 0,0:00:04:56,0:01:00:05,Default,,0,0,0,,centiseconds after a colon\n",
        QStringLiteral("x.ssa"));
    EXPECT_FALSE(load.error.has_value());
    ASSERT_EQ(load.cueList.cues.size(), 2u);
    EXPECT_EQ(load.cueList.cues[1].startMs, 4560);
    EXPECT_EQ(load.cueList.cues[1].durationMs, 60050 - 4560);
    EXPECT_EQ(load.notice, UnreadableTimingLinesNotice(2, 2, kAssTimingExample));
}

}  // namespace
}  // namespace marvoxa
