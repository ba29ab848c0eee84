#include "export/shown_subpicture.h"

#include "../sup/test_helpers.h"
#include "sup/area_encoding.h"
#include "sup/pixel_classification.h"
#include "sup/sup_packet.h"

#include <gtest/gtest.h>

namespace marvoxa {
namespace {

QByteArray UnitOf(const QImage& frame, int areaTop, int areaHeight, const ColourRoles& roles) {
    const Result<FieldData> fields = EncodeArea(frame, areaTop, areaHeight, test::kRoles);
    EXPECT_TRUE(fields.ok());
    const Result<QByteArray> packet = BuildSupPacket(1000, 2000, roles, areaTop, areaHeight,
                                                     fields.value().top, fields.value().bottom);
    EXPECT_TRUE(packet.ok());
    return packet.value().mid(10);
}

TEST(ShownSubpicture, TakesAreaColoursAndContrastsFromTheFirstControlSequence) {
    // The 62-byte worked example: both rows blue, area 500 to 502, roles 1, 0, 3, 0.
    const QByteArray unit = test::Hex(
        "00 34 00 16 00 00 03 FC 03 FC 03 44 00 00 03 FC 03 FC 03 44 00 00"
        "00 00 00 2E 01 03 10 30 04 FF F0 05 00 02 CF 1F 41 F6 06 00 06 00 0E FF"
        "00 B0 00 2E 02 FF");
    const Result<ShownSubpicture> shown = DecodeShownSubpicture(unit);
    ASSERT_TRUE(shown.ok()) << shown.error().message.toStdString();
    EXPECT_EQ(shown.value().left, 0);
    EXPECT_EQ(shown.value().width, 720);
    EXPECT_EQ(shown.value().top, 500);
    EXPECT_EQ(shown.value().height, 3);  // the area's last row is one past the encoded rows
    EXPECT_EQ(shown.value().paletteEntries, (std::array<int, 4>{0, 3, 0, 1}));
    EXPECT_EQ(shown.value().contrasts, (std::array<int, 4>{0, 15, 15, 15}));
    EXPECT_EQ(std::count(shown.value().values.begin(), shown.value().values.end(), 0), 3 * 720);
}

TEST(ShownSubpicture, ShowsTheEncodedRowsOneColumnToTheLeft) {
    QImage frame = test::BlueFrame();
    // Row 100: text at the left edge (columns 0 to 4) and outline at 300 to 309.
    // Row 101: antialias up to the right edge.
    for (int column = 0; column < 5; ++column) {
        frame.setPixel(column, 100, test::kText);
    }
    for (int column = 300; column < 310; ++column) {
        frame.setPixel(column, 100, test::kOutline);
    }
    for (int column = 700; column < 720; ++column) {
        frame.setPixel(column, 101, test::kAntialias);
    }
    const Result<ShownSubpicture> shown =
        DecodeShownSubpicture(UnitOf(frame, 100, 2, ColourRoles{1, 2, 3, 0}));
    ASSERT_TRUE(shown.ok());
    const ShownSubpicture& picture = shown.value();
    ASSERT_EQ(picture.height, 2);
    for (int row = 0; row < 2; ++row) {
        for (int column = 0; column < 720; ++column) {
            const int source = std::min(column + 1, 718);
            const int expected =
                column == 719
                    ? 0
                    : static_cast<int>(ClassifyPixel(frame.pixel(source, 100 + row), test::kRoles));
            ASSERT_EQ(picture.valueAt(column, row), expected)
                << "row " << row << " column " << column;
        }
    }
}

TEST(ShownSubpicture, RefusesUnitsWithoutAUsableControlSequence) {
    EXPECT_FALSE(DecodeShownSubpicture(test::Hex("00 08")).ok());
    // The control sequence offset points past the end.
    EXPECT_FALSE(DecodeShownSubpicture(test::Hex("00 0A 00 40 00 00 00 00 00 00")).ok());
    // A sequence that only starts the display: no area, colours or fields.
    EXPECT_FALSE(DecodeShownSubpicture(test::Hex("00 0A 00 04 00 00 00 04 01 FF")).ok());
}

}  // namespace
}  // namespace marvoxa
