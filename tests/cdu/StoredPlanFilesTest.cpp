#include "cdu/pages/CduPageIds.h"
#include "cdu/pages/NavPageKeys.h"
#include "support/CduPlanSession.h"

#include <algorithm>
#include <filesystem>
#include <fstream>

namespace tavi::test {
namespace {

// The airway E5 from P to Q passes a fix whose ident holds a line break, which no plan file can
// hold.
constexpr char kUnwritableFix[] =
    "INSERT INTO Waypoints (ID, Ident, Latitude, Longtitude, Collocated, NavaidID) VALUES"
    "  (80, 'X' || char(10) || 'Y', 47.55, 8.6, 0, NULL);"
    "INSERT INTO Airways (ID, Ident) VALUES (5, 'E5');"
    "INSERT INTO AirwayLegs (ID, AirwayID, Waypoint1ID, Waypoint2ID, IsStart, IsEnd) VALUES"
    "  (12, 5, 1, 80, 1, 0), (13, 5, 80, 2, 0, 1);";

// Plan files as the pilot keeps them through FLIGHT PLAN LIST, FLT PLAN SELECT and the
// stored-plan page: what a file holds is never lost to a key press or a restart.
class StoredPlanFilesTest : public CduPlanSession {
protected:
    StoredPlanFilesTest() : CduPlanSession(kUnwritableFix) {}

