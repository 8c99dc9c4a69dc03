#include "cdu/pages/NavPageKeys.h"
#include "support/CduSession.h"
#include "support/PredictionRoute.h"

#include <gtest/gtest.h>

namespace tavi::test {
namespace {

using namespace navpages;

constexpr int32_t kPerfDataPage = 27;

// PERF DATA with the predictions the test writes into the record.
class PerfDataPages : public testing::Test {
protected:
    PerfDataPages() { buildPredictionRoute(activeFlightPlan, 4, 60.0); }
    PerfInit& perf() { return cdu.fms().perfInit; }
    void predict() {
        PerfInit& p = perf();
        p.initialised = true;
        p.initCrzAlt = 25000;
        p.lastMaxAltitude = 37000;
        p.prediction[PerfPrediction::FuelRequired] = 2500.0f;
        p.prediction[PerfPrediction::ReserveFuel] = 1500.0f;
        p.prediction[PerfPrediction::ExtraFuel] = 2420.0f;
        p.prediction[PerfPrediction::LandingWeight] = 33420.0f;
        p.departurePrediction[PerfPrediction::ExtraFuel] = 2000.0f;
        p.cruiseWindDirection = 270;
        p.cruiseWindSpeed = 40;
        p.cruiseWindComponent = -12;
        activeFlightPlan.timeToGo = 4500.0;
        activeFlightPlan.legs.back().eta = 15 * 3600 + 30 * 60;
    }

    CduSession cdu;
};

TEST_F(PerfDataPages, NotInitializedKeepsOnlyTheLabels) {
    const struct {
        int32_t subPage;
        int32_t row;
    } places[] = {{1, 4}, {2, 3}, {3, 2}, {4, 3}};
    for (const auto& place : places) {
        cdu.show(kPerfDataPage, place.subPage);
        EXPECT_EQ(cdu.at(place.row, 4, 15), "NOT INITIALIZED") << place.subPage;
        EXPECT_EQ(cdu.row(7), "\u25C4PERF INIT    DEPARTURE\u25BA");
    }
    EXPECT_EQ(cdu.row(1), "      FUEL RESERVE");
    EXPECT_EQ(cdu.row(4), " REQ/PLAN");
}

TEST_F(PerfDataPages, EachSubPageWithPredictions) {
    predict();
    cdu.show(kPerfDataPage, 1);
    EXPECT_EQ(cdu.row(0), "       PERF DATA     1/4");
    EXPECT_EQ(cdu.row(1), " CRZ/CEIL ALT  STEP INC");
    EXPECT_EQ(cdu.row(2), "FL250/FL370            0");
    EXPECT_EQ(cdu.row(3), "  DEST            ALTN");
    EXPECT_EQ(cdu.row(4), " 01+15<\u2013\u2013\u2013ETE\u2013\u2013\u2013\u2013>");
    EXPECT_EQ(cdu.row(5), "   4.0<\u2013FUEL REQ\u2013>");
    EXPECT_EQ(cdu.row(6), "   0.2<\u2013FUEL FOM\u2013>");
    cdu.fms().fuelUseKg = true;
    cdu.fms().drawPage();
    EXPECT_EQ(cdu.row(6).substr(0, 6), "   0.1");
    cdu.fms().fuelUseKg = false;

    cdu.press(kNext);
    EXPECT_EQ(cdu.row(2), " 240.0<\u2013\u2013\u2013DIST\u2013\u2013\u2013>");
    EXPECT_EQ(cdu.row(3), "      <\u2013\u2013\u2013ETA\u2013\u2013\u2013\u2013>")
        << "no ETA on the ground";
    EXPECT_EQ(cdu.row(4), "   2.4<\u2013FUEL REM\u2013>");
    EXPECT_EQ(cdu.row(5), "  33.4<\u2013GROSS WT\u2013>");
    cdu.fms().airborne = true;
    cdu.fms().drawPage();
    EXPECT_EQ(cdu.row(3).substr(0, 6), " 1530Z");

    cdu.press(kNext);
    EXPECT_EQ(cdu.row(1), "  CRZ<\u2013\u2013AVG WIND\u2013\u2013\u2013>HW");
    EXPECT_EQ(cdu.row(2), " 270T/40             12");
    EXPECT_EQ(cdu.row(4), " PREFLIGHT PLAN     2.0");
    EXPECT_EQ(cdu.row(5), " UPDATED PLAN       2.4");
    EXPECT_EQ(cdu.row(6), " DIFFERENCE        +0.4");

    cdu.press(kNext);
    EXPECT_EQ(cdu.row(1), "   NBAA FUEL RESERVE");
    EXPECT_EQ(cdu.row(2), "  AT DEST      200NM +");
    EXPECT_EQ(cdu.row(3), "  30 MIN @ 5000 @ 195");
    EXPECT_EQ(cdu.row(4), " REQ/PLAN       1.5/2.0");
    perf().fuelReserveType = 2;
    perf().fuelReserveTime = 45.0;
    cdu.fms().drawPage();
    EXPECT_EQ(cdu.row(3), "  45 MIN @ 5000 @ 195");
    perf().fuelReserveType = 1;
    perf().fuelReserveWeight = 1500.0;
    cdu.fms().fuelUseKg = true;
    cdu.fms().drawPage();
    EXPECT_EQ(cdu.row(1), "      FUEL RESERVE");
    EXPECT_EQ(cdu.row(3), "         680 KG");
}

TEST_F(PerfDataPages, TheFuelDifferenceIsSignedUnlessItReadsZero) {
    predict();
    cdu.fms().airborne = true;
    const struct {
        float updated;
        const char* text;
    } cases[] = {{2420.0f, "+0.4"}, {1970.0f, "0.0"}, {1940.0f, "-0.1"}};
    cdu.show(kPerfDataPage, 3);
    for (const auto& c : cases) {
        perf().prediction[PerfPrediction::ExtraFuel] = c.updated;
        cdu.fms().drawPage();
        EXPECT_EQ(cdu.row(6).substr(cdu.row(6).size() - std::string(c.text).size()), c.text);
    }
}

TEST_F(PerfDataPages, KeysByTheOrigin) {
    cdu.show(kPerfDataPage, 4);
    cdu.press(kNext);
    EXPECT_EQ(cdu.row(0), "       PERF DATA     1/4");
    cdu.press(kR4);
    EXPECT_EQ(cdu.fms().currentPage, 38) << "an airport origin: DEPARTURE RUNWAYS";
    activeFlightPlan.org.kind = WaypointKind::Runway;
    cdu.show(kPerfDataPage, 1);
    EXPECT_EQ(cdu.row(7), "\u25C4PERF INIT      TAKEOFF\u25BA");
    cdu.press(kR4);
    EXPECT_EQ(cdu.fms().currentPage, 50);
    cdu.show(kPerfDataPage, 1);
    cdu.press(kL4);
    EXPECT_EQ(cdu.fms().currentPage, 20);
}

} // namespace
} // namespace tavi::test
