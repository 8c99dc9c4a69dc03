#pragma once

#include "avionics/AhrsUnit.h"
#include "core/System.h"

namespace tavi {

class Adc;
class Electric;

// The attitude and heading reference: two units, side 1 and side 2, the module-wide on-ground
// flag and the power state of both sides.
class Ahrs : public System {
public:
    void update(Aircraft& aircraft) override;
    void addElectricLoad(Aircraft& aircraft, BusLoads& loads) override;
    void updatePower(Aircraft& aircraft) override;

    bool started = false;
    // Panel token 60 is non-zero: the on-ground flag of the whole module.
    bool onGround = false;
    // The avionics master switch of the side is off, now and one frame earlier.
    bool side1Unpowered = false;
    bool side1WasUnpowered = false;
    bool side2Unpowered = false;
    bool side2WasUnpowered = false;
    AhrsUnit unit1{1};
    AhrsUnit unit2{2};
    Adc* adc = nullptr;
    Electric* electric = nullptr;

private:
    void sendGyroEvent(const Aircraft& aircraft) const;
};

} // namespace tavi
