#pragma once

#include "core/Aircraft.h"
#include "gauges/GaugeRules.h"
#include "platform/gfx/Canvas.h"
#include "platform/panel/Gauge.h"

#include <cstdint>
#include <string_view>
#include <type_traits>
#include <vector>

namespace tavi {

// The building blocks the panel gauges share: the readiness rule around every callback, the
// element and mouse-control records, the copies the main panel carries, and the drawing of
// keys and knobs on the panel faces.

// Runs the action with the aircraft once it is ready: true after acting, false before.
template <typename Action>
bool actOnAircraft(Action action) {
    Aircraft* aircraft = readyAircraft();
    if (!aircraft) {
        return false;
    }
    action(*aircraft);
    return true;
}

// Runs the action on one system of the ready aircraft, with the aircraft where the operation
// takes it too; a missing system reads as not ready.
template <typename System, typename Action>
bool actOn(System* (Aircraft::*accessor)() const, Action action) {
    Aircraft* aircraft = readyAircraft();
    System* system = aircraft ? (aircraft->*accessor)() : nullptr;
    if (!system) {
        return false;
    }
    if constexpr (std::is_invocable_v<Action, System&, Aircraft&>) {
        action(*system, *aircraft);
    } else {
        action(*system);
    }
    return true;
}

// An operation of a control on the ready aircraft: false when the system it acts on is absent.
using ControlAction = bool (*)(Aircraft& aircraft, uint32_t flags);

// The mouse handler of the operation: it acts only on the ready aircraft, and answers false
// while the aircraft is not ready or the system absent.
template <ControlAction action>
bool controlHandler(int, int, uint32_t flags) {
    Aircraft* aircraft = readyAircraft();
    return aircraft && action(*aircraft, flags);
}

// A guarded control: its cover (null while its system is absent) takes the right click, without
// a sound; the control acts on a left click only while the cover is open.
template <auto cover, ControlAction action>
bool guarded(Aircraft& aircraft, uint32_t flags) {
    bool* open = cover(aircraft);
    if (!open) {
        return false;
    }
    if (isRightClick(flags)) {
        *open = !*open;
        return true;
    }
    return !*open || action(aircraft, flags);
}

// The screen of the display slot as its own class, or null.
template <typename Screen>
Screen* screenOf(const Aircraft& aircraft, int displayId) {
    return dynamic_cast<Screen*>(aircraft.display(displayId));
}

// An element callback's value: 0 before the aircraft is ready (the flags then stay as they are).
template <typename Value>
double readyValue(Value value) {
    const Aircraft* aircraft = readyAircraft();
    return aircraft ? value(*aircraft) : 0.0;
}

// A tooltip text callback's text: none before the aircraft is ready.
template <typename Text>
const char* readyText(Text text) {
    const Aircraft* aircraft = readyAircraft();
    return aircraft ? text(*aircraft) : nullptr;
}

// The lighting state of the panels (0 dark, 1 panel lights, 2 flood lights).
int lightingLook(const Aircraft& aircraft);
// The looks an image is shown in: one lighting state, or (kAnyLitLook) the panel or flood
// lights.
inline constexpr int kAnyLitLook = 3;
bool inLook(const Aircraft& aircraft, int look);
// Hides the element unless it is the look shown: the day and night twins of a needle or moving
// image, and the main panel's three looks of one.
void showOnlyIn(platform::GaugeElement& element, bool shown);

// Elements.
platform::GaugeElement staticImage(const platform::Artwork& artwork, int x, int y,
                                   uint32_t flags = 0);
platform::GaugeElement iconElement(const platform::Artwork& artwork, int x, int y,
                                   platform::ElementValue value, uint32_t flags = 0);
// A lamp: an icon declared bright.
platform::GaugeElement lampElement(const platform::Artwork& artwork, int x, int y,
                                   platform::ElementValue value);
platform::GaugeElement needleElement(const platform::Artwork& artwork, int x, int y, int pivotX,
                                     int pivotY, double maxDegreesPerSecond,
                                     platform::ElementValue value);
struct MovingRange {
    double minX = 0.0;
    double maxX = 0.0;
    double minY = 0.0;
    double maxY = 0.0;
};
platform::GaugeElement movingElement(const platform::Artwork& artwork, int x, int y,
                                     const MovingRange& range, platform::ElementValue valueX,
                                     platform::ElementValue valueY);
// A gauge's root image with the background icon as its only child (dark 0, lit 1 with the
// bright flag); the children go under the icon.
platform::GaugeElement panelRoot(const platform::Artwork& image, const platform::Artwork& icon,
                                 std::vector<platform::GaugeElement> children);

// Mouse controls.
platform::MouseArea wholeArea(int width, int height, platform::MouseHandler handler,
                              uint32_t events = platform::kMouseLeftSingle,
                              platform::Cursor cursor = platform::Cursor::Hand);
// A knob split into a left (down cursor, decrement) and a right half (up cursor, increment).
std::vector<platform::MouseArea> knobHalves(int width, int height, platform::MouseHandler decrement,
                                            platform::MouseHandler increment, uint32_t events);
// A knob split into an upper (down cursor) and a lower half (up cursor).
std::vector<platform::MouseArea> knobUpperLower(int width, int height, platform::MouseHandler upper,
                                                platform::MouseHandler lower, uint32_t events);
platform::MouseControl mouseControl(int x, int y, int width, int height,
                                    const platform::Tooltip* tooltip,
                                    std::vector<platform::MouseArea> areas);
// A push button taking the left click over its whole rectangle.
platform::MouseControl pushButton(int x, int y, int width, int height,
                                  const platform::Tooltip* tooltip, platform::MouseHandler handler);

// The main panel's copies of a gauge's controls and elements, moved by an offset.
std::vector<platform::MouseControl> shiftedControls(std::vector<platform::MouseControl> controls,
                                                    int dx, int dy);
std::vector<platform::GaugeElement> shiftedElements(std::vector<platform::GaugeElement> elements,
                                                    int dx, int dy);

// Mouse flags: the click with the held repeat, and the events of a spring-loaded key.
inline constexpr uint32_t kLeftRepeat = platform::kMouseLeftSingle | platform::kMouseRepeat;
inline constexpr uint32_t kBothRepeat =
    platform::kMouseLeftSingle | platform::kMouseRightSingle | platform::kMouseRepeat;
inline constexpr uint32_t kBothClicks = platform::kMouseLeftSingle | platform::kMouseRightSingle;
inline constexpr uint32_t kSpringKey =
    kLeftRepeat | platform::kMouseLeftRelease | platform::kMouseLeave;

// "On" / "Off".
const char* onOffText(bool on);

// Drawing of the panel faces, in the gauge's design pixels.
platform::gfx::Argb faceColour(bool lit);
platform::gfx::Argb engravingColour(bool lit);
void drawFace(platform::gfx::Canvas& canvas, const platform::Artwork& artwork, bool lit);
void drawEngraving(platform::gfx::Canvas& canvas, std::string_view text, double centreX, double y,
                   double size, bool lit);
void drawKey(platform::gfx::Canvas& canvas, const platform::gfx::RectF& rect,
             std::string_view label, bool lit);
void drawKnob(platform::gfx::Canvas& canvas, const platform::gfx::RectF& rect, bool lit);
void paintBlank(platform::gfx::Canvas& canvas, const platform::Artwork& artwork, int frame);
// A push button with its label: frame 0 dark, any other frame lit by its lamp (green for 1,
// the arrows' own frames 2 and up alike).
void paintLampButton(platform::gfx::Canvas& canvas, const platform::Artwork& artwork, int frame);

} // namespace tavi
