#include "dvd/dvd_time.h"

#include <gtest/gtest.h>

#include <array>

namespace marvoxa {
namespace {

struct StoredTime {
    std::array<quint8, 4> bytes;
    int framesPerSecond;
    qint64 seconds;  // the whole seconds the digits say
    int frames;
};

TEST(DvdTime, ReadsBcdDigitsAndTheFrameRateBits) {
    const std::array<StoredTime, 6> times = {{
        {{0x00, 0x00, 0x05, 0x40}, 25, 5, 0},
        {{0x01, 0x02, 0x03, 0x40 | 0x12}, 25, 3723, 12},
        {{0x00, 0x59, 0x59, 0x40 | 0x24}, 25, 3599, 24},
        {{0x00, 0x00, 0x04, 0xc0 | 0x01}, 30, 4, 1},
        {{0x02, 0x10, 0x00, 0xc0 | 0x29}, 30, 7800, 29},
        {{0x00, 0x00, 0x00, 0x00}, 0, 0, 0},  // an empty cell names no rate
    }};
    for (const StoredTime& stored : times) {
        const auto& [hour, minute, second, frame] = stored.bytes;
        SCOPED_TRACE(testing::Message() << std::hex << int{hour} << ":" << int{minute} << ":"
                                        << int{second} << "." << int{frame});
        const Result<DvdTime> time = DecodeDvdTime(hour, minute, second, frame);
        ASSERT_TRUE(time.ok()) << time.error().message.toStdString();
        EXPECT_EQ(time.value().framesPerSecond, stored.framesPerSecond);
        EXPECT_EQ(time.value().frames, stored.frames);
        EXPECT_EQ(time.value().hours * 3600 + time.value().minutes * 60 + time.value().seconds,
                  stored.seconds);
        // A frame lasts 1/25 s, or 1001/30000 s at 29.97 frames a second.
        const qint64 frameTicks = stored.framesPerSecond == 25 ? 90000 / 25 : 90000 * 1001 / 30000;
        EXPECT_EQ(time.value().ticks, stored.seconds * 90000 + stored.frames * frameTicks);
        EXPECT_EQ(time.value().ms(), time.value().ticks / 90);
    }
}

TEST(DvdTime, RefusesDigitsAndFramesNoClockHas) {
    const std::array<std::array<quint8, 4>, 7> broken = {{
        {0x0a, 0x00, 0x00, 0x40},         // hour digit above 9
        {0x00, 0x60, 0x00, 0x40},         // minute 60
        {0x00, 0x00, 0x7f, 0x40},         // second digit above 9
        {0x00, 0x00, 0x01, 0x40 | 0x25},  // frame 25 at 25 a second
        {0x00, 0x00, 0x01, 0xc0 | 0x30},  // frame 30 at 29.97
        {0x00, 0x00, 0x01, 0x80 | 0x05},  // the rate bits name none
        {0x00, 0x00, 0x01, 0x00 | 0x05},
    }};
    for (const auto& [hour, minute, second, frame] : broken) {
        const Result<DvdTime> time = DecodeDvdTime(hour, minute, second, frame);
        ASSERT_FALSE(time.ok()) << std::hex << int{hour} << " " << int{minute} << " " << int{second}
                                << " " << int{frame};
        EXPECT_EQ(time.error().kind, ErrorKind::Format);
        EXPECT_TRUE(time.error().message.startsWith(QStringLiteral("the playback time ")));
    }
}

}  // namespace
}  // namespace marvoxa
