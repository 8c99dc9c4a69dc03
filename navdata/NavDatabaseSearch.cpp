// The navigation database's identifier searches, the runway list of an airport and the
// resolution of the points of stored flight plans.
#include "cdu/FmsParser.h"
#include "core/Angles.h"
#include "navdata/Airport.h"
#include "navdata/GcNav.h"
#include "navdata/NavDatabase.h"
#include "navdata/PilotPointStore.h"
#include "navdata/Runway.h"
#include "navdata/Waypoint.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace tavi {

namespace {

using platform::db::Param;
using platform::db::RecordSet;

constexpr int32_t kIdentSize = 5;
// Airports are searched for entries of at most this many characters.
constexpr std::size_t kAirportIdentLength = 4;
// A stored point is the database's when both coordinates differ by less than this (degrees).
constexpr double kStoredPositionTolerance = 0.1;
// A stored runway is looked for at the airports this close to its stored position (nm).
constexpr double kStoredRunwayAirportRangeNm = 10.0;

constexpr char kAirportsByIcao[] =
    "SELECT ID, Latitude, Longtitude, Elevation FROM Airports WHERE ICAO = ?";
constexpr char kIlsesByIdent[] =
    "SELECT ID, Latitude, Longtitude, Freq, HasDme FROM ILSes WHERE Ident = ?";
constexpr char kVorsByIdent[] =
    "SELECT ID, Latitude, Longtitude FROM Navaids WHERE Ident = ? AND Type NOT IN (5, 7)";
// NDBs are stored without the "NB" that ends their entry; the entry is matched without it, so
// that the identifier's index serves the search.
constexpr char kNdbsByIdent[] =
    "SELECT ID, Latitude, Longtitude FROM Navaids WHERE Ident = ? AND Type IN (5, 7)";
constexpr char kWaypointsByIdent[] =
    "SELECT ID, Latitude, Longtitude FROM Waypoints WHERE Ident = ? ";
constexpr char kAirportRunways[] =
    "SELECT Runways.* FROM Runways INNER JOIN Airports ON Airports.ID = Runways.AirportID "
    "WHERE ICAO = ? ORDER BY Ident";

constexpr char kNdbSuffix[] = "NB";

// The NDB's stored ident for an entry ending in "NB" (in either case); none for another entry.
Param ndbIdentParam(const std::string& entry) {
    const std::size_t suffix = sizeof kNdbSuffix - 1;
    if (entry.size() < suffix) {
        return Param::nullText(kIdentSize);
    }
    const std::string_view tail = std::string_view(entry).substr(entry.size() - suffix);
    const bool endsInNb = (tail[0] == 'N' || tail[0] == 'n') && (tail[1] == 'B' || tail[1] == 'b');
    return endsInNb ? Param::text(entry.substr(0, entry.size() - suffix), kIdentSize)
                    : Param::nullText(kIdentSize);
}

bool withinTolerance(const Waypoint& stored, const Waypoint& candidate) {
    return std::fabs(candidate.latitude - stored.latitude) < kStoredPositionTolerance &&
           std::fabs(normalize180(candidate.longitude - stored.longitude)) <
               kStoredPositionTolerance;
}

// Copies the base fields of the first candidate within the tolerance of the stored point.
bool takeNearStoredPosition(Waypoint& stored, const std::vector<Waypoint>& candidates) {
    const auto found = std::find_if(candidates.begin(), candidates.end(),
                                    [&](const Waypoint& c) { return withinTolerance(stored, c); });
    if (found == candidates.end()) {
        return false;
    }
    stored = *found;
    return true;
}

} // namespace

