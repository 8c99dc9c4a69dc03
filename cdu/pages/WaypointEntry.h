#pragma once

#include "fms/FlightPlanLeg.h"
#include "navdata/PilotPoint.h"
#include "navdata/Waypoint.h"

#include <cstdint>
#include <functional>
#include <string>

namespace tavi {

class FlightPlan;
class Fms;

// How an entry on a flight-plan line becomes a leg, the origin or the destination: of the
// active plan (ACTIVE FLT PLAN) or of the stored plan being edited. An ident is looked up in
// the navigation database; one candidate is taken, several open WAYPOINTS SELECT and none opens
// PILOT WAYPOINT, which come back through finishPilotWaypointEntry or enterWaypoint. On the
// active plan a latitude/longitude, place/bearing/distance or two-radial definition first makes
// a temporary point, and a pattern keyword attaches a pattern to the leg of the line.
//
// Lines are numbered as on the pages: 0 the origin, L the leg L - 1, legs + 1 the destination.
class WaypointEntry {
public:
    explicit WaypointEntry(Fms& fms) : fms(fms) {}

    void enterWaypoint(int32_t line, const std::string& entry);
    void enterActiveOrigin(const std::string& entry);
    void enterActiveDestination(const std::string& entry);
    void enterStoredPlanWaypoint(int32_t line, const std::string& entry);
    void enterStoredPlanOrigin(const std::string& entry);
    void enterStoredPlanDestination(const std::string& entry);
    // The point PILOT WAYPOINT defined becomes what the entry that opened it asked for.
    void finishPilotWaypointEntry();

    // True when the entry was a point definition and has been dealt with; newIdent then names
    // the point made, or is empty when the definition failed or waits for WAYPOINTS SELECT.
    bool enterTemporaryWaypoint(const std::string& entry, std::string& newIdent);
    // The place chosen on WAYPOINTS SELECT for a place/bearing/distance or two-radial
    // definition that waited for it: the point is made and entered on the selected line or as
    // the destination, or the second place of two radials is asked for next.
    void choosePendingPlace(const Waypoint& place);
    // True when the keyword was applied to the leg of the selected line.
    bool enterPatternKeyword(const std::string& entry);
    // A temporary point at a signed distance (nm) along the plan from the fix of the selected
    // line, which must carry the ident; false, nothing changed, when it does not fall inside
    // the leg next to the fix.
    bool createPlaceDistancePoint(FlightPlan& plan, const std::string& ident, double distance);

    // A point on the bearing from the place; a magnetic bearing is turned true with the place's
    // variation.
    static PilotPoint makePbdPoint(const std::string& ident, const Waypoint& place, double bearing,
                                   bool bearingTrue, double distance);
    // Where the two radials cross; type Undefined when they do not.
    static PilotPoint makeRadialIntersectionPoint(const std::string& ident, const Waypoint& place1,
                                                  double bearing1, bool bearing1True,
                                                  const Waypoint& place2, double bearing2,
                                                  bool bearing2True);

    // The leg a pattern keyword works on for the line of the leg just flown or the destination.
    FlightPlanLeg tempLeg;

private:
    using Take = std::function<void(const Waypoint&)>;
    // One candidate goes to take; none opens PILOT WAYPOINT (unless the entry is temporary:
    // then it is refused), several WAYPOINTS SELECT, both coming back to the page.
    void resolveIdent(const std::string& entry, int32_t page, int32_t subPage, const Take& take);
    void refuse(const std::string& entry);
    void resolveActiveEnd(const std::string& entry, bool destination);
    void resolveStoredEnd(const std::string& entry, bool destination);
    bool splicesStoredRoute(int32_t line, const std::string& entry);
    // A bearing from a place far north or south must be true; false after refusing the entry.
    bool passesPolarRule(const Waypoint& place, bool bearingTrue, const std::string& entry);
    bool enterPlaceBearingDistance(const std::string& entry, std::string& newIdent);
    bool enterRadialIntersection(const std::string& entry, std::string& newIdent);
    void enterDefinedPoint(const std::string& ident);
    void openPlaceSelection(const std::string& ident, const std::vector<Waypoint>& candidates);
    // Altitude in feet the hold's leg time is chosen by.
    double holdAltitude(const FlightPlan& plan, const FlightPlanLeg& leg) const;
    bool applyHold(FlightPlan& plan, FlightPlanLeg& leg);
    bool applyProcedureTurn(FlightPlanLeg& leg);
    bool applyIntercept(const FlightPlan& plan, int32_t line);

    Fms& fms;
};

// The pressed line was the third of its sub-page and the last of the listing (the
// destination): a waypoint inserted there pushes the destination onto a new sub-page.
bool autoPageTurnApplies(int32_t lineInListing, int32_t lineCount);

} // namespace tavi
