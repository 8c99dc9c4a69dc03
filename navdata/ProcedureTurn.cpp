#include "navdata/ProcedureTurn.h"

#include "core/Angles.h"
#include "navdata/GcNav.h"
#include "navdata/GeoAngles.h"

#include <cmath>

namespace tavi {

void ProcedureTurn::compute(double fixLatitude, double fixLongitude) {
    const GcNav fix(fixLatitude, fixLongitude);
    pointLatitudes[kFix] = fixLatitude;
    pointLongitudes[kFix] = fixLongitude;
    fix.destination(trueCourse, outboundDistance, pointLatitudes[kOutboundTurn],
                    pointLongitudes[kOutboundTurn]);
    minuteDistance = speed / 60.0;

    const GcNav outboundTurn(pointLatitudes[kOutboundTurn], pointLongitudes[kOutboundTurn]);
    const double angledCourse = normalize360(trueCourse + (turnLeft ? turnAngle : -turnAngle));
    outboundTurn.destination(angledCourse, minuteDistance, pointLatitudes[kAngledLegEnd],
                             pointLongitudes[kAngledLegEnd]);
    outboundTurn.destination(trueCourse, minuteDistance, pointLatitudes[kMinuteBeyond],
                             pointLongitudes[kMinuteBeyond]);

    const double c1 =
        outboundTurn.courseTo(pointLatitudes[kAngledLegEnd], pointLongitudes[kAngledLegEnd]);
    const double c2 = fix.courseTo(pointLatitudes[kMinuteBeyond], pointLongitudes[kMinuteBeyond]);
    const double reversalCourse = turnLeft ? c1 - 90.0 : c1 + 90.0;
    const double crossingCourse = turnLeft ? c2 + 90.0 : c2 - 90.0;
    // When the two lines do not cross, the previous turn-back point stays.
    GcNav::intersection(pointLatitudes[kAngledLegEnd], pointLongitudes[kAngledLegEnd],
                        reversalCourse, pointLatitudes[kMinuteBeyond],
                        pointLongitudes[kMinuteBeyond], crossingCourse, turnBackLatitude,
                        turnBackLongitude);

    turnBackDistance =
        GcNav::distanceBetween(turnBackLatitude, turnBackLongitude, pointLatitudes[kMinuteBeyond],
                               pointLongitudes[kMinuteBeyond]);
    extent = outboundDistance + minuteDistance + std::cos(turnAngle * kDegToRad) * turnBackDistance;
}

} // namespace tavi
