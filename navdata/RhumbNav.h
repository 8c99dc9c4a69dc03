#pragma once

#include "navdata/Nav.h"

namespace tavi {

// Rhumb-line navigation from one point (this object): constant-course lines, the shorter way
// round in longitude. Angles are degrees, distances nautical miles.
class RhumbNav : public Nav {
public:
    using Nav::Nav;

    double distanceTo(double lat2, double lon2) const;
    static double distanceBetween(double lat1, double lon1, double lat2, double lon2);

    double courseTo(double lat2, double lon2) const;
    static double courseBetween(double lat1, double lon1, double lat2, double lon2);

    // The point reached on the given course after the given distance; a line that would run
    // past a pole ends at the pole.
    void destination(double course, double distance, double& lat, double& lon) const;

    // As GcNav::crossTrack, with rhumb-line courses and distances.
    void crossTrack(double lat2, double lon2, double lat3, double lon3, double& crossTrackNm,
                    double& alongTrackNm) const;
};

} // namespace tavi
