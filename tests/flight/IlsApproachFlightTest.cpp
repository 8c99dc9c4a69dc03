#include "support/IlsApproach.h"

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

class IlsApproachFlightTest : public testing::Test {
protected:
    void SetUp() override {
        approach.setUp();
        ASSERT_EQ(flight.fd().armedLateralMode, FdLateralMode::Loc);
        ASSERT_EQ(flight.fd().armedVerticalMode, FdVerticalMode::Gs);
    }

    RadioUnit& nav() { return approach.nav(); }
    double height() { return approach.height(); }

    FlightScenario flight;
    IlsApproach approach{flight};
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
            approach.fly();
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
