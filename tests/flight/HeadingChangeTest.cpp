#include "support/FlightScenario.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <gtest/gtest.h>
#include <vector>

namespace tavi::test {
namespace {

double headingDifference(double to, double from) {
    return std::remainder(to - from, 360.0);
}

// A heading change under the autopilot in HDG and ALT: the heading bug moves by `change`
// degrees, in steps of at most 90 so that the turn goes the whole way round.
struct HeadingChange {
    double change;
};

class HeadingChangeTest : public testing::TestWithParam<HeadingChange> {
protected:
    static constexpr double kSpeed = 250.0;
    static constexpr double kAltitude = 8000.0;

    void SetUp() override {
        flight.startInFlight(47.0, 8.0, kAltitude, 90.0, kSpeed);
        flight.pressAutopilotEngage();
        flight.pressKey(FlightScenario::kAltitudeHoldKey);
        flight.setHeadingBug(90);
        flight.pressKey(FlightScenario::kHeadingModeKey);
        flight.fly(20.0, [this] { flight.holdSpeed(kSpeed); });
        ASSERT_TRUE(flight.autopilot().engaged);
        ASSERT_EQ(flight.fd().verticalMode, FdVerticalMode::Alt);
        ASSERT_EQ(flight.fd().lateralMode, FdLateralMode::Hdg);
    }

    FlightScenario flight;
};

TEST_P(HeadingChangeTest, TurnsWithoutOvershootAndHoldsAltitude) {
    const double change = GetParam().change;
    const double direction = change > 0.0 ? 1.0 : -1.0;
    const double start = flight.headingMagnetic();
    const double target = std::fmod(start + change + 360.0, 360.0);
    double bug = start;
    double remaining = std::fabs(change);
    double beyond = -180.0;
    double altitudeError = 0.0;
    double bank = 0.0;
    const double turnSeconds = std::fabs(change) / 2.0 + 60.0;
    const double end = flight.simulator().simulatorSeconds() + turnSeconds;
    while (flight.simulator().simulatorSeconds() < end) {
        // The pilot keeps the bug at most 90 degrees ahead until it reaches the target.
        if (remaining > 0.0 && std::fabs(headingDifference(bug, flight.headingMagnetic())) < 45.0) {
            const double step = std::min(remaining, 90.0);
            bug += direction * step;
            remaining -= step;
            flight.setHeadingBug(static_cast<int32_t>(std::lround(std::fmod(bug + 360.0, 360.0))));
        }
        flight.fly(0.5, [this] { flight.holdSpeed(kSpeed); });
        altitudeError = std::max(altitudeError, std::fabs(flight.altitudeFeet() - kAltitude));
        bank = std::max(bank, std::fabs(flight.simulator().flight.state().bank) * 57.29578);
        if (remaining == 0.0) {
            beyond =
                std::max(beyond, direction * headingDifference(flight.headingMagnetic(), target));
        }
    }
    std::printf("heading change %+.0f: overshoot %.2f deg, altitude error %.1f ft, bank %.1f\n",
                change, std::max(beyond, 0.0), altitudeError, bank);
    EXPECT_LT(beyond, 2.0);
    EXPECT_LT(altitudeError, 100.0);
    EXPECT_NEAR(headingDifference(flight.headingMagnetic(), target), 0.0, 1.0);
    EXPECT_EQ(flight.fd().verticalMode, FdVerticalMode::Alt);
    EXPECT_TRUE(flight.autopilot().engaged);
}

INSTANTIATE_TEST_SUITE_P(Changes, HeadingChangeTest,
                         testing::Values(HeadingChange{10.0}, HeadingChange{-10.0},
                                         HeadingChange{90.0}, HeadingChange{-90.0},
                                         HeadingChange{180.0}, HeadingChange{270.0},
                                         HeadingChange{-270.0}));

} // namespace
} // namespace tavi::test
