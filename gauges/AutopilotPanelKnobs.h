#pragma once

#include <cstdint>

namespace tavi {

// The knob handlers of the autopilot panel. Each takes the mouse position (unused) and the mouse
// flags of a click: a right click (the flags negative as a signed value) turns by the large
// step, a left click by the small one. They act on the flight director or on a radio side and
// answer 1, or 0 while the aircraft is not initialised.
int32_t apAltitudeKnobInc(int32_t x, int32_t y, uint32_t flags);
int32_t apAltitudeKnobDec(int32_t x, int32_t y, uint32_t flags);
int32_t apSpeedKnobInc(int32_t x, int32_t y, uint32_t flags);
int32_t apSpeedKnobDec(int32_t x, int32_t y, uint32_t flags);
int32_t apSpeedKnobPush(int32_t x, int32_t y, uint32_t flags);
int32_t apHeadingKnobInc(int32_t x, int32_t y, uint32_t flags);
int32_t apHeadingKnobDec(int32_t x, int32_t y, uint32_t flags);
int32_t apHeadingKnobPush(int32_t x, int32_t y, uint32_t flags);
int32_t apCourse1KnobInc(int32_t x, int32_t y, uint32_t flags);
int32_t apCourse1KnobDec(int32_t x, int32_t y, uint32_t flags);
int32_t apCourse1KnobPush(int32_t x, int32_t y, uint32_t flags);
int32_t apCourse2KnobInc(int32_t x, int32_t y, uint32_t flags);
int32_t apCourse2KnobDec(int32_t x, int32_t y, uint32_t flags);
int32_t apCourse2KnobPush(int32_t x, int32_t y, uint32_t flags);

// Mouse flags of a left and of a right click.
inline constexpr uint32_t kLeftClickFlags = 0x20000000;
inline constexpr uint32_t kRightClickFlags = 0x80000000;

} // namespace tavi
