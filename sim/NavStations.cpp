#include "sim/NavStations.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace tavi::sim {

namespace {

using platform::db::DbError;
using platform::db::Param;
using platform::db::RecordSet;

// Stations whose frequency is the tuned one, and stations whose DME channel pairs with it.
constexpr char kNavaidsSql[] =
    "SELECT Ident, Type, Latitude, Longtitude, Elevation, Usage, SlavedVar FROM Navaids "
    "WHERE ((Freq = ? AND Type IN (1, 2, 4, 9)) OR (Channel = ? AND Type IN (2, 3, 4, 7, 9))) "
    "AND Latitude BETWEEN ? AND ? AND Longtitude BETWEEN ? AND ?";
constexpr char kLocalizersSql[] =
    "SELECT ILSes.Ident AS Ident, ILSes.Latitude AS Latitude, ILSes.Longtitude AS Longitude, "
    "ILSes.Elevation AS Elevation, ILSes.LocCourse AS Course, ILSes.HasDme AS HasDme, "
    "Runways.Latitude AS ThresholdLatitude, Runways.Longtitude AS ThresholdLongitude, "
    "Runways.Elevation AS ThresholdElevation "
    "FROM ILSes LEFT JOIN Runways ON Runways.ID = ILSes.RunwayID "
    "WHERE ILSes.Freq = ? AND ILSes.Latitude BETWEEN ? AND ? AND ILSes.Longtitude BETWEEN ? AND ?";
constexpr char kNdbsSql[] =
    "SELECT Ident, Latitude, Longtitude, Elevation, Usage FROM Navaids "
    "WHERE Freq = ? AND Type IN (5, 7) AND Latitude BETWEEN ? AND ? AND Longtitude BETWEEN ? AND ?";

constexpr int kVor = 1;
constexpr int kVortac = 2;
constexpr int kVorDme = 4;
// A record's variation of 360 (or none) means the station has none of its own.
constexpr double kNoVariation = 360.0;
// A localizer reaches 25 nm within 10 degrees of its course (17 nm out to 35 degrees).
constexpr double kLocalizerRangeNm = 25.0;

// Service ranges by the station's usage letter: high, low and terminal stations.
double vhfRangeNm(const std::string& usage) {
    if (usage == "H" || usage == "B") {
        return 130.0;
    }
    return usage == "T" ? 25.0 : 40.0;
}

double ndbRangeNm(const std::string& usage) {
    if (usage == "H") {
        return 50.0;
    }
    return usage == "T" ? 15.0 : 25.0;
}

// The frequency of a NAV BCD32 word in kHz: the MHz digits in bits 27..16, the kHz digits in
// bits 15..4.
int navKilohertz(uint32_t bcd) {
    int kilohertz = 0;
    for (int shift = 24; shift >= 4; shift -= 4) {
        kilohertz = kilohertz * 10 + static_cast<int>((bcd >> shift) & 0xF);
    }
    return kilohertz;
}

RadioStation::Kind vhfKind(int type) {
    return type == kVor || type == kVortac || type == kVorDme ? RadioStation::Kind::Vor
                                                              : RadioStation::Kind::Dme;
}

GeoPoint positionOf(const RecordSet& row, const char* latitude, const char* longitude) {
    return {row.field(latitude).toDouble(), row.field(longitude).toDouble()};
}

} // namespace

NavStations::NavStations(std::filesystem::path databaseFile)
    : databaseFile(std::move(databaseFile)) {}

std::string NavStations::dmeChannel(uint32_t navFrequency) {
    const int kilohertz = navKilohertz(navFrequency);
    int channel = 0;
    if (kilohertz >= 108000 && kilohertz <= 112250) {
        channel = 17 + (kilohertz - 108000) / 100;
    } else if (kilohertz >= 112300 && kilohertz <= 117950) {
        channel = 70 + (kilohertz - 112300) / 100;
    } else {
        return {};
    }
    char text[8];
    std::snprintf(text, sizeof text, "%03d%c", channel, kilohertz % 100 == 50 ? 'Y' : 'X');
    return text;
}

std::vector<Param> NavStations::SearchBox::withParams(std::vector<Param> params) const {
    params.push_back(Param::real(south));
    params.push_back(Param::real(north));
    params.push_back(Param::real(west));
    params.push_back(Param::real(east));
    return params;
}

