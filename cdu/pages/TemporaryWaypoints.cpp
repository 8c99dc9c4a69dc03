// Temporary waypoints (latitude/longitude, place/bearing/distance, two radials, a distance along
// the plan) and the pattern keywords of the flight-plan lines.
#include "cdu/pages/CduPageIds.h"
#include "cdu/pages/PageText.h"
#include "cdu/pages/WaypointEntry.h"
#include "cdu/records/PointDefinition.h"
#include "core/Format.h"
#include "fms/Fms.h"
#include "fms/GlobalFlightPlans.h"
#include "navdata/GcNav.h"

#include <cmath>

namespace tavi {

namespace {

using point_definition::kPlaceBearingDistance;
using point_definition::kRadialIntersection;

constexpr char kWaypointNotFound[] = "WAYPOINT NOT FOUND";
// Bearings from places beyond these latitudes must be entered true.
constexpr double kNorthernMagneticLimit = 73.0;
constexpr double kSouthernMagneticLimit = -60.0;
// Degrees within which two courses count as one.
constexpr double kSameCircle = 1e-9;
// The farthest from its place a radial is flown: beyond a navaid's reception at cruise levels.
// Radials that are parallel or nearly so cross hundreds or thousands of miles away, far from
// where the pilot meant the point.
constexpr double kUsableRadialNm = 200.0;

constexpr double kHighHoldAltitude = 14000.0;
constexpr double kHighHoldMinutes = 1.5;
constexpr double kLowHoldMinutes = 1.0;
constexpr double kProcedureTurnSpeed = 210.0;
constexpr double kProcedureTurnMinutes = 1.0;
constexpr double kProcedureTurnDistance = 3.5;

double trueBearing(const Waypoint& place, double bearing, bool bearingTrue) {
    return bearingTrue ? bearing : bearing + place.variation;
}

bool isArcLeg(const FlightPlanLeg& leg) {
    return leg.legType() == TerminalLegType::AF || leg.legType() == TerminalLegType::RF;
}

bool isPatternKeyword(const std::string& entry) {
    for (const char* keyword :
         {"*FLYOVER*", "*RADIAL*", "*ORBIT*", "*HOLD*", "*PCDR TURN*", "*INTERCEPT*"}) {
        if (entry == keyword) {
            return true;
        }
    }
    return false;
}

} // namespace

PilotPoint WaypointEntry::makePbdPoint(const std::string& ident, const Waypoint& place,
                                       double bearing, bool bearingTrue, double distance) {
    PilotPoint point;
    point.ident = ident;
    point.ppType = PilotPointType::PlaceBearingDistance;
    GcNav(place.latitude, place.longitude)
        .destination(trueBearing(place, bearing, bearingTrue), distance, point.latitude,
                     point.longitude);
    point.definition =
        FmsParser::formatPlaceBearingDistance(place.ident, bearing, bearingTrue, distance);
    return point;
}

PilotPoint WaypointEntry::makeRadialIntersectionPoint(const std::string& ident,
                                                      const Waypoint& place1, double bearing1,
                                                      bool bearing1True, const Waypoint& place2,
                                                      double bearing2, bool bearing2True) {
    PilotPoint point;
    point.ident = ident;
    const double course1 = trueBearing(place1, bearing1, bearing1True);
    const double course2 = trueBearing(place2, bearing2, bearing2True);
    // Two radials of one place on the same or the opposite course lie on one great circle: they
    // have no single crossing, whatever the rounding makes of it.
    const double apart = std::fmod(std::fabs(course1 - course2), 180.0);
    if (place1.samePosition(place2) && (apart < kSameCircle || 180.0 - apart < kSameCircle)) {
        return point;
    }
    if (GcNav::intersection(place1.latitude, place1.longitude, course1, place2.latitude,
                            place2.longitude, course2, point.latitude, point.longitude) &&
        GcNav::distanceBetween(place1.latitude, place1.longitude, point.latitude,
                               point.longitude) <= kUsableRadialNm &&
        GcNav::distanceBetween(place2.latitude, place2.longitude, point.latitude,
                               point.longitude) <= kUsableRadialNm) {
        point.ppType = PilotPointType::PlaceBearingPlaceBearing;
    }
    return point;
}

bool WaypointEntry::passesPolarRule(const Waypoint& place, bool bearingTrue,
                                    const std::string& entry) {
    if (bearingTrue ||
        (place.latitude <= kNorthernMagneticLimit && place.latitude >= kSouthernMagneticLimit)) {
        return true;
    }
    fms.setScratchpad(entry);
    fms.showMessage("BRG/CRS MUST BE IN TRUE", 1);
    return false;
}

bool WaypointEntry::enterTemporaryWaypoint(const std::string& entry, std::string& newIdent) {
    newIdent.clear();
    ActiveFplPage& page = fms.activeFplPage;
    PilotPoint point;
    if (FmsParser::parseLatLon(entry, point.latitude, point.longitude)) {
        point.ppType = PilotPointType::LatLon;
        point.ident = page.nextPointName(PointFamily::LatLon);
        fms.pilotPoints().add(point);
        newIdent = point.ident;
        return true;
    }
    page.definitionEntry = entry;
    page.definition = WaypointDefinition();
    page.definitionKind = 0;
    if (FmsParser::parsePilotWaypointDefinition(entry, page.definition)) {
        page.definitionKind =
            page.definition.place2.empty() ? kPlaceBearingDistance : kRadialIntersection;
    }
    page.place1Candidates.clear();
    page.place2Candidates.clear();
    page.place1Pending = false;
    page.place2Pending = false;
    switch (page.definitionKind) {
    case kPlaceBearingDistance:
        return enterPlaceBearingDistance(entry, newIdent);
    case kRadialIntersection:
        return enterRadialIntersection(entry, newIdent);
    default:
        return false;
    }
}

bool WaypointEntry::enterPlaceBearingDistance(const std::string& entry, std::string& newIdent) {
    ActiveFplPage& page = fms.activeFplPage;
    const WaypointDefinition& definition = page.definition;
    fms.navDatabase().findWaypoints(definition.place1, page.place1Candidates, true);
    if (page.place1Candidates.empty()) {
        fms.setScratchpad(entry);
        fms.showMessage(kWaypointNotFound, 0);
    } else if (page.place1Candidates.size() == 1) {
        const Waypoint& place = page.place1Candidates.front();
        if (passesPolarRule(place, definition.bearing1True, entry)) {
            newIdent = page.nextPointName(PointFamily::PlaceBearingDistance);
            page.point = makePbdPoint(newIdent, place, definition.bearing1, definition.bearing1True,
                                      definition.distance);
            fms.pilotPoints().add(page.point);
        }
    } else {
        page.place1Pending = true;
        openPlaceSelection(definition.place1, page.place1Candidates);
    }
    return true;
}

bool WaypointEntry::enterRadialIntersection(const std::string& entry, std::string& newIdent) {
    ActiveFplPage& page = fms.activeFplPage;
    const WaypointDefinition& definition = page.definition;
    fms.navDatabase().findWaypoints(definition.place1, page.place1Candidates, true);
    fms.navDatabase().findWaypoints(definition.place2, page.place2Candidates, true);
    if (page.place1Candidates.empty() || page.place2Candidates.empty()) {
        fms.setScratchpad(entry);
        fms.showMessage(kWaypointNotFound, 0);
        return true;
    }
    if (page.place1Candidates.size() == 1 && page.place2Candidates.size() == 1) {
        const Waypoint& place1 = page.place1Candidates.front();
        const Waypoint& place2 = page.place2Candidates.front();
        if (!passesPolarRule(place1, definition.bearing1True, entry) ||
            !passesPolarRule(place2, definition.bearing2True, entry)) {
            return true;
        }
        const std::string name = page.nextPointName(PointFamily::RadialIntersection);
        page.point =
            makeRadialIntersectionPoint(name, place1, definition.bearing1, definition.bearing1True,
                                        place2, definition.bearing2, definition.bearing2True);
        if (page.point.isDefined()) {
            fms.pilotPoints().add(page.point);
            newIdent = name;
        } else {
            fms.setScratchpad(page.definitionEntry);
            fms.showMessage("RADIALS DO NOT INTERSECT", 0);
        }
        return true;
    }
    page.place1Pending = page.place1Candidates.size() > 1;
    page.place2Pending = page.place2Candidates.size() > 1;
    if (!page.place1Pending) {
        page.place1 = page.place1Candidates.front();
    }
    if (!page.place2Pending) {
        page.place2 = page.place2Candidates.front();
    }
    if (page.place1Pending) {
        openPlaceSelection(definition.place1, page.place1Candidates);
    } else {
        openPlaceSelection(definition.place2, page.place2Candidates);
    }
    return true;
}

void WaypointEntry::choosePendingPlace(const Waypoint& place) {
    ActiveFplPage& page = fms.activeFplPage;
    const WaypointDefinition& definition = page.definition;
    const int32_t subPage = fms.wptSelectPage.targetSubPage;
    if (page.definitionKind == kPlaceBearingDistance) {
        if (passesPolarRule(place, definition.bearing1True, page.definitionEntry)) {
            const std::string name = page.nextPointName(PointFamily::PlaceBearingDistance);
            page.point = makePbdPoint(name, place, definition.bearing1, definition.bearing1True,
                                      definition.distance);
            fms.pilotPoints().add(page.point);
            fms.setPage(cdu_page::kActiveFlightPlan, subPage);
            enterDefinedPoint(name);
            return;
        }
        fms.setPage(cdu_page::kActiveFlightPlan, subPage);
        return;
    }
    if (page.definitionKind != kRadialIntersection) {
        return;
    }
    if (takePendingPlace(page, place)) {
        fms.wptSelectPage.setCandidates(definition.place2, page.place2Candidates);
        return;
    }
    if (passesPolarRule(page.place1, definition.bearing1True, page.definitionEntry) &&
        passesPolarRule(page.place2, definition.bearing2True, page.definitionEntry)) {
        const std::string name = page.nextPointName(PointFamily::RadialIntersection);
        page.point = makeRadialIntersectionPoint(name, page.place1, definition.bearing1,
                                                 definition.bearing1True, page.place2,
                                                 definition.bearing2, definition.bearing2True);
        if (page.point.isDefined()) {
            fms.pilotPoints().add(page.point);
            enterDefinedPoint(name);
        } else {
            fms.setScratchpad(page.definitionEntry);
            fms.showMessage("RADIALS DO NOT INTERSECT", 0);
        }
    }
    fms.setPage(cdu_page::kActiveFlightPlan, subPage);
}

void WaypointEntry::enterDefinedPoint(const std::string& ident) {
    if (fms.activeFplPage.destinationPending) {
        enterActiveDestination(ident);
    } else {
        enterWaypoint(fms.activeFplPage.selectedLine, ident);
    }
}

void WaypointEntry::openPlaceSelection(const std::string& ident,
                                       const std::vector<Waypoint>& candidates) {
    ActiveFplPage& page = fms.activeFplPage;
    WptSelectPage& select = fms.wptSelectPage;
    select.setCandidates(ident, candidates);
    select.targetPage = cdu_page::kActiveFlightPlan;
    select.returnPage = cdu_page::kActiveFlightPlan;
    select.targetSubPage = page.subPage;
    select.returnSubPage = page.subPage;
    page.definitionPending = true;
    fms.setPage(cdu_page::kWaypointsSelect, 1);
}

bool WaypointEntry::createPlaceDistancePoint(FlightPlan& plan, const std::string& ident,
                                             double distance) {
    const int32_t line = fms.activeFplPage.selectedLine;
    const auto legs = static_cast<int32_t>(plan.legCount());
    // The selected line already counts from the origin: adding the active leg to it again
    // would refuse every point on the later lines of a plan in flight.
    if (line <= 0 || line > legs || !plan.hasOriginAndDestination() || distance == 0.0) {
        return false;
    }
    const FlightPlanLeg& atFix = plan.legs[static_cast<std::size_t>(line - 1)];
    if (!atFix.hasNamedFix() || atFix.wpt.ident != ident) {
        return false;
    }
    Waypoint from;
    Waypoint to;
    double fraction = 0.0;
    int32_t position = 0;
    if (distance > 0.0) {
        if (line >= legs) {
            return false;
        }
        const FlightPlanLeg& next = plan.legs[static_cast<std::size_t>(line)];
        if (!next.hasNamedFix() || next.distance == 0.0) {
            return false;
        }
        fraction = distance / next.distance;
        from = atFix.wpt;
        to = next.wpt;
        position = line;
    } else {
        if (static_cast<int32_t>(plan.activeLeg) >= line || atFix.distance == 0.0) {
            return false;
        }
        // A distance longer than the leg lies before the leg's start: refused below, never
        // folded back into the leg.
        fraction = (distance + atFix.distance) / atFix.distance;
        from = line == 1 ? plan.org : plan.legs[static_cast<std::size_t>(line - 2)].wpt;
        to = atFix.wpt;
        position = line - 1;
    }
    if (!(fraction > 0.0 && fraction < 1.0)) {
        return false;
    }
    PilotPoint point;
    point.ppType = PilotPointType::PlaceDistance;
    point.ident = fms.activeFplPage.nextPointName(PointFamily::PlaceDistance);
    point.definition = ident + "//" + format("%3.1lf", distance);
    GcNav(from.latitude, from.longitude)
        .intermediatePoint(to.latitude, to.longitude, fraction, point.latitude, point.longitude);
    fms.pilotPoints().add(point);
    return plan.insertWaypoint(point, static_cast<std::size_t>(position), false, fms.planContext());
}

bool WaypointEntry::enterPatternKeyword(const std::string& entry) {
    FlightPlan& plan = ActiveFplPage::planAt(fms.activeFplPage.shownPlan());
    const int32_t line = fms.activeFplPage.selectedLine;
    const auto legs = static_cast<int32_t>(plan.legCount());
    const auto active = static_cast<int32_t>(plan.activeLeg);
    if ((line == active && entry != "*HOLD*") || legs <= active || !isPatternKeyword(entry)) {
        return false;
    }
    // Only the hold at the present position, from the FROM line, is built on a point of its
    // own. Elsewhere the line must name a fix: the destination line, a line past the legs or a
    // discontinuity would open the pattern on a blank fix at 0N 0E.
    const bool presentPosition = line == active;
    if (!presentPosition &&
        (line <= 0 || line > legs || !plan.legs[static_cast<std::size_t>(line - 1)].isFixLeg())) {
        return false;
    }
    tempLeg = FlightPlanLeg();
    FlightPlanLeg& leg = presentPosition ? tempLeg : plan.legs[static_cast<std::size_t>(line - 1)];
    if (isArcLeg(leg)) {
        fms.showMessage(kInvalidEntry, 0);
        return false;
    }
    const bool orbit = leg.orbit.active;
    const bool hold = leg.holding.active != 0;
    const bool procedureTurn = leg.pcdrTurn.active != 0;
    if (entry == "*FLYOVER*") {
        if (orbit || hold || procedureTurn) {
            return false;
        }
        leg.trmLeg.flyOver = true;
        plan.recalculate(fms.planContext());
        return true;
    }
    if (entry == "*RADIAL*") {
        fms.setPage(cdu_page::kRadial, 1);
        return true;
    }
    if (entry == "*ORBIT*") {
        if (hold || procedureTurn) {
            return false;
        }
        fms.setPage(cdu_page::kOrbit, 1);
        return true;
    }
    if (entry == "*HOLD*") {
        return !orbit && !procedureTurn && applyHold(plan, leg);
    }
    if (entry == "*PCDR TURN*") {
        return !orbit && !hold && applyProcedureTurn(leg);
    }
    return applyIntercept(plan, line);
}

double WaypointEntry::holdAltitude(const FlightPlan& plan, const FlightPlanLeg& leg) const {
    const bool shown = plan.isBeforeRouteEnd() && fms.perfInit.initialised;
    const bool constrained = leg.vnav.kind != 0 || leg.vnav.hasAltitude;
    return shown || constrained ? leg.vnav.altitude : 0.0;
}

// The hold of the line's leg is prepared when it is new and shown on HOLDING PATTERN; on the
// line of the leg just flown it is a hold at the present position, built on the scratch leg.
bool WaypointEntry::applyHold(FlightPlan& plan, FlightPlanLeg& leg) {
    HoldingPattern& holding = leg.holding;
    if (holding.active == 0) {
        // Laid out for the speed it will be flown at, as the recalculation lays it out: the
        // page shows the pattern LNAV flies.
        holding.holdSpeed = leg.holdingTrueAirspeed(fms.planContext().altitude());
        holding.lengthByTime = 1;
        holding.legTimeMin =
            holdAltitude(plan, leg) >= kHighHoldAltitude ? kHighHoldMinutes : kLowHoldMinutes;
        holding.legLength = holding.holdSpeed / kMinutesPerHour * holding.legTimeMin;
        holding.inboundCourse = leg.course;
        holding.inboundCourseMagnetic = leg.magneticCourse();
    }
    fms.setPage(cdu_page::kHoldingPattern, 1);
    return true;
}

bool WaypointEntry::applyProcedureTurn(FlightPlanLeg& leg) {
    ProcedureTurn& turn = leg.pcdrTurn;
    turn.modified = 0;
    if (turn.active != 0 && turn.procedureTurnPhase != 0) {
        fms.showMessage(kInvalidEntry, 0);
        return false;
    }
    if (turn.active == 0) {
        turn.timeMode = 1;
        turn.speed = kProcedureTurnSpeed;
        turn.modified = 1;
        turn.outboundTime = kProcedureTurnMinutes;
        turn.outboundDistance = kProcedureTurnDistance;
    }
    turn.magneticCourse = leg.magneticCourse();
    turn.trueCourse = leg.course;
    fms.setPage(cdu_page::kProcedureTurn, 1);
    return true;
}

bool WaypointEntry::applyIntercept(const FlightPlan& plan, int32_t line) {
    const auto legs = static_cast<int32_t>(plan.legCount());
    const auto isFixLegAt = [&](int32_t index) {
        return plan.legs[static_cast<std::size_t>(index)].isFixLeg();
    };
    if (line <= 0 || line > legs || !isFixLegAt(line - 1) || (line > 1 && !isFixLegAt(line - 2))) {
        fms.showMessage(kInvalidEntry, 0);
        return false;
    }
    fms.setPage(cdu_page::kIntercept, 1);
    return true;
}

} // namespace tavi
