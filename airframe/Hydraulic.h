#pragma once

#include "core/System.h"

#include <cstdint>

namespace tavi {

// One of the two hydraulic systems.
class Hydraulic : public System {
public:
    explicit Hydraulic(int32_t systemNumber) : systemNumber(systemNumber) {}

    void update(Aircraft&) override {}

    int32_t systemNumber;
    // Psi.
    float pressure = 0.0f;
};

} // namespace tavi
