#include "airframe/FuelSystem.h"
#include "avionics/Adc.h"
#include "avionics/Autopilot.h"
#include "avionics/Gps.h"
#include "cdu/pages/NavPageKeys.h"
#include "core/Format.h"
#include "displays/PanelElement.h"
#include "fms/Fms.h"
#include "fms/GlobalFlightPlans.h"
#include "support/FlightScenario.h"
#include "support/PredictionRoute.h"
#include "support/ScreenShots.h"
#include "support/TempFolder.h"

#include <chrono>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <gtest/gtest.h>
#include <string>

namespace tavi::test {
namespace {

constexpr int32_t kCduPopupWindow = 10000;
constexpr uint32_t kF1Key = 112;
constexpr uint32_t kPageDownKey = 34;
constexpr uint32_t kPageUpKey = 33;
constexpr uint32_t kSlashKey = 191;
constexpr uint32_t kBackspaceKey = 8;
constexpr double kTakeoffZulu = 14 * 3600 + 32 * 60;
constexpr double kCruiseSpeed = 250.0;

// A flight north along the route ZZAA - P - ZZAE a little east of its track, flown by the
// autopilot in HDG and ALT, with the pilot reading PROGRESS at the CDU pop-up; the stand-in's
// clock gives the zulu time. The flight ends stopped on the ground.
class ProgressFlight : public testing::Test {
protected:
    ProgressFlight() {
        flight.simulator().startClock(
            std::chrono::sys_days(std::chrono::year(2024) / std::chrono::February / 1),
            kTakeoffZulu);
        flight.simulator().placeInFlight(47.02, 8.01, 8000.0, 0.0, kCruiseSpeed);
        flight.module.startModule();
        flight.fly(1.0);
        flight.simulator().panel.setPanelWindowOpen(kCduPopupWindow, true);
        fms().toggleKeyboardInput();
    }
    ~ProgressFlight() override { resetGlobalFlightPlans(); }

    Fms& fms() { return *flight.aircraft().fms(); }
    void fly(double seconds) {
        flight.fly(seconds, [this] { flight.holdSpeed(kCruiseSpeed); });
    }
    // A PC key through the keyboard hook; the page is drawn at once, as the next frame would.
    void key(uint32_t virtualKey) {
        flight.simulator().host.key(virtualKey, true);
        flight.simulator().host.key(virtualKey, false);
        fms().drawPage();
    }
    void lineKey(int32_t line) { key(kF1Key + static_cast<uint32_t>(line)); }
    void typeThenPress(const std::string& text, int32_t line) {
        for (const char c : text) {
            key(c == '/' ? kSlashKey : static_cast<uint32_t>(c));
        }
        lineKey(line);
        flight.fly(0.1);
    }
    void clearMessages() {
        while (fms().hasMessage()) {
            key(kBackspaceKey);
        }
    }
    std::string row(int32_t index) {
        std::u32string text = fms().screen.rowText(index);
        std::string ascii;
        for (const char32_t c : text) {
            ascii += c < 0x80 ? static_cast<char>(c) : '~';
        }
        return ascii.substr(0, ascii.find_last_not_of(' ') + 1);
    }
    void flyRoute() {
        Waypoint point;
        point.kind = WaypointKind::Airport;
        point.ident = "ZZAA";
        point.latitude = 47.0;
        point.longitude = 8.0;
        activeFlightPlan.setOrigin(point, fms().planContext());
        point.ident = point.aptIdent = "ZZAE";
        point.latitude = 47.6666666666667;
        activeFlightPlan.setDestination(point, fms().planContext());
        if (activeFlightPlan.legs.empty()) {
            ASSERT_TRUE(activeFlightPlan.insertWaypoint(point, 0, false, fms().planContext()));
        }
        point.kind = WaypointKind::DatabaseWaypoint;
        point.ident = "P";
        point.aptIdent.clear();
        point.latitude = 47.5;
        ASSERT_TRUE(activeFlightPlan.insertWaypoint(point, 0, false, fms().planContext()));
        ASSERT_TRUE(activeFlightPlan.routeEndFound);
    }
    // The autopilot holds the present heading and altitude with the route loaded.
    void holdHeadingAndAltitudeOnTheRoute() {
        flight.pressAutopilotEngage();
        flight.pressKey(FlightScenario::kAltitudeHoldKey);
        flight.setHeadingBug(static_cast<int32_t>(std::lround(flight.headingMagnetic())));
        flight.pressKey(FlightScenario::kHeadingModeKey);
        flyRoute();
    }
    void picture(const std::string& name) {
        const auto screen =
            writeScreenState(flight.aircraft(), kCduDisplay, folder.path(), name, 1);
        ASSERT_FALSE(screen.empty());
        EXPECT_GT(std::filesystem::file_size(screen), 1000u) << name;
    }

