#include "cdu/pages/NavPageKeys.h"
#include "navdata/GcNav.h"
#include "support/CduSession.h"

#include <gtest/gtest.h>

namespace tavi::test {
namespace {

using namespace navpages;

constexpr const char* kZzaaPosition = "N47\u00B000.0 E008\u00B000.0";

// POSITION INIT on the ground, a mile south of ZZAA.
class PositionInit : public testing::Test {
protected:
    PositionInit() {
        cdu.placeAircraft(kSouthLatitude, CduSession::kZzaaLongitude);
        cdu.frame();
    }

    const Waypoint& reference() { return cdu.fms().posInitPage.reference(); }
    // A pilot waypoint at the distance north of the FMS position.
    void addPilotPoint(const std::string& ident, double distance) {
        PilotPoint point;
        point.ident = ident;
        point.ppType = PilotPointType::LatLon;
        GcNav(cdu.fms().position.latitude, cdu.fms().position.longitude)
            .destination(0.0, distance, point.latitude, point.longitude);
        cdu.fms().pilotPoints().add(point);
    }
    void takeOff() {
        cdu.setOnGround(false);
        cdu.panel().setVariable("GROUND VELOCITY", 0, 150.0);
        cdu.frame();
    }

    static constexpr double kSouthLatitude = 47.0 - 1.0 / 60.0;
    CduSession cdu;
};

TEST_F(PositionInit, ProposesTheNearestAirportAndMakesItTheOrigin) {
    cdu.show(kPositionInit);
    EXPECT_EQ(reference().ident, "ZZAA");
    EXPECT_EQ(activeFlightPlan.org.ident, "ZZAA");
    EXPECT_EQ(cdu.row(0), "     POSITION INIT   1/1");
    EXPECT_EQ(cdu.row(1), " LAST POS");
    EXPECT_EQ(cdu.row(2), "N46\u00B059.0 E008\u00B000.0 LOAD\u25BA");
    EXPECT_EQ(cdu.row(3), "ZZAA REF WPT");
    EXPECT_EQ(cdu.row(4), std::string(kZzaaPosition) + " LOAD\u25BA");
    EXPECT_EQ(cdu.row(5), " GPS 1 POS");
    EXPECT_EQ(cdu.row(6), "N46\u00B059.0 E008\u00B000.0 LOAD\u25BA");
    EXPECT_EQ(cdu.row(7), "\u25C4POS SENSORS");
    EXPECT_FALSE(cdu.cell(3, 5).large) << "the REF WPT label";
}

TEST_F(PositionInit, WithoutReferenceTheFieldsAreDashed) {
    cdu.placeAircraft(46.0, 8.0);
    cdu.frame();
    cdu.show(kPositionInit);
    EXPECT_EQ(reference().kind, WaypointKind::Plain);
    EXPECT_EQ(activeFlightPlan.org.kind, WaypointKind::Plain);
    EXPECT_EQ(cdu.row(3), "\u2013\u2013\u2013\u2013\u2013 REF WPT OR");
    EXPECT_EQ(cdu.row(4), "\u2013\u2013\u2013\u00B0\u2013\u2013.\u2013 "
                          "\u2013\u2013\u2013\u2013\u00B0\u2013\u2013.\u2013");
}

TEST_F(PositionInit, ARampPointWithinThreeMilesWinsOverTheAirport) {
    const struct {
        std::vector<std::pair<std::string, double>> points;
        const char* chosen;
    } cases[] = {
        {{{"RAMP3", 2.0}, {"RAMPB", 2.0}}, "RAMP3"},
        {{{"RAMP3", 2.0}, {"RAMPB", 1.9}}, "RAMPB"},
        {{{"RAMPZ", 2.9999}}, "RAMPZ"},
        {{{"RAMP1", 3.01}}, "ZZAA"},
        {{{"RAMP", 0.1}, {"RAMP10", 0.1}}, "ZZAA"},
    };
    for (const auto& c : cases) {
        for (const auto& [ident, distance] : c.points) {
            addPilotPoint(ident, distance);
        }
        cdu.show(kPositionInit);
        EXPECT_EQ(reference().ident, c.chosen) << c.points.front().first;
        for (const auto& point : c.points) {
            cdu.fms().pilotPoints().remove(point.first);
        }
    }
}

TEST_F(PositionInit, AnOriginAlreadySetStays) {
    Waypoint origin;
    origin.kind = WaypointKind::Airport;
    origin.ident = "ZZAE";
    activeFlightPlan.setOrigin(origin, cdu.fms().planContext());
    cdu.show(kPositionInit);
    EXPECT_EQ(reference().ident, "ZZAA");
    EXPECT_EQ(activeFlightPlan.org.ident, "ZZAE");
}

TEST_F(PositionInit, LoadedReferenceStaysWhereThePilotPutItAsTheGpsMoves) {
    cdu.show(kPositionInit);
    cdu.press(kR2);
    EXPECT_TRUE(cdu.fms().position.initialised);
    EXPECT_EQ(cdu.fms().position.loadedFrom, 1);
    cdu.frame();
    EXPECT_NEAR(cdu.fms().position.latitude, 47.0, 1e-6) << "the FMS position is ZZAA";
    EXPECT_NEAR(cdu.fms().position.longitude, 8.0, 1e-6);
    EXPECT_EQ(cdu.row(3), "ZZAA REF WPT   (LOADED)");
    EXPECT_EQ(cdu.row(1), " LAST POS");
    EXPECT_EQ(cdu.row(7), "\u25C4POS SENSORS   FLT PLAN\u25BA");
    cdu.placeAircraft(kSouthLatitude, 8.01);
    cdu.frame();
    EXPECT_NEAR(cdu.fms().position.latitude, 47.0, 1e-4) << "the taxiing aircraft";
    EXPECT_NEAR(cdu.fms().position.longitude, 8.01, 1e-4);
}

TEST_F(PositionInit, LastAndGpsPositionLoadTheGpsPosition) {
    cdu.show(kPositionInit);
    for (const auto& [key, source, loadedRow] : {std::tuple{kR1, 0, 1}, {kR3, 2, 5}}) {
        cdu.press(key);
        cdu.frame();
        EXPECT_EQ(cdu.fms().position.loadedFrom, source);
        EXPECT_DOUBLE_EQ(cdu.fms().position.offsetDistance, 0.0);
        EXPECT_NEAR(cdu.fms().position.latitude, kSouthLatitude, 1e-6);
        EXPECT_TRUE(cdu.row(loadedRow).ends_with("(LOADED)")) << key;
    }
    cdu.press(kR4);
    EXPECT_EQ(cdu.fms().currentPage, kActiveFlightPlan);
}

TEST_F(PositionInit, InTheAirOnlyTheGpsPositionLoadsAndTheReferenceStays) {
    cdu.show(kPositionInit);
    cdu.setOnGround(false);
    cdu.frame();
    cdu.fms().position.initialised = false;
    for (const int32_t key : {kR1, kR2, kR4, kL2}) {
        cdu.type("ZZAB");
        cdu.press(key);
        EXPECT_EQ(cdu.fms().position.loadedFrom, -1) << key;
        EXPECT_EQ(cdu.fms().currentPage, kPositionInit) << key;
        EXPECT_EQ(cdu.scratchpad(), "ZZAB") << key;
        cdu.fms().takeScratchpad();
    }
    EXPECT_EQ(cdu.row(2), "N46\u00B059.0 E008\u00B000.0") << "no LOAD in the air";
    EXPECT_EQ(cdu.row(3), "");
    cdu.press(kR3);
    EXPECT_EQ(cdu.fms().position.loadedFrom, 2) << "not yet airborne";

    takeOff();
    ASSERT_TRUE(cdu.fms().airborne);
    cdu.fms().posInitPage.setPosInitRef(Waypoint{});
    cdu.show(kPositionInit);
    EXPECT_EQ(reference().kind, WaypointKind::Plain) << "no search while airborne";
}

TEST_F(PositionInit, ReferenceEntries) {
    const struct {
        const char* entry;
        int32_t page;
        const char* reference;
        WaypointKind kind;
        const char* pad;
        const char* message;
    } cases[] = {
        {"", kPositionInit, "ZZAA", WaypointKind::Airport, "ZZAA", ""},
        {"ZZAB", kPositionInit, "ZZAB", WaypointKind::Airport, "", ""},
        {"N4710.0E00810.0", kPositionInit, "", WaypointKind::PilotWaypoint, "", ""},
        {"ABC", kWaypointsSelect, "ZZAA", WaypointKind::Airport, "", ""},
        {"NEWPT", kPilotWaypoint, "ZZAA", WaypointKind::Airport, "", ""},
        {"A/B", kPositionInit, "ZZAA", WaypointKind::Airport, "ZZAA", "INVALID ENTRY"},
        {"../X", kPositionInit, "ZZAA", WaypointKind::Airport, "ZZAA", "INVALID ENTRY"},
    };
    for (const auto& c : cases) {
        cdu.show(kPositionInit);
        cdu.enter(c.entry, kL2);
        EXPECT_EQ(cdu.fms().currentPage, c.page) << c.entry;
        EXPECT_EQ(reference().ident, c.reference) << c.entry;
        EXPECT_EQ(reference().kind, c.kind) << c.entry;
        EXPECT_EQ(cdu.scratchpad(), c.pad) << c.entry;
        EXPECT_EQ(cdu.message(), c.message) << c.entry;
        cdu.fms().messages.clear();
        cdu.fms().takeScratchpad();
    }
}

TEST_F(PositionInit, ABarePositionShowsNoIdentButLoads) {
    cdu.show(kPositionInit);
    cdu.enter("N4710.0E00810.0", kL2);
    EXPECT_EQ(cdu.row(3), "\u2013\u2013\u2013\u2013\u2013");
    EXPECT_EQ(cdu.row(4), "N47\u00B010.0 E008\u00B010.0 LOAD\u25BA");
    cdu.press(kR2);
    cdu.frame();
    EXPECT_NEAR(cdu.fms().position.latitude, 47.0 + 10.0 / 60.0, 1e-6);
}

TEST_F(PositionInit, AChoiceFromWaypointsSelectStaysTheReference) {
    cdu.show(kPositionInit);
    cdu.enter("ABC", kL2);
    ASSERT_EQ(cdu.fms().currentPage, kWaypointsSelect);
    cdu.press(kL1);
    EXPECT_EQ(cdu.fms().currentPage, kPositionInit);
    EXPECT_EQ(reference().ident, "ABC") << "the entry action did not run again";
    cdu.show(kPositionInit);
    EXPECT_EQ(reference().ident, "ZZAA") << "showing the page again proposes the airport";

    cdu.enter("ABC", kL2);
    cdu.press(kR1);
    EXPECT_EQ(cdu.fms().currentPage, kPositionInit);
    EXPECT_EQ(cdu.scratchpad(), "ABC") << "RETURN gives the entry back";
    EXPECT_EQ(reference().ident, "ZZAA");
}

TEST_F(PositionInit, AnUnknownIdentIsDefinedOnPilotWaypointAndReturns) {
    cdu.show(kPositionInit);
    cdu.enter("NEWPT", kL2);
    ASSERT_EQ(cdu.fms().currentPage, kPilotWaypoint);
    cdu.enter("N4705.0E00805.0", kL2);
    cdu.press(kR1);
    EXPECT_EQ(cdu.fms().currentPage, kPositionInit);
    EXPECT_EQ(reference().ident, "NEWPT");
    EXPECT_NE(cdu.fms().pilotPoints().find("NEWPT"), nullptr);
}

} // namespace
} // namespace tavi::test
