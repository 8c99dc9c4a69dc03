#include "avionics/Adc.h"
#include "avionics/Ahrs.h"
#include "cdu/pages/NavPageKeys.h"
#include "support/CduSession.h"

#include <gtest/gtest.h>

namespace tavi::test {
namespace {

using namespace navpages;

constexpr int32_t kAirDataPage = 53;

class AirData : public testing::Test {
protected:
    AirData() { cdu.show(kAirDataPage); }
    Adc& adc() { return *cdu.module.aircraft().adc(); }
    Ahrs& ahrs() { return *cdu.module.aircraft().ahrs(); }

    CduSession cdu;
};

TEST_F(AirData, TheLayoutOfTheAirData) {
    adc().indicatedAirspeed = 250.7f;
    adc().trueAirspeed = 310.2f;
    adc().mach = 0.512f;
    adc().pressureAltitude = 10000.0f;
    adc().indicatedAltitude = 10120.0f;
    adc().staticAirTemperature = -5.4f;
    adc().isaTemperature = -4.8f;
    adc().totalAirTemperature = 9.0f;
    ahrs().unit1.verticalSpeed = -1200.0f;
    cdu.fms().drawPage();
    EXPECT_EQ(cdu.row(0), "       AIR DATA 1    1/1");
    EXPECT_EQ(cdu.row(1), "  CAS      TAS     MACH");
    EXPECT_EQ(cdu.row(2), "  250      310     .51M");
    EXPECT_EQ(cdu.row(3), " PRESS<\u2013ALT\u2013>BARO   VS");
    EXPECT_EQ(cdu.row(4), " 10000      10120 1200\u2193");
    EXPECT_EQ(cdu.row(5), "  SAT    ISA DEV   TAT");
    EXPECT_EQ(cdu.row(6), " -5\u00B0C     -1\u00B0C     +9\u00B0C");
    EXPECT_EQ(cdu.row(7), "             PROGRESS 3\u25BA");
    EXPECT_EQ(cdu.cell(2, 4).colour, CduColour::Cyan);
    EXPECT_FALSE(cdu.cell(2, 22).large) << "the Mach sign is small";
}

// The ISA deviation of the stand-in's weather as the page shows it in whole degrees: at the
// standard atmosphere, and within half a degree of it, it reads +0, never -0.
TEST_F(AirData, TheIsaDeviationOfTheWeatherInWholeDegrees) {
    const struct {
        double altitude;
        double deviation;
        const char* shown;
    } cases[] = {{10000.0, 0.0, "+0\u00B0C"},  {35000.0, 0.0, "+0\u00B0C"},
                 {10000.0, -0.4, "+0\u00B0C"}, {35000.0, 0.4, "+0\u00B0C"},
                 {10000.0, -0.6, "-1\u00B0C"}, {20000.0, 2.0, "+2\u00B0C"}};
    sim::Simulator& simulator = cdu.module.simulator;
    for (const auto& c : cases) {
        simulator.atmosphere.setTemperatureDeviation(c.deviation);
        simulator.placeInFlight(47.0, 8.0, c.altitude, 90.0, 250.0);
        for (int frame = 0; frame < 40; ++frame) {
            cdu.frame();
        }
        cdu.fms().drawPage();
        EXPECT_EQ(cdu.at(6, 10, 4), c.shown) << c.altitude << " ft, " << c.deviation;
    }
}

TEST_F(AirData, VerticalSpeedArrowFromHalfAFootAMinute) {
    const struct {
        float verticalSpeed;
        const char* shown;
    } cases[] = {{-1200.0f, "1200\u2193"}, {0.3f, "0 "}, {0.6f, "1\u2191"}, {-0.4f, "0 "}};
    for (const auto& c : cases) {
        ahrs().unit1.verticalSpeed = c.verticalSpeed;
        cdu.fms().drawPage();
        const std::string shown = c.shown;
        const size_t cells = CduScreen::decodeUtf8(shown).size();
        EXPECT_EQ(cdu.at(4, static_cast<int32_t>(23 - cells), cells), shown) << c.verticalSpeed;
    }
}

TEST_F(AirData, ProgressPromptOpensItsThirdSubPage) {
    cdu.press(kL4);
    EXPECT_EQ(cdu.fms().currentPage, kAirDataPage) << "only R4 is a key here";
    cdu.press(kR4);
    EXPECT_EQ(cdu.fms().currentPage, kProgress);
    EXPECT_EQ(cdu.fms().progressPage.subPage, 3);
}

class FlightSummaryPageTest : public testing::Test {
protected:
    FlightSummaryPageTest() { cdu.show(kFlightSummary); }
    FlightSummary& flight() { return cdu.fms().flightSummary; }
    void completeFlight(double takeoff, double landing) {
        flight().takeoffTime = takeoff;
        flight().landingTime = landing;
        flight().airDistance = 412.0;
        flight().groundDistance = 398.0;
        cdu.fms().fuelMgt.fuelUsed = {400.0f, 500.0f, 100.0f};
        cdu.fms().drawPage();
    }

