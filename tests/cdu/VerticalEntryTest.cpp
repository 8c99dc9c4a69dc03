#include "cdu/pages/VerticalEntry.h"

#include "fms/LegConstraints.h"

#include <gtest/gtest.h>
#include <string>

namespace tavi {
namespace {

// A leg in the second half of a ten-leg plan, or in its first half.
constexpr VerticalEntryLeg kLateLeg{8, 10, false, 3.0};
constexpr VerticalEntryLeg kEarlyLeg{2, 10, false, 3.0};

TEST(VerticalEntry, EachFormSetsItsFieldsAndThePhase) {
    const struct {
        const char* entry;
        VerticalEntryLeg leg;
        int32_t speed;
        float mach;
        int32_t altitude;
        uint32_t kind;
        float angle;
        bool angleEntered;
        uint32_t phase;
    } cases[] = {
        {"3.0/12000", kEarlyLeg, 0, 0.0f, 12000, kAltitudeAt, 3.0f, true, kPhaseDescent},
        {"/FL240A", kEarlyLeg, 0, 0.0f, 24000, kAltitudeAtOrAbove, 3.0f, false, kPhaseClimb},
        {"/FL240A", kLateLeg, 0, 0.0f, 24000, kAltitudeAtOrAbove, 3.0f, false, kPhaseDescent},
        {"250/FL100B", kLateLeg, 250, 0.0f, 10000, kAltitudeAtOrBelow, 3.0f, false, kPhaseDescent},
        {"250/", kEarlyLeg, 250, 0.0f, 0, 0, 0.0f, false, kPhaseNone},
        {".78/FL300", kEarlyLeg, 0, 0.78f, 30000, kAltitudeAt, 3.0f, false, kPhaseClimb},
        {"8000", kEarlyLeg, 0, 0.0f, 8000, kAltitudeAt, 3.0f, false, kPhaseClimb},
        {"250/.78", kEarlyLeg, 250, 0.78f, 0, 0, 0.0f, false, kPhaseNone},
        {"280", kEarlyLeg, 280, 0.0f, 0, 0, 0.0f, false, kPhaseNone},
    };
    for (const auto& c : cases) {
        LegConstraints k;
        ASSERT_TRUE(applyVerticalEntry(c.entry, k, c.leg)) << c.entry;
        EXPECT_EQ(k.speed, c.speed) << c.entry;
        EXPECT_FLOAT_EQ(k.mach, c.mach) << c.entry;
        EXPECT_EQ(k.altitude, c.altitude) << c.entry;
        EXPECT_EQ(k.kind, c.kind) << c.entry;
        EXPECT_FLOAT_EQ(k.pathAngle, c.angle) << c.entry;
        EXPECT_EQ(k.pathAngleEntered, c.angleEntered) << c.entry;
        EXPECT_EQ(k.phase, c.phase) << c.entry;
    }
}

TEST(VerticalEntry, AngleAndPhaseNeedAnAltitudeAndRefusalsChangeNothing) {
    LegConstraints k;
    for (const char* refused : {"CLB", "3.5", "FL240X", "250/FL100/", "500/FL100", "ABC", ""}) {
        EXPECT_FALSE(applyVerticalEntry(refused, k, kLateLeg)) << refused;
        EXPECT_EQ(k.altitude, 0) << refused;
        EXPECT_FALSE(k.hasAltitude) << refused;
        EXPECT_EQ(k.speed, 0) << refused;
    }
    ASSERT_TRUE(applyVerticalEntry("FL200", k, kLateLeg));
    ASSERT_TRUE(applyVerticalEntry("3.5", k, kLateLeg));
    EXPECT_FLOAT_EQ(k.pathAngle, 3.5f);
    EXPECT_TRUE(k.pathAngleEntered);
    ASSERT_TRUE(applyVerticalEntry("CLB", k, kLateLeg));
    EXPECT_EQ(k.phase, kPhaseClimb);
    const VerticalEntryLeg missed{8, 10, true, 3.0};
    LegConstraints climb;
    ASSERT_TRUE(applyVerticalEntry("5000", climb, missed));
    EXPECT_EQ(climb.phase, kPhaseClimb) << "a missed approach climbs";
}

} // namespace
} // namespace tavi
