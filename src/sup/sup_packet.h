#pragma once

#include "common/colour_roles.h"
#include "common/result.h"

#include <QByteArray>

namespace marvoxa {

// The largest subpicture unit: its size is a 16-bit field.
inline constexpr int kLargestUnitSize = 0xffff;

// One packet of the SUP stream: the "SP" header with the presentation time, then the
// subpicture unit that holds both fields, shows them at the presentation time in the
// roles' palette entries over rows AreaTop to AreaTop + AreaHeight - 1 of the full width,
// and hides them again after the duration.
//
// Fails (ErrorKind::Limit), producing nothing, when the cue cannot be told in the format:
// a negative start or duration, a start later than kLatestStartMs, a duration longer than
// kLongestDurationMs, or a unit larger than kLargestUnitSize. A zero duration is allowed.
// The message continues a sentence the caller begins with the cue, such as
// "Subtitle 12 at 00:01:02,500 cannot be written: ", and ends with what to change.
// A forced unit starts with the forced start command, so players show it even when
// subtitles are switched off, as DVDs carry translated signs and foreign dialogue.
Result<QByteArray> BuildSupPacket(qint64 startMs, qint64 durationMs, const ColourRoles& roles,
                                  int AreaTop, int AreaHeight, const QByteArray& topField,
                                  const QByteArray& bottomField, bool forced = false);

}  // namespace marvoxa
