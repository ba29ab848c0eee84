#pragma once

#include "subtitles/cue_reading.h"

#include <QByteArray>
#include <QList>

namespace marvoxa {

// Reads SRT cues from a file's raw lines. Every timing line starts a cue whose text is the next
// line and, when the line after that is not empty, the one after it as second line; further text
// lines are ignored. The text lines are looked at again as timing lines, so a timing line right
// after another still starts its own cue. A timing line followed by an empty line gives no cue.
// A time field that is not an integer stops reading with the conversion error.
CueReading ReadSrtCues(const QList<QByteArray>& rawLines);

}  // namespace marvoxa
