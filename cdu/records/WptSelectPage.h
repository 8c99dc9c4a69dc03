#pragma once

#include "navdata/Waypoint.h"

#include <cstdint>
#include <string>
#include <vector>

namespace tavi {

// The record behind WAYPOINTS SELECT: the candidates of an ident, three to a sub-page, and the
// pages a choice and RETURN go to.
class WptSelectPage {
public:
    // A new list for the entry: sub-page 1 of as many sub-pages as it fills.
    void setCandidates(const std::string& entry, const std::vector<Waypoint>& list);

    std::vector<Waypoint> candidates;
    int32_t subPage = 1;
    int32_t pageCount = 0;
    int32_t targetPage = 0;
    int32_t returnPage = 0;
    int32_t targetSubPage = 1;
    int32_t returnSubPage = 1;
    std::string entryText;
};

} // namespace tavi
