#include "navdata/Waypoint.h"

#include "navdata/Airport.h"
#include "navdata/Ils.h"
#include "navdata/Navaid.h"
#include "navdata/PilotPoint.h"
#include "navdata/Runway.h"

#include <gtest/gtest.h>

namespace tavi {
namespace {

TEST(WaypointTest, EachClassStartsWithItsKindAndDefaults) {
    EXPECT_EQ(Waypoint().kind, WaypointKind::Plain);
    EXPECT_EQ(Airport().kind, WaypointKind::Airport);
    EXPECT_EQ(Ils().kind, WaypointKind::Ils);
    EXPECT_EQ(Navaid().kind, WaypointKind::Navaid);
    EXPECT_EQ(PilotPoint().kind, WaypointKind::PilotWaypoint);
    EXPECT_EQ(Runway().kind, WaypointKind::Runway);
    const Navaid navaid;
    EXPECT_EQ(navaid.navaidType, kNavaidVor);
    EXPECT_EQ(navaid.slavedVariation, 360.0);
    EXPECT_TRUE(navaid.usage.empty());
    EXPECT_FALSE(PilotPoint().isDefined());
    EXPECT_EQ(Runway().id, 0);
}

TEST(WaypointTest, RunwayDesignatorDropsTheRwPrefix) {
    const struct {
        const char* ident;
        const char* designator;
    } cases[] = {{"RW09L", "09L"}, {"RW27", "27"}, {"RW9", "9"}, {"RW", ""}, {"", ""}};
    for (const auto& c : cases) {
        Waypoint waypoint;
        waypoint.ident = c.ident;
        EXPECT_EQ(waypoint.runwayDesignator(), c.designator) << c.ident;
    }
}

TEST(WaypointTest, OnlyPilotPointsWithAMarkedIdentAreTemporary) {
    const struct {
        WaypointKind kind;
        const char* ident;
        bool temporary;
    } cases[] = {
        {WaypointKind::PilotWaypoint, "*PD01", true},   {WaypointKind::PilotWaypoint, "#AB", true},
        {WaypointKind::PilotWaypoint, "&X", true},      {WaypointKind::PilotWaypoint, "*", false},
        {WaypointKind::PilotWaypoint, "ABC", false},    {WaypointKind::PilotWaypoint, "", false},
        {WaypointKind::DatabaseWaypoint, "*AB", false},
    };
    for (const auto& c : cases) {
        Waypoint waypoint;
        waypoint.kind = c.kind;
        waypoint.ident = c.ident;
        EXPECT_EQ(waypoint.isTemporary(), c.temporary) << c.ident;
    }
}

TEST(WaypointTest, AssigningASubclassToAWaypointCopiesTheWaypointPart) {
    Navaid navaid;
    navaid.ident = "VTX";
    navaid.latitude = 46.9;
    navaid.channel = "070X";
    navaid.typeText = "VTU";
    Waypoint waypoint;
    waypoint = navaid;
    EXPECT_EQ(waypoint.ident, "VTX");
    EXPECT_EQ(waypoint.kind, WaypointKind::Navaid);
    EXPECT_EQ(waypoint.channel, "070X");
    EXPECT_TRUE(waypoint.samePosition(navaid));
    waypoint.longitude = 1.0;
    EXPECT_FALSE(waypoint.samePosition(navaid));
}

} // namespace
} // namespace tavi
