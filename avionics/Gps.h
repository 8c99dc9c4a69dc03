#pragma once

#include "core/System.h"

namespace tavi {

// The GPS sensor: the state the other systems read of it.
class Gps : public System {
public:
    void update(Aircraft&) override {}

    // Knots.
    float groundSpeed = 0.0f;
};

} // namespace tavi
