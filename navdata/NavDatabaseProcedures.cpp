// The navigation database's terminal procedures: the catalogue of an airport's departures,
// arrivals and approaches with their runways and transitions, and the legs of each.
#include "navdata/Candidates.h"
#include "navdata/GcNav.h"
#include "navdata/NavDatabase.h"
#include "navdata/Runway.h"
#include "navdata/TerminalLeg.h"

#include <algorithm>

namespace tavi {

namespace {

using platform::db::Param;
using platform::db::RecordSet;
using platform::db::Value;

constexpr int32_t kIcaoSize = 4;
constexpr int32_t kNameSize = 8;
constexpr int32_t kTransitionSize = 5;
constexpr int32_t kFullNameSize = 28;

// The altitude text of the missed-approach-point leg.
constexpr char kMissedApproachPoint[] = "MAP";
// Runway transitions are named "RW" followed by the designator.
constexpr std::size_t kRunwayPrefixLength = 2;

// Procedures of the airport, and those of them that serve a runway: tied to it, or tied to
// none and either holding a runway transition named after it or no runway transition at all.
#define TAVI_PROCEDURES                                                                            \
    "SELECT Terminals.Name FROM Terminals INNER JOIN Airports "                                    \
    "ON Terminals.ICAO = Airports.ICAO WHERE Airports.ICAO = ? "
#define TAVI_FOR_RUNWAY(types)                                                                     \
    "AND (RwyID = ? OR RwyID IS NULL AND EXISTS (SELECT Transition FROM TerminalLegs "             \
    "WHERE TerminalID = Terminals.ID And Type IN " types " AND Transition = ?) "                   \
    "OR RwyID IS NULL AND NOT EXISTS (SELECT Transition FROM TerminalLegs "                        \
    "WHERE TerminalID = Terminals.ID And Type IN " types ")) "
#define TAVI_BY_NAME "ORDER BY Terminals.Name, Terminals.Rwy"

constexpr char kSidsOfAirport[] = TAVI_PROCEDURES "AND Proc = 2 " TAVI_BY_NAME;
constexpr char kSidsForRunway[] =
    TAVI_PROCEDURES "AND Proc = 2 " TAVI_FOR_RUNWAY("('1', '4')") TAVI_BY_NAME;
constexpr char kStarsOfAirport[] = TAVI_PROCEDURES "AND Proc = 1 " TAVI_BY_NAME;
constexpr char kStarsForRunway[] =
    TAVI_PROCEDURES "AND Proc = 1 " TAVI_FOR_RUNWAY("('3', '6', '9')") TAVI_BY_NAME;

#define TAVI_TRANSITIONS                                                                           \
    "SELECT DISTINCT TerminalLegs.Transition FROM (TerminalLegs INNER JOIN Terminals "             \
    "ON TerminalLegs.TerminalID = Terminals.ID) INNER JOIN Airports "                              \
    "ON Airports.ID = Terminals.AirportID WHERE Airports.ICAO = ? "

constexpr char kSidEnrouteTransitions[] =
    TAVI_TRANSITIONS "AND Terminals.Proc = 2 AND Terminals.Name = ? "
                     "AND TerminalLegs.Type IN ('3', '6') ORDER BY 1 ASC";
constexpr char kStarEnrouteTransitions[] =
    TAVI_TRANSITIONS "AND Terminals.Proc = 1 AND Terminals.Name = ? "
                     "AND TerminalLegs.Type IN ('1', '4', '7') ORDER BY 1 ASC";
constexpr char kIapTransitions[] =
    TAVI_TRANSITIONS "AND Terminals.Proc = 3 AND Terminals.Name = ? AND Terminals.FullName = ? "
                     "AND TerminalLegs.Transition IS NOT NULL ORDER BY 1 ASC";
constexpr char kStarRunwayTransitions[] =
    TAVI_TRANSITIONS "AND Terminals.Proc = 1 AND Terminals.Name = ? "
                     "AND TerminalLegs.Type IN ('3', '6', '9') ORDER BY 1";
constexpr char kStarRunwayRows[] =
    "SELECT Terminals.Rwy FROM Terminals WHERE Terminals.ICAO = ? AND Proc = 1 AND NAME = ?";
constexpr char kApproaches[] =
    "SELECT Terminals.Name, Terminals.FullName, RwyID FROM Terminals INNER JOIN Airports "
    "ON Terminals.ICAO = Airports.ICAO WHERE Airports.ICAO = ? AND Proc = 3 " TAVI_BY_NAME;

#define TAVI_LEGS                                                                                  \
    "SELECT DISTINCT Terminals.Proc, TerminalLegs.*, TerminalLegsEx.IsFlyOver FROM "               \
    "((TerminalLegs INNER JOIN Terminals ON TerminalLegs.TerminalID = Terminals.ID) "              \
    "INNER JOIN Airports ON Airports.ID = Terminals.AirportID) "                                   \
    "LEFT JOIN TerminalLegsEx ON TerminalLegs.ID = TerminalLegsEx.ID "                             \
    "WHERE Airports.ICAO = ? "
#define TAVI_IN_LEG_ORDER " ORDER BY TerminalLegs.ID"

constexpr char kSidRunwayTransition[] =
    TAVI_LEGS "AND Terminals.Proc = 2 AND Terminals.Name = ? AND TerminalLegs.Transition = ? "
              "AND TerminalLegs.Type IN ('1', '4')" TAVI_IN_LEG_ORDER;
constexpr char kSidCommonRoute[] =
    TAVI_LEGS "AND Terminals.Proc = 2 AND Terminals.Name = ? "
              "AND TerminalLegs.Type IN ('2', '5')" TAVI_IN_LEG_ORDER;
constexpr char kSidEnrouteTransition[] =
    TAVI_LEGS "AND Terminals.Proc = 2 AND Terminals.Name = ? AND TerminalLegs.Transition = ? "
              "AND TerminalLegs.Type IN ('3', '6')" TAVI_IN_LEG_ORDER;
constexpr char kStarEnrouteTransition[] =
    TAVI_LEGS "AND Terminals.Proc = 1 AND Terminals.Name = ? AND TerminalLegs.Transition = ? "
              "AND TerminalLegs.Type IN ('1', '4', '7')" TAVI_IN_LEG_ORDER;
constexpr char kStarCommonRoute[] =
    TAVI_LEGS "AND Terminals.Proc = 1 AND Terminals.Name = ? "
              "AND TerminalLegs.Type IN ('2', '5', '8')" TAVI_IN_LEG_ORDER;
constexpr char kStarRunwayTransition[] =
    TAVI_LEGS "AND Terminals.Proc = 1 AND Terminals.Name = ? AND TerminalLegs.Transition = ? "
              "AND TerminalLegs.Type IN ('3', '6', '9')" TAVI_IN_LEG_ORDER;
constexpr char kApproachTransition[] =
    TAVI_LEGS "AND Terminals.Proc = 3 AND Terminals.Name = ? AND Terminals.FullName = ? "
              "AND TerminalLegs.Transition = ?" TAVI_IN_LEG_ORDER;
constexpr char kFinalAndMissedApproach[] =
    TAVI_LEGS "AND Terminals.Proc = 3 AND Terminals.Name = ? AND Terminals.FullName = ? "
              "AND TerminalLegs.Transition IS NULL" TAVI_IN_LEG_ORDER;
constexpr char kMissedApproachPointLeg[] =
    TAVI_LEGS "AND Terminals.Proc = 3 AND Terminals.Name = ? AND Terminals.FullName = ? "
              "AND TerminalLegs.Transition IS NULL AND TerminalLegs.Alt = 'MAP'" TAVI_IN_LEG_ORDER;

#undef TAVI_PROCEDURES
#undef TAVI_FOR_RUNWAY
#undef TAVI_BY_NAME
#undef TAVI_TRANSITIONS
#undef TAVI_LEGS
#undef TAVI_IN_LEG_ORDER

void addOnce(std::vector<std::string>& list, std::string entry) {
    if (!entry.empty() && std::find(list.begin(), list.end(), entry) == list.end()) {
        list.push_back(std::move(entry));
    }
}

bool isOffered(const std::vector<Runway>& offered, const Runway& runway) {
    return std::any_of(offered.begin(), offered.end(),
                       [&](const Runway& r) { return r.ident == runway.ident; });
}

// The legs from the first one after the missed-approach point on fly the missed approach.
void markMissedApproach(std::vector<TerminalLeg>& legs, std::size_t firstFinalLeg) {
    bool passedMap = false;
    for (auto leg = legs.begin() + static_cast<std::ptrdiff_t>(firstFinalLeg); leg != legs.end();
         ++leg) {
        if (passedMap) {
            leg->proc = kProcMissedApproach;
        }
        passedMap = passedMap || leg->altitude == kMissedApproachPoint;
    }
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
    const bool sid = proc == kProcSid;
    const RowReader appendName = [&](const RecordSet& row) {
        names.push_back(row.field("Name").toText());
    };
    if (runway.id != 0) {
        forEachRow("getSids", sid ? kSidsForRunway : kStarsForRunway,
                   {Param::text(runway.aptIdent, kIcaoSize), Param::integer(runway.id),
                    Param::text(runway.ident, kTransitionSize)},
                   appendName);
    } else {
        forEachRow("getSids", sid ? kSidsOfAirport : kStarsOfAirport,
                   {Param::text(icao, kIcaoSize)}, appendName);
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
    getTransitions("getSidEnrouteTransitions", kSidEnrouteTransitions,
                   {Param::text(icao, kIcaoSize), Param::text(sid, kNameSize)}, names);
}

void NavDatabase::getStarEnrouteTransitions(const std::string& icao, const std::string& star,
                                            std::vector<std::string>& names) const {
    getTransitions("getStarEnrouteTransitions", kStarEnrouteTransitions,
                   {Param::text(icao, kIcaoSize), Param::text(star, kNameSize)}, names);
}

void NavDatabase::getIapTransitions(const std::string& icao, const std::string& approach,
                                    const std::string& fullName,
                                    std::vector<std::string>& names) const {
    getTransitions("getIapTransitions", kIapTransitions,
                   {Param::text(icao, kIcaoSize), Param::text(approach, kNameSize),
                    Param::text(fullName, kFullNameSize)},
                   names);
}

// The runways of the STAR's rows, then those of its runway transitions, each once.
void NavDatabase::getStarRunways(const std::string& icao, const std::string& star,
                                 std::vector<std::string>& designators) const {
    designators.clear();
    const bool rowsRead = forEachRow("getStarRunways", kStarRunwayRows,
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
    forEachRow("getStarRunways", kStarRunwayTransitions,
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
    forEachRow("getAirportIaps", kApproaches, {Param::text(icao, kIcaoSize)},
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
    std::vector<TerminalLeg> finalLegs;
    appendLegs("getIapMapPoint", kFinalAndMissedApproach,
               {Param::text(icao, kIcaoSize), Param::text(approach, kNameSize),
                Param::text(fullName, kFullNameSize)},
               kProcApproach, finalLegs);
    const auto withFix = std::find_if(finalLegs.rbegin(), finalLegs.rend(),
                                      [](const TerminalLeg& l) { return l.fixId != 0; });
    if (withFix == finalLegs.rend()) {
        return false;
    }
    leg = *withFix;
    return true;
}

void NavDatabase::readTerminalLeg(TerminalLeg& leg, const RecordSet& row) {
    const auto ifSet = [&](const char* column, auto apply) {
        const Value value = row.field(column);
        if (!value.isNull()) {
            apply(value);
        }
    };
    leg.proc = row.field("Proc").toInt32();
    leg.legType = TerminalLeg::typeFromTrackCode(row.field("TrackCode").toText());
    ifSet("WptID", [&](const Value& v) { leg.fixId = v.toInt32(); });
    ifSet("WptLat", [&](const Value& v) { leg.fixLatitude = v.toDouble(); });
    ifSet("WptLon", [&](const Value& v) { leg.fixLongitude = v.toDouble(); });
    ifSet("TurnDir", [&](const Value& v) {
        const std::string direction = v.toText();
        if (!direction.empty()) {
            leg.turnDirection = direction == "L" ? kTurnLeft : kTurnRight;
        }
    });
    ifSet("NavID", [&](const Value& v) { leg.navaidId = v.toInt32(); });
    ifSet("NavLat", [&](const Value& v) { leg.navaidLatitude = v.toDouble(); });
    ifSet("NavLon", [&](const Value& v) { leg.navaidLongitude = v.toDouble(); });
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

void NavDatabase::getSidLegs(const std::string& icao, const Runway& runway, const std::string& sid,
                             const std::string& transition, std::vector<TerminalLeg>& legs) const {
    legs.clear();
    if (sid.empty()) {
        return;
    }
    const Param airport = Param::text(icao, kIcaoSize);
    const Param name = Param::text(sid, kNameSize);
    if (!runway.ident.empty() &&
        !appendLegs("getSidLegs", kSidRunwayTransition,
                    {airport, name, Param::text(runway.ident, kTransitionSize)}, kProcSid, legs)) {
        return;
    }
    if (!appendLegs("getSidLegs", kSidCommonRoute, {airport, name}, kProcSid, legs)) {
        return;
    }
    if (!transition.empty()) {
        appendLegs("getSidLegs", kSidEnrouteTransition,
                   {airport, name, Param::text(transition, kTransitionSize)}, kProcSid, legs);
    }
}

void NavDatabase::getStarIapLegs(const std::string& icao, const Runway& runway,
                                 const std::string& star, const std::string& starTransition,
                                 const std::string& approach, const std::string& approachFullName,
                                 const std::string& approachTransition,
                                 std::vector<TerminalLeg>& legs) const {
    legs.clear();
    const Param airport = Param::text(icao, kIcaoSize);
    if (!star.empty()) {
        const Param name = Param::text(star, kNameSize);
        const bool starRead =
            (starTransition.empty() ||
             appendLegs("getStarIapLegs", kStarEnrouteTransition,
                        {airport, name, Param::text(starTransition, kTransitionSize)}, kProcStar,
                        legs)) &&
            appendLegs("getStarIapLegs", kStarCommonRoute, {airport, name}, kProcStar, legs) &&
            (runway.id == 0 ||
             appendLegs("getStarIapLegs", kStarRunwayTransition,
                        {airport, name, Param::text(runway.ident, kTransitionSize)}, kProcStar,
                        legs));
        if (!starRead) {
            return;
        }
    }
    if (approach.empty()) {
        return;
    }
    const Param name = Param::text(approach, kNameSize);
    const Param fullName = Param::text(approachFullName, kFullNameSize);
    if (!approachTransition.empty() &&
        !appendLegs("getStarIapLegs", kApproachTransition,
                    {airport, name, fullName, Param::text(approachTransition, kTransitionSize)},
                    kProcApproachTransition, legs)) {
        return;
    }
    const std::size_t firstFinalLeg = legs.size();
    appendLegs("getStarIapLegs", kFinalAndMissedApproach, {airport, name, fullName}, kProcApproach,
               legs);
    markMissedApproach(legs, firstFinalLeg);
}

bool NavDatabase::getIapMapPoint(const std::string& icao, const std::string& approach,
                                 const std::string& fullName, TerminalLeg& leg) const {
    bool found = false;
    lookup("getIapMapPoint", kMissedApproachPointLeg,
           {Param::text(icao, kIcaoSize), Param::text(approach, kNameSize),
            Param::text(fullName, kFullNameSize)},
           [&](const RecordSet& row) {
               readTerminalLeg(leg, row);
               leg.proc = kProcApproach;
               found = true;
           });
    return found;
}

} // namespace tavi
