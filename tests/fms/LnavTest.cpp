#include "fms/Lnav.h"

#include "navdata/GcNav.h"
#include "tests/fms/FlightPlanTestSupport.h"

#include <cmath>
#include <gtest/gtest.h>
#include <numbers>
#include <string>
#include <utility>
#include <vector>

namespace tavi {
namespace {

using test::FakeFlightPlanContext;

// Equator distances: one degree of longitude is 60 nm.
constexpr double kNmPerDegree = 60.0;

class RecordingHost final : public LnavHost {
public:
    void showMessage(const std::string& text, int priority) override {
        messages.emplace_back(text, priority);
    }
    bool lnavEngaged() const override { return engaged; }
    void cancelLateralMode() override {
        engaged = false;
        ++cancels;
    }
    void legSequenced(const Waypoint& passed) override { passedFixes.push_back(passed.ident); }
    void updateLegEtas() override {}
    void checkBaroSet() override {}

    bool engaged = true;
    int cancels = 0;
    std::vector<std::pair<std::string, int>> messages;
    std::vector<std::string> passedFixes;
};

Waypoint fixAt(const std::string& ident, double latitude, double longitude) {
    Waypoint point = test::fix(ident);
    point.latitude = latitude;
    point.longitude = longitude;
    return point;
}

// A leg flown along one straight piece from the previous point.
FlightPlanLeg straightLeg(const Waypoint& from, const Waypoint& to) {
    FlightPlanLeg leg;
    leg.wpt = to;
    leg.course = GcNav::courseBetween(from.latitude, from.longitude, to.latitude, to.longitude);
    leg.distance = GcNav::distanceBetween(from.latitude, from.longitude, to.latitude, to.longitude);
    PathSegment piece;
    piece.startLatitude = from.latitude;
    piece.startLongitude = from.longitude;
    piece.endLatitude = to.latitude;
    piece.endLongitude = to.longitude;
    leg.path.push_back(piece);
    return leg;
}

class LnavTest : public ::testing::Test {
protected:
    // KAAA at 0/0, legs east to W1 (0/1) and W2 (0/2), then north to W3 (1/2); KZZZ at 0/5.
    void SetUp() override {
        plan.org = test::airport("KAAA", 0.0, 0.0);
        plan.dest = test::airport("KZZZ", 0.0, 5.0);
        const Waypoint w1 = fixAt("W1", 0.0, 1.0);
        const Waypoint w2 = fixAt("W2", 0.0, 2.0);
        const Waypoint w3 = fixAt("W3", 1.0, 2.0);
        plan.legs = {straightLeg(plan.org, w1), straightLeg(w1, w2), straightLeg(w2, w3)};
        plan.totalDistance = 300.0;
        inputs.navigationReady = true;
        inputs.airborne = true;
        inputs.groundSpeed = 200.0f;
        inputs.trueTrack = 90.0f;
        context.inAir = true;
    }

    void fly(double latitude, double longitude) {
        inputs.latitude = latitude;
        inputs.longitude = longitude;
        lnav.update(plan, inputs, context, host);
    }

