#include "navdata/Nav.h"

#include <cmath>

namespace tavi {

double modTwoPi(double x) {
    const double remainder = x - kTwoPi * std::floor(x / kTwoPi);
    // A tiny negative x rounds up to exactly 2 pi.
    return remainder >= kTwoPi ? 0.0 : remainder;
}

double wrapPi(double x) {
    return modTwoPi(x + kPi) - kPi;
}

Nav::Nav(double latitudeDeg, double longitudeDeg)
    : lat(latitudeDeg * kDegToRad), lon(longitudeDeg * -kDegToRad) {}

Nav::Nav(double latitudeRad, double longitudeRad, Radians) : lat(latitudeRad), lon(longitudeRad) {}

double Nav::latToRad(double degrees) const {
    return degrees * kDegToRad;
}

double Nav::lonToRad(double degrees) const {
    return degrees * -kDegToRad;
}

double Nav::radToLat(double radians) const {
    return radians * kRadToDeg;
}

double Nav::radToLon(double radians) const {
    return radians * -kRadToDeg;
}

void Nav::setLat(double degrees) {
    lat = latToRad(degrees);
}

void Nav::setLon(double degrees) {
    lon = lonToRad(degrees);
}

} // namespace tavi
