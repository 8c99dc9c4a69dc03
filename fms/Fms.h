#pragma once

#include "core/System.h"

namespace tavi {

// The flight management system: the state the other systems read of it.
class Fms : public System {
public:
    void update(Aircraft&) override {}

    // The aircraft is in the air.
    bool airborne = false;
};

} // namespace tavi
