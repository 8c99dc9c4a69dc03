#include "cdu/pages/NavPageKeys.h"
#include "support/CduSession.h"

#include <gtest/gtest.h>

namespace tavi::test {
namespace {

using namespace navpages;

constexpr int32_t kDepAppSpeedPage = 24;

// PERF INDEX behind the PERF key, and DEP/APP SPEED.
class PerfIndexPages : public testing::Test {
protected:
    PerfInit& perf() { return cdu.fms().perfInit; }

    CduSession cdu;
};

TEST_F(PerfIndexPages, ThePerfKeyOpensTheIndexWhosePromptsLeadToEachPage) {
    cdu.press(Fms::kPerfKey);
    EXPECT_EQ(cdu.row(0), "       PERF INDEX    1/2");
    EXPECT_EQ(cdu.row(1), "\u25C4PERF INIT    PERF DATA\u25BA");
    EXPECT_EQ(cdu.row(3), "\u25C4PERF PLAN      TAKEOFF\u25BA");
    EXPECT_EQ(cdu.row(5), "\u25C4CLIMB           CRUISE\u25BA");
    EXPECT_EQ(cdu.row(7), "\u25C4DESCENT        LANDING\u25BA");
    const std::pair<int32_t, int32_t> prompts[] = {{kL1, 20}, {kL2, 26}, {kL3, 28}, {kL4, 30},
                                                   {kR1, 27}, {kR2, 50}, {kR3, 29}, {kR4, 51}};
    for (const auto& [key, page] : prompts) {
        cdu.press(Fms::kPerfKey);
        cdu.press(key);
        EXPECT_EQ(cdu.fms().currentPage, page) << key;
    }
    cdu.press(Fms::kPerfKey);
    cdu.press(kPrev);
    EXPECT_EQ(cdu.row(0), "       PERF INDEX    2/2");
    EXPECT_EQ(cdu.row(1), "\u25C4FUEL MGT");
    for (int32_t row = 2; row < 8; ++row) {
        EXPECT_EQ(cdu.row(row), "") << row;
    }
    cdu.press(kR1);
    EXPECT_EQ(cdu.fms().currentPage, 19) << "only L1 acts on sub-page 2";
    cdu.press(kL1);
    EXPECT_EQ(cdu.fms().currentPage, 31);
}

TEST_F(PerfIndexPages, DepartureAndApproachSpeedsWithTheirDefaults) {
    cdu.show(kDepAppSpeedPage);
    EXPECT_EQ(cdu.row(0), "    DEPARTURE SPEED  1/2");
    EXPECT_EQ(cdu.row(1), " SPEED LIMIT     RETURN\u25BA");
    EXPECT_EQ(cdu.row(2), "200");
    EXPECT_EQ(cdu.row(3),
              " AGL<\u2013\u2013\u2013\u2013\u2013LIMIT\u2013\u2013\u2013\u2013\u2013>NM");
    EXPECT_EQ(cdu.row(4), "2500                 4.0");
    perf().depDist = 12.0;
    cdu.fms().drawPage();
    EXPECT_EQ(cdu.at(4, 20, 4), "12.0");
    cdu.press(kNext);
    EXPECT_EQ(cdu.row(0), "     APPROACH SPEED  2/2");
    EXPECT_EQ(cdu.row(1), " CLEAN           RETURN\u25BA");
    EXPECT_EQ(cdu.row(2), "200");
    EXPECT_EQ(cdu.row(3), " DIST TO DESTINATION");
    EXPECT_EQ(cdu.row(4), "15.0");
    EXPECT_EQ(cdu.row(5), " FIRST APP WPT");
    EXPECT_EQ(cdu.row(6), "YES              OR  NO\u25BA");
    EXPECT_FALSE(cdu.cell(6, 21).large) << "the other answer is small";
    cdu.enter("ABC", kR3);
    EXPECT_FALSE(perf().isFirstAppWpt) << "the toggle ignores the pad";
    EXPECT_EQ(cdu.scratchpad(), "ABC");
    EXPECT_EQ(cdu.row(6), "NO               OR YES\u25BA");
    cdu.press(kR1);
    EXPECT_EQ(cdu.fms().currentPage, 20);
    EXPECT_EQ(perf().subPage, 2);
}

TEST_F(PerfIndexPages, SpeedEntriesTakenAndRefused) {
    const struct {
        int32_t subPage;
        int32_t key;
        const char* entry;
        bool taken;
    } cases[] = {
        {1, kL1, "74", false},  {1, kL1, "450", true},   {1, kL2, "60001", false},
        {1, kL2, "3000", true}, {1, kR2, "2.55", false}, {1, kR2, "5.5", true},
        {2, kL1, "451", false}, {2, kL1, "180", true},   {2, kL2, "*DELETE*", false},
        {2, kL2, "12.5", true},
    };
    for (const auto& c : cases) {
        cdu.show(kDepAppSpeedPage, c.subPage);
        cdu.fms().messages.clear();
        cdu.fms().setScratchpad(c.entry);
        cdu.press(c.key);
        EXPECT_EQ(cdu.message(), c.taken ? "" : "INVALID ENTRY") << c.entry;
        cdu.fms().setScratchpad("");
    }
    EXPECT_EQ(perf().depIas, 450);
    EXPECT_EQ(perf().depAgl, 3000);
    EXPECT_EQ(perf().depDist, 5.5);
    EXPECT_EQ(perf().appIas, 180);
    EXPECT_EQ(perf().appDist, 12.5);

    cdu.show(kDepAppSpeedPage, 1);
    cdu.press(kR2);
    EXPECT_EQ(cdu.scratchpad(), "5.5") << "an empty pad recalls";
}

} // namespace
} // namespace tavi::test
