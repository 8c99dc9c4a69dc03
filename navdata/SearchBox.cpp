#include "navdata/SearchBox.h"

#include "core/Angles.h"
#include "navdata/GcNav.h"
#include "navdata/GeoAngles.h"

#include <cmath>

namespace tavi {

namespace {

constexpr double kPolarLatitude = 80.0;

} // namespace

SearchBox SearchBox::around(double latitude, double longitude, double rangeNm) {
    SearchBox box;
    const GcNav centre(latitude, longitude);
    double unusedLon = 0.0;
    centre.destination(180.0, rangeNm, box.south, unusedLon);
    centre.destination(0.0, rangeNm, box.north, unusedLon);

    const double range = rangeNm / kEarthRadiusNm;
    const double phi = latitude * kDegToRad;
    const bool reachesNorthPole = range >= kPi / 2.0 - phi;
    const bool reachesSouthPole = range >= kPi / 2.0 + phi;
    if (reachesNorthPole || latitude >= kPolarLatitude) {
        box.north = 90.0;
    }
    if (reachesSouthPole || latitude <= -kPolarLatitude) {
        box.south = -90.0;
    }

    if (reachesNorthPole || reachesSouthPole) {
        box.allLongitudes = true;
        box.west = -180.0;
        box.east = 180.0;
        return box;
    }
    // The widest longitude offset of the range circle; a course of 90 degrees from the centre
    // falls short of it away from the equator.
    const double halfWidth = std::asin(std::sin(range) / std::cos(phi)) * kRadToDeg;
    box.west = normalize180(longitude - halfWidth);
    box.east = normalize180(longitude + halfWidth);
    return box;
}

bool SearchBox::contains(double latitude, double longitude) const {
    if (latitude < south || latitude > north) {
        return false;
    }
    if (allLongitudes) {
        return true;
    }
    if (west <= east) {
        return longitude >= west && longitude <= east;
    }
    return longitude >= west || longitude <= east;
}

} // namespace tavi
