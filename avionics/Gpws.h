#pragma once

#include "core/System.h"

namespace tavi {

// The ground proximity warning system: the state the other systems read of it.
class Gpws : public System {
public:
    void update(Aircraft&) override {}

    // The alerts of mode 1 (sink rate), 2 (terrain closure), 3 (altitude loss after take-off)
    // and 4 (terrain clearance).
    bool mode1 = false;
    bool mode2 = false;
    bool mode3 = false;
    bool mode4 = false;
};

} // namespace tavi
