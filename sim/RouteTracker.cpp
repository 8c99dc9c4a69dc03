#include "sim/RouteTracker.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace tavi::sim {

namespace {

constexpr double kTrackerEarthRadiusNm = 3440.065;
constexpr double kRadiansPerDegree = std::numbers::pi / 180.0;

// Angular distance and initial course (radians) from one point to another on the sphere.
struct Bearing {
    double distance;
    double course;
};

Bearing bearing(const RoutePoint& from, const RoutePoint& to) {
    const double lat1 = from.latitude * kRadiansPerDegree;
    const double lat2 = to.latitude * kRadiansPerDegree;
    const double dLon = (to.longitude - from.longitude) * kRadiansPerDegree;
    const double a = std::sin((lat2 - lat1) / 2.0) * std::sin((lat2 - lat1) / 2.0) +
                     std::cos(lat1) * std::cos(lat2) * std::sin(dLon / 2.0) * std::sin(dLon / 2.0);
    const double distance = 2.0 * std::atan2(std::sqrt(a), std::sqrt(1.0 - a));
    const double course = std::atan2(std::sin(dLon) * std::cos(lat2),
                                     std::cos(lat1) * std::sin(lat2) -
                                         std::sin(lat1) * std::cos(lat2) * std::cos(dLon));
    return {distance, course};
}

// Where a point lies against the great circle from one point to another (radians): the leg's
// length, across it (right positive) and along it from its start (negative behind the start).
struct Offsets {
    double leg;
    double crossTrack;
    double alongTrack;
};

Offsets offsetsFrom(const RoutePoint& start, const RoutePoint& end, const RoutePoint& point) {
    const Bearing leg = bearing(start, end);
    const Bearing toPoint = bearing(start, point);
    const double crossTrack =
        std::asin(std::sin(toPoint.distance) * std::sin(toPoint.course - leg.course));
    const double alongTrack =
        std::acos(std::clamp(std::cos(toPoint.distance) / std::cos(crossTrack), -1.0, 1.0)) *
        (std::cos(toPoint.course - leg.course) < 0.0 ? -1.0 : 1.0);
    return {leg.distance, crossTrack, alongTrack};
}

} // namespace

RouteTracker::RouteTracker(std::vector<RoutePoint> points) : points(std::move(points)) {}

void RouteTracker::update(double latitude, double longitude) {
    if (points.size() < 2) {
        return;
    }
    const RoutePoint here{latitude, longitude};
    while (true) {
        const Offsets offsets = offsetsFrom(points[activeLeg], points[activeLeg + 1], here);
        crossTrackNm = offsets.crossTrack * kTrackerEarthRadiusNm;
        if (activeLeg + 2 == points.size()) {
            return;
        }
        // Past the bisector of the turn at the leg's end: the distance still to go to the end
        // along this leg is less than the distance already gone past it along the next.
        const double toGo = offsets.leg - offsets.alongTrack;
        const double beyond =
            offsetsFrom(points[activeLeg + 1], points[activeLeg + 2], here).alongTrack;
        if (toGo > beyond) {
            return;
        }
        ++activeLeg;
    }
}

} // namespace tavi::sim
