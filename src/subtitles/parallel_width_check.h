#pragma once

#include "subtitles/line_width_check.h"

namespace marvoxa {

// FindFirstTooWideCue measuring blocks of cues side by side on every core; the answer is the
// same, the first too-wide cue in file order.
std::optional<TooWideCue> FindFirstTooWideCueOnEveryCore(const CueList& cueList,
                                                         const RenderSettings& settings);

}  // namespace marvoxa