    CduSession cdu;
};

TEST_F(FlightSummaryPageTest, LabelsAloneUntilAFlightIsComplete) {
    flight().takeoffTime = 3600.0;
    cdu.fms().drawPage();
    EXPECT_EQ(cdu.row(0), "     FLIGHT SUMMARY  1/1");
    EXPECT_EQ(cdu.row(1), " T/O    ENROUTE     LAND");
    EXPECT_EQ(cdu.row(2), "");
    EXPECT_EQ(cdu.row(3), " FUEL USED    AVG TAS/GS");
    EXPECT_EQ(cdu.row(4), "");
    EXPECT_EQ(cdu.row(5), "  AIR <\u2013\u2013DIST\u2013\u2013> GROUND");
    EXPECT_EQ(cdu.row(6), "");
    EXPECT_EQ(cdu.row(7), "             PROGRESS 3\u25BA");
}

TEST_F(FlightSummaryPageTest, AFlightsTimesFuelSpeedsAndDistances) {
    completeFlight(14 * 3600 + 32 * 60, 15 * 3600 + 32 * 60);
    EXPECT_EQ(cdu.row(2), " 1432Z   01+00    1532Z");
    EXPECT_EQ(cdu.row(4), " 1000           412/398");
    EXPECT_EQ(cdu.row(6), " 412NM            398NM");
    EXPECT_EQ(cdu.cell(2, 1).colour, CduColour::Green);
    EXPECT_EQ(cdu.cell(4, 1).colour, CduColour::Cyan);
    cdu.fms().fuelUseKg = true;
    cdu.fms().drawPage();
    EXPECT_EQ(cdu.row(4).substr(0, 4), " 453") << "kilograms, not rounded to tens";
}

TEST_F(FlightSummaryPageTest, AFlightOverMidnightKeepsItsTimeAndSpeeds) {
    completeFlight(23 * 3600 + 30 * 60, 30 * 60);
    EXPECT_EQ(cdu.row(2), " 2330Z   01+00    0030Z");
    EXPECT_EQ(cdu.row(4).substr(16), "412/398");
}

TEST_F(FlightSummaryPageTest, ALandingInTheSameSecondShowsNoAverageSpeed) {
    completeFlight(3600.0, 3600.0);
    EXPECT_EQ(cdu.row(4), " 1000");
}

TEST_F(FlightSummaryPageTest, DeletingTheFuelUsedOnlyAfterALanding) {
    cdu.fms().fuelMgt.fuelUsed = {400.0f, 500.0f, 100.0f};
    cdu.fms().setScratchpad("*DELETE*");
    cdu.press(kL2);
    EXPECT_EQ(cdu.scratchpad(), "");
    EXPECT_FLOAT_EQ(cdu.fms().fuelMgt.totalFuelUsed(), 1000.0f) << "no flight yet";

    completeFlight(3600.0, 7200.0);
    cdu.fms().setScratchpad("12");
    cdu.press(kL2);
    EXPECT_EQ(cdu.scratchpad(), "12");
    cdu.fms().takeScratchpad();
    cdu.fms().setScratchpad("*DELETE*");
    cdu.press(kL2);
    EXPECT_FLOAT_EQ(cdu.fms().fuelMgt.totalFuelUsed(), 0.0f);
    cdu.press(kR4);
    EXPECT_EQ(cdu.fms().currentPage, kProgress);
    EXPECT_EQ(cdu.fms().progressPage.subPage, 3);
}

} // namespace
} // namespace tavi::test
