#include "fms/FuelPredictions.h"

#include "avionics/AirData.h"
#include "cdu/PerfInit.h"
#include "fms/FlightPlan.h"
#include "fms/FmsPerf.h"
#include "fms/RoutePredictions.h"

#include <algorithm>
#include <cmath>

namespace tavi {

namespace {

constexpr int32_t kLowestCruise = 1000;
constexpr int32_t kHighestCruise = 37000;
constexpr int32_t kCruiseStep = 1000;
constexpr int32_t kMaxSpeedCruise = 2;
// A step climb needs this much cruise (nm) after the step point.
constexpr double kShortestStepCruise = 100.0;
constexpr int kLongestStepSearchMinutes = 24 * 60;
constexpr const char* kStepClimbMarker = "BOSC";

} // namespace

int32_t FuelPredictions::chooseCruiseAltitude(const FlightPlan& plan, float preselect) {
    const PlanSpeedSchedule schedule(schedules, perfInit, envelope, plan);
    const float weight = static_cast<float>(perfInit.grossWeight());
    const int32_t optimum = perfInit.optimumAltitudeForWeight(weight);
    const bool byTime = perfInit.cruizeMode == kMaxSpeedCruise || perfInit.cruizeMode > 3 ||
                        perfInit.cruizeMode < 0;
    // Above the highest cruise altitude no preselect bars the walk: the best of them all stands.
    const int32_t lowest =
        preselect > static_cast<float>(kHighestCruise)
            ? kLowestCruise
            : std::max(kLowestCruise,
                       static_cast<int32_t>(std::ceil(preselect / kCruiseStep)) * kCruiseStep);
    int32_t chosen = lowest;
    float best = 0.0f;
    bool anyDifference = false;
    for (int32_t altitude = lowest; altitude <= kHighestCruise; altitude += kCruiseStep) {
        PerfConditions conditions;
        conditions.cruiseAltitude = static_cast<float>(altitude);
        conditions.isaDeviation = static_cast<float>(perfInit.crzIsaDev);
        LegPrediction trip;
        perf.predictTrip(trip, static_cast<float>(plan.org.elevation),
                         static_cast<float>(plan.dest.elevation), conditions.cruiseAltitude,
                         static_cast<float>(plan.totalDistance), weight,
                         static_cast<float>(perfInit.descentAngle()), conditions, schedule);
        const float cost = byTime ? trip.time : soundFuel(trip.fuel);
        anyDifference = anyDifference || (altitude != lowest && cost != best);
        if (altitude == lowest) {
            best = cost;
        } else if (cost < best) {
            best = cost;
            chosen = altitude;
            if (altitude >= optimum) {
                break;
            }
        }
    }
    // Tables with nothing learned cost every altitude the same: the bottom of the search would
    // win by default, so the optimum for the weight is chosen instead.
    if (!anyDifference) {
        const int32_t optimumStep = optimum / kCruiseStep * kCruiseStep;
        chosen = std::clamp(optimumStep, lowest, std::max(lowest, kHighestCruise));
    }
    return chosen;
}

bool FuelPredictions::findStepPoint(const FlightPlan& plan, const Inputs& inputs,
                                    double& distance) const {
    const PerfPrediction& first = perfInit.prediction;
    const double flownNow = plan.distanceFlown + inputs.activeLegFlown;
    const double toTod = std::max(first[PerfPrediction::TodDistance] - flownNow, 0.0);
    const double cruiseLength =
        first[PerfPrediction::TodDistance] - first[PerfPrediction::TocDistance];
    if (perfInit.stepIncrement <= 0 || toTod <= kShortestStepCruise ||
        cruiseLength <= kShortestStepCruise) {
        return false;
    }
    const float cruise = static_cast<float>(perfInit.cruiseAltitude);
    const SpeedTarget& target = perfInit.cruiseLimitedTarget;
    const float speed = target.iasActive
                            ? static_cast<float>(target.ias)
                            : static_cast<float>(casFromMachAtAltitude(target.mach, cruise));
    PerfConditions still;
    still.isaDeviation = static_cast<float>(perfInit.crzIsaDev);
    const double milesPerMinute = std::max(still.groundSpeed(speed, cruise, 0.0f, {}), 1.0f) / 60.0;
    const double payload = perfInit.grossWeight() - perfInit.fuelWeight;
    double start = flownNow;
    double searched = toTod;
    float weight = static_cast<float>(payload) + inputs.fuelInTanks;
    int32_t next = perfInit.cruiseAltitude + perfInit.stepIncrement;
    if (!perfInit.cruiseReached) {
        start = first[PerfPrediction::TocDistance];
        searched = cruiseLength;
        weight = static_cast<float>(payload) + first[PerfPrediction::TocFuelOnBoard];
        next = perfInit.initCrzAlt + perfInit.stepIncrement;
    } else if (perfInit.lastMaxAltitude >= next) {
        distance = flownNow;
        return true;
    }
    double along = 0.0;
    for (int minute = 0; minute < kLongestStepSearchMinutes; ++minute) {
        if (perfInit.maxAltitudeForWeight(weight) >= next) {
            distance = start + along;
            return true;
        }
        weight -= soundFuel(perf.cruiseFuelFlow(weight, speed, cruise));
        along += milesPerMinute;
        if (searched - along <= kShortestStepCruise) {
            return false;
        }
    }
    return false;
}

void FuelPredictions::update(FlightPlan& plan, const Inputs& inputs,
                             const ShowMessage& showMessage) {
    perfInit.predictionTime = inputs.simTimeMs;
    plan.recalculated = false;
    if (!plan.hasOriginAndDestination() || !plan.routeEndFound ||
        plan.activeLeg > plan.routeEndLeg || !perfInit.isComplete()) {
        // A route edit withdraws what was predicted for the old route, not the crew's
        // confirmation: the entries wait for a complete route.
        perfInit.awaitingRoute =
            perfInit.isComplete() && (perfInit.initialised || perfInit.awaitingRoute);
        if (perfInit.initialised) {
            perfInit.prediction = PerfPrediction();
        }
        perfInit.initialised = false;
        perfInit.destFuelMessageShown = false;
        perfInit.reserveFuelMessageShown = false;
        return;
    }
    // The ceiling and optimum lookups answer only for a confirmed initialisation: confirmed
    // here, before the targets store the ceiling and the cruise altitude is chosen from the
    // optimum, the first prediction after CONFIRM INIT works from real figures and not from 0.
    const bool wasConfirmed = perfInit.initialised;
    perfInit.initialised = true;
    perfInit.awaitingRoute = false;
    schedules.updateSpeedTargets(plan, inputs.altitude);
    if (perfInit.optimumRequested) {
        const int32_t altitude = chooseCruiseAltitude(plan, inputs.preselect);
        perfInit.cruiseAltitude = altitude;
        perfInit.initCrzAlt = altitude;
        perfInit.optimumCruiseAltitude = altitude;
        perfInit.optimumRequested = false;
        perfInit.isOptimum = true;
    }
    const PlanSpeedSchedule schedule(schedules, perfInit, envelope, plan);
    RoutePredictions::Inputs routeInputs;
    routeInputs.perfInit = &perfInit;
    routeInputs.airborne = inputs.airborne;
    routeInputs.altitude = inputs.altitude;
    routeInputs.activeLegFlown = inputs.activeLegFlown;
    routeInputs.alternate = inputs.alternate;
    routeInputs.descentSpeeds = schedules.descentModeSpeeds();
    // The cruise altitude in use: after a step climb the flight goes on at the new one.
    const auto cruiseAltitude = static_cast<float>(perfInit.cruiseAltitude);
    updateTripWind(perfInit, plan, cruiseAltitude);
    const RoutePredictions predictions(perf, schedule);
    auto predict = [&] {
        return predictions.predictFlightPlan(plan, cruiseAltitude, routeInputs);
    };
    perfInit.prediction = predict();
    perfInit.stepDistance = 0.0;
    perfInit.stepPlanned = false;
    double stepPoint = 0.0;
    if (findStepPoint(plan, inputs, stepPoint)) {
        perfInit.stepPlanned = true;
        perfInit.stepDistance = stepPoint;
        perfInit.predictStepClimb = true;
        perfInit.stepClimbPrediction = predict();
        perfInit.predictStepClimb = false;
        perfInit.prediction = predict();
        const double used = plan.fuelUsed;
        const double withStep = perfInit.stepClimbPrediction[PerfPrediction::FuelRequired] + used;
        const double without = perfInit.prediction[PerfPrediction::FuelRequired] + used;
        // Without any fuel to compare, the step costs nothing.
        perfInit.stepRatio = without > 0.0 ? withStep / without : 1.0;
    }
    if (perfInit.stepPlanned && perfInit.stepRatio <= 1.0) {
        perfInit.predictStepClimb = true;
        perfInit.prediction = predict();
        perfInit.predictStepClimb = false;
        plan.placeMarker(perfInit.stepDistance, kStepClimbMarker);
    }
    if (!inputs.airborne || !wasConfirmed) {
        perfInit.departurePrediction = perfInit.prediction;
    }
    const float extra = perfInit.prediction[PerfPrediction::ExtraFuel];
    if (extra <= 0.0f && !perfInit.destFuelMessageShown) {
        showMessage("CHECK DEST FUEL", 1);
        perfInit.destFuelMessageShown = true;
    } else if (extra <= perfInit.prediction[PerfPrediction::ReserveFuel] &&
               !perfInit.reserveFuelMessageShown) {
        showMessage("CHECK RESERVE FUEL", 1);
        perfInit.reserveFuelMessageShown = true;
    }
}

} // namespace tavi
