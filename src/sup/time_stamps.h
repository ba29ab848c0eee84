#pragma once

#include <QtGlobal>

#include <limits>

namespace marvoxa {

// The stream's clock runs at 90 kHz: a presentation time is the start in milliseconds * 90.
constexpr qint64 PresentationTime(qint64 startMs) {
    return startMs * 90;
}

// A control sequence's delay counts units of 1024 ticks of the 90 kHz clock. The duration
// is rounded to the nearest unit, halves to the even one (256 ms is 22.5 units, so 22).
constexpr qint64 StopDelay(qint64 durationMs) {
    constexpr qint64 kTicksPerUnit = 1024;
    const qint64 ticks = durationMs * 90;
    qint64 units = ticks / kTicksPerUnit;
    qint64 remainder = ticks % kTicksPerUnit;
    if (remainder < 0) {  // round towards minus infinity first
        remainder += kTicksPerUnit;
        --units;
    }
    if (2 * remainder > kTicksPerUnit || (2 * remainder == kTicksPerUnit && units % 2 != 0)) {
        ++units;
    }
    return units;
}

// The latest start the header's signed 32-bit presentation time can hold (6 h 37 min).
inline constexpr qint64 kLatestStartMs = 23'860'929;
static_assert(PresentationTime(kLatestStartMs) <= std::numeric_limits<qint32>::max());
static_assert(PresentationTime(kLatestStartMs + 1) > std::numeric_limits<qint32>::max());

// The longest duration whose stop delay fits the 16-bit delay field (12 min 25 s).
inline constexpr qint64 kLongestDurationMs = 745'648;
static_assert(StopDelay(kLongestDurationMs) <= 0xffff);
static_assert(StopDelay(kLongestDurationMs + 1) > 0xffff);

}  // namespace marvoxa
