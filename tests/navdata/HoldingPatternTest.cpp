#include "navdata/HoldingPattern.h"

#include "navdata/GcNav.h"
#include "navdata/ProcedureTurn.h"

#include <cmath>
#include <gtest/gtest.h>

namespace tavi {
namespace {

constexpr double kFixLat = 47.0;
constexpr double kFixLon = 8.0;

double courseFromFix(double lat, double lon) {
    return GcNav::courseBetween(kFixLat, kFixLon, lat, lon);
}

double distanceFromFix(double lat, double lon) {
    return GcNav::distanceBetween(kFixLat, kFixLon, lat, lon);
}

TEST(HoldingPatternTest, HoldAt220KnotsHasItsRadiusAndLegLength) {
    HoldingPattern hold;
    hold.inboundCourse = 90.0;
    hold.compute(kFixLat, kFixLon, 90.0);
    EXPECT_EQ(hold.holdSpeed, 220.0);
    EXPECT_NEAR(hold.legLength, 3.6667, 5e-5);
    EXPECT_NEAR(hold.turnRadius, 1.5128, 5e-5);
}

TEST(HoldingPatternTest, EnteredLegLengthStaysWhenNotTimed) {
    HoldingPattern hold;
    hold.lengthByTime = 0;
    hold.legLength = 5.0;
    hold.holdSpeed = 180.0;
    hold.compute(kFixLat, kFixLon, 0.0);
    EXPECT_EQ(hold.legLength, 5.0);
    EXPECT_EQ(hold.holdSpeed, 180.0);
}

TEST(HoldingPatternTest, RacetrackLiesOnTheTurnSide) {
    for (const uint8_t right : {uint8_t{1}, uint8_t{0}}) {
        HoldingPattern hold;
        hold.rightTurns = right;
        hold.inboundCourse = 30.0;
        hold.compute(kFixLat, kFixLon, 30.0);
        const double side = right ? 120.0 : 300.0;
        const auto& lat = hold.cornerLatitudes;
        const auto& lon = hold.cornerLongitudes;
        EXPECT_EQ(lat[HoldingPattern::kFix], kFixLat);
        EXPECT_EQ(lon[HoldingPattern::kFix], kFixLon);
        EXPECT_NEAR(
            courseFromFix(lat[HoldingPattern::kInboundStart], lon[HoldingPattern::kInboundStart]),
            210.0, 1e-6);
        EXPECT_NEAR(
            distanceFromFix(lat[HoldingPattern::kInboundStart], lon[HoldingPattern::kInboundStart]),
            hold.legLength, 1e-9);
        EXPECT_NEAR(courseFromFix(hold.fixTurnCentre[0], hold.fixTurnCentre[1]), side, 1e-6);
        EXPECT_NEAR(distanceFromFix(hold.fixTurnCentre[0], hold.fixTurnCentre[1]), hold.turnRadius,
                    1e-9);
        EXPECT_NEAR(distanceFromFix(lat[HoldingPattern::kOutboundStart],
                                    lon[HoldingPattern::kOutboundStart]),
                    2.0 * hold.turnRadius, 1e-9);
        const GcNav inboundStart(lat[HoldingPattern::kInboundStart],
                                 lon[HoldingPattern::kInboundStart]);
        EXPECT_NEAR(inboundStart.distanceTo(lat[HoldingPattern::kOutboundEnd],
                                            lon[HoldingPattern::kOutboundEnd]),
                    2.0 * hold.turnRadius, 1e-9);
        EXPECT_NEAR(inboundStart.distanceTo(hold.farTurnCentre[0], hold.farTurnCentre[1]),
                    hold.turnRadius, 1e-9);
    }
}

struct EntryCase {
    bool rightTurns;
    double inbound;
    double arrival;
    HoldEntry entry;
};

class HoldEntryTest : public testing::TestWithParam<EntryCase> {};

TEST_P(HoldEntryTest, EntryFollowsTheArrivalSector) {
    const EntryCase& c = GetParam();
    HoldingPattern hold;
    hold.rightTurns = c.rightTurns ? 1 : 0;
    hold.inboundCourse = c.inbound;
    hold.compute(kFixLat, kFixLon, c.arrival);
    EXPECT_EQ(hold.entryKind, c.entry);
}

INSTANTIATE_TEST_SUITE_P(Sectors, HoldEntryTest,
                         testing::Values(EntryCase{true, 360.0, 0.0, HoldEntry::Direct},
                                         EntryCase{false, 360.0, 0.0, HoldEntry::Direct},
                                         EntryCase{true, 90.0, 270.0, HoldEntry::Parallel},
                                         EntryCase{false, 90.0, 270.0, HoldEntry::Parallel},
                                         EntryCase{true, 0.0, 90.0, HoldEntry::Direct},
                                         EntryCase{true, 0.0, 270.0, HoldEntry::Direct},
                                         EntryCase{true, 0.0, 100.0, HoldEntry::Teardrop},
                                         EntryCase{true, 0.0, 260.0, HoldEntry::Parallel},
                                         EntryCase{false, 0.0, 260.0, HoldEntry::Teardrop},
                                         EntryCase{false, 0.0, 100.0, HoldEntry::Parallel},
                                         EntryCase{true, 350.0, 80.0, HoldEntry::Direct},
                                         EntryCase{true, 350.0, 81.0, HoldEntry::Teardrop}));

TEST(HoldingPatternTest, TeardropEntryLeavesTowardsTheHoldingSide) {
    for (const uint8_t right : {uint8_t{1}, uint8_t{0}}) {
        HoldingPattern hold;
        hold.rightTurns = right;
        hold.inboundCourse = 0.0;
        hold.compute(kFixLat, kFixLon, right ? 120.0 : 240.0);
        ASSERT_EQ(hold.entryKind, HoldEntry::Teardrop);
        EXPECT_EQ(hold.entryLatitudes[0], kFixLat);
        EXPECT_EQ(hold.entryLongitudes[0], kFixLon);
        EXPECT_NEAR(courseFromFix(hold.entryLatitudes[1], hold.entryLongitudes[1]),
                    right ? 150.0 : 210.0, 1e-6);
        EXPECT_NEAR(distanceFromFix(hold.entryLatitudes[1], hold.entryLongitudes[1]), 220.0 / 60.0,
                    1e-9);
    }
}

TEST(HoldingPatternTest, ParallelEntryStartsOnTheSideAwayFromTheHold) {
    HoldingPattern hold;
    hold.inboundCourse = 0.0;
    hold.compute(kFixLat, kFixLon, 180.0);
    ASSERT_EQ(hold.entryKind, HoldEntry::Parallel);
    EXPECT_NEAR(courseFromFix(hold.entryLatitudes[0], hold.entryLongitudes[0]), 270.0, 1e-6);
    EXPECT_NEAR(distanceFromFix(hold.entryLatitudes[0], hold.entryLongitudes[0]), 1.0, 1e-9);
    const GcNav entry1(hold.entryLatitudes[0], hold.entryLongitudes[0]);
    EXPECT_NEAR(entry1.courseTo(hold.entryLatitudes[1], hold.entryLongitudes[1]), 180.0, 1e-6);
    EXPECT_NEAR(entry1.distanceTo(hold.entryLatitudes[1], hold.entryLongitudes[1]), 220.0 / 60.0,
                1e-9);
}

TEST(ProcedureTurnTest, DefaultTurnCoversOneMinuteAtItsSpeed) {
    ProcedureTurn turn;
    turn.trueCourse = 270.0;
    turn.outboundDistance = 5.0;
    turn.compute(kFixLat, kFixLon);
    EXPECT_EQ(turn.minuteDistance, 3.0);
    const auto& lat = turn.pointLatitudes;
    const auto& lon = turn.pointLongitudes;
    EXPECT_EQ(lat[ProcedureTurn::kFix], kFixLat);
    EXPECT_NEAR(
        distanceFromFix(lat[ProcedureTurn::kOutboundTurn], lon[ProcedureTurn::kOutboundTurn]), 5.0,
        1e-9);
    EXPECT_NEAR(
        distanceFromFix(lat[ProcedureTurn::kMinuteBeyond], lon[ProcedureTurn::kMinuteBeyond]), 8.0,
        1e-5);
}

TEST(ProcedureTurnTest, TurnBackPointLiesAbeamTheMinutePointOnTheAngledSide) {
    for (const uint8_t left : {uint8_t{1}, uint8_t{0}}) {
        ProcedureTurn turn;
        turn.trueCourse = 0.0;
        turn.outboundDistance = 4.0;
        turn.turnLeft = left;
        turn.compute(kFixLat, kFixLon);
        const auto& lat = turn.pointLatitudes;
        const auto& lon = turn.pointLongitudes;
        const GcNav outboundTurn(lat[ProcedureTurn::kOutboundTurn],
                                 lon[ProcedureTurn::kOutboundTurn]);
        EXPECT_NEAR(outboundTurn.courseTo(lat[ProcedureTurn::kAngledLegEnd],
                                          lon[ProcedureTurn::kAngledLegEnd]),
                    left ? 45.0 : 315.0, 1e-6);
        double xtk = 0.0;
        double atk = 0.0;
        GcNav(kFixLat, kFixLon)
            .crossTrack(lat[ProcedureTurn::kMinuteBeyond], lon[ProcedureTurn::kMinuteBeyond],
                        turn.turnBackLatitude, turn.turnBackLongitude, xtk, atk);
        // With an angle of 45 degrees the turn-back point is (sqrt 2 - 1) minutes abeam on a
        // flat earth; the sphere moves it by about a thousandth of a mile.
        EXPECT_NEAR(xtk, (left ? 1.0 : -1.0) * (std::sqrt(2.0) - 1.0) * 3.0, 5e-3);
        EXPECT_NEAR(atk, 7.0, 1e-3);
        EXPECT_NEAR(turn.turnBackDistance, std::fabs(xtk), 1e-6);
        EXPECT_NEAR(turn.extent, 7.0 + std::cos(45.0 * kDegToRad) * turn.turnBackDistance, 1e-9);
    }
}

// Near a pole the manoeuvre may pass over it; the turn-back point stays beside the minute
// point, never on the far side of the earth.
TEST(ProcedureTurnTest, TurnBackPointStaysBesideTheMinutePointNearAPole) {
    for (const double fixLatitude : {89.9, -89.9}) {
        for (const double course : {0.0, 90.0, 180.0, 270.0}) {
            for (const uint8_t left : {uint8_t{1}, uint8_t{0}}) {
                ProcedureTurn turn;
                turn.trueCourse = course;
                turn.outboundDistance = 4.0;
                turn.turnLeft = left;
                turn.compute(fixLatitude, 30.0);
                EXPECT_LT(turn.turnBackDistance, turn.minuteDistance)
                    << fixLatitude << " " << course << " " << int{left};
                EXPECT_LT(GcNav::distanceBetween(fixLatitude, 30.0, turn.turnBackLatitude,
                                                 turn.turnBackLongitude),
                          turn.outboundDistance + 2.0 * turn.minuteDistance);
            }
        }
    }
}

} // namespace
} // namespace tavi
