#include "cdu/pages/CduPageIds.h"
#include "fms/Fms.h"
#include "navdata/GcNav.h"
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
        ASSERT_EQ(flight.fd().armedLateralMode(), FdLateralMode::Loc);
        ASSERT_EQ(flight.fd().armedVerticalMode(), FdVerticalMode::Gs);
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
            if (localizerCaptured || flight.fd().lateralMode() == FdLateralMode::Loc) {
                localizerCaptured = true;
                lostMode |= flight.fd().lateralMode() != FdLateralMode::Loc;
                localizer.add(nav().cdiDeviation / kCdiPerDot, inWindow);
            }
            if (glideSlopeCaptured || flight.fd().verticalMode() == FdVerticalMode::Gs) {
                glideSlopeCaptured = true;
                lostMode |= flight.fd().verticalMode() != FdVerticalMode::Gs;
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

// Runway 09L of ZZAA: its threshold, the far end's threshold (27R) and its length (ft).
constexpr double kThresholdLatitude = 47.0;
constexpr double kThresholdLongitude = 7.98;
constexpr double kFarEndLongitude = 8.02;
constexpr double kRunwayLength = 11000.0;
constexpr double kFeetPerNm = 6076.12;
constexpr double kFeetPerMinutePerMetreSecond = 196.85;
constexpr double kIdleLever = 28.5;
constexpr double kFlareHeight = 40.0;
constexpr double kIdleHeight = 100.0;
// The flare eases the sink rate (fpm) in proportion to the height, down to this at touchdown.
constexpr double kTouchdownSink = 100.0;
constexpr double kFlareSinkPerFoot = 12.0;
// Degrees of pitch the pilot adds per fpm of sink above the flare's.
constexpr double kFlarePitchPerFpm = 0.01;

// The pilot takes over at 200 ft, brings the thrust to idle at 100 ft, flares from 40 ft and
// lands; on the ground the toe brakes stop the aircraft on the runway. The FMS then knows the
// flight is over.
TEST_F(IlsApproachFlightTest, LandsOnTheRunwayAndStopsOnIt) {
    ASSERT_TRUE(flight.flyUntil(
        600.0, [this] { return height() < 200.0; }, [this] { approach.fly(); }));
    flight.pressAutopilotEngage();
    ASSERT_FALSE(flight.autopilot().engaged);
    const auto& state = flight.simulator().flight.state();
    double sinkAtTouchdown = 0.0;
    std::optional<double> flarePitch;
    // The pilot's hands: the pitch bar down to the flare, then from the pitch there the sink rate
    // eased as the height goes.
    const bool landed = flight.flyUntil(
        120.0, [&] { return state.onGround; },
        [&] {
            if (state.onGround) {
                return;
            }
            sinkAtTouchdown = state.velocityDown * kFeetPerMinutePerMetreSecond;
            if (height() > kIdleHeight) {
                flight.holdSpeed(IlsApproach::kApproachSpeed);
            } else {
                flight.setThrustLevers(kIdleLever);
            }
            if (height() > kFlareHeight) {
                flight.followPitchBar();
                return;
            }
            if (!flarePitch) {
                flarePitch = state.pitch * 180.0 / 3.14159265358979;
            }
            const double sink = kTouchdownSink + kFlareSinkPerFoot * height();
            flight.holdPitch(-(*flarePitch + kFlarePitchPerFpm * (sinkAtTouchdown - sink)));
        });
    ASSERT_TRUE(landed);
    double crossTrack = 0.0;
    double touchdown = 0.0;
    GcNav::crossTrackBetween(kThresholdLatitude, kThresholdLongitude, kThresholdLatitude,
                             kFarEndLongitude, state.latitude, state.longitude, crossTrack,
                             touchdown);
    flight.simulator().pilotEvent("AXIS_ELEVATOR_SET", 0);
    flight.simulator().flight.setBrakes(1.0, 1.0);
    const bool stopped = flight.flyUntil(
        120.0, [this] { return flight.simulator().panel.variable("GROUND VELOCITY") < 0.5; });
    double stop = 0.0;
    double stopCrossTrack = 0.0;
    GcNav::crossTrackBetween(kThresholdLatitude, kThresholdLongitude, kThresholdLatitude,
                             kFarEndLongitude, state.latitude, state.longitude, stopCrossTrack,
                             stop);
    flight.fly(3.0);
    std::printf("landing: touchdown %.0f ft past the threshold, %.0f ft off the centreline, "
                "sinking %.0f fpm; stopped %.0f ft past the threshold, %.0f ft off it\n",
                touchdown * kFeetPerNm, crossTrack * kFeetPerNm, sinkAtTouchdown, stop * kFeetPerNm,
                stopCrossTrack * kFeetPerNm);
    ASSERT_TRUE(stopped);
    EXPECT_GT(touchdown * kFeetPerNm, 300.0);
    EXPECT_LT(touchdown * kFeetPerNm, 3000.0);
    EXPECT_LT(sinkAtTouchdown, 600.0);
    EXPECT_LT(std::fabs(crossTrack * kFeetPerNm), 30.0);
    EXPECT_LT(stop * kFeetPerNm, kRunwayLength);
    EXPECT_LT(std::fabs(stopCrossTrack * kFeetPerNm), 30.0);
    EXPECT_NEAR(flight.headingTrue(), 90.0, 2.0);
    EXPECT_EQ(flight.simulator().panel.token(60), 1.0);
    EXPECT_NEAR(state.pitch, 0.0, 0.001) << "the nose wheel is down";

    const Fms& fms = *flight.aircraft().fms();
    EXPECT_FALSE(fms.airborne);
    EXPECT_TRUE(fms.flightSummary.isComplete());
    EXPECT_EQ(fms.currentPage, Fms::kFlightSummaryPage);
}

} // namespace
} // namespace tavi::test
