#pragma once

#include <array>
#include <cstdint>

namespace tavi {

// The record behind FUEL MGT: the fuel flows of engine 1, engine 2 and the APU (lb per hour) and
// the fuel each has used (lb), counted from the CDU's power-up or the pilot's last deletion.
struct FuelMgtPage {
    int32_t subPage = 1;
    int32_t pageCount = 2;
    std::array<float, 3> fuelFlow{};
    std::array<float, 3> fuelUsed{};

    float totalFuelUsed() const { return fuelUsed[0] + fuelUsed[1] + fuelUsed[2]; }
};

} // namespace tavi