    FlightScenario flight;
    TempFolder folder;
};

TEST_F(ProgressFlight, ProgressFollowsTheFlightAndTheSummaryShowsItAfterStopping) {
    holdHeadingAndAltitudeOnTheRoute();
    ASSERT_TRUE(fms().airborne);
    fms().pressKey(Fms::kProgKey);
    fly(30.0);

    const LnavState& lnav = *fms().lnavState();
    ASSERT_GT(lnav.distanceToGo, 0.0);
    picture("progress-1");
    EXPECT_EQ(row(2).substr(0, 1), "P");
    EXPECT_EQ(row(2).substr(7, 4), FmsParser::formatDistance(lnav.distanceToGo));
    EXPECT_EQ(row(2).substr(13, 5), FmsParser::formatElapsedTime(lnav.timeToGo));
    const double before = lnav.distanceToGo;
    fly(30.0);
    EXPECT_LT(lnav.distanceToGo, before - 1.5) << "two minutes at 250 kt bring P closer";
    EXPECT_EQ(row(4).substr(0, 4), "ZZAE");

    // What PERFORMANCE INIT would hold: the command and the weights show.
    fms().perfInit.initialised = true;
    fms().perfInit.passengerCount = 50;
    fms().perfInit.fuelWeight = 12000.0;
    fms().perfInit.cargoWeight = 0.0;
    key(kPageDownKey);
    picture("progress-2");
    EXPECT_EQ(row(2).substr(0, 5), " VMO/") << "low down VMO is the lower speed: " << row(2);
    ASSERT_EQ(row(4).size(), 23u) << row(4);
    EXPECT_EQ(row(4).substr(18), "12000");
    EXPECT_EQ(row(6).substr(18), "49500") << "28000 lb empty, 50 x 190 lb, 12000 lb fuel";
    key(kPageDownKey);
    ASSERT_EQ(fms().progressPage.subPage, 3);
    picture("progress-3");
    const double crossTrack = lnav.crossTrackError;
    ASSERT_GT(crossTrack, 0.1) << "east of a track north";
    EXPECT_EQ(row(2).substr(1, 7), format("R%4.2lfNM", crossTrack)) << row(2);
    lineKey(navpages::kL4);
    picture("air-data");
    EXPECT_EQ(row(2).substr(2, 3),
              std::to_string(static_cast<int>(flight.aircraft().adc()->indicatedAirspeed)));

    // Stopped on the ground: the flight is over and its summary comes up by itself.
    flight.simulator().placeOnGround(47.0, 8.0, 90.0);
    fly(2.0);
    ASSERT_FALSE(fms().airborne);
    ASSERT_EQ(fms().currentPage, Fms::kFlightSummaryPage);
    picture("flight-summary");
    const FlightSummary& summary = fms().flightSummary;
    ASSERT_TRUE(summary.isComplete());
    EXPECT_EQ(row(2).substr(1, 5), "1432Z");
    EXPECT_EQ(row(2).substr(9, 5), "00+01");
    EXPECT_GT(summary.airDistance, 3.0);
    const std::string air = FmsParser::formatDistance(summary.airDistance) + "NM";
    const std::string ground = FmsParser::formatDistance(summary.groundDistance) + "NM";
    EXPECT_EQ(row(6).substr(1, air.size()), air);
    EXPECT_EQ(row(6).substr(23 - ground.size()), ground);
    EXPECT_GT(fms().fuelMgt.totalFuelUsed(), 0.0f);
    EXPECT_NE(row(4), "") << "fuel used and average speeds";
}

// The crew initialises the performance on PERF INIT in cruise: the predictions run and PROGRESS
// 2 shows the top of descent ahead with the vertical speed it asks for.
TEST_F(ProgressFlight, PerformanceInitialisedOnTheCduPutsTheTopOfDescentOnProgress) {
    holdHeadingAndAltitudeOnTheRoute();
    fillPerformanceTables(fms().performance());
    fly(5.0);

    fms().pressKey(Fms::kPerfKey);
    lineKey(navpages::kL1);
    ASSERT_EQ(fms().currentPage, 20);
    key(kPageUpKey);
    typeThenPress("28000", navpages::kL1);
    typeThenPress("4/190", navpages::kR1);
    const FuelSystem& tanks = *flight.aircraft().fuelSystem();
    const double fuel = std::round((tanks.leftFuel + tanks.rightFuel) / 10.0) * 10.0;
    typeThenPress(std::to_string(static_cast<int>(fuel)), navpages::kL2);
    typeThenPress("0", navpages::kL3);
    clearMessages();
    picture("perf-init-5");
    typeThenPress("", navpages::kR4);
    clearMessages();
    ASSERT_TRUE(fms().perfInit.initialised) << row(7);

    fms().pressKey(Fms::kProgKey);
    key(kPageDownKey);
    fly(5.0);
    fms().drawPage();
    picture("progress-2-predicted");
    std::printf("PROGRESS 2 in cruise: TOC '%s', TOD '%s', VS@TOD '%s'\n", row(4).c_str(),
                row(6).c_str(), row(2).substr(18).c_str());
    EXPECT_EQ(row(4).substr(0, 5), " PAST") << "level in cruise, the climb is done";
    const PerfPrediction& prediction = fms().perfInit.prediction;
    const LnavState& lnav = *fms().lnavState();
    const double toGo = prediction[PerfPrediction::TodDistance] - lnav.legAlongTrack;
    ASSERT_GT(toGo, 1.0) << "the top of descent lies ahead";
    ASSERT_LT(toGo, activeFlightPlan.totalDistance - lnav.legAlongTrack);
    const std::string distance = FmsParser::formatLongDistance(toGo);
    ASSERT_EQ(row(6).substr(0, distance.size() + 4), " " + distance + "NM/") << row(6);
    // Beyond the active leg and past the climb, the time is the distance at the ground speed.
    const double groundSpeed = flight.aircraft().gps()->groundSpeed;
    EXPECT_EQ(row(6).substr(distance.size() + 4, 5),
              FmsParser::formatElapsedTime(toGo / groundSpeed * 3600.0));
    EXPECT_EQ(row(1).substr(17), "VS@TOD");
    const int verticalSpeed = std::stoi(row(2).substr(18));
    EXPECT_EQ(verticalSpeed % 100, 0);
    EXPECT_GT(verticalSpeed, 1000) << "a 3-degree path at 250 kt or more";
    EXPECT_LT(verticalSpeed, 2500);
}

} // namespace
} // namespace tavi::test
