#include "cdu/pages/NavPageKeys.h"
#include "navdata/GcNav.h"
#include "support/CduSession.h"

#include <filesystem>
#include <gtest/gtest.h>

namespace tavi::test {
namespace {

using namespace navpages;

// The waypoint pages with the module's pilot-waypoint folder.
class WaypointPagesTest : public testing::Test {
protected:
    Fms& fms() { return cdu.fms(); }
    PilotPoint& shown() { return fms().pilotWptPage.point; }
    std::filesystem::path fileOf(const std::string& ident) {
        return cdu.module.folder.path() / "Orvane/CustomDB" / (ident + ".ri2v.wpt");
    }
    void addPoint(const std::string& ident, double latitude, double longitude) {
        PilotPoint point;
        point.ident = ident;
        point.ppType = PilotPointType::LatLon;
        point.latitude = latitude;
        point.longitude = longitude;
        fms().pilotPoints().add(point);
    }
    // PILOT WAYPOINT for a new point of that ident, as PILOT WPT LIST opens it.
    void startDefinition(const std::string& ident) {
        cdu.show(kPilotWptList);
        cdu.enter(ident, kL1);
        ASSERT_EQ(fms().currentPage, kPilotWaypoint);
        ASSERT_FALSE(shown().isDefined());
    }
    void clearPad() {
        fms().messages.clear();
        fms().takeScratchpad();
    }

