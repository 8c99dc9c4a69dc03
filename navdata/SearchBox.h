#pragma once

namespace tavi {

// The latitude/longitude box around a position inside which the nearest-station searches look
// for database rows. Bounds are degrees, north and east positive. A box that reaches across
// the 180th meridian has its west bound east of its east bound; a box that reaches a pole
// holds every longitude.
struct SearchBox {
    double south = 0.0;
    double north = 0.0;
    double west = 0.0;
    double east = 0.0;
    bool allLongitudes = false;

    // The box holding every point within the range (nm) of the centre. A centre at 80 degrees
    // or more north (south) also reaches the pole in latitude.
    static SearchBox around(double latitude, double longitude, double rangeNm);

    bool crossesAntimeridian() const { return !allLongitudes && west > east; }
    bool contains(double latitude, double longitude) const;
};

} // namespace tavi
