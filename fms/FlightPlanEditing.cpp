// The edits of a flight plan and the tidy rules every edit runs.
#include "fms/FlightPlan.h"
#include "fms/FlightPlanContext.h"
#include "navdata/GcNav.h"

namespace tavi {

namespace {

constexpr double kMetresPerFoot = 0.305;
constexpr double kMetresPerNm = 1852.0;
constexpr char kMissedApproachLegVia[] = "MISSED APPRCH";

FlightPlanLeg legTo(const Waypoint& fix) {
    FlightPlanLeg leg;
    leg.wpt = fix;
    return leg;
}

FlightPlanLeg discontinuityLeg() {
    FlightPlanLeg leg;
    leg.setDiscontinuity(true);
    return leg;
}

// An entry of a fix further down the route goes direct to it, erasing the legs before it. A
// point the pilot has just defined on top of one in the route is a new point all the same:
// only its own name goes direct.
bool goesDirectTo(const FlightPlanLeg& ahead, const FlightPlanLeg& added) {
    return ahead.sameFixAs(added) &&
           (!added.wpt.isTemporary() || ahead.wpt.ident == added.wpt.ident);
}

} // namespace

void FlightPlan::eraseLegs(std::size_t first, std::size_t last) {
    if (first >= last || last > legs.size()) {
        return;
    }
    if (activeLeg >= last) {
        activeLeg -= static_cast<uint32_t>(last - first);
    } else if (activeLeg > first) {
        activeLeg = static_cast<uint32_t>(first);
    }
    legs.erase(legs.begin() + static_cast<std::ptrdiff_t>(first),
               legs.begin() + static_cast<std::ptrdiff_t>(last));
    activeLeg = std::min(activeLeg, static_cast<uint32_t>(legs.size()));
}

void FlightPlan::insertLegs(std::size_t at, const std::vector<FlightPlanLeg>& added) {
    if (at < activeLeg) {
        activeLeg += static_cast<uint32_t>(added.size());
    }
    legs.insert(legs.begin() + static_cast<std::ptrdiff_t>(at), added.begin(), added.end());
}

void FlightPlan::insertLeg(std::size_t at, const FlightPlanLeg& leg) {
    insertLegs(at, {leg});
}

void FlightPlan::setOrigin(const Waypoint& waypoint, const FlightPlanContext& context) {
    org = waypoint;
    recalculate(context);
}

void FlightPlan::setDestination(const Waypoint& waypoint, const FlightPlanContext& context) {
    dest = waypoint;
    recalculate(context);
}

void FlightPlan::setOriginRunway(const Runway& runway, const FlightPlanContext& context) {
    orgRwy = runway;
    org = runway;
    const double length = runway.length * kMetresPerFoot / kMetresPerNm;
    GcNav(runway.latitude, runway.longitude)
        .destination(runway.trueHeading, length, org.latitude, org.longitude);
    recalculate(context);
}

void FlightPlan::setDestinationRunway(const Runway& runway, const FlightPlanContext& context) {
    destRwy = runway;
    dest = runway;
    recalculate(context);
}

void FlightPlan::setGroundSpeed(uint32_t knots, const FlightPlanContext& context) {
    gspd = knots;
    recalculate(context);
}

bool FlightPlan::insertWaypoint(const Waypoint& waypoint, std::size_t index, bool withDiscontinuity,
                                const FlightPlanContext& context) {
    if (index > legs.size()) {
        return false;
    }
    FlightPlanLeg added = legTo(waypoint);
    if (legs.empty()) {
        legs.push_back(added);
    } else {
        for (std::size_t j = index + 1; j < legs.size(); ++j) {
            if (goesDirectTo(legs[j], added)) {
                eraseLegs(index, j);
                removeRedundantLegs(context);
                recalculate(context);
                return true;
            }
        }
        const bool nextToCopy =
            (index == 0 && legs[0].sameFixAs(added)) ||
            (index > 0 && index < legs.size() &&
             (legs[index].sameFixAs(added) || legs[index - 1].sameFixAs(added)));
        if (nextToCopy) {
            return false;
        }
        if (index > 0 &&
            (legs[index - 1].proc() == kProcStar || legs[index - 1].proc() == kProcApproach)) {
            added.trmLeg.proc = legs[index - 1].proc();
        } else if (index == 0 && legs[0].proc() == kProcSid) {
            added.trmLeg.proc = kProcSid;
        }
        const bool appended = index == legs.size();
        insertLeg(index, added);
        if (withDiscontinuity && !appended) {
            insertDiscontinuity(index + 1, false, context);
        }
    }
    removeRedundantLegs(context);
    recalculate(context);
    return true;
}

bool FlightPlan::insertWaypoints(std::size_t index, const std::string& via,
                                 const std::vector<Waypoint>& points,
                                 const FlightPlanContext& context) {
    if (index > legs.size()) {
        return false;
    }
    const int32_t proc = index < legs.size() ? legs[index].proc() : kProcRoute;
    std::vector<FlightPlanLeg> added;
    for (const Waypoint& point : points) {
        FlightPlanLeg leg = legTo(point);
        leg.via = via;
        leg.trmLeg.proc = proc;
        added.push_back(leg);
    }
    added.push_back(discontinuityLeg());
    insertLegs(index, added);
    removeRedundantLegs(context);
    recalculate(context);
    return true;
}

bool FlightPlan::insertDiscontinuity(std::size_t index, bool recalculateAfter,
                                     const FlightPlanContext& context) {
    if (index > legs.size()) {
        return false;
    }
    insertLeg(index, discontinuityLeg());
    if (recalculateAfter) {
        recalculate(context);
    }
    return true;
}

bool FlightPlan::directTo(const Waypoint& target, const FlightPlanContext& context) {
    if (legs.empty()) {
        return false;
    }
    Waypoint start;
    start.kind = WaypointKind::DatabaseWaypoint;
    start.ident = "DIRECT";
    start.latitude = context.presentLatitude();
    start.longitude = context.presentLongitude();
    start.variation = context.magneticVariation(start.latitude, start.longitude);
    start.elevation = static_cast<int32_t>(context.altitude());

    std::size_t found = legs.size();
    for (std::size_t k = activeLeg; k < legs.size(); ++k) {
        if (sameIdentity(legs[k].wpt, target)) {
            found = k;
            break;
        }
    }
    const bool inPlan = found < legs.size();
    if (inPlan) {
        if (!legs[found].isFixLeg()) {
            return false;
        }
        eraseLegs(activeLeg, found);
    } else if (!insertWaypoint(target, activeLeg, true, context) || activeLeg >= legs.size() ||
               !legs[activeLeg].isFixLeg()) {
        return false;
    }
    FlightPlanLeg& active = legs[activeLeg];
    active.src = start;
    active.startKind = kStartDirectTo;
    active.trmLeg.legType = TerminalLegType::TF;
    active.holding.enteredTime = context.simTimeMs();
    if (inPlan) {
        removeRedundantLegs(context);
    }
    orbit.entered = false;
    orbit.active = false;
    pcdrTurn.passed = 0;
    pcdrTurn.active = 0;
    recalculate(context);
    return true;
}

bool FlightPlan::deleteLeg(std::size_t index, const FlightPlanContext& context) {
    if (index >= legs.size()) {
        return false;
    }
    eraseLegs(index, index + 1);
    removeRedundantLegs(context);
    recalculate(context);
    return true;
}

void FlightPlan::removeProcedureTurnLegs(std::size_t fixIndex, std::vector<Waypoint>& removed,
                                         const FlightPlanContext& context) {
    const std::size_t point = fixIndex + 1;
    const std::size_t fixCopy = fixIndex + 2;
    if (fixCopy >= legs.size() || !legs[point].leadsToProcedureTurnPoint() ||
        !legs[fixCopy].sameFixAs(legs[fixIndex])) {
        return;
    }
    removed.push_back(legs[fixCopy].wpt);
    removed.push_back(legs[point].wpt);
    // The copy first: without the point between them the two copies of the fix would be taken
    // for a repeated leg and one of them tidied away.
    deleteLeg(fixCopy, context);
    deleteLeg(point, context);
}

void FlightPlan::removeRedundantLegs(const FlightPlanContext& context) {
    if (locked) {
        return;
    }
    if (legs.size() > 1) {
        for (std::size_t i = 0; i + 1 < legs.size(); ++i) {
            if (legs[i].sameFixAs(legs[i + 1])) {
                eraseLegs(i, i + 1);
                break;
            }
        }
    }
    if (legs.size() > 2) {
        for (std::size_t i = 0; i + 2 < legs.size(); ++i) {
            if (legs[i].wpt.samePosition(legs[i + 2].wpt) && !legs[i + 1].isFixLeg()) {
                eraseLegs(i, i + 2);
                break;
            }
        }
    }
    if (!legs.empty() && legs.back().isDiscontinuity()) {
        deleteLeg(legs.size() - 1, context);
    }
}

void FlightPlan::removeDeparture(const FlightPlanContext& context) {
    const std::size_t end = departureEnd();
    const std::size_t active = activeLeg;
    const bool airborne = context.airborne();
    if (!airborne && end > active) {
        eraseLegs(active, end);
    } else if (airborne && (end > active + 1 || end <= active)) {
        eraseLegs(active + 1, std::max(end, active + 1));
        if (insertDiscontinuity(active + 1, false, context)) {
            legs[active + 1].trmLeg.proc = kProcSid;
        }
    }
    recalculate(context);
}

std::size_t FlightPlan::arrivalSearchStart(const FlightPlanContext& context) const {
    return context.airborne() && activeLeg < legs.size() ? activeLeg + 1 : activeLeg;
}

// A leg of the approach or of the arrival at the destination airport. An empty airport ident
// names no airport.
bool FlightPlan::isArrivalLeg(const FlightPlanLeg& leg) const {
    return leg.proc() >= kProcApproach || sameIdentity(leg.wpt, dest) ||
           leg.wpt.kind == WaypointKind::Runway || leg.via == kMissedApproachLegVia ||
           (!dest.aptIdent.empty() && leg.wpt.aptIdent == dest.aptIdent);
}

std::size_t FlightPlan::removeStarLegs(const FlightPlanContext& context) {
    std::size_t first = legs.size();
    std::size_t last = legs.size();
    for (std::size_t i = arrivalSearchStart(context); i < legs.size(); ++i) {
        if (legs[i].proc() == kProcStar) {
            if (first == legs.size()) {
                first = i;
            }
            last = i;
        } else if (first == legs.size() && isArrivalLeg(legs[i])) {
            eraseLegs(i, i + 1);
            return i;
        }
    }
    if (first == legs.size()) {
        return legs.size();
    }
    eraseLegs(first, last + 1);
    return first;
}

std::size_t FlightPlan::removeApproachLegs(const FlightPlanContext& context) {
    std::size_t first = legs.size();
    std::size_t last = legs.size();
    for (std::size_t i = arrivalSearchStart(context); i < legs.size(); ++i) {
        if (isArrivalLeg(legs[i])) {
            if (first == legs.size()) {
                first = i;
            }
            last = i;
        }
    }
    if (first == legs.size()) {
        return legs.size();
    }
    eraseLegs(first, last + 1);
    return first;
}

void FlightPlan::joinDepartureToRoute(const FlightPlanContext& context) {
    removeRedundantLegs(context);
    if (legs.size() <= 2) {
        return;
    }
    for (std::size_t i = activeLeg + 1; i + 1 < legs.size(); ++i) {
        if (legs[i].isDiscontinuity() && legs[i - 1].sameFixAs(legs[i + 1]) &&
            legs[i - 1].proc() == kProcSid && legs[i + 1].proc() != kProcSid) {
            eraseLegs(i, i + 2);
            return;
        }
    }
}

void FlightPlan::joinRouteToArrival(const FlightPlanContext& context) {
    removeRedundantLegs(context);
    if (legs.size() <= 2) {
        return;
    }
    for (std::size_t i = activeLeg + 1; i + 1 < legs.size(); ++i) {
        const int32_t next = legs[i + 1].proc();
        if (legs[i].isDiscontinuity() && legs[i - 1].sameFixAs(legs[i + 1]) &&
            legs[i - 1].proc() == kProcRoute &&
            (next == kProcStar || next == kProcApproach || next == kProcApproachTransition)) {
            eraseLegs(i - 1, i + 1);
            return;
        }
    }
}

void FlightPlan::clear(const FlightPlanContext& context) {
    eraseLegs(0, legs.size());
    setOrigin(Waypoint(), context);
    setDestination(Waypoint(), context);
    planName.clear();
    distanceFlown = 0.0;
    gspd = 250;
    takeoffEndFuel = 0.0f;
    predictedEndFuel = 0.0f;
    activeLeg = 0;
}

} // namespace tavi
