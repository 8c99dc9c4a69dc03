#include "avionics/Adc.h"
#include "avionics/Ahrs.h"
#include "support/FlightScenario.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <gtest/gtest.h>

namespace tavi::test {
namespace {

constexpr double kLevelChangeStart = 200.0;
constexpr int32_t kLevelChangeTarget = 208;

// A climb in IAS begun 8 kt below its target at climb thrust: the level-change law captures the
// speed once and flies it to the target, instead of capturing and letting go in one frame and
// restarting its controller every frame.
TEST(LevelChangeFlightTest, AClimbBelowItsSpeedReachesItAndHoldsIt) {
    FlightScenario flight;
    flight.startInFlight(47.0, 8.0, 8000.0, 90.0, kLevelChangeStart);
    flight.pressAutopilotEngage();
    flight.setAltitudePreselect(15000);
    flight.setThrustLevers(62.0);
    flight.fly(0.5);
    flight.fd().selectSpeedMode(true);
    flight.fly(0.5);
    flight.pressKey(FlightScenario::kSpeedTargetKey, kLevelChangeTarget);
    flight.fly(0.5);
    ASSERT_EQ(flight.fd().verticalMode(), FdVerticalMode::Speed);
    ASSERT_EQ(flight.fd().iasTarget(), kLevelChangeTarget);

    const Adc& adc = *flight.aircraft().adc();
    flight.fly(60.0);
    const double afterAMinute = adc.indicatedAirspeed;
    double lowest = afterAMinute;
    double highest = afterAMinute;
    double lowestClimb = 1e9;
    flight.fly(60.0, [&] {
        lowest = std::min(lowest, double{adc.indicatedAirspeed});
        highest = std::max(highest, double{adc.indicatedAirspeed});
        lowestClimb = std::min(lowestClimb, double{flight.aircraft().ahrs()->unit1.verticalSpeed});
    });
    std::printf("level change: CAS %.1f kt after 60 s (target %d, start %.0f), %.1f..%.1f kt in "
                "the next minute, climbing at least %.0f fpm\n",
                afterAMinute, kLevelChangeTarget, kLevelChangeStart, lowest, highest, lowestClimb);
    EXPECT_NEAR(afterAMinute, kLevelChangeTarget, 2.0);
    EXPECT_GT(lowest, kLevelChangeTarget - 2.0);
    EXPECT_LT(highest, kLevelChangeTarget + 2.0);
    EXPECT_GT(lowestClimb, 0.0) << "the climb goes on";
    EXPECT_EQ(flight.fd().verticalMode(), FdVerticalMode::Speed);
}

} // namespace
} // namespace tavi::test
