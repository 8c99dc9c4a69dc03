#include "airframe/Mechanisation.h"
#include "avionics/Ahrs.h"
#include "support/FlightScenario.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <gtest/gtest.h>

namespace tavi::test {
namespace {

// The pilot pulls the nose up at idle thrust until the stick pusher fires, then takes the
// hands off. Each push ends with its condition and lets go of the elevator: hands off, the
// aircraft comes out of the dive and flies on, where a push that held the elevator dived it to
// the ground.
TEST(StickPusherFlightTest, ThePushEndsAndTheAircraftFliesAgain) {
    FlightScenario flight;
    flight.startInFlight(47.0, 8.0, 9000.0, 90.0, 200.0);
    flight.setThrustLevers(28.5);
    const Autopilot& autopilot = flight.autopilot();
    const Ahrs& ahrs = *flight.aircraft().ahrs();
    const Mechanisation& controls = *flight.aircraft().mechanisation();
    ASSERT_TRUE(flight.flyUntil(
        180.0, [&] { return autopilot.pusherActive; }, [&] { flight.holdPitch(-30.0); }));
    const double pushAltitude = flight.altitudeFeet();

    double steepestDescent = 0.0;
    double lowest = pushAltitude;
    double pushSeconds = 0.0;
    int pushes = 0;
    bool wasPushing = false;
    double last = flight.simulator().simulatorSeconds();
    flight.fly(90.0, [&] {
        const double now = flight.simulator().simulatorSeconds();
        steepestDescent = std::min(steepestDescent, double{ahrs.unit1.verticalSpeed});
        lowest = std::min(lowest, flight.altitudeFeet());
        if (wasPushing) {
            pushSeconds += now - last;
        }
        last = now;
        pushes += autopilot.pusherActive && !wasPushing ? 1 : 0;
        wasPushing = autopilot.pusherActive;
    });
    std::printf("Stick pusher at %.0f ft: %d push(es), %.1f s pushing, elevator %d after; "
                "steepest descent %.0f fpm, lowest %.0f ft; hands off 90 s later %.0f ft\n",
                pushAltitude, pushes, pushSeconds, controls.elevatorPosition, steepestDescent,
                lowest, flight.altitudeFeet());
    EXPECT_FALSE(autopilot.pusherActive);
    EXPECT_LT(std::abs(controls.elevatorPosition), 2000) << "the elevator back from full push";
    EXPECT_GT(steepestDescent, -25000.0);
    EXPECT_GT(lowest, pushAltitude - 5000.0);
}

} // namespace
} // namespace tavi::test
