#include "sim/SimEngines.h"

#include <cmath>
#include <gtest/gtest.h>

namespace tavi::sim {
namespace {

constexpr char kEngineStarter[] = "GENERAL ENG STARTER";
constexpr char kEngineMixture[] = "GENERAL ENG MIXTURE LEVER POSITION";
constexpr char kEngineThrottle[] = "GENERAL ENG THROTTLE LEVER POSITION";
constexpr EngineAir kSeaLevel{1.0, 15.0, 0.0};
constexpr double kFrame = 1.0 / 18.0;

class SimEnginesTest : public testing::Test {
protected:
    SimEnginesTest() { engines.setFuel(1000.0); }

    // Seconds until N1 of engine 1 reaches the value, or a minute.
    double secondsUntilN1(double n1) {
        for (double t = 0.0; t < 60.0; t += kFrame) {
            if (engines.n1(1) >= n1) {
                return t;
            }
            engines.advance(kFrame, kSeaLevel);
        }
        return 60.0;
    }

    Panel panel;
    SimEngines engines{panel};
};

TEST_F(SimEnginesTest, SpoolsUpFromIdleInAboutFiveSeconds) {
    engines.setRunning();
    const double idle = engines.n1(1);
    EXPECT_NEAR(idle, 24.45, 0.1);
    const double idleThrust = engines.thrust();
    panel.setVariable(kEngineThrottle, 1, 0.7);
    const double full = n1ForLever(0.7, 1.0, 15.0, 0.0);
    const double seconds = secondsUntilN1(idle + 0.9 * (full - idle));
    EXPECT_GT(seconds, 3.0);
    EXPECT_LT(seconds, 7.0);
    EXPECT_GT(engines.thrust(), 10.0 * idleThrust / 2.0);
    panel.setVariable(kEngineThrottle, 1, 0.0);
    for (int i = 0; i < 18 * 3; ++i) {
        engines.advance(kFrame, kSeaLevel);
    }
    EXPECT_LT(engines.n1(1), idle + 0.3 * (full - idle));
}

TEST_F(SimEnginesTest, StartsWithStarterAndFuelAndTheStarterDropsOut) {
    panel.setVariable(kEngineStarter, 1, 1.0);
    for (int i = 0; i < 18 * 8; ++i) {
        engines.advance(kFrame, kSeaLevel);
    }
    EXPECT_FALSE(engines.combustion(1));
    EXPECT_GT(engines.n2(1), SimEngines::kLightOffN2);
    panel.setVariable(kEngineMixture, 1, 1.0);
    engines.advance(kFrame, kSeaLevel);
    EXPECT_TRUE(engines.combustion(1));
    EXPECT_EQ(panel.variable("GENERAL ENG COMBUSTION", 1), 1.0);
    for (int i = 0; i < 18 * 30; ++i) {
        engines.advance(kFrame, kSeaLevel);
    }
    EXPECT_NEAR(engines.n2(1), SimEngines::kIdleN2, 1.0);
    EXPECT_EQ(panel.variable(kEngineStarter, 1), 0.0);
    EXPECT_GT(panel.variable("TURB ENG FUEL FLOW PPH", 1), 500.0);
    EXPECT_FALSE(engines.combustion(2));

    panel.setVariable(kEngineMixture, 1, 0.0);
    for (int i = 0; i < 18 * 30; ++i) {
        engines.advance(kFrame, kSeaLevel);
    }
    EXPECT_FALSE(engines.combustion(1));
    EXPECT_LT(engines.n2(1), 5.0);
}

TEST_F(SimEnginesTest, BurnsFromEachSideTankAndFlamesOutWhenEmpty) {
    engines.setRunning();
    engines.setFuel(1.0);
    panel.setVariable(kEngineThrottle, 1, 1.0);
    for (int i = 0; i < 18 * 20; ++i) {
        engines.advance(kFrame, kSeaLevel);
    }
    EXPECT_EQ(panel.variable("FUEL TANK LEFT MAIN QUANTITY"), 0.0);
    EXPECT_EQ(panel.token(304), 0.0);
    EXPECT_FALSE(engines.combustion(1));
    EXPECT_GT(panel.variable("FUEL TANK RIGHT MAIN QUANTITY"), 0.0);
}

TEST_F(SimEnginesTest, ReverseLeverGivesReverseThrust) {
    engines.setRunning();
    panel.setVariable(kEngineThrottle, 1, -0.5);
    panel.setVariable(kEngineThrottle, 2, -0.5);
    for (int i = 0; i < 18 * 10; ++i) {
        engines.advance(kFrame, kSeaLevel);
    }
    EXPECT_LT(engines.thrust(), -20000.0);
}

TEST_F(SimEnginesTest, SteadyThrustSettlesTheLeverThatGivesIt) {
    engines.setRunning();
    const EngineAir cruise{0.3, -30.0, 0.7};
    engines.setSteadyThrust(30000.0, cruise);
    EXPECT_NEAR(engines.thrust(), 30000.0, 10.0);
    const double n1 = engines.n1(1);
    for (int i = 0; i < 18 * 10; ++i) {
        engines.advance(kFrame, cruise);
    }
    EXPECT_NEAR(engines.n1(1), n1, 0.01);
}

TEST_F(SimEnginesTest, AFailedEngineWindsDownReportsItsFailureAndStaysOutWhateverTheCrewDoes) {
    engines.setRunning();
    for (const int engine : {1, 2}) {
        panel.setVariable(kEngineThrottle, engine, 0.7);
    }
    for (int i = 0; i < 18 * 10; ++i) {
        engines.advance(kFrame, kSeaLevel);
    }
    const double bothEngines = engines.thrust();
    engines.fail(1);
    EXPECT_EQ(panel.variable("ENG FAILED", 1), 1.0);
    EXPECT_EQ(panel.variable("ENG FAILED", 2), 0.0);
    // The crew tries a relight: fuel cut off and opened again, the starter on.
    panel.setVariable(kEngineMixture, 1, 0.0);
    engines.advance(kFrame, kSeaLevel);
    panel.setVariable(kEngineMixture, 1, 1.0);
    panel.setVariable(kEngineStarter, 1, 1.0);
    for (int i = 0; i < 18 * 60; ++i) {
        engines.advance(kFrame, kSeaLevel);
    }
    EXPECT_FALSE(engines.combustion(1));
    EXPECT_LT(engines.n2(1), 1.0);
    EXPECT_EQ(engines.thrust(1), 0.0);
    EXPECT_TRUE(engines.combustion(2));
    EXPECT_NEAR(engines.thrust(), bothEngines / 2.0, bothEngines * 0.01);
    EXPECT_EQ(panel.variable("ENG FAILED", 1), 1.0);
}

TEST_F(SimEnginesTest, ARunningEnginesOilReadsInTheMiddleOfTheNormalRange) {
    engines.setRunning();
    for (int i = 0; i < 18 * 600; ++i) {
        engines.advance(kFrame, kSeaLevel);
    }
    // Gauges show 1.6 times the simulator's figure; the normal range is 21 to 126 degC.
    for (const int engine : {1, 2}) {
        const double shown = 1.6 * panel.variable("ENG OIL TEMPERATURE", engine);
        EXPECT_GT(shown, 60.0);
        EXPECT_LT(shown, 110.0);
    }
}

} // namespace
} // namespace tavi::sim
