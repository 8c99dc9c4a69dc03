#pragma once

#include "navdata/Nav.h"

namespace tavi {

// Great-circle navigation from one point (this object). Angles are degrees, courses degrees
// true, distances nautical miles.
class GcNav : public Nav {
public:
    using Nav::Nav;

    double distanceTo(double lat2, double lon2) const;
    static double distanceBetween(double lat1, double lon1, double lat2, double lon2);

    // Initial true course towards point 2, in [0, 360); from the south pole exactly 360.
    double courseTo(double lat2, double lon2) const;
    static double courseBetween(double lat1, double lon1, double lat2, double lon2);

    // The point reached along the great circle with the given initial course and distance.
    void destination(double course, double distance, double& lat, double& lon) const;

    // Where the great circle from point 1 on course 1 meets the one from point 2 on course 2,
    // ahead of both points. False, outputs untouched, when the courses run along one circle or
    // diverge (their crossing would lie behind them).
    static bool intersection(double lat1, double lon1, double course1, double lat2, double lon2,
                             double course2, double& lat, double& lon);

    // Distances of point 3 from the great circle from this point towards point 2: cross-track
    // positive to the right, along-track negative when point 3 lies behind this point.
    void crossTrack(double lat2, double lon2, double lat3, double lon3, double& crossTrackNm,
                    double& alongTrackNm) const;
    static void crossTrackBetween(double lat1, double lon1, double lat2, double lon2, double lat3,
                                  double lon3, double& crossTrackNm, double& alongTrackNm);

    // The point at a fraction (clamped to 0..1) of the way to point 2.
    void intermediatePoint(double lat2, double lon2, double fraction, double& lat,
                           double& lon) const;

    // The great-circle track towards point 2 at a fraction of the way there.
    double courseAtFraction(double lat2, double lon2, double fraction) const;
    static double courseAtFractionBetween(double lat1, double lon1, double lat2, double lon2,
                                          double fraction);
};

// Along-track and cross-track distances (radians) of a point at a distance (radians) and a
// course offset (radians) from the track; shared by the great-circle and rhumb-line forms.
void trackOffsets(double distanceRad, double courseOffsetRad, double& crossTrackRad,
                  double& alongTrackRad);

} // namespace tavi
