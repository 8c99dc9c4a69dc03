#include "fms/PerfLearning.h"

#include "fms/FmsPerf.h"

#include <algorithm>
#include <cmath>

namespace tavi {

namespace {

constexpr float kSettlingSeconds = 10.0f;
constexpr float kMinuteSeconds = 60.0f;
constexpr float kPoundsPerKilogram = 1.0f / 0.453592f;
constexpr float kWeightMismatch = 1000.0f;
constexpr float kClimbThrustLever = 72.0f;
constexpr float kLevelVerticalSpeed = 50.0f;
constexpr float kSteadySpeedChange = 3.0f;

float feetAboveThousand(float altitude) {
    return std::fmod(altitude, 1000.0f);
}

float feetAboveQuarter(float altitude) {
    return std::fmod(altitude, 250.0f);
}

// The next thousand above the altitude.
float bandTop(float altitude) {
    return static_cast<float>((static_cast<int32_t>(altitude) / 1000 + 1) * 1000);
}

// The thousand the aircraft is at, the next one when within 200 ft below it.
float cruiseRow(float altitude) {
    const float below = static_cast<float>(static_cast<int32_t>(altitude) / 1000 * 1000);
    return feetAboveThousand(altitude) > 800.0f ? below + 1000.0f : below;
}

bool crossedQuarterMark(float previous, float altitude) {
    const bool climbedThrough =
        feetAboveQuarter(previous) <= 200.0f && feetAboveQuarter(altitude) > 200.0f;
    const bool descendedThrough =
        feetAboveQuarter(previous) >= 50.0f && feetAboveQuarter(altitude) < 50.0f;
    return climbedThrough || descendedThrough;
}

} // namespace

PerfLearning::FrameResult PerfLearning::update(const PerfLearningInputs& inputs, FmsPerf& perf) {
    const float time = static_cast<float>(inputs.simTimeMs) * 0.001f;
    if (time < kSettlingSeconds || inputs.onGround) {
        resetOnGround(inputs);
        return {true, false};
    }
    const float altitude = std::max(inputs.indicatedAltitude, 0.0f);
    if (perfWindowStart == 0.0f) {
        perfWindowStart = time;
        perfWindowFuel = 0.0f;
        perfWindowDuration = 0.0f;
        perfWindowStartIas = inputs.indicatedAirspeed;
        perfWindowLevel = true;
    }
    perfWindowFuel += inputs.fuelBurned;
    if (!gatesOpen(inputs))
        return {};

    learnClimbBand(inputs, time, altitude, perf);
    learnCruiseMinute(inputs, time, altitude, perf);
    learnDescentBand(inputs, time, altitude, perf);
    const bool speedTargetsDue = crossedQuarterMark(perfPrevAltitude, altitude);
    perfPrevAltitude = altitude;
    return {true, speedTargetsDue};
}

void PerfLearning::resetOnGround(const PerfLearningInputs& inputs) {
    perfPrevAltitude = std::max(inputs.indicatedAltitude, 0.0f);
    perfWindowStart = 0.0f;
    perfWindowEnd = 0.0f;
    perfWindowFuel = 0.0f;
    perfWindowDuration = 0.0f;
    perfWindowStartIas = inputs.indicatedAirspeed;
    perfWindowEndIas = inputs.indicatedAirspeed;
    perfWindowLevel = true;
}

bool PerfLearning::gatesOpen(const PerfLearningInputs& inputs) const {
    const float weightDifference =
        std::fabs(inputs.simulatorWeightKg * kPoundsPerKilogram - inputs.grossWeight);
    return inputs.confirmed && inputs.beforeRouteEnd && inputs.smartLearning &&
           weightDifference <= kWeightMismatch && inputs.bothEnginesRunning;
}

void PerfLearning::closeWindowAt(float time, float airspeed) {
    perfWindowEnd = time;
    perfWindowDuration = time - perfWindowStart;
    perfWindowEndIas = airspeed;
}

void PerfLearning::restartWindow() {
    perfWindowStart = perfWindowEnd;
    perfWindowFuel = 0.0f;
    perfWindowLevel = true;
    perfWindowStartIas = perfWindowEndIas;
}

void PerfLearning::learnClimbBand(const PerfLearningInputs& inputs, float time, float altitude,
                                  FmsPerf& perf) {
    const bool crossed =
        feetAboveThousand(perfPrevAltitude) <= 950.0f && feetAboveThousand(altitude) > 950.0f;
    const bool climbing =
        inputs.verticalMode != kModeAltitudeHold && inputs.verticalSpeed > kLevelVerticalSpeed &&
        inputs.thrustLever1 >= kClimbThrustLever && inputs.thrustLever2 >= kClimbThrustLever;
    if (!crossed || !climbing)
        return;
    closeWindowAt(time, inputs.indicatedAirspeed);
    // Climbing at a commanded speed, the speed at the end of the band is the one flown.
    if (inputs.verticalMode == kModeClimbDescent)
        perfWindowStartIas = perfWindowEndIas;
    perf.learnClimb(inputs.grossWeight, (perfWindowStartIas + perfWindowEndIas) / 2.0f,
                    bandTop(altitude), perfWindowFuel, perfWindowDuration);
    restartWindow();
}

void PerfLearning::learnCruiseMinute(const PerfLearningInputs& inputs, float time, float altitude,
                                     FmsPerf& perf) {
    perfWindowEnd = time;
    perfWindowDuration = time - perfWindowStart;
    // A climb or descent keeps its window to the end of the band, however long the band takes.
    const bool level = inputs.verticalMode == kModeAltitudeHold ||
                       std::fabs(inputs.verticalSpeed) <= kLevelVerticalSpeed;
    if (!level) {
        perfWindowLevel = false;
        return;
    }
    if (perfWindowDuration < kMinuteSeconds)
        return;
    perfWindowEndIas = inputs.indicatedAirspeed;
    const bool steady = std::fabs(perfWindowEndIas - perfWindowStartIas) < kSteadySpeedChange;
    // A window that began in a climb or descent burned at another rate than a cruise minute.
    if (inputs.verticalMode == kModeAltitudeHold && steady && perfWindowLevel)
        perf.learnCruise(inputs.grossWeight, (perfWindowEndIas + perfWindowStartIas) / 2.0f,
                         cruiseRow(altitude), perfWindowFuel);
    restartWindow();
}

void PerfLearning::learnDescentBand(const PerfLearningInputs& inputs, float time, float altitude,
                                    FmsPerf& perf) {
    const bool crossed =
        feetAboveThousand(perfPrevAltitude) >= 50.0f && feetAboveThousand(altitude) < 50.0f;
    const bool descending =
        inputs.verticalSpeed < -kLevelVerticalSpeed && inputs.verticalMode != kModeAltitudeHold;
    if (!crossed || !descending)
        return;
    closeWindowAt(time, inputs.indicatedAirspeed);
    perf.learnDescent(inputs.grossWeight, (perfWindowEndIas + perfWindowStartIas) / 2.0f,
                      bandTop(altitude), perfWindowFuel);
    restartWindow();
}

} // namespace tavi
