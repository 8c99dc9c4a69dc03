#include "avionics/Adc.h"
#include "avionics/Baro.h"
#include "cdu/pages/CduPageIds.h"
#include "cdu/pages/NavPageKeys.h"
#include "support/CduSession.h"
#include "support/ProcedureSession.h"

#include <gtest/gtest.h>

namespace tavi::test {
namespace {

using namespace navpages;

constexpr int32_t kTakeoffPage = 50;
constexpr int32_t kLandingPage = 51;

// TAKEOFF and LANDING with the sensors the test sets; no frame runs after the set-up.
class RunwayData : public testing::Test {
protected:
    RunwayData() {
        cdu.module.aircraft().adc()->staticAirTemperature = 15.0f;
        cdu.show(kTakeoffPage);
    }
    Fms& fms() { return cdu.fms(); }
    RunwayDataPage& takeoff() { return fms().takeoffPage; }
    void giveRunway(float magneticHeading) {
        takeoff().runway.ident = "RW27R";
        takeoff().runway.aptIdent = "ZZAA";
        takeoff().runway.length = 11000;
        takeoff().runway.elevation = 1410;
        takeoff().runway.magneticHeading = magneticHeading;
    }

    CduSession cdu;
};

TEST_F(RunwayData, ANewPageShowsTheSensorTemperatureAndNoWind) {
    EXPECT_EQ(cdu.row(0), "        TAKEOFF      1/2");
    EXPECT_EQ(cdu.row(1), " RUNWAY          LENGTH");
    EXPECT_EQ(cdu.row(2), "\u2013\u2013\u2013                \u2013\u2013\u2013\u2013\u2013");
    EXPECT_EQ(cdu.row(3), " OAT<\u2013\u2013\u2013SURFACE\u2013\u2013\u2013>WIND");
    EXPECT_EQ(cdu.row(4), " +15\u00B0C/+59\u00B0F    \u2013\u2013\u2013\u00B0/\u2013\u2013\u2013");
    EXPECT_EQ(cdu.row(5), " P ALT/B SET       ELEV");
    EXPECT_EQ(cdu.row(6), "\u2013\u2013\u2013\u2013/29.92          \u2013\u2013\u2013\u2013");
    EXPECT_EQ(cdu.row(7), "\u25C4PERF DATA        CLIMB\u25BA");
    EXPECT_EQ(cdu.cell(4, 1).colour, CduColour::Cyan);
    EXPECT_EQ(cdu.cell(2, 0).colour, CduColour::Green);
}

TEST_F(RunwayData, EntriesAndRefusals) {
    const struct {
        const char* entry;
        int32_t key;
        const char* row4;
    } accepted[] = {
        {"/59", kL2, " +15\u00B0C/+59\u00B0F"},
        {"-5", kL2, " -5\u00B0C/+23\u00B0F"},
        {"270", kR2, "270\u00B0/00"},
        {"/15", kR2, "270\u00B0/15"},
    };
    for (const auto& c : accepted) {
        cdu.enter(c.entry, c.key);
        EXPECT_EQ(cdu.scratchpad(), "") << c.entry;
        EXPECT_NE(cdu.row(4).find(c.row4), std::string::npos) << c.entry << ": " << cdu.row(4);
    }
    EXPECT_FALSE(takeoff().oatFromSensor);
    EXPECT_TRUE(takeoff().windEntered);

    const RunwayDataPage before = takeoff();
    for (const auto& [entry, key] : {std::pair{"-81", kL2},
                                     {"55", kL2},
                                     {"361/10", kR2},
                                     {"270/251", kR2},
                                     {"*DELETE*", kL2}}) {
        fms().setScratchpad(entry);
        cdu.press(key);
        EXPECT_EQ(cdu.message(), "INVALID ENTRY") << entry;
        // The message takes a "*DELETE*" off the pad; other entries stay for correction.
        EXPECT_EQ(cdu.scratchpad(), std::string_view(entry) == "*DELETE*" ? "" : entry);
        EXPECT_EQ(takeoff().oat, before.oat) << entry;
        EXPECT_EQ(takeoff().windDirection, before.windDirection) << entry;
        EXPECT_EQ(takeoff().windSpeed, before.windSpeed) << entry;
        fms().messages.clear();
        fms().takeScratchpad();
    }
    cdu.press(kL2);
    EXPECT_EQ(cdu.message(), "") << "an empty pad does nothing";
    cdu.press(kNext);
    cdu.enter("10", kL2);
    EXPECT_EQ(cdu.scratchpad(), "10") << "no entries on sub-page 2";
}

TEST_F(RunwayData, WindComponentsAlongTheRunway) {
    giveRunway(270.0f);
    const struct {
        const char* wind;
        const char* row1;
        const char* row2;
    } cases[] = {
        {"240/20", "  HEADWIND   CROSSWIND", " 17            RIGHT 10"},
        {"300/20", "  HEADWIND   CROSSWIND", " 17             LEFT 10"},
        {"090/10", "  TAILWIND   CROSSWIND", " 10             RIGHT 0"},
    };
    for (const auto& c : cases) {
        cdu.show(kTakeoffPage, 1);
        cdu.enter(c.wind, kR2);
        cdu.press(kNext);
        EXPECT_EQ(cdu.row(1), c.row1) << c.wind;
        EXPECT_EQ(cdu.row(2), c.row2) << c.wind;
    }
    EXPECT_EQ(cdu.row(3), "  DENSITY ALT");
    EXPECT_EQ(cdu.cell(4, 1).colour, CduColour::Cyan);
}

TEST_F(RunwayData, PressureAndDensityAltitudeFromTheRunwayAndSetting) {
    giveRunway(270.0f);
    Baro& baro = *cdu.module.aircraft().baro();
    baro.mainSettingInHg = 29.92f;
    baro.mainSettingHpa = 1013.0f;
    Adc& adc = *cdu.module.aircraft().adc();
    adc.isaTemperature = 15.0f;
    cdu.show(kTakeoffPage, 1);
    EXPECT_EQ(cdu.row(2), "RW27R ZZAA         11000");
    EXPECT_EQ(cdu.row(6), "1410/29.92          1410");
    fms().baroInInches = false;
    cdu.show(kTakeoffPage, 1);
    EXPECT_EQ(cdu.row(6), "1410/1013           1410");
    cdu.enter("/59", kL2);
    cdu.press(kNext);
    EXPECT_EQ(cdu.row(4), " 1739") << "15 degrees C, 2.8 above the standard of the runway";
    cdu.press(kPrev);
    cdu.enter("35", kL2);
    cdu.press(kNext);
    EXPECT_EQ(cdu.row(4), " 3987") << "warmer air is thinner";
}

TEST_F(RunwayData, EntryActionsTakeTheRunwaysOfTheActivePlan) {
    Runway runway;
    fms().navDatabase().getRunwayInfo(2, runway);
    ASSERT_EQ(runway.ident, "RW27R");
    activeFlightPlan.org = runway;
    cdu.show(kTakeoffPage);
    EXPECT_EQ(takeoff().runway.ident, "RW27R");
    EXPECT_EQ(cdu.row(2).substr(0, 10), "RW27R ZZAA");

    cdu.show(kLandingPage, 2);
    EXPECT_TRUE(fms().landingPage.runway.ident.empty()) << "the plan has no legs";
    EXPECT_EQ(cdu.row(0), "        LANDING      2/2");
    EXPECT_EQ(cdu.row(7), "\u25C4DESCENT       FLT PLAN\u25BA");
}

TEST_F(RunwayData, PromptsAndPaging) {
    const struct {
        int32_t page;
        int32_t key;
        int32_t shown;
    } cases[] = {
        {kTakeoffPage, kL4, 27},
        {kTakeoffPage, kR4, 28},
        {kLandingPage, kL4, 30},
        {kLandingPage, kR4, kActiveFlightPlan},
    };
    for (const auto& c : cases) {
        cdu.show(c.page, 2);
        cdu.press(c.key);
        EXPECT_EQ(fms().currentPage, c.shown) << c.page << " " << c.key;
    }
    cdu.show(kLandingPage, 1);
    cdu.press(kPrev);
    EXPECT_EQ(fms().landingPage.subPage, 2);
    cdu.press(kNext);
    EXPECT_EQ(fms().landingPage.subPage, 1);
}

// The crew flying from ZZAB activates runway 09L of ZZAA as its arrival and reads the density
// altitude on LANDING, on the ground and again at FL350.
class LandingRunwayInFlight : public ProcedureSession {
protected:
    void activateArrivalRunway() {
        enterRouteEnds("ZZAB", "ZZAA");
        openFromNavIndex(1, kR3);
        ASSERT_EQ(fms().currentPage, cdu_page::kArrival);
        lineKey(kL1);
        lineKey(kL1);
        ASSERT_EQ(fms().arrivalPage.selArrRwy.ident, "RW09L");
        lineKey(kR4);
        ASSERT_EQ(fms().currentPage, cdu_page::kArrival);
        lineKey(kR4);
        ASSERT_EQ(activeFlightPlan.legs.back().wpt.ident, "RW09L");
    }
    std::string densityAltitude() {
        module.simulator.step();
        return row(4);
    }
};

TEST_F(LandingRunwayInFlight, TheDensityAltitudeIsTheRunwaysWhereverTheAircraftIs) {
    activateArrivalRunway();
    pageKey(Fms::kPerfKey);
    lineKey(kR4);
    ASSERT_EQ(fms().currentPage, kLandingPage);
    ASSERT_EQ(row(2).substr(0, 10), "RW09L ZZAA");
    typeThenPress("/59", kL2);
    ASSERT_FALSE(fms().landingPage.oatFromSensor);
    nextPage();
    const std::string onGround = densityAltitude();
    EXPECT_EQ(onGround, " 1731") << "15 degrees C, some 2.8 above the standard of the runway";
    module.simulator.placeInFlight(47.2, 8.2, 35000.0, 270.0, 250.0);
    for (int frame = 0; frame < 20; ++frame) {
        module.simulator.step();
    }
    ASSERT_GT(module.aircraft().adc()->pressureAltitude, 34000.0f);
    EXPECT_EQ(densityAltitude(), onGround) << "the runway has not moved";
}

} // namespace
} // namespace tavi::test
