#include "navdata/NavDatabase.h"

#include "navdata/Airport.h"
#include "navdata/Ils.h"
#include "navdata/MagDev.h"
#include "navdata/NavTestFixture.h"
#include "navdata/Navaid.h"
#include "navdata/Runway.h"
#include "navdata/Waypoint.h"

#include <algorithm>
#include <fstream>
#include <gtest/gtest.h>
#include <sys/stat.h>

namespace tavi {
namespace {

using platform::db::createDatabase;
using test::Lines;
using test::navRegion;
using test::navSchema;
using test::readText;
using test::uniformMagDev;

class NavDatabaseTest : public test::NavDatabaseFixture {
protected:
    Lines connectLines(const Lines& middle) const {
        Lines expected = {
            "<pilot points " + folder() + "Orvane/CustomDB/>",
            "<performance " + folder() + "Orvane/PerfDB/vosk300x.perf>",
            "Connect",
            "driver={SQLite3};dbq=" + folder() + "Orvane/Nd/nd.sqlite",
            "Trying Connect",
        };
        expected.insert(expected.end(), middle.begin(), middle.end());
        expected.push_back("before loading plans");
        expected.push_back("<stored plans " + folder() + "Orvane/CustomDB/>");
        expected.push_back("plans loaded");
        return expected;
    }
};

TEST_F(NavDatabaseTest, ConnectLogsItsStepsInOrder) {
    connectTo(navSchema() + navRegion());
    ASSERT_EQ(lines.size(), connectLines({}).size() + 13);
    Lines airports(lines.begin() + 7, lines.begin() + 17);
    Lines expected = connectLines({"Connect ok", "test search apt executed query"});
    expected.insert(expected.begin() + 7, airports.begin(), airports.end());
    expected.insert(expected.begin() + 17, "test passed");
    EXPECT_EQ(lines, expected);
    std::sort(airports.begin(), airports.end());
    EXPECT_EQ(airports, (Lines{"ZZAA", "ZZAB", "ZZAC", "ZZAD", "ZZAE", "ZZAX", "ZZDL", "ZZPO",
                               "ZZT1", "ZZT2"}));
    EXPECT_TRUE(database.hasConnection());
    EXPECT_TRUE(database.isConnected());
    EXPECT_EQ(database.customFolder(), folder() + "Orvane/CustomDB/");
}

TEST_F(NavDatabaseTest, TestQueryLogsEachAirportOfASmallTable) {
    connectTo(navSchema() + "INSERT INTO Airports VALUES (1, 'ZZAA', NULL, 47.0, 8.0, 1410);"
                            "INSERT INTO Airports VALUES (2, 'ZZAB', NULL, 47.2, 8.0, 1520);");
    EXPECT_EQ(lines, connectLines({"Connect ok", "test search apt executed query", "ZZAA", "ZZAB",
                                   "test passed"}));
}

TEST_F(NavDatabaseTest, MissingFileLogsTheErrorPathAndCreatesNothing) {
    database.connect(loaders);
    EXPECT_EQ(lines, connectLines({"Connect error", "SQLite : unable to open database file",
                                   "hr = 0X0000000E"}));
    EXPECT_FALSE(std::filesystem::exists(databaseFile()));
    EXPECT_TRUE(database.hasConnection());
    EXPECT_FALSE(database.isConnected());

    lines.clear();
    Navaid navaid;
    navaid.ident = "KEEP";
    database.getNavaidInfo(5, navaid);
    EXPECT_EQ(database.getConfigParam("CycleName"), "");
    EXPECT_EQ(lines, (Lines{"getNavaidInfo", "the database is not open", "getConfigParam",
                            "the database is not open"}));
    EXPECT_EQ(navaid.ident, "KEEP");
}

TEST_F(NavDatabaseTest, AFailedConnectionIsRetriedUntilTheDatabaseIsThere) {
    database.connect(loaders);
    EXPECT_FALSE(database.isReady());
    lines.clear();
    EXPECT_FALSE(database.retryConnection(loaders));
    EXPECT_EQ(lines, (Lines{"Connect", "driver={SQLite3};dbq=" + folder() + "Orvane/Nd/nd.sqlite",
                            "Trying Connect", "Connect error",
                            "SQLite : unable to open database file", "hr = 0X0000000E"}));

    platform::db::createDatabase(databaseFile(), navSchema() + navRegion());
    lines.clear();
    EXPECT_TRUE(database.retryConnection(loaders));
    EXPECT_TRUE(database.isReady());
    EXPECT_EQ(lines.back(), "plans loaded") << "plans are checked against the database again";
    EXPECT_EQ(lines[lines.size() - 4], "test passed");
    lines.clear();
    EXPECT_TRUE(database.retryConnection(loaders));
    EXPECT_TRUE(lines.empty()) << "a ready database is left alone";
}

TEST_F(NavDatabaseTest, AFifoInPlaceOfTheDatabaseIsRefusedAtOnce) {
    std::filesystem::create_directories(databaseFile().parent_path());
    ASSERT_EQ(::mkfifo(databaseFile().c_str(), 0600), 0);
    database.connect(loaders);
    EXPECT_EQ(lines, connectLines({"Connect error",
                                   "Database : not a regular file: " + databaseFile().string(),
                                   "hr = 0X0000000E"}));
    EXPECT_FALSE(database.isReady());
}

TEST_F(NavDatabaseTest, CorruptFileLogsTheErrorPath) {
    std::filesystem::create_directories(databaseFile().parent_path());
    std::ofstream(databaseFile(), std::ios::binary) << std::string(8192, '\x5a');
    database.connect(loaders);
    EXPECT_EQ(lines, connectLines(
                         {"Connect error", "SQLite : file is not a database", "hr = 0X0000001A"}));
    lines.clear();
    Runway runway;
    database.getRunwayInfo(1, runway);
    EXPECT_EQ(lines, (Lines{"getRunwayInfo", "the database is not open"}));
    EXPECT_EQ(runway.id, 0);
}

TEST_F(NavDatabaseTest, TestQueryFailureTakesTheErrorPathWithTheDatabaseOpen) {
    connectTo("CREATE TABLE Runways (ID INTEGER PRIMARY KEY);");
    EXPECT_EQ(lines, connectLines({"Connect ok", "Connect error",
                                   "SQLite : no such table: Airports", "hr = 0X00000001"}));
    EXPECT_TRUE(database.isConnected());
}

TEST_F(NavDatabaseTest, MissingTableFailsOnlyTheQueriesThatReadIt) {
    connectTo(navSchema() + navRegion() + "DROP TABLE ILSes;");
    lines.clear();
    Ils ils;
    ils.ident = "KEEP";
    database.getIlsInfo(1, ils);
    database.getIlsInfoForRunway(1, ils);
    EXPECT_EQ(lines, (Lines{"getIlsInfo", "no such table: ILSes", "getIlsInfoForRunway",
                            "no such table: ILSes"}));
    EXPECT_EQ(ils.ident, "KEEP");
    lines.clear();
    Runway runway;
    database.getRunwayInfo(1, runway);
    EXPECT_EQ(runway.ident, "RW09L");
    EXPECT_TRUE(lines.empty());
}

TEST_F(NavDatabaseTest, RunwayLookupsFillTheRunway) {
    connectToFixture();
    Runway runway;
    database.getRunwayInfo(1, runway);
    EXPECT_EQ(runway.ident, "RW09L");
    EXPECT_EQ(runway.aptIdent, "ZZAA");
    EXPECT_EQ(runway.latitude, 47.0);
    EXPECT_EQ(runway.longitude, 7.98);
    EXPECT_EQ(runway.elevation, 1405);
    EXPECT_EQ(runway.id, 1);
    EXPECT_EQ(runway.kind, WaypointKind::Runway);
    EXPECT_EQ(runway.trueHeading, 90.0f);
    const float variation = magDev.variation(47.0f, 7.98f);
    EXPECT_EQ(runway.variation, variation);
    EXPECT_EQ(runway.magneticHeading, static_cast<float>(90.0 - variation));
    EXPECT_EQ(runway.length, 11000);
    EXPECT_EQ(runway.width, 150);

    Runway byIdent;
    database.getRunwayInfoByIdent("zzaa", "27l", byIdent);
    EXPECT_EQ(byIdent.id, 4);
    EXPECT_EQ(byIdent.ident, "RW27L");
    EXPECT_EQ(byIdent.aptIdent, "zzaa");
    EXPECT_EQ(byIdent.length, 9800);

    Runway other;
    database.getRunwayInfoByIdent("ZZAA", "RW27L", other);
    EXPECT_EQ(other.id, 0);
    EXPECT_TRUE(other.aptIdent.empty());
    EXPECT_TRUE(lines.empty());
}

TEST_F(NavDatabaseTest, MagneticHeadingIsTrueHeadingLessVariation) {
    connectToFixture();
    for (const double variation : {10.0, -10.0}) {
        const MagDev grid = uniformMagDev(root.path() / "uniform.bgl", variation);
        Lines readerLines;
        NavDatabase reader(grid, [&](std::string_view line) { readerLines.emplace_back(line); });
        test::RecordingLoaders readerLoaders(readerLines);
        reader.connect(readerLoaders);
        Runway runway;
        reader.getRunwayInfoByIdent("ZZAB", "01", runway);
        EXPECT_EQ(runway.trueHeading, 5.0f);
        EXPECT_NEAR(runway.magneticHeading, variation > 0.0 ? 355.0f : 15.0f, 0.003f);
    }
}

TEST_F(NavDatabaseTest, WaypointAirportAndConfigLookups) {
    connectToFixture();
    Waypoint waypoint;
    database.getWaypointInfo(8, waypoint);
    EXPECT_EQ(waypoint.ident, "ABC");
    EXPECT_EQ(waypoint.latitude, 47.2);
    EXPECT_EQ(waypoint.longitude, 8.3);
    EXPECT_EQ(waypoint.id, 8);
    EXPECT_EQ(waypoint.kind, WaypointKind::DatabaseWaypoint);
    EXPECT_EQ(waypoint.strType, "WPT");
    EXPECT_EQ(waypoint.variation, magDev.variation(47.2f, 8.3f));

    Airport primary;
    database.getAirportInfo(1, primary);
    EXPECT_EQ(primary.ident, "ZZAA");
    EXPECT_EQ(primary.aptIdent, "ZZAA");
    EXPECT_EQ(primary.elevation, 1410);
    EXPECT_EQ(primary.primaryId, 0);
    EXPECT_EQ(primary.kind, WaypointKind::Airport);
    EXPECT_EQ(primary.strType, "ARPT");
    Airport secondary;
    secondary.primaryId = 77;
    database.getAirportInfo(2, secondary);
    EXPECT_EQ(secondary.ident, "ZZAX");
    EXPECT_EQ(secondary.primaryId, 1);

    EXPECT_EQ(database.getConfigParam("CycleStartDate"), "25JAN24");
    EXPECT_EQ(database.getConfigParam("cycleenddate"), "21FEB24");
    EXPECT_EQ(database.getConfigParam("CycleName"), "2401");
    EXPECT_EQ(database.getConfigParam("NoSuchKey"), "");
    EXPECT_TRUE(lines.empty());
}

TEST_F(NavDatabaseTest, IlsLookupsFillTheLocalizer) {
    connectToFixture();
    Ils withDme;
    database.getIlsInfo(1, withDme);
    EXPECT_EQ(withDme.ident, "IAAL");
    EXPECT_EQ(withDme.kind, WaypointKind::Ils);
    EXPECT_EQ(withDme.category, 1);
    EXPECT_EQ(withDme.localizerCourse, 90.0);
    EXPECT_TRUE(withDme.hasDme);
    EXPECT_EQ(withDme.frequency, 0x01103000);
    EXPECT_EQ(withDme.strType, "ILSDME");

    Ils forRunway;
    database.getIlsInfoForRunway(3, forRunway);
    EXPECT_EQ(forRunway.ident, "IAAR");
    EXPECT_EQ(forRunway.id, 2);
    EXPECT_EQ(forRunway.elevation, 1400);
    EXPECT_EQ(forRunway.localizerCourse, 90.0);
    EXPECT_FALSE(forRunway.hasDme);
    EXPECT_EQ(forRunway.strType, "ILS");

    Ils none;
    database.getIlsInfoForRunway(2, none);
    EXPECT_TRUE(none.ident.empty());
    EXPECT_TRUE(lines.empty());
}

TEST_F(NavDatabaseTest, NavaidLookupsLabelTheStation) {
    connectToFixture();
    const struct {
        int32_t id;
        const char* ident;
        const char* strType;
        const char* typeText;
        int32_t frequency;
        const char* channel;
        double slavedVariation;
    } cases[] = {
        {1, "ABC", "VOR", "V H", 0x01163000, "", 2.0},
        {5, "VTX", "VORTAC", "VTU", 0x01123000, "070X", 1.5},
        {6, "TCN", "TACAN", " TH", 0x01123000, "070X", 360.0},
        {4, "ABD", "NDBDME", " DT", 0x01140500, "087Y", 360.0},
        {7, "DMA", "DME", " DT", 0x01140000, "087X", 360.0},
        {3, "AB", "NDB", "", 0x03750000, "", 360.0},
        {8, "NUL", "VOR", "V L", 0, "", 360.0},
    };
    for (const auto& c : cases) {
        Navaid navaid;
        database.getNavaidInfo(c.id, navaid);
        EXPECT_EQ(navaid.ident, c.ident) << c.id;
        EXPECT_EQ(navaid.id, c.id);
        EXPECT_EQ(navaid.kind, WaypointKind::Navaid);
        EXPECT_EQ(navaid.strType, c.strType) << c.id;
        EXPECT_EQ(navaid.typeText, c.typeText) << c.id;
        EXPECT_EQ(navaid.frequency, c.frequency) << c.id;
        EXPECT_EQ(navaid.channel, c.channel) << c.id;
        EXPECT_EQ(navaid.slavedVariation, c.slavedVariation) << c.id;
    }
    EXPECT_TRUE(lines.empty());
}

TEST_F(NavDatabaseTest, MissingKeysLeaveTheRecordsAsTheyWere) {
    connectToFixture();
    Navaid navaid;
    navaid.ident = "KEEP";
    navaid.latitude = 1.5;
    navaid.frequency = 42;
    navaid.navaidType = 9;
    navaid.kind = WaypointKind::Plain;
    database.getNavaidInfo(999, navaid);
    EXPECT_EQ(navaid.ident, "KEEP");
    EXPECT_EQ(navaid.latitude, 1.5);
    EXPECT_EQ(navaid.frequency, 42);
    EXPECT_EQ(navaid.navaidType, 9);
    EXPECT_EQ(navaid.kind, WaypointKind::Plain);
    Runway runway;
    runway.ident = "KEEP";
    database.getRunwayInfo(999, runway);
    database.getRunwayInfoByIdent("ZZZZ", "09L", runway);
    EXPECT_EQ(runway.ident, "KEEP");
    EXPECT_TRUE(runway.aptIdent.empty());
    Waypoint waypoint;
    database.getWaypointInfo(-1, waypoint);
    Airport airport;
    database.getAirportInfo(0, airport);
    EXPECT_TRUE(waypoint.ident.empty());
    EXPECT_TRUE(airport.ident.empty());
    EXPECT_TRUE(lines.empty());
}

// A row that cannot be read whole is no record: the lookup leaves its record as it was, never
// half filled with another point's ident at no position.
TEST_F(NavDatabaseTest, ADamagedRowLeavesTheRecordAsItWas) {
    connectTo(test::relaxedNavSchema() + navRegion() +
              "UPDATE Navaids SET Usage = NULL WHERE ID = 5;"
              "UPDATE Runways SET Width = NULL WHERE ID = 2;"
              "UPDATE Waypoints SET Longtitude = 'nan' WHERE ID = 2;"
              "UPDATE Airports SET Latitude = -90.5 WHERE ID = 3;"
              "UPDATE config SET val = NULL WHERE [key] = 'CycleName';");
    lines.clear();
    Navaid navaid;
    database.getNavaidInfo(5, navaid);
    EXPECT_EQ(lines, (Lines{"getNavaidInfo", "the value is NULL"}));
    EXPECT_TRUE(navaid.ident.empty());
    EXPECT_EQ(navaid.id, 0);
    EXPECT_TRUE(navaid.strType.empty());

    lines.clear();
    Runway runway;
    runway.kind = WaypointKind::Plain;
    database.getRunwayInfo(2, runway);
    EXPECT_EQ(lines, (Lines{"getRunwayInfo", "the value is NULL"}));
    EXPECT_EQ(runway.length, 0);
    EXPECT_TRUE(runway.ident.empty());
    EXPECT_EQ(runway.kind, WaypointKind::Plain);

    lines.clear();
    Waypoint waypoint;
    database.getWaypointInfo(2, waypoint);
    Airport airport;
    database.getAirportInfo(3, airport);
    const std::string offTheEarth = "the position is not on the earth";
    EXPECT_EQ(lines, (Lines{"getWaypointInfo", offTheEarth, "getAirportInfo", offTheEarth}));
    EXPECT_TRUE(waypoint.ident.empty());
    EXPECT_EQ(waypoint.kind, WaypointKind::Plain);
    EXPECT_TRUE(airport.ident.empty());

    lines.clear();
    EXPECT_EQ(database.getConfigParam("CycleName"), "");
    EXPECT_EQ(lines, (Lines{"getConfigParam", "the value is NULL"}));
}

// An airport row without its code is skipped by the start-up test, which passes: the database
// stays connected rather than being opened again and again.
TEST_F(NavDatabaseTest, AnAirportRowWithoutItsCodePassesTheTestQuery) {
    connectTo(test::relaxedNavSchema() +
              "INSERT INTO Airports VALUES (1, 'ZZAA', NULL, 47.0, 8.0, 1410);"
              "INSERT INTO Airports VALUES (2, NULL, NULL, 47.1, 8.0, 1410);"
              "INSERT INTO Airports VALUES (3, NULL, NULL, NULL, NULL, NULL);"
              "INSERT INTO Airports VALUES (4, 'ZZAB', NULL, 47.2, 8.0, 1520);");
    EXPECT_EQ(lines, connectLines({"Connect ok", "test search apt executed query",
                                   "damaged row skipped: an airport without its ICAO code", "ZZAA",
                                   "ZZAB", "test passed"}));
    EXPECT_TRUE(database.isReady());
    lines.clear();
    EXPECT_TRUE(database.retryConnection(loaders));
    EXPECT_TRUE(lines.empty()) << "a ready database is not opened again";
}

TEST_F(NavDatabaseTest, SchemaRefusesAnEmptyChannel) {
    EXPECT_THROW(createDatabase(databaseFile(),
                                navSchema() + "INSERT INTO Navaids VALUES "
                                              "(1, 'BAD', 9, 47.0, 8.0, 0, NULL, '', 'H', NULL);"),
                 platform::db::DbError);
}

TEST_F(NavDatabaseTest, DefaultDataOfTheSimulatorFolderConnects) {
    connectTo(navSchema() + readText(test::kFixtures / "../../data/nd/region.sql"));
    EXPECT_NE(std::find(lines.begin(), lines.end(), "test passed"), lines.end());
    lines.clear();
    Runway runway;
    database.getRunwayInfoByIdent("ZXOR", "04", runway);
    Ils ils;
    database.getIlsInfoForRunway(runway.id, ils);
    EXPECT_EQ(ils.ident, "IORA");
    EXPECT_EQ(database.getConfigParam("CycleName"), "2401");
    EXPECT_TRUE(lines.empty());
}

} // namespace
} // namespace tavi
