#include "avionics/Ahrs.h"
#include "support/FlightScenario.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <gtest/gtest.h>

namespace tavi::test {
namespace {

constexpr double kFieldElevation = 1410.0;
constexpr double kRotationSpeed = 135.0;
constexpr int32_t kPreselect = 6000;
constexpr double kTakeoffLeverAngle = 72.0;
constexpr double kClimbSpeed = 220.0;
constexpr double kClimbLeverAngle = 62.0;

// From ZZAA runway 09L with flaps 9: the flight director in TO/GA, the pilot rotating onto its
// pitch bar, gear up, and the autopilot engaged at 500 ft above the field.
void takeOffInToGa(FlightScenario& flight, int32_t preselect) {
    ASSERT_TRUE(flight.startOnRunway("ZZAA", "09L"));
    flight.pressKey(FlightScenario::kFlapsIncrementKey);
    flight.setAltitudePreselect(preselect);
    flight.setHeadingBug(90);
    flight.pressKey(FlightScenario::kFlightDirectorKey);
    flight.fly(0.5);
    flight.pressKey(FlightScenario::kToGaKey);
    flight.fly(1.0);
    ASSERT_EQ(flight.fd().verticalMode(), FdVerticalMode::Toga);
    if (flight.simulator().panel.token(323) != 0.0) {
        flight.pressKey(FlightScenario::kParkingBrakeKey);
    }
    flight.setThrustLevers(kTakeoffLeverAngle);

    const bool rotated =
        flight.flyUntil(90.0, [&] { return flight.indicatedKnots() >= kRotationSpeed; });
    ASSERT_TRUE(rotated) << flight.indicatedKnots();
    const bool airborne = flight.flyUntil(
        30.0, [&] { return flight.simulator().panel.token(60) == 0.0; },
        [&] { flight.followPitchBar(); });
    ASSERT_TRUE(airborne);
    const bool gearUpHeight = flight.flyUntil(
        30.0, [&] { return flight.altitudeFeet() > kFieldElevation + 100.0; },
        [&] { flight.followPitchBar(); });
    ASSERT_TRUE(gearUpHeight);
    flight.simulator().flight.setGearHandle(false);
    ASSERT_TRUE(flight.flyUntil(
        60.0, [&] { return flight.altitudeFeet() > kFieldElevation + 500.0; },
        [&] { flight.followPitchBar(); }));
    flight.simulator().pilotEvent("AXIS_ELEVATOR_SET", 0);
    flight.pressAutopilotEngage();
    flight.pressKey(FlightScenario::kHeadingModeKey);
    ASSERT_TRUE(flight.autopilot().engaged);
}

// The take-off, then flaps up at 1000 ft above the field and the climb in IAS to the preselected
// altitude, captured by ASEL.
TEST(TakeOffClimbTest, TakesOffInTogaAndCapturesThePreselectedAltitude) {
    FlightScenario flight;
    takeOffInToGa(flight, kPreselect);
    if (testing::Test::HasFatalFailure()) {
        return;
    }

    // Flaps up at 1000 ft above the field, the thrust levers back to hold the climb speed.
    double highest = 0.0;
    bool captured = false;
    double capturedAt = 0.0;
    const double end = flight.simulator().simulatorSeconds() + 400.0;
    bool flapsUp = false;
    while (flight.simulator().simulatorSeconds() < end) {
        if (!flapsUp && flight.altitudeFeet() > kFieldElevation + 1000.0) {
            // Flaps up and the climb in IAS at the climb speed, as the guidance panel's speed
            // knob and IAS button set it.
            flight.simulator().pilotKeyEvent(0x100DF);
            flight.fd().selectSpeedMode(true);
            flight.fly(0.2);
            flight.pressKey(FlightScenario::kSpeedTargetKey, static_cast<int32_t>(kClimbSpeed));
            flight.setThrustLevers(kClimbLeverAngle);
            flapsUp = true;
        }
        flight.fly(0.5, [&] {
            if (captured) {
                flight.holdSpeed(kClimbSpeed);
            }
        });
        highest = std::max(highest, flight.altitudeFeet());
        if (!captured && flight.fd().verticalMode() == FdVerticalMode::Alt) {
            captured = true;
            capturedAt = flight.simulator().simulatorSeconds();
        }
        if (captured && flight.simulator().simulatorSeconds() > capturedAt + 90.0) {
            break;
        }
    }
    ASSERT_TRUE(captured);
    // No oscillation: after the capture the altitude settles and stays.
    double settledLow = 1e9;
    double settledHigh = -1e9;
    flight.fly(60.0, [&] {
        flight.holdSpeed(kClimbSpeed);
        settledLow = std::min(settledLow, flight.altitudeFeet());
        settledHigh = std::max(settledHigh, flight.altitudeFeet());
    });
    std::printf("take-off climb: overshoot %.1f ft, settled %.1f..%.1f ft, captured at %.0f s\n",
                highest - kPreselect, settledLow - kPreselect, settledHigh - kPreselect,
                capturedAt);
    EXPECT_LT(highest - kPreselect, 100.0);
    EXPECT_LT(settledHigh - settledLow, 80.0);
    EXPECT_NEAR(flight.altitudeFeet(), kPreselect, 50.0);
    EXPECT_EQ(flight.fd().verticalMode(), FdVerticalMode::Alt);
}

// The take-off climb left in TO/GA at take-off thrust: the ASEL that TO/GA armed on the runway
// captures the preselected altitude, 2100 ft above the field, instead of the climb going through
// it, and the aircraft levels there while the thrust levers come back to the climb speed.
TEST(TakeOffClimbTest, ATakeOffLeftInToGaLevelsAtThePreselectedAltitude) {
    constexpr int32_t kLowPreselect = 3500;
    FlightScenario flight;
    takeOffInToGa(flight, kLowPreselect);
    if (testing::Test::HasFatalFailure()) {
        return;
    }
    double highest = 0.0;
    float captureVerticalSpeed = 0.0f;
    const bool captured = flight.flyUntil(
        300.0, [&] { return flight.fd().verticalMode() != FdVerticalMode::Toga; },
        [&] {
            highest = std::max(highest, flight.altitudeFeet());
            captureVerticalSpeed = flight.aircraft().ahrs()->unit1.verticalSpeed;
        });
    ASSERT_TRUE(captured) << "still in TO/GA at " << flight.altitudeFeet() << " ft";
    EXPECT_EQ(flight.fd().verticalMode(), FdVerticalMode::Asel);
    flight.fly(90.0, [&] {
        flight.holdSpeed(kClimbSpeed);
        highest = std::max(highest, flight.altitudeFeet());
    });
    std::printf("take-off left in TO/GA: captured climbing %.0f fpm, overshoot %.1f ft, %.1f ft "
                "off 90 s later\n",
                captureVerticalSpeed, highest - kLowPreselect,
                flight.altitudeFeet() - kLowPreselect);
    EXPECT_EQ(flight.fd().verticalMode(), FdVerticalMode::Alt);
    EXPECT_LT(highest - kLowPreselect, 400.0);
    EXPECT_NEAR(flight.altitudeFeet(), kLowPreselect, 50.0);
}

} // namespace
} // namespace tavi::test
