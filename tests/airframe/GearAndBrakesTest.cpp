// The gear warning, brakes, parking brake, doors, wipers, cabin attendant and the EICAS
// messages of the flight controls, driven through the stand-in simulator.
#include "platform/Random.h"
#include "support/MechanisationScenario.h"
#include "support/VirtualKeys.h"

#include <cmath>
#include <gtest/gtest.h>

namespace tavi::test {
namespace {

constexpr uint32_t kPeriodKey = 0xBE;
constexpr int kParkingBrakeToken = 323;
constexpr int kFlapAngleToken = 907;
constexpr SoundId kGearCallout = 43;
constexpr SoundId kGearAirNoise = 58;

class GearAndBrakesTest : public testing::Test {
protected:
    GearAndBrakesTest() { scenario.powerUp(); }

    Mechanisation& mechanisation() { return scenario.mechanisation(); }
    sim::Panel& panel() { return scenario.panel(); }

    void flyAt(float knots) {
        scenario.setOnGround(false);
        scenario.setGroundSpeed(knots);
        scenario.adc().smoothedAirspeed = knots;
        scenario.adc().indicatedAirspeed = knots;
        scenario.step();
    }
    void setGear(double position) {
        for (int token : {332, 333, 334}) {
            panel().setToken(token, position);
        }
    }
    void setPedals(double left, double right) {
        panel().setToken(320, left * 32767.0);
        panel().setToken(321, right * 32767.0);
    }
    bool parkingBrakeKey(bool shift = false) {
        sim::Host& host = scenario.module.simulator.host;
        host.key(kControlKey, true);
        if (shift) {
            host.key(kShiftKey, true);
        }
        const bool consumed = host.key(kPeriodKey, true);
        host.key(kControlKey, false);
        host.key(kShiftKey, false);
        return consumed;
    }

