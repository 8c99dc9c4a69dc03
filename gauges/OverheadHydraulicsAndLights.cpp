#include "airframe/Hydraulic.h"
#include "airframe/Lights.h"
#include "airframe/Mechanisation.h"
#include "gauges/OverheadArtwork.h"
#include "gauges/OverheadControls.h"

#include <functional>

// The hydraulic panel (electric pump knobs, guarded engine pump buttons), the flight-control
// system buttons and the row of light switches along the bottom of the overhead panel.
namespace tavi::overhead {

namespace {

using platform::Artwork;
using platform::kImageBright;
using platform::Tooltip;
using platform::TooltipArgument;

constexpr auto kHydraulic1 = &Aircraft::hydraulic1;
constexpr auto kHydraulic2 = &Aircraft::hydraulic2;

template <auto hydraulic, auto member>
constexpr auto hydraulicField = &fieldOf<hydraulic, member>;

template <auto member>
constexpr auto flightControlField = &fieldOf<&Aircraft::mechanisation, member>;

// ---- Hydraulics.

template <auto hydraulic>
bool toggleEnginePump(Aircraft& aircraft, uint32_t) {
    Hydraulic* system = (aircraft.*hydraulic)();
    if (!system) {
        return false;
    }
    system->enginePumpShutoffOpen = !system->enginePumpShutoffOpen;
    system->enginePumpShutoffChanged = true;
    playClick(aircraft, kClickPushButton);
    return true;
}

template <auto hydraulic>
int enginePumpButton(Aircraft& aircraft) {
    const Hydraulic* system = (aircraft.*hydraulic)();
    return system ? guardedState(system->enginePumpOffLight(), system->enginePumpGuardOpen)
                  : kUnknown;
}

template <auto hydraulic>
constexpr auto enginePumpHandler =
    &controlHandler<&guarded<hydraulicField<hydraulic, &Hydraulic::enginePumpGuardOpen>,
                             &toggleEnginePump<hydraulic>>>;

template <auto hydraulic, int32_t step>
constexpr auto electricPumpKnob =
    &controlHandler<&stepKnob<hydraulicField<hydraulic, &Hydraulic::electricPumpKnob>, step>>;

// ---- Flight controls: each light holds the cockpit's power rule.

template <bool (Mechanisation::*offLight)() const>
int flightControlLight(Aircraft& aircraft) {
    const Mechanisation* system = aircraft.mechanisation();
    return system ? int((system->*offLight)()) : kUnknown;
}

template <bool Mechanisation::*member>
constexpr auto flightControlButton =
    &controlHandler<&toggle<flightControlField<member>, kClickPushButton>>;

// ---- Lights.

template <int32_t step>
bool moveEmergencyLight(Aircraft& aircraft, uint32_t) {
    Lights* lights = aircraft.lights();
    if (!lights) {
        return false;
    }
    lights->moveEmergencyLight(step);
    playClick(aircraft, kClickLightSwitch);
    return true;
}

template <Lights::ExteriorLight light>
bool toggleExteriorLight(Aircraft& aircraft, uint32_t) {
    Lights* lights = aircraft.lights();
    if (!lights) {
        return false;
    }
    lights->toggleExteriorLight(light);
    playClick(aircraft, kClickLightSwitch);
    return true;
}

// The switch clicks before the sign's own chime.
template <void (Lights::*toggleOperation)(Aircraft&)>
bool toggleSign(Aircraft& aircraft, uint32_t) {
    Lights* lights = aircraft.lights();
    if (!lights) {
        return false;
    }
    playClick(aircraft, kClickLightSwitch);
    (lights->*toggleOperation)(aircraft);
    return true;
}

template <Lights::ExteriorLight light>
constexpr auto lightSwitch = &controlHandler<&toggleExteriorLight<light>>;

double emergencyLightIndex(int position, int lit) {
    return position + 3 * lit;
}

// ---- Tooltips.

constexpr std::array<const char*, 3> kEmergencyWords{"Off", "Armed", "On"};

// A getter of the lights, or a function of them.
template <auto read>
int lightsStateOf(Aircraft& aircraft) {
    const Lights* lights = aircraft.lights();
    return lights ? static_cast<int>(std::invoke(read, *lights)) : kUnknown;
}

template <Lights::ExteriorLight light>
bool exteriorLightOn(const Lights& lights) {
    return lights.exteriorLightOn(light);
}

template <auto read>
constexpr auto lightsState = &lightsStateOf<read>;

template <Lights::ExteriorLight light>
constexpr auto exteriorLightState = lightsState<&exteriorLightOn<light>>;

const Tooltip kElectricPump1Tip{
    "Electric Pump 1 (%1!s!)",
    &stateWord<&stateOf<hydraulicField<kHydraulic1, &Hydraulic::electricPumpKnob>>, kOffAutoOn>};
const Tooltip kElectricPump2Tip{
    "Electric Pump 2 (%1!s!)",
    &stateWord<&stateOf<hydraulicField<kHydraulic2, &Hydraulic::electricPumpKnob>>, kOffAutoOn>};
const Tooltip kEnginePump1Tip{
    "Engine Pump 1 (%1!s!)",
    &stateWord<&stateOf<hydraulicField<kHydraulic1, &Hydraulic::enginePumpShutoffOpen>>, kOffOn>};
const Tooltip kEnginePump2Tip{
    "Engine Pump 2 (%1!s!)",
    &stateWord<&stateOf<hydraulicField<kHydraulic2, &Hydraulic::enginePumpShutoffOpen>>, kOffOn>};
const Tooltip kAileron1Tip{
    "Aileron System 1 (%1!s!)",
    &stateWord<&stateOf<flightControlField<&Mechanisation::aileronSystem1On>>, kOffOn>};
const Tooltip kAileron2Tip{
    "Aileron System 2 (%1!s!)",
    &stateWord<&stateOf<flightControlField<&Mechanisation::aileronSystem2On>>, kOffOn>};
const Tooltip kRudder1Tip{
    "Rudder System 1 (%1!s!)",
    &stateWord<&stateOf<flightControlField<&Mechanisation::rudderSystem1On>>, kOffOn>};
const Tooltip kRudder2Tip{
    "Rudder System 2 (%1!s!)",
    &stateWord<&stateOf<flightControlField<&Mechanisation::rudderSystem2On>>, kOffOn>};
const Tooltip kEmergencyTip{"Emergency Light (%1!s!)",
                            &stateWord<lightsState<&Lights::emergencyLight>, kEmergencyWords>};
const Tooltip kNavigationTip{"Navigation Lights (%1!s!)",
                             &stateWord<exteriorLightState<Lights::kNavigationLights>, kOffOn>};
const Tooltip kBeaconTip{"Red Beacon (%1!s!)",
                         &stateWord<exteriorLightState<Lights::kBeaconLights>, kOffOn>};
const Tooltip kStrobeTip{"Strobe Lights (%1!s!)",
                         &stateWord<exteriorLightState<Lights::kStrobeLights>, kOffOn>};
const Tooltip kLandingTip{"Landing Lights (%1!s!)",
                          &stateWord<exteriorLightState<Lights::kLandingLights>, kOffOn>};
const Tooltip kTaxiTip{"Taxi Lights (%1!s!)",
                       &stateWord<exteriorLightState<Lights::kTaxiLights>, kOffOn>};
const Tooltip kLogoTip{"Logo Lights (%1!s!)",
                       &stateWord<exteriorLightState<Lights::kLogoLights>, kOffOn>};
const Tooltip kSeatBeltTip{"Fasten Seat Belts Lights (%1!s!)",
                           &stateWord<lightsState<&Lights::seatBeltSignOn>, kOffOn>};
const Tooltip kNoSmokingTip{"No Smoke Lights (%1!s!)",
                            &stateWord<lightsState<&Lights::noSmokingSignOn>, kOffOn>};

// ---- Elements.

constexpr Artwork kElectricPump1Knob = knobArtwork("Overhead electric pump 1 knob");
constexpr Artwork kElectricPump2Knob = knobArtwork("Overhead electric pump 2 knob");
constexpr Artwork kEnginePump1Button{"Overhead engine pump 1 button", 56,   105, 8,
                                     paintHingedGuardButton,          "OFF"};
constexpr Artwork kEnginePump2Button{"Overhead engine pump 2 button", 56,   105, 8,
                                     paintHingedGuardButton,          "OFF"};
constexpr Artwork kAileron1Light = lampArtwork("Overhead aileron system 1 light", "OFF", 28, 12);
constexpr Artwork kAileron2Light = lampArtwork("Overhead aileron system 2 light", "OFF", 28, 12);
constexpr Artwork kRudder1Light = lampArtwork("Overhead rudder system 1 light", "OFF", 28, 12);
constexpr Artwork kRudder2Light = lampArtwork("Overhead rudder system 2 light", "OFF", 28, 12);
constexpr Artwork kEmergencySwitch{"Overhead emergency light switch", 39, 62, 6,
                                   paintThreePositionLever,           ""};
constexpr Artwork kNavigationSwitch = lightSwitchArtwork("Overhead navigation lights switch");
constexpr Artwork kBeaconSwitch = lightSwitchArtwork("Overhead red beacon switch");
constexpr Artwork kStrobeSwitch = lightSwitchArtwork("Overhead strobe lights switch");
constexpr Artwork kLandingSwitch{
    "Overhead landing lights switch", 172, 44, 4, paintTwinLightSwitch, ""};
constexpr Artwork kTaxiSwitch = lightSwitchArtwork("Overhead taxi lights switch");
constexpr Artwork kLogoSwitch = lightSwitchArtwork("Overhead logo lights switch");
constexpr Artwork kSeatBeltSwitch = lightSwitchArtwork("Overhead seat belts switch");
constexpr Artwork kNoSmokingSwitch = lightSwitchArtwork("Overhead no smoking switch");
constexpr Artwork kLightsOverlay{
    "Overhead exterior lights lighting", 180, 50, 4, paintLightingOverlay, "EXTERIOR LIGHTS"};
constexpr Artwork kLandingOverlay{
    "Overhead landing lights lighting", 110, 48, 4, paintLightingOverlay, "LANDING"};
constexpr Artwork kSignsOverlay{"Overhead signs lighting", 55,     45, 4,
                                paintLightingOverlay,      "SIGNS"};

template <State state>
constexpr auto lightSwitchImage = &litIcon<state, &tavi::lightSwitchIcon>;

template <Lights::ExteriorLight light>
constexpr auto exteriorSwitchImage = lightSwitchImage<exteriorLightState<light>>;

template <auto hydraulic>
constexpr auto electricPumpIcon =
    &litIcon<&stateOf<hydraulicField<hydraulic, &Hydraulic::electricPumpKnob>>,
             &threePositionKnobIcon>;

template <bool (Mechanisation::*offLight)() const>
constexpr auto flightControlLamp = &lampIcon<&flightControlLight<offLight>>;

std::vector<GaugeElement> hydraulicsAndLightsElements() {
    return {
        iconElement(kElectricPump1Knob, 1020, 637, electricPumpIcon<kHydraulic1>),
        iconElement(kElectricPump2Knob, 1148, 637, electricPumpIcon<kHydraulic2>),
        iconElement(kEnginePump1Button, 1029, 483,
                    &litIcon<&enginePumpButton<kHydraulic1>, &guardedIndex>),
        iconElement(kEnginePump2Button, 1152, 483,
                    &litIcon<&enginePumpButton<kHydraulic2>, &guardedIndex>),
        iconElement(kAileron1Light, 1008, 356,
                    flightControlLamp<&Mechanisation::aileronSystem1OffLight>, kImageBright),
        iconElement(kAileron2Light, 1072, 356,
                    flightControlLamp<&Mechanisation::aileronSystem2OffLight>, kImageBright),
        iconElement(kRudder1Light, 1145, 356,
                    flightControlLamp<&Mechanisation::rudderSystem1OffLight>, kImageBright),
        iconElement(kRudder2Light, 1208, 356,
                    flightControlLamp<&Mechanisation::rudderSystem2OffLight>, kImageBright),
        iconElement(kEmergencySwitch, 63, 744,
                    &litIcon<lightsState<&Lights::emergencyLight>, &emergencyLightIndex>),
        iconElement(kNavigationSwitch, 354, 752, exteriorSwitchImage<Lights::kNavigationLights>),
        iconElement(kBeaconSwitch, 416, 751, exteriorSwitchImage<Lights::kBeaconLights>),
        iconElement(kStrobeSwitch, 475, 751, exteriorSwitchImage<Lights::kStrobeLights>),
        iconElement(kLandingSwitch, 670, 757, exteriorSwitchImage<Lights::kLandingLights>),
        iconElement(kTaxiSwitch, 865, 750, exteriorSwitchImage<Lights::kTaxiLights>),
        iconElement(kLogoSwitch, 994, 755, exteriorSwitchImage<Lights::kLogoLights>),
        iconElement(kSeatBeltSwitch, 1120, 755,
                    lightSwitchImage<lightsState<&Lights::seatBeltSignOn>>),
        iconElement(kNoSmokingSwitch, 1180, 755,
                    lightSwitchImage<lightsState<&Lights::noSmokingSignOn>>),
    };
}

std::vector<Control> hydraulicsAndLightsControls() {
    return {
        knob({1027, 640, 55, 55}, "ELEC PUMP 1", {"OFF", "AUTO", "ON"}, kElectricPump1Tip,
             electricPumpKnob<kHydraulic1, -1>, electricPumpKnob<kHydraulic1, 1>),
        knob({1155, 640, 55, 55}, "ELEC PUMP 2", {"OFF", "AUTO", "ON"}, kElectricPump2Tip,
             electricPumpKnob<kHydraulic2, -1>, electricPumpKnob<kHydraulic2, 1>),
        guardedButton({1032, 538, 50, 50}, "ENG PUMP 1", kEnginePump1Tip,
                      enginePumpHandler<kHydraulic1>),
        guardedButton({1158, 538, 50, 50}, "ENG PUMP 2", kEnginePump2Tip,
                      enginePumpHandler<kHydraulic2>),
        pushButtonControl({997, 337, 50, 50}, "AIL 1", kAileron1Tip,
                          flightControlButton<&Mechanisation::aileronSystem1On>),
        pushButtonControl({1059, 337, 50, 50}, "AIL 2", kAileron2Tip,
                          flightControlButton<&Mechanisation::aileronSystem2On>),
        pushButtonControl({1132, 337, 50, 50}, "RUD 1", kRudder1Tip,
                          flightControlButton<&Mechanisation::rudderSystem1On>),
        pushButtonControl({1195, 337, 50, 50}, "RUD 2", kRudder2Tip,
                          flightControlButton<&Mechanisation::rudderSystem2On>),
        verticalSwitch({69, 750, 27, 50}, "EMER", {"OFF", "ARMED", "ON"}, kEmergencyTip,
                       &controlHandler<&moveEmergencyLight<-1>>,
                       &controlHandler<&moveEmergencyLight<1>>),
        toggleSwitch({354, 750, 27, 50}, "NAV", kNavigationTip,
                     lightSwitch<Lights::kNavigationLights>),
        toggleSwitch({416, 750, 27, 50}, "BEACON", kBeaconTip, lightSwitch<Lights::kBeaconLights>),
        toggleSwitch({480, 750, 27, 50}, "STROBE", kStrobeTip, lightSwitch<Lights::kStrobeLights>),
        toggleSwitch({680, 750, 152, 50}, "LANDING", kLandingTip,
                     lightSwitch<Lights::kLandingLights>),
        toggleSwitch({866, 750, 27, 50}, "TAXI", kTaxiTip, lightSwitch<Lights::kTaxiLights>),
        toggleSwitch({1000, 750, 27, 50}, "LOGO", kLogoTip, lightSwitch<Lights::kLogoLights>),
        toggleSwitch({1122, 750, 27, 50}, "BELTS", kSeatBeltTip,
                     &controlHandler<&toggleSign<&Lights::toggleSeatBeltSign>>),
        toggleSwitch({1186, 750, 27, 50}, "NO SMOKE", kNoSmokingTip,
                     &controlHandler<&toggleSign<&Lights::toggleNoSmokingSign>>),
    };
}

} // namespace

Area hydraulicsAndLightsArea() {
    return {{iconElement(kLightsOverlay, 145, 750, &lightingIcon<2>),
             iconElement(kLandingOverlay, 540, 751, &lightingIcon<2>),
             iconElement(kSignsOverlay, 1058, 755, &lightingIcon<2>)},
            hydraulicsAndLightsElements(),
            hydraulicsAndLightsControls()};
}

} // namespace tavi::overhead
