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
    // Once on, the protection holds until the selected vertical speed can be flown without
    // passing the limit: it does not switch on and off as the speed crosses it.
    int mostEpisodes;
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
    flight.fly(190.0, [&] {
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
    EXPECT_LE(episodes, GetParam().mostEpisodes);
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
        ProtectedFlight{"idle climb", 8000.0, 180.0, 3000, 15000, 28.5, 2},
        ProtectedFlight{"idle climb, preselect below", 8000.0, 180.0, 3000, 3000, 28.5, 2},
        ProtectedFlight{"full-thrust climb", 12000.0, 290.0, 300, 20000, 75.0, 2},
        ProtectedFlight{"full-thrust climb, preselect below", 12000.0, 290.0, 300, 5000, 75.0, 2},
        ProtectedFlight{"steep descent", 22000.0, 280.0, -6000, 30000, 28.5, 2},
        ProtectedFlight{"steep descent, preselect below", 22000.0, 280.0, -6000, 5000, 28.5, 2}),
    [](const testing::TestParamInfo<ProtectedFlight>& info) {
        std::string name = info.param.name;
        std::replace_if(
            name.begin(), name.end(), [](char c) { return !std::isalnum(c); }, '_');
        return name;
    });

// VS -5000 with the thrust up runs into VMO: the protection catches the speed within 5 kt of
// it, easing the descent as far as the thrust makes it, and gives the descent back once the crew
// brings the thrust to idle. High up, even at idle the aircraft cannot descend at 5000 fpm below
// VMO: the protection keeps the descent as steep as the speed allows until it can.
TEST(OverspeedInVerticalSpeedTest, CatchesTheSpeedAndGivesTheDescentBackAtIdle) {
    FlightScenario flight;
    flight.startInFlight(47.0, 8.0, 24000.0, 90.0, 280.0);
    flight.pressAutopilotEngage();
    flight.setAltitudePreselect(5000);
    flight.fd().selectVerticalSpeedMode(true);
    flight.fd().setVerticalSpeedTarget(-5000);
    flight.setThrustLevers(60.0);
    const Adc& adc = *flight.aircraft().adc();
    const Ahrs& ahrs = *flight.aircraft().ahrs();
    double mostAboveVmo = -1e9;
    const auto watchSpeed = [&] {
        mostAboveVmo =
            std::max(mostAboveVmo, double{adc.indicatedAirspeed - adc.maxOperatingSpeed});
    };
    flight.fly(60.0, watchSpeed);
    const bool protectedAtThrust = flight.fd().isSpeedProtectionActive();
    const float verticalSpeedAtThrust = ahrs.unit1.verticalSpeed;

    flight.setThrustLevers(28.5);
    const double idleAt = flight.simulator().simulatorSeconds();
    const bool descending = flight.flyUntil(
        60.0, [&] { return ahrs.unit1.verticalSpeed < -1000.0f; }, watchSpeed);
    const double descendingAfter = flight.simulator().simulatorSeconds() - idleAt;
    flight.flyUntil(
        300.0,
        [&] {
            return !flight.fd().isSpeedProtectionActive() &&
                   std::fabs(ahrs.unit1.verticalSpeed + 5000.0f) < 300.0f;
        },
        watchSpeed);
    const double resumedAfter = flight.simulator().simulatorSeconds() - idleAt;
    bool protectedAgain = false;
    flight.fly(30.0, [&] {
        watchSpeed();
        protectedAgain |= flight.fd().isSpeedProtectionActive();
    });
    std::printf("VS -5000 at high thrust: at most %+.1f kt over VMO, %.0f fpm with the protection "
                "%s; at idle descending again after %.1f s, the selected -5000 fpm flown again "
                "after %.1f s, %s after that\n",
                mostAboveVmo, verticalSpeedAtThrust, protectedAtThrust ? "on" : "off",
                descendingAfter, resumedAfter, protectedAgain ? "protected again" : "unprotected");
    EXPECT_LT(mostAboveVmo, 5.0);
    EXPECT_TRUE(protectedAtThrust);
    EXPECT_TRUE(descending);
    EXPECT_LT(descendingAfter, 60.0);
    EXPECT_EQ(flight.fd().verticalMode(), FdVerticalMode::Vs);
}

} // namespace
} // namespace tavi::test
