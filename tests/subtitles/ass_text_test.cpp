#include "subtitles/ass_text.h"
#include "cue_printing.h"

#include <gtest/gtest.h>

namespace marvoxa {
namespace {

using Lines = QList<QByteArray>;

TEST(AssEventLines, MapsOverrideTagsOntoSrtMarkup) {
    const AssStyle plain;
    const AssStyle italicTop{7, true, false, false, false};
    const AssStyle bold{2, false, true, false, false};
    const std::tuple<const char*, AssStyle, Lines> cases[] = {
        {R"({\i1}Hello{\i0} world)", plain, {"<i>Hello</i> world"}},
        {R"({\b700}Bold{\b400}\Nsecond\nthird)", plain, {"<b>Bold</b>", "second", "third"}},
        {R"({\s1}struck{\u1}both)", plain, {"<s>struck</s><u><s>both</s></u>"}},
        // Tags whose names begin like i, b, s, p, a leave the style alone.
        {R"({\bord2\shad1\be1\blur3\iclip(0,0,9,9)\alpha&H80&\pos(1,2)}plain)", plain, {"plain"}},
        {R"({\fad(200,200)\1c&HFF0000&\k20}Ka{\k30}ra{\t(0,500,\fs40\i1)}oke)", plain, {"Karaoke"}},
        {R"({\an8}Top)", plain, {R"({\an8}Top)"}},
        {R"({\a6}Top)", plain, {R"({\an8}Top)"}},
        {R"({\a10}x{\an3})", plain, {R"({\an5}x)"}},
        {R"({\an2}x)", italicTop, {R"({\an2}<i>x</i>)"}},
        {R"(x{\i0}y{\i}z)", italicTop, {R"({\an7}<i>x</i>y<i>z</i>)"}},
        {R"({\b0}x{\r}y{\b0}{\rSigns}z)", bold, {"x<b>yz</b>"}},
        {R"({\p1}m 0 0 l 100 0 100 100{\p0}Sign)", plain, {"Sign"}},
        {R"({\p1}m 0 0 l 1 1)", plain, {}},
        {R"({a comment}Fish & chips <3 a\hb)", plain, {"Fish &amp; chips &lt;3 a b"}},
        {R"(\N\N  Text  \N{\i1} \N)", plain, {"Text"}},
        {"a {b", plain, {"a {b"}},
        {"", plain, {}},
    };
    for (const auto& [text, style, lines] : cases) {
        EXPECT_EQ(AssEventLines(text, style, MarkupMode::Render), lines) << text;
        EXPECT_EQ(AssEventLines(text, style, MarkupMode::Strip), lines) << text;
    }
}

TEST(AssEventLines, TextModeGivesPlainTextWithoutPlacement) {
    const AssStyle italicTop{7, true, false, false, false};
    EXPECT_EQ(AssEventLines(R"({\an8\b1}Fish & <chips>\Nnext)", italicTop, MarkupMode::Text),
              (Lines{"Fish & <chips>", "next"}));
}

TEST(ReadAssStyles, ReadsStylesThroughTheirSectionsFormatLine) {
    const Lines script = {
        "[Script Info]",
        "ScriptType: v4.00+",
        "  [V4+ STYLES]",
        // Shortened and reordered; Bold -1 is on.
        "format: Alignment, Name ,Italic,Bold",
        "Style: 8,Sign, 0 , -1",
        "Style:9,Default,-1,0",
        "Style: 12,Broken,0,700",
        "[Events]",
        "Style: 1,NotAStyle,1,1",
        "[V4 Styles]",
        // SSA numbering and, without a Format line, SSA's usual fields.
        "Style: Ssa,Arial,20,1,2,3,4,0,1,1,2,0,6,10,10,10,0,0",
        "Style: SsaMiddle,Arial,20,1,2,3,4,1,0,1,2,0,9,10,10,10,0,0",
    };
    const QHash<QString, AssStyle> styles = ReadAssStyles(script);
    EXPECT_EQ(styles.size(), 5);
    EXPECT_EQ(styles.value(QStringLiteral("Sign")), (AssStyle{8, false, true, false, false}));
    EXPECT_EQ(styles.value(QStringLiteral("Default")), (AssStyle{9, true, false, false, false}));
    EXPECT_EQ(styles.value(QStringLiteral("Broken")), (AssStyle{2, false, true, false, false}));
    EXPECT_EQ(styles.value(QStringLiteral("Ssa")), (AssStyle{8, true, false, false, false}));
    EXPECT_EQ(styles.value(QStringLiteral("SsaMiddle")), (AssStyle{4, false, true, false, false}));

    EXPECT_EQ(FindAssStyle(styles, QStringLiteral("*Sign")), styles.value(QStringLiteral("Sign")));
    EXPECT_EQ(FindAssStyle(styles, QStringLiteral("Nobody")),
              styles.value(QStringLiteral("Default")));
    EXPECT_EQ(FindAssStyle({}, QStringLiteral("Default")), AssStyle{});
}

TEST(SplitAssFields, KeepsTheCommasOfTheLastField) {
    EXPECT_EQ(SplitAssFields(" 0, 0:00:01.00 ,x,Hello, world, again", 4),
              (Lines{"0", "0:00:01.00", "x", "Hello, world, again"}));
    EXPECT_EQ(SplitAssFields("a,b", 5), (Lines{"a", "b"}));
    EXPECT_EQ(AssLineValue("dialogue :  0,1", "Dialogue"), QByteArray("0,1"));
    EXPECT_FALSE(AssLineValue("Dialogues: 0", "Dialogue").has_value());
}

}  // namespace
}  // namespace marvoxa
