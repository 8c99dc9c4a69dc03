// The navigation database on a made-up database of the size of the whole world's: the
// searches the CDU and the map run while a frame waits (nearest airports and stations,
// identifier searches, the station on a frequency), the procedure catalogue and legs the
// departure and arrival pages read, the VHF navaid list read once after connecting, record
// lookups, and a batch of geodesy.
#include "navdata/Airport.h"
#include "navdata/GcNav.h"
#include "navdata/Ils.h"
#include "navdata/MagDev.h"
#include "navdata/NavDatabase.h"
#include "navdata/Navaid.h"
#include "navdata/RhumbNav.h"
#include "navdata/Runway.h"
#include "navdata/TerminalLeg.h"
#include "navdata/Waypoint.h"
#include "platform/db/Database.h"
#include "support/ExecutableHost.h"
#include "tools/navdb/WorldNavDatabase.h"

#include <algorithm>
#include <array>
#include <benchmark/benchmark.h>
#include <filesystem>
#include <fstream>
#include <functional>
#include <random>
#include <sstream>

namespace tavi {
namespace {

namespace fs = std::filesystem;
using platform::db::Connection;
using platform::db::RecordSet;

constexpr uint32_t kSeed = 7;
constexpr tools::WorldSize kWorld;

std::string readText(const fs::path& path) {
    std::ifstream file(path, std::ios::binary);
    std::ostringstream text;
    text << file.rdbuf();
    return text.str();
}

class NullLoaders final : public NavDatabase::Loaders {
public:
    void loadPilotPoints(const std::string&) override {}
    void loadPerformance(const std::string&) override {}
    void loadStoredPlans(const std::string&) override {}
};

struct Position {
    double latitude;
    double longitude;
};

// A procedure of the world database with the runway it is flown from or to (the one it is
// tied to, else its airport's first) and its first transition.
struct Procedure {
    std::string icao;
    std::string name;
    std::string fullName;
    Runway runway;
    std::string transition;
    // For an approach: an arrival of its airport and that arrival's first transition.
    std::string star;
    std::string starTransition;
};

// The rows of a query, each read with `read`.
template <typename Row>
std::vector<Row> sample(const Connection& connection, const std::string& sql,
                        const std::function<Row(const RecordSet&)>& read) {
    std::vector<Row> rows;
    for (RecordSet records = connection.execute(sql); !records.eof(); records.moveNext()) {
        rows.push_back(read(records));
    }
    return rows;
}

// A simulator folder holding the world database, kept between runs (the folder's name tells
// the schema and the generator it was made with), connected once for all benchmarks.
struct WorldBench {
    WorldBench() : host(folder().string() + "/sim.exe"), database(magDev, [](std::string_view) {}) {
        const fs::path file = folder() / "Orvane/Nd/nd.sqlite";
        if (!fs::exists(file)) {
            tools::writeWorldNavDatabase(file, schema(), kSeed, kWorld);
        }
        NullLoaders loaders;
        database.connect(loaders);
        readSamples(file);
    }

    static std::string schema() {
        return readText(fs::path(TAVI_SOURCE_DIR) / "data/nd/schema.sql");
    }

    static fs::path folder() {
        const std::size_t schemaHash = std::hash<std::string>{}(schema());
        return fs::path(TAVI_BENCH_DATA_DIR) /
               ("navdata-world-v" + std::to_string(tools::kWorldGeneratorVersion) + "-" +
                std::to_string(schemaHash % 1000000007) + "-" + std::to_string(kSeed));
    }

