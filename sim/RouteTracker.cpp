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

} // namespace

RouteTracker::RouteTracker(std::vector<RoutePoint> points) : points(std::move(points)) {}

void RouteTracker::update(double latitude, double longitude) {
    if (points.size() < 2) {
        return;
    }
    const RoutePoint here{latitude, longitude};
    while (true) {
        const RoutePoint& start = points[activeLeg];
        const Bearing leg = bearing(start, points[activeLeg + 1]);
        const Bearing toHere = bearing(start, here);
        const double crossTrack =
            std::asin(std::sin(toHere.distance) * std::sin(toHere.course - leg.course));
        const double alongTrack =
            std::acos(std::clamp(std::cos(toHere.distance) / std::cos(crossTrack), -1.0, 1.0)) *
            (std::cos(toHere.course - leg.course) < 0.0 ? -1.0 : 1.0);
        crossTrackNm = crossTrack * kTrackerEarthRadiusNm;
        if (alongTrack < leg.distance || activeLeg + 2 == points.size()) {
            return;
        }
        ++activeLeg;
    }
}

} // namespace tavi::sim
