#include "avionics/Autopilot.h"

#include "airframe/Electric.h"
#include "airframe/Mechanisation.h"
#include "avionics/Adc.h"
#include "avionics/Ahrs.h"
#include "avionics/Aws.h"
#include "avionics/FlightDirector.h"
#include "avionics/RadAlt.h"
#include "core/Aircraft.h"
#include "core/Imports.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace tavi {

namespace {

constexpr double kFullDeflection = 16383.0;
constexpr double kAutopilotDerivativeFilter = 0.1;
constexpr double kProportionalSetPointWeight = 1.0;
constexpr double kDerivativeSetPointWeight = 0.0;
constexpr SoundId kDisconnectCallout = 41;
constexpr int kSimAutopilotMasterToken = 103;
constexpr uint32_t kNotificationGroup = 0;
constexpr double kElevatorLeadSeconds = 5.0;
constexpr double kElevatorRawRateWeight = 0.1;
constexpr float kBodyRateBankLimit = 10.0f;
constexpr float kTurnBackMinimumBank = 15.0f;
constexpr double kAutotrimMinimumRadioAltitude = 400.0;
constexpr float kAutotrimMaximumBank = 30.0f;
constexpr float kAutotrimMaximumPitchRate = 2.0f;
constexpr double kPusherMinimumRadioAltitude = 200.0;
constexpr double kPusherMaximumSpeed = 200.0;
constexpr double kPusherMinimumLoad = -0.5;
constexpr double kPusherRatePerMs = 3.3;
constexpr double kPusherMaximum = 10000.0;

// The gain at altitude h: low below the low breakpoint, high above the high one, linear between.
double scheduledGain(double h, double lowBreakpoint, double highBreakpoint, double lowGain,
                     double highGain) {
    if (h <= lowBreakpoint) {
        return lowGain;
    }
    if (h >= highBreakpoint) {
        return highGain;
    }
    return lowGain + (highGain - lowGain) * (h - lowBreakpoint) / (highBreakpoint - lowBreakpoint);
}

int32_t toControl(double fraction) {
    return static_cast<int32_t>(std::trunc(fraction * kFullDeflection));
}

void sendKeyEvent(uint32_t eventId, int32_t value) {
    panelServices().sendKeyEvent(eventId, static_cast<uint32_t>(value));
}

} // namespace

Autopilot::Autopilot()
    : bodyPitchRateVar("ROTATION VELOCITY BODY X", "degree per second", 0),
      bodyRollRateVar("ROTATION VELOCITY BODY Z", "degree per second", 0) {
    elevatorPredictor.init(kElevatorLeadSeconds, kElevatorRawRateWeight);
    // A step beyond the elevator's travel ends at its stop: dropped, a large demand at low speed
    // moved the elevator less than a small one.
    pitchPid.stopsAtLimits = true;
}

void Autopilot::update(Aircraft& aircraft) {
    ahrs = aircraft.ahrs();
    adc = aircraft.adc();
    electric = aircraft.electric();
    mechanisation = aircraft.mechanisation();
    aws = aircraft.aws();
    now = aircraft.simTimeMs;
    bodyPitchRate = static_cast<float>(bodyPitchRateVar.read());
    bodyRollRate = static_cast<float>(bodyRollRateVar.read());
    wasOnGround = onGround;
    onGround = ahrs ? ahrs->onGround : true;
    dt = aircraft.frameDeltaMs / 1000.0;
    const RadAlt* radAlt = aircraft.radAlt();
    radioAltitude = radAlt ? radAlt->radioAltitude : 0.0;
    autopilotMasterOn = aircraft.tokens.value(kSimAutopilotMasterToken) != 0.0;
    const FlightDirector* flightDirector = aircraft.flightDirector();
    tcsActive = flightDirector && flightDirector->isTcsActive();
    flapAngle = mechanisation ? mechanisation->flapAngle : 0.0f;

    trackAttitude(aircraft);
    checkQuickDisconnect(aircraft);
    altitude = adc ? adc->indicatedAltitude : 0.0f;
    updateGainSchedule();
    updateStickPusher();
    updateAxisMasking(aircraft);
    if (aircraft.simTimeMs != 0) {
        started = true;
    }
}

void Autopilot::trackAttitude(const Aircraft& aircraft) {
    if (aircraft.frameDeltaMs == 0 || aircraft.slewActive || !ahrs) {
        return;
    }
    previousPitch = hasAttitude ? pitch : ahrs->unit1.pitch;
    previousBank = hasAttitude ? bank : ahrs->unit1.bank;
    pitch = ahrs->unit1.pitch;
    bank = ahrs->unit1.bank;
    hasAttitude = true;
    if (wasOnGround && !onGround) {
        syncPitch();
    }
}

