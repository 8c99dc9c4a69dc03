#include "cdu/pages/CduPageIds.h"
#include "fms/Fms.h"
#include "fms/GlobalFlightPlans.h"
#include "navdata/GcNav.h"
#include "support/CduFlight.h"
#include "support/FlightScenario.h"
#include "support/NavFixtureFiles.h"

#include <algorithm>
#include <cstdio>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace tavi::test {
namespace {

// An arrival to runway 09R of ZZAA for the closed-loop flights: STAR KILO1 from P to ARR1, and
// the ILS 09R with its transition from ARR1 to the initial fix IAF9R, then inbound over FAF9R to
// the missed-approach point MAP9R before the threshold.
constexpr const char* kKiloOneIls09R =
    "INSERT INTO Waypoints (ID, Ident, Latitude, Longtitude, Collocated, NavaidID) VALUES "
    "(50, 'ARR1', 47.1, 7.55, 0, NULL), (51, 'IAF9R', 46.995, 7.55, 0, NULL), "
    "(52, 'FAF9R', 46.995, 7.75, 0, NULL), (53, 'MAP9R', 46.995, 7.96, 0, NULL);"
    "INSERT INTO Terminals (ID, AirportID, ICAO, Proc, Name, FullName, Rwy, RwyID) VALUES "
    "(20, 1, 'ZZAA', 1, 'KILO1', 'KILO ONE', NULL, NULL), "
    "(21, 1, 'ZZAA', 3, 'I09R', 'ILS 09R', '09R', 3);"
    "INSERT INTO TerminalLegs (ID, TerminalID, Type, Transition, TrackCode, WptID, WptLat, "
    "WptLon, Course, Distance, Alt) VALUES "
    "(60, 20, '2', NULL, 'TF', 1, 47.5, 8.5, NULL, NULL, NULL), "
    "(61, 20, '2', NULL, 'TF', 50, 47.1, 7.55, NULL, NULL, '6000'), "
    "(62, 21, 'A', 'ARR1', 'IF', 50, 47.1, 7.55, NULL, NULL, '6000'), "
    "(63, 21, 'A', 'ARR1', 'TF', 51, 46.995, 7.55, NULL, NULL, '5000'), "
    "(64, 21, 'I', NULL, 'IF', 51, 46.995, 7.55, NULL, NULL, '5000'), "
    "(65, 21, 'I', NULL, 'TF', 52, 46.995, 7.75, 90.0, 8.2, '3500'), "
    "(66, 21, 'I', NULL, 'TF', 53, 46.995, 7.96, 90.0, 8.6, 'MAP'), "
    "(67, 21, 'I', NULL, 'CA', NULL, NULL, NULL, 90.0, NULL, '3000');";

// The module flying on the stand-in's flight model with the autopilot coupled to LNAV; the
// pilot works the CDU through its pop-up and the simulator's keyboard.
class ProcedureFlight : public CduFlight {
protected:
    static constexpr double kSpeed = 210.0;

    ProcedureFlight() {
        platform::db::createDatabase(flight.module.folder.path() / "Orvane/Nd/nd.sqlite",
                                     navSchema() + navRegion() + kKiloOneIls09R);
    }

    void startInFlight(double latitude, double longitude, double heading) {
        flight.startInFlight(latitude, longitude, 6000.0, heading, kSpeed);
        openCdu();
    }
    // The autopilot in ALT with LNAV armed on the FMS as the coupled source.
    void coupleLnav() {
        engageLnav();
        fly(10.0);
        ASSERT_EQ(flight.fd().lateralMode(), FdLateralMode::Lnav);
    }

