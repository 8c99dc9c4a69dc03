#include "cdu/pages/CduPageIds.h"
#include "fms/GlobalFlightPlans.h"
#include "support/ProcedureSession.h"

namespace tavi::test {
namespace {

// Eight more runways at ZZAE, nine in all, for the paging of DEPARTURE RUNWAYS.
constexpr const char* kNineRunways =
    "INSERT INTO Runways (ID, AirportID, Ident, Latitude, Longtitude, Elevation, TrueHeading, "
    "Length, Width) VALUES (101, 6, '01', 47.66, 7.99, 1795, 10, 5000, 75), "
    "(102, 6, '02', 47.66, 7.99, 1795, 20, 5000, 75), (103, 6, '03', 47.66, 7.99, 1795, 30, "
    "5000, 75), (104, 6, '04', 47.66, 7.99, 1795, 40, 5000, 75), (105, 6, '05', 47.66, 7.99, "
    "1795, 50, 5000, 75), (106, 6, '06', 47.66, 7.99, 1795, 60, 5000, 75), (107, 6, '07', "
    "47.66, 7.99, 1795, 70, 5000, 75), (108, 6, '08', 47.66, 7.99, 1795, 80, 5000, 75);";

// The crew at ZZAA picks a departure on DEPARTURE RUNWAYS, SIDS, DEPARTURE TRANS and PROCEDURE,
// reviews it and activates it into the route to ZZAB.
class DeparturePagesTest : public ProcedureSession {
protected:
    explicit DeparturePagesTest(const std::string& navSql = "") : ProcedureSession(navSql) {}

