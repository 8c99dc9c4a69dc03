#include "fms/FlightPlan.h"

#include "FlightPlanTestSupport.h"
#include "navdata/GcNav.h"

#include <gtest/gtest.h>

namespace tavi::test {
namespace {

void giveAltitude(FlightPlanLeg& leg, int32_t altitude, uint32_t phase,
                  uint32_t kind = kAltitudeAt) {
    leg.vnav.hasAltitude = true;
    leg.vnav.altitude = altitude;
    leg.vnav.phase = phase;
    leg.vnav.kind = kind;
}

TEST(FlightPlanTest, FreshPlanHasItsDefaults) {
    const FlightPlan plan;
    EXPECT_EQ(plan.gspd, 300u);
    EXPECT_EQ(plan.nextFixOffset, -1);
    EXPECT_EQ(plan.legCount(), 0u);
    EXPECT_FALSE(plan.hasOriginAndDestination());
    EXPECT_EQ(plan.pcdrTurn.speed, 180.0);
}

TEST(FlightPlanTest, FromWaypointIsWhereEachLegStarts) {
    FlightPlan plan = planFrom("P FM Q FM FM R");
    EXPECT_EQ(plan.fromWaypoint(0).ident, "KAAA");
    EXPECT_EQ(plan.fromWaypoint(1).ident, "P");
    EXPECT_EQ(plan.fromWaypoint(2).ident, "P") << "after a heading leg: the fix leg before it";
    EXPECT_EQ(plan.fromWaypoint(6).kind, WaypointKind::Plain);
    EXPECT_EQ(plan.fromWaypoint(5).ident, "Q") << "the last fix leg before two heading legs";

    plan.legs[3].src = fix("S");
    EXPECT_EQ(plan.fromWaypoint(3).ident, "S") << "a start point of its own wins";
}

TEST(FlightPlanTest, FromWaypointOfAnEmptyPlan) {
    FlightPlan plan;
    EXPECT_EQ(plan.fromWaypoint(0).kind, WaypointKind::Plain);
    plan.org = airport("KAAA", 1.0, 2.0);
    EXPECT_EQ(plan.fromWaypoint(0).ident, "KAAA");
    EXPECT_EQ(plan.fromWaypoint(1).kind, WaypointKind::Plain);
}

TEST(FlightPlanTest, FromWaypointWithoutAnEarlierFixIsTheOrigin) {
    const FlightPlan plan = planFrom("FM FM P");
    EXPECT_EQ(plan.fromWaypoint(2).ident, "KAAA");
}

TEST(FlightPlanTest, NextFixLegCountsFromTheActiveLeg) {
    FlightPlan plan = planFrom("P / FM Q R");
    plan.activeLeg = 1;
    plan.findNextFixLeg(0);
    EXPECT_EQ(plan.nextFixOffset, 2) << "Q, two legs after the active one";
    plan.findNextFixLeg(9);
    EXPECT_EQ(plan.nextFixOffset, 2) << "an offset past the last leg starts at the active leg";
    plan.findNextFixLeg(4);
    EXPECT_EQ(plan.nextFixOffset, -1) << "runs past the end from the active leg";
    plan.findNextFixLeg(-1);
    EXPECT_EQ(plan.nextFixOffset, -1);
}

TEST(FlightPlanTest, RouteEndAtARunwayOfTheDestinationAirport) {
    FlightPlan plan = planFrom("P Q R");
    Waypoint runway = fix("RW27");
    runway.kind = WaypointKind::Runway;
    runway.aptIdent = "KZZZ";
    plan.legs[1].wpt = runway;
    for (FlightPlanLeg& leg : plan.legs) {
        leg.distance = 10.0;
    }
    plan.findRouteEnd();
    EXPECT_TRUE(plan.routeEndFound);
    EXPECT_EQ(plan.routeEndLeg, 1u);
    EXPECT_EQ(plan.totalDistance, 20.0) << "legs after the route end are not added";
}

// The route ends at its last fix and goes direct to the destination from there.
TEST(FlightPlanTest, RouteThatNeverReachesTheDestinationAddsTheDirectDistance) {
    FlightPlan plan = planFrom("P Q");
    plan.legs[0].distance = 5.0;
    plan.legs[1].distance = 7.0;
    plan.findRouteEnd();
    EXPECT_TRUE(plan.routeEndFound);
    EXPECT_TRUE(plan.routeEndShort);
    EXPECT_EQ(plan.routeEndLeg, 1u);
    const Waypoint& q = plan.legs[1].wpt;
    EXPECT_DOUBLE_EQ(plan.totalDistance,
                     12.0 + GcNav::distanceBetween(q.latitude, q.longitude, 0.0, 5.0));
}

TEST(FlightPlanTest, RouteEndByTheDestinationItselfOrTheLastLegsIdent) {
    FlightPlan plan = planFrom("P Q");
    plan.legs[0].wpt = plan.dest;
    plan.findRouteEnd();
    EXPECT_EQ(plan.routeEndLeg, 0u);
    EXPECT_TRUE(plan.routeEndFound);
    EXPECT_FALSE(plan.routeEndShort);

    plan = planFrom("P Q");
    plan.legs[1].wpt.ident = "KZZZ";
    plan.findRouteEnd();
    EXPECT_TRUE(plan.routeEndFound);
    EXPECT_EQ(plan.routeEndLeg, 1u);
}

TEST(FlightPlanTest, DestinationWithoutAnAirportIdentMatchesNoRunway) {
    FlightPlan plan = planFrom("P Q");
    plan.dest = fix("Z");
    Waypoint runway = fix("RW27");
    runway.kind = WaypointKind::Runway;
    plan.legs[1].wpt = runway;
    plan.legs[1].wpt.ident = "";
    plan.findRouteEnd();
    EXPECT_TRUE(plan.routeEndShort) << "the runway is not the destination";
}

TEST(FlightPlanTest, DescentEndIsTheLastDescentAtConstraintOrRunway) {
    FlightPlan plan = planFrom("P Q R S");
    giveAltitude(plan.legs[1], 6000, kPhaseDescent);
    giveAltitude(plan.legs[2], 4000, kPhaseDescent, kAltitudeAtOrAbove);
    plan.routeEndLeg = 3;
    plan.findDescentEnd();
    EXPECT_TRUE(plan.descentEndFound);
    EXPECT_EQ(plan.descentEndLeg, 1u);

    plan.activeLeg = 2;
    plan.findDescentEnd();
    EXPECT_FALSE(plan.descentEndFound) << "the walk stops below the active leg";

    plan.activeLeg = 0;
    plan.legs[2].setDiscontinuity(true);
    plan.findDescentEnd();
    EXPECT_FALSE(plan.descentEndFound) << "the walk stops at a break";
}

TEST(FlightPlanTest, ConstraintUpkeepSetsTheArrivalAndTheVerticalSpeeds) {
    FakeFlightPlanContext context;
    context.angle = 3.5;
    FlightPlan plan = planFrom("P Q R S");
    plan.org.elevation = 1000;
    plan.dest.elevation = 432;
    plan.routeEndFound = true;
    plan.routeEndLeg = 3;
    for (FlightPlanLeg& leg : plan.legs) {
        leg.legTime = 120.0;
    }
    giveAltitude(plan.legs[0], 5000, kPhaseClimb);
    giveAltitude(plan.legs[1], 30000, kPhaseClimb);
    plan.legs[2].vnav.phase = kPhaseDescent;
    plan.legs[2].vnav.pathAngleEntered = true;
    plan.legs[2].vnav.pathAngle = 2.5f;
    plan.updateConstraints(context);

    const LegConstraints& last = plan.legs[3].vnav;
    EXPECT_TRUE(last.hasAltitude);
    EXPECT_EQ(last.kind, kAltitudeAt);
    EXPECT_EQ(last.phase, kPhaseDescent);
    EXPECT_EQ(last.altitude, 432);
    EXPECT_EQ(plan.legs[0].vnav.verticalSpeed, 2000) << "from the origin's elevation";
    EXPECT_EQ(plan.legs[1].vnav.verticalSpeed, 9900) << "12 500 ft/min clamped";
    EXPECT_EQ(plan.legs[2].vnav.verticalSpeed, 0);
    EXPECT_EQ(plan.legs[2].vnav.phase, kPhaseNone) << "no altitude, no phase";
    EXPECT_EQ(plan.legs[3].vnav.verticalSpeed, 0) << "the leg before has no altitude";
    EXPECT_FLOAT_EQ(plan.legs[0].vnav.pathAngle, 3.5f);
    EXPECT_FLOAT_EQ(plan.legs[2].vnav.pathAngle, 2.5f);
}

TEST(FlightPlanTest, ClimbConstraintCapsTheAltitudesBeforeIt) {
    FakeFlightPlanContext context;
    FlightPlan plan = planFrom("P Q R S");
    plan.legs[0].vnav.altitude = 9000;
    plan.legs[1].vnav.altitude = 7000;
    giveAltitude(plan.legs[2], 6000, kPhaseClimb, kAltitudeWindow);
    plan.legs[2].vnav.altitude2 = 8000;
    plan.legs[3].vnav.altitude = 12000;
    plan.updateConstraints(context);
    EXPECT_EQ(plan.legs[0].vnav.altitude, 8000);
    EXPECT_EQ(plan.legs[1].vnav.altitude, 7000);
    EXPECT_EQ(plan.legs[2].vnav.altitude, 6000);
    EXPECT_EQ(plan.legs[3].vnav.altitude, 12000) << "after the constraint: not capped";
}

TEST(FlightPlanTest, SequencingIntoAHoldEntersItAndStays) {
    FakeFlightPlanContext context;
    FlightPlan plan = planFrom("P Q");
    plan.legs[0].distance = 10.0;
    plan.legs[0].holding.active = 1;
    plan.sequenceActiveLeg(context);
    EXPECT_EQ(plan.activeLeg, 0u);
    EXPECT_EQ(plan.legs[0].holding.entered, 1);
    EXPECT_EQ(plan.legs[0].holding.holdPhase, 1u);
    EXPECT_EQ(plan.distanceFlown, 0.0);
    plan.sequenceActiveLeg(context);
    EXPECT_EQ(plan.activeLeg, 1u);
    EXPECT_EQ(plan.distanceFlown, 10.0);
}

TEST(FlightPlanTest, SequencingAddsTheLegAndTakesItsPatterns) {
    FakeFlightPlanContext context;
    FlightPlan plan = planFrom("P Q R");
    plan.legs[0].distance = 12.0;
    plan.legs[0].fuelUsed = 150.0f;
    plan.legs[0].orbit.active = true;
    plan.legs[0].orbit.radius = 4.0;
    plan.legs[1].pcdrTurn.active = 1;
    plan.legs[1].segmentIndex = 3;
    plan.sequenceActiveLeg(context);
    EXPECT_EQ(plan.distanceFlown, 12.0);
    EXPECT_EQ(plan.fuelUsed, 150.0f);
    EXPECT_TRUE(plan.orbit.entered);
    EXPECT_EQ(plan.orbit.radius, 4.0);
    EXPECT_EQ(plan.legs[1].segmentIndex, 0u);
    plan.sequenceActiveLeg(context);
    EXPECT_FALSE(plan.orbit.active);
    EXPECT_EQ(plan.pcdrTurn.passed, 1);
    EXPECT_EQ(plan.activeLeg, 2u);
}

struct CrossingCase {
    float altitude;
    bool hasAltitude;
    uint32_t phase;
    int32_t recorded;
};

class CrossingAltitudeTest : public testing::TestWithParam<CrossingCase> {};

TEST_P(CrossingAltitudeTest, RecordsTheAltitudeAtTheFix) {
    const CrossingCase& c = GetParam();
    FakeFlightPlanContext context;
    context.inAir = true;
    context.altitudeFt = c.altitude;
    FlightPlan plan = planFrom("P Q");
    plan.legs[0].vnav.hasAltitude = c.hasAltitude;
    plan.legs[0].vnav.phase = c.phase;
    plan.legs[0].vnav.altitude = 1;
    plan.sequenceActiveLeg(context);
    EXPECT_EQ(plan.legs[0].vnav.altitude, c.recorded);
    EXPECT_TRUE(plan.legs[0].vnav.hasAltitude);
}

INSTANTIATE_TEST_SUITE_P(Altitudes, CrossingAltitudeTest,
                         testing::Values(CrossingCase{12349.0f, false, kPhaseNone, 12300},
                                         CrossingCase{12349.0f, true, kPhaseClimb, 12300},
                                         CrossingCase{12349.7f, true, kPhaseDescent, 12349},
                                         CrossingCase{12350.0f, false, kPhaseNone, 12400},
                                         CrossingCase{12350.0f, true, kPhaseNone, 12400}));

TEST(FlightPlanTest, SequencingOnTheGroundRecordsNoAltitude) {
    FakeFlightPlanContext context;
    context.altitudeFt = 12349.0f;
    FlightPlan plan = planFrom("P Q");
    plan.sequenceActiveLeg(context);
    EXPECT_FALSE(plan.legs[0].vnav.hasAltitude);
    EXPECT_EQ(plan.legs[0].vnav.altitude, 0);
}

TEST(FlightPlanTest, SequencingPastTheLastLegChangesNothing) {
    FakeFlightPlanContext context;
    FlightPlan plan = planFrom("P");
    plan.activeLeg = 1;
    plan.sequenceActiveLeg(context);
    EXPECT_EQ(plan.activeLeg, 1u);
}

TEST(FlightPlanTest, ClimbAndDescentConstraintQueries) {
    FlightPlan plan = planFrom("P Q R S T");
    giveAltitude(plan.legs[0], 3000, kPhaseDescent);
    giveAltitude(plan.legs[1], 5000, kPhaseDescent);
    giveAltitude(plan.legs[2], 9000, kPhaseClimb);
    giveAltitude(plan.legs[3], 8000, kPhaseNone);
    EXPECT_EQ(plan.nextClimbConstraint(0), 9000);
    EXPECT_EQ(plan.nextClimbConstraint(2), kNoAltitudeConstraint);
    EXPECT_EQ(plan.nextClimbConstraint(4), kNoAltitudeConstraint);
    EXPECT_EQ(plan.previousDescentConstraint(0), kNoAltitudeConstraint);
    EXPECT_EQ(plan.previousDescentConstraint(1), kNoAltitudeConstraint)
        << "leg 0 is never examined";
    EXPECT_EQ(plan.previousDescentConstraint(9), 8000) << "phase 0 at or after the active leg";
    plan.activeLeg = 4;
    EXPECT_EQ(plan.previousDescentConstraint(9), 5000);
}

TEST(FlightPlanTest, ConstraintInRangeFindsTheNextOneToMeet) {
    FlightPlan plan = planFrom("P Q R S");
    for (FlightPlanLeg& leg : plan.legs) {
        leg.distance = 10.0;
    }
    plan.activeLeg = 1;
    giveAltitude(plan.legs[0], 3000, kPhaseDescent);
    giveAltitude(plan.legs[2], 9000, kPhaseClimb, kAltitudeAtOrAbove);
    giveAltitude(plan.legs[3], 5000, kPhaseDescent, kAltitudeAtOrBelow);
    plan.legs[3].vnav.predictedAltitude = 4700;
    double toGo = -1.0;
    std::size_t index = 99;

    EXPECT_TRUE(plan.findConstraintInRange(0.0, 100.0, toGo, index, 0));
    EXPECT_EQ(index, 2u) << "leg 0 lies before the active leg";
    EXPECT_EQ(toGo, 20.0);

    EXPECT_TRUE(plan.findConstraintInRange(0.0, 100.0, toGo, index, kConstraintRangeClimb));
    EXPECT_EQ(index, 3u) << "at-or-above does not count in mode 1";
    EXPECT_EQ(toGo, 30.0);

    EXPECT_FALSE(plan.findConstraintInRange(0.0, 25.0, toGo, index, 0))
        << "leg 2 ends beyond the to distance";

    plan.legs[2].vnav.hasAltitude = false;
    plan.legs[3].vnav.predictedAltitude = 4799;
    EXPECT_FALSE(plan.findConstraintInRange(0.0, 100.0, toGo, index, 0))
        << "at or below, passed by more than 200 ft";
    EXPECT_EQ(index, 0u);
    plan.legs[3].vnav.predictedAltitude = 4800;
    EXPECT_TRUE(plan.findConstraintInRange(15.0, 100.0, toGo, index, 0));
    EXPECT_EQ(index, 3u);
}

TEST(FlightPlanTest, NextAltitudeConstraintSkipsAtOrBelowAlreadyMet) {
    FlightPlan plan = planFrom("P Q R");
    plan.activeLeg = 1;
    EXPECT_EQ(plan.nextAltitudeConstraintLeg(5000.0f), 1u) << "none: the active index";
    giveAltitude(plan.legs[1], 6000, kPhaseDescent, kAltitudeAtOrBelow);
    giveAltitude(plan.legs[2], 4000, kPhaseDescent);
    EXPECT_EQ(plan.nextAltitudeConstraintLeg(6000.0f), 2u);
    EXPECT_EQ(plan.nextAltitudeConstraintLeg(6000.5f), 1u);
}

TEST(FlightPlanTest, DepartureEndIsPastTheLastSidLeg) {
    FlightPlan plan = planFrom("A:2 B:2 C D:2 E");
    EXPECT_EQ(plan.departureEnd(), 4u);
    plan.activeLeg = 4;
    EXPECT_EQ(plan.departureEnd(), 4u) << "none from the active leg on";
}

TEST(FlightPlanTest, CopyLastLegAndPilotWaypointUse) {
    FlightPlan plan = planFrom("P Q");
    FlightPlanLeg last;
    ASSERT_TRUE(plan.copyLastLeg(last));
    EXPECT_EQ(last.wpt.ident, "Q");
    EXPECT_FALSE(FlightPlan().copyLastLeg(last));

    EXPECT_FALSE(plan.containsWaypoint("Q")) << "only pilot waypoints are compared";
    plan.legs[1].wpt.kind = WaypointKind::PilotWaypoint;
    EXPECT_TRUE(plan.containsWaypoint("Q"));
    plan.dest.kind = WaypointKind::PilotWaypoint;
    EXPECT_TRUE(plan.containsWaypoint("KZZZ"));
    EXPECT_FALSE(plan.containsWaypoint("KAAA"));
}

TEST(FlightPlanTest, CopyIsIndependent) {
    FlightPlan plan = planFrom("P Q");
    plan.setName("TEST");
    FlightPlan copy = plan;
    copy.legs[0].wpt.ident = "X";
    copy.setName("OTHER");
    EXPECT_EQ(plan.legs[0].wpt.ident, "P");
    EXPECT_EQ(plan.name(), "TEST");
    EXPECT_EQ(copy.legCount(), 2u);
}

} // namespace
} // namespace tavi::test
