#include "subtitles/text_decoding.h"
#include "cue_printing.h"
#include "subtitles/subtitle_loader.h"

#include <gtest/gtest.h>

namespace marvoxa {
namespace {

TEST(DetectTextEncoding, TakesUtf8OnlyWhenValidWithMultiByteSequencesOrMarked) {
    const std::tuple<QByteArray, bool, TextEncoding> cases[] = {
        {"plain ascii", false, TextEncoding::Legacy},
        {"plain ascii", true, TextEncoding::Utf8},
        {"caf\xC3\xA9", false, TextEncoding::Utf8},
        {"\xF0\x9F\x98\x80 \xE2\x82\xAC", false, TextEncoding::Utf8},
        {"caf\xE9", false, TextEncoding::Legacy},
        {"caf\xC3\xA9 caf\xE9", false, TextEncoding::Legacy},
        {"\xC0\xAF", false, TextEncoding::Legacy},          // overlong "/"
        {"\xED\xA0\x80", false, TextEncoding::Legacy},      // surrogate
        {"\xF4\x90\x80\x80", false, TextEncoding::Legacy},  // beyond U+10FFFF
        {"caf\xC3", false, TextEncoding::Legacy},           // cut off
    };
    for (const auto& [bytes, hadBom, encoding] : cases) {
        EXPECT_EQ(DetectTextEncoding(bytes, hadBom), encoding) << bytes.toHex().toStdString();
    }
}

struct DecodeCase {
    QByteArray bytes;
    TextEncoding encoding;
    quint8 charset;
    QString text;
};

TEST(DecodeCueText, ConvertsFromUtf8OrTheCharsetCodePage) {
    const DecodeCase cases[] = {
        {"caf\xC3\xA9", TextEncoding::Utf8, 1, QStringLiteral(u"café")},
        {"caf\xE9", TextEncoding::Legacy, 1, QStringLiteral(u"café")},
        {"caf\xE9", TextEncoding::Legacy, 99, QStringLiteral(u"café")},
        {"\x80", TextEncoding::Legacy, 2, QStringLiteral(u"€")},
        {"\xCF\xF0\xE8\xE2\xE5\xF2", TextEncoding::Legacy, 204, QStringLiteral(u"Привет")},
        {"\xB9", TextEncoding::Legacy, 238, QStringLiteral(u"ą")},
        {"\xE1", TextEncoding::Legacy, 161, QStringLiteral(u"α")},
        {"\xF0", TextEncoding::Legacy, 162, QStringLiteral(u"ğ")},
        {"\xF9", TextEncoding::Legacy, 177, QStringLiteral(u"ש")},
        {"\xC7", TextEncoding::Legacy, 178, QStringLiteral(u"ا")},
        {"\xE0", TextEncoding::Legacy, 186, QStringLiteral(u"ą")},
        {"\xA1", TextEncoding::Legacy, 222, QStringLiteral(u"ก")},
        {"\x82\xA0", TextEncoding::Legacy, 128, QStringLiteral(u"あ")},
        {"\xB0\xA1", TextEncoding::Legacy, 129, QStringLiteral(u"가")},
        {"\xB0\xA1", TextEncoding::Legacy, 134, QStringLiteral(u"啊")},
        {"\xA4\x40", TextEncoding::Legacy, 136, QStringLiteral(u"一")},
        {"\x88\x61", TextEncoding::Legacy, 130, QStringLiteral(u"가")},
        {"\x8E", TextEncoding::Legacy, 77, QStringLiteral(u"é")},
        {"\x82", TextEncoding::Legacy, 255, QStringLiteral(u"é")},
        // Bytes without a character become U+FFFD and decoding goes on after them.
        {"a\201b", TextEncoding::Legacy, 1, QStringLiteral(u"a\uFFFDb")},
        {"a\x82", TextEncoding::Legacy, 128, QStringLiteral(u"a\uFFFD")},
        {"a\377b", TextEncoding::Utf8, 1, QStringLiteral(u"a\uFFFDb")},
    };
    for (const DecodeCase& c : cases) {
        EXPECT_EQ(DecodeCueText(c.bytes, c.encoding, c.charset), c.text)
            << c.bytes.toHex().toStdString() << " charset " << int(c.charset);
    }
}

// One stray code-page byte in a UTF-8 file spoils only its own line, and the load says which.
TEST(DecodeCueText, DecidesBetweenUtf8AndTheCodePageLineByLine) {
    const QByteArray bytes =
        "1\n00:00:01,000 --> 00:00:02,000\nCaf\xC3\xA9\n\n"
        "2\n00:00:03,000 --> 00:00:04,000\nna\xEFve\n\n"
        "3\n00:00:05,000 --> 00:00:06,000\n\xC2\xBFQu\xC3\xA9?\n";
    const SubtitleLoad load = LoadSubtitleBytes(bytes, QStringLiteral("x.srt"));
    ASSERT_EQ(load.cueList.cues.size(), 3u);
    const auto text = [&](size_t cue, quint8 charset) {
        return DecodeCueText(load.cueList.cues[cue].firstLine, load.cueList.encoding, charset);
    };
    EXPECT_EQ(text(0, 1), QStringLiteral(u"Café"));
    EXPECT_EQ(text(1, 1), QStringLiteral(u"naïve"));
    EXPECT_EQ(text(1, 204), QStringLiteral(u"naпve"));
    EXPECT_EQ(text(2, 1), QStringLiteral(u"¿Qué?"));
    ASSERT_TRUE(load.notice.has_value());
    EXPECT_EQ(*load.notice,
              QStringLiteral("Line 7 is not valid UTF-8 although other lines are; it and any other "
                             "such line are read in the code page of the chosen charset."));
}

TEST(FirstCodePageLineAmongUtf8, NeedsBothKindsOfLine) {
    const QByteArray utf8 = "caf\xC3\xA9";
    const QByteArray codePage = "caf\xE9";
    const QByteArray ascii = "cafe";
    EXPECT_EQ(FirstCodePageLineAmongUtf8({ascii, codePage, utf8, codePage}), 1);
    EXPECT_EQ(FirstCodePageLineAmongUtf8({ascii, codePage, codePage}), std::nullopt);
    EXPECT_EQ(FirstCodePageLineAmongUtf8({ascii, utf8}), std::nullopt);
    // A pure code-page file is no news: no notice.
    const SubtitleLoad legacy =
        LoadSubtitleBytes("1\n00:00:01,000 --> 00:00:02,000\nCaf\xE9\n", QStringLiteral("x.srt"));
    EXPECT_FALSE(legacy.notice.has_value());
}

TEST(DecodeCueText, ShowsTheCharactersOfALoadedFile) {
    const std::tuple<QByteArray, TextEncoding, QString> files[] = {
        {"1\n00:00:01,000 --> 00:00:02,000\nCaf\xC3\xA9\n", TextEncoding::Utf8,
         QStringLiteral(u"Café")},
        {"1\n00:00:01,000 --> 00:00:02,000\nCaf\xE9\n", TextEncoding::Legacy,
         QStringLiteral(u"Café")},
        // Marked as UTF-8 though all ASCII: later edits in UTF-8 stay readable.
        {"\xEF\xBB\xBF"
         "1\n00:00:01,000 --> 00:00:02,000\nCafe\n",
         TextEncoding::Utf8, QStringLiteral(u"Cafe")},
    };
    for (const auto& [bytes, encoding, text] : files) {
        const SubtitleLoad load = LoadSubtitleBytes(bytes, QStringLiteral("x.srt"));
        EXPECT_EQ(load.cueList.encoding, encoding) << bytes.toStdString();
        ASSERT_EQ(load.cueList.cues.size(), 1u);
        EXPECT_EQ(DecodeCueText(load.cueList.cues[0].firstLine, load.cueList.encoding, 1), text);
    }
}

}  // namespace
}  // namespace marvoxa
