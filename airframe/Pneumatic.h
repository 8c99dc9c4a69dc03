#pragma once

#include "core/System.h"

namespace tavi {

// Bleed air, air conditioning and ice protection.
class Pneumatic : public System {
public:
    void update(Aircraft&) override {}

    // Bleed air reaches the duct of side 1, side 2.
    bool side1Supplied = true;
    bool side2Supplied = true;
    // The packs' flow-control valves; a pack runs while its valve is open and its side supplied.
    bool pack1ValveOpen = false;
    bool pack2ValveOpen = false;
    // Icing conditions were met: the minimum speeds rise.
    bool iceSpeeds = false;
};

} // namespace tavi
