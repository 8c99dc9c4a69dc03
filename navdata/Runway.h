#pragma once

#include "navdata/Waypoint.h"

namespace tavi {

// A runway threshold; its ident is "RW" followed by the designator. A database ID of 0 means no
// runway.
class Runway : public Waypoint {
public:
    Runway() : Waypoint(WaypointKind::Runway) {}

    bool save(const Fs9Reader& reader, const StateFile& file, const char* section,
              const std::string& prefix) const override;
    void load(const Fs9Reader& reader, const StateFile& file, const char* section,
              const std::string& prefix) override;

    // Degrees true, and true minus the variation in 0..360.
    float trueHeading = 0.0f;
    float magneticHeading = 0.0f;
    // As the database stores them.
    int32_t length = 0;
    int32_t width = 0;
};

} // namespace tavi
