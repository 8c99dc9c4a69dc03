#include "tools/navdb/WorldProcedures.h"

#include <algorithm>
#include <numeric>
#include <optional>

namespace tavi::tools {

namespace {

using platform::db::DatabaseBuilder;
using platform::db::Param;

// Fixes of a procedure lie within this many degrees of its airport.
constexpr double kFixSpread = 0.6;
// Proc codes of Terminals rows.
constexpr int kStar = 1;
constexpr int kSid = 2;
constexpr int kApproach = 3;

// What a leg holds besides its procedure, type and transition.
struct Leg {
    const char* trackCode;
    bool hasFix;
    std::optional<std::string> altitude;
    std::optional<double> course;
    bool flyOver = false;
};

class ProcedureWriter {
public:
    ProcedureWriter(DatabaseBuilder& builder, WorldRandom& random, int waypointCount)
        : random(random), waypointCount(waypointCount),
          terminals(builder.prepare("INSERT INTO Terminals VALUES (?, ?, ?, ?, ?, ?, ?, ?)")),
          legs(builder.prepare("INSERT INTO TerminalLegs VALUES "
                               "(?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)")),
          legsEx(builder.prepare("INSERT INTO TerminalLegsEx VALUES (?, ?)")) {}

    // The procedures of one airport; answers how many Terminals rows it wrote.
    int writeAirport(const WorldAirport& airport) {
        const int before = terminalRows;
        for (int sid = random.uniformInt(1, 6); sid > 0; --sid) {
            writeSid(airport);
        }
        for (int star = random.uniformInt(1, 6); star > 0; --star) {
            writeStar(airport);
        }
        for (const WorldRunway& runway : airport.runways) {
            if (random.chance(0.6)) {
                const bool ils = random.chance(0.5);
                writeApproach(airport, (ils ? "I" : "R") + runway.ident,
                              (ils ? "ILS " : "RNAV ") + runway.ident, &runway);
            }
        }
        if (random.chance(0.2)) {
            writeApproach(airport, "VORA", "VOR-A", nullptr);
        }
        return terminalRows - before;
    }

private:
    std::string procedureName() {
        return random.letters(4) + static_cast<char>('1' + random.uniformInt(0, 8));
    }

    int terminal(const WorldAirport& airport, int proc, const std::string& name,
                 const std::string& fullName, const WorldRunway* runway) {
        ++terminalRows;
        terminals.run({Param::integer(terminalRows), Param::integer(airport.id),
                       Param::text(airport.icao, 4), Param::integer(proc), Param::text(name, 8),
                       Param::text(fullName, 28),
                       runway ? Param::text(runway->ident, 3) : Param::nullText(3),
                       runway ? Param::integer(runway->id) : Param::nullText(0)});
        return terminalRows;
    }

    void leg(const WorldAirport& airport, int terminalId, std::string_view type,
             const std::optional<std::string>& transition, const Leg& leg) {
        ++legRows;
        const Param none = Param::nullText(0);
        const bool fix = leg.hasFix;
        legs.run(
            {Param::integer(legRows), Param::integer(terminalId), Param::text(type, 1),
             transition ? Param::text(*transition, 5) : none, Param::text(leg.trackCode, 2),
             fix ? Param::integer(random.uniformInt(1, waypointCount)) : none,
             fix ? Param::real(airport.latitude + random.uniform(-kFixSpread, kFixSpread)) : none,
             fix ? Param::real(airport.longitude + random.uniform(-kFixSpread, kFixSpread)) : none,
             random.chance(0.1) ? Param::text(random.chance(0.5) ? "L" : "R", 1) : none, none, none,
             none, none, none, leg.course ? Param::real(*leg.course) : none,
             fix ? Param::real(random.uniform(3.0, 25.0)) : none,
             leg.altitude ? Param::text(*leg.altitude, 8) : none, none});
        if (leg.flyOver || random.chance(0.05)) {
            legsEx.run({Param::integer(legRows), Param::integer(leg.flyOver ? 1 : 0)});
        }
    }

