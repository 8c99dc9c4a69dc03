#include "avionics/Radio.h"
#include "support/FlightScenario.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <gtest/gtest.h>
#include <optional>

namespace tavi::test {
namespace {

// NAV CDI and NAV GSI per dot of the deviation scales.
constexpr double kCdiPerDot = 127.0 / 2.0;
constexpr double kGsiPerDot = 120.0 * 0.3 / 0.7;
// One needle from its mode's capture on: the largest deviation in the window, and how far it
// swung past the centre, away from the side it was captured on, before the window.
class NeedleRecord {
public:
    void add(double dots, bool inWindow) {
        if (!captureSide) {
            captureSide = dots < 0.0 ? -1.0 : 1.0;
        }
        if (inWindow) {
            largestInWindow = std::max(largestInWindow, std::fabs(dots));
        } else {
            reversal = std::max(reversal, -*captureSide * dots);
        }
    }

    double largestInWindow = 0.0;
    double reversal = 0.0;

private:
    std::optional<double> captureSide;
};

// The ILS IAAL of ZZAA runway 09L (110.30 MHz, course 090 true): from 11 nm out at 2000 ft
// above the runway, configured for the approach, a 30-degree intercept in HDG under ALT with the
// autopilot engaged, then APPR.
class IlsApproachFlightTest : public testing::Test {
protected:
    static constexpr double kRunwayElevation = 1405.0;
    static constexpr double kApproachSpeed = 160.0;
    static constexpr double kRegionVariation = 1.5;

    void SetUp() override {
        flight.startInFlight(46.96, 7.62, kRunwayElevation + 2000.0, 60.0, kApproachSpeed);
        flight.simulator().flight.setGearHandle(true);
        flight.pressKey(FlightScenario::kFlapsIncrementKey);
        flight.pressKey(FlightScenario::kFlapsIncrementKey);
        nav().setNavActive(0x01103000);
        nav().setCourse(static_cast<int>(90.0 - kRegionVariation));
        flight.pressAutopilotEngage();
        flight.pressKey(FlightScenario::kAltitudeHoldKey);
        flight.setHeadingBug(static_cast<int32_t>(60.0 - kRegionVariation));
        flight.pressKey(FlightScenario::kHeadingModeKey);
        flight.fly(60.0, [this] { flight.holdSpeed(kApproachSpeed); });
        flight.fd().pressApproach();
        flight.fly(0.5);
        ASSERT_EQ(flight.fd().armedLateralMode, FdLateralMode::Loc);
        ASSERT_EQ(flight.fd().armedVerticalMode, FdVerticalMode::Gs);
    }

    RadioUnit& nav() { return flight.aircraft().radio()->unit1; }
    double height() { return flight.altitudeFeet() - kRunwayElevation; }

    FlightScenario flight;
};

TEST_F(IlsApproachFlightTest, CapturesBothBeamsAndStaysWithinHalfADotDownTo200Ft) {
    NeedleRecord localizer;
    NeedleRecord glideSlope;
    bool localizerCaptured = false;
    bool glideSlopeCaptured = false;
    bool lostMode = false;
    const bool reached200 = flight.flyUntil(
        600.0, [this] { return height() < 200.0; },
        [&] {
            flight.holdSpeed(kApproachSpeed);
            const bool inWindow = height() <= 1500.0;
            if (localizerCaptured || flight.fd().lateralMode == FdLateralMode::Loc) {
                localizerCaptured = true;
                lostMode |= flight.fd().lateralMode != FdLateralMode::Loc;
                localizer.add(nav().cdiDeviation / kCdiPerDot, inWindow);
            }
            if (glideSlopeCaptured || flight.fd().verticalMode == FdVerticalMode::Gs) {
                glideSlopeCaptured = true;
                lostMode |= flight.fd().verticalMode != FdVerticalMode::Gs;
                glideSlope.add(nav().gsi / kGsiPerDot, inWindow);
            }
        });
    std::printf(
        "ILS approach: max deviation 1500..200 ft localizer %.3f dot, glide slope %.3f dot; "
        "reversal after the capture localizer %.3f dot, glide slope %.3f dot\n",
        localizer.largestInWindow, glideSlope.largestInWindow, localizer.reversal,
        glideSlope.reversal);
    ASSERT_TRUE(reached200) << height();
    EXPECT_TRUE(localizerCaptured);
    EXPECT_TRUE(glideSlopeCaptured);
    EXPECT_FALSE(lostMode);
    EXPECT_LT(localizer.largestInWindow, 0.5);
    EXPECT_LT(glideSlope.largestInWindow, 0.5);
    EXPECT_LT(localizer.reversal, 0.25);
    EXPECT_LT(glideSlope.reversal, 0.25);
    EXPECT_TRUE(flight.autopilot().engaged);
}

} // namespace
} // namespace tavi::test
