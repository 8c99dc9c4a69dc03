// The navigation database's airway expansion between an entry and an exit fix.
#include "navdata/NavDatabase.h"
#include "navdata/Waypoint.h"

#include <algorithm>
#include <deque>
#include <unordered_map>

namespace tavi {

namespace {

using platform::db::DbError;
using platform::db::Param;
using platform::db::RecordSet;

constexpr int32_t kAirwaySize = 6;

// The first and last legs of each continuous piece of the airway, in ID order.
constexpr char kAirwayPieces[] =
    "SELECT AirwayLegs.* FROM AirwayLegs INNER JOIN Airways ON Airways.ID=AirwayLegs.AirwayID "
    "WHERE Airways.Ident = ? And (IsStart = True OR IsEnd = True) ORDER BY AirwayLegs.ID";
// The legs of one piece in ID order, with the idents of both ends.
constexpr char kPieceLegs[] =
    "SELECT AirwayLegs.Waypoint1ID, AirwayLegs.Waypoint2ID, "
    "FromFix.Ident AS FromIdent, ToFix.Ident AS ToIdent FROM AirwayLegs "
    "INNER JOIN Waypoints AS FromFix ON FromFix.ID = AirwayLegs.Waypoint1ID "
    "INNER JOIN Waypoints AS ToFix ON ToFix.ID = AirwayLegs.Waypoint2ID "
    "WHERE AirwayLegs.ID BETWEEN ? And ? ORDER BY AirwayLegs.ID";

struct Fix {
    std::string ident;
    // The fixes one leg away: along the stored direction first, then against it.
    std::vector<int32_t> ahead;
    std::vector<int32_t> behind;
};

// The IDs of the waypoints passed on the fewest legs of a piece from the entry to a fix named
// exit, the exit last; none when the piece does not lead there. Legs are flown either way and a
// fix the airway passes twice is one fix, so a loop of the airway is never flown. Between walks
// of equal length the one along the stored direction wins.
std::vector<int32_t> shortestWalk(const std::unordered_map<int32_t, Fix>& fixes, int32_t entryId,
                                  const std::string& exit) {
    if (!fixes.contains(entryId)) {
        return {};
    }
    std::unordered_map<int32_t, int32_t> reachedFrom = {{entryId, entryId}};
    std::deque<int32_t> queue = {entryId};
    while (!queue.empty()) {
        const int32_t at = queue.front();
        queue.pop_front();
        const Fix& fix = fixes.at(at);
        if (at != entryId && fix.ident == exit) {
            std::vector<int32_t> walk;
            for (int32_t step = at; step != entryId; step = reachedFrom.at(step)) {
                walk.push_back(step);
            }
            std::reverse(walk.begin(), walk.end());
            return walk;
        }
        for (const std::vector<int32_t>* next : {&fix.ahead, &fix.behind}) {
            for (const int32_t neighbour : *next) {
                if (reachedFrom.emplace(neighbour, at).second) {
                    queue.push_back(neighbour);
                }
            }
        }
    }
    return {};
}

// The fixes of one piece with the legs between them.
std::unordered_map<int32_t, Fix> pieceFixes(const platform::db::Connection& connection,
                                            int32_t firstLeg, int32_t lastLeg) {
    std::unordered_map<int32_t, Fix> fixes;
    for (RecordSet rows =
             connection.execute(kPieceLegs, {Param::integer(firstLeg), Param::integer(lastLeg)});
         !rows.eof(); rows.moveNext()) {
        const int32_t from = rows.field("Waypoint1ID").toInt32();
        const int32_t to = rows.field("Waypoint2ID").toInt32();
        Fix& start = fixes[from];
        start.ident = rows.field("FromIdent").toText();
        start.ahead.push_back(to);
        Fix& end = fixes[to];
        end.ident = rows.field("ToIdent").toText();
        end.behind.push_back(from);
    }
    return fixes;
}

} // namespace

void NavDatabase::getAirwayPoints(const Waypoint& entry, const std::string& airway,
                                  const std::string& exit, std::vector<Waypoint>& result) const {
    result.clear();
    const Waypoint start = entry.kind == WaypointKind::Navaid ? navaidToWpt(entry) : entry;
    if (start.kind != WaypointKind::DatabaseWaypoint) {
        return;
    }
    walkAirway(airway, start, exit, result);
}

// Finds the shortest walk from the entry to the exit over the pieces of the airway, the earlier
// piece between walks of equal length, and fills the result with the waypoints passed. A
// database error is logged.
void NavDatabase::walkAirway(const std::string& airway, const Waypoint& entry,
                             const std::string& exit, std::vector<Waypoint>& result) const {
    std::vector<int32_t> passed;
    try {
        std::vector<int32_t> firstLegs;
        std::vector<int32_t> lastLegs;
        for (RecordSet rows = connection.execute(kAirwayPieces, {Param::text(airway, kAirwaySize)});
             !rows.eof(); rows.moveNext()) {
            const int32_t legId = rows.field("ID").toInt32();
            if (rows.field("IsStart").toBool()) {
                firstLegs.push_back(legId);
            }
            if (rows.field("IsEnd").toBool()) {
                lastLegs.push_back(legId);
            }
        }
        // Pieces pair a first and a last leg by their order; an unpaired one is left out.
        const std::size_t pieces = std::min(firstLegs.size(), lastLegs.size());
        for (std::size_t piece = 0; piece < pieces; ++piece) {
            const std::vector<int32_t> walk = shortestWalk(
                pieceFixes(connection, firstLegs[piece], lastLegs[piece]), entry.id, exit);
            if (!walk.empty() && (passed.empty() || walk.size() < passed.size())) {
                passed = walk;
            }
        }
    } catch (const DbError& error) {
        log("getAirwayPoints");
        log(error.description());
        return;
    }
    for (const int32_t waypointId : passed) {
        Waypoint waypoint;
        getWaypointInfo(waypointId, waypoint);
        result.push_back(std::move(waypoint));
    }
}

} // namespace tavi
