#include "fms/PathSegment.h"

#include "core/Angles.h"
#include "navdata/GcNav.h"

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

} // namespace tavi
