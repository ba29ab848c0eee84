#include "cue_printing.h"
#include "subtitles/cue_time.h"
#include "subtitles/half_even_rounding.h"
#include "subtitles/integer_text.h"

#include <gtest/gtest.h>

namespace marvoxa {
namespace {

TEST(IntegerFromText, AcceptsLeadingBlanksASignAndDigitsOnly) {
    const std::pair<const char*, qint32> valid[] = {
        {"0", 0},
        {"42", 42},
        {"  42", 42},
        {"+7", 7},
        {"-7", -7},
        {"007", 7},
        {"2147483647", 2147483647},
        {"-2147483648", -2147483647 - 1},
    };
    for (const auto& [text, value] : valid) {
        const Result<qint32> parsed = IntegerFromText(text);
        ASSERT_TRUE(parsed.ok()) << text;
        EXPECT_EQ(parsed.value(), value) << text;
    }
    for (const char* text : {"", " ", "-", "+-1", "42 ", "4 2", "1a", "{1", "0x10", "\t1",
                             "2147483648", "-2147483649", "99999999999999999999"}) {
        const Result<qint32> parsed = IntegerFromText(text);
        ASSERT_FALSE(parsed.ok()) << text;
        EXPECT_EQ(parsed.error().kind, ErrorKind::Conversion);
        EXPECT_EQ(parsed.error().message,
                  QStringLiteral("'%1' is not a valid integer value").arg(QLatin1String(text)));
    }
}

TEST(IntegerFromText, QuotesNonAsciiTextReadably) {
    EXPECT_EQ(IntegerFromText(QByteArrayLiteral("\xC3\xA9")).error().message,
              QStringLiteral(u"'é' is not a valid integer value"));
    EXPECT_EQ(IntegerFromText(QByteArrayLiteral("\xE9")).error().message,
              QStringLiteral(u"'é' is not a valid integer value"));
}

TEST(RoundHalfEven, RoundsHalvesToTheEvenNeighbour) {
    const std::pair<long double, qint64> cases[] = {
        {0.5L, 0},  {1.5L, 2},  {2.5L, 2},    {3.5L, 4}, {-0.5L, 0},     {-1.5L, -2}, {-2.5L, -2},
        {2.49L, 2}, {2.51L, 3}, {-2.51L, -3}, {7.0L, 7}, {41.6667L, 42}, {-0.4L, 0},
    };
    for (const auto& [value, rounded] : cases) {
        EXPECT_EQ(RoundHalfEven(value), rounded) << static_cast<double>(value);
    }
}

TEST(ReadClockTime, ReadsFractionsAsDecimalsAndHoursOfAnyLength) {
    const std::pair<const char*, std::optional<qint32>> cases[] = {
        {"0:00:01.5", 1500},          {"00:01.05", 1050},
        {"1:02:03.456", 3723456},     {"00:00:07", 7000},
        {"00:00:07.", 7000},          {"596:31:23,647", 2147483647},
        {"0001:00:00.0", 3600000},    {"596:31:23.648", std::nullopt},
        {"00:01.0005", std::nullopt}, {"1:2:3:4", std::nullopt},
        {"01", std::nullopt},         {"00:100", std::nullopt},
        {" 00:01", std::nullopt},     {"00:0x", std::nullopt},
        {":01", std::nullopt},        {"", std::nullopt},
    };
    for (const auto& [text, ms] : cases) {
        EXPECT_EQ(ReadClockTime(text), ms) << text;
    }
}

}  // namespace
}  // namespace marvoxa
