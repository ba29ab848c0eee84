#include "subtitles/cue_lines.h"

#include "subtitles/cue_notices.h"
#include "subtitles/subtitle_loader.h"
#include "test_files.h"

#include <gtest/gtest.h>

#include <QDir>

namespace marvoxa {
namespace {

SubtitleLoad Load(const QString& name, MarkupMode markup = MarkupMode::Text) {
    return LoadSubtitleFile(QDir(test::SubtitleCollectionDir()).filePath(name), markup);
}

QStringList Texts(const QList<StyledLine>& lines) {
    QStringList texts;
    for (const StyledLine& line : lines) {
        texts << line.text();
    }
    return texts;
}

RenderSettings WithText(TextOptions text) {
    RenderSettings settings;
    settings.text = text;
    return settings;
}

TEST(WideText, EveryEncodingReadsAsTheSameCues) {
    for (const char* form : {"encoding_%1.srt", "encoding_%1.sub"}) {
        const SubtitleLoad utf8 = Load(QString::fromLatin1(form).arg(QStringLiteral("utf8")));
        ASSERT_EQ(utf8.cueList.cues.size(), 3u);
        for (const char* variant :
             {"utf8bom", "utf16le", "utf16be", "utf32le", "utf32be", "utf16le_nobom"}) {
            const QString name = QString::fromLatin1(form).arg(QLatin1String(variant));
            SCOPED_TRACE(name.toStdString());
            const SubtitleLoad load = Load(name);
            EXPECT_FALSE(load.error.has_value());
            EXPECT_EQ(load.cueList.cues, utf8.cueList.cues);
            EXPECT_EQ(load.cueList.encoding, TextEncoding::Utf8);
        }
    }
}

TEST(WideText, LeavesEightBitFilesAlone) {
    const SubtitleLoad load = Load(QStringLiteral("windows1252.srt"));
    ASSERT_EQ(load.cueList.cues.size(), 2u);
    EXPECT_EQ(load.cueList.encoding, TextEncoding::Legacy);
    EXPECT_EQ(load.cueList.cues[0].firstLine, QByteArray("Caf\xe9 cr\xe8me, na\xefve fa\xe7"
                                                         "ade"));
}

TEST(CueLines, DefaultsDrawTheFirstTwoLinesAndCountTheRest) {
    const SubtitleLoad load = Load(QStringLiteral("three_or_more_lines.srt"));
    ASSERT_EQ(load.cueList.cues.size(), 4u);
    const CueLines lines = DrawnCueLines(load.cueList, 2, RenderSettings{});
    EXPECT_EQ(Texts(lines.drawn), (QStringList{QStringLiteral("Line one of five"),
                                               QStringLiteral("Line two of five")}));
    EXPECT_EQ(lines.count, 5);
    // The next cue's number is not taken as a further line.
    EXPECT_EQ(load.cueList.furtherLines[1], QList<QByteArray>{"Third of three"});

    const CueLines all = DrawnCueLines(load.cueList, 2, WithText({.allLines = true}));
    EXPECT_EQ(all.drawn.size(), 5);
    EXPECT_EQ(all.drawn.last().text(), QStringLiteral("Line five of five"));
}

TEST(CueLines, SubLinesSplitAtEveryBarOnlyWhenAllLinesAreDrawn) {
    const SubtitleLoad load = Load(QStringLiteral("three_or_more_lines.txt"));
    ASSERT_EQ(load.cueList.cues.size(), 2u);
    EXPECT_EQ(Texts(DrawnCueLines(load.cueList, 0, RenderSettings{}).drawn),
              (QStringList{QStringLiteral("Line one|line two"), QStringLiteral("line three")}));
    EXPECT_EQ(Texts(DrawnCueLines(load.cueList, 0, WithText({.allLines = true})).drawn),
              (QStringList{QStringLiteral("Line one"), QStringLiteral("line two"),
                           QStringLiteral("line three")}));
    EXPECT_EQ(Texts(DrawnCueLines(load.cueList, 1, RenderSettings{}).drawn),
              QStringList{QStringLiteral("Only one line")});
}

TEST(CueLines, WrappedLinesCountTowardsTheTwoDrawn) {
    const SubtitleLoad load = Load(QStringLiteral("long_lines.srt"));
    const CueLines lines = DrawnCueLines(load.cueList, 1, WithText({.wrap = true}));
    EXPECT_EQ(lines.count, 3);
    ASSERT_EQ(lines.drawn.size(), 2);
    EXPECT_EQ(lines.drawn[0].text(), QStringLiteral("Short line"));
}

TEST(SubReader, ControlCodesAfterFrameNumbersReadOnlyWithMarkup) {
    EXPECT_EQ(Load(QStringLiteral("microdvd_codes.sub")).error->kind, ErrorKind::Conversion);
    const SubtitleLoad load = Load(QStringLiteral("microdvd_codes.sub"), MarkupMode::Strip);
    ASSERT_FALSE(load.error.has_value());
    ASSERT_EQ(load.cueList.cues.size(), 3u);
    EXPECT_EQ(load.cueList.cues[0].startMs, 1000);
    EXPECT_EQ(load.cueList.cues[0].durationMs, 2000);
    EXPECT_EQ(Texts(DrawnCueLines(load.cueList, 2, WithText({.markup = MarkupMode::Strip})).drawn),
              (QStringList{QStringLiteral("Colour code dropped"), QStringLiteral("underlined")}));
}

TEST(CueNotices, NameHowManyCuesLoseLinesAndTheFirstOfThem) {
    const SubtitleLoad load = Load(QStringLiteral("three_or_more_lines.srt"));
    EXPECT_EQ(ExtraLinesNotice(load.cueList, RenderSettings{}),
              QStringLiteral("2 subtitles have more than two lines; only their first two are "
                             "drawn. The first is subtitle 2 at 00:00:03,500. To keep them, draw "
                             "all lines (Options..., or --all-lines)."));
    EXPECT_EQ(ExtraLinesNotice(load.cueList, WithText({.allLines = true})), std::nullopt);
    const SubtitleLoad twoLines = Load(QStringLiteral("encoding_utf8.srt"));
    EXPECT_EQ(ExtraLinesNotice(twoLines.cueList, RenderSettings{}), std::nullopt);
}

// Private use code points: no font a machine may have or lack draws them.
TEST(CueNotices, NameCharactersNoFontDraws) {
    const SubtitleLoad load = Load(QStringLiteral("undrawable.srt"));
    EXPECT_EQ(UndrawableCharactersNotice(load.cueList, RenderSettings{}),
              QStringLiteral("2 subtitles hold characters that no installed font can draw; they "
                             "show as empty boxes. The first is subtitle 2 at 00:00:02,500, "
                             "character U+F0000."));
    // Styled spans are looked at in their own font.
    const SubtitleLoad styled = LoadSubtitleBytes(
        QByteArrayLiteral("1\n00:00:01,000 --> 00:00:02,000\nPlain <b>bold \xee\x80\x80</b>\n"),
        QStringLiteral("styled.srt"), MarkupMode::Render);
    EXPECT_EQ(UndrawableCharactersNotice(styled.cueList, WithText({.markup = MarkupMode::Render})),
              QStringLiteral("1 subtitle holds characters that no installed font can draw; they "
                             "show as empty boxes: subtitle 1 at 00:00:01,000, character U+E000."));
}

// One cue alone is named in the sentence itself.
TEST(CueNotices, NameASingleCueInTheirSentence) {
    const SubtitleLoad load =
        LoadSubtitleBytes(QByteArrayLiteral("1\n00:00:01,000 --> 00:00:02,000\none\ntwo\nthree\n\n"
                                            "2\n00:00:03,000 --> 00:00:04,000\n\xf3\xb0\x80\x80\n"),
                          QStringLiteral("single.srt"), MarkupMode::Text);
    EXPECT_EQ(ExtraLinesNotice(load.cueList, RenderSettings{}),
              QStringLiteral("1 subtitle has more than two lines; only its first two are drawn: "
                             "subtitle 1 at 00:00:01,000. To keep them, draw all lines "
                             "(Options..., or --all-lines)."));
    EXPECT_EQ(UndrawableCharactersNotice(load.cueList, RenderSettings{}),
              QStringLiteral("1 subtitle holds characters that no installed font can draw; they "
                             "show as empty boxes: subtitle 2 at 00:00:03,000, character "
                             "U+F0000."));
}

}  // namespace
}  // namespace marvoxa
