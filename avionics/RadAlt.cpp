#include "avionics/RadAlt.h"

#include "airframe/Electric.h"
#include "core/Aircraft.h"

#include <algorithm>

namespace tavi {

namespace {

constexpr int kRadioHeightToken = 614;
constexpr float kFeetPerMetreF = 3.2808399f;
constexpr uint32_t kRateSamplePeriodMs = 2000;
// The closure rate is the height lost per minute: the terrain-closure envelopes it is compared
// with are real rates, and a halved one would never reach them.
constexpr float kClosureRateScale = 60.0f;
constexpr float kSingleChannelCeilingFt = 2500.0f;
constexpr float kLowestDisplayedFt = -20.0f;
constexpr float kFineStepsBelowFt = 200.0f;
constexpr float kRadAltLoadAmps = 5.0f;
constexpr int32_t kRadAltFailId = 75;

} // namespace

void RadAlt::update(Aircraft& aircraft) {
    const uint32_t now = aircraft.simTimeMs;
    radioAltitude = (static_cast<float>(aircraft.tokens.value(kRadioHeightToken)) - antennaOffset) *
                    kFeetPerMetreF;
    if (!started) {
        rateSampleAltitude = radioAltitude;
        rateSampleTime = now;
    }
    if (now - rateSampleTime >= kRateSamplePeriodMs) {
        sampleClosureRate(now);
    }
    updateFailMessage(aircraft);
    if (aircraft.simTimeMs != 0) {
        started = true;
    }
}

void RadAlt::sampleClosureRate(uint32_t now) {
    const float seconds = static_cast<float>(now - rateSampleTime) * 0.001f;
    previousClosureRate = closureRate;
    closureRate = -((radioAltitude - rateSampleAltitude) / seconds * kClosureRateScale);
    rateSampleAltitude = radioAltitude;
    rateSampleTime = now;
}

void RadAlt::updateFailMessage(Aircraft& aircraft) {
    const bool poweredAgain = eicasPower.poweredAgain(aircraft.eicasDau());
    if (started && !allUnpoweredChanged && !poweredAgain) {
        return;
    }
    showEicasMessage(aircraft.eicasDau(), aircraft.simTimeMs, kEicasAdvisory, kRadAltFailId,
                     allUnpowered ? "RAD ALT FAIL" : "");
}

void RadAlt::updatePower(Aircraft& aircraft) {
    const Electric* electric = aircraft.electric();
    side1Powered = electric && electric->avionicsMaster1 && electric->isPowered(Electric::kDcBus1);
    side2Powered = electric && electric->avionicsMaster2 && electric->isPowered(Electric::kDcBus2);

    const bool bothPowered = side1Powered && side2Powered;
    const bool nonePowered = !side1Powered && !side2Powered;
    const bool low = nonePowered || (!bothPowered && radioAltitude <= kSingleChannelCeilingFt);
    if (low && !singleChannelLow) {
        singleChannelLowSince = aircraft.simTimeMs;
    }
    singleChannelLow = low;

    allUnpoweredChanged = nonePowered != allUnpowered;
    allUnpowered = nonePowered;
}

void RadAlt::addElectricLoad(Aircraft& aircraft, BusLoads& loads) {
    const Electric* electric = aircraft.electric();
    if (!electric) {
        return;
    }
    if (electric->avionicsMaster1) {
        loads[Electric::kDcBus1] += kRadAltLoadAmps;
    }
    if (electric->avionicsMaster2) {
        loads[Electric::kDcBus2] += kRadAltLoadAmps;
    }
}

int RadAlt::displayedAltitude() const {
    if (radioAltitude < kLowestDisplayedFt) {
        return static_cast<int>(kLowestDisplayedFt);
    }
    const int feet = static_cast<int>(radioAltitude);
    const int step = radioAltitude < kFineStepsBelowFt ? 5 : 10;
    return feet / step * step;
}

void RadAlt::setDecisionHeight(int feet) {
    decisionHeight = std::clamp(feet, 0, kMaxDecisionHeight);
}

} // namespace tavi
