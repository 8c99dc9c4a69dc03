#pragma once

#include "core/System.h"

namespace tavi {

// The radio altimeter: the state the other systems read of it.
class RadAlt : public System {
public:
    void update(Aircraft&) override {}

    // Feet above the ground.
    float radioAltitude = 0.0f;
};

} // namespace tavi
