#pragma once

#include "core/System.h"

namespace tavi {

// One of the two attitude and heading units.
struct AhrsUnit {
    // Feet per minute.
    float verticalSpeed = 0.0f;
};

// The attitude and heading reference: the state the other systems read of it.
class Ahrs : public System {
public:
    void update(Aircraft&) override {}

    // Panel token 60 is non-zero: the on-ground flag of the whole module.
    bool onGround = false;
    AhrsUnit unit1;
    AhrsUnit unit2;
};

} // namespace tavi
