#pragma once

#include "fms/Fms.h"
#include "fms/GlobalFlightPlans.h"

#include <string>

// A route across the test region for the displays' maps: from ZZAA by DIRECT TO ABC, a sharp
// turn to P, then R with a 3 nm orbit, T, back to S with a holding pattern, to ZZAE; the fly-by
// turns at ABC and P are the arcs LNAV lays out.
namespace tavi::test {

inline Waypoint regionFix(const std::string& ident, double latitude, double longitude,
                          WaypointKind kind = WaypointKind::DatabaseWaypoint) {
    Waypoint point;
    point.kind = kind;
    point.ident = ident;
    point.latitude = latitude;
    point.longitude = longitude;
    if (kind == WaypointKind::Airport) {
        point.aptIdent = ident;
    }
    return point;
}

// True when every edit was taken.
inline bool enterMapRoute(const Fms& fms) {
    const FlightPlanContext& context = fms.planContext();
    FlightPlan& plan = activeFlightPlan;
    plan.setOrigin(regionFix("ZZAA", 47.0, 8.0, WaypointKind::Airport), context);
    const Waypoint destination = regionFix("ZZAE", 47.6666666666667, 8.0, WaypointKind::Airport);
    plan.setDestination(destination, context);
    if (plan.legs.empty() && !plan.insertWaypoint(destination, 0, false, context)) {
        return false;
    }
    const Waypoint fixes[] = {regionFix("ABC", 47.2, 8.3), regionFix("P", 47.5, 8.5),
                              regionFix("R", 47.7, 8.9), regionFix("T", 47.9, 9.3),
                              regionFix("S", 47.8, 9.1)};
    std::size_t index = 0;
    for (const Waypoint& fix : fixes) {
        if (!plan.insertWaypoint(fix, index++, false, context)) {
            return false;
        }
    }
    if (!plan.directTo(fixes[0], context)) {
        return false;
    }
    for (FlightPlanLeg& leg : plan.legs) {
        if (leg.wpt.ident == "S") {
            leg.holding.active = 1;
            leg.holding.compute(leg.wpt.latitude, leg.wpt.longitude, leg.course);
        } else if (leg.wpt.ident == "R") {
            leg.orbit.active = true;
            leg.orbit.radius = 3.0;
        }
    }
    return plan.hasOriginAndDestination();
}

} // namespace tavi::test
