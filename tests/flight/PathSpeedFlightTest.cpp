#include "cdu/pages/CduPageIds.h"
#include "fms/Fms.h"
#include "fms/GlobalFlightPlans.h"
#include "navdata/GcNav.h"
#include "support/CduFlight.h"
#include "support/FlightScenario.h"
#include "support/NavFixtureFiles.h"
#include "support/PredictionRoute.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace tavi::test {
namespace {

constexpr double kPoundsPerKg = 1.0 / 0.45359237;
constexpr double kDegreesToRadians = 3.14159265358979323846 / 180.0;

// A departure from runway 09L of ZZAA with fly-by turns between legs of 10 to 13 nm: the runway
// heading to 1900 ft, direct to SD1, then left 48 degrees to SD2, right 90 to SD3 and right 125
// to SD4.
constexpr const char* kTurningDeparture =
    "INSERT INTO Waypoints (ID, Ident, Latitude, Longtitude, Collocated, NavaidID) VALUES "
    "(60, 'SD1', 47.1, 8.25, 0, NULL), (61, 'SD2', 47.3, 8.28, 0, NULL), "
    "(62, 'SD3', 47.28, 8.58, 0, NULL), (63, 'SD4', 47.154, 8.419, 0, NULL);"
    "INSERT INTO Terminals (ID, AirportID, ICAO, Proc, Name, FullName, Rwy, RwyID) VALUES "
    "(30, 1, 'ZZAA', 2, 'TURN1', 'TURN ONE', '09L', 1);"
    "INSERT INTO TerminalLegs (ID, TerminalID, Type, Transition, TrackCode, WptID, WptLat, "
    "WptLon, Course, Distance, Alt) VALUES "
    "(70, 30, '2', NULL, 'VA', NULL, NULL, NULL, 90.0, NULL, '1900'), "
    "(71, 30, '2', NULL, 'DF', 60, 47.1, 8.25, NULL, NULL, NULL), "
    "(72, 30, '2', NULL, 'TF', 61, 47.3, 8.28, NULL, NULL, NULL), "
    "(73, 30, '2', NULL, 'TF', 62, 47.28, 8.58, NULL, NULL, NULL), "
    "(74, 30, '2', NULL, 'TF', 63, 47.154, 8.419, NULL, NULL, NULL);";

// A point in nautical miles east and north of a reference point.
struct Local {
    double east = 0.0;
    double north = 0.0;
};

Local toLocal(double latitude, double longitude, double refLatitude, double refLongitude) {
    return {(longitude - refLongitude) * 60.0 * std::cos(refLatitude * kDegreesToRadians),
            (latitude - refLatitude) * 60.0};
}

double distanceToSegment(const Local& p, const Local& a, const Local& b) {
    const double dx = b.east - a.east;
    const double dy = b.north - a.north;
    const double lengthSquared = dx * dx + dy * dy;
    const double t =
        lengthSquared > 0.0
            ? std::clamp(((p.east - a.east) * dx + (p.north - a.north) * dy) / lengthSquared, 0.0,
                         1.0)
            : 0.0;
    return std::hypot(p.east - (a.east + t * dx), p.north - (a.north + t * dy));
}

// Nautical miles from a point to a path piece: a great-circle chord or an arc round its centre.
double distanceToPiece(double latitude, double longitude, const PathSegment& piece) {
    if (piece.turnDirection == kSegmentStraight) {
        const Local p = toLocal(latitude, longitude, piece.startLatitude, piece.startLongitude);
        const Local end = toLocal(piece.endLatitude, piece.endLongitude, piece.startLatitude,
                                  piece.startLongitude);
        return distanceToSegment(p, {}, end);
    }
    const double bearing =
        GcNav::courseBetween(piece.centreLatitude, piece.centreLongitude, latitude, longitude);
    double swept = std::fmod(bearing - piece.startBearing + 720.0, 360.0);
    if (piece.sweep < 0.0) {
        swept = std::fmod(piece.startBearing - bearing + 720.0, 360.0);
    }
    if (swept <= std::fabs(piece.sweep)) {
        return std::fabs(GcNav::distanceBetween(piece.centreLatitude, piece.centreLongitude,
                                                latitude, longitude) -
                         piece.radius);
    }
    return std::min(
        GcNav::distanceBetween(piece.startLatitude, piece.startLongitude, latitude, longitude),
        GcNav::distanceBetween(piece.endLatitude, piece.endLongitude, latitude, longitude));
}

// The module flying on the stand-in with the autopilot in LNAV; the crew works the CDU through
// its pop-up and the simulator's keyboard, and keeps the airspeed on VNAV's speed command with
// the thrust levers once the performance is initialised.
class PathSpeedFlight : public CduFlight {
protected:
    explicit PathSpeedFlight(const std::string& navSql = "") {
        platform::db::createDatabase(flight.module.folder.path() / "Orvane/Nd/nd.sqlite",
                                     navSchema() + navRegion() + navSql);
        FmsPerf tables;
        fillPerformanceTables(tables);
        tables.setPath(flight.module.folder.path() / "Orvane/PerfDB/vosk300x.perf");
        EXPECT_TRUE(tables.save());
    }
    std::string row(int32_t index) {
        fms().drawPage();
        std::string text;
        for (const char32_t c : fms().screen.rowText(index)) {
            text += c < 0x80 ? static_cast<char>(c) : '?';
        }
        return text;
    }

