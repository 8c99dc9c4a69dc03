#pragma once

#include "core/System.h"

#include <cstdint>

namespace tavi {

// Flight phases of the air data computer.
enum FlightPhase : int32_t {
    kTakeoffPhase = 0,
    kLandingPhase = 1,
    kAirbornePhase = 2,
    kOnGroundPhase = 3,
};

// The air data computer: the state the other systems read of it.
class Adc : public System {
public:
    void update(Aircraft&) override {}

    // Degrees Celsius.
    float totalAirTemperature = 0.0f;
    // The phase changed in the last frame.
    bool flightPhaseChanged = false;
    int32_t flightPhase = kLandingPhase;
    // Degrees, positive when the track lies right of the heading.
    float driftAngle = 0.0f;
    // The simulator's UTC time of day in seconds.
    double zuluSeconds = 0.0;
};

} // namespace tavi
