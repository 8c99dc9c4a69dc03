#pragma once

namespace tavi {

// Whether a value read from a file lies within its bounds; never for a value that is not a
// number.
inline bool isWithin(double value, double lowest, double highest) {
    return value >= lowest && value <= highest;
}

// Degrees of latitude and longitude that name a point on the earth.
inline bool isOnEarth(double latitude, double longitude) {
    return isWithin(latitude, -90.0, 90.0) && isWithin(longitude, -180.0, 180.0);
}

} // namespace tavi
