#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace tavi {

class Navaid;
struct LegConstraints;

// The VHF frequencies (MHz) paired with DME/TACAN channel n, X and Y; 0.0 where the channel
// has no pairing. Row 0 is unused.
struct TacanChannelPair {
    float x = 0.0f;
    float y = 0.0f;
};
extern const std::array<TacanChannelPair, 127> tacanChannelTable;

// A pilot-waypoint definition: place/bearing/distance or place/bearing/place/bearing.
struct WaypointDefinition {
    std::string place1;
    double bearing1 = 0.0;
    bool bearing1True = false;
    double distance = 0.0;
    std::string place2;
    double bearing2 = 0.0;
    bool bearing2True = false;
};

// The CDU's entry parser and formatter: turns scratch-pad entries into values and values into
// the texts the pages show.
//
// A parse operation answers whether it accepted the entry. It writes an output only when the
// part of the entry that produces it was accepted, so a two-part entry whose second part is
// refused may have written its first output; flags are only ever set. Nothing is trimmed.
// Frequencies are binary-coded decimal words: NAV 113.90 MHz is 0x01139000, COM 121.525 MHz
// 0x01215250, ADF 415.5 kHz 0x04155000.
class FmsParser {
public:
    // The parser writes altitudes above the transition altitude (feet) as flight levels.
    explicit FmsParser(const int32_t& transitionAltitude)
        : transitionAltitude(transitionAltitude) {}

    // Numbers.
    static bool parseUnsignedInteger(std::string_view text, int32_t& value);
    static bool parseSignedInteger(std::string_view text, int32_t& value);
    // Digits with at most one decimal, 0 to 9999.9.
    static bool parseDecimal(std::string_view text, double& value);
    // Up to 8 characters, an optional sign, any decimals, within the bounds.
    static bool parseSignedDecimal(std::string_view text, double& value, double lower,
                                   double upper);

    // Whole numbers of a bounded length and range.
    static bool parseIntegerTo60000(std::string_view text, int32_t& value);
    static bool parseIntegerTo600(std::string_view text, int32_t& value);
    static bool parseWeight(std::string_view text, int32_t& value);
    static bool parseAltitudeFeet(std::string_view text, int32_t& value);
    static bool parseIsaDeviation(std::string_view text, int32_t& value);
    static bool parseWindDirection(std::string_view text, int32_t& value);
    static bool parseWindSpeed(std::string_view text, int32_t& value);
    // At least two digits: 5 knots is "05".
    static bool parseSurfaceWindSpeed(std::string_view text, int32_t& value);
    static bool parsePassengerCount(std::string_view text, int32_t& value);
    static bool parsePassengerWeight(std::string_view text, int32_t& value);
    static bool parseBankAngle(std::string_view text, int32_t& value);
    static bool parseGroundSpeed(std::string_view text, int32_t& value);
    static bool parseSpeed(std::string_view text, int32_t& value);

    // Identifiers and names.
    // 1 to 5 letters, digits or "-", not beginning with "-".
    static bool isValidIdent(std::string_view text);
    // "*", "#" or "&" followed by a valid identifier: a point the FMS makes for itself.
    static bool isTemporaryIdent(std::string_view text);
    static bool isValidPlanName(std::string_view text);
    static bool isValidAirwayIdent(std::string_view text);
    // "ORIG/DEST" or an identifier alone; both outputs are written once the shape fits.
    static bool parseIdentPair(std::string_view text, std::string& origin,
                               std::string& destination);
    // "AIRWAY.FIX"; both outputs are written before they are checked.
    static bool parseAirwayFix(std::string_view text, std::string& airway, std::string& fix);
    static std::string trimLeft(std::string_view text);

    // Altitudes, speeds and vertical constraints. A constraint kind is kAltitudeAt,
    // kAltitudeAtOrAbove ("A") or kAltitudeAtOrBelow ("B").
    static bool parseFlightLevel(std::string_view text, int32_t& altitude);
    static bool parseAltitude(std::string_view text, int32_t& altitude);
    static bool parseAltitudeConstraint(std::string_view text, int32_t& altitude, uint32_t& kind);
    // "FL240AFL280B": a window from the lower to the upper altitude; untouched when refused.
    static bool parseAltitudeWindow(std::string_view text, LegConstraints& constraints);
    static bool parseClimbDescent(std::string_view text, int32_t& phase);
    static bool parsePathAngle(std::string_view text, double& angle);
    static bool parseMach(std::string_view text, double& mach);
    static bool parseSpeedMach(std::string_view text, int32_t& speed, double& mach);
    static bool parseSpeedAltitude(std::string_view text, int32_t& speed, int32_t& altitude);
    static bool parseSpeedMachAngle(std::string_view text, int32_t& speed, double& mach,
                                    double& angle);
    static bool parseSpeedConstraint(std::string_view text, int32_t& speed, int32_t& altitude,
                                     uint32_t& kind, bool& hasSpeed, bool& hasConstraint);
    static bool parseMachConstraint(std::string_view text, float& mach, int32_t& altitude,
                                    uint32_t& kind, bool& hasMach, bool& hasConstraint);
    static bool parseAngleConstraint(std::string_view text, double& angle, int32_t& altitude,
                                     uint32_t& kind, bool& hasAngle);

    std::string formatAltitude(int32_t altitude) const;
    std::string formatAltitudeConstraint(int32_t altitude, uint32_t kind) const;
    static std::string formatClimbDescent(int32_t phase);
    std::string formatSpeedAltitude(int32_t speed, int32_t altitude) const;
    static std::string formatMach(double mach);
    static std::string formatSpeedMach(int32_t speed, double mach);
    static std::string formatSpeedMachAngle(int32_t speed, double mach, double angle);

