#pragma once

#include <algorithm>
#include <cstdint>
#include <initializer_list>

namespace tavi {

// What the flight director's mode logic, guidance and targets share.

// A navigation signal lost for this long drops the mode that flies it.
inline constexpr uint32_t kSignalLossMs = 5000;
// The turn knob's centre position, where it commands no roll.
inline constexpr float kTurnKnobCentre = 0.1f;
inline constexpr uint32_t kVerticalSpeedEvent = 0x101F4;

// A linear schedule between two breakpoints, held at the ends; equal breakpoints give the low
// value.
inline double schedule(double x, double loBreakpoint, double hiBreakpoint, double loValue,
                       double hiValue) {
    if (x <= loBreakpoint || hiBreakpoint <= loBreakpoint) {
        return loValue;
    }
    if (x >= hiBreakpoint) {
        return hiValue;
    }
    return loValue + (hiValue - loValue) * (x - loBreakpoint) / (hiBreakpoint - loBreakpoint);
}

template <typename Mode>
bool isOneOf(Mode mode, std::initializer_list<Mode> modes) {
    return std::find(modes.begin(), modes.end(), mode) != modes.end();
}

} // namespace tavi
