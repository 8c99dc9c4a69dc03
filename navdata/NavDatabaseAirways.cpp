// The navigation database's airway expansion between an entry and an exit fix.
#include "navdata/NavDatabase.h"
#include "navdata/Waypoint.h"

#include <algorithm>

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
// The legs of one piece with the ident of the end they lead to: in the stored direction, or
// against it.
constexpr char kLegsForward[] =
    "SELECT AirwayLegs.ID, Waypoint1ID, Waypoint2ID, Waypoints.Ident "
    "FROM AirwayLegs INNER JOIN Waypoints ON AirwayLegs.Waypoint2ID = Waypoints.ID "
    "WHERE AirwayLegs.ID BETWEEN ? And ? ORDER BY AirwayLegs.ID";
constexpr char kLegsReverse[] =
    "SELECT AirwayLegs.ID, Waypoint1ID, Waypoint2ID, Waypoints.Ident "
    "FROM AirwayLegs INNER JOIN Waypoints ON AirwayLegs.Waypoint1ID = Waypoints.ID "
    "WHERE AirwayLegs.ID BETWEEN ? And ? ORDER BY AirwayLegs.ID DESC";

} // namespace

void NavDatabase::getAirwayPoints(const Waypoint& entry, const std::string& airway,
                                  const std::string& exit, std::vector<Waypoint>& result) const {
    result.clear();
    const Waypoint start = entry.kind == WaypointKind::Navaid ? navaidToWpt(entry) : entry;
    if (start.kind != WaypointKind::DatabaseWaypoint) {
        return;
    }
    if (!walkAirway("getAirwayPoints", airway, false, start, exit, result)) {
        walkAirway("getAirwayPoints rev", airway, true, start, exit, result);
    }
}

// Walks the pieces of the airway in one direction until one holds the entry and, after it, the
// exit; fills the result with the waypoints passed and answers true. A database error is
// logged with the label and answers false.
bool NavDatabase::walkAirway(std::string_view label, const std::string& airway, bool reverse,
                             const Waypoint& entry, const std::string& exit,
                             std::vector<Waypoint>& result) const {
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
        for (std::size_t piece = 0; piece < pieces && passed.empty(); ++piece) {
            passed = walkPiece(firstLegs[piece], lastLegs[piece], reverse, entry.id, exit);
        }
    } catch (const DbError& error) {
        log(label);
        log(error.description());
        return false;
    }
    if (passed.empty()) {
        return false;
    }
    for (const int32_t waypointId : passed) {
        Waypoint waypoint;
        getWaypointInfo(waypointId, waypoint);
        result.push_back(std::move(waypoint));
    }
    return true;
}

// The IDs of the waypoints passed from the entry to the exit along one piece, or none when the
// piece does not hold the entry with the exit after it.
std::vector<int32_t> NavDatabase::walkPiece(int32_t firstLeg, int32_t lastLeg, bool reverse,
                                            int32_t entryId, const std::string& exit) const {
    const char* fromColumn = reverse ? "Waypoint2ID" : "Waypoint1ID";
    const char* toColumn = reverse ? "Waypoint1ID" : "Waypoint2ID";
    std::vector<int32_t> passed;
    bool entered = false;
    bool left = false;
    RecordSet rows = connection.execute(reverse ? kLegsReverse : kLegsForward,
                                        {Param::integer(firstLeg), Param::integer(lastLeg)});
    for (; !rows.eof(); rows.moveNext()) {
        if (rows.field(fromColumn).toInt32() == entryId) {
            entered = true;
        }
        left = rows.field("Ident").toText() == exit;
        if (entered) {
            passed.push_back(rows.field(toColumn).toInt32());
        }
        if (left) {
            break;
        }
    }
    if (!entered || !left) {
        passed.clear();
    }
    return passed;
}

} // namespace tavi
