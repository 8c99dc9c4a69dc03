#pragma once

#include "fms/PerfConditions.h"

#include <cstddef>
#include <cstdint>

namespace tavi {

// The speed limit is flown this many knots below its value, and from this far above its altitude
// in descent; no schedule goes below the minimum speed factor times the low-speed limit.
inline constexpr int32_t kScheduleSpeedLimitMargin = 10;
inline constexpr float kScheduleDescentLimitBand = 2000.0f;
inline constexpr float kScheduleMinimumSpeedFactor = 1.23f;
// A leg index past every plan's legs: no leg's speed constraint applies.
inline constexpr std::size_t kNoLeg = static_cast<std::size_t>(-1);

class FlightPlan;
struct PerfInit;
struct SpeedTarget;

// What the schedules take of the air data: the speed envelope and the departure reference.
struct SpeedEnvelope {
    // Knots and Mach: the maximum operating speeds and the low-speed limit of the configuration.
    float vmo = 320.0f;
    float mmo = 0.78f;
    float lowSpeedLimit = 0.0f;
    float radioAltitude = 0.0f;
    // Reference speed 3 (kt); 0 while it is not in use.
    int32_t referenceSpeed3 = 0;
};

// An indicated airspeed and a Mach number; 0 is none.
struct SpeedPair {
    int32_t ias = 0;
    double mach = 0.0;
};

// The speed of each flight phase: the pilot's mode choices turned into a speed at an altitude on
// a leg, with the crossover from airspeed to Mach, the speed limit below its altitude, the leg's
// speed constraint and the speed envelope. With update, the phase's mode and limited targets in
// the performance record are rewritten; the speed command and the pages read them.
class SpeedSchedules {
public:
    SpeedSchedules(PerfInit& perfInit, const SpeedEnvelope& envelope)
        : perfInit(perfInit), envelope(envelope) {}

    SpeedPair climbModeSpeeds() const;
    SpeedPair cruiseModeSpeeds(float altitude) const;
    SpeedPair descentModeSpeeds() const;

    // Knots indicated at altitude (ft) on leg index of plan.
    float climbSpeedSchedule(float altitude, const FlightPlan& plan, std::size_t index,
                             bool update);
    float cruiseSpeedSchedule(float altitude, const FlightPlan& plan, std::size_t index,
                              bool update);
    float descentSpeedSchedule(float altitude, const FlightPlan& plan, std::size_t index,
                               bool update);
    // The three phases' targets at the present altitude on the plan's active leg.
    void updateSpeedTargets(const FlightPlan& plan, float altitude);

private:
    // The speed flown for a pair: the lower of the airspeed and the Mach's airspeed.
    static float scheduleResult(const SpeedPair& pair, float altitude);
    void writeMode(SpeedTarget& mode, const SpeedPair& pair, float altitude) const;
    void writeLimited(SpeedTarget& limited, const SpeedTarget& mode, const SpeedPair& pair,
                      float altitude) const;
    int32_t minimumSpeed() const;

    PerfInit& perfInit;
    const SpeedEnvelope& envelope;
};

// The schedules as the segment predictions read them for the legs ahead of one plan, with the
// departure, speed-limit and approach limits of the predictions. It starts on no leg, as a whole
// trip flies no leg's speed constraint; a prediction along the route reads it on each leg.
class PlanSpeedSchedule final : public PerfSpeedSchedule {
public:
    PlanSpeedSchedule(SpeedSchedules& schedules, const PerfInit& perfInit,
                      const SpeedEnvelope& envelope, const FlightPlan& plan)
        : schedules(schedules), perfInit(perfInit), envelope(envelope), plan(plan) {}

    void setLeg(std::size_t index) { leg = index; }
    // The same schedules on leg index, with that leg's speed constraint.
    PlanSpeedSchedule onLeg(std::size_t index) const;
    float climbSpeedAt(float altitude, float elevation, float distanceFlown) const override;
    float cruiseSpeedAt(float altitude) const override;
    float descentSpeedAt(float altitude, float distanceToGo) const override;
    // The speed (kt indicated) VNAV commands on leg index: its phase's schedule at the leg's
    // predicted altitude, the phase taken from where the leg ends against the predicted top of
    // climb and top of descent.
    float speedOnLeg(std::size_t index) const;

private:
    SpeedSchedules& schedules;
    const PerfInit& perfInit;
    const SpeedEnvelope& envelope;
    const FlightPlan& plan;
    std::size_t leg = kNoLeg;
};

} // namespace tavi
