// The mechanical flight systems on the ground side: the gear warning and gear air noise, the
// brakes with their temperatures and the parking brake on its emergency accumulator, the doors,
// the windshield wipers, the cabin attendant and all of the system's EICAS messages.
#include "airframe/Electric.h"
#include "airframe/Mechanisation.h"
#include "airframe/SystemStep.h"
#include "avionics/Adc.h"
#include "avionics/Aws.h"
#include "avionics/EicasDau.h"
#include "core/Aircraft.h"
#include "platform/Random.h"

#include <algorithm>
#include <cmath>
#include <string>

namespace tavi {

namespace {

enum GearToken : int {
    kLeftBrakeToken = 320,
    kRightBrakeToken = 321,
    kParkingBrakeToken = 323,
    kNoseGearToken = 332,
    kLeftGearToken = 333,
    kRightGearToken = 334,
};

constexpr uint32_t kParkingBrakeEvent = 0x100D8;

constexpr SoundId kGearCallout = 43;
constexpr SoundId kGearAirNoise = 58;

constexpr double kFullBrake = 32767.0;
constexpr float kGearTravel = 16383.0f;
constexpr float kLandingFlaps = 45.0f;

constexpr float kBrakeHeatingSpeed = 15.0f;
constexpr float kParkingBrakeMinimumPsi = 1200.0f;
constexpr float kParkingBrakeUsePsi = 300.0f;
constexpr float kLowAccumulatorPsi = 1500.0f;

constexpr uint32_t kIntermittentPeriodMs = 9000;
constexpr uint32_t kIntermittentSweepMs = 1000;
constexpr double kSlowWipesPerMinute = 80.0;
constexpr double kFastWipesPerMinute = 140.0;

constexpr uint32_t kAttendantCheckMs = 1000;
constexpr double kAttendantFramesPerSecond = 30.0;

enum EicasId : int32_t {
    kCheckA1PerfId = 26,
    kPitchTrimId = 27,
    kAileronSystemId = 28,
    kRudderSystemId = 29,
    kFlapFailId = 32,
    kSpoilerFailId = 33,
    kSpeedBrakeDisagreeId = 34,
    kFlapLowSpeedId = 35,
    kEmergencyBrakeId = 36,
    kBrakeOverheatId = 37,
    kMainDoorId = 39,
    kBaggageDoorId = 40,
};

// Degrees of heating per second at full pedal, by brake temperature.
float heatingFactor(float temperature) {
    if (temperature < 100.0f) {
        return 100.0f;
    }
    if (temperature < 200.0f) {
        return 90.0f;
    }
    if (temperature < 300.0f) {
        return 80.0f;
    }
    if (temperature < 400.0f) {
        return 70.0f;
    }
    return temperature < 600.0f ? 60.0f : 50.0f;
}

// A brake no longer worked soaks its heat into the wheel, which sheds it over tens of minutes:
// it loses this share of the working rate, a time constant of 13 min above 400 degrees to
// 33 min below 100. The working rate alone would cool a brake from 670 degrees to 86 in a
// minute.
constexpr float kRestingCoolingShare = 1.0f / 40.0f;

// The share of the difference to the outside air lost per second, by brake temperature, while
// the brakes work.
float coolingFactor(float temperature) {
    if (temperature < 100.0f) {
        return 0.02f;
    }
    if (temperature < 250.0f) {
        return 0.03f;
    }
    return temperature < 400.0f ? 0.04f : 0.05f;
}

// The message naming the affected systems, or nothing when none is affected.
std::string listText(const char* prefix, bool first, bool second, const char* suffix) {
    const std::string list = eicasUnitList({first, second});
    return list.empty() ? std::string() : prefix + list + suffix;
}

// A pseudo-random draw that comes out at or below the bound.
bool draw(int32_t bound) {
    return platform::randomDraw() <= bound;
}

// One wiper: without power or switched off it finishes its stroke and parks; intermittent it
// sweeps for one second every nine, counted from the moment the knob left Off.
float nextWiperPosition(float position, int32_t knob, uint32_t start, bool powered, double d,
                        uint32_t now) {
    if (!powered || knob == Mechanisation::kWiperOff) {
        if (position == 0.0f) {
            return 0.0f;
        }
        const double next = position + d * kSlowWipesPerMinute / 60.0;
        return next > 1.0 ? 0.0f : static_cast<float>(next);
    }
    if (knob == Mechanisation::kWiperIntermittent) {
        const uint32_t t = (now - start) % kIntermittentPeriodMs;
        return t <= kIntermittentSweepMs ? static_cast<float>(t) / kIntermittentSweepMs : 0.0f;
    }
    const double perMinute =
        knob == Mechanisation::kWiperFast ? kFastWipesPerMinute : kSlowWipesPerMinute;
    return static_cast<float>(std::fmod(position + d * perMinute / 60.0, 1.0));
}

} // namespace

bool Mechanisation::approachThrust(float radioAltitude, float flapAngle,
                                   const std::array<float, 2>& thrustLever,
                                   const std::array<bool, 2>& engineBurns) {
    auto leverBack = [&](std::size_t engine, std::size_t other) {
        return thrustLever[engine] < 59.0f && (thrustLever[other] < 45.0f || !engineBurns[other]);
    };
    return radioAltitude < 1200.0f && flapAngle < kLandingFlaps &&
           (leverBack(0, 1) || leverBack(1, 0));
}

// The "landing gear" call-out repeats every frame while the aircraft is set up to land with
// the gear not down; the call-out queue keeps one of each.
void Mechanisation::updateGear(Aircraft& aircraft, const Readings& readings) {
    const FsTokensReader& tokens = aircraft.tokens;
    gearPositions = {truncated(tokens.value(kNoseGearToken)),
                     truncated(tokens.value(kLeftGearToken)),
                     truncated(tokens.value(kRightGearToken))};
    Aws* aws = aircraft.aws();
    const bool thrustForLanding =
        readings.radioAltitude && approachThrust(*readings.radioAltitude, flapAngle,
                                                 readings.thrustLever, readings.engineBurns);
    if (aws && !readings.onGround && !readings.gpwsAlert &&
        (thrustForLanding || flapAngle == kLandingFlaps) && !isGearDownAndLocked()) {
        aws->enqueue(sounds::kWarningChime);
        aws->enqueue(kGearCallout);
    }
    const double mainGear = (gearPositions[1] + gearPositions[2]) * 0.5 / kGearTravel * 0.3;
    playAirNoise(aws, kGearAirNoise, mainGear, airspeedFactor(readings.smoothedAirspeed));
}

void Mechanisation::updateDoors(const Readings& readings) {
    recompute(exitOpen[0], exitOpenChanged[0], static_cast<float>(mainExitVar.read()));
    recompute(exitOpen[1], exitOpenChanged[1], static_cast<float>(baggageExitVar.read()));
    const bool engineRunning = readings.engineBurns[0] || readings.engineBurns[1];
    recompute(mainDoorOpen, mainDoorOpenChanged,
              exitOpen[0] > 0.0f && (!readings.onGround || engineRunning));
    recompute(baggageDoorOpen, baggageDoorOpenChanged, exitOpen[1] > 0.0f);
}

void Mechanisation::updateBrakes(Aircraft& aircraft, const Readings& readings) {
    const FsTokensReader& tokens = aircraft.tokens;
    brakeLeft = static_cast<float>(tokens.value(kLeftBrakeToken) / kFullBrake);
    brakeRight = static_cast<float>(tokens.value(kRightBrakeToken) / kFullBrake);
    parkingBrake = static_cast<float>(tokens.value(kParkingBrakeToken) / kFullBrake);

    const float pressure = std::max(emergencyBrakePressure, readings.hydraulicPressure[1]);
    if (!emergencyBrakePressureChanged) {
        emergencyBrakePressureChanged = pressure != emergencyBrakePressure;
    }
    emergencyBrakePressure = pressure;

    if (!started) {
        brakeTemperatureLeft = readings.totalAirTemperature;
        brakeTemperatureRight = readings.totalAirTemperature;
    }
    const bool heating = readings.onGround && readings.groundSpeed > kBrakeHeatingSpeed;
    brakeTemperatureLeft = nextBrakeTemperature(brakeTemperatureLeft, brakeLeft, heating, readings);
    brakeTemperatureRight =
        nextBrakeTemperature(brakeTemperatureRight, brakeRight, heating, readings);
    brakeSensor1Unpowered = !readings.bus[Electric::kDcBus1];
    brakeSensor2Unpowered = !readings.bus[Electric::kDcBus2];
    recompute(brakeOverheat, brakeOverheatChanged,
              brakeTemperatureLeft > overheat || brakeTemperatureRight > overheat);
}

// Brakes heat with the pedal while rolling and always cool toward the outside air; they never
// read below it nor above the top of their scale.
float Mechanisation::nextBrakeTemperature(float temperature, float pedal, bool heating,
                                          const Readings& readings) const {
    const auto dt = static_cast<float>(readings.dt);
    const float outside = readings.totalAirTemperature;
    float cooling = coolingFactor(temperature);
    if (heating) {
        temperature += pedal * heatingScalar * dt * heatingFactor(temperature);
    } else {
        cooling *= kRestingCoolingShare;
    }
    temperature -= (temperature - outside) * cooling * dt * heatingScalar;
    return std::min(scaleMax, std::max(temperature, outside));
}

// A set parking brake is released; otherwise it is set while the accumulator holds enough
// pressure, and each application uses some of it. The brake takes its new position at once: the
// simulator's is read back only in the next frame, and a second click before then would
// otherwise set it again and use the pressure twice.
void Mechanisation::toggleParkingBrake() {
    if (parkingBrake != 0.0f) {
        sendKeyEvent(kParkingBrakeEvent);
        parkingBrake = 0.0f;
        return;
    }
    if (emergencyBrakePressure >= kParkingBrakeMinimumPsi) {
        sendKeyEvent(kParkingBrakeEvent);
        parkingBrake = 1.0f;
        emergencyBrakePressureChanged = true;
        emergencyBrakePressure -= kParkingBrakeUsePsi;
    }
}

void Mechanisation::updateWipers(const Readings& readings) {
    const double d = readings.dt * 0.3;
    leftWiperPosition = nextWiperPosition(leftWiperPosition, leftWiperKnob, leftWiperStart,
                                          readings.bus[Electric::kEssentialBus1], d, readings.now);
    rightWiperPosition = nextWiperPosition(rightWiperPosition, rightWiperKnob, rightWiperStart,
                                           readings.bus[Electric::kDcBus2], d, readings.now);
}

void Mechanisation::setLeftWiperKnob(int32_t position) {
    if (leftWiperKnob == kWiperOff && position != kWiperOff && theAircraft) {
        leftWiperStart = theAircraft->simTimeMs;
    }
    leftWiperKnob = position;
}

void Mechanisation::setRightWiperKnob(int32_t position) {
    if (rightWiperKnob == kWiperOff && position != kWiperOff && theAircraft) {
        rightWiperStart = theAircraft->simTimeMs;
    }
    rightWiperKnob = position;
}

void Mechanisation::exchangeWiperVariables() {
    auto stepped = [](int32_t knob, int32_t step) {
        return std::clamp(knob + step, static_cast<int32_t>(kWiperIntermittent),
                          static_cast<int32_t>(kWiperFast));
    };
    if (takeRequest(kLeftWiperKnobLeftClick)) {
        setLeftWiperKnob(stepped(leftWiperKnob, -1));
    }
    if (takeRequest(kLeftWiperKnobRightClick)) {
        setLeftWiperKnob(stepped(leftWiperKnob, 1));
    }
    if (takeRequest(kRightWiperKnobLeftClick)) {
        setRightWiperKnob(stepped(rightWiperKnob, -1));
    }
    if (takeRequest(kRightWiperKnobRightClick)) {
        setRightWiperKnob(stepped(rightWiperKnob, 1));
    }
    publish(kLeftWiper, std::floor(leftWiperPosition * 200.0 + 0.5));
    publish(kRightWiper, std::floor(rightWiperPosition * 200.0 + 0.5));
    publish(kLeftWiperKnob, leftWiperKnob);
    publish(kRightWiperKnob, rightWiperKnob);
}

// Each message is re-evaluated when one of its inputs changed, when the flight phase changed,
// before the first frame with time and when the EICAS unit comes back; the cautions and most
// warnings are inhibited during take-off and landing.
void Mechanisation::updateEicasMessages(Aircraft& aircraft, const Readings& readings) {
    EicasDau* eicas = aircraft.eicasDau();
    const bool everything =
        eicasPower.poweredAgain(eicas) || !started || readings.flightPhaseChanged;
    const bool shown =
        readings.flightPhase != kTakeoffPhase && readings.flightPhase != kLandingPhase;
    auto evaluate = [&](bool inputChanged, int32_t level, int32_t id, const std::string& text) {
        if (everything || inputChanged) {
            showEicasMessage(eicas, readings.now, level, id, text);
        }
    };

    evaluate(pitchTrimBus1UnpoweredChanged || pitchTrimBus2UnpoweredChanged, kEicasWarning,
             kPitchTrimId,
             listText("PIT TRIM ", shown && pitchTrimBus1Unpowered, shown && pitchTrimBus2Unpowered,
                      " INOP"));
    evaluate(
        aileronSystem1InopChanged || aileronSystem2InopChanged, kEicasCaution, kAileronSystemId,
        listText("AIL SYS ", shown && aileronSystem1Inop, shown && aileronSystem2Inop, " INOP"));
    // Rudder system 1 alone matters only at low speed or without airspeed.
    const bool rudder1 =
        shown && rudderSystem1Inop &&
        (readings.indicatedAirspeed < 135.0f || readings.airspeedInvalid || rudderSystem2Inop);
    std::string rudderText = listText("RUDDER SYS ", rudder1, shown && rudderSystem2Inop, " INOP");
    if (rudderText == "RUDDER SYS 1-2 INOP") {
        rudderText = "RUDDER SYS 1-2INOP";
    }
    evaluate(rudderSystem1InopChanged || rudderSystem2InopChanged, kEicasCaution, kRudderSystemId,
             rudderText);

    const bool flapBusChanged = flapBus1UnpoweredChanged || flapBus2UnpoweredChanged;
    evaluate(flapBusChanged, kEicasCaution, kFlapFailId,
             textWhen(shown && flapBus1Unpowered && flapBus2Unpowered, "FLAP FAIL"));
    evaluate(flapBusChanged, kEicasAdvisory, kFlapLowSpeedId,
             textWhen(shown && flapBus1Unpowered != flapBus2Unpowered, "FLAP LOW SPEED"));
    evaluate(spoilersUnpoweredChanged, kEicasCaution, kSpoilerFailId,
             textWhen(shown && spoilersUnpowered, "SPOILER FAIL"));
    evaluate(speedBrakeDisagreeChanged, kEicasCaution, kSpeedBrakeDisagreeId,
             textWhen(shown && speedBrakeDisagree, "SPBK LVR DISAGREE"));
    evaluate(emergencyBrakePressureChanged, kEicasCaution, kEmergencyBrakeId,
             textWhen(emergencyBrakePressure < kLowAccumulatorPsi &&
                          readings.flightPhase != kTakeoffPhase,
                      "EMRG BRK LO PRESS"));
    emergencyBrakePressureChanged = false;
    evaluate(brakeOverheatChanged, kEicasCaution, kBrakeOverheatId,
             textWhen(brakeOverheat, "BRAKE OVERHEAT"));
    evaluate(checkA1PerfChanged, kEicasAdvisory, kCheckA1PerfId,
             textWhen(checkA1Perf, "CHECK A1 PERF"));
    evaluate(mainDoorOpenChanged, kEicasWarning, kMainDoorId,
             textWhen(shown && mainDoorOpen, "MAIN DOOR OPN"));
    evaluate(baggageDoorOpenChanged, kEicasCaution, kBaggageDoorId,
             textWhen(shown && baggageDoorOpen, "BAGGAGE DOOR OPN"));
}

// Parked with the flaps up raises the reminder; it stands while parked or with the flaps up,
// until the aircraft leaves the ground.
void Mechanisation::updateCheckA1Perf(const Readings& readings) {
    const bool parked = parkingBrake != 0.0f;
    const bool flapsUp = flapAngle == 0.0f;
    const bool reminder = checkA1Perf ? readings.onGround && (parked || flapsUp)
                                      : readings.onGround && parked && flapsUp;
    recompute(checkA1Perf, checkA1PerfChanged, reminder);
}

void Mechanisation::setAttendant(int32_t state, float frame, uint32_t now) {
    attendantState = state;
    attendantFrame = frame;
    attendantLastCheck = now;
}

// The animation frames run at 30 a second: 0..200 at the gate, 201..499 the short round and
// 501..640 the long one, played twice.
void Mechanisation::updateAttendant(const Readings& readings) {
    const uint32_t now = readings.now;
    if (attendantState == kAttendantIdle) {
        if (now - attendantLastCheck >= kAttendantCheckMs) {
            chooseAttendantRound(readings);
            attendantLastCheck = now;
        }
        return;
    }
    attendantFrame += static_cast<float>(readings.dt * kAttendantFramesPerSecond);
    switch (attendantState) {
    case kAttendantAtGate:
        if (!readings.onGround || parkingBrake == 0.0f || exitOpen[0] != 100.0f ||
            readings.groundSpeed >= 2.0f || attendantFrame > 200.0f) {
            setAttendant(kAttendantIdle, 0.0f, now);
        }
        break;
    case kAttendantShortRound:
        if (attendantFrame > 499.0f) {
            setAttendant(kAttendantIdle, 201.0f, now);
        }
        break;
    case kAttendantLongRound:
        if (attendantFrame > 640.0f) {
            setAttendant(kAttendantLongRoundAgain, 501.0f, now);
        }
        break;
    default:
        if (attendantFrame > 640.0f) {
            setAttendant(kAttendantIdle, 501.0f, now);
        }
        break;
    }
}

// The first situation that matches decides, whether or not its draw starts a round.
void Mechanisation::chooseAttendantRound(const Readings& readings) {
    const uint32_t now = readings.now;
    const float groundSpeed = readings.groundSpeed;
    const bool doorClosed = exitOpen[0] == 0.0f;
    if (readings.onGround && doorClosed && groundSpeed < 20.0f) {
        if (draw(1092)) {
            setAttendant(kAttendantLongRound, 501.0f, now);
        }
        return;
    }
    if (readings.onGround && doorClosed && groundSpeed > 20.0f) {
        if (draw(1638)) {
            setAttendant(kAttendantShortRound, 201.0f, now);
        }
        return;
    }
    if (readings.onGround && parkingBrake != 0.0f && exitOpen[0] == 100.0f && groundSpeed < 2.0f &&
        readings.networkPowered) {
        if (draw(1638)) {
            setAttendant(kAttendantAtGate, 0.0f, now);
        }
        return;
    }
    const float altitude = readings.indicatedAltitude;
    if (readings.radioAltitude && *readings.radioAltitude > 2500.0f && altitude < 10000.0f) {
        if (draw(1092)) {
            setAttendant(kAttendantShortRound, 201.0f, now);
        }
    } else if (altitude > 10500.0f && draw(273)) {
        setAttendant(kAttendantLongRound, 501.0f, now);
    }
}

} // namespace tavi
