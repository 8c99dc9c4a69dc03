#include "cdu/pages/NavPageKeys.h"
#include "support/CduSession.h"

#include <algorithm>
#include <gtest/gtest.h>

namespace tavi::test {
namespace {

using namespace navpages;

TEST(NavIdentPage, ShowsTodayTheCycleAndTheSoftwareAtPowerUp) {
    CduSession cdu;
    ASSERT_EQ(cdu.fms().currentPage, kNavIdent);
    EXPECT_EQ(cdu.row(0), "       NAV IDENT     1/1");
    EXPECT_EQ(cdu.row(1), " DATE      ACTIVE NDB");
    EXPECT_EQ(cdu.row(2), "01FEB24 25JAN 21FEB/24");
    EXPECT_EQ(cdu.row(3), " UTC");
    EXPECT_EQ(cdu.row(4), "1343Z");
    EXPECT_EQ(cdu.row(5), "  SW     NDB V2.00  4M");
    EXPECT_EQ(cdu.row(6), " NZ5.2     WORLD24-01");
    EXPECT_EQ(cdu.cell(2, 0).colour, CduColour::Cyan);
    EXPECT_EQ(cdu.cell(2, 8).colour, CduColour::Green);
    EXPECT_FALSE(cdu.cell(2, 8).large) << "the day of a cycle date is small";
    EXPECT_TRUE(cdu.cell(2, 10).large);
    EXPECT_FALSE(cdu.cell(4, 4).large) << "the Z";
    EXPECT_TRUE(cdu.row(7).starts_with("\u25C4MAINTENANCE"));
    EXPECT_TRUE(cdu.row(7).ends_with("POS INIT\u25BA"));
    EXPECT_TRUE(cdu.cell(7, 15).reverse) << "the position is not initialised";
    const std::vector<std::string> log = cdu.module.logLines();
    for (const char* line : {"Initing cycle", "loading cycle start date", "loading cycle end date",
                             "loading cycle name", "cycle inited"}) {
        EXPECT_TRUE(std::any_of(log.begin(), log.end(), [line](const std::string& l) {
            return l.ends_with(line);
        })) << line;
    }
}

TEST(NavIdentPage, TheCycleIsGreenFromItsFirstToItsLastDayInclusive) {
    CduSession cdu;
    const struct {
        int month;
        int day;
        CduColour colour;
    } cases[] = {{1, 24, CduColour::Red},
                 {1, 25, CduColour::Green},
                 {2, 21, CduColour::Green},
                 {2, 22, CduColour::Red}};
    for (const auto& c : cases) {
        cdu.setDate(2024, c.month, c.day);
        cdu.frame();
        EXPECT_EQ(cdu.cell(2, 16).colour, c.colour) << c.month << "/" << c.day;
        EXPECT_EQ(cdu.cell(2, 0).colour, CduColour::Cyan);
    }
}

TEST(NavIdentPage, TimeOfDayWrapsAtMidnight) {
    CduSession cdu;
    for (const auto& [seconds, shown] : {std::pair{86399.0, "2359Z"}, {86400.0, "0000Z"}}) {
        cdu.setZuluSeconds(seconds);
        cdu.frame();
        EXPECT_EQ(cdu.row(4), shown);
    }
}

TEST(NavIdentPage, CycleNamesAndDatesOfOtherShapes) {
    const struct {
        const char* sql;
        const char* row6;
        const char* row2;
    } cases[] = {
        {"UPDATE config SET val = '0910' WHERE [key] = 'CycleName';", " NZ5.2     WORLD09-10",
         "01FEB24 25JAN 21FEB/24"},
        {"UPDATE config SET val = '09-10' WHERE [key] = 'CycleName';", " NZ5.2     WORLD09-10",
         "01FEB24 25JAN 21FEB/24"},
        {"UPDATE config SET val = '1' WHERE [key] = 'CycleName';", " NZ5.2", "01FEB24"},
        {"DELETE FROM config WHERE [key] = 'CycleEndDate';", " NZ5.2", "01FEB24"},
    };
    for (const auto& c : cases) {
        CduSession cdu(c.sql);
        EXPECT_EQ(cdu.row(6), c.row6) << c.sql;
        EXPECT_EQ(cdu.row(2), c.row2) << c.sql;
        EXPECT_TRUE(cdu.fms().navIdentPages.cycle().loaded);
    }
}

TEST(NavIdentPage, LineKeysOpenMaintenanceAndPositionInit) {
    CduSession cdu;
    cdu.press(kL4);
    EXPECT_EQ(cdu.fms().currentPage, kMaintenance);
    cdu.show(kNavIdent);
    cdu.press(kR4);
    EXPECT_EQ(cdu.fms().currentPage, kPositionInit);
    cdu.show(kNavIdent);
    for (const int32_t key : {kL1, kL2, kL3, kR1, kR2, kR3, kPrev, kNext}) {
        cdu.press(key);
        EXPECT_EQ(cdu.fms().currentPage, kNavIdent) << key;
    }
}

TEST(NavIndexPage, TwoSubPagesOfPrompts) {
    CduSession cdu;
    cdu.fms().position.initialised = true;
    cdu.press(Fms::kNavKey);
    EXPECT_EQ(cdu.row(0), "       NAV INDEX     1/2");
    EXPECT_EQ(cdu.row(1), "\u25C4FPL LIST       FPL SEL\u25BA");
    EXPECT_EQ(cdu.row(3), "\u25C4WPT LIST     DATA BASE\u25BA");
    EXPECT_EQ(cdu.row(5), "\u25C4DEPARTURE      ARRIVAL\u25BA");
    EXPECT_EQ(cdu.row(7), "\u25C4POS SENSORS       TUNE\u25BA");
    cdu.press(kNext);
    EXPECT_EQ(cdu.row(0), "       NAV INDEX     2/2");
    EXPECT_EQ(cdu.row(1), "\u25C4LOAD FS FPL   PATTERNS\u25BA");
    EXPECT_EQ(cdu.row(3), "\u25C4IDENT      MAINTENANCE\u25BA");
    EXPECT_EQ(cdu.row(5), "\u25C4POS INIT       FLT SUM\u25BA");
    EXPECT_EQ(cdu.row(7), "");
    cdu.press(kPrev);
    EXPECT_EQ(cdu.fms().navIndexSubPage, 1);
}

TEST(NavIndexPage, EachLineKeyOpensItsPage) {
    const int32_t stays = kNavIndex;
    const struct {
        int32_t key;
        int32_t first;
        int32_t second;
    } cases[] = {
        {kL1, kFlightPlanList, stays},           {kL2, kPilotWptList, kNavIdent},
        {kL3, kDepartureRunways, kPositionInit}, {kL4, kPosSensors, stays},
        {kR1, kFltPlanSelect, kPatterns},        {kR2, kDataBaseWpt, kMaintenance},
        {kR3, kArrival, kFlightSummary},         {kR4, kRadioTuning, stays},
    };
    CduSession cdu;
    for (const auto& c : cases) {
        for (const int32_t subPage : {1, 2}) {
            cdu.show(kNavIndex, subPage);
            cdu.press(c.key);
            EXPECT_EQ(cdu.fms().currentPage, subPage == 1 ? c.first : c.second)
                << c.key << " on " << subPage;
        }
    }
}

} // namespace
} // namespace tavi::test
