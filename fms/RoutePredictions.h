#pragma once

#include "fms/PerfConditions.h"
#include "fms/PerfPrediction.h"

#include <cstddef>

namespace tavi {

class FlightPlan;
class FmsPerf;
struct LegPrediction;
struct PerfInit;

// The performance prediction of a whole route with the learned tables: it fits the cruise
// altitude between the climb from the origin and the descent to the destination, fills every
// leg's time, fuel, fuel on board and distance from the active leg on, marks the cruise legs,
// the predicted crossing altitudes, "TOC" and "TOD", and sums the route into a PerfPrediction.
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
    };

    RoutePredictions(const FmsPerf& perf, const PerfSpeedSchedule& schedule)
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
    };

    Profile fitCruiseAltitude(const FlightPlan& plan, float cruiseAltitude,
                              const PerfConditions& conditions, float weight,
                              float descentAngle) const;
    // Time, fuel and distance of one piece of a leg, from altitude over the distance, in the
    // phase the piece lies in; the altitude moves to where the piece ends.
    void predictPiece(LegPrediction& piece, float& altitude, float& weight, float distance,
                      float course, float routeDistance, const Profile& profile,
                      const PerfConditions& conditions, const PerfWind& legWind, float elevation,
                      float distanceToGo, float endElevation, float descentAngle) const;
    float reserveFuel(const FlightPlan& plan, const Inputs& inputs, float landingWeight,
                      const PerfConditions& conditions, float descentAngle) const;

    const FmsPerf& perf;
    const PerfSpeedSchedule& schedule;
};

// A prediction that is not a finite amount counts as nothing, and no fuel is ever negative.
float soundFuel(float fuel);

// The wind a cruise on leg index of the plan flies in: the leg's own when one of its two values
// was given and the leg is predicted, else the cruise wind.
PerfWind legWind(const FlightPlan& plan, std::size_t index, const PerfWind& cruiseWind);

// The trip wind of the performance record: the cruise wind's direction, its speed at the altitude
// (ft) as the descent winds fall towards the ground, and its component along the great circle
// from the origin to the destination, tailwind positive.
void updateTripWind(PerfInit& perfInit, const FlightPlan& plan, float altitude);

} // namespace tavi
