// The flight director's guidance laws: the vertical-speed and speed-on-elevator loops under the
// vertical modes, the heading law under the lateral modes, LNAV steering, speed protection, the
// command bars and the turn geometry for the LNAV path.
#include "avionics/Adc.h"
#include "avionics/Ahrs.h"
#include "avionics/Autopilot.h"
#include "avionics/FlightDirector.h"
#include "avionics/FlightDirectorLaws.h"
#include "avionics/Gps.h"
#include "avionics/RadioUnit.h"
#include "avionics/Tcas.h"
#include "core/Aircraft.h"
#include "core/Angles.h"
#include "fms/Fms.h"
#include "fms/LnavState.h"
#include "navdata/GeoAngles.h"

#include <algorithm>
#include <cmath>
#include <initializer_list>
#include <limits>
#include <numbers>
#include <string>

namespace tavi {

namespace {

constexpr double kDerivativeFilterFactor = 0.1;
constexpr double kUnlimited = std::numeric_limits<double>::max();
constexpr double kDegrees = std::numbers::pi / 180.0;
constexpr uint32_t kRollLevelDelayMs = 999;
constexpr uint32_t kGoAroundPitchHoldMs = 20000;
constexpr float kRollLevelBank = 6.0f;
constexpr float kTakeoffPitch = -14.0f;
constexpr float kGoAroundPitch = -12.0f;
constexpr float kMinimumSpeedFactor = 1.13f;
constexpr float kProtectionMargin = 2.0f;
// The air data's speed trend looks this far ahead; the overspeed protection this far.
constexpr float kTrendSeconds = 10.0f;
constexpr float kOverspeedLeadSeconds = 15.0f;
// kt per 10 s: a slower rise is caught at VMO itself.
constexpr float kOverspeedLeadTrend = 5.0f;
// How the speed protection eases a selected vertical speed: fpm per kt beyond the protected
// speed (5 s ahead), and fpm per kt and second.
constexpr double kEaseGain = 1000.0;
constexpr double kEaseRate = 150.0;
constexpr float kMaxVerticalSpeed = 6000.0f;
constexpr float kGlideslopeMaxVerticalSpeed = -200.0f;
constexpr float kPitchBarBand = 20.0f;
constexpr float kTogaPitchBarLimit = -20.0f;
constexpr float kMetresPerNm = 1853.0f;
constexpr float kGravity = 9.81f;
// The bank (degrees) of a turn a leg requires, and how near its course (degrees) ends it.
constexpr double kRequiredTurnBank = 27.0;
constexpr float kRequiredTurnDoneWithin = 45.0f;

// Reads an [Autopilot] setting, or gives its default while no aircraft is at hand.
double setting(Aircraft* aircraft, const std::string& key, double fallback) {
    return aircraft ? aircraft->readIniDouble("Autopilot", key.c_str(), fallback) : fallback;
}

void configurePi(PiController& pi, Aircraft* aircraft, const std::string& prefix, double kp,
                 double minimum, double maximum) {
    pi.init(setting(aircraft, prefix + "_Kp", kp), setting(aircraft, prefix + "_Ki", 0.0),
            setting(aircraft, prefix + "_min_output", minimum),
            setting(aircraft, prefix + "_max_output", maximum));
}

double step(PiController& pi, double dt, double a, double b) {
    pi.update(dt, a, b, 0.0, 1.0, 1.0);
    return pi.output;
}

// The controller's error is measurement - set-point, the sense its negative gains are given in.
double step(PidController& pid, double dt, double setPoint, double measurement) {
    pid.update(dt, setPoint, measurement, 1.0, 1.0);
    return pid.output;
}

float moveToward(float value, float target, double maxStep) {
    const auto limit = static_cast<float>(std::max(maxStep, 0.0));
    return value + std::clamp(target - value, -limit, limit);
}

} // namespace

// Settings and controllers.

FlightDirector::FlightDirector() {
    loadGuidanceSettings(nullptr);
}

void FlightDirector::loadGuidanceSettings(Aircraft* aircraft) {
    pitchLimitUp = static_cast<float>(-setting(aircraft, "maxPitch", 25.0));
    pitchLimitDown = static_cast<float>(-setting(aircraft, "minPitch", -15.0));
    const double bank = maxBank;

    FdGuidanceSettings& g = guidance;
    const FdGuidanceSettings defaults;
    g.vsGainLoBreakpoint =
        setting(aircraft, "vs_gain_lo_alt_breakpoint", defaults.vsGainLoBreakpoint);
    g.vsGainHiBreakpoint =
        setting(aircraft, "vs_gain_hi_alt_breakpoint", defaults.vsGainHiBreakpoint);
    g.vsLoAltKp = setting(aircraft, "vs_lo_alt_Kp", defaults.vsLoAltKp);
    g.vsHiAltKp = setting(aircraft, "vs_hi_alt_Kp", defaults.vsHiAltKp);
    g.headingLoSpeed = setting(aircraft, "hdg_LoSpd", defaults.headingLoSpeed);
    g.headingHiSpeed = setting(aircraft, "hdg_HiSpd", defaults.headingHiSpeed);
    g.headingLoKp = setting(aircraft, "hdg_LoKp", defaults.headingLoKp);
    g.headingHiKp = setting(aircraft, "hdg_HiKp", defaults.headingHiKp);
    g.captureCasDiff =
        std::fabs(setting(aircraft, "lvlchg_capture_cas_diff", defaults.captureCasDiff));
    g.looseCasDiff = std::fabs(setting(aircraft, "lvlchg_loose_cas_diff", defaults.looseCasDiff));
    g.climbAccelerateFpm =
        setting(aircraft, "lvlchg_climb_accelerate_fpm", defaults.climbAccelerateFpm);
    g.descentDecelerateFpm =
        setting(aircraft, "lvlchg_descent_decelerate_fpm", defaults.descentDecelerateFpm);
    g.lnavMaxBank = setting(aircraft, "lnav_max_bank", defaults.lnavMaxBank);
    g.lnavMaxBankIas = setting(aircraft, "lnav_max_bank_ias", defaults.lnavMaxBankIas);
    g.pitchRateMax = setting(aircraft, "pitch_spd_max_output", defaults.pitchRateMax);
    g.bankRateMax = setting(aircraft, "bank_spd_max_output", defaults.bankRateMax);
    vsScheduledGain = g.vsLoAltKp;

    vsPredictor.init(setting(aircraft, "vs_fpm_prediction_time", 1.0),
                     setting(aircraft, "vs_fpm_prediction_filter", 0.8));
    casPredictor.init(setting(aircraft, "lvlchg_cas_prediction_time", 5.0),
                      setting(aircraft, "lvlchg_cas_prediction_filter", 0.2));
    vsPid.init(vsScheduledGain, kDerivativeFilterFactor, 1.0, 0.0,
               setting(aircraft, "vs_Ti", 0.00125), setting(aircraft, "vs_Td", 0.002), pitchLimitUp,
               pitchLimitDown);
    levelChangePid.init(setting(aircraft, "lvlchg_Kp", 0.00004), kDerivativeFilterFactor, 1.0, 0.0,
                        setting(aircraft, "lvlchg_Ti", 0.0005),
                        setting(aircraft, "lvlchg_Td", 0.001), pitchLimitUp, pitchLimitDown);
    turnRatePid.init(setting(aircraft, "trate_Kp", 0.01), kDerivativeFilterFactor, 1.0, 0.0,
                     setting(aircraft, "trate_Ti", 0.1), setting(aircraft, "trate_Td", 0.005),
                     setting(aircraft, "trate_min_output", -10.0),
                     setting(aircraft, "trate_max_output", 10.0));
    configurePi(levelChangeAccPi, aircraft, "lvlchg_acc", 0.75, -7.0, 7.0);
    configurePi(vsRatePi, aircraft, "vs_spd", 2.0, -1500.0, 1500.0);
    configurePi(altCapturePi, aircraft, "altacq", 4.0, -2500.0, 2500.0);
    configurePi(altHoldPi, aircraft, "alt", 2.0, -500.0, 500.0);
    configurePi(gsPi, aircraft, "gs", -5.0, -300.0, 300.0);
    configurePi(vorPi, aircraft, "vor", 10.0, -20.0, 20.0);
    configurePi(vappPi, aircraft, "vapp", 20.0, -40.0, 40.0);
    configurePi(locPi, aircraft, "loc", 5.0, -20.0, 20.0);
    configurePi(lnavPi, aircraft, "lnav", 30.0, -30.0, 30.0);
    headingPi.init(setting(aircraft, "hdg_Kp", -2.5), setting(aircraft, "hdg_Ki", 0.0), -bank,
                   bank);
    turnTargetPi.init(setting(aircraft, "ttarget_Kp", -0.5), setting(aircraft, "ttarget_Ki", 0.0),
                      -kUnlimited, kUnlimited);
}

double FlightDirector::scheduleHeadingGain(double speed) const {
    const FdGuidanceSettings& g = guidance;
    if (g.headingHiSpeed <= g.headingLoSpeed) {
        return g.headingLoKp;
    }
    const double s = std::clamp(speed, g.headingLoSpeed, g.headingHiSpeed);
    return g.headingLoKp + (g.headingHiKp - g.headingLoKp) * (s - g.headingLoSpeed) /
                               (g.headingHiSpeed - g.headingLoSpeed);
}

void FlightDirector::updateVsGainSchedule(double pressureAltitude) {
    vsScheduledGain = schedule(pressureAltitude, guidance.vsGainLoBreakpoint,
                               guidance.vsGainHiBreakpoint, guidance.vsLoAltKp, guidance.vsHiAltKp);
}

float FlightDirector::limitedPitch() const {
    return std::clamp(currentPitch(), pitchLimitUp, pitchLimitDown);
}

void FlightDirector::resetPitchLoop() {
    vsPid.reset(limitedPitch());
}

void FlightDirector::resetLevelChangeLoop() {
    levelChangePid.reset(limitedPitch());
    levelChangeAccPi.integral = 0.0;
    casPredictor.lastInput = calibratedAirspeed();
    speedCaptured = false;
}

// While TCS is held the commands follow the aircraft, not the laws.
void FlightDirector::commandPitch(double pitch) {
    if (autopilot && !tcsActive) {
        autopilot->setPitchCommand(static_cast<float>(pitch));
    }
}

void FlightDirector::commandBank(double bank) {
    if (autopilot && !tcsActive) {
        autopilot->setBankCommand(static_cast<float>(bank));
    }
}

float FlightDirector::autopilotPitchCommand() const {
    return autopilot ? autopilot->pitchCommand : currentPitch();
}

float FlightDirector::autopilotBankCommand() const {
    return autopilot ? autopilot->bankCommand : currentBank();
}

void FlightDirector::updateTurnRate() {
    const float headingRate = ahrs ? ahrs->unit1.headingRate : 0.0f;
    filteredTurnRate = static_cast<float>(turnRateFilter.update(dt, headingRate));
}

// Vertical laws.

// The pitch that makes the predicted vertical-speed change follow the change the rate loop asks.
void FlightDirector::flyVerticalSpeed(float target) {
    commandPitch(verticalSpeedPitch(target));
}

double FlightDirector::verticalSpeedPitch(float target) {
    const float v = verticalSpeed();
    const double predicted = vsPredictor.update(dt, v);
    double factor = 1.0;
    if (verticalMode_ == FdVerticalMode::Alt) {
        factor = std::fabs(currentBank()) < 5.0f && std::fabs(v) < 150.0f ? 0.6 : 0.8;
    } else if (target <= -1000.0f && v <= -1200.0f && verticalMode_ == FdVerticalMode::Asel) {
        factor = 1.3;
    } else if (target <= -1000.0f && v <= -500.0f && verticalMode_ != FdVerticalMode::Asel) {
        factor = 0.5;
    }
    vsPid.gain = vsScheduledGain * factor;
    const double change = step(vsRatePi, dt, predicted, target);
    return step(vsPid, dt, predicted - v, change);
}

void FlightDirector::flyAltitudeHold() {
    flyVerticalSpeed(static_cast<float>(step(altHoldPi, dt, altitude, altitudeHoldTarget_)));
}

void FlightDirector::flyAltitudeCapture() {
    flyVerticalSpeed(static_cast<float>(step(altCapturePi, dt, altitude, altitudePreselect_)));
}

// Speed on elevator. Until the speed is captured the climb or descent is first established at a
// vertical speed; a captured speed is let go when the speed or the climb drifts too far.
void FlightDirector::flyLevelChange(float target) {
    const FdGuidanceSettings& g = guidance;
    const float cas = calibratedAirspeed();
    const auto predicted = static_cast<float>(casPredictor.update(dt, cas));
    const float v = verticalSpeed();
    const bool climb = altitude < altitudePreselect_;
    const bool descent = altitude > altitudePreselect_;
    const double altitudeFactor = altitude > 30000.0f ? 0.4 : altitude > 15000.0f ? 0.7 : 1.0;
    const auto accelerate = static_cast<float>(g.climbAccelerateFpm * altitudeFactor);
    const auto decelerate = static_cast<float>(g.descentDecelerateFpm);

    if (!speedCaptured) {
        if (climb && v < 0.125f * accelerate) {
            flyVerticalSpeed(accelerate / 3.0f);
            return;
        }
        if (descent && v > 0.125f * decelerate) {
            flyVerticalSpeed(decelerate / 3.0f);
            return;
        }
        const bool withinLooseBand = std::fabs(cas - target) <= g.looseCasDiff;
        const bool capture =
            withinLooseBand && (std::fabs(predicted - target) <= g.captureCasDiff ||
                                (target > predicted && climb && v <= accelerate) ||
                                (target < predicted && descent && v >= decelerate));
        if (capture) {
            speedCaptured = true;
            levelChangePid.reset(limitedPitch());
            levelChangeAccPi.integral = 0.0;
            casPredictor.lastInput = cas;
        } else if (target > predicted && climb) {
            flyVerticalSpeed(accelerate);
            return;
        } else if (target < predicted && descent) {
            flyVerticalSpeed(decelerate);
            return;
        }
    }
    if (speedCaptured) {
        // Let go only outside what the capture takes: a speed captured and let go in one frame
        // restarted the controller every frame.
        const bool release = std::fabs(cas - target) > g.looseCasDiff ||
                             (climb && v < 0.125f * accelerate) ||
                             (descent && v > 0.125f * decelerate);
        if (release) {
            speedCaptured = false;
            vsPredictor.lastInput = v;
            resetPitchLoop();
        }
    }
    commandPitch(speedLawPitch(target, cas, predicted));
}

// The pitch that makes the predicted speed change follow the acceleration the speed asks.
double FlightDirector::speedLawPitch(float target, float cas, float predicted) {
    const float v = verticalSpeed();
    const double rate = step(levelChangeAccPi, dt, predicted, target);
    const double gain = levelChangePid.gain;
    if (altitude > altitudePreselect_ && v < -500.0f) {
        levelChangePid.gain *=
            0.5 + 0.5 * (1.0 - std::min(std::fabs(v) - 500.0f, 2000.0f) / 2000.0);
    }
    if (tasJump) {
        levelChangePid.gain *= 0.5;
    }
    const double pitch = step(levelChangePid, dt, predicted - cas, rate);
    levelChangePid.gain = gain;
    return pitch;
}

// Climbs on a speed schedule, descends on a vertical-speed schedule.
void FlightDirector::flyClimbDescent() {
    const bool nowClimbing = altitude < altitudePreselect_;
    if (nowClimbing != climbing) {
        resetPitchLoop();
        resetLevelChangeLoop();
    }
    climbing = nowClimbing;
    if (climbing) {
        if (altitude <= 12000.0f) {
            // The low schedule is in knots: after a Mach climb the target stayed a Mach number.
            leaveMach();
            const float speed = altitude <= 10000.0f
                                    ? 240.0f
                                    : 240.0f + std::trunc((altitude - 10000.0f) / 2000.0f * 30.0f);
            if (speed != iasTarget_) {
                setSpeedTarget(static_cast<int32_t>(speed));
            }
        } else if (!machMode && (!adc || adc->mach < 0.56f)) {
            if (iasTarget_ != 270.0f) {
                setSpeedTarget(270);
            }
        } else {
            machMode = true;
            if (std::fabs(machTarget_ - 0.56f) > 0.001f) {
                setMachTarget(0.56f);
            }
        }
        flyLevelChange(iasTarget_);
        return;
    }
    float target = -1000.0f;
    if (altitude > 12000.0f) {
        target = -2000.0f;
    } else if (altitude > 10000.0f) {
        target = -1000.0f - 10.0f * std::trunc(std::trunc(altitude - 10000.0f) / 20.0f);
    }
    if (target != vsTarget_) {
        setVerticalSpeedTarget(static_cast<int32_t>(target));
    }
    flyVerticalSpeed(vsTarget_);
}

// Follows the beam at the descent rate its angle gives at the speed along the localizer.
void FlightDirector::flyGlideslope() {
    const RadioUnit* receiver = coupledReceiver();
    const bool onLocalizer =
        lateralMode_ == FdLateralMode::Loc || lateralMode_ == FdLateralMode::Bc;
    if (!receiver || !gsValid || !onLocalizer || verticalMode_ != FdVerticalMode::Gs) {
        return;
    }
    const double groundSpeed = gps ? gps->groundSpeed : 0.0;
    const double track = gps ? gps->trueTrack : receiver->localizer;
    const double alongLocalizer =
        groundSpeed * std::cos((receiver->localizer - track) * kDegrees) / 1.944 * 3.2808399 * 60.0;
    const double angle = receiver->glideSlope;
    const double nominal = std::tan(-angle * kDegrees) * alongLocalizer;
    const double offBeam = receiver->gsi / 120.0 * 0.7;
    const double error = std::sin((-angle - offBeam) * kDegrees) * alongLocalizer - nominal;
    const double correction = step(gsPi, dt, error, 0.0);
    flyVerticalSpeed(
        static_cast<float>(std::min(nominal + correction, double{kGlideslopeMaxVerticalSpeed})));
}

void FlightDirector::flyToga() {
    if (takeoffMode) {
        commandPitch(kTakeoffPitch);
    } else if (now() - togaSince < kGoAroundPitchHoldMs) {
        commandPitch(kGoAroundPitch);
    } else {
        flyLevelChange(iasTarget_);
    }
}

// Every episode starts from the present attitude and speed; a switch between overspeed and
// low speed is a new episode. An episode lasts until the selected mode can fly again without
// passing the limit.
void FlightDirector::updateSpeedProtection() {
    const bool exempt =
        isOneOf(verticalMode_, {FdVerticalMode::Alt, FdVerticalMode::Asel, FdVerticalMode::Gs});
    SpeedProtection next = SpeedProtection::None;
    if (isAirborne() && !exempt && adc) {
        if (isOverspeedAhead() && !isResolutionAdvisoryFlown()) {
            next = SpeedProtection::Overspeed;
        } else if (calibratedAirspeed() < kMinimumSpeedFactor * adc->minimumSpeed) {
            next = SpeedProtection::LowSpeed;
        } else if (!selectedLawFlies) {
            // Let go the moment the speed was back, the selected vertical speed ran straight
            // into the limit again: the switching see-sawed 18 times in 190 s of an idle climb.
            next = protection;
        }
    }
    // The mode's own law takes over again from the present pitch as well: resuming its loop
    // where the episode found it raised the nose 11 degrees in one frame at the minimum speed.
    if (next != protection) {
        vsPredictor.lastInput = verticalSpeed();
        resetPitchLoop();
        resetLevelChangeLoop();
        selectedLawFlies = false;
        protectionEaseIntegral = 0.0;
    }
    protection = next;
    speedProtection = protection != SpeedProtection::None;
}

// The overspeed, or the speed trend reaching VMO within a few seconds: caught only at VMO, a
// steep descent at high thrust overshot it by 19 kt before the nose came up.
bool FlightDirector::isOverspeedAhead() const {
    const bool overspeed = coupledSide_ == 2 ? adc->isOverspeed2() : adc->isOverspeed1();
    const float ahead =
        calibratedAirspeed() + adc->airspeedTrend * kOverspeedLeadSeconds / kTrendSeconds;
    return overspeed ||
           (adc->airspeedTrend > kOverspeedLeadTrend && ahead > adc->maxOperatingSpeed);
}

// The crew flies a TCAS resolution advisory in VS: the advisory comes first, the overspeed
// protection would ease the descent it asks for.
bool FlightDirector::isResolutionAdvisoryFlown() const {
    return verticalMode_ == FdVerticalMode::Vs && tcas && !tcas->raSet.empty();
}

// The vertical speed the selected mode flies, when it flies one.
std::optional<float> FlightDirector::selectedVerticalSpeed() const {
    const bool descentSchedule = verticalMode_ == FdVerticalMode::ClimbDescent && !climbing;
    if (verticalMode_ == FdVerticalMode::Vs || descentSchedule) {
        return vsTarget_;
    }
    return std::nullopt;
}

// The speed law on its own, whatever the preselected altitude: the level-change entry would
// climb toward a preselect above and raise the nose at low speed. While the speed is beyond its
// limit the nose never moves the wrong way.
void FlightDirector::flySpeedProtection() {
    const float cas = calibratedAirspeed();
    const auto predicted = static_cast<float>(casPredictor.update(dt, cas));
    const double speedPitch = speedProtectionPitch(cas, predicted);
    const std::optional<float> selected = selectedVerticalSpeed();
    if (!selected) {
        // Without a vertical speed of its own the mode takes over once the speed is back.
        selectedLawFlies = true;
        commandPitch(speedPitch);
        return;
    }
    flyProtectedVerticalSpeed(*selected, predicted, speedPitch);
}

// Where the mode flies a vertical speed, the protection eases it by what holding the speed at
// its limit takes, and in an overspeed the speed law catches what the vertical-speed loop is too
// slow for. The
// selected vertical speed flies again once the speed keeps without easing it. Held until the
// altitude modes took over, a descent at VMO turned into a climb that went on after the thrust
// had come to idle; let go the moment the speed was back, the selected vertical speed ran
// straight into the limit again.
void FlightDirector::flyProtectedVerticalSpeed(float selected, float predicted, double speedPitch) {
    const bool overspeed = protection == SpeedProtection::Overspeed;
    const float limit = protectedSpeed();
    const double beyond = overspeed ? predicted - limit : limit - predicted;
    protectionEaseIntegral = std::max(0.0, protectionEaseIntegral + kEaseRate * beyond * dt);
    const double ease = kEaseGain * beyond + protectionEaseIntegral;
    float target = selected;
    if (ease > 0.0) {
        target = overspeed ? std::min(selected + static_cast<float>(ease), kMaxVerticalSpeed)
                           : std::max(selected - static_cast<float>(ease), -kMaxVerticalSpeed);
    }
    const double vsPitch = verticalSpeedPitch(target);
    // Up is negative: in an overspeed the law raising the nose further flies. At low speed the
    // eased vertical speed alone flies: switching to the speed law and back see-sawed. The loop
    // not flown follows the one flown, so that either takes over without a jump.
    const bool vsLawFlies = !overspeed || vsPitch <= speedPitch;
    selectedLawFlies = vsLawFlies && ease <= 0.0;
    if (vsLawFlies) {
        levelChangePid.output = levelChangePid.previousOutput = vsPitch;
        commandPitch(vsPitch);
    } else {
        vsPid.output = vsPid.previousOutput = speedPitch;
        commandPitch(speedPitch);
    }
}

// The speed the protection holds: just below VMO, or just above its minimum speed.
float FlightDirector::protectedSpeed() const {
    return protection == SpeedProtection::Overspeed
               ? adc->maxOperatingSpeed - kProtectionMargin
               : kMinimumSpeedFactor * adc->minimumSpeed + kProtectionMargin;
}

double FlightDirector::speedProtectionPitch(float cas, float predicted) {
    const bool speedMode = verticalMode_ == FdVerticalMode::Speed;
    const float limit = protectedSpeed();
    double pitch = 0.0;
    if (protection == SpeedProtection::Overspeed) {
        pitch = speedLawPitch(speedMode ? std::min(limit, iasTarget_) : limit, cas, predicted);
        if (cas > adc->maxOperatingSpeed) {
            pitch = std::min(pitch, double{currentPitch()});
        }
    } else {
        pitch = speedLawPitch(speedMode ? std::max(limit, iasTarget_) : limit, cas, predicted);
        if (cas < kMinimumSpeedFactor * adc->minimumSpeed) {
            pitch = std::max(pitch, double{currentPitch()});
        }
    }
    return pitch;
}

// Lateral laws.

void FlightDirector::flyHeading(float target, bool trueHeading) {
    float current = 0.0f;
    if (ahrs) {
        current = trueHeading ? ahrs->unit1.token86Value : ahrs->unit1.heading;
    }
    const float error = std::clamp(geo::angleDifference(current, target), -90.0f, 90.0f);
    headingPi.kp = scheduleHeadingGain(gps ? gps->groundSpeed : 0.0);
    double bank = step(headingPi, dt, 0.0, error);
    if (lateralMode_ == FdLateralMode::Hdg) {
        bank = std::clamp(bank, -double{bankLimit_}, double{bankLimit_});
    }
    commandBank(bank);
}

void FlightDirector::flyTrack(float target) {
    commandBank(trackBank(target));
}

// The heading law's bank toward a true track.
double FlightDirector::trackBank(float target) {
    const float current = gps ? gps->trueTrack : 0.0f;
    const float error = std::clamp(geo::angleDifference(current, target), -90.0f, 90.0f);
    headingPi.kp = scheduleHeadingGain(gps ? gps->groundSpeed : 0.0);
    return step(headingPi, dt, 0.0, error);
}

// Holds the bank from TCS or the turn knob, otherwise levels the wings and, a second after they
// are level, holds the heading of that moment.
void FlightDirector::flyRollHold() {
    if (tcsBankHold) {
        commandBank(tcsBank);
        return;
    }
    if (std::fabs(turnKnobCommand_) > kTurnKnobCentre) {
        commandBank(turnKnobCommand_);
        return;
    }
    if (!isAirborne() && ahrs) {
        rollHoldHeading = ahrs->unit1.token81Value;
    }
    const bool holding = rollLevelTimerRunning || rollHeadingHold;
    if (!holding) {
        if (std::fabs(currentBank()) <= kRollLevelBank) {
            rollLevelTimerRunning = true;
            rollLevelSince = now();
        }
        commandBank(0.0);
        return;
    }
    if (rollLevelTimerRunning && now() - rollLevelSince > kRollLevelDelayMs) {
        rollHoldHeading = ahrs ? ahrs->unit1.heading : 0.0f;
        rollLevelTimerRunning = false;
        rollHeadingHold = true;
    }
    if (rollHeadingHold) {
        flyHeading(rollHoldHeading, false);
    } else {
        commandBank(0.0);
    }
}

void FlightDirector::flyVor() {
    const RadioUnit* receiver = coupledReceiver();
    if (!isOneOf(lateralMode_, {FdLateralMode::Vor, FdLateralMode::Vapp}) || !receiver) {
        flyRollHold();
        return;
    }
    if (!navValid) {
        if (now() - navLostSince > kSignalLossMs && autopilot) {
            autopilot->setBankCommand(currentBank());
            autopilot->syncBank();
        }
        flyRollHold();
        return;
    }
    const double deviation = receiver->cdiDeviation / 127.0 * 10.0 / 5.0;
    PiController& pi = lateralMode_ == FdLateralMode::Vor ? vorPi : vappPi;
    const double correction = step(pi, dt, 0.0, deviation);
    const float drift = adc ? adc->smoothedDriftAngle : 0.0f;
    const double target = normalize360(receiver->course - drift +
                                       normalize360(-receiver->magneticVariation) + correction);
    flyHeading(static_cast<float>(target), true);
}

void FlightDirector::flyLocalizer() {
    const RadioUnit* receiver = coupledReceiver();
    if (!isOneOf(lateralMode_, {FdLateralMode::Loc, FdLateralMode::Bc}) || !receiver || !navValid) {
        flyRollHold();
        return;
    }
    const double deviation = receiver->cdiDeviation / 127.0 * 2.5;
    double base = receiver->localizer - (adc ? adc->driftAngle : 0.0f);
    if (lateralMode_ == FdLateralMode::Bc) {
        base += 180.0;
    }
    const double correction = step(locPi, dt, 0.0, deviation);
    flyHeading(static_cast<float>(normalize360(base + correction)), true);
}

// Steers the FMS's LNAV path: its arcs by the turn rate, its straight legs by the cross-track
// error. The record gives the cross-track error positive right of the path and the turn
// deviation negative right of it, so both corrections steer back toward the path.
void FlightDirector::steerLnav() {
    LnavState* state = fms ? fms->lnavState() : nullptr;
    if (lateralMode_ != FdLateralMode::Lnav || !state) {
        return;
    }
    if (!navValid) {
        flyRollHold();
        return;
    }
    if (!state->arcSteering) {
        turnRatePid.reset(0.0);
    }
    if (state->legAdvanced) {
        state->legAdvanced = false;
        return;
    }
    FlightPlanLeg* leg = fms->activeLeg();
    if (leg && leg->isManualTermination()) {
        if (leg->isHeadingLeg()) {
            flyHeading(static_cast<float>(leg->magneticCourse()), false);
        } else {
            flyTrack(static_cast<float>(leg->course));
        }
        return;
    }
    if (state->arcSteering) {
        const double rateCorrection =
            step(turnTargetPi, dt, 0.0, std::clamp(state->deviation, -1.0, 1.0));
        const double bankCorrection =
            step(turnRatePid, dt, rateCorrection + state->turnRate - filteredTurnRate, 0.0);
        // The turn-rate trim alone drifted off the arc (0.1 deg/s per nm at the en-route
        // deviation scale, with nothing to damp it): the straight legs' track law brings the
        // aircraft back onto the arc's tangent.
        const double pathBank = trackBank(static_cast<float>(
            normalize360(state->currentDesiredTrack + lnavTrackCorrection(*state))));
        double bank = bankCorrection + state->bankCommand + pathBank;
        if (bank * state->bankCommand < 0.0) {
            bank = state->bankCommand / 2.0;
        }
        if (calibratedAirspeed() < guidance.lnavMaxBankIas) {
            bank = std::clamp(bank, -guidance.lnavMaxBank, guidance.lnavMaxBank);
        }
        commandBank(bank);
        return;
    }
    if (state->desiredTrackTrue != 0.0 && state->currentDesiredTrack == 0.0) {
        state->legAdvanced = false;
        return;
    }
    if (leg && turnInRequiredDirection(*leg)) {
        return;
    }
    flyTrack(
        static_cast<float>(normalize360(state->currentDesiredTrack + lnavTrackCorrection(*state))));
}

// Degrees of track back toward the LNAV path: 30 per nm off it, at most 30.
double FlightDirector::lnavTrackCorrection(const LnavState& state) {
    return step(lnavPi, dt, 0.0, -state.crossTrackError);
}

// A leg that must be joined turning one way is turned onto at the LNAV bank that way until the
// heading is within 45 degrees of its course; false once that turn is done or when the leg asks
// for none.
bool FlightDirector::turnInRequiredDirection(FlightPlanLeg& leg) {
    TerminalLeg& procedure = leg.trmLeg;
    const bool left = procedure.turnDirection == kTurnLeft;
    if ((!left && procedure.turnDirection != kTurnRight) || procedure.turnDirectionDone) {
        return false;
    }
    commandBank(left ? kRequiredTurnBank : -kRequiredTurnBank);
    const float heading = ahrs ? ahrs->unit1.token86Value : 0.0f;
    if (std::fabs(geo::angleDifference(heading, static_cast<float>(leg.course))) <
        kRequiredTurnDoneWithin) {
        procedure.turnDirectionDone = true;
    }
    return true;
}

// Command bars.

void FlightDirector::updateCommandBars() {
    const bool airborne = isAirborne();
    const bool toga = verticalMode_ == FdVerticalMode::Toga;
    const float pitch = currentPitch();
    double pitchBarStep = guidance.pitchRateMax * dt;
    if (!airborne) {
        pitchBarStep *= 2.0;
    } else if (toga) {
        pitchBarStep *= 0.5;
    }
    const float aoaMargin = adc ? adc->aoaMargin : 0.0f;
    float bar =
        moveToward(pitchCommandBar_, tcsActive ? pitch : autopilotPitchCommand(), pitchBarStep);
    bar = std::clamp(bar, pitch - kPitchBarBand, pitch + kPitchBarBand);
    bar = std::max({bar, pitchLimitUp, Autopilot::stallLimitedPitch(pitch, aoaMargin)});
    if (airborne && toga) {
        bar = std::max(bar, kTogaPitchBarLimit);
    }
    pitchCommandBar_ = bar;
    bankCommandBar_ =
        moveToward(bankCommandBar_, tcsActive ? currentBank() : autopilotBankCommand(),
                   guidance.bankRateMax * dt);
}

// Turn geometry for the LNAV path: the bank the heading law would ask for the course change,
// limited by altitude, gives the radius; a zero course change needs no turn.
float FlightDirector::computeTurnGeometry(float courseChange, float groundSpeed, float& lead,
                                          float altitudeFeet) {
    PiController law = headingPi;
    law.kp = scheduleHeadingGain(groundSpeed);
    const double asked = std::fabs(step(law, dt, 0.0, courseChange));
    const double h = std::clamp(double{altitudeFeet}, 0.0, 35000.0);
    const double maximum = autopilotMaxBank();
    double limit = maximum;
    if (h >= 25000.0) {
        limit = maximum * (0.65 + 0.2 * (1.0 - (h - 25000.0) / 10000.0));
    } else if (h >= 10000.0) {
        limit = 0.85 * maximum;
    } else if (h >= 5000.0) {
        limit = 0.92 * maximum;
    }
    const double bank = std::min(asked, limit);
    lead = 0.0f;
    if (bank <= 0.0) {
        return 0.0f;
    }
    const double speed = groundSpeed * kMetresPerNm / 3600.0;
    const double radius = speed * speed / (std::tan(bank * kDegrees) * kGravity) / kMetresPerNm;
    const double halfTurn = std::min(std::fabs(double{courseChange}), 150.0) / 2.0;
    lead = static_cast<float>(radius * std::tan(halfTurn * kDegrees));
    return static_cast<float>(radius);
}

} // namespace tavi
