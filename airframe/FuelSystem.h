#pragma once

#include "core/System.h"

#include <cstdint>

namespace tavi {

// The fuel system: the state the other systems read of it.
class FuelSystem : public System {
public:
    void update(Aircraft&) override {}

    // Set at the end of the first frame with a non-zero simulation time; the tank quantities
    // below have been read from the simulator by then.
    bool started = false;
    // Pounds per gallon (panel token 306).
    float fuelWeightPerGallon = 0.0f;
    // Fuel reaches engine 2 and the APU.
    bool fuelAvailable2 = true;
    // The simulator's fuel tank selector: 1 off, 2 left to right, 3 right to left.
    int32_t tankSelector = 1;
    // Main-tank quantities in gallons.
    double leftGallons = 0.0;
    double rightGallons = 0.0;
};

} // namespace tavi
