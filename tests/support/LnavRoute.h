#pragma once

#include "fms/Fms.h"
#include "fms/GlobalFlightPlans.h"
#include "navdata/GcNav.h"
#include "support/FlightScenario.h"

#include <array>
#include <cstddef>
#include <optional>
#include <span>
#include <string>

namespace tavi::test {

struct RouteFix {
    const char* ident;
    double latitude;
    double longitude;
};

// Loads the active plan through the FMS's plan editing: the airports, then the fixes between
// them in order; false when an edit was refused or the route does not reach the destination.
inline bool loadActiveRoute(const FlightPlanContext& context, const Waypoint& origin,
                            const Waypoint& destination, std::span<const RouteFix> fixes) {
    activeFlightPlan.setOrigin(origin, context);
    activeFlightPlan.setDestination(destination, context);
    if (activeFlightPlan.legs.empty() &&
        !activeFlightPlan.insertWaypoint(destination, 0, false, context)) {
        return false;
    }
    Waypoint point;
    point.kind = WaypointKind::DatabaseWaypoint;
    for (std::size_t i = 0; i < fixes.size(); ++i) {
        point.ident = fixes[i].ident;
        point.latitude = fixes[i].latitude;
        point.longitude = fixes[i].longitude;
        if (!activeFlightPlan.insertWaypoint(point, i, false, context)) {
            return false;
        }
    }
    return activeFlightPlan.routeEndFound;
}

// A five-leg route of the test region flown by the autopilot in LNAV at 6000 ft and 210 kt:
// from overhead ZZAA north to WPA, then turns of 30 (right), 60 (right), 90 (left) and 45 (left)
// degrees over WPB, WPC and WPD to ZZAE. The legs are 8 to 18 nm long.
class LnavRoute {
public:
    using Fix = RouteFix;
    static constexpr Fix kOrigin{"ZZAA", 47.0, 8.0};
    static constexpr std::array<Fix, 5> kFixes{{
        {"WPA", 47.1667, 8.0},
        {"WPB", 47.311, 8.1229},
        {"WPC", 47.311, 8.3196},
        {"WPD", 47.45, 8.3204},
        {"ZZAE", 47.6666666666667, 8.0},
    }};
    static constexpr double kSpeed = 210.0;
    static constexpr double kAltitude = 6000.0;
    static constexpr uint32_t kNavModeKey = 0x100C1;

    explicit LnavRoute(FlightScenario& flight) : flight(flight) {}
    // Another route from ZZAA, whose last fix is the destination, planned and flown at a speed.
    LnavRoute(FlightScenario& flight, std::span<const Fix> fixes, double speed)
        : flight(flight), fixes(fixes), speed(speed), plannedSpeed(static_cast<uint32_t>(speed)) {}
    ~LnavRoute() { resetGlobalFlightPlans(); }

    // Overhead ZZAA heading for the first fix with the route loaded through the FMS's plan
    // editing, the autopilot engaged in ALT and LNAV on the FMS as its coupled source; false
    // when a step failed.
    bool setUp() {
        const double heading = GcNav::courseBetween(
            kOrigin.latitude, kOrigin.longitude, fixes.front().latitude, fixes.front().longitude);
        flight.startInFlight(kOrigin.latitude, kOrigin.longitude, kAltitude, heading, speed);
        fms().position.initialised = true;
        if (!loadRoute()) {
            return false;
        }
        flight.pressAutopilotEngage();
        flight.pressKey(FlightScenario::kAltitudeHoldKey);
        flight.fd().selectNavigationSource(1, true);
        // LNAV takes up the new route on the next frame; NAV arms only on a valid one.
        fly(1.0);
        flight.pressKey(kNavModeKey);
        fly(10.0);
        return flight.autopilot().engaged && flight.fd().lateralMode() == FdLateralMode::Lnav;
    }

    // Flies for the time with the thrust levers holding the speed.
    void fly(double seconds) {
        flight.fly(seconds, [this] { flight.holdSpeed(speed); });
    }
    Fms& fms() { return *flight.aircraft().fms(); }
    // The index in the route's fixes of the active leg's fix; their count when the route is
    // flown.
    std::size_t activeFix() const {
        const FlightPlan& plan = activeFlightPlan;
        if (plan.activeLeg >= plan.legCount()) {
            return fixes.size();
        }
        const std::string& ident = plan.legs[plan.activeLeg].wpt.ident;
        for (std::size_t i = 0; i < fixes.size(); ++i) {
            if (ident == fixes[i].ident) {
                return i;
            }
        }
        return fixes.size();
    }
    // Nautical miles from the great circle of the leg to the fix (right positive), and along it
    // from the leg's start.
    void offsets(std::size_t fix, double& crossTrack, double& alongTrack) const {
        const Fix& from = fix == 0 ? kOrigin : fixes[fix - 1];
        const auto& state = flight.simulator().flight.state();
        GcNav::crossTrackBetween(from.latitude, from.longitude, fixes[fix].latitude,
                                 fixes[fix].longitude, state.latitude, state.longitude, crossTrack,
                                 alongTrack);
    }
    // The path piece LNAV flies is an arc.
    bool onArc() const {
        const FlightPlan& plan = activeFlightPlan;
        if (plan.activeLeg >= plan.legCount()) {
            return false;
        }
        const FlightPlanLeg& leg = plan.legs[plan.activeLeg];
        return leg.segmentIndex < leg.path.size() &&
               leg.path[leg.segmentIndex].turnDirection != kSegmentStraight;
    }
    double distanceToEnd() const {
        const auto& state = flight.simulator().flight.state();
        return GcNav::distanceBetween(state.latitude, state.longitude, fixes.back().latitude,
                                      fixes.back().longitude);
    }

private:
    bool loadRoute() {
        Waypoint origin;
        origin.kind = WaypointKind::Airport;
        origin.ident = kOrigin.ident;
        origin.latitude = kOrigin.latitude;
        origin.longitude = kOrigin.longitude;
        Waypoint destination = origin;
        const Fix& end = fixes.back();
        destination.ident = destination.aptIdent = end.ident;
        destination.latitude = end.latitude;
        destination.longitude = end.longitude;
        if (plannedSpeed) {
            activeFlightPlan.setGroundSpeed(*plannedSpeed, fms().planContext());
        }
        return loadActiveRoute(fms().planContext(), origin, destination,
                               fixes.first(fixes.size() - 1));
    }

    FlightScenario& flight;
    std::span<const Fix> fixes = kFixes;
    double speed = kSpeed;
    // The plan's ground speed, as the stored flight plan page sets it.
    std::optional<uint32_t> plannedSpeed;
};

} // namespace tavi::test
