#include "tools/navdb/WorldNavDatabase.h"

#include "cdu/FmsParser.h"
#include "core/Angles.h"
#include "core/Format.h"
#include "navdata/GcNav.h"
#include "navdata/Navaid.h"
#include "platform/db/Database.h"
#include "tools/navdb/WorldProcedures.h"
#include "tools/navdb/WorldRandom.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <random>
#include <vector>

namespace tavi::tools {

namespace {

using platform::db::DatabaseBuilder;
using platform::db::Param;

// Where traffic is: centre and spread (degrees) of each region, and its share of the points.
struct Region {
    double latitude;
    double longitude;
    double latitudeSpread;
    double longitudeSpread;
    double share;
};

constexpr std::array<Region, 13> kRegions = {{
    {38.0, -88.0, 7.0, 11.0, 0.22},  // eastern North America
    {40.0, -115.0, 6.0, 7.0, 0.09},  // western North America
    {57.0, -120.0, 8.0, 25.0, 0.05}, // Canada and Alaska
    {17.0, -88.0, 5.0, 10.0, 0.04},  // Central America and the Caribbean
    {-15.0, -55.0, 12.0, 9.0, 0.08}, // South America
    {48.0, 10.0, 6.0, 11.0, 0.19},   // Europe
    {5.0, 20.0, 15.0, 15.0, 0.06},   // Africa
    {28.0, 45.0, 6.0, 10.0, 0.03},   // Middle East
    {22.0, 78.0, 6.0, 6.0, 0.04},    // India
    {33.0, 115.0, 8.0, 10.0, 0.07},  // East Asia
    {5.0, 110.0, 7.0, 10.0, 0.04},   // South-East Asia
    {-28.0, 140.0, 8.0, 12.0, 0.04}, // Australia
    {0.0, 0.0, 0.0, 0.0, 0.05},      // anywhere, oceans and poles included
}};

constexpr int kLetters = 26;
// Multiplying by this (prime to 26) and adding an offset walks every four-letter code once.
constexpr int kIcaoStride = 7919;
constexpr int kIcaoOffset = 104729;
constexpr int kIcaoCodes = kLetters * kLetters * kLetters * kLetters;

constexpr std::array<const char*, 12> kAirwayPrefixes = {"A",  "B",  "G",  "J", "L", "R",
                                                         "UL", "UM", "UN", "V", "W", "Y"};

struct Position {
    double latitude = 0.0;
    double longitude = 0.0;
};

// Binary-coded decimal of the number's last `digits` decimal digits.
int32_t bcd(int number, int digits) {
    int32_t word = 0;
    for (int digit = 0; digit < digits; ++digit) {
        word |= (number % 10) << (4 * digit);
        number /= 10;
    }
    return word;
}

class WorldWriter {
public:
    // The builder holds the schema's tables.
    WorldWriter(DatabaseBuilder& builder, uint32_t seed, const WorldSize& size)
        : builder(builder), size(size), random(seed),
          navaids(builder.prepare("INSERT INTO Navaids VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?)")),
          airports(builder.prepare("INSERT INTO Airports VALUES (?, ?, ?, ?, ?, ?)")),
          runways(builder.prepare("INSERT INTO Runways VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?)")),
          ilses(builder.prepare("INSERT INTO ILSes VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?)")),
          waypoints(builder.prepare("INSERT INTO Waypoints VALUES (?, ?, ?, ?, ?, ?)")),
          airways(builder.prepare("INSERT INTO Airways VALUES (?, ?)")),
          airwayLegs(builder.prepare("INSERT INTO AirwayLegs VALUES (?, ?, ?, ?, ?, ?)")) {
        std::vector<double> shares;
        for (const Region& region : kRegions) {
            shares.push_back(region.share);
        }
        regionPicker = std::discrete_distribution<std::size_t>(shares.begin(), shares.end());
    }

    void write() {
        builder.run("BEGIN;");
        writeNavaids();
        writeAirports();
        writeAirways();
        writeOtherWaypoints();
        writeWorldProcedures(builder, random, procedureAirports, waypointRows, size.procedures);
        builder.run("INSERT INTO config VALUES ('CycleStartDate', '25JAN24'), "
                    "('CycleEndDate', '21FEB24'), ('CycleName', '2401'); COMMIT;");
    }

private:
    Position somewhere() {
        const Region& region = kRegions[regionPicker(random.engine)];
        if (region.latitudeSpread == 0.0) {
            return {std::asin(random.uniform(-1.0, 1.0)) * kRadToDeg,
                    random.uniform(-180.0, 180.0)};
        }
        const double latitude =
            std::normal_distribution<double>(region.latitude, region.latitudeSpread)(random.engine);
        const double longitude = std::normal_distribution<double>(
            region.longitude, region.longitudeSpread)(random.engine);
        return {std::clamp(latitude, -89.5, 89.5), normalize180(longitude)};
    }

