#include "fms/Fms.h"
#include "support/FlightScenario.h"

#include <gtest/gtest.h>

namespace tavi::test {
namespace {

constexpr double kNmPerDegree = 60.0;

class FmsInFlight : public testing::Test {
protected:
    Fms& fms() { return *flight.aircraft().fms(); }
    std::string closestAirport() {
        Waypoint airport;
        fms().navDatabase().getClosestAirport(airport);
        return airport.ident;
    }
    Waypoint firstFound(const std::string& ident) {
        std::vector<Waypoint> found;
        fms().navDatabase().findWaypoints(ident, found, true);
        return found.empty() ? Waypoint{} : found.front();
    }

    FlightScenario flight;
};

TEST_F(FmsInFlight, NearestAirportFollowsTheAircraftNorth) {
    // 2.5 nm south of ZZAB, flying north towards ZZAC 10 nm beyond it.
    flight.startInFlight(47.0 + 7.5 / kNmPerDegree, 8.0, 5000.0, 0.0, 250.0);
    EXPECT_EQ(closestAirport(), "ZZAB");
    ASSERT_TRUE(flight.flyUntil(
        200.0, [&] { return fms().position.latitude > 47.0 + 17.5 / kNmPerDegree; }));
    EXPECT_EQ(closestAirport(), "ZZAC");
}

TEST_F(FmsInFlight, IdentifierSearchAnswersTheNearestPointFirst) {
    flight.startInFlight(46.2, 7.0, 5000.0, 180.0, 250.0);
    EXPECT_DOUBLE_EQ(firstFound("TWIN").latitude, 46.0);
    flight.simulator().placeInFlight(47.8, 9.0, 5000.0, 0.0, 250.0);
    flight.fly(1.0);
    EXPECT_DOUBLE_EQ(firstFound("TWIN").latitude, 48.0);
}

} // namespace
} // namespace tavi::test
