#include "fms/FlightPlanLeg.h"

#include "core/Angles.h"
#include "fms/FlightPlanContext.h"
#include "navdata/GeoAngles.h"
#include "navdata/RhumbNav.h"

#include <cmath>

namespace tavi {

namespace {

// How far behind the fix an intercept course starts, nm.
constexpr double kInterceptReach = 1000.0;

} // namespace

bool FlightPlanLeg::isArcLeg() const {
    return legType() == TerminalLegType::AF || legType() == TerminalLegType::RF;
}

bool FlightPlanLeg::isDiscontinuity() const {
    return discontinuity || legType() == TerminalLegType::DS;
}

bool FlightPlanLeg::isHoldLeg() const {
    const TerminalLegType type = legType();
    return type == TerminalLegType::HA || type == TerminalLegType::HF ||
           type == TerminalLegType::HM || holding.active != 0;
}

bool FlightPlanLeg::isProcedureTurnLeg() const {
    return legType() == TerminalLegType::PI || pcdrTurn.active != 0;
}

bool FlightPlanLeg::isManualTermination() const {
    return legType() == TerminalLegType::FM || legType() == TerminalLegType::VM ||
           manualTermination;
}

bool FlightPlanLeg::isFixLeg() const {
    return !isDiscontinuity() && hasFix() && !isManualTermination();
}

bool FlightPlanLeg::hasNamedFix() const {
    return !isDiscontinuity() && hasFix() && (wpt.ident.empty() || wpt.ident.front() != '(');
}

double FlightPlanLeg::magneticCourse() const {
    return normalize360(course - wpt.variation);
}

void FlightPlanLeg::setDiscontinuity(bool flag) {
    discontinuity = flag;
    if (flag) {
        vnav = LegConstraints();
        trmLeg.legType = TerminalLegType::DS;
    }
}

bool FlightPlanLeg::sameFixAs(const FlightPlanLeg& other) const {
    const bool thisBreak = isDiscontinuity();
    const bool otherBreak = other.isDiscontinuity();
    if (thisBreak && otherBreak) {
        return true;
    }
    if (!hasFix() && !other.hasFix()) {
        return true;
    }
    if (thisBreak != otherBreak) {
        return false;
    }
    if (!isHoldLeg() && other.isHoldLeg()) {
        return sameIdentity(wpt, other.wpt);
    }
    return sameIdentity(wpt, other.wpt) || wpt.samePosition(other.wpt);
}

void FlightPlanLeg::setInterceptCourse(double trueCourse, const FlightPlanContext& context) {
    course = trueCourse;
    Waypoint start;
    start.kind = WaypointKind::DatabaseWaypoint;
    start.ident = "INTC";
    start.elevation = static_cast<int32_t>(context.altitude());
    const RhumbNav fix(wpt.latitude, wpt.longitude);
    fix.destination(normalize360(trueCourse + 180.0), kInterceptReach, start.latitude,
                    start.longitude);
    start.variation = context.magneticVariation(start.latitude, start.longitude);
    src = start;
    startKind = kStartIntercept;
    trmLeg.legType = TerminalLegType::TF;
    distance = fix.distanceTo(context.presentLatitude(), context.presentLongitude());
}

bool sameIdentity(const Waypoint& a, const Waypoint& b) {
    return a.kind != WaypointKind::Plain && a.kind == b.kind && a.ident == b.ident && a.id == b.id;
}

float turnAngle(float fromCourse, float toCourse, int32_t direction) {
    float difference = geo::angleDifference(fromCourse, toCourse);
    if (direction == kTurnRight && difference < 0.0f) {
        difference += 360.0f;
    } else if (direction == kTurnLeft && difference > 0.0f) {
        difference -= 360.0f;
    }
    return difference;
}

} // namespace tavi
