#include "ProcedureTestSupport.h"
#include "fms/ArrivalExpansion.h"
#include "fms/DepartureExpansion.h"

#include <gtest/gtest.h>

namespace tavi::test {
namespace {

// Database IDs of the test region.
constexpr int32_t kRunway09L = 1;
constexpr int32_t kWaypointR = 3;
constexpr int32_t kWaypointS = 4;
constexpr int32_t kWaypointT = 9;

class ProcedureExpansionTest : public ProcedureFixture {
protected:
    ProcedureExpansionTest() {
        std::vector<Waypoint> airports;
        database.searchAirports("ZZAA", airports);
        active.org = airports.front();
        active.dest = airports.front();
    }

    Waypoint waypoint(int32_t id) const {
        Waypoint result;
        database.getWaypointInfo(id, result);
        return result;
    }

    void routeThrough(std::initializer_list<int32_t> ids) {
        for (int32_t id : ids) {
            active.insertWaypoint(waypoint(id), active.legCount(), false, context);
        }
    }

    DepartureSelection alphaOne() const { return {"ZZAA", runway(kRunway09L), "ALPHA1", "ENRA"}; }

    ArrivalSelection golfOneIls() const {
        return {"ZZAA", runway(kRunway09L), "GOLF1", "", "I09L", "ILS 09L", "P"};
    }

