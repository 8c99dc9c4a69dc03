#include "fms/FuelPredictions.h"

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
    return chosen;
}

void FuelPredictions::update(FlightPlan& plan, const Inputs& inputs,
                             const ShowMessage& showMessage) {
    perfInit.predictionTime = inputs.simTimeMs;
    plan.recalculated = false;
    if (!plan.hasOriginAndDestination() || !plan.routeEndFound ||
        plan.activeLeg > plan.routeEndLeg || !perfInit.isComplete()) {
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
    updateTripWind(perfInit, plan, static_cast<float>(perfInit.initCrzAlt));
    perfInit.prediction =
        RoutePredictions(perf, schedule)
            .predictFlightPlan(plan, static_cast<float>(perfInit.initCrzAlt), routeInputs);
    perfInit.stepDistance = 0.0;
    perfInit.stepPlanned = false;
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
