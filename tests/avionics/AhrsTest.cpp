// The attitude and heading reference driven through the stand-in simulator.
#include "support/SensorScenario.h"

#include <gtest/gtest.h>

namespace tavi::test {
namespace {

constexpr char kPitch[] = "ATTITUDE INDICATOR PITCH DEGREES";
constexpr char kBank[] = "ATTITUDE INDICATOR BANK DEGREES";
constexpr char kHeading[] = "PLANE HEADING DEGREES GYRO";

TEST(AhrsTest, FirstFrameShowsTheRawAttitudeThenEachUnitSmoothsItsOwnSide) {
    SensorScenario scenario;
    scenario.panel().setVariable(kPitch, 1, 10.0);
    scenario.panel().setVariable(kBank, 1, -20.0);
    scenario.panel().setVariable(kPitch, 2, 4.0);
    scenario.start();
    const AhrsUnit& unit1 = scenario.ahrs().unit1;
    const AhrsUnit& unit2 = scenario.ahrs().unit2;
    EXPECT_FLOAT_EQ(unit1.pitch, 10.0f) << "no smoothing from zero";
    EXPECT_FLOAT_EQ(unit1.bank, -20.0f);
    EXPECT_FLOAT_EQ(unit2.pitch, 4.0f);

    scenario.panel().setVariable(kPitch, 1, 0.0);
    scenario.panel().setVariable(kBank, 1, 0.0);
    scenario.step();
    EXPECT_FLOAT_EQ(unit1.rawPitch, 0.0f);
    EXPECT_FLOAT_EQ(unit1.pitch, 8.0f);
    EXPECT_FLOAT_EQ(unit1.smoothedPitch, 8.0f);
    EXPECT_FLOAT_EQ(unit1.bank, -16.0f);
    EXPECT_FLOAT_EQ(unit2.pitch, 4.0f) << "unit 2 reads index 2";
    scenario.step();
    EXPECT_FLOAT_EQ(unit1.pitch, 6.4f);
}

TEST(AhrsTest, HeadingIsBroughtIntoAFullCircle) {
    SensorScenario scenario;
    scenario.start();
    const struct {
        double simulator;
        float shown;
    } cases[] = {{365.0, 5.0f},   {-5.0, 355.0f},    {360.0, 0.0f},
                 {123.5, 123.5f}, {359.99999, 0.0f}, {-1e-9, 0.0f}};
    for (const auto& row : cases) {
        scenario.panel().setVariable(kHeading, 1, row.simulator);
        scenario.step();
        EXPECT_FLOAT_EQ(scenario.ahrs().unit1.heading, row.shown) << row.simulator;
    }
}

TEST(AhrsTest, VerticalSpeedTokenCopiesHeadingRateAndOnGroundFollowTheSimulator) {
    SensorScenario scenario;
    scenario.start();
    scenario.panel().setToken(65, 256.0 * 5.08); // 5.08 m/s
    scenario.panel().setToken(81, 90.0);
    scenario.panel().setToken(86, 93.0);
    scenario.panel().setToken(82, -3.0);
    scenario.panel().setToken(60, 1.0);
    scenario.panel().setVariable("DELTA HEADING RATE", 0, 3.0);
    scenario.step();
    const AhrsUnit& unit = scenario.ahrs().unit2;
    EXPECT_NEAR(unit.verticalSpeed, 1000.0f, 0.01f);
    EXPECT_NEAR(unit.verticalSpeedTenth, 100.0f, 0.001f);
    EXPECT_FLOAT_EQ(unit.token81Value, 90.0f);
    EXPECT_FLOAT_EQ(unit.token86Value, 93.0f);
    EXPECT_FLOAT_EQ(unit.token82Value, -3.0f);
    EXPECT_FLOAT_EQ(unit.headingRate, 3.0f);
    EXPECT_TRUE(scenario.ahrs().onGround);

    scenario.panel().setToken(60, 0.0);
    scenario.step();
    EXPECT_FALSE(scenario.ahrs().onGround);
}

TEST(AhrsTest, AMasterSwitchOffInvalidatesItsSideInUnitOneOnly) {
    SensorScenario scenario;
    scenario.panel().setVariable(kHeading, 1, 270.0);
    scenario.start();
    scenario.step();
    Ahrs& ahrs = scenario.ahrs();
    ASSERT_FALSE(ahrs.unit1.attitudeSide2.invalid || ahrs.side2Unpowered);

    scenario.electric().avionicsMaster2 = false;
    scenario.step();
    const uint32_t lostAt = scenario.aircraft().simTimeMs;
    const AhrsUnit& unit1 = ahrs.unit1;
    EXPECT_TRUE(unit1.attitudeSide2.invalid && unit1.headingSide2.invalid);
    EXPECT_FALSE(unit1.attitudeSide2.previousInvalid) << "newly failed: the screens flash it";
    EXPECT_FALSE(unit1.attitudeSide1.invalid || unit1.headingSide1.invalid);
    EXPECT_EQ(unit1.attitudeInvalidSince, lostAt);
    EXPECT_EQ(unit1.headingInvalidSince, lostAt);
    EXPECT_FLOAT_EQ(unit1.frozenHeading2, 270.0f);
    EXPECT_TRUE(ahrs.side2Unpowered);
    EXPECT_FALSE(ahrs.side2WasUnpowered);
    EXPECT_FALSE(ahrs.side1Unpowered);

    scenario.panel().setVariable(kHeading, 1, 10.0);
    scenario.step();
    EXPECT_TRUE(unit1.headingSide2.previousInvalid);
    EXPECT_EQ(unit1.headingInvalidSince, lostAt) << "only a new failure moves the time";
    EXPECT_FLOAT_EQ(unit1.frozenHeading2, 270.0f);
    EXPECT_TRUE(ahrs.side2WasUnpowered);

    const AhrsUnit& unit2 = ahrs.unit2;
    EXPECT_FALSE(unit2.attitudeSide2.invalid || unit2.headingSide2.invalid ||
                 unit2.attitudeSide1.invalid || unit2.headingSide1.invalid);

    scenario.electric().avionicsMaster2 = true;
    scenario.step();
    EXPECT_FALSE(unit1.attitudeSide2.invalid);
    EXPECT_FALSE(ahrs.side2Unpowered);
}

TEST(AhrsTest, EachAvionicsMasterSwitchOnDrawsFromItsEssentialBus) {
    SensorScenario scenario;
    scenario.start();
    Ahrs& ahrs = scenario.ahrs();
    BusLoads loads;
    ahrs.addElectricLoad(scenario.aircraft(), loads);
    EXPECT_FLOAT_EQ(loads[Electric::kEssentialBus1], 5.0f);
    EXPECT_FLOAT_EQ(loads[Electric::kEssentialBus2], 5.0f);

    scenario.electric().avionicsMaster1 = false;
    BusLoads side2Only;
    ahrs.addElectricLoad(scenario.aircraft(), side2Only);
    EXPECT_FLOAT_EQ(side2Only[Electric::kEssentialBus1], 0.0f);
    EXPECT_FLOAT_EQ(side2Only[Electric::kEssentialBus2], 5.0f);
    for (int bus : {0, 1, 2, 5, 6, 7, 8, 9}) {
        EXPECT_FLOAT_EQ(side2Only[bus], 0.0f) << bus;
    }
}

TEST(AhrsTest, TheGyroEventGoesOutOnceEveryHundredTicksWhileTokenEightyFiveIsSet) {
    SensorScenario scenario;
    scenario.start();
    scenario.step(120);
    EXPECT_EQ(scenario.keyEventCount(0x101FE), 0) << "token 85 at zero sends nothing";

    // The simulator clears token 85 when the event arrives; it reports it again at once here.
    for (int frame = 0; frame < 200; ++frame) {
        scenario.panel().setToken(85, 1.0);
        const int before = scenario.keyEventCount(0x101FE);
        scenario.step();
        if (scenario.keyEventCount(0x101FE) > before) {
            EXPECT_EQ(scenario.module.simulator.ticks() % 100, 0);
            EXPECT_EQ(scenario.panel().token(85), 0.0) << "the simulator took the event";
        }
    }
    EXPECT_EQ(scenario.keyEventCount(0x101FE), 2) << "ticks 200 and 300";
}

} // namespace
} // namespace tavi::test
