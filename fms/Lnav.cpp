#include "fms/Lnav.h"

#include "avionics/Clamp.h"
#include "core/Angles.h"
#include "fms/FlightPlanContext.h"
#include "fms/PathSegment.h"
#include "navdata/GcNav.h"
#include "navdata/GeoAngles.h"
#include "navdata/RhumbNav.h"

#include <algorithm>
#include <cmath>

namespace tavi {

namespace {

constexpr double kRadiansToDegreesApprox = 0.01745;
constexpr double kFeetPerNm = 1852.0 * 3.28084;
constexpr double kShortLegNm = 3.0;
constexpr double kNeverSequenceOffPathNm = 15.0;
constexpr double kNoFlyByChange = 150.0;

double angleBetween(double from, double to) {
    return geo::angleDifference(static_cast<float>(from), static_cast<float>(to));
}

bool isAltitudeTerminated(TerminalLegType type) {
    return type == TerminalLegType::CA || type == TerminalLegType::FA ||
           type == TerminalLegType::VA;
}

bool noTurnAnticipation(TerminalLegType type) {
    return type == TerminalLegType::AF || type == TerminalLegType::RF ||
           type == TerminalLegType::HA || type == TerminalLegType::HF ||
           type == TerminalLegType::HM;
}

// The course the aircraft turns onto at the start of a leg: an arc's tangent, else its course.
double nextLegEntryCourse(const FlightPlanLeg& next) {
    if (!next.path.empty() && next.path.front().turnDirection != kSegmentStraight) {
        const PathSegment& arc = next.path.front();
        const double start = GcNav::courseBetween(arc.centreLatitude, arc.centreLongitude,
                                                  arc.startLatitude, arc.startLongitude);
        return normalize360(arc.turnDirection == kSegmentRightArc ? start + 90.0 : start - 90.0);
    }
    return next.course;
}

// A fraction of a length that may be zero: a piece without length is already flown.
double fractionOf(double along, double length) {
    return length > 0.0 ? along / length : 1.0;
}

struct Point {
    double latitude;
    double longitude;
};

Point chordStart(const PathSegment& s) {
    if (s.chordIndex == 0) {
        return {s.startLatitude, s.startLongitude};
    }
    const auto& p = s.points[std::min<uint32_t>(s.chordIndex - 1, 4)];
    return {p[0], p[1]};
}

Point chordEnd(const PathSegment& s) {
    if (s.chordIndex < 5) {
        return {s.points[s.chordIndex][0], s.points[s.chordIndex][1]};
    }
    return {s.endLatitude, s.endLongitude};
}

// One call of LNAV: the plan, the aircraft and the FMS around it.
class LnavFrame {
public:
    LnavFrame(Lnav& lnav, FlightPlan& plan, const LnavInputs& in, const FlightPlanContext& context,
              LnavHost& host)
        : lnav(lnav), s(lnav.state), plan(plan), in(in), context(context), host(host) {}

    void update();
    void steerPathLeg();
    void steerRhumbLeg();
    void steerArcLeg();
    double steerArcSegment(double centreLat, double centreLon, double radius, bool right);
    void steerProcedureTurn();
    void steerHold();
    void steerDiscontinuity();
    void steerHeadingLeg();
    void steerOrbit();

private:
    FlightPlanLeg& leg() { return plan.legs[plan.activeLeg]; }
    void sequence() { lnav.sequenceToNextLeg(plan, in, context, host); }
    void updateLegAlongTrack(std::size_t index);
    void finishLeg(std::size_t index, bool sequenced, bool pathLeg);
    void setFixValues(const FlightPlanLeg& active);
    void setLegTracks(const FlightPlanLeg& active);
    double pathScale() const;
    void setDeviation(double scale);
    void trackAlong(const Point& from, const Point& to, double& along);
    void steerStraightPiece(FlightPlanLeg& active, const PathSegment& piece, bool lastPiece,
                            bool& stop);
    void steerChord(FlightPlanLeg& active, PathSegment& piece);
    bool anticipateTurn(const FlightPlanLeg& active);
    void steerHoldEntry(HoldingPattern& hold);
    void steerHoldTurn(HoldingPattern& hold);
    void steerHoldLeg(FlightPlanLeg& active, HoldingPattern& hold);

