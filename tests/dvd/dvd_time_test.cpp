#include "dvd/dvd_time.h"

#include <gtest/gtest.h>

#include <array>

namespace marvoxa {
namespace {

TEST(DvdTime, ReadsBcdDigitsAtTheRateItsHighBitsNameAndRefusesTimesNoClockHas) {
    struct Stored {
        std::array<quint8, 4> bytes;
        int framesPerSecond;  // -1: refused
        qint64 seconds;
        int frames;
    };
    const std::array<Stored, 11> times = {{
        {{0x01, 0x02, 0x03, 0x40 | 0x12}, 25, 3723, 12},
        {{0x00, 0x59, 0x59, 0x40 | 0x24}, 25, 3599, 24},
        {{0x02, 0x10, 0x00, 0xc0 | 0x29}, 30, 7800, 29},
        {{0x00, 0x00, 0x00, 0x00}, 0, 0, 0},  // an empty cell names no rate
        {{0x0a, 0x00, 0x00, 0x40}, -1, 0, 0},
        {{0x00, 0x60, 0x00, 0x40}, -1, 0, 0},
        {{0x00, 0x00, 0x7f, 0x40}, -1, 0, 0},
        {{0x00, 0x00, 0x01, 0x40 | 0x25}, -1, 0, 0},
        {{0x00, 0x00, 0x01, 0xc0 | 0x30}, -1, 0, 0},
        {{0x00, 0x00, 0x01, 0x80 | 0x05}, -1, 0, 0},
        {{0x00, 0x00, 0x01, 0x00 | 0x05}, -1, 0, 0},
    }};
    for (const Stored& stored : times) {
        const auto& [hour, minute, second, frame] = stored.bytes;
        SCOPED_TRACE(testing::Message() << std::hex << int{hour} << ":" << int{minute} << ":"
                                        << int{second} << " " << int{frame});
        const Result<DvdTime> time = DecodeDvdTime(hour, minute, second, frame);
        ASSERT_EQ(time.ok(), stored.framesPerSecond >= 0);
        if (!time) {
            EXPECT_EQ(time.error().kind, ErrorKind::Format);
            continue;
        }
        EXPECT_EQ(time.value().framesPerSecond, stored.framesPerSecond);
        // A frame lasts 1/25 s, or 1001/30000 s at 29.97 frames a second.
        const qint64 frameTicks = stored.framesPerSecond == 25 ? 90000 / 25 : 90000 * 1001 / 30000;
        EXPECT_EQ(time.value().ticks, stored.seconds * 90000 + stored.frames * frameTicks);
    }
}

}  // namespace
}  // namespace marvoxa
