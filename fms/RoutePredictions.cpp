#include "fms/RoutePredictions.h"

#include "cdu/PerfInit.h"
#include "fms/FlightPlan.h"
#include "fms/FmsPerf.h"
#include "navdata/GcNav.h"
#include "navdata/GeoAngles.h"

#include <algorithm>
#include <cmath>

namespace tavi {

namespace {

constexpr float kLowestCruiseAltitude = 1000.0f;
constexpr float kCoarseStep = 1000.0f;
constexpr float kFineStep = 100.0f;
constexpr float kReserveAltitude = 5000.0f;
constexpr float kReserveSpeed = 195.0f;
constexpr float kDiversionDistance = 200.0f;
constexpr float kHoldingDistance = 97.5f;
// Pieces shorter than this (nm) are rounding left over at a boundary.
constexpr float kSmallestPiece = 1.0e-4f;

float finiteOrZero(float value) {
    return std::isfinite(value) && value > 0.0f ? value : 0.0f;
}

// Time, fuel and distance of a piece are amounts: what the tables cannot give is nothing.
void makeSound(LegPrediction& piece) {
    piece.time = finiteOrZero(piece.time);
    piece.fuel = soundFuel(piece.fuel);
    piece.distance = finiteOrZero(piece.distance);
}

// The legs the route prediction covers: up to the end of the descent, or of the route.
std::size_t predictedLegCount(const FlightPlan& plan) {
    const std::size_t last = plan.descentEndFound ? plan.descentEndLeg : plan.routeEndLeg;
    return std::min(last + 1, plan.legCount());
}

float routeLength(const FlightPlan& plan, std::size_t count) {
    double length = 0.0;
    for (std::size_t i = 0; i < count; ++i) {
        length += plan.legs[i].distance;
    }
    return static_cast<float>(length);
}

PerfConditions conditionsFor(const PerfInit& perfInit, float cruiseAltitude) {
    PerfConditions conditions;
    conditions.cruiseAltitude = cruiseAltitude;
    conditions.isaDeviation = static_cast<float>(perfInit.crzIsaDev);
    conditions.cruiseWind.direction = static_cast<float>(perfInit.crzWindDir);
    conditions.cruiseWind.speed = static_cast<float>(perfInit.crzWindStrength);
    conditions.cruiseWindAltitude = static_cast<float>(perfInit.crzWindAlt);
    return conditions;
}

void resetLegPredictions(FlightPlan& plan) {
    for (FlightPlanLeg& leg : plan.legs) {
        leg.tfd = {};
        leg.cruiseLeg = false;
        leg.markers.clear();
    }
}

float planCourse(const FlightPlan& plan) {
    return static_cast<float>(GcNav::courseBetween(plan.org.latitude, plan.org.longitude,
                                                   plan.dest.latitude, plan.dest.longitude));
}

} // namespace

float soundFuel(float fuel) {
    return finiteOrZero(fuel);
}

PerfWind legWind(const FlightPlan& plan, std::size_t index, const PerfWind& cruiseWind) {
    if (index >= predictedLegCount(plan)) {
        return cruiseWind;
    }
    const FlightPlanLeg& leg = plan.legs[index];
    if (leg.windDirection < 0 && leg.windSpeed < 0) {
        return cruiseWind;
    }
    return {static_cast<float>(leg.windDirection), static_cast<float>(leg.windSpeed)};
}

void updateTripWind(PerfInit& perfInit, const FlightPlan& plan, float altitude) {
    const PerfConditions conditions = conditionsFor(perfInit, altitude);
    const float course = planCourse(plan);
    const int32_t speed = static_cast<int32_t>(conditions.descentWindAt(altitude).speed);
    perfInit.cruiseWindDirection = perfInit.crzWindDir;
    perfInit.cruiseWindSpeed = speed;
    const float across =
        geo::normalize180(static_cast<float>(perfInit.crzWindDir) - course + 180.0f);
    perfInit.cruiseWindComponent =
        static_cast<int32_t>(std::cos(across / 57.29577951308232f) * static_cast<float>(speed));
}

RoutePredictions::Profile RoutePredictions::fitCruiseAltitude(const FlightPlan& plan,
                                                              float cruiseAltitude,
                                                              const PerfConditions& base,
                                                              float weight,
                                                              float descentAngle) const {
    const float elevation = static_cast<float>(plan.org.elevation);
    const float endElevation = static_cast<float>(plan.dest.elevation);
    const float length = routeLength(plan, predictedLegCount(plan));
    Profile profile;
    auto measure = [&](float altitude) {
        PerfConditions conditions = base;
        conditions.cruiseAltitude = altitude;
        LegPrediction climb;
        perf.predictClimb(climb, elevation, altitude, weight, 0.0f, 0.0f, elevation, conditions,
                          schedule);
        profile.cruiseAltitude = altitude;
        profile.tocDistance = climb.distance;
        profile.todDistance =
            length - distanceForAltitudeChange(altitude, endElevation, descentAngle);
        return profile.tocDistance <= profile.todDistance;
    };
    float altitude = cruiseAltitude;
    if (measure(altitude)) {
        return profile;
    }
    while (altitude >= kLowestCruiseAltitude && !measure(altitude)) {
        altitude -= kCoarseStep;
    }
    altitude += kCoarseStep;
    while (altitude >= kLowestCruiseAltitude && !measure(altitude)) {
        altitude -= kFineStep;
    }
    return profile;
}

void RoutePredictions::predictPiece(LegPrediction& piece, float& altitude, float& weight,
                                    float distance, float course, float routeDistance,
                                    const Profile& profile, const PerfConditions& conditions,
                                    const PerfWind& legWind, float elevation, float distanceToGo,
                                    float endElevation, float descentAngle) const {
    piece = {};
    float reached = altitude;
    if (routeDistance < profile.tocDistance && altitude < profile.cruiseAltitude) {
        perf.predictClimbWithin(piece, altitude, reached, weight, course, distance, routeDistance,
                                elevation, conditions, schedule);
    } else if (routeDistance >= profile.todDistance) {
        perf.predictDescentWithin(piece, altitude, reached, descentAngle, weight, course, distance,
                                  distanceToGo, false, conditions, schedule);
        reached = std::max(reached, endElevation);
    }
    makeSound(piece);
    altitude = std::isfinite(reached) ? reached : altitude;
    weight -= piece.fuel;
    const float level = distance - piece.distance;
    if (level > kSmallestPiece) {
        LegPrediction cruise;
        perf.legPrediction(cruise, altitude, weight, course, level, legWind, conditions, schedule);
        makeSound(cruise);
        cruise.distance = level;
        weight -= cruise.fuel;
        piece += cruise;
    }
}

float RoutePredictions::reserveFuel(const FlightPlan& plan, const Inputs& inputs,
                                    float landingWeight, const PerfConditions& conditions,
                                    float descentAngle) const {
    const PerfInit& perfInit = *inputs.perfInit;
    const float course = planCourse(plan);
    const PerfWind wind = inputs.alternate ? legWind(*inputs.alternate, inputs.alternate->activeLeg,
                                                     conditions.cruiseWind)
                                           : conditions.cruiseWind;
    LegPrediction holding;
    switch (perfInit.fuelReserveType) {
    case 1:
        return soundFuel(static_cast<float>(perfInit.fuelReserveWeight));
    case 2:
        perf.legPredictionAtSpeed(holding, kReserveAltitude, landingWeight, course,
                                  static_cast<float>(perfInit.fuelReserveTime) / 60.0f *
                                      kReserveSpeed,
                                  wind, conditions, kReserveSpeed);
        return soundFuel(holding.fuel);
    default: {
        LegPrediction diversion;
        perf.predictTrip(diversion, static_cast<float>(plan.org.elevation),
                         static_cast<float>(plan.dest.elevation), conditions.cruiseAltitude,
                         kDiversionDistance, landingWeight, descentAngle, conditions, schedule);
        const float diversionFuel = soundFuel(diversion.fuel);
        perf.legPredictionAtSpeed(holding, kReserveAltitude, landingWeight - diversionFuel, course,
                                  kHoldingDistance, wind, conditions, kReserveSpeed);
        return diversionFuel + soundFuel(holding.fuel);
    }
    }
}

PerfPrediction RoutePredictions::predictFlightPlan(FlightPlan& plan, float cruiseAltitude,
                                                   const Inputs& inputs) const {
    PerfPrediction result;
    const PerfInit& perfInit = *inputs.perfInit;
    if (!plan.hasOriginAndDestination() || !plan.routeEndFound ||
        plan.activeLeg > plan.routeEndLeg) {
        return result;
    }
    const float descentAngle = static_cast<float>(perfInit.descentAngle());
    const float grossWeight = static_cast<float>(perfInit.grossWeight());
    const float fuelOnBoard = inputs.airborne
                                  ? perfInit.fuelAtLastFix
                                  : static_cast<float>(perfInit.fuelWeight - perfInit.toFuel);
    const float elevation = static_cast<float>(plan.org.elevation);
    const float endElevation = static_cast<float>(plan.dest.elevation);
    PerfConditions conditions = conditionsFor(perfInit, cruiseAltitude);
    Profile profile =
        fitCruiseAltitude(plan, cruiseAltitude, conditions, grossWeight, descentAngle);
    conditions.cruiseAltitude = profile.cruiseAltitude;
    const std::size_t count = predictedLegCount(plan);
    const float length = routeLength(plan, count);
    resetLegPredictions(plan);

    float weight = grossWeight;
    float altitude = inputs.airborne ? std::max(inputs.altitude, elevation) : elevation;
    if (perfInit.cruiseReached && !perfInit.descentStarted) {
        altitude = profile.cruiseAltitude;
    }
    float routeDistance = 0.0f;
    LegPrediction total;
    bool tocRecorded = false;
    bool todRecorded = false;
    for (std::size_t i = 0; i < count; ++i) {
        FlightPlanLeg& leg = plan.legs[i];
        float remaining = static_cast<float>(leg.distance);
        if (i < plan.activeLeg) {
            routeDistance += remaining;
            continue;
        }
        if (i == plan.activeLeg) {
            const float flown = std::clamp(inputs.activeLegFlown, 0.0f, remaining);
            routeDistance += flown;
            remaining -= flown;
            leg.tfd.distance += flown;
        }
        const float course = static_cast<float>(leg.course);
        while (remaining > kSmallestPiece) {
            float boundary = length;
            if (routeDistance < profile.tocDistance) {
                boundary = profile.tocDistance;
            } else if (routeDistance < profile.todDistance) {
                boundary = profile.todDistance;
            }
            const float span =
                std::min(remaining, std::max(boundary - routeDistance, kSmallestPiece));
            LegPrediction piece;
            predictPiece(piece, altitude, weight, span, course, routeDistance, profile, conditions,
                         legWind(plan, i, conditions.cruiseWind), elevation, length - routeDistance,
                         endElevation, descentAngle);
            piece.distance = span;
            leg.tfd += piece;
            total += piece;
            routeDistance += span;
            remaining -= span;
            if (!tocRecorded && routeDistance >= profile.tocDistance - kSmallestPiece) {
                tocRecorded = true;
                result[PerfPrediction::TocTime] = total.time;
                result[PerfPrediction::TocFuel] = total.fuel;
            }
            if (!todRecorded && routeDistance >= profile.todDistance - kSmallestPiece) {
                todRecorded = true;
                result[PerfPrediction::TodTime] = total.time;
                result[PerfPrediction::TodFuel] = total.fuel;
            }
        }
        leg.tfd.fuelRemaining = soundFuel(fuelOnBoard - total.fuel);
        leg.legTime = leg.tfd.time;
        leg.cruiseLeg = routeDistance > profile.tocDistance && routeDistance <= profile.todDistance;
        leg.vnav.predictedAltitude = static_cast<int32_t>(std::trunc(altitude));
        leg.vnav.phase = routeDistance <= profile.tocDistance  ? 1u
                         : routeDistance > profile.todDistance ? kPhaseDescent
                                                               : leg.vnav.phase;
    }

    result[PerfPrediction::TocDistance] = profile.tocDistance;
    result[PerfPrediction::TocFuelOnBoard] =
        soundFuel(fuelOnBoard - result[PerfPrediction::TocFuel]);
    result[PerfPrediction::TodDistance] = profile.todDistance;
    result[PerfPrediction::TodFuelOnBoard] =
        soundFuel(fuelOnBoard - result[PerfPrediction::TodFuel]);
    result[PerfPrediction::ClimbAltitude] = profile.cruiseAltitude;
    result[PerfPrediction::TodAltitude] = profile.cruiseAltitude;
    const float required = total.fuel + static_cast<float>(perfInit.toFuel + perfInit.landFuel);
    result[PerfPrediction::FuelRequired] = required;
    result[PerfPrediction::ExtraFuel] = static_cast<float>(perfInit.fuelWeight) - required;
    result[PerfPrediction::LandingWeight] = grossWeight - required;
    result[PerfPrediction::ReserveFuel] =
        reserveFuel(plan, inputs, result[PerfPrediction::LandingWeight], conditions, descentAngle);

    plan.timeToGo = total.time;
    plan.predictedEndFuel = soundFuel(fuelOnBoard - total.fuel);
    if (!inputs.airborne) {
        plan.takeoffEndFuel = plan.predictedEndFuel;
    }
    if (!perfInit.cruiseReached && !perfInit.climbDone) {
        plan.placeMarker(profile.tocDistance, "TOC");
    }
    if (!perfInit.descentStarted) {
        plan.placeMarker(profile.todDistance, "TOD");
    }
    return result;
}

} // namespace tavi
