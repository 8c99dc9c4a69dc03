#pragma once

#include "sim/Geodesy.h"
#include "sim/NavStations.h"
#include "sim/Panel.h"

#include <array>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace tavi::sim {

// The aircraft's NAV 1/2 and ADF 1/2 receivers. Each step every receiver finds the station on
// its active frequency that it hears from the aircraft's position (range and line of sight)
// and publishes what the cockpit reads: for a VOR the radial, TO/FROM and the CDI against the
// selected course; for an ILS the localizer and glide-slope deviations; the DME's slant
// distance; the ADF's relative bearing; the station's ident; the marker beacons of the ILS
// approaches the NAV receivers are tuned to. The stations of a frequency are searched again only
// when the frequency changes or the aircraft has flown far from where they were searched. Without a
// navigation database the receivers publish nothing, so a test may set what they would publish
// itself.
//
// The figures are those of real receivers and ground stations:
// - VOR: CDI full scale 10 degrees off the course; TO/FROM off within half a degree of abeam.
// - Localizer: full scale 2.5 degrees either side (a 5-degree course sector); received within
//   10 degrees of its course out to 25 nm and within 35 degrees out to 17 nm, on the front and
//   the back course. Behind the antenna the needle senses backwards, and the back-course flags
//   (values 4 and 16) tell it.
// - Glide slope: 3 degrees from an antenna 1000 ft past the threshold, full scale 0.7 degrees
//   either side, received within 8 degrees of the localizer course out to 10 nm.
// - Markers: outer 3.9 nm, middle 3500 ft and inner 1000 ft before the threshold, heard in a
//   cone of 40 degrees either side of the vertical over the marker.
// - Line of sight over a smooth earth: 1.23 nm times the square roots of the aircraft's and the
//   station antenna's heights in feet over the station (the antenna 50 ft up).
class Receivers {
public:
    static constexpr int kSides = 2;
    // NAV SIGNAL and ADF SIGNAL while a station is received.
    static constexpr double kSignalStrength = 100.0;
    // The stations of a frequency are searched again once the aircraft is this far from where
    // they were last searched.
    static constexpr double kSearchAgainNm = NavStations::kSearchRadiusNm - 130.0;
    // Panel token 354: the marker beacon heard, 0 none, 1 outer, 2 middle, 3 inner.
    static constexpr int kMarkerToken = 354;
    // The panel tokens whose text is the ident of the station NAV 1 and NAV 2 hear.
    static constexpr std::array<int, kSides> kIdentTokens{47, 56};

    Receivers(Panel& panel, std::filesystem::path databaseFile);

    // The receivers hear their stations from where the aircraft is now; `seconds` since the
    // last update gives the DME's ground speed.
    void update(double seconds);
    int stationLookups() const { return stations.lookups(); }
    bool hasDatabase() const { return stations.isOpen(); }

private:
    // The stations on a receiver's frequency around where they were searched.
    struct Tuning {
        uint32_t frequency = 0;
        GeoPoint searchedAt;
        bool searched = false;
        std::vector<RadioStation> stations;
    };
    struct NavReceiver {
        Tuning tuning;
        // The DME distance of the last update and the station it came from.
        std::optional<double> lastDme;
        std::string lastDmeIdent;
        // The ident text last published.
        std::optional<std::string> ident;
        bool identPublished = false;
    };

    void updateNav(int side, NavReceiver& receiver, const OwnAircraft& aircraft, double seconds);
    void updateAdf(int side, const Tuning& tuning, const OwnAircraft& aircraft);
    void updateMarkers(const OwnAircraft& aircraft);
    // Searches again when the frequency changed or the aircraft flew far.
    bool isStale(const Tuning& tuning, uint32_t frequency, GeoPoint position) const;

    Panel& panel;
    NavStations stations;
    std::array<NavReceiver, kSides> nav;
    std::array<Tuning, kSides> adf;
};

} // namespace tavi::sim