void NavDatabase::searchAirports(const std::string& ident, std::vector<Waypoint>& list) const {
    forEachSoundRow("searchAirports", kAirportsByIcao, {Param::text(ident, kIcaoSize)},
                    [&](const RecordSet& row) {
                        Waypoint airport;
                        airport.ident = ident;
                        airport.aptIdent = ident;
                        readPosition(row, airport.latitude, airport.longitude);
                        airport.elevation = row.field("Elevation").toInt32();
                        airport.id = row.field("ID").toInt32();
                        airport.strType = "ARPT";
                        airport.kind = WaypointKind::Airport;
                        airport.variation = variationAt(airport.latitude, airport.longitude);
                        list.push_back(std::move(airport));
                    });
}

void NavDatabase::searchIlses(const std::string& ident, std::vector<Waypoint>& list) const {
    forEachSoundRow("searchIlses", kIlsesByIdent, {Param::text(ident, kIdentSize)},
                    [&](const RecordSet& row) {
                        Waypoint ils;
                        ils.ident = ident;
                        readPosition(row, ils.latitude, ils.longitude);
                        ils.id = row.field("ID").toInt32();
                        ils.frequency = row.field("Freq").toInt32();
                        ils.kind = WaypointKind::Ils;
                        ils.strType = row.field("HasDme").toBool() ? "ILSDME" : "ILS";
                        ils.variation = variationAt(ils.latitude, ils.longitude);
                        list.push_back(std::move(ils));
                    });
}

Waypoint NavDatabase::searchedPoint(const RecordSet& row, const std::string& ident,
                                    WaypointKind kind) const {
    Waypoint point;
    point.ident = ident;
    readPosition(row, point.latitude, point.longitude);
    point.id = row.field("ID").toInt32();
    point.kind = kind;
    point.variation = variationAt(point.latitude, point.longitude);
    return point;
}

void NavDatabase::searchVors(const std::string& ident, std::vector<Waypoint>& list) const {
    forEachSoundRow("searchVors", kVorsByIdent, {Param::text(ident, kIdentSize)},
                    [&](const RecordSet& row) {
                        list.push_back(searchedPoint(row, ident, WaypointKind::Navaid));
                    });
}

void NavDatabase::searchNdbs(const std::string& ident, std::vector<Waypoint>& list) const {
    forEachSoundRow("searchNdbs", kNdbsByIdent, {ndbIdentParam(ident)}, [&](const RecordSet& row) {
        list.push_back(searchedPoint(row, ident, WaypointKind::Navaid));
    });
}

void NavDatabase::searchWpts(const std::string& ident, std::vector<Waypoint>& list) const {
    forEachSoundRow("searchWpts", kWaypointsByIdent, {Param::text(ident, kIdentSize)},
                    [&](const RecordSet& row) {
                        Waypoint waypoint =
                            searchedPoint(row, ident, WaypointKind::DatabaseWaypoint);
                        waypoint.strType = "WPT";
                        list.push_back(std::move(waypoint));
                    });
}

void NavDatabase::findWaypoints(const std::string& ident, std::vector<Waypoint>& list,
                                bool includePlanAndPilot) const {
    list.clear();
    if (includePlanAndPilot && activePlan) {
        if (const Waypoint* fix = activePlan->namedFixFromActiveLeg(ident)) {
            list.push_back(*fix);
            return;
        }
    }
    if (!FmsParser::isTemporaryIdent(ident)) {
        if (ident.size() <= kAirportIdentLength) {
            searchAirports(ident, list);
        }
        searchIlses(ident, list);
        searchVors(ident, list);
        searchNdbs(ident, list);
        searchWpts(ident, list);
    }
    if (includePlanAndPilot && pilotPoints) {
        if (const PilotPoint* point = pilotPoints->find(ident)) {
            list.push_back(static_cast<const Waypoint&>(*point));
        }
    }
    const GcNav here(presentLatitude, presentLongitude);
    for (Waypoint& candidate : list) {
        candidate.distance = here.distanceTo(candidate.latitude, candidate.longitude);
    }
    // Candidates at one distance are ordered by position, so that two records of one point
    // come next to each other whatever else lies at that distance.
    std::stable_sort(list.begin(), list.end(), [](const Waypoint& a, const Waypoint& b) {
        if (a.distance != b.distance) {
            return a.distance < b.distance;
        }
        if (a.latitude != b.latitude) {
            return a.latitude < b.latitude;
        }
        return a.longitude < b.longitude;
    });
    removeDuplicates(list);
}

