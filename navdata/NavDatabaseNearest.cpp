// The navigation database's position searches: the VHF navaid list, the nearest airports and
// stations around a position, and the station or airport nearest the present position.
#include "cdu/FmsParser.h"
#include "navdata/Airport.h"
#include "navdata/Candidates.h"
#include "navdata/GcNav.h"
#include "navdata/NavDatabase.h"
#include "navdata/Navaid.h"
#include "navdata/SearchBox.h"
#include "navdata/Waypoint.h"

namespace tavi {

namespace {

using platform::db::Param;
using platform::db::RecordSet;
using platform::db::Value;

constexpr int32_t kChannelSize = 4;
constexpr int32_t kNavaidIdentSize = 4;
constexpr int32_t kIlsIdentSize = 5;
// The stations a radio can be tuned to are looked for within this range (nm).
constexpr double kStationRangeNm = 200.0;
// An airport this close (nm) is the one the aircraft stands on.
constexpr double kAirportLimitNm = 3.0;
// Its search box is a little wider than the limit, so that rounding of the bounds never drops
// an airport at the limit; the limit itself is checked on the distance.
constexpr double kAirportBoxNm = 4.0;
constexpr double kNoAirportYet = 100.0;

// The queries that look inside a box take its latitude band, then two longitude ranges.
constexpr char kVhfNavaids[] = "SELECT * FROM Navaids WHERE Type IN (1, 2, 4, 9)";
constexpr char kAirportsInBox[] = "SELECT ID, ICAO, PrimaryID, Latitude, Longtitude FROM Airports "
                                  "WHERE (Latitude BETWEEN ? AND ?) "
                                  "AND (Longtitude BETWEEN ? AND ? OR Longtitude BETWEEN ? AND ?)";
constexpr char kNavaidsInBox[] = "SELECT ID, Ident, Type, Latitude, Longtitude FROM Navaids "
                                 "WHERE (Latitude BETWEEN ? AND ?) "
                                 "AND (Longtitude BETWEEN ? AND ? OR Longtitude BETWEEN ? AND ?)";
constexpr char kNavaidsByFrequency[] =
    "SELECT ID, IDENT, Latitude, Longtitude, Freq, Channel, Elevation FROM Navaids "
    "WHERE Type IN (1, 2, 4, 7, 9) AND (Freq = ? OR Channel = ?) "
    "AND (Latitude BETWEEN ? AND ?) "
    "AND (Longtitude BETWEEN ? AND ? OR Longtitude BETWEEN ? AND ?)";
constexpr char kIlsesByFrequency[] =
    "SELECT ID, IDENT, Latitude, Longtitude, Freq, Elevation FROM ILSes "
    "WHERE Freq = ? AND (Latitude BETWEEN ? AND ?) "
    "AND (Longtitude BETWEEN ? AND ? OR Longtitude BETWEEN ? AND ?)";
constexpr char kNavaidsByIdent[] =
    "SELECT ID, IDENT, Latitude, Longtitude, Freq, Channel, Elevation FROM Navaids "
    "WHERE Type IN (1, 2, 4, 7, 9) AND Ident = ? AND (Latitude BETWEEN ? AND ?) "
    "AND (Longtitude BETWEEN ? AND ? OR Longtitude BETWEEN ? AND ?)";
constexpr char kIlsesNearbyByIdent[] =
    "SELECT ID, IDENT, Latitude, Longtitude, Freq, Elevation FROM ILSes "
    "WHERE Ident = ? AND (Latitude BETWEEN ? AND ?) "
    "AND (Longtitude BETWEEN ? AND ? OR Longtitude BETWEEN ? AND ?)";
// Table order decides between airports at equal distances.
constexpr char kPrimaryAirportsInBox[] =
    "SELECT ID, ICAO, Latitude, Longtitude, Elevation FROM Airports "
    "WHERE PrimaryID IS NULL AND (Latitude BETWEEN ? AND ?) "
    "AND (Longtitude BETWEEN ? AND ? OR Longtitude BETWEEN ? AND ?) "
    "ORDER BY ID";
constexpr char kCollocatedWaypoint[] =
    "SELECT ID FROM Waypoints WHERE Collocated = True AND NavaidID = ?";

int32_t integerOrZero(const Value& value) {
    return value.isNull() ? 0 : value.toInt32();
}

std::string textOrEmpty(const Value& value) {
    return value.isNull() ? std::string() : value.toText();
}

} // namespace

void NavDatabase::extractVhfNavaids(std::vector<Navaid>& list) const {
    forEachSoundRow("extractVhfNavaids", kVhfNavaids, {}, [&](const RecordSet& row) {
        Navaid navaid;
        navaid.ident = row.field("Ident").toText();
        readPosition(row, navaid.latitude, navaid.longitude);
        navaid.id = row.field("ID").toInt32();
        navaid.elevation = row.field("Elevation").toInt32();
        navaid.variation = variationAt(navaid.latitude, navaid.longitude);
        navaid.frequency = integerOrZero(row.field("Freq"));
        navaid.channel = textOrEmpty(row.field("Channel"));
        navaid.usage = row.field("Usage").toText();
        navaid.navaidType = row.field("Type").toInt32();
        const Value slaved = row.field("SlavedVar");
        navaid.slavedVariation = slaved.isNull() ? kNoSlavedVariation : slaved.toDouble();
        list.push_back(std::move(navaid));
    });
}

void NavDatabase::getClosest4Airports(double latitude, double longitude, double rangeNm,
                                      std::array<Airport, 4>& slots) const {
    slots.fill(Airport());
    if (!connectionMade) {
        return;
    }
    const GcNav centre(latitude, longitude);
    // Secondary records never take a slot, so only primary ones become candidates.
    std::vector<Airport> candidates;
    forEachSoundRow("getClosest4Airports", kAirportsInBox,
                    withBox({}, SearchBox::around(latitude, longitude, rangeNm)),
                    [&](const RecordSet& row) {
                        const std::string icao = row.field("ICAO").toText();
                        const Value primary = row.field("PrimaryID");
                        if (primary.isInt32() && primary.toInt32() != 0) {
                            return;
                        }
                        Airport airport;
                        airport.ident = icao;
                        readPosition(row, airport.latitude, airport.longitude);
                        airport.id = row.field("ID").toInt32();
                        airport.distance = centre.distanceTo(airport.latitude, airport.longitude);
                        candidates.push_back(std::move(airport));
                    });
    auto slot = slots.begin();
    for (const std::size_t index : nearestOf(candidates, slots.size())) {
        *slot++ = candidates[index];
    }
}

void NavDatabase::getClosest8Navaids(double latitude, double longitude, double rangeNm,
                                     std::array<Navaid, 8>& slots) const {
    slots.fill(Navaid());
    if (!connectionMade) {
        return;
    }
    const GcNav centre(latitude, longitude);
    std::vector<Navaid> candidates;
    forEachSoundRow("getClosest8Navaids", kNavaidsInBox,
                    withBox({}, SearchBox::around(latitude, longitude, rangeNm)),
                    [&](const RecordSet& row) {
                        Navaid navaid;
                        navaid.ident = row.field("IDENT").toText();
                        readPosition(row, navaid.latitude, navaid.longitude);
                        navaid.id = row.field("ID").toInt32();
                        navaid.navaidType = row.field("Type").toInt32();
                        navaid.distance = centre.distanceTo(navaid.latitude, navaid.longitude);
                        candidates.push_back(std::move(navaid));
                    });
    auto slot = slots.begin();
    for (const std::size_t index : nearestOf(candidates, slots.size())) {
        *slot++ = candidates[index];
    }
}

Waypoint NavDatabase::getClosestNav(int32_t frequency) const {
    const std::string channel = FmsParser::frequencyToTacanChannel(frequency);
    // A frequency without a paired channel matches no channel at all.
    const Param channelParam =
        channel.empty() ? Param::nullText(kChannelSize) : Param::text(channel, kChannelSize);
    const SearchBox box = SearchBox::around(presentLatitude, presentLongitude, kStationRangeNm);
    return closestStation(kNavaidsByFrequency,
                          withBox({Param::integer(frequency), channelParam}, box),
                          kIlsesByFrequency, withBox({Param::integer(frequency)}, box));
}

Waypoint NavDatabase::getClosestNavByIdent(const std::string& ident) const {
    const SearchBox box = SearchBox::around(presentLatitude, presentLongitude, kStationRangeNm);
    std::vector<Param> navaidParams;
    std::vector<Param> ilsParams;
    if (ident.size() <= kNavaidIdentSize) {
        navaidParams = withBox({Param::text(ident, kNavaidIdentSize)}, box);
    }
    if (ident.size() <= kIlsIdentSize) {
        ilsParams = withBox({Param::text(ident, kIlsIdentSize)}, box);
    }
    return closestStation(kNavaidsByIdent, navaidParams, kIlsesNearbyByIdent, ilsParams);
}

// Runs the navaid query, then the ILS query, each unless its parameters are empty, and answers
// the nearest station found; an empty record when there is none or a query failed.
Waypoint NavDatabase::closestStation(std::string_view navaidSql,
                                     std::span<const Param> navaidParams, std::string_view ilsSql,
                                     std::span<const Param> ilsParams) const {
    const GcNav here(presentLatitude, presentLongitude);
    std::vector<Waypoint> candidates;
    const auto readStation = [&](const RecordSet& row, WaypointKind kind) {
        Waypoint station;
        station.kind = kind;
        station.ident = row.field("IDENT").toText();
        station.id = row.field("ID").toInt32();
        readPosition(row, station.latitude, station.longitude);
        station.frequency = integerOrZero(row.field("Freq"));
        if (kind == WaypointKind::Navaid) {
            station.channel = textOrEmpty(row.field("Channel"));
        }
        station.elevation = row.field("Elevation").toInt32();
        station.distance = here.distanceTo(station.latitude, station.longitude);
        // The box's corners reach beyond the range; a station there is out of reach.
        if (station.distance <= kStationRangeNm) {
            candidates.push_back(std::move(station));
        }
    };
    const bool navaidsRead =
        navaidParams.empty() ||
        forEachSoundRow("getClosestNav", navaidSql, navaidParams,
                        [&](const RecordSet& row) { readStation(row, WaypointKind::Navaid); });
    const bool ilsesRead =
        navaidsRead &&
        (ilsParams.empty() ||
         forEachSoundRow("getClosestNav", ilsSql, ilsParams,
                         [&](const RecordSet& row) { readStation(row, WaypointKind::Ils); }));
    const std::vector<std::size_t> nearest = nearestOf(candidates, 1);
    if (!ilsesRead || nearest.empty()) {
        return Waypoint();
    }
    return candidates[nearest.front()];
}

void NavDatabase::getClosestAirport(Waypoint& result) const {
    result = Waypoint();
    double best = kNoAirportYet;
    const GcNav here(presentLatitude, presentLongitude);
    forEachSoundRow(
        "getClosestAirport", kPrimaryAirportsInBox,
        withBox({}, SearchBox::around(presentLatitude, presentLongitude, kAirportBoxNm)),
        [&](const RecordSet& row) {
            Waypoint airport;
            readPosition(row, airport.latitude, airport.longitude);
            const double distance = here.distanceTo(airport.latitude, airport.longitude);
            if (distance > kAirportLimitNm || !(distance < best)) {
                return;
            }
            airport.ident = row.field("ICAO").toText();
            airport.elevation = row.field("Elevation").toInt32();
            airport.id = row.field("ID").toInt32();
            airport.variation = variationAt(airport.latitude, airport.longitude);
            airport.kind = WaypointKind::Airport;
            result = std::move(airport);
            best = distance;
        });
}

Waypoint NavDatabase::navaidToWpt(const Waypoint& waypoint) const {
    Waypoint result;
    if (waypoint.kind != WaypointKind::Navaid) {
        return result;
    }
    int32_t waypointId = 0;
    bool found = false;
    lookup("navaidToWpt", kCollocatedWaypoint, {Param::integer(waypoint.id)},
           [&](const RecordSet& row) {
               waypointId = row.field("ID").toInt32();
               found = true;
           });
    if (found) {
        getWaypointInfo(waypointId, result);
    }
    return result;
}

} // namespace tavi
