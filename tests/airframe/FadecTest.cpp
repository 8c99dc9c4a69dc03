// The FADEC: thrust levers, lock and reversers, the lever law, thrust ratings and their gates,
// the automatic reserve, the takeoff data, the configuration check and the engine messages.
#include "airframe/Fadec.h"

#include "airframe/Pneumatic.h"
#include "support/AirframeScenario.h"
#include "support/HeldSystem.h"

#include <algorithm>
#include <cmath>
#include <gtest/gtest.h>
#include <utility>

namespace tavi::test {
namespace {

constexpr double kLowerLimit = -0.25;
constexpr int32_t kReverseLimitUnits = -4096;

// Both engines running at idle on the ground on a standard day, parked, in the ground phase,
// the throttle lock released. The engine law is the air data computer's at rest; the flight
// controls and the bleed air are held by the test.
class FadecTest : public testing::Test {
protected:
    explicit FadecTest(const std::string& ini = "[Startup]\nstartupMode=2\n")
        : scenario(ini, [](sim::Panel& panel) {
              panel.setVariable("THROTTLE LOWER LIMIT", 0, kLowerLimit);
              panel.setVariable("UNLIMITED FUEL", 0, 1.0);
              for (int engine = 1; engine <= 2; ++engine) {
                  panel.setVariable("GENERAL ENG MIXTURE LEVER POSITION", engine, 1.0);
                  panel.setVariable("GENERAL ENG COMBUSTION", engine, 1.0);
                  panel.setVariable("TURB ENG N2", engine, 60.0);
              }
          }) {
        scenario.holdFlightControls();
        holdSystem<Pneumatic>(scenario.aircraft(), AirframeScenario::kPneumaticSlot);
        scenario.park();
        scenario.step(3);
    }

    Fadec& fadec() { return *scenario.aircraft().fadec(); }
    Adc& adc() { return scenario.adc(); }
    Mechanisation& mechanisation() { return *scenario.aircraft().mechanisation(); }
    Pneumatic& pneumatic() { return *scenario.aircraft().pneumatic(); }
    // The engine law of the air data computer.
    float n1ForThrottle(double throttle) {
        return static_cast<float>(adc().n1ForThrottle(throttle));
    }
    int32_t unitsFor(double n1, bool reverse = false) {
        return static_cast<int32_t>(adc().throttleForN1(n1, reverse) * 16384.0);
    }
    JetEngine& engine(int number) {
        return *(number == 1 ? scenario.aircraft().engine1() : scenario.aircraft().engine2());
    }
    sim::Panel& panel() { return scenario.panel(); }
    double simThrottle(int engine) {
        return panel().variable("GENERAL ENG THROTTLE LEVER POSITION", engine);
    }
    int32_t simUnits(int engine) { return static_cast<int32_t>(simThrottle(engine) * 16384.0); }
    uint32_t now() { return scenario.aircraft().simTimeMs; }
    bool queued(SoundId id) { return scenario.aws().isQueued(id); }

    void airborne(float pressureAltitude = 1000.0f) {
        adc().pressureAltitude = pressureAltitude;
        adc().indicatedAltitude = pressureAltitude;
        panel().setToken(60, 0.0);
        scenario.aircraft().ahrs()->onGround = false;
        scenario.enterPhase(kAirbornePhase);
    }

    void landed() {
        panel().setToken(60, 1.0);
        scenario.aircraft().ahrs()->onGround = true;
        scenario.step();
    }

    void setBurning(int engineNumber, bool burning) {
        panel().setVariable("GENERAL ENG COMBUSTION", engineNumber, burning ? 1.0 : 0.0);
    }

    void setN2(int engineNumber, double n2) {
        panel().setVariable("TURB ENG N2", engineNumber, n2);
    }

    // The pedestal: store button, then the knob once per step.
    void enterTakeoffData(int32_t ratingTurn, int32_t temperatureTurns, bool antiIce) {
        fadec().takeoffDataStore();
        fadec().takeoffDataSet(scenario.aircraft(), ratingTurn);
        fadec().takeoffDataStore();
        const int32_t step = temperatureTurns < 0 ? -1 : 1;
        for (int32_t i = 0; i != temperatureTurns; i += step) {
            fadec().takeoffDataSet(scenario.aircraft(), step);
        }
        fadec().takeoffDataStore();
        fadec().takeoffDataSet(scenario.aircraft(), antiIce ? 1 : -1);
        fadec().takeoffDataStore();
    }

    void drainCallouts() { scenario.run(8.0); }