    void readSamples(const fs::path& file) {
        Connection connection;
        connection.open(file);
        const auto position = [](const RecordSet& row) {
            return Position{row.field("Latitude").toDouble(), row.field("Longtitude").toDouble()};
        };
        const auto text = [](const RecordSet& row) {
            return row.field("Ident").toText();
        };
        airportPositions = sample<Position>(
            connection, "SELECT Latitude, Longtitude FROM Airports WHERE ID % 397 = 0", position);
        stationPositions = sample<Position>(
            connection,
            "SELECT Latitude, Longtitude FROM Navaids WHERE Type IN (1, 2, 4) AND ID % 53 = 0",
            position);
        stationFrequencies = sample<int32_t>(
            connection, "SELECT Freq FROM Navaids WHERE Type IN (1, 2, 4) AND ID % 53 = 0",
            [](const RecordSet& row) { return row.field("Freq").toInt32(); });
        for (const char* sql :
             {"SELECT ICAO AS Ident FROM Airports WHERE ID % 997 = 0",
              "SELECT Ident FROM Navaids WHERE Type NOT IN (5, 7) AND ID % 293 = 0",
              "SELECT Ident || 'NB' AS Ident FROM Navaids WHERE Type IN (5, 7) AND ID % 293 = 0",
              "SELECT Ident FROM ILSes WHERE ID % 241 = 0",
              "SELECT Ident FROM Waypoints WHERE ID % 6007 = 0"}) {
            const std::vector<std::string> found = sample<std::string>(connection, sql, text);
            idents.insert(idents.end(), found.begin(), found.end());
        }
        std::shuffle(idents.begin(), idents.end(), std::mt19937(kSeed));
        runways = sample<std::pair<std::string, std::string>>(
            connection,
            "SELECT ICAO, Runways.Ident FROM Runways INNER JOIN Airports "
            "ON Airports.ID = Runways.AirportID WHERE Runways.ID % 211 = 0",
            [](const RecordSet& row) {
                return std::make_pair(row.field("ICAO").toText(), row.field("Ident").toText());
            });
        sids = procedures(connection, kProcSid);
        stars = procedures(connection, kProcStar);
        approaches = procedures(connection, kProcApproach);
    }

    // Every 97th procedure of the kind, with its runway.
    std::vector<Procedure> procedures(const Connection& connection, int proc) {
        const std::string sql =
            "SELECT Airports.ICAO, Terminals.Name, Terminals.FullName, "
            "COALESCE(Terminals.RwyID, (SELECT MIN(Runways.ID) FROM Runways "
            "WHERE Runways.AirportID = Airports.ID)) AS RunwayID FROM Terminals "
            "INNER JOIN Airports ON Airports.ID = Terminals.AirportID "
            "WHERE Terminals.Proc = " +
            std::to_string(proc) + " AND Terminals.ID % 97 = 0";
        std::vector<Procedure> found =
            sample<Procedure>(connection, sql, [this](const RecordSet& row) {
                Procedure procedure;
                procedure.icao = row.field("ICAO").toText();
                procedure.name = row.field("Name").toText();
                procedure.fullName = row.field("FullName").toText();
                database.getRunwayInfo(row.field("RunwayID").toInt32(), procedure.runway);
                return procedure;
            });
        for (Procedure& procedure : found) {
            std::vector<std::string> transitions;
            if (proc == kProcSid) {
                database.getSidEnrouteTransitions(procedure.icao, procedure.name, transitions);
            } else if (proc == kProcStar) {
                database.getStarEnrouteTransitions(procedure.icao, procedure.name, transitions);
            } else {
                database.getIapTransitions(procedure.icao, procedure.name, procedure.fullName,
                                           transitions);
                std::vector<std::string> stars;
                database.getStars(procedure.icao, Runway(), stars);
                procedure.star = stars.empty() ? "" : stars.front();
                std::vector<std::string> starTransitions;
                database.getStarEnrouteTransitions(procedure.icao, procedure.star, starTransitions);
                procedure.starTransition = starTransitions.empty() ? "" : starTransitions.front();
            }
            procedure.transition = transitions.empty() ? "" : transitions.front();
        }
        return found;
    }

