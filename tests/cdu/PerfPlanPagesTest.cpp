#include "cdu/pages/NavPageKeys.h"
#include "cdu/pages/PerfPages.h"
#include "support/CduSession.h"
#include "support/PredictionRoute.h"

#include <gtest/gtest.h>

namespace tavi::test {
namespace {

using namespace navpages;

constexpr int32_t kPerfPlanPage = 26;
constexpr int32_t kWindTempPage = 55;

// PERF PLAN and WIND/TEMP on a route of equal legs whose predictions the test writes in.
class PerfPlanPages : public testing::Test {
protected:
    PerfPlanPages() {
        buildPredictionRoute(activeFlightPlan, 4, 60.0);
        perf().fuelWeight = 6000.0;
    }
    PerfInit& perf() { return cdu.fms().perfInit; }
    FlightPlanLeg& leg(std::size_t index) { return activeFlightPlan.legs[index]; }
    void predict() {
        perf().initialised = true;
        for (std::size_t i = 0; i < activeFlightPlan.legCount(); ++i) {
            leg(i).tfd.fuelRemaining = 8400.0f - 500.0f * static_cast<float>(i);
            leg(i).legTime = 754.0 + 60.0 * static_cast<double>(i);
        }
    }

    CduSession cdu;
};

TEST_F(PerfPlanPages, NotInitializedUntilThePredictionsRan) {
    cdu.show(kPerfPlanPage);
    EXPECT_EQ(cdu.row(0), "       PERF PLAN     1/1");
    EXPECT_EQ(cdu.row(1), "        FUEL/ETE");
    EXPECT_EQ(cdu.row(2), "");
    EXPECT_EQ(cdu.row(4), "     NOT INITIALIZED");
    EXPECT_EQ(cdu.row(7), "\u25C4PERF INIT    PERF DATA\u25BA");
}

TEST_F(PerfPlanPages, EntriesFromTheActiveLegToTheDestination) {
    predict();
    activeFlightPlan.activeLeg = 1;
    cdu.show(kPerfPlanPage);
    EXPECT_EQ(cdu.row(0), "       PERF PLAN     1/3");
    EXPECT_EQ(cdu.row(1), "  FROM  FUEL/ETE");
    EXPECT_EQ(cdu.row(2), " W0      6.0/");
    EXPECT_EQ(cdu.row(3), "  TO");
    EXPECT_EQ(cdu.row(4), " W1      7.9/00+13  W/T\u25BA");
    EXPECT_EQ(cdu.row(6), " W2      7.4/00+14  W/T\u25BA");
    EXPECT_EQ(cdu.cell(2, 1).colour, CduColour::Yellow);
    EXPECT_EQ(cdu.cell(4, 1).colour, CduColour::Magenta) << "the active waypoint";
    EXPECT_EQ(cdu.cell(6, 1).colour, CduColour::Green);
    EXPECT_FALSE(cdu.cell(4, 9).large);

    cdu.press(kNext);
    EXPECT_EQ(cdu.row(0), "       PERF PLAN     2/3");
    EXPECT_EQ(cdu.row(2), " W3      6.9/00+15  W/T\u25BA");
    EXPECT_EQ(cdu.row(3), "                   DEST");
    EXPECT_EQ(cdu.row(4), "                    KDST");
    EXPECT_EQ(cdu.row(5), "");
    EXPECT_EQ(cdu.row(6), "");

    cdu.press(kNext);
    EXPECT_EQ(cdu.row(0), "     ALTN PERF PLAN  3/3");
    EXPECT_EQ(cdu.row(3), "    NO ALTERNATE FPL");
    EXPECT_EQ(cdu.row(4), "        ENTERED");
    cdu.press(kNext);
    EXPECT_EQ(cdu.fms().perfPages->plan.perfPlanSubPage, 1);
    cdu.press(kPrev);
    EXPECT_EQ(cdu.fms().perfPages->plan.perfPlanSubPage, 3);
}

TEST_F(PerfPlanPages, ADiscontinuityHasNoFuelTimeOrPrompt) {
    predict();
    leg(0).setDiscontinuity(true);
    cdu.show(kPerfPlanPage);
    EXPECT_EQ(cdu.row(3), "  TO");
    EXPECT_EQ(cdu.row(4), "DISCONTINUITY");
    cdu.enter("", kR2);
    EXPECT_EQ(cdu.fms().currentPage, kPerfPlanPage) << "no W/T on a discontinuity";
}

TEST_F(PerfPlanPages, PagingDoesNotClampToAShrunkCount) {
    predict();
    cdu.show(kPerfPlanPage, 5);
    cdu.press(kPrev);
    EXPECT_EQ(cdu.fms().perfPages->plan.perfPlanSubPage, 4);
    cdu.show(kPerfPlanPage, 5);
    cdu.press(kNext);
    EXPECT_EQ(cdu.fms().perfPages->plan.perfPlanSubPage, 1);
    cdu.press(kL4);
    EXPECT_EQ(cdu.fms().currentPage, 20);
}

TEST_F(PerfPlanPages, WindTempOpensOnTheLegOfTheWtPromptAndReturns) {
    predict();
    activeFlightPlan.activeLeg = 1;
    cdu.show(kPerfPlanPage, 2);
    cdu.press(kR1);
    ASSERT_EQ(cdu.fms().currentPage, kWindTempPage);
    EXPECT_EQ(cdu.row(0), "       WIND/TEMP     3/3");
    EXPECT_EQ(cdu.row(1), " WAYPOINT        RETURN\u25BA");
    EXPECT_EQ(cdu.row(2), "W3");
    EXPECT_EQ(cdu.row(3), " ALTITUDE          WIND");
    EXPECT_EQ(cdu.row(4), "-001             000T/00");
    EXPECT_EQ(cdu.row(5), "\u25C4REQUEST           TEMP");
    EXPECT_EQ(cdu.row(6), "                  -100\u00B0C");
    EXPECT_EQ(cdu.row(7), "");
    cdu.press(kR1);
    EXPECT_EQ(cdu.fms().currentPage, kPerfPlanPage);
    EXPECT_EQ(cdu.fms().perfPages->plan.perfPlanSubPage, 2);
}

TEST_F(PerfPlanPages, WindTempEditsStayInTheCopyUntilEnter) {
    activeFlightPlan.activeLeg = 1;
    leg(2).vnav.altitude = 24000;
    cdu.show(kWindTempPage, 2);
    cdu.press(kR4);
    EXPECT_EQ(leg(2).windDirection, -1) << "ENTER without an edit changes nothing";

    const struct {
        int32_t key;
        const char* entry;
        const char* row;
        int32_t rowIndex;
    } edits[] = {
        {kL2, "FL250", "FL250", 4},    {kR2, "270/45", "270T/45", 4},
        {kR3, "/32", "+0\u00B0C", 6},  {kR3, "-56", "-56\u00B0C", 6},
        {kL2, "*DELETE*", "FL240", 4}, {kR3, "*DELETE*", "-32\u00B0C", 6},
    };
    for (const auto& e : edits) {
        cdu.fms().setScratchpad(e.entry);
        cdu.press(e.key);
        EXPECT_EQ(cdu.scratchpad(), "") << e.entry;
        EXPECT_NE(cdu.row(e.rowIndex).find(e.row), std::string::npos)
            << e.entry << ": " << cdu.row(e.rowIndex);
    }
    EXPECT_TRUE(cdu.cell(4, 0).reverse) << "edits show reversed";
    EXPECT_EQ(cdu.row(7), "\u25C4CLEAR            ENTER\u25BA");
    EXPECT_EQ(leg(2).windDirection, -1) << "the leg keeps its values";

    cdu.fms().setScratchpad("361/10");
    cdu.press(kR2);
    EXPECT_EQ(cdu.message(), "INVALID ENTRY");
    EXPECT_EQ(cdu.fms().perfPages->plan.windTemp.windDirection, 270);
    cdu.fms().messages.clear();
    cdu.fms().setScratchpad("");

    cdu.press(kR4);
    EXPECT_EQ(leg(2).windDirection, 270);
    EXPECT_EQ(leg(2).windSpeed, 45);
    EXPECT_EQ(leg(2).temperature, -32) << "ISA at FL240, truncated";
    EXPECT_EQ(leg(2).temperatureAltitude, 24000);
    EXPECT_FALSE(cdu.cell(4, 0).reverse);

    cdu.fms().setScratchpad("*DELETE*");
    cdu.press(kR2);
    cdu.press(kL4);
    EXPECT_EQ(cdu.row(4).substr(17), "270T/45") << "CLEAR drops the edit";
    cdu.fms().setScratchpad("*DELETE*");
    cdu.press(kR2);
    cdu.press(kR4);
    EXPECT_EQ(leg(2).windDirection, -1) << "a deleted wind stored: no wind of its own";
    EXPECT_EQ(leg(2).windSpeed, -1);
}

TEST_F(PerfPlanPages, WindTempPagingSkipsNonFixLegsAndNeverPassesTheEnd) {
    activeFlightPlan.activeLeg = 1;
    cdu.show(kWindTempPage, 3);
    cdu.press(kNext);
    EXPECT_EQ(cdu.fms().perfPages->plan.windTemp.subPage, 1) << "wraps to the active leg";
    EXPECT_EQ(cdu.row(2), "W1");
    leg(2).setDiscontinuity(true);
    cdu.press(kNext);
    EXPECT_EQ(cdu.row(2), "W3") << "the discontinuity is passed over";
    cdu.press(kPrev);
    EXPECT_EQ(cdu.row(2), "W1");

    // The plan shrinks while the page is shown.
    activeFlightPlan.legs.resize(2);
    cdu.press(kPrev);
    EXPECT_EQ(cdu.fms().perfPages->plan.windTemp.subPage, 1);
    EXPECT_EQ(cdu.row(2), "W1");
    cdu.fms().perfPages->plan.windTemp.subPage = 3;
    cdu.fms().drawPage();
    EXPECT_EQ(cdu.row(2), "") << "no leg there: title, page number and RETURN only";
    EXPECT_EQ(cdu.row(1), "                 RETURN\u25BA");
    cdu.press(kR4);
    cdu.press(kR1);
    EXPECT_EQ(cdu.fms().currentPage, kPerfPlanPage);
}

TEST_F(PerfPlanPages, RequestAsksTheWeatherAtEveryLegAhead) {
    activeFlightPlan.activeLeg = 1;
    leg(3).vnav.altitude = 10000;
    cdu.show(kWindTempPage, 1);
    cdu.press(kL3);
    const auto& requests = cdu.module.simulator.simConnect.weatherRequests();
    ASSERT_EQ(requests.size(), 3u);
    EXPECT_EQ(requests[0].requestId, 1001u);
    EXPECT_EQ(requests[2].requestId, 1003u);
    EXPECT_FLOAT_EQ(requests[2].altitude, 3048.0f);
    EXPECT_FLOAT_EQ(requests[2].longitude, static_cast<float>(leg(3).wpt.longitude));
    EXPECT_EQ(cdu.fms().currentPage, kWindTempPage);
}

} // namespace
} // namespace tavi::test
