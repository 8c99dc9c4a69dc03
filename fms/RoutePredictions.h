#pragma once

#include "fms/PerfConditions.h"
#include "fms/PerfPrediction.h"
#include "fms/SpeedSchedules.h"

#include <cstddef>

namespace tavi {

class FlightPlan;
class FmsPerf;
class RoutePredictionWalks;
struct PerfInit;

// The performance prediction of a whole route with the learned tables: it fits the cruise
// altitude between the climb from the origin and the descent to the destination, both shaped by
// the altitude constraints, fills every leg's time, fuel, fuel on board and distance from the
// active leg on, marks the cruise legs, the predicted crossing altitudes, "TOC", "TOD" and the
// intermediate tops of descent, and sums the route into a PerfPrediction.
class RoutePredictions {
public:
    struct Inputs {
        const PerfInit* perfInit = nullptr;
        // The aircraft is in the air: the fuel on board is the one at the last fix.
        bool airborne = false;
        // Feet, and nautical miles already flown on the active leg.
        float altitude = 0.0f;
        float activeLegFlown = 0.0f;
        // The reserve is flown on it, at its active leg; none flies the cruise wind.
        const FlightPlan* alternate = nullptr;
        // The descent schedule's airspeed and Mach: above the speed limit the descent keeps a
        // level allowance for slowing down.
        SpeedPair descentSpeeds;
    };

    RoutePredictions(const FmsPerf& perf, const PlanSpeedSchedule& schedule)
        : perf(perf), schedule(schedule) {}

    // A zero summary for a route that cannot be predicted (no origin or destination, no route
    // end, or the active leg past it).
    PerfPrediction predictFlightPlan(FlightPlan& plan, float cruiseAltitude,
                                     const Inputs& inputs) const;

private:
    struct Profile {
        float cruiseAltitude = 0.0f;
        float tocDistance = 0.0f;
        float todDistance = 0.0f;
        // Where the climb walk reached the cruise altitude and where the descent walk ended.
        float climbAltitude = 0.0f;
        float descentAltitude = 0.0f;
    };

    // The highest altitude up to the one asked for whose climb ends before its descent begins.
    static Profile fitCruiseAltitude(RoutePredictionWalks& walks, const FlightPlan& plan,
                                     float cruiseAltitude);
    float reserveFuel(const FlightPlan& plan, const Inputs& inputs, float landingWeight,
                      const PerfConditions& conditions, float descentAngle) const;

    const FmsPerf& perf;
    const PlanSpeedSchedule& schedule;
};

// Pounds: more fuel than any prediction can sensibly hold.
inline constexpr float kMostFuel = 1.0e6f;

// A prediction that is not a number counts as nothing, no fuel is ever negative, and none is
// beyond kMostFuel.
float soundFuel(float fuel);

// The wind a cruise on leg index of the plan flies in: the leg's own when one of its two values
// was given and the leg is predicted, else the cruise wind.
PerfWind legWind(const FlightPlan& plan, std::size_t index, const PerfWind& cruiseWind);

// The trip wind of the performance record: the cruise wind's direction, its speed at the altitude
// (ft) as the descent winds fall towards the ground, and its component along the great circle
// from the origin to the destination, tailwind positive.
void updateTripWind(PerfInit& perfInit, const FlightPlan& plan, float altitude);

} // namespace tavi