void NavDatabase::removeDuplicates(std::vector<Waypoint>& list) {
    if (list.size() < 2) {
        return;
    }
    std::vector<Waypoint> kept{list.front()};
    for (auto entry = list.begin() + 1; entry != list.end(); ++entry) {
        const Waypoint& last = kept.back();
        if (entry->ident != last.ident || !entry->samePosition(last)) {
            kept.push_back(std::move(*entry));
        }
    }
    list = std::move(kept);
}

void NavDatabase::getAirportRunways(const std::string& icao, std::vector<Runway>& runways) const {
    runways.clear();
    forEachSoundRow("getAirportRunways", kAirportRunways, {Param::text(icao, kIcaoSize)},
                    [&](const RecordSet& row) {
                        Runway runway;
                        runway.aptIdent = icao;
                        readRunway(row, runway);
                        runways.push_back(std::move(runway));
                    });
}

bool NavDatabase::resolveStoredWaypoint(Waypoint& waypoint,
                                        std::span<const std::string> planAirports) const {
    std::vector<Waypoint> candidates;
    switch (waypoint.kind) {
    case WaypointKind::Airport:
        searchAirports(waypoint.ident, candidates);
        if (candidates.empty()) {
            return false;
        }
        waypoint = candidates.front();
        return true;
    case WaypointKind::Ils:
        searchIlses(waypoint.ident, candidates);
        return takeNearStoredPosition(waypoint, candidates);
    case WaypointKind::Navaid:
        searchVors(waypoint.ident, candidates);
        searchNdbs(waypoint.ident, candidates);
        return takeNearStoredPosition(waypoint, candidates);
    case WaypointKind::DatabaseWaypoint:
        searchWpts(waypoint.ident, candidates);
        return takeNearStoredPosition(waypoint, candidates);
    case WaypointKind::PilotWaypoint: {
        const PilotPoint* point = pilotPoints ? pilotPoints->find(waypoint.ident) : nullptr;
        if (!point) {
            return false;
        }
        waypoint = static_cast<const Waypoint&>(*point);
        return true;
    }
    case WaypointKind::Runway:
        return resolveRunway(waypoint, planAirports);
    default:
        return false;
    }
}

// A stored runway does not name its airport: it is looked for at each airport of the plan
// being read, then at the active plan's destination, then at the airports around its stored
// position, since a plan's origin runway has no plan airport to be looked for at.
bool NavDatabase::resolveRunway(Waypoint& waypoint,
                                std::span<const std::string> planAirports) const {
    std::vector<std::string> airports(planAirports.begin(), planAirports.end());
    if (activePlan) {
        airports.push_back(activePlan->destinationAirport());
    }
    std::array<Airport, 4> around;
    getClosest4Airports(waypoint.latitude, waypoint.longitude, kStoredRunwayAirportRangeNm, around);
    for (const Airport& airport : around) {
        airports.push_back(airport.ident);
    }
    std::vector<std::string> tried;
    for (const std::string& icao : airports) {
        if (icao.empty() || std::find(tried.begin(), tried.end(), icao) != tried.end()) {
            continue;
        }
        tried.push_back(icao);
        std::vector<Waypoint> found;
        searchAirports(icao, found);
        if (found.empty()) {
            continue;
        }
        std::vector<Runway> runways;
        getAirportRunways(icao, runways);
        const auto runway = std::find_if(runways.begin(), runways.end(), [&](const Runway& r) {
            return r.ident == waypoint.ident;
        });
        if (runway != runways.end()) {
            if (auto* record = dynamic_cast<Runway*>(&waypoint)) {
                *record = *runway;
            } else {
                waypoint = static_cast<const Waypoint&>(*runway);
            }
            return true;
        }
    }
    return false;
}

} // namespace tavi
