#pragma once

#include "platform/db/Database.h"
#include "tools/navdb/WorldRandom.h"

#include <string>
#include <vector>

// The terminal procedures of the made-up world navigation database: departures, arrivals and
// approaches with their transitions and missed approaches at the airports that have runways.
namespace tavi::tools {

struct WorldRunway {
    int id = 0;
    // Designator without "RW": "09", "27".
    std::string ident;
};

struct WorldAirport {
    int id = 0;
    std::string icao;
    double latitude = 0.0;
    double longitude = 0.0;
    std::vector<WorldRunway> runways;
};

// Writes about `count` procedures into the builder's Terminals, TerminalLegs and TerminalLegsEx
// tables, at airports drawn from the list; their fixes name waypoints 1..waypointCount.
void writeWorldProcedures(platform::db::DatabaseBuilder& builder, WorldRandom& random,
                          const std::vector<WorldAirport>& airports, int waypointCount, int count);

} // namespace tavi::tools
