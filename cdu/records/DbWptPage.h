#pragma once

#include "navdata/Airport.h"
#include "navdata/Ils.h"
#include "navdata/Navaid.h"
#include "navdata/Waypoint.h"

#include <cstdint>
#include <string>

namespace tavi {

class Fs9Reader;
struct StateFile;

// The record behind DATA BASE WPT: the sub-page, the page count and the point shown with the
// full database record of its kind.
class DbWptPage {
public:
    // The 8-byte block under "<key>.data", then the point, the airport, the ILS and the navaid
    // under "<key>.wpt", ".apt", ".ils" and ".nid".
    void save(const Fs9Reader& reader, const StateFile& file, const char* section,
              const std::string& key) const;
    void load(const Fs9Reader& reader, const StateFile& file, const char* section,
              const std::string& key);

    int32_t subPage = 1;
    int32_t pageCount = 1;
    Waypoint waypoint;
    Airport airport;
    Ils ils;
    Navaid navaid;
};

} // namespace tavi
