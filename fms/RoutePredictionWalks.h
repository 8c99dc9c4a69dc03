#pragma once

#include "fms/LegPrediction.h"
#include "fms/PerfConditions.h"

#include <cstddef>

namespace tavi {

class FlightPlan;
class FmsPerf;
class PlanSpeedSchedule;
struct PerfInit;

// The legs the route prediction covers: up to the end of the descent, or of the route.
std::size_t predictedLegCount(const FlightPlan& plan);

// The walks over a plan's legs that shape the vertical profile around the altitude constraints:
// two that locate the top of climb (forward from the origin) and the top of descent (backward
// from the route end) for a cruise altitude, and three that then fill every leg with the climb,
// the cruise and the descent that lie on it. They write the legs' working altitudes, predicted
// crossing altitudes, path angles and phases where the pilot entered none, and place the
// intermediate tops of descent ("T/D-" and the altitude) and the unnamed point where the descent
// slows down for the speed limit.
class RoutePredictionWalks {
public:
    struct Setting {
        // Feet: the cruise altitude entered, and the aircraft's altitude now.
        float enteredCruiseAltitude = 0.0f;
        float altitude = 0.0f;
        // Nautical miles already flown on the active leg.
        float activeLegFlown = 0.0f;
        float descentAngle = 3.0f;
        float grossWeight = 0.0f;
        // Level distance (nm) the descent keeps for slowing down to the speed limit.
        float decelerationAllowance = 0.0f;
        PerfConditions conditions;
    };

    RoutePredictionWalks(FlightPlan& plan, const FmsPerf& perf, const PlanSpeedSchedule& schedule,
                         const PerfInit& perfInit, const Setting& setting);

    // Nautical miles from the origin to where the cruise altitude is reached; the altitude where
    // the walk ended.
    float climbDistance(float cruiseAltitude, float& climbAltitude);
    // Nautical miles from the top of descent to the route end.
    float descentDistance(float cruiseAltitude, float& descentAltitude);

    // Each lowers the weight by the fuel of every piece it adds into the legs.
    void predictClimbLegs(float cruiseAltitude, float tocDistance, float& weight);
    // Raises the cruise altitude at a planned step climb.
    void predictCruiseLegs(float& cruiseAltitude, float tocDistance, float todDistance,
                           float& weight, float climbAltitude);
    void predictDescentLegs(float cruiseAltitude, float todDistance, float& weight,
                            float descentAltitude);

private:
    // The climb walk: measuring (fill clear) it returns the distance to the cruise altitude;
    // filling, it adds the climb up to the top of climb into the legs.
    float walkClimb(float cruiseAltitude, float tocDistance, float& weight, bool fill,
                    float& climbAltitude);
    // A leg the climb is free on: towards the cruise altitude, held at the next constraint
    // that caps it. The altitude at the leg's end, and the distance the climb used of the leg.
    float climbFreely(std::size_t index, float altitude, float distance, float routeDistance,
                      float& weight, LegPrediction& part, float& used) const;
    // Where the walk stands on the active leg once the part already flown is taken off: the
    // distance flown; in cruise every leg starts at the cruise altitude.
    float startOnActiveLeg(std::size_t index, float& distance, float& routeDistance,
                           float& altitude) const;
    void predictCruisePiece(std::size_t index, float& altitude, float cruiseAltitude,
                            float distance, float routeDistance, bool staysInCruise, float& weight,
                            LegPrediction& part);
    void predictDescentLeg(std::size_t index, float& altitude, float distance, float routeDistance,
                           float legEnd, float& weight, LegPrediction& part);
    // A "T/D-" point with the altitude the descent starts from.
    void placeTopOfDescent(float distance, float altitude);
    // The descent crosses the band above the speed-limit altitude where it slows down.
    bool passesSpeedLimitBand(float from, float to) const;

    // The segment predictions on the course, in the wind and at the speeds of leg index, made
    // sound.
    LegPrediction climb(float from, float to, float weight, std::size_t index,
                        float routeDistance) const;
    LegPrediction climbWithin(float from, float& reached, float weight, std::size_t index,
                              float limit, float routeDistance) const;
    LegPrediction descent(float from, float to, float angle, float weight, std::size_t index,
                          float distanceToGo, bool fixedVerticalSpeed) const;
    LegPrediction descentWithin(float from, float& reached, float angle, float weight,
                                std::size_t index, float limit, float distanceToGo,
                                bool fixedVerticalSpeed) const;
    LegPrediction level(float altitude, float weight, std::size_t index, float distance) const;

    FlightPlan& plan;
    const FmsPerf& perf;
    const PlanSpeedSchedule& schedule;
    const PerfInit& perfInit;
    Setting setting;
    std::size_t count = 0;
    float elevation = 0.0f;
};

} // namespace tavi
