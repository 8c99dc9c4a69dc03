#include "fms/PerfLearning.h"

#include "fms/FmsPerf.h"
#include "fms/PerfTableAxes.h"

#include <cmath>
#include <gtest/gtest.h>

namespace tavi {
namespace {

using test::columnOf;
using test::rowOf;

constexpr float kGrossWeight = 50000.0f;
constexpr uint32_t kFrameMs = 100;
constexpr float kFuelPerFrame = 0.1f;

// Flies the learning frame by frame from 20 s of simulation time, airborne, gates open.
class PerfLearningTest : public ::testing::Test {
protected:
    PerfLearningTest() {
        inputs.simTimeMs = 20000;
        inputs.grossWeight = kGrossWeight;
        inputs.simulatorWeightKg = kGrossWeight * 0.453592f;
        inputs.bothEnginesRunning = true;
        inputs.confirmed = true;
        inputs.beforeRouteEnd = true;
        inputs.smartLearning = true;
        inputs.thrustLever1 = 80.0f;
        inputs.thrustLever2 = 80.0f;
        inputs.verticalMode = 4;
        inputs.fuelBurned = kFuelPerFrame;
    }

    // Holds the vertical speed (ft/min) and airspeed for that many seconds.
    void fly(float seconds, float verticalSpeed, float airspeed) {
        inputs.verticalSpeed = verticalSpeed;
        inputs.indicatedAirspeed = airspeed;
        const int frames = static_cast<int>(std::lround(seconds * 1000.0f / kFrameMs));
        for (int frame = 0; frame < frames; ++frame) {
            learning.update(inputs, perf);
            inputs.simTimeMs += kFrameMs;
            inputs.indicatedAltitude += verticalSpeed / 60.0f * kFrameMs / 1000.0f;
        }
    }

    void startAt(float altitude, float airspeed) {
        inputs.indicatedAltitude = altitude;
        inputs.indicatedAirspeed = airspeed;
        learning.update(inputs, perf);
        inputs.simTimeMs += kFrameMs;
    }

    float climbTime(int altitude, int speed) const {
        return perf.cell(FmsPerf::ClimbTime, rowOf(altitude), columnOf(speed));
    }

