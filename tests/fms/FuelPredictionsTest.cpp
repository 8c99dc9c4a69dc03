#include "fms/FuelPredictions.h"

#include "cdu/PerfInit.h"
#include "fms/FlightPlan.h"
#include "fms/FmsPerf.h"
#include "support/PredictionRoute.h"

#include <cmath>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace tavi::test {
namespace {

class StepClimbSearch : public testing::Test {
protected:
    StepClimbSearch() {
        fillPerformanceTables(perf);
        loadHeavyAircraftOnAHotDay(perfInit);
    }

    void predict(std::size_t legs) {
        buildPredictionRoute(plan, legs, 20.0);
        predictions.update(plan, inputs,
                           [this](const std::string& text, int32_t) { messages.push_back(text); });
    }

    std::vector<std::size_t> stepMarkers() const { return legsMarked(plan, "BOSC"); }

    FmsPerf perf;
    PerfInit perfInit;
    FuelPredictions predictions{perf, perfInit};
    FuelPredictions::Inputs inputs;
    FlightPlan plan;
    std::vector<std::string> messages;
};

TEST_F(StepClimbSearch, AStepClimbThatSavesFuelIsPlannedAndMarked) {
    const struct {
        const char* name;
        int32_t increment;
        std::size_t legs;
        bool planned;
    } cases[] = {
        {"a long cruise", 2000, 60, true},
        {"no step increment", 0, 60, false},
        {"a cruise of under 100 nm", 2000, 12, false},
        {"a cruise too short to burn the fuel first", 2000, 20, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        perfInit.stepIncrement = c.increment;
        predict(c.legs);
        ASSERT_TRUE(perfInit.initialised);
        EXPECT_EQ(perfInit.stepPlanned, c.planned);
        EXPECT_EQ(stepMarkers().size(), c.planned ? 1u : 0u);
        EXPECT_FALSE(perfInit.predictStepClimb) << "only while the step prediction runs";
        if (!c.planned) {
            EXPECT_EQ(perfInit.stepDistance, 0.0);
            continue;
        }
        const PerfPrediction& prediction = perfInit.prediction;
        EXPECT_GT(perfInit.stepDistance, prediction[PerfPrediction::TocDistance] + 100.0);
        EXPECT_LT(perfInit.stepDistance, prediction[PerfPrediction::TodDistance] - 100.0);
        EXPECT_LT(perfInit.stepRatio, 1.0) << "higher is cheaper in these tables";
        EXPECT_FLOAT_EQ(prediction[PerfPrediction::FuelRequired],
                        perfInit.stepClimbPrediction[PerfPrediction::FuelRequired])
            << "the route's prediction now includes the step";
        const std::size_t stepLeg = stepMarkers().front();
        EXPECT_EQ(stepLeg, static_cast<std::size_t>(perfInit.stepDistance / 20.0));
        EXPECT_EQ(plan.legs[stepLeg - 1].vnav.predictedAltitude, 31000);
        EXPECT_EQ(plan.legs[stepLeg + 1].vnav.predictedAltitude, 33000);
    }
}

TEST_F(StepClimbSearch, InCruiseACeilingAlreadyHighEnoughStepsAtThePresentPosition) {
    perfInit.stepIncrement = 2000;
    perfInit.cruiseReached = true;
    perfInit.fuelWeight = 4000.0;
    inputs.airborne = true;
    inputs.altitude = 31000.0f;
    inputs.fuelInTanks = 4000.0f;
    inputs.activeLegFlown = 5.0f;
    perfInit.fuelAtLastFix = 4000.0f;
    buildPredictionRoute(plan, 60, 20.0);
    plan.activeLeg = 10;
    plan.distanceFlown = 200.0;
    predictions.update(plan, inputs, [](const std::string&, int32_t) {});
    ASSERT_TRUE(perfInit.stepPlanned);
    EXPECT_DOUBLE_EQ(perfInit.stepDistance, 205.0);
    for (const float item : perfInit.stepClimbPrediction.items) {
        EXPECT_TRUE(std::isfinite(item));
    }
}

// On an installation's first flight no perf file exists: every altitude costs the same, and
// the automatic cruise altitude is the optimum for the weight, never the lowest one tried.
TEST(AutomaticCruiseAltitude, WithNothingLearnedIsTheOptimumForTheWeight) {
    for (const float preselect : {0.0f, 5000.0f}) {
        SCOPED_TRACE(testing::Message() << "ALT SEL " << preselect);
        FmsPerf perf;
        PerfInit perfInit;
        perfInit.bow = 48000.0;
        perfInit.passengerCount = 0;
        perfInit.cargoWeight = 2000.0;
        perfInit.fuelWeight = 12000.0;
        FuelPredictions predictions{perf, perfInit};
        FlightPlan plan;
        buildPredictionRoute(plan, 20, 20.0);
        FuelPredictions::Inputs inputs;
        inputs.preselect = preselect;
        predictions.update(plan, inputs, [](const std::string&, int32_t) {});
        ASSERT_TRUE(perfInit.initialised);
        EXPECT_EQ(perfInit.cruiseAltitude, perfInit.optimumAltitude() / 1000 * 1000);
        EXPECT_GE(perfInit.cruiseAltitude, 25000);
    }
}

} // namespace
} // namespace tavi::test
