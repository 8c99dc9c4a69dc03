#include "airframe/Fadec.h"
#include "airframe/FuelSystem.h"
#include "airframe/JetEngine.h"
#include "gauges/OverheadArtwork.h"
#include "gauges/OverheadControls.h"

// The middle of the overhead panel: each engine's ignition, FADEC control and guarded engine
// control knob, the takeoff data entry, and the fuel panel's pump switches, pump selectors and
// cross-feed knob.
namespace tavi::overhead {

namespace {

using platform::Artwork;
using platform::Tooltip;
using platform::TooltipArgument;

template <auto engine, auto member>
constexpr auto engineField = &fieldOf<engine, member>;

template <auto engine, auto member>
constexpr auto engineState = &stateOf<engineField<engine, member>>;

template <auto member>
constexpr auto fuelField = &fieldOf<&Aircraft::fuelSystem, member>;

template <auto member>
constexpr auto fuelState = &stateOf<fuelField<member>>;

constexpr auto kEngine1 = &Aircraft::engine1;
constexpr auto kEngine2 = &Aircraft::engine2;

// ---- Engines.

// The FADEC control knob's operation runs on every click, also at an end stop.
template <auto engine, int32_t step>
bool turnFadecControl(Aircraft& aircraft, uint32_t) {
    JetEngine* system = (aircraft.*engine)();
    if (!system) {
        return false;
    }
    system->setFadecControl(aircraft,
                            std::clamp(system->fadecControlKnob + step, int32_t{JetEngine::kReset},
                                       int32_t{JetEngine::kAlternate}));
    playClick(aircraft, kClickKnob);
    return true;
}

template <auto engine, int32_t step>
bool turnEngineControl(Aircraft& aircraft, uint32_t) {
    JetEngine* system = (aircraft.*engine)();
    if (!system) {
        return false;
    }
    if (step > 0) {
        system->engineControlUp(aircraft);
    } else {
        system->setEngineControl(
            aircraft, std::max(system->engineControlKnob - 1, int32_t{JetEngine::kStop}));
    }
    playClick(aircraft, kClickKnob);
    return true;
}

template <auto engine, int32_t step>
constexpr auto ignitionKnob =
    &controlHandler<&stepKnob<engineField<engine, &JetEngine::ignitionKnob>, step>>;
template <auto engine, int32_t step>
constexpr auto fadecControlKnob = &controlHandler<&turnFadecControl<engine, step>>;
template <auto engine, int32_t step>
constexpr auto engineControlKnob = &controlHandler<
    &guarded<engineField<engine, &JetEngine::guardOpen>, &turnEngineControl<engine, step>>>;

// ---- Takeoff data.

// A right click turns the set knob by 5, a left click by 1.
template <int32_t direction>
bool setTakeoffData(Aircraft& aircraft, uint32_t flags) {
    Fadec* fadec = aircraft.fadec();
    if (!fadec) {
        return false;
    }
    fadec->takeoffDataSet(aircraft, direction * (isRightClick(flags) ? 5 : 1));
    return true;
}

bool storeTakeoffData(Aircraft& aircraft, uint32_t) {
    Fadec* fadec = aircraft.fadec();
    if (!fadec) {
        return false;
    }
    fadec->takeoffDataStore();
    playClick(aircraft, kClickPushButton);
    return true;
}

std::optional<double> takeoffKnobAngle(Aircraft& aircraft) {
    const Fadec* fadec = aircraft.fadec();
    return fadec ? std::optional<double>(fadec->knobAngle) : std::nullopt;
}

// ---- Fuel.

template <void (FuelSystem::*set)(bool), bool on>
bool setFuelPump(Aircraft& aircraft, uint32_t) {
    FuelSystem* fuel = aircraft.fuelSystem();
    if (!fuel) {
        return false;
    }
    (fuel->*set)(on);
    playClick(aircraft, kClickKnob);
    return true;
}

template <void (FuelSystem::*turn)()>
bool turnCrossfeed(Aircraft& aircraft, uint32_t) {
    FuelSystem* fuel = aircraft.fuelSystem();
    if (!fuel) {
        return false;
    }
    (fuel->*turn)();
    playClick(aircraft, kClickKnob);
    return true;
}

template <int32_t FuelSystem::*selector, int32_t step>
constexpr auto pumpSelector = &controlHandler<&stepKnob<fuelField<selector>, step>>;

// Off stands in the middle, Right to Left to the left and Left to Right to the right.
double crossfeedIndex(int position, int lit) {
    const int knobPosition = position == FuelSystem::kRightToLeft   ? 0
                             : position == FuelSystem::kLeftToRight ? 2
                                                                    : 1;
    return threePositionKnobIcon(knobPosition, lit);
}

// ---- The guard over the engine control knob.

double guardIndex(int open, int lit) {
    return open + 2 * lit;
}

// The flap of the guard hides while the guard is open.
template <auto engine>
double guardFlapIcon(GaugeElement& element) {
    Aircraft* aircraft = readyAircraft();
    const JetEngine* system = aircraft ? (aircraft->*engine)() : nullptr;
    if (!system) {
        return 0.0;
    }
    const int lit = panelLit(*aircraft);
    showOnlyIn(element, !system->guardOpen);
    setBright(element, lit != 0);
    return lit;
}

// ---- Tooltips.

constexpr std::array<const char*, 3> kFadecControlWords{"Reset", "Neutral", "Alternate"};
constexpr std::array<const char*, 3> kEngineControlWords{"Stop", "Run", "Start"};
constexpr std::array<const char*, 4> kCrossfeedWords{nullptr, "Off", "Left to Right",
                                                     "Right to Left"};
constexpr std::array<const char*, 3> kPumpSelectorWords{"A", "B", "C"};

const std::vector<TooltipArgument> kIgnitionArgs{
    textArgument<engineState<kEngine1, &JetEngine::ignitionKnob>, kOffAutoOn>(),
    textArgument<engineState<kEngine2, &JetEngine::ignitionKnob>, kOffAutoOn>()};
const std::vector<TooltipArgument> kFadecControlArgs{
    textArgument<engineState<kEngine1, &JetEngine::fadecControlKnob>, kFadecControlWords>(),
    textArgument<engineState<kEngine2, &JetEngine::fadecControlKnob>, kFadecControlWords>()};
const std::vector<TooltipArgument> kEngineControlArgs{
    textArgument<engineState<kEngine1, &JetEngine::engineControlKnob>, kEngineControlWords>(),
    textArgument<engineState<kEngine2, &JetEngine::engineControlKnob>, kEngineControlWords>()};

const Tooltip kIgnition1Tip{"Engine 1 Ignition (%1!s!)", &kIgnitionArgs};
const Tooltip kIgnition2Tip{"Engine 2 Ignition (%2!s!)", &kIgnitionArgs};
const Tooltip kFadecControl1Tip{"Engine 1 FADEC Control (%1!s!)", &kFadecControlArgs};
const Tooltip kFadecControl2Tip{"Engine 2 FADEC Control (%2!s!)", &kFadecControlArgs};
const Tooltip kTakeoffSetTip{"Takeoff Data Set", nullptr};
const Tooltip kTakeoffStoreTip{"Takeoff Data Store", nullptr};
const Tooltip kEngineControl1Tip{"Engine 1 Control (%1!s!)", &kEngineControlArgs};
const Tooltip kEngineControl2Tip{"Engine 2 Control (%2!s!)", &kEngineControlArgs};
const Tooltip kFuelPump1Tip{"Fuel Pump 1 Power (%1!s!)",
                            &stateWord<fuelState<&FuelSystem::pump1Switch>, kOffOn>};
const Tooltip kFuelPump2Tip{"Fuel Pump 2 Power (%1!s!)",
                            &stateWord<fuelState<&FuelSystem::pump2Switch>, kOffOn>};
const Tooltip kCrossfeedTip{"Fuel Cross Feed (%1!s!)",
                            &stateWord<fuelState<&FuelSystem::crossfeedKnob>, kCrossfeedWords>};
const Tooltip kPumpSelector1Tip{
    "Fuel Pump Selector 1 (%1!s!)",
    &stateWord<fuelState<&FuelSystem::pumpSelector1>, kPumpSelectorWords>};
const Tooltip kPumpSelector2Tip{
    "Fuel Pump Selector 2 (%1!s!)",
    &stateWord<fuelState<&FuelSystem::pumpSelector2>, kPumpSelectorWords>};

// ---- Elements.

constexpr Artwork kEngine1Overlay{"Overhead engine 1 lighting", 150,       290, 8,
                                  paintLightingOverlay,         "ENGINE 1"};
constexpr Artwork kEngine2Overlay{"Overhead engine 2 lighting", 150,       290, 8,
                                  paintLightingOverlay,         "ENGINE 2"};
constexpr Artwork kIgnition1Knob = knobArtwork("Overhead engine 1 ignition knob");
constexpr Artwork kIgnition2Knob = knobArtwork("Overhead engine 2 ignition knob");
constexpr Artwork kFadecControl1Knob = knobArtwork("Overhead engine 1 FADEC control knob");
constexpr Artwork kFadecControl2Knob = knobArtwork("Overhead engine 2 FADEC control knob");
constexpr Artwork kTakeoffDayNeedle{"Overhead takeoff data needle", 40, 40, 1, paintDayPointer, ""};
constexpr Artwork kTakeoffNightNeedle{
    "Overhead takeoff data night needle", 40, 40, 1, paintNightPointer, ""};
constexpr Artwork kEngine1Guard{"Overhead engine 1 control guard", 150, 100, 4, paintKnobGuard, ""};
constexpr Artwork kEngine2Guard{"Overhead engine 2 control guard", 150, 100, 4, paintKnobGuard, ""};
constexpr Artwork kEngineControl1Knob = knobArtwork("Overhead engine 1 control knob");
constexpr Artwork kEngineControl2Knob = knobArtwork("Overhead engine 2 control knob");
constexpr Artwork kEngine1GuardFlap{
    "Overhead engine 1 control guard flap", 26, 34, 2, paintGuardFlap, ""};
constexpr Artwork kEngine2GuardFlap{
    "Overhead engine 2 control guard flap", 26, 34, 2, paintGuardFlap, ""};
constexpr Artwork kFuelPump1Switch = toggleArtwork("Overhead fuel pump 1 switch");
constexpr Artwork kFuelPump2Switch = toggleArtwork("Overhead fuel pump 2 switch");
constexpr Artwork kCrossfeedKnob = knobArtwork("Overhead fuel cross-feed knob");
constexpr Artwork kPumpSelector1Knob = knobArtwork("Overhead fuel pump selector 1");
constexpr Artwork kPumpSelector2Knob = knobArtwork("Overhead fuel pump selector 2");

template <auto state>
constexpr auto knobIcon = &litIcon<state, &threePositionKnobIcon>;

std::vector<GaugeElement> engineAndFuelElements() {
    return {
        iconElement(kIgnition1Knob, 686, 330,
                    knobIcon<engineState<kEngine1, &JetEngine::ignitionKnob>>),
        iconElement(kIgnition2Knob, 841, 330,
                    knobIcon<engineState<kEngine2, &JetEngine::ignitionKnob>>),
        iconElement(kFadecControl1Knob, 686, 430,
                    knobIcon<engineState<kEngine1, &JetEngine::fadecControlKnob>>),
        iconElement(kFadecControl2Knob, 841, 430,
                    knobIcon<engineState<kEngine2, &JetEngine::fadecControlKnob>>),
        needle(kTakeoffDayNeedle, 875, 561, &twinNeedle<&takeoffKnobAngle, false>),
        needle(kTakeoffNightNeedle, 875, 561, &twinNeedle<&takeoffKnobAngle, true>),
        iconElement(kEngine1Guard, 656, 604,
                    &litIcon<engineState<kEngine1, &JetEngine::guardOpen>, &guardIndex>),
        iconElement(kEngine2Guard, 802, 604,
                    &litIcon<engineState<kEngine2, &JetEngine::guardOpen>, &guardIndex>),
        iconElement(kEngineControl1Knob, 686, 636,
                    knobIcon<engineState<kEngine1, &JetEngine::engineControlKnob>>),
        iconElement(kEngineControl2Knob, 841, 636,
                    knobIcon<engineState<kEngine2, &JetEngine::engineControlKnob>>),
        iconElement(kEngine1GuardFlap, 708, 650, &guardFlapIcon<kEngine1>),
        iconElement(kEngine2GuardFlap, 861, 650, &guardFlapIcon<kEngine2>),
        iconElement(kFuelPump1Switch, 379, 498,
                    &litIcon<fuelState<&FuelSystem::pump1Switch>, &switchIndex>),
        iconElement(kFuelPump2Switch, 518, 498,
                    &litIcon<fuelState<&FuelSystem::pump2Switch>, &switchIndex>),
        iconElement(kCrossfeedKnob, 448, 337,
                    &litIcon<fuelState<&FuelSystem::crossfeedKnob>, &crossfeedIndex>),
        iconElement(kPumpSelector1Knob, 379, 409, knobIcon<fuelState<&FuelSystem::pumpSelector1>>),
        iconElement(kPumpSelector2Knob, 518, 409, knobIcon<fuelState<&FuelSystem::pumpSelector2>>),
    };
}

constexpr uint32_t kBothButtons = platform::kMouseLeftSingle | platform::kMouseRightSingle;

std::vector<Control> engineAndFuelControls() {
    return {
        knob({693, 333, 55, 55}, "IGNITION", {"OFF", "AUTO", "ON"}, kIgnition1Tip,
             ignitionKnob<kEngine1, -1>, ignitionKnob<kEngine1, 1>),
        knob({848, 333, 55, 55}, "IGNITION", {"OFF", "AUTO", "ON"}, kIgnition2Tip,
             ignitionKnob<kEngine2, -1>, ignitionKnob<kEngine2, 1>),
        knob({693, 433, 55, 55}, "FADEC", {"RESET", "NEUTRAL", "ALTN"}, kFadecControl1Tip,
             fadecControlKnob<kEngine1, -1>, fadecControlKnob<kEngine1, 1>),
        knob({848, 433, 55, 55}, "FADEC", {"RESET", "NEUTRAL", "ALTN"}, kFadecControl2Tip,
             fadecControlKnob<kEngine2, -1>, fadecControlKnob<kEngine2, 1>),
        springKnob({854, 540, 41, 41}, "TO DATA SET", kTakeoffSetTip,
                   &controlHandler<&setTakeoffData<-1>>, &controlHandler<&setTakeoffData<1>>,
                   kBothButtons | platform::kMouseRepeat),
        pushButtonControl({697, 530, 50, 50}, "TO DATA STORE", kTakeoffStoreTip,
                          &controlHandler<&storeTakeoffData>),
        knob({693, 638, 55, 55}, "ENG 1", {"STOP", "RUN", "START"}, kEngineControl1Tip,
             engineControlKnob<kEngine1, -1>, engineControlKnob<kEngine1, 1>, kBothButtons),
        knob({848, 638, 55, 55}, "ENG 2", {"STOP", "RUN", "START"}, kEngineControl2Tip,
             engineControlKnob<kEngine2, -1>, engineControlKnob<kEngine2, 1>, kBothButtons),
        knob({386, 501, 55, 55}, "PUMP 1", {"OFF", nullptr, "ON"}, kFuelPump1Tip,
             &controlHandler<&setFuelPump<&FuelSystem::setFuelPump1, false>>,
             &controlHandler<&setFuelPump<&FuelSystem::setFuelPump1, true>>),
        knob({525, 501, 55, 55}, "PUMP 2", {"OFF", nullptr, "ON"}, kFuelPump2Tip,
             &controlHandler<&setFuelPump<&FuelSystem::setFuelPump2, false>>,
             &controlHandler<&setFuelPump<&FuelSystem::setFuelPump2, true>>),
        knob({455, 340, 55, 55}, "XFEED", {"R TO L", "OFF", "L TO R"}, kCrossfeedTip,
             &controlHandler<&turnCrossfeed<&FuelSystem::crossfeedKnobDown>>,
             &controlHandler<&turnCrossfeed<&FuelSystem::crossfeedKnobUp>>),
        knob({386, 412, 55, 55}, "PUMP SEL 1", {"A", "B", "C"}, kPumpSelector1Tip,
             pumpSelector<&FuelSystem::pumpSelector1, -1>,
             pumpSelector<&FuelSystem::pumpSelector1, 1>),
        knob({525, 412, 55, 55}, "PUMP SEL 2", {"A", "B", "C"}, kPumpSelector2Tip,
             pumpSelector<&FuelSystem::pumpSelector2, -1>,
             pumpSelector<&FuelSystem::pumpSelector2, 1>),
    };
}

} // namespace

Area engineAndFuelArea() {
    return {{iconElement(kEngine1Overlay, 680, 0, &lightingIcon<4>),
             iconElement(kEngine2Overlay, 857, 0, &lightingIcon<4>)},
            engineAndFuelElements(),
            engineAndFuelControls()};
}

} // namespace tavi::overhead