// Any press also stops the stick pusher, so that the pilot can always override it.
void Autopilot::checkQuickDisconnect(const Aircraft& aircraft) {
    if (!quickDisconnect.isHeld(aircraft)) {
        return;
    }
    pusherInhibited = true;
    if (yawDamper) {
        toggleYawDamper();
    }
}

void Autopilot::updateGainSchedule() {
    const double cas = std::clamp(indicatedAirspeed(), 120.0, 250.0);
    const double speedFactor = (250.0 / cas) * (250.0 / cas);
    pitchPid.gain = scheduledGain(altitude, pitchGainLoAltBreakpoint, pitchGainHiAltBreakpoint,
                                  pitchLoAltGain, pitchHiAltGain) *
                    speedFactor;
    const double pitchRadians =
        std::clamp(static_cast<double>(pitchCommand), -60.0, 60.0) * std::numbers::pi / 180.0;
    bankPid.gain = scheduledGain(altitude, bankGainLoAltBreakpoint, bankGainHiAltBreakpoint,
                                 bankLoAltGain, bankHiAltGain) /
                   std::cos(pitchRadians);
}

bool Autopilot::pushConditionHolds() const {
    return started && !shaker1Cutout && !shaker2Cutout && isAirborne() && adc &&
           adc->belowMinimumSpeed && radioAltitude >= kPusherMinimumRadioAltitude &&
           adc->indicatedAirspeed <= kPusherMaximumSpeed && adc->gLoad >= kPusherMinimumLoad &&
           isBusPowered(Electric::kEssentialBus1);
}

void Autopilot::updateStickPusher() {
    if (!pushConditionHolds()) {
        if (pusherActive && !pusherInhibited) {
            // The push lets go of the elevator: left where the push took it, the elevator stayed
            // full nose-down after the condition had ended, into a dive to the ground.
            sendKeyEvent(kElevatorEvent, 0);
        }
        pusherActive = false;
        return;
    }
    if (engaged) {
        toggleEngage();
    }
    if (!pusherActive) {
        pusherActive = true;
        pusherInhibited = false;
        pusherSince = now;
    }
    if (!pusherInhibited) {
        const double push = std::min(
            std::trunc(static_cast<double>(now - pusherSince) * kPusherRatePerMs), kPusherMaximum);
        sendKeyEvent(kElevatorEvent, static_cast<int32_t>(push));
    }
}

void Autopilot::updateAxisMasking(const Aircraft& aircraft) {
    if (!disableAxes) {
        return;
    }
    const int32_t priority =
        engaged && isAirborne() && !tcsActive ? kMaskingPriority : kPassingPriority;
    if (priority == groupPriority) {
        return;
    }
    simConnectServices().setNotificationGroupPriority(aircraft.simConnect, kNotificationGroup,
                                                      static_cast<uint32_t>(priority));
    groupPriority = priority;
}

