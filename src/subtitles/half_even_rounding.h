#pragma once

#include <QtGlobal>

#include <cmath>

namespace marvoxa {

// Rounds to the nearest integer, halves to the even neighbour (banker's rounding), independent
// of the floating-point environment's rounding mode.
inline qint64 RoundHalfEven(long double value) {
    const long double below = std::floor(value);
    const long double fraction = value - below;
    qint64 result = static_cast<qint64>(below);
    if (fraction > 0.5L || (fraction == 0.5L && result % 2 != 0)) {
        ++result;
    }
    return result;
}

}  // namespace marvoxa
