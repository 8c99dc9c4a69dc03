// The mechanical flight systems: the frame, the flight-control channels, the flaps, the trims,
// the speed brake and spoilers, the rudder axis, the simulator's events and keys, the named
// variables and the electrical loads.
#include "airframe/Mechanisation.h"

#include "airframe/Electric.h"
#include "airframe/Fadec.h"
#include "airframe/Hydraulic.h"
#include "airframe/JetEngine.h"
#include "avionics/Adc.h"
#include "avionics/Ahrs.h"
#include "avionics/Autopilot.h"
#include "avionics/Aws.h"
#include "avionics/Gps.h"
#include "avionics/Gpws.h"
#include "avionics/RadAlt.h"
#include "core/Aircraft.h"
#include "core/Imports.h"
#include "core/RequestVariable.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace tavi {

namespace {

enum Token : int {
    kAileronToken = 313,
    kRudderToken = 316,
    kElevatorToken = 317,
    kElevatorTrimToken = 318,
    kSpoilersArmedToken = 324,
    kSpoilerHandleToken = 325,
    kSpoilerPositionToken = 326,
    kFlapHandleToken = 329,
    kAileronTrimToken = 785,
    kRudderTrimToken = 787,
    kFlapAngleToken = 907,
};

enum SimEvent : uint32_t {
    kSpoilersToggleEvent = 0x10035,
    kElevatorTrimDownEvent = 0x10047,
    kElevatorTrimUpEvent = 0x1004F,
    kFlapsSetEvent = 0x100A2,
    kFlapsIncrementEvent = 0x100DE,
    kFlapsDecrementEvent = 0x100DF,
    kSpoilersSetEvent = 0x100FA,
    kSpoilersArmOffEvent = 0x1013D,
    kSpoilersOnEvent = 0x10210,
    kSpoilersOffEvent = 0x10211,
    kSpoilerAxisEvent = 0x1034E,
};

constexpr uint32_t kRudderAxisClientEvent = 11;
constexpr uint32_t kRudderAxisPriority = 1'900'000'000;

constexpr uint32_t kSlashKey = 0xBF;
constexpr uint32_t kPeriodKey = 0xBE;

constexpr SoundId kTrimCallout = 44;
constexpr SoundId kSpoilerAirNoise = 59;

// Registered in this order; the ids follow Mechanisation::Variable.
constexpr std::array<const char*, 11> kMechanisationVariableNames = {
    "TaviSpoilerLever",  "TaviSpoilerLeverPressed", "TaviLeftWiper",    "TaviRightWiper",
    "TaviLeftWiperKnob", "TaviRightWiperKnob",      "TaviLwkLeftClick", "TaviLwkRightClick",
    "TaviRwkLeftClick",  "TaviRwkRightClick",       "TaviStewardess",
};

constexpr float kSpoilersDeployed = 16383.0f;
constexpr float kChannelMinimumPsi = 1300.0f;
constexpr uint32_t kSpoilerDelayAfterTouchdownMs = 1000;
constexpr float kGroundSpoilerSpeed = 25.0f;
// A lever at or beyond these angles on a burning engine means the crew wants thrust, not drag.
constexpr float kGroundSpoilerThrustLever = 30.0f;
constexpr float kSpeedBrakeThrustLever = 50.0f;
constexpr float kSpeedBrakeMaxFlaps = 9.0f;
constexpr float kSteeringLimitSpeed = 40.0f;
constexpr uint32_t kTrimRunGapMs = 200;
constexpr uint32_t kTrimCalloutPeriodMs = 3000;

float degrees(double radians) {
    return static_cast<float>(radians * 180.0 / std::numbers::pi);
}

bool annunciatorPowered() {
    const Aircraft* aircraft = theAircraft;
    const Electric* electric = aircraft ? aircraft->electric() : nullptr;
    return electric && electric->annunciatorPower;
}

bool burns(const JetEngine* engine) {
    return engine && engine->combustion;
}

float pressureOf(const Hydraulic* hydraulic) {
    return hydraulic ? hydraulic->pressure : 0.0f;
}

} // namespace

