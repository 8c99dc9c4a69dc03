#pragma once

#include "navdata/Waypoint.h"

namespace tavi {

// How a pilot waypoint was defined.
enum class PilotPointType : int32_t {
    Undefined = 0,
    LatLon = 1,
    PlaceBearingDistance = 2,
    PlaceBearingPlaceBearing = 3,
    // A point at a distance along the flight plan from one of its fixes.
    PlaceDistance = 4,
};

class PilotPoint : public Waypoint {
public:
    PilotPoint() : Waypoint(WaypointKind::PilotWaypoint) {}

    bool save(const Fs9Reader& reader, const StateFile& file, const char* section,
              const std::string& prefix) const override;
    void load(const Fs9Reader& reader, const StateFile& file, const char* section,
              const std::string& prefix) override;

    bool isDefined() const { return ppType != PilotPointType::Undefined; }

    PilotPointType ppType = PilotPointType::Undefined;
    // The entry the point was made from.
    std::string definition;
};

} // namespace tavi
