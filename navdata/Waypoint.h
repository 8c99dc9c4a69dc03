#pragma once

#include <cstdint>
#include <string>

namespace tavi {

class Fs9Reader;
struct StateFile;

// What a waypoint record stands for.
enum class WaypointKind : int32_t {
    Plain = 0,
    Airport = 1,
    Ils = 2,
    Navaid = 3,
    DatabaseWaypoint = 4,
    PilotWaypoint = 5,
    Runway = 6,
};

// A named position: plan fixes, airports, runways, ILS, navaids, database and pilot waypoints.
// Records are copied by value; assigning a subclass record to a Waypoint copies the Waypoint
// part only. A text that the record does not have (aptIdent, channel) is empty.
class Waypoint {
public:
    Waypoint() = default;
    virtual ~Waypoint() = default;
    Waypoint(const Waypoint&) = default;
    Waypoint& operator=(const Waypoint&) = default;

    // The ident without its "RW" prefix ("RW09L" gives "09L"); empty for idents shorter than 3.
    std::string runwayDesignator() const;
    // A pilot waypoint made by the FMS itself ("*", "#" or "&" and at least one more character):
    // it lives in memory only.
    bool isTemporary() const;
    bool samePosition(const Waypoint& other) const;

    // Writes the record into the section of the per-flight state file under keys made from the
    // prefix ("<prefix>.data", "<prefix>.ident", ...). Every key is written even when one fails;
    // false when any failed.
    virtual bool save(const Fs9Reader& reader, const StateFile& file, const char* section,
                      const std::string& prefix) const;
    // Reads the record back: a number keeps its value when its key is missing, a text is
    // replaced by what is stored, empty when its key is missing.
    virtual void load(const Fs9Reader& reader, const StateFile& file, const char* section,
                      const std::string& prefix);

    double latitude = 0.0;
    double longitude = 0.0;
    // The database row ID, 0 when the record is not from the database.
    int32_t id = 0;
    int32_t elevation = 0;
    // The navaid or ILS frequency as the database holds it.
    int32_t frequency = 0;
    WaypointKind kind = WaypointKind::Plain;
    // Scratch distance in nm from a search's reference point; searches sort by it.
    double distance = 0.0;
    // Magnetic variation in degrees, east positive.
    double variation = 0.0;
    std::string ident;
    std::string aptIdent;
    std::string channel;
    std::string strType;

protected:
    explicit Waypoint(WaypointKind recordKind) : kind(recordKind) {}
};

} // namespace tavi
