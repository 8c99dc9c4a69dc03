#pragma once

#include "sim/Panel.h"

namespace tavi::sim {

// A point on the earth in degrees, north and east positive.
struct GeoPoint {
    double latitude = 0.0;
    double longitude = 0.0;
};

// The user aircraft where the panel's tokens put it.
struct OwnAircraft {
    GeoPoint position;
    // Feet above mean sea level.
    double altitude = 0.0;
    // Feet: the ground under the aircraft.
    double groundElevation = 0.0;
    // Degrees true.
    double trueHeading = 0.0;
    // Degrees, east positive.
    double magneticVariation = 0.0;
};

inline constexpr double kPi = 3.141592653589793;
inline constexpr double kDegreesToRadians = kPi / 180.0;
inline constexpr double kFeetPerNm = 6076.11549;
inline constexpr double kMetresPerNm = 1852.0;
inline constexpr double kFeetPerMetre = 1.0 / 0.3048;
inline constexpr double kKgPerPound = 0.45359237;
// Token 71 counts the latitude in units of 360 / 40007000 degree, token 72 the longitude in
// units of 360 / 2^48 degree.
inline constexpr double kLatitudeUnitsPerDegree = 40007000.0 / 360.0;
inline constexpr double kLongitudeUnitsPerDegree = 281474976710656.0 / 360.0;

// The simulator's geometry on a sphere on which one minute of arc is one nautical mile.
double distanceNm(GeoPoint from, GeoPoint to);
// The initial true course from one point to the other, in [0, 360).
double bearingDegrees(GeoPoint from, GeoPoint to);
// The point at a distance along a true course.
GeoPoint destination(GeoPoint from, double courseDegrees, double distanceNm);
// Into [0, 360) and (-180, 180].
double degrees0To360(double degrees);
double degreesPlusMinus180(double degrees);

// The aircraft from the position tokens (71, 72), the altitude (73, metres), the ground
// elevation (2, metres x 256), the true heading (86) and the magnetic variation (82) the module
// reads.
OwnAircraft ownAircraft(const Panel& panel);

} // namespace tavi::sim