    test::ExecutableHost host;
    MagDev magDev;
    NavDatabase database;
    std::vector<Position> airportPositions;
    std::vector<Position> stationPositions;
    std::vector<int32_t> stationFrequencies;
    std::vector<std::string> idents;
    std::vector<std::pair<std::string, std::string>> runways;
    std::vector<Procedure> sids;
    std::vector<Procedure> stars;
    std::vector<Procedure> approaches;
};

WorldBench& world() {
    static WorldBench bench;
    return bench;
}

template <typename T>
const T& cycle(const std::vector<T>& items, std::size_t& next) {
    const T& item = items[next];
    next = (next + 1) % items.size();
    return item;
}

// The map page's nearest airports round airports all over the world, at a map range (nm).
void BM_GetClosest4Airports(benchmark::State& state) {
    WorldBench& bench = world();
    const double range = static_cast<double>(state.range(0));
    std::size_t next = 0;
    for (auto _ : state) {
        const Position& centre = cycle(bench.airportPositions, next);
        std::array<Airport, 4> slots;
        bench.database.getClosest4Airports(centre.latitude, centre.longitude, range, slots);
        benchmark::DoNotOptimize(slots[3].distance);
    }
}
BENCHMARK(BM_GetClosest4Airports)->Arg(30)->Arg(120)->Arg(600)->Unit(benchmark::kMicrosecond);

void BM_GetClosest8Navaids(benchmark::State& state) {
    WorldBench& bench = world();
    const double range = static_cast<double>(state.range(0));
    std::size_t next = 0;
    for (auto _ : state) {
        const Position& centre = cycle(bench.airportPositions, next);
        std::array<Navaid, 8> slots;
        bench.database.getClosest8Navaids(centre.latitude, centre.longitude, range, slots);
        benchmark::DoNotOptimize(slots[7].distance);
    }
}
BENCHMARK(BM_GetClosest8Navaids)->Arg(30)->Arg(120)->Arg(600)->Unit(benchmark::kMicrosecond);

// Every point an identifier names (airports, ILS, stations, NDBs, waypoints), sorted by distance.
void BM_FindWaypoints(benchmark::State& state) {
    WorldBench& bench = world();
    std::size_t next = 0;
    std::size_t position = 0;
    std::vector<Waypoint> list;
    for (auto _ : state) {
        const Position& here = cycle(bench.airportPositions, position);
        bench.database.setPresentPosition(here.latitude, here.longitude);
        bench.database.findWaypoints(cycle(bench.idents, next), list, false);
        benchmark::DoNotOptimize(list.data());
    }
}
BENCHMARK(BM_FindWaypoints)->Unit(benchmark::kMicrosecond);

void BM_ExtractVhfNavaids(benchmark::State& state) {
    const NavDatabase& database = world().database;
    for (auto _ : state) {
        std::vector<Navaid> list;
        database.extractVhfNavaids(list);
        benchmark::DoNotOptimize(list.data());
    }
}
BENCHMARK(BM_ExtractVhfNavaids)->Unit(benchmark::kMillisecond);

// The station behind a tuned frequency, from a position near it.
void BM_GetClosestNav(benchmark::State& state) {
    WorldBench& bench = world();
    std::size_t next = 0;
    for (auto _ : state) {
        const std::size_t index = next;
        const Position& here = cycle(bench.stationPositions, next);
        bench.database.setPresentPosition(here.latitude + 0.5, here.longitude);
        benchmark::DoNotOptimize(bench.database.getClosestNav(bench.stationFrequencies[index]));
    }
}
BENCHMARK(BM_GetClosestNav)->Unit(benchmark::kMicrosecond);

void BM_GetClosestAirport(benchmark::State& state) {
    WorldBench& bench = world();
    std::size_t next = 0;
    for (auto _ : state) {
        const Position& here = cycle(bench.airportPositions, next);
        bench.database.setPresentPosition(here.latitude, here.longitude);
        Waypoint airport;
        bench.database.getClosestAirport(airport);
        benchmark::DoNotOptimize(airport.id);
    }
}
BENCHMARK(BM_GetClosestAirport)->Unit(benchmark::kMicrosecond);

void BM_GetRunwayInfo(benchmark::State& state) {
    const NavDatabase& database = world().database;
    int32_t id = 1;
    for (auto _ : state) {
        Runway runway;
        database.getRunwayInfo(id, runway);
        benchmark::DoNotOptimize(runway.magneticHeading);
        id = id % 100000 + 1;
    }
}
BENCHMARK(BM_GetRunwayInfo);

void BM_GetRunwayInfoByIdent(benchmark::State& state) {
    WorldBench& bench = world();
    std::size_t next = 0;
    for (auto _ : state) {
        const auto& [icao, designator] = cycle(bench.runways, next);
        Runway runway;
        bench.database.getRunwayInfoByIdent(icao, designator, runway);
        benchmark::DoNotOptimize(runway.id);
    }
}
BENCHMARK(BM_GetRunwayInfoByIdent);

void BM_GetNavaidInfo(benchmark::State& state) {
    const NavDatabase& database = world().database;
    int32_t id = 1;
    for (auto _ : state) {
        Navaid navaid;
        database.getNavaidInfo(id, navaid);
        benchmark::DoNotOptimize(navaid.frequency);
        id = id % kWorld.navaids + 1;
    }
}
BENCHMARK(BM_GetNavaidInfo);

void BM_GetWaypointAirportIlsInfo(benchmark::State& state) {
    const NavDatabase& database = world().database;
    int32_t id = 1;
    for (auto _ : state) {
        Waypoint waypoint;
        Airport airport;
        Ils ils;
        database.getWaypointInfo(id, waypoint);
        database.getAirportInfo(id % kWorld.airports + 1, airport);
        database.getIlsInfoForRunway(id % 100000 + 1, ils);
        benchmark::DoNotOptimize(ils.frequency);
        id = id % kWorld.waypoints + 1;
    }
}
BENCHMARK(BM_GetWaypointAirportIlsInfo);

void BM_GetConfigParam(benchmark::State& state) {
    const NavDatabase& database = world().database;
    for (auto _ : state) {
        benchmark::DoNotOptimize(database.getConfigParam("CycleName"));
    }
}
BENCHMARK(BM_GetConfigParam);

// The procedure catalogue of an airport: all its departures (argument 0) or those of a runway.
void BM_GetSids(benchmark::State& state) {
    WorldBench& bench = world();
    const bool forRunway = state.range(0) != 0;
    std::size_t next = 0;
    std::vector<std::string> names;
    for (auto _ : state) {
        const Procedure& sid = cycle(bench.sids, next);
        bench.database.getSids(sid.icao, forRunway ? sid.runway : Runway(), names);
        benchmark::DoNotOptimize(names.data());
    }
}
BENCHMARK(BM_GetSids)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

void BM_GetStars(benchmark::State& state) {
    WorldBench& bench = world();
    const bool forRunway = state.range(0) != 0;
    std::size_t next = 0;
    std::vector<std::string> names;
    for (auto _ : state) {
        const Procedure& star = cycle(bench.stars, next);
        bench.database.getStars(star.icao, forRunway ? star.runway : Runway(), names);
        benchmark::DoNotOptimize(names.data());
    }
}
BENCHMARK(BM_GetStars)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

void BM_GetTransitions(benchmark::State& state) {
    WorldBench& bench = world();
    std::size_t next = 0;
    std::vector<std::string> names;
    for (auto _ : state) {
        const std::size_t index = next;
        next = (next + 1) % bench.approaches.size();
        const Procedure& sid = bench.sids[index % bench.sids.size()];
        const Procedure& star = bench.stars[index % bench.stars.size()];
        const Procedure& approach = bench.approaches[index];
        bench.database.getSidEnrouteTransitions(sid.icao, sid.name, names);
        bench.database.getStarEnrouteTransitions(star.icao, star.name, names);
        bench.database.getIapTransitions(approach.icao, approach.name, approach.fullName, names);
        benchmark::DoNotOptimize(names.data());
    }
}
BENCHMARK(BM_GetTransitions)->Unit(benchmark::kMicrosecond);

void BM_GetStarRunways(benchmark::State& state) {
    WorldBench& bench = world();
    std::size_t next = 0;
    std::vector<std::string> designators;
    for (auto _ : state) {
        const Procedure& star = cycle(bench.stars, next);
        bench.database.getStarRunways(star.icao, star.name, designators);
        benchmark::DoNotOptimize(designators.data());
    }
}
BENCHMARK(BM_GetStarRunways)->Unit(benchmark::kMicrosecond);

// The approaches of an airport to all its runways.
void BM_GetAirportIaps(benchmark::State& state) {
    WorldBench& bench = world();
    std::size_t next = 0;
    std::vector<std::string> names;
    std::vector<std::string> fullNames;
    std::vector<Runway> runways;
    for (auto _ : state) {
        const Procedure& approach = cycle(bench.approaches, next);
        std::vector<Runway> offered;
        bench.database.getAirportRunways(approach.icao, offered);
        bench.database.getAirportIaps(approach.icao, offered, names, fullNames, runways);
        benchmark::DoNotOptimize(runways.data());
    }
}
BENCHMARK(BM_GetAirportIaps)->Unit(benchmark::kMicrosecond);

// A departure's legs: runway transition, common route and en-route transition.
void BM_GetSidLegs(benchmark::State& state) {
    WorldBench& bench = world();
    std::size_t next = 0;
    std::vector<TerminalLeg> legs;
    std::size_t legsRead = 0;
    for (auto _ : state) {
        const Procedure& sid = cycle(bench.sids, next);
        bench.database.getSidLegs(sid.icao, sid.runway, sid.name, sid.transition, legs);
        benchmark::DoNotOptimize(legs.data());
        legsRead += legs.size();
    }
    state.counters["legs"] =
        benchmark::Counter(static_cast<double>(legsRead), benchmark::Counter::kAvgIterations);
}
BENCHMARK(BM_GetSidLegs)->Unit(benchmark::kMicrosecond);

// An arrival's legs: the STAR with both transitions, then an approach with its transition.
void BM_GetStarIapLegs(benchmark::State& state) {
    WorldBench& bench = world();
    std::size_t next = 0;
    std::vector<TerminalLeg> legs;
    std::size_t legsRead = 0;
    for (auto _ : state) {
        const Procedure& approach = cycle(bench.approaches, next);
        bench.database.getStarIapLegs(approach.icao, approach.runway, approach.star,
                                      approach.starTransition, approach.name, approach.fullName,
                                      approach.transition, legs);
        benchmark::DoNotOptimize(legs.data());
        legsRead += legs.size();
    }
    state.counters["legs"] =
        benchmark::Counter(static_cast<double>(legsRead), benchmark::Counter::kAvgIterations);
}
BENCHMARK(BM_GetStarIapLegs)->Unit(benchmark::kMicrosecond);

void BM_GetIapMapPoint(benchmark::State& state) {
    WorldBench& bench = world();
    std::size_t next = 0;
    for (auto _ : state) {
        const Procedure& approach = cycle(bench.approaches, next);
        TerminalLeg leg;
        benchmark::DoNotOptimize(
            bench.database.getIapMapPoint(approach.icao, approach.name, approach.fullName, leg));
    }
}
BENCHMARK(BM_GetIapMapPoint)->Unit(benchmark::kMicrosecond);

// One leg's worth of geometry for each of 1000 random pairs of points.
void BM_GeodesyBatch(benchmark::State& state) {
    std::mt19937 random(11);
    std::uniform_real_distribution<double> latitude(-80.0, 80.0);
    std::uniform_real_distribution<double> longitude(-180.0, 180.0);
    std::vector<std::array<double, 4>> pairs(1000);
    for (auto& pair : pairs) {
        pair = {latitude(random), longitude(random), latitude(random), longitude(random)};
    }
    for (auto _ : state) {
        double sum = 0.0;
        for (const auto& [lat1, lon1, lat2, lon2] : pairs) {
            const GcNav start(lat1, lon1);
            const double distance = start.distanceTo(lat2, lon2);
            const double course = start.courseTo(lat2, lon2);
            double lat = 0.0;
            double lon = 0.0;
            start.destination(course, distance / 2.0, lat, lon);
            double xtk = 0.0;
            double atk = 0.0;
            start.crossTrack(lat2, lon2, lat, lon, xtk, atk);
            sum += xtk + atk + RhumbNav::distanceBetween(lat1, lon1, lat2, lon2);
        }
        benchmark::DoNotOptimize(sum);
    }
    state.SetItemsProcessed(state.iterations() * static_cast<int64_t>(pairs.size()));
}
BENCHMARK(BM_GeodesyBatch);

} // namespace
} // namespace tavi
