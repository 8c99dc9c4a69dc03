// The flight controls driven through the stand-in simulator: speed brake lever and spoilers,
// flaps, trims, the flight-control channels, the keyboard and the rudder axis.
#include "avionics/Autopilot.h"
#include "support/MechanisationScenario.h"
#include "support/VirtualKeys.h"

#include <cmath>
#include <cstdint>
#include <gtest/gtest.h>
#include <limits>
#include <optional>

namespace tavi::test {
namespace {

constexpr uint32_t kSpoilersToggle = 0x10035;
constexpr uint32_t kElevatorTrimUp = 0x1004F;
constexpr uint32_t kFlapsSet = 0x100A2;
constexpr uint32_t kFlapsIncrement = 0x100DE;
constexpr uint32_t kSpoilersSet = 0x100FA;
constexpr uint32_t kSpoilersArmOff = 0x1013D;
constexpr uint32_t kSpoilersOn = 0x10210;
constexpr uint32_t kSpoilersOff = 0x10211;
constexpr uint32_t kSpoilerAxis = 0x1034E;
constexpr std::initializer_list<uint32_t> kSpoilerEvents = {kSpoilersSet, kSpoilersArmOff,
                                                            kSpoilersOn, kSpoilersOff};
constexpr int kSpoilerPositionToken = 326;
constexpr uint32_t kSlashKey = 0xBF;
constexpr SoundId kTrimCallout = 44;

class FlightControlsTest : public testing::Test {
protected:
    FlightControlsTest() { scenario.powerUp(); }

    Mechanisation& mechanisation() { return scenario.mechanisation(); }
    sim::Panel& panel() { return scenario.panel(); }
    double leverVariable() { return panel().namedVariable("TaviSpoilerLever"); }

    void flyAt(float knots) {
        scenario.setOnGround(false);
        scenario.setGroundSpeed(knots);
        scenario.adc().smoothedAirspeed = knots;
        scenario.step();
    }

