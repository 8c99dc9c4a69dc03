#include "support/AirframeScenario.h"

#include <cmath>
#include <gtest/gtest.h>

namespace tavi::test {
namespace {

using Battery = Electric::Battery;

class BatteryTest : public testing::Test {
protected:
    BatteryTest() { battery.update(aircraft()); }

    Aircraft& aircraft() { return scenario.aircraft(); }

    // Updates of one second each.
    void seconds(int count) {
        aircraft().frameDeltaMs = 1000;
        for (int i = 0; i < count; ++i) {
            battery.update(aircraft());
        }
    }

    AirframeScenario scenario;
    Battery battery{70.0f};
};

TEST_F(BatteryTest, DischargeLowersChargeAndVoltageUntilTheBatteryIsNoLongerOnline) {
    EXPECT_FLOAT_EQ(battery.voltage, 28.0f);
    battery.current = 20.0f;
    seconds(3600);
    EXPECT_NEAR(battery.charge, 50.0f, 0.01f);
    EXPECT_NEAR(battery.voltage, 22.4f + std::pow(5.6f, 50.0f / 70.0f), 0.001f);
    EXPECT_TRUE(battery.isOnline());

    seconds(3 * 3600);
    EXPECT_FLOAT_EQ(battery.charge, 0.0f);
    EXPECT_FLOAT_EQ(battery.voltage, 23.4f);
    EXPECT_FALSE(battery.isOnline());

    battery.current = -20.0f;
    seconds(1800);
    EXPECT_NEAR(battery.charge, 10.0f, 0.01f) << "a negative current charges";
}

TEST_F(BatteryTest, InfiniteOrSwitchedOffKeepsChargeAndVoltage) {
    battery.current = 50.0f;
    battery.infinite = true;
    seconds(600);
    EXPECT_FLOAT_EQ(battery.charge, 70.0f);
    EXPECT_FLOAT_EQ(battery.voltage, 28.0f);

    battery.infinite = false;
    battery.batterySwitch = false;
    battery.temperature = 10.0f;
    scenario.adc().totalAirTemperature = -30.0f;
    seconds(30);
    EXPECT_FLOAT_EQ(battery.charge, 70.0f);
    EXPECT_FLOAT_EQ(battery.voltage, 28.0f);
    EXPECT_NEAR(battery.temperature, 5.0f, 0.01f) << "the temperature still moves to TAT + 10";
}

TEST_F(BatteryTest, ChargingWarmsTheBatteryAndTheOverTemperatureCrossingIsNotedOnce) {
    scenario.adc().totalAirTemperature = 20.0f;
    // 120 A of charge heat the battery towards TAT + 10 + 40 x 1.2.
    battery.current = -120.0f;
    battery.temperature = 69.9f;
    seconds(1);
    EXPECT_NEAR(battery.temperature, 69.9f + 1.0f / 6.0f, 1e-4f);
    EXPECT_TRUE(battery.overTempChanged);
    EXPECT_TRUE(battery.isOverTemperature());
    seconds(1);
    EXPECT_FALSE(battery.overTempChanged);

    battery.current = 0.0f;
    seconds(10 * 60);
    EXPECT_NEAR(battery.temperature, 30.0f, 1.0f / 6.0f) << "without charging: TAT + 10";
}

TEST_F(BatteryTest, TheSwitchChangeIsNotedForOneUpdate) {
    battery.batterySwitch = false;
    seconds(1);
    EXPECT_TRUE(battery.batterySwitchChanged);
    seconds(1);
    EXPECT_FALSE(battery.batterySwitchChanged);
}

struct SmallCurrentCase {
    uint32_t frameMs;
    float amperes;
};

class BatterySmallCurrentTest : public testing::TestWithParam<SmallCurrentCase> {};

// An hour at a small current takes exactly its ampere-hours, whatever the frame rate.
TEST_P(BatterySmallCurrentTest, AnHourTakesTheCurrentsAmpereHours) {
    const SmallCurrentCase& row = GetParam();
    AirframeScenario scenario;
    Battery battery{70.0f};
    Aircraft& aircraft = scenario.aircraft();
    battery.update(aircraft);
    battery.current = row.amperes;
    aircraft.frameDeltaMs = static_cast<int32_t>(row.frameMs);
    for (uint32_t elapsed = 0; elapsed < 3600u * 1000u; elapsed += row.frameMs) {
        battery.update(aircraft);
    }
    // The last frame may pass the hour by less than a frame.
    const double hours = std::ceil(3600000.0 / row.frameMs) * row.frameMs / 3600000.0;
    EXPECT_NEAR(70.0 - battery.charge, row.amperes * hours, 1e-4 * row.amperes);
}

INSTANTIATE_TEST_SUITE_P(FrameRates, BatterySmallCurrentTest,
                         testing::Values(SmallCurrentCase{16, 1.0f}, SmallCurrentCase{33, 1.0f},
                                         SmallCurrentCase{56, 1.0f}, SmallCurrentCase{16, 0.3f},
                                         SmallCurrentCase{56, 0.3f}));

TEST(PowerSourceTest, LoadNotesEachCrossingOfTheOverloadLimit) {
    Electric::Generator generator(1, 1);
    generator.setLoad(399.0f);
    EXPECT_FALSE(generator.changed);
    generator.setLoad(401.0f);
    EXPECT_TRUE(generator.changed);
    generator.setLoad(402.0f);
    EXPECT_FALSE(generator.changed);
    generator.setLoad(400.0f);
    EXPECT_TRUE(generator.changed);
    generator.clearCurrent();
    EXPECT_TRUE(generator.changed) << "clearing the current is no crossing";
    EXPECT_FLOAT_EQ(generator.current, 0.0f);
}

class GroundPowerTest : public testing::Test {
protected:
    Electric::Gpu& gpu() { return scenario.electric().gpu; }

