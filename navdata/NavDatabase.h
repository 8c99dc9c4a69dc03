#pragma once

#include "navdata/Waypoint.h"
#include "platform/db/Database.h"

#include <array>
#include <cstdint>
#include <functional>
#include <initializer_list>
#include <set>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace tavi {

class Airport;
class Ils;
class MagDev;
class Navaid;
class PilotPointStore;
class Runway;
class TerminalLeg;
struct SearchBox;

// The flight management system's access to its navigation database, the file
// Orvane/Nd/nd.sqlite below the simulator folder. Every query catches its own database error,
// logs its label and the error's description, and leaves its result empty (or as far as it
// was filled); nothing here stops the module.
class NavDatabase {
public:
    using LogSink = std::function<void(std::string_view line)>;

    // The loading steps of the connection sequence that belong to the flight management
    // system: the pilot waypoints and the performance tables before the database is opened,
    // the stored plans after it.
    class Loaders {
    public:
        virtual ~Loaders() = default;
        virtual void loadPilotPoints(const std::string& customFolder) = 0;
        virtual void loadPerformance(const std::string& perfFilePath) = 0;
        virtual void loadStoredPlans(const std::string& customFolder) = 0;
    };

    // What the identifier searches and the stored-waypoint resolution read of the active
    // flight plan.
    class ActivePlan {
    public:
        virtual ~ActivePlan() = default;
        // The fix of the first leg from the active leg on that has a named fix with exactly
        // this ident; nullptr when there is none.
        virtual const Waypoint* namedFixFromActiveLeg(const std::string& ident) const = 0;
        // The airport ident of the plan's destination; empty when the plan has none.
        virtual std::string destinationAirport() const = 0;
    };

    // The variation grid sets the records' magnetic variation; every log line goes to the sink.
    NavDatabase(const MagDev& magDev, LogSink log);

    // The FMS present position, from which the searches measure their distances.
    void setPresentPosition(double latitude, double longitude);
    // The flight management system's active plan and pilot waypoints; the searches leave out
    // what is not set.
    void setActivePlan(const ActivePlan* plan) { activePlan = plan; }
    void setPilotPoints(const PilotPointStore* store) { pilotPoints = store; }

    // Builds the paths below the simulator folder, runs the loaders and opens the database,
    // logging each step; a failure to open or to read the database is logged and leaves the
    // queries failing on their own.
    void connect(Loaders& loaders);
    // A connection has been made, whether the database opened or not.
    bool hasConnection() const { return connectionMade; }
    // The database is open.
    bool isConnected() const { return connection.isOpen(); }
    // The database opened and answered its test query.
    bool isReady() const { return testPassed; }
    // Opens the database again after a failed connection (another program held it locked, say),
    // with the connection's log lines, and on success loads the stored plans again, which could
    // not be checked against the database before. True when the database is now ready.
    bool retryConnection(Loaders& loaders);
    // Orvane/CustomDB/ below the simulator folder, set by connect.
    const std::string& customFolder() const { return customFolderPath; }

    // Each lookup fills the record from the row with that key and leaves it as it was when
    // there is none.
    void getRunwayInfo(int32_t runwayId, Runway& runway) const;
    // By airport ICAO code and runway designator without "RW" ("09L").
    void getRunwayInfoByIdent(const std::string& icao, const std::string& designator,
                              Runway& runway) const;
    void getWaypointInfo(int32_t waypointId, Waypoint& waypoint) const;
    void getAirportInfo(int32_t airportId, Airport& airport) const;
    void getIlsInfo(int32_t ilsId, Ils& ils) const;
    // The ILS serving the runway with that ID.
    void getIlsInfoForRunway(int32_t runwayId, Ils& ils) const;
    void getNavaidInfo(int32_t navaidId, Navaid& navaid) const;
    // The value of a key of the database's config table; empty when missing.
    std::string getConfigParam(const std::string& key) const;

