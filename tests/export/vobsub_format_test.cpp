#include "export/vobsub_index.h"
#include "export/vobsub_packs.h"

#include "../sup/test_helpers.h"
#include "palette/generic_palette.h"

#include <gtest/gtest.h>

namespace marvoxa {
namespace {

struct ReadPacks {
    QByteArray payload;  // the sub-stream's bytes, packs joined
    qint64 pts = -1;
    int packs = 0;
};

// Reads packs as an MPEG-2 program stream demuxer does, checking every length on the way.
ReadPacks Demux(const QByteArray& bytes) {
    ReadPacks read;
    EXPECT_EQ(bytes.size() % kPackSize, 0);
    for (qsizetype pack = 0; pack + kPackSize <= bytes.size(); pack += kPackSize) {
        ++read.packs;
        const QByteArray p = bytes.mid(pack, kPackSize);
        EXPECT_EQ(p.left(4), test::Hex("00 00 01 BA"));
        EXPECT_EQ(static_cast<quint8>(p[4]) >> 6, 1) << "MPEG-2 pack header";
        qsizetype at = 14 + (static_cast<quint8>(p[13]) & 7);
        while (at < kPackSize) {
            EXPECT_EQ(p.mid(at, 3), test::Hex("00 00 01"));
            const quint8 id = static_cast<quint8>(p[at + 3]);
            const int length =
                (static_cast<quint8>(p[at + 4]) << 8) | static_cast<quint8>(p[at + 5]);
            if (id == 0xbd) {
                const int headerLength = static_cast<quint8>(p[at + 8]);
                if ((static_cast<quint8>(p[at + 7]) & 0x80) != 0) {
                    const auto b = [&](int i) {
                        return static_cast<qint64>(static_cast<quint8>(p[at + 9 + i]));
                    };
                    read.pts = ((b(0) >> 1) & 7) << 30 | b(1) << 22 | (b(2) >> 1) << 15 |
                               b(3) << 7 | b(4) >> 1;
                }
                const qsizetype data = at + 9 + headerLength;
                EXPECT_EQ(static_cast<quint8>(p[data]), 0x20) << "first subtitle stream";
                read.payload += p.mid(data + 1, at + 6 + length - data - 1);
            } else {
                EXPECT_EQ(id, 0xbe) << "only a padding packet may follow";
            }
            at += 6 + length;
        }
        EXPECT_EQ(at, kPackSize) << "packets fill the pack exactly";
    }
    return read;
}

QByteArray Unit(qsizetype size) {
    QByteArray unit(size, '\0');
    for (qsizetype i = 0; i < size; ++i) {
        unit[i] = static_cast<char>(i * 7 + 3);
    }
    return unit;
}

TEST(VobSubPacks, CarryTheUnitWithItsTimeOverAsManyPacksAsItNeeds) {
    // 2019 bytes fill the first pack; one more byte needs a second pack, and sizes that leave
    // 1 to 5 bytes over (too few for a padding packet) are stuffed into the packet header.
    const struct {
        qsizetype size;
        int packs;
    } cases[] = {{62, 1},
                 {2018, 1},
                 {2019, 1},
                 {2020, 2},
                 {2019 + 2020, 2},
                 {2019 + 2024, 2},
                 {2019 + 2024 + 3, 3},
                 {20000, 10}};
    for (const auto& [size, packs] : cases) {
        SCOPED_TRACE(size);
        const QByteArray unit = Unit(size);
        const ReadPacks read = Demux(VobSubPacks(unit, 90'000LL * 3600 * 5 + 12345));
        EXPECT_EQ(read.packs, packs);
        EXPECT_EQ(read.payload, unit);
        EXPECT_EQ(read.pts, 90'000LL * 3600 * 5 + 12345);
    }
}

TEST(VobSubPacks, WriteTheTimeInTheStandardsBitLayout) {
    // PTS 1 0010 0011 0100 0101 0110 0111 1000 1001 as '0010' [32..30] 1 [29..15] 1 [14..0] 1:
    // 0010 100 1 | 1000 1101 | 0001 010 1 | 1100 1111 | 0001 001 1
    const QByteArray packs = VobSubPacks(test::Hex("00 08"), 0x123456789LL);
    EXPECT_EQ(packs.mid(14, 9), test::Hex("00 00 01 BD 00 0B 81 80 05"));
    EXPECT_EQ(packs.mid(23, 5), test::Hex("29 8D 15 CF 13"));
    EXPECT_EQ(packs.mid(28, 3), test::Hex("20 00 08"));
    // The clock reference: '01' [32..30] 1 [29..15] 1 [14..0] 1, extension 0, 1:
    // 01 100 1 10 | 0011 0100 | 0101 0 1 11 | 0011 1100 | 0100 1 1 00 | 0000000 1
    EXPECT_EQ(packs.mid(4, 6), test::Hex("66 34 57 3C 4C 01"));
}

TEST(VobSubIndex, NamesSizePaletteLanguageAndWhereEachCueStarts) {
    Palette palette = GenericPalette();
    palette.entries[15].displayColour = qRgb(0x12, 0xab, 0xef);
    const QString header =
        QString::fromUtf8(VobSubIndexHeader(VideoStandard::Ntsc, palette, QStringLiteral("el")));
    EXPECT_TRUE(
        header.startsWith(QStringLiteral("# VobSub index file, v7 (do not modify this line!)\n")));
    EXPECT_TRUE(header.contains(QStringLiteral("\nsize: 720x480\n")));
    EXPECT_TRUE(header.contains(QStringLiteral(
        "\npalette: 000000, 555555, aaaaaa, ffffff, 000000, 000000, 000000, 000000, 000000, "
        "000000, 000000, 000000, 000000, 000000, 000000, 12abef\n")));
    EXPECT_TRUE(header.endsWith(QStringLiteral("\nid: el, index: 0\n")));
    EXPECT_EQ(VobSubTimestampLine(3'723'004, 0xa800),
              QByteArrayLiteral("timestamp: 01:02:03:004, filepos: 00000a800\n"));
    EXPECT_EQ(VobSubTimestampLine(0, 0),
              QByteArrayLiteral("timestamp: 00:00:00:000, filepos: 000000000\n"));
}

}  // namespace
}  // namespace marvoxa
