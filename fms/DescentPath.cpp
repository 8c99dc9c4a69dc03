#include "fms/DescentPath.h"

#include "fms/FlightPlan.h"
#include "fms/FmsPerf.h"
#include "fms/RoutePredictionWalks.h"

#include <algorithm>
#include <cmath>

namespace tavi {

namespace {

// The share of the active leg's path flown, or nothing when the leg has no path to measure.
bool shareOfPathFlown(const FlightPlanLeg& leg, double latitude, double longitude, double& share) {
    double total = 0.0;
    double flown = 0.0;
    for (std::size_t i = 0; i < leg.path.size(); ++i) {
        const double length = leg.path[i].length();
        if (i < leg.segmentIndex) {
            flown += length;
        } else if (i == leg.segmentIndex) {
            flown += leg.path[i].alongTrack(latitude, longitude);
        }
        total += length;
    }
    if (!(total > 0.0) || !std::isfinite(flown)) {
        return false;
    }
    share = flown / total;
    return true;
}

} // namespace

double legStartDistance(const FlightPlan& plan, std::size_t index) {
    double distance = 0.0;
    for (std::size_t i = 0; i < index && i < plan.legCount(); ++i) {
        distance += plan.legs[i].distance;
    }
    return distance;
}

double routePosition(const FlightPlan& plan, double latitude, double longitude,
                     double legAlongTrack) {
    const double start = legStartDistance(plan, plan.activeLeg);
    if (plan.activeLeg >= plan.legCount()) {
        return start;
    }
    const FlightPlanLeg& leg = plan.legs[plan.activeLeg];
    double share = 0.0;
    if (leg.distance > 0.0 && shareOfPathFlown(leg, latitude, longitude, share)) {
        return start + share * leg.distance;
    }
    return start + legAlongTrack;
}

void DescentPath::build(const FlightPlan& plan, double topDistance, float topAltitude,
                        float startAltitude) {
    points.clear();
    const std::size_t count = predictedLegCount(plan);
    double legStart = 0.0;
    float altitude = topAltitude;
    for (std::size_t i = 0; i < count; ++i) {
        const FlightPlanLeg& leg = plan.legs[i];
        const double legEnd = legStart + leg.distance;
        if (legEnd <= topDistance) {
            legStart = legEnd;
            continue;
        }
        const double start = std::max(legStart, topDistance);
        if (i == plan.activeLeg && !std::isnan(startAltitude) && start == legStart) {
            altitude = std::min(startAltitude, topAltitude);
        }
        if (points.empty() || points.back().altitude != altitude) {
            add({start, altitude});
        }
        const auto end = static_cast<float>(leg.vnav.predictedAltitude);
        if (end < altitude) {
            const double descending =
                distanceForAltitudeChange(altitude, end, std::max(leg.vnav.pathAngle, 1.0f));
            // As in the predictions, a level part too short to fly is no level part.
            if (descending + kShortestLevelPart < legEnd - start) {
                add({legEnd - descending, altitude});
            }
        }
        add({legEnd, end});
        altitude = end;
        legStart = legEnd;
    }
}

void DescentPath::add(const Point& point) {
    const std::size_t n = points.size();
    // Level legs one after the other make one level part, ended where the descent begins.
    if (n >= 2 && points[n - 1].altitude == point.altitude &&
        points[n - 2].altitude == point.altitude) {
        points.back() = point;
        return;
    }
    points.push_back(point);
}

float DescentPath::altitudeAt(double distance) const {
    if (points.empty()) {
        return 0.0f;
    }
    if (distance <= points.front().distance) {
        return points.front().altitude;
    }
    for (std::size_t i = 1; i < points.size(); ++i) {
        const Point& a = points[i - 1];
        const Point& b = points[i];
        if (distance <= b.distance) {
            const double span = b.distance - a.distance;
            const double share = span > 0.0 ? (distance - a.distance) / span : 1.0;
            return static_cast<float>(a.altitude + share * (b.altitude - a.altitude));
        }
    }
    return points.back().altitude;
}

const DescentPath::Point* DescentPath::partEnd(double distance) const {
    for (const Point& point : points) {
        if (point.distance > distance) {
            return &point;
        }
    }
    return nullptr;
}

float DescentPath::nextLevelAltitude(double distance) const {
    for (std::size_t i = 1; i < points.size(); ++i) {
        const Point& a = points[i - 1];
        const Point& b = points[i];
        if (b.distance > distance && a.altitude == b.altitude) {
            return a.altitude;
        }
    }
    return points.empty() ? 0.0f : points.back().altitude;
}

bool DescentPath::nextLevelPart(double distance, Point& start, Point& end) const {
    for (std::size_t i = 1; i + 1 < points.size(); ++i) {
        const Point& a = points[i - 1];
        const Point& b = points[i];
        if (b.distance > distance && a.altitude == b.altitude && b.distance > a.distance) {
            start = a;
            end = b;
            return true;
        }
    }
    return false;
}

} // namespace tavi
