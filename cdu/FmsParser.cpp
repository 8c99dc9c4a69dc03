#include "cdu/FmsParser.h"

#include "cdu/EntryText.h"
#include "core/Format.h"
#include "fms/LegConstraints.h"

#include <algorithm>
#include <cctype>

namespace tavi {

namespace {

// The length and value limits of one bounded whole number.
struct WholeNumberLimits {
    bool isSigned;
    std::size_t minLength;
    std::size_t maxLength;
    int32_t lowest;
    int32_t highest;
};

constexpr std::size_t kAnyLength = 8;

bool parseWholeNumber(std::string_view text, const WholeNumberLimits& limits, int32_t& value) {
    int32_t parsed = 0;
    const bool read = limits.isSigned ? FmsParser::parseSignedInteger(text, parsed)
                                      : FmsParser::parseUnsignedInteger(text, parsed);
    if (!read || text.size() < limits.minLength || text.size() > limits.maxLength ||
        parsed < limits.lowest || parsed > limits.highest) {
        return false;
    }
    value = parsed;
    return true;
}

bool isNameCharacter(char c) {
    return std::isalnum(static_cast<unsigned char>(c)) != 0 || c == '-';
}

// 1 to maxLength letters, digits or "-", the first not "-".
bool isName(std::string_view text, std::size_t minLength, std::size_t maxLength) {
    return text.size() >= minLength && text.size() <= maxLength && text.front() != '-' &&
           std::all_of(text.begin(), text.end(), isNameCharacter);
}

} // namespace

bool FmsParser::parseUnsignedInteger(std::string_view text, int32_t& value) {
    if (text.empty() || text.size() > kAnyLength || !entry::allDigits(text)) {
        return false;
    }
    value = entry::decimalOf(text);
    return true;
}

bool FmsParser::parseSignedInteger(std::string_view text, int32_t& value) {
    if (text.empty() || text.size() > kAnyLength) {
        return false;
    }
    const bool negative = text.front() == '-';
    const std::string_view digits = negative ? text.substr(1) : text;
    if (digits.empty() || !entry::allDigits(digits)) {
        return false;
    }
    value = negative ? -entry::decimalOf(digits) : entry::decimalOf(digits);
    return true;
}

bool FmsParser::parseDecimal(std::string_view text, double& value) {
    if (!entry::isDecimalText(text, true)) {
        return false;
    }
    const double parsed = entry::decimalValue(text);
    if (parsed > 9999.9) {
        return false;
    }
    value = parsed;
    return true;
}

bool FmsParser::parseSignedDecimal(std::string_view text, double& value, double lower,
                                   double upper) {
    if (text.empty() || text.size() > kAnyLength) {
        return false;
    }
    const bool negative = text.front() == '-';
    const std::string_view number = negative || text.front() == '+' ? text.substr(1) : text;
    if (!entry::isDecimalText(number, false)) {
        return false;
    }
    const double parsed = negative ? -entry::decimalValue(number) : entry::decimalValue(number);
    if (parsed < lower || parsed > upper) {
        return false;
    }
    value = parsed;
    return true;
}

bool FmsParser::parseIntegerTo60000(std::string_view text, int32_t& value) {
    return parseWholeNumber(text, {false, 1, 5, 0, 60000}, value);
}

bool FmsParser::parseIntegerTo600(std::string_view text, int32_t& value) {
    return parseWholeNumber(text, {false, 1, 3, 0, 600}, value);
}

bool FmsParser::parseWeight(std::string_view text, int32_t& value) {
    return parseWholeNumber(text, {false, 1, 6, 0, 999999}, value);
}

bool FmsParser::parseAltitudeFeet(std::string_view text, int32_t& value) {
    return parseWholeNumber(text, {true, 4, 5, -1300, 60000}, value);
}

bool FmsParser::parseIsaDeviation(std::string_view text, int32_t& value) {
    return parseWholeNumber(text, {true, 1, 3, -59, 35}, value);
}

bool FmsParser::parseWindDirection(std::string_view text, int32_t& value) {
    return parseWholeNumber(text, {false, 1, 3, 0, 360}, value);
}

bool FmsParser::parseWindSpeed(std::string_view text, int32_t& value) {
    return parseWholeNumber(text, {false, 1, 3, 0, 250}, value);
}

bool FmsParser::parseSurfaceWindSpeed(std::string_view text, int32_t& value) {
    return parseWholeNumber(text, {false, 2, kAnyLength, 0, 56}, value);
}

bool FmsParser::parsePassengerCount(std::string_view text, int32_t& value) {
    return parseWholeNumber(text, {false, 1, 3, 0, 999}, value);
}

bool FmsParser::parsePassengerWeight(std::string_view text, int32_t& value) {
    return parseWholeNumber(text, {false, 2, 3, 0, 300}, value);
}

bool FmsParser::parseBankAngle(std::string_view text, int32_t& value) {
    return parseWholeNumber(text, {false, 1, kAnyLength, 0, 15}, value);
}

bool FmsParser::parseGroundSpeed(std::string_view text, int32_t& value) {
    return parseWholeNumber(text, {false, 1, kAnyLength, 75, 750}, value);
}

bool FmsParser::parseSpeed(std::string_view text, int32_t& value) {
    return parseWholeNumber(text, {false, 1, kAnyLength, 75, 450}, value);
}

bool FmsParser::isValidIdent(std::string_view text) {
    return isName(text, 1, 5);
}

bool FmsParser::isTemporaryIdent(std::string_view text) {
    if (text.size() < 2 || text.size() > 6) {
        return false;
    }
    const char first = text.front();
    return (first == '*' || first == '#' || first == '&') && isValidIdent(text.substr(1));
}

bool FmsParser::isValidPlanName(std::string_view text) {
    return isName(text, 6, 10);
}

bool FmsParser::isValidAirwayIdent(std::string_view text) {
    return !text.empty() && text.size() <= 6 && std::all_of(text.begin(), text.end(), [](char c) {
        return std::isalnum(static_cast<unsigned char>(c)) != 0;
    });
}

bool FmsParser::parseIdentPair(std::string_view text, std::string& origin,
                               std::string& destination) {
    if (isValidIdent(text)) {
        origin = text;
        destination.clear();
        return true;
    }
    if (text.empty() || text.size() > 11 || std::count(text.begin(), text.end(), '/') != 1) {
        return false;
    }
    const std::size_t slash = text.find('/');
    origin = text.substr(0, slash);
    destination = text.substr(slash + 1);
    return !origin.empty() && !destination.empty();
}

bool FmsParser::parseAirwayFix(std::string_view text, std::string& airway, std::string& fix) {
    if (text.empty() || text.size() > 12 || std::count(text.begin(), text.end(), '.') != 1) {
        return false;
    }
    const std::size_t dot = text.find('.');
    airway = text.substr(0, dot);
    fix = text.substr(dot + 1);
    return isValidAirwayIdent(airway) && isValidIdent(fix);
}

std::string FmsParser::trimLeft(std::string_view text) {
    const auto first = std::find_if(text.begin(), text.end(), [](char c) {
        return std::isspace(static_cast<unsigned char>(c)) == 0;
    });
    return std::string(first, text.end());
}

std::string FmsParser::formatInteger(int32_t value) {
    return format("%d", value);
}

std::string FmsParser::formatFourDigits(int32_t value) {
    return format("%04d", value);
}

std::string FmsParser::formatOneDecimal(double value) {
    return format("%3.1lf", value);
}

std::string FmsParser::formatNoDecimals(double value) {
    return format("%1.0lf", value);
}

} // namespace tavi
