// The entry parser's dates, times, temperatures, winds, weights and passengers.
#include "cdu/EntryText.h"
#include "cdu/FmsParser.h"
#include "core/Format.h"

#include <array>
#include <cmath>

namespace tavi {

namespace {

constexpr std::array<const char*, 13> kMonthNames = {
    "", "JAN", "FEB", "MAR", "APR", "MAY", "JUN", "JUL", "AUG", "SEP", "OCT", "NOV", "DEC"};

constexpr int64_t kSecondsPerDay = 86400;

// Days from 1 January 1970 to the first of the month; the civil calendar, no time zone.
int64_t daysToMonth(int64_t year, int32_t month) {
    year -= month <= 2 ? 1 : 0;
    const int64_t era = (year >= 0 ? year : year - 399) / 400;
    const int64_t yearOfEra = year - era * 400;
    const int64_t dayOfYear = (153 * (month + (month > 2 ? -3 : 9)) + 2) / 5;
    const int64_t dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
    return era * 146097 + dayOfEra - 719468;
}

// Whole degrees as the temperature fields show them: a value that rounds to nothing is +0, never
// -0 (ISA DEV at the standard atmosphere).
double wholeDegrees(double degrees) {
    const double whole = std::nearbyint(degrees);
    return whole == 0.0 ? 0.0 : whole;
}

// The integer of a text's leading digits, 0 when it has none.
int32_t leadingInteger(std::string_view text) {
    std::size_t digits = 0;
    while (digits < text.size() && entry::isDigit(text[digits])) {
        ++digits;
    }
    return entry::decimalOf(text.substr(0, digits));
}

double toUnit(double pounds, bool kilograms) {
    return kilograms ? pounds * FmsParser::kPoundsToKilograms : pounds;
}

// A weight typed in kilograms is kept in pounds; converted back it can land a hair below the
// whole kilogram typed (59 kg reads 58.99999...), which truncation would show one less.
double inUnitWithoutDrift(double pounds, bool kilograms) {
    constexpr double kConversionError = 1e-6;
    const double weight = toUnit(pounds, kilograms);
    const double whole = std::round(weight);
    return std::fabs(weight - whole) < kConversionError ? whole : weight;
}

} // namespace

// The date is read as a calendar date without any time zone, so the cycle dates compare the
// same on every machine.
int64_t FmsParser::parseDate(std::string_view text, bool endOfDay) {
    if (text.size() != 7) {
        return 0;
    }
    const int32_t day = leadingInteger(text.substr(0, 2));
    const std::string_view monthText = text.substr(2, 3);
    int32_t month = 1;
    for (int32_t m = 1; m <= 12; ++m) {
        if (monthText == kMonthNames[static_cast<std::size_t>(m)]) {
            month = m;
            break;
        }
    }
    const int32_t twoDigitYear = leadingInteger(text.substr(5, 2));
    const int64_t year = twoDigitYear < 80 ? 2000 + twoDigitYear : 1900 + twoDigitYear;
    const int64_t days = daysToMonth(year, month) + day - 1;
    return days * kSecondsPerDay + (endOfDay ? kSecondsPerDay - 1 : 0);
}

bool FmsParser::parseTemperature(std::string_view text, float& celsius) {
    int32_t degrees = 0;
    if (!text.empty() && text.front() == '/') {
        if (!parseSignedInteger(text.substr(1), degrees)) {
            return false;
        }
        const float converted = static_cast<float>(degrees - 32) * 0.5555556f;
        if (converted < -70.0f || converted > 54.0f) {
            return false;
        }
        celsius = converted;
        return true;
    }
    if (!parseSignedInteger(text, degrees) || degrees < -80 || degrees > 54) {
        return false;
    }
    celsius = static_cast<float>(degrees);
    return true;
}

bool FmsParser::parseWind(std::string_view text, int32_t& direction, int32_t& speed) {
    return entry::parseTwoParts(
        text,
        [&](std::string_view part) {
            return parseWindDirection(entry::withoutUnitMark(part, "T"), direction);
        },
        [&](std::string_view part) { return parseWindSpeed(part, speed); });
}

bool FmsParser::parseSurfaceWind(std::string_view text, int32_t& direction, int32_t& speed) {
    return entry::parseTwoParts(
        text, [&](std::string_view part) { return parseWindDirection(part, direction); },
        [&](std::string_view part) { return parseSurfaceWindSpeed(part, speed); });
}

bool FmsParser::parseWeightPair(std::string_view text, int32_t& first, int32_t& second) {
    return entry::parseTwoParts(
        text, [&](std::string_view part) { return parseWeight(part, first); },
        [&](std::string_view part) { return parseWeight(part, second); });
}

bool FmsParser::parsePassengers(std::string_view text, int32_t& count, int32_t& weight) {
    return entry::parseTwoParts(
        text, [&](std::string_view part) { return parsePassengerCount(part, count); },
        [&](std::string_view part) { return parsePassengerWeight(part, weight); });
}

std::string FmsParser::monthName(int32_t month) {
    if (month < 0 || month > 12) {
        return {};
    }
    return kMonthNames[static_cast<std::size_t>(month)];
}

std::string FmsParser::formatElapsedTime(double seconds) {
    const double hours = std::floor(seconds / 3600.0);
    const double minutes = std::floor((seconds / 3600.0 - hours) * 60.0);
    return format("%02d+%02d", static_cast<int32_t>(hours), static_cast<int32_t>(minutes));
}

std::string FmsParser::formatClockTime(double seconds) {
    const auto timeOfDay = static_cast<int32_t>(std::fmod(seconds, 86400.0));
    return format("%02d%02d", timeOfDay / 3600, timeOfDay % 3600 / 60);
}

std::string FmsParser::formatTemperature(float celsius) {
    return format("%+1.0f\u00B0C", wholeDegrees(celsius));
}

std::string FmsParser::formatTemperatureCF(float celsius) {
    return format("%+1.0f\u00B0C/%+1.0f\u00B0F", wholeDegrees(celsius),
                  wholeDegrees(static_cast<double>(celsius) * 1.8 + 32.0));
}

std::string FmsParser::formatWindTrue(int32_t direction, int32_t speed) {
    return format("%03dT/%02d", direction, speed);
}

std::string FmsParser::formatWindMagnetic(int32_t direction, int32_t speed) {
    return format("%03d\u00B0/%02d", direction, speed);
}

int32_t FmsParser::weightInUnit(double pounds, bool kilograms) {
    return static_cast<int32_t>(inUnitWithoutDrift(pounds, kilograms));
}

std::string FmsParser::formatWeight(double pounds, bool kilograms, bool roundToTens) {
    double weight = inUnitWithoutDrift(pounds, kilograms);
    if (roundToTens) {
        weight = std::floor(weight * 0.1 + 0.5) * 10.0;
    }
    return format("%d", static_cast<int32_t>(weight));
}

std::string FmsParser::formatThousands(double pounds, bool kilograms) {
    return format("%3.1lf", toUnit(pounds, kilograms) / 1000.0);
}

std::string FmsParser::formatFuelMileage(double fuelFlow, double groundSpeed, bool kilograms) {
    const double flow = toUnit(fuelFlow, kilograms);
    const double range = flow <= 0.0 ? 0.0 : groundSpeed / flow;
    const std::string figure =
        range < 0.995 ? format(".%03.0lf", range * 1000.0) : format("%4.2lf", range);
    return figure + (kilograms ? "NM/KG" : "NM/LB");
}

std::string FmsParser::formatPassengers(int32_t count, double weight, bool kilograms) {
    return format("%d/%1.0lf", count, toUnit(weight, kilograms));
}

std::string FmsParser::formatBaroInches(float pressure) {
    return format("%-4.2f", static_cast<double>(pressure));
}

std::string FmsParser::formatBaroHpa(float pressure) {
    return format("%-4d", static_cast<int32_t>(pressure));
}

} // namespace tavi
