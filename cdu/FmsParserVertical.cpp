// The entry parser's altitudes, speeds, Mach numbers, path angles and vertical constraints.
#include "cdu/EntryText.h"
#include "cdu/FmsParser.h"
#include "core/Format.h"
#include "fms/LegConstraints.h"

#include <algorithm>

namespace tavi {

namespace {

std::size_t countOf(std::string_view text, char c) {
    return static_cast<std::size_t>(std::count(text.begin(), text.end(), c));
}

} // namespace

bool FmsParser::parseFlightLevel(std::string_view text, int32_t& altitude) {
    int32_t level = 0;
    if (text.size() < 3 || text.size() > 5 || text.substr(0, 2) != "FL" ||
        !parseUnsignedInteger(text.substr(2), level) || level > 600) {
        return false;
    }
    altitude = level * 100;
    return true;
}

bool FmsParser::parseAltitude(std::string_view text, int32_t& altitude) {
    return parseAltitudeFeet(text, altitude) || parseFlightLevel(text, altitude);
}

bool FmsParser::parseAltitudeConstraint(std::string_view text, int32_t& altitude, uint32_t& kind) {
    if (text.size() < 3) {
        return false;
    }
    if (parseAltitude(text, altitude)) {
        kind = kAltitudeAt;
        return true;
    }
    const char suffix = text.back();
    if ((suffix != 'A' && suffix != 'B') ||
        !parseAltitude(text.substr(0, text.size() - 1), altitude)) {
        return false;
    }
    kind = suffix == 'A' ? kAltitudeAtOrAbove : kAltitudeAtOrBelow;
    return true;
}

bool FmsParser::parseAltitudeWindow(std::string_view text, LegConstraints& constraints) {
    const std::size_t split = text.find('A');
    if (split == std::string_view::npos) {
        return false;
    }
    int32_t lower = 0;
    int32_t upper = 0;
    uint32_t lowerKind = 0;
    uint32_t upperKind = 0;
    if (!parseAltitudeConstraint(text.substr(0, split + 1), lower, lowerKind) ||
        lowerKind != kAltitudeAtOrAbove ||
        !parseAltitudeConstraint(text.substr(split + 1), upper, upperKind) ||
        upperKind != kAltitudeAtOrBelow) {
        return false;
    }
    constraints.hasAltitude = true;
    constraints.kind = kAltitudeWindow;
    constraints.altitude = std::min(lower, upper);
    constraints.altitude2 = std::max(lower, upper);
    return true;
}

bool FmsParser::parseClimbDescent(std::string_view text, int32_t& phase) {
    if (text == "CLB" || text == "C") {
        phase = static_cast<int32_t>(kPhaseClimb);
        return true;
    }
    if (text == "DES" || text == "D") {
        phase = static_cast<int32_t>(kPhaseDescent);
        return true;
    }
    return false;
}

bool FmsParser::parsePathAngle(std::string_view typed, double& angle) {
    const std::string_view text = entry::withoutUnitMark(typed, "\u00B0");
    if (text.size() == 1 && entry::isDigit(text[0])) {
        const int32_t whole = text[0] - '0';
        if (whole < 1 || whole > 6) {
            return false;
        }
        angle = whole;
        return true;
    }
    if (text.size() != 3 || !entry::isDigit(text[0]) || text[1] != '.' ||
        !entry::isDigit(text[2])) {
        return false;
    }
    const double value = (text[0] - '0') + (text[2] - '0') * 0.1;
    if (value < 1.0 || value > 6.0) {
        return false;
    }
    angle = value;
    return true;
}

bool FmsParser::parseMach(std::string_view text, double& mach) {
    if (text.size() < 2 || text.size() > 3 || text.front() != '.' ||
        !entry::allDigits(text.substr(1))) {
        return false;
    }
    int32_t hundredths = entry::decimalOf(text.substr(1));
    // One digit is tenths; two are hundredths, so ".09" is not ".90".
    if (text.size() == 2) {
        hundredths *= 10;
    }
    if (hundredths < 30 || hundredths > 95) {
        return false;
    }
    mach = hundredths * 0.01;
    return true;
}

bool FmsParser::parseSpeedMach(std::string_view text, int32_t& speed, double& mach) {
    if (text.size() < 2) {
        return false;
    }
    if (text.find('/') == std::string_view::npos) {
        return parseSpeed(text, speed) || parseMach(text, mach);
    }
    return entry::parseTwoParts(
        text, [&](std::string_view part) { return parseSpeed(part, speed); },
        [&](std::string_view part) { return parseMach(part, mach); });
}

bool FmsParser::parseSpeedAltitude(std::string_view text, int32_t& speed, int32_t& altitude) {
    return entry::parseTwoParts(
        text, [&](std::string_view part) { return parseSpeed(part, speed); },
        [&](std::string_view part) { return parseAltitude(part, altitude); });
}

bool FmsParser::parseSpeedMachAngle(std::string_view text, int32_t& speed, double& mach,
                                    double& angle) {
    switch (countOf(text, '/')) {
    case 0:
        return parsePathAngle(text, angle) || parseSpeed(text, speed) || parseMach(text, mach);
    case 1:
        return parseSpeedMach(text, speed, mach);
    case 2: {
        if (text.substr(0, 2) == "//") {
            return parsePathAngle(text.substr(2), angle);
        }
        const std::vector<std::string_view> parts = entry::pieces(text, '/');
        return parts.size() >= 1 && parseSpeed(parts[0], speed) && parts.size() >= 2 &&
               parseMach(parts[1], mach) && parts.size() >= 3 && parsePathAngle(parts[2], angle);
    }
    default:
        return false;
    }
}

namespace {

// The "first/constraint" entries: exactly one "/"; a leading "/" gives the constraint alone, a
// trailing one (where allowed) the first value alone. Answers which parts were accepted.
struct ConstraintEntry {
    bool accepted = false;
    bool hasFirst = false;
    bool hasConstraint = false;
};

template <class First>
ConstraintEntry parseFirstAndConstraint(std::string_view text, bool firstAlone, First first,
                                        int32_t& altitude, uint32_t& kind) {
    if (countOf(text, '/') != 1) {
        return {};
    }
    const std::size_t slash = text.find('/');
    const std::string_view left = text.substr(0, slash);
    const std::string_view right = text.substr(slash + 1);
    if (left.empty()) {
        const bool accepted = FmsParser::parseAltitudeConstraint(right, altitude, kind);
        return {accepted, false, accepted};
    }
    if (right.empty() && firstAlone) {
        const bool accepted = first(left);
        return {accepted, accepted, false};
    }
    const bool accepted = first(left) && FmsParser::parseAltitudeConstraint(right, altitude, kind);
    return {accepted, accepted, accepted};
}

} // namespace

bool FmsParser::parseSpeedConstraint(std::string_view text, int32_t& speed, int32_t& altitude,
                                     uint32_t& kind, bool& hasSpeed, bool& hasConstraint) {
    const ConstraintEntry parsed = parseFirstAndConstraint(
        text, true, [&](std::string_view part) { return parseSpeed(part, speed); }, altitude, kind);
    hasSpeed = hasSpeed || parsed.hasFirst;
    hasConstraint = hasConstraint || parsed.hasConstraint;
    return parsed.accepted;
}

bool FmsParser::parseMachConstraint(std::string_view text, float& mach, int32_t& altitude,
                                    uint32_t& kind, bool& hasMach, bool& hasConstraint) {
    double parsedMach = 0.0;
    const ConstraintEntry parsed = parseFirstAndConstraint(
        text, true, [&](std::string_view part) { return parseMach(part, parsedMach); }, altitude,
        kind);
    if (parsed.hasFirst) {
        mach = static_cast<float>(parsedMach);
    }
    hasMach = hasMach || parsed.hasFirst;
    hasConstraint = hasConstraint || parsed.hasConstraint;
    return parsed.accepted;
}

bool FmsParser::parseAngleConstraint(std::string_view text, double& angle, int32_t& altitude,
                                     uint32_t& kind, bool& hasAngle) {
    const ConstraintEntry parsed = parseFirstAndConstraint(
        text, false, [&](std::string_view part) { return parsePathAngle(part, angle); }, altitude,
        kind);
    hasAngle = hasAngle || parsed.hasFirst;
    return parsed.accepted;
}

std::string FmsParser::formatAltitude(int32_t altitude) const {
    if (altitude > transitionAltitude && altitude > 0) {
        const int32_t level = altitude / 100 + (altitude % 100 >= 50 ? 1 : 0);
        return format("FL%03d", level);
    }
    return format("%04d", altitude);
}

std::string FmsParser::formatAltitudeConstraint(int32_t altitude, uint32_t kind) const {
    const char* suffix = kind == kAltitudeAtOrAbove ? "A" : kind == kAltitudeAtOrBelow ? "B" : "";
    return formatAltitude(altitude) + suffix;
}

std::string FmsParser::formatClimbDescent(int32_t phase) {
    if (phase == static_cast<int32_t>(kPhaseClimb)) {
        return "CLB";
    }
    return phase == static_cast<int32_t>(kPhaseDescent) ? "DES" : "";
}

std::string FmsParser::formatSpeedAltitude(int32_t speed, int32_t altitude) const {
    return format("%d/", speed) + formatAltitude(altitude);
}

std::string FmsParser::formatMach(double mach) {
    return format(".%02.0lf", mach * 100.0);
}

std::string FmsParser::formatSpeedMach(int32_t speed, double mach) {
    if (mach == 0.0) {
        return format("%d", speed);
    }
    if (speed == 0) {
        return formatMach(mach);
    }
    return format("%d/", speed) + formatMach(mach);
}

std::string FmsParser::formatSpeedMachAngle(int32_t speed, double mach, double angle) {
    return format("%d/.%02.0lf/%3.1lf\u00B0", speed, mach * 100.0, angle);
}

} // namespace tavi