    // PERFORMANCE INIT typed as the crew types it: the stand-in's weight and fuel, the cruise
    // altitude (the preselected one), then CONFIRM INIT.
    void confirmPerformance(int32_t cruiseAltitude) {
        flight.setAltitudePreselect(cruiseAltitude);
        const double fuel = std::round(flight.simulator().engines.fuelWeightKg() * kPoundsPerKg);
        const double weight = flight.simulator().flight.mass() * kPoundsPerKg;
        cduKey(Fms::kPerfKey);
        lineKey(kL1);
        ASSERT_EQ(fms().currentPage, cdu_page::kPerformanceInit);
        for (int subPage = 1; subPage < 4; ++subPage) {
            key(kPageDownKey);
        }
        typeThenPress(std::to_string(cruiseAltitude), kL2);
        key(kPageDownKey);
        typeThenPress(std::to_string(std::lround(weight - fuel)), kL1);
        typeThenPress("0", kR1);
        typeThenPress("0", kL3);
        typeThenPress(std::to_string(std::lround(fuel)), kL2);
        fms().messages.clear();
        lineKey(kR4);
        ASSERT_TRUE(fms().perfInit.initialised) << row(7);
    }
    // The crew's thrust keeps the airspeed on VNAV's speed command.
    void flySpeedCommand() {
        const int32_t command = fms().vnav().state.speedCommandIas;
        flight.holdSpeed(command > 0 ? command : 220.0);
    }
    void fly(double seconds, const std::function<void()>& watch = {}) {
        flight.fly(seconds, [&] {
            flySpeedCommand();
            if (watch) {
                watch();
            }
        });
    }
    bool flyUntil(double seconds, const std::function<bool()>& done) {
        return flight.flyUntil(seconds, done, [this] { flySpeedCommand(); });
    }
};

// The racetrack a hold's page shows: the fix, the inbound course, the turn direction and the leg
// distance, with turns of the radius the hold is laid out with.
struct Racetrack {
    double fixLatitude = 0.0;
    double fixLongitude = 0.0;
    double inboundCourse = 0.0;
    bool rightTurns = true;
    double legLength = 0.0;
    double turnRadius = 0.0;

