#include "cdu/pages/NavPageKeys.h"
#include "support/CduSession.h"

#include <cmath>
#include <functional>
#include <gtest/gtest.h>

namespace tavi::test {
namespace {

using namespace navpages;

constexpr int32_t kClimbModesPage = 21;
constexpr int32_t kCruiseModesPage = 22;
constexpr int32_t kDescentModesPage = 23;
constexpr int32_t kInitPage = 20;

// The three schedule pages, opened as PERFORMANCE INIT's right line keys open them.
class PerfModePages : public testing::Test {
protected:
    PerfInit& perf() { return cdu.fms().perfInit; }
    void expectReturnedToInit(const std::string& what) {
        EXPECT_EQ(cdu.fms().currentPage, kInitPage) << what;
        EXPECT_EQ(perf().subPage, 2) << what;
    }

    CduSession cdu;
};

TEST_F(PerfModePages, EachPageAsTheRecordStartsIt) {
    const struct {
        int32_t page;
        std::vector<std::string> rows;
    } pages[] = {
        {kClimbModesPage,
         {"      CLIMB MODES    1/1", " MANUAL          RETURN\u25BA", "270/.56M", "",
          "\u25C4270/.56M (ACT)", "", "", ""}},
        {kCruiseModesPage,
         {"      CRUISE MODES   1/1", " MANUAL          RETURN\u25BA", "310/.76M", "",
          "\u25C4LRC (ACT)      MAX END\u25BA", "", "\u25C4MAX SPD", ""}},
        {kDescentModesPage,
         {"     DESCENT MODES   1/1", " MANUAL          RETURN\u25BA", "310/.76M/3.0", "",
          "\u25C4310/.76M/3.0  (ACT)", "", "\u25C4VMO/MMO/4.0\u00B0", ""}},
    };
    for (const auto& page : pages) {
        cdu.show(page.page);
        for (int32_t row = 0; row < 8; ++row) {
            EXPECT_EQ(cdu.row(row), page.rows[static_cast<size_t>(row)])
                << "page " << page.page << " row " << row;
        }
        EXPECT_FALSE(cdu.cell(2, 0).large) << "the manual schedule is not in force";
        EXPECT_TRUE(cdu.cell(4, 1).large) << "the schedule in force";
    }
}

TEST_F(PerfModePages, TheActiveMarkFollowsTheManualCruiseText) {
    const struct {
        int32_t speed;
        double mach;
        const char* row2;
    } cases[] = {
        {280, 0.0, "280 (ACT)"},
        {0, 0.76, ".76M (ACT)"},
        {280, 0.76, "280/.76M (ACT)"},
    };
    perf().cruizeMode = 3;
    for (const auto& c : cases) {
        perf().manualCruiseIas = c.speed;
        perf().manualCruiseMach = c.mach;
        cdu.show(kCruiseModesPage);
        EXPECT_EQ(cdu.row(2), c.row2);
        EXPECT_TRUE(cdu.cell(2, 0).large);
    }
    perf().cruizeMode = 1;
    cdu.show(kCruiseModesPage);
    EXPECT_EQ(cdu.row(4), "\u25C4LRC      (ACT) MAX END\u25BA");
    EXPECT_TRUE(cdu.cell(4, 16).large);
    EXPECT_FALSE(cdu.cell(4, 1).large);
}

TEST_F(PerfModePages, SelectionsAndEntriesReturnToTheSchedules) {
    const struct {
        int32_t page;
        int32_t key;
        const char* entry;
        std::function<bool(const PerfInit&)> holds;
    } cases[] = {
        {kClimbModesPage, kL1, "",
         [](const PerfInit& p) {
             return p.isManualClimb;
         }},
        {kClimbModesPage, kL2, "",
         [](const PerfInit& p) {
             return !p.isManualClimb;
         }},
        {kClimbModesPage, kL1, "/.70",
         [](const PerfInit& p) {
             return p.isManualClimb && p.manualClimbIas == 270 &&
                    std::abs(p.manualClimbMach - 0.70) < 1e-9;
         }},
        {kClimbModesPage, kL1, "*DELETE*",
         [](const PerfInit& p) {
             return !p.isManualClimb && p.manualClimbMach == 0.56;
         }},
        {kCruiseModesPage, kR2, "",
         [](const PerfInit& p) {
             return p.cruizeMode == 1;
         }},
        {kCruiseModesPage, kL3, "",
         [](const PerfInit& p) {
             return p.cruizeMode == 2;
         }},
        {kCruiseModesPage, kL2, "",
         [](const PerfInit& p) {
             return p.cruizeMode == 0;
         }},
        {kCruiseModesPage, kL1, "",
         [](const PerfInit& p) {
             return p.cruizeMode == 3 && p.manualCruiseIas == 310;
         }},
        {kCruiseModesPage, kL1, "280",
         [](const PerfInit& p) {
             return p.manualCruiseIas == 280 && p.manualCruiseMach == 0.0;
         }},
        // Deleting restores the defaults, not the 310/.76 the record started with.
        {kCruiseModesPage, kL1, "*DELETE*",
         [](const PerfInit& p) {
             return p.cruizeMode == 0 && p.manualCruiseIas == 300 && p.manualCruiseMach == 0.75;
         }},
        {kDescentModesPage, kL3, "3.5",
         [](const PerfInit& p) {
             return p.descentMode == 1 && p.vmoMmoDescentAngle == 3.5;
         }},
        {kDescentModesPage, kL3, "//5",
         [](const PerfInit& p) {
             return p.vmoMmoDescentAngle == 5;
         }},
        {kDescentModesPage, kL1, "290/.74/2.5",
         [](const PerfInit& p) {
             return p.descentMode == 2 && p.manualDescentIas == 290 && p.manualDescentAngle == 2.5;
         }},
        {kDescentModesPage, kL2, "",
         [](const PerfInit& p) {
             return p.descentMode == 0;
         }},
        {kDescentModesPage, kL3, "",
         [](const PerfInit& p) {
             return p.descentMode == 1;
         }},
        {kDescentModesPage, kL1, "*DELETE*",
         [](const PerfInit& p) {
             return p.descentMode == 0 && p.manualDescentIas == 310;
         }},
    };
    for (const auto& c : cases) {
        cdu.show(c.page);
        cdu.fms().setScratchpad(c.entry);
        cdu.press(c.key);
        EXPECT_EQ(cdu.message(), "") << c.entry;
        EXPECT_EQ(cdu.scratchpad(), "") << c.entry;
        EXPECT_TRUE(c.holds(perf())) << c.page << " " << c.key << " " << c.entry;
        expectReturnedToInit(c.entry);
    }
}

TEST_F(PerfModePages, RefusedEntriesStayOnThePage) {
    const struct {
        int32_t page;
        int32_t key;
        const char* entry;
    } cases[] = {
        {kClimbModesPage, kL1, "451"},      {kClimbModesPage, kL1, "/.96"},
        {kCruiseModesPage, kL1, "/.76"},    {kCruiseModesPage, kL1, "74"},
        {kDescentModesPage, kL1, "280//3"}, {kDescentModesPage, kL3, "280"},
        {kDescentModesPage, kL3, "6.5"},    {kDescentModesPage, kL3, "*DELETE*"},
    };
    for (const auto& c : cases) {
        cdu.show(c.page);
        cdu.fms().messages.clear();
        const PerfInit before = perf();
        cdu.fms().setScratchpad(c.entry);
        cdu.press(c.key);
        EXPECT_EQ(cdu.message(), "INVALID ENTRY") << c.entry;
        EXPECT_EQ(cdu.fms().currentPage, c.page) << c.entry;
        EXPECT_EQ(perf().manualClimbIas, before.manualClimbIas) << c.entry;
        EXPECT_EQ(perf().manualClimbMach, before.manualClimbMach) << c.entry;
        EXPECT_EQ(perf().cruizeMode, before.cruizeMode) << c.entry;
        EXPECT_EQ(perf().manualCruiseIas, before.manualCruiseIas) << c.entry;
        EXPECT_EQ(perf().descentMode, before.descentMode) << c.entry;
        EXPECT_EQ(perf().manualDescentIas, before.manualDescentIas) << c.entry;
        EXPECT_EQ(perf().vmoMmoDescentAngle, before.vmoMmoDescentAngle) << c.entry;
    }
}

TEST_F(PerfModePages, ReturnLeavesTheSchedulesAsTheyAre) {
    for (const int32_t page : {kClimbModesPage, kCruiseModesPage, kDescentModesPage}) {
        cdu.show(page);
        cdu.press(kR1);
        expectReturnedToInit("RETURN");
    }
}

} // namespace
} // namespace tavi::test
