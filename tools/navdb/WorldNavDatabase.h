#pragma once

#include <cstdint>
#include <filesystem>
#include <string>

// A made-up navigation database of the size of the whole world's, for measuring the queries:
// airports, runways, ILS, stations, waypoints, airways and terminal procedures spread over the
// continents the way traffic is (dense over North America and Europe, thin over the oceans and the
// poles), with the identifier clashes real data has. The same seed always gives the same data.
namespace tavi::tools {

// Raised with every change to the generated data, so that files kept from an earlier version
// are made anew.
inline constexpr int kWorldGeneratorVersion = 2;

struct WorldSize {
    int airports = 40000;
    int navaids = 12000;
    int waypoints = 250000;
    int airwaySegments = 100000;
    // Departures, arrivals and approaches (Terminals rows), about 12 legs each.
    int procedures = 120000;
};

// The ICAO code of the airport of that index (0 first), each one different.
std::string worldAirportIcao(int index);

// Writes the database file from the schema's script and the generated rows, in one
// transaction; throws platform::db::DbError when the file cannot be written.
void writeWorldNavDatabase(const std::filesystem::path& file, const std::string& schema,
                           uint32_t seed, const WorldSize& size = {});

} // namespace tavi::tools