    // Appends every VHF station (VOR, VORTAC, VORDME, DME) in the order the database gives.
    void extractVhfNavaids(std::vector<Navaid>& list) const;
    // The nearest primary airports and the nearest stations of any type inside the box that
    // holds the range (nm) around the centre, nearest first; unused slots are default records.
    void getClosest4Airports(double latitude, double longitude, double rangeNm,
                             std::array<Airport, 4>& slots) const;
    void getClosest8Navaids(double latitude, double longitude, double rangeNm,
                            std::array<Navaid, 8>& slots) const;

    // The searches by table: each appends one candidate per row named by the ident, with the
    // ident as searched (an NDB entry ends in "NB": ABCNB finds the NDB ABC).
    void searchAirports(const std::string& ident, std::vector<Waypoint>& list) const;
    void searchIlses(const std::string& ident, std::vector<Waypoint>& list) const;
    void searchVors(const std::string& ident, std::vector<Waypoint>& list) const;
    void searchNdbs(const std::string& ident, std::vector<Waypoint>& list) const;
    void searchWpts(const std::string& ident, std::vector<Waypoint>& list) const;
    // Every point the ident names, nearest the present position first, without duplicates.
    // With includePlanAndPilot, a fix of the active plan from the active leg on is the only
    // answer when there is one, and a pilot waypoint of that ident joins the candidates.
    void findWaypoints(const std::string& ident, std::vector<Waypoint>& list,
                       bool includePlanAndPilot) const;
    // Drops an entry equal in ident and position to the one kept before it.
    static void removeDuplicates(std::vector<Waypoint>& list);
    // The airport's runways in designator order.
    void getAirportRunways(const std::string& icao, std::vector<Runway>& runways) const;

    // The nearest VHF station or ILS within 200 nm of the present position on the frequency
    // (or, for a DME or TACAN, its paired channel); an empty record when there is none.
    Waypoint getClosestNav(int32_t frequency) const;
    // The same by identifier: navaids up to 4 characters, ILS up to 5.
    Waypoint getClosestNavByIdent(const std::string& ident) const;
    // The nearest primary airport within 3 nm of the present position (kind Airport), or an
    // empty record.
    void getClosestAirport(Waypoint& result) const;
    // The database waypoint collocated with a navaid; an empty record for anything else.
    Waypoint navaidToWpt(const Waypoint& waypoint) const;

    // The waypoints passed along the airway from the entry to the exit fix, the exit last, on
    // the walk with the fewest legs. Empty when there is no route.
    void getAirwayPoints(const Waypoint& entry, const std::string& airway, const std::string& exit,
                         std::vector<Waypoint>& result) const;

    // Procedure names of an airport; a runway with database ID 0 stands for any runway.
    void getSids(const std::string& icao, const Runway& runway,
                 std::vector<std::string>& names) const;
    void getStars(const std::string& icao, const Runway& runway,
                  std::vector<std::string>& names) const;
    // Transition names, in ascending order.
    void getSidEnrouteTransitions(const std::string& icao, const std::string& sid,
                                  std::vector<std::string>& names) const;
    void getStarEnrouteTransitions(const std::string& icao, const std::string& star,
                                   std::vector<std::string>& names) const;
    void getIapTransitions(const std::string& icao, const std::string& approach,
                           const std::string& fullName, std::vector<std::string>& names) const;
    // The designators of the runways a STAR serves, each once.
    void getStarRunways(const std::string& icao, const std::string& star,
                        std::vector<std::string>& designators) const;
    // The approaches to the offered runways: name, full name and runway at one index.
    void getAirportIaps(const std::string& icao, const std::vector<Runway>& offered,
                        std::vector<std::string>& names, std::vector<std::string>& fullNames,
                        std::vector<Runway>& runways) const;

