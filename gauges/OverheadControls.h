#pragma once

#include "core/Aircraft.h"
#include "gauges/ControlArtwork.h"
#include "gauges/GaugeRules.h"
#include "gauges/PanelParts.h"
#include "platform/panel/Gauge.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <optional>
#include <vector>

// The pieces the four areas of the overhead panel build their controls from: where a control's
// state lives, the handlers, tooltip texts and icon indexes of the kinds of control, and the
// records that place a control on the panel.
namespace tavi::overhead {

using platform::GaugeElement;

// A state read for a tooltip or an icon: a switch (0 or 1), a knob's position, or a light
// (1 lit); kUnknown while the system it belongs to is absent.
inline constexpr int kUnknown = -1;
using State = int (*)(Aircraft& aircraft);

// ---- Where a control's state lives: null while its system is absent.

template <auto accessor, auto member>
auto* fieldOf(Aircraft& aircraft) {
    auto* system = (aircraft.*accessor)();
    return system ? &(system->*member) : nullptr;
}

// A field of a part the system holds (a battery, a generator, the APU).
template <auto accessor, auto part, auto member>
auto* partFieldOf(Aircraft& aircraft) {
    auto* system = (aircraft.*accessor)();
    return system ? &((system->*part).*member) : nullptr;
}

template <auto field>
int stateOf(Aircraft& aircraft) {
    const auto* value = field(aircraft);
    return value ? static_cast<int>(*value) : kUnknown;
}

// ---- Handlers (made mouse handlers by controlHandler).

template <auto field, PanelClick click>
bool toggle(Aircraft& aircraft, uint32_t) {
    bool* value = field(aircraft);
    if (!value) {
        return false;
    }
    *value = !*value;
    playClick(aircraft, click);
    return true;
}

// A knob of positions 0..2 that stops at its ends and clicks on every step, also at an end.
template <auto field, int32_t step>
bool stepKnob(Aircraft& aircraft, uint32_t) {
    int32_t* position = field(aircraft);
    if (!position) {
        return false;
    }
    *position = std::clamp(*position + step, int32_t{0}, int32_t{2});
    playClick(aircraft, kClickKnob);
    return true;
}

// ---- Tooltip texts and numbers.

inline constexpr std::array<const char*, 2> kOffOn{"Off", "On"};
inline constexpr std::array<const char*, 2> kClosedOpen{"Closed", "Open"};
inline constexpr std::array<const char*, 3> kOffAutoOn{"Off", "Auto", "On"};
inline constexpr std::array<const char*, 3> kOffAutoOverride{"Off", "Auto", "Override"};

// The word of the state, or no text while the aircraft is not ready or the state unknown.
template <State state, const auto& words>
const char* stateText() {
    Aircraft* aircraft = readyAircraft();
    const int value = aircraft ? state(*aircraft) : kUnknown;
    return value >= 0 && value < static_cast<int>(words.size()) ? words[value] : nullptr;
}

template <State state, const auto& words>
platform::TooltipArgument textArgument() {
    return {.text = &stateText<state, words>, .number = nullptr};
}

// The argument array of a tooltip that shows one state's word.
template <State state, const auto& words>
inline const std::vector<platform::TooltipArgument> stateWord{textArgument<state, words>()};

// ---- Icon indexes.

// An annunciator: lit while its state (which holds its power rule) is 1.
template <State state>
double lampIcon(GaugeElement&) {
    Aircraft* aircraft = readyAircraft();
    return aircraft && state(*aircraft) == 1 ? 1.0 : 0.0;
}

// An icon with a lit look: its index from the state and the panel lights, the bright flag set
// while the panel lights are on.
using LitIndex = double (*)(int state, int lit);

template <State state, LitIndex index>
double litIcon(GaugeElement& element) {
    Aircraft* aircraft = readyAircraft();
    const int value = aircraft ? state(*aircraft) : kUnknown;
    if (value == kUnknown) {
        return 0.0;
    }
    const int lit = panelLit(*aircraft);
    setBright(element, lit != 0);
    return index(value, lit);
}

double switchIndex(int on, int lit);
// The state of a guarded button is its light + 2 while its cover is open.
double guardedIndex(int state, int lit);
int guardedState(bool light, bool coverOpen);

// A lighting overlay or background: the given image and the bright flag while the panel lights
// are on, image 0 otherwise.
template <int litImage>
double lightingIcon(GaugeElement& element) {
    return litImageIcon(element, litImage);
}

// A needle of a day and night pair: the day needle hides while the panel lights are on, the
// night needle while they are off.
using Angle = std::optional<double> (*)(Aircraft& aircraft);

template <Angle angle, bool night>
double twinNeedle(GaugeElement& element) {
    Aircraft* aircraft = readyAircraft();
    const std::optional<double> degrees = aircraft ? angle(*aircraft) : std::nullopt;
    if (!degrees) {
        return 0.0;
    }
    showOnlyIn(element, (panelLit(*aircraft) != 0) == night);
    return *degrees;
}

// ---- Placing controls.

struct Box {
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
};

// What the panel's face shows around a control.
enum class Face {
    // A push button's cap under its lights.
    Button,
    // A knob or switch with the words of its positions: first (left or down), middle, last.
    Knob,
    // A selector with its dial, the words at its two ends.
    Dial,
    // A spring-loaded knob turned down or up: its body with "-" and "+".
    Spring,
    // Only the title.
    Title,
};

struct Engraving {
    Box box;
    const char* title = "";
    Face face = Face::Title;
    std::array<const char*, 3> positions{};
};

// One control of the panel: its mouse rectangle and what the panel's face shows around it.
struct Control {
    platform::MouseControl mouse;
    Engraving engraving;
};

// A push button: one rectangle, hand cursor, left click.
Control pushButtonControl(Box box, const char* title, const platform::Tooltip& tooltip,
                          platform::MouseHandler handler);
// A guarded push button: left and right clicks.
Control guardedButton(Box box, const char* title, const platform::Tooltip& tooltip,
                      platform::MouseHandler handler);
// A knob of two halves: the left half (down arrow) turns it down, the right half (up arrow) up.
Control knob(Box box, const char* title, std::array<const char*, 3> positions,
             const platform::Tooltip& tooltip, platform::MouseHandler down,
             platform::MouseHandler up, uint32_t events = platform::kMouseLeftSingle);
// A selector turned by its two halves, with a dial.
Control selector(Box box, const char* title, std::array<const char*, 3> ends,
                 const platform::Tooltip& tooltip, platform::MouseHandler down,
                 platform::MouseHandler up, uint32_t events);
// A spring-loaded knob turned by its two halves.
Control springKnob(Box box, const char* title, const platform::Tooltip& tooltip,
                   platform::MouseHandler down, platform::MouseHandler up, uint32_t events);
// A switch with one rectangle that each click moves to its other position.
Control toggleSwitch(Box box, const char* title, const platform::Tooltip& tooltip,
                     platform::MouseHandler handler);
// A vertical switch of two halves: the upper half (up arrow) moves it up, the lower half (down
// arrow) down.
Control verticalSwitch(Box box, const char* title, std::array<const char*, 3> positions,
                       const platform::Tooltip& tooltip, platform::MouseHandler down,
                       platform::MouseHandler up);

// The looks of the panel's standard parts, each under its own name.
constexpr platform::Artwork lampArtwork(const char* name, const char* legend, int width = 26,
                                        int height = 12) {
    return {name, width, height, 2, paintAnnunciator, legend};
}
constexpr platform::Artwork knobArtwork(const char* name) {
    return {name, 69, 61, 6, paintThreePositionKnob, ""};
}
constexpr platform::Artwork toggleArtwork(const char* name) {
    return {name, 69, 61, 6, paintToggleSwitch, ""};
}
constexpr platform::Artwork lightSwitchArtwork(const char* name) {
    return {name, 27, 50, 4, paintLightSwitch, ""};
}

// A pointer turning about the artwork's centre, placed at (x, y).
GaugeElement needle(const platform::Artwork& artwork, int x, int y, platform::ElementValue value);

// What each area adds to the gauge.
struct Area {
    // The lighting overlays, drawn under every control.
    std::vector<GaugeElement> overlays;
    std::vector<GaugeElement> elements;
    std::vector<Control> controls;
};

Area airConditioningArea();
Area electricalArea();
Area engineAndFuelArea();
Area hydraulicsAndLightsArea();

} // namespace tavi::overhead
