#include "airframe/JetEngine.h"

#include "airframe/Electric.h"
#include "airframe/Fadec.h"
#include "airframe/FuelSystem.h"
#include "airframe/Pneumatic.h"
#include "avionics/Adc.h"
#include "avionics/Ahrs.h"
#include "avionics/Aws.h"
#include "core/Aircraft.h"
#include "core/Imports.h"
#include "core/RequestVariable.h"

#include <algorithm>
#include <cmath>
#include <string>

namespace tavi {

namespace {

constexpr uint32_t kStarterToggleEngine1 = 0x102FC;
constexpr uint32_t kFuelCutoffEngine1 = 0x101C3;
constexpr uint32_t kFuelOpenEngine1 = 0x101BF;
// The fuel-lever events of consecutive engines lie five apart.
constexpr uint32_t kFuelEventStride = 5;
constexpr uint32_t kThrottleEngine1 = 0x1011C;
constexpr uint32_t kAntiIceEngine1 = 0x103B8;
constexpr uint32_t kEngine1GeneratorToggleEvent = 0x1033B;
constexpr uint32_t kEngine2GeneratorToggleEvent = 0x1033C;

constexpr double kThrottleFullUnits = 16384.0;
constexpr float kIdleThrottleLimit = 0.05f;
// The ground fuel introduction watches N2 from here on.
constexpr float kFuelCheckN2 = 20.0f;
// N2 counts as still rising on the starter while it gains more than this over a check period.
constexpr float kFuelCheckRise = 1.5f;
constexpr uint32_t kFuelCheckPeriodMs = 5000;
constexpr float kStartCompleteN2 = 56.0f;
constexpr float kStarterCutInN2 = 14.0f;
constexpr float kSlowAirspeed = 100.0f;
// Duct pressures, psi, that a start needs slow (on the ground or at low speed) and fast.
constexpr float kSlowStartAirPressure = 13.0f;
constexpr float kFastStartAirPressure = 10.0f;
constexpr float kSlowStarterPressure = 20.0f;
constexpr float kFastStarterPressure = 15.0f;
constexpr uint32_t kStartSpringBackMs = 500;
constexpr uint32_t kStartAirCheckDelayMs = 3000;
constexpr uint32_t kFadecControlSpringBackMs = 499;
constexpr double kLightOffN1N2LagSeconds = 12.0;
constexpr double kLightOffIttLagSeconds = 2.0;
constexpr float kOilPressureScaleLimit = 50.0f;
constexpr float kOilPressureBlendFrom = 25.0f;
constexpr float kOilCapacity = 15.0f;

// The named variables: the stem, then the engine's digit, then the suffix.
struct VariableName {
    const char* stem;
    const char* suffix;
};
constexpr std::array<VariableName, 11> kEngineVariableNames = {{
    {"TaviIgnition", ""},
    {"TaviIgnition", "Dec"},
    {"TaviIgnition", "Inc"},
    {"TaviCover", ""},
    {"TaviCover", "Click"},
    {"TaviEngControl", ""},
    {"TaviEngControl", "Dec"},
    {"TaviEngControl", "Inc"},
    {"TaviFadecControl", ""},
    {"TaviFadecControl", "Dec"},
    {"TaviFadecControl", "Inc"},
}};

DigitalFilter lightOffFilter() {
    return DigitalFilter(DigitalFilter::Law::FirstOrderLag, 1.0, 1, 0.0);
}

// A simulator value as a 32-bit integer, truncated toward zero; out of range or not a number
// gives the nearest bound or 0.
int32_t truncateToInt32(double value) {
    if (std::isnan(value)) {
        return 0;
    }
    return static_cast<int32_t>(std::clamp(value, -2147483648.0, 2147483647.0));
}

// The oil pressure the gauge shows: low pressures are scaled up most.
float scaledOilPressure(float psi) {
    const float scaled = std::min(psi, kOilPressureScaleLimit);
    return ((kOilPressureScaleLimit - scaled) * 1.7f / kOilPressureScaleLimit + 1.3f) * psi;
}

// The scale falls so fast towards 50 psi that, taken alone, the shown pressure would drop while
// the pressure rises from 44 psi: from 25 psi on the gauge goes straight to its 50-psi reading.
float shownOilPressure(float psi) {
    if (psi <= kOilPressureBlendFrom || psi >= kOilPressureScaleLimit) {
        return scaledOilPressure(psi);
    }
    const float low = scaledOilPressure(kOilPressureBlendFrom);
    const float high = scaledOilPressure(kOilPressureScaleLimit);
    return low + (high - low) * (psi - kOilPressureBlendFrom) /
                     (kOilPressureScaleLimit - kOilPressureBlendFrom);
}

// Engine 1's names end in "1", every other engine's in "2".
std::string variableName(const VariableName& name, int32_t engineNumber) {
    return std::string(name.stem) + (engineNumber == 1 ? "1" : "2") + name.suffix;
}

void playKnobClick(Aircraft& aircraft) {
    if (Aws* aws = aircraft.aws()) {
        aws->play(sounds::kKnobClick, true);
    }
}

} // namespace

JetEngine::JetEngine(int32_t number)
    : engineNumber(number), n1Filter(lightOffFilter()), n2Filter(lightOffFilter()),
      ittFilter(lightOffFilter()),
      simVariables{
          SimVar("TURB ENG N1", "PERCENT", number),
          SimVar("TURB ENG N2", "PERCENT", number),
          SimVar("GENERAL ENG THROTTLE LEVER POSITION", "NUMBER", number),
          SimVar("TURB ENG CORRECTED N1", "PERCENT", number),
          SimVar("TURB ENG CORRECTED N2", "PERCENT", number),
          SimVar("TURB ENG ITT", "CELSIUS", number),
          SimVar("TURB ENG FUEL FLOW PPH", "PPH", number),
          SimVar("ENG OIL PRESSURE", "PSI", number),
          SimVar("ENG OIL TEMPERATURE", "CELSIUS", number),
          SimVar("ENG OIL QUANTITY", "PERCENT", number),
          SimVar("TURB ENG VIBRATION", "NUMBER", number),
          SimVar("GENERAL ENG STARTER", "BOOL", number),
          SimVar("GENERAL ENG COMBUSTION", "BOOL", number),
          SimVar("GENERAL ENG GENERATOR ACTIVE", "BOOL", number),
          SimVar("ENG ANTI ICE", "BOOL", number),
          SimVar("GENERAL ENG MIXTURE LEVER POSITION", "NUMBER", number),
          SimVar("ENG FAILED", "BOOL", number),
      },
      starterToggleEvent(kStarterToggleEngine1 + static_cast<uint32_t>(number - 1)),
      fuelCutoffEvent(kFuelCutoffEngine1 + kFuelEventStride * static_cast<uint32_t>(number - 1)),
      fuelOpenEvent(kFuelOpenEngine1 + kFuelEventStride * static_cast<uint32_t>(number - 1)),
      throttleEvent(kThrottleEngine1 + static_cast<uint32_t>(number - 1)),
      antiIceEvent(kAntiIceEngine1 + static_cast<uint32_t>(number - 1)) {
    variableIds.fill(-1);
}

void JetEngine::loadSettings(Aircraft& aircraft) {
    groundIgnitionN2 =
        static_cast<float>(aircraft.readIniDouble("Engines", "groundIgnitionN2", 18.0));
    flightIgnitionN2 =
        static_cast<float>(aircraft.readIniDouble("Engines", "flightIgnitionN2", 10.0));
    flightFuelValve =
        static_cast<float>(aircraft.readIniDouble("Engines", "flightFuelValve", 20.0));
    startupMode = aircraft.readIniInt("Startup", "startupMode", 0);
}

void JetEngine::addElectricLoad(Aircraft&, BusLoads& loads) {
    constexpr float kUnitAmps = 5.0f;
    loads[Electric::kEssentialBus1] +=
        kUnitAmps * static_cast<float>(channelAPowered + ignitionAPowered);
    loads[Electric::kEssentialBus2] +=
        kUnitAmps * static_cast<float>(channelBPowered + ignitionBPowered);
    if (sideBusPowered && starterEngaged) {
        loads[engineNumber == 1 ? Electric::kEssentialBus1 : Electric::kEssentialBus2] += kUnitAmps;
    }
}

void JetEngine::update(Aircraft& aircraft) {
    readInputs(aircraft);
    if (!started) {
        applyStartupState(aircraft);
    }
    mirrorSimulator(aircraft);
    if (started) {
        updateChannels(aircraft);
    }
    updateIgnition();
    if (started) {
        introduceFuel(aircraft);
    }
    runStartSequence(aircraft);
    smoothLightOff(aircraft);
    serveNamedVariables(aircraft);
    if (!started && aircraft.simTimeMs != 0) {
        started = true;
    }
}

void JetEngine::readInputs(const Aircraft& aircraft) {
    const bool side1 = engineNumber == 1;
    const Ahrs* ahrs = aircraft.ahrs();
    inputs.onGround = ahrs && ahrs->onGround;
    const Adc* adc = aircraft.adc();
    inputs.totalAirTemperature = adc ? adc->totalAirTemperature : 0.0f;
    inputs.indicatedAirspeed = adc ? adc->indicatedAirspeed : 0.0f;
    const FuelSystem* fuel = aircraft.fuelSystem();
    inputs.fuelAvailable = fuel && (side1 ? fuel->fuelAvailable1 : fuel->fuelAvailable2);
    const Pneumatic* pneumatic = aircraft.pneumatic();
    if (pneumatic) {
        inputs.startAirSupplied = side1 ? pneumatic->side1Supplied : pneumatic->side2Supplied;
        inputs.ductPressure = side1 ? pneumatic->ductPressure1 : pneumatic->ductPressure2;
        inputs.ductPressureTarget =
            side1 ? pneumatic->ductPressureTarget1 : pneumatic->ductPressureTarget2;
    } else {
        inputs.startAirSupplied = false;
        inputs.ductPressure = 0.0f;
        inputs.ductPressureTarget = 0.0f;
    }
    const Electric* electric = aircraft.electric();
    inputs.essentialBus1Powered = electric && electric->isPowered(Electric::kEssentialBus1);
    inputs.essentialBus2Powered = electric && electric->isPowered(Electric::kEssentialBus2);
    const JetEngine* other = side1 ? aircraft.engine2() : aircraft.engine1();
    inputs.otherEngineStarting = other && other != this && other->startActive;
}

void JetEngine::applyStartupState(const Aircraft& aircraft) {
    switch (startupMode) {
    case 0:
        setEngineControl(aircraft, kStop);
        break;
    case 1:
        cutFuel();
        break;
    case 2:
        openFuel();
        break;
    default:
        setEngineControl(aircraft, kRun);
        break;
    }
}

void JetEngine::mirrorSimulator(const Aircraft& aircraft) {
    for (SimVar& variable : simVariables) {
        variable.read();
    }
    auto value = [this](SimVariable variable) {
        return static_cast<float>(simVariables[variable].value);
    };
    auto isSet = [this](SimVariable variable) {
        return simVariables[variable].value != 0.0;
    };
    const uint32_t now = aircraft.simTimeMs;
    const float tat = inputs.totalAirTemperature;

    n1Percent = value(kN1);
    const float n2 = value(kN2);
    if (n2Percent < kFuelCheckN2 && n2 >= kFuelCheckN2) {
        fuelCheckN2 = kFuelCheckN2;
        fuelCheckTime = now;
    }
    n2Percent = n2;
    throttleLever = value(kThrottleLever);
    itt = std::max(tat, value(kItt));
    fuelFlow = value(kFuelFlow);
    throttleUnits = truncateToInt32(static_cast<double>(throttleLever) * kThrottleFullUnits);
    correctedN1 = value(kCorrectedN1);
    correctedN2 = value(kCorrectedN2);

    oilPressure = shownOilPressure(value(kOilPressure));
    oilTemperature = std::max(tat, 1.6f * value(kOilTemperature));
    oilQuantity = value(kOilQuantity) * kOilCapacity * 0.01f;

    vibration = value(kVibration) * 0.25f;
    starterEngaged = isSet(kStarter);
    // Combustion already burning when the flight starts is no light-off to smooth.
    if (isSet(kCombustion) && !combustion && started) {
        combustionStartTime = now;
    }
    combustion = isSet(kCombustion);
    generatorActive = isSet(kGeneratorActive);
    antiIceOn = isSet(kAntiIce);
    mixture = value(kMixture);
    failed = isSet(kFailed);
}

void JetEngine::updateChannels(const Aircraft& aircraft) {
    const uint32_t now = aircraft.simTimeMs;
    if (fadecControlKnob != kNeutral && now - fadecControlTime > kFadecControlSpringBackMs) {
        fadecControlKnob = kNeutral;
    }
    channelAPowered = ignitionAPowered = inputs.essentialBus1Powered;
    channelBPowered = ignitionBPowered = inputs.essentialBus2Powered;
    sideBusPowered = engineNumber == 1 ? inputs.essentialBus1Powered : inputs.essentialBus2Powered;
    if (now == 0) {
        return;
    }
    if (activeChannel == kChannelA && !channelAPowered) {
        activeChannel = kChannelB;
    } else if (activeChannel == kChannelB && !channelBPowered) {
        activeChannel = kChannelA;
    }
}

void JetEngine::updateIgnition() {
    const float threshold = inputs.onGround ? groundIgnitionN2 : flightIgnitionN2;
    const bool firing = startActive && n2Percent >= threshold;
    const bool powered = ignitionAPowered || ignitionBPowered;
    if (!powered || ignitionKnob == kIgnitionOff || !firing) {
        ignitionOn = ignitorA = ignitorB = false;
    } else if (ignitionKnob == kIgnitionOn) {
        ignitionOn = ignitorA = ignitorB = true;
    } else {
        ignitionOn = true;
        ignitorA = activeChannel == kChannelA || !inputs.onGround;
        ignitorB = activeChannel == kChannelB || !inputs.onGround;
    }
}

void JetEngine::introduceFuel(const Aircraft& aircraft) {
    const bool fuelOk = inputs.fuelAvailable;
    if (mixture != 0.0f && ((!combustion && !ignitionOn) || !fuelOk)) {
        cutFuel();
        return;
    }
    if (mixture == 1.0f || combustion || !ignitionOn || !fuelOk) {
        return;
    }
    if (!inputs.onGround) {
        if (n2Percent >= flightFuelValve) {
            resetSmoothing();
            openFuel();
        }
        return;
    }
    const uint32_t now = aircraft.simTimeMs;
    if (n2Percent < kFuelCheckN2 || now - fuelCheckTime < kFuelCheckPeriodMs) {
        return;
    }
    if (n2Percent > fuelCheckN2 + kFuelCheckRise) {
        fuelCheckN2 = n2Percent;
        fuelCheckTime = now;
        return;
    }
    // N2 has stopped rising on the starter.
    resetSmoothing();
    openFuel();
}

void JetEngine::runStartSequence(const Aircraft& aircraft) {
    const uint32_t sinceKnobMoved = aircraft.simTimeMs - engineControlTime;
    switch (engineControlKnob) {
    case kStart:
        if (sinceKnobMoved > kStartSpringBackMs) {
            setEngineControl(aircraft, kRun);
        }
        if (!startActive && !combustion && !inputs.otherEngineStarting) {
            startActive = true;
            // Ground starts alternate the channels.
            if (inputs.onGround && ignitionKnob == kIgnitionAuto) {
                switchChannel();
            }
        }
        break;
    case kRun: {
        if (!startActive || sinceKnobMoved <= kStartAirCheckDelayMs) {
            break;
        }
        const bool slow = isSlow();
        if (!startAirAvailable(slow) && !combustion) {
            startActive = false;
            if (starterEngaged) {
                toggleStarter();
            }
        }
        if (!startActive) {
            break;
        }
        if (combustion && n2Percent >= kStartCompleteN2) {
            startActive = false;
        } else {
            engageStarter(slow);
        }
        break;
    }
    case kStop:
        // With the throttle above idle when the knob was turned, STOP leaves the engine alone.
        if (!idleAtCutoff) {
            break;
        }
        startActive = false;
        if (mixture != 0.0f) {
            cutFuel();
        }
        if (starterEngaged) {
            toggleStarter();
        }
        break;
    default:
        break;
    }
}

bool JetEngine::startAirAvailable(bool slow) const {
    const float needed = slow ? kSlowStartAirPressure : kFastStartAirPressure;
    return inputs.startAirSupplied && sideBusPowered &&
           (inputs.ductPressure >= needed || inputs.ductPressureTarget >= needed);
}

void JetEngine::engageStarter(bool slow) {
    const float needed = slow ? kSlowStarterPressure : kFastStarterPressure;
    const bool turns = inputs.ductPressure >= needed || n2Percent < kStarterCutInN2;
    if (turns && !starterEngaged) {
        toggleStarter();
    }
}

bool JetEngine::isSlow() const {
    return inputs.onGround || inputs.indicatedAirspeed <= kSlowAirspeed;
}

// The indications rise from the simulator's values with a lag of 12 s at light-off that
// shrinks to the frame time after 12 s; the ITT's lag of 2 s shrinks within 2 s.
void JetEngine::smoothLightOff(const Aircraft& aircraft) {
    const uint32_t sinceLightOff = aircraft.simTimeMs - combustionStartTime;
    const double t = sinceLightOff / 1000.0;
    const double dt = aircraft.frameDeltaMs / 1000.0;
    if (!combustion || dt <= 0.0 || t > kLightOffN1N2LagSeconds) {
        return;
    }
    const double w = std::min(dt, 1.0);
    const double lag = kLightOffN1N2LagSeconds - (kLightOffN1N2LagSeconds - w) * t / 12.0;
    n1Filter.timeConstant = lag;
    n2Filter.timeConstant = lag;
    n1Percent = static_cast<float>(n1Filter.update(dt, n1Percent));
    n2Percent = static_cast<float>(n2Filter.update(dt, n2Percent));
    if (t <= kLightOffIttLagSeconds) {
        // The ITT's lag shrinks to the frame time over its own 2 s, so the shown ITT does not
        // jump to the simulator's when the smoothing ends.
        ittFilter.timeConstant =
            kLightOffIttLagSeconds - (kLightOffIttLagSeconds - w) * t / kLightOffIttLagSeconds;
        itt = static_cast<float>(ittFilter.update(dt, itt));
    }
}

// New filters that start from the indications of the moment the fuel is introduced.
void JetEngine::resetSmoothing() {
    n1Filter = lightOffFilter();
    n2Filter = lightOffFilter();
    ittFilter = lightOffFilter();
    n1Filter.outputHistory.front() = n1Percent;
    n2Filter.outputHistory.front() = n2Percent;
    ittFilter.outputHistory.front() = itt;
}

void JetEngine::switchChannel() {
    activeChannel = activeChannel == kChannelA ? kChannelB : kChannelA;
}

void JetEngine::setThrottle(int32_t units) const {
    if (units != throttleUnits) {
        panelServices().sendKeyEvent(throttleEvent, static_cast<uint32_t>(units));
    }
}

void JetEngine::setEngineControl(const Aircraft& aircraft, int32_t position) {
    if (position == kStop && engineControlKnob != kStop) {
        idleAtCutoff = throttleLever >= 0.0f && throttleLever <= kIdleThrottleLimit;
    }
    engineControlKnob = position;
    engineControlTime = aircraft.simTimeMs;
}

void JetEngine::engineControlUp(const Aircraft& aircraft) {
    setEngineControl(aircraft, std::min(engineControlKnob + 1, int32_t{kStart}));
}

void JetEngine::setFadecControl(Aircraft& aircraft, int32_t position) {
    fadecControlKnob = position;
    fadecControlTime = aircraft.simTimeMs;
    if (position == kReset) {
        if (Fadec* fadec = aircraft.fadec()) {
            fadec->requestReset();
        }
    } else if (position == kAlternate) {
        switchChannel();
    }
}

void JetEngine::toggleStarter() const {
    panelServices().sendKeyEvent(starterToggleEvent, 0);
}

void JetEngine::cutFuel() const {
    panelServices().sendKeyEvent(fuelCutoffEvent, 0);
}

void JetEngine::openFuel() const {
    panelServices().sendKeyEvent(fuelOpenEvent, 0);
}

void JetEngine::setAntiIce(bool on) const {
    panelServices().sendKeyEvent(antiIceEvent, on ? 1 : 0);
}

void JetEngine::toggleGenerator() const {
    panelServices().sendKeyEvent(
        engineNumber == 1 ? kEngine1GeneratorToggleEvent : kEngine2GeneratorToggleEvent, 0);
}

bool JetEngine::takeRequest(Variable variable) const {
    return tavi::takeRequest(variableIds[variable]);
}

void JetEngine::publish(Variable variable, double value) const {
    panelServices().writeNamedVariable(variableIds[variable], value);
}

void JetEngine::serveNamedVariables(Aircraft& aircraft) {
    if (!variablesRegistered) {
        for (std::size_t i = 0; i < kVariableCount; ++i) {
            variableIds[i] = panelServices().registerNamedVariable(
                variableName(kEngineVariableNames[i], engineNumber).c_str());
        }
        variablesRegistered = true;
    }
    auto stepped = [](int32_t knob, int32_t step) {
        return std::clamp(knob + step, int32_t{0}, int32_t{2});
    };
    if (takeRequest(kIgnitionDec)) {
        ignitionKnob = stepped(ignitionKnob, -1);
        playKnobClick(aircraft);
    }
    if (takeRequest(kIgnitionInc)) {
        ignitionKnob = stepped(ignitionKnob, 1);
        playKnobClick(aircraft);
    }
    if (takeRequest(kCoverClick)) {
        guardOpen = !guardOpen;
    }
    if (takeRequest(kEngControlDec)) {
        setEngineControl(aircraft, stepped(engineControlKnob, -1));
        playKnobClick(aircraft);
    }
    if (takeRequest(kEngControlInc)) {
        setEngineControl(aircraft, stepped(engineControlKnob, 1));
        playKnobClick(aircraft);
    }
    if (takeRequest(kFadecControlDec)) {
        setFadecControl(aircraft, stepped(fadecControlKnob, -1));
        playKnobClick(aircraft);
    }
    if (takeRequest(kFadecControlInc)) {
        setFadecControl(aircraft, stepped(fadecControlKnob, 1));
        playKnobClick(aircraft);
    }
    publish(kIgnitionVar, ignitionKnob);
    publish(kCover, guardOpen);
    publish(kEngControl, engineControlKnob);
    publish(kFadecControlVar, fadecControlKnob);
}

} // namespace tavi