    // The legs of a departure in flying order: the runway transition, the common route and
    // the en-route transition, each left out when its name is empty. False, with no legs, when
    // a leg cannot be read or names a fix the database does not hold.
    bool getSidLegs(const std::string& icao, const Runway& runway, const std::string& sid,
                    const std::string& transition, std::vector<TerminalLeg>& legs) const;
    // The legs of an arrival in flying order: the STAR (en-route transition, common route,
    // runway transition), then the approach (transition, final approach, missed approach).
    // An empty STAR or approach name leaves that procedure out. False, with no legs, as for a
    // departure.
    bool getStarIapLegs(const std::string& icao, const Runway& runway, const std::string& star,
                        const std::string& starTransition, const std::string& approach,
                        const std::string& approachFullName, const std::string& approachTransition,
                        std::vector<TerminalLeg>& legs) const;
    // The approach's missed-approach-point leg; false, the leg as it was, when there is none.
    bool getIapMapPoint(const std::string& icao, const std::string& approach,
                        const std::string& fullName, TerminalLeg& leg) const;

    // Finds a point of a stored flight plan again by its kind, ident and position and copies
    // the current record's waypoint fields into it; false, the point unchanged, when none is
    // found. A runway is looked for at the airports of the plan being read (its destination,
    // then its origin), then at the active plan's destination; a Runway passed in gets the
    // whole runway record.
    bool resolveStoredWaypoint(Waypoint& waypoint,
                               std::span<const std::string> planAirports = {}) const;

private:
    // Characters of an airport ident in the queries' parameters.
    static constexpr int32_t kIcaoSize = 4;

    using RowReader = std::function<void(const platform::db::RecordSet&)>;

