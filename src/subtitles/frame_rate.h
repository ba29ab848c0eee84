#pragma once

#include <QByteArray>

#include <optional>

namespace marvoxa {

// Frames per second for one of the eight frame-rate texts a SUB/TXT file may name: "23.976",
// "24.000", "24", "25.000", "25", "29.970", "30", "30.000". The match is exact, byte for byte
// (no trimming, no numeric parse); any other text gives nothing. 23.976 and 29.97 are the decimal
// values as written, not 24000/1001 and 30000/1001.
std::optional<long double> FrameRateFromText(const QByteArray& text);

}  // namespace marvoxa
