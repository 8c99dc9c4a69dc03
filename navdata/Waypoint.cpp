#include "navdata/Waypoint.h"

#include "core/Fs9Reader.h"
#include "core/StateBlob.h"

namespace tavi {

namespace {

// The "data" blob: the numeric fields in their declared order and widths.
using WaypointBlob = StateBlob<48>;
constexpr std::size_t kLatitudeAt = 0;
constexpr std::size_t kLongitudeAt = 8;
constexpr std::size_t kIdAt = 16;
constexpr std::size_t kElevationAt = 20;
constexpr std::size_t kFrequencyAt = 24;
constexpr std::size_t kKindAt = 28;
constexpr std::size_t kWaypointDistanceAt = 32;
constexpr std::size_t kVariationAt = 40;

struct TextKey {
    const char* suffix;
    std::string Waypoint::*text;
};

constexpr TextKey kTextKeys[] = {
    {".ident", &Waypoint::ident},
    {".aptIdent", &Waypoint::aptIdent},
    {".channel", &Waypoint::channel},
    {".strType", &Waypoint::strType},
};

WaypointBlob pack(const Waypoint& waypoint) {
    WaypointBlob blob;
    blob.put<kLatitudeAt>(waypoint.latitude);
    blob.put<kLongitudeAt>(waypoint.longitude);
    blob.put<kIdAt>(waypoint.id);
    blob.put<kElevationAt>(waypoint.elevation);
    blob.put<kFrequencyAt>(waypoint.frequency);
    blob.put<kKindAt>(waypoint.kind);
    blob.put<kWaypointDistanceAt>(waypoint.distance);
    blob.put<kVariationAt>(waypoint.variation);
    return blob;
}

void unpack(const WaypointBlob& blob, Waypoint& waypoint) {
    waypoint.latitude = blob.get<kLatitudeAt, double>();
    waypoint.longitude = blob.get<kLongitudeAt, double>();
    waypoint.id = blob.get<kIdAt, int32_t>();
    waypoint.elevation = blob.get<kElevationAt, int32_t>();
    waypoint.frequency = blob.get<kFrequencyAt, int32_t>();
    waypoint.kind = blob.get<kKindAt, WaypointKind>();
    waypoint.distance = blob.get<kWaypointDistanceAt, double>();
    waypoint.variation = blob.get<kVariationAt, double>();
}

} // namespace

std::string Waypoint::runwayDesignator() const {
    return ident.size() >= 3 ? ident.substr(2) : std::string();
}

bool Waypoint::isTemporary() const {
    if (kind != WaypointKind::PilotWaypoint || ident.size() < 2) {
        return false;
    }
    const char first = ident.front();
    return first == '*' || first == '#' || first == '&';
}

bool Waypoint::samePosition(const Waypoint& other) const {
    return latitude == other.latitude && longitude == other.longitude;
}

bool Waypoint::save(const Fs9Reader& reader, const StateFile& file, const char* section,
                    const std::string& prefix) const {
    bool saved = pack(*this).save(reader, file, section, prefix + ".data");
    for (const TextKey& key : kTextKeys) {
        saved =
            saveStringField(file, section, (prefix + key.suffix).c_str(), this->*key.text) && saved;
    }
    return saved;
}

void Waypoint::load(const Fs9Reader& reader, const StateFile& file, const char* section,
                    const std::string& prefix) {
    WaypointBlob blob = pack(*this);
    blob.load(reader, file, section, prefix + ".data");
    unpack(blob, *this);
    for (const TextKey& key : kTextKeys) {
        this->*key.text = loadStringField(file, section, (prefix + key.suffix).c_str());
    }
}

} // namespace tavi
