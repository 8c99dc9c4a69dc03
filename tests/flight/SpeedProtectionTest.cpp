#include "avionics/Adc.h"
#include "avionics/Ahrs.h"
#include "support/FlightScenario.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdio>
#include <gtest/gtest.h>
#include <ostream>
#include <string>

namespace tavi::test {
namespace {

// The autopilot flies a vertical speed the thrust cannot hold, or one at which the thrust runs
// into the maximum operating speed, with the preselected altitude on either side, so that only
// the protection keeps the speed within its limits; the idle climbs go in and out of it three
// times.
struct ProtectedFlight {
    const char* name;
    double altitude;
    double speed;
    int32_t verticalSpeed;
    int32_t preselect;
    double thrustLever;
};

void PrintTo(const ProtectedFlight& flight, std::ostream* out) {
    *out << flight.name;
}

class SpeedProtectionTest : public testing::TestWithParam<ProtectedFlight> {
protected:
    void SetUp() override {
        const ProtectedFlight& row = GetParam();
        flight.startInFlight(47.0, 8.0, row.altitude, 90.0, row.speed);
        flight.pressAutopilotEngage();
        flight.setAltitudePreselect(row.preselect);
        flight.setThrustLevers(row.thrustLever);
        flight.fd().selectVerticalSpeedMode(true);
        flight.fd().setVerticalSpeedTarget(row.verticalSpeed);
        flight.fly(1.0);
        ASSERT_EQ(flight.fd().verticalMode(), FdVerticalMode::Vs);
    }

    FlightScenario flight;
};

TEST_P(SpeedProtectionTest, KeepsTheSpeedWithinItsLimits) {
    const Adc& adc = *flight.aircraft().adc();
    double lowest = flight.indicatedKnots();
    double highest = lowest;
    double secondsAboveVmo = 0.0;
    double wrongWay = 0.0;
    int overspeeds = 0;
    bool wasOverspeed = false;
    int episodes = 0;
    bool wasProtected = false;
    double largestCommandStep = 0.0;
    float lastCommand = flight.autopilot().pitchCommand;
    double last = flight.simulator().simulatorSeconds();
    flight.fly(90.0, [&] {
        const double now = flight.simulator().simulatorSeconds();
        const float cas = adc.indicatedAirspeed;
        const float pitch = flight.aircraft().ahrs()->unit1.pitch;
        const float command = flight.autopilot().pitchCommand;
        lowest = std::min(lowest, double{cas});
        highest = std::max(highest, double{cas});
        const bool overspeed = cas > adc.maxOperatingSpeed;
        if (overspeed) {
            secondsAboveVmo += now - last;
            // The nose must not go down into an overspeed (simulator sign: up is negative).
            wrongWay = std::max(wrongWay, double{command - pitch});
        }
        if (cas < 1.13f * adc.minimumSpeed && flight.fd().isSpeedProtectionActive()) {
            wrongWay = std::max(wrongWay, double{pitch - command});
        }
        overspeeds += overspeed && !wasOverspeed ? 1 : 0;
        wasOverspeed = overspeed;
        const bool protecting = flight.fd().isSpeedProtectionActive();
        episodes += protecting && !wasProtected ? 1 : 0;
        wasProtected = protecting;
        largestCommandStep = std::max(largestCommandStep, double{std::fabs(command - lastCommand)});
        lastCommand = command;
        last = now;
    });
    std::printf("%s: CAS %.1f..%.1f (Vmin %.1f, VMO %.1f), %d overspeeds, %.1f s above VMO, "
                "wrong way %.2f, %d protection episodes, pitch command step %.2f\n",
                GetParam().name, lowest, highest, adc.minimumSpeed, adc.maxOperatingSpeed,
                overspeeds, secondsAboveVmo, wrongWay, episodes, largestCommandStep);
    EXPECT_GE(episodes, 1);
    EXPECT_LT(largestCommandStep, 1.0)
        << "each episode starts and ends with the loops restarted from the present pitch";
    EXPECT_TRUE(flight.autopilot().engaged);
    EXPECT_GT(lowest, adc.minimumSpeed);
    EXPECT_EQ(overspeeds, 0);
    EXPECT_LT(wrongWay, 0.5) << "the protection moved the nose toward the limit";
}

INSTANTIATE_TEST_SUITE_P(
    Flights, SpeedProtectionTest,
    testing::Values(
        ProtectedFlight{"idle climb", 8000.0, 180.0, 3000, 15000, 28.5},
        ProtectedFlight{"idle climb, preselect below", 8000.0, 180.0, 3000, 3000, 28.5},
        ProtectedFlight{"full-thrust climb", 12000.0, 290.0, 300, 20000, 75.0},
        ProtectedFlight{"full-thrust climb, preselect below", 12000.0, 290.0, 300, 5000, 75.0},
        ProtectedFlight{"steep descent", 22000.0, 280.0, -6000, 30000, 28.5},
        ProtectedFlight{"steep descent, preselect below", 22000.0, 280.0, -6000, 5000, 28.5}),
    [](const testing::TestParamInfo<ProtectedFlight>& info) {
        std::string name = info.param.name;
        std::replace_if(
            name.begin(), name.end(), [](char c) { return !std::isalnum(c); }, '_');
        return name;
    });

} // namespace
} // namespace tavi::test
