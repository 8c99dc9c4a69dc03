#include "fms/RoutePredictionWalks.h"

#include "cdu/FmsParser.h"
#include "cdu/PerfInit.h"
#include "fms/DescentPath.h"
#include "fms/FlightPlan.h"
#include "fms/FmsPerf.h"
#include "fms/RoutePredictions.h"
#include "fms/SpeedSchedules.h"
#include "navdata/GcNav.h"

#include <algorithm>
#include <cmath>

namespace tavi {

namespace {

constexpr float kShallowestPathAngle = 1.0f;
constexpr float kSteepestPathAngle = 6.0f;
// Near the end of a route that stops short of the destination the last miles descend 1000 ft in
// 5 nm.
constexpr float kFinalDescentHeight = 1000.0f;
constexpr float kFinalDescentDistance = 5.0f;
constexpr float kFinalDescentZone = 10.0f;
constexpr float kShortestFinalDescent = 0.5f;
// A descent starting this close (ft) to the cruise altitude is the main top of descent.
constexpr float kCruiseAltitudeBand = 50.0f;
constexpr float kLowerConstraintBand = 50.0f;
// The top of descent lies within this (nm) of the route end: the last leg is cruise to the end.
constexpr float kTodAtRouteEnd = 0.1f;

float amountOrZero(float value) {
    return std::isfinite(value) && value > 0.0f ? value : 0.0f;
}

// Time, fuel and distance of a piece are amounts: what the tables cannot give is nothing.
void makeWalkPieceSound(LegPrediction& piece) {
    piece.time = amountOrZero(piece.time);
    piece.fuel = soundFuel(piece.fuel);
    piece.distance = amountOrZero(piece.distance);
}

int32_t truncatedFeet(float altitude) {
    return std::isfinite(altitude) ? static_cast<int32_t>(std::trunc(altitude)) : 0;
}

int32_t roundedFeet(float altitude) {
    return std::isfinite(altitude) ? static_cast<int32_t>(std::floor(altitude + 0.5f)) : 0;
}

float feet(int32_t altitude) {
    return static_cast<float>(altitude);
}

// Adds a piece into the part of a leg and burns its fuel.
void take(LegPrediction& part, const LegPrediction& piece, float& weight) {
    part += piece;
    weight -= piece.fuel;
}

float clampedPathAngle(float angle) {
    return std::isfinite(angle) ? std::clamp(angle, kShallowestPathAngle, kSteepestPathAngle)
                                : kShallowestPathAngle;
}

} // namespace

std::size_t predictedLegCount(const FlightPlan& plan) {
    const std::size_t last = plan.descentEndFound ? plan.descentEndLeg : plan.routeEndLeg;
    return std::min<std::size_t>(last + 1, plan.legCount());
}

RoutePredictionWalks::RoutePredictionWalks(FlightPlan& plan, const FmsPerf& perf,
                                           const PlanSpeedSchedule& schedule,
                                           const PerfInit& perfInit, const Setting& setting)
    : plan(plan), perf(perf), schedule(schedule), perfInit(perfInit), setting(setting),
      count(predictedLegCount(plan)), elevation(feet(plan.org.elevation)) {}

LegPrediction RoutePredictionWalks::climb(float from, float to, float weight, std::size_t index,
                                          float routeDistance) const {
    LegPrediction piece;
    perf.predictClimb(piece, from, to, weight, static_cast<float>(plan.legs[index].course),
                      routeDistance, elevation, setting.conditions, schedule.onLeg(index));
    makeWalkPieceSound(piece);
    return piece;
}

LegPrediction RoutePredictionWalks::climbWithin(float from, float& reached, float weight,
                                                std::size_t index, float limit,
                                                float routeDistance) const {
    LegPrediction piece;
    perf.predictClimbWithin(piece, from, reached, weight,
                            static_cast<float>(plan.legs[index].course), limit, routeDistance,
                            elevation, setting.conditions, schedule.onLeg(index));
    makeWalkPieceSound(piece);
    reached = std::isfinite(reached) ? reached : from;
    return piece;
}

LegPrediction RoutePredictionWalks::descent(float from, float to, float angle, float weight,
                                            std::size_t index, float distanceToGo,
                                            bool fixedVerticalSpeed) const {
    LegPrediction piece;
    perf.predictDescent(piece, from, to, angle, weight, static_cast<float>(plan.legs[index].course),
                        distanceToGo, fixedVerticalSpeed, setting.conditions,
                        schedule.onLeg(index));
    makeWalkPieceSound(piece);
    return piece;
}

LegPrediction RoutePredictionWalks::descentWithin(float from, float& reached, float angle,
                                                  float weight, std::size_t index, float limit,
                                                  float distanceToGo,
                                                  bool fixedVerticalSpeed) const {
    LegPrediction piece;
    perf.predictDescentWithin(piece, from, reached, angle, weight,
                              static_cast<float>(plan.legs[index].course), limit, distanceToGo,
                              fixedVerticalSpeed, setting.conditions, schedule.onLeg(index));
    makeWalkPieceSound(piece);
    reached = std::isfinite(reached) ? reached : from;
    return piece;
}

LegPrediction RoutePredictionWalks::level(float altitude, float weight, std::size_t index,
                                          float distance) const {
    LegPrediction piece;
    perf.legPrediction(piece, altitude, weight, static_cast<float>(plan.legs[index].course),
                       distance, legWind(plan, index, setting.conditions.cruiseWind),
                       setting.conditions, schedule.onLeg(index));
    makeWalkPieceSound(piece);
    return piece;
}

float RoutePredictionWalks::startOnActiveLeg(std::size_t index, float& distance,
                                             float& routeDistance, float& altitude) const {
    if (index != plan.activeLeg || setting.activeLegFlown <= 0.0f) {
        if (perfInit.cruiseReached) {
            altitude = setting.enteredCruiseAltitude;
        }
        return 0.0f;
    }
    if (perfInit.cruiseReached) {
        altitude = setting.enteredCruiseAltitude;
        return 0.0f;
    }
    const float flown = std::clamp(setting.activeLegFlown, 0.0f, std::max(distance, 0.0f));
    distance -= flown;
    routeDistance += flown;
    altitude = std::min(setting.enteredCruiseAltitude, setting.altitude);
    return flown;
}

float RoutePredictionWalks::climbDistance(float cruiseAltitude, float& climbAltitude) {
    float weight = setting.grossWeight;
    return walkClimb(cruiseAltitude, 0.0f, weight, false, climbAltitude);
}

void RoutePredictionWalks::predictClimbLegs(float cruiseAltitude, float tocDistance,
                                            float& weight) {
    float climbAltitude = 0.0f;
    walkClimb(cruiseAltitude, tocDistance, weight, true, climbAltitude);
}

float RoutePredictionWalks::walkClimb(float cruiseAltitude, float tocDistance, float& weight,
                                      bool fill, float& climbAltitude) {
    setting.conditions.cruiseAltitude = cruiseAltitude;
    const float z = cruiseAltitude;
    float result = 0.0f;
    float routeDistance = 0.0f;
    float altitude = elevation;
    climbAltitude = altitude;
    for (std::size_t i = 0; i < count; ++i) {
        if (fill && routeDistance >= tocDistance) {
            break;
        }
        FlightPlanLeg& leg = plan.legs[i];
        LegConstraints& vnav = leg.vnav;
        const float legDistance = static_cast<float>(leg.distance);
        const bool endsBeforeToc = routeDistance + legDistance <= tocDistance;
        float d = fill ? std::min(legDistance, tocDistance - routeDistance) : legDistance;
        const float flown = startOnActiveLeg(i, d, routeDistance, altitude);
        result += flown;
        LegPrediction part;
        if (vnav.hasAltitude && vnav.kind == kAltitudeAtOrAbove &&
            feet(vnav.altitude) <= altitude) {
            // Met already: the climb goes on as on a leg without a constraint, never back down.
            float used = 0.0f;
            vnav.predictedAltitude =
                truncatedFeet(climbFreely(i, altitude, d, routeDistance, weight, part, used));
            result += used;
        } else if (vnav.hasAltitude) {
            const float c = feet(vnav.altitude);
            if (!fill && z <= altitude && i == 0) {
                return 0.0f;
            }
            const bool descends = c <= altitude && !(fill && perfInit.cruiseReached);
            if (!descends) {
                const LegPrediction toConstraint =
                    climb(altitude, std::min(c, z), weight, i, routeDistance);
                if (toConstraint.distance < d) {
                    take(part, toConstraint, weight);
                    result += toConstraint.distance;
                    const float rest = d - toConstraint.distance;
                    vnav.predictedAltitude = truncatedFeet(std::min(c, z));
                    if (z > c) {
                        LegPrediction after;
                        if (vnav.kind == kAltitudeAtOrAbove || vnav.kind == kAltitudeWindow) {
                            float reached = c;
                            after = climbWithin(c, reached, weight, i, rest, routeDistance);
                            vnav.predictedAltitude = truncatedFeet(reached);
                        } else {
                            after = level(c, weight, i, rest);
                            vnav.predictedAltitude = vnav.altitude;
                        }
                        take(part, after, weight);
                        result += after.distance;
                    }
                } else {
                    float reached = altitude;
                    const LegPrediction within =
                        climbWithin(altitude, reached, weight, i, d, routeDistance);
                    vnav.predictedAltitude = truncatedFeet(reached);
                    take(part, within, weight);
                    result += within.distance;
                }
            } else {
                const float toGo = static_cast<float>(plan.totalDistance) - routeDistance;
                const LegPrediction down =
                    descent(altitude, c, setting.descentAngle, weight, i, toGo, true);
                if (down.distance <= d) {
                    take(part, down, weight);
                    take(part, level(c, weight, i, d - down.distance), weight);
                    vnav.predictedAltitude = vnav.altitude;
                } else {
                    float reached = altitude;
                    take(part,
                         descentWithin(altitude, reached, setting.descentAngle, weight, i, d, toGo,
                                       true),
                         weight);
                    vnav.predictedAltitude = truncatedFeet(reached);
                }
                result += d;
            }
        } else {
            vnav.kind = kAltitudeAt;
            float used = 0.0f;
            const float m = climbFreely(i, altitude, d, routeDistance, weight, part, used);
            result += used;
            if (!fill || endsBeforeToc) {
                vnav.altitude = fill ? roundedFeet(m) : truncatedFeet(m);
                vnav.predictedAltitude = vnav.altitude;
            }
        }
        // A climb that falls short of a constraint goes on from where it got to.
        altitude = feet(vnav.hasAltitude ? vnav.predictedAltitude : vnav.altitude);
        routeDistance += d;
        if (fill) {
            part.distance = flown + std::max(d, 0.0f);
            leg.tfd += part;
            if (routeDistance <= tocDistance) {
                vnav.phase = kPhaseClimb;
            }
            continue;
        }
        if (altitude < z) {
            continue;
        }
        climbAltitude = altitude;
        const bool higherConstraintNext = i + 1 < count && plan.legs[i + 1].vnav.hasAltitude &&
                                          plan.legs[i + 1].vnav.altitude > vnav.altitude;
        if (!higherConstraintNext) {
            break;
        }
    }
    return result;
}

float RoutePredictionWalks::climbFreely(std::size_t index, float altitude, float distance,
                                        float routeDistance, float& weight, LegPrediction& part,
                                        float& used) const {
    const float z = setting.conditions.cruiseAltitude;
    const float next =
        std::min(feet(plan.nextClimbConstraint(index)), setting.enteredCruiseAltitude);
    float reached = altitude;
    const LegPrediction within =
        climbWithin(altitude, reached, weight, index, distance, routeDistance);
    const float m = std::min(next, reached);
    if (z < m) {
        const LegPrediction toCruise = climb(altitude, z, weight, index, routeDistance);
        take(part, toCruise, weight);
        used = toCruise.distance;
        return z;
    }
    take(part, within, weight);
    // Held level below the next constraint, the leg is flown to its end.
    used = m < reached ? distance : within.distance;
    return m;
}

float RoutePredictionWalks::descentDistance(float cruiseAltitude, float& descentAltitude) {
    setting.conditions.cruiseAltitude = cruiseAltitude;
    const float z = cruiseAltitude;
    const float angle = setting.descentAngle;
    const float total = static_cast<float>(plan.totalDistance);
    float weight = setting.grossWeight;
    float allowance = setting.decelerationAllowance;
    descentAltitude = elevation;
    if (count == 0) {
        descentAltitude = feet(plan.dest.elevation);
        return total;
    }
    float result = 0.0f;
    float walked = 0.0f;
    float h = feet(plan.dest.elevation);
    LegConstraints& lastLeg = plan.legs[count - 1].vnav;
    if (lastLeg.hasAltitude) {
        h = feet(lastLeg.altitude);
    } else {
        lastLeg.kind = kAltitudeAt;
        lastLeg.altitude = truncatedFeet(h);
    }
    lastLeg.predictedAltitude = truncatedFeet(h);
    if (!lastLeg.pathAngleEntered) {
        lastLeg.pathAngle = angle;
    }
    bool ended = false;
    if (plan.endsBeforeDestination() && !plan.descentEndFound && !lastLeg.hasAltitude) {
        const Waypoint& fix = plan.legs[count - 1].wpt;
        const float toDestination = static_cast<float>(GcNav::distanceBetween(
            fix.latitude, fix.longitude, plan.dest.latitude, plan.dest.longitude));
        h = std::min(altitudeAfterDistance(h, toDestination, lastLeg.pathAngle), z);
        lastLeg.altitude = truncatedFeet(h);
        lastLeg.predictedAltitude = lastLeg.altitude;
        ended = h >= z;
    }
    for (std::size_t i = count - 1; !ended && i-- > 0;) {
        LegConstraints& vnav = plan.legs[i].vnav;
        LegConstraints& next = plan.legs[i + 1].vnav;
        float dn = static_cast<float>(plan.legs[i + 1].distance);
        if (vnav.hasAltitude && i >= plan.activeLeg && vnav.phase != kPhaseClimb) {
            const float ai = feet(vnav.altitude);
            const float an = feet(next.altitude);
            vnav.predictedAltitude = vnav.altitude;
            if (ai > an) {
                float g = clampedPathAngle(next.pathAngleEntered ? next.pathAngle
                                                                 : pathAngle(an, ai, dn));
                if (!next.pathAngleEntered && vnav.kind == kAltitudeAtOrBelow) {
                    g = std::min(g, angle);
                }
                // A descent that fits in the next leg crosses the constraint at its altitude;
                // one that cannot crosses it lower by what it would miss at the next fix.
                if (distanceForAltitudeChange(ai, an, g) > dn) {
                    float reached = ai;
                    descentWithin(ai, reached, g, weight, i + 1, dn, walked, false);
                    vnav.predictedAltitude = truncatedFeet(ai - (reached - an));
                }
                result += dn;
                next.pathAngle = g;
            } else {
                float reached = an;
                const LegPrediction up =
                    climbWithin(an, reached, weight, i + 1, dn, total - walked);
                if (reached <= ai) {
                    weight -= up.fuel;
                    vnav.predictedAltitude = truncatedFeet(reached);
                } else {
                    weight -= level(ai, weight, i + 1, dn).fuel;
                }
                result += dn;
            }
            h = vnav.kind == kAltitudeAtOrBelow ? feet(vnav.predictedAltitude) : ai;
        } else {
            vnav.predictedAltitude = vnav.altitude;
            const float t = feet(plan.previousDescentConstraint(i));
            if (!vnav.hasAltitude) {
                vnav.kind = kAltitudeAt;
            }
            if (!next.pathAngleEntered) {
                const bool finalMiles = walked < kFinalDescentZone && dn <= walked &&
                                        !plan.descentEndFound && plan.isBeforeRouteEnd();
                next.pathAngle = finalMiles ? pathAngle(feet(next.altitude) + kFinalDescentHeight,
                                                        feet(next.altitude), kFinalDescentDistance)
                                            : angle;
            }
            const float ref = next.kind == kAltitudeAtOrBelow ? feet(next.predictedAltitude)
                                                              : feet(next.altitude);
            float a = altitudeAfterDistance(ref, dn, next.pathAngle);
            if (a >= feet(perfInit.altLim) && allowance > 0.0f) {
                const float slowing = std::min(allowance, dn);
                allowance -= slowing;
                walked += slowing;
                dn -= slowing;
                result += slowing;
                a = altitudeAfterDistance(ref, dn, next.pathAngle);
            }
            if (a <= z) {
                result += dn;
                const float bound = std::min(a, t);
                if (i + 1 == plan.activeLeg && feet(vnav.altitude) < std::min(std::trunc(a), t)) {
                    h = feet(vnav.altitude);
                } else {
                    if (!vnav.hasAltitude) {
                        vnav.altitude = truncatedFeet(bound);
                    }
                    h = bound;
                }
            } else {
                h = std::min(t, z);
                const float x = distanceForAltitudeChange(h, ref, next.pathAngle);
                result += t < z - kLowerConstraintBand ? dn : std::min(dn, x);
                if (!vnav.hasAltitude) {
                    vnav.altitude = truncatedFeet(h);
                }
            }
        }
        walked += dn;
        if (h < z) {
            continue;
        }
        descentAltitude = h;
        ended = !(i > 0 && next.hasAltitude && feet(plan.legs[i - 1].vnav.altitude) > h);
    }
    if (!ended) {
        const FlightPlanLeg& first = plan.legs[0];
        const float firstEnd = feet(first.vnav.altitude);
        const float firstLength = static_cast<float>(first.distance);
        result += std::min(distanceForAltitudeChange(z, firstEnd, angle), firstLength);
        // The descent starts where its path meets the cruise altitude or the route's start,
        // never from the origin's elevation.
        descentAltitude = std::min(z, altitudeAfterDistance(firstEnd, firstLength, angle));
    }
    if (plan.descentEndFound && plan.descentEndLeg < plan.routeEndLeg) {
        FlightPlanLeg last;
        if (plan.endsBeforeDestination() && plan.copyLastLeg(last)) {
            result += static_cast<float>(GcNav::distanceBetween(
                last.wpt.latitude, last.wpt.longitude, plan.dest.latitude, plan.dest.longitude));
        }
        for (std::size_t j = plan.descentEndLeg + 1; j <= plan.routeEndLeg && j < plan.legCount();
             ++j) {
            result += static_cast<float>(plan.legs[j].distance);
        }
    }
    return result;
}

void RoutePredictionWalks::predictCruiseLegs(float& cruiseAltitude, float tocDistance,
                                             float todDistance, float& weight,
                                             float climbAltitude) {
    setting.conditions.cruiseAltitude = cruiseAltitude;
    const float total = static_cast<float>(plan.totalDistance);
    float altitude = climbAltitude;
    float routeDistance = 0.0f;
    for (std::size_t i = 0; i < count; ++i) {
        FlightPlanLeg& leg = plan.legs[i];
        const float legEnd = routeDistance + static_cast<float>(leg.distance);
        if (legEnd <= tocDistance) {
            routeDistance = legEnd;
            continue;
        }
        if (routeDistance >= todDistance) {
            break;
        }
        const float start = std::max(routeDistance, tocDistance);
        const float end = std::min(legEnd, todDistance);
        const bool todAtRouteEnd =
            i + 1 == count && std::fabs(todDistance - total) <= kTodAtRouteEnd;
        const bool staysInCruise = legEnd <= todDistance && !todAtRouteEnd;
        float d = end - start;
        float from = start;
        float flownPastToc = setting.activeLegFlown - (start - routeDistance);
        // What is already flown of the active leg takes no more time or fuel, in cruise too.
        if (i == plan.activeLeg && flownPastToc > 0.0f) {
            flownPastToc = std::min(flownPastToc, d);
            d -= flownPastToc;
            from += flownPastToc;
        }
        if (perfInit.cruiseReached) {
            altitude = cruiseAltitude;
        } else if (i == plan.activeLeg && flownPastToc > 0.0f) {
            altitude = std::min(cruiseAltitude, setting.altitude);
        }
        LegPrediction part;
        const double step = perfInit.stepDistance;
        if (perfInit.predictStepClimb && step >= from && step < from + d) {
            const float before = static_cast<float>(step) - from;
            predictCruisePiece(i, altitude, cruiseAltitude, before, from, staysInCruise, weight,
                               part);
            cruiseAltitude += static_cast<float>(perfInit.stepIncrement);
            setting.conditions.cruiseAltitude = cruiseAltitude;
            predictCruisePiece(i, altitude, cruiseAltitude, d - before, from + before,
                               staysInCruise, weight, part);
        } else {
            predictCruisePiece(i, altitude, cruiseAltitude, d, from, staysInCruise, weight, part);
        }
        part.distance = end - start;
        leg.tfd += part;
        routeDistance = legEnd;
    }
}

void RoutePredictionWalks::predictCruisePiece(std::size_t index, float& altitude,
                                              float cruiseAltitude, float distance,
                                              float routeDistance, bool staysInCruise,
                                              float& weight, LegPrediction& part) {
    LegConstraints& vnav = plan.legs[index].vnav;
    const float z = cruiseAltitude;
    const float toGo = static_cast<float>(plan.totalDistance) - routeDistance;
    const bool constrains =
        vnav.hasAltitude && !(vnav.kind == kAltitudeWindow && feet(vnav.altitude2) >= z);
    float reached = altitude;
    if (constrains) {
        const float c = feet(vnav.altitude);
        if (c < altitude) {
            if (!vnav.pathAngleEntered) {
                vnav.pathAngle = clampedPathAngle(pathAngle(altitude, c, distance));
                take(part,
                     descentWithin(altitude, reached, vnav.pathAngle, weight, index, distance, toGo,
                                   true),
                     weight);
            } else if (distanceForAltitudeChange(altitude, c, vnav.pathAngle) < distance) {
                const LegPrediction down =
                    descent(altitude, c, vnav.pathAngle, weight, index, toGo, true);
                take(part, down, weight);
                take(part, level(c, weight, index, distance - down.distance), weight);
            } else {
                take(part,
                     descentWithin(altitude, reached, vnav.pathAngle, weight, index, distance, toGo,
                                   true),
                     weight);
            }
        } else {
            const float top = std::min(c, z);
            const LegPrediction within =
                climbWithin(altitude, reached, weight, index, distance, routeDistance);
            if (reached <= top) {
                take(part, within, weight);
            } else {
                const LegPrediction up = climb(altitude, top, weight, index, routeDistance);
                take(part, up, weight);
                take(part, level(top, weight, index, distance - up.distance), weight);
            }
        }
    } else {
        vnav.kind = kAltitudeAt;
        float held = z;
        if (std::fabs(z - altitude) < 0.5f) {
            take(part, level(z, weight, index, distance), weight);
        } else if (z > altitude) {
            held = std::min(z, feet(plan.nextClimbConstraint(index)));
            const LegPrediction up = climb(altitude, held, weight, index, routeDistance);
            if (up.distance < distance) {
                take(part, up, weight);
                take(part, level(held, weight, index, distance - up.distance), weight);
            } else {
                take(part, climbWithin(altitude, reached, weight, index, distance, routeDistance),
                     weight);
                held = reached;
            }
        } else {
            if (!vnav.pathAngleEntered) {
                vnav.pathAngle = setting.descentAngle;
            }
            held = std::min(z, feet(plan.previousDescentConstraint(index)));
            const float x = distanceForAltitudeChange(altitude, held, vnav.pathAngle);
            if (distance > x) {
                // Level first, then down to the lower altitude over the last miles.
                take(part, level(altitude, weight, index, distance - x), weight);
                take(part, descent(altitude, held, vnav.pathAngle, weight, index, x, true), weight);
            } else {
                take(part,
                     descentWithin(altitude, reached, vnav.pathAngle, weight, index, distance, toGo,
                                   true),
                     weight);
                held = reached;
            }
        }
        if (staysInCruise) {
            vnav.altitude = truncatedFeet(held);
        }
    }
    vnav.predictedAltitude = vnav.altitude;
    altitude = feet(vnav.altitude);
}

void RoutePredictionWalks::predictDescentLegs(float cruiseAltitude, float todDistance,
                                              float& weight, float descentAltitude) {
    setting.conditions.cruiseAltitude = cruiseAltitude;
    float altitude = descentAltitude;
    float routeDistance = 0.0f;
    for (std::size_t i = 0; i < count; ++i) {
        FlightPlanLeg& leg = plan.legs[i];
        const float legEnd = routeDistance + static_cast<float>(leg.distance);
        if (legEnd <= todDistance) {
            routeDistance = legEnd;
            continue;
        }
        const float start = std::max(routeDistance, todDistance);
        LegPrediction part;
        predictDescentLeg(i, altitude, legEnd - start, start, legEnd, weight, part);
        part.distance = legEnd - start;
        leg.tfd += part;
        LegConstraints& vnav = leg.vnav;
        altitude = feet(vnav.predictedAltitude);
        vnav.phase = kPhaseDescent;
        routeDistance = legEnd;
    }
}

void RoutePredictionWalks::predictDescentLeg(std::size_t index, float& altitude, float distance,
                                             float routeDistance, float legEnd, float& weight,
                                             LegPrediction& part) {
    LegConstraints& vnav = plan.legs[index].vnav;
    const float toGo = static_cast<float>(plan.totalDistance) - routeDistance;
    const float a = altitude;
    float reached = a;
    if (vnav.hasAltitude) {
        const float ref =
            feet(vnav.kind == kAltitudeAtOrBelow ? vnav.predictedAltitude : vnav.altitude);
        if (ref < a) {
            vnav.pathAngle = clampedPathAngle(vnav.pathAngleEntered
                                                  ? vnav.pathAngle
                                                  : pathAngle(a, feet(vnav.altitude), distance));
            float descending = distance;
            bool made = true;
            if (distance < distanceForAltitudeChange(a, ref, vnav.pathAngle)) {
                take(
                    part,
                    descentWithin(a, reached, vnav.pathAngle, weight, index, distance, toGo, false),
                    weight);
                made = reached <= ref + kLowerConstraintBand;
            } else {
                const LegPrediction down =
                    descent(a, ref, vnav.pathAngle, weight, index, toGo, false);
                take(part, down, weight);
                descending = down.distance;
                const float rest = distance - down.distance;
                if (vnav.kind == kAltitudeAtOrBelow) {
                    take(part,
                         descentWithin(ref, reached, vnav.pathAngle, weight, index, rest,
                                       toGo - down.distance, false),
                         weight);
                } else {
                    take(part, level(ref, weight, index, rest), weight);
                    if (rest > kShortestLevelPart &&
                        std::fabs(a - setting.enteredCruiseAltitude) >= kCruiseAltitudeBand) {
                        placeTopOfDescent(legEnd - down.distance, a);
                    }
                }
            }
            if (passesSpeedLimitBand(a, ref)) {
                // The descent flies the last miles of the leg, level before it.
                const float band = feet(perfInit.altLim) + kScheduleDescentLimitBand;
                const float share = std::min((a - band) / (a - ref), 1.0f);
                plan.placeMarker(legEnd - descending + share * descending, "");
            }
            if (!made) {
                // A constraint too steep to reach shows the altitude that can be made there, and
                // the next leg starts from it, not from the constraint.
                vnav.predictedAltitude = truncatedFeet(reached);
                return;
            }
        } else {
            const LegPrediction within =
                climbWithin(a, reached, weight, index, distance, routeDistance);
            if (reached <= feet(vnav.altitude)) {
                take(part, within, weight);
                vnav.predictedAltitude = truncatedFeet(reached);
            } else {
                const LegPrediction up =
                    climb(a, feet(vnav.altitude), weight, index, routeDistance);
                take(part, up, weight);
                take(part, level(feet(vnav.altitude), weight, index, distance - up.distance),
                     weight);
            }
        }
        if (vnav.kind != kAltitudeAtOrBelow) {
            vnav.predictedAltitude = vnav.altitude;
        }
        return;
    }
    vnav.kind = kAltitudeAt;
    if (!vnav.pathAngleEntered) {
        const bool finalMiles = toGo < kFinalDescentZone && distance <= toGo &&
                                !plan.descentEndFound && plan.isBeforeRouteEnd();
        vnav.pathAngle = finalMiles ? pathAngle(feet(vnav.altitude) + kFinalDescentHeight,
                                                feet(vnav.altitude), kFinalDescentDistance)
                                    : setting.descentAngle;
    }
    const float bottom = feet(vnav.altitude);
    const float x = distanceForAltitudeChange(a, bottom, vnav.pathAngle);
    if (distance > x) {
        take(part, level(a, weight, index, distance - x), weight);
        if (x + kShortestLevelPart < distance && x > kShortestFinalDescent) {
            placeTopOfDescent(legEnd - x, a);
        }
    }
    const float descending = std::min(distance, x);
    take(part, descentWithin(a, reached, vnav.pathAngle, weight, index, descending, toGo, false),
         weight);
    vnav.predictedAltitude = vnav.altitude;
    if (passesSpeedLimitBand(a, bottom)) {
        const float band = feet(perfInit.altLim) + kScheduleDescentLimitBand;
        const LegPrediction belowBand =
            descent(band, bottom, vnav.pathAngle, weight, index, descending, false);
        plan.placeMarker(legEnd - belowBand.distance, "");
    }
}

void RoutePredictionWalks::placeTopOfDescent(float distance, float altitude) {
    const FmsParser parser(perfInit.transAlt);
    plan.placeMarker(distance, kTopOfDescentPrefix + FmsParser::trimLeft(parser.formatAltitude(
                                                         truncatedFeet(altitude))));
}

bool RoutePredictionWalks::passesSpeedLimitBand(float from, float to) const {
    const float band = feet(perfInit.altLim) + kScheduleDescentLimitBand;
    return perfInit.spdLim != 0 && setting.decelerationAllowance > 0.0f && to <= band &&
           band < from;
}

} // namespace tavi
