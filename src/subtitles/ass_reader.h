#pragma once

#include "render/text_options.h"
#include "subtitles/cue_reading.h"

#include <QByteArray>
#include <QList>

namespace marvoxa {

// Reads the Dialogue lines of an ASS or SSA script's [Events] section, through its Format line
// (fields in any order; without one, the usual fields), as cues in file order. Each event's style
// gives its defaults; its text becomes the cue's lines as AssEventLines makes them for markup.
// Comment lines and every other section are passed over; section names and keys may be in any
// case and lines indented. A Dialogue line whose times cannot be read is skipped and counted.
// A script without an [Events] section (or a file that is no script) is refused.
CueReading ReadAssCues(const QList<QByteArray>& rawLines, MarkupMode markup);

}  // namespace marvoxa
