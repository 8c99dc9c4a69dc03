#pragma once

#include <cstdint>

namespace tavi {

class FmsPerf;

// What the learning reads of the aircraft in one frame.
struct PerfLearningInputs {
    // Simulation time, ms.
    uint32_t simTimeMs = 0;
    // Knots indicated and feet.
    float indicatedAirspeed = 0.0f;
    float indicatedAltitude = 0.0f;
    bool onGround = false;
    // Feet a minute.
    float verticalSpeed = 0.0f;
    // The flight director's active vertical mode.
    int32_t verticalMode = 0;
    // Pounds burned since the previous frame.
    float fuelBurned = 0.0f;
    // Degrees.
    float thrustLever1 = 0.0f;
    float thrustLever2 = 0.0f;
    bool bothEnginesRunning = false;
    // The simulator's total weight (kg) and the gross weight of the performance entries (lb).
    float simulatorWeightKg = 0.0f;
    float grossWeight = 0.0f;
    // Performance initialisation confirmed, the active leg before the route end, and learning
    // switched on by the pilot.
    bool confirmed = false;
    bool beforeRouteEnd = false;
    bool smartLearning = false;
};

// The in-flight measurement of climb bands, cruise minutes and descent bands that is blended
// into the performance tables. A measuring window opens on the first airborne frame and gathers
// the fuel burned; it is learned from and restarted when a band is crossed, and every minute of
// level flight.
class PerfLearning {
public:
    static constexpr int32_t kModeAltitudeHold = 2;
    static constexpr int32_t kModeClimbDescent = 6;

    struct FrameResult {
        // The gates were open: the frame was measured and the altitudes of the performance
        // entries are to be refreshed.
        bool evaluated = false;
        // A quarter-thousand mark was crossed: the speed targets are to be updated.
        bool speedTargetsDue = false;
    };

    FrameResult update(const PerfLearningInputs& inputs, FmsPerf& perf);

    // Feet, never negative.
    float perfPrevAltitude = 0.0f;
    // Seconds of simulation time; a start of 0 means no window yet.
    float perfWindowStart = 0.0f;
    float perfWindowEnd = 0.0f;
    // Pounds.
    float perfWindowFuel = 0.0f;
    float perfWindowDuration = 0.0f;
    // Knots.
    float perfWindowStartIas = 0.0f;
    float perfWindowEndIas = 0.0f;
    // Every frame of the window was flown level.
    bool perfWindowLevel = true;

private:
    void resetOnGround(const PerfLearningInputs& inputs);
    bool gatesOpen(const PerfLearningInputs& inputs) const;
    void closeWindowAt(float time, float airspeed);
    void restartWindow();
    void learnClimbBand(const PerfLearningInputs& inputs, float time, float altitude,
                        FmsPerf& perf);
    void learnCruiseMinute(const PerfLearningInputs& inputs, float time, float altitude,
                           FmsPerf& perf);
    void learnDescentBand(const PerfLearningInputs& inputs, float time, float altitude,
                          FmsPerf& perf);
};

} // namespace tavi
