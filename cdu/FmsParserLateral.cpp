// The entry parser's positions, courses, distances, pilot-waypoint definitions and pattern
// entries.
#include "cdu/EntryText.h"
#include "cdu/FmsParser.h"
#include "core/Format.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace tavi {

namespace {

constexpr const char* kDegree = "\u00B0";

// One coordinate's hemisphere letters, degree digits and limit.
struct CoordinateForm {
    char positive;
    char negative;
    std::size_t degreeDigits;
    int32_t maxDegrees;
};

constexpr CoordinateForm kLatitudeForm{'N', 'S', 2, 90};
constexpr CoordinateForm kLongitudeForm{'E', 'W', 3, 180};

// Reads hemisphere, degrees, minutes and tenths of a minute. The full form is
// "N4512.3"; "N45123" stands for it, "N4512" and "N45" leave out the tenths and minutes.
bool parseCoordinate(std::string_view text, const CoordinateForm& form, double& value) {
    const std::size_t d = form.degreeDigits;
    if (text.empty() || (text.front() != form.positive && text.front() != form.negative)) {
        return false;
    }
    std::string working(text);
    if (text.size() == d + 5) {
        // The full form.
    } else if (text.size() == d + 4 && entry::isDigit(text.back())) {
        working.insert(working.size() - 1, ".");
    } else if (text.size() == d + 3) {
        working += ".0";
    } else if (text.size() == d + 1) {
        working += "00.0";
    } else {
        return false;
    }
    const std::string_view full = working;
    if (!entry::allDigits(full.substr(1, d + 2)) || full[d + 3] != '.' ||
        !entry::isDigit(full[d + 4])) {
        return false;
    }
    const int32_t degrees = entry::decimalOf(full.substr(1, d));
    const int32_t minutes = entry::decimalOf(full.substr(d + 1, 2));
    if (degrees > form.maxDegrees || minutes >= 60) {
        return false;
    }
    const double magnitude = degrees + minutes / 60.0 + (full[d + 4] - '0') * 0.1 / 60.0;
    // The degrees alone may reach the limit: minutes beyond it would leave the earth.
    if (magnitude > form.maxDegrees) {
        return false;
    }
    value = text.front() == form.negative ? -magnitude : magnitude;
    return true;
}

// Degrees, minutes and tenths of a minute of a coordinate, rounded to the tenth with the carry
// into minutes and degrees.
struct CoordinateParts {
    char hemisphere;
    int32_t degrees;
    int32_t minutes;
    int32_t tenths;
};

CoordinateParts coordinateParts(double value, const CoordinateForm& form) {
    const double magnitude = std::fabs(value);
    auto degrees = static_cast<int32_t>(std::floor(magnitude));
    const double rest = magnitude - degrees;
    auto minutes = static_cast<int32_t>(std::floor(rest * 60.0));
    const auto hundredths = static_cast<int32_t>(std::floor(rest * 6000.0)) % 100;
    int32_t tenths = hundredths / 10 + (hundredths % 10 >= 5 ? 1 : 0);
    if (tenths >= 10) {
        minutes += 1;
        tenths = 0;
    }
    if (minutes >= 60) {
        degrees += 1;
        minutes = 0;
    }
    degrees = std::min(degrees, form.maxDegrees);
    return {value >= 0.0 ? form.positive : form.negative, degrees, minutes, tenths};
}

std::string formatCoordinate(double value, const CoordinateForm& form, bool withDegreeSign) {
    const CoordinateParts parts = coordinateParts(value, form);
    const std::string degrees =
        format(form.degreeDigits == 2 ? "%c%02d" : "%c%03d", parts.hemisphere, parts.degrees);
    return degrees + (withDegreeSign ? kDegree : "") +
           format("%02d.%d", parts.minutes, parts.tenths);
}

bool parseBoundedDecimal(std::string_view text, double lowest, double highest, double& value) {
    double parsed = 0.0;
    if (!FmsParser::parseDecimal(text, parsed) || parsed < lowest || parsed > highest) {
        return false;
    }
    value = parsed;
    return true;
}

bool isPlace(std::string_view text) {
    return FmsParser::isValidIdent(text) || FmsParser::isTemporaryIdent(text);
}

// The course in 0 to 360 and whether it shows as north (360).
double courseInCircle(double course, bool& north) {
    course = std::fmod(course, 360.0);
    if (course < 0.0) {
        course += 360.0;
    }
    north = course >= 359.5 || course < 0.5;
    return course;
}

std::string courseMark(bool isTrue) {
    return isTrue ? "T" : kDegree;
}

} // namespace