    FlightPlan active;
    FlightPlan preview;
    FlightPlan missed;
    GeneratedPointNames pageNames;
};

TEST_F(ProcedureExpansionTest, SidActivatedOnTheGroundJoinsTheRouteAtItsLastFix) {
    routeThrough({kWaypointR, kWaypointS});
    const ProcedureExpansionOutcome outcome =
        DepartureExpansion(environment()).build(alphaOne(), active, active, names, true);

    EXPECT_EQ(outcome.page, kPageActiveFltPlan);
    EXPECT_EQ(routeOf(active), "*ALT01 P Q R S");
    for (const FlightPlanLeg& leg : active.legs) {
        EXPECT_EQ(leg.proc(), kProcSid) << leg.wpt.ident;
        EXPECT_EQ(leg.via, "ALPHA1.ENRA") << leg.wpt.ident;
    }
    EXPECT_EQ(active.orgRwy.id, kRunway09L);
    EXPECT_TRUE(active.legs[0].trmLeg.flyOver);
    EXPECT_EQ(active.legs[0].vnav.altitude, 1900);
    EXPECT_EQ(active.legs[0].vnav.phase, kPhaseClimb);
    EXPECT_EQ(active.legs[3].vnav.altitude, 10000);
    EXPECT_NE(pilotPoints.find("*ALT01"), nullptr);
    EXPECT_FALSE(active.locked);
    EXPECT_GT(active.totalDistance, 0.0);
}

TEST_F(ProcedureExpansionTest, SidPreviewLeavesTheActivePlanAndTheStoreAlone) {
    routeThrough({kWaypointT});
    const std::string before = routeOf(active);
    DepartureExpansion expansion(environment());
    const ProcedureExpansionOutcome outcome =
        expansion.build(alphaOne(), preview, active, pageNames, false);

    EXPECT_EQ(routeOf(active), before);
    EXPECT_EQ(routeOf(preview), "*ALT01 P Q R S");
    EXPECT_EQ(outcome.page, kPageSidReview);
    EXPECT_EQ(outcome.reviewPageCount, 3);
    EXPECT_EQ(preview.dest.ident, "ZZAA");
    EXPECT_EQ(pilotPoints.find("*ALT01"), nullptr);

    expansion.build(alphaOne(), preview, active, pageNames, false);
    EXPECT_EQ(routeOf(preview), "*ALT03 P Q R S");
}

TEST_F(ProcedureExpansionTest, SidActivatedOnTheGroundKeepsABreakBeforeAnotherRoute) {
    routeThrough({kWaypointT});
    DepartureExpansion(environment()).build(alphaOne(), active, active, names, true);
    EXPECT_EQ(routeOf(active), "*ALT01 P Q R S / T");
    EXPECT_EQ(active.legs[5].proc(), kProcSid);
    EXPECT_EQ(active.legs[6].proc(), kProcRoute);
}

TEST_F(ProcedureExpansionTest, EmptySidOnlyMovesTheOrigin) {
    routeThrough({kWaypointT});
    const ProcedureExpansionOutcome outcome =
        DepartureExpansion(environment())
            .build({"ZZAA", runway(kRunway09L), "", ""}, preview, active, pageNames, false);
    EXPECT_EQ(routeOf(preview), "");
    EXPECT_EQ(outcome.reviewPageCount, 1);
    EXPECT_EQ(preview.orgRwy.id, kRunway09L);
}

TEST_F(ProcedureExpansionTest, StarAndIlsApproachEndAtTheRunwayWithTheMissedApproachReady) {
    routeThrough({kWaypointT});
    const ProcedureExpansionOutcome outcome =
        ArrivalExpansion(environment()).build(golfOneIls(), active, active, missed, names, true);

    EXPECT_EQ(outcome.page, kPageActiveFltPlan);
    ASSERT_EQ(routeOf(active), "T / P FF09L / P FF09L RW09L")
        << "the missed-approach point is the runway threshold";
    EXPECT_EQ(active.legs[2].via, "GOLF1");
    EXPECT_EQ(active.legs[2].proc(), kProcStar);
    EXPECT_EQ(active.legs[5].via, "APPR TRANS");
    EXPECT_EQ(active.legs[5].vnav.altitude, 5000);
    EXPECT_EQ(active.legs[5].vnav.phase, kPhaseDescent);
    const FlightPlanLeg& finalFix = active.legs[6];
    EXPECT_EQ(finalFix.via, "I09L 09L");
    EXPECT_EQ(finalFix.vnav.altitude, 2400);
    EXPECT_EQ(finalFix.vnav.speed, 150);
    const FlightPlanLeg& runwayLeg = active.legs.back();
    EXPECT_EQ(runwayLeg.wpt.id, kRunway09L);
    EXPECT_EQ(runwayLeg.proc(), kProcApproach);
    EXPECT_EQ(runwayLeg.vnav.altitude, 1405 + 50);
    EXPECT_EQ(runwayLeg.vnav.kind, kAltitudeAt);
    EXPECT_EQ(runwayLeg.vnav.speed, 150);
    EXPECT_EQ(active.destRwy.id, kRunway09L);
    EXPECT_EQ(active.destIls.ident, "IAAL");
    EXPECT_EQ(active.dest.ident, "RW09L");

    // The missed approach climbs from the far end of the runway, then flies to the hold's own
    // fix and holds there.
    ASSERT_EQ(routeOf(missed), "*ALT01 MH09L");
    EXPECT_EQ(missed.legs[0].via, "MISSED APPRCH");
    EXPECT_EQ(missed.legs[0].vnav.altitude, 3000);
    EXPECT_EQ(missed.legs[0].vnav.phase, kPhaseClimb);
    EXPECT_FALSE(missed.legs[0].holding.active);
    EXPECT_TRUE(missed.legs[1].holding.active);
    EXPECT_GT(missed.org.longitude, runway(kRunway09L).longitude);
    EXPECT_FALSE(missed.locked);
}

TEST_F(ProcedureExpansionTest, ArrivalPreviewDropsItsLeadingBreakAndLeavesThePlansAlone) {
    routeThrough({kWaypointT});
    const std::string before = routeOf(active);
    const ProcedureExpansionOutcome outcome =
        ArrivalExpansion(environment())
            .build(golfOneIls(), preview, active, missed, pageNames, false);
    EXPECT_EQ(outcome.page, kPageArrivalReview);
    EXPECT_EQ(outcome.reviewPageCount, 4);
    EXPECT_EQ(routeOf(preview), "P FF09L / P FF09L RW09L");
    EXPECT_EQ(routeOf(active), before);
    EXPECT_EQ(missed.legCount(), 0u);
    // The missed-approach point goes into the store even for a preview; nothing else does.
    EXPECT_TRUE(pilotPoints.points().empty());
}

TEST_F(ProcedureExpansionTest, ArrivalWithoutApproachEndsAtTheRunwayOrTheAirport) {
    routeThrough({kWaypointT});
    ArrivalExpansion expansion(environment());
    ArrivalSelection star = golfOneIls();
    star.iapSel.clear();
    expansion.build(star, preview, active, missed, pageNames, false);
    EXPECT_EQ(routeOf(preview), "P FF09L / RW09L");
    EXPECT_EQ(preview.legs.back().via, "");

    star.selArrRwy = Runway();
    expansion.build(star, preview, active, missed, pageNames, false);
    EXPECT_EQ(routeOf(preview), "P ZZAA");
}

TEST_F(ProcedureExpansionTest, UnknownArrivalAirportBuildsNothing) {
    ArrivalSelection selection = golfOneIls();
    selection.icao = "ZZZZ";
    const ProcedureExpansionOutcome outcome =
        ArrivalExpansion(environment()).build(selection, preview, active, missed, pageNames, false);
    EXPECT_FALSE(outcome.changePage);
    EXPECT_EQ(preview.legCount(), 0u);
}

} // namespace
} // namespace tavi::test
