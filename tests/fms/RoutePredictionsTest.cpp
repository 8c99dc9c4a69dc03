#include "fms/RoutePredictions.h"

#include "cdu/PerfInit.h"
#include "fms/FlightPlan.h"
#include "fms/FmsPerf.h"
#include "fms/SpeedSchedules.h"
#include "support/PredictionRoute.h"

#include <cmath>
#include <gtest/gtest.h>
#include <limits>

namespace tavi::test {
namespace {

class RoutePrediction : public testing::Test {
protected:
    RoutePrediction() {
        perfInit.passengerCount = 0;
        perfInit.cargoWeight = 0.0;
        perfInit.bow = 28000.0;
        perfInit.fuelWeight = 9000.0;
        inputs.perfInit = &perfInit;
    }

    PerfPrediction predict(float cruiseAltitude) {
        return RoutePredictions(perf, schedule).predictFlightPlan(plan, cruiseAltitude, inputs);
    }

    static void expectSound(const PerfPrediction& prediction, const FlightPlan& route) {
        for (const float item : prediction.items) {
            EXPECT_TRUE(std::isfinite(item));
        }
        for (const FlightPlanLeg& leg : route.legs) {
            EXPECT_TRUE(std::isfinite(leg.tfd.time) && leg.tfd.time >= 0.0f);
            EXPECT_TRUE(std::isfinite(leg.tfd.fuel) && leg.tfd.fuel >= 0.0f) << leg.wpt.ident;
            EXPECT_TRUE(std::isfinite(leg.tfd.fuelRemaining) && leg.tfd.fuelRemaining >= 0.0f);
        }
    }

    FmsPerf perf;
    PerfInit perfInit;
    SpeedEnvelope envelope;
    FlightPlan plan;
    SpeedSchedules schedules{perfInit, envelope};
    PlanSpeedSchedule schedule{schedules, perfInit, envelope, plan};
    RoutePredictions::Inputs inputs;
};

TEST_F(RoutePrediction, ClimbCruiseAndDescentShareTheRoute) {
    fillPerformanceTables(perf);
    buildPredictionRoute(plan, 20, 20.0);
    const PerfPrediction prediction = predict(31000.0f);
    expectSound(prediction, plan);
    const float toc = prediction[PerfPrediction::TocDistance];
    const float tod = prediction[PerfPrediction::TodDistance];
    EXPECT_GT(toc, 20.0f);
    EXPECT_LT(toc, tod);
    EXPECT_NEAR(400.0f - tod, 31000.0f / std::tan(3.0f / 57.29578f) / 6079.4f, 0.5f)
        << "a 3-degree descent to the destination";
    float legTime = 0.0f;
    float legDistance = 0.0f;
    for (const FlightPlanLeg& leg : plan.legs) {
        legTime += leg.tfd.time;
        legDistance += leg.tfd.distance;
    }
    EXPECT_NEAR(legDistance, 400.0f, 0.01f);
    EXPECT_NEAR(plan.timeToGo, legTime, 0.5);
    EXPECT_GT(prediction[PerfPrediction::FuelRequired], 600.0f);
    EXPECT_NEAR(prediction[PerfPrediction::ExtraFuel] + prediction[PerfPrediction::FuelRequired],
                9000.0f, 0.01f);
    EXPECT_GT(prediction[PerfPrediction::ReserveFuel], 0.0f);
    EXPECT_TRUE(plan.legs[10].cruiseLeg);
    EXPECT_FALSE(plan.legs[0].cruiseLeg);
    EXPECT_EQ(plan.legs[10].vnav.predictedAltitude, 31000);
}

TEST_F(RoutePrediction, ACruiseThatDoesNotFitIsLowered) {
    fillPerformanceTables(perf);
    buildPredictionRoute(plan, 4, 15.0);
    const PerfPrediction prediction = predict(35000.0f);
    expectSound(prediction, plan);
    EXPECT_LT(prediction[PerfPrediction::ClimbAltitude], 35000.0f);
    EXPECT_LE(prediction[PerfPrediction::TocDistance], prediction[PerfPrediction::TodDistance]);
}

TEST_F(RoutePrediction, NoTablesNoFuelAndDamagedEntriesNeverGiveNaNOrNegativeFuel) {
    buildPredictionRoute(plan, 10, 30.0);
    PerfPrediction prediction = predict(25000.0f);
    expectSound(prediction, plan);
    EXPECT_FLOAT_EQ(prediction[PerfPrediction::FuelRequired], 600.0f) << "take-off and landing";

    fillPerformanceTables(perf);
    perfInit.fuelWeight = 100.0;
    perfInit.crzWindStrength = 900;
    perfInit.crzWindDir = 90;
    prediction = predict(25000.0f);
    expectSound(prediction, plan);
    EXPECT_LT(prediction[PerfPrediction::ExtraFuel], 0.0f) << "short of fuel, shown as such";

    perf.setCell(FmsPerf::CruiseFuel, 25, 14, std::numeric_limits<float>::quiet_NaN());
    perf.setCell(FmsPerf::ClimbFuel, 10, 14, -500.0f);
    perfInit.fuelReserveType = 2;
    perfInit.fuelReserveTime = std::nan("");
    prediction = predict(25000.0f);
    expectSound(prediction, plan);
}

TEST_F(RoutePrediction, AnUnusableRouteGivesAZeroSummary) {
    buildPredictionRoute(plan, 3, 10.0);
    plan.activeLeg = 3;
    const PerfPrediction prediction = predict(20000.0f);
    for (const float item : prediction.items) {
        EXPECT_EQ(item, 0.0f);
    }
}

} // namespace
} // namespace tavi::test
