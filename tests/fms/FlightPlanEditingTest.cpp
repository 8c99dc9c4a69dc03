#include "FlightPlanTestSupport.h"
#include "fms/FlightPlan.h"
#include "navdata/GcNav.h"

#include <gtest/gtest.h>

namespace tavi::test {
namespace {

struct InsertCase {
    const char* name;
    const char* route;
    const char* ident;
    std::size_t index;
    bool withDiscontinuity;
    bool accepted;
    const char* result;
};

class InsertWaypointTest : public testing::TestWithParam<InsertCase> {};

TEST_P(InsertWaypointTest, EditsTheRoute) {
    const InsertCase& c = GetParam();
    FakeFlightPlanContext context;
    FlightPlan plan = planFrom(c.route);
    EXPECT_EQ(plan.insertWaypoint(fix(c.ident), c.index, c.withDiscontinuity, context), c.accepted);
    EXPECT_EQ(routeOf(plan), c.result);
}

INSTANTIATE_TEST_SUITE_P(
    Routes, InsertWaypointTest,
    testing::Values(InsertCase{"IntoEmptyPlan", "", "X", 0, true, true, "X"},
                    InsertCase{"Between", "P Q", "X", 1, false, true, "P X Q"},
                    InsertCase{"BetweenWithBreak", "P Q", "X", 1, true, true, "P X / Q"},
                    InsertCase{"AppendedGetsNoBreak", "P Q", "X", 2, true, true, "P Q X"},
                    InsertCase{"LaterCopyGoesStraightThere", "P Q R", "R", 1, true, true, "P R"},
                    InsertCase{"NextToACopyIsRefused", "P Q", "P", 1, false, false, "P Q"},
                    InsertCase{"BeforeACopyIsRefused", "P Q", "P", 0, false, false, "P Q"},
                    InsertCase{"AppendedCopyTidiesTheEarlierOne", "Q P", "P", 2, false, true,
                               "Q P"},
                    InsertCase{"PastTheEndIsRefused", "P Q", "X", 3, false, false, "P Q"}),
    [](const testing::TestParamInfo<InsertCase>& info) { return std::string(info.param.name); });

TEST(FlightPlanEditingTest, AppendedCopyLeavesTheLaterLeg) {
    FakeFlightPlanContext context;
    FlightPlan plan = planFrom("Q P");
    plan.legs[1].via = "EARLIER";
    ASSERT_TRUE(plan.insertWaypoint(fix("P"), 2, false, context));
    ASSERT_EQ(plan.legCount(), 2u);
    EXPECT_EQ(plan.legs[1].via, "") << "the earlier P went";
}

TEST(FlightPlanEditingTest, InsertedLegTakesTheProcedureAround) {
    FakeFlightPlanContext context;
    FlightPlan plan = planFrom("A:1 B:3 C:2");
    ASSERT_TRUE(plan.insertWaypoint(fix("X"), 1, false, context));
    EXPECT_EQ(plan.legs[1].proc(), kProcStar);
    ASSERT_TRUE(plan.insertWaypoint(fix("Y"), 3, false, context));
    EXPECT_EQ(plan.legs[3].proc(), kProcApproach);

    plan = planFrom("A:2 B");
    ASSERT_TRUE(plan.insertWaypoint(fix("X"), 0, false, context));
    EXPECT_EQ(plan.legs[0].proc(), kProcSid);
    ASSERT_TRUE(plan.insertWaypoint(fix("Y"), 3, false, context));
    EXPECT_EQ(plan.legs[3].proc(), kProcRoute);
}

TEST(FlightPlanEditingTest, AirwayPointsComeWithTheirViaAndABreak) {
    FakeFlightPlanContext context;
    FlightPlan plan = planFrom("P:1 Z:1");
    ASSERT_TRUE(plan.insertWaypoints(1, "UL9", {fix("X"), fix("Y")}, context));
    EXPECT_EQ(routeOf(plan), "P X Y / Z");
    EXPECT_EQ(plan.legs[1].via, "UL9");
    EXPECT_EQ(plan.legs[2].via, "UL9");
    EXPECT_EQ(plan.legs[1].proc(), kProcStar) << "the kind of the leg that was at the index";
    EXPECT_FALSE(plan.insertWaypoints(6, "UL9", {fix("X")}, context));
}

struct TidyCase {
    const char* name;
    const char* route;
    const char* result;
};

class TidyRulesTest : public testing::TestWithParam<TidyCase> {};

TEST_P(TidyRulesTest, RemovesOneRedundancyPerRule) {
    const TidyCase& c = GetParam();
    FakeFlightPlanContext context;
    FlightPlan plan = planFrom(c.route);
    plan.removeRedundantLegs(context);
    EXPECT_EQ(routeOf(plan), c.result);
}

INSTANTIATE_TEST_SUITE_P(Routes, TidyRulesTest,
                         testing::Values(TidyCase{"Clean", "P Q R", "P Q R"},
                                         TidyCase{"SameFixTwice", "P P Q", "P Q"},
                                         TidyCase{"OneRepeatPerCall", "P P Q Q", "P Q Q"},
                                         TidyCase{"BackOverABreak", "P / P", "P"},
                                         TidyCase{"BackOverAHeadingLeg", "P FM P", "P"},
                                         TidyCase{"BackOverAFixIsKept", "P Q P", "P Q P"},
                                         TidyCase{"TrailingBreak", "P Q /", "P Q"},
                                         TidyCase{"TwoBreaks", "P / / Q", "P / Q"}),
                         [](const testing::TestParamInfo<TidyCase>& info) {
                             return std::string(info.param.name);
                         });

TEST(FlightPlanEditingTest, LockedPlanIsNotTidied) {
    FakeFlightPlanContext context;
    FlightPlan plan = planFrom("P P /");
    plan.locked = true;
    plan.removeRedundantLegs(context);
    EXPECT_EQ(routeOf(plan), "P P /");
}

TEST(FlightPlanEditingTest, DeleteLegTidiesTheRest) {
    FakeFlightPlanContext context;
    FlightPlan plan = planFrom("P Q P R");
    EXPECT_FALSE(plan.deleteLeg(4, context));
    ASSERT_TRUE(plan.deleteLeg(1, context));
    EXPECT_EQ(routeOf(plan), "P R");
}

TEST(FlightPlanEditingTest, BreakAppendedAtTheEndGoesAtTheNextTidy) {
    FakeFlightPlanContext context;
    FlightPlan plan = planFrom("P Q");
    ASSERT_TRUE(plan.insertDiscontinuity(2, false, context));
    EXPECT_EQ(routeOf(plan), "P Q /");
    plan.removeRedundantLegs(context);
    EXPECT_EQ(routeOf(plan), "P Q");
    EXPECT_FALSE(plan.insertDiscontinuity(3, true, context));
}

TEST(FlightPlanEditingTest, ActiveLegStaysOnItsLegWhenFlownLegsGo) {
    FakeFlightPlanContext context;
    FlightPlan plan = planFrom("P P Q R");
    plan.activeLeg = 3;
    plan.removeRedundantLegs(context);
    EXPECT_EQ(routeOf(plan), "P Q R");
    EXPECT_EQ(plan.activeLeg, 2u);
    EXPECT_EQ(plan.legs[plan.activeLeg].wpt.ident, "R");

    ASSERT_TRUE(plan.insertWaypoint(fix("X"), 1, false, context));
    EXPECT_EQ(plan.legs[plan.activeLeg].wpt.ident, "R");
}

class DirectToTest : public testing::Test {
protected:
    DirectToTest() {
        context.latitude = 0.5;
        context.longitude = 0.7;
        context.variation = 3.0f;
        context.altitudeFt = 8123.6f;
        context.timeMs = 4242;
    }

