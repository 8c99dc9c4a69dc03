#include "avionics/Ahrs.h"
#include "support/FlightScenario.h"

#include <cstdio>
#include <gtest/gtest.h>

namespace tavi::test {
namespace {

// At 9000 ft with the flight directors on in PIT, the pilot presses TO/GA, pushes the thrust
// levers up and follows the pitch bar: the flight director goes around, 12 degrees nose up and
// then on the go-around speed, and the aircraft climbs.
TEST(GoAroundFlightTest, ToGaHighAboveTheGroundSelectsGoAround) {
    FlightScenario flight;
    flight.startInFlight(47.0, 8.0, 9000.0, 90.0, 220.0);
    flight.pressKey(FlightScenario::kFlightDirectorKey);
    flight.fly(1.0);
    ASSERT_TRUE(flight.fd().isDirectorOn(1));
    ASSERT_EQ(flight.fd().verticalMode(), FdVerticalMode::Pit);
    const double startAltitude = flight.altitudeFeet();

    flight.pressKey(FlightScenario::kToGaKey);
    flight.setThrustLevers(75.0);
    flight.fly(10.0, [&] { flight.followPitchBar(); });
    const FdVerticalMode mode = flight.fd().verticalMode();
    const float pitchBar = flight.fd().pitchCommandBar();
    flight.fly(50.0, [&] { flight.followPitchBar(); });
    std::printf("TO/GA at %.0f ft: vertical mode %d, lateral %d, speed target %.0f kt, pitch bar "
                "%.1f after 10 s; 60 s later %.0f ft higher at %.0f kt\n",
                startAltitude, static_cast<int>(mode), static_cast<int>(flight.fd().lateralMode()),
                flight.fd().iasTarget(), -pitchBar, flight.altitudeFeet() - startAltitude,
                flight.indicatedKnots());
    EXPECT_EQ(mode, FdVerticalMode::Toga);
    EXPECT_FALSE(flight.fd().isTakeoffMode()) << "a go-around, not a take-off";
    EXPECT_EQ(flight.fd().lateralMode(), FdLateralMode::TogaRol);
    EXPECT_FLOAT_EQ(flight.fd().iasTarget(), 170.0f);
    EXPECT_NEAR(pitchBar, -12.0f, 0.5f);
    EXPECT_GT(flight.altitudeFeet(), startAltitude + 1000.0);
}

} // namespace
} // namespace tavi::test