Mechanisation::Mechanisation() {
    variableIds.fill(-1);
}

int32_t Mechanisation::truncated(double value) {
    if (std::isnan(value)) {
        return 0;
    }
    return static_cast<int32_t>(std::clamp(value, -2147483648.0, 2147483647.0));
}

void Mechanisation::sendKeyEvent(uint32_t eventId, int32_t value) {
    panelServices().sendKeyEvent(eventId, static_cast<uint32_t>(value));
}

void Mechanisation::playAirNoise(Aws* aws, SoundId id, double x, double y) {
    if (!aws) {
        return;
    }
    const auto volume = static_cast<int32_t>((0.4 + x + y) * 10000.0 - 10000.0);
    if (volume != aws->volume(id)) {
        aws->setVolume(id, volume);
    }
    if (x == 0.0 || y == 0.0) {
        if (aws->isPlaying(id)) {
            aws->stop(id);
        }
    } else if (!aws->isPlaying(id)) {
        aws->playLooped(id, true);
    }
}

double Mechanisation::airspeedFactor(float smoothedAirspeed) {
    return (std::clamp(smoothedAirspeed, 50.0f, 250.0f) - 50.0) / 200.0 * 0.3;
}

void Mechanisation::loadSettings(Aircraft& aircraft) {
    limitSteering = aircraft.readIniBool("Preferences", "limitSteering", true);
    steeringAngle =
        static_cast<float>(aircraft.readIniDouble("Preferences", "steeringAngle", 10.0));
    heatingScalar = static_cast<float>(aircraft.readIniDouble("Brakes", "heatingScalar", 1.0));
    scaleMax = static_cast<float>(aircraft.readIniDouble("Brakes", "scaleMax", 1000.0));
    scaleMaxGreen = static_cast<float>(aircraft.readIniDouble("Brakes", "scaleMaxGreen", 1000.0));
    overheat = static_cast<float>(aircraft.readIniDouble("Brakes", "overheat", 550.0));
}

// The GPS ground speed; without a working GPS the airspeed stands in for it, so that the ground
// spoilers, the brakes and the steering still know a landing roll, and 0 without either.
float Mechanisation::rollingSpeed(const Aircraft& aircraft) {
    if (const std::optional<float> groundSpeed = gpsGroundSpeed(aircraft)) {
        return *groundSpeed;
    }
    const Adc* adc = aircraft.adc();
    if (adc && (adc->isAirspeedValid(0) || adc->isAirspeedValid(1))) {
        return std::max(adc->indicatedAirspeed, 0.0f);
    }
    return 0.0f;
}

Mechanisation::Readings Mechanisation::read(Aircraft& aircraft) const {
    Readings readings;
    readings.now = aircraft.simTimeMs;
    readings.dt = aircraft.frameDeltaMs * 0.001;
    if (const Ahrs* ahrs = aircraft.ahrs()) {
        readings.onGround = ahrs->onGround;
    }
    if (const Fadec* fadec = aircraft.fadec()) {
        readings.thrustLever = {fadec->leverAngle[0], fadec->leverAngle[1]};
    }
    readings.engineBurns = {burns(aircraft.engine1()), burns(aircraft.engine2())};
    readings.hydraulicPressure = {pressureOf(aircraft.hydraulic1()),
                                  pressureOf(aircraft.hydraulic2())};
    if (const Adc* adc = aircraft.adc()) {
        readings.smoothedAirspeed = adc->smoothedAirspeed;
        readings.indicatedAirspeed = adc->indicatedAirspeed;
        readings.indicatedAltitude = adc->indicatedAltitude;
        readings.totalAirTemperature = adc->totalAirTemperature;
        readings.airspeedInvalid = !adc->isAirspeedValid(0) && !adc->isAirspeedValid(1);
        readings.flightPhase = adc->flightPhase;
        readings.flightPhaseChanged = adc->flightPhaseChanged;
    }
    readings.groundSpeed = rollingSpeed(aircraft);
    if (const RadAlt* radAlt = aircraft.radAlt()) {
        readings.radioAltitude = radAlt->radioAltitude;
    }
    if (const Gpws* gpws = aircraft.gpws()) {
        readings.gpwsAlert = gpws->mode1 || gpws->mode2 || gpws->mode3 || gpws->mode4;
    }
    if (const Electric* electric = aircraft.electric()) {
        for (int bus = 0; bus < kBusCount; ++bus) {
            readings.bus[static_cast<std::size_t>(bus)] = electric->isPowered(bus);
        }
        readings.networkPowered = electric->networkPowered;
    }
    if (const Autopilot* autopilot = aircraft.autopilot()) {
        readings.autopilotEngaged = autopilot->engaged;
    }
    return readings;
}

