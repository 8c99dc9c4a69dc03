#include "cdu/pages/CduPageIds.h"
#include "fms/GlobalFlightPlans.h"
#include "support/ProcedureSession.h"

namespace tavi::test {
namespace {

constexpr int32_t kNext = Fms::kNextKey;

// HOTL1 serves runway 09R alone.
constexpr const char* kOneRunwayStar =
    "INSERT INTO Terminals (ID, AirportID, ICAO, Proc, Name, FullName, Rwy, RwyID) VALUES "
    "(16, 1, 'ZZAA', 1, 'HOTL1', 'HOTEL ONE', '09R', 3);"
    "INSERT INTO TerminalLegs (ID, TerminalID, Type, Transition, TrackCode, WptID, WptLat, WptLon)"
    " VALUES (41, 16, '2', NULL, 'TF', 1, 47.5, 8.5);";

// The crew flying from ZZAB to ZZAA selects the arrival on ARRIVAL and its lists, reviews it
// and activates it.
class ArrivalPagesTest : public ProcedureSession {
protected:
    ArrivalPagesTest() : ProcedureSession(kOneRunwayStar) {}

    void openArrival() {
        enterRouteEnds("ZZAB", "ZZAA");
        openFromNavIndex(1, kR3);
        ASSERT_EQ(fms().currentPage, cdu_page::kArrival);
    }
    // ILS 09L over its transition P, and STAR GOLF1.
    void selectIlsAndGolfOne() {
        lineKey(kL2);
        lineKey(kL1);
        lineKey(kL1);
        ASSERT_EQ(fms().currentPage, cdu_page::kStar);
        lineKey(kR1);
        ASSERT_EQ(fms().currentPage, cdu_page::kArrival);
    }
    const ArrivalPage& record() { return fms().arrivalPage; }
};

TEST_F(ArrivalPagesTest, TheListsSelectRunwayApproachAndStarWithTheirMarkers) {
    openArrival();
    screenshot("arrival-empty");
    EXPECT_EQ(rows(0, 7),
              (std::vector<std::string>{"        ARRIVAL      1/1", "?RUNWAY         AIRPORT",
                                        "                    ZZAA", "?APPROACH", "", "?STAR", "",
                                        "                LANDING?"}));
    lineKey(kL1);
    ASSERT_EQ(fms().currentPage, cdu_page::kArrivalRunway);
    screenshot("arrival-runway");
    EXPECT_EQ(rows(0, 7),
              (std::vector<std::string>{"      ZZAA RUNWAY    1/1", "", "?09L                27R?",
                                        "", "?09R", "", "?27L", "?APPROACH       ARRIVAL?"}));
    EXPECT_FALSE(cell(2, 1).large) << "list items are small";
    lineKey(kL1);
    ASSERT_EQ(fms().currentPage, cdu_page::kApproach) << "a runway leads on to the approaches";
    screenshot("approach");
    EXPECT_EQ(rows(0, 7),
              (std::vector<std::string>{"     ZZAA APPROACH   1/1", "?I09L              VORA?",
                                        " 09L                27L", "?NDBB", " 27R", "?R27R", " 27R",
                                        "                ARRIVAL?"}));
    lineKey(kL1);
    ASSERT_EQ(fms().currentPage, cdu_page::kApproachTrans);
    screenshot("approach-trans");
    EXPECT_EQ(rows(0, 7), (std::vector<std::string>{"  ZZAA APPROACH TRANS1/1", "", "?P", "", "",
                                                    "", "", "?STAR           ARRIVAL?"}));
    lineKey(kL1);
    ASSERT_EQ(fms().currentPage, cdu_page::kStar);
    screenshot("star");
    EXPECT_EQ(rows(0, 7), (std::vector<std::string>{
                              "       ZZAA STAR     1/2", "", "?ECHO1            GOLF1?", "",
                              "?FOX1             GOLF1?", "", "", "                ARRIVAL?"}));
    lineKey(kL1);
    ASSERT_EQ(fms().currentPage, cdu_page::kStarTrans);
    EXPECT_EQ(message(), "CHANGE ACTIVE FPLN") << "ECHO1 serves neither 09L nor 09R";
    screenshot("star-trans");
    EXPECT_EQ(rows(0, 7), (std::vector<std::string>{"    ZZAA STAR TRANS  1/1", "", "?TRA", "", "",
                                                    "", "", "?RUNWAY         ARRIVAL?"}));
    lineKey(kL1);
    ASSERT_EQ(fms().currentPage, cdu_page::kArrival);
    screenshot("arrival-selected");
    EXPECT_EQ(rows(1, 7), (std::vector<std::string>{
                              "?RUNWAY         AIRPORT", " RW09L              ZZAA", "?APPROACH",
                              " P.I09L", "?STAR", " TRA.ECHO1", "?REVIEW        ACTIVATE?"}));
    lineKey(kL3);
    EXPECT_EQ(row(2), "?ECHO1 (SEL)      GOLF1?");
    EXPECT_EQ(cell(2, 7).colour, CduColour::White);
    EXPECT_TRUE(cell(2, 7).large) << "the marker is large";
}

TEST_F(ArrivalPagesTest, MarkersPlaceOneBlankBesideTheItemAndActWinsOverSel) {
    openArrival();
    lineKey(kL1);
    lineKey(kR1);
    lineKey(kR4);
    lineKey(kR4);
    ASSERT_EQ(fms().currentPage, Fms::kActiveFlightPlanPage);
    EXPECT_EQ(record().arrRwy.ident, "RW27R");
    openFromNavIndex(1, kR3);
    lineKey(kL1);
    EXPECT_EQ(row(2), "?09L          (ACT) 27R?") << "right side: ends one blank before";
    lineKey(kL1);
    fms().setPage(cdu_page::kArrivalRunway, 1);
    EXPECT_EQ(row(2), "?09L (SEL)    (ACT) 27R?");
    lineKey(kR1);
    fms().setPage(cdu_page::kArrivalRunway, 1);
    EXPECT_EQ(row(2), "?09L          (ACT) 27R?") << "(ACT) first when both";
}

TEST_F(ArrivalPagesTest, TheSameAirportKeepsTheSelectionAndANewOneDropsIt) {
    openArrival();
    selectIlsAndGolfOne();
    openFromNavIndex(1, kR3);
    EXPECT_EQ(record().iapSel, "I09L");
    EXPECT_EQ(record().starSel, "GOLF1");
    pageKey(Fms::kFplKey);
    typeThenPress("ZZAB", kR2);
    openFromNavIndex(1, kR3);
    EXPECT_EQ(record().icao, "ZZAB");
    EXPECT_TRUE(record().iapSel.empty());
    EXPECT_TRUE(record().starSel.empty());
    EXPECT_TRUE(record().selArrRwy.ident.empty());
}

TEST_F(ArrivalPagesTest, DeleteClearsOneSelectionAndWhatDependsOnIt) {
    struct Case {
        int32_t key;
        bool runwayKept;
        bool approachKept;
        bool starKept;
    };
    const Case cases[] = {
        {kL1, false, false, true}, // the approach goes with its runway
        {kL2, true, false, true},
        {kL3, true, true, false},
    };
    for (const Case& c : cases) {
        resetGlobalFlightPlans();
        fms().arrivalPage.reset(fms().planContext());
        openArrival();
        selectIlsAndGolfOne();
        deleteWith(c.key);
        EXPECT_EQ(!record().selArrRwy.ident.empty(), c.runwayKept) << c.key;
        EXPECT_EQ(!record().iapSel.empty(), c.approachKept) << c.key;
        EXPECT_EQ(!record().iapTransitionSel.empty(), c.approachKept) << c.key;
        EXPECT_EQ(!record().starSel.empty(), c.starKept) << c.key;
        EXPECT_EQ(fms().scratchPad.text(), "") << c.key;
        EXPECT_EQ(fms().currentPage, cdu_page::kArrival) << c.key;
    }
}

TEST_F(ArrivalPagesTest, WithoutAnAirportDestinationThereIsNothingToSelect) {
    enterRouteEnds("ZZAB", "ABC");
    if (fms().currentPage == 5) {
        lineKey(kL1);
    }
    openFromNavIndex(1, kR3);
    EXPECT_EQ(rows(2, 7),
              (std::vector<std::string>{"                    ----", " APPROACH", " <<NONE>>",
                                        " STAR", " <<NONE>>", "                LANDING?"}));
    for (const int32_t key : {kL2, kL3, kL4}) {
        lineKey(key);
        EXPECT_EQ(fms().currentPage, cdu_page::kArrival) << key;
    }
    lineKey(kR4);
    EXPECT_EQ(fms().currentPage, cdu_page::kLanding);

    // An airport without runways in the database: RUNWAY reads 1/0 and picks nothing.
    pageKey(Fms::kFplKey);
    typeThenPress("ZZAD", kR2);
    openFromNavIndex(1, kR3);
    lineKey(kL1);
    EXPECT_EQ(row(0).substr(21), "1/0");
    nextPage();
    previousPage();
    lineKey(kL1);
    EXPECT_EQ(fms().currentPage, cdu_page::kArrivalRunway);
}

TEST_F(ArrivalPagesTest, SelectionsThatServeAnotherRunwayWarnAndStay) {
    struct Case {
        const char* name;
        std::vector<int32_t> keys;
        const char* runway;
        const char* message;
    };
    // From ARRIVAL: L1 the runway list, L2 the approaches, L3 the STARs.
    const Case cases[] = {
        {"approach sets its runway", {kL2, kL1}, "RW09L", ""},
        {"another runway keeps the approach",
         {kL2, kL1, kR4, kL1, kR1},
         "RW27R",
         "CHANGE ACTIVE FPLN"},
        {"a one-runway STAR sets it", {kL3, kNext, kL1}, "RW09R", ""},
        {"a STAR of other runways", {kL1, kL1, kR4, kL3, kL1}, "RW09L", "CHANGE ACTIVE FPLN"},
    };
    for (const Case& c : cases) {
        resetGlobalFlightPlans();
        fms().arrivalPage.reset(fms().planContext());
        fms().messages.clear();
        openArrival();
        for (const int32_t key : c.keys) {
            if (key == kNext) {
                nextPage();
            } else {
                lineKey(key);
            }
        }
        EXPECT_EQ(record().selArrRwy.ident, c.runway) << c.name;
        EXPECT_EQ(message(), c.message) << c.name;
    }
}

TEST_F(ArrivalPagesTest, ReviewListsTheArrivalAndClearDropsOnlyTheSelection) {
    openArrival();
    selectIlsAndGolfOne();
    lineKey(kL4);
    ASSERT_EQ(fms().currentPage, cdu_page::kArrivalReview);
    const FlightPlan& preview = record().fpl;
    EXPECT_TRUE(activeFlightPlan.legs.empty()) << "a review changes no active plan";
    screenshot("arrival-review-1");
    EXPECT_EQ(rows(0, 7),
              (std::vector<std::string>{"     ARRIVAL REVIEW  1/3", "  GOLF1          RETURN?",
                                        "  P.I09L      RW09L ZZAA", "", "P              ---/-----",
                                        " 222? 40.0NM", "FF09L          ---/-----",
                                        "?CLEAR         ACTIVATE?"}));
    const auto items = static_cast<int32_t>(preview.legCount()) + 2;
    EXPECT_EQ(record().reviewPageCount, (items + 2) / 3) << "no sub-page is left empty";
    nextPage();
    screenshot("arrival-review-2");
    EXPECT_EQ(rows(1, 4), (std::vector<std::string>{" VIA.TO", "-----", " >>DISCONTINUITY<<",
                                                    "P               ---/5000"}));
    lineKey(kR1);
    EXPECT_EQ(fms().currentPage, cdu_page::kArrivalReview) << "RETURN acts on sub-page 1 only";
    previousPage();
    lineKey(kR1);
    EXPECT_EQ(fms().currentPage, cdu_page::kArrival);

    lineKey(kR4);
    ASSERT_EQ(fms().currentPage, Fms::kActiveFlightPlanPage);
    EXPECT_EQ(record().iap, "I09L");
    EXPECT_EQ(record().star, "GOLF1");
    EXPECT_EQ(activeFlightPlan.destRwy.ident, "RW09L");
    EXPECT_EQ(activeFlightPlan.destIls.ident, "IAAL");
    EXPECT_EQ(activeFlightPlan.legs.back().wpt.ident, "RW09L");
    EXPECT_FALSE(missedApproachFlightPlan.legs.empty()) << "the go-around has its legs";

    openFromNavIndex(1, kR3);
    lineKey(kL4);
    lineKey(kL4);
    EXPECT_EQ(fms().currentPage, cdu_page::kArrival);
    EXPECT_TRUE(record().iapSel.empty());
    EXPECT_TRUE(record().selArrRwy.ident.empty());
    EXPECT_EQ(record().iap, "I09L") << "the active choice stays";
    EXPECT_EQ(row(7), "                LANDING?");
}

// The leg items of a review, drawn from a preview plan made for each rule.
TEST_F(ArrivalPagesTest, ReviewLegItemsFollowTheirRules) {
    openArrival();
    selectIlsAndGolfOne();
    lineKey(kL4);
    FlightPlan& preview = fms().arrivalPage.fpl;
    FlightPlanLeg fix = preview.legs[1];
    fix.vnav = LegConstraints();
    FlightPlanLeg manual = fix;
    manual.trmLeg.legType = TerminalLegType::VM;
    manual.trmLeg.course = 90.0f;
    FlightPlanLeg held = fix;
    held.holding.active = 1;
    FlightPlanLeg above = fix;
    above.vnav.hasAltitude = true;
    above.vnav.kind = kAltitudeAtOrAbove;
    above.vnav.altitude = 5000;
    FlightPlanLeg angled = above;
    angled.vnav.pathAngle = 3.0f;
    angled.vnav.pathAngleEntered = true;
    preview.legs = {fix, manual, held, above, angled};
    fms().arrivalPage.reviewSubPage = 1;
    fms().arrivalPage.reviewPageCount = 3;
    EXPECT_EQ(row(4), "FF09L          ---/-----");
    EXPECT_EQ(rows(5, 6), (std::vector<std::string>{"FLY 090? OR", "AS ASSIGNED"}));
    nextPage();
    EXPECT_EQ(row(1), " >>DISCONTINUITY<<") << "after a manually ended leg";
    EXPECT_EQ(row(2), "FF09LH         ---/-----");
    EXPECT_TRUE(cell(2, 5).reverse);
    EXPECT_EQ(row(4), "FF09L          ---/5000A");
    EXPECT_EQ(row(6), "FF09L         3.0?/5000A");
}

} // namespace
} // namespace tavi::test