    // Nautical miles from the racetrack: the turns' circles round the ends of the centre line.
    double distanceFrom(double latitude, double longitude) const {
        const double inbound = inboundCourse * kDegreesToRadians;
        const double side = (inboundCourse + (rightTurns ? 90.0 : -90.0)) * kDegreesToRadians;
        const Local fixCentre{turnRadius * std::sin(side), turnRadius * std::cos(side)};
        const Local farCentre{fixCentre.east - legLength * std::sin(inbound),
                              fixCentre.north - legLength * std::cos(inbound)};
        const Local p = toLocal(latitude, longitude, fixLatitude, fixLongitude);
        return std::fabs(distanceToSegment(p, farCentre, fixCentre) - turnRadius);
    }
};

TEST_F(PathSpeedFlight, AHoldAfterConfirmInitIsFlownAsItsPageShowsIt) {
    // On the leg from ZZAA to P at 6000 ft, towards ZZAD over P and Q.
    flight.startInFlight(47.25, 8.25, 6000.0, 34.0, 220.0);
    openCdu();
    enterRouteEnds("ZZAA", "ZZAD");
    typeThenPress("P", kL2);
    typeThenPress("ZZAD", kL3);
    typeThenPress("Q", kL3);
    ASSERT_EQ(legIdents(), (std::vector<std::string>{"P", "Q", "ZZAD"}));
    engageLnav();
    fly(10.0);
    ASSERT_EQ(flight.fd().lateralMode(), FdLateralMode::Lnav);
    confirmPerformance(6000);

    // PATTERNS from NAV INDEX, its HOLD keyword onto P's line; the page as it comes, activated.
    openHoldingPattern(kL2);
    ASSERT_EQ(fms().currentPage, cdu_page::kHoldingPattern);
    const std::string legTime = row(4);
    const std::string legDistance = row(6);
    const HoldingPattern shown = fms().patternPages.editedHold;
    lineKey(kR4);
    const FlightPlanLeg& p = activeFlightPlan.legs[0];
    ASSERT_EQ(p.holding.active, 1);
    openHoldingPattern(kL2);
    ASSERT_EQ(fms().currentPage, cdu_page::kHoldingPattern);
    EXPECT_EQ(row(4), legTime) << "the leg time laid out is the one shown before";
    EXPECT_EQ(row(6), legDistance) << "and so is the leg distance";

    const Racetrack racetrack{47.5,
                              8.5,
                              shown.inboundCourse,
                              shown.rightTurns != 0,
                              shown.legLength,
                              p.holding.turnRadius};
    ASSERT_TRUE(flyUntil(400.0, [&] { return p.holding.holdInPattern != 0; }));
    // Once round the pattern's far turn the racetrack is flown; two laps are measured.
    ASSERT_TRUE(flyUntil(300.0, [&] { return p.holding.holdPhase == 0; }));
    double farthest = 0.0;
    double slowest = 1e9;
    double fastest = 0.0;
    fly(2 * 4.0 * 60.0 + 60.0, [&] {
        farthest = std::max(farthest, racetrack.distanceFrom(latitude(), longitude()));
        slowest = std::min(slowest, flight.indicatedKnots());
        fastest = std::max(fastest, flight.indicatedKnots());
    });
    std::printf(
        "hold after CONFIRM INIT: page \"%s\" \"%s\", laid out for %.0f kt true, legs %.2f nm, "
        "width %.2f nm; flown at %.0f-%.0f kt indicated, at most %.2f nm off the "
        "racetrack\n",
        legTime.c_str(), legDistance.c_str(), p.holding.holdSpeed, p.holding.legLength,
        2.0 * p.holding.turnRadius, slowest, fastest, farthest);
    EXPECT_EQ(activeFix(), "P") << "still holding";
    EXPECT_NEAR(p.holding.legLength, shown.legLength, 0.05);
    EXPECT_LT(farthest, 0.5);
}

class SidSpeedFlight : public PathSpeedFlight {
protected:
    SidSpeedFlight() : PathSpeedFlight(kTurningDeparture) {}

