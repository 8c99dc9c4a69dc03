// The recalculation of a plan: each leg's fix, course, distance, speed and time, then the paths
// and the totals; and the marker points the predictions place along the route.
#include "avionics/AirData.h"
#include "core/Angles.h"
#include "fms/FlightPlan.h"
#include "fms/FlightPlanContext.h"
#include "fms/LegPathBuilder.h"
#include "navdata/GcNav.h"
#include "navdata/Nav.h"

#include <algorithm>
#include <cmath>

namespace tavi {

namespace {

constexpr double kSecondsPerHour = 3600.0;
// Length of a heading leg without a distance of its own, nm.
constexpr double kDefaultHeadingLegLength = 5.0;
// A leg's path is built again once the speed it will be flown at moves this far (kt).
constexpr double kSpeedChangeForNewPath = 5.0;
// Speed limits of the procedure legs (kt) and the band above the origin (ft) they hold in.
constexpr double kApproachSpeed = 150.0;
constexpr double kDepartureSpeedLimit = 180.0;
constexpr double kApproachTransitionSpeedLimit = 200.0;
constexpr int32_t kProcedureSpeedBand = 4000;

// The track on which a leg reaches its fix, taken this far along it: far from the equator a
// long leg's initial course is tens of degrees off it.
constexpr double kArrivalCourseFraction = 0.999;

double trackAtFix(const Waypoint& from, const Waypoint& fix, double initialCourse) {
    if (GcNav::distanceBetween(from.latitude, from.longitude, fix.latitude, fix.longitude) <= 0.0) {
        return initialCourse;
    }
    return GcNav::courseAtFractionBetween(from.latitude, from.longitude, fix.latitude,
                                          fix.longitude, kArrivalCourseFraction);
}

bool isMarkerCounted(const FlightPlanLeg& leg) {
    return !leg.isDiscontinuity() && !leg.isManualTermination();
}

void pointInPiece(const PathSegment& piece, double fraction, double& latitude, double& longitude) {
    if (piece.turnDirection == kSegmentStraight) {
        GcNav(piece.startLatitude, piece.startLongitude)
            .intermediatePoint(piece.endLatitude, piece.endLongitude, fraction, latitude,
                               longitude);
        return;
    }
    GcNav(piece.centreLatitude, piece.centreLongitude)
        .destination(normalize360(piece.startBearing + fraction * piece.sweep), piece.radius,
                     latitude, longitude);
}

} // namespace

void FlightPlan::recalculate(const FlightPlanContext& context) {
    if (locked) {
        return;
    }
    recalculated = true;
    totalDistance = 0.0;
    timeToGo = 0.0;
    if (!hasOriginAndDestination()) {
        return;
    }
    updateConstraints(context);
    if (legs.empty()) {
        totalDistance =
            GcNav::distanceBetween(org.latitude, org.longitude, dest.latitude, dest.longitude);
        if (gspd > 0) {
            timeToGo = totalDistance / gspd * kSecondsPerHour;
        }
    } else {
        for (std::size_t i = 0; i < legs.size(); ++i) {
            computeLeg(i, context);
        }
        LegPathBuilder(*this, context).build();
    }
    updateTotals();
    findNextFixLeg(nextFixOffset);
}

void FlightPlan::computeLeg(std::size_t i, const FlightPlanContext& context) {
    FlightPlanLeg& leg = legs[i];
    if (leg.temperature <= kNoTemperature) {
        leg.temperature = static_cast<int32_t>(
            std::trunc(isaTemperatureClamped(static_cast<float>(leg.vnav.altitude))));
    }
    if (leg.temperatureAltitude < 0) {
        leg.temperatureAltitude = leg.vnav.altitude;
    }
    const Waypoint& previousFix = i == 0 ? org : legs[i - 1].wpt;
    if (!leg.isFixLeg()) {
        leg.wpt.latitude = previousFix.latitude;
        leg.wpt.longitude = previousFix.longitude;
    }
    if (leg.startKind == kStartIntercept) {
        if (i == 0 || legs[i - 1].isManualTermination()) {
            return;
        }
        leg.startKind = kStartFromPreviousFix;
        leg.src = Waypoint();
    }
    const Waypoint from = fromWaypoint(i);
    leg.speed = flownSpeed(i, context);
    const GcNav start(from.latitude, from.longitude);
    if (leg.isHoldLeg()) {
        leg.distance = start.distanceTo(leg.wpt.latitude, leg.wpt.longitude);
        leg.course = start.courseTo(leg.wpt.latitude, leg.wpt.longitude);
        layOutHold(i, context);
    } else if (leg.leadsToProcedureTurnPoint() && i > 0) {
        const FlightPlanLeg& previous = legs[i - 1];
        ProcedureTurn& turn = leg.pcdrTurn;
        turn.speed = leg.speed;
        // Outbound on the track the previous leg reaches the fix on, not its initial course.
        turn.trueCourse =
            normalize360(trackAtFix(fromWaypoint(i - 1), previous.wpt, previous.course));
        turn.magneticCourse = normalize360(turn.trueCourse - previous.wpt.variation);
        turn.compute(previous.wpt.latitude, previous.wpt.longitude);
        leg.wpt.latitude = turn.pointLatitudes[ProcedureTurn::kMinuteBeyond];
        leg.wpt.longitude = turn.pointLongitudes[ProcedureTurn::kMinuteBeyond];
        leg.wpt.variation = context.magneticVariation(leg.wpt.latitude, leg.wpt.longitude);
        // The outbound part is a leg of its own: without its length and course LNAV would steer
        // 000 and sequence it at once.
        const GcNav fix(previous.wpt.latitude, previous.wpt.longitude);
        leg.distance = fix.distanceTo(leg.wpt.latitude, leg.wpt.longitude);
        leg.course = fix.courseTo(leg.wpt.latitude, leg.wpt.longitude);
    } else if (leg.isManualTermination()) {
        if (leg.trmLeg.distance == 0.0f && !leg.manualTermination) {
            leg.trmLeg.distance = static_cast<float>(kDefaultHeadingLegLength);
        }
        leg.wpt.variation = previousFix.variation;
        leg.distance = leg.trmLeg.distance;
        // The heading leg's course is its desired track: without it LNAV would show 000.
        leg.course = normalize360(leg.trmLeg.course + previousFix.variation);
        GcNav(previousFix.latitude, previousFix.longitude)
            .destination(leg.course, leg.distance, leg.wpt.latitude, leg.wpt.longitude);
    } else {
        leg.distance = start.distanceTo(leg.wpt.latitude, leg.wpt.longitude);
        leg.course = start.courseTo(leg.wpt.latitude, leg.wpt.longitude);
    }
    updateLegTime(i);
}

void FlightPlan::layOutHold(std::size_t index, const FlightPlanContext& context) {
    FlightPlanLeg& leg = legs[index];
    leg.holding.holdSpeed = leg.holdingTrueAirspeed(context.altitude());
    // The entry is chosen from this pass's track at the fix, not from the course the leg had
    // before nor from its initial course.
    leg.holding.compute(leg.wpt.latitude, leg.wpt.longitude,
                        trackAtFix(fromWaypoint(index), leg.wpt, leg.course));
}

void FlightPlan::updateLegTime(std::size_t index) {
    FlightPlanLeg& leg = legs[index];
    if (leg.tfd.time > 0.0f || index < activeLeg) {
        leg.legTime = leg.tfd.time;
    } else {
        leg.legTime = leg.speed > 0.0 ? leg.distance / leg.speed * kSecondsPerHour : 0.0;
    }
}

// The turns and the time of a leg are built for the speed it will be flown at: a path built for
// another speed puts its fly-by turns and holds where the aircraft cannot follow them.
double FlightPlan::flownSpeed(std::size_t index, const FlightPlanContext& context) const {
    const FlightPlanLeg& leg = legs[index];
    const double altitude = leg.flownAltitude(context.altitude());
    const bool confirmed = context.performanceConfirmed();
    if (confirmed) {
        if (const double command = context.legSpeedCommand(*this, index); command > 0.0) {
            return trueAirspeedFromCas(command, altitude);
        }
    }
    if (leg.vnav.hasSpeed && leg.vnav.speed > 0) {
        return trueAirspeedFromCas(leg.vnav.speed, altitude);
    }
    return procedureLimitedSpeed(leg, confirmed ? leg.speed : gspd, confirmed);
}

void FlightPlan::followFlownSpeeds(const FlightPlanContext& context) {
    if (locked || !flownSpeedsChanged(context)) {
        return;
    }
    for (std::size_t i = activeLeg; i < legs.size(); ++i) {
        legs[i].speed = flownSpeed(i, context);
        if (legs[i].isHoldLeg()) {
            layOutHold(i, context);
        }
        updateLegTime(i);
    }
    LegPathBuilder(*this, context).build();
}

bool FlightPlan::flownSpeedsChanged(const FlightPlanContext& context) const {
    for (std::size_t i = activeLeg; i < legs.size(); ++i) {
        const FlightPlanLeg& leg = legs[i];
        const bool holdChanged =
            leg.isHoldLeg() && std::fabs(leg.holdingTrueAirspeed(context.altitude()) -
                                         leg.holding.holdSpeed) > kSpeedChangeForNewPath;
        if (holdChanged || std::fabs(flownSpeed(i, context) - leg.speed) > kSpeedChangeForNewPath) {
            return true;
        }
    }
    return false;
}

// Approach legs fly 150 kt until the performance is initialised; departure and approach
// transition legs are held back near the origin.
double FlightPlan::procedureLimitedSpeed(const FlightPlanLeg& leg, double speed,
                                         bool confirmed) const {
    const int32_t proc = leg.proc();
    if (proc == kProcApproach && !confirmed) {
        return kApproachSpeed;
    }
    if (static_cast<int64_t>(leg.vnav.altitude) - org.elevation >= kProcedureSpeedBand &&
        confirmed) {
        return speed;
    }
    if (proc == kProcApproachTransition) {
        return std::min(speed, kApproachTransitionSpeedLimit);
    }
    if (proc == kProcSid || proc == kProcMissedApproach) {
        return std::min(speed, kDepartureSpeedLimit);
    }
    return speed;
}

void FlightPlan::placeMarker(double distance, const std::string& name) {
    if (distance < 0.0) {
        return;
    }
    double legStart = 0.0;
    for (std::size_t i = 0; i < legs.size(); ++i) {
        const FlightPlanLeg& leg = legs[i];
        if (!isMarkerCounted(leg)) {
            continue;
        }
        if (legStart + leg.distance < distance) {
            legStart += leg.distance;
            continue;
        }
        const double along = distance - legStart;
        const double fraction = leg.distance > 0.0 ? along / leg.distance : 0.0;
        if (fraction <= 0.0 || fraction >= 1.0 || !leg.isFixLeg()) {
            return;
        }
        PilotPoint marker;
        marker.ident = name;
        pointAlongLeg(i, along, marker.latitude, marker.longitude);
        legs[i].markers.push_back(marker);
        return;
    }
}

void FlightPlan::pointAlongLeg(std::size_t index, double along, double& latitude,
                               double& longitude) const {
    const FlightPlanLeg& leg = legs[index];
    if (leg.path.empty()) {
        const Waypoint from = fromWaypoint(index);
        GcNav(from.latitude, from.longitude)
            .intermediatePoint(leg.wpt.latitude, leg.wpt.longitude, along / leg.distance, latitude,
                               longitude);
        return;
    }
    double remaining = along;
    for (const PathSegment& piece : leg.path) {
        const double length = piece.length();
        if (remaining <= length && length > 0.0) {
            pointInPiece(piece, remaining / length, latitude, longitude);
            return;
        }
        remaining -= length;
    }
    latitude = leg.path.back().endLatitude;
    longitude = leg.path.back().endLongitude;
}

} // namespace tavi
