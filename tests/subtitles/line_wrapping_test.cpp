#include "subtitles/line_wrapping.h"

#include "render/subtitle_font.h"
#include "subtitles/line_width_check.h"

#include <gtest/gtest.h>

namespace marvoxa {
namespace {

class LineWrapping : public ::testing::Test {
protected:
    int width(const StyledLine& line) const { return MeasureLine(font_, line).width; }
    QList<StyledLine> wrap(const QString& text) const {
        return WrapLine(PlainLine(text), font_, kMaxLineWidth);
    }

    QFont font_ = SubtitleFont(RenderSettings{});
};

// Two words joined by a blank, together exactly total pixels wide.
QString TwoWordsOfWidth(const QFont& font, int total) {
    const QString first = QString(16, u'm') + QStringLiteral(" ");
    for (int wide = 0; wide < 40; ++wide) {
        for (const QChar narrow : {u'i', u'l', u'.', u'1', u'e'}) {
            for (int narrowCount = 0; narrowCount < 20; ++narrowCount) {
                const QString line = first + QString(wide, u'm') + QString(narrowCount, narrow);
                if (MeasureLine(font, line).width == total) {
                    return line;
                }
            }
        }
    }
    return {};
}

TEST_F(LineWrapping, KeepsALineOf679PixelsAndBreaksOneOf680) {
    const QString line679 = TwoWordsOfWidth(font_, 679);
    ASSERT_FALSE(line679.isEmpty());
    EXPECT_EQ(wrap(line679), QList<StyledLine>{PlainLine(line679)});

    const QString line680 = TwoWordsOfWidth(font_, 680);
    ASSERT_FALSE(line680.isEmpty());
    const QStringList words = line680.split(u' ');
    EXPECT_EQ(wrap(line680), (QList<StyledLine>{PlainLine(words[0]), PlainLine(words[1])}));
}

TEST_F(LineWrapping, TheWideDrawingMeasuresSqueezedLinesSoLongerOnesFit) {
    RenderSettings settings;
    settings.wide = true;
    const QFont wideFont = SubtitleFont(settings);
    // Too wide with square pixels, some 680 at 3/4; and too wide even squeezed.
    const QString fitsSqueezed = TwoWordsOfWidth(font_, 880);
    const QString tooWideAnyway = TwoWordsOfWidth(font_, 940);
    ASSERT_FALSE(fitsSqueezed.isEmpty() || tooWideAnyway.isEmpty());
    EXPECT_FALSE(CueLinesFit(font_, fitsSqueezed, QString()));
    EXPECT_TRUE(CueLinesFit(wideFont, fitsSqueezed, QString()));
    EXPECT_FALSE(CueLinesFit(wideFont, tooWideAnyway, QString()));
    EXPECT_EQ(wrap(fitsSqueezed).size(), 2);
    EXPECT_EQ(WrapLine(PlainLine(fitsSqueezed), wideFont, kMaxLineWidth).size(), 1);
    EXPECT_EQ(WrapLine(PlainLine(tooWideAnyway), wideFont, kMaxLineWidth).size(), 2);
}

TEST_F(LineWrapping, UsesAsFewLinesAsFitAndBalancesTheirWidths) {
    const QString words = QStringLiteral(
        "This line is far too long to fit across the picture at the default size, so wrap it.");
    const QList<StyledLine> wrapped = wrap(words);
    ASSERT_EQ(wrapped.size(), 2);
    QStringList texts;
    for (const StyledLine& line : wrapped) {
        EXPECT_LT(width(line), kMaxLineWidth);
        texts << line.text();
    }
    EXPECT_EQ(texts.join(u' '), words);
    // Greedy filling would leave a short second line; balanced lines differ by about a word.
    EXPECT_LT(std::abs(width(wrapped[0]) - width(wrapped[1])), 120);
}

TEST_F(LineWrapping, BreaksAWordWiderThanTheFrameBetweenCharactersAndKeepsStyles) {
    StyledLine line;
    line.spans = {{QStringLiteral("Short "), FontStyle{}},
                  {QString(60, u'W'), FontStyle{true, false, false, false}}};
    const QList<StyledLine> wrapped = WrapLine(line, font_, kMaxLineWidth);
    ASSERT_GE(wrapped.size(), 2);
    QString joined;
    for (const StyledLine& part : wrapped) {
        EXPECT_LT(width(part), kMaxLineWidth);
        joined += part.text();
    }
    EXPECT_EQ(joined.remove(u' '), QStringLiteral("Short") + QString(60, u'W'));
    EXPECT_TRUE(wrapped.last().spans.last().style.bold);
}

TEST(SliceLine, CutsAcrossSpans) {
    const StyledLine line{{{QStringLiteral("abc"), FontStyle{}},
                           {QStringLiteral("def"), FontStyle{false, true, false, false}}}};
    EXPECT_EQ(SliceLine(line, 2, 4),
              (StyledLine{{{QStringLiteral("c"), FontStyle{}},
                           {QStringLiteral("d"), FontStyle{false, true, false, false}}}}));
}

}  // namespace
}  // namespace marvoxa
