#pragma once

#include "core/System.h"

#include <array>

namespace tavi {

// The engines' FADEC and thrust ratings.
class Fadec : public System {
public:
    void update(Aircraft&) override {}

    // Thrust lever 1 and 2 in degrees of lever travel (0 full aft, 75 full forward).
    std::array<float, 2> leverAngle{28.0f, 28.0f};
};

} // namespace tavi
