#include "support/FlightDirectorBench.h"

#include <functional>
#include <gtest/gtest.h>
#include <ostream>
#include <string>

namespace tavi::test {
namespace {

using L = FdLateralMode;
using V = FdVerticalMode;

constexpr uint32_t kHeadingBugEvent = 0x101FA;
constexpr uint32_t kPreselectEvent = 0x1024C;
constexpr uint32_t kMachEvent = 0x101F6;
constexpr int kIasToken = 116;
constexpr int kMachToken = 118;
constexpr int kPreselectToken = 109;
constexpr int kVerticalSpeedToken = 120;
constexpr int kHeadingBugToken = 855;

class FlightDirectorTargetTest : public testing::Test {
protected:
    FlightDirector& fd() { return bench.fd(); }

    FlightDirectorBench bench;
};

struct HeadingCase {
    float set;
    int32_t sent;
    float shown;
};

class FlightDirectorHeadingBugTest : public testing::TestWithParam<HeadingCase> {
protected:
    FlightDirectorBench bench;
};

// Wrapped into 0..360 and rounded; the read-back shows 0 as 360.
TEST_P(FlightDirectorHeadingBugTest, IsSentWrappedAndReadBack) {
    bench.fd().setHeadingBug(GetParam().set);
    EXPECT_EQ(bench.eventValues(kHeadingBugEvent), std::vector<int32_t>{GetParam().sent});
    bench.step();
    EXPECT_FLOAT_EQ(bench.fd().headingBug(), GetParam().shown);
}

INSTANTIATE_TEST_SUITE_P(Headings, FlightDirectorHeadingBugTest,
                         testing::Values(HeadingCase{-10.0f, 350, 350.0f},
                                         HeadingCase{370.4f, 10, 10.0f},
                                         HeadingCase{359.6f, 360, 360.0f},
                                         HeadingCase{0.0f, 0, 360.0f},
                                         HeadingCase{725.0f, 5, 5.0f}));

TEST_F(FlightDirectorTargetTest, TargetsOutOfRangeAreLimited) {
    fd().setAltitudePreselect(40000);
    fd().setAltitudePreselect(-2000);
    fd().setVerticalSpeedTarget(7000);
    fd().setVerticalSpeedTarget(-6500);
    EXPECT_EQ(bench.eventValues(kPreselectEvent), (std::vector<int32_t>{37000, -900}));
    EXPECT_EQ(bench.eventValues(kVerticalSpeedEvent), (std::vector<int32_t>{6000, -6000}));
    bench.step();
    EXPECT_FLOAT_EQ(fd().altitudePreselect(), -900.0f);
    EXPECT_FLOAT_EQ(fd().vsTarget(), -6000.0f) << "a descent travels as two's complement";

    bench.panel().clearKeyEventsSent();
    fd().setSpeedTarget(50);
    fd().setSpeedTarget(400);
    EXPECT_EQ(bench.eventValues(kIasEvent), (std::vector<int32_t>{80, 320}));
    EXPECT_FLOAT_EQ(fd().iasTarget(), 320.0f);
    EXPECT_NEAR(fd().machTarget(), bench.adc().machFromCas(320.0), 0.01) << "the Mach follows";
}

TEST_F(FlightDirectorTargetTest, TheAdjustmentsStepFromTheReadBackTargets) {
    bench.panel().setToken(kPreselectToken, 7000.0);
    bench.panel().setToken(kVerticalSpeedToken, -500.0);
    bench.panel().setToken(kIasToken, 250.0);
    bench.step();
    fd().adjustAltitudePreselect(-1000.0f);
    fd().adjustVerticalSpeedTarget(100.0f);
    fd().adjustSpeedTarget(-10.0f);
    EXPECT_EQ(bench.eventValues(kPreselectEvent), std::vector<int32_t>{6000});
    EXPECT_EQ(bench.eventValues(kVerticalSpeedEvent), std::vector<int32_t>{-400});
    EXPECT_EQ(bench.eventValues(kIasEvent), std::vector<int32_t>{240});
}

struct MachCase {
    float mach;
    int32_t sent;
};

class FlightDirectorMachTargetTest : public testing::TestWithParam<MachCase> {
protected:
    FlightDirectorBench bench;
};

// In hundredths, rounded up only from nine tenths of one, within 0.2 and the maximum operating
// Mach; the IAS target follows.
TEST_P(FlightDirectorMachTargetTest, IsKeptInHundredths) {
    bench.adc().maxOperatingMach = 0.85f;
    bench.fd().toggleSpeedUnits();
    ASSERT_TRUE(bench.fd().isMachMode());
    bench.panel().clearKeyEventsSent();
    bench.fd().setMachTarget(GetParam().mach);
    EXPECT_EQ(bench.eventValues(kMachEvent), std::vector<int32_t>{GetParam().sent});
    EXPECT_FLOAT_EQ(bench.fd().machTarget(), GetParam().sent * 0.01f);
    const double cas = bench.adc().casFromMach(bench.fd().machTarget());
    EXPECT_FLOAT_EQ(bench.fd().iasTarget(), std::clamp(std::trunc(cas), 80.0, 320.0));
    EXPECT_TRUE(bench.eventValues(kIasEvent).empty()) << "the simulator holds the Mach";
    bench.step();
    EXPECT_FLOAT_EQ(bench.fd().machTarget(), GetParam().sent * 0.01f);
}

INSTANTIATE_TEST_SUITE_P(Machs, FlightDirectorMachTargetTest,
                         testing::Values(MachCase{0.785f, 78}, MachCase{0.7891f, 79},
                                         MachCase{0.555f, 55}, MachCase{0.29f, 29},
                                         MachCase{0.1f, 20}, MachCase{0.95f, 85}));

TEST_F(FlightDirectorTargetTest, SpeedAdjustmentsAreIgnoredInVsAndClimbDescent) {
    bench.setPreselect(9000.0f);
    for (const V mode : {V::Vs, V::ClimbDescent}) {
        fd().setVerticalMode(mode);
        fd().adjustSpeedTarget(10.0f);
        fd().adjustMachTarget(0.01f);
        EXPECT_TRUE(bench.eventValues(kIasEvent).empty());
        EXPECT_TRUE(bench.eventValues(kMachEvent).empty());
    }
    fd().toggleSpeedUnits();
    EXPECT_FALSE(fd().isMachMode()) << "the units stay in climb/descent";
    fd().setVerticalMode(V::Pit);
    fd().toggleSpeedUnits();
    EXPECT_TRUE(fd().isMachMode());
    EXPECT_EQ(bench.eventValues(kMachEvent).size(), 1u);

    bench.setRadioAltitude(800.0f);
    bench.step();
    fd().pressToGa();
    ASSERT_EQ(fd().verticalMode(), V::Toga);
    EXPECT_FALSE(fd().isMachMode()) << "the go-around flies IAS";
    fd().toggleSpeedUnits();
    EXPECT_FALSE(fd().isMachMode()) << "and the units stay in TO/GA";
}

struct MetricCase {
    double preselectMetres;
    double verticalSpeedMetres;
    float preselectFeet;
    float verticalSpeedFeet;
};

class FlightDirectorMetricTest : public testing::TestWithParam<MetricCase> {
protected:
    FlightDirectorBench bench;
};

// Feet rounded from the metres, then cut to whole hundreds toward zero, so that a preselect
// set in feet reads back as it was set.
TEST_P(FlightDirectorMetricTest, MetricTargetsReadBackInFeet) {
    bench.panel().setToken(335, 2.0);
    bench.panel().setToken(kPreselectToken, GetParam().preselectMetres);
    bench.panel().setToken(kVerticalSpeedToken, GetParam().verticalSpeedMetres);
    bench.step();
    EXPECT_FLOAT_EQ(bench.fd().altitudePreselect(), GetParam().preselectFeet);
    EXPECT_FLOAT_EQ(bench.fd().vsTarget(), GetParam().verticalSpeedFeet);
}

INSTANTIATE_TEST_SUITE_P(Metres, FlightDirectorMetricTest,
                         testing::Values(MetricCase{3050.0, 0.0, 10000.0f, 0.0f},
                                         MetricCase{3048.0, -304.8, 10000.0f, -1000.0f},
                                         MetricCase{100.0, -100.0, 300.0f, -300.0f},
                                         MetricCase{-274.32, 548.64, -900.0f, 1800.0f}));

TEST_F(FlightDirectorTargetTest, ThePreselectKnobStepsAlsoWithMetricAltitudes) {
    bench.panel().setToken(335, 2.0);
    bench.step();
    fd().setAltitudePreselect(10000);
    bench.step();
    ASSERT_FLOAT_EQ(fd().altitudePreselect(), 10000.0f);
    fd().adjustAltitudePreselect(100.0f);
    bench.step();
    EXPECT_FLOAT_EQ(fd().altitudePreselect(), 10100.0f);
}

TEST_F(FlightDirectorTargetTest, Token848IsClearedByEvent) {
    bench.panel().setToken(848, 1.0);
    bench.step(3);
    EXPECT_EQ(bench.eventCount(0x10347), 1);
    EXPECT_EQ(bench.panel().token(848), 0.0);
}

TEST_F(FlightDirectorTargetTest, EverySixthTickTheSpeedTargetsAreKeptInRange) {
    bench.panel().setToken(kIasToken, 60.0);
    bench.step();
    int frames = 1;
    while (bench.eventValues(kIasEvent).empty() && frames < 7) {
        bench.step();
        ++frames;
    }
    EXPECT_EQ(bench.aircraft().tick % 6, 0);
    EXPECT_EQ(bench.eventValues(kIasEvent), std::vector<int32_t>{320})
        << "the maximum operating speed";

    fd().toggleSpeedUnits();
    ASSERT_TRUE(fd().isMachMode());
    bench.panel().setToken(kMachToken, 0.1);
    bench.panel().clearKeyEventsSent();
    bench.step(6);
    EXPECT_EQ(bench.eventValues(kMachEvent), std::vector<int32_t>{78})
        << "the maximum operating Mach";
    bench.panel().clearKeyEventsSent();
    bench.step(12);
    EXPECT_TRUE(bench.eventValues(kMachEvent).empty()) << "in range it stays";
}

TEST_F(FlightDirectorTargetTest, TheMachTargetFollowsTheIasTarget) {
    bench.panel().setToken(kIasToken, 200.0);
    bench.step(6);
    EXPECT_NEAR(fd().machTarget(), bench.adc().machFromCas(200.0), 0.01);
    EXPECT_TRUE(bench.eventValues(kMachEvent).empty()) << "in IAS the Mach is not sent";
}

struct SimEventCase {
    std::string name;
    uint32_t eventId;
    L lateral;
    L armedLateral;
    V vertical;
};

std::ostream& operator<<(std::ostream& out, const SimEventCase& c) {
    return out << c.name;
}

class FlightDirectorSimEventTest : public testing::TestWithParam<SimEventCase> {
protected:
    FlightDirectorBench bench;
};

TEST_P(FlightDirectorSimEventTest, TheSimulatorsAutopilotEventReachesTheButton) {
    bench.setRadioAltitude(1000.0f);
    bench.step();
    bench.panel().simulatorKeyEvent(GetParam().eventId, 0);
    EXPECT_EQ(bench.fd().lateralMode(), GetParam().lateral);
    EXPECT_EQ(bench.fd().armedLateralMode(), GetParam().armedLateral);
    EXPECT_EQ(bench.fd().verticalMode(), GetParam().vertical);
}

INSTANTIATE_TEST_SUITE_P(
    Events, FlightDirectorSimEventTest,
    testing::Values(SimEventCase{"AltitudeHold", 0x100BE, L::Rol, L::None, V::Alt},
                    SimEventCase{"Nav", 0x100C1, L::Hdg, L::Vor, V::Pit},
                    SimEventCase{"Heading", 0x100BD, L::Hdg, L::None, V::Pit},
                    SimEventCase{"Approach", 0x100BC, L::Hdg, L::Vapp, V::Pit},
                    SimEventCase{"ToGa", 0x10145, L::TogaRol, L::None, V::Toga},
                    SimEventCase{"FlightDirectors", 0x102F0, L::None, L::None, V::None},
                    SimEventCase{"Other", 0x10110, L::Rol, L::None, V::Pit}),
    [](const testing::TestParamInfo<SimEventCase>& info) { return info.param.name; });

TEST_F(FlightDirectorTargetTest, TheHeadingEventTogglesHdg) {
    bench.panel().simulatorKeyEvent(0x100BD, 0);
    bench.panel().simulatorKeyEvent(0x100BD, 0);
    EXPECT_EQ(fd().lateralMode(), L::Rol);
}

struct SimFunctionCase {
    int token;
    uint32_t offEvent;
};

class FlightDirectorSimAutopilotTest : public testing::TestWithParam<SimFunctionCase> {
protected:
    FlightDirectorBench bench;
};

TEST_P(FlightDirectorSimAutopilotTest, TheSimulatorsFunctionIsSwitchedOff) {
    bench.panel().setToken(GetParam().token, 1.0);
    bench.step(3);
    EXPECT_EQ(bench.eventCount(GetParam().offEvent), 1);
    EXPECT_EQ(bench.panel().token(GetParam().token), 0.0);
}

INSTANTIATE_TEST_SUITE_P(
    Functions, FlightDirectorSimAutopilotTest,
    testing::Values(SimFunctionCase{103, 0x100FF}, SimFunctionCase{117, 0x10231},
                    SimFunctionCase{115, 0x10241}, SimFunctionCase{104, 0x10119},
                    SimFunctionCase{110, 0x10114}, SimFunctionCase{105, 0x1011B},
                    SimFunctionCase{106, 0x10117}, SimFunctionCase{108, 0x10118},
                    SimFunctionCase{111, 0x10115}, SimFunctionCase{112, 0x10115},
                    SimFunctionCase{113, 0x1011A}));

TEST_F(FlightDirectorTargetTest, TokensOf111And112GoOffWithOneEvent) {
    bench.panel().setToken(111, 1.0);
    bench.panel().setToken(112, 1.0);
    bench.step(3);
    EXPECT_EQ(bench.eventCount(0x10115), 1);
}

TEST_F(FlightDirectorTargetTest, TheSimulatorHoldsThePreselectedAltitudeUnderTheAutopilot) {
    bench.autopilot().engaged = true;
    fd().toggleAltitudeHold();
    ASSERT_EQ(fd().altitudeHoldTarget(), 5000.0f);
    bench.step();
    EXPECT_EQ(bench.eventCount(0x10110), 1);
    EXPECT_EQ(bench.eventValues(0x10100), std::vector<int32_t>{1}) << "its master on";
    bench.panel().clearKeyEventsSent();
    bench.step(3);
    EXPECT_TRUE(bench.panel().keyEventsSent().empty()) << "handed, nothing is switched off";
    EXPECT_EQ(bench.panel().token(108), 1.0);
    EXPECT_EQ(bench.panel().token(103), 1.0);

    // A new preselected altitude takes the hold back, with the simulator's master.
    bench.setPreselect(7000.0f);
    bench.step(2);
    EXPECT_EQ(bench.panel().token(108), 0.0);
    EXPECT_EQ(bench.panel().token(103), 0.0);
    bench.panel().clearKeyEventsSent();
    bench.step(2);
    EXPECT_EQ(bench.eventCount(0x10110), 0);

    bench.autopilot().engaged = false;
    bench.step();
    EXPECT_EQ(bench.panel().token(103), 0.0);
}

// 100 ft below the held altitude: each frame the own loops start again from the present pitch,
// so that the pitch commanded stands where one frame took it.
TEST_F(FlightDirectorTargetTest, WhileTheSimulatorHoldsTheOwnLoopsRestartEveryFrame) {
    bench.autopilot().engaged = true;
    fd().toggleAltitudeHold();
    ASSERT_EQ(fd().altitudeHoldTarget(), 5000.0f);
    bench.step(2);
    ASSERT_EQ(bench.panel().token(108), 1.0);
    bench.setAltitude(4900.0f);
    bench.step();
    const float pitch = bench.autopilot().pitchCommand;
    ASSERT_LT(pitch, 0.0f) << "nose up toward the held altitude";
    bench.run(3.0);
    EXPECT_EQ(bench.autopilot().pitchCommand, pitch);
}

TEST_F(FlightDirectorTargetTest, WithoutTheDefaultAutopilotNothingIsHanded) {
    bench.loadSettings("[Preferences]\nuseDefaultAp=0\n");
    bench.autopilot().engaged = true;
    fd().toggleAltitudeHold();
    bench.step(3);
    EXPECT_EQ(bench.eventCount(0x10110), 0);
}

struct KnobVariableCase {
    std::string name;
    const char* variable;
    double value;
    uint32_t eventId;
    int32_t sent;
};

std::ostream& operator<<(std::ostream& out, const KnobVariableCase& c) {
    return out << c.name;
}

class FlightDirectorKnobVariableTest : public testing::TestWithParam<KnobVariableCase> {
protected:
    FlightDirectorBench bench;
};

// The knob variables act as the autopilot panel's knobs: 2 the large step, 3 the push, any
// other value the small step; each is reset to 0.
TEST_P(FlightDirectorKnobVariableTest, ActsAsTheKnob) {
    bench.panel().setToken(kHeadingBugToken, 100.0);
    bench.panel().setToken(kIasToken, 250.0);
    bench.panel().setVariable("NAV OBS", 1, 100.0);
    bench.panel().setVariable("NAV OBS", 2, 200.0);
    bench.setHeading(123.4f);
    bench.step();
    bench.panel().clearKeyEventsSent();
    bench.panel().setNamedVariable(GetParam().variable, GetParam().value);
    bench.step();
    EXPECT_EQ(bench.panel().namedVariable(GetParam().variable), 0.0);
    EXPECT_EQ(bench.eventValues(GetParam().eventId), std::vector<int32_t>{GetParam().sent});
}

INSTANTIATE_TEST_SUITE_P(
    Knobs, FlightDirectorKnobVariableTest,
    testing::Values(KnobVariableCase{"AltIncLarge", "TaviAltInc", 2.0, kPreselectEvent, 6000},
                    KnobVariableCase{"AltIncSmall", "TaviAltInc", 1.0, kPreselectEvent, 5100},
                    KnobVariableCase{"AltIncHasNoPush", "TaviAltInc", 3.0, kPreselectEvent, 5100},
                    KnobVariableCase{"AltDecLarge", "TaviAltDec", 2.0, kPreselectEvent, 4000},
                    KnobVariableCase{"HdgIncSmall", "TaviHdgInc", 1.0, kHeadingBugEvent, 101},
                    KnobVariableCase{"HdgDecLarge", "TaviHdgDec", 2.0, kHeadingBugEvent, 90},
                    KnobVariableCase{"HdgPushSyncs", "TaviHdgInc", 3.0, kHeadingBugEvent, 123},
                    KnobVariableCase{"SpdIncSmall", "TaviSpdInc", 1.0, kIasEvent, 251},
                    KnobVariableCase{"SpdDecLarge", "TaviSpdDec", 2.0, kIasEvent, 240},
                    KnobVariableCase{"Crs1IncLarge", "TaviCrs1Inc", 2.0, 0x100B4, 110},
                    KnobVariableCase{"Crs1DecSmall", "TaviCrs1Dec", -1.0, 0x100B4, 99},
                    KnobVariableCase{"Crs2IncSmall", "TaviCrs2Inc", 1.0, 0x100B5, 201},
                    KnobVariableCase{"Crs2DecLarge", "TaviCrs2Dec", 2.0, 0x100B5, 190}),
    [](const testing::TestParamInfo<KnobVariableCase>& info) { return info.param.name; });

TEST_F(FlightDirectorTargetTest, TheSpeedKnobPushTogglesMach) {
    bench.panel().setNamedVariable("TaviSpdDec", 3.0);
    bench.step();
    EXPECT_TRUE(fd().isMachMode());
    EXPECT_EQ(bench.eventCount(kMachEvent), 1);
}

TEST_F(FlightDirectorTargetTest, ThePitchAndTurnVariablesUseTheConfiguredSteps) {
    bench.loadSettings("[Autopilot]\nbankStep=5\npitchStep=0.5\n");
    bench.autopilot().engaged = true;
    bench.step();
    bench.panel().setNamedVariable("TurnLeftClick", 1.0);
    bench.panel().setNamedVariable("PitchUpClick", 1.0);
    bench.step();
    EXPECT_FLOAT_EQ(fd().turnKnobCommand(), 5.0f);
    EXPECT_FLOAT_EQ(bench.autopilot().pitchCommand, -0.5f);
    EXPECT_EQ(bench.panel().namedVariable("TurnLeftClick"), 0.0);
    EXPECT_EQ(bench.panel().namedVariable("PitchUpClick"), 0.0);

    bench.panel().setNamedVariable("TurnRightClick", 1.0);
    bench.panel().setNamedVariable("PitchDownClick", 1.0);
    bench.step();
    EXPECT_FLOAT_EQ(fd().turnKnobCommand(), 0.0f);
    EXPECT_FLOAT_EQ(bench.autopilot().pitchCommand, 0.0f);

    bench.panel().setNamedVariable("TurnLeftClick", 1.0);
    bench.step();
    bench.panel().setNamedVariable("TurnCenterClick", 1.0);
    bench.step();
    EXPECT_FLOAT_EQ(fd().turnKnobCommand(), 0.0f);
    EXPECT_DOUBLE_EQ(bench.panel().namedVariable("TurnKnob"), 50.0);
}

TEST_F(FlightDirectorTargetTest, TheCautionsFollowTheAutopilotAndThe115VoltBus) {
    EXPECT_FALSE(bench.shows("LATERAL MODE OFF"));
    bench.autopilot().engaged = true;
    bench.step();
    EXPECT_TRUE(bench.shows("LATERAL MODE OFF"));
    EXPECT_TRUE(bench.shows("VERTICAL MODE OFF"));
    fd().selectHeadingMode(true);
    fd().toggleAltitudeHold();
    bench.step();
    EXPECT_FALSE(bench.shows("LATERAL MODE OFF"));
    EXPECT_FALSE(bench.shows("VERTICAL MODE OFF"));

    EXPECT_FALSE(bench.shows("WINDSHEAR INOP"));
    bench.network().power({0, 1, 2, 3, 4, 5, 6, 7, 8});
    bench.step();
    EXPECT_TRUE(bench.shows("WINDSHEAR INOP"));
    bench.network().power({0, 1, 2, 3, 4, 5, 6, 7, 8, 9});
    bench.step();
    EXPECT_FALSE(bench.shows("WINDSHEAR INOP"));
}

TEST_F(FlightDirectorTargetTest, TheCautionsArePostedAgainWhenTheEicasUnitComesBack) {
    // The 115 VAC bus goes with the rest, while the EICAS unit is dark.
    bench.network().power({});
    bench.step(2);
    EXPECT_TRUE(bench.messages().empty());
    bench.network().power({0, 1, 2, 3, 4});
    bench.step();
    EXPECT_TRUE(bench.shows("WINDSHEAR INOP"));
}

TEST_F(FlightDirectorTargetTest, TheAltitudeAlertSoundsApproachingAndLeavingThePreselect) {
    ASSERT_TRUE(bench.installAltitudeAlert());
    bench.setPreselect(9000.0f);
    bench.setAltitude(7990.0f);
    bench.step(2);
    EXPECT_FALSE(bench.alertQueued());
    bench.setAltitude(8010.0f);
    bench.step();
    EXPECT_TRUE(bench.alertQueued()) << "within 1000 ft";
    bench.step(18);
    EXPECT_FALSE(bench.alertQueued()) << "once, also when the aircraft stays level";

    bench.setAltitude(9000.0f);
    bench.step();
    fd().toggleAltitudeHold();
    bench.setAltitude(9290.0f);
    bench.step();
    EXPECT_FALSE(bench.alertQueued());
    bench.setAltitude(9310.0f);
    bench.step();
    EXPECT_TRUE(bench.alertQueued()) << "300 ft away in ALT";
}

TEST_F(FlightDirectorTargetTest, TheFlightDirectorDrawsFromDcBus2AndEssentialBus1) {
    BusLoads loads;
    fd().addElectricLoad(bench.aircraft(), loads);
    for (int bus = 0; bus < kBusCount; ++bus) {
        EXPECT_FLOAT_EQ(loads[bus], bus == 2 || bus == 3 ? 10.0f : 0.0f) << bus;
    }
}

// An ILS approach flown through the simulator's own autopilot events.
TEST_F(FlightDirectorTargetTest, AnIlsApproachThroughTheSimulatorsEvents) {
    bench.setRadioAltitude(2000.0f);
    bench.receiveLocalizer(120.0);
    bench.receiveGlideslope(true, 100.0);
    bench.step();
    bench.panel().simulatorKeyEvent(FlightDirectorBench::kApproachButton, 0);
    EXPECT_EQ(fd().armedLateralMode(), L::Loc);
    EXPECT_EQ(fd().armedVerticalMode(), V::Gs);
    EXPECT_TRUE(fd().isApproachSelected());

    for (double cdi = 120.0; cdi > 0.0; cdi -= 10.0) {
        bench.receiveLocalizer(cdi);
        bench.step();
    }
    EXPECT_EQ(fd().lateralMode(), L::Loc);
    EXPECT_EQ(fd().verticalMode(), V::Pit) << "the glideslope is still far";
    for (double gsi = 100.0; gsi > -10.0; gsi -= 10.0) {
        bench.receiveGlideslope(true, gsi);
        bench.step();
    }
    EXPECT_EQ(fd().verticalMode(), V::Gs);

    bench.setRadioAltitude(300.0f);
    bench.step();
    bench.panel().simulatorKeyEvent(FlightDirectorBench::kToGaButton, 0);
    EXPECT_EQ(fd().verticalMode(), V::Toga);
    EXPECT_EQ(fd().lateralMode(), L::TogaRol);
    EXPECT_FALSE(fd().isTakeoffMode()) << "a go-around";
    EXPECT_EQ(bench.fms.missedApproaches, 1);
}

} // namespace
} // namespace tavi::test
