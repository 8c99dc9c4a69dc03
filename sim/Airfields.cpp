#include "sim/Airfields.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <limits>
#include <numbers>
#include <string_view>

namespace tavi::sim {

namespace {

constexpr double kSearchDegrees = 1.0;
// The ground elevation is looked up again once the aircraft has moved this far (degrees).
constexpr double kRefreshDegrees = 0.05;

double squaredDistance(double latitude1, double longitude1, double latitude2, double longitude2) {
    const double east = std::remainder(longitude2 - longitude1, 360.0) *
                        std::cos(latitude1 * std::numbers::pi / 180.0);
    const double north = latitude2 - latitude1;
    return east * east + north * north;
}

// A date as the cycle names it, DDMMMYY ("25JAN24").
std::optional<std::chrono::sys_days> parseCycleDate(const std::string& text) {
    static constexpr std::string_view kMonths = "JANFEBMARAPRMAYJUNJULAUGSEPOCTNOVDEC";
    if (text.size() != 7 || !std::isdigit(static_cast<unsigned char>(text[0])) ||
        !std::isdigit(static_cast<unsigned char>(text[1])) ||
        !std::isdigit(static_cast<unsigned char>(text[5])) ||
        !std::isdigit(static_cast<unsigned char>(text[6]))) {
        return std::nullopt;
    }
    std::string month = text.substr(2, 3);
    std::ranges::transform(month, month.begin(),
                           [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
    const std::size_t at = kMonths.find(month);
    if (at == std::string_view::npos || at % 3 != 0) {
        return std::nullopt;
    }
    const std::chrono::year_month_day date{
        std::chrono::year(2000 + std::stoi(text.substr(5, 2))),
        std::chrono::month(static_cast<unsigned>(at / 3 + 1)),
        std::chrono::day(static_cast<unsigned>(std::stoi(text.substr(0, 2))))};
    return date.ok() ? std::optional(std::chrono::sys_days(date)) : std::nullopt;
}

} // namespace

void Airfields::load(const std::filesystem::path& simRoot) {
    database.close();
    lastPosition.reset();
    try {
        database.open(simRoot / kDatabaseFile);
    } catch (const platform::db::DbError&) {
        database.close();
    }
}

std::optional<RunwayThreshold> Airfields::runway(const std::string& airport,
                                                 const std::string& runwayIdent) const {
    if (!database.isOpen()) {
        return std::nullopt;
    }
    return firstPlace(
        "SELECT r.Latitude, r.Longtitude, r.Elevation, r.TrueHeading FROM Runways r "
        "JOIN Airports a ON a.ID = r.AirportID WHERE a.ICAO = ? AND r.Ident = ?",
        {platform::db::Param::text(airport, 8), platform::db::Param::text(runwayIdent, 8)});
}

std::optional<RunwayThreshold> Airfields::firstAirport() const {
    if (!database.isOpen()) {
        return std::nullopt;
    }
    return firstPlace("SELECT a.Latitude, a.Longtitude, a.Elevation, r.TrueHeading FROM Airports a "
                      "JOIN Runways r ON r.AirportID = a.ID ORDER BY a.ID, r.ID LIMIT 1",
                      {});
}

std::optional<RunwayThreshold>
Airfields::firstPlace(std::string_view sql,
                      std::initializer_list<platform::db::Param> params) const {
    try {
        auto rows = database.execute(sql, params);
        if (rows.eof()) {
            return std::nullopt;
        }
        return RunwayThreshold{
            rows.field("Latitude").toDouble(), rows.field("Longtitude").toDouble(),
            rows.field("Elevation").toDouble(), rows.field("TrueHeading").toDouble()};
    } catch (const platform::db::DbError&) {
        return std::nullopt;
    }
}

std::optional<std::chrono::sys_days> Airfields::cycleStart() const {
    if (!database.isOpen()) {
        return std::nullopt;
    }
    try {
        auto rows = database.execute("SELECT val FROM config WHERE [key] = 'CycleStartDate'");
        return rows.eof() ? std::nullopt : parseCycleDate(rows.field("val").toText());
    } catch (const platform::db::DbError&) {
        return std::nullopt;
    }
}

double Airfields::groundElevation(double latitude, double longitude) {
    if (!lastPosition || squaredDistance(lastPosition->first, lastPosition->second, latitude,
                                         longitude) > kRefreshDegrees * kRefreshDegrees) {
        lastPosition = {latitude, longitude};
        lastElevation = nearestElevation(latitude, longitude);
    }
    return lastElevation;
}

double Airfields::nearestElevation(double latitude, double longitude) const {
    if (!database.isOpen()) {
        return 0.0;
    }
    try {
        auto rows =
            database.execute("SELECT Latitude, Longtitude, Elevation FROM Airports "
                             "WHERE Latitude BETWEEN ? AND ? AND Longtitude BETWEEN ? AND ?",
                             {platform::db::Param::real(latitude - kSearchDegrees),
                              platform::db::Param::real(latitude + kSearchDegrees),
                              platform::db::Param::real(longitude - kSearchDegrees),
                              platform::db::Param::real(longitude + kSearchDegrees)});
        double best = std::numeric_limits<double>::max();
        double elevation = 0.0;
        for (; !rows.eof(); rows.moveNext()) {
            const double distance =
                squaredDistance(latitude, longitude, rows.field("Latitude").toDouble(),
                                rows.field("Longtitude").toDouble());
            if (distance < best) {
                best = distance;
                elevation = rows.field("Elevation").toDouble();
            }
        }
        return elevation;
    } catch (const platform::db::DbError&) {
        return 0.0;
    }
}

} // namespace tavi::sim
