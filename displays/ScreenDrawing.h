#pragma once

#include "platform/gfx/Canvas.h"

#include <cmath>
#include <numbers>
#include <string_view>
#include <vector>

namespace tavi {

inline constexpr platform::gfx::Argb kBlack = 0xFF000000;

inline double radians(double degrees) {
    return degrees * std::numbers::pi / 180.0;
}

// The point turned by the angle (degrees, clockwise on the screen) about the centre.
inline platform::gfx::PointF rotatedAbout(platform::gfx::PointF point, platform::gfx::PointF centre,
                                          double degrees) {
    const double angle = radians(degrees);
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
    const double angle = radians(degrees);
    return {centre.x + radius * std::cos(angle), centre.y + radius * std::sin(angle)};
}

// Text whose layout box is centred on x, or ends at x.
inline void drawCentred(platform::gfx::Canvas& canvas, std::string_view text,
                        const platform::gfx::Font& font, platform::gfx::Argb colour, double centre,
                        double y) {
    canvas.drawString(text, font, colour,
                      {centre - canvas.measureString(text, font).width / 2.0, y});
}

inline void drawRightAligned(platform::gfx::Canvas& canvas, std::string_view text,
                             const platform::gfx::Font& font, platform::gfx::Argb colour,
                             double right, double y) {
    canvas.drawString(text, font, colour, {right - canvas.measureString(text, font).width, y});
}

// Lines joining the points in turn, not closed.
inline void drawPolyline(platform::gfx::Canvas& canvas, const platform::gfx::Pen& pen,
                         const std::vector<platform::gfx::PointF>& points) {
    for (std::size_t i = 1; i < points.size(); ++i) {
        canvas.drawLine(pen, points[i - 1], points[i]);
    }
}

} // namespace tavi