    // Runs one query; readRow gets the first row, if any. A database error is logged with the
    // label.
    void lookup(std::string_view label, std::string_view sql,
                std::initializer_list<platform::db::Param> params, const RowReader& readRow) const;
    // Runs one query; the record gets the first row, if any, read whole by readRow, or stays as
    // it was when the row cannot be read, so a damaged row never leaves half a record.
    template <typename Record, typename Reader>
    void lookupRecord(std::string_view label, std::string_view sql,
                      std::initializer_list<platform::db::Param> params, Record& record,
                      const Reader& readRow) const {
        lookup(label, sql, params, [&](const platform::db::RecordSet& row) {
            Record read = record;
            readRow(row, read);
            record = std::move(read);
        });
    }
    // Runs one query and hands every row to readRow in order. A database error is logged with
    // the label and answers false; the rows read before it have been handed on.
    bool forEachRow(std::string_view label, std::string_view sql,
                    std::span<const platform::db::Param> params, const RowReader& readRow) const;
    bool forEachRow(std::string_view label, std::string_view sql,
                    std::initializer_list<platform::db::Param> params,
                    const RowReader& readRow) const;
    // Runs one query of independent records and hands every row to readRow in order; a row
    // readRow cannot read is skipped, its fault logged once, and the other rows still count.
    bool forEachSoundRow(std::string_view label, std::string_view sql,
                         std::span<const platform::db::Param> params,
                         const RowReader& readRow) const;
    bool forEachSoundRow(std::string_view label, std::string_view sql,
                         std::initializer_list<platform::db::Param> params,
                         const RowReader& readRow) const;
    // The row's position in its Latitude and Longtitude columns, or in the two named ones; a
    // position that is not on the earth makes the row a damaged one (DbError).
    static void readPosition(const platform::db::RecordSet& row, double& latitude,
                             double& longitude);
    static void readPosition(const platform::db::RecordSet& row, const char* latitudeColumn,
                             const char* longitudeColumn, double& latitude, double& longitude);
    // The parameters given, then the box's latitude band and two longitude ranges.
    static std::vector<platform::db::Param>
    withBox(std::initializer_list<platform::db::Param> first, const SearchBox& box);
    Waypoint closestStation(std::string_view navaidSql,
                            std::span<const platform::db::Param> navaidParams,
                            std::string_view ilsSql,
                            std::span<const platform::db::Param> ilsParams) const;
    void walkAirway(const std::string& airway, const Waypoint& entry, const std::string& exit,
                    std::vector<Waypoint>& result) const;
    void getProcedures(int32_t proc, const std::string& icao, const Runway& runway,
                       std::vector<std::string>& names) const;
    void getTransitions(std::string_view label, std::string_view sql,
                        std::initializer_list<platform::db::Param> params,
                        std::vector<std::string>& names) const;
    bool runwayOfApproach(const std::string& icao, const std::string& approach,
                          const std::string& fullName, const platform::db::Value& runwayId,
                          std::vector<Runway>& airportRunways, const std::vector<Runway>& offered,
                          Runway& runway) const;
    bool approachReferenceLeg(const std::string& icao, const std::string& approach,
                              const std::string& fullName, TerminalLeg& leg) const;
    bool appendLegs(std::string_view label, std::string_view sql,
                    std::initializer_list<platform::db::Param> params, int32_t proc,
                    std::vector<TerminalLeg>& legs) const;
    // The leg types of one part of a procedure, three to a query.
    using LegTypes = std::array<const char*, 3>;
    bool appendTransition(std::string_view label, int32_t row, const LegTypes& types,
                          const std::string& transition, int32_t proc,
                          std::vector<TerminalLeg>& legs) const;
    bool appendRoute(std::string_view label, int32_t row, const LegTypes& types, int32_t proc,
                     std::vector<TerminalLeg>& legs) const;
    bool wholeProcedure(std::string_view label, bool read, std::vector<TerminalLeg>& legs) const;
    bool readSidLegs(const std::string& icao, const Runway& runway, const std::string& sid,
                     const std::string& transition, std::vector<TerminalLeg>& legs) const;
    bool appendApproachLegs(const std::string& icao, const Runway& runway,
                            const std::string& approach, const std::string& approachFullName,
                            const std::string& approachTransition,
                            std::vector<TerminalLeg>& legs) const;
    bool appendStarLegs(const std::string& icao, const Runway& runway, const std::string& star,
                        const std::string& starTransition, std::vector<TerminalLeg>& legs) const;
    // The Terminals row whose legs are flown for the runway (0 for none); false when the query
    // failed.
    bool procedureRow(std::string_view label, int32_t proc, const std::string& icao,
                      const std::string& name, int32_t runwayId, int32_t& row) const;
    bool approachRow(std::string_view label, const std::string& icao, const std::string& approach,
                     const std::string& fullName, int32_t runwayId, int32_t& row) const;
    static void readTerminalLeg(TerminalLeg& leg, const platform::db::RecordSet& row);
    bool resolveRunway(Waypoint& waypoint, std::span<const std::string> planAirports) const;
    void readRunway(const platform::db::RecordSet& row, Runway& runway) const;
    void readIls(const platform::db::RecordSet& row, Ils& ils) const;
    double variationAt(double latitude, double longitude) const;
    // A point of an ident search: the row's position and id, with its variation.
    Waypoint searchedPoint(const platform::db::RecordSet& row, const std::string& ident,
                           WaypointKind kind) const;
    void openAndTest();
    // Opens the database and runs its test query, logging each step or the error; true when the
    // test passed.
    bool openLogged();
    void loadStoredPlans(Loaders& loaders);

    const MagDev& magDev;
    LogSink log;
    platform::db::Connection connection;
    bool connectionMade = false;
    bool testPassed = false;
    // The faults of damaged rows already logged, each as its query's label and description.
    mutable std::set<std::string> damagedRowsLogged;
    std::string databasePath;
    std::string customFolderPath;
    double presentLatitude = 0.0;
    double presentLongitude = 0.0;
    const ActivePlan* activePlan = nullptr;
    const PilotPointStore* pilotPoints = nullptr;
};

} // namespace tavi
