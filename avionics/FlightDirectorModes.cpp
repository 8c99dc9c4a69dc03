// The flight director's modes: the mode operations and buttons, TO/GA, touch-control steering,
// and the captures and transitions that run on every frame of the guidance.
#include "airframe/Fadec.h"
#include "avionics/Adc.h"
#include "avionics/Ahrs.h"
#include "avionics/Autopilot.h"
#include "avionics/FlightDirector.h"
#include "avionics/FlightDirectorLaws.h"
#include "avionics/RadAlt.h"
#include "avionics/Radio.h"
#include "core/Aircraft.h"
#include "core/Angles.h"
#include "core/Imports.h"
#include "core/JoystickButton.h"
#include "fms/Fms.h"

#include <algorithm>
#include <cmath>
#include <initializer_list>

namespace tavi {

namespace {

// Above it low bank comes on in HDG, and below the lower one it goes off.
constexpr float kLowBankOnAltitude = 25000.0f;
constexpr float kLowBankOffAltitude = 24750.0f;
// Climbing through the upper altitude the speed target becomes a Mach number, descending
// through the lower one an IAS.
constexpr float kMachAltitude = 25100.0f;
constexpr float kIasAltitude = 25000.0f;
constexpr float kAutoAselBand = 400.0f;
constexpr float kPitAselVerticalSpeed = 100.0f;
constexpr float kAltitudeCapturedBand = 40.0f;
constexpr float kAltitudeCapturedVerticalSpeed = 100.0f;
constexpr float kPreselectRefusalBand = 100.0f;
constexpr uint32_t kLiftoffCaptureDelayMs = 4999;
constexpr float kTakeoffMaxCas = 60.0f;
constexpr float kGoAroundMinimumSpeedFactor = 1.23f;
constexpr float kGoAroundMaxSpeed = 170.0f;
constexpr float kGoAroundAselMargin = 400.0f;
// The knob's needle spans -27..27 degrees over 0..100.
constexpr float kTurnKnobHalfRange = 27.0f;
constexpr float kTcsBankHoldAngle = 6.0f;
constexpr double kLnavCaptureCrossTrack = 0.25;
constexpr float kCdiFullScale = 127.0f;
constexpr float kGsiFullScale = 120.0f;
constexpr float kPitchWheelVerticalSpeedStep = 100.0f;
constexpr float kAltitudeCaptureMinimumBand = 150.0f;
constexpr float kAltitudeCaptureMinimumRadioAltitude = 100.0f;
constexpr int32_t kBackCourseBit = 1 << 4;

bool isRadioMode(FdLateralMode mode) {
    return isOneOf(
        mode, {FdLateralMode::Vor, FdLateralMode::Vapp, FdLateralMode::Loc, FdLateralMode::Bc});
}

bool isHeadingBasedMode(FdLateralMode mode) {
    return mode == FdLateralMode::Hdg || mode == FdLateralMode::Lnav || isRadioMode(mode);
}

int32_t truncatedToHundreds(float feetPerMinute) {
    return static_cast<int32_t>(std::trunc(feetPerMinute / 100.0f)) * 100;
}

} // namespace

// Readings of the neighbours; an absent neighbour reads as off.

bool FlightDirector::isAutopilotEngaged() const {
    return autopilot && autopilot->engaged;
}

bool FlightDirector::isFlightDirectorOrAutopilotOn() const {
    return fd1On || fd2On || isAutopilotEngaged();
}

bool FlightDirector::isAirborne() const {
    return ahrs && !ahrs->onGround;
}

bool FlightDirector::isFmsSourceCoupled() const {
    return coupledSide_ == 2 ? fmsSource2 : fmsSource1;
}

void FlightDirector::selectNavigationSource(int side, bool fms) {
    (side == 1 ? fmsSource1 : fmsSource2) = fms;
}

RadioUnit* FlightDirector::coupledReceiver() const {
    if (!radio) {
        return nullptr;
    }
    return coupledSide_ == 2 ? &radio->unit2 : &radio->unit1;
}

AhrsUnit* FlightDirector::coupledAhrs() const {
    if (!ahrs) {
        return nullptr;
    }
    return coupledSide_ == 2 ? &ahrs->unit2 : &ahrs->unit1;
}

// Unit 1 keeps the heading validity of both sides.
bool FlightDirector::isCoupledHeadingValid() const {
    if (!ahrs) {
        return false;
    }
    return !(coupledSide_ == 2 ? ahrs->unit1.headingSide2 : ahrs->unit1.headingSide1).invalid;
}

bool FlightDirector::isBackCourse() const {
    const RadioUnit* receiver = coupledReceiver();
    return receiver && (receiver->backCourseFlags & kBackCourseBit) != 0;
}

const LnavState* FlightDirector::lnav() const {
    return fms ? fms->lnavState() : nullptr;
}

std::optional<double> FlightDirector::activeLegDistance() const {
    return fms ? fms->activeLegDistance() : std::nullopt;
}

float FlightDirector::currentPitch() const {
    return ahrs ? ahrs->unit1.pitch : 0.0f;
}

float FlightDirector::currentBank() const {
    return ahrs ? ahrs->unit1.bank : 0.0f;
}

float FlightDirector::verticalSpeed() const {
    return ahrs ? ahrs->unit1.verticalSpeed : 0.0f;
}

float FlightDirector::calibratedAirspeed() const {
    return adc ? adc->indicatedAirspeed : 0.0f;
}

float FlightDirector::radioAltitude() const {
    return radAlt ? radAlt->radioAltitude : 0.0f;
}

float FlightDirector::autopilotMaxBank() const {
    return autopilot ? autopilot->maxBank : maxBank;
}

float FlightDirector::autopilotHalfBank() const {
    return autopilot ? autopilot->halfBank : kHalfBankDefault;
}

uint32_t FlightDirector::now() const {
    return owner ? owner->simTimeMs : 0;
}

// The directors come on by themselves under the autopilot or with a mode beyond PIT/ROL; with
// both off and the autopilot disengaged every mode is none.
void FlightDirector::ensureConsistency() {
    const bool engaged = isAutopilotEngaged();
    if (engaged && (!fd1On || !fd2On)) {
        fd1On = fd2On = true;
    }
    const bool verticalBeyondPit =
        verticalMode_ != FdVerticalMode::None && verticalMode_ != FdVerticalMode::Pit;
    const bool lateralBeyondRol =
        lateralMode_ != FdLateralMode::None && lateralMode_ != FdLateralMode::Rol;
    if (!fd1On && !fd2On && (verticalBeyondPit || lateralBeyondRol)) {
        fd1On = fd2On = true;
    }
    if (!engaged && !fd1On && !fd2On) {
        verticalMode_ = armedVerticalMode_ = FdVerticalMode::None;
        setLateralMode(FdLateralMode::None);
        armedLateralMode_ = FdLateralMode::None;
        return;
    }
    if (verticalMode_ == FdVerticalMode::None) {
        if (armedVerticalMode_ == FdVerticalMode::Asel ||
            armedVerticalMode_ == FdVerticalMode::Gs) {
            verticalMode_ = FdVerticalMode::Pit;
        } else {
            setVerticalMode(FdVerticalMode::Pit);
        }
    }
    if (lateralMode_ == FdLateralMode::None) {
        setLateralMode(FdLateralMode::Rol);
    }
}

void FlightDirector::toggleFlightDirector1() {
    toggleFlightDirector(fd1On);
}

void FlightDirector::toggleFlightDirector2() {
    toggleFlightDirector(fd2On);
}

// A director cannot be switched off under the autopilot; with both off and the autopilot
// disengaged every mode is none.
void FlightDirector::toggleFlightDirector(bool& on) {
    if (isAutopilotEngaged() && on) {
        return;
    }
    on = !on;
    if (!isAutopilotEngaged() && !fd1On && !fd2On) {
        clearModes();
    }
    ensureConsistency();
}

void FlightDirector::clearModes() {
    verticalMode_ = armedVerticalMode_ = FdVerticalMode::None;
    lateralMode_ = armedLateralMode_ = FdLateralMode::None;
}

// The coupled side's bus or air data is lost: its director goes off, PIT and ROL (none with
// both directors off).
void FlightDirector::leaveModesWhileInhibited() {
    // The servos stop with the guidance: an autopilot left engaged held frozen controls and
    // withheld the pilot's axes.
    if (isAutopilotEngaged()) {
        autopilot->toggleEngage();
    }
    if (coupledSide_ == 1 && fd1On) {
        toggleFlightDirector1();
    } else if (coupledSide_ == 2 && fd2On) {
        toggleFlightDirector2();
    }
    setVerticalMode(FdVerticalMode::Pit);
    cancelLateralMode();
}

// Mode operations.

void FlightDirector::setLateralMode(FdLateralMode mode) {
    tcsBankHold = false;
    if (mode < FdLateralMode::None || mode > FdLateralMode::TogaRol) {
        return;
    }
    if (inhibited || !isFlightDirectorOrAutopilotOn()) {
        mode = FdLateralMode::None;
    }
    switch (mode) {
    case FdLateralMode::None:
    case FdLateralMode::Rol:
    case FdLateralMode::TogaRol:
        if (mode == FdLateralMode::Rol && lateralMode_ != FdLateralMode::Rol) {
            clearRollFlags();
        }
        if (autopilot) {
            autopilot->setBankCommand(currentBank());
        }
        lateralMode_ = mode;
        if (mode == FdLateralMode::None) {
            armedLateralMode_ = FdLateralMode::None;
        }
        break;
    case FdLateralMode::Hdg:
        headingPi.integral = 0.0;
        lateralMode_ = mode;
        break;
    case FdLateralMode::Lnav:
        headingPi.integral = 0.0;
        lnavPi.integral = 0.0;
        lateralMode_ = mode;
        break;
    default:
        headingPi.integral = vorPi.integral = vappPi.integral = locPi.integral = 0.0;
        lateralMode_ = mode;
        break;
    }
}

void FlightDirector::setVerticalMode(FdVerticalMode mode) {
    if (mode < FdVerticalMode::None || mode > FdVerticalMode::Toga) {
        return;
    }
    if (inhibited || !isFlightDirectorOrAutopilotOn()) {
        mode = FdVerticalMode::None;
    }
    switch (mode) {
    case FdVerticalMode::None:
    case FdVerticalMode::Pit:
        if (autopilot) {
            autopilot->setPitchCommand(currentPitch());
        }
        verticalMode_ = mode;
        if (mode == FdVerticalMode::None) {
            armedVerticalMode_ = FdVerticalMode::None;
        } else if (adc && std::fabs(adc->indicatedAltitude - altitudePreselect_) > kAutoAselBand &&
                   std::fabs(verticalSpeed()) > kPitAselVerticalSpeed) {
            armAltitudeSelect();
        } else if (armedVerticalMode_ != FdVerticalMode::Gs) {
            armedVerticalMode_ = FdVerticalMode::None;
        }
        break;
    case FdVerticalMode::Alt:
        if (verticalMode_ == FdVerticalMode::Alt || verticalMode_ == FdVerticalMode::Gs) {
            break;
        }
        altHoldPi.integral = vsRatePi.integral = 0.0;
        resetPitchLoop();
        altitudeHoldTarget_ = altitudePreselect_;
        verticalMode_ = FdVerticalMode::Alt;
        disarmUnlessGlideslope();
        panelServices().sendKeyEvent(kVerticalSpeedEvent, 0);
        break;
    case FdVerticalMode::Asel:
        altCapturePi.integral = vsRatePi.integral = 0.0;
        resetPitchLoop();
        altitudeHoldTarget_ = altitudePreselect_;
        verticalMode_ = FdVerticalMode::Asel;
        disarmUnlessGlideslope();
        break;
    case FdVerticalMode::Vs:
        if (isRefusedNearPreselect()) {
            break;
        }
        resetPitchLoop();
        panelServices().sendKeyEvent(kVerticalSpeedEvent,
                                     static_cast<uint32_t>(truncatedToHundreds(verticalSpeed())));
        verticalMode_ = FdVerticalMode::Vs;
        armAltitudeSelect();
        break;
    case FdVerticalMode::Speed:
    case FdVerticalMode::ClimbDescent:
        if (isRefusedNearPreselect()) {
            break;
        }
        resetPitchLoop();
        resetLevelChangeLoop();
        verticalMode_ = mode;
        armAltitudeSelect();
        break;
    case FdVerticalMode::Gs:
        if (lateralMode_ == FdLateralMode::Loc && verticalMode_ != FdVerticalMode::Gs) {
            gsPi.integral = vsRatePi.integral = 0.0;
            resetPitchLoop();
            verticalMode_ = FdVerticalMode::Gs;
            armedVerticalMode_ = FdVerticalMode::None;
        }
        break;
    case FdVerticalMode::Toga:
        setTakeoffOrGoAround();
        if (verticalMode_ == FdVerticalMode::Toga) {
            resetPitchLoop();
            resetLevelChangeLoop();
        }
        break;
    }
    casPredictor.lastInput = calibratedAirspeed();
    vsPredictor.lastInput = verticalSpeed();
}

// VS, speed and climb/descent stay unavailable while ALT holds an altitude within 100 ft of the
// preselected one.
bool FlightDirector::isRefusedNearPreselect() const {
    return verticalMode_ == FdVerticalMode::Alt &&
           std::fabs(altitudePreselect_ - altitudeHoldTarget_) < kPreselectRefusalBand;
}

void FlightDirector::armAltitudeSelect() {
    if (armedVerticalMode_ != FdVerticalMode::Gs) {
        armedVerticalMode_ = FdVerticalMode::Asel;
    }
}

void FlightDirector::disarmUnlessGlideslope() {
    if (armedVerticalMode_ != FdVerticalMode::Gs) {
        armedVerticalMode_ = FdVerticalMode::None;
    }
}

// An armed glideslope gives way to an armed ASEL, or to nothing where ASEL makes no sense.
void FlightDirector::disarmGlideslope() {
    const bool holdingOrCapturing =
        isOneOf(verticalMode_, {FdVerticalMode::Alt, FdVerticalMode::Asel, FdVerticalMode::None});
    armedVerticalMode_ = holdingOrCapturing ? FdVerticalMode::None : FdVerticalMode::Asel;
}

void FlightDirector::clearRollFlags() {
    rollHeadingHold = false;
    rollLevelTimerRunning = false;
}

// Take-off on the ground below 60 kt or before the first 400 ft of radio altitude, go-around
// after them below 2500 ft.
void FlightDirector::setTakeoffOrGoAround() {
    const bool slowOnGround = !isAirborne() && calibratedAirspeed() < kTakeoffMaxCas;
    const bool takeoff =
        !takeoffMode && (slowOnGround || (!above400Ft && verticalMode_ != FdVerticalMode::Toga));
    if (takeoff) {
        leaveMach();
        verticalMode_ = FdVerticalMode::Toga;
        armedVerticalMode_ = FdVerticalMode::Asel;
        setLateralMode(FdLateralMode::TogaRol);
        armedLateralMode_ = FdLateralMode::None;
        takeoffMode = true;
        togaSince = now();
        return;
    }
    // No ceiling on the go-around: above 2500 ft radio altitude TO/GA selected the take-off
    // rating and the missed approach but left the pitch where it was, in PIT.
    if (!(takeoffMode || above400Ft) || verticalMode_ == FdVerticalMode::Toga) {
        return;
    }
    // The speed-units button is refused in climb/descent: through it a go-around from a Mach
    // climb or descent stayed in Mach and its target went back to the Mach speed.
    leaveMach();
    const float minimumSpeed = adc ? adc->minimumSpeed : 0.0f;
    const float speed = std::ceil(std::max(iasTarget_, kGoAroundMinimumSpeedFactor * minimumSpeed));
    setSpeedTarget(static_cast<int32_t>(std::min(speed, kGoAroundMaxSpeed)));
    togaSince = now();
    goAroundAltitude = altitude;
    verticalMode_ = FdVerticalMode::Toga;
    armedVerticalMode_ = FdVerticalMode::Asel;
    setLateralMode(FdLateralMode::TogaRol);
    armedLateralMode_ = FdLateralMode::None;
    takeoffMode = false;
}

void FlightDirector::cancelLateralMode() {
    setLateralMode(FdLateralMode::Rol);
    armedLateralMode_ = FdLateralMode::None;
    if (autopilot) {
        autopilot->syncBank();
    }
}

// The approach ends: ROL, the pitch command on the present pitch, GS back to PIT and an armed GS
// disarmed.
void FlightDirector::cancelApproach() {
    cancelLateralMode();
    if (autopilot) {
        autopilot->setPitchCommand(currentPitch());
    }
    if (verticalMode_ == FdVerticalMode::Gs) {
        setVerticalMode(FdVerticalMode::Pit);
    }
    if (armedVerticalMode_ == FdVerticalMode::Gs) {
        disarmGlideslope();
    }
}

// Buttons.

void FlightDirector::pressNav() {
    using enum FdLateralMode;
    if (isOneOf(armedLateralMode_, {Vor, Loc, Bc, Lnav})) {
        armedLateralMode_ = None;
        return;
    }
    if (armedVerticalMode_ == FdVerticalMode::Gs) {
        disarmGlideslope();
    }
    if (isOneOf(lateralMode_, {Vor, Loc, Bc, Lnav})) {
        cancelLateralMode();
        return;
    }
    approachSelected = false;
    if (isFmsSourceCoupled()) {
        const LnavState* state = lnav();
        if (state && state->valid) {
            setLateralMode(Hdg);
            armedLateralMode_ = Lnav;
        }
        return;
    }
    const RadioUnit* receiver = coupledReceiver();
    if (!receiver || receiver->navSignal == 0) {
        setLateralMode(Hdg);
        armedLateralMode_ = Vor;
        return;
    }
    navValid = navWasValid = true;
    setLateralMode(Hdg);
    if (!receiver->hasLocalizer) {
        armedLateralMode_ = Vor;
    } else {
        armedLateralMode_ = isBackCourse() ? Bc : Loc;
    }
}

void FlightDirector::pressApproach() {
    using enum FdLateralMode;
    if (isOneOf(armedLateralMode_, {Vapp, Loc, Bc, Lnav})) {
        armedLateralMode_ = None;
        return;
    }
    if (armedVerticalMode_ == FdVerticalMode::Gs) {
        disarmGlideslope();
    }
    if (isOneOf(lateralMode_, {Vapp, Loc, Bc, Lnav})) {
        cancelLateralMode();
        return;
    }
    if (isFmsSourceCoupled()) {
        setLateralMode(Hdg);
        armedLateralMode_ = Lnav;
        return;
    }
    approachSelected = true;
    const RadioUnit* receiver = coupledReceiver();
    if (!receiver || receiver->navSignal == 0) {
        setLateralMode(Hdg);
        armedLateralMode_ = Vapp;
        return;
    }
    navValid = navWasValid = gsValid = gsWasValid = true;
    setLateralMode(Hdg);
    if (!receiver->hasLocalizer) {
        armedLateralMode_ = Vapp;
    } else if (isBackCourse()) {
        armedLateralMode_ = Bc;
    } else {
        armedLateralMode_ = Loc;
        armedVerticalMode_ = FdVerticalMode::Gs;
    }
}

void FlightDirector::selectHeadingMode(bool on) {
    cancelLateralMode();
    if (!on) {
        if (autopilot) {
            autopilot->setBankCommand(currentBank());
        }
        return;
    }
    setLateralMode(FdLateralMode::Hdg);
    if (!isLowBankOn() && altitude >= kLowBankOnAltitude) {
        setLowBank(true);
    }
}

void FlightDirector::toggleAltitudeHold() {
    if (verticalMode_ == FdVerticalMode::Alt) {
        setVerticalMode(FdVerticalMode::Pit);
        return;
    }
    setVerticalMode(FdVerticalMode::Alt);
    if (adc) {
        altitudeHoldTarget_ = adc->indicatedAltitude;
    }
}

void FlightDirector::selectVerticalSpeedMode(bool on) {
    if (on) {
        setVerticalMode(FdVerticalMode::Vs);
    } else if (verticalMode_ == FdVerticalMode::Vs) {
        setVerticalMode(FdVerticalMode::Pit);
        panelServices().sendKeyEvent(kVerticalSpeedEvent, 0);
    }
}

void FlightDirector::selectSpeedMode(bool on) {
    if (!on) {
        if (verticalMode_ == FdVerticalMode::Speed) {
            setVerticalMode(FdVerticalMode::Pit);
        }
        return;
    }
    if (altitude >= kMachAltitude) {
        machMode = true;
        setMachTarget(adc ? adc->mach : 0.0f);
    } else {
        machMode = false;
        setSpeedTarget(static_cast<int32_t>(calibratedAirspeed()));
    }
    setVerticalMode(FdVerticalMode::Speed);
}

void FlightDirector::selectFlightLevelChange(bool on) {
    if (on) {
        setVerticalMode(FdVerticalMode::ClimbDescent);
    } else if (verticalMode_ == FdVerticalMode::ClimbDescent) {
        setVerticalMode(FdVerticalMode::Pit);
    }
}

// A second press in TO/GA cancels it to PIT and ROL.
void FlightDirector::pressToGa() {
    if (fadec && isAirborne()) {
        fadec->selectTakeoffRating();
    }
    if (verticalMode_ == FdVerticalMode::Toga) {
        setVerticalMode(FdVerticalMode::Pit);
        cancelLateralMode();
        takeoffMode = false;
        return;
    }
    setVerticalMode(FdVerticalMode::Toga);
    if (fms) {
        fms->activateMissedApproach();
    }
}

void FlightDirector::switchSide() {
    setVerticalMode(FdVerticalMode::Pit);
    cancelLateralMode();
    coupledSide_ = 3 - coupledSide_;
}

void FlightDirector::setLowBank(bool on) {
    if (!on) {
        bankLimit_ = autopilotMaxBank();
    } else if (lateralMode_ == FdLateralMode::Hdg) {
        bankLimit_ = autopilotHalfBank();
    }
}

void FlightDirector::toggleLowBank() {
    setLowBank(!isLowBankOn());
}

bool FlightDirector::isLowBankOn() const {
    return bankLimit_ == autopilotHalfBank();
}

void FlightDirector::turnKnob(float step) {
    const float limit = autopilotMaxBank();
    turnKnobCommand_ = std::clamp(turnKnobCommand_ + step, -limit, limit);
    tcsBankHold = false;
    writeTurnKnob();
    cancelLateralMode();
    if (std::fabs(turnKnobCommand_) <= kTurnKnobCentre) {
        clearRollFlags();
    }
}

void FlightDirector::centreTurnKnob() {
    turnKnobCommand_ = 0.0f;
    clearRollFlags();
    writeTurnKnob();
}

void FlightDirector::writeTurnKnob() const {
    if (fdVarTurnKnob >= 0) {
        panelServices().writeNamedVariable(fdVarTurnKnob, (kTurnKnobHalfRange - turnKnobCommand_) *
                                                              100.0 / (2.0 * kTurnKnobHalfRange));
    }
}

// Nose down (a positive step) lowers the vertical-speed target in VS; in PIT under the
// autopilot it moves the pitch command.
void FlightDirector::pitchWheel(float step) {
    if (verticalMode_ == FdVerticalMode::Vs) {
        adjustVerticalSpeedTarget(step > 0.0f ? -kPitchWheelVerticalSpeedStep
                                              : kPitchWheelVerticalSpeedStep);
        return;
    }
    if (!isAutopilotEngaged()) {
        return;
    }
    if (verticalMode_ == FdVerticalMode::Alt) {
        setVerticalMode(FdVerticalMode::Pit);
    }
    if (verticalMode_ == FdVerticalMode::Pit) {
        autopilot->setPitchCommand(autopilot->pitchCommand + step);
    }
}

void FlightDirector::clickPitchWheel(float step) {
    pitchWheelPhase_ = 1 - pitchWheelPhase_;
    pitchWheel(step);
}

bool FlightDirector::isWithinAltitudeCapture(float targetAltitude) {
    if (!ahrs && owner) {
        fetchSystems(*owner);
    }
    if (!isAirborne() || radioAltitude() < kAltitudeCaptureMinimumRadioAltitude) {
        return false;
    }
    const float toGo = targetAltitude - altitude;
    const float lead = verticalSpeed() * altCaptureGain;
    if (toGo > 0.0f) {
        return toGo <= std::max(lead, kAltitudeCaptureMinimumBand);
    }
    if (toGo < 0.0f) {
        return toGo >= std::min(lead, -kAltitudeCaptureMinimumBand);
    }
    return false;
}

// The guidance of a running frame.

// Each axis first makes the frame's transitions, then flies the law of the mode in which its
// monitors and captures found it.
void FlightDirector::updateGuidance(const Aircraft& aircraft) {
    updateTurnRate();
    if (inhibited) {
        clearModes();
        return;
    }
    if (lateralMode_ != FdLateralMode::Hdg) {
        setLowBank(false);
    }
    updateTouchControlSteering(aircraft);
    flyVerticalLaw(updateVerticalTransitions(), aircraft);
    flyLateralLaw(updateLateralTransitions());
    updateCommandBars();
    runAutopilotServos();
}

// The autopilot flies the commands only while engaged, not held by touch-control steering and
// in the air.
void FlightDirector::runAutopilotServos() {
    if (!autopilot) {
        return;
    }
    const bool enabled = isAutopilotEngaged() && !tcsActive && isAirborne();
    autopilot->updatePitchServo(enabled, speedProtection);
    autopilot->updateBankServo(enabled);
    autopilot->updateAutotrim(enabled);
}

// While the TCS button is held in the air the commands follow the aircraft; released at a
// bank of 6 degrees or more, the bank is held.
void FlightDirector::updateTouchControlSteering(const Aircraft& aircraft) {
    const JoystickButton button{tcsJoystick, tcsButtonMask};
    if (button.isHeld(aircraft) && isAirborne()) {
        if (autopilot) {
            autopilot->syncPitch();
            autopilot->syncBank();
        }
        tcsPitch = currentPitch();
        tcsBank = currentBank();
        tcsActive = true;
        if (isAutopilotEngaged()) {
            return;
        }
        if (verticalMode_ == FdVerticalMode::Vs) {
            const int32_t target = truncatedToHundreds(verticalSpeed());
            if (static_cast<float>(target) != vsTarget_) {
                setVerticalSpeedTarget(target);
            }
        } else if (verticalMode_ == FdVerticalMode::Speed) {
            if (machMode) {
                setMachTarget(adc ? adc->mach : 0.0f);
            } else {
                setSpeedTarget(static_cast<int32_t>(calibratedAirspeed()));
            }
        }
        return;
    }
    if (!tcsActive) {
        return;
    }
    tcsActive = false;
    tcsPitch = currentPitch();
    tcsBank = currentBank();
    if (std::fabs(tcsBank) < kTcsBankHoldAngle) {
        clearRollFlags();
        tcsBankHold = false;
    } else {
        tcsBankHold = true;
    }
}

// Every vertical transition of a frame: the ASEL and GS captures, IAS or Mach by altitude, the
// speed protection's episodes and the transitions of the active mode. Returns the mode whose law
// flies in this frame, none for no law.
FdVerticalMode FlightDirector::updateVerticalTransitions() {
    captureVerticalModes();
    if (verticalMode_ == FdVerticalMode::Gs) {
        armedVerticalMode_ = FdVerticalMode::None;
    }
    if (verticalMode_ == FdVerticalMode::Speed && altitudeChanged) {
        switchSpeedUnitsByAltitude();
    }
    updateSpeedProtection();
    if (speedProtection) {
        return verticalMode_;
    }
    const FdVerticalMode flown = verticalMode_;
    switch (flown) {
    case FdVerticalMode::None: {
        const FdVerticalMode armed = armedVerticalMode_;
        setVerticalMode(FdVerticalMode::Pit);
        armedVerticalMode_ = armed;
        return FdVerticalMode::None;
    }
    case FdVerticalMode::Pit:
        if (isAirborne() && armedVerticalMode_ == FdVerticalMode::None &&
            std::fabs(altitude - altitudePreselect_) > kAutoAselBand) {
            armAltitudeSelect();
        }
        break;
    case FdVerticalMode::Asel:
        if (std::fabs(altitude - altitudePreselect_) < kAltitudeCapturedBand &&
            std::fabs(verticalSpeed()) <= kAltitudeCapturedVerticalSpeed) {
            setVerticalMode(FdVerticalMode::Alt);
            altitudeHoldTarget_ = altitudePreselect_;
            return FdVerticalMode::None;
        }
        break;
    case FdVerticalMode::Gs:
        monitorGlideslope();
        break;
    default:
        break;
    }
    return flown;
}

// ASEL and GS captures, airborne from 5 s after lift-off.
void FlightDirector::captureVerticalModes() {
    if (!isAirborne() || verticalMode_ == FdVerticalMode::Gs || !adc ||
        now() - adc->liftoffTime <= kLiftoffCaptureDelayMs) {
        return;
    }
    if (armedVerticalMode_ == FdVerticalMode::Asel || armedVerticalMode_ == FdVerticalMode::Gs) {
        const float toGo = altitudePreselect_ - altitude;
        const float lead = verticalSpeed() * altCaptureGain;
        const bool climbingToward = verticalSpeed() > 0.0f && toGo > 0.0f && toGo <= lead;
        const bool descendingToward = verticalSpeed() < 0.0f && toGo < 0.0f && lead <= toGo;
        // A take-off climb captures its armed ASEL too: it flew through the cleared altitude.
        const bool togaClimb =
            verticalMode_ == FdVerticalMode::Toga && climbingToward &&
            (takeoffMode || altitudePreselect_ > goAroundAltitude + kGoAroundAselMargin);
        const bool fromCapturableMode =
            isOneOf(verticalMode_, {FdVerticalMode::Pit, FdVerticalMode::Vs, FdVerticalMode::Speed,
                                    FdVerticalMode::ClimbDescent});
        if ((climbingToward || descendingToward) && (fromCapturableMode || togaClimb)) {
            setVerticalMode(FdVerticalMode::Asel);
        }
    }
    const bool onLocalizer =
        lateralMode_ == FdLateralMode::Loc || lateralMode_ == FdLateralMode::Bc;
    if (armedVerticalMode_ == FdVerticalMode::Gs && !onLocalizer &&
        armedLateralMode_ == FdLateralMode::None) {
        disarmGlideslope();
    }
    const RadioUnit* receiver = coupledReceiver();
    if (armedVerticalMode_ == FdVerticalMode::Gs && lateralMode_ == FdLateralMode::Loc &&
        receiver && receiver->glideSlopeFlag &&
        std::fabs(receiver->gsi / kGsiFullScale * 0.7f / 0.3f) <= 0.4f) {
        setVerticalMode(FdVerticalMode::Gs);
    }
}

// Mach above 25,100 ft, IAS again at 25,000 ft and below.
void FlightDirector::switchSpeedUnitsByAltitude() {
    if (!machMode && previousAltitude < kMachAltitude && altitude >= kMachAltitude) {
        toggleSpeedUnits();
    } else if (machMode && previousAltitude > kIasAltitude && altitude <= kIasAltitude) {
        toggleSpeedUnits();
    }
}

// The speed protection, or the law of the mode the transitions left to fly.
void FlightDirector::flyVerticalLaw(FdVerticalMode law, const Aircraft& aircraft) {
    if (speedProtection) {
        flySpeedProtection();
    } else {
        switch (law) {
        case FdVerticalMode::None:
        case FdVerticalMode::Pit:
            break;
        case FdVerticalMode::Alt:
            handOverAltitudeHold(aircraft);
            flyAltitudeHold();
            break;
        case FdVerticalMode::Asel:
            flyAltitudeCapture();
            break;
        case FdVerticalMode::Vs:
            flyVerticalSpeed(vsTarget_);
            break;
        case FdVerticalMode::Speed:
            flyLevelChange(iasTarget_);
            break;
        case FdVerticalMode::ClimbDescent:
            flyClimbDescent();
            break;
        case FdVerticalMode::Gs:
            flyGlideslope();
            break;
        case FdVerticalMode::Toga:
            flyToga();
            break;
        }
    }
    const bool takingOff = verticalMode_ == FdVerticalMode::Toga && takeoffMode;
    if (!isAirborne() && !takingOff && autopilot) {
        autopilot->setPitchCommand(currentPitch());
        autopilot->syncPitch();
    }
}

// Every lateral transition of a frame: the turn knob, low bank by altitude, LNAV's arming and
// capture, the heading's loss and the captures and monitors of the active mode. Returns the mode
// whose law flies in this frame, none for no law.
FdLateralMode FlightDirector::updateLateralTransitions() {
    if (std::fabs(turnKnobCommand_) > kTurnKnobCentre) {
        if (lateralMode_ != FdLateralMode::Rol) {
            setLateralMode(FdLateralMode::Rol);
        }
        armedLateralMode_ = FdLateralMode::None;
    }
    if (altitudeChanged) {
        if (previousAltitude < kLowBankOnAltitude && altitude >= kLowBankOnAltitude &&
            !isLowBankOn()) {
            setLowBank(true);
        } else if (previousAltitude > kLowBankOffAltitude && altitude <= kLowBankOffAltitude &&
                   isLowBankOn()) {
            setLowBank(false);
        }
    }
    updateLnavArmingAndCapture();
    if (isHeadingBasedMode(lateralMode_) && !isCoupledHeadingValid()) {
        cancelLateralMode();
    }
    const FdLateralMode flown = lateralMode_;
    switch (flown) {
    case FdLateralMode::None:
        cancelLateralMode();
        return FdLateralMode::None;
    case FdLateralMode::Hdg:
        captureRadioCourse();
        break;
    case FdLateralMode::Vor:
    case FdLateralMode::Vapp:
        monitorVor();
        break;
    case FdLateralMode::Loc:
    case FdLateralMode::Bc:
        monitorLocalizer();
        break;
    case FdLateralMode::Lnav:
        monitorLnav();
        break;
    default:
        break;
    }
    return flown;
}

void FlightDirector::flyLateralLaw(FdLateralMode law) {
    switch (law) {
    case FdLateralMode::None:
        break;
    case FdLateralMode::Rol:
        flyRollHold();
        break;
    case FdLateralMode::Hdg:
        flyHeading(headingBug_, false);
        break;
    case FdLateralMode::Vor:
    case FdLateralMode::Vapp:
        flyVor();
        break;
    case FdLateralMode::Loc:
    case FdLateralMode::Bc:
        flyLocalizer();
        break;
    case FdLateralMode::Lnav:
        steerLnav();
        break;
    case FdLateralMode::TogaRol:
        commandBank(0.0);
        break;
    }
    if (!isAirborne() && autopilot) {
        autopilot->setBankCommand(currentBank());
        autopilot->syncBank();
    }
}

// With the FMS as the coupled source an armed LNAV engages once the aircraft is on the active
// leg within a quarter of a mile of its path; the radio modes give way to it.
void FlightDirector::updateLnavArmingAndCapture() {
    if (lateralMode_ == FdLateralMode::Lnav) {
        return;
    }
    if (!isFmsSourceCoupled()) {
        if (armedLateralMode_ == FdLateralMode::Lnav) {
            armedLateralMode_ = FdLateralMode::None;
        }
        return;
    }
    if (isRadioMode(lateralMode_)) {
        cancelLateralMode();
    }
    if (isRadioMode(armedLateralMode_)) {
        armedLateralMode_ = FdLateralMode::None;
    }
    const LnavState* state = lnav();
    const std::optional<double> legDistance = activeLegDistance();
    if (armedLateralMode_ == FdLateralMode::Lnav && state && state->valid && legDistance &&
        state->legAlongTrack <= *legDistance &&
        std::fabs(state->crossTrackError) < kLnavCaptureCrossTrack) {
        setLateralMode(FdLateralMode::Lnav);
        armedLateralMode_ = FdLateralMode::None;
    }
}

// VOR and VAPP capture on the intercept angle and the needle; LOC and BC within 1.8 dots.
void FlightDirector::captureRadioCourse() {
    const RadioUnit* receiver = coupledReceiver();
    if (!receiver) {
        return;
    }
    const float cdi = std::fabs(receiver->cdiDeviation);
    const bool vorArmed =
        armedLateralMode_ == FdLateralMode::Vor || armedLateralMode_ == FdLateralMode::Vapp;
    const bool localizerArmed =
        armedLateralMode_ == FdLateralMode::Loc || armedLateralMode_ == FdLateralMode::Bc;
    if (vorArmed && receiver->navSignal != 0 && !receiver->hasLocalizer) {
        const AhrsUnit* heading = coupledAhrs();
        const float intercept = static_cast<float>(
            std::fabs(normalize180(receiver->course - (heading ? heading->heading : 0.0f))));
        const float limit = std::clamp(std::min(intercept, 90.0f) * 120.0f / 90.0f, 25.0f, 120.0f);
        if ((intercept < 10.0f && cdi <= 20.0f) || cdi <= limit) {
            capturedCourse = receiver->course;
            capturedNavFrequency = receiver->navActive;
            const FdLateralMode armed = armedLateralMode_;
            setLateralMode(armed);
            armedLateralMode_ = FdLateralMode::None;
        }
    } else if (localizerArmed && receiver->hasLocalizer) {
        armedLateralMode_ = isBackCourse() ? FdLateralMode::Bc : FdLateralMode::Loc;
        if (cdi / kCdiFullScale * 2.5f < 1.8f) {
            capturedNavFrequency = receiver->navActive;
            setLateralMode(armedLateralMode_);
            armedLateralMode_ = FdLateralMode::None;
        }
    }
}

// The ROL law flies while the station is lost; a new course or frequency ends the mode.
void FlightDirector::monitorVor() {
    const RadioUnit* receiver = coupledReceiver();
    navWasValid = navValid;
    navValid = receiver && receiver->navSignal != 0;
    if (navWasValid && !navValid) {
        clearRollFlags();
        navLostSince = now();
    }
    if (navValid &&
        (receiver->course != capturedCourse || receiver->navActive != capturedNavFrequency)) {
        cancelLateralMode();
    }
}

// The approach ends when the localizer stays lost for more than 5 s or the frequency changes.
void FlightDirector::monitorLocalizer() {
    const RadioUnit* receiver = coupledReceiver();
    navWasValid = navValid;
    navValid = receiver && receiver->hasLocalizer;
    if (navWasValid && !navValid) {
        clearRollFlags();
        navLostSince = now();
    }
    if (!navValid) {
        if (now() - navLostSince > kSignalLossMs) {
            cancelApproach();
        }
    } else if (receiver->navActive != capturedNavFrequency) {
        cancelApproach();
    }
}

// The approach ends 5 s after the glideslope flag or the localizer mode is lost, and at once on
// a new frequency.
void FlightDirector::monitorGlideslope() {
    const RadioUnit* receiver = coupledReceiver();
    gsWasValid = gsValid;
    gsValid = receiver && receiver->glideSlopeFlag;
    if (gsWasValid && !gsValid) {
        gsLostSince = now();
    }
    if (receiver && receiver->navActive != capturedNavFrequency) {
        cancelApproach();
        return;
    }
    const bool onLocalizer =
        lateralMode_ == FdLateralMode::Loc || lateralMode_ == FdLateralMode::Bc;
    if ((!gsValid || !onLocalizer) && now() - gsLostSince > kSignalLossMs) {
        cancelApproach();
    }
}

// LNAV ends without the FMS source or a leg to fly, and 5 s after its guidance is lost.
void FlightDirector::monitorLnav() {
    if (!isFmsSourceCoupled() || !activeLegDistance()) {
        cancelLateralMode();
        return;
    }
    const LnavState* state = lnav();
    navWasValid = navValid;
    navValid = state && state->valid;
    if (navWasValid && !navValid) {
        clearRollFlags();
        navLostSince = now();
    }
    if (!navValid && now() - navLostSince > kSignalLossMs) {
        cancelLateralMode();
    }
}

} // namespace tavi
