#include "airframe/Mechanisation.h"
#include "support/FlightScenario.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace tavi::test {
namespace {

double headingDifference(double to, double from) {
    return std::remainder(to - from, 360.0);
}

constexpr double kTurnSpeed = 250.0;
constexpr double kTurnAltitude = 8000.0;

// Level at 8000 ft heading 090 under the autopilot in HDG and ALT.
void engageHeadingAndAltitudeHold(FlightScenario& flight) {
    flight.startInFlight(47.0, 8.0, kTurnAltitude, 90.0, kTurnSpeed);
    flight.pressAutopilotEngage();
    flight.pressKey(FlightScenario::kAltitudeHoldKey);
    flight.setHeadingBug(90);
    flight.pressKey(FlightScenario::kHeadingModeKey);
    flight.fly(20.0, [&flight] { flight.holdSpeed(kTurnSpeed); });
}

// A heading change under the autopilot in HDG and ALT: the heading bug moves by `change`
// degrees, in steps of at most 90 so that the turn goes the whole way round.
struct HeadingChange {
    double change;
};

class HeadingChangeTest : public testing::TestWithParam<HeadingChange> {
protected:
    void SetUp() override {
        engageHeadingAndAltitudeHold(flight);
        ASSERT_TRUE(flight.autopilot().engaged);
        ASSERT_EQ(flight.fd().verticalMode(), FdVerticalMode::Alt);
        ASSERT_EQ(flight.fd().lateralMode(), FdLateralMode::Hdg);
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
        flight.fly(0.5, [this] { flight.holdSpeed(kTurnSpeed); });
        altitudeError = std::max(altitudeError, std::fabs(flight.altitudeFeet() - kTurnAltitude));
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
    EXPECT_EQ(flight.fd().verticalMode(), FdVerticalMode::Alt);
    EXPECT_TRUE(flight.autopilot().engaged);
}

INSTANTIATE_TEST_SUITE_P(Changes, HeadingChangeTest,
                         testing::Values(HeadingChange{10.0}, HeadingChange{-10.0},
                                         HeadingChange{90.0}, HeadingChange{-90.0},
                                         HeadingChange{180.0}, HeadingChange{270.0},
                                         HeadingChange{-270.0}));

// A full turn at 30 degrees of bank under HDG and ALT, the bug kept 90 degrees ahead so that
// the bank stays at its limit: the elevator settles in the turn instead of hunting, and the
// altitude holds.
class BankedTurnTest : public testing::TestWithParam<double> {
protected:
    static constexpr double kWindowSeconds = 10.0;

    BankedTurnTest()
        : flight(std::string(FlightScenario::kEnginesRunning) + "[Autopilot]\nmaxBank=30\n") {}

    // Peak-to-peak of the elevator in one window of the turn.
    double elevatorSwing() {
        double low = 16383.0;
        double high = -16383.0;
        flight.fly(kWindowSeconds, [this, &low, &high] {
            keepBugAhead();
            flight.holdSpeed(kTurnSpeed);
            const double elevator = flight.aircraft().mechanisation()->elevatorPosition;
            low = std::min(low, elevator);
            high = std::max(high, elevator);
            altitudeError =
                std::max(altitudeError, std::fabs(flight.altitudeFeet() - kTurnAltitude));
            bank = std::max(bank, std::fabs(flight.simulator().flight.state().bank) * 57.29578);
        });
        return high - low;
    }

    void keepBugAhead() {
        const double ahead = std::fmod(flight.headingMagnetic() + GetParam() * 90.0 + 360.0, 360.0);
        const auto bug = static_cast<int32_t>(std::lround(ahead));
        if (std::fabs(headingDifference(bug, flight.fd().headingBug())) >= 10.0) {
            flight.setHeadingBug(bug);
        }
    }

    FlightScenario flight;
    double altitudeError = 0.0;
    double bank = 0.0;
};

TEST_P(BankedTurnTest, ElevatorDoesNotHuntInAThirtyDegreeTurn) {
    engageHeadingAndAltitudeHold(flight);
    ASSERT_EQ(flight.fd().lateralMode(), FdLateralMode::Hdg);

    // Rolling in, then a full turn in windows.
    elevatorSwing();
    std::vector<double> swings;
    for (int window = 0; window < 14; ++window) {
        swings.push_back(elevatorSwing());
    }
    const double first = *std::max_element(swings.begin(), swings.begin() + 3);
    const double last = *std::max_element(swings.end() - 3, swings.end());
    std::printf(
        "30-degree turn %+.0f: elevator swing first %.0f last %.0f, altitude error %.1f ft, "
        "bank %.1f\n",
        GetParam(), first, last, altitudeError, bank);
    EXPECT_NEAR(bank, 30.0, 1.5);
    EXPECT_LT(altitudeError, 100.0);
    EXPECT_LE(last, std::max(first, 400.0)) << "the elevator oscillation grows";
    EXPECT_LT(last, 1600.0) << "the elevator hunts in the turn";
    EXPECT_EQ(flight.fd().verticalMode(), FdVerticalMode::Alt);
    EXPECT_TRUE(flight.autopilot().engaged);
}

INSTANTIATE_TEST_SUITE_P(BothWays, BankedTurnTest, testing::Values(1.0, -1.0));

} // namespace
} // namespace tavi::test