// A box of the search radius round the point; every longitude where it would reach across the
// 180th meridian or over a pole.
NavStations::SearchBox NavStations::searchBox(GeoPoint near) {
    const double latitudeSpan = kSearchRadiusNm / 60.0;
    SearchBox box{near.latitude - latitudeSpan, near.latitude + latitudeSpan, -180.0, 180.0};
    const double cosine = std::cos(near.latitude * kDegreesToRadians);
    if (box.south > -90.0 && box.north < 90.0 && cosine > 0.0) {
        const double longitudeSpan = latitudeSpan / cosine;
        if (near.longitude - longitudeSpan >= -180.0 && near.longitude + longitudeSpan <= 180.0) {
            box.west = near.longitude - longitudeSpan;
            box.east = near.longitude + longitudeSpan;
        }
    }
    return box;
}

bool NavStations::open() {
    if (!connection.isOpen()) {
        try {
            connection.open(databaseFile);
        } catch (const DbError&) {
            return false;
        }
    }
    return true;
}

std::vector<RadioStation> NavStations::search(GeoPoint near, const Reader& read) {
    ++lookupCount;
    std::vector<RadioStation> stations;
    if (!open()) {
        return stations;
    }
    try {
        read(searchBox(near), stations);
    } catch (const DbError&) {
        stations.clear();
    }
    return stations;
}

std::vector<RadioStation> NavStations::vhfStations(uint32_t navFrequency, GeoPoint near) {
    return search(near, [this, navFrequency](const SearchBox& box, std::vector<RadioStation>& out) {
        readNavaids(navFrequency, box, out);
        readLocalizers(navFrequency, box, out);
    });
}

std::vector<RadioStation> NavStations::ndbs(uint32_t adfFrequency, GeoPoint near) {
    return search(near, [this, adfFrequency](const SearchBox& box, std::vector<RadioStation>& out) {
        readNdbs(adfFrequency, box, out);
    });
}

void NavStations::readNavaids(uint32_t navFrequency, const SearchBox& box,
                              std::vector<RadioStation>& out) {
    const std::vector<Param> params =
        box.withParams({Param::integer(static_cast<int32_t>(navFrequency)),
                        Param::text(dmeChannel(navFrequency), 4)});
    for (RecordSet row = connection.execute(kNavaidsSql, params); !row.eof(); row.moveNext()) {
        const int type = row.field("Type").toInt32();
        RadioStation station;
        station.kind = vhfKind(type);
        station.ident = row.field("Ident").toText();
        station.position = positionOf(row, "Latitude", "Longtitude");
        station.elevation = row.field("Elevation").toDouble();
        station.hasDme = type != kVor;
        station.rangeNm = vhfRangeNm(row.field("Usage").toText());
        const platform::db::Value variation = row.field("SlavedVar");
        if (!variation.isNull() && variation.toDouble() != kNoVariation) {
            station.variation = variation.toDouble();
        }
        out.push_back(station);
    }
}

void NavStations::readLocalizers(uint32_t navFrequency, const SearchBox& box,
                                 std::vector<RadioStation>& out) {
    const std::vector<Param> params =
        box.withParams({Param::integer(static_cast<int32_t>(navFrequency))});
    for (RecordSet row = connection.execute(kLocalizersSql, params); !row.eof(); row.moveNext()) {
        RadioStation station;
        station.kind = RadioStation::Kind::Localizer;
        station.ident = row.field("Ident").toText();
        station.position = positionOf(row, "Latitude", "Longitude");
        station.elevation = row.field("Elevation").toDouble();
        station.hasDme = row.field("HasDme").toBool();
        station.rangeNm = kLocalizerRangeNm;
        station.course = row.field("Course").toDouble();
        if (!row.field("ThresholdLatitude").isNull()) {
            station.threshold =
                RadioStation::Threshold{positionOf(row, "ThresholdLatitude", "ThresholdLongitude"),
                                        row.field("ThresholdElevation").toDouble()};
        }
        out.push_back(station);
    }
}

void NavStations::readNdbs(uint32_t adfFrequency, const SearchBox& box,
                           std::vector<RadioStation>& out) {
    const std::vector<Param> params =
        box.withParams({Param::integer(static_cast<int32_t>(adfFrequency))});
    for (RecordSet row = connection.execute(kNdbsSql, params); !row.eof(); row.moveNext()) {
        RadioStation station;
        station.kind = RadioStation::Kind::Ndb;
        station.ident = row.field("Ident").toText();
        station.position = positionOf(row, "Latitude", "Longtitude");
        station.elevation = row.field("Elevation").toDouble();
        station.rangeNm = ndbRangeNm(row.field("Usage").toText());
        out.push_back(station);
    }
}

} // namespace tavi::sim
