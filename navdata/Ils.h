#pragma once

#include "navdata/Waypoint.h"

namespace tavi {

// A localizer with its glide slope and DME data.
class Ils : public Waypoint {
public:
    Ils() : Waypoint(WaypointKind::Ils) {}

    bool save(const Fs9Reader& reader, const StateFile& file, const char* section,
              const std::string& prefix) const override;
    void load(const Fs9Reader& reader, const StateFile& file, const char* section,
              const std::string& prefix) override;

    int32_t category = 0;
    // Degrees.
    double localizerCourse = 0.0;
    bool hasDme = false;
};

} // namespace tavi
