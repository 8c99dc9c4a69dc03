#include "navdata/Airport.h"
#include "navdata/GcNav.h"
#include "navdata/NavDatabase.h"
#include "navdata/NavTestFixture.h"
#include "navdata/Navaid.h"
#include "navdata/Waypoint.h"

#include <gtest/gtest.h>

namespace tavi {
namespace {

using test::Lines;

template <std::size_t N>
std::vector<std::string> identsOf(const std::array<Airport, N>& slots) {
    std::vector<std::string> idents;
    for (const Airport& slot : slots) {
        idents.push_back(slot.ident);
    }
    return idents;
}

template <typename Records>
std::vector<std::string> identsOf(const Records& records) {
    std::vector<std::string> idents;
    for (const auto& record : records) {
        idents.push_back(record.ident);
    }
    return idents;
}

class NavNearestTest : public test::NavDatabaseFixture {};

TEST_F(NavNearestTest, VhfListAppendsEveryVhfStationAsStored) {
    connectToFixture();
    std::vector<Navaid> list(1);
    list[0].ident = "OLD";
    database.extractVhfNavaids(list);

    EXPECT_EQ(identsOf(list),
              (std::vector<std::string>{"OLD", "ABC", "ABC", "VTX", "DMA", "NUL", "DLN", "NA1",
                                        "NA2", "NA4", "NA5", "LONGN"}));
    const Navaid& vortac = list[3];
    EXPECT_EQ(vortac.id, 5);
    EXPECT_EQ(vortac.kind, WaypointKind::Navaid);
    EXPECT_EQ(vortac.navaidType, kNavaidVortac);
    EXPECT_EQ(vortac.latitude, 46.9);
    EXPECT_EQ(vortac.longitude, 8.4);
    EXPECT_EQ(vortac.elevation, 1300);
    EXPECT_EQ(vortac.frequency, 0x01123000);
    EXPECT_EQ(vortac.channel, "070X");
    EXPECT_EQ(vortac.usage, "B");
    EXPECT_EQ(vortac.slavedVariation, 1.5);
    EXPECT_EQ(vortac.variation, magDev.variation(46.9f, 8.4f));
    EXPECT_TRUE(vortac.strType.empty());
    EXPECT_TRUE(vortac.typeText.empty());
    const Navaid& bare = list[5];
    EXPECT_EQ(bare.ident, "NUL");
    EXPECT_EQ(bare.frequency, 0);
    EXPECT_EQ(bare.channel, "");
    EXPECT_EQ(bare.slavedVariation, kNoSlavedVariation);
    EXPECT_TRUE(lines.empty());
}

TEST_F(NavNearestTest, NearestAirportsArePrimaryOnesNearestFirst) {
    connectToFixture();
    std::array<Airport, 4> slots;
    database.getClosest4Airports(47.0, 8.0, 60.0, slots);
    EXPECT_EQ(identsOf(slots), (std::vector<std::string>{"ZZAA", "ZZAB", "ZZAC", "ZZAD"}));
    EXPECT_EQ(slots[1].id, 3);
    EXPECT_EQ(slots[1].kind, WaypointKind::Airport);
    EXPECT_NEAR(slots[1].distance, 10.0, 0.01);
    EXPECT_EQ(slots[1].primaryId, 0);

    slots[3].ident = "STALE";
    database.getClosest4Airports(47.0, 8.0, 15.0, slots);
    EXPECT_EQ(identsOf(slots), (std::vector<std::string>{"ZZAA", "ZZAB", "", ""}));
    EXPECT_EQ(slots[3].kind, WaypointKind::Airport);
    EXPECT_EQ(slots[3].distance, 0.0);
    EXPECT_TRUE(lines.empty());
}

TEST_F(NavNearestTest, NearestListsReachAcrossThe180thMeridianAndOverAPole) {
    connectToFixture();
    std::array<Airport, 4> airports;
    std::array<Navaid, 8> navaids;
    database.getClosest4Airports(-17.0, -179.95, 30.0, airports);
    database.getClosest8Navaids(-17.0, 179.95, 30.0, navaids);
    EXPECT_EQ(airports[0].ident, "ZZDL");
    EXPECT_EQ(navaids[0].ident, "DLN");
    EXPECT_EQ(navaids[1].ident, "");

    database.getClosest4Airports(89.0, 180.0, 400.0, airports);
    EXPECT_EQ(airports[0].ident, "ZZPO");
}

TEST_F(NavNearestTest, NearestNavaidsAreTheEightNearestOfAnyType) {
    connectToFixture();
    std::array<Navaid, 8> slots;
    database.getClosest8Navaids(47.0, 8.0, 60.0, slots);
    EXPECT_EQ(identsOf(slots),
              (std::vector<std::string>{"AB", "ABD", "ABC", "VTX", "TCN", "DMA", "NA1", "NA2"}));
    EXPECT_EQ(slots[0].navaidType, kNavaidNdb);
    EXPECT_EQ(slots[4].navaidType, kNavaidTacan);
    EXPECT_EQ(slots[4].id, 6);
    EXPECT_EQ(slots[4].frequency, 0);
    EXPECT_TRUE(slots[4].channel.empty());

    database.getClosest8Navaids(47.0, 8.0, 12.0, slots);
    EXPECT_EQ(identsOf(slots), (std::vector<std::string>{"AB", "ABD", "", "", "", "", "", ""}));
    EXPECT_EQ(slots[2].navaidType, kNavaidVor);
    EXPECT_EQ(slots[2].slavedVariation, kNoSlavedVariation);
}

TEST_F(NavNearestTest, NearestListsWithoutAConnectionStayEmptyAndSayNothing) {
    std::array<Airport, 4> airports;
    airports[0].ident = "STALE";
    std::array<Navaid, 8> navaids;
    database.getClosest4Airports(47.0, 8.0, 60.0, airports);
    database.getClosest8Navaids(47.0, 8.0, 60.0, navaids);
    EXPECT_EQ(airports[0].ident, "");
    EXPECT_TRUE(lines.empty());

    database.connect(loaders);
    lines.clear();
    database.getClosest4Airports(47.0, 8.0, 60.0, airports);
    database.getClosest8Navaids(47.0, 8.0, 60.0, navaids);
    std::vector<Navaid> list;
    database.extractVhfNavaids(list);
    EXPECT_EQ(lines,
              (Lines{"getClosest4Airports", "the database is not open", "getClosest8Navaids",
                     "the database is not open", "extractVhfNavaids", "the database is not open"}));
    EXPECT_TRUE(list.empty());
}

// A damaged row, one missing a value or with a position not on the earth, is left out of a
// list; the rows after it still count, and the fault is logged once, not at every search.
TEST_F(NavNearestTest, ADamagedRowIsSkippedAndLoggedOnce) {
    connectTo(test::relaxedNavSchema() + test::navRegion() +
              "UPDATE Airports SET ICAO = NULL WHERE ID = 4;"
              "UPDATE Navaids SET Usage = NULL WHERE ID = 5;"
              "UPDATE Navaids SET Longtitude = 1e999 WHERE ID = 7;");
    lines.clear();
    for (int search = 0; search < 2; ++search) {
        std::array<Airport, 4> slots;
        database.getClosest4Airports(47.0, 8.0, 60.0, slots);
        EXPECT_EQ(identsOf(slots), (std::vector<std::string>{"ZZAA", "ZZAB", "ZZAD", "ZZAE"}));
        std::vector<Navaid> list;
        database.extractVhfNavaids(list);
        EXPECT_EQ(identsOf(list), (std::vector<std::string>{"ABC", "ABC", "NUL", "DLN", "NA1",
                                                            "NA2", "NA4", "NA5", "LONGN"}));
    }
    const std::string nullSkipped = "damaged row skipped: the value is NULL";
    const std::string offTheEarth = "damaged row skipped: the position is not on the earth";
    EXPECT_EQ(lines, (Lines{"getClosest4Airports", nullSkipped, "extractVhfNavaids", nullSkipped,
                            "extractVhfNavaids", offTheEarth}));
}

struct StationCase {
    double latitude;
    double longitude;
    int32_t frequency;
    const char* ident;
    WaypointKind kind;
    int32_t id;
};

TEST_F(NavNearestTest, StationOnAFrequencyIsTheNearestNavaidOrIls) {
    connectToFixture();
    const StationCase cases[] = {
        {47.0, 8.0, 0x01163000, "IAAR", WaypointKind::Ils, 2},
        {47.2, 8.3, 0x01163000, "ABC", WaypointKind::Navaid, 1},
        {47.0, 8.0, 0x01123000, "VTX", WaypointKind::Navaid, 5},
        {46.8, 7.6, 0x01123000, "VTX", WaypointKind::Navaid, 5},
        {47.0, 8.0, 0x01140000, "DMA", WaypointKind::Navaid, 7},
        {47.0, 8.0, 0x01103000, "IAAL", WaypointKind::Ils, 1},
        {47.0, 8.0, 0x01154000, "ABC", WaypointKind::Navaid, 2},
        // Inside the search box, but 205.6 nm away.
        {47.0, 7.5, 0x01154000, "", WaypointKind::Plain, 0},
        {-17.0, 179.9, 0x01100000, "DLN", WaypointKind::Navaid, 9},
        {30.0, 8.0, 0x01163000, "", WaypointKind::Plain, 0},
        {47.0, 8.0, 0x01175000, "", WaypointKind::Plain, 0},
    };
    for (const StationCase& c : cases) {
        database.setPresentPosition(c.latitude, c.longitude);
        const Waypoint station = database.getClosestNav(c.frequency);
        EXPECT_EQ(station.ident, c.ident) << std::hex << c.frequency;
        EXPECT_EQ(station.kind, c.kind) << std::hex << c.frequency;
        EXPECT_EQ(station.id, c.id) << std::hex << c.frequency;
    }
    EXPECT_TRUE(lines.empty());
}

TEST_F(NavNearestTest, StationOnAFrequencyCarriesItsColumns) {
    connectToFixture();
    database.setPresentPosition(47.0, 8.0);
    const Waypoint dme = database.getClosestNav(0x01140000);
    EXPECT_EQ(dme.frequency, 0);
    EXPECT_EQ(dme.channel, "087X");
    EXPECT_EQ(dme.elevation, 1250);
    EXPECT_EQ(dme.latitude, 47.3);
    EXPECT_NEAR(dme.distance, GcNav::distanceBetween(47.0, 8.0, 47.3, 7.7), 1e-9);
    EXPECT_TRUE(dme.strType.empty());
    const Waypoint ils = database.getClosestNav(0x01163000);
    EXPECT_EQ(ils.frequency, 0x01163000);
    EXPECT_EQ(ils.elevation, 1400);
    EXPECT_TRUE(ils.channel.empty());
}

TEST_F(NavNearestTest, StationByIdentLooksAtNavaidsUpToFourLettersAndIlsUpToFive) {
    connectToFixture();
    const struct {
        double latitude;
        double longitude;
        const char* ident;
        WaypointKind kind;
        int32_t id;
    } cases[] = {
        {47.0, 8.0, "ABC", WaypointKind::Navaid, 1},  {49.9, 10.0, "ABC", WaypointKind::Navaid, 2},
        {47.0, 8.0, "abd", WaypointKind::Navaid, 4},  {47.0, 8.0, "TCN", WaypointKind::Plain, 0},
        {47.0, 8.0, "IAAL", WaypointKind::Ils, 1},    {47.0, 8.0, "IZZAB", WaypointKind::Ils, 3},
        {47.0, 8.0, "LONGN", WaypointKind::Plain, 0}, {30.0, 8.0, "ABC", WaypointKind::Plain, 0},
    };
    for (const auto& c : cases) {
        database.setPresentPosition(c.latitude, c.longitude);
        const Waypoint station = database.getClosestNavByIdent(c.ident);
        EXPECT_EQ(station.kind, c.kind) << c.ident;
        EXPECT_EQ(station.id, c.id) << c.ident;
    }
    EXPECT_TRUE(lines.empty());
}

TEST_F(NavNearestTest, StationSearchesOnAClosedDatabaseLogAndFindNothing) {
    database.connect(loaders);
    lines.clear();
    EXPECT_EQ(database.getClosestNav(0x01163000).kind, WaypointKind::Plain);
    EXPECT_EQ(database.getClosestNavByIdent("ABCDE").kind, WaypointKind::Plain);
    EXPECT_EQ(database.getClosestNavByIdent("ABCDEF").kind, WaypointKind::Plain);
    Waypoint airport;
    database.getClosestAirport(airport);
    EXPECT_EQ(airport.kind, WaypointKind::Plain);
    EXPECT_EQ(lines,
              (Lines{"getClosestNav", "the database is not open", "getClosestNav",
                     "the database is not open", "getClosestAirport", "the database is not open"}));
}

TEST_F(NavNearestTest, AirportUnderTheAircraftIsTheNearestPrimaryWithinThreeMiles) {
    connectToFixture();
    const GcNav zzae(47.6666666666667, 8.0);
    double inside[2] = {};
    double outside[2] = {};
    zzae.destination(0.0, 2.99, inside[0], inside[1]);
    zzae.destination(0.0, 3.01, outside[0], outside[1]);
    const struct {
        double latitude;
        double longitude;
        const char* ident;
    } cases[] = {
        {47.0, 8.0, "ZZAA"},          {47.0116666666667, 8.0, "ZZAA"},
        {45.0, 8.0, "ZZT1"},          {inside[0], inside[1], "ZZAE"},
        {outside[0], outside[1], ""}, {-17.0, -179.999, "ZZDL"},
    };
    for (const auto& c : cases) {
        database.setPresentPosition(c.latitude, c.longitude);
        Waypoint result;
        result.ident = "STALE";
        result.strType = "STALE";
        database.getClosestAirport(result);
        EXPECT_EQ(result.ident, c.ident) << c.latitude;
        EXPECT_EQ(result.kind, *c.ident ? WaypointKind::Airport : WaypointKind::Plain);
        EXPECT_TRUE(result.strType.empty());
    }
    database.setPresentPosition(47.0, 8.0);
    Waypoint result;
    database.getClosestAirport(result);
    EXPECT_EQ(result.id, 1);
    EXPECT_EQ(result.elevation, 1410);
    EXPECT_EQ(result.latitude, 47.0);
    EXPECT_EQ(result.variation, magDev.variation(47.0f, 8.0f));
    EXPECT_TRUE(result.aptIdent.empty());
    EXPECT_EQ(result.distance, 0.0);
    EXPECT_TRUE(lines.empty());
}

TEST_F(NavNearestTest, NavaidToWaypointFindsTheCollocatedWaypointOnly) {
    connectToFixture();
    Navaid vor;
    database.getNavaidInfo(1, vor);
    const Waypoint collocated = database.navaidToWpt(vor);
    EXPECT_EQ(collocated.kind, WaypointKind::DatabaseWaypoint);
    EXPECT_EQ(collocated.id, 8);
    EXPECT_EQ(collocated.ident, "ABC");
    EXPECT_EQ(collocated.strType, "WPT");

    Navaid vortac;
    database.getNavaidInfo(5, vortac);
    EXPECT_EQ(database.navaidToWpt(vortac).kind, WaypointKind::Plain);
    Waypoint notNavaid = vor;
    for (const WaypointKind kind :
         {WaypointKind::Airport, WaypointKind::DatabaseWaypoint, WaypointKind::PilotWaypoint}) {
        notNavaid.kind = kind;
        EXPECT_EQ(database.navaidToWpt(notNavaid).kind, WaypointKind::Plain);
    }
    EXPECT_TRUE(lines.empty());
}

} // namespace
} // namespace tavi