    FmsPerf perf;
    PerfLearning learning;
    PerfLearningInputs inputs;
};

TEST_F(PerfLearningTest, AClimbThroughTheBandLearnsItsTopRowAtTheMeanSpeed) {
    startAt(3900.0f, 200.0f);
    fly(15.0f, 2000.0f, 200.0f);
    fly(18.0f, 2000.0f, 212.0f);

    // Crossing 3950 ft closed the 4000-ft band; the 5000-ft band runs from there to 4950 ft, 30 s
    // at 2000 ft/min, at the mean of 200 and 212 kt.
    EXPECT_GT(climbTime(4000, 200), 0.0f);
    EXPECT_NEAR(climbTime(5000, 210), 30.0f / std::sqrt(kGrossWeight / FmsPerf::kReferenceWeight),
                0.15f);
    EXPECT_GT(perf.cell(FmsPerf::ClimbFuel, rowOf(5000), columnOf(210)), 0.0f);
    EXPECT_EQ(climbTime(5000, 200), 0.0f);
    EXPECT_EQ(climbTime(4000, 210), 0.0f);
}

struct ClosedGate {
    const char* name;
    void (*close)(PerfLearningInputs& inputs);
};

class PerfLearningGateTest : public PerfLearningTest,
                             public ::testing::WithParamInterface<ClosedGate> {};

TEST_P(PerfLearningGateTest, NothingIsLearned) {
    GetParam().close(inputs);
    startAt(3900.0f, 200.0f);
    fly(40.0f, 2000.0f, 200.0f);
    EXPECT_FALSE(perf.hasLearned());
}

INSTANTIATE_TEST_SUITE_P(Gates, PerfLearningGateTest,
                         ::testing::Values(ClosedGate{"AltitudeHold",
                                                      [](PerfLearningInputs& in) {
                                                          in.verticalMode = 2;
                                                      }},
                                           ClosedGate{"LeverBelowClimb",
                                                      [](PerfLearningInputs& in) {
                                                          in.thrustLever2 = 71.9f;
                                                      }},
                                           ClosedGate{"LearningOff",
                                                      [](PerfLearningInputs& in) {
                                                          in.smartLearning = false;
                                                      }},
                                           ClosedGate{"NotConfirmed",
                                                      [](PerfLearningInputs& in) {
                                                          in.confirmed = false;
                                                      }},
                                           ClosedGate{"PastRouteEnd",
                                                      [](PerfLearningInputs& in) {
                                                          in.beforeRouteEnd = false;
                                                      }},
                                           ClosedGate{"EngineOut",
                                                      [](PerfLearningInputs& in) {
                                                          in.bothEnginesRunning = false;
                                                      }},
                                           ClosedGate{"WeightMismatch",
                                                      [](PerfLearningInputs& in) {
                                                          in.grossWeight = kGrossWeight + 1001.0f;
                                                      }}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(PerfLearningTest, ASlowClimbBandIsLearnedWhole) {
    startAt(2900.0f, 220.0f);
    fly(6.0f, 1000.0f, 220.0f);
    ASSERT_GT(climbTime(3000, 220), 0.0f);

    fly(72.0f, 857.0f, 220.0f);
    const float scale = std::sqrt(kGrossWeight / FmsPerf::kReferenceWeight);
    // 50 ft at 1000 ft/min and 950 ft at 857 ft/min: 69.5 s, past the minute.
    EXPECT_NEAR(climbTime(4000, 220) * scale, 69.5f, 0.15f);
    EXPECT_NEAR(perf.cell(FmsPerf::ClimbFuel, rowOf(4000), columnOf(220)) * scale,
                69.5f * 10.0f * kFuelPerFrame, 0.15f);
}

TEST_F(PerfLearningTest, TheClimbBandBelowTwoThousandFeetAlsoFillsTheFirstRow) {
    startAt(1900.0f, 180.0f);
    fly(4.0f, 2000.0f, 180.0f);
    EXPECT_GT(climbTime(2000, 180), 0.0f);
    EXPECT_EQ(climbTime(1000, 180), climbTime(2000, 180));
}

TEST_F(PerfLearningTest, ASteadyMinuteInAltitudeHoldLearnsTheNearestRowWithin200Feet) {
    inputs.verticalMode = 2;
    startAt(34810.0f, 250.0f);
    fly(61.0f, 0.0f, 250.0f);
    EXPECT_GT(perf.cell(FmsPerf::CruiseFuel, rowOf(35000), columnOf(250)), 0.0f);

    FmsPerf other;
    PerfLearning below;
    inputs.indicatedAltitude = 34790.0f;
    below.update(inputs, other);
    inputs.simTimeMs += 61000;
    below.update(inputs, other);
    EXPECT_GT(other.cell(FmsPerf::CruiseFuel, rowOf(34000), columnOf(250)), 0.0f);
    EXPECT_EQ(other.cell(FmsPerf::CruiseFuel, rowOf(35000), columnOf(250)), 0.0f);
}

// The first level minute after a climb learns the level burn, not the climb's window.
TEST_F(PerfLearningTest, AClimbWindowIsNeverLearnedAsACruiseMinute) {
    startAt(30000.0f, 250.0f);
    inputs.fuelBurned = 100.0f / 600.0f;
    fly(100.0f, 500.0f, 250.0f);
    EXPECT_FALSE(perf.hasLearned()) << "no band crossed";
    inputs.verticalMode = 2;
    inputs.fuelBurned = 50.0f / 600.0f;
    fly(61.0f, 0.0f, 250.0f);
    FmsPerf levelMinute;
    levelMinute.learnCruise(kGrossWeight, 250.0f, 31000.0f, 50.0f);
    const float expected = levelMinute.cell(FmsPerf::CruiseFuel, rowOf(31000), columnOf(250));
    EXPECT_NEAR(perf.cell(FmsPerf::CruiseFuel, rowOf(31000), columnOf(250)), expected,
                expected * 0.01f);
}

TEST_F(PerfLearningTest, AMinuteWithASpeedChangeOfThreeKnotsLearnsNothingAndRestarts) {
    inputs.verticalMode = 2;
    startAt(30000.0f, 250.0f);
    fly(30.0f, 0.0f, 250.0f);
    fly(31.0f, 0.0f, 253.0f);
    EXPECT_FALSE(perf.hasLearned());
    EXPECT_NEAR(learning.perfWindowStart, 80.0f, 0.05f);
}

TEST_F(PerfLearningTest, ADescentThroughTheBandLearnsItsTop) {
    inputs.thrustLever1 = inputs.thrustLever2 = 30.0f;
    startAt(4200.0f, 260.0f);
    fly(10.0f, -1500.0f, 260.0f);
    EXPECT_GT(perf.cell(FmsPerf::DescentFuel, rowOf(5000), columnOf(260)), 0.0f);
}

TEST_F(PerfLearningTest, OnTheGroundTheWindowIsClosedAndSpeedTargetsWait) {
    inputs.onGround = true;
    startAt(500.0f, 120.0f);
    EXPECT_EQ(learning.perfWindowStart, 0.0f);
    EXPECT_EQ(learning.perfPrevAltitude, 500.0f);

    inputs.onGround = false;
    inputs.indicatedAltitude = 460.0f;
    EXPECT_TRUE(learning.update(inputs, perf).speedTargetsDue);
    EXPECT_GT(learning.perfWindowStart, 0.0f);
}

} // namespace
} // namespace tavi
