#pragma once

#include "common/result.h"
#include "subtitles/cue_list.h"

#include <QtGlobal>

#include <optional>
#include <vector>

namespace marvoxa {

// What one of the readers made of a file's raw lines.
struct CueReading {
    // The cues read, in file order; when reading stopped early, those read before the stop.
    std::vector<Cue> cues;
    // SRT, WebVTT and ASS: the text lines after the second of each cue, by cue position; it ends
    // with the last cue that has any.
    std::vector<QList<QByteArray>> furtherLines;
    // Why reading stopped early, with the text the user reads.
    std::optional<Error> error;
    // SUB/TXT only: the first line names no accepted frame rate (error then holds its message).
    bool frameRateRefused = false;
    // Timing lines that could not be read and were skipped (SRT and WebVTT lines containing
    // "-->", ASS Dialogue lines), and the 1-based line number of the first (0 when there is
    // none).
    qsizetype unreadableTimingLines = 0;
    qsizetype firstUnreadableLineNumber = 0;
    // WebVTT and ASS only: cues left out because no text remained once their markup was
    // handled, and the start of the first of them.
    qsizetype textlessCues = 0;
    qint32 firstTextlessStartMs = 0;
};

// Adds a cue of a styled reader (WebVTT, ASS) with its lines, top line first, as an SRT cue of
// those lines would be: first and second line, the rest further lines, the display entry the
// first two joined by " | ". A cue without lines is counted in textlessCues instead.
void AppendTextCue(CueReading& reading, qint32 startMs, qint32 endMs, QList<QByteArray> lines);

}  // namespace marvoxa
