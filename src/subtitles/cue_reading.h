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
    // SRT only: the text lines after the second of each cue, by cue position; it ends with
    // the last cue that has any.
    std::vector<QList<QByteArray>> furtherLines;
    // Why reading stopped early, with the text the user reads.
    std::optional<Error> error;
    // SUB/TXT only: the first line names no accepted frame rate (error then holds its message).
    bool frameRateRefused = false;
    // SRT only: lines containing "-->" that could not be read as timing lines, and the 1-based
    // line number of the first of them (0 when there is none).
    qsizetype unreadableTimingLines = 0;
    qsizetype firstUnreadableLineNumber = 0;
};

}  // namespace marvoxa
