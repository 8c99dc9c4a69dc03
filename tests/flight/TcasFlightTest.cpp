// Encounters with scripted traffic on the stand-in's flight model: the crew follows the TCAS's
// resolution advisory through the autopilot's vertical-speed mode and, once the conflict is
// cleared, returns to its altitude, which the altitude preselect captures.
#include "avionics/Tcas.h"
#include "avionics/Transponder.h"
#include "sim/Geodesy.h"
#include "support/FlightScenario.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <gtest/gtest.h>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

namespace tavi::test {

// The own aircraft flies east level at the altitude and 250 KIAS; the intruder flies straight
// on a track turned from the own, at a speed and a vertical speed, so that without advisories
// both would meet after `secondsToMeet`, the intruder `height` feet above.
struct TcasFlight {
    const char* name;
    double altitude;
    double trackOffset;
    double groundSpeed;
    double verticalSpeed;
    double height;
    double secondsToMeet;
    // The separation a resolution advisory must reach in this altitude band.
    double alim;
};

void PrintTo(const TcasFlight& flight, std::ostream* out) {
    *out << flight.name;
}

namespace {

constexpr uint32_t kIntruder = 52;
constexpr double kOwnHeading = 90.0;
constexpr double kOwnSpeed = 250.0;
constexpr int32_t kReturnFpm = 1500;
constexpr double kPreselectAway = 2000.0;
// Closer to the cleared altitude the return is left to ASEL.
constexpr double kReturnBand = 50.0;

// What the encounter showed, in simulator seconds and feet.
struct EncounterFigures {
    std::optional<double> trafficAdvisoryAt;
    std::optional<double> resolutionAdvisoryAt;
    std::optional<double> clearOfConflictAt;
    int advisoriesBegun = 0;
    int clearOfConflictCalls = 0;
    int32_t firstKind = -1;
    double closestApproachAt = 0.0;
    double closestRange = 1e9;
    double separationAtClosestApproach = 0.0;
    double largestDeviation = 0.0;
};

class TcasFlightTest : public testing::TestWithParam<TcasFlight> {
protected:
    void SetUp() override {
        flight.startInFlight(47.0, 8.0, GetParam().altitude, kOwnHeading, kOwnSpeed);
        flight.setAltitudePreselect(static_cast<int32_t>(GetParam().altitude));
        flight.setHeadingBug(static_cast<int32_t>(std::lround(flight.headingMagnetic())));
        flight.pressAutopilotEngage();
        flight.pressKey(FlightScenario::kAltitudeHoldKey);
        flight.pressKey(FlightScenario::kHeadingModeKey);
        TransponderMode = kTransponderTaRa;
        flight.fly(20.0, [this] { flight.holdSpeed(kOwnSpeed); });
        ASSERT_TRUE(flight.autopilot().engaged);
        ASSERT_EQ(flight.fd().verticalMode(), FdVerticalMode::Alt);
        ASSERT_GT(tcas().sensitivityLevel, 2);
        placeIntruder();
    }
    void TearDown() override { TransponderMode = kTransponderStandby; }

    Tcas& tcas() { return *flight.aircraft().tcas(); }
    sim::GeoPoint ownPosition() {
        return {flight.simulator().flight.state().latitude,
                flight.simulator().flight.state().longitude};
    }

    // Both paths run through one point that each reaches after the same time.
    void placeIntruder() {
        const TcasFlight& setup = GetParam();
        const sim::FlightState& own = flight.simulator().flight.state();
        const double ownTrack = sim::degrees0To360(std::atan2(own.velocityEast, own.velocityNorth) /
                                                   sim::kDegreesToRadians);
        const double ownKnots =
            std::hypot(own.velocityNorth, own.velocityEast) * 3600.0 / sim::kMetresPerNm;
        const sim::GeoPoint meeting =
            sim::destination(ownPosition(), ownTrack, ownKnots * setup.secondsToMeet / 3600.0);
        const double track = sim::degrees0To360(ownTrack + setup.trackOffset);
        const sim::GeoPoint start = sim::destination(
            meeting, track + 180.0, setup.groundSpeed * setup.secondsToMeet / 3600.0);
        const double startAltitude =
            flight.altitudeFeet() + setup.height - setup.verticalSpeed * setup.secondsToMeet / 60.0;
        flight.simulator().traffic.addIntruder(kIntruder,
                                               sim::TrafficStart::absolute(start, startAltitude),
                                               {track, setup.groundSpeed, setup.verticalSpeed});
    }