    void expectDirectStart(const FlightPlan& plan) const {
        const FlightPlanLeg& active = plan.legs[plan.activeLeg];
        EXPECT_EQ(active.src.ident, "DIRECT");
        EXPECT_EQ(active.src.kind, WaypointKind::DatabaseWaypoint);
        EXPECT_EQ(active.src.latitude, 0.5);
        EXPECT_EQ(active.src.longitude, 0.7);
        EXPECT_EQ(active.src.variation, 3.0);
        EXPECT_EQ(active.src.elevation, 8123);
        EXPECT_EQ(active.startKind, kStartDirectTo);
        EXPECT_EQ(active.legType(), TerminalLegType::TF);
        EXPECT_EQ(active.holding.enteredTime, 4242u);
    }

    FakeFlightPlanContext context;
};

TEST_F(DirectToTest, ToAFixAheadDropsTheLegsBeforeIt) {
    FlightPlan plan = planFrom("P Q R S");
    plan.activeLeg = 1;
    plan.orbit.active = true;
    plan.orbit.entered = true;
    plan.pcdrTurn.active = 1;
    plan.pcdrTurn.passed = 1;
    ASSERT_TRUE(plan.directTo(fix("S"), context));
    EXPECT_EQ(routeOf(plan), "P S");
    EXPECT_EQ(plan.activeLeg, 1u);
    expectDirectStart(plan);
    EXPECT_FALSE(plan.orbit.active);
    EXPECT_FALSE(plan.orbit.entered);
    EXPECT_EQ(plan.pcdrTurn.active, 0);
    EXPECT_EQ(plan.pcdrTurn.passed, 0);
}

TEST_F(DirectToTest, ToAFixOutsideThePlanInsertsItWithABreak) {
    FlightPlan plan = planFrom("P Q R");
    plan.activeLeg = 1;
    ASSERT_TRUE(plan.directTo(fix("X"), context));
    EXPECT_EQ(routeOf(plan), "P X / Q R");
    EXPECT_EQ(plan.activeLeg, 1u);
    expectDirectStart(plan);
}

TEST_F(DirectToTest, RefusedWithoutLegsOrToALegThatIsNoFixLeg) {
    FlightPlan empty = planFrom("");
    EXPECT_FALSE(empty.directTo(fix("X"), context));

    FlightPlan plan = planFrom("P Q R");
    plan.legs[2].manualTermination = true;
    EXPECT_FALSE(plan.directTo(fix("R"), context));
    EXPECT_EQ(routeOf(plan), "P Q R");
}

TEST_F(DirectToTest, AFixAlreadyFlownIsNotSearched) {
    FlightPlan plan = planFrom("P Q R");
    plan.activeLeg = 2;
    EXPECT_FALSE(plan.directTo(fix("Q"), context)) << "next to its copy before the active leg";
    EXPECT_EQ(routeOf(plan), "P Q R");
}

TEST(FlightPlanEditingTest, OriginRunwayStartsAtTheFarEnd) {
    FakeFlightPlanContext context;
    FlightPlan plan;
    Runway runway;
    runway.ident = "RW09";
    runway.aptIdent = "KAAA";
    runway.latitude = 10.0;
    runway.longitude = 20.0;
    runway.trueHeading = 90.0f;
    runway.length = 12146;
    plan.setOriginRunway(runway, context);
    EXPECT_EQ(plan.orgRwy.length, 12146);
    EXPECT_EQ(plan.org.ident, "RW09");
    EXPECT_EQ(plan.org.kind, WaypointKind::Runway);
    EXPECT_NEAR(GcNav::distanceBetween(10.0, 20.0, plan.org.latitude, plan.org.longitude),
                12146 * 0.305 / 1852.0, 1e-9);
    EXPECT_NEAR(GcNav::courseBetween(10.0, 20.0, plan.org.latitude, plan.org.longitude), 90.0,
                1e-3);

    plan.setDestinationRunway(runway, context);
    EXPECT_EQ(plan.dest.latitude, 10.0) << "the destination is the threshold itself";
    EXPECT_EQ(plan.destRwy.ident, "RW09");
}

struct ProcedureEditCase {
    const char* name;
    const char* route;
    uint32_t activeLeg;
    bool airborne;
    const char* result;
};

class RemoveDepartureTest : public testing::TestWithParam<ProcedureEditCase> {};

TEST_P(RemoveDepartureTest, RemovesTheSidLegs) {
    const ProcedureEditCase& c = GetParam();
    FakeFlightPlanContext context;
    context.inAir = c.airborne;
    FlightPlan plan = planFrom(c.route);
    plan.activeLeg = c.activeLeg;
    plan.removeDeparture(context);
    EXPECT_EQ(routeOf(plan), c.result);
}

INSTANTIATE_TEST_SUITE_P(
    Routes, RemoveDepartureTest,
    testing::Values(ProcedureEditCase{"OnTheGround", "A:2 B:2 C D", 0, false, "C D"},
                    ProcedureEditCase{"AirborneKeepsTheActiveLeg", "A:2 B:2 C:2 D E", 0, true,
                                      "A / D E"},
                    ProcedureEditCase{"AirborneOnTheLastSidLeg", "A:2 B:2 C D", 1, true, "A B C D"},
                    ProcedureEditCase{"AirbornePastTheSid", "A:2 B C D", 2, true, "A B C / D"}),
    [](const testing::TestParamInfo<ProcedureEditCase>& info) {
        return std::string(info.param.name);
    });

TEST(FlightPlanEditingTest, BreakLeftByTheDepartureIsASidLeg) {
    FakeFlightPlanContext context;
    context.inAir = true;
    FlightPlan plan = planFrom("A:2 B:2 C:2 D E");
    plan.removeDeparture(context);
    EXPECT_EQ(plan.legs[1].proc(), kProcSid);
}

TEST(FlightPlanEditingTest, RemoveStarLegsErasesFromTheFirstToTheLastStarLeg) {
    FakeFlightPlanContext context;
    FlightPlan plan = planFrom("P Q:1 R:1 S:3 T:1 U");
    EXPECT_EQ(plan.removeStarLegs(context), 1u);
    EXPECT_EQ(routeOf(plan), "P U");
}

TEST(FlightPlanEditingTest, RemoveStarLegsStopsAtTheFirstArrivalLegBeforeAnyStar) {
    FakeFlightPlanContext context;
    FlightPlan plan = planFrom("P Q S:3 T:1");
    EXPECT_EQ(plan.removeStarLegs(context), 2u);
    EXPECT_EQ(routeOf(plan), "P Q T");

    plan = planFrom("P Q");
    plan.legs[1].via = "MISSED APPRCH";
    EXPECT_EQ(plan.removeStarLegs(context), 1u);
    EXPECT_EQ(routeOf(plan), "P");

    plan = planFrom("P Q");
    EXPECT_EQ(plan.removeStarLegs(context), 2u) << "nothing to remove";
    EXPECT_EQ(routeOf(plan), "P Q");
}

TEST(FlightPlanEditingTest, RemoveStarLegsInTheAirSkipsTheActiveLeg) {
    FakeFlightPlanContext context;
    context.inAir = true;
    FlightPlan plan = planFrom("P:1 Q:1 R");
    EXPECT_EQ(plan.removeStarLegs(context), 1u);
    EXPECT_EQ(routeOf(plan), "P R");
}

TEST(FlightPlanEditingTest, RouteLegsWithoutAirportAreNoArrivalLegs) {
    FakeFlightPlanContext context;
    FlightPlan plan = planFrom("P Q R:1");
    plan.dest = fix("Z");
    EXPECT_EQ(plan.removeStarLegs(context), 2u);
    EXPECT_EQ(routeOf(plan), "P Q");
}

TEST(FlightPlanEditingTest, RemoveApproachLegsErasesEveryArrivalLeg) {
    FakeFlightPlanContext context;
    FlightPlan plan = planFrom("P Q:1 S:4 T:3 U:5 V");
    Waypoint runway = fix("RW27");
    runway.kind = WaypointKind::Runway;
    plan.legs[5].wpt = runway;
    EXPECT_EQ(plan.removeApproachLegs(context), 2u);
    EXPECT_EQ(routeOf(plan), "P Q");
    EXPECT_EQ(plan.removeApproachLegs(context), 2u) << "none left";
}

// The procedure's copy of a fix lies a little off the route's, so the tidy rules leave the pair.
FlightPlan planWithRepeatedB(const char* route) {
    FlightPlan plan = planFrom(route);
    plan.legs[3].wpt.latitude += 0.001;
    return plan;
}

TEST(FlightPlanEditingTest, TidyAloneJoinsCopiesAtTheSamePlace) {
    FakeFlightPlanContext context;
    FlightPlan plan = planFrom("A:2 B:2 / B C");
    plan.joinDepartureToRoute(context);
    EXPECT_EQ(routeOf(plan), "A B C");
    EXPECT_EQ(plan.legs[1].proc(), kProcRoute) << "the later copy stays";
}

TEST(FlightPlanEditingTest, JoinsAProcedureToTheRouteOverTheRepeatedFix) {
    FakeFlightPlanContext context;
    FlightPlan plan = planWithRepeatedB("A:2 B:2 / B C");
    plan.joinDepartureToRoute(context);
    EXPECT_EQ(routeOf(plan), "A B C");
    EXPECT_EQ(plan.legs[1].proc(), kProcSid) << "the SID's copy stays";

    plan = planWithRepeatedB("A B / B:1 C:1");
    plan.joinRouteToArrival(context);
    EXPECT_EQ(routeOf(plan), "A B C");
    EXPECT_EQ(plan.legs[1].proc(), kProcStar) << "the STAR's copy stays";

    plan = planWithRepeatedB("A:2 B:2 / B:2 C");
    plan.joinDepartureToRoute(context);
    EXPECT_EQ(routeOf(plan), "A B / B C") << "two SID legs are not joined";

    plan = planWithRepeatedB("A:2 B:2 / B C");
    plan.activeLeg = 2;
    plan.joinDepartureToRoute(context);
    EXPECT_EQ(routeOf(plan), "A B / B C") << "only breaks after the active leg";
}

TEST(FlightPlanEditingTest, ClearKeepsTheFuelUsedAndRunways) {
    FakeFlightPlanContext context;
    FlightPlan plan = planFrom("P Q");
    plan.setName("TEST");
    plan.activeLeg = 1;
    plan.distanceFlown = 33.0;
    plan.fuelUsed = 400.0f;
    plan.takeoffEndFuel = 900.0f;
    plan.predictedEndFuel = 800.0f;
    plan.destRwy.ident = "RW27";
    plan.clear(context);
    EXPECT_EQ(plan.legCount(), 0u);
    EXPECT_EQ(plan.org.kind, WaypointKind::Plain);
    EXPECT_EQ(plan.dest.kind, WaypointKind::Plain);
    EXPECT_EQ(plan.name(), "");
    EXPECT_EQ(plan.gspd, 250u);
    EXPECT_EQ(plan.activeLeg, 0u);
    EXPECT_EQ(plan.distanceFlown, 0.0);
    EXPECT_EQ(plan.takeoffEndFuel, 0.0f);
    EXPECT_EQ(plan.predictedEndFuel, 0.0f);
    EXPECT_EQ(plan.fuelUsed, 400.0f);
    EXPECT_EQ(plan.destRwy.ident, "RW27");
}

} // namespace
} // namespace tavi::test
