#include "airframe/Pneumatic.h"

#include "airframe/Electric.h"
#include "airframe/JetEngine.h"
#include "airframe/Mechanisation.h"
#include "avionics/Adc.h"
#include "avionics/Ahrs.h"
#include "avionics/Aws.h"
#include "avionics/Gps.h"
#include "core/Aircraft.h"
#include "core/Imports.h"
#include "core/RequestVariable.h"
#include "platform/profile/Profile.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <string>

namespace tavi {

namespace {

constexpr const char* kPneumaticVariableNames[] = {
    "TaviIceOvrd",    "TaviIceOvrdDec", "TaviIceOvrdInc", "TaviIceTest",   "TaviIceTestDec",
    "TaviIceTestInc", "TaviXbleed",     "TaviXbleedDec",  "TaviXbleedInc",
};
constexpr int32_t kKnobSteps[] = {-1, 1};

constexpr int kPitotHeatToken = 13;
constexpr int kStructuralDeiceToken = 905;

enum MessageId : int32_t {
    kBleedLowTempMessage = 41,
    kCrossBleedFailMessage = 42,
    kCrossBleedSwitchOffMessage = 43,
    kBleedValveClosedMessage = 44,
    kCrossBleedOpenMessage = 45,
    kPackValveClosedMessage = 46,
};

// Bleed air from the APU, and from an engine: 220 degrees at idle, 40 more at a fifth of the
// thrust lever and 80 more at full lever.
constexpr float kApuBleedTemperature = 200.0f;
constexpr float kIdleBleedTemperature = 220.0f;
constexpr float kFifthLever = 0.2f;
constexpr float kFifthLeverRise = 40.0f;
constexpr float kFullLeverRise = 80.0f;
// Before the first frame an engine's bleed air starts here and warms to its own value.
constexpr float kSettledEngineBleedTemperature = 200.0f;
// Degrees per second.
constexpr float kBleedWarmingRate = 15.0f;
constexpr float kBleedCoolingRate = 10.0f;

// An engine's bleed pressure rises over this N1 range: by 12 psi into its own duct, by 10 psi
// when it feeds both ducts.
constexpr float kLowestDuctN1 = 20.0f;
constexpr float kHighestDuctN1 = 75.0f;
constexpr float kDuctBasePressure = 36.0f;
constexpr float kOwnDuctRise = 12.0f;
constexpr float kBothDuctsRise = 10.0f;
constexpr float kApuOwnDuctPressure = 40.0f;
constexpr float kApuBothDuctsPressure = 38.0f;
// What a starter draws from its own duct and, through the APU, from the other one: slow is on
// the ground or at most 100 kt.
constexpr float kPneumaticSlowAirspeed = 100.0f;
constexpr float kSlowStarterDraw = 15.0f;
constexpr float kSlowOtherDuctDraw = 8.0f;
constexpr float kFastStarterDraw = 9.0f;
constexpr float kFastOtherDuctDraw = 5.0f;
// Psi per second, and how close a duct settles on its target.
constexpr float kDuctRate = 10.0f;
constexpr float kDuctSettleBand = 0.2f;

// The cabin approaches its target with a time constant of 20 s.
constexpr float kCabinResponse = 0.05f;
constexpr float kLowestUnconditionedCabin = -10.0f;
constexpr float kHighestUnconditionedCabin = 30.0f;
// With ice detected pack 1 opens whatever its button says, up to this altitude in feet.
constexpr float kIcePackCeiling = 26400.0f;

constexpr uint32_t kPackFadeMs = 1000;
constexpr int32_t kSilentVolume = -10000;
constexpr int32_t kFadeRange = 10000;

constexpr float kLoadAmps = 5.0f;
constexpr float kDcBus1BaseAmps = 15.0f;
constexpr float kDcBus2BaseAmps = 20.0f;

// Moves the value toward the target by at most the step, never passing it.
float approach(float value, float target, float step) {
    return value < target ? std::min(value + step, target) : std::max(value - step, target);
}

float engineBleedTemperature(float throttleLever) {
    const float lever = std::fabs(throttleLever);
    const float rise =
        lever <= kFifthLever
            ? lever * kFifthLeverRise / kFifthLever
            : (lever - kFifthLever) * (kFullLeverRise - kFifthLeverRise) / (1.0f - kFifthLever) +
                  kFifthLeverRise;
    return kIdleBleedTemperature + rise;
}

float moveBleedTemperature(float temperature, float target, float seconds) {
    const float rate = target > temperature ? kBleedWarmingRate : kBleedCoolingRate;
    return approach(temperature, target, rate * seconds);
}

// How far into the range over which the bleed pressure rises the engine runs, 0..1.
float ductN1Share(float n1Percent) {
    return (std::clamp(n1Percent, kLowestDuctN1, kHighestDuctN1) - kLowestDuctN1) /
           (kHighestDuctN1 - kLowestDuctN1);
}

float ownDuctPressure(float n1Percent) {
    return kDuctBasePressure + kOwnDuctRise * ductN1Share(n1Percent);
}

float bothDuctsPressure(float n1Percent) {
    return kDuctBasePressure + kBothDuctsRise * ductN1Share(n1Percent);
}

// Upward the duct stops at its target; downward it may pass it, and the next upward step or
// the settling band brings it back. A duct holds no vacuum.
float moveDuctPressure(float pressure, float target, float step) {
    if (pressure < target) {
        pressure = std::min(pressure + step, target);
    } else if (pressure > target) {
        pressure -= step;
    }
    if (std::fabs(pressure - target) < kDuctSettleBand) {
        pressure = target;
    }
    return std::max(pressure, 0.0f);
}

// A pack's start and stop times: it runs when its valve is open and its side supplied.
void notePackRun(bool runs, bool ranBefore, uint32_t now, uint32_t& onTime, uint32_t& offTime) {
    if (runs && !ranBefore) {
        onTime = now;
    } else if (!runs && ranBefore) {
        offTime = now;
    }
}

// A pack's sound fades in over a second once it runs and out over a second once it stops;
// `since` is the time since it last started or stopped.
void fadePackSound(Aws& aws, SoundId id, bool running, uint32_t since, bool soundOn) {
    int32_t volume = kSilentVolume;
    if (soundOn && running) {
        volume = since < kPackFadeMs
                     ? static_cast<int32_t>(since * kFadeRange / kPackFadeMs) + kSilentVolume
                     : aws.masterVolume();
    } else if (soundOn) {
        volume = since == 0 ? aws.masterVolume()
                            : static_cast<int32_t>((kPackFadeMs - std::min(since, kPackFadeMs)) *
                                                   kFadeRange / kPackFadeMs) +
                                  kSilentVolume;
    }
    if (volume != aws.volume(id)) {
        aws.setVolume(id, volume);
    }
    if (running && !aws.isPlaying(id)) {
        aws.playLooped(id, true);
    } else if (!running && since > kPackFadeMs && aws.isPlaying(id)) {
        aws.stop(id);
    }
}

// Knobs of three positions, 0..2.
int32_t steppedKnob(int32_t knob, int32_t step) {
    return std::clamp(knob + step, 0, 2);
}

} // namespace

// Stores the new value and notes whether it differs from the old.
void Pneumatic::latch(bool& value, bool& changed, bool now) {
    changed = value != now;
    value = now;
}

std::string Pneumatic::listText(const char* prefix, std::initializer_list<bool> affected,
                                const char* suffix) {
    const std::string list = eicasUnitList(affected);
    return list.empty() ? std::string() : prefix + list + suffix;
}

std::string Pneumatic::flagText(bool shown, const char* text) {
    return shown ? std::string(text) : std::string();
}

Pneumatic::Pneumatic() {
    variableIds.fill(-1);
}

void Pneumatic::loadSettings(Aircraft& aircraft) {
    startupMode =
        platform::profile::parseInt(aircraft.readIniString("Startup", "startupMode", "0"));
}

void Pneumatic::setCabinTemperature(float value) {
    if (std::isfinite(value)) {
        cabinTemperatureSelected =
            std::clamp(value, kLowestSelectedTemperature, kHighestSelectedTemperature);
    }
}

void Pneumatic::setCockpitTemperature(float value) {
    if (std::isfinite(value)) {
        cockpitTemperatureSelected =
            std::clamp(value, kLowestSelectedTemperature, kHighestSelectedTemperature);
    }
}

bool Pneumatic::anyAntiIceOn() const {
    return (stabAntiIceSwitch && stabAntiIceOn) || (wingAntiIceSwitch && wingAntiIceOn) ||
           engine1AntiIceValveOpen() || engine2AntiIceValveOpen();
}

bool Pneumatic::engine1AntiIceValveOpen() const {
    return engine1AntiIceSwitch && engine1AntiIceOn;
}

bool Pneumatic::engine2AntiIceValveOpen() const {
    return engine2AntiIceSwitch && engine2AntiIceOn;
}

void Pneumatic::update(Aircraft& aircraft) {
    const Inputs in = readInputs(aircraft);
    if (!started) {
        applyStartupPositions();
    }
    updateIceDetection(in);
    updateBleedAir(in);
    updateAirConditioning(aircraft, in);
    updateProbeHeat(in);
    updateAntiIce(in);
    updateEicasMessages(aircraft, in);
    serveNamedVariables(aircraft);
    if (!started && in.now != 0) {
        started = true;
    }
}

Pneumatic::EngineInputs Pneumatic::readEngine(const JetEngine* engine) {
    EngineInputs inputs;
    if (engine) {
        inputs.combustion = engine->combustion;
        inputs.starterEngaged = engine->starterEngaged;
        inputs.startActive = engine->startActive;
        inputs.antiIceOn = engine->antiIceOn;
        inputs.n1Percent = engine->n1Percent;
        inputs.n2Percent = engine->n2Percent;
        inputs.throttleLever = engine->throttleLever;
    }
    return inputs;
}

Pneumatic::Inputs Pneumatic::readInputs(Aircraft& aircraft) {
    const Electric* electric = aircraft.electric();
    const JetEngine* engine1 = aircraft.engine1();
    const JetEngine* engine2 = aircraft.engine2();
    engine1AntiIceOn = engine1 && engine1->antiIceOn;
    engine2AntiIceOn = engine2 && engine2->antiIceOn;
    lampPower = electric && electric->annunciatorPower;
    Inputs in;
    in.engine1System = engine1;
    in.engine2System = engine2;
    in.now = aircraft.simTimeMs;
    in.seconds = static_cast<float>(std::max(aircraft.frameDeltaMs, 0)) * 0.001f;
    if (electric) {
        in.dcBus1Powered = electric->isPowered(Electric::kDcBus1);
        in.dcBus2Powered = electric->isPowered(Electric::kDcBus2);
        in.essentialBus1Powered = electric->isPowered(Electric::kEssentialBus1);
        in.apuRunning = electric->apu.state == Electric::Apu::kRunning;
    }
    if (const Ahrs* ahrs = aircraft.ahrs()) {
        in.onGround = ahrs->onGround;
    }
    if (const Adc* adc = aircraft.adc()) {
        in.totalAirTemperature = adc->totalAirTemperature;
        in.indicatedAirspeed = adc->indicatedAirspeed;
        in.indicatedAltitude = adc->indicatedAltitude;
        in.messagesInhibited =
            adc->flightPhase == kTakeoffPhase || adc->flightPhase == kLandingPhase;
        in.flightPhaseChanged = adc->flightPhaseChanged;
    }
    if (const Mechanisation* mechanisation = aircraft.mechanisation()) {
        in.parkingBrake = mechanisation->parkingBrake;
    }
    // Without a working GPS the aircraft moves in the air and stands on the ground, so that the
    // anti-ice in Auto keeps protecting in flight.
    in.groundSpeed =
        gpsGroundSpeed(aircraft).value_or(in.onGround ? 0.0f : std::numeric_limits<float>::max());
    in.pitotHeatOn = aircraft.tokens.value(kPitotHeatToken) != 0.0;
    in.structuralDeiceOn = aircraft.tokens.value(kStructuralDeiceToken) != 0.0;
    in.soundOn = aircraft.simState.isSoundOn();
    in.engine1 = readEngine(engine1);
    in.engine2 = readEngine(engine2);
    return in;
}

// The buttons as the chosen start-up state leaves them; the APU bleed stays as it is when the
// aircraft is cold and dark.
void Pneumatic::applyStartupPositions() {
    const bool enginesRunning = startupMode != 0 && startupMode != 1;
    windshield1AntiIce = windshield2AntiIce = startupMode != 0;
    bleed1Switch = bleed2Switch = pack1Switch = pack2Switch = enginesRunning;
    if (startupMode == 1) {
        apuBleedSwitch = true;
    } else if (enginesRunning) {
        apuBleedSwitch = false;
    }
}

Pneumatic::BleedSources Pneumatic::bleedSources(const Inputs& in) const {
    BleedSources bleeds;
    bleeds.engine1 = in.engine1.combustion && bleed1Switch;
    bleeds.engine2 = in.engine2.combustion && bleed2Switch;
    bleeds.apu = in.apuRunning && apuBleedSwitch;
    return bleeds;
}

void Pneumatic::updateBleedAir(const Inputs& in) {
    const BleedSources bleeds = bleedSources(in);
    const bool open = chooseSources(in, bleeds);
    latch(crossBleedOpen, crossBleedOpenChanged, open);
    updateBleedTemperatures(in, bleeds);
    updateBleedFaults(in);
    updateDuctPressures(in, bleeds, open);
}

bool Pneumatic::chooseSources(const Inputs& in, const BleedSources& bleeds) {
    const bool anyEngine = bleeds.engineCount() > 0;
    if (crossBleedKnob == kCrossBleedOpen) {
        side1Supplied = side2Supplied = anyEngine || bleeds.apu;
        apuBleedValveOpen = bleeds.apu && !anyEngine;
        return true;
    }
    if (crossBleedKnob == kCrossBleedClosed) {
        side1Supplied = bleeds.engine1 || bleeds.apu;
        side2Supplied = bleeds.engine2;
        apuBleedValveOpen = bleeds.apu && !bleeds.engine1;
        return false;
    }
    // Auto: one engine feeds both sides; two engines share their air only for the anti-ice;
    // the APU feeds side 2 only for an engine 2 start or the anti-ice.
    if (anyEngine) {
        side1Supplied = side2Supplied = true;
        apuBleedValveOpen = false;
        return bleeds.engineCount() == 1 || anyAntiIceOn();
    }
    side1Supplied = bleeds.apu;
    side2Supplied = bleeds.apu && (in.engine2.startActive || anyAntiIceOn());
    apuBleedValveOpen = bleeds.apu;
    return side2Supplied;
}

void Pneumatic::updateBleedTemperatures(const Inputs& in, const BleedSources& bleeds) {
    const float tat = in.totalAirTemperature;
    const float engine1Air = engineBleedTemperature(in.engine1.throttleLever);
    const float engine2Air = engineBleedTemperature(in.engine2.throttleLever);
    // One rule for both ducts, whatever supplies them: a duct carries its own engine's air, else
    // the air that reaches it from the APU or through the cross bleed from the other engine, and
    // the outside air when nothing supplies it.
    auto ductAir = [&](bool ownEngine, float ownAir, bool supplied, bool otherEngine,
                       float otherAir) {
        if (ownEngine) {
            return ownAir;
        }
        if (!supplied) {
            return tat;
        }
        if (apuBleedValveOpen) {
            return kApuBleedTemperature;
        }
        return otherEngine ? otherAir : tat;
    };
    const float target1 =
        ductAir(bleeds.engine1, engine1Air, side1Supplied, bleeds.engine2, engine2Air);
    const float target2 =
        ductAir(bleeds.engine2, engine2Air, side2Supplied, bleeds.engine1, engine1Air);
    if (!started) {
        bleedTemperature1 = bleeds.engine1 ? kSettledEngineBleedTemperature : tat;
        bleedTemperature2 = bleeds.engine2 ? kSettledEngineBleedTemperature : tat;
    }
    bleedTemperature1 = moveBleedTemperature(bleedTemperature1, target1, in.seconds);
    bleedTemperature2 = moveBleedTemperature(bleedTemperature2, target2, in.seconds);
}

void Pneumatic::updateBleedFaults(const Inputs& in) {
    if (in.essentialBus1Powered) {
        crossBleedValve = crossBleedKnob;
    }
    latch(crossBleedFail, crossBleedFailChanged, crossBleedValve != crossBleedKnob);
    latch(crossBleedSwitchOff, crossBleedSwitchOffChanged,
          crossBleedKnob == kCrossBleedClosed && in.parkingBrake == 0.0f &&
              (in.engine1.combustion || in.engine2.combustion));
    latch(bleed1ValveClosed, bleed1ValveClosedChanged,
          !bleed1Switch && !in.onGround && !in.engine1.startActive);
    latch(bleed2ValveClosed, bleed2ValveClosedChanged,
          !bleed2Switch && !in.onGround && !in.engine2.startActive);
}

void Pneumatic::updateDuctPressures(const Inputs& in, const BleedSources& bleeds, bool open) {
    // A single bleeding engine feeds both ducts through the open cross bleed.
    const bool oneEngineFeedsBoth = open && bleeds.engineCount() == 1;
    const float shared =
        bothDuctsPressure(bleeds.engine1 ? in.engine1.n1Percent : in.engine2.n1Percent);
    float target1 = 0.0f;
    if (bleeds.engine1 && (!open || bleeds.engine2)) {
        target1 = ownDuctPressure(in.engine1.n1Percent);
    } else if (apuBleedValveOpen && !open) {
        target1 = kApuOwnDuctPressure;
    } else if (oneEngineFeedsBoth) {
        target1 = shared;
    } else if (apuBleedValveOpen) {
        target1 = kApuBothDuctsPressure;
    }
    float target2 = 0.0f;
    if (bleeds.engine2 && (!open || bleeds.engine1)) {
        target2 = ownDuctPressure(in.engine2.n1Percent);
    } else if (oneEngineFeedsBoth) {
        target2 = shared;
    } else if (apuBleedValveOpen && open) {
        target2 = kApuBothDuctsPressure;
    }
    drawStarterAir(in, target1, target2);
    const float step = kDuctRate * in.seconds;
    ductPressure1 = moveDuctPressure(ductPressure1, target1, step);
    ductPressure2 = moveDuctPressure(ductPressure2, target2, step);
    ductPressureTarget1 = target1;
    ductPressureTarget2 = target2;
}

// An engaged starter lowers its own duct's pressure and, with the APU bleed button on, the
// other duct's too.
void Pneumatic::drawStarterAir(const Inputs& in, float& target1, float& target2) const {
    const bool slow = in.onGround || in.indicatedAirspeed <= kPneumaticSlowAirspeed;
    const float ownDraw = slow ? kSlowStarterDraw : kFastStarterDraw;
    const float otherDraw = slow ? kSlowOtherDuctDraw : kFastOtherDuctDraw;
    if (in.engine1.starterEngaged) {
        target1 -= ownDraw;
        if (apuBleedSwitch) {
            target2 -= otherDraw;
        }
    }
    if (in.engine2.starterEngaged) {
        target2 -= ownDraw;
        if (apuBleedSwitch) {
            target1 -= otherDraw;
        }
    }
}

void Pneumatic::updateAirConditioning(Aircraft& aircraft, const Inputs& in) {
    updateCabinTemperatures(in);
    gasperFanRunning = in.dcBus2Powered && (in.onGround || gasperFanSwitch);
    updatePackValves(in);
    if (Aws* aws = aircraft.aws()) {
        const bool pack1Runs = pack1ValveOpen && side1Supplied;
        const bool pack2Runs = pack2ValveOpen && side2Supplied;
        fadePackSound(*aws, kPack1Sound, pack1Runs,
                      in.now - (pack1Runs ? pack1OnTime : pack1OffTime), in.soundOn);
        fadePackSound(*aws, kPack2Sound, pack2Runs,
                      in.now - (pack2Runs ? pack2OnTime : pack2OffTime), in.soundOn);
    }
}

// Without bleed air the cabin and cockpit drift toward the outside air.
void Pneumatic::updateCabinTemperatures(const Inputs& in) {
    const bool conditioned = side1Supplied || side2Supplied;
    const float tat = in.totalAirTemperature;
    if (!started && conditioned) {
        cabinTemperature = cabinTemperatureSelected;
        cockpitTemperature = cockpitTemperatureSelected;
    } else if (!started) {
        cabinTemperature = cockpitTemperature =
            std::clamp(tat, kLowestUnconditionedCabin, kHighestUnconditionedCabin);
    }
    const float share = std::min(in.seconds * kCabinResponse, 1.0f);
    cabinTemperature += ((conditioned ? cabinTemperatureSelected : tat) - cabinTemperature) * share;
    cockpitTemperature +=
        ((conditioned ? cockpitTemperatureSelected : tat) - cockpitTemperature) * share;
}

void Pneumatic::updatePackValves(const Inputs& in) {
    const bool iceDetected = iceDetected1 || iceDetected2;
    const bool open1 = (iceDetected && in.indicatedAltitude <= kIcePackCeiling) || pack1Switch;
    const bool open2 = pack2Switch;
    notePackRun(open1 && side1Supplied, pack1ValveOpen && side1Supplied, in.now, pack1OnTime,
                pack1OffTime);
    notePackRun(open2 && side2Supplied, pack2ValveOpen && side2Supplied, in.now, pack2OnTime,
                pack2OffTime);
    latch(pack1ValveOpen, pack1ValveOpenChanged, open1);
    latch(pack2ValveOpen, pack2ValveOpenChanged, open2);
}

void Pneumatic::updateEicasMessages(Aircraft& aircraft, const Inputs& in) {
    EicasDau* eicasDau = aircraft.eicasDau();
    const bool all = eicasPower.poweredAgain(eicasDau) || !started || in.flightPhaseChanged;
    updateAirMessages(eicasDau, in, all);
    updateProbeHeatMessages(eicasDau, in, all);
    updateAntiIceMessages(eicasDau, in, all);
    updateIceDetectionMessages(eicasDau, in, all);
}

void Pneumatic::updateAirMessages(EicasDau* eicasDau, const Inputs& in, bool all) const {
    const bool shown = !in.messagesInhibited;
    const uint32_t now = in.now;
    if (all || bleed1LowTempChanged || bleed2LowTempChanged) {
        showEicasMessage(
            eicasDau, now, kEicasCaution, kBleedLowTempMessage,
            listText("BLD ", {shown && bleed1LowTemp, shown && bleed2LowTemp}, " LOW TEMP"));
    }
    if (all || crossBleedFailChanged) {
        showEicasMessage(eicasDau, now, kEicasCaution, kCrossBleedFailMessage,
                         flagText(shown && crossBleedFail, "CROSS BLD FAIL"));
    }
    if (all || crossBleedSwitchOffChanged) {
        showEicasMessage(eicasDau, now, kEicasCaution, kCrossBleedSwitchOffMessage,
                         flagText(shown && crossBleedSwitchOff, "CROSS BLD SW OFF"));
    }
    if (all || bleed1ValveClosedChanged || bleed2ValveClosedChanged) {
        showEicasMessage(eicasDau, now, kEicasAdvisory, kBleedValveClosedMessage,
                         listText("BLD ", {shown && bleed1ValveClosed, shown && bleed2ValveClosed},
                                  " VLV CLSD"));
    }
    if (all || crossBleedOpenChanged) {
        showEicasMessage(eicasDau, now, kEicasAdvisory, kCrossBleedOpenMessage,
                         flagText(shown && crossBleedOpen, "CROSS BLD OPEN"));
    }
    if (all || pack1ValveOpenChanged || pack2ValveOpenChanged) {
        const bool airborne = shown && !in.onGround;
        showEicasMessage(eicasDau, now, kEicasAdvisory, kPackValveClosedMessage,
                         listText("PACK ",
                                  {airborne && !pack1ValveOpen, airborne && !pack2ValveOpen},
                                  " VLV CLSD"));
    }
}

void Pneumatic::addElectricLoad(Aircraft& aircraft, BusLoads& loads) {
    const EngineInputs e1 = readEngine(aircraft.engine1());
    const EngineInputs e2 = readEngine(aircraft.engine2());
    addAirLoads(e1, e2, loads);
    addIceProtectionLoads(e1, e2, loads);
}

void Pneumatic::addAirLoads(const EngineInputs& e1, const EngineInputs& e2, BusLoads& loads) const {
    if (gasperFanRunning) {
        loads[Electric::kDcBus2] += kLoadAmps;
    }
    if (recirculationSwitch) {
        loads[Electric::kDcBus2] += kLoadAmps;
    }
    if (pack1ValveOpen) {
        loads[Electric::kDcBus1] += kLoadAmps;
    }
    if (pack2ValveOpen) {
        loads[Electric::kDcBus2] += kLoadAmps;
    }
    loads[Electric::kEssentialBus1] += kLoadAmps;
    if (e1.combustion || apuBleedValveOpen) {
        loads[Electric::kEssentialBus1] += kLoadAmps;
    }
    if (e2.combustion) {
        loads[Electric::kEssentialBus2] += kLoadAmps;
    }
    if (apuBleedValveOpen) {
        loads[Electric::kEssentialBus1] += kLoadAmps;
        loads[Electric::kEssentialBus2] += kLoadAmps;
    }
    loads[Electric::kDcBus1] += kDcBus1BaseAmps;
    loads[Electric::kDcBus2] += kDcBus2BaseAmps;
}

void Pneumatic::addIceProtectionLoads(const EngineInputs& e1, const EngineInputs& e2,
                                      BusLoads& loads) const {
    if (pitot1Switch) {
        loads[Electric::kDcBus1] += kLoadAmps;
    }
    if (pitot2Switch) {
        loads[Electric::kDcBus2] += kLoadAmps;
    }
    if (pitot1Switch || pitot2Switch) {
        loads[Electric::kDcBus2] += kLoadAmps;
    }
    loads[Electric::kDcBus1] += kLoadAmps;
    loads[Electric::kDcBus2] += kLoadAmps;
    if (e1.antiIceOn) {
        loads[Electric::kDcBus1] += kLoadAmps;
    }
    if (e2.antiIceOn) {
        loads[Electric::kDcBus2] += kLoadAmps;
    }
    if (wingAntiIceOn || stabAntiIceOn) {
        loads[Electric::kDcBus1] += kLoadAmps;
        loads[Electric::kDcBus2] += kLoadAmps;
    }
    if (windshield1AntiIce) {
        loads[Electric::kDcBus1] += kLoadAmps;
    }
    if (windshield2AntiIce) {
        loads[Electric::kShedBus2] += kLoadAmps;
    }
}

bool Pneumatic::takeRequest(Variable variable) const {
    return tavi::takeRequest(variableIds[variable]);
}

void Pneumatic::publish(Variable variable, int32_t value) const {
    panelServices().writeNamedVariable(variableIds[variable], value);
}

void Pneumatic::clickKnob(Aircraft& aircraft) const {
    if (Aws* aws = aircraft.aws()) {
        aws->play(sounds::kKnobClick, true);
    }
}

void Pneumatic::registerNamedVariables() {
    if (namedVariablesRegistered) {
        return;
    }
    for (std::size_t i = 0; i < kVariableCount; ++i) {
        variableIds[i] = panelServices().registerNamedVariable(kPneumaticVariableNames[i]);
    }
    namedVariablesRegistered = true;
}

// Each knob takes its Dec request, then its Inc request, each with a click; then it is
// published.
void Pneumatic::serveNamedVariables(Aircraft& aircraft) {
    registerNamedVariables();
    for (const int32_t step : kKnobSteps) {
        if (takeRequest(step < 0 ? kIceOvrdDec : kIceOvrdInc)) {
            antiIceOverrideKnob = steppedKnob(antiIceOverrideKnob, step);
            clickKnob(aircraft);
        }
    }
    publish(kIceOvrd, antiIceOverrideKnob);
    for (const int32_t step : kKnobSteps) {
        if (takeRequest(step < 0 ? kIceTestDec : kIceTestInc)) {
            setIceDetectionTest(aircraft, steppedKnob(iceDetectionTestKnob, step));
            clickKnob(aircraft);
        }
    }
    publish(kIceTest, iceDetectionTestKnob);
    for (const int32_t step : kKnobSteps) {
        if (takeRequest(step < 0 ? kXbleedDec : kXbleedInc)) {
            crossBleedKnob = steppedKnob(crossBleedKnob, step);
            clickKnob(aircraft);
        }
    }
    publish(kXbleed, crossBleedKnob);
}

} // namespace tavi