void Mechanisation::update(Aircraft& aircraft) {
    inUpdate = true;
    const Readings readings = read(aircraft);
    updateChannels(aircraft, readings);
    updateFlaps(aircraft, readings);
    updateGear(aircraft, readings);
    updateTrims(aircraft, readings);
    updateDoors(readings);
    updateSpoilers(aircraft, readings);
    updateBrakes(aircraft, readings);
    updateWipers(readings);
    updateEicasMessages(aircraft, readings);
    updateCheckA1Perf(readings);
    registerVariables();
    exchangeVariables(readings);
    if (!started && readings.now != 0) {
        started = true;
    }
    inUpdate = false;
}

// The channels do not move or lock the simulator's surfaces; they feed the cautions and the
// electrical loads.
void Mechanisation::updateChannels(Aircraft& aircraft, const Readings& readings) {
    const FsTokensReader& tokens = aircraft.tokens;
    const bool system1Low = readings.hydraulicPressure[0] < kChannelMinimumPsi;
    const bool system2Low = readings.hydraulicPressure[1] < kChannelMinimumPsi;
    recompute(aileronPosition, aileronPositionChanged, truncated(tokens.value(kAileronToken)));
    recompute(aileronSystem1Inop, aileronSystem1InopChanged, !aileronSystem1On || system1Low);
    recompute(aileronSystem2Inop, aileronSystem2InopChanged, !aileronSystem2On || system2Low);
    elevatorPosition = truncated(tokens.value(kElevatorToken));
    rudderPosition = truncated(tokens.value(kRudderToken));
    recompute(rudderSystem1Inop, rudderSystem1InopChanged, !rudderSystem1On || system1Low);
    recompute(rudderSystem2Inop, rudderSystem2InopChanged, !rudderSystem2On || system2Low);
}

// Without power on both DC buses the flaps cannot move: every change of the simulator's flap
// handle is answered by setting it back.
void Mechanisation::updateFlaps(Aircraft& aircraft, const Readings& readings) {
    flapHandleIndex = truncated(flapsHandleIndexVar.read());
    recompute(flapAngle, flapAngleChanged,
              static_cast<float>(aircraft.tokens.value(kFlapAngleToken)));
    recompute(flapBus1Unpowered, flapBus1UnpoweredChanged, !readings.bus[Electric::kDcBus1]);
    recompute(flapBus2Unpowered, flapBus2UnpoweredChanged, !readings.bus[Electric::kDcBus2]);
    flapHandleToken = truncated(aircraft.tokens.value(kFlapHandleToken));
    if (flapBus1Unpowered && flapBus2Unpowered && started) {
        if (flapHandleToken != heldFlapHandle) {
            sendKeyEvent(kFlapsSetEvent, heldFlapHandle);
        }
    } else {
        heldFlapHandle = flapHandleToken;
    }
}