void Autopilot::loadSettings(Aircraft& aircraft) {
    ahrs = aircraft.ahrs();
    mechanisation = aircraft.mechanisation();
    aws = aircraft.aws();
    disableAxes = aircraft.readIniBool("FSUIPC", "disableAxes", true);
    invertElevator = aircraft.readIniBool("FSUIPC", "invertElevator", false);
    pitchLimitUp = static_cast<float>(-aircraft.readIniDouble("Autopilot", "maxPitch", 25.0));
    pitchLimitDown = static_cast<float>(-aircraft.readIniDouble("Autopilot", "minPitch", -15.0));
    maxBank = static_cast<float>(std::fabs(aircraft.readIniDouble("Autopilot", "maxBank", 27.0)));
    halfBank = static_cast<float>(std::fabs(aircraft.readIniDouble("Autopilot", "halfBank", 14.0)));

    auto setting = [&](const char* key, double defaultValue) {
        return aircraft.readIniDouble("Autopilot", key, defaultValue);
    };
    pitchRatePi.init(setting("pitch_spd_Kp", 2.0), setting("pitch_spd_Ki", 0.0),
                     setting("pitch_spd_min_output", -2.5), setting("pitch_spd_max_output", 2.5));
    bankRatePi.init(setting("bank_spd_Kp", 2.0), setting("bank_spd_Ki", 0.0),
                    setting("bank_spd_min_output", -5.0), setting("bank_spd_max_output", 5.0));
    pitchGainLoAltBreakpoint = setting("pitch_gain_lo_alt_breakpoint", 20000.0);
    pitchGainHiAltBreakpoint = setting("pitch_gain_hi_alt_breakpoint", 35000.0);
    pitchLoAltGain = setting("pitch_lo_alt_Kp", -0.12);
    pitchHiAltGain = setting("pitch_hi_alt_Kp", -0.08);
    bankGainLoAltBreakpoint = setting("bank_gain_lo_alt_breakpoint", 20000.0);
    bankGainHiAltBreakpoint = setting("bank_gain_hi_alt_breakpoint", 30000.0);
    bankLoAltGain = setting("bank_lo_alt_Kp", -0.3);
    bankHiAltGain = setting("bank_hi_alt_Kp", -0.2);
    pitchPid.init(pitchLoAltGain, kAutopilotDerivativeFilter, kProportionalSetPointWeight,
                  kDerivativeSetPointWeight, setting("pitch_Ti", 1.0), setting("pitch_Td", 0.125),
                  -1.0, 1.0);
    bankPid.init(bankLoAltGain, kAutopilotDerivativeFilter, kProportionalSetPointWeight,
                 kDerivativeSetPointWeight, setting("bank_Ti", 2.0), setting("bank_Td", 0.001),
                 -1.0, 1.0);
    turnBackForceScalar = setting("turnBackForceScalar", 1.25);
    bfThreshold = setting("bfThreshold", 0.75);
    autotrim = aircraft.readIniBool("Autopilot", "autotrim", true);
    trimLoRate = setting("trim_lo_rate", 0.01);
    trimHiRate = setting("trim_hi_rate", 0.015);
    trimElevatorThreshold = static_cast<float>(std::fabs(setting("trim_elev_threshold", 0.03)));
    quickDisconnect =
        JoystickButton::parse(aircraft.readIniString("Joystick", "qdJoyButton", "0:-1"));
}

void Autopilot::addElectricLoad(Aircraft&, BusLoads& loads) {
    loads[Electric::kDcBus2] += 5.0f;
    loads[Electric::kEssentialBus1] += 5.0f;
    if (engaged && !unpowered) {
        loads[Electric::kDcBus1] += 7.5f;
    }
}

void Autopilot::updatePower(Aircraft& aircraft) {
    electric = aircraft.electric();
    const bool wasUnpowered = unpowered;
    unpowered = !(isBusPowered(Electric::kDcBus1) && electric && electric->avionicsMaster1);
    if (unpowered && !wasUnpowered) {
        powerLostAt = aircraft.simTimeMs;
    }
    // Without power the servos hold nothing: left engaged, the pilot's axes stayed withheld.
    if (unpowered && engaged) {
        toggleEngage();
    }
    if (!isBusPowered(Electric::kEssentialBus1)) {
        shaker1Cutout = false;
    }
    if (!isBusPowered(Electric::kDcBus2)) {
        shaker2Cutout = false;
    }
}

bool Autopilot::isBusPowered(int bus) const {
    return electric && electric->isPowered(bus);
}

void Autopilot::toggleEngage() {
    engaged = !engaged;
    if (engaged) {
        syncPitch();
        syncBank();
        yawDamper = true;
        return;
    }
    disengagedAt = now;
    if (aws) {
        aws->enqueue(kDisconnectCallout);
    }
}

void Autopilot::toggleYawDamper() {
    yawDamper = !yawDamper;
    if (yawDamper) {
        return;
    }
    yawDamperOffAt = now;
    if (engaged) {
        toggleEngage();
    }
}

void Autopilot::setPitchCommand(float pitchValue) {
    pitchCommand = std::clamp(pitchValue, std::min(pitchLimitUp, pitchLimitDown),
                              std::max(pitchLimitUp, pitchLimitDown));
}

float Autopilot::adjustPitchTarget(float step) {
    setPitchCommand(pitchCommand + step);
    return pitchCommand;
}

void Autopilot::setBankCommand(float bankValue) {
    bankCommand = std::clamp(bankValue, -maxBank, maxBank);
}

void Autopilot::syncPitch() {
    setPitchCommand(ahrs ? ahrs->unit1.pitch : 0.0f);
    pitchPid.reset(elevatorPosition() / kFullDeflection);
}

void Autopilot::syncBank() {
    setBankCommand(ahrs ? ahrs->unit1.bank : 0.0f);
    bankPid.reset(aileronPosition() / kFullDeflection);
}

double Autopilot::elevatorPosition() const {
    return mechanisation ? mechanisation->elevatorPosition : 0.0;
}

double Autopilot::aileronPosition() const {
    return mechanisation ? mechanisation->aileronPosition : 0.0;
}

double Autopilot::indicatedAirspeed() const {
    return adc ? adc->indicatedAirspeed : 0.0;
}