    // The crew's hands on the guidance panel, before each frame. The altitude preselect moves
    // out of the way of a climb or descent, as VS is refused at the preselected altitude, and
    // back to the cleared altitude for the return, where ASEL levels off.
    void crew() {
        flight.holdSpeed(kOwnSpeed);
        const double cleared = GetParam().altitude;
        if (!tcas().raSet.empty()) {
            const TcasAdvisoryKind& kind =
                tcas().advisoryKinds[static_cast<std::size_t>(tcas().raKind)];
            returning = false;
            if (kind.corrective) {
                const double away =
                    kind.targetVerticalSpeed > 0.0 ? kPreselectAway : -kPreselectAway;
                setPreselect(cleared + away);
                flyVerticalSpeed(static_cast<int32_t>(kind.targetVerticalSpeed));
            } else if (flight.fd().verticalMode() == FdVerticalMode::Vs) {
                // Every preventive advisory allows level flight.
                flyVerticalSpeed(0);
            }
        } else if (returning) {
            setPreselect(cleared);
            const double offset = flight.altitudeFeet() - cleared;
            if (std::fabs(offset) > kReturnBand &&
                flight.fd().verticalMode() != FdVerticalMode::Asel &&
                flight.fd().verticalMode() != FdVerticalMode::Alt) {
                flyVerticalSpeed(offset > 0.0 ? -kReturnFpm : kReturnFpm);
            }
        }
    }
    void setPreselect(double feet) {
        const auto preselect = static_cast<int32_t>(feet);
        if (flight.fd().altitudePreselect() != preselect) {
            flight.setAltitudePreselect(preselect);
        }
    }
    void flyVerticalSpeed(int32_t feetPerMinute) {
        if (flight.fd().verticalMode() != FdVerticalMode::Vs) {
            flight.fd().selectVerticalSpeedMode(true);
        }
        if (std::lround(flight.fd().vsTarget()) != feetPerMinute) {
            flight.fd().setVerticalSpeedTarget(feetPerMinute);
        }
    }

    // Flies until the intruder has been opening for 30 s, noting the advisories as they come.
    EncounterFigures flyEncounter() {
        EncounterFigures figures;
        bool raOn = false;
        double openingSince = -1.0;
        const double end = flight.simulator().simulatorSeconds() + 300.0;
        while (flight.simulator().simulatorSeconds() < end) {
            flight.fly(0.1, [this] { crew(); });
            const double now = flight.simulator().simulatorSeconds();
            const sim::TrafficObject* intruder = flight.simulator().traffic.find(kIntruder);
            const double range =
                sim::distanceNm(ownPosition(), {intruder->latitude, intruder->longitude});
            if (range < figures.closestRange) {
                figures.closestRange = range;
                figures.closestApproachAt = now;
                figures.separationAtClosestApproach = intruder->altitude - flight.altitudeFeet();
                openingSince = -1.0;
            } else if (openingSince < 0.0) {
                openingSince = now;
            }
            if (!figures.trafficAdvisoryAt && tcas().taSet.contains(kIntruder)) {
                figures.trafficAdvisoryAt = now;
            }
            const bool raNow = !tcas().raSet.empty();
            if (raNow && !raOn) {
                ++figures.advisoriesBegun;
                if (!figures.resolutionAdvisoryAt) {
                    figures.resolutionAdvisoryAt = now;
                    figures.firstKind = tcas().raKind;
                }
            }
            if (!raNow && raOn && tcas().sensitivityLevel > 2) {
                ++figures.clearOfConflictCalls;
                figures.clearOfConflictAt = now;
                returning = true;
            }
            raOn = raNow;
            figures.largestDeviation = std::max(
                figures.largestDeviation, std::fabs(flight.altitudeFeet() - GetParam().altitude));
            if (openingSince >= 0.0 && now - openingSince > 30.0 && !raNow &&
                flight.fd().verticalMode() == FdVerticalMode::Alt) {
                break;
            }
        }
        return figures;
    }

