// The air data computer driven through the stand-in simulator.
#include "avionics/AirData.h"
#include "support/SensorScenario.h"

#include <cmath>
#include <gtest/gtest.h>

namespace tavi::test {
namespace {

constexpr SoundId kWarningChime = 15;
constexpr SoundId kHighSpeed = 40;
constexpr SoundId kStallWarning = 57;
constexpr int32_t kGearDown = 16383;

// Airborne with the engines running, at a pressure altitude and calibrated airspeed of the
// test's choice; the standard altimeter setting.
class AdcTest : public testing::Test {
protected:
    AdcTest() {
        scenario.setOnGround(false);
        scenario.setWeight(15000.0);
        scenario.start();
        scenario.setRadioAltitude(3000.0f);
    }

    // The simulator flies at the pressure altitude and calibrated airspeed.
    void fly(double feet, double cas) {
        altitude = feet;
        scenario.setPressureAltitude(feet);
        scenario.setMach(Adc::machFromCasAtAltitude(cas, feet));
    }
    void flyAt(double cas) { fly(altitude, cas); }
    // The air data computer reads the altitude one frame late: reach it before the speed.
    void settle(double feet, double cas) {
        fly(feet, 0.0);
        scenario.step();
        flyAt(cas);
        scenario.step(3);
    }

    bool queuedOrPlaying(SoundId id) { return scenario.sounds().isQueued(id); }

