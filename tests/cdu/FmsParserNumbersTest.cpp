#include "cdu/FmsParser.h"

#include <gtest/gtest.h>

namespace tavi {
namespace {

using WholeParse = bool (*)(std::string_view, int32_t&);

// One entry for a whole-number syntax; a refused entry must leave the output as it was.
struct WholeEntry {
    const char* name;
    WholeParse parse;
    const char* text;
    bool accepted;
    int32_t value;
};

constexpr int32_t kUntouched = -77777;

TEST(FmsParserNumbers, WholeNumbersKeepTheirLengthAndRange) {
    const WholeEntry entries[] = {
        {"unsigned", FmsParser::parseUnsignedInteger, "0", true, 0},
        {"unsigned", FmsParser::parseUnsignedInteger, "12345678", true, 12345678},
        {"unsigned", FmsParser::parseUnsignedInteger, "123456789", false, 0},
        {"unsigned", FmsParser::parseUnsignedInteger, "-0", false, 0},
        {"unsigned", FmsParser::parseUnsignedInteger, "+5", false, 0},
        {"unsigned", FmsParser::parseUnsignedInteger, "", false, 0},
        {"unsigned", FmsParser::parseUnsignedInteger, "1 2", false, 0},
        {"signed", FmsParser::parseSignedInteger, "-0", true, 0},
        {"signed", FmsParser::parseSignedInteger, "-1234567", true, -1234567},
        {"signed", FmsParser::parseSignedInteger, "-", false, 0},
        {"signed", FmsParser::parseSignedInteger, "+5", false, 0},
        {"signed", FmsParser::parseSignedInteger, "5-", false, 0},
        {"signed", FmsParser::parseSignedInteger, "--5", false, 0},
        {"to 60000", FmsParser::parseIntegerTo60000, "60000", true, 60000},
        {"to 60000", FmsParser::parseIntegerTo60000, "60001", false, 0},
        {"to 60000", FmsParser::parseIntegerTo60000, "000100", false, 0},
        {"to 600", FmsParser::parseIntegerTo600, "600", true, 600},
        {"to 600", FmsParser::parseIntegerTo600, "601", false, 0},
        {"to 600", FmsParser::parseIntegerTo600, "0045", false, 0},
        {"weight", FmsParser::parseWeight, "999999", true, 999999},
        {"weight", FmsParser::parseWeight, "1000000", false, 0},
        {"altitude", FmsParser::parseAltitudeFeet, "0500", true, 500},
        {"altitude", FmsParser::parseAltitudeFeet, "-500", true, -500},
        {"altitude", FmsParser::parseAltitudeFeet, "-1300", true, -1300},
        {"altitude", FmsParser::parseAltitudeFeet, "-1301", false, 0},
        {"altitude", FmsParser::parseAltitudeFeet, "500", false, 0},
        {"altitude", FmsParser::parseAltitudeFeet, "100000", false, 0},
        {"isa", FmsParser::parseIsaDeviation, "-59", true, -59},
        {"isa", FmsParser::parseIsaDeviation, "35", true, 35},
        {"isa", FmsParser::parseIsaDeviation, "36", false, 0},
        {"isa", FmsParser::parseIsaDeviation, "-60", false, 0},
        {"wind direction", FmsParser::parseWindDirection, "360", true, 360},
        {"wind direction", FmsParser::parseWindDirection, "361", false, 0},
        {"wind speed", FmsParser::parseWindSpeed, "250", true, 250},
        {"wind speed", FmsParser::parseWindSpeed, "251", false, 0},
        {"surface wind", FmsParser::parseSurfaceWindSpeed, "05", true, 5},
        {"surface wind", FmsParser::parseSurfaceWindSpeed, "5", false, 0},
        {"surface wind", FmsParser::parseSurfaceWindSpeed, "56", true, 56},
        {"surface wind", FmsParser::parseSurfaceWindSpeed, "57", false, 0},
        {"passengers", FmsParser::parsePassengerCount, "999", true, 999},
        {"passengers", FmsParser::parsePassengerCount, "1000", false, 0},
        {"passenger weight", FmsParser::parsePassengerWeight, "300", true, 300},
        {"passenger weight", FmsParser::parsePassengerWeight, "301", false, 0},
        {"passenger weight", FmsParser::parsePassengerWeight, "9", false, 0},
        {"bank", FmsParser::parseBankAngle, "15", true, 15},
        {"bank", FmsParser::parseBankAngle, "16", false, 0},
        {"ground speed", FmsParser::parseGroundSpeed, "75", true, 75},
        {"ground speed", FmsParser::parseGroundSpeed, "750", true, 750},
        {"ground speed", FmsParser::parseGroundSpeed, "751", false, 0},
        {"speed", FmsParser::parseSpeed, "75", true, 75},
        {"speed", FmsParser::parseSpeed, "450", true, 450},
        {"speed", FmsParser::parseSpeed, "74", false, 0},
        {"speed", FmsParser::parseSpeed, "451", false, 0},
    };
    for (const WholeEntry& e : entries) {
        int32_t value = kUntouched;
        EXPECT_EQ(e.parse(e.text, value), e.accepted) << e.name << " '" << e.text << "'";
        EXPECT_EQ(value, e.accepted ? e.value : kUntouched) << e.name << " '" << e.text << "'";
    }
}

TEST(FmsParserNumbers, DecimalsTakeOneDecimalAndSignedOnesTheCallersBounds) {
    const struct {
        const char* text;
        bool accepted;
        double value;
    } decimals[] = {
        {"12", true, 12.0}, {"12.5", true, 12.5}, {".5", true, 0.5},   {"9999.9", true, 9999.9},
        {"12.", false, 0},  {"12.55", false, 0},  {"1.2.3", false, 0}, {"10000.0", false, 0},
        {".", false, 0},    {"-1", false, 0},     {"", false, 0},
    };
    for (const auto& d : decimals) {
        double value = -1.0;
        EXPECT_EQ(FmsParser::parseDecimal(d.text, value), d.accepted) << d.text;
        EXPECT_DOUBLE_EQ(value, d.accepted ? d.value : -1.0) << d.text;
    }
    double value = 0.0;
    EXPECT_TRUE(FmsParser::parseSignedDecimal("-12.345", value, -100.0, 100.0));
    EXPECT_DOUBLE_EQ(value, -12.345);
    EXPECT_TRUE(FmsParser::parseSignedDecimal("+7.5", value, -100.0, 100.0));
    EXPECT_DOUBLE_EQ(value, 7.5);
    for (const char* refused : {"-12.34567", "-100.1", "1.2.3", "-", "+", "--1", "1-", ""}) {
        value = 42.0;
        EXPECT_FALSE(FmsParser::parseSignedDecimal(refused, value, -100.0, 100.0)) << refused;
        EXPECT_EQ(value, 42.0) << refused;
    }
}

TEST(FmsParserNumbers, IdentifierAndNameSyntaxes) {
    const struct {
        bool (*check)(std::string_view);
        const char* text;
        bool valid;
    } cases[] = {
        {FmsParser::isValidPlanName, "ABCDE", false},
        {FmsParser::isValidPlanName, "ABCD-EFGH", true},
        {FmsParser::isValidPlanName, "KAAAKBBB01", true},
        {FmsParser::isValidPlanName, "KAAAKBBB012", false},
        {FmsParser::isValidPlanName, "-ABCDEF", false},
        {FmsParser::isValidPlanName, "ABC/DEF", false},
        {FmsParser::isValidAirwayIdent, "J12", true},
        {FmsParser::isValidAirwayIdent, "UL9ABC", true},
        {FmsParser::isValidAirwayIdent, "UL9ABCD", false},
        {FmsParser::isValidAirwayIdent, "UL-9", false},
        {FmsParser::isValidAirwayIdent, "", false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(c.check(c.text), c.valid) << c.text;
    }
}

TEST(FmsParserNumbers, IdentPairsWriteBothPartsOnceTheShapeFits) {
    const struct {
        const char* text;
        bool accepted;
        const char* origin;
        const char* destination;
    } cases[] = {
        {"ABCD/EFGH", true, "ABCD", "EFGH"},
        {"ABCD", true, "ABCD", ""},
        {"ABCD/", false, "ABCD", ""},
        {"/EFGH", false, "", "EFGH"},
        {"ABCD/EFGH/X", false, "old", "old"},
        {"ABCDEF/GHIJKL", false, "old", "old"},
        {"", false, "old", "old"},
    };
    for (const auto& c : cases) {
        std::string origin = "old";
        std::string destination = "old";
        EXPECT_EQ(FmsParser::parseIdentPair(c.text, origin, destination), c.accepted) << c.text;
        EXPECT_EQ(origin, c.origin) << c.text;
        EXPECT_EQ(destination, c.destination) << c.text;
    }
}

TEST(FmsParserNumbers, AirwayFixEntries) {
    const struct {
        const char* text;
        bool accepted;
        const char* airway;
        const char* fix;
    } cases[] = {
        {"J12.ABCDE", true, "J12", "ABCDE"},    {"J12ABC.X1234", true, "J12ABC", "X1234"},
        {"J12ABC.X12345", false, "old", "old"}, {"J12..ABC", false, "old", "old"},
        {"UL-9.ABC", false, "UL-9", "ABC"},     {"J12.", false, "J12", ""},
        {"J12ABC", false, "old", "old"},
    };
    for (const auto& c : cases) {
        std::string airway = "old";
        std::string fix = "old";
        EXPECT_EQ(FmsParser::parseAirwayFix(c.text, airway, fix), c.accepted) << c.text;
        EXPECT_EQ(airway, c.airway) << c.text;
        EXPECT_EQ(fix, c.fix) << c.text;
    }
}

TEST(FmsParserNumbers, PlainNumberFormats) {
    EXPECT_EQ(FmsParser::trimLeft("  \tABC "), "ABC ");
    EXPECT_EQ(FmsParser::trimLeft("ABC"), "ABC");
    EXPECT_EQ(FmsParser::trimLeft("   "), "");
    EXPECT_EQ(FmsParser::formatInteger(-42), "-42");
    EXPECT_EQ(FmsParser::formatFourDigits(350), "0350");
    EXPECT_EQ(FmsParser::formatOneDecimal(12.34), "12.3");
    EXPECT_EQ(FmsParser::formatNoDecimals(12.7), "13");
}

} // namespace
} // namespace tavi
