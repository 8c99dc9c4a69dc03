#include "support/LnavLegFlight.h"

#include <cmath>
#include <gtest/gtest.h>

namespace tavi::test {
namespace {

// Flying north with the autopilot in LNAV onto a leg west whose procedure asks for a right turn:
// the aircraft turns right through south at the LNAV bank, not the short way left, and once
// within 45 degrees of the course flies the leg to its fix.
TEST(LnavTurnDirectionFlight, ALegThatAsksForARightTurnIsJoinedTurningRight) {
    FlightScenario flight;
    LnavLegFlight route(flight, 210.0);
    route.start(47.0, 8.5, 0.0);
    const GcNav here = LnavLegFlight::at(route.origin);
    FlightPlanLeg west;
    west.wpt = LnavLegFlight::fixAt("W1", here, 270.0, 15.0);
    west.trmLeg.turnDirection = kTurnRight;
    FlightPlanLeg on;
    on.wpt = LnavLegFlight::fixAt("W2", here, 270.0, 30.0);
    ASSERT_TRUE(route.engage({west, on}, LnavLegFlight::fixAt("ZZAD", here, 270.0, 60.0)));

    const FlightPlan& plan = activeFlightPlan;
    bool southbound = false;
    ASSERT_TRUE(flight.flyUntil(
        240.0, [&] { return plan.legs[0].trmLeg.turnDirectionDone; },
        [&] {
            route.holdSpeed()();
            southbound = southbound || std::fabs(flight.headingTrue() - 180.0) < 20.0;
        }));
    EXPECT_TRUE(southbound) << "turned right through south";
    EXPECT_NEAR(flight.headingTrue(), 270.0 - 45.0, 10.0) << "done 45 degrees short of the course";
    EXPECT_TRUE(flight.flyUntil(
        600.0, [&] { return plan.activeLeg == 1; }, route.holdSpeed()))
        << "W1 reached on the leg";
    EXPECT_EQ(flight.fd().lateralMode(), FdLateralMode::Lnav);
}

} // namespace
} // namespace tavi::test
