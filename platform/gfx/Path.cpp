#include "platform/gfx/Path.h"

#include <cmath>
#include <numbers>

namespace tavi::platform::gfx {

void Path::addLine(PointF from, PointF to) {
    addLines({from, to});
}

void Path::addLines(std::vector<PointF> points) {
    figures_.push_back({std::move(points), false, false, {}});
}

void Path::addPolygon(std::vector<PointF> points) {
    figures_.push_back({std::move(points), true, false, {}});
}

void Path::addRectangle(const RectF& rect) {
    addPolygon({{rect.x, rect.y},
                {rect.x + rect.width, rect.y},
                {rect.x + rect.width, rect.y + rect.height},
                {rect.x, rect.y + rect.height}});
}

void Path::addEllipse(const RectF& bounds) {
    figures_.push_back({{}, true, true, bounds});
}

void Path::append(const Path& other) {
    figures_.insert(figures_.end(), other.figures_.begin(), other.figures_.end());
}

Path Path::transformed(double scale, double degrees, PointF offset) const {
    const double angle = degrees * std::numbers::pi / 180.0;
    const double c = std::cos(angle);
    const double s = std::sin(angle);
    auto move = [&](PointF p) {
        const double x = p.x * scale;
        const double y = p.y * scale;
        return PointF{x * c - y * s + offset.x, x * s + y * c + offset.y};
    };
    Path result;
    for (const Figure& figure : figures_) {
        Figure moved = figure;
        for (PointF& point : moved.points) {
            point = move(point);
        }
        if (figure.ellipse) {
            const PointF centre = move({figure.bounds.x + figure.bounds.width / 2.0,
                                        figure.bounds.y + figure.bounds.height / 2.0});
            const double w = figure.bounds.width * scale;
            const double h = figure.bounds.height * scale;
            moved.bounds = {centre.x - w / 2.0, centre.y - h / 2.0, w, h};
        }
        result.figures_.push_back(std::move(moved));
    }
    return result;
}

} // namespace tavi::platform::gfx
