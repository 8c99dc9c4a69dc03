#pragma once

#include <array>
#include <cstddef>

namespace tavi {

// The summary of a route prediction: 18 values, of which these are in use.
struct PerfPrediction {
    enum Item : std::size_t {
        // Seconds from the start of the active leg, pounds, nautical miles from the route start.
        TocTime = 0,
        TocFuel = 1,
        TocFuelOnBoard = 2,
        TocDistance = 3,
        TodTime = 4,
        TodFuel = 5,
        TodFuelOnBoard = 6,
        TodDistance = 7,
        // Trip fuel with the take-off and landing fuel.
        FuelRequired = 8,
        ReserveFuel = 9,
        // The fuel entered less the fuel required.
        ExtraFuel = 10,
        // Where the climb walk reached the cruise altitude and where the descent walk ended (ft).
        ClimbAltitude = 11,
        TodAltitude = 12,
        LandingWeight = 17,
    };
    static constexpr std::size_t kItemCount = 18;

    float& operator[](Item item) { return items[item]; }
    float operator[](Item item) const { return items[item]; }

    std::array<float, kItemCount> items{};
};

} // namespace tavi
