#include "airframe/Mechanisation.h"
#include "avionics/Adc.h"
#include "cdu/pages/NavPageKeys.h"
#include "cdu/pages/PerfPages.h"
#include "fms/LegPrediction.h"
#include "support/CduSession.h"
#include "support/PredictionRoute.h"

#include <cmath>
#include <functional>
#include <gtest/gtest.h>

namespace tavi::test {
namespace {

using namespace navpages;

constexpr int32_t kClimbPage = 28;
constexpr int32_t kCruisePage = 29;
constexpr int32_t kDescentPage = 30;
using Phase = FlightPhasePages::Phase;

// CLIMB, CRUISE and DESCENT on a route of four 60 nm legs, the predictions and the air data
// written by the test; no frame runs after the set-up.
class FlightPhases : public testing::Test {
protected:
    FlightPhases() {
        buildPredictionRoute(activeFlightPlan, 4, 60.0);
        Adc& air = adc();
        air.maxOperatingSpeed = 320.0f;
        air.gearLimitSpeed = 320.0f;
        air.flapLimitSpeed = 200.0f;
        air.indicatedAltitude = 5000.0f;
        air.zuluSeconds = 14 * 3600;
    }
    PerfInit& perf() { return cdu.fms().perfInit; }
    Adc& adc() { return *cdu.module.aircraft().adc(); }
    FlightPhasePages& pages() { return cdu.fms().perfPages->phases; }
    void predict() {
        PerfInit& p = perf();
        p.initialised = true;
        p.initCrzAlt = 25000;
        p.cruiseAltitude = 25000;
        p.fuelWeight = 8000.0;
        p.prediction[PerfPrediction::TocTime] = 1100.0f;
        p.prediction[PerfPrediction::TocFuelOnBoard] = 7400.0f;
        p.prediction[PerfPrediction::TocDistance] = 123.4f;
        p.prediction[PerfPrediction::ClimbAltitude] = 25000.0f;
        p.prediction[PerfPrediction::TodDistance] = 150.0f;
        p.prediction[PerfPrediction::TodFuelOnBoard] = 6600.0f;
        p.prediction[PerfPrediction::ReserveFuel] = 2000.0f;
        for (FlightPlanLeg& leg : activeFlightPlan.legs) {
            leg.legTime = 600.0;
            leg.tfd.fuelRemaining = 6000.0f;
        }
    }

