// The barometric unit: its atmosphere model and the two altimeter settings.
#include "support/SensorScenario.h"

#include <cmath>
#include <cstdio>
#include <gtest/gtest.h>

namespace tavi::test {
namespace {

constexpr double kInHgPerHpa = 0.029530199244618416;
constexpr uint32_t kKohlsmanSet = 0x101F8;

TEST(BaroAtmosphereTest, TheTropopauseBelongsToTheUpperLayerByAltitudeAndTheLowerByPressure) {
    const double p11 = Baro::tropopausePressure;
    EXPECT_DOUBLE_EQ(Baro::pressureAtAltitude(0.0), Baro::seaLevelPressure);
    EXPECT_DOUBLE_EQ(Baro::pressureAtAltitude(36089.24), p11) << "exponential branch, equality";
    EXPECT_NEAR(Baro::altitudeAtPressure(p11), 36089.237, 0.001) << "power-law branch";
    const double justBelow = p11 * (1.0 - 1e-9);
    EXPECT_GT(Baro::altitudeAtPressure(justBelow), 36089.24);
    EXPECT_LT(Baro::altitudeAtPressure(justBelow), 36089.25);
}

TEST(BaroAtmosphereTest, AltitudeAndPressureInvertEachOtherInBothLayers) {
    for (double feet : {-1000.0, 0.0, 5000.0, 25000.0, 36000.0, 36089.24, 41000.0, 51000.0}) {
        EXPECT_NEAR(Baro::altitudeAtPressure(Baro::pressureAtAltitude(feet)), feet, 0.01) << feet;
    }
    EXPECT_NEAR(Baro::pressureAtAltitude(10000.0), 10.1066, 0.001) << "the standard atmosphere";
    EXPECT_NEAR(Baro::pressureAtAltitude(45000.0), 2.1390, 0.001);
}

TEST(BaroAtmosphereTest, PressureDifferenceAndOffsetAltitudeAgree) {
    const double cabinDifference = Baro::pressureDifference(8000.0, 35000.0);
    EXPECT_NEAR(cabinDifference, 10.92 - 3.458, 0.01);
    EXPECT_NEAR(Baro::altitudeWithPressureOffset(35000.0, cabinDifference), 8000.0, 0.01);
    EXPECT_NEAR(Baro::altitudeWithPressureOffset(5000.0, 0.0), 5000.0, 1e-6);
}

class BaroTest : public testing::Test {
protected:
    BaroTest() { scenario.start(); }

    void simulatorSetting(double hectopascals) {
        scenario.module.simulator.aircraft.setAltimeter(hectopascals);
    }

