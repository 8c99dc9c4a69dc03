#pragma once

#include "navdata/PilotPoint.h"
#include "navdata/Waypoint.h"

#include <cstdint>
#include <string>
#include <vector>

namespace tavi {

// The record behind PILOT WAYPOINT: the point shown or being defined, the last place/bearing
// definition and where the page goes back to. A bearing or distance not entered holds -1.0.
struct PilotWptPage {
    PilotPoint point;
    std::string place1Ident;
    std::string place2Ident;
    double bearing1 = -1.0;
    double bearing2 = -1.0;
    double distance = -1.0;
    bool bearing1True = false;
    bool bearing2True = false;
    // One of point_definition's kinds.
    int32_t definitionKind = 0;
    bool place1Pending = false;
    bool place2Pending = false;
    std::vector<Waypoint> place1Candidates;
    std::vector<Waypoint> place2Candidates;
    Waypoint place1;
    Waypoint place2;
    std::string definitionEntry;
    int32_t returnPage = 0;
    int32_t returnSubPage = 1;
    bool insertPending = false;
};

} // namespace tavi