    MechanisationScenario scenario;
};

struct SpoilerAxisCase {
    int32_t axis;
    float lever;
};

class SpoilerAxisTest : public FlightControlsTest,
                        public testing::WithParamInterface<SpoilerAxisCase> {};

TEST_P(SpoilerAxisTest, AxisSetsTheLeverOverItsWholeRange) {
    panel().simulatorKeyEvent(kSpoilerAxis, static_cast<uint32_t>(GetParam().axis));
    EXPECT_FLOAT_EQ(mechanisation().speedBrakeLever, GetParam().lever);
    EXPECT_NEAR(leverVariable(), GetParam().lever * 100.0, 1e-4);
}

INSTANTIATE_TEST_SUITE_P(
    Axis, SpoilerAxisTest,
    testing::Values(SpoilerAxisCase{-16383, 0.0f}, SpoilerAxisCase{16383, 1.0f},
                    SpoilerAxisCase{0, 8191.0f / 16383.0f}, SpoilerAxisCase{-2, 8190.0f / 16383.0f},
                    SpoilerAxisCase{std::numeric_limits<int32_t>::min(), 0.0f},
                    SpoilerAxisCase{std::numeric_limits<int32_t>::max(), 1.0f}));

TEST_F(FlightControlsTest, LeverFollowsThePilotsEventsAndThePanelGauge) {
    panel().simulatorKeyEvent(kSpoilersToggle, 0);
    EXPECT_FLOAT_EQ(mechanisation().speedBrakeLever, 1.0f);
    panel().simulatorKeyEvent(kSpoilersToggle, 0);
    EXPECT_FLOAT_EQ(mechanisation().speedBrakeLever, 0.0f);
    panel().simulatorKeyEvent(kSpoilersOn, 0);
    EXPECT_FLOAT_EQ(mechanisation().speedBrakeLever, 1.0f);
    EXPECT_DOUBLE_EQ(leverVariable(), 100.0);
    panel().simulatorKeyEvent(kSpoilersOff, 0);
    EXPECT_FLOAT_EQ(mechanisation().speedBrakeLever, 0.0f);

    // The lever gauge writes the new position, then raises its request.
    panel().setNamedVariable("TaviSpoilerLever", 40.0);
    scenario.request("TaviSpoilerLeverPressed");
    scenario.step();
    EXPECT_FLOAT_EQ(mechanisation().speedBrakeLever, 0.4f);
    EXPECT_EQ(panel().namedVariable("TaviSpoilerLeverPressed"), 0.0);
    panel().setNamedVariable("TaviSpoilerLever", 250.0);
    scenario.request("TaviSpoilerLeverPressed");
    scenario.step();
    EXPECT_FLOAT_EQ(mechanisation().speedBrakeLever, 1.0f);
    EXPECT_DOUBLE_EQ(leverVariable(), 100.0) << "the gauge is told the limited position";
}

TEST_F(FlightControlsTest, UntilTheClockRunsTheLeverCopiesTheSpoilers) {
    Aircraft& aircraft = scenario.aircraft();
    Mechanisation unit;
    auto updateWithSpoilersAt = [&](double position) {
        panel().setToken(kSpoilerPositionToken, position);
        aircraft.tokens.refresh();
        unit.update(aircraft);
    };
    aircraft.simTimeMs = 0;
    updateWithSpoilersAt(4000.0);
    EXPECT_FLOAT_EQ(unit.speedBrakeLever, 8000.0f / 16383.0f) << "twice the deflection";
    EXPECT_FALSE(unit.started);
    updateWithSpoilersAt(12000.0);
    EXPECT_FLOAT_EQ(unit.speedBrakeLever, 1.0f);

    aircraft.simTimeMs = 1000;
    updateWithSpoilersAt(2000.0);
    EXPECT_TRUE(unit.started);
    EXPECT_FLOAT_EQ(unit.speedBrakeLever, 4000.0f / 16383.0f);
    updateWithSpoilersAt(3000.0);
    EXPECT_FLOAT_EQ(unit.speedBrakeLever, 4000.0f / 16383.0f)
        << "from then on the lever is the crew's";
}

struct KeyCase {
    bool shift;
    bool ctrl;
    bool consumed;
    bool toggles;
};

class SlashKeyTest : public FlightControlsTest, public testing::WithParamInterface<KeyCase> {};

TEST_P(SlashKeyTest, SlashTogglesTheLeverAloneAndPassesOnlyWithCtrl) {
    sim::Host& host = scenario.module.simulator.host;
    if (GetParam().shift) {
        host.key(kShiftKey, true);
    }
    if (GetParam().ctrl) {
        host.key(kControlKey, true);
    }
    EXPECT_EQ(host.key(kSlashKey, true), GetParam().consumed);
    EXPECT_FLOAT_EQ(mechanisation().speedBrakeLever, GetParam().toggles ? 1.0f : 0.0f);
}

INSTANTIATE_TEST_SUITE_P(Modifiers, SlashKeyTest,
                         testing::Values(KeyCase{false, false, true, true},
                                         KeyCase{true, false, true, false},
                                         KeyCase{false, true, false, false},
                                         KeyCase{true, true, false, false}));

TEST_F(FlightControlsTest, AirborneLeverCommandsHalfTheSpoilersUnlessFlapsOrThrustForbid) {
    flyAt(220.0f);
    mechanisation().setSpoilerLever(1.0f);
    panel().setToken(907, 18.0);
    panel().setToken(kSpoilerPositionToken, 8191.0);
    // The retraction the module sends reaches its own key-event handler inside its frame; it is
    // not the pilot's and leaves the lever out.
    EXPECT_EQ(scenario.eventsDuring(1, kSpoilerEvents),
              (std::vector<sim::KeyEvent>{{kSpoilersOff, 0}}));
    EXPECT_FLOAT_EQ(mechanisation().speedBrakeLever, 1.0f);
    EXPECT_TRUE(mechanisation().speedBrakeDisagree);
    EXPECT_TRUE(scenario.eventsDuring(1, kSpoilerEvents).empty()) << "they are stowed now";

    panel().setToken(907, 9.0);
    EXPECT_EQ(scenario.eventsDuring(1, kSpoilerEvents),
              (std::vector<sim::KeyEvent>{{kSpoilersSet, 8191}}));
    EXPECT_FALSE(mechanisation().speedBrakeDisagree);
    EXPECT_TRUE(scenario.eventsDuring(2, kSpoilerEvents).empty())
        << "nothing while the spoilers stand where the lever wants them";

    scenario.setThrustLevers(28.0f, 50.0f);
    EXPECT_EQ(scenario.eventsDuring(1, kSpoilerEvents),
              (std::vector<sim::KeyEvent>{{kSpoilersOff, 0}}));
    EXPECT_TRUE(mechanisation().speedBrakeDisagree);

    scenario.setThrustLevers(28.0f, 28.0f);
    mechanisation().setSpoilerLever(0.5f);
    EXPECT_EQ(scenario.eventsDuring(1, kSpoilerEvents),
              (std::vector<sim::KeyEvent>{{kSpoilersSet, 4095}}));
    mechanisation().setSpoilerLever(0.0f);
    EXPECT_EQ(scenario.eventsDuring(1, kSpoilerEvents),
              (std::vector<sim::KeyEvent>{{kSpoilersOff, 0}}));
}

TEST_F(FlightControlsTest, ArmedSpoilersAreDisarmed) {
    panel().setToken(324, 1.0);
    EXPECT_EQ(scenario.eventsDuring(1, kSpoilerEvents),
              (std::vector<sim::KeyEvent>{{kSpoilersSet, 0}, {kSpoilersArmOff, 0}}));
    EXPECT_EQ(panel().token(324), 0.0);
    EXPECT_TRUE(scenario.eventsDuring(1, kSpoilerEvents).empty());
}

TEST_F(FlightControlsTest, GroundSpoilersDeploySecondAfterTouchdownAndRetractAtTaxiSpeed) {
    flyAt(125.0f);
    scenario.setGroundSpeed(120.0f);
    scenario.setOnGround(true);
    scenario.step();
    const uint32_t touchdown = scenario.aircraft().simTimeMs;
    EXPECT_EQ(mechanisation().touchdownTime, touchdown);
    int frames = 0;
    while (scenario.eventsDuring(1, kSpoilerEvents).empty()) {
        ASSERT_LT(++frames, 40);
    }
    const uint32_t deployed = scenario.aircraft().simTimeMs;
    EXPECT_GE(deployed - touchdown, 1000u);
    EXPECT_LT(deployed - touchdown, 1000u + 56u);
    EXPECT_EQ(panel().token(kSpoilerPositionToken), 16383.0);
    EXPECT_TRUE(scenario.eventsDuring(5, kSpoilerEvents).empty()) << "fully out";

    mechanisation().setSpoilerLever(1.0f);
    scenario.setGroundSpeed(24.0f);
    EXPECT_EQ(scenario.eventsDuring(1, kSpoilerEvents),
              (std::vector<sim::KeyEvent>{{kSpoilersOff, 0}}));
    EXPECT_TRUE(mechanisation().speedBrakeDisagree) << "the lever is still out";
    mechanisation().setSpoilerLever(0.0f);
    scenario.step();
    EXPECT_FALSE(mechanisation().speedBrakeDisagree);
}

// A GPS without power still shows 140 kt: the ground spoilers follow the airspeed instead,
// out after touchdown and in again at taxi speed.
TEST_F(FlightControlsTest, WithADeadGpsTheGroundSpoilersFollowTheAirspeed) {
    flyAt(125.0f);
    scenario.adc().indicatedAirspeed = 120.0f;
    scenario.setGroundSpeed(140.0f);
    scenario.aircraft().gps()->unpowered = true;
    scenario.setOnGround(true);
    scenario.step();
    int frames = 0;
    while (scenario.eventsDuring(1, kSpoilerEvents).empty()) {
        ASSERT_LT(++frames, 40);
    }
    EXPECT_EQ(panel().token(kSpoilerPositionToken), 16383.0);

    scenario.adc().indicatedAirspeed = 20.0f;
    EXPECT_EQ(scenario.eventsDuring(1, kSpoilerEvents),
              (std::vector<sim::KeyEvent>{{kSpoilersOff, 0}}));
}

struct GroundSpoilerCase {
    const char* name;
    float groundSpeed;
    float lever1;
    bool burns1;
    float lever2;
    bool burns2;
    double position;
    bool powered;
    std::optional<sim::KeyEvent> sent;
};

class GroundSpoilerTest : public testing::TestWithParam<GroundSpoilerCase> {};

TEST_P(GroundSpoilerTest, OnTheGroundTheSpoilersFollowSpeedAndThrust) {
    const GroundSpoilerCase& row = GetParam();
    MechanisationScenario scenario;
    scenario.park();
    if (row.powered) {
        scenario.batteriesOn();
    }
    // The stand-in attitude reference reports the ground only from the park on, which the
    // spoilers take for a touchdown: they wait a second after it.
    scenario.run(1.0);
    scenario.setGroundSpeed(row.groundSpeed);
    scenario.setThrustLevers(row.lever1, row.lever2);
    scenario.setCombustion(row.burns1, row.burns2);
    scenario.step();
    scenario.panel().setToken(kSpoilerPositionToken, row.position);
    const std::vector<sim::KeyEvent> sent = scenario.eventsDuring(1, kSpoilerEvents);
    if (row.sent) {
        EXPECT_EQ(sent, std::vector<sim::KeyEvent>{*row.sent});
    } else {
        EXPECT_TRUE(sent.empty());
    }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, GroundSpoilerTest,
    testing::Values(GroundSpoilerCase{"Rollout", 120.0f, 28.0f, true, 28.0f, true, 0.0, true,
                                      sim::KeyEvent{kSpoilersOn, 0}},
                    GroundSpoilerCase{"AtTwentyFiveKnots", 25.0f, 28.0f, false, 28.0f, false, 0.0,
                                      true, sim::KeyEvent{kSpoilersOn, 0}},
                    GroundSpoilerCase{"Deployed", 120.0f, 28.0f, false, 28.0f, false, 16383.0, true,
                                      std::nullopt},
                    GroundSpoilerCase{"TakeoffThrustOnEngine1", 120.0f, 30.0f, true, 28.0f, true,
                                      0.0, true, std::nullopt},
                    GroundSpoilerCase{"TakeoffThrustOnEngine2", 120.0f, 28.0f, false, 45.0f, true,
                                      0.0, true, std::nullopt},
                    GroundSpoilerCase{"LeverForwardOnAStoppedEngine", 120.0f, 45.0f, false, 28.0f,
                                      false, 0.0, true, sim::KeyEvent{kSpoilersOn, 0}},
                    GroundSpoilerCase{"TaxiWithSpoilersOut", 10.0f, 28.0f, true, 28.0f, true,
                                      16383.0, true, sim::KeyEvent{kSpoilersOff, 0}},
                    GroundSpoilerCase{"TaxiStowed", 10.0f, 28.0f, true, 28.0f, true, 0.0, true,
                                      std::nullopt},
                    GroundSpoilerCase{"NoPowerDrivesThemIn", 120.0f, 28.0f, false, 28.0f, false,
                                      5000.0, false, sim::KeyEvent{kSpoilersSet, 0}},
                    GroundSpoilerCase{"NoPowerStowedStillDeploys", 120.0f, 28.0f, false, 28.0f,
                                      false, 0.0, false, sim::KeyEvent{kSpoilersOn, 0}}),
    [](const testing::TestParamInfo<GroundSpoilerCase>& info) { return info.param.name; });

TEST_F(FlightControlsTest, SpoilerAirNoiseGrowsWithDeflectionAndAirspeed) {
    flyAt(150.0f);
    EXPECT_FALSE(scenario.sounds().isPlaying(59)) << "stowed spoilers are silent";
    mechanisation().setSpoilerLever(1.0f);
    scenario.step(2);
    ASSERT_EQ(panel().token(kSpoilerPositionToken), 8191.0);
    // Half deflection and 150 kt: 0.4 + 0.3 + 0.15 of full volume.
    EXPECT_TRUE(scenario.sounds().isPlaying(59));
    EXPECT_EQ(scenario.aws().volume(59), -1500);
    scenario.adc().smoothedAirspeed = 40.0f;
    scenario.step();
    EXPECT_FALSE(scenario.sounds().isPlaying(59)) << "no noise at 50 kt or less";
    EXPECT_EQ(scenario.aws().volume(59), -3000);
}

TEST_F(FlightControlsTest, WithoutBothDcBusesTheFlapHandleIsSetBack) {
    mechanisation().flapsIncrement();
    scenario.step();
    EXPECT_EQ(mechanisation().flapHandleIndex, 1);
    EXPECT_FLOAT_EQ(mechanisation().flapAngle, 9.0f);
    EXPECT_FALSE(mechanisation().flapBus1Unpowered || mechanisation().flapBus2Unpowered);

    scenario.request("TaviBatt1Click");
    scenario.request("TaviBatt2Click");
    scenario.step(2);
    ASSERT_TRUE(mechanisation().flapBus1Unpowered && mechanisation().flapBus2Unpowered);
    mechanisation().flapsIncrement();
    EXPECT_EQ(scenario.eventsDuring(1, {kFlapsSet}),
              (std::vector<sim::KeyEvent>{{kFlapsSet, 4096}}))
        << "the handle goes back to its first notch";
    EXPECT_TRUE(scenario.eventsDuring(1, {kFlapsSet}).empty());
    EXPECT_EQ(mechanisation().flapHandleIndex, 1);
    EXPECT_FLOAT_EQ(mechanisation().flapAngle, 9.0f);
}

TEST_F(FlightControlsTest, FlapLeverClicksStepTheSimulatorsHandle) {
    panel().clearKeyEventsSent();
    mechanisation().flapsIncrement();
    mechanisation().flapsIncrement();
    mechanisation().flapsDecrement();
    EXPECT_EQ(
        panel().keyEventsSent(),
        (std::vector<sim::KeyEvent>{{kFlapsIncrement, 0}, {kFlapsIncrement, 0}, {0x100DF, 0}}));
    scenario.step();
    EXPECT_EQ(mechanisation().flapHandleIndex, 1);
}

TEST_F(FlightControlsTest, SurfacesAndTrimsMirrorTheSimulator) {
    panel().setToken(313, -1200.7);
    panel().setToken(316, 800.2);
    panel().setToken(317, 16383.0);
    panel().setToken(318, 16383.0);
    panel().setToken(785, 0.05);
    panel().setToken(787, -0.1);
    scenario.step();
    const Mechanisation& m = mechanisation();
    EXPECT_EQ(m.aileronPosition, -1200);
    EXPECT_EQ(m.rudderPosition, 800);
    EXPECT_EQ(m.elevatorPosition, 16383);
    EXPECT_EQ(m.elevatorTrimPosition, 16383);
    EXPECT_NEAR(m.pitchTrimIndication, 10.0f, 1e-3f);
    EXPECT_NEAR(m.aileronTrimAngle, 2.8648f, 1e-3f);
    EXPECT_NEAR(m.rudderTrimAngle, -5.7296f, 1e-3f);
    EXPECT_TRUE(m.aileronPositionChanged && m.elevatorTrimChanged && m.aileronTrimChanged);

    panel().setToken(318, -16384.0);
    scenario.step();
    EXPECT_FLOAT_EQ(mechanisation().pitchTrimIndication, -4.0f) << "the nose-down side reads less";
    scenario.step();
    EXPECT_FALSE(m.aileronPositionChanged || m.elevatorTrimChanged || m.aileronTrimChanged);
}

TEST_F(FlightControlsTest, ChannelsAreInoperativeWithTheirButtonOffOrTheirPressureLow) {
    scenario.setHydraulicPressures(3000.0f, 1299.0f);
    scenario.step();
    EXPECT_FALSE(mechanisation().aileronSystem1Inop || mechanisation().rudderSystem1Inop);
    EXPECT_TRUE(mechanisation().aileronSystem2Inop && mechanisation().rudderSystem2Inop);

    scenario.setHydraulicPressures(3000.0f, 1300.0f);
    mechanisation().rudderSystem1On = false;
    scenario.step();
    EXPECT_TRUE(mechanisation().rudderSystem1Inop && mechanisation().rudderSystem1InopChanged);
    EXPECT_FALSE(mechanisation().aileronSystem1Inop || mechanisation().aileronSystem2Inop ||
                 mechanisation().rudderSystem2Inop);
    EXPECT_TRUE(mechanisation().rudderSystem1OffLight());
    EXPECT_FALSE(mechanisation().rudderSystem2OffLight() ||
                 mechanisation().aileronSystem1OffLight());

    scenario.request("TaviBatt1Click");
    scenario.request("TaviBatt2Click");
    scenario.step(2);
    EXPECT_FALSE(mechanisation().rudderSystem1OffLight()) << "no lamp without power";
}

// Counts the trim call-outs of the frames run: a call-out restarts the run at the frame's time,
// while the pilot's events only ever carry the time of the frame before.
class TrimCalloutTest : public FlightControlsTest {
protected:
    int trimFor(double seconds) {
        int callouts = 0;
        const int frames = static_cast<int>(std::lround(seconds * 18.0));
        for (int frame = 0; frame < frames; ++frame) {
            if (frame % 2 == 0) {
                panel().simulatorKeyEvent(kElevatorTrimUp, 0);
            }
            scenario.step();
            if (mechanisation().trimRunStart == scenario.aircraft().simTimeMs) {
                ++callouts;
                EXPECT_TRUE(scenario.sounds().isPlaying(kTrimCallout));
            }
        }
        return callouts;
    }
};

TEST_F(TrimCalloutTest, TrimmingForThreeSecondsCallsOutOnceAndAgainEveryThreeSeconds) {
    EXPECT_EQ(trimFor(2.9), 0);
    EXPECT_EQ(trimFor(0.3), 1);
    EXPECT_EQ(trimFor(2.8), 0);
    EXPECT_EQ(trimFor(0.4), 1);
}

TEST_F(TrimCalloutTest, APauseOfMoreThan200MsStartsTheCountAgain) {
    EXPECT_EQ(trimFor(2.0), 0);
    scenario.step(5);
    EXPECT_EQ(trimFor(2.8), 0);
    EXPECT_EQ(trimFor(0.4), 1);
}

// The pilot trimming with the autopilot engaged hears no call-out; with it off again, does.
TEST_F(TrimCalloutTest, NoCalloutWhileTheAutopilotIsEngaged) {
    constexpr int kAutopilotSlot = 23;
    Autopilot& autopilot = holdSystem<Autopilot>(scenario.aircraft(), kAutopilotSlot);
    autopilot.engaged = true;
    EXPECT_EQ(trimFor(7.0), 0);
    autopilot.engaged = false;
    scenario.step(5);
    EXPECT_EQ(trimFor(3.2), 1);
}

struct SteeringCase {
    const char* name;
    const char* ini;
    bool onGround;
    float groundSpeed;
    int32_t axis;
    std::optional<int32_t> sent;
    // A GPS without power keeps showing its last ground speed; the airspeed stands in.
    bool gpsUnpowered = false;
    float airspeed = 0.0f;
};

class SteeringTest : public testing::TestWithParam<SteeringCase> {};

TEST_P(SteeringTest, RudderAxisIsScaledForTheNoseWheelAboveTaxiSpeed) {
    const SteeringCase& row = GetParam();
    MechanisationScenario scenario(row.ini);
    scenario.setOnGround(row.onGround);
    scenario.setGroundSpeed(row.groundSpeed);
    scenario.aircraft().gps()->unpowered = row.gpsUnpowered;
    scenario.adc().indicatedAirspeed = row.airspeed;
    scenario.step();
    sim::SimConnectServer& simConnect = scenario.module.simulator.simConnect;
    simConnect.pilotEvent("AXIS_RUDDER_SET", static_cast<uint32_t>(row.axis));
    scenario.step();

    std::vector<uint32_t> applied;
    for (const sim::AppliedEvent& event : simConnect.appliedEvents()) {
        applied.push_back(event.data);
    }
    std::vector<uint32_t> expected = {static_cast<uint32_t>(row.axis)};
    if (row.sent) {
        expected.push_back(static_cast<uint32_t>(*row.sent));
    }
    EXPECT_EQ(applied, expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, SteeringTest,
    testing::Values(
        SteeringCase{"AboveFortyKnots", "", true, 41.0f, 16383, 2978},
        SteeringCase{"AtFortyKnots", "", true, 40.0f, 16383, std::nullopt},
        SteeringCase{"LeftRudder", "", true, 100.0f, -5500, -1000},
        SteeringCase{"Airborne", "", false, 140.0f, 16383, std::nullopt},
        SteeringCase{"NotLimited", "[Preferences]\nlimitSteering=0\n", true, 100.0f, 16383,
                     std::nullopt},
        SteeringCase{"WiderAngle", "[Preferences]\nsteeringAngle=20\n", true, 60.0f, -16383, -5957},
        SteeringCase{"DeadGpsSlowAirspeed", "", true, 140.0f, 16383, std::nullopt, true, 20.0f},
        SteeringCase{"DeadGpsFastAirspeed", "", true, 0.0f, 16383, 2978, true, 41.0f}),
    [](const testing::TestParamInfo<SteeringCase>& info) { return info.param.name; });

TEST_F(FlightControlsTest, LoadsFollowTheSurfacesThatMove) {
    Mechanisation unit;
    BusLoads idle;
    unit.addElectricLoad(scenario.aircraft(), idle);
    EXPECT_EQ(std::vector<float>(idle.amps, idle.amps + 5),
              (std::vector<float>{0.0f, 10.0f, 15.0f, 10.0f, 10.0f}));

    unit.spoilersUnpowered = true;
    unit.spoilerPositionChanged = true;
    unit.spoilerPosition = 8192.0f;
    unit.aileronPositionChanged = true;
    unit.aileronSystem1Inop = true;
    BusLoads moving;
    unit.addElectricLoad(scenario.aircraft(), moving);
    EXPECT_EQ(std::vector<float>(moving.amps, moving.amps + 5),
              (std::vector<float>{0.0f, 20.0f, 20.0f, 10.0f, 10.0f}));
}

} // namespace
} // namespace tavi::test
