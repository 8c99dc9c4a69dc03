#pragma once

#include <cstdint>
#include <string>

namespace tavi {

struct LegConstraints;

// Where the leg of a vertical entry lies in its plan, for the phase the entry gives it.
struct VerticalEntryLeg {
    // The selected line (leg line - 1 is the leg) and the plan's number of legs.
    int32_t line = 0;
    int32_t legCount = 0;
    bool missedApproachPlan = false;
    // The performance initialisation's descent path angle, degrees.
    double defaultAngle = 3.0;
};

// A vertical entry typed on a leg line of ACTIVE FLT PLAN: angle/altitude, speed/altitude,
// Mach/altitude, an altitude, then for a leg with an altitude a path angle or CLB/DES, then
// speed/Mach. The first form that parses is applied; false, the leg unchanged, when none does.
bool applyVerticalEntry(const std::string& entry, LegConstraints& constraints,
                        const VerticalEntryLeg& leg);

} // namespace tavi
