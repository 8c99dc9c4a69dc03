#pragma once

#include "core/System.h"

#include <array>
#include <cstdint>

namespace tavi {

// Flaps, gear, spoilers, brakes, trims, doors and steering: the state the other systems read.
class Mechanisation : public System {
public:
    void update(Aircraft&) override {}

    // Panel token 907: the flap angle in degrees.
    float flapAngle = 0.0f;
    // Panel tokens 332, 333 and 334: 0 up .. 16383 down and locked.
    std::array<int32_t, 3> gearPositions{};
    // Panel token 323 divided by 32767; not 0 while the parking brake is set.
    float parkingBrake = 0.0f;
    // How far the main door (0) and the baggage door (1) are open, in percent.
    std::array<float, 2> exitOpen{};
};

} // namespace tavi
