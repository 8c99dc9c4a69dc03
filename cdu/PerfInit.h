#pragma once

#include <cstdint>

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
    // The pilot confirmed the initialisation: the tables learn in flight and are kept at stop.
    bool confirmed = false;
    // The weights of the entry (lb) and the passenger count; -1 not entered.
    int32_t passengers = -1;
    double paxWeight = 190.0;
    double bow = 28000.0;
    double cargo = 0.0;

    // Pounds: passengers, basic operating weight, cargo and fuel.
    double grossWeight() const { return passengers * paxWeight + bow + cargo + fuel; }
};

} // namespace tavi
