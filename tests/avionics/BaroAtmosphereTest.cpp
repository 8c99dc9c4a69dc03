// The standard atmosphere of the barometric unit against tabulated values.
#include "avionics/Baro.h"

#include <gtest/gtest.h>

namespace tavi::test {
namespace {

TEST(BaroAtmosphereTest, PressuresMatchTheStandardAtmosphere) {
    const Baro baro;
    // psi of the standard atmosphere at 0, 10000, 30000 and 45000 ft.
    const std::pair<double, double> table[] = {
        {0.0, 14.696}, {10000.0, 10.108}, {30000.0, 4.364}, {45000.0, 2.139}};
    for (const auto& [feet, psi] : table) {
        SCOPED_TRACE(feet);
        EXPECT_NEAR(baro.pressureAtAltitude(feet), psi, 0.005);
        EXPECT_NEAR(baro.altitudeAtPressure(baro.pressureAtAltitude(feet)), feet, 0.01);
    }
}

TEST(BaroAtmosphereTest, TheTropopauseBelongsToTheUpperBranch) {
    const Baro baro;
    EXPECT_DOUBLE_EQ(baro.pressureAtAltitude(36089.24), baro.tropopausePressure);
    EXPECT_NEAR(baro.altitudeAtPressure(baro.tropopausePressure), 36089.237, 0.001);
    EXPECT_GT(baro.altitudeAtPressure(baro.tropopausePressure - 1e-9), 36089.24);
}

TEST(BaroAtmosphereTest, OffsetsAndDifferencesAreInPsi) {
    const Baro baro;
    const double tenThousand = baro.pressureAtAltitude(10000.0);
    EXPECT_NEAR(baro.altitudeWithPressureOffset(0.0, tenThousand - baro.seaLevelPressure), 10000.0,
                0.01);
    EXPECT_NEAR(baro.pressureDifference(0.0, 10000.0), baro.seaLevelPressure - tenThousand, 1e-12);
    EXPECT_LT(baro.altitudeWithPressureOffset(5000.0, 0.2), 5000.0) << "more pressure is lower";
}

} // namespace
} // namespace tavi::test
