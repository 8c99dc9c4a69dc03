#pragma once

#include "platform/gfx/Canvas.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>

// What the radio management unit's pages share: colours, pens, and how values become whole
// numbers and indications.
namespace tavi::rmu {

using platform::gfx::Argb;
using platform::gfx::Pen;

constexpr Argb kWhite = 0xFFFFFFFF;
constexpr Argb kLineWhite = 0xFFF5F5F5;
constexpr Argb kGreen = 0xFF00FF00;
constexpr Argb kYellow = 0xFFFFFF00;
constexpr Argb kMagenta = 0xFFFF80FF;
constexpr Argb kRed = 0xFFFF0000;
constexpr Argb kAmber = 0xFFF8DF23;
constexpr Argb kCyan = 0xFF00FFFF;
constexpr Argb kYellowGreen = 0xFFADFF2F;

constexpr Pen kWhitePen{kLineWhite, 2.0};
constexpr Pen kWideWhitePen{kLineWhite, 3.0};
constexpr Pen kRedPen{kRed, 2.0};
constexpr Pen kGreenPen{kGreen, 2.0};
constexpr Pen kWideGreenPen{kGreen, 4.0};
constexpr Pen kAmberPen{kAmber, 2.0};
constexpr Pen kCursorPen{kYellow, 2.0};
constexpr Pen kMagentaPen{kMagenta, 2.0};
constexpr Pen kWideMagentaPen{kMagenta, 3.0};
constexpr Pen kWideCyanPen{kCyan, 3.0};

// The value truncated toward zero; a value that is no number shows as 0 and one beyond the
// digits a readout holds stops at its limit, rather than reaching the conversion undefined.
inline int32_t truncated(float value) {
    if (!std::isfinite(value)) {
        return 0;
    }
    constexpr float kLimit = 999999.0f;
    return static_cast<int32_t>(std::fmax(-kLimit, std::fmin(kLimit, value)));
}

// All three gear legs read down and locked.
inline bool gearDownAndLocked(const std::array<int32_t, 3>& legs) {
    constexpr int32_t kDownAndLocked = 16383;
    return std::all_of(legs.begin(), legs.end(), [](int32_t leg) { return leg == kDownAndLocked; });
}

} // namespace tavi::rmu