    // Positions, courses, distances and pattern entries. Turn directions are true for right.
    static bool parseLatitude(std::string_view text, double& latitude);
    static bool parseLongitude(std::string_view text, double& longitude);
    static bool parseLatLon(std::string_view text, double& latitude, double& longitude);
    // A trailing "T" sets the true flag before the rest is checked.
    static bool parseCourse(std::string_view text, double& course, bool& isTrue);
    static bool parsePlaceDistance(std::string_view text, std::string& place, double& distance);
    static bool parsePlaceBearingDistance(std::string_view text, std::string& place,
                                          double& bearing, bool& bearingTrue, double& distance);
    static bool parsePlaceBearingPlaceBearing(std::string_view text, std::string& place1,
                                              double& bearing1, bool& bearing1True,
                                              std::string& place2, double& bearing2,
                                              bool& bearing2True);
    static bool parsePilotWaypointDefinition(std::string_view text, WaypointDefinition& definition);
    static bool parseHoldQuadrant(std::string_view text, int32_t& inboundCourse);
    static bool parseHoldCourse(std::string_view text, int32_t& inboundCourse, bool& right);
    static bool parseTurnDirection(std::string_view text, bool& right);
    static bool parseTurnAngle(std::string_view text, int32_t& angle, bool& right);
    static bool parseRadialDistance(std::string_view text, double& distance);
    static bool parseOrbitRadius(std::string_view text, double& radius);
    static bool parseHoldLegDistance(std::string_view text, double& distance);
    static bool parseHoldLegTime(std::string_view text, double& minutes);

    static std::string formatLatitude(double latitude);
    static std::string formatLongitude(double longitude);
    static std::string formatLatitudeCompact(double latitude);
    static std::string formatLongitudeCompact(double longitude);
    static std::string formatLatLon(double latitude, double longitude);
    static std::string formatLatLonCompact(double latitude, double longitude);
    static std::string formatCourse(double course, bool isTrue);
    static std::string formatCourseTenths(double course, bool isTrue);
    static std::string formatDistance(double distance);
    static std::string formatLongDistance(double distance);
    // East positive.
    static std::string formatVariation(double variation);
    static std::string formatPlaceBearingDistance(std::string_view place, double bearing,
                                                  bool isTrue, double distance);
    static std::string formatTurnDirection(bool right);
    static std::string formatTurnAngle(int32_t angle, bool right);

    // Radio frequencies and TACAN channels.
    static bool parseComFrequency(std::string_view text, int32_t& frequency);
    // 108.00 to 117.95 MHz on a 50 kHz raster; "13.9" stands for 113.90.
    static bool parseNavFrequency(std::string_view text, int32_t& frequency);
    static bool parseAdfFrequency(std::string_view text, int32_t& frequency);
    static std::string formatComFrequency(int32_t frequency);
    static std::string formatNavFrequency(int32_t frequency);
    static std::string formatAdfFrequency(int32_t frequency);
    // The channel ("087X") paired with a NAV frequency, or an empty text.
    static std::string frequencyToTacanChannel(int32_t frequency);
    // The NAV frequency word paired with a channel, or 0.
    static int32_t tacanChannelToFrequency(std::string_view channel);
    // Sets the navaid's type texts from its station type and usage; a channel-only station
    // (TACAN, DME, NDB-DME) gets the frequency paired with its channel.
    static void labelNavaid(Navaid& navaid);

    // Dates, times, temperatures, winds, weights and plain numbers.
    // "DDMMMYY" as seconds since 1970 at the start (or the end) of that day; 0 when the text
    // is not 7 characters long.
    static int64_t parseDate(std::string_view text, bool endOfDay);
    // Degrees Celsius, or "/" and degrees Fahrenheit.
    static bool parseTemperature(std::string_view text, float& celsius);
    static bool parseWind(std::string_view text, int32_t& direction, int32_t& speed);
    static bool parseSurfaceWind(std::string_view text, int32_t& direction, int32_t& speed);
    static bool parseWeightPair(std::string_view text, int32_t& first, int32_t& second);
    static bool parsePassengers(std::string_view text, int32_t& count, int32_t& weight);
    static std::string monthName(int32_t month);
    static std::string formatElapsedTime(double seconds);
    static std::string formatClockTime(double seconds);
    static std::string formatTemperature(float celsius);
    static std::string formatTemperatureCF(float celsius);
    static std::string formatWindTrue(int32_t direction, int32_t speed);
    static std::string formatWindMagnetic(int32_t direction, int32_t speed);
    // Pounds as a whole number of the unit, truncated; a weight typed in kilograms reads back
    // as typed.
    static int32_t weightInUnit(double pounds, bool kilograms);
    // Pounds, shown in kilograms when asked.
    static std::string formatWeight(double pounds, bool kilograms, bool roundToTens);
    static std::string formatThousands(double pounds, bool kilograms);
    static std::string formatFuelMileage(double fuelFlow, double groundSpeed, bool kilograms);
    static std::string formatPassengers(int32_t count, double weight, bool kilograms);
    static std::string formatBaroInches(float pressure);
    static std::string formatBaroHpa(float pressure);
    static std::string formatInteger(int32_t value);
    static std::string formatFourDigits(int32_t value);
    static std::string formatOneDecimal(double value);
    static std::string formatNoDecimals(double value);

    static constexpr double kPoundsToKilograms = 0.453592;

private:
    const int32_t& transitionAltitude;
};

} // namespace tavi
