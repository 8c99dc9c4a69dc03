#pragma once

#include "core/System.h"

#include <array>
#include <cstdint>

namespace tavi {

// The engines' FADEC and thrust ratings.
class Fadec : public System {
public:
    void update(Aircraft&) override {}

    // Called by the FADEC control knobs: both channels reset, and a running takeoff-data entry
    // ends.
    void requestReset();

    // Takeoff-data entry step: 0 idle, 1 rating, 2 temperature, 3 anti-ice.
    int32_t takeoffDataStep = 0;
    // Reset requests of channel 1 and 2.
    std::array<bool, 2> resetRequest{true, true};
};

} // namespace tavi
