#pragma once

#include "common/result.h"

#include <QByteArray>

#include <optional>

namespace marvoxa {

// Start and end of an SRT cue in whole milliseconds, multiples of 10.
struct TimingLine {
    double startMs = 0;
    double endMs = 0;
};

// Milliseconds of an eleven-character time hh:mm:ss,cc. Characters 3, 6 and 9 are not looked
// at, so any separator passes; each two-character field must be an integer.
Result<double> TimecodeToMs(const QByteArray& text);

// The classic timing line: exactly 29 or 58 characters with "-->" at characters 14 to 16.
bool HasStrictTimingShape(const QByteArray& line);

// Reads a line of the classic shape: start from characters 1-11, end from 18-28, third
// millisecond digits dropped; anything after character 29 is ignored.
Result<TimingLine> ReadStrictTimingLine(const QByteArray& line);

// Reads the timing lines real files carry besides the classic shape: leading or trailing blanks,
// one-digit fields, no blank around "-->", '.' before the milliseconds, and anything after a blank
// following the end time (position marks). Keeps the 10 ms resolution: the milliseconds are the
// first two digits, a single digit d meaning d*100 ms. Nothing when the line is not of that form.
std::optional<TimingLine> ReadLenientTimingLine(const QByteArray& line);

}  // namespace marvoxa
