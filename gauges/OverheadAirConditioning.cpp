#include "airframe/Pneumatic.h"
#include "gauges/OverheadArtwork.h"
#include "gauges/OverheadControls.h"

// The pneumatic part of the overhead panel: bleeds, packs, gasper fan, recirculation, the cross
// bleed knob, the temperature selectors, probe and windshield heat, anti-ice and the ice
// detection test.
namespace tavi::overhead {

namespace {

using platform::Artwork;
using platform::kImageBright;
using platform::Tooltip;
using platform::TooltipArgument;

template <auto member>
constexpr auto pneumatic = &fieldOf<&Aircraft::pneumatic, member>;

// The annunciators light only while the panel's lamps have power.
template <bool Pneumatic::*member, bool when>
int switchLight(Aircraft& aircraft) {
    const Pneumatic* system = aircraft.pneumatic();
    return system ? int(system->*member == when && system->lampPower) : kUnknown;
}

template <bool Pneumatic::*member>
constexpr auto offLight = &switchLight<member, false>;

int apuBleedValveLight(Aircraft& aircraft) {
    const Pneumatic* system = aircraft.pneumatic();
    return system ? int(system->apuBleedValveOpen && system->lampPower) : kUnknown;
}

int engine1OpenLight(Aircraft& aircraft) {
    const Pneumatic* system = aircraft.pneumatic();
    return system ? int(system->engine1AntiIceLight()) : kUnknown;
}

int engine2OpenLight(Aircraft& aircraft) {
    const Pneumatic* system = aircraft.pneumatic();
    return system ? int(system->engine2AntiIceLight()) : kUnknown;
}

int engine1Valve(Aircraft& aircraft) {
    const Pneumatic* system = aircraft.pneumatic();
    return system ? int(system->engine1AntiIceValveOpen()) : kUnknown;
}

int engine2Valve(Aircraft& aircraft) {
    const Pneumatic* system = aircraft.pneumatic();
    return system ? int(system->engine2AntiIceValveOpen()) : kUnknown;
}

// The wing and stabiliser valves count as open only while their button is on.
template <bool Pneumatic::*button, bool Pneumatic::*valve>
int surfaceValve(Aircraft& aircraft) {
    const Pneumatic* system = aircraft.pneumatic();
    return system ? int(system->*button && system->*valve) : kUnknown;
}

template <bool Pneumatic::*button, bool Pneumatic::*valve>
int surfaceOpenLight(Aircraft& aircraft) {
    const Pneumatic* system = aircraft.pneumatic();
    return system ? int(system->*button && system->*valve && system->lampPower) : kUnknown;
}

// ---- Temperature selectors.

template <float Pneumatic::*selection>
double temperature() {
    Aircraft* aircraft = readyAircraft();
    const Pneumatic* system = aircraft ? aircraft->pneumatic() : nullptr;
    return system ? system->*selection : 0.0;
}

template <float Pneumatic::*selection>
std::optional<double> selectorAngle(Aircraft& aircraft) {
    const Pneumatic* system = aircraft.pneumatic();
    if (!system) {
        return std::nullopt;
    }
    return (system->*selection - Pneumatic::kLowestSelectedTemperature) /
               (Pneumatic::kHighestSelectedTemperature - Pneumatic::kLowestSelectedTemperature) *
               260.0 -
           220.0;
}

template <void (Pneumatic::*set)(float), float Pneumatic::*selection, int step>
bool turnSelector(Aircraft& aircraft, uint32_t) {
    Pneumatic* system = aircraft.pneumatic();
    if (!system) {
        return false;
    }
    (system->*set)(system->*selection + step);
    return true;
}

template <int step>
constexpr auto cockpitSelector = &controlHandler<
    &turnSelector<&Pneumatic::setCockpitTemperature, &Pneumatic::cockpitTemperatureSelected, step>>;
template <int step>
constexpr auto cabinSelector = &controlHandler<
    &turnSelector<&Pneumatic::setCabinTemperature, &Pneumatic::cabinTemperatureSelected, step>>;

// ---- The ice detection test knob springs back to Off when the button is released or the
// pointer leaves it.

template <int32_t pressed>
bool holdIceTest(Aircraft& aircraft, uint32_t flags) {
    Pneumatic* system = aircraft.pneumatic();
    if (!system) {
        return false;
    }
    const bool released = (flags & (platform::kMouseLeftRelease | platform::kMouseLeave)) != 0;
    system->setIceDetectionTest(aircraft, released ? Pneumatic::kTestOff : pressed);
    return true;
}

template <bool Pneumatic::*member>
constexpr auto pushHandler = &controlHandler<&toggle<pneumatic<member>, kClickPushButton>>;

template <auto member>
constexpr auto switchState = &stateOf<pneumatic<member>>;

constexpr std::array<const char*, 3> kBleedAirWords{"Closed", "Auto", "Open"};
constexpr std::array<const char*, 3> kOverrideWords{"Engines", "Auto", "All"};
constexpr std::array<const char*, 3> kIceTestWords{"Sys 1", "Off", "Sys 2"};

// Tooltip arguments, some shared by a group of buttons.
const std::vector<TooltipArgument> kApuBleedArgs{
    textArgument<switchState<&Pneumatic::apuBleedSwitch>, kOffOn>(),
    textArgument<switchState<&Pneumatic::apuBleedValveOpen>, kClosedOpen>()};
const std::vector<TooltipArgument> kTemperatureArgs{
    {.text = nullptr, .number = &temperature<&Pneumatic::cockpitTemperatureSelected>},
    {.text = nullptr, .number = &temperature<&Pneumatic::cabinTemperatureSelected>}};
const std::vector<TooltipArgument> kPitotArgs{
    textArgument<switchState<&Pneumatic::pitot1Switch>, kOffOn>(),
    textArgument<switchState<&Pneumatic::pitot2Switch>, kOffOn>(),
    textArgument<switchState<&Pneumatic::pitot3Switch>, kOffOn>()};
const std::vector<TooltipArgument> kEngineAntiIceArgs{
    textArgument<switchState<&Pneumatic::engine1AntiIceSwitch>, kOffOn>(),
    textArgument<&engine1Valve, kClosedOpen>(),
    textArgument<switchState<&Pneumatic::engine2AntiIceSwitch>, kOffOn>(),
    textArgument<&engine2Valve, kClosedOpen>()};
const std::vector<TooltipArgument> kSurfaceAntiIceArgs{
    textArgument<switchState<&Pneumatic::wingAntiIceSwitch>, kOffOn>(),
    textArgument<&surfaceValve<&Pneumatic::wingAntiIceSwitch, &Pneumatic::wingAntiIceOn>,
                 kClosedOpen>(),
    textArgument<switchState<&Pneumatic::stabAntiIceSwitch>, kOffOn>(),
    textArgument<&surfaceValve<&Pneumatic::stabAntiIceSwitch, &Pneumatic::stabAntiIceOn>,
                 kClosedOpen>()};
const std::vector<TooltipArgument> kWindshieldArgs{
    textArgument<switchState<&Pneumatic::windshield1AntiIce>, kOffOn>(),
    textArgument<switchState<&Pneumatic::windshield2AntiIce>, kOffOn>()};

const Tooltip kBleed1Tip{"Bleed 1 (%1!s!)",
                         &stateWord<switchState<&Pneumatic::bleed1Switch>, kClosedOpen>};
const Tooltip kBleed2Tip{"Bleed 2 (%1!s!)",
                         &stateWord<switchState<&Pneumatic::bleed2Switch>, kClosedOpen>};
const Tooltip kApuBleedTip{"APU Bleed (%1!s!, %2!s!)", &kApuBleedArgs};
const Tooltip kPack1Tip{"Pack 1 (%1!s!)",
                        &stateWord<switchState<&Pneumatic::pack1Switch>, kClosedOpen>};
const Tooltip kPack2Tip{"Pack 2 (%1!s!)",
                        &stateWord<switchState<&Pneumatic::pack2Switch>, kClosedOpen>};
const Tooltip kGasperTip{"Gasper Fan (%1!s!)",
                         &stateWord<switchState<&Pneumatic::gasperFanSwitch>, kOffOn>};
const Tooltip kRecirculationTip{"Recirculation (%1!s!)",
                                &stateWord<switchState<&Pneumatic::recirculationSwitch>, kOffOn>};
const Tooltip kBleedAirTip{"Bleed Air (%1!s!)",
                           &stateWord<switchState<&Pneumatic::crossBleedKnob>, kBleedAirWords>};
const Tooltip kCockpitTemperatureTip{"Cockpit Tempereture (%1!d!)", &kTemperatureArgs};
const Tooltip kCabinTemperatureTip{"Cabin Tempereture (%2!d!)", &kTemperatureArgs};
const Tooltip kPitot1Tip{"Pitot 1 (%1!s!)", &kPitotArgs};
const Tooltip kPitot3Tip{"Pitot 3 (%3!s!)", &kPitotArgs};
const Tooltip kPitot2Tip{"Pitot 2 (%2!s!)", &kPitotArgs};
const Tooltip kEngine1AntiIceTip{"Engine 1 Anti Ice (%1!s!, %2!s!)", &kEngineAntiIceArgs};
const Tooltip kEngine2AntiIceTip{"Engine 2 Anti Ice (%3!s!, %4!s!)", &kEngineAntiIceArgs};
const Tooltip kWingAntiIceTip{"Wing Anti Ice (%1!s!, %2!s!)", &kSurfaceAntiIceArgs};
const Tooltip kStabAntiIceTip{"Stab Anti Ice (%3!s!, %4!s!)", &kSurfaceAntiIceArgs};
const Tooltip kWindshield1Tip{"Windshield 1 Anti Ice (%1!s!)", &kWindshieldArgs};
const Tooltip kWindshield2Tip{"Windshield 2 Anti Ice (%2!s!)", &kWindshieldArgs};
const Tooltip kOverrideTip{
    "Anti Ice Override (%1!s!)",
    &stateWord<switchState<&Pneumatic::antiIceOverrideKnob>, kOverrideWords>};
const Tooltip kIceTestTip{"Ice Detection Test (%1!s!)",
                          &stateWord<switchState<&Pneumatic::iceDetectionTestKnob>, kIceTestWords>};

constexpr Artwork kBleed1Light = lampArtwork("Overhead bleed 1 light", "OFF");
constexpr Artwork kBleed2Light = lampArtwork("Overhead bleed 2 light", "OFF");
constexpr Artwork kApuBleedLight = lampArtwork("Overhead APU bleed light", "ON", 50, 12);
constexpr Artwork kApuBleedValveLight =
    lampArtwork("Overhead APU bleed valve light", "OPEN", 50, 8);
constexpr Artwork kPack1Light = lampArtwork("Overhead pack 1 light", "OFF");
constexpr Artwork kPack2Light = lampArtwork("Overhead pack 2 light", "OFF");
constexpr Artwork kGasperLight = lampArtwork("Overhead gasper fan light", "OFF");
constexpr Artwork kRecirculationLight = lampArtwork("Overhead recirculation light", "OFF");
constexpr Artwork kBleedAirKnob = knobArtwork("Overhead bleed air knob");
constexpr Artwork kCockpitDayNeedle{
    "Overhead cockpit temperature needle", 40, 40, 1, paintDayPointer, ""};
constexpr Artwork kCockpitNightNeedle{
    "Overhead cockpit temperature night needle", 40, 40, 1, paintNightPointer, ""};
constexpr Artwork kCabinDayNeedle{
    "Overhead cabin temperature needle", 40, 40, 1, paintDayPointer, ""};
constexpr Artwork kCabinNightNeedle{
    "Overhead cabin temperature night needle", 40, 40, 1, paintNightPointer, ""};
constexpr Artwork kPitot1Light = lampArtwork("Overhead pitot 1 light", "OFF");
constexpr Artwork kPitot3Light = lampArtwork("Overhead pitot 3 light", "OFF");
constexpr Artwork kPitot2Light = lampArtwork("Overhead pitot 2 light", "OFF");
constexpr Artwork kEngine1AntiIceLight =
    lampArtwork("Overhead engine 1 anti-ice light", "OFF", 30, 12);
constexpr Artwork kEngine1OpenLight =
    lampArtwork("Overhead engine 1 anti-ice open light", "OPEN", 26, 7);
constexpr Artwork kEngine2AntiIceLight =
    lampArtwork("Overhead engine 2 anti-ice light", "OFF", 30, 12);
constexpr Artwork kEngine2OpenLight =
    lampArtwork("Overhead engine 2 anti-ice open light", "OPEN", 26, 7);
constexpr Artwork kWingAntiIceLight = lampArtwork("Overhead wing anti-ice light", "OFF");
constexpr Artwork kWingOpenLight = lampArtwork("Overhead wing anti-ice open light", "OPEN", 26, 7);
constexpr Artwork kStabAntiIceLight = lampArtwork("Overhead stab anti-ice light", "OFF", 30, 12);
constexpr Artwork kStabOpenLight = lampArtwork("Overhead stab anti-ice open light", "OPEN", 30, 7);
constexpr Artwork kWindshield1Light = lampArtwork("Overhead windshield 1 light", "OFF", 28, 12);
constexpr Artwork kWindshield2Light = lampArtwork("Overhead windshield 2 light", "OFF", 30, 12);
constexpr Artwork kOverrideKnob = knobArtwork("Overhead anti-ice override knob");
constexpr Artwork kIceTestKnob = knobArtwork("Overhead ice detection test knob");

template <auto state>
constexpr auto lamp = &lampIcon<state>;

template <auto member>
constexpr auto knobIcon = &litIcon<switchState<member>, &threePositionKnobIcon>;

template <float Pneumatic::*selection, bool night>
constexpr auto selectorNeedle = &twinNeedle<&selectorAngle<selection>, night>;

constexpr uint32_t kHeld = platform::kMouseLeftSingle | platform::kMouseRepeat;
constexpr uint32_t kSprung = kHeld | platform::kMouseLeftRelease | platform::kMouseLeave;

std::vector<GaugeElement> airConditioningElements() {
    return {
        iconElement(kBleed1Light, 1334, 663, lamp<offLight<&Pneumatic::bleed1Switch>>,
                    kImageBright),
        iconElement(kBleed2Light, 1520, 663, lamp<offLight<&Pneumatic::bleed2Switch>>,
                    kImageBright),
        iconElement(kApuBleedLight, 1427, 663, lamp<&switchLight<&Pneumatic::apuBleedSwitch, true>>,
                    kImageBright),
        iconElement(kApuBleedValveLight, 1426, 655, lamp<&apuBleedValveLight>, kImageBright),
        iconElement(kPack1Light, 1333, 488, lamp<offLight<&Pneumatic::pack1Switch>>, kImageBright),
        iconElement(kPack2Light, 1523, 488, lamp<offLight<&Pneumatic::pack2Switch>>, kImageBright),
        iconElement(kGasperLight, 1429, 488, lamp<offLight<&Pneumatic::gasperFanSwitch>>,
                    kImageBright),
        iconElement(kRecirculationLight, 1430, 394, lamp<offLight<&Pneumatic::recirculationSwitch>>,
                    kImageBright),
        iconElement(kBleedAirKnob, 1404, 555, knobIcon<&Pneumatic::crossBleedKnob>),
        needle(kCockpitDayNeedle, 1358, 400,
               selectorNeedle<&Pneumatic::cockpitTemperatureSelected, false>),
        needle(kCockpitNightNeedle, 1358, 400,
               selectorNeedle<&Pneumatic::cockpitTemperatureSelected, true>),
        needle(kCabinDayNeedle, 1525, 400,
               selectorNeedle<&Pneumatic::cabinTemperatureSelected, false>),
        needle(kCabinNightNeedle, 1525, 400,
               selectorNeedle<&Pneumatic::cabinTemperatureSelected, true>),
        iconElement(kPitot1Light, 1434, 158, lamp<offLight<&Pneumatic::pitot1Switch>>,
                    kImageBright),
        iconElement(kPitot3Light, 1487, 158, lamp<offLight<&Pneumatic::pitot3Switch>>,
                    kImageBright),
        iconElement(kPitot2Light, 1539, 158, lamp<offLight<&Pneumatic::pitot2Switch>>,
                    kImageBright),
        iconElement(kEngine1AntiIceLight, 1323, 62,
                    lamp<offLight<&Pneumatic::engine1AntiIceSwitch>>, kImageBright),
        iconElement(kEngine1OpenLight, 1326, 55, lamp<&engine1OpenLight>, kImageBright),
        iconElement(kEngine2AntiIceLight, 1375, 62,
                    lamp<offLight<&Pneumatic::engine2AntiIceSwitch>>, kImageBright),
        iconElement(kEngine2OpenLight, 1383, 55, lamp<&engine2OpenLight>, kImageBright),
        iconElement(kWingAntiIceLight, 1451, 62, lamp<offLight<&Pneumatic::wingAntiIceSwitch>>,
                    kImageBright),
        iconElement(
            kWingOpenLight, 1451, 55,
            lamp<&surfaceOpenLight<&Pneumatic::wingAntiIceSwitch, &Pneumatic::wingAntiIceOn>>,
            kImageBright),
        iconElement(kStabAntiIceLight, 1523, 62, lamp<offLight<&Pneumatic::stabAntiIceSwitch>>,
                    kImageBright),
        iconElement(
            kStabOpenLight, 1523, 55,
            lamp<&surfaceOpenLight<&Pneumatic::stabAntiIceSwitch, &Pneumatic::stabAntiIceOn>>,
            kImageBright),
        iconElement(kWindshield1Light, 1311, 158, lamp<offLight<&Pneumatic::windshield1AntiIce>>,
                    kImageBright),
        iconElement(kWindshield2Light, 1362, 158, lamp<offLight<&Pneumatic::windshield2AntiIce>>,
                    kImageBright),
        iconElement(kOverrideKnob, 1327, 248, knobIcon<&Pneumatic::antiIceOverrideKnob>),
        iconElement(kIceTestKnob, 1482, 248, knobIcon<&Pneumatic::iceDetectionTestKnob>),
    };
}

template <int32_t step>
constexpr auto bleedAirKnob =
    &controlHandler<&stepKnob<pneumatic<&Pneumatic::crossBleedKnob>, step>>;
template <int32_t step>
constexpr auto overrideKnob =
    &controlHandler<&stepKnob<pneumatic<&Pneumatic::antiIceOverrideKnob>, step>>;

std::vector<Control> airConditioningControls() {
    return {
        pushButtonControl({1322, 644, 50, 50}, "BLEED 1", kBleed1Tip,
                          pushHandler<&Pneumatic::bleed1Switch>),
        pushButtonControl({1508, 644, 50, 50}, "BLEED 2", kBleed2Tip,
                          pushHandler<&Pneumatic::bleed2Switch>),
        pushButtonControl({1429, 644, 50, 50}, "APU BLEED", kApuBleedTip,
                          pushHandler<&Pneumatic::apuBleedSwitch>),
        pushButtonControl({1322, 469, 50, 50}, "PACK 1", kPack1Tip,
                          pushHandler<&Pneumatic::pack1Switch>),
        pushButtonControl({1511, 469, 50, 50}, "PACK 2", kPack2Tip,
                          pushHandler<&Pneumatic::pack2Switch>),
        pushButtonControl({1416, 469, 50, 50}, "GASPER FAN", kGasperTip,
                          pushHandler<&Pneumatic::gasperFanSwitch>),
        pushButtonControl({1416, 375, 50, 50}, "RECIRC", kRecirculationTip,
                          pushHandler<&Pneumatic::recirculationSwitch>),
        knob({1411, 558, 55, 55}, "XBLEED", {"CLOSED", "AUTO", "OPEN"}, kBleedAirTip,
             bleedAirKnob<-1>, bleedAirKnob<1>),
        selector({1337, 379, 41, 41}, "COCKPIT", {"C", nullptr, "H"}, kCockpitTemperatureTip,
                 cockpitSelector<-1>, cockpitSelector<1>, kHeld),
        selector({1504, 379, 41, 41}, "CABIN", {"C", nullptr, "H"}, kCabinTemperatureTip,
                 cabinSelector<-1>, cabinSelector<1>, kHeld),
        pushButtonControl({1425, 138, 50, 50}, "PITOT 1", kPitot1Tip,
                          pushHandler<&Pneumatic::pitot1Switch>),
        pushButtonControl({1477, 138, 50, 50}, "PITOT 3", kPitot3Tip,
                          pushHandler<&Pneumatic::pitot3Switch>),
        pushButtonControl({1530, 138, 50, 50}, "PITOT 2", kPitot2Tip,
                          pushHandler<&Pneumatic::pitot2Switch>),
        pushButtonControl({1315, 41, 50, 50}, "ENG 1", kEngine1AntiIceTip,
                          pushHandler<&Pneumatic::engine1AntiIceSwitch>),
        pushButtonControl({1372, 41, 50, 50}, "ENG 2", kEngine2AntiIceTip,
                          pushHandler<&Pneumatic::engine2AntiIceSwitch>),
        pushButtonControl({1436, 41, 50, 50}, "WING", kWingAntiIceTip,
                          pushHandler<&Pneumatic::wingAntiIceSwitch>),
        pushButtonControl({1515, 41, 50, 50}, "STAB", kStabAntiIceTip,
                          pushHandler<&Pneumatic::stabAntiIceSwitch>),
        pushButtonControl({1302, 138, 50, 50}, "WSHLD 1", kWindshield1Tip,
                          pushHandler<&Pneumatic::windshield1AntiIce>),
        pushButtonControl({1355, 138, 50, 50}, "WSHLD 2", kWindshield2Tip,
                          pushHandler<&Pneumatic::windshield2AntiIce>),
        knob({1334, 251, 55, 55}, "OVERRIDE", {"ENG", "AUTO", "ALL"}, kOverrideTip,
             overrideKnob<-1>, overrideKnob<1>),
        knob({1489, 251, 55, 55}, "ICE DET TEST", {"SYS 1", "OFF", "SYS 2"}, kIceTestTip,
             &controlHandler<&holdIceTest<Pneumatic::kTestSystem1>>,
             &controlHandler<&holdIceTest<Pneumatic::kTestSystem2>>, kSprung),
    };
}

} // namespace

Area airConditioningArea() {
    return {{}, airConditioningElements(), airConditioningControls()};
}

} // namespace tavi::overhead
