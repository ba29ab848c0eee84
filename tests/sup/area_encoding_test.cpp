#include "sup/area_encoding.h"

#include "reference_rle_decoder.h"
#include "test_helpers.h"

#include <gtest/gtest.h>

#include <array>
#include <random>

namespace marvoxa {
namespace {

using test::BlueFrame;
using test::Hex;
using test::kRoles;
using test::kText;
using test::Paint;

const QByteArray kBlueRow = Hex("03 FC 03 FC 03 44 00 00");

TEST(EncodeArea, PutsEvenRowsInTheTopFieldAndOddRowsInTheBottomField) {
    QImage frame = BlueFrame();
    Paint(frame, 501, 300, 309, kText);
    const Result<FieldData> fields = EncodeArea(frame, 500, 3, kRoles);
    ASSERT_TRUE(fields.ok()) << fields.error().message.toStdString();
    EXPECT_EQ(fields.value().top, kBlueRow + kBlueRow);
    EXPECT_EQ(fields.value().bottom, Hex("03 FC 0B 02 90 3F C0 26 C0 00 00"));
}

TEST(EncodeArea, ReadsFramesOfOtherFormatsAlike) {
    QImage frame = BlueFrame();
    Paint(frame, 200, 10, 40, kText);
    const Result<FieldData> expected = EncodeArea(frame, 200, 2, kRoles);
    const Result<FieldData> converted =
        EncodeArea(frame.convertToFormat(QImage::Format_RGB32), 200, 2, kRoles);
    ASSERT_TRUE(expected.ok() && converted.ok());
    EXPECT_EQ(converted.value().top, expected.value().top);
    EXPECT_EQ(converted.value().bottom, expected.value().bottom);
}

TEST(EncodeArea, OddHeightGivesTheTopFieldOneRowMore) {
    for (const auto& [height, topRows, bottomRows] :
         std::array<std::array<int, 3>, 4>{{{1, 1, 0}, {2, 1, 1}, {5, 3, 2}, {6, 3, 3}}}) {
        const Result<FieldData> fields = EncodeArea(BlueFrame(), 100, height, kRoles);
        ASSERT_TRUE(fields.ok());
        EXPECT_EQ(fields.value().top.size(), topRows * kBlueRow.size()) << "height " << height;
        EXPECT_EQ(fields.value().bottom.size(), bottomRows * kBlueRow.size())
            << "height " << height;
    }
}

TEST(EncodeArea, RefusesRowsOutsideTheFrame) {
    struct Case {
        int top, height, frameHeight;
        bool fits;
    };
    for (const Case& c : {Case{0, 4, 576, true}, Case{568, 8, 576, true}, Case{-2, 10, 576, false},
                          Case{572, 5, 576, false}, Case{476, 5, 480, false}}) {
        const Result<FieldData> fields =
            EncodeArea(BlueFrame(c.frameHeight), c.top, c.height, kRoles);
        ASSERT_EQ(fields.ok(), c.fits) << "rows from " << c.top << ", height " << c.height;
        if (!c.fits) {
            EXPECT_EQ(fields.error().kind, ErrorKind::Limit);
            const QString lastRow = QString::number(c.top + c.height - 1);
            EXPECT_TRUE(fields.error().message.contains(lastRow))
                << fields.error().message.toStdString();
        }
    }
}

// Decoding must give back what the frame shows: every row one column to the left, the
// never-read last column taking the colour of the one before it, and background after it.
TEST(EncodeArea, DecodesBackToTheFrameShiftedOneColumnLeft) {
    const std::array<QRgb, 7> colours = {kFrameBlue,       test::kText,     test::kOutline,
                                         test::kAntialias, qRgb(1, 0, 255), qRgb(0, 1, 255),
                                         qRgb(0, 0, 254)};
    std::mt19937 random(20240611);
    std::uniform_int_distribution<int> colourIndex(0, colours.size() - 1);
    std::uniform_int_distribution<int> runLength(1, 8);
    std::uniform_int_distribution<int> longRunLength(1, 720);

    QImage frame = BlueFrame();
    constexpr int kTop = 300;
    constexpr int kHeight = 41;
    for (int row = kTop; row < kTop + kHeight; ++row) {
        for (int column = 0; column < 720;) {
            const int length = row % 4 == 0 ? longRunLength(random) : runLength(random);
            const int last = std::min(column + length, 720) - 1;
            Paint(frame, row, column, last, colours[colourIndex(random)]);
            column = last + 1;
        }
    }
    const Result<FieldData> fields = EncodeArea(frame, kTop, kHeight, kRoles);
    ASSERT_TRUE(fields.ok());
    const test::DecodedField top = test::DecodeField(fields.value().top, 720);
    const test::DecodedField bottom = test::DecodeField(fields.value().bottom, 720);
    ASSERT_TRUE(top.error.isEmpty()) << top.error.toStdString();
    ASSERT_TRUE(bottom.error.isEmpty()) << bottom.error.toStdString();
    ASSERT_EQ(top.rows.size(), 21u);
    ASSERT_EQ(bottom.rows.size(), 20u);

    for (int row = kTop; row < kTop + kHeight; ++row) {
        std::vector<int> expected;
        for (int column = 1; column < 719; ++column) {
            expected.push_back(static_cast<int>(ClassifyPixel(frame.pixel(column, row), kRoles)));
        }
        expected.push_back(expected.back());
        expected.push_back(0);
        const int fieldRow = (row - kTop) / 2;
        const auto& decoded = row % 2 == 0 ? top.rows[fieldRow] : bottom.rows[fieldRow];
        EXPECT_EQ(decoded, expected) << "row " << row;
    }
}

}  // namespace
}  // namespace marvoxa
