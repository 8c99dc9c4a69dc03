#include "airframe/Hydraulic.h"

#include "airframe/Electric.h"
#include "airframe/JetEngine.h"
#include "airframe/Mechanisation.h"
#include "airframe/SystemStep.h"
#include "avionics/Adc.h"
#include "avionics/Ahrs.h"
#include "avionics/Aws.h"
#include "core/Aircraft.h"
#include "core/Format.h"
#include "core/Imports.h"
#include "core/RequestVariable.h"
#include "platform/profile/Profile.h"

#include <algorithm>
#include <string>

namespace tavi {

namespace {

constexpr float kEnginePumpPressure = 3000.0f;
constexpr float kElectricPumpPressure = 2900.0f;
// Psi per second.
constexpr float kEnginePumpRate = 300.0f;
constexpr float kElectricPumpRate = 400.0f;
constexpr float kElectricPumpBleedRate = 100.0f;
constexpr float kLeakRate = 50.0f;
// In Auto the electric pump helps below this pressure; below it a running engine's pump fails.
constexpr float kPumpAssistPressure = 1600.0f;
constexpr float kSystemFailPressure = 1300.0f;
// Of the full reservoir's 5.0.
constexpr float kLowQuantity = 1.0f;
constexpr double kReservoirFull = 5.0;
constexpr float kSystemAmps = 5.0f;
constexpr float kElectricPumpAmps = 5.0f;

// The message text naming the affected systems, or nothing when no system is affected.
std::string systemsText(const char* prefix, bool system1, bool system2, const char* suffix) {
    const std::string list = eicasUnitList({system1, system2});
    return list.empty() ? std::string() : prefix + list + suffix;
}

} // namespace

Hydraulic::Hydraulic(int32_t systemNumber)
    : systemNumber(systemNumber), quantityVar("ENG HYDRAULIC QUANTITY", "PERCENT", systemNumber) {
    variableIds.fill(-1);
}

void Hydraulic::loadSettings(Aircraft& aircraft) {
    startupMode =
        platform::profile::parseInt(aircraft.readIniString("Startup", "startupMode", "0"));
}

int Hydraulic::pumpBus() const {
    return systemNumber == 1 ? Electric::kDcBus2 : Electric::kDcBus1;
}

void Hydraulic::addElectricLoad(Aircraft&, BusLoads& loads) {
    loads[pumpBus()] += kSystemAmps;
    if (electricPumpRunning) {
        loads[pumpBus()] += kElectricPumpAmps;
    }
}

void Hydraulic::updatePower(Aircraft& aircraft) {
    const Electric* network = aircraft.electric();
    unpowered = !(network && network->isPowered(pumpBus()));
}

bool Hydraulic::enginePumpOffLight() const {
    return !enginePumpShutoffOpen && electric && electric->annunciatorPower;
}

void Hydraulic::update(Aircraft& aircraft) {
    fetchNeighbours(aircraft);
    if (!started) {
        // Auto only when the engines are to run; an unknown mode counts as running.
        electricPumpKnob = static_cast<uint32_t>(startupMode) > 1 ? kKnobAuto : kKnobOff;
    }
    const double percent = quantityVar.read();
    quantityPercent = static_cast<float>(percent);
    quantity = static_cast<float>(percent * 0.01 * kReservoirFull);
    const bool combustion = engine && engine->combustion;
    enginePumpRunning = enginePumpShutoffOpen && combustion;
    runElectricPump(combustion);
    updatePressure(frameSeconds(aircraft), combustion);
    updateFaults(aircraft, combustion);
    if (systemNumber == 1) {
        updateEicasMessages(aircraft);
    }
    serveNamedVariables(aircraft);
    if (!started && aircraft.simTimeMs != 0) {
        started = true;
    }
}

void Hydraulic::fetchNeighbours(const Aircraft& aircraft) {
    engine = systemNumber == 1 ? aircraft.engine1() : aircraft.engine2();
    electric = aircraft.electric();
    otherSystem = systemNumber == 1 ? aircraft.hydraulic2() : aircraft.hydraulic1();
}

// In Auto the electric pump starts when the pressure is low or the engine is not running, and
// stops once the engine's pump delivers enough.
void Hydraulic::runElectricPump(bool combustion) {
    const bool lowPressure = pressure < kPumpAssistPressure;
    if (unpowered) {
        // A pump on a dead bus makes no pressure, so the failure messages follow the loss.
        electricPumpRunning = false;
    } else if (electricPumpRunning) {
        electricPumpRunning = electricPumpKnob != kKnobOff &&
                              !(electricPumpKnob == kKnobAuto && !lowPressure && enginePumpRunning);
    } else {
        electricPumpRunning = electricPumpKnob == kKnobOn ||
                              (electricPumpKnob == kKnobAuto && (lowPressure || !combustion));
    }
}

void Hydraulic::updatePressure(float seconds, bool combustion) {
    if (!started) {
        pressure = combustion ? kEnginePumpPressure : 0.0f;
    } else if (enginePumpRunning) {
        pressure = std::clamp(pressure + kEnginePumpRate * seconds, 0.0f, kEnginePumpPressure);
    } else if (electricPumpRunning) {
        pressure =
            pressure > kElectricPumpPressure
                ? pressure - kElectricPumpBleedRate * seconds
                : std::clamp(pressure + kElectricPumpRate * seconds, 0.0f, kElectricPumpPressure);
    } else {
        pressure = std::clamp(pressure - kLeakRate * seconds, 0.0f, kEnginePumpPressure);
    }
}

// A low pressure is no fault on the ground with the engine stopped, nor while the engine's
// pump delivers.
void Hydraulic::updateFaults(const Aircraft& aircraft, bool combustion) {
    const Ahrs* ahrs = aircraft.ahrs();
    const bool onGround = ahrs && ahrs->onGround;
    latch(systemFail, systemFailChanged,
          pressure < kSystemFailPressure && !(onGround && !combustion) &&
              !(combustion && enginePumpShutoffOpen));
    latch(enginePumpFail, enginePumpFailChanged, combustion && pressure < kPumpAssistPressure);
    latch(lowQuantity, lowQuantityChanged, quantity < kLowQuantity);
    const Mechanisation* mechanisation = aircraft.mechanisation();
    const bool brakeReleased = !mechanisation || mechanisation->parkingBrake == 0.0f;
    latch(pumpSelectorOff, pumpSelectorOffChanged, electricPumpKnob == kKnobOff && brakeReleased);
}

// System 1 posts for both systems; system 2's flags are those of its last update.
void Hydraulic::updateEicasMessages(const Aircraft& aircraft) {
    EicasDau* eicasDau = aircraft.eicasDau();
    const Adc* adc = aircraft.adc();
    const bool all =
        eicasPower.poweredAgain(eicasDau) || !started || (adc && adc->flightPhaseChanged);
    // During take-off and landing the lists name no system, and so remove their messages.
    const bool shown =
        !adc || (adc->flightPhase != kTakeoffPhase && adc->flightPhase != kLandingPhase);
    const Hydraulic* other = otherSystem;
    const uint32_t now = aircraft.simTimeMs;
    auto changed = [&](bool Hydraulic::*flag) {
        return all || this->*flag || (other && other->*flag);
    };
    auto show = [&](int32_t level, int32_t id, const char* prefix, bool system1, bool system2,
                    const char* suffix) {
        showEicasMessage(eicasDau, now, level, id,
                         systemsText(prefix, shown && system1, shown && system2, suffix));
    };

    if (changed(&Hydraulic::systemFailChanged)) {
        show(kEicasCaution, 20, "HYD SYS ", systemFail, other && other->systemFail, " FAIL");
    }
    if (changed(&Hydraulic::enginePumpFailChanged)) {
        show(kEicasAdvisory, 22, "E", enginePumpFail, other && other->enginePumpFail,
             " HYD PUMP FAIL");
    }
    if (changed(&Hydraulic::lowQuantityChanged)) {
        show(kEicasAdvisory, 24, "HYD", lowQuantity, other && other->lowQuantity, " LO QTY");
    }
    if (changed(&Hydraulic::enginePumpShutoffChanged)) {
        show(kEicasAdvisory, 23, "E", !enginePumpShutoffOpen,
             other && !other->enginePumpShutoffOpen, " HYDSOV CLSD");
    }
    enginePumpShutoffChanged = false;
    if (otherSystem) {
        otherSystem->enginePumpShutoffChanged = false;
    }

    // Once in the list the pump selector advisory is not posted again, and during take-off and
    // landing it is left as it stands.
    if (changed(&Hydraulic::pumpSelectorOffChanged)) {
        const EicasMessage key(0, kEicasAdvisory, 25, std::string());
        if (pumpSelectorOff || (other && other->pumpSelectorOff)) {
            if (eicasDau && eicasDau->findMessage(key) == eicasDau->messages.end() && shown) {
                showEicasMessage(eicasDau, now, kEicasAdvisory, 25, "HYD PUMP SELEC OF");
            }
        } else {
            showEicasMessage(eicasDau, now, kEicasAdvisory, 25, std::string());
        }
    }
}

bool Hydraulic::takeRequest(Variable variable) const {
    return tavi::takeRequest(variableIds[variable]);
}

void Hydraulic::stepKnob(Aircraft& aircraft, int32_t step) {
    electricPumpKnob = std::clamp(electricPumpKnob + step, static_cast<int32_t>(kKnobOff),
                                  static_cast<int32_t>(kKnobOn));
    if (Aws* aws = aircraft.aws()) {
        aws->play(sounds::kKnobClick, true);
    }
}

void Hydraulic::serveNamedVariables(Aircraft& aircraft) {
    platform::PanelServices& panel = panelServices();
    if (!variablesRegistered) {
        variableIds[kKnob] =
            panel.registerNamedVariable(format("TaviHydPump%d", systemNumber).c_str());
        variableIds[kKnobDec] =
            panel.registerNamedVariable(format("TaviHydPump%dDec", systemNumber).c_str());
        variableIds[kKnobInc] =
            panel.registerNamedVariable(format("TaviHydPump%dInc", systemNumber).c_str());
        variablesRegistered = true;
    }
    if (takeRequest(kKnobDec)) {
        stepKnob(aircraft, -1);
    }
    if (takeRequest(kKnobInc)) {
        stepKnob(aircraft, 1);
    }
    panel.writeNamedVariable(variableIds[kKnob], electricPumpKnob);
}

} // namespace tavi