    Lnav& lnav;
    LnavState& s;
    FlightPlan& plan;
    const LnavInputs& in;
    const FlightPlanContext& context;
    LnavHost& host;
};

void LnavFrame::setFixValues(const FlightPlanLeg& active) {
    s.ident = active.wpt.ident;
    s.distanceToGo = GcNav::distanceBetween(in.latitude, in.longitude, active.wpt.latitude,
                                            active.wpt.longitude);
    s.bearingToFix =
        GcNav::courseBetween(in.latitude, in.longitude, active.wpt.latitude, active.wpt.longitude);
}

void LnavFrame::setLegTracks(const FlightPlanLeg& active) {
    s.desiredTrackTrue = normalize360(active.course);
    s.desiredTrackMagnetic = normalize360(active.magneticCourse());
}

double LnavFrame::pathScale() const {
    if (s.approach) {
        return 0.3;
    }
    return s.terminalArea ? 1.0 : 5.0;
}

void LnavFrame::setDeviation(double scale) {
    s.deviation = clampDouble(-1.0, 1.0, -s.crossTrackError / scale);
}

void LnavFrame::trackAlong(const Point& from, const Point& to, double& along) {
    GcNav::crossTrackBetween(from.latitude, from.longitude, to.latitude, to.longitude, in.latitude,
                             in.longitude, s.crossTrackError, along);
}

void LnavFrame::updateLegAlongTrack(std::size_t index) {
    if (index >= plan.legCount()) {
        return;
    }
    const Waypoint from = plan.fromWaypoint(index);
    const Waypoint& to = plan.legs[index].wpt;
    double crossTrack = 0.0;
    GcNav::crossTrackBetween(from.latitude, from.longitude, to.latitude, to.longitude, in.latitude,
                             in.longitude, crossTrack, s.legAlongTrack);
}

void LnavFrame::update() {
    if (!in.navigationReady || !plan.hasOriginAndDestination()) {
        s = LnavState{};
        return;
    }
    s.valid = true;
    s.legAlongTrack = 0.0;
    s.pathValid = s.arcSteering = s.discontinuity = false;
    host.checkBaroSet();
    if (plan.activeLeg >= plan.legCount()) {
        s.valid = false;
        if (host.lnavEngaged() && !plan.isBeforeRouteEnd()) {
            host.showMessage("END OF FLIGHT PLAN", 1);
        }
        return;
    }
    const std::size_t index = plan.activeLeg;
    FlightPlanLeg& active = leg();
    s.terminalArea = s.approach = false;
    bool pathLeg = false;
    if (active.isDiscontinuity()) {
        steerDiscontinuity();
        s.discontinuity = true;
        updateLegAlongTrack(index);
    } else if (plan.orbit.entered) {
        steerOrbit();
    } else if (active.holding.entered) {
        steerHold();
    } else if (plan.pcdrTurn.passed) {
        steerProcedureTurn();
    } else if (active.isManualTermination()) {
        steerHeadingLeg();
    } else if (active.isArcLeg()) {
        steerArcLeg();
        updateLegAlongTrack(plan.activeLeg);
    } else if (active.startKind == kStartIntercept) {
        steerRhumbLeg();
        updateLegAlongTrack(plan.activeLeg);
    } else {
        updateLegAlongTrack(index);
        const double flown = plan.distanceFlown + s.legAlongTrack;
        s.terminalArea = flown <= 30.0 || plan.totalDistance - flown <= 30.0;
        s.approach = active.proc() == kProcApproach &&
                     !(active.legType() == TerminalLegType::IF && s.distanceToGo > 2.0);
        steerPathLeg();
        // After a sequence the distance flown already holds the leg just left: the along-track
        // distance belongs to the new active leg, or the route position jumps a leg ahead.
        updateLegAlongTrack(plan.activeLeg);
        setLegTracks(active);
        pathLeg = true;
    }
    finishLeg(index, plan.activeLeg != index, pathLeg);
}

// The leg as it was at the start of the frame. A leg sequenced by its steering this frame is
// not looked at again, which would sequence the leg after it as well. The end test on the piece
// along-track belongs to legs flown on their path pieces: arcs and intercepts end by their own
// progress, and a route break waits for the pilot, so that no fix behind it is ever skipped.
void LnavFrame::finishLeg(std::size_t index, bool sequenced, bool pathLeg) {
    FlightPlanLeg& done = plan.legs[index];
    if (!sequenced) {
        if (done.distance <= s.legAlongTrack && done.holding.active && !done.holding.entered) {
            done.holding.entered = 1;
            steerHold();
            return;
        }
        if (done.orbit.active && done.orbit.radius + 2.0 >= s.distanceToGo) {
            sequence();
            return;
        }
        if (pathLeg && !done.holding.entered && done.distance <= s.segmentAlongTrack &&
            s.distanceToGo <= 15.0) {
            sequence();
            return;
        }
    }
    const double speed = in.airborne ? in.groundSpeed : done.speed;
    s.timeToGo = speed > 0.0 ? s.distanceToGo / speed * 3600.0 : -1.0;
    host.updateLegEtas();
}

double LnavFrame::steerArcSegment(double centreLat, double centreLon, double radius, bool right) {
    const double bearing = GcNav::courseBetween(centreLat, centreLon, in.latitude, in.longitude);
    const double range = GcNav::distanceBetween(centreLat, centreLon, in.latitude, in.longitude);
    s.desiredTrackTrue = normalize360(right ? bearing + 90.0 : bearing - 90.0);
    s.desiredTrackMagnetic = normalize360(s.desiredTrackTrue - in.magneticVariation);
    s.currentDesiredTrack = s.desiredTrackTrue;
    s.crossTrackError = right ? radius - range : range - radius;
    setDeviation(pathScale());
    const double radiusFt = radius * kFeetPerNm;
    if (radiusFt <= 0.0) {
        s.bankCommand = 0.0;
        return 0.0;
    }
    const double gs = in.groundSpeed;
    const double bank = std::atan(gs * gs / (radiusFt * 11.23)) / kRadiansToDegreesApprox;
    s.bankCommand = right ? -bank : bank;
    const double rate = 96.7 * gs / radiusFt;
    return right ? rate : -rate;
}

bool LnavFrame::anticipateTurn(const FlightPlanLeg& active) {
    const std::size_t next = plan.activeLeg + 1;
    if (active.trmLeg.flyOver || noTurnAnticipation(active.legType()) || active.holding.active ||
        active.path.back().turnDirection != kSegmentStraight || next >= plan.legCount()) {
        return false;
    }
    // A turn begun past the fix is the next leg's first piece: LNAV flies it there. Anticipated
    // as well, the leg was left miles before the turn began.
    const FlightPlanLeg& following = plan.legs[next];
    if (!following.isArcLeg() && !following.path.empty() &&
        following.path.front().turnDirection != kSegmentStraight) {
        return false;
    }
    // The track near the fix, not the leg's initial course, which differs far from the equator.
    const double trackError = normalize180(in.trueTrack - s.currentDesiredTrack);
    const double change = angleBetween(in.trueTrack, nextLegEntryCourse(plan.legs[next]));
    // A reversal is flown over the fix: its lead would start the turn miles before it.
    if (std::fabs(change) >= kNoFlyByChange) {
        return false;
    }
    double lead = 0.0;
    context.turnGeometry(change, in.groundSpeed, lead, in.altitude);
    if (std::fabs(s.crossTrackError) <= 0.5 && std::fabs(trackError) < 10.0 &&
        s.legAlongTrack > 0.0 && active.distance - s.legAlongTrack <= lead) {
        sequence();
        return true;
    }
    return false;
}

void LnavFrame::steerStraightPiece(FlightPlanLeg& active, const PathSegment& piece, bool lastPiece,
                                   bool& stop) {
    const Point start{piece.startLatitude, piece.startLongitude};
    const Point end{piece.endLatitude, piece.endLongitude};
    trackAlong(start, end, s.segmentAlongTrack);
    setLegTracks(active);
    if (active.distance == 0.0) {
        s.currentDesiredTrack = s.desiredTrackTrue;
    } else {
        const double length =
            GcNav::distanceBetween(start.latitude, start.longitude, end.latitude, end.longitude);
        const double f = fractionOf(s.segmentAlongTrack, length);
        s.currentDesiredTrack = GcNav::courseAtFractionBetween(start.latitude, start.longitude,
                                                               end.latitude, end.longitude, f);
        if (anticipateTurn(active)) {
            stop = true;
            return;
        }
        if (f >= 1.0 || (!lastPiece && s.segmentAlongTrack + 0.4 >= length)) {
            ++active.segmentIndex;
            s.legAdvanced = true;
        }
    }
    setDeviation(pathScale());
}

void LnavFrame::steerChord(FlightPlanLeg& active, PathSegment& piece) {
    const Point from = chordStart(piece);
    const Point to = chordEnd(piece);
    trackAlong(from, to, s.segmentAlongTrack);
    setLegTracks(active);
    const double length =
        GcNav::distanceBetween(from.latitude, from.longitude, to.latitude, to.longitude);
    const double f = fractionOf(s.segmentAlongTrack, length);
    s.currentDesiredTrack =
        GcNav::courseAtFractionBetween(from.latitude, from.longitude, to.latitude, to.longitude, f);
    s.deviation = clampDouble(-1.0, 1.0, -0.5 * s.crossTrackError);
    if (f >= 1.0) {
        ++piece.chordIndex;
        s.legAdvanced = true;
        if (piece.chordIndex > 5 || (active.segmentIndex == 0 && piece.chordIndex > 3)) {
            ++active.segmentIndex;
        }
    }
    if (std::fabs(s.crossTrackError) < 1.0 &&
        std::fabs(angleBetween(in.trueTrack, s.currentDesiredTrack)) < 50.0) {
        s.turnRate = steerArcSegment(piece.centreLatitude, piece.centreLongitude, piece.radius,
                                     piece.turnDirection == kSegmentRightArc);
        s.arcSteering = true;
    }
}

void LnavFrame::steerPathLeg() {
    FlightPlanLeg& active = leg();
    s.pathValid = active.legType() != TerminalLegType::PI && !active.pcdrTurn.active;
    if (active.segmentIndex >= active.path.size()) {
        sequence();
        s.legAdvanced = true;
        return;
    }
    setFixValues(active);
    if (active.legType() == TerminalLegType::FM || active.legType() == TerminalLegType::VM ||
        active.manualTermination) {
        s.ident.clear();
    }
    const std::size_t pieceIndex = active.segmentIndex;
    PathSegment& piece = active.path[pieceIndex];
    if (piece.turnDirection == kSegmentStraight || active.distance < kShortLegNm) {
        bool stop = false;
        steerStraightPiece(active, piece, pieceIndex + 1 == active.path.size(), stop);
        if (stop) {
            return;
        }
    } else {
        steerChord(active, piece);
    }
    bool done = active.segmentIndex >= active.path.size();
    if (isAltitudeTerminated(active.legType())) {
        const double altitude = in.altitude;
        const double target = active.vnav.altitude;
        const uint32_t kind = active.vnav.kind;
        done = (kind == 2 && altitude >= target) || (kind == 3 && altitude <= target) ||
               (kind != 2 && kind != 3 && std::fabs(altitude - target) < 20.0);
    }
    if (done) {
        sequence();
    }
}

void LnavFrame::steerRhumbLeg() {
    const FlightPlanLeg& active = leg();
    s.ident = active.wpt.ident;
    const Waypoint& fix = active.wpt;
    s.distanceToGo =
        RhumbNav::distanceBetween(in.latitude, in.longitude, fix.latitude, fix.longitude);
    s.bearingToFix =
        RhumbNav::courseBetween(in.latitude, in.longitude, fix.latitude, fix.longitude);
    RhumbNav(active.src.latitude, active.src.longitude)
        .crossTrack(fix.latitude, fix.longitude, in.latitude, in.longitude, s.crossTrackError,
                    s.segmentAlongTrack);
    setLegTracks(active);
    s.currentDesiredTrack = s.desiredTrackTrue;
    setDeviation(pathScale());
    if (RhumbNav::distanceBetween(active.src.latitude, active.src.longitude, fix.latitude,
                                  fix.longitude) <= s.segmentAlongTrack) {
        s.legAdvanced = true;
        sequence();
    }
}

void LnavFrame::steerArcLeg() {
    FlightPlanLeg& active = leg();
    s.pathValid = true;
    if (active.segmentIndex >= active.path.size()) {
        sequence();
        return;
    }
    setFixValues(active);
    PathSegment& piece = active.path[active.segmentIndex];
    const bool right = piece.turnDirection == kSegmentRightArc;
    const double bearing = GcNav::courseBetween(piece.centreLatitude, piece.centreLongitude,
                                                in.latitude, in.longitude);
    const double range = GcNav::distanceBetween(piece.centreLatitude, piece.centreLongitude,
                                                in.latitude, in.longitude);
    s.desiredTrackTrue = normalize360(right ? bearing + 90.0 : bearing - 90.0);
    s.desiredTrackMagnetic = normalize360(s.desiredTrackTrue - in.magneticVariation);
    s.currentDesiredTrack = s.desiredTrackTrue;
    s.crossTrackError = right ? piece.radius - range : range - piece.radius;
    s.deviation = clampDouble(-1.0, 1.0, s.crossTrackError / -2.5);

    const Point from = chordStart(piece);
    const Point to = chordEnd(piece);
    double crossTrack = 0.0;
    double along = 0.0;
    GcNav::crossTrackBetween(from.latitude, from.longitude, to.latitude, to.longitude, in.latitude,
                             in.longitude, crossTrack, along);
    const double f = fractionOf(
        along, GcNav::distanceBetween(from.latitude, from.longitude, to.latitude, to.longitude));
    if (f >= 1.0) {
        ++piece.chordIndex;
        if (piece.chordIndex > 6) {
            ++active.segmentIndex;
        }
    }
    if (std::fabs(s.crossTrackError) < 1.0) {
        s.turnRate =
            steerArcSegment(piece.centreLatitude, piece.centreLongitude, piece.radius, right);
        s.arcSteering = true;
    } else if (f >= 1.0) {
        s.legAdvanced = true;
    }
    if (active.segmentIndex >= active.path.size()) {
        sequence();
    }
}

void LnavFrame::steerProcedureTurn() {
    ProcedureTurn& turn = plan.pcdrTurn;
    const FlightPlanLeg& active = leg();
    const double scale = s.approach ? 0.3 : 1.0;
    s.desiredTrackTrue = normalize360(turn.trueCourse);
    s.desiredTrackMagnetic = normalize360(turn.magneticCourse);
    const auto point = [&turn](int i) {
        return Point{turn.pointLatitudes[i], turn.pointLongitudes[i]};
    };
    if (turn.procedureTurnPhase == 2) {
        const double bearing = GcNav::courseBetween(turn.turnBackLatitude, turn.turnBackLongitude,
                                                    in.latitude, in.longitude);
        const double range = GcNav::distanceBetween(turn.turnBackLatitude, turn.turnBackLongitude,
                                                    in.latitude, in.longitude);
        s.currentDesiredTrack = normalize360(turn.turnLeft ? bearing - 90.0 : bearing + 90.0);
        s.crossTrackError =
            turn.turnLeft ? range - turn.turnBackDistance : turn.turnBackDistance - range;
        setDeviation(scale);
        if (std::fabs(angleBetween(s.currentDesiredTrack, turn.trueCourse + 180.0)) < 20.0) {
            sequence();
        }
        return;
    }
    const bool outbound = turn.procedureTurnPhase == 0;
    const Point from = point(outbound ? ProcedureTurn::kFix : ProcedureTurn::kOutboundTurn);
    const Point to = point(outbound ? ProcedureTurn::kOutboundTurn : ProcedureTurn::kAngledLegEnd);
    double along = 0.0;
    trackAlong(from, to, along);
    const double length = outbound ? turn.outboundDistance : turn.minuteDistance;
    const double f = fractionOf(along, length);
    s.distanceToGo = active.distance - along - (outbound ? 0.0 : turn.outboundDistance);
    s.currentDesiredTrack =
        GcNav::courseAtFractionBetween(from.latitude, from.longitude, to.latitude, to.longitude, f);
    setDeviation(scale);
    if (outbound) {
        double lead = 0.0;
        context.turnGeometry(angleBetween(in.trueTrack, s.desiredTrackTrue), in.groundSpeed, lead,
                             in.altitude);
        if (turn.outboundDistance - along <= lead || f >= 1.0) {
            turn.procedureTurnPhase = 1;
            s.legAdvanced = f >= 1.0;
        }
    } else if (f > 1.0) {
        turn.procedureTurnPhase = 2;
        s.legAdvanced = true;
    }
}

void LnavFrame::steerHoldEntry(HoldingPattern& hold) {
    const auto corner = [&hold](int i) {
        return Point{hold.cornerLatitudes[i], hold.cornerLongitudes[i]};
    };
    double along = 0.0;
    trackAlong(corner(HoldingPattern::kInboundStart), corner(HoldingPattern::kFix), along);
    s.desiredTrackTrue = normalize360(hold.inboundCourse);
    s.desiredTrackMagnetic = normalize360(hold.inboundCourseMagnetic);
    if (!hold.holdEntryLegFlown) {
        const Point from{hold.entryLatitudes[0], hold.entryLongitudes[0]};
        const Point to{hold.entryLatitudes[1], hold.entryLongitudes[1]};
        trackAlong(from, to, along);
        const double speed = hold.holdSpeed > 0.0 ? hold.holdSpeed : hold.defaultSpeed;
        const double f = fractionOf(along, speed / 60.0);
        s.currentDesiredTrack = GcNav::courseAtFractionBetween(from.latitude, from.longitude,
                                                               to.latitude, to.longitude, f);
        setDeviation(2.5);
        if (f > 1.0) {
            hold.holdEntryLegFlown = 1;
            s.legAdvanced = true;
        }
        return;
    }
    const bool parallelRight = hold.entryKind == HoldEntry::Parallel && hold.rightTurns;
    s.currentDesiredTrack = normalize360(parallelRight ? in.heading - 90.0 : in.heading + 90.0);
    s.deviation = 0.0;
    if (std::fabs(angleBetween(in.heading, hold.inboundCourse)) < 90.0) {
        hold.holdInPattern = 1;
        hold.holdPhase = 0;
    }
}

void LnavFrame::steerHoldTurn(HoldingPattern& hold) {
    const bool right = hold.rightTurns != 0;
    const bool atFix = hold.holdPhase == 1;
    const auto& centre = atFix ? hold.fixTurnCentre : hold.farTurnCentre;
    s.turnRate = steerArcSegment(centre[0], centre[1], hold.turnRadius, right);
    s.arcSteering = true;
    setDeviation(2.5);
    const double target = atFix ? hold.inboundCourse + 180.0 : hold.inboundCourse;
    const int startCorner = atFix ? HoldingPattern::kFix : HoldingPattern::kOutboundEnd;
    const double startBearing =
        GcNav::courseBetween(centre[0], centre[1], hold.cornerLatitudes[startCorner],
                             hold.cornerLongitudes[startCorner]);
    const double bearing = GcNav::courseBetween(centre[0], centre[1], in.latitude, in.longitude);
    const double swept = angleBetween(startBearing, bearing);
    const bool nearNextLeg =
        std::fabs(angleBetween(in.heading, target)) < 30.0 && std::fabs(s.crossTrackError) > 0.1;
    if (nearNextLeg || (right ? swept > 140.0 : swept < -140.0)) {
        hold.holdPhase = atFix ? 2 : 0;
    }
}

void LnavFrame::steerHoldLeg(FlightPlanLeg& active, HoldingPattern& hold) {
    const bool inbound = hold.holdPhase == 0;
    const int first = inbound ? HoldingPattern::kInboundStart : HoldingPattern::kOutboundStart;
    const int last = inbound ? HoldingPattern::kFix : HoldingPattern::kOutboundEnd;
    const Point from{hold.cornerLatitudes[first], hold.cornerLongitudes[first]};
    const Point to{hold.cornerLatitudes[last], hold.cornerLongitudes[last]};
    double along = 0.0;
    trackAlong(from, to, along);
    const double turnAround = inbound ? 0.0 : 180.0;
    s.desiredTrackTrue = normalize360(hold.inboundCourse + turnAround);
    s.desiredTrackMagnetic = normalize360(hold.inboundCourseMagnetic + turnAround);
    const double f = fractionOf(along, hold.legLength);
    s.currentDesiredTrack =
        GcNav::courseAtFractionBetween(from.latitude, from.longitude, to.latitude, to.longitude, f);
    setDeviation(2.5);
    if (f < 1.0 && along + 0.3 <= hold.legLength) {
        return;
    }
    if (f >= 1.0) {
        s.legAdvanced = true;
    }
    if (!inbound) {
        hold.holdPhase = 3;
    } else if (hold.exitHold || active.legType() == TerminalLegType::HF) {
        sequence();
    } else {
        hold.holdPhase = 1;
    }
}

void LnavFrame::steerHold() {
    FlightPlanLeg& active = leg();
    HoldingPattern& hold = active.holding;
    s.pathValid = true;
    setFixValues(active);
    if (!hold.holdInPattern) {
        if (hold.entryKind != HoldEntry::Direct) {
            steerHoldEntry(hold);
            return;
        }
        hold.holdInPattern = 1;
        hold.holdPhase = 1;
    }
    if (hold.holdPhase == 1 || hold.holdPhase == 3) {
        steerHoldTurn(hold);
    } else {
        steerHoldLeg(active, hold);
    }
}

void LnavFrame::steerDiscontinuity() {
    s.pathValid = false;
    Waypoint target = plan.dest;
    for (std::size_t i = plan.activeLeg + 1; i < plan.legCount(); ++i) {
        if (plan.legs[i].isFixLeg()) {
            target = plan.legs[i].wpt;
            break;
        }
    }
    s.distanceToGo =
        GcNav::distanceBetween(in.latitude, in.longitude, target.latitude, target.longitude);
    s.bearingToFix =
        GcNav::courseBetween(in.latitude, in.longitude, target.latitude, target.longitude);
    s.ident = target.ident;
    if (host.lnavEngaged()) {
        host.showMessage("DISCONTINUITY", 0);
        host.cancelLateralMode();
    }
}

void LnavFrame::steerHeadingLeg() {
    const FlightPlanLeg& active = leg();
    s.pathValid = false;
    s.distanceToGo = 0.0;
    s.bearingToFix = 0.0;
    setLegTracks(active);
    s.currentDesiredTrack = s.desiredTrackTrue;
    s.deviation = s.legAlongTrack = s.segmentAlongTrack = s.crossTrackError = 0.0;
    s.ident.clear();
    if (host.lnavEngaged()) {
        host.cancelLateralMode();
    }
}

void LnavFrame::steerOrbit() {
    const Waypoint& centre = plan.activeLeg > 0 ? plan.legs[plan.activeLeg - 1].wpt : plan.org;
    const double bearing =
        GcNav::courseBetween(centre.latitude, centre.longitude, in.latitude, in.longitude);
    const double range =
        GcNav::distanceBetween(centre.latitude, centre.longitude, in.latitude, in.longitude);
    const bool right = plan.orbit.rightTurns;
    s.desiredTrackTrue = normalize360(right ? bearing + 90.0 : bearing - 90.0);
    s.desiredTrackMagnetic = normalize360(s.desiredTrackTrue - centre.variation);
    s.currentDesiredTrack = s.desiredTrackTrue;
    s.crossTrackError = right ? plan.orbit.radius - range : range - plan.orbit.radius;
    s.deviation = clampDouble(-1.0, 1.0, -s.crossTrackError);
}

} // namespace

void Lnav::update(FlightPlan& plan, const LnavInputs& inputs, const FlightPlanContext& context,
                  LnavHost& host) {
    LnavFrame(*this, plan, inputs, context, host).update();
}

void Lnav::sequenceToNextLeg(FlightPlan& plan, const LnavInputs& inputs,
                             const FlightPlanContext& context, LnavHost& host) {
    if (!inputs.airborne || std::fabs(state.crossTrackError) > kNeverSequenceOffPathNm ||
        plan.activeLeg >= plan.legCount()) {
        return;
    }
    const std::size_t index = plan.activeLeg;
    const Waypoint passed = plan.legs[index].wpt;
    const bool hasNext = index + 1 < plan.legCount();
    if (hasNext && plan.legs[index + 1].proc() == kProcMissedApproach) {
        return;
    }
    const bool keepAltitude = hasNext && inputs.descentStarted;
    const int32_t plannedAltitude = plan.legs[index].vnav.altitude;
    plan.sequenceActiveLeg(context);
    if (keepAltitude) {
        plan.legs[index].vnav.altitude = plannedAltitude;
    }
    host.legSequenced(passed);
    if (plan.activeLeg + 1 == plan.legCount() && plan.endsBeforeDestination()) {
        host.showMessage("LAST LEG", 1);
    }
    if (plan.activeLeg < plan.legCount() && host.lnavEngaged()) {
        const FlightPlanLeg& next = plan.legs[plan.activeLeg];
        if (!next.isFixLeg()) {
            if (next.isDiscontinuity()) {
                host.showMessage("DISCONTINUITY", 0);
            }
            host.cancelLateralMode();
        }
    }
}

TogaOutcome Lnav::activateMissedApproach(FlightPlan& active, FlightPlan& missed,
                                         const TogaInputs& inputs,
                                         const FlightPlanContext& context) {
    TogaOutcome outcome;
    if (inputs.onGround && inputs.verticalModeToGa) {
        if (inputs.groundSpeed >= 5.0f || !inputs.positionInitialised ||
            active.org.kind != WaypointKind::Runway) {
            return outcome;
        }
        const Runway& runway = active.orgRwy;
        outcome.action = TogaAction::TakeoffPositionUpdate;
        outcome.latitude = runway.latitude;
        outcome.longitude = runway.longitude;
        const GcNav gps(inputs.gpsLatitude, inputs.gpsLongitude);
        // The ground offset is followed from the GPS position, so it points from the GPS to the
        // runway: the reverse course would put the FMS position on the far side of the GPS.
        outcome.offsetBearing = gps.courseTo(runway.latitude, runway.longitude);
        outcome.offsetDistance = gps.distanceTo(runway.latitude, runway.longitude);
        return outcome;
    }
    if (!state.approach || !inputs.verticalModeToGa || missed.legCount() == 0 ||
        active.activeLeg >= active.legCount()) {
        return outcome;
    }
    outcome.action = TogaAction::GoAround;
    outcome.missedApproachAltitude =
        static_cast<int32_t>(std::max(static_cast<double>(active.dest.elevation) + 1500.0,
                                      static_cast<double>(inputs.preselectedAltitude)));
    active.locked = true;
    active.legs = missed.legs;
    active.distanceFlown = 0.0;
    active.activeLeg = 0;
    const Runway runway = active.destRwy;
    const Waypoint destination = active.dest;
    active.setOriginRunway(runway, context);
    active.setOrigin(destination, context);
    active.locked = false;
    active.recalculate(context);
    missed.clear(context);
    return outcome;
}

} // namespace tavi
