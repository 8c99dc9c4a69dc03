#include "airframe/Fadec.h"

#include "airframe/Electric.h"
#include "airframe/JetEngine.h"
#include "airframe/Mechanisation.h"
#include "airframe/Pneumatic.h"
#include "airframe/SystemStep.h"
#include "avionics/Ahrs.h"
#include "avionics/Aws.h"
#include "avionics/FlightDirector.h"
#include "core/Aircraft.h"
#include "core/Imports.h"
#include "core/RequestVariable.h"
#include "platform/profile/Profile.h"

#include <algorithm>
#include <cmath>

namespace tavi {

namespace {

constexpr double kFadecThrottleFullUnits = 16384.0;
constexpr int32_t kSimulatorFullThrottle = 16384;
constexpr int32_t kGearDownAndLocked = 16383;
constexpr float kReserveArmAngle = 45.0f;
constexpr float kReserveHoldAngle = 42.0f;
constexpr float kReserveTriggerAngle = 38.0f;
constexpr uint32_t kReserveArmSpreadMs = 2000;
constexpr float kTakeoffDataLockAngle = 50.0f;
constexpr float kTakeoffCheckAngle = 60.0f;
constexpr float kLowN1LeverAngle = 60.0f;
constexpr float kLowN1N2 = 53.0f;
// The lever follow-up turns throttle units into lever degrees.
constexpr float kThrottleUnitsPerDegree = 256.0f;
constexpr float kIdleMiddleAngle = 25.0f;
// Reverser travel per second of frame time.
constexpr float kReverserRate = 0.5f;
constexpr uint32_t kKnobSpringBackMs = 400;
constexpr int32_t kKnobLeftAngle = -130;
constexpr int32_t kKnobRightAngle = -50;
constexpr int32_t kTakeoffTemperatureTolerance = 10;
constexpr uint32_t kNoTakeoffDataDelayMs = 60000;
constexpr float kGoAroundMaxAltitude = 10000.0f;
constexpr float kAutoRatingMaxAltitude = 15000.0f;
constexpr int kEngineSelectionToken = 126;
constexpr int32_t kBothEnginesSelected = 3;
constexpr uint32_t kEngineSelectEvent = 0x10012;
constexpr uint32_t kEngineSelect1Event = 0x10002;
constexpr uint32_t kEngineSelect2Event = 0x10003;
constexpr uint32_t kKeyE = 0x45;

constexpr SoundId kTakeoffOk = 35;
constexpr SoundId kTakeoffSpoiler = 36;
constexpr SoundId kTakeoffFlaps = 37;
constexpr SoundId kTakeoffTrim = 38;
constexpr SoundId kTakeoffBrake = 39;
// The configuration check's findings in the order they are called out.
constexpr std::array<SoundId, 4> kFindingCallouts = {kTakeoffSpoiler, kTakeoffFlaps, kTakeoffTrim,
                                                     kTakeoffBrake};

constexpr int32_t kLowN1Message = 61;
constexpr int32_t kAntiIceDisagreeMessage = 63;
constexpr int32_t kNoTakeoffDataMessage = 64;
constexpr int32_t kEngineOutMessage = 65;
constexpr int32_t kNoTakeoffConfigMessage = 70;

constexpr std::array<const char*, 10> kFadecVariableNames = {
    "TaviThrottle1Lever",
    "TaviThrottle2Lever",
    "TaviThrottle1LeverPressed",
    "TaviThrottle2LeverPressed",
    "TaviThrottleLock",
    "TaviThrottleLockClick",
    "TaviLeftReverser",
    "TaviRightReverser",
    "ToCheckClick",
    "ToGaClick",
};

constexpr std::array<const char*, 5> kRatingTexts = {"T/O-1", "ALT T/O-1", "CON", "CLB", "CRZ"};

std::string ratingText(int32_t rating) {
    return rating >= 0 && rating < static_cast<int32_t>(kRatingTexts.size())
               ? kRatingTexts[static_cast<std::size_t>(rating)]
               : "";
}

// Throttle units for a throttle position, truncated toward zero; not a number gives idle.
int32_t toThrottleUnits(double throttle) {
    if (std::isnan(throttle)) {
        return 0;
    }
    return static_cast<int32_t>(
        std::clamp(throttle * kFadecThrottleFullUnits, -2147483648.0, 2147483647.0));
}

float blend(float from, float to, float weight) {
    return from + (to - from) * weight;
}

// The two times lie more than `ms` apart, either way round.
bool apartMoreThan(uint32_t a, uint32_t b, uint32_t ms) {
    return std::min(a - b, b - a) > ms;
}

// Notes the new value of a condition and whether it changed.
void note(bool& condition, bool& changed, bool value) {
    changed = value != condition;
    condition = value;
}

} // namespace

Fadec::Fadec() : throttleLowerLimitVar("THROTTLE LOWER LIMIT", "NUMBER", 0) {
    variableIds.fill(-1);
}

void Fadec::loadSettings(Aircraft& aircraft) {
    reversersAvailable = platform::profile::parseDouble(aircraft.readIniString(
                             "Engines", "thrustReverserAvailable", "1")) != 0.0;
    startupMode =
        platform::profile::parseInt(aircraft.readIniString("Startup", "startupMode", "0"));
}

bool Fadec::handleKey(Aircraft&, uint32_t virtualKey, bool shiftDown, bool ctrlDown) {
    return virtualKey == kKeyE && ctrlDown && !shiftDown;
}

void Fadec::addElectricLoad(Aircraft&, BusLoads& loads) {
    constexpr float kReverserAmps = 10.0f;
    constexpr float kControlUnitAmps = 5.0f;
    if (reverserPosition[0] > 0.0f && reverserPosition[0] < 1.0f) {
        loads[Electric::kDcBus1] += kReverserAmps;
    }
    if (reverserPosition[1] > 0.0f && reverserPosition[1] < 1.0f) {
        loads[Electric::kDcBus2] += kReverserAmps;
    }
    if (bus2Powered) {
        loads[Electric::kDcBus2] += kControlUnitAmps;
    }
}

void Fadec::update(Aircraft& aircraft) {
    const uint32_t now = aircraft.simTimeMs;
    readInputs(aircraft);
    if (!started) {
        // Engaged for a dark cockpit and one ready for engine start, released for running
        // engines.
        setThrottleLock(startupMode == 0 || startupMode == 1);
    }
    throttleLowerLimit = static_cast<float>(throttleLowerLimitVar.read());
    reverseLimitUnits = toThrottleUnits(throttleLowerLimit);
    if (knobAngle != kKnobRestAngle && now - knobTime >= kKnobSpringBackMs) {
        knobAngle = kKnobRestAngle;
    }
    bus2Powered = inputs.dcBus2Powered;
    noteGroundChanges();
    applyResets();
    acceptTakeoffTemperatures();
    updateReserve(now);
    changeRatingAutomatically();
    updateTargets();
    followSimulatorThrottles();
    moveReversers(aircraft);
    checkTakeoffConfiguration();
    applyLeverLaw(0);
    applyLeverLaw(1);
    updateMessageConditions(now);
    updateIttLimits();
    updateEicasMessages(now);
    if (started && !wasOnGround && inputs.onGround) {
        touchdownTime = now;
    }
    wasOnGround = inputs.onGround;
    serveNamedVariables(aircraft);
    keepEngineSelection(aircraft);
    if (!started && now != 0) {
        started = true;
    }
}

void Fadec::readInputs(const Aircraft& aircraft) {
    engines = {aircraft.engine1(), aircraft.engine2()};
    adc = aircraft.adc();
    aws = aircraft.aws();
    eicasDau = aircraft.eicasDau();
    const Ahrs* ahrs = aircraft.ahrs();
    inputs.onGround = ahrs && ahrs->onGround;
    readAirData();
    const Pneumatic* pneumatic = aircraft.pneumatic();
    inputs.antiIceOverrideAuto = pneumatic && pneumatic->antiIceOverrideKnob == 1;
    inputs.antiIceInUse = pneumatic && pneumatic->anyAntiIceOn();
    readFlightControls(aircraft.mechanisation());
    const Electric* electric = aircraft.electric();
    inputs.dcBus2Powered = electric && electric->isPowered(Electric::kDcBus2);
    inputs.essentialBus1Powered = electric && electric->isPowered(Electric::kEssentialBus1);
    inputs.essentialBus2Powered = electric && electric->isPowered(Electric::kEssentialBus2);
}

void Fadec::readAirData() {
    inputs.flightPhase = adc ? adc->flightPhase : kLandingPhase;
    inputs.flightPhaseChanged = adc && adc->flightPhaseChanged;
    inputs.pressureAltitude = adc ? adc->pressureAltitude : 0.0f;
    inputs.indicatedAltitude = adc ? adc->indicatedAltitude : 0.0f;
    inputs.indicatedAirspeed = adc ? adc->indicatedAirspeed : 0.0f;
    inputs.staticAirTemperature = adc ? adc->staticAirTemperature : 0.0f;
    inputs.isaDeviation = adc ? adc->isaDeviation : 0.0f;
}

void Fadec::readFlightControls(const Mechanisation* mechanisation) {
    inputs.gearPositions = mechanisation ? mechanisation->gearPositions : std::array<int32_t, 3>{};
    inputs.spoilerPosition = mechanisation ? mechanisation->spoilerPosition : 0.0f;
    inputs.flapAngle = mechanisation ? mechanisation->flapAngle : 0.0f;
    inputs.pitchTrimIndication = mechanisation ? mechanisation->pitchTrimIndication : 0.0f;
    inputs.parkingBrake = mechanisation ? mechanisation->parkingBrake : 0.0f;
}

void Fadec::noteGroundChanges() {
    const bool liftOff = wasOnGround && !inputs.onGround;
    const bool touchdown = !wasOnGround && inputs.onGround;
    if (!started || liftOff) {
        referenceAltitude = inputs.pressureAltitude;
    }
    if (touchdown) {
        resetRequest = {true, true};
    }
}

void Fadec::applyResets() {
    fadecPowered = inputs.essentialBus1Powered || inputs.essentialBus2Powered;
    if (!fadecPowered) {
        resetRequest = {true, true};
    }
    if (resetRequest[0] || resetRequest[1]) {
        if (thrustRating != kTakeoffRating) {
            selectThrustRating(kTakeoffRating);
        }
        resetRequest = {false, false};
    }
}

void Fadec::acceptTakeoffTemperatures() {
    const bool closeToSat = std::abs(static_cast<float>(takeoffTemperature) -
                                     inputs.staticAirTemperature) <= kTakeoffTemperatureTolerance;
    for (std::size_t engine = 0; engine < 2; ++engine) {
        if (takeoffTempAccepted[engine]) {
            takeoffTempAccepted[engine] = burning(engine);
        } else {
            takeoffTempAccepted[engine] =
                burning(engine) && closeToSat && takeoffDataStep == 0 && takeoffDataEntered;
        }
    }
}

// The automatic reserve: armed by both levers forward in ALT T/O-1 on the ground with both
// engines burning, it fires when a lever comes back, when only one engine stays armed or when an
// engine is lost, and the next step then selects full takeoff thrust.
void Fadec::updateReserve(uint32_t now) {
    const bool armCondition =
        thrustRating == kAltTakeoffRating && inputs.onGround && burning(0) && burning(1);
    for (std::size_t engine = 0; engine < 2; ++engine) {
        const float lever = leverAngle[engine];
        if (!reserveArmed[engine]) {
            if (armCondition && lever >= kReserveArmAngle) {
                reserveArmed[engine] = true;
                reserveTriggered = false;
                reserveArmTime[engine] = now;
            }
        } else if (thrustRating != kAltTakeoffRating || reserveTriggered ||
                   lever < kReserveHoldAngle) {
            reserveArmed[engine] = false;
            reserveArmTime[engine] = now;
        }
    }
    const bool anyArmed = reserveArmed[0] || reserveArmed[1];
    const bool exactlyOneArmed = reserveArmed[0] != reserveArmed[1];
    if ((reserveArmed[0] && leverAngle[1] < kReserveTriggerAngle) ||
        (reserveArmed[1] && leverAngle[0] < kReserveTriggerAngle) ||
        (exactlyOneArmed &&
         apartMoreThan(reserveArmTime[0], reserveArmTime[1], kReserveArmSpreadMs)) ||
        (anyArmed && (isLost(0) || isLost(1)))) {
        reserveTriggered = true;
    }
}

// An engine that does not burn and is not being cranked; on the ground only while its lever is
// out of the idle range.
bool Fadec::isLost(std::size_t engine) const {
    const JetEngine* jet = engines[engine];
    const bool cranked = jet && jet->n2Percent > 0.0f && jet->starterEngaged;
    if (burning(engine) || cranked) {
        return false;
    }
    const float lever = leverAngle[engine];
    return !inputs.onGround || lever < kForwardIdleAngle || lever > kIdleMaxAngle;
}

void Fadec::changeRatingAutomatically() {
    const bool down = gearDown();
    // Lowering the gear arms go-around thrust.
    if (!inputs.onGround && down && !gearWasDown && thrustRating != kTakeoffRating &&
        inputs.indicatedAltitude < kAutoRatingMaxAltitude) {
        selectThrustRating(kTakeoffRating);
    }
    gearWasDown = down;
    if (reserveTriggered) {
        selectThrustRating(kTakeoffRating);
        reserveTriggered = false;
    }
    if (!fadecPowered) {
        selectThrustRating(kTakeoffRating);
    }
}

void Fadec::selectThrustRating(int32_t rating) {
    const bool airborne = !inputs.onGround;
    // The reference is a pressure altitude: the height above it is too, whatever the QNH.
    const float height = inputs.pressureAltitude - referenceAltitude;
    switch (rating) {
    case kTakeoffRating:
        thrustRating = rating;
        goAroundSelected = airborne;
        break;
    case kAltTakeoffRating:
        thrustRating = rating;
        break;
    case kContinuousRating:
        if (airborne && ((height > 300.0f && !gearWasDown) || height > 1700.0f)) {
            thrustRating = rating;
        }
        break;
    case kClimbRating:
    case kCruiseRating:
        if (airborne && burning(0) && burning(1) &&
            ((height > 500.0f && !gearWasDown) || height > 1700.0f)) {
            thrustRating = rating;
        }
        break;
    default:
        break;
    }
}

void Fadec::updateTargets() {
    if (inputs.onGround) {
        reverseN1 = static_cast<float>(n1ForThrottle(reverseLimitUnits / kFadecThrottleFullUnits));
        idleN1 = static_cast<float>(n1ForThrottle(0.0));
    } else {
        // With the gear down low the idle keeps its anti-ice choice for the approach.
        if (!(gearDown() && inputs.indicatedAltitude < kAutoRatingMaxAltitude)) {
            idleAntiIce = inputs.antiIceInUse;
        }
        idleN1 = idleAntiIce ? tables.lookup(ThrustTables::kFlightIdleAntiIce,
                                             inputs.staticAirTemperature, inputs.pressureAltitude)
                             : tables.lookup(ThrustTables::kFlightIdle, inputs.isaDeviation,
                                             inputs.pressureAltitude);
    }
    switch (thrustRating) {
    case kAltTakeoffRating:
        ratingN1 = altTakeoffN1();
        break;
    case kContinuousRating:
        ratingN1 = continuousN1();
        break;
    case kClimbRating:
        ratingN1 =
            tables.lookup(ThrustTables::kClimb, inputs.isaDeviation, inputs.pressureAltitude);
        break;
    case kCruiseRating:
        ratingN1 =
            tables.lookup(ThrustTables::kCruise, inputs.isaDeviation, inputs.pressureAltitude);
        break;
    default:
        ratingN1 = takeoffN1();
        break;
    }
}

float Fadec::takeoffN1() const {
    const bool accepted = takeoffTempAccepted[0] || takeoffTempAccepted[1];
    const bool resetPending = resetRequest[0] || resetRequest[1];
    const bool entered = accepted && !resetPending && !goAroundSelected && inputs.onGround;
    const float temperature =
        entered ? static_cast<float>(takeoffTemperature) : inputs.staticAirTemperature;
    if (goAroundSelected && inputs.pressureAltitude <= kGoAroundMaxAltitude) {
        return goAroundN1(inputs.antiIceInUse);
    }
    const bool antiIce = accepted && inputs.onGround ? takeoffAntiIce : inputs.antiIceInUse;
    return tables.lookup(antiIce ? ThrustTables::kTakeoffAntiIce : ThrustTables::kTakeoff,
                         temperature, inputs.pressureAltitude);
}

// Blends the go-around tables of 100, 150 and 200 kt by the airspeed.
float Fadec::goAroundN1(bool antiIce) const {
    const float speed = std::clamp(inputs.indicatedAirspeed, 100.0f, 200.0f);
    const float sat = inputs.staticAirTemperature;
    const float altitude = inputs.pressureAltitude;
    auto at = [&](ThrustTables::Table table) {
        return tables.lookup(table, sat, altitude);
    };
    const float slow = at(antiIce ? ThrustTables::kGoAround100AntiIce : ThrustTables::kGoAround100);
    const float middle =
        at(antiIce ? ThrustTables::kGoAround150AntiIce : ThrustTables::kGoAround150);
    const float fast = at(antiIce ? ThrustTables::kGoAround200AntiIce : ThrustTables::kGoAround200);
    return speed < 150.0f ? blend(slow, middle, (speed - 100.0f) / 50.0f)
                          : blend(middle, fast, (speed - 150.0f) / 50.0f);
}

float Fadec::altTakeoffN1() const {
    const bool accepted = takeoffTempAccepted[0] || takeoffTempAccepted[1];
    const bool entered = accepted && inputs.onGround;
    const float temperature =
        entered ? static_cast<float>(takeoffTemperature) : inputs.staticAirTemperature;
    const bool antiIce = entered ? takeoffAntiIce : inputs.antiIceInUse;
    return tables.lookup(antiIce ? ThrustTables::kAltTakeoffAntiIce : ThrustTables::kAltTakeoff,
                         temperature, inputs.pressureAltitude);
}

float Fadec::continuousN1() const {
    if (!inputs.antiIceInUse) {
        return tables.lookup(ThrustTables::kContinuous, inputs.isaDeviation,
                             inputs.pressureAltitude);
    }
    const float speed = std::clamp(inputs.indicatedAirspeed, 100.0f, 200.0f);
    const float slow = tables.lookup(ThrustTables::kContinuousAntiIce100,
                                     inputs.staticAirTemperature, inputs.pressureAltitude);
    const float fast = tables.lookup(ThrustTables::kContinuousAntiIce200,
                                     inputs.staticAirTemperature, inputs.pressureAltitude);
    return blend(slow, fast, (speed - 100.0f) / 100.0f);
}

// The levers follow the simulator's throttles, so that a joystick or the keyboard moves them.
void Fadec::followSimulatorThrottles() {
    for (std::size_t lever = 0; lever < 2; ++lever) {
        const JetEngine* engine = engines[lever];
        if (!engine) {
            continue;
        }
        const int32_t simulator = engine->throttleUnits;
        const float angle = leverAngle[lever];
        if (simulator == kSimulatorFullThrottle) {
            setThrustLever(lever, kFullThrottleAngle);
        } else if (simulator == 0 && angle > kIdleMaxAngle && reverserPosition[lever] == 0.0f) {
            setThrustLever(lever, kIdleMiddleAngle);
        } else if (simulator != lastThrottleCommand[lever]) {
            setThrustLever(lever,
                           angle + static_cast<float>(simulator - lastThrottleCommand[lever]) /
                                       kThrottleUnitsPerDegree);
            if (lastThrottleCommand[lever] <= 0 && simulator >= 0) {
                setThrustLever(lever, kIdleMiddleAngle);
            }
        }
    }
    const float lowest = inputs.onGround && reversersAvailable ? 0.0f : kForwardIdleAngle;
    for (std::size_t lever = 0; lever < 2; ++lever) {
        if (throttleLock && leverAngle[lever] > kIdleMaxAngle) {
            setThrustLever(lever, kIdleMaxAngle);
        }
        if (leverAngle[lever] < lowest || leverAngle[lever] > kLeverMaxAngle) {
            setThrustLever(lever, leverAngle[lever]);
        }
    }
}

// Each reverser deploys while its lever is below forward idle and stows otherwise, in 2 s.
void Fadec::moveReversers(const Aircraft& aircraft) {
    const float step = kReverserRate * static_cast<float>(aircraft.frameDeltaMs) / 1000.0f;
    for (std::size_t lever = 0; lever < 2; ++lever) {
        float& position = reverserPosition[lever];
        position += leverAngle[lever] < kForwardIdleAngle ? step : -step;
        position = std::clamp(position, 0.0f, 1.0f);
    }
    publish(kLeftReverser, reverserPosition[0]);
    publish(kRightReverser, reverserPosition[1]);
}

void Fadec::checkTakeoffConfiguration() {
    noTakeoffConfigChanged = false;
    for (SoundId callout : kFindingCallouts) {
        if (aws && aws->isQueued(callout)) {
            return;
        }
    }
    if (!inputs.onGround) {
        // A button pressed in flight does not wait for the ground.
        takeoffCheckRequest = false;
        if (inputs.flightPhase != kLandingPhase) {
            note(noTakeoffConfig, noTakeoffConfigChanged, false);
        }
        return;
    }
    if (inputs.flightPhase == kLandingPhase) {
        takeoffCheckRequest = false;
        return;
    }
    const bool leversForward =
        leverAngle[0] >= kTakeoffCheckAngle || leverAngle[1] >= kTakeoffCheckAngle;
    if (!leversForward && !takeoffCheckRequest) {
        return;
    }
    const bool spoiler = inputs.spoilerPosition != 0.0f;
    const bool flaps = inputs.flapAngle < 9.0f || inputs.flapAngle > 18.0f;
    const bool trim = inputs.pitchTrimIndication < 3.5f || inputs.pitchTrimIndication >= 8.5f;
    const bool brake = inputs.parkingBrake != 0.0f;
    const bool warning = spoiler || flaps || trim || brake;
    if (aws) {
        announceTakeoffCheck({spoiler, flaps, trim, brake});
    }
    takeoffCheckRequest = false;
    note(noTakeoffConfig, noTakeoffConfigChanged, warning);
}

// "Takeoff OK" when asked and nothing is wrong; otherwise the chime and one call-out per finding
// (spoiler, flaps, trim, brake).
void Fadec::announceTakeoffCheck(const std::array<bool, 4>& findings) {
    if (std::none_of(findings.begin(), findings.end(), [](bool found) { return found; })) {
        if (takeoffCheckRequest) {
            aws->enqueue(kTakeoffOk);
        }
        for (SoundId callout : kFindingCallouts) {
            aws->dequeue(callout, false);
        }
        return;
    }
    aws->enqueue(sounds::kWarningChime);
    for (std::size_t i = 0; i < kFindingCallouts.size(); ++i) {
        if (findings[i]) {
            aws->enqueue(kFindingCallouts[i]);
        }
    }
}

void Fadec::updateMessageConditions(uint32_t now) {
    for (std::size_t engine = 0; engine < 2; ++engine) {
        const JetEngine* jet = engines[engine];
        note(lowN1[engine], lowN1Changed[engine],
             jet && jet->n2Percent < kLowN1N2 && leverAngle[engine] > kLowN1LeverAngle);
        note(engineFailed[engine], engineFailedChanged[engine], jet && jet->failed);
    }
    const bool onGround = inputs.onGround;
    const bool autoOverride = inputs.antiIceOverrideAuto;
    note(antiIceDisagree, antiIceDisagreeChanged,
         onGround && autoOverride &&
             (takeoffAntiIce || (takeoffDataStep == 0 && inputs.staticAirTemperature < 5.0f)));
    const bool running = (engines[0] && engines[0]->n2Percent > kLowN1N2) ||
                         (engines[1] && engines[1]->n2Percent > kLowN1N2);
    note(noTakeoffData, noTakeoffDataChanged,
         onGround && now - touchdownTime >= kNoTakeoffDataDelayMs && (burning(0) || burning(1)) &&
             running && !(takeoffTempAccepted[0] && takeoffTempAccepted[1]));
}

void Fadec::updateIttLimits() {
    float limit = 901.0f;
    if (thrustRating == kTakeoffRating) {
        limit = 948.0f;
    } else if (thrustRating == kAltTakeoffRating) {
        limit = 917.0f;
    }
    for (std::size_t engine = 0; engine < 2; ++engine) {
        ittLimit[engine] = engines[engine] && engines[engine]->startActive ? 800.0f : limit;
    }
}

void Fadec::updateEicasMessages(uint32_t now) {
    const bool everything = eicasPower.poweredAgain(eicasDau) || !started;
    const bool phaseChanged = everything || inputs.flightPhaseChanged;
    const int32_t phase = inputs.flightPhase;
    const bool groundOrFlight = phase == kAirbornePhase || phase == kOnGroundPhase;
    auto evaluate = [&](bool changed, int32_t level, int32_t id, const std::string& text) {
        if (phaseChanged || changed) {
            showEicasMessage(eicasDau, now, level, id, text);
        }
    };
    const bool lowShown = phase != kTakeoffPhase;
    evaluate(lowN1Changed[0] || lowN1Changed[1], kEicasWarning, kLowN1Message,
             eicasUnitsText("E", {lowShown && lowN1[0], lowShown && lowN1[1]}, " LOW N1"));
    evaluate(engineFailedChanged[0] || engineFailedChanged[1], kEicasWarning, kEngineOutMessage,
             eicasUnitsText("ENG", {engineFailed[0], engineFailed[1]}, " OUT"));
    evaluate(antiIceDisagreeChanged, kEicasCaution, kAntiIceDisagreeMessage,
             textWhen(groundOrFlight && antiIceDisagree, "ENG REF A/I DISAG"));
    evaluate(noTakeoffDataChanged, kEicasCaution, kNoTakeoffDataMessage,
             textWhen(groundOrFlight && noTakeoffData, "ENG NO TO DATA"));
    evaluate(noTakeoffConfigChanged, kEicasWarning, kNoTakeoffConfigMessage,
             textWhen(phase != kLandingPhase && noTakeoffConfig, "NO TAKEOFF CONFIG"));
}

void Fadec::serveNamedVariables(Aircraft& aircraft) {
    if (!variablesRegistered) {
        for (std::size_t i = 0; i < kVariableCount; ++i) {
            variableIds[i] = panelServices().registerNamedVariable(kFadecVariableNames[i]);
        }
        variablesRegistered = true;
        setThrustLever1(leverAngle[0]);
        setThrustLever2(leverAngle[1]);
        setThrottleLock(throttleLock);
    }
    platform::PanelServices& panel = panelServices();
    if (takeRequest(kThrottle1LeverPressed)) {
        setThrustLever1(static_cast<float>(panel.readNamedVariable(variableIds[kThrottle1Lever])));
    }
    if (takeRequest(kThrottle2LeverPressed)) {
        setThrustLever2(static_cast<float>(panel.readNamedVariable(variableIds[kThrottle2Lever])));
    }
    if (takeRequest(kThrottleLockClick)) {
        setThrottleLock(panel.readNamedVariable(variableIds[kThrottleLockVar]) != 0.0);
    }
    if (takeRequest(kToCheckClick)) {
        takeoffCheckRequest = true;
    }
    if (takeRequest(kToGaClick)) {
        if (FlightDirector* flightDirector = aircraft.flightDirector()) {
            flightDirector->pressToGa();
        }
    }
}

void Fadec::keepEngineSelection(const Aircraft& aircraft) const {
    if (aircraft.tokens.value(kEngineSelectionToken) == kBothEnginesSelected) {
        return;
    }
    platform::PanelServices& panel = panelServices();
    panel.sendKeyEvent(kEngineSelectEvent, 0);
    panel.sendKeyEvent(kEngineSelect1Event, 0);
    panel.sendKeyEvent(kEngineSelect2Event, 0);
}

std::string Fadec::thrustRatingText() const {
    return burning(0) ? ratingText(thrustRating) : ratingText(kTakeoffRating);
}

std::string Fadec::takeoffRatingText() const {
    return takeoffRating == kTakeoffRating || takeoffRating == kAltTakeoffRating
               ? ratingText(takeoffRating)
               : "";
}

bool Fadec::reverserDeployed(std::size_t lever) const {
    const JetEngine* engine = engines[lever];
    return reverserPosition[lever] == 1.0f && engine && engine->throttleUnits < 0;
}

void Fadec::takeoffDataStore() {
    const bool leversForward =
        leverAngle[0] >= kTakeoffDataLockAngle || leverAngle[1] >= kTakeoffDataLockAngle;
    if (!inputs.onGround || !fadecPowered || leversForward) {
        takeoffDataStep = 0;
        return;
    }
    switch (takeoffDataStep) {
    case 0:
        takeoffTemperature = 15;
        takeoffAntiIce = false;
        setTakeoffDataEntered(false);
        resetRequest = {false, false};
        takeoffTempAccepted = {false, false};
        takeoffRating = kTakeoffRating;
        takeoffDataStep = 1;
        break;
    case 1:
    case 2:
        ++takeoffDataStep;
        break;
    default:
        takeoffDataStep = 0;
        selectThrustRating(takeoffRating);
        setTakeoffDataEntered(true);
        break;
    }
}

void Fadec::takeoffDataSet(const Aircraft& aircraft, int32_t delta) {
    knobAngle = delta <= 0 ? kKnobLeftAngle : kKnobRightAngle;
    knobTime = aircraft.simTimeMs;
    switch (takeoffDataStep) {
    case 1:
        takeoffRating = delta <= 0 ? kAltTakeoffRating : kTakeoffRating;
        break;
    case 2:
        takeoffTemperature =
            std::clamp(takeoffTemperature + delta, minTakeoffTemperature, maxTakeoffTemperature);
        break;
    case 3:
        takeoffAntiIce = delta > 0;
        break;
    default:
        break;
    }
}

void Fadec::setThrottleLock(bool on) {
    throttleLock = on;
    if (on) {
        for (std::size_t lever = 0; lever < 2; ++lever) {
            if (leverAngle[lever] > kIdleMaxAngle) {
                setThrustLever(lever, kIdleMaxAngle);
            }
        }
    }
    publish(kThrottleLockVar, throttleLock);
}

void Fadec::requestReset() {
    resetRequest = {true, true};
    takeoffDataStep = 0;
}

void Fadec::setThrustLever(std::size_t lever, float angle) {
    if (std::isnan(angle)) {
        angle = leverAngle[lever];
    }
    float limited = throttleLock ? std::min(angle, kIdleMaxAngle) : angle;
    const float lowest = inputs.onGround && reversersAvailable ? 0.0f : kForwardIdleAngle;
    limited = std::clamp(limited, lowest, kLeverMaxAngle);
    leverAngle[lever] = limited;
    publish(lever == 0 ? kThrottle1Lever : kThrottle2Lever, limited);
    applyLeverLaw(lever);
}

// The N1 a lever angle commands, and the simulator throttle that gives it.
void Fadec::applyLeverLaw(std::size_t lever) {
    const float angle = leverAngle[lever];
    const bool deployed = reverserPosition[lever] == 1.0f;
    float n1 = idleN1;
    int32_t command = 0;
    if (angle <= kFullReverseAngle) {
        n1 = reverseN1;
        command = deployed ? reverseLimitUnits : 0;
    } else if (angle < kReverseIdleAngle) {
        const float fraction =
            1.0f - (angle - kFullReverseAngle) / (kReverseIdleAngle - kFullReverseAngle);
        n1 = idleN1 + (reverseN1 - idleN1) * fraction;
        command = deployed ? throttleUnitsForN1(n1, true) : 0;
    } else if (angle <= kIdleMaxAngle) {
        command = wasOnGround ? 0 : throttleUnitsForN1(idleN1, false);
    } else {
        if (angle < kRatingAngle) {
            n1 = idleN1 +
                 (ratingN1 - idleN1) * (angle - kIdleMaxAngle) / (kRatingAngle - kIdleMaxAngle);
        } else {
            n1 = ratingN1;
        }
        command = throttleUnitsForN1(n1, false);
    }
    commandedN1[lever] = n1;
    JetEngine* engine = engines[lever];
    if (command != lastThrottleCommand[lever] || (engine && command != engine->throttleUnits)) {
        if (engine) {
            engine->setThrottle(command);
        }
        lastThrottleCommand[lever] = command;
    }
}

bool Fadec::burning(std::size_t engine) const {
    return engines[engine] && engines[engine]->combustion;
}

bool Fadec::gearDown() const {
    return std::all_of(inputs.gearPositions.begin(), inputs.gearPositions.end(),
                       [](int32_t position) { return position == kGearDownAndLocked; });
}

double Fadec::n1ForThrottle(double throttle) const {
    return adc ? adc->n1ForThrottle(throttle) : 0.0;
}

int32_t Fadec::throttleUnitsForN1(double n1, bool reverse) const {
    return adc ? toThrottleUnits(adc->throttleForN1(n1, reverse)) : 0;
}

bool Fadec::takeRequest(Variable variable) const {
    return variablesRegistered && tavi::takeRequest(variableIds[variable]);
}

void Fadec::publish(Variable variable, double value) const {
    if (variablesRegistered) {
        panelServices().writeNamedVariable(variableIds[variable], value);
    }
}

} // namespace tavi
