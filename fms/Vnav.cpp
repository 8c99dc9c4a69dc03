#include "fms/Vnav.h"

#include "avionics/Adc.h"
#include "avionics/AirData.h"
#include "cdu/FmsParser.h"
#include "cdu/PerfInit.h"
#include "fms/FlightPlan.h"
#include "fms/FmsPerf.h"
#include "fms/SpeedSchedules.h"

#include <algorithm>
#include <cmath>

namespace tavi {

namespace {

constexpr double kVnavDegreesPerRadian = 57.29577951308232;
constexpr float kClimbBand = 500.0f;
constexpr float kCruiseReachedMargin = 10.0f;
constexpr int32_t kDeviationLimit = 9999;
constexpr double kDeviationFullScale = 400.0;
constexpr double kPointerFullScale = 120.0;
constexpr double kSteepAngle = 6.1;
constexpr double kSteepAngleCleared = 5.9;
constexpr double kNearConstraint = 1.0;
constexpr float kBottomAboveDestination = 1000.0f;
constexpr int32_t kConstraintRangeAny = 0;
constexpr int32_t kConstraintRangeDescent = 2;
constexpr uint32_t kApproachProcedure = 3;
// Seconds before a hold or orbit fix at which its speed is commanded.
constexpr double kPatternSpeedLead = 90.0;
constexpr double kVnavFeetPerNm = 6076.12;
// Nautical miles over which the command takes a deviation from the path out.
constexpr double kPathCaptureDistance = 3.0;
// Feet above a descent constraint at which its predicted crossing is a constraint not made.
constexpr int32_t kUnmadeMargin = 200;

double feetPerMinute(float groundSpeed) {
    return groundSpeed / 1.944 * 3.28084 * 60.0;
}

int32_t hundreds(float altitude) {
    return static_cast<int32_t>(altitude) / 100;
}

int32_t clampDeviation(double deviation) {
    return std::clamp(static_cast<int32_t>(std::clamp(deviation, -1.0e6, 1.0e6)), -kDeviationLimit,
                      kDeviationLimit);
}

bool isApproachLeg(const FlightPlan& plan) {
    return plan.activeLeg < plan.legCount() &&
           plan.legs[plan.activeLeg].trmLeg.proc == kApproachProcedure;
}

// The distance from the start of the plan to the aircraft.
double routeDistanceFlown(const FlightPlan& plan, const VnavInputs& inputs) {
    return routePosition(plan, inputs.latitude, inputs.longitude, inputs.legAlongTrack);
}

// The distance from the aircraft to the end of the plan.
double distanceToPlanEnd(const FlightPlan& plan, const VnavInputs& inputs) {
    double distance = std::max(plan.legs[plan.activeLeg].distance - inputs.legAlongTrack, 0.0);
    for (std::size_t i = plan.activeLeg + 1; i < plan.legCount(); ++i) {
        distance += plan.legs[i].distance;
    }
    return distance;
}

} // namespace

int32_t Vnav::roundToTen(int32_t value) {
    const int32_t quotient = value / 10;
    const int32_t remainder = value % 10;
    return remainder < 5 ? 10 * quotient : 10 * quotient + 10;
}

void Vnav::update(FlightPlan& plan, PerfInit& perfInit, const VnavInputs& inputs, VnavHost& host) {
    deviationShown = false;
    if (!plan.hasOriginAndDestination() || !inputs.positionInitialised || plan.legs.empty() ||
        plan.activeLeg >= plan.legCount() || !perfInit.initialised) {
        state = VnavState();
        path.clear();
        pathStartLeg = std::numeric_limits<std::size_t>::max();
        return;
    }
    state.distanceToConstraint = 0.0;
    state.distanceToTod = 0.0;
    state.previousTargetAltitude = state.targetAltitude;
    state.previousMode = state.mode;
    state.valid = true;
    state.climbConstraintShortfall = 0;
    state.verticalDeviation = 0;
    updateSpeedCommand(plan, perfInit, inputs);
    const double groundFpm = feetPerMinute(inputs.groundSpeed);
    state.flightPathAngle =
        groundFpm >= 5.0
            ? std::atan(inputs.verticalSpeed / std::fabs(groundFpm)) * kVnavDegreesPerRadian
            : 0.0;
    if (!perfInit.cruiseReached || perfInit.stepClimbActive) {
        climbPhase(plan, perfInit, inputs, host);
    } else if (!perfInit.descentStarted) {
        cruisePhase(plan, perfInit, inputs, host);
    }
    if (perfInit.cruiseReached) {
        descentPhase(plan, perfInit, inputs, host);
    }
    if (perfInit.descentStarted) {
        closingStep(plan, perfInit, host);
    }
}

void Vnav::chooseMode(VnavMode descending, bool onPath, bool approachLeg, float altitude,
                      float preselect, VnavHost& host) {
    const float target = static_cast<float>(state.targetAltitude);
    const bool descentPhase = descending != VnavMode::EnrouteDescend;
    const VnavMode mode = state.mode;
    const bool descendingMode =
        mode == VnavMode::EnrouteDescend ||
        (descentPhase && (mode == VnavMode::Descend || mode == VnavMode::PathDescend));
    bool recompute = true;
    if (!(state.targetAltitude != state.previousTargetAltitude && mode == VnavMode::Level)) {
        recompute = !((altitude > target && (mode == VnavMode::Level || descendingMode)) ||
                      (altitude <= target && (mode == VnavMode::Climb || mode == VnavMode::Level)));
    }
    if (recompute) {
        state.mode = target < altitude                ? descending
                     : target < altitude + kClimbBand ? VnavMode::Level
                                                      : VnavMode::Climb;
    } else if (mode == VnavMode::Climb) {
        if (host.isWithinAltitudeCapture(std::min(preselect, target)) &&
            hundreds(preselect) >= state.targetAltitude / 100) {
            state.mode = VnavMode::Level;
        }
    } else if (descendingMode) {
        const float capture = onPath && approachLeg ? target : std::max(preselect, target);
        if (host.isWithinAltitudeCapture(capture) &&
            hundreds(preselect) <= state.targetAltitude / 100) {
            state.mode = VnavMode::Level;
        }
    }
    if (descending == VnavMode::Descend &&
        (state.mode == VnavMode::EnrouteDescend || state.mode == VnavMode::PathDescend)) {
        state.mode = VnavMode::Descend;
    } else if (descending == VnavMode::PathDescend && state.mode == VnavMode::Descend) {
        state.mode = VnavMode::PathDescend;
    }
}

void Vnav::climbPhase(FlightPlan& plan, PerfInit& perfInit, const VnavInputs& inputs,
                      VnavHost& host) {
    const double toc = perfInit.prediction[PerfPrediction::TocDistance];
    const double tod = perfInit.prediction[PerfPrediction::TodDistance];
    std::size_t index = 0;
    state.constraintAhead = plan.findConstraintInRange(0.0, toc, state.climbConstraintDistance,
                                                       index, kConstraintRangeAny);
    state.climbConstraintLeg = static_cast<uint32_t>(index);
    int32_t target = perfInit.cruiseAltitude;
    if (state.constraintAhead) {
        const LegConstraints& found = plan.legs[index].vnav;
        if (found.kind != kAltitudeAtOrBelow) {
            state.climbConstraintShortfall =
                roundToTen(std::min(found.predictedAltitude - found.altitude, 0));
        }
        double distance = 0.0;
        if (plan.findConstraintInRange(0.0, toc, distance, index, kConstraintRangeClimb)) {
            const LegConstraints& binding = plan.legs[index].vnav;
            switch (binding.kind) {
            case kAltitudeAt:
            case kAltitudeAtOrBelow:
                target = binding.altitude;
                break;
            case kAltitudeAtOrAbove:
                target = std::max(binding.altitude, perfInit.cruiseAltitude);
                break;
            case kAltitudeWindow:
                target = binding.altitude2;
                break;
            default:
                target = state.targetAltitude;
                break;
            }
        }
    }
    state.targetAltitude = std::min(target, perfInit.cruiseAltitude);
    chooseMode(VnavMode::EnrouteDescend, false, false, inputs.altitude, inputs.preselect, host);

    if (!inputs.onGround && inputs.pastLiftOff) {
        if (tod - plan.distanceFlown - inputs.legAlongTrack <= 0.0) {
            perfInit.cruiseReached = true;
            perfInit.descentStarted = true;
            perfInit.climbDone = true;
            perfInit.stepClimbActive = false;
            host.showDescentPage();
        } else if (inputs.altitude >=
                   static_cast<float>(perfInit.cruiseAltitude) - kCruiseReachedMargin) {
            perfInit.cruiseReached = true;
            perfInit.climbDone = true;
            perfInit.stepClimbActive = false;
        }
    }

    const LegConstraints& active = plan.legs[plan.activeLeg].vnav;
    if (!active.hasAltitude) {
        return;
    }
    if (!perfInit.altConstraintMessageShown) {
        if (active.kind != kAltitudeAtOrBelow && active.predictedAltitude + 200 < active.altitude &&
            inputs.altitude < static_cast<float>(active.altitude - 100)) {
            host.showMessage(kCheckAltConstraint, 1);
            perfInit.altConstraintMessageShown = true;
        }
    } else if (active.kind == kAltitudeAtOrBelow ||
               active.predictedAltitude >= active.altitude + 100) {
        perfInit.altConstraintMessageShown = false;
        host.withdrawMessage(kCheckAltConstraint);
    }
}

double Vnav::distanceToTodFrom(const FlightPlan& plan, const PerfInit& perfInit,
                               const VnavInputs& inputs) const {
    return perfInit.prediction[PerfPrediction::TodDistance] - routeDistanceFlown(plan, inputs);
}

void Vnav::pauseBeforeTod(double distanceToTod, const VnavInputs& inputs, VnavHost& host) {
    if (inputs.pauseAtTod && !todPauseDone && distanceToTod <= inputs.nmBeforeTod) {
        todPauseDone = true;
        host.pauseSimulator();
    }
}

void Vnav::cruisePhase(FlightPlan& plan, PerfInit& perfInit, const VnavInputs& inputs,
                       VnavHost& host) {
    state.constraintAhead = plan.legs[plan.activeLeg].vnav.hasAltitude;
    state.targetAltitude = perfInit.cruiseAltitude;
    chooseMode(VnavMode::EnrouteDescend, false, false, inputs.altitude, inputs.preselect, host);
    // The step climb the predictions count on is flown where they placed it.
    if (perfInit.stepPlanned && inputs.airborne && perfInit.stepRatio <= 1.0 &&
        perfInit.stepDistance - routeDistanceFlown(plan, inputs) <= 0.0) {
        perfInit.cruiseAltitude += perfInit.stepIncrement;
        perfInit.stepClimbActive = true;
        host.runFuelPredictions();
    }
    const double toTod = distanceToTodFrom(plan, perfInit, inputs);
    state.distanceToTod = std::max(toTod, 0.0);
    if (toTod <= inputs.groundSpeed / 360.0) {
        deviationShown = true;
        state.verticalDeviation =
            static_cast<int32_t>(inputs.altitude - static_cast<float>(perfInit.cruiseAltitude));
    }
    if (toTod <= 0.0) {
        perfInit.descentStarted = true;
        host.showDescentPage();
    }
    pauseBeforeTod(toTod, inputs, host);
}

void Vnav::descentPhase(FlightPlan& plan, PerfInit& perfInit, const VnavInputs& inputs,
                        VnavHost& host) {
    state.requiredVerticalSpeed = 0.0;
    if (perfInit.descentStarted) {
        pauseBeforeTod(0.0, inputs, host);
    }
    const double tod = perfInit.prediction[PerfPrediction::TodDistance];
    const float altitude = inputs.altitude;
    const float bottom = plan.descentEndFound && plan.descentEndLeg < plan.legCount()
                             ? static_cast<float>(plan.legs[plan.descentEndLeg].vnav.altitude)
                             : static_cast<float>(plan.dest.elevation) + kBottomAboveDestination;
    std::size_t found = 0;
    state.descentConstraintFound = plan.findConstraintInRange(
        tod, plan.totalDistance, state.descentConstraintDistance, found, kConstraintRangeAny);
    state.descentConstraintLeg = static_cast<uint32_t>(found);
    if (state.descentConstraintFound) {
        const LegConstraints& leg = plan.legs[found].vnav;
        if (leg.kind == kAltitudeWindow) {
            state.descentConstraintExcess =
                roundToTen(std::max(leg.predictedAltitude - leg.altitude2, 0));
        } else if (leg.kind != kAltitudeAtOrAbove) {
            state.descentConstraintExcess =
                roundToTen(std::max(leg.predictedAltitude - leg.altitude, 0));
        }
    }

    // The constraint the path leads to next, for the required angle and the steep-path message.
    const std::size_t next = plan.nextAltitudeConstraintLeg(altitude);
    const bool constrained = plan.legs[next].vnav.hasAltitude;
    const std::size_t last = constrained ? next : plan.legCount() - 1;
    const float pathEnd = constrained ? static_cast<float>(plan.legs[next].vnav.altitude) : bottom;
    double toConstraint = 0.0;
    for (std::size_t k = plan.activeLeg; k <= last; ++k) {
        toConstraint += plan.legs[k].distance;
    }
    toConstraint = std::max(toConstraint - inputs.legAlongTrack, 0.0);
    state.distanceToConstraint = toConstraint;
    state.requiredPathAngle = pathAngle(altitude, pathEnd, static_cast<float>(toConstraint));

    if (!perfInit.stepClimbActive) {
        warnOfUnmadeConstraint(plan, perfInit, host);
    }
    const double position = routeDistanceFlown(plan, inputs);
    updatePath(plan, perfInit);
    guideOnPath(perfInit, inputs, position);
    if (!perfInit.descentStarted) {
        return;
    }

    int32_t target = static_cast<int32_t>(bottom);
    double distance = 0.0;
    if (state.descentConstraintFound &&
        plan.findConstraintInRange(tod, plan.totalDistance, distance, found,
                                   kConstraintRangeDescent)) {
        const LegConstraints& binding = plan.legs[found].vnav;
        target = binding.kind == kAltitudeAtOrBelow
                     ? std::min(binding.altitude, static_cast<int32_t>(bottom))
                     : binding.altitude;
    }
    const bool approach = isApproachLeg(plan);
    state.targetAltitude =
        approach ? target : std::max(target, static_cast<int32_t>(std::trunc(bottom)));
    levelPartAhead(perfInit, altitude, position,
                   approach ? state.targetAltitude : static_cast<int32_t>(std::trunc(bottom)),
                   host);
    const VnavMode descending =
        perfInit.descentPathMode ? VnavMode::PathDescend : VnavMode::Descend;
    chooseMode(descending, perfInit.descentPathMode, approach, altitude, inputs.preselect, host);
}

void Vnav::warnOfUnmadeConstraint(const FlightPlan& plan, PerfInit& perfInit, VnavHost& host) {
    bool unmade = false;
    for (std::size_t k = plan.activeLeg; k < plan.legCount() && k <= plan.activeLeg + 1; ++k) {
        const LegConstraints& leg = plan.legs[k].vnav;
        const int32_t highest = leg.kind == kAltitudeWindow ? leg.altitude2 : leg.altitude;
        unmade = unmade ||
                 (leg.hasAltitude && leg.phase == kPhaseDescent && leg.kind != kAltitudeAtOrAbove &&
                  leg.predictedAltitude > highest + kUnmadeMargin);
    }
    if (unmade && !perfInit.altConstraintMessageShown) {
        host.showMessage(kCheckAltConstraint, 1);
        perfInit.altConstraintMessageShown = true;
    } else if (!unmade && perfInit.altConstraintMessageShown) {
        perfInit.altConstraintMessageShown = false;
        host.withdrawMessage(kCheckAltConstraint);
    }
}

void Vnav::updatePath(const FlightPlan& plan, const PerfInit& perfInit) {
    if (plan.activeLeg != pathStartLeg) {
        pathStartLeg = plan.activeLeg;
        pathStartAltitude = path.empty() ? std::numeric_limits<float>::quiet_NaN()
                                         : path.altitudeAt(legStartDistance(plan, plan.activeLeg));
    }
    const float top = perfInit.prediction[PerfPrediction::TodAltitude];
    path.build(plan, perfInit.prediction[PerfPrediction::TodDistance],
               top > 0.0f ? top : static_cast<float>(perfInit.cruiseAltitude), pathStartAltitude);
}

void Vnav::guideOnPath(const PerfInit& perfInit, const VnavInputs& inputs, double position) {
    const float altitude = inputs.altitude;
    state.commandPathAngle = 0.0;
    if (path.empty()) {
        return;
    }
    const float onPath =
        std::min(path.altitudeAt(position), static_cast<float>(perfInit.cruiseAltitude));
    const double deviation = altitude - onPath;
    state.verticalDeviation = clampDeviation(deviation);
    const DescentPath::Point* end = path.partEnd(position);
    if (end == nullptr || !(altitude > end->altitude)) {
        return;
    }
    // The path's own slope (none on a level part), and what takes the deviation out over the
    // next miles.
    const double remaining = std::max(end->distance - position, 1.0e-6);
    const double slope = std::max(onPath - end->altitude, 0.0f) / (remaining * kVnavFeetPerNm);
    const double correction = deviation / (kPathCaptureDistance * kVnavFeetPerNm);
    state.commandPathAngle = std::max(std::atan(slope + correction), 0.0) * kVnavDegreesPerRadian;
    state.requiredVerticalSpeed = -std::tan(state.commandPathAngle / kVnavDegreesPerRadian) *
                                  feetPerMinute(inputs.groundSpeed);
}

void Vnav::levelPartAhead(const PerfInit& perfInit, float altitude, double position, int32_t floor,
                          VnavHost& host) {
    state.todAhead = false;
    if (path.empty()) {
        return;
    }
    // On the path the target is where the path levels off next: a constraint the path passes
    // through descending is crossed on the path, not levelled at.
    state.targetAltitude = std::max(static_cast<int32_t>(path.nextLevelAltitude(position)), floor);
    DescentPath::Point start;
    DescentPath::Point end;
    if (!path.nextLevelPart(position, start, end) ||
        static_cast<int32_t>(start.altitude) != state.targetAltitude) {
        return;
    }
    state.todAhead = host.isWithinAltitudeCapture(static_cast<float>(state.targetAltitude)) ||
                     static_cast<float>(state.targetAltitude) >= altitude;
    const FmsParser parser(perfInit.transAlt);
    state.todName =
        kTopOfDescentPrefix + FmsParser::trimLeft(parser.formatAltitude(state.targetAltitude));
    state.distanceToTod = std::max(end.distance - position, 0.0);
}

void Vnav::closingStep(const FlightPlan& plan, PerfInit& perfInit, VnavHost& host) {
    perfInit.descentPathMode = plan.descentEndFound;
    if (!plan.descentEndFound) {
        return;
    }
    deviationShown = true;
    deviationScale = std::clamp(state.verticalDeviation / kDeviationFullScale * kPointerFullScale,
                                -kPointerFullScale, kPointerFullScale);
    const bool near = state.distanceToConstraint <= kNearConstraint;
    if (!perfInit.pathAngleMessageShown) {
        if (state.requiredPathAngle > kSteepAngle && !near) {
            host.showMessage(kPathTooSteep, 1);
            perfInit.pathAngleMessageShown = true;
        } else if (near) {
            host.withdrawMessage(kPathTooSteep);
        }
    } else if (state.requiredPathAngle < kSteepAngleCleared || near) {
        perfInit.pathAngleMessageShown = false;
        host.withdrawMessage(kPathTooSteep);
    }
}

double Vnav::phaseSpeed(const FlightPlan& plan, const PerfInit& perfInit, const VnavInputs& inputs,
                        double& mach) {
    const float altitude = inputs.altitude;
    const SpeedTarget* target = &perfInit.climbLimitedTarget;
    const SpeedTarget* mode = &perfInit.climbTarget;
    if (perfInit.descentStarted) {
        target = &perfInit.descentLimitedTarget;
        mode = &perfInit.descentTarget;
    } else if (perfInit.cruiseReached) {
        target = &perfInit.cruiseLimitedTarget;
        mode = &perfInit.cruiseTarget;
    }
    double speed = target->ias;
    if (target->mach != 0.0 && (target->ias == 0 || target->machActive)) {
        state.speedByIas = false;
        state.speedByMach = true;
        speed = casFromMachAtAltitude(target->mach, altitude);
    }
    mach = target->mach;
    const double modeSpeed =
        std::min<double>(mode->ias > 0 ? mode->ias : 1.0e9,
                         mode->mach > 0.0 ? casFromMachAtAltitude(mode->mach, altitude) : 1.0e9);
    auto limitTo = [&](double limit) {
        speed = limit;
        state.speedByIas = true;
        state.speedByMach = false;
    };
    if (perfInit.spdLim != 0) {
        if (perfInit.descentStarted) {
            if (altitude <= static_cast<float>(perfInit.altLim) + kScheduleDescentLimitBand &&
                perfInit.spdLim - kScheduleSpeedLimitMargin < modeSpeed) {
                limitTo(perfInit.spdLim - kScheduleSpeedLimitMargin);
            }
        } else if (perfInit.cruiseReached) {
            if (altitude <= static_cast<float>(perfInit.altLim) && perfInit.spdLim < modeSpeed) {
                limitTo(perfInit.spdLim);
            }
        } else if (altitude < static_cast<float>(perfInit.altLim) && perfInit.spdLim < modeSpeed) {
            limitTo(perfInit.spdLim - kScheduleSpeedLimitMargin);
        }
    }
    if (!perfInit.cruiseReached) {
        if (inputs.radioAltitude < static_cast<float>(perfInit.depAgl) &&
            plan.distanceFlown + inputs.legAlongTrack < perfInit.depDist) {
            const double reference =
                inputs.referenceSpeed3 > 0 ? inputs.referenceSpeed3 : perfInit.depIas;
            speed = std::min({speed, reference, static_cast<double>(perfInit.depIas)});
        }
    } else if (perfInit.descentStarted) {
        if ((inputs.lnavApproach && perfInit.isFirstAppWpt) ||
            distanceToPlanEnd(plan, inputs) <= perfInit.appDist) {
            speed = std::min(speed, static_cast<double>(perfInit.appIas));
        }
    }
    return speed;
}

void Vnav::updateSpeedCommand(const FlightPlan& plan, const PerfInit& perfInit,
                              const VnavInputs& inputs) {
    state.speedByIas = true;
    state.speedByMach = false;
    double mach = 0.0;
    const FlightPlanLeg& leg = plan.legs[plan.activeLeg];
    const bool fixNear =
        inputs.lnavValid && inputs.timeToGo <= kPatternSpeedLead && inputs.timeToGo >= 0.0;
    double speed = 0.0;
    if (leg.holding.entered != 0 || (leg.isHoldLeg() && fixNear)) {
        speed = leg.holding.defaultSpeed;
    } else if (plan.orbit.entered) {
        speed = plan.orbit.speed;
    } else if (leg.orbit.active && fixNear) {
        speed = leg.orbit.speed;
    } else {
        speed = phaseSpeed(plan, perfInit, inputs, mach);
    }
    const LegConstraints& active = leg.vnav;
    if (active.hasSpeed && active.speed > 0) {
        speed = active.speed;
        state.speedByIas = true;
        state.speedByMach = false;
    }
    double limit = std::min(inputs.gearLimitSpeed, inputs.maxSpeed);
    if (inputs.flapsOut) {
        limit = std::min<double>(limit, inputs.flapLimitSpeed);
        state.speedByIas = true;
        state.speedByMach = false;
    }
    const double minimum = std::trunc(kScheduleMinimumSpeedFactor * inputs.lowSpeedLimit);
    if (state.speedByIas) {
        const double bounded =
            std::clamp(speed, std::min<double>(inputs.lowSpeedLimit, limit), limit);
        state.speedCommandIas = static_cast<int32_t>(std::clamp(
            bounded, std::min(minimum, double(inputs.maxSpeed)), double(inputs.maxSpeed)));
        state.speedCommandMach = mach;
    } else {
        state.speedCommandIas = static_cast<int32_t>(speed);
        const double minimumMach = Adc::machFromCasAtAltitude(minimum, inputs.altitude);
        state.speedCommandMach =
            std::min(std::max(mach, minimumMach), static_cast<double>(inputs.mmo));
    }
}

} // namespace tavi
