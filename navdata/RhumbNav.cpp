#include "navdata/RhumbNav.h"

#include "avionics/Clamp.h"
#include "navdata/GcNav.h"

#include <algorithm>
#include <cmath>

namespace tavi {

namespace {

double stretchedLatitude(double phi) {
    return std::tan(phi / 2.0 + kPi / 4.0);
}

// The east-west departure factor of a line from phi1 to phi2.
double departureFactor(double phi1, double phi2) {
    const double deltaPhi = phi2 - phi1;
    if (std::fabs(deltaPhi) < kGeoSqrtEpsilon) {
        return std::cos(phi1);
    }
    return deltaPhi / std::log(stretchedLatitude(phi2) / stretchedLatitude(phi1));
}

} // namespace

double RhumbNav::distanceTo(double lat2, double lon2) const {
    const double phi2 = latToRad(lat2);
    const double lambda2 = lonToRad(lon2);
    const double westward = modTwoPi(lambda2 - lon);
    const double eastward = modTwoPi(lon - lambda2);
    const double q = departureFactor(lat, phi2);
    const double deltaLambda = std::min(westward, eastward);
    const double deltaPhi = phi2 - lat;
    return std::sqrt(q * q * deltaLambda * deltaLambda + deltaPhi * deltaPhi) * kEarthRadiusNm;
}

double RhumbNav::distanceBetween(double lat1, double lon1, double lat2, double lon2) {
    return RhumbNav(lat1, lon1).distanceTo(lat2, lon2);
}

double RhumbNav::courseTo(double lat2, double lon2) const {
    const double phi2 = latToRad(lat2);
    const double lambda2 = lonToRad(lon2);
    const double westward = modTwoPi(lambda2 - lon);
    const double eastward = modTwoPi(lon - lambda2);
    const double deltaPsi = std::log(stretchedLatitude(phi2) / stretchedLatitude(lat));
    const double course = westward < eastward ? modTwoPi(std::atan2(-westward, deltaPsi))
                                              : modTwoPi(std::atan2(eastward, deltaPsi));
    return course * kRadToDeg;
}

double RhumbNav::courseBetween(double lat1, double lon1, double lat2, double lon2) {
    return RhumbNav(lat1, lon1).courseTo(lat2, lon2);
}

void RhumbNav::destination(double course, double distance, double& latOut, double& lonOut) const {
    const double tc = course * kDegToRad;
    const double d = distance / kEarthRadiusNm;
    const double phi = clampDouble(-kPi / 2.0, kPi / 2.0, lat + d * std::cos(tc));
    double deltaLambda = -d * std::sin(tc) / departureFactor(lat, phi);
    if (!std::isfinite(deltaLambda)) {
        // At a pole every longitude is the same point.
        deltaLambda = 0.0;
    }
    latOut = radToLat(phi);
    lonOut = radToLon(wrapPi(lon + deltaLambda));
}

// The rhumb line is straight on a Mercator chart (east in radians of longitude, north in
// stretched latitude): the point's offset from it there, scaled back at the point's latitude,
// holds far along the line and near the poles, where the great-circle form would not.
void RhumbNav::crossTrack(double lat2, double lon2, double lat3, double lon3, double& crossTrackNm,
                          double& alongTrackNm) const {
    const double course = courseTo(lat2, lon2) * kDegToRad;
    const double phi3 = latToRad(lat3);
    const double east = -wrapPi(lonToRad(lon3) - lon);
    const double north = std::log(stretchedLatitude(phi3) / stretchedLatitude(lat));
    const double along = east * std::sin(course) + north * std::cos(course);
    const double right = east * std::cos(course) - north * std::sin(course);
    crossTrackNm = right * std::cos(phi3) * kEarthRadiusNm;
    const double northward = std::cos(course);
    if (std::fabs(northward) < kGeoSqrtEpsilon) {
        alongTrackNm = along * std::cos(lat) * kEarthRadiusNm;
        return;
    }
    const double footPsi = std::log(stretchedLatitude(lat)) + along * northward;
    const double footPhi = 2.0 * std::atan(std::exp(footPsi)) - kPi / 2.0;
    alongTrackNm = (footPhi - lat) / northward * kEarthRadiusNm;
}

} // namespace tavi
