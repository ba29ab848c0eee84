#include "sup/sup_packet.h"

#include "test_helpers.h"

#include <gtest/gtest.h>

namespace marvoxa {
namespace {

using test::Hex;

const QByteArray kBlueRow = Hex("03 FC 03 FC 03 44 00 00");

TEST(BuildSupPacket, WritesTheWholePacketForEvenFieldData) {
    const Result<QByteArray> packet =
        BuildSupPacket(1000, 2000, {1, 0, 3, 0}, 500, 2, kBlueRow, kBlueRow);
    ASSERT_TRUE(packet.ok()) << packet.error().message.toStdString();
    EXPECT_EQ(packet.value(),
              Hex("53 50 90 5F 01 00 00 00 00 00"  // "SP", 1000 ms * 90, 0
                  "00 34 00 16 00 00"              // size 16 + 36, control at 16 + 6
                  "03 FC 03 FC 03 44 00 00"        // top field
                  "03 FC 03 FC 03 44 00 00"        // bottom field
                  "00 00 00 2E 01"                 // now, next at 16 + 30, start display
                  "03 10 30 04 FF F0"              // colours 1 0 3 0, contrast
                  "05 00 02 CF 1F 41 F5"           // columns 0-719, rows 500-501
                  "06 00 06 00 0E FF"              // fields at 6 and 6 + 8
                  "00 B0 00 2E 02 FF"));           // after 176 units, itself next, stop
}

TEST(BuildSupPacket, PadsOddFieldDataToAnEvenUnit) {
    const Result<QByteArray> packet =
        BuildSupPacket(0, 256, {10, 11, 12, 13}, 2, 2, Hex("E0 00 00"), kBlueRow);
    ASSERT_TRUE(packet.ok()) << packet.error().message.toStdString();
    EXPECT_EQ(packet.value(),
              Hex("53 50 00 00 00 00 00 00 00 00"
                  "00 30 00 11 00 00"  // size 11 + 37, control at 11 + 6
                  "E0 00 00"
                  "03 FC 03 FC 03 44 00 00"
                  "00 00 00 29 01"  // next at 11 + 30
                  "03 AB CD 04 FF F0"
                  "05 00 02 CF 00 20 03"  // rows 2-3
                  "06 00 06 00 09 FF"     // fields at 6 and 6 + 3
                  "00 16 00 29 02 FF FF"));
}

TEST(BuildSupPacket, WritesTimesAtTheirLimits) {
    struct Case {
        qint64 start, duration;
        const char* presentation;  // little-endian
        const char* stopDelay;     // big-endian
    };
    for (const Case& c :
         {Case{0, 0, "00 00 00 00", "00 00"}, Case{23'860'929, 768, "DA FF FF 7F", "00 44"},
          Case{5, 745'648, "C2 01 00 00", "FF FF"}}) {
        const Result<QByteArray> packet =
            BuildSupPacket(c.start, c.duration, {}, 0, 2, kBlueRow, {});
        ASSERT_TRUE(packet.ok()) << packet.error().message.toStdString();
        EXPECT_EQ(packet.value().mid(2, 4), Hex(c.presentation)) << c.start << " ms";
        EXPECT_EQ(packet.value().mid(10 + 8 + 30, 2), Hex(c.stopDelay)) << c.duration << " ms";
    }
}

TEST(BuildSupPacket, RefusesTimesTheFormatCannotHold) {
    struct Case {
        qint64 start, duration;
        const char* shownValue;
    };
    for (const Case& c : {Case{-1, 1000, "-1"}, Case{23'860'930, 1000, "23860929"},
                          Case{1000, -100, "-100"}, Case{1000, 745'649, "745649"}}) {
        const Result<QByteArray> packet =
            BuildSupPacket(c.start, c.duration, {}, 0, 2, kBlueRow, {});
        ASSERT_FALSE(packet.ok()) << "start " << c.start << " ms, duration " << c.duration << " ms";
        EXPECT_EQ(packet.error().kind, ErrorKind::Limit);
        EXPECT_TRUE(packet.error().message.contains(QLatin1String(c.shownValue)))
            << packet.error().message.toStdString();
    }
}

TEST(BuildSupPacket, RefusesUnitsOf64KiBOrMore) {
    const Result<QByteArray> largest =
        BuildSupPacket(0, 1000, {}, 0, 2, QByteArray(65'000, '\0'), QByteArray(498, '\0'));
    ASSERT_TRUE(largest.ok());
    EXPECT_EQ(largest.value().mid(10, 2), Hex("FF FE"));  // 65498 + 36

    const Result<QByteArray> tooLarge =
        BuildSupPacket(0, 1000, {}, 0, 2, QByteArray(65'000, '\0'), QByteArray(499, '\0'));
    ASSERT_FALSE(tooLarge.ok());  // 65499 + 37
    EXPECT_EQ(tooLarge.error().kind, ErrorKind::Limit);
}

}  // namespace
}  // namespace marvoxa
