// The air-data conversions, the engines' thrust-lever law and the reference speeds, checked
// against the standard atmosphere and against each other.
#include "avionics/AirData.h"

#include "avionics/Adc.h"

#include <algorithm>
#include <cmath>
#include <gtest/gtest.h>

namespace tavi {
namespace {

// Calibrated airspeed of Mach 0.78 from the ICAO standard atmosphere with both layers.
TEST(AirDataTest, CalibratedAirspeedOfAMachNumberFollowsTheStandardAtmosphere) {
    const struct {
        double feet, cas;
    } cases[] = {{0.0, 515.95},     {10000.0, 436.92}, {30000.0, 295.59},
                 {41000.0, 230.05}, {45000.0, 209.50}, {-2000.0, 515.95}};
    for (const auto& row : cases) {
        EXPECT_NEAR(casFromMachAtAltitude(0.78, row.feet), row.cas, 0.05) << row.feet;
    }
}

TEST(AirDataTest, MachFromCasInvertsCasFromMachInBothLayers) {
    for (double feet : {0.0, 15000.0, 36089.24, 41000.0, 45000.0}) {
        for (double mach : {0.2, 0.55, 0.78, 0.9}) {
            const double cas = casFromMachAtAltitude(mach, feet);
            EXPECT_NEAR(Adc::machFromCasAtAltitude(cas, feet), mach, 1e-9)
                << mach << " at " << feet;
        }
    }
    EXPECT_DOUBLE_EQ(Adc::machFromCasAtAltitude(250.0, -500.0),
                     Adc::machFromCasAtAltitude(250.0, 0.0));
}

TEST(AirDataTest, TrueAirspeedAndIsaTemperature) {
    EXPECT_NEAR(trueAirspeedFromMach(1.0, 15.0), 661.48, 0.01) << "speed of sound at 15 C";
    EXPECT_NEAR(trueAirspeedFromMach(0.78, -56.5), 447.4, 0.1);
    const struct {
        float feet, isa, clamped;
    } cases[] = {{-1000.0f, 16.9812f, 15.0f},  {0.0f, 15.0f, 15.0f},
                 {10000.0f, -4.812f, -4.812f}, {36089.24f, -56.5f, -56.5f},
                 {36090.0f, -56.5f, -56.5f},   {45000.0f, -56.5f, -56.5f}};
    for (const auto& row : cases) {
        EXPECT_NEAR(isaTemperature(row.feet), row.isa, 0.001f) << row.feet;
        EXPECT_NEAR(isaTemperatureClamped(row.feet), row.clamped, 0.001f) << row.feet;
    }
}

TEST(AirDataTest, GroundSpeedAddsTheWindAlongTheCourse) {
    const double tas = trueAirspeedFromMach(Adc::machFromCasAtAltitude(200.0, 0.0), 15.0);
    EXPECT_NEAR(tas, 200.0, 0.01) << "CAS is TAS at sea level in the standard atmosphere";
    const struct {
        double course, windDirection, expected;
    } cases[] = {{90.0, 90.0, 180.0},  // headwind
                 {90.0, 270.0, 220.0}, // tailwind
                 {90.0, 0.0, 200.0},   // crosswind
                 {350.0, 50.0, 190.0}, // 60 degrees off the nose, across north
                 {10.0, 190.0, 220.0}};
    for (const auto& row : cases) {
        EXPECT_NEAR(
            Adc::groundSpeedFromCas(200.0, -100.0, 15.0, row.course, row.windDirection, 20.0),
            row.expected, 0.01)
            << row.course << " " << row.windDirection;
    }
}

struct EngineConditions {
    float mach;
    float inversePressureRatio;
    float totalAirTemperature;
};

class ThrustLeverLawTest : public testing::TestWithParam<EngineConditions> {
protected:
    ThrustLeverLawTest() {
        adc.mach = GetParam().mach;
        adc.inversePressureRatio = GetParam().inversePressureRatio;
        adc.totalAirTemperature = GetParam().totalAirTemperature;
    }

