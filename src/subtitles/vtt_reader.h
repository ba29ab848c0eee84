#pragma once

#include "render/text_options.h"
#include "subtitles/cue_reading.h"

#include <QByteArray>
#include <QList>

namespace marvoxa {

// Reads the cues of a WebVTT file, whose first line must begin with "WEBVTT" (else the file is
// refused). Passed over: the header's lines, NOTE, STYLE and REGION blocks, cue identifiers.
// A line with "-->" is a timing line and starts a cue whether a blank line (or a line of
// blanks) came before it or not; the cue's text runs to the next blank line or timing line,
// except that a line of digits right before a timing line is that cue's identifier.
// Times are [hours:]minutes:seconds with up to three fraction digits; a timing line whose times
// cannot be read is skipped with its text and counted.
// Cue text: <i> <b> <u> (with or without classes, as <i.loud>) keep their style, voice and
// class spans and <lang> are removed, ruby text (<rt>) is left out, <00:01.000> timestamps are
// removed and character references decoded. Cue settings place the cue as {\anN} does:
// "align:left" or "start" in the left column, "align:right" or "end" in the right one, and
// "line" at the top when it is a percentage up to 30% or a line number counted from the top
// (0 to 4) or from the bottom that far up (-12 and less): a frame holds about 16 lines.
CueReading ReadVttCues(const QList<QByteArray>& rawLines, MarkupMode markup);

}  // namespace marvoxa
