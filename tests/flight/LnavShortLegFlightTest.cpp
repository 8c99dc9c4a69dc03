#include "support/LnavRoute.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <gtest/gtest.h>
#include <ostream>
#include <string>
#include <vector>

namespace tavi::test {

// From ZZAA 10 nm north to SLA, then large turns onto a leg of 3.2 nm to SLB and one of 2.4 nm
// to SLC, legs far shorter than the two turns need between them at 250 kt, then a turn onto
// 12 nm to ZZAF. Turns in degrees, right positive.
struct ShortLegRoute {
    const char* name;
    double firstTurn;
    double secondTurn;
    double lastTurn;
};

void PrintTo(const ShortLegRoute& route, std::ostream* out) {
    *out << route.name;
}

namespace {

constexpr double kShortLegSpeed = 250.0;
constexpr std::array<double, 4> kLegLengths{10.0, 3.2, 2.4, 12.0};
constexpr std::array<const char*, 4> kIdents{"SLA", "SLB", "SLC", "ZZAF"};

std::vector<RouteFix> shortLegFixes(const ShortLegRoute& route) {
    const std::array<double, 4> turns{0.0, route.firstTurn, route.secondTurn, route.lastTurn};
    std::vector<RouteFix> fixes;
    RouteFix from = LnavRoute::kOrigin;
    double course = 0.0;
    for (std::size_t i = 0; i < kLegLengths.size(); ++i) {
        course += turns[i];
        RouteFix to{kIdents[i], 0.0, 0.0};
        GcNav(from.latitude, from.longitude)
            .destination(course, kLegLengths[i], to.latitude, to.longitude);
        fixes.push_back(to);
        from = to;
    }
    return fixes;
}

// Nautical miles from the nearest point of the route's legs.
double distanceFromRoute(const std::vector<RouteFix>& fixes, double latitude, double longitude) {
    double nearest = 1e9;
    RouteFix from = LnavRoute::kOrigin;
    for (const RouteFix& to : fixes) {
        double crossTrack = 0.0;
        double alongTrack = 0.0;
        GcNav::crossTrackBetween(from.latitude, from.longitude, to.latitude, to.longitude, latitude,
                                 longitude, crossTrack, alongTrack);
        const double length =
            GcNav::distanceBetween(from.latitude, from.longitude, to.latitude, to.longitude);
        double distance = std::fabs(crossTrack);
        if (alongTrack < 0.0) {
            distance = GcNav::distanceBetween(from.latitude, from.longitude, latitude, longitude);
        } else if (alongTrack > length) {
            distance = GcNav::distanceBetween(to.latitude, to.longitude, latitude, longitude);
        }
        nearest = std::min(nearest, distance);
        from = to;
    }
    return nearest;
}

class LnavShortLegFlightTest : public testing::TestWithParam<ShortLegRoute> {};

// The autopilot flies the route in LNAV at 250 kt: it turns where the path turns, sequences the
// legs in order, keeps within 1 nm of the legs through both short ones and settles on the last.
TEST_P(LnavShortLegFlightTest, FliesBothShortLegsWithinOneMile) {
    const std::vector<RouteFix> fixes = shortLegFixes(GetParam());
    FlightScenario flight;
    LnavRoute route(flight, fixes, kShortLegSpeed);
    ASSERT_TRUE(route.setUp());

    std::vector<std::size_t> sequence{route.activeFix()};
    std::vector<double> farthest(fixes.size(), 0.0);
    double largestBank = 0.0;
    bool lostLnav = false;
    const bool arrived = flight.flyUntil(
        900.0, [&] { return route.distanceToEnd() < 2.0; },
        [&] {
            flight.holdSpeed(kShortLegSpeed);
            const std::size_t fix = route.activeFix();
            if (fix != sequence.back()) {
                sequence.push_back(fix);
            }
            lostLnav |= flight.fd().lateralMode() != FdLateralMode::Lnav;
            const auto& state = flight.simulator().flight.state();
            if (fix < fixes.size()) {
                farthest[fix] = std::max(farthest[fix],
                                         distanceFromRoute(fixes, state.latitude, state.longitude));
            }
            largestBank = std::max(largestBank, double{std::fabs(flight.autopilot().bankCommand)});
        });
    double lastLegOffset = 0.0;
    double alongLastLeg = 0.0;
    route.offsets(fixes.size() - 1, lastLegOffset, alongLastLeg);
    std::printf("%s: from the route at most", GetParam().name);
    for (std::size_t i = 0; i < fixes.size(); ++i) {
        std::printf(" %.2f nm (to %s)", farthest[i], fixes[i].ident);
    }
    std::printf("; %.2f nm off the last leg 2 nm before its end; largest bank %.1f\n",
                lastLegOffset, largestBank);
    ASSERT_TRUE(arrived) << "stopped short of ZZAF by " << route.distanceToEnd() << " nm";
    EXPECT_EQ(sequence, (std::vector<std::size_t>{0, 1, 2, 3}));
    EXPECT_FALSE(lostLnav);
    EXPECT_LT(*std::max_element(farthest.begin(), farthest.end()), 1.0);
    EXPECT_LT(std::fabs(lastLegOffset), 0.1);
}

INSTANTIATE_TEST_SUITE_P(Routes, LnavShortLegFlightTest,
                         testing::Values(ShortLegRoute{"RightThenLeft", 98.0, -84.0, 40.0},
                                         ShortLegRoute{"LeftThenRight", -98.0, 84.0, -40.0}),
                         [](const auto& info) { return std::string(info.param.name); });

} // namespace
} // namespace tavi::test