    FlightPlan plan;
    LnavInputs inputs;
    FakeFlightPlanContext context;
    RecordingHost host;
    Lnav lnav;
};

TEST_F(LnavTest, NothingToFlyWithoutDatabaseOrDestinationResetsTheRecord) {
    lnav.state.crossTrackError = 3.0;
    inputs.navigationReady = false;
    fly(0.0, 0.5);
    EXPECT_FALSE(lnav.state.valid);
    EXPECT_EQ(lnav.state.distanceToGo, -1.0);
    EXPECT_EQ(lnav.state.crossTrackError, 0.0);

    inputs.navigationReady = true;
    plan.dest = Waypoint{};
    fly(0.0, 0.5);
    EXPECT_FALSE(lnav.state.valid);
}

// Left of an eastbound leg is north: negative cross-track, positive deviation.
struct OffsetCase {
    double latitudeOffset;
    double expectedCrossTrack;
    double expectedDeviation;
};

class LnavCaptureTest : public LnavTest, public ::testing::WithParamInterface<OffsetCase> {};

TEST_P(LnavCaptureTest, CrossTrackSignAndDesiredTrackOnAStraightLeg) {
    plan.activeLeg = 1;
    plan.distanceFlown = 60.0;
    const OffsetCase c = GetParam();
    fly(c.latitudeOffset, 1.5);
    const LnavState& s = lnav.state;
    EXPECT_TRUE(s.valid);
    EXPECT_TRUE(s.pathValid);
    EXPECT_EQ(s.ident, "W2");
    EXPECT_NEAR(s.crossTrackError, c.expectedCrossTrack, 0.01);
    EXPECT_NEAR(s.deviation, c.expectedDeviation, 0.002);
    EXPECT_NEAR(s.desiredTrackTrue, 90.0, 1e-9);
    EXPECT_NEAR(s.currentDesiredTrack, 90.0, 0.01);
    EXPECT_NEAR(s.segmentAlongTrack, 30.0, 0.05);
    EXPECT_NEAR(s.legAlongTrack, 30.0, 0.05);
    const double offsetNm = c.latitudeOffset * kNmPerDegree;
    EXPECT_NEAR(s.distanceToGo, std::hypot(30.0, offsetNm), 0.05);
    EXPECT_NEAR(s.bearingToFix, 90.0 - std::atan2(-offsetNm, 30.0) * 180.0 / std::numbers::pi,
                0.05);
    EXPECT_NEAR(s.timeToGo, s.distanceToGo / 200.0 * 3600.0, 1e-6);
    EXPECT_FALSE(s.terminalArea);
    EXPECT_EQ(plan.activeLeg, 1u);
}

INSTANTIATE_TEST_SUITE_P(Offsets, LnavCaptureTest,
                         ::testing::Values(OffsetCase{0.0, 0.0, 0.0}, OffsetCase{0.02, -1.2, 0.24},
                                           OffsetCase{-0.02, 1.2, -0.24},
                                           OffsetCase{0.1, -6.0, 1.0},
                                           OffsetCase{-0.1, 6.0, -1.0}));

TEST_F(LnavTest, TerminalAreaAndApproachNarrowTheDeviationScale) {
    fly(0.01, 0.4);
    EXPECT_TRUE(lnav.state.terminalArea);
    EXPECT_NEAR(lnav.state.deviation, 0.6, 0.002);

    plan.legs[0].trmLeg.proc = kProcApproach;
    fly(0.002, 0.4);
    EXPECT_TRUE(lnav.state.approach);
    EXPECT_NEAR(lnav.state.deviation, 0.12 / 0.3, 0.005);
}

// The fake's turn at 200 kt has a 1 nm radius; a 90 degree turn at W2 leads by 1 nm.
struct AnticipationCase {
    const char* name;
    double remainingNm;
    double latitude;
    bool flyOver;
    bool sequences;
};

class LnavAnticipationTest : public LnavTest,
                             public ::testing::WithParamInterface<AnticipationCase> {};

TEST_P(LnavAnticipationTest, FlyByFixSequencesWithinTheTurnLead) {
    const AnticipationCase c = GetParam();
    plan.activeLeg = 1;
    plan.distanceFlown = 60.0;
    plan.legs[1].trmLeg.flyOver = c.flyOver;
    fly(c.latitude, 2.0 - c.remainingNm / kNmPerDegree);
    EXPECT_EQ(plan.activeLeg, c.sequences ? 2u : 1u) << c.name;
    EXPECT_EQ(host.passedFixes.size(), c.sequences ? 1u : 0u) << c.name;
    // The along-track distance is the active leg's: just past a sequence the aircraft stands at
    // the start of the new leg, not 59 nm along it.
    const double along = c.sequences ? 0.0 : 60.0 - c.remainingNm;
    EXPECT_NEAR(lnav.state.legAlongTrack, along, 0.05) << c.name;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, LnavAnticipationTest,
    ::testing::Values(AnticipationCase{"inside lead", 0.9, 0.0, false, true},
                      AnticipationCase{"before lead", 1.2, 0.0, false, false},
                      AnticipationCase{"fly-over waits", 0.9, 0.0, true, false},
                      AnticipationCase{"0.6 nm off course", 0.9, 0.01, false, false}));

TEST_F(LnavTest, NeverSequencesOnTheGroundNorFarOffThePath) {
    plan.activeLeg = 1;
    inputs.airborne = false;
    fly(0.0, 2.0 - 0.5 / kNmPerDegree);
    EXPECT_EQ(plan.activeLeg, 1u);

    inputs.airborne = true;
    lnav.state.crossTrackError = 16.0;
    lnav.sequenceToNextLeg(plan, inputs, context, host);
    EXPECT_EQ(plan.activeLeg, 1u);
}

TEST_F(LnavTest, PassingTheEndOfTheLastPieceSequencesOnceAndWarnsOfTheLastLeg) {
    plan.activeLeg = 1;
    plan.legs[1].trmLeg.flyOver = true;
    fly(0.0, 2.0 + 0.1 / kNmPerDegree);
    EXPECT_EQ(plan.activeLeg, 2u);
    EXPECT_EQ(host.passedFixes, std::vector<std::string>{"W2"});
    ASSERT_EQ(host.messages.size(), 1u);
    EXPECT_EQ(host.messages[0].first, "LAST LEG");
}

TEST_F(LnavTest, EndOfPlanClearsValidAndPostsWhileInLnav) {
    plan.activeLeg = 3;
    fly(1.0, 2.0);
    EXPECT_FALSE(lnav.state.valid);
    ASSERT_EQ(host.messages.size(), 1u);
    EXPECT_EQ(host.messages[0], std::make_pair(std::string("END OF FLIGHT PLAN"), 1));
}

TEST_F(LnavTest, NextLegOfTheMissedApproachIsNeverSequencedOnto) {
    plan.activeLeg = 1;
    plan.legs[2].trmLeg.proc = kProcMissedApproach;
    lnav.sequenceToNextLeg(plan, inputs, context, host);
    EXPECT_EQ(plan.activeLeg, 1u);
}

TEST_F(LnavTest, AltitudeTerminatedLegEndsWithinTwentyFeet) {
    FlightPlanLeg& leg = plan.legs[0];
    leg.trmLeg.legType = TerminalLegType::CA;
    leg.vnav.altitude = 3000;
    for (const auto& [altitude, ends] :
         std::vector<std::pair<float, bool>>{{2975.0f, false}, {2985.0f, true}, {3015.0f, true}}) {
        plan.activeLeg = 0;
        inputs.altitude = altitude;
        leg.vnav.altitude = 3000;
        fly(0.0, 0.5);
        EXPECT_EQ(plan.activeLeg, ends ? 1u : 0u) << altitude;
    }
}

TEST_F(LnavTest, ArcSteeringGivesBankAndRateOfTheTurn) {
    // A right turn of 2 nm radius about a centre 2 nm south of the aircraft.
    FlightPlanLeg& leg = plan.legs[0];
    leg.trmLeg.legType = TerminalLegType::RF;
    PathSegment& arc = leg.path[0];
    arc.turnDirection = kSegmentRightArc;
    arc.radius = 2.0;
    arc.centreLatitude = -2.0 / kNmPerDegree;
    arc.centreLongitude = 0.5;
    arc.startLatitude = 0.0;
    arc.startLongitude = 0.4;
    arc.buildArc(true);
    inputs.groundSpeed = 250.0f;
    fly(0.0, 0.5);
    const LnavState& s = lnav.state;
    EXPECT_TRUE(s.arcSteering);
    EXPECT_NEAR(s.desiredTrackTrue, 90.0, 0.01);
    EXPECT_NEAR(s.crossTrackError, 0.0, 0.01);
    const double radiusFt = 2.0 * 1852.0 * 3.28084;
    EXPECT_NEAR(s.bankCommand, -std::atan(250.0 * 250.0 / (radiusFt * 11.23)) / 0.01745, 1e-6);
    EXPECT_NEAR(s.bankCommand, -24.6, 0.05);
    EXPECT_NEAR(s.turnRate, 1.989, 0.001);
}

class LnavHoldTest : public LnavTest {
protected:
    // A right-hand hold at W1 with the inbound course 090, the arrival course.
    void SetUp() override {
        LnavTest::SetUp();
        HoldingPattern& hold = plan.legs[0].holding;
        hold.active = 1;
        hold.inboundCourse = 90.0;
        hold.compute(0.0, 1.0, 90.0);
    }
};

TEST_F(LnavHoldTest, ReachingTheFixEntersTheHoldInsteadOfSequencing) {
    const HoldingPattern& hold = plan.legs[0].holding;
    ASSERT_EQ(hold.entryKind, HoldEntry::Direct);
    fly(0.0, 1.0 + 0.05 / kNmPerDegree);
    EXPECT_EQ(plan.activeLeg, 0u);
    EXPECT_TRUE(hold.entered);
    fly(0.0, 1.0 + 0.1 / kNmPerDegree);
    EXPECT_TRUE(hold.holdInPattern);
    EXPECT_EQ(hold.holdPhase, 1u);
    EXPECT_TRUE(lnav.state.arcSteering);
    EXPECT_GT(lnav.state.turnRate, 0.0);
    // The general sequencing rule leaves an entered hold alone.
    fly(0.0, 1.0 + 0.05 / kNmPerDegree);
    EXPECT_EQ(plan.activeLeg, 0u);
}

TEST_F(LnavHoldTest, HfHoldIsLeftAtTheFixAfterTheInboundLeg) {
    HoldingPattern& hold = plan.legs[0].holding;
    hold.entered = 1;
    hold.holdInPattern = 1;
    hold.holdPhase = 0;
    const double nearFix = hold.legLength - 0.2;
    const double start = hold.cornerLongitudes[HoldingPattern::kInboundStart];
    fly(0.0, start + nearFix / kNmPerDegree);
    EXPECT_EQ(hold.holdPhase, 1u);
    EXPECT_EQ(plan.activeLeg, 0u);

    hold.holdPhase = 0;
    plan.legs[0].trmLeg.legType = TerminalLegType::HF;
    fly(0.0, start + nearFix / kNmPerDegree);
    EXPECT_EQ(plan.activeLeg, 1u);
}

TEST_F(LnavHoldTest, EntryLegIsFlownBeforeTheTurnTowardsTheInboundCourse) {
    HoldingPattern& hold = plan.legs[0].holding;
    hold.entered = 1;
    hold.entryKind = HoldEntry::Teardrop;
    hold.holdSpeed = 240.0;
    hold.entryLatitudes = {0.0, 0.0};
    hold.entryLongitudes = {1.0, 1.0 + 10.0 / kNmPerDegree};
    fly(0.0, 1.0 + 2.0 / kNmPerDegree);
    EXPECT_FALSE(hold.holdEntryLegFlown);
    EXPECT_NEAR(lnav.state.currentDesiredTrack, 90.0, 0.01);
    fly(0.0, 1.0 + 4.1 / kNmPerDegree);
    EXPECT_TRUE(hold.holdEntryLegFlown);
    EXPECT_TRUE(lnav.state.legAdvanced);

    inputs.heading = 270.0f;
    fly(0.0, 1.0 + 5.0 / kNmPerDegree);
    EXPECT_FALSE(hold.holdInPattern);
    EXPECT_NEAR(lnav.state.currentDesiredTrack, 0.0, 1e-9);
    inputs.heading = 30.0f;
    fly(0.0, 1.0 + 5.0 / kNmPerDegree);
    EXPECT_TRUE(hold.holdInPattern);
    EXPECT_EQ(hold.holdPhase, 0u);
}

TEST_F(LnavTest, DiscontinuitySteersToTheNextFixOrTheDestination) {
    FlightPlanLeg gap;
    gap.setDiscontinuity(true);
    FlightPlanLeg heading;
    heading.trmLeg.legType = TerminalLegType::FM;
    plan.legs = {gap, heading};
    fly(0.0, 1.0);
    EXPECT_TRUE(lnav.state.discontinuity);
    EXPECT_FALSE(lnav.state.pathValid);
    EXPECT_EQ(lnav.state.ident, "KZZZ");
    EXPECT_NEAR(lnav.state.distanceToGo, 240.0, 0.5);
    EXPECT_NEAR(lnav.state.bearingToFix, 90.0, 1e-6);
    ASSERT_EQ(host.messages.size(), 1u);
    EXPECT_EQ(host.messages[0].first, "DISCONTINUITY");
    EXPECT_EQ(host.cancels, 1);

    fly(0.0, 1.0);
    EXPECT_EQ(host.messages.size(), 1u);
    EXPECT_EQ(host.cancels, 1);
}

// A break waits for the pilot however close the next fix is, and the fix after it is kept.
TEST_F(LnavTest, DiscontinuityIsNeverSequencedNorTheFixAfterItSkipped) {
    FlightPlanLeg gap;
    gap.setDiscontinuity(true);
    plan.legs.insert(plan.legs.begin() + 2, gap);
    plan.recalculate(context);
    plan.activeLeg = 2;
    for (const double east : {1.9, 1.99, 2.0, 2.01}) {
        fly(0.0, east);
        EXPECT_EQ(plan.activeLeg, 2u) << east;
    }
    EXPECT_TRUE(host.passedFixes.empty());
}

TEST_F(LnavTest, HeadingLegGivesTheCourseAndDropsLnavWithoutMessage) {
    FlightPlanLeg heading;
    heading.trmLeg.legType = TerminalLegType::VM;
    heading.course = 45.0;
    heading.wpt.variation = -5.0;
    plan.legs = {heading};
    fly(0.3, 0.3);
    const LnavState& s = lnav.state;
    EXPECT_NEAR(s.desiredTrackTrue, 45.0, 1e-9);
    EXPECT_NEAR(s.desiredTrackMagnetic, 50.0, 1e-9);
    EXPECT_NEAR(s.currentDesiredTrack, 45.0, 1e-9);
    EXPECT_EQ(s.distanceToGo, 0.0);
    EXPECT_TRUE(s.ident.empty());
    EXPECT_TRUE(host.messages.empty());
    EXPECT_EQ(host.cancels, 1);
}

TEST_F(LnavTest, OrbitCrossTrackAndDeviationFromTheRadius) {
    plan.activeLeg = 1;
    plan.orbit.entered = true;
    plan.orbit.radius = 5.0;
    for (const bool right : {true, false}) {
        plan.orbit.rightTurns = right;
        for (const double range : {4.0, 6.0}) {
            fly(range / kNmPerDegree, 1.0);
            const double expected = right ? 5.0 - range : range - 5.0;
            EXPECT_NEAR(lnav.state.crossTrackError, expected, 0.01) << right << range;
            EXPECT_NEAR(lnav.state.deviation, -expected, 0.01);
            EXPECT_NEAR(lnav.state.desiredTrackTrue, right ? 90.0 : 270.0, 1e-6);
        }
    }
}

class LnavTogaTest : public LnavTest {
protected:
    void SetUp() override {
        LnavTest::SetUp();
        plan.dest.elevation = 500;
        plan.destRwy.kind = WaypointKind::Runway;
        plan.destRwy.latitude = 0.0;
        plan.destRwy.longitude = 5.0;
        missed.legs = {straightLeg(plan.dest, fixAt("MA1", 0.5, 5.0))};
        toga.verticalModeToGa = true;
        lnav.state.approach = true;
    }

