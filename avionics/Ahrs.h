#pragma once

#include "core/System.h"

namespace tavi {

// The attitude and heading reference: the state the other systems read of it.
class Ahrs : public System {
public:
    void update(Aircraft&) override {}

    // Panel token 60 is non-zero: the on-ground flag of the whole module.
    bool onGround = false;
};

} // namespace tavi