bool FmsParser::parseLatitude(std::string_view text, double& latitude) {
    return parseCoordinate(text, kLatitudeForm, latitude);
}

bool FmsParser::parseLongitude(std::string_view text, double& longitude) {
    return parseCoordinate(text, kLongitudeForm, longitude);
}

bool FmsParser::parseLatLon(std::string_view text, double& latitude, double& longitude) {
    if (text.size() <= 3 || (text.front() != 'N' && text.front() != 'S')) {
        return false;
    }
    const std::size_t split = std::min(text.find_first_of("EW"), text.size());
    return parseLatitude(text.substr(0, split), latitude) &&
           parseLongitude(text.substr(split), longitude);
}

bool FmsParser::parseCourse(std::string_view text, double& course, bool& isTrue) {
    if (!text.empty() && text.back() == 'T') {
        text.remove_suffix(1);
        isTrue = true;
    }
    if (!entry::isDecimalText(text, true)) {
        return false;
    }
    const double value = entry::decimalValue(text);
    if (value > 360.0) {
        return false;
    }
    course = value;
    return true;
}

bool FmsParser::parsePlaceDistance(std::string_view text, std::string& place, double& distance) {
    const std::vector<std::string_view> parts = entry::pieces(text, '/');
    if (parts.size() < 2) {
        return false;
    }
    place = parts[0];
    return isPlace(parts[0]) && parseSignedDecimal(parts[1], distance, -9999.9, 9999.9);
}

bool FmsParser::parsePlaceBearingDistance(std::string_view text, std::string& place,
                                          double& bearing, bool& bearingTrue, double& distance) {
    const std::vector<std::string_view> parts = entry::pieces(text, '/');
    if (parts.size() < 3) {
        return false;
    }
    place = parts[0];
    return isPlace(parts[0]) && parseCourse(parts[1], bearing, bearingTrue) &&
           parseDecimal(parts[2], distance);
}

bool FmsParser::parsePlaceBearingPlaceBearing(std::string_view text, std::string& place1,
                                              double& bearing1, bool& bearing1True,
                                              std::string& place2, double& bearing2,
                                              bool& bearing2True) {
    const std::vector<std::string_view> parts = entry::pieces(text, '/');
    if (parts.size() < 4) {
        return false;
    }
    place1 = parts[0];
    place2 = parts[2];
    return isPlace(parts[0]) && isPlace(parts[2]) &&
           parseCourse(parts[1], bearing1, bearing1True) &&
           parseCourse(parts[3], bearing2, bearing2True);
}

bool FmsParser::parsePilotWaypointDefinition(std::string_view text,
                                             WaypointDefinition& definition) {
    switch (std::count(text.begin(), text.end(), '/')) {
    case 2:
        return parsePlaceBearingDistance(text, definition.place1, definition.bearing1,
                                         definition.bearing1True, definition.distance);
    case 3:
        return parsePlaceBearingPlaceBearing(text, definition.place1, definition.bearing1,
                                             definition.bearing1True, definition.place2,
                                             definition.bearing2, definition.bearing2True);
    default:
        return false;
    }
}

bool FmsParser::parseHoldQuadrant(std::string_view text, int32_t& inboundCourse) {
    struct Quadrant {
        std::string_view name;
        int32_t inbound;
    };
    static constexpr std::array<Quadrant, 8> kQuadrants{{{"N", 180},
                                                         {"NE", 225},
                                                         {"E", 270},
                                                         {"SE", 315},
                                                         {"S", 0},
                                                         {"SW", 45},
                                                         {"W", 90},
                                                         {"NW", 135}}};
    for (const Quadrant& quadrant : kQuadrants) {
        if (text == quadrant.name) {
            inboundCourse = quadrant.inbound;
            return true;
        }
    }
    return false;
}

