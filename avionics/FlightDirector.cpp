// The flight director's frame, power, settings, flight director switches and cautions.
#include "avionics/FlightDirector.h"

#include "airframe/Electric.h"
#include "avionics/Adc.h"
#include "avionics/Ahrs.h"
#include "avionics/Autopilot.h"
#include "avionics/Aws.h"
#include "avionics/EicasDau.h"
#include "avionics/FlightDirectorLaws.h"
#include "avionics/Gps.h"
#include "avionics/RadAlt.h"
#include "avionics/Radio.h"
#include "core/Aircraft.h"
#include "core/JoystickButton.h"
#include "fms/Fms.h"

#include <cmath>

namespace tavi {

namespace {

constexpr float kBusLoadAmps = 10.0f;
constexpr float kAbove400FtRadioAltitude = 400.0f;
constexpr float kTasJumpKnots = 1.0f;
constexpr uint32_t kTasJumpHoldMs = 5000;
constexpr float kAltitudeAlertBand = 1000.0f;
constexpr float kAltitudeDeviationBand = 300.0f;
constexpr SoundId kAltitudeAlertSound = 42;
constexpr int32_t kWindshearInopId = 74;

// Posts the caution while the condition holds and removes it otherwise.
void showCaution(Aircraft& aircraft, int32_t id, bool condition, const char* text) {
    showEicasMessage(aircraft.eicasDau(), aircraft.simTimeMs, kEicasCaution, id,
                     condition ? text : "");
}

} // namespace

void FlightDirector::fetchSystems(Aircraft& aircraft) {
    owner = &aircraft;
    autopilot = aircraft.autopilot();
    ahrs = aircraft.ahrs();
    adc = aircraft.adc();
    radio = aircraft.radio();
    radAlt = aircraft.radAlt();
    fms = aircraft.fms();
    gps = aircraft.gps();
    fadec = aircraft.fadec();
    tcas = aircraft.tcas();
}

bool FlightDirector::isRunningFrame(const Aircraft& aircraft) const {
    return aircraft.frameDeltaMs != 0 && !aircraft.slewActive;
}

void FlightDirector::update(Aircraft& aircraft) {
    fetchSystems(aircraft);
    readTargetsBack(aircraft);
    updateGainSchedules();
    updateAbove400Ft();
    ensureConsistency();
    if (aircraft.simTimeMs != 0) {
        started = true;
    }
    dt = aircraft.frameDeltaMs / 1000.0;
    altitudeChanged = false;
    if (isRunningFrame(aircraft)) {
        altitudeChanged = followAltitude();
        synchroniseSpeedTargets(aircraft);
        followGlideslopeNeedle();
        detectTrueAirspeedJump();
        updateGuidance(aircraft);
    }
    updateEicasMessages(aircraft);
    if (altitudeChanged) {
        announceAltitude(aircraft);
    }
    if (!varsRegistered) {
        registerNamedVariables();
    }
    actOnNamedVariables();
    keepSimulatorAutopilotOff(aircraft);
}

void FlightDirector::loadSettings(Aircraft& aircraft) {
    fetchSystems(aircraft);
    maxBank = static_cast<float>(std::fabs(aircraft.readIniDouble("Autopilot", "maxBank", 27.0)));
    bankLimit_ = maxBank;
    pitchStep_ = static_cast<float>(aircraft.readIniDouble("Autopilot", "pitchStep", 0.25));
    bankStep_ = static_cast<float>(aircraft.readIniDouble("Autopilot", "bankStep", 3.0));
    altCaptureLoBreakpoint =
        aircraft.readIniDouble("Autopilot", "altacq_lo_alt_breakpoint", altCaptureLoBreakpoint);
    altCaptureHiBreakpoint =
        aircraft.readIniDouble("Autopilot", "altacq_hi_alt_breakpoint", altCaptureHiBreakpoint);
    altCaptureLoGain = aircraft.readIniDouble("Autopilot", "altacq_lo_alt_K", altCaptureLoGain);
    altCaptureHiGain = aircraft.readIniDouble("Autopilot", "altacq_hi_alt_K", altCaptureHiGain);
    const JoystickButton button =
        JoystickButton::parse(aircraft.readIniString("Joystick", "tcsJoyButton", "0:0"));
    tcsJoystick = button.joystick;
    tcsButtonMask = button.mask;
    useDefaultAp = aircraft.readIniBool("Preferences", "useDefaultAp", true);
    loadGuidanceSettings(&aircraft);
}

void FlightDirector::addElectricLoad(Aircraft&, BusLoads& loads) {
    loads[Electric::kDcBus2] += kBusLoadAmps;
    loads[Electric::kEssentialBus1] += kBusLoadAmps;
}

// The coupled side needs its bus (essential bus 1 for side 1, DC bus 2 for side 2) and its air
// data; without them both directors' modes go to none.
void FlightDirector::updatePower(Aircraft& aircraft) {
    fetchSystems(aircraft);
    const Electric* electric = aircraft.electric();
    const int side = coupledSide_ == 2 ? 1 : 0;
    const int bus = side == 0 ? Electric::kEssentialBus1 : Electric::kDcBus2;
    const bool busPowered = electric && electric->isPowered(bus);
    const bool airDataLost = !adc || adc->selfTest[side] || adc->failed[side];
    inhibited = !busPowered || airDataLost;
    if (inhibited) {
        leaveModesWhileInhibited();
    }
}

void FlightDirector::updateGainSchedules() {
    if (adc) {
        altCaptureGain = static_cast<float>(schedule(adc->pressureAltitude, altCaptureLoBreakpoint,
                                                     altCaptureHiBreakpoint, altCaptureLoGain,
                                                     altCaptureHiGain));
        updateVsGainSchedule(adc->pressureAltitude);
    }
}

void FlightDirector::updateAbove400Ft() {
    if (!isAirborne()) {
        above400Ft = false;
    } else if (radioAltitude() > kAbove400FtRadioAltitude) {
        above400Ft = true;
    }
}

// True when the indicated altitude changed in this frame.
bool FlightDirector::followAltitude() {
    if (!adc || adc->indicatedAltitude == altitude) {
        return false;
    }
    previousAltitude = altitude;
    altitude = adc->indicatedAltitude;
    return true;
}

void FlightDirector::followGlideslopeNeedle() {
    const RadioUnit* receiver = coupledReceiver();
    if (!receiver || !receiver->glideSlopeFlag || dt <= 0.0) {
        return;
    }
    previousGsDeviation = gsDeviation;
    gsDeviation = receiver->gsi;
    gsDeviationRate = static_cast<float>((gsDeviation - previousGsDeviation) / dt);
}

void FlightDirector::detectTrueAirspeedJump() {
    if (!adc) {
        return;
    }
    previousTrueAirspeed = trueAirspeed;
    trueAirspeed = adc->trueAirspeed;
    if (std::fabs(trueAirspeed - previousTrueAirspeed) >= kTasJumpKnots && isAirborne() &&
        started) {
        tasJump = true;
        tasJumpSince = now();
    } else if (!isAirborne() || now() - tasJumpSince >= kTasJumpHoldMs) {
        tasJump = false;
    }
}

void FlightDirector::updateEicasMessages(Aircraft& aircraft) {
    const Electric* electric = aircraft.electric();
    const bool engaged = isAutopilotEngaged();
    const bool nowWindshearInop = !(electric && electric->isPowered(Electric::kAcBus));
    const bool nowLateralModeOff = engaged && lateralMode_ == FdLateralMode::Rol;
    const bool nowVerticalModeOff = engaged && verticalMode_ == FdVerticalMode::Pit;
    windshearInopChanged = nowWindshearInop != windshearInop;
    lateralModeOffChanged = nowLateralModeOff != lateralModeOff;
    verticalModeOffChanged = nowVerticalModeOff != verticalModeOff;
    windshearInop = nowWindshearInop;
    lateralModeOff = nowLateralModeOff;
    verticalModeOff = nowVerticalModeOff;

    const bool poweredAgain = eicasPower.poweredAgain(aircraft.eicasDau());
    const bool all = !started || poweredAgain;
    if (all || windshearInopChanged) {
        showCaution(aircraft, kWindshearInopId, windshearInop, "WINDSHEAR INOP");
    }
    if (all || lateralModeOffChanged) {
        showCaution(aircraft, EicasDau::kLateralModeOffId, lateralModeOff, "LATERAL MODE OFF");
    }
    if (all || verticalModeOffChanged) {
        showCaution(aircraft, EicasDau::kVerticalModeOffId, verticalModeOff, "VERTICAL MODE OFF");
    }
}

// Called in the frames in which the altitude changed: approaching the preselected altitude to
// within 1000 ft, or leaving it by 300 ft while holding it.
void FlightDirector::announceAltitude(Aircraft& aircraft) {
    if (!isAirborne()) {
        return;
    }
    const float previousOffset = std::fabs(previousAltitude - altitudePreselect_);
    const float offset = std::fabs(altitude - altitudePreselect_);
    const bool approaching = previousOffset > kAltitudeAlertBand && offset <= kAltitudeAlertBand;
    const bool deviating = verticalMode_ == FdVerticalMode::Alt &&
                           previousOffset < kAltitudeDeviationBand &&
                           offset >= kAltitudeDeviationBand;
    if (approaching || deviating) {
        if (Aws* aws = aircraft.aws()) {
            aws->enqueue(kAltitudeAlertSound);
        }
    }
}

} // namespace tavi
