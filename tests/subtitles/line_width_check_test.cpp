#include "subtitles/line_width_check.h"

#include "line_of_width.h"
#include "render/subtitle_font.h"

#include <gtest/gtest.h>

namespace marvoxa {
namespace {

using test::LineOfWidth;

CueList CuesOf(const QList<QPair<QString, QString>>& lines) {
    CueList list;
    list.encoding = TextEncoding::Utf8;
    for (const auto& [first, second] : lines) {
        list.cues.push_back(Cue{0, 1000, first.toUtf8(), second.toUtf8(), first.toUtf8()});
    }
    return list;
}

class LineWidthCheck : public ::testing::Test {
protected:
    RenderSettings settings_;  // Arial 22, Normal, DEFAULT
    QFont font_ = SubtitleFont(settings_);
};

TEST_F(LineWidthCheck, PassesALineOf679PixelsAndFailsOneOf680) {
    const QString fits = LineOfWidth(font_, 679);
    const QString tooWide = LineOfWidth(font_, 680);
    EXPECT_TRUE(CueLinesFit(font_, fits, fits));
    EXPECT_FALSE(CueLinesFit(font_, tooWide, QString()));
    EXPECT_FALSE(CueLinesFit(font_, QStringLiteral("short"), tooWide));

    EXPECT_FALSE(FindFirstTooWideCue(CuesOf({{fits, fits}}), settings_).has_value());
    const auto found =
        FindFirstTooWideCue(CuesOf({{fits, QString()}, {QStringLiteral("a"), tooWide}}), settings_);
    ASSERT_TRUE(found.has_value());
    EXPECT_EQ(found->index, 1);
    EXPECT_EQ(found->firstLine, QStringLiteral("a"));
    EXPECT_EQ(found->secondLine, tooWide);
}

TEST_F(LineWidthCheck, ReportsOnlyTheFirstTooWideCue) {
    const QString tooWide = LineOfWidth(font_, 700);
    const auto found = FindFirstTooWideCue(CuesOf({{QStringLiteral("fine"), QString()},
                                                   {tooWide, QStringLiteral("x")},
                                                   {tooWide, tooWide}}),
                                           settings_);
    ASSERT_TRUE(found.has_value());
    EXPECT_EQ(found->index, 1);
}

TEST_F(LineWidthCheck, PassesAnEmptyCueList) {
    EXPECT_FALSE(FindFirstTooWideCue(CueList{}, settings_).has_value());
}

TEST_F(LineWidthCheck, MeasuresTheDecodedText) {
    // 60 two-byte UTF-8 letters: far too wide when each byte became a character of its own.
    const QString accented = QString(60, QChar(0x00E9));
    CueList list = CuesOf({{accented, QString()}});
    const bool fitsAsText = MeasureLine(font_, accented).width < kMaxLineWidth;
    EXPECT_EQ(FindFirstTooWideCue(list, settings_).has_value(), !fitsAsText);
    EXPECT_EQ(CueLineText(list.cues[0].firstLine, list.encoding, settings_), accented);
}

TEST_F(LineWidthCheck, BoldMakesLinesWiderAndUnderlineDoesNot) {
    const QString line = LineOfWidth(font_, 679);
    RenderSettings underlined = settings_;
    underlined.style = StyleFromName(QStringLiteral("Underline"));
    EXPECT_TRUE(CueLinesFit(SubtitleFont(underlined), line, QString()));
    RenderSettings bold = settings_;
    bold.style = StyleFromName(QStringLiteral("Bold"));
    EXPECT_FALSE(CueLinesFit(SubtitleFont(bold), line, QString()));
}

TEST(LineWidthMessages, NameBothLinesSeparatedBySingleCarriageReturns) {
    EXPECT_EQ(TooLongOnLoadMessage(QStringLiteral("one"), QStringLiteral("two")),
              QStringLiteral("The string \rone\rtwo\ris too long. Please correct the srt and "
                             "reload it. You can just use a smaler font size."));
    EXPECT_EQ(TooLongAfterStyleChangeMessage(QStringLiteral("one"), QString()),
              QStringLiteral("The string \rone\r\ris too long. Please use a smaler font size."));
    EXPECT_EQ(TooLongInPreviewMessage(QStringLiteral("a"), QStringLiteral("b")),
              QStringLiteral("The string \ra\rb\ris too long."));
}

}  // namespace
}  // namespace marvoxa
