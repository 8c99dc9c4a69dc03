#include "cdu/pages/SimulatorPlanImport.h"

#include "navdata/GcNav.h"
#include "platform/panel/GpsDataBlock.h"
#include "support/CduPlanSession.h"

#include <cmath>
#include <cstring>

namespace tavi::test {
namespace {

// The simulator's plan as its GPS data block holds it.
struct SimulatorPlan {
    void add(const char* ident, double latitude, double longitude) {
        platform::GpsWaypointRecord record;
        record.latitude = std::llround(latitude / (3.656655283481889e-17 * 57.29577951308232));
        record.longitude = std::llround(longitude / 360.0 * 18446744073709551616.0);
        std::strncpy(record.ident, ident, sizeof record.ident - 1);
        records.push_back(record);
        block.waypoints = records.data();
        block.waypointCount = static_cast<uint32_t>(records.size());
    }
    std::vector<platform::GpsWaypointRecord> records;
    platform::GpsDataBlock block;
};

class SimulatorPlanImportTest : public CduPlanSession {
protected:
    SimulatorPlanImportTest() {
        module.simulator.panel.setNamedBlock(platform::kGpsDataBlockName, &plan.block);
        fms().setPage(Fms::kActiveFlightPlanPage, 1);
    }
    void load() {
        fms().messages.clear();
        fms().pressKey(kL2);
    }
    SimulatorPlan plan;
};

TEST_F(SimulatorPlanImportTest, PositionsDecodeAsFractionsOfTheCircle) {
    EXPECT_NEAR(
        SimulatorPlanImport::decodeLongitude(std::llround(90.0 / 360.0 * 18446744073709551616.0)),
        90.0, 1e-9);
    EXPECT_NEAR(SimulatorPlanImport::decodeLongitude(-std::llround(0.25 * 18446744073709551616.0)),
                -90.0, 1e-9);
    EXPECT_NEAR(SimulatorPlanImport::decodeLatitude(
                    std::llround(47.0 / (3.656655283481889e-17 * 57.29577951308232))),
                47.0, 1e-9);
}

TEST_F(SimulatorPlanImportTest, AirportToAirportOverFixesAndAUserPoint) {
    plan.add("ZZAA", 47.0, 8.0);
    plan.add("P", 47.5, 8.5);
    plan.add("USR1", 47.3, 8.9);
    plan.add("USR2", 47.2, 8.7);
    plan.add("ZZAD", 47.5, 8.0);
    load();
    EXPECT_EQ(fms().currentPage, Fms::kActiveFlightPlanPage);
    EXPECT_EQ(activeFlightPlan.org.ident, "ZZAA");
    EXPECT_EQ(activeFlightPlan.dest.ident, "ZZAD");
    EXPECT_EQ(legIdents(activeFlightPlan),
              (std::vector<std::string>{"P", "*LL01", "*LL03", "ZZAD"}));
    EXPECT_FALSE(activeFlightPlan.locked);
    EXPECT_EQ(row(4).substr(0, 1), "P");
    screenshot("ActiveFltPlanImported");
}

TEST_F(SimulatorPlanImportTest, NavIndexLoadsTheSimulatorPlanFromItsSecondSubPage) {
    plan.add("ZZAA", 47.0, 8.0);
    plan.add("P", 47.5, 8.5);
    plan.add("ZZAD", 47.5, 8.0);
    fms().setPage(Fms::kNavIndexPage, 2);
    fms().pressKey(kL1);
    EXPECT_EQ(activeFlightPlan.org.ident, "ZZAA");
    EXPECT_EQ(legIdents(activeFlightPlan), (std::vector<std::string>{"P", "ZZAD"}));
}

// Typed first on ACTIVE FLT PLAN, ZZAA over P, Q, R and S to ZZAD; then the simulator's plan
// from ZZAA over T to ZZAE is loaded from NAV INDEX.
TEST_F(SimulatorPlanImportTest, TheSimulatorsPlanReplacesTheRoute) {
    useKeyboard();
    typeRoute();
    ASSERT_EQ(legIdents(activeFlightPlan), (std::vector<std::string>{"P", "Q", "R", "S", "ZZAD"}));
    plan.add("ZZAA", 47.0, 8.0);
    plan.add("T", 47.9, 9.3);
    plan.add("ZZAE", 47.6666666666667, 8.0);
    fms().setPage(Fms::kNavIndexPage, 2);
    fms().pressKey(kL1);
    EXPECT_EQ(activeFlightPlan.org.ident, "ZZAA");
    EXPECT_EQ(activeFlightPlan.dest.ident, "ZZAE");
    EXPECT_EQ(legIdents(activeFlightPlan), (std::vector<std::string>{"T", "ZZAE"}));
}

TEST_F(SimulatorPlanImportTest, ADatabasePointMustLieWithinThreeMiles) {
    for (const auto& [miles, ident] : {std::pair{2.99, "P"}, {3.01, "*LL01"}}) {
        resetGlobalFlightPlans();
        fms().purgeTemporaryWaypoints();
        plan = SimulatorPlan();
        module.simulator.panel.setNamedBlock(platform::kGpsDataBlockName, &plan.block);
        double latitude = 0.0;
        double longitude = 0.0;
        GcNav(47.5, 8.5).destination(0.0, miles, latitude, longitude);
        plan.add("ZZAA", 47.0, 8.0);
        plan.add("P", latitude, longitude);
        plan.add("ZZAD", 47.5, 8.0);
        load();
        ASSERT_EQ(activeFlightPlan.legCount(), 2u) << miles;
        EXPECT_EQ(activeFlightPlan.legs[0].wpt.ident, ident) << miles;
    }
}

TEST_F(SimulatorPlanImportTest, APlanNotFromAirportToAirportChangesNothing) {
    const struct {
        const char* first;
        double latitude;
        double longitude;
    } starts[] = {{"USR1", 47.3, 8.9}, {"P", 47.5, 8.5}};
    for (const auto& start : starts) {
        plan = SimulatorPlan();
        module.simulator.panel.setNamedBlock(platform::kGpsDataBlockName, &plan.block);
        plan.add(start.first, start.latitude, start.longitude);
        plan.add("ZZAD", 47.5, 8.0);
        load();
        EXPECT_EQ(message(), "FLIGHT PLAN IS INVALID") << start.first;
        EXPECT_FALSE(activeFlightPlan.hasOriginAndDestination());
        EXPECT_FALSE(activeFlightPlan.locked);
        EXPECT_EQ(fms().pilotPoints().find("*LL01"), nullptr) << "no point left behind";
    }
    module.simulator.panel.setNamedBlock(platform::kGpsDataBlockName, nullptr);
    load();
    EXPECT_EQ(message(), "FLIGHT PLAN IS INVALID") << "no simulator plan";
}

} // namespace
} // namespace tavi::test
