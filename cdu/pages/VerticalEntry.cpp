#include "cdu/pages/VerticalEntry.h"

#include "cdu/FmsParser.h"
#include "fms/LegConstraints.h"

namespace tavi {

namespace {

// After an altitude was set: descent in the second half of the plan or with an entered angle,
// climb otherwise; a missed approach always climbs.
void applyPhaseRule(LegConstraints& c, const VerticalEntryLeg& leg) {
    const bool descent =
        (leg.line > leg.legCount / 2 || c.pathAngleEntered) && !leg.missedApproachPlan;
    c.phase = descent ? kPhaseDescent : kPhaseClimb;
}

void takeAltitude(LegConstraints& c, const VerticalEntryLeg& leg) {
    if (!c.pathAngleEntered) {
        c.pathAngle = static_cast<float>(leg.defaultAngle);
    }
    applyPhaseRule(c, leg);
}

bool applyAngleAltitude(const std::string& entry, LegConstraints& c, const VerticalEntryLeg& leg) {
    LegConstraints parsed = c;
    double angle = 0.0;
    bool hasAngle = false;
    if (!FmsParser::parseAngleConstraint(entry, angle, parsed.altitude, parsed.kind, hasAngle)) {
        return false;
    }
    if (hasAngle) {
        parsed.pathAngle = static_cast<float>(angle);
        parsed.pathAngleEntered = true;
    }
    parsed.hasAltitude = true;
    takeAltitude(parsed, leg);
    c = parsed;
    return true;
}

bool applySpeedAltitude(const std::string& entry, LegConstraints& c, const VerticalEntryLeg& leg) {
    LegConstraints parsed = c;
    if (!FmsParser::parseSpeedConstraint(entry, parsed.speed, parsed.altitude, parsed.kind,
                                         parsed.hasSpeed, parsed.hasAltitude)) {
        return false;
    }
    if (parsed.hasAltitude) {
        takeAltitude(parsed, leg);
    }
    if (parsed.hasSpeed) {
        parsed.mach = 0.0f;
    }
    c = parsed;
    return true;
}

bool applyMachAltitude(const std::string& entry, LegConstraints& c, const VerticalEntryLeg& leg) {
    LegConstraints parsed = c;
    if (!FmsParser::parseMachConstraint(entry, parsed.mach, parsed.altitude, parsed.kind,
                                        parsed.hasSpeed, parsed.hasAltitude)) {
        return false;
    }
    if (parsed.hasAltitude) {
        takeAltitude(parsed, leg);
    }
    if (parsed.hasSpeed) {
        parsed.speed = 0;
    }
    c = parsed;
    return true;
}

bool applyAltitude(const std::string& entry, LegConstraints& c, const VerticalEntryLeg& leg) {
    LegConstraints parsed = c;
    if (!FmsParser::parseAltitudeConstraint(entry, parsed.altitude, parsed.kind)) {
        return false;
    }
    parsed.hasAltitude = true;
    takeAltitude(parsed, leg);
    c = parsed;
    return true;
}

bool applyAngleOrPhase(const std::string& entry, LegConstraints& c) {
    double angle = 0.0;
    if (c.phase == kPhaseDescent && FmsParser::parsePathAngle(entry, angle)) {
        c.pathAngle = static_cast<float>(angle);
        c.pathAngleEntered = true;
        return true;
    }
    int32_t phase = 0;
    if (FmsParser::parseClimbDescent(entry, phase)) {
        c.phase = static_cast<uint32_t>(phase);
        return true;
    }
    return false;
}

bool applySpeedMach(const std::string& entry, LegConstraints& c) {
    int32_t speed = 0;
    double mach = 0.0;
    if (!FmsParser::parseSpeedMach(entry, speed, mach)) {
        return false;
    }
    c.speed = speed;
    c.mach = static_cast<float>(mach);
    c.hasSpeed = true;
    return true;
}

} // namespace

bool applyVerticalEntry(const std::string& entry, LegConstraints& c, const VerticalEntryLeg& leg) {
    return applyAngleAltitude(entry, c, leg) || applySpeedAltitude(entry, c, leg) ||
           applyMachAltitude(entry, c, leg) || applyAltitude(entry, c, leg) ||
           (c.hasAltitude && applyAngleOrPhase(entry, c)) || applySpeedMach(entry, c);
}

} // namespace tavi