    SensorScenario scenario;
    Adc& adc() { return scenario.adc(); }
    double altitude = 0.0;
};

TEST_F(AdcTest, MaximumOperatingSpeedFollowsTheIndicatedAltitude) {
    const struct {
        double feet;
        float speed;
        float mach;
    } cases[] = {
        {0.0, 250.0f, 0.3779f},     {8000.0, 250.0f, 0.4360f},  {9000.0, 285.0f, 0.5052f},
        {10000.0, 320.0f, 0.5763f}, {20000.0, 320.0f, 0.6925f}, {30000.0, 295.59f, 0.78f},
        {41000.0, 230.05f, 0.78f},
    };
    for (const auto& row : cases) {
        fly(row.feet, 200.0);
        scenario.step(2);
        EXPECT_NEAR(adc().indicatedAltitude, row.feet, 0.01) << row.feet;
        EXPECT_NEAR(adc().maxOperatingSpeed, row.speed, 0.02f) << row.feet;
        EXPECT_NEAR(adc().maxOperatingMach, row.mach, 0.0005f) << row.feet;
    }
}

TEST_F(AdcTest, AltitudesAndTemperaturesComeFromTheSimulator) {
    scenario.module.simulator.aircraft.setAltimeter(1040.0);
    scenario.panel().setToken(73, 1600.0);
    scenario.panel().setToken(2, 256.0 * 100.0);
    scenario.panel().setVariable("AMBIENT TEMPERATURE", 0, 10.0);
    scenario.panel().setVariable("TOTAL AIR TEMPERATURE", 0, 14.0);
    fly(5000.0, 250.0);
    scenario.step(2);
    EXPECT_NEAR(adc().indicatedAltitude, 5000.0f + 777.0f, 1.0f) << "with the main setting";
    EXPECT_NEAR(adc().pressureAltitude, 5000.0f, 0.01f) << "the setting's correction taken out";
    EXPECT_NEAR(scenario.baro().staticPressure, Baro::pressureAtAltitude(5000.0), 1e-5);
    EXPECT_NEAR(adc().indicatedAirspeed, 250.0f, 0.01f);
    EXPECT_NEAR(adc().trueAltitude, 5249.34f, 0.01f);
    EXPECT_NEAR(adc().groundElevation, 328.08f, 0.01f);
    EXPECT_NEAR(adc().isaTemperature, 5.094f, 0.001f);
    EXPECT_NEAR(adc().isaDeviation, 4.906f, 0.001f);
    EXPECT_FLOAT_EQ(adc().totalAirTemperature, 14.0f);
    EXPECT_NEAR(adc().inversePressureRatio, 1.2374, 0.001) << "at the indicated altitude";
}

TEST_F(AdcTest, OverspeedRaisesTheWarningOnceAndRepeatsTheChimeAndCallOut) {
    ASSERT_TRUE(scenario.installSounds({{kWarningChime, 1000}, {kHighSpeed, 1500}}));
    settle(5000.0, 240.0);
    ASSERT_FALSE(adc().isOverspeed1() || adc().isOverspeed2());
    ASSERT_FALSE(queuedOrPlaying(kWarningChime) || queuedOrPlaying(kHighSpeed));

    flyAt(265.0);
    scenario.step();
    EXPECT_TRUE(adc().isOverspeed1() && adc().isOverspeed2());
    EXPECT_TRUE(scenario.eicas().warningRequest);
    EXPECT_TRUE(scenario.eicas().warningLatched);
    EXPECT_TRUE(scenario.sounds().isPlaying(kWarningChime));
    EXPECT_TRUE(queuedOrPlaying(kHighSpeed));

    scenario.eicas().acknowledgeWarnings();
    int chimes = 0;
    bool chimeWasPlaying = true;
    for (int frame = 0; frame < 108; ++frame) {
        scenario.step();
        const bool chimePlaying = scenario.sounds().isPlaying(kWarningChime);
        chimes += chimePlaying && !chimeWasPlaying;
        chimeWasPlaying = chimePlaying;
    }
    EXPECT_EQ(chimes, 2) << "the pair again each time the call-out has left the queue";
    EXPECT_FALSE(scenario.eicas().warningRequest) << "raised once, at the start";
    EXPECT_FALSE(scenario.eicas().warningLatched);

    flyAt(240.0);
    scenario.run(3.0);
    EXPECT_FALSE(queuedOrPlaying(kWarningChime) || queuedOrPlaying(kHighSpeed));
}

TEST_F(AdcTest, WithATerrainAlertTheOverspeedWarnsSilently) {
    ASSERT_TRUE(scenario.installSounds({{kWarningChime, 1000}, {kHighSpeed, 1500}}));
    settle(5000.0, 240.0);
    ASSERT_FALSE(queuedOrPlaying(kWarningChime) || queuedOrPlaying(kHighSpeed));
    flyAt(265.0);
    for (int frame = 0; frame < 18; ++frame) {
        scenario.aircraft().gpws()->mode3 = true;
        scenario.step();
    }
    EXPECT_TRUE(scenario.eicas().warningRequest);
    EXPECT_FALSE(queuedOrPlaying(kWarningChime) || queuedOrPlaying(kHighSpeed));
}

TEST_F(AdcTest, AnOverspeedThatReturnsWhileTheCallOutPlaysWarnsAgain) {
    ASSERT_TRUE(scenario.installSounds({{kWarningChime, 1000}, {kHighSpeed, 1500}}));
    settle(5000.0, 240.0);
    flyAt(265.0);
    scenario.step();
    flyAt(240.0);
    scenario.step();
    EXPECT_FALSE(scenario.eicas().warningRequest) << "withdrawn with the overspeed";
    ASSERT_TRUE(queuedOrPlaying(kHighSpeed));
    flyAt(265.0);
    scenario.step();
    EXPECT_TRUE(scenario.eicas().warningRequest);
}

TEST(AdcStartTest, AFlightLoadedInAnOverspeedWarnsFromTheSecondFrame) {
    SensorScenario scenario;
    scenario.setOnGround(false);
    scenario.setMach(0.6);
    scenario.start();
    EXPECT_TRUE(scenario.adc().isOverspeed1());
    EXPECT_FALSE(scenario.eicas().warningRequest);
    EXPECT_EQ(scenario.adc().flightPhase, kAirbornePhase) << "before the start: airborne";
    scenario.step();
    EXPECT_TRUE(scenario.eicas().warningRequest) << "a flight loaded in an overspeed warns";
}

struct MinimumSpeedCase {
    double weight;
    float flaps;
    int32_t gear;
    bool ice;
    float speed;
};

TEST_F(AdcTest, MinimumSpeedComesFromWeightFlapsAndGear) {
    const MinimumSpeedCase cases[] = {
        {12000.0, 0.0f, 0, false, 98.7f},     {22000.0, 0.0f, kGearDown, false, 134.5f},
        {22500.0, 0.0f, 0, false, 135.0f},    {30000.0, 0.0f, 0, false, 135.0f},
        {11000.0, 9.0f, 0, false, 89.6f},     {15250.0, 9.0f, 0, false, 101.0f},
        {14000.0, 13.5f, 0, false, 93.95f},   {14000.0, 20.0f, kGearDown, false, 92.05f},
        {18750.0, 33.5f, 0, false, 105.125f}, {12000.0, 60.0f, 0, false, 84.0f},
        {12000.0, 0.0f, 8192, false, 99.2f},  {12000.0, 0.0f, 0, true, 104.7f},
    };
    for (const MinimumSpeedCase& row : cases) {
        scenario.setWeight(row.weight);
        scenario.setFlaps(row.flaps);
        scenario.setGear({row.gear, row.gear, row.gear});
        scenario.aircraft().pneumatic()->iceSpeeds = row.ice;
        scenario.step();
        EXPECT_NEAR(adc().minimumSpeed, row.speed, 0.01f)
            << row.weight << " kg, flaps " << row.flaps << ", gear " << row.gear;
    }
}

TEST_F(AdcTest, MinimumSpeedIsLookedUpAgainOnlyWhenSomethingChanged) {
    scenario.setWeight(15000.0);
    scenario.step();
    const float atStart = adc().minimumSpeed;
    scenario.setWeight(15020.0);
    scenario.step();
    EXPECT_FLOAT_EQ(adc().minimumSpeedWeight, 15000.0f) << "20 kg or less keeps the lookup";
    EXPECT_FLOAT_EQ(adc().minimumSpeed, atStart);
    scenario.setWeight(15021.0);
    scenario.step();
    EXPECT_FLOAT_EQ(adc().minimumSpeedWeight, 15021.0f);
    EXPECT_GT(adc().minimumSpeed, atStart);

    scenario.setFlaps(0.5f);
    scenario.step();
    EXPECT_LT(adc().minimumSpeed, atStart) << "any change of flap angle";
    const float withFlaps = adc().minimumSpeed;
    scenario.aircraft().pneumatic()->iceSpeeds = true;
    scenario.step();
    EXPECT_FLOAT_EQ(adc().minimumSpeed, withFlaps + 6.0f) << "ice speeds count at once";
}

TEST_F(AdcTest, StallWarningSoundsNearTheMinimumSpeedWithPowerAndEitherAirspeed) {
    ASSERT_TRUE(scenario.installSounds({{kStallWarning, 1000}}));
    scenario.setWeight(12000.0);
    fly(3000.0, 110.0);
    scenario.run(3.0);
    ASSERT_NEAR(adc().minimumSpeed, 98.7f, 0.01f);
    EXPECT_FALSE(scenario.sounds().isPlaying(kStallWarning));

    flyAt(103.5);
    scenario.run(3.0);
    EXPECT_TRUE(scenario.sounds().isPlaying(kStallWarning));
    EXPECT_FALSE(adc().belowMinimumSpeed);
    scenario.run(2.0);
    EXPECT_TRUE(scenario.sounds().isPlaying(kStallWarning)) << "looped";

    flyAt(108.0);
    scenario.run(3.0);
    EXPECT_FALSE(scenario.sounds().isPlaying(kStallWarning));
    scenario.aircraft().pneumatic()->iceSpeeds = true;
    scenario.step();
    EXPECT_TRUE(scenario.sounds().isPlaying(kStallWarning)) << "6 kt earlier with ice";

    struct Masters {
        bool side1, side2, sounds;
    };
    for (const Masters masters : {Masters{false, true, true}, Masters{true, false, true},
                                  Masters{false, false, false}, Masters{true, true, true}}) {
        scenario.electric().avionicsMaster1 = masters.side1;
        scenario.electric().avionicsMaster2 = masters.side2;
        scenario.step(2);
        EXPECT_EQ(scenario.sounds().isPlaying(kStallWarning), masters.sounds)
            << "avionics masters " << masters.side1 << masters.side2;
    }
    scenario.setOnGround(true);
    scenario.step();
    EXPECT_FALSE(scenario.sounds().isPlaying(kStallWarning));

    scenario.setOnGround(false);
    flyAt(95.0);
    scenario.run(3.0);
    EXPECT_TRUE(adc().belowMinimumSpeed);
}

TEST_F(AdcTest, StallWarningVolumeFollowsTheMasterVolumeAndTheSimulatorsSound) {
    ASSERT_TRUE(scenario.installSounds({{kStallWarning, 1000}}));
    scenario.sounds().setVolume(-1500);
    scenario.step();
    EXPECT_EQ(scenario.aws().volume(kStallWarning), -1500);
    scenario.module.simulator.simConnect.setSound(false);
    scenario.step(2);
    EXPECT_EQ(scenario.aws().volume(kStallWarning), -10000);
}

TEST_F(AdcTest, AirspeedSmoothingRestartsOnAJumpOfMoreThanTenKnots) {
    fly(0.0, 200.0);
    scenario.run(5.0);
    ASSERT_NEAR(adc().smoothedAirspeed, 200.0f, 0.01f);
    flyAt(205.0);
    scenario.step();
    EXPECT_NEAR(adc().smoothedAirspeed, 200.5f, 0.01f) << "0.1 of the step per frame";
    EXPECT_FLOAT_EQ(adc().smoothedAirspeed, adc().airspeedFilterState);
    flyAt(216.0);
    scenario.step();
    EXPECT_NEAR(adc().smoothedAirspeed, 216.0f, 0.01f);
}

TEST_F(AdcTest, TrendShowsTheSpeedGainedInTenSeconds) {
    fly(0.0, 200.0);
    scenario.run(2.0);
    double cas = 200.0;
    for (int frame = 0; frame < 180; ++frame) {
        cas += 1.5 / 18.0;
        flyAt(cas);
        scenario.step();
    }
    EXPECT_NEAR(adc().airspeedTrend, 15.0f, 0.3f) << "1.5 kt/s";

    for (int frame = 0; frame < 180; ++frame) {
        cas += 5.0 / 18.0;
        flyAt(cas);
        scenario.step();
    }
    EXPECT_FLOAT_EQ(adc().airspeedTrend, 30.0f) << "limited to 30 kt";

    const float trend = adc().airspeedTrend;
    scenario.module.simulator.simConnect.setPaused(true);
    flyAt(cas - 30.0);
    scenario.step(3);
    EXPECT_FLOAT_EQ(adc().airspeedTrend, trend) << "a paused frame keeps it";
    scenario.module.simulator.simConnect.setPaused(false);

    scenario.panel().setVariable("IS SLEW ACTIVE", 0, 1.0);
    scenario.step();
    EXPECT_FLOAT_EQ(adc().airspeedTrend, 0.0f);
}

struct PhaseCase {
    const char* name;
    int32_t from;
    bool onGroundBefore;
    bool onGround;
    float radioAltitude;
    double cas;
    int32_t expected;
};

// V1 is the first reference speed (120 kt) minus 15 kt.
// clang-format off
const PhaseCase kPhaseCases[] = {
    {"TakeoffClimbsAway",        kTakeoffPhase,  false, false, 1800.0f, 160.0, kAirbornePhase},
    {"TakeoffStaysLow",          kTakeoffPhase,  false, false, 500.0f,  160.0, kTakeoffPhase},
    {"TakeoffRolls",             kTakeoffPhase,  true,  true,  0.0f,    130.0, kTakeoffPhase},
    {"TakeoffRejected",          kTakeoffPhase,  true,  true,  0.0f,    100.0, kOnGroundPhase},
    {"LandingGoesAround",        kLandingPhase,  false, false, 1800.0f, 160.0, kAirbornePhase},
    {"LandingStillAirborne",     kLandingPhase,  false, false, 150.0f,  130.0, kTakeoffPhase},
    {"LandingRollsFast",         kLandingPhase,  false, true,  0.0f,    130.0, kTakeoffPhase},
    {"LandingJustTouchedDown",   kLandingPhase,  false, true,  0.0f,    100.0, kLandingPhase},
    {"LandingSlowAfterThreeSec", kLandingPhase,  true,  true,  0.0f,    100.0, kOnGroundPhase},
    {"AirborneCruises",          kAirbornePhase, false, false, 2500.0f, 250.0, kAirbornePhase},
    {"AirborneDescendsTo199",    kAirbornePhase, false, false, 199.0f,  140.0, kLandingPhase},
    {"AirborneTouchesDown",      kAirbornePhase, false, true,  0.0f,    140.0, kLandingPhase},
    {"OnGroundTaxies",           kOnGroundPhase, true,  true,  0.0f,    20.0,  kOnGroundPhase},
    {"OnGroundReachesV1",        kOnGroundPhase, true,  true,  0.0f,    105.5, kTakeoffPhase},
    {"OnGroundLiftsOff",         kOnGroundPhase, true,  false, 5.0f,    20.0,  kTakeoffPhase},
};
// clang-format on

class FlightPhaseTest : public testing::TestWithParam<PhaseCase> {};

TEST_P(FlightPhaseTest, PhaseFollowsGroundContactRadioAltitudeAndV1) {
    const PhaseCase& row = GetParam();
    SensorScenario scenario;
    scenario.start();
    Adc& adc = scenario.adc();
    adc.referenceSpeeds[0] = 120;
    adc.referenceSpeedUnset = {false, false, false, false};
    scenario.setOnGround(row.onGroundBefore);
    scenario.setMach(Adc::machFromCasAtAltitude(row.cas, 0.0));
    scenario.setRadioAltitude(row.onGroundBefore ? 0.0f : 2500.0f);
    scenario.run(4.0);

    adc.flightPhase = row.from;
    scenario.setOnGround(row.onGround);
    scenario.setRadioAltitude(row.radioAltitude);
    scenario.step();
    EXPECT_EQ(adc.flightPhase, row.expected);
    EXPECT_EQ(adc.flightPhaseChanged, row.expected != row.from);
    const bool climbedAway = row.from == kTakeoffPhase && row.expected == kAirbornePhase;
    EXPECT_EQ(adc.referenceSpeedUnset[0] && adc.referenceSpeedUnset[1], climbedAway);
    EXPECT_FALSE(adc.referenceSpeedUnset[2]);
}

INSTANTIATE_TEST_SUITE_P(Transitions, FlightPhaseTest, testing::ValuesIn(kPhaseCases),
                         [](const testing::TestParamInfo<PhaseCase>& info) {
                             return std::string(info.param.name);
                         });

TEST_F(AdcTest, TouchdownAndLiftOffAreTimed) {
    scenario.setOnGround(true);
    scenario.step();
    const uint32_t touchdown = scenario.aircraft().simTimeMs;
    EXPECT_EQ(adc().touchdownTime, touchdown);
    scenario.run(2.0);
    scenario.setOnGround(false);
    scenario.step();
    EXPECT_EQ(adc().liftoffTime, scenario.aircraft().simTimeMs);
    EXPECT_EQ(adc().touchdownTime, touchdown);
}

TEST_F(AdcTest, GearAndFlapLimitSpeeds) {
    const struct {
        std::array<int32_t, 3> before, now;
        float limit;
    } gearCases[] = {
        {{0, 0, 0}, {0, 0, 0}, 320.0f},
        {{0, 0, 0}, {4000, 4000, 4000}, 200.0f},
        {{kGearDown, kGearDown, kGearDown}, {8000, 8000, 8000}, 250.0f},
        {{kGearDown, kGearDown, kGearDown}, {kGearDown, kGearDown, kGearDown}, 250.0f},
        {{kGearDown, kGearDown, 8000}, {kGearDown, kGearDown, 8000}, 250.0f},
    };
    for (const auto& row : gearCases) {
        scenario.setGear(row.before);
        scenario.step();
        scenario.setGear(row.now);
        scenario.step();
        EXPECT_FLOAT_EQ(adc().gearLimitSpeed, row.limit) << row.now[0] << " " << row.now[2];
    }
    const struct {
        float flaps, limit;
    } flapCases[] = {{0.0f, 320.0f},  {4.0f, 250.0f},  {9.0f, 250.0f},  {12.0f, 200.0f},
                     {22.0f, 200.0f}, {30.0f, 145.0f}, {45.0f, 145.0f}, {50.0f, 145.0f}};
    for (const auto& row : flapCases) {
        scenario.setFlaps(row.flaps);
        scenario.step();
        EXPECT_FLOAT_EQ(adc().flapLimitSpeed, row.limit) << row.flaps;
    }
}

TEST_F(AdcTest, StallAngleOfAttackFallsWithTheFlaps) {
    scenario.panel().setVariable("INCIDENCE ALPHA", 0, 4.0);
    const struct {
        float flaps, stallAngle, margin;
        bool low;
    } cases[] = {{0.0f, 15.0f, 11.0f, false},      {9.0f, 16.1f, 12.1f, false},
                 {13.5f, 15.925f, 11.925f, false}, {18.0f, 15.75f, 11.75f, false},
                 {22.0f, 15.4f, 11.4f, false},     {45.0f, 12.4f, 8.4f, true}};
    for (const auto& row : cases) {
        scenario.setFlaps(row.flaps);
        scenario.step();
        EXPECT_NEAR(adc().stallAngleOfAttack, row.stallAngle, 1e-4f) << row.flaps;
        EXPECT_NEAR(adc().aoaMargin, row.margin, 1e-4f) << row.flaps;
        EXPECT_EQ(adc().lowAoaMargin, row.low) << row.flaps;
    }
    scenario.panel().setVariable("INCIDENCE ALPHA", 0, 20.0);
    scenario.step();
    EXPECT_FLOAT_EQ(adc().aoaMargin, 0.0f);

    scenario.setOnGround(true);
    scenario.step();
    EXPECT_FLOAT_EQ(adc().aoaMargin, 16.0f);
    EXPECT_FALSE(adc().lowAoaMargin);
    EXPECT_NEAR(adc().stallAngleOfAttack, 12.4f, 1e-4f) << "kept on the ground";
}

TEST_F(AdcTest, DriftAngleInTheAirAndTheWindShownWithHysteresis) {
    scenario.panel().setToken(551, 100.0);
    scenario.panel().setToken(552, 10.0);
    scenario.step();
    EXPECT_NEAR(adc().driftAngle, 5.7106f, 1e-4f);
    scenario.run(5.0);
    EXPECT_NEAR(adc().smoothedDriftAngle, 5.7106f, 1e-3f);
    scenario.panel().setToken(551, 0.0);
    scenario.step();
    EXPECT_FLOAT_EQ(adc().driftAngle, 0.0f);
    EXPECT_NEAR(adc().smoothedDriftAngle, 0.9f * 5.7106f, 1e-3f);

    const struct {
        double windSpeed;
        bool onGround;
        bool shown;
    } winds[] = {{5.0, false, false},
                 {6.0, false, true},
                 {5.0, false, true},
                 {4.0, false, false},
                 {10.0, true, false}};
    for (const auto& row : winds) {
        scenario.panel().setToken(343, row.windSpeed);
        scenario.panel().setToken(344, 270.0);
        scenario.setOnGround(row.onGround);
        scenario.step();
        EXPECT_EQ(adc().windShown, row.shown) << row.windSpeed;
        EXPECT_FLOAT_EQ(adc().windSpeed, static_cast<float>(row.windSpeed));
    }
    EXPECT_FLOAT_EQ(adc().windDirection, 270.0f);
    EXPECT_FLOAT_EQ(adc().driftAngle, 0.0f) << "on the ground";
}

TEST_F(AdcTest, ASideThatRegainsPowerTestsItselfForAMinute) {
    scenario.electric().avionicsMaster1 = false;
    scenario.step();
    const uint32_t lostAt = scenario.aircraft().simTimeMs;
    EXPECT_FALSE(adc().isAirspeedValid(0) || adc().isMachValid(0));
    EXPECT_TRUE(adc().isAirspeedValid(1));
    EXPECT_EQ(adc().invalidSince, (std::array<uint32_t, 3>{lostAt, lostAt, lostAt}));
    EXPECT_TRUE(adc().validity[kAltitudeGroup][0].invalid);
    EXPECT_FALSE(adc().validity[kAltitudeGroup][0].previousInvalid);
    EXPECT_FALSE(adc().powered[0]);

    adc().failed[0] = true;
    scenario.electric().avionicsMaster1 = true;
    scenario.step();
    EXPECT_TRUE(adc().isAirspeedValid(0)) << "a failed side is cleared when it gains power";
    EXPECT_TRUE(adc().selfTest[0]);
    EXPECT_FALSE(adc().selfTest[1]);
    EXPECT_EQ(adc().powerOnTime[0], scenario.aircraft().simTimeMs);
    scenario.run(59.0);
    EXPECT_TRUE(adc().selfTest[0]);
    scenario.run(1.5);
    EXPECT_FALSE(adc().selfTest[0]);
}

TEST_F(AdcTest, ElectricalLoadsAndEngineSettings) {
    BusLoads loads;
    adc().addElectricLoad(scenario.aircraft(), loads);
    EXPECT_FLOAT_EQ(loads[Electric::kDcBus1], 5.0f);
    EXPECT_FLOAT_EQ(loads[Electric::kEssentialBus1], 5.0f);
    EXPECT_FLOAT_EQ(loads[Electric::kEssentialBus2], 5.0f);
    scenario.electric().avionicsMaster1 = false;
    scenario.electric().avionicsMaster2 = false;
    BusLoads mastersOff;
    adc().addElectricLoad(scenario.aircraft(), mastersOff);
    EXPECT_FLOAT_EQ(mastersOff[Electric::kDcBus1], 5.0f);
    EXPECT_FLOAT_EQ(mastersOff[Electric::kEssentialBus1] + mastersOff[Electric::kEssentialBus2],
                    0.0f);
    EXPECT_DOUBLE_EQ(adc().thrustDev, 0.0);
    EXPECT_DOUBLE_EQ(adc().idleFuelFlowScalar, 0.5);
}

TEST(AdcSettingsTest, EngineSettingsAreRead) {
    SensorScenario scenario("[Engines]\nthrustDev=0.25\nidleFuelFlowScalar=0.8\n");
    scenario.start();
    EXPECT_DOUBLE_EQ(scenario.adc().thrustDev, 0.25);
    EXPECT_DOUBLE_EQ(scenario.adc().idleFuelFlowScalar, 0.8);
}

TEST(AdcPowerTest, WithoutAnyPowerTheSetReferenceSpeedsAreHidden) {
    SensorScenario scenario("");
    scenario.start();
    Adc& adc = scenario.adc();
    ASSERT_FALSE(scenario.electric().networkPowered);
    adc.referenceSpeedUnset = {false, true, false, true};
    adc.referenceSpeedStates = {2, 1, 1, 1};
    scenario.step();
    EXPECT_EQ(adc.referenceSpeedUnset, (std::array<bool, 4>{true, true, true, true}));
    EXPECT_EQ(adc.referenceSpeedStates, (std::array<int32_t, 4>{0, 1, 0, 1}));
}

TEST_F(AdcTest, ZuluTimeKeepsItsLastValueWhenTheSimulatorCannotTell) {
    sim::CalculatorResult zuluTime;
    zuluTime.number = 45296.0;
    scenario.panel().setCalculatorResult("(P:ZULU TIME, seconds)", zuluTime);
    scenario.step();
    EXPECT_DOUBLE_EQ(adc().zuluSeconds, 45296.0);
    zuluTime.succeeds = false;
    scenario.panel().setCalculatorResult("(P:ZULU TIME, seconds)", zuluTime);
    scenario.step();
    EXPECT_DOUBLE_EQ(adc().zuluSeconds, 45296.0);
}

} // namespace
} // namespace tavi::test