    MechanisationScenario scenario;
};

struct ThrustCase {
    const char* name;
    float radioAltitude;
    float flaps;
    float lever1;
    float lever2;
    bool burns1;
    bool burns2;
    bool approach;
};

class ApproachThrustTest : public testing::TestWithParam<ThrustCase> {};

TEST_P(ApproachThrustTest, GearWarningThrustCondition) {
    const ThrustCase& row = GetParam();
    EXPECT_EQ(Mechanisation::approachThrust(row.radioAltitude, row.flaps, {row.lever1, row.lever2},
                                            {row.burns1, row.burns2}),
              row.approach);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ApproachThrustTest,
    testing::Values(
        ThrustCase{"BothLeversBack", 1000.0f, 22.0f, 40.0f, 40.0f, true, true, true},
        ThrustCase{"OneBackOneBetween", 1000.0f, 22.0f, 40.0f, 50.0f, true, true, true},
        // A lever at 60 degrees on a burning engine holds off the warning, whatever the other.
        ThrustCase{"OneForwardOneBack", 1000.0f, 22.0f, 60.0f, 40.0f, true, true, false},
        ThrustCase{"ForwardLeverOnADeadEngine", 1000.0f, 22.0f, 60.0f, 40.0f, false, true, true},
        ThrustCase{"BothForward", 1000.0f, 22.0f, 60.0f, 60.0f, true, true, false},
        ThrustCase{"High", 1200.0f, 22.0f, 40.0f, 40.0f, true, true, false},
        ThrustCase{"LandingFlaps", 1000.0f, 45.0f, 40.0f, 40.0f, true, true, false}),
    [](const testing::TestParamInfo<ThrustCase>& info) { return info.param.name; });

TEST_F(GearAndBrakesTest, LandingFlapsWithTheGearUpCallForTheGear) {
    flyAt(140.0f);
    panel().setToken(kFlapAngleToken, 45.0);
    scenario.step();
    EXPECT_TRUE(scenario.sounds().isPlaying(sounds::kWarningChime));
    EXPECT_TRUE(scenario.sounds().isQueued(kGearCallout));

    scenario.run(3.0);
    setGear(16383.0);
    scenario.run(3.0);
    EXPECT_FALSE(scenario.sounds().isQueued(kGearCallout) ||
                 scenario.sounds().isPlaying(kGearCallout))
        << "down and locked";

    setGear(0.0);
    scenario.setOnGround(true);
    scenario.run(2.0);
    EXPECT_FALSE(scenario.sounds().isQueued(kGearCallout) ||
                 scenario.sounds().isPlaying(kGearCallout))
        << "never on the ground";
}

TEST_F(GearAndBrakesTest, ApproachThrustLowOverTheGroundCallsForTheGearUnlessTheGpwsAlerts) {
    auto gearCalled = [&] {
        return scenario.sounds().isQueued(kGearCallout) ||
               scenario.sounds().isPlaying(kGearCallout);
    };
    scenario.setCombustion(true, true);
    scenario.setThrustLevers(40.0f, 40.0f);
    panel().setToken(kFlapAngleToken, 22.0);
    scenario.setRadioAltitude(1500.0f);
    flyAt(140.0f);
    scenario.run(1.0);
    EXPECT_FALSE(gearCalled()) << "above 1200 ft";

    scenario.aircraft().gpws()->mode2 = true;
    scenario.setRadioAltitude(1000.0f);
    scenario.run(1.0);
    EXPECT_FALSE(gearCalled()) << "the GPWS alert comes first";

    scenario.aircraft().gpws()->mode2 = false;
    scenario.step();
    EXPECT_TRUE(gearCalled());
}

TEST_F(GearAndBrakesTest, GearAirNoiseFollowsTheMainGearAndAirspeed) {
    flyAt(150.0f);
    setGear(16383.0);
    scenario.step();
    EXPECT_TRUE(scenario.sounds().isPlaying(kGearAirNoise));
    EXPECT_EQ(scenario.aws().volume(kGearAirNoise), -1500);
    EXPECT_TRUE(mechanisation().isGearDownAndLocked());

    panel().setToken(332, 8000.0);
    scenario.step();
    EXPECT_FALSE(mechanisation().isGearDownAndLocked());
    EXPECT_EQ(scenario.aws().volume(kGearAirNoise), -1500) << "only the main gear is heard";

    setGear(0.0);
    scenario.step();
    EXPECT_FALSE(scenario.sounds().isPlaying(kGearAirNoise));
}

struct BrakeHeatCase {
    float temperature;
    float heating;
    float cooling;
};

class BrakeHeatTest : public GearAndBrakesTest,
                      public testing::WithParamInterface<BrakeHeatCase> {};

TEST_P(BrakeHeatTest, BrakesHeatWithThePedalAndCoolTowardTheOutsideAir) {
    const float outside = 15.0f;
    scenario.adc().totalAirTemperature = outside;
    scenario.setGroundSpeed(100.0f);
    setPedals(0.5, 0.0);
    scenario.step();
    const float start = GetParam().temperature;
    mechanisation().brakeTemperatureLeft = start;
    mechanisation().brakeTemperatureRight = start;
    scenario.step();

    const float dt = static_cast<float>(scenario.aircraft().frameDeltaMs) * 0.001f;
    const float heated = start + 0.5f * dt * GetParam().heating;
    const float cooling = GetParam().cooling * dt;
    EXPECT_NEAR(mechanisation().brakeTemperatureLeft, heated - (heated - outside) * cooling, 1e-3f);
    EXPECT_NEAR(mechanisation().brakeTemperatureRight, start - (start - outside) * cooling, 1e-3f);
}

INSTANTIATE_TEST_SUITE_P(
    Temperatures, BrakeHeatTest,
    testing::Values(BrakeHeatCase{50.0f, 100.0f, 0.02f}, BrakeHeatCase{150.0f, 90.0f, 0.03f},
                    BrakeHeatCase{250.0f, 80.0f, 0.04f}, BrakeHeatCase{350.0f, 70.0f, 0.04f},
                    BrakeHeatCase{500.0f, 60.0f, 0.05f}, BrakeHeatCase{700.0f, 50.0f, 0.05f}));

TEST_F(GearAndBrakesTest, ALandingRollHeatsTheBrakesOnlyWhileRolling) {
    scenario.adc().totalAirTemperature = 15.0f;
    scenario.step();
    ASSERT_FLOAT_EQ(mechanisation().brakeTemperatureLeft, 15.0f) << "cold brakes read TAT";
    setPedals(0.5, 0.5);
    scenario.setGroundSpeed(15.0f);
    scenario.run(1.0);
    EXPECT_FLOAT_EQ(mechanisation().brakeTemperatureLeft, 15.0f) << "no heat at 15 kt";

    scenario.setGroundSpeed(100.0f);
    scenario.run(1.0);
    // 50 degrees a second at first, less the cooling of 2 % of the difference a second.
    EXPECT_GT(mechanisation().brakeTemperatureLeft, 63.0f);
    EXPECT_LT(mechanisation().brakeTemperatureLeft, 65.0f);
    EXPECT_FLOAT_EQ(mechanisation().brakeTemperatureRight, mechanisation().brakeTemperatureLeft);

    scenario.adc().totalAirTemperature = 80.0f;
    scenario.step();
    EXPECT_FLOAT_EQ(mechanisation().brakeTemperatureLeft, 80.0f) << "never below the outside air";
}

// A GPS without power keeps showing 140 kt; standing with the pedals pressed and no airspeed,
// the brakes stay cold.
TEST_F(GearAndBrakesTest, ADeadGpsDoesNotHeatTheBrakesOfAStandingAircraft) {
    scenario.adc().totalAirTemperature = 15.0f;
    scenario.setGroundSpeed(140.0f);
    scenario.aircraft().gps()->unpowered = true;
    scenario.adc().indicatedAirspeed = 0.0f;
    setPedals(1.0, 1.0);
    scenario.run(5.0);
    EXPECT_FLOAT_EQ(mechanisation().brakeTemperatureLeft, 15.0f);
    scenario.adc().indicatedAirspeed = 100.0f;
    scenario.run(1.0);
    EXPECT_GT(mechanisation().brakeTemperatureLeft, 60.0f) << "the airspeed stands in";
}

struct BrakeLimitCase {
    const char* name;
    const char* ini;
    float top;
    bool overheats;
};

class BrakeLimitTest : public testing::TestWithParam<BrakeLimitCase> {};

TEST_P(BrakeLimitTest, TemperaturesStopAtTheTopOfTheScaleAndOverheatAboveTheirThreshold) {
    MechanisationScenario scenario(GetParam().ini);
    scenario.powerUp();
    scenario.setGroundSpeed(100.0f);
    scenario.panel().setToken(320, 32767.0);
    scenario.run(30.0);
    EXPECT_FLOAT_EQ(scenario.mechanisation().brakeTemperatureLeft, GetParam().top);
    EXPECT_FLOAT_EQ(scenario.mechanisation().brakeTemperatureRight, 0.0f) << "no pedal";
    EXPECT_EQ(scenario.mechanisation().brakeOverheat, GetParam().overheats);
    EXPECT_EQ(scenario.shows("BRAKE OVERHEAT"), GetParam().overheats);
}

INSTANTIATE_TEST_SUITE_P(
    Settings, BrakeLimitTest,
    testing::Values(BrakeLimitCase{"Overheating", "[Brakes]\nscaleMax=400\noverheat=300\n", 400.0f,
                                   true},
                    BrakeLimitCase{"ScaleBelowOverheat", "[Brakes]\nscaleMax=250\noverheat=300\n",
                                   250.0f, false}),
    [](const testing::TestParamInfo<BrakeLimitCase>& info) { return info.param.name; });

TEST_F(GearAndBrakesTest, TheAccumulatorAloneSetsTheParkingBrakeSevenTimes) {
    scenario.setHydraulicPressures(0.0f, 0.0f);
    EXPECT_TRUE(parkingBrakeKey());
    scenario.step();
    ASSERT_EQ(mechanisation().parkingBrake, 0.0f) << "released without using pressure";
    ASSERT_FLOAT_EQ(mechanisation().emergencyBrakePressure, 3000.0f);

    int applications = 0;
    for (int attempt = 0; attempt < 9; ++attempt) {
        EXPECT_TRUE(parkingBrakeKey());
        scenario.step();
        if (mechanisation().parkingBrake == 0.0f) {
            continue;
        }
        ++applications;
        EXPECT_FLOAT_EQ(mechanisation().emergencyBrakePressure, 3000.0f - 300.0f * applications);
        EXPECT_EQ(scenario.shows("EMRG BRK LO PRESS"), applications >= 6)
            << "after application " << applications;
        mechanisation().toggleParkingBrake();
        scenario.step();
        ASSERT_EQ(mechanisation().parkingBrake, 0.0f);
    }
    EXPECT_EQ(applications, 7);
    EXPECT_FALSE(parkingBrakeKey(true)) << "Ctrl+Shift+. is the simulator's";

    scenario.setHydraulicPressures(0.0f, 3000.0f);
    scenario.step();
    EXPECT_FLOAT_EQ(mechanisation().emergencyBrakePressure, 3000.0f);
    EXPECT_FALSE(scenario.shows("EMRG BRK LO PRESS")) << "hydraulic system 2 recharges it";
}

struct ParkingClicksCase {
    int clicks;
    bool set;
    float accumulatorPsi;
};

class ParkingBrakeClicksTest : public GearAndBrakesTest,
                               public testing::WithParamInterface<ParkingClicksCase> {};

// Clicks within one frame: each toggles the brake once, and only a setting uses pressure.
TEST_P(ParkingBrakeClicksTest, EachClickTogglesOnce) {
    const ParkingClicksCase& row = GetParam();
    scenario.setHydraulicPressures(0.0f, 0.0f);
    mechanisation().toggleParkingBrake();
    scenario.step();
    ASSERT_EQ(mechanisation().parkingBrake, 0.0f);
    ASSERT_FLOAT_EQ(mechanisation().emergencyBrakePressure, 3000.0f);
    panel().clearKeyEventsSent();
    for (int click = 0; click < row.clicks; ++click) {
        EXPECT_TRUE(parkingBrakeKey());
    }
    scenario.step();
    EXPECT_EQ(scenario.keyEventCount(0x100D8), row.clicks);
    EXPECT_EQ(mechanisation().parkingBrake != 0.0f, row.set);
    EXPECT_FLOAT_EQ(mechanisation().emergencyBrakePressure, row.accumulatorPsi);
}

INSTANTIATE_TEST_SUITE_P(OneFrame, ParkingBrakeClicksTest,
                         testing::Values(ParkingClicksCase{1, true, 2700.0f},
                                         ParkingClicksCase{2, false, 2700.0f},
                                         ParkingClicksCase{3, true, 2400.0f}));

// A rejected take-off at 140 kt: the test plays the roll, the stop on full pedals at 6 kt/s and
// the parked aircraft that follows.
TEST_F(GearAndBrakesTest, AfterARejectedTakeOffTheBrakesTakeTensOfMinutesToCool) {
    scenario.adc().totalAirTemperature = 15.0f;
    mechanisation().toggleParkingBrake();
    scenario.step();
    for (float knots = 0.0f; knots < 140.0f; knots += 4.0f / 18.0f) {
        scenario.setGroundSpeed(knots);
        scenario.step();
    }
    setPedals(1.0, 1.0);
    for (float knots = 140.0f; knots > 0.0f; knots -= 6.0f / 18.0f) {
        scenario.setGroundSpeed(knots);
        scenario.step();
    }
    scenario.setGroundSpeed(0.0f);
    scenario.step();
    const float stopped = mechanisation().brakeTemperatureLeft;
    EXPECT_GT(stopped, 600.0f);
    EXPECT_TRUE(scenario.shows("BRAKE OVERHEAT"));
    setPedals(0.0, 0.0);

    scenario.run(60.0);
    EXPECT_GT(mechanisation().brakeTemperatureLeft, 600.0f) << "a minute later";
    double overheatMinutes = 1.0;
    while (scenario.shows("BRAKE OVERHEAT")) {
        scenario.run(6.0);
        overheatMinutes += 0.1;
        ASSERT_LT(overheatMinutes, 60.0);
    }
    EXPECT_GT(overheatMinutes, 2.0);
    scenario.run((5.0 - overheatMinutes) * 60.0);
    EXPECT_GT(mechanisation().brakeTemperatureLeft, 400.0f) << "five minutes later";
    scenario.run(25.0 * 60.0);
    EXPECT_GT(mechanisation().brakeTemperatureLeft, 100.0f) << "half an hour later";
    EXPECT_LT(mechanisation().brakeTemperatureLeft, 250.0f);
    scenario.run(60.0 * 60.0);
    EXPECT_LT(mechanisation().brakeTemperatureLeft, 40.0f) << "an hour and a half later";
    EXPECT_FLOAT_EQ(mechanisation().brakeTemperatureRight, mechanisation().brakeTemperatureLeft);
}

TEST_F(GearAndBrakesTest, LowAccumulatorIsNotShownDuringTakeOff) {
    mechanisation().emergencyBrakePressure = 1200.0f;
    mechanisation().emergencyBrakePressureChanged = true;
    scenario.step();
    EXPECT_TRUE(scenario.shows("EMRG BRK LO PRESS"));
    scenario.enterPhase(kTakeoffPhase);
    EXPECT_FALSE(scenario.shows("EMRG BRK LO PRESS"));
    scenario.enterPhase(kLandingPhase);
    EXPECT_TRUE(scenario.shows("EMRG BRK LO PRESS")) << "only take-off inhibits it";
}

TEST_F(GearAndBrakesTest, MainDoorWarnsOnlyWithAnEngineRunningOrInFlight) {
    panel().setVariable("EXIT OPEN", 0, 100.0);
    panel().setVariable("EXIT OPEN", 1, 40.0);
    scenario.step();
    EXPECT_FALSE(mechanisation().mainDoorOpen);
    EXPECT_FALSE(scenario.shows("MAIN DOOR OPN"));
    EXPECT_TRUE(scenario.shows("BAGGAGE DOOR OPN"));
    EXPECT_EQ(mechanisation().exitOpen, (std::array<float, 2>{100.0f, 40.0f}));

    scenario.setCombustion(false, true);
    scenario.step();
    EXPECT_TRUE(scenario.shows("MAIN DOOR OPN"));
    scenario.setCombustion(false, false);
    scenario.step();
    EXPECT_FALSE(scenario.shows("MAIN DOOR OPN"));
    flyAt(150.0f);
    EXPECT_TRUE(scenario.shows("MAIN DOOR OPN"));

    scenario.enterPhase(kLandingPhase);
    EXPECT_FALSE(scenario.shows("MAIN DOOR OPN") || scenario.shows("BAGGAGE DOOR OPN"));
    panel().setVariable("EXIT OPEN", 1, 0.0);
    scenario.enterPhase(kAirbornePhase);
    EXPECT_TRUE(scenario.shows("MAIN DOOR OPN"));
    EXPECT_FALSE(scenario.shows("BAGGAGE DOOR OPN"));
}

TEST_F(GearAndBrakesTest, ChannelCautionsNameTheSystemsAndRudder1NeedsLowSpeed) {
    scenario.adc().indicatedAirspeed = 100.0f;
    scenario.step();
    EXPECT_TRUE(scenario.shows("AIL SYS 1-2 INOP"));
    EXPECT_TRUE(scenario.shows("RUDDER SYS 1-2INOP")) << "the text as the unit has it";

    scenario.setHydraulicPressures(0.0f, 3000.0f);
    scenario.step();
    EXPECT_TRUE(scenario.shows("AIL SYS 1 INOP"));
    EXPECT_TRUE(scenario.shows("RUDDER SYS 1 INOP"));

    // Airspeed alone does not re-evaluate the message; the next phase change does.
    scenario.adc().indicatedAirspeed = 140.0f;
    scenario.step();
    EXPECT_TRUE(scenario.shows("RUDDER SYS 1 INOP"));
    scenario.enterPhase(kAirbornePhase);
    EXPECT_FALSE(scenario.shows("RUDDER SYS 1 INOP"));
    EXPECT_TRUE(scenario.shows("AIL SYS 1 INOP"));
    for (auto& side : scenario.adc().validity[kAirspeedGroup]) {
        side.invalid = true;
    }
    scenario.enterPhase(kOnGroundPhase);
    EXPECT_TRUE(scenario.shows("RUDDER SYS 1 INOP")) << "no airspeed on either side";

    scenario.setHydraulicPressures(3000.0f, 3000.0f);
    scenario.step();
    EXPECT_FALSE(scenario.shows("AIL SYS 1 INOP") || scenario.shows("RUDDER SYS 1 INOP"));
}

struct BusCase {
    const char* name;
    bool dcBus1;
    bool dcBus2;
    bool essentialBus2;
    int32_t phase;
    std::vector<std::string> shown;
};

class BusMessagesTest : public GearAndBrakesTest, public testing::WithParamInterface<BusCase> {};

// The bus states are set between frames, where the network would never leave them, and the flight
// controls run alone on them.
TEST_P(BusMessagesTest, DeadBusesRaiseTheTrimFlapAndSpoilerMessages) {
    const BusCase& row = GetParam();
    scenario.setHydraulicPressures(3000.0f, 3000.0f);
    scenario.adc().flightPhase = row.phase;
    scenario.step();
    Electric& electric = scenario.electric();
    electric.buses[Electric::kDcBus1].powered = row.dcBus1;
    electric.buses[Electric::kDcBus2].powered = row.dcBus2;
    electric.buses[Electric::kEssentialBus2].powered = row.essentialBus2;
    mechanisation().update(scenario.aircraft());
    mechanisation().update(scenario.aircraft());

    std::vector<std::string> shown;
    for (const char* text : {"PIT TRIM 1 INOP", "PIT TRIM 2 INOP", "PIT TRIM 1-2 INOP", "FLAP FAIL",
                             "FLAP LOW SPEED", "SPOILER FAIL"}) {
        if (scenario.shows(text)) {
            shown.push_back(text);
        }
    }
    EXPECT_EQ(shown, row.shown);
}

INSTANTIATE_TEST_SUITE_P(
    Buses, BusMessagesTest,
    testing::Values(
        BusCase{"Dc1", false, true, true, kOnGroundPhase, {"PIT TRIM 1 INOP", "FLAP LOW SPEED"}},
        BusCase{"Dc2", true, false, true, kOnGroundPhase, {"FLAP LOW SPEED", "SPOILER FAIL"}},
        BusCase{"BothDc",
                false,
                false,
                true,
                kAirbornePhase,
                {"PIT TRIM 1 INOP", "FLAP FAIL", "SPOILER FAIL"}},
        BusCase{"Essential2", true, true, false, kOnGroundPhase, {"PIT TRIM 2 INOP"}},
        BusCase{"Dc1AndEssential2",
                false,
                true,
                false,
                kOnGroundPhase,
                {"PIT TRIM 1-2 INOP", "FLAP LOW SPEED"}},
        BusCase{"InhibitedInTakeOff", false, false, false, kTakeoffPhase, {}}),
    [](const testing::TestParamInfo<BusCase>& info) { return info.param.name; });

TEST_F(GearAndBrakesTest, ParkedWithFlapsUpRemindsTheCrewAFrameLater) {
    scenario.setHydraulicPressures(3000.0f, 3000.0f);
    panel().setToken(kParkingBrakeToken, 0.0);
    panel().setToken(kFlapAngleToken, 9.0);
    scenario.step(2);
    ASSERT_FALSE(mechanisation().checkA1Perf);
    panel().setToken(kParkingBrakeToken, 32767.0);
    scenario.step(2);
    EXPECT_FALSE(mechanisation().checkA1Perf) << "take-off flaps are set";

    panel().setToken(kFlapAngleToken, 0.0);
    scenario.step();
    EXPECT_TRUE(mechanisation().checkA1Perf);
    EXPECT_FALSE(scenario.shows("CHECK A1 PERF")) << "the message follows one frame later";
    scenario.step();
    EXPECT_TRUE(scenario.shows("CHECK A1 PERF"));

    panel().setToken(kFlapAngleToken, 9.0);
    scenario.step(2);
    EXPECT_TRUE(scenario.shows("CHECK A1 PERF")) << "still parked";
    panel().setToken(kParkingBrakeToken, 0.0);
    scenario.step(2);
    EXPECT_FALSE(scenario.shows("CHECK A1 PERF"));
}

TEST_F(GearAndBrakesTest, IntermittentWipersSweepOnceEveryNineSeconds) {
    scenario.request("TaviLwkLeftClick");
    scenario.step();
    const uint32_t start = scenario.aircraft().simTimeMs;
    EXPECT_EQ(mechanisation().leftWiperKnob, Mechanisation::kWiperIntermittent);
    EXPECT_EQ(mechanisation().leftWiperStart, start);
    EXPECT_EQ(panel().namedVariable("TaviLeftWiperKnob"), 0.0);
    EXPECT_EQ(panel().namedVariable("TaviLwkLeftClick"), 0.0);

    uint32_t lastSweepStart = start;
    int sweeps = 0;
    float previous = 0.0f;
    while (scenario.aircraft().simTimeMs - start < 19000) {
        scenario.step();
        const float position = mechanisation().leftWiperPosition;
        EXPECT_EQ(panel().namedVariable("TaviLeftWiper"), std::floor(position * 200.0 + 0.5));
        if (position > 0.0f && previous == 0.0f) {
            ++sweeps;
            lastSweepStart = scenario.aircraft().simTimeMs;
        }
        previous = position;
    }
    EXPECT_EQ(sweeps, 3);
    EXPECT_GE(lastSweepStart - start, 18000u);
    EXPECT_LE(lastSweepStart - start, 18060u);

    scenario.request("TaviLwkLeftClick");
    scenario.step();
    EXPECT_EQ(mechanisation().leftWiperKnob, 0) << "the knob stops at intermittent";
}

TEST_F(GearAndBrakesTest, ContinuousWipersParkWhenTheirBusFails) {
    scenario.request("TaviRwkRightClick");
    scenario.request("TaviRwkRightClick");
    scenario.request("TaviRwkRightClick");
    scenario.step();
    EXPECT_EQ(mechanisation().rightWiperKnob, Mechanisation::kWiperSlow) << "one step a frame";
    scenario.request("TaviRwkRightClick");
    scenario.step();
    ASSERT_EQ(mechanisation().rightWiperKnob, Mechanisation::kWiperFast);
    EXPECT_EQ(panel().namedVariable("TaviRightWiperKnob"), 3.0);

    const float before = mechanisation().rightWiperPosition;
    scenario.step();
    const double dt = scenario.aircraft().frameDeltaMs * 0.001;
    EXPECT_NEAR(mechanisation().rightWiperPosition,
                std::fmod(before + dt * 0.3 * 140.0 / 60.0, 1.0), 1e-5);

    BusLoads loads;
    mechanisation().addElectricLoad(scenario.aircraft(), loads);
    EXPECT_FLOAT_EQ(loads[Electric::kDcBus2], 15.0f + 3.0f);

    while (mechanisation().rightWiperPosition < 0.5f) {
        scenario.step();
    }
    scenario.request("TaviBatt1Click");
    scenario.request("TaviBatt2Click");
    scenario.step(2);
    ASSERT_FALSE(scenario.electric().isPowered(Electric::kDcBus2));
    int frames = 0;
    while (mechanisation().rightWiperPosition != 0.0f) {
        ASSERT_LT(++frames, 30) << "the stroke ends at the slow rate";
        scenario.step();
    }
    scenario.step(5);
    EXPECT_EQ(mechanisation().rightWiperPosition, 0.0f) << "parked";
}

TEST_F(GearAndBrakesTest, AttendantGreetsAtTheGateUntilTheDoorCloses) {
    platform::seedRandom(7);
    panel().setVariable("EXIT OPEN", 0, 100.0);
    int frames = 0;
    while (mechanisation().attendantState != Mechanisation::kAttendantAtGate) {
        ASSERT_LT(++frames, 600 * 18);
        scenario.step();
    }
    EXPECT_EQ(mechanisation().attendantFrame, 0.0f);
    scenario.run(2.0);
    EXPECT_NEAR(mechanisation().attendantFrame, 60.0f, 2.0f) << "30 frames a second";
    EXPECT_EQ(panel().namedVariable("TaviStewardess"), std::trunc(mechanisation().attendantFrame));

    panel().setVariable("EXIT OPEN", 0, 60.0);
    scenario.step();
    EXPECT_EQ(mechanisation().attendantState, Mechanisation::kAttendantIdle);
    EXPECT_EQ(panel().namedVariable("TaviStewardess"), 0.0);
}

TEST_F(GearAndBrakesTest, TheLongRoundPlaysTwiceAndEndsIdle) {
    mechanisation().attendantState = Mechanisation::kAttendantLongRound;
    mechanisation().attendantFrame = 501.0f;
    scenario.run(4.5);
    EXPECT_EQ(mechanisation().attendantState, Mechanisation::kAttendantLongRound);
    scenario.run(0.3);
    EXPECT_EQ(mechanisation().attendantState, Mechanisation::kAttendantLongRoundAgain);
    EXPECT_LT(mechanisation().attendantFrame, 512.0f);
    scenario.run(4.8);
    EXPECT_EQ(mechanisation().attendantState, Mechanisation::kAttendantIdle);
    EXPECT_EQ(mechanisation().attendantFrame, 501.0f);
    EXPECT_EQ(panel().namedVariable("TaviStewardess"), 501.0);
}

TEST_F(GearAndBrakesTest, BrakesDoorsAndWipersDrawTheirCurrents) {
    Mechanisation unit;
    unit.brakeRight = 0.2f;
    unit.exitOpenChanged = {true, true};
    unit.leftWiperKnob = Mechanisation::kWiperIntermittent;
    BusLoads loads;
    unit.addElectricLoad(scenario.aircraft(), loads);
    EXPECT_EQ(std::vector<float>(loads.amps, loads.amps + kBusCount),
              (std::vector<float>{0.0f, 15.0f, 15.0f, 18.0f, 15.0f, 0.0f, 0.0f, 0.0f, 5.0f, 0.0f}));
}

} // namespace
} // namespace tavi::test
