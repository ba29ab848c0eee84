#pragma once

#include "render/render_settings.h"
#include "subtitles/cue_list.h"

#include <QString>

#include <optional>

namespace marvoxa {

// Losses that do not stop a subtitle from being drawn but that the user must hear of, each as
// one message naming how many cues are concerned and the first of them.

// Cues with more than two lines (after markup and wrapping) of which only two are drawn;
// nothing when every line is drawn.
std::optional<QString> ExtraLinesNotice(const CueList& cueList, const RenderSettings& settings);

// Cues whose drawing holds empty boxes where no installed font has the glyph: the first such
// cue with its character as U+XXXX and its script, the first cue of each other script so
// affected, and the Debian packages that bring the faces these scripts lack.
std::optional<QString> UndrawableCharactersNotice(const CueList& cueList,
                                                  const RenderSettings& settings);

// Cues shown at the same time as others: generation shows them together, the later above the
// earlier, where a player would show only one.
std::optional<QString> OverlappingCuesNotice(const CueList& cueList);

}  // namespace marvoxa
