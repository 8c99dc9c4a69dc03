#include "fms/LegPathBuilder.h"

#include "core/Angles.h"
#include "fms/FlightPlan.h"
#include "fms/FlightPlanContext.h"
#include "navdata/GcNav.h"
#include "navdata/GeoAngles.h"
#include "navdata/Nav.h"
#include "navdata/RhumbNav.h"

#include <algorithm>
#include <cmath>
#include <utility>

namespace tavi {

namespace {

constexpr double kMaxGreatCirclePiece = 20.0;
constexpr double kMaxRhumbPiece = 100.0;
// The inbound course of a turn is taken this far along the inbound leg.
constexpr double kInboundCourseFraction = 0.999;
// Course changes (degrees) up to the first need no arc; from the second on no fly-by is flown.
constexpr double kNoArcChange = 5.0;
constexpr double kPathNoFlyByChange = 150.0;
constexpr double kPieceCountTolerance = 1e-9;
// A straight shorter than this (nm) between two turns is none.
constexpr double kLeastStraight = 1e-6;
// Degrees: the path from the end of a late turn back onto the leg.
constexpr double kRejoinAngle = 30.0;

bool isHeadingLegWithoutManualEnd(const FlightPlanLeg& leg) {
    const TerminalLegType type = leg.legType();
    return (type == TerminalLegType::FM || type == TerminalLegType::VM) && !leg.manualTermination;
}

// Degrees turned from one bearing to another round a centre, the way of the direction.
double sweepInDirection(double fromBearing, double toBearing, bool right) {
    return right ? normalize360(toBearing - fromBearing) : normalize360(fromBearing - toBearing);
}

PathSegment straightPiece(double aLatitude, double aLongitude, double eLatitude,
                          double eLongitude) {
    PathSegment piece;
    piece.startLatitude = aLatitude;
    piece.startLongitude = aLongitude;
    piece.endLatitude = eLatitude;
    piece.endLongitude = eLongitude;
    return piece;
}

PathSegment arcPiece(double sLatitude, double sLongitude, double eLatitude, double eLongitude,
                     double cLatitude, double cLongitude, double radius, bool right) {
    PathSegment piece = straightPiece(sLatitude, sLongitude, eLatitude, eLongitude);
    piece.centreLatitude = cLatitude;
    piece.centreLongitude = cLongitude;
    piece.radius = radius;
    piece.turnDirection = right ? kSegmentRightArc : kSegmentLeftArc;
    return piece;
}

// Nautical miles beside a leg (right positive) and along it from its start.
struct LegOffset {
    double crossTrack = 0.0;
    double along = 0.0;
};

// A position in nm east and north of a fix: a turn onto an arc is worked in this plane, which
// holds the few miles of a turn to well within a foot.
struct PlaneVector {
    double east = 0.0;
    double north = 0.0;

    PlaneVector operator+(const PlaneVector& other) const {
        return {east + other.east, north + other.north};
    }
    PlaneVector operator-(const PlaneVector& other) const {
        return {east - other.east, north - other.north};
    }
    PlaneVector operator*(double factor) const { return {east * factor, north * factor}; }
    double dot(const PlaneVector& other) const { return east * other.east + north * other.north; }
    double length() const { return std::hypot(east, north); }
};

PlaneVector unitOnCourse(double course) {
    return {std::sin(course * kDegToRad), std::cos(course * kDegToRad)};
}

class FixPlane {
public:
    FixPlane(double latitude, double longitude) : fix(latitude, longitude) {}

