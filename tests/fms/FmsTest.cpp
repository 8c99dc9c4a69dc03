#include "fms/Fms.h"

#include "airframe/Electric.h"
#include "airframe/FuelSystem.h"
#include "avionics/Adc.h"
#include "avionics/Ahrs.h"
#include "avionics/Clock.h"
#include "avionics/FlightDirector.h"
#include "avionics/Gps.h"
#include "fms/GlobalFlightPlans.h"
#include "navdata/GcNav.h"
#include "support/ModuleHarness.h"
#include "support/NavFixtureFiles.h"

#include <algorithm>
#include <gtest/gtest.h>

namespace tavi::test {
namespace {

// The simulator's position tokens, as the GPS reads them on the next frame.
void placeAircraft(sim::Panel& panel, double latitude, double longitude) {
    panel.setToken(71, latitude / 360.0 * 40007000.0);
    panel.setToken(72, longitude / 360.0 * 281474976710656.0);
}

// Ground speed above the FMS's 80 kt makes the next frame an airborne one.
void flyFast(sim::Panel& panel) {
    panel.setVariable("GROUND VELOCITY", 0, 150.0);
}

Waypoint firstOf(std::vector<Waypoint> list) {
    EXPECT_FALSE(list.empty());
    return list.empty() ? Waypoint{} : list.front();
}

// The module in a simulator folder holding the test region's navigation database.
class FmsScenario : public testing::Test {
protected:
    FmsScenario() {
        module.writeIni("[Startup]\nstartupMode=2\n[Fms.Maint]\nisSelectedMag=1\n");
        writeRegionDatabase(module.folder.path());
    }

    Fms& fms() { return *module.aircraft().fms(); }
    Gps& gps() { return *module.aircraft().gps(); }
    Ahrs& ahrs() { return *module.aircraft().ahrs(); }
    // The GPS and AHRS as this frame's position step reads them.
    void positionAt(double latitude, double longitude, bool onGround) {
        gps().latitude = latitude;
        gps().longitude = longitude;
        ahrs().onGround = onGround;
        fms().updatePolarMode();
    }
    // ZZAA, ABC, P, ZZAE as the active plan; returns ABC, the first fix.
    Waypoint activateRegionPlan() {
        NavDatabase& database = fms().navDatabase();
        std::vector<Waypoint> origin;
        std::vector<Waypoint> destination;
        std::vector<Waypoint> abc;
        std::vector<Waypoint> p;
        database.searchAirports("ZZAA", origin);
        database.searchAirports("ZZAE", destination);
        database.searchWpts("ABC", abc);
        database.searchWpts("P", p);
        const FlightPlanContext& context = fms().planContext();
        activeFlightPlan.setOrigin(firstOf(origin), context);
        activeFlightPlan.setDestination(firstOf(destination), context);
        const Waypoint first = firstOf(abc);
        activeFlightPlan.insertWaypoint(first, 0, false, context);
        activeFlightPlan.insertWaypoint(firstOf(p), 1, false, context);
        return first;
    }
    std::vector<std::string> messageTexts() {
        std::vector<std::string> texts;
        for (const CduMessage& message : fms().messages.messages()) {
            texts.push_back(message.text);
        }
        fms().messages.clear();
        return texts;
    }

