#include "cdu/FmsParser.h"
#include "fms/LegConstraints.h"

#include <gtest/gtest.h>

namespace tavi {
namespace {

TEST(FmsParserVertical, AltitudesAndFlightLevels) {
    const struct {
        const char* text;
        bool accepted;
        int32_t feet;
    } cases[] = {
        {"5000", true, 5000},   {"-1300", true, -1300}, {"60000", true, 60000},
        {"0500", true, 500},    {"FL0", true, 0},       {"FL5", true, 500},
        {"FL350", true, 35000}, {"FL600", true, 60000}, {"500", false, 0},
        {"60001", false, 0},    {"-1301", false, 0},    {"100000", false, 0},
        {"FL", false, 0},       {"FL601", false, 0},    {"FL35A", false, 0},
        {"FL-10", false, 0},    {"fl350", false, 0},
    };
    for (const auto& c : cases) {
        int32_t feet = -9;
        EXPECT_EQ(FmsParser::parseAltitude(c.text, feet), c.accepted) << c.text;
        EXPECT_EQ(feet, c.accepted ? c.feet : -9) << c.text;
    }
}

TEST(FmsParserVertical, AltitudeFormatFollowsTheTransitionAltitude) {
    int32_t transitionAltitude = 18000;
    const FmsParser parser(transitionAltitude);
    const struct {
        int32_t feet;
        const char* text;
    } cases[] = {
        {18000, "18000"}, {18001, "FL180"}, {18050, "FL181"}, {35049, "FL350"},
        {0, "0000"},      {-200, "-200"},   {500, "0500"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(parser.formatAltitude(c.feet), c.text) << c.feet;
    }
    // The parser reads the transition altitude at the time of formatting.
    transitionAltitude = 5000;
    EXPECT_EQ(parser.formatAltitude(9000), "FL090");
    EXPECT_EQ(parser.formatAltitudeConstraint(9000, kAltitudeAtOrAbove), "FL090A");
    EXPECT_EQ(parser.formatAltitudeConstraint(3000, kAltitudeAtOrBelow), "3000B");
    EXPECT_EQ(parser.formatAltitudeConstraint(3000, kAltitudeAt), "3000");
    EXPECT_EQ(parser.formatSpeedAltitude(250, 10000), "250/FL100");
}

TEST(FmsParserVertical, ConstraintsRoundTripThroughTheirText) {
    const int32_t transitionAltitude = 18000;
    const FmsParser parser(transitionAltitude);
    const struct {
        const char* text;
        bool accepted;
        int32_t feet;
        uint32_t kind;
    } cases[] = {
        {"10000A", true, 10000, kAltitudeAtOrAbove},
        {"FL100B", true, 10000, kAltitudeAtOrBelow},
        {"10000", true, 10000, kAltitudeAt},
        {"FL240A", true, 24000, kAltitudeAtOrAbove},
        {"500A", false, 0, 0},
        {"AB", false, 0, 0},
        {"10000C", false, 0, 0},
        {"10000AB", false, 0, 0},
    };
    for (const auto& c : cases) {
        int32_t feet = -9;
        uint32_t kind = 99;
        EXPECT_EQ(FmsParser::parseAltitudeConstraint(c.text, feet, kind), c.accepted) << c.text;
        if (!c.accepted) {
            EXPECT_EQ(kind, 99u) << c.text;
            continue;
        }
        EXPECT_EQ(feet, c.feet) << c.text;
        EXPECT_EQ(kind, c.kind) << c.text;
        int32_t again = 0;
        uint32_t againKind = 0;
        ASSERT_TRUE(FmsParser::parseAltitudeConstraint(parser.formatAltitudeConstraint(feet, kind),
                                                       again, againKind))
            << c.text;
        EXPECT_EQ(again, feet) << c.text;
        EXPECT_EQ(againKind, kind) << c.text;
    }
}

TEST(FmsParserVertical, WindowsSortTheirLimitsAndLeaveTheRecordWhenRefused) {
    for (const char* text : {"FL240AFL280B", "FL280AFL240B"}) {
        LegConstraints record;
        ASSERT_TRUE(FmsParser::parseAltitudeWindow(text, record)) << text;
        EXPECT_TRUE(record.hasAltitude);
        EXPECT_EQ(record.kind, kAltitudeWindow);
        EXPECT_EQ(record.altitude, 24000);
        EXPECT_EQ(record.altitude2, 28000);
    }
    for (const char* text : {"10000A", "FL280B", "FL240AFL280A", "FL240BFL280B", ""}) {
        LegConstraints record;
        record.altitude = 1;
        EXPECT_FALSE(FmsParser::parseAltitudeWindow(text, record)) << text;
        EXPECT_EQ(record.altitude, 1) << text;
        EXPECT_FALSE(record.hasAltitude) << text;
    }
}

TEST(FmsParserVertical, MachAnglesAndPhases) {
    const struct {
        const char* text;
        bool accepted;
        double mach;
    } machs[] = {
        {".7", true, 0.70},  {".78", true, 0.78}, {".3", true, 0.30},   {".95", true, 0.95},
        {".29", false, 0.0}, {".96", false, 0.0}, {"0.78", false, 0.0}, {".785", false, 0.0},
        {".", false, 0.0},   {".2", false, 0.0},  {".09", false, 0.0},  {".9", true, 0.90},
    };
    for (const auto& m : machs) {
        double mach = -1.0;
        EXPECT_EQ(FmsParser::parseMach(m.text, mach), m.accepted) << m.text;
        EXPECT_DOUBLE_EQ(mach, m.accepted ? m.mach : -1.0) << m.text;
        if (m.accepted) {
            double again = 0.0;
            ASSERT_TRUE(FmsParser::parseMach(FmsParser::formatMach(mach), again)) << m.text;
            EXPECT_DOUBLE_EQ(again, mach) << m.text;
        }
    }
    const struct {
        const char* text;
        bool accepted;
        double angle;
    } angles[] = {
        {"3", true, 3.0},       {"3.5", true, 3.5},
        {"6.0", true, 6.0},     {"1.0", true, 1.0},
        {"0", false, 0.0},      {"7", false, 0.0},
        {"6.5", false, 0.0},    {"3.", false, 0.0},
        {".5", false, 0.0},     {"0.9", false, 0.0},
        {"3.25", false, 0.0},   {"3.5\u00B0", true, 3.5},
        {"\u00B0", false, 0.0}, {"3.5\u00B0\u00B0", false, 0.0},
    };
    for (const auto& a : angles) {
        double angle = -1.0;
        EXPECT_EQ(FmsParser::parsePathAngle(a.text, angle), a.accepted) << a.text;
        EXPECT_DOUBLE_EQ(angle, a.accepted ? a.angle : -1.0) << a.text;
    }
    for (const auto& [text, phase] : {std::pair{"CLB", 1}, {"C", 1}, {"DES", 2}, {"D", 2}}) {
        int32_t parsed = 0;
        EXPECT_TRUE(FmsParser::parseClimbDescent(text, parsed)) << text;
        EXPECT_EQ(parsed, phase) << text;
    }
    EXPECT_EQ(FmsParser::formatClimbDescent(1), "CLB");
    EXPECT_EQ(FmsParser::formatClimbDescent(2), "DES");
    int32_t phase = 0;
    EXPECT_FALSE(FmsParser::parseClimbDescent("CL", phase));
    EXPECT_EQ(FmsParser::formatClimbDescent(0), "");
}

// One combined speed entry: which outputs it wrote.
struct SpeedEntry {
    const char* text;
    bool accepted;
    int32_t speed;
    double mach;
    double angle;
};

constexpr int32_t kNoSpeed = -1;
constexpr double kNoValue = -1.0;

TEST(FmsParserVertical, SpeedMachAndAngleEntriesWriteTheirAcceptedParts) {
    const SpeedEntry cases[] = {
        {"3", true, kNoSpeed, kNoValue, 3.0},
        {"250", true, 250, kNoValue, kNoValue},
        {".78", true, kNoSpeed, 0.78, kNoValue},
        {"250/.78", true, 250, 0.78, kNoValue},
        {"250/.78/3.0", true, 250, 0.78, 3.0},
        {"290/.74/3.5\u00B0", true, 290, 0.74, 3.5},
        {"//3.0", true, kNoSpeed, kNoValue, 3.0},
        {"/.78", true, kNoSpeed, 0.78, kNoValue},
        {"250//3.0", false, 250, kNoValue, kNoValue},
        {"250/.78/9", false, 250, 0.78, kNoValue},
        {"250/.78/3/1", false, kNoSpeed, kNoValue, kNoValue},
        {"500/.78", false, kNoSpeed, kNoValue, kNoValue},
    };
    for (const SpeedEntry& c : cases) {
        int32_t speed = kNoSpeed;
        double mach = kNoValue;
        double angle = kNoValue;
        EXPECT_EQ(FmsParser::parseSpeedMachAngle(c.text, speed, mach, angle), c.accepted) << c.text;
        EXPECT_EQ(speed, c.speed) << c.text;
        EXPECT_DOUBLE_EQ(mach, c.mach) << c.text;
        EXPECT_DOUBLE_EQ(angle, c.angle) << c.text;
    }
    int32_t speed = kNoSpeed;
    double mach = kNoValue;
    EXPECT_FALSE(FmsParser::parseSpeedMach("2", speed, mach));
    int32_t altitude = 0;
    EXPECT_TRUE(FmsParser::parseSpeedAltitude("250/FL100", speed, altitude));
    EXPECT_EQ(speed, 250);
    EXPECT_EQ(altitude, 10000);
    EXPECT_TRUE(FmsParser::parseSpeedAltitude("/5000", speed, altitude));
    EXPECT_EQ(altitude, 5000);
    EXPECT_FALSE(FmsParser::parseSpeedAltitude("", speed, altitude));
}

TEST(FmsParserVertical, SpeedsAndMachsFormatBackToTheirEntries) {
    EXPECT_EQ(FmsParser::formatSpeedMach(0, 0.0), "0");
    EXPECT_EQ(FmsParser::formatSpeedMach(250, 0.0), "250");
    EXPECT_EQ(FmsParser::formatSpeedMach(0, 0.78), ".78");
    EXPECT_EQ(FmsParser::formatSpeedMach(250, 0.78), "250/.78");
    EXPECT_EQ(FmsParser::formatSpeedMachAngle(250, 0.78, 3.0), "250/.78/3.0\u00B0");
    for (const auto& [speed, mach] : {std::pair{250, 0.78}, {75, 0.3}, {450, 0.95}}) {
        int32_t parsedSpeed = 0;
        double parsedMach = 0.0;
        ASSERT_TRUE(FmsParser::parseSpeedMach(FmsParser::formatSpeedMach(speed, mach), parsedSpeed,
                                              parsedMach));
        EXPECT_EQ(parsedSpeed, speed);
        EXPECT_DOUBLE_EQ(parsedMach, mach);
    }
}

// One speed, Mach or angle entry paired with a constraint, and the flags it set.
struct ConstraintCase {
    const char* text;
    bool accepted;
    bool firstFlag;
    bool constraintFlag;
    int32_t altitude;
    uint32_t kind;
};

TEST(FmsParserVertical, SpeedConstraintsSetOnlyTheFlagsOfTheirParts) {
    const ConstraintCase cases[] = {
        {"250/", true, true, false, 0, 0},
        {"/FL100A", true, false, true, 10000, kAltitudeAtOrAbove},
        {"250/FL100A", true, true, true, 10000, kAltitudeAtOrAbove},
        {"250", false, false, false, 0, 0},
        {"250/FL100/", false, false, false, 0, 0},
        {"500/FL100", false, false, false, 0, 0},
        {"/", false, false, false, 0, 0},
    };
    for (const ConstraintCase& c : cases) {
        int32_t speed = 0;
        int32_t altitude = 0;
        uint32_t kind = 0;
        bool hasSpeed = false;
        bool hasConstraint = false;
        EXPECT_EQ(
            FmsParser::parseSpeedConstraint(c.text, speed, altitude, kind, hasSpeed, hasConstraint),
            c.accepted)
            << c.text;
        EXPECT_EQ(hasSpeed, c.firstFlag) << c.text;
        EXPECT_EQ(hasConstraint, c.constraintFlag) << c.text;
        EXPECT_EQ(altitude, c.altitude) << c.text;
        EXPECT_EQ(kind, c.kind) << c.text;
        EXPECT_EQ(speed, c.firstFlag ? 250 : 0) << c.text;
    }
}

TEST(FmsParserVertical, MachAndAngleConstraints) {
    float mach = 0.0f;
    int32_t altitude = 0;
    uint32_t kind = 0;
    bool hasMach = false;
    bool hasConstraint = false;
    EXPECT_TRUE(
        FmsParser::parseMachConstraint(".78/FL310A", mach, altitude, kind, hasMach, hasConstraint));
    EXPECT_FLOAT_EQ(mach, 0.78f);
    EXPECT_EQ(altitude, 31000);
    EXPECT_TRUE(hasMach && hasConstraint);
    mach = 0.0f;
    hasMach = false;
    EXPECT_FALSE(
        FmsParser::parseMachConstraint(".80/X", mach, altitude, kind, hasMach, hasConstraint));
    EXPECT_EQ(mach, 0.0f) << "the Mach is kept only with the whole entry";
    EXPECT_FALSE(hasMach);

    double angle = 0.0;
    bool hasAngle = false;
    EXPECT_TRUE(FmsParser::parseAngleConstraint("3.0/5000B", angle, altitude, kind, hasAngle));
    EXPECT_DOUBLE_EQ(angle, 3.0);
    EXPECT_EQ(kind, kAltitudeAtOrBelow);
    EXPECT_TRUE(hasAngle);
    hasAngle = false;
    EXPECT_TRUE(FmsParser::parseAngleConstraint("/5000", angle, altitude, kind, hasAngle));
    EXPECT_FALSE(hasAngle);
    EXPECT_FALSE(FmsParser::parseAngleConstraint("3.0/", angle, altitude, kind, hasAngle));
}

} // namespace
} // namespace tavi
