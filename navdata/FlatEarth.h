#pragma once

#include "navdata/Nav.h"

namespace tavi {

// Local east/north offsets around a reference point (this object), longitudes east positive.
class FlatEarth : public Nav {
public:
    FlatEarth(double latitudeDeg, double longitudeDeg);

    double lonToRad(double degrees) const override;

    // East and north offsets, distance (nm) and true bearing (degrees) of a point from the
    // reference; a point just across the 180th meridian is a small offset.
    void offsetTo(double lat, double lon, double& eastNm, double& northNm, double& distanceNm,
                  double& bearingDeg) const;
    void eastNorthTo(double lat, double lon, double& eastNm, double& northNm) const;
};

} // namespace tavi
