#include "sup/row_encoding.h"

#include "test_helpers.h"

#include <gtest/gtest.h>

namespace marvoxa {
namespace {

using test::Hex;

struct EncodingCase {
    const char* name;
    RowRuns runs;
    const char* expected;
};

class EncodeRowTest : public ::testing::TestWithParam<EncodingCase> {};

TEST_P(EncodeRowTest, WritesTheRunCodes) {
    QByteArray row;
    AppendEncodedRow(GetParam().runs, row);
    EXPECT_EQ(row, Hex(GetParam().expected));
}

constexpr auto kB = ColourValue::Background;
constexpr auto kT = ColourValue::Text;
constexpr auto kO = ColourValue::Outline;
constexpr auto kA = ColourValue::Antialias;

// Code forms by run length (n n = length, c c = value):
//   1-3: nncc   4-15: 00nn nncc   16-63: 0000 nnnn nncc   64-255: 0000 00nn nnnn nncc
// An odd count of nibbles gets a 0 nibble; every row ends 00 00.
INSTANTIATE_TEST_SUITE_P(
    Runs, EncodeRowTest,
    ::testing::Values(EncodingCase{"One", {{1, kA}}, "70 0000"},             // 01 11
                      EncodingCase{"Three", {{3, kO}}, "E0 0000"},           // 11 10
                      EncodingCase{"Four", {{4, kO}}, "12 0000"},            // 0001 0010
                      EncodingCase{"Fifteen", {{15, kA}}, "3F 0000"},        // 0011 1111
                      EncodingCase{"Sixteen", {{16, kB}}, "04 00 0000"},     // 0000 0100 0000, pad
                      EncodingCase{"SixtyThree", {{63, kA}}, "0F F0 0000"},  // 0000 1111 1111, pad
                      EncodingCase{"SixtyFour", {{64, kT}}, "01 01 0000"},   // 0000 0001 0000 0001
                      EncodingCase{"Max", {{255, kB}}, "03 FC 0000"},        // 0000 0011 1111 1100
                      EncodingCase{"Split", {{256, kB}}, "03 FC 40 0000"},   // 255 + 1
                      EncodingCase{"SplitTwice", {{510, kT}}, "03 FD 03 FD 0000"},
                      EncodingCase{"SplitThrice", {{511, kB}}, "03 FC 03 FC 40 0000"},
                      EncodingCase{"EvenNibbles", {{1, kT}, {1, kO}}, "56 0000"},
                      EncodingCase{
                          "TextInTheMiddle",
                          {{299, kB}, {10, kT}, {410, kB}},
                          "03 FC 0B 02 90 3F C0 26 C0 0000"},  // 03FC 0B0 | 29 | 03FC 026C | pad
                      EncodingCase{"WholeRowBlue", {{719, kB}}, "03 FC 03 FC 03 44 0000"}),
    [](const auto& testCase) { return std::string(testCase.param.name); });

}  // namespace
}  // namespace marvoxa
