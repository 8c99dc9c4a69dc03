#include "navdata/GcNav.h"

#include "avionics/Clamp.h"

#include <cmath>

namespace tavi {

namespace {

// asin and acos of a value that rounding may have pushed just outside [-1, 1].
double safeAsin(double x) {
    return std::asin(clampDouble(-1.0, 1.0, x));
}
double safeAcos(double x) {
    return std::acos(clampDouble(-1.0, 1.0, x));
}

double square(double x) {
    return x * x;
}

} // namespace

double GcNav::distanceTo(double lat2, double lon2) const {
    const double phi2 = latToRad(lat2);
    const double lambda2 = lonToRad(lon2);
    const double haversine =
        square(std::sin((lat - phi2) / 2.0)) +
        std::cos(lat) * std::cos(phi2) * square(std::sin((lon - lambda2) / 2.0));
    return 2.0 * safeAsin(std::sqrt(haversine)) * kEarthRadiusNm;
}

double GcNav::distanceBetween(double lat1, double lon1, double lat2, double lon2) {
    return GcNav(lat1, lon1).distanceTo(lat2, lon2);
}

double GcNav::courseTo(double lat2, double lon2) const {
    if (std::cos(lat) < kGeoEpsilon) {
        return lat > 0.0 ? 180.0 : 360.0;
    }
    const double phi2 = latToRad(lat2);
    const double deltaLambda = lon - lonToRad(lon2);
    const double course = modTwoPi(std::atan2(
        std::sin(deltaLambda) * std::cos(phi2),
        std::cos(lat) * std::sin(phi2) - std::sin(lat) * std::cos(phi2) * std::cos(deltaLambda)));
    return course * kRadToDeg;
}

double GcNav::courseBetween(double lat1, double lon1, double lat2, double lon2) {
    return GcNav(lat1, lon1).courseTo(lat2, lon2);
}

void GcNav::destination(double course, double distance, double& latOut, double& lonOut) const {
    const double tc = course * kDegToRad;
    const double d = distance / kEarthRadiusNm;
    const double phi =
        safeAsin(std::sin(lat) * std::cos(d) + std::cos(lat) * std::sin(d) * std::cos(tc));
    const double deltaLambda = std::atan2(std::sin(tc) * std::sin(d) * std::cos(lat),
                                          std::cos(d) - std::sin(lat) * std::sin(phi));
    latOut = radToLat(phi);
    lonOut = radToLon(wrapPi(lon - deltaLambda));
}

bool GcNav::intersection(double lat1, double lon1, double course1, double lat2, double lon2,
                         double course2, double& latOut, double& lonOut) {
    const GcNav point1(lat1, lon1);
    const double d12 = distanceBetween(lat1, lon1, lat2, lon2) / kEarthRadiusNm;
    const double c12 = wrapPi(courseBetween(lat1, lon1, lat2, lon2) * kDegToRad);
    const double c21 = wrapPi(courseBetween(lat2, lon2, lat1, lon1) * kDegToRad);
    const double c13 = wrapPi(course1 * kDegToRad);
    const double c23 = wrapPi(course2 * kDegToRad);
    double a1 = wrapPi(c13 - c12);
    double a2 = wrapPi(c21 - c23);
    const double product = std::sin(a1) * std::sin(a2);
    // Along one circle the crossing is undefined; with a negative product the courses diverge
    // and the crossing ahead of point 1 is not on course 2.
    if (!(std::fabs(product) > kGeoSqrtEpsilon) || product < 0.0) {
        return false;
    }
    a1 = std::fabs(a1);
    a2 = std::fabs(a2);
    const double a3 =
        safeAcos(std::sin(a1) * std::sin(a2) * std::cos(d12) - std::cos(a1) * std::cos(a2));
    // atan2 keeps distances beyond a quarter of the earth, which asin would fold back.
    const double d13 = std::atan2(std::sin(d12) * std::sin(a1) * std::sin(a2),
                                  std::cos(a2) + std::cos(a1) * std::cos(a3));
    const double phi1 = point1.lat;
    const double phi3 =
        safeAsin(std::sin(phi1) * std::cos(d13) + std::cos(phi1) * std::sin(d13) * std::cos(c13));
    const double deltaLambda = std::atan2(std::sin(c13) * std::sin(d13) * std::cos(phi1),
                                          std::cos(d13) - std::sin(phi1) * std::sin(phi3));
    latOut = point1.radToLat(phi3);
    lonOut = point1.radToLon(wrapPi(point1.lon - deltaLambda));
    return true;
}

void trackOffsets(double distanceRad, double courseOffsetRad, double& crossTrackRad,
                  double& alongTrackRad) {
    crossTrackRad = safeAsin(std::sin(distanceRad) * std::sin(courseOffsetRad));
    // From tan(along) = tan(distance) cos(offset): signed, and beyond a quarter of the earth
    // without folding back.
    alongTrackRad =
        std::atan2(std::sin(distanceRad) * std::cos(courseOffsetRad), std::cos(distanceRad));
}

void GcNav::crossTrack(double lat2, double lon2, double lat3, double lon3, double& crossTrackNm,
                       double& alongTrackNm) const {
    double offset = (courseTo(lat3, lon3) - courseTo(lat2, lon2)) * kDegToRad;
    if (std::cos(lat) < kGeoEpsilon) {
        // From a pole every course is the same, but the meridians towards the two points part
        // by their longitudes: without this a track that starts on a pole has no cross-track.
        const double apart = lonToRad(lon3) - lonToRad(lon2);
        offset = lat > 0.0 ? apart : -apart;
    }
    const double distanceAD = distanceTo(lat3, lon3) / kEarthRadiusNm;
    double xtk = 0.0;
    double atk = 0.0;
    trackOffsets(distanceAD, offset, xtk, atk);
    crossTrackNm = xtk * kEarthRadiusNm;
    alongTrackNm = atk * kEarthRadiusNm;
}

void GcNav::crossTrackBetween(double lat1, double lon1, double lat2, double lon2, double lat3,
                              double lon3, double& crossTrackNm, double& alongTrackNm) {
    GcNav(lat1, lon1).crossTrack(lat2, lon2, lat3, lon3, crossTrackNm, alongTrackNm);
}

void GcNav::intermediatePoint(double lat2, double lon2, double fraction, double& latOut,
                              double& lonOut) const {
    const double f = clampDouble(0.0, 1.0, fraction);
    const double d = distanceTo(lat2, lon2) / kEarthRadiusNm;
    if (d == 0.0) {
        latOut = lat2;
        lonOut = lon2;
        return;
    }
    const double phi2 = latToRad(lat2);
    const double lambda2 = lonToRad(lon2);
    const double a = std::sin((1.0 - f) * d) / std::sin(d);
    const double b = std::sin(f * d) / std::sin(d);
    const double x = a * std::cos(lat) * std::cos(lon) + b * std::cos(phi2) * std::cos(lambda2);
    const double y = a * std::cos(lat) * std::sin(lon) + b * std::cos(phi2) * std::sin(lambda2);
    const double z = a * std::sin(lat) + b * std::sin(phi2);
    latOut = radToLat(wrapPi(std::atan2(z, std::sqrt(x * x + y * y))));
    lonOut = radToLon(wrapPi(std::atan2(y, x)));
}

double GcNav::courseAtFraction(double lat2, double lon2, double fraction) const {
    double latP = 0.0;
    double lonP = 0.0;
    intermediatePoint(lat2, lon2, fraction, latP, lonP);
    return courseBetween(latP, lonP, lat2, lon2);
}

double GcNav::courseAtFractionBetween(double lat1, double lon1, double lat2, double lon2,
                                      double fraction) {
    return GcNav(lat1, lon1).courseAtFraction(lat2, lon2, fraction);
}

} // namespace tavi
