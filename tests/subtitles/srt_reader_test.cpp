#include "subtitles/srt_reader.h"
#include "cue_printing.h"
#include "subtitles/raw_lines.h"
#include "subtitles/srt_timing_line.h"

#include <gtest/gtest.h>

namespace marvoxa {
namespace {

CueReading ReadSrt(const QByteArray& text) {
    return ReadSrtCues(SplitRawLines(text));
}

TEST(TimecodeToMs, AddsTheFieldsAndIgnoresTheSeparators) {
    EXPECT_EQ(TimecodeToMs(QByteArrayLiteral("01:02:03,45")).value(), 3723450.0);
    EXPECT_EQ(TimecodeToMs(QByteArrayLiteral("01.02.03.45")).value(), 3723450.0);
    EXPECT_EQ(TimecodeToMs(QByteArrayLiteral("99:59:59,99")).value(), 359999990.0);

    const Result<double> bad = TimecodeToMs(QByteArrayLiteral("0a:00:00,00"));
    ASSERT_FALSE(bad.ok());
    EXPECT_EQ(bad.error().message, QStringLiteral("'0a' is not a valid integer value"));
}

struct TimingCase {
    const char* line;
    qint32 startMs;
    qint32 durationMs;
};

class SrtTimingLines : public ::testing::TestWithParam<TimingCase> {};

TEST_P(SrtTimingLines, GiveStartAndDurationAtTenMillisecondResolution) {
    const QByteArray text = QByteArray(GetParam().line) + QByteArrayLiteral("\nText\n");
    const CueReading reading = ReadSrt(text);
    ASSERT_FALSE(reading.error.has_value()) << reading.error->message.toStdString();
    EXPECT_EQ(reading.unreadableTimingLines, 0);
    ASSERT_EQ(reading.cues.size(), 1u);
    EXPECT_EQ(reading.cues[0].startMs, GetParam().startMs);
    EXPECT_EQ(reading.cues[0].durationMs, GetParam().durationMs);
}

INSTANTIATE_TEST_SUITE_P(
    Strict, SrtTimingLines,
    ::testing::Values(TimingCase{"00:00:01,999 --> 00:00:02,005", 1990, 10},
                      TimingCase{"01:02:03,456 --> 01:02:04,000", 3723450, 550},
                      TimingCase{"00:00:05,000 --> 00:00:04,000", 5000, -1000},
                      // 58 characters: everything after the 29th is ignored.
                      TimingCase{"00:00:01,000 --> 00:00:02,500X1:0400 X2:6800 Y1:400 Y2:450", 1000,
                                 1500},
                      // Classic length by chance with one-digit hours, read leniently.
                      TimingCase{"0:00:01,000  --> 0:00:02,000 ", 1000, 1000}));

INSTANTIATE_TEST_SUITE_P(
    Lenient, SrtTimingLines,
    ::testing::Values(TimingCase{"00:00:01,000 --> 00:00:02,000   ", 1000, 1000},
                      TimingCase{"1:02:03,456 --> 1:02:04,000", 3723450, 550},
                      TimingCase{"00:00:01,999-->00:00:02,005", 1990, 10},
                      TimingCase{"00:00:01.5 --> 00:00:02.25", 1500, 750},
                      TimingCase{"  00:00:01,000 --> 00:00:02,000 X1:1 X2:2", 1000, 1000},
                      TimingCase{"00:00:01,000 --> 00:00:02,000\tX1:100 X2:600 Y1:400 Y2:450 "
                                 "and more marks",
                                 1000, 1000}));

TEST(SrtReader, CountsUnreadableTimingLinesAndKeepsReading) {
    const CueReading reading = ReadSrt(
        "1\n00:00:01,000 --> 00:00:02,000\nOne\n\n"
        "2\n00:00:03 --> 00:00:04\nLost\n\n"
        "3\n00:00:05,000 --> 00:00:06,000x\nLost too\n\n"
        "4\n00:00:07,000 --> 00:00:08,000\nFour\n");
    EXPECT_FALSE(reading.error.has_value());
    EXPECT_EQ(reading.unreadableTimingLines, 2);
    EXPECT_EQ(reading.firstUnreadableLineNumber, 6);
    ASSERT_EQ(reading.cues.size(), 2u);
    EXPECT_EQ(reading.cues[0].firstLine, QByteArrayLiteral("One"));
    EXPECT_EQ(reading.cues[1].firstLine, QByteArrayLiteral("Four"));
}

TEST(SrtReader, StopsAtAClassicTimingLineWithANonIntegerField) {
    const CueReading reading = ReadSrt(
        "00:00:01,000 --> 00:00:02,000\nKept\n\n"
        "00:00:0x,000 --> 00:00:04,000\nStops here\n\n"
        "00:00:05,000 --> 00:00:06,000\nNever read\n");
    ASSERT_TRUE(reading.error.has_value());
    EXPECT_EQ(reading.error->kind, ErrorKind::Conversion);
    EXPECT_EQ(reading.error->message, QStringLiteral("'0x' is not a valid integer value"));
    ASSERT_EQ(reading.cues.size(), 1u);
    EXPECT_EQ(reading.cues[0].firstLine, QByteArrayLiteral("Kept"));
}

struct LayoutCase {
    const char* name;
    const char* text;
    std::vector<Cue> cues;
};

class SrtCueLayouts : public ::testing::TestWithParam<LayoutCase> {};

TEST_P(SrtCueLayouts, TakeTheTwoLinesAfterEachTimingLine) {
    const CueReading reading = ReadSrt(GetParam().text);
    EXPECT_FALSE(reading.error.has_value());
    EXPECT_EQ(reading.cues, GetParam().cues);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, SrtCueLayouts,
    ::testing::Values(
        LayoutCase{"TwoLinesAndTextKeptAsIs",
                   "1\n00:00:01,000 --> 00:00:02,000\n<i>Hello</i> \n  World\n\n",
                   {{1000, 1000, "<i>Hello</i> ", "  World", "<i>Hello</i>  |   World"}}},
        LayoutCase{"ThirdLineIgnored",
                   "1\n00:00:01,000 --> 00:00:02,000\nA\nB\nC\n\n",
                   {{1000, 1000, "A", "B", "A | B"}}},
        LayoutCase{
            "NextCueNumberTakenAsSecondLine",
            "1\n00:00:01,000 --> 00:00:02,000\nOnly\n2\n00:00:03,000 --> 00:00:04,000\nNext\n",
            {{1000, 1000, "Only", "2", "Only | 2"}, {3000, 1000, "Next", "", "Next"}}},
        LayoutCase{"LastCueWithoutTrailingLineEnd",
                   "1\n00:00:01,000 --> 00:00:02,000\nLast",
                   {{1000, 1000, "Last", "", "Last"}}},
        LayoutCase{"TimingLineAfterTimingLine",
                   "00:00:01,000 --> 00:00:02,000\n00:00:03,000 --> 00:00:04,000\nText\n",
                   {{1000, 1000, "00:00:03,000 --> 00:00:04,000", "Text",
                     "00:00:03,000 --> 00:00:04,000 | Text"},
                    {3000, 1000, "Text", "", "Text"}}},
        LayoutCase{"TimingLineBeforeEmptyLineDropped",
                   "1\n00:00:01,000 --> 00:00:02,000\n\n2\n00:00:03,000 --> 00:00:04,000\nKept\n",
                   {{3000, 1000, "Kept", "", "Kept"}}}),

    [](const ::testing::TestParamInfo<LayoutCase>& param) { return param.param.name; });

}  // namespace
}  // namespace marvoxa
