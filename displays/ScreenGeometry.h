#pragma once

#include "platform/gfx/Canvas.h"

#include <cmath>
#include <numbers>
#include <vector>

namespace tavi {

// The point turned by the angle (degrees, clockwise on the screen) about the centre.
inline platform::gfx::PointF rotatedAbout(platform::gfx::PointF point, platform::gfx::PointF centre,
                                          double degrees) {
    const double angle = degrees * std::numbers::pi / 180.0;
    const double dx = point.x - centre.x;
    const double dy = point.y - centre.y;
    return {centre.x + dx * std::cos(angle) - dy * std::sin(angle),
            centre.y + dx * std::sin(angle) + dy * std::cos(angle)};
}

inline std::vector<platform::gfx::PointF> rotatedAbout(std::vector<platform::gfx::PointF> points,
                                                       platform::gfx::PointF centre,
                                                       double degrees) {
    for (platform::gfx::PointF& point : points) {
        point = rotatedAbout(point, centre, degrees);
    }
    return points;
}

// The point at the radius along the angle from the centre.
inline platform::gfx::PointF onCircle(platform::gfx::PointF centre, double radius, double degrees) {
    const double angle = degrees * std::numbers::pi / 180.0;
    return {centre.x + radius * std::cos(angle), centre.y + radius * std::sin(angle)};
}

} // namespace tavi