    FlightScenario flight;
    bool returning = false;
};

// The sense an advisory sends the own aircraft.
RaSense senseOf(int32_t kind) {
    return kTcasAdvisoryKinds[static_cast<std::size_t>(kind)].sense;
}

TEST_P(TcasFlightTest, TheCrewFollowsOneAdvisoryToTheMarginAndReturnsToItsAltitude) {
    const TcasFlight& setup = GetParam();
    const EncounterFigures figures = flyEncounter();
    ASSERT_TRUE(figures.trafficAdvisoryAt && figures.resolutionAdvisoryAt &&
                figures.clearOfConflictAt);
    const double cpa = figures.closestApproachAt;
    std::printf("%s: TA %.1f s and RA %.1f s before the closest approach, clear of conflict "
                "%.1f s after it; at %.2f nm %+.0f ft apart (ALIM %.0f); deviation %.0f ft\n",
                setup.name, cpa - *figures.trafficAdvisoryAt, cpa - *figures.resolutionAdvisoryAt,
                *figures.clearOfConflictAt - cpa, figures.closestRange,
                figures.separationAtClosestApproach, setup.alim, figures.largestDeviation);
    EXPECT_LT(*figures.trafficAdvisoryAt, *figures.resolutionAdvisoryAt);
    EXPECT_EQ(figures.advisoriesBegun, 1);
    EXPECT_EQ(figures.clearOfConflictCalls, 1);
    EXPECT_GT(*figures.clearOfConflictAt, cpa);
    EXPECT_GE(std::fabs(figures.separationAtClosestApproach), setup.alim);
    // A sensible sense: away from the side the intruder passes on, or, co-altitude, either.
    if (setup.height != 0.0) {
        EXPECT_EQ(senseOf(figures.firstKind), setup.height > 0.0 ? kRaDown : kRaUp);
    }
    EXPECT_EQ(flight.fd().verticalMode(), FdVerticalMode::Alt);
    EXPECT_NEAR(flight.altitudeFeet(), setup.altitude, 100.0);
}

INSTANTIATE_TEST_SUITE_P(
    Encounters, TcasFlightTest,
    testing::Values(
        TcasFlight{"HeadOnCoAltitude", 12000.0, 180.0, 300.0, 0.0, 0.0, 70.0, 400.0},
        // Beyond ALIM, inside the RA altitude threshold.
        TcasFlight{"HeadOn400FtAboveAtLevel5", 8000.0, 180.0, 300.0, 0.0, 400.0, 70.0, 350.0},
        TcasFlight{"HeadOn200FtAbove", 12000.0, 180.0, 300.0, 0.0, 200.0, 70.0, 400.0},
        TcasFlight{"CrossingFromTheRight", 12000.0, -90.0, 280.0, 0.0, 100.0, 70.0, 400.0},
        TcasFlight{"CrossingClimbingFromTheLeft", 22000.0, 90.0, 250.0, 1000.0, -300.0, 70.0,
                   600.0}),
    [](const auto& info) { return std::string(info.param.name); });

// Network traffic gives no vertical speed of its own: TCAS takes it from the altitude the
// network reports on each scan. A steady 500-fpm climb reads 500 fpm on every scan.
TEST(TcasTrafficRateTest, ClimbingNetworkTrafficReadsItsOwnRate) {
    FlightScenario flight;
    flight.startInFlight(47.0, 8.0, 12000.0, 90.0, 250.0);
    flight.setAltitudePreselect(12000);
    flight.pressAutopilotEngage();
    flight.pressKey(FlightScenario::kAltitudeHoldKey);
    TransponderMode = kTransponderTaRa;
    flight.simulator().traffic.setOnline(true);
    flight.simulator().traffic.addIntruder(
        kIntruder, sim::TrafficStart::relative(0.0, 8.0, -3000.0), {0.0, 250.0, 500.0});
    const Tcas& tcas = *flight.aircraft().tcas();
    std::vector<double> rates;
    uint32_t lastScan = tcas.lastScanTime;
    flight.fly(30.0, [&] {
        if (tcas.lastScanTime == lastScan) {
            return;
        }
        lastScan = tcas.lastScanTime;
        for (uint32_t i = 0; i < tcas.trafficCount; ++i) {
            if (tcas.traffic[i].id == kIntruder && !tcas.traffic[i].isNew) {
                rates.push_back(tcas.traffic[i].verticalSpeed);
            }
        }
    });
    TransponderMode = kTransponderStandby;
    std::printf("Network traffic climbing at 500 fpm reads");
    for (const double rate : rates) {
        std::printf(" %.0f", rate);
    }
    std::printf(" fpm\n");
    ASSERT_GE(rates.size(), 10u);
    for (const double rate : rates) {
        EXPECT_NEAR(rate, 500.0, 100.0);
    }
}

} // namespace
} // namespace tavi::test
