#include "avionics/Ahrs.h"

#include "airframe/Electric.h"
#include "core/Aircraft.h"
#include "core/Imports.h"

#include <cmath>

namespace tavi {

namespace {

constexpr float kUnitLoadAmps = 5.0f;
constexpr uint32_t kGyroEvent = 0x101FE;
constexpr double kGyroResetTicks = 100.0;

bool master1On(const Electric* electric) {
    return electric && electric->avionicsMaster1;
}

bool master2On(const Electric* electric) {
    return electric && electric->avionicsMaster2;
}

} // namespace

void Ahrs::update(Aircraft& aircraft) {
    adc = aircraft.adc();
    electric = aircraft.electric();
    onGround = aircraft.tokens.value(60) != 0.0;
    unit1.update(aircraft);
    unit2.update(aircraft);
    sendGyroEvent(aircraft);
    if (aircraft.simTimeMs != 0) {
        started = true;
    }
}

// While panel token 85 is non-zero, the gyro event goes to the simulator once every 100 ticks of
// 1/18 s, not in every frame.
void Ahrs::sendGyroEvent(const Aircraft& aircraft) const {
    if (aircraft.tokens.value(85) == 0.0) {
        return;
    }
    if (std::fmod(aircraft.tokens.value(1), kGyroResetTicks) == 0.0) {
        panelServices().sendKeyEvent(kGyroEvent, 0);
    }
}

void Ahrs::addElectricLoad(Aircraft& aircraft, BusLoads& loads) {
    const Electric* network = aircraft.electric();
    if (master1On(network)) {
        loads[Electric::kEssentialBus1] += kUnitLoadAmps;
    }
    if (master2On(network)) {
        loads[Electric::kEssentialBus2] += kUnitLoadAmps;
    }
}

void Ahrs::updatePower(Aircraft& aircraft) {
    const Electric* network = aircraft.electric();
    // Unit 1 keeps the validity of both sides; unit 2's flags stay as they are.
    unit1.updateValidity(aircraft.simTimeMs, master1On(network), master2On(network));
    side1WasUnpowered = side1Unpowered;
    side1Unpowered = !master1On(network);
    side2WasUnpowered = side2Unpowered;
    side2Unpowered = !master2On(network);
}

} // namespace tavi
