#include "support/FlightScenario.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <gtest/gtest.h>
#include <ostream>
#include <string>

namespace tavi::test {

// A hold flown at an altitude and speed.
struct AltitudeHoldCase {
    const char* name;
    double altitude;
    double speed;
};

void PrintTo(const AltitudeHoldCase& row, std::ostream* out) {
    *out << row.name;
}

namespace {

class AltitudeHoldTurnFlightTest : public testing::TestWithParam<AltitudeHoldCase> {};

// The autopilot in ALT and HDG flies the racetrack of a hold: turns of 170 degrees at the full
// 27 degrees of bank with straights between them. The altitude stays within 50 ft in the turns
// and comes back to the selected altitude on the last straight.
TEST_P(AltitudeHoldTurnFlightTest, HoldsTheAltitudeThroughHoldTurns) {
    const double kHoldAltitude = GetParam().altitude;
    const double kHoldSpeed = GetParam().speed;
    FlightScenario flight;
    flight.startInFlight(47.0, 8.0, kHoldAltitude, 0.0, kHoldSpeed);
    flight.setAltitudePreselect(static_cast<int32_t>(kHoldAltitude));
    flight.setHeadingBug(static_cast<int32_t>(std::lround(flight.headingMagnetic())));
    flight.pressAutopilotEngage();
    flight.pressKey(FlightScenario::kAltitudeHoldKey);
    flight.pressKey(FlightScenario::kHeadingModeKey);
    const auto hold = [&] {
        flight.holdSpeed(kHoldSpeed);
    };
    flight.fly(30.0, hold);
    ASSERT_EQ(flight.fd().verticalMode(), FdVerticalMode::Alt);
    ASSERT_EQ(flight.fd().lateralMode(), FdLateralMode::Hdg);

    double inTurns = 0.0;
    double onStraights = 0.0;
    double largestBank = 0.0;
    for (int turn = 0; turn < 4; ++turn) {
        const auto bug = static_cast<int32_t>(std::lround(flight.headingMagnetic() + 170.0));
        flight.setHeadingBug(((bug % 360) + 360) % 360);
        flight.fly(90.0, [&] {
            hold();
            const double bank = std::fabs(flight.autopilot().bankCommand);
            const double off = std::fabs(flight.altitudeFeet() - kHoldAltitude);
            largestBank = std::max(largestBank, bank);
            if (bank > 5.0) {
                inTurns = std::max(inTurns, off);
            } else {
                onStraights = std::max(onStraights, off);
            }
        });
    }
    flight.fly(60.0, hold);
    const double last = flight.altitudeFeet() - kHoldAltitude;
    std::printf("ALT in hold turns %s: at most %.0f ft off in the turns (bank %.1f), %.0f ft on "
                "the straights, %+.0f ft at the end\n",
                GetParam().name, inTurns, largestBank, onStraights, last);
    EXPECT_GT(largestBank, 25.0);
    EXPECT_LT(inTurns, 50.0);
    EXPECT_LT(onStraights, 50.0);
    EXPECT_LT(std::fabs(last), 25.0);
}

INSTANTIATE_TEST_SUITE_P(Holds, AltitudeHoldTurnFlightTest,
                         testing::Values(AltitudeHoldCase{"At6000Ft210Kt", 6000.0, 210.0},
                                         AltitudeHoldCase{"At15000Ft230Kt", 15000.0, 230.0}),
                         [](const auto& info) { return std::string(info.param.name); });

} // namespace
} // namespace tavi::test
