// Small steps that the airframe systems share in their frames.
#pragma once

#include "core/Aircraft.h"

#include <cstdint>
#include <string>

namespace tavi {

// The frame's length in seconds.
inline float frameSeconds(const Aircraft& aircraft) {
    return static_cast<float>(static_cast<uint32_t>(aircraft.frameDeltaMs)) / 1000.0f;
}

// The frame's length in seconds, but 0 for a frame that spans all the simulator's time before
// the module's first frame: nothing burns or wears before the module runs.
inline float runningSeconds(const Aircraft& aircraft) {
    const uint32_t delta = static_cast<uint32_t>(aircraft.frameDeltaMs);
    return aircraft.simTimeMs == delta ? 0.0f : static_cast<float>(delta) / 1000.0f;
}

// Stores the new value and notes whether it differs from the old.
inline void latch(bool& value, bool& changed, bool now) {
    changed = value != now;
    value = now;
}

// The message text when the message is shown, or no message.
inline std::string textWhen(bool shown, const char* text) {
    return shown ? text : std::string();
}

} // namespace tavi
