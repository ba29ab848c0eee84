#include "subtitles/sub_reader.h"
#include "cue_printing.h"
#include "subtitles/frame_rate.h"
#include "subtitles/raw_lines.h"
#include "subtitles/subtitle_messages.h"

#include <gtest/gtest.h>

namespace marvoxa {
namespace {

CueReading ReadSub(const QByteArray& text) {
    return ReadSubCues(SplitRawLines(text));
}

TEST(FrameRateFromText, AcceptsExactlyTheEightTexts) {
    const std::pair<const char*, long double> accepted[] = {
        {"23.976", 23.976L}, {"24.000", 24.0L},  {"24", 24.0L}, {"25.000", 25.0L},
        {"25", 25.0L},       {"29.970", 29.97L}, {"30", 30.0L}, {"30.000", 30.0L}};
    for (const auto& [text, framesPerSecond] : accepted) {
        EXPECT_EQ(FrameRateFromText(text), framesPerSecond) << text;
    }
    for (const char* refused : {"29.97", "23.98", "24.0", "25.000 ", " 25", "25\t", ""}) {
        EXPECT_FALSE(FrameRateFromText(refused).has_value()) << '"' << refused << '"';
    }
}

TEST(SubReader, ChecksOnlyTheFrameRateAfterTheFirstSixCharacters) {
    for (const char* firstLine : {"{1}{1}25", "{1}{1}25.000", "{0}{0}23.976", "xxxxxx30"}) {
        const CueReading reading = ReadSub(QByteArray(firstLine) + "\n{25}{50}Text\n");
        EXPECT_FALSE(reading.frameRateRefused) << firstLine;
        EXPECT_EQ(reading.cues.size(), 1u) << firstLine;
    }
    for (const char* firstLine : {"{1}{1}29.97", "{1}{1}23.98", "{1}{1}25.000 ", "25.000", ""}) {
        const CueReading reading = ReadSub(QByteArray(firstLine) + "\n{25}{50}Text\n");
        EXPECT_TRUE(reading.frameRateRefused) << firstLine;
        ASSERT_TRUE(reading.error.has_value());
        EXPECT_EQ(reading.error->message, kFrameRateLineMessage);
        EXPECT_TRUE(reading.cues.empty());
    }
}

TEST(SubReader, SplitsAtTheLastBarAndKeepsTheWholeLineAsDisplayEntry) {
    const CueReading reading = ReadSub(
        "{1}{1}25\n"
        "{100}{200}Hello|World\n"
        "not a cue\n"
        "\n"
        "{10}{20}a|b|c\n"
        "{10}{20}\n"
        "{ 10}{-5}  spaced  \n");
    ASSERT_FALSE(reading.error.has_value());
    const std::vector<Cue> expected = {
        {4000, 4000, "Hello", "World", "{100}{200}Hello|World"},
        {400, 400, "a|b", "c", "{10}{20}a|b|c"},
        {400, 400, "", "", "{10}{20}"},
        {400, -600, "  spaced  ", "", "{ 10}{-5}  spaced  "},
    };
    EXPECT_EQ(reading.cues, expected);
}

struct TimeCase {
    const char* frameRate;
    const char* line;
    qint32 startMs;
    qint32 durationMs;
};

class SubFrameTimes : public ::testing::TestWithParam<TimeCase> {};

TEST_P(SubFrameTimes, RoundEachUnroundedQuotientHalfToEven) {
    const QByteArray text =
        QByteArrayLiteral("{1}{1}") + GetParam().frameRate + '\n' + GetParam().line + '\n';
    const CueReading reading = ReadSub(text);
    ASSERT_FALSE(reading.error.has_value()) << reading.error->message.toStdString();
    ASSERT_EQ(reading.cues.size(), 1u);
    EXPECT_EQ(reading.cues[0].startMs, GetParam().startMs);
    EXPECT_EQ(reading.cues[0].durationMs, GetParam().durationMs);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, SubFrameTimes,
    ::testing::Values(
        // 41.67 and 83.33 - 41.67: rounding the end first would give a duration of 41.
        TimeCase{"24", "{1}{2}x", 42, 42}, TimeCase{"30", "{2}{3}x", 67, 33},
        // The decimal rates: 24000/1001 would give 500500, 30000/1001 would give 1001000.
        TimeCase{"23.976", "{12000}{12000}x", 500501, 0},
        TimeCase{"29.970", "{30000}{30000}x", 1001001, 0},
        // The largest frame number whose millisecond product fits 32 bits.
        TimeCase{"25", "{2147483}{0}x", 85899320, -85899320}));

TEST(SubReader, StopsAtAFrameNumberThatIsNotAUsableInteger) {
    const std::pair<const char*, const char*> cases[] = {
        {"{10}{20}{y:i}Text", "'10}{20' is not a valid integer value"},
        {"{2147484}{2147490}x", "'2147484' is not a valid integer value"},
        {"{0}{-2147484}x", "'-2147484' is not a valid integer value"},
        {"{10}x", "'' is not a valid integer value"},
        {"{a}{2}x", "'a' is not a valid integer value"},
    };
    for (const auto& [line, message] : cases) {
        const CueReading reading =
            ReadSub(QByteArrayLiteral("{1}{1}25\n{1}{2}before\n") + line + "\n{3}{4}after\n");
        ASSERT_TRUE(reading.error.has_value()) << line;
        EXPECT_EQ(reading.error->kind, ErrorKind::Conversion);
        EXPECT_EQ(reading.error->message, QString::fromLatin1(message));
        ASSERT_EQ(reading.cues.size(), 1u) << line;
        EXPECT_EQ(reading.cues[0].firstLine, QByteArrayLiteral("before"));
    }
}

}  // namespace
}  // namespace marvoxa
