#include "fms/Fms.h"
#include "fms/GlobalFlightPlans.h"
#include "navdata/GcNav.h"
#include "support/CduKeys.h"
#include "support/FlightScenario.h"

#include <gtest/gtest.h>
#include <string>

namespace tavi::test {
namespace {

constexpr uint32_t kNavModeKey = 0x100C1;
constexpr double kSpeed = 210.0;

Waypoint fixAt(const std::string& ident, const GcNav& from, double course, double distance) {
    Waypoint point;
    point.kind = WaypointKind::DatabaseWaypoint;
    point.ident = ident;
    from.destination(course, distance, point.latitude, point.longitude);
    return point;
}

// Flying north with the autopilot in LNAV onto a leg west whose procedure asks for a right turn:
// the aircraft turns right through south at the LNAV bank, not the short way left, and once
// within 45 degrees of the course flies the leg to its fix.
TEST(LnavTurnDirectionFlight, ALegThatAsksForARightTurnIsJoinedTurningRight) {
    FlightScenario flight;
    flight.startInFlight(47.0, 8.5, 6000.0, 0.0, kSpeed);
    flight.simulator().panel.setPanelWindowOpen(CduKeys::kCduPopupWindow, true);
    Fms& fms = *flight.aircraft().fms();
    fms.position.initialised = true;
    const double latitude = flight.simulator().flight.state().latitude;
    const double longitude = flight.simulator().flight.state().longitude;
    const GcNav here(latitude, longitude);
    FlightPlan& plan = activeFlightPlan;
    plan.org.kind = WaypointKind::Airport;
    plan.org.ident = "ZZAA";
    plan.org.latitude = latitude;
    plan.org.longitude = longitude;
    plan.dest = fixAt("ZZAD", here, 270.0, 60.0);
    plan.dest.kind = WaypointKind::Airport;
    FlightPlanLeg west;
    west.wpt = fixAt("W1", here, 270.0, 15.0);
    west.trmLeg.turnDirection = kTurnRight;
    FlightPlanLeg on;
    on.wpt = fixAt("W2", here, 270.0, 30.0);
    plan.legs = {west, on};
    plan.recalculate(fms.planContext());
    flight.fly(0.2);

    flight.pressAutopilotEngage();
    flight.pressKey(FlightScenario::kAltitudeHoldKey);
    flight.fd().selectNavigationSource(1, true);
    flight.pressKey(kNavModeKey);
    const auto holdSpeed = [&] {
        flight.holdSpeed(kSpeed);
    };
    ASSERT_TRUE(flight.flyUntil(
        10.0, [&] { return flight.fd().lateralMode == FdLateralMode::Lnav; }, holdSpeed));
    bool southbound = false;
    ASSERT_TRUE(flight.flyUntil(
        240.0, [&] { return plan.legs[0].trmLeg.turnDirectionDone; },
        [&] {
            holdSpeed();
            southbound = southbound || std::fabs(flight.headingTrue() - 180.0) < 20.0;
        }));
    EXPECT_TRUE(southbound) << "turned right through south";
    EXPECT_NEAR(flight.headingTrue(), 270.0 - 45.0, 10.0) << "done 45 degrees short of the course";
    EXPECT_TRUE(flight.flyUntil(
        600.0, [&] { return plan.activeLeg == 1; }, holdSpeed))
        << "W1 reached on the leg";
    EXPECT_EQ(flight.fd().lateralMode, FdLateralMode::Lnav);
}

} // namespace
} // namespace tavi::test
