#include "support/CduPlanSession.h"

namespace tavi::test {
namespace {

// A plan with a leg of every kind a stored plan's file can hold, from runway 09L of ZZAA to
// runway 09 of ZZAE of the test region, saved and read back through the navigation database.
class StoredPlanRoundTripTest : public CduPlanSession {
protected:
    // The database's record of the point, found by its kind, ident and position.
    Waypoint record(WaypointKind kind, const std::string& ident, double latitude,
                    double longitude) {
        Waypoint point;
        point.kind = kind;
        point.ident = ident;
        point.latitude = latitude;
        point.longitude = longitude;
        EXPECT_TRUE(fms().navDatabase().resolveStoredWaypoint(point)) << ident;
        return point;
    }
    Runway runway(const std::string& airport, const std::string& ident) {
        std::vector<Runway> runways;
        fms().navDatabase().getAirportRunways(airport, runways);
        for (const Runway& r : runways) {
            if (r.ident == ident) {
                return r;
            }
        }
        ADD_FAILURE() << airport << " " << ident;
        return Runway();
    }
};

TEST_F(StoredPlanRoundTripTest, EveryLegKindReadsBackAsSaved) {
    PilotPoint mine;
    mine.kind = WaypointKind::PilotWaypoint;
    mine.ident = "MYPT";
    mine.latitude = 47.25;
    mine.longitude = 8.25;
    fms().pilotPoints().restore(mine);
    ASSERT_NE(fms().pilotPoints().find("MYPT"), nullptr);
    const Waypoint legs[] = {
        record(WaypointKind::Airport, "ZZAB", 47.1666666666667, 8.0),
        record(WaypointKind::Ils, "IAAR", 46.995, 8.02),
        // Two navaids share the ident ABC: the one at the stored position comes back.
        record(WaypointKind::Navaid, "ABC", 50.0, 10.0),
        // An NDB is a plan's fix by the ident it is entered with.
        record(WaypointKind::Navaid, "ABNB", 47.05, 8.1),
        record(WaypointKind::DatabaseWaypoint, "TWIN", 48.0, 9.0),
        Waypoint(),
        record(WaypointKind::DatabaseWaypoint, "P", 47.5, 8.5),
        *fms().pilotPoints().find("MYPT"),
        runway("ZZAA", "RW27L"),
    };
    const FlightPlanContext& context = fms().planContext();
    FlightPlan saved;
    saved.setName("ALLKINDS");
    saved.setOriginRunway(runway("ZZAA", "RW09L"), context);
    saved.setDestinationRunway(runway("ZZAE", "RW09"), context);
    for (const Waypoint& point : legs) {
        FlightPlanLeg leg;
        leg.wpt = point;
        leg.setDiscontinuity(point.kind == WaypointKind::Plain);
        saved.legs.push_back(leg);
    }
    ASSERT_TRUE(fms().storedPlans().savePlanFile(saved));

    fms().storedPlans().loadStoredPlans(customFolder(), context);
    ASSERT_TRUE(fms().storedPlans().contains("ALLKINDS")) << "listed after a restart";
    FlightPlan loaded;
    ASSERT_TRUE(fms().storedPlans().loadPlanFile(loaded, "ALLKINDS",
                                                 customFolder() / "ALLKINDS.ri2v.fpl", context));
    ASSERT_EQ(loaded.legCount(), saved.legCount());
    for (std::size_t i = 0; i < saved.legCount(); ++i) {
        const Waypoint& written = saved.legs[i].wpt;
        const Waypoint& read = loaded.legs[i].wpt;
        EXPECT_EQ(loaded.legs[i].isDiscontinuity(), saved.legs[i].isDiscontinuity()) << i;
        EXPECT_EQ(read.kind, written.kind) << written.ident;
        EXPECT_EQ(read.ident, written.ident) << i;
        EXPECT_EQ(read.id, written.id) << written.ident;
        if (saved.legs[i].isDiscontinuity()) {
            continue;
        }
        EXPECT_NEAR(read.latitude, written.latitude, 1e-6) << written.ident;
        EXPECT_NEAR(read.longitude, written.longitude, 1e-6) << written.ident;
    }
    for (const auto& [read, written] :
         {std::pair{loaded.org, saved.org}, std::pair{loaded.dest, saved.dest}}) {
        EXPECT_EQ(read.kind, WaypointKind::Runway) << written.ident;
        EXPECT_EQ(read.ident, written.ident);
        EXPECT_NEAR(read.latitude, written.latitude, 1e-6) << written.ident;
        EXPECT_NEAR(read.longitude, written.longitude, 1e-6) << written.ident;
    }
    for (const auto& [read, written] :
         {std::pair{loaded.orgRwy, saved.orgRwy}, std::pair{loaded.destRwy, saved.destRwy}}) {
        EXPECT_EQ(read.ident, written.ident);
        EXPECT_EQ(read.aptIdent, written.aptIdent);
        EXPECT_EQ(read.latitude, written.latitude) << written.ident << ": its threshold";
        EXPECT_EQ(read.trueHeading, written.trueHeading) << written.ident;
        EXPECT_EQ(read.length, written.length) << written.ident;
    }
}

} // namespace
} // namespace tavi::test
