// The conversion of procedure records into flight-plan legs.
#include "fms/ProcedureLegConverter.h"

#include "avionics/Adc.h"
#include "avionics/AirData.h"
#include "cdu/FmsParser.h"
#include "core/Angles.h"
#include "fms/FlightPlan.h"
#include "fms/FlightPlanContext.h"
#include "fms/GeneratedPointNames.h"
#include "navdata/GcNav.h"
#include "navdata/NavDatabase.h"
#include "navdata/PilotPointStore.h"

#include <cmath>

namespace tavi {

namespace {

using Type = TerminalLegType;

// Definition types of the points the conversion generates.
constexpr int32_t kLatLonPoint = 1;
constexpr int32_t kDistancePoint = 2;
constexpr int32_t kComputedPoint = 5;
constexpr int32_t kAltitudePoint = 6;

constexpr double kNearOriginNm = 0.5;
constexpr double kClimbRateFpm = 2000.0;
constexpr double kTransitionCas = 250.0;
constexpr double kDmeSearchStepNm = 0.25;
constexpr double kDmeToleranceNm = 0.2;
constexpr double kDmeSearchLimitNm = 500.0;
// Half the earth's circumference: no great circle gets further from the navaid.
constexpr double kDmeSearchEndNm = 10800.0;
constexpr double kHoldSpeed = 250.0;
constexpr double kProcedureTurnSpeed = 200.0;
constexpr int32_t kProcedureTurnSpeedLimit = 170;
constexpr int32_t kApproachSpeedLimit = 150;
constexpr int32_t kRunwayCrossingHeight = 50;
constexpr float kFlyOverAngle = 10.0f;
constexpr float kEnteredAngle = 1.0f;
constexpr char kMissedApproachPoint[] = "MAP";
constexpr char kVectorsIdent[] = "(VECTORS)";
constexpr char kCourseStartIdent[] = "SRC";

bool isOneOf(Type type, std::initializer_list<Type> types) {
    for (Type candidate : types) {
        if (type == candidate) {
            return true;
        }
    }
    return false;
}

// The true airspeed of 250 kt calibrated at the altitude in the standard atmosphere.
double transitionSpeed(double feet) {
    return Adc::groundSpeedFromCas(kTransitionCas, feet,
                                   isaTemperatureClamped(static_cast<float>(feet)), 0.0, 0.0, 0.0);
}

void limitSpeed(FlightPlanLeg& leg, int32_t knots) {
    leg.vnav.speed = knots;
    leg.vnav.mach = 0.0f;
    leg.vnav.hasSpeed = true;
}

} // namespace

ConversionResult ProcedureLegConverter::convert(const std::vector<TerminalLeg>& records,
                                                std::size_t position, std::size_t index,
                                                const ProcedureJob& job) const {
    Step step{records, position, index, job, records[position]};
    switch (step.record.legType) {
    case Type::AF:
    case Type::CF:
    case Type::DF:
    case Type::IF:
    case Type::RF:
    case Type::TF:
        return fixRule(step);
    case Type::CA:
    case Type::FA:
    case Type::VA:
        return altitudeRule(step);
    case Type::CD:
    case Type::FD:
    case Type::VD:
        return dmeRule(step);
    case Type::CI:
    case Type::VI:
        return interceptRule(step);
    case Type::CR:
    case Type::VR:
        return radialRule(step);
    case Type::FC:
        return distanceRule(step);
    case Type::FM:
    case Type::VM:
        return vectorsRule(step);
    case Type::HA:
    case Type::HF:
    case Type::HM:
        return holdRule(step);
    case Type::PI:
        return procedureTurnRule(step);
    case Type::DS:
        return discontinuityRule(step);
    }
    return {};
}

void ProcedureLegConverter::appendRunwayLeg(FlightPlan& plan, const Runway& runway,
                                            const std::string& via) const {
    const FlightPlanContext& context = environment.context;
    const std::size_t at = plan.legCount();
    if (plan.insertWaypoint(runway, at, false, context) && at < plan.legCount()) {
        FlightPlanLeg& leg = plan.legs[at];
        leg.trmLeg.proc = kProcApproach;
        leg.trmLeg.flyOver = false;
        leg.vnav.altitude = runway.elevation + kRunwayCrossingHeight;
        leg.vnav.hasAltitude = true;
        leg.vnav.kind = kAltitudeAt;
        limitSpeed(leg, kApproachSpeedLimit);
        leg.via = via;
    }
    plan.setDestinationRunway(runway, context);
}

ConversionResult ProcedureLegConverter::fixRule(Step& step) const {
    const TerminalLeg& record = step.record;
    const ProcedureJob& job = step.job;
    FlightPlan& plan = job.plan;
    PilotPoint latLonPoint;
    Waypoint fix;
    const bool fromDatabase = record.fixId != 0;
    if (fromDatabase) {
        environment.database.getWaypointInfo(record.fixId, fix);
    } else {
        latLonPoint = generatedPoint(job.names.nextLatLon(), kLatLonPoint, record.fixLatitude,
                                     record.fixLongitude);
        fix = latLonPoint;
    }
    if (!job.arrival && record.legType == Type::IF &&
        GcNav::distanceBetween(fix.latitude, fix.longitude, plan.org.latitude, plan.org.longitude) <
            kNearOriginNm) {
        return {};
    }
    if ((record.legType == Type::IF || record.legType == Type::TF) && step.index > 0 &&
        sameIdentity(fix, plan.legs[step.index - 1].wpt)) {
        return {};
    }
    const bool missedApproachPoint = job.arrival && record.altitude == kMissedApproachPoint;
    if (missedApproachPoint && fix.samePosition(job.arrivalRunway)) {
        return {};
    }
    if (!fromDatabase && (job.activate || missedApproachPoint)) {
        environment.pilotPoints.add(latLonPoint);
    }
    const bool inserted = plan.insertWaypoint(fix, step.index, false, environment.context);
    if (inserted && record.legType == Type::CF) {
        courseFromFixStart(step);
    }
    if (inserted && record.legType == Type::DF && step.index > 0) {
        plan.legs[step.index - 1].trmLeg.flyOver = true;
    }
    if (missedApproachPoint) {
        const std::size_t runwayLeg = plan.legCount();
        appendRunwayLeg(plan, job.arrivalRunway, job.via);
        return completeAt(step, runwayLeg, inserted);
    }
    return completeAt(step, step.index, inserted);
}

// The start point of a course-to-fix leg, at the leg's distance back from the fix along its
// course; a leg without a distance after a fix leg starts at that fix.
void ProcedureLegConverter::courseFromFixStart(Step& step) const {
    FlightPlan& plan = step.job.plan;
    TerminalLeg record = step.record;
    FlightPlanLeg& leg = plan.legs[step.index];
    const Waypoint& fix = leg.wpt;
    double back = normalize360(record.course + fix.variation + 180.0);
    const bool afterFixLeg = step.index > 0 && plan.legs[step.index - 1].isFixLeg();
    const bool afterIntercept =
        step.position == 0 ||
        isOneOf(step.records[step.position - 1].legType, {Type::CI, Type::VI});
    if (record.distance == 0.0f && afterFixLeg && !afterIntercept) {
        const Waypoint& previous = plan.legs[step.index - 1].wpt;
        record.distance = static_cast<float>(GcNav::distanceBetween(
            previous.latitude, previous.longitude, fix.latitude, fix.longitude));
        if (record.course == 0.0f) {
            back = normalize360(GcNav::courseBetween(previous.latitude, previous.longitude,
                                                     fix.latitude, fix.longitude) +
                                180.0);
        }
    }
    double latitude = 0.0;
    double longitude = 0.0;
    GcNav(fix.latitude, fix.longitude).destination(back, record.distance, latitude, longitude);
    leg.src = generatedPoint(kCourseStartIdent, kDistancePoint, latitude, longitude);
    step.record.distance = record.distance;
}

ConversionResult ProcedureLegConverter::altitudeRule(Step& step) const {
    const TerminalLeg& record = step.record;
    LegConstraints target;
    FmsParser::parseAltitudeConstraint(record.altitude, target.altitude, target.kind);
    const double from = baseAltitude(step);
    const double to = target.altitude;
    const double distance = (transitionSpeed(to) + transitionSpeed(from)) * 0.5 *
                            std::fabs(from - to) / kClimbRateFpm / 60.0;
    const Waypoint start = base(step);
    double latitude = 0.0;
    double longitude = 0.0;
    GcNav(start.latitude, start.longitude)
        .destination(normalize360(record.course + start.variation), distance, latitude, longitude);
    return insertPoint(
        step, generatedPoint(step.job.names.nextAltitude(), kAltitudePoint, latitude, longitude));
}

ConversionResult ProcedureLegConverter::dmeRule(Step& step) const {
    const TerminalLeg& record = step.record;
    const double navaidVariation = variationAt(record.navaidLatitude, record.navaidLongitude);
    const GcNav navaid(record.navaidLatitude, record.navaidLongitude);
    double latitude = 0.0;
    double longitude = 0.0;
    if (record.navaidDistance > 0.0f && record.navaidBearing != 0.0f) {
        navaid.destination(normalize360(navaidVariation + record.navaidBearing),
                           record.navaidDistance, latitude, longitude);
    } else {
        const Waypoint start = base(step);
        const GcNav from(start.latitude, start.longitude);
        const double course = normalize360(record.course + navaidVariation);
        for (double along = kDmeSearchStepNm; along <= kDmeSearchEndNm; along += kDmeSearchStepNm) {
            from.destination(course, along, latitude, longitude);
            const double range = navaid.distanceTo(latitude, longitude);
            if (std::fabs(range - record.navaidDistance) <= kDmeToleranceNm ||
                range > kDmeSearchLimitNm) {
                break;
            }
        }
    }
    return insertPoint(
        step, generatedPoint(step.job.names.nextIntercept(), kComputedPoint, latitude, longitude));
}

// The real position comes from the next leg's completion; until then the point stands at the
// base, so that a procedure ending with the intercept leaves it at a sensible place.
ConversionResult ProcedureLegConverter::interceptRule(Step& step) const {
    const Waypoint start = base(step);
    PilotPoint point = generatedPoint(step.job.names.nextIntercept(), kComputedPoint,
                                      start.latitude, start.longitude);
    point.variation = variationAt(start.latitude, start.longitude);
    return insertPoint(step, point);
}

ConversionResult ProcedureLegConverter::radialRule(Step& step) const {
    const TerminalLeg& record = step.record;
    const Waypoint start = base(step);
    const double radial = normalize360(variationAt(record.navaidLatitude, record.navaidLongitude) +
                                       record.navaidBearing);
    double latitude = 0.0;
    double longitude = 0.0;
    if (!GcNav::intersection(start.latitude, start.longitude,
                             normalize360(record.course + start.variation), record.navaidLatitude,
                             record.navaidLongitude, radial, latitude, longitude)) {
        return {};
    }
    return insertPoint(
        step, generatedPoint(step.job.names.nextIntercept(), kComputedPoint, latitude, longitude));
}

ConversionResult ProcedureLegConverter::distanceRule(Step& step) const {
    const TerminalLeg& record = step.record;
    const Waypoint start = base(step);
    double latitude = 0.0;
    double longitude = 0.0;
    GcNav(start.latitude, start.longitude)
        .destination(normalize360(record.course + start.variation), record.distance, latitude,
                     longitude);
    return insertPoint(step, generatedPoint(step.job.names.nextPlaceBearingDistance(),
                                            kDistancePoint, latitude, longitude));
}

// The end of a leg flown on vectors has no position; the pilot ends the leg.
ConversionResult ProcedureLegConverter::vectorsRule(Step& step) const {
    const Waypoint start = base(step);
    PilotPoint point = generatedPoint(kVectorsIdent, kComputedPoint, 0.0, 0.0);
    point.variation = variationAt(start.latitude, start.longitude);
    const bool inserted =
        step.job.plan.insertWaypoint(point, step.index, false, environment.context);
    return completeAt(step, step.index, inserted);
}

// A hold record names its own fix: when the plan does not already end there, the fix is
// inserted first so the pattern is flown where the procedure puts it.
ConversionResult ProcedureLegConverter::holdRule(Step& step) const {
    const TerminalLeg& record = step.record;
    FlightPlan& plan = step.job.plan;
    std::size_t holdAt = step.index;
    if (record.fixId != 0) {
        Waypoint own;
        environment.database.getWaypointInfo(record.fixId, own);
        const bool atPrevious = holdAt > 0 && sameIdentity(own, plan.legs[holdAt - 1].wpt);
        if (!atPrevious && plan.insertWaypoint(own, holdAt, false, environment.context)) {
            ++holdAt;
        }
    }
    if (holdAt == 0) {
        return {};
    }
    FlightPlanLeg& leg = plan.legs[holdAt - 1];
    const Waypoint& fix = leg.wpt;
    HoldingPattern hold;
    hold.holdSpeed = kHoldSpeed;
    hold.legLength = record.distance;
    hold.legTimeMin = record.distance / kHoldSpeed * 60.0;
    hold.inboundCourseMagnetic = record.course;
    hold.inboundCourse = normalize360(record.course + fix.variation);
    // Holds turn right unless the record says left: a record without a direction is standard.
    hold.rightTurns = record.turnDirection == kTurnLeft ? 0 : 1;
    hold.lengthByTime = 0;
    hold.active = 1;
    hold.compute(fix.latitude, fix.longitude, 0.0);
    leg.holding = hold;
    return holdAt > step.index ? completeAt(step, step.index, true) : ConversionResult{};
}

// The fix before the record is flown twice: outbound into the turn, then back to it over the
// point one minute beyond the outbound turn.
ConversionResult ProcedureLegConverter::procedureTurnRule(Step& step) const {
    if (step.index == 0) {
        return {};
    }
    const TerminalLeg& record = step.record;
    const ProcedureJob& job = step.job;
    FlightPlan& plan = job.plan;
    const int32_t proc = job.arrival ? record.proc : kProcSid;
    const Waypoint fix = plan.legs[step.index - 1].wpt;
    ProcedureTurn turn;
    turn.speed = kProcedureTurnSpeed;
    turn.outboundDistance = record.distance;
    turn.outboundTime = record.distance / kProcedureTurnSpeed * 60.0;
    turn.timeMode = 0;
    turn.magneticCourse = plan.legs[step.index - 1].magneticCourse();
    turn.trueCourse = plan.legs[step.index - 1].course;
    turn.turnLeft = record.turnDirection == kTurnRight ? 1 : 0;
    turn.compute(fix.latitude, fix.longitude);
    turn.turnType = 0;
    const auto takeTurn = [&](std::size_t at, bool limited) {
        if (at >= plan.legCount()) {
            return;
        }
        FlightPlanLeg& leg = plan.legs[at];
        leg.pcdrTurn = turn;
        leg.trmLeg.proc = proc;
        if (limited) {
            limitSpeed(leg, kProcedureTurnSpeedLimit);
        }
    };
    takeTurn(step.index - 1, true);
    const PilotPoint point = generatedPoint(job.names.nextIntercept(), kComputedPoint,
                                            turn.pointLatitudes[ProcedureTurn::kMinuteBeyond],
                                            turn.pointLongitudes[ProcedureTurn::kMinuteBeyond]);
    if (job.activate) {
        environment.pilotPoints.add(point);
    }
    const bool inserted = plan.insertWaypoint(point, step.index, false, environment.context);
    takeTurn(step.index, true);
    if (plan.insertWaypoint(fix, step.index + 1, false, environment.context)) {
        takeTurn(step.index + 1, false);
    }
    ConversionResult result = completeAt(step, step.index, inserted);
    result.insertingRule = false;
    result.skipNext = true;
    return result;
}

ConversionResult ProcedureLegConverter::discontinuityRule(Step& step) const {
    const bool inserted = step.job.plan.insertDiscontinuity(step.index, false, environment.context);
    return completeAt(step, step.index, inserted);
}

ConversionResult ProcedureLegConverter::insertPoint(Step& step, const PilotPoint& point) const {
    if (step.job.activate) {
        environment.pilotPoints.add(point);
    }
    const bool inserted =
        step.job.plan.insertWaypoint(point, step.index, false, environment.context);
    return completeAt(step, step.index, inserted);
}

ConversionResult ProcedureLegConverter::completeAt(Step& step, std::size_t legIndex,
                                                   bool inserted) const {
    ConversionResult result;
    result.insertingRule = true;
    result.inserted = inserted;
    if (legIndex < step.job.plan.legCount()) {
        complete(step, legIndex);
        result.completed = true;
    }
    return result;
}

void ProcedureLegConverter::complete(Step& step, std::size_t legIndex) const {
    const TerminalLeg& record = step.record;
    const ProcedureJob& job = step.job;
    FlightPlanLeg& leg = job.plan.legs[legIndex];
    leg.trmLeg = record;
    leg.via = job.via;
    if (isOneOf(record.legType, {Type::CA, Type::FA, Type::VA})) {
        leg.trmLeg.flyOver = true;
    }
    const bool missedApproachPoint = job.arrival && record.altitude == kMissedApproachPoint;
    if (!record.altitude.empty() && !missedApproachPoint) {
        bool parsed = FmsParser::parseAltitudeWindow(record.altitude, leg.vnav);
        if (!parsed &&
            FmsParser::parseAltitudeConstraint(record.altitude, leg.vnav.altitude, leg.vnav.kind)) {
            leg.vnav.hasAltitude = true;
            parsed = true;
        }
        if (parsed) {
            leg.vnav.phase = job.phase;
        }
    }
    if (record.verticalAngle > 0.0f) {
        float angle = record.verticalAngle;
        if (angle >= kFlyOverAngle) {
            leg.trmLeg.flyOver = true;
            if (job.arrival) {
                angle -= kFlyOverAngle;
            }
        }
        leg.vnav.pathAngle = angle;
        leg.vnav.pathAngleEntered = job.arrival && angle >= kEnteredAngle;
    }
    if (job.arrival && record.proc == kProcApproach) {
        limitSpeed(leg, kApproachSpeedLimit);
    }
    if (missedApproachPoint) {
        appendRunwayLeg(job.plan, job.arrivalRunway, job.via);
    }
    interceptFixUp(step, legIndex);
}

// The intercept point moves to where the intercept course meets this leg's course extended
// backwards from its fix; this leg then starts there.
void ProcedureLegConverter::interceptFixUp(Step& step, std::size_t legIndex) const {
    if (legIndex == 0 || step.position == 0 ||
        !isOneOf(step.records[step.position - 1].legType, {Type::CI, Type::VI})) {
        return;
    }
    FlightPlan& plan = step.job.plan;
    const Waypoint& from = legIndex == 1 ? plan.org : plan.legs[legIndex - 2].wpt;
    FlightPlanLeg& leg = plan.legs[legIndex];
    const Waypoint& fix = leg.wpt;
    Waypoint& intercept = plan.legs[legIndex - 1].wpt;
    const float interceptCourse = step.records[step.position - 1].course;
    GcNav::intersection(from.latitude, from.longitude,
                        normalize360(interceptCourse + from.variation), fix.latitude, fix.longitude,
                        normalize360(step.record.course + fix.variation + 180.0),
                        intercept.latitude, intercept.longitude);
    leg.src = Waypoint();
}

PilotPoint ProcedureLegConverter::generatedPoint(const std::string& ident, int32_t ppType,
                                                 double latitude, double longitude) const {
    PilotPoint point;
    point.ident = ident;
    point.ppType = static_cast<PilotPointType>(ppType);
    point.latitude = latitude;
    point.longitude = longitude;
    point.variation = variationAt(latitude, longitude);
    return point;
}

// Generated points are placed from the last fix with a position. A break, a heading leg or a
// leg flown on vectors before the point has none: the aircraft in the air, else the fix before.
std::optional<std::size_t> ProcedureLegConverter::baseLeg(Step& step) const {
    const FlightPlan& plan = step.job.plan;
    for (std::size_t i = step.index; i > 0; --i) {
        if (plan.legs[i - 1].isFixLeg()) {
            return i - 1;
        }
        if (environment.context.airborne()) {
            return std::nullopt;
        }
    }
    return std::nullopt;
}

Waypoint ProcedureLegConverter::base(Step& step) const {
    const FlightPlan& plan = step.job.plan;
    if (const std::optional<std::size_t> leg = baseLeg(step)) {
        return plan.legs[*leg].wpt;
    }
    if (step.index == 0 || !environment.context.airborne()) {
        return plan.org;
    }
    Waypoint aircraft;
    aircraft.latitude = environment.context.presentLatitude();
    aircraft.longitude = environment.context.presentLongitude();
    aircraft.variation = variationAt(aircraft.latitude, aircraft.longitude);
    return aircraft;
}

double ProcedureLegConverter::baseAltitude(Step& step) const {
    const FlightPlan& plan = step.job.plan;
    if (const std::optional<std::size_t> leg = baseLeg(step)) {
        return plan.legs[*leg].vnav.altitude;
    }
    if (step.index == 0 || !environment.context.airborne()) {
        return plan.org.elevation;
    }
    return environment.context.altitude();
}

double ProcedureLegConverter::variationAt(double latitude, double longitude) const {
    return environment.context.magneticVariation(latitude, longitude);
}

} // namespace tavi
