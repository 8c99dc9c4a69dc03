#include "sim/Geodesy.h"

#include <algorithm>
#include <cmath>

namespace tavi::sim {

namespace {

constexpr double kEarthRadiusNm = 10800.0 / kPi;
constexpr int kGroundElevationToken = 2;
constexpr double kGroundElevationUnitsPerMetre = 256.0;
constexpr int kLatitudeToken = 71;
constexpr int kLongitudeToken = 72;
constexpr int kAltitudeToken = 73;
constexpr int kMagneticVariationToken = 82;
constexpr int kTrueHeadingToken = 86;

} // namespace

double distanceNm(GeoPoint from, GeoPoint to) {
    const double lat1 = from.latitude * kDegreesToRadians;
    const double lat2 = to.latitude * kDegreesToRadians;
    const double dLat = lat2 - lat1;
    const double dLon = (to.longitude - from.longitude) * kDegreesToRadians;
    const double a = std::pow(std::sin(dLat / 2.0), 2.0) +
                     std::cos(lat1) * std::cos(lat2) * std::pow(std::sin(dLon / 2.0), 2.0);
    return 2.0 * kEarthRadiusNm * std::asin(std::min(1.0, std::sqrt(a)));
}

double bearingDegrees(GeoPoint from, GeoPoint to) {
    const double lat1 = from.latitude * kDegreesToRadians;
    const double lat2 = to.latitude * kDegreesToRadians;
    const double dLon = (to.longitude - from.longitude) * kDegreesToRadians;
    const double y = std::sin(dLon) * std::cos(lat2);
    const double x =
        std::cos(lat1) * std::sin(lat2) - std::sin(lat1) * std::cos(lat2) * std::cos(dLon);
    return degrees0To360(std::atan2(y, x) / kDegreesToRadians);
}

GeoPoint destination(GeoPoint from, double courseDegrees, double distance) {
    const double lat1 = from.latitude * kDegreesToRadians;
    const double course = courseDegrees * kDegreesToRadians;
    const double angle = distance / kEarthRadiusNm;
    const double lat2 = std::asin(std::clamp(
        std::sin(lat1) * std::cos(angle) + std::cos(lat1) * std::sin(angle) * std::cos(course),
        -1.0, 1.0));
    const double dLon = std::atan2(std::sin(course) * std::sin(angle) * std::cos(lat1),
                                   std::cos(angle) - std::sin(lat1) * std::sin(lat2));
    return {lat2 / kDegreesToRadians,
            degreesPlusMinus180(from.longitude + dLon / kDegreesToRadians)};
}

double degrees0To360(double degrees) {
    const double reduced = std::fmod(degrees, 360.0);
    return reduced < 0.0 ? reduced + 360.0 : reduced;
}

double degreesPlusMinus180(double degrees) {
    const double reduced = degrees0To360(degrees);
    return reduced > 180.0 ? reduced - 360.0 : reduced;
}

OwnAircraft ownAircraft(const Panel& panel) {
    return {
        .position = {panel.token(kLatitudeToken) / kLatitudeUnitsPerDegree,
                     panel.token(kLongitudeToken) / kLongitudeUnitsPerDegree},
        .altitude = panel.token(kAltitudeToken) * kFeetPerMetre,
        .groundElevation =
            panel.token(kGroundElevationToken) / kGroundElevationUnitsPerMetre * kFeetPerMetre,
        .trueHeading = panel.token(kTrueHeadingToken),
        .magneticVariation = panel.token(kMagneticVariationToken),
    };
}

} // namespace tavi::sim