    Position near(const Position& centre, double rangeNm) {
        Position point;
        GcNav(centre.latitude, centre.longitude)
            .destination(random.uniform(0.0, 360.0), rangeNm * std::sqrt(random.uniform(0.0, 1.0)),
                         point.latitude, point.longitude);
        return point;
    }

    // A NAV frequency on the 50 kHz raster, 108.00 to 117.95 MHz.
    int32_t navFrequency() {
        const int hundredthsOfMhz = 10800 + 5 * random.uniformInt(0, 199);
        return bcd(hundredthsOfMhz, 5) << 8;
    }

    Param channelFor(int32_t frequency) {
        const std::string channel = FmsParser::frequencyToTacanChannel(frequency);
        return channel.empty() ? Param::nullText(4) : Param::text(channel, 4);
    }

    Param usage() {
        static constexpr std::array<const char*, 4> kUsages = {"H", "L", "T", "B"};
        return Param::text(kUsages[static_cast<std::size_t>(random.uniformInt(0, 3))], 1);
    }

    int32_t stationType() {
        const double draw = random.uniform(0.0, 1.0);
        if (draw < 0.20) {
            return kNavaidVor;
        }
        if (draw < 0.45) {
            return kNavaidVorDme;
        }
        if (draw < 0.55) {
            return kNavaidVortac;
        }
        if (draw < 0.58) {
            return kNavaidTacan;
        }
        if (draw < 0.83) {
            return kNavaidNdb;
        }
        if (draw < 0.88) {
            return kNavaidNdbDme;
        }
        return kNavaidDme;
    }

    void writeNavaids() {
        for (int id = 1; id <= size.navaids; ++id) {
            const int32_t type = stationType();
            const bool ndb = type == kNavaidNdb || type == kNavaidNdbDme;
            const bool channelOnly = type == kNavaidTacan || type == kNavaidDme;
            const int32_t vhf = navFrequency();
            const Param frequency = channelOnly ? Param::nullText(0)
                                    : ndb
                                        ? Param::integer(bcd(random.uniformInt(190, 1750), 4) << 16)
                                        : Param::integer(vhf);
            const bool hasChannel = type != kNavaidVor && type != kNavaidNdb;
            const Position at = somewhere();
            const std::string ident = random.letters(ndb && random.chance(0.5) ? 2 : 3);
            navaids.run({Param::integer(id), Param::text(ident, 5), Param::integer(type),
                         Param::real(at.latitude), Param::real(at.longitude),
                         Param::integer(random.uniformInt(0, 6000)), frequency,
                         hasChannel ? channelFor(vhf) : Param::nullText(4), usage(),
                         random.chance(0.3) ? Param::real(random.uniform(-20.0, 20.0))
                                            : Param::nullText(0)});
            if (!ndb && random.chance(0.3)) {
                insertWaypoint(ident, at, id);
            }
        }
    }

    void writeAirports() {
        std::vector<int> primaries;
        for (int index = 0; index < size.airports; ++index) {
            const int id = index + 1;
            const int elevation = random.uniformInt(0, 8000);
            if (!primaries.empty() && random.chance(0.05)) {
                const int primary = primaries[static_cast<std::size_t>(
                    random.uniformInt(0, static_cast<int>(primaries.size()) - 1))];
                const Position at =
                    near(airportPositions[static_cast<std::size_t>(primary - 1)], 2.0);
                airportPositions.push_back(at);
                airports.run({Param::integer(id), Param::text(worldAirportIcao(index), 4),
                              Param::integer(primary), Param::real(at.latitude),
                              Param::real(at.longitude), Param::integer(elevation)});
                continue;
            }
            const Position at = somewhere();
            airportPositions.push_back(at);
            primaries.push_back(id);
            airports.run({Param::integer(id), Param::text(worldAirportIcao(index), 4),
                          Param::nullText(0), Param::real(at.latitude), Param::real(at.longitude),
                          Param::integer(elevation)});
            procedureAirports.push_back(
                {id, worldAirportIcao(index), at.latitude, at.longitude, {}});
            writeRunways(id, index, at, elevation);
        }
    }

