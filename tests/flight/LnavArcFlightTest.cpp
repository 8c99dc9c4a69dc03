#include "support/LnavLegFlight.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <gtest/gtest.h>
#include <ostream>
#include <string>

namespace tavi::test {
namespace {

constexpr double kArcSpeed = 210.0;
constexpr double kArcRadius = 5.0;
// The roll onto the arc, flown from its tangent point, is over within this time.
constexpr double kRollInSeconds = 20.0;

struct ArcFlight {
    const char* name;
    int32_t turnDirection;
    // Knots from the north.
    double northWind;
};

void PrintTo(const ArcFlight& flight, std::ostream* out) {
    *out << flight.name;
}

// Eastbound at 6000 ft and 210 kt with the autopilot in LNAV: 12 nm east to A1, a 180-degree RF
// leg of 5 nm radius to A2, then 20 nm west from the arc's end; in calm air or with a north
// wind, which the arc meets from every side in turn.
class LnavArcFlightTest : public testing::TestWithParam<ArcFlight> {
protected:
    void SetUp() override {
        flight.simulator().atmosphere.setWind(0.0, GetParam().northWind);
        route.start(47.0, 8.5, 90.0);
        const bool left = GetParam().turnDirection == kTurnLeft;
        const double outbound = 270.0;
        FlightPlanLeg east;
        east.wpt = LnavLegFlight::fixAt("A1", LnavLegFlight::at(route.origin), 90.0, 12.0);
        centre =
            LnavLegFlight::fixAt("C", LnavLegFlight::at(east.wpt), left ? 0.0 : 180.0, kArcRadius);
        FlightPlanLeg arc;
        arc.wpt =
            LnavLegFlight::fixAt("A2", LnavLegFlight::at(centre), left ? 0.0 : 180.0, kArcRadius);
        arc.trmLeg.legType = TerminalLegType::RF;
        arc.trmLeg.turnDirection = GetParam().turnDirection;
        arc.trmLeg.navaidLatitude = centre.latitude;
        arc.trmLeg.navaidLongitude = centre.longitude;
        arc.trmLeg.navaidDistance = static_cast<float>(kArcRadius);
        FlightPlanLeg after;
        after.wpt = LnavLegFlight::fixAt("A3", LnavLegFlight::at(arc.wpt), outbound, 20.0);
        ASSERT_TRUE(route.engage(
            {east, arc, after},
            LnavLegFlight::fixAt("ZZAD", LnavLegFlight::at(after.wpt), outbound, 30.0)));
    }

    // Nautical miles from the arc, measured on the stand-in's own position.
    double offArc() {
        const auto& state = flight.simulator().flight.state();
        return GcNav::distanceBetween(centre.latitude, centre.longitude, state.latitude,
                                      state.longitude) -
               kArcRadius;
    }

    FlightScenario flight;
    LnavLegFlight route{flight, kArcSpeed};
    Waypoint centre;
};

// Past the roll-in the arc is held as closely as a straight leg, and the aircraft leaves it at
// its fix onto the next leg.
TEST_P(LnavArcFlightTest, HoldsTheArcAsCloselyAsAStraightLeg) {
    const FlightPlan& plan = activeFlightPlan;
    ASSERT_TRUE(flight.flyUntil(
        300.0, [&] { return plan.activeLeg == 1; }, route.holdSpeed()));
    const double arcStart = flight.simulator().simulatorSeconds();
    double worst = 0.0;
    const bool flown = flight.flyUntil(
        300.0, [&] { return plan.activeLeg != 1; },
        [&] {
            flight.holdSpeed(kArcSpeed);
            const double onArc = flight.simulator().simulatorSeconds() - arcStart;
            if (onArc < kRollInSeconds) {
                return;
            }
            worst = std::max(worst, std::fabs(offArc()));
        });
    const double arcSeconds = flight.simulator().simulatorSeconds() - arcStart;
    std::printf("%s arc: largest cross-track %.3f nm after the roll-in, %.0f s on the arc\n",
                GetParam().name, worst, arcSeconds);
    ASSERT_TRUE(flown) << "the arc's fix is reached";
    EXPECT_LT(worst, 0.3);
    EXPECT_EQ(flight.fd().lateralMode(), FdLateralMode::Lnav);
    EXPECT_EQ(plan.activeLeg, 2u);
}

INSTANTIATE_TEST_SUITE_P(Arcs, LnavArcFlightTest,
                         testing::Values(ArcFlight{"left", kTurnLeft, 0.0},
                                         ArcFlight{"right", kTurnRight, 0.0},
                                         ArcFlight{"left_in_a_wind", kTurnLeft, 50.0},
                                         ArcFlight{"right_in_a_wind", kTurnRight, 50.0}),
                         [](const testing::TestParamInfo<ArcFlight>& info) {
                             return std::string(info.param.name);
                         });

} // namespace
} // namespace tavi::test
