#pragma once

#include "navdata/Waypoint.h"

#include <cstdint>

namespace tavi {

// How a point typed as a definition is made, as the page records keep it.
namespace point_definition {
inline constexpr int32_t kInvalid = 0;
inline constexpr int32_t kPlaceBearingDistance = 2;
inline constexpr int32_t kRadialIntersection = 3;
} // namespace point_definition

// Gives the place the crew chose on WAYPOINTS SELECT to the first of the definition's places
// still waiting for one; true while the second place still waits for its choice.
template <typename DefinitionRecord>
bool takePendingPlace(DefinitionRecord& page, const Waypoint& chosen) {
    if (page.place1Pending) {
        page.place1 = chosen;
        page.place1Pending = false;
    } else if (page.place2Pending) {
        page.place2 = chosen;
        page.place2Pending = false;
    }
    return page.place2Pending;
}

} // namespace tavi
