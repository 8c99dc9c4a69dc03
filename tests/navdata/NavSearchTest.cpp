#include "navdata/MagDev.h"
#include "navdata/NavDatabase.h"
#include "navdata/NavTestFixture.h"
#include "navdata/PilotPointStore.h"
#include "navdata/Runway.h"
#include "navdata/Waypoint.h"

#include <gtest/gtest.h>

namespace tavi {
namespace {

using test::Lines;

// The fixes of an active plan from its active leg on, each with its named-fix flag.
class FakePlan final : public NavDatabase::ActivePlan {
public:
    const Waypoint* namedFixFromActiveLeg(const std::string& ident) const override {
        for (const auto& [fix, named] : legs) {
            if (named && fix.ident == ident) {
                return &fix;
            }
        }
        return nullptr;
    }
    std::string destinationAirport() const override { return destination; }

    std::vector<std::pair<Waypoint, bool>> legs;
    std::string destination;
};

Waypoint point(std::string ident, WaypointKind kind, double latitude, double longitude) {
    Waypoint waypoint;
    waypoint.ident = std::move(ident);
    waypoint.kind = kind;
    waypoint.latitude = latitude;
    waypoint.longitude = longitude;
    return waypoint;
}

struct Found {
    WaypointKind kind;
    int32_t id;
    bool operator==(const Found&) const = default;
};

std::ostream& operator<<(std::ostream& out, const Found& found) {
    return out << "{kind " << static_cast<int>(found.kind) << ", id " << found.id << "}";
}

std::vector<Found> found(const std::vector<Waypoint>& list) {
    std::vector<Found> result;
    for (const Waypoint& waypoint : list) {
        result.push_back({waypoint.kind, waypoint.id});
    }
    return result;
}

class NavSearchTest : public test::NavDatabaseFixture {
protected:
    NavSearchTest() : store(magDev, [](std::string_view) {}) {
        database.setPilotPoints(&store);
        database.setActivePlan(&plan);
        store.loadFolder(root.path() / "Orvane/CustomDB");
    }

    void addPilotPoint(const std::string& ident, double latitude, double longitude) {
        PilotPoint pilotPoint;
        pilotPoint.ident = ident;
        pilotPoint.latitude = latitude;
        pilotPoint.longitude = longitude;
        pilotPoint.ppType = PilotPointType::LatLon;
        store.add(pilotPoint);
    }

    std::vector<Waypoint> find(const std::string& ident, bool includePlanAndPilot = true) {
        std::vector<Waypoint> list(1);
        database.findWaypoints(ident, list, includePlanAndPilot);
        return list;
    }

