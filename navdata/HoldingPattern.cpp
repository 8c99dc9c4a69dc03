#include "navdata/HoldingPattern.h"

#include "core/Angles.h"
#include "navdata/GcNav.h"
#include "navdata/GeoAngles.h"

#include <cmath>

namespace tavi {

namespace {

constexpr double kMetresPerNm = 1853.0;
// The constants of the turn are single precision: g, a bank of 25 degrees and the quarter turn
// whose tangent scales the radius.
constexpr float kGravity = 9.81f;
constexpr float kBankRad = 0.4363323152065277f;
constexpr float kQuarterPiRad = 0.7853981633974483f;

double turnRadiusAt(double speedKt) {
    const double speedMs = speedKt * kMetresPerNm / 3600.0;
    const double gravity = kGravity;
    return speedMs * speedMs / (gravity * std::tan(static_cast<double>(kBankRad))) *
           std::tan(static_cast<double>(kQuarterPiRad)) / kMetresPerNm;
}

} // namespace

void HoldingPattern::compute(double fixLatitude, double fixLongitude, double arrivalCourse) {
    if (holdSpeed == 0.0) {
        holdSpeed = defaultSpeed;
    }
    const double minuteDistance = holdSpeed / 60.0;
    // The leg time and distance shown for the hold are those of the speed it is laid out for.
    if (lengthByTime) {
        legLength = minuteDistance * legTimeMin;
    } else if (minuteDistance > 0.0) {
        legTimeMin = legLength / minuteDistance;
    }
    const GcNav fix(fixLatitude, fixLongitude);
    cornerLatitudes[kFix] = fixLatitude;
    cornerLongitudes[kFix] = fixLongitude;
    fix.destination(normalize360(inboundCourse + 180.0), legLength, cornerLatitudes[kInboundStart],
                    cornerLongitudes[kInboundStart]);
    turnRadius = turnRadiusAt(holdSpeed);

    const double holdSide = normalize360(inboundCourse + (rightTurns ? 90.0 : -90.0));
    fix.destination(holdSide, turnRadius, fixTurnCentre[0], fixTurnCentre[1]);
    fix.destination(holdSide, 2.0 * turnRadius, cornerLatitudes[kOutboundStart],
                    cornerLongitudes[kOutboundStart]);
    const GcNav inboundStart(cornerLatitudes[kInboundStart], cornerLongitudes[kInboundStart]);
    inboundStart.destination(holdSide, turnRadius, farTurnCentre[0], farTurnCentre[1]);
    inboundStart.destination(holdSide, 2.0 * turnRadius, cornerLatitudes[kOutboundEnd],
                             cornerLongitudes[kOutboundEnd]);

    const float inbound = static_cast<float>(inboundCourse);
    const float arrival = static_cast<float>(arrivalCourse);
    const float offset = rightTurns ? geo::angleDifference(arrival, inbound)
                                    : geo::angleDifference(inbound, arrival);
    if (std::fabs(offset) <= 90.0f) {
        entryKind = HoldEntry::Direct;
    } else if (offset < -90.0f) {
        entryKind = HoldEntry::Teardrop;
        entryLatitudes[0] = fixLatitude;
        entryLongitudes[0] = fixLongitude;
        const double teardropCourse = normalize360(inboundCourse + (rightTurns ? 150.0 : -150.0));
        fix.destination(teardropCourse, minuteDistance, entryLatitudes[1], entryLongitudes[1]);
    } else {
        entryKind = HoldEntry::Parallel;
        const double awaySide = normalize360(inboundCourse + (rightTurns ? -90.0 : 90.0));
        fix.destination(awaySide, 1.0, entryLatitudes[0], entryLongitudes[0]);
        GcNav(entryLatitudes[0], entryLongitudes[0])
            .destination(normalize360(inboundCourse + 180.0), minuteDistance, entryLatitudes[1],
                         entryLongitudes[1]);
    }
}

} // namespace tavi
