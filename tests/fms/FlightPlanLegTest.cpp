#include "fms/FlightPlanLeg.h"

#include "FlightPlanTestSupport.h"
#include "navdata/GcNav.h"
#include "navdata/RhumbNav.h"

#include <cmath>
#include <gtest/gtest.h>

namespace tavi::test {
namespace {

TEST(FlightPlanLegTest, FreshLegIsAnEmptyTfLeg) {
    const FlightPlanLeg leg;
    EXPECT_EQ(leg.legType(), TerminalLegType::TF);
    EXPECT_FALSE(leg.isFixLeg());
    EXPECT_FALSE(leg.hasNamedFix());
    EXPECT_FALSE(leg.isDiscontinuity());
    EXPECT_EQ(leg.speed, 250.0);
    EXPECT_EQ(leg.eta, -1.0);
    EXPECT_EQ(leg.temperature, -100);
    EXPECT_EQ(leg.temperatureAltitude, -1);
    EXPECT_EQ(leg.windDirection, -1);
    EXPECT_EQ(leg.windSpeed, -1);
    EXPECT_EQ(leg.holding.defaultSpeed, 220u);
    EXPECT_EQ(leg.pcdrTurn.turnAngle, 45);
}

TEST(FlightPlanLegTest, DiscontinuityDropsTheConstraintsAndStaysADsLeg) {
    FlightPlanLeg leg = legFromWord("P");
    leg.vnav.hasAltitude = true;
    leg.vnav.altitude = 5000;
    leg.vnav.kind = kAltitudeAt;
    leg.setDiscontinuity(true);
    EXPECT_FALSE(leg.vnav.hasAltitude);
    EXPECT_EQ(leg.vnav.altitude, 0);
    EXPECT_EQ(leg.legType(), TerminalLegType::DS);
    leg.setDiscontinuity(false);
    EXPECT_FALSE(leg.discontinuity);
    EXPECT_TRUE(leg.isDiscontinuity()) << "clearing the flag leaves the DS type";
}

struct PredicateCase {
    const char* name;
    TerminalLegType type;
    const char* ident;
    bool manual;
    bool holdActive;
    bool turnActive;
    bool fixLeg;
    bool namedFix;
    bool manualEnd;
    bool holdLeg;
    bool turnLeg;
    bool arcLeg;
};

class LegPredicateTest : public testing::TestWithParam<PredicateCase> {};

TEST_P(LegPredicateTest, ClassifiesTheLeg) {
    const PredicateCase& c = GetParam();
    FlightPlanLeg leg;
    leg.trmLeg.legType = c.type;
    if (*c.ident) {
        leg.wpt = fix("P");
        leg.wpt.ident = c.ident;
    }
    leg.manualTermination = c.manual;
    leg.holding.active = c.holdActive;
    leg.pcdrTurn.active = c.turnActive;
    EXPECT_EQ(leg.isFixLeg(), c.fixLeg);
    EXPECT_EQ(leg.hasNamedFix(), c.namedFix);
    EXPECT_EQ(leg.isManualTermination(), c.manualEnd);
    EXPECT_EQ(leg.isHoldLeg(), c.holdLeg);
    EXPECT_EQ(leg.isProcedureTurnLeg(), c.turnLeg);
    EXPECT_EQ(leg.isArcLeg(), c.arcLeg);
}

using T = TerminalLegType;
INSTANTIATE_TEST_SUITE_P(
    Legs, LegPredicateTest,
    testing::Values(
        // name, type, ident, manual, hold, turn -> fix, named, manual end, hold, turn, arc
        PredicateCase{"TfToFix", T::TF, "P", false, false, false, true, true, false, false, false,
                      false},
        PredicateCase{"NoFix", T::TF, "", false, false, false, false, false, false, false, false,
                      false},
        PredicateCase{"FmWithFix", T::FM, "P", false, false, false, false, true, true, false, false,
                      false},
        PredicateCase{"VmWithFix", T::VM, "P", false, false, false, false, true, true, false, false,
                      false},
        PredicateCase{"ManualFlag", T::TF, "P", true, false, false, false, true, true, false, false,
                      false},
        PredicateCase{"BracketedFix", T::CA, "(5000)", false, false, false, true, false, false,
                      false, false, false},
        PredicateCase{"Ds", T::DS, "P", false, false, false, false, false, false, false, false,
                      false},
        PredicateCase{"Hf", T::HF, "P", false, false, false, true, true, false, true, false, false},
        PredicateCase{"ActiveHold", T::TF, "P", false, true, false, true, true, false, true, false,
                      false},
        PredicateCase{"Pi", T::PI, "P", false, false, false, true, true, false, false, true, false},
        PredicateCase{"ActiveTurn", T::TF, "P", false, false, true, true, true, false, false, true,
                      false},
        PredicateCase{"Af", T::AF, "P", false, false, false, true, true, false, false, false, true},
        PredicateCase{"Rf", T::RF, "P", false, false, false, true, true, false, false, false,
                      true}),
    [](const testing::TestParamInfo<PredicateCase>& info) { return std::string(info.param.name); });

struct SameFixCase {
    const char* name;
    FlightPlanLeg first;
    FlightPlanLeg second;
    bool same;
};

FlightPlanLeg holdAt(const std::string& word) {
    FlightPlanLeg leg = legFromWord(word);
    leg.trmLeg.legType = TerminalLegType::HM;
    return leg;
}

class SameFixTest : public testing::TestWithParam<SameFixCase> {};

TEST_P(SameFixTest, ComparesTheFixes) {
    const SameFixCase& c = GetParam();
    EXPECT_EQ(c.first.sameFixAs(c.second), c.same);
}

INSTANTIATE_TEST_SUITE_P(
    Legs, SameFixTest,
    testing::Values(SameFixCase{"TwoBreaks", legFromWord("/"), legFromWord("/"), true},
                    SameFixCase{"NoFixes", FlightPlanLeg(), FlightPlanLeg(), true},
                    SameFixCase{"OneBreak", legFromWord("P"), legFromWord("/"), false},
                    SameFixCase{"SameFix", legFromWord("P"), legFromWord("P"), true},
                    SameFixCase{"OtherFix", legFromWord("P"), legFromWord("Q"), false},
                    SameFixCase{"OtherFixSamePlace", legFromWord("X@P"), legFromWord("P"), true},
                    SameFixCase{"LegThenHoldSamePlace", legFromWord("X@P"), holdAt("P"), false},
                    SameFixCase{"LegThenHoldSameFix", legFromWord("P"), holdAt("P"), true},
                    SameFixCase{"HoldThenLegSamePlace", holdAt("P"), legFromWord("X@P"), true}),
    [](const testing::TestParamInfo<SameFixCase>& info) { return std::string(info.param.name); });

struct TurnCase {
    float from;
    float to;
    int32_t direction;
    float angle;
};

class TurnAngleTest : public testing::TestWithParam<TurnCase> {};

TEST_P(TurnAngleTest, TurnsTheWayAsked) {
    const TurnCase& c = GetParam();
    EXPECT_FLOAT_EQ(turnAngle(c.from, c.to, c.direction), c.angle);
}

INSTANTIATE_TEST_SUITE_P(
    Courses, TurnAngleTest,
    testing::Values(TurnCase{350, 10, kTurnLeft, -340}, TurnCase{350, 10, kTurnRight, 20},
                    TurnCase{10, 350, kTurnRight, 340}, TurnCase{10, 350, kTurnNone, -20},
                    TurnCase{10, 350, kTurnLeft, -20}, TurnCase{90, 270, kTurnNone, 180},
                    TurnCase{90, 270, kTurnLeft, -180}));

PathSegment arcAround(double startBearing, double endBearing, uint32_t direction) {
    PathSegment arc;
    arc.centreLatitude = 10.0;
    arc.centreLongitude = 20.0;
    arc.radius = 3.0;
    arc.turnDirection = direction;
    const GcNav centre(arc.centreLatitude, arc.centreLongitude);
    centre.destination(startBearing, 2.0, arc.startLatitude, arc.startLongitude);
    centre.destination(endBearing, 5.0, arc.endLatitude, arc.endLongitude);
    return arc;
}

TEST(PathSegmentTest, ArcTakesTheShorterWayUnlessToldToFollowItsDirection) {
    PathSegment right = arcAround(90.0, 0.0, kSegmentRightArc);
    right.buildArc(false);
    EXPECT_NEAR(right.sweep, -90.0, 1e-6);
    right = arcAround(90.0, 0.0, kSegmentRightArc);
    right.buildArc(true);
    EXPECT_NEAR(right.sweep, 270.0, 1e-6);
    EXPECT_NEAR(right.startBearing, 90.0, 1e-6);

    PathSegment left = arcAround(0.0, 90.0, kSegmentLeftArc);
    left.buildArc(true);
    EXPECT_NEAR(left.sweep, -270.0, 1e-6);
}

TEST(PathSegmentTest, HalfCircleKeepsItsSenseOnlyWhenLeftAndFollowed) {
    for (const bool follow : {false, true}) {
        PathSegment right = arcAround(90.0, 270.0, kSegmentRightArc);
        right.buildArc(follow);
        EXPECT_NEAR(right.sweep, 180.0, 1e-6) << follow;
    }
    PathSegment left = arcAround(90.0, 270.0, kSegmentLeftArc);
    left.buildArc(true);
    EXPECT_NEAR(left.sweep, -180.0, 1e-6);
}

TEST(PathSegmentTest, ArcPointsLieOnTheRadiusAtSixthsOfTheSweep) {
    PathSegment arc = arcAround(30.0, 150.0, kSegmentRightArc);
    arc.buildArc(true);
    const GcNav centre(arc.centreLatitude, arc.centreLongitude);
    EXPECT_NEAR(centre.distanceTo(arc.startLatitude, arc.startLongitude), 3.0, 1e-9);
    EXPECT_NEAR(centre.distanceTo(arc.endLatitude, arc.endLongitude), 3.0, 1e-9);
    for (int k = 1; k <= PathSegment::kIntermediatePoints; ++k) {
        const auto& [latitude, longitude] = arc.points[static_cast<std::size_t>(k - 1)];
        EXPECT_NEAR(centre.distanceTo(latitude, longitude), 3.0, 1e-9);
        EXPECT_NEAR(centre.courseTo(latitude, longitude), 30.0 + k * 20.0, 1e-6);
    }
}

TEST(FlightPlanLegTest, InterceptStartsFarBehindTheFixOnTheCourse) {
    FakeFlightPlanContext context;
    context.altitudeFt = 7250.9f;
    context.variation = -4.5f;
    context.latitude = 1.0;
    context.longitude = 2.0;
    FlightPlanLeg leg = legFromWord("P");
    leg.trmLeg.legType = TerminalLegType::CF;
    leg.setInterceptCourse(45.0, context);

    EXPECT_EQ(leg.course, 45.0);
    EXPECT_EQ(leg.startKind, kStartIntercept);
    EXPECT_EQ(leg.legType(), TerminalLegType::TF);
    EXPECT_EQ(leg.src.kind, WaypointKind::DatabaseWaypoint);
    EXPECT_EQ(leg.src.ident, "INTC");
    EXPECT_EQ(leg.src.elevation, 7250);
    EXPECT_EQ(leg.src.variation, -4.5);
    const RhumbNav start(leg.src.latitude, leg.src.longitude);
    EXPECT_NEAR(start.distanceTo(leg.wpt.latitude, leg.wpt.longitude), 1000.0, 1e-6);
    EXPECT_NEAR(start.courseTo(leg.wpt.latitude, leg.wpt.longitude), 45.0, 1e-6);
    EXPECT_NEAR(leg.distance,
                RhumbNav::distanceBetween(leg.wpt.latitude, leg.wpt.longitude, 1.0, 2.0), 1e-9);
}

// Near a pole the line 1000 nm back would pass the pole or wind round it: the start comes
// closer, so that the line to the fix still runs on the course with the right side on the
// right. Elsewhere the start stays 1000 nm back.
TEST(FlightPlanLegTest, InterceptNearAPoleKeepsItsCourseAndSides) {
    const struct {
        double latitude;
        double course;
        bool fullReach;
    } cases[] = {
        {0.0, 80.0, true},    {70.0, 80.0, true},   {84.0, 45.0, true},  {86.0, 90.0, false},
        {86.0, 270.0, false}, {86.0, 180.0, false}, {-86.0, 0.0, false}, {-84.0, 120.0, true},
    };
    for (const auto& c : cases) {
        FakeFlightPlanContext context;
        FlightPlanLeg leg = legFromWord("P");
        leg.wpt.latitude = c.latitude;
        leg.wpt.longitude = 20.0;
        leg.setInterceptCourse(c.course, context);
        const RhumbNav start(leg.src.latitude, leg.src.longitude);
        const double reach = start.distanceTo(leg.wpt.latitude, leg.wpt.longitude);
        EXPECT_EQ(std::fabs(reach - 1000.0) < 1e-6, c.fullReach) << c.latitude << " " << c.course;
        EXPECT_GT(reach, 100.0) << c.latitude << " " << c.course;
        EXPECT_LT(std::fabs(leg.src.latitude), 89.6) << c.latitude << " " << c.course;
        EXPECT_NEAR(start.courseTo(leg.wpt.latitude, leg.wpt.longitude), c.course, 1e-6)
            << c.latitude << " " << c.course;
        double right = 0.0;
        double rightLongitude = 0.0;
        GcNav(leg.wpt.latitude, leg.wpt.longitude)
            .destination(c.course + 90.0, 1.0, right, rightLongitude);
        double crossTrack = 0.0;
        double along = 0.0;
        start.crossTrack(leg.wpt.latitude, leg.wpt.longitude, right, rightLongitude, crossTrack,
                         along);
        EXPECT_NEAR(crossTrack, 1.0, 0.05) << c.latitude << " " << c.course;
        EXPECT_NEAR(along, reach, 0.5) << c.latitude << " " << c.course;
    }
}

TEST(FlightPlanLegTest, MagneticCourseTakesTheFixVariation) {
    FlightPlanLeg leg = legFromWord("P");
    leg.course = 10.0;
    leg.wpt.variation = 20.0;
    EXPECT_DOUBLE_EQ(leg.magneticCourse(), 350.0);
}

TEST(FlightPlanLegTest, CopyTakesThePathMarkersAndTexts) {
    FlightPlanLeg leg = legFromWord("P");
    leg.via = "UL612";
    leg.path.resize(3);
    leg.markers.resize(1);
    leg.markers[0].ident = "TOD";
    const FlightPlanLeg copy = leg;
    EXPECT_EQ(copy.via, "UL612");
    EXPECT_EQ(copy.path.size(), 3u);
    ASSERT_EQ(copy.markers.size(), 1u);
    EXPECT_EQ(copy.markers[0].ident, "TOD");
    FlightPlanLeg& alias = leg;
    leg = alias;
    EXPECT_EQ(leg.via, "UL612");
    EXPECT_EQ(leg.path.size(), 3u);
}

TEST(LegPredictionTest, AddsValueByValue) {
    LegPrediction sum{60.0f, 100.0f, 9000.0f, 12.5f};
    sum += LegPrediction{30.0f, 50.0f, -150.0f, 7.5f};
    EXPECT_EQ(sum.time, 90.0f);
    EXPECT_EQ(sum.fuel, 150.0f);
    EXPECT_EQ(sum.fuelRemaining, 8850.0f);
    EXPECT_EQ(sum.distance, 20.0f);
}

} // namespace
} // namespace tavi::test
