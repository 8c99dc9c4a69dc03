#include "airframe/Pressure.h"

#include "airframe/Fadec.h"
#include "airframe/Mechanisation.h"
#include "airframe/Pneumatic.h"
#include "avionics/Adc.h"
#include "avionics/Ahrs.h"
#include "avionics/Baro.h"
#include "avionics/EicasDau.h"
#include "core/Aircraft.h"
#include "core/Format.h"

#include <algorithm>
#include <cmath>

namespace tavi {

namespace {

constexpr double kMsPerMinute = 60000.0;
// A reposition moves the outside altitude by more than this between two steps.
constexpr double kAltitudeJump = 1000.0;
// Below this outside altitude the controller gives up.
constexpr double kLowestOutsideAltitude = -2000.0;
// The schedule: 4.0 psi at sea level, growing to 7.8 psi at 37000 ft.
constexpr double kScheduleBaseDifferential = 4.0;
constexpr double kScheduleGrowth = 3.8;
constexpr double kScheduleTopAltitude = 37000.0;
// The cabin is held this much above the outside pressure for take-off and climb.
constexpr double kTakeoffDifferential = 0.2;
// The cabin is kept a little above the landing field.
constexpr double kLandingFieldOffset = -0.16;
constexpr double kRateGain = 8.0;
constexpr double kDeadband = 20.0;
constexpr double kNoPackDeadband = 10.0;
constexpr double kTakeoffDescentRate = -450.0;
constexpr double kSteepDescentVerticalSpeed = -2000.0;
constexpr double kFewerPacksClimbRate = 1500.0;
constexpr double kOnePackClimbRate = 1200.0;
constexpr double kNoPackRate = 4000.0;
constexpr double kLandingRate = 650.0;
constexpr double kGroundRate = 200.0;
constexpr double kMinimumRate = 50.0;
constexpr double kHoldMargin = 50.0;
constexpr double kReliefStep = 15.0;
constexpr double kRateStep = 25.0;
constexpr double kNearMaxDifferential = 8.05;
constexpr double kMaxCabinRate = 3000.0;
constexpr uint32_t kLongestClimbSeconds = 900;
// The FADEC's lever ranges, in degrees of lever travel.
constexpr float kIdleLowest = 22.0f;
constexpr float kIdleHighest = 28.0f;
constexpr float kTakeoffLowest = 72.0f;
constexpr float kTakeoffHighest = 78.0f;

bool within(float angle, float lowest, float highest) {
    return angle >= lowest && angle <= highest;
}

int32_t truncatedVerticalSpeed(float feetPerMinute) {
    if (!std::isfinite(feetPerMinute)) {
        return 0;
    }
    return static_cast<int32_t>(std::clamp(feetPerMinute, -1.0e6f, 1.0e6f));
}

} // namespace

void Pressure::setLandingElevation(int32_t feet) {
    landingElevation = std::clamp(feet, kLowestLandingElevation, kHighestLandingElevation);
}

void Pressure::update(Aircraft& aircraft) {
    landingElevationText = format("%5d", landingElevation);
    stepTimeMs += static_cast<uint32_t>(std::max(aircraft.frameDeltaMs, 0));
    if (stepTimeMs < kStepMs) {
        return;
    }
    // Without a standard atmosphere and a static pressure there is no outside altitude.
    const Baro* baro = aircraft.baro();
    if (baro && std::isfinite(baro->staticPressure) && baro->staticPressure > 0.0) {
        step(aircraft, *baro);
    }
    stepTimeMs = 0;
}

void Pressure::step(Aircraft& aircraft, const Baro& baro) {
    packsRunning = countPacksRunning(aircraft);
    const Inputs in = readInputs(aircraft, baro);
    // A reposition is told apart from the outside altitude of the previous step.
    if (!started || std::fabs(in.outside - previousAircraftAltitude) > kAltitudeJump) {
        commandedRate = 0.0;
        cabinRate = 0.0;
        aircraftAltitude = in.outside;
        previousAircraftAltitude = in.outside;
    }
    control(baro, in);
    // The first step sets the cabin directly, so it moves over no more than one step.
    const uint32_t stepMs = started ? stepTimeMs : std::min(stepTimeMs, kStepMs);
    moveCabin(baro, in, stepMs / kMsPerMinute);
    if (aircraft.simTimeMs != 0) {
        started = true;
    }
    updateWarning(aircraft);
}

Pressure::Inputs Pressure::readInputs(Aircraft& aircraft, const Baro& baro) const {
    Inputs in;
    in.now = aircraft.simTimeMs;
    if (const Ahrs* ahrs = aircraft.ahrs()) {
        in.onGround = ahrs->onGround;
        in.verticalSpeed = truncatedVerticalSpeed(ahrs->unit1.verticalSpeed);
    }
    // Without a FADEC the levers rest at idle.
    in.bothLeversAtIdle = true;
    if (const Fadec* fadec = aircraft.fadec()) {
        for (const float angle : fadec->leverAngle) {
            in.leverAtTakeoff = in.leverAtTakeoff || within(angle, kTakeoffLowest, kTakeoffHighest);
            in.bothLeversAtIdle = in.bothLeversAtIdle && within(angle, kIdleLowest, kIdleHighest);
        }
    }
    if (const Mechanisation* mechanisation = aircraft.mechanisation()) {
        in.exitOpen = mechanisation->exitOpen[0] > 0.0f || mechanisation->exitOpen[1] > 0.0f;
    }
    in.outside = baro.altitudeAtPressure(baro.staticPressure);
    const double scheduled =
        kScheduleBaseDifferential +
        kScheduleGrowth * std::clamp(in.outside, 0.0, kScheduleTopAltitude) / kScheduleTopAltitude;
    in.schedule = baro.altitudeWithPressureOffset(in.outside, scheduled);
    in.landingField = baro.altitudeWithPressureOffset(landingElevation, kLandingFieldOffset);
    return in;
}

int32_t Pressure::countPacksRunning(const Aircraft& aircraft) {
    const Pneumatic* pneumatic = aircraft.pneumatic();
    if (!pneumatic) {
        return 0;
    }
    return (pneumatic->pack1ValveOpen && pneumatic->side1Supplied) +
           (pneumatic->pack2ValveOpen && pneumatic->side2Supplied);
}

void Pressure::control(const Baro& baro, const Inputs& in) {
    aircraftAltitude = in.outside;
    if (in.outside < kLowestOutsideAltitude) {
        targetCabinAltitude = 0.0;
        commandedRate = 0.0;
        return;
    }
    if (mode == kModeNotChosen) {
        mode = in.onGround ? kGroundMode : kScheduleMode;
    }
    if ((in.onGround && in.leverAtTakeoff) || mode == kTakeoffMode) {
        controlTakeoff(baro, in);
    } else if (mode == kClimbMode) {
        controlClimb(baro, in);
    } else if (mode == kScheduleMode) {
        controlSchedule(in);
    } else if (in.onGround && mode == kLandingMode) {
        controlLanding();
    } else {
        controlGround(in);
    }
    if (!started) {
        cabinAltitude = targetCabinAltitude;
        targetCabinAltitude = 0.0;
        differentialPressure = baro.pressureDifference(cabinAltitude, in.outside);
    }
}

void Pressure::controlTakeoff(const Baro& baro, const Inputs& in) {
    mode = kTakeoffMode;
    targetCabinAltitude = baro.altitudeWithPressureOffset(in.outside, kTakeoffDifferential);
    commandedRate = targetCabinAltitude < cabinAltitude ? kTakeoffDescentRate : 0.0;
    if (!in.onGround) {
        mode = kClimbMode;
        climbStartTime = in.now;
        return;
    }
    if (in.bothLeversAtIdle) {
        mode = kLandingMode;
    }
    departureElevation = static_cast<int32_t>(in.outside);
}

void Pressure::controlClimb(const Baro& baro, const Inputs& in) {
    targetCabinAltitude = baro.altitudeWithPressureOffset(departureElevation, kTakeoffDifferential);
    commandedRate = targetCabinAltitude < cabinAltitude ? kTakeoffDescentRate : 0.0;
    const bool climbGoingOn = (in.now - climbStartTime) / 1000 <= kLongestClimbSeconds;
    if (in.schedule < cabinAltitude && climbGoingOn) {
        if (in.onGround && in.bothLeversAtIdle) {
            mode = kLandingMode;
        }
        return;
    }
    mode = kScheduleMode;
    targetCabinAltitude = std::max(in.schedule, in.landingField);
    const double lowest =
        in.verticalSpeed >= kSteepDescentVerticalSpeed ? kTakeoffDescentRate : maxDescentRate;
    const double highest = packsRunning == 2 ? maxClimbRate : kFewerPacksClimbRate;
    commandedRate = rateToTarget(kDeadband, lowest, highest);
    applyMinimumRate();
}

// One pack holds the cabin where it is and never climbs it.
void Pressure::controlSchedule(const Inputs& in) {
    if (packsRunning > 0) {
        targetCabinAltitude = std::max(in.schedule, in.landingField);
        if (packsRunning == 1 && targetCabinAltitude >= cabinAltitude) {
            targetCabinAltitude = cabinAltitude;
        }
        const double lowest =
            in.verticalSpeed >= kSteepDescentVerticalSpeed ? kTakeoffDescentRate : maxDescentRate;
        commandedRate = rateToTarget(kDeadband, lowest, maxClimbRate);
    } else {
        targetCabinAltitude = in.outside;
        commandedRate = rateToTarget(kDeadband, -kNoPackRate, kNoPackRate);
    }
    applyMinimumRate();
    if (in.onGround && in.bothLeversAtIdle) {
        mode = kLandingMode;
    }
}

void Pressure::controlLanding() {
    targetCabinAltitude = landingElevation;
    if (std::fabs(cabinAltitude - targetCabinAltitude) < kDeadband) {
        mode = kGroundMode;
        commandedRate = 0.0;
    } else {
        commandedRate =
            cabinAltitude >= targetCabinAltitude + kDeadband ? -kLandingRate : kLandingRate;
    }
}

void Pressure::controlGround(const Inputs& in) {
    targetCabinAltitude = in.outside;
    if (std::fabs(cabinAltitude - in.outside) < kDeadband) {
        commandedRate = 0.0;
    } else {
        commandedRate = cabinAltitude >= in.outside + kDeadband ? -kGroundRate : kGroundRate;
    }
    if (!in.onGround) {
        mode = kScheduleMode;
    }
}

double Pressure::rateToTarget(double deadband, double lowest, double highest) const {
    const double gap = targetCabinAltitude - cabinAltitude;
    if (std::fabs(gap) < deadband) {
        return 0.0;
    }
    return std::clamp(kRateGain * gap, lowest, highest);
}

void Pressure::applyMinimumRate() {
    if (std::fabs(commandedRate) < kMinimumRate &&
        std::fabs(targetCabinAltitude - cabinAltitude) >= kDeadband) {
        commandedRate = commandedRate < 0.0 ? -kMinimumRate : kMinimumRate;
    }
}

void Pressure::moveCabin(const Baro& baro, const Inputs& in, double minutes) {
    previousAircraftAltitude = aircraftAltitude;
    if (in.exitOpen) {
        targetCabinAltitude = in.outside;
        cabinAltitude = in.outside;
        commandedRate = in.verticalSpeed;
        cabinRate = in.verticalSpeed;
        differentialPressure = 0.0;
        return;
    }
    if (packsRunning == 0) {
        targetCabinAltitude = in.outside;
        commandedRate = rateToTarget(kNoPackDeadband, -kNoPackRate, kNoPackRate);
        cabinRate = commandedRate;
    } else {
        settleCabinRate();
        cabinRate = std::clamp(cabinRate, -kMaxCabinRate, kMaxCabinRate);
    }
    cabinAltitude += cabinRate * minutes;
    differentialPressure = baro.pressureDifference(cabinAltitude, in.outside);
}

// With packs the cabin's rate moves by small steps: relief first, then towards the wanted rate.
void Pressure::settleCabinRate() {
    if (differentialPressure > maxDifferential) {
        cabinRate += kReliefStep;
        return;
    }
    if (differentialPressure < minDifferential) {
        cabinRate -= kReliefStep;
        return;
    }
    cabinRate += std::clamp(wantedRate() - cabinRate, -kRateStep, kRateStep);
    if (differentialPressure > minDifferential && differentialPressure < maxDifferential) {
        if (cabinRate > maxClimbRate && packsRunning == 2) {
            cabinRate -= kRateStep;
        }
        if (cabinRate < maxDescentRate) {
            cabinRate += kRateStep;
        }
    }
}

double Pressure::wantedRate() const {
    if (commandedRate > maxClimbRate && differentialPressure < kNearMaxDifferential &&
        packsRunning == 2) {
        return maxClimbRate;
    }
    if (commandedRate < maxDescentRate && differentialPressure > minDifferential) {
        return maxDescentRate;
    }
    if (targetCabinAltitude - cabinAltitude > kHoldMargin && commandedRate < 0.0) {
        return 0.0;
    }
    if (cabinAltitude - targetCabinAltitude > kHoldMargin && commandedRate > 0.0) {
        return 0.0;
    }
    const double highest = packsRunning == 2 ? maxClimbRate : kOnePackClimbRate;
    return std::clamp(commandedRate, static_cast<double>(maxDescentRate), highest);
}

void Pressure::updateWarning(Aircraft& aircraft) {
    if (cabinAltitude > kWarningAltitude && !cabinAltitudeWarning) {
        cabinAltitudeAcknowledged = false;
        if (EicasDau* eicasDau = aircraft.eicasDau()) {
            eicasDau->setWarningRequest(true);
        }
        cabinAltitudeWarning = true;
    } else if (cabinAltitude <= kWarningAltitude && cabinAltitudeWarning) {
        cabinAltitudeWarning = false;
        cabinAltitudeAcknowledged = false;
        // The master warning has no message to hold it: its request goes with the high cabin,
        // unless an overspeed still holds it.
        const Adc* adc = aircraft.adc();
        EicasDau* eicasDau = aircraft.eicasDau();
        if (eicasDau && !(adc && (adc->isOverspeed1() || adc->isOverspeed2()))) {
            eicasDau->setWarningRequest(false);
        }
    }
}

} // namespace tavi