    SensorScenario scenario;
    Baro& baro() { return scenario.baro(); }
};

TEST_F(BaroTest, MainSettingAltitudeFollowsTheSimulatorsSetting) {
    scenario.panel().setVariable("PRESSURE ALTITUDE", 0, 5000.0);
    const struct {
        double hectopascals;
        float aboveStandard;
    } cases[] = {{1013.25, 0.0f}, {1014.25, 29.34f}, {1012.25, -29.37f}};
    for (const auto& row : cases) {
        simulatorSetting(row.hectopascals);
        scenario.step();
        EXPECT_NEAR(baro().mainSettingHpa, row.hectopascals, 1e-3);
        EXPECT_NEAR(baro().mainSettingAltitude - 5000.0f, row.aboveStandard, 0.01f)
            << row.hectopascals;
        EXPECT_FLOAT_EQ(baro().simSettingInHg, static_cast<float>(row.hectopascals * kInHgPerHpa));
    }
}

TEST_F(BaroTest, MainSettingIsLimitedAndSentToTheSimulatorWhichTheNextFrameReadsBack) {
    scenario.panel().clearKeyEventsSent();
    baro().setBaroSetting(35.0f);
    EXPECT_FLOAT_EQ(baro().mainSettingInHg, 32.0f);
    ASSERT_EQ(scenario.keyEventCount(kKohlsmanSet), 1);
    EXPECT_EQ(scenario.panel().keyEventsSent().back().value, 17338u);
    scenario.step();
    EXPECT_NEAR(baro().mainSettingInHg, 32.0f, 0.001f) << "the simulator took it";

    baro().setBaroSetting(29.92f);
    simulatorSetting(1013.25); // the simulator keeps its own setting
    scenario.step();
    EXPECT_NEAR(baro().mainSettingInHg, 29.921f, 0.001f) << "a rejected setting does not stick";

    baro().setBaroSetting(NAN);
    EXPECT_EQ(scenario.keyEventCount(kKohlsmanSet), 2) << "no number, nothing sent";
}

TEST_F(BaroTest, MainSettingStepsByHundredthsWithinItsLimits) {
    simulatorSetting(31.995 / kInHgPerHpa);
    scenario.step();
    baro().incBaroSetting();
    EXPECT_FLOAT_EQ(baro().mainSettingInHg, 32.0f);
    EXPECT_FLOAT_EQ(baro().mainSettingHpa, 32.0f / 0.02953f);

    simulatorSetting(16.0 / kInHgPerHpa);
    scenario.step();
    baro().decBaroSetting();
    EXPECT_FLOAT_EQ(baro().mainSettingInHg, 16.0f);
    baro().incBaroSetting();
    EXPECT_FLOAT_EQ(baro().mainSettingInHg, 16.01f);
}

// Each click goes to the simulator and comes back in the next frame: up from standard, across
// 30.00 and down past it again, every click moves the shown setting by exactly one step.
TEST_F(BaroTest, EveryClickMovesTheMainSettingByOneStep) {
    simulatorSetting(29.92 / kInHgPerHpa);
    scenario.step();
    int32_t hundredths = 2992;
    auto click = [&](int32_t direction) {
        if (direction > 0) {
            baro().incBaroSetting();
        } else {
            baro().decBaroSetting();
        }
        scenario.step();
        hundredths += direction;
        char shown[16];
        std::snprintf(shown, sizeof shown, "%.2f", baro().mainSettingInHg);
        char expected[16];
        std::snprintf(expected, sizeof expected, "%.2f", hundredths / 100.0);
        EXPECT_STREQ(shown, expected);
        // Half a sixteenth of a hectopascal, and the setter's rounder divisor.
        EXPECT_NEAR(baro().mainSettingInHg, hundredths / 100.0, 0.0013);
    };
    for (int i = 0; i < 20; ++i) {
        click(1);
    }
    for (int i = 0; i < 40; ++i) {
        click(-1);
    }
    EXPECT_EQ(hundredths, 2972);
    // 30.00 inHg is 16254.65 sixteenths of a hectopascal: 16255 goes, not 16254.
    baro().setBaroSetting(30.0f);
    EXPECT_EQ(scenario.panel().keyEventsSent().back().value, 16255u);
}

TEST_F(BaroTest, StandbySettingStaysInTheStandbyInstrument) {
    scenario.panel().setVariable("PRESSURE ALTITUDE", 0, 2000.0);
    scenario.panel().clearKeyEventsSent();
    baro().setStandbyBaroSetting(15.0f);
    EXPECT_FLOAT_EQ(baro().standbySettingInHg, 16.0f);
    baro().setStandbyBaroSetting(1014.25f * 0.02953f);
    baro().incStandbyBaroSetting();
    baro().decStandbyBaroSetting();
    scenario.step();
    EXPECT_EQ(scenario.keyEventCount(kKohlsmanSet), 0);
    EXPECT_NEAR(baro().standbySettingHpa, 1014.26f, 0.02f);
    EXPECT_NEAR(baro().standbySettingAltitude, 2029.6f, 0.5f);
    EXPECT_NEAR(baro().mainSettingAltitude, 2000.0f, 0.01f) << "the main setting is standard";
}

TEST_F(BaroTest, BarometricAltitudeComesFromTheSimulatorsPressure) {
    scenario.panel().setVariable("BAROMETER PRESSURE", 0, Baro::pressureAtAltitude(12000.0));
    scenario.step();
    EXPECT_NEAR(baro().barometricAltitude, 12000.0f, 0.01f);
    EXPECT_DOUBLE_EQ(baro().barometricPressurePsi, Baro::pressureAtAltitude(12000.0));

    baro().updateStaticPressure(20000.0);
    EXPECT_DOUBLE_EQ(baro().staticPressure, Baro::pressureAtAltitude(20000.0));
}

} // namespace
} // namespace tavi::test