    FlightPlan missed;
    TogaInputs toga;
};

TEST_F(LnavTogaTest, GoAroundMakesTheMissedApproachTheActiveRoute) {
    for (const auto& [preselected, expected] :
         std::vector<std::pair<float, int32_t>>{{3000.0f, 3000}, {1000.0f, 2000}}) {
        FlightPlan active = plan;
        FlightPlan missedCopy = missed;
        toga.preselectedAltitude = preselected;
        const TogaOutcome outcome = lnav.activateMissedApproach(active, missedCopy, toga, context);
        EXPECT_EQ(outcome.action, TogaAction::GoAround);
        EXPECT_EQ(outcome.missedApproachAltitude, expected);
        EXPECT_EQ(active.org.ident, "KZZZ");
        EXPECT_EQ(active.dest.ident, "KZZZ");
        ASSERT_EQ(active.legCount(), 1u);
        EXPECT_EQ(active.legs[0].wpt.ident, "MA1");
        EXPECT_EQ(active.activeLeg, 0u);
        EXPECT_FALSE(active.locked);
        EXPECT_EQ(missedCopy.legCount(), 0u);
    }
}

TEST_F(LnavTogaTest, NoGoAroundOffAnApproachOrWithoutMissedApproach) {
    lnav.state.approach = false;
    EXPECT_EQ(lnav.activateMissedApproach(plan, missed, toga, context).action, TogaAction::None);
    lnav.state.approach = true;
    FlightPlan empty;
    EXPECT_EQ(lnav.activateMissedApproach(plan, empty, toga, context).action, TogaAction::None);
    EXPECT_EQ(plan.legCount(), 3u);
}

TEST_F(LnavTogaTest, TakeoffPositionUpdateOnlyOnTheRunwayAtRest) {
    plan.org.kind = WaypointKind::Runway;
    plan.orgRwy.latitude = 0.0;
    plan.orgRwy.longitude = 0.0;
    toga.onGround = true;
    toga.positionInitialised = true;
    toga.gpsLatitude = 0.0;
    toga.gpsLongitude = 0.1 / kNmPerDegree;
    const TogaOutcome outcome = lnav.activateMissedApproach(plan, missed, toga, context);
    EXPECT_EQ(outcome.action, TogaAction::TakeoffPositionUpdate);
    EXPECT_NEAR(outcome.offsetDistance, 0.1, 1e-3);
    EXPECT_NEAR(outcome.offsetBearing, 270.0, 1e-3) << "from the GPS position to the runway";

    toga.groundSpeed = 5.0f;
    EXPECT_EQ(lnav.activateMissedApproach(plan, missed, toga, context).action, TogaAction::None);
    toga.groundSpeed = 0.0f;
    toga.positionInitialised = false;
    EXPECT_EQ(lnav.activateMissedApproach(plan, missed, toga, context).action, TogaAction::None);
    toga.positionInitialised = true;
    plan.org.kind = WaypointKind::Airport;
    EXPECT_EQ(lnav.activateMissedApproach(plan, missed, toga, context).action, TogaAction::None);
}

} // namespace
} // namespace tavi
