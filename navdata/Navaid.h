#pragma once

#include "navdata/Waypoint.h"

namespace tavi {

// Database station types of a navaid.
inline constexpr int32_t kNavaidVor = 1;
inline constexpr int32_t kNavaidVortac = 2;
inline constexpr int32_t kNavaidTacan = 3;
inline constexpr int32_t kNavaidVorDme = 4;
inline constexpr int32_t kNavaidNdb = 5;
inline constexpr int32_t kNavaidNdbDme = 7;
inline constexpr int32_t kNavaidDme = 9;

// The slaved variation of a station that has none.
inline constexpr double kNoSlavedVariation = 360.0;

// A VOR, DME, TACAN or NDB station.
class Navaid : public Waypoint {
public:
    Navaid() : Waypoint(WaypointKind::Navaid) {}

    // Saved and loaded as a Waypoint: the fields below are not part of the per-flight state.

    int32_t navaidType = kNavaidVor;
    // One letter; empty when none was read.
    std::string usage;
    // The short label shown beside the station ("VT" followed by the usage letter).
    std::string typeText;
    // Degrees; kNoSlavedVariation when the station has none.
    double slavedVariation = kNoSlavedVariation;
};

} // namespace tavi
