#pragma once

#include "platform/db/Database.h"

#include <cstdint>
#include <functional>
#include <initializer_list>
#include <string>
#include <string_view>

namespace tavi {

class Airport;
class Ils;
class MagDev;
class Navaid;
class Runway;
class Waypoint;

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

    // The variation grid sets the records' magnetic variation; every log line goes to the sink.
    NavDatabase(const MagDev& magDev, LogSink log);

    // Builds the paths below the simulator folder, runs the loaders and opens the database,
    // logging each step; a failure to open or to read the database is logged and leaves the
    // queries failing on their own.
    void connect(Loaders& loaders);
    // A connection has been made, whether the database opened or not.
    bool hasConnection() const { return connectionMade; }
    // The database is open.
    bool isConnected() const { return connection.isOpen(); }
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

private:
    // Runs one query; readRow gets the first row, if any. A database error is logged with the
    // label.
    void lookup(std::string_view label, std::string_view sql,
                std::initializer_list<platform::db::Param> params,
                const std::function<void(const platform::db::RecordSet&)>& readRow) const;
    void readRunway(const platform::db::RecordSet& row, Runway& runway) const;
    void readIls(const platform::db::RecordSet& row, Ils& ils) const;
    double variationAt(double latitude, double longitude) const;
    void openAndTest(const std::string& databasePath);

    const MagDev& magDev;
    LogSink log;
    platform::db::Connection connection;
    bool connectionMade = false;
    std::string customFolderPath;
};

} // namespace tavi
