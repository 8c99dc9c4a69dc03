// The multifunction displays on the stand-in's flight model: cold and dark, on the runway and in
// the take-off roll with the field around the aircraft, cruising along a route with a hold and an
// orbit at every range, the heading lost with its avionics master, the ILS approach on the NAV
// source, and a traffic advisory that brings up the TCAS page.
#include "airframe/Electric.h"
#include "avionics/Ahrs.h"
#include "avionics/FlightDirector.h"
#include "avionics/Tcas.h"
#include "avionics/Transponder.h"
#include "displays/Mfd.h"
#include "fms/GlobalFlightPlans.h"
#include "navdata/FlatEarth.h"
#include "platform/gfx/Surface.h"
#include "sim/Geodesy.h"
#include "support/FlightScenario.h"
#include "support/IlsApproach.h"
#include "support/MapRoute.h"
#include "support/ScreenInk.h"
#include "support/ScreenShots.h"
#include "support/TempFolder.h"

#include <algorithm>
#include <cmath>
#include <gtest/gtest.h>
#include <numbers>
#include <string>

namespace tavi::test {
namespace {

class MfdFlightTest : public testing::Test {
protected:
    ~MfdFlightTest() override {
        resetGlobalFlightPlans();
        TransponderMode = kTransponderStandby;
    }

    Mfd& mfd(int side = 1) {
        return *static_cast<Mfd*>(flight.aircraft().display(side == 1 ? kMfdLeft : kMfdRight));
    }
    // Draws the side's screen at its logical size and keeps a picture of the state.
    void draw(const std::string& state, int side = 1) {
        const int slot = side == 1 ? kMfdLeft : kMfdRight;
        ASSERT_TRUE(drawScreen(mfd(side), slot, surface)) << state;
        EXPECT_FALSE(writeScreenState(flight.aircraft(), slot, folder.path(), state).empty());
    }
    int count(uint32_t colour, double x, double y, double width, double height) const {
        return inkCount(surface, colour, x, y, width, height);
    }
    // Where a point of the earth stands on the heading-up map of side 1, from the FMS position.
    platform::gfx::PointF onMap(double latitude, double longitude) {
        const Fms& fms = *flight.aircraft().fms();
        const FlatEarth origin(fms.position.latitude, fms.position.longitude);
        double east = 0.0;
        double north = 0.0;
        double distance = 0.0;
        double bearing = 0.0;
        origin.offsetTo(latitude, longitude, east, north, distance, bearing);
        const double scale = 162.0 / mfd().range();
        const double angle = (bearing - flight.headingTrue()) * std::numbers::pi / 180.0;
        return {200.0 + scale * distance * std::sin(angle),
                212.0 - scale * distance * std::cos(angle)};
    }
    void press(std::initializer_list<int> inputs) {
        for (int input : inputs) {
            mfd().onButton(input);
        }
    }