    // Finds the line that starts with the text on ACTIVE FLT PLAN, page by page, and types the
    // entry on its left or right key.
    void enterOnLine(const std::string& start, int32_t firstKey, const std::string& entry) {
        cduKey(Fms::kFplKey);
        for (int page = 0; page < 4; ++page) {
            for (int32_t line = 1; line <= 3; ++line) {
                if (row(2 * line).rfind(start, 0) == 0) {
                    typeThenPress(entry, firstKey + line - 1);
                    return;
                }
            }
            key(kPageDownKey);
        }
        FAIL() << start << " not on ACTIVE FLT PLAN";
    }
    // Nautical miles from the aircraft to the nearest piece of the legs' paths.
    double distanceFromPath(std::size_t first, std::size_t last) {
        double nearest = 1e9;
        for (std::size_t i = first; i <= last && i < activeFlightPlan.legCount(); ++i) {
            for (const PathSegment& piece : activeFlightPlan.legs[i].path) {
                nearest = std::min(nearest, distanceToPiece(latitude(), longitude(), piece));
            }
        }
        return nearest;
    }
    std::size_t legOf(const std::string& ident) {
        for (std::size_t i = 0; i < activeFlightPlan.legCount(); ++i) {
            if (activeFlightPlan.legs[i].wpt.ident == ident) {
                return i;
            }
        }
        return activeFlightPlan.legCount();
    }
};

TEST_F(SidSpeedFlight, ASidFlownAtItsSpeedConstraintsStaysOnItsTurns) {
    // Climbing out of ZZAA beyond runway 09L at 5000 ft, the SID chosen on DEPARTURE.
    flight.startInFlight(47.0, 8.06, 5000.0, 90.0, 250.0);
    openCdu();
    enterRouteEnds("ZZAA", "ZZAD");
    cduKey(Fms::kNavKey);
    lineKey(kL3);
    ASSERT_EQ(fms().currentPage, cdu_page::kDepartureRunways);
    lineKey(kL2);
    ASSERT_EQ(fms().currentPage, cdu_page::kSids);
    int32_t sidKey = -1;
    for (int32_t line = 1; line <= 3; ++line) {
        const std::string text = row(2 * line);
        if (text.find("?TURN1") == 0) {
            sidKey = kL1 + line - 1;
        } else if (text.find("TURN1?") != std::string::npos) {
            sidKey = kR1 + line - 1;
        }
    }
    ASSERT_GE(sidKey, 0);
    lineKey(sidKey);
    ASSERT_EQ(fms().currentPage, cdu_page::kProcedure);
    lineKey(kR4);
    // The route break after the SID closed by the destination.
    enterOnLine("?????", kL1, "ZZAD");
    ASSERT_EQ(legIdents(),
              (std::vector<std::string>{"*ALT01", "SD1", "SD2", "SD3", "SD4", "ZZAD"}));
    const std::vector<std::string> fixes{"SD1", "SD2", "SD3", "SD4"};
    for (const std::string& fix : fixes) {
        ASSERT_LT(legOf(fix), activeFlightPlan.legCount()) << fix;
        enterOnLine(fix + " ", kR1, "250/");
        ASSERT_TRUE(activeFlightPlan.legs[legOf(fix)].vnav.hasSpeed) << fix;
    }
    // Above the SID's first altitude already: direct to its first fix.
    cduKey(Fms::kDirKey);
    typeThenPress("SD1", kL1);
    ASSERT_EQ(activeFix(), "SD1");
    engageLnav();
    fly(5.0);
    confirmPerformance(5000);
    ASSERT_EQ(flight.fd().lateralMode(), FdLateralMode::Lnav);

    // From the first turn, over SD1, until SD4 is reached.
    const std::size_t first = legOf("SD1");
    const std::size_t last = legOf("SD4");
    ASSERT_TRUE(flyUntil(300.0, [&] {
        const FlightPlanLeg& leg = activeFlightPlan.legs[first];
        return activeFlightPlan.activeLeg == first && leg.segmentIndex + 1 >= leg.path.size();
    }));
    // The fly-by turns over SD1, SD2 and SD3; the SID ends at SD4.
    const std::size_t turns = fixes.size() - 1;
    std::vector<double> farthestInTurn(turns, 0.0);
    double slowest = 1e9;
    double fastest = 0.0;
    ASSERT_TRUE(flight.flyUntil(
        900.0, [&] { return activeFlightPlan.activeLeg > last; },
        [&] {
            flySpeedCommand();
            const std::size_t active = activeFlightPlan.activeLeg;
            // The turn over a fix is the last piece of its leg and the first of the next.
            const std::size_t turn =
                active - first - (activeFlightPlan.legs[active].segmentIndex == 0 ? 1 : 0);
            if (turn < turns) {
                farthestInTurn[turn] =
                    std::max(farthestInTurn[turn], distanceFromPath(first, last + 1));
            }
            slowest = std::min(slowest, flight.indicatedKnots());
            fastest = std::max(fastest, flight.indicatedKnots());
        }));
    std::printf("SID at its 250 kt constraints after CONFIRM INIT: flown at %.0f-%.0f kt "
                "indicated; legs built for",
                slowest, fastest);
    for (std::size_t i = first; i <= last; ++i) {
        std::printf(" %.0f", activeFlightPlan.legs[i].speed);
    }
    std::printf(" kt true; farthest from the path in the turn over and the leg after");
    for (std::size_t i = 0; i < turns; ++i) {
        std::printf(" %s %.2f nm", fixes[i].c_str(), farthestInTurn[i]);
        EXPECT_LT(farthestInTurn[i], 1.0) << fixes[i];
    }
    std::printf("\n");
}

} // namespace
} // namespace tavi::test