bool FmsParser::parseHoldCourse(std::string_view text, int32_t& inboundCourse, bool& right) {
    const auto slashes = std::count(text.begin(), text.end(), '/');
    int32_t course = 0;
    if (slashes > 1) {
        return false;
    }
    if (slashes == 0) {
        if (!parseUnsignedInteger(text, course) || course > 360) {
            return false;
        }
        inboundCourse = course;
        return true;
    }
    const std::size_t slash = text.find('/');
    if (slash == 0) {
        return parseTurnDirection(text.substr(1), right);
    }
    if (!parseUnsignedInteger(text.substr(0, slash), course) ||
        !parseTurnDirection(text.substr(slash + 1), right) || course > 360) {
        return false;
    }
    inboundCourse = course;
    return true;
}

bool FmsParser::parseTurnDirection(std::string_view text, bool& right) {
    if (text != "L" && text != "R") {
        return false;
    }
    right = text == "R";
    return true;
}

bool FmsParser::parseTurnAngle(std::string_view text, int32_t& angle, bool& right) {
    int32_t value = 0;
    if (text.size() != 3 || (text[0] != 'L' && text[0] != 'R') ||
        !parseUnsignedInteger(text.substr(1), value) || value < 20 || value > 90) {
        return false;
    }
    angle = value;
    right = text[0] == 'R';
    return true;
}

bool FmsParser::parseRadialDistance(std::string_view text, double& distance) {
    return parseBoundedDecimal(text, 1.0, 999.9, distance);
}

bool FmsParser::parseOrbitRadius(std::string_view text, double& radius) {
    return parseBoundedDecimal(text, 1.0, 99.9, radius);
}

bool FmsParser::parseHoldLegDistance(std::string_view text, double& distance) {
    return parseBoundedDecimal(text, 1.0, 20.0, distance);
}

bool FmsParser::parseHoldLegTime(std::string_view text, double& minutes) {
    return parseBoundedDecimal(text, 0.5, 3.0, minutes);
}

std::string FmsParser::formatLatitude(double latitude) {
    return formatCoordinate(latitude, kLatitudeForm, true);
}

std::string FmsParser::formatLongitude(double longitude) {
    return formatCoordinate(longitude, kLongitudeForm, true);
}

std::string FmsParser::formatLatitudeCompact(double latitude) {
    return formatCoordinate(latitude, kLatitudeForm, false);
}

std::string FmsParser::formatLongitudeCompact(double longitude) {
    return formatCoordinate(longitude, kLongitudeForm, false);
}

std::string FmsParser::formatLatLon(double latitude, double longitude) {
    return formatLatitude(latitude) + " " + formatLongitude(longitude);
}

std::string FmsParser::formatLatLonCompact(double latitude, double longitude) {
    return formatLatitudeCompact(latitude) + formatLongitudeCompact(longitude);
}

std::string FmsParser::formatCourse(double course, bool isTrue) {
    bool north = false;
    const double value = courseInCircle(course, north);
    return (north ? std::string("360") : format("%03.0f", value)) + courseMark(isTrue);
}

std::string FmsParser::formatCourseTenths(double course, bool isTrue) {
    bool north = false;
    const double value = courseInCircle(course, north);
    return (north ? std::string("360.0") : format("%05.1f", value)) + courseMark(isTrue);
}

std::string FmsParser::formatDistance(double distance) {
    return format(distance < 99.95 ? "%-3.1lf" : "%-3.0lf", distance);
}

std::string FmsParser::formatLongDistance(double distance) {
    return format(distance < 999.95 ? "%-3.1lf" : "%-3.0lf", distance);
}

std::string FmsParser::formatVariation(double variation) {
    const double whole = std::trunc(variation);
    const double tenths = std::floor(std::fabs(variation - whole) * 10.0 + 0.5);
    const char letter = variation >= 0.0 ? 'E' : 'W';
    if (tenths == 0.0) {
        return format("%d%s%c", static_cast<int32_t>(std::fabs(whole)), kDegree, letter);
    }
    return format("%2.1f%s%c", std::fabs(variation), kDegree, letter);
}

std::string FmsParser::formatPlaceBearingDistance(std::string_view place, double bearing,
                                                  bool isTrue, double distance) {
    return std::string(place) + format("/%2.1lf", bearing) + (isTrue ? "T" : "") +
           format("/%2.1lf", distance);
}

std::string FmsParser::formatTurnDirection(bool right) {
    return right ? "R" : "L";
}

std::string FmsParser::formatTurnAngle(int32_t angle, bool right) {
    return formatTurnDirection(right) + kDegree + format("%d", angle);
}

} // namespace tavi
