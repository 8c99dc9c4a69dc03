#include "airframe/PowerSource.h"

#include "core/Aircraft.h"

namespace tavi::electric {

void PowerSource::loadSettings(Aircraft&) {}

bool PowerSource::setSwitch(bool on) {
    connected = on;
    changed = true;
    return connected;
}

void PowerSource::setLoad(float amperes) {
    changed = (amperes > kOverloadAmps) != (lastCurrent > kOverloadAmps);
    current = amperes;
    lastCurrent = amperes;
}

float PowerSource::frameSeconds(const Aircraft& aircraft) {
    return static_cast<float>(static_cast<uint32_t>(aircraft.frameDeltaMs)) / 1000.0f;
}

} // namespace tavi::electric
