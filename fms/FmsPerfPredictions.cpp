#include "fms/FmsPerf.h"
#include "fms/PerfConditions.h"

#include <algorithm>
#include <cmath>

namespace tavi {

namespace {

constexpr float kStepFeet = 500.0f;
constexpr float kPredictionDegreesPerRadian = 57.29577951308232f;
constexpr float kPredictionMinimumPathAngle = 1.0f;
constexpr float kFixedDescentRate = 1000.0f;
constexpr float kDescentFloor = -2000.0f;
// Ground speeds below this are taken as it, so that no segment takes forever.
constexpr float kMinimumGroundSpeed = 1.0f;
constexpr int kLongestCruiseMinutes = 24 * 60;

// One vertical step of a climb or descent: what it adds, before it is added.
struct Step {
    float height = 0.0f;
    float time = 0.0f;
    float fuel = 0.0f;
    float distance = 0.0f;
};

float descentSlope(float angle) {
    return std::tan(std::max(angle, kPredictionMinimumPathAngle) / kPredictionDegreesPerRadian);
}

float horizontalDistance(float height, float slope) {
    return height / slope / 3.28084f / 1853.0f;
}

// Adds the whole step, or only the part of it that ends at the distance limit; true when the
// limit was reached.
bool addStepWithin(LegPrediction& result, const Step& step, float distanceLimit, float& fraction) {
    if (result.distance + step.distance >= distanceLimit) {
        fraction = (distanceLimit - result.distance) / step.distance;
        result.time += fraction * step.time;
        result.fuel += fraction * step.fuel;
        result.distance = distanceLimit;
        return true;
    }
    result.time += step.time;
    result.fuel += step.fuel;
    result.distance += step.distance;
    return false;
}

// Walks a climb in 500-ft steps from start to target; each step goes to accept, which adds it
// and answers true to end the walk.
template <typename Accept>
void walkClimb(const FmsPerf& perf, float start, float target, float weight, float course,
               float distanceFlown, float elevation, const PerfConditions& conditions,
               const PerfSpeedSchedule& schedule, const LegPrediction& result, Accept accept) {
    float altitude = start;
    float speed = schedule.climbSpeedAt(altitude, elevation, distanceFlown);
    float groundSpeed =
        conditions.groundSpeed(speed, altitude, course, conditions.climbWindAt(altitude));
    while (altitude < target) {
        Step step;
        step.height = altitude + kStepFeet >= target ? target - altitude : kStepFeet;
        perf.climbStep(weight, speed, altitude, step.height, step.fuel, step.time);
        const float top = altitude + step.height;
        const float nextGroundSpeed =
            conditions.groundSpeed(speed, top, course, conditions.climbWindAt(top));
        step.distance = step.time / 3600.0f * (groundSpeed + nextGroundSpeed) / 2.0f;
        if (accept(altitude, step))
            return;
        weight -= step.fuel;
        altitude = top;
        speed = schedule.climbSpeedAt(altitude, elevation, distanceFlown + result.distance);
        groundSpeed = nextGroundSpeed;
    }
}

// Walks a descent in 500-ft steps from start to target on a path angle, as walkClimb does.
template <typename Accept>
void walkDescent(const FmsPerf& perf, float start, float target, float angle, float weight,
                 float course, float distanceToGo, bool fixedVerticalSpeed,
                 const PerfConditions& conditions, const PerfSpeedSchedule& schedule,
                 const LegPrediction& result, Accept accept) {
    const float slope = descentSlope(angle);
    float altitude = start;
    float speed = schedule.descentSpeedAt(altitude, distanceToGo);
    float groundSpeed =
        conditions.groundSpeed(speed, altitude, course, conditions.descentWindAt(altitude));
    while (altitude > target) {
        Step step;
        step.height = target >= altitude - kStepFeet ? altitude - target : kStepFeet;
        step.fuel = perf.descentStep(weight, speed, altitude, step.height);
        const float bottom = altitude - step.height;
        const float nextGroundSpeed =
            conditions.groundSpeed(speed, bottom, course, conditions.descentWindAt(bottom));
        const float meanGroundSpeed =
            std::max((groundSpeed + nextGroundSpeed) / 2.0f, kMinimumGroundSpeed);
        const float verticalSpeed = fixedVerticalSpeed
                                        ? kFixedDescentRate
                                        : meanGroundSpeed / 1.944f * 3.2808399f * 60.0f * slope;
        step.time = step.height * (60000.0f / verticalSpeed) / 1000.0f;
        step.distance = horizontalDistance(step.height, slope);
        if (accept(altitude, step))
            return;
        weight -= step.fuel;
        altitude = bottom;
        speed = schedule.descentSpeedAt(altitude, distanceToGo - result.distance);
        groundSpeed = nextGroundSpeed;
    }
}

} // namespace

void FmsPerf::predictClimb(LegPrediction& result, float startAltitude, float targetAltitude,
                           float weight, float course, float distanceFlown, float elevation,
                           const PerfConditions& conditions,
                           const PerfSpeedSchedule& schedule) const {
    result = {};
    const float target = conditions.cruiseAltitude > 0.0f
                             ? std::min(targetAltitude, conditions.cruiseAltitude)
                             : targetAltitude;
    walkClimb(*this, startAltitude, target, weight, course, distanceFlown, elevation, conditions,
              schedule, result, [&result](float, const Step& step) {
                  result.time += step.time;
                  result.fuel += step.fuel;
                  result.distance += step.distance;
                  return false;
              });
}

void FmsPerf::predictClimbWithin(LegPrediction& result, float startAltitude, float& altitudeReached,
                                 float weight, float course, float distanceLimit,
                                 float distanceFlown, float elevation,
                                 const PerfConditions& conditions,
                                 const PerfSpeedSchedule& schedule) const {
    result = {};
    altitudeReached = conditions.cruiseAltitude;
    if (distanceLimit <= 0.0f) {
        altitudeReached = startAltitude;
        return;
    }
    walkClimb(*this, startAltitude, conditions.cruiseAltitude, weight, course, distanceFlown,
              elevation, conditions, schedule, result, [&](float altitude, const Step& step) {
                  float fraction = 1.0f;
                  if (!addStepWithin(result, step, distanceLimit, fraction))
                      return false;
                  altitudeReached = altitude + fraction * step.height;
                  return true;
              });
}

void FmsPerf::predictDescent(LegPrediction& result, float startAltitude, float targetAltitude,
                             float pathAngle, float weight, float course, float distanceToGo,
                             bool fixedVerticalSpeed, const PerfConditions& conditions,
                             const PerfSpeedSchedule& schedule) const {
    result = {};
    walkDescent(*this, startAltitude, targetAltitude, pathAngle, weight, course, distanceToGo,
                fixedVerticalSpeed, conditions, schedule, result,
                [&result](float, const Step& step) {
                    result.time += step.time;
                    result.fuel += step.fuel;
                    result.distance += step.distance;
                    return false;
                });
}

void FmsPerf::predictDescentWithin(LegPrediction& result, float startAltitude,
                                   float& altitudeReached, float pathAngle, float weight,
                                   float course, float distanceLimit, float distanceToGo,
                                   bool fixedVerticalSpeed, const PerfConditions& conditions,
                                   const PerfSpeedSchedule& schedule) const {
    result = {};
    altitudeReached = kDescentFloor;
    walkDescent(*this, startAltitude, kDescentFloor, pathAngle, weight, course, distanceToGo,
                fixedVerticalSpeed, conditions, schedule, result,
                [&](float altitude, const Step& step) {
                    float fraction = 1.0f;
                    if (!addStepWithin(result, step, distanceLimit, fraction))
                        return false;
                    altitudeReached = altitude - fraction * step.height;
                    return true;
                });
}

void FmsPerf::legPrediction(LegPrediction& result, float altitude, float weight, float course,
                            float distance, const PerfWind& wind, const PerfConditions& conditions,
                            const PerfSpeedSchedule& schedule) const {
    legPredictionAtSpeed(result, altitude, weight, course, distance, wind, conditions,
                         schedule.cruiseSpeedAt(altitude));
}

void FmsPerf::legPredictionAtSpeed(LegPrediction& result, float altitude, float weight,
                                   float course, float distance, const PerfWind& wind,
                                   const PerfConditions& conditions, float speed) const {
    result = {};
    if (distance <= 0.0f)
        return;
    const float groundSpeed =
        std::max(conditions.groundSpeed(speed, altitude, course, wind), kMinimumGroundSpeed);
    const float milesPerMinute = groundSpeed * 60.0f / 3600.0f;
    float flow = cruiseFuelFlow(weight, speed, altitude);
    for (int minute = 0; minute < kLongestCruiseMinutes; ++minute) {
        const float endFlow = cruiseFuelFlow(weight - flow, speed, altitude);
        if (result.distance + milesPerMinute >= distance) {
            const float fraction = (distance - result.distance) / milesPerMinute;
            result.time += 60.0f * fraction;
            result.fuel +=
                60.0f * fraction * ((1.0f - fraction) * flow + fraction * endFlow) / 60.0f;
            result.distance = distance;
            return;
        }
        const float meanFlow = (flow + endFlow) / 2.0f;
        result.time += 60.0f;
        result.fuel += meanFlow;
        result.distance += milesPerMinute;
        weight -= meanFlow;
        flow = endFlow;
    }
}

void FmsPerf::predictTrip(LegPrediction& result, float startAltitude, float endAltitude,
                          float cruiseAltitude, float distance, float grossWeight,
                          float descentAngle, const PerfConditions& conditions,
                          const PerfSpeedSchedule& schedule) const {
    result = {};
    if (distance <= 0.0f)
        return;
    LegPrediction climb;
    predictClimb(climb, startAltitude, cruiseAltitude, grossWeight, 0.0f, 0.0f, startAltitude,
                 conditions, schedule);
    const float descentDistance =
        horizontalDistance(cruiseAltitude - endAltitude, descentSlope(descentAngle));
    LegPrediction cruise;
    legPrediction(cruise, cruiseAltitude, grossWeight - climb.fuel, 0.0f,
                  distance - descentDistance - climb.distance, conditions.cruiseWind, conditions,
                  schedule);
    LegPrediction descent;
    predictDescent(descent, cruiseAltitude, endAltitude, descentAngle,
                   grossWeight - climb.fuel - cruise.fuel, 0.0f,
                   distanceForAltitudeChange(cruiseAltitude, endAltitude, descentAngle), false,
                   conditions, schedule);
    result += climb;
    result += cruise;
    result += descent;
}

} // namespace tavi
