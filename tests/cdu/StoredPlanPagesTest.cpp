#include "support/CduPlanSession.h"

namespace tavi::test {
namespace {

class StoredPlanPagesTest : public CduPlanSession {
protected:
    // A plan file written through the pages: FLIGHT PLAN LIST, a new ORIG-DEST name.
    void createPlan(const std::string& name) {
        fms().setPage(15, 1);
        enter(name, kL1);
        ASSERT_EQ(fms().currentPage, Fms::kStoredPlanPage) << name;
    }
    std::filesystem::path planFile(const std::string& name) const {
        return customFolder() / (name + ".ri2v.fpl");
    }
};

TEST_F(StoredPlanPagesTest, ANameOfTwoAirportsCreatesAPlanWithBothEnds) {
    createPlan("ZZAA-ZZAD");
    EXPECT_EQ(selectedStoredPlan.org.ident, "ZZAA");
    EXPECT_EQ(selectedStoredPlan.dest.ident, "ZZAD");
    EXPECT_TRUE(std::filesystem::exists(planFile("ZZAA-ZZAD"))) << "written at once";
    createPlan("MYROUTE");
    EXPECT_EQ(selectedStoredPlan.org.kind, WaypointKind::Plain);
    EXPECT_EQ(selectedStoredPlan.gspd, 250u);
}

TEST_F(StoredPlanPagesTest, TheStoredPlanPageEditsAndRewritesItsFile) {
    createPlan("ZZAA-ZZAD");
    enter("P", kL2);
    enter("A1.S", kL3);
    EXPECT_EQ(legIdents(selectedStoredPlan), (std::vector<std::string>{"P", "Q", "R", "S"}))
        << "the trailing break of an airway at the end goes";
    enter("", kR1);
    EXPECT_EQ(fms().scratchPad.text(), "250");
    enter("320", kR1);
    EXPECT_EQ(selectedStoredPlan.gspd, 320u);
    const std::vector<std::string> expected = {
        "     ZZAA-ZZAD FPL   1/2",
        " ORIGIN/ETD          GS",
    };
    EXPECT_EQ(row(0), expected[0]);
    EXPECT_EQ(row(1), expected[1]);
    EXPECT_EQ(row(2).substr(0, 4), "ZZAA");
    EXPECT_EQ(row(2).substr(19), "@ 320");
    EXPECT_EQ(row(4).substr(0, 1), "P");
    EXPECT_EQ(row(7), "                FPL SEL?");
    screenshot("StoredPlan");
    FlightPlan reread;
    ASSERT_TRUE(fms().storedPlans().loadPlanFile(reread, "ZZAA-ZZAD", planFile("ZZAA-ZZAD"),
                                                 fms().planContext()));
    EXPECT_EQ(legIdents(reread), legIdents(selectedStoredPlan));
    EXPECT_EQ(reread.gspd, 320u);
    fms().pressKey(Fms::kNextKey);
    enter("*DELETE*", kL1);
    EXPECT_EQ(legIdents(selectedStoredPlan), (std::vector<std::string>{"P", "Q", "S"}))
        << "L1 on sub-page 2 is line 3, leg 2";
    fms().pressKey(Fms::kPrevKey);
    enter("*DELETE*", kL1);
    EXPECT_EQ(fms().currentPage, 15) << "the whole plan goes";
    EXPECT_FALSE(std::filesystem::exists(planFile("ZZAA-ZZAD")));
    EXPECT_TRUE(selectedStoredPlan.name().empty());
    EXPECT_TRUE(fms().storedPlans().plans().empty());
}

// An ident the database does not know opens PILOT WAYPOINT; the point defined there goes into
// the stored plan at the line and the file is written again.
TEST_F(StoredPlanPagesTest, APilotWaypointDefinedForTheStoredPlanIsInsertedAndSaved) {
    createPlan("ZZAA-ZZAD");
    enter("P", kL2);
    enter("NEW1", kL2);
    ASSERT_EQ(fms().currentPage, 6);
    enter("N4733.0E00836.0", kL2);
    EXPECT_EQ(legIdents(selectedStoredPlan), (std::vector<std::string>{"NEW1", "P"}));
    FlightPlan reread;
    ASSERT_TRUE(fms().storedPlans().loadPlanFile(reread, "ZZAA-ZZAD", planFile("ZZAA-ZZAD"),
                                                 fms().planContext()));
    EXPECT_EQ(legIdents(reread), legIdents(selectedStoredPlan));
    enter("", kR1);
    EXPECT_EQ(fms().currentPage, Fms::kStoredPlanPage);
}

TEST_F(StoredPlanPagesTest, RefusedEntriesOnTheStoredPlanKeepThePlanAndItsFile) {
    createPlan("ZZAA-ZZAD");
    enter("P", kL2);
    const struct {
        const char* entry;
        int32_t key;
        const char* message;
    } cases[] = {
        {"74", kR1, "INVALID ENTRY"},   {"751", kR1, "INVALID ENTRY"},
        {"ZZAB", kR2, "INVALID ENTRY"}, {"A1.XX", kL3, "WAYPOINT NOT FOUND"},
        {"*TMP", kL3, "INVALID ENTRY"}, {"N4700.0E00800.0", kL3, "INVALID ENTRY"},
    };
    const std::string before = readText(planFile("ZZAA-ZZAD"));
    for (const auto& c : cases) {
        enter(c.entry, c.key);
        EXPECT_EQ(message(), c.message) << c.entry;
        EXPECT_EQ(fms().scratchPad.text(), c.entry) << c.entry;
        EXPECT_EQ(legIdents(selectedStoredPlan), (std::vector<std::string>{"P"})) << c.entry;
        EXPECT_EQ(readText(planFile("ZZAA-ZZAD")), before) << c.entry;
    }
    enter("ZZAB", kR3);
    EXPECT_EQ(selectedStoredPlan.dest.ident, "ZZAD") << "a destination is entered once";
    EXPECT_EQ(fms().scratchPad.text(), "");
}

TEST_F(StoredPlanPagesTest, TheListPagesSearchesAndDeletes) {
    for (const char* name : {"ZZAA-ZZAB", "ZZAA-ZZAC", "ZZAA-ZZAD", "ZZAB-ZZAD", "ZZAC-ZZAE"}) {
        createPlan(name);
    }
    fms().setPage(15, 1);
    EXPECT_EQ(fms().fplListPage.pageCount, 2);
    EXPECT_EQ(row(0), "  FLIGHT PLAN LIST   1/2");
    EXPECT_EQ(row(3), "ZZAA-ZZAB      ZZAA-ZZAD");
    EXPECT_EQ(row(5), "ZZAA-ZZAC      ZZAB-ZZAD");
    EXPECT_EQ(row(7), "                FPL SEL?");
    EXPECT_EQ(cell(3, 0).colour, CduColour::Amber);
    screenshot("FlightPlanList");
    fms().pressKey(Fms::kNextKey);
    EXPECT_EQ(row(3), "ZZAC-ZZAE");
    fms().pressKey(Fms::kNextKey);
    EXPECT_EQ(fms().fplListPage.subPage, 1);
    enter("ZZAA/ZZAD", kR1);
    EXPECT_TRUE(fms().fplListPage.searchMode);
    EXPECT_EQ(row(1), " SHOW FPL        RETURN?");
    EXPECT_EQ(row(3), "ZZAA-ZZAD*");
    enter("", kL2);
    EXPECT_EQ(fms().scratchPad.text(), "ZZAA-ZZAD");
    fms().pressKey(kR1);
    EXPECT_FALSE(fms().fplListPage.searchMode);
    enter("ZZAE/ZZAA", kR1);
    EXPECT_EQ(message(), "NO FLIGHT PLAN");
    enter("*DELETE*", kR2);
    EXPECT_FALSE(std::filesystem::exists(planFile("ZZAA-ZZAD")));
    EXPECT_EQ(fms().storedPlans().plans().size(), 4u);
    EXPECT_EQ(fms().scratchPad.text(), "");
    for (const char* refused : {"ZZAA1", "ZZAA-ZZAD-X", "-ZZAAZZAD", "../ETC1"}) {
        enter(refused, kL1);
        EXPECT_EQ(message(), "INVALID ENTRY") << refused;
        EXPECT_EQ(fms().scratchPad.text(), refused);
        EXPECT_EQ(fms().currentPage, 15);
    }
    EXPECT_EQ(fms().storedPlans().plans().size(), 4u);
}

TEST_F(StoredPlanPagesTest, AStoredPlanWithAnUnknownPointDoesNotLoad) {
    createPlan("ZZAA-ZZAD");
    enter("P", kL2);
    std::string text = readText(planFile("ZZAA-ZZAD"));
    const std::string ident = "ident=P";
    text.replace(text.find(ident), ident.size(), "ident=XQXQ");
    std::ofstream(planFile("ZZAA-ZZAD"), std::ios::binary) << text;
    fms().setPage(15, 1);
    enter("ZZAA-ZZAD", kL1);
    EXPECT_EQ(message(), "FPL CONTAINS INVALID WPT");
    EXPECT_EQ(fms().scratchPad.text(), "ZZAA-ZZAD");
    EXPECT_EQ(fms().currentPage, 15);
}

TEST_F(StoredPlanPagesTest, SelectAsksBeforeReplacingAndActivatesAsStoredOrInverted) {
    createPlan("ZZAA-ZZAD");
    enter("P", kL2);
    enter("Q", kL3);
    fms().setPage(18, 1);
    fms().messages.clear();
    EXPECT_EQ(row(0), "    FLT PLAN SELECT  1/1");
    EXPECT_EQ(row(2), "ZZAA-ZZAD      ACTIVATE?");
    screenshot("FltPlanSelect");
    fms().pressKey(kR1);
    EXPECT_EQ(fms().currentPage, Fms::kActiveFlightPlanPage) << "no plan to replace: at once";
    EXPECT_EQ(legIdents(activeFlightPlan), (std::vector<std::string>{"P", "Q"}));
    EXPECT_EQ(alternateFlightPlan.org.ident, "ZZAD");
    EXPECT_TRUE(selectedStoredPlan.name().empty());

    fms().setPage(18, 1);
    enter("ZZAA-ZZAD", kL1);
    EXPECT_EQ(fms().currentPage, 18) << "a stored plan is read and the page stays";
    fms().pressKey(kR2);
    EXPECT_TRUE(fms().flightPlanPages.select.confirmPending);
    EXPECT_EQ(row(4), "   CONFIRM REPLACING");
    EXPECT_EQ(row(7), "?NO                 YES?");
    screenshot("FltPlanSelectConfirm");
    fms().pressKey(kL4);
    EXPECT_FALSE(fms().flightPlanPages.select.confirmPending);
    EXPECT_EQ(legIdents(activeFlightPlan), (std::vector<std::string>{"P", "Q"})) << "NO";
    fms().pressKey(kR2);
    fms().pressKey(kR4);
    EXPECT_EQ(activeFlightPlan.org.ident, "ZZAD");
    EXPECT_EQ(activeFlightPlan.dest.ident, "ZZAA");
    EXPECT_EQ(legIdents(activeFlightPlan), (std::vector<std::string>{"Q", "P"}));
}

TEST_F(StoredPlanPagesTest, AnInvertedPlanEndsWithALegToItsNewDestination) {
    createPlan("ZZAA-ZZAD");
    enter("P", kL2);
    enter("Q", kL3);
    fms().pressKey(Fms::kNextKey);
    enter("ZZAD", kL1);
    ASSERT_EQ(legIdents(selectedStoredPlan), (std::vector<std::string>{"P", "Q", "ZZAD"}));
    ASSERT_TRUE(selectedStoredPlan.isBeforeRouteEnd());
    fms().setPage(18, 1);
    fms().pressKey(kR2);
    EXPECT_EQ(activeFlightPlan.org.ident, "ZZAD");
    EXPECT_EQ(activeFlightPlan.dest.ident, "ZZAA");
    EXPECT_EQ(legIdents(activeFlightPlan), (std::vector<std::string>{"Q", "P", "ZZAA"}));
}

} // namespace
} // namespace tavi::test
