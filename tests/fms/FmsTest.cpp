#include "fms/Fms.h"

#include "airframe/Electric.h"
#include "avionics/Ahrs.h"
#include "avionics/FlightDirector.h"
#include "avionics/Gps.h"
#include "fms/GlobalFlightPlans.h"
#include "navdata/GcNav.h"
#include "platform/db/Database.h"
#include "support/ModuleHarness.h"

#include <algorithm>
#include <fstream>
#include <gtest/gtest.h>
#include <sstream>

namespace tavi::test {
namespace {

const std::filesystem::path kFixtures = TAVI_TEST_FIXTURES;

std::string readText(const std::filesystem::path& path) {
    std::ifstream file(path, std::ios::binary);
    std::ostringstream text;
    text << file.rdbuf();
    return text.str();
}

// The module in a simulator folder holding the test region's navigation database.
class FmsScenario : public testing::Test {
protected:
    FmsScenario() {
        module.writeIni("[Startup]\nstartupMode=2\n[Fms.Maint]\nisSelectedMag=1\n");
        platform::db::createDatabase(module.folder.path() / "Orvane/Nd/nd.sqlite",
                                     readText(kFixtures / "../../data/nd/schema.sql") +
                                         readText(kFixtures / "navdb/region.sql"));
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
    fms().airborne = true;
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
    for (const Row& row : rows) {
        fms().setScratchpad("12");
        fms().pageKeys.clear();
        ASSERT_TRUE(fms().handleKey(aircraft, row.key, true, false)) << row.key;
        EXPECT_EQ(fms().scratchPad.text(), row.pad) << row.key;
        EXPECT_EQ(fms().pageKeys, row.pageKeys) << row.key;
    }
    EXPECT_FALSE(fms().handleKey(aircraft, 120, false, false));
}

// The simulator's position tokens, as the GPS reads them on the next frame.
void placeAircraft(sim::Panel& panel, double latitude, double longitude) {
    panel.setToken(71, latitude / 360.0 * 40007000.0);
    panel.setToken(72, longitude / 360.0 * 281474976710656.0);
}

Waypoint firstOf(std::vector<Waypoint> list) {
    EXPECT_FALSE(list.empty());
    return list.empty() ? Waypoint{} : list.front();
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
    fms().airborne = true;
    module.simulator.step();

    EXPECT_NEAR(fms().position.latitude, latitude, 1e-6);
    const LnavState* state = fms().lnavState();
    ASSERT_NE(state, nullptr);
    EXPECT_TRUE(state->valid);
    EXPECT_NEAR(state->crossTrackError, 2.0, 0.1) << "right of the path is positive";
    EXPECT_EQ(state->ident, "ABC");

    FlightDirector& director = *module.aircraft().flightDirector();
    ASSERT_EQ(director.fms, &fms());
    EXPECT_EQ(director.fms->lnavState(), state);
    EXPECT_EQ(director.fms->activeLegDistance(), activeFlightPlan.legs[0].distance);

    GcNav(latitude, longitude).destination(course - 90.0, 4.0, latitude, longitude);
    placeAircraft(module.simulator.panel, latitude, longitude);
    module.simulator.step();
    EXPECT_NEAR(fms().lnavState()->crossTrackError, -2.0, 0.1) << "left of the path is negative";

    module.aircraft().electric()->avionicsMaster1 = false;
    module.simulator.step();
    ASSERT_FALSE(fms().powered);
    EXPECT_FALSE(fms().lnavState()->valid) << "no guidance is left behind by a dead CDU";
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
    fms().pageKeys.clear();
    fms().pressKey(Fms::kDelKey);
    EXPECT_TRUE(fms().isScratchpadDelete());
    EXPECT_TRUE(fms().pageKeys.empty());
    fms().pressKey(Fms::kDelKey);
    EXPECT_EQ(fms().pageKeys, std::vector<int32_t>{Fms::kDelKey});
    EXPECT_EQ(fms().takeScratchpad(), "*DELETE*");
}

} // namespace
} // namespace tavi::test
