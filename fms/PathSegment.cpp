#include "fms/PathSegment.h"

#include "core/Angles.h"
#include "navdata/GcNav.h"
#include "navdata/Nav.h"

#include <cmath>

namespace tavi {

void PathSegment::buildArc(bool followTurnDirection) {
    const GcNav centre(centreLatitude, centreLongitude);
    startBearing = centre.courseTo(startLatitude, startLongitude);
    sweep = normalize180(centre.courseTo(endLatitude, endLongitude) - startBearing);
    if (followTurnDirection) {
        if (turnDirection == kSegmentRightArc && sweep < 0.0) {
            sweep += 360.0;
        } else if (turnDirection == kSegmentLeftArc && sweep > 0.0) {
            sweep -= 360.0;
        }
    }
    centre.destination(normalize360(startBearing), radius, startLatitude, startLongitude);
    centre.destination(normalize360(startBearing + sweep), radius, endLatitude, endLongitude);
    for (int k = 1; k <= kIntermediatePoints; ++k) {
        auto& [latitude, longitude] = points[static_cast<std::size_t>(k - 1)];
        const double bearing = startBearing + k * sweep / (kIntermediatePoints + 1);
        centre.destination(normalize360(bearing), radius, latitude, longitude);
    }
}

double PathSegment::length() const {
    if (turnDirection == kSegmentStraight) {
        return GcNav::distanceBetween(startLatitude, startLongitude, endLatitude, endLongitude);
    }
    return std::fabs(sweep) * kDegToRad * radius;
}

double PathSegment::alongTrack(double latitude, double longitude) const {
    if (turnDirection == kSegmentStraight) {
        double crossTrack = 0.0;
        double along = 0.0;
        GcNav::crossTrackBetween(startLatitude, startLongitude, endLatitude, endLongitude, latitude,
                                 longitude, crossTrack, along);
        return along;
    }
    const double bearing =
        GcNav::courseBetween(centreLatitude, centreLongitude, latitude, longitude);
    const double turned = sweep >= 0.0 ? bearing - startBearing : startBearing - bearing;
    const double swept = std::fabs(sweep);
    // Turned from the start the arc's way; the part of the circle the arc leaves out counts half
    // before its start and half beyond its end.
    double angle = normalize360(turned);
    if (angle > swept + (360.0 - swept) / 2.0) {
        angle -= 360.0;
    }
    return angle * kDegToRad * radius;
}

} // namespace tavi
