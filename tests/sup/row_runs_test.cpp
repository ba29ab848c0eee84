#include "sup/row_runs.h"

#include "test_helpers.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <functional>

namespace marvoxa {
namespace {

using test::BlueFrame;
using test::kRoles;
using test::kText;
using test::Paint;
using test::RowBytes;
using ::testing::ElementsAreArray;

constexpr auto kBackground = ColourValue::Background;
constexpr auto kTextValue = ColourValue::Text;

RowRuns RunsOf(const std::function<void(QImage&)>& paint) {
    QImage frame = BlueFrame(1);
    paint(frame);
    return BuildRowRuns(RowBytes(frame, 0), kRoles);
}

struct RunsCase {
    const char* name;
    std::function<void(QImage&)> paint;
    RowRuns expected;
};

class RowRunsTest : public ::testing::TestWithParam<RunsCase> {};

TEST_P(RowRunsTest, SplitsWhereTheColourChanges) {
    EXPECT_THAT(RunsOf(GetParam().paint), ElementsAreArray(GetParam().expected));
}

INSTANTIATE_TEST_SUITE_P(
    Rows, RowRunsTest,
    ::testing::Values(RunsCase{"AllBlue", [](QImage&) {}, {{719, kBackground}}},
                      RunsCase{"TextInTheMiddle",
                               [](QImage& f) { Paint(f, 0, 300, 309, kText); },
                               {{299, kBackground}, {10, kTextValue}, {410, kBackground}}},
                      // Two shades that both classify as background still start a new run.
                      RunsCase{"StrayShade",
                               [](QImage& f) { Paint(f, 0, 100, 719, qRgb(0, 0, 254)); },
                               {{99, kBackground}, {620, kBackground}}},
                      RunsCase{"TextAtColumnOne",
                               [](QImage& f) { Paint(f, 0, 1, 1, kText); },
                               {{1, kTextValue}, {718, kBackground}}},
                      // The last column is never read; the run before it covers its place.
                      RunsCase{"TextInLastColumnOnly",
                               [](QImage& f) { Paint(f, 0, 719, 719, kText); },
                               {{719, kBackground}}},
                      RunsCase{"TextInLastTwoColumns",
                               [](QImage& f) { Paint(f, 0, 718, 719, kText); },
                               {{717, kBackground}, {2, kTextValue}}},
                      // Column 0 is taken as column 1's colour: no run of length 0.
                      RunsCase{"TextInColumnZeroOnly",
                               [](QImage& f) { Paint(f, 0, 0, 0, kText); },
                               {{719, kBackground}}},
                      RunsCase{"TextFromColumnOne",
                               [](QImage& f) {
                                   Paint(f, 0, 0, 0, qRgb(1, 2, 3));
                                   Paint(f, 0, 1, 4, kText);
                               },
                               {{4, kTextValue}, {715, kBackground}}}),
    [](const auto& testCase) { return std::string(testCase.param.name); });

TEST(BuildRowRuns, AlternatingColumnsGiveARunForEveryColumn) {
    const RowRuns runs = RunsOf([](QImage& f) {
        for (int column = 0; column < 720; column += 2) {
            Paint(f, 0, column, column, kText);
        }
    });
    ASSERT_EQ(runs.size(), 718u);
    EXPECT_EQ(runs.front(), (marvoxa::Run{1, kBackground}));
    EXPECT_EQ(runs[1], (marvoxa::Run{1, kTextValue}));
    EXPECT_EQ(runs.back(), (marvoxa::Run{2, kTextValue}));  // column 718 and the unread 719
}

}  // namespace
}  // namespace marvoxa