void Mechanisation::updateTrims(Aircraft& aircraft, const Readings& readings) {
    const FsTokensReader& tokens = aircraft.tokens;
    const double elevatorTrim = tokens.value(kElevatorTrimToken);
    auto indication = static_cast<float>(elevatorTrim * 10.0 * 6.103515625e-05);
    pitchTrimIndication = indication < 0.0f ? indication / 2.5f : indication;
    recompute(elevatorTrimPosition, elevatorTrimChanged, truncated(elevatorTrim));
    recompute(aileronTrimAngle, aileronTrimChanged, degrees(tokens.value(kAileronTrimToken)));
    recompute(rudderTrimAngle, rudderTrimChanged, degrees(tokens.value(kRudderTrimToken)));
    recompute(pitchTrimBus1Unpowered, pitchTrimBus1UnpoweredChanged,
              !readings.bus[Electric::kDcBus1]);
    recompute(pitchTrimBus2Unpowered, pitchTrimBus2UnpoweredChanged,
              !readings.bus[Electric::kEssentialBus2]);

    // The crew hears "trim" once a run of trim events has gone on for 3 s, and every 3 s
    // while it goes on.
    const uint32_t now = readings.now;
    if (!readings.autopilotEngaged && now - trimRunStart >= kTrimCalloutPeriodMs &&
        now - lastTrimEventTime <= kTrimRunGapMs) {
        if (Aws* aws = aircraft.aws()) {
            aws->enqueue(kTrimCallout);
        }
        trimRunStart = now;
    }
}

void Mechanisation::updateSpoilers(Aircraft& aircraft, const Readings& readings) {
    const FsTokensReader& tokens = aircraft.tokens;
    const auto position = static_cast<float>(tokens.value(kSpoilerPositionToken));
    recompute(spoilerPosition, spoilerPositionChanged, position);
    spoilerHandle = static_cast<float>(tokens.value(kSpoilerHandleToken));
    spoilersArmed = static_cast<float>(tokens.value(kSpoilersArmedToken));
    if (!started) {
        // The lever starts where the simulator's spoilers stand.
        setSpoilerLever(std::min(2.0f * position / kSpoilersDeployed, 1.0f));
    }
    if (spoilersArmed != 0.0f) {
        sendKeyEvent(kSpoilersSetEvent);
        sendKeyEvent(kSpoilersArmOffEvent);
    }
    if (readings.onGround && !previousOnGround) {
        touchdownTime = readings.now;
    }
    previousOnGround = readings.onGround;
    const bool disagree = commandSpoilers(readings, position);
    recompute(speedBrakeDisagree, speedBrakeDisagreeChanged, disagree);
    recompute(spoilersUnpowered, spoilersUnpoweredChanged, !readings.bus[Electric::kDcBus2]);
    updateSpoilerNoise(aircraft, readings, position);
}

// Drives the simulator's spoilers; true when the lever is out while they are held stowed.
bool Mechanisation::commandSpoilers(const Readings& readings, float position) {
    if (spoilersUnpowered && position != 0.0f) {
        sendKeyEvent(kSpoilersSetEvent);
        return false;
    }
    return readings.onGround ? commandSpoilersOnGround(readings, position)
                             : commandSpoilersAirborne(readings, position);
}

// After touchdown the ground spoilers deploy fully unless the crew applies thrust; at taxi
// speed they retract.
bool Mechanisation::commandSpoilersOnGround(const Readings& readings, float position) const {
    if (readings.now - touchdownTime < kSpoilerDelayAfterTouchdownMs) {
        return false;
    }
    const bool speedForSpoilers = readings.groundSpeed >= kGroundSpoilerSpeed;
    auto thrustApplied = [&](std::size_t engine) {
        return readings.thrustLever[engine] >= kGroundSpoilerThrustLever &&
               readings.engineBurns[engine];
    };
    if (position != kSpoilersDeployed && speedForSpoilers && !thrustApplied(0) &&
        !thrustApplied(1)) {
        sendKeyEvent(kSpoilersOnEvent);
        return false;
    }
    if (!speedForSpoilers) {
        sendSpoilerRetract(position);
        return speedBrakeLever > 0.0f;
    }
    return false;
}