    void writeRunways(int airportId, int airportIndex, const Position& airport, int elevation) {
        const double firstHeading = random.uniform(0.0, 180.0);
        const double draw = random.uniform(0.0, 1.0);
        const int count = draw < 0.6 ? 1 : (draw < 0.9 ? 2 : 3);
        for (int runway = 0; runway < count; ++runway) {
            const double heading = firstHeading + 60.0 * runway;
            const int length = random.uniformInt(4000, 13000);
            const int width = random.uniformInt(75, 200);
            for (const double trueHeading : {heading, heading + 180.0}) {
                const int number =
                    (static_cast<int>(std::lround(trueHeading / 10.0)) + 35) % 36 + 1;
                const Position threshold = near(airport, 1.0);
                const std::string designator = format("%02d", number);
                ++runwayRows;
                procedureAirports.back().runways.push_back({runwayRows, designator});
                runways.run({Param::integer(runwayRows), Param::integer(airportId),
                             Param::text(designator, 3), Param::real(threshold.latitude),
                             Param::real(threshold.longitude), Param::integer(elevation),
                             Param::real(trueHeading), Param::integer(length),
                             Param::integer(width)});
            }
            if (runway == 0 && random.chance(0.25)) {
                ++ilsRows;
                const Position localizer = near(airport, 1.5);
                ilses.run({Param::integer(ilsRows),
                           Param::text("I" + worldAirportIcao(airportIndex).substr(1), 5),
                           Param::integer(runwayRows - 1), Param::real(localizer.latitude),
                           Param::real(localizer.longitude), Param::integer(elevation),
                           Param::integer(random.uniformInt(1, 3)), Param::real(heading),
                           Param::integer(random.chance(0.7) ? 1 : 0),
                           Param::integer(navFrequency())});
            }
        }
    }

    int insertWaypoint(const std::string& ident, const Position& at, int navaidId = 0) {
        ++waypointRows;
        waypoints.run({Param::integer(waypointRows), Param::text(ident, 5),
                       Param::real(at.latitude), Param::real(at.longitude),
                       Param::integer(navaidId != 0 ? 1 : 0),
                       navaidId != 0 ? Param::integer(navaidId) : Param::nullText(0)});
        return waypointRows;
    }

    // Chains of new waypoints, one airway each; some airways are broken in two pieces.
    void writeAirways() {
        int legRows = 0;
        for (int airwayId = 1; legRows < size.airwaySegments; ++airwayId) {
            const std::size_t prefix = static_cast<std::size_t>(airwayId) % kAirwayPrefixes.size();
            const int number = airwayId / static_cast<int>(kAirwayPrefixes.size()) + 1;
            airways.run({Param::integer(airwayId),
                         Param::text(kAirwayPrefixes[prefix] + std::to_string(number), 6)});
            const int pieces = random.chance(0.05) ? 2 : 1;
            for (int piece = 0; piece < pieces && legRows < size.airwaySegments; ++piece) {
                const int count = std::min(random.uniformInt(3, 18), size.airwaySegments - legRows);
                Position at = somewhere();
                double course = random.uniform(0.0, 360.0);
                int from = insertWaypoint(random.letters(5), at);
                for (int leg = 0; leg < count; ++leg) {
                    course += std::normal_distribution<double>(0.0, 10.0)(random.engine);
                    GcNav(at.latitude, at.longitude)
                        .destination(normalize360(course), random.uniform(25.0, 90.0), at.latitude,
                                     at.longitude);
                    const int to = insertWaypoint(random.letters(5), at);
                    ++legRows;
                    airwayLegs.run({Param::integer(legRows), Param::integer(airwayId),
                                    Param::integer(from), Param::integer(to),
                                    Param::integer(leg == 0 ? 1 : 0),
                                    Param::integer(leg == count - 1 ? 1 : 0)});
                    from = to;
                }
            }
        }
    }

    // Terminal fixes round the airports and en-route fixes anywhere, up to the waypoint count.
    void writeOtherWaypoints() {
        while (waypointRows < size.waypoints) {
            const Position at =
                random.chance(0.7)
                    ? near(airportPositions[static_cast<std::size_t>(random.uniformInt(
                               0, static_cast<int>(airportPositions.size()) - 1))],
                           30.0)
                    : somewhere();
            insertWaypoint(random.letters(5), at);
        }
    }

    DatabaseBuilder& builder;
    WorldSize size;
    WorldRandom random;
    std::discrete_distribution<std::size_t> regionPicker;
    std::vector<Position> airportPositions;
    std::vector<WorldAirport> procedureAirports;
    DatabaseBuilder::Statement& navaids;
    DatabaseBuilder::Statement& airports;
    DatabaseBuilder::Statement& runways;
    DatabaseBuilder::Statement& ilses;
    DatabaseBuilder::Statement& waypoints;
    DatabaseBuilder::Statement& airways;
    DatabaseBuilder::Statement& airwayLegs;
    int runwayRows = 0;
    int ilsRows = 0;
    int waypointRows = 0;
};

} // namespace

std::string worldAirportIcao(int index) {
    int code =
        static_cast<int>((static_cast<int64_t>(index) * kIcaoStride + kIcaoOffset) % kIcaoCodes);
    std::string icao(4, 'A');
    for (int place = 3; place >= 0; --place) {
        icao[static_cast<std::size_t>(place)] = static_cast<char>('A' + code % kLetters);
        code /= kLetters;
    }
    return icao;
}

void writeWorldNavDatabase(const std::filesystem::path& file, const std::string& schema,
                           uint32_t seed, const WorldSize& size) {
    DatabaseBuilder builder(file);
    builder.run(schema);
    WorldWriter(builder, seed, size).write();
    builder.finish();
}

} // namespace tavi::tools
