#include "navdata/NavDatabase.h"
#include "navdata/NavTestFixture.h"
#include "navdata/Navaid.h"
#include "navdata/Waypoint.h"

#include <gtest/gtest.h>

namespace tavi {
namespace {

using test::Lines;
using Idents = std::vector<std::string>;

// Database waypoint IDs of the test region.
constexpr int32_t kP = 1;
constexpr int32_t kQ = 2;
constexpr int32_t kR = 3;
constexpr int32_t kS = 4;
constexpr int32_t kAbc = 8;
constexpr int32_t kT = 9;
constexpr int32_t kK1 = 10;
constexpr int32_t kK2 = 11;
constexpr int32_t kK3 = 12;
constexpr int32_t kK4 = 13;
constexpr int32_t kK5 = 14;

class AirwayTest : public test::NavDatabaseFixture {
protected:
    Waypoint waypoint(int32_t id) const {
        Waypoint fix;
        database.getWaypointInfo(id, fix);
        return fix;
    }

    Idents expand(const Waypoint& entry, const std::string& airway, const std::string& exit) {
        std::vector<Waypoint> result(1);
        database.getAirwayPoints(entry, airway, exit, result);
        Idents idents;
        for (const Waypoint& fix : result) {
            idents.push_back(fix.ident);
        }
        return idents;
    }
};

TEST_F(AirwayTest, AirwaysExpandInBothDirections) {
    connectToFixture();
    const struct {
        int32_t entry;
        const char* airway;
        const char* exit;
        Idents expected;
    } cases[] = {
        {kQ, "A1", "S", {"R", "S"}},
        {kS, "A1", "Q", {"R", "Q"}},
        {kQ, "A1", "R", {"R"}},
        {kP, "A1", "S", {"Q", "R", "S"}},
        {kS, "A1", "P", {"R", "Q", "P"}},
        {kR, "A1", "R", {}},
        {kQ, "A1", "s", {}},
        {kQ, "a1", "S", {"R", "S"}},
        {kK3, "B2", "K5", {"K4", "K5"}},
        {kK5, "B2", "K3", {"K4", "K3"}},
        {kK1, "B2", "K2", {"K2"}},
        {kK2, "B2", "K1", {"K1"}},
        {kK2, "B2", "K4", {}},
        {kK1, "B2", "K5", {}},
        {kAbc, "U3", "S", {"S"}},
        {kS, "U3", "T", {"ABC", "T"}},
        {kT, "C4", "R", {"R"}},
        {kP, "C4", "K1", {"R", "T", "K1"}},
        {kQ, "Z9", "S", {}},
        {kQ, "B2", "K5", {}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(expand(waypoint(c.entry), c.airway, c.exit), c.expected)
            << c.entry << " " << c.airway << " " << c.exit;
    }
    EXPECT_TRUE(lines.empty());
}

// L5 passes K1 twice: K1-K2-K3-K1-K4-K5.
TEST_F(AirwayTest, AnAirwayPassingAFixTwiceIsWalkedTheShortestWay) {
    connectTo(test::navSchema() + test::navRegion() +
              "INSERT INTO Airways (ID, Ident) VALUES (5, 'L5');"
              "INSERT INTO AirwayLegs (ID, AirwayID, Waypoint1ID, Waypoint2ID, IsStart, IsEnd) "
              "VALUES (20, 5, 10, 11, 1, 0), (21, 5, 11, 12, 0, 0), (22, 5, 12, 10, 0, 0), "
              "(23, 5, 10, 13, 0, 0), (24, 5, 13, 14, 0, 1);");
    lines.clear();
    const struct {
        int32_t entry;
        const char* exit;
        Idents expected;
    } cases[] = {
        {kK1, "K4", {"K4"}},
        {kK4, "K2", {"K1", "K2"}},
        {kK5, "K3", {"K4", "K1", "K3"}},
        {kK2, "K5", {"K1", "K4", "K5"}},
        {kK2, "K3", {"K3"}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(expand(waypoint(c.entry), "L5", c.exit), c.expected) << c.entry << " " << c.exit;
    }
    EXPECT_TRUE(lines.empty());
}

TEST_F(AirwayTest, TheResultHoldsFullDatabaseWaypoints) {
    connectToFixture();
    std::vector<Waypoint> result;
    database.getAirwayPoints(waypoint(kQ), "A1", "S", result);
    ASSERT_EQ(result.size(), 2u);
    EXPECT_EQ(result[1].id, kS);
    EXPECT_EQ(result[1].kind, WaypointKind::DatabaseWaypoint);
    EXPECT_EQ(result[1].strType, "WPT");
    EXPECT_EQ(result[1].latitude, 47.8);
    EXPECT_EQ(result[1].longitude, 9.1);
    EXPECT_EQ(result[1].variation, magDev.variation(47.8f, 9.1f));
}

TEST_F(AirwayTest, ANavaidEntersThroughItsCollocatedWaypoint) {
    connectToFixture();
    Navaid vor;
    database.getNavaidInfo(1, vor);
    EXPECT_EQ(expand(vor, "U3", "T"), Idents{"T"});
    EXPECT_EQ(expand(vor, "U3", "S"), Idents{"S"});
    Navaid vortac;
    database.getNavaidInfo(5, vortac);
    EXPECT_TRUE(expand(vortac, "U3", "T").empty());
    EXPECT_TRUE(lines.empty());
}

TEST_F(AirwayTest, OnlyDatabaseWaypointsAndNavaidsCanEnterAnAirway) {
    database.connect(loaders);
    lines.clear();
    Waypoint entry;
    entry.ident = "Q";
    entry.id = kQ;
    for (const WaypointKind kind :
         {WaypointKind::Plain, WaypointKind::Airport, WaypointKind::PilotWaypoint,
          WaypointKind::Runway, WaypointKind::Ils}) {
        entry.kind = kind;
        EXPECT_TRUE(expand(entry, "A1", "S").empty());
    }
    EXPECT_TRUE(lines.empty());

    entry.kind = WaypointKind::DatabaseWaypoint;
    EXPECT_TRUE(expand(entry, "A1", "S").empty());
    EXPECT_EQ(lines, (Lines{"getAirwayPoints", "the database is not open"}));
}

} // namespace
} // namespace tavi