    PilotPointStore store;
    FakePlan plan;
};

TEST_F(NavSearchTest, EachSearchFillsItsCandidates) {
    connectToFixture();
    std::vector<Waypoint> list;
    database.searchAirports("zzab", list);
    database.searchIlses("IAAL", list);
    database.searchVors("VTX", list);
    database.searchNdbs("ABDNB", list);
    database.searchWpts("TWIN", list);
    ASSERT_EQ(found(list), (std::vector<Found>{{WaypointKind::Airport, 3},
                                               {WaypointKind::Ils, 1},
                                               {WaypointKind::Navaid, 5},
                                               {WaypointKind::Navaid, 4},
                                               {WaypointKind::DatabaseWaypoint, 6},
                                               {WaypointKind::DatabaseWaypoint, 7}}));
    const Waypoint& airport = list[0];
    EXPECT_EQ(airport.ident, "zzab");
    EXPECT_EQ(airport.aptIdent, "zzab");
    EXPECT_EQ(airport.elevation, 1520);
    EXPECT_EQ(airport.strType, "ARPT");
    EXPECT_EQ(airport.variation, magDev.variation(47.1666666666667f, 8.0f));
    EXPECT_EQ(list[1].strType, "ILSDME");
    EXPECT_EQ(list[1].frequency, 0x01103000);
    EXPECT_TRUE(list[1].aptIdent.empty());
    EXPECT_TRUE(list[2].strType.empty());
    EXPECT_EQ(list[2].frequency, 0);
    EXPECT_EQ(list[3].ident, "ABDNB");
    EXPECT_EQ(list[3].latitude, 47.1);
    EXPECT_EQ(list[4].strType, "WPT");
    EXPECT_EQ(list[5].latitude, 48.0);
    EXPECT_TRUE(lines.empty());
}

TEST_F(NavSearchTest, NdbsAreFoundByTheirEntryEndingInNb) {
    connectToFixture();
    const struct {
        const char* entry;
        std::vector<int32_t> ids;
    } cases[] = {
        {"ABNB", {3}}, {"abnb", {3}}, {"ABDNB", {4}}, {"AB", {}},
        {"ABD", {}},   {"NB", {}},    {"VTXNB", {}},  {"", {}},
    };
    for (const auto& c : cases) {
        std::vector<Waypoint> list;
        database.searchNdbs(c.entry, list);
        std::vector<int32_t> ids;
        for (const Waypoint& ndb : list) {
            ids.push_back(ndb.id);
            EXPECT_EQ(ndb.ident, c.entry);
        }
        EXPECT_EQ(ids, c.ids) << c.entry;
    }
    std::vector<Waypoint> vors;
    database.searchVors("AB", vors);
    database.searchVors("ABD", vors);
    EXPECT_TRUE(vors.empty());
}

TEST_F(NavSearchTest, FindWaypointsSortsByDistanceAndDropsDuplicates) {
    connectToFixture();
    database.setPresentPosition(47.0, 8.0);
    const std::vector<Waypoint> abc = find("ABC");
    EXPECT_EQ(found(abc),
              (std::vector<Found>{{WaypointKind::Navaid, 1}, {WaypointKind::Navaid, 2}}));
    EXPECT_NEAR(abc[0].distance, 17.15, 0.01);
    EXPECT_NEAR(abc[1].distance, 196.76, 0.01);

    database.setPresentPosition(46.5, 7.5);
    EXPECT_EQ(found(find("TWIN")), (std::vector<Found>{{WaypointKind::DatabaseWaypoint, 6},
                                                       {WaypointKind::DatabaseWaypoint, 7}}));
    database.setPresentPosition(48.5, 9.5);
    EXPECT_EQ(found(find("TWIN")), (std::vector<Found>{{WaypointKind::DatabaseWaypoint, 7},
                                                       {WaypointKind::DatabaseWaypoint, 6}}));
    EXPECT_TRUE(find("NOPE").empty());
    EXPECT_TRUE(lines.empty());
}

TEST_F(NavSearchTest, RemoveDuplicatesKeepsTheFirstOfEachPointInARun) {
    const std::vector<Waypoint> list = {
        point("A", WaypointKind::Navaid, 1.0, 2.0),
        point("A", WaypointKind::DatabaseWaypoint, 1.0, 2.0),
        point("B", WaypointKind::Navaid, 1.0, 2.0),
        point("A", WaypointKind::Navaid, 1.0, 2.0),
        point("A", WaypointKind::Navaid, 1.0, 2.5),
        point("", WaypointKind::Plain, 0.0, 0.0),
        point("", WaypointKind::Airport, 0.0, 0.0),
    };
    std::vector<Waypoint> thinned = list;
    NavDatabase::removeDuplicates(thinned);
    EXPECT_EQ(found(thinned), (std::vector<Found>{{WaypointKind::Navaid, 0},
                                                  {WaypointKind::Navaid, 0},
                                                  {WaypointKind::Navaid, 0},
                                                  {WaypointKind::Navaid, 0},
                                                  {WaypointKind::Plain, 0}}));
    EXPECT_EQ(thinned[1].ident, "B");
    EXPECT_EQ(thinned[3].longitude, 2.5);
    std::vector<Waypoint> single = {list[1]};
    NavDatabase::removeDuplicates(single);
    EXPECT_EQ(single.size(), 1u);
}

TEST_F(NavSearchTest, AirportsAreSearchedForIdentsOfUpToFourCharacters) {
    database.connect(loaders);
    lines.clear();
    find("ABCDE");
    find("ABCD");
    EXPECT_EQ(lines, (Lines{"searchIlses", "the database is not open", "searchVors",
                            "the database is not open", "searchNdbs", "the database is not open",
                            "searchWpts", "the database is not open", "searchAirports",
                            "the database is not open", "searchIlses", "the database is not open",
                            "searchVors", "the database is not open", "searchNdbs",
                            "the database is not open", "searchWpts", "the database is not open"}));
}

TEST_F(NavSearchTest, APlanFixFromTheActiveLegOnIsTheOnlyAnswer) {
    connectToFixture();
    plan.legs = {{point("Q", WaypointKind::Plain, 1.0, 1.0), false},
                 {point("ABC", WaypointKind::DatabaseWaypoint, 47.2, 8.3), true}};
    plan.legs[1].first.id = 8;
    EXPECT_EQ(found(find("ABC")), (std::vector<Found>{{WaypointKind::DatabaseWaypoint, 8}}));
    EXPECT_EQ(find("ABC")[0].distance, 0.0);
    EXPECT_EQ(found(find("ABC", false)),
              (std::vector<Found>{{WaypointKind::Navaid, 1}, {WaypointKind::Navaid, 2}}));
    EXPECT_EQ(found(find("Q")), (std::vector<Found>{{WaypointKind::DatabaseWaypoint, 2}}));
    EXPECT_EQ(find("abc").size(), 2u);
}

TEST_F(NavSearchTest, PilotWaypointsJoinTheCandidatesAndTemporaryIdentsSkipTheDatabase) {
    connectToFixture();
    database.setPresentPosition(47.0, 8.0);
    addPilotPoint("TWIN", 47.0, 8.0);
    addPilotPoint("*LL01", 46.0, 7.0);
    addPilotPoint("*ABC", 46.0, 7.0);

    EXPECT_EQ(found(find("TWIN")), (std::vector<Found>{{WaypointKind::PilotWaypoint, 0},
                                                       {WaypointKind::DatabaseWaypoint, 7},
                                                       {WaypointKind::DatabaseWaypoint, 6}}));
    EXPECT_EQ(found(find("TWIN", false)),
              (std::vector<Found>{{WaypointKind::DatabaseWaypoint, 7},
                                  {WaypointKind::DatabaseWaypoint, 6}}));
    EXPECT_EQ(found(find("*LL01")), (std::vector<Found>{{WaypointKind::PilotWaypoint, 0}}));
    EXPECT_TRUE(find("*LL01", false).empty());
    EXPECT_EQ(find("*ABC").size(), 1u);
    EXPECT_TRUE(lines.empty());
}

TEST_F(NavSearchTest, WithoutADatabaseOnlyThePilotWaypointIsFound) {
    database.connect(loaders);
    addPilotPoint("ABC", 47.0, 8.0);
    lines.clear();
    EXPECT_EQ(found(find("ABC")), (std::vector<Found>{{WaypointKind::PilotWaypoint, 0}}));
    EXPECT_EQ(lines.size(), 10u);
}

TEST_F(NavSearchTest, AirportRunwaysInDesignatorOrder) {
    connectToFixture();
    std::vector<Runway> runways(2);
    database.getAirportRunways("ZZAA", runways);
    ASSERT_EQ(runways.size(), 4u);
    std::vector<std::string> idents;
    for (const Runway& runway : runways) {
        idents.push_back(runway.ident);
        EXPECT_EQ(runway.aptIdent, "ZZAA");
        EXPECT_EQ(runway.kind, WaypointKind::Runway);
    }
    EXPECT_EQ(idents, (std::vector<std::string>{"RW09L", "RW09R", "RW27L", "RW27R"}));
    EXPECT_EQ(runways[2].id, 4);
    EXPECT_EQ(runways[2].length, 9800);
    EXPECT_EQ(runways[2].trueHeading, 270.0f);
    database.getAirportRunways("ZZZZ", runways);
    EXPECT_TRUE(runways.empty());
    EXPECT_TRUE(lines.empty());
}

struct ResolveCase {
    const char* name;
    Waypoint stored;
    bool resolved;
    int32_t id;
};

TEST_F(NavSearchTest, StoredPointsAreFoundAgainByKindIdentAndPosition) {
    connectToFixture();
    addPilotPoint("WPA", 47.25, 8.25);
    const ResolveCase cases[] = {
        {"ILS within the tolerance", point("IAAL", WaypointKind::Ils, 47.0625, 8.0975), true, 1},
        {"ILS a tenth off", point("IAAL", WaypointKind::Ils, 47.125, 8.035), false, 0},
        {"the second VOR of an ident", point("ABC", WaypointKind::Navaid, 50.0625, 9.9375), true,
         2},
        {"an NDB by its entry", point("ABNB", WaypointKind::Navaid, 47.05, 8.1), true, 3},
        {"a waypoint of two", point("TWIN", WaypointKind::DatabaseWaypoint, 48.0, 9.0), true, 7},
        {"a waypoint far off", point("TWIN", WaypointKind::DatabaseWaypoint, 20.0, 9.0), false, 0},
        {"an airport anywhere", point("ZZAB", WaypointKind::Airport, 10.0, 10.0), true, 3},
        {"an unknown airport", point("ZZZZ", WaypointKind::Airport, 47.0, 8.0), false, 0},
        {"a pilot waypoint anywhere", point("WPA", WaypointKind::PilotWaypoint, 0.0, 0.0), true, 0},
        {"a lost pilot waypoint", point("WPX", WaypointKind::PilotWaypoint, 47.0, 8.0), false, 0},
        {"a plain point", point("N47E008", WaypointKind::Plain, 47.0, 8.0), false, 0},
        {"a runway at the airport around it", point("RW09L", WaypointKind::Runway, 47.0, 7.98),
         true, 1},
        {"a runway with no airport around it", point("RW09L", WaypointKind::Runway, 20.0, 7.98),
         false, 0},
    };
    for (const ResolveCase& c : cases) {
        Waypoint waypoint = c.stored;
        waypoint.strType = "OLD";
        EXPECT_EQ(database.resolveStoredWaypoint(waypoint), c.resolved) << c.name;
        if (c.resolved) {
            EXPECT_EQ(waypoint.id, c.id) << c.name;
            EXPECT_EQ(waypoint.kind, c.stored.kind) << c.name;
            EXPECT_NE(waypoint.strType, "OLD") << c.name;
        } else {
            EXPECT_EQ(waypoint.strType, "OLD") << c.name;
            EXPECT_EQ(waypoint.latitude, c.stored.latitude) << c.name;
        }
    }
    Waypoint airport = point("ZZAB", WaypointKind::Airport, 10.0, 10.0);
    database.resolveStoredWaypoint(airport);
    EXPECT_EQ(airport.latitude, 47.1666666666667);
    Waypoint pilot = point("WPA", WaypointKind::PilotWaypoint, 0.0, 0.0);
    database.resolveStoredWaypoint(pilot);
    EXPECT_EQ(pilot.latitude, 47.25);
    EXPECT_TRUE(lines.empty());
}

TEST_F(NavSearchTest, StoredRunwaysAreLookedForAtThePlansAirports) {
    connectToFixture();
    const auto resolve = [&](const char* ident, std::vector<std::string> planAirports) {
        Runway runway;
        runway.ident = ident;
        runway.length = 1;
        const bool resolved = database.resolveStoredWaypoint(runway, planAirports);
        EXPECT_EQ(runway.length == 1, !resolved) << "a runway found gets its whole record";
        return resolved ? runway.aptIdent + "/" + std::to_string(runway.id) : std::string();
    };
    plan.destination = "ZZAA";
    EXPECT_EQ(resolve("RW27L", {}), "ZZAA/4");
    EXPECT_EQ(resolve("RW01", {}), "");
    EXPECT_EQ(resolve("RW01", {"ZZAB", "ZZAA"}), "ZZAB/5");
    EXPECT_EQ(resolve("RW09L", {"ZZAB", "ZZZZ"}), "ZZAA/1");
    plan.destination.clear();
    EXPECT_EQ(resolve("RW09R", {"", "ZZAA"}), "ZZAA/3");
    EXPECT_EQ(resolve("RW09R", {}), "");
    EXPECT_EQ(resolve("rw09r", {"ZZAA"}), "");
    EXPECT_TRUE(lines.empty());
}

} // namespace
} // namespace tavi