    PlaneVector toPlane(double latitude, double longitude) const {
        return unitOnCourse(fix.courseTo(latitude, longitude)) *
               fix.distanceTo(latitude, longitude);
    }
    LegPathBuilder::LatLon toEarth(const PlaneVector& v) const {
        LegPathBuilder::LatLon point;
        fix.destination(normalize360(std::atan2(v.east, v.north) * kRadToDeg), v.length(),
                        point.latitude, point.longitude);
        return point;
    }

private:
    GcNav fix;
};

} // namespace

void appendStraightPieces(std::vector<PathSegment>& path, double aLatitude, double aLongitude,
                          double eLatitude, double eLongitude, double maxLength, bool rhumbLine) {
    const double distance =
        rhumbLine ? RhumbNav::distanceBetween(aLatitude, aLongitude, eLatitude, eLongitude)
                  : GcNav::distanceBetween(aLatitude, aLongitude, eLatitude, eLongitude);
    if (maxLength >= distance) {
        path.push_back(straightPiece(aLatitude, aLongitude, eLatitude, eLongitude));
        return;
    }
    const double course = RhumbNav::courseBetween(aLatitude, aLongitude, eLatitude, eLongitude);
    const auto pointAt = [&](double fraction, double& latitude, double& longitude) {
        if (rhumbLine) {
            RhumbNav(aLatitude, aLongitude)
                .destination(course, fraction * distance, latitude, longitude);
        } else {
            GcNav(aLatitude, aLongitude)
                .intermediatePoint(eLatitude, eLongitude, fraction, latitude, longitude);
        }
    };
    const double step = maxLength / distance;
    // A span of a whole number of pieces gets no extra piece of rounding length.
    const auto count = static_cast<int>(std::ceil(distance / maxLength - kPieceCountTolerance));
    double fromLatitude = aLatitude;
    double fromLongitude = aLongitude;
    for (int k = 1; k <= count; ++k) {
        double toLatitude = eLatitude;
        double toLongitude = eLongitude;
        if (k < count) {
            pointAt(k * step, toLatitude, toLongitude);
        }
        path.push_back(straightPiece(fromLatitude, fromLongitude, toLatitude, toLongitude));
        fromLatitude = toLatitude;
        fromLongitude = toLongitude;
    }
}

LegPathBuilder::LegPathBuilder(FlightPlan& plan, const FlightPlanContext& context)
    : plan(plan), context(context), legs(plan.legs) {}

void LegPathBuilder::build() {
    for (FlightPlanLeg& leg : legs) {
        leg.path.clear();
    }
    bool noTurnIn = true;
    for (std::size_t k = 0; k < legs.size(); ++k) {
        const FlightPlanLeg& leg = legs[k];
        if (leg.isDiscontinuity()) {
            carriedTurn.reset();
            noTurnIn = true;
            continue;
        }
        if ((k >= 2 && legs[k - 2].isDiscontinuity()) || leg.hasOwnStart() ||
            (k >= 1 && legs[k - 1].isProcedureTurnLeg())) {
            noTurnIn = true;
        }
        const bool noTurnOut = noTurnOutOf(k);
        noTurnIn = !buildLeg(k, noTurnIn, noTurnOut) || noTurnOut;
    }
}

bool LegPathBuilder::noTurnOutOf(std::size_t k) const {
    const FlightPlanLeg& leg = legs[k];
    if (leg.trmLeg.flyOver || leg.isHoldLeg() || leg.isArcLeg() ||
        leg.startKind == kStartIntercept || k + 1 == legs.size()) {
        return true;
    }
    const FlightPlanLeg& next = legs[k + 1];
    return next.isDiscontinuity() || next.isHoldLeg() || !next.isFixLeg() ||
           next.isManualTermination() || next.hasOwnStart() || leg.isManualTermination() ||
           (k > 0 && legs[k - 1].isManualTermination()) || next.isProcedureTurnLeg();
}

bool LegPathBuilder::buildLeg(std::size_t k, bool noTurnIn, bool noTurnOut) {
    FlightPlanLeg& leg = legs[k];
    const FlightPlanLeg& prev = legs[k == 0 ? 0 : k - 1];
    const std::optional<Turn> carried = std::exchange(carriedTurn, std::nullopt);
    if (prev.isDiscontinuity() || leg.isDiscontinuity() || isHeadingLegWithoutManualEnd(prev)) {
        return true;
    }
    if (leg.startKind == kStartIntercept) {
        buildRhumbLeg(leg);
        return true;
    }
    const Waypoint& s = legStart(k);
    const Waypoint& f = leg.wpt;
    const double span = GcNav::distanceBetween(s.latitude, s.longitude, f.latitude, f.longitude);
    if (span == 0.0) {
        return true;
    }
    Turn in;
    Turn out;
    if (!noTurnIn && !(prev.isArcLeg() && leg.isArcLeg())) {
        in = carried ? *carried : flyByTurn(k - 1, k);
    }
    const auto offsetOf = [&](const LatLon& point) {
        LegOffset offset;
        GcNav::crossTrackBetween(s.latitude, s.longitude, f.latitude, f.longitude, point.latitude,
                                 point.longitude, offset.crossTrack, offset.along);
        return offset;
    };
    const auto along = [&](const LatLon& point) {
        return offsetOf(point).along;
    };
    const double turnInEnd = in.hasArc ? along(in.end) : 0.0;
    bool late = false;
    if (!noTurnOut) {
        out = flyByTurn(k, k + 1);
        // A turn that would begin before the turn onto the leg ends, or before the leg begins,
        // begins there instead and rejoins the next leg from outside: dropped, it left a corner
        // that no aircraft at the turn's bank can follow.
        const std::optional<TurnShape> shape =
            leg.isArcLeg() || legs[k + 1].isArcLeg() ? std::nullopt : turnShape(k, k + 1);
        if (shape && turnInEnd > span - shape->lead) {
            out = lateTurn(k, *shape, turnInEnd, in);
            late = true;
        }
    }
    // Turns whose leads overlap on a short leg would join by a piece running backwards: the
    // turn out of the leg is dropped and its fix is reached on the leg's own course.
    const bool turnOutDropped = !late && in.hasArc && out.hasArc && span < in.lead + out.lead;
    if (turnOutDropped) {
        out = Turn{};
    }
    const LatLon a = in.hasArc ? in.end : LatLon{s.latitude, s.longitude};
    const LatLon e = out.hasArc ? out.start : LatLon{f.latitude, f.longitude};
    if (in.hasArc && in.hasAfterFix) {
        leg.path.push_back(in.afterFix);
    }
    if (leg.isArcLeg()) {
        // An arc leg keeps its arc whatever the turn onto it did: without a fly-by the arc
        // starts at the fix.
        appendArcAroundNavaid(leg, a.latitude, a.longitude, e.latitude, e.longitude);
    } else if (along(e) - along(a) > kLeastStraight) {
        // A turn begun late ends beside the leg: the path rejoins the leg at the intercept
        // angle, then follows it.
        const LegOffset offset = offsetOf(a);
        const double rejoin =
            offset.along + std::fabs(offset.crossTrack) / std::tan(kRejoinAngle * kDegToRad);
        LatLon joined = a;
        if (std::fabs(offset.crossTrack) > kLeastStraight && rejoin < along(e)) {
            GcNav(s.latitude, s.longitude)
                .intermediatePoint(f.latitude, f.longitude, rejoin / span, joined.latitude,
                                   joined.longitude);
            leg.path.push_back(
                straightPiece(a.latitude, a.longitude, joined.latitude, joined.longitude));
        }
        appendStraightPieces(leg.path, joined.latitude, joined.longitude, e.latitude, e.longitude,
                             kMaxGreatCirclePiece, false);
    }
    if (out.hasArc && out.hasBeforeFix) {
        leg.path.push_back(out.beforeFix);
    }
    if (out.hasArc) {
        carriedTurn = out;
    }
    return !turnOutDropped;
}

const Waypoint& LegPathBuilder::legStart(std::size_t k) const {
    const FlightPlanLeg& leg = legs[k];
    return leg.hasOwnStart() ? leg.src : (k == 0 ? plan.org : legs[k - 1].wpt);
}

void LegPathBuilder::buildRhumbLeg(FlightPlanLeg& leg) {
    appendStraightPieces(leg.path, leg.src.latitude, leg.src.longitude, leg.wpt.latitude,
                         leg.wpt.longitude, kMaxRhumbPiece, true);
}

std::optional<LegPathBuilder::TurnShape> LegPathBuilder::turnShape(std::size_t a,
                                                                   std::size_t b) const {
    const FlightPlanLeg& inbound = legs[a];
    const Waypoint& p0 = legStart(a);
    const Waypoint& p1 = inbound.wpt;
    const Waypoint& p2 = legs[b].wpt;
    const double inboundCourse = GcNav::courseAtFractionBetween(
        p0.latitude, p0.longitude, p1.latitude, p1.longitude, kInboundCourseFraction);
    const double outboundCourse =
        GcNav::courseBetween(p1.latitude, p1.longitude, p2.latitude, p2.longitude);
    TurnShape shape;
    shape.change = turnAngle(static_cast<float>(inboundCourse), static_cast<float>(outboundCourse),
                             legs[b].trmLeg.turnDirection);
    if (std::fabs(shape.change) <= kNoArcChange || std::fabs(shape.change) >= kPathNoFlyByChange) {
        return std::nullopt;
    }
    shape.radius =
        context.turnGeometry(shape.change, inbound.speed, shape.lead, inbound.vnav.altitude);
    if (shape.radius <= 0.0 || shape.lead <= 0.0) {
        return std::nullopt;
    }
    return shape;
}

// The arc of the turn's radius from the point `startAlong` nm along leg k, where the turn onto
// it ends or where the leg begins, on to the next leg's course, so that the aircraft rejoins
// that leg from outside the corner.
LegPathBuilder::Turn LegPathBuilder::lateTurn(std::size_t k, const TurnShape& shape,
                                              double startAlong, const Turn& in) const {
    const Waypoint& s = legStart(k);
    const Waypoint& f = legs[k].wpt;
    const double span = GcNav::distanceBetween(s.latitude, s.longitude, f.latitude, f.longitude);
    const double fraction = std::clamp(startAlong / span, 0.0, 1.0);
    LatLon start;
    if (in.hasArc && startAlong > span - shape.lead) {
        start = in.end;
    } else {
        GcNav(s.latitude, s.longitude)
            .intermediatePoint(f.latitude, f.longitude, fraction, start.latitude, start.longitude);
    }
    const double course =
        GcNav::courseAtFractionBetween(s.latitude, s.longitude, f.latitude, f.longitude, fraction);
    const bool right = shape.change >= 0.0;
    LatLon centre;
    GcNav(start.latitude, start.longitude)
        .destination(normalize360(course + (right ? 90.0 : -90.0)), shape.radius, centre.latitude,
                     centre.longitude);
    const GcNav around(centre.latitude, centre.longitude);
    const double startBearing = around.courseTo(start.latitude, start.longitude);
    LatLon end;
    around.destination(normalize360(startBearing + shape.change), shape.radius, end.latitude,
                       end.longitude);
    const double sweep = std::fabs(shape.change);
    const double toFix =
        sweepInDirection(startBearing, around.courseTo(f.latitude, f.longitude), right);
    LatLon split = end;
    if (toFix <= sweep) {
        around.destination(around.courseTo(f.latitude, f.longitude), shape.radius, split.latitude,
                           split.longitude);
    } else if (toFix - sweep > 360.0 - toFix) {
        // The fix lies behind the turn's start: the whole turn belongs to the next leg.
        split = start;
    }
    Turn turn;
    splitTurn(turn, start, split, end, centre, shape.radius, right);
    turn.hasBeforeFix = split.latitude != start.latitude || split.longitude != start.longitude;
    turn.hasAfterFix = split.latitude != end.latitude || split.longitude != end.longitude;
    turn.lead = span - startAlong;
    return turn;
}

LegPathBuilder::Turn LegPathBuilder::flyByTurn(std::size_t a, std::size_t b) const {
    const FlightPlanLeg& inbound = legs[a];
    const FlightPlanLeg& outbound = legs[b];
    const Waypoint& p0 = legStart(a);
    const Waypoint& p1 = inbound.wpt;
    const Waypoint& p2 = outbound.wpt;
    const double inboundCourse = GcNav::courseAtFractionBetween(
        p0.latitude, p0.longitude, p1.latitude, p1.longitude, kInboundCourseFraction);
    const double inboundLength =
        GcNav::distanceBetween(p0.latitude, p0.longitude, p1.latitude, p1.longitude);
    if (outbound.isArcLeg()) {
        return turnOntoArc(inbound, outbound, inboundCourse, inboundLength);
    }
    const double outboundCourse =
        GcNav::courseBetween(p1.latitude, p1.longitude, p2.latitude, p2.longitude);
    const double change =
        turnAngle(static_cast<float>(inboundCourse), static_cast<float>(outboundCourse),
                  outbound.trmLeg.turnDirection);
    Turn turn;
    if (std::fabs(change) <= kNoArcChange) {
        return turn;
    }
    turn.failed = true;
    if (std::fabs(change) >= kPathNoFlyByChange) {
        return turn;
    }
    double lead = 0.0;
    const double radius = context.turnGeometry(change, inbound.speed, lead, inbound.vnav.altitude);
    const double outboundLength =
        GcNav::distanceBetween(p1.latitude, p1.longitude, p2.latitude, p2.longitude);
    if (inboundLength < lead || outboundLength < lead || outboundLength <= 0.0) {
        return turn;
    }
    turn.failed = false;
    if (lead <= 0.0) {
        return turn;
    }
    const double startFraction = (inboundLength - lead) / inboundLength;
    const double endFraction = lead / outboundLength;
    double sLatitude = 0.0;
    double sLongitude = 0.0;
    double eLatitude = 0.0;
    double eLongitude = 0.0;
    GcNav(p0.latitude, p0.longitude)
        .intermediatePoint(p1.latitude, p1.longitude, startFraction, sLatitude, sLongitude);
    GcNav(p1.latitude, p1.longitude)
        .intermediatePoint(p2.latitude, p2.longitude, endFraction, eLatitude, eLongitude);
    const bool right = change >= 0.0;
    const double side = right ? 90.0 : -90.0;
    const double courseAtStart = GcNav::courseAtFractionBetween(
        p0.latitude, p0.longitude, p1.latitude, p1.longitude, startFraction);
    const double courseAtEnd = GcNav::courseAtFractionBetween(
        p1.latitude, p1.longitude, p2.latitude, p2.longitude, endFraction);
    double cLatitude = 0.0;
    double cLongitude = 0.0;
    if (!GcNav::intersection(sLatitude, sLongitude, normalize360(courseAtStart + side), eLatitude,
                             eLongitude, normalize360(courseAtEnd + side), cLatitude, cLongitude)) {
        turn.failed = true;
        return turn;
    }
    const GcNav centre(cLatitude, cLongitude);
    double mLatitude = 0.0;
    double mLongitude = 0.0;
    centre.destination(centre.courseTo(p1.latitude, p1.longitude), radius, mLatitude, mLongitude);
    splitTurn(turn, {sLatitude, sLongitude}, {mLatitude, mLongitude}, {eLatitude, eLongitude},
              {cLatitude, cLongitude}, radius, right);
    turn.lead = lead;
    return turn;
}

// A fly-by turn onto an arc leg ends on the arc itself, where a circle of the turn radius that
// touches the inbound course touches the arc: a turn ended on the chord would leave a gap before
// the arc, and a turn that cannot be flown by leaves the arc starting at the fix. The turn goes
// the shorter way onto the arc's tangent; the arc's own direction only says how the arc bends.
LegPathBuilder::Turn LegPathBuilder::turnOntoArc(const FlightPlanLeg& inbound,
                                                 const FlightPlanLeg& arcLeg, double inboundCourse,
                                                 double inboundLength) const {
    const Waypoint& p1 = inbound.wpt;
    const TerminalLeg& arc = arcLeg.trmLeg;
    const bool arcRight = arc.turnDirection == kTurnRight;
    const GcNav navaidPoint(arc.navaidLatitude, arc.navaidLongitude);
    const double fixBearing = navaidPoint.courseTo(p1.latitude, p1.longitude);
    const double tangent = normalize360(fixBearing + (arcRight ? 90.0 : -90.0));
    const double change =
        geo::angleDifference(static_cast<float>(inboundCourse), static_cast<float>(tangent));
    Turn turn;
    if (std::fabs(change) <= kNoArcChange) {
        return turn;
    }
    turn.failed = true;
    double lead = 0.0;
    const double radius = context.turnGeometry(change, inbound.speed, lead, inbound.vnav.altitude);
    const double arcRadius = arc.navaidDistance;
    if (std::fabs(change) >= kPathNoFlyByChange || radius <= 0.0 || arcRadius <= 0.0) {
        return turn;
    }
    const bool right = change >= 0.0;
    const FixPlane plane(p1.latitude, p1.longitude);
    const PlaneVector navaid = plane.toPlane(arc.navaidLatitude, arc.navaidLongitude);
    const PlaneVector along = unitOnCourse(inboundCourse);
    const PlaneVector side = unitOnCourse(inboundCourse + (right ? 90.0 : -90.0));
    // Circles bending the same way touch with one inside the other.
    const bool sameWay = right == arcRight;
    const double centreDistance = sameWay ? std::fabs(arcRadius - radius) : arcRadius + radius;
    // The turn's centre lies one radius beside the inbound course, t nm along it from the fix,
    // and centreDistance from the navaid.
    const PlaneVector offset = navaid - side * radius;
    const double half = along.dot(offset);
    const double discriminant = half * half - offset.dot(offset) + centreDistance * centreDistance;
    if (discriminant < 0.0) {
        return turn;
    }
    const double root = std::sqrt(discriminant);
    const double t = std::fabs(half + root) < std::fabs(half - root) ? half + root : half - root;
    const PlaneVector centre = along * t + side * radius;
    const PlaneVector toNavaid = navaid - centre;
    const double apart = toNavaid.length();
    if (t > 0.0 || -t > inboundLength || apart <= 0.0 || centre.length() <= 0.0) {
        return turn;
    }
    const double towards = sameWay && radius < arcRadius ? -1.0 : 1.0;
    const PlaneVector touch = centre + toNavaid * (towards * radius / apart);
    const LatLon end = plane.toEarth(touch);
    const Waypoint& arcEnd = arcLeg.wpt;
    const double touchSweep =
        sweepInDirection(fixBearing, navaidPoint.courseTo(end.latitude, end.longitude), arcRight);
    const double arcSweep = sweepInDirection(
        fixBearing, navaidPoint.courseTo(arcEnd.latitude, arcEnd.longitude), arcRight);
    if (touchSweep >= arcSweep) {
        return turn;
    }
    turn.failed = false;
    const PlaneVector split = centre - centre * (radius / centre.length());
    splitTurn(turn, plane.toEarth(along * t), plane.toEarth(split), end, plane.toEarth(centre),
              radius, right);
    turn.lead = -t;
    return turn;
}

void LegPathBuilder::splitTurn(Turn& turn, const LatLon& start, const LatLon& split,
                               const LatLon& end, const LatLon& centre, double radius, bool right) {
    turn.beforeFix = arcPiece(start.latitude, start.longitude, split.latitude, split.longitude,
                              centre.latitude, centre.longitude, radius, right);
    turn.afterFix = arcPiece(split.latitude, split.longitude, end.latitude, end.longitude,
                             centre.latitude, centre.longitude, radius, right);
    turn.beforeFix.buildArc(false);
    turn.afterFix.buildArc(false);
    turn.hasArc = true;
    turn.start = {turn.beforeFix.startLatitude, turn.beforeFix.startLongitude};
    turn.end = {turn.afterFix.endLatitude, turn.afterFix.endLongitude};
}

void LegPathBuilder::appendArcAroundNavaid(FlightPlanLeg& leg, double aLatitude, double aLongitude,
                                           double eLatitude, double eLongitude) const {
    const TerminalLeg& arc = leg.trmLeg;
    const bool right = arc.turnDirection == kTurnRight;
    PathSegment piece = arcPiece(aLatitude, aLongitude, eLatitude, eLongitude, arc.navaidLatitude,
                                 arc.navaidLongitude, arc.navaidDistance, right);
    const GcNav navaid(arc.navaidLatitude, arc.navaidLongitude);
    const double sweep = sweepInDirection(navaid.courseTo(aLatitude, aLongitude),
                                          navaid.courseTo(eLatitude, eLongitude), right);
    // A half circle follows its direction too: left alone, a left one of exactly 180 degrees
    // was laid out round the other side of the navaid, and LNAV circled it without end.
    piece.buildArc(sweep >= 180.0);
    leg.path.push_back(piece);
}

} // namespace tavi