    AirframeScenario scenario;
};

TEST_F(FadecTest, TheFirstFramesReleaseTheLockForRunningEnginesAndPublishTheLevers) {
    EXPECT_TRUE(fadec().started);
    EXPECT_FALSE(fadec().throttleLock);
    EXPECT_EQ(panel().namedVariable("TaviThrottleLock"), 0.0);
    EXPECT_EQ(panel().namedVariable("TaviThrottle1Lever"), 28.0);
    EXPECT_EQ(panel().namedVariable("TaviThrottle2Lever"), 28.0);
    EXPECT_EQ(fadec().reverseLimitUnits, kReverseLimitUnits);
    EXPECT_FLOAT_EQ(fadec().idleN1, n1ForThrottle(0.0)) << "the law's ground idle";
    EXPECT_FLOAT_EQ(fadec().reverseN1, n1ForThrottle(kLowerLimit));
    EXPECT_GT(fadec().reverseN1, fadec().idleN1);
    EXPECT_FLOAT_EQ(fadec().ratingN1, 86.5f) << "T/O-1 at 15 degrees at sea level";
    EXPECT_EQ(fadec().thrustRatingText(), "T/O-1");
    EXPECT_EQ(panel().token(126), 3.0) << "both engines selected for the throttle keys";
}

TEST(FadecStartupTest, ADarkCockpitEngagesTheLockAndSelectsBothEnginesOnce) {
    AirframeScenario scenario;
    scenario.step(3);
    Fadec& fadec = *scenario.aircraft().fadec();
    EXPECT_TRUE(fadec.throttleLock);
    EXPECT_EQ(scenario.panel().namedVariable("TaviThrottleLock"), 1.0);
    const std::vector<sim::KeyEvent>& sent = scenario.panel().keyEventsSent();
    std::vector<uint32_t> selection;
    for (const sim::KeyEvent& event : sent) {
        if (event.eventId == 0x10012 || event.eventId == 0x10002 || event.eventId == 0x10003) {
            selection.push_back(event.eventId);
        }
    }
    EXPECT_EQ(selection, (std::vector<uint32_t>{0x10012, 0x10002, 0x10003}));
    EXPECT_TRUE(fadec.reversersAvailable);
}

TEST(FadecStartupTest, TheReversersCanBeTakenAwayInTheSettings) {
    AirframeScenario scenario("[Engines]\nthrustReverserAvailable=0.0\n");
    EXPECT_FALSE(scenario.aircraft().fadec()->reversersAvailable);
}

struct LeverRow {
    const char* name;
    bool lock;
    bool airborne;
    bool reversers;
    float requested;
    float result;
};

class LeverLimitTest : public FadecTest, public testing::WithParamInterface<LeverRow> {};

TEST_P(LeverLimitTest, TheLeverStaysWithinItsTravelAndUnderTheLock) {
    const LeverRow row = GetParam();
    if (row.airborne) {
        airborne();
    }
    fadec().reversersAvailable = row.reversers;
    fadec().setThrottleLock(row.lock);
    fadec().setThrustLever1(row.requested);
    EXPECT_FLOAT_EQ(fadec().leverAngle[0], row.result);
    EXPECT_FLOAT_EQ(static_cast<float>(panel().namedVariable("TaviThrottle1Lever")), row.result);
    scenario.step();
    EXPECT_FLOAT_EQ(fadec().leverAngle[0], row.result) << "the next frame keeps it";
}

INSTANTIATE_TEST_SUITE_P(
    Cases, LeverLimitTest,
    testing::Values(LeverRow{"LockedForward", true, false, true, 80, 28},
                    LeverRow{"LockedIdle", true, false, true, 25, 25},
                    LeverRow{"Forward", false, false, true, 80, 75},
                    LeverRow{"ReverseInFlight", false, true, true, 10, 22},
                    LeverRow{"ReverseOnTheGround", false, false, true, 10, 10},
                    LeverRow{"ReverseWithoutReversers", false, false, false, 10, 22},
                    LeverRow{"BelowTheTravel", false, false, true, -5, 0}),
    [](const testing::TestParamInfo<LeverRow>& info) { return info.param.name; });

TEST_F(FadecTest, TheLockPullsForwardLeversBackToItsStop) {
    fadec().setThrustLever1(60.0f);
    fadec().setThrustLever2(20.0f);
    scenario.request("TaviThrottleLockClick");
    panel().setNamedVariable("TaviThrottleLock", 1.0);
    scenario.step();
    EXPECT_TRUE(fadec().throttleLock);
    EXPECT_FLOAT_EQ(fadec().leverAngle[0], 28.0f);
    EXPECT_FLOAT_EQ(fadec().leverAngle[1], 20.0f);
    EXPECT_EQ(panel().namedVariable("TaviThrottleLockClick"), 0.0);
}

TEST_F(FadecTest, TheLeverLawCommandsIdleRatingAndTheRangeBetween) {
    fadec().setThrustLever1(20.0f);
    scenario.step();
    EXPECT_EQ(simUnits(1), 0) << "idle on the ground is throttle 0";
    const float idle = n1ForThrottle(0.0);
    EXPECT_FLOAT_EQ(fadec().commandedN1[0], idle);

    fadec().setThrustLever1(50.0f);
    const float halfway = idle + (86.5f - idle) * 22.0f / 44.0f;
    EXPECT_FLOAT_EQ(fadec().commandedN1[0], halfway);
    EXPECT_EQ(simUnits(1), unitsFor(halfway)) << "sent at once";
    fadec().setThrustLever2(73.0f);
    EXPECT_FLOAT_EQ(fadec().commandedN1[1], 86.5f);
    EXPECT_EQ(simUnits(2), unitsFor(86.5));
    scenario.step(3);
    EXPECT_EQ(fadec().lastThrottleCommand[0], unitsFor(halfway));
    EXPECT_FLOAT_EQ(fadec().leverAngle[0], 50.0f) << "the lever does not drift";

    airborne();
    adc().isaDeviation = 0.0f;
    adc().pressureAltitude = 35000.0f;
    fadec().setThrustLever1(20.0f);
    scenario.step(2);
    EXPECT_FLOAT_EQ(fadec().idleN1, 57.0f) << "the flight idle schedule";
    EXPECT_EQ(simUnits(1), unitsFor(57.0)) << "in flight idle is the flight idle's throttle";
}

TEST_F(FadecTest, AReverseLeverCommandsIdleUntilTheReverserIsDeployed) {
    panel().setNamedVariable("TaviThrottle1Lever", 3.0);
    scenario.request("TaviThrottle1LeverPressed");
    scenario.step();
    EXPECT_FLOAT_EQ(fadec().leverAngle[0], 3.0f);
    EXPECT_EQ(panel().namedVariable("TaviThrottle1LeverPressed"), 0.0);
    scenario.step();
    EXPECT_FLOAT_EQ(fadec().leverAngle[0], 3.0f) << "the idle throttle does not pull it back";
    EXPECT_GT(fadec().reverserPosition[0], 0.0f);
    EXPECT_EQ(simUnits(1), 0);
    const float idle = n1ForThrottle(0.0);
    const float fullReverse = n1ForThrottle(kLowerLimit);
    EXPECT_FLOAT_EQ(fadec().commandedN1[0], fullReverse);
    EXPECT_FALSE(fadec().reverser1Deployed());
    BusLoads loads;
    fadec().addElectricLoad(scenario.aircraft(), loads);
    EXPECT_FLOAT_EQ(loads[Electric::kDcBus1], 10.0f) << "a moving reverser draws current";
    EXPECT_FLOAT_EQ(loads[Electric::kDcBus2], 5.0f);

    scenario.run(1.8);
    EXPECT_LT(fadec().reverserPosition[0], 1.0f);
    EXPECT_EQ(simUnits(1), 0);
    scenario.run(0.3);
    EXPECT_FLOAT_EQ(fadec().reverserPosition[0], 1.0f) << "deployed in 2 s";
    EXPECT_EQ(simUnits(1), kReverseLimitUnits);
    scenario.step();
    EXPECT_TRUE(fadec().reverser1Deployed());
    EXPECT_EQ(panel().namedVariable("TaviLeftReverser"), 1.0);
    EXPECT_EQ(panel().namedVariable("TaviRightReverser"), 0.0);

    fadec().setThrustLever1(9.0f);
    const float halfReverse = idle + (fullReverse - idle) * 0.5f;
    EXPECT_FLOAT_EQ(fadec().commandedN1[0], halfReverse);
    EXPECT_EQ(simUnits(1), unitsFor(halfReverse, true));
    EXPECT_LT(simUnits(1), 0);
    fadec().setThrustLever1(25.0f);
    scenario.run(2.1);
    EXPECT_FLOAT_EQ(fadec().reverserPosition[0], 0.0f);
    EXPECT_EQ(simUnits(1), 0);
    EXPECT_FALSE(fadec().reverser1Deployed());
}

TEST_F(FadecTest, TheLeversFollowTheSimulatorsThrottle) {
    panel().setVariable("GENERAL ENG THROTTLE LEVER POSITION", 1, 1.0);
    scenario.step();
    EXPECT_FLOAT_EQ(fadec().leverAngle[0], 75.0f) << "full throttle is full forward";
    EXPECT_EQ(simUnits(1), unitsFor(86.5));
    scenario.step();
    EXPECT_FLOAT_EQ(fadec().leverAngle[0], 75.0f);

    fadec().setThrustLever2(50.0f);
    const int32_t command = simUnits(2);
    panel().setVariable("GENERAL ENG THROTTLE LEVER POSITION", 2, (command - 2560) / 16384.0);
    scenario.step();
    EXPECT_FLOAT_EQ(fadec().leverAngle[1], 40.0f) << "256 units a degree";

    panel().setVariable("GENERAL ENG THROTTLE LEVER POSITION", 2, 0.0);
    scenario.step();
    EXPECT_FLOAT_EQ(fadec().leverAngle[1], 25.0f) << "a throttle at idle brings the lever to idle";

    panel().setVariable("GENERAL ENG THROTTLE LEVER POSITION", 2, 500 / 16384.0);
    scenario.step();
    EXPECT_FLOAT_EQ(fadec().leverAngle[1], 25.0f) << "a nudge within idle stays at idle";
    EXPECT_EQ(simUnits(2), 0);

    panel().setVariable("GENERAL ENG THROTTLE LEVER POSITION", 2, -2048 / 16384.0);
    scenario.step();
    EXPECT_FLOAT_EQ(fadec().leverAngle[1], 17.0f) << "the reverse key pulls the lever aft";
}

struct RatingRow {
    const char* name;
    int32_t rating;
    float height;
    bool gearDown;
    bool oneEngineOut;
    int32_t result;
};

class RatingGateTest : public FadecTest, public testing::WithParamInterface<RatingRow> {};

// Heights count from the pressure altitude at lift-off; the gear down asks for more. The
// altimeter is set to QNH 1030 hPa, so it reads about 460 ft above the pressure altitude.
TEST_P(RatingGateTest, ARatingIsSelectedOnlyWhereTheFlightAllowsIt) {
    const RatingRow row = GetParam();
    airborne(1000.0f);
    ASSERT_FLOAT_EQ(fadec().referenceAltitude, 1000.0f);
    if (row.gearDown) {
        mechanisation().gearPositions = {16383, 16383, 16383};
    }
    if (row.oneEngineOut) {
        setBurning(2, false);
    }
    adc().pressureAltitude = 1000.0f + row.height;
    adc().indicatedAltitude = adc().pressureAltitude + 460.0f;
    scenario.step();
    fadec().selectThrustRating(row.rating);
    EXPECT_EQ(fadec().thrustRating, row.result);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, RatingGateTest,
    testing::Values(
        RatingRow{"ClimbTooLow", kClimbRating, 400, false, false, kTakeoffRating},
        RatingRow{"Climb", kClimbRating, 600, false, false, kClimbRating},
        RatingRow{"ClimbGearDown", kClimbRating, 600, true, false, kTakeoffRating},
        RatingRow{"ClimbGearDownHigh", kClimbRating, 1701, true, false, kClimbRating},
        RatingRow{"CruiseOneEngineOut", kCruiseRating, 5000, false, true, kTakeoffRating},
        RatingRow{"Cruise", kCruiseRating, 5000, false, false, kCruiseRating},
        RatingRow{"ContinuousTooLow", kContinuousRating, 300, false, false, kTakeoffRating},
        RatingRow{"Continuous", kContinuousRating, 301, false, false, kContinuousRating},
        RatingRow{"ContinuousOneEngineOut", kContinuousRating, 301, false, true, kContinuousRating},
        RatingRow{"ContinuousGearDown", kContinuousRating, 1000, true, false, kTakeoffRating},
        RatingRow{"AltTakeoff", kAltTakeoffRating, 0, true, false, kAltTakeoffRating},
        RatingRow{"Unknown", 7, 5000, false, false, kTakeoffRating}),
    [](const testing::TestParamInfo<RatingRow>& info) { return info.param.name; });

TEST_F(FadecTest, OnTheGroundOnlyTheTakeoffRatingsAreSelected) {
    fadec().selectThrustRating(kClimbRating);
    EXPECT_EQ(fadec().thrustRating, kTakeoffRating);
    fadec().selectThrustRating(kAltTakeoffRating);
    EXPECT_EQ(fadec().thrustRating, kAltTakeoffRating);
    EXPECT_EQ(fadec().thrustRatingText(), "ALT T/O-1");
    fadec().selectTakeoffRating();
    EXPECT_EQ(fadec().thrustRating, kTakeoffRating);
    EXPECT_FALSE(fadec().goAroundSelected);
}

TEST_F(FadecTest, RatingsFollowTheirSchedulesAndTheTextNamesThem) {
    airborne(1000.0f);
    adc().indicatedAltitude = 25000.0f;
    adc().pressureAltitude = 25000.0f;
    adc().isaDeviation = 0.0f;
    scenario.step();
    fadec().selectThrustRating(kClimbRating);
    scenario.step();
    EXPECT_FLOAT_EQ(fadec().ratingN1, 90.4f);
    EXPECT_EQ(fadec().thrustRatingText(), "CLB");
    EXPECT_FLOAT_EQ(fadec().ittLimit[0], 901.0f);

    adc().pressureAltitude = 35000.0f;
    fadec().selectThrustRating(kCruiseRating);
    scenario.step();
    EXPECT_FLOAT_EQ(fadec().ratingN1, 90.5f);

    adc().pressureAltitude = 10000.0f;
    adc().staticAirTemperature = 0.0f;
    adc().indicatedAirspeed = 150.0f;
    pneumatic().wingAntiIceSwitch = true;
    pneumatic().wingAntiIceOn = true;
    fadec().selectThrustRating(kContinuousRating);
    scenario.step();
    EXPECT_FLOAT_EQ(fadec().ratingN1, (86.9f + 87.8f) / 2.0f) << "anti-ice CON blends by speed";
    EXPECT_EQ(fadec().thrustRatingText(), "CON");

    setBurning(1, false);
    scenario.step();
    EXPECT_EQ(fadec().thrustRatingText(), "T/O-1") << "engine 1 does not burn";
}

TEST_F(FadecTest, GoAroundThrustComesWithTheGearAndBlendsByAirspeed) {
    airborne(1000.0f);
    adc().indicatedAltitude = 6000.0f;
    adc().pressureAltitude = 6000.0f;
    scenario.step();
    fadec().selectThrustRating(kClimbRating);
    ASSERT_EQ(fadec().thrustRating, kClimbRating);
    adc().pressureAltitude = 0.0f;
    adc().staticAirTemperature = 15.0f;
    adc().indicatedAirspeed = 175.0f;
    mechanisation().gearPositions = {16383, 16383, 16383};
    scenario.step();
    EXPECT_EQ(fadec().thrustRating, kTakeoffRating);
    EXPECT_TRUE(fadec().goAroundSelected);
    EXPECT_FLOAT_EQ(fadec().ratingN1, (86.4f + 86.2f) / 2.0f);
    adc().indicatedAirspeed = 60.0f;
    scenario.step();
    EXPECT_FLOAT_EQ(fadec().ratingN1, 86.5f) << "the speed counts from 100 kt";
}

TEST_F(FadecTest, TouchdownAndPowerLossBringTheRatingBackToTakeoff) {
    airborne(1000.0f);
    adc().indicatedAltitude = 3000.0f;
    adc().pressureAltitude = 3000.0f;
    scenario.step();
    fadec().selectThrustRating(kClimbRating);
    scenario.step();
    ASSERT_EQ(fadec().thrustRating, kClimbRating);
    landed();
    EXPECT_EQ(fadec().thrustRating, kTakeoffRating);
    EXPECT_EQ(fadec().touchdownTime, now());

    fadec().selectThrustRating(kAltTakeoffRating);
    scenario.step();
    ASSERT_EQ(fadec().thrustRating, kAltTakeoffRating);
    class BusCutter : public System {
    public:
        void update(Aircraft& aircraft) override {
            aircraft.electric()->buses[Electric::kEssentialBus1].powered = false;
            aircraft.electric()->buses[Electric::kEssentialBus2].powered = false;
        }
    } cutter;
    // Between the network and the FADEC, in the ground proximity warning's slot.
    System*& slot = scenario.aircraft().systems[16];
    System* const displaced = std::exchange(slot, &cutter);
    scenario.step();
    slot = displaced;
    EXPECT_FALSE(fadec().fadecPowered);
    EXPECT_EQ(fadec().thrustRating, kTakeoffRating);
    fadec().takeoffDataStore();
    EXPECT_EQ(fadec().takeoffDataStep, 0) << "the store button does nothing without power";
}

TEST_F(FadecTest, TakeoffDataCyclesThroughRatingTemperatureAndAntiIce) {
    fadec().takeoffDataStore();
    EXPECT_EQ(fadec().takeoffDataStep, 1);
    fadec().takeoffDataSet(scenario.aircraft(), -1);
    EXPECT_EQ(fadec().knobAngle, -130);
    EXPECT_EQ(fadec().takeoffRatingText(), "ALT T/O-1");
    fadec().takeoffDataStore();
    for (int i = 0; i < 10; ++i) {
        fadec().takeoffDataSet(scenario.aircraft(), 5);
    }
    EXPECT_EQ(fadec().takeoffTemperature, 50) << "the entry ends at 50 degrees";
    EXPECT_EQ(fadec().knobAngle, -50);
    for (int i = 0; i < 25; ++i) {
        fadec().takeoffDataSet(scenario.aircraft(), -5);
    }
    EXPECT_EQ(fadec().takeoffTemperature, -54);
    fadec().takeoffDataStore();
    fadec().takeoffDataSet(scenario.aircraft(), 1);
    EXPECT_TRUE(fadec().takeoffAntiIce);
    EXPECT_EQ(fadec().thrustRating, kTakeoffRating);
    fadec().takeoffDataStore();
    EXPECT_EQ(fadec().takeoffDataStep, 0);
    EXPECT_TRUE(fadec().takeoffDataEntered);
    EXPECT_EQ(fadec().thrustRating, kAltTakeoffRating);

    scenario.run(0.35);
    EXPECT_EQ(fadec().knobAngle, -50);
    scenario.run(0.1);
    EXPECT_EQ(fadec().knobAngle, -90) << "the knob springs back after 400 ms";

    fadec().takeoffDataStore();
    EXPECT_EQ(fadec().takeoffTemperature, 15) << "a new entry starts afresh";
    EXPECT_FALSE(fadec().takeoffDataEntered);
    EXPECT_EQ(fadec().takeoffRating, kTakeoffRating);
    fadec().setThrustLever2(50.0f);
    fadec().takeoffDataStore();
    EXPECT_EQ(fadec().takeoffDataStep, 0) << "a lever at 50 degrees ends the entry";
}

struct AcceptanceRow {
    float sat;
    bool accepted;
};

class TakeoffTemperatureTest : public FadecTest,
                               public testing::WithParamInterface<AcceptanceRow> {};

TEST_P(TakeoffTemperatureTest, TheEnteredTemperatureCountsOnlyNearTheOutsideAirTemperature) {
    const AcceptanceRow row = GetParam();
    adc().staticAirTemperature = row.sat;
    enterTakeoffData(1, 0, false);
    scenario.step();
    EXPECT_EQ(fadec().takeoffTempAccepted[0], row.accepted);
    EXPECT_EQ(fadec().takeoffTempAccepted[1], row.accepted);
    const float n1At =
        fadec().tables.lookup(ThrustTables::kTakeoff, row.accepted ? 15.0f : row.sat, 0.0f);
    EXPECT_FLOAT_EQ(fadec().ratingN1, n1At);
}

INSTANTIATE_TEST_SUITE_P(Sat, TakeoffTemperatureTest,
                         testing::Values(AcceptanceRow{5.0f, true}, AcceptanceRow{25.0f, true},
                                         AcceptanceRow{4.9f, false}, AcceptanceRow{25.1f, false},
                                         AcceptanceRow{-20.0f, false}));

TEST_F(FadecTest, AnAcceptedTemperatureIsDroppedWhenItsEngineStops) {
    enterTakeoffData(1, 0, true);
    scenario.step();
    ASSERT_TRUE(fadec().takeoffTempAccepted[0] && fadec().takeoffTempAccepted[1]);
    EXPECT_FLOAT_EQ(fadec().ratingN1, fadec().tables.lookup(ThrustTables::kTakeoffAntiIce, 15, 0))
        << "with the entered anti-ice";
    setBurning(2, false);
    scenario.step();
    EXPECT_TRUE(fadec().takeoffTempAccepted[0]);
    EXPECT_FALSE(fadec().takeoffTempAccepted[1]);
}

class ReserveTest : public FadecTest {
protected:
    ReserveTest() {
        enterTakeoffData(-1, 0, false);
        scenario.step();
    }
};

TEST_F(ReserveTest, BothLeversForwardArmTheReserveAndOneComingBackFiresIt) {
    ASSERT_EQ(fadec().thrustRating, kAltTakeoffRating);
    fadec().setThrustLever1(50.0f);
    fadec().setThrustLever2(50.0f);
    scenario.step();
    EXPECT_TRUE(fadec().reserveArmed[0] && fadec().reserveArmed[1]);
    EXPECT_EQ(fadec().ittLimit[0], 917.0f);
    scenario.run(3.0);
    EXPECT_EQ(fadec().thrustRating, kAltTakeoffRating);

    fadec().setThrustLever2(42.0f);
    scenario.step();
    EXPECT_TRUE(fadec().reserveArmed[1]) << "an armed lever holds down to 42 degrees";
    EXPECT_EQ(fadec().thrustRating, kAltTakeoffRating);
    fadec().setThrustLever2(37.0f);
    scenario.step();
    EXPECT_EQ(fadec().thrustRating, kTakeoffRating) << "lever 2 below 38 with engine 1 armed";
    EXPECT_FALSE(fadec().reserveTriggered);
    scenario.step();
    EXPECT_FALSE(fadec().reserveArmed[0] || fadec().reserveArmed[1]);
}

TEST_F(ReserveTest, OneLeverForwardFiresAtOnceWhenTheOtherEngineArmedLongAgo) {
    scenario.run(2.5);
    fadec().setThrustLever1(50.0f);
    fadec().setThrustLever2(40.0f);
    scenario.step();
    EXPECT_EQ(fadec().thrustRating, kTakeoffRating);
}

TEST_F(ReserveTest, ALostEngineFiresTheReserve) {
    fadec().setThrustLever1(50.0f);
    fadec().setThrustLever2(50.0f);
    scenario.step();
    ASSERT_TRUE(fadec().reserveArmed[1]);
    setBurning(2, false);
    panel().setVariable("GENERAL ENG STARTER", 2, 1.0);
    scenario.step();
    EXPECT_EQ(fadec().thrustRating, kAltTakeoffRating) << "a cranked engine is not lost";
    panel().setVariable("GENERAL ENG STARTER", 2, 0.0);
    scenario.step();
    EXPECT_EQ(fadec().thrustRating, kTakeoffRating);
}

struct ConfigRow {
    const char* name;
    float flaps;
    float trim;
    float spoiler;
    bool brake;
    std::vector<SoundId> callouts;
};

class ConfigurationCheckTest : public FadecTest, public testing::WithParamInterface<ConfigRow> {};

TEST_P(ConfigurationCheckTest, TheCheckCallsOutEachFinding) {
    const ConfigRow row = GetParam();
    mechanisation().flapAngle = row.flaps;
    mechanisation().pitchTrimIndication = row.trim;
    mechanisation().spoilerPosition = row.spoiler;
    if (!row.brake) {
        scenario.releaseParkingBrake();
    }
    scenario.request("ToCheckClick");
    scenario.step(2);
    EXPECT_FALSE(fadec().takeoffCheckRequested());
    const bool warning = !row.callouts.empty();
    EXPECT_EQ(fadec().noTakeoffConfig, warning);
    EXPECT_EQ(scenario.shows("NO TAKEOFF CONFIG"), warning);
    for (SoundId id : {SoundId{35}, SoundId{36}, SoundId{37}, SoundId{38}, SoundId{39}}) {
        const bool expected =
            warning ? std::count(row.callouts.begin(), row.callouts.end(), id) > 0 : id == 35;
        EXPECT_EQ(queued(id), expected) << "sound " << id;
    }
    EXPECT_EQ(queued(sounds::kWarningChime), warning);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ConfigurationCheckTest,
    testing::Values(ConfigRow{"Flaps9", 9, 5, 0, false, {}},
                    ConfigRow{"Flaps18TrimJustBelowLimit", 18, 8.49f, 0, false, {}},
                    ConfigRow{"TrimAt3Point5", 9, 3.5f, 0, false, {}},
                    ConfigRow{"FlapsUp", 8.9f, 5, 0, false, {37}},
                    ConfigRow{"FlapsTooFar", 18.1f, 5, 0, false, {37}},
                    ConfigRow{"TrimAt8Point5", 9, 8.5f, 0, false, {38}},
                    ConfigRow{"Spoiler", 9, 5, 100, false, {36}},
                    ConfigRow{"Everything", 0, 0, 100, true, {36, 37, 38, 39}}),
    [](const testing::TestParamInfo<ConfigRow>& info) { return info.param.name; });

TEST_F(FadecTest, ThrustForOnTheGroundRunsTheCheckAndAGoodConfigurationClearsTheWarning) {
    fadec().setThrustLever1(60.0f);
    scenario.step();
    EXPECT_TRUE(fadec().noTakeoffConfig) << "flaps up, trim 0, brake set";
    EXPECT_TRUE(scenario.shows("NO TAKEOFF CONFIG"));
    EXPECT_TRUE(queued(37) && queued(38) && queued(39));
    EXPECT_FALSE(queued(36));

    mechanisation().flapAngle = 9.0f;
    mechanisation().pitchTrimIndication = 5.0f;
    scenario.releaseParkingBrake();
    scenario.step();
    EXPECT_TRUE(fadec().noTakeoffConfig) << "no new check while its call-outs wait";
    drainCallouts();
    EXPECT_FALSE(fadec().noTakeoffConfig);
    EXPECT_FALSE(scenario.shows("NO TAKEOFF CONFIG"));
    EXPECT_FALSE(queued(35)) << "takeoff OK only when asked";
}

TEST_F(FadecTest, TheCheckButtonIsConsumedWithoutACheckWhileLandingOrInFlight) {
    scenario.enterPhase(kLandingPhase);
    scenario.request("ToCheckClick");
    scenario.step(2);
    EXPECT_FALSE(fadec().takeoffCheckRequested());
    EXPECT_FALSE(queued(sounds::kWarningChime));
    scenario.enterPhase(kOnGroundPhase);
    EXPECT_FALSE(fadec().noTakeoffConfig);

    airborne();
    fadec().requestTakeoffCheck();
    scenario.step();
    EXPECT_FALSE(fadec().takeoffCheckRequested());
    landed();
    scenario.step(2);
    EXPECT_FALSE(queued(sounds::kWarningChime)) << "no check after landing for a press in flight";
}

TEST_F(FadecTest, EngineMessagesNameTheEnginesAndKeepTheirPhases) {
    fadec().setThrustLever1(61.0f);
    fadec().setThrustLever2(61.0f);
    setN2(1, 50.0);
    setN2(2, 50.0);
    panel().setVariable("ENG FAILED", 2, 1.0);
    scenario.step(2);
    EXPECT_TRUE(scenario.shows("E1-2 LOW N1"));
    EXPECT_TRUE(scenario.shows("ENG2 OUT"));
    setN2(2, 53.0);
    scenario.step();
    EXPECT_TRUE(scenario.shows("E1 LOW N1")) << "LOW N1 watches N2";
    EXPECT_FALSE(scenario.shows("E1-2 LOW N1"));

    scenario.enterPhase(kTakeoffPhase);
    EXPECT_FALSE(scenario.shows("E1 LOW N1"));
    EXPECT_TRUE(scenario.shows("ENG2 OUT")) << "in every phase";
    panel().setVariable("ENG FAILED", 2, 0.0);
    scenario.step();
    EXPECT_FALSE(scenario.shows("ENG2 OUT"));
}

TEST_F(FadecTest, WithoutTakeoffDataOnAColdDayTheCautionsAskForIt) {
    // Parking the aircraft counted as a touchdown.
    scenario.run(60.0);
    EXPECT_TRUE(fadec().noTakeoffData);
    EXPECT_TRUE(scenario.shows("ENG NO TO DATA"));
    EXPECT_FALSE(scenario.shows("ENG REF A/I DISAG"));

    adc().staticAirTemperature = 2.0f;
    scenario.step();
    EXPECT_TRUE(scenario.shows("ENG REF A/I DISAG"));
    pneumatic().antiIceOverrideKnob = 0;
    scenario.step();
    EXPECT_FALSE(scenario.shows("ENG REF A/I DISAG")) << "only with the override knob at Auto";
    pneumatic().antiIceOverrideKnob = 1;

    enterTakeoffData(1, -10, true);
    scenario.step(2);
    EXPECT_FALSE(scenario.shows("ENG NO TO DATA"));
    EXPECT_TRUE(scenario.shows("ENG REF A/I DISAG")) << "takeoff anti-ice entered";

    scenario.enterPhase(kTakeoffPhase);
    EXPECT_FALSE(scenario.shows("ENG REF A/I DISAG"));
}

TEST_F(FadecTest, AfterATouchdownTheMissingTakeoffDataWaitsAMinute) {
    airborne();
    landed();
    const uint32_t touchdown = now();
    scenario.enterPhase(kOnGroundPhase);
    scenario.run(59.0);
    EXPECT_FALSE(scenario.shows("ENG NO TO DATA"));
    while (now() - touchdown < 60000) {
        scenario.step();
    }
    EXPECT_TRUE(scenario.shows("ENG NO TO DATA"));
}

TEST_F(FadecTest, TheIttLimitDropsDuringAStart) {
    EXPECT_FLOAT_EQ(fadec().ittLimit[1], 948.0f);
    setN2(2, 30.0);
    engine(2).startActive = true;
    scenario.step();
    EXPECT_FLOAT_EQ(fadec().ittLimit[1], 800.0f);
    EXPECT_FLOAT_EQ(fadec().ittLimit[0], 948.0f);
}

struct KeyRow {
    uint32_t key;
    bool shift;
    bool ctrl;
    bool consumed;
};

class FadecKeyTest : public FadecTest, public testing::WithParamInterface<KeyRow> {};

TEST_P(FadecKeyTest, OnlyCtrlEIsConsumed) {
    const KeyRow row = GetParam();
    EXPECT_EQ(fadec().handleKey(scenario.aircraft(), row.key, row.shift, row.ctrl), row.consumed);
}

INSTANTIATE_TEST_SUITE_P(Keys, FadecKeyTest,
                         testing::Values(KeyRow{0x45, false, true, true},
                                         KeyRow{0x45, true, true, false},
                                         KeyRow{0x45, false, false, false},
                                         KeyRow{0x46, false, true, false}));

TEST_F(FadecTest, TheToGaButtonIsConsumedWithoutAFlightDirector) {
    constexpr std::size_t kFlightDirectorSlot = 24;
    auto& systems = scenario.aircraft().systems;
    delete systems[kFlightDirectorSlot];
    systems[kFlightDirectorSlot] = nullptr;
    scenario.request("ToGaClick");
    scenario.step();
    EXPECT_EQ(panel().namedVariable("ToGaClick"), 0.0);
}

TEST_F(FadecTest, AFadecControlResetEndsTheEntryAndTheRatingReturnsToTakeoff) {
    enterTakeoffData(-1, 0, false);
    scenario.step();
    ASSERT_EQ(fadec().thrustRating, kAltTakeoffRating);
    fadec().takeoffDataStore();
    ASSERT_EQ(fadec().takeoffDataStep, 1);
    scenario.request("TaviFadecControl1Dec");
    scenario.step();
    EXPECT_EQ(fadec().takeoffDataStep, 0);
    scenario.step();
    EXPECT_EQ(fadec().thrustRating, kTakeoffRating);
    EXPECT_FALSE(fadec().resetRequest[0] || fadec().resetRequest[1]);
}

} // namespace
} // namespace tavi::test