    CduSession cdu;
};

TEST_F(WaypointPagesTest, PilotWptListShowsSevenToASubPage) {
    for (const char* ident : {"WPA", "WPB", "WPC", "WPD", "WPE", "WPF", "WPG", "WPH"}) {
        addPoint(ident, 47.1, 8.1);
    }
    cdu.press(Fms::kNavKey);
    cdu.press(kL2);
    ASSERT_EQ(fms().currentPage, kPilotWptList);
    EXPECT_EQ(cdu.row(0), "     PILOT WPT LIST  1/2");
    EXPECT_EQ(cdu.row(1), " SHOW WAYPOINT       WPD");
    EXPECT_EQ(cdu.row(2), "\u2013\u2013\u2013\u2013\u2013");
    EXPECT_EQ(cdu.row(3), "WPA                  WPE");
    EXPECT_EQ(cdu.row(5), "WPB                  WPF");
    EXPECT_EQ(cdu.row(7), "WPC                  WPG");
    EXPECT_FALSE(cdu.cell(3, 0).large);
    cdu.press(kNext);
    EXPECT_EQ(cdu.row(0), "     PILOT WPT LIST  2/2");
    EXPECT_EQ(cdu.row(1), " SHOW WAYPOINT");
    EXPECT_EQ(cdu.row(3), "WPH");
    EXPECT_EQ(cdu.row(5), "");
    cdu.press(kNext);
    EXPECT_EQ(fms().waypointPages.listPage.subPage, 1);
    cdu.press(kPrev);
    EXPECT_EQ(fms().waypointPages.listPage.subPage, 2);
}

TEST_F(WaypointPagesTest, DeletingAPilotWaypointRemovesItsFile) {
    startDefinition("DELME");
    cdu.enter("N4705.0E00805.0", kL2);
    ASSERT_TRUE(std::filesystem::exists(fileOf("DELME")));
    cdu.show(kPilotWptList);
    cdu.press(kL2);
    EXPECT_EQ(cdu.scratchpad(), "DELME") << "without DEL the key copies the ident";
    clearPad();
    cdu.press(Fms::kDelKey);
    cdu.press(kL3);
    EXPECT_EQ(cdu.scratchpad(), "*DELETE*") << "an empty slot does nothing";
    cdu.press(kL2);
    EXPECT_EQ(fms().pilotPoints().find("DELME"), nullptr);
    EXPECT_FALSE(std::filesystem::exists(fileOf("DELME")));
    EXPECT_EQ(cdu.scratchpad(), "");
    EXPECT_EQ(cdu.row(3), "");
}

TEST_F(WaypointPagesTest, APointOfTheActivePlanIsNotDeleted) {
    addPoint("USED", 47.1, 8.1);
    activeFlightPlan.legs.resize(1);
    activeFlightPlan.legs[0].wpt = *fms().pilotPoints().find("USED");
    cdu.show(kPilotWptList);
    cdu.press(Fms::kDelKey);
    cdu.press(kL2);
    EXPECT_EQ(cdu.message(), "USED BY ACTIVE FPL");
    EXPECT_NE(fms().pilotPoints().find("USED"), nullptr);
}

TEST_F(WaypointPagesTest, ShowWaypointLooksTheIdentUp) {
    addPoint("MYPT", 47.1, 8.1);
    const struct {
        const char* entry;
        int32_t page;
        const char* pad;
        const char* message;
    } cases[] = {
        {"ZZAB", kDataBaseWpt, "", ""},
        {"ABC", kWaypointsSelect, "", ""},
        {"MYPT", kPilotWaypoint, "", ""},
        {"NEWPT", kPilotWaypoint, "", ""},
        {"A/B", kPilotWptList, "A/B", "INVALID ENTRY"},
        {"TOOLONG", kPilotWptList, "TOOLONG", "INVALID ENTRY"},
        {"", kPilotWptList, "", ""},
    };
    for (const auto& c : cases) {
        cdu.show(kPilotWptList);
        cdu.enter(c.entry, kL1);
        EXPECT_EQ(fms().currentPage, c.page) << c.entry;
        EXPECT_EQ(cdu.scratchpad(), c.pad) << c.entry;
        EXPECT_EQ(cdu.message(), c.message) << c.entry;
        clearPad();
    }
    EXPECT_EQ(fms().wptSelectPage.returnPage, kPilotWptList);
}

TEST_F(WaypointPagesTest, ALatLonPointIsStoredAndFoundAfterARestart) {
    startDefinition("LLPT");
    EXPECT_EQ(cdu.row(0), "     PILOT WAYPOINT  1/1");
    EXPECT_EQ(cdu.row(1), " WAYPOINT");
    EXPECT_EQ(cdu.row(2), "LLPT");
    EXPECT_EQ(cdu.row(3), " LAT LON");
    EXPECT_EQ(cdu.row(5), " P/B/D OR P/B/P/B");
    EXPECT_EQ(cdu.row(7), "\u25C4WPT LIST");
    cdu.enter("N4705.0E00805.0", kL2);
    EXPECT_EQ(shown().ppType, PilotPointType::LatLon);
    EXPECT_EQ(cdu.row(4), "N47\u00B005.0 E008\u00B005.0");
    EXPECT_EQ(cdu.row(5), "                MAG VAR");
    EXPECT_TRUE(std::filesystem::exists(fileOf("LLPT")));
    cdu.press(kR1);
    EXPECT_EQ(fms().currentPage, kPilotWaypoint) << "RETURN to the list does nothing";

    cdu.module.deinit();
    cdu.module.startModule();
    cdu.frame();
    const PilotPoint* found = cdu.fms().pilotPoints().find("LLPT");
    ASSERT_NE(found, nullptr);
    EXPECT_NEAR(found->latitude, 47.0 + 5.0 / 60.0, 1e-6);
    EXPECT_NEAR(found->longitude, 8.0 + 5.0 / 60.0, 1e-6);
}

TEST_F(WaypointPagesTest, APlaceBearingDistancePoint) {
    startDefinition("PBDPT");
    cdu.enter("ZZAB/090/10", kL3);
    ASSERT_EQ(shown().ppType, PilotPointType::PlaceBearingDistance);
    const GcNav zzab(47.0 + 10.0 / 60.0, 8.0);
    EXPECT_NEAR(zzab.distanceTo(shown().latitude, shown().longitude), 10.0, 1e-6);
    EXPECT_GT(shown().longitude, 8.2) << "east of ZZAB";
    EXPECT_EQ(cdu.row(6).substr(0, shown().definition.size()), shown().definition);
    EXPECT_FALSE(shown().definition.empty());
    EXPECT_TRUE(std::filesystem::exists(fileOf("PBDPT")));
    cdu.press(kL3);
    EXPECT_EQ(cdu.scratchpad(), shown().definition) << "the definition for a copy";
}

TEST_F(WaypointPagesTest, APlaceWithSeveralCandidatesIsChosenOnWaypointsSelect) {
    startDefinition("PBDAB");
    cdu.enter("ABC/090/10", kL3);
    ASSERT_EQ(fms().currentPage, kWaypointsSelect);
    EXPECT_EQ(cdu.row(0), "    WAYPOINTS SELECT 1/1");
    EXPECT_EQ(cdu.row(1), " ABC             RETURN\u25BA");
    EXPECT_EQ(cdu.row(2), "\u25C4N47\u00B012.0 E008\u00B018.0");
    cdu.press(kL1);
    EXPECT_EQ(fms().currentPage, kPilotWaypoint);
    EXPECT_EQ(shown().ppType, PilotPointType::PlaceBearingDistance);
    EXPECT_NE(fms().pilotPoints().find("PBDAB"), nullptr);
}

TEST_F(WaypointPagesTest, TwoRadialsMeetOrAreRefused) {
    startDefinition("RRPT");
    cdu.enter("ZZAA/090/ZZAA/090", kL3);
    EXPECT_EQ(cdu.message(), "RADIALS DO NOT INTERSECT");
    EXPECT_EQ(cdu.scratchpad(), "ZZAA/090/ZZAA/090");
    EXPECT_FALSE(shown().isDefined());
    clearPad();
    cdu.enter("ZZAA/045/ZZAB/135", kL3);
    ASSERT_EQ(shown().ppType, PilotPointType::PlaceBearingPlaceBearing);
    EXPECT_GT(shown().latitude, 47.0);
    EXPECT_LT(shown().latitude, 47.0 + 10.0 / 60.0);
    EXPECT_GT(shown().longitude, 8.0);
    EXPECT_TRUE(shown().definition.empty());
    EXPECT_EQ(cdu.row(6), "                     0\u00B0E");
    cdu.press(kL3);
    EXPECT_EQ(cdu.scratchpad(), "") << "no definition text to copy";
}

TEST_F(WaypointPagesTest, BearingsFromPolarPlacesMustBeTrue) {
    addPoint("POLA", 73.0, 8.0);
    addPoint("POLB", 73.1, 8.0);
    const struct {
        const char* entry;
        bool defined;
    } cases[] = {{"POLA/090/10", true}, {"POLB/090/10", false}, {"POLB/090T/10", true}};
    for (const auto& c : cases) {
        startDefinition("POLX");
        cdu.enter(c.entry, kL3);
        EXPECT_EQ(shown().isDefined(), c.defined) << c.entry;
        if (!c.defined) {
            EXPECT_EQ(cdu.message(), "BRG/CRS MUST BE IN TRUE");
            EXPECT_TRUE(fms().messages.messages().front().priority);
            EXPECT_EQ(cdu.scratchpad(), c.entry);
        }
        clearPad();
        fms().pilotPoints().remove("POLX");
    }
}

TEST_F(WaypointPagesTest, RefusedDefinitionsChangeNothing) {
    const struct {
        int32_t key;
        const char* entry;
        const char* message;
    } cases[] = {
        {kL2, "N9100.0E00800.0", "INVALID ENTRY"},
        {kL2, "XYZ", "INVALID ENTRY"},
        {kL3, "ABC", "INVALID ENTRY"},
        {kL3, "ABC/400/10", "INVALID ENTRY"},
        {kL3, "NOPE/090/10", "WAYPOINT NOT FOUND"},
        {kL3, "ZZAA/090/NOPE/010", "WAYPOINT NOT FOUND"},
    };
    startDefinition("REFPT");
    for (const auto& c : cases) {
        cdu.enter(c.entry, c.key);
        EXPECT_EQ(cdu.message(), c.message) << c.entry;
        EXPECT_EQ(cdu.scratchpad(), c.entry) << c.entry;
        EXPECT_FALSE(shown().isDefined()) << c.entry;
        clearPad();
    }
    EXPECT_EQ(fms().pilotPoints().find("REFPT"), nullptr);
    EXPECT_FALSE(std::filesystem::exists(fileOf("REFPT")));

    cdu.enter("N4705.0E00805.0", kL2);
    const PilotPoint before = shown();
    for (const int32_t key : {kL2, kL3}) {
        cdu.enter("N4710.0E00810.0", key);
        EXPECT_EQ(cdu.message(), "INVALID ENTRY") << "a defined point is not changed here";
        EXPECT_EQ(shown().latitude, before.latitude);
        clearPad();
    }
    cdu.press(kL2);
    EXPECT_EQ(cdu.scratchpad(), "N4705.0E00805.0");
}

TEST_F(WaypointPagesTest, DataBaseWptShowsEachKindOfPoint) {
    const struct {
        const char* ident;
        std::vector<std::string> rows;
    } cases[] = {
        {"ZZAB", {"     DATA BASE WPT   1/2", " WAYPOINT         TYPE", "ZZAB            AIRPORT"}},
        {"IAAL",
         {"     DATA BASE WPT   1/1", " WAYPOINT  FCRS   FREQ", "IAAL       90.0\u00B0  110.30",
          "  TYPE ILSDME    CAT I"}},
        {"VTX",
         {"     DATA BASE WPT   1/1", " WAYPOINT         FREQ", "VTX             112.300",
          "  TYPE VORTAC  CLASS UR"}},
        {"TCN",
         {"     DATA BASE WPT   1/1", " WAYPOINT         CHAN", "TCN               070X",
          "  TYPE TACAN   CLASS HA"}},
        {"DMA",
         {"     DATA BASE WPT   1/1", " WAYPOINT         FREQ", "DMA              114.00",
          "  TYPE DME     CLASS T"}},
    };
    for (const auto& c : cases) {
        cdu.show(kDataBaseWpt);
        cdu.enter(c.ident, kL1);
        ASSERT_EQ(fms().currentPage, kDataBaseWpt) << c.ident;
        for (size_t row = 0; row < c.rows.size(); ++row) {
            EXPECT_EQ(cdu.row(static_cast<int32_t>(row)), c.rows[row]) << c.ident;
        }
    }
}

TEST_F(WaypointPagesTest, DataBaseWptKeys) {
    cdu.show(kDataBaseWpt);
    EXPECT_EQ(cdu.row(2), "\u2013\u2013\u2013\u2013\u2013");
    cdu.press(kL1);
    EXPECT_EQ(cdu.scratchpad(), "") << "nothing shown, nothing copied";
    cdu.enter("ZZAB", kL1);
    cdu.press(kNext);
    EXPECT_EQ(cdu.row(3), "  ELEVATION     MAG VAR");
    EXPECT_EQ(cdu.row(4), " 1520                0\u00B0E");
    cdu.press(kNext);
    EXPECT_EQ(fms().dbWptPage.subPage, 1);
    cdu.press(kL1);
    EXPECT_EQ(cdu.scratchpad(), "ZZAB");
    clearPad();
    cdu.enter("A.B", kL1);
    EXPECT_EQ(cdu.message(), "INVALID ENTRY");
    EXPECT_EQ(cdu.scratchpad(), "A.B");
    clearPad();
    cdu.enter("NOPE", kL1);
    EXPECT_EQ(cdu.scratchpad(), "") << "an ident not found is consumed";
    EXPECT_EQ(fms().dbWptPage.waypoint.ident, "ZZAB");
    cdu.enter("ABC", kL1);
    EXPECT_EQ(fms().currentPage, kWaypointsSelect);
    cdu.press(kR1);
    EXPECT_EQ(fms().currentPage, kDataBaseWpt);
    EXPECT_EQ(cdu.scratchpad(), "ABC");
    clearPad();
    cdu.press(kL4);
    EXPECT_EQ(fms().currentPage, kPilotWptList);
}

TEST_F(WaypointPagesTest, WaypointsSelectPagesThreeCandidatesAtATime) {
    std::vector<Waypoint> candidates(7);
    for (size_t i = 0; i < candidates.size(); ++i) {
        candidates[i].kind = WaypointKind::DatabaseWaypoint;
        candidates[i].ident = "TWIN";
        candidates[i].latitude = 40.0 + static_cast<double>(i);
    }
    fms().waypointPages.selectFrom("TWIN", candidates, {kDataBaseWpt, 1}, {kPilotWptList, 1});
    fms().drawPage();
    EXPECT_EQ(cdu.row(0), "    WAYPOINTS SELECT 1/3");
    EXPECT_EQ(cdu.row(5), " TWIN");
    EXPECT_EQ(cdu.row(6), "\u25C4N42\u00B000.0 E000\u00B000.0");
    cdu.press(kPrev);
    EXPECT_EQ(cdu.row(0), "    WAYPOINTS SELECT 3/3");
    EXPECT_EQ(cdu.row(2), "\u25C4N46\u00B000.0 E000\u00B000.0");
    EXPECT_EQ(cdu.row(3), "");
    for (const int32_t key : {kL2, kL3}) {
        cdu.press(key);
        EXPECT_EQ(fms().currentPage, kWaypointsSelect);
    }
    cdu.press(kNext);
    EXPECT_EQ(fms().wptSelectPage.subPage, 1);
    cdu.press(kPrev);
    cdu.press(kL1);
    EXPECT_EQ(fms().currentPage, kDataBaseWpt);
    EXPECT_DOUBLE_EQ(fms().dbWptPage.waypoint.latitude, 46.0);
}

} // namespace
} // namespace tavi::test

