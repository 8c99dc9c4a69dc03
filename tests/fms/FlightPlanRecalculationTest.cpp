#include "FlightPlanTestSupport.h"
#include "core/Angles.h"
#include "fms/FlightPlan.h"
#include "navdata/GcNav.h"
#include "navdata/RhumbNav.h"

#include <cmath>
#include <gtest/gtest.h>
#include <numbers>

namespace tavi::test {
namespace {

// A fix at a course and distance from a point.
Waypoint fixFrom(const std::string& ident, const Waypoint& from, double course, double distance) {
    Waypoint point = fix(ident);
    GcNav(from.latitude, from.longitude)
        .destination(course, distance, point.latitude, point.longitude);
    return point;
}

// Origin at (0, 0), destination far away, and legs through the given fixes.
FlightPlan planThrough(const std::vector<Waypoint>& fixes) {
    FlightPlan plan;
    plan.org = airport("KAAA", 0.0, 0.0);
    plan.dest = airport("KZZZ", 10.0, 10.0);
    for (const Waypoint& point : fixes) {
        FlightPlanLeg leg;
        leg.wpt = point;
        plan.legs.push_back(leg);
    }
    return plan;
}

double pieceLength(const PathSegment& piece) {
    if (piece.turnDirection == kSegmentStraight) {
        return GcNav::distanceBetween(piece.startLatitude, piece.startLongitude, piece.endLatitude,
                                      piece.endLongitude);
    }
    return std::fabs(piece.sweep) * std::numbers::pi / 180.0 * piece.radius;
}

bool hasArc(const FlightPlanLeg& leg) {
    for (const PathSegment& piece : leg.path) {
        if (piece.turnDirection != kSegmentStraight) {
            return true;
        }
    }
    return false;
}

class RecalculationTest : public testing::Test {
protected:
    FakeFlightPlanContext context;
};

TEST_F(RecalculationTest, PlanWithoutLegsTakesTheDirectDistanceAtItsGroundSpeed) {
    FlightPlan plan = planThrough({});
    plan.recalculate(context);
    const double distance = GcNav::distanceBetween(0.0, 0.0, 10.0, 10.0);
    EXPECT_TRUE(plan.recalculated);
    EXPECT_DOUBLE_EQ(plan.totalDistance, distance);
    EXPECT_DOUBLE_EQ(plan.timeToGo, distance / 300.0 * 3600.0);
}

TEST_F(RecalculationTest, LockedPlanOrPlanWithoutEndsIsNotComputed) {
    FlightPlan plan = planThrough({fixFrom("P", airport("O", 0, 0), 90.0, 30.0)});
    plan.locked = true;
    plan.totalDistance = 7.0;
    plan.recalculate(context);
    EXPECT_FALSE(plan.recalculated);
    EXPECT_EQ(plan.totalDistance, 7.0);

    plan.locked = false;
    plan.dest = Waypoint();
    plan.recalculate(context);
    EXPECT_TRUE(plan.recalculated);
    EXPECT_EQ(plan.totalDistance, 0.0);
    EXPECT_EQ(plan.legs[0].distance, 0.0) << "legs are left alone";
}

TEST_F(RecalculationTest, LegsGetCourseDistanceTimeAndTemperature) {
    const Waypoint origin = airport("KAAA", 0.0, 0.0);
    const Waypoint p = fixFrom("P", origin, 90.0, 30.0);
    const Waypoint q = fixFrom("Q", p, 0.0, 45.0);
    FlightPlan plan = planThrough({p, q});
    plan.legs[0].vnav.altitude = 10000;
    plan.legs[1].tfd.time = 500.0f;
    plan.recalculate(context);

    const FlightPlanLeg& first = plan.legs[0];
    EXPECT_NEAR(first.distance, 30.0, 1e-9);
    EXPECT_NEAR(first.course, 90.0, 1e-9);
    EXPECT_EQ(first.speed, 300.0) << "the plan's ground speed before performance init";
    EXPECT_NEAR(first.legTime, 360.0, 1e-6);
    EXPECT_EQ(first.temperature, -4) << "ISA at 10 000 ft, truncated";
    EXPECT_EQ(first.temperatureAltitude, 10000);
    EXPECT_NEAR(plan.legs[1].course, 0.0, 1e-6);
    EXPECT_EQ(plan.legs[1].legTime, 500.0) << "the prediction's time";
    EXPECT_NEAR(plan.timeToGo, 860.0, 1e-6);
}

struct SpeedCase {
    const char* name;
    int32_t proc;
    bool confirmed;
    int32_t altitude;
    double speed;
};

class ProcedureSpeedTest : public testing::TestWithParam<SpeedCase> {};

TEST_P(ProcedureSpeedTest, LimitsTheSpeedByProcedure) {
    const SpeedCase& c = GetParam();
    FakeFlightPlanContext context;
    context.confirmed = c.confirmed;
    FlightPlan plan = planThrough({fixFrom("P", airport("O", 0, 0), 90.0, 30.0)});
    plan.gspd = 250;
    plan.org.elevation = 1000;
    plan.legs[0].speed = 260.0;
    plan.legs[0].trmLeg.proc = c.proc;
    plan.legs[0].vnav.altitude = c.altitude;
    plan.recalculate(context);
    EXPECT_EQ(plan.legs[0].speed, c.speed);
}

INSTANTIATE_TEST_SUITE_P(
    Legs, ProcedureSpeedTest,
    testing::Values(SpeedCase{"RouteBeforeInit", kProcRoute, false, 3000, 250.0},
                    SpeedCase{"ApproachBeforeInit", kProcApproach, false, 30000, 150.0},
                    SpeedCase{"SidBeforeInit", kProcSid, false, 30000, 180.0},
                    SpeedCase{"TransitionBeforeInit", kProcApproachTransition, false, 30000, 200.0},
                    SpeedCase{"MissedApproachBeforeInit", kProcMissedApproach, false, 30000, 180.0},
                    SpeedCase{"RouteAfterInit", kProcRoute, true, 3000, 260.0},
                    SpeedCase{"ApproachAfterInit", kProcApproach, true, 3000, 260.0},
                    SpeedCase{"SidLowAfterInit", kProcSid, true, 4999, 180.0},
                    SpeedCase{"SidHighAfterInit", kProcSid, true, 5000, 260.0}),
    [](const testing::TestParamInfo<SpeedCase>& info) { return std::string(info.param.name); });

// A leg's turns and time are built for the true airspeed it will be flown at: VNAV's command
// once the performance is initialised, else its speed constraint; neither is held to the
// procedures' limits, which only stand in for a speed nobody gave.
struct FlownSpeedCase {
    const char* name;
    int32_t proc;
    bool confirmed;
    double command;
    int32_t constraint;
    int32_t altitude;
    double trueAirspeed;
};

class FlownSpeedTest : public testing::TestWithParam<FlownSpeedCase> {};

TEST_P(FlownSpeedTest, BuildsTheLegForTheSpeedFlownThere) {
    const FlownSpeedCase& c = GetParam();
    FakeFlightPlanContext context;
    context.confirmed = c.confirmed;
    context.command = c.command;
    const Waypoint p = fixFrom("P", airport("O", 0, 0), 90.0, 30.0);
    FlightPlan plan = planThrough({p, fixFrom("Q", p, 0.0, 30.0)});
    plan.gspd = 300;
    plan.org.elevation = 1000;
    FlightPlanLeg& leg = plan.legs[0];
    leg.trmLeg.proc = c.proc;
    leg.vnav.altitude = c.altitude;
    leg.vnav.hasSpeed = c.constraint > 0;
    leg.vnav.speed = c.constraint;
    plan.recalculate(context);
    EXPECT_NEAR(leg.speed, c.trueAirspeed, 0.3);
    EXPECT_NEAR(leg.legTime, 30.0 / c.trueAirspeed * 3600.0, 0.5);
    ASSERT_TRUE(hasArc(leg));
    EXPECT_NEAR(leg.path.back().radius, c.trueAirspeed / 200.0, 0.01)
        << "the turn over P at that speed";
}

INSTANTIATE_TEST_SUITE_P(
    Legs, FlownSpeedTest,
    testing::Values(
        FlownSpeedCase{"ConstraintBeforeInit", kProcRoute, false, 0.0, 250, 5000, 268.4},
        FlownSpeedCase{"SidConstraintBeforeInit", kProcSid, false, 0.0, 250, 3000, 260.8},
        FlownSpeedCase{"CommandAfterInit", kProcRoute, true, 240.0, 0, 8000, 269.2},
        FlownSpeedCase{"SidCommandAfterInit", kProcSid, true, 250.0, 0, 3000, 260.8},
        FlownSpeedCase{"CommandBeforeInitIsNotFlown", kProcRoute, false, 240.0, 0, 8000, 300.0}),
    [](const testing::TestParamInfo<FlownSpeedCase>& info) {
        return std::string(info.param.name);
    });

// The hold is laid out for the speed VNAV commands in it, true at the hold's altitude: the
// hold's own speed, or the leg's speed constraint; one minute's leg is a minute at that speed.
TEST_F(RecalculationTest, HoldIsLaidOutForTheSpeedFlownInIt) {
    const struct {
        const char* name;
        int32_t constraint;
        int32_t altitude;
        double trueAirspeed;
    } cases[] = {{"own speed", 0, 6000, 239.8}, {"speed constraint", 200, 10000, 231.6}};
    for (const auto& c : cases) {
        const Waypoint p = fixFrom("P", airport("O", 0, 0), 90.0, 30.0);
        FlightPlan plan = planThrough({p});
        plan.gspd = 300;
        FlightPlanLeg& leg = plan.legs[0];
        leg.holding.active = 1;
        leg.holding.inboundCourse = 90.0;
        leg.vnav.altitude = c.altitude;
        leg.vnav.hasSpeed = c.constraint > 0;
        leg.vnav.speed = c.constraint;
        context.confirmed = true;
        plan.recalculate(context);
        EXPECT_NEAR(leg.holding.holdSpeed, c.trueAirspeed, 0.3) << c.name;
        EXPECT_NEAR(leg.holding.legLength, c.trueAirspeed / 60.0, 0.01) << c.name;
    }
}

TEST_F(RecalculationTest, HeadingLegWithoutDistanceRunsFiveMilesOnItsCourse) {
    Waypoint p = fixFrom("P", airport("O", 0, 0), 90.0, 30.0);
    p.variation = 10.0;
    FlightPlan plan = planThrough({p, Waypoint()});
    plan.legs[1].trmLeg.legType = TerminalLegType::VM;
    plan.legs[1].trmLeg.course = 80.0f;
    plan.recalculate(context);
    const FlightPlanLeg& heading = plan.legs[1];
    EXPECT_EQ(heading.distance, 5.0);
    EXPECT_NEAR(heading.course, 90.0, 1e-6) << "the desired track LNAV shows";
    EXPECT_NEAR(heading.magneticCourse(), 80.0, 1e-6);
    EXPECT_EQ(heading.wpt.variation, 10.0);
    EXPECT_NEAR(GcNav::distanceBetween(p.latitude, p.longitude, heading.wpt.latitude,
                                       heading.wpt.longitude),
                5.0, 1e-9);
    EXPECT_NEAR(
        GcNav::courseBetween(p.latitude, p.longitude, heading.wpt.latitude, heading.wpt.longitude),
        90.0, 1e-6);
}

TEST_F(RecalculationTest, ProcedureTurnLegRunsOutboundBeyondItsFix) {
    const Waypoint p = fixFrom("P", airport("O", 0, 0), 90.0, 30.0);
    FlightPlan plan = planThrough({p, Waypoint()});
    plan.gspd = 180;
    FlightPlanLeg& turn = plan.legs[1];
    turn.trmLeg.legType = TerminalLegType::PI;
    turn.pcdrTurn.outboundDistance = 4.0;
    plan.recalculate(context);
    // Outbound on the inbound leg's course for 4 nm and a minute at 180 kt.
    EXPECT_NEAR(turn.distance, 7.0, 1e-6);
    EXPECT_NEAR(turn.course, 90.0, 1e-3);
    EXPECT_NEAR(turn.legTime, 7.0 / 180.0 * 3600.0, 1e-3);
}

TEST_F(RecalculationTest, InterceptIsKeptOnlyAtTheStartOrAfterAHeadingLeg) {
    const Waypoint p = fixFrom("P", airport("O", 0, 0), 90.0, 30.0);
    const Waypoint q = fixFrom("Q", p, 90.0, 30.0);
    FlightPlan plan = planThrough({p, q});
    for (FlightPlanLeg& leg : plan.legs) {
        leg.setInterceptCourse(45.0, context);
    }
    const Waypoint firstStart = plan.legs[0].src;
    plan.recalculate(context);
    EXPECT_EQ(plan.legs[0].startKind, kStartIntercept);
    EXPECT_EQ(plan.legs[0].src.latitude, firstStart.latitude);
    EXPECT_EQ(plan.legs[1].startKind, kStartFromPreviousFix);
    EXPECT_EQ(plan.legs[1].src.kind, WaypointKind::Plain);
    EXPECT_NEAR(plan.legs[1].course, 90.0, 1e-6);

    ASSERT_FALSE(plan.legs[0].path.empty());
    for (const PathSegment& piece : plan.legs[0].path) {
        EXPECT_LE(RhumbNav::distanceBetween(piece.startLatitude, piece.startLongitude,
                                            piece.endLatitude, piece.endLongitude),
                  100.0 + 1e-6);
    }
    EXPECT_EQ(plan.legs[0].path.size(), 10u) << "1000 nm of rhumb line in 100 nm pieces";
}

TEST_F(RecalculationTest, HoldLegLaysOutItsRacetrack) {
    const Waypoint p = fixFrom("P", airport("O", 0, 0), 90.0, 30.0);
    FlightPlan plan = planThrough({p});
    plan.legs[0].trmLeg.legType = TerminalLegType::HM;
    plan.legs[0].holding.inboundCourse = 90.0;
    plan.recalculate(context);
    const HoldingPattern& hold = plan.legs[0].holding;
    EXPECT_NEAR(hold.holdSpeed, 220.0, 0.01) << "the hold's own speed, not the plan's 300 kt";
    EXPECT_GT(hold.turnRadius, 0.0);
    EXPECT_EQ(hold.cornerLatitudes[HoldingPattern::kFix], p.latitude);
    EXPECT_NEAR(plan.legs[0].distance, 30.0, 1e-9);
}

TEST_F(RecalculationTest, HoldEntryIsChosenFromTheArrivalCourseOfTheSamePass) {
    const Waypoint p = fixFrom("P", airport("O", 0, 0), 90.0, 30.0);
    FlightPlan plan = planThrough({p});
    plan.legs[0].trmLeg.legType = TerminalLegType::HM;
    plan.legs[0].holding.rightTurns = 1;
    // Arriving on 090 is within 90 degrees of the inbound course: a direct entry. The course 000
    // the leg had before its first pass would give another entry.
    plan.legs[0].holding.inboundCourse = 160.0;
    plan.recalculate(context);
    EXPECT_EQ(plan.legs[0].holding.entryKind, HoldEntry::Direct);
    plan.recalculate(context);
    EXPECT_EQ(plan.legs[0].holding.entryKind, HoldEntry::Direct);
}

// A 609 nm leg at 70N leaves on 075.9 and reaches its fix on 103.9: the hold's entry and the
// procedure turn's outbound course follow the track at the fix.
TEST_F(RecalculationTest, HoldAndProcedureTurnTakeTheTrackAtTheFix) {
    const Waypoint origin = airport("O", 70.0, 0.0);
    const Waypoint p = fixFrom("P", origin, 75.9, 609.0);
    const double atFix = GcNav::courseAtFractionBetween(origin.latitude, origin.longitude,
                                                        p.latitude, p.longitude, 0.999);
    ASSERT_NEAR(atFix, 103.9, 0.3);

    FlightPlan hold = planThrough({p});
    hold.org = origin;
    hold.legs[0].trmLeg.legType = TerminalLegType::HM;
    hold.legs[0].holding.rightTurns = 1;
    // 86 degrees right of the track at the fix, 114 right of the initial course.
    hold.legs[0].holding.inboundCourse = 190.0;
    hold.recalculate(context);
    EXPECT_EQ(hold.legs[0].holding.entryKind, HoldEntry::Direct);

    FlightPlan turn = planThrough({p, fixFrom("Q", p, 90.0, 10.0)});
    turn.org = origin;
    turn.legs[0].wpt.variation = 10.0f;
    turn.legs[1].trmLeg.legType = TerminalLegType::PI;
    turn.recalculate(context);
    EXPECT_NEAR(turn.legs[1].pcdrTurn.trueCourse, atFix, 0.01);
    EXPECT_NEAR(turn.legs[1].pcdrTurn.magneticCourse, atFix - 10.0, 0.01);
}

TEST_F(RecalculationTest, LegWithoutFixSitsOnThePreviousFix) {
    const Waypoint p = fixFrom("P", airport("O", 0, 0), 90.0, 30.0);
    FlightPlan plan = planThrough({p, Waypoint(), fixFrom("Q", p, 0.0, 30.0)});
    plan.legs[1].setDiscontinuity(true);
    plan.recalculate(context);
    EXPECT_EQ(plan.legs[1].wpt.latitude, p.latitude);
    EXPECT_EQ(plan.legs[1].wpt.longitude, p.longitude);
    EXPECT_TRUE(plan.legs[1].path.empty());
    EXPECT_TRUE(plan.legs[2].path.empty()) << "nothing after a break";
}

TEST_F(RecalculationTest, StraightSpansAreCutInTwentyMilePieces) {
    for (const auto& [span, pieces] : {std::pair{40.0, 2u}, {15.0, 1u}, {50.0, 3u}}) {
        FlightPlan plan = planThrough({fixFrom("P", airport("O", 0, 0), 90.0, span)});
        plan.recalculate(context);
        const std::vector<PathSegment>& path = plan.legs[0].path;
        ASSERT_EQ(path.size(), pieces) << span;
        double total = 0.0;
        for (const PathSegment& piece : path) {
            EXPECT_LE(pieceLength(piece), 20.0 + 1e-9);
            total += pieceLength(piece);
        }
        EXPECT_NEAR(total, span, 1e-6);
        EXPECT_EQ(path.back().endLatitude, plan.legs[0].wpt.latitude);
        EXPECT_EQ(path.back().endLongitude, plan.legs[0].wpt.longitude);
    }
}

// Rounding must not add a piece without length to a span of a whole number of pieces: LNAV
// would fly a frame on its meaningless track.
TEST_F(RecalculationTest, WholeNumberOfPiecesGetsNoEmptyPiece) {
    for (int pieces = 1; pieces <= 12; ++pieces) {
        for (const double course : {0.0, 45.0, 90.0, 200.0}) {
            FlightPlan plan =
                planThrough({fixFrom("P", airport("O", 0, 0), course, 20.0 * pieces)});
            plan.recalculate(context);
            EXPECT_EQ(plan.legs[0].path.size(), static_cast<std::size_t>(pieces)) << course;
        }
    }
}

// Turns whose leads overlap on a 2.4 nm leg: the path stays continuous and runs forward, the
// turn out of the short leg beginning where the turn onto it ends and the path rejoining the
// next leg at no more than 30 degrees.
TEST_F(RecalculationTest, OverlappingTurnLeadsKeepThePathGoingForward) {
    const Waypoint p = fixFrom("P", airport("O", 0, 0), 90.0, 30.0);
    const Waypoint q = fixFrom("Q", p, 352.0, 3.2);
    const Waypoint r = fixFrom("R", q, 76.0, 2.4);
    const Waypoint s = fixFrom("S", r, 166.0, 30.0);
    FlightPlan plan = planThrough({p, q, r, s});
    plan.recalculate(context);
    const FlightPlanLeg& shortLeg = plan.legs[2];
    EXPECT_TRUE(hasArc(shortLeg)) << "the turn onto it is kept";
    EXPECT_EQ(shortLeg.path.size(), 2u) << "no straight between the two turns";
    EXPECT_NE(shortLeg.path.back().turnDirection, kSegmentStraight) << "the turn out is kept";
    EXPECT_NE(plan.legs[3].path.front().turnDirection, kSegmentStraight);
    for (std::size_t k = 1; k < plan.legCount(); ++k) {
        const std::vector<PathSegment>& path = plan.legs[k].path;
        const PathSegment& last = plan.legs[k - 1].path.back();
        EXPECT_NEAR(GcNav::distanceBetween(last.endLatitude, last.endLongitude,
                                           path.front().startLatitude, path.front().startLongitude),
                    0.0, 1e-6)
            << "continuous into leg " << k;
        for (const PathSegment& piece : path) {
            if (piece.turnDirection != kSegmentStraight || pieceLength(piece) == 0.0) {
                continue;
            }
            const double pieceCourse = GcNav::courseBetween(
                piece.startLatitude, piece.startLongitude, piece.endLatitude, piece.endLongitude);
            EXPECT_LT(std::fabs(normalize180(pieceCourse - plan.legs[k].course)), 31.0)
                << "leg " << k << " runs forward";
        }
    }
}

TEST_F(RecalculationTest, FlyByTurnIsSplitAtTheFix) {
    const Waypoint p = fixFrom("P", airport("O", 0, 0), 90.0, 30.0);
    FlightPlan plan = planThrough({p, fixFrom("Q", p, 0.0, 30.0)});
    plan.recalculate(context);
    const PathSegment& before = plan.legs[0].path.back();
    const PathSegment& after = plan.legs[1].path.front();
    ASSERT_EQ(before.turnDirection, kSegmentLeftArc);
    ASSERT_EQ(after.turnDirection, kSegmentLeftArc);
    EXPECT_NEAR(before.radius, 1.5, 1e-12) << "300 kt in the test's turn geometry";
    EXPECT_EQ(before.centreLatitude, after.centreLatitude);
    EXPECT_NEAR(before.endLatitude, after.startLatitude, 1e-12);
    EXPECT_NEAR(before.endLongitude, after.startLongitude, 1e-12);
    EXPECT_NEAR(GcNav::distanceBetween(before.startLatitude, before.startLongitude, p.latitude,
                                       p.longitude),
                1.5, 1e-3)
        << "the turn starts one lead before the fix";
    EXPECT_NEAR(before.sweep + after.sweep, -90.0, 0.01);
    EXPECT_NEAR(before.sweep, after.sweep, 0.01);
    const PathSegment& lastStraight = plan.legs[0].path[plan.legs[0].path.size() - 2];
    EXPECT_NEAR(lastStraight.endLatitude, before.startLatitude, 1e-12);
    EXPECT_NEAR(lastStraight.endLongitude, before.startLongitude, 1e-12);
}

TEST_F(RecalculationTest, SmallAndLargeCourseChangesGetNoArc) {
    for (const double change : {4.0, 155.0}) {
        const Waypoint p = fixFrom("P", airport("O", 0, 0), 90.0, 30.0);
        FlightPlan plan = planThrough({p, fixFrom("Q", p, 90.0 + change, 30.0)});
        plan.recalculate(context);
        EXPECT_FALSE(hasArc(plan.legs[0])) << change;
        EXPECT_FALSE(hasArc(plan.legs[1])) << change;
        EXPECT_EQ(plan.legs[0].path.back().endLatitude, p.latitude) << "meet at the fix";
        EXPECT_EQ(plan.legs[1].path.front().startLatitude, p.latitude);
    }
}

TEST_F(RecalculationTest, FlyOverFixGetsNoTurnAfterIt) {
    const Waypoint p = fixFrom("P", airport("O", 0, 0), 90.0, 30.0);
    FlightPlan plan = planThrough({p, fixFrom("Q", p, 0.0, 30.0)});
    plan.legs[0].trmLeg.flyOver = true;
    plan.recalculate(context);
    EXPECT_FALSE(hasArc(plan.legs[0]));
    EXPECT_FALSE(hasArc(plan.legs[1]));
}

// An RF leg from P east through 90 or 180 degrees of its navaid circle, either way round.
struct ArcSweepCase {
    int32_t turnDirection;
    double sweep;
};

class ArcSweepTest : public RecalculationTest, public testing::WithParamInterface<ArcSweepCase> {};

TEST_P(ArcSweepTest, ArcLegFollowsItsNavaidCircleInItsDirection) {
    const bool left = GetParam().turnDirection == kTurnLeft;
    const double sweep = GetParam().sweep;
    const Waypoint p = fixFrom("P", airport("O", 0, 0), 90.0, 30.0);
    const Waypoint navaid = fixFrom("N", p, left ? 0.0 : 180.0, 10.0);
    const double startBearing = left ? 180.0 : 0.0;
    const Waypoint q =
        fixFrom("Q", navaid, normalize360(startBearing + (left ? -sweep : sweep)), 10.0);
    FlightPlan plan = planThrough({p, q});
    TerminalLeg& arc = plan.legs[1].trmLeg;
    arc.legType = TerminalLegType::RF;
    arc.turnDirection = GetParam().turnDirection;
    arc.navaidLatitude = navaid.latitude;
    arc.navaidLongitude = navaid.longitude;
    arc.navaidDistance = 10.0f;
    plan.recalculate(context);
    ASSERT_FALSE(plan.legs[1].path.empty());
    const PathSegment& piece = plan.legs[1].path.back();
    EXPECT_EQ(piece.turnDirection, left ? kSegmentLeftArc : kSegmentRightArc);
    EXPECT_NEAR(piece.sweep, left ? -sweep : sweep, 0.01);
    EXPECT_NEAR(GcNav::distanceBetween(navaid.latitude, navaid.longitude, piece.endLatitude,
                                       piece.endLongitude),
                10.0, 1e-6);
}

INSTANTIATE_TEST_SUITE_P(Sweeps, ArcSweepTest,
                         testing::Values(ArcSweepCase{kTurnLeft, 90.0},
                                         ArcSweepCase{kTurnRight, 90.0},
                                         ArcSweepCase{kTurnLeft, 180.0},
                                         ArcSweepCase{kTurnRight, 180.0}));

// A straight leg east to P, then an RF leg round a navaid whose tangent at P lies the given
// number of degrees off the leg's course (positive to the right), bending left through 90
// degrees, then a leg on.
struct ArcEntryCase {
    double offTangent;
    bool flownBy;
};

FlightPlan planOntoArc(double offTangent, Waypoint& navaid) {
    const Waypoint p = fixFrom("P", airport("O", 0, 0), 90.0, 30.0);
    // A left arc's tangent is the bearing from its navaid less 90 degrees.
    navaid = fixFrom("N", p, normalize360(90.0 + offTangent - 90.0), 8.0);
    const double fixBearing =
        GcNav::courseBetween(navaid.latitude, navaid.longitude, p.latitude, p.longitude);
    const Waypoint q = fixFrom("Q", navaid, normalize360(fixBearing - 90.0), 8.0);
    FlightPlan plan = planThrough({p, q, fixFrom("R", q, 0.0, 20.0)});
    TerminalLeg& arc = plan.legs[1].trmLeg;
    arc.legType = TerminalLegType::RF;
    arc.turnDirection = kTurnLeft;
    arc.navaidLatitude = navaid.latitude;
    arc.navaidLongitude = navaid.longitude;
    arc.navaidDistance = 8.0f;
    return plan;
}

class ArcEntryTest : public RecalculationTest, public testing::WithParamInterface<ArcEntryCase> {};

TEST_P(ArcEntryTest, TurnOntoAnArcLegEndsOnTheArcWithoutAGap) {
    Waypoint navaid;
    FlightPlan plan = planOntoArc(GetParam().offTangent, navaid);
    plan.recalculate(context);
    const FlightPlanLeg& arcLeg = plan.legs[1];
    ASSERT_FALSE(arcLeg.path.empty());
    EXPECT_EQ(hasArc(plan.legs[0]), GetParam().flownBy);
    const PathSegment& arc = arcLeg.path.back();
    EXPECT_EQ(arc.turnDirection, kSegmentLeftArc) << "the arc is never a chord";
    EXPECT_EQ(arc.centreLatitude, navaid.latitude);
    EXPECT_NEAR(GcNav::distanceBetween(navaid.latitude, navaid.longitude, arc.startLatitude,
                                       arc.startLongitude),
                8.0, 1e-6);
    for (std::size_t k = 0; k + 1 < plan.legCount(); ++k) {
        std::vector<PathSegment> pieces = plan.legs[k].path;
        pieces.push_back(plan.legs[k + 1].path.front());
        for (std::size_t i = 1; i < pieces.size(); ++i) {
            EXPECT_LT(GcNav::distanceBetween(pieces[i - 1].endLatitude, pieces[i - 1].endLongitude,
                                             pieces[i].startLatitude, pieces[i].startLongitude),
                      0.001)
                << "gap before piece " << i << " of leg " << k;
        }
    }
    if (GetParam().flownBy) {
        const PathSegment& turnEnd = arcLeg.path.front();
        const double turnCourse = normalize360(turnEnd.startBearing + turnEnd.sweep +
                                               (turnEnd.sweep < 0.0 ? -90.0 : 90.0));
        const double arcCourse = normalize360(arc.startBearing - 90.0);
        EXPECT_NEAR(normalize180(turnCourse - arcCourse), 0.0, 0.5)
            << "the turn meets the arc on its tangent";
    }
}

INSTANTIATE_TEST_SUITE_P(Entries, ArcEntryTest,
                         testing::Values(ArcEntryCase{-30.0, true}, ArcEntryCase{30.0, true},
                                         ArcEntryCase{-3.0, false}, ArcEntryCase{160.0, false}));

TEST_F(RecalculationTest, MarkersLieInsideACountedFixLeg) {
    const Waypoint p = fixFrom("P", airport("O", 0, 0), 90.0, 30.0);
    FlightPlan plan = planThrough({p, Waypoint(), fixFrom("Q", p, 90.0, 30.0)});
    plan.legs[1].trmLeg.legType = TerminalLegType::FM;
    plan.legs[1].manualTermination = true;
    plan.recalculate(context);
    plan.legs[0].distance = 30.0;
    plan.legs[2].distance = 30.0;

    plan.placeMarker(40.0, "TOD");
    ASSERT_EQ(plan.legs[2].markers.size(), 1u) << "the heading leg is not counted";
    const PilotPoint& marker = plan.legs[2].markers[0];
    EXPECT_EQ(marker.ident, "TOD");
    EXPECT_EQ(marker.kind, WaypointKind::PilotWaypoint);
    EXPECT_NEAR(GcNav::distanceBetween(p.latitude, p.longitude, marker.latitude, marker.longitude),
                10.0, 1e-6);

    plan.placeMarker(30.0, "END");
    plan.placeMarker(60.0, "LAST");
    plan.placeMarker(75.0, "PAST");
    plan.placeMarker(-1.0, "NEG");
    EXPECT_TRUE(plan.legs[0].markers.empty());
    EXPECT_EQ(plan.legs[2].markers.size(), 1u);
}

TEST_F(RecalculationTest, MarkerWithoutPathFollowsTheGreatCircle) {
    FlightPlan plan = planThrough({fixFrom("P", airport("O", 0, 0), 90.0, 30.0)});
    plan.legs[0].distance = 30.0;
    plan.placeMarker(15.0, "TOC");
    ASSERT_EQ(plan.legs[0].markers.size(), 1u);
    EXPECT_NEAR(GcNav::distanceBetween(0.0, 0.0, plan.legs[0].markers[0].latitude,
                                       plan.legs[0].markers[0].longitude),
                15.0, 1e-6);
}

} // namespace
} // namespace tavi::test
