#pragma once

#include "platform/db/Database.h"
#include "sim/Geodesy.h"

#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace tavi::sim {

// A ground station of the navigation database as the aircraft's receivers hear it.
struct RadioStation {
    enum class Kind { Vor, Dme, Localizer, Ndb };

    // The threshold of the runway an ILS serves: its glide slope and markers stand by it.
    struct Threshold {
        GeoPoint position;
        // Feet.
        double elevation = 0.0;
    };

    Kind kind = Kind::Vor;
    std::string ident;
    GeoPoint position;
    // Feet.
    double elevation = 0.0;
    bool hasDme = false;
    // Nautical miles: the station's service range.
    double rangeNm = 0.0;
    // A VOR's own declination, east positive; none where the record has none.
    std::optional<double> variation;
    // A localizer's course, degrees true.
    double course = 0.0;
    std::optional<Threshold> threshold;
};

// The stations of the navigation database file, looked up by frequency around a point. The
// file is opened at the first look-up, and tried again at the next while it cannot be opened;
// a database error finds no station.
class NavStations {
public:
    // Stations are searched this far from the point: the longest service range and the distance
    // an aircraft may fly before its receivers search again.
    static constexpr double kSearchRadiusNm = 200.0;
    explicit NavStations(std::filesystem::path databaseFile);

    // The VOR, DME, TACAN and ILS stations on a NAV frequency (BCD32), by the frequency or by
    // the DME channel paired with it.
    std::vector<RadioStation> vhfStations(uint32_t navFrequency, GeoPoint near);
    // The NDBs on an ADF frequency (ADF BCD32).
    std::vector<RadioStation> ndbs(uint32_t adfFrequency, GeoPoint near);
    int lookups() const { return lookupCount; }
    bool isOpen() const { return connection.isOpen(); }

    // The DME channel ("087X") paired with a NAV frequency (BCD32); empty for a frequency
    // without one.
    static std::string dmeChannel(uint32_t navFrequency);

private:
    struct SearchBox {
        // The parameters followed by the box's bounds, as the queries take them.
        std::vector<platform::db::Param> withParams(std::vector<platform::db::Param> params) const;

        double south, north, west, east;
    };
    using Reader = std::function<void(const SearchBox&, std::vector<RadioStation>&)>;

    static SearchBox searchBox(GeoPoint near);
    bool open();
    // Counts the look-up; a database error finds nothing.
    std::vector<RadioStation> search(GeoPoint near, const Reader& read);
    void readNavaids(uint32_t navFrequency, const SearchBox& box, std::vector<RadioStation>& out);
    void readLocalizers(uint32_t navFrequency, const SearchBox& box,
                        std::vector<RadioStation>& out);
    void readNdbs(uint32_t adfFrequency, const SearchBox& box, std::vector<RadioStation>& out);

    std::filesystem::path databaseFile;
    platform::db::Connection connection;
    int lookupCount = 0;
};

} // namespace tavi::sim
