#include "support/LnavRoute.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <gtest/gtest.h>
#include <vector>

namespace tavi::test {
namespace {

// From this distance (nm) along a leg on, the turn onto it is over and the leg is straight.
constexpr double kTurnLength = 3.0;

// The autopilot flies the route in LNAV: each leg sequences in its order; on the straight of a
// leg, from 3 nm after the turn onto it, the aircraft keeps within 0.3 nm of the leg's great
// circle, and in the turns within 1 nm of the arc LNAV flies.
TEST(LnavRouteTest, SequencesEveryLegInOrderAndKeepsToThePath) {
    FlightScenario flight;
    LnavRoute route(flight);
    ASSERT_TRUE(route.setUp());

    std::vector<std::size_t> sequence{route.activeFix()};
    std::vector<double> straight(LnavRoute::kFixes.size(), 0.0);
    std::vector<double> turning(LnavRoute::kFixes.size(), 0.0);
    bool lostLnav = false;
    const bool arrived = flight.flyUntil(
        1500.0, [&] { return route.distanceToEnd() < 2.0; },
        [&] {
            flight.holdSpeed(LnavRoute::kSpeed);
            const std::size_t fix = route.activeFix();
            if (fix != sequence.back()) {
                sequence.push_back(fix);
            }
            lostLnav |= flight.fd().lateralMode() != FdLateralMode::Lnav;
            if (fix >= LnavRoute::kFixes.size()) {
                return;
            }
            double crossTrack = 0.0;
            double alongTrack = 0.0;
            route.offsets(fix, crossTrack, alongTrack);
            // The turn onto the next leg is flown on an arc before the fix, while the leg is
            // still active.
            if (!route.onArc() && (fix == 0 || alongTrack >= kTurnLength)) {
                straight[fix] = std::max(straight[fix], std::fabs(crossTrack));
            } else {
                const double path = route.fms().lnavState()->crossTrackError;
                turning[fix] = std::max(turning[fix], std::fabs(path));
            }
        });
    for (std::size_t i = 0; i < LnavRoute::kFixes.size(); ++i) {
        std::printf("LNAV route: leg to %s: straight %.3f nm, turn %.3f nm\n",
                    LnavRoute::kFixes[i].ident, straight[i], turning[i]);
    }
    ASSERT_TRUE(arrived) << "stopped short of ZZAE by " << route.distanceToEnd() << " nm";
    EXPECT_EQ(sequence, (std::vector<std::size_t>{0, 1, 2, 3, 4}));
    EXPECT_FALSE(lostLnav);
    for (std::size_t i = 0; i < LnavRoute::kFixes.size(); ++i) {
        EXPECT_LT(straight[i], 0.3) << LnavRoute::kFixes[i].ident;
        EXPECT_LT(turning[i], 1.0) << LnavRoute::kFixes[i].ident;
    }
    EXPECT_NEAR(flight.altitudeFeet(), LnavRoute::kAltitude, 100.0);
}

} // namespace
} // namespace tavi::test
