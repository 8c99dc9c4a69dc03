#pragma once

#include "core/System.h"

#include <cstdint>

namespace tavi {

// Bleed air, air conditioning and ice protection.
class Pneumatic : public System {
public:
    void update(Aircraft&) override {}

    // Bleed air reaches the duct of side 1, side 2.
    bool side1Supplied = true;
    bool side2Supplied = true;
    // Duct pressures of side 1 and 2 in psi, never below 0, and the pressures they are moving
    // to (which may be negative); the engine start draws on them.
    float ductPressure1 = 32.0f;
    float ductPressure2 = 32.0f;
    float ductPressureTarget1 = 0.0f;
    float ductPressureTarget2 = 0.0f;
    // The anti-ice override knob: 0 Engines, 1 Auto, 2 All.
    int32_t antiIceOverrideKnob = 1;
    // The packs' flow-control valves; a pack runs while its valve is open and its side supplied.
    bool pack1ValveOpen = false;
    bool pack2ValveOpen = false;
    // Icing conditions were met: the minimum speeds rise.
    bool iceSpeeds = false;
};

} // namespace tavi
