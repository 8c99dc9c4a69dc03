#include "fms/LegConstraints.h"
#include "navdata/GcNav.h"
#include "support/CduPlanSession.h"

#include <algorithm>

namespace tavi::test {
namespace {

// Points typed on ACTIVE FLT PLAN over the route ZZAA, P, Q, R, S, ZZAD: each lands where the
// pilot meant it, or is refused and the route stays as it was.
class RoutePointEntryTest : public CduPlanSession {
protected:
    RoutePointEntryTest() {
        useKeyboard();
        typeRoute();
    }

    const std::vector<std::string> route = {"P", "Q", "R", "S", "ZZAD"};
};

// P and Q lie 13 nm apart. Radials that are parallel or nearly so cross hundreds or thousands of
// miles away; crossings within reach of both places are made.
TEST_F(RoutePointEntryTest, RadialsThatCrossFarAwayDoNotIntersect) {
    ASSERT_EQ(legIdents(activeFlightPlan), route);
    const struct {
        const char* entry;
        double nearestNm;
    } refused[] = {
        {"P/090/Q/090", 8700.0}, // one crossing half the earth away
        {"P/000/Q/000", 2500.0}, // at the pole
        {"P/090/Q/091", 400.0},
    };
    for (const auto& c : refused) {
        enter(c.entry, kL3);
        EXPECT_EQ(message(), "RADIALS DO NOT INTERSECT") << c.entry;
        EXPECT_EQ(fms().scratchPad.text(), c.entry);
        EXPECT_EQ(legIdents(activeFlightPlan), route) << c.entry;
    }
    const struct {
        const char* entry;
        double fromPNm;
    } made[] = {
        {"P/090/Q/093", 129.0},
        {"P/090/Q/180", 8.0},
    };
    for (const auto& c : made) {
        enter(c.entry, kL3);
        EXPECT_EQ(message(), "") << c.entry;
        const Waypoint& point = activeFlightPlan.legs[1].wpt;
        EXPECT_EQ(point.ident.substr(0, 3), "*RR") << c.entry;
        EXPECT_NEAR(GcNav::distanceBetween(47.5, 8.5, point.latitude, point.longitude), c.fromPNm,
                    3.0)
            << c.entry;
        enter("*DELETE*", kL3);
        ASSERT_EQ(legIdents(activeFlightPlan), route);
    }
}

// Q lies 10.1 nm after P: a place/distance point before Q must lie on that leg.
TEST_F(RoutePointEntryTest, APointBeforeAFixLiesOnTheLegBeforeIt) {
    const double legToQ = activeFlightPlan.legs[1].distance;
    ASSERT_NEAR(legToQ, 10.1, 0.1);
    for (const char* beyond : {"Q/-30", "Q/-10.2", "Q/-20.2"}) {
        enter(beyond, kL3);
        EXPECT_EQ(message(), "INVALID ENTRY") << beyond;
        EXPECT_EQ(legIdents(activeFlightPlan), route) << beyond;
    }
    enter("Q/-4", kL3);
    ASSERT_EQ(activeFlightPlan.legs[1].wpt.ident.substr(0, 3), "*PD");
    const Waypoint& point = activeFlightPlan.legs[1].wpt;
    const Waypoint& q = activeFlightPlan.legs[2].wpt;
    EXPECT_NEAR(GcNav::distanceBetween(point.latitude, point.longitude, q.latitude, q.longitude),
                4.0, 0.05);
    EXPECT_NEAR(activeFlightPlan.legs[1].distance, legToQ - 4.0, 0.05);
}

TEST_F(RoutePointEntryTest, PositionsOffTheEarthAreRefused) {
    for (const char* off :
         {"N9030.0E00800.0", "S9000.1E00800.0", "N4700.0E18030.0", "N4700.0W18000.1", "N91E008"}) {
        enter(off, kL3);
        EXPECT_EQ(message(), "INVALID ENTRY") << off;
        EXPECT_EQ(legIdents(activeFlightPlan), route) << off;
    }
    enter("N4733.0E00836.0", kL3);
    EXPECT_EQ(activeFlightPlan.legs[1].wpt.ident.substr(0, 3), "*LL");
    EXPECT_NEAR(activeFlightPlan.legs[1].wpt.latitude, 47.55, 1e-9);
}

// A Mach number with two digits after the point is in hundredths.
TEST_F(RoutePointEntryTest, MachDigitsAreTenthsOrHundredths) {
    const struct {
        const char* entry;
        bool taken;
        float mach;
    } cases[] = {
        {".09/FL300", false, 0.0f},
        {".9/FL300", true, 0.90f},
        {".79/FL300", true, 0.79f},
    };
    for (const auto& c : cases) {
        enter(c.entry, kR3);
        const LegConstraints& atQ = activeFlightPlan.legs[1].vnav;
        if (c.taken) {
            EXPECT_FLOAT_EQ(atQ.mach, c.mach) << c.entry;
            EXPECT_EQ(message(), "") << c.entry;
        } else {
            EXPECT_EQ(message(), "INVALID ENTRY") << c.entry;
            EXPECT_EQ(atQ.mach, 0.0f) << c.entry;
        }
    }
}

// Typing a definition again makes a new point where the first one lies; it goes in at the line
// like any new point and takes no leg away. Only the point's own name goes direct to it.
TEST_F(RoutePointEntryTest, ADefinitionTypedAgainIsANewPointAtTheLine) {
    enter("P/090/Q/180", kL3);
    const std::string first = activeFlightPlan.legs[1].wpt.ident;
    ASSERT_EQ(legIdents(activeFlightPlan),
              (std::vector<std::string>{"P", first, "Q", "R", "S", "ZZAD"}));
    enter("P/090/Q/180", kL2);
    const std::string second = activeFlightPlan.legs[0].wpt.ident;
    EXPECT_NE(second, first);
    EXPECT_EQ(legIdents(activeFlightPlan),
              (std::vector<std::string>{second, "P", first, "Q", "R", "S", "ZZAD"}));
    enter(first, kL2);
    EXPECT_EQ(legIdents(activeFlightPlan), (std::vector<std::string>{first, "Q", "R", "S", "ZZAD"}))
        << "the name of a point ahead goes direct to it";
}

// The vertical fields of a leg's data row right of its time, which ends in column 11.
std::string verticalFields(const std::string& dataRow) {
    return dataRow.size() > 12 ? dataRow.substr(12) : std::string();
}

// After the predictions ran over the whole route, with the top of descent on one leg and an
// altitude window on another: no leg shows a speed of "0", and every leg's time stays whole.
// The window is one a departure or arrival from the database brings; the legs' predictions run
// as the module runs them.
TEST_F(RoutePointEntryTest, EveryLegShowsItsTimeAndNoSpeedOfZero) {
    enterPerformance();
    // CONFIRM INIT on the last sub-page of PERFORMANCE INIT.
    fms().setPage(20, 5);
    fms().pressKey(kR4);
    ASSERT_TRUE(fms().perfInit.initialised);
    ASSERT_TRUE(FmsParser::parseAltitudeWindow("FL240AFL280B", activeFlightPlan.legs[1].vnav));
    activeFlightPlan.recalculate(fms().planContext());
    for (int frame = 0; frame < 60; ++frame) {
        module.simulator.step();
    }
    const auto withoutSpeed = std::find_if(
        activeFlightPlan.legs.begin(), activeFlightPlan.legs.end(), [](const FlightPlanLeg& leg) {
            return leg.vnav.phase == kPhaseDescent && leg.vnav.speed == 0 &&
                   leg.vnav.mach == 0.0f && !leg.vnav.hasAltitude;
        });
    ASSERT_NE(withoutSpeed, activeFlightPlan.legs.end())
        << "a predicted descent leg without a speed";
    const int32_t pages = ActiveFplPage::pageCount();
    for (int32_t page = 1; page <= pages; ++page) {
        fms().setPage(Fms::kActiveFlightPlanPage, page);
        for (int32_t r : {2, 4, 6}) {
            const std::string data = row(r);
            const std::string ident = data.substr(0, data.find(' '));
            const auto leg = std::find_if(
                activeFlightPlan.legs.begin(), activeFlightPlan.legs.end(),
                [&](const FlightPlanLeg& l) { return l.hasFix() && l.wpt.ident == ident; });
            if (ident.empty() || leg == activeFlightPlan.legs.end()) {
                continue;
            }
            EXPECT_EQ(data.substr(7, 5), FmsParser::formatElapsedTime(leg->legTime)) << data;
            EXPECT_EQ(verticalFields(data).find(" 0/"), std::string::npos) << data;
            EXPECT_NE(verticalFields(data).substr(0, 2), "0/") << data;
            if (leg == withoutSpeed) {
                EXPECT_NE(data.find("---/"), std::string::npos) << data;
            }
        }
    }
    screenshot("ActiveFltPlanPredicted");
}

} // namespace
} // namespace tavi::test
