#pragma once

#include "navdata/Waypoint.h"

namespace tavi {

// A localizer with its glide slope and DME data.
class Ils : public Waypoint {
public:
    Ils() : Waypoint(WaypointKind::Ils) {}

    int32_t category = 0;
    // Degrees.
    double localizerCourse = 0.0;
    bool hasDme = false;
};

} // namespace tavi
