#include "navdata/FlatEarth.h"

#include <cmath>

namespace tavi {

FlatEarth::FlatEarth(double latitudeDeg, double longitudeDeg)
    : Nav(latitudeDeg * kDegToRad, longitudeDeg * kDegToRad, Radians{}) {}

double FlatEarth::lonToRad(double degrees) const {
    return latToRad(degrees);
}

void FlatEarth::offsetTo(double latDeg, double lonDeg, double& eastNm, double& northNm,
                         double& distanceNm, double& bearingDeg) const {
    const double north = latToRad(latDeg) - lat;
    const double deltaLambda = std::remainder(lonToRad(lonDeg) - lon, kTwoPi);
    const double east = std::cos(lat) * deltaLambda;
    double distance = 0.0;
    double bearing = 0.0;
    if (east != 0.0 || north != 0.0) {
        distance = std::sqrt(north * north + east * east);
        bearing = modTwoPi(std::atan2(east, north));
    }
    eastNm = east * kEarthRadiusNm;
    northNm = north * kEarthRadiusNm;
    distanceNm = distance * kEarthRadiusNm;
    bearingDeg = bearing * kRadToDeg;
}

void FlatEarth::eastNorthTo(double lat, double lon, double& eastNm, double& northNm) const {
    double distance = 0.0;
    double bearing = 0.0;
    offsetTo(lat, lon, eastNm, northNm, distance, bearing);
}

} // namespace tavi