// In the air the lever commands at most half of the spoilers' travel, and nothing with flaps
// beyond 9 degrees or a thrust lever forward.
bool Mechanisation::commandSpoilersAirborne(const Readings& readings, float position) const {
    if (speedBrakeLever > 0.0f) {
        if (flapAngle > kSpeedBrakeMaxFlaps || readings.thrustLever[0] >= kSpeedBrakeThrustLever ||
            readings.thrustLever[1] >= kSpeedBrakeThrustLever) {
            sendSpoilerRetract(position);
            return true;
        }
        const int32_t command = truncated(speedBrakeLever * kSpoilersDeployed * 0.5);
        if (command != truncated(position)) {
            sendKeyEvent(kSpoilersSetEvent, command);
        }
        return false;
    }
    if (position != 0.0f) {
        sendKeyEvent(kSpoilersOffEvent);
    } else if (truncated(2.0 * spoilerHandle) != 0) {
        sendKeyEvent(kSpoilersSetEvent);
    }
    return false;
}

void Mechanisation::sendSpoilerRetract(float position) const {
    if (position != 0.0f) {
        sendKeyEvent(kSpoilersOffEvent);
    }
}

void Mechanisation::updateSpoilerNoise(Aircraft& aircraft, const Readings& readings,
                                       float position) const {
    const double x = std::min(position / kSpoilersDeployed, 0.5f) * 0.6;
    playAirNoise(aircraft.aws(), kSpoilerAirNoise, x, airspeedFactor(readings.smoothedAirspeed));
}

void Mechanisation::registerVariables() {
    if (namedVariablesRegistered) {
        return;
    }
    for (std::size_t i = 0; i < kVariableCount; ++i) {
        variableIds[i] = panelServices().registerNamedVariable(kMechanisationVariableNames[i]);
    }
    namedVariablesRegistered = true;
}

bool Mechanisation::takeRequest(Variable variable) const {
    return tavi::takeRequest(variableIds[variable]);
}

void Mechanisation::publish(Variable variable, double value) const {
    panelServices().writeNamedVariable(variableIds[variable], value);
}

void Mechanisation::exchangeVariables(const Readings& readings) {
    if (takeRequest(kSpoilerLeverPressed)) {
        const double lever = panelServices().readNamedVariable(variableIds[kSpoilerLever]);
        setSpoilerLever(static_cast<float>(lever * 0.01));
    }
    exchangeWiperVariables();
    updateAttendant(readings);
    publish(kStewardess, std::trunc(attendantFrame));
}

void Mechanisation::setSpoilerLever(float value) {
    // Written so that a value that is no number stows the lever.
    speedBrakeLever = value > 0.0f ? std::min(value, 1.0f) : 0.0f;
    if (const int32_t id = variableIds[kSpoilerLever]; id >= 0) {
        panelServices().writeNamedVariable(id, speedBrakeLever * 100.0);
    }
}

void Mechanisation::toggleSpoilerLever() {
    setSpoilerLever(speedBrakeLever <= 0.0f ? 1.0f : 0.0f);
}

void Mechanisation::handleSimEvent(uint32_t eventId, uint32_t data) {
    const Aircraft* aircraft = theAircraft;
    if (inUpdate || !aircraft || !aircraft->initialised) {
        return;
    }
    const uint32_t now = aircraft->simTimeMs;
    switch (eventId) {
    case kElevatorTrimDownEvent:
    case kElevatorTrimUpEvent:
        if (now - lastTrimEventTime >= kTrimRunGapMs) {
            trimRunStart = now;
        }
        lastTrimEventTime = now;
        break;
    case kSpoilersToggleEvent:
        toggleSpoilerLever();
        break;
    case kSpoilersOnEvent:
        setSpoilerLever(1.0f);
        break;
    case kSpoilersOffEvent:
        setSpoilerLever(0.0f);
        break;
    case kSpoilerAxisEvent: {
        // -16383..16383 onto 0..16383; 64 bits so that no axis value overflows.
        const int64_t axis = static_cast<int32_t>(data);
        setSpoilerLever(static_cast<float>(static_cast<double>((axis + 16383) / 2) / 16383.0));
        break;
    }
    default:
        break;
    }
}

bool Mechanisation::handleKey(Aircraft&, uint32_t virtualKey, bool shiftDown, bool ctrlDown) {
    if (virtualKey == kSlashKey) {
        return handleSlashKey(shiftDown, ctrlDown);
    }
    if (virtualKey == kPeriodKey && ctrlDown && !shiftDown) {
        toggleParkingBrake();
        return true;
    }
    return false;
}

