#include "subtitles/markup.h"

#include <gtest/gtest.h>

namespace marvoxa {
namespace {

constexpr FontStyle kPlain{};
constexpr FontStyle kBold{true, false, false, false};
constexpr FontStyle kItalic{false, true, false, false};
constexpr FontStyle kBoldItalic{true, true, false, false};
constexpr FontStyle kUnderline{false, false, true, false};
constexpr FontStyle kStrikeOut{false, false, false, true};

StyledLine Spans(std::initializer_list<StyledSpan> spans) {
    return StyledLine{QList<StyledSpan>(spans)};
}

QList<StyledLine> Render(const QStringList& lines, bool microDvd = false) {
    return ParseCueMarkup(lines, MarkupMode::Render, microDvd);
}

TEST(Markup, TextModeKeepsEveryCharacter) {
    const QString tagged = QStringLiteral("<i>Fish &amp; chips</i>{\\an8}");
    EXPECT_EQ(ParseCueMarkup({tagged}, MarkupMode::Text, true),
              QList<StyledLine>{PlainLine(tagged)});
}

TEST(Markup, StripRemovesTagsBlocksAndCodesAndLeavesOneUnstyledSpan) {
    const QList<StyledLine> stripped = ParseCueMarkup(
        {QStringLiteral("{\\an8}<I>Loud</i> <font color=\"#ff0000\" size=3>red</FONT> <b>bold"),
         QStringLiteral("{y:i}{c:$0000FF}code <u>under</u> <s>struck</s>")},
        MarkupMode::Strip, true);
    EXPECT_EQ(stripped, (QList<StyledLine>{PlainLine(QStringLiteral("Loud red bold")),
                                           PlainLine(QStringLiteral("code under struck"))}));
}

TEST(Markup, MicroDvdCodesStayTextInSrtLines) {
    EXPECT_EQ(ParseCueMarkup({QStringLiteral("{y:i}x")}, MarkupMode::Strip, false),
              QList<StyledLine>{PlainLine(QStringLiteral("{y:i}x"))});
}

TEST(Markup, DecodesEntitiesAfterTagsSoEscapedTagsStayText) {
    EXPECT_EQ(ParseCueMarkup({QStringLiteral("&lt;i&gt; &amp;amp; &quot;&apos;&#233;&#xE9;&#X41;"
                                             "&nbsp;&bogus; &#0; &#x110000; & ;")},
                             MarkupMode::Strip, false),
              QList<StyledLine>{PlainLine(QStringLiteral("<i> &amp; \"'\u00e9\u00e9A\u00a0&bogus; "
                                                         "&#0; &#x110000; & ;"))});
}

TEST(Markup, LeavesTagsItDoesNotKnowAndLoneBrackets) {
    const QString text = QStringLiteral("a < b <br> <3 <bold> {not a code}");
    EXPECT_EQ(ParseCueMarkup({text}, MarkupMode::Strip, true), QList<StyledLine>{PlainLine(text)});
}

TEST(Markup, RenderStylesNestedSpansAndCarriesOpenTagsToTheNextLine) {
    EXPECT_EQ(Render({QStringLiteral("<b>one <i>two</I> three</b> four <i>five"),
                      QStringLiteral("six</i> <u>seven</u><s>eight</s>")}),
              (QList<StyledLine>{Spans({{QStringLiteral("one "), kBold},
                                        {QStringLiteral("two"), kBoldItalic},
                                        {QStringLiteral(" three"), kBold},
                                        {QStringLiteral(" four "), kPlain},
                                        {QStringLiteral("five"), kItalic}}),
                                 Spans({{QStringLiteral("six"), kItalic},
                                        {QStringLiteral(" "), kPlain},
                                        {QStringLiteral("seven"), kUnderline},
                                        {QStringLiteral("eight"), kStrikeOut}})}));
}

TEST(Markup, RenderCountsRepeatedTagsAndIgnoresStrayClosingOnes) {
    EXPECT_EQ(Render({QStringLiteral("</b>a<i><i>b</i>c</i>d")}),
              QList<StyledLine>{Spans({{QStringLiteral("a"), kPlain},
                                       {QStringLiteral("bc"), kItalic},
                                       {QStringLiteral("d"), kPlain}})});
}

TEST(Markup, RenderMicroDvdStylesHoldForTheLineOrTheCue) {
    EXPECT_EQ(
        Render({QStringLiteral("{y:i}a"), QStringLiteral("b{Y:b}c"), QStringLiteral("d")}, true),
        (QList<StyledLine>{Spans({{QStringLiteral("a"), kItalic}}),
                           Spans({{QStringLiteral("b"), kPlain}, {QStringLiteral("c"), kBold}}),
                           Spans({{QStringLiteral("d"), kBold}})}));
}

}  // namespace
}  // namespace marvoxa

namespace marvoxa {
namespace {

TEST(Markup, PlacementIsTheFirstAnOverrideUnlessMarkupIsText) {
    const struct {
        QStringList lines;
        MarkupMode mode;
        int placement;
    } cases[] = {
        {{QStringLiteral("{\\an8}Top")}, MarkupMode::Strip, 8},
        {{QStringLiteral("plain"), QStringLiteral("{\\b1\\an1}x{\\an9}")}, MarkupMode::Render, 1},
        {{QStringLiteral("{\\an8}Top")}, MarkupMode::Text, 0},
        {{QStringLiteral("{\\an0} {\\a8} \\an7 {an5}")}, MarkupMode::Strip, 0},
        {{QStringLiteral("none")}, MarkupMode::Render, 0},
    };
    for (const auto& test : cases) {
        EXPECT_EQ(CuePlacement(test.lines, test.mode), test.placement)
            << test.lines.join(u'|').toStdString();
    }
}

TEST(Markup, BackslashNBreaksTheLineUnlessMarkupIsText) {
    const QString text = QStringLiteral("<i>One\\Ntwo</i>\\nthree");
    EXPECT_EQ(ParseCueMarkup({text}, MarkupMode::Strip, false),
              (QList<StyledLine>{PlainLine(QStringLiteral("One")), PlainLine(QStringLiteral("two")),
                                 PlainLine(QStringLiteral("three"))}));
    // The italic tag holds over the break, as over a line end.
    EXPECT_EQ(ParseCueMarkup({text}, MarkupMode::Render, false)[1],
              Spans({{QStringLiteral("two"), kItalic}}));
    EXPECT_EQ(ParseCueMarkup({text}, MarkupMode::Text, false), QList<StyledLine>{PlainLine(text)});
}

}  // namespace
}  // namespace marvoxa