    Adc adc;
};

TEST_P(ThrustLeverLawTest, TheLeverForAnN1GivesThatN1Back) {
    double previous = -1.0;
    for (double lever : {0.0, 0.1, 0.25, 0.5, 0.75, 0.9, 1.0}) {
        const double n1 = adc.n1ForThrottle(lever);
        EXPECT_GT(n1, previous) << "more lever, more N1";
        previous = n1;
        EXPECT_NEAR(adc.throttleForN1(n1, false), lever, 1e-9) << lever;
        EXPECT_NEAR(adc.throttleForN1(n1, true), lever / -1.6, 1e-9) << lever;
    }
}

TEST_P(ThrustLeverLawTest, AReverseLeverActsOnePointSixTimesAsFar) {
    EXPECT_DOUBLE_EQ(adc.n1ForThrottle(-0.5), adc.n1ForThrottle(0.8));
    EXPECT_DOUBLE_EQ(adc.n1ForThrottle(-1.0), adc.n1ForThrottle(1.0)) << "full reverse";
    EXPECT_DOUBLE_EQ(adc.n1ForThrottle(1.5), adc.n1ForThrottle(1.0));
}

TEST_P(ThrustLeverLawTest, AnN1OutsideTheLeverRangeGivesTheNearestEnd) {
    EXPECT_DOUBLE_EQ(adc.throttleForN1(0.0, false), 0.0) << "below idle";
    EXPECT_DOUBLE_EQ(adc.throttleForN1(150.0, false), 1.0) << "above the table";
    EXPECT_DOUBLE_EQ(adc.throttleForN1(150.0, true), -0.625);
}

INSTANTIATE_TEST_SUITE_P(Conditions, ThrustLeverLawTest,
                         testing::Values(EngineConditions{0.0f, 1.0f, 15.0f},
                                         EngineConditions{0.45f, 3.0f, -20.0f},
                                         EngineConditions{0.78f, 4.5f, -30.0f},
                                         EngineConditions{0.95f, 30.0f, 40.0f}));

TEST(ThrustLeverLawTest, IdleAndFullThrustAtSeaLevel) {
    Adc adc;
    adc.totalAirTemperature = 15.0f;
    // Idle is lever index 65.5, a tenth of the way from 23.5 to 33 % corrected N1.
    EXPECT_NEAR(adc.n1ForThrottle(0.0), 24.45, 1e-9);
    EXPECT_NEAR(adc.n1ForThrottle(1.0), 115.0, 1e-9);
    adc.totalAirTemperature = 40.0f;
    EXPECT_NEAR(adc.n1ForThrottle(1.0), 115.0 * std::sqrt(313.15 / 288.15), 1e-9)
        << "physical N1 rises with the temperature";
}

TEST(SpeedBugTest, SelectingASpeedBugDeselectsTheOthersAndTogglesItself) {
    const struct {
        int selectedBefore;
        int index;
        int returned;
        int selectedAfter;
    } cases[] = {{0, 2, 0, 2}, {2, 3, 2, 3}, {3, 3, 3, 0}, {1, 0, 1, 0},
                 {0, 4, 0, 4}, {2, 5, 2, 0}, {2, -1, 2, 0}};
    for (const auto& row : cases) {
        Adc adc;
        adc.referenceSpeedStates = {1, 1, 1, 0};
        if (row.selectedBefore != 0) {
            adc.referenceSpeedStates[row.selectedBefore - 1] = 2;
        }
        EXPECT_EQ(adc.selectSpeedBug(row.index), row.returned) << row.index;
        EXPECT_EQ(adc.selectedSpeedBug(), row.selectedAfter) << row.index;
        EXPECT_EQ(std::count(adc.referenceSpeedStates.begin(), adc.referenceSpeedStates.end(), 2),
                  row.selectedAfter != 0 ? 1 : 0);
    }
}

TEST(SpeedBugTest, ReferenceSpeedsAreHeldBetween89And200) {
    Adc adc;
    adc.referenceSpeeds = {40, 89, 150, 260};
    adc.clampSpeedBugs();
    EXPECT_EQ(adc.referenceSpeeds, (std::array<int32_t, 4>{89, 89, 150, 200}));
}

} // namespace
} // namespace tavi