    std::filesystem::path planFile(const std::string& name) const {
        return customFolder() / (name + ".ri2v.fpl");
    }
    std::string fileText(const std::string& name) const {
        std::ifstream in(planFile(name), std::ios::binary);
        return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    }
    void writeFileText(const std::string& name, const std::string& text) const {
        std::ofstream(planFile(name), std::ios::binary) << text;
    }
    // A plan made by name on FLIGHT PLAN LIST, with the legs typed on the stored-plan page.
    void makePlan(const std::string& name, const std::vector<std::string>& legs) {
        fms().setPage(cdu_page::kFlightPlanList, 1);
        enter(name, kL1);
        ASSERT_EQ(fms().currentPage, Fms::kStoredPlanPage) << name;
        for (const std::string& leg : legs) {
            enter(leg, kL2);
        }
    }
    std::vector<std::string> listed() {
        fms().setPage(cdu_page::kFlightPlanList, 1);
        std::vector<std::string> names;
        for (const auto& [key, plan] : fms().storedPlans().plans()) {
            names.push_back(plan.name());
        }
        return names;
    }
    bool logged(const std::string& text) const {
        const std::vector<std::string> lines = module.logLines();
        return std::any_of(lines.begin(), lines.end(), [&](const std::string& line) {
            return line.find(text) != std::string::npos;
        });
    }
};

// A database without the plan's origin leaves the plan out of the list; its name typed on
// either page opens nothing and writes nothing.
TEST_F(StoredPlanFilesTest, AFileTheLibraryCouldNotReadIsNeverWrittenOver) {
    makePlan("ZZAA-ZZAD", {"Q", "P"});
    std::string text = fileText("ZZAA-ZZAD");
    text.replace(text.find("ident=ZZAA"), 10, "ident=ZQQQ");
    writeFileText("ZZAA-ZZAD", text);
    restartModule();
    EXPECT_TRUE(listed().empty());
    const struct {
        const char* page;
        int32_t id;
    } pages[] = {{"FLIGHT PLAN LIST", cdu_page::kFlightPlanList},
                 {"FLT PLAN SELECT", cdu_page::kFltPlanSelect}};
    for (const auto& p : pages) {
        fms().setPage(p.id, 1);
        enter("ZZAA-ZZAD", kL1);
        EXPECT_EQ(message(), "FPL CONTAINS INVALID WPT") << p.page;
        EXPECT_EQ(fms().scratchPad.text(), "ZZAA-ZZAD") << p.page;
        EXPECT_EQ(fms().currentPage, p.id) << p.page;
        EXPECT_EQ(fileText("ZZAA-ZZAD"), text) << p.page;
        EXPECT_TRUE(selectedStoredPlan.name().empty()) << p.page << ": nothing to activate";
    }
}

// Named without two airports, a plan starts without its ends; the pilot may give it one.
TEST_F(StoredPlanFilesTest, APlanWithoutItsEndsStaysListedAndOpensWithWhatItHolds) {
    makePlan("MYROUTE", {});
    enter("ZZAA", kL1);
    ASSERT_EQ(selectedStoredPlan.org.ident, "ZZAA");
    makePlan("NOENDS", {});
    makePlan("ZZAA-ZZAD", {"P"});
    const std::vector<std::string> all = {"MYROUTE", "NOENDS", "ZZAA-ZZAD"};
    EXPECT_EQ(listed(), all);
    const std::string saved = fileText("MYROUTE");
    restartModule();
    EXPECT_EQ(listed(), all) << "after a restart";
    EXPECT_EQ(row(3), "MYROUTE        ZZAA-ZZAD");
    EXPECT_EQ(row(5), "NOENDS");
    enter("MYROUTE", kL1);
    ASSERT_EQ(fms().currentPage, Fms::kStoredPlanPage);
    EXPECT_EQ(selectedStoredPlan.org.ident, "ZZAA");
    EXPECT_EQ(fileText("MYROUTE"), saved);
    fms().setPage(cdu_page::kFltPlanSelect, 1);
    enter("NOENDS", kL1);
    EXPECT_EQ(message(), "");
    EXPECT_EQ(selectedStoredPlan.name(), "NOENDS");
}

// A point defined for a stored plan on PILOT WAYPOINT, then deleted on PILOT WPT LIST.
TEST_F(StoredPlanFilesTest, APilotWaypointAStoredPlanUsesIsNotDeleted) {
    makePlan("ZZAA-ZZAD", {"P"});
    enter("NEW1", kL2);
    ASSERT_EQ(fms().currentPage, navpages::kPilotWaypoint);
    enter("N4733.0E00836.0", kL2);
    ASSERT_EQ(legIdents(selectedStoredPlan), (std::vector<std::string>{"NEW1", "P"}));
    const std::string saved = fileText("ZZAA-ZZAD");
    for (const bool restarted : {false, true}) {
        if (restarted) {
            restartModule();
        }
        fms().setPage(navpages::kPilotWptList, 1);
        enter("*DELETE*", kL2);
        EXPECT_EQ(message(), "USED BY STORED FPL") << restarted;
        EXPECT_NE(fms().pilotPoints().find("NEW1"), nullptr) << restarted;
    }
    fms().setPage(cdu_page::kFlightPlanList, 1);
    enter("ZZAA-ZZAD", kL1);
    ASSERT_EQ(fms().currentPage, Fms::kStoredPlanPage) << message();
    EXPECT_EQ(legIdents(selectedStoredPlan), (std::vector<std::string>{"NEW1", "P"}));
    EXPECT_EQ(fileText("ZZAA-ZZAD"), saved);

    enter("*DELETE*", kL2);
    ASSERT_EQ(legIdents(selectedStoredPlan), (std::vector<std::string>{"P"}));
    fms().setPage(navpages::kPilotWptList, 1);
    enter("*DELETE*", kL2);
    EXPECT_EQ(fms().pilotPoints().find("NEW1"), nullptr) << "no plan uses it any more";
}

// The airway brings in a fix whose ident the plan file cannot hold.
TEST_F(StoredPlanFilesTest, ASaveThatCannotWriteEveryValueKeepsTheOldFile) {
    makePlan("ZZAA-ZZAD", {"P"});
    const std::string saved = fileText("ZZAA-ZZAD");
    enter("E5.Q", kL3);
    const std::vector<std::string> legs = legIdents(selectedStoredPlan);
    ASSERT_NE(std::find(legs.begin(), legs.end(), "X\nY"), legs.end()) << "on the page";
    EXPECT_EQ(fileText("ZZAA-ZZAD"), saved);
    EXPECT_TRUE(logged("Stored flight plan not saved: ZZAA-ZZAD.ri2v.fpl"));
    fms().setPage(cdu_page::kFlightPlanList, 1);
    enter("ZZAA-ZZAD", kL1);
    ASSERT_EQ(fms().currentPage, Fms::kStoredPlanPage);
    EXPECT_EQ(legIdents(selectedStoredPlan), (std::vector<std::string>{"P"}))
        << "the plan as last saved";
}

// A file that claims more route points than a plan holds is refused whole, and kept.
TEST_F(StoredPlanFilesTest, AFileOfMoreRoutePointsThanAPlanHoldsIsRefused) {
    makePlan("ZZAA-ZZAD", {"P"});
    std::string text = fileText("ZZAA-ZZAD");
    const std::size_t typeAt = text.find("Wpt.00.type=") + 12;
    const std::string type = text.substr(typeAt, text.find('\n', typeAt) - typeAt);
    const std::string count = "countOfPoints=1";
    const std::size_t points = StoredPlanLibrary::kMaxPoints + 1;
    text.replace(text.find(count), count.size(), "countOfPoints=" + std::to_string(points));
    for (std::size_t i = 1; i < points; ++i) {
        const std::string prefix = (i < 10 ? "Wpt.0" : "Wpt.") + std::to_string(i) + ".";
        text += prefix + "ident=" + (i % 2 ? "Q" : "P") + "\n" + prefix + "type=" + type + "\n" +
                prefix + "latitude=" + (i % 2 ? "47.6" : "47.5") + "\n" + prefix +
                "longtitude=" + (i % 2 ? "8.7" : "8.5") + "\n";
    }
    writeFileText("ZZAA-ZZAD", text);
    fms().setPage(cdu_page::kFlightPlanList, 1);
    enter("ZZAA-ZZAD", kL1);
    EXPECT_EQ(message(), "FPL CONTAINS INVALID WPT");
    EXPECT_EQ(fms().currentPage, cdu_page::kFlightPlanList);
    EXPECT_TRUE(logged("Stored flight plan refused: ZZAA-ZZAD claims 10001 route points"));
    EXPECT_EQ(fileText("ZZAA-ZZAD"), text);
}

} // namespace
} // namespace tavi::test