    void route(const WorldAirport& airport, int terminalId, std::string_view type,
               const std::optional<std::string>& transition, int count) {
        for (int index = 0; index < count; ++index) {
            leg(airport, terminalId, type, transition, {"TF", true, std::nullopt, std::nullopt});
        }
    }

    void runwayTransition(const WorldAirport& airport, int terminalId, std::string_view type,
                          const WorldRunway& runway, bool departure) {
        const std::string name = "RW" + runway.ident;
        if (departure) {
            leg(airport, terminalId, type, name, {"VA", false, "1500", random.uniform(0.0, 360.0)});
            leg(airport, terminalId, type, name, {"DF", true, std::nullopt, std::nullopt});
        } else {
            route(airport, terminalId, type, name, random.uniformInt(1, 2));
        }
    }

    void enrouteTransitions(const WorldAirport& airport, int terminalId, std::string_view type) {
        for (int count = random.uniformInt(1, 4); count > 0; --count) {
            route(airport, terminalId, type, random.letters(5), random.uniformInt(1, 3));
        }
    }

    // A departure tied to no runway with a transition for each, or now and then one stored once
    // per runway.
    void writeSid(const WorldAirport& airport) {
        const std::string name = procedureName();
        if (random.chance(0.1)) {
            for (const WorldRunway& runway : airport.runways) {
                const int id = terminal(airport, kSid, name, name, &runway);
                runwayTransition(airport, id, "1", runway, true);
                route(airport, id, "2", std::nullopt, random.uniformInt(2, 4));
                enrouteTransitions(airport, id, "3");
            }
            return;
        }
        const int id = terminal(airport, kSid, name, name, nullptr);
        for (const WorldRunway& runway : airport.runways) {
            runwayTransition(airport, id, "1", runway, true);
        }
        route(airport, id, "2", std::nullopt, random.uniformInt(2, 4));
        enrouteTransitions(airport, id, "3");
    }

    void writeStar(const WorldAirport& airport) {
        const std::string name = procedureName();
        const int id = terminal(airport, kStar, name, name, nullptr);
        enrouteTransitions(airport, id, "1");
        route(airport, id, "2", std::nullopt, random.uniformInt(2, 4));
        for (const WorldRunway& runway : airport.runways) {
            runwayTransition(airport, id, "3", runway, false);
        }
    }

    // Transitions, the final approach to the missed-approach point, and the missed approach.
    void writeApproach(const WorldAirport& airport, const std::string& name,
                       const std::string& fullName, const WorldRunway* runway) {
        const int id = terminal(airport, kApproach, name, fullName, runway);
        for (int count = random.uniformInt(1, 3); count > 0; --count) {
            route(airport, id, "A", random.letters(5), 2);
        }
        const std::string type(1, name.front());
        leg(airport, id, type, std::nullopt, {"IF", true, "3000", std::nullopt});
        leg(airport, id, type, std::nullopt, {"CF", true, "2000", random.uniform(0.0, 360.0)});
        leg(airport, id, type, std::nullopt, {"CF", true, "MAP", random.uniform(0.0, 360.0), true});
        leg(airport, id, type, std::nullopt, {"CA", false, "3000", random.uniform(0.0, 360.0)});
        leg(airport, id, type, std::nullopt,
            {"HM", true, "5000", random.uniform(0.0, 360.0), true});
    }

    WorldRandom& random;
    int waypointCount;
    DatabaseBuilder::Statement& terminals;
    DatabaseBuilder::Statement& legs;
    DatabaseBuilder::Statement& legsEx;
    int terminalRows = 0;
    int legRows = 0;
};

} // namespace

void writeWorldProcedures(DatabaseBuilder& builder, WorldRandom& random,
                          const std::vector<WorldAirport>& airports, int waypointCount, int count) {
    std::vector<std::size_t> order(airports.size());
    std::iota(order.begin(), order.end(), std::size_t{0});
    std::shuffle(order.begin(), order.end(), random.engine);
    ProcedureWriter writer(builder, random, waypointCount);
    int written = 0;
    for (auto next = order.begin(); next != order.end() && written < count; ++next) {
        written += writer.writeAirport(airports[*next]);
    }
}

} // namespace tavi::tools
