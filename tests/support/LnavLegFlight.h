#pragma once

#include "fms/Fms.h"
#include "fms/GlobalFlightPlans.h"
#include "navdata/GcNav.h"
#include "support/CduKeys.h"
#include "support/FlightScenario.h"

#include <functional>
#include <string>
#include <vector>

namespace tavi::test {

// A plan of hand-made legs from the aircraft's present position, flown by the autopilot in ALT
// and LNAV at a steady speed, the thrust levers holding it.
class LnavLegFlight {
public:
    static constexpr uint32_t kNavModeKey = 0x100C1;

    LnavLegFlight(FlightScenario& flight, double speed) : flight(flight), speed(speed) {}
    ~LnavLegFlight() { resetGlobalFlightPlans(); }

    // The aircraft in level flight at 6000 ft on the heading; the legs are laid out from
    // `origin` before `engage`.
    void start(double latitude, double longitude, double heading) {
        flight.startInFlight(latitude, longitude, 6000.0, heading, speed);
        flight.simulator().panel.setPanelWindowOpen(CduKeys::kCduPopupWindow, true);
        fms().position.initialised = true;
        const auto& state = flight.simulator().flight.state();
        origin.kind = WaypointKind::Airport;
        origin.ident = "ZZAA";
        origin.latitude = state.latitude;
        origin.longitude = state.longitude;
    }

    // The legs, from the present position, become the active plan ending at `destination`.
    void load(const std::vector<FlightPlanLeg>& legs, Waypoint destination) {
        FlightPlan& plan = activeFlightPlan;
        plan.org = origin;
        destination.kind = WaypointKind::Airport;
        plan.dest = destination;
        plan.legs = legs;
        plan.recalculate(fms().planContext());
        flight.fly(0.2);
    }
    // The autopilot engages in ALT, with the FMS as side 1's source, and NAV is pressed.
    void pressNavWithTheAutopilot() {
        flight.pressAutopilotEngage();
        flight.pressKey(FlightScenario::kAltitudeHoldKey);
        flight.fd().selectNavigationSource(1, true);
        flight.pressKey(kNavModeKey);
    }
    // Loads the legs and engages LNAV on them; false when LNAV did not engage.
    bool engage(const std::vector<FlightPlanLeg>& legs, const Waypoint& destination) {
        load(legs, destination);
        pressNavWithTheAutopilot();
        return flight.flyUntil(
            10.0, [&] { return flight.fd().lateralMode() == FdLateralMode::Lnav; }, holdSpeed());
    }

    static Waypoint fixAt(const std::string& ident, const GcNav& from, double course,
                          double distance) {
        Waypoint point;
        point.kind = WaypointKind::DatabaseWaypoint;
        point.ident = ident;
        from.destination(course, distance, point.latitude, point.longitude);
        return point;
    }
    static GcNav at(const Waypoint& point) { return GcNav(point.latitude, point.longitude); }

    std::function<void()> holdSpeed() {
        return [this] {
            flight.holdSpeed(speed);
        };
    }
    Fms& fms() { return *flight.aircraft().fms(); }

    Waypoint origin;

private:
    FlightScenario& flight;
    double speed;
};

} // namespace tavi::test
