#include "fms/FlightPlanLeg.h"

#include "avionics/AirData.h"
#include "core/Angles.h"
#include "fms/FlightPlanContext.h"
#include "navdata/GeoAngles.h"
#include "navdata/RhumbNav.h"

#include <algorithm>
#include <cmath>

namespace tavi {

namespace {

// How far behind the fix an intercept course starts, nm.
constexpr double kInterceptReach = 1000.0;
// Near a pole the intercept's start stays short of it, and within this far of the fix in
// longitude, so that the line from it to the fix keeps the course.
constexpr double kInterceptLatitudeLimit = 89.5 * kDegToRad;
constexpr double kInterceptLongitudeReach = kPi / 2.0;

double mercatorLatitude(double phi) {
    return std::log(std::tan(kPi / 4.0 + phi / 2.0));
}

// How far back from a fix at the latitude the intercept on the rhumb course may start, nm: the
// full reach, or less where the line would pass a pole or wind round it, which turns the course
// from the start to the fix round and the cross-track with it.
double interceptReach(double latitude, double course) {
    const double phi = latitude * kDegToRad;
    const double northward = std::cos(course * kDegToRad);
    double reach = kInterceptReach;
    const auto limit = [&reach](double radians) {
        if (radians > 0.0) {
            reach = std::min(reach, radians * kEarthRadiusNm);
        }
    };
    if (std::fabs(northward) < kGeoSqrtEpsilon) {
        limit(kInterceptLongitudeReach * std::cos(phi));
        return reach;
    }
    const double toward = northward > 0.0 ? 1.0 : -1.0;
    limit((toward * kInterceptLatitudeLimit - phi) / northward);
    const double slope = std::max(std::fabs(std::tan(course * kDegToRad)), kGeoSqrtEpsilon);
    const double psi = mercatorLatitude(phi) + toward * kInterceptLongitudeReach / slope;
    limit((2.0 * std::atan(std::exp(psi)) - kPi / 2.0 - phi) / northward);
    return reach;
}

} // namespace

bool FlightPlanLeg::isArcLeg() const {
    return legType() == TerminalLegType::AF || legType() == TerminalLegType::RF;
}

bool FlightPlanLeg::isHeadingLeg() const {
    const TerminalLegType type = legType();
    return type >= TerminalLegType::VA && type <= TerminalLegType::VR;
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

bool FlightPlanLeg::leadsToProcedureTurnPoint() const {
    if (legType() == TerminalLegType::PI) {
        return true;
    }
    const bool atTurnFix = wpt.latitude == pcdrTurn.pointLatitudes[ProcedureTurn::kFix] &&
                           wpt.longitude == pcdrTurn.pointLongitudes[ProcedureTurn::kFix];
    return pcdrTurn.active != 0 && !atTurnFix;
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

double FlightPlanLeg::flownAltitude(double presentAltitude) const {
    return vnav.altitude > 0 ? static_cast<double>(vnav.altitude) : presentAltitude;
}

double FlightPlanLeg::holdingTrueAirspeed(double presentAltitude) const {
    const double indicated = vnav.hasSpeed && vnav.speed > 0
                                 ? static_cast<double>(vnav.speed)
                                 : static_cast<double>(holding.defaultSpeed);
    return trueAirspeedFromCas(indicated, flownAltitude(presentAltitude));
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
    const double reciprocal = normalize360(trueCourse + 180.0);
    fix.destination(reciprocal, interceptReach(wpt.latitude, reciprocal), start.latitude,
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