namespace tavi::test {
namespace {

// The choices the flight-plan pages ask for: the candidates of ABC.
class PlanSelection : public WaypointPagesTest {
protected:
    void choose(int32_t targetPage) {
        std::vector<Waypoint> candidates;
        fms().navDatabase().findWaypoints("ABC", candidates, false);
        ASSERT_GT(candidates.size(), 1u);
        fms().waypointPages.selectFrom("ABC", candidates, {targetPage, 1}, {targetPage, 1});
        cdu.press(kL1);
        EXPECT_EQ(fms().currentPage, targetPage);
    }
    void giveActivePlanEnds() {
        Waypoint end;
        end.kind = WaypointKind::Airport;
        end.ident = "ZZAA";
        activeFlightPlan.setOrigin(end, fms().planContext());
        end.ident = "ZZAE";
        end.latitude = 47.6666666666667;
        activeFlightPlan.setDestination(end, fms().planContext());
    }
};

TEST_F(PlanSelection, DirectToTheChosenPointEndsDirMode) {
    giveActivePlanEnds();
    Waypoint fix;
    fix.kind = WaypointKind::DatabaseWaypoint;
    fix.ident = "P";
    fix.latitude = 47.5;
    fix.longitude = 8.5;
    ASSERT_TRUE(activeFlightPlan.insertWaypoint(fix, 0, false, fms().planContext()));
    fms().activeFplPage.dirMode = true;
    choose(kActiveFlightPlan);
    EXPECT_FALSE(fms().activeFplPage.dirMode);
    ASSERT_LT(activeFlightPlan.activeLeg, activeFlightPlan.legCount());
    EXPECT_EQ(activeFlightPlan.legs[activeFlightPlan.activeLeg].wpt.ident, "ABC");
}

TEST_F(PlanSelection, TheChosenPointGoesIntoThePlanAtTheSelectedLine) {
    giveActivePlanEnds();
    fms().activeFplPage.selectedLine = 1;
    choose(kActiveFlightPlan);
    ASSERT_EQ(activeFlightPlan.legCount(), 1u);
    EXPECT_EQ(activeFlightPlan.legs[0].wpt.ident, "ABC");
    fms().storedFplPage.originPending = true;
    choose(kStoredPlan);
    EXPECT_EQ(selectedStoredPlan.org.ident, "ABC");
}

} // namespace
} // namespace tavi::test
