#include "palette/palette_state.h"
#include "palette/generic_palette.h"
#include "stored_values.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

namespace marvoxa {
namespace {

// Usable: greys 0x10, 0x80, 0xEB at entries 0, 1, 2. Both IFOs are NTSC, so that keeping the
// IFO's standard shows against the PAL start.
const IfoPaletteData kPolycromaticIfo{
    test::StoredValuesWithGreys({{0, 0x10}, {1, 0x80}, {2, 0xEB}}), 0x4100};
const IfoPaletteData kMonocromaticIfo{test::StoredValuesWithGreys({{0, 0x10}, {2, 0xEB}}), 0x4100};
const ColourRoles kUserRoles{.antialias = 5, .outline = 6, .text = 7, .background = 8};

// Everything the window shows of the state, in one line: palette source, roles as
// antialias/outline/text/background, then box, Load Ifo, Pal/Ntsc buttons (+ on, - off), the
// standard, the flags paletteReady, noIfo, monoIfo, and the generation case.
std::string Describe(const PaletteState& state) {
    std::string source = "other";
    if (!state.palette()) {
        source = "none";
    } else if (*state.palette() == PaletteFromStoredValues(kPolycromaticIfo.storedValues)) {
        source = "ifo";
    } else if (*state.palette() == GenericPalette()) {
        source = "generic";
    }
    const auto on = [](bool value) { return value ? "+ " : "- "; };
    const ColourRoles& r = state.roles();
    const char* cases[] = {"with", "mono", "no"};
    return source + " " + std::to_string(r.antialias) + "/" + std::to_string(r.outline) + "/" +
           std::to_string(r.text) + "/" + std::to_string(r.background) + " box" +
           on(state.noIfoBoxChecked()) + "load" + on(state.loadIfoEnabled()) + "std" +
           on(state.videoStandardButtonsEnabled()) +
           (state.videoStandard() == VideoStandard::Pal ? "PAL " : "NTSC ") + "ready" +
           on(state.paletteReady()) + "noIfo" + on(state.noIfo()) + "monoIfo" +
           on(state.monoIfo()) + "case " +
           (state.generationCase() ? cases[int(*state.generationCase())] : "none");
}

// The steps a scenario is made of.
const auto LoadPoly = [](PaletteState& s) { s.applyIfoRead(kPolycromaticIfo); };
const auto LoadMono = [](PaletteState& s) { s.applyIfoRead(kMonocromaticIfo); };
const auto Check = [](PaletteState& s) { s.setNoIfoBoxChecked(true); };
const auto Uncheck = [](PaletteState& s) { s.setNoIfoBoxChecked(false); };
const auto Reset = [](PaletteState& s) { s.resetToDefaults(); };
const auto StartUpDefaults = [](PaletteState& s) { s.applyStartUpDefaults(); };
const auto PickRoles = [](PaletteState& s) { s.setRoles(kUserRoles); };
const auto ChooseNtsc = [](PaletteState& s) { s.chooseVideoStandard(VideoStandard::Ntsc); };
const auto ChoosePal = [](PaletteState& s) { s.chooseVideoStandard(VideoStandard::Pal); };

struct TransitionCase {
    const char* name;
    std::vector<std::function<void(PaletteState&)>> steps;
    const char* expected;
};

class Transitions : public ::testing::TestWithParam<TransitionCase> {};

TEST_P(Transitions, EndInTheExpectedState) {
    PaletteState state;
    for (const auto& step : GetParam().steps) {
        step(state);
    }
    EXPECT_EQ(Describe(state), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    PaletteCases, Transitions,
    ::testing::Values(
        TransitionCase{
            "Start", {}, "none 0/0/0/0 box- load+ std- PAL ready- noIfo- monoIfo- case with"},
        TransitionCase{"WithIfo",
                       {LoadPoly},
                       "ifo 1/0/2/0 box- load+ std- NTSC ready+ noIfo- monoIfo- case with"},
        TransitionCase{"MonocromaticIfo",
                       {LoadMono},
                       "generic 1/0/3/0 box+ load- std- NTSC ready+ noIfo- monoIfo+ case mono"},
        TransitionCase{
            "NoIfo", {Check}, "generic 1/0/3/0 box+ load- std+ PAL ready+ noIfo+ monoIfo- case no"},
        TransitionCase{"NoIfoLetsTheUserChooseTheStandard",
                       {Check, ChooseNtsc},
                       "generic 1/0/3/0 box+ load- std+ NTSC ready+ noIfo+ monoIfo- case no"},
        TransitionCase{"IfoFixesTheStandard",
                       {LoadPoly, ChoosePal},
                       "ifo 1/0/2/0 box- load+ std- NTSC ready+ noIfo- monoIfo- case with"},
        TransitionCase{"UncheckedAgainKeepsTheRoles",
                       {Check, PickRoles, Uncheck},
                       "none 5/6/7/8 box- load+ std- PAL ready- noIfo- monoIfo- case with"},
        TransitionCase{"UncheckedAfterMonocromaticKeepsMonoIfo",
                       {LoadMono, Uncheck},
                       "none 1/0/3/0 box- load+ std- NTSC ready- noIfo- monoIfo+ case with"},
        TransitionCase{"MonocromaticUncheckedCheckedIsNoIfo",
                       {LoadMono, Uncheck, Check},
                       "generic 1/0/3/0 box+ load- std+ NTSC ready+ noIfo+ monoIfo- case no"},
        TransitionCase{"WithIfoThenChecked",
                       {LoadPoly, Check},
                       "generic 1/0/3/0 box+ load- std+ NTSC ready+ noIfo+ monoIfo- case no"},
        TransitionCase{"IfoAfterUncheckingMonocromatic",
                       {LoadMono, Uncheck, LoadPoly},
                       "ifo 1/0/2/0 box- load+ std- NTSC ready+ noIfo- monoIfo- case with"},
        TransitionCase{"CheckingTwiceRunsTheHandlerOnce",
                       {Check, PickRoles, Check},
                       "generic 5/6/7/8 box+ load- std+ PAL ready+ noIfo+ monoIfo- case no"},
        TransitionCase{"ResetKeepsTheIfoPalette",
                       {LoadPoly, Reset},
                       "ifo 0/0/0/0 box- load+ std- NTSC ready- noIfo- monoIfo- case with"},
        TransitionCase{"ResetFromMonocromaticKeepsMonoIfo",
                       {LoadMono, Reset},
                       "none 0/0/0/0 box- load+ std- NTSC ready- noIfo- monoIfo+ case with"},
        TransitionCase{"ResetFromNoIfo",
                       {Check, Reset},
                       "none 0/0/0/0 box- load+ std- PAL ready- noIfo- monoIfo- case with"},
        TransitionCase{"ResetFromUncheckedAgain",
                       {Check, PickRoles, Uncheck, Reset},
                       "none 0/0/0/0 box- load+ std- PAL ready- noIfo- monoIfo- case with"},
        TransitionCase{"NoCaseBetweenTheTwoStepsOfAReset",
                       {Check, StartUpDefaults},
                       "generic 0/0/0/0 box+ load- std+ PAL ready- noIfo- monoIfo- case none"}),
    [](const auto& instance) { return std::string(instance.param.name); });

TEST(PaletteState, IfoReadTellsTheCaseAndWhetherTheStandardChanged) {
    PaletteState state;
    const IfoPaletteData palIfo{kPolycromaticIfo.storedValues, 0x5100};
    EXPECT_EQ(state.applyIfoRead(palIfo), (IfoLoadOutcome{PaletteCase::WithIfo, false}));
    EXPECT_EQ(state.applyIfoRead(kMonocromaticIfo),
              (IfoLoadOutcome{PaletteCase::MonocromaticIfo, true}));
}

TEST(PaletteState, BoxReportsWhetherItsHandlerRan) {
    PaletteState state;
    EXPECT_FALSE(state.setNoIfoBoxChecked(false));
    EXPECT_TRUE(state.setNoIfoBoxChecked(true));
    EXPECT_FALSE(state.setNoIfoBoxChecked(true));
    EXPECT_TRUE(state.resetToDefaults());
    EXPECT_FALSE(state.resetToDefaults());
}

TEST(PaletteState, RoleColoursComeFromThePaletteInUse) {
    PaletteState state;
    EXPECT_FALSE(state.roleColours());
    state.setNoIfoBoxChecked(true);
    EXPECT_EQ(state.roleColours(), (RoleColours{.antialias = qRgb(85, 85, 85),
                                                .outline = qRgb(0, 0, 0),
                                                .text = qRgb(255, 255, 255)}));
}

}  // namespace
}  // namespace marvoxa