// "/" alone toggles the speed brake lever; Shift+"/" is taken without effect, Ctrl+"/" is left
// to the simulator.
bool Mechanisation::handleSlashKey(bool shiftDown, bool ctrlDown) {
    if (ctrlDown) {
        return false;
    }
    if (!shiftDown) {
        toggleSpoilerLever();
    }
    return true;
}

void Mechanisation::onRudderAxis(Aircraft& aircraft, int32_t axis) {
    if (!limitSteering || rollingSpeed(aircraft) <= kSteeringLimitSpeed || !previousOnGround) {
        return;
    }
    const int32_t scaled = truncated(static_cast<double>(steeringAngle) * axis /
                                     static_cast<double>(steeringReference));
    simConnectServices().transmitClientEvent(
        aircraft.simConnect, platform::kUserObject, kRudderAxisClientEvent,
        static_cast<uint32_t>(scaled), kRudderAxisPriority, platform::kEventFlagGroupIsPriority);
}

void Mechanisation::flapsIncrement() {
    sendKeyEvent(kFlapsIncrementEvent);
}

void Mechanisation::flapsDecrement() {
    sendKeyEvent(kFlapsDecrementEvent);
}

bool Mechanisation::isGearDownAndLocked() const {
    return std::all_of(gearPositions.begin(), gearPositions.end(),
                       [](int32_t position) { return position == kGearDownAndLocked; });
}

bool Mechanisation::aileronSystem1OffLight() const {
    return !aileronSystem1On && annunciatorPowered();
}

bool Mechanisation::aileronSystem2OffLight() const {
    return !aileronSystem2On && annunciatorPowered();
}

bool Mechanisation::rudderSystem1OffLight() const {
    return !rudderSystem1On && annunciatorPowered();
}

bool Mechanisation::rudderSystem2OffLight() const {
    return !rudderSystem2On && annunciatorPowered();
}

void Mechanisation::addElectricLoad(Aircraft&, BusLoads& loads) {
    for (int bus : {Electric::kDcBus1, Electric::kDcBus2, Electric::kEssentialBus1,
                    Electric::kEssentialBus2}) {
        loads[bus] += 10.0f;
    }
    if (elevatorTrimChanged) {
        loads[Electric::kDcBus1] += 5.0f;
        loads[Electric::kEssentialBus2] += 5.0f;
    }
    if (flapAngleChanged) {
        loads[Electric::kDcBus1] += 5.0f;
        loads[Electric::kDcBus2] += 5.0f;
    }
    if (!spoilersUnpowered) {
        loads[Electric::kDcBus2] += 5.0f;
    }
    if (spoilerPositionChanged) {
        loads[Electric::kDcBus1] += 5.0f;
        if (spoilerPosition > 8191.0f) {
            loads[Electric::kDcBus1] += 5.0f;
            loads[Electric::kDcBus2] += 5.0f;
        }
    }
    if (aileronPositionChanged) {
        if (!aileronSystem1Inop) {
            loads[Electric::kDcBus1] += 5.0f;
        }
        if (!aileronSystem2Inop) {
            loads[Electric::kDcBus2] += 5.0f;
        }
    }
    if (aileronTrimChanged) {
        loads[Electric::kDcBus2] += 5.0f;
    }
    if (rudderTrimChanged) {
        loads[Electric::kDcBus1] += 5.0f;
    }
    if (brakeLeft != 0.0f || brakeRight != 0.0f) {
        loads[Electric::kEssentialBus1] += 5.0f;
        loads[Electric::kEssentialBus2] += 5.0f;
    }
    if (exitOpenChanged[0]) {
        loads[Electric::kDcBus1] += 5.0f;
    }
    if (exitOpenChanged[1]) {
        loads[Electric::kBatteryBus2] += 5.0f;
    }
    if (leftWiperKnob != kWiperOff) {
        loads[Electric::kEssentialBus1] += 3.0f;
    }
    if (rightWiperKnob != kWiperOff) {
        loads[Electric::kDcBus2] += 3.0f;
    }
}

} // namespace tavi
