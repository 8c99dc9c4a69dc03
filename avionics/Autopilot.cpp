#include "avionics/Autopilot.h"

#include "avionics/Ahrs.h"
#include "core/Aircraft.h"

#include <algorithm>
#include <cmath>

namespace tavi {

void Autopilot::update(Aircraft& aircraft) {
    ahrs = aircraft.ahrs();
}

void Autopilot::loadSettings(Aircraft& aircraft) {
    ahrs = aircraft.ahrs();
    pitchLimitUp = static_cast<float>(-aircraft.readIniDouble("Autopilot", "maxPitch", 25.0));
    pitchLimitDown = static_cast<float>(-aircraft.readIniDouble("Autopilot", "minPitch", -15.0));
    maxBank = static_cast<float>(std::fabs(aircraft.readIniDouble("Autopilot", "maxBank", 27.0)));
    halfBank = static_cast<float>(std::fabs(aircraft.readIniDouble("Autopilot", "halfBank", 14.0)));
}

void Autopilot::setPitchCommand(float pitch) {
    pitchCommand = std::clamp(pitch, std::min(pitchLimitUp, pitchLimitDown),
                              std::max(pitchLimitUp, pitchLimitDown));
}

void Autopilot::setBankCommand(float bank) {
    bankCommand = std::clamp(bank, -maxBank, maxBank);
}

void Autopilot::syncPitch() {
    setPitchCommand(ahrs ? ahrs->unit1.pitch : 0.0f);
}

void Autopilot::syncBank() {
    setBankCommand(ahrs ? ahrs->unit1.bank : 0.0f);
}

} // namespace tavi
