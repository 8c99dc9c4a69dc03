#pragma once

#include "platform/gfx/Canvas.h"

#include <vector>

namespace tavi::platform::gfx {

// A shape made once and drawn many times: figures that are open or closed polylines, or
// ellipses, stroked and filled together (where figures overlap, the fill alternates).
class Path {
public:
    struct Figure {
        std::vector<PointF> points;
        bool closed = false;
        // An ellipse inside the bounds instead of the points.
        bool ellipse = false;
        RectF bounds;
    };

    void addLine(PointF from, PointF to);
    // An open polyline.
    void addLines(std::vector<PointF> points);
    // A closed polygon.
    void addPolygon(std::vector<PointF> points);
    void addRectangle(const RectF& rect);
    void addEllipse(const RectF& bounds);
    void append(const Path& other);
    // The same figures scaled about the origin, then rotated about it by the angle (degrees,
    // clockwise on the screen), then moved by the offset. Ellipses keep their axes upright.
    Path transformed(double scale, double degrees, PointF offset) const;

    const std::vector<Figure>& figures() const { return figures_; }

private:
    std::vector<Figure> figures_;
};

} // namespace tavi::platform::gfx
