#pragma once

#include <cstddef>
#include <vector>

namespace tavi {

class FlightPlan;

// The name of an intermediate top of descent begins so, followed by its altitude.
inline constexpr const char* kTopOfDescentPrefix = "T/D-";
// A level part shorter than this (nm) before a descent is no top of descent of its own.
inline constexpr float kShortestLevelPart = 0.2f;

// The descent the route predictions planned, as VNAV guides on it: the altitude along the route
// (nm from the origin, counted fix to fix as the predictions count it) from the top of descent
// to the end of the descent. Each leg descends on its path angle to its predicted altitude at
// the fix, level before that where the leg is longer than the descent, so the level parts and
// their tops of descent are those the predictions marked.
class DescentPath {
public:
    struct Point {
        double distance = 0.0;
        float altitude = 0.0f;
    };

    // From the legs' predicted altitudes and path angles after the top of descent. The active
    // leg starts at startAltitude when that is given (not NaN): the altitude the path had at
    // its start when the aircraft passed it, which the crossing recorded there must not move.
    void build(const FlightPlan& plan, double topDistance, float topAltitude, float startAltitude);
    void clear() { points.clear(); }
    bool empty() const { return points.empty(); }

    // Feet on the path: the top's altitude before the top, the end's after the end.
    float altitudeAt(double distance) const;
    // The point that ends the part of the path the distance lies on; nullptr beyond the end.
    const Point* partEnd(double distance) const;
    // Feet where the path levels off next after the distance: its next level part, or its end.
    float nextLevelAltitude(double distance) const;
    // The first level part not yet left behind at the distance with a descent after it: its
    // start and its end (that descent's top); false when none is left.
    bool nextLevelPart(double distance, Point& start, Point& end) const;

private:
    void add(const Point& point);

    std::vector<Point> points;
};

// Nautical miles from the origin to the aircraft, counted as the predictions count the route.
// On the active leg it is the share of the leg's path (its turns included) that LNAV has flown,
// so the distance runs on without a jump where LNAV leaves a leg inside a turn.
double routePosition(const FlightPlan& plan, double latitude, double longitude,
                     double legAlongTrack);

// Nautical miles from the origin to the start of the leg.
double legStartDistance(const FlightPlan& plan, std::size_t index);

} // namespace tavi