    ModuleHarness module;
};

TEST_F(FmsScenario, FirstFrameConnectsTheDatabaseAndLoadsTheNavaids) {
    module.startModule();
    module.simulator.step();
    const std::vector<std::string> lines = module.logLines();
    const std::vector<std::string> expected = {"Extracting VHF navaids", "Extracted VHF navaids",
                                               "Loading config", "Loaded config"};
    auto at = lines.begin();
    for (const std::string& line : expected) {
        at = std::find(at, lines.end(), line);
        ASSERT_NE(at, lines.end()) << line;
    }
    EXPECT_EQ(std::count(lines.begin(), lines.end(), "Extracting VHF navaids"), 1);
    EXPECT_FALSE(fms().vhfNavaids.empty());
    EXPECT_TRUE(fms().navDatabase().isConnected());
    EXPECT_TRUE(fms().clockStarted);
}

TEST_F(FmsScenario, PowerUpShowsNavIdentAndDrawsItsLoad) {
    module.startModule();
    module.simulator.step();
    ASSERT_TRUE(fms().powered);
    EXPECT_EQ(fms().currentPage, Fms::kNavIdentPage);
    BusLoads loads;
    fms().addElectricLoad(module.aircraft(), loads);
    EXPECT_FLOAT_EQ(loads[1], 5.0f);
}

TEST_F(FmsScenario, PolarBandsSwitchTheHeadingReferenceWithHysteresis) {
    module.startModule();
    module.simulator.step();
    fms().messages.clear();
    struct Row {
        double latitude;
        bool activeMag;
        std::vector<std::string> messages;
    };
    const Row rows[] = {
        {70.0, true, {}},
        {72.4, true, {}},
        {72.5, false, {"ACTIVE MODE IS TRUE HDG"}},
        {72.1, false, {}},
        {71.9, true, {"ACTIVE MODE IS MAG HDG"}},
        {-59.5, false, {"ACTIVE MODE IS TRUE HDG"}},
        {-59.2, false, {}},
        {-58.9, true, {"ACTIVE MODE IS MAG HDG"}},
    };
    for (const Row& row : rows) {
        positionAt(row.latitude, 10.0, false);
        EXPECT_EQ(fms().heading.activeMag, row.activeMag) << row.latitude;
        EXPECT_EQ(messageTexts(), row.messages) << row.latitude;
    }
}

TEST_F(FmsScenario, PolarRegionMessagesAtEachCrossing) {
    module.startModule();
    module.simulator.step();
    positionAt(84.5, 0.5, false);
    fms().messages.clear();
    positionAt(85.5, 0.5, false);
    EXPECT_EQ(messageTexts(), std::vector<std::string>{"ENTERING POLAR REGION"});
    positionAt(84.5, 0.5, false);
    EXPECT_TRUE(messageTexts().empty());
    positionAt(85.5, 0.5, false);
    EXPECT_EQ(messageTexts(), std::vector<std::string>{"ENTERING POLAR REGION"});
    positionAt(83.5, 0.5, false);
    EXPECT_EQ(messageTexts(), std::vector<std::string>{"EXITING POLAR REGION"});
}

TEST_F(FmsScenario, GroundOffsetFollowsTheGpsUntilLiftOff) {
    module.startModule();
    module.simulator.step();
    positionAt(47.0, 8.0, true);
    fms().position.offsetBearing = 90.0;
    fms().position.offsetDistance = 0.3;
    fms().position.loadedFrom = 2;
    positionAt(47.0, 8.1, true);
    EXPECT_NEAR(fms().position.latitude, 47.0, 1e-4);
    EXPECT_NEAR(fms().position.longitude, 8.1 + 0.3 / 60.0 / std::cos(47.0 * M_PI / 180.0), 1e-4);
    placeAircraft(module.simulator.panel, 47.0, 8.2);
    flyFast(module.simulator.panel);
    module.simulator.step();
    ASSERT_TRUE(fms().airborne);
    positionAt(47.0, 8.2, false);
    EXPECT_DOUBLE_EQ(fms().position.longitude, 8.2);
    EXPECT_DOUBLE_EQ(fms().position.offsetDistance, 0.0);
    EXPECT_TRUE(fms().position.initialised);
    EXPECT_EQ(fms().position.loadedFrom, -1);
    positionAt(0.0, 0.0, true);
    EXPECT_DOUBLE_EQ(fms().position.latitude, 0.0);
    EXPECT_FALSE(fms().position.initialised);
}

TEST_F(FmsScenario, KeyboardReachesTheCduOnlyWhenEnabledAndWithoutCtrl) {
    module.startModule();
    module.simulator.step();
    Aircraft& aircraft = module.aircraft();
    EXPECT_FALSE(fms().handleKey(aircraft, 'A', false, false));
    fms().keyboardInput = true;
    EXPECT_FALSE(fms().handleKey(aircraft, 'A', false, true));
    struct Row {
        uint32_t key;
        std::string pad;
        std::vector<int32_t> pageKeys;
    };
    // Each row starts from the pad "12" outside edit mode.
    const Row rows[] = {
        {'A', "12A", {}}, {'7', "127", {}},     {99, "123", {}},  {32, "12 ", {}},
        {187, "12-", {}}, {109, "12-", {}},     {110, "12.", {}}, {191, "12/", {}},
        {8, "1", {}},     {46, "*DELETE*", {}}, {112, "12", {0}}, {119, "12", {7}},
        {33, "12", {10}}, {34, "12", {11}},
    };
    std::vector<int32_t> pageKeys;
    fms().pages[static_cast<std::size_t>(fms().currentPage)].onKey = [&](int32_t key) {
        pageKeys.push_back(key);
    };
    for (const Row& row : rows) {
        fms().setScratchpad("12");
        pageKeys.clear();
        ASSERT_TRUE(fms().handleKey(aircraft, row.key, true, false)) << row.key;
        EXPECT_EQ(fms().scratchPad.text(), row.pad) << row.key;
        EXPECT_EQ(pageKeys, row.pageKeys) << row.key;
    }
    EXPECT_FALSE(fms().handleKey(aircraft, 120, false, false));
}

TEST_F(FmsScenario, ADatabaseMissingAtStartIsConnectedWhenItComes) {
    const std::filesystem::path file = module.folder.path() / "Orvane/Nd/nd.sqlite";
    const std::filesystem::path away = module.folder.path() / "nd.away";
    std::filesystem::rename(file, away);
    module.startModule();
    module.simulator.step();
    EXPECT_FALSE(fms().navDatabase().isReady());
    std::filesystem::rename(away, file);
    for (int tick = 0; tick < 18 * 6 && !fms().navDatabase().isReady(); ++tick) {
        module.simulator.step();
    }
    EXPECT_TRUE(fms().navDatabase().isReady());
    std::vector<Waypoint> found;
    fms().navDatabase().searchAirports("ZZAA", found);
    EXPECT_FALSE(found.empty());
    const std::vector<std::string> lines = module.logLines();
    EXPECT_EQ(std::count(lines.begin(), lines.end(), "test passed"), 1);
    EXPECT_EQ(std::count(lines.begin(), lines.end(), "Extracted VHF navaids"), 2)
        << "the navaids are extracted again from the database that came";
}

TEST_F(FmsScenario, LnavFliesTheActivePlanFromThePositionTheGpsReads) {
    module.startModule();
    module.simulator.step();
    ASSERT_TRUE(fms().powered);
    const Waypoint first = activateRegionPlan();
    ASSERT_GE(activeFlightPlan.legCount(), 2u);
    ASSERT_EQ(activeFlightPlan.activeLeg, 0u);

    // Halfway along the first leg and 2 nm to the right of it.
    const GcNav from(47.0, 8.0);
    const double course = from.courseTo(first.latitude, first.longitude);
    double latitude = 0.0;
    double longitude = 0.0;
    from.destination(course, from.distanceTo(first.latitude, first.longitude) / 2.0, latitude,
                     longitude);
    GcNav(latitude, longitude).destination(course + 90.0, 2.0, latitude, longitude);
    placeAircraft(module.simulator.panel, latitude, longitude);
    flyFast(module.simulator.panel);
    module.simulator.step();
    ASSERT_TRUE(fms().airborne);

    EXPECT_NEAR(fms().position.latitude, latitude, 1e-6);
    const LnavState* state = fms().lnavState();
    ASSERT_NE(state, nullptr);
    EXPECT_TRUE(state->valid);
    EXPECT_NEAR(state->crossTrackError, 2.0, 0.1) << "right of the path is positive";
    EXPECT_EQ(state->ident, "ABC");

    // The flight director, coupled to the FMS, arms LNAV on its valid guidance.
    FlightDirector& director = *module.aircraft().flightDirector();
    director.toggleFlightDirector1();
    director.selectNavigationSource(1, true);
    director.pressNav();
    EXPECT_EQ(director.armedLateralMode(), FdLateralMode::Lnav);

    GcNav(latitude, longitude).destination(course - 90.0, 4.0, latitude, longitude);
    placeAircraft(module.simulator.panel, latitude, longitude);
    module.simulator.step();
    EXPECT_NEAR(fms().lnavState()->crossTrackError, -2.0, 0.1) << "left of the path is negative";

    module.aircraft().electric()->avionicsMaster1 = false;
    module.simulator.step();
    ASSERT_FALSE(fms().powered);
    EXPECT_FALSE(fms().lnavState()->valid) << "no guidance is left behind by a dead CDU";
}

TEST_F(FmsScenario, TheNavaidListFollowsTheAircraftOnceItHasMovedHalfADegree) {
    module.startModule();
    placeAircraft(module.simulator.panel, 47.0, 8.0);
    module.simulator.step();
    ASSERT_TRUE(fms().powered);
    ASSERT_FALSE(fms().vhfNavaids.empty());
    EXPECT_NEAR(fms().navaidSortLat, 47.0, 1e-6) << "the first frame sorts";
    const std::vector<Navaid> sortedHere = fms().vhfNavaids;
    EXPECT_LT(sortedHere.front().distance, 20.0);

    placeAircraft(module.simulator.panel, 47.49, 8.49);
    module.simulator.step();
    EXPECT_NEAR(fms().navaidSortLat, 47.0, 1e-6) << "less than half a degree either way";
    EXPECT_EQ(fms().vhfNavaids.front().ident, sortedHere.front().ident);

    placeAircraft(module.simulator.panel, 49.9, 9.9);
    module.simulator.step();
    EXPECT_NEAR(fms().navaidSortLat, 49.9, 1e-6);
    EXPECT_NEAR(fms().navaidSortLon, 9.9, 1e-6);
    const Navaid& nearest = fms().vhfNavaids.front();
    EXPECT_EQ(nearest.ident, "ABC");
    EXPECT_DOUBLE_EQ(nearest.latitude, 50.0) << "the ABC up here, not the one at home";
    EXPECT_TRUE(
        std::is_sorted(fms().vhfNavaids.begin(), fms().vhfNavaids.end(),
                       [](const Navaid& a, const Navaid& b) { return a.distance < b.distance; }));
}

TEST_F(FmsScenario, APowerLossOutlastingTheMemoryWithdrawsTheFlightsWeightEntries) {
    module.startModule();
    module.simulator.step();
    ASSERT_TRUE(fms().powered);
    fms().perfInit.fuelWeight = 9000.0;
    fms().perfInit.cargoWeight = 500.0;
    fms().perfInit.passengerCount = 6;
    module.aircraft().electric()->avionicsMaster1 = false;
    module.simulator.step();
    ASSERT_FALSE(fms().powered);
    EXPECT_EQ(fms().perfInit.fuelWeight, 9000.0) << "held through a short loss";
    module.simulator.stepSeconds(Fms::kStoredPlanKeptMs / 1000.0);
    EXPECT_EQ(fms().perfInit.fuelWeight, PerfInit::kNotEntered);
    EXPECT_EQ(fms().perfInit.cargoWeight, PerfInit::kNotEntered);
    EXPECT_EQ(fms().perfInit.passengerCount, -1);
}

TEST_F(FmsScenario, PassingAFixBooksTheFuelOnBoardThere) {
    module.startModule();
    module.simulator.step();
    const Waypoint first = activateRegionPlan();
    // 1000 gallons a tank.
    module.simulator.panel.setToken(306, 6.7);
    module.simulator.panel.setToken(304, 1000.0);
    module.simulator.panel.setToken(303, 1000.0);
    flyFast(module.simulator.panel);
    module.simulator.step();
    module.simulator.step();
    ASSERT_TRUE(fms().airborne);
    const float onBoard =
        module.aircraft().fuelSystem()->leftFuel + module.aircraft().fuelSystem()->rightFuel;
    ASSERT_GT(onBoard, 1.0f);
    fms().perfInit.fuelAtLastFix = 1.0f;
    module.simulator.step();
    EXPECT_EQ(fms().perfInit.fuelAtLastFix, 1.0f) << "held in the air between fixes";

    // Half a mile past ABC on the course from the origin.
    const GcNav origin(activeFlightPlan.org.latitude, activeFlightPlan.org.longitude);
    double latitude = 0.0;
    double longitude = 0.0;
    GcNav(first.latitude, first.longitude)
        .destination(origin.courseTo(first.latitude, first.longitude), 0.5, latitude, longitude);
    placeAircraft(module.simulator.panel, latitude, longitude);
    module.simulator.step();
    ASSERT_EQ(activeFlightPlan.activeLeg, 1u);
    EXPECT_FLOAT_EQ(fms().perfInit.fuelAtLastFix, onBoard);
}

TEST_F(FmsScenario, MessagesCoverThePadAndBlockTypingUntilCleared) {
    module.startModule();
    module.simulator.step();
    ASSERT_TRUE(fms().powered);
    fms().messages.clear();
    fms().setScratchpad("AB");
    fms().showMessage("INVALID ENTRY", 0);
    fms().showMessage("INVALID ENTRY", 0);
    fms().typeCharacter('C');
    EXPECT_EQ(fms().scratchPad.text(), "AB");
    fms().drawScratchpadLine();
    EXPECT_EQ(fms().screen.rowText(CduScreen::kScratchpadRow).substr(0, 14), U"INVALID ENTRY ");
    fms().pressKey(Fms::kClrKey);
    EXPECT_FALSE(fms().hasMessage());
    fms().typeCharacter('C');
    EXPECT_EQ(fms().scratchPad.text(), "ABC");
    fms().screen.clear();
    fms().drawScratchpadLine();
    EXPECT_EQ(fms().screen.rowText(CduScreen::kScratchpadRow).substr(0, 4), U"ABC ");
}

TEST_F(FmsScenario, PostingAMessageEndsEditModeAndDropsTheDeleteKeyword) {
    module.startModule();
    module.simulator.step();
    fms().messages.clear();
    fms().setScratchpad("1234-");
    fms().pressKey(Fms::kPrevKey);
    ASSERT_TRUE(fms().scratchPad.editMode());
    fms().showMessage("LAST LEG", 1);
    EXPECT_FALSE(fms().scratchPad.editMode());
    EXPECT_EQ(fms().scratchPad.text(), "1234");
    fms().pressKey(Fms::kClrKey);
    fms().pressKey(Fms::kDelKey);
    ASSERT_TRUE(fms().isScratchpadDelete());
    fms().showMessage("DISCONTINUITY", 0);
    EXPECT_EQ(fms().scratchPad.text(), "");
}

TEST_F(FmsScenario, DelTwiceOnAnEmptyPadReachesThePage) {
    module.startModule();
    module.simulator.step();
    fms().messages.clear();
    fms().takeScratchpad();
    std::vector<int32_t> pageKeys;
    fms().pages[static_cast<std::size_t>(fms().currentPage)].onKey = [&](int32_t key) {
        pageKeys.push_back(key);
    };
    fms().pressKey(Fms::kDelKey);
    EXPECT_TRUE(fms().isScratchpadDelete());
    EXPECT_TRUE(pageKeys.empty());
    fms().pressKey(Fms::kDelKey);
    EXPECT_EQ(pageKeys, std::vector<int32_t>{Fms::kDelKey});
    EXPECT_EQ(fms().takeScratchpad(), "*DELETE*");
}

} // namespace
} // namespace tavi::test

