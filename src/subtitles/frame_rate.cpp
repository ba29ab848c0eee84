#include "subtitles/frame_rate.h"

#include <array>
#include <string_view>

namespace marvoxa {
namespace {

struct FrameRateEntry {
    std::string_view text;
    long double framesPerSecond;
};

constexpr std::array<FrameRateEntry, 8> kFrameRates{{
    {"23.976", 23.976L},
    {"24.000", 24.0L},
    {"24", 24.0L},
    {"25.000", 25.0L},
    {"25", 25.0L},
    {"29.970", 29.97L},
    {"30", 30.0L},
    {"30.000", 30.0L},
}};

}  // namespace

std::optional<long double> FrameRateFromText(const QByteArray& text) {
    const std::string_view candidate(text.constData(), static_cast<size_t>(text.size()));
    for (const FrameRateEntry& entry : kFrameRates) {
        if (entry.text == candidate) {
            return entry.framesPerSecond;
        }
    }
    return std::nullopt;
}

}  // namespace marvoxa
