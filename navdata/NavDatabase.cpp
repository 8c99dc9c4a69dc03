#include "navdata/NavDatabase.h"

#include "cdu/FmsParser.h"
#include "core/Angles.h"
#include "core/Format.h"
#include "navdata/Airport.h"
#include "navdata/GeoAngles.h"
#include "navdata/Ils.h"
#include "navdata/MagDev.h"
#include "navdata/Navaid.h"
#include "navdata/Runway.h"
#include "navdata/SearchBox.h"
#include "navdata/SimulatorFolder.h"
#include "navdata/Waypoint.h"

#include <cmath>

namespace tavi {

namespace {

using platform::db::DbError;
using platform::db::Param;
using platform::db::RecordSet;

constexpr char kDatabaseFile[] = "Orvane/Nd/nd.sqlite";
constexpr char kCustomFolder[] = "Orvane/CustomDB/";
constexpr char kPerfFile[] = "Orvane/PerfDB/vosk300x.perf";
constexpr char kConnectionPrefix[] = "driver={SQLite3};dbq=";

// Declared sizes of the text parameters: the longest text each passes.
constexpr int32_t kDesignatorSize = 3;
constexpr int32_t kConfigKeySize = 50;

constexpr double kMaxLatitude = 90.0;
constexpr double kMaxLongitude = 180.0;
constexpr char kPositionSource[] = "NavDb";
// The code of a type mismatch, as the database layer gives for a value it cannot convert.
constexpr uint32_t kPositionFault = 20;

constexpr char kTestQuery[] = "SELECT ICAO FROM Airports LIMIT 10";
constexpr char kRunwayById[] =
    "SELECT Airports.ICAO, Runways.* FROM Runways INNER JOIN Airports "
    "ON Airports.ID = Runways.AirportID WHERE Runways.ID = ? ORDER BY Ident";
constexpr char kRunwayByIdent[] =
    "SELECT Runways.* FROM Runways INNER JOIN Airports ON Airports.ID = Runways.AirportID "
    "WHERE Airports.ICAO = ? AND Runways.Ident = ? ORDER BY Ident";
constexpr char kWaypointById[] = "SELECT * FROM Waypoints WHERE ID = ?";
constexpr char kAirportById[] = "SELECT * FROM Airports WHERE ID = ?";
constexpr char kIlsById[] = "SELECT * FROM ILSes WHERE ID = ?";
constexpr char kIlsByRunway[] = "SELECT ILSes.* FROM ILSes INNER JOIN Runways "
                                "ON Runways.ID = ILSes.RunwayID WHERE Runways.ID = ?";
constexpr char kNavaidById[] = "SELECT * FROM Navaids WHERE ID = ?";
constexpr char kConfigByKey[] = "SELECT val FROM config WHERE [key] = ?";

} // namespace

NavDatabase::NavDatabase(const MagDev& magDev, LogSink log) : magDev(magDev), log(std::move(log)) {}

void NavDatabase::setPresentPosition(double latitude, double longitude) {
    presentLatitude = latitude;
    presentLongitude = longitude;
}

void NavDatabase::connect(Loaders& loaders) {
    connection.close();
    connectionMade = false;
    testPassed = false;
    const std::string folder = simulatorFolder();
    databasePath = folder + kDatabaseFile;
    customFolderPath = folder + kCustomFolder;
    loaders.loadPilotPoints(customFolderPath);
    loaders.loadPerformance(folder + kPerfFile);
    openLogged();
    loadStoredPlans(loaders);
}

bool NavDatabase::retryConnection(Loaders& loaders) {
    if (testPassed || databasePath.empty()) {
        return testPassed;
    }
    connection.close();
    if (!openLogged()) {
        return false;
    }
    loadStoredPlans(loaders);
    return true;
}

void NavDatabase::loadStoredPlans(Loaders& loaders) {
    log("before loading plans");
    loaders.loadStoredPlans(customFolderPath);
    log("plans loaded");
}

bool NavDatabase::openLogged() {
    try {
        openAndTest();
        testPassed = true;
    } catch (const DbError& error) {
        log("Connect error");
        log(error.source().empty() ? error.description()
                                   : error.source() + " : " + error.description());
        log(format("hr = 0X%08X", error.code()));
    }
    return testPassed;
}

void NavDatabase::openAndTest() {
    log("Connect");
    log(kConnectionPrefix + databasePath);
    connectionMade = true;
    log("Trying Connect");
    connection.open(databasePath);
    log("Connect ok");
    RecordSet rows = connection.execute(kTestQuery);
    log("test search apt executed query");
    // An airport row without its code is a damaged row, not a database that cannot be read.
    bool damagedRowLogged = false;
    for (; !rows.eof(); rows.moveNext()) {
        const platform::db::Value icao = rows.field("ICAO");
        if (!icao.isNull()) {
            log(icao.toText());
        } else if (!damagedRowLogged) {
            log("damaged row skipped: an airport without its ICAO code");
            damagedRowLogged = true;
        }
    }
    log("test passed");
}

void NavDatabase::lookup(std::string_view label, std::string_view sql,
                         std::initializer_list<Param> params, const RowReader& readRow) const {
    try {
        const RecordSet rows = connection.execute(sql, params);
        if (!rows.eof()) {
            readRow(rows);
        }
    } catch (const DbError& error) {
        log(label);
        log(error.description());
    }
}

bool NavDatabase::forEachRow(std::string_view label, std::string_view sql,
                             std::span<const Param> params, const RowReader& readRow) const {
    try {
        for (RecordSet rows = connection.execute(sql, params); !rows.eof(); rows.moveNext()) {
            readRow(rows);
        }
        return true;
    } catch (const DbError& error) {
        log(label);
        log(error.description());
        return false;
    }
}

bool NavDatabase::forEachRow(std::string_view label, std::string_view sql,
                             std::initializer_list<Param> params, const RowReader& readRow) const {
    return forEachRow(label, sql, std::span<const Param>(params.begin(), params.size()), readRow);
}

// One damaged row must not hide the sound ones of a list, nor fill the log at every search.
bool NavDatabase::forEachSoundRow(std::string_view label, std::string_view sql,
                                  std::span<const Param> params, const RowReader& readRow) const {
    return forEachRow(label, sql, params, [&](const RecordSet& row) {
        try {
            readRow(row);
        } catch (const DbError& error) {
            const std::string fault = std::string(label) + " : " + error.description();
            if (damagedRowsLogged.insert(fault).second) {
                log(label);
                log("damaged row skipped: " + error.description());
            }
        }
    });
}

bool NavDatabase::forEachSoundRow(std::string_view label, std::string_view sql,
                                  std::initializer_list<Param> params,
                                  const RowReader& readRow) const {
    return forEachSoundRow(label, sql, std::span<const Param>(params.begin(), params.size()),
                           readRow);
}

void NavDatabase::readPosition(const RecordSet& row, double& latitude, double& longitude) {
    readPosition(row, "Latitude", "Longtitude", latitude, longitude);
}

// A position that is not a number, or not on the earth, is treated as a point the database does
// not hold: placed anywhere, it would take the aircraft off its route.
void NavDatabase::readPosition(const RecordSet& row, const char* latitudeColumn,
                               const char* longitudeColumn, double& latitude, double& longitude) {
    const double readLatitude = row.field(latitudeColumn).toDouble();
    const double readLongitude = row.field(longitudeColumn).toDouble();
    if (!(std::fabs(readLatitude) <= kMaxLatitude) ||
        !(std::fabs(readLongitude) <= kMaxLongitude)) {
        throw DbError(kPositionSource, "the position is not on the earth", kPositionFault);
    }
    latitude = readLatitude;
    longitude = readLongitude;
}

// A box across the 180th meridian is split in two longitude ranges; one that holds every
// longitude spans them all.
std::vector<Param> NavDatabase::withBox(std::initializer_list<Param> first, const SearchBox& box) {
    double west1 = box.west;
    double east1 = box.east;
    double west2 = box.west;
    double east2 = box.east;
    if (box.allLongitudes) {
        west1 = west2 = -180.0;
        east1 = east2 = 180.0;
    } else if (box.crossesAntimeridian()) {
        east1 = 180.0;
        west2 = -180.0;
    }
    std::vector<Param> params(first);
    for (const double bound : {box.south, box.north, west1, east1, west2, east2}) {
        params.push_back(Param::real(bound));
    }
    return params;
}

double NavDatabase::variationAt(double latitude, double longitude) const {
    return magDev.variation(static_cast<float>(latitude), static_cast<float>(longitude));
}

void NavDatabase::readRunway(const RecordSet& row, Runway& runway) const {
    runway.ident = "RW" + row.field("Ident").toText();
    readPosition(row, runway.latitude, runway.longitude);
    runway.elevation = row.field("Elevation").toInt32();
    runway.id = row.field("ID").toInt32();
    runway.variation = variationAt(runway.latitude, runway.longitude);
    runway.trueHeading = row.field("TrueHeading").toFloat();
    runway.magneticHeading =
        static_cast<float>(normalize360(runway.trueHeading - runway.variation));
    runway.length = row.field("Length").toInt32();
    runway.width = row.field("Width").toInt32();
    runway.kind = WaypointKind::Runway;
}

void NavDatabase::getRunwayInfo(int32_t runwayId, Runway& runway) const {
    lookupRecord("getRunwayInfo", kRunwayById, {Param::integer(runwayId)}, runway,
                 [&](const RecordSet& row, Runway& read) {
                     read.aptIdent = row.field("ICAO").toText();
                     readRunway(row, read);
                 });
}

void NavDatabase::getRunwayInfoByIdent(const std::string& icao, const std::string& designator,
                                       Runway& runway) const {
    lookupRecord("getRunwayInfo", kRunwayByIdent,
                 {Param::text(icao, kIcaoSize), Param::text(designator, kDesignatorSize)}, runway,
                 [&](const RecordSet& row, Runway& read) {
                     read.aptIdent = icao;
                     readRunway(row, read);
                 });
}

void NavDatabase::getWaypointInfo(int32_t waypointId, Waypoint& waypoint) const {
    lookupRecord("getWaypointInfo", kWaypointById, {Param::integer(waypointId)}, waypoint,
                 [&](const RecordSet& row, Waypoint& waypoint) {
                     waypoint.ident = row.field("Ident").toText();
                     readPosition(row, waypoint.latitude, waypoint.longitude);
                     waypoint.id = row.field("ID").toInt32();
                     waypoint.kind = WaypointKind::DatabaseWaypoint;
                     waypoint.variation = variationAt(waypoint.latitude, waypoint.longitude);
                     waypoint.strType = "WPT";
                 });
}

void NavDatabase::getAirportInfo(int32_t airportId, Airport& airport) const {
    lookupRecord("getAirportInfo", kAirportById, {Param::integer(airportId)}, airport,
                 [&](const RecordSet& row, Airport& airport) {
                     airport.ident = row.field("ICAO").toText();
                     airport.aptIdent = row.field("ICAO").toText();
                     readPosition(row, airport.latitude, airport.longitude);
                     airport.id = row.field("ID").toInt32();
                     airport.elevation = row.field("Elevation").toInt32();
                     const platform::db::Value primary = row.field("PrimaryID");
                     airport.primaryId = primary.isInt32() ? primary.toInt32() : 0;
                     airport.kind = WaypointKind::Airport;
                     airport.variation = variationAt(airport.latitude, airport.longitude);
                     airport.strType = "ARPT";
                 });
}

void NavDatabase::readIls(const RecordSet& row, Ils& ils) const {
    ils.ident = row.field("IDENT").toText();
    readPosition(row, ils.latitude, ils.longitude);
    ils.id = row.field("ID").toInt32();
    ils.elevation = row.field("Elevation").toInt32();
    ils.kind = WaypointKind::Ils;
    ils.variation = variationAt(ils.latitude, ils.longitude);
    ils.category = row.field("Category").toInt32();
    ils.localizerCourse = row.field("LocCourse").toDouble();
    ils.hasDme = row.field("HasDme").toBool();
    ils.frequency = row.field("Freq").toInt32();
    ils.strType = ils.hasDme ? "ILSDME" : "ILS";
}

void NavDatabase::getIlsInfo(int32_t ilsId, Ils& ils) const {
    lookupRecord("getIlsInfo", kIlsById, {Param::integer(ilsId)}, ils,
                 [&](const RecordSet& row, Ils& read) { readIls(row, read); });
}

void NavDatabase::getIlsInfoForRunway(int32_t runwayId, Ils& ils) const {
    lookupRecord("getIlsInfoForRunway", kIlsByRunway, {Param::integer(runwayId)}, ils,
                 [&](const RecordSet& row, Ils& read) { readIls(row, read); });
}

void NavDatabase::getNavaidInfo(int32_t navaidId, Navaid& navaid) const {
    lookupRecord("getNavaidInfo", kNavaidById, {Param::integer(navaidId)}, navaid,
                 [&](const RecordSet& row, Navaid& navaid) {
                     navaid.ident = row.field("IDENT").toText();
                     readPosition(row, navaid.latitude, navaid.longitude);
                     navaid.id = row.field("ID").toInt32();
                     navaid.elevation = row.field("Elevation").toInt32();
                     navaid.kind = WaypointKind::Navaid;
                     navaid.variation = variationAt(navaid.latitude, navaid.longitude);
                     const platform::db::Value frequency = row.field("Freq");
                     navaid.frequency = frequency.isNull() ? 0 : frequency.toInt32();
                     const platform::db::Value channel = row.field("Channel");
                     navaid.channel = channel.isNull() ? std::string() : channel.toText();
                     navaid.usage = row.field("Usage").toText();
                     navaid.navaidType = row.field("Type").toInt32();
                     const platform::db::Value slaved = row.field("SlavedVar");
                     navaid.slavedVariation =
                         slaved.isNull() ? kNoSlavedVariation : slaved.toDouble();
                     FmsParser::labelNavaid(navaid);
                 });
}

std::string NavDatabase::getConfigParam(const std::string& key) const {
    std::string value;
    lookup("getConfigParam", kConfigByKey, {Param::text(key, kConfigKeySize)},
           [&](const RecordSet& row) { value = row.field("val").toText(); });
    return value;
}

} // namespace tavi
