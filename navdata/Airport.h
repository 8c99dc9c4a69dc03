#pragma once

#include "navdata/Waypoint.h"

namespace tavi {

class Airport : public Waypoint {
public:
    Airport() : Waypoint(WaypointKind::Airport) {}

    // 0 for a primary airport record; otherwise the record is a secondary one.
    int32_t primaryId = 0;
    // Not filled by the database lookups.
    std::string name;
};

} // namespace tavi