    CduSession cdu;
};

TEST_F(FlightPhases, NotInitializedBeforeThePredictions) {
    const std::pair<int32_t, const char*> titles[] = {
        {kClimbPage, "     270/.56M CLIMB  1/1"},
        {kCruisePage, "   LONG RANGE CRUISE 1/2"},
        {kDescentPage, "   310/.76M DESCENT  1/1"},
    };
    for (const auto& [page, title] : titles) {
        cdu.show(page);
        EXPECT_EQ(cdu.row(0), title);
        EXPECT_EQ(cdu.at(2, 4, 15), "NOT INITIALIZED") << page;
    }
    cdu.press(kNext);
    EXPECT_EQ(cdu.at(2, 4, 15), "NOT INITIALIZED") << "CRUISE 2";
}

TEST_F(FlightPhases, ThePageSpeedCommandKeepsEveryLimit) {
    perf().climbLimitedTarget = SpeedTarget(270, 0.70);
    perf().descentLimitedTarget = SpeedTarget(280, 0.74);
    const struct {
        const char* what;
        Phase phase;
        double altitude;
        std::function<void(Aircraft&)> set;
        int32_t speed;
        double mach;
    } cases[] = {
        {"below the limit altitude", Phase::Climb, 9000.0, [](Aircraft&) {}, 240, 0.70},
        {"at the limit altitude", Phase::Climb, 10000.0, [](Aircraft&) {}, 270, 0.70},
        {"descending, 2000 ft above it", Phase::Descent, 11900.0, [](Aircraft&) {}, 240, 0.74},
        {"flaps out", Phase::Climb, 15000.0,
         [](Aircraft& a) { a.mechanisation()->flapAngle = 5.0f; }, 200, 0.70},
        {"gear limit", Phase::Climb, 15000.0, [](Aircraft& a) { a.adc()->gearLimitSpeed = 230; },
         230, 0.70},
        {"a Mach constraint lowers only the Mach", Phase::Climb, 15000.0,
         [](Aircraft&) {
             activeFlightPlan.legs[0].vnav.hasSpeed = true;
             activeFlightPlan.legs[0].vnav.mach = 0.65f;
         },
         270, 0.65},
        {"an entered hold's speed", Phase::Climb, 15000.0,
         [](Aircraft&) { activeFlightPlan.legs[0].holding.entered = 1; }, 220, 0.70},
    };
    for (const auto& c : cases) {
        c.set(cdu.module.aircraft());
        const auto command = pages().pageSpeedCommand(c.phase, c.altitude);
        EXPECT_EQ(command.speed, c.speed) << c.what;
        EXPECT_NEAR(command.mach, c.mach, 1e-6) << c.what;
        cdu.module.aircraft().mechanisation()->flapAngle = 0.0f;
        adc().gearLimitSpeed = 320.0f;
        activeFlightPlan.legs[0].vnav.hasSpeed = false;
        activeFlightPlan.legs[0].holding.entered = 0;
    }
    perf().climbLimitedTarget = SpeedTarget(200, 0.70);
    activeFlightPlan.legs[0].holding.entered = 1;
    EXPECT_EQ(pages().pageSpeedCommand(Phase::Climb, 15000.0).speed, 200)
        << "the target below the hold's speed";
}

TEST_F(FlightPhases, ClimbShowsTheTopOfClimbOrPast) {
    predict();
    perf().climbLimitedTarget = SpeedTarget(250, 0.62);
    cdu.show(kClimbPage);
    EXPECT_EQ(cdu.row(1), "  TOC ALT      ETE/ETA");
    EXPECT_EQ(cdu.row(2), " FL250      00+18/");
    EXPECT_EQ(cdu.row(4), " 240/.62");
    EXPECT_TRUE(cdu.cell(4, 1).large) << "the speed limits";
    EXPECT_FALSE(cdu.cell(4, 5).large);
    EXPECT_EQ(cdu.row(5), "  DTG<\u2013\u2013TOC\u2013\u2013>FUEL REM");
    EXPECT_EQ(cdu.row(6), " 123.4              7.4");
    EXPECT_EQ(cdu.row(7), "\u25C4TAKEOFF         CRUISE\u25BA");
    cdu.fms().airborne = true;
    cdu.fms().drawPage();
    EXPECT_EQ(cdu.row(2), " FL250      00+18/1418Z");

    perf().cruiseReached = true;
    cdu.fms().drawPage();
    EXPECT_EQ(cdu.row(2), "                  PAST");
    EXPECT_EQ(cdu.row(4), "");
    EXPECT_EQ(cdu.row(6), "");
    cdu.press(kR4);
    EXPECT_EQ(cdu.fms().currentPage, kCruisePage);
}

TEST_F(FlightPhases, DescentEndsAtTheFirstConstraintAfterTheTopOfDescent) {
    predict();
    activeFlightPlan.legs[3].vnav.altitude = 3000;
    cdu.show(kDescentPage);
    EXPECT_EQ(cdu.row(2), " 3000       00+40/") << "no constraint: the last leg";
    EXPECT_EQ(cdu.row(6), " 240                6.0");
    activeFlightPlan.legs[2].vnav.hasAltitude = true;
    activeFlightPlan.legs[2].vnav.altitude = 8000;
    activeFlightPlan.legs[2].vnav.pathAngle = 3.0f;
    cdu.fms().drawPage();
    EXPECT_EQ(cdu.row(2), " 8000       00+30/");
    EXPECT_EQ(cdu.at(4, 20, 4), " 3.0");
    EXPECT_EQ(cdu.row(6), " 180                6.0");
    activeFlightPlan.legs[1].vnav.hasAltitude = true;
    cdu.fms().drawPage();
    EXPECT_EQ(cdu.row(6).substr(0, 4), " 180") << "the constraint before the top of descent";

    activeFlightPlan.legs[0].distance = 40.0;
    activeFlightPlan.legs[1].distance = 40.0;
    activeFlightPlan.legs[2].distance = 19.9;
    activeFlightPlan.legs[1].vnav.hasAltitude = false;
    perf().prediction[PerfPrediction::TodDistance] = 50.0f;
    cdu.fms().drawPage();
    EXPECT_EQ(cdu.row(6).substr(0, 5), " 99.9");
}

TEST_F(FlightPhases, CruiseSpeedAndStepClimb) {
    predict();
    perf().cruiseLimitedTarget = SpeedTarget(0, 0.70);
    perf().cruizeMode = 1;
    cdu.show(kCruisePage);
    EXPECT_EQ(cdu.row(0), "     MAX END CRUISE  1/2");
    EXPECT_EQ(cdu.row(4), ".00") << "the cruise Mach of maximum endurance";
    perf().stepPlanned = true;
    perf().stepRatio = 0.9;
    perf().stepDistance = 0.0;
    cdu.fms().drawPage();
    EXPECT_EQ(cdu.row(4), ".00                PAST");
    perf().stepPlanned = false;
    cdu.fms().drawPage();
    EXPECT_EQ(cdu.row(4), ".00");
    cdu.press(kL4);
    EXPECT_EQ(cdu.fms().currentPage, kClimbPage);
}

TEST_F(FlightPhases, TheRangeLoopEndsAtTheReserve) {
    predict();
    fillPerformanceTables(cdu.fms().performance());
    const LegPrediction range = pages().rangeToReserve();
    EXPECT_GE(range.fuel, 6000.0f);
    EXPECT_LT(range.distance, 10.0f * FlightPhasePages::kMaxRangeSteps);
    EXPECT_EQ(std::fmod(range.distance, 10.0f), 0.0f) << "whole 10 nm steps";

    perf().fuelWeight = 1500.0;
    EXPECT_EQ(pages().rangeToReserve().distance, 0.0f) << "at or below the reserve";
    cdu.show(kCruisePage, 2);
    EXPECT_EQ(cdu.row(2), " 0.0              00+00");
}

TEST_F(FlightPhases, TablesThatBurnNothingStillEndTheRangeLoop) {
    predict();
    cdu.show(kCruisePage, 2);
    EXPECT_EQ(pages().rangeToReserve().distance, 10.0f * FlightPhasePages::kMaxRangeSteps);
    EXPECT_EQ(cdu.row(2).substr(0, 6), " 20000");
    EXPECT_EQ(cdu.row(6), " 150.0              6.6");
    perf().descentStarted = true;
    cdu.fms().drawPage();
    EXPECT_EQ(cdu.row(2), "");
    EXPECT_EQ(cdu.row(6), "");
}

} // namespace
} // namespace tavi::test
