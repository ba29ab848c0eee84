#pragma once

#include "cue_printing.h"
#include "subtitles/cue_lines.h"
#include "subtitles/subtitle_loader.h"
#include "test_files.h"

#include <QDir>

#include <gtest/gtest.h>

#include <vector>

namespace marvoxa::test {

// A cue of a styled subtitle file as the test expects it: its times, the text drawn in every
// markup mode (lines joined by "|") and its first line as read for drawing with styles.
struct ExpectedCue {
    qint32 startMs;
    qint32 durationMs;
    const char* drawnText;
    const char* styledFirstLine;
};

// Loads the collection's file in every markup mode and compares its cues, and its notice, with
// the expected ones; placement ({\anN}) counts only with styles.
inline void ExpectDrawnCues(const char* name, const std::vector<ExpectedCue>& expected,
                            const std::optional<QString>& notice = std::nullopt) {
    SCOPED_TRACE(name);
    for (const MarkupMode mode : {MarkupMode::Text, MarkupMode::Strip, MarkupMode::Render}) {
        const SubtitleLoad load = LoadSubtitleFile(
            QDir(SubtitleCollectionDir()).filePath(QString::fromLatin1(name)), mode);
        ASSERT_FALSE(load.error.has_value()) << load.error->message.toStdString();
        EXPECT_EQ(load.notice, notice);
        ASSERT_EQ(load.cueList.cues.size(), expected.size());
        RenderSettings settings;
        settings.text = TextOptions{mode, false, true};
        for (size_t i = 0; i < expected.size(); ++i) {
            const Cue& cue = load.cueList.cues[i];
            EXPECT_EQ(cue.startMs, expected[i].startMs) << i;
            EXPECT_EQ(cue.durationMs, expected[i].durationMs) << i;
            const CueLines lines = DrawnCueLines(load.cueList, i, settings);
            QStringList texts;
            for (const StyledLine& line : lines.drawn) {
                texts << line.text();
            }
            EXPECT_EQ(texts.join(u'|'), QString::fromUtf8(expected[i].drawnText)) << i;
            if (mode == MarkupMode::Render) {
                EXPECT_EQ(cue.firstLine, QByteArray(expected[i].styledFirstLine)) << i;
            } else if (mode == MarkupMode::Text) {
                EXPECT_EQ(lines.placement, 0) << i;
            }
        }
    }
}

}  // namespace marvoxa::test
