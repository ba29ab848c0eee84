#pragma once

#include "common/result.h"

#include <QtGlobal>

namespace marvoxa {

// Presentation times on a DVD count a 90 kHz clock.
inline constexpr qint64 kTicksPerSecond = 90000;

inline constexpr qint64 TicksToMs(qint64 ticks) {
    return ticks / 90;
}

// A playback time as an IFO stores it: hours, minutes, seconds and frames in BCD, the two high
// bits of the frame byte telling the frame rate.
struct DvdTime {
    int hours = 0;
    int minutes = 0;
    int seconds = 0;
    int frames = 0;
    int framesPerSecond = 0;  // 25, or 30 for 29.97; 0 when the rate bits name none
    qint64 ticks = 0;         // the whole time on the 90 kHz clock

    qint64 ms() const { return TicksToMs(ticks); }
};

// Decodes the four bytes of an IFO time. Fails (ErrorKind::Format) on a digit above 9, minutes
// or seconds above 59, a frame number the rate cannot have, or frames without a known rate.
Result<DvdTime> DecodeDvdTime(quint8 hour, quint8 minute, quint8 second, quint8 frameByte);

}  // namespace marvoxa