    // Frames until ground power's availability differs from `available`; the time they took.
    uint32_t framesUntilAvailableIs(bool available, double limitSeconds) {
        const uint32_t start = scenario.aircraft().simTimeMs;
        for (int i = 0; i < limitSeconds * 18 && gpu().available != available; ++i) {
            scenario.step();
        }
        return scenario.aircraft().simTimeMs - start;
    }

    AirframeScenario scenario;
};

TEST_F(GroundPowerTest, AvailableOneMinuteAfterParkingAndTwentySecondsAfterAnEngineStart) {
    scenario.park();
    const uint32_t parkedAt = gpu().readySince;
    framesUntilAvailableIs(true, 70.0);
    ASSERT_TRUE(gpu().available);
    const uint32_t waited = scenario.aircraft().simTimeMs - parkedAt;
    EXPECT_GE(waited, 60000u);
    EXPECT_LT(waited, 60000u + AirframeScenario::kFrameMs);
    EXPECT_GE(gpu().voltage, 27.5f);
    EXPECT_LE(gpu().voltage, 28.4f + 1e-4f);
    EXPECT_TRUE(scenario.electric().annunciatorPower) << "lamps light before the GPU button";

    scenario.setCombustion(1, true);
    const uint32_t held = framesUntilAvailableIs(false, 30.0);
    EXPECT_FALSE(gpu().available);
    EXPECT_GE(held, 20000u);
    EXPECT_LE(held, 20000u + 2 * AirframeScenario::kFrameMs);
    EXPECT_FLOAT_EQ(gpu().voltage, 0.0f);
}

TEST_F(GroundPowerTest, TaxiingTakesGroundPowerAwayAtOnce) {
    scenario.park();
    scenario.run(61.0);
    ASSERT_TRUE(gpu().available);
    scenario.aircraft().gps()->groundSpeed = 3.0f;
    scenario.step();
    EXPECT_FALSE(gpu().available);
}

TEST_F(GroundPowerTest, ABrakeReleaseBeforeTheMinuteNeverMakesGroundPowerAvailable) {
    scenario.park();
    scenario.run(30.0);
    scenario.releaseParkingBrake();
    for (int i = 0; i < 25 * 18; ++i) {
        scenario.step();
        ASSERT_FALSE(gpu().available) << "frame " << i;
    }
}

TEST_F(GroundPowerTest, ABrakeReleaseHoldsAvailableGroundPowerForTwentySeconds) {
    scenario.park();
    scenario.run(61.0);
    scenario.releaseParkingBrake();
    scenario.run(19.0);
    EXPECT_TRUE(gpu().available);
    scenario.run(2.0);
    EXPECT_FALSE(gpu().available);
}

TEST(GeneratorTest, VoltageFollowsCombustionAndASwitchedOffGeneratorIsOffBus) {
    AirframeScenario scenario;
    scenario.park();
    Electric::Generator& generator = scenario.electric().generator1;
    EXPECT_TRUE(generator.connected) << "the start-up state switches the generators on";

    scenario.setCombustion(1, true);
    scenario.step();
    EXPECT_GE(generator.voltage, 27.8f);
    EXPECT_LE(generator.voltage, 28.2f + 1e-4f);
    EXPECT_GT(scenario.electric().generator3.voltage, 27.7f) << "generator 3 is on engine 1 too";
    EXPECT_FLOAT_EQ(scenario.electric().generator2.voltage, 0.0f);

    generator.setSwitch(false);
    scenario.step();
    EXPECT_TRUE(generator.offBus);
    scenario.step();
    EXPECT_TRUE(scenario.shows("GEN 1 OFF BUS"));

    scenario.setCombustion(1, false);
    scenario.step();
    EXPECT_FLOAT_EQ(generator.voltage, 0.0f);
    EXPECT_TRUE(generator.offBus) << "it had voltage before this update";
    scenario.step();
    EXPECT_FALSE(generator.offBus);
    EXPECT_FALSE(scenario.shows("GEN 1 OFF BUS"));
}

} // namespace
} // namespace tavi::test
