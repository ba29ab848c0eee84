#include "subtitles/parallel_width_check.h"

#include "line_of_width.h"
#include "render/subtitle_font.h"

#include <gtest/gtest.h>

namespace marvoxa {
namespace {

// Thousands of fitting cues with too-wide ones placed across block boundaries.
CueList CuesWithTooWideAt(const QList<int>& tooWideIndexes, const QString& tooWide) {
    CueList list;
    list.encoding = TextEncoding::Utf8;
    for (int i = 0; i < 3000; ++i) {
        const QByteArray first = QStringLiteral("Cue %1").arg(i).toUtf8();
        const QByteArray second = tooWideIndexes.contains(i) ? tooWide.toUtf8() : QByteArray();
        list.cues.push_back(Cue{0, 1000, first, second, first});
    }
    return list;
}

TEST(FindFirstTooWideCueOnEveryCore, FindsTheSameFirstCueAsTheOneThreadCheck) {
    const RenderSettings settings;
    const QString tooWide = test::LineOfWidth(SubtitleFont(settings), 690);
    for (const QList<int>& indexes : {QList<int>{}, QList<int>{0}, QList<int>{2999},
                                      QList<int>{255, 256}, QList<int>{1500, 700, 2900}}) {
        const CueList list = CuesWithTooWideAt(indexes, tooWide);
        const std::optional<TooWideCue> expected = FindFirstTooWideCue(list, settings);
        const std::optional<TooWideCue> found = FindFirstTooWideCueOnEveryCore(list, settings);
        ASSERT_EQ(found.has_value(), expected.has_value());
        ASSERT_EQ(found.has_value(), !indexes.isEmpty());
        if (found) {
            EXPECT_EQ(found->index, *std::min_element(indexes.begin(), indexes.end()));
            EXPECT_EQ(found->index, expected->index);
            EXPECT_EQ(found->firstLine, expected->firstLine);
            EXPECT_EQ(found->secondLine, tooWide);
        }
    }
}

}  // namespace
}  // namespace marvoxa
