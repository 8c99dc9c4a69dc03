#include "avionics/Adc.h"
#include "avionics/Ahrs.h"
#include "avionics/Gps.h"
#include "avionics/Radio.h"
#include "cdu/pages/NavPageKeys.h"
#include "support/CduSession.h"

#include <gtest/gtest.h>

namespace tavi::test {
namespace {

using namespace navpages;

constexpr int32_t kAirDataPage = 53;

// PROGRESS over a route ZZAA - P - ZZAE with the sensors set by the test; no frame runs after
// the set-up, so what the test writes is what the page reads.
class Progress : public testing::Test {
protected:
    Progress() {
        cdu.show(kProgress);
        cdu.fms().messages.clear();
    }

    void flyRoute() {
        Waypoint end;
        end.kind = WaypointKind::Airport;
        end.ident = "ZZAA";
        end.latitude = 47.0;
        end.longitude = 8.0;
        activeFlightPlan.setOrigin(end, fms().planContext());
        end.ident = "ZZAE";
        end.aptIdent = "ZZAE";
        end.latitude = 47.6666666666667;
        activeFlightPlan.setDestination(end, fms().planContext());
        if (activeFlightPlan.legs.empty()) {
            ASSERT_TRUE(activeFlightPlan.insertWaypoint(end, 0, false, fms().planContext()));
        }
        Waypoint fix;
        fix.kind = WaypointKind::DatabaseWaypoint;
        fix.ident = "P";
        fix.latitude = 47.5;
        fix.longitude = 8.0;
        ASSERT_TRUE(activeFlightPlan.insertWaypoint(fix, 0, false, fms().planContext()));
        ASSERT_TRUE(activeFlightPlan.routeEndFound);
    }
    Fms& fms() { return cdu.fms(); }
    LnavState& lnav() { return *fms().lnavState(); }
    Adc& adc() { return *cdu.module.aircraft().adc(); }
    Ahrs& ahrs() { return *cdu.module.aircraft().ahrs(); }
    Gps& gps() { return *cdu.module.aircraft().gps(); }
    void redraw() { fms().drawPage(); }

