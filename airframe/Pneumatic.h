#pragma once

#include "core/System.h"

namespace tavi {

// Bleed air, air conditioning and ice protection.
class Pneumatic : public System {
public:
    void update(Aircraft&) override {}

    // Icing conditions were met: the minimum speeds rise.
    bool iceSpeeds = false;
};

} // namespace tavi
