#pragma once

#include "navdata/Runway.h"

#include <cstdint>
#include <string>

namespace tavi {

class Fs9Reader;
struct StateFile;

// The record behind TAKEOFF or LANDING: the sub-page, the surface wind and outside air
// temperature the crew entered, and the runway.
class RunwayDataPage {
public:
    // The 24-byte block under "<key>.data", then the runway under "<key>.rwy".
    void save(const Fs9Reader& reader, const StateFile& file, const char* section,
              const std::string& key) const;
    void load(const Fs9Reader& reader, const StateFile& file, const char* section,
              const std::string& key);

    int32_t subPage = 1;
    int32_t pageCount = 2;
    int32_t windDirection = 0;
    int32_t windSpeed = 0;
    float oat = 15.0f;
    bool oatFromSensor = true;
    bool windEntered = false;
    Runway runway;
};

} // namespace tavi
