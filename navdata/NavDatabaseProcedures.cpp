// The navigation database's terminal procedures: the catalogue of an airport's departures,
// arrivals and approaches with their runways and transitions, and the legs of each.
#include "navdata/Candidates.h"
#include "navdata/GcNav.h"
#include "navdata/NavDatabase.h"
#include "navdata/Runway.h"
#include "navdata/TerminalLeg.h"
#include "navdata/TerminalQueries.h"
#include "navdata/Waypoint.h"

#include <algorithm>
#include <array>
#include <cctype>

namespace tavi {

namespace {

using platform::db::Param;
using platform::db::RecordSet;
using platform::db::Value;

constexpr int32_t kNameSize = 8;
constexpr int32_t kTransitionSize = 5;
constexpr int32_t kFullNameSize = 28;

// The altitude text of the missed-approach-point leg.
constexpr char kMissedApproachPoint[] = "MAP";
// Runway transitions are named "RW" followed by the designator.
constexpr std::size_t kRunwayPrefixLength = 2;

namespace q = terminal_queries;

// The leg types of each part of a departure and an arrival, three to a query (a part with two
// repeats one).
using LegTypes = std::array<const char*, 3>;
constexpr LegTypes kSidRunwayTransition = {"1", "4", "4"};
constexpr LegTypes kSidCommonRoute = {"2", "5", "5"};
constexpr LegTypes kSidEnrouteTransition = {"3", "6", "6"};
constexpr LegTypes kStarEnrouteTransition = {"1", "4", "7"};
constexpr LegTypes kStarCommonRoute = {"2", "5", "8"};
constexpr LegTypes kStarRunwayTransition = {"3", "6", "9"};

Param legType(const char* type) {
    return Param::text(type, 1);
}

void addOnce(std::vector<std::string>& list, std::string entry) {
    if (!entry.empty() && std::find(list.begin(), list.end(), entry) == list.end()) {
        list.push_back(std::move(entry));
    }
}

bool isOffered(const std::vector<Runway>& offered, const Runway& runway) {
    return std::any_of(offered.begin(), offered.end(),
                       [&](const Runway& r) { return r.ident == runway.ident; });
}

// The database compares the altitude text without regard to case, and so does the module.
bool isMissedApproachPoint(const std::string& altitude) {
    return std::equal(altitude.begin(), altitude.end(), std::begin(kMissedApproachPoint),
                      std::end(kMissedApproachPoint) - 1, [](char a, char b) {
                          return std::toupper(static_cast<unsigned char>(a)) == b;
                      });
}

// The legs from the first one after the missed-approach point on fly the missed approach.
void markMissedApproach(std::vector<TerminalLeg>& legs, std::size_t firstFinalLeg) {
    bool passedMap = false;
    for (auto leg = legs.begin() + static_cast<std::ptrdiff_t>(firstFinalLeg); leg != legs.end();
         ++leg) {
        if (passedMap) {
            leg->proc = kProcMissedApproach;
        }
        passedMap = passedMap || isMissedApproachPoint(leg->altitude);
    }
}

constexpr char kLegSource[] = "NavDb";
// The code of a type mismatch, as the database layer gives for a value it cannot convert.
constexpr uint32_t kLegFault = 20;

bool fliesToFix(TerminalLegType type) {
    using enum TerminalLegType;
    return type == AF || type == CF || type == DF || type == IF || type == RF || type == TF;
}

bool endsOnNavaid(TerminalLegType type) {
    using enum TerminalLegType;
    return type == CD || type == FD || type == VD || type == CR || type == VR;
}

} // namespace

void NavDatabase::getSids(const std::string& icao, const Runway& runway,
                          std::vector<std::string>& names) const {
    getProcedures(kProcSid, icao, runway, names);
}

void NavDatabase::getStars(const std::string& icao, const Runway& runway,
                           std::vector<std::string>& names) const {
    getProcedures(kProcStar, icao, runway, names);
}

void NavDatabase::getProcedures(int32_t proc, const std::string& icao, const Runway& runway,
                                std::vector<std::string>& names) const {
    names.clear();
    const RowReader appendName = [&](const RecordSet& row) {
        names.push_back(row.field("Name").toText());
    };
    if (runway.id != 0) {
        forEachRow("getSids", proc == kProcSid ? q::kSidsForRunway : q::kStarsForRunway,
                   {Param::text(runway.aptIdent, kIcaoSize), Param::integer(runway.id),
                    Param::text(runway.ident, kTransitionSize)},
                   appendName);
    } else {
        forEachRow("getSids", q::kProceduresOfAirport,
                   {Param::text(icao, kIcaoSize), Param::integer(proc)}, appendName);
    }
}

void NavDatabase::getTransitions(std::string_view label, std::string_view sql,
                                 std::initializer_list<Param> params,
                                 std::vector<std::string>& names) const {
    names.clear();
    forEachRow(label, sql, params,
               [&](const RecordSet& row) { names.push_back(row.field("Transition").toText()); });
}

void NavDatabase::getSidEnrouteTransitions(const std::string& icao, const std::string& sid,
                                           std::vector<std::string>& names) const {
    getTransitions("getSidEnrouteTransitions", q::kSidEnrouteTransitions,
                   {Param::text(icao, kIcaoSize), Param::text(sid, kNameSize)}, names);
}

void NavDatabase::getStarEnrouteTransitions(const std::string& icao, const std::string& star,
                                            std::vector<std::string>& names) const {
    getTransitions("getStarEnrouteTransitions", q::kStarEnrouteTransitions,
                   {Param::text(icao, kIcaoSize), Param::text(star, kNameSize)}, names);
}

void NavDatabase::getIapTransitions(const std::string& icao, const std::string& approach,
                                    const std::string& fullName,
                                    std::vector<std::string>& names) const {
    getTransitions("getIapTransitions", q::kIapTransitions,
                   {Param::text(icao, kIcaoSize), Param::text(approach, kNameSize),
                    Param::text(fullName, kFullNameSize)},
                   names);
}

// The runways of the STAR's rows, then those of its runway transitions, each once.
void NavDatabase::getStarRunways(const std::string& icao, const std::string& star,
                                 std::vector<std::string>& designators) const {
    designators.clear();
    const bool rowsRead = forEachRow("getStarRunways", q::kStarRunwayRows,
                                     {Param::text(icao, kIcaoSize), Param::text(star, kNameSize)},
                                     [&](const RecordSet& row) {
                                         const Value runway = row.field("Rwy");
                                         if (!runway.isNull()) {
                                             addOnce(designators, runway.toText());
                                         }
                                     });
    if (!rowsRead) {
        return;
    }
    forEachRow("getStarRunways", q::kStarRunwayTransitions,
               {Param::text(icao, kIcaoSize), Param::text(star, kNameSize)},
               [&](const RecordSet& row) {
                   const Value transition = row.field("Transition");
                   const std::string name = transition.isNull() ? "" : transition.toText();
                   if (name.size() > kRunwayPrefixLength) {
                       addOnce(designators, name.substr(kRunwayPrefixLength));
                   }
               });
}

void NavDatabase::getAirportIaps(const std::string& icao, const std::vector<Runway>& offered,
                                 std::vector<std::string>& names,
                                 std::vector<std::string>& fullNames,
                                 std::vector<Runway>& runways) const {
    names.clear();
    fullNames.clear();
    runways.clear();
    std::vector<Runway> airportRunways;
    getAirportRunways(icao, airportRunways);
    forEachRow("getAirportIaps", q::kApproaches, {Param::text(icao, kIcaoSize)},
               [&](const RecordSet& row) {
                   const std::string name = row.field("Name").toText();
                   const std::string fullName = row.field("FullName").toText();
                   Runway runway;
                   if (runwayOfApproach(icao, name, fullName, row.field("RwyID"), airportRunways,
                                        offered, runway)) {
                       runways.push_back(std::move(runway));
                       names.push_back(name);
                       fullNames.push_back(fullName);
                   }
               });
}

// The approach's own runway; for an approach tied to none, the first runway whose designator
// its full name holds, else the runway nearest its missed-approach point. False when that
// runway is not offered. The nearest-runway rule leaves the airport's runways in distance
// order for the approaches after it.
bool NavDatabase::runwayOfApproach(const std::string& icao, const std::string& approach,
                                   const std::string& fullName, const Value& runwayId,
                                   std::vector<Runway>& airportRunways,
                                   const std::vector<Runway>& offered, Runway& runway) const {
    if (!runwayId.isNull()) {
        getRunwayInfo(runwayId.toInt32(), runway);
        return isOffered(offered, runway);
    }
    for (const Runway& candidate : airportRunways) {
        const std::string designator = candidate.runwayDesignator();
        if (!designator.empty() && fullName.find(designator) != std::string::npos &&
            isOffered(offered, candidate)) {
            runway = candidate;
            return true;
        }
    }
    TerminalLeg reference;
    if (airportRunways.empty() || !approachReferenceLeg(icao, approach, fullName, reference)) {
        return false;
    }
    const GcNav fix(reference.fixLatitude, reference.fixLongitude);
    for (Runway& candidate : airportRunways) {
        candidate.distance = fix.distanceTo(candidate.latitude, candidate.longitude);
    }
    sortByDistance(airportRunways);
    if (!isOffered(offered, airportRunways.front())) {
        return false;
    }
    runway = airportRunways.front();
    return true;
}

// The leg that places an approach: its missed-approach point, or, for an approach without one,
// its last final-approach leg that has a fix. False when it has neither.
bool NavDatabase::approachReferenceLeg(const std::string& icao, const std::string& approach,
                                       const std::string& fullName, TerminalLeg& leg) const {
    if (getIapMapPoint(icao, approach, fullName, leg)) {
        return true;
    }
    int32_t row = 0;
    std::vector<TerminalLeg> finalLegs;
    if (!approachRow("getIapMapPoint", icao, approach, fullName, 0, row) || row == 0) {
        return false;
    }
    appendLegs("getIapMapPoint", q::kFinalApproachLegs, {Param::integer(row)}, kProcApproach,
               finalLegs);
    const auto withFix = std::find_if(finalLegs.rbegin(), finalLegs.rend(),
                                      [](const TerminalLeg& l) { return l.fixId != 0; });
    if (withFix == finalLegs.rend()) {
        return false;
    }
    leg = *withFix;
    return true;
}

// A leg whose path or end cannot be read is a damaged row, never a track to a fix at a guessed
// place: an unknown path code, a fix leg without a fix, a DME or radial leg without its navaid.
void NavDatabase::readTerminalLeg(TerminalLeg& leg, const RecordSet& row) {
    const auto ifSet = [&](const char* column, auto apply) {
        const Value value = row.field(column);
        if (!value.isNull()) {
            apply(value);
        }
    };
    const auto positionGiven = [&](const char* latitudeColumn, const char* longitudeColumn,
                                   double& latitude, double& longitude) {
        if (row.field(latitudeColumn).isNull() && row.field(longitudeColumn).isNull()) {
            return false;
        }
        readPosition(row, latitudeColumn, longitudeColumn, latitude, longitude);
        return true;
    };
    const std::string code = row.field("TrackCode").toText();
    if (!TerminalLeg::isTrackCode(code)) {
        throw platform::db::DbError(kLegSource, "unknown path code '" + code + "'", kLegFault);
    }
    leg.legType = TerminalLeg::typeFromTrackCode(code);
    ifSet("WptID", [&](const Value& v) { leg.fixId = v.toInt32(); });
    const bool fixGiven =
        positionGiven("WptLat", "WptLon", leg.fixLatitude, leg.fixLongitude) || leg.fixId != 0;
    if (fliesToFix(leg.legType) && !fixGiven) {
        throw platform::db::DbError(kLegSource, "a " + code + " leg without its fix", kLegFault);
    }
    const bool navaidGiven =
        positionGiven("NavLat", "NavLon", leg.navaidLatitude, leg.navaidLongitude);
    if (endsOnNavaid(leg.legType) && !navaidGiven) {
        throw platform::db::DbError(kLegSource, "a " + code + " leg without its navaid", kLegFault);
    }
    ifSet("TurnDir", [&](const Value& v) {
        const std::string direction = v.toText();
        if (!direction.empty()) {
            leg.turnDirection = direction == "L" ? kTurnLeft : kTurnRight;
        }
    });
    ifSet("NavID", [&](const Value& v) { leg.navaidId = v.toInt32(); });
    ifSet("NavBear", [&](const Value& v) { leg.navaidBearing = v.toFloat(); });
    ifSet("NavDist", [&](const Value& v) { leg.navaidDistance = v.toFloat(); });
    ifSet("Course", [&](const Value& v) { leg.course = v.toFloat(); });
    ifSet("Distance", [&](const Value& v) { leg.distance = v.toFloat(); });
    ifSet("Alt", [&](const Value& v) { leg.altitude = v.toText(); });
    ifSet("Vnav", [&](const Value& v) { leg.verticalAngle = v.toFloat(); });
    const Value flyOver = row.field("IsFlyOver");
    leg.flyOver = !flyOver.isNull() && flyOver.toBool();
}

bool NavDatabase::appendLegs(std::string_view label, std::string_view sql,
                             std::initializer_list<Param> params, int32_t proc,
                             std::vector<TerminalLeg>& legs) const {
    return forEachRow(label, sql, params, [&](const RecordSet& row) {
        TerminalLeg leg;
        readTerminalLeg(leg, row);
        leg.proc = proc;
        legs.push_back(std::move(leg));
    });
}

// The legs of one named transition of a procedure row.
bool NavDatabase::appendTransition(std::string_view label, int32_t row, const LegTypes& types,
                                   const std::string& transition, int32_t proc,
                                   std::vector<TerminalLeg>& legs) const {
    return appendLegs(label, q::kTransitionLegs,
                      {Param::integer(row), Param::text(transition, kTransitionSize),
                       legType(types[0]), legType(types[1]), legType(types[2])},
                      proc, legs);
}

bool NavDatabase::appendRoute(std::string_view label, int32_t row, const LegTypes& types,
                              int32_t proc, std::vector<TerminalLeg>& legs) const {
    return appendLegs(
        label, q::kRouteLegs,
        {Param::integer(row), legType(types[0]), legType(types[1]), legType(types[2])}, proc, legs);
}

bool NavDatabase::procedureRow(std::string_view label, int32_t proc, const std::string& icao,
                               const std::string& name, int32_t runwayId, int32_t& row) const {
    row = 0;
    return forEachRow(label, q::kProcedureRow,
                      {Param::text(icao, kIcaoSize), Param::integer(proc),
                       Param::text(name, kNameSize), Param::integer(runwayId)},
                      [&](const RecordSet& found) { row = found.field("ID").toInt32(); });
}

bool NavDatabase::approachRow(std::string_view label, const std::string& icao,
                              const std::string& approach, const std::string& fullName,
                              int32_t runwayId, int32_t& row) const {
    row = 0;
    return forEachRow(label, q::kApproachRow,
                      {Param::text(icao, kIcaoSize), Param::text(approach, kNameSize),
                       Param::text(fullName, kFullNameSize), Param::integer(runwayId)},
                      [&](const RecordSet& found) { row = found.field("ID").toInt32(); });
}

bool NavDatabase::getSidLegs(const std::string& icao, const Runway& runway, const std::string& sid,
                             const std::string& transition, std::vector<TerminalLeg>& legs) const {
    legs.clear();
    return wholeProcedure("getSidLegs", readSidLegs(icao, runway, sid, transition, legs), legs);
}

bool NavDatabase::getStarIapLegs(const std::string& icao, const Runway& runway,
                                 const std::string& star, const std::string& starTransition,
                                 const std::string& approach, const std::string& approachFullName,
                                 const std::string& approachTransition,
                                 std::vector<TerminalLeg>& legs) const {
    legs.clear();
    const bool read =
        (star.empty() || appendStarLegs(icao, runway, star, starTransition, legs)) &&
        appendApproachLegs(icao, runway, approach, approachFullName, approachTransition, legs);
    return wholeProcedure("getStarIapLegs", read, legs);
}

// A procedure cut short at a damaged leg, or flown to a fix the database does not hold, would
// take the aircraft where the procedure never goes: it is refused whole.
bool NavDatabase::wholeProcedure(std::string_view label, bool read,
                                 std::vector<TerminalLeg>& legs) const {
    for (const TerminalLeg& leg : legs) {
        if (!read || leg.fixId == 0) {
            continue;
        }
        Waypoint fix;
        getWaypointInfo(leg.fixId, fix);
        if (fix.id != leg.fixId || fix.kind != WaypointKind::DatabaseWaypoint) {
            log(label);
            log("the fix " + std::to_string(leg.fixId) + " of a leg is not in the database");
            read = false;
        }
    }
    if (!read) {
        legs.clear();
    }
    return read;
}

// A departure stored once per runway is read from the row of the runway asked, so that the
// legs of the other runways' rows never join in. False when a query failed.
bool NavDatabase::readSidLegs(const std::string& icao, const Runway& runway, const std::string& sid,
                              const std::string& transition, std::vector<TerminalLeg>& legs) const {
    int32_t row = 0;
    if (sid.empty()) {
        return true;
    }
    if (!procedureRow("getSidLegs", kProcSid, icao, sid, runway.id, row)) {
        return false;
    }
    return row == 0 ||
           ((runway.ident.empty() || appendTransition("getSidLegs", row, kSidRunwayTransition,
                                                      runway.ident, kProcSid, legs)) &&
            appendRoute("getSidLegs", row, kSidCommonRoute, kProcSid, legs) &&
            (transition.empty() || appendTransition("getSidLegs", row, kSidEnrouteTransition,
                                                    transition, kProcSid, legs)));
}

// The approach's transition, final approach and missed approach; false when a query failed.
bool NavDatabase::appendApproachLegs(const std::string& icao, const Runway& runway,
                                     const std::string& approach,
                                     const std::string& approachFullName,
                                     const std::string& approachTransition,
                                     std::vector<TerminalLeg>& legs) const {
    int32_t row = 0;
    if (approach.empty()) {
        return true;
    }
    if (!approachRow("getStarIapLegs", icao, approach, approachFullName, runway.id, row)) {
        return false;
    }
    if (row == 0) {
        return true;
    }
    if (!approachTransition.empty() &&
        !appendLegs("getStarIapLegs", q::kApproachTransitionLegs,
                    {Param::integer(row), Param::text(approachTransition, kTransitionSize)},
                    kProcApproachTransition, legs)) {
        return false;
    }
    const std::size_t firstFinalLeg = legs.size();
    if (!appendLegs("getStarIapLegs", q::kFinalApproachLegs, {Param::integer(row)}, kProcApproach,
                    legs)) {
        return false;
    }
    markMissedApproach(legs, firstFinalLeg);
    return true;
}

// The arrival's en-route transition, common route and runway transition; false when a query
// failed.
bool NavDatabase::appendStarLegs(const std::string& icao, const Runway& runway,
                                 const std::string& star, const std::string& starTransition,
                                 std::vector<TerminalLeg>& legs) const {
    int32_t row = 0;
    if (!procedureRow("getStarIapLegs", kProcStar, icao, star, runway.id, row)) {
        return false;
    }
    return row == 0 ||
           ((starTransition.empty() ||
             appendTransition("getStarIapLegs", row, kStarEnrouteTransition, starTransition,
                              kProcStar, legs)) &&
            appendRoute("getStarIapLegs", row, kStarCommonRoute, kProcStar, legs) &&
            (runway.id == 0 || appendTransition("getStarIapLegs", row, kStarRunwayTransition,
                                                runway.ident, kProcStar, legs)));
}

bool NavDatabase::getIapMapPoint(const std::string& icao, const std::string& approach,
                                 const std::string& fullName, TerminalLeg& leg) const {
    int32_t row = 0;
    if (!approachRow("getIapMapPoint", icao, approach, fullName, 0, row) || row == 0) {
        return false;
    }
    bool found = false;
    lookup("getIapMapPoint", q::kMissedApproachPointLeg, {Param::integer(row)},
           [&](const RecordSet& mapLeg) {
               readTerminalLeg(leg, mapLeg);
               leg.proc = kProcApproach;
               found = true;
           });
    return found;
}

} // namespace tavi
