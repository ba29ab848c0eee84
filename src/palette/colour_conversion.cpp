#include "palette/colour_conversion.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace marvoxa {
namespace {

// A few Y Cr Cb triples land a hair off a half in 80-bit arithmetic; another precision would
// round them the other way and the swatches would no longer match the colours users know.
static_assert(std::numeric_limits<long double>::digits == 64,
              "display colours are defined by x87 80-bit extended arithmetic");

// Nearest integer with halves to even (the default rounding mode), then held to a byte.
int ToComponent(long double value) {
    const long double rounded = std::nearbyintl(value);
    return static_cast<int>(std::clamp(rounded, 0.0L, 255.0L));
}

}  // namespace

QRgb YCrCbToRgb(quint8 y, quint8 cr, quint8 cb) {
    const long double luma = y;
    const long double crOffset = cr - 128;
    const long double cbOffset = cb - 128;
    // Every intermediate stays long double and G subtracts its two products in this order:
    // both decide on which side of a half some results fall.
    const long double red = luma + 1.402L * crOffset;
    const long double green = (luma - 0.34414L * cbOffset) - 0.71414L * crOffset;
    const long double blue = luma + 1.772L * cbOffset;
    return qRgb(ToComponent(red), ToComponent(green), ToComponent(blue));
}

}  // namespace marvoxa
