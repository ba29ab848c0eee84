#pragma once

#include "subtitles/cue_reading.h"

#include <QByteArray>
#include <QList>

namespace marvoxa {

// Reads SUB/TXT cues ({start frame}{end frame}first|second) from a file's raw lines. Line 0,
// less its first six characters, must name an accepted frame rate; otherwise nothing is read and
// frameRateRefused is set. Every later line beginning with "{" is a cue, kept whole as its display
// entry. A frame number that is not an integer, or whose millisecond product would overflow 32
// bits, stops reading with the conversion error. With controlCodes, the frame numbers are the
// first two brace groups and what follows is text, so MicroDVD codes such as {y:i} may follow.
CueReading ReadSubCues(const QList<QByteArray>& rawLines, bool controlCodes = false);

}  // namespace marvoxa
