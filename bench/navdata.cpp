// Record lookups on a navigation database of a realistic size, and a batch of geodesy.
#include "navdata/Airport.h"
#include "navdata/GcNav.h"
#include "navdata/Ils.h"
#include "navdata/MagDev.h"
#include "navdata/NavDatabase.h"
#include "navdata/Navaid.h"
#include "navdata/RhumbNav.h"
#include "navdata/Runway.h"
#include "navdata/Waypoint.h"
#include "support/ExecutableHost.h"

#include <benchmark/benchmark.h>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>
#include <unistd.h>

namespace tavi {
namespace {

constexpr int kAirports = 5000;
constexpr int kNavaids = 10000;
constexpr int kWaypoints = 40000;

std::string generatedRows() {
    std::mt19937 random(7);
    std::uniform_real_distribution<double> latitude(-60.0, 70.0);
    std::uniform_real_distribution<double> longitude(-180.0, 180.0);
    std::ostringstream sql;
    sql << "BEGIN;\n";
    for (int id = 1; id <= kAirports; ++id) {
        const double lat = latitude(random);
        const double lon = longitude(random);
        sql << "INSERT INTO Airports VALUES (" << id << ", 'A" << id << "', NULL, " << lat << ", "
            << lon << ", 100);\n";
        for (int runway = 0; runway < 2; ++runway) {
            const int runwayId = 2 * id - 1 + runway;
            sql << "INSERT INTO Runways VALUES (" << runwayId << ", " << id << ", '"
                << (runway ? "27" : "09") << "', " << lat << ", " << lon << ", 100, "
                << (runway ? 270.0 : 90.0) << ", 9000, 150);\n";
            sql << "INSERT INTO ILSes VALUES (" << runwayId << ", 'I" << runwayId << "', "
                << runwayId << ", " << lat << ", " << lon << ", 100, 1, 90.0, 1, " << 0x01103000
                << ");\n";
        }
    }
    for (int id = 1; id <= kNavaids; ++id) {
        sql << "INSERT INTO Navaids VALUES (" << id << ", 'N" << id << "', " << (id % 2 ? 2 : 9)
            << ", " << latitude(random) << ", " << longitude(random) << ", 100, "
            << (id % 2 ? "18231296" : "NULL") << ", '087X', 'H', NULL);\n";
    }
    for (int id = 1; id <= kWaypoints; ++id) {
        sql << "INSERT INTO Waypoints VALUES (" << id << ", 'W" << id << "', " << latitude(random)
            << ", " << longitude(random) << ", 0, NULL);\n";
    }
    sql << "INSERT INTO config VALUES ('CycleName', '2401');\nCOMMIT;\n";
    return sql.str();
}

std::string readText(const std::filesystem::path& path) {
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

// A simulator folder holding the generated database, connected once for all lookups.
struct LookupBench {
    LookupBench()
        : folder(std::filesystem::temp_directory_path() /
                 ("tavi-bench-navdata-" + std::to_string(getpid()))),
          host(folder.string() + "/sim.exe"), database(magDev, [](std::string_view) {}) {
        platform::db::createDatabase(
            folder / "Orvane/Nd/nd.sqlite",
            readText(std::filesystem::path(TAVI_SOURCE_DIR) / "data/nd/schema.sql") +
                generatedRows());
        NullLoaders loaders;
        database.connect(loaders);
    }
    ~LookupBench() { std::filesystem::remove_all(folder); }

    std::filesystem::path folder;
    test::ExecutableHost host;
    MagDev magDev;
    NavDatabase database;
};

LookupBench& lookupBench() {
    static LookupBench bench;
    return bench;
}

void BM_GetRunwayInfo(benchmark::State& state) {
    const NavDatabase& database = lookupBench().database;
    int32_t id = 1;
    for (auto _ : state) {
        Runway runway;
        database.getRunwayInfo(id, runway);
        benchmark::DoNotOptimize(runway.magneticHeading);
        id = id % (2 * kAirports) + 1;
    }
}
BENCHMARK(BM_GetRunwayInfo);

void BM_GetRunwayInfoByIdent(benchmark::State& state) {
    const NavDatabase& database = lookupBench().database;
    int id = 1;
    for (auto _ : state) {
        Runway runway;
        database.getRunwayInfoByIdent("A" + std::to_string(id), "27", runway);
        benchmark::DoNotOptimize(runway.id);
        id = id % kAirports + 1;
    }
}
BENCHMARK(BM_GetRunwayInfoByIdent);

void BM_GetNavaidInfo(benchmark::State& state) {
    const NavDatabase& database = lookupBench().database;
    int32_t id = 1;
    for (auto _ : state) {
        Navaid navaid;
        database.getNavaidInfo(id, navaid);
        benchmark::DoNotOptimize(navaid.frequency);
        id = id % kNavaids + 1;
    }
}
BENCHMARK(BM_GetNavaidInfo);

void BM_GetWaypointAirportIlsInfo(benchmark::State& state) {
    const NavDatabase& database = lookupBench().database;
    int32_t id = 1;
    for (auto _ : state) {
        Waypoint waypoint;
        Airport airport;
        Ils ils;
        database.getWaypointInfo(id, waypoint);
        database.getAirportInfo(id % kAirports + 1, airport);
        database.getIlsInfoForRunway(id % (2 * kAirports) + 1, ils);
        benchmark::DoNotOptimize(ils.frequency);
        id = id % kWaypoints + 1;
    }
}
BENCHMARK(BM_GetWaypointAirportIlsInfo);

void BM_GetConfigParam(benchmark::State& state) {
    const NavDatabase& database = lookupBench().database;
    for (auto _ : state) {
        benchmark::DoNotOptimize(database.getConfigParam("CycleName"));
    }
}
BENCHMARK(BM_GetConfigParam);

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
