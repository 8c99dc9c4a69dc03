#include "fms/RoutePredictions.h"

#include "avionics/AirData.h"
#include "cdu/PerfInit.h"
#include "fms/FlightPlan.h"
#include "fms/FmsPerf.h"
#include "fms/RoutePredictionWalks.h"
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
constexpr double kDecelerationMilesPerKnot = 0.1;

// Nautical miles of level flight the descent keeps above the speed-limit altitude to slow down
// to the speed limit, a tenth of a mile for every knot above it.
float decelerationAllowance(const PerfInit& perfInit, const SpeedPair& descent) {
    if (perfInit.spdLim <= 0) {
        return 0.0f;
    }
    const double machSpeed = casFromMachAtAltitude(descent.mach, perfInit.altLim);
    const double speed = descent.mach == 0.0 ? descent.ias
                         : descent.ias == 0  ? machSpeed
                                             : std::min<double>(descent.ias, machSpeed);
    const double limit = perfInit.spdLim - kScheduleSpeedLimitMargin;
    return speed > limit ? static_cast<float>((speed - limit) * kDecelerationMilesPerKnot) : 0.0f;
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

// The predictions start afresh: what the pilot did not enter is the walks' to write.
void resetLegPredictions(FlightPlan& plan) {
    for (FlightPlanLeg& leg : plan.legs) {
        leg.tfd = {};
        leg.cruiseLeg = false;
        leg.markers.clear();
        LegConstraints& vnav = leg.vnav;
        if (!vnav.hasAltitude) {
            vnav.kind = 0;
            vnav.altitude = 0;
            vnav.altitude2 = 0;
        }
        if (!vnav.hasSpeed) {
            vnav.speed = 0;
            vnav.mach = 0.0f;
        }
        if (!vnav.pathAngleEntered) {
            vnav.pathAngle = 0.0f;
        }
        vnav.verticalSpeed = 0;
    }
}

// The time and fuel of the legs from the active one on.
LegPrediction sumFromActiveLeg(const FlightPlan& plan, std::size_t count) {
    LegPrediction sum;
    for (std::size_t i = plan.activeLeg; i < count; ++i) {
        sum += plan.legs[i].tfd;
    }
    return sum;
}

float planCourse(const FlightPlan& plan) {
    return static_cast<float>(GcNav::courseBetween(plan.org.latitude, plan.org.longitude,
                                                   plan.dest.latitude, plan.dest.longitude));
}

} // namespace

float soundFuel(float fuel) {
    // More than any tank holds (a damaged table cell) stays a huge amount: counted as nothing,
    // it would show a trip that burns no fuel at all.
    return fuel > 0.0f ? std::min(fuel, kMostFuel) : 0.0f;
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

RoutePredictions::Profile RoutePredictions::fitCruiseAltitude(RoutePredictionWalks& walks,
                                                              const FlightPlan& plan,
                                                              float cruiseAltitude) {
    Profile profile;
    auto fits = [&](float altitude) {
        profile.cruiseAltitude = altitude;
        profile.tocDistance = walks.climbDistance(altitude, profile.climbAltitude);
        profile.todDistance = static_cast<float>(plan.totalDistance) -
                              walks.descentDistance(altitude, profile.descentAltitude);
        return profile.tocDistance <= profile.todDistance;
    };
    float altitude = cruiseAltitude;
    if (fits(altitude)) {
        return profile;
    }
    while (altitude >= kLowestCruiseAltitude && !fits(altitude)) {
        altitude -= kCoarseStep;
    }
    altitude += kCoarseStep;
    while (altitude >= kLowestCruiseAltitude && !fits(altitude)) {
        altitude -= kFineStep;
    }
    return profile;
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
                         kDiversionDistance, landingWeight, descentAngle, conditions,
                         schedule.onLeg(kNoLeg));
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
    PerfConditions conditions = conditionsFor(perfInit, cruiseAltitude);
    const std::size_t count = predictedLegCount(plan);
    resetLegPredictions(plan);
    RoutePredictionWalks::Setting setting;
    setting.enteredCruiseAltitude = cruiseAltitude;
    setting.altitude = inputs.altitude;
    setting.activeLegFlown = inputs.activeLegFlown;
    setting.descentAngle = descentAngle;
    setting.grossWeight = grossWeight;
    setting.decelerationAllowance = decelerationAllowance(perfInit, inputs.descentSpeeds);
    setting.conditions = conditions;
    RoutePredictionWalks walks(plan, perf, schedule, perfInit, setting);
    Profile profile = fitCruiseAltitude(walks, plan, cruiseAltitude);
    // A route too short for any climb and descent descends where its climb ends, from the
    // altitude the climb reached.
    if (profile.todDistance < profile.tocDistance) {
        profile.todDistance = profile.tocDistance;
        if (profile.climbAltitude > static_cast<float>(plan.org.elevation)) {
            profile.descentAltitude = std::min(profile.descentAltitude, profile.climbAltitude);
        }
    }
    conditions.cruiseAltitude = profile.cruiseAltitude;

    float weight = grossWeight;
    float predictedCruiseAltitude = profile.cruiseAltitude;
    walks.predictClimbLegs(predictedCruiseAltitude, profile.tocDistance, weight);
    const LegPrediction toToc = sumFromActiveLeg(plan, count);
    walks.predictCruiseLegs(predictedCruiseAltitude, profile.tocDistance, profile.todDistance,
                            weight, profile.climbAltitude);
    const LegPrediction toTod = sumFromActiveLeg(plan, count);
    walks.predictDescentLegs(predictedCruiseAltitude, profile.todDistance, weight,
                             profile.descentAltitude);
    result[PerfPrediction::TocTime] = toToc.time;
    result[PerfPrediction::TocFuel] = toToc.fuel;
    result[PerfPrediction::TodTime] = toTod.time;
    result[PerfPrediction::TodFuel] = toTod.fuel;

    LegPrediction total;
    double routeDistance = 0.0;
    for (std::size_t i = 0; i < count; ++i) {
        FlightPlanLeg& leg = plan.legs[i];
        // The legs already flown keep their distance; their time and fuel are behind.
        if (i < plan.activeLeg) {
            leg.tfd.time = 0.0f;
            leg.tfd.fuel = 0.0f;
        }
        total += leg.tfd;
        leg.tfd.fuelRemaining = soundFuel(fuelOnBoard - total.fuel);
        leg.legTime = leg.tfd.time;
        routeDistance += leg.distance;
        leg.cruiseLeg = routeDistance > profile.tocDistance && routeDistance <= profile.todDistance;
    }

    result[PerfPrediction::TocDistance] = profile.tocDistance;
    result[PerfPrediction::TocFuelOnBoard] =
        soundFuel(fuelOnBoard - result[PerfPrediction::TocFuel]);
    result[PerfPrediction::TodDistance] = profile.todDistance;
    result[PerfPrediction::TodFuelOnBoard] =
        soundFuel(fuelOnBoard - result[PerfPrediction::TodFuel]);
    result[PerfPrediction::ClimbAltitude] = profile.climbAltitude;
    result[PerfPrediction::TodAltitude] = profile.descentAltitude;
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