    void fly(double seconds) {
        flight.fly(seconds, [this] { flight.holdSpeed(kSpeed); });
    }
    // Flies until the condition holds; false after the time.
    bool flyUntil(double seconds, const std::function<bool()>& done) {
        return flight.flyUntil(seconds, done, [this] { flight.holdSpeed(kSpeed); });
    }
    double distanceTo(double lat, double lon) {
        return GcNav::distanceBetween(latitude(), longitude(), lat, lon);
    }
    // Flies until the fix is the active one, then measures how close the aircraft came to it.
    double closestApproach(const std::string& ident, double lat, double lon, double seconds) {
        double closest = 1e9;
        flight.flyUntil(
            seconds, [&] { return activeFix() != ident; },
            [&] {
                flight.holdSpeed(kSpeed);
                closest = std::min(closest, distanceTo(lat, lon));
            });
        return closest;
    }
};

TEST_F(ProcedureFlight, AStarAndAnIlsWithItsTransitionAreSelectedActivatedAndFlown) {
    // North-east of ZZAA on the way in from ZZAB, towards P.
    startInFlight(47.6, 8.7, 233.0);
    enterRouteEnds("ZZAB", "ZZAA");
    cduKey(Fms::kNavKey);
    lineKey(kR3);
    ASSERT_EQ(fms().currentPage, cdu_page::kArrival);
    lineKey(kL2);
    ASSERT_EQ(fms().currentPage, cdu_page::kApproach);
    // ILS 09R sorts behind I09L: the second left item.
    lineKey(kL2);
    ASSERT_EQ(fms().arrivalPage.iapSel, "I09R");
    ASSERT_EQ(fms().currentPage, cdu_page::kApproachTrans);
    lineKey(kL1);
    ASSERT_EQ(fms().currentPage, cdu_page::kStar);
    for (std::size_t i = 0; i < fms().arrivalPage.stars.size() / 4; ++i) {
        key(kPageDownKey);
    }
    lineKey(kL1);
    ASSERT_EQ(fms().arrivalPage.starSel, "KILO1");
    ASSERT_EQ(fms().currentPage, cdu_page::kArrival);
    lineKey(kL4);
    ASSERT_EQ(fms().currentPage, cdu_page::kArrivalReview);
    lineKey(kR4);
    ASSERT_EQ(fms().currentPage, Fms::kActiveFlightPlanPage);
    ASSERT_EQ(legIdents(), (std::vector<std::string>{"(DISC)", "P", "ARR1", "IAF9R", "FAF9R",
                                                     "MAP9R", "RW09R"}));
    ASSERT_EQ(activeFlightPlan.destRwy.ident, "RW09R");
    ASSERT_EQ(activeFlightPlan.destIls.ident, "IAAR");
    // The STAR starts behind a route break: the pilot goes direct to its first fix.
    cduKey(Fms::kDirKey);
    typeThenPress("P", kL1);
    ASSERT_EQ(activeFix(), "P");

    coupleLnav();
    EXPECT_LT(closestApproach("P", 47.5, 8.5, 300.0), 1.0);
    EXPECT_LT(closestApproach("ARR1", 47.1, 7.55, 900.0), 1.0);
    EXPECT_LT(closestApproach("IAF9R", 46.995, 7.55, 300.0), 1.0);
    EXPECT_LT(closestApproach("FAF9R", 46.995, 7.75, 300.0), 0.5);
    // Inbound on the final approach course, established on its line.
    EXPECT_NEAR(flight.headingTrue(), 90.0, 10.0);
    EXPECT_LT(std::fabs(latitude() - 46.995) * 60.0, 0.3);
    EXPECT_EQ(flight.fd().lateralMode(), FdLateralMode::Lnav);
}

TEST_F(ProcedureFlight, HoldsAtAFixAndAtThePresentPositionAreFlownAndLeft) {
    // On the leg from ZZAA to P, towards ZZAD over P and Q.
    startInFlight(47.25, 8.25, 34.0);
    enterRouteEnds("ZZAA", "ZZAD");
    typeThenPress("P", kL2);
    typeThenPress("Q", kL3);
    coupleLnav();
    // PATTERNS from NAV INDEX, its HOLD keyword onto P's line, the hold as it comes.
    openHoldingPattern(kL2);
    ASSERT_EQ(fms().currentPage, cdu_page::kHoldingPattern);
    lineKey(kR4);
    const FlightPlanLeg& p = activeFlightPlan.legs[0];
    ASSERT_EQ(p.holding.active, 1);

    ASSERT_TRUE(flyUntil(300.0, [&] { return p.holding.entered != 0; }));
    double farthest = 0.0;
    flight.fly(360.0, [&] {
        flight.holdSpeed(kSpeed);
        farthest = std::max(farthest, distanceTo(47.5, 8.5));
    });
    EXPECT_EQ(activeFix(), "P") << "still holding after six minutes";
    EXPECT_LT(farthest, 9.0) << "the racetrack stays near its fix";
    EXPECT_GT(farthest, 3.0) << "and goes round it";
    // EXIT HOLD on ACTIVE FLT PLAN: the hold ends at the fix and the route goes on to Q.
    cduKey(Fms::kFplKey);
    lineKey(kL4);
    ASSERT_EQ(p.holding.exitHold, 1);
    // HOLDING PATTERN of Q stays open over the sequencing: its line still designates Q.
    openHoldingPattern(kL3);
    ASSERT_EQ(fms().currentPage, cdu_page::kHoldingPattern);
    ASSERT_TRUE(flyUntil(600.0, [&] { return activeFix() == "Q"; }));
    EXPECT_LT(distanceTo(47.5, 8.5), 2.0) << "left at the fix";
    EXPECT_EQ(fms().currentPage, cdu_page::kHoldingPattern);
    fms().drawPage();
    EXPECT_EQ(fms().screen.rowText(2).substr(0, 2), U" Q");
    lineKey(kL4);
    ASSERT_EQ(fms().currentPage, Fms::kActiveFlightPlanPage);

    // A hold at the present position: HOLD onto the FROM line, the fix just passed.
    fly(20.0);
    const double holdLatitude = latitude();
    const double holdLongitude = longitude();
    openHoldingPattern(kL1);
    ASSERT_EQ(fms().currentPage, cdu_page::kHoldingPattern);
    lineKey(kR4);
    const FlightPlanLeg& here = activeFlightPlan.legs[activeFlightPlan.activeLeg];
    ASSERT_EQ(here.holding.atPresentPosition, 1);
    ASSERT_EQ(here.holding.entered, 1);
    farthest = 0.0;
    flight.fly(360.0, [&] {
        flight.holdSpeed(kSpeed);
        farthest = std::max(farthest, distanceTo(holdLatitude, holdLongitude));
    });
    EXPECT_LT(farthest, 10.0) << "holding round the point where it was made";
    EXPECT_NE(activeFix(), "Q");
    cduKey(Fms::kFplKey);
    lineKey(kL4);
    EXPECT_TRUE(flyUntil(600.0, [&] { return activeFix() == "Q"; })) << "the hold is left";
    EXPECT_TRUE(flyUntil(600.0, [&] { return distanceTo(47.6, 8.7) < 1.0; })) << "and Q reached";
}

TEST_F(ProcedureFlight, ASidWithItsRunwayAndTransitionIsChosenActivatedAndFlown) {
    ASSERT_TRUE(flight.startOnRunway("ZZAA", "09L"));
    openCdu();
    enterRouteEnds("ZZAA", "ZZAD");
    // DEPARTURE: runway 09L, SID ALPHA1, transition ENRA, then ACTIVATE on PROCEDURE.
    cduKey(Fms::kNavKey);
    lineKey(kL3);
    lineKey(kL2);
    lineKey(kL2);
    lineKey(kL2);
    ASSERT_EQ(fms().currentPage, cdu_page::kProcedure);
    lineKey(kR4);
    ASSERT_EQ(legIdents(), (std::vector<std::string>{"*ALT01", "P", "Q", "R", "S", "(DISC)"}));
    ASSERT_EQ(activeFlightPlan.org.ident, "RW09L");

    // The take-off in TO/GA, the pilot on the pitch bar, then the autopilot with LNAV.
    flight.pressKey(FlightScenario::kFlapsIncrementKey);
    flight.setAltitudePreselect(6000);
    flight.setHeadingBug(90);
    flight.pressKey(FlightScenario::kFlightDirectorKey);
    flight.fly(0.5);
    flight.pressKey(FlightScenario::kToGaKey);
    flight.fly(1.0);
    if (flight.simulator().panel.token(323) != 0.0) {
        flight.pressKey(FlightScenario::kParkingBrakeKey);
    }
    flight.setThrustLevers(72.0);
    ASSERT_TRUE(flight.flyUntil(90.0, [&] { return flight.indicatedKnots() >= 135.0; }));
    ASSERT_TRUE(flight.flyUntil(
        60.0, [&] { return flight.altitudeFeet() > 1410.0 + 500.0; },
        [&] { flight.followPitchBar(); }));
    flight.simulator().flight.setGearHandle(false);
    flight.simulator().pilotEvent("AXIS_ELEVATOR_SET", 0);
    flight.pressAutopilotEngage();
    flight.fd().selectNavigationSource(1, true);
    flight.pressKey(kNavModeKey);
    flight.simulator().pilotKeyEvent(0x100DF);
    flight.setThrustLevers(62.0);

    // Up to 1900 ft on the runway heading, then the left turn direct to P, and on to Q.
    ASSERT_TRUE(flyUntil(180.0, [&] { return activeFix() == "P"; }));
    EXPECT_GT(flight.altitudeFeet(), 1800.0);
    EXPECT_LT(closestApproach("P", 47.5, 8.5, 900.0), 1.5);
    EXPECT_EQ(flight.fd().lateralMode(), FdLateralMode::Lnav);
    EXPECT_LT(closestApproach("Q", 47.6, 8.7, 300.0), 1.0);
    EXPECT_EQ(activeFix(), "R");
}

} // namespace
} // namespace tavi::test
