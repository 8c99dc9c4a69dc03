#include "gauges/AutopilotPanelKnobs.h"

#include "support/FlightDirectorBench.h"

#include <gtest/gtest.h>
#include <ostream>
#include <string>

namespace tavi::test {
namespace {

using V = FdVerticalMode;

constexpr uint32_t kRepeatFlag = 0x200000;

TEST(AutopilotPanelKnobsTest, AnswerNothingBeforeTheAircraftIsInitialised) {
    ModuleHarness module;
    EXPECT_EQ(apAltitudeKnobInc(0, 0, kLeftClickFlags), 0);
    module.init();
    EXPECT_EQ(apHeadingKnobPush(0, 0, kLeftClickFlags), 0) << "before the deferred start-up";
    module.simulator.startFlight();
    module.simulator.step();
    EXPECT_EQ(apHeadingKnobPush(0, 0, kLeftClickFlags), 1);
    EXPECT_EQ(apCourse2KnobDec(0, 0, kLeftClickFlags), 1);
}

struct SpeedKnobCase {
    std::string name;
    V mode;
    bool mach;
    uint32_t flags;
    int sign;
    uint32_t eventId;
    int32_t sent;
};

std::ostream& operator<<(std::ostream& out, const SpeedKnobCase& c) {
    return out << c.name;
}

class AutopilotSpeedKnobTest : public testing::TestWithParam<SpeedKnobCase> {
protected:
    FlightDirectorBench bench;
};

// The vertical-speed target in VS, else the Mach or the IAS target; a right click (the flags
// negative) gives the large step, also while the button repeats.
TEST_P(AutopilotSpeedKnobTest, StepsTheSelectedTarget) {
    const SpeedKnobCase& c = GetParam();
    FlightDirector& fd = bench.fd();
    if (c.mode == V::Vs) {
        fd.selectVerticalSpeedMode(true);
    } else if (c.mode == V::Speed) {
        fd.selectSpeedMode(true);
    }
    if (c.mach) {
        fd.toggleSpeedUnits();
    }
    bench.step();
    bench.panel().setToken(116, 250.0);
    bench.panel().setToken(118, 0.6);
    bench.panel().setToken(120, -500.0);
    bench.step();
    ASSERT_EQ(fd.verticalMode(), c.mode);
    ASSERT_EQ(fd.isMachMode(), c.mach);
    bench.panel().clearKeyEventsSent();
    const int32_t answer =
        c.sign > 0 ? apSpeedKnobInc(0, 0, c.flags) : apSpeedKnobDec(0, 0, c.flags);
    EXPECT_EQ(answer, 1);
    EXPECT_EQ(bench.eventValues(c.eventId), std::vector<int32_t>{c.sent});
}

INSTANTIATE_TEST_SUITE_P(
    Modes, AutopilotSpeedKnobTest,
    testing::Values(SpeedKnobCase{"VsSmall", V::Vs, false, kLeftClickFlags, 1, 0x101F4, -400},
                    SpeedKnobCase{"VsLarge", V::Vs, true, kRightClickFlags, -1, 0x101F4, -1500},
                    SpeedKnobCase{"MachSmall", V::Speed, true, kLeftClickFlags, 1, 0x101F6, 61},
                    SpeedKnobCase{"MachLarge", V::Pit, true, kRightClickFlags, -1, 0x101F6, 50},
                    SpeedKnobCase{"IasSmall", V::Pit, false, kLeftClickFlags, -1, 0x101F5, 249},
                    SpeedKnobCase{"IasLargeRepeating", V::Speed, false,
                                  kRightClickFlags | kRepeatFlag, 1, 0x101F5, 260}),
    [](const testing::TestParamInfo<SpeedKnobCase>& info) { return info.param.name; });

TEST(AutopilotPanelKnobsTest, TheOtherKnobsStepTheirTargets) {
    FlightDirectorBench bench;
    bench.panel().setToken(855, 355.0);
    bench.panel().setVariable("NAV OBS", 1, 5.0);
    bench.setHeading(42.0f);
    bench.receiveVor(5, 0.0);
    bench.panel().setVariable("NAV RADIAL", 1, 100.0);
    bench.step();
    bench.panel().clearKeyEventsSent();

    EXPECT_EQ(apHeadingKnobInc(0, 0, kRightClickFlags), 1);
    EXPECT_EQ(apHeadingKnobDec(0, 0, kLeftClickFlags), 1);
    EXPECT_EQ(apHeadingKnobPush(0, 0, kLeftClickFlags), 1);
    EXPECT_EQ(bench.eventValues(0x101FA), (std::vector<int32_t>{5, 354, 42}));

    EXPECT_EQ(apCourse1KnobDec(0, 0, kRightClickFlags), 1);
    EXPECT_EQ(apCourse1KnobInc(0, 0, kLeftClickFlags), 1);
    EXPECT_EQ(apCourse1KnobPush(0, 0, kLeftClickFlags), 1);
    EXPECT_EQ(bench.eventValues(0x100B4), (std::vector<int32_t>{355, 356, 280}))
        << "the push turns the course to the bearing of the station";

    EXPECT_EQ(apAltitudeKnobDec(0, 0, kRightClickFlags), 1);
    EXPECT_EQ(apAltitudeKnobInc(0, 0, kLeftClickFlags), 1);
    EXPECT_EQ(bench.eventValues(0x1024C), (std::vector<int32_t>{4000, 5100}));

    EXPECT_EQ(apSpeedKnobPush(0, 0, kLeftClickFlags), 1);
    EXPECT_TRUE(bench.fd().isMachMode());
}

} // namespace
} // namespace tavi::test
