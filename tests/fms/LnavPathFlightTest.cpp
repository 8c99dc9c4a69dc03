#include "core/Angles.h"
#include "fms/Lnav.h"
#include "navdata/GcNav.h"
#include "navdata/RhumbNav.h"
#include "tests/fms/FlightPlanTestSupport.h"
#include "tests/support/PathFollowingAircraft.h"

#include <algorithm>
#include <cmath>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace tavi {
namespace {

using test::FakeFlightPlanContext;

// Each fix sequenced, and how far from it the aircraft was then.
class PassedFixes final : public LnavHost {
public:
    explicit PassedFixes(const test::PathFollowingAircraft& aircraft) : aircraft(aircraft) {}
    void showMessage(const std::string&, int) override {}
    bool lnavEngaged() const override { return true; }
    void cancelLateralMode() override {}
    void legSequenced(const Waypoint& passed) override {
        idents.push_back(passed.ident);
        distances.push_back(GcNav::distanceBetween(aircraft.latitude, aircraft.longitude,
                                                   passed.latitude, passed.longitude));
    }
    void updateLegEtas() override {}
    void checkBaroSet() override {}

    const test::PathFollowingAircraft& aircraft;
    std::vector<std::string> idents;
    std::vector<double> distances;
};

Waypoint fixOnCourse(const std::string& ident, const Waypoint& from, double course,
                     double distance) {
    Waypoint point = test::fix(ident);
    GcNav(from.latitude, from.longitude)
        .destination(course, distance, point.latitude, point.longitude);
    return point;
}

// A route from an origin through fixes laid out as (course, distance) steps.
struct RouteStep {
    double course;
    double distance;
};

FlightPlan routeOf(double latitude, double longitude, const std::vector<RouteStep>& steps) {
    FlightPlan plan;
    plan.org = test::airport("KAAA", latitude, longitude);
    plan.dest = test::airport("KZZZ", latitude + 5.0, longitude + 5.0);
    Waypoint from = plan.org;
    for (std::size_t i = 0; i < steps.size(); ++i) {
        FlightPlanLeg leg;
        leg.wpt =
            fixOnCourse("P" + std::to_string(i + 1), from, steps[i].course, steps[i].distance);
        from = leg.wpt;
        plan.legs.push_back(leg);
    }
    return plan;
}

// A left-hand RF leg to `fix` on the arc of `radius` nm around `navaid`, and a leg 20 nm north
// from its fix.
void appendLeftArcThenNorth(FlightPlan& plan, const Waypoint& fix, const Waypoint& navaid,
                            float radius) {
    FlightPlanLeg arc;
    arc.wpt = fix;
    arc.trmLeg.legType = TerminalLegType::RF;
    arc.trmLeg.turnDirection = kTurnLeft;
    arc.trmLeg.navaidLatitude = navaid.latitude;
    arc.trmLeg.navaidLongitude = navaid.longitude;
    arc.trmLeg.navaidDistance = radius;
    FlightPlanLeg after;
    after.wpt = fixOnCourse("P3", fix, 0.0, 20.0);
    plan.legs.push_back(arc);
    plan.legs.push_back(after);
}

std::vector<std::string> identsOf(const FlightPlan& plan) {
    std::vector<std::string> idents;
    for (const FlightPlanLeg& leg : plan.legs) {
        idents.push_back(leg.wpt.ident);
    }
    return idents;
}

struct FlightRecord {
    std::vector<std::string> passed;
    // Nautical miles from each passed fix when it was sequenced.
    std::vector<double> sequencedAt;
    // Nautical miles: the largest cross-track error while a straight piece was flown, and
    // while any piece was.
    double worstStraightCrossTrack = 0.0;
    double worstCrossTrack = 0.0;
};

// Flies the recalculated plan with the aircraft until the last leg is sequenced or the time
// runs out.
FlightRecord flyFrom(test::PathFollowingAircraft& aircraft, FlightPlan& plan,
                     FakeFlightPlanContext& context) {
    const double groundSpeed = aircraft.groundSpeed;
    context.inAir = true;
    plan.recalculate(context);
    PassedFixes host(aircraft);
    Lnav lnav;
    LnavInputs in;
    in.navigationReady = true;
    in.airborne = true;
    FlightRecord record;
    for (int second = 0; second < 3 * 3600 && plan.activeLeg < plan.legCount(); ++second) {
        in.latitude = aircraft.latitude;
        in.longitude = aircraft.longitude;
        in.trueTrack = static_cast<float>(aircraft.track);
        in.heading = in.trueTrack;
        in.groundSpeed = static_cast<float>(groundSpeed);
        const std::size_t active = plan.activeLeg;
        const FlightPlanLeg& leg = plan.legs[active];
        const bool straight = leg.segmentIndex < leg.path.size() &&
                              leg.path[leg.segmentIndex].turnDirection == kSegmentStraight;
        lnav.update(plan, in, context, host);
        if (plan.activeLeg == active && lnav.state.pathValid) {
            record.worstCrossTrack =
                std::max(record.worstCrossTrack, std::fabs(lnav.state.crossTrackError));
        }
        if (straight && plan.activeLeg == active && !lnav.state.arcSteering) {
            record.worstStraightCrossTrack =
                std::max(record.worstStraightCrossTrack, std::fabs(lnav.state.crossTrackError));
        }
        aircraft.step(lnav.state, 1.0);
    }
    record.passed = host.idents;
    record.sequencedAt = host.distances;
    return record;
}

// From the plan's origin on the first leg's course.
FlightRecord fly(FlightPlan& plan, FakeFlightPlanContext& context, double groundSpeed) {
    plan.recalculate(context);
    test::PathFollowingAircraft aircraft(plan.org.latitude, plan.org.longitude,
                                         plan.legs.front().course, groundSpeed);
    return flyFrom(aircraft, plan, context);
}

struct PathFlightCase {
    const char* name;
    double latitude;
    double longitude;
    std::vector<RouteStep> steps;
};

class LnavPathFlightTest : public ::testing::TestWithParam<PathFlightCase> {};

TEST_P(LnavPathFlightTest, StaysOnTheStraightPiecesAndSequencesEveryFixInOrder) {
    const PathFlightCase& c = GetParam();
    FlightPlan plan = routeOf(c.latitude, c.longitude, c.steps);
    FakeFlightPlanContext context;
    const FlightRecord record = fly(plan, context, 250.0);
    EXPECT_EQ(record.passed, identsOf(plan)) << c.name;
    EXPECT_LT(record.worstStraightCrossTrack, 0.3) << c.name;
}

INSTANTIATE_TEST_SUITE_P(
    Paths, LnavPathFlightTest,
    ::testing::Values(
        PathFlightCase{"ordinary turns", 0.0, 0.0, {{90, 30}, {0, 30}, {60, 30}, {90, 20}}},
        PathFlightCase{"long leg far north", 70.0, 0.0, {{80, 60}, {170, 30}, {170, 10}}}),
    [](const auto& info) {
        std::string name = info.param.name;
        std::replace(name.begin(), name.end(), ' ', '_');
        name.erase(std::remove(name.begin(), name.end(), '-'), name.end());
        return name;
    });

// A reversal has no fly-by: its fix is flown over, not left miles before it for a lead of
// r*tan(75).
TEST(LnavReversalFlightTest, ReversalIsSequencedAtItsFix) {
    FlightPlan plan = routeOf(0.0, 0.0, {{90, 30}, {250, 30}, {250, 10}});
    FakeFlightPlanContext context;
    const FlightRecord record = fly(plan, context, 250.0);
    ASSERT_EQ(record.passed, identsOf(plan));
    EXPECT_LT(record.sequencedAt[0], 0.3);
}

// An RF leg entered on its tangent at the end of a straight leg whose last piece is longer than
// the arc's chord, then a leg straight on from the arc's end.
TEST(LnavArcFlightTest, ArcEnteredOnItsTangentIsFlownToItsEnd) {
    FlightPlan plan = routeOf(0.0, 0.0, {{90, 30}});
    const Waypoint p1 = plan.legs[0].wpt;
    const Waypoint navaid = fixOnCourse("N", p1, 0.0, 10.0);
    appendLeftArcThenNorth(plan, fixOnCourse("P2", navaid, 90.0, 10.0), navaid, 10.0f);
    FakeFlightPlanContext context;
    const FlightRecord record = fly(plan, context, 250.0);
    ASSERT_EQ(record.passed, identsOf(plan));
    EXPECT_LT(record.sequencedAt[1], 0.5) << "the arc is flown to its fix";
    EXPECT_LT(record.worstStraightCrossTrack, 0.3);
}

// A fly-by turn onto an RF leg whose tangent lies 30 degrees off the inbound course, to either
// side: the turn ends on the arc, which is flown to its fix.
TEST(LnavArcFlightTest, ArcEnteredOffItsTangentIsFlownWithoutLeavingThePath) {
    for (const double offTangent : {-30.0, 30.0}) {
        FlightPlan plan = routeOf(0.0, 0.0, {{90, 30}});
        const Waypoint p1 = plan.legs[0].wpt;
        const Waypoint navaid = fixOnCourse("N", p1, normalize360(offTangent), 6.0);
        const double fixBearing =
            GcNav::courseBetween(navaid.latitude, navaid.longitude, p1.latitude, p1.longitude);
        appendLeftArcThenNorth(
            plan, fixOnCourse("P2", navaid, normalize360(fixBearing - 90.0), 6.0), navaid, 6.0f);
        FakeFlightPlanContext context;
        const FlightRecord record = fly(plan, context, 250.0);
        ASSERT_EQ(record.passed, identsOf(plan)) << offTangent;
        EXPECT_LT(record.sequencedAt[1], 0.5) << offTangent << ": the arc is flown to its fix";
        EXPECT_LT(record.worstStraightCrossTrack, 0.3) << offTangent;
        EXPECT_LT(record.worstCrossTrack, 0.3) << offTangent << ": on the turn and the arc too";
    }
}

// The intercept's along-track runs from a start far behind the fix: only the leg's own progress
// along that line ends it. Near the pole the line keeps its course and sides.
TEST(LnavInterceptFlightTest, InterceptIsSequencedAtItsFix) {
    for (const double latitude : {0.0, 86.0}) {
        FlightPlan plan = routeOf(latitude, 0.0, {{90, 20}, {90, 30}});
        const Waypoint& p1 = plan.legs[0].wpt;
        RhumbNav(p1.latitude, p1.longitude)
            .destination(270.0, 20.0, plan.org.latitude, plan.org.longitude);
        FakeFlightPlanContext context;
        context.latitude = plan.org.latitude;
        context.longitude = plan.org.longitude;
        plan.legs[0].setInterceptCourse(90.0, context);
        const FlightRecord record = fly(plan, context, 250.0);
        ASSERT_EQ(record.passed, identsOf(plan)) << latitude;
        EXPECT_LT(record.sequencedAt[0], 2.0) << latitude << ": no earlier than the turn's lead";
        EXPECT_LT(record.worstStraightCrossTrack, 0.3) << latitude;
    }
}

// The route leaves the north pole down meridian 30E; the aircraft starts 2 nm down meridian 25E,
// 0.17 nm right of it, heading south: the first piece, which starts on the pole, steers it onto
// the path.
TEST(LnavPoleFlightTest, PieceStartingOnThePoleGivesCrossTrackGuidance) {
    FlightPlan plan;
    plan.org = test::airport("NPOL", 90.0, 0.0);
    plan.dest = test::airport("KZZZ", 80.0, 30.0);
    for (const double latitude : {89.6, 89.2}) {
        FlightPlanLeg leg;
        leg.wpt = test::fix(latitude > 89.4 ? "P1" : "P2");
        leg.wpt.latitude = latitude;
        leg.wpt.longitude = 30.0;
        plan.legs.push_back(leg);
    }
    FakeFlightPlanContext context;
    test::PathFollowingAircraft aircraft(90.0 - 2.0 / 60.0, 25.0, 180.0, 250.0);
    const FlightRecord record = flyFrom(aircraft, plan, context);
    ASSERT_EQ(record.passed, identsOf(plan));
    EXPECT_LT(record.sequencedAt[0], 0.3);
    EXPECT_LT(record.worstStraightCrossTrack, 0.3);
}

} // namespace
} // namespace tavi
