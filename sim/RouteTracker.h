#pragma once

#include <cstddef>
#include <vector>

namespace tavi::sim {

struct RoutePoint {
    double latitude = 0.0;
    double longitude = 0.0;
};

// The simulator's own measure of how well a route is flown, apart from the module's: the leg
// being flown and the great-circle cross-track distance from it. A leg is left when the aircraft
// crosses the bisector of the turn at its end (abeam the end where the route goes straight on),
// so a turn flown inside the fix, as every turn of more than 90 degrees is, still leaves it; the
// last leg is never left.
class RouteTracker {
public:
    explicit RouteTracker(std::vector<RoutePoint> points);

    void update(double latitude, double longitude);
    // 1 for the leg from the first point to the second; 0 for a route of fewer than two points.
    std::size_t leg() const { return points.size() < 2 ? 0 : activeLeg + 1; }
    // Nautical miles, right of the leg positive.
    double crossTrack() const { return crossTrackNm; }

private:
    std::vector<RoutePoint> points;
    std::size_t activeLeg = 0;
    double crossTrackNm = 0.0;
};

} // namespace tavi::sim
