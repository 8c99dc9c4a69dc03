#include "cdu/FmsParser.h"

#include <gtest/gtest.h>

namespace tavi {
namespace {

constexpr int64_t kDay = 86400;

TEST(FmsParserUnits, CycleDatesAreCalendarDaysWithoutTimeZone) {
    // 12 January 2008 is day 13890 since 1970.
    EXPECT_EQ(FmsParser::parseDate("12JAN08", false), 13890 * kDay);
    EXPECT_EQ(FmsParser::parseDate("12JAN08", true), 13890 * kDay + kDay - 1);
    EXPECT_EQ(FmsParser::parseDate("12XYZ08", false), 13890 * kDay);
    EXPECT_EQ(FmsParser::parseDate("01JAN80", false), 3652 * kDay);
    EXPECT_EQ(FmsParser::parseDate("2JAN08", false), 0);
    EXPECT_EQ(FmsParser::parseDate("01MAR00", false) - FmsParser::parseDate("28FEB00", false),
              2 * kDay)
        << "2000 is a leap year";
    EXPECT_EQ(FmsParser::parseDate("32JAN08", false), FmsParser::parseDate("01FEB08", false))
        << "days past the month's end run on";
    EXPECT_GT(FmsParser::parseDate("01DEC79", false), FmsParser::parseDate("01JAN79", false));
    EXPECT_GT(FmsParser::parseDate("01DEC79", false), FmsParser::parseDate("12JAN08", false))
        << "79 is 2079";
    EXPECT_LT(FmsParser::parseDate("01DEC80", false), 0 + 11 * 366 * kDay) << "80 is 1980";
    EXPECT_EQ(FmsParser::monthName(0), "");
    EXPECT_EQ(FmsParser::monthName(2), "FEB");
    EXPECT_EQ(FmsParser::monthName(12), "DEC");
    EXPECT_EQ(FmsParser::monthName(13), "");
}

TEST(FmsParserUnits, TemperaturesInCelsiusOrFahrenheit) {
    const struct {
        const char* text;
        bool accepted;
        float celsius;
    } cases[] = {
        {"-56", true, -56.0f},  {"0", true, 0.0f},      {"54", true, 54.0f},  {"-80", true, -80.0f},
        {"/-40", true, -40.0f}, {"/32", true, 0.0f},    {"-81", false, 0.0f}, {"55", false, 0.0f},
        {"/130", false, 0.0f},  {"/-100", false, 0.0f}, {"/", false, 0.0f},   {"", false, 0.0f},
        {"+5", false, 0.0f},
    };
    for (const auto& c : cases) {
        float celsius = 99.0f;
        EXPECT_EQ(FmsParser::parseTemperature(c.text, celsius), c.accepted) << c.text;
        EXPECT_NEAR(celsius, c.accepted ? c.celsius : 99.0f, 1e-4f) << c.text;
    }
    EXPECT_EQ(FmsParser::formatTemperature(-10.0f), "-10\u00B0C");
    EXPECT_EQ(FmsParser::formatTemperatureCF(-10.0f), "-10\u00B0C/+14\u00B0F");
    EXPECT_EQ(FmsParser::formatTemperatureCF(0.0f), "+0\u00B0C/+32\u00B0F");
}

// One two-part entry: the result and both outputs after it.
struct PairCase {
    bool (*parse)(std::string_view, int32_t&, int32_t&);
    const char* text;
    bool accepted;
    int32_t first;
    int32_t second;
};

constexpr int32_t kKept = -1;

TEST(FmsParserUnits, TwoPartEntriesWriteWhatTheyAccepted) {
    const PairCase cases[] = {
        {FmsParser::parseWind, "270/35", true, 270, 35},
        {FmsParser::parseWind, "270", true, 270, kKept},
        {FmsParser::parseWind, "/35", true, kKept, 35},
        {FmsParser::parseWind, "270T/45", true, 270, 45},
        {FmsParser::parseWind, "T/45", false, kKept, kKept},
        {FmsParser::parseWind, "270TT/45", false, kKept, kKept},
        {FmsParser::parseWind, "361/10", false, kKept, kKept},
        {FmsParser::parseWind, "270/251", false, 270, kKept},
        {FmsParser::parseWind, "", false, kKept, kKept},
        {FmsParser::parseSurfaceWind, "270/05", true, 270, 5},
        {FmsParser::parseSurfaceWind, "270/5", false, 270, kKept},
        {FmsParser::parseSurfaceWind, "270/57", false, 270, kKept},
        {FmsParser::parseWeightPair, "12000/3000", true, 12000, 3000},
        {FmsParser::parseWeightPair, "/3000", true, kKept, 3000},
        {FmsParser::parseWeightPair, "1/2/3", false, kKept, kKept},
        {FmsParser::parsePassengers, "8/170", true, 8, 170},
        {FmsParser::parsePassengers, "8/5", false, 8, kKept},
        {FmsParser::parsePassengers, "/301", false, kKept, kKept},
    };
    for (const PairCase& c : cases) {
        int32_t first = kKept;
        int32_t second = kKept;
        EXPECT_EQ(c.parse(c.text, first, second), c.accepted) << c.text;
        EXPECT_EQ(first, c.first) << c.text;
        EXPECT_EQ(second, c.second) << c.text;
    }
    int32_t direction = 0;
    int32_t speed = 0;
    ASSERT_TRUE(FmsParser::parseWind("005/08", direction, speed));
    EXPECT_EQ(FmsParser::formatWindTrue(direction, speed), "005T/08");
    EXPECT_EQ(FmsParser::formatWindMagnetic(270, 105), "270\u00B0/105");
}

TEST(FmsParserUnits, TimesWeightsAndFuel) {
    EXPECT_EQ(FmsParser::formatElapsedTime(5400.0), "01+30");
    EXPECT_EQ(FmsParser::formatElapsedTime(59.0), "00+00");
    EXPECT_EQ(FmsParser::formatElapsedTime(36000.0), "10+00");
    EXPECT_EQ(FmsParser::formatClockTime(86400.0 + 3723.0), "0102");
    const struct {
        double pounds;
        bool kilograms;
        bool roundToTens;
        const char* text;
    } weights[] = {
        {12345.0, false, false, "12345"},
        {12345.0, false, true, "12350"},
        {12345.0, true, false, "5599"},
        {12345.0, true, true, "5600"},
    };
    for (const auto& w : weights) {
        EXPECT_EQ(FmsParser::formatWeight(w.pounds, w.kilograms, w.roundToTens), w.text);
    }
    EXPECT_EQ(FmsParser::formatThousands(12345.0, false), "12.3");
    EXPECT_EQ(FmsParser::formatThousands(12345.0, true), "5.6");
    EXPECT_EQ(FmsParser::formatFuelMileage(2000.0, 430.0, false), ".215NM/LB");
    EXPECT_EQ(FmsParser::formatFuelMileage(2000.0, 2000.0, false), "1.00NM/LB");
    EXPECT_EQ(FmsParser::formatFuelMileage(0.0, 430.0, false), ".000NM/LB");
    EXPECT_EQ(FmsParser::formatFuelMileage(2000.0, 430.0, true), ".474NM/KG");
    EXPECT_EQ(FmsParser::formatPassengers(8, 170.0, false), "8/170");
    EXPECT_EQ(FmsParser::formatPassengers(8, 170.0, true), "8/77");
    EXPECT_EQ(FmsParser::formatBaroInches(29.92f), "29.92");
    EXPECT_EQ(FmsParser::formatBaroHpa(1013.9f), "1013");
    EXPECT_EQ(FmsParser::formatBaroHpa(998.0f), "998 ");
}

} // namespace
} // namespace tavi
