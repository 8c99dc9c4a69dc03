// The FMS's side of VNAV: what it reads of the aircraft and what VNAV asks of it.
#include "avionics/Adc.h"
#include "avionics/Ahrs.h"
#include "avionics/FlightDirector.h"
#include "avionics/Gps.h"
#include "avionics/RadAlt.h"
#include "core/Aircraft.h"
#include "core/Imports.h"
#include "fms/Fms.h"
#include "fms/GlobalFlightPlans.h"

namespace tavi {

namespace {

constexpr uint32_t kPauseEvent = 0x10102;
constexpr uint32_t kLiftOffSettleMs = 3000;
constexpr int32_t kClimbPage = 28;
constexpr int32_t kCruisePage = 29;
constexpr int32_t kDescentPage = 30;

} // namespace

int32_t referenceSpeed3(const Adc& adc) {
    return adc.referenceSpeedUnset[2] ? 0 : adc.referenceSpeeds[2];
}

void Fms::updateVnav() {
    vertical.update(activeFlightPlan, perfInit, vnavInputs(), *this);
}

VnavInputs Fms::vnavInputs() const {
    VnavInputs inputs;
    inputs.airborne = airborne;
    inputs.positionInitialised = position.initialised;
    inputs.latitude = position.latitude;
    inputs.longitude = position.longitude;
    inputs.legAlongTrack = lnav.state.legAlongTrack;
    inputs.distanceToGo = lnav.state.distanceToGo;
    inputs.timeToGo = lnav.state.timeToGo;
    inputs.lnavValid = lnav.state.valid;
    inputs.lnavApproach = lnav.state.approach;
    inputs.pauseAtTod = pauseAtTod;
    inputs.nmBeforeTod = nmBeforeTod;
    if (adc) {
        inputs.altitude = adc->indicatedAltitude;
        inputs.pastLiftOff = now - adc->liftoffTime > kLiftOffSettleMs;
        inputs.lowSpeedLimit = std::max(adc->minimumSpeed, 0.0f);
        inputs.maxSpeed = adc->maxOperatingSpeed > 0.0f ? adc->maxOperatingSpeed : Adc::vmo;
        inputs.mmo = adc->maxOperatingMach > 0.0f ? adc->maxOperatingMach : Adc::mmo;
        inputs.gearLimitSpeed = adc->gearLimitSpeed;
        inputs.flapLimitSpeed = adc->flapLimitSpeed;
        inputs.flapsOut = adc->flapAngle > 0.0f;
        inputs.referenceSpeed3 = referenceSpeed3(*adc);
    }
    if (ahrs) {
        inputs.onGround = ahrs->onGround;
        inputs.verticalSpeed = ahrs->unit1.verticalSpeed;
    }
    if (gps) {
        inputs.groundSpeed = static_cast<float>(gps->groundSpeed);
    }
    if (const FlightDirector* director = aircraft->flightDirector()) {
        inputs.preselect = director->altitudePreselect();
    }
    if (const RadAlt* radAlt = aircraft->radAlt()) {
        inputs.radioAltitude = radAlt->radioAltitude;
    }
    return inputs;
}

void Fms::withdrawMessage(const std::string& text) {
    messages.withdraw(text);
}

bool Fms::isWithinAltitudeCapture(float altitude) {
    FlightDirector* director = aircraft->flightDirector();
    return director && director->isWithinAltitudeCapture(altitude);
}

void Fms::pauseSimulator() {
    panelServices().sendKeyEvent(kPauseEvent, 0);
}

void Fms::runFuelPredictions() {
    updateFuelPredictions();
}

void Fms::showDescentPage() {
    if (currentPage == kClimbPage || currentPage == kCruisePage) {
        setPage(kDescentPage, 1);
    }
}

} // namespace tavi
