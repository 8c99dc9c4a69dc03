#include "fms/SpeedSchedules.h"

#include "avionics/AirData.h"
#include "cdu/PerfInit.h"
#include "fms/FlightPlan.h"

#include <algorithm>
#include <cmath>

namespace tavi {

namespace {

constexpr float kHighestCruiseAltitude = 37000.0f;
constexpr float kLongRangeMachFrom = 29000.0f;

int32_t truncated(double value) {
    return static_cast<int32_t>(std::trunc(value));
}

// The leg's speed constraint, when the leg is in the plan and has one.
const LegConstraints* legSpeedConstraint(const FlightPlan& plan, std::size_t index) {
    if (index >= plan.legCount() || !plan.legs[index].vnav.hasSpeed) {
        return nullptr;
    }
    return &plan.legs[index].vnav;
}

} // namespace

SpeedPair SpeedSchedules::climbModeSpeeds() const {
    if (perfInit.isManualClimb) {
        return {perfInit.manualClimbIas, perfInit.manualClimbMach};
    }
    return {perfInit.defaultClimbIas, perfInit.defaultClimbMach};
}

SpeedPair SpeedSchedules::cruiseModeSpeeds(float altitude) const {
    const bool stepping =
        perfInit.cruiseReached && !perfInit.descentStarted && perfInit.stepClimbActive;
    const float a = std::clamp(stepping ? altitude : static_cast<float>(perfInit.cruiseAltitude),
                               0.0f, kHighestCruiseAltitude);
    switch (perfInit.cruizeMode) {
    case 0: {
        const double mach =
            a > kLongRangeMachFrom ? 0.6 + (a - kLongRangeMachFrom) / 12000.0 * 0.14 : 0.6;
        return {240, mach};
    }
    case 1:
        return {220, 0.0};
    case 2:
        return {truncated(envelope.vmo), envelope.mmo};
    default:
        return {perfInit.manualCruiseIas, perfInit.manualCruiseMach};
    }
}

SpeedPair SpeedSchedules::descentModeSpeeds() const {
    return {perfInit.descentSpeed(envelope.vmo), perfInit.descentMach(envelope.mmo)};
}

int32_t SpeedSchedules::minimumSpeed() const {
    return truncated(kScheduleMinimumSpeedFactor * envelope.lowSpeedLimit);
}

float SpeedSchedules::scheduleResult(const SpeedPair& pair, float altitude) {
    if (pair.mach == 0.0) {
        return static_cast<float>(pair.ias);
    }
    const double machSpeed = casFromMachAtAltitude(pair.mach, altitude);
    if (pair.ias == 0) {
        return static_cast<float>(truncated(machSpeed));
    }
    return static_cast<float>(truncated(std::min<double>(pair.ias, machSpeed)));
}

void SpeedSchedules::writeMode(SpeedTarget& mode, const SpeedPair& pair, float altitude) const {
    mode.ias = pair.ias;
    mode.mach = pair.mach;
    if (pair.ias >= 1 && pair.mach == 0.0) {
        mode.iasActive = true;
    } else if (pair.ias == 0 && pair.mach > 0.0) {
        mode.iasActive = false;
    } else {
        mode.iasActive = casFromMachAtAltitude(pair.mach, altitude) > pair.ias;
    }
    mode.machActive = !mode.iasActive;
}

void SpeedSchedules::writeLimited(SpeedTarget& limited, const SpeedTarget& mode,
                                  const SpeedPair& pair, float altitude) const {
    limited = mode;
    limited.ias = pair.ias;
    limited.mach = pair.mach;
    limited.iasActive = pair.ias != 0 && (pair.mach == 0.0 ||
                                          casFromMachAtAltitude(mode.mach, altitude) >= mode.ias);
    limited.machActive = !limited.iasActive;
}

float SpeedSchedules::climbSpeedSchedule(float altitude, const FlightPlan& plan, std::size_t index,
                                         bool update) {
    SpeedPair pair = climbModeSpeeds();
    if (update) {
        writeMode(perfInit.climbTarget, pair, altitude);
    }
    int32_t high = truncated(envelope.vmo);
    // A speed limit of 0 is none: it caps nothing, where the margin below it would make the
    // envelope's top -10 kt.
    if (perfInit.spdLim != 0 && perfInit.altLim != 0 &&
        altitude < static_cast<float>(perfInit.altLim) &&
        envelope.vmo >= static_cast<float>(perfInit.spdLim - kScheduleSpeedLimitMargin)) {
        high = perfInit.spdLim - kScheduleSpeedLimitMargin;
    }
    if (const LegConstraints* constraint = legSpeedConstraint(plan, index)) {
        pair = {constraint->speed, constraint->mach};
    }
    if (pair.ias > 0) {
        pair.ias = std::min(std::max(pair.ias, minimumSpeed()), high);
    }
    if (update) {
        writeLimited(perfInit.climbLimitedTarget, perfInit.climbTarget, pair, altitude);
    }
    return scheduleResult(pair, altitude);
}

float SpeedSchedules::cruiseSpeedSchedule(float altitude, const FlightPlan& plan, std::size_t index,
                                          bool update) {
    const bool stepping =
        perfInit.cruiseReached && !perfInit.descentStarted && perfInit.stepClimbActive;
    const float a = std::clamp(stepping ? altitude : static_cast<float>(perfInit.cruiseAltitude),
                               0.0f, kHighestCruiseAltitude);
    SpeedPair pair = cruiseModeSpeeds(altitude);
    if (update) {
        writeMode(perfInit.cruiseTarget, pair, a);
    }
    if (perfInit.spdLim != 0 && perfInit.altLim != 0 && a <= static_cast<float>(perfInit.altLim) &&
        pair.ias > perfInit.spdLim) {
        pair.ias = perfInit.spdLim;
    }
    if (const LegConstraints* constraint = legSpeedConstraint(plan, index)) {
        pair.ias = constraint->speed;
    }
    if (pair.ias > 0) {
        pair.ias = std::min(std::max(pair.ias, minimumSpeed()), truncated(envelope.vmo));
    }
    if (update) {
        writeLimited(perfInit.cruiseLimitedTarget, perfInit.cruiseTarget, pair, a);
        perfInit.cruiseTarget.iasActive = perfInit.cruiseLimitedTarget.iasActive;
        perfInit.cruiseTarget.machActive = perfInit.cruiseLimitedTarget.machActive;
        perfInit.lastMaxAltitude = perfInit.maxAltitude();
        perfInit.lastOptimumAltitude = perfInit.optimumAltitude();
    }
    return scheduleResult(pair, a);
}

float SpeedSchedules::descentSpeedSchedule(float altitude, const FlightPlan& plan,
                                           std::size_t index, bool update) {
    SpeedPair pair = descentModeSpeeds();
    if (update) {
        writeMode(perfInit.descentTarget, pair, altitude);
    }
    if (perfInit.spdLim != 0 &&
        altitude <= static_cast<float>(perfInit.altLim) + kScheduleDescentLimitBand &&
        pair.ias > perfInit.spdLim) {
        pair.ias = perfInit.spdLim - kScheduleSpeedLimitMargin;
    }
    if (const LegConstraints* constraint = legSpeedConstraint(plan, index)) {
        pair.ias = constraint->speed;
    }
    if (pair.ias > 0) {
        pair.ias = std::min(std::max(pair.ias, minimumSpeed()), truncated(envelope.vmo));
    }
    if (update) {
        writeLimited(perfInit.descentLimitedTarget, perfInit.descentTarget, pair, altitude);
        perfInit.descentTarget.iasActive = perfInit.descentLimitedTarget.iasActive;
        perfInit.descentTarget.machActive = perfInit.descentLimitedTarget.machActive;
    }
    return scheduleResult(pair, altitude);
}

void SpeedSchedules::updateSpeedTargets(const FlightPlan& plan, float altitude) {
    climbSpeedSchedule(altitude, plan, plan.activeLeg, true);
    cruiseSpeedSchedule(altitude, plan, plan.activeLeg, true);
    const float descentAltitude =
        perfInit.descentStarted ? altitude : static_cast<float>(perfInit.cruiseAltitude);
    descentSpeedSchedule(descentAltitude, plan, plan.activeLeg, true);
}

PlanSpeedSchedule PlanSpeedSchedule::onLeg(std::size_t index) const {
    PlanSpeedSchedule schedule = *this;
    schedule.leg = index;
    return schedule;
}

float PlanSpeedSchedule::climbSpeedAt(float altitude, float elevation, float distanceFlown) const {
    float speed = schedules.climbSpeedSchedule(altitude, plan, leg, false);
    const float height = std::max(altitude - elevation, envelope.radioAltitude);
    if (height < static_cast<float>(perfInit.depAgl) &&
        distanceFlown < static_cast<float>(perfInit.depDist)) {
        speed = std::min(speed, static_cast<float>(perfInit.depIas));
        if (envelope.referenceSpeed3 > 0) {
            speed = std::min(speed, static_cast<float>(envelope.referenceSpeed3));
        }
    }
    if (perfInit.spdLim != 0 && perfInit.altLim != 0 &&
        altitude < static_cast<float>(perfInit.altLim)) {
        speed = std::min(speed, static_cast<float>(perfInit.spdLim - kScheduleSpeedLimitMargin));
    }
    return speed;
}

float PlanSpeedSchedule::cruiseSpeedAt(float altitude) const {
    float speed = schedules.cruiseSpeedSchedule(altitude, plan, leg, false);
    if (perfInit.spdLim != 0 && altitude <= static_cast<float>(perfInit.altLim)) {
        speed = std::min(speed, static_cast<float>(perfInit.spdLim - kScheduleSpeedLimitMargin));
    }
    return speed;
}

float PlanSpeedSchedule::descentSpeedAt(float altitude, float distanceToGo) const {
    float speed = schedules.descentSpeedSchedule(altitude, plan, leg, false);
    if (perfInit.spdLim != 0 && altitude <= static_cast<float>(perfInit.altLim)) {
        speed = std::min(speed, static_cast<float>(perfInit.spdLim));
    }
    if (distanceToGo < static_cast<float>(perfInit.appDist) && perfInit.appIas > 0) {
        speed = std::min(speed, static_cast<float>(perfInit.appIas));
    }
    return speed;
}

float PlanSpeedSchedule::speedOnLeg(std::size_t index) const {
    // VNAV flies a leg's speed constraint whatever the phase and its limits.
    if (const LegConstraints* constraint = legSpeedConstraint(plan, index);
        constraint && constraint->speed > 0) {
        return static_cast<float>(constraint->speed);
    }
    double toFix = 0.0;
    double afterFix = 0.0;
    for (std::size_t i = 0; i < plan.legCount(); ++i) {
        (i <= index ? toFix : afterFix) += plan.legs[i].distance;
    }
    const PlanSpeedSchedule schedule = onLeg(index);
    const auto altitude = static_cast<float>(plan.legs[index].vnav.altitude);
    const auto along = static_cast<float>(toFix);
    if (perfInit.descentStarted || along > perfInit.prediction[PerfPrediction::TodDistance]) {
        return schedule.descentSpeedAt(altitude, static_cast<float>(afterFix));
    }
    if (!perfInit.cruiseReached && !perfInit.climbDone &&
        along <= perfInit.prediction[PerfPrediction::TocDistance]) {
        return schedule.climbSpeedAt(altitude, static_cast<float>(plan.org.elevation), along);
    }
    return schedule.cruiseSpeedAt(altitude);
}

} // namespace tavi
