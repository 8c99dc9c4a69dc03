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
    // Knots.
    float indicatedAirspeed = 0.0f;
    float smoothedAirspeed = 0.0f;
    // Feet.
    float indicatedAltitude = 0.0f;
    // The airspeed of air-data side 1 and side 2 is invalid.
    bool airspeedInvalid1 = false;
    bool airspeedInvalid2 = false;
    // The phase changed in the last frame.
    bool flightPhaseChanged = false;
    int32_t flightPhase = kLandingPhase;
};

} // namespace tavi
