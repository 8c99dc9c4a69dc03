// Hands arbitrary text to every operation of the CDU's entry parser, and what it accepts back to
// the format operations: no entry may crash it, read outside the text or hang it.
#include "cdu/FmsParser.h"
#include "fms/LegConstraints.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace {

using tavi::FmsParser;

void wholeNumbers(std::string_view text) {
    using Parse = bool (*)(std::string_view, int32_t&);
    static constexpr Parse kParses[] = {
        FmsParser::parseUnsignedInteger, FmsParser::parseSignedInteger,
        FmsParser::parseIntegerTo60000,  FmsParser::parseIntegerTo600,
        FmsParser::parseWeight,          FmsParser::parseAltitudeFeet,
        FmsParser::parseIsaDeviation,    FmsParser::parseWindDirection,
        FmsParser::parseWindSpeed,       FmsParser::parseSurfaceWindSpeed,
        FmsParser::parsePassengerCount,  FmsParser::parsePassengerWeight,
        FmsParser::parseBankAngle,       FmsParser::parseGroundSpeed,
        FmsParser::parseSpeed,           FmsParser::parseFlightLevel,
        FmsParser::parseAltitude,        FmsParser::parseClimbDescent,
        FmsParser::parseHoldQuadrant,
    };
    for (const Parse parse : kParses) {
        int32_t value = 0;
        parse(text, value);
    }
}

void decimals(std::string_view text) {
    using Parse = bool (*)(std::string_view, double&);
    static constexpr Parse kParses[] = {
        FmsParser::parseDecimal,     FmsParser::parsePathAngle,
        FmsParser::parseMach,        FmsParser::parseLatitude,
        FmsParser::parseLongitude,   FmsParser::parseRadialDistance,
        FmsParser::parseOrbitRadius, FmsParser::parseHoldLegDistance,
        FmsParser::parseHoldLegTime,
    };
    for (const Parse parse : kParses) {
        double value = 0.0;
        parse(text, value);
    }
    double value = 0.0;
    FmsParser::parseSignedDecimal(text, value, -9999.9, 9999.9);
}

void identifiers(std::string_view text) {
    FmsParser::isValidIdent(text);
    FmsParser::isTemporaryIdent(text);
    FmsParser::isValidPlanName(text);
    FmsParser::isValidAirwayIdent(text);
    std::string first;
    std::string second;
    FmsParser::parseIdentPair(text, first, second);
    FmsParser::parseAirwayFix(text, first, second);
    FmsParser::trimLeft(text);
    FmsParser::tacanChannelToFrequency(text);
}

void vertical(std::string_view text, const FmsParser& parser) {
    int32_t speed = 0;
    int32_t altitude = 0;
    uint32_t kind = 0;
    double mach = 0.0;
    double angle = 0.0;
    float shortMach = 0.0f;
    bool first = false;
    bool constraint = false;
    if (FmsParser::parseAltitudeConstraint(text, altitude, kind)) {
        parser.formatAltitudeConstraint(altitude, kind);
    }
    tavi::LegConstraints window;
    FmsParser::parseAltitudeWindow(text, window);
    if (FmsParser::parseSpeedMachAngle(text, speed, mach, angle)) {
        FmsParser::formatSpeedMachAngle(speed, mach, angle);
    }
    FmsParser::parseSpeedMach(text, speed, mach);
    if (FmsParser::parseSpeedAltitude(text, speed, altitude)) {
        parser.formatSpeedAltitude(speed, altitude);
    }
    FmsParser::parseSpeedConstraint(text, speed, altitude, kind, first, constraint);
    FmsParser::parseMachConstraint(text, shortMach, altitude, kind, first, constraint);
    FmsParser::parseAngleConstraint(text, angle, altitude, kind, first);
}

void lateral(std::string_view text) {
    double latitude = 0.0;
    double longitude = 0.0;
    if (FmsParser::parseLatLon(text, latitude, longitude)) {
        FmsParser::formatLatLon(latitude, longitude);
        FmsParser::formatLatLonCompact(latitude, longitude);
    }
    double course = 0.0;
    bool isTrue = false;
    if (FmsParser::parseCourse(text, course, isTrue)) {
        FmsParser::formatCourse(course, isTrue);
        FmsParser::formatCourseTenths(course, isTrue);
    }
    std::string place;
    double distance = 0.0;
    if (FmsParser::parsePlaceDistance(text, place, distance)) {
        FmsParser::formatDistance(distance);
        FmsParser::formatLongDistance(distance);
    }
    tavi::WaypointDefinition definition;
    if (FmsParser::parsePilotWaypointDefinition(text, definition)) {
        FmsParser::formatPlaceBearingDistance(definition.place1, definition.bearing1,
                                              definition.bearing1True, definition.distance);
    }
    int32_t inbound = 0;
    int32_t turn = 0;
    bool right = false;
    FmsParser::parseHoldCourse(text, inbound, right);
    FmsParser::parseTurnDirection(text, right);
    if (FmsParser::parseTurnAngle(text, turn, right)) {
        FmsParser::formatTurnAngle(turn, right);
    }
}

void radiosAndUnits(std::string_view text) {
    int32_t word = 0;
    if (FmsParser::parseComFrequency(text, word)) {
        FmsParser::formatComFrequency(word);
    }
    if (FmsParser::parseNavFrequency(text, word)) {
        FmsParser::frequencyToTacanChannel(word);
    }
    if (FmsParser::parseAdfFrequency(text, word)) {
        FmsParser::formatAdfFrequency(word);
    }
    FmsParser::parseDate(text, true);
    float celsius = 0.0f;
    if (FmsParser::parseTemperature(text, celsius)) {
        FmsParser::formatTemperatureCF(celsius);
    }
    int32_t first = 0;
    int32_t second = 0;
    if (FmsParser::parseWind(text, first, second)) {
        FmsParser::formatWindTrue(first, second);
    }
    FmsParser::parseSurfaceWind(text, first, second);
    if (FmsParser::parseWeightPair(text, first, second)) {
        FmsParser::formatWeight(first, true, true);
        FmsParser::formatThousands(second, false);
    }
    FmsParser::parsePassengers(text, first, second);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const int32_t transitionAltitude = 18000;
    const FmsParser parser(transitionAltitude);
    wholeNumbers(text);
    decimals(text);
    identifiers(text);
    vertical(text, parser);
    lateral(text);
    radiosAndUnits(text);
    return 0;
}
