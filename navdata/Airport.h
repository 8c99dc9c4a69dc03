#pragma once

#include "navdata/Waypoint.h"

namespace tavi {

class Airport : public Waypoint {
public:
    Airport() : Waypoint(WaypointKind::Airport) {}

    // Saved and loaded as a Waypoint: the fields below are not part of the per-flight state.

    // 0 for a primary airport record; otherwise the record is a secondary one.
    int32_t primaryId = 0;
    // Not filled by the database lookups.
    std::string name;
};

} // namespace tavi
