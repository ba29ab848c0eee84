#pragma once

#include "render/render_settings.h"
#include "render/styled_line.h"
#include "subtitles/cue_list.h"

#include <QList>

namespace marvoxa {

// A cue's lines as the settings' text options make them.
struct CueLines {
    // What is drawn, top line first: every line with allLines, otherwise the first two (or
    // the one line of a one-line cue).
    QList<StyledLine> drawn;
    // How many lines the cue has after markup and wrapping, drawn or not.
    qsizetype count = 0;
    // Where an {\anN} override places the cue, or 0 for the bottom of the frame in the
    // alignment the settings give.
    int placement = 0;
};

// The cue's text lines decoded with the file's encoding and the settings' charset, markup
// handled, too-wide lines wrapped when asked. SUB/TXT cues are split at every "|" when all
// lines are drawn; otherwise only at the last one, as when reading. With the default text
// options the result is the first and second line as read.
CueLines DrawnCueLines(const CueList& cueList, size_t index, const RenderSettings& settings);

}  // namespace marvoxa