    CduSession cdu;
};

TEST_F(Progress, TheRouteLinesShowTheActiveFixAndTheDestination) {
    EXPECT_EQ(cdu.row(0), "        PROGRESS     1/3");
    EXPECT_EQ(cdu.row(1), " TO    DIST   ETE  FUEL");
    EXPECT_EQ(cdu.row(2), "") << "no route";
    EXPECT_EQ(cdu.row(3), " DEST");
    EXPECT_EQ(cdu.row(5), "         GPS LRN=1 USED");
    EXPECT_EQ(cdu.row(6), "A\u2013\u2013\u2013 0.00      A\u2013\u2013\u2013 0.00");
    EXPECT_EQ(cdu.row(7), "\u25C4NAV 1<\u2013\u2013SELECT\u2013\u2013>NAV 2\u25BA");

    flyRoute();
    FlightPlanLeg& active = activeFlightPlan.legs[activeFlightPlan.activeLeg];
    active.legTime = 600.0;
    active.tfd.fuelRemaining = 9400.0f;
    activeFlightPlan.legs.back().tfd.fuelRemaining = 8600.0f;
    lnav().distanceToGo = 12.3;
    lnav().timeToGo = 180.0;
    lnav().legAlongTrack = 0.0;
    redraw();
    EXPECT_EQ(cdu.at(2, 0, 1), "P");
    EXPECT_EQ(cdu.cell(2, 0).colour, CduColour::Magenta);
    EXPECT_EQ(cdu.at(2, 7, 4), "12.3");
    EXPECT_EQ(cdu.at(2, 13, 5), "00+10") << "on the ground the leg's predicted time";
    EXPECT_EQ(cdu.cell(2, 10).colour, CduColour::Green);
    EXPECT_EQ(cdu.at(4, 0, 4), "ZZAE");
    EXPECT_EQ(cdu.cell(4, 0).colour, CduColour::Green);
    EXPECT_EQ(cdu.at(4, 7, 4), "40.0") << "the whole route ahead";
    EXPECT_EQ(cdu.at(4, 20, 3), "8.6") << cdu.row(4);

    fms().airborne = true;
    redraw();
    EXPECT_EQ(cdu.at(2, 13, 5), "00+03") << "in the air the time LNAV expects";
}

TEST_F(Progress, AnActiveLegWithoutLengthLeavesTheTimeToTheDestinationBlank) {
    flyRoute();
    activeFlightPlan.legs[activeFlightPlan.activeLeg].distance = 0.0;
    lnav().legAlongTrack = 1.0;
    redraw();
    EXPECT_EQ(cdu.at(4, 13, 5), "     ") << cdu.row(4);
}

TEST_F(Progress, PagingWrapsAtBothEnds) {
    cdu.press(kPrev);
    EXPECT_EQ(fms().progressPage.subPage, 3);
    cdu.press(kNext);
    EXPECT_EQ(fms().progressPage.subPage, 1);
    cdu.press(kNext);
    EXPECT_EQ(cdu.row(0), "        PROGRESS     2/3");
    fms().pressKey(Fms::kProgKey);
    EXPECT_EQ(fms().progressPage.subPage, 1) << "PROG opens sub-page 1";
}

TEST_F(Progress, PromptsLeadToTheTuningListAirDataAndFlightSummary) {
    cdu.press(kL4);
    EXPECT_EQ(fms().currentPage, kNavTuneList);
    EXPECT_EQ(fms().radTunePage.navListSide, 1);
    EXPECT_EQ(fms().radTunePage.navListReturnPage, kProgress);
    cdu.show(kProgress, 1);
    cdu.press(kR4);
    EXPECT_EQ(fms().radTunePage.navListSide, 2);
    for (const int32_t subPage : {2, 3}) {
        cdu.show(kProgress, subPage);
        cdu.press(kL4);
        EXPECT_EQ(fms().currentPage, kAirDataPage);
        cdu.show(kProgress, subPage);
        cdu.press(kR4);
        EXPECT_EQ(fms().currentPage, kFlightSummary);
        cdu.show(kProgress, subPage);
        cdu.press(kL3);
        EXPECT_EQ(fms().currentPage, kProgress) << "no NAV fields here";
    }
}

TEST_F(Progress, TheNavFieldsTuneAsOnRadioTuning) {
    cdu.enter("112.3", kL3);
    EXPECT_EQ(fms().radTunePage.nav1, 0x01123000);
    EXPECT_TRUE(fms().radTunePage.nav1Manual);
    EXPECT_EQ(cdu.row(6).substr(0, 11), "MVTX 112.30");
    fms().setScratchpad("*DELETE*");
    cdu.press(kL3);
    EXPECT_EQ(cdu.at(6, 0, 1), "A");
    EXPECT_FALSE(fms().radTunePage.nav1Manual);

    const RadTunePage before = fms().radTunePage;
    cdu.enter("A/B", kR3);
    EXPECT_EQ(cdu.message(), "INVALID ENTRY");
    EXPECT_EQ(cdu.scratchpad(), "A/B");
    EXPECT_EQ(fms().radTunePage.nav2, before.nav2);
    EXPECT_EQ(fms().radTunePage.nav2Manual, before.nav2Manual);
}

TEST_F(Progress, TheCommandFallsBackToTheSpeedLimits) {
    flyRoute();
    cdu.show(kProgress, 2);
    EXPECT_EQ(cdu.row(1), "  SPD/ALT CMD");
    EXPECT_EQ(cdu.row(2), "") << "performance not initialised";
    EXPECT_EQ(cdu.row(3), "  TOC         FUEL QTY");
    EXPECT_EQ(cdu.row(5), "  TOD         GROSS WT");
    EXPECT_EQ(cdu.row(7), "\u25C4AIR DATA       FLT SUM\u25BA");
    fms().perfInit.initialised = true;
    redraw();
    EXPECT_EQ(cdu.row(2).substr(0, 5), " VMO/") << "VMO is the lower at a low altitude";
    EXPECT_EQ(cdu.cell(2, 1).colour, CduColour::Cyan);
}

TEST_F(Progress, TopOfClimbAndDescentShowDistanceAndTimeToGo) {
    flyRoute();
    // ZZAA to P is the 30 nm active leg, 10 nm of it flown; on the ground its time to go is its
    // predicted 300 s. Times are shown in whole minutes, cut.
    activeFlightPlan.legs[0].legTime = 300.0;
    lnav().legAlongTrack = 10.0;
    PerfInit& perf = fms().perfInit;
    perf.initialised = true;
    perf.prediction[PerfPrediction::TocDistance] = 40.0f;
    perf.prediction[PerfPrediction::TocTime] = 560.0f;
    perf.prediction[PerfPrediction::TodDistance] = 25.0f;
    cdu.show(kProgress, 2);
    EXPECT_EQ(cdu.row(4).substr(0, 13), " 30.0NM/00+07") << "560 s less the 100 s flown";
    EXPECT_EQ(cdu.row(6).substr(0, 13), " 15.0NM/00+02") << "half the active leg's 300 s";
    EXPECT_EQ(cdu.cell(4, 1).colour, CduColour::Green);
    EXPECT_TRUE(cdu.cell(4, 1).large);
    EXPECT_FALSE(cdu.cell(4, 5).large) << "NM is small";

    perf.climbDone = true;
    perf.prediction[PerfPrediction::TodDistance] = 10.05f;
    redraw();
    EXPECT_EQ(cdu.row(4).substr(0, 5), " PAST");
    EXPECT_EQ(cdu.row(6).substr(0, 5), " PAST") << "less than 0.1 nm to go";
}

// The vertical speed at the top of descent: the path angle of the leg the TOD lies on, at that
// leg's descent speed (or the descent schedule's 310 kt / .76 without a constraint), in the
// entered wind brought down to the TOD altitude. Both legs of the route run north.
TEST_F(Progress, VerticalSpeedAtTheTopOfDescent) {
    flyRoute();
    PerfInit& perf = fms().perfInit;
    perf.initialised = true;
    perf.prediction[PerfPrediction::TocDistance] = 5.0f;
    activeFlightPlan.legs[0].vnav.pathAngle = 3.0f;
    activeFlightPlan.legs[1].vnav.pathAngle = 4.0f;
    const struct {
        const char* name;
        float todDistance;
        float todAltitude;
        int32_t speed;
        float mach;
        int32_t windFromNorth;
        int32_t windAltitude;
        const char* shown;
    } cases[] = {
        {"250 kt at 10000 ft, 289 kt true", 25.0f, 10000.0f, 250, 0.0f, 0, 0, "1500"},
        {"the leg beyond P, 4 degrees", 35.0f, 10000.0f, 250, 0.0f, 0, 0, "2000"},
        {"Mach .74 at FL300, 436 kt true", 25.0f, 30000.0f, 0, 0.74f, 0, 0, "2300"},
        {"the smaller of 300 kt and .74", 25.0f, 30000.0f, 300, 0.74f, 0, 0, "2300"},
        {"no constraint: the schedule's 310 kt", 25.0f, 10000.0f, 0, 0.0f, 0, 0, "1900"},
        {"60 kt headwind entered at and below the TOD", 25.0f, 10000.0f, 250, 0.0f, 60, 8000,
         "1200"},
        {"half way down to 5 kt at the ground", 25.0f, 10000.0f, 250, 0.0f, 55, 20000, "1400"},
    };
    for (const auto& c : cases) {
        perf.prediction[PerfPrediction::TodDistance] = c.todDistance;
        perf.prediction[PerfPrediction::TodAltitude] = c.todAltitude;
        for (FlightPlanLeg& leg : activeFlightPlan.legs) {
            leg.vnav.speed = c.speed;
            leg.vnav.mach = c.mach;
        }
        perf.crzWindDir = 0;
        perf.crzWindStrength = c.windFromNorth;
        perf.crzWindAlt = c.windAltitude;
        cdu.show(kProgress, 2);
        EXPECT_EQ(cdu.at(1, 17, 6), "VS@TOD") << c.name;
        EXPECT_EQ(cdu.at(2, 18, 5), std::string(c.shown) + "\u2193") << c.name;
        EXPECT_EQ(cdu.cell(2, 21).colour, CduColour::Cyan) << c.name;
    }

    lnav().legAlongTrack = 10.0;
    perf.prediction[PerfPrediction::TodDistance] = 10.05f;
    redraw();
    EXPECT_EQ(cdu.row(1), "  SPD/ALT CMD") << "past the TOD: no vertical speed";
    EXPECT_EQ(cdu.row(6).substr(0, 5), " PAST");
}

TEST_F(Progress, WeightsShowOnceAllAreEntered) {
    cdu.show(kProgress, 2);
    fms().perfInit.passengerCount = -1;
    fms().perfInit.fuelWeight = 5000.0;
    redraw();
    EXPECT_EQ(cdu.at(4, 15, 8), "        ") << "passengers not entered";
    fms().perfInit.passengerCount = 0;
    fms().perfInit.bow = 28000.0;
    fms().perfInit.cargoWeight = 0.0;
    fms().fuelUseKg = true;
    redraw();
    EXPECT_EQ(cdu.row(4).substr(19), "2270") << "kilograms rounded to tens";
    EXPECT_EQ(cdu.cell(4, 22).colour, CduColour::Cyan);
    fms().fuelUseKg = false;
    redraw();
    EXPECT_EQ(cdu.row(4).substr(19), "5000");
    EXPECT_EQ(cdu.row(6).substr(18), "33000");
}

TEST_F(Progress, CrossTrackErrorTakesItsFormBySize) {
    const struct {
        double crossTrack;
        const char* shown;
    } cases[] = {
        {0.004, " 0.0NM"},  {0.5, " R0.50NM"},   {-12.34, " L12.3NM"},
        {127.0, " R127NM"}, {-0.996, " L1.0NM"}, {130.0, " "},
    };
    cdu.show(kProgress, 3);
    for (const auto& c : cases) {
        lnav().crossTrackError = c.crossTrack;
        redraw();
        const std::string row = cdu.row(2);
        EXPECT_EQ(row.substr(0, std::strlen(c.shown)), c.shown) << c.crossTrack << " " << row;
        if (c.crossTrack >= 128.0) {
            EXPECT_EQ(cdu.at(2, 1, 6), "      ");
        }
    }
    EXPECT_EQ(cdu.cell(2, 22).colour, CduColour::Green);
    EXPECT_EQ(cdu.at(2, 22, 2), "NM");
}

TEST_F(Progress, TrackDriftWindAndGroundSpeed) {
    cdu.show(kProgress, 3);
    fms().heading.activeMag = false;
    ahrs().unit1.token86Value = 359.0f;
    gps().trueTrack = 1.0f;
    gps().groundSpeed = 250.0f;
    adc().windDirection = 270.0f;
    adc().windSpeed = 25.0f;
    redraw();
    EXPECT_EQ(cdu.row(3), "  TRACK   DRIFT    HDG");
    EXPECT_EQ(cdu.at(4, 1, 4), "001T");
    EXPECT_EQ(cdu.at(4, 11, 2), "2\u00B0");
    EXPECT_EQ(cdu.at(4, 19, 4), "359T");
    EXPECT_EQ(cdu.at(6, 1, 7), "270T/25");
    EXPECT_EQ(cdu.at(6, 20, 3), "250");
    // Wind from 270 on heading 359: almost all from the left, a little from ahead.
    EXPECT_EQ(cdu.at(5, 15, 3), "\u2013\u2013>");
    EXPECT_EQ(cdu.at(6, 12, 2), "\u2193"
                                "0")
        << cdu.row(6);
    EXPECT_EQ(cdu.at(6, 15, 2), "25");

    gps().groundSpeed = 5.0f;
    redraw();
    EXPECT_EQ(cdu.at(4, 1, 4), "359T") << "slow: the heading is the track";
    EXPECT_EQ(cdu.at(4, 11, 2), "0\u00B0");
}

} // namespace
} // namespace tavi::test
