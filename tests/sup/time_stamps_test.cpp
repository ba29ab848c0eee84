#include "sup/time_stamps.h"

#include <gtest/gtest.h>

#include <array>
#include <utility>

namespace marvoxa {
namespace {

TEST(StopDelay, RoundsUnitsOf1024TicksToNearestAndHalvesToEven) {
    constexpr std::array<std::pair<qint64, qint64>, 9> kDurationsAndDelays = {{
        {0, 0},
        {5, 0},       // 0.44
        {6, 1},       // 0.53
        {256, 22},    // 22.5
        {768, 68},    // 67.5
        {2000, 176},  // 175.78
        {-100, -9},   // -8.79
        {-256, -22},  // -22.5
        {745648, 65535},
    }};
    for (const auto& [duration, delay] : kDurationsAndDelays) {
        EXPECT_EQ(StopDelay(duration), delay) << duration << " ms";
    }
}

}  // namespace
}  // namespace marvoxa
