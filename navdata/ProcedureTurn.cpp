#include "navdata/ProcedureTurn.h"

#include "core/Angles.h"
#include "navdata/GcNav.h"
#include "navdata/GeoAngles.h"

#include <cmath>

namespace tavi {

namespace {

struct Vector3 {
    double x;
    double y;
    double z;
};

Vector3 cross(const Vector3& a, const Vector3& b) {
    return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
}

// The pole of the great circle through the point along the course.
Vector3 circlePole(double latitude, double longitude, double course) {
    const double phi = latitude * kDegToRad;
    const double lambda = longitude * kDegToRad;
    const double theta = course * kDegToRad;
    return {std::sin(lambda) * std::cos(theta) - std::sin(phi) * std::cos(lambda) * std::sin(theta),
            -std::cos(lambda) * std::cos(theta) -
                std::sin(phi) * std::sin(lambda) * std::sin(theta),
            std::cos(phi) * std::sin(theta)};
}

// Of the two antipodal points where the great circles cross, the one nearer the reference.
void nearerCrossing(double lat1, double lon1, double course1, double lat2, double lon2,
                    double course2, double referenceLat, double referenceLon, double& lat,
                    double& lon) {
    const Vector3 crossing =
        cross(circlePole(lat1, lon1, course1), circlePole(lat2, lon2, course2));
    const double crossingLat =
        std::atan2(crossing.z, std::hypot(crossing.x, crossing.y)) * kRadToDeg;
    const double crossingLon = std::atan2(crossing.y, crossing.x) * kRadToDeg;
    lat = crossingLat;
    lon = crossingLon;
    if (GcNav::distanceBetween(referenceLat, referenceLon, lat, lon) > kPi * kEarthRadiusNm / 2.0) {
        lat = -crossingLat;
        lon = normalize180(crossingLon + 180.0);
    }
}

} // namespace

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
    // Near a pole the courses taken at one point no longer hold at the other, and the crossing
    // can come out on the far side of the earth or not at all; the turn-back point is then where
    // the two lines, perpendicular where they start, cross beside the manoeuvre.
    if (!(turnBackDistance <= outboundDistance + minuteDistance)) {
        nearerCrossing(
            pointLatitudes[kAngledLegEnd], pointLongitudes[kAngledLegEnd],
            GcNav::courseBetween(pointLatitudes[kAngledLegEnd], pointLongitudes[kAngledLegEnd],
                                 pointLatitudes[kOutboundTurn], pointLongitudes[kOutboundTurn]) +
                90.0,
            pointLatitudes[kMinuteBeyond], pointLongitudes[kMinuteBeyond],
            GcNav::courseBetween(pointLatitudes[kMinuteBeyond], pointLongitudes[kMinuteBeyond],
                                 fixLatitude, fixLongitude) +
                90.0,
            pointLatitudes[kMinuteBeyond], pointLongitudes[kMinuteBeyond], turnBackLatitude,
            turnBackLongitude);
        turnBackDistance =
            GcNav::distanceBetween(turnBackLatitude, turnBackLongitude,
                                   pointLatitudes[kMinuteBeyond], pointLongitudes[kMinuteBeyond]);
    }
    extent = outboundDistance + minuteDistance + std::cos(turnAngle * kDegToRad) * turnBackDistance;
}

} // namespace tavi