    void openDepartureRunways(const std::string& origin, const std::string& destination) {
        enterRouteEnds(origin, destination);
        openFromNavIndex(1, kL3);
        ASSERT_EQ(fms().currentPage, cdu_page::kDepartureRunways);
    }
    // 09L, SID ALPHA1 and its transition ENRA.
    void chooseAlphaOneEnra() {
        openDepartureRunways("ZZAA", "ZZAB");
        lineKey(kL2);
        lineKey(kL2);
        lineKey(kL2);
        ASSERT_EQ(fms().currentPage, cdu_page::kProcedure);
    }
};

TEST_F(DeparturePagesTest, RunwaySidAndTransitionNarrowEachOtherDownToTheProcedure) {
    openDepartureRunways("ZZAA", "ZZAB");
    screenshot("departure-runways");
    EXPECT_EQ(rows(0, 7),
              (std::vector<std::string>{"   DEPARTURE RUNWAYS 1/1", "", "ZZAA", "",
                                        "?09L                27L?", "", "?09R                27R?",
                                        "                TAKEOFF?"}));
    EXPECT_EQ(cell(4, 1).colour, CduColour::Green);
    EXPECT_TRUE(cell(4, 1).large);
    EXPECT_FALSE(cell(7, 23).large);

    lineKey(kL2);
    ASSERT_EQ(fms().currentPage, cdu_page::kSids);
    screenshot("sids");
    EXPECT_EQ(rows(0, 7), (std::vector<std::string>{"          SIDS       1/1", "", "ZZAA RW09L",
                                                    "", "?ALPHA1           DELT1?", "", "?BRAVO1",
                                                    "               ACTIVATE?"}));
    lineKey(kL2);
    ASSERT_EQ(fms().currentPage, cdu_page::kDepartureTrans);
    screenshot("departure-trans");
    EXPECT_EQ(rows(0, 7),
              (std::vector<std::string>{"    DEPARTURE TRANS  1/1", "", "ZZAA RW09L ALPHA1", "",
                                        "?ENRA", "", "?ENRB", "?REVIEW        ACTIVATE?"}));
    lineKey(kL3);
    ASSERT_EQ(fms().currentPage, cdu_page::kProcedure);
    screenshot("procedure");
    EXPECT_EQ(rows(0, 7),
              (std::vector<std::string>{"       PROCEDURE     1/1", "", "ZZAA RW09L ALPHA1.ENRB",
                                        "", "", "", "", "?REVIEW        ACTIVATE?"}));
    EXPECT_TRUE(activeFlightPlan.legs.empty()) << "choosing changes no plan";
}

TEST_F(DeparturePagesTest, AChoiceWithoutAFurtherListGoesStraightToProcedure) {
    struct Case {
        const char* origin;
        std::vector<int32_t> keys;
        const char* line;
    };
    const Case cases[] = {
        {"ZZAE", {kL2}, "ZZAE RW09"},             // a runway without SIDs
        {"ZZAA", {kL2, kR2}, "ZZAA RW09L DELT1"}, // a SID without transitions
    };
    for (const Case& c : cases) {
        openDepartureRunways(c.origin, "ZZAB");
        for (const int32_t key : c.keys) {
            lineKey(key);
        }
        EXPECT_EQ(fms().currentPage, cdu_page::kProcedure) << c.line;
        EXPECT_EQ(row(2), c.line);
    }
}

TEST_F(DeparturePagesTest, WithoutADepartureAirportThePageIsEmpty) {
    struct Case {
        const char* origin;
        const char* destination;
        const char* header;
        const char* pageNumber;
    };
    const Case cases[] = {
        {"ZZAA", "", "----", "1/1"},     // no destination
        {"ABC", "ZZAB", "----", "1/1"},  // a navaid origin
        {"ZZAD", "ZZAB", "ZZAD", "1/0"}, // an airport without runways in the database
    };
    for (const Case& c : cases) {
        resetGlobalFlightPlans();
        pageKey(Fms::kFplKey);
        enter(c.origin, kL1);
        if (*c.destination != '\0') {
            enter(c.destination, kR2);
        }
        if (fms().currentPage == 5) {
            lineKey(kL1);
        }
        openFromNavIndex(1, kL3);
        EXPECT_EQ(row(2), c.header) << c.origin;
        EXPECT_EQ(row(0).substr(21), c.pageNumber) << c.origin;
        EXPECT_EQ(row(4), "") << c.origin;
        for (const int32_t key : {kL2, kL3, kR2, kR3}) {
            lineKey(key);
            EXPECT_EQ(fms().currentPage, cdu_page::kDepartureRunways) << c.origin;
        }
        // A page count of 0 must not take the sub-page anywhere a list index is read from.
        nextPage();
        previousPage();
        lineKey(kL2);
        EXPECT_EQ(fms().currentPage, cdu_page::kDepartureRunways) << c.origin;
    }
}

TEST_F(DeparturePagesTest, ARunwayOriginListsEveryRunwayOfItsAirport) {
    enterRouteEnds("ZZAA", "ZZAB");
    Runway runway;
    fms().navDatabase().getRunwayInfo(2, runway);
    activeFlightPlan.setOriginRunway(runway, fms().planContext());
    openFromNavIndex(1, kL3);
    EXPECT_EQ(row(2), "ZZAA");
    EXPECT_EQ(fms().departurePage.depRunways.size(), 4u);
}

TEST_F(DeparturePagesTest, ActivateOnSidsTakesTheRunwayAlone) {
    enterRouteEnds("ZZAA", "ZZAB");
    typeThenPress("P", kL2);
    openFromNavIndex(1, kL3);
    lineKey(kL3);
    lineKey(kR4);
    EXPECT_EQ(fms().currentPage, Fms::kActiveFlightPlanPage);
    EXPECT_EQ(activeFlightPlan.org.ident, "RW09R");
    EXPECT_EQ(legIdents(activeFlightPlan), (std::vector<std::string>{"P"}));
}

TEST_F(DeparturePagesTest, ReviewListsThePreviewAndReturnsWhereItWasOpened) {
    chooseAlphaOneEnra();
    lineKey(kL4);
    ASSERT_EQ(fms().currentPage, cdu_page::kSidReview);
    const FlightPlan& preview = fms().departurePage.fpl;
    ASSERT_EQ(legIdents(preview), (std::vector<std::string>{"*ALT01", "P", "Q", "R", "S"}));
    EXPECT_TRUE(activeFlightPlan.legs.empty()) << "a review changes no active plan";
    screenshot("sid-review-1");
    // Header and runway, then three items a sub-page: five legs and the end make 3 sub-pages.
    EXPECT_EQ(rows(0, 7),
              (std::vector<std::string>{"       SID REVIEW    1/3", "                 RETURN?",
                                        "ZZAA RW09L ALPHA1.ENRA", "", "RW09L           ---/1405",
                                        " 090?F 1.1NM", "*ALT01          ---/1900",
                                        "?CLEAR         ACTIVATE?"}));
    EXPECT_TRUE(cell(5, 5).reverse) << "the fly-over mark";
    EXPECT_FALSE(cell(4, 23).large) << "the runway elevation is small";
    EXPECT_TRUE(cell(4, 19).large);
    nextPage();
    screenshot("sid-review-2");
    EXPECT_EQ(rows(1, 6), (std::vector<std::string>{"L031? 35.2NM", "P              ---/-----",
                                                    " 053? 10.1NM", "Q              ---/-----",
                                                    " 053? 10.1NM", "R              ---/10000"}));
    EXPECT_TRUE(cell(1, 0).reverse) << "the turn direction";
    lineKey(kR1);
    EXPECT_EQ(fms().currentPage, cdu_page::kSidReview) << "RETURN acts on sub-page 1 only";
    nextPage();
    EXPECT_EQ(rows(1, 4), (std::vector<std::string>{" 053? 10.1NM", "S              ---/-----", "",
                                                    "END OF PROCEDURE"}));
    nextPage();
    EXPECT_EQ(fms().departurePage.reviewSubPage, 1);
    previousPage();
    EXPECT_EQ(fms().departurePage.reviewSubPage, 3);
    nextPage();
    lineKey(kR1);
    EXPECT_EQ(fms().currentPage, cdu_page::kProcedure);

    openFromNavIndex(1, kL3);
    lineKey(kL2);
    lineKey(kL2);
    lineKey(kL4);
    ASSERT_EQ(fms().currentPage, cdu_page::kSidReview);
    EXPECT_EQ(row(2), "ZZAA RW09L ALPHA1");
    lineKey(kR1);
    EXPECT_EQ(fms().currentPage, cdu_page::kDepartureTrans);
}

TEST_F(DeparturePagesTest, ClearOnReviewStartsAgainAndActivateBuildsTheRoute) {
    enterRouteEnds("ZZAA", "ZZAB");
    typeThenPress("S", kL2);
    openFromNavIndex(1, kL3);
    lineKey(kL2);
    lineKey(kL2);
    lineKey(kL2);
    lineKey(kL4);
    lineKey(kL4);
    EXPECT_EQ(fms().currentPage, cdu_page::kDepartureRunways);
    EXPECT_TRUE(fms().departurePage.sid.empty());
    EXPECT_TRUE(fms().departurePage.fpl.legs.empty());

    lineKey(kL2);
    lineKey(kL2);
    lineKey(kL2);
    lineKey(kL4);
    lineKey(kR4);
    ASSERT_EQ(fms().currentPage, Fms::kActiveFlightPlanPage);
    EXPECT_EQ(activeFlightPlan.org.ident, "RW09L");
    EXPECT_EQ(legIdents(activeFlightPlan), (std::vector<std::string>{"*ALT01", "P", "Q", "R", "S"}))
        << "the SID ends at the route's first fix";
    for (std::size_t i = 0; i < activeFlightPlan.legCount(); ++i) {
        EXPECT_EQ(activeFlightPlan.legs[i].via, "ALPHA1.ENRA") << i;
    }
    EXPECT_NE(fms().pilotPoints().find("*ALT01"), nullptr)
        << "an activated SID's points are real pilot points";
}

// With a departure runway as the origin and the performance initialised, RW POS on ACTIVE FLT
// PLAN shows POSITION INIT with that runway as the reference, ready to load it.
TEST_F(DeparturePagesTest, RwPosOffersTheDepartureRunwayAsTheReference) {
    enterRouteEnds("ZZAA", "ZZAB");
    typeThenPress("S", kL2);
    typeThenPress("ZZAB", kL3);
    openFromNavIndex(1, kL3);
    for (const int32_t key : {kL2, kR4}) {
        lineKey(key);
    }
    ASSERT_EQ(activeFlightPlan.org.kind, WaypointKind::Runway);
    enterPerformance();
    PerfInit& perf = fms().perfInit;
    // What CONFIRM INIT runs.
    fms().updateFuelPredictions();
    ASSERT_TRUE(perf.initialised);
    EXPECT_EQ(row(7).substr(17), "RW POS?");
    fms().posInitPage.setPosInitRef(Waypoint());
    lineKey(kR4);
    ASSERT_EQ(fms().currentPage, cdu_page::kPositionInit);
    EXPECT_EQ(fms().posInitPage.reference().ident, "RW09L");
    EXPECT_TRUE(row(3).starts_with("RW09L REF WPT"));
    screenshot("position-init-runway");
    lineKey(kR2);
    EXPECT_EQ(fms().position.loadedFrom, 1) << "loaded from the reference";
    EXPECT_NEAR(fms().position.latitude, activeFlightPlan.org.latitude, 1e-6);
    EXPECT_NEAR(fms().position.longitude, activeFlightPlan.org.longitude, 1e-6);
}

TEST_F(DeparturePagesTest, RunwayKeysReachTakeoff) {
    openDepartureRunways("ZZAA", "ZZAB");
    lineKey(kR4);
    EXPECT_EQ(fms().currentPage, cdu_page::kTakeoff);
}

class ManyRunwaysTest : public DeparturePagesTest {
protected:
    ManyRunwaysTest() : DeparturePagesTest(kNineRunways) {}
};

TEST_F(ManyRunwaysTest, NineRunwaysMakeThreeSubPages) {
    openDepartureRunways("ZZAE", "ZZAB");
    EXPECT_EQ(row(0).substr(21), "1/3");
    EXPECT_EQ(row(4), "?01                  03?");
    nextPage();
    nextPage();
    EXPECT_EQ(row(0).substr(21), "3/3");
    EXPECT_EQ(rows(4, 6), (std::vector<std::string>{"?09", "", ""}));
    for (const int32_t key : {kL3, kR2, kR3}) {
        lineKey(key);
        EXPECT_EQ(fms().currentPage, cdu_page::kDepartureRunways) << key;
    }
    nextPage();
    EXPECT_EQ(row(0).substr(21), "1/3");
    previousPage();
    EXPECT_EQ(row(0).substr(21), "3/3");
    lineKey(kL2);
    EXPECT_EQ(fms().currentPage, cdu_page::kProcedure);
    EXPECT_EQ(row(2), "ZZAE RW09");
}

// A damaged leg of ALPHA1 from 09L with its transition ENRA in the database.
struct DamagedDeparture {
    const char* damage;
    const char* sql;
};

std::ostream& operator<<(std::ostream& out, const DamagedDeparture& c) {
    return out << c.damage;
}

class DamagedDepartureTest : public DeparturePagesTest,
                             public testing::WithParamInterface<DamagedDeparture> {
protected:
    DamagedDepartureTest() : DeparturePagesTest(GetParam().sql) {}
};

// The crew reviews and activates a departure the database cannot give whole: the CDU says so,
// and neither the preview nor the route takes a leg of it, nor a point at 0N 0E.
TEST_P(DamagedDepartureTest, IsRefusedWithAMessageAndChangesNoPlan) {
    enterRouteEnds("ZZAA", "ZZAB");
    typeThenPress("S", kL2);
    const std::vector<std::string> route = legIdents(activeFlightPlan);
    openFromNavIndex(1, kL3);
    lineKey(kL2);
    lineKey(kL2);
    lineKey(kL2);
    ASSERT_EQ(fms().currentPage, cdu_page::kProcedure);

    lineKey(kL4);
    EXPECT_EQ(message(), "NOT IN DATA BASE");
    EXPECT_EQ(fms().currentPage, cdu_page::kProcedure);
    EXPECT_TRUE(fms().departurePage.fpl.legs.empty());
    press(kBackspaceKey);
    module.simulator.step();
    EXPECT_EQ(message(), "");

    lineKey(kR4);
    EXPECT_EQ(message(), "NOT IN DATA BASE");
    EXPECT_EQ(legIdents(activeFlightPlan), route);
    EXPECT_EQ(activeFlightPlan.org.ident, "ZZAA");
    EXPECT_EQ(fms().pilotPoints().find("*ALT01"), nullptr);
}

INSTANTIATE_TEST_SUITE_P(
    Damages, DamagedDepartureTest,
    testing::Values(DamagedDeparture{"an unknown path code",
                                     "UPDATE TerminalLegs SET TrackCode = 'XF' WHERE ID = 3;"},
                    DamagedDeparture{
                        "a fix leg without its fix",
                        "UPDATE TerminalLegs SET WptID = NULL, WptLat = NULL, WptLon = NULL "
                        "WHERE ID = 4;"},
                    DamagedDeparture{"a transition fix not in the database",
                                     "UPDATE TerminalLegs SET WptID = 99 WHERE ID = 7;"},
                    DamagedDeparture{"a fix whose position is not a number",
                                     "UPDATE Waypoints SET Latitude = 'nan' WHERE ID = 2;"},
                    DamagedDeparture{"a fix off the earth",
                                     "UPDATE Waypoints SET Longtitude = 512.0 WHERE ID = 3;"}));

} // namespace
} // namespace tavi::test
