#pragma once

#include "core/Angles.h"

#include <cmath>
#include <numbers>

namespace tavi {

// A wind split along and across a heading (both degrees, the wind's the one it blows from):
// along is positive for a tailwind, across positive for a wind from the left.
struct WindComponents {
    double along = 0.0;
    double across = 0.0;

    static WindComponents of(double windDirection, double windSpeed, double heading) {
        const double angle =
            normalize180(windDirection - heading + 180.0) * std::numbers::pi / 180.0;
        return {windSpeed * std::cos(angle), windSpeed * std::sin(angle)};
    }
};

} // namespace tavi