void Autopilot::updatePitchServo(bool enabled, bool) {
    if (unpowered) {
        return;
    }
    pitchPid.reset(elevatorPosition() / kFullDeflection);
    const float aoaMargin = adc ? adc->aoaMargin : 0.0f;
    // The margin is kept, not added to: at the stall the limit still allowed 2 degrees more
    // nose-up.
    const float command =
        std::max({pitchCommand, pitchLimitUp, stallLimitedPitch(pitch, aoaMargin)});
    const double pitchRate =
        std::fabs(bank) <= kBodyRateBankLimit ? bodyPitchRate : bankedPitchRate();
    pitchRatePi.update(dt, pitch, command, 0.0, 1.0, 1.0);
    if (!enabled || !engaged) {
        return;
    }
    pitchPid.update(dt, pitchRate, pitchRatePi.output, 1.0, 1.0);
    const int32_t elevator = toControl(pitchPid.output);
    if (elevator != static_cast<int32_t>(elevatorPosition())) {
        sendKeyEvent(kElevatorEvent, -elevator);
    }
}

// The pitch attitude's rate in a turn from the body pitch rate and the heading rate, with no
// lag: differencing the smoothed AHRS pitch lagged so far that the servo hunted in every turn.
double Autopilot::bankedPitchRate() const {
    const double bankAngle = static_cast<double>(bank) * std::numbers::pi / 180.0;
    const double pitchAngle = static_cast<double>(pitch) * std::numbers::pi / 180.0;
    const double turnRate = ahrs ? ahrs->unit1.headingRate : 0.0;
    return bodyPitchRate / std::cos(bankAngle) -
           turnRate * std::cos(pitchAngle) * std::tan(bankAngle);
}

void Autopilot::updateBankServo(bool enabled) {
    if (unpowered) {
        return;
    }
    const double rollRate = dt > 0.0 ? (bank - previousBank) / dt : 0.0;
    bankRatePi.update(dt, bank, bankCommand, 0.0, 1.0, 1.0);
    if (!enabled || !engaged) {
        bankPid.reset(aileronPosition() / kFullDeflection);
        return;
    }
    // A level command counts as the same side, whichever wing is down.
    const bool turningBack = bank * bankCommand >= 0.0f && std::fabs(bank) > kTurnBackMinimumBank &&
                             std::fabs(bankCommand) < bfThreshold * std::fabs(bank);
    const double gain = bankPid.gain;
    if (turningBack) {
        bankPid.gain = gain * turnBackForceScalar;
    }
    bankPid.update(dt, rollRate, bankRatePi.output, 1.0, 1.0);
    bankPid.gain = gain;
    const int32_t aileron = toControl(bankPid.output);
    if (aileron != static_cast<int32_t>(aileronPosition())) {
        sendKeyEvent(kAileronEvent, -aileron);
    }
}

void Autopilot::updateAutotrim(bool enabled) {
    if (autopilotMasterOn || !autotrim || !isAirborne() || !engaged || !enabled ||
        radioAltitude < kAutotrimMinimumRadioAltitude || std::fabs(bank) > kAutotrimMaximumBank ||
        std::fabs(bodyPitchRate) > kAutotrimMaximumPitchRate || !mechanisation) {
        return;
    }
    const double predicted = elevatorPredictor.update(dt, elevatorPosition() / kFullDeflection);
    double trim = mechanisation->elevatorTrimPosition / kFullDeflection;
    const double rate = (flapAngle == 0.0f ? trimLoRate : trimHiRate) * dt;
    if (predicted > trimElevatorThreshold) {
        trim += rate;
    } else if (predicted < -trimElevatorThreshold) {
        trim -= rate;
    } else {
        return;
    }
    const int32_t value = toControl(std::clamp(trim, -1.0, 1.0));
    if (value != mechanisation->elevatorTrimPosition) {
        sendKeyEvent(kElevatorTrimEvent, value);
    }
}

bool Autopilot::isStickShaker1CutoutLit() const {
    return shaker1Cutout && electric && electric->annunciatorPower;
}

bool Autopilot::isStickShaker2CutoutLit() const {
    return shaker2Cutout && electric && electric->annunciatorPower;
}

void Autopilot::toggleStickShaker1Cutout() {
    if (isBusPowered(Electric::kEssentialBus1)) {
        shaker1Cutout = !shaker1Cutout;
    }
}

void Autopilot::toggleStickShaker2Cutout() {
    if (isBusPowered(Electric::kDcBus2)) {
        shaker2Cutout = !shaker2Cutout;
    }
}

} // namespace tavi