namespace tavi::test {
namespace {

// The module flying on the stand-in: air and ground speeds as the simulator gives them.
class AirGroundScenario : public FmsScenario {
protected:
    void SetUp() override {
        module.startModule();
        module.simulator.step();
        ASSERT_TRUE(fms().powered);
    }
    sim::Panel& panel() { return module.simulator.panel; }
    // The indicated airspeed the air data computes from the Mach number at the altitude.
    void setSpeeds(double indicatedKnots, double groundKnots, double trueKnots = 0.0) {
        panel().setVariable(
            "AIRSPEED MACH", 0,
            indicatedKnots > 0.0 ? module.aircraft().adc()->machFromCas(indicatedKnots) : 0.0);
        panel().setVariable("GROUND VELOCITY", 0, groundKnots);
        panel().setVariable("AIRSPEED TRUE", 0, trueKnots);
    }
    void setUtc(double seconds) {
        sim::CalculatorResult result;
        result.number = seconds;
        panel().setCalculatorResult("(P:ZULU TIME, seconds)", result);
    }
    // Two frames, so that every system has read the new values.
    void settle() {
        module.simulator.step();
        module.simulator.step();
    }
};

TEST_F(AirGroundScenario, InTheAirStrictlyAboveFiftyKnotsIndicatedOrEightyOverTheGround) {
    struct Row {
        double indicated;
        double ground;
        bool airborne;
    };
    const Row rows[] = {
        {49.8, 0.0, false},  {50.3, 0.0, true},   {0.0, 80.0, false}, {0.0, 80.1, true},
        {49.8, 79.9, false}, {60.0, 100.0, true}, {0.0, 0.0, false},
    };
    for (const Row& row : rows) {
        setSpeeds(row.indicated, row.ground);
        settle();
        EXPECT_EQ(fms().airborne, row.airborne)
            << row.indicated << " kt IAS, " << row.ground << " kt GS";
    }
}

TEST_F(AirGroundScenario, AFlightRecordsItsTimesAndDistancesAndLandingShowsTheSummary) {
    setUtc(3600.0);
    settle();
    ASSERT_FALSE(fms().airborne);
    EXPECT_FALSE(fms().flightSummary.isComplete());

    setSpeeds(140.0, 120.0, 150.0);
    setUtc(3700.0);
    module.simulator.step();
    ASSERT_TRUE(fms().airborne);
    EXPECT_DOUBLE_EQ(fms().flightSummary.takeoffTime, 3700.0);
    EXPECT_DOUBLE_EQ(fms().flightSummary.landingTime, FlightSummary::kNoTime);
    const uint32_t takeoffMs = module.aircraft().simTimeMs - module.aircraft().frameDeltaMs;

    module.simulator.stepSeconds(72.0);
    const double hours = (module.aircraft().simTimeMs - takeoffMs) / 3600000.0;
    EXPECT_NEAR(fms().flightSummary.groundDistance, 120.0 * hours, 1e-3);
    EXPECT_NEAR(fms().flightSummary.airDistance, 150.0 * hours, 1e-3);

    module.simulator.simConnect.setPaused(true);
    const double pausedAt = fms().flightSummary.airDistance;
    module.simulator.stepSeconds(5.0);
    EXPECT_DOUBLE_EQ(fms().flightSummary.airDistance, pausedAt) << "no distance while paused";
    module.simulator.simConnect.setPaused(false);

    setSpeeds(0.0, 0.0);
    setUtc(4000.0);
    settle();
    EXPECT_FALSE(fms().airborne);
    EXPECT_TRUE(fms().flightSummary.isComplete());
    EXPECT_DOUBLE_EQ(fms().flightSummary.landingTime, 4000.0);
    EXPECT_EQ(fms().currentPage, Fms::kFlightSummaryPage);
    EXPECT_GT(fms().landingTime, 0);
    EXPECT_TRUE(fms().plansCleared) << "no CLEAR FPL offer for a plan without its ends";
}

TEST_F(AirGroundScenario, ARejectedTakeoffIsAShortCompleteFlight) {
    setUtc(100.0);
    setSpeeds(60.0, 55.0);
    settle();
    ASSERT_TRUE(fms().airborne);
    setSpeeds(0.0, 0.0);
    setUtc(160.0);
    settle();
    EXPECT_TRUE(fms().flightSummary.isComplete());
    EXPECT_DOUBLE_EQ(fms().flightSummary.landingTime - fms().flightSummary.takeoffTime, 60.0);
    EXPECT_EQ(fms().currentPage, Fms::kFlightSummaryPage);
}

TEST_F(AirGroundScenario, CduPowerUpAfterALongLossStartsWithNoFlight) {
    setSpeeds(0.0, 120.0);
    settle();
    ASSERT_GE(fms().flightSummary.takeoffTime, 0.0);
    module.aircraft().electric()->avionicsMaster1 = false;
    settle();
    ASSERT_FALSE(fms().powered);
    EXPECT_TRUE(fms().airborne) << "unpowered, the flag keeps its last value";
    module.simulator.stepSeconds(Fms::kStoredPlanKeptMs / 1000.0);
    module.aircraft().electric()->avionicsMaster1 = true;
    settle();
    EXPECT_DOUBLE_EQ(fms().flightSummary.takeoffTime, FlightSummary::kNoTime);
    EXPECT_TRUE(fms().airborne);
}

// The clocks' flight time runs on the FMS's air/ground state, as a flight sets it.
TEST_F(AirGroundScenario, TheClocksCountFlightTimeOnlyWhileTheFmsSaysAirborne) {
    const Clock& clock = *module.aircraft().clock();
    ASSERT_TRUE(clock.clock1Powered);
    module.simulator.stepSeconds(5.0);
    EXPECT_EQ(clock.elapsed1, 0u) << "parked";
    setSpeeds(0.0, 120.0);
    module.simulator.step();
    ASSERT_TRUE(fms().airborne);
    const uint32_t since = module.aircraft().simTimeMs;
    module.simulator.stepSeconds(60.0);
    const uint32_t flown = module.aircraft().simTimeMs - since;
    EXPECT_NEAR(clock.elapsed1, flown, 60.0);
    setSpeeds(0.0, 0.0);
    settle();
    const uint32_t atLanding = clock.elapsed1;
    module.simulator.stepSeconds(30.0);
    EXPECT_EQ(clock.elapsed1, atLanding) << "stopped after the landing";
}

// The fuel bookkeeping on the burn the fuel system measures from the simulator's tanks.
TEST_F(AirGroundScenario, FuelBurnComesOffTheEntriesAndTheLastFixFollowsTheGaugeOnTheGround) {
    panel().setToken(306, 6.7);
    panel().setToken(304, 1000.0);
    panel().setToken(303, 1000.0);
    panel().setToken(60, 1.0);
    settle();
    // The pilot's entries on PERFORMANCE INIT.
    fms().perfInit.fuelWeight = 12000.0;
    fms().perfInit.toFuel = 400.0;
    panel().setToken(304, 999.0);
    settle();
    EXPECT_NEAR(fms().perfInit.toFuel, 400.0 - 6.7, 1e-3);
    EXPECT_NEAR(fms().perfInit.fuelWeight, 12000.0 - 6.7, 1e-3);
    EXPECT_NEAR(fms().perfInit.fuelAtLastFix, 1999.0 * 6.7, 0.01);
    EXPECT_FLOAT_EQ(fms().fuelMgt.totalFuelUsed(), 0.0f) << "no flow, nothing to share out";

    // Engine 1 burns three times what engine 2 does; the APU is off.
    panel().setVariable("TURB ENG FUEL FLOW PPH", 1, 3000.0);
    panel().setVariable("TURB ENG FUEL FLOW PPH", 2, 1000.0);
    settle();
    panel().setToken(303, 999.0);
    settle();
    EXPECT_NEAR(fms().fuelMgt.fuelUsed[0], 6.7 * 0.75, 1e-3);
    EXPECT_NEAR(fms().fuelMgt.fuelUsed[1], 6.7 * 0.25, 1e-3);
    EXPECT_FLOAT_EQ(fms().fuelMgt.fuelUsed[2], 0.0f);

    panel().setToken(60, 0.0);
    setSpeeds(0.0, 120.0);
    settle();
    panel().setToken(304, 990.0);
    settle();
    EXPECT_DOUBLE_EQ(fms().perfInit.toFuel, 0.0) << "nothing left for takeoff once airborne";
    EXPECT_NEAR(fms().perfInit.fuelAtLastFix, 1998.0 * 6.7, 0.01) << "held in the air";
}

} // namespace
} // namespace tavi::test
