#pragma once

namespace tavi {

// The performance initialisation record: the fuel entries the fuel bookkeeping keeps current.
struct PerfInit {
    static constexpr double kNotEntered = -1.0;

    // The fuel on board as entered, reduced by the fuel burned since (lb).
    double fuel = kNotEntered;
    // The fuel for taxi and takeoff (lb); burned down on the ground, 0 once airborne.
    double toFuel = 400.0;
    // The fuel on board when the last fix was passed; follows the fuel gauge on the ground (lb).
    float fuelAtLastFix = 0.0f;
};

} // namespace tavi