    FlightScenario flight;
    platform::gfx::Surface surface{400, 476};
    TempFolder folder;
};

TEST(MfdColdAndDark, BothScreensStayBlack) {
    FlightScenario dark("[Startup]\nstartupMode=0\n");
    dark.simulator().placeOnGround(47.0, 7.98, 90.0);
    dark.module.startModule();
    dark.fly(2.0);
    TempFolder folder;
    platform::gfx::Surface surface{400, 476};
    for (int slot : {kMfdLeft, kMfdRight}) {
        ASSERT_TRUE(drawScreen(*dark.aircraft().display(slot), slot, surface));
        EXPECT_EQ(inkCount(surface, 0xFF000000, 0, 0, 400, 476), 400 * 476) << slot;
        EXPECT_FALSE(writeScreenState(dark.aircraft(), slot, folder.path(), "ColdAndDark").empty());
    }
}

TEST_F(MfdFlightTest, OnTheRunwayTheFieldAndItsNavaidsStandAroundTheAircraft) {
    ASSERT_TRUE(flight.startOnRunway("ZZAA", "09L"));
    press({1, 3, 3, 3, 0, Mfd::kKnobSmallUp});
    flight.fly(0.5);
    ASSERT_TRUE(mfd().nearbyDataLoaded);
    bool secondaryFound = false;
    bool tenMilesNorth = false;
    for (const Airport& airport : mfd().nearbyAirports) {
        secondaryFound = secondaryFound || airport.ident == "ZZAX";
        tenMilesNorth = tenMilesNorth || airport.ident == "ZZAB";
    }
    EXPECT_FALSE(secondaryFound) << "only primary airports";
    EXPECT_TRUE(tenMilesNorth) << "a 10 nm range still searches 30 nm";
    draw("TakeOffStand");
    const auto field = onMap(47.0, 8.0);
    EXPECT_GT(count(Mfd::kCyan, field.x - 8, field.y - 8, 16, 16), 15) << "ZZAA's circle";
    const auto ndb = onMap(47.05, 8.1);
    EXPECT_GT(count(Mfd::kGreen, ndb.x - 8, ndb.y - 8, 16, 16), 15) << "NDB AB";

    const int32_t fetches = mfd().nearbyFetchCount();
    if (flight.simulator().panel.token(323) != 0.0) {
        flight.pressKey(FlightScenario::kParkingBrakeKey);
    }
    flight.setThrustLevers(72.0);
    ASSERT_TRUE(flight.flyUntil(90.0, [&] { return flight.indicatedKnots() >= 100.0; }));
    draw("TakeOffRoll");
    EXPECT_EQ(mfd().nearbyFetchCount(), fetches) << "the roll stays within 0.2 degrees";
    EXPECT_EQ(count(Mfd::kMagenta, 10, 175, 100, 30), 0) << "no wind on the ground";
}

TEST_F(MfdFlightTest, CruiseAlongTheRouteAtEveryRangeInBothViews) {
    flight.startInFlight(47.35, 8.25, 10000.0, 45.0, 250.0);
    ASSERT_TRUE(enterMapRoute(*flight.aircraft().fms()));
    flight.fly(2.0);
    press({1, 3, 3, 3, 0});
    const FlightPlan& plan = activeFlightPlan;
    ASSERT_LT(plan.activeLeg, plan.legs.size());
    EXPECT_EQ(plan.legs[plan.activeLeg].wpt.ident, "ABC");
    const auto arc = std::find_if(plan.legs.begin(), plan.legs.end(), [](const FlightPlanLeg& leg) {
        return !leg.path.empty() && leg.path.front().turnDirection != kSegmentStraight;
    });
    EXPECT_NE(arc, plan.legs.end()) << "a fly-by turn on the route";
    for (int i = 0; i < 9; ++i) {
        mfd().rangeIndex = i;
        flight.fly(0.1);
        draw("Cruise" + std::to_string(mfd().range()) + "Nm");
        if (mfd().range() == 25) {
            const auto active = onMap(47.2, 8.3);
            EXPECT_GT(count(Mfd::kMagenta, active.x - 10, active.y - 10, 20, 20), 15)
                << "ABC's star is magenta";
        }
    }
    press({5});
    for (int i = 0; i < 9; ++i) {
        mfd().rangeIndex = i;
        flight.fly(0.1);
        draw("CruisePlan" + std::to_string(mfd().range()) + "Nm");
    }
    mfd().rangeIndex = 2;
    press({1, 2, 1, 1});
    EXPECT_EQ(plan.nextFixOffset, 1) << "SKP twice steps to the fix after the active one";
    draw("CruisePlanCentredOnP");
    EXPECT_GT(count(0xFFF5F5F5, 190, 122, 20, 16), 20) << "the aircraft stays in the centre";
    press({2, 2});
    EXPECT_EQ(plan.nextFixOffset, -1);
}

TEST_F(MfdFlightTest, HeadingLostWithItsAvionicsMasterShowsTheFlagAndNothingOnTheMap) {
    flight.startInFlight(47.35, 8.25, 10000.0, 45.0, 250.0);
    ASSERT_TRUE(enterMapRoute(*flight.aircraft().fms()));
    press({1, 3, 3, 3, 0});
    flight.aircraft().electric()->avionicsMaster1 = false;
    flight.fly(1.0);
    ASSERT_FALSE(mfd(1).unpowered) << "MFD 1 is fed from the other side";
    draw("HeadingFailed");
    EXPECT_GT(count(Mfd::kRed, 178, 92, 44, 32), 30) << "HDG FAIL";
    EXPECT_GT(count(Mfd::kYellow, 180, 16, 40, 22), 10) << "dashes for the heading";
    EXPECT_EQ(count(Mfd::kMagenta, 60, 50, 280, 230), 0) << "no track pointer nor plan";
}

TEST_F(MfdFlightTest, TheHeadingBugStandsOnTheArcOrPointsToItsSide) {
    flight.startInFlight(47.0, 8.0, 10000.0, 90.0, 250.0);
    const double heading = flight.aircraft().ahrs()->unit1.heading;
    const struct {
        double offset;
        bool left, right, onArc;
    } cases[] = {{-90, true, false, false},
                 {90, false, true, false},
                 {30, false, false, true},
                 {-63, false, false, true},
                 {64, false, true, false}};
    for (const auto& c : cases) {
        flight.setHeadingBug(static_cast<int32_t>(std::lround(heading + c.offset + 360.0)) % 360);
        flight.fly(0.5);
        draw("HeadingBug" + std::to_string(static_cast<int>(c.offset)));
        const double b = (flight.fd().headingBug() - flight.aircraft().ahrs()->unit1.heading) *
                         std::numbers::pi / 180.0;
        const double x = 200.0 + 170.0 * std::sin(b);
        const double y = 212.0 - 170.0 * std::cos(b);
        EXPECT_EQ(count(Mfd::kCyan, 14, 98, 24, 24) > 10, c.left) << c.offset;
        EXPECT_EQ(count(Mfd::kCyan, 362, 98, 24, 24) > 10, c.right) << c.offset;
        EXPECT_EQ(count(Mfd::kCyan, x - 10, y - 10, 20, 20) > 10, c.onArc) << c.offset;
    }
}

TEST_F(MfdFlightTest, IlsApproachShowsTheStationOnTheNavSource) {
    IlsApproach approach(flight);
    approach.setUp();
    flight.fly(5.0);
    draw("IlsApproach");
    EXPECT_GT(count(Mfd::kGreen, 16, 35, 40, 20), 20) << "IAAL";
    EXPECT_GT(count(Mfd::kGreen, 16, 55, 36, 20), 20) << "DME distance";
    EXPECT_GT(count(Mfd::kMagenta, 10, 175, 100, 30), 10) << "wind in the air";
}

TEST_F(MfdFlightTest, ATrafficAdvisoryBringsUpTheTcasPageUntilItEnds) {
    flight.startInFlight(47.0, 8.0, 10000.0, 90.0, 250.0);
    TransponderMode = kTransponderTaRa;
    mfd().onButton(0);
    mfd().onButton(2);
    flight.fly(3.0);
    const sim::FlightState& own = flight.simulator().flight.state();
    const sim::GeoPoint ahead = sim::destination({own.latitude, own.longitude}, 90.0, 9.0);
    flight.simulator().traffic.addIntruder(
        77, sim::TrafficStart::absolute(ahead, flight.altitudeFeet() + 300.0), {270.0, 250.0, 0.0});
    const sim::GeoPoint far = sim::destination({own.latitude, own.longitude}, 200.0, 5.0);
    flight.simulator().traffic.addIntruder(
        78, sim::TrafficStart::absolute(far, flight.altitudeFeet() + 1500.0), {90.0, 250.0, 0.0});
    flight.fly(4.0);
    draw("TrafficAround", 2);
    EXPECT_EQ(mfd(2).lowerPage, Mfd::kEnginePage);
    ASSERT_TRUE(flight.flyUntil(60.0, [&] { return mfd().lowerPage == Mfd::kTcasPage; }));
    EXPECT_TRUE(mfd().tcasPoppedUp);
    draw("TrafficAdvisory");
    EXPECT_GT(count(Mfd::kYellow, 180, 236, 40, 14), 20)
        << "the intruder's yellow circle, pulled in to the range ring ahead";
    EXPECT_GT(count(0xFFFFFFFF, 72, 231, 40, 16), 10) << "TCAS";
    ASSERT_TRUE(flight.flyUntil(90.0, [&] { return mfd().lowerPage != Mfd::kTcasPage; }));
    EXPECT_EQ(mfd().lowerPage, Mfd::kEnvironmentPage) << "back to the page shown before";
    draw("TrafficAdvisoryEnded");
}

} // namespace
} // namespace tavi::test
