#include "cdu/pages/CduPageIds.h"
#include "cdu/pages/SimulatorPlanImport.h"
#include "navdata/GcNav.h"
#include "support/CduPlanSession.h"
#include "support/PredictionRoute.h"

#include <algorithm>

namespace tavi::test {
namespace {

class ActiveFlightPlanPageTest : public CduPlanSession {
protected:
    explicit ActiveFlightPlanPageTest(const std::string& navSql = "") : CduPlanSession(navSql) {
        fms().setPage(Fms::kActiveFlightPlanPage, 1);
    }

    // ZZAA to ZZAD over P, Q, R and S.
    void buildRoute() {
        enter("ZZAA", kL1);
        enter("ZZAD", kR2);
        enter("P", kL2);
        enter("ZZAD", kL3);
        enter("A1.S", kL3);
        ASSERT_EQ(legIdents(activeFlightPlan),
                  (std::vector<std::string>{"P", "Q", "R", "S", "(DISC)", "ZZAD"}));
        fms().activeFplPage.subPage = 2;
        enter("*DELETE*", kL3);
        fms().activeFplPage.subPage = 1;
        fms().messages.clear();
    }
    // The candidate at that latitude, chosen on WAYPOINTS SELECT.
    void chooseCandidateAt(double latitude) {
        ASSERT_EQ(fms().currentPage, cdu_page::kWaypointsSelect);
        const std::vector<Waypoint>& candidates = fms().wptSelectPage.candidates;
        const auto found = std::find_if(candidates.begin(), candidates.end(),
                                        [&](const Waypoint& w) { return w.latitude == latitude; });
        ASSERT_NE(found, candidates.end());
        const auto index = static_cast<int32_t>(found - candidates.begin());
        for (int32_t page = 0; page < index / 3; ++page) {
            fms().pressKey(Fms::kNextKey);
        }
        fms().pressKey(index % 3);
    }
};

TEST_F(ActiveFlightPlanPageTest, WithoutBothEndsItIsTheStartPage) {
    enter("ZZAA", kL1);
    EXPECT_EQ(activeFlightPlan.org.ident, "ZZAA");
    const std::vector<std::string> expected = {
        "   ACTIVE FLT PLAN   1/1",
        " ORIGIN",
        "ZZAA",
        "?LOAD FS FPL       DEST",
        "                   -----",
        " RECALL OR CREATE",
        "    FPL NAMED ----------",
        "?FPL LIST     PERF INIT?",
    };
    for (int32_t r = 0; r < 8; ++r) {
        EXPECT_EQ(row(r), expected[static_cast<std::size_t>(r)]) << r;
    }
    EXPECT_EQ(cell(2, 0).colour, CduColour::Yellow);
    EXPECT_TRUE(cell(2, 0).large);
    EXPECT_EQ(cell(4, 23).colour, CduColour::Green);
    EXPECT_EQ(cell(6, 14).colour, CduColour::Amber);
    EXPECT_FALSE(cell(1, 1).large);
    screenshot("ActiveFltPlanStart");
}

TEST_F(ActiveFlightPlanPageTest, ARouteTypedLineByLine) {
    buildRoute();
    EXPECT_EQ(legIdents(activeFlightPlan), (std::vector<std::string>{"P", "Q", "R", "S", "ZZAD"}));
    enter("/FL240A", kR3);
    const LegConstraints& atQ = activeFlightPlan.legs[1].vnav;
    EXPECT_EQ(atQ.altitude, 24000);
    EXPECT_EQ(atQ.kind, kAltitudeAtOrAbove);
    EXPECT_TRUE(atQ.hasAltitude);
    EXPECT_EQ(fms().scratchPad.text(), "");
    EXPECT_EQ(row(0), "   ACTIVE FLT PLAN   1/3");
    EXPECT_EQ(row(1), " ORIGIN         SPD CMD");
    EXPECT_EQ(row(2), "ZZAA           ---/-----");
    EXPECT_EQ(row(4).substr(0, 1), "P");
    EXPECT_EQ(cell(4, 0).colour, CduColour::Magenta) << "the active waypoint";
    EXPECT_EQ(cell(6, 0).colour, CduColour::Green);
    EXPECT_EQ(row(6).substr(0, 1), "Q");
    EXPECT_EQ(row(6).substr(18), "FL240A");
    EXPECT_EQ(cell(6, 23).colour, CduColour::Cyan);
    EXPECT_TRUE(cell(6, 23).large) << "an entered altitude";
    EXPECT_EQ(row(7), "?DEPARTURE    PERF INIT?");
    screenshot("ActiveFltPlan");
    fms().pressKey(Fms::kNextKey);
    fms().pressKey(Fms::kNextKey);
    EXPECT_EQ(row(0), "   ACTIVE FLT PLAN   3/3");
    EXPECT_EQ(row(1), "                   DEST");
    EXPECT_EQ(row(2), "                    ZZAD");
    fms().pressKey(Fms::kNextKey);
    EXPECT_EQ(fms().activeFplPage.subPage, 1) << "NEXT wraps";
    fms().pressKey(Fms::kPrevKey);
    EXPECT_EQ(fms().activeFplPage.subPage, 3) << "PREV wraps";
    activeFlightPlan.deleteLeg(0, fms().planContext());
    activeFlightPlan.deleteLeg(0, fms().planContext());
    EXPECT_EQ(row(0), "   ACTIVE FLT PLAN   2/2")
        << "a plan shrunk below the sub-page shown shows its last sub-page";
    EXPECT_EQ(row(2).substr(0, 4), "ZZAD");
    EXPECT_EQ(row(3), "                   DEST");
    EXPECT_EQ(row(7), "?DEPARTURE    PERF INIT?");
}

TEST_F(ActiveFlightPlanPageTest, TheSpeedCommandShowsWhatVnavCommands) {
    buildRoute();
    enterPerformance();
    PerfInit& perf = fms().perfInit;
    // As the confirm key of PERFORMANCE INIT does.
    perf.initialised = true;
    // No departure speed: on the ground at the origin it would command DEP SPEED.
    perf.depDist = 0.0;
    enter("/FL240A", kR3);
    module.simulator.step();
    module.simulator.step();
    const VnavState& vnav = fms().vnav().state;
    ASSERT_TRUE(vnav.valid);
    ASSERT_GT(vnav.speedCommandIas, 0);
    ASSERT_EQ(vnav.speedCommandIas, 240) << "below the speed-limit altitude";
    ASSERT_DOUBLE_EQ(vnav.speedCommandMach, 0.56);
    // Low down the speed is the limiting one of the two and is drawn large.
    EXPECT_EQ(row(2), "ZZAA            240/.56M");
    EXPECT_EQ(cell(2, 23).colour, CduColour::Cyan);
    EXPECT_FALSE(cell(2, 23).large);
    EXPECT_TRUE(cell(2, 16).large);
    EXPECT_TRUE(cell(2, 19).large);
}

// The predictions run as soon as a constraint changes; for two seconds after a run the values
// predicted on the legs show as hyphens, those the pilot entered as they are.
TEST_F(ActiveFlightPlanPageTest, AConstraintEditRunsThePredictionsFreshOnesShowAsHyphens) {
    buildRoute();
    enterPerformance();
    PerfInit& perf = fms().perfInit;
    for (int frame = 0; frame < 40; ++frame) {
        module.simulator.step();
    }
    fms().setPage(Fms::kActiveFlightPlanPage, 1);
    const uint32_t before = perf.predictionTime;
    enter("/FL240A", kR3);
    EXPECT_EQ(perf.predictionTime, fms().planContext().simTimeMs()) << "run by the key itself";
    EXPECT_GT(perf.predictionTime, before);
    EXPECT_TRUE(perf.initialised) << "a complete initialisation predicts the new route";
    // A leg whose altitude and speed only the predictions give.
    const auto predictOnP = [this] {
        LegConstraints& p = activeFlightPlan.legs[0].vnav;
        p.kind = kAltitudeAtOrAbove;
        p.altitude = 9000;
        p.speed = 250;
        p.phase = kPhaseClimb;
        p.hasAltitude = false;
        p.hasSpeed = false;
    };
    predictOnP();
    EXPECT_EQ(row(4).substr(15), "---/-----");
    EXPECT_TRUE(cell(4, 23).large);
    EXPECT_TRUE(cell(4, 15).large);
    EXPECT_EQ(row(6).substr(18), "FL240A") << "an entered altitude stays";
    screenshot("ActiveFltPlanFresh");
    enter("*DELETE*", kR2);
    EXPECT_EQ(fms().scratchPad.text(), "");
    EXPECT_EQ(perf.predictionTime, fms().planContext().simTimeMs()) << "a deletion runs them";

    for (int frame = 0; frame < 40; ++frame) {
        module.simulator.step();
    }
    ASSERT_GE(fms().planContext().simTimeMs() - perf.predictionTime, 2000u);
    predictOnP();
    EXPECT_EQ(row(4).substr(15), "250/9000A");
    EXPECT_FALSE(cell(4, 23).large) << "a predicted altitude is small";
    EXPECT_FALSE(cell(4, 15).large);
    EXPECT_TRUE(cell(4, 18).large) << "the slash";
    screenshot("ActiveFltPlanPredicted");
}

TEST_F(ActiveFlightPlanPageTest, TemporaryPointsAreNamedAndInserted) {
    buildRoute();
    enter("P/090/10", kL3);
    EXPECT_EQ(legIdents(activeFlightPlan),
              (std::vector<std::string>{"P", "*PBD01", "Q", "R", "S", "ZZAD"}));
    enter("N4700.0E00800.0", kL3);
    EXPECT_EQ(activeFlightPlan.legs[1].wpt.ident, "*LL01");
    enter("N4710.0E00810.0", kL3);
    EXPECT_EQ(activeFlightPlan.legs[1].wpt.ident, "*LL03");
    fms().activeFplPage.subPage = 2;
    enter("Q/-5", kL3);
    EXPECT_EQ(
        legIdents(activeFlightPlan),
        (std::vector<std::string>{"P", "*LL03", "*LL01", "*PBD01", "*PD01", "Q", "R", "S", "ZZAD"}))
        << "5 nm before Q, on the line pressed";
    EXPECT_EQ(fms().pilotPoints().find("*PBD01")->ppType, PilotPointType::PlaceBearingDistance);
    EXPECT_FALSE(std::filesystem::exists(customFolder() / "*PBD01.ri2v.wpt"))
        << "temporary points have no file";
}

TEST_F(ActiveFlightPlanPageTest, RefusedEntriesChangeNothing) {
    buildRoute();
    const struct {
        const char* entry;
        int32_t key;
        const char* message;
    } cases[] = {
        {"ABCDEFG", kL2, "INVALID ENTRY"},
        {"A1.XX", kL3, "WAYPOINT NOT FOUND"},
        {"FL240X", kR3, "INVALID ENTRY"},
        {"ZZAB", kR1, "INVALID ENTRY"},
        {"ZZPO/090/10", kL3, "BRG/CRS MUST BE IN TRUE"},
        {"XYZQ/090/10", kL3, "WAYPOINT NOT FOUND"},
        {"Q/0", kL3, "INVALID ENTRY"},
        {"P/5", kL3, "INVALID ENTRY"},
    };
    const std::vector<std::string> before = legIdents(activeFlightPlan);
    for (const auto& c : cases) {
        enter(c.entry, c.key);
        EXPECT_EQ(message(), c.message) << c.entry;
        EXPECT_EQ(fms().scratchPad.text(), c.entry) << c.entry;
        EXPECT_EQ(legIdents(activeFlightPlan), before) << c.entry;
        EXPECT_EQ(fms().currentPage, Fms::kActiveFlightPlanPage) << c.entry;
    }
}

// Fixes whose positions in the database are not numbers, or not on the earth.
class DamagedFixEntryTest : public ActiveFlightPlanPageTest {
protected:
    DamagedFixEntryTest()
        : ActiveFlightPlanPageTest("UPDATE Waypoints SET Latitude = 'nan' WHERE ID = 5;"
                                   "UPDATE Waypoints SET Longtitude = 1e999 WHERE ID = 11;"
                                   "UPDATE Waypoints SET Latitude = 95.0 WHERE ID = 9;"
                                   "UPDATE Waypoints SET Longtitude = 'x' WHERE ID = 6;") {}
};

// A fix the database holds at no place on the earth is a fix it does not hold: the crew is
// offered to define it, and the route takes no point of it.
TEST_F(DamagedFixEntryTest, IsTreatedAsNotInTheDatabase) {
    buildRoute();
    const std::vector<std::string> before = legIdents(activeFlightPlan);
    for (const char* ident : {"ABCDE", "K2", "T"}) {
        fms().setPage(Fms::kActiveFlightPlanPage, 1);
        enter(ident, kL3);
        EXPECT_EQ(fms().currentPage, 6) << ident << ": PILOT WAYPOINT";
        EXPECT_EQ(legIdents(activeFlightPlan), before) << ident;
    }
    fms().setPage(Fms::kActiveFlightPlanPage, 1);
    enter("TWIN", kL3);
    EXPECT_EQ(fms().currentPage, Fms::kActiveFlightPlanPage) << "one TWIN is left to choose";
    for (const FlightPlanLeg& leg : activeFlightPlan.legs) {
        if (leg.wpt.ident == "TWIN") {
            EXPECT_EQ(leg.wpt.latitude, 48.0);
        }
    }
    EXPECT_EQ(activeFlightPlan.legCount(), before.size() + 1);
}

TEST_F(ActiveFlightPlanPageTest, UnknownAndAmbiguousIdentsOpenTheirPages) {
    buildRoute();
    enter("NOWPT", kL3);
    EXPECT_EQ(fms().currentPage, 6) << "PILOT WAYPOINT";
    EXPECT_EQ(fms().pilotWptPage.point.ident, "NOWPT");
    EXPECT_EQ(fms().pilotWptPage.returnPage, Fms::kActiveFlightPlanPage);
    fms().setPage(Fms::kActiveFlightPlanPage, 1);
    enter("TWIN", kL3);
    EXPECT_EQ(fms().currentPage, 5) << "WAYPOINTS SELECT";
    EXPECT_EQ(fms().wptSelectPage.candidates.size(), 2u);
    EXPECT_EQ(fms().wptSelectPage.targetPage, Fms::kActiveFlightPlanPage);
}

TEST_F(ActiveFlightPlanPageTest, DirectToAndANewOrigin) {
    buildRoute();
    fms().pressKey(Fms::kDirKey);
    EXPECT_TRUE(fms().activeFplPage.dirMode);
    EXPECT_EQ(row(1).substr(0, 12), "----- DIRECT");
    EXPECT_TRUE(cell(1, 6).reverse);
    EXPECT_EQ(row(7).substr(0, 8), "?PATTERN");
    enter("R", kL3);
    EXPECT_FALSE(fms().activeFplPage.dirMode);
    EXPECT_EQ(activeFlightPlan.legs[activeFlightPlan.activeLeg].wpt.ident, "R");
    EXPECT_EQ(fms().scratchPad.text(), "");
    enter("ZZAB", kL1);
    EXPECT_EQ(activeFlightPlan.org.ident, "ZZAB") << "an entry on the FROM line starts anew";
    EXPECT_EQ(activeFlightPlan.dest.kind, WaypointKind::Plain);
    EXPECT_TRUE(activeFlightPlan.legs.empty());
}

TEST_F(ActiveFlightPlanPageTest, DeletesAndRecalls) {
    buildRoute();
    enter("/FL240A", kR3);
    enter("", kR3);
    EXPECT_EQ(fms().scratchPad.text(), "FL240A") << "recall of the constraint";
    enter("", kL3);
    EXPECT_EQ(fms().scratchPad.text(), "Q") << "recall of the ident";
    enter("*DELETE*", kR3);
    EXPECT_FALSE(activeFlightPlan.legs[1].vnav.hasAltitude);
    enter("*DELETE*", kL3);
    EXPECT_EQ(legIdents(activeFlightPlan), (std::vector<std::string>{"P", "R", "S", "ZZAD"}));
    enter("*DELETE*", kR1);
    EXPECT_EQ(legIdents(activeFlightPlan), (std::vector<std::string>{"P", "R", "S", "ZZAD"}))
        << "R1 on the FROM line deletes nothing";
    enter("*DELETE*", kL1);
    EXPECT_FALSE(activeFlightPlan.hasOriginAndDestination()) << "the whole plan goes";
}

TEST_F(ActiveFlightPlanPageTest, PatternKeywordsOnTheLegOfTheLine) {
    buildRoute();
    enter("*FLYOVER*", kL3);
    EXPECT_TRUE(activeFlightPlan.legs[1].trmLeg.flyOver);
    EXPECT_EQ(fms().currentPage, Fms::kActiveFlightPlanPage);
    EXPECT_EQ(row(5).substr(5, 1), "F");
    EXPECT_TRUE(cell(5, 5).reverse);
    for (const auto& [altitude, minutes] : {std::pair{"14000", 1.5}, {"13999", 1.0}}) {
        fms().setPage(Fms::kActiveFlightPlanPage, 1);
        enter(altitude, kR3);
        enter("*HOLD*", kL3);
        EXPECT_EQ(fms().currentPage, 36) << altitude;
        const HoldingPattern& hold = activeFlightPlan.legs[1].holding;
        EXPECT_DOUBLE_EQ(hold.legTimeMin, minutes) << altitude;
        EXPECT_NEAR(hold.holdSpeed, 270.4, 0.1) << "220 kt, true at " << altitude << " ft";
        EXPECT_NEAR(hold.legLength, minutes * hold.holdSpeed / 60.0, 1e-9) << altitude;
    }
    activeFlightPlan.legs[1].holding.active = 1;
    activeFlightPlan.legs[1].holding.legTimeMin = 2.0;
    fms().setPage(Fms::kActiveFlightPlanPage, 1);
    enter("*HOLD*", kL3);
    EXPECT_DOUBLE_EQ(activeFlightPlan.legs[1].holding.legTimeMin, 2.0) << "an active hold stays";
    fms().setPage(Fms::kActiveFlightPlanPage, 1);
    const struct {
        const char* keyword;
        int32_t key;
    } refused[] = {{"*FLYOVER*", kL3}, {"*PCDR TURN*", kL3}, {"*INTERCEPT*", kL1}};
    for (const auto& [keyword, key] : refused) {
        if (key == kL1) {
            fms().activeFplPage.subPage = ActiveFplPage::pageCount();
        }
        enter(keyword, key);
        EXPECT_EQ(message(), "INVALID ENTRY") << keyword;
        EXPECT_EQ(fms().scratchPad.text(), keyword) << keyword;
        EXPECT_EQ(fms().currentPage, Fms::kActiveFlightPlanPage) << keyword;
    }
    fms().activeFplPage.subPage = 1;
    activeFlightPlan.legs[0].trmLeg.legType = TerminalLegType::RF;
    enter("*ORBIT*", kL2);
    EXPECT_EQ(message(), "INVALID ENTRY") << "no pattern on an arc";
    EXPECT_EQ(fms().scratchPad.text(), "*ORBIT*");
}

TEST_F(ActiveFlightPlanPageTest, AWaypointOnTheDestinationAtTheFootOfASubPageTurnsThePage) {
    enter("ZZAA", kL1);
    enter("ZZAD", kR2);
    enter("ZZAD", kL2);
    ASSERT_EQ(ActiveFplPage::activeLineCount(), 3);
    enter("P", kL3);
    EXPECT_TRUE(fms().activeFplPage.pageTurnRequested);
    module.simulator.stepSeconds(0.9);
    EXPECT_EQ(fms().activeFplPage.subPage, 1);
    module.simulator.stepSeconds(0.2);
    EXPECT_EQ(fms().activeFplPage.subPage, 2);
    enter("Q", kL1);
    EXPECT_EQ(legIdents(activeFlightPlan), (std::vector<std::string>{"ZZAD", "P", "Q"}));
    EXPECT_FALSE(fms().activeFplPage.pageTurnRequested) << "the destination was on top";
}

TEST_F(ActiveFlightPlanPageTest, ThePlansAndTheRecordComeBackFromTheStateFile) {
    buildRoute();
    enter("P/090/10", kL3);
    enter("/FL240A", kR3);
    fms().activeFplPage.subPage = 2;
    StateFile file;
    file.path = (module.folder.path() / "flight.flt").string();
    fms().saveState(file);
    const std::vector<std::string> saved = legIdents(activeFlightPlan);
    resetGlobalFlightPlans();
    fms().activeFplPage = ActiveFplPage();
    fms().loadState(file);
    EXPECT_EQ(legIdents(activeFlightPlan), saved);
    EXPECT_EQ(activeFlightPlan.org.ident, "ZZAA");
    EXPECT_EQ(activeFlightPlan.legs[1].vnav.altitude, 24000);
    EXPECT_EQ(fms().activeFplPage.subPage, 2);
    EXPECT_EQ(fms().activeFplPage.nextPointName(PointFamily::PlaceBearingDistance), "*PBD03")
        << "the names go on where they were";
}

TEST_F(ActiveFlightPlanPageTest, DefinitionsWaitForAChoiceOrAreRefused) {
    buildRoute();
    enter("ABC/090/10", kL3);
    EXPECT_EQ(fms().currentPage, 5) << "three places named ABC";
    EXPECT_TRUE(fms().activeFplPage.definitionPending);
    EXPECT_TRUE(fms().activeFplPage.place1Pending);
    EXPECT_EQ(fms().pilotPoints().find("*PBD01"), nullptr) << "no point before the choice";
    fms().setPage(Fms::kActiveFlightPlanPage, 1);
    const std::vector<std::string> before = legIdents(activeFlightPlan);
    for (const char* apart : {"P/270/Q/090", "P/090/P/270", "P/045/P/045"}) {
        enter(apart, kL3);
        EXPECT_EQ(message(), "RADIALS DO NOT INTERSECT") << apart;
        EXPECT_EQ(fms().scratchPad.text(), apart);
        EXPECT_EQ(legIdents(activeFlightPlan), before) << apart;
    }
    enter("P/090/Q/180", kL3);
    EXPECT_EQ(activeFlightPlan.legs[1].wpt.ident, "*RR07") << "refused names are used up";
    const PilotPoint* crossing = fms().pilotPoints().find("*RR07");
    ASSERT_NE(crossing, nullptr);
    EXPECT_NEAR(crossing->longitude, 8.7, 0.05);
}

TEST_F(ActiveFlightPlanPageTest, AStoredRouteIsSplicedInFollowedByABreak) {
    selectedStoredPlan.setName("ZZAB-ZZAC");
    std::vector<Waypoint> fixes;
    fms().navDatabase().findWaypoints("ZZAB", fixes, false);
    selectedStoredPlan.setOrigin(fixes.front(), fms().planContext());
    selectedStoredPlan.setDestination(fixes.front(), fms().planContext());
    for (const char* ident : {"R", "S"}) {
        fixes.clear();
        fms().navDatabase().findWaypoints(ident, fixes, false);
        selectedStoredPlan.insertWaypoint(fixes.front(), selectedStoredPlan.legCount(), false,
                                          fms().planContext());
    }
    ASSERT_TRUE(fms().storedPlans().savePlanFile(selectedStoredPlan));
    enter("ZZAA", kL1);
    enter("ZZAD", kR2);
    enter("P", kL2);
    enter("ZZAD", kL3);
    enter("ZZAB-ZZAC", kL3);
    EXPECT_EQ(legIdents(activeFlightPlan),
              (std::vector<std::string>{"P", "R", "S", "(DISC)", "ZZAD"}));
    EXPECT_EQ(activeFlightPlan.legs[1].via, "ZZAB-ZZAC");
}

// An unknown ident opens PILOT WAYPOINT; the point defined there, whichever way, goes where the
// ident was typed: a leg at its line or the destination.
TEST_F(ActiveFlightPlanPageTest, APilotWaypointDefinedOnItsPageCompletesTheEntry) {
    buildRoute();
    enter("NEW1", kL3);
    ASSERT_EQ(fms().currentPage, cdu_page::kPilotWaypoint);
    enter("N4733.0E00836.0", kL2);
    EXPECT_EQ(fms().currentPage, cdu_page::kPilotWaypoint) << "the page stays";
    EXPECT_EQ(legIdents(activeFlightPlan),
              (std::vector<std::string>{"P", "NEW1", "Q", "R", "S", "ZZAD"}));
    EXPECT_TRUE(std::filesystem::exists(customFolder() / "NEW1.ri2v.wpt"));
    enter("", kR1);
    EXPECT_EQ(fms().currentPage, Fms::kActiveFlightPlanPage);

    enter("NEW2", kL3);
    enter("ABC/090/10", kL3);
    ASSERT_EQ(fms().currentPage, cdu_page::kWaypointsSelect) << "three places named ABC";
    enter("", kL1);
    EXPECT_EQ(fms().currentPage, cdu_page::kPilotWaypoint);
    EXPECT_EQ(activeFlightPlan.legs[1].wpt.ident, "NEW2") << "finished on WAYPOINTS SELECT";

    fms().setPage(Fms::kActiveFlightPlanPage, ActiveFplPage::pageCount());
    enter("NEW3", kR1 + (ActiveFplPage::activeLineCount() - 1) % 3);
    ASSERT_EQ(fms().currentPage, cdu_page::kPilotWaypoint);
    EXPECT_TRUE(fms().activeFplPage.destinationPending);
    enter("P/180/5", kL3);
    EXPECT_EQ(activeFlightPlan.dest.ident, "NEW3") << "it becomes the destination, not a leg";
    EXPECT_EQ(legIdents(activeFlightPlan).back(), "ZZAD");
}

// A place/bearing/distance or two-radial point whose place has several candidates waits for
// WAYPOINTS SELECT; the choice makes the point and enters it where it was typed.
TEST_F(ActiveFlightPlanPageTest, TheChosenPlaceFinishesAWaitingTemporaryPoint) {
    buildRoute();
    enter("ABC/090/10", kL3);
    ASSERT_EQ(fms().currentPage, cdu_page::kWaypointsSelect);
    enter("", kR1);
    EXPECT_EQ(fms().currentPage, Fms::kActiveFlightPlanPage) << "RETURN";
    EXPECT_EQ(fms().scratchPad.text(), "ABC/090/10") << "the definition, not only its place";
    fms().pressKey(kL3);
    ASSERT_EQ(fms().currentPage, cdu_page::kWaypointsSelect);
    const Waypoint nearest = fms().wptSelectPage.candidates.front();
    enter("", kL1);
    EXPECT_EQ(fms().currentPage, Fms::kActiveFlightPlanPage);
    EXPECT_EQ(legIdents(activeFlightPlan),
              (std::vector<std::string>{"P", "*PBD01", "Q", "R", "S", "ZZAD"}));
    const PilotPoint* pbd = fms().pilotPoints().find("*PBD01");
    ASSERT_NE(pbd, nullptr);
    EXPECT_NEAR(
        GcNav(nearest.latitude, nearest.longitude).distanceTo(pbd->latitude, pbd->longitude), 10.0,
        1e-6);

    enter("P/180/ABC/090", kL3);
    ASSERT_EQ(fms().currentPage, cdu_page::kWaypointsSelect) << "only the second place in doubt";
    enter("", kL1);
    EXPECT_EQ(activeFlightPlan.legs[1].wpt.ident, "*RR01");
    const PilotPoint* crossing = fms().pilotPoints().find("*RR01");
    ASSERT_NE(crossing, nullptr);
    EXPECT_NEAR(crossing->longitude, 8.5, 0.01) << "south of P";

    enter("ABC/045/ABC/180", kL3);
    chooseCandidateAt(47.2);
    EXPECT_EQ(fms().currentPage, cdu_page::kWaypointsSelect) << "then the second place";
    EXPECT_EQ(fms().wptSelectPage.entryText, "ABC");
    chooseCandidateAt(50.0);
    EXPECT_EQ(message(), "");
    EXPECT_EQ(activeFlightPlan.legs[1].wpt.ident, "*RR03");

    fms().setPage(Fms::kActiveFlightPlanPage, ActiveFplPage::pageCount());
    enter("ABC/090/20", kR1 + (ActiveFplPage::activeLineCount() - 1) % 3);
    enter("", kL1);
    EXPECT_EQ(activeFlightPlan.dest.ident, "*PBD03") << "typed on the destination line";
    screenshot("ActiveFltPlanTemporaryPoints");
    EXPECT_FALSE(fms().activeFplPage.definitionPending);
    EXPECT_EQ(message(), "");
}

// Two radials of one place meet nowhere, and a bearing from a place far north must be true.
class PolarPlace : public ActiveFlightPlanPageTest {
protected:
    PolarPlace()
        : ActiveFlightPlanPageTest(
              "INSERT INTO Waypoints (ID, Ident, Latitude, Longtitude, "
              "Collocated, NavaidID) VALUES (90, 'ABC', 75.0, 8.0, 0, NULL);") {}
    void choosePolarPlace() { chooseCandidateAt(75.0); }
};

TEST_F(PolarPlace, RefusedDefinitionsGiveTheEntryBack) {
    buildRoute();
    const std::vector<std::string> before = legIdents(activeFlightPlan);
    const struct {
        const char* entry;
        const char* message;
    } cases[] = {
        {"ABC/090/10", "BRG/CRS MUST BE IN TRUE"},
        {"ABC/090/P/180", "BRG/CRS MUST BE IN TRUE"},
    };
    for (const auto& c : cases) {
        enter(c.entry, kL3);
        choosePolarPlace();
        EXPECT_EQ(fms().currentPage, Fms::kActiveFlightPlanPage) << c.entry;
        EXPECT_EQ(message(), c.message) << c.entry;
        EXPECT_EQ(fms().scratchPad.text(), c.entry);
        EXPECT_EQ(legIdents(activeFlightPlan), before) << c.entry;
    }
    enter("ABC/090/ABC/270", kL3);
    fms().pressKey(kL1);
    fms().pressKey(kL1);
    EXPECT_EQ(message(), "RADIALS DO NOT INTERSECT");
    EXPECT_EQ(fms().scratchPad.text(), "ABC/090/ABC/270");
    EXPECT_EQ(legIdents(activeFlightPlan), before);
    enter("ABC/090T/10", kL3);
    choosePolarPlace();
    EXPECT_EQ(activeFlightPlan.legs[1].wpt.ident, "*PBD01") << "a true bearing is taken";
}

} // namespace
} // namespace tavi::test
