#include "cdu/FmsParser.h"

#include <gtest/gtest.h>

namespace tavi {
namespace {

constexpr double kUnset = 999.0;

TEST(FmsParserLateral, LatitudesAndLongitudesInEveryShortForm) {
    const struct {
        bool (*parse)(std::string_view, double&);
        const char* text;
        bool accepted;
        double degrees;
    } cases[] = {
        {FmsParser::parseLatitude, "N45", true, 45.0},
        {FmsParser::parseLatitude, "N4530", true, 45.5},
        {FmsParser::parseLatitude, "S4530.6", true, -(45.0 + 30.6 / 60.0)},
        {FmsParser::parseLatitude, "N45306", true, 45.0 + 30.6 / 60.0},
        {FmsParser::parseLatitude, "N9000", true, 90.0},
        {FmsParser::parseLatitude, "N4560.0", false, 0},
        {FmsParser::parseLatitude, "N9100", false, 0},
        {FmsParser::parseLatitude, "N451", false, 0},
        {FmsParser::parseLatitude, "N4530.", false, 0},
        {FmsParser::parseLatitude, "X4530", false, 0},
        {FmsParser::parseLatitude, "N45.30", false, 0},
        {FmsParser::parseLatitude, "", false, 0},
        {FmsParser::parseLongitude, "W12245", true, -(122.0 + 45.0 / 60.0)},
        {FmsParser::parseLongitude, "E12345.6", true, 123.0 + 45.6 / 60.0},
        {FmsParser::parseLongitude, "E123456", true, 123.0 + 45.6 / 60.0},
        {FmsParser::parseLongitude, "W122", true, -122.0},
        {FmsParser::parseLongitude, "E1800000", false, 0},
        {FmsParser::parseLongitude, "W18100", false, 0},
        {FmsParser::parseLongitude, "W1224", false, 0},
    };
    for (const auto& c : cases) {
        double value = kUnset;
        EXPECT_EQ(c.parse(c.text, value), c.accepted) << c.text;
        EXPECT_DOUBLE_EQ(value, c.accepted ? c.degrees : kUnset) << c.text;
    }
    double latitude = kUnset;
    double longitude = kUnset;
    EXPECT_TRUE(FmsParser::parseLatLon("N4530.0W12245.5", latitude, longitude));
    EXPECT_DOUBLE_EQ(latitude, 45.5);
    EXPECT_DOUBLE_EQ(longitude, -(122.0 + 45.5 / 60.0));
    latitude = kUnset;
    longitude = kUnset;
    EXPECT_FALSE(FmsParser::parseLatLon("N4530.0", latitude, longitude));
    EXPECT_DOUBLE_EQ(latitude, 45.5) << "the latitude part was accepted";
    EXPECT_DOUBLE_EQ(longitude, kUnset);
    EXPECT_FALSE(FmsParser::parseLatLon("E12245N4530", latitude, longitude));
}

TEST(FmsParserLateral, CoordinateFormatsCarryTheRoundedTenth) {
    const struct {
        double degrees;
        bool isLatitude;
        const char* text;
        const char* compact;
    } cases[] = {
        {45.9999, true, "N46\u00B000.0", "N4600.0"},
        {-0.5, true, "S00\u00B030.0", "S0030.0"},
        {0.0, true, "N00\u00B000.0", "N0000.0"},
        {179.9999, false, "E180\u00B000.0", "E18000.0"},
        {-(122.0 + 45.5 / 60.0), false, "W122\u00B045.5", "W12245.5"},
    };
    for (const auto& c : cases) {
        if (c.isLatitude) {
            EXPECT_EQ(FmsParser::formatLatitude(c.degrees), c.text);
            EXPECT_EQ(FmsParser::formatLatitudeCompact(c.degrees), c.compact);
        } else {
            EXPECT_EQ(FmsParser::formatLongitude(c.degrees), c.text);
            EXPECT_EQ(FmsParser::formatLongitudeCompact(c.degrees), c.compact);
        }
    }
    EXPECT_EQ(FmsParser::formatLatLon(45.5, -122.5), "N45\u00B030.0 W122\u00B030.0");
    EXPECT_EQ(FmsParser::formatLatLonCompact(45.5, -122.5), "N4530.0W12230.0");
}

TEST(FmsParserLateral, CompactPositionsReadBackToTheSameTenth) {
    for (const auto& [latitude, longitude] : {std::pair{45.5, -122.75},
                                              {-33.9461, 151.1772},
                                              {0.0, 0.0},
                                              {89.99, -179.99},
                                              {51.4775, -0.4614}}) {
        double lat = kUnset;
        double lon = kUnset;
        const std::string text = FmsParser::formatLatLonCompact(latitude, longitude);
        ASSERT_TRUE(FmsParser::parseLatLon(text, lat, lon)) << text;
        EXPECT_NEAR(lat, latitude, 0.05 / 60.0 + 1e-9) << text;
        EXPECT_NEAR(lon, longitude, 0.05 / 60.0 + 1e-9) << text;
        EXPECT_EQ(FmsParser::formatLatLonCompact(lat, lon), text);
    }
}

TEST(FmsParserLateral, CoursesAndTheirNorthThresholds) {
    const struct {
        const char* text;
        bool accepted;
        double course;
        bool isTrue;
    } cases[] = {
        {"360", true, 360.0, false}, {"0", true, 0.0, false},    {"45.5", true, 45.5, false},
        {"270T", true, 270.0, true}, {"360.1", false, 0, false}, {"45.55", false, 0, false},
        {"T", false, 0, true},       {"-10", false, 0, false},   {"45.55T", false, 0, true},
    };
    for (const auto& c : cases) {
        double course = kUnset;
        bool isTrue = false;
        EXPECT_EQ(FmsParser::parseCourse(c.text, course, isTrue), c.accepted) << c.text;
        EXPECT_DOUBLE_EQ(course, c.accepted ? c.course : kUnset) << c.text;
        EXPECT_EQ(isTrue, c.isTrue) << c.text;
    }
    const struct {
        double course;
        bool isTrue;
        const char* whole;
        const char* tenths;
    } formats[] = {
        {359.6, false, "360\u00B0", "360.0\u00B0"},
        {0.2, false, "360\u00B0", "360.0\u00B0"},
        {0.3, false, "360\u00B0", "360.0\u00B0"},
        {0.6, false, "001\u00B0", "000.6\u00B0"},
        {-90.0, false, "270\u00B0", "270.0\u00B0"},
        {270.0, true, "270T", "270.0T"},
        {45.25, true, "045T", "045.2T"},
        {720.0, false, "360\u00B0", "360.0\u00B0"},
    };
    for (const auto& f : formats) {
        EXPECT_EQ(FmsParser::formatCourse(f.course, f.isTrue), f.whole) << f.course;
        EXPECT_EQ(FmsParser::formatCourseTenths(f.course, f.isTrue), f.tenths) << f.course;
    }
}

TEST(FmsParserLateral, DistancesAndVariation) {
    EXPECT_EQ(FmsParser::formatDistance(12.34), "12.3");
    EXPECT_EQ(FmsParser::formatDistance(99.94), "99.9");
    EXPECT_EQ(FmsParser::formatDistance(99.95), "100");
    EXPECT_EQ(FmsParser::formatLongDistance(999.94), "999.9");
    EXPECT_EQ(FmsParser::formatLongDistance(1234.0), "1234");
    EXPECT_EQ(FmsParser::formatVariation(12.04), "12\u00B0E");
    EXPECT_EQ(FmsParser::formatVariation(-3.5), "3.5\u00B0W");
    EXPECT_EQ(FmsParser::formatVariation(0.0), "0\u00B0E");
    EXPECT_EQ(FmsParser::formatPlaceBearingDistance("ABC", 90.0, true, 10.0), "ABC/90.0T/10.0");
    EXPECT_EQ(FmsParser::formatPlaceBearingDistance("ABC", 5.0, false, 2.5), "ABC/5.0/2.5");
}

TEST(FmsParserLateral, PlaceDefinitionsSkipEmptyPieces) {
    for (const char* text : {"ABC/12.5", "/ABC/12.5", "ABC//12.5", "ABC/12.5/X"}) {
        std::string place;
        double distance = kUnset;
        EXPECT_TRUE(FmsParser::parsePlaceDistance(text, place, distance)) << text;
        EXPECT_EQ(place, "ABC") << text;
        EXPECT_DOUBLE_EQ(distance, 12.5) << text;
    }
    std::string place = "old";
    double distance = kUnset;
    EXPECT_FALSE(FmsParser::parsePlaceDistance("ABC", place, distance));
    EXPECT_EQ(place, "old");
    EXPECT_TRUE(FmsParser::parsePlaceDistance("*PD01/-20", place, distance));
    EXPECT_DOUBLE_EQ(distance, -20.0);
    EXPECT_FALSE(FmsParser::parsePlaceDistance("-AB/5", place, distance));
    EXPECT_EQ(place, "-AB") << "the place is written before it is checked";

    double bearing = kUnset;
    bool bearingTrue = false;
    EXPECT_TRUE(
        FmsParser::parsePlaceBearingDistance("ABC/090T/10", place, bearing, bearingTrue, distance));
    EXPECT_DOUBLE_EQ(bearing, 90.0);
    EXPECT_TRUE(bearingTrue);
    EXPECT_DOUBLE_EQ(distance, 10.0);
    EXPECT_FALSE(
        FmsParser::parsePlaceBearingDistance("ABC/090/-5", place, bearing, bearingTrue, distance));

    WaypointDefinition definition;
    EXPECT_TRUE(FmsParser::parsePilotWaypointDefinition("ABC/090/10/5", definition));
    EXPECT_EQ(definition.place1, "ABC");
    EXPECT_DOUBLE_EQ(definition.bearing1, 90.0);
    EXPECT_EQ(definition.place2, "10");
    EXPECT_DOUBLE_EQ(definition.bearing2, 5.0);
    WaypointDefinition pbd;
    EXPECT_TRUE(FmsParser::parsePilotWaypointDefinition("XYZ/180T/25.5", pbd));
    EXPECT_EQ(pbd.place1, "XYZ");
    EXPECT_TRUE(pbd.bearing1True);
    EXPECT_DOUBLE_EQ(pbd.distance, 25.5);
    for (const char* refused : {"ABC/10", "A/1/B/2/C", "ABC"}) {
        WaypointDefinition untouched;
        EXPECT_FALSE(FmsParser::parsePilotWaypointDefinition(refused, untouched)) << refused;
    }
}

TEST(FmsParserLateral, HoldAndTurnEntries) {
    const std::pair<const char*, int32_t> quadrants[] = {
        {"N", 180}, {"NE", 225}, {"E", 270}, {"SE", 315},
        {"S", 0},   {"SW", 45},  {"W", 90},  {"NW", 135},
    };
    for (const auto& [name, inbound] : quadrants) {
        int32_t course = -1;
        EXPECT_TRUE(FmsParser::parseHoldQuadrant(name, course)) << name;
        EXPECT_EQ(course, inbound) << name;
    }
    int32_t course = -1;
    EXPECT_FALSE(FmsParser::parseHoldQuadrant("NNE", course));

    const struct {
        const char* text;
        bool accepted;
        int32_t course;
        bool right;
    } holds[] = {
        {"270/L", true, 270, false}, {"/R", true, -1, true},   {"090", true, 90, true},
        {"400/L", false, -1, false}, {"361", false, -1, true}, {"270/L/R", false, -1, true},
        {"270/X", false, -1, true},  {"/", false, -1, true},
    };
    for (const auto& h : holds) {
        int32_t inbound = -1;
        bool right = true;
        EXPECT_EQ(FmsParser::parseHoldCourse(h.text, inbound, right), h.accepted) << h.text;
        EXPECT_EQ(inbound, h.course) << h.text;
        EXPECT_EQ(right, h.right) << h.text;
    }
    const struct {
        const char* text;
        bool accepted;
        int32_t angle;
    } turns[] = {{"L20", true, 20}, {"R90", true, 90}, {"L19", false, 0},
                 {"R5", false, 0},  {"X45", false, 0}, {"R91", false, 0}};
    for (const auto& t : turns) {
        int32_t angle = 0;
        bool right = false;
        EXPECT_EQ(FmsParser::parseTurnAngle(t.text, angle, right), t.accepted) << t.text;
        EXPECT_EQ(angle, t.angle) << t.text;
        if (t.accepted) {
            EXPECT_EQ(FmsParser::formatTurnAngle(angle, right).substr(0, 1),
                      t.text[0] == 'R' ? "R" : "L");
        }
    }
    EXPECT_EQ(FmsParser::formatTurnAngle(45, true), "R\u00B045");
    EXPECT_EQ(FmsParser::formatTurnDirection(false), "L");
}

TEST(FmsParserLateral, PatternDistancesAndTimesKeepTheirRanges) {
    const struct {
        bool (*parse)(std::string_view, double&);
        const char* text;
        bool accepted;
    } cases[] = {
        {FmsParser::parseRadialDistance, "1.0", true},
        {FmsParser::parseRadialDistance, "999.9", true},
        {FmsParser::parseRadialDistance, "0.9", false},
        {FmsParser::parseRadialDistance, "1000", false},
        {FmsParser::parseOrbitRadius, "99.9", true},
        {FmsParser::parseOrbitRadius, "100", false},
        {FmsParser::parseHoldLegDistance, "20", true},
        {FmsParser::parseHoldLegDistance, "20.1", false},
        {FmsParser::parseHoldLegTime, ".5", true},
        {FmsParser::parseHoldLegTime, "0.4", false},
        {FmsParser::parseHoldLegTime, "3.0", true},
        {FmsParser::parseHoldLegTime, "3.1", false},
    };
    for (const auto& c : cases) {
        double value = kUnset;
        EXPECT_EQ(c.parse(c.text, value), c.accepted) << c.text;
        EXPECT_EQ(value != kUnset, c.accepted) << c.text;
    }
}

} // namespace
} // namespace tavi
