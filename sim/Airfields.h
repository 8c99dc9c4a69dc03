#pragma once

#include "platform/db/Database.h"

#include <chrono>
#include <filesystem>
#include <initializer_list>
#include <optional>
#include <string>
#include <string_view>

namespace tavi::sim {

// A runway threshold as the navigation database gives it.
struct RunwayThreshold {
    double latitude = 0.0;
    double longitude = 0.0;
    double elevationFeet = 0.0;
    double trueHeading = 0.0;
};

// The simulator's terrain and runways from the navigation database file of the simulator
// folder: the ground is flat at the field elevation of the nearest airport.
class Airfields {
public:
    static constexpr char kDatabaseFile[] = "Orvane/Nd/nd.sqlite";

    // Opens the simulator folder's database, again if it was open; without one, the ground
    // lies at sea level and no runway is found.
    void load(const std::filesystem::path& simRoot);

    std::optional<RunwayThreshold> runway(const std::string& airport,
                                          const std::string& runwayIdent) const;
    // The reference point of the database's first airport that has a runway, with the
    // heading of its first runway.
    std::optional<RunwayThreshold> firstAirport() const;
    // The first day of the database's cycle.
    std::optional<std::chrono::sys_days> cycleStart() const;
    // The field elevation (feet) of the airport nearest the position; 0 with none within a
    // degree. The answer is kept until the position moves on by a few miles.
    double groundElevation(double latitude, double longitude);

private:
    // The first row's place (latitude, longitude, elevation, true heading) the query finds.
    std::optional<RunwayThreshold>
    firstPlace(std::string_view sql, std::initializer_list<platform::db::Param> params) const;
    double nearestElevation(double latitude, double longitude) const;

    platform::db::Connection database;
    std::optional<std::pair<double, double>> lastPosition;
    double lastElevation = 0.0;
};

} // namespace tavi::sim
