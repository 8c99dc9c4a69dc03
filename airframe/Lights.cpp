#include "airframe/Lights.h"

#include "airframe/Electric.h"
#include "airframe/SystemStep.h"
#include "avionics/Adc.h"
#include "avionics/Aws.h"
#include "core/Aircraft.h"
#include "core/Imports.h"
#include "core/RequestVariable.h"
#include "platform/profile/Profile.h"

#include <algorithm>
#include <string>

namespace tavi {

namespace {

constexpr uint32_t kKeyL = 0x4C;
constexpr uint32_t kKeyO = 0x4F;
constexpr SoundId kSignChime = 45;
constexpr SoundId kLightSwitchClick = 48;
constexpr int32_t kDfdrFailId = 71;
constexpr int32_t kEmergencyLightNotArmedId = 72;
constexpr int kPanelLightToken = 10;
constexpr uint32_t kPanelLightsOn = 0x10208;
constexpr uint32_t kPanelLightsOff = 0x10209;
constexpr const char* kTimeOfDayCode = "(E:TIME OF DAY,Enum)";
constexpr float kPanelLightAmps = 5.0f;
constexpr float kEmergencyLightAmps = 5.0f;
constexpr float kNavStrobeBeaconAmps = 7.5f;
constexpr float kLandingTaxiLogoAmps = 5.0f;
// The emergency switch's request values: the upper and the lower half of the switch.
constexpr double kEmergencyUp = 2.0;
constexpr double kEmergencyDown = 1.0;

constexpr std::array<const char*, 22> kLightsVariableNames = {
    "TaviEmergLt", "TaviEmergLtClick", "TaviNavLt",    "TaviNavLtClick",
    "TaviBcnLt",   "TaviBcnLtClick",   "TaviStrobeLt", "TaviStrobeLtClick",
    "TaviLandLt",  "TaviLandLtClick",  "TaviTaxiLt",   "TaviTaxiLtClick",
    "TaviLogoLt",  "TaviLogoLtClick",  "TaviFstnLt",   "TaviFstnLtClick",
    "TaviSmokeLt", "TaviSmokeLtClick", "TaviPanelLt",  "TaviPanelLtClick",
    "TaviFloodLt", "TaviFloodLtClick",
};

// One exterior light of the simulator: the token that shows whether it burns, the buses either
// of which may feed it and its switching events (a toggle has the same event both ways).
struct SimulatorLight {
    int token;
    int bus;
    int otherBus;
    uint32_t onEvent;
    uint32_t offEvent;
};

constexpr int kNoBus = -1;

// In the order of Lights::ExteriorLight.
constexpr std::array<SimulatorLight, Lights::kExteriorLightCount> kSimulatorLights = {{
    {619, Electric::kDcBus1, kNoBus, 0x1034B, 0x1034B},
    {11, Electric::kDcBus1, kNoBus, 0x10204, 0x10205},
    {368, Electric::kDcBus2, kNoBus, 0x102BF, 0x102BF},
    {14, Electric::kDcBus1, Electric::kDcBus2, 0x1020B, 0x1020C},
    {369, Electric::kShedBus2, kNoBus, 0x102C0, 0x102C0},
    {620, Electric::kDcBus1, kNoBus, 0x10348, 0x10348},
}};

void playClick(Aircraft& aircraft, SoundId id) {
    if (Aws* aws = aircraft.aws()) {
        aws->play(id, true);
    }
}

void ringSignChime(Aircraft& aircraft) {
    if (Aws* aws = aircraft.aws()) {
        aws->stop(kSignChime);
        aws->play(kSignChime, false);
    }
}

bool tokenSet(const Aircraft& aircraft, int token) {
    return aircraft.tokens.value(token) != 0.0;
}

} // namespace

Lights::Lights() {
    variableIds.fill(-1);
}

void Lights::loadSettings(Aircraft& aircraft) {
    startupMode =
        platform::profile::parseInt(aircraft.readIniString("Startup", "startupMode", "0"));
}

void Lights::update(Aircraft& aircraft) {
    electric = aircraft.electric();
    bus1Powered = busPowered(Electric::kDcBus1);
    panelServices().executeCalculatorCode(kTimeOfDayCode, nullptr, &timeOfDay, nullptr);
    if (!started) {
        applyStartupPositions();
    }
    updatePanelLighting(aircraft);
    keepExteriorLightsInStep(aircraft);
    updateEicasMessages(aircraft);
    serveNamedVariables(aircraft);
    if (!started && aircraft.simTimeMs != 0) {
        started = true;
    }
}

void Lights::applyStartupPositions() {
    const bool dark = startupMode == 0;
    exteriorLights[kLandingLights] = false;
    exteriorLights[kTaxiLights] = false;
    exteriorLights[kLogoLights] = false;
    emergencyLightPosition = dark ? kEmergencyOff : kEmergencyArmed;
    exteriorLights[kNavigationLights] = !dark;
    exteriorLights[kBeaconLights] = !dark;
    seatBeltSign = !dark;
    noSmokingSign = !dark;
    exteriorLights[kStrobeLights] = startupMode == 2;
    emergencyLightChanged = true;
    beaconChanged = true;
}

// Until the first frame has run the switches take the simulator's panel lighting; from then on
// the simulator's follows the switches and DC bus 1.
void Lights::updatePanelLighting(const Aircraft& aircraft) {
    const bool simLit = tokenSet(aircraft, kPanelLightToken);
    if (!started) {
        panelLights = simLit;
        floodLights = simLit;
    } else {
        const bool switchOn = panelLights || floodLights;
        if (switchOn && bus1Powered && !simLit) {
            panelServices().sendKeyEvent(kPanelLightsOn, 0);
        } else if (simLit && (!switchOn || !bus1Powered)) {
            panelServices().sendKeyEvent(kPanelLightsOff, 0);
        }
    }
    if (timeOfDay == kDay || !bus1Powered) {
        panelLighting = kUnlit;
    } else {
        panelLighting = floodLights ? kFloodLit : panelLights ? kPanelLit : kUnlit;
    }
}

void Lights::keepExteriorLightsInStep(const Aircraft& aircraft) const {
    platform::PanelServices& panel = panelServices();
    for (std::size_t i = 0; i < kExteriorLightCount; ++i) {
        const SimulatorLight& light = kSimulatorLights[i];
        const bool switchOn = exteriorLights[i];
        const bool simOn = tokenSet(aircraft, light.token);
        const bool powered = busPowered(light.bus) || busPowered(light.otherBus);
        if (switchOn && !simOn && powered) {
            panel.sendKeyEvent(light.onEvent, 0);
        } else if (simOn && (!switchOn || !powered)) {
            panel.sendKeyEvent(light.offEvent, 0);
        }
    }
}

void Lights::updateEicasMessages(Aircraft& aircraft) {
    EicasDau* eicasDau = aircraft.eicasDau();
    const Adc* adc = aircraft.adc();
    const bool evaluateAll =
        eicasPower.poweredAgain(eicasDau) || !started || (adc && adc->flightPhaseChanged);
    // Neither caution is shown during take-off and landing.
    const bool shown =
        !adc || (adc->flightPhase != kTakeoffPhase && adc->flightPhase != kLandingPhase);
    const uint32_t now = aircraft.simTimeMs;
    if (evaluateAll || beaconChanged) {
        showEicasMessage(eicasDau, now, kEicasCaution, kDfdrFailId,
                         textWhen(shown && !exteriorLights[kBeaconLights], "DFDR FAIL"));
    }
    if (evaluateAll || emergencyLightChanged) {
        showEicasMessage(
            eicasDau, now, kEicasCaution, kEmergencyLightNotArmedId,
            textWhen(shown && emergencyLightPosition != kEmergencyArmed, "EMERG LT NOT ARMD"));
    }
    beaconChanged = false;
    emergencyLightChanged = false;
}

void Lights::serveNamedVariables(Aircraft& aircraft) {
    platform::PanelServices& panel = panelServices();
    if (!variablesRegistered) {
        for (std::size_t i = 0; i < kVariableCount; ++i) {
            variableIds[i] = panel.registerNamedVariable(kLightsVariableNames[i]);
        }
        variablesRegistered = true;
    }
    serveEmergencyLight(aircraft);
    publish(kEmergLt, emergencyLightPosition);

    auto serveSwitch = [&](Variable request, Variable state, ExteriorLight light) {
        if (takeRequest(request)) {
            toggleExteriorLight(light);
            playClick(aircraft, kLightSwitchClick);
        }
        publish(state, exteriorLights[light]);
    };
    serveSwitch(kNavLtClick, kNavLt, kNavigationLights);
    serveSwitch(kBcnLtClick, kBcnLt, kBeaconLights);
    serveSwitch(kStrobeLtClick, kStrobeLt, kStrobeLights);
    serveSwitch(kLandLtClick, kLandLt, kLandingLights);
    serveSwitch(kTaxiLtClick, kTaxiLt, kTaxiLights);
    serveSwitch(kLogoLtClick, kLogoLt, kLogoLights);

    if (takeRequest(kFstnLtClick)) {
        playClick(aircraft, kLightSwitchClick);
        toggleSeatBeltSign(aircraft);
    }
    publish(kFstnLt, seatBeltSign);
    if (takeRequest(kSmokeLtClick)) {
        playClick(aircraft, kLightSwitchClick);
        toggleNoSmokingSign(aircraft);
    }
    publish(kSmokeLt, noSmokingSign);
    if (takeRequest(kPanelLtClick)) {
        togglePanelLights(aircraft);
    }
    publish(kPanelLt, panelLights);
    if (takeRequest(kFloodLtClick)) {
        toggleFloodLights(aircraft);
    }
    publish(kFloodLt, floodLights);
}

// The emergency switch's request says which way it moves; a value that says neither is left for
// whoever wrote it.
void Lights::serveEmergencyLight(Aircraft& aircraft) {
    platform::PanelServices& panel = panelServices();
    const int32_t id = variableIds[kEmergLtClick];
    const double request = panel.readNamedVariable(id);
    if (request != kEmergencyUp && request != kEmergencyDown) {
        return;
    }
    panel.writeNamedVariable(id, 0.0);
    moveEmergencyLight(request == kEmergencyUp ? 1 : -1);
    playClick(aircraft, kLightSwitchClick);
}

bool Lights::takeRequest(Variable variable) const {
    return tavi::takeRequest(variableIds[variable]);
}

void Lights::publish(Variable variable, double value) const {
    panelServices().writeNamedVariable(variableIds[variable], value);
}

bool Lights::busPowered(int bus) const {
    return electric && bus != kNoBus && electric->isPowered(bus);
}

bool Lights::handleKey(Aircraft& aircraft, uint32_t virtualKey, bool shiftDown, bool ctrlDown) {
    if (virtualKey == kKeyL) {
        if (ctrlDown && !shiftDown) {
            toggleExteriorLight(kLandingLights);
        } else if (shiftDown && !ctrlDown) {
            togglePanelLights(aircraft);
        } else {
            const bool on = !exteriorLights[kNavigationLights];
            for (std::size_t i = 0; i < kExteriorLightCount; ++i) {
                switchExteriorLight(static_cast<ExteriorLight>(i), on);
            }
            panelLights = on;
        }
        return true;
    }
    if (virtualKey == kKeyO && !shiftDown && !ctrlDown) {
        toggleExteriorLight(kStrobeLights);
        return true;
    }
    return false;
}

void Lights::addElectricLoad(Aircraft&, BusLoads& loads) {
    if (bus1Powered) {
        loads[Electric::kDcBus1] += kPanelLightAmps * (panelLights + floodLights);
    }
    if (emergencyLightPosition == kEmergencyOn) {
        loads[Electric::kEssentialBus2] += kEmergencyLightAmps;
    }
    auto draw = [&loads](bool on, int bus, float amps) {
        if (on) {
            loads[bus] += amps;
        }
    };
    draw(exteriorLights[kNavigationLights], Electric::kDcBus1, kNavStrobeBeaconAmps);
    draw(exteriorLights[kStrobeLights], Electric::kDcBus1, kNavStrobeBeaconAmps);
    draw(exteriorLights[kBeaconLights], Electric::kDcBus2, kNavStrobeBeaconAmps);
    for (int bus : {Electric::kShedBus1, Electric::kDcBus1, Electric::kDcBus2}) {
        draw(exteriorLights[kLandingLights], bus, kLandingTaxiLogoAmps);
    }
    draw(exteriorLights[kTaxiLights], Electric::kShedBus2, kLandingTaxiLogoAmps);
    draw(exteriorLights[kLogoLights], Electric::kDcBus1, kLandingTaxiLogoAmps);
}

void Lights::toggleExteriorLight(ExteriorLight light) {
    switchExteriorLight(light, !exteriorLights[light]);
}

// The beacon's change reaches the DFDR caution in the EICAS step of the frame.
void Lights::switchExteriorLight(ExteriorLight light, bool on) {
    if (light == kBeaconLights && exteriorLights[light] != on) {
        beaconChanged = true;
    }
    exteriorLights[light] = on;
}

void Lights::moveEmergencyLight(int32_t step) {
    emergencyLightPosition =
        std::clamp(emergencyLightPosition + step, int32_t{kEmergencyOff}, int32_t{kEmergencyOn});
    emergencyLightChanged = true;
}

void Lights::toggleSeatBeltSign(Aircraft& aircraft) {
    seatBeltSign = !seatBeltSign;
    ringSignChime(aircraft);
}

void Lights::toggleNoSmokingSign(Aircraft& aircraft) {
    noSmokingSign = !noSmokingSign;
    ringSignChime(aircraft);
}

void Lights::togglePanelLights(Aircraft& aircraft) {
    panelLights = !panelLights;
    playClick(aircraft, sounds::kKnobClick);
}

void Lights::toggleFloodLights(Aircraft& aircraft) {
    floodLights = !floodLights;
    playClick(aircraft, sounds::kKnobClick);
}

} // namespace tavi
